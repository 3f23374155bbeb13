#include "scene/graph/NiMovingTriangles.h"

#include <algorithm>
#include <cmath>

// Sections: set-up; projections and interval tests; the test and the search; contact points.

namespace
{
constexpr float ONE_THIRD = 1.0f / 3.0f;

// A stable ascending sort of three values with their corner indices.
void SortThree(const float afIn[3], float afOut[3], int aiIndex[3])
{
    for (int i = 0; i < 3; ++i)
    {
        afOut[i] = afIn[i];
        aiIndex[i] = i;
    }
    for (int i = 1; i < 3; ++i)
    {
        for (int j = i; j > 0 && afOut[j] < afOut[j - 1]; --j)
        {
            std::swap(afOut[j], afOut[j - 1]);
            std::swap(aiIndex[j], aiIndex[j - 1]);
        }
    }
}

void Extent(const float afValues[3], float& fMin, float& fMax)
{
    fMin = std::min({afValues[0], afValues[1], afValues[2]});
    fMax = std::max({afValues[0], afValues[1], afValues[2]});
}

// Whether v, taken from a triangle's first corner, lies in the triangle (boundary included).
bool InTriangle(const NiPoint3& kV, const NiPoint3& kNormal, const NiPoint3& kE1, const NiPoint3& kE2)
{
    float fFirst = kNormal.DotProduct(kV.Cross(kE2));
    float fSecond = kNormal.DotProduct(kE1.Cross(kV));
    return fFirst >= 0.0f && fSecond >= 0.0f && fFirst + fSecond <= kNormal.SqrLength();
}
} // namespace

//--- Set-up -------------------------------------------------------------------------------------

NiMovingTriangles::NiMovingTriangles(const NiPoint3& kA0, const NiPoint3& kA1, const NiPoint3& kA2,
                                     const NiPoint3& kVelocityA, const NiPoint3& kB0, const NiPoint3& kB1,
                                     const NiPoint3& kB2, const NiPoint3& kVelocityB)
    : m_kA0(kA0), m_kA1(kA1), m_kA2(kA2), m_kVelocityA(kVelocityA), m_kB0(kB0), m_kB1(kB1), m_kB2(kB2),
      m_kVelocityB(kVelocityB), m_kD(kB0 - kA0), m_kW(kVelocityB - kVelocityA)
{
    m_kEA[0] = kA1 - kA0;
    m_kEA[1] = kA2 - kA0;
    m_kEA[2] = m_kEA[1] - m_kEA[0];
    m_kEB[0] = kB1 - kB0;
    m_kEB[1] = kB2 - kB0;
    m_kEB[2] = m_kEB[1] - m_kEB[0];
    m_kNA = m_kEA[0].Cross(m_kEA[1]);
    m_kNB = m_kEB[0].Cross(m_kEB[1]);
}

//--- Projections and interval tests -------------------------------------------------------------

NiMovingTriangles::Projection NiMovingTriangles::Project(const NiPoint3& kAxis, int iEdgeA, int iEdgeB,
                                                         bool bNormalA, bool bNormalB) const
{
    Projection kProjection;
    float* afA = kProjection.m_afA;
    afA[0] = 0.0f;
    afA[1] = bNormalA || iEdgeA == 1 ? 0.0f : kAxis.DotProduct(m_kEA[0]);
    afA[2] = bNormalA || iEdgeA == 2 ? 0.0f : kAxis.DotProduct(m_kEA[1]);
    if (iEdgeA == 3)
        afA[2] = afA[1];
    float* afB = kProjection.m_afB;
    afB[0] = kAxis.DotProduct(m_kD);
    afB[1] = bNormalB || iEdgeB == 1 ? afB[0] : afB[0] + kAxis.DotProduct(m_kEB[0]);
    afB[2] = bNormalB || iEdgeB == 2 ? afB[0] : afB[0] + kAxis.DotProduct(m_kEB[1]);
    if (iEdgeB == 3)
        afB[2] = afB[1];
    kProjection.m_fSpeed = kAxis.DotProduct(m_kW);
    return kProjection;
}

