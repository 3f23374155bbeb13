#include "scene/animation/NiAlphaController.h"

#include "scene/graph/NiMaterialProperty.h"

NiImplementRTTI(NiAlphaController, NiFloatController);
NiImplementCreateObject(NiAlphaController);

void NiAlphaController::Update(float fTime)
{
    float fAlpha = 0.0f;
    NiMaterialProperty* pkMaterial = NiDynamicCast<NiMaterialProperty>(m_pTarget);
    if (!pkMaterial || !ComputeValue(fTime, fAlpha))
        return;
    pkMaterial->SetAlpha(fAlpha);
    pkMaterial->SetChanged(true);
}

bool NiAlphaController::IsTargetValid() const
{
    return NiDynamicCast<NiMaterialProperty>(m_pTarget) != nullptr;
}

NiObject* NiAlphaController::MakeClone()
{
    NiAlphaController* pkClone = new NiAlphaController;
    CopyToClone(pkClone);
    return pkClone;
}
