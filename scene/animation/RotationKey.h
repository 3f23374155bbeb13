#pragma once

#include "scene/animation/FloatKey.h"
#include "scene/animation/KeyFamily.h"
#include "scene/animation/KeyType.h"
#include "scene/animation/NiKeyArray.h"
#include "scene/object/NiQuaternion.h"

#include <cstdint>

class NiStream;

// The rotation key family: orientations. Four types hold quaternions (with control quaternions
// derived after loading); the Euler type holds three float-key arrays of angles and an axis
// order, and builds its quaternion at every evaluation.
//
// Contents: records / the operation table / evaluation.

// KEY_BASE, KEY_LINEAR.
struct RotationKey
{
    float m_fTime = 0.0f;
    NiQuaternion m_quat = NiQuaternion(1.0f, 0.0f, 0.0f, 0.0f);
};

// KEY_BEZIER: the squad control quaternion is derived.
struct BezierRotationKey : RotationKey
{
    NiQuaternion m_control = NiQuaternion(1.0f, 0.0f, 0.0f, 0.0f);
};

// KEY_TCB: both control quaternions are derived.
struct TcbRotationKey : RotationKey
{
    float m_fTension = 0.0f;
    float m_fContinuity = 0.0f;
    float m_fBias = 0.0f;
    NiQuaternion m_outControl = NiQuaternion(1.0f, 0.0f, 0.0f, 0.0f); // towards the next key
    NiQuaternion m_inControl = NiQuaternion(1.0f, 0.0f, 0.0f, 0.0f);  // from the previous key
};

// KEY_EULER: three angle arrays (radians) about x, y and z, each with its own key type and its
// own cached last index, composed in the order of the axis-order row. An empty axis adds no
// turn. Its time and quaternion are unused.
struct EulerRotationKey : RotationKey
{
    static constexpr int32_t AXIS_ORDERS = 9;
    // Rows: the axes (0 x, 1 y, 2 z) in the order they are applied.
    static constexpr uint8_t AXIS_ORDER_TABLE[AXIS_ORDERS][3] = {
        {0, 1, 2}, {0, 2, 1}, {1, 2, 0}, {1, 0, 2}, {2, 0, 1}, {2, 1, 0}, {0, 1, 0}, {1, 2, 1}, {2, 0, 2}};

    // The quaternion at a key time; advances the axes' cached indices, which belong to the key
    // (and so to every controller sharing its data).
    NiQuaternion Evaluate(float fTime) const;
    // The axis arrays' range of key times, widened into the given bounds.
    void WidenKeyTimeRange(float& fLo, float& fHi) const;

    int32_t m_iAxisOrder = 0;
    NiFloatKeyArray m_akAxis[3];
    mutable uint32_t m_auiLastIndex[3] = {0, 0, 0};
};

struct RotationKeyOps
{
    bool (*m_pfnIsKeyEqual)(const RotationKey* pkKey0, const RotationKey* pkKey1);
    // The Euler row receives the key time instead of a fraction and no second key.
    NiQuaternion& (*m_pfnInterpolate)(NiQuaternion& kResult, float fFraction, const RotationKey* pkKey0,
                                      const RotationKey* pkKey1);
    RotationKey* (*m_pfnCopyKey)(const RotationKey* pkKey); // null: no copy
    RotationKey* (*m_pfnLoadKey)(NiStream& kStream);        // null: no loader; null on a bad Euler key
    void (*m_pfnFillDerived)(RotationKey** ppKeys, uint32_t uiCount);
    void (*m_pfnSaveKey)(NiStream& kStream, const RotationKey* pkKey);
    void (*m_pfnDeleteKey)(RotationKey* pkKey);
    uint32_t m_uiRecordBytes; // the smallest file record
};

inline constexpr uint32_t ROTATION_KEY_ROWS = 5;

const RotationKeyOps* GetRotationKeyOps(uint32_t uiType);
bool RegisterRotationKeyBase();
bool RegisterRotationKeyLinear();
bool RegisterRotationKeyBezier();
bool RegisterRotationKeyTcb();
bool RegisterRotationKeyEuler();

struct RotationKeyFamily : KeyFamily<RotationKey, RotationKeyOps, 14, GetRotationKeyOps>
{
};

using NiRotationKeyArray = NiKeyArray<RotationKeyFamily>;

// The rotation at a key time with the caller's cached last index. An Euler array is evaluated
// through its first key at the time itself, leaving the caller's index alone. An empty array
// gives the identity.
NiQuaternion& InterpolateRotationKeys(NiQuaternion& kResult, float fTime, const RotationKey* const* ppKeys,
                                      KeyType eType, uint32_t uiCount, uint32_t& uiLastIndex);

// Puts neighbouring quaternions into one hemisphere (so interpolation takes the short way) and
// clamps every w into [-1, 1].
void FixQuaternionSigns(RotationKey** ppKeys, uint32_t uiCount);

// The TCB control quaternions of one key from its neighbours (the key itself at the ends).
void ComputeTcbRotationControls(TcbRotationKey& kKey, const TcbRotationKey& kPrevious,
                                const TcbRotationKey& kNext);