bool NiMovingTriangles::Separates(const Projection& kProjection) const
{
    float fMinA, fMaxA, fMinB, fMaxB;
    Extent(kProjection.m_afA, fMinA, fMaxA);
    Extent(kProjection.m_afB, fMinB, fMaxB);
    float fTravel = kProjection.m_fSpeed * m_fSpan;
    if (fMinB > fMaxA)
        return fMinB + fTravel > fMaxA;
    if (fMaxB < fMinA)
        return fMaxB + fTravel < fMinA;
    return false;
}

NiMovingTriangles::Outcome NiMovingTriangles::Track(const Projection& kProjection, uint32_t uiCode)
{
    float fMinA, fMaxA, fMinB, fMaxB;
    Extent(kProjection.m_afA, fMinA, fMaxA);
    Extent(kProjection.m_afB, fMinB, fMaxB);
    float fSpeed = kProjection.m_fSpeed;
    float fTravel = fSpeed * m_fSpan;
    float fCandidate = 0.0f;
    if (fMinB > fMaxA)
    {
        if (fMinB + fTravel > fMaxA)
            return SEPARATED;
        fCandidate = (fMaxA - fMinB) / fSpeed;
    }
    else if (fMaxB < fMinA)
    {
        if (fMaxB + fTravel < fMinA)
            return SEPARATED;
        fCandidate = (fMinA - fMaxB) / fSpeed;
    }
    if (fCandidate > m_fFirst)
    {
        m_fFirst = fCandidate;
        m_uiAxis = uiCode;
        SortThree(kProjection.m_afA, m_afSortedA, m_aiCornerA);
        SortThree(kProjection.m_afB, m_afSortedB, m_aiCornerB);
    }
    return TOUCHING;
}

template <class Visit> bool NiMovingTriangles::EdgeAxes(Visit&& visit)
{
    if (m_kNA.Cross(m_kNB).SqrLength() > TOLERANCE)
    {
        for (int i = 0; i < 3; ++i)
        {
            for (int j = 0; j < 3; ++j)
            {
                if (!visit(Project(m_kEA[i].Cross(m_kEB[j]), i + 1, j + 1, false, false), 4u << (3 * i + j)))
                    return false;
            }
        }
        return true;
    }
    // Parallel faces: B moves to the moment its plane meets A's, then the in-plane axes decide.
    float fApproach = m_kNA.DotProduct(m_kW);
    if (std::fabs(fApproach) > TOLERANCE)
    {
        m_kD += m_kW * (-m_kNA.DotProduct(m_kD) / fApproach);
        m_kW = NiPoint3::ZERO;
    }
    for (int j = 0; j < 3; ++j)
    {
        if (!visit(Project(m_kNB.Cross(m_kEB[j]), 0, j + 1, false, false), 16384u << j))
            return false;
    }
    for (int i = 0; i < 3; ++i)
    {
        if (!visit(Project(m_kNA.Cross(m_kEA[i]), i + 1, 0, false, false), 2048u << i))
            return false;
    }
    return true;
}

//--- The test and the search --------------------------------------------------------------------

bool NiMovingTriangles::Test(float fSpan)
{
    m_fSpan = fSpan;
    if (Separates(Project(m_kNA, 0, 0, true, false)) || Separates(Project(m_kNB, 0, 0, false, true)))
        return false;
    return EdgeAxes([this](const Projection& kProjection, uint32_t) { return !Separates(kProjection); });
}

bool NiMovingTriangles::Find(float fSpan, float& fTime, NiPoint3& kPoint, bool bNormals, NiPoint3& kNormalA,
                             NiPoint3& kNormalB)
{
    m_fSpan = fSpan;
    m_fFirst = 0.0f;
    m_uiAxis = 0;
    if (Track(Project(m_kNA, 0, 0, true, false), 1) == SEPARATED ||
        Track(Project(m_kNB, 0, 0, false, true), 2) == SEPARATED)
        return false;
    if (!EdgeAxes([this](const Projection& kProjection, uint32_t uiCode)
                  { return Track(kProjection, uiCode) == TOUCHING; }))
        return false;
    fTime = m_fFirst;
    kPoint = ContactPoint();
    if (bNormals)
    {
        kNormalA = m_kNA;
        kNormalA.Unitize();
        kNormalB = m_kNB;
        kNormalB.Unitize();
    }
    return true;
}

//--- Contact points -----------------------------------------------------------------------------

