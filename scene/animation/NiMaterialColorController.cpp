#include "scene/animation/NiMaterialColorController.h"

#include "scene/graph/NiMaterialProperty.h"

NiImplementRTTI(NiMaterialColorController, NiTimeController);
NiImplementCreateObject(NiMaterialColorController);

NiMaterialColorController::NiMaterialColorController(NiPosData* pkData) : NiPosColorController(pkData) {}

void NiMaterialColorController::Update(float fTime)
{
    NiColor kColor;
    if (!ComputeColor(fTime, kColor))
        return;
    NiMaterialProperty* pkMaterial = NiDynamicCast<NiMaterialProperty>(m_pTarget);
    if (!pkMaterial)
        return;
    switch (GetField())
    {
    case AMB:
        pkMaterial->SetAmbientColor(kColor);
        break;
    case DIFF:
        pkMaterial->SetDiffuseColor(kColor);
        break;
    case SPEC:
        pkMaterial->SetSpecularColor(kColor);
        break;
    case SELF_ILLUM:
        pkMaterial->SetEmittance(kColor);
        break;
    default:
        return;
    }
    pkMaterial->SetChanged(true);
}

bool NiMaterialColorController::IsTargetValid() const
{
    return NiDynamicCast<NiMaterialProperty>(m_pTarget) != nullptr;
}

NiObject* NiMaterialColorController::MakeClone()
{
    NiMaterialColorController* pkClone = new NiMaterialColorController;
    CopyToClone(pkClone);
    return pkClone;
}

bool NiMaterialColorController::IsEquivalent(const NiObject* pkObject) const
{
    return NiPosColorController::IsEquivalent(pkObject) &&
           GetField() == static_cast<const NiMaterialColorController*>(pkObject)->GetField();
}
