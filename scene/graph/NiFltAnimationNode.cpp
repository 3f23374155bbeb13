#include "scene/graph/NiFltAnimationNode.h"

#include "scene/object/NiCFormat.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <cmath>

NiImplementRTTI(NiFltAnimationNode, NiSwitchNode);
NiImplementCreateObject(NiFltAnimationNode);

NiFltAnimationNode::NiFltAnimationNode() = default;

NiFltAnimationNode::~NiFltAnimationNode() = default;

void NiFltAnimationNode::SetBounce(bool bBounce)
{
    m_usFlags = static_cast<uint16_t>(bBounce ? (m_usFlags | BOUNCE_MASK) : (m_usFlags & ~BOUNCE_MASK));
}

void NiFltAnimationNode::SelectIndexForTime(double dTime)
{
    const uint32_t uiSlots = GetArrayCount();
    if (uiSlots == 0 || !(m_dPeriod > 0.0))
        return;
    double dCycle = std::fmod(dTime, m_dPeriod);
    if (dCycle < 0.0)
        dCycle += m_dPeriod;
    double dSlice;
    if (GetBounce())
    {
        if (dCycle > m_dPeriod / 2.0)
            dCycle = m_dPeriod - dCycle;
        dSlice = 2.0 * uiSlots * dCycle / m_dPeriod;
    }
    else
    {
        dSlice = uiSlots * dCycle / m_dPeriod;
    }
    // An infinite or NaN time has no place in the period: the index stays as it is.
    if (std::isnan(dSlice))
        return;
    m_iIndex = dSlice < uiSlots ? static_cast<int32_t>(dSlice) : static_cast<int32_t>(uiSlots - 1);
}

void NiFltAnimationNode::Draw(NiCamera* pkCamera)
{
    SelectIndexForTime(static_cast<double>(m_fUpdateTime));
    NiSwitchNode::Draw(pkCamera);
    m_iIndex = -1;
}

void NiFltAnimationNode::LoadBinary(NiStream& kStream)
{
    NiSwitchNode::LoadBinary(kStream);
    kStream.Load(m_dPeriod);
}

void NiFltAnimationNode::SaveBinary(NiStream& kStream)
{
    NiSwitchNode::SaveBinary(kStream);
    kStream.Save(m_dPeriod);
}

bool NiFltAnimationNode::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiSwitchNode::IsEquivalent(pkObject))
        return false;
    const NiFltAnimationNode* pkOther = static_cast<const NiFltAnimationNode*>(pkObject);
    return m_dPeriod == pkOther->m_dPeriod && GetBounce() == pkOther->GetBounce();
}

void NiFltAnimationNode::AddFieldStrings(NiFieldStringList& kList) const
{
    NiSwitchNode::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiFltAnimationNode"));
    kList.push_back(NiCFormat("%s = %.6e", "m_dPeriod", m_dPeriod));
    kList.push_back(NiFieldString("m_bBounce", GetBounce()));
}

NiObject* NiFltAnimationNode::MakeClone()
{
    NiFltAnimationNode* pkClone = new NiFltAnimationNode;
    CopyToClone(pkClone);
    pkClone->m_dPeriod = m_dPeriod;
    return pkClone;
}
