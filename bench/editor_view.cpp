// Redraws of the editor's 3D view: the sample ship and a ship of 100,000 triangles drawn by the
// view into its window (clear, render, present: the frame read back into memory the X server
// shares and put into the view's window), beside the same frames drawn by an offscreen
// renderer alone (clear, render, finish; nothing presented) from a camera placed as the
// view's, in the same process. The ratio view / offscreen is the cost of presenting into the
// window; the target is at most 1.2. Run under a display (xvfb-run) with Mesa's software
// renderer.
#include "bench/EditorBench.h"
#include "editor/CEditorApp.h"
#include "editor/CMainFrame.h"
#include "editor/CNifView.h"
#include "editor/CPropertyDoc.h"
#include "editor/resources/Resource.h"
#include "platform/d3d7/DirectDrawCore.h"
#include "platform/d3d7/GLContext.h"
#include "platform/d3d7/Surface.h"
#include "platform/win32/Window.h"
#include "scene/graph/NiAlphaAccumulator.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiNode.h"
#include "scene/render/NiD3DFramebuffer.h"
#include "scene/render/NiD3DRender.h"

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <chrono>
#include <cstdio>
#include <vector>

namespace
{
EditorBench s_kBench;
// Seconds per frame of the last run of each model.
struct Ratio
{
    const char* pcLabel;
    double dView;
    double dOffscreen;
};
std::vector<Ratio> s_kRatios;

CMainFrame* Main()
{
    return static_cast<CMainFrame*>(s_kBench.pkApp->m_pMainWnd);
}

CNifView* OpenModel(const char* pcName)
{
    s_kBench.pkHook->QueueFile((s_kBench.kFolder / "Models" / pcName).string());
    Main()->RouteCommand(ID_FILE_OPEN);
    s_kBench.pkApp->PumpMessages();
    auto* pkDoc = dynamic_cast<CPropertyDoc*>(Main()->GetActiveDocument());
    return pkDoc != nullptr ? pkDoc->GetNifView() : nullptr;
}

void CloseModel()
{
    Main()->RouteCommand(ID_FILE_CLOSE);
    s_kBench.pkApp->PumpMessages();
}

// A renderer of the view's size that presents nowhere, with a camera placed as the view's.
struct Offscreen
{
    explicit Offscreen(CNifView* pkView)
    {
        int32_t iWidth = 0;
        int32_t iHeight = 0;
        pkView->GetClientSize(iWidth, iHeight);
        m_kWindow.SetClientSize(iWidth, iHeight);
        m_spRenderer = NiD3DRender::Create(0, 0, 0, 1, &m_kWindow, nullptr, nullptr);
        if (!m_spRenderer)
            return;
        NiImage::AddRenderer(m_spRenderer);
        auto* pkAccumulator = new NiAlphaAccumulator;
        pkAccumulator->SetObserveNoSortHint(true);
        m_spRenderer->SetAccumulator(pkAccumulator);
        const NiCamera* pkViewCamera = pkView->GetCamera();
        m_spCamera = new NiCamera;
        m_spCamera->SetFrustum(pkViewCamera->GetFrustum());
        m_spCamera->SetViewPort(pkViewCamera->GetViewPort());
        m_spCamera->SetRotate(pkViewCamera->GetRotate());
        m_spCamera->SetTranslate(pkViewCamera->GetTranslate());
        m_spCamera->UpdateSubtree(0.0f);
        m_spCamera->SetScene(pkViewCamera->GetScene());
        m_spCamera->SetRenderer(m_spRenderer);
    }
    ~Offscreen()
    {
        if (m_spCamera)
        {
            m_spCamera->SetScene(nullptr);
            m_spCamera->SetRenderer(nullptr);
        }
        if (m_spRenderer)
            NiImage::RemoveRenderer(m_spRenderer);
    }
    void Frame()
    {
        m_spCamera->Clear(NiRender::CLEAR_BACKBUFFER | NiRender::CLEAR_ZBUFFER);
        m_spCamera->Render();
        static_cast<d3d7::Surface*>(m_spRenderer->GetFramebuffer(0)->GetBackSurface())
            ->GetCore()
            .GL()
            ->MakeCurrent();
        glFinish();
    }

    win32::Window m_kWindow;
    NiRefPtr<NiD3DRender> m_spRenderer;
    NiRefPtr<NiCamera> m_spCamera;
};

// Frames of the view and of the offscreen renderer, one of each in turn so that both see the
// same load on the machine.
void ViewBesideOffscreen(benchmark::State& kState, const char* pcModel, const char* pcLabel)
{
    CNifView* pkView = OpenModel(pcModel);
    if (pkView == nullptr || pkView->GetRenderer() == nullptr)
    {
        kState.SkipWithError("the model did not open into a view with a renderer");
        return;
    }
    double dView = 0.0;
    double dOffscreen = 0.0;
    {
        Offscreen kOffscreen(pkView);
        if (!kOffscreen.m_spRenderer)
        {
            kState.SkipWithError("no offscreen renderer");
            CloseModel();
            return;
        }
        pkView->Redraw();
        kOffscreen.Frame();
        using Clock = std::chrono::steady_clock;
        for (auto _ : kState)
        {
            const auto kStart = Clock::now();
            pkView->Redraw();
            const auto kMiddle = Clock::now();
            kOffscreen.Frame();
            const auto kEnd = Clock::now();
            dView += std::chrono::duration<double>(kMiddle - kStart).count();
            dOffscreen += std::chrono::duration<double>(kEnd - kMiddle).count();
        }
    }
    const double dFrames = static_cast<double>(kState.iterations());
    kState.counters["view_ms"] = 1e3 * dView / dFrames;
    kState.counters["offscreen_ms"] = 1e3 * dOffscreen / dFrames;
    kState.counters["view/offscreen"] = dView / dOffscreen;
    std::erase_if(s_kRatios, [pcLabel](const Ratio& kRatio) { return kRatio.pcLabel == pcLabel; });
    s_kRatios.push_back({pcLabel, dView / dFrames, dOffscreen / dFrames});
    CloseModel();
}

void BM_SampleShip(benchmark::State& kState)
{
    ViewBesideOffscreen(kState, "SampleShip.nif", "Sample ship");
}
void BM_LargeShip(benchmark::State& kState)
{
    ViewBesideOffscreen(kState, "LargeShip.nif", "100,000 triangles");
}
BENCHMARK(BM_SampleShip)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_LargeShip)->Unit(benchmark::kMillisecond)->MinTime(5.0);

void PrintRatios()
{
    for (const Ratio& kRatio : s_kRatios)
        std::printf("%s: view %.3f ms (%.0f frames/s), offscreen %.3f ms (%.0f frames/s), view / offscreen "
                    "%.3f (target at most 1.2)\n",
                    kRatio.pcLabel, 1e3 * kRatio.dView, 1.0 / kRatio.dView, 1e3 * kRatio.dOffscreen,
                    1.0 / kRatio.dOffscreen, kRatio.dView / kRatio.dOffscreen);
}

SampleShipOptions LargeShip()
{
    SampleShipOptions kLarge;
    kLarge.kName = "LargeShip";
    kLarge.uiTriangles = 100000;
    return kLarge;
}

int StartAndRun()
{
    if (!StartEditor(*s_kBench.pkApp))
    {
        std::fputs("bench_editor_view: the editor did not start (a display is needed)\n", stderr);
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    PrintRatios();
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    return RunEditorBench(argc, argv, s_kBench, LargeShip(), StartAndRun);
}
