#include "platform/d3d7/Palette.h"

#include "platform/d3d7/DirectDrawCore.h"

#include <algorithm>

namespace d3d7
{
Palette::Palette(std::shared_ptr<DirectDrawCore> pkCore, const PALETTEENTRY* pkEntries)
    : ComObject(IID_IUnknown), m_pkCore(std::move(pkCore))
{
    if (pkEntries != nullptr)
        std::copy(pkEntries, pkEntries + m_kEntries.size(), m_kEntries.begin());
}

HRESULT Palette::GetEntries(DWORD dwFlags, DWORD dwBase, DWORD dwNumEntries, PALETTEENTRY* pkEntries)
{
    m_pkCore->GetWorld().Log("GetEntries", {dwFlags, dwBase, dwNumEntries});
    if (pkEntries == nullptr || dwBase > m_kEntries.size() || dwNumEntries > m_kEntries.size() - dwBase)
        return DDERR_INVALIDPARAMS;
    std::copy_n(m_kEntries.begin() + dwBase, dwNumEntries, pkEntries);
    return DD_OK;
}

HRESULT Palette::SetEntries(DWORD dwFlags, DWORD dwStartingEntry, DWORD dwCount, PALETTEENTRY* pkEntries)
{
    m_pkCore->GetWorld().Log("SetEntries", {dwFlags, dwStartingEntry, dwCount});
    if (HRESULT hr = m_pkCore->GetWorld().Injected("SetEntries"); FAILED(hr))
        return hr;
    if (pkEntries == nullptr || dwStartingEntry > m_kEntries.size() ||
        dwCount > m_kEntries.size() - dwStartingEntry)
        return DDERR_INVALIDPARAMS;
    std::copy_n(pkEntries, dwCount, m_kEntries.begin() + dwStartingEntry);
    return DD_OK;
}
} // namespace d3d7
