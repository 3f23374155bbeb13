#pragma once

#include "scene/graph/NiOBBox.h"

#include <cstdint>
#include <memory>
#include <vector>

class NiAVObject;
class NiPicker;

// An inner node of an oriented-box tree: its box and two children (both or neither; a node
// without children covers a few triangles and is the finest answer the tree gives there), with
// the transform counter its world box was last computed for. Depth budgets below 0 never run
// out; 0 stops the descent on that side.
class NiOBBNode
{
public:
    // What the builder needs of the triangles: the index list and the model vertices, per
    // triangle its area and centroid, and the order being partitioned.
    struct BuildData
    {
        const uint16_t* m_pusIndices;
        const NiPoint3* m_pkModelVertices;
        const NiPoint3* m_pkWorldVertices;
        std::vector<float> m_kAreas;
        std::vector<NiPoint3> m_kCentroids;
        std::vector<uint16_t> m_kOrder;
        std::vector<uint16_t> m_kScratch;
        int32_t m_iBoxTriangles;
    };

    explicit NiOBBNode(NiOBBRoot* pkOwner);
    virtual ~NiOBBNode();
    NiOBBNode(const NiOBBNode&) = delete;
    NiOBBNode& operator=(const NiOBBNode&) = delete;

    // The node over positions first..last of the order (two or more triangles).
    static std::unique_ptr<NiOBBNode> Build(NiOBBRoot* pkOwner, BuildData& kData, int32_t iFirst,
                                            int32_t iLast);

    virtual bool IsLeaf() const { return false; }
    virtual bool TestCollision(NiOBBNode* pkOther, int32_t iDepth0, int32_t iDepth1);
    virtual int32_t CollectCollisions(NiOBBNode* pkOther, NiAVObject* pkRoot0, NiAVObject* pkRoot1,
                                      NiAVObject* pkObject0, NiAVObject* pkObject1, int32_t iDepth0,
                                      int32_t iDepth1, uint32_t uiCounter0, uint32_t uiCounter1);
    virtual int32_t FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker,
                                 bool& bHit, NiAVObject* pkObject, uint32_t uiCounter);

    bool HasChildren() const { return m_spLeft != nullptr; }
    NiOBBNode* GetLeft() const { return m_spLeft.get(); }
    NiOBBNode* GetRight() const { return m_spRight.get(); }
    const NiOBBox& GetBox() const { return m_kBox; }

    // The world box under the object's world transform, when the counter moved on.
    void Refresh(const NiAVObject* pkObject, uint32_t uiCounter);
    // The same from the owner's stored transform.
    void RefreshFromOwner();

protected:
    // The box-level contact report of two nodes; 1 when a callback asked to stop.
    int32_t ReportBoxes(NiOBBNode* pkOther, NiAVObject* pkRoot0, NiAVObject* pkRoot1, NiAVObject* pkObject0,
                        NiAVObject* pkObject1);

    NiOBBox m_kBox;
    std::unique_ptr<NiOBBNode> m_spLeft;
    std::unique_ptr<NiOBBNode> m_spRight;
    uint32_t m_uiRevision = 0;

private:
    void Fit(const BuildData& kData, int32_t iFirst, int32_t iLast);
    // The left part ends at the returned position; the right part starts after it.
    int32_t Split(BuildData& kData, int32_t iFirst, int32_t iLast);
};
