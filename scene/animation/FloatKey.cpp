#include "scene/animation/FloatKey.h"

#include "scene/animation/KeySearch.h"
#include "scene/object/NiStream.h"

#include <cmath>
#include <cstring>

namespace
{
// Zero until registration fills them: constant-initialised, so registering from any static
// initialiser is safe.
FloatKeyOps g_akFloatKeyOps[FLOAT_KEY_ROWS];
bool g_abFloatKeyRegistered[FLOAT_KEY_ROWS];

bool RegisterRow(KeyType eType, const FloatKeyOps& kOps)
{
    if (g_abFloatKeyRegistered[eType])
        return false;
    g_abFloatKeyRegistered[eType] = true;
    g_akFloatKeyOps[eType] = kOps;
    return true;
}

template <class T> const T& As(const FloatKey* pkKey)
{
    return *static_cast<const T*>(pkKey);
}

template <class T> void DeleteAs(FloatKey* pkKey)
{
    delete static_cast<T*>(pkKey);
}

float InterpolateZero(float, const FloatKey*, const FloatKey*)
{
    return 0.0f;
}

void FillNothing(FloatKey**, uint32_t, uint32_t) {}

//--- FloatKey: KEY_BASE and KEY_LINEAR. ---

float InterpolateLinear(float fFraction, const FloatKey* pkKey0, const FloatKey* pkKey1)
{
    return LerpFloat(fFraction, pkKey0->m_fValue, pkKey1->m_fValue);
}

FloatKey* LoadLinear(NiStream& kStream, uint32_t)
{
    FloatKey* pkKey = new FloatKey;
    kStream.Load(pkKey->m_fTime);
    kStream.Load(pkKey->m_fValue);
    return pkKey;
}

bool IsLinearEqual(const FloatKey* pkKey0, const FloatKey* pkKey1, uint32_t)
{
    return pkKey0->m_fTime == pkKey1->m_fTime && pkKey0->m_fValue == pkKey1->m_fValue;
}

FloatKey* CopyLinear(const FloatKey* pkKey, uint32_t)
{
    return new FloatKey(*pkKey);
}

void SaveLinear(NiStream& kStream, const FloatKey* pkKey, uint32_t)
{
    kStream.Save(pkKey->m_fTime);
    kStream.Save(pkKey->m_fValue);
}

//--- BezierFloatKey. ---

float InterpolateBezier(float fFraction, const FloatKey* pkKey0, const FloatKey* pkKey1)
{
    const BezierFloatKey& kKey0 = As<BezierFloatKey>(pkKey0);
    const BezierFloatKey& kKey1 = As<BezierFloatKey>(pkKey1);
    return HermiteFloat(fFraction, kKey0.m_fValue, kKey0.m_fOutTan, kKey1.m_fValue, kKey1.m_fInTan);
}

FloatKey* LoadBezier(NiStream& kStream, uint32_t)
{
    BezierFloatKey* pkKey = new BezierFloatKey;
    kStream.Load(pkKey->m_fTime);
    kStream.Load(pkKey->m_fValue);
    kStream.Load(pkKey->m_fInTan);
    kStream.Load(pkKey->m_fOutTan);
    return pkKey;
}

bool IsBezierEqual(const FloatKey* pkKey0, const FloatKey* pkKey1, uint32_t)
{
    const BezierFloatKey& kKey0 = As<BezierFloatKey>(pkKey0);
    const BezierFloatKey& kKey1 = As<BezierFloatKey>(pkKey1);
    return kKey0.m_fTime == kKey1.m_fTime && kKey0.m_fValue == kKey1.m_fValue &&
           kKey0.m_fInTan == kKey1.m_fInTan && kKey0.m_fOutTan == kKey1.m_fOutTan;
}

FloatKey* CopyBezier(const FloatKey* pkKey, uint32_t)
{
    return new BezierFloatKey(As<BezierFloatKey>(pkKey));
}

void SaveBezier(NiStream& kStream, const FloatKey* pkKey, uint32_t)
{
    const BezierFloatKey& kKey = As<BezierFloatKey>(pkKey);
    kStream.Save(kKey.m_fTime);
    kStream.Save(kKey.m_fValue);
    kStream.Save(kKey.m_fInTan);
    kStream.Save(kKey.m_fOutTan);
}

//--- TcbFloatKey: KEY_TCB, the float KEY_EULER, KEY_TCB_INDEX. ---

float InterpolateTcb(float fFraction, const FloatKey* pkKey0, const FloatKey* pkKey1)
{
    const TcbFloatKey& kKey0 = As<TcbFloatKey>(pkKey0);
    const TcbFloatKey& kKey1 = As<TcbFloatKey>(pkKey1);
    return HermiteFloat(fFraction, kKey0.m_fValue, kKey0.m_fOutTan, kKey1.m_fValue, kKey1.m_fInTan);
}

void LoadTcbFields(NiStream& kStream, TcbFloatKey& kKey)
{
    kStream.Load(kKey.m_fTime);
    kStream.Load(kKey.m_fValue);
    kStream.Load(kKey.m_fTension);
    kStream.Load(kKey.m_fContinuity);
    kStream.Load(kKey.m_fBias);
}

void SaveTcbFields(NiStream& kStream, const TcbFloatKey& kKey)
{
    kStream.Save(kKey.m_fTime);
    kStream.Save(kKey.m_fValue);
    kStream.Save(kKey.m_fTension);
    kStream.Save(kKey.m_fContinuity);
    kStream.Save(kKey.m_fBias);
}

bool AreTcbFieldsEqual(const TcbFloatKey& kKey0, const TcbFloatKey& kKey1)
{
    return kKey0.m_fTime == kKey1.m_fTime && kKey0.m_fValue == kKey1.m_fValue &&
           kKey0.m_fTension == kKey1.m_fTension && kKey0.m_fContinuity == kKey1.m_fContinuity &&
           kKey0.m_fBias == kKey1.m_fBias && kKey0.m_fInTan == kKey1.m_fInTan &&
           kKey0.m_fOutTan == kKey1.m_fOutTan;
}

FloatKey* LoadTcb(NiStream& kStream, uint32_t)
{
    TcbFloatKey* pkKey = new TcbFloatKey;
    LoadTcbFields(kStream, *pkKey);
    return pkKey;
}

bool IsTcbEqual(const FloatKey* pkKey0, const FloatKey* pkKey1, uint32_t)
{
    return AreTcbFieldsEqual(As<TcbFloatKey>(pkKey0), As<TcbFloatKey>(pkKey1));
}

FloatKey* CopyTcb(const FloatKey* pkKey, uint32_t)
{
    return new TcbFloatKey(As<TcbFloatKey>(pkKey));
}

FloatKey* CopyTcbIndex(const FloatKey* pkKey, uint32_t)
{
    TcbFloatKey* pkCopy = new TcbFloatKey(As<TcbFloatKey>(pkKey));
    pkCopy->m_fValue = std::trunc(pkCopy->m_fValue);
    return pkCopy;
}

void SaveTcb(NiStream& kStream, const FloatKey* pkKey, uint32_t)
{
    SaveTcbFields(kStream, As<TcbFloatKey>(pkKey));
}

void FillTcb(FloatKey** ppKeys, uint32_t uiCount, uint32_t)
{
    FillTcbFloatTangents(ppKeys, uiCount);
}

//--- TcbFloatArrayKey. ---

std::unique_ptr<float[]> CopyValues(const float* pfValues, uint32_t uiValues)
{
    if (!pfValues)
        return nullptr;
    std::unique_ptr<float[]> spCopy(new float[uiValues]);
    std::copy(pfValues, pfValues + uiValues, spCopy.get());
    return spCopy;
}

// Arrays compare as present or absent first: one-key arrays never get tangent arrays.
bool AreValuesEqual(const float* pfValues0, const float* pfValues1, uint32_t uiValues)
{
    if (!pfValues0 || !pfValues1)
        return pfValues0 == pfValues1;
    return uiValues == 0 || std::memcmp(pfValues0, pfValues1, uiValues * sizeof(float)) == 0;
}

void FillTcbArray(FloatKey** ppKeys, uint32_t uiCount, uint32_t uiValues)
{
    if (!ppKeys || uiCount < 2)
        return;
    for (uint32_t k = 0; k < uiCount; ++k)
    {
        TcbFloatArrayKey& kKey = *static_cast<TcbFloatArrayKey*>(ppKeys[k]);
        kKey.m_spInTans.reset(new float[uiValues]);
        kKey.m_spOutTans.reset(new float[uiValues]);
    }
    for (uint32_t i = 0; i < uiValues; ++i)
    {
        for (uint32_t k = 0; k < uiCount; ++k)
        {
            TcbFloatArrayKey& kKey = *static_cast<TcbFloatArrayKey*>(ppKeys[k]);
            kKey.m_fValue = kKey.m_spValues ? kKey.m_spValues[i] : 0.0f;
        }
        FillTcbFloatTangents(ppKeys, uiCount);
        for (uint32_t k = 0; k < uiCount; ++k)
        {
            TcbFloatArrayKey& kKey = *static_cast<TcbFloatArrayKey*>(ppKeys[k]);
            kKey.m_spInTans[i] = kKey.m_fInTan;
            kKey.m_spOutTans[i] = kKey.m_fOutTan;
        }
    }
}

FloatKey* LoadTcbArray(NiStream& kStream, uint32_t uiValues)
{
    TcbFloatArrayKey* pkKey = new TcbFloatArrayKey;
    LoadTcbFields(kStream, *pkKey);
    if (!kStream.RequireElements(uiValues, sizeof(float)))
        return pkKey;
    pkKey->m_spValues.reset(new float[uiValues]);
    for (uint32_t i = 0; i < uiValues; ++i)
        kStream.Load(pkKey->m_spValues[i]);
    return pkKey;
}

bool IsTcbArrayEqual(const FloatKey* pkKey0, const FloatKey* pkKey1, uint32_t uiValues)
{
    const TcbFloatArrayKey& kKey0 = As<TcbFloatArrayKey>(pkKey0);
    const TcbFloatArrayKey& kKey1 = As<TcbFloatArrayKey>(pkKey1);
    return AreTcbFieldsEqual(kKey0, kKey1) &&
           AreValuesEqual(kKey0.m_spValues.get(), kKey1.m_spValues.get(), uiValues) &&
           AreValuesEqual(kKey0.m_spInTans.get(), kKey1.m_spInTans.get(), uiValues) &&
           AreValuesEqual(kKey0.m_spOutTans.get(), kKey1.m_spOutTans.get(), uiValues);
}

FloatKey* CopyTcbArray(const FloatKey* pkKey, uint32_t uiValues)
{
    const TcbFloatArrayKey& kKey = As<TcbFloatArrayKey>(pkKey);
    TcbFloatArrayKey* pkCopy = new TcbFloatArrayKey;
    static_cast<TcbFloatKey&>(*pkCopy) = kKey;
    pkCopy->m_spValues = CopyValues(kKey.m_spValues.get(), uiValues);
    pkCopy->m_spInTans = CopyValues(kKey.m_spInTans.get(), uiValues);
    pkCopy->m_spOutTans = CopyValues(kKey.m_spOutTans.get(), uiValues);
    return pkCopy;
}

void SaveTcbArray(NiStream& kStream, const FloatKey* pkKey, uint32_t uiValues)
{
    const TcbFloatArrayKey& kKey = As<TcbFloatArrayKey>(pkKey);
    SaveTcbFields(kStream, kKey);
    for (uint32_t i = 0; i < uiValues; ++i)
        kStream.Save(kKey.m_spValues ? kKey.m_spValues[i] : 0.0f);
}
} // namespace

