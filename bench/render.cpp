// Frames of a 100,000-triangle textured, lit scene drawn by the renderer on the OpenGL back end
// (camera clear and render: culling, property and effect state, texture stages, lights, one draw
// per shape) beside the same triangles drawn by direct GL calls from client vertex arrays in the
// same context, with the state the renderer left. Each frame ends with glFinish, so both measure
// finished pixels; presenting into a window is left out of both. The ratio renderer / direct GL
// is printed at the end; the target is at most 1.3.
//
// Then a model of many small parts, where what the renderer does per object weighs most, drawn
// by the same renderer once with a texture whose file is missing from a folder of 300 textures
// and once without a texture: the failed image must cost next to nothing after its first frame. The ratio
// missing / untextured is printed too; the target is at most 1.1.
#include "platform/d3d7/DirectDrawCore.h"
#include "platform/d3d7/GLContext.h"
#include "platform/d3d7/Surface.h"
#include "platform/win32/DebugOutputCapture.h"
#include "scene/graph/NiAlphaAccumulator.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiDirectionalLight.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/graph/NiTriShape.h"
#include "scene/graph/NiTriShapeData.h"
#include "scene/object/NiColor.h"
#include "scene/object/NiTexCoord.h"
#include "scene/render/NiD3DFramebuffer.h"
#include "scene/render/NiD3DRender.h"

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr int GRID = 50;   // quads per side of one shape
constexpr int SHAPES = 20; // 20 x 2 x 50 x 50 = 100,000 triangles
constexpr int PART_GRID = 4;
constexpr int PARTS = 400; // 400 x 2 x 4 x 4 = 12,800 triangles
constexpr int TEXTURE_FILES = 300;
constexpr int32_t WIDTH = 640, HEIGHT = 480;

double s_dRendererSeconds = 0.0;
double s_dDirectSeconds = 0.0;
double s_dMissingSeconds = 0.0;
double s_dUntexturedSeconds = 0.0;

// One vertex as the direct path feeds it: position, normal, texture coordinate.
struct Vertex
{
    float afPosition[3];
    float afNormal[3];
    float afUV[2];
};

// The scenes, in the plane x = 20 in front of a camera at the origin looking along +x, with one
// directional light: SHAPES grids of GRID x GRID quads side by side with one 64 x 64 texture on
// the root; and PARTS grids of PART_GRID x PART_GRID quads, with a texture whose file is missing
// from a folder of TEXTURE_FILES textures, or without a texture.
struct Scene
{
    Scene()
    {
        m_kWindow.SetClientSize(WIDTH, HEIGHT);
        m_spRenderer =
            NiD3DRender::Create(0, 0, 0, NiD3DRender::CREATE_ZBUFFER | NiD3DRender::CREATE_DEEP_ZBUFFER,
                                &m_kWindow, nullptr, nullptr);
        if (!m_spRenderer)
            return;
        // Models name their textures in a folder of many; this one is not there.
        char acFolder[] = "/tmp/fitwright-bench-render-XXXXXX";
        if (mkdtemp(acFolder))
        {
            m_kTextureFolder = acFolder;
            for (int i = 0; i < TEXTURE_FILES; ++i)
                std::ofstream(m_kTextureFolder / ("Texture" + std::to_string(i) + ".tga"));
        }
        // Made before the renderer is listed, as a model file naming it makes it: an image created
        // while a listed renderer cannot prepare it is refused, a loaded one stays.
        m_spMissingImage =
            NiImage::CreateFromFile((m_kTextureFolder / "Missing.tga").c_str(), NiImage::MODE_OFF,
                                    NiImage::TEX_DEFAULT, NiImage::MODE_OFF);
        NiImage::AddRenderer(m_spRenderer);

        NiRefPtr<NiRawImageData> spTexels = new NiRawImageData(NiRawImageData::FORMAT_RGB, 64, 64);
        for (uint32_t i = 0; i < 64 * 64; ++i)
        {
            uint8_t* pucPixel = spTexels->GetPixels() + 3 * i;
            const bool bDark = ((i % 64) / 8 + (i / 64) / 8) % 2;
            pucPixel[0] = bDark ? 40 : 220;
            pucPixel[1] = 120;
            pucPixel[2] = bDark ? 220 : 40;
        }
        m_spRoot = BuildRoot(
            NiImage::CreateFromRawData(spTexels, NiImage::MODE_OFF, NiImage::TEX_DEFAULT, NiImage::MODE_OFF),
            GRID, SHAPES, true);
        m_spMissingRoot = BuildRoot(m_spMissingImage, PART_GRID, PARTS, false);
        m_spUntexturedRoot = BuildRoot(nullptr, PART_GRID, PARTS, false);

        m_spCamera = new NiCamera;
        m_spCamera->SetFrustum(NiFrustum(-0.7f, 0.7f, 0.525f, -0.525f, 1.0f, 100.0f));
        m_spCamera->UpdateSubtree(0.0f);
        m_spCamera->SetRenderer(m_spRenderer);
        m_spCamera->SetScene(m_spRoot);
        m_spRenderer->SetAccumulator(new NiAlphaAccumulator);
        m_spRenderer->SetBackgroundColor(NiColor(0.1f, 0.1f, 0.1f));
    }

