#include "scene/animation/PositionKey.h"

#include "scene/animation/KeySearch.h"
#include "scene/object/NiStream.h"

#include <cmath>

namespace
{
PositionKeyOps g_akPositionKeyOps[POSITION_KEY_ROWS];
bool g_abPositionKeyRegistered[POSITION_KEY_ROWS];

bool RegisterRow(KeyType eType, const PositionKeyOps& kOps)
{
    if (g_abPositionKeyRegistered[eType])
        return false;
    g_abPositionKeyRegistered[eType] = true;
    g_akPositionKeyOps[eType] = kOps;
    return true;
}

// 1/20 as a float, once.
constexpr float CURVATURE_STEP = 1.0f / static_cast<float>(MAX_CURVATURE_SAMPLES);

template <class T> const T& As(const PositionKey* pkKey)
{
    return *static_cast<const T*>(pkKey);
}

template <class T> void DeleteAs(PositionKey* pkKey)
{
    delete static_cast<T*>(pkKey);
}

//--- Shared by every type. ---

NiPoint3& ZeroPoint(NiPoint3& kResult, float, const PositionKey*, const PositionKey*)
{
    return kResult = NiPoint3::ZERO;
}

float NoCurvature(const PositionKey* const*, uint32_t)
{
    return 0.0f;
}

void FillNothing(PositionKey**, uint32_t) {}

bool IsPointEqual(const PositionKey* pkKey0, const PositionKey* pkKey1)
{
    return pkKey0->m_fTime == pkKey1->m_fTime && pkKey0->m_Pos == pkKey1->m_Pos;
}

void SavePoint(NiStream& kStream, const PositionKey* pkKey)
{
    kStream.Save(pkKey->m_fTime);
    pkKey->m_Pos.SaveBinary(kStream);
}

//--- KEY_LINEAR. ---

NiPoint3& InterpolateLinear(NiPoint3& kResult, float fFraction, const PositionKey* pkKey0,
                            const PositionKey* pkKey1)
{
    const float fRest = 1.0f - fFraction;
    const NiPoint3& kP0 = pkKey0->m_Pos;
    const NiPoint3& kP1 = pkKey1->m_Pos;
    return kResult = NiPoint3(fRest * kP0.x + fFraction * kP1.x, fRest * kP0.y + fFraction * kP1.y,
                              fRest * kP0.z + fFraction * kP1.z);
}

NiPoint3& FirstDerivativeLinear(NiPoint3& kResult, float, const PositionKey* pkKey0,
                                const PositionKey* pkKey1)
{
    return kResult = pkKey1->m_Pos - pkKey0->m_Pos;
}

PositionKey* LoadLinear(NiStream& kStream)
{
    PositionKey* pkKey = new PositionKey;
    kStream.Load(pkKey->m_fTime);
    pkKey->m_Pos.LoadBinary(kStream);
    return pkKey;
}

PositionKey* CopyLinear(const PositionKey* pkKey)
{
    return new PositionKey(*pkKey);
}

//--- The cubic segments of KEY_BEZIER and KEY_TCB, which share their field names. ---

template <class T>
NiPoint3& InterpolateCubic(NiPoint3& kResult, float fFraction, const PositionKey* pkKey0, const PositionKey*)
{
    const T& kKey = As<T>(pkKey0);
    return kResult = kKey.m_Pos + (kKey.m_OutTan + (kKey.m_A + kKey.m_B * fFraction) * fFraction) * fFraction;
}

template <class T>
NiPoint3& FirstDerivativeCubic(NiPoint3& kResult, float fFraction, const PositionKey* pkKey0,
                               const PositionKey*)
{
    const T& kKey = As<T>(pkKey0);
    return kResult = kKey.m_OutTan + (kKey.m_A * 2.0f + kKey.m_B * (3.0f * fFraction)) * fFraction;
}

template <class T>
NiPoint3& SecondDerivativeCubic(NiPoint3& kResult, float fFraction, const PositionKey* pkKey0,
                                const PositionKey*)
{
    const T& kKey = As<T>(pkKey0);
    return kResult = kKey.m_A * 2.0f + kKey.m_B * (6.0f * fFraction);
}

template <class T> float MaxCurvatureCubic(const PositionKey* const* ppKeys, uint32_t uiCount)
{
    float fMax = 0.0f;
    for (uint32_t i = 0; i + 1 < uiCount; ++i)
    {
        for (uint32_t j = 0; j <= MAX_CURVATURE_SAMPLES; ++j)
        {
            const float fU = static_cast<float>(j) * CURVATURE_STEP;
            NiPoint3 kD1;
            NiPoint3 kD2;
            FirstDerivativeCubic<T>(kD1, fU, ppKeys[i], ppKeys[i + 1]);
            SecondDerivativeCubic<T>(kD2, fU, ppKeys[i], ppKeys[i + 1]);
            const float fCurvature = kD1.Cross(kD2).Length() / kD1.DotProduct(kD1);
            if (fCurvature > fMax)
                fMax = fCurvature;
        }
    }
    return fMax;
}

// The coefficients of every segment from its end points and the tangents it leaves and
// arrives with.
template <class T> void FillCoefficients(PositionKey** ppKeys, uint32_t uiCount)
{
    for (uint32_t i = 0; i + 1 < uiCount; ++i)
    {
        T& kKey = *static_cast<T*>(ppKeys[i]);
        const T& kNext = *static_cast<const T*>(ppKeys[i + 1]);
        const NiPoint3 kD = kNext.m_Pos - kKey.m_Pos;
        kKey.m_A = kD * 3.0f - (kKey.m_OutTan * 2.0f + kNext.m_InTan);
        kKey.m_B = (kKey.m_OutTan + kNext.m_InTan) - kD * 2.0f;
    }
}

//--- KEY_BEZIER. ---

PositionKey* LoadBezier(NiStream& kStream)
{
    BezierPositionKey* pkKey = new BezierPositionKey;
    kStream.Load(pkKey->m_fTime);
    pkKey->m_Pos.LoadBinary(kStream);
    pkKey->m_InTan.LoadBinary(kStream);
    pkKey->m_OutTan.LoadBinary(kStream);
    return pkKey;
}

void SaveBezier(NiStream& kStream, const PositionKey* pkKey)
{
    const BezierPositionKey& kKey = As<BezierPositionKey>(pkKey);
    SavePoint(kStream, pkKey);
    kKey.m_InTan.SaveBinary(kStream);
    kKey.m_OutTan.SaveBinary(kStream);
}

bool IsBezierEqual(const PositionKey* pkKey0, const PositionKey* pkKey1)
{
    const BezierPositionKey& kKey0 = As<BezierPositionKey>(pkKey0);
    const BezierPositionKey& kKey1 = As<BezierPositionKey>(pkKey1);
    return IsPointEqual(pkKey0, pkKey1) && kKey0.m_InTan == kKey1.m_InTan && kKey0.m_OutTan == kKey1.m_OutTan;
}

PositionKey* CopyBezier(const PositionKey* pkKey)
{
    return new BezierPositionKey(As<BezierPositionKey>(pkKey));
}

//--- KEY_TCB. ---

void FillTcb(PositionKey** ppKeys, uint32_t uiCount)
{
    if (uiCount < 2)
        return;
    auto Key = [ppKeys](uint32_t i) -> TcbPositionKey& { return *static_cast<TcbPositionKey*>(ppKeys[i]); };
    ComputeTcbPositionTangents(Key(0), Key(0).m_Pos * 2.0f - Key(1).m_Pos, Key(1).m_Pos, 1.0f, 1.0f);
    for (uint32_t i = 1; i + 1 < uiCount; ++i)
    {
        ComputeTcbPositionTangents(Key(i), Key(i - 1).m_Pos, Key(i + 1).m_Pos,
                                   Key(i).m_fTime - Key(i - 1).m_fTime, Key(i + 1).m_fTime - Key(i).m_fTime);
    }
    const uint32_t uiLast = uiCount - 1;
    ComputeTcbPositionTangents(Key(uiLast), Key(uiLast - 1).m_Pos,
                               Key(uiLast).m_Pos * 2.0f - Key(uiLast - 1).m_Pos, 1.0f, 1.0f);
    FillCoefficients<TcbPositionKey>(ppKeys, uiCount);
}

PositionKey* LoadTcb(NiStream& kStream)
{
    TcbPositionKey* pkKey = new TcbPositionKey;
    kStream.Load(pkKey->m_fTime);
    pkKey->m_Pos.LoadBinary(kStream);
    kStream.Load(pkKey->m_fTension);
    kStream.Load(pkKey->m_fContinuity);
    kStream.Load(pkKey->m_fBias);
    return pkKey;
}

void SaveTcb(NiStream& kStream, const PositionKey* pkKey)
{
    const TcbPositionKey& kKey = As<TcbPositionKey>(pkKey);
    SavePoint(kStream, pkKey);
    kStream.Save(kKey.m_fTension);
    kStream.Save(kKey.m_fContinuity);
    kStream.Save(kKey.m_fBias);
}

bool IsTcbEqual(const PositionKey* pkKey0, const PositionKey* pkKey1)
{
    const TcbPositionKey& kKey0 = As<TcbPositionKey>(pkKey0);
    const TcbPositionKey& kKey1 = As<TcbPositionKey>(pkKey1);
    return IsPointEqual(pkKey0, pkKey1) && kKey0.m_fTension == kKey1.m_fTension &&
           kKey0.m_fContinuity == kKey1.m_fContinuity && kKey0.m_fBias == kKey1.m_fBias &&
           kKey0.m_InTan == kKey1.m_InTan && kKey0.m_OutTan == kKey1.m_OutTan && kKey0.m_A == kKey1.m_A &&
           kKey0.m_B == kKey1.m_B;
}

PositionKey* CopyTcb(const PositionKey* pkKey)
{
    return new TcbPositionKey(As<TcbPositionKey>(pkKey));
}
} // namespace

