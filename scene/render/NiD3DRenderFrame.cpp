#include "scene/render/NiD3DRender.h"

#include "platform/d3d7/IDirect3DDevice7.h"
#include "scene/graph/NiLight.h"
#include "scene/object/NiColor.h"
#include "scene/render/NiD3DFramebuffer.h"
#include "scene/render/NiD3DLightCache.h"
#include "scene/render/NiD3DRenderStateCache.h"
#include "scene/render/NiD3DTextureCache.h"
#include "scene/render/NiD3DTexturePipeline.h"
#include "scene/render/NiDDBufferImage.h"

#include <algorithm>

// The renderer's frame and camera: presenting and clearing the frame, its size, background and
// fog, opening and closing a scene, the view, viewport, object transform and projection.
//
// Contents: frame and buffers / scene and transforms.

namespace
{
D3DMATRIX Rows(std::initializer_list<float> kValues)
{
    D3DMATRIX kMatrix;
    float* pfOut = &kMatrix._11;
    for (float fValue : kValues)
        *pfOut++ = fValue;
    return kMatrix;
}

float Dot(const NiPoint3& kA, const NiPoint3& kB)
{
    return kA.x * kB.x + kA.y * kB.y + kA.z * kB.z;
}

// A pixel count truncated toward zero, within 0 to the limit (NaN gives 0).
DWORD ClampedPixels(float fPixels, DWORD dwLimit)
{
    if (!(fPixels > 0.0f))
        return 0;
    if (fPixels >= static_cast<float>(dwLimit))
        return dwLimit;
    return std::min(static_cast<DWORD>(fPixels), dwLimit);
}
} // namespace

//--- Frame and buffers ---------------------------------------------------------------------------

bool NiD3DRender::PresentFrame()
{
    return m_pkCurrentFramebuffer && m_pkCurrentFramebuffer->Swap();
}

bool NiD3DRender::ClearViewport(const NiRect<float>* pkPort, uint32_t uiFlags)
{
    if (!m_pkCurrentFramebuffer || !m_pkDevice)
        return false;
    if (m_pkCurrentFramebuffer->IsLost() && !RestoreLostSurfaces())
        return false;
    DWORD dwFlags = 0;
    if (uiFlags & CLEAR_BACKBUFFER)
        dwFlags |= D3DCLEAR_TARGET;
    if (uiFlags & CLEAR_ZBUFFER)
        dwFlags |= D3DCLEAR_ZBUFFER;
    if ((uiFlags & CLEAR_STENCIL) && (m_uiFlags & FLAG_STENCIL_BUFFER))
        dwFlags |= D3DCLEAR_STENCIL;
    const DWORD dwWidth = m_pkCurrentFramebuffer->GetWidth();
    const DWORD dwHeight = m_pkCurrentFramebuffer->GetHeight();
    const float fWidth = static_cast<float>(dwWidth);
    const float fHeight = static_cast<float>(dwHeight);
    D3DRECT kRect{0, 0, static_cast<LONG>(dwWidth), static_cast<LONG>(dwHeight)};
    // Corners outside the target, or not numbers at all (a camera's viewport comes from its
    // file), have no integer pixel; the device clips to the target in any case.
    if (pkPort)
    {
        kRect.x1 = static_cast<LONG>(ClampedPixels(fWidth * pkPort->m_left, dwWidth));
        kRect.y1 = static_cast<LONG>(ClampedPixels((1.0f - pkPort->m_top) * fHeight, dwHeight));
        kRect.x2 = static_cast<LONG>(ClampedPixels(fWidth * pkPort->m_right, dwWidth));
        kRect.y2 = static_cast<LONG>(ClampedPixels((1.0f - pkPort->m_bottom) * fHeight, dwHeight));
    }
    // The whole framebuffer, from its corner: a viewport left from the camera could reach past it.
    m_kViewport.dwX = 0;
    m_kViewport.dwY = 0;
    m_kViewport.dwWidth = m_pkCurrentFramebuffer->GetWidth();
    m_kViewport.dwHeight = m_pkCurrentFramebuffer->GetHeight();
    m_pkDevice->SetViewport(&m_kViewport);
    return SUCCEEDED(m_pkDevice->Clear(1, &kRect, dwFlags, m_uiBackgroundColor, 1.0f, m_uiBackgroundStencil));
}

uint32_t NiD3DRender::GetScreenWidth() const
{
    return m_pkCurrentFramebuffer ? m_pkCurrentFramebuffer->GetWidth() : 0;
}

