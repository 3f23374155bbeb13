#include "platform/d3d7/GLRenderer.h"

namespace d3d7
{
GLRenderer::GLRenderer(DirectDrawCore& kCore) : m_kCore(kCore) {}
GLRenderer::~GLRenderer() = default;
void GLRenderer::Draw(const DeviceState&, Surface&, D3DPRIMITIVETYPE, DWORD, const uint8_t*, DWORD,
                      const WORD*, DWORD)
{
}
} // namespace d3d7
