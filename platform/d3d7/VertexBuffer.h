#pragma once

#include "platform/d3d7/ComObject.h"
#include "platform/d3d7/IDirect3DVertexBuffer7.h"

#include <memory>
#include <vector>

namespace d3d7
{
class DirectDrawCore;

// Vertices in memory; GL draws them from there as client arrays.
class VertexBuffer final : public ComObject<IDirect3DVertexBuffer7>
{
public:
    VertexBuffer(std::shared_ptr<DirectDrawCore> pkCore, const D3DVERTEXBUFFERDESC& kDesc);

    // A position, at most eight coordinate sets and a sane vertex count.
    static bool ValidDesc(const D3DVERTEXBUFFERDESC& kDesc);
    // Bytes per vertex of a vertex format.
    static uint32_t Stride(DWORD dwFVF);

    HRESULT Lock(DWORD dwFlags, LPVOID* ppvData, DWORD* pdwSize) override;
    HRESULT Unlock() override;
    HRESULT Optimize(IDirect3DDevice7* pkDevice, DWORD dwFlags) override;
    HRESULT GetVertexBufferDesc(D3DVERTEXBUFFERDESC* pkDesc) override;

    DWORD GetFVF() const { return m_kDesc.dwFVF; }
    DWORD GetVertexCount() const { return m_kDesc.dwNumVertices; }
    bool IsLocked() const { return m_bLocked; }
    const uint8_t* Data() const { return m_kData.data(); }

private:
    ~VertexBuffer() override = default;

    std::shared_ptr<DirectDrawCore> m_pkCore;
    D3DVERTEXBUFFERDESC m_kDesc;
    std::vector<uint8_t> m_kData;
    bool m_bLocked = false;
};
} // namespace d3d7
