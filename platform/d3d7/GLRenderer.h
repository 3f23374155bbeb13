#pragma once

#include "platform/d3d7/DeviceState.h"

#include <cstdint>

namespace d3d7
{
class DirectDrawCore;
class Surface;

// Draws for one device on the OpenGL back end: sends the device state to GL (render states,
// texture stages, transforms, lights, material, viewport) and draws from memory vertices.
class GLRenderer
{
public:
    explicit GLRenderer(DirectDrawCore& kCore);
    ~GLRenderer();

    GLRenderer(const GLRenderer&) = delete;
    GLRenderer& operator=(const GLRenderer&) = delete;

    bool IsReady() const { return m_bReady; }
    // Vertices in the layout of dwFVF; pwIndices (relative to pucVertices) or none.
    void Draw(const DeviceState& kState, Surface& kTarget, D3DPRIMITIVETYPE eType, DWORD dwFVF,
              const uint8_t* pucVertices, DWORD dwVertexCount, const WORD* pwIndices, DWORD dwIndexCount);

private:
    void SendRenderStates(const DeviceState& kState, bool bDepth);
    void SendLighting(const DeviceState& kState, DWORD dwFVF);
    void SendStages(const DeviceState& kState, DWORD dwFVF, const uint8_t* pucVertices, uint32_t uiStride,
                    uint32_t uiTexOffset);
    void BindWhite();
    static bool PixelFormatHasAlpha(const Surface& kSurface);

    DirectDrawCore& m_kCore;
    bool m_bReady = false;
    uint32_t m_uiWhite = 0; // a 1x1 white texture for stages without one
};
} // namespace d3d7
