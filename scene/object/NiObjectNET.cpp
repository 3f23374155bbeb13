#include "scene/object/NiObjectNET.h"

#include "scene/object/NiCloneExtraData.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiObjectNET, NiObject);
NiImplementAbstractLoader(NiObjectNET);

NiObjectNET::NiObjectNET() = default;

NiObjectNET::~NiObjectNET()
{
    // Controllers point back at their target without a count; one that outlives this object
    // (held elsewhere) must not keep a dangling target.
    for (NiTimeController* pkController = m_spControllers; pkController;
         pkController = pkController->GetNext())
    {
        if (pkController->m_pTarget == this)
            pkController->m_pTarget = nullptr;
    }
}

void NiObjectNET::SetName(const char* pcName)
{
    if (pcName)
        m_kName = pcName;
    else
        m_kName.reset();
}

//--- Chains ---------------------------------------------------------------------------------

void NiObjectNET::AddExtraData(NiExtraData* pkExtra)
{
    if (!pkExtra)
        return;
    for (NiExtraData* pkWalk = m_spExtraData; pkWalk; pkWalk = pkWalk->GetNext())
    {
        if (pkWalk == pkExtra)
            return;
    }
    pkExtra->SetNext(m_spExtraData);
    m_spExtraData = pkExtra;
}

void NiObjectNET::RemoveExtraData(NiExtraData* pkExtra)
{
    if (!pkExtra)
        return;
    // The chain may hold the last reference.
    NiRefPtr<NiExtraData> spHold(pkExtra);
    if (m_spExtraData == pkExtra)
    {
        m_spExtraData = pkExtra->GetNext();
        pkExtra->SetNext(nullptr);
        return;
    }
    for (NiExtraData* pkWalk = m_spExtraData; pkWalk; pkWalk = pkWalk->GetNext())
    {
        if (pkWalk->GetNext() == pkExtra)
        {
            pkWalk->SetNext(pkExtra->GetNext());
            pkExtra->SetNext(nullptr);
            return;
        }
    }
}

void NiObjectNET::PrependController(NiTimeController* pkController)
{
    if (!pkController || HoldsController(pkController))
        return;
    pkController->SetNext(m_spControllers);
    m_spControllers = pkController;
}

void NiObjectNET::RemoveController(NiTimeController* pkController)
{
    if (!pkController)
        return;
    NiRefPtr<NiTimeController> spHold(pkController);
    if (m_spControllers == pkController)
    {
        m_spControllers = pkController->GetNext();
        pkController->SetNext(nullptr);
        return;
    }
    for (NiTimeController* pkWalk = m_spControllers; pkWalk; pkWalk = pkWalk->GetNext())
    {
        if (pkWalk->GetNext() == pkController)
        {
            pkWalk->SetNext(pkController->GetNext());
            pkController->SetNext(nullptr);
            return;
        }
    }
}

void NiObjectNET::ForEachAnimationChild(const std::function<void(NiObjectNET*)>&) {}

//--- Cloning --------------------------------------------------------------------------------

NiObject* NiObjectNET::MakeClone()
{
    return nullptr;
}

void NiObjectNET::CopyToClone(NiObjectNET* pkClone)
{
    switch (GetCloneNameMode())
    {
    case CLONE_NAME_COPY:
        pkClone->SetName(GetName());
        break;
    case CLONE_NAME_SUFFIX:
        if (m_kName)
            pkClone->m_kName = *m_kName + GetCloneSuffix();
        break;
    default:
        break;
    }

    // Each clone goes to the front, so the clone's chain holds the clones in reverse order.
    for (NiExtraData* pkExtra = m_spExtraData; pkExtra; pkExtra = pkExtra->GetNext())
        pkClone->AddExtraData(NiDynamicCast<NiExtraData>(pkExtra->MakeClone()));

    // Controllers and nodes cloned later in this operation find the clone through the marker.
    if (!m_spExtraData || m_spExtraData->GetClassRecord() != &NiCloneExtraData::ms_kClassRecord)
        AddExtraData(new NiCloneExtraData(pkClone));

    if (m_spControllers)
        pkClone->m_spControllers = NiDynamicCast<NiTimeController>(m_spControllers->MakeClone());
}

void NiObjectNET::FixCloneLinks(NiObject* pkClone)
{
    NiObject::FixCloneLinks(pkClone);
    NiObjectNET* pkNamedClone = NiDynamicCast<NiObjectNET>(pkClone);
    if (m_spControllers && pkNamedClone && pkNamedClone->m_spControllers)
        m_spControllers->FixCloneLinks(pkNamedClone->m_spControllers);
}

