#include "scene/graph/NiOBBLeaf.h"

#include "scene/graph/NiAVObject.h"
#include "scene/graph/NiCollisionReport.h"
#include "scene/graph/NiOBBRoot.h"
#include "scene/graph/NiPicker.h"
#include "scene/graph/NiTriBasedGeom.h"

#include <algorithm>
#include <cmath>

// Sections: the leaf box; the test and the search; the triangle contact; picking.

namespace
{
NiPoint3 UnitOrZero(const NiPoint3& kVector)
{
    float fLength = kVector.Length();
    return fLength <= NiOBBox::SMALL ? NiPoint3::ZERO : kVector / fLength;
}
} // namespace

//--- The leaf box -------------------------------------------------------------------------------

NiOBBLeaf::NiOBBLeaf(NiOBBRoot* pkOwner, const uint16_t* pusIndices, const NiPoint3* pkModelVertices,
                     const NiPoint3* pkWorldVertices, uint16_t usTriangle)
    : NiOBBNode(pkOwner), m_usTriangle(usTriangle)
{
    NiPoint3 akP[3];
    for (int k = 0; k < 3; ++k)
    {
        m_ausVertex[k] = pusIndices[3 * usTriangle + k];
        akP[k] = pkModelVertices[m_ausVertex[k]];
        m_apkCorner[k] = pkWorldVertices ? &pkWorldVertices[m_ausVertex[k]] : nullptr;
    }
    NiPoint3* akAxis = m_kBox.m_akModelAxis;
    akAxis[0] = UnitOrZero(akP[1] - akP[0]);
    NiPoint3 kSecond = akP[2] - akP[0];
    akAxis[1] = UnitOrZero(kSecond - akAxis[0] * kSecond.DotProduct(akAxis[0]));
    akAxis[2] = akAxis[0].Cross(akAxis[1]);
    const NiPoint3 kCentroid = (akP[0] + akP[1] + akP[2]) * (1.0f / 3.0f);
    m_kBox.m_kModelCenter = kCentroid;
    for (int k = 0; k < 3; ++k)
    {
        float fMin = 3.4028235e38f, fMax = -3.4028235e38f;
        for (const NiPoint3& kP : akP)
        {
            float fProjection = (kP - kCentroid).DotProduct(akAxis[k]);
            fMin = std::min(fMin, fProjection);
            fMax = std::max(fMax, fProjection);
        }
        m_kBox.m_afModelExtent[k] = (fMax - fMin) * 0.5f;
        m_kBox.m_kModelCenter += akAxis[k] * ((fMax + fMin) * 0.5f);
    }
    m_kBox.Transform(NiRotationMatrix::IDENTITY, NiPoint3::ZERO, 1.0f);
}

//--- The test and the search --------------------------------------------------------------------

bool NiOBBLeaf::TestCollision(NiOBBNode* pkOther, int32_t iDepth0, int32_t iDepth1)
{
    if (!pkOther)
        return false;
    RefreshFromOwner();
    pkOther->RefreshFromOwner();
    if (!m_kBox.TestIntersect(pkOther->GetBox()))
        return false;
    if (pkOther->IsLeaf() || iDepth1 == 0 || !pkOther->HasChildren())
        return true;
    return TestCollision(pkOther->GetLeft(), iDepth0, iDepth1 - 1) ||
           TestCollision(pkOther->GetRight(), iDepth0, iDepth1 - 1);
}

int32_t NiOBBLeaf::CollectCollisions(NiOBBNode* pkOther, NiAVObject* pkRoot0, NiAVObject* pkRoot1,
                                     NiAVObject* pkObject0, NiAVObject* pkObject1, int32_t iDepth0,
                                     int32_t iDepth1, uint32_t uiCounter0, uint32_t uiCounter1)
{
    if (!pkOther)
        return 0;
    Refresh(pkObject0, uiCounter0);
    pkOther->Refresh(pkObject1, uiCounter1);
    if (!m_kBox.TestIntersect(pkOther->GetBox()))
        return 0;
    if (pkOther->IsLeaf())
    {
        if (iDepth0 >= 0 || iDepth1 >= 0)
            return ReportBoxes(pkOther, pkRoot0, pkRoot1, pkObject0, pkObject1);
        NiCollisionReport kReport;
        kReport.m_pkRoot0 = pkRoot0;
        kReport.m_pkRoot1 = pkRoot1;
        kReport.m_pkObject0 = pkObject0;
        kReport.m_pkObject1 = pkObject1;
        if (!FindTriangleContact(static_cast<const NiOBBLeaf&>(*pkOther), kReport.m_fTime, kReport.m_kPoint))
            return 0;
        m_kBox.GetNormal(kReport.m_kPoint, kReport.m_kNormal0);
        pkOther->GetBox().GetNormal(kReport.m_kPoint, kReport.m_kNormal1);
        return NiAVObject::DispatchCollision(&kReport);
    }
    if (pkOther->HasChildren() && iDepth1 != 0)
    {
        for (NiOBBNode* pkChild : {pkOther->GetLeft(), pkOther->GetRight()})
        {
            if (CollectCollisions(pkChild, pkRoot0, pkRoot1, pkObject0, pkObject1, iDepth0, iDepth1 - 1,
                                  uiCounter0, uiCounter1) == 1)
                return 1;
        }
        return 0;
    }
    return ReportBoxes(pkOther, pkRoot0, pkRoot1, pkObject0, pkObject1);
}