    // Grids of iGrid x iGrid quads filling the same area, with the image (if any) on the root;
    // bDirect keeps the direct path's copy of the triangles.
    NiNode* BuildRoot(NiImage* pkImage, int iGrid, int iShapes, bool bDirect)
    {
        NiNode* pkRoot = new NiNode;
        auto* pkLight = new NiDirectionalLight;
        pkLight->SetDiffuseColor(NiColor(1, 1, 1));
        pkLight->SetAmbientColor(NiColor(0.2f, 0.2f, 0.2f));
        pkRoot->AddChild(pkLight);
        pkRoot->AttachEffect(pkLight);
        if (pkImage)
        {
            auto* pkTexture = new NiTextureProperty;
            pkTexture->SetImage(pkImage);
            pkRoot->PrependProperty(pkTexture);
        }

        const int iSide = iGrid + 1;
        const int iColumns = static_cast<int>(std::lround(std::sqrt(1.25 * iShapes)));
        const int iRows = (iShapes + iColumns - 1) / iColumns;
        const float fWidth = 25.0f / static_cast<float>(iColumns),
                    fHeight = 16.0f / static_cast<float>(iRows);
        for (int s = 0; s < iShapes; ++s)
        {
            const float fY0 = -12.5f + fWidth * static_cast<float>(s % iColumns);
            const float fZ0 = -8.0f + fHeight * static_cast<float>(s / iColumns);
            auto* pkVertex = new NiPoint3[iSide * iSide];
            auto* pkNormal = new NiPoint3[iSide * iSide];
            auto* pkUV = new NiTexCoord[iSide * iSide];
            for (int j = 0; j < iSide; ++j)
            {
                for (int i = 0; i < iSide; ++i)
                {
                    const int v = j * iSide + i;
                    const float fU = static_cast<float>(i) / static_cast<float>(iGrid);
                    const float fV = static_cast<float>(j) / static_cast<float>(iGrid);
                    // A gentle ripple, so that lighting varies over each grid.
                    pkVertex[v] = NiPoint3(20.0f + 0.3f * std::sin(6.0f * fU), fY0 + 0.96f * fWidth * fU,
                                           fZ0 + 0.95f * fHeight * fV);
                    pkNormal[v] = NiPoint3(-1.0f, 0.3f * std::cos(6.0f * fU), 0.0f);
                    pkNormal[v].Unitize();
                    pkUV[v] = NiTexCoord(fU, fV);
                }
            }
            auto* pusIndices = new uint16_t[6 * iGrid * iGrid];
            uint16_t* pusOut = pusIndices;
            for (int j = 0; j < iGrid; ++j)
            {
                for (int i = 0; i < iGrid; ++i)
                {
                    const auto v = static_cast<uint16_t>(j * iSide + i);
                    const auto w = static_cast<uint16_t>(v + iSide);
                    for (uint16_t usIndex : {v, w, uint16_t(v + 1), uint16_t(v + 1), w, uint16_t(w + 1)})
                        *pusOut++ = usIndex;
                }
            }
            pkRoot->AddChild(new NiTriShape(static_cast<uint16_t>(iSide * iSide), pkVertex, pkNormal, nullptr,
                                            pkUV, static_cast<uint16_t>(2 * iGrid * iGrid), pusIndices));
            if (!bDirect)
                continue;

            // The direct path's copy: interleaved vertices and the same indices.
            std::vector<Vertex> kVertices(iSide * iSide);
            for (int v = 0; v < iSide * iSide; ++v)
            {
                kVertices[v] = {{pkVertex[v].x, pkVertex[v].y, pkVertex[v].z},
                                {pkNormal[v].x, pkNormal[v].y, pkNormal[v].z},
                                {pkUV[v].x, pkUV[v].y}};
            }
            m_kVertices.push_back(std::move(kVertices));
            m_kIndices.emplace_back(pusIndices, pusIndices + 6 * iGrid * iGrid);
        }
        pkRoot->UpdateSubtree(0.0f);
        pkRoot->RefreshPropertyStates();
        pkRoot->RefreshEffectStates();
        return pkRoot;
    }