void NiObjectNET::RemoveCloneData()
{
    NiObject::RemoveCloneData();
    if (m_spExtraData && m_spExtraData->GetClassRecord() == &NiCloneExtraData::ms_kClassRecord)
        RemoveExtraData(m_spExtraData);
    if (m_spControllers)
        m_spControllers->RemoveCloneData();
}

//--- Streaming ------------------------------------------------------------------------------

void NiObjectNET::LoadBinary(NiStream& kStream)
{
    NiObject::LoadBinary(kStream);
    m_kName = kStream.LoadCString();
    NiObjectNETLinkRecord& kRecord = kStream.GetLinkRecord<NiObjectNETLinkRecord>();
    kStream.Load(kRecord.m_uiExtraDataID);
    kStream.Load(kRecord.m_uiControllerID);
}

void NiObjectNET::ResolveLinks(NiStream& kStream)
{
    NiObject::ResolveLinks(kStream);
    const NiObjectNETLinkRecord& kRecord = kStream.GetLinkRecord<NiObjectNETLinkRecord>();
    m_spExtraData = kStream.LookupLinkedObjectAs<NiExtraData>(kRecord.m_uiExtraDataID);
    m_spControllers = kStream.LookupLinkedObjectAs<NiTimeController>(kRecord.m_uiControllerID);
}

void NiObjectNET::PostLink()
{
    NiObject::PostLink();
    // A controller belongs to its target's chain only. A damaged file can run the chain here
    // into a controller of another object's chain, or hold one that animates nothing here;
    // either could close a loop of counted links (a particle controller holding this object as
    // its template) that keeps everything in it alive for ever.
    NiRefPtr<NiTimeController>* pspLink = &m_spControllers;
    while (*pspLink)
    {
        NiTimeController* pkController = *pspLink;
        if (pkController->m_pTarget == this)
        {
            pspLink = &pkController->m_spNext;
            continue;
        }
        if (pkController->m_pTarget && pkController->m_pTarget->HoldsController(pkController))
        {
            // The rest of the chain is the other object's.
            *pspLink = nullptr;
            return;
        }
        NiRefPtr<NiTimeController> spStray(pkController);
        *pspLink = pkController->m_spNext;
        pkController->m_spNext = nullptr;
    }
}

bool NiObjectNET::HoldsController(const NiTimeController* pkController) const
{
    return NiTimeController::ChainHolds(m_spControllers, pkController);
}

bool NiObjectNET::RegisterForSave(NiStream& kStream)
{
    if (!NiObject::RegisterForSave(kStream))
        return false;
    if (m_spExtraData)
        m_spExtraData->RegisterForSave(kStream);
    if (m_spControllers)
        m_spControllers->RegisterForSave(kStream);
    return true;
}

void NiObjectNET::SaveBinary(NiStream& kStream)
{
    NiObject::SaveBinary(kStream);
    kStream.SaveCString(GetName());
    kStream.SaveLinkID(m_spExtraData);
    kStream.SaveLinkID(m_spControllers);
}

namespace
{
// Chains of the same length whose members are pairwise equivalent in order.
template <class T> bool ChainsEquivalent(const T* pkFirst, const T* pkSecond)
{
    for (; pkFirst && pkSecond; pkFirst = pkFirst->GetNext(), pkSecond = pkSecond->GetNext())
    {
        if (!pkFirst->IsEquivalent(pkSecond))
            return false;
    }
    return !pkFirst && !pkSecond;
}
} // namespace

bool NiObjectNET::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiObject::IsEquivalent(pkObject))
        return false;
    const NiObjectNET* pkOther = static_cast<const NiObjectNET*>(pkObject);
    return m_kName == pkOther->m_kName &&
           ChainsEquivalent<NiExtraData>(m_spExtraData, pkOther->m_spExtraData) &&
           ChainsEquivalent<NiTimeController>(m_spControllers, pkOther->m_spControllers);
}

void NiObjectNET::AddFieldStrings(NiFieldStringList& kList) const
{
    NiObject::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiObjectNET"));
    kList.push_back(NiFieldString("m_pName", GetName()));
    for (const NiExtraData* pkExtra = m_spExtraData; pkExtra; pkExtra = pkExtra->GetNext())
        pkExtra->AddFieldStrings(kList);
    for (const NiTimeController* pkController = m_spControllers; pkController;
         pkController = pkController->GetNext())
        pkController->AddFieldStrings(kList);
}
