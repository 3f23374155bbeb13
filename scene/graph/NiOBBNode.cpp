#include "scene/graph/NiOBBNode.h"

#include "scene/graph/NiAVObject.h"
#include "scene/graph/NiCollisionReport.h"
#include "scene/graph/NiOBBLeaf.h"
#include "scene/graph/NiOBBRoot.h"

#include <algorithm>

// Sections: construction and the box fit; refreshing; the tree test; the tree search; picking.

NiOBBNode::NiOBBNode(NiOBBRoot* pkOwner)
{
    m_kBox.m_pkOwner = pkOwner;
}

NiOBBNode::~NiOBBNode() = default;

//--- Construction and the box fit ---------------------------------------------------------------

std::unique_ptr<NiOBBNode> NiOBBNode::Build(NiOBBRoot* pkOwner, BuildData& kData, int32_t iFirst,
                                            int32_t iLast)
{
    auto spNode = std::make_unique<NiOBBNode>(pkOwner);
    spNode->Fit(kData, iFirst, iLast);
    if (iLast - iFirst < kData.m_iBoxTriangles)
        return spNode;
    int32_t iLeftEnd = spNode->Split(kData, iFirst, iLast);
    auto part = [&](int32_t iFrom, int32_t iTo) -> std::unique_ptr<NiOBBNode>
    {
        if (iFrom == iTo)
            return std::make_unique<NiOBBLeaf>(pkOwner, kData.m_pusIndices, kData.m_pkModelVertices,
                                               kData.m_pkWorldVertices, kData.m_kOrder[iFrom]);
        return Build(pkOwner, kData, iFrom, iTo);
    };
    spNode->m_spLeft = part(iFirst, iLeftEnd);
    spNode->m_spRight = part(iLeftEnd + 1, iLast);
    return spNode;
}

void NiOBBNode::Fit(const BuildData& kData, int32_t iFirst, int32_t iLast)
{
    auto corner = [&](uint16_t usTriangle, int k) -> const NiPoint3&
    { return kData.m_pkModelVertices[kData.m_pusIndices[3 * usTriangle + k]]; };
    auto addOuter = [](float afM[3][3], const NiPoint3& kP, float fWeight)
    {
        const float afP[3] = {kP.x, kP.y, kP.z};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                afM[r][c] += fWeight * afP[r] * afP[c];
    };
    float fArea = 0.0f;
    NiPoint3 kMean = NiPoint3::ZERO;
    float afM[3][3] = {};
    for (int32_t i = iFirst; i <= iLast; ++i)
    {
        uint16_t usTriangle = kData.m_kOrder[i];
        float fTriangleArea = kData.m_kAreas[usTriangle];
        fArea += fTriangleArea;
        kMean += kData.m_kCentroids[usTriangle] * fTriangleArea;
        addOuter(afM, kData.m_kCentroids[usTriangle], fTriangleArea);
        for (int k = 0; k < 3; ++k)
            addOuter(afM, corner(usTriangle, k), fTriangleArea);
    }
    NiRotationMatrix kCovariance;
    if (fArea > 0.0f)
    {
        kMean = kMean / fArea;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                kCovariance.m_aafEntry[r][c] = afM[r][c] / (4.0f * fArea);
    }
    else
    {
        // Every triangle is degenerate: the plain spread of the corners, without dividing by 0.
        float afPlain[3][3] = {};
        kMean = NiPoint3::ZERO;
        float fCount = 0.0f;
        for (int32_t i = iFirst; i <= iLast; ++i)
        {
            for (int k = 0; k < 3; ++k)
            {
                kMean += corner(kData.m_kOrder[i], k);
                addOuter(afPlain, corner(kData.m_kOrder[i], k), 1.0f);
                fCount += 1.0f;
            }
        }
        kMean = kMean / fCount;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                kCovariance.m_aafEntry[r][c] = afPlain[r][c] / fCount;
    }
    const float afMean[3] = {kMean.x, kMean.y, kMean.z};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            kCovariance.m_aafEntry[r][c] -= afMean[r] * afMean[c];

    float afEigenvalue[3];
    NiRotationMatrix kVectors;
    kCovariance.EigenSolveSymmetric(afEigenvalue, kVectors);
    float afMin[3] = {}, afMax[3] = {};
    for (int k = 0; k < 3; ++k)
    {
        m_kBox.m_akModelAxis[k] =
            NiPoint3(kVectors.m_aafEntry[k][0], kVectors.m_aafEntry[k][1], kVectors.m_aafEntry[k][2]);
        afMin[k] = 3.4028235e38f;
        afMax[k] = -3.4028235e38f;
    }
    for (int32_t i = iFirst; i <= iLast; ++i)
    {
        for (int c = 0; c < 3; ++c)
        {
            NiPoint3 kOffset = corner(kData.m_kOrder[i], c) - kMean;
            for (int k = 0; k < 3; ++k)
            {
                float fProjection = kOffset.DotProduct(m_kBox.m_akModelAxis[k]);
                afMin[k] = std::min(afMin[k], fProjection);
                afMax[k] = std::max(afMax[k], fProjection);
            }
        }
    }
    m_kBox.m_kModelCenter = kMean;
    for (int k = 0; k < 3; ++k)
    {
        m_kBox.m_afModelExtent[k] = (afMax[k] - afMin[k]) * 0.5f;
        m_kBox.m_kModelCenter += m_kBox.m_akModelAxis[k] * ((afMax[k] + afMin[k]) * 0.5f);
    }
    m_kBox.Transform(NiRotationMatrix::IDENTITY, NiPoint3::ZERO, 1.0f);
}

