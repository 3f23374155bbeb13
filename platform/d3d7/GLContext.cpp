#include "platform/d3d7/GLContext.h"

namespace d3d7
{
std::unique_ptr<GLContext> GLContext::Create()
{
    return nullptr;
}
GLContext::~GLContext() = default;
void GLContext::MakeCurrent() {}
bool GLContext::CreateRenderTarget(Surface&)
{
    return false;
}
bool GLContext::CreateDepthBuffer(Surface&)
{
    return false;
}
bool GLContext::AttachDepthBuffer(Surface&, Surface*)
{
    return false;
}
void GLContext::DeleteObjects(Surface&) {}
bool GLContext::ReadPixels(Surface&, const RECT&, std::vector<uint32_t>&)
{
    return false;
}
bool GLContext::DrawPixels(Surface&, const RECT&, const std::vector<uint32_t>&, uint32_t, uint32_t, bool)
{
    return false;
}
void GLContext::Clear(Surface&, const std::vector<RECT>&, DWORD, D3DCOLOR, D3DVALUE, DWORD) {}
bool GLContext::BindTexture(Surface&)
{
    return false;
}
bool GLContext::BindTarget(Surface&)
{
    return false;
}
} // namespace d3d7
