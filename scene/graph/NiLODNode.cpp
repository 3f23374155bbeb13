#include "scene/graph/NiLODNode.h"

#include "scene/graph/NiCamera.h"
#include "scene/graph/NiCollisionRecord.h"
#include "scene/object/NiCFormat.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>

NiImplementRTTI(NiLODNode, NiSwitchNode);
NiImplementCreateObject(NiLODNode);

namespace
{
// Near, far and centre: what a range record holds in a file.
constexpr uint32_t RANGE_RECORD_BYTES = 4 + 4 + 12;
} // namespace

NiLODNode::NiLODNode() = default;

NiLODNode::~NiLODNode() = default;

void NiLODNode::SetRange(uint32_t uiIndex, float fNear, float fFar)
{
    if (uiIndex >= m_kRanges.size())
        m_kRanges.resize(size_t(uiIndex) + 1);
    auto spRange = std::make_unique<NiLODRange>();
    spRange->m_fNear = spRange->m_fWorldNear = fNear;
    spRange->m_fFar = spRange->m_fWorldFar = fFar;
    m_kRanges[uiIndex] = std::move(spRange);
}

NiLODRange* NiLODNode::GetRange(uint32_t uiIndex) const
{
    return uiIndex < m_kRanges.size() ? m_kRanges[uiIndex].get() : nullptr;
}

void NiLODNode::SetPositionInRange(bool bInRange)
{
    m_usFlags = static_cast<uint16_t>(bInRange ? (m_usFlags | POSITION_IN_RANGE_MASK)
                                               : (m_usFlags & ~POSITION_IN_RANGE_MASK));
}

void NiLODNode::UpdateWorldRanges()
{
    const uint32_t uiCount = std::min<uint32_t>(GetArrayCount(), GetRangeCount());
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        NiLODRange* pkRange = m_kRanges[i].get();
        if (!pkRange)
            continue;
        pkRange->m_kWorldLoc = m_worldRotate * (pkRange->m_kLoc * m_worldScale) + m_worldTranslate;
        pkRange->m_fWorldNear = m_worldScale * pkRange->m_fNear;
        pkRange->m_fWorldFar = m_worldScale * pkRange->m_fFar;
    }
}

void NiLODNode::UpdateWorldTransform()
{
    NiSwitchNode::UpdateWorldTransform();
    UpdateWorldRanges();
}

void NiLODNode::PassedCulling(NiCamera* pkCamera)
{
    const uint32_t uiSlots = GetArrayCount();
    if (uiSlots == 0 || !pkCamera)
        return;
    const float fScale = pkCamera->GetLODAdjust();
    const float fScaleSquared = fScale * fScale;
    const NiPoint3& kCamera = pkCamera->GetWorldLocation();

    float fDistanceSquared = 0.0f;
    if (!GetPositionInRange())
    {
        NiAVObject* pkFirst = GetAt(0);
        if (!pkFirst)
        {
            m_iIndex = -1;
            return;
        }
        BringChildUpToDate(0);
        fDistanceSquared = fScaleSquared * (pkFirst->GetWorldBound().m_kCenter - kCamera).SqrLength();
    }

    m_iIndex = -1;
    for (uint32_t i = 0; i < uiSlots; ++i)
    {
        const NiLODRange* pkRange = GetRange(i);
        if (!pkRange)
            continue;
        if (GetPositionInRange())
            fDistanceSquared = fScaleSquared * (pkRange->m_kWorldLoc - kCamera).SqrLength();
        if (pkRange->m_fWorldNear * pkRange->m_fWorldNear <= fDistanceSquared &&
            fDistanceSquared < pkRange->m_fWorldFar * pkRange->m_fWorldFar)
        {
            m_iIndex = static_cast<int32_t>(i);
            NiSwitchNode::PassedCulling(pkCamera);
        }
    }
}

template <class TOffer>
bool NiLODNode::OfferChildren(const NiCollisionRecord& kRecord0, TOffer&& kOffer) const
{
    NiCollisionRecord kChildRecord = kRecord0;
    kChildRecord.m_iReserved = 0;
    if (GetUpdateOnlyActive())
    {
        kChildRecord.m_pkObject = GetActiveChild();
        return kChildRecord.m_pkObject && kOffer(kChildRecord);
    }
    const uint32_t uiCount = std::min(GetArrayCount(), GetRangeCount());
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        kChildRecord.m_pkObject = GetAt(i);
        if (kChildRecord.m_pkObject && kOffer(kChildRecord))
            return true;
    }
    return false;
}

