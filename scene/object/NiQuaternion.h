#pragma once

#include "scene/object/NiPoint3.h"

#include <string>

class NiRotationMatrix;

class NiStream;

// The rotation quaternion (w, x, y, z), scalar part first: a turn by t about the unit axis a
// is (cos(t/2), sin(t/2) a). Its matrix is the usual right-handed one for column vectors,
// which in NiRotationMatrix's convention is the turn by -t.
class NiQuaternion
{
public:
    float w;
    float x;
    float y;
    float z;

    // Leaves the components unset, as key arrays are filled right after allocation.
    NiQuaternion() = default;
    constexpr NiQuaternion(float fW, float fX, float fY, float fZ) : w(fW), x(fX), y(fY), z(fZ) {}
    // The axis is used as given (not normalised).
    NiQuaternion(float fAngle, const NiPoint3& kAxis) { FromAngleAxis(fAngle, kAxis); }

    // Conversions.
    void FromAngleAxis(float fAngle, const NiPoint3& kAxis);
    // Angle in [0, 2 pi] and unit axis; near the identity (axis part below 0.001) angle 0 and
    // the zero axis.
    void ToAngleAxis(float& fAngle, NiPoint3& kAxis) const;
    void FromRotation(const NiRotationMatrix& kMatrix);
    void ToRotation(NiRotationMatrix& kMatrix) const;

    // Algebra; results are new values.
    NiQuaternion operator+(const NiQuaternion& kOther) const
    {
        return NiQuaternion(w + kOther.w, x + kOther.x, y + kOther.y, z + kOther.z);
    }
    NiQuaternion operator-(const NiQuaternion& kOther) const
    {
        return NiQuaternion(w - kOther.w, x - kOther.x, y - kOther.y, z - kOther.z);
    }
    NiQuaternion operator-() const { return NiQuaternion(-w, -x, -y, -z); }
    // The Hamilton product this x other: its matrix is this one's times other's.
    NiQuaternion operator*(const NiQuaternion& kOther) const;
    NiQuaternion operator*(float fScale) const
    {
        return NiQuaternion(fScale * w, fScale * x, fScale * y, fScale * z);
    }
    bool operator==(const NiQuaternion& kOther) const
    {
        return w == kOther.w && x == kOther.x && y == kOther.y && z == kOther.z;
    }
    bool operator!=(const NiQuaternion& kOther) const { return !(*this == kOther); }

    static float Dot(const NiQuaternion& kP, const NiQuaternion& kQ);
    // The conjugate: the inverse of a unit quaternion.
    static NiQuaternion UnitInverse(const NiQuaternion& kQ);
    // Exponential and logarithm of pure quaternions; a sine below 0.001 counts as zero.
    static NiQuaternion Exp(const NiQuaternion& kQ);
    static NiQuaternion Log(const NiQuaternion& kQ);

    // Interpolation of rotation keys. Slerp takes no shortest-arc turn: with a negative dot
    // product it goes the long way round. Where the angle's sine is below 0.001 it gives p.
    static NiQuaternion Slerp(float fT, const NiQuaternion& kP, const NiQuaternion& kQ);
    // The squad control point of the middle key q1.
    static NiQuaternion Intermediate(const NiQuaternion& kQ0, const NiQuaternion& kQ1,
                                     const NiQuaternion& kQ2);
    static NiQuaternion Squad(float fT, const NiQuaternion& kP, const NiQuaternion& kA,
                              const NiQuaternion& kB, const NiQuaternion& kQ);

    // The stream form inside a .nif record: w, x, y, z, 4-byte floats.
    void LoadBinary(NiStream& kStream);
    void SaveBinary(NiStream& kStream) const;

    // "name = (w=..,x=..,y=..,z=..)" for viewers.
    std::string GetFieldString(const char* pcName) const;

    static const NiQuaternion IDENTITY;
};

inline NiQuaternion operator*(float fScale, const NiQuaternion& kQ)
{
    return kQ * fScale;
}

static_assert(sizeof(NiQuaternion) == 16, "NiQuaternion must stay four packed floats");
