#include "scene/graph/NiTriBasedGeom.h"

#include "scene/graph/NiBoundingVolume.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiCollisionRecord.h"
#include "scene/graph/NiCollisionReport.h"
#include "scene/graph/NiMovingTriangles.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiOBBRoot.h"
#include "scene/graph/NiPicker.h"
#include "scene/graph/NiRender.h"
#include "scene/object/NiFieldString.h"

#include <cmath>
#include <vector>

NiImplementRTTI(NiTriBasedGeom, NiGeometry);
NiImplementAbstractLoader(NiTriBasedGeom);

NiTriBasedGeom::DrawStatistics NiTriBasedGeom::ms_kDrawStatistics;

namespace
{
// The barycentric blend (1 - u - v) a + u b + v c.
template <class T> T Blend(const T& kA, const T& kB, const T& kC, float fU, float fV)
{
    return kA * (1.0f - fU - fV) + kB * fU + kC * fV;
}

NiTexCoord Blend(const NiTexCoord& kA, const NiTexCoord& kB, const NiTexCoord& kC, float fU, float fV)
{
    const float fW = 1.0f - fU - fV;
    return NiTexCoord(kA.x * fW + kB.x * fU + kC.x * fV, kA.y * fW + kB.y * fU + kC.y * fV);
}

NiColorA Blend(const NiColorA& kA, const NiColorA& kB, const NiColorA& kC, float fU, float fV)
{
    const float fW = 1.0f - fU - fV;
    return NiColorA(kA.r * fW + kB.r * fU + kC.r * fV, kA.g * fW + kB.g * fU + kC.g * fV,
                    kA.b * fW + kB.b * fU + kC.b * fV, kA.a * fW + kB.a * fU + kC.a * fV);
}

constexpr float PARALLEL_EPSILON = 0.00001f;
} // namespace

void NiTriBasedGeom::ResetDrawStatistics()
{
    ms_kDrawStatistics = DrawStatistics();
}

void NiTriBasedGeom::GetDrawStatistics(uint32_t& uiObjects, uint32_t& uiTriangles, uint32_t& uiVertices)
{
    uiObjects = ms_kDrawStatistics.m_uiObjects;
    uiTriangles = ms_kDrawStatistics.m_uiTriangles;
    uiVertices = ms_kDrawStatistics.m_uiVertices;
}

void NiTriBasedGeom::CountDraw(uint32_t uiTriangles, uint32_t uiVertices)
{
    ++ms_kDrawStatistics.m_uiObjects;
    ms_kDrawStatistics.m_uiTriangles += uiTriangles;
    ms_kDrawStatistics.m_uiVertices += uiVertices;
}

bool NiTriBasedGeom::CornersAt(NiPoint3* pkArray, uint16_t usSize, uint16_t usI0, uint16_t usI1,
                               uint16_t usI2, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) const
{
    if (!pkArray || usI0 >= usSize || usI1 >= usSize || usI2 >= usSize)
    {
        pkP0 = pkP1 = pkP2 = nullptr;
        return false;
    }
    pkP0 = pkArray + usI0;
    pkP1 = pkArray + usI1;
    pkP2 = pkArray + usI2;
    return true;
}

NiTriBasedGeom::NiTriBasedGeom() = default;

NiTriBasedGeom::NiTriBasedGeom(NiTriBasedGeomData* pkData) : NiGeometry(pkData) {}

NiTriBasedGeom::~NiTriBasedGeom() = default;

void NiTriBasedGeom::CopyToClone(NiTriBasedGeom* pkClone)
{
    NiGeometry::CopyToClone(pkClone);
    if (m_spOBBRoot)
        pkClone->BuildCollisionData(1);
}

void NiTriBasedGeom::SetGeometryData(NiGeometryData* pkData)
{
    NiGeometry::SetGeometryData(pkData);
    FreeCollisionData();
}

const ClassRecord* NiTriBasedGeom::GetDataClassRecord() const
{
    return &NiTriBasedGeomData::ms_kClassRecord;
}

