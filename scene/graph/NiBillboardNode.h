#pragma once

#include "scene/graph/NiNode.h"

#include <cstdint>

// A group node that turns its subtree toward the camera each time it is drawn: facing the
// camera with its z axis (kept as upright as the view allows), turning about its own y axis
// only, or taking the camera's orientation. The turn never enters the local transform; its
// bound is a sphere about its origin that holds the subtree under any turn.
class NiBillboardNode : public NiNode
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    // Flag bits 5-6; the value 3 keeps the node unturned.
    enum FaceMode : uint16_t
    {
        ALWAYS_FACE_CAMERA = 0,
        ROTATE_ABOUT_UP = 1,
        RIGID_FACE_CAMERA = 2
    };
    static constexpr uint16_t MODE_MASK = 0x0060;
    static constexpr uint16_t MODE_SHIFT = 5;

    NiBillboardNode();
    ~NiBillboardNode() override;

    void SetMode(uint16_t usMode);
    uint16_t GetMode() const { return static_cast<uint16_t>((m_usFlags & MODE_MASK) >> MODE_SHIFT); }

    void PropagateUpdate(float fTime) override;
    void PassedCulling(NiCamera* pkCamera) override;
    void RecomputeWorldBound() override;

    NiObject* MakeClone() override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    // The turn in the frame of the unturned world rotation, for the camera.
    NiRotationMatrix ComputeTurn(const NiCamera& kCamera, const NiRotationMatrix& kFrame,
                                 const NiPoint3& kTranslate, float fScale) const;

    float m_fUpdateTime = 0.0f;
};
