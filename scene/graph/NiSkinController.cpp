#include "scene/graph/NiSkinController.h"

#include "scene/graph/NiBone.h"
#include "scene/object/NiCloneExtraData.h"
#include "scene/object/NiObjectNET.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <utility>

// Contents: construction / bones and influences / bounds / deformation and renumbering /
// cloning / stream / comparison.

NiImplementRTTI(NiSkinController, NiTimeController);
NiImplementAbstractLoader(NiSkinController);

namespace
{
// An influence in a file: weight, vertex index, position.
constexpr uint32_t INFLUENCE_RECORD_BYTES = 4 + 2 + 12;

// The pairs of skins being compared: a skinned shape under one of its own bones would lead
// the comparison from the skin to the bone, down to the shape and back to the skin.
std::vector<std::pair<const NiObject*, const NiObject*>>& ComparisonsInProgress()
{
    static std::vector<std::pair<const NiObject*, const NiObject*>> s_kPairs;
    return s_kPairs;
}
} // namespace

NiSkinController::NiSkinController() = default;

NiSkinController::~NiSkinController()
{
    DetachFromBones();
}

//--- Bones and influences -----------------------------------------------------------------------

void NiSkinController::AttachToBones()
{
    for (NiBone* pkBone : m_kBones)
    {
        if (pkBone)
            pkBone->AddSkinController(this);
    }
}

void NiSkinController::DetachFromBones()
{
    for (NiBone* pkBone : m_kBones)
    {
        if (pkBone)
            pkBone->RemoveSkinController(this);
    }
}

void NiSkinController::SetBones(std::vector<NiBone*> kBones,
                                std::vector<std::vector<NiSkinInfluence>> kInfluences,
                                std::vector<std::vector<uint16_t>> kVertices)
{
    DetachFromBones();
    m_kBones = std::move(kBones);
    m_kInfluences = std::move(kInfluences);
    m_kVertices = std::move(kVertices);
    m_kInfluences.resize(m_kBones.size());
    m_kVertices.resize(m_kBones.size());
    // Each influence needs its vertex: the two lists of a bone keep their common length.
    for (size_t i = 0; i < m_kBones.size(); ++i)
    {
        const size_t uiCount = std::min(m_kInfluences[i].size(), m_kVertices[i].size());
        m_kInfluences[i].resize(uiCount);
        m_kVertices[i].resize(uiCount);
    }
    m_kBoneBounds.clear();
    AttachToBones();
}

void NiSkinController::ForgetBone(NiBone* pkBone)
{
    std::replace(m_kBones.begin(), m_kBones.end(), pkBone, static_cast<NiBone*>(nullptr));
}

NiSkinController* NiSkinController::FindSkinController(NiObjectNET* pkObject)
{
    for (NiTimeController* pkController = pkObject ? pkObject->GetControllers() : nullptr; pkController;
         pkController = pkController->GetNext())
    {
        if (NiSkinController* pkSkin = NiDynamicCast<NiSkinController>(pkController))
            return pkSkin;
    }
    return nullptr;
}

//--- Bounds -------------------------------------------------------------------------------------

void NiSkinController::ComputeBoneBounds()
{
    const uint16_t usVertices = m_pTarget ? GetVertexCount() : 0;
    if (m_kBones.empty() || usVertices == 0 || !m_kBoneBounds.empty())
        return;

    // Each vertex as the weighted blend of its bone-space positions.
    std::vector<NiPoint3> kBlend(usVertices, NiPoint3::ZERO);
    for (size_t i = 0; i < m_kBones.size(); ++i)
    {
        for (size_t j = 0; j < m_kInfluences[i].size(); ++j)
        {
            const NiSkinInfluence& kInfluence = m_kInfluences[i][j];
            if (m_kVertices[i][j] < usVertices)
                kBlend[m_kVertices[i][j]] +=
                    NiPoint3(kInfluence.x, kInfluence.y, kInfluence.z) * kInfluence.weight;
        }
    }

    m_kBoneBounds.resize(m_kBones.size());
    std::vector<NiPoint3> kPoints;
    for (size_t i = 0; i < m_kBones.size(); ++i)
    {
        kPoints.clear();
        for (const uint16_t usVertex : m_kVertices[i])
        {
            if (usVertex < usVertices)
                kPoints.push_back(kBlend[usVertex]);
        }
        m_kBoneBounds[i].ComputeFromData(static_cast<int32_t>(kPoints.size()), kPoints.data());
    }
}

