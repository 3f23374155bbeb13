#include "scene/graph/NiGeometry.h"

#include "scene/graph/NiCamera.h"
#include "scene/graph/NiDynamicEffect.h"
#include "scene/graph/NiEffectLists.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiRender.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiTransformRoutines.h"

#include <algorithm>
#include <new>

NiImplementRTTI(NiGeometry, NiAVObject);
NiImplementAbstractLoader(NiGeometry);

namespace
{
// An array of the count, zeroed, or null when memory runs out.
std::unique_ptr<NiPoint3[]> NewWorldArray(uint16_t usCount)
{
    return std::unique_ptr<NiPoint3[]>(new (std::nothrow) NiPoint3[usCount]());
}

// p -> M p + w and n -> (M^-1)^T n over the positions and normals of the data.
void BakeData(NiGeometryData& kData, const NiRotationMatrix& kMatrix, const NiPoint3& kOffset)
{
    const uint16_t usCount = kData.GetActiveVertexCount();
    if (NiPoint3* pkVertex = kData.GetVertices())
    {
        for (uint16_t i = 0; i < usCount; ++i)
            pkVertex[i] = kMatrix * pkVertex[i] + kOffset;
    }
    if (NiPoint3* pkNormal = kData.GetNormals())
    {
        NiRotationMatrix kInverse;
        kMatrix.Inverse(kInverse);
        // (M^-1)^T n is n turned by the transpose of the inverse.
        for (uint16_t i = 0; i < usCount; ++i)
            pkNormal[i] = kInverse.TransposeTimes(pkNormal[i]);
    }
    if (kData.GetVertices())
        kData.GetBound().ComputeFromData(usCount, kData.GetVertices());
}
} // namespace

NiGeometry::NiGeometry() = default;

NiGeometry::NiGeometry(NiGeometryData* pkData) : m_spGeomData(pkData) {}

NiGeometry::~NiGeometry()
{
    m_spGeomData = nullptr;
    m_spWorldVerts.reset();
    m_spWorldNorms.reset();
    m_spEffectLists = nullptr;
    m_spPropTable = nullptr;
}

//--- Data ---------------------------------------------------------------------------------------

NiPoint3* NiGeometry::GetVertexArray() const
{
    return m_spGeomData ? m_spGeomData->GetVertices() : nullptr;
}

NiPoint3* NiGeometry::GetNormalArray() const
{
    return m_spGeomData ? m_spGeomData->GetNormals() : nullptr;
}

NiColorA* NiGeometry::GetColorArray() const
{
    return m_spGeomData ? m_spGeomData->GetColors() : nullptr;
}

NiTexCoord* NiGeometry::GetTextureArray() const
{
    return m_spGeomData ? m_spGeomData->GetTextures() : nullptr;
}

const ClassRecord* NiGeometry::GetDataClassRecord() const
{
    return &NiGeometryData::ms_kClassRecord;
}

void NiGeometry::SetGeometryData(NiGeometryData* pkData)
{
    if (!pkData || !pkData->IsOfClass(GetDataClassRecord()))
        return;
    // The old count is read while the old data is surely still alive.
    const bool bHadData = m_spGeomData;
    const uint16_t usOldVertices = bHadData ? m_spGeomData->GetVertexCount() : 0;
    m_spGeomData = pkData;
    if (bHadData && pkData->GetVertexCount() != usOldVertices)
    {
        if (m_spWorldVerts)
        {
            FreeWorldVertices();
            AllocWorldVertices();
        }
        if (m_spWorldNorms)
        {
            FreeWorldNormals();
            AllocWorldNormals();
        }
    }
    ComputeWorldVertices();
    ComputeWorldNormals();
}

void NiGeometry::ComputeNormals()
{
    if (m_spGeomData)
        m_spGeomData->ComputeNormals();
}

//--- World arrays -------------------------------------------------------------------------------

void NiGeometry::AllocWorldVertices()
{
    if (m_spWorldVerts || !m_spGeomData)
        return;
    m_usWorldVertsSize = m_spGeomData->GetVertexCount();
    m_spWorldVerts = NewWorldArray(m_usWorldVertsSize);
    if (!m_spWorldVerts)
        m_usWorldVertsSize = 0;
    m_bWorldVertsStale = true;
}

void NiGeometry::ComputeWorldVertices()
{
    if (!m_spWorldVerts || !m_bWorldVertsStale || !m_spGeomData || !m_spGeomData->GetVertices())
        return;
    const uint16_t usCount = std::min(m_spGeomData->GetActiveVertexCount(), m_usWorldVertsSize);
    g_pfnTransformPositions(usCount, m_spGeomData->GetVertices(), m_spWorldVerts.get(), m_worldRotate,
                            m_worldScale, m_worldTranslate);
    m_bWorldVertsStale = false;
}

void NiGeometry::FreeWorldVertices()
{
    m_spWorldVerts.reset();
    m_usWorldVertsSize = 0;
    m_bWorldVertsStale = false;
}

void NiGeometry::AllocWorldNormals()
{
    if (m_spWorldNorms || !m_spGeomData)
        return;
    m_usWorldNormsSize = m_spGeomData->GetVertexCount();
    m_spWorldNorms = NewWorldArray(m_usWorldNormsSize);
    if (!m_spWorldNorms)
        m_usWorldNormsSize = 0;
    m_bWorldNormsStale = true;
}

void NiGeometry::ComputeWorldNormals()
{
    // Data without normals has nothing to turn; the array keeps what it holds.
    if (!m_spWorldNorms || !m_bWorldNormsStale || !m_spGeomData || !m_spGeomData->GetNormals())
        return;
    const uint16_t usCount = std::min(m_spGeomData->GetActiveVertexCount(), m_usWorldNormsSize);
    g_pfnTransformNormals(usCount, m_spGeomData->GetNormals(), m_spWorldNorms.get(), m_worldRotate);
    m_bWorldNormsStale = false;
}

