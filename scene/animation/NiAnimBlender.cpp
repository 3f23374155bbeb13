#include "scene/animation/NiAnimBlender.h"

#include "scene/animation/NiKeyframeData.h"
#include "scene/animation/NiTextKeyExtraData.h"
#include "scene/graph/NiAVObject.h"
#include "scene/graph/NiNode.h"
#include "scene/object/NiCloneExtraData.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <type_traits>

NiImplementRTTI(NiAnimBlender, NiTimeController);
NiImplementCreateObject(NiAnimBlender);

namespace
{
// The pre-order walk over nodes and their node children, used both to count and to pair trees.
template <class F> void ForEachNode(NiNode* pkNode, F&& kVisit)
{
    kVisit(pkNode);
    for (uint32_t c = 0; c < pkNode->GetArrayCount(); ++c)
    {
        if (NiNode* pkChild = NiDynamicCast<NiNode>(pkNode->GetAt(c)))
            ForEachNode(pkChild, kVisit);
    }
}

std::vector<NiNode*> PreOrder(NiNode* pkRoot)
{
    std::vector<NiNode*> kNodes;
    if (pkRoot)
        ForEachNode(pkRoot, [&](NiNode* pkNode) { kNodes.push_back(pkNode); });
    return kNodes;
}

template <class TFamily> std::shared_ptr<NiKeyArray<TFamily>> OneKey(typename TFamily::Key* pkKey)
{
    auto spArray = std::make_shared<NiKeyArray<TFamily>>();
    spArray->Replace(
        new typename TFamily::Key* [1] { pkKey }, 1, KEY_LINEAR);
    return spArray;
}

template <class TArray> void Widen(const TArray& kArray, float& fLo, float& fHi)
{
    if (kArray.GetNumKeys() == 0)
        return;
    fLo = std::min(fLo, kArray.GetFirstKey()->m_fTime);
    fHi = std::max(fHi, kArray.GetLastKey()->m_fTime);
}

// The keys of an array whose count was read before: the type, then the records, then the
// derived values. Null (the load failed) for a type the family cannot read.
template <class TFamily>
std::shared_ptr<NiKeyArray<TFamily>> LoadKeys(NiStream& kStream, uint32_t uiCount, const NiKeyArray<TFamily>*)
{
    auto spArray = std::make_shared<NiKeyArray<TFamily>>();
    if (uiCount == 0)
        return spArray;
    uint32_t uiType = 0;
    kStream.Load(uiType);
    const typename TFamily::Ops* pkOps = TFamily::GetOps(uiType);
    if (!pkOps || !pkOps->m_pfnLoadKey ||
        !kStream.RequireBytes(uint64_t(uiCount) * TFamily::RecordBytes(*pkOps)))
    {
        kStream.MarkLoadFailed();
        return nullptr;
    }
    using Key = typename TFamily::Key;
    Key** ppKeys = new Key*[uiCount];
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        ppKeys[i] = TFamily::LoadKey(*pkOps, kStream);
        if (!ppKeys[i] || kStream.IsLoadFailed())
        {
            NiKeyArray<TFamily>::FreeKeys(ppKeys, ppKeys[i] ? i + 1 : i, static_cast<KeyType>(uiType));
            kStream.MarkLoadFailed();
            return nullptr;
        }
    }
    TFamily::FillDerived(*pkOps, ppKeys, uiCount);
    spArray->Replace(ppKeys, uiCount, static_cast<KeyType>(uiType));
    return spArray;
}

template <class TFamily> void SaveKeys(NiStream& kStream, const NiKeyArray<TFamily>& kArray)
{
    const typename TFamily::Ops* pkOps = TFamily::GetOps(kArray.GetType());
    if (!pkOps || kArray.GetNumKeys() == 0)
        return;
    kStream.Save(static_cast<uint32_t>(kArray.GetType()));
    for (uint32_t i = 0; i < kArray.GetNumKeys(); ++i)
        TFamily::SaveKey(*pkOps, kStream, kArray.GetKeys()[i]);
}

// The stored count of an array its family cannot write saves as 0.
template <class TFamily> uint32_t SavedCount(const NiKeyArray<TFamily>& kArray)
{
    return TFamily::GetOps(kArray.GetType()) ? kArray.GetNumKeys() : 0;
}
} // namespace

NiAnimBlender::NiAnimBlender()
    : m_fBlendKeyOffset(FLT_MAX), m_fBlendStart(FLT_MAX), m_fBlendDuration(-FLT_MAX), m_fMorphOffset(FLT_MAX),
      m_fMorphStart(FLT_MAX), m_fMorphDuration(-FLT_MAX)
{
    m_fLoKeyTime = 0.0f;
}

NiAnimBlender::~NiAnimBlender()
{
    // Keyframe data must not free arrays that belong to the sequences.
    for (const NiRefPtr<NiKeyframeData>& spData : m_kTouchedData)
    {
        for (const Sequence& kSequence : m_kSequences)
        {
            for (const PositionArray& spArray : kSequence.m_kPositions)
            {
                if (spArray->GetKeys() && spData->GetPosKeys() == spArray->GetKeys())
                    spData->ReplacePosKeys(nullptr, 0, KEY_LINEAR);
            }
            for (const RotationArray& spArray : kSequence.m_kRotations)
            {
                if (spArray->GetKeys() && spData->GetRotKeys() == spArray->GetKeys())
                    spData->ReplaceRotKeys(nullptr, 0, KEY_LINEAR);
            }
        }
    }
}