bool NiTriBasedGeom::RayTriangleHit(const NiPoint3& kOrigin, const NiPoint3& kDirection, const NiPoint3& kP0,
                                    const NiPoint3& kP1, const NiPoint3& kP2, bool bFrontOnly,
                                    NiPoint3& kPoint, float& fT, float& fU, float& fV)
{
    NiPoint3 kNormal = (kP1 - kP0).Cross(kP2 - kP1);
    kNormal.Unitize();
    const float fConstant = kNormal.DotProduct(kP0);
    const float fAlong = kNormal.DotProduct(kDirection);
    if (!(std::fabs(fAlong) > PARALLEL_EPSILON) || (bFrontOnly && fAlong > PARALLEL_EPSILON))
        return false;
    fT = -(kNormal.DotProduct(kOrigin) - fConstant) / fAlong;
    if (fT < 0.0f)
        return false;
    kPoint = kOrigin + kDirection * fT;

    const NiPoint3 kEdge1 = kP1 - kP0;
    const NiPoint3 kEdge2 = kP2 - kP0;
    const float fD11 = kEdge1.SqrLength();
    const float fD12 = kEdge1.DotProduct(kEdge2);
    const float fD22 = kEdge2.SqrLength();
    const float fE = std::fabs(1.0f - fD12 * fD12 / (fD11 * fD22));
    if (!(fE >= PARALLEL_EPSILON))
        return false;
    const NiPoint3 kW = kP0 - kPoint;
    const float fE1W = kEdge1.DotProduct(kW);
    const float fE2W = kEdge2.DotProduct(kW);
    const float fUScaled = (fD12 / fD11) * fE2W / fD22 - fE1W / fD11;
    const float fVScaled = (fD12 / fD22) * fE1W / fD11 - fE2W / fD22;
    if (fUScaled < 0.0f || fVScaled < 0.0f || fUScaled + fVScaled > fE)
        return false;
    fU = fUScaled / fE;
    fV = fVScaled / fE;
    return true;
}

