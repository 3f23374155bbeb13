#include "scene/animation/RotationKey.h"

#include "scene/animation/KeySearch.h"
#include "scene/object/NiStream.h"

#include <cstring>

namespace
{
RotationKeyOps g_akRotationKeyOps[ROTATION_KEY_ROWS];
bool g_abRotationKeyRegistered[ROTATION_KEY_ROWS];

bool RegisterRow(KeyType eType, const RotationKeyOps& kOps)
{
    if (g_abRotationKeyRegistered[eType])
        return false;
    g_abRotationKeyRegistered[eType] = true;
    g_akRotationKeyOps[eType] = kOps;
    return true;
}

constexpr NiQuaternion IDENTITY_QUAT(1.0f, 0.0f, 0.0f, 0.0f);

template <class T> const T& As(const RotationKey* pkKey)
{
    return *static_cast<const T*>(pkKey);
}

template <class T> void DeleteAs(RotationKey* pkKey)
{
    delete static_cast<T*>(pkKey);
}

//--- Quaternion keys: KEY_BASE and KEY_LINEAR. ---

bool IsQuatEqual(const RotationKey* pkKey0, const RotationKey* pkKey1)
{
    return pkKey0->m_fTime == pkKey1->m_fTime && pkKey0->m_quat == pkKey1->m_quat;
}

NiQuaternion& InterpolateIdentity(NiQuaternion& kResult, float, const RotationKey*, const RotationKey*)
{
    return kResult = IDENTITY_QUAT;
}

NiQuaternion& InterpolateLinear(NiQuaternion& kResult, float fFraction, const RotationKey* pkKey0,
                                const RotationKey* pkKey1)
{
    return kResult = NiQuaternion::Slerp(fFraction, pkKey0->m_quat, pkKey1->m_quat);
}

void LoadQuat(NiStream& kStream, RotationKey& kKey)
{
    kStream.Load(kKey.m_fTime);
    kKey.m_quat.LoadBinary(kStream);
}

void SaveQuat(NiStream& kStream, const RotationKey* pkKey)
{
    kStream.Save(pkKey->m_fTime);
    pkKey->m_quat.SaveBinary(kStream);
}

RotationKey* LoadLinear(NiStream& kStream)
{
    RotationKey* pkKey = new RotationKey;
    LoadQuat(kStream, *pkKey);
    return pkKey;
}

RotationKey* CopyLinear(const RotationKey* pkKey)
{
    return new RotationKey(*pkKey);
}

void FillSigns(RotationKey** ppKeys, uint32_t uiCount)
{
    FixQuaternionSigns(ppKeys, uiCount);
}

//--- KEY_BEZIER. ---

bool IsBezierEqual(const RotationKey* pkKey0, const RotationKey* pkKey1)
{
    return IsQuatEqual(pkKey0, pkKey1) &&
           As<BezierRotationKey>(pkKey0).m_control == As<BezierRotationKey>(pkKey1).m_control;
}

NiQuaternion& InterpolateBezier(NiQuaternion& kResult, float fFraction, const RotationKey* pkKey0,
                                const RotationKey* pkKey1)
{
    const BezierRotationKey& kKey0 = As<BezierRotationKey>(pkKey0);
    const BezierRotationKey& kKey1 = As<BezierRotationKey>(pkKey1);
    return kResult =
               NiQuaternion::Squad(fFraction, kKey0.m_quat, kKey0.m_control, kKey1.m_control, kKey1.m_quat);
}

RotationKey* LoadBezier(NiStream& kStream)
{
    BezierRotationKey* pkKey = new BezierRotationKey;
    LoadQuat(kStream, *pkKey);
    return pkKey;
}

RotationKey* CopyBezier(const RotationKey* pkKey)
{
    return new BezierRotationKey(As<BezierRotationKey>(pkKey));
}

void FillBezier(RotationKey** ppKeys, uint32_t uiCount)
{
    if (uiCount < 2)
        return;
    FixQuaternionSigns(ppKeys, uiCount);
    auto Key = [ppKeys](uint32_t i) -> BezierRotationKey&
    { return *static_cast<BezierRotationKey*>(ppKeys[i]); };
    const uint32_t uiLast = uiCount - 1;
    Key(0).m_control = NiQuaternion::Intermediate(Key(0).m_quat, Key(0).m_quat, Key(1).m_quat);
    for (uint32_t i = 1; i < uiLast; ++i)
        Key(i).m_control = NiQuaternion::Intermediate(Key(i - 1).m_quat, Key(i).m_quat, Key(i + 1).m_quat);
    Key(uiLast).m_control =
        NiQuaternion::Intermediate(Key(uiLast - 1).m_quat, Key(uiLast).m_quat, Key(uiLast).m_quat);
}

//--- KEY_TCB. ---

bool IsTcbEqual(const RotationKey* pkKey0, const RotationKey* pkKey1)
{
    const TcbRotationKey& kKey0 = As<TcbRotationKey>(pkKey0);
    const TcbRotationKey& kKey1 = As<TcbRotationKey>(pkKey1);
    return IsQuatEqual(pkKey0, pkKey1) && kKey0.m_fTension == kKey1.m_fTension &&
           kKey0.m_fContinuity == kKey1.m_fContinuity && kKey0.m_fBias == kKey1.m_fBias &&
           kKey0.m_outControl == kKey1.m_outControl && kKey0.m_inControl == kKey1.m_inControl;
}

NiQuaternion& InterpolateTcb(NiQuaternion& kResult, float fFraction, const RotationKey* pkKey0,
                             const RotationKey* pkKey1)
{
    const TcbRotationKey& kKey0 = As<TcbRotationKey>(pkKey0);
    const TcbRotationKey& kKey1 = As<TcbRotationKey>(pkKey1);
    return kResult = NiQuaternion::Squad(fFraction, kKey0.m_quat, kKey0.m_outControl, kKey1.m_inControl,
                                         kKey1.m_quat);
}

RotationKey* LoadTcb(NiStream& kStream)
{
    TcbRotationKey* pkKey = new TcbRotationKey;
    LoadQuat(kStream, *pkKey);
    kStream.Load(pkKey->m_fTension);
    kStream.Load(pkKey->m_fContinuity);
    kStream.Load(pkKey->m_fBias);
    return pkKey;
}

void SaveTcb(NiStream& kStream, const RotationKey* pkKey)
{
    const TcbRotationKey& kKey = As<TcbRotationKey>(pkKey);
    SaveQuat(kStream, pkKey);
    kStream.Save(kKey.m_fTension);
    kStream.Save(kKey.m_fContinuity);
    kStream.Save(kKey.m_fBias);
}

RotationKey* CopyTcb(const RotationKey* pkKey)
{
    return new TcbRotationKey(As<TcbRotationKey>(pkKey));
}

void FillTcb(RotationKey** ppKeys, uint32_t uiCount)
{
    if (uiCount < 2)
        return;
    FixQuaternionSigns(ppKeys, uiCount);
    auto Key = [ppKeys](uint32_t i) -> TcbRotationKey& { return *static_cast<TcbRotationKey*>(ppKeys[i]); };
    const uint32_t uiLast = uiCount - 1;
    ComputeTcbRotationControls(Key(0), Key(0), Key(1));
    for (uint32_t i = 1; i < uiLast; ++i)
        ComputeTcbRotationControls(Key(i), Key(i - 1), Key(i + 1));
    ComputeTcbRotationControls(Key(uiLast), Key(uiLast - 1), Key(uiLast));
}

//--- KEY_EULER. ---

bool IsEulerEqual(const RotationKey* pkKey0, const RotationKey* pkKey1)
{
    const EulerRotationKey& kKey0 = As<EulerRotationKey>(pkKey0);
    const EulerRotationKey& kKey1 = As<EulerRotationKey>(pkKey1);
    if (kKey0.m_iAxisOrder != kKey1.m_iAxisOrder)
        return false;
    // Each axis compares with its own type on both sides: axes of different types differ.
    for (int i = 0; i < 3; ++i)
    {
        if (!kKey0.m_akAxis[i].IsEqual(kKey1.m_akAxis[i]))
            return false;
    }
    return true;
}

NiQuaternion& InterpolateEuler(NiQuaternion& kResult, float fTime, const RotationKey* pkKey0,
                               const RotationKey*)
{
    return kResult = As<EulerRotationKey>(pkKey0).Evaluate(fTime);
}

RotationKey* LoadEuler(NiStream& kStream)
{
    EulerRotationKey* pkKey = new EulerRotationKey;
    // Files up to version 2.60 hold the axis order in 16 bits.
    if (std::strcmp(kStream.GetVersion(), "2.60") > 0)
    {
        kStream.Load(pkKey->m_iAxisOrder);
    }
    else
    {
        int16_t sOrder = 0;
        kStream.Load(sOrder);
        pkKey->m_iAxisOrder = sOrder;
    }
    bool bLoaded = pkKey->m_iAxisOrder >= 0 && pkKey->m_iAxisOrder < EulerRotationKey::AXIS_ORDERS;
    for (int i = 0; i < 3 && bLoaded; ++i)
        bLoaded = pkKey->m_akAxis[i].Load(kStream, false);
    if (!bLoaded)
    {
        delete pkKey;
        return nullptr;
    }
    return pkKey;
}

void SaveEuler(NiStream& kStream, const RotationKey* pkKey)
{
    const EulerRotationKey& kKey = As<EulerRotationKey>(pkKey);
    kStream.Save(kKey.m_iAxisOrder);
    for (const NiFloatKeyArray& kAxis : kKey.m_akAxis)
        kAxis.Save(kStream);
}

RotationKey* CopyEuler(const RotationKey* pkKey)
{
    const EulerRotationKey& kKey = As<EulerRotationKey>(pkKey);
    EulerRotationKey* pkCopy = new EulerRotationKey;
    pkCopy->m_fTime = 0.0f;
    pkCopy->m_quat = NiQuaternion(0.0f, 0.0f, 0.0f, 0.0f);
    pkCopy->m_iAxisOrder = kKey.m_iAxisOrder;
    for (int i = 0; i < 3; ++i)
        pkCopy->m_akAxis[i].CopyFrom(kKey.m_akAxis[i]);
    return pkCopy;
}

void FillEuler(RotationKey** ppKeys, uint32_t uiCount)
{
    if (uiCount == 0)
        return;
    EulerRotationKey& kKey = *static_cast<EulerRotationKey*>(ppKeys[0]);
    for (NiFloatKeyArray& kAxis : kKey.m_akAxis)
    {
        const FloatKeyOps* pkOps = GetFloatKeyOps(kAxis.GetType());
        if (pkOps && kAxis.GetNumKeys())
            pkOps->m_pfnFillDerived(kAxis.GetKeys(), kAxis.GetNumKeys(), 0);
    }
}
} // namespace

