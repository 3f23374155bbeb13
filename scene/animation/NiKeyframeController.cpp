#include "scene/animation/NiKeyframeController.h"

#include "scene/graph/NiAVObject.h"
#include "scene/object/NiRotationMatrix.h"

#include <cfloat>

NiImplementRTTI(NiKeyframeController, NiTimeController);
NiImplementCreateObject(NiKeyframeController);

NiKeyframeController::NiKeyframeController(NiKeyframeData* pkData) : NiDataController(pkData) {}

void NiKeyframeController::SetRotationKeys(RotationKey** ppKeys, uint32_t uiCount, KeyType eType,
                                           bool bUpdateRange)
{
    EnsureData().ReplaceRotKeys(ppKeys, uiCount, eType);
    m_uiLastRotIndex = 0;
    if (bUpdateRange)
        UpdateKeyTimeRange();
}

void NiKeyframeController::SetPositionKeys(PositionKey** ppKeys, uint32_t uiCount, KeyType eType,
                                           bool bUpdateRange)
{
    EnsureData().ReplacePosKeys(ppKeys, uiCount, eType);
    m_uiLastPosIndex = 0;
    if (bUpdateRange)
        UpdateKeyTimeRange();
}

void NiKeyframeController::SetScaleKeys(FloatKey** ppKeys, uint32_t uiCount, KeyType eType, bool bUpdateRange)
{
    EnsureData().ReplaceScaleKeys(ppKeys, uiCount, eType);
    m_uiLastScaleIndex = 0;
    if (bUpdateRange)
        UpdateKeyTimeRange();
}

namespace
{
template <class TArray> void Widen(const TArray& kArray, float& fLo, float& fHi)
{
    if (kArray.GetNumKeys() == 0)
        return;
    if (kArray.GetFirstKey()->m_fTime < fLo)
        fLo = kArray.GetFirstKey()->m_fTime;
    if (kArray.GetLastKey()->m_fTime > fHi)
        fHi = kArray.GetLastKey()->m_fTime;
}
} // namespace

void NiKeyframeController::UpdateKeyTimeRange()
{
    float fLo = FLT_MAX;
    float fHi = -FLT_MAX;
    if (m_spData)
    {
        const NiRotationKeyArray& kRotKeys = m_spData->GetRotKeyArray();
        if (kRotKeys.GetType() == KEY_EULER && kRotKeys.GetNumKeys())
            static_cast<const EulerRotationKey*>(kRotKeys.GetFirstKey())->WidenKeyTimeRange(fLo, fHi);
        else
            Widen(kRotKeys, fLo, fHi);
        Widen(m_spData->GetPosKeyArray(), fLo, fHi);
        Widen(m_spData->GetScaleKeyArray(), fLo, fHi);
    }
    m_fLoKeyTime = fLo;
    m_fHiKeyTime = fHi;
}

void NiKeyframeController::Update(float fTime)
{
    if (!GetActive() || m_fLastTime == fTime)
        return;
    const float fKeyTime = ToControllerTime(fTime);
    NiAVObject* pkObject = NiDynamicCast<NiAVObject>(m_pTarget);
    if (!m_spData || !pkObject)
        return;

    if (m_spData->GetNumRotKeys())
    {
        NiQuaternion kRotation;
        InterpolateRotationKeys(kRotation, fKeyTime, m_spData->GetRotKeys(), m_spData->GetRotType(),
                                m_spData->GetNumRotKeys(), m_uiLastRotIndex);
        NiRotationMatrix kMatrix;
        kRotation.ToRotation(kMatrix);
        pkObject->SetRotate(kMatrix);
    }
    if (m_spData->GetNumPosKeys())
    {
        NiPoint3 kTranslate;
        InterpolatePositionKeys(kTranslate, fKeyTime, m_spData->GetPosKeys(), m_spData->GetPosType(),
                                m_spData->GetNumPosKeys(), m_uiLastPosIndex);
        pkObject->SetTranslate(kTranslate);
    }
    if (m_spData->GetNumScaleKeys())
    {
        const float fScale =
            InterpolateFloatKeys(fKeyTime, m_spData->GetScaleKeys(), m_spData->GetScaleType(),
                                 m_spData->GetNumScaleKeys(), m_uiLastScaleIndex);
        pkObject->SetScale(fScale > 0.0f ? fScale : -fScale);
    }
}

bool NiKeyframeController::IsTargetValid() const
{
    return NiDynamicCast<NiAVObject>(m_pTarget) != nullptr;
}

NiObject* NiKeyframeController::MakeClone()
{
    NiKeyframeController* pkClone = new NiKeyframeController;
    CopyToClone(pkClone);
    return pkClone;
}

void NiKeyframeController::CopyToClone(NiKeyframeController* pkClone) const
{
    NiDataController::CopyToClone(pkClone);
    if (!m_spData)
        return;
    pkClone->m_uiLastRotIndex = 0;
    pkClone->m_uiLastPosIndex = 0;
    pkClone->m_uiLastScaleIndex = 0;
    pkClone->UpdateKeyTimeRange();
}
