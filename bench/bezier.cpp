// Patch tessellation: triangles made per second by uniform and adaptive tessellation of a
// bent bicubic rectangle, a bent cubic triangle and a bent cubic cylinder at each level, beside
// a plain loop that evaluates a bicubic at the uniform grid points straight into vectors (no
// output arrays, no kernels, no render data). Adaptive runs see the patch from a camera close
// to one corner, so refinement below the level is view-dependent. Prints the triangles per
// second of each run and how the time per tessellation grows from one level to the next.
#include "scene/bezier/NiBezierCylinder.h"
#include "scene/bezier/NiBezierRectangle3.h"
#include "scene/bezier/NiBezierTriangle3.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiRender.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace
{
// A renderer that only answers the screen size the screen test reads.
class ScreenOnlyRender : public NiRender
{
public:
    const char* GetDriverDescription() const override { return "bench"; }
    uint32_t GetRendererFlags() const override { return 0; }
    bool IsTextureFormatSupported(uint32_t) const override { return false; }
    bool PresentFrame() override { return true; }
    bool ClearViewport(const NiRect<float>*, uint32_t) override { return true; }
    uint32_t GetScreenWidth() const override { return 1280; }
    uint32_t GetScreenHeight() const override { return 1024; }
    uint32_t GetColorDepth() const override { return 32; }
    NiImage* GetBuffer(uint32_t) override { return nullptr; }
    bool BlitImage(NiImage*, const NiRect<uint32_t>*, uint32_t, uint32_t, bool) override { return false; }
    bool SetBackgroundColor(const NiColor&) override { return true; }
    bool PrecacheTexture(NiImage*, bool, bool) override { return false; }
    bool PurgeAllTextures(bool) override { return true; }
    bool PurgeTexture(NiImage*) override { return true; }
    bool SetTextureSkipLevels(uint32_t) override { return true; }
    uint32_t GetTextureSkipLevels() const override { return 0; }
    bool SetCameraFrame(const NiPoint3&, const NiPoint3&, const NiPoint3&, const NiPoint3&, const NiFrustum&,
                        const NiRect<float>&) override
    {
        return true;
    }
    void SetObjectTransform(const NiPoint3&, const NiRotationMatrix&, float) override {}
    void RestoreProjection() override {}
    void DrawTriShape(NiTriShapeData*, const NiBoundingSphere&) override {}
    void DrawTriangles(NiTrianglesData*, const NiBoundingSphere&) override {}
    void DrawTriStrip(NiTriStripData*, const NiBoundingSphere&) override {}
    void DrawTriStrips(NiTriStripsData*, const NiBoundingSphere&) override {}
    void DrawParticles(NiParticlesData*, const NiBoundingSphere&) override {}
    void DrawLines(NiLinesData*, const NiBoundingSphere&) override {}
    void DrawScreenPolygon(uint16_t, const NiPoint3*, const NiTexCoord*, const NiColorA*) override {}
    bool SetClipPlanes(const NiPlane* const*, uint32_t, uint32_t, uint32_t) override { return true; }
    bool PrepareImage(NiImage*) override { return true; }
};

float Height(float x, float y)
{
    return 2.0f * std::sin(0.9f * x) * std::cos(0.7f * y);
}

template <class T> T* Copy(const std::vector<T>& kValues)
{
    T* pArray = new T[kValues.size()];
    std::copy(kValues.begin(), kValues.end(), pArray);
    return pArray;
}

std::vector<NiPoint3> RectanglePoints()
{
    std::vector<NiPoint3> kPoints;
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            kPoints.emplace_back(3.0f * i, 3.0f * j, Height(3.0f * i, 3.0f * j));
    return kPoints;
}

NiBezierPatch* MakePatch(const std::string& kKind)
{
    if (kKind == "Rectangle")
        return new NiBezierRectangle3(Copy(RectanglePoints()), nullptr, nullptr, true);
    if (kKind == "Triangle")
    {
        std::vector<NiPoint3> kPoints;
        for (int j = 0; j < 4; ++j)
            for (int i = 0; i < 4 - j; ++i)
                kPoints.emplace_back(3.0f * i, 3.0f * j, Height(3.0f * i, 3.0f * j));
        return new NiBezierTriangle3(Copy(kPoints), nullptr, nullptr, true);
    }
    std::vector<NiPoint3> kPoints;
    for (int iCurve = 0; iCurve < 2; ++iCurve)
        for (int i = 0; i < 4; ++i)
            kPoints.emplace_back(3.0f * i, 9.0f * iCurve, Height(3.0f * i, 9.0f * iCurve));
    return new NiBezierCylinder(3, Copy(kPoints), nullptr, nullptr, true);
}

// The patch seen from a camera close to its first corner.
struct Scene
{
    NiRefPtr<NiCamera> m_spCamera = new NiCamera;
    NiRefPtr<NiBezierPatch> m_spPatch;

    explicit Scene(const std::string& kKind, bool bAdaptive) : m_spPatch(MakePatch(kKind))
    {
        m_spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.4f, -0.4f, 0.5f, 1000.0f));
        m_spCamera->SetRenderer(new ScreenOnlyRender);
        m_spCamera->SetTranslate(NiPoint3(-1.0f, -1.0f, 4.0f));
        m_spCamera->UpdateSubtree(0.0f);
        m_spCamera->LookAt(NiPoint3(4.5f, 4.5f, 0.0f), NiPoint3::UNIT_Z);
        m_spCamera->UpdateSubtree(0.0f);
        m_spPatch->UpdateSubtree(0.0f);
        m_spPatch->SetCamera(m_spCamera);
        m_spPatch->SetAdaptive(bAdaptive);
    }
};

std::map<std::string, double> g_kTriangles;

