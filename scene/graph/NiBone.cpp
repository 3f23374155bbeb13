#include "scene/graph/NiBone.h"

#include "scene/graph/NiSkinController.h"
#include "scene/object/NiStream.h"

#include <algorithm>

NiImplementRTTI(NiBone, NiNode);
NiImplementCreateObject(NiBone);

NiBone::NiBone() = default;

NiBone::~NiBone()
{
    // The controllers lose this bone; they skip it from now on.
    const std::vector<NiSkinController*> kControllers = std::move(m_kSkinControllers);
    for (NiSkinController* pkController : kControllers)
        pkController->ForgetBone(this);
}

bool NiBone::IsSkeletonRoot() const
{
    return !NiDynamicCast<NiBone>(m_pkParent);
}

void NiBone::SetSkinTransformFromParent(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate,
                                        float fScale)
{
    m_kSkinRotate = kRotate * m_localRotate;
    m_kSkinTranslate = (kRotate * m_localTranslate) * fScale + kTranslate;
    m_fSkinScale = fScale * m_fLocalScale;
}

void NiBone::AddSkinController(NiSkinController* pkController)
{
    if (std::find(m_kSkinControllers.begin(), m_kSkinControllers.end(), pkController) ==
        m_kSkinControllers.end())
        m_kSkinControllers.push_back(pkController);
}

void NiBone::RemoveSkinController(NiSkinController* pkController)
{
    std::erase(m_kSkinControllers, pkController);
}

void NiBone::PropagateUpdate(float fTime)
{
    UpdateControllers(fTime);
    UpdateWorldTransform();
    // Only a parent of exactly this class carries the chain on.
    if (m_pkParent && m_pkParent->GetClassRecord() == &NiBone::ms_kClassRecord)
    {
        const NiBone* pkParent = static_cast<const NiBone*>(m_pkParent);
        SetSkinTransformFromParent(pkParent->m_kSkinRotate, pkParent->m_kSkinTranslate,
                                   pkParent->m_fSkinScale);
    }
    else
    {
        m_kSkinRotate = m_localRotate;
        m_kSkinTranslate = m_localTranslate;
        m_fSkinScale = m_fLocalScale;
    }
    PropagateUpdateToChildren(fTime);
}

NiObject* NiBone::MakeClone()
{
    // The named part leaves a clone marker on this bone, through which the skin controllers
    // cloned with it find the clone.
    NiBone* pkClone = new NiBone;
    CopyToClone(pkClone);
    pkClone->m_kSkinRotate = m_kSkinRotate;
    pkClone->m_kSkinTranslate = m_kSkinTranslate;
    pkClone->m_fSkinScale = m_fSkinScale;
    return pkClone;
}
