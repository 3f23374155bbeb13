#include "platform/d3d7/VertexBuffer.h"

#include "platform/d3d7/DirectDrawCore.h"

namespace d3d7
{
namespace
{
// Larger buffers are refused rather than allocated.
constexpr DWORD MAX_VERTICES = 1u << 20;
} // namespace

VertexBuffer::VertexBuffer(std::shared_ptr<DirectDrawCore> pkCore, const D3DVERTEXBUFFERDESC& kDesc)
    : ComObject(IID_IDirect3DVertexBuffer7), m_pkCore(std::move(pkCore)), m_kDesc(kDesc)
{
    m_kDesc.dwSize = sizeof(D3DVERTEXBUFFERDESC);
    m_kDesc.dwCaps &= ~D3DVBCAPS_OPTIMIZED;
    m_kData.assign(static_cast<size_t>(Stride(kDesc.dwFVF)) * kDesc.dwNumVertices, 0);
}

uint32_t VertexBuffer::Stride(DWORD dwFVF)
{
    uint32_t uiStride = 0;
    if ((dwFVF & D3DFVF_POSITION_MASK) == D3DFVF_XYZ)
        uiStride += 12;
    else if ((dwFVF & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW)
        uiStride += 16;
    if ((dwFVF & D3DFVF_NORMAL) != 0)
        uiStride += 12;
    if ((dwFVF & D3DFVF_DIFFUSE) != 0)
        uiStride += 4;
    if ((dwFVF & D3DFVF_SPECULAR) != 0)
        uiStride += 4;
    uiStride += 8 * ((dwFVF & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
    return uiStride;
}

bool VertexBuffer::ValidDesc(const D3DVERTEXBUFFERDESC& kDesc)
{
    const DWORD dwPosition = kDesc.dwFVF & D3DFVF_POSITION_MASK;
    const DWORD dwSets = (kDesc.dwFVF & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    return (dwPosition == D3DFVF_XYZ || dwPosition == D3DFVF_XYZRHW) && dwSets <= 8 &&
           kDesc.dwNumVertices > 0 && kDesc.dwNumVertices <= MAX_VERTICES;
}

HRESULT VertexBuffer::Lock(DWORD dwFlags, LPVOID* ppvData, DWORD* pdwSize)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("VertexBuffer::Lock", {dwFlags});
    if (ppvData == nullptr)
        return DDERR_INVALIDPARAMS;
    *ppvData = nullptr;
    if (HRESULT hr = kWorld.Injected("VertexBuffer::Lock"); FAILED(hr))
        return hr;
    if ((m_kDesc.dwCaps & D3DVBCAPS_OPTIMIZED) != 0)
        return D3DERR_VERTEXBUFFEROPTIMIZED;
    if (m_bLocked)
        return D3DERR_VERTEXBUFFERLOCKED;
    m_bLocked = true;
    *ppvData = m_kData.data();
    if (pdwSize != nullptr)
        *pdwSize = static_cast<DWORD>(m_kData.size());
    return D3D_OK;
}

HRESULT VertexBuffer::Unlock()
{
    m_pkCore->GetWorld().Log("VertexBuffer::Unlock");
    if (!m_bLocked)
        return DDERR_NOTLOCKED;
    m_bLocked = false;
    return D3D_OK;
}

HRESULT VertexBuffer::Optimize(IDirect3DDevice7* pkDevice, DWORD dwFlags)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("Optimize", {reinterpret_cast<uintptr_t>(pkDevice), dwFlags});
    if (HRESULT hr = kWorld.Injected("Optimize"); FAILED(hr))
        return hr;
    if (pkDevice == nullptr)
        return DDERR_INVALIDPARAMS;
    if (m_bLocked)
        return D3DERR_VERTEXBUFFERLOCKED;
    if ((m_kDesc.dwCaps & D3DVBCAPS_OPTIMIZED) != 0)
        return D3DERR_VERTEXBUFFEROPTIMIZED;
    m_kDesc.dwCaps |= D3DVBCAPS_OPTIMIZED;
    return D3D_OK;
}

HRESULT VertexBuffer::GetVertexBufferDesc(D3DVERTEXBUFFERDESC* pkDesc)
{
    if (pkDesc == nullptr)
        return DDERR_INVALIDPARAMS;
    *pkDesc = m_kDesc;
    return D3D_OK;
}
} // namespace d3d7
