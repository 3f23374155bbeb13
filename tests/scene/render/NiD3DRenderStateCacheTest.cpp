#include "scene/render/NiD3DRenderStateCache.h"
#include "platform/win32/DebugOutputCapture.h"
#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiFogProperty.h"
#include "scene/graph/NiMaterialProperty.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiStencilProperty.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiZBufferProperty.h"
#include "tests/scene/render/RecordingDevice.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
using States = std::vector<std::pair<uint32_t, uint32_t>>;

States SentStates(const RecordingDevice& kDevice)
{
    States kStates;
    for (const auto& kArgs : kDevice.Args("SetRenderState"))
        kStates.emplace_back(uint32_t(kArgs[0]), uint32_t(kArgs[1]));
    return kStates;
}

uint32_t Bits(float fValue)
{
    uint32_t uiBits;
    std::memcpy(&uiBits, &fValue, sizeof(uiBits));
    return uiBits;
}

struct StateCacheTest : ::testing::Test
{
    NiRefPtr<NiD3DRenderStateCache> Make(bool bStencil = false)
    {
        return NiD3DRenderStateCache::Create(kDevice.Device(), kDevice.Desc(), true, true, bStencil);
    }

    win32::DebugOutputCapture kLog;
    RecordingDevice kDevice;
};
} // namespace

TEST_F(StateCacheTest, CreationSendsTheStartValuesInOrder)
{
    NiRefPtr<NiD3DRenderStateCache> spCache = Make();
    // The default device has per-pixel fog and no w-buffer.
    const States kExpected = {
        {D3DRENDERSTATE_CULLMODE, D3DCULL_CW},
        {D3DRENDERSTATE_MONOENABLE, 0},
        {D3DRENDERSTATE_LASTPIXEL, 0},
        {D3DRENDERSTATE_STIPPLEENABLE, 0},
        {D3DRENDERSTATE_STIPPLEDALPHA, 0},
        {D3DRENDERSTATE_ANTIALIAS, 0},
        {D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID},
        {D3DRENDERSTATE_TEXTUREPERSPECTIVE, TRUE},
        {D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD},
        {D3DRENDERSTATE_COLORKEYENABLE, FALSE},
        {D3DRENDERSTATE_ALPHABLENDENABLE, FALSE},
        {D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA},
        {D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA},
        {D3DRENDERSTATE_ALPHATESTENABLE, FALSE},
        {D3DRENDERSTATE_ALPHAFUNC, D3DCMP_ALWAYS},
        {D3DRENDERSTATE_ALPHAREF, 0},
        {D3DRENDERSTATE_ZFUNC, D3DCMP_ALWAYS},
        {D3DRENDERSTATE_ZWRITEENABLE, FALSE},
        {D3DRENDERSTATE_DITHERENABLE, FALSE},
        {D3DRENDERSTATE_SPECULARENABLE, FALSE},
        {D3DRENDERSTATE_FOGENABLE, FALSE},
        {D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_LINEAR},
        {D3DRENDERSTATE_FOGVERTEXMODE, D3DFOG_LINEAR},
        {D3DRENDERSTATE_RANGEFOGENABLE, FALSE},
        {D3DRENDERSTATE_FOGCOLOR, 0},
        {D3DRENDERSTATE_NORMALIZENORMALS, FALSE},
        {D3DRENDERSTATE_ZENABLE, D3DZB_TRUE},
    };
    EXPECT_EQ(SentStates(kDevice), kExpected);
    EXPECT_EQ(spCache->GetFlags(), NiD3DRenderStateCache::PER_PIXEL_FOG | NiD3DRenderStateCache::HARDWARE |
                                       NiD3DRenderStateCache::HAS_ZBUFFER);
}

TEST_F(StateCacheTest, OnlyChangesReachTheDevice)
{
    NiRefPtr<NiD3DRenderStateCache> spCache = Make();
    NiPropertyTable kTable;
    NiRefPtr<NiAlphaProperty> spAlpha = new NiAlphaProperty;
    spAlpha->SetAlphaBlending(true);
    spAlpha->SetSrcBlendMode(NiAlphaProperty::ALPHA_ONE);
    NiRefPtr<NiZBufferProperty> spZ = new NiZBufferProperty;
    spZ->SetZBufferTest(true);
    spZ->SetZBufferWrite(true);
    kTable.SetProperty(spAlpha);
    kTable.SetProperty(spZ);

    kDevice.ClearCalls();
    spCache->ApplyProperties(&kTable);
    const States kFirst = {
        {D3DRENDERSTATE_ALPHABLENDENABLE, TRUE},
        {D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE},
        {D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL},
        {D3DRENDERSTATE_ZWRITEENABLE, TRUE},
    };
    EXPECT_EQ(SentStates(kDevice), kFirst);
    // The default material goes to the device on the first object only.
    EXPECT_EQ(kDevice.Count("SetMaterial"), 1u);

    // A second object with the same properties costs nothing, nor does a new scene that
    // re-reads them.
    kDevice.ClearCalls();
    spCache->ApplyProperties(&kTable);
    spCache->ResetPropertyCache();
    spCache->ApplyProperties(&kTable);
    EXPECT_TRUE(kDevice.World().Calls().empty());

    // Another alpha property with the same settings is read again but sends nothing.
    NiRefPtr<NiAlphaProperty> spSame = new NiAlphaProperty;
    spSame->SetAlphaBlending(true);
    spSame->SetSrcBlendMode(NiAlphaProperty::ALPHA_ONE);
    spCache->SetAlpha(spSame);
    EXPECT_EQ(kDevice.Count("SetRenderState"), 0u);
}