NiPoint3 NiMovingTriangles::ContactPoint() const
{
    const NiPoint3* apkA[3] = {&m_kA0, &m_kA1, &m_kA2};
    const NiPoint3* apkB[3] = {&m_kB0, &m_kB1, &m_kB2};
    if (m_uiAxis == 0)
    {
        // Overlapping at time 0: the centroid of the smaller triangle.
        if (m_kNB.SqrLength() < m_kNA.SqrLength())
            return (m_kB0 + m_kB1 + m_kB2) * ONE_THIRD;
        return (m_kA0 + m_kA1 + m_kA2) * ONE_THIRD;
    }
    const float* a = m_afSortedA;
    const float* b = m_afSortedB;
    const NiPoint3 kMoveA = m_kVelocityA * m_fFirst;
    const NiPoint3 kMoveB = m_kVelocityB * m_fFirst;
    auto cornerA = [&](int iSorted) { return *apkA[m_aiCornerA[iSorted]]; };
    auto cornerB = [&](int iSorted) { return *apkB[m_aiCornerB[iSorted]]; };
    enum Side
    {
        CORNER,
        EDGE,
        FACE
    };
    if (b[0] > a[2])
    {
        // B above A: A's top side meets B's bottom side.
        Side eA = a[1] < a[2] ? CORNER : (a[0] < a[1] ? EDGE : FACE);
        Side eB = b[0] < b[1] ? CORNER : (b[1] < b[2] ? EDGE : FACE);
        if (eA == CORNER)
            return cornerA(2) + kMoveA;
        if (eB == CORNER)
            return cornerB(0) + kMoveB;
        if (eA == EDGE && eB == EDGE)
            return EdgeEdgePoint(cornerA(1), cornerA(2), cornerB(0), cornerB(1));
        if (eA == EDGE)
            return EdgeFacePoint(true, cornerA(1), cornerA(2));
        if (eB == EDGE)
            return EdgeFacePoint(false, cornerB(0), cornerB(1));
        return FaceFacePoint();
    }
    Side eA = a[0] < a[1] ? CORNER : (a[1] < a[2] ? EDGE : FACE);
    Side eB = b[1] < b[2] ? CORNER : (b[0] < b[1] ? EDGE : FACE);
    if (eA == CORNER)
        return cornerA(0) + kMoveA;
    if (eB == CORNER)
        return cornerB(2) + kMoveB;
    if (eA == EDGE && eB == EDGE)
        return EdgeEdgePoint(cornerA(0), cornerA(1), cornerB(1), cornerB(2));
    if (eA == EDGE)
        return EdgeFacePoint(true, cornerA(0), cornerA(1));
    if (eB == EDGE)
        return EdgeFacePoint(false, cornerB(1), cornerB(2));
    return FaceFacePoint();
}

NiPoint3 NiMovingTriangles::EdgeEdgePoint(const NiPoint3& kP, const NiPoint3& kQ, const NiPoint3& kR,
                                          const NiPoint3& kS) const
{
    NiPoint3 kEdge = kQ - kP;
    NiPoint3 kShift = m_kW * m_fFirst;
    NiPoint3 kRMoved = kR + kShift;
    float fAcross = kEdge.DotProduct(m_kNB);
    if (std::fabs(fAcross) > TOLERANCE)
        return kP + kEdge * (m_kNB.DotProduct(kRMoved - kP) / fAcross) + m_kVelocityA * m_fFirst;
    // A's edge parallel to B's plane.
    NiPoint3 kSMoved = kS + kShift;
    float fU = kEdge.DotProduct(kRMoved - kP);
    float fV = kEdge.DotProduct(kSMoved - kQ);
    if (fU > fV)
        return fV >= 0.0f ? kS + m_kVelocityB * m_fFirst : kP + m_kVelocityA * m_fFirst;
    return fU >= 0.0f ? kR + m_kVelocityB * m_fFirst : kP + m_kVelocityA * m_fFirst;
}

