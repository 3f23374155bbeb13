#include "scene/animation/ColorKey.h"

#include "scene/animation/KeySearch.h"
#include "scene/object/NiStream.h"

namespace
{
ColorKeyOps g_akColorKeyOps[COLOR_KEY_ROWS];
bool g_abColorKeyRegistered[COLOR_KEY_ROWS];

bool RegisterRow(KeyType eType, const ColorKeyOps& kOps)
{
    if (g_abColorKeyRegistered[eType])
        return false;
    g_abColorKeyRegistered[eType] = true;
    g_akColorKeyOps[eType] = kOps;
    return true;
}

NiColorA& InterpolateBlack(NiColorA& kResult, float, const ColorKey*, const ColorKey*)
{
    kResult = NiColorA::BLACK;
    return kResult;
}

NiColorA& InterpolateLinear(NiColorA& kResult, float fFraction, const ColorKey* pkKey0,
                            const ColorKey* pkKey1)
{
    const NiColorA& kC0 = pkKey0->m_color;
    const NiColorA& kC1 = pkKey1->m_color;
    const float fRest = 1.0f - fFraction;
    kResult = NiColorA(fRest * kC0.r + fFraction * kC1.r, fRest * kC0.g + fFraction * kC1.g,
                       fRest * kC0.b + fFraction * kC1.b, fRest * kC0.a + fFraction * kC1.a);
    return kResult;
}

ColorKey* CopyKey(const ColorKey* pkKey)
{
    return new ColorKey(*pkKey);
}

bool IsKeyEqual(const ColorKey* pkKey0, const ColorKey* pkKey1)
{
    return pkKey0->m_fTime == pkKey1->m_fTime && pkKey0->m_color == pkKey1->m_color;
}

ColorKey* LoadKey(NiStream& kStream)
{
    ColorKey* pkKey = new ColorKey;
    kStream.Load(pkKey->m_fTime);
    pkKey->m_color.LoadBinary(kStream);
    return pkKey;
}

void SaveKey(NiStream& kStream, const ColorKey* pkKey)
{
    kStream.Save(pkKey->m_fTime);
    pkKey->m_color.SaveBinary(kStream);
}
} // namespace

const ColorKeyOps* GetColorKeyOps(uint32_t uiType)
{
    return uiType < COLOR_KEY_ROWS && g_abColorKeyRegistered[uiType] ? &g_akColorKeyOps[uiType] : nullptr;
}

bool RegisterColorKeyBase()
{
    return RegisterRow(KEY_BASE, {InterpolateBlack, nullptr, IsKeyEqual, nullptr, SaveKey});
}

bool RegisterColorKeyLinear()
{
    return RegisterRow(KEY_LINEAR, {InterpolateLinear, CopyKey, IsKeyEqual, LoadKey, SaveKey});
}

namespace
{
[[maybe_unused]] const bool g_bColorKeysRegistered = RegisterColorKeyBase() & RegisterColorKeyLinear();
} // namespace

NiColorA& InterpolateColorKeys(NiColorA& kResult, float fTime, const ColorKey* const* ppKeys, KeyType eType,
                               uint32_t uiCount, uint32_t& uiLastIndex)
{
    if (uiCount == 0)
        return kResult = NiColorA::BLACK;
    float fFraction = 0.0f;
    switch (FindKeySpan(fTime, ppKeys, uiCount, uiLastIndex, fFraction))
    {
    case KeySpan::FIRST:
        return kResult = ppKeys[0]->m_color;
    case KeySpan::LAST:
        return kResult = ppKeys[uiCount - 1]->m_color;
    case KeySpan::INSIDE:
        break;
    }
    const ColorKeyOps* pkOps = GetColorKeyOps(eType);
    if (!pkOps)
        return kResult = NiColorA::BLACK;
    NiColorA kBuffer;
    return kResult =
               pkOps->m_pfnInterpolate(kBuffer, fFraction, ppKeys[uiLastIndex], ppKeys[uiLastIndex + 1]);
}