uint32_t NiAnimBlender::NodesIn(const Sequence& kSequence) const
{
    return static_cast<uint32_t>(
        std::min({m_kControllers.size(), kSequence.m_kPositions.size(), kSequence.m_kRotations.size()}));
}

NiAVObject* NiAnimBlender::GetNode(uint32_t i) const
{
    NiKeyframeController* pkController = Controller(i);
    return pkController ? NiDynamicCast<NiAVObject>(pkController->GetTarget()) : nullptr;
}

void NiAnimBlender::NoteData(uint32_t i)
{
    NiKeyframeData* pkData = Controller(i) ? Controller(i)->GetData() : nullptr;
    if (pkData && std::find(m_kTouchedData.begin(), m_kTouchedData.end(), pkData) == m_kTouchedData.end())
        m_kTouchedData.emplace_back(pkData);
}

//--- Set-up ---------------------------------------------------------------------------------

void NiAnimBlender::CollectNodes(NiNode* pkNode)
{
    NiKeyframeController* pkController = NiKeyframeController::FindController(pkNode);
    if (!pkController)
    {
        pkController = new NiKeyframeController;
        pkController->SetTarget(pkNode);
    }
    m_kControllers.push_back(pkController);
}

void NiAnimBlender::Init(NiNode* pkRoot)
{
    m_pkRoot = pkRoot;
    m_kControllers.clear();
    for (NiNode* pkNode : PreOrder(pkRoot))
        CollectNodes(pkNode);
    const size_t uiCount = m_kControllers.size();
    m_kFromPositions.assign(uiCount, NiPoint3(0.0f, 0.0f, 0.0f));
    m_kToPositions.assign(uiCount, NiPoint3(0.0f, 0.0f, 0.0f));
    m_kFromRotations.assign(uiCount, NiQuaternion(0.0f, 0.0f, 0.0f, 0.0f));
    m_kToRotations.assign(uiCount, NiQuaternion(0.0f, 0.0f, 0.0f, 0.0f));
}

int32_t NiAnimBlender::AddSequence(NiNode* pkSequenceRoot, int32_t iCycleType, bool bCopy)
{
    if (!m_pkRoot || !pkSequenceRoot || !NiNode::SameStructure(m_pkRoot, pkSequenceRoot))
        return -1;
    Sequence kSequence;
    kSequence.m_iCycleType = iCycleType;
    for (NiExtraData* pkExtra = pkSequenceRoot->GetExtraData(); pkExtra; pkExtra = pkExtra->GetNext())
    {
        const NiTextKeyExtraData* pkKeys = NiDynamicCast<NiTextKeyExtraData>(pkExtra);
        if (pkKeys && pkKeys->GetNumKeys())
        {
            kSequence.m_kTextKeys.assign(pkKeys->GetKeys(), pkKeys->GetKeys() + pkKeys->GetNumKeys());
            break;
        }
    }

    float fLo = FLT_MAX;
    float fHi = -FLT_MAX;
    for (NiNode* pkNode : PreOrder(pkSequenceRoot))
    {
        NiKeyframeController* pkController = NiKeyframeController::FindController(pkNode);
        NiKeyframeData* pkData = pkController ? pkController->GetData() : nullptr;

        PositionArray spPositions;
        if (pkData && pkData->GetNumPosKeys())
        {
            spPositions = std::make_shared<NiPositionKeyArray>();
            if (bCopy)
            {
                spPositions->CopyFrom(pkData->GetPosKeyArray());
            }
            else
            {
                // The blender takes the arrays: the data lets them go without freeing them.
                spPositions->Replace(pkData->GetPosKeys(), pkData->GetNumPosKeys(), pkData->GetPosType());
                pkData->ReplacePosKeys(nullptr, 0, KEY_LINEAR);
            }
            Widen(*spPositions, fLo, fHi);
        }
        else
        {
            spPositions = OneKey<PositionKeyFamily>(new PositionKey{0.0f, pkNode->GetTranslate()});
            fLo = std::min(fLo, 0.0f);
            fHi = std::max(fHi, 0.0f);
        }

        RotationArray spRotations;
        if (pkData && pkData->GetNumRotKeys())
        {
            spRotations = std::make_shared<NiRotationKeyArray>();
            if (pkData->GetRotType() == KEY_EULER)
            {
                // One Euler key holds the whole animation: a copy of it alone.
                const RotationKeyOps* pkOps = GetRotationKeyOps(KEY_EULER);
                RotationKey* pkCopy =
                    pkOps && pkOps->m_pfnCopyKey ? pkOps->m_pfnCopyKey(pkData->GetRotKeys()[0]) : nullptr;
                if (pkCopy)
                {
                    spRotations->Replace(
                        new RotationKey* [1] { pkCopy }, 1, KEY_EULER);
                    static_cast<const EulerRotationKey*>(pkCopy)->WidenKeyTimeRange(fLo, fHi);
                }
            }
            else if (bCopy)
            {
                spRotations->CopyFrom(pkData->GetRotKeyArray());
                Widen(*spRotations, fLo, fHi);
            }
            else
            {
                spRotations->Replace(pkData->GetRotKeys(), pkData->GetNumRotKeys(), pkData->GetRotType());
                pkData->ReplaceRotKeys(nullptr, 0, KEY_LINEAR);
                Widen(*spRotations, fLo, fHi);
            }
        }
        if (!spRotations || spRotations->GetNumKeys() == 0)
        {
            RotationKey* pkKey = new RotationKey;
            pkKey->m_fTime = 0.0f;
            pkKey->m_quat.FromRotation(pkNode->GetRotate());
            spRotations = OneKey<RotationKeyFamily>(pkKey);
            fLo = std::min(fLo, 0.0f);
            fHi = std::max(fHi, 0.0f);
        }
        kSequence.m_kPositions.push_back(std::move(spPositions));
        kSequence.m_kRotations.push_back(std::move(spRotations));
    }
    kSequence.m_fDuration = fHi - fLo;
    m_kSequences.push_back(std::move(kSequence));
    return static_cast<int32_t>(m_kSequences.size() - 1);
}

