#include "scene/animation/NiVisController.h"

#include "scene/graph/NiAVObject.h"

#include <cfloat>

NiImplementRTTI(NiVisController, NiTimeController);
NiImplementCreateObject(NiVisController);

NiVisController::NiVisController(NiVisData* pkData) : NiDataController(pkData) {}

void NiVisController::SetKeys(BoolKey** ppKeys, uint32_t uiCount, bool bUpdateRange)
{
    EnsureData().SetKeys(ppKeys, uiCount);
    if (bUpdateRange)
        UpdateKeyTimeRange();
    m_uiLastIndex = 0;
}

void NiVisController::UpdateKeyTimeRange()
{
    m_fLoKeyTime = FLT_MAX;
    m_fHiKeyTime = -FLT_MAX;
    if (m_spData && m_spData->GetNumKeys())
    {
        const float fFirst = m_spData->GetKeys()[0]->m_fTime;
        const float fLast = m_spData->GetKeys()[m_spData->GetNumKeys() - 1]->m_fTime;
        if (fFirst < FLT_MAX)
            m_fLoKeyTime = fFirst;
        if (fLast > -FLT_MAX)
            m_fHiKeyTime = fLast;
    }
    m_uiLastIndex = 0;
}

void NiVisController::Update(float fTime)
{
    if (!GetActive() || m_fLastTime == fTime || !m_spData || m_spData->GetNumKeys() == 0)
        return;
    const uint8_t ucVisible =
        LookupBoolKeys(ToControllerTime(fTime), m_spData->GetKeys(), m_spData->GetNumKeys(), m_uiLastIndex);
    if (NiAVObject* pkObject = NiDynamicCast<NiAVObject>(m_pTarget))
        pkObject->SetAppCulled(ucVisible == 0);
}

bool NiVisController::IsTargetValid() const
{
    return NiDynamicCast<NiAVObject>(m_pTarget) != nullptr;
}

NiObject* NiVisController::MakeClone()
{
    NiVisController* pkClone = new NiVisController;
    CopyToClone(pkClone);
    return pkClone;
}

void NiVisController::LoadBinary(NiStream& kStream)
{
    NiDataController::LoadBinary(kStream);
    m_uiLastIndex = 0;
}
