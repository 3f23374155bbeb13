#pragma once

#include "scene/animation/KeyFamily.h"
#include "scene/animation/KeyType.h"
#include "scene/animation/NiKeyArray.h"
#include "scene/object/NiPoint3.h"

#include <cstdint>

class NiStream;

// The position key family: translations, paths, and colours stored as points. The curved types
// keep each segment (from a key to the next) as a cubic computed after loading:
// P(u) = point + u outgoing + u^2 quadratic + u^3 cubic.
//
// Contents: records / the operation table / evaluation and the curve's moving frame.

// KEY_BASE, KEY_LINEAR.
struct PositionKey
{
    float m_fTime = 0.0f;
    NiPoint3 m_Pos = NiPoint3::ZERO;
};

// KEY_BEZIER: the tangents are stored, the coefficients derived.
struct BezierPositionKey : PositionKey
{
    NiPoint3 m_InTan = NiPoint3::ZERO;
    NiPoint3 m_OutTan = NiPoint3::ZERO;
    NiPoint3 m_A = NiPoint3::ZERO; // quadratic
    NiPoint3 m_B = NiPoint3::ZERO; // cubic
};

// KEY_TCB: tangents and coefficients derived.
struct TcbPositionKey : PositionKey
{
    float m_fTension = 0.0f;
    float m_fContinuity = 0.0f;
    float m_fBias = 0.0f;
    NiPoint3 m_InTan = NiPoint3::ZERO;
    NiPoint3 m_OutTan = NiPoint3::ZERO;
    NiPoint3 m_A = NiPoint3::ZERO;
    NiPoint3 m_B = NiPoint3::ZERO;
};

struct PositionKeyOps
{
    float (*m_pfnMaxCurvature)(const PositionKey* const* ppKeys, uint32_t uiCount);
    PositionKey* (*m_pfnCopyKey)(const PositionKey* pkKey); // null: no copy
    void (*m_pfnSaveKey)(NiStream& kStream, const PositionKey* pkKey);
    NiPoint3& (*m_pfnFirstDerivative)(NiPoint3& kResult, float fFraction, const PositionKey* pkKey0,
                                      const PositionKey* pkKey1);
    NiPoint3& (*m_pfnSecondDerivative)(NiPoint3& kResult, float fFraction, const PositionKey* pkKey0,
                                       const PositionKey* pkKey1);
    PositionKey* (*m_pfnLoadKey)(NiStream& kStream); // null: no loader
    void (*m_pfnFillDerived)(PositionKey** ppKeys, uint32_t uiCount);
    bool (*m_pfnIsKeyEqual)(const PositionKey* pkKey0, const PositionKey* pkKey1);
    NiPoint3& (*m_pfnInterpolate)(NiPoint3& kResult, float fFraction, const PositionKey* pkKey0,
                                  const PositionKey* pkKey1);
    void (*m_pfnDeleteKey)(PositionKey* pkKey);
    uint32_t m_uiRecordBytes;
};

inline constexpr uint32_t POSITION_KEY_ROWS = 4;
// Samples per segment of MaxCurvature, ends included (so one more than this).
inline constexpr uint32_t MAX_CURVATURE_SAMPLES = 20;

const PositionKeyOps* GetPositionKeyOps(uint32_t uiType);
bool RegisterPositionKeyBase();
bool RegisterPositionKeyLinear();
bool RegisterPositionKeyBezier();
bool RegisterPositionKeyTcb();

struct PositionKeyFamily : KeyFamily<PositionKey, PositionKeyOps, 16, GetPositionKeyOps>
{
};

using NiPositionKeyArray = NiKeyArray<PositionKeyFamily>;

// The point at a key time with the caller's cached last index; an empty array gives the origin.
NiPoint3& InterpolatePositionKeys(NiPoint3& kResult, float fTime, const PositionKey* const* ppKeys,
                                  KeyType eType, uint32_t uiCount, uint32_t& uiLastIndex);

// The moving frame of the curve between two keys at the fraction: unit tangent, unit normal,
// binormal and curvature (|D1 x D2| / |D1|^2). A straight piece has curvature 0 and a normal
// across the tangent in the x-y plane, or (0, -T.z, T.y) for a tangent along z.
void ComputePositionKeyFrame(float fFraction, const PositionKey* pkKey0, const PositionKey* pkKey1,
                             KeyType eType, NiPoint3& kTangent, NiPoint3& kNormal, NiPoint3& kBinormal,
                             float& fCurvature);

// The TCB tangents of one key from its neighbours' points and the intervals to them.
void ComputeTcbPositionTangents(TcbPositionKey& kKey, const NiPoint3& kPrevious, const NiPoint3& kNext,
                                float fPreviousInterval, float fNextInterval);