//--- Playing --------------------------------------------------------------------------------

void NiAnimBlender::EmptyController(uint32_t i)
{
    NiKeyframeController* pkController = Controller(i);
    if (!pkController)
        return;
    pkController->SetPositionKeys(nullptr, 0, KEY_LINEAR, true);
    pkController->SetRotationKeys(nullptr, 0, KEY_LINEAR, true);
    pkController->SetCycleType(CLAMP);
}

uint32_t NiAnimBlender::ClearControllers()
{
    for (uint32_t i = 0; i < m_kControllers.size(); ++i)
        EmptyController(i);
    return GetNodeCount();
}

void NiAnimBlender::ApplyActiveSequence()
{
    const bool bActive = m_iActive >= 0 && m_iActive < GetSequenceCount();
    const uint32_t uiNodes = bActive ? NodesIn(m_kSequences[m_iActive]) : 0;
    for (uint32_t i = 0; i < m_kControllers.size(); ++i)
    {
        // Installing over installed arrays would free them: the controller is emptied first.
        EmptyController(i);
        NiKeyframeController* pkController = Controller(i);
        if (i >= uiNodes || !pkController)
            continue;
        const Sequence& kSequence = m_kSequences[m_iActive];
        const NiPositionKeyArray& kPositions = *kSequence.m_kPositions[i];
        const NiRotationKeyArray& kRotations = *kSequence.m_kRotations[i];
        pkController->SetPositionKeys(kPositions.GetKeys(), kPositions.GetNumKeys(), kPositions.GetType(),
                                      true);
        pkController->SetRotationKeys(kRotations.GetKeys(), kRotations.GetNumKeys(), kRotations.GetType(),
                                      true);
        pkController->SetCycleType(static_cast<CycleType>(kSequence.m_iCycleType & 3));
        NoteData(i);
    }
}

void NiAnimBlender::SamplePose(float fTime, int32_t iSequence, std::vector<NiPoint3>& kPositions,
                               std::vector<NiQuaternion>& kRotations)
{
    const Sequence& kSequence = m_kSequences[iSequence];
    m_fHiKeyTime = kSequence.m_fDuration;
    m_fStartTime = 0.0f;
    SetCycleType(static_cast<CycleType>(kSequence.m_iCycleType & 3));
    const float fKeyTime = ToControllerTime(fTime);
    for (uint32_t i = 0; i < NodesIn(kSequence); ++i)
    {
        uint32_t uiPosIndex = 0;
        uint32_t uiRotIndex = 0;
        const NiPositionKeyArray& kPosKeys = *kSequence.m_kPositions[i];
        const NiRotationKeyArray& kRotKeys = *kSequence.m_kRotations[i];
        InterpolatePositionKeys(kPositions[i], fKeyTime, kPosKeys.GetKeys(), kPosKeys.GetType(),
                                kPosKeys.GetNumKeys(), uiPosIndex);
        InterpolateRotationKeys(kRotations[i], fKeyTime, kRotKeys.GetKeys(), kRotKeys.GetType(),
                                kRotKeys.GetNumKeys(), uiRotIndex);
    }
}

void NiAnimBlender::CaptureCurrentPose()
{
    for (uint32_t i = 0; i < m_kControllers.size(); ++i)
    {
        NiAVObject* pkNode = GetNode(i);
        if (!pkNode)
            continue;
        m_kFromPositions[i] = pkNode->GetTranslate();
        m_kFromRotations[i].FromRotation(pkNode->GetRotate());
        if (NiQuaternion::Dot(m_kFromRotations[i], m_kToRotations[i]) < 0.0f)
            m_kFromRotations[i] = -m_kFromRotations[i];
        m_kFromRotations[i].w = std::clamp(m_kFromRotations[i].w, -1.0f, 1.0f);
    }
}

void NiAnimBlender::WritePose(float fWeight, uint32_t uiNodes)
{
    for (uint32_t i = 0; i < uiNodes; ++i)
    {
        NiAVObject* pkNode = GetNode(i);
        if (!pkNode)
            continue;
        pkNode->SetTranslate(m_kFromPositions[i] * (1.0f - fWeight) + m_kToPositions[i] * fWeight);
        NiRotationMatrix kRotate;
        NiQuaternion::Slerp(fWeight, m_kFromRotations[i], m_kToRotations[i]).ToRotation(kRotate);
        pkNode->SetRotate(kRotate);
    }
}

