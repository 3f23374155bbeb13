#include "scene/render/NiD3DLightCache.h"
#include "platform/win32/DebugOutputCapture.h"
#include "scene/graph/NiAmbientLight.h"
#include "scene/graph/NiEffectLists.h"
#include "scene/graph/NiSpotLight.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiVertexColorProperty.h"
#include "tests/scene/render/RecordingDevice.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
using CallArgs = std::vector<std::vector<uint64_t>>;

NiRefPtr<NiEffectLists> ListsOf(std::initializer_list<NiDynamicEffect*> kEffects)
{
    NiRefPtr<NiEffectLists> spLists = new NiEffectLists;
    for (NiDynamicEffect* pkEffect : kEffects)
        spLists->AddEffect(pkEffect);
    return spLists;
}

struct LightCacheTest : ::testing::Test
{
    explicit LightCacheTest(const RecordingDevice::Configure& kConfigure = {})
        : kDevice(kConfigure), kCache(kDevice.Device())
    {
        spMode = new NiTextureModeProperty;
        spVertexColor = new NiVertexColorProperty;
        kDevice.ClearCalls();
    }

    void Draw(NiEffectLists* pkLists, bool bTextured = false)
    {
        kCache.SetObjectLighting(pkLists, bTextured, spMode, spVertexColor);
    }

    std::vector<uint64_t> Enabled() const
    {
        std::vector<uint64_t> kIndices;
        for (const auto& kArgs : kDevice.Args("LightEnable"))
        {
            if (kArgs[1])
                kIndices.push_back(kArgs[0]);
        }
        return kIndices;
    }

    win32::DebugOutputCapture kLog;
    RecordingDevice kDevice;
    NiD3DLightCache kCache;
    NiRefPtr<NiTextureModeProperty> spMode;
    NiRefPtr<NiVertexColorProperty> spVertexColor;
};
} // namespace

TEST_F(LightCacheTest, LightsShineWhenOnAndNotTooDim)
{
    NiRefPtr<NiPointLight> spBright = new NiPointLight;
    spBright->SetDimmer(0.01f);
    NiRefPtr<NiPointLight> spDim = new NiPointLight;
    spDim->SetDimmer(0.0099f);
    NiRefPtr<NiPointLight> spOff = new NiPointLight;
    spOff->SetSwitch(false);
    NiRefPtr<NiEffectLists> spLists = ListsOf({spBright, spDim, spOff});

    Draw(spLists);
    EXPECT_EQ(Enabled(), std::vector<uint64_t>{uint64_t(spBright->GetIndex())});
    EXPECT_EQ(kDevice.RenderState(D3DRENDERSTATE_LIGHTING), uint32_t(TRUE));
    EXPECT_EQ(kCache.GetEntryCount(), 1u);
}

TEST_F(LightCacheTest, AmbientLightsSumAndClamp)
{
    NiRefPtr<NiAmbientLight> spFirst = new NiAmbientLight;
    spFirst->SetAmbientColor(NiColor(0.6f, 0.6f, 0.2f));
    NiRefPtr<NiAmbientLight> spSecond = new NiAmbientLight;
    spSecond->SetAmbientColor(NiColor(0.6f, 0.0f, 0.2f));
    spSecond->SetDimmer(0.5f);

    Draw(ListsOf({spFirst, spSecond}));
    // 0.6 + 0.3 of red, 0.6 of green, 0.2 + 0.1 of blue; nothing enabled for ambient lights.
    EXPECT_EQ(kDevice.RenderState(D3DRENDERSTATE_AMBIENT), 0xFFE5994Cu);
    EXPECT_TRUE(Enabled().empty());

    // Overbright sums stay white instead of wrapping.
    spSecond->SetDimmer(1.0f);
    kCache.DisableAll();
    Draw(ListsOf({spFirst, spSecond}));
    EXPECT_EQ(kDevice.RenderState(D3DRENDERSTATE_AMBIENT) & 0xFFFF0000u, 0xFFFF0000u);
}

