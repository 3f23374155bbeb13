#include "scene/animation/NiRollController.h"

#include "scene/graph/NiAVObject.h"

NiImplementRTTI(NiRollController, NiFloatController);
NiImplementCreateObject(NiRollController);

void NiRollController::Update(float fTime)
{
    float fAngle = 0.0f;
    NiAVObject* pkObject = NiDynamicCast<NiAVObject>(m_pTarget);
    if (!pkObject || !ComputeValue(fTime, fAngle))
        return;
    NiRotationMatrix kRoll;
    kRoll.MakeZRotation(-fAngle);
    pkObject->SetRotate(pkObject->GetRotate() * kRoll);
}

bool NiRollController::IsTargetValid() const
{
    return NiDynamicCast<NiAVObject>(m_pTarget) != nullptr;
}

NiObject* NiRollController::MakeClone()
{
    NiRollController* pkClone = new NiRollController;
    CopyToClone(pkClone);
    return pkClone;
}