//--- The Euler key. ---------------------------------------------------------------------------

NiQuaternion EulerRotationKey::Evaluate(float fTime) const
{
    static const NiPoint3* const s_apkAxes[3] = {&NiPoint3::UNIT_X, &NiPoint3::UNIT_Y, &NiPoint3::UNIT_Z};
    NiQuaternion akTurn[3];
    for (int i = 0; i < 3; ++i)
    {
        const NiFloatKeyArray& kAxis = m_akAxis[i];
        const float fAngle = kAxis.GetNumKeys()
                                 ? InterpolateFloatKeys(fTime, kAxis.GetKeys(), kAxis.GetType(),
                                                        kAxis.GetNumKeys(), m_auiLastIndex[i])
                                 : 0.0f;
        akTurn[i].FromAngleAxis(fAngle, *s_apkAxes[i]);
    }
    // A stored order outside the table is refused on load; one set in code falls back to 0.
    const int32_t iOrder = m_iAxisOrder >= 0 && m_iAxisOrder < AXIS_ORDERS ? m_iAxisOrder : 0;
    NiQuaternion kResult = IDENTITY_QUAT;
    for (uint8_t ucAxis : AXIS_ORDER_TABLE[iOrder])
        kResult = akTurn[ucAxis] * kResult;
    return kResult;
}

