#pragma once

#include "scene/object/NiPoint3.h"
#include "scene/object/NiRotationMatrix.h"

#include <cstdint>
#include <memory>

class NiAVObject;
class NiOBBNode;
class NiPicker;

// The collision data of a triangle object: its oriented-box tree, with the time span, velocity
// and world transform the tree's boxes are evaluated with for the current query, and a counter
// of transform changes that lets every box refresh its world form lazily.
class NiOBBRoot
{
public:
    // Builds the tree over the triangles (at least one) from the model vertices; the leaves keep
    // the addresses of their corners in the world vertex array, which must outlive this.
    NiOBBRoot(uint16_t usTriangles, const uint16_t* pusIndices, const NiPoint3* pkModelVertices,
              const NiPoint3* pkWorldVertices, int32_t iBoxTriangles);
    virtual ~NiOBBRoot();
    NiOBBRoot(const NiOBBRoot&) = delete;
    NiOBBRoot& operator=(const NiOBBRoot&) = delete;

    void UpdateTransform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate, float fScale);
    virtual bool TestCollision(NiOBBRoot& kOther, int32_t iDepth0, int32_t iDepth1);
    virtual int32_t CollectCollisions(NiOBBRoot& kOther, NiAVObject* pkRoot0, NiAVObject* pkRoot1,
                                      NiAVObject* pkObject0, NiAVObject* pkObject1, int32_t iDepth0,
                                      int32_t iDepth1);
    virtual int32_t FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker,
                                 bool& bHit, NiAVObject* pkObject, uint32_t uiCounter);

    NiOBBNode* GetTree() const { return m_spTree.get(); }

    float m_fSpan = 0.0f;
    bool m_bChanged = false;
    NiPoint3 m_kVelocity = NiPoint3::ZERO;
    NiRotationMatrix m_kRotate = NiRotationMatrix::IDENTITY;
    NiPoint3 m_kTranslate = NiPoint3::ZERO;
    float m_fScale = 1.0f;
    uint32_t m_uiRevision = 0;

private:
    std::unique_ptr<NiOBBNode> m_spTree;
};
