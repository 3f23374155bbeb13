#include "scene/animation/NiKeyframeManager.h"

#include "platform/win32/CaseBlindPath.h"
#include "platform/win32/DebugOutput.h"
#include "scene/animation/NiSequenceStreamHelper.h"
#include "scene/graph/NiAVObject.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiStringExtraData.h"
#include "scene/object/NiQuaternion.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <set>

NiImplementRTTI(NiKeyframeManager, NiTimeController);
NiImplementCreateObject(NiKeyframeManager);

namespace
{
constexpr float START_ANYWHERE = -3.4028235e38f;

bool NameEquals(const NiObjectNET* pkObject, const std::string& kName)
{
    const char* pcName = pkObject->GetName();
    return pcName && kName == pcName;
}

// The children of a node, for the depth-first walks; none for other objects.
NiNode* AsNode(NiAVObject* pkObject)
{
    return NiDynamicCast<NiNode>(pkObject);
}

void Drive(NiKeyframeController* pkController, float fTime)
{
    pkController->Start(START_ANYWHERE);
    pkController->Update(fTime);
    pkController->Stop();
}

// The sequence files being read, so that a file that names itself (or a cycle of files) is read
// only once on the way down.
std::set<std::string>& FilesBeingLoaded()
{
    static std::set<std::string> s_kFiles;
    return s_kFiles;
}
} // namespace

//--- Sequence -------------------------------------------------------------------------------

NiKeyframeManager::Sequence::Sequence(const char* pcName, uint32_t uiInitialSize, uint32_t)
    : m_kName(pcName ? pcName : "")
{
    m_kTargetNames.reserve(uiInitialSize);
    m_kControllers.reserve(uiInitialSize);
}

NiKeyframeManager::Sequence::~Sequence() = default;

uint32_t NiKeyframeManager::Sequence::AddController(const char* pcTargetName,
                                                    NiKeyframeController* pkController)
{
    m_kTargetNames.emplace_back(pcTargetName ? pcTargetName : "");
    m_kControllers.emplace_back(pkController);
    return static_cast<uint32_t>(m_kControllers.size() - 1);
}

void NiKeyframeManager::Sequence::SetFileName(const char* pcFileName)
{
    if (pcFileName)
        m_kFileName = pcFileName;
    else
        m_kFileName.reset();
}

NiKeyframeController* NiKeyframeManager::Sequence::GetReferenceController() const
{
    return m_uiReferenceIndex < m_kControllers.size() ? m_kControllers[m_uiReferenceIndex].Get() : nullptr;
}

void NiKeyframeManager::Sequence::BindOne(uint32_t i, NiAVObject* pkObject)
{
    NiKeyframeController* pkController = m_kControllers[i];
    if (!pkController)
        return;
    NiRefPtr<NiTimeController> spHold(pkController);
    pkController->SetTarget(pkObject);
    pkController->Stop();
    // On the manager's own target the manager stays first.
    NiKeyframeManager* pkManager = m_pkOwner;
    if (pkManager && pkObject == pkManager->GetTarget() &&
        static_cast<NiTimeController*>(pkController) != pkManager)
    {
        pkObject->RemoveController(pkController);
        pkController->SetNext(pkManager->GetNext());
        pkManager->SetNext(pkController);
    }
}

void NiKeyframeManager::Sequence::UnbindOne(uint32_t i)
{
    NiKeyframeController* pkController = m_kControllers[i];
    if (!pkController || !pkController->GetTarget())
        return;
    NiRefPtr<NiTimeController> spHold(pkController);
    pkController->GetTarget()->RemoveController(pkController);
    pkController->SetTarget(nullptr);
}

bool NiKeyframeManager::Sequence::BindFrom(NiAVObject* pkObject, uint32_t& uiCursor)
{
    if (uiCursor >= m_kTargetNames.size())
        return true;
    if (NameEquals(pkObject, m_kTargetNames[uiCursor]))
    {
        BindOne(uiCursor, pkObject);
        if (++uiCursor >= m_kTargetNames.size())
            return true;
    }
    if (NiNode* pkNode = AsNode(pkObject))
    {
        for (uint32_t c = 0; c < pkNode->GetArrayCount(); ++c)
        {
            NiAVObject* pkChild = pkNode->GetAt(c);
            if (pkChild && BindFrom(pkChild, uiCursor))
                return true;
        }
    }
    return false;
}

bool NiKeyframeManager::Sequence::Bind()
{
    NiAVObject* pkRoot = m_pkOwner ? NiDynamicCast<NiAVObject>(m_pkOwner->GetTarget()) : nullptr;
    if (!pkRoot)
        return false;
    uint32_t uiCursor = 0;
    if (m_kTargetNames.empty() || BindFrom(pkRoot, uiCursor))
        return true;
    for (uint32_t i = uiCursor; i-- > 0;)
        UnbindOne(i);
    return false;
}