void NiSkinController::ComputeSkinBound(NiBoundingSphere& kBound)
{
    ComputeBoneBounds();
    bool bFirst = true;
    for (size_t i = 0; i < m_kBoneBounds.size() && i < m_kBones.size(); ++i)
    {
        const NiBone* pkBone = m_kBones[i];
        if (!pkBone)
            continue;
        NiBoundingSphere kSkin;
        kSkin.Update(m_kBoneBounds[i], pkBone->GetSkinRotate(), pkBone->GetSkinTranslate(),
                     pkBone->GetSkinScale());
        if (bFirst)
            kBound = kSkin;
        else
            kBound.Merge(kSkin);
        bFirst = false;
    }
}

//--- Deformation and renumbering ----------------------------------------------------------------

void NiSkinController::Deform(NiPoint3* pkPositions)
{
    const uint16_t usVertices = GetVertexCount();
    if (!pkPositions)
        return;
    std::fill_n(pkPositions, usVertices, NiPoint3::ZERO);
    for (size_t i = 0; i < m_kBones.size(); ++i)
    {
        const NiBone* pkBone = m_kBones[i];
        if (!pkBone)
            continue;
        const NiRotationMatrix kMatrix = pkBone->GetSkinRotate() * pkBone->GetSkinScale();
        const NiPoint3& kTranslate = pkBone->GetSkinTranslate();
        for (size_t j = 0; j < m_kInfluences[i].size(); ++j)
        {
            const uint16_t usVertex = m_kVertices[i][j];
            if (usVertex >= usVertices)
                continue;
            const NiSkinInfluence& kInfluence = m_kInfluences[i][j];
            const NiPoint3 kMoved = kMatrix * NiPoint3(kInfluence.x, kInfluence.y, kInfluence.z) + kTranslate;
            pkPositions[usVertex] += kMoved * kInfluence.weight;
        }
    }
}

void NiSkinController::RemapVertices(uint16_t usOldCount, uint32_t, uint16_t usNewCount, const int32_t* piMap)
{
    if (!m_pTarget || !piMap)
        return;
    // Packed to the influences that stay, whatever the counts: no slot is left without an
    // influence, and a renumbering that keeps the count still reaches the influences. Vertices
    // merged into one keep one influence per bone, the last listed.
    std::vector<int32_t> kPlace(usNewCount);
    for (size_t i = 0; i < m_kBones.size(); ++i)
    {
        std::vector<NiSkinInfluence> kInfluences;
        std::vector<uint16_t> kVertices;
        std::fill(kPlace.begin(), kPlace.end(), -1);
        for (size_t j = 0; j < m_kInfluences[i].size(); ++j)
        {
            const uint16_t usOld = m_kVertices[i][j];
            if (usOld >= usOldCount || piMap[usOld] < 0 || piMap[usOld] >= usNewCount)
                continue;
            const int32_t iNew = piMap[usOld];
            if (kPlace[iNew] >= 0)
            {
                kInfluences[kPlace[iNew]] = m_kInfluences[i][j];
                continue;
            }
            kPlace[iNew] = static_cast<int32_t>(kInfluences.size());
            kInfluences.push_back(m_kInfluences[i][j]);
            kVertices.push_back(static_cast<uint16_t>(iNew));
        }
        m_kInfluences[i] = std::move(kInfluences);
        m_kVertices[i] = std::move(kVertices);
    }
    m_kBoneBounds.clear();
    ComputeBoneBounds();
}

