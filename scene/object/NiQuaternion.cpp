#include "scene/object/NiQuaternion.h"

#include "scene/object/NiCFormat.h"
#include "scene/object/NiRotationMatrix.h"
#include "scene/object/NiStream.h"

#include <cmath>

constinit const NiQuaternion NiQuaternion::IDENTITY(1.0f, 0.0f, 0.0f, 0.0f);

namespace
{
constexpr float SINE_EPSILON = 0.001f;

// The arc cosine with its argument clamped to [-1, 1].
float ClampedACos(float fValue)
{
    if (fValue <= -1.0f)
        return NiPi;
    if (fValue >= 1.0f)
        return 0.0f;
    return std::acos(fValue);
}
} // namespace

// ---- Conversions ---------------------------------------------------------------------------

void NiQuaternion::FromAngleAxis(float fAngle, const NiPoint3& kAxis)
{
    const float fHalf = 0.5f * fAngle;
    const float fSin = std::sin(fHalf);
    w = std::cos(fHalf);
    x = fSin * kAxis.x;
    y = fSin * kAxis.y;
    z = fSin * kAxis.z;
}

void NiQuaternion::ToAngleAxis(float& fAngle, NiPoint3& kAxis) const
{
    const float fLength = std::sqrt(x * x + y * y + z * z);
    if (fLength >= SINE_EPSILON)
    {
        fAngle = 2.0f * ClampedACos(w);
        kAxis = NiPoint3(x / fLength, y / fLength, z / fLength);
        return;
    }
    fAngle = 0.0f;
    kAxis = NiPoint3::ZERO;
}

void NiQuaternion::FromRotation(const NiRotationMatrix& kMatrix)
{
    const float(*m)[3] = kMatrix.m_aafEntry;
    const float fTrace = m[0][0] + m[2][2] + m[1][1];
    if (fTrace > 0.0f)
    {
        const float fRoot = std::sqrt(fTrace + 1.0f);
        w = fRoot / 2.0f;
        const float fHalfInverse = 0.5f / fRoot;
        x = (m[2][1] - m[1][2]) * fHalfInverse;
        y = (m[0][2] - m[2][0]) * fHalfInverse;
        z = (m[1][0] - m[0][1]) * fHalfInverse;
        return;
    }

    // The largest diagonal entry gives the best-conditioned component.
    static constexpr int NEXT[3] = {1, 2, 0};
    int i = m[0][0] < m[1][1] ? 1 : 0;
    if (m[i][i] < m[2][2])
        i = 2;
    const int j = NEXT[i];
    const int k = NEXT[j];
    float* apfVector[3] = {&x, &y, &z};
    const float fRoot = std::sqrt(m[i][i] - m[j][j] - m[k][k] + 1.0f);
    *apfVector[i] = fRoot / 2.0f;
    const float fHalfInverse = 0.5f / fRoot;
    w = (m[k][j] - m[j][k]) * fHalfInverse;
    *apfVector[j] = (m[i][j] + m[j][i]) * fHalfInverse;
    *apfVector[k] = (m[i][k] + m[k][i]) * fHalfInverse;
}

void NiQuaternion::ToRotation(NiRotationMatrix& kMatrix) const
{
    kMatrix = NiRotationMatrix(
        1.0f - 2.0f * y * y - 2.0f * z * z, 2.0f * x * y - 2.0f * w * z, 2.0f * x * z + 2.0f * w * y,
        2.0f * x * y + 2.0f * w * z, 1.0f - 2.0f * x * x - 2.0f * z * z, 2.0f * y * z - 2.0f * w * x,
        2.0f * x * z - 2.0f * w * y, 2.0f * y * z + 2.0f * w * x, 1.0f - 2.0f * x * x - 2.0f * y * y);
}

// ---- Algebra -------------------------------------------------------------------------------

