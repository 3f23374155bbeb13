#pragma once

#include "scene/animation/KeyFamily.h"
#include "scene/animation/KeyType.h"
#include "scene/animation/NiKeyArray.h"

#include <cstdint>
#include <memory>
#include <vector>

class NiStream;

// The float key family: scalar values (alpha, scale, path percentage, roll angle, morph
// weights, Euler angles). Records begin with the time; the later fields follow the type.
//
// Contents: records / the operation table and its registration / evaluation.

//--- Records. -------------------------------------------------------------------------------

// KEY_BASE, KEY_LINEAR.
struct FloatKey
{
    float m_fTime = 0.0f;
    float m_fValue = 0.0f;
};

// KEY_BEZIER.
struct BezierFloatKey : FloatKey
{
    float m_fInTan = 0.0f;
    float m_fOutTan = 0.0f;
};

// KEY_TCB, the float KEY_EULER and KEY_TCB_INDEX (whose value is a morph-target index). The
// tangents are derived after loading, never stored.
struct TcbFloatKey : FloatKey
{
    float m_fTension = 0.0f;
    float m_fContinuity = 0.0f;
    float m_fBias = 0.0f;
    float m_fInTan = 0.0f;
    float m_fOutTan = 0.0f;
};

// KEY_TCB_ARRAY: N values per key (one per morph target). The scalar value and tangents are
// scratch fields for the tangent computation; the arrays are the key's content, the tangent
// arrays being absent until the whole array's derived values are computed.
struct TcbFloatArrayKey : TcbFloatKey
{
    TcbFloatArrayKey() = default;
    // Takes the values (new[]); the scalar value is 0 and there are no tangents yet.
    TcbFloatArrayKey(float fTime, float fTension, float fContinuity, float fBias, float* pfValues);
    // Frees the old values.
    void ReplaceValues(float* pfValues) { m_spValues.reset(pfValues); }

    std::unique_ptr<float[]> m_spValues;
    std::unique_ptr<float[]> m_spInTans;
    std::unique_ptr<float[]> m_spOutTans;
};

// A KEY_TCB_INDEX key naming a morph target.
TcbFloatKey* NewTcbIndexKey(float fTime, float fTension, float fContinuity, float fBias, int32_t iTarget);

//--- The operation table. --------------------------------------------------------------------

// One row per key type. The trailing count is the number of values per key of KEY_TCB_ARRAY
// and 0 for every other use.
struct FloatKeyOps
{
    float (*m_pfnInterpolate)(float fFraction, const FloatKey* pkKey0, const FloatKey* pkKey1);
    void (*m_pfnFillDerived)(FloatKey** ppKeys, uint32_t uiCount, uint32_t uiValues);
    FloatKey* (*m_pfnLoadKey)(NiStream& kStream, uint32_t uiValues); // null: no loader
    bool (*m_pfnIsKeyEqual)(const FloatKey* pkKey0, const FloatKey* pkKey1, uint32_t uiValues);
    FloatKey* (*m_pfnCopyKey)(const FloatKey* pkKey, uint32_t uiValues); // null: no copy
    void (*m_pfnSaveKey)(NiStream& kStream, const FloatKey* pkKey, uint32_t uiValues);
    void (*m_pfnDeleteKey)(FloatKey* pkKey);
    uint32_t m_uiRecordBytes; // one file record without per-key values
};

inline constexpr uint32_t FLOAT_KEY_ROWS = 7;

// The row of a type; null for a number beyond the rows or a row not registered.
const FloatKeyOps* GetFloatKeyOps(uint32_t uiType);

// Each fills its type's row once; a second call returns false and changes nothing. The
// library calls them all while starting.
bool RegisterFloatKeyBase();
bool RegisterFloatKeyLinear();
bool RegisterFloatKeyBezier();
bool RegisterFloatKeyTcb();
bool RegisterFloatKeyEuler();
bool RegisterFloatKeyTcbArray();
bool RegisterFloatKeyTcbIndex();

// How NiKeyArray reaches the float rows (data objects pass no per-key values).
struct FloatKeyFamily : KeyFamily<FloatKey, FloatKeyOps, 8, GetFloatKeyOps>
{
};

using NiFloatKeyArray = NiKeyArray<FloatKeyFamily>;

//--- Evaluation. -----------------------------------------------------------------------------

inline float LerpFloat(float fFraction, float fA, float fB)
{
    return (1.0f - fFraction) * fA + fFraction * fB;
}

// The cubic Hermite value from p0 (leaving with m0) to p1 (arriving with m1).
inline float HermiteFloat(float fFraction, float fP0, float fM0, float fP1, float fM1)
{
    const float fD = fP1 - fP0;
    return fP0 + fFraction * (fM0 + fFraction * ((3.0f * fD - 2.0f * fM0 - fM1) +
                                                 fFraction * (fM0 + fM1 - 2.0f * fD)));
}

// The value at a key time, with the caller's cached last index (0 at first and whenever the
// caller's array is replaced). An empty array gives 0.
float InterpolateFloatKeys(float fTime, const FloatKey* const* ppKeys, KeyType eType, uint32_t uiCount,
                           uint32_t& uiLastIndex);

// The tangents of one TCB key from its neighbours' values and the intervals to them.
void ComputeTcbFloatTangents(TcbFloatKey& kKey, float fPrevious, float fNext, float fPreviousInterval,
                             float fNextInterval);
// Every key's tangents; the missing neighbours at the ends are mirror images.
void FillTcbFloatTangents(FloatKey** ppKeys, uint32_t uiCount);

// The morph weights between two keys of a morph key array: one weight per target.
// KEY_TCB_ARRAY: each target's own curve. KEY_TCB_INDEX: the weight moves from the target that
// key 0 names to the one key 1 names along the curve of the index values; an index outside
// the targets is ignored, and two keys naming one target give it the whole weight.
std::vector<float> InterpolateTcbArrayKey(float fFraction, const TcbFloatArrayKey& kKey0,
                                          const TcbFloatArrayKey& kKey1, uint32_t uiValues);
std::vector<float> InterpolateTcbIndexKey(float fFraction, const TcbFloatKey& kKey0, const TcbFloatKey& kKey1,
                                          uint32_t uiValues);