//--- Cloning ------------------------------------------------------------------------------------

NiObject* NiSkinController::MakeClone()
{
    NiSkinController* pkClone = CreateClone();
    CopyToClone(pkClone);
    return pkClone;
}

void NiSkinController::CopyToClone(NiSkinController* pkClone) const
{
    NiTimeController::CopyToClone(pkClone);
    // The clone starts on this skin's bones; FixCloneLinks moves it to their clones.
    pkClone->SetBones(m_kBones, m_kInfluences, m_kVertices);
    pkClone->m_kBoneBounds = m_kBoneBounds;
}

void NiSkinController::FixCloneLinks(NiObject* pkClone)
{
    NiTimeController::FixCloneLinks(pkClone);
    NiSkinController* pkSkinClone = NiDynamicCast<NiSkinController>(pkClone);
    if (!pkSkinClone)
        return;
    // A bone cloned in the same operation carries a marker naming its clone; a bone that was
    // not cloned along stays shared with this skin.
    std::vector<NiBone*> kBones = m_kBones;
    for (NiBone*& pkBone : kBones)
    {
        const NiExtraData* pkHead = pkBone ? pkBone->GetExtraData() : nullptr;
        if (!pkHead || pkHead->GetClassRecord() != &NiCloneExtraData::ms_kClassRecord)
            continue;
        if (NiBone* pkBoneClone =
                NiDynamicCast<NiBone>(static_cast<const NiCloneExtraData*>(pkHead)->GetClone()))
            pkBone = pkBoneClone;
    }
    pkSkinClone->DetachFromBones();
    pkSkinClone->m_kBones = std::move(kBones);
    pkSkinClone->AttachToBones();
}

//--- Stream -------------------------------------------------------------------------------------

void NiSkinController::LoadBinary(NiStream& kStream)
{
    NiTimeController::LoadBinary(kStream);
    NiSkinControllerLinkRecord& kRecord = kStream.GetLinkRecord<NiSkinControllerLinkRecord>();
    DetachFromBones();
    m_kBones.clear();
    m_kBoneBounds.clear();

    // Each bone has at least its influence count and its id in the file.
    uint32_t uiBones = 0;
    kStream.LoadCount(uiBones, 8,
                      2 * sizeof(uint32_t) + sizeof(NiBone*) + sizeof(m_kInfluences[0]) +
                          sizeof(m_kVertices[0]));
    std::vector<uint32_t> kCounts(uiBones);
    for (uint32_t& uiCount : kCounts)
        kStream.Load(uiCount);
    kRecord.m_kBoneIDs.assign(uiBones, 0);
    for (uint32_t& uiID : kRecord.m_kBoneIDs)
        kStream.Load(uiID);

    m_kBones.assign(uiBones, nullptr);
    m_kInfluences.assign(uiBones, {});
    m_kVertices.assign(uiBones, {});
    for (uint32_t i = 0; i < uiBones; ++i)
    {
        if (!kStream.RequireElements(kCounts[i], INFLUENCE_RECORD_BYTES) ||
            !kStream.ReserveMemory(kCounts[i], sizeof(NiSkinInfluence) + sizeof(m_kVertices[i][0])))
            return;
        m_kInfluences[i].resize(kCounts[i]);
        m_kVertices[i].resize(kCounts[i]);
        for (uint32_t j = 0; j < kCounts[i]; ++j)
        {
            NiSkinInfluence& kInfluence = m_kInfluences[i][j];
            kStream.Load(kInfluence.weight);
            kStream.Load(m_kVertices[i][j]);
            kStream.Load(kInfluence.x);
            kStream.Load(kInfluence.y);
            kStream.Load(kInfluence.z);
        }
    }
}