void NiAnimBlender::SetDestinationPose(const char* pcTextKey, float& fKeyTime)
{
    const Sequence& kDestination = m_kSequences[m_iBlendDestination];
    fKeyTime = 0.0f;
    if (pcTextKey)
    {
        for (const TextKey& kKey : kDestination.m_kTextKeys)
        {
            if (kKey.TextEquals(pcTextKey))
            {
                fKeyTime = kKey.GetTime();
                break;
            }
        }
        SamplePose(fKeyTime, m_iBlendDestination, m_kToPositions, m_kToRotations);
        m_fBlendKeyOffset = fKeyTime;
        return;
    }
    // An empty array (possible only in a file) gives the rest pose.
    for (uint32_t i = 0; i < NodesIn(kDestination); ++i)
    {
        const PositionKey* pkPosition = kDestination.m_kPositions[i]->GetFirstKey();
        const RotationKey* pkRotation = kDestination.m_kRotations[i]->GetFirstKey();
        m_kToPositions[i] = pkPosition ? pkPosition->m_Pos : NiPoint3(0.0f, 0.0f, 0.0f);
        m_kToRotations[i] = pkRotation ? pkRotation->m_quat : NiQuaternion(1.0f, 0.0f, 0.0f, 0.0f);
    }
    m_fBlendKeyOffset = 0.0f;
}

float NiAnimBlender::BlendToSequence(int32_t iDestination, const char* pcTextKey, float fStart,
                                     float fDuration)
{
    if (iDestination < 0 || iDestination >= GetSequenceCount())
        return 0.0f;
    m_iBlendDestination = iDestination;
    m_fBlendStart = fStart;
    m_fBlendDuration = fDuration;
    float fKeyTime = 0.0f;
    SetDestinationPose(pcTextKey, fKeyTime);
    m_bBlending = true;
    return fKeyTime;
}

void NiAnimBlender::FinishTransition(int32_t iDestination, float fStartTime)
{
    if (iDestination >= 0)
    {
        m_bBlending = false;
        m_bMorphing = false;
    }
    if (iDestination != m_iActive)
    {
        m_iActive = iDestination;
        ApplyActiveSequence();
    }
    StartAnimations(Root(), fStartTime);
}

void NiAnimBlender::UpdateBlend(float fTime)
{
    const float fElapsed = fTime - m_fBlendStart;
    if (fElapsed < -0.0001f)
        return;
    // A transition of no length is over at once.
    const float fWeight = m_fBlendDuration > 0.0f ? std::max(fElapsed, 0.0f) / m_fBlendDuration : 1.0f;
    if (m_iActive >= 0)
    {
        StopAnimations(Root());
        m_iActive = -1;
        ApplyActiveSequence();
        CaptureCurrentPose();
    }
    if (fWeight >= 1.0f)
    {
        FinishTransition(m_iBlendDestination, m_fBlendStart + m_fBlendDuration - m_fBlendKeyOffset);
        m_bBlending = false;
        return;
    }
    WritePose(fWeight, NodesIn(m_kSequences[m_iBlendDestination]));
}

void NiAnimBlender::FindMorphKeys(float fKeyTime, int32_t& iNext, int32_t& iPrevious,
                                  const std::vector<TextKey>& kKeys, int32_t iCycleType)
{
    const int32_t iCount = static_cast<int32_t>(kKeys.size());
    iNext = -1;
    for (int32_t i = 0; i < iCount && iNext < 0; ++i)
    {
        if (kKeys[i].TextStartsWith("morph:") && kKeys[i].GetTime() > fKeyTime)
            iNext = i;
    }
    for (int32_t i = 0; i < iCount && iNext < 0 && iCycleType != CLAMP; ++i)
    {
        if (kKeys[i].TextStartsWith("morph:"))
            iNext = i;
    }
    if (iNext < 0)
        iNext = iCount;
    iPrevious = -1;
    for (int32_t i = iNext - 1; i >= 0 && iPrevious < 0; --i)
    {
        if (kKeys[i].TextStartsWith("morph:"))
            iPrevious = i;
    }
    for (int32_t i = iCount - 1; i >= 0 && iPrevious < 0 && iCycleType != CLAMP; --i)
    {
        if (kKeys[i].TextStartsWith("morph:"))
            iPrevious = i;
    }
}

void NiAnimBlender::FindTextKeyPair(const char* pcFirst, const char* pcSecond, int32_t& iSecond,
                                    int32_t& iFirst, const std::vector<TextKey>& kKeys, int32_t iCycleType)
{
    const int32_t iCount = static_cast<int32_t>(kKeys.size());
    iSecond = -1;
    iFirst = -1;
    for (int32_t i = 0; i < iCount && iFirst < 0; ++i)
    {
        if (kKeys[i].TextEquals(pcFirst))
            iFirst = i;
    }
    if (iFirst < 0)
        return;
    for (int32_t i = iFirst; i < iCount && iSecond < 0; ++i)
    {
        if (kKeys[i].TextEquals(pcSecond))
            iSecond = i;
    }
    for (int32_t i = 0; i < iFirst && iSecond < 0 && iCycleType != CLAMP; ++i)
    {
        if (kKeys[i].TextEquals(pcSecond))
            iSecond = i;
    }
}

namespace
{
// The times of a morph key pair found in one sequence and its name pair in the other; false
// when either sequence lacks the keys a morph needs.
bool PairTimes(const std::vector<TextKey>& kKeys, int32_t iNext, int32_t iPrevious, float& fNext,
               float& fPrevious)
{
    const int32_t iCount = static_cast<int32_t>(kKeys.size());
    if (iNext < 0 || iNext >= iCount || iPrevious < 0 || iPrevious >= iCount)
        return false;
    fNext = kKeys[iNext].GetTime();
    fPrevious = kKeys[iPrevious].GetTime();
    return true;
}

float Wrap(float fValue, float fSpan)
{
    return fSpan != 0.0f ? std::fmod(fValue, fSpan) : 0.0f;
}
} // namespace

