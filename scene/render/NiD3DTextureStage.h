#pragma once

#include "platform/d3d7/D3DTypes.h"
#include "scene/graph/NiImage.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>

// One texture stage of a pass plan: the image, how it is sampled and addressed, where its
// coordinates come from, how it combines with what is below it, and what it was made from.
class NiD3DTextureStage
{
public:
    // How a stage combines: as the second stage of a two-stage pass (its stage-1 colour
    // operation), or, starting a later pass, through the frame-buffer blend of its kind.
    enum BlendKind : uint32_t
    {
        STAGE_ADD = 0,
        STAGE_ADD_ALPHA = 1,
        STAGE_BLEND_ALPHA = 2,
        STAGE_MODULATE = 3,
        STAGE_MODULATE2X = 4,
        BLEND_KIND_COUNT = 5
    };

    static constexpr uint32_t NO_FORMAT = 7;

    // Back to the record of a new stage.
    void Reset() { *this = NiD3DTextureStage(); }

    NiRefPtr<NiImage> m_spImage;
    uint32_t m_uiFormat = NO_FORMAT;
    uint32_t m_uiFilter = 0;
    uint32_t m_uiAddressU = D3DTADDRESS_WRAP;
    uint32_t m_uiAddressV = D3DTADDRESS_WRAP;
    uint32_t m_uiTexCoordIndex = 0;
    D3DMATRIX m_kTransform{1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
                           0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
    bool m_bProjected = false;
    uint32_t m_uiBlendKind = STAGE_MODULATE;
    bool m_bApply = true;
    // The texture property, multi-texture map or texture effect the stage came from; null for
    // the pipeline's own stages.
    const void* m_pkOwner = nullptr;
};
