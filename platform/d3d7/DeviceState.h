#pragma once

#include "platform/d3d7/D3DTypes.h"

#include <array>
#include <map>
#include <vector>

namespace d3d7
{
class Surface;

// A device's state as the Direct3D values it was given; the OpenGL back end translates it
// at each draw.
struct DeviceState
{
    struct LightSlot
    {
        D3DLIGHT7 kLight;
        bool bEnabled = false;
    };

    std::array<DWORD, D3D_MAXRENDERSTATES> kRenderStates{};
    std::array<std::array<DWORD, D3D_MAXTEXTURESTAGESTATES>, D3D_MAXTEXTURESTAGES> kStageStates{};
    std::array<Surface*, D3D_MAXTEXTURESTAGES> kTextures{}; // each holds a reference
    D3DMATRIX kWorld;
    D3DMATRIX kView;
    D3DMATRIX kProjection;
    std::array<D3DMATRIX, D3D_MAXTEXTURESTAGES> kTextureMatrices;
    std::map<DWORD, LightSlot> kLights;
    std::vector<DWORD> kEnabledLights; // in the order they were enabled
    D3DMATERIAL7 kMaterial;
    D3DVIEWPORT7 kViewport;
    // Bumped by every change, so the GL side can tell what to send again.
    uint64_t uiLightRevision = 0;
    uint64_t uiMaterialRevision = 0;

    // The defaults a new device starts with; bZBuffer: the target has a z-buffer.
    void Reset(bool bZBuffer);
    static D3DMATRIX Identity();
};
} // namespace d3d7
