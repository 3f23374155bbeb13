#pragma once

#include "scene/animation/ColorKey.h"
#include "scene/animation/FloatKey.h"
#include "scene/animation/PositionKey.h"
#include "scene/animation/RotationKey.h"
#include "scene/object/ClassRecord.h"
#include "scene/object/NiObject.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

// Key arrays made in code, with their derived values computed as a loader would.
namespace AnimTest
{
template <class TKey, class TFamily> TKey** Finish(TKey** ppKeys, uint32_t uiCount, KeyType eType)
{
    const typename TFamily::Ops* pkOps = TFamily::GetOps(eType);
    if (pkOps)
        TFamily::FillDerived(*pkOps, ppKeys, uiCount);
    return ppKeys;
}

// Linear, Bezier (zero tangents) or TCB (zero tension, continuity and bias) float keys.
inline FloatKey** FloatKeys(std::initializer_list<std::pair<float, float>> kKeys, KeyType eType = KEY_LINEAR)
{
    FloatKey** ppKeys = new FloatKey*[kKeys.size()];
    uint32_t i = 0;
    for (const auto& [fTime, fValue] : kKeys)
    {
        FloatKey* pkKey = eType == KEY_BEZIER ? new BezierFloatKey
                          : eType == KEY_TCB  ? new TcbFloatKey
                                              : new FloatKey;
        pkKey->m_fTime = fTime;
        pkKey->m_fValue = fValue;
        ppKeys[i++] = pkKey;
    }
    return Finish<FloatKey, FloatKeyFamily>(ppKeys, i, eType);
}

inline PositionKey** PositionKeys(std::initializer_list<std::pair<float, NiPoint3>> kKeys,
                                  KeyType eType = KEY_LINEAR)
{
    PositionKey** ppKeys = new PositionKey*[kKeys.size()];
    uint32_t i = 0;
    for (const auto& [fTime, kPoint] : kKeys)
    {
        PositionKey* pkKey = eType == KEY_BEZIER ? new BezierPositionKey
                             : eType == KEY_TCB  ? new TcbPositionKey
                                                 : new PositionKey;
        pkKey->m_fTime = fTime;
        pkKey->m_Pos = kPoint;
        ppKeys[i++] = pkKey;
    }
    return Finish<PositionKey, PositionKeyFamily>(ppKeys, i, eType);
}

inline RotationKey** RotationKeys(std::initializer_list<std::pair<float, NiQuaternion>> kKeys,
                                  KeyType eType = KEY_LINEAR)
{
    RotationKey** ppKeys = new RotationKey*[kKeys.size()];
    uint32_t i = 0;
    for (const auto& [fTime, kQuat] : kKeys)
    {
        RotationKey* pkKey = eType == KEY_BEZIER ? new BezierRotationKey
                             : eType == KEY_TCB  ? new TcbRotationKey
                                                 : new RotationKey;
        pkKey->m_fTime = fTime;
        pkKey->m_quat = kQuat;
        ppKeys[i++] = pkKey;
    }
    return Finish<RotationKey, RotationKeyFamily>(ppKeys, i, eType);
}

inline ColorKey** ColorKeys(std::initializer_list<std::pair<float, NiColorA>> kKeys)
{
    ColorKey** ppKeys = new ColorKey*[kKeys.size()];
    uint32_t i = 0;
    for (const auto& [fTime, kColor] : kKeys)
        ppKeys[i++] = new ColorKey{fTime, kColor};
    return ppKeys;
}

// A turn about z by the angle.
inline NiQuaternion ZTurn(float fAngle)
{
    return NiQuaternion(fAngle, NiPoint3::UNIT_Z);
}

// A stand-in image: the texture property and the flip controller recognise images by a class
// record named "NiImage" in the chain.
inline constinit const ClassRecord g_kImageRecord("NiImage", &NiObject::ms_kClassRecord);

class TestImage : public NiObject
{
    NiDeclareStream;

public:
    static const ClassRecord ms_kClassRecord;
    const ClassRecord* GetClassRecord() const override { return &ms_kClassRecord; }
};
} // namespace AnimTest
