#include "scene/animation/BoolKey.h"

#include "scene/animation/KeySearch.h"
#include "scene/object/NiStream.h"

void BoolKey::LoadBinary(NiStream& kStream)
{
    uint8_t ucStored = 0;
    kStream.Load(m_fTime);
    kStream.Load(ucStored);
    m_ucValue = ucStored != 0 ? 1 : 0;
}

void BoolKey::SaveBinary(NiStream& kStream) const
{
    kStream.Save(m_fTime);
    kStream.Save(static_cast<uint8_t>(m_ucValue != 0 ? 1 : 0));
}

uint8_t LookupBoolKeys(float fTime, const BoolKey* const* ppKeys, uint32_t uiCount, uint32_t& uiLastIndex)
{
    if (uiCount == 0)
        return 0;
    float fFraction = 0.0f;
    FindKeySpan(fTime, ppKeys, uiCount, uiLastIndex, fFraction);
    return ppKeys[uiLastIndex]->m_ucValue;
}
