#include "scene/graph/NiOBBRoot.h"

#include "scene/graph/NiOBBLeaf.h"
#include "scene/graph/NiOBBNode.h"

NiOBBRoot::NiOBBRoot(uint16_t usTriangles, const uint16_t* pusIndices, const NiPoint3* pkModelVertices,
                     const NiPoint3* pkWorldVertices, int32_t iBoxTriangles)
{
    if (usTriangles < 2)
    {
        m_spTree = std::make_unique<NiOBBLeaf>(this, pusIndices, pkModelVertices, pkWorldVertices, 0);
        return;
    }
    NiOBBNode::BuildData kData{pusIndices, pkModelVertices, pkWorldVertices, {}, {}, {}, {}, iBoxTriangles};
    kData.m_kAreas.resize(usTriangles);
    kData.m_kCentroids.resize(usTriangles);
    kData.m_kOrder.resize(usTriangles);
    kData.m_kScratch.resize(usTriangles);
    for (uint16_t i = 0; i < usTriangles; ++i)
    {
        const NiPoint3& kP0 = pkModelVertices[pusIndices[3 * i]];
        const NiPoint3& kP1 = pkModelVertices[pusIndices[3 * i + 1]];
        const NiPoint3& kP2 = pkModelVertices[pusIndices[3 * i + 2]];
        kData.m_kAreas[i] = (kP1 - kP0).Cross(kP2 - kP0).Length() * 0.5f;
        kData.m_kCentroids[i] = (kP0 + kP1 + kP2) * (1.0f / 3.0f);
        kData.m_kOrder[i] = i;
    }
    m_spTree = NiOBBNode::Build(this, kData, 0, usTriangles - 1);
}

NiOBBRoot::~NiOBBRoot() = default;

void NiOBBRoot::UpdateTransform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate, float fScale)
{
    if (kTranslate == m_kTranslate && fScale == m_fScale && kRotate == m_kRotate)
        return;
    m_kRotate = kRotate;
    m_kTranslate = kTranslate;
    m_fScale = fScale;
    m_bChanged = true;
    ++m_uiRevision;
}

bool NiOBBRoot::TestCollision(NiOBBRoot& kOther, int32_t iDepth0, int32_t iDepth1)
{
    if (&kOther == this)
        return false;
    for (NiOBBRoot* pkRoot : {&kOther, this})
    {
        if (pkRoot->m_bChanged)
        {
            pkRoot->m_bChanged = false;
            pkRoot->m_spTree->RefreshFromOwner();
        }
    }
    return m_spTree->TestCollision(kOther.m_spTree.get(), iDepth0, iDepth1);
}

int32_t NiOBBRoot::CollectCollisions(NiOBBRoot& kOther, NiAVObject* pkRoot0, NiAVObject* pkRoot1,
                                     NiAVObject* pkObject0, NiAVObject* pkObject1, int32_t iDepth0,
                                     int32_t iDepth1)
{
    if (&kOther == this)
        return 0;
    return m_spTree->CollectCollisions(kOther.m_spTree.get(), pkRoot0, pkRoot1, pkObject0, pkObject1, iDepth0,
                                       iDepth1, m_uiRevision, kOther.m_uiRevision);
}

int32_t NiOBBRoot::FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker,
                                bool& bHit, NiAVObject* pkObject, uint32_t uiCounter)
{
    return m_spTree->FindPickHits(kOrigin, kDirection, kPicker, bHit, pkObject, uiCounter);
}
