#include "tests/platform/d3d7/LayerFixture.h"

#include <algorithm>
#include <cstdlib>

namespace
{
constexpr uint32_t RED = 0xffff0000u;
constexpr uint32_t GREEN = 0xff00ff00u;
constexpr uint32_t BLUE = 0xff0000ffu;
constexpr uint32_t GREY = 0xff404040u;

std::shared_ptr<d3d7::World> OpenGL()
{
    return std::make_shared<d3d7::World>(d3d7::Backend::OpenGL);
}

// Two triangles covering x, y in [-fHalf, fHalf] at depth fZ (identity transforms), wound
// clockwise on screen.
std::vector<float> Square(float fHalf, float fZ)
{
    return {-fHalf, fHalf, fZ, fHalf, fHalf,  fZ, fHalf,  -fHalf, fZ,
            -fHalf, fHalf, fZ, fHalf, -fHalf, fZ, -fHalf, -fHalf, fZ};
}

// Draws a vertex list as a triangle list in its own scene.
void DrawList(LayerFixture& kLayer, const std::vector<float>& kXYZ, uint32_t uiColor)
{
    IDirect3DVertexBuffer7* pkVB = kLayer.MakeBuffer(kXYZ, std::vector<uint32_t>(kXYZ.size() / 3, uiColor));
    ASSERT_EQ(kLayer.pkDevice->BeginScene(), D3D_OK);
    EXPECT_EQ(
        kLayer.pkDevice->DrawPrimitiveVB(D3DPT_TRIANGLELIST, pkVB, 0, static_cast<DWORD>(kXYZ.size() / 3), 0),
        D3D_OK);
    EXPECT_EQ(kLayer.pkDevice->EndScene(), D3D_OK);
    pkVB->Release();
}

// The back buffer's pixels through Lock, as A8R8G8B8 with the top row first.
std::vector<uint32_t> ReadBack(LayerFixture& kLayer)
{
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    std::vector<uint32_t> kPixels;
    EXPECT_EQ(kLayer.pkBack->Lock(nullptr, &kDesc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    for (DWORD dwY = 0; dwY < kDesc.dwHeight; ++dwY)
        for (DWORD dwX = 0; dwX < kDesc.dwWidth; ++dwX)
            kPixels.push_back(static_cast<const uint32_t*>(kDesc.lpSurface)[dwY * kDesc.lPitch / 4 + dwX] |
                              0xff000000u);
    kLayer.pkBack->Unlock(nullptr);
    return kPixels;
}

void Unlit(IDirect3DDevice7* pkDevice)
{
    pkDevice->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    pkDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    pkDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    pkDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
}
} // namespace

TEST(OpenGLBackend, DrawsAVertexBufferIntoAFramebufferAndPresentsIt)
{
    LayerFixture kLayer(OpenGL(), 32, 32);
    ASSERT_NE(kLayer.pkDevice, nullptr) << "no EGL/OpenGL context";
    Unlit(kLayer.pkDevice);
    ASSERT_EQ(kLayer.pkDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, GREY, 1.0f, 0), D3D_OK);
    DrawList(kLayer, Square(0.5f, 0.5f), RED);

    RECT kScreen{0, 0, 32, 32};
    DDBLTFX kFX;
    kFX.dwSize = sizeof(kFX);
    kFX.dwDDFX = DDBLTFX_NOTEARING;
    ASSERT_EQ(kLayer.pkPrimary->Blt(&kScreen, kLayer.pkBack, nullptr, DDBLT_WAIT | DDBLT_DDFX, &kFX), DD_OK);
    ASSERT_EQ(kLayer.kWindow.iFrames, 1);
    EXPECT_EQ(kLayer.kWindow.At(16, 16), RED);
    EXPECT_EQ(kLayer.kWindow.At(9, 9), RED);
    EXPECT_EQ(kLayer.kWindow.At(2, 2), GREY);
    EXPECT_EQ(kLayer.kWindow.At(29, 29), GREY);
    EXPECT_EQ(ReadBack(kLayer), kLayer.kWindow.kPixels);
}

TEST(OpenGLBackend, ViewportAndRowsKeepTheTopLeftOrigin)
{
    LayerFixture kLayer(OpenGL(), 16, 8);
    Unlit(kLayer.pkDevice);
    kLayer.pkDevice->Clear(0, nullptr, D3DCLEAR_TARGET, GREY, 1.0f, 0);
    // The top-left quarter only: the viewport's y runs down from the top.
    D3DVIEWPORT7 kPort{0, 0, 8, 4, 0.0f, 1.0f};
    ASSERT_EQ(kLayer.pkDevice->SetViewport(&kPort), D3D_OK);
    DrawList(kLayer, Square(1.0f, 0.5f), BLUE);
    const std::vector<uint32_t> kPixels = ReadBack(kLayer);
    EXPECT_EQ(kPixels[1 * 16 + 2], BLUE);
    EXPECT_EQ(kPixels[1 * 16 + 12], GREY);
    EXPECT_EQ(kPixels[6 * 16 + 2], GREY);
}

TEST(OpenGLBackend, DepthAndCullingFollowDirect3D)
{
    LayerFixture kLayer(OpenGL(), 16, 16);
    IDirect3DDevice7* pkDevice = kLayer.pkDevice;
    Unlit(pkDevice);
    pkDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, GREY, 1.0f, 0);

