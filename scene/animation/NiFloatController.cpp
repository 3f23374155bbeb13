#include "scene/animation/NiFloatController.h"

NiImplementRTTI(NiFloatController, NiTimeController);
NiImplementAbstractLoader(NiFloatController);

FloatKey** NiFloatController::GetKeys(uint32_t& uiCount, KeyType& eType) const
{
    uiCount = m_spData ? m_spData->GetNumKeys() : 0;
    eType = m_spData ? m_spData->GetType() : KEY_BASE;
    return m_spData ? m_spData->GetKeys() : nullptr;
}

void NiFloatController::SetKeys(FloatKey** ppKeys, uint32_t uiCount, KeyType eType)
{
    EnsureData().ReplaceKeys(ppKeys, uiCount, eType);
    m_uiLastIndex = 0;
    if (ppKeys && uiCount)
    {
        m_fLoKeyTime = ppKeys[0]->m_fTime;
        m_fHiKeyTime = ppKeys[uiCount - 1]->m_fTime;
    }
}

bool NiFloatController::ComputeValue(float fTime, float& fValue)
{
    if (!m_pTarget || !GetActive() || m_fLastTime == fTime || !m_spData || m_spData->GetNumKeys() == 0)
        return false;
    fValue = InterpolateFloatKeys(ToControllerTime(fTime), m_spData->GetKeys(), m_spData->GetType(),
                                  m_spData->GetNumKeys(), m_uiLastIndex);
    return true;
}

void NiFloatController::CopyToClone(NiFloatController* pkClone) const
{
    NiDataController::CopyToClone(pkClone);
    pkClone->m_uiLastIndex = 0;
}