void NiAnimBlender::MorphToSequence(int32_t iDestination, float fTime, float fDuration)
{
    if (m_bBlending || m_bMorphing || m_iActive < 0 || iDestination < 0 ||
        iDestination >= GetSequenceCount() || m_kControllers.empty() || !Controller(0))
        return;
    const Sequence& kSource = m_kSequences[m_iActive];
    const Sequence& kDestination = m_kSequences[iDestination];
    m_iMorphSource = m_iActive;
    m_iMorphDestination = iDestination;

    float fX = Wrap(fTime - Controller(0)->GetStartTime(), kSource.m_fDuration);
    int32_t iNext = 0;
    int32_t iPrevious = 0;
    FindMorphKeys(fX, iNext, iPrevious, kSource.m_kTextKeys, kSource.m_iCycleType);
    float fTn = 0.0f;
    float fTp = 0.0f;
    float fM = 0.0f;
    // Without morph keys to match, the destination starts from its beginning.
    if (PairTimes(kSource.m_kTextKeys, iNext, iPrevious, fTn, fTp))
    {
        if (fTn < fTp)
            fTn += kSource.m_fDuration;
        if (fX < fTp)
            fX += kSource.m_fDuration;
        int32_t iNextD = 0;
        int32_t iPreviousD = 0;
        FindTextKeyPair(kSource.m_kTextKeys[iPrevious].GetText(), kSource.m_kTextKeys[iNext].GetText(),
                        iNextD, iPreviousD, kDestination.m_kTextKeys, kDestination.m_iCycleType);
        float fUn = 0.0f;
        float fUp = 0.0f;
        if (PairTimes(kDestination.m_kTextKeys, iNextD, iPreviousD, fUn, fUp))
        {
            if (fUn < fUp)
                fUn += kDestination.m_fDuration;
            const float fFraction = fTn != fTp ? (fX - fTp) / (fTn - fTp) : 0.0f;
            fM = fUp + (fUn - fUp) * fFraction;
            if (fM > kDestination.m_fDuration)
                fM -= kDestination.m_fDuration;
        }
    }
    m_fMorphStart = fTime;
    m_fMorphDuration = fDuration;
    m_fMorphOffset = fTime - fM;
    if (fDuration != 0.0f)
    {
        m_bMorphing = true;
        return;
    }
    StopAnimations(Root());
    if (iDestination != m_iActive)
    {
        m_iActive = -1;
        ApplyActiveSequence();
    }
    FinishTransition(iDestination, fTime - fM);
}

void NiAnimBlender::UpdateMorph(float fTime)
{
    const float fElapsed = fTime - m_fMorphStart;
    if (fElapsed < -0.0001f)
        return;
    const float fWeight = m_fMorphDuration > 0.0f ? std::max(fElapsed, 0.0f) / m_fMorphDuration : 1.0f;
    if (m_iActive >= 0)
    {
        StopAnimations(Root());
        m_iActive = -1;
        ApplyActiveSequence();
    }
    const Sequence& kDestination = m_kSequences[m_iMorphDestination];
    const Sequence& kSource = m_kSequences[m_iMorphSource];
    float fU = Wrap(fTime - m_fMorphOffset, kDestination.m_fDuration);
    if (fWeight >= 1.0f)
    {
        FinishTransition(m_iMorphDestination, fTime - fU);
        m_bMorphing = false;
        return;
    }

    int32_t iNext = 0;
    int32_t iPrevious = 0;
    FindMorphKeys(fU, iNext, iPrevious, kDestination.m_kTextKeys, kDestination.m_iCycleType);
    float fSourceTime = fU;
    float fTn = 0.0f;
    float fTp = 0.0f;
    if (PairTimes(kDestination.m_kTextKeys, iNext, iPrevious, fTn, fTp))
    {
        if (fTn < fTp)
            fTn += kDestination.m_fDuration;
        if (fU < fTp)
            fU += kDestination.m_fDuration;
        const float fFraction = fTn != fTp ? (fU - fTp) / (fTn - fTp) : 0.0f;
        int32_t iNextS = 0;
        int32_t iPreviousS = 0;
        FindTextKeyPair(kDestination.m_kTextKeys[iPrevious].GetText(),
                        kDestination.m_kTextKeys[iNext].GetText(), iNextS, iPreviousS, kSource.m_kTextKeys,
                        kSource.m_iCycleType);
        float fSn = 0.0f;
        float fSp = 0.0f;
        if (PairTimes(kSource.m_kTextKeys, iNextS, iPreviousS, fSn, fSp))
        {
            if (fSn < fSp)
                fSn += kSource.m_fDuration;
            fSourceTime = fSp + (fSn - fSp) * fFraction;
        }
    }
    SamplePose(fU, m_iMorphDestination, m_kToPositions, m_kToRotations);
    SamplePose(fSourceTime, m_iMorphSource, m_kFromPositions, m_kFromRotations);
    const uint32_t uiNodes = std::min(NodesIn(kDestination), NodesIn(kSource));
    for (uint32_t i = 0; i < uiNodes; ++i)
    {
        if (NiQuaternion::Dot(m_kFromRotations[i], m_kToRotations[i]) < 0.0f)
            m_kFromRotations[i] = -m_kFromRotations[i];
        m_kFromRotations[i].w = std::clamp(m_kFromRotations[i].w, -1.0f, 1.0f);
    }
    WritePose(fWeight, uiNodes);
}