    // Near (z 0.2) drawn first stays in front of far (z 0.8): z runs 0 near to 1 far.
    pkDevice->SetRenderState(D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL);
    DrawList(kLayer, Square(0.5f, 0.2f), RED);
    DrawList(kLayer, Square(1.0f, 0.8f), GREEN);
    std::vector<uint32_t> kPixels = ReadBack(kLayer);
    EXPECT_EQ(kPixels[8 * 16 + 8], RED);
    EXPECT_EQ(kPixels[1 * 16 + 1], GREEN);

    // Clearing depth works with depth writes off; the far square then shows everywhere.
    pkDevice->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, FALSE);
    pkDevice->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    DrawList(kLayer, Square(1.0f, 0.8f), GREEN);
    EXPECT_EQ(ReadBack(kLayer)[8 * 16 + 8], GREEN);

    // Clockwise-on-screen triangles go when clockwise culling is on.
    pkDevice->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    pkDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW);
    DrawList(kLayer, Square(0.5f, 0.5f), BLUE);
    EXPECT_EQ(ReadBack(kLayer)[8 * 16 + 8], GREEN);
    pkDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    DrawList(kLayer, Square(0.5f, 0.5f), BLUE);
    EXPECT_EQ(ReadBack(kLayer)[8 * 16 + 8], BLUE);
}

TEST(OpenGLBackend, TexturesOfEachFormatModulateTheVertexColour)
{
    struct Case
    {
        DDPIXELFORMAT kFormat;
        uint32_t uiTexel;  // raw texel value
        uint32_t uiExpect; // drawn with white vertices
    };
    const Case akCases[] = {
        {d3d7::RgbFormat(16, 0xf800, 0x07e0, 0x001f), 0xf800, RED},
        {d3d7::RgbFormat(16, 0x7c00, 0x03e0, 0x001f, 0x8000), 0x83e0, GREEN},
        {d3d7::RgbFormat(16, 0x0f00, 0x00f0, 0x000f, 0xf000), 0xf00f, BLUE},
        {d3d7::RgbFormat(32, 0xff0000, 0xff00, 0xff), 0x00404040, GREY},
    };
    LayerFixture kLayer(OpenGL(), 16, 16);
    IDirect3DDevice7* pkDevice = kLayer.pkDevice;
    pkDevice->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    pkDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    for (const Case& kCase : akCases)
    {
        DDSURFACEDESC2 kDesc;
        kDesc.dwSize = sizeof(kDesc);
        kDesc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        kDesc.dwWidth = kDesc.dwHeight = 2;
        kDesc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY;
        kDesc.ddpfPixelFormat = kCase.kFormat;
        IDirectDrawSurface7* pkTexture = nullptr;
        ASSERT_EQ(kLayer.pkDD->CreateSurface(&kDesc, &pkTexture, nullptr), DD_OK);
        DDSURFACEDESC2 kLock;
        kLock.dwSize = sizeof(kLock);
        ASSERT_EQ(pkTexture->Lock(nullptr, &kLock, DDLOCK_WAIT, nullptr), DD_OK);
        const uint32_t uiBytes = kCase.kFormat.dwRGBBitCount / 8;
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                std::memcpy(static_cast<uint8_t*>(kLock.lpSurface) + i * kLock.lPitch + j * uiBytes,
                            &kCase.uiTexel, uiBytes);
        pkTexture->Unlock(nullptr);

        pkDevice->SetTexture(0, pkTexture);
        pkDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        pkDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        pkDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        // Camera-space positions as coordinates: the quad needs no coordinate set.
        pkDevice->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEPOSITION);
        pkDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        DrawList(kLayer, Square(1.0f, 0.5f), 0xffffffffu);
        EXPECT_EQ(ReadBack(kLayer)[5 * 16 + 5], kCase.uiExpect)
            << kCase.kFormat.dwRGBBitCount << " " << kCase.uiTexel;
        pkDevice->SetTexture(0, nullptr);
        pkTexture->Release();
    }
}

