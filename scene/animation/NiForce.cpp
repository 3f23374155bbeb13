#include "scene/animation/NiForce.h"

#include "scene/object/NiStream.h"

NiImplementRTTI(NiForce, NiObject);
NiImplementAbstractLoader(NiForce);

NiForce::~NiForce()
{
    // Let go of the rest of the chain one member at a time, without recursing per member.
    NiRefPtr<NiForce> spNext = std::move(m_spNext);
    while (spNext && spNext->GetRefCount() == 1)
    {
        NiRefPtr<NiForce> spAfter = std::move(spNext->m_spNext);
        spNext = std::move(spAfter);
    }
}

uint32_t NiForce::CountChain(const NiForce* pkFirst)
{
    uint32_t uiCount = 0;
    for (const NiForce* pkWalk = pkFirst; pkWalk; pkWalk = pkWalk->GetNext())
        ++uiCount;
    return uiCount;
}

void NiForce::CopyToClone(NiForce* pkClone) const
{
    pkClone->m_spNext = m_spNext ? NiDynamicCast<NiForce>(m_spNext->MakeClone()) : nullptr;
    if (pkClone->m_spNext)
        pkClone->m_spNext->m_bChained = true;
}
