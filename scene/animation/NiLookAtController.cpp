#include "scene/animation/NiLookAtController.h"

#include "scene/animation/NiDataController.h"
#include "scene/graph/NiNode.h"
#include "scene/object/NiCloneExtraData.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <cmath>
#include <unordered_set>

NiImplementRTTI(NiLookAtController, NiTimeController);
NiImplementCreateObject(NiLookAtController);

NiLookAtController::NiLookAtController()
{
    SetFlip(false);
    SetAxis(X);
}

NiLookAtController::~NiLookAtController() = default;

NiLookAtController* NiLookAtController::FindController(const NiObjectNET* pkObject)
{
    return NiFindController<NiLookAtController>(pkObject);
}

namespace
{
// Whether the object is the given one or one of its ancestors.
bool IsSelfOrAncestor(const NiAVObject* pkObject, const NiAVObject* pkBelow)
{
    std::unordered_set<const NiAVObject*> kVisited;
    for (const NiAVObject* pkWalk = pkBelow; pkWalk && kVisited.insert(pkWalk).second;
         pkWalk = pkWalk->GetParent())
    {
        if (pkWalk == pkObject)
            return true;
    }
    return false;
}

// Whether the object holds the target through its subtree or through what the look-at
// controllers in it look at. A look-at link to its own target's holder is refused by its
// controller anyway, so it leads nowhere.
bool Reaches(NiAVObject* pkFrom, const NiAVObject* pkTarget, std::unordered_set<const NiAVObject*>& kVisited)
{
    if (!pkFrom || !kVisited.insert(pkFrom).second)
        return false;
    if (pkFrom == pkTarget)
        return true;
    for (NiTimeController* pkController = pkFrom->GetControllers(); pkController;
         pkController = pkController->GetNext())
    {
        NiLookAtController* pkLookAt = NiDynamicCast<NiLookAtController>(pkController);
        if (!pkLookAt || !pkLookAt->GetLookAt() ||
            IsSelfOrAncestor(pkLookAt->GetLookAt(), NiDynamicCast<NiAVObject>(pkLookAt->GetTarget())))
        {
            continue;
        }
        if (Reaches(pkLookAt->GetLookAt(), pkTarget, kVisited))
            return true;
    }
    if (NiNode* pkNode = NiDynamicCast<NiNode>(pkFrom))
    {
        for (uint32_t i = 0; i < pkNode->GetArrayCount(); ++i)
        {
            if (Reaches(pkNode->GetAt(i), pkTarget, kVisited))
                return true;
        }
    }
    return false;
}
} // namespace

bool NiLookAtController::HoldsTarget(NiAVObject* pkObject) const
{
    const NiAVObject* pkTarget = NiDynamicCast<NiAVObject>(m_pTarget);
    if (!pkObject || !pkTarget)
        return false;
    // An ancestor holds the target through its children.
    if (IsSelfOrAncestor(pkObject, pkTarget))
        return true;
    std::unordered_set<const NiAVObject*> kVisited;
    return Reaches(pkObject, pkTarget, kVisited);
}

bool NiLookAtController::SetLookAt(NiAVObject* pkLookAt)
{
    if (HoldsTarget(pkLookAt))
        return false;
    m_spLookAt = pkLookAt;
    return true;
}

