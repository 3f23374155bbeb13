#pragma once

#include "scene/graph/NiOBBNode.h"

// A leaf of an oriented-box tree: one triangle, its flat box, and the addresses of its corners
// in the object's world vertex array.
class NiOBBLeaf : public NiOBBNode
{
public:
    NiOBBLeaf(NiOBBRoot* pkOwner, const uint16_t* pusIndices, const NiPoint3* pkModelVertices,
              const NiPoint3* pkWorldVertices, uint16_t usTriangle);

    bool IsLeaf() const override { return true; }
    bool TestCollision(NiOBBNode* pkOther, int32_t iDepth0, int32_t iDepth1) override;
    int32_t CollectCollisions(NiOBBNode* pkOther, NiAVObject* pkRoot0, NiAVObject* pkRoot1,
                              NiAVObject* pkObject0, NiAVObject* pkObject1, int32_t iDepth0, int32_t iDepth1,
                              uint32_t uiCounter0, uint32_t uiCounter1) override;
    int32_t FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker, bool& bHit,
                         NiAVObject* pkObject, uint32_t uiCounter) override;

    const NiPoint3* const* GetCorners() const { return m_apkCorner; }

    // Where two leaves' moving triangles first touch (corners at time 0, each moving with its
    // owner's velocity over this owner's span).
    bool FindTriangleContact(const NiOBBLeaf& kOther, float& fTime, NiPoint3& kPoint) const;

private:
    const NiPoint3* m_apkCorner[3];
    uint16_t m_usTriangle;
    uint16_t m_ausVertex[3];
};
