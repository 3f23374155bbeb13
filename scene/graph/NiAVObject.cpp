#include "scene/graph/NiAVObject.h"

#include "scene/graph/NiBoundingVolume.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiDynamicEffect.h"
#include "scene/graph/NiEffectLists.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiProperty.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiRender.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiTimeController.h"

#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

// Contents: construction / properties / parent / passes / default operations / stream /
// comparison and field strings / cloning.

NiImplementRTTI(NiAVObject, NiObjectNET);
NiImplementAbstractLoader(NiAVObject);

NiAVObject::NiAVObject() = default;

NiAVObject::~NiAVObject() = default;

//--- Collision ----------------------------------------------------------------------------------

void NiAVObject::SetBoundingVolume(NiBoundingVolume* pkVolume)
{
    if (!pkVolume || pkVolume == m_spModelVolume.get())
        return;
    m_spModelVolume.reset(pkVolume);
    m_spWorldVolume.reset(pkVolume->Clone());
}

NiBoundingVolume* NiAVObject::UpdatedWorldVolume()
{
    if (!m_spModelVolume)
        return nullptr;
    if (!m_spWorldVolume)
        m_spWorldVolume.reset(m_spModelVolume->Clone());
    if (m_spWorldVolume)
        m_spWorldVolume->UpdateWorldData(*m_spModelVolume, m_worldRotate, m_worldTranslate, m_worldScale);
    return m_spWorldVolume.get();
}

bool NiAVObject::TestBoundCollision(float fTime, NiAVObject* pkOther)
{
    if (!pkOther)
        return false;
    NiBoundingVolume* pkVolume0 = UpdatedWorldVolume();
    NiBoundingVolume* pkVolume1 = pkOther->UpdatedWorldVolume();
    if (!pkVolume0 && !pkVolume1)
        return NiBoundingSphere::TestIntersect(fTime, m_worldBound, m_worldVelocity, pkOther->m_worldBound,
                                               pkOther->m_worldVelocity);
    if (!pkVolume0)
        pkVolume0 = NiBoundingVolume::ConvertSphere(m_worldBound);
    if (!pkVolume1)
        pkVolume1 = NiBoundingVolume::ConvertSphere(pkOther->m_worldBound);
    // One volume and no way to set a sphere against it: the spheres answer.
    if (!pkVolume0 || !pkVolume1)
        return NiBoundingSphere::TestIntersect(fTime, m_worldBound, m_worldVelocity, pkOther->m_worldBound,
                                               pkOther->m_worldVelocity);
    return NiBoundingVolume::TestIntersect(fTime, *pkVolume0, m_worldVelocity, *pkVolume1,
                                           pkOther->m_worldVelocity);
}

bool NiAVObject::FindBoundCollision(float fTime, NiAVObject* pkOther, float& fContact, NiPoint3& kPoint,
                                    bool bNormals, NiPoint3& kNormal0, NiPoint3& kNormal1)
{
    if (!pkOther)
        return false;
    NiBoundingVolume* pkVolume0 = UpdatedWorldVolume();
    NiBoundingVolume* pkVolume1 = pkOther->UpdatedWorldVolume();
    if (pkVolume0 || pkVolume1)
    {
        if (!pkVolume0)
            pkVolume0 = NiBoundingVolume::ConvertSphere(m_worldBound);
        if (!pkVolume1)
            pkVolume1 = NiBoundingVolume::ConvertSphere(pkOther->m_worldBound);
        if (pkVolume0 && pkVolume1)
            return NiBoundingVolume::FindIntersect(fTime, *pkVolume0, m_worldVelocity, *pkVolume1,
                                                   pkOther->m_worldVelocity, fContact, kPoint, bNormals,
                                                   kNormal0, kNormal1);
    }
    return NiBoundingSphere::FindIntersect(fTime, m_worldBound, m_worldVelocity, pkOther->m_worldBound,
                                           pkOther->m_worldVelocity, fContact, kPoint, bNormals, kNormal0,
                                           kNormal1);
}