//--- Registration. ------------------------------------------------------------------------------

const PositionKeyOps* GetPositionKeyOps(uint32_t uiType)
{
    return uiType < POSITION_KEY_ROWS && g_abPositionKeyRegistered[uiType] ? &g_akPositionKeyOps[uiType]
                                                                           : nullptr;
}

bool RegisterPositionKeyBase()
{
    return RegisterRow(KEY_BASE, {NoCurvature, nullptr, SavePoint, ZeroPoint, ZeroPoint, nullptr, FillNothing,
                                  IsPointEqual, ZeroPoint, DeleteAs<PositionKey>, 16});
}

bool RegisterPositionKeyLinear()
{
    return RegisterRow(KEY_LINEAR,
                       {NoCurvature, CopyLinear, SavePoint, FirstDerivativeLinear, ZeroPoint, LoadLinear,
                        FillNothing, IsPointEqual, InterpolateLinear, DeleteAs<PositionKey>, 16});
}

bool RegisterPositionKeyBezier()
{
    return RegisterRow(KEY_BEZIER,
                       {MaxCurvatureCubic<BezierPositionKey>, CopyBezier, SaveBezier,
                        FirstDerivativeCubic<BezierPositionKey>, SecondDerivativeCubic<BezierPositionKey>,
                        LoadBezier, FillCoefficients<BezierPositionKey>, IsBezierEqual,
                        InterpolateCubic<BezierPositionKey>, DeleteAs<BezierPositionKey>, 40});
}