bool NiKeyframeManager::Sequence::UnbindFrom(NiAVObject* pkObject, int64_t& iCursor)
{
    if (iCursor < 0)
        return true;
    if (NiNode* pkNode = AsNode(pkObject))
    {
        for (uint32_t c = pkNode->GetArrayCount(); c-- > 0;)
        {
            NiAVObject* pkChild = pkNode->GetAt(c);
            if (pkChild && UnbindFrom(pkChild, iCursor))
                return true;
        }
    }
    if (NameEquals(pkObject, m_kTargetNames[static_cast<size_t>(iCursor)]))
    {
        UnbindOne(static_cast<uint32_t>(iCursor));
        if (--iCursor < 0)
            return true;
    }
    return false;
}

bool NiKeyframeManager::Sequence::Unbind()
{
    NiAVObject* pkRoot = m_pkOwner ? NiDynamicCast<NiAVObject>(m_pkOwner->GetTarget()) : nullptr;
    if (!pkRoot)
        return false;
    int64_t iCursor = static_cast<int64_t>(m_kTargetNames.size()) - 1;
    if (iCursor < 0 || UnbindFrom(pkRoot, iCursor))
        return true;
    // Bind again what was unbound: from the cursor up, each on the object of its name.
    for (size_t i = static_cast<size_t>(iCursor + 1); i < m_kTargetNames.size(); ++i)
    {
        if (NiAVObject* pkObject = pkRoot->FindObjectByName(m_kTargetNames[i].c_str()))
            BindOne(static_cast<uint32_t>(i), pkObject);
    }
    return false;
}

void NiKeyframeManager::Sequence::UpdateControllers(float fTime)
{
    for (const NiRefPtr<NiKeyframeController>& spController : m_kControllers)
    {
        if (spController && spController->GetData())
            Drive(spController, fTime);
    }
}

void NiKeyframeManager::Sequence::BlendControllers(float fTime, float fFraction)
{
    for (size_t i = 0; i < m_kControllers.size(); ++i)
    {
        NiKeyframeController* pkController = m_kControllers[i];
        if (!pkController || !pkController->GetData())
            continue;
        // A partner without a controller here has no pose to blend from.
        const NiKeyframeController* pkPartnerController =
            m_pkPartner && i < m_pkPartner->m_kControllers.size() ? m_pkPartner->m_kControllers[i].Get()
                                                                  : nullptr;
        NiAVObject* pkObject = NiDynamicCast<NiAVObject>(pkController->GetTarget());
        if (!pkPartnerController || !pkPartnerController->GetData() || !pkObject)
        {
            Drive(pkController, fTime);
            continue;
        }
        const NiPoint3 kT0 = pkObject->GetTranslate();
        NiQuaternion kQ0;
        kQ0.FromRotation(pkObject->GetRotate());
        const float fS0 = pkObject->GetScale();
        Drive(pkController, fTime);
        const NiPoint3 kT1 = pkObject->GetTranslate();
        NiQuaternion kQ1;
        kQ1.FromRotation(pkObject->GetRotate());
        const float fS1 = pkObject->GetScale();

        pkObject->SetTranslate(kT0 * (1.0f - fFraction) + kT1 * fFraction);
        if (NiQuaternion::Dot(kQ0, kQ1) < 0.0f)
            kQ0 = -kQ0;
        NiRotationMatrix kRotate;
        NiQuaternion::Slerp(fFraction, kQ0, kQ1).ToRotation(kRotate);
        pkObject->SetRotate(kRotate);
        const float fScale = (1.0f - fFraction) * fS0 + fFraction * fS1;
        pkObject->SetScale(fScale > 0.0f ? fScale : -fScale);
    }
}