bool NiTriBasedGeom::FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker)
{
    if ((kPicker.GetSkipAppCulled() && GetAppCulled()) || !RayHitsBound(kOrigin, kDirection))
        return false;
    if (kPicker.GetTestKind() == NiPicker::BOUND_INTERSECT)
    {
        kPicker.AddRecord(this);
        return true;
    }
    // The box tree answers for objects in that mode; one that keeps none (a set of strips) is
    // still picked triangle by triangle rather than never.
    if (kPicker.GetUseBoxTrees() && GetPropagationMode() == USE_OBBS)
        BuildCollisionData(1);
    if (kPicker.GetUseBoxTrees() && GetPropagationMode() == USE_OBBS && m_spOBBRoot)
    {
        m_spOBBRoot->UpdateTransform(m_worldRotate, m_worldTranslate, m_worldScale);
        ComputeWorldVertices();
        bool bHit = false;
        m_spOBBRoot->FindPickHits(kOrigin, kDirection, kPicker, bHit, this, m_spOBBRoot->m_uiRevision);
        return bHit;
    }

    NiTriBasedGeomData* pkData = GetTriData();
    if (!pkData || !pkData->GetVertices() || m_worldScale == 0.0f)
        return false;
    // Into model space; the ray parameter is the same in both spaces.
    const float fInverseScale = 1.0f / m_worldScale;
    const NiPoint3 kModelOrigin = m_worldRotate.TransposeTimes(kOrigin - m_worldTranslate) * fInverseScale;
    const NiPoint3 kModelDirection = m_worldRotate.TransposeTimes(kDirection) * fInverseScale;

    const NiPoint3* pkVertex = pkData->GetVertices();
    const NiPoint3* pkNormal = pkData->GetNormals();
    const NiColorA* pkColor = pkData->GetColors();
    const NiTexCoord* pkTexture = pkData->GetTextureSet(0);
    const uint16_t usVertices = pkData->GetVertexCount();
    const uint16_t usTriangles = pkData->GetActiveTriangleCount();
    bool bHit = false;
    for (uint16_t i = 0; i < usTriangles; ++i)
    {
        uint16_t ausCorner[3];
        if (!GetTriangleIndices(i, ausCorner[0], ausCorner[1], ausCorner[2]) || ausCorner[0] >= usVertices ||
            ausCorner[1] >= usVertices || ausCorner[2] >= usVertices)
            continue;
        const NiPoint3& kP0 = pkVertex[ausCorner[0]];
        const NiPoint3& kP1 = pkVertex[ausCorner[1]];
        const NiPoint3& kP2 = pkVertex[ausCorner[2]];
        NiPoint3 kPoint;
        float fT, fU, fV;
        if (!RayTriangleHit(kModelOrigin, kModelDirection, kP0, kP1, kP2, kPicker.GetFrontFacesOnly(), kPoint,
                            fT, fU, fV))
            continue;

        const bool bWorld = kPicker.GetCoordinateSpace() == NiPicker::WORLD_COORDINATES;
        NiPicker::Record* pkRecord = kPicker.AddRecord(this);
        pkRecord->m_kPoint = bWorld ? m_worldRotate * (kPoint * m_worldScale) + m_worldTranslate : kPoint;
        pkRecord->m_fDistance = fT;
        pkRecord->m_usTriangle = i;
        for (int c = 0; c < 3; ++c)
            pkRecord->m_ausVertex[c] = ausCorner[c];
        if (kPicker.GetWantTexture() && pkTexture)
            pkRecord->m_kTexture =
                Blend(pkTexture[ausCorner[0]], pkTexture[ausCorner[1]], pkTexture[ausCorner[2]], fU, fV);
        if (kPicker.GetWantNormal())
        {
            NiPoint3 kHitNormal =
                kPicker.GetNormalFromVertexNormals() && pkNormal
                    ? Blend(pkNormal[ausCorner[0]], pkNormal[ausCorner[1]], pkNormal[ausCorner[2]], fU, fV)
                    : (kP1 - kP0).Cross(kP2 - kP0);
            kHitNormal.Unitize();
            pkRecord->m_kNormal = bWorld ? m_worldRotate * kHitNormal : kHitNormal;
        }
        pkRecord->m_kColor =
            kPicker.GetWantColor() && pkColor
                ? Blend(pkColor[ausCorner[0]], pkColor[ausCorner[1]], pkColor[ausCorner[2]], fU, fV)
                : NiColorA::WHITE;
        bHit = true;
        if (kPicker.GetHitMode() == NiPicker::FIND_FIRST && kPicker.GetOrdering() == NiPicker::NO_SORT)
            return true;
    }
    return bHit;
}

void NiTriBasedGeom::AddFieldStrings(NiFieldStringList& kList) const
{
    NiGeometry::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTriBasedGeom"));
    kList.push_back(NiFieldString("m_pOBBRoot", static_cast<const void*>(nullptr)));
}

//--- Collision data -----------------------------------------------------------------------------

void NiTriBasedGeom::BuildCollisionFromIndices(const uint16_t* pusIndices, uint16_t usTriangles,
                                               int32_t iBoxTriangles)
{
    NiTriBasedGeomData* pkData = GetTriData();
    // No tree over no triangles: the bound test alone answers for such an object.
    if (m_spOBBRoot || !pkData || !pkData->GetVertices() || usTriangles == 0 || !pusIndices)
        return;
    const uint16_t usVertices = pkData->GetVertexCount();
    for (uint32_t i = 0; i < 3u * usTriangles; ++i)
    {
        if (pusIndices[i] >= usVertices)
            return;
    }
    // The leaves keep addresses in the world array, which therefore exists first.
    AllocWorldVertices();
    if (!GetWorldVertices())
        return;
    m_spOBBRoot = std::make_unique<NiOBBRoot>(usTriangles, pusIndices, pkData->GetVertices(),
                                              GetWorldVertices(), iBoxTriangles);
}