int32_t NiOBBNode::Split(BuildData& kData, int32_t iFirst, int32_t iLast)
{
    int32_t iMiddle = (iFirst + iLast) / 2;
    for (const NiPoint3& kAxis : m_kBox.m_akModelAxis)
    {
        int32_t iLeft = iFirst;
        int32_t iRight = iLast;
        for (int32_t i = iFirst; i <= iLast; ++i)
        {
            uint16_t usTriangle = kData.m_kOrder[i];
            float fSide = (kData.m_kCentroids[usTriangle] - m_kBox.m_kModelCenter).DotProduct(kAxis);
            bool bLeft = fSide > 0.0f || (fSide == 0.0f && i <= iMiddle);
            if (bLeft)
                kData.m_kScratch[iLeft++] = usTriangle;
            else
                kData.m_kScratch[iRight--] = usTriangle;
        }
        if (iLeft > iFirst && iRight < iLast)
        {
            std::copy(kData.m_kScratch.begin() + iFirst, kData.m_kScratch.begin() + iLast + 1,
                      kData.m_kOrder.begin() + iFirst);
            return iLeft - 1;
        }
    }
    return iMiddle;
}

//--- Refreshing ---------------------------------------------------------------------------------

void NiOBBNode::Refresh(const NiAVObject* pkObject, uint32_t uiCounter)
{
    if (m_uiRevision == uiCounter || !pkObject)
        return;
    m_kBox.Transform(pkObject->GetWorldRotate(), pkObject->GetWorldTranslate(), pkObject->GetWorldScale());
    m_uiRevision = uiCounter;
}

void NiOBBNode::RefreshFromOwner()
{
    const NiOBBRoot* pkOwner = m_kBox.m_pkOwner;
    if (!pkOwner || m_uiRevision == pkOwner->m_uiRevision)
        return;
    m_kBox.Transform(pkOwner->m_kRotate, pkOwner->m_kTranslate, pkOwner->m_fScale);
    m_uiRevision = pkOwner->m_uiRevision;
}

//--- The tree test ------------------------------------------------------------------------------