void NiAnimBlender::Update(float fTime)
{
    if (m_bBlending)
        UpdateBlend(fTime);
    else if (m_bMorphing)
        UpdateMorph(fTime);
}

uint32_t NiAnimBlender::PoseAtTime(int32_t iSequence, float fKeyTime)
{
    if (iSequence < 0 || iSequence >= GetSequenceCount())
        return 0;
    const Sequence& kSequence = m_kSequences[iSequence];
    for (uint32_t i = 0; i < NodesIn(kSequence); ++i)
    {
        NiKeyframeController* pkController = Controller(i);
        if (!pkController)
            continue;
        EmptyController(i);
        const NiPositionKeyArray& kPositions = *kSequence.m_kPositions[i];
        const NiRotationKeyArray& kRotations = *kSequence.m_kRotations[i];
        pkController->SetPositionKeys(kPositions.GetKeys(), kPositions.GetNumKeys(), kPositions.GetType(),
                                      true);
        pkController->SetRotationKeys(kRotations.GetKeys(), kRotations.GetNumKeys(), kRotations.GetType(),
                                      true);
        NoteData(i);
        pkController->Start(0.0f);
        pkController->Update(fKeyTime);
        pkController->Stop();
        EmptyController(i);
    }
    return GetNodeCount();
}

bool NiAnimBlender::SequencesJoin(int32_t iFirst, int32_t iSecond) const
{
    if (iFirst < 0 || iSecond < 0 || iFirst >= GetSequenceCount() || iSecond >= GetSequenceCount())
        return false;
    auto Close = [](float fA, float fB) { return std::fabs(fA - fB) < 0.0001f; };
    const Sequence& kA = m_kSequences[iFirst];
    const Sequence& kB = m_kSequences[iSecond];
    for (uint32_t i = 0; i < std::min(NodesIn(kA), NodesIn(kB)); ++i)
    {
        // An empty array (possible only in a file) has no pose to compare.
        if (!kA.m_kPositions[i]->GetNumKeys() || !kB.m_kPositions[i]->GetNumKeys() ||
            !kA.m_kRotations[i]->GetNumKeys() || !kB.m_kRotations[i]->GetNumKeys())
            return false;
        const NiPoint3& kP0 = kA.m_kPositions[i]->GetLastKey()->m_Pos;
        const NiPoint3& kP1 = kB.m_kPositions[i]->GetFirstKey()->m_Pos;
        const NiQuaternion& kQ0 = kA.m_kRotations[i]->GetLastKey()->m_quat;
        const NiQuaternion& kQ1 = kB.m_kRotations[i]->GetFirstKey()->m_quat;
        if (!Close(kP0.x, kP1.x) || !Close(kP0.y, kP1.y) || !Close(kP0.z, kP1.z) || !Close(kQ0.x, kQ1.x) ||
            !Close(kQ0.y, kQ1.y) || !Close(kQ0.z, kQ1.z) || !Close(kQ0.w, kQ1.w))
            return false;
    }
    return true;
}

float NiAnimBlender::GetTimeToTextKey(float fTime, const char* pcName)
{
    if (m_iActive < 0 || m_kControllers.empty() || !Controller(0))
        return 0.0f;
    const Sequence& kSequence = m_kSequences[m_iActive];
    const std::vector<TextKey>& kKeys = kSequence.m_kTextKeys;
    if (kKeys.empty())
        return 0.0f;
    const float fX = Wrap(fTime - Controller(0)->GetStartTime(), kSequence.m_fDuration);
    const size_t uiCount = kKeys.size();
    size_t uiFirst = uiCount;
    for (size_t i = 0; i < uiCount && uiFirst == uiCount; ++i)
    {
        if (kKeys[i].GetTime() > fX)
            uiFirst = i;
    }
    uiFirst %= uiCount;
    size_t uiFound = uiFirst;
    for (size_t k = 0; k < uiCount; ++k)
    {
        const size_t i = (uiFirst + k) % uiCount;
        if (kKeys[i].TextEquals(pcName))
        {
            uiFound = i;
            break;
        }
    }
    const float fD = kKeys[uiFound].GetTime();
    return fX < fD ? fD - fX : fD + kSequence.m_fDuration - fX;
}

bool NiAnimBlender::IsTargetValid() const
{
    return NiDynamicCast<NiAVObject>(m_pTarget) != nullptr;
}

//--- Cloning and streaming ------------------------------------------------------------------

NiObject* NiAnimBlender::MakeClone()
{
    NiAnimBlender* pkClone = new NiAnimBlender;
    NiTimeController::CopyToClone(pkClone);
    pkClone->m_pkRoot = m_pkRoot;
    pkClone->m_kControllers = m_kControllers;
    // The clone shares the key arrays; the text keys are its own copies.
    pkClone->m_kSequences = m_kSequences;
    const size_t uiCount = m_kControllers.size();
    pkClone->m_kFromPositions.assign(uiCount, NiPoint3(0.0f, 0.0f, 0.0f));
    pkClone->m_kToPositions.assign(uiCount, NiPoint3(0.0f, 0.0f, 0.0f));
    pkClone->m_kFromRotations.assign(uiCount, NiQuaternion(0.0f, 0.0f, 0.0f, 0.0f));
    pkClone->m_kToRotations.assign(uiCount, NiQuaternion(0.0f, 0.0f, 0.0f, 0.0f));
    return pkClone;
}

