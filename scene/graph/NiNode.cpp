#include "scene/graph/NiNode.h"

#include "scene/graph/NiCollisionRecord.h"
#include "scene/graph/NiDynamicEffect.h"
#include "scene/graph/NiEffectLists.h"
#include "scene/graph/NiPicker.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/object/NiCFormat.h"
#include "scene/object/NiCloneExtraData.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <vector>

// Contents: construction / children / effects / passes / scene-object operations / stream /
// comparison and field strings / cloning.

NiImplementRTTI(NiNode, NiAVObject);
NiImplementCreateObject(NiNode);

NiNode::NiNode()
{
    m_usFlags |= VISUAL_MASK;
}

NiNode::~NiNode()
{
    DetachAllEffects();
    for (uint32_t i = 0; i < m_kChildren.GetSize(); ++i)
        RemoveChildAt(i);
}

//--- Children -------------------------------------------------------------------------------

bool NiNode::IsSelfOrAncestor(const NiAVObject* pkObject) const
{
    for (const NiAVObject* pkWalk = this; pkWalk; pkWalk = pkWalk->m_pkParent)
    {
        if (pkWalk == pkObject)
            return true;
    }
    return false;
}

void NiNode::AddChild(NiAVObject* pkChild, bool bFirstFree)
{
    if (!pkChild || IsSelfOrAncestor(pkChild))
        return;
    // The old parent may hold the only reference; this one carries the child across the move.
    NiRefPtr<NiAVObject> spChild(pkChild);
    pkChild->AssignParent(this);
    if (bFirstFree)
        m_kChildren.PutRefInFirstFree(spChild);
    else
        m_kChildren.AddAtEnd(spChild);
}

NiRefPtr<NiAVObject> NiNode::RemoveChild(NiAVObject* pkChild)
{
    if (!pkChild)
        return nullptr;
    for (uint32_t i = 0; i < m_kChildren.GetSize(); ++i)
    {
        if (m_kChildren.GetAt(i) == pkChild)
            return RemoveChildAt(i);
    }
    return nullptr;
}

NiRefPtr<NiAVObject> NiNode::RemoveChildAt(uint32_t uiIndex)
{
    NiRefPtr<NiAVObject> spChild = m_kChildren.RemoveAt(uiIndex);
    if (spChild)
        spChild->m_pkParent = nullptr;
    return spChild;
}

NiRefPtr<NiAVObject> NiNode::SetChildAt(uint32_t uiIndex, NiAVObject* pkChild)
{
    if (pkChild && IsSelfOrAncestor(pkChild))
        return nullptr;
    NiRefPtr<NiAVObject> spChild(pkChild);
    NiRefPtr<NiAVObject> spPrevious = m_kChildren.GetAt(uiIndex);
    if (spPrevious)
        spPrevious->m_pkParent = nullptr;
    if (pkChild)
        pkChild->AssignParent(this);
    // An empty slot beyond the used size still counts, so the array keeps the saved shape.
    m_kChildren.StoreGrowing(uiIndex, spChild);
    return spPrevious;
}

void NiNode::PropagateBoundUp()
{
    RecomputeWorldBound();
    if (m_pkParent)
        m_pkParent->PropagateBoundUp();
}

bool NiNode::SameStructure(const NiAVObject* pkA, const NiAVObject* pkB)
{
    if (pkA == pkB)
        return true;
    if (!pkA || !pkB || pkA->GetClassRecord() != pkB->GetClassRecord())
        return false;
    const NiNode* pkNodeA = NiDynamicCast<NiNode>(pkA);
    const NiNode* pkNodeB = NiDynamicCast<NiNode>(pkB);
    if (!pkNodeA || !pkNodeB)
        return true;
    if (pkNodeA->GetArrayCount() != pkNodeB->GetArrayCount())
        return false;
    for (uint32_t i = 0; i < pkNodeA->GetArrayCount(); ++i)
    {
        const NiAVObject* pkChildA = pkNodeA->GetAt(i);
        const NiAVObject* pkChildB = pkNodeB->GetAt(i);
        if (!pkChildA != !pkChildB)
            return false;
        if (pkChildA && !SameStructure(pkChildA, pkChildB))
            return false;
    }
    return true;
}

//--- Effects --------------------------------------------------------------------------------

void NiNode::AttachEffect(NiDynamicEffect* pkEffect)
{
    if (!pkEffect || m_kEffectList.Contains(pkEffect))
        return;
    m_kEffectList.AddHead(pkEffect);
    pkEffect->AddAffectedNode(this);
}