int32_t NiAVObject::DispatchCollision(NiCollisionReport* pkReport)
{
    if (!pkReport)
        return 0;
    int32_t iResult0 = 0;
    if (pkReport->m_pkRoot0 && pkReport->m_pkRoot0->m_pfnCollisionCallback)
        iResult0 = pkReport->m_pkRoot0->m_pfnCollisionCallback(pkReport);
    int32_t iResult1 = 0;
    if (pkReport->m_pkRoot1 && pkReport->m_pkRoot1->m_pfnCollisionCallback)
    {
        // Root 1's callback sees itself as root 0, with its own normal first.
        std::swap(pkReport->m_pkRoot0, pkReport->m_pkRoot1);
        std::swap(pkReport->m_kNormal0, pkReport->m_kNormal1);
        iResult1 = pkReport->m_pkRoot0->m_pfnCollisionCallback(pkReport);
        std::swap(pkReport->m_pkRoot0, pkReport->m_pkRoot1);
    }
    return iResult0 != 0 || iResult1 != 0 ? 1 : 0;
}

std::string NiAVObject::PropagationFieldString(const char* pcName, uint32_t uiMode)
{
    static const char* const s_apcModes[] = {"NONE", "USE_TRIANGLES", "USE_OBBS"};
    if (uiMode >= std::size(s_apcModes))
        return std::string();
    return std::string(pcName) + " = " + s_apcModes[uiMode];
}

//--- Properties -----------------------------------------------------------------------------

void NiAVObject::PrependProperty(NiProperty* pkProperty)
{
    m_kPropertyList.AddHead(pkProperty);
}

NiRefPtr<NiProperty> NiAVObject::FindProperty(int32_t iType) const
{
    if (iType < 0 || iType >= NiProperty::MAX_TYPES)
        return nullptr;
    for (const NiRefPtr<NiProperty>& spProperty : m_kPropertyList)
    {
        if (spProperty->GetPropertyType() == iType)
            return spProperty;
    }
    return nullptr;
}

NiRefPtr<NiProperty> NiAVObject::DetachProperty(int32_t iType)
{
    NiRefPtr<NiProperty> spProperty = FindProperty(iType);
    if (spProperty)
        m_kPropertyList.Remove(spProperty);
    return spProperty;
}

void NiAVObject::DetachAllProperties()
{
    m_kPropertyList.RemoveAll();
}

//--- Parent ---------------------------------------------------------------------------------

void NiAVObject::AssignParent(NiNode* pkParent)
{
    // The old parent's reference comes back here and is let go only when this call ends, after
    // the last use of the object.
    NiRefPtr<NiAVObject> spHeld;
    if (m_pkParent)
        spHeld = m_pkParent->RemoveChild(this);
    m_pkParent = pkParent;
}

//--- Passes ---------------------------------------------------------------------------------

void NiAVObject::UpdateSubtree(float fTime)
{
    PropagateUpdate(fTime);
    if (m_pkParent)
        m_pkParent->PropagateBoundUp();
}

void NiAVObject::RefreshPropertyStates()
{
    NiRefPtr<NiPropertyTable> spTable =
        m_pkParent ? m_pkParent->GetInheritedPropertyTable() : NiRefPtr<NiPropertyTable>(new NiPropertyTable);
    PropagatePropertyTable(spTable);
}

void NiAVObject::RefreshEffectStates()
{
    // Geometry shares lists only with geometry refreshed in the same pass.
    NiEffectLists::GetShared() = nullptr;
    NiRefPtr<NiEffectLists> spLists = m_pkParent ? m_pkParent->GetInheritedEffectLists() : nullptr;
    PropagateEffectLists(spLists);
    NiEffectLists::GetShared() = nullptr;
}

NiRefPtr<NiPropertyTable> NiAVObject::BuildPropertyTable(NiPropertyTable* pkInherited, bool bCopy) const
{
    NiRefPtr<NiPropertyTable> spTable(pkInherited);
    if (m_kPropertyList.IsEmpty())
        return spTable;
    if (!spTable)
        spTable = new NiPropertyTable;
    else if (bCopy)
        spTable = new NiPropertyTable(*pkInherited);
    // From the head: a later property of the same type overwrites an earlier one.
    for (const NiRefPtr<NiProperty>& spProperty : m_kPropertyList)
        spTable->SetProperty(spProperty);
    return spTable;
}