TEST(OpenGLBackend, KeyedBlitOntoTheBackBuffer)
{
    LayerFixture kLayer(OpenGL(), 4, 2);
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    kDesc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    kDesc.dwWidth = 2;
    kDesc.dwHeight = 2;
    kDesc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
    kDesc.ddpfPixelFormat = d3d7::RgbFormat(32, 0xff0000, 0xff00, 0xff);
    IDirectDrawSurface7* pkImage = nullptr;
    ASSERT_EQ(kLayer.pkDD->CreateSurface(&kDesc, &pkImage, nullptr), DD_OK);
    DDSURFACEDESC2 kLock;
    kLock.dwSize = sizeof(kLock);
    ASSERT_EQ(pkImage->Lock(nullptr, &kLock, DDLOCK_WAIT, nullptr), DD_OK);
    auto* puiTexels = static_cast<uint32_t*>(kLock.lpSurface);
    puiTexels[0] = 0x00ff0000; // red, top left
    puiTexels[1] = 0;          // the key
    puiTexels[kLock.lPitch / 4] = 0;
    puiTexels[kLock.lPitch / 4 + 1] = 0x000000ff; // blue, bottom right
    pkImage->Unlock(nullptr);
    DDCOLORKEY kKey{0, 0};
    pkImage->SetColorKey(DDCKEY_SRCBLT, &kKey);

    kLayer.pkDevice->Clear(0, nullptr, D3DCLEAR_TARGET, GREEN, 1.0f, 0);
    RECT kDest{2, 0, 4, 2};
    DDBLTFX kFX;
    kFX.dwSize = sizeof(kFX);
    ASSERT_EQ(kLayer.pkBack->Blt(&kDest, pkImage, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, &kFX), DD_OK);
    EXPECT_EQ(ReadBack(kLayer), (std::vector<uint32_t>{GREEN, GREEN, RED, GREEN, GREEN, GREEN, GREEN, BLUE}));
    pkImage->Release();
}