bool NiLODNode::CheckCollision(float fDeltaTime, const NiCollisionRecord& kRecord0,
                               const NiCollisionRecord& kRecord1)
{
    NiAVObject* pkOther = kRecord1.m_pkObject;
    return pkOther && OfferChildren(kRecord0, [&](const NiCollisionRecord& kChild)
                                    { return pkOther->CheckCollision(fDeltaTime, kRecord1, kChild); });
}

int32_t NiLODNode::CollectCollisions(float fDeltaTime, const NiCollisionRecord& kRecord0,
                                     const NiCollisionRecord& kRecord1)
{
    NiAVObject* pkOther = kRecord1.m_pkObject;
    return pkOther && OfferChildren(kRecord0, [&](const NiCollisionRecord& kChild)
                                    { return pkOther->CollectCollisions(fDeltaTime, kRecord1, kChild) == 1; })
               ? 1
               : 0;
}

//--- Stream -------------------------------------------------------------------------------------

void NiLODNode::LoadBinary(NiStream& kStream)
{
    NiSwitchNode::LoadBinary(kStream);
    uint32_t uiCount = 0;
    kStream.LoadCount(uiCount, RANGE_RECORD_BYTES);
    m_kRanges.clear();
    m_kRanges.reserve(uiCount);
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        auto spRange = std::make_unique<NiLODRange>();
        kStream.Load(spRange->m_fNear);
        kStream.Load(spRange->m_fFar);
        kStream.Load(spRange->m_kLoc);
        // The world values come with the first transform update.
        spRange->m_fWorldNear = spRange->m_fNear;
        spRange->m_fWorldFar = spRange->m_fFar;
        m_kRanges.push_back(std::move(spRange));
    }
}

void NiLODNode::SaveBinary(NiStream& kStream)
{
    NiSwitchNode::SaveBinary(kStream);
    kStream.Save(GetRangeCount());
    // A slot without a range is written as an empty range, which no distance falls into.
    const NiLODRange kEmpty;
    for (const std::unique_ptr<NiLODRange>& spRange : m_kRanges)
    {
        const NiLODRange& kRange = spRange ? *spRange : kEmpty;
        kStream.Save(kRange.m_fNear);
        kStream.Save(kRange.m_fFar);
        kStream.Save(kRange.m_kLoc);
    }
}

//--- Comparison, field strings and cloning ------------------------------------------------------

bool NiLODNode::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiSwitchNode::IsEquivalent(pkObject))
        return false;
    const NiLODNode* pkOther = static_cast<const NiLODNode*>(pkObject);
    if (GetRangeCount() != pkOther->GetRangeCount() || GetPositionInRange() != pkOther->GetPositionInRange())
        return false;
    for (uint32_t i = 0; i < GetRangeCount(); ++i)
    {
        const NiLODRange* pkMine = GetRange(i);
        const NiLODRange* pkTheirs = pkOther->GetRange(i);
        if (!pkMine || !pkTheirs)
        {
            if (pkMine != pkTheirs)
                return false;
            continue;
        }
        if (pkMine->m_fNear != pkTheirs->m_fNear || pkMine->m_fFar != pkTheirs->m_fFar ||
            pkMine->m_kLoc != pkTheirs->m_kLoc)
            return false;
    }
    return true;
}

void NiLODNode::AddFieldStrings(NiFieldStringList& kList) const
{
    NiSwitchNode::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiLODNode"));
    kList.push_back(NiFieldString("m_bPositionInRange", GetPositionInRange()));
    for (uint32_t i = 0; i < GetRangeCount(); ++i)
    {
        const NiLODRange* pkRange = GetRange(i);
        if (!pkRange)
            continue;
        kList.push_back(
            NiCFormat("range[%u] = N=%f,WN=%f,F=%f,WF=%f, loc=(%f,%f,%f)", i, double(pkRange->m_fNear),
                      double(pkRange->m_fWorldNear), double(pkRange->m_fFar), double(pkRange->m_fWorldFar),
                      double(pkRange->m_kLoc.x), double(pkRange->m_kLoc.y), double(pkRange->m_kLoc.z)));
    }
}

NiObject* NiLODNode::MakeClone()
{
    NiLODNode* pkClone = new NiLODNode;
    CopyToClone(pkClone);
    pkClone->m_kRanges.resize(m_kRanges.size());
    for (size_t i = 0; i < m_kRanges.size(); ++i)
    {
        if (m_kRanges[i])
            pkClone->m_kRanges[i] = std::make_unique<NiLODRange>(*m_kRanges[i]);
    }
    return pkClone;
}
