#include "scene/graph/NiTriBasedGeom.h"

#include "scene/graph/NiCamera.h"
#include "scene/graph/NiPicker.h"
#include "scene/graph/NiRender.h"
#include "scene/object/NiFieldString.h"

#include <cmath>

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
    // The box trees answer for objects in that mode; no box tree is built here, so such an
    // object has nothing to answer with.
    if (kPicker.GetUseBoxTrees() && GetPropagationMode() == USE_OBBS)
        return false;

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