TEST_F(StateCacheTest, MaterialsAreSentOnChangeOfMaterialOrRevision)
{
    NiRefPtr<NiD3DRenderStateCache> spCache = Make();
    NiRefPtr<NiMaterialProperty> spRed = new NiMaterialProperty;
    spRed->SetDiffuseColor(NiColor(1.0f, 0.0f, 0.0f));
    spRed->SetAlpha(0.5f);
    NiRefPtr<NiMaterialProperty> spBlue = new NiMaterialProperty;
    NiPropertyTable kRed;
    kRed.SetProperty(spRed);
    NiPropertyTable kBlue;
    kBlue.SetProperty(spBlue);

    kDevice.ClearCalls();
    spCache->ApplyProperties(&kRed);
    spCache->ApplyProperties(&kRed);
    EXPECT_EQ(kDevice.Count("SetMaterial"), 1u);
    D3DMATERIAL7 kSent;
    kDevice.Device()->GetMaterial(&kSent);
    EXPECT_EQ(kSent.dcvDiffuse.r, 1.0f);
    for (const D3DCOLORVALUE& kColor :
         {kSent.dcvDiffuse, kSent.dcvAmbient, kSent.dcvSpecular, kSent.dcvEmissive})
        EXPECT_EQ(kColor.a, 0.5f);

    spCache->ApplyProperties(&kBlue);
    spCache->ApplyProperties(&kRed);
    EXPECT_EQ(kDevice.Count("SetMaterial"), 3u);

    // An edit without the changed bit is not seen; with it, it is sent once.
    spRed->SetDiffuseColor(NiColor(0.0f, 1.0f, 0.0f));
    spCache->ApplyProperties(&kRed);
    EXPECT_EQ(kDevice.Count("SetMaterial"), 3u);
    spRed->SetChanged(true);
    spCache->ApplyProperties(&kRed);
    spCache->ApplyProperties(&kRed);
    EXPECT_EQ(kDevice.Count("SetMaterial"), 4u);
    kDevice.Device()->GetMaterial(&kSent);
    EXPECT_EQ(kSent.dcvDiffuse.g, 1.0f);
}

TEST_F(StateCacheTest, FogRangeAndModes)
{
    NiRefPtr<NiD3DRenderStateCache> spCache = Make();
    spCache->SetFogRange(1.0f, 101.0f);
    NiRefPtr<NiFogProperty> spFog = new NiFogProperty;
    spFog->SetFog(true);
    spFog->SetDepth(0.5f);
    spFog->SetFogColor(NiColor(2.0f, -1.0f, 0.5f));

    kDevice.ClearCalls();
    spCache->SetFog(spFog);
    spCache->SetFogColor(spFog);
    EXPECT_EQ(SentStates(kDevice), (States{{D3DRENDERSTATE_FOGENABLE, TRUE},
                                           {D3DRENDERSTATE_FOGSTART, Bits(51.0f)},
                                           {D3DRENDERSTATE_FOGEND, Bits(101.0f)},
                                           // Channels clamp: overbright red stays full, negative green is 0.
                                           {D3DRENDERSTATE_FOGCOLOR, 0xFF007F}}));

    // Range fog and back to table fog on a per-pixel-fog device.
    NiRefPtr<NiFogProperty> spRange = new NiFogProperty;
    spRange->SetFog(true);
    spRange->SetDepth(0.5f);
    spRange->SetFogFunction(NiFogProperty::FOG_RANGE_SQ);
    NiRefPtr<NiFogProperty> spLinear = new NiFogProperty;
    spLinear->SetFog(true);
    spLinear->SetDepth(0.5f);
    kDevice.ClearCalls();
    spCache->SetFog(spRange);
    spCache->SetFog(spLinear);
    EXPECT_EQ(SentStates(kDevice), (States{{D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_NONE},
                                           {D3DRENDERSTATE_FOGVERTEXMODE, D3DFOG_LINEAR},
                                           {D3DRENDERSTATE_RANGEFOGENABLE, TRUE},
                                           {D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_LINEAR},
                                           {D3DRENDERSTATE_FOGVERTEXMODE, D3DFOG_NONE},
                                           {D3DRENDERSTATE_RANGEFOGENABLE, FALSE}}));

    // Vertex-alpha fog and a function without meaning are not drawn.
    NiRefPtr<NiFogProperty> spUnknown = new NiFogProperty;
    spUnknown->SetFog(true);
    spUnknown->SetFlags(uint16_t(spUnknown->GetFlags() | (3 << NiFogProperty::FUNCTION_SHIFT)));
    spCache->SetFog(spUnknown);
    EXPECT_EQ(kDevice.RenderState(D3DRENDERSTATE_FOGENABLE), uint32_t(FALSE));

    spCache->SetFogDepth(0.0f);
    EXPECT_FLOAT_EQ(spCache->GetFogDepth(), 0.00001f);
    spCache->SetFogDepth(-3.0f);
    EXPECT_FLOAT_EQ(spCache->GetFogDepth(), 0.00001f);
}