void NiNode::DetachEffect(NiDynamicEffect* pkEffect)
{
    if (m_kEffectList.Remove(pkEffect))
        pkEffect->RemoveAffectedNode(this);
}

void NiNode::DetachAllEffects()
{
    while (!m_kEffectList.IsEmpty())
        DetachEffect(m_kEffectList.GetHead().m_item);
}

//--- Passes ---------------------------------------------------------------------------------

void NiNode::SetVisual(bool bVisual)
{
    m_usFlags = static_cast<uint16_t>(bVisual ? (m_usFlags | VISUAL_MASK) : (m_usFlags & ~VISUAL_MASK));
}

void NiNode::MergeChildBounds()
{
    bool bFirst = true;
    for (const NiRefPtr<NiAVObject>& spChild : m_kChildren)
    {
        if (!spChild || !spChild->IsVisual())
            continue;
        const NiBoundingSphere& kChildBound = *spChild->GetWorldBoundPtr();
        if (bFirst)
            m_worldBound = kChildBound;
        else
            m_worldBound.Merge(kChildBound);
        bFirst = false;
    }
    // A node without visual children keeps its previous bound.
    SetVisual(!bFirst);
}

void NiNode::PropagateUpdate(float fTime)
{
    UpdateControllers(fTime);
    UpdateWorldTransform();
    PropagateUpdateToChildren(fTime);
}

void NiNode::PropagateUpdateToChildren(float fTime)
{
    for (const NiRefPtr<NiAVObject>& spChild : m_kChildren)
    {
        if (spChild)
            spChild->PropagateUpdate(fTime);
    }
    MergeChildBounds();
}

void NiNode::RecomputeWorldBound()
{
    MergeChildBounds();
}

bool NiNode::IsVisual() const
{
    return (m_usFlags & VISUAL_MASK) != 0;
}

void NiNode::Draw(NiCamera* pkCamera)
{
    if (!IsVisual())
        return;
    for (uint32_t i = 0; i < m_kChildren.GetSize(); ++i)
    {
        if (NiAVObject* pkChild = m_kChildren.GetAt(i))
            pkChild->CullAndDraw(pkCamera);
    }
}

bool NiNode::BeginPick(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker,
                       bool& bTookNode)
{
    bTookNode = false;
    if ((kPicker.GetSkipAppCulled() && GetAppCulled()) || !RayHitsBound(kOrigin, kDirection))
        return false;
    if (kPicker.GetTestKind() == NiPicker::BOUND_INTERSECT && kPicker.GetHitMode() == NiPicker::FIND_FIRST)
    {
        kPicker.AddRecord(this);
        bTookNode = true;
    }
    return true;
}

bool NiNode::FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker)
{
    bool bTookNode = false;
    if (!BeginPick(kOrigin, kDirection, kPicker, bTookNode))
        return false;
    if (bTookNode)
        return true;
    const bool bStopAtFirst =
        kPicker.GetHitMode() == NiPicker::FIND_FIRST && kPicker.GetOrdering() == NiPicker::NO_SORT;
    bool bHit = false;
    for (uint32_t i = 0; i < m_kChildren.GetSize(); ++i)
    {
        if (bStopAtFirst && kPicker.GetCount() > 0)
            break;
        if (NiAVObject* pkChild = m_kChildren.GetAt(i))
            bHit = pkChild->FindPickHits(kOrigin, kDirection, kPicker) || bHit;
    }
    return bHit;
}

NiRefPtr<NiPropertyTable> NiNode::GetInheritedPropertyTable() const
{
    NiRefPtr<NiPropertyTable> spTable =
        m_pkParent ? m_pkParent->GetInheritedPropertyTable() : NiRefPtr<NiPropertyTable>(new NiPropertyTable);
    // The table is this pass's own, so the node's properties go into it in place.
    return BuildPropertyTable(spTable, false);
}

void NiNode::PropagatePropertyTable(NiPropertyTable* pkTable)
{
    NiRefPtr<NiPropertyTable> spTable = BuildPropertyTable(pkTable, true);
    for (const NiRefPtr<NiAVObject>& spChild : m_kChildren)
    {
        if (spChild)
            spChild->PropagatePropertyTable(spTable);
    }
}

NiRefPtr<NiEffectLists> NiNode::BuildEffectLists(NiEffectLists* pkLists, bool bClone) const
{
    NiRefPtr<NiEffectLists> spLists(pkLists);
    if (m_kEffectList.IsEmpty())
        return spLists;
    if (!spLists)
        spLists = new NiEffectLists;
    else if (bClone)
        spLists = pkLists->Clone();
    for (NiDynamicEffect* pkEffect : m_kEffectList)
        spLists->AddEffect(pkEffect);
    return spLists;
}