void NiTriBasedGeom::BuildCollisionData(int32_t iBoxTriangles)
{
    NiTriBasedGeomData* pkData = GetTriData();
    if (m_spOBBRoot || !pkData)
        return;
    const uint16_t usTriangles = pkData->GetTriangleCount();
    std::vector<uint16_t> kIndices;
    kIndices.reserve(3u * usTriangles);
    for (uint16_t i = 0; i < usTriangles; ++i)
    {
        uint16_t usI0, usI1, usI2;
        if (!GetTriangleIndices(i, usI0, usI1, usI2))
            return;
        kIndices.insert(kIndices.end(), {usI0, usI1, usI2});
    }
    BuildCollisionFromIndices(kIndices.data(), usTriangles, iBoxTriangles);
}

void NiTriBasedGeom::FreeCollisionData()
{
    m_spOBBRoot.reset();
}

void NiTriBasedGeom::FreeWorldVertices()
{
    // The tree's leaves point into the world array.
    FreeCollisionData();
    NiGeometry::FreeWorldVertices();
}

//--- Triangle-level tests -----------------------------------------------------------------------

bool NiTriBasedGeom::TestTrianglePairs(float fDeltaTime, NiTriBasedGeom* pkOther)
{
    NiTriBasedGeomData* pkData = GetTriData();
    NiTriBasedGeomData* pkOtherData = pkOther ? pkOther->GetTriData() : nullptr;
    if (!pkData || !pkOtherData)
        return false;
    for (uint16_t i = 0; i < pkData->GetTriangleCount(); ++i)
    {
        NiPoint3 *pkA0, *pkA1, *pkA2;
        if (!GetWorldTriangle(i, pkA0, pkA1, pkA2))
            continue;
        for (uint16_t j = 0; j < pkOtherData->GetTriangleCount(); ++j)
        {
            NiPoint3 *pkB0, *pkB1, *pkB2;
            if (!pkOther->GetWorldTriangle(j, pkB0, pkB1, pkB2))
                continue;
            NiMovingTriangles kPair(*pkA0, *pkA1, *pkA2, m_worldVelocity, *pkB0, *pkB1, *pkB2,
                                    pkOther->GetWorldVelocity());
            if (kPair.Test(fDeltaTime))
                return true;
        }
    }
    return false;
}

int32_t NiTriBasedGeom::FindTrianglePairs(float fDeltaTime, NiTriBasedGeom* pkOther, bool bNormals,
                                          NiCollisionReport& kReport)
{
    NiTriBasedGeomData* pkData = GetTriData();
    NiTriBasedGeomData* pkOtherData = pkOther ? pkOther->GetTriData() : nullptr;
    if (!pkData || !pkOtherData)
        return 0;
    for (uint16_t i = 0; i < pkData->GetTriangleCount(); ++i)
    {
        NiPoint3 *pkA0, *pkA1, *pkA2;
        if (!GetWorldTriangle(i, pkA0, pkA1, pkA2))
            continue;
        for (uint16_t j = 0; j < pkOtherData->GetTriangleCount(); ++j)
        {
            NiPoint3 *pkB0, *pkB1, *pkB2;
            if (!pkOther->GetWorldTriangle(j, pkB0, pkB1, pkB2))
                continue;
            NiMovingTriangles kPair(*pkA0, *pkA1, *pkA2, m_worldVelocity, *pkB0, *pkB1, *pkB2,
                                    pkOther->GetWorldVelocity());
            if (kPair.Find(fDeltaTime, kReport.m_fTime, kReport.m_kPoint, bNormals, kReport.m_kNormal0,
                           kReport.m_kNormal1) &&
                DispatchCollision(&kReport) == 1)
                return 1;
        }
    }
    return 0;
}

bool NiTriBasedGeom::TestTrianglesAgainstVolume(float fDeltaTime, NiAVObject* pkOther)
{
    NiTriBasedGeomData* pkData = GetTriData();
    NiBoundingVolume* pkVolume = pkOther ? pkOther->UpdatedWorldVolume() : nullptr;
    if (!pkData || !pkVolume)
        return false;
    NiBoundingVolume& kVolume = *pkVolume;
    for (uint16_t i = 0; i < pkData->GetTriangleCount(); ++i)
    {
        NiPoint3 *pkP0, *pkP1, *pkP2;
        if (GetWorldTriangle(i, pkP0, pkP1, pkP2) &&
            NiBoundingVolume::TestTriangleIntersect(fDeltaTime, kVolume, pkOther->GetWorldVelocity(), *pkP0,
                                                    *pkP1, *pkP2, m_worldVelocity))
            return true;
    }
    return false;
}

