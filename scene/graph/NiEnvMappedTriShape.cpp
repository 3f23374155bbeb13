#include "scene/graph/NiEnvMappedTriShape.h"

#include "scene/graph/NiCamera.h"
#include "scene/graph/NiRender.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <cmath>

NiImplementRTTI(NiEnvMappedTriShape, NiTriShape);
NiImplementCreateObject(NiEnvMappedTriShape);

NiEnvMappedTriShape::NiEnvMappedTriShape(NiTriShapeData* pkData) : NiTriShape(pkData)
{
    AllocWorldNormals();
}

NiEnvMappedTriShape::NiEnvMappedTriShape(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal,
                                         NiColorA* pkColor, uint16_t usTriangles, uint16_t* pusTriList)
    : NiTriShape(
          new NiEnvMappedTriShapeData(usVertices, pkVertex, pkNormal, pkColor, usTriangles, pusTriList))
{
    AllocWorldNormals();
}

void NiEnvMappedTriShape::ComputeEnvMapCoords(const NiPoint3& kEye)
{
    if (!m_spGeomData)
        return;
    const NiPoint3 kCenter = m_worldBound.m_kCenter;
    ComputeWorldNormals();
    NiPoint3 kToEye = kEye - kCenter;
    const float fLength = std::sqrt(kToEye.SqrLength());
    const NiPoint3 kUnit = fLength > 1e-6f ? kToEye / fLength : NiPoint3::ZERO;
    const NiPoint3* pkNormal = GetWorldNormals();
    if (!pkNormal)
        return;
    // Data loaded or given without coordinates gets the set it is to hold.
    if (!m_spGeomData->GetTextureSet(0))
        m_spGeomData->CreateTextures(true, 1);
    NiTexCoord* pkTexture = m_spGeomData->GetTextureSet(0);
    const uint16_t usCount = std::min(m_spGeomData->GetVertexCount(), m_usWorldNormsSize);
    for (uint16_t i = 0; i < usCount; ++i)
    {
        const NiPoint3& kNormal = pkNormal[i];
        const NiPoint3 kReflected = kUnit - kNormal * (2.0f * kNormal.DotProduct(kUnit));
        // x goes once round the vertical axis: 0 to 0.5 on the side of positive x, 0.5 to 1 on
        // the other.
        pkTexture[i].x = kReflected.x >= 0.0f ? (1.0f - kReflected.z) * 0.25f : (3.0f + kReflected.z) * 0.25f;
        pkTexture[i].y = (kReflected.y + 1.0f) * 0.5f;
    }
    m_spGeomData->IncrementRevision();
}

void NiEnvMappedTriShape::Draw(NiCamera* pkCamera)
{
    NiRender* pkRenderer = pkCamera ? pkCamera->GetRenderer() : nullptr;
    if (!pkRenderer || !m_spGeomData || pkRenderer->AccumulateObject(this))
        return;
    ComputeEnvMapCoords(pkCamera->GetWorldLocation());
    pkCamera->SetRendererClipPlanes();
    pkRenderer->SetObjectTransform(m_worldTranslate, m_worldRotate, m_worldScale);
    NiTriShapeData* pkData = GetTriShapeData();
    pkRenderer->DrawTriShape(pkData, *GetWorldBoundPtr());
    CountDraw(pkData->GetTriangleCount(), pkData->GetVertexCount());
}

NiObject* NiEnvMappedTriShape::MakeClone()
{
    NiEnvMappedTriShape* pkClone = new NiEnvMappedTriShape;
    CopyToClone(pkClone);
    pkClone->AllocWorldNormals();
    return pkClone;
}

void NiEnvMappedTriShape::ResolveLinks(NiStream& kStream)
{
    NiTriShape::ResolveLinks(kStream);
    AllocWorldNormals();
}

void NiEnvMappedTriShape::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriShape::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiEnvMappedTriShape"));
}