NiKeyframeManager::Sequence*
NiKeyframeManager::Sequence::LoadFromFile(const char* pcFileName, const char* pcName, int32_t iObjectIndex)
{
    if (!pcFileName)
        return nullptr;
    // Names written elsewhere may differ from the files on disk in case and separators.
    const std::string kPath = win32::ResolvePath(pcFileName);
    std::error_code kError;
    const std::string kKey = std::filesystem::weakly_canonical(kPath, kError).string();
    std::set<std::string>& kLoading = FilesBeingLoaded();
    if (!kLoading.insert(kKey).second)
        return nullptr;
    NiStream kStream;
    const bool bLoaded = kStream.LoadFile(kPath.c_str());
    kLoading.erase(kKey);
    if (!bLoaded || iObjectIndex < 0 || static_cast<uint32_t>(iObjectIndex) >= kStream.GetTopObjectCount())
        return nullptr;
    NiSequenceStreamHelper* pkHelper =
        NiDynamicCast<NiSequenceStreamHelper>(kStream.GetTopObjectAt(static_cast<uint32_t>(iObjectIndex)));
    if (!pkHelper)
        return nullptr;

    Sequence* pkSequence = new Sequence(pcName);
    pkSequence->SetFileName(pcFileName);
    pkSequence->m_iObjectIndex = iObjectIndex;
    NiExtraData* pkExtra = pkHelper->GetExtraData();
    if (NiTextKeyExtraData* pkKeys = NiDynamicCast<NiTextKeyExtraData>(pkExtra))
    {
        pkSequence->m_spTextKeys = pkKeys;
        pkExtra = pkExtra->GetNext();
    }
    // Names and controllers pair up in order; what has no partner is left out.
    NiTimeController* pkController = pkHelper->GetControllers();
    for (; pkExtra && pkController; pkExtra = pkExtra->GetNext(), pkController = pkController->GetNext())
    {
        NiStringExtraData* pkName = NiDynamicCast<NiStringExtraData>(pkExtra);
        NiKeyframeController* pkKeyframes = NiDynamicCast<NiKeyframeController>(pkController);
        if (pkName && pkKeyframes)
            pkSequence->AddController(pkName->GetString(), pkKeyframes);
    }
    // The controllers leave the helper's chain: they are the sequence's now.
    for (NiKeyframeController* pkOwn :
         [&]
         {
             std::vector<NiKeyframeController*> kList;
             for (const auto& spController : pkSequence->m_kControllers)
                 kList.push_back(spController);
             return kList;
         }())
    {
        pkHelper->RemoveController(pkOwn);
        pkOwn->SetTarget(nullptr);
    }
    return pkSequence;
}

NiKeyframeManager::Sequence* NiKeyframeManager::Sequence::Copy(const Sequence& kSource)
{
    Sequence* pkCopy = new Sequence(kSource.GetName());
    pkCopy->m_kFileName = kSource.m_kFileName;
    pkCopy->m_iObjectIndex = kSource.m_iObjectIndex;
    pkCopy->m_spTextKeys = kSource.m_spTextKeys;
    pkCopy->m_uiReferenceIndex = kSource.m_uiReferenceIndex;
    for (size_t i = 0; i < kSource.m_kControllers.size(); ++i)
    {
        NiKeyframeController* pkController = kSource.m_kControllers[i];
        pkCopy->AddController(kSource.m_kTargetNames[i].c_str(),
                              pkController ? NiDynamicCast<NiKeyframeController>(pkController->MakeClone())
                                           : nullptr);
    }
    return pkCopy;
}

NiKeyframeManager::Sequence* NiKeyframeManager::Sequence::Merge(Sequence* pkFirst, Sequence* pkSecond,
                                                                const char* pcName)
{
    NiKeyframeManager* pkOwner = pkFirst ? pkFirst->m_pkOwner : nullptr;
    if (!pkOwner || !pkSecond)
        return nullptr;
    Sequence* pkMerged = new Sequence(pcName);
    pkMerged->m_spTextKeys = pkFirst->m_spTextKeys;
    pkMerged->m_fTimeOffset = pkFirst->m_fTimeOffset;

    size_t uiA = 0;
    size_t uiB = 0;
    auto CloneOf = [](NiKeyframeController* pkController)
    {
        if (!pkController)
            return static_cast<NiKeyframeController*>(nullptr);
        NiObjectNET* pkTarget = pkController->GetTarget();
        pkController->SetTarget(nullptr);
        NiKeyframeController* pkClone = NiDynamicCast<NiKeyframeController>(pkController->MakeClone());
        pkController->SetTarget(pkTarget);
        return pkClone;
    };
    std::vector<NiAVObject*> kStack;
    if (NiAVObject* pkRoot = NiDynamicCast<NiAVObject>(pkOwner->GetTarget()))
        kStack.push_back(pkRoot);
    while (!kStack.empty() && (uiA < pkFirst->m_kTargetNames.size() || uiB < pkSecond->m_kTargetNames.size()))
    {
        NiAVObject* pkObject = kStack.back();
        kStack.pop_back();
        const bool bInA =
            uiA < pkFirst->m_kTargetNames.size() && NameEquals(pkObject, pkFirst->m_kTargetNames[uiA]);
        const bool bInB =
            uiB < pkSecond->m_kTargetNames.size() && NameEquals(pkObject, pkSecond->m_kTargetNames[uiB]);
        if (bInA && !bInB)
        {
            // The merged sequence's timing follows the first one's reference controller.
            if (uiA == pkFirst->m_uiReferenceIndex)
                pkMerged->m_uiReferenceIndex = pkMerged->GetControllerCount();
            pkMerged->AddController(pkFirst->m_kTargetNames[uiA].c_str(),
                                    CloneOf(pkFirst->m_kControllers[uiA]));
            ++uiA;
        }
        else if (bInB && !bInA)
        {
            NiKeyframeController* pkClone = CloneOf(pkSecond->m_kControllers[uiB]);
            if (pkClone)
                pkClone->SetPhase(pkClone->GetPhase() + pkSecond->m_fTimeOffset - pkFirst->m_fTimeOffset);
            pkMerged->AddController(pkSecond->m_kTargetNames[uiB].c_str(), pkClone);
            ++uiB;
        }
        if (NiNode* pkNode = AsNode(pkObject))
        {
            for (uint32_t c = pkNode->GetArrayCount(); c-- > 0;)
            {
                if (NiAVObject* pkChild = pkNode->GetAt(c))
                    kStack.push_back(pkChild);
            }
        }
    }
    if (!pkOwner->AddSequence(pkMerged))
    {
        delete pkMerged;
        return nullptr;
    }
    return pkMerged;
}

