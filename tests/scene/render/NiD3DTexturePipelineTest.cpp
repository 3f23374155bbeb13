#include "scene/render/NiD3DTexturePipeline.h"
#include "platform/win32/DebugOutputCapture.h"
#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiEffectLists.h"
#include "scene/graph/NiMultiTextureMap.h"
#include "scene/graph/NiMultiTextureProperty.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/render/NiD3DRenderStateCache.h"
#include "scene/render/NiD3DTextureCache.h"
#include "tests/scene/render/RecordingDevice.h"
#include "tests/scene/render/TestTextureImage.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
using Pipeline = NiD3DTexturePipeline;
using Stage = NiD3DTextureStage;
using Mode = NiTextureModeProperty;

NiRefPtr<NiTextureEffect> MakeEffect(uint32_t uiMode, uint32_t uiCoords = NiTextureEffect::WORLD_PARALLEL)
{
    NiRefPtr<NiTextureEffect> spEffect = new NiTextureEffect;
    spEffect->SetTextureMode(uiMode);
    spEffect->SetCoordMode(uiCoords);
    spEffect->SetImage(TestTextureImage::Solid(16, 16, 0xFFFFFFFF));
    spEffect->UpdateSubtree(0.0f);
    return spEffect;
}

struct PipelineTest : ::testing::Test
{
    explicit PipelineTest(const RecordingDevice::Configure& kConfigure = {}, bool bFull = false)
        : kDevice(kConfigure)
    {
        spRenderStates = NiD3DRenderStateCache::Create(kDevice.Device(), kDevice.Desc(), true, true, false);
        spTextures = NiD3DTextureCache::GetShared(true, true, kDevice.DirectDraw(), kDevice.Device(),
                                                  kDevice.Desc(), true);
        spPipeline.reset(
            Pipeline::Create(kDevice.Device(), kDevice.Desc(), spRenderStates, spTextures, true));
        if (spPipeline && bFull)
            spPipeline->ValidateMultitexture(true);
        spLists = new NiEffectLists;
        spMode = new Mode;
        kTable.SetProperty(spMode);
        kDevice.ClearCalls();
    }

    void SetBaseTexture(NiImage* pkImage)
    {
        NiRefPtr<NiTextureProperty> spTexture = new NiTextureProperty;
        spTexture->SetImage(pkImage);
        kTable.SetProperty(spTexture);
    }

    NiMultiTextureProperty& Multi()
    {
        if (!spMulti)
        {
            spMulti = new NiMultiTextureProperty;
            kTable.SetProperty(spMulti);
        }
        return *spMulti;
    }

    void SetMap(uint32_t uiSlot, NiImage* pkImage)
    {
        auto spMap = std::make_unique<NiMultiTextureMap>();
        spMap->SetImage(pkImage);
        spMap->SetClampMode(Mode::WRAP_S_WRAP_T);
        spMap->SetFilterMode(Mode::FILTER_NEAREST);
        Multi().SetMap(uiSlot, std::move(spMap));
    }

    // Plans and sets up every pass as the renderer does before its draw calls.
    uint32_t Draw(uint32_t uiTextureSets = 1)
    {
        spPipeline->BuildPasses(&kTable, spLists, true, uiTextureSets);
        uint32_t uiPasses = 1;
        while (spPipeline->SetupNextPass())
            ++uiPasses;
        return uiPasses;
    }

    std::vector<uint32_t> PassSizes() const
    {
        std::vector<uint32_t> kSizes;
        for (uint32_t i = 0; i < spPipeline->GetPassCount(); ++i)
            kSizes.push_back(spPipeline->GetPassSize(i));
        return kSizes;
    }

    IDirectDrawSurface7* Bound(uint32_t uiStage) const
    {
        IDirectDrawSurface7* pkTexture = nullptr;
        kDevice.Device()->GetTexture(uiStage, &pkTexture);
        if (pkTexture)
            pkTexture->Release();
        return pkTexture;
    }

    win32::DebugOutputCapture kLog;
    TestTextureServices kServices;
    RecordingDevice kDevice;
    NiRefPtr<NiD3DRenderStateCache> spRenderStates;
    NiRefPtr<NiD3DTextureCache> spTextures;
    std::unique_ptr<Pipeline> spPipeline;
    NiPropertyTable kTable;
    NiRefPtr<NiEffectLists> spLists;
    NiRefPtr<Mode> spMode;
    NiRefPtr<NiMultiTextureProperty> spMulti;
};

