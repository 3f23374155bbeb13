// Saving and loading a scene of 1,000 triangle shapes of 1,000 triangles each (positions, normals
// and one texture set), beside a plain read of the same file's bytes into memory, all in one
// benchmark run; loading the sample ship and its 100,000-triangle version the same way; loading
// every input the fuzzers keep; and picking rays against the first scene.
//
// Prints: the load and save times over the plain read's (targets: load within 4x, the ships
// within 1.5x), the peak heap the load reaches over the file size (targets: under 3x, the ships
// under 1.5x), what the loads reserved against their memory bound over the file size, each kept
// input's peak heap beside its bound (target: under it, however the load ends), and rays picked
// per second.
#include "properties/PropertyTypeRegistry.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPicker.h"
#include "scene/graph/NiTriShape.h"
#include "scene/object/NiStream.h"
#include "scene/render/NiDDImage.h"
#include "tools/samples/SampleShip.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

//--- Heap accounting: every operator new and delete of the program goes through here. -----------

namespace
{
std::atomic<int64_t> g_iHeapBytes{0};
std::atomic<int64_t> g_iHeapPeak{0};

void* CountedAllocate(size_t uiSize)
{
    void* pvMemory = std::malloc(uiSize ? uiSize : 1);
    if (!pvMemory)
        throw std::bad_alloc();
    const int64_t iNow = g_iHeapBytes += int64_t(malloc_usable_size(pvMemory));
    int64_t iPeak = g_iHeapPeak.load();
    while (iNow > iPeak && !g_iHeapPeak.compare_exchange_weak(iPeak, iNow))
    {
    }
    return pvMemory;
}

void CountedFree(void* pvMemory) noexcept
{
    if (!pvMemory)
        return;
    g_iHeapBytes -= int64_t(malloc_usable_size(pvMemory));
    std::free(pvMemory);
}
} // namespace

void* operator new(size_t uiSize)
{
    return CountedAllocate(uiSize);
}
void* operator new[](size_t uiSize)
{
    return CountedAllocate(uiSize);
}
void* operator new(size_t uiSize, const std::nothrow_t&) noexcept
{
    try
    {
        return CountedAllocate(uiSize);
    }
    catch (...)
    {
        return nullptr;
    }
}
void* operator new[](size_t uiSize, const std::nothrow_t&) noexcept
{
    return operator new(uiSize, std::nothrow);
}
void operator delete(void* pvMemory) noexcept
{
    CountedFree(pvMemory);
}
void operator delete[](void* pvMemory) noexcept
{
    CountedFree(pvMemory);
}
void operator delete(void* pvMemory, size_t) noexcept
{
    CountedFree(pvMemory);
}
void operator delete[](void* pvMemory, size_t) noexcept
{
    CountedFree(pvMemory);
}

namespace
{
constexpr int SHAPES = 1000;
// A grid of 20 x 25 cells, two triangles each: 1,000 triangles over 21 x 26 vertices.
constexpr int CELLS_X = 20;
constexpr int CELLS_Y = 25;
constexpr int GRID_X = CELLS_X + 1;
constexpr int GRID_Y = CELLS_Y + 1;
// Shapes stand in a 40 x 25 wall facing -x, 12 units apart.
constexpr int WALL_COLUMNS = 40;
constexpr float SPACING = 12.0f;

NiTriShape* MakeGridShape(int iIndex)
{
    const uint16_t usVertices = GRID_X * GRID_Y;
    NiPoint3* pkVertex = new NiPoint3[usVertices];
    NiPoint3* pkNormal = new NiPoint3[usVertices];
    NiTexCoord* pkTexture = new NiTexCoord[usVertices];
    for (int y = 0; y < GRID_Y; ++y)
    {
        for (int z = 0; z < GRID_X; ++z)
        {
            const int i = y * GRID_X + z;
            // A gentle bump so that no two shapes' data are alike.
            pkVertex[i] = NiPoint3(0.01f * float((z * y + iIndex) % 7), float(y) * 0.4f, float(z) * 0.5f);
            pkNormal[i] = NiPoint3(-1, 0, 0);
            pkTexture[i] = NiTexCoord(float(z) / CELLS_X, float(y) / CELLS_Y);
        }
    }
    uint16_t* pusList = new uint16_t[CELLS_X * CELLS_Y * 6];
    uint16_t* pusAt = pusList;
    for (int y = 0; y < CELLS_Y; ++y)
    {
        for (int z = 0; z < CELLS_X; ++z)
        {
            const uint16_t usA = uint16_t(y * GRID_X + z), usB = uint16_t(usA + 1);
            const uint16_t usC = uint16_t(usA + GRID_X), usD = uint16_t(usC + 1);
            // Wound to face -x.
            for (const uint16_t usCorner : {usA, usB, usC, usC, usB, usD})
                *pusAt++ = usCorner;
        }
    }
    NiTriShape* pkShape =
        new NiTriShape(usVertices, pkVertex, pkNormal, nullptr, pkTexture, CELLS_X * CELLS_Y * 2, pusList);
    pkShape->SetTranslate(
        NiPoint3(50.0f, float(iIndex / WALL_COLUMNS) * SPACING, float(iIndex % WALL_COLUMNS) * SPACING));
    return pkShape;
}

NiRefPtr<NiNode> MakeScene()
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    for (int i = 0; i < SHAPES; ++i)
        spRoot->AddChild(MakeGridShape(i));
    spRoot->UpdateSubtree(0.0f);
    return spRoot;
}

