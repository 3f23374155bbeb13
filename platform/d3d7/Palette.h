#pragma once

#include "platform/d3d7/ComObject.h"
#include "platform/d3d7/IDirectDrawPalette.h"

#include <array>
#include <memory>

namespace d3d7
{
class DirectDrawCore;

class Palette final : public ComObject<IDirectDrawPalette>
{
public:
    Palette(std::shared_ptr<DirectDrawCore> pkCore, const PALETTEENTRY* pkEntries);

    HRESULT GetEntries(DWORD dwFlags, DWORD dwBase, DWORD dwNumEntries, PALETTEENTRY* pkEntries) override;
    HRESULT SetEntries(DWORD dwFlags, DWORD dwStartingEntry, DWORD dwCount, PALETTEENTRY* pkEntries) override;

    const PALETTEENTRY* Entries() const { return m_kEntries.data(); }

private:
    ~Palette() override = default;

    std::shared_ptr<DirectDrawCore> m_pkCore;
    std::array<PALETTEENTRY, 256> m_kEntries{};
};
} // namespace d3d7
