#include "scene/graph/NiBillboardNode.h"

#include "scene/graph/NiCamera.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <cmath>

NiImplementRTTI(NiBillboardNode, NiNode);
NiImplementCreateObject(NiBillboardNode);

NiBillboardNode::NiBillboardNode()
{
    SetMode(ROTATE_ABOUT_UP);
}

NiBillboardNode::~NiBillboardNode() = default;

void NiBillboardNode::SetMode(uint16_t usMode)
{
    m_usFlags = static_cast<uint16_t>((m_usFlags & ~MODE_MASK) | ((usMode << MODE_SHIFT) & MODE_MASK));
}

void NiBillboardNode::PropagateUpdate(float fTime)
{
    m_fUpdateTime = fTime;
    NiNode::PropagateUpdate(fTime);
    RecomputeWorldBound();
}

void NiBillboardNode::RecomputeWorldBound()
{
    if (GetChildCount() == 0)
        return;
    // Any turn about the origin keeps the subtree inside this sphere.
    m_worldBound.m_fRadius = (m_worldBound.m_kCenter - m_worldTranslate).Length() + m_worldBound.m_fRadius;
    m_worldBound.m_kCenter = m_worldTranslate;
    m_worldBound.m_ucNotComputed = 0;
}

NiRotationMatrix NiBillboardNode::ComputeTurn(const NiCamera& kCamera, const NiRotationMatrix& kFrame,
                                              const NiPoint3& kTranslate, float fScale) const
{
    NiRotationMatrix kTurn = NiRotationMatrix::IDENTITY;
    const NiPoint3 kDir = kFrame.TransposeTimes(kCamera.GetWorldDirection());
    const NiPoint3 kUp = kFrame.TransposeTimes(kCamera.GetWorldUpVector());
    const NiPoint3 kRight = kFrame.TransposeTimes(kCamera.GetWorldRightVector());
    switch (GetMode())
    {
    case ALWAYS_FACE_CAMERA:
    {
        const float fLength = std::sqrt(kUp.y * kUp.y + kRight.y * kRight.y);
        if (fLength > 1e-6f)
        {
            const float fCos = kUp.y / fLength;
            const float fSin = kRight.y / fLength;
            kTurn.SetColumns(kRight * fCos - kUp * fSin, kUp * fCos + kRight * fSin, -kDir);
        }
        break;
    }
    case ROTATE_ABOUT_UP:
    {
        const NiPoint3 kToCamera = kFrame.TransposeTimes(kCamera.GetWorldLocation() - kTranslate) / fScale;
        const float fLength = std::sqrt(kToCamera.z * kToCamera.z + kToCamera.x * kToCamera.x);
        // Also false for the NaN of a node of scale 0, which then keeps its orientation.
        if (fLength >= 1e-12f)
        {
            const float fCos = kToCamera.z / fLength;
            const float fSin = kToCamera.x / fLength;
            kTurn = NiRotationMatrix(fCos, 0.0f, fSin, 0.0f, 1.0f, 0.0f, -fSin, 0.0f, fCos);
        }
        break;
    }
    case RIGID_FACE_CAMERA:
        kTurn.SetColumns(kRight, kUp, kDir);
        break;
    default:
        break;
    }
    return kTurn;
}

void NiBillboardNode::PassedCulling(NiCamera* pkCamera)
{
    NiNode::PassedCulling(pkCamera);
    if (!pkCamera)
        return;
    NiRotationMatrix kParentRotate = NiRotationMatrix::IDENTITY;
    NiPoint3 kParentTranslate = NiPoint3::ZERO;
    float fParentScale = 1.0f;
    if (m_pkParent)
    {
        kParentRotate = m_pkParent->GetWorldRotate();
        kParentTranslate = m_pkParent->GetWorldTranslate();
        fParentScale = m_pkParent->GetWorldScale();
    }
    const NiRotationMatrix kFrame = kParentRotate * m_localRotate;
    const NiPoint3 kTranslate = (kParentRotate * m_localTranslate) * fParentScale + kParentTranslate;
    const float fScale = fParentScale * m_fLocalScale;

    m_worldRotate = kFrame * ComputeTurn(*pkCamera, kFrame, kTranslate, fScale);
    m_worldTranslate = kTranslate;
    m_worldScale = fScale;
    // The subtree follows the turn before it is drawn.
    for (const NiRefPtr<NiAVObject>& spChild : m_kChildren)
    {
        if (spChild)
            spChild->PropagateUpdate(m_fUpdateTime);
    }
}

bool NiBillboardNode::IsEquivalent(const NiObject* pkObject) const
{
    return NiNode::IsEquivalent(pkObject) &&
           GetMode() == static_cast<const NiBillboardNode*>(pkObject)->GetMode();
}

void NiBillboardNode::AddFieldStrings(NiFieldStringList& kList) const
{
    NiNode::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiBillboardNode"));
    static constexpr const char* apcModes[] = {"ALWAYS_FACE_CAMERA", "ROTATE_ABOUT_UP", "RIGID_FACE_CAMERA",
                                               "NONE"};
    kList.push_back(NiFieldString("m_eMode", apcModes[GetMode() & 3]));
}

NiObject* NiBillboardNode::MakeClone()
{
    NiBillboardNode* pkClone = new NiBillboardNode;
    CopyToClone(pkClone);
    return pkClone;
}