double Seconds(std::chrono::steady_clock::time_point kStart)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - kStart).count();
}

std::string TemporaryPath()
{
    char acPath[] = "/tmp/fitwright-nif-XXXXXX";
    const int iFile = mkstemp(acPath);
    if (iFile < 0)
        return std::string();
    close(iFile);
    return acPath;
}

// The plain read the stream is measured against: the file's bytes into a new buffer.
size_t PlainRead(const std::string& kPath)
{
    std::FILE* pkFile = std::fopen(kPath.c_str(), "rb");
    if (!pkFile)
        return 0;
    struct stat kInfo;
    fstat(fileno(pkFile), &kInfo);
    std::vector<char> kBytes(size_t(kInfo.st_size));
    const size_t uiRead = std::fread(kBytes.data(), 1, kBytes.size(), pkFile);
    std::fclose(pkFile);
    benchmark::DoNotOptimize(kBytes.data());
    return uiRead;
}

void BM_NifSaveLoad(benchmark::State& kState)
{
    const std::string kPath = TemporaryPath();
    NiRefPtr<NiNode> spScene = MakeScene();
    double fRead = 0.0, fSave = 0.0, fLoad = 0.0, fPeakRatio = 0.0;
    size_t uiFileBytes = 0;
    for (auto _ : kState)
    {
        auto kStart = std::chrono::steady_clock::now();
        {
            NiStream kStream;
            kStream.AddTopObject(spScene);
            if (!kStream.SaveFile(kPath.c_str()))
                kState.SkipWithError("save failed");
        }
        fSave += Seconds(kStart);

        kStart = std::chrono::steady_clock::now();
        uiFileBytes = PlainRead(kPath);
        fRead += Seconds(kStart);

        const int64_t iBefore = g_iHeapBytes.load();
        g_iHeapPeak = iBefore;
        kStart = std::chrono::steady_clock::now();
        {
            NiStream kStream;
            if (!kStream.LoadFile(kPath.c_str()) || kStream.GetTopObjectCount() != 1)
                kState.SkipWithError("load failed");
            fLoad += Seconds(kStart);
            fPeakRatio = std::max(fPeakRatio, double(g_iHeapPeak.load() - iBefore) / double(uiFileBytes));
        }
    }
    const double fIterations = double(kState.iterations());
    kState.counters["file_MB"] = double(uiFileBytes) / 1e6;
    kState.counters["read_ms"] = fRead / fIterations * 1e3;
    kState.counters["save_ms"] = fSave / fIterations * 1e3;
    kState.counters["load_ms"] = fLoad / fIterations * 1e3;
    kState.counters["load/read"] = fLoad / fRead;
    kState.counters["save/read"] = fSave / fRead;
    kState.counters["load_peak/file"] = fPeakRatio;
    std::remove(kPath.c_str());
}
BENCHMARK(BM_NifSaveLoad)->Iterations(5)->Unit(benchmark::kMillisecond);

// One load of a file, measured: its time, the heap it reached above what was in use before,
// what it reserved against its bound, and how it ended.
struct MeasuredLoad
{
    double fSeconds = 0.0;
    int64_t iPeakBytes = 0;
    uint64_t uiReserved = 0;
    uint64_t uiBound = 0;
    bool bLoaded = false;
    int32_t iError = 0;
};

MeasuredLoad MeasureLoad(const std::string& kPath)
{
    MeasuredLoad kLoad;
    const int64_t iBefore = g_iHeapBytes.load();
    g_iHeapPeak = iBefore;
    const auto kStart = std::chrono::steady_clock::now();
    {
        NiStream kStream;
        kLoad.bLoaded = kStream.LoadFile(kPath.c_str());
        kLoad.fSeconds = Seconds(kStart);
        kLoad.iError = NiStream::GetLastErrorCode();
        kLoad.uiReserved = kStream.GetReservedMemory();
        kLoad.uiBound = kStream.GetMemoryBound();
    }
    kLoad.iPeakBytes = g_iHeapPeak.load() - iBefore;
    return kLoad;
}

