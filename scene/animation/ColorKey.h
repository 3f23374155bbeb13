#pragma once

#include "scene/animation/KeyFamily.h"
#include "scene/animation/KeyType.h"
#include "scene/animation/NiKeyArray.h"
#include "scene/object/NiColorA.h"

#include <cstdint>

class NiStream;

// The colour key family (particle colours): KEY_BASE and KEY_LINEAR, both a time and a colour.
struct ColorKey
{
    float m_fTime = 0.0f;
    NiColorA m_color;
};

struct ColorKeyOps
{
    NiColorA& (*m_pfnInterpolate)(NiColorA& kResult, float fFraction, const ColorKey* pkKey0,
                                  const ColorKey* pkKey1);
    ColorKey* (*m_pfnCopyKey)(const ColorKey* pkKey); // null: no copy
    bool (*m_pfnIsKeyEqual)(const ColorKey* pkKey0, const ColorKey* pkKey1);
    ColorKey* (*m_pfnLoadKey)(NiStream& kStream); // null: no loader
    void (*m_pfnSaveKey)(NiStream& kStream, const ColorKey* pkKey);
};

inline constexpr uint32_t COLOR_KEY_ROWS = 2;

const ColorKeyOps* GetColorKeyOps(uint32_t uiType);
bool RegisterColorKeyBase();
bool RegisterColorKeyLinear();

// Colour rows hold neither a record size (every record is a time and a colour), a deleter nor
// derived values.
struct ColorKeyFamily : KeyFamily<ColorKey, ColorKeyOps, 20, GetColorKeyOps>
{
    static uint32_t RecordBytes(const Ops&) { return MIN_RECORD_BYTES; }
    static void DeleteKey(const Ops*, Key* pkKey) { delete pkKey; }
    static void FillDerived(const Ops&, Key**, uint32_t) {}
};

using NiColorKeyArray = NiKeyArray<ColorKeyFamily>;

// The colour at a key time with the caller's cached last index; an empty array gives opaque
// black.
NiColorA& InterpolateColorKeys(NiColorA& kResult, float fTime, const ColorKey* const* ppKeys, KeyType eType,
                               uint32_t uiCount, uint32_t& uiLastIndex);
