#include "scene/graph/NiSortAdjustNode.h"

#include "scene/graph/NiCamera.h"
#include "scene/graph/NiRender.h"
#include "scene/object/NiStream.h"

#include <cstring>

NiImplementRTTI(NiSortAdjustNode, NiNode);
NiImplementCreateObject(NiSortAdjustNode);

NiSortAdjustNode::NiSortAdjustNode() = default;

NiSortAdjustNode::~NiSortAdjustNode() = default;

void NiSortAdjustNode::Draw(NiCamera* pkCamera)
{
    NiRender* pkRenderer = pkCamera ? pkCamera->GetRenderer() : nullptr;
    if (!pkRenderer)
    {
        NiNode::Draw(pkCamera);
        return;
    }
    const NiRefPtr<NiAccumulator> spPrevious = pkRenderer->GetAccumulator();
    switch (m_eSortMode)
    {
    case SORT_DIRECT:
        pkRenderer->SetAccumulator(nullptr);
        NiNode::Draw(pkCamera);
        break;
    case SORT_OWN_ACCUMULATOR:
        pkRenderer->SetAccumulator(m_spAccumulator);
        if (m_spAccumulator && m_spAccumulator->BeginAccumulation(pkCamera))
        {
            NiNode::Draw(pkCamera);
            m_spAccumulator->EndAccumulation();
        }
        else
        {
            pkRenderer->SetAccumulator(nullptr);
            NiNode::Draw(pkCamera);
        }
        break;
    default:
        NiNode::Draw(pkCamera);
        break;
    }
    pkRenderer->SetAccumulator(spPrevious);
}

void NiSortAdjustNode::LoadBinary(NiStream& kStream)
{
    NiNode::LoadBinary(kStream);
    kStream.Load(m_eSortMode);
    if (std::strcmp(kStream.GetVersion(), ACCUMULATOR_VERSION) >= 0)
        kStream.Load(kStream.GetLinkRecord<NiSortAdjustNodeLinkRecord>().m_uiAccumulatorID);
}

void NiSortAdjustNode::ResolveLinks(NiStream& kStream)
{
    NiNode::ResolveLinks(kStream);
    m_spAccumulator = kStream.LookupLinkedObjectAs<NiAccumulator>(
        kStream.GetLinkRecord<NiSortAdjustNodeLinkRecord>().m_uiAccumulatorID);
}

bool NiSortAdjustNode::RegisterForSave(NiStream& kStream)
{
    if (!NiNode::RegisterForSave(kStream))
        return false;
    if (m_spAccumulator)
        m_spAccumulator->RegisterForSave(kStream);
    return true;
}

void NiSortAdjustNode::SaveBinary(NiStream& kStream)
{
    NiNode::SaveBinary(kStream);
    kStream.Save(m_eSortMode);
    kStream.SaveLinkID(m_spAccumulator);
}

bool NiSortAdjustNode::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiNode::IsEquivalent(pkObject))
        return false;
    const NiSortAdjustNode* pkOther = static_cast<const NiSortAdjustNode*>(pkObject);
    if (m_eSortMode != pkOther->m_eSortMode)
        return false;
    if (!m_spAccumulator || !pkOther->m_spAccumulator)
        return !m_spAccumulator && !pkOther->m_spAccumulator;
    return m_spAccumulator->IsEquivalent(pkOther->m_spAccumulator);
}

NiObject* NiSortAdjustNode::MakeClone()
{
    NiSortAdjustNode* pkClone = new NiSortAdjustNode;
    CopyToClone(pkClone);
    pkClone->m_eSortMode = m_eSortMode;
    if (m_spAccumulator)
        pkClone->m_spAccumulator = NiDynamicCast<NiAccumulator>(m_spAccumulator->MakeClone());
    return pkClone;
}