NiPoint3 NiMovingTriangles::EdgeFacePoint(bool bEdgeOfA, const NiPoint3& kP, const NiPoint3& kQ) const
{
    // The edge's triangle is "own", the face's "other"; B's side is seen in A's frame.
    const NiPoint3& kOwnNormal = bEdgeOfA ? m_kNA : m_kNB;
    const NiPoint3& kOtherNormal = bEdgeOfA ? m_kNB : m_kNA;
    const NiPoint3* pkOtherEdges = bEdgeOfA ? m_kEB : m_kEA;
    const NiPoint3& kOwnVelocity = bEdgeOfA ? m_kVelocityA : m_kVelocityB;
    const NiPoint3& kOtherVelocity = bEdgeOfA ? m_kVelocityB : m_kVelocityA;
    NiPoint3 kShift = m_kW * m_fFirst;
    // The other triangle's first corner and the edge ends, in one frame at contact.
    NiPoint3 kOtherFirst = bEdgeOfA ? m_kB0 + kShift : m_kA0;
    NiPoint3 kP0 = bEdgeOfA ? kP : kP + kShift;
    NiPoint3 kQ0 = bEdgeOfA ? kQ : kQ + kShift;
    if (InTriangle(kP0 - kOtherFirst, kOtherNormal, pkOtherEdges[0], pkOtherEdges[1]))
        return kP + kOwnVelocity * m_fFirst;
    if (InTriangle(kQ0 - kOtherFirst, kOtherNormal, pkOtherEdges[0], pkOtherEdges[1]))
        return kQ + kOwnVelocity * m_fFirst;
    const NiPoint3& kOtherCorner = bEdgeOfA ? m_kB0 : m_kA0;
    NiPoint3 kCornerAtContact = kOtherCorner + kOtherVelocity * m_fFirst;
    NiPoint3 kPoint = kP + kOwnVelocity * m_fFirst;
    for (int k = 0; k < 2; ++k)
    {
        float fH = kOwnNormal.DotProduct(pkOtherEdges[k]);
        float fG = kOwnNormal.DotProduct(kP0 - kOtherFirst);
        if ((fH > TOLERANCE && fG >= 0.0f && fG <= fH) || (fH < -TOLERANCE && fG >= fH && fG <= 0.0f))
            return kCornerAtContact + pkOtherEdges[k] * (fG / fH);
        if (std::fabs(fH) <= TOLERANCE)
        {
            if (std::fabs(kOtherNormal.DotProduct(kP0 - kOtherFirst)) <= TOLERANCE)
                kPoint = kCornerAtContact;
        }
        else if (k == 1)
            break;
    }
    return kPoint;
}

NiPoint3 NiMovingTriangles::FaceFacePoint() const
{
    NiPoint3 kShift = m_kW * m_fFirst;
    const NiPoint3* apkB[3] = {&m_kB0, &m_kB1, &m_kB2};
    for (const NiPoint3* pkCorner : apkB)
    {
        if (InTriangle(*pkCorner + kShift - m_kA0, m_kNA, m_kEA[0], m_kEA[1]))
            return *pkCorner + m_kVelocityB * m_fFirst;
    }
    NiPoint3 kStartA = m_kA0 + m_kVelocityA * m_fFirst;
    const int aiLines[3][2] = {{0, 1}, {0, 2}, {1, 2}};
    for (const auto& aiLine : aiLines)
    {
        NiPoint3 kStart = *apkB[aiLine[0]] + kShift;
        NiPoint3 kLine = *apkB[aiLine[1]] - *apkB[aiLine[0]];
        for (int k = 0; k < 2; ++k)
        {
            const NiPoint3& kEdge = m_kEA[k];
            float fEdgeLength = kEdge.SqrLength();
            if (fEdgeLength <= TOLERANCE)
                continue;
            NiPoint3 kOffset = kStart - m_kA0;
            float fParameter;
            NiPoint3 kCross = kEdge.Cross(kLine);
            if (kCross.SqrLength() <= TOLERANCE * fEdgeLength * std::max(kLine.SqrLength(), TOLERANCE))
            {
                // Collinear within the tolerance: the parameter of the B edge's first end.
                if (kEdge.Cross(kOffset).SqrLength() > TOLERANCE * fEdgeLength)
                    continue;
                fParameter = kEdge.DotProduct(kOffset) / fEdgeLength;
            }
            else
            {
                // The crossing of the two lines in their common plane.
                fParameter = kOffset.Cross(kLine).DotProduct(kCross) / kCross.SqrLength();
            }
            if (fParameter >= 0.0f && fParameter <= 1.0f)
                return kStartA + kEdge * fParameter;
        }
    }
    return kStartA;
}
