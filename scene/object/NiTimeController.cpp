#include "scene/object/NiTimeController.h"

#include "scene/object/NiCloneExtraData.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiObjectNET.h"
#include "scene/object/NiStream.h"

#include <cmath>

NiImplementRTTI(NiTimeController, NiObject);
NiImplementAbstractLoader(NiTimeController);

NiTimeController::NiTimeController() : m_uFlags(ACTIVE_MASK | (CLAMP << CYCLETYPE_POS) | APP_TIME) {}

NiTimeController::~NiTimeController()
{
    // Let go of the rest of the chain one member at a time, without recursing per member.
    NiRefPtr<NiTimeController> spNext = std::move(m_spNext);
    while (spNext && spNext->GetRefCount() == 1)
    {
        NiRefPtr<NiTimeController> spAfter = std::move(spNext->m_spNext);
        spNext = std::move(spAfter);
    }
}

//--- Running --------------------------------------------------------------------------------

void NiTimeController::Start(float fTime)
{
    SetActive(true);
    m_fLastTime = TIME_UNSET;
    if (GetAnimType() == APP_INIT)
        m_fStartTime = fTime;
}

void NiTimeController::Stop()
{
    SetActive(false);
    m_fLastTime = TIME_UNSET;
    if (GetAnimType() == APP_INIT)
        m_fStartTime = TIME_UNSET;
}

void NiTimeController::TargetPassedCulling() {}

void NiTimeController::SetTarget(NiObjectNET* pkTarget)
{
    if (pkTarget == m_pTarget)
        return;
    // Leaving the old chain may drop the last reference to this controller.
    NiRefPtr<NiTimeController> spHold(this);
    if (m_pTarget && m_pTarget->GetControllers())
        m_pTarget->RemoveController(this);
    m_pTarget = pkTarget;
    if (pkTarget)
        pkTarget->PrependController(this);
}

void NiTimeController::OnDisplayed()
{
    if (m_spNext)
        m_spNext->OnDisplayed();
}

float NiTimeController::ToControllerTime(float fTime)
{
    if (m_fStartTime == TIME_UNSET)
        m_fStartTime = fTime;

    float fElapsed;
    if (m_fLastTime == TIME_UNSET)
    {
        m_fScaledTime = 0.0f;
        fElapsed = GetAnimType() == APP_INIT ? 0.0f : fTime;
    }
    else
    {
        fElapsed = fTime - m_fLastTime;
    }
    m_fScaledTime += fElapsed * m_fFrequency;
    m_fLastTime = fTime;
    float fValue = m_fScaledTime + m_fPhase;

    const float fSpan = m_fHiKeyTime - m_fLoKeyTime;
    switch (GetCycleType())
    {
    case LOOP:
        fValue = fSpan == 0.0f ? m_fLoKeyTime : std::fmod(fValue, fSpan) + m_fLoKeyTime;
        break;
    case REVERSE:
        if (fSpan == 0.0f)
        {
            fValue = m_fLoKeyTime;
        }
        else
        {
            const float fCycle = std::fmod(fValue, 2.0f * fSpan);
            fValue = fCycle <= fSpan ? m_fLoKeyTime + fCycle : m_fLoKeyTime + (2.0f * fSpan - fCycle);
        }
        break;
    default:
        break;
    }

    // The upper end first; a value that does not compare (NaN) goes to the lower end.
    if (fValue > m_fHiKeyTime)
        return m_fHiKeyTime;
    if (!(fValue >= m_fLoKeyTime))
        return m_fLoKeyTime;
    return fValue;
}

void NiTimeController::StartAnimations(NiObjectNET* pkObject, float fTime)
{
    if (!pkObject)
        return;
    for (NiTimeController* pkController = pkObject->GetControllers(); pkController;
         pkController = pkController->GetNext())
    {
        pkController->Start(fTime);
    }
    pkObject->ForEachAnimationChild([fTime](NiObjectNET* pkChild) { StartAnimations(pkChild, fTime); });
}

void NiTimeController::StartAnimations(NiObjectNET* pkObject)
{
    StartAnimations(pkObject, TIME_UNSET);
}

void NiTimeController::StopAnimations(NiObjectNET* pkObject)
{
    if (!pkObject)
        return;
    for (NiTimeController* pkController = pkObject->GetControllers(); pkController;
         pkController = pkController->GetNext())
    {
        pkController->Stop();
    }
    pkObject->ForEachAnimationChild([](NiObjectNET* pkChild) { StopAnimations(pkChild); });
}

//--- Cloning --------------------------------------------------------------------------------

NiObject* NiTimeController::MakeClone()
{
    return nullptr;
}

void NiTimeController::CopyToClone(NiTimeController* pkClone) const
{
    pkClone->m_uFlags = m_uFlags;
    pkClone->m_fFrequency = m_fFrequency;
    pkClone->m_fPhase = m_fPhase;
    pkClone->m_fLoKeyTime = m_fLoKeyTime;
    pkClone->m_fHiKeyTime = m_fHiKeyTime;
    pkClone->m_fStartTime = m_fStartTime;
    pkClone->m_fLastTime = m_fLastTime;
    pkClone->m_fScaledTime = m_fScaledTime;

    // Inside a clone of the target, the target carries a marker naming its clone. Without one
    // the controller is cloned on its own: cloning the target from here would leave the new
    // target unowned and a stale marker on the source, so the clone starts without a target.
    pkClone->m_pTarget = nullptr;
    if (m_pTarget)
    {
        NiExtraData* pkHead = m_pTarget->GetExtraData();
        if (pkHead && pkHead->GetClassRecord() == &NiCloneExtraData::ms_kClassRecord)
            pkClone->m_pTarget = static_cast<NiCloneExtraData*>(pkHead)->GetClone();
    }
    pkClone->m_spNext = m_spNext ? NiDynamicCast<NiTimeController>(m_spNext->MakeClone()) : nullptr;
}