float NiKeyframeManager::Sequence::GetNextTextKeyTime(const char* pcName, float fTime) const
{
    NiKeyframeController* pkReference = GetReferenceController();
    if (!pkReference)
        return fTime;
    const float fLocal = fTime + m_fTimeOffset;
    const float fKeyTime = pkReference->ToControllerTime(fLocal);
    const uint16_t uCycle = pkReference->GetCycleType();
    const float fLo = pkReference->GetLoKeyTime();
    const float fHi = pkReference->GetHiKeyTime();

    float fFound = fLo;
    bool bFound = false;
    bool bFirstBehind = true;
    const uint32_t uiCount = m_spTextKeys ? m_spTextKeys->GetNumKeys() : 0;
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        const TextKey& kKey = m_spTextKeys->GetKeys()[i];
        if (!kKey.TextEquals(pcName))
            continue;
        if (kKey.GetTime() > fKeyTime)
        {
            fFound = kKey.GetTime();
            bFound = true;
            break;
        }
        if ((uCycle == LOOP && bFirstBehind) || uCycle == REVERSE)
            fFound = kKey.GetTime();
        bFirstBehind = false;
    }
    if (uCycle == REVERSE && fHi != fLo)
    {
        const float fCycles =
            std::trunc((fLocal * pkReference->GetFrequency() + pkReference->GetPhase()) / (fHi - fLo));
        const bool bOdd = std::fmod(fCycles, 2.0f) != 0.0f;
        if (bFound && bOdd)
            fFound += 2.0f * (fKeyTime - fLo);
        else if (!bFound)
            fFound = bOdd ? 2.0f * fKeyTime - fFound : 2.0f * fHi - fFound - fLo;
    }
    else if (uCycle == LOOP && !bFound)
    {
        fFound += fHi - fLo;
    }
    return (fTime + (fFound - fKeyTime) - pkReference->GetPhase()) / pkReference->GetFrequency();
}

//--- Manager --------------------------------------------------------------------------------

NiKeyframeManager::NiKeyframeManager() = default;

NiKeyframeManager::NiKeyframeManager(NiObjectNET* pkTarget)
{
    // A new manager is in no chain yet: it only joins the front of its target's.
    if (!pkTarget)
        return;
    pkTarget->PrependController(this);
    m_pTarget = pkTarget;
}

NiKeyframeManager::~NiKeyframeManager()
{
    for (const auto& kEntry : m_kSequences)
        delete kEntry.m_val;
}

bool NiKeyframeManager::AddSequence(const char* pcFileName, const char* pcName, int32_t iObjectIndex)
{
    Sequence* pkSequence = Sequence::LoadFromFile(pcFileName, pcName, iObjectIndex);
    if (!pkSequence)
        return false;
    if (AddSequence(pkSequence))
        return true;
    delete pkSequence;
    return false;
}

bool NiKeyframeManager::AddSequence(Sequence* pkSequence)
{
    // A second sequence of one name would leave the first unreachable, still owned and bound.
    if (!pkSequence || pkSequence->m_pkOwner || m_kSequences.Contains(pkSequence->GetName()))
        return false;
    pkSequence->m_pkOwner = this;
    m_kSequences.SetAt(pkSequence->GetName(), pkSequence);
    return true;
}

bool NiKeyframeManager::RemoveSequence(const char* pcName)
{
    Sequence* pkSequence = GetSequence(pcName);
    if (!pkSequence)
        return false;
    m_kSequences.RemoveAt(pkSequence->GetName());
    pkSequence->m_pkOwner = nullptr;
    return true;
}