void NiAVObject::CullAndDraw(NiCamera* pkCamera)
{
    if (GetAppCulled() || !pkCamera)
        return;
    uint32_t auiSwitchedOff[NiCamera::MASK_WORDS] = {};
    bool bCulled = false;
    for (uint32_t i = pkCamera->GetPlaneCount(); i-- > 0 && !bCulled;)
    {
        if (pkCamera->IsPlaneActive(i))
            continue;
        const int32_t iSide = m_worldBound.WhichSide(pkCamera->GetPlane(i));
        if (iSide == NiBoundingSphere::NEGATIVE_SIDE)
            bCulled = true;
        else if (iSide == NiBoundingSphere::POSITIVE_SIDE)
        {
            pkCamera->SetPlaneActive(i, true);
            auiSwitchedOff[i / 32] |= 1u << (i % 32);
        }
    }
    if (!bCulled)
    {
        PassedCulling(pkCamera);
        Draw(pkCamera);
        AfterDraw(pkCamera);
    }
    uint32_t* puiMask = pkCamera->GetActivePlaneMask();
    for (uint32_t w = 0; w < NiCamera::MASK_WORDS; ++w)
        puiMask[w] &= ~auiSwitchedOff[w];
}

bool NiAVObject::RayHitsBound(const NiPoint3& kOrigin, const NiPoint3& kDirection) const
{
    const NiPoint3 kToOrigin = kOrigin - m_worldBound.m_kCenter;
    const float fOutside = kToOrigin.SqrLength() - m_worldBound.m_fRadius * m_worldBound.m_fRadius;
    if (!(fOutside > 0.0f))
        return true;
    const float fAlong = kToOrigin.DotProduct(kDirection);
    if (!(fAlong < 0.0f))
        return false;
    return !(fOutside * kDirection.SqrLength() > fAlong * fAlong);
}

uint32_t NiAVObject::ValidateWithRenderer(NiRender* pkRenderer) const
{
    if (!pkRenderer)
        return NO_RENDERER_MASK;
    return pkRenderer->ValidatePropertyState(GetPropertyTable(), GetEffectLists());
}

void NiAVObject::UpdateControllers(float fTime)
{
    for (const NiRefPtr<NiProperty>& spProperty : m_kPropertyList)
    {
        if (spProperty->GetControllers())
            spProperty->Update(fTime);
    }
    for (NiTimeController* pkController = GetControllers(); pkController;
         pkController = pkController->GetNext())
        pkController->Update(fTime);
}

//--- Default operations ---------------------------------------------------------------------

void NiAVObject::BakeTransform(const NiRotationMatrix&, const NiPoint3&, bool) {}

NiBoundingSphere* NiAVObject::GetWorldBoundPtr()
{
    return &m_worldBound;
}

void NiAVObject::AllocWorldVertices() {}
void NiAVObject::ComputeWorldVertices() {}
void NiAVObject::FreeWorldVertices() {}
void NiAVObject::AllocWorldNormals() {}
void NiAVObject::ComputeWorldNormals() {}
void NiAVObject::FreeWorldNormals() {}

void NiAVObject::SetAppCulled(bool bCulled)
{
    m_usFlags =
        static_cast<uint16_t>(bCulled ? (m_usFlags | APP_CULLED_MASK) : (m_usFlags & ~APP_CULLED_MASK));
}

bool NiAVObject::GetAppCulled() const
{
    return (m_usFlags & APP_CULLED_MASK) != 0;
}

NiAVObject* NiAVObject::FindObjectByName(const char* pcName)
{
    const char* pcOwnName = GetName();
    if (!pcName || !pcOwnName)
        return nullptr;
    return std::strcmp(pcName, pcOwnName) == 0 ? this : nullptr;
}

void NiAVObject::BuildCollisionData(int32_t) {}
void NiAVObject::FreeCollisionData() {}

void NiAVObject::PropagateUpdate(float fTime)
{
    UpdateControllers(fTime);
    UpdateWorldTransform();
    RecomputeWorldBound();
}

bool NiAVObject::IsVisual() const
{
    return true;
}

void NiAVObject::PropagatePropertyTable(NiPropertyTable*) {}
void NiAVObject::PropagateEffectLists(NiEffectLists*) {}

NiPropertyTable* NiAVObject::GetPropertyTable() const
{
    return nullptr;
}