NiRefPtr<NiEffectLists> NiNode::GetInheritedEffectLists() const
{
    NiRefPtr<NiEffectLists> spLists = m_pkParent ? m_pkParent->GetInheritedEffectLists() : nullptr;
    return BuildEffectLists(spLists, false);
}

void NiNode::PropagateEffectLists(NiEffectLists* pkLists)
{
    NiRefPtr<NiEffectLists> spLists = BuildEffectLists(pkLists, true);
    for (const NiRefPtr<NiAVObject>& spChild : m_kChildren)
    {
        if (spChild)
            spChild->PropagateEffectLists(spLists);
    }
}

//--- Scene-object operations ----------------------------------------------------------------

bool NiNode::ChildBakeTransform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate,
                                bool bInParentFrame, NiRotationMatrix& kChildRotate,
                                NiPoint3& kChildTranslate) const
{
    if (!bInParentFrame)
    {
        kChildRotate = kRotate;
        kChildTranslate = kTranslate;
        return true;
    }
    // Moving the transform into this node's frame divides by the node's scale; a collapsed node
    // has no such frame, so there is nothing its children could be given.
    if (m_fLocalScale == 0.0f)
        return false;
    const NiRotationMatrix& kL = m_localRotate;
    kChildRotate = kL.TransposeTimes(kRotate * kL);
    kChildTranslate =
        kL.TransposeTimes(kRotate * m_localTranslate + kTranslate - m_localTranslate) / m_fLocalScale;
    return true;
}

void NiNode::BakeTransform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate, bool bInParentFrame)
{
    NiRotationMatrix kChildRotate;
    NiPoint3 kChildTranslate;
    if (!ChildBakeTransform(kRotate, kTranslate, bInParentFrame, kChildRotate, kChildTranslate))
        return;
    for (const NiRefPtr<NiAVObject>& spChild : m_kChildren)
    {
        if (spChild)
            spChild->BakeTransform(kChildRotate, kChildTranslate, true);
    }
}

namespace
{
template <class Visit> void ForEachChild(const NiGrowArray<NiRefPtr<NiAVObject>>& kChildren, Visit kVisit)
{
    for (const NiRefPtr<NiAVObject>& spChild : kChildren)
    {
        if (spChild)
            kVisit(*spChild);
    }
}
} // namespace

void NiNode::AllocWorldVertices()
{
    ForEachChild(m_kChildren, [](NiAVObject& kChild) { kChild.AllocWorldVertices(); });
}

void NiNode::ComputeWorldVertices()
{
    ForEachChild(m_kChildren, [](NiAVObject& kChild) { kChild.ComputeWorldVertices(); });
}

void NiNode::FreeWorldVertices()
{
    ForEachChild(m_kChildren, [](NiAVObject& kChild) { kChild.FreeWorldVertices(); });
}

void NiNode::AllocWorldNormals()
{
    ForEachChild(m_kChildren, [](NiAVObject& kChild) { kChild.AllocWorldNormals(); });
}

void NiNode::ComputeWorldNormals()
{
    ForEachChild(m_kChildren, [](NiAVObject& kChild) { kChild.ComputeWorldNormals(); });
}

void NiNode::FreeWorldNormals()
{
    ForEachChild(m_kChildren, [](NiAVObject& kChild) { kChild.FreeWorldNormals(); });
}

void NiNode::BuildCollisionData(int32_t iBoxTriangles)
{
    ForEachChild(m_kChildren,
                 [iBoxTriangles](NiAVObject& kChild) { kChild.BuildCollisionData(iBoxTriangles); });
}

void NiNode::FreeCollisionData()
{
    ForEachChild(m_kChildren, [](NiAVObject& kChild) { kChild.FreeCollisionData(); });
}

bool NiNode::CheckCollision(float fDeltaTime, const NiCollisionRecord& kRecord0,
                            const NiCollisionRecord& kRecord1)
{
    NiAVObject* pkOther = kRecord1.m_pkObject;
    if (!TestBoundCollision(fDeltaTime, pkOther))
        return false;
    if (GetPropagationMode() != NONE)
    {
        NiCollisionRecord kChildRecord = kRecord0;
        kChildRecord.m_iReserved = 0;
        for (uint32_t i = 0; i < m_kChildren.GetSize(); ++i)
        {
            NiAVObject* pkChild = m_kChildren.GetAt(i);
            if (!pkChild)
                continue;
            kChildRecord.m_pkObject = pkChild;
            if (pkChild->CheckCollision(fDeltaTime, kChildRecord, kRecord1))
                return true;
        }
        return false;
    }
    if (pkOther->GetPropagationMode() != NONE)
        return pkOther->CheckCollision(fDeltaTime, kRecord1, kRecord0);
    return true;
}