bool NiKeyframeManager::RemoveSequence(Sequence* pkSequence)
{
    return pkSequence && GetSequence(pkSequence->GetName()) == pkSequence &&
           RemoveSequence(pkSequence->GetName());
}

void NiKeyframeManager::RemoveAllSequences()
{
    for (const auto& kEntry : m_kSequences)
        kEntry.m_val->m_pkOwner = nullptr;
    m_kSequences.RemoveAll();
}

NiKeyframeManager::Sequence* NiKeyframeManager::GetSequence(const char* pcName) const
{
    Sequence* pkSequence = nullptr;
    return pcName && m_kSequences.GetAt(pcName, pkSequence) ? pkSequence : nullptr;
}

bool NiKeyframeManager::ActivateSequence(const char* pcName)
{
    Sequence* pkSequence = GetSequence(pcName);
    if (!pkSequence || !pkSequence->Bind())
        return false;
    pkSequence->m_eState = Sequence::ANIMATING;
    return true;
}

bool NiKeyframeManager::DeactivateSequence(const char* pcName)
{
    Sequence* pkSequence = GetSequence(pcName);
    if (!pkSequence || !pkSequence->Unbind())
        return false;
    pkSequence->m_eState = Sequence::INACTIVE;
    return true;
}

bool NiKeyframeManager::BlendFromSequence(const char* pcSource, const char* pcDestination,
                                          const char* pcTextKey, float fStart, float fEnd)
{
    Sequence* pkSource = GetSequence(pcSource);
    Sequence* pkDestination = GetSequence(pcDestination);
    return pkSource && pkDestination && ActivateBlend(pkSource, pkDestination, pcTextKey, fStart, fEnd);
}

bool NiKeyframeManager::MorphFromSequence(const char* pcSource, const char* pcDestination, float fStart,
                                          float fEnd)
{
    Sequence* pkSource = GetSequence(pcSource);
    Sequence* pkDestination = GetSequence(pcDestination);
    return pkSource && pkDestination && ActivateMorph(pkSource, pkDestination, fStart, fEnd);
}

bool NiKeyframeManager::BindPair(Sequence* pkSource, Sequence* pkDestination, const char* pcBusyMessage)
{
    if (pkSource->m_eState != Sequence::INACTIVE || pkDestination->m_eState != Sequence::INACTIVE)
    {
        OutputDebugStringA(pcBusyMessage);
        return false;
    }
    const bool bBound = pkDestination->Bind();
    if (!bBound || !pkSource->Bind())
    {
        // Nothing of a failed activation stays bound.
        if (bBound)
            pkDestination->Unbind();
        OutputDebugStringA("Cannot activate a blending sequence\n");
        return false;
    }
    pkSource->m_pkPartner = pkDestination;
    pkDestination->m_pkPartner = pkSource;
    return true;
}

bool NiKeyframeManager::ActivateBlend(Sequence* pkSource, Sequence* pkDestination, const char* pcTextKey,
                                      float fStart, float fEnd)
{
    if (!BindPair(pkSource, pkDestination, "Attempting to blend a sequence that's already animating\n"))
        return false;
    float fKeyTime = 0.0f;
    const NiKeyframeController* pkReference = pkDestination->GetReferenceController();
    if (pcTextKey && pkDestination->m_spTextKeys && pkReference)
    {
        if (const TextKey* pkKey = pkDestination->m_spTextKeys->FindKey(pcTextKey))
            fKeyTime = (pkKey->GetTime() - pkReference->GetPhase()) / pkReference->GetFrequency();
    }
    pkSource->m_fTransitionTime = fStart;
    pkSource->m_eState = Sequence::BLEND_SOURCE;
    pkDestination->m_fTimeOffset = fKeyTime - fEnd;
    pkDestination->m_fTransitionTime = fEnd;
    pkDestination->m_eState = Sequence::BLEND_DESTINATION;
    return true;
}

bool NiKeyframeManager::ActivateMorph(Sequence* pkSource, Sequence* pkDestination, float fStart, float fEnd)
{
    if (!BindPair(pkSource, pkDestination, "Attempting to morph a sequence that's already animating\n"))
        return false;
    const float fSync = SyncMorphTime(pkDestination, pkSource, fStart + pkSource->m_fTimeOffset);
    pkSource->m_fTransitionTime = fStart;
    pkSource->m_eState = Sequence::MORPH_SOURCE;
    pkDestination->m_fTransitionTime = fEnd;
    pkDestination->m_eState = Sequence::MORPH_DESTINATION;
    const NiKeyframeController* pkReference = pkDestination->GetReferenceController();
    const float fPhase = pkReference ? pkReference->GetPhase() : 0.0f;
    const float fFrequency = pkReference ? pkReference->GetFrequency() : 1.0f;
    pkDestination->m_fTimeOffset = (fSync - fPhase) / fFrequency - fStart;
    return true;
}