NiEffectLists* NiAVObject::GetEffectLists() const
{
    return nullptr;
}

void NiAVObject::Draw(NiCamera*) {}

bool NiAVObject::CheckCollision(float, const NiCollisionRecord&, const NiCollisionRecord&)
{
    return false;
}

int32_t NiAVObject::CollectCollisions(float, const NiCollisionRecord&, const NiCollisionRecord&)
{
    return 0;
}

bool NiAVObject::FindPickHits(const NiPoint3&, const NiPoint3&, NiPicker&)
{
    return false;
}

void NiAVObject::PassedCulling(NiCamera*)
{
    for (NiTimeController* pkController = GetControllers(); pkController;
         pkController = pkController->GetNext())
        pkController->TargetPassedCulling();
}

void NiAVObject::AfterDraw(NiCamera*) {}

void NiAVObject::UpdateWorldTransform()
{
    if (!m_pkParent)
    {
        m_worldScale = m_fLocalScale;
        m_worldRotate = m_localRotate;
        m_worldTranslate = m_localTranslate;
        m_worldVelocity = m_localVelocity;
        return;
    }
    const NiAVObject& kParent = *m_pkParent;
    m_worldScale = kParent.m_worldScale * m_fLocalScale;
    m_worldRotate = kParent.m_worldRotate * m_localRotate;
    m_worldTranslate =
        kParent.m_worldTranslate + kParent.m_worldScale * (kParent.m_worldRotate * m_localTranslate);
    // Velocity is a direction of travel: turned with the parent, never scaled.
    m_worldVelocity = kParent.m_worldVelocity + kParent.m_worldRotate * m_localVelocity;
}

void NiAVObject::RecomputeWorldBound() {}

void NiAVObject::ForEachAnimationChild(const std::function<void(NiObjectNET*)>& kVisit)
{
    for (const NiRefPtr<NiProperty>& spProperty : m_kPropertyList)
        kVisit(spProperty);
}

//--- Stream ---------------------------------------------------------------------------------

void NiAVObject::LoadBinary(NiStream& kStream)
{
    NiObjectNET::LoadBinary(kStream);
    NiAVObjectLinkRecord& kRecord = kStream.GetLinkRecord<NiAVObjectLinkRecord>();

    kStream.Load(m_usFlags);
    kStream.Load(m_localTranslate);
    kStream.Load(m_localRotate);
    kStream.Load(m_fLocalScale);
    kStream.Load(m_localVelocity);

    uint32_t uiCount = 0;
    kStream.LoadCount(uiCount, sizeof(uint32_t));
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        uint32_t uiID = 0;
        kStream.Load(uiID);
        kRecord.m_kPropertyIDs.AddAtEnd(uiID);
    }

    // A volume's size is known only to the creator of its kind: without one, the rest of the
    // file cannot be found and the record is refused rather than misread.
    uint32_t uiVolume = 0;
    kStream.Load(uiVolume);
    if (uiVolume != 0)
    {
        NiBoundingVolume* pkVolume = NiBoundingVolume::CreateFromStream(kStream);
        if (pkVolume)
            SetBoundingVolume(pkVolume);
        else
            kStream.MarkLoadFailed();
    }
}

void NiAVObject::ResolveLinks(NiStream& kStream)
{
    NiObjectNET::ResolveLinks(kStream);
    const NiAVObjectLinkRecord& kRecord = kStream.GetLinkRecord<NiAVObjectLinkRecord>();
    // From the last id to the first, each to the head: the list keeps the saved order.
    for (uint32_t i = kRecord.m_kPropertyIDs.GetSize(); i-- > 0;)
        PrependProperty(kStream.LookupLinkedObjectAs<NiProperty>(kRecord.m_kPropertyIDs.GetAt(i)));
}

bool NiAVObject::RegisterForSave(NiStream& kStream)
{
    if (!NiObjectNET::RegisterForSave(kStream))
        return false;
    for (const NiRefPtr<NiProperty>& spProperty : m_kPropertyList)
        spProperty->RegisterForSave(kStream);
    return true;
}