TEST_F(StateCacheTest, NormalsRenormaliseOutsideTheUnscaledBand)
{
    NiRefPtr<NiD3DRenderStateCache> spCache = Make();
    kDevice.ClearCalls();
    spCache->SetScale(1.005f);
    spCache->SetScale(0.99f);
    EXPECT_EQ(kDevice.Count("SetRenderState"), 0u);
    spCache->SetScale(1.02f);
    spCache->SetScale(2.0f);
    spCache->SetScale(1.0f);
    EXPECT_EQ(SentStates(kDevice),
              (States{{D3DRENDERSTATE_NORMALIZENORMALS, TRUE}, {D3DRENDERSTATE_NORMALIZENORMALS, FALSE}}));
}

TEST(StateCacheTables, EnumerationsMapAndOutOfRangeValuesTakeDefaults)
{
    struct Case
    {
        uint32_t (*pfnMap)(uint32_t);
        uint32_t uiIn;
        uint32_t uiOut;
    };
    const Case akCases[] = {
        {&NiD3DRenderStateCache::SrcBlendValue, NiAlphaProperty::ALPHA_ONE, D3DBLEND_ONE},
        {&NiD3DRenderStateCache::SrcBlendValue, NiAlphaProperty::ALPHA_SRCALPHASAT, D3DBLEND_SRCALPHASAT},
        {&NiD3DRenderStateCache::SrcBlendValue, 15, D3DBLEND_ONE},
        {&NiD3DRenderStateCache::DestBlendValue, NiAlphaProperty::ALPHA_INVDESTCOLOR, D3DBLEND_INVDESTCOLOR},
        {&NiD3DRenderStateCache::DestBlendValue, 11, D3DBLEND_ZERO},
        {&NiD3DRenderStateCache::AlphaTestValue, NiAlphaProperty::TEST_ALWAYS, D3DCMP_ALWAYS},
        {&NiD3DRenderStateCache::AlphaTestValue, NiAlphaProperty::TEST_NEVER, D3DCMP_NEVER},
        {&NiD3DRenderStateCache::StencilTestValue, NiStencilProperty::TEST_NEVER, D3DCMP_NEVER},
        {&NiD3DRenderStateCache::StencilTestValue, 9, D3DCMP_ALWAYS},
        {&NiD3DRenderStateCache::StencilActionValue, NiStencilProperty::ACTION_INCREMENT,
         D3DSTENCILOP_INCRSAT},
        {&NiD3DRenderStateCache::StencilActionValue, 0xFFFFFFFF, D3DSTENCILOP_KEEP},
    };
    for (const Case& kCase : akCases)
        EXPECT_EQ(kCase.pfnMap(kCase.uiIn), kCase.uiOut) << kCase.uiIn;
}

TEST_F(StateCacheTest, StencilIsSentWhileOnAndReportedWithoutAStencilBuffer)
{
    NiRefPtr<NiD3DRenderStateCache> spCache = Make(false);
    NiRefPtr<NiStencilProperty> spStencil = new NiStencilProperty;
    spStencil->SetStencilOn(true);
    spStencil->SetStencilFunction(NiStencilProperty::TEST_EQUAL);
    kDevice.ClearCalls();
    spCache->SetStencil(spStencil);
    spCache->SetStencil(spStencil);
    EXPECT_EQ(kDevice.Count("SetRenderState"), 14u);
    EXPECT_EQ(kDevice.RenderState(D3DRENDERSTATE_STENCILFUNC), uint32_t(D3DCMP_EQUAL));

    NiPropertyTable kTable;
    kTable.SetProperty(spStencil);
    EXPECT_EQ(spCache->ComputeUnsupported(&kTable), uint32_t(NiD3DRenderStateCache::UNSUPPORTED_STENCIL));
    EXPECT_EQ(Make(true)->ComputeUnsupported(&kTable), 0u);

    NiPropertyTable kHilight;
    NiRefPtr<NiTextureModeProperty> spMode = new NiTextureModeProperty;
    spMode->SetApplyMode(NiTextureModeProperty::APPLY_HILIGHT);
    kHilight.SetProperty(spMode);
    NiRefPtr<NiAlphaProperty> spAlpha = new NiAlphaProperty;
    spAlpha->SetAlphaBlending(true);
    spAlpha->SetDestBlendMode(NiAlphaProperty::ALPHA_SRCALPHASAT);
    kHilight.SetProperty(spAlpha);
    EXPECT_EQ(spCache->ComputeUnsupported(&kHilight),
              uint32_t(NiD3DRenderStateCache::UNSUPPORTED_APPLY | NiD3DRenderStateCache::UNSUPPORTED_BLEND));
}
