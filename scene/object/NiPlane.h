#pragma once

#include "scene/object/NiPoint3.h"

#include <string>

class NiStream;

// A plane as a normal and a constant: p lies on it when normal . p = constant, and
// normal . p - constant is the signed distance, positive on the side the normal points to.
class NiPlane
{
public:
    NiPoint3 m_kNormal;
    float m_fConstant;

    constexpr NiPlane() : m_kNormal(0.0f, 0.0f, 0.0f), m_fConstant(0.0f) {}
    constexpr NiPlane(const NiPoint3& kNormal, float fConstant) : m_kNormal(kNormal), m_fConstant(fConstant)
    {
    }
    NiPlane(const NiPoint3& kNormal, const NiPoint3& kPoint);
    // The plane through three points, which run counter-clockwise seen from the side the
    // normal points to; collinear points give the zero normal.
    NiPlane(const NiPoint3& kP0, const NiPoint3& kP1, const NiPoint3& kP2);

    bool operator==(const NiPlane& kOther) const
    {
        return m_kNormal == kOther.m_kNormal && m_fConstant == kOther.m_fConstant;
    }
    bool operator!=(const NiPlane& kOther) const { return !(*this == kOther); }

    // The stream form inside a .nif record: the normal, then the constant, 4-byte floats.
    void LoadBinary(NiStream& kStream);
    void SaveBinary(NiStream& kStream) const;

    // "name = (nx,ny,nz), constant" for viewers.
    std::string GetFieldString(const char* pcName) const;
};
