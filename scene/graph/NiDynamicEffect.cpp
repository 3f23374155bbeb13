#include "scene/graph/NiDynamicEffect.h"

#include "scene/graph/NiNode.h"
#include "scene/graph/NiRender.h"
#include "scene/object/NiCFormat.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiDynamicEffect, NiAVObject);
NiImplementAbstractLoader(NiDynamicEffect);

int32_t NiDynamicEffect::ms_iNextIndex = 1;

NiDynamicEffect::NiDynamicEffect() : m_iIndex(ms_iNextIndex++) {}

NiDynamicEffect::~NiDynamicEffect()
{
    PurgeFromRenderers();
    DetachAllNodes();
}

void NiDynamicEffect::PurgeFromRenderers()
{
    if (m_bPurged)
        return;
    m_bPurged = true;
    NiRender::PurgeEffectFromAll(this);
}

//--- Affected nodes -------------------------------------------------------------------------

void NiDynamicEffect::AddAffectedNode(NiNode* pkNode)
{
    if (!pkNode || m_kAffectedNodes.Contains(pkNode))
        return;
    m_kAffectedNodes.AddHead(pkNode);
    pkNode->AttachEffect(this);
}

void NiDynamicEffect::RemoveAffectedNode(NiNode* pkNode)
{
    if (m_kAffectedNodes.Remove(pkNode))
        pkNode->DetachEffect(this);
}

void NiDynamicEffect::DetachAllNodes()
{
    while (!m_kAffectedNodes.IsEmpty())
        RemoveAffectedNode(m_kAffectedNodes.GetHead().m_item);
}

//--- Scene-object operations ----------------------------------------------------------------

bool NiDynamicEffect::IsVisual() const
{
    return false;
}

bool NiDynamicEffect::FindPickHits(const NiPoint3&, const NiPoint3&, NiPicker&)
{
    return false;
}

//--- Stream, comparison, field strings, cloning ---------------------------------------------

void NiDynamicEffect::LoadBinary(NiStream& kStream)
{
    NiAVObject::LoadBinary(kStream);
    // The node ids are read and dropped: each node makes the link again when it resolves its
    // own effect list.
    int32_t iCount = 0;
    kStream.Load(iCount);
    if (iCount < 0 || !kStream.RequireElements(uint64_t(iCount), sizeof(uint32_t)))
    {
        kStream.MarkLoadFailed();
        return;
    }
    for (int32_t i = 0; i < iCount; ++i)
    {
        uint32_t uiID = 0;
        kStream.Load(uiID);
    }
}

void NiDynamicEffect::SaveBinary(NiStream& kStream)
{
    NiAVObject::SaveBinary(kStream);
    kStream.Save(static_cast<int32_t>(m_kAffectedNodes.Count()));
    for (NiNode* pkNode : m_kAffectedNodes)
        kStream.SaveLinkID(pkNode);
}

bool NiDynamicEffect::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiAVObject::IsEquivalent(pkObject))
        return false;
    // Which nodes are lit is not compared, only how many.
    const NiDynamicEffect* pkOther = static_cast<const NiDynamicEffect*>(pkObject);
    return m_kAffectedNodes.Count() == pkOther->m_kAffectedNodes.Count();
}

void NiDynamicEffect::AddFieldStrings(NiFieldStringList& kList) const
{
    NiAVObject::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiDynamicEffect"));
    int32_t iPlace = 0;
    for (const NiNode* pkNode : m_kAffectedNodes)
    {
        const std::string kName = NiCFormat("node[%d]", iPlace++);
        kList.push_back(NiFieldString(kName.c_str(), static_cast<const void*>(pkNode)));
    }
}

void NiDynamicEffect::CopyToClone(NiDynamicEffect* pkClone)
{
    NiAVObject::CopyToClone(pkClone);
    pkClone->m_iRevision = m_iRevision;
}