    ~Scene()
    {
        if (m_spCamera)
        {
            m_spCamera->SetScene(nullptr);
            m_spCamera->SetRenderer(nullptr);
        }
        m_spRoot = m_spMissingRoot = m_spUntexturedRoot = nullptr;
        m_spMissingImage = nullptr;
        if (m_spRenderer)
            NiImage::RemoveRenderer(m_spRenderer);
        if (!m_kTextureFolder.empty())
        {
            std::error_code kError;
            std::filesystem::remove_all(m_kTextureFolder, kError);
        }
    }

    // The renderer's framebuffer surface and its GL context, made current.
    d3d7::Surface* Target() const
    {
        auto* pkSurface = static_cast<d3d7::Surface*>(m_spRenderer->GetFramebuffer(0)->GetBackSurface());
        pkSurface->GetCore().GL()->MakeCurrent();
        return pkSurface;
    }

    void RendererFrame(NiNode* pkRoot)
    {
        m_spCamera->SetScene(pkRoot);
        m_spCamera->Clear(NiRender::CLEAR_BACKBUFFER | NiRender::CLEAR_ZBUFFER);
        m_spCamera->Render();
        Target();
        glFinish();
    }

    // The same clear and triangles in the renderer's context; every other state stays as the
    // renderer's last draw left it (lights, texture stage, matrices, depth test, viewport).
    void DirectFrame()
    {
        d3d7::Surface* pkTarget = Target();
        glBindFramebuffer(GL_FRAMEBUFFER, pkTarget->uiFramebuffer);
        glViewport(0, 0, WIDTH, HEIGHT);
        glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
        glClearDepth(1.0);
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4f(1, 1, 1, 1);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glClientActiveTexture(GL_TEXTURE0);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        for (size_t s = 0; s < m_kVertices.size(); ++s)
        {
            const Vertex* pkVertices = m_kVertices[s].data();
            glVertexPointer(3, GL_FLOAT, sizeof(Vertex), pkVertices->afPosition);
            glNormalPointer(GL_FLOAT, sizeof(Vertex), pkVertices->afNormal);
            glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), pkVertices->afUV);
            glDrawRangeElements(GL_TRIANGLES, 0, static_cast<GLuint>(m_kVertices[s].size() - 1),
                                static_cast<GLsizei>(m_kIndices[s].size()), GL_UNSIGNED_SHORT,
                                m_kIndices[s].data());
        }
        glFinish();
    }

    win32::DebugOutputCapture m_kQuiet;
    win32::Window m_kWindow;
    NiRefPtr<NiD3DRender> m_spRenderer;
    NiRefPtr<NiNode> m_spRoot;
    NiRefPtr<NiNode> m_spMissingRoot;
    NiRefPtr<NiNode> m_spUntexturedRoot;
    std::filesystem::path m_kTextureFolder;
    NiRefPtr<NiImage> m_spMissingImage;
    NiRefPtr<NiCamera> m_spCamera;
    std::vector<std::vector<Vertex>> m_kVertices;
    std::vector<std::vector<uint16_t>> m_kIndices;
};