TEST(OpenGLBackend, SixteenBitDisplaysReadBackInTheirFormat)
{
    auto pkWorld = OpenGL();
    pkWorld->kDisplayMode.dwBPP = 16;
    LayerFixture kLayer(pkWorld, 4, 4);
    kLayer.pkDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0xffff0000u, 1.0f, 0);
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    ASSERT_EQ(kLayer.pkBack->Lock(nullptr, &kDesc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    EXPECT_EQ(kDesc.ddpfPixelFormat.dwRBitMask, 0xf800u);
    EXPECT_EQ(static_cast<const uint16_t*>(kDesc.lpSurface)[5], 0xf800);
    kLayer.pkBack->Unlock(nullptr);
}

TEST(OpenGLBackend, LightsShineFromWhereTheyWerePlaced)
{
    LayerFixture kLayer(OpenGL(), 8, 8);
    IDirect3DDevice7* pkDevice = kLayer.pkDevice;
    pkDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    pkDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    pkDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    D3DMATERIAL7 kMaterial;
    kMaterial.dcvDiffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f};
    pkDevice->SetMaterial(&kMaterial);
    // A red light shining along +z onto a quad whose normals face -z (toward the viewer).
    D3DLIGHT7 kLight;
    kLight.dltType = D3DLIGHT_DIRECTIONAL;
    kLight.dcvDiffuse = D3DCOLORVALUE{1.0f, 0.0f, 0.0f, 0.0f};
    kLight.dvDirection = D3DVECTOR{0.0f, 0.0f, 1.0f};
    pkDevice->SetLight(0x80000001u, &kLight);
    pkDevice->LightEnable(0x80000001u, TRUE);

    D3DVERTEXBUFFERDESC kDesc{sizeof(D3DVERTEXBUFFERDESC), 0, D3DFVF_XYZ | D3DFVF_NORMAL, 6};
    IDirect3DVertexBuffer7* pkVB = nullptr;
    ASSERT_EQ(kLayer.pkD3D->CreateVertexBuffer(&kDesc, &pkVB, 0), D3D_OK);
    LPVOID pvData = nullptr;
    pkVB->Lock(DDLOCK_WAIT, &pvData, nullptr);
    const std::vector<float> kXYZ = Square(1.0f, 0.5f);
    for (size_t i = 0; i < 6; ++i)
    {
        const float afVertex[6] = {kXYZ[i * 3], kXYZ[i * 3 + 1], kXYZ[i * 3 + 2], 0.0f, 0.0f, -1.0f};
        std::memcpy(static_cast<uint8_t*>(pvData) + i * 24, afVertex, sizeof(afVertex));
    }
    pkVB->Unlock();

    auto fnDraw = [&]
    {
        pkDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        pkDevice->BeginScene();
        pkDevice->DrawPrimitiveVB(D3DPT_TRIANGLELIST, pkVB, 0, 6, 0);
        pkDevice->EndScene();
        return ReadBack(kLayer)[4 * 8 + 4];
    };
    EXPECT_EQ(fnDraw(), RED);
    // Turning the world and the camera half round leaves the quad where it was on screen,
    // but the light stays in the world (placed anew for the view without another SetLight),
    // so it now shines on the quad's back.
    D3DMATRIX kTurn = {};
    kTurn._11 = -1.0f;
    kTurn._22 = 1.0f;
    kTurn._33 = -1.0f;
    kTurn._44 = 1.0f;
    pkDevice->SetTransform(D3DTRANSFORMSTATE_VIEW, &kTurn);
    pkDevice->SetTransform(D3DTRANSFORMSTATE_WORLD, &kTurn);
    EXPECT_EQ(fnDraw(), 0xff000000u);
    D3DMATRIX kIdentity = {};
    kIdentity._11 = kIdentity._22 = kIdentity._33 = kIdentity._44 = 1.0f;
    pkDevice->SetTransform(D3DTRANSFORMSTATE_VIEW, &kIdentity);
    pkDevice->SetTransform(D3DTRANSFORMSTATE_WORLD, &kIdentity);
    EXPECT_EQ(fnDraw(), RED);
    pkDevice->LightEnable(0x80000001u, FALSE);
    EXPECT_EQ(fnDraw(), 0xff000000u);
    pkVB->Release();
}

namespace
{
// A texture of one A8R8G8B8 texel per column, one row high.
IDirectDrawSurface7* MakeTexture(LayerFixture& kLayer, const std::vector<uint32_t>& kTexels)
{
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    kDesc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    kDesc.dwWidth = static_cast<DWORD>(kTexels.size());
    kDesc.dwHeight = 1;
    kDesc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY;
    kDesc.ddpfPixelFormat = d3d7::RgbFormat(32, 0xff0000, 0xff00, 0xff, 0xff000000);
    IDirectDrawSurface7* pkTexture = nullptr;
    EXPECT_EQ(kLayer.pkDD->CreateSurface(&kDesc, &pkTexture, nullptr), DD_OK);
    DDSURFACEDESC2 kLock;
    kLock.dwSize = sizeof(kLock);
    EXPECT_EQ(pkTexture->Lock(nullptr, &kLock, DDLOCK_WAIT, nullptr), DD_OK);
    std::memcpy(kLock.lpSurface, kTexels.data(), kTexels.size() * 4);
    pkTexture->Unlock(nullptr);
    return pkTexture;
}

uint32_t Near(uint32_t uiA, uint32_t uiB)
{
    uint32_t uiWorst = 0;
    for (int iShift = 0; iShift < 24; iShift += 8)
    {
        const int iA = static_cast<int>((uiA >> iShift) & 0xff);
        const int iB = static_cast<int>((uiB >> iShift) & 0xff);
        uiWorst = std::max(uiWorst, static_cast<uint32_t>(std::abs(iA - iB)));
    }
    return uiWorst;
}
} // namespace