uint32_t NiD3DRender::GetScreenHeight() const
{
    return m_pkCurrentFramebuffer ? m_pkCurrentFramebuffer->GetHeight() : 0;
}

uint32_t NiD3DRender::GetColorDepth() const
{
    return m_pkCurrentFramebuffer ? m_pkCurrentFramebuffer->GetPixelLayout().m_ucBitsPerPixel : 0;
}

bool NiD3DRender::SetBackgroundColor(const NiColor& kColor)
{
    // Truncated products, their low eight bits kept.
    const auto Byte = [](float fValue)
    { return static_cast<uint32_t>(static_cast<int64_t>(fValue * 255.0f)) & 0xFF; };
    m_uiBackgroundColor = (Byte(kColor.r) << 16) | (Byte(kColor.g) << 8) | Byte(kColor.b);
    return true;
}

float NiD3DRender::GetFogDepth() const
{
    return m_spRenderStates ? m_spRenderStates->GetFogDepth() : 0.0f;
}

void NiD3DRender::SetFogDepth(float fDepth)
{
    if (m_spRenderStates)
        m_spRenderStates->SetFogDepth(fDepth);
}

//--- Scene and transforms ------------------------------------------------------------------------

bool NiD3DRender::OpenScene(NiCamera* pkCamera)
{
    NiRender::OpenScene(pkCamera);
    if (!m_pkDevice || !RestoreLostSurfaces())
        return false;
    if (m_spTextures)
        m_spTextures->BeginFrame();
    if (m_pkLights)
        m_pkLights->DisableAll();
    if (m_spRenderStates)
        m_spRenderStates->ResetPropertyCache();
    if (m_pkTexturePipeline)
        m_pkTexturePipeline->ClearEffects();
    if (FAILED(m_pkDevice->BeginScene()))
        return false;
    m_bInScene = true;
    return true;
}

void NiD3DRender::CloseScene()
{
    NiRender::CloseScene();
    if (!m_bInScene || FAILED(m_pkDevice->EndScene()))
        return;
    m_bInScene = false;
    if (NiDDBufferImage* pkBack = m_pkCurrentFramebuffer->GetBackImage())
        pkBack->IncrementRevision();
}

void NiD3DRender::PurgeEffect(NiDynamicEffect* pkEffect)
{
    auto* pkLight = NiDynamicCast<NiLight>(static_cast<NiObject*>(pkEffect));
    if (pkLight && m_pkLights)
        m_pkLights->PurgeLight(pkLight);
}

