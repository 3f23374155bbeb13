#include "platform/d3d7/IDirect3DVertexBuffer7.h"
#include "platform/win32/DebugOutputCapture.h"
#include "scene/graph/NiDirectionalLight.h"
#include "scene/graph/NiEffectLists.h"
#include "scene/graph/NiMaterialProperty.h"
#include "scene/graph/NiMultiTextureMap.h"
#include "scene/graph/NiMultiTextureProperty.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/graph/NiVertexColorProperty.h"
#include "scene/render/NiD3DLightCache.h"
#include "scene/render/NiD3DRenderStateCache.h"
#include "scene/render/NiD3DTextureCache.h"
#include "scene/render/NiD3DTexturePipeline.h"
#include "tests/scene/render/RecordingDevice.h"
#include "tests/scene/render/TestTextureImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

// The renderer's state caches drawing on the OpenGL back end: a full-screen quad per case,
// checked by the colour of the frame's centre.

namespace
{
using Mode = NiTextureModeProperty;

constexpr uint32_t SIZE = 16;

// Position, normal, diffuse colour, one coordinate pair.
struct Vertex
{
    float m_afPosition[3];
    float m_afNormal[3];
    uint32_t m_uiDiffuse;
    float m_afUV[2];
};
constexpr DWORD VERTEX_FORMAT = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// Out of line: inlined with a light, the lists' texture-effect branch draws a false bounds warning.
[[gnu::noinline]] void AddEffect(NiEffectLists* pkLists, NiDynamicEffect* pkEffect)
{
    pkLists->AddEffect(pkEffect);
}

struct Pixel
{
    int r, g, b;
};

struct PixelTest : ::testing::Test
{
    PixelTest() : kDevice({}, d3d7::Backend::OpenGL, SIZE)
    {
        if (!kDevice.Device())
            return;
        spStates = NiD3DRenderStateCache::Create(kDevice.Device(), kDevice.Desc(), true, false, false);
        spTextures = NiD3DTextureCache::GetShared(true, true, kDevice.DirectDraw(), kDevice.Device(),
                                                  kDevice.Desc(), true);
        spPipeline.reset(
            NiD3DTexturePipeline::Create(kDevice.Device(), kDevice.Desc(), spStates, spTextures, true));
        if (spPipeline)
            spPipeline->ValidateMultitexture(true);
        spLights = std::make_unique<NiD3DLightCache>(kDevice.Device());
        spLists = new NiEffectLists;
        spMode = new Mode;
        kTable.SetProperty(spMode);
        // Unlit, with the vertex colours as the diffuse colour, unless a case lights the quad.
        spVertexColor = new NiVertexColorProperty;
        spVertexColor->SetLightingMode(NiVertexColorProperty::LIGHTING_E);
        spVertexColor->SetSourceMode(NiVertexColorProperty::SOURCE_EMISSIVE);
        kTable.SetProperty(spVertexColor);
    }

    ~PixelTest() override
    {
        if (pkBuffer)
            pkBuffer->Release();
    }

    bool Ready() const { return spPipeline && spLights; }

    void SetBaseTexture(NiImage* pkImage)
    {
        NiRefPtr<NiTextureProperty> spTexture = new NiTextureProperty;
        spTexture->SetImage(pkImage);
        kTable.SetProperty(spTexture);
    }