// The sample ship of data/ (Arg 0) and its 100,000-triangle version (Arg 1), written once.
std::string ShipPath(int64_t iWhich)
{
    if (iWhich == 0)
        return std::string(FITWRIGHT_SOURCE_DIR) + "/data/Models/SampleShip.nif";
    static const std::string s_kLarge = []
    {
        const std::string kFolder = std::filesystem::temp_directory_path() / "fitwright-bench-nif-ships";
        std::filesystem::create_directories(kFolder);
        RegisterPropertyTypes();
        SampleShipOptions kLarge;
        kLarge.kName = "LargeShip";
        kLarge.uiTriangles = 100000;
        return WriteSampleShip(kFolder, kLarge) ? kFolder + "/LargeShip.nif" : std::string();
    }();
    return s_kLarge;
}

void BM_ShipLoad(benchmark::State& kState)
{
    const std::string kPath = ShipPath(kState.range(0));
    double fRead = 0.0, fLoad = 0.0;
    MeasuredLoad kWorst;
    size_t uiFileBytes = 0;
    for (auto _ : kState)
    {
        const auto kStart = std::chrono::steady_clock::now();
        uiFileBytes = PlainRead(kPath);
        fRead += Seconds(kStart);
        const MeasuredLoad kLoad = MeasureLoad(kPath);
        if (!kLoad.bLoaded)
            kState.SkipWithError("load failed");
        fLoad += kLoad.fSeconds;
        if (kLoad.iPeakBytes > kWorst.iPeakBytes)
            kWorst = kLoad;
    }
    kState.counters["file_KB"] = double(uiFileBytes) / 1e3;
    kState.counters["load/read"] = fLoad / fRead;
    kState.counters["load_peak/file"] = double(kWorst.iPeakBytes) / double(uiFileBytes);
    kState.counters["reserved/file"] = double(kWorst.uiReserved) / double(uiFileBytes);
    kState.counters["bound_MB"] = double(kWorst.uiBound) / 1e6;
}
BENCHMARK(BM_ShipLoad)->Arg(0)->Arg(1)->Iterations(20)->Unit(benchmark::kMillisecond);

// Every input the fuzzers keep, loaded once per iteration: loaded is 1 when it loads, else the
// error code is the load's.
void BM_KeptInputLoad(benchmark::State& kState, const std::string& kPath)
{
    MeasuredLoad kLoad;
    for (auto _ : kState)
        kLoad = MeasureLoad(kPath);
    kState.counters["file_KB"] = double(std::filesystem::file_size(kPath)) / 1e3;
    kState.counters["peak_MB"] = double(kLoad.iPeakBytes) / 1e6;
    kState.counters["bound_MB"] = double(kLoad.uiBound) / 1e6;
    kState.counters["peak/bound"] = double(kLoad.iPeakBytes) / double(kLoad.uiBound);
    kState.counters["loaded"] = kLoad.bLoaded ? 1.0 : 0.0;
    kState.counters["error"] = kLoad.bLoaded ? 0.0 : double(kLoad.iError);
}

[[maybe_unused]] const bool g_bKeptInputsRegistered = []
{
    // Image records become the device images the editor's renderer makes.
    NiImage::SetImageFactory(&NiDDImage::Create);
    std::vector<std::filesystem::path> kPaths;
    for (const auto& kEntry : std::filesystem::directory_iterator(
             std::filesystem::path(FITWRIGHT_SOURCE_DIR) / "tests/fuzz/regressions"))
    {
        if (kEntry.path().extension() == ".nif")
            kPaths.push_back(kEntry.path());
    }
    std::sort(kPaths.begin(), kPaths.end());
    for (const std::filesystem::path& kPath : kPaths)
    {
        benchmark::RegisterBenchmark(("BM_KeptInputLoad/" + kPath.stem().string()).c_str(), BM_KeptInputLoad,
                                     kPath.string())
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

// Rays from in front of the wall towards points spread over it, nearest hit with its normal.
void BM_Pick(benchmark::State& kState)
{
    NiRefPtr<NiNode> spScene = MakeScene();
    std::vector<NiPoint3> kTargets;
    uint32_t uiState = 12345;
    for (int i = 0; i < 1024; ++i)
    {
        uiState = uiState * 214013u + 2531011u;
        const float fY = float((uiState >> 16) & 0x7FFF) / 32767.0f * 25.0f * SPACING;
        uiState = uiState * 214013u + 2531011u;
        const float fZ = float((uiState >> 16) & 0x7FFF) / 32767.0f * float(WALL_COLUMNS) * SPACING;
        kTargets.emplace_back(50.0f, fY, fZ);
    }
    NiPicker kPicker;
    kPicker.SetTarget(spScene);
    kPicker.SetHitMode(NiPicker::FIND_FIRST);
    kPicker.SetWantNormal(true);
    const NiPoint3 kEye(-100.0f, 150.0f, 240.0f);
    size_t uiRay = 0;
    int64_t iHits = 0;
    for (auto _ : kState)
    {
        iHits += kPicker.Pick(kEye, kTargets[uiRay++ % kTargets.size()] - kEye, false);
    }
    kState.SetItemsProcessed(kState.iterations());
    kState.counters["hit_share"] = double(iHits) / double(kState.iterations());
}
BENCHMARK(BM_Pick);
} // namespace

BENCHMARK_MAIN();