//--- Registration. ------------------------------------------------------------------------------

const FloatKeyOps* GetFloatKeyOps(uint32_t uiType)
{
    return uiType < FLOAT_KEY_ROWS && g_abFloatKeyRegistered[uiType] ? &g_akFloatKeyOps[uiType] : nullptr;
}

bool RegisterFloatKeyBase()
{
    return RegisterRow(KEY_BASE, {InterpolateZero, FillNothing, nullptr, IsLinearEqual, nullptr, SaveLinear,
                                  DeleteAs<FloatKey>, 8});
}

bool RegisterFloatKeyLinear()
{
    return RegisterRow(KEY_LINEAR, {InterpolateLinear, FillNothing, LoadLinear, IsLinearEqual, CopyLinear,
                                    SaveLinear, DeleteAs<FloatKey>, 8});
}

bool RegisterFloatKeyBezier()
{
    return RegisterRow(KEY_BEZIER, {InterpolateBezier, FillNothing, LoadBezier, IsBezierEqual, CopyBezier,
                                    SaveBezier, DeleteAs<BezierFloatKey>, 16});
}

bool RegisterFloatKeyTcb()
{
    return RegisterRow(
        KEY_TCB, {InterpolateTcb, FillTcb, LoadTcb, IsTcbEqual, CopyTcb, SaveTcb, DeleteAs<TcbFloatKey>, 20});
}