void NiAnimBlender::FixCloneLinks(NiObject* pkObject)
{
    NiTimeController::FixCloneLinks(pkObject);
    NiAnimBlender* pkClone = NiDynamicCast<NiAnimBlender>(pkObject);
    if (!pkClone)
        return;
    auto CloneOf = [](NiObjectNET* pkSource) -> NiObjectNET*
    {
        NiExtraData* pkHead = pkSource ? pkSource->GetExtraData() : nullptr;
        if (pkHead && pkHead->GetClassRecord() == &NiCloneExtraData::ms_kClassRecord)
            return static_cast<NiCloneExtraData*>(pkHead)->GetClone();
        return nullptr;
    };
    // What was not cloned with the blender stays the source's: the clone must not reach it.
    pkClone->m_pkRoot = NiDynamicCast<NiNode>(CloneOf(m_pkRoot));
    for (uint32_t i = 0; i < m_kControllers.size(); ++i)
    {
        NiObjectNET* pkNode = CloneOf(GetNode(i));
        NiKeyframeController* pkFound = nullptr;
        for (NiTimeController* pkWalk = pkNode ? pkNode->GetControllers() : nullptr; pkWalk && !pkFound;
             pkWalk = pkWalk->GetNext())
        {
            if (pkWalk->GetClassRecord() == &NiKeyframeController::ms_kClassRecord)
                pkFound = static_cast<NiKeyframeController*>(pkWalk);
        }
        pkClone->m_kControllers[i] = pkFound;
    }
}

void NiAnimBlender::LoadBinary(NiStream& kStream)
{
    NiTimeController::LoadBinary(kStream);
    LinkRecord& kRecord = kStream.GetLinkRecord<LinkRecord>();
    kStream.Load(kRecord.m_uiRootID);
    uint32_t uiNodes = 0;
    if (!kStream.LoadCount(uiNodes, 8))
        return;
    kRecord.m_kNodeIDs.resize(uiNodes);
    kRecord.m_kControllerIDs.resize(uiNodes);
    for (uint32_t& uiID : kRecord.m_kNodeIDs)
        kStream.Load(uiID);
    for (uint32_t& uiID : kRecord.m_kControllerIDs)
        kStream.Load(uiID);
    uint32_t uiSequences = 0;
    // Every sequence holds at least its two count rows, duration, text key count and cycle.
    if (!kStream.LoadCount(uiSequences, 12 + 8 * uiNodes))
        return;

    m_kSequences.assign(uiSequences, Sequence());
    // The position rows, then the rotation rows: all counts, then the arrays that have keys.
    auto LoadRows = [&](auto Sequence::*pmRow)
    {
        using Array = typename std::remove_reference_t<decltype((m_kSequences[0].*pmRow)[0])>::element_type;
        std::vector<uint32_t> kCounts(size_t(uiSequences) * uiNodes);
        for (uint32_t& uiCount : kCounts)
            kStream.Load(uiCount);
        for (uint32_t s = 0; s < uiSequences; ++s)
        {
            for (uint32_t i = 0; i < uiNodes; ++i)
            {
                auto spArray =
                    LoadKeys(kStream, kCounts[size_t(s) * uiNodes + i], static_cast<const Array*>(nullptr));
                if (!spArray)
                    return false;
                (m_kSequences[s].*pmRow).push_back(std::move(spArray));
            }
        }
        return true;
    };
    if (!LoadRows(&Sequence::m_kPositions) || !LoadRows(&Sequence::m_kRotations))
        return;
    for (Sequence& kSequence : m_kSequences)
        kStream.Load(kSequence.m_fDuration);
    std::vector<uint32_t> kTextCounts(uiSequences);
    for (uint32_t& uiCount : kTextCounts)
        kStream.Load(uiCount);
    for (uint32_t s = 0; s < uiSequences; ++s)
    {
        if (!kStream.RequireBytes(uint64_t(kTextCounts[s]) * 8))
            return;
        m_kSequences[s].m_kTextKeys.resize(kTextCounts[s]);
        for (TextKey& kKey : m_kSequences[s].m_kTextKeys)
            kKey.LoadBinary(kStream);
    }
    for (Sequence& kSequence : m_kSequences)
        kStream.Load(kSequence.m_iCycleType);

    m_kFromPositions.assign(uiNodes, NiPoint3(0.0f, 0.0f, 0.0f));
    m_kToPositions.assign(uiNodes, NiPoint3(0.0f, 0.0f, 0.0f));
    m_kFromRotations.assign(uiNodes, NiQuaternion(0.0f, 0.0f, 0.0f, 0.0f));
    m_kToRotations.assign(uiNodes, NiQuaternion(0.0f, 0.0f, 0.0f, 0.0f));
}

void NiAnimBlender::ResolveLinks(NiStream& kStream)
{
    NiTimeController::ResolveLinks(kStream);
    const LinkRecord& kRecord = kStream.GetLinkRecord<LinkRecord>();
    m_pkRoot = kStream.LookupLinkedObjectAs<NiNode>(kRecord.m_uiRootID);
    m_kControllers.clear();
    for (uint32_t uiID : kRecord.m_kControllerIDs)
        m_kControllers.push_back(kStream.LookupLinkedObjectAs<NiKeyframeController>(uiID));
}

namespace
{
bool IsWithin(const NiAVObject* pkObject, const NiAVObject* pkAncestor)
{
    for (const NiAVObject* pkWalk = pkObject; pkWalk; pkWalk = pkWalk->GetParent())
    {
        if (pkWalk == pkAncestor)
            return true;
    }
    return false;
}
} // namespace

