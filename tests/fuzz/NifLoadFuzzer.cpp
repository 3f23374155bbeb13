// libFuzzer target: NiStream::LoadBuffer over arbitrary bytes, with every scene-graph class
// registered and the Direct3D renderer listed on the images (recording back end: no GL), so a
// loaded texture is prepared as the editor's view prepares it. Whatever loads is then played:
// updated at a few advancing times, each frame culled and drawn through the file's camera and
// through one framing the model, so controllers, particles, morphs, skins and Bezier patches run
// on the hostile data; then a ray is picked and the objects saved again.
//
// With FITWRIGHT_FUZZ_SEEDS=<folder> set, the program writes its seed scenes into the folder,
// checks that they hold a record of every registered class, and ends instead; with
// FITWRIGHT_FUZZ_DICT=<file> it writes its dictionary first (tools/run-fuzzers does both before
// fuzzing).

#include "FuzzDictionary.h"
#include "NifSeedScenes.h"

#include "platform/d3d7/ScopedWorld.h"
#include "platform/d3d7/World.h"
#include "platform/win32/DebugOutput.h"
#include "platform/win32/Window.h"
#include "scene/graph/NiAVObject.h"
#include "scene/graph/NiAccumulator.h"
#include "scene/graph/NiAlphaAccumulator.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiPicker.h"
#include "scene/object/NiStream.h"
#include "scene/render/NiD3DRender.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace
{
// Times the scene is updated and drawn at: the load's own first update, then steps that let
// keys, particle births and deaths and bombs take effect.
constexpr float FRAME_TIMES[] = {0.0f, 0.35f, 1.6f};

// The machine the renderer runs on, made once: a fresh renderer per input would cost more than
// most inputs. Textures and geometry buffers are purged after each input, so no input leaves
// anything behind for the next.
struct Device
{
    Device() : m_spWorld(std::make_shared<d3d7::World>(d3d7::Backend::Recording)), m_kScope(m_spWorld)
    {
        // The log of device calls would grow without end over millions of inputs.
        m_spWorld->bRecordCalls = false;
        m_kWindow.SetClientSize(64, 48);
        m_spRenderer =
            NiD3DRender::Create(0, 0, 0, NiD3DRender::CREATE_ZBUFFER, &m_kWindow, nullptr, nullptr);
        if (!m_spRenderer)
        {
            std::fprintf(stderr, "cannot create the recording renderer\n");
            std::exit(1);
        }
        NiImage::AddRenderer(m_spRenderer);
    }

    std::shared_ptr<d3d7::World> m_spWorld;
    d3d7::ScopedWorld m_kScope;
    win32::Window m_kWindow;
    NiRefPtr<NiD3DRender> m_spRenderer;
};

Device* g_pkDevice = nullptr;

// Where the editor's view puts its camera for a new model: a frustum that holds the whole
// bound, from two radii in front of it.
void FrameScene(NiCamera* pkCamera, NiAVObject* pkScene)
{
    const NiBoundingSphere& kBound = pkScene->GetWorldBound();
    const float fSlope = std::tan(NiPi / 8.0f);
    const float fFar = 20.0f * kBound.m_fRadius;
    const float fNear = std::fmax(fFar / NiCamera::MAX_FAR_NEAR_RATIO, NiCamera::MIN_NEAR_DISTANCE);
    pkCamera->SetFrustum(NiFrustum(-fSlope, fSlope, fSlope * 0.75f, -fSlope * 0.75f, fNear, fFar));
    NiRotationMatrix kRotate;
    kRotate.SetColumns(NiPoint3(0.0f, 1.0f, 0.0f), NiPoint3(0.0f, 0.0f, 1.0f), NiPoint3(1.0f, 0.0f, 0.0f));
    pkCamera->SetRotate(kRotate);
    pkCamera->SetTranslate(kBound.m_kCenter - NiPoint3(0.0f, 2.0f * kBound.m_fRadius, 0.0f));
    pkCamera->UpdateSubtree(0.0f);
}

void Draw(NiCamera* pkCamera, NiAVObject* pkScene, NiRender* pkRenderer, bool bClear)
{
    pkCamera->SetRenderer(pkRenderer);
    pkCamera->SetScene(pkScene);
    // Clearing fills the target pixel by pixel; only the file's viewport makes it worth doing.
    if (bClear)
        pkCamera->Clear(NiRender::CLEAR_BACKBUFFER | NiRender::CLEAR_ZBUFFER);
    pkCamera->Render();
    pkCamera->SetRenderer(nullptr);
    pkCamera->SetScene(nullptr);
}

// What a viewer does with a loaded model: the load sequence, frames as time goes on, a pick.
void Exercise(NiAVObject* pkScene, NiCamera* pkFileCamera, NiRender* pkRenderer)
{
    pkScene->UpdateSubtree(0.0f);
    pkScene->RefreshPropertyStates();
    pkScene->RefreshEffectStates();
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    FrameScene(spCamera, pkScene);
    for (const float fTime : FRAME_TIMES)
    {
        pkScene->UpdateSubtree(fTime);
        if (pkFileCamera)
        {
            pkFileCamera->UpdateSubtree(fTime);
            Draw(pkFileCamera, pkScene, pkRenderer, true);
        }
        Draw(spCamera, pkScene, pkRenderer, false);
    }

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
}

// The boundary words, every class name and marker as a record names it, and the header's first
// line at every version the stream reads.
void WriteNifDictionary(const char* pcPath)
{
    std::vector<std::string> kEntries = BoundaryWords();
    std::vector<std::string> kNames = NiObject::GetClassLoaderNames();
    kNames.insert(kNames.end(), {"Top Level Object", "End Of File"});
    for (const std::string& kName : kNames)
        kEntries.push_back(LengthPrefixed(kName));
    const std::string kFirstLine = std::string(NiStream::HEADER_LINES[0]).substr(0, NiStream::VERSION_OFFSET);
    for (const char* pcVersion : {"3.0", "3.00", "3.01", "3.02", "3.03", "3.04", "3.05", "3.1", "3.10"})
        kEntries.push_back(kFirstLine + pcVersion + "\n");
    if (!WriteDictionary(pcPath, kEntries))
    {
        std::fprintf(stderr, "cannot write the dictionary %s\n", pcPath);
        std::exit(1);
    }
}

void WriteSeeds(const char* pcFolder)
{
    // The device images the renderer would make need a device; plain images save alike.
    NiImage::SetImageFactory([]() { return new NiImage; });
    const auto kSeeds = MakeNifSeedScenes(pcFolder);
    for (const auto& [kName, kBytes] : kSeeds)
    {
        const std::string kPath = std::string(pcFolder) + "/" + kName;
        std::FILE* pkFile = std::fopen(kPath.c_str(), "wb");
        if (!pkFile || std::fwrite(kBytes.data(), 1, kBytes.size(), pkFile) != kBytes.size())
        {
            std::fprintf(stderr, "cannot write seed %s\n", kPath.c_str());
            std::exit(1);
        }
        std::fclose(pkFile);
    }
    // A class no seed holds is one whose loader the fuzzer reaches only by chance.
    const std::vector<std::string> kMissing = FindClassesWithoutSeed(kSeeds);
    for (const std::string& kName : kMissing)
        std::fprintf(stderr, "no seed holds a record of %s\n", kName.c_str());
    std::exit(kMissing.empty() ? 0 : 1);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Unknown class names are the usual case here; their debugger lines would flood the log.
    win32::SetDebugOutputToStandardError(false);
    if (const char* pcDictionary = std::getenv("FITWRIGHT_FUZZ_DICT"))
        WriteNifDictionary(pcDictionary);
    if (const char* pcSeeds = std::getenv("FITWRIGHT_FUZZ_SEEDS"))
        WriteSeeds(pcSeeds);
    g_pkDevice = new Device;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pucData, size_t uiSize)
{
    NiRender* pkRenderer = g_pkDevice->m_spRenderer;
    {
        NiStream kStream;
        if (!kStream.LoadBuffer(pucData, uiSize))
            return 0;
        // The file's own camera and accumulator draw too, when it has them.
        NiCamera* pkCamera = nullptr;
        NiRefPtr<NiAccumulator> spSorter = new NiAlphaAccumulator;
        for (uint32_t i = 0; i < kStream.GetTopObjectCount(); ++i)
        {
            NiObject* pkTop = kStream.GetTopObjectAt(i);
            if (!pkCamera)
                pkCamera = NiDynamicCast<NiCamera>(pkTop);
            if (NiAccumulator* pkAccumulator = NiDynamicCast<NiAccumulator>(pkTop))
                spSorter = pkAccumulator;
        }
        pkRenderer->SetAccumulator(spSorter);
        for (uint32_t i = 0; i < kStream.GetTopObjectCount(); ++i)
        {
            NiAVObject* pkObject = NiDynamicCast<NiAVObject>(kStream.GetTopObjectAt(i));
            if (pkObject && pkObject != pkCamera)
                Exercise(pkObject, pkCamera, pkRenderer);
        }
        pkRenderer->SetAccumulator(nullptr);
        std::vector<char> kSaved;
        kStream.SaveBuffer(kSaved);
    }
    pkRenderer->PurgeAllTextures(true);
    return 0;
}