bool RegisterFloatKeyEuler()
{
    return RegisterRow(KEY_EULER, {InterpolateZero, FillNothing, nullptr, IsTcbEqual, CopyTcb, SaveTcb,
                                   DeleteAs<TcbFloatKey>, 20});
}

bool RegisterFloatKeyTcbArray()
{
    return RegisterRow(KEY_TCB_ARRAY, {InterpolateZero, FillTcbArray, LoadTcbArray, IsTcbArrayEqual,
                                       CopyTcbArray, SaveTcbArray, DeleteAs<TcbFloatArrayKey>, 20});
}

bool RegisterFloatKeyTcbIndex()
{
    return RegisterRow(KEY_TCB_INDEX, {InterpolateZero, FillTcb, LoadTcb, IsTcbEqual, CopyTcbIndex, SaveTcb,
                                       DeleteAs<TcbFloatKey>, 20});
}

namespace
{
[[maybe_unused]] const bool g_bFloatKeysRegistered =
    RegisterFloatKeyBase() & RegisterFloatKeyLinear() & RegisterFloatKeyBezier() & RegisterFloatKeyTcb() &
    RegisterFloatKeyEuler() & RegisterFloatKeyTcbArray() & RegisterFloatKeyTcbIndex();
} // namespace

//--- Records made in code. --------------------------------------------------------------------