bool NiKeyframeManager::DeactivatePair(const char* pcSource, const char* pcDestination, const char* pcMessage)
{
    Sequence* pkSource = GetSequence(pcSource);
    Sequence* pkDestination = GetSequence(pcDestination);
    if (!pkSource || !pkDestination)
        return false;
    if (!pkDestination->Unbind() || !pkSource->Unbind())
    {
        OutputDebugStringA(pcMessage);
        return false;
    }
    pkSource->m_eState = Sequence::INACTIVE;
    pkDestination->m_eState = Sequence::INACTIVE;
    pkSource->m_pkPartner = nullptr;
    pkDestination->m_pkPartner = nullptr;
    return true;
}

bool NiKeyframeManager::DeactivateBlend(const char* pcSource, const char* pcDestination)
{
    return DeactivatePair(pcSource, pcDestination, "Cannot deactivate a blending sequence\n");
}

bool NiKeyframeManager::DeactivateMorph(const char* pcSource, const char* pcDestination)
{
    return DeactivatePair(pcSource, pcDestination, "Cannot deactivate a morphing sequence\n");
}

bool NiKeyframeManager::DeactivateAll()
{
    bool bAll = true;
    for (const auto& kEntry : m_kSequences)
    {
        bAll = kEntry.m_val->Unbind() && bAll;
        kEntry.m_val->m_eState = Sequence::INACTIVE;
    }
    return bAll;
}

float NiKeyframeManager::SyncMorphTime(const Sequence* pkX, const Sequence* pkY, float fTime)
{
    NiKeyframeController* pkYReference = pkY->GetReferenceController();
    if (!pkYReference)
        return fTime;
    const float fKeyTime = pkYReference->ToControllerTime(fTime);
    const float fSpanY = pkYReference->GetHiKeyTime() - pkYReference->GetLoKeyTime();

    const TextKey* pkFirst = nullptr;
    const TextKey* pkLast = nullptr;
    const TextKey* pkBefore = nullptr;
    const TextKey* pkAfter = nullptr;
    const uint32_t uiCount = pkY->m_spTextKeys ? pkY->m_spTextKeys->GetNumKeys() : 0;
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        const TextKey& kKey = pkY->m_spTextKeys->GetKeys()[i];
        if (!kKey.TextStartsWith("morph:"))
            continue;
        if (!pkFirst)
            pkFirst = &kKey;
        pkLast = &kKey;
        if (kKey.GetTime() < fKeyTime)
            pkBefore = &kKey;
        else if (!pkAfter)
            pkAfter = &kKey;
    }
    // Without morph keys there is nothing to keep in step with.
    if (!pkFirst)
        return fKeyTime;
    float fFraction;
    if (pkBefore && pkAfter)
    {
        fFraction = (fKeyTime - pkBefore->GetTime()) / (pkAfter->GetTime() - pkBefore->GetTime());
    }
    else if (!pkBefore)
    {
        pkBefore = pkLast;
        const float fPrevious = pkLast->GetTime() - fSpanY;
        fFraction = (fKeyTime - fPrevious) / (pkAfter->GetTime() - fPrevious);
    }
    else
    {
        pkAfter = pkFirst;
        fFraction = (fKeyTime - pkBefore->GetTime()) / (fSpanY + pkFirst->GetTime() - pkBefore->GetTime());
    }
    if (!std::isfinite(fFraction))
        fFraction = 0.0f;

    const TextKey* pkM = pkX->m_spTextKeys ? pkX->m_spTextKeys->FindKey(pkBefore->GetText()) : nullptr;
    const TextKey* pkN = pkX->m_spTextKeys ? pkX->m_spTextKeys->FindKey(pkAfter->GetText()) : nullptr;
    // The other sequence lacks a key of the same text: it starts over.
    if (!pkM || !pkN)
        return 0.0f;
    const float fO = pkM->GetTime();
    float fP = pkN->GetTime();
    if (fO > fP)
    {
        const NiKeyframeController* pkXReference = pkX->GetReferenceController();
        if (pkXReference)
            fP += pkXReference->GetHiKeyTime() - pkXReference->GetLoKeyTime();
    }
    return fO + fFraction * (fP - fO);
}

