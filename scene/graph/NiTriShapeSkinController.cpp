#include "scene/graph/NiTriShapeSkinController.h"

#include "scene/graph/NiTriShape.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiTriShapeSkinController, NiSkinController);
NiImplementCreateObject(NiTriShapeSkinController);

NiTriShapeSkinController::NiTriShapeSkinController() = default;

NiTriShapeSkinController::~NiTriShapeSkinController() = default;

NiTriShapeSkinController* NiTriShapeSkinController::FindSkinController(NiObjectNET* pkObject)
{
    for (NiTimeController* pkController = pkObject ? pkObject->GetControllers() : nullptr; pkController;
         pkController = pkController->GetNext())
    {
        if (NiTriShapeSkinController* pkSkin = NiDynamicCast<NiTriShapeSkinController>(pkController))
            return pkSkin;
    }
    return nullptr;
}

NiTriShape* NiTriShapeSkinController::GetShape() const
{
    return NiDynamicCast<NiTriShape>(m_pTarget);
}

bool NiTriShapeSkinController::IsTargetValid() const
{
    return GetShape() != nullptr;
}

uint16_t NiTriShapeSkinController::GetVertexCount() const
{
    const NiTriShape* pkShape = GetShape();
    return pkShape && pkShape->GetGeometryData() ? pkShape->GetGeometryData()->GetVertexCount() : 0;
}

NiSkinController* NiTriShapeSkinController::CreateClone() const
{
    return new NiTriShapeSkinController;
}

void NiTriShapeSkinController::Update(float fTime)
{
    if (!GetActive() || fTime == m_fLastTime)
        return;
    m_fLastTime = fTime;
    NiTriShape* pkShape = GetShape();
    if (pkShape && pkShape->GetGeometryData())
        ComputeSkinBound(pkShape->GetGeometryData()->GetBound());
    m_bDeformPending = true;
}

void NiTriShapeSkinController::TargetPassedCulling()
{
    NiTriShape* pkShape = GetShape();
    if (!m_bDeformPending || !pkShape || !pkShape->GetGeometryData())
        return;
    Deform(pkShape->GetVertexArray());
    NiGeometryData* pkData = pkShape->GetGeometryData();
    if (GetRecomputeNormals() && pkData->GetNormals())
        pkShape->ComputeNormals();
    pkData->IncrementRevision();
}

void NiTriShapeSkinController::OnDisplayed()
{
    NiSkinController::OnDisplayed();
    m_bDeformPending = false;
}