void NiAnimBlender::PostLink()
{
    NiTimeController::PostLink();
    // The nodes and controllers are uncounted: only those that the target keeps alive (the root
    // within its subtree, each controller in the chain of a node within the root's) are kept.
    const NiAVObject* pkTarget = NiDynamicCast<NiAVObject>(m_pTarget);
    if (!pkTarget || !IsWithin(m_pkRoot, pkTarget))
        m_pkRoot = nullptr;
    for (NiKeyframeController*& pkController : m_kControllers)
    {
        const NiAVObject* pkNode =
            pkController ? NiDynamicCast<NiAVObject>(pkController->GetTarget()) : nullptr;
        bool bHeld = false;
        for (const NiTimeController* pkWalk = pkNode ? pkNode->GetControllers() : nullptr; pkWalk && !bHeld;
             pkWalk = pkWalk->GetNext())
            bHeld = pkWalk == pkController;
        if (!m_pkRoot || !bHeld || !IsWithin(pkNode, m_pkRoot))
            pkController = nullptr;
    }
}

bool NiAnimBlender::RegisterForSave(NiStream& kStream)
{
    if (!NiTimeController::RegisterForSave(kStream))
        return false;
    if (Root())
        Root()->RegisterForSave(kStream);
    for (uint32_t i = 0; i < m_kControllers.size(); ++i)
    {
        if (NiAVObject* pkNode = GetNode(i))
            pkNode->RegisterForSave(kStream);
        if (Controller(i))
            Controller(i)->RegisterForSave(kStream);
    }
    return true;
}

void NiAnimBlender::SaveBinary(NiStream& kStream)
{
    NiTimeController::SaveBinary(kStream);
    kStream.SaveLinkID(Root());
    kStream.Save(GetNodeCount());
    for (uint32_t i = 0; i < m_kControllers.size(); ++i)
        kStream.SaveLinkID(GetNode(i));
    for (uint32_t i = 0; i < m_kControllers.size(); ++i)
        kStream.SaveLinkID(Controller(i));
    kStream.Save(static_cast<uint32_t>(m_kSequences.size()));
    // The record holds N entries per row: a row reaching fewer nodes saves the rest empty.
    auto SaveRows = [&](auto Sequence::*pmRow)
    {
        for (const Sequence& kSequence : m_kSequences)
        {
            for (uint32_t i = 0; i < GetNodeCount(); ++i)
                kStream.Save(i < NodesIn(kSequence) ? SavedCount(*(kSequence.*pmRow)[i]) : 0u);
        }
        for (const Sequence& kSequence : m_kSequences)
        {
            for (uint32_t i = 0; i < NodesIn(kSequence); ++i)
                SaveKeys(kStream, *(kSequence.*pmRow)[i]);
        }
    };
    SaveRows(&Sequence::m_kPositions);
    SaveRows(&Sequence::m_kRotations);
    for (const Sequence& kSequence : m_kSequences)
        kStream.Save(kSequence.m_fDuration);
    for (const Sequence& kSequence : m_kSequences)
        kStream.Save(static_cast<uint32_t>(kSequence.m_kTextKeys.size()));
    for (const Sequence& kSequence : m_kSequences)
    {
        for (const TextKey& kKey : kSequence.m_kTextKeys)
            kKey.SaveBinary(kStream);
    }
    for (const Sequence& kSequence : m_kSequences)
        kStream.Save(kSequence.m_iCycleType);
}

bool NiAnimBlender::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiTimeController::IsEquivalent(pkObject))
        return false;
    const NiAnimBlender* pkOther = static_cast<const NiAnimBlender*>(pkObject);
    if (Root() != pkOther->Root() || m_kControllers.size() != pkOther->m_kControllers.size() ||
        m_kSequences.size() != pkOther->m_kSequences.size())
        return false;
    for (uint32_t i = 0; i < m_kControllers.size(); ++i)
    {
        const NiAVObject* pkNodeA = GetNode(i);
        const NiAVObject* pkNodeB = pkOther->GetNode(i);
        if (!pkNodeA != !pkNodeB || (pkNodeA && !pkNodeA->IsEquivalent(pkNodeB)))
            return false;
        const NiKeyframeController* pkA = Controller(i);
        const NiKeyframeController* pkB = pkOther->Controller(i);
        if (!pkA != !pkB || (pkA && !pkA->IsEquivalent(pkB)))
            return false;
    }
    for (size_t s = 0; s < m_kSequences.size(); ++s)
    {
        const Sequence& kA = m_kSequences[s];
        const Sequence& kB = pkOther->m_kSequences[s];
        if (NodesIn(kA) != pkOther->NodesIn(kB))
            return false;
        for (uint32_t i = 0; i < NodesIn(kA); ++i)
        {
            if (!kA.m_kPositions[i]->IsEqual(*kB.m_kPositions[i]) ||
                !kA.m_kRotations[i]->IsEqual(*kB.m_kRotations[i]))
                return false;
        }
        if (kA.m_fDuration != kB.m_fDuration || kA.m_iCycleType != kB.m_iCycleType ||
            kA.m_kTextKeys.size() != kB.m_kTextKeys.size())
            return false;
        for (size_t k = 0; k < kA.m_kTextKeys.size(); ++k)
        {
            if (kA.m_kTextKeys[k].GetTime() != kB.m_kTextKeys[k].GetTime() ||
                !kA.m_kTextKeys[k].TextEquals(kB.m_kTextKeys[k].GetText()))
                return false;
        }
    }
    return true;
}