    // A quad over the whole frame facing the camera, of one vertex colour (A8R8G8B8).
    bool MakeQuad(uint32_t uiColor)
    {
        D3DVERTEXBUFFERDESC kDesc;
        kDesc.dwSize = sizeof(kDesc);
        kDesc.dwCaps = D3DVBCAPS_WRITEONLY;
        kDesc.dwFVF = VERTEX_FORMAT;
        kDesc.dwNumVertices = 4;
        if (FAILED(kDevice.Direct3D()->CreateVertexBuffer(&kDesc, &pkBuffer, 0)))
            return false;
        void* pvData = nullptr;
        if (FAILED(pkBuffer->Lock(DDLOCK_WAIT | DDLOCK_WRITEONLY, &pvData, nullptr)))
            return false;
        const float afCorners[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
        auto* pkVertex = static_cast<Vertex*>(pvData);
        for (const auto& afCorner : afCorners)
        {
            *pkVertex++ = Vertex{{afCorner[0], afCorner[1], 0.5f},
                                 {0.0f, 0.0f, -1.0f},
                                 uiColor,
                                 {(afCorner[0] + 1) / 2, (1 - afCorner[1]) / 2}};
        }
        pkBuffer->Unlock();
        return true;
    }

    // One object as the renderer draws it: states, passes, lights, one draw per pass.
    Pixel Draw()
    {
        IDirect3DDevice7* pkDevice = kDevice.Device();
        D3DMATRIX kIdentity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        pkDevice->SetTransform(D3DTRANSFORMSTATE_WORLD, &kIdentity);
        pkDevice->SetTransform(D3DTRANSFORMSTATE_VIEW, &kIdentity);
        pkDevice->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &kIdentity);
        D3DVIEWPORT7 kPort{0, 0, SIZE, SIZE, 0.0f, 1.0f};
        pkDevice->SetViewport(&kPort);
        pkDevice->BeginScene();
        D3DRECT kAll{0, 0, SIZE, SIZE};
        pkDevice->Clear(1, &kAll, D3DCLEAR_TARGET, 0, 1.0f, 0);
        spStates->ApplyProperties(&kTable);
        pkDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        spPipeline->BuildPasses(&kTable, spLists, true, 1);
        NiTextureProperty* pkTexture = kTable.GetTexture();
        spLights->SetObjectLighting(spLists, pkTexture && pkTexture->GetImageObject(),
                                    kTable.GetTextureMode(), kTable.GetVertexColor());
        bool bMore = true;
        while (bMore)
        {
            bMore = spPipeline->SetupNextPass();
            pkDevice->DrawPrimitiveVB(D3DPT_TRIANGLESTRIP, pkBuffer, 0, 4, 0);
        }
        pkDevice->EndScene();
        return Centre();
    }

    Pixel Centre()
    {
        DDSURFACEDESC2 kDesc;
        kDesc.dwSize = sizeof(kDesc);
        Pixel kPixel{-1, -1, -1};
        if (FAILED(kDevice.Target()->Lock(nullptr, &kDesc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr)))
            return kPixel;
        const auto* pucRow = static_cast<const uint8_t*>(kDesc.lpSurface) + kDesc.lPitch * (SIZE / 2);
        const uint32_t uiValue = reinterpret_cast<const uint32_t*>(pucRow)[SIZE / 2];
        kDevice.Target()->Unlock(nullptr);
        return Pixel{int(uiValue >> 16 & 0xFF), int(uiValue >> 8 & 0xFF), int(uiValue & 0xFF)};
    }