struct ValidatedPipelineTest : PipelineTest
{
    ValidatedPipelineTest() : PipelineTest({}, true) {}
};
} // namespace

TEST_F(PipelineTest, ABaseTextureDrawsInOnePassWithTheApplyMode)
{
    NiRefPtr<TestTextureImage> spImage = TestTextureImage::Solid(16, 16, 0xFF0000FF);
    SetBaseTexture(spImage);
    spMode->SetApplyMode(Mode::APPLY_MODULATE);
    EXPECT_EQ(Draw(), 1u);
    EXPECT_EQ(kDevice.StageState(0, D3DTSS_COLOROP), uint32_t(D3DTOP_MODULATE));
    EXPECT_EQ(kDevice.StageState(0, D3DTSS_ALPHAOP), uint32_t(D3DTOP_MODULATE));
    EXPECT_NE(Bound(0), nullptr);

    // The same object again changes nothing on the device.
    kDevice.ClearCalls();
    EXPECT_EQ(Draw(), 1u);
    EXPECT_EQ(kDevice.Count("SetTextureStageState"), 0u);
    EXPECT_EQ(kDevice.Count("SetTexture"), 0u);
}

TEST_F(PipelineTest, UntexturedObjectsDrawTheDiffuseColour)
{
    EXPECT_EQ(Draw(), 1u);
    EXPECT_EQ(kDevice.StageState(0, D3DTSS_COLOROP), uint32_t(D3DTOP_SELECTARG2));
    EXPECT_EQ(kDevice.StageState(0, D3DTSS_ALPHAOP), uint32_t(D3DTOP_SELECTARG2));
    EXPECT_EQ(Bound(0), nullptr);

    // After a textured object the texture is unbound once, and then nothing is sent.
    NiRefPtr<TestTextureImage> spImage = TestTextureImage::Solid(16, 16, 0xFF0000FF);
    NiPropertyTable kUntextured = kTable;
    SetBaseTexture(spImage);
    Draw();
    kTable = kUntextured;
    kDevice.ClearCalls();
    Draw();
    EXPECT_EQ(kDevice.Args("SetTexture"), (std::vector<std::vector<uint64_t>>{{0, 0}}));
    kDevice.ClearCalls();
    Draw();
    EXPECT_TRUE(kDevice.World().Calls().empty());
}

TEST_F(ValidatedPipelineTest, ADarkMapAndAProjectedLightShareAPassBeforeTheBase)
{
    NiRefPtr<TestTextureImage> spBase = TestTextureImage::Solid(16, 16, 0xFF0000FF);
    SetBaseTexture(spBase);
    SetMap(NiMultiTextureProperty::DARK_MAP, TestTextureImage::Solid(16, 16, 0x808080FF));
    NiRefPtr<NiTextureEffect> spLight = MakeEffect(NiTextureEffect::PROJECTED_LIGHT);
    spLists->AddEffect(spLight);

    spPipeline->BuildPasses(&kTable, spLists, true, 1);
    EXPECT_EQ(PassSizes(), (std::vector<uint32_t>{2, 1}));
    EXPECT_EQ(spPipeline->GetPlannedStage(0)->m_uiBlendKind, uint32_t(Stage::STAGE_ADD));
    EXPECT_EQ(spPipeline->GetPlannedStage(1)->m_pkOwner, spLight.Get());
    EXPECT_EQ(spPipeline->GetPlannedStage(2)->m_spImage, spBase.Get());

    EXPECT_TRUE(spPipeline->SetupNextPass());
    EXPECT_EQ(kDevice.StageState(1, D3DTSS_COLOROP), uint32_t(D3DTOP_ADD));
    EXPECT_EQ(kDevice.StageState(1, D3DTSS_TEXCOORDINDEX), uint32_t(D3DTSS_TCI_CAMERASPACEPOSITION));
    EXPECT_EQ(kDevice.RenderState(D3DRENDERSTATE_ALPHABLENDENABLE), uint32_t(FALSE));
    EXPECT_FALSE(spPipeline->SetupNextPass());
    EXPECT_EQ(kDevice.StageState(1, D3DTSS_COLOROP), uint32_t(D3DTOP_DISABLE));
    EXPECT_EQ(kDevice.RenderState(D3DRENDERSTATE_ALPHABLENDENABLE), uint32_t(TRUE));
    EXPECT_EQ(kDevice.RenderState(D3DRENDERSTATE_SRCBLEND), uint32_t(D3DBLEND_ZERO));
    EXPECT_EQ(kDevice.RenderState(D3DRENDERSTATE_DESTBLEND), uint32_t(D3DBLEND_SRCCOLOR));
}