void NiSkinController::ResolveLinks(NiStream& kStream)
{
    NiTimeController::ResolveLinks(kStream);
    const NiSkinControllerLinkRecord& kRecord = kStream.GetLinkRecord<NiSkinControllerLinkRecord>();
    // An id that names no bone leaves an empty slot.
    for (size_t i = 0; i < kRecord.m_kBoneIDs.size() && i < m_kBones.size(); ++i)
        m_kBones[i] = kStream.LookupLinkedObjectAs<NiBone>(kRecord.m_kBoneIDs[i]);
    AttachToBones();
}

void NiSkinController::PostLink()
{
    NiTimeController::PostLink();
    // The target's data is linked by now. Each controller blends every vertex of its target once:
    // many controllers over one large target count that against the load's memory bound.
    NiStream* pkLoad = NiStream::GetLoadingStream();
    if (pkLoad && m_pTarget && !pkLoad->ReserveMemory(GetVertexCount(), sizeof(NiPoint3)))
        return;
    ComputeBoneBounds();
}

bool NiSkinController::RegisterForSave(NiStream& kStream)
{
    if (!NiTimeController::RegisterForSave(kStream))
        return false;
    // Every bone, also after one that was saved already: a bone outside the saved scene would
    // otherwise be written as no bone.
    for (NiBone* pkBone : m_kBones)
    {
        if (pkBone)
            pkBone->RegisterForSave(kStream);
    }
    return true;
}

void NiSkinController::SaveBinary(NiStream& kStream)
{
    NiTimeController::SaveBinary(kStream);
    kStream.Save(GetBoneCount());
    for (const std::vector<NiSkinInfluence>& kInfluences : m_kInfluences)
        kStream.Save(static_cast<uint32_t>(kInfluences.size()));
    for (const NiBone* pkBone : m_kBones)
        kStream.SaveLinkID(pkBone);
    for (size_t i = 0; i < m_kBones.size(); ++i)
    {
        for (size_t j = 0; j < m_kInfluences[i].size(); ++j)
        {
            const NiSkinInfluence& kInfluence = m_kInfluences[i][j];
            kStream.Save(kInfluence.weight);
            kStream.Save(m_kVertices[i][j]);
            kStream.Save(kInfluence.x);
            kStream.Save(kInfluence.y);
            kStream.Save(kInfluence.z);
        }
    }
}

//--- Comparison ---------------------------------------------------------------------------------

bool NiSkinController::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiTimeController::IsEquivalent(pkObject))
        return false;
    const NiSkinController* pkOther = static_cast<const NiSkinController*>(pkObject);
    if (m_kBones.size() != pkOther->m_kBones.size())
        return false;

    // Met again inside its own comparison, a pair counts as equal until shown otherwise.
    auto& kInProgress = ComparisonsInProgress();
    const std::pair<const NiObject*, const NiObject*> kPair(this, pkOther);
    if (std::find(kInProgress.begin(), kInProgress.end(), kPair) != kInProgress.end())
        return true;
    kInProgress.push_back(kPair);
    bool bEqual = true;
    for (size_t i = 0; i < m_kBones.size() && bEqual; ++i)
    {
        const NiBone* pkBone = m_kBones[i];
        const NiBone* pkOtherBone = pkOther->m_kBones[i];
        bEqual = pkBone && pkOtherBone ? pkBone->IsEquivalent(pkOtherBone) : pkBone == pkOtherBone;
        if (!bEqual || m_kInfluences[i].size() != pkOther->m_kInfluences[i].size())
        {
            bEqual = false;
            break;
        }
        for (size_t j = 0; j < m_kInfluences[i].size() && bEqual; ++j)
        {
            const NiSkinInfluence& kMine = m_kInfluences[i][j];
            const NiSkinInfluence& kTheirs = pkOther->m_kInfluences[i][j];
            bEqual = kMine.weight == kTheirs.weight && m_kVertices[i][j] == pkOther->m_kVertices[i][j] &&
                     kMine.x == kTheirs.x && kMine.y == kTheirs.y && kMine.z == kTheirs.z;
        }
    }
    kInProgress.erase(std::find(kInProgress.begin(), kInProgress.end(), kPair));
    return bEqual;
}