int32_t NiNode::CollectCollisions(float fDeltaTime, const NiCollisionRecord& kRecord0,
                                  const NiCollisionRecord& kRecord1)
{
    NiAVObject* pkOther = kRecord1.m_pkObject;
    if (!TestBoundCollision(fDeltaTime, pkOther))
        return 0;
    if (GetPropagationMode() != NONE)
    {
        NiCollisionRecord kChildRecord = kRecord0;
        kChildRecord.m_iReserved = 0;
        for (uint32_t i = 0; i < m_kChildren.GetSize(); ++i)
        {
            NiAVObject* pkChild = m_kChildren.GetAt(i);
            if (!pkChild)
                continue;
            kChildRecord.m_pkObject = pkChild;
            if (pkChild->CollectCollisions(fDeltaTime, kChildRecord, kRecord1) == 1)
                return 1;
        }
        return 0;
    }
    if (pkOther->GetPropagationMode() != NONE)
        return pkOther->CollectCollisions(fDeltaTime, kRecord1, kRecord0);
    NiCollisionReport kReport;
    if (!FindBoundCollision(fDeltaTime, pkOther, kReport.m_fTime, kReport.m_kPoint, true, kReport.m_kNormal0,
                            kReport.m_kNormal1))
        return 0;
    kReport.m_pkRoot0 = kRecord0.m_pkRoot;
    kReport.m_pkObject0 = kRecord0.m_pkObject;
    kReport.m_pkRoot1 = kRecord1.m_pkRoot;
    kReport.m_pkObject1 = kRecord1.m_pkObject;
    return DispatchCollision(&kReport);
}

NiAVObject* NiNode::FindObjectByName(const char* pcName)
{
    if (NiAVObject* pkFound = NiAVObject::FindObjectByName(pcName))
        return pkFound;
    if (!pcName)
        return nullptr;
    for (const NiRefPtr<NiAVObject>& spChild : m_kChildren)
    {
        if (!spChild)
            continue;
        if (NiAVObject* pkFound = spChild->FindObjectByName(pcName))
            return pkFound;
    }
    return nullptr;
}

void NiNode::ForEachAnimationChild(const std::function<void(NiObjectNET*)>& kVisit)
{
    NiAVObject::ForEachAnimationChild(kVisit);
    ForEachChild(m_kChildren, [&kVisit](NiAVObject& kChild) { kVisit(&kChild); });
}

//--- Stream ---------------------------------------------------------------------------------

namespace
{
void LoadIDs(NiStream& kStream, NiGrowArray<uint32_t>& kIDs)
{
    uint32_t uiCount = 0;
    kStream.LoadCount(uiCount, sizeof(uint32_t));
    kIDs.SetMaxSize(uiCount > 0 ? uiCount : 1);
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        uint32_t uiID = 0;
        kStream.Load(uiID);
        kIDs.AddAtEnd(uiID);
    }
}
} // namespace

void NiNode::LoadBinary(NiStream& kStream)
{
    NiAVObject::LoadBinary(kStream);
    NiNodeLinkRecord& kRecord = kStream.GetLinkRecord<NiNodeLinkRecord>();
    LoadIDs(kStream, kRecord.m_kChildIDs);
    LoadIDs(kStream, kRecord.m_kEffectIDs);
}

void NiNode::ResolveLinks(NiStream& kStream)
{
    NiAVObject::ResolveLinks(kStream);
    const NiNodeLinkRecord& kRecord = kStream.GetLinkRecord<NiNodeLinkRecord>();
    const uint32_t uiChildren = kRecord.m_kChildIDs.GetSize();
    if (uiChildren > 0)
        m_kChildren.SetMaxSize(uiChildren);
    for (uint32_t i = 0; i < uiChildren; ++i)
        SetChildAt(i, kStream.LookupLinkedObjectAs<NiAVObject>(kRecord.m_kChildIDs.GetAt(i)));
    // From the last to the first, each to the head: the list keeps the saved order.
    for (uint32_t i = kRecord.m_kEffectIDs.GetSize(); i-- > 0;)
        AttachEffect(kStream.LookupLinkedObjectAs<NiDynamicEffect>(kRecord.m_kEffectIDs.GetAt(i)));
}

bool NiNode::RegisterForSave(NiStream& kStream)
{
    if (!NiAVObject::RegisterForSave(kStream))
        return false;
    ForEachChild(m_kChildren, [&kStream](NiAVObject& kChild) { kChild.RegisterForSave(kStream); });
    for (NiDynamicEffect* pkEffect : m_kEffectList)
        pkEffect->RegisterForSave(kStream);
    return true;
}