void EulerRotationKey::WidenKeyTimeRange(float& fLo, float& fHi) const
{
    for (const NiFloatKeyArray& kAxis : m_akAxis)
    {
        if (kAxis.GetNumKeys() == 0)
            continue;
        if (kAxis.GetFirstKey()->m_fTime < fLo)
            fLo = kAxis.GetFirstKey()->m_fTime;
        if (kAxis.GetLastKey()->m_fTime > fHi)
            fHi = kAxis.GetLastKey()->m_fTime;
    }
}

//--- Registration. ------------------------------------------------------------------------------

const RotationKeyOps* GetRotationKeyOps(uint32_t uiType)
{
    return uiType < ROTATION_KEY_ROWS && g_abRotationKeyRegistered[uiType] ? &g_akRotationKeyOps[uiType]
                                                                           : nullptr;
}

bool RegisterRotationKeyBase()
{
    return RegisterRow(KEY_BASE, {IsQuatEqual, InterpolateIdentity, nullptr, nullptr, FillSigns, SaveQuat,
                                  DeleteAs<RotationKey>, 20});
}

bool RegisterRotationKeyLinear()
{
    return RegisterRow(KEY_LINEAR, {IsQuatEqual, InterpolateLinear, CopyLinear, LoadLinear, FillSigns,
                                    SaveQuat, DeleteAs<RotationKey>, 20});
}

