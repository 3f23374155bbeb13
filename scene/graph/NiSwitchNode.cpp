#include "scene/graph/NiSwitchNode.h"

#include "scene/graph/NiCollisionRecord.h"
#include "scene/graph/NiPicker.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

// Contents: construction / children and their stamps / passes / stream / comparison, field
// strings and cloning.

NiImplementRTTI(NiSwitchNode, NiNode);
NiImplementCreateObject(NiSwitchNode);

NiSwitchNode::NiSwitchNode() = default;

NiSwitchNode::~NiSwitchNode() = default;

NiAVObject* NiSwitchNode::GetActiveChild() const
{
    return m_iIndex >= 0 ? GetAt(static_cast<uint32_t>(m_iIndex)) : nullptr;
}

void NiSwitchNode::SetUpdateOnlyActive(bool bOnlyActive)
{
    m_usFlags = static_cast<uint16_t>(bOnlyActive ? (m_usFlags | UPDATE_ONLY_ACTIVE_MASK)
                                                  : (m_usFlags & ~UPDATE_ONLY_ACTIVE_MASK));
}

//--- Children and their stamps ------------------------------------------------------------------

void NiSwitchNode::AddChild(NiAVObject* pkChild, bool bFirstFree)
{
    m_uiUpdateStamp = 1;
    m_kChildStamps.AddAtEnd(0);
    NiNode::AddChild(pkChild, bFirstFree);
}

NiRefPtr<NiAVObject> NiSwitchNode::RemoveChild(NiAVObject* pkChild)
{
    // The group node empties the slot through RemoveChildAt, which clears its stamp.
    m_uiUpdateStamp = 1;
    return NiNode::RemoveChild(pkChild);
}

NiRefPtr<NiAVObject> NiSwitchNode::RemoveChildAt(uint32_t uiIndex)
{
    m_uiUpdateStamp = 1;
    if (uiIndex < GetArrayCount() && uiIndex < m_kChildStamps.GetSize())
        m_kChildStamps.RemoveAt(uiIndex);
    return NiNode::RemoveChildAt(uiIndex);
}

NiRefPtr<NiAVObject> NiSwitchNode::SetChildAt(uint32_t uiIndex, NiAVObject* pkChild)
{
    m_uiUpdateStamp = 1;
    m_kChildStamps.StoreGrowing(uiIndex, 0);
    return NiNode::SetChildAt(uiIndex, pkChild);
}

//--- Passes -------------------------------------------------------------------------------------

void NiSwitchNode::RecomputeModelBound()
{
    // A node of scale 0 collapses its subtree onto its origin: the model bound is then the
    // point at the origin, which the world update takes back to the same place.
    const float fInverseScale = m_worldScale != 0.0f ? 1.0f / m_worldScale : 0.0f;
    bool bFirst = true;
    for (const NiRefPtr<NiAVObject>& spChild : m_kChildren)
    {
        if (!spChild || !spChild->IsVisual())
            continue;
        const NiBoundingSphere& kWorld = *spChild->GetWorldBoundPtr();
        NiBoundingSphere kModel;
        kModel.m_kCenter = m_worldRotate.TransposeTimes(kWorld.m_kCenter - m_worldTranslate) * fInverseScale;
        kModel.m_fRadius = kWorld.m_fRadius * fInverseScale;
        kModel.m_ucNotComputed = 0;
        if (bFirst)
            m_modelBound = kModel;
        else
            m_modelBound.Merge(kModel);
        bFirst = false;
    }
    SetVisual(!bFirst);
}

void NiSwitchNode::PropagateUpdate(float fTime)
{
    UpdateWorldTransform();
    m_fUpdateTime = fTime;
    if (GetUpdateOnlyActive())
    {
        if (m_iIndex < 0)
            return;
        ++m_uiUpdateStamp;
    }
    else
    {
        for (const NiRefPtr<NiAVObject>& spChild : m_kChildren)
        {
            if (spChild)
                spChild->PropagateUpdate(fTime);
        }
        RecomputeModelBound();
    }
    m_worldBound.Update(m_modelBound, m_worldRotate, m_worldTranslate, m_worldScale);
}

void NiSwitchNode::PropagateBoundUp()
{
    RecomputeModelBound();
    m_worldBound.Update(m_modelBound, m_worldRotate, m_worldTranslate, m_worldScale);
    if (m_pkParent)
        m_pkParent->PropagateBoundUp();
}