void NiLookAtController::Update(float)
{
    NiAVObject* pkObject = NiDynamicCast<NiAVObject>(m_pTarget);
    if (!m_spLookAt || !pkObject || !GetActive())
        return;

    const NiPoint3 kLookAt = m_spLookAt->GetWorldTranslate();
    NiRotationMatrix kParentRotate = NiRotationMatrix::IDENTITY;
    NiPoint3 kPosition = pkObject->GetTranslate();
    if (const NiNode* pkParent = pkObject->GetParent())
    {
        kParentRotate = pkParent->GetWorldRotate();
        kPosition = (kParentRotate * kPosition) * pkParent->GetWorldScale() + pkParent->GetWorldTranslate();
    }

    NiPoint3 kDirection = kLookAt - kPosition;
    NiRotationMatrix kFrame = NiRotationMatrix::IDENTITY;
    if (kDirection.DotProduct(kDirection) >= 0.001f)
    {
        NiPoint3 kUp(0.0f, 0.0f, 1.0f);
        float fAlong = 0.0f;
        const float fLength = kDirection.Length();
        if (fLength > 1e-6f)
        {
            kDirection = kDirection * (1.0f / fLength);
            // Straight above or below, z cannot serve as the up vector: y does.
            const float fUpness = std::fabs(kDirection.z);
            if (fUpness > 0.999f && fUpness < 1.001f)
            {
                kUp = NiPoint3(0.0f, 1.0f, 0.0f);
                fAlong = kDirection.y;
            }
            else
            {
                fAlong = kDirection.z;
            }
        }
        else
        {
            kDirection = NiPoint3::ZERO;
        }
        kUp = kUp - kDirection * fAlong;
        kUp.Unitize();
        if (!GetFlip())
            kDirection = -kDirection;
        const NiPoint3 kSide = kUp.Cross(kDirection);
        switch (GetAxis())
        {
        case Y:
            kFrame.SetColumns(kSide, kDirection, -kUp);
            break;
        case Z:
            kFrame.SetColumns(kSide, kUp, kDirection);
            break;
        default: // X, and the unused value 3
            kFrame.SetColumns(kDirection, kUp, -kSide);
            break;
        }
    }
    pkObject->SetRotate(kParentRotate.TransposeTimes(kFrame));
}

bool NiLookAtController::IsTargetValid() const
{
    return NiDynamicCast<NiAVObject>(m_pTarget) != nullptr;
}

//--- Cloning and streaming ------------------------------------------------------------------

NiObject* NiLookAtController::MakeClone()
{
    NiLookAtController* pkClone = new NiLookAtController;
    NiTimeController::CopyToClone(pkClone);
    pkClone->m_spLookAt = m_spLookAt;
    return pkClone;
}

void NiLookAtController::FixCloneLinks(NiObject* pkClone)
{
    NiTimeController::FixCloneLinks(pkClone);
    NiLookAtController* pkControllerClone = NiDynamicCast<NiLookAtController>(pkClone);
    if (!m_spLookAt || !pkControllerClone)
        return;
    // Inside the cloned subtree the clone looks at the look-at object's clone; outside it both
    // look at the same object.
    NiExtraData* pkHead = m_spLookAt->GetExtraData();
    if (pkHead && pkHead->GetClassRecord() == &NiCloneExtraData::ms_kClassRecord)
    {
        NiAVObject* pkLookAtClone =
            NiDynamicCast<NiAVObject>(static_cast<NiCloneExtraData*>(pkHead)->GetClone());
        if (pkLookAtClone)
            pkControllerClone->m_spLookAt = pkLookAtClone;
    }
}

void NiLookAtController::LoadBinary(NiStream& kStream)
{
    NiTimeController::LoadBinary(kStream);
    kStream.Load(kStream.GetLinkRecord<LinkRecord>().m_uiLookAtID);
}

void NiLookAtController::ResolveLinks(NiStream& kStream)
{
    NiTimeController::ResolveLinks(kStream);
    m_spLookAt = kStream.LookupLinkedObjectAs<NiAVObject>(kStream.GetLinkRecord<LinkRecord>().m_uiLookAtID);
}

void NiLookAtController::PostLink()
{
    NiTimeController::PostLink();
    // Without a target the controller turns nothing, and cannot tell whom its look-at object
    // might hold.
    if (!m_pTarget || HoldsTarget(m_spLookAt))
        m_spLookAt = nullptr;
}

void NiLookAtController::SaveBinary(NiStream& kStream)
{
    NiTimeController::SaveBinary(kStream);
    kStream.SaveLinkID(m_spLookAt);
}

bool NiLookAtController::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiTimeController::IsEquivalent(pkObject))
        return false;
    const NiAVObject* pkOtherLookAt = static_cast<const NiLookAtController*>(pkObject)->m_spLookAt;
    if (!m_spLookAt || !pkOtherLookAt)
        return !m_spLookAt && !pkOtherLookAt;
    return m_spLookAt->IsEquivalent(pkOtherLookAt);
}

void NiLookAtController::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTimeController::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiLookAtController"));
}