void BM_Tessellate(benchmark::State& kState, const std::string& kName, const std::string& kKind,
                   bool bAdaptive, uint8_t ucLevel)
{
    Scene kScene(kKind, bAdaptive);
    for (auto _ : kState)
    {
        kScene.m_spPatch->Tessellate(ucLevel);
        benchmark::DoNotOptimize(kScene.m_spPatch->GetTriangleCount());
    }
    g_kTriangles[kName] = kScene.m_spPatch->GetTriangleCount();
    kState.counters["triangles"] = kScene.m_spPatch->GetTriangleCount();
}

// The bound: the bicubic's uniform grid evaluated by a direct Bernstein sum into vectors, and
// its triangle list written, with no patch machinery.
void BM_PlainGrid(benchmark::State& kState, const std::string& kName, uint8_t ucLevel)
{
    const std::vector<NiPoint3> kControl = RectanglePoints();
    const uint32_t n = 1u << ucLevel;
    std::vector<NiPoint3> kPositions;
    std::vector<uint16_t> kIndices;
    auto B = [](int i, float t)
    {
        const float s = 1.0f - t;
        const float af[4] = {s * s * s, 3 * t * s * s, 3 * t * t * s, t * t * t};
        return af[i];
    };
    for (auto _ : kState)
    {
        kPositions.clear();
        kIndices.clear();
        for (uint32_t j = 0; j <= n; ++j)
            for (uint32_t i = 0; i <= n; ++i)
            {
                const float u = float(i) / n, v = float(j) / n;
                NiPoint3 kSum(0, 0, 0);
                for (int b = 0; b < 4; ++b)
                    for (int a = 0; a < 4; ++a)
                        kSum += kControl[a + 4 * b] * (B(a, u) * B(b, v));
                kPositions.push_back(kSum);
            }
        for (uint32_t j = 0; j < n; ++j)
            for (uint32_t i = 0; i < n; ++i)
            {
                const uint16_t a = uint16_t(j * (n + 1) + i), c = uint16_t(a + n + 1);
                kIndices.insert(kIndices.end(), {a, uint16_t(a + 1), c, uint16_t(a + 1), uint16_t(c + 1), c});
            }
        benchmark::DoNotOptimize(kIndices.data());
    }
    g_kTriangles[kName] = 2.0 * n * n;
}

class RateReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& kRuns) override
    {
        for (const Run& kRun : kRuns)
        {
            if (kRun.aggregate_name == "median")
                m_kMedians[kRun.run_name.function_name] = kRun.GetAdjustedRealTime() * 1e-6; // seconds
        }
        ConsoleReporter::ReportRuns(kRuns);
    }

    std::map<std::string, double> m_kMedians;
};

std::string Name(const std::string& kFamily, int iLevel)
{
    char acName[64];
    std::snprintf(acName, sizeof(acName), "%s/L%d", kFamily.c_str(), iLevel);
    return acName;
}
} // namespace

int main(int argc, char** argv)
{
    struct Family
    {
        std::string m_kName;
        std::string m_kKind;
        bool m_bAdaptive;
        int m_iMaxLevel;
    };
    const std::vector<Family> kFamilies = {{"PlainGrid", "", false, 6},
                                           {"RectangleUniform", "Rectangle", false, 6},
                                           {"RectangleAdaptive", "Rectangle", true, 6},
                                           {"TriangleUniform", "Triangle", false, 7},
                                           {"TriangleAdaptive", "Triangle", true, 7},
                                           {"CylinderUniform", "Cylinder", false, 13},
                                           {"CylinderAdaptive", "Cylinder", true, 13}};
    for (const Family& kFamily : kFamilies)
    {
        for (int iLevel = 0; iLevel <= kFamily.m_iMaxLevel; ++iLevel)
        {
            const std::string kName = Name(kFamily.m_kName, iLevel);
            auto* pkBenchmark =
                kFamily.m_kKind.empty()
                    ? benchmark::RegisterBenchmark(kName.c_str(), BM_PlainGrid, kName, uint8_t(iLevel))
                    : benchmark::RegisterBenchmark(kName.c_str(), BM_Tessellate, kName, kFamily.m_kKind,
                                                   kFamily.m_bAdaptive, uint8_t(iLevel));
            pkBenchmark->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);
        }
    }

    benchmark::Initialize(&argc, argv);
    RateReporter kReporter;
    benchmark::RunSpecifiedBenchmarks(&kReporter);
    std::printf("\n%-20s %5s %9s %12s %14s %8s\n", "run", "level", "triangles", "time (us)", "triangles/s",
                "growth");
    for (const Family& kFamily : kFamilies)
    {
        double dPrevious = 0.0;
        for (int iLevel = 0; iLevel <= kFamily.m_iMaxLevel; ++iLevel)
        {
            const std::string kName = Name(kFamily.m_kName, iLevel);
            const auto kTime = kReporter.m_kMedians.find(kName);
            if (kTime == kReporter.m_kMedians.end() || kTime->second <= 0.0)
                continue;
            const double dMicroseconds = kTime->second * 1e6;
            const double dTriangles = g_kTriangles[kName];
            std::printf("%-20s %5d %9.0f %12.2f %14.3e", kFamily.m_kName.c_str(), iLevel, dTriangles,
                        dMicroseconds, dTriangles / kTime->second);
            if (dPrevious > 0.0)
                std::printf(" %7.2fx", dMicroseconds / dPrevious);
            std::printf("\n");
            dPrevious = dMicroseconds;
        }
    }
    std::printf("growth: time of one tessellation over the level below (4x triangles per level for\n"
                "rectangles and triangles, 2x for the cylinder; a flat growth per triangle keeps to that)\n");
    benchmark::Shutdown();
    return 0;
}