bool NiD3DRender::SetCameraFrame(const NiPoint3& kLocation, const NiPoint3& kDirection, const NiPoint3& kUp,
                                 const NiPoint3& kRight, const NiFrustum& kFrustum,
                                 const NiRect<float>& kPort)
{
    const float fRightMinusLeft = kFrustum.m_fRight - kFrustum.m_fLeft;
    const float fTopMinusBottom = kFrustum.m_fTop - kFrustum.m_fBottom;
    const float fFarMinusNear = kFrustum.m_fFar - kFrustum.m_fNear;
    // A degenerate frustum (an empty window) keeps the matrices of the last good frame.
    const bool bDegenerate = !(fRightMinusLeft != 0.0f && fTopMinusBottom != 0.0f && fFarMinusNear != 0.0f);

    m_kView = Rows({kRight.x, kUp.x, kDirection.x, 0, kRight.y, kUp.y, kDirection.y, 0, kRight.z, kUp.z,
                    kDirection.z, 0, -Dot(kLocation, kRight), -Dot(kLocation, kUp),
                    -Dot(kLocation, kDirection), 1});
    if (m_pkDevice)
        m_pkDevice->SetTransform(D3DTRANSFORMSTATE_VIEW, &m_kView);
    m_kCameraRight = m_kModelRight = kRight;
    m_kCameraUp = m_kModelUp = kUp;
    if (m_pkTexturePipeline)
        m_pkTexturePipeline->SetCameraFrame(kDirection, kUp, kRight, kLocation);

    if (!bDegenerate)
    {
        const float fNear = kFrustum.m_fNear;
        const float fFar = kFrustum.m_fFar;
        m_fNear = fNear;
        m_fDepthRange = fFarMinusNear;
        m_kProjection = D3DMATRIX();
        m_kProjection._11 = 2.0f / fRightMinusLeft;
        m_kProjection._22 = 2.0f / fTopMinusBottom;
        m_kProjection._31 = -(kFrustum.m_fRight + kFrustum.m_fLeft) / fRightMinusLeft;
        m_kProjection._32 = -(kFrustum.m_fTop + kFrustum.m_fBottom) / fTopMinusBottom;
        m_kProjection._33 = fFar / fFarMinusNear;
        m_kProjection._34 = 1.0f;
        m_kProjection._43 = -fNear * fFar / fFarMinusNear;
        m_kScreenProjection0._33 = m_kProjection._33;
        m_kScreenProjection0._43 = m_kProjection._43;
    }
    if (m_pkDevice)
        m_pkDevice->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &m_kProjection);

    // An inverted or oversized camera viewport is clamped to the target: a negative extent has
    // no unsigned pixel count, and the device takes no rectangle beyond its target.
    const DWORD dwWidth = GetScreenWidth();
    const DWORD dwHeight = GetScreenHeight();
    const float fWidth = static_cast<float>(dwWidth);
    const float fHeight = static_cast<float>(dwHeight);
    m_kViewport.dwX = ClampedPixels(fWidth * kPort.m_left, dwWidth);
    m_kViewport.dwY = ClampedPixels((1.0f - kPort.m_top) * fHeight, dwHeight);
    m_kViewport.dwWidth = ClampedPixels((kPort.m_right - kPort.m_left) * fWidth, dwWidth - m_kViewport.dwX);
    m_kViewport.dwHeight =
        ClampedPixels((kPort.m_top - kPort.m_bottom) * fHeight, dwHeight - m_kViewport.dwY);
    m_kViewport.dvMinZ = 0.0f;
    m_kViewport.dvMaxZ = 1.0f;
    if (m_spRenderStates)
        m_spRenderStates->SetFogRange(kFrustum.m_fNear, kFrustum.m_fFar);
    return m_pkDevice && SUCCEEDED(m_pkDevice->SetViewport(&m_kViewport));
}

void NiD3DRender::SetObjectTransform(const NiPoint3& kTranslate, const NiRotationMatrix& kRotate,
                                     float fScale)
{
    const auto M = [&](int r, int c) { return kRotate.GetEntry(r, c); };
    D3DMATRIX kWorld = Rows({fScale * M(0, 0), fScale * M(1, 0), fScale * M(2, 0), 0, //
                             fScale * M(0, 1), fScale * M(1, 1), fScale * M(2, 1), 0, //
                             fScale * M(0, 2), fScale * M(1, 2), fScale * M(2, 2), 0, //
                             kTranslate.x, kTranslate.y, kTranslate.z, 1});
    if (m_pkDevice)
        m_pkDevice->SetTransform(D3DTRANSFORMSTATE_WORLD, &kWorld);
    if (m_spRenderStates)
        m_spRenderStates->SetScale(fScale);
    // The camera axes in model space (M transposed applied to them). The world matrix scales
    // what is built on them, so they are not scaled here: particles grow with their model once.
    const auto ToModel = [&](const NiPoint3& kAxis)
    {
        return NiPoint3(M(0, 0) * kAxis.x + M(1, 0) * kAxis.y + M(2, 0) * kAxis.z,
                        M(0, 1) * kAxis.x + M(1, 1) * kAxis.y + M(2, 1) * kAxis.z,
                        M(0, 2) * kAxis.x + M(1, 2) * kAxis.y + M(2, 2) * kAxis.z);
    };
    m_kModelRight = ToModel(m_kCameraRight);
    m_kModelUp = ToModel(m_kCameraUp);
}

bool NiD3DRender::SetProjectionMode(int32_t iMode)
{
    if (!m_bInScene)
        return false;
    NiRender::SetProjectionMode(iMode);
    m_pkDevice->SetTransform(D3DTRANSFORMSTATE_VIEW, &m_kIdentity);
    m_pkDevice->SetTransform(D3DTRANSFORMSTATE_WORLD, &m_kIdentity);
    m_pkDevice->SetTransform(D3DTRANSFORMSTATE_PROJECTION,
                             iMode == 1 ? &m_kScreenProjection1 : &m_kScreenProjection0);
    return true;
}

void NiD3DRender::RestoreProjection()
{
    if (!m_pkDevice)
        return;
    m_pkDevice->SetTransform(D3DTRANSFORMSTATE_VIEW, &m_kView);
    m_pkDevice->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &m_kProjection);
}
