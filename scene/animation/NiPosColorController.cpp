#include "scene/animation/NiPosColorController.h"

#include <algorithm>

void NiPosColorController::SetKeys(uint32_t uiCount, PositionKey** ppKeys, KeyType eType)
{
    EnsureData().ReplaceKeys(ppKeys, uiCount, eType);
    m_uiLastIndex = 0;
    if (ppKeys && uiCount)
    {
        m_fLoKeyTime = ppKeys[0]->m_fTime;
        m_fHiKeyTime = ppKeys[uiCount - 1]->m_fTime;
    }
}

bool NiPosColorController::ComputeColor(float fTime, NiColor& kColor)
{
    if (!GetActive() || m_fLastTime == fTime || !m_spData || m_spData->GetNumKeys() == 0)
        return false;
    NiPoint3 kPoint;
    InterpolatePositionKeys(kPoint, ToControllerTime(fTime), m_spData->GetKeys(), m_spData->GetType(),
                            m_spData->GetNumKeys(), m_uiLastIndex);
    kColor = NiColor(std::clamp(kPoint.x, 0.0f, 1.0f), std::clamp(kPoint.y, 0.0f, 1.0f),
                     std::clamp(kPoint.z, 0.0f, 1.0f));
    return true;
}

void NiPosColorController::CopyToClone(NiPosColorController* pkClone) const
{
    NiDataController::CopyToClone(pkClone);
    pkClone->m_uiLastIndex = 0;
}