TcbFloatArrayKey::TcbFloatArrayKey(float fTime, float fTension, float fContinuity, float fBias,
                                   float* pfValues)
    : m_spValues(pfValues)
{
    m_fTime = fTime;
    m_fTension = fTension;
    m_fContinuity = fContinuity;
    m_fBias = fBias;
}

TcbFloatKey* NewTcbIndexKey(float fTime, float fTension, float fContinuity, float fBias, int32_t iTarget)
{
    TcbFloatKey* pkKey = new TcbFloatKey;
    pkKey->m_fTime = fTime;
    pkKey->m_fValue = static_cast<float>(iTarget);
    pkKey->m_fTension = fTension;
    pkKey->m_fContinuity = fContinuity;
    pkKey->m_fBias = fBias;
    return pkKey;
}

//--- Evaluation. --------------------------------------------------------------------------------

float InterpolateFloatKeys(float fTime, const FloatKey* const* ppKeys, KeyType eType, uint32_t uiCount,
                           uint32_t& uiLastIndex)
{
    if (uiCount == 0)
        return 0.0f;
    float fFraction = 0.0f;
    switch (FindKeySpan(fTime, ppKeys, uiCount, uiLastIndex, fFraction))
    {
    case KeySpan::FIRST:
        return ppKeys[0]->m_fValue;
    case KeySpan::LAST:
        return ppKeys[uiCount - 1]->m_fValue;
    case KeySpan::INSIDE:
        break;
    }
    const FloatKeyOps* pkOps = GetFloatKeyOps(eType);
    return pkOps ? pkOps->m_pfnInterpolate(fFraction, ppKeys[uiLastIndex], ppKeys[uiLastIndex + 1]) : 0.0f;
}

