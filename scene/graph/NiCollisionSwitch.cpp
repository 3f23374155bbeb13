#include "scene/graph/NiCollisionSwitch.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiCollisionSwitch, NiNode);
NiImplementCreateObject(NiCollisionSwitch);

NiCollisionSwitch::NiCollisionSwitch()
{
    SetCollisionPropagate(true);
}

NiCollisionSwitch::~NiCollisionSwitch() = default;

void NiCollisionSwitch::SetCollisionPropagate(bool bPropagate)
{
    m_usFlags = static_cast<uint16_t>(bPropagate ? (m_usFlags | PROPAGATE_ON_MASK)
                                                 : (m_usFlags & ~PROPAGATE_ON_MASK));
}

bool NiCollisionSwitch::CheckCollision(float fDeltaTime, const NiCollisionRecord& kRecord0,
                                       const NiCollisionRecord& kRecord1)
{
    return GetCollisionPropagate() && NiNode::CheckCollision(fDeltaTime, kRecord0, kRecord1);
}

int32_t NiCollisionSwitch::CollectCollisions(float fDeltaTime, const NiCollisionRecord& kRecord0,
                                             const NiCollisionRecord& kRecord1)
{
    return GetCollisionPropagate() ? NiNode::CollectCollisions(fDeltaTime, kRecord0, kRecord1) : 0;
}

bool NiCollisionSwitch::FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker)
{
    return GetCollisionPropagate() && NiNode::FindPickHits(kOrigin, kDirection, kPicker);
}

bool NiCollisionSwitch::IsEquivalent(const NiObject* pkObject) const
{
    return NiNode::IsEquivalent(pkObject) &&
           GetCollisionPropagate() ==
               static_cast<const NiCollisionSwitch*>(pkObject)->GetCollisionPropagate();
}

void NiCollisionSwitch::AddFieldStrings(NiFieldStringList& kList) const
{
    NiNode::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiCollisionSwitch"));
    kList.push_back(NiFieldString("m_bPropagate", GetCollisionPropagate()));
}

NiObject* NiCollisionSwitch::MakeClone()
{
    NiCollisionSwitch* pkClone = new NiCollisionSwitch;
    CopyToClone(pkClone);
    return pkClone;
}