NiQuaternion NiQuaternion::operator*(const NiQuaternion& kQ) const
{
    return NiQuaternion(w * kQ.w - x * kQ.x - y * kQ.y - z * kQ.z, w * kQ.x + x * kQ.w + y * kQ.z - z * kQ.y,
                        w * kQ.y + y * kQ.w + z * kQ.x - x * kQ.z, w * kQ.z + z * kQ.w + x * kQ.y - y * kQ.x);
}

float NiQuaternion::Dot(const NiQuaternion& kP, const NiQuaternion& kQ)
{
    return kP.w * kQ.w + kP.x * kQ.x + kP.y * kQ.y + kP.z * kQ.z;
}

NiQuaternion NiQuaternion::UnitInverse(const NiQuaternion& kQ)
{
    return NiQuaternion(kQ.w, -kQ.x, -kQ.y, -kQ.z);
}

NiQuaternion NiQuaternion::Exp(const NiQuaternion& kQ)
{
    const float fAngle = std::sqrt(kQ.x * kQ.x + kQ.y * kQ.y + kQ.z * kQ.z);
    const float fSin = std::sin(fAngle);
    const float fRatio = std::fabs(fSin) >= SINE_EPSILON ? fSin / fAngle : 1.0f;
    return NiQuaternion(std::cos(fAngle), fRatio * kQ.x, fRatio * kQ.y, fRatio * kQ.z);
}

NiQuaternion NiQuaternion::Log(const NiQuaternion& kQ)
{
    const float fAngle = ClampedACos(kQ.w);
    const float fSin = std::sin(fAngle);
    const float fRatio = std::fabs(fSin) >= SINE_EPSILON ? fAngle / fSin : 1.0f;
    return NiQuaternion(0.0f, fRatio * kQ.x, fRatio * kQ.y, fRatio * kQ.z);
}

// ---- Interpolation -------------------------------------------------------------------------

NiQuaternion NiQuaternion::Slerp(float fT, const NiQuaternion& kP, const NiQuaternion& kQ)
{
    const float fAngle = ClampedACos(Dot(kP, kQ));
    const float fSin = std::sin(fAngle);
    if (fSin < SINE_EPSILON)
        return kP;
    const float fInverseSin = 1.0f / fSin;
    const float fCoeffQ = std::sin(fT * fAngle) * fInverseSin;
    const float fCoeffP = std::sin((1.0f - fT) * fAngle) * fInverseSin;
    return kQ * fCoeffQ + kP * fCoeffP;
}

NiQuaternion NiQuaternion::Intermediate(const NiQuaternion& kQ0, const NiQuaternion& kQ1,
                                        const NiQuaternion& kQ2)
{
    const NiQuaternion kInverse = UnitInverse(kQ1);
    const NiQuaternion kLog2 = Log(kInverse * kQ2);
    const NiQuaternion kLog0 = Log(kInverse * kQ0);
    const NiQuaternion kTangent(0.0f, -0.25f * (kLog2.x + kLog0.x), -0.25f * (kLog2.y + kLog0.y),
                                -0.25f * (kLog2.z + kLog0.z));
    return kQ1 * Exp(kTangent);
}

NiQuaternion NiQuaternion::Squad(float fT, const NiQuaternion& kP, const NiQuaternion& kA,
                                 const NiQuaternion& kB, const NiQuaternion& kQ)
{
    const NiQuaternion kOuter = Slerp(fT, kP, kQ);
    const NiQuaternion kInner = Slerp(fT, kA, kB);
    return Slerp(2.0f * fT * (1.0f - fT), kOuter, kInner);
}

std::string NiQuaternion::GetFieldString(const char* pcName) const
{
    return NiCFormat("%s = (w=%f,x=%f,y=%f,z=%f)", pcName, double(w), double(x), double(y), double(z));
}

void NiQuaternion::LoadBinary(NiStream& kStream)
{
    kStream.Load(w);
    kStream.Load(x);
    kStream.Load(y);
    kStream.Load(z);
}

void NiQuaternion::SaveBinary(NiStream& kStream) const
{
    kStream.Save(w);
    kStream.Save(x);
    kStream.Save(y);
    kStream.Save(z);
}