Scene* s_pkScene = nullptr;

// Times the frames; the seconds per frame are kept for the ratio.
template <class Frame>
void TimeFrames(benchmark::State& kState, Frame kFrame, double& dSeconds, int64_t iTriangles)
{
    const auto kStart = std::chrono::steady_clock::now();
    for (auto _ : kState)
        kFrame();
    dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - kStart).count() /
               static_cast<double>(kState.iterations());
    kState.SetItemsProcessed(kState.iterations() * iTriangles);
    kState.counters["fps"] =
        benchmark::Counter(static_cast<double>(kState.iterations()), benchmark::Counter::kIsRate);
}

void BM_RendererFrame(benchmark::State& kState)
{
    NiNode* pkRoot = s_pkScene->m_spRoot;
    s_pkScene->RendererFrame(pkRoot);
    TimeFrames(
        kState, [&] { s_pkScene->RendererFrame(pkRoot); }, s_dRendererSeconds, 2 * GRID * GRID * SHAPES);
}
BENCHMARK(BM_RendererFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_DirectGLFrame(benchmark::State& kState)
{
    // The renderer's frame first, so the state it leaves is the one the direct calls draw with.
    s_pkScene->RendererFrame(s_pkScene->m_spRoot);
    s_pkScene->DirectFrame();
    TimeFrames(
        kState, [] { s_pkScene->DirectFrame(); }, s_dDirectSeconds, 2 * GRID * GRID * SHAPES);
}
BENCHMARK(BM_DirectGLFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_MissingTextureFrame(benchmark::State& kState)
{
    NiNode* pkRoot = s_pkScene->m_spMissingRoot;
    s_pkScene->RendererFrame(pkRoot);
    TimeFrames(
        kState, [&] { s_pkScene->RendererFrame(pkRoot); }, s_dMissingSeconds,
        2 * PART_GRID * PART_GRID * PARTS);
}
BENCHMARK(BM_MissingTextureFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_UntexturedFrame(benchmark::State& kState)
{
    NiNode* pkRoot = s_pkScene->m_spUntexturedRoot;
    s_pkScene->RendererFrame(pkRoot);
    TimeFrames(
        kState, [&] { s_pkScene->RendererFrame(pkRoot); }, s_dUntexturedSeconds,
        2 * PART_GRID * PART_GRID * PARTS);
}
BENCHMARK(BM_UntexturedFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Scene kScene;
    if (!kScene.m_spRenderer || !kScene.Target()->uiFramebuffer)
    {
        std::fputs("bench_render: no OpenGL renderer could be made\n", stderr);
        return 1;
    }
    if (!kScene.m_spMissingImage)
    {
        std::fputs("bench_render: no image of the missing texture could be made\n", stderr);
        return 1;
    }
    s_pkScene = &kScene;
    // The first frames of a process cost more (the driver's and the allocator's one-time work):
    // every scene is drawn a while first, so that no benchmark pays them for the others.
    for (NiNode* pkRoot :
         {kScene.m_spRoot.Get(), kScene.m_spMissingRoot.Get(), kScene.m_spUntexturedRoot.Get()})
    {
        for (int i = 0; i < 20; ++i)
            kScene.RendererFrame(pkRoot);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    s_pkScene = nullptr;
    if (s_dRendererSeconds > 0.0 && s_dDirectSeconds > 0.0)
    {
        std::printf("renderer frame %.2f ms, direct GL frame %.2f ms: ratio %.3f (target at most 1.3)\n",
                    1e3 * s_dRendererSeconds, 1e3 * s_dDirectSeconds, s_dRendererSeconds / s_dDirectSeconds);
    }
    if (s_dMissingSeconds > 0.0 && s_dUntexturedSeconds > 0.0)
    {
        std::printf(
            "missing-texture frame %.3f ms, untextured frame %.3f ms: ratio %.3f (target at most 1.1)\n",
            1e3 * s_dMissingSeconds, 1e3 * s_dUntexturedSeconds, s_dMissingSeconds / s_dUntexturedSeconds);
    }
    return 0;
}