TEST_F(LightCacheTest, SpotConesBecomeFullAnglesNoWiderThanAHalfSphere)
{
    const float fPi = 4.0f * std::atan(1.0f);
    const struct
    {
        float fAngle;
        float fCone;
    } akCases[] = {{45.0f, fPi / 2.0f}, {90.0f, fPi}, {120.0f, fPi}};
    for (const auto& kCase : akCases)
    {
        NiRefPtr<NiSpotLight> spSpot = new NiSpotLight;
        spSpot->SetSpotAngle(kCase.fAngle);
        spSpot->SetSpotExponent(3.0f);
        kCache.DisableAll();
        Draw(ListsOf({spSpot}));
        const D3DLIGHT7* pkRecord = kCache.GetRecord(uint32_t(spSpot->GetIndex()));
        ASSERT_NE(pkRecord, nullptr);
        EXPECT_EQ(pkRecord->dltType, D3DLIGHT_SPOT);
        EXPECT_FLOAT_EQ(pkRecord->dvTheta, kCase.fCone) << kCase.fAngle;
        EXPECT_FLOAT_EQ(pkRecord->dvPhi, kCase.fCone) << kCase.fAngle;
        EXPECT_EQ(pkRecord->dvFalloff, 3.0f);
    }
}

TEST_F(LightCacheTest, ALightIsSentAgainOnlyAfterItChanged)
{
    NiRefPtr<NiPointLight> spLight = new NiPointLight;
    spLight->SetDiffuseColor(NiColor(1.0f, 0.0f, 0.0f));
    spLight->SetDimmer(0.5f);
    NiRefPtr<NiEffectLists> spLists = ListsOf({spLight});
    const uint64_t uiIndex = uint64_t(spLight->GetIndex());

    Draw(spLists);
    EXPECT_EQ(kDevice.Args("SetLight"), (CallArgs{{uiIndex, D3DLIGHT_POINT}}));
    D3DLIGHT7 kSent;
    kDevice.Device()->GetLight(uint32_t(uiIndex), &kSent);
    EXPECT_EQ(kSent.dcvDiffuse.r, 0.5f);
    EXPECT_EQ(kSent.dcvDiffuse.a, 0.0f);

    // The same lists again: nothing at all.
    kDevice.ClearCalls();
    Draw(spLists);
    EXPECT_TRUE(kDevice.World().Calls().empty());

    // A new scene switches the light off and on again, without a new record.
    kCache.DisableAll();
    Draw(spLists);
    EXPECT_EQ(kDevice.Args("LightEnable"), (CallArgs{{uiIndex, 0}, {uiIndex, 1}}));
    EXPECT_EQ(kDevice.Count("SetLight"), 0u);

    // A setter and a world update each give a new record at the next scene.
    spLight->SetDiffuseColor(NiColor(0.0f, 1.0f, 0.0f));
    kCache.DisableAll();
    kDevice.ClearCalls();
    Draw(spLists);
    EXPECT_EQ(kDevice.Count("SetLight"), 1u);
    spLight->SetTranslate(NiPoint3(1.0f, 2.0f, 3.0f));
    spLight->UpdateSubtree(0.0f);
    kCache.DisableAll();
    Draw(spLists);
    EXPECT_EQ(kDevice.Count("SetLight"), 2u);
    kDevice.Device()->GetLight(uint32_t(uiIndex), &kSent);
    EXPECT_EQ(kSent.dvPosition.z, 3.0f);
    EXPECT_EQ(kSent.dcvDiffuse.g, 0.5f);
}