void NiAVObject::SaveBinary(NiStream& kStream)
{
    NiObjectNET::SaveBinary(kStream);
    kStream.Save(m_usFlags);
    kStream.Save(m_localTranslate);
    kStream.Save(m_localRotate);
    kStream.Save(m_fLocalScale);
    kStream.Save(m_localVelocity);
    kStream.Save(m_kPropertyList.Count());
    for (const NiRefPtr<NiProperty>& spProperty : m_kPropertyList)
        kStream.SaveLinkID(spProperty);
    const uint32_t uiHasVolume = m_spModelVolume ? 1 : 0;
    kStream.Save(uiHasVolume);
    if (m_spModelVolume)
        m_spModelVolume->SaveBinary(kStream);
}

//--- Comparison and field strings -----------------------------------------------------------

bool NiAVObject::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiObjectNET::IsEquivalent(pkObject))
        return false;
    const NiAVObject* pkOther = static_cast<const NiAVObject*>(pkObject);
    if (GetAppCulled() != pkOther->GetAppCulled() || m_localTranslate != pkOther->m_localTranslate ||
        m_localRotate != pkOther->m_localRotate || m_fLocalScale != pkOther->m_fLocalScale ||
        m_localVelocity != pkOther->m_localVelocity || GetPropagationMode() != pkOther->GetPropagationMode())
    {
        return false;
    }
    if ((m_spModelVolume == nullptr) != (pkOther->m_spModelVolume == nullptr) ||
        (m_spModelVolume && pkOther->m_spModelVolume->Differs(*m_spModelVolume)))
        return false;

    auto kOther = pkOther->m_kPropertyList.begin();
    for (const NiRefPtr<NiProperty>& spProperty : m_kPropertyList)
    {
        if (kOther == pkOther->m_kPropertyList.end() || !spProperty->IsEquivalent(*kOther))
            return false;
        ++kOther;
    }
    return kOther == pkOther->m_kPropertyList.end();
}

void NiAVObject::AddFieldStrings(NiFieldStringList& kList) const
{
    NiObjectNET::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiAVObject"));
    kList.push_back(NiFieldString("m_bAppCulled", GetAppCulled()));
    kList.push_back(m_localTranslate.GetFieldString("m_localTranslate"));
    kList.push_back(m_localRotate.GetFieldString("m_localRotate"));
    kList.push_back(NiFieldString("m_fLocalScale", m_fLocalScale));
    kList.push_back(m_localVelocity.GetFieldString("m_localVelocity"));
    kList.push_back(m_worldTranslate.GetFieldString("m_worldTranslate"));
    kList.push_back(m_worldRotate.GetFieldString("m_worldRotate"));
    kList.push_back(NiFieldString("m_worldScale", m_worldScale));
    kList.push_back(m_worldVelocity.GetFieldString("m_worldVelocity"));
    kList.push_back(m_worldBound.GetFieldString("m_worldBound"));
    std::string kPropagate = PropagationFieldString("m_ePropagate", GetPropagationMode());
    if (!kPropagate.empty())
        kList.push_back(std::move(kPropagate));
    for (const NiRefPtr<NiProperty>& spProperty : m_kPropertyList)
        kList.push_back(
            NiFieldString(spProperty->GetClassRecord()->GetName(), static_cast<const void*>(spProperty)));
}

//--- Cloning --------------------------------------------------------------------------------

void NiAVObject::CopyToClone(NiAVObject* pkClone)
{
    NiObjectNET::CopyToClone(pkClone);
    pkClone->m_usFlags = m_usFlags;
    pkClone->m_localTranslate = m_localTranslate;
    pkClone->m_localRotate = m_localRotate;
    pkClone->m_fLocalScale = m_fLocalScale;
    pkClone->m_localVelocity = m_localVelocity;

    // Properties are copied, not shared; the clone's list keeps the source's order.
    std::vector<NiProperty*> kClones;
    for (const NiRefPtr<NiProperty>& spProperty : m_kPropertyList)
        kClones.push_back(NiDynamicCast<NiProperty>(spProperty->MakeClone()));
    for (auto it = kClones.rbegin(); it != kClones.rend(); ++it)
        pkClone->PrependProperty(*it);
}

void NiAVObject::RemoveCloneData()
{
    NiObjectNET::RemoveCloneData();
    for (const NiRefPtr<NiProperty>& spProperty : m_kPropertyList)
        spProperty->RemoveCloneData();
}