bool RegisterRotationKeyBezier()
{
    return RegisterRow(KEY_BEZIER, {IsBezierEqual, InterpolateBezier, CopyBezier, LoadBezier, FillBezier,
                                    SaveQuat, DeleteAs<BezierRotationKey>, 20});
}

bool RegisterRotationKeyTcb()
{
    return RegisterRow(KEY_TCB, {IsTcbEqual, InterpolateTcb, CopyTcb, LoadTcb, FillTcb, SaveTcb,
                                 DeleteAs<TcbRotationKey>, 32});
}

bool RegisterRotationKeyEuler()
{
    return RegisterRow(KEY_EULER, {IsEulerEqual, InterpolateEuler, CopyEuler, LoadEuler, FillEuler, SaveEuler,
                                   DeleteAs<EulerRotationKey>, 14});
}

namespace
{
[[maybe_unused]] const bool g_bRotationKeysRegistered =
    RegisterRotationKeyBase() & RegisterRotationKeyLinear() & RegisterRotationKeyBezier() &
    RegisterRotationKeyTcb() & RegisterRotationKeyEuler();
} // namespace

//--- Evaluation. --------------------------------------------------------------------------------

NiQuaternion& InterpolateRotationKeys(NiQuaternion& kResult, float fTime, const RotationKey* const* ppKeys,
                                      KeyType eType, uint32_t uiCount, uint32_t& uiLastIndex)
{
    if (uiCount == 0)
        return kResult = IDENTITY_QUAT;
    const RotationKeyOps* pkOps = GetRotationKeyOps(eType);
    if (!pkOps)
        return kResult = IDENTITY_QUAT;
    NiQuaternion kBuffer;
    if (eType == KEY_EULER)
        return kResult = pkOps->m_pfnInterpolate(kBuffer, fTime, ppKeys[0], nullptr);

    float fFraction = 0.0f;
    switch (FindKeySpan(fTime, ppKeys, uiCount, uiLastIndex, fFraction))
    {
    case KeySpan::FIRST:
        return kResult = ppKeys[0]->m_quat;
    case KeySpan::LAST:
        return kResult = ppKeys[uiCount - 1]->m_quat;
    case KeySpan::INSIDE:
        break;
    }
    return kResult =
               pkOps->m_pfnInterpolate(kBuffer, fFraction, ppKeys[uiLastIndex], ppKeys[uiLastIndex + 1]);
}

void FixQuaternionSigns(RotationKey** ppKeys, uint32_t uiCount)
{
    for (uint32_t i = 0; i + 1 < uiCount; ++i)
    {
        if (NiQuaternion::Dot(ppKeys[i]->m_quat, ppKeys[i + 1]->m_quat) < 0.0f)
            ppKeys[i + 1]->m_quat = -ppKeys[i + 1]->m_quat;
    }
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        float& fW = ppKeys[i]->m_quat.w;
        if (fW < -1.0f)
            fW = -1.0f;
        else if (fW > 1.0f)
            fW = 1.0f;
    }
}

void ComputeTcbRotationControls(TcbRotationKey& kKey, const TcbRotationKey& kPrevious,
                                const TcbRotationKey& kNext)
{
    const NiQuaternion& kQ = kKey.m_quat;
    const NiQuaternion kLog0 = NiQuaternion::Log(NiQuaternion::UnitInverse(kPrevious.m_quat) * kQ);
    const NiQuaternion kLog1 = NiQuaternion::Log(NiQuaternion::UnitInverse(kQ) * kNext.m_quat);

    const float fScale = 1.0f / (kNext.m_fTime - kPrevious.m_fTime);
    const float fPrev = (kKey.m_fTime - kPrevious.m_fTime) * fScale;
    const float fNext = (kNext.m_fTime - kKey.m_fTime) * fScale;
    const float fTension = 1.0f - kKey.m_fTension;
    const float fCon = kKey.m_fContinuity;
    const float fBias = kKey.m_fBias;

    const NiQuaternion kOut = (kLog0 * (fPrev * fTension * (1.0f + fCon) * (1.0f + fBias)) +
                               kLog1 * (fPrev * fTension * (1.0f - fCon) * (1.0f - fBias))) -
                              kLog1;
    kKey.m_outControl = kQ * NiQuaternion::Exp(kOut * 0.5f);
    const NiQuaternion kIn = kLog0 - (kLog0 * (fNext * fTension * (1.0f - fCon) * (1.0f + fBias)) +
                                      kLog1 * (fNext * fTension * (1.0f + fCon) * (1.0f - fBias)));
    kKey.m_inControl = kQ * NiQuaternion::Exp(kIn * 0.5f);
}