void NiKeyframeManager::UpdatePair(Sequence* pkSource, float fTime, bool bMorph)
{
    Sequence* pkDestination = pkSource->m_pkPartner;
    if (!pkDestination)
        return;
    const float fStart = pkSource->m_fTransitionTime;
    const float fEnd = pkDestination->m_fTransitionTime;
    if (fTime < fStart)
    {
        pkSource->UpdateControllers(fTime + pkSource->m_fTimeOffset);
        return;
    }
    if (fTime > fEnd)
    {
        pkDestination->UpdateControllers(fTime + pkDestination->m_fTimeOffset);
        return;
    }
    // A transition of no length has gone over by now.
    const float fFraction = fEnd > fStart ? (fTime - fStart) / (fEnd - fStart) : 1.0f;
    if (bMorph)
    {
        const float fDestinationTime = fTime + pkDestination->m_fTimeOffset;
        pkSource->UpdateControllers(SyncMorphTime(pkSource, pkDestination, fDestinationTime));
        pkDestination->BlendControllers(fDestinationTime, fFraction);
    }
    else
    {
        pkSource->UpdateControllers(fStart + pkSource->m_fTimeOffset);
        pkDestination->BlendControllers(fEnd + pkDestination->m_fTimeOffset, fFraction);
    }
}

void NiKeyframeManager::Update(float fTime)
{
    for (const auto& kEntry : m_kSequences)
    {
        Sequence* pkSequence = kEntry.m_val;
        switch (pkSequence->m_eState)
        {
        case Sequence::ANIMATING:
            pkSequence->UpdateControllers(fTime + pkSequence->m_fTimeOffset);
            break;
        case Sequence::BLEND_SOURCE:
            UpdatePair(pkSequence, fTime, false);
            break;
        case Sequence::MORPH_SOURCE:
            UpdatePair(pkSequence, fTime, true);
            break;
        default:
            break;
        }
    }
}

bool NiKeyframeManager::IsTargetValid() const
{
    return NiDynamicCast<NiAVObject>(m_pTarget) != nullptr;
}

//--- Cloning and streaming ------------------------------------------------------------------

NiObject* NiKeyframeManager::MakeClone()
{
    NiKeyframeManager* pkClone = new NiKeyframeManager;
    NiTimeController::CopyToClone(pkClone);
    return pkClone;
}

void NiKeyframeManager::LoadBinary(NiStream& kStream)
{
    NiTimeController::LoadBinary(kStream);
    LinkRecord& kRecord = kStream.GetLinkRecord<LinkRecord>();
    uint32_t uiCount = 0;
    // Each sequence takes at least its name's length and its flag.
    if (!kStream.LoadCount(uiCount, 5, sizeof(LinkRecord::EmbeddedSequence)))
        return;
    for (uint32_t i = 0; i < uiCount && !kStream.IsLoadFailed(); ++i)
    {
        const std::string kName = kStream.LoadCStringAlways();
        uint8_t ucReferenced = 0;
        kStream.Load(ucReferenced);
        if (ucReferenced)
        {
            const std::string kFile = kStream.LoadCStringAlways();
            uint32_t uiIndex = 0;
            kStream.Load(uiIndex);
            // A file that cannot be read adds nothing; the load goes on.
            if (!kStream.IsLoadFailed())
                AddSequence(kFile.c_str(), kName.c_str(), static_cast<int32_t>(uiIndex));
            continue;
        }
        LinkRecord::EmbeddedSequence kEmbedded;
        kEmbedded.m_kName = kName;
        kStream.Load(kEmbedded.m_uiReferenceIndex);
        kStream.Load(kEmbedded.m_uiTextKeysID);
        uint32_t uiControllers = 0;
        if (!kStream.LoadCount(uiControllers, 8, sizeof(kEmbedded.m_kControllers[0])))
            return;
        for (uint32_t c = 0; c < uiControllers && !kStream.IsLoadFailed(); ++c)
        {
            std::string kTarget = kStream.LoadCStringAlways();
            uint32_t uiID = 0;
            kStream.Load(uiID);
            kEmbedded.m_kControllers.emplace_back(std::move(kTarget), uiID);
        }
        kRecord.m_kSequences.push_back(std::move(kEmbedded));
    }
}

void NiKeyframeManager::ResolveLinks(NiStream& kStream)
{
    NiTimeController::ResolveLinks(kStream);
    const LinkRecord& kRecord = kStream.GetLinkRecord<LinkRecord>();
    for (const LinkRecord::EmbeddedSequence& kEmbedded : kRecord.m_kSequences)
    {
        // A second sequence of a name is not made at all: letting go of its references while
        // links are still being resolved would destroy objects the stream still names.
        if (GetSequence(kEmbedded.m_kName.c_str()))
            continue;
        Sequence* pkSequence = new Sequence(kEmbedded.m_kName.c_str());
        pkSequence->m_uiReferenceIndex = kEmbedded.m_uiReferenceIndex;
        pkSequence->m_spTextKeys = kStream.LookupLinkedObjectAs<NiTextKeyExtraData>(kEmbedded.m_uiTextKeysID);
        for (const auto& [kTarget, uiID] : kEmbedded.m_kControllers)
            pkSequence->AddController(kTarget.c_str(),
                                      kStream.LookupLinkedObjectAs<NiKeyframeController>(uiID));
        AddSequence(pkSequence);
    }
}

