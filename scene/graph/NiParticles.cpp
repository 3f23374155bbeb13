#include "scene/graph/NiParticles.h"

#include "scene/graph/NiRender.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiTransformRoutines.h"

#include <algorithm>

NiImplementRTTI(NiParticles, NiTriBasedGeom);
NiImplementCreateObject(NiParticles);

NiParticles::NiParticles(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor)
    : NiTriBasedGeom(new NiParticlesData(usVertices, pkVertex, pkNormal, pkColor))
{
}

const ClassRecord* NiParticles::GetDataClassRecord() const
{
    return &NiParticlesData::ms_kClassRecord;
}

bool NiParticles::GetModelTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2)
{
    // One point-like triangle per particle, as in world space.
    return CornersAt(GetVertexArray(), m_spGeomData ? m_spGeomData->GetVertexCount() : 0, usTriangle,
                     usTriangle, usTriangle, pkP0, pkP1, pkP2);
}

bool NiParticles::GetWorldTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2)
{
    return CornersAt(GetWorldVertices(), m_usWorldVertsSize, usTriangle, usTriangle, usTriangle, pkP0, pkP1,
                     pkP2);
}

bool NiParticles::GetTriangleIndices(uint16_t, uint16_t&, uint16_t&, uint16_t&)
{
    return false;
}

void NiParticles::ComputeWorldVertices()
{
    const NiParticlesData* pkData = GetParticlesData();
    if (!m_spWorldVerts || !m_bWorldVertsStale || !pkData || !pkData->GetVertices())
        return;
    const uint16_t usCount = std::min(pkData->GetActiveCount(), m_usWorldVertsSize);
    g_pfnTransformPositions(usCount, pkData->GetVertices(), m_spWorldVerts.get(), m_worldRotate, m_worldScale,
                            m_worldTranslate);
    m_bWorldVertsStale = false;
}

void NiParticles::ComputeWorldNormals()
{
    const NiParticlesData* pkData = GetParticlesData();
    if (!m_spWorldNorms || !m_bWorldNormsStale || !pkData || !pkData->GetNormals())
        return;
    const uint16_t usCount = std::min(pkData->GetActiveCount(), m_usWorldNormsSize);
    g_pfnTransformNormals(usCount, pkData->GetNormals(), m_spWorldNorms.get(), m_worldRotate);
    m_bWorldNormsStale = false;
}

void NiParticles::RecomputeWorldBound()
{
    NiParticlesData* pkData = GetParticlesData();
    if (!pkData)
        return;
    // Computed once; whoever moves the particles keeps it up to date.
    NiBoundingSphere& kBound = pkData->GetBound();
    if (kBound.m_ucNotComputed && pkData->GetVertices())
        kBound.ComputeFromData(pkData->GetActiveCount(), pkData->GetVertices());
    m_worldBound.Update(kBound, m_worldRotate, m_worldTranslate, m_worldScale);
}

void NiParticles::Draw(NiCamera* pkCamera)
{
    if (NiRender* pkRenderer = BeginDraw(pkCamera))
        DrawParticles(pkRenderer);
}

void NiParticles::DrawParticles(NiRender* pkRenderer)
{
    NiParticlesData* pkData = GetParticlesData();
    pkRenderer->DrawParticles(pkData, *GetWorldBoundPtr());
    CountDraw(pkData->GetActiveCount(), pkData->GetActiveCount());
}

bool NiParticles::FindPickHits(const NiPoint3&, const NiPoint3&, NiPicker&)
{
    return false;
}

NiObject* NiParticles::MakeClone()
{
    NiParticles* pkClone = new NiParticles;
    CopyToClone(pkClone);
    return pkClone;
}

void NiParticles::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriBasedGeom::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiParticles"));
}