void NiGeometry::FreeWorldNormals()
{
    m_spWorldNorms.reset();
    m_usWorldNormsSize = 0;
    m_bWorldNormsStale = false;
}

//--- Scene-object operations --------------------------------------------------------------------

void NiGeometry::BakeTransform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate,
                               bool bInParentFrame)
{
    if (!m_spGeomData)
        return;
    if (!bInParentFrame)
    {
        BakeData(*m_spGeomData, kRotate, kTranslate);
        return;
    }
    // Given in the parent's frame after the local transform: conjugate by the local rotation.
    if (m_fLocalScale == 0.0f)
        return;
    const NiRotationMatrix kMatrix = m_localRotate.TransposeTimes(kRotate * m_localRotate);
    const NiPoint3 kOffset =
        m_localRotate.TransposeTimes(kRotate * m_localTranslate + kTranslate - m_localTranslate) *
        (1.0f / m_fLocalScale);
    BakeData(*m_spGeomData, kMatrix, kOffset);
}

void NiGeometry::PropagatePropertyTable(NiPropertyTable* pkTable)
{
    NiRefPtr<NiPropertyTable> spTable = BuildPropertyTable(pkTable, true);
    if (spTable != m_spPropTable)
        m_spPropTable = spTable;
}

void NiGeometry::PropagateEffectLists(NiEffectLists* pkLists)
{
    // Geometry reached by equal effects shares one lists object, so the renderer can compare
    // effect state by identity.
    m_spEffectLists = NiEffectLists::Share(pkLists);
}

NiPropertyTable* NiGeometry::GetPropertyTable() const
{
    return m_spPropTable;
}

NiEffectLists* NiGeometry::GetEffectLists() const
{
    return m_spEffectLists;
}

void NiGeometry::PassedCulling(NiCamera* pkCamera)
{
    NiAVObject::PassedCulling(pkCamera);
    NiRender* pkRenderer = pkCamera ? pkCamera->GetRenderer() : nullptr;
    if (!pkRenderer)
        return;
    if (m_spPropTable)
        pkRenderer->SetCurrentPropertyTable(m_spPropTable);
    pkRenderer->SetCurrentEffectLists(m_spEffectLists);
}

void NiGeometry::UpdateWorldTransform()
{
    NiAVObject::UpdateWorldTransform();
    m_bWorldVertsStale = true;
    m_bWorldNormsStale = true;
}

void NiGeometry::RecomputeWorldBound()
{
    if (!m_spGeomData)
        return;
    NiBoundingSphere& kBound = m_spGeomData->GetBound();
    if (kBound.m_ucNotComputed && m_spGeomData->GetVertices())
        kBound.ComputeFromData(m_spGeomData->GetActiveVertexCount(), m_spGeomData->GetVertices());
    m_worldBound.Update(kBound, m_worldRotate, m_worldTranslate, m_worldScale);
}

//--- Stream and clone ---------------------------------------------------------------------------

NiObject* NiGeometry::MakeClone()
{
    return nullptr;
}

void NiGeometry::CopyToClone(NiGeometry* pkClone)
{
    NiAVObject::CopyToClone(pkClone);
    if (m_spGeomData)
        pkClone->SetGeometryData(static_cast<NiGeometryData*>(m_spGeomData->MakeClone()));
}

NiRender* NiGeometry::BeginDraw(NiCamera* pkCamera)
{
    NiRender* pkRenderer = pkCamera ? pkCamera->GetRenderer() : nullptr;
    if (!pkRenderer || !m_spGeomData || pkRenderer->AccumulateObject(this))
        return nullptr;
    pkCamera->SetRendererClipPlanes();
    pkRenderer->SetObjectTransform(m_worldTranslate, m_worldRotate, m_worldScale);
    return pkRenderer;
}

void NiGeometry::LoadBinary(NiStream& kStream)
{
    NiAVObject::LoadBinary(kStream);
    kStream.Load(kStream.GetLinkRecord<NiGeometryLinkRecord>().m_uiDataID);
}

void NiGeometry::ResolveLinks(NiStream& kStream)
{
    NiAVObject::ResolveLinks(kStream);
    // A link to data of another kind (lines under a triangle shape) is no data at all.
    NiGeometryData* pkData = kStream.LookupLinkedObjectAs<NiGeometryData>(
        kStream.GetLinkRecord<NiGeometryLinkRecord>().m_uiDataID);
    if (pkData && pkData->IsOfClass(GetDataClassRecord()))
        m_spGeomData = pkData;
}

bool NiGeometry::RegisterForSave(NiStream& kStream)
{
    if (!NiAVObject::RegisterForSave(kStream))
        return false;
    if (m_spGeomData)
        m_spGeomData->RegisterForSave(kStream);
    return true;
}

void NiGeometry::SaveBinary(NiStream& kStream)
{
    NiAVObject::SaveBinary(kStream);
    kStream.SaveLinkID(m_spGeomData);
}

bool NiGeometry::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiAVObject::IsEquivalent(pkObject))
        return false;
    const NiGeometryData* pkOther = static_cast<const NiGeometry*>(pkObject)->m_spGeomData;
    if (!m_spGeomData || !pkOther)
        return !m_spGeomData && !pkOther;
    return m_spGeomData->IsEquivalent(pkOther);
}

void NiGeometry::AddFieldStrings(NiFieldStringList& kList) const
{
    NiAVObject::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiGeometry"));
}