//--- The triangle contact -----------------------------------------------------------------------

namespace
{
struct Place
{
    float m_fTime;
    NiPoint3 m_kPoint;
};

// Barycentric coordinates of a point in the triangle, Y2 as the origin; false when degenerate.
bool Barycentric(const NiPoint3& kPoint, const NiPoint3 akY[3], float afOut[3])
{
    NiPoint3 kE0 = akY[0] - akY[2];
    NiPoint3 kE1 = akY[1] - akY[2];
    NiPoint3 kV = kPoint - akY[2];
    float f00 = kE0.DotProduct(kE0), f01 = kE0.DotProduct(kE1), f11 = kE1.DotProduct(kE1);
    float fDeterminant = f00 * f11 - f01 * f01;
    if (fDeterminant == 0.0f)
        return false;
    float fV0 = kE0.DotProduct(kV), fV1 = kE1.DotProduct(kV);
    afOut[0] = (fV0 * f11 - fV1 * f01) / fDeterminant;
    afOut[1] = (fV1 * f00 - fV0 * f01) / fDeterminant;
    afOut[2] = 1.0f - afOut[0] - afOut[1];
    return true;
}

// Where the edge PQ, moving with the velocity over the span, first meets the triangle at rest;
// only contacts earlier than fBest count.
bool EdgeAgainstTriangle(const NiPoint3& kP, const NiPoint3& kQ, const NiPoint3& kVelocity,
                         const NiPoint3 akY[3], float fSpan, float& fBest, NiPoint3& kBestPoint)
{
    NiPoint3 kNormal = (akY[1] - akY[0]).Cross(akY[2] - akY[0]);
    float fPlane = kNormal.DotProduct(akY[0]);
    NiPoint3 kTravel = kVelocity * fSpan;
    float fP0 = kNormal.DotProduct(kP) - fPlane;
    float fQ0 = kNormal.DotProduct(kQ) - fPlane;
    float fP1 = fP0 + kNormal.DotProduct(kTravel);
    float fQ1 = fQ0 + kNormal.DotProduct(kTravel);

    Place akPlace[2];
    int iPlaces = 0;
    auto add = [&](float fTime, const NiPoint3& kPoint)
    {
        if (iPlaces < 2)
            akPlace[iPlaces++] = {fTime, kPoint};
    };
    auto crossing = [](float fA, float fB) { return fA * fB <= 0.0f; };
    if (fP0 == 0.0f && fQ0 == 0.0f)
    {
        add(0.0f, kP);
        add(0.0f, kQ);
    }
    else
    {
        if (crossing(fP0, fQ0))
            add(0.0f, kP + (kQ - kP) * (fP0 / (fP0 - fQ0)));
        for (const auto& [kStart, fStart, fEnd] : {std::tuple{kP, fP0, fP1}, std::tuple{kQ, fQ0, fQ1}})
        {
            if (fStart == 0.0f && fEnd == 0.0f)
            {
                if (iPlaces == 0)
                {
                    add(0.0f, kStart);
                    add(fSpan, kStart + kTravel);
                }
            }
            else if (crossing(fStart, fEnd))
            {
                float fTime = fSpan * fStart / (fStart - fEnd);
                add(fTime, kStart + kVelocity * fTime);
            }
        }
        if (fP1 == 0.0f && fQ1 == 0.0f)
        {
            if (iPlaces == 0)
            {
                add(fSpan, kP + kTravel);
                add(fSpan, kQ + kTravel);
            }
        }
        else if (crossing(fP1, fQ1))
            add(fSpan, kP + kTravel + (kQ - kP) * (fP1 / (fP1 - fQ1)));
    }
    if (iPlaces == 0)
        return false;
    if (iPlaces == 1)
        akPlace[1] = akPlace[0];
    if (akPlace[1].m_fTime < akPlace[0].m_fTime)
        std::swap(akPlace[0], akPlace[1]);

    float afA[3], afB[3];
    if (!Barycentric(akPlace[0].m_kPoint, akY, afA) || !Barycentric(akPlace[1].m_kPoint, akY, afB))
        return false;
    float fTime = akPlace[0].m_fTime;
    NiPoint3 kPoint = akPlace[0].m_kPoint;
    if (afA[0] < 0.0f || afA[1] < 0.0f || afA[2] < 0.0f)
    {
        int iNegative = afA[0] < 0.0f ? 0 : (afA[1] < 0.0f ? 1 : 2);
        if (afB[iNegative] < 0.0f)
            return false;
        float fAlong = afA[iNegative] / (afA[iNegative] - afB[iNegative]);
        for (int k = 0; k < 3; ++k)
        {
            if (k != iNegative && (1.0f - fAlong) * afA[k] + fAlong * afB[k] < 0.0f)
                return false;
        }
        fTime = (1.0f - fAlong) * akPlace[0].m_fTime + fAlong * akPlace[1].m_fTime;
        kPoint = akPlace[0].m_kPoint * (1.0f - fAlong) + akPlace[1].m_kPoint * fAlong;
    }
    if (!(fTime < fBest))
        return false;
    fBest = fTime;
    kBestPoint = kPoint;
    return true;
}

// One pass: the moving triangle's three edges against the triangle at rest.
bool EdgesAgainstTriangle(const NiPoint3* const* apkMoving, const NiPoint3& kVelocity,
                          const NiPoint3* const* apkResting, float fSpan, float& fTime, NiPoint3& kPoint)
{
    const NiPoint3 akY[3] = {*apkResting[0], *apkResting[1], *apkResting[2]};
    const int aiEdge[3][2] = {{0, 1}, {0, 2}, {1, 2}};
    fTime = 3.4028235e38f;
    bool bFound = false;
    for (const auto& aiEnds : aiEdge)
        bFound |= EdgeAgainstTriangle(*apkMoving[aiEnds[0]], *apkMoving[aiEnds[1]], kVelocity, akY, fSpan,
                                      fTime, kPoint);
    return bFound;
}
} // namespace