int32_t NiTriBasedGeom::FindTrianglesAgainstVolume(float fDeltaTime, NiAVObject* pkOther, bool bNormals,
                                                   NiCollisionReport& kReport)
{
    NiTriBasedGeomData* pkData = GetTriData();
    NiBoundingVolume* pkVolume = pkOther ? pkOther->UpdatedWorldVolume() : nullptr;
    if (!pkData || !pkVolume)
        return 0;
    NiBoundingVolume& kVolume = *pkVolume;
    for (uint16_t i = 0; i < pkData->GetTriangleCount(); ++i)
    {
        NiPoint3 *pkP0, *pkP1, *pkP2;
        if (GetWorldTriangle(i, pkP0, pkP1, pkP2) &&
            NiBoundingVolume::FindTriangleIntersect(
                fDeltaTime, kVolume, pkOther->GetWorldVelocity(), *pkP0, *pkP1, *pkP2, m_worldVelocity,
                kReport.m_fTime, kReport.m_kPoint, bNormals, kReport.m_kNormal1, kReport.m_kNormal0) &&
            DispatchCollision(&kReport) == 1)
            return 1;
    }
    return 0;
}

//--- The collision operations -------------------------------------------------------------------

bool NiTriBasedGeom::GiveVolumeFromPoints(NiTriBasedGeom* pkObject)
{
    if (pkObject->GetBoundingVolume())
        return true;
    NiTriBasedGeomData* pkData = pkObject->GetTriData();
    NiBoundingVolume* pkVolume =
        pkData ? NiBoundingVolume::CreateFromPoints(pkData->GetVertexCount(), pkData->GetVertices())
               : nullptr;
    if (!pkVolume)
        return false;
    pkObject->SetBoundingVolume(pkVolume);
    return true;
}

bool NiTriBasedGeom::CheckCollision(float fDeltaTime, const NiCollisionRecord& kRecord0,
                                    const NiCollisionRecord& kRecord1)
{
    return Collide(fDeltaTime, kRecord0, kRecord1, false) != 0;
}

int32_t NiTriBasedGeom::CollectCollisions(float fDeltaTime, const NiCollisionRecord& kRecord0,
                                          const NiCollisionRecord& kRecord1)
{
    return Collide(fDeltaTime, kRecord0, kRecord1, true);
}

