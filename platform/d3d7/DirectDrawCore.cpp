#include "platform/d3d7/DirectDrawCore.h"

#include "platform/d3d7/GLContext.h"

namespace d3d7
{
DirectDrawCore::DirectDrawCore(std::shared_ptr<World> pkWorld, size_t uiDriver)
    : m_pkWorld(std::move(pkWorld)), m_uiDriver(uiDriver)
{
}

DirectDrawCore::~DirectDrawCore() = default;

GLContext* DirectDrawCore::GL()
{
    if (!IsGL() || m_bGLFailed)
        return nullptr;
    if (!m_pkGL)
    {
        m_pkGL = GLContext::Create();
        m_bGLFailed = !m_pkGL;
        if (m_bGLFailed)
            return nullptr;
    }
    m_pkGL->MakeCurrent();
    return m_pkGL.get();
}
} // namespace d3d7