TEST_F(PipelineTest, WithoutASinglePassEntryADetailMapIsASecondPassWithoutBlending)
{
    SetBaseTexture(TestTextureImage::Solid(16, 16, 0xFF0000FF));
    SetMap(NiMultiTextureProperty::DETAIL_MAP, TestTextureImage::Solid(16, 16, 0x808080FF));
    EXPECT_EQ(Draw(), 2u);
    EXPECT_EQ(PassSizes(), (std::vector<uint32_t>{1, 1}));
    EXPECT_EQ(spPipeline->GetPlannedStage(1)->m_uiBlendKind, uint32_t(Stage::STAGE_MODULATE2X));
    EXPECT_EQ(kDevice.RenderState(D3DRENDERSTATE_ALPHABLENDENABLE), uint32_t(FALSE));
}

TEST_F(PipelineTest, FiltersFallBackToWhatTheTextureHas)
{
    const struct
    {
        uint32_t uiFilter;
        bool bMipmapped;
        uint32_t auiStates[3]; // min, mag, mip
    } akCases[] = {
        {Mode::FILTER_TRILERP, false, {D3DTFN_LINEAR, D3DTFG_LINEAR, D3DTFP_NONE}},
        {Mode::FILTER_NEAREST_MIPLERP, false, {D3DTFN_POINT, D3DTFG_POINT, D3DTFP_NONE}},
        {Mode::FILTER_TRILERP, true, {D3DTFN_LINEAR, D3DTFG_LINEAR, D3DTFP_LINEAR}},
        {Mode::FILTER_BILERP_MIPNEAREST, true, {D3DTFN_LINEAR, D3DTFG_LINEAR, D3DTFP_POINT}},
    };
    for (const auto& kCase : akCases)
    {
        NiRefPtr<TestTextureImage> spImage =
            TestTextureImage::Solid(16, 16, 0xFF0000FF, false, kCase.bMipmapped);
        SetBaseTexture(spImage);
        spMode->SetFilterMode(Mode::FilterMode(kCase.uiFilter));
        Draw();
        EXPECT_EQ(kDevice.StageState(0, D3DTSS_MINFILTER), kCase.auiStates[0]) << kCase.uiFilter;
        EXPECT_EQ(kDevice.StageState(0, D3DTSS_MAGFILTER), kCase.auiStates[1]) << kCase.uiFilter;
        EXPECT_EQ(kDevice.StageState(0, D3DTSS_MIPFILTER), kCase.auiStates[2]) << kCase.uiFilter;
    }
}

TEST_F(PipelineTest, ModesFromFilesOutsideTheTablesTakeDefaults)
{
    SetBaseTexture(TestTextureImage::Solid(16, 16, 0xFF0000FF));
    spMode->SetFlags(7 | 7 << 3);
    Draw();
    EXPECT_EQ(kDevice.StageState(0, D3DTSS_COLOROP), uint32_t(D3DTOP_MODULATE));
    EXPECT_EQ(kDevice.StageState(0, D3DTSS_MAGFILTER), uint32_t(D3DTFG_POINT));
    EXPECT_EQ(Pipeline::ClampAddressMode(9), uint32_t(Mode::WRAP_S_WRAP_T));
}

namespace
{
struct SharedAddressPipelineTest : PipelineTest
{
    SharedAddressPipelineTest()
        : PipelineTest(
              [](d3d7::World& kWorld) {
                  kWorld.kDrivers[0].kDevices[0].kDesc.dpcTriCaps.dwTextureAddressCaps &=
                      ~D3DPTADDRESSCAPS_INDEPENDENTUV;
              })
    {
    }
};
} // namespace

TEST_F(SharedAddressPipelineTest, OneAddressStateFollowsU)
{
    SetBaseTexture(TestTextureImage::Solid(16, 16, 0xFF0000FF));
    spMode->SetClampMode(Mode::CLAMP_S_WRAP_T);
    Draw();
    EXPECT_EQ(kDevice.StageState(0, D3DTSS_ADDRESS), uint32_t(D3DTADDRESS_CLAMP));
    for (const auto& kArgs : kDevice.Args("SetTextureStageState"))
    {
        EXPECT_NE(kArgs[1], uint64_t(D3DTSS_ADDRESSU));
        EXPECT_NE(kArgs[1], uint64_t(D3DTSS_ADDRESSV));
    }
    kTable.SetProperty(spMode);
    EXPECT_EQ(spPipeline->ComputeUnsupported(&kTable, spLists), uint32_t(Pipeline::UNSUPPORTED_SEPARATE_UV));
}

