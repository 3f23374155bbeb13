#include "platform/d3d7/Clipper.h"

#include "platform/d3d7/DirectDrawCore.h"

namespace d3d7
{
Clipper::Clipper(std::shared_ptr<DirectDrawCore> pkCore)
    : ComObject(IID_IUnknown), m_pkCore(std::move(pkCore))
{
}

HRESULT Clipper::SetHWnd(DWORD dwFlags, HWND hWnd)
{
    m_pkCore->GetWorld().Log("SetHWnd", {dwFlags, reinterpret_cast<uintptr_t>(hWnd)});
    m_hWnd = hWnd;
    return DD_OK;
}

HRESULT Clipper::GetHWnd(HWND* phWnd)
{
    if (phWnd == nullptr)
        return DDERR_INVALIDPARAMS;
    *phWnd = m_hWnd;
    return DD_OK;
}
} // namespace d3d7
