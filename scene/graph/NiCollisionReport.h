#pragma once

#include "scene/object/NiPoint3.h"

#include <cstdint>

class NiAVObject;
class NiCollisionReport;

// A contact's callback: a nonzero answer stops the search.
using NiCollisionCallback = int32_t (*)(NiCollisionReport* pkReport);

// One touching pair a collision search found: the two sides' roots and the objects at the level
// of the contact, the first-contact time within the span, the world contact point at that time
// and each side's contact normal.
class NiCollisionReport
{
public:
    NiAVObject* m_pkRoot0 = nullptr;
    NiAVObject* m_pkRoot1 = nullptr;
    NiAVObject* m_pkObject0 = nullptr;
    NiAVObject* m_pkObject1 = nullptr;
    float m_fTime = 0.0f;
    NiPoint3 m_kPoint = NiPoint3::ZERO;
    NiPoint3 m_kNormal0 = NiPoint3::ZERO;
    NiPoint3 m_kNormal1 = NiPoint3::ZERO;
};