TEST_F(ValidatedPipelineTest, EffectsBeyondEightAreLeftOutAndReported)
{
    std::vector<NiRefPtr<NiTextureEffect>> kShadows;
    for (int i = 0; i < 9; ++i)
    {
        kShadows.push_back(MakeEffect(NiTextureEffect::PROJECTED_SHADOW));
        spLists->AddEffect(kShadows.back());
    }
    spPipeline->BuildPasses(&kTable, spLists, true, 1);
    EXPECT_EQ(spPipeline->GetEffectStageCount(), 8u);
    EXPECT_LE(spPipeline->GetStageCount(), Pipeline::MAX_STAGES);
    EXPECT_NE(spPipeline->ComputeUnsupported(&kTable, spLists) & Pipeline::UNSUPPORTED_PROJECTED_SHADOW, 0u);
}

TEST_F(ValidatedPipelineTest, EffectsSwitchedOffAreNeitherDrawnNorReported)
{
    NiRefPtr<NiTextureEffect> spEnvironment =
        MakeEffect(NiTextureEffect::ENVIRONMENT_MAP, NiTextureEffect::SPHERE_MAP);
    spEnvironment->SetSwitch(false);
    spLists->AddEffect(spEnvironment);
    spPipeline->BuildPasses(&kTable, spLists, true, 1);
    EXPECT_EQ(spPipeline->GetEffectStageCount(), 0u);
    EXPECT_EQ(spPipeline->ComputeUnsupported(&kTable, spLists) & Pipeline::UNSUPPORTED_ENVIRONMENT_MAP, 0u);

    // Switched on, it is a stage of reflection coordinates.
    spEnvironment->SetSwitch(true);
    spPipeline->ClearEffects();
    spPipeline->BuildPasses(&kTable, spLists, true, 1);
    ASSERT_EQ(spPipeline->GetEffectStageCount(), 1u);
    EXPECT_EQ(spPipeline->GetPlannedStage(spPipeline->GetStageCount() - 1)->m_uiTexCoordIndex,
              uint32_t(D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR));
}

TEST_F(ValidatedPipelineTest, TheSameEffectListsAreCollectedOnce)
{
    NiRefPtr<NiTextureEffect> spLight = MakeEffect(NiTextureEffect::PROJECTED_LIGHT);
    spLists->AddEffect(spLight);
    auto* pkImage = static_cast<TestTextureImage*>(spLight->GetImage());
    Draw();
    const uint32_t uiRequests = pkImage->GetSourceRequests();
    Draw();
    EXPECT_EQ(pkImage->GetSourceRequests(), uiRequests);
    spPipeline->ClearEffects();
    Draw();
    EXPECT_GT(pkImage->GetSourceRequests(), uiRequests);
}

namespace
{
struct UnprojectedPipelineTest : PipelineTest
{
    UnprojectedPipelineTest()
        : PipelineTest(
              [](d3d7::World& kWorld) {
                  kWorld.kDrivers[0].kDevices[0].kDesc.dpcTriCaps.dwTextureCaps &= ~D3DPTEXTURECAPS_PROJECTED;
              },
              true)
    {
    }
};
} // namespace

TEST_F(UnprojectedPipelineTest, PerspectiveEffectsDrawWithTwoCoordinatesAndAreReported)
{
    spLists->AddEffect(MakeEffect(NiTextureEffect::PROJECTED_LIGHT, NiTextureEffect::WORLD_PERSPECTIVE));
    Draw();
    EXPECT_EQ(kDevice.StageState(0, D3DTSS_TEXTURETRANSFORMFLAGS), uint32_t(D3DTTFF_COUNT2));
    EXPECT_NE(spPipeline->ComputeUnsupported(&kTable, spLists) & Pipeline::UNSUPPORTED_PERSPECTIVE, 0u);
}