TEST(OpenGLBackend, StageOperationsCombineTextureAndDiffuse)
{
    struct Case
    {
        DWORD dwOp;
        DWORD dwArg1;
        DWORD dwArg2;
        uint32_t uiExpect;
    };
    // Texel (0x40, 0x80, 0xc0) with alpha 0x40; vertex colour (0x80, 0x40, 0x20).
    const Case akCases[] = {
        {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, 0xff4080c0},
        {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, 0xff804020},
        {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, 0xff202018},
        {D3DTOP_MODULATE2X, D3DTA_TEXTURE, D3DTA_DIFFUSE, 0xff404030},
        {D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_DIFFUSE, 0xffc0c0e0},
        // texture * alpha + diffuse * (1 - alpha), alpha 0x40
        {D3DTOP_BLENDTEXTUREALPHA, D3DTA_TEXTURE, D3DTA_DIFFUSE, 0xff705048},
    };
    LayerFixture kLayer(OpenGL(), 8, 8);
    IDirect3DDevice7* pkDevice = kLayer.pkDevice;
    pkDevice->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    pkDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    IDirectDrawSurface7* pkTexture = MakeTexture(kLayer, {0x404080c0});
    pkDevice->SetTexture(0, pkTexture);
    pkDevice->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEPOSITION);
    for (const Case& kCase : akCases)
    {
        pkDevice->SetTextureStageState(0, D3DTSS_COLOROP, kCase.dwOp);
        pkDevice->SetTextureStageState(0, D3DTSS_COLORARG1, kCase.dwArg1);
        pkDevice->SetTextureStageState(0, D3DTSS_COLORARG2, kCase.dwArg2);
        DrawList(kLayer, Square(1.0f, 0.5f), 0xff804020);
        const uint32_t uiPixel = ReadBack(kLayer)[4 * 8 + 4];
        EXPECT_LE(Near(uiPixel, kCase.uiExpect), 2u) << "op " << kCase.dwOp << std::hex << " got " << uiPixel;
    }
    pkDevice->SetTexture(0, nullptr);
    pkTexture->Release();
}

TEST(OpenGLBackend, TextureTransformsMoveCoordinateSets)
{
    LayerFixture kLayer(OpenGL(), 8, 8);
    IDirect3DDevice7* pkDevice = kLayer.pkDevice;
    pkDevice->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    pkDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    IDirectDrawSurface7* pkTexture = MakeTexture(kLayer, {RED, GREEN});
    pkDevice->SetTexture(0, pkTexture);
    pkDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);

    // Every vertex samples (0.25, 0.5): the red texel.
    D3DVERTEXBUFFERDESC kDesc{sizeof(D3DVERTEXBUFFERDESC), 0, D3DFVF_XYZ | D3DFVF_TEX1, 6};
    IDirect3DVertexBuffer7* pkVB = nullptr;
    ASSERT_EQ(kLayer.pkD3D->CreateVertexBuffer(&kDesc, &pkVB, 0), D3D_OK);
    LPVOID pvData = nullptr;
    pkVB->Lock(DDLOCK_WAIT, &pvData, nullptr);
    const std::vector<float> kXYZ = Square(1.0f, 0.5f);
    for (size_t i = 0; i < 6; ++i)
    {
        const float afVertex[5] = {kXYZ[i * 3], kXYZ[i * 3 + 1], kXYZ[i * 3 + 2], 0.25f, 0.5f};
        std::memcpy(static_cast<uint8_t*>(pvData) + i * 20, afVertex, sizeof(afVertex));
    }
    pkVB->Unlock();
    auto fnDraw = [&]
    {
        pkDevice->BeginScene();
        pkDevice->DrawPrimitiveVB(D3DPT_TRIANGLELIST, pkVB, 0, 6, 0);
        pkDevice->EndScene();
        return ReadBack(kLayer)[4 * 8 + 4];
    };
    EXPECT_EQ(fnDraw(), RED);

    // Two coordinates take their translation from the third row.
    D3DMATRIX kShift = {};
    kShift._11 = kShift._22 = kShift._33 = kShift._44 = 1.0f;
    kShift._31 = 0.5f;
    pkDevice->SetTransform(D3DTRANSFORMSTATE_TEXTURE0, &kShift);
    pkDevice->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    EXPECT_EQ(fnDraw(), GREEN);
    pkDevice->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    EXPECT_EQ(fnDraw(), RED);
    pkDevice->SetTexture(0, nullptr);
    pkVB->Release();
    pkTexture->Release();
}

TEST(OpenGLBackend, EachDirectDrawObjectDrawsInItsOwnContext)
{
    // Both contexts number their framebuffers alike; each must read its own.
    LayerFixture kFirst(OpenGL(), 4, 4);
    LayerFixture kSecond(OpenGL(), 4, 4);
    kFirst.pkDevice->Clear(0, nullptr, D3DCLEAR_TARGET, RED, 1.0f, 0);
    kSecond.pkDevice->Clear(0, nullptr, D3DCLEAR_TARGET, BLUE, 1.0f, 0);
    EXPECT_EQ(ReadBack(kFirst)[5], RED);
    EXPECT_EQ(ReadBack(kSecond)[5], BLUE);
}
