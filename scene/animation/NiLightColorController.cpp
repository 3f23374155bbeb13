#include "scene/animation/NiLightColorController.h"

#include "scene/graph/NiLight.h"

NiImplementRTTI(NiLightColorController, NiTimeController);
NiImplementCreateObject(NiLightColorController);

NiLightColorController::NiLightColorController(NiPosData* pkData) : NiPosColorController(pkData) {}

void NiLightColorController::Update(float fTime)
{
    NiColor kColor;
    if (!ComputeColor(fTime, kColor))
        return;
    NiLight* pkLight = NiDynamicCast<NiLight>(m_pTarget);
    if (!pkLight)
        return;
    const bool bAmbient = GetAmbient();
    pkLight->SetAmbientColor(bAmbient ? kColor : NiColor::BLACK);
    pkLight->SetDiffuseColor(bAmbient ? NiColor::BLACK : kColor);
    pkLight->SetSpecularColor(bAmbient ? NiColor::BLACK : kColor);
}

bool NiLightColorController::IsTargetValid() const
{
    return NiDynamicCast<NiLight>(m_pTarget) != nullptr;
}

NiObject* NiLightColorController::MakeClone()
{
    NiLightColorController* pkClone = new NiLightColorController;
    CopyToClone(pkClone);
    return pkClone;
}

bool NiLightColorController::IsEquivalent(const NiObject* pkObject) const
{
    return NiPosColorController::IsEquivalent(pkObject) &&
           GetAmbient() == static_cast<const NiLightColorController*>(pkObject)->GetAmbient();
}