TEST_F(ValidatedPipelineTest, PlaneMasksShowTheLightOnTheFrontOfItsPlane)
{
    // A camera at (1, 2, 3) looking along -z, up y, right x.
    const NiPoint3 kLocation(1.0f, 2.0f, 3.0f);
    spPipeline->SetCameraFrame(NiPoint3(0, 0, -1), NiPoint3(0, 1, 0), NiPoint3(1, 0, 0), kLocation);
    NiRefPtr<NiTextureEffect> spLight = MakeEffect(NiTextureEffect::PROJECTED_LIGHT);
    spLight->SetModelClippingPlane(NiPlane(NiPoint3(1, 0, 0), 0.25f));
    spLight->SetClippingPlaneEnable(true);
    spLight->UpdateSubtree(0.0f);
    spLists->AddEffect(spLight);

    spPipeline->BuildPasses(&kTable, spLists, true, 1);
    ASSERT_GE(spPipeline->GetStageCount(), 2u);
    EXPECT_EQ(spPipeline->GetPlannedStage(0)->m_pkOwner, spLight.Get());
    const Stage& kMask = *spPipeline->GetPlannedStage(1);
    EXPECT_EQ(kMask.m_uiTexCoordIndex, uint32_t(D3DTSS_TCI_CAMERASPACEPOSITION));
    // u = n.p - d + 0.5 for world points p given in the device's camera space.
    for (const NiPoint3& kWorld : {NiPoint3(0.25f, 0, 0), NiPoint3(1.0f, 5, -2), NiPoint3(-3.0f, 1, 1)})
    {
        const NiPoint3 kCamera(kWorld.x - kLocation.x, kWorld.y - kLocation.y, -(kWorld.z - kLocation.z));
        const D3DMATRIX& kT = kMask.m_kTransform;
        const float fU = kCamera.x * kT._11 + kCamera.y * kT._21 + kCamera.z * kT._31 + kT._41;
        EXPECT_NEAR(fU, kWorld.x - 0.25f + 0.5f, 1e-5f);
    }
    EXPECT_EQ(spPipeline->ComputeUnsupported(&kTable, spLists) & Pipeline::UNSUPPORTED_PLANE_MASK, 0u);
}

TEST(PipelineValidation, OneStageDevicesDrawEveryPairInPassesOfTheirOwn)
{
    win32::DebugOutputCapture kLog;
    RecordingDevice kDevice([](d3d7::World& kWorld)
                            { kWorld.kDrivers[0].kDevices[0].kDesc.wMaxTextureBlendStages = 1; });
    NiRefPtr<NiD3DRenderStateCache> spStates =
        NiD3DRenderStateCache::Create(kDevice.Device(), kDevice.Desc(), true, true, false);
    NiRefPtr<NiD3DTextureCache> spTextures = NiD3DTextureCache::GetShared(
        true, true, kDevice.DirectDraw(), kDevice.Device(), kDevice.Desc(), true);
    std::unique_ptr<Pipeline> spPipeline(
        Pipeline::Create(kDevice.Device(), kDevice.Desc(), spStates, spTextures, true));
    ASSERT_TRUE(spPipeline);
    EXPECT_TRUE(spPipeline->ValidateMultitexture(true));
    EXPECT_EQ(kDevice.Count("DrawPrimitive"), 0u);
    for (uint32_t uiKind = 0; uiKind < Stage::BLEND_KIND_COUNT; ++uiKind)
    {
        EXPECT_EQ(spPipeline->GetValidity(uiKind, 1, 1), uiKind < Stage::STAGE_MODULATE2X ? 2u : 0u)
            << uiKind;
    }
}