void NiNode::SaveBinary(NiStream& kStream)
{
    NiAVObject::SaveBinary(kStream);
    kStream.Save(m_kChildren.GetSize());
    for (const NiRefPtr<NiAVObject>& spChild : m_kChildren)
        kStream.SaveLinkID(spChild);
    kStream.Save(m_kEffectList.Count());
    for (NiDynamicEffect* pkEffect : m_kEffectList)
        kStream.SaveLinkID(pkEffect);
}

//--- Comparison and field strings -----------------------------------------------------------

bool NiNode::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiAVObject::IsEquivalent(pkObject))
        return false;
    const NiNode* pkOther = static_cast<const NiNode*>(pkObject);
    if (IsVisual() != pkOther->IsVisual() || GetArrayCount() != pkOther->GetArrayCount())
        return false;
    for (uint32_t i = 0; i < GetArrayCount(); ++i)
    {
        const NiAVObject* pkChild = GetAt(i);
        const NiAVObject* pkOtherChild = pkOther->GetAt(i);
        if (!pkChild != !pkOtherChild)
            return false;
        if (pkChild && !pkChild->IsEquivalent(pkOtherChild))
            return false;
    }

    auto kOther = pkOther->m_kEffectList.begin();
    for (const NiDynamicEffect* pkEffect : m_kEffectList)
    {
        if (kOther == pkOther->m_kEffectList.end() || !pkEffect->IsEquivalent(*kOther))
            return false;
        ++kOther;
    }
    return kOther == pkOther->m_kEffectList.end();
}

void NiNode::AddFieldStrings(NiFieldStringList& kList) const
{
    NiAVObject::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiNode"));
    kList.push_back(NiFieldString("m_bVisual", IsVisual()));
    int32_t iPlace = 0;
    for (const NiDynamicEffect* pkEffect : m_kEffectList)
    {
        const std::string kName = NiCFormat("effect[%d]", iPlace++);
        kList.push_back(NiFieldString(kName.c_str(), static_cast<const void*>(pkEffect)));
    }
}

//--- Cloning --------------------------------------------------------------------------------

NiObject* NiNode::MakeClone()
{
    NiNode* pkClone = new NiNode;
    CopyToClone(pkClone);
    return pkClone;
}

void NiNode::CopyToClone(NiNode* pkClone)
{
    NiAVObject::CopyToClone(pkClone);
    // Every slot, empty ones too, so the clone has the source's shape.
    for (uint32_t i = 0; i < GetArrayCount(); ++i)
    {
        NiAVObject* pkChild = GetAt(i);
        pkClone->SetChildAt(i, pkChild ? NiDynamicCast<NiAVObject>(pkChild->MakeClone()) : nullptr);
    }
}

void NiNode::FixCloneLinks(NiObject* pkClone)
{
    NiAVObject::FixCloneLinks(pkClone);
    NiNode* pkNodeClone = NiDynamicCast<NiNode>(pkClone);
    if (!pkNodeClone)
        return;

    // An effect cloned with this subtree lights the clone; one outside it is shared.
    std::vector<NiDynamicEffect*> kEffects;
    for (NiDynamicEffect* pkEffect : m_kEffectList)
    {
        const NiExtraData* pkMarker = pkEffect->GetExtraData();
        if (pkMarker && pkMarker->GetClassRecord() == &NiCloneExtraData::ms_kClassRecord)
        {
            NiObjectNET* pkEffectClone = static_cast<const NiCloneExtraData*>(pkMarker)->GetClone();
            if (NiDynamicEffect* pkClonedEffect = NiDynamicCast<NiDynamicEffect>(pkEffectClone))
                kEffects.push_back(pkClonedEffect);
        }
        else
        {
            kEffects.push_back(pkEffect);
        }
    }
    for (auto it = kEffects.rbegin(); it != kEffects.rend(); ++it)
        pkNodeClone->AttachEffect(*it);

    for (uint32_t i = 0; i < GetArrayCount(); ++i)
    {
        NiAVObject* pkChild = GetAt(i);
        NiAVObject* pkChildClone = pkNodeClone->GetAt(i);
        if (pkChild && pkChildClone)
            pkChild->FixCloneLinks(pkChildClone);
    }
}

void NiNode::RemoveCloneData()
{
    NiAVObject::RemoveCloneData();
    ForEachChild(m_kChildren, [](NiAVObject& kChild) { kChild.RemoveCloneData(); });
}