bool NiOBBNode::TestCollision(NiOBBNode* pkOther, int32_t iDepth0, int32_t iDepth1)
{
    if (!pkOther)
        return false;
    RefreshFromOwner();
    pkOther->RefreshFromOwner();
    if (!m_kBox.TestIntersect(pkOther->m_kBox))
        return false;
    if (iDepth0 == 0 || iDepth1 == 0)
        return true;
    if (!HasChildren() || (!pkOther->IsLeaf() && !pkOther->HasChildren()))
        return true;
    if (pkOther->IsLeaf())
        return m_spLeft->TestCollision(pkOther, iDepth0 - 1, iDepth1) ||
               m_spRight->TestCollision(pkOther, iDepth0 - 1, iDepth1);
    for (NiOBBNode* pkMine : {m_spLeft.get(), m_spRight.get()})
    {
        for (NiOBBNode* pkTheirs : {pkOther->m_spLeft.get(), pkOther->m_spRight.get()})
        {
            if (pkMine->TestCollision(pkTheirs, iDepth0 - 1, iDepth1 - 1))
                return true;
        }
    }
    return false;
}

//--- The tree search ----------------------------------------------------------------------------

int32_t NiOBBNode::CollectCollisions(NiOBBNode* pkOther, NiAVObject* pkRoot0, NiAVObject* pkRoot1,
                                     NiAVObject* pkObject0, NiAVObject* pkObject1, int32_t iDepth0,
                                     int32_t iDepth1, uint32_t uiCounter0, uint32_t uiCounter1)
{
    if (!pkOther)
        return 0;
    Refresh(pkObject0, uiCounter0);
    pkOther->Refresh(pkObject1, uiCounter1);
    if (!m_kBox.TestIntersect(pkOther->m_kBox))
        return 0;
    if (iDepth0 == 0 || iDepth1 == 0 || !HasChildren())
        return ReportBoxes(pkOther, pkRoot0, pkRoot1, pkObject0, pkObject1);
    for (NiOBBNode* pkChild : {m_spLeft.get(), m_spRight.get()})
    {
        if (pkChild->CollectCollisions(pkOther, pkRoot0, pkRoot1, pkObject0, pkObject1, iDepth0 - 1, iDepth1,
                                       uiCounter0, uiCounter1) == 1)
            return 1;
    }
    return 0;
}

int32_t NiOBBNode::ReportBoxes(NiOBBNode* pkOther, NiAVObject* pkRoot0, NiAVObject* pkRoot1,
                               NiAVObject* pkObject0, NiAVObject* pkObject1)
{
    NiCollisionReport kReport;
    kReport.m_pkRoot0 = pkRoot0;
    kReport.m_pkRoot1 = pkRoot1;
    kReport.m_pkObject0 = pkObject0;
    kReport.m_pkObject1 = pkObject1;
    const NiOBBox& kOther = pkOther->m_kBox;
    // At rest, or already overlapping while moving: the middle of the two centres.
    kReport.m_kPoint = (m_kBox.m_kWorldCenter + kOther.m_kWorldCenter) * 0.5f;
    kReport.m_fTime = 0.0f;
    const NiPoint3 kVelocity0 = m_kBox.m_pkOwner ? m_kBox.m_pkOwner->m_kVelocity : NiPoint3::ZERO;
    const NiPoint3 kVelocity1 = kOther.m_pkOwner ? kOther.m_pkOwner->m_kVelocity : NiPoint3::ZERO;
    if ((kVelocity0 != NiPoint3::ZERO || kVelocity1 != NiPoint3::ZERO) &&
        !m_kBox.FindIntersect(kOther, kReport.m_fTime, kReport.m_kPoint))
        return 0;
    m_kBox.GetNormal(kReport.m_kPoint, kReport.m_kNormal0);
    kOther.GetNormal(kReport.m_kPoint, kReport.m_kNormal1);
    return NiAVObject::DispatchCollision(&kReport);
}

//--- Picking ------------------------------------------------------------------------------------

int32_t NiOBBNode::FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker,
                                bool& bHit, NiAVObject* pkObject, uint32_t uiCounter)
{
    Refresh(pkObject, uiCounter);
    if (!HasChildren() || !m_kBox.TestRay(kOrigin, kDirection))
        return 0;
    for (NiOBBNode* pkChild : {m_spLeft.get(), m_spRight.get()})
    {
        if (pkChild->FindPickHits(kOrigin, kDirection, kPicker, bHit, pkObject, uiCounter) == 1)
            return 1;
    }
    return 0;
}