TEST(PipelineValidation, FullValidationFindsSinglePassPairsAndProbesTheOptions)
{
    struct Case
    {
        const char* pcName;
        WORD wStages;
        // Fails a set-up when it returns true.
        std::function<bool(IDirect3DDevice7*)> kFails;
        uint32_t uiFlagsSet;
        uint32_t uiFlagsClear;
        const char* pcLog;
    };
    auto Stage = [](IDirect3DDevice7* pkDevice, DWORD dwStage, D3DTEXTURESTAGESTATETYPE eType)
    {
        DWORD dwValue = 0;
        pkDevice->GetTextureStageState(dwStage, eType, &dwValue);
        return dwValue;
    };
    const Case akCases[] = {
        {"all pass", 2, [](IDirect3DDevice7*) { return false; },
         Pipeline::TRILINEAR_MULTI | Pipeline::SEPARATE_FILTERS | Pipeline::SEPARATE_ADDRESSING,
         Pipeline::VERTEX_LAST,
         "(Creation): Device supports vertex-firstsingle pass multitexturing: 180 modes"},
        {"vertex-last wins", 3,
         [&](IDirect3DDevice7* pkDevice) { return Stage(pkDevice, 2, D3DTSS_COLOROP) == D3DTOP_DISABLE; },
         Pipeline::VERTEX_LAST, 0,
         "(Creation): Device supports more single-pass vertex-last than vertex-first modes"},
        {"no clamp on stage 1", 2,
         [&](IDirect3DDevice7* pkDevice) { return Stage(pkDevice, 1, D3DTSS_ADDRESSU) == D3DTADDRESS_CLAMP; },
         Pipeline::TRILINEAR_MULTI, Pipeline::SEPARATE_ADDRESSING,
         "(Creation): Device cannot do independent texture addressing inmultitexture mode"},
        {"no trilinear", 2,
         [&](IDirect3DDevice7* pkDevice) { return Stage(pkDevice, 0, D3DTSS_MIPFILTER) == D3DTFP_LINEAR; },
         Pipeline::SEPARATE_ADDRESSING, Pipeline::TRILINEAR_MULTI,
         "(Creation): Device cannot do trilerp in multitexture mode"},
    };
    for (const Case& kCase : akCases)
    {
        SCOPED_TRACE(kCase.pcName);
        win32::DebugOutputCapture kLog;
        RecordingDevice kDevice(
            [&](d3d7::World& kWorld)
            {
                kWorld.kDrivers[0].kDevices[0].kDesc.wMaxTextureBlendStages = kCase.wStages;
                kWorld.kDrivers[0].kDevices[0].kDesc.wMaxSimultaneousTextures = 2;
                kWorld.kValidateDevice = [&](IDirect3DDevice7* pkDevice, DWORD* pdwPasses) -> HRESULT
                {
                    *pdwPasses = 1;
                    return kCase.kFails(pkDevice) ? E_FAIL : D3D_OK;
                };
            });
        NiRefPtr<NiD3DRenderStateCache> spStates =
            NiD3DRenderStateCache::Create(kDevice.Device(), kDevice.Desc(), true, true, false);
        NiRefPtr<NiD3DTextureCache> spTextures = NiD3DTextureCache::GetShared(
            true, true, kDevice.DirectDraw(), kDevice.Device(), kDevice.Desc(), true);
        std::unique_ptr<Pipeline> spPipeline(
            Pipeline::Create(kDevice.Device(), kDevice.Desc(), spStates, spTextures, true));
        ASSERT_TRUE(spPipeline);
        EXPECT_TRUE(spPipeline->ValidateMultitexture(true));
        EXPECT_EQ(spPipeline->GetFlags() & kCase.uiFlagsSet, kCase.uiFlagsSet);
        EXPECT_EQ(spPipeline->GetFlags() & kCase.uiFlagsClear, 0u);
        EXPECT_NE(kLog.GetText().find(kCase.pcLog), std::string::npos) << kLog.GetText();
        EXPECT_EQ(spPipeline->GetValidity(Stage::STAGE_ADD, 1, 1) & Pipeline::SINGLE_PASS,
                  Pipeline::SINGLE_PASS);
        // The stages are left as the reset put them.
        EXPECT_EQ(Stage(kDevice.Device(), 1, D3DTSS_COLOROP), uint32_t(D3DTOP_DISABLE));
    }
}

TEST(PipelineValidation, DevicesThatCannotSelectTheDiffuseColourAreRefused)
{
    win32::DebugOutputCapture kLog;
    RecordingDevice kDevice(
        [](d3d7::World& kWorld)
        {
            kWorld.kDrivers[0].kDevices[0].kDesc.dwTextureOpCaps &= ~D3DTEXOPCAPS_SELECTARG2;
            kWorld.kValidateDevice = [](IDirect3DDevice7*, DWORD*) -> HRESULT { return E_FAIL; };
        });
    NiRefPtr<NiD3DRenderStateCache> spStates =
        NiD3DRenderStateCache::Create(kDevice.Device(), kDevice.Desc(), true, true, false);
    NiRefPtr<NiD3DTextureCache> spTextures = NiD3DTextureCache::GetShared(
        true, true, kDevice.DirectDraw(), kDevice.Device(), kDevice.Desc(), true);
    EXPECT_EQ(Pipeline::Create(kDevice.Device(), kDevice.Desc(), spStates, spTextures, true), nullptr);
    EXPECT_NE(kLog.GetText().find(
                  "NI D3D Renderer WARNING: (Creation): Device cannot support required SELECTARG2 mode"),
              std::string::npos);
    EXPECT_NE(kLog.GetText().find(
                  "NI D3D Renderer ERROR: Creation failed: 3D Device cannot support required capabilities"),
              std::string::npos);
}