void ComputeTcbFloatTangents(TcbFloatKey& kKey, float fPrevious, float fNext, float fPreviousInterval,
                             float fNextInterval)
{
    const float fA = kKey.m_fValue - fPrevious;
    const float fB = fNext - kKey.m_fValue;
    const float fH = (1.0f - kKey.m_fTension) * 0.5f;
    const float fM = fH * (1.0f + kKey.m_fContinuity);
    const float fN = fH * (1.0f - kKey.m_fContinuity);
    const float fE = 2.0f / (fPreviousInterval + fNextInterval);
    const float fBias = kKey.m_fBias;
    kKey.m_fInTan = fPreviousInterval * fE * (fM * (1.0f - fBias) * fB + fN * (1.0f + fBias) * fA);
    kKey.m_fOutTan = fNextInterval * fE * (fN * (1.0f - fBias) * fB + fM * (1.0f + fBias) * fA);
}

void FillTcbFloatTangents(FloatKey** ppKeys, uint32_t uiCount)
{
    if (!ppKeys || uiCount < 2)
        return;
    auto Key = [ppKeys](uint32_t i) -> TcbFloatKey& { return *static_cast<TcbFloatKey*>(ppKeys[i]); };
    ComputeTcbFloatTangents(Key(0), 2.0f * Key(0).m_fValue - Key(1).m_fValue, Key(1).m_fValue, 1.0f, 1.0f);
    for (uint32_t i = 1; i + 1 < uiCount; ++i)
    {
        ComputeTcbFloatTangents(Key(i), Key(i - 1).m_fValue, Key(i + 1).m_fValue,
                                Key(i).m_fTime - Key(i - 1).m_fTime, Key(i + 1).m_fTime - Key(i).m_fTime);
    }
    const uint32_t uiLast = uiCount - 1;
    ComputeTcbFloatTangents(Key(uiLast), Key(uiLast - 1).m_fValue,
                            2.0f * Key(uiLast).m_fValue - Key(uiLast - 1).m_fValue, 1.0f, 1.0f);
}

std::vector<float> InterpolateTcbArrayKey(float fFraction, const TcbFloatArrayKey& kKey0,
                                          const TcbFloatArrayKey& kKey1, uint32_t uiValues)
{
    std::vector<float> kWeights(uiValues, 0.0f);
    if (!kKey0.m_spValues || !kKey1.m_spValues || !kKey0.m_spOutTans || !kKey1.m_spInTans)
        return kWeights;
    for (uint32_t i = 0; i < uiValues; ++i)
    {
        kWeights[i] = HermiteFloat(fFraction, kKey0.m_spValues[i], kKey0.m_spOutTans[i], kKey1.m_spValues[i],
                                   kKey1.m_spInTans[i]);
    }
    return kWeights;
}

std::vector<float> InterpolateTcbIndexKey(float fFraction, const TcbFloatKey& kKey0, const TcbFloatKey& kKey1,
                                          uint32_t uiValues)
{
    std::vector<float> kWeights(uiValues, 0.0f);
    auto SetWeight = [&kWeights, uiValues](float fIndex, float fWeight)
    {
        if (fIndex >= 0.0f && fIndex < static_cast<float>(uiValues))
            kWeights[static_cast<uint32_t>(fIndex)] = fWeight;
    };
    const float fValue0 = kKey0.m_fValue;
    const float fValue1 = kKey1.m_fValue;
    if (fValue0 == fValue1)
    {
        SetWeight(fValue0, 1.0f);
        return kWeights;
    }
    const float fCurve = HermiteFloat(fFraction, fValue0, kKey0.m_fOutTan, fValue1, kKey1.m_fInTan);
    const float fWeight = (fCurve - fValue0) / (fValue1 - fValue0);
    SetWeight(fValue0, 1.0f - fWeight);
    SetWeight(fValue1, fWeight);
    return kWeights;
}
