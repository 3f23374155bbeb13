#pragma once

#include "platform/d3d7/World.h"

#include <memory>

namespace d3d7
{
class GLContext;

// What the objects made by one DirectDraw object share: the world, the driver, the texture
// memory in use and, on the OpenGL back end, the GL context. Every surface, device and
// vertex buffer holds it, so the context outlives all GL objects made in it.
class DirectDrawCore
{
public:
    DirectDrawCore(std::shared_ptr<World> pkWorld, size_t uiDriver);
    ~DirectDrawCore();

    DirectDrawCore(const DirectDrawCore&) = delete;
    DirectDrawCore& operator=(const DirectDrawCore&) = delete;

    World& GetWorld() const { return *m_pkWorld; }
    const DriverConfig& GetDriver() const { return m_pkWorld->kDrivers[m_uiDriver]; }
    bool IsGL() const { return m_pkWorld->GetBackend() == Backend::OpenGL; }
    // The GL context made current, created on first use; null on the recording back end or
    // when no context can be made.
    GLContext* GL();

    DWORD dwTextureMemoryUsed = 0;
    HWND hCooperativeWindow = nullptr;
    DWORD dwCooperativeLevel = 0;

private:
    std::shared_ptr<World> m_pkWorld;
    size_t m_uiDriver;
    std::unique_ptr<GLContext> m_pkGL;
    bool m_bGLFailed = false;
};
} // namespace d3d7
