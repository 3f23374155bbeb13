#include "scene/graph/NiAccumulator.h"

#include "scene/object/NiStream.h"

NiImplementRTTI(NiAccumulator, NiObject);
NiImplementAbstractLoader(NiAccumulator);

NiAccumulator::NiAccumulator() = default;

NiAccumulator::~NiAccumulator() = default;

bool NiAccumulator::BeginAccumulation(NiCamera* pkCamera)
{
    if (m_pkCamera)
        return false;
    m_pkCamera = pkCamera;
    return true;
}

void NiAccumulator::EndAccumulation()
{
    m_pkCamera = nullptr;
}

NiObject* NiAccumulator::MakeClone()
{
    return nullptr;
}