    win32::DebugOutputCapture kLog;
    TestTextureServices kServices;
    RecordingDevice kDevice;
    NiRefPtr<NiD3DRenderStateCache> spStates;
    NiRefPtr<NiD3DTextureCache> spTextures;
    std::unique_ptr<NiD3DTexturePipeline> spPipeline;
    std::unique_ptr<NiD3DLightCache> spLights;
    IDirect3DVertexBuffer7* pkBuffer = nullptr;
    NiPropertyTable kTable;
    NiRefPtr<NiEffectLists> spLists;
    NiRefPtr<Mode> spMode;
    NiRefPtr<NiVertexColorProperty> spVertexColor;
};

::testing::AssertionResult Near(const Pixel& kPixel, const Pixel& kExpected, int iTolerance = 4)
{
    if (std::abs(kPixel.r - kExpected.r) <= iTolerance && std::abs(kPixel.g - kExpected.g) <= iTolerance &&
        std::abs(kPixel.b - kExpected.b) <= iTolerance)
    {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << kPixel.r << ", " << kPixel.g << ", " << kPixel.b << ") is not (" << kExpected.r << ", "
           << kExpected.g << ", " << kExpected.b << ")";
}
} // namespace

TEST_F(PixelTest, ALitMaterialTakesTheLightsColour)
{
    ASSERT_TRUE(Ready() && MakeQuad(0xFF000000));
    NiRefPtr<NiMaterialProperty> spMaterial = new NiMaterialProperty;
    spMaterial->SetDiffuseColor(NiColor(1.0f, 0.5f, 0.0f));
    spMaterial->SetAmbientColor(NiColor(0.0f, 0.0f, 0.0f));
    kTable.SetProperty(spMaterial);
    spVertexColor->SetLightingMode(NiVertexColorProperty::LIGHTING_E_A_D);
    spVertexColor->SetSourceMode(NiVertexColorProperty::SOURCE_IGNORE);

    // A white light shining along the view onto the quad, at 0.5 and then full strength.
    NiRefPtr<NiDirectionalLight> spLight = new NiDirectionalLight;
    spLight->SetRotate(NiRotationMatrix(0, 0, -1, 0, 1, 0, 1, 0, 0));
    spLight->SetDimmer(0.5f);
    spLight->UpdateSubtree(0.0f);
    ASSERT_NEAR(spLight->GetWorldDirection().z, 1.0f, 1e-5f);
    AddEffect(spLists, spLight);
    EXPECT_TRUE(Near(Draw(), {128, 64, 0}));

    spLight->SetDimmer(1.0f);
    spLights->DisableAll();
    EXPECT_TRUE(Near(Draw(), {255, 128, 0}));
}

TEST_F(PixelTest, ATexturedQuadInEachApplyMode)
{
    ASSERT_TRUE(Ready() && MakeQuad(0xFF8080FF));
    // Red texels of half alpha over a light blue vertex colour.
    SetBaseTexture(TestTextureImage::Solid(16, 16, 0xFF000080, true));
    const struct
    {
        Mode::ApplyMode eApply;
        Pixel kExpected;
    } akCases[] = {
        {Mode::APPLY_REPLACE, {255, 0, 0}},  {Mode::APPLY_DECAL, {192, 64, 128}},
        {Mode::APPLY_MODULATE, {128, 0, 0}}, {Mode::APPLY_MODULATE_VERTEX, {128, 0, 0}},
        {Mode::APPLY_HILIGHT, {128, 0, 0}},
    };
    for (const auto& kCase : akCases)
    {
        spMode->SetApplyMode(kCase.eApply);
        EXPECT_TRUE(Near(Draw(), kCase.kExpected, 6)) << kCase.eApply;
    }
}

TEST_F(PixelTest, ADetailMapSharesThePassOfTheBaseTexture)
{
    ASSERT_TRUE(Ready() && MakeQuad(0xFFFFFFFF));
    SetBaseTexture(TestTextureImage::Solid(16, 16, 0xC86432FF, false, false, NiImage::TEX_RGB888));
    NiRefPtr<NiMultiTextureProperty> spMulti = new NiMultiTextureProperty;
    auto spDetail = std::make_unique<NiMultiTextureMap>();
    spDetail->SetImage(
        TestTextureImage::Solid(16, 16, 0x4080C0FF, false, false, NiImage::TEX_RGB888));
    spDetail->SetClampMode(Mode::WRAP_S_WRAP_T);
    spMulti->SetMap(NiMultiTextureProperty::DETAIL_MAP, std::move(spDetail));
    kTable.SetProperty(spMulti);
    spMode->SetApplyMode(Mode::APPLY_MODULATE);

    // base x detail x 2: (200, 100, 50) x (64, 128, 192) / 255 x 2.
    EXPECT_TRUE(Near(Draw(), {100, 100, 75}, 6));
    EXPECT_EQ(spPipeline->GetPassCount(), 1u);
}

TEST_F(PixelTest, AnEnvironmentMapIsAddedInAPassOfItsOwn)
{
    ASSERT_TRUE(Ready() && MakeQuad(0xFFFF0000));
    NiRefPtr<NiTextureEffect> spEnvironment = new NiTextureEffect;
    spEnvironment->SetTextureMode(NiTextureEffect::ENVIRONMENT_MAP);
    spEnvironment->SetCoordMode(NiTextureEffect::SPHERE_MAP);
    spEnvironment->SetImage(
        TestTextureImage::Solid(16, 16, 0x0000C0FF, false, false, NiImage::TEX_RGB888));
    spEnvironment->UpdateSubtree(0.0f);
    spLists->AddEffect(spEnvironment);

    EXPECT_TRUE(Near(Draw(), {255, 0, 192}));
    EXPECT_EQ(spPipeline->GetPassCount(), 2u);
}
