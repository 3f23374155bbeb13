#pragma once
// What every editor benchmark program does around its benchmarks: a fresh start-up folder (a
// copy of data/ with a large version of the sample ship beside the small one) made the current
// folder and the home of the profile, and the application with a recording modal hook.
#include "editor/CEditorApp.h"
#include "platform/mfc/RecordingModalHook.h"
#include "properties/PropertyTypeRegistry.h"
#include "tools/samples/SampleShip.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

struct EditorBench
{
    std::filesystem::path kFolder;
    CEditorApp* pkApp = nullptr;
    mfc::RecordingModalHook* pkHook = nullptr;
};

// Fills kFolder; false when the folder or the large ship could not be made.
inline bool MakeEditorBenchFolder(std::filesystem::path& kFolder, const SampleShipOptions& kLarge)
{
    char acTemplate[] = "/tmp/fitwright-bench-XXXXXX";
    if (mkdtemp(acTemplate) == nullptr)
        return false;
    kFolder = acTemplate;
    std::filesystem::copy(std::filesystem::path(FITWRIGHT_SOURCE_DIR) / "data", kFolder,
                          std::filesystem::copy_options::recursive);
    RegisterPropertyTypes();
    return WriteSampleShip((kFolder / "Models").string(), kLarge);
}

// The program's main: fnRun starts the application (CWinApp::StartUp, so it may time that),
// runs the benchmarks and answers the exit code; the application is shut down and the folder
// removed afterwards whatever it answered.
inline int RunEditorBench(int argc, char** argv, EditorBench& kBench, const SampleShipOptions& kLarge,
                          const std::function<int()>& fnRun)
{
    benchmark::Initialize(&argc, argv);
    if (!MakeEditorBenchFolder(kBench.kFolder, kLarge))
        return 1;
    const std::filesystem::path kOld = std::filesystem::current_path();
    std::filesystem::current_path(kBench.kFolder);
    setenv("XDG_CONFIG_HOME", kBench.kFolder.c_str(), 1);
    int iResult = 0;
    {
        CEditorApp kApp;
        mfc::RecordingModalHook kHook;
        kBench.pkApp = &kApp;
        kBench.pkHook = &kHook;
        iResult = fnRun();
        kApp.ShutDown();
        kBench.pkApp = nullptr;
        kBench.pkHook = nullptr;
    }
    benchmark::Shutdown();
    std::filesystem::current_path(kOld);
    std::filesystem::remove_all(kBench.kFolder);
    return iResult;
}

// Starts the application as the program would be started.
inline bool StartEditor(CEditorApp& kApp)
{
    char acName[] = "fitwright";
    char* apcArgv[] = {acName, nullptr};
    return kApp.StartUp(1, apcArgv);
}