bool NiOBBLeaf::FindTriangleContact(const NiOBBLeaf& kOther, float& fTime, NiPoint3& kPoint) const
{
    for (int k = 0; k < 3; ++k)
    {
        if (!m_apkCorner[k] || !kOther.m_apkCorner[k])
            return false;
    }
    const NiOBBRoot* pkOwnerA = m_kBox.m_pkOwner;
    const NiOBBRoot* pkOwnerB = kOther.m_kBox.m_pkOwner;
    const NiPoint3 kVelocityA = pkOwnerA ? pkOwnerA->m_kVelocity : NiPoint3::ZERO;
    const NiPoint3 kVelocityB = pkOwnerB ? pkOwnerB->m_kVelocity : NiPoint3::ZERO;
    const float fSpan = pkOwnerA ? pkOwnerA->m_fSpan : 0.0f;
    float fFirstTime, fSecondTime;
    NiPoint3 kFirstPoint, kSecondPoint;
    bool bFirst = EdgesAgainstTriangle(m_apkCorner, kVelocityA - kVelocityB, kOther.m_apkCorner, fSpan,
                                       fFirstTime, kFirstPoint);
    bool bSecond = EdgesAgainstTriangle(kOther.m_apkCorner, kVelocityB - kVelocityA, m_apkCorner, fSpan,
                                        fSecondTime, kSecondPoint);
    if (bFirst && (!bSecond || fFirstTime <= fSecondTime))
    {
        fTime = fFirstTime;
        kPoint = kFirstPoint + kVelocityB * fFirstTime;
        return true;
    }
    if (bSecond)
    {
        fTime = fSecondTime;
        kPoint = kSecondPoint + kVelocityA * fSecondTime;
        return true;
    }
    return false;
}

//--- Picking ------------------------------------------------------------------------------------

int32_t NiOBBLeaf::FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker,
                                bool& bHit, NiAVObject* pkObject, uint32_t uiCounter)
{
    Refresh(pkObject, uiCounter);
    if (!m_apkCorner[0] || !m_apkCorner[1] || !m_apkCorner[2])
        return 0;
    const NiPoint3& kP0 = *m_apkCorner[0];
    const NiPoint3& kP1 = *m_apkCorner[1];
    const NiPoint3& kP2 = *m_apkCorner[2];
    NiPoint3 kPoint;
    float fT, fU, fV;
    if (!NiTriBasedGeom::RayTriangleHit(kOrigin, kDirection, kP0, kP1, kP2, kPicker.GetFrontFacesOnly(),
                                        kPoint, fT, fU, fV))
        return 0;
    // A leaf that misses after an earlier hit keeps the query's answer a hit.
    bHit = true;
    NiPicker::Record* pkRecord = kPicker.AddRecord(pkObject);
    pkRecord->m_kPoint = kPoint;
    pkRecord->m_fDistance = fT;
    pkRecord->m_usTriangle = m_usTriangle;
    for (int k = 0; k < 3; ++k)
        pkRecord->m_ausVertex[k] = m_ausVertex[k];
    if (kPicker.GetWantNormal())
        pkRecord->m_kNormal = UnitOrZero((kP1 - kP0).Cross(kP2 - kP0));
    return 0;
}
