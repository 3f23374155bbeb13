#pragma once

#include "scene/object/NiPoint3.h"

class NiOBBRoot;
class NiRotationMatrix;

// An oriented box of a box tree: the box in the object's model space and the same box under the
// object's world transform, with the tree's owner, whose time span and velocity the moving-box
// tests read.
class NiOBBox
{
public:
    // Between the box axes' lengths and zero; shared by the fits, normals and the box search.
    static constexpr float SMALL = 1e-6f;

    void Transform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate, float fScale);
    // The two boxes, each moving with its owner's velocity, may touch within this owner's span.
    bool TestIntersect(const NiOBBox& kOther) const;
    // First contact time and point; at time 0 with the point untouched when they overlap at once.
    bool FindIntersect(const NiOBBox& kOther, float& fTime, NiPoint3& kPoint) const;
    void GetNormal(const NiPoint3& kPoint, NiPoint3& kNormal) const;
    bool TestRay(const NiPoint3& kOrigin, const NiPoint3& kDirection) const;
    bool FindRay(const NiPoint3& kOrigin, const NiPoint3& kDirection, float& fDistance,
                 NiPoint3& kNormal) const;

    NiPoint3 m_kModelCenter = NiPoint3::ZERO;
    NiPoint3 m_akModelAxis[3] = {NiPoint3::UNIT_X, NiPoint3::UNIT_Y, NiPoint3::UNIT_Z};
    float m_afModelExtent[3] = {0.0f, 0.0f, 0.0f};
    NiPoint3 m_kWorldCenter = NiPoint3::ZERO;
    NiPoint3 m_akWorldAxis[3] = {NiPoint3::UNIT_X, NiPoint3::UNIT_Y, NiPoint3::UNIT_Z};
    float m_afWorldExtent[3] = {0.0f, 0.0f, 0.0f};
    NiOBBRoot* m_pkOwner = nullptr;
};
