#pragma once

#include "scene/object/NiGrowArray.h"
#include "scene/object/NiPoint3.h"

#include <cstdint>
#include <string>

class NiPlane;
class NiRotationMatrix;

class NiStream;

// The bounding sphere of a scene object: a centre, a radius and a not-computed flag (1 after
// construction, 0 once computed from points, assigned or transformed). Geometry data
// recomputes its model bound from the vertices while the flag is 1.
class NiBoundingSphere
{
public:
    NiPoint3 m_kCenter;
    float m_fRadius;
    uint8_t m_ucNotComputed;

    // The sides WhichSide answers.
    enum
    {
        NO_SIDE = 0,
        POSITIVE_SIDE = 1,
        NEGATIVE_SIDE = 2
    };

    constexpr NiBoundingSphere() : m_kCenter(0.0f, 0.0f, 0.0f), m_fRadius(0.0f), m_ucNotComputed(1) {}
    NiBoundingSphere(const NiBoundingSphere& kOther) = default;
    // Copies centre and radius and marks this sphere computed.
    NiBoundingSphere& operator=(const NiBoundingSphere& kOther);
    // Compares centre and radius, not the flag.
    bool operator==(const NiBoundingSphere& kOther) const
    {
        return m_fRadius == kOther.m_fRadius && m_kCenter == kOther.m_kCenter;
    }
    bool operator!=(const NiBoundingSphere& kOther) const { return !(*this == kOther); }

    // The sphere around the centre of the points' axis-aligned box (not the smallest one).
    // A count of 0 or less gives the zero sphere and leaves the flag.
    void ComputeFromData(int32_t iCount, const NiPoint3* pkPoints);
    // Grows this sphere to enclose kOther as well; the flag stays.
    void Merge(const NiBoundingSphere& kOther);
    // This sphere := the first sphere of the array merged with every further one in slot
    // order; flag 0. Empty slots are passed over, and an array without a sphere changes
    // nothing.
    void MergeArray(const NiGrowArray<const NiBoundingSphere*>& kSpheres);
    // This sphere := the model sphere scaled, rotated (R c) and moved; flag 0.
    void Update(const NiBoundingSphere& kModel, const NiRotationMatrix& kRotate, const NiPoint3& kTranslate,
                float fScale);

    // NO_SIDE when the sphere straddles the plane, else the side it lies on; touching counts
    // as lying on that side.
    int32_t WhichSide(const NiPlane& kPlane) const;
    bool Contains(const NiBoundingSphere& kOther) const;
    bool ContainedIn(const NiBoundingSphere& kOther) const;

    // Spheres moving with constant velocities over the time span [0, fTime]: whether they
    // meet, and (FindIntersect) when and where first, with the contact normals on request.
    // The outputs are written only when the answer is true.
    static bool TestIntersect(float fTime, const NiBoundingSphere& kSphere0, const NiPoint3& kVelocity0,
                              const NiBoundingSphere& kSphere1, const NiPoint3& kVelocity1);
    static bool FindIntersect(float fTime, const NiBoundingSphere& kSphere0, const NiPoint3& kVelocity0,
                              const NiBoundingSphere& kSphere1, const NiPoint3& kVelocity1, float& fIntrTime,
                              NiPoint3& kIntrPoint, bool bCalcNormals, NiPoint3& kNormal0,
                              NiPoint3& kNormal1);

    // The stream form inside a .nif record: the centre, then the radius (the not-computed flag is not
    // streamed), 4-byte floats.
    void LoadBinary(NiStream& kStream);
    void SaveBinary(NiStream& kStream) const;

    // "name = (x,y,z) , radius" for viewers.
    std::string GetFieldString(const char* pcName) const;
};
