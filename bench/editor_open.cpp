// Opening models in the editor: from start-up to the sample ship's document filled (once, as
// a person starts the editor and opens it), and File Open of a ship of 100,000 triangles with
// 100 properties, beside the plain .nif load and the script run of that ship measured in the
// same process. Run under a display (xvfb-run).
#include "bench/EditorBench.h"
#include "editor/CEditorApp.h"
#include "editor/CMainFrame.h"
#include "editor/CPropertyDoc.h"
#include "editor/resources/Resource.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "scene/object/NiStream.h"
#include "scripting/PyEmbed.h"
#include "scripting/PythonApi.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace
{
namespace fs = std::filesystem;

EditorBench s_kBench;
double s_dStartToFilled = 0.0;

CMainFrame* Main()
{
    return static_cast<CMainFrame*>(s_kBench.pkApp->m_pMainWnd);
}

CPropertyDoc* OpenThroughFileOpen(const fs::path& kModel)
{
    s_kBench.pkHook->QueueFile(kModel.string());
    Main()->RouteCommand(ID_FILE_OPEN);
    return dynamic_cast<CPropertyDoc*>(Main()->GetActiveDocument());
}

void BM_FileOpenOfTheLargeShip(benchmark::State& kState)
{
    for (auto _ : kState)
    {
        CPropertyDoc* pkDoc = OpenThroughFileOpen(s_kBench.kFolder / "Models/LargeShip.nif");
        if (pkDoc == nullptr || pkDoc->GetPropertySet()->GetPropertyLists().GetCount() < 100)
        {
            kState.SkipWithError("the large ship did not fill its document");
            break;
        }
        kState.PauseTiming();
        Main()->RouteCommand(ID_FILE_CLOSE);
        s_kBench.pkApp->PumpMessages();
        kState.ResumeTiming();
    }
}
BENCHMARK(BM_FileOpenOfTheLargeShip)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PlainNifLoadOfTheLargeShip(benchmark::State& kState)
{
    const std::string kPath = (s_kBench.kFolder / "Models/LargeShip.nif").string();
    for (auto _ : kState)
    {
        NiStream kStream;
        if (!kStream.LoadFile(kPath.c_str()))
            kState.SkipWithError("the large ship does not load");
        benchmark::DoNotOptimize(kStream.GetTopObjectCount());
    }
}
BENCHMARK(BM_PlainNifLoadOfTheLargeShip)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ScriptRunOfTheLargeShip(benchmark::State& kState)
{
    const std::string kPath = (s_kBench.kFolder / "Models/LargeShip.py").string();
    for (auto _ : kState)
    {
        PyEmbed::RunSimpleFile(kPath.c_str());
        auto* pkSet = new SKModelPropertySet(0);
        PyObject* pkObject = pkSet->CreatePythonObject();
        PyEmbed::CallFunction("__main__", "LoadPropertySet", nullptr, nullptr, "(O)", pkObject);
        Py_XDECREF(pkObject);
        benchmark::DoNotOptimize(pkSet->GetPropertyLists().GetCount());
        kState.PauseTiming();
        delete pkSet;
        g_kModelPropertyManager.ClearLocalTemplates();
        kState.ResumeTiming();
    }
}
BENCHMARK(BM_ScriptRunOfTheLargeShip)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_StartUpToTheSampleShipFilled(benchmark::State& kState)
{
    for (auto _ : kState)
        kState.SetIterationTime(s_dStartToFilled);
}
BENCHMARK(BM_StartUpToTheSampleShipFilled)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

SampleShipOptions LargeShip()
{
    SampleShipOptions kLarge;
    kLarge.kName = "LargeShip";
    kLarge.uiTriangles = 100000;
    kLarge.uiExtraProperties = 100;
    return kLarge;
}

int StartOpenAndRun()
{
    CEditorApp& kApp = *s_kBench.pkApp;
    const auto kStart = std::chrono::steady_clock::now();
    const bool bStarted = StartEditor(kApp);
    CPropertyDoc* pkDoc =
        bStarted ? OpenThroughFileOpen(s_kBench.kFolder / "Models/SampleShip.nif") : nullptr;
    s_dStartToFilled = std::chrono::duration<double>(std::chrono::steady_clock::now() - kStart).count();
    if (pkDoc == nullptr || pkDoc->GetPropertySet()->GetPropertyLists().GetCount() == 0)
    {
        std::fputs(
            "bench_editor_open: the editor did not start or open the sample ship (a display is needed)\n",
            stderr);
        return 1;
    }
    Main()->RouteCommand(ID_FILE_CLOSE);
    kApp.PumpMessages();
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    return RunEditorBench(argc, argv, s_kBench, LargeShip(), StartOpenAndRun);
}
