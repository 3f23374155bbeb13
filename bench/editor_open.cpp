// Opening models in the editor: from start-up to the sample ship's document filled (once, as
// a person starts the editor and opens it), and File Open of a ship of 100,000 triangles with
// 100 properties, beside the plain .nif load and the script run of that ship measured in the
// same process. Run under a display (xvfb-run).
#include "bench/EditorBenchFolder.h"
#include "editor/CEditorApp.h"
#include "editor/CMainFrame.h"
#include "editor/CPropertyDoc.h"
#include "editor/resources/Resource.h"
#include "platform/mfc/RecordingModalHook.h"
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

fs::path s_kFolder;
CEditorApp* s_pkApp = nullptr;
mfc::RecordingModalHook* s_pkHook = nullptr;
double s_dStartToFilled = 0.0;

CMainFrame* Main()
{
    return static_cast<CMainFrame*>(s_pkApp->m_pMainWnd);
}

CPropertyDoc* OpenThroughFileOpen(const fs::path& kModel)
{
    s_pkHook->QueueFile(kModel.string());
    Main()->RouteCommand(ID_FILE_OPEN);
    return dynamic_cast<CPropertyDoc*>(Main()->GetActiveDocument());
}

void BM_FileOpenOfTheLargeShip(benchmark::State& kState)
{
    for (auto _ : kState)
    {
        CPropertyDoc* pkDoc = OpenThroughFileOpen(s_kFolder / "Models/LargeShip.nif");
        if (pkDoc == nullptr || pkDoc->GetPropertySet()->GetPropertyLists().GetCount() < 100)
        {
            kState.SkipWithError("the large ship did not fill its document");
            break;
        }
        kState.PauseTiming();
        Main()->RouteCommand(ID_FILE_CLOSE);
        s_pkApp->PumpMessages();
        kState.ResumeTiming();
    }
}
BENCHMARK(BM_FileOpenOfTheLargeShip)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PlainNifLoadOfTheLargeShip(benchmark::State& kState)
{
    const std::string kPath = (s_kFolder / "Models/LargeShip.nif").string();
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
    const std::string kPath = (s_kFolder / "Models/LargeShip.py").string();
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

bool MakeFolder()
{
    SampleShipOptions kLarge;
    kLarge.kName = "LargeShip";
    kLarge.uiTriangles = 100000;
    kLarge.uiExtraProperties = 100;
    return MakeEditorBenchFolder(s_kFolder, kLarge);
}
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (!MakeFolder())
        return 1;
    const fs::path kOld = fs::current_path();
    fs::current_path(s_kFolder);
    setenv("XDG_CONFIG_HOME", s_kFolder.c_str(), 1);
    {
        CEditorApp kApp;
        mfc::RecordingModalHook kHook;
        s_pkApp = &kApp;
        s_pkHook = &kHook;
        char acName[] = "fitwright";
        char* apcArgv[] = {acName, nullptr};
        const auto kStart = std::chrono::steady_clock::now();
        const bool bStarted = kApp.StartUp(1, apcArgv);
        CPropertyDoc* pkDoc = bStarted ? OpenThroughFileOpen(s_kFolder / "Models/SampleShip.nif") : nullptr;
        s_dStartToFilled = std::chrono::duration<double>(std::chrono::steady_clock::now() - kStart).count();
        if (pkDoc == nullptr || pkDoc->GetPropertySet()->GetPropertyLists().GetCount() == 0)
        {
            std::fputs(
                "bench_editor_open: the editor did not start or open the sample ship (a display is needed)\n",
                stderr);
            kApp.ShutDown();
            return 1;
        }
        Main()->RouteCommand(ID_FILE_CLOSE);
        kApp.PumpMessages();
        benchmark::RunSpecifiedBenchmarks();
        kApp.ShutDown();
    }
    benchmark::Shutdown();
    fs::current_path(kOld);
    fs::remove_all(s_kFolder);
    return 0;
}