void NiTimeController::FixCloneLinks(NiObject* pkClone)
{
    NiObject::FixCloneLinks(pkClone);
    NiTimeController* pkControllerClone = NiDynamicCast<NiTimeController>(pkClone);
    if (m_spNext && pkControllerClone && pkControllerClone->m_spNext)
        m_spNext->FixCloneLinks(pkControllerClone->m_spNext);
}

void NiTimeController::RemoveCloneData()
{
    NiObject::RemoveCloneData();
    if (m_spNext)
        m_spNext->RemoveCloneData();
}

//--- Streaming ------------------------------------------------------------------------------

void NiTimeController::LoadBinary(NiStream& kStream)
{
    NiObject::LoadBinary(kStream);
    NiTimeControllerLinkRecord& kRecord = kStream.GetLinkRecord<NiTimeControllerLinkRecord>();
    kStream.Load(kRecord.m_uiNextID);
    kStream.Load(m_uFlags);
    kStream.Load(m_fFrequency);
    kStream.Load(m_fPhase);
    kStream.Load(m_fLoKeyTime);
    kStream.Load(m_fHiKeyTime);
    kStream.Load(kRecord.m_uiTargetID);
}

bool NiTimeController::ChainHolds(const NiTimeController* pkChain, const NiTimeController* pkController)
{
    for (const NiTimeController* pkWalk = pkChain; pkWalk; pkWalk = pkWalk->GetNext())
    {
        if (pkWalk == pkController)
            return true;
    }
    return false;
}

void NiTimeController::ResolveLinks(NiStream& kStream)
{
    NiObject::ResolveLinks(kStream);
    const NiTimeControllerLinkRecord& kRecord = kStream.GetLinkRecord<NiTimeControllerLinkRecord>();
    NiTimeController* pkNext = kStream.LookupLinkedObjectAs<NiTimeController>(kRecord.m_uiNextID);
    // A next that leads back here would close the chain into a loop.
    if (!ChainHolds(pkNext, this))
        m_spNext = pkNext;
    m_pTarget = kStream.LookupLinkedObjectAs<NiObjectNET>(kRecord.m_uiTargetID);
}

void NiTimeController::PostLink()
{
    NiObject::PostLink();
    if (!m_pTarget)
        return;
    // The pointer back is uncounted: only the target's own chain keeps it valid (the target
    // clears it when it dies), and Update writes through it as the class the controller needs.
    if (!m_pTarget->HoldsController(this) || !IsTargetValid())
        m_pTarget = nullptr;
}

bool NiTimeController::RegisterForSave(NiStream& kStream)
{
    if (!NiObject::RegisterForSave(kStream))
        return false;
    if (m_spNext)
        m_spNext->RegisterForSave(kStream);
    return true;
}

void NiTimeController::SaveBinary(NiStream& kStream)
{
    NiObject::SaveBinary(kStream);
    kStream.SaveLinkID(m_spNext);
    kStream.Save(m_uFlags);
    kStream.Save(m_fFrequency);
    kStream.Save(m_fPhase);
    kStream.Save(m_fLoKeyTime);
    kStream.Save(m_fHiKeyTime);
    kStream.SaveLinkID(m_pTarget);
}

bool NiTimeController::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiObject::IsEquivalent(pkObject))
        return false;
    const NiTimeController* pkOther = static_cast<const NiTimeController*>(pkObject);
    // The active bit is run-time state, not part of what a controller is.
    constexpr uint16_t uCompared = ANIMTYPE_MASK | CYCLETYPE_MASK;
    return (m_uFlags & uCompared) == (pkOther->m_uFlags & uCompared) &&
           m_fFrequency == pkOther->m_fFrequency && m_fPhase == pkOther->m_fPhase &&
           m_fLoKeyTime == pkOther->m_fLoKeyTime && m_fHiKeyTime == pkOther->m_fHiKeyTime &&
           (m_pTarget == nullptr) == (pkOther->m_pTarget == nullptr);
}

std::string NiTimeController::AnimTypeFieldString(const char* pcName, uint16_t uType)
{
    return NiFieldString(pcName, uType == APP_INIT ? "APP_INIT" : "APP_TIME");
}

std::string NiTimeController::CycleTypeFieldString(const char* pcName, uint16_t uType)
{
    // 3 runs as CLAMP, so it reads as CLAMP.
    static constexpr const char* apcTexts[] = {"LOOP", "REVERSE", "CLAMP", "CLAMP"};
    return NiFieldString(pcName, apcTexts[uType & 3]);
}

void NiTimeController::AddFieldStrings(NiFieldStringList& kList) const
{
    kList.push_back(NiFieldStringHeader("NiTimeController"));
    kList.push_back(NiFieldString("m_fFrequency", m_fFrequency));
    kList.push_back(NiFieldString("m_fPhase", m_fPhase));
    kList.push_back(NiFieldString("m_fLoKeyTime", m_fLoKeyTime));
    kList.push_back(NiFieldString("m_fHiKeyTime", m_fHiKeyTime));
    kList.push_back(NiFieldString("m_fStartTime", m_fStartTime));
    kList.push_back(NiFieldString("m_fLastTime", m_fLastTime));
    kList.push_back(NiFieldString("m_pTarget", static_cast<const void*>(m_pTarget)));
    kList.push_back(AnimTypeFieldString("anim type", GetAnimType()));
    kList.push_back(CycleTypeFieldString("cycle type", GetField(CYCLETYPE_MASK, CYCLETYPE_POS)));
}
