#pragma once

#include "scene/object/NiPoint3.h"

#include <cstdint>

// Two triangles, each moving in a straight line during a time span: whether they touch within
// it (Test) and when and where they first touch (Find), by separating axes: the face normals and
// the nine edge cross products, or for parallel faces six axes in their common plane. The inputs
// are held by address; a set-up serves one test or one search (the parallel case moves B).
class NiMovingTriangles
{
public:
    // The tolerance the collision code shares.
    static constexpr float TOLERANCE = 1e-5f;

    NiMovingTriangles(const NiPoint3& kA0, const NiPoint3& kA1, const NiPoint3& kA2,
                      const NiPoint3& kVelocityA, const NiPoint3& kB0, const NiPoint3& kB1,
                      const NiPoint3& kB2, const NiPoint3& kVelocityB);

    bool Test(float fSpan);
    bool Find(float fSpan, float& fTime, NiPoint3& kPoint, bool bNormals, NiPoint3& kNormalA,
              NiPoint3& kNormalB);

    // The axis whose interval gave the first-contact time of the last search (0: none).
    uint32_t GetContactAxis() const { return m_uiAxis; }

private:
    struct Projection
    {
        float m_afA[3];
        float m_afB[3];
        float m_fSpeed;
    };
    enum Outcome
    {
        SEPARATED,
        TOUCHING
    };

    // The projections on the axis; the edge numbers (1..3, 0 none) say which corners project
    // equally by construction, so they are taken as exactly equal.
    Projection Project(const NiPoint3& kAxis, int iEdgeA, int iEdgeB, bool bNormalA, bool bNormalB) const;
    bool Separates(const Projection& kProjection) const;
    Outcome Track(const Projection& kProjection, uint32_t uiCode);
    // Runs the axes after the face normals in the table's order; false at a separating one.
    template <class Visit> bool EdgeAxes(Visit&& visit);
    NiPoint3 ContactPoint() const;
    NiPoint3 EdgeEdgePoint(const NiPoint3& kP, const NiPoint3& kQ, const NiPoint3& kR,
                           const NiPoint3& kS) const;
    // The point where an edge of one triangle meets the other's face, the edge's first end when
    // no step finds one.
    NiPoint3 EdgeFacePoint(bool bEdgeOfA, const NiPoint3& kP, const NiPoint3& kQ) const;
    NiPoint3 FaceFacePoint() const;

    const NiPoint3& m_kA0;
    const NiPoint3& m_kA1;
    const NiPoint3& m_kA2;
    const NiPoint3& m_kVelocityA;
    const NiPoint3& m_kB0;
    const NiPoint3& m_kB1;
    const NiPoint3& m_kB2;
    const NiPoint3& m_kVelocityB;
    NiPoint3 m_kD;
    NiPoint3 m_kW;
    NiPoint3 m_kEA[3];
    NiPoint3 m_kEB[3];
    NiPoint3 m_kNA;
    NiPoint3 m_kNB;

    float m_fSpan = 0.0f;
    float m_fFirst = 0.0f;
    uint32_t m_uiAxis = 0;
    float m_afSortedA[3] = {};
    float m_afSortedB[3] = {};
    int m_aiCornerA[3] = {0, 1, 2};
    int m_aiCornerB[3] = {0, 1, 2};
};
