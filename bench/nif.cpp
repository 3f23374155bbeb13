// Saving and loading a scene of 1,000 triangle shapes of 1,000 triangles each (positions, normals
// and one texture set), beside a plain read of the same file's bytes into memory, all in one
// benchmark run; and picking rays against the same scene.
//
// Prints: the load and save times over the plain read's (targets: load within 4x), the peak heap
// the load reaches over the file size (target: under 3x), and rays picked per second.
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPicker.h"
#include "scene/graph/NiTriShape.h"
#include "scene/object/NiStream.h"

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
