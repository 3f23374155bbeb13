#pragma once

#include "platform/d3d7/ComObject.h"
#include "platform/d3d7/IDirectDrawClipper.h"

#include <memory>

namespace d3d7
{
class DirectDrawCore;

class Clipper final : public ComObject<IDirectDrawClipper>
{
public:
    explicit Clipper(std::shared_ptr<DirectDrawCore> pkCore);

    HRESULT SetHWnd(DWORD dwFlags, HWND hWnd) override;
    HRESULT GetHWnd(HWND* phWnd) override;

    HWND GetWindow() const { return m_hWnd; }

private:
    ~Clipper() override = default;

    std::shared_ptr<DirectDrawCore> m_pkCore;
    HWND m_hWnd = nullptr;
};
} // namespace d3d7