int32_t NiTriBasedGeom::Collide(float fDeltaTime, const NiCollisionRecord& kRecord0,
                                const NiCollisionRecord& kRecord1, bool bFind)
{
    NiAVObject* pkOther = kRecord1.m_pkObject;
    if (!TestBoundCollision(fDeltaTime, pkOther))
        return 0;
    NiCollisionReport kReport;
    kReport.m_pkRoot0 = kRecord0.m_pkRoot;
    kReport.m_pkRoot1 = kRecord1.m_pkRoot;
    kReport.m_pkObject0 = this;
    kReport.m_pkObject1 = pkOther;
    // The answer on bounds alone: true for the test, the bound-level report for the search.
    auto onBounds = [&]() -> int32_t
    {
        if (!bFind)
            return 1;
        if (!FindBoundCollision(fDeltaTime, pkOther, kReport.m_fTime, kReport.m_kPoint, true,
                                kReport.m_kNormal0, kReport.m_kNormal1))
            return 0;
        return DispatchCollision(&kReport);
    };
    // A USE_OBBS side against a bound-only one takes a volume of its own, then answers on bounds.
    auto refine = [&](NiTriBasedGeom* pkObject) -> int32_t
    {
        if (pkObject->GetBoundingVolume())
            return onBounds();
        if (!GiveVolumeFromPoints(pkObject))
            return onBounds();
        if (!bFind)
            return TestBoundCollision(fDeltaTime, pkOther) ? 1 : 0;
        return onBounds();
    };
    auto trianglesAgainstVolume = [&](NiTriBasedGeom* pkObject, NiAVObject* pkVolumeSide) -> int32_t
    {
        if (bFind)
            return pkObject->FindTrianglesAgainstVolume(fDeltaTime, pkVolumeSide, true, kReport);
        return pkObject->TestTrianglesAgainstVolume(fDeltaTime, pkVolumeSide) ? 1 : 0;
    };

    const PropagationMode eMode = GetPropagationMode();
    if (NiDynamicCast<NiNode>(pkOther))
    {
        if (pkOther->GetPropagationMode() != NONE)
            return bFind ? pkOther->CollectCollisions(fDeltaTime, kRecord1, kRecord0)
                         : (pkOther->CheckCollision(fDeltaTime, kRecord1, kRecord0) ? 1 : 0);
        switch (eMode)
        {
        case NONE:
            return onBounds();
        case USE_TRIANGLES:
            ComputeWorldVertices();
            return trianglesAgainstVolume(this, pkOther);
        case USE_OBBS:
            return refine(this);
        default:
            return bFind ? 0 : 1;
        }
    }
    if (!NiDynamicCast<NiTriBasedGeom>(pkOther))
        return bFind ? 0 : 1;
    auto* pkGeometry = static_cast<NiTriBasedGeom*>(pkOther);
    const PropagationMode eOther = pkGeometry->GetPropagationMode();
    if (eMode > USE_OBBS || eOther > USE_OBBS)
        return bFind ? 0 : 1;
    if (eMode == NONE)
    {
        if (eOther == NONE)
            return onBounds();
        if (eOther == USE_TRIANGLES)
        {
            pkGeometry->ComputeWorldVertices();
            return trianglesAgainstVolume(pkGeometry, this);
        }
        return refine(pkGeometry);
    }
    if (eMode == USE_TRIANGLES)
    {
        ComputeWorldVertices();
        if (eOther == NONE)
            return trianglesAgainstVolume(this, pkOther);
        if (eOther == USE_TRIANGLES)
        {
            pkGeometry->ComputeWorldVertices();
            return bFind ? FindTrianglePairs(fDeltaTime, pkGeometry, true, kReport)
                         : (TestTrianglePairs(fDeltaTime, pkGeometry) ? 1 : 0);
        }
        GiveVolumeFromPoints(pkGeometry);
        return trianglesAgainstVolume(this, pkOther);
    }
    // This side USE_OBBS.
    if (eOther == NONE)
        return refine(this);
    if (eOther == USE_TRIANGLES)
    {
        pkGeometry->ComputeWorldVertices();
        GiveVolumeFromPoints(this);
        return trianglesAgainstVolume(pkGeometry, this);
    }
    BuildCollisionData(kRecord0.m_iBoxTriangles);
    pkGeometry->BuildCollisionData(kRecord1.m_iBoxTriangles);
    if (!m_spOBBRoot || !pkGeometry->m_spOBBRoot)
        return 0;
    for (NiTriBasedGeom* pkSide : {this, pkGeometry})
    {
        NiOBBRoot& kRoot = *pkSide->m_spOBBRoot;
        kRoot.m_fSpan = fDeltaTime;
        kRoot.m_kVelocity = pkSide->m_worldVelocity;
        kRoot.UpdateTransform(pkSide->m_worldRotate, pkSide->m_worldTranslate, pkSide->m_worldScale);
    }
    ComputeWorldVertices();
    pkGeometry->ComputeWorldVertices();
    if (!bFind)
        return m_spOBBRoot->TestCollision(*pkGeometry->m_spOBBRoot, kRecord0.m_iMaxDepth,
                                          kRecord1.m_iMaxDepth)
                   ? 1
                   : 0;
    return m_spOBBRoot->CollectCollisions(*pkGeometry->m_spOBBRoot, kRecord0.m_pkRoot, kRecord1.m_pkRoot,
                                          kRecord0.m_pkObject, kRecord1.m_pkObject, kRecord0.m_iMaxDepth,
                                          kRecord1.m_iMaxDepth) == 1
               ? 1
               : 0;
}