TEST_F(LightCacheTest, ReplacedTexturesDrawUnlit)
{
    NiRefPtr<NiPointLight> spLight = new NiPointLight;
    NiRefPtr<NiEffectLists> spLists = ListsOf({spLight});
    Draw(spLists);
    kDevice.ClearCalls();
    spMode->SetApplyMode(NiTextureModeProperty::APPLY_REPLACE);
    spVertexColor->SetSourceMode(NiVertexColorProperty::SOURCE_EMISSIVE);
    Draw(spLists, true);
    EXPECT_EQ(kDevice.Args("SetRenderState"), (CallArgs{{D3DRENDERSTATE_LIGHTING, FALSE}}));
    EXPECT_FALSE(kCache.GetLightingOn());
}

TEST_F(LightCacheTest, VertexColoursChooseTheMaterialSources)
{
    const struct
    {
        uint32_t uiSource;
        uint32_t auiSources[3]; // emissive, ambient, diffuse
    } akCases[] = {
        {NiVertexColorProperty::SOURCE_EMISSIVE, {D3DMCS_COLOR1, D3DMCS_MATERIAL, D3DMCS_MATERIAL}},
        {NiVertexColorProperty::SOURCE_AMB_DIFF, {D3DMCS_MATERIAL, D3DMCS_COLOR1, D3DMCS_COLOR1}},
        {NiVertexColorProperty::SOURCE_IGNORE, {D3DMCS_MATERIAL, D3DMCS_MATERIAL, D3DMCS_MATERIAL}},
        // A source from a file outside the table takes nothing from the vertices.
        {7, {D3DMCS_MATERIAL, D3DMCS_MATERIAL, D3DMCS_MATERIAL}},
    };
    for (const auto& kCase : akCases)
    {
        spVertexColor->SetSourceMode(NiVertexColorProperty::SourceVertexMode(kCase.uiSource));
        Draw(nullptr);
        EXPECT_EQ(kDevice.RenderState(D3DRENDERSTATE_EMISSIVEMATERIALSOURCE), kCase.auiSources[0]);
        EXPECT_EQ(kDevice.RenderState(D3DRENDERSTATE_AMBIENTMATERIALSOURCE), kCase.auiSources[1]);
        EXPECT_EQ(kDevice.RenderState(D3DRENDERSTATE_DIFFUSEMATERIALSOURCE), kCase.auiSources[2]);
    }

    // Emissive-only lighting with the emissive source draws unlit.
    spVertexColor->SetLightingMode(NiVertexColorProperty::LIGHTING_E);
    spVertexColor->SetSourceMode(NiVertexColorProperty::SOURCE_EMISSIVE);
    Draw(nullptr);
    EXPECT_FALSE(kCache.GetLightingOn());
}

TEST_F(LightCacheTest, PurgedLightsLeaveCacheAndDevice)
{
    NiRefPtr<NiPointLight> spLight = new NiPointLight;
    Draw(ListsOf({spLight}));
    kDevice.ClearCalls();
    kCache.PurgeLight(spLight);
    EXPECT_EQ(kCache.GetEntryCount(), 0u);
    EXPECT_EQ(kCache.GetEnabledCount(), 0u);
    EXPECT_EQ(kDevice.Args("LightEnable"), (CallArgs{{uint64_t(spLight->GetIndex()), 0}}));
}

namespace
{
struct TwoLightDeviceTest : LightCacheTest
{
    TwoLightDeviceTest()
        : LightCacheTest([](d3d7::World& kWorld)
                         { kWorld.kDrivers[0].kDevices[0].kDesc.dwMaxActiveLights = 2; })
    {
    }
};
} // namespace

TEST_F(TwoLightDeviceTest, LightsBeyondTheDeviceLimitAreLeftOutInListOrder)
{
    NiRefPtr<NiPointLight> aspLights[3] = {new NiPointLight, new NiPointLight, new NiPointLight};
    Draw(ListsOf({aspLights[0], aspLights[1], aspLights[2]}));
    EXPECT_EQ(Enabled(), (std::vector<uint64_t>{uint64_t(aspLights[0]->GetIndex()),
                                                uint64_t(aspLights[1]->GetIndex())}));
    EXPECT_EQ(kCache.GetRecord(uint32_t(aspLights[2]->GetIndex())), nullptr);
}