bool RegisterPositionKeyTcb()
{
    return RegisterRow(KEY_TCB,
                       {MaxCurvatureCubic<TcbPositionKey>, CopyTcb, SaveTcb,
                        FirstDerivativeCubic<TcbPositionKey>, SecondDerivativeCubic<TcbPositionKey>, LoadTcb,
                        FillTcb, IsTcbEqual, InterpolateCubic<TcbPositionKey>, DeleteAs<TcbPositionKey>, 28});
}

namespace
{
[[maybe_unused]] const bool g_bPositionKeysRegistered =
    RegisterPositionKeyBase() & RegisterPositionKeyLinear() & RegisterPositionKeyBezier() &
    RegisterPositionKeyTcb();
} // namespace

//--- Evaluation. --------------------------------------------------------------------------------

NiPoint3& InterpolatePositionKeys(NiPoint3& kResult, float fTime, const PositionKey* const* ppKeys,
                                  KeyType eType, uint32_t uiCount, uint32_t& uiLastIndex)
{
    if (uiCount == 0)
        return kResult = NiPoint3::ZERO;
    float fFraction = 0.0f;
    switch (FindKeySpan(fTime, ppKeys, uiCount, uiLastIndex, fFraction))
    {
    case KeySpan::FIRST:
        return kResult = ppKeys[0]->m_Pos;
    case KeySpan::LAST:
        return kResult = ppKeys[uiCount - 1]->m_Pos;
    case KeySpan::INSIDE:
        break;
    }
    const PositionKeyOps* pkOps = GetPositionKeyOps(eType);
    if (!pkOps)
        return kResult = NiPoint3::ZERO;
    NiPoint3 kBuffer;
    return kResult =
               pkOps->m_pfnInterpolate(kBuffer, fFraction, ppKeys[uiLastIndex], ppKeys[uiLastIndex + 1]);
}