void NiKeyframeManager::PostLink()
{
    NiTimeController::PostLink();
    // A sequence controller whose chain runs on into this manager would hold the manager that
    // holds it, and neither would ever be freed: a damaged file naming one loses it.
    for (const auto& kEntry : m_kSequences)
    {
        for (NiRefPtr<NiKeyframeController>& spController : kEntry.m_val->m_kControllers)
        {
            if (ChainHolds(spController, this))
                spController = nullptr;
        }
    }
}

bool NiKeyframeManager::RegisterForSave(NiStream& kStream)
{
    if (!NiTimeController::RegisterForSave(kStream))
        return false;
    // Sequences saved in embedded form need their text keys and controllers in the file.
    for (const auto& kEntry : m_kSequences)
    {
        const Sequence* pkSequence = kEntry.m_val;
        if (pkSequence->GetFileName())
            continue;
        if (pkSequence->m_spTextKeys)
            pkSequence->m_spTextKeys->RegisterForSave(kStream);
        for (const NiRefPtr<NiKeyframeController>& spController : pkSequence->m_kControllers)
        {
            if (spController)
                spController->RegisterForSave(kStream);
        }
    }
    return true;
}

void NiKeyframeManager::SaveBinary(NiStream& kStream)
{
    NiTimeController::SaveBinary(kStream);
    kStream.Save(m_kSequences.GetCount());
    for (const auto& kEntry : m_kSequences)
    {
        const Sequence* pkSequence = kEntry.m_val;
        kStream.SaveCString(pkSequence->GetName());
        if (pkSequence->GetFileName())
        {
            kStream.Save(static_cast<uint8_t>(1));
            kStream.SaveCString(pkSequence->GetFileName());
            kStream.Save(static_cast<uint32_t>(pkSequence->m_iObjectIndex));
            continue;
        }
        kStream.Save(static_cast<uint8_t>(0));
        kStream.Save(pkSequence->m_uiReferenceIndex);
        kStream.SaveLinkID(pkSequence->m_spTextKeys);
        kStream.Save(pkSequence->GetControllerCount());
        for (uint32_t i = 0; i < pkSequence->GetControllerCount(); ++i)
        {
            kStream.SaveCString(pkSequence->GetTargetName(i));
            kStream.SaveLinkID(pkSequence->m_kControllers[i]);
        }
    }
}

bool NiKeyframeManager::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiTimeController::IsEquivalent(pkObject))
        return false;
    const NiKeyframeManager* pkOther = static_cast<const NiKeyframeManager*>(pkObject);
    if (m_kSequences.GetCount() != pkOther->m_kSequences.GetCount())
        return false;
    auto kOther = pkOther->m_kSequences.begin();
    for (const auto& kEntry : m_kSequences)
    {
        if (kOther == pkOther->m_kSequences.end())
            return false;
        const Sequence* pkA = kEntry.m_val;
        const Sequence* pkB = kOther->m_val;
        ++kOther;
        if (pkA->m_kName != pkB->m_kName)
            return false;
        if (pkA->GetFileName() && pkB->GetFileName())
        {
            if (std::strcmp(pkA->GetFileName(), pkB->GetFileName()) != 0 ||
                pkA->m_iObjectIndex != pkB->m_iObjectIndex)
                return false;
            continue;
        }
        if (!pkA->m_spTextKeys || !pkB->m_spTextKeys)
        {
            if (pkA->m_spTextKeys || pkB->m_spTextKeys)
                return false;
        }
        else if (!pkA->m_spTextKeys->IsEquivalent(pkB->m_spTextKeys))
        {
            return false;
        }
        if (pkA->m_kControllers.size() != pkB->m_kControllers.size())
            return false;
        for (size_t i = 0; i < pkA->m_kControllers.size(); ++i)
        {
            const NiKeyframeController* pkCA = pkA->m_kControllers[i];
            const NiKeyframeController* pkCB = pkB->m_kControllers[i];
            if (pkA->m_kTargetNames[i] != pkB->m_kTargetNames[i] || !pkCA != !pkCB ||
                (pkCA && !pkCA->IsEquivalent(pkCB)))
                return false;
        }
    }
    return true;
}
