#include "scene/graph/NiBSPNode.h"

#include "scene/graph/NiCamera.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiBSPNode, NiNode);
NiImplementCreateObject(NiBSPNode);

namespace
{
// The plane carried along when its points move by x -> M x + t: normal (M^-1)^T n.
NiPlane MovePlane(const NiPlane& kPlane, const NiRotationMatrix& kMatrix, const NiPoint3& kTranslate)
{
    NiRotationMatrix kInverse;
    kMatrix.Inverse(kInverse);
    const NiPoint3 kNormal = kInverse.TransposeTimes(kPlane.m_kNormal);
    return NiPlane(kNormal, kNormal.DotProduct(kTranslate) + kPlane.m_fConstant);
}
} // namespace

NiBSPNode::NiBSPNode()
{
    m_kChildren.SetMaxSize(MAX_CHILDREN);
}

NiBSPNode::~NiBSPNode() = default;

void NiBSPNode::AddChild(NiAVObject* pkChild, bool bFirstFree)
{
    // The slot the group node would choose: the first empty one with the flag, else the next.
    uint32_t uiSlot = GetArrayCount();
    if (bFirstFree)
    {
        for (uint32_t i = 0; i < GetArrayCount(); ++i)
        {
            if (!GetAt(i))
            {
                uiSlot = i;
                break;
            }
        }
    }
    if (uiSlot < MAX_CHILDREN)
        NiNode::AddChild(pkChild, bFirstFree);
}

NiRefPtr<NiAVObject> NiBSPNode::SetChildAt(uint32_t uiIndex, NiAVObject* pkChild)
{
    if (uiIndex >= MAX_CHILDREN)
        return nullptr;
    return NiNode::SetChildAt(uiIndex, pkChild);
}

void NiBSPNode::UpdateWorldPlane()
{
    m_worldPlane.m_kNormal = m_worldRotate * m_modelPlane.m_kNormal;
    m_worldPlane.m_fConstant =
        m_worldScale * m_modelPlane.m_fConstant + m_worldPlane.m_kNormal.DotProduct(m_worldTranslate);
}

void NiBSPNode::UpdateWorldTransform()
{
    NiNode::UpdateWorldTransform();
    UpdateWorldPlane();
}

void NiBSPNode::BakeTransform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate,
                              bool bInParentFrame)
{
    NiRotationMatrix kChildRotate;
    NiPoint3 kChildTranslate;
    if (!ChildBakeTransform(kRotate, kTranslate, bInParentFrame, kChildRotate, kChildTranslate))
        return;
    m_modelPlane = MovePlane(m_modelPlane, kChildRotate, kChildTranslate);
    NiNode::BakeTransform(kRotate, kTranslate, bInParentFrame);
}

void NiBSPNode::Draw(NiCamera* pkCamera)
{
    if (!pkCamera)
        return;
    const NiPoint3& kNormal = m_worldPlane.m_kNormal;
    float fSide = kNormal.DotProduct(pkCamera->GetWorldLocation()) - m_worldPlane.m_fConstant;
    // On the plane, the view direction decides.
    if (fSide == 0.0f)
        fSide = kNormal.DotProduct(pkCamera->GetWorldDirection()) - m_worldPlane.m_fConstant;
    const uint32_t uiFirst = fSide < 0.0f ? 1 : 0;
    for (const uint32_t uiSlot : {uiFirst, 1 - uiFirst})
    {
        if (NiAVObject* pkChild = GetAt(uiSlot))
            pkChild->CullAndDraw(pkCamera);
    }
}

//--- Stream, comparison, field strings and cloning ----------------------------------------------

void NiBSPNode::LoadBinary(NiStream& kStream)
{
    NiNode::LoadBinary(kStream);
    m_modelPlane.LoadBinary(kStream);
    // A third child would have nowhere to go: such a record is refused, not trimmed.
    if (kStream.GetLinkRecord<NiNodeLinkRecord>().m_kChildIDs.GetSize() > MAX_CHILDREN)
        kStream.MarkLoadFailed();
}

void NiBSPNode::SaveBinary(NiStream& kStream)
{
    NiNode::SaveBinary(kStream);
    m_modelPlane.SaveBinary(kStream);
}

bool NiBSPNode::IsEquivalent(const NiObject* pkObject) const
{
    return NiNode::IsEquivalent(pkObject) &&
           m_modelPlane == static_cast<const NiBSPNode*>(pkObject)->m_modelPlane;
}

void NiBSPNode::AddFieldStrings(NiFieldStringList& kList) const
{
    NiNode::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiBSPNode"));
    kList.push_back(m_modelPlane.GetFieldString("m_modelPlane"));
    kList.push_back(m_worldPlane.GetFieldString("m_worldPlane"));
}

NiObject* NiBSPNode::MakeClone()
{
    NiBSPNode* pkClone = new NiBSPNode;
    CopyToClone(pkClone);
    pkClone->m_modelPlane = m_modelPlane;
    return pkClone;
}
