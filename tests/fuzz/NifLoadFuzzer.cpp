// libFuzzer target: NiStream::LoadBuffer over arbitrary bytes, with every scene-graph class
// registered; then, for whatever loaded, the load sequence, a frame drawn and a ray picked
// through a camera, and a save.
//
// With FITWRIGHT_FUZZ_SEEDS=<folder> set, the program writes its seed scenes into the folder
// and ends instead (tools/run-fuzzers does this before fuzzing).

#include "NifSeedScenes.h"

#include "platform/win32/DebugOutput.h"
#include "scene/graph/NiAVObject.h"
#include "scene/graph/NiAlphaAccumulator.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiPicker.h"
#include "scene/object/NiStream.h"
#include "tests/support/RecordingRender.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
// What a viewer does with a loaded model: the load sequence, a frame, a pick.
void Exercise(NiAVObject* pkScene, NiCamera* pkCamera)
{
    pkScene->UpdateSubtree(0.0f);
    pkScene->RefreshPropertyStates();
    pkScene->RefreshEffectStates();

    NiRefPtr<RecordingRender> spRenderer = new RecordingRender(64, 48);
    spRenderer->SetAccumulator(new NiAlphaAccumulator);
    NiRefPtr<NiCamera> spCamera = pkCamera ? pkCamera : new NiCamera;
    spCamera->UpdateSubtree(0.0f);
    spCamera->SetRenderer(spRenderer);
    spCamera->SetScene(pkScene);
    spCamera->Render();

    NiPoint3 kOrigin, kDirection;
    if (spCamera->RayFromWindowPoint(32, 24, kOrigin, kDirection))
    {
        NiPicker kPicker;
        kPicker.SetTarget(pkScene);
        kPicker.SetWantNormal(true);
        kPicker.SetWantTexture(true);
        kPicker.SetWantColor(true);
        kPicker.Pick(kOrigin, kDirection, false);
    }
    spCamera->SetRenderer(nullptr);
    spCamera->SetScene(nullptr);
    RecordingRender::Journal().clear();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Unknown class names are the usual case here; their debugger lines would flood the log.
    win32::SetDebugOutputToStandardError(false);
    // Image records load through the renderer library's factory; a plain image does here.
    NiImage::SetImageFactory([]() { return new NiImage; });
    const char* pcSeeds = std::getenv("FITWRIGHT_FUZZ_SEEDS");
    if (!pcSeeds)
        return 0;
    for (const auto& [kName, kBytes] : MakeNifSeedScenes())
    {
        const std::string kPath = std::string(pcSeeds) + "/" + kName;
        std::FILE* pkFile = std::fopen(kPath.c_str(), "wb");
        if (!pkFile || std::fwrite(kBytes.data(), 1, kBytes.size(), pkFile) != kBytes.size())
        {
            std::fprintf(stderr, "cannot write seed %s\n", kPath.c_str());
            std::exit(1);
        }
        std::fclose(pkFile);
    }
    std::exit(0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pucData, size_t uiSize)
{
    NiStream kStream;
    if (!kStream.LoadBuffer(pucData, uiSize))
        return 0;
    NiCamera* pkCamera = nullptr;
    for (uint32_t i = 0; i < kStream.GetTopObjectCount() && !pkCamera; ++i)
        pkCamera = NiDynamicCast<NiCamera>(kStream.GetTopObjectAt(i));
    for (uint32_t i = 0; i < kStream.GetTopObjectCount(); ++i)
    {
        NiAVObject* pkObject = NiDynamicCast<NiAVObject>(kStream.GetTopObjectAt(i));
        if (pkObject && pkObject != pkCamera)
            Exercise(pkObject, pkCamera);
    }
    std::vector<char> kSaved;
    kStream.SaveBuffer(kSaved);
    return 0;
}