void NiSwitchNode::BringChildUpToDate(uint32_t uiIndex)
{
    NiAVObject* pkChild = GetAt(uiIndex);
    if (!GetUpdateOnlyActive() || !pkChild || m_kChildStamps.GetAt(uiIndex) == m_uiUpdateStamp)
        return;
    m_kChildStamps.Store(uiIndex, m_uiUpdateStamp);
    pkChild->PropagateUpdate(m_fUpdateTime);
}

void NiSwitchNode::PassedCulling(NiCamera* pkCamera)
{
    NiAVObject::PassedCulling(pkCamera);
    if (m_iIndex >= 0)
        BringChildUpToDate(static_cast<uint32_t>(m_iIndex));
}

void NiSwitchNode::Draw(NiCamera* pkCamera)
{
    if (NiAVObject* pkChild = GetActiveChild())
        pkChild->CullAndDraw(pkCamera);
}

bool NiSwitchNode::FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker)
{
    bool bTookNode = false;
    if (!BeginPick(kOrigin, kDirection, kPicker, bTookNode))
        return false;
    if (bTookNode)
        return true;
    NiAVObject* pkChild = GetActiveChild();
    return pkChild && pkChild->FindPickHits(kOrigin, kDirection, kPicker);
}

bool NiSwitchNode::CheckCollision(float fDeltaTime, const NiCollisionRecord& kRecord0,
                                  const NiCollisionRecord& kRecord1)
{
    if (!GetUpdateOnlyActive())
        return NiNode::CheckCollision(fDeltaTime, kRecord0, kRecord1);
    NiAVObject* pkChild = GetActiveChild();
    if (!pkChild || !kRecord1.m_pkObject)
        return false;
    NiCollisionRecord kChildRecord = kRecord0;
    kChildRecord.m_pkObject = pkChild;
    kChildRecord.m_iReserved = -1;
    return kRecord1.m_pkObject->CheckCollision(fDeltaTime, kRecord1, kChildRecord);
}

int32_t NiSwitchNode::CollectCollisions(float fDeltaTime, const NiCollisionRecord& kRecord0,
                                        const NiCollisionRecord& kRecord1)
{
    if (!GetUpdateOnlyActive())
        return NiNode::CollectCollisions(fDeltaTime, kRecord0, kRecord1);
    NiAVObject* pkChild = GetActiveChild();
    if (!pkChild || !kRecord1.m_pkObject)
        return 0;
    NiCollisionRecord kChildRecord = kRecord0;
    kChildRecord.m_pkObject = pkChild;
    kChildRecord.m_iReserved = -1;
    return kRecord1.m_pkObject->CollectCollisions(fDeltaTime, kRecord1, kChildRecord);
}

//--- Stream -------------------------------------------------------------------------------------

void NiSwitchNode::LoadBinary(NiStream& kStream)
{
    NiNode::LoadBinary(kStream);
    kStream.Load(m_iIndex);
}

void NiSwitchNode::SaveBinary(NiStream& kStream)
{
    NiNode::SaveBinary(kStream);
    kStream.Save(m_iIndex);
}

//--- Comparison, field strings and cloning ------------------------------------------------------

bool NiSwitchNode::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiNode::IsEquivalent(pkObject))
        return false;
    const NiSwitchNode* pkOther = static_cast<const NiSwitchNode*>(pkObject);
    return m_iIndex == pkOther->m_iIndex && GetUpdateOnlyActive() == pkOther->GetUpdateOnlyActive();
}

void NiSwitchNode::AddFieldStrings(NiFieldStringList& kList) const
{
    NiNode::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiSwitchNode"));
    kList.push_back(NiFieldString("m_iIndex", m_iIndex));
    kList.push_back(NiFieldString("m_bUpdateOnlyActive", GetUpdateOnlyActive()));
    kList.push_back(m_modelBound.GetFieldString("m_modelBound"));
}

NiObject* NiSwitchNode::MakeClone()
{
    NiSwitchNode* pkClone = new NiSwitchNode;
    CopyToClone(pkClone);
    return pkClone;
}

void NiSwitchNode::CopyToClone(NiSwitchNode* pkClone)
{
    NiNode::CopyToClone(pkClone);
    pkClone->m_iIndex = m_iIndex;
}