void ComputePositionKeyFrame(float fFraction, const PositionKey* pkKey0, const PositionKey* pkKey1,
                             KeyType eType, NiPoint3& kTangent, NiPoint3& kNormal, NiPoint3& kBinormal,
                             float& fCurvature)
{
    const PositionKeyOps* pkOps = GetPositionKeyOps(eType);
    NiPoint3 kD1 = NiPoint3::ZERO;
    NiPoint3 kD2 = NiPoint3::ZERO;
    if (pkOps)
    {
        pkOps->m_pfnFirstDerivative(kD1, fFraction, pkKey0, pkKey1);
        pkOps->m_pfnSecondDerivative(kD2, fFraction, pkKey0, pkKey1);
    }
    const float fSpeedSquared = kD1.DotProduct(kD1);
    const float fInverseSpeed = 1.0f / std::sqrt(fSpeedSquared);
    kTangent = kD1 * fInverseSpeed;
    fCurvature = kD1.Cross(kD2).Length() * (fInverseSpeed * fInverseSpeed);

    if (std::fabs(fCurvature) > 1e-6f)
    {
        kNormal = kD2 * fSpeedSquared - kD1 * kD1.DotProduct(kD2);
    }
    else
    {
        fCurvature = 0.0f;
        if (std::fabs(kTangent.x) > 1e-6f || std::fabs(kTangent.y) > 1e-6f)
            kNormal = NiPoint3(kTangent.y, -kTangent.x, 0.0f);
        else
            kNormal = NiPoint3(0.0f, -kTangent.z, kTangent.y);
    }
    const float fNormalLength = kNormal.Length();
    kNormal = fNormalLength > 1e-6f ? kNormal * (1.0f / fNormalLength) : NiPoint3::ZERO;
    kBinormal = NiPoint3(kTangent.y * kNormal.z - kNormal.y * kTangent.z,
                         kTangent.z * kNormal.x - kNormal.z * kTangent.x,
                         kNormal.y * kTangent.x - kTangent.y * kNormal.x);
}

void ComputeTcbPositionTangents(TcbPositionKey& kKey, const NiPoint3& kPrevious, const NiPoint3& kNext,
                                float fPreviousInterval, float fNextInterval)
{
    const NiPoint3 kA = kKey.m_Pos - kPrevious;
    const NiPoint3 kB = kNext - kKey.m_Pos;
    const float fH = (1.0f - kKey.m_fTension) * 0.5f;
    const float fM = fH * (1.0f + kKey.m_fContinuity);
    const float fN = fH * (1.0f - kKey.m_fContinuity);
    const float fE = 2.0f / (fPreviousInterval + fNextInterval);
    const float fBias = kKey.m_fBias;
    kKey.m_InTan = (kB * (fM * (1.0f - fBias)) + kA * (fN * (1.0f + fBias))) * (fPreviousInterval * fE);
    kKey.m_OutTan = (kB * (fN * (1.0f - fBias)) + kA * (fM * (1.0f + fBias))) * (fNextInterval * fE);
}
