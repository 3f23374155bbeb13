#include "scene/bezier/NiBezierPatch.h"

#include "scene/bezier/NiBezierVertexCache.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiDynamicEffect.h"
#include "scene/graph/NiEffectLists.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPicker.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiRender.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/graph/NiTriBasedGeom.h"
#include "scene/graph/NiTriShapeDynamicData.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

// Contents: construction / control data / level and tessellation / kernels / world data and
// the scene-object operations / picking / stream / clone and comparison.

NiImplementRTTI(NiBezierPatch, NiAVObject);
NiImplementAbstractLoader(NiBezierPatch);

NiBezierPatch* NiBezierPatch::ms_pkCurrentPatch = nullptr;

namespace
{
template <class T> T* CopyOf(const T* pkSource, size_t uiCount)
{
    if (!pkSource)
        return nullptr;
    T* pkCopy = new T[uiCount];
    std::copy_n(pkSource, uiCount, pkCopy);
    return pkCopy;
}

// An array of count values read from the stream, or null when the input does not hold them.
template <class T> T* LoadValues(NiStream& kStream, uint32_t uiCount)
{
    if (!kStream.RequireBytes(uint64_t(uiCount) * sizeof(T)))
        return nullptr;
    T* pkValues = new T[uiCount];
    kStream.Read(pkValues, uiCount * sizeof(T));
    return pkValues;
}

template <class T> bool SameBytes(const T* pkA, const T* pkB, size_t uiCount)
{
    if (!pkA || !pkB)
        return pkA == pkB;
    return std::memcmp(pkA, pkB, uiCount * sizeof(T)) == 0;
}

NiTexCoord Weighted(const NiTexCoord& kA, const NiTexCoord& kB, const NiTexCoord& kC, float fA, float fB,
                    float fC)
{
    return NiTexCoord(kA.x * fA + kB.x * fB + kC.x * fC, kA.y * fA + kB.y * fB + kC.y * fC);
}

NiColorA Weighted(const NiColorA& kA, const NiColorA& kB, const NiColorA& kC, float fA, float fB, float fC)
{
    return NiColorA(kA.r * fA + kB.r * fB + kC.r * fC, kA.g * fA + kB.g * fB + kC.g * fC,
                    kA.b * fA + kB.b * fB + kC.b * fC, kA.a * fA + kB.a * fB + kC.a * fC);
}
} // namespace

//--- Construction -------------------------------------------------------------------------------

NiBezierPatch::NiBezierPatch() = default;

NiBezierPatch::NiBezierPatch(uint16_t usDegree, uint16_t usCount, NiPoint3* pkPoints,
                             NiTexCoord* pkTextureCoords, NiColorA* pkColors, bool bNormals)
    : m_usDegree(usDegree), m_usNumControlPoints(usCount), m_usNumTextureSets(pkTextureCoords ? 1 : 0),
      m_usControlPointStride(usCount), m_pkControlPoints(pkPoints), m_pkTextureCoords(pkTextureCoords),
      m_pkColors(pkColors), m_usSourceTextureSets(pkTextureCoords ? 1 : 0)
{
    if (bNormals)
        m_usFlags |= NORMALS_MASK;
    AllocateBasis();
}

NiBezierPatch::NiBezierPatch(uint16_t usDegree, uint16_t usCount, uint16_t* pusIndices, NiPoint3* pkPoints,
                             NiTexCoord* pkTextureCoords, NiColorA* pkColors, bool bNormals,
                             uint16_t usStride)
    : NiBezierPatch(usDegree, usCount, pkPoints, pkTextureCoords, pkColors, bNormals)
{
    m_pusIndices = pusIndices;
    m_usControlPointStride = usStride;
}

NiBezierPatch::~NiBezierPatch()
{
    if (ms_pkCurrentPatch == this)
        ms_pkCurrentPatch = nullptr;
    FreeControlData();
    // The render data must not free the output arrays it points at.
    if (m_spRenderData)
    {
        m_spRenderData->SetTriList(nullptr);
        m_spRenderData->SetData(0, nullptr, nullptr, nullptr, nullptr);
        m_spRenderData = nullptr;
    }
    m_spEffectLists = nullptr;
    m_spPropertyTable = nullptr;
}

void NiBezierPatch::AllocateBasis()
{
    m_pfBasis.reset(new float[m_usNumControlPoints]());
    m_pfBasisU.reset(new float[m_usNumControlPoints]());
    m_pfBasisV.reset(new float[m_usNumControlPoints]());
}

void NiBezierPatch::FreeControlData()
{
    if (m_pusIndices)
    {
        delete[] m_pusIndices;
    }
    else
    {
        delete[] m_pkControlPoints;
        delete[] m_pkTextureCoords;
        delete[] m_pkColors;
    }
    m_pusIndices = nullptr;
    m_pkControlPoints = nullptr;
    m_pkTextureCoords = nullptr;
    m_pkColors = nullptr;
}

//--- Control data -------------------------------------------------------------------------------

void NiBezierPatch::SetControlPointArrays(NiPoint3* pkPoints, NiTexCoord* pkTextureCoords, NiColorA* pkColors)
{
    if (!m_pusIndices)
        return;
    m_pkControlPoints = pkPoints;
    m_pkTextureCoords = pkTextureCoords;
    m_pkColors = pkColors;
    m_usSourceTextureSets = pkTextureCoords ? 1 : 0;
}

void NiBezierPatch::SetTextureSetCount(uint16_t usCount)
{
    m_usNumTextureSets = usCount;
    if (m_pkTextureArray)
        m_pkTextureArray->SetSetCount(usCount);
}

bool NiBezierPatch::IsValidShape(uint16_t, uint16_t) const
{
    return false;
}

//--- Level and tessellation ---------------------------------------------------------------------

void NiBezierPatch::SetAdaptive(bool bAdaptive)
{
    if (bAdaptive == GetAdaptive())
        return;
    m_usFlags = static_cast<uint16_t>(bAdaptive ? (m_usFlags | ADAPTIVE_MASK) : (m_usFlags & ~ADAPTIVE_MASK));
    Tessellate(m_ucLevel);
}

void NiBezierPatch::SetLevel(uint8_t ucLevel)
{
    if (ucLevel == m_ucLevel || ucLevel > GetMaxLevel())
        return;
    Tessellate(ucLevel);
    m_ucLevel = ucLevel;
}

uint8_t NiBezierPatch::GetMaxLevel() const
{
    return 0;
}

void NiBezierPatch::Tessellate(uint8_t ucLevel)
{
    if (!m_pkControlPoints || m_usNumControlPoints == 0 || ucLevel > GetMaxLevel())
        return;
    if (GetAdaptive())
    {
        // Only this tessellation may read and record decisions in the vertex cache; a patch
        // asked by it (or asked later) decides afresh.
        ms_pkCurrentPatch = this;
        TessellateAdaptive(ucLevel);
        ms_pkCurrentPatch = nullptr;
    }
    else
    {
        TessellateUniform(ucLevel);
    }
    if (!m_pkPositionArray || !m_pkTriangleArray)
        return;

    const uint16_t usCapacity = static_cast<uint16_t>(m_pkPositionArray->GetCapacity());
    NiPoint3* pkNormals = m_pkNormalArray ? m_pkNormalArray->GetBase() : nullptr;
    NiColorA* pkColors = m_pkColorArray ? m_pkColorArray->GetBase() : nullptr;
    NiTexCoord* pkTextures = m_pkTextureArray ? m_pkTextureArray->GetBase() : nullptr;
    if (!m_spRenderData)
    {
        m_spRenderData = new NiTriShapeDynamicData(
            usCapacity, m_pkPositionArray->GetBase(), pkNormals, pkColors, pkTextures, m_usNumTriangles,
            m_pkTriangleArray->GetBase(), m_usNumVertices, m_usNumTriangles);
        m_spRenderData->SetTextureSets(m_usNumTextureSets);
        return;
    }
    m_spRenderData->SetData(usCapacity, m_pkPositionArray->GetBase(), pkNormals, pkColors, pkTextures);
    m_spRenderData->SetTriangleCount(m_usNumTriangles);
    m_spRenderData->SetTriList(m_pkTriangleArray->GetBase());
    m_spRenderData->SetActiveVertexCount(m_usNumVertices);
    m_spRenderData->SetActiveTriangleCount(m_usNumTriangles);
    m_spRenderData->SetTextureSets(m_usNumTextureSets);
    m_spRenderData->IncrementRevision();
}

uint16_t NiBezierPatch::Evaluate(float fU, float fV)
{
    ComputeBasis(fU, fV);
    return (this->*m_pfnKernel)(fU, fV);
}

bool NiBezierPatch::IsEdgeSplit(uint16_t, uint16_t, uint8_t, uint8_t, uint8_t, int16_t)
{
    return false;
}

void NiBezierPatch::ComputeBasis(float, float) {}
void NiBezierPatch::TessellateUniform(uint8_t) {}
void NiBezierPatch::TessellateAdaptive(uint8_t) {}

bool NiBezierPatch::TestSubdivision(uint16_t, uint16_t, uint16_t, uint16_t)
{
    return false;
}

//--- Output arrays and kernels ------------------------------------------------------------------

const NiBezierPatch::VertexKernel NiBezierPatch::ms_apfnKernels[16] = {
    &NiBezierPatch::Kernel<0>,  &NiBezierPatch::Kernel<1>,  &NiBezierPatch::Kernel<2>,
    &NiBezierPatch::Kernel<3>,  &NiBezierPatch::Kernel<4>,  &NiBezierPatch::Kernel<5>,
    &NiBezierPatch::Kernel<6>,  &NiBezierPatch::Kernel<7>,  &NiBezierPatch::Kernel<8>,
    &NiBezierPatch::Kernel<9>,  &NiBezierPatch::Kernel<10>, &NiBezierPatch::Kernel<11>,
    &NiBezierPatch::Kernel<12>, &NiBezierPatch::Kernel<13>, &NiBezierPatch::Kernel<14>,
    &NiBezierPatch::Kernel<15>,
};

void NiBezierPatch::AllocateOutput()
{
    const uint32_t uiVertices = m_usNumVertices;
    m_pkPositionArray = std::make_unique<NiBezierPointArray>(uiVertices);
    m_pkWorldPositionArray = std::make_unique<NiBezierPointArray>(uiVertices);
    m_pkNormalArray.reset();
    m_pkWorldNormalArray.reset();
    m_pkTextureArray.reset();
    m_pkColorArray.reset();

    uint16_t usMask = 0;
    if (m_pkTextureCoords)
    {
        usMask |= 1;
        m_pkTextureArray = std::make_unique<NiBezierTexCoordArray>(m_usNumTextureSets, uiVertices);
    }
    if (m_pkColors)
    {
        usMask |= 2;
        m_pkColorArray = std::make_unique<NiBezierColorArray>(uiVertices);
    }
    if (GetNormalsWanted())
    {
        usMask |= 4;
        m_pkNormalArray = std::make_unique<NiBezierPointArray>(uiVertices);
        m_pkWorldNormalArray = std::make_unique<NiBezierPointArray>(uiVertices);
    }
    if (m_pusIndices)
        usMask |= 8;
    m_usKernelMask = usMask;
    m_pfnKernel = ms_apfnKernels[usMask];
    m_pkTriangleArray = std::make_unique<NiBezierIndexArray>(3u * m_usNumTriangles);
}

void NiBezierPatch::SampleControlData(uint16_t usCount, const float* pfU, const float* pfV,
                                      NiTexCoord*& pkTextureCoords, NiColorA*& pkColors)
{
    m_usNumVertices = usCount;
    m_usNumTriangles = 0;
    AllocateOutput();
    for (uint16_t i = 0; i < usCount; ++i)
        Evaluate(pfU[i], pfV[i]);
    pkTextureCoords = nullptr;
    pkColors = nullptr;
    if (m_pkTextureArray)
    {
        const uint16_t usSets = m_pkTextureArray->GetSetCount();
        pkTextureCoords = new NiTexCoord[size_t(std::max<uint16_t>(1, usSets)) * usCount]();
        for (uint16_t s = 0; s < usSets; ++s)
            for (uint16_t i = 0; i < usCount; ++i)
                pkTextureCoords[s * usCount + i] = m_pkTextureArray->GetAt(s, i);
    }
    if (m_pkColorArray)
    {
        pkColors = new NiColorA[usCount];
        for (uint16_t i = 0; i < usCount; ++i)
            pkColors[i] = m_pkColorArray->GetAt(i);
    }
    m_usNumVertices = static_cast<uint16_t>(m_pkPositionArray->GetCount());
}

void NiBezierPatch::FinishDegreeChange(NiBezierPatch* pkNew)
{
    pkNew->SetTextureSetCount(m_usNumTextureSets);
    if (pkNew->m_pkTextureCoords)
        pkNew->m_usSourceTextureSets = std::max<uint16_t>(1, m_usNumTextureSets);
    if (m_spRenderData)
        Tessellate(m_ucLevel);
}

void NiBezierPatch::AddTriangle(uint16_t usA, uint16_t usB, uint16_t usC)
{
    m_pkTriangleArray->Add(usA);
    m_pkTriangleArray->Add(usB);
    m_pkTriangleArray->Add(usC);
}

void NiBezierPatch::AddGridTriangles(uint32_t uiRows, uint32_t uiColumns)
{
    for (uint32_t j = 0; j < uiRows; ++j)
    {
        for (uint32_t i = 0; i < uiColumns; ++i)
        {
            const uint16_t a = static_cast<uint16_t>(j * (uiColumns + 1) + i);
            const uint16_t b = static_cast<uint16_t>(a + 1);
            const uint16_t c = static_cast<uint16_t>(a + uiColumns + 1);
            const uint16_t d = static_cast<uint16_t>(c + 1);
            AddTriangle(a, b, c);
            AddTriangle(b, d, c);
        }
    }
}

void NiBezierPatch::AddCachedTriangle(uint32_t uiA, uint32_t uiB, uint32_t uiC)
{
    const NiBezierVertexCache& kCache = NiBezierVertexCache::Get();
    uint16_t usA, usB, usC;
    if (!kCache.Lookup(uiA, usA) || !kCache.Lookup(uiB, usB) || !kCache.Lookup(uiC, usC))
        return;
    if (usA != NiBezierVertexCache::NONE && usB != NiBezierVertexCache::NONE &&
        usC != NiBezierVertexCache::NONE)
        AddTriangle(usA, usB, usC);
}

void NiBezierPatch::EnsureCachedVertex(uint32_t uiIndex, float fU, float fV)
{
    NiBezierVertexCache& kCache = NiBezierVertexCache::Get();
    uint16_t usVertex;
    if (kCache.Lookup(uiIndex, usVertex) && usVertex != NiBezierVertexCache::NONE)
        return;
    kCache.Store(uiIndex, Evaluate(fU, fV));
}

NiPoint3 NiBezierPatch::CachedPosition(uint32_t uiIndex, bool bOrigin, bool bVertexZeroCounts, float fU,
                                       float fV)
{
    const uint32_t uiPositions = m_pkPositionArray ? m_pkPositionArray->GetCount() : 0;
    uint16_t usVertex;
    if (IsCurrentPatch() && NiBezierVertexCache::Get().Lookup(uiIndex, usVertex) &&
        usVertex != NiBezierVertexCache::NONE && (usVertex != 0 || bVertexZeroCounts) &&
        usVertex < uiPositions)
        return GetOutputPosition(usVertex);
    if (bOrigin && uiPositions > 0)
        return GetOutputPosition(0);
    return SurfacePoint(fU, fV);
}

void NiBezierPatch::FinishOutput()
{
    m_usNumVertices = static_cast<uint16_t>(m_pkPositionArray->GetCount());
    m_usNumTriangles = static_cast<uint16_t>(m_pkTriangleArray->GetCount() / 3);
    m_kModelBound.ComputeFromData(m_usNumVertices, m_pkPositionArray->GetBase());
    m_bWorldDataDirty = true;
}

template <uint16_t MASK> uint16_t NiBezierPatch::Kernel(float, float)
{
    const uint32_t uiCount = m_usNumControlPoints;
    const float* pfWeight = m_pfBasis.get();
    auto Source = [this](uint32_t i) -> uint32_t
    {
        if constexpr ((MASK & 8) != 0)
            return m_pusIndices[i];
        else
            return i;
    };

    NiPoint3 kPosition(0.0f, 0.0f, 0.0f);
    for (uint32_t i = 0; i < uiCount; ++i)
        kPosition += m_pkControlPoints[Source(i)] * pfWeight[i];

    if constexpr ((MASK & 1) != 0)
    {
        const uint32_t uiStride = m_usControlPointStride;
        for (uint16_t s = 0; s < m_usNumTextureSets; ++s)
        {
            const uint32_t uiSet = std::min<uint32_t>(s, m_usSourceTextureSets - 1u);
            float fU = 0.0f;
            float fV = 0.0f;
            for (uint32_t i = 0; i < uiCount; ++i)
            {
                const NiTexCoord& kCoord = m_pkTextureCoords[uiSet * uiStride + Source(i)];
                fU += pfWeight[i] * kCoord.x;
                fV += pfWeight[i] * kCoord.y;
            }
            m_pkTextureArray->Add(s, fU, fV);
        }
    }
    if constexpr ((MASK & 2) != 0)
    {
        NiColorA kColor(0.0f, 0.0f, 0.0f, 0.0f);
        for (uint32_t i = 0; i < uiCount; ++i)
        {
            const NiColorA& kSource = m_pkColors[Source(i)];
            kColor.r += pfWeight[i] * kSource.r;
            kColor.g += pfWeight[i] * kSource.g;
            kColor.b += pfWeight[i] * kSource.b;
            kColor.a += pfWeight[i] * kSource.a;
        }
        m_pkColorArray->Add(kColor.r, kColor.g, kColor.b, kColor.a);
    }
    if constexpr ((MASK & 4) != 0)
    {
        NiPoint3 kDu(0.0f, 0.0f, 0.0f);
        NiPoint3 kDv(0.0f, 0.0f, 0.0f);
        for (uint32_t i = 0; i < uiCount; ++i)
        {
            kDu += m_pkControlPoints[Source(i)] * m_pfBasisU[i];
            kDv += m_pkControlPoints[Source(i)] * m_pfBasisV[i];
        }
        NiPoint3 kNormal;
        kDu.UnitCross(kNormal, kDv);
        m_pkNormalArray->Append(kNormal);
    }
    return static_cast<uint16_t>(m_pkPositionArray->Append(kPosition));
}

NiPoint3 NiBezierPatch::SurfacePoint(float fU, float fV)
{
    ComputeBasis(fU, fV);
    NiPoint3 kPoint(0.0f, 0.0f, 0.0f);
    for (uint32_t i = 0; i < m_usNumControlPoints; ++i)
        kPoint += ControlPoint(i) * m_pfBasis[i];
    return kPoint;
}

NiPoint3 NiBezierPatch::ToWorld(const NiPoint3& kModel) const
{
    return m_worldRotate * kModel * m_worldScale + m_worldTranslate;
}

bool NiBezierPatch::TestScreenSpan(const NiPoint3& kModelA, const NiPoint3& kModelB) const
{
    NiRender* pkRenderer = m_pkCamera ? m_pkCamera->GetRenderer() : nullptr;
    if (!pkRenderer)
        return false;
    const NiPoint3 kA = ToWorld(kModelA);
    const NiPoint3 kB = ToWorld(kModelB);
    auto Row = [this](uint32_t uiRow, const NiPoint3& kPoint)
    {
        const float* pfRow = m_pkCamera->GetWorldToClipRow(uiRow);
        return pfRow[0] * kPoint.x + pfRow[1] * kPoint.y + pfRow[2] * kPoint.z + pfRow[3];
    };
    const float fXA = Row(0, kA), fYA = Row(1, kA), fWA = Row(3, kA);
    const float fXB = Row(0, kB), fYB = Row(1, kB), fWB = Row(3, kB);
    auto Inside = [](float fX, float fY, float fW) { return -fW <= fX && fX <= fW && -fW <= fY && fY <= fW; };
    if (!Inside(fXA, fYA, fWA) && !Inside(fXB, fYB, fWB))
        return false;
    const NiRect<float>& kPort = m_pkCamera->GetViewPort();
    const float fLimit = m_fScreenTolerance * (fWA + fWB);
    const float fWidth = static_cast<float>(pkRenderer->GetScreenWidth());
    const float fHeight = static_cast<float>(pkRenderer->GetScreenHeight());
    return std::fabs(fWidth * (kPort.m_right - kPort.m_left) * (fXB - fXA)) > fLimit ||
           std::fabs(fHeight * (kPort.m_top - kPort.m_bottom) * (fYB - fYA)) > fLimit;
}

NiBezierPatch* NiBezierPatch::GetNeighbor(uint32_t uiIndex) const
{
    if (!m_pkParent || uiIndex >= m_pkParent->GetArrayCount())
        return nullptr;
    NiBezierPatch* pkNeighbor = NiDynamicCast<NiBezierPatch>(m_pkParent->GetAt(uiIndex));
    // A neighbour without control points (not linked to the mesh's arrays) cannot answer.
    return pkNeighbor && pkNeighbor->m_pkControlPoints && pkNeighbor != this ? pkNeighbor : nullptr;
}

//--- World data and the scene-object operations -------------------------------------------------

void NiBezierPatch::UpdateWorldData()
{
    if (m_pkPositionArray && m_pkWorldPositionArray)
    {
        m_pkWorldPositionArray->RemoveAll();
        for (uint16_t i = 0; i < m_usNumVertices; ++i)
            m_pkWorldPositionArray->Append(ToWorld(m_pkPositionArray->GetAt(i)));
    }
    if (m_pkNormalArray && m_pkWorldNormalArray)
    {
        m_pkWorldNormalArray->RemoveAll();
        for (uint16_t i = 0; i < m_usNumVertices; ++i)
            m_pkWorldNormalArray->Append(m_worldRotate * m_pkNormalArray->GetAt(i));
    }
    m_bWorldDataDirty = false;
}

const NiPoint3* NiBezierPatch::GetWorldPositions()
{
    if (m_bWorldDataDirty)
        UpdateWorldData();
    return m_pkWorldPositionArray ? m_pkWorldPositionArray->GetBase() : nullptr;
}

const NiPoint3* NiBezierPatch::GetWorldNormals()
{
    if (m_bWorldDataDirty)
        UpdateWorldData();
    return m_pkWorldNormalArray ? m_pkWorldNormalArray->GetBase() : nullptr;
}

void NiBezierPatch::UpdateWorldTransform()
{
    NiAVObject::UpdateWorldTransform();
    m_bWorldDataDirty = true;
}

void NiBezierPatch::RecomputeWorldBound()
{
    m_worldBound.Update(m_kModelBound, m_worldRotate, m_worldTranslate, m_worldScale);
}

void NiBezierPatch::PassedCulling(NiCamera* pkCamera)
{
    NiAVObject::PassedCulling(pkCamera);
    if (!m_pkCamera)
        m_pkCamera = pkCamera;
    if (m_bWorldDataDirty)
        UpdateWorldData();
    NiRender* pkRenderer = pkCamera ? pkCamera->GetRenderer() : nullptr;
    if (!pkRenderer)
        return;
    if (m_spPropertyTable)
        pkRenderer->SetCurrentPropertyTable(m_spPropertyTable);
    pkRenderer->SetCurrentEffectLists(m_spEffectLists);
}

void NiBezierPatch::Draw(NiCamera* pkCamera)
{
    NiRender* pkRenderer = pkCamera ? pkCamera->GetRenderer() : nullptr;
    // A patch never tessellated has nothing to hand the renderer.
    if (!pkRenderer || !m_spRenderData || pkRenderer->AccumulateObject(this))
        return;
    pkCamera->SetRendererClipPlanes();
    pkRenderer->SetObjectTransform(m_worldTranslate, m_worldRotate, m_worldScale);
    pkRenderer->DrawTriShape(m_spRenderData, *GetWorldBoundPtr());
}

void NiBezierPatch::PropagatePropertyTable(NiPropertyTable* pkTable)
{
    m_spPropertyTable = BuildPropertyTable(pkTable, true);
}

void NiBezierPatch::PropagateEffectLists(NiEffectLists* pkLists)
{
    m_spEffectLists = NiEffectLists::Share(pkLists);
}

NiPropertyTable* NiBezierPatch::GetPropertyTable() const
{
    return m_spPropertyTable;
}

NiEffectLists* NiBezierPatch::GetEffectLists() const
{
    return m_spEffectLists;
}

bool NiBezierPatch::CheckCollision(float, const NiCollisionRecord&, const NiCollisionRecord&)
{
    return false;
}

int32_t NiBezierPatch::CollectCollisions(float, const NiCollisionRecord&, const NiCollisionRecord&)
{
    return 0;
}

//--- Picking ------------------------------------------------------------------------------------

bool NiBezierPatch::FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker)
{
    if ((kPicker.GetSkipAppCulled() && GetAppCulled()) || !RayHitsBound(kOrigin, kDirection))
        return false;
    if (kPicker.GetTestKind() == NiPicker::BOUND_INTERSECT)
    {
        kPicker.AddRecord(this);
        return true;
    }
    if (!m_pkPositionArray || !m_pkTriangleArray || m_worldScale == 0.0f)
        return false;
    const float fInverseScale = 1.0f / m_worldScale;
    const NiPoint3 kModelOrigin = m_worldRotate.TransposeTimes(kOrigin - m_worldTranslate) * fInverseScale;
    const NiPoint3 kModelDirection = m_worldRotate.TransposeTimes(kDirection) * fInverseScale;
    const bool bWorld = kPicker.GetCoordinateSpace() == NiPicker::WORLD_COORDINATES;
    const uint16_t* pusTriangles = m_pkTriangleArray->GetBase();

    bool bHit = false;
    for (uint16_t t = 0; t < m_usNumTriangles; ++t)
    {
        const uint16_t aus[3] = {pusTriangles[3 * t], pusTriangles[3 * t + 1], pusTriangles[3 * t + 2]};
        const NiPoint3& kP0 = GetOutputPosition(aus[0]);
        const NiPoint3& kP1 = GetOutputPosition(aus[1]);
        const NiPoint3& kP2 = GetOutputPosition(aus[2]);
        NiPoint3 kPoint;
        float fT, fB1, fB2;
        if (!NiTriBasedGeom::RayTriangleHit(kModelOrigin, kModelDirection, kP0, kP1, kP2,
                                            kPicker.GetFrontFacesOnly(), kPoint, fT, fB1, fB2))
            continue;
        const float fB0 = 1.0f - fB1 - fB2;
        NiPicker::Record* pkRecord = kPicker.AddRecord(this);
        pkRecord->m_kPoint = bWorld ? ToWorld(kPoint) : kPoint;
        pkRecord->m_fDistance = fT;
        pkRecord->m_usTriangle = t;
        std::copy_n(aus, 3, pkRecord->m_ausVertex);
        if (kPicker.GetWantTexture() && m_pkTextureArray && m_pkTextureArray->GetSetCount() > 0)
            pkRecord->m_kTexture =
                Weighted(m_pkTextureArray->GetAt(0, aus[0]), m_pkTextureArray->GetAt(0, aus[1]),
                         m_pkTextureArray->GetAt(0, aus[2]), fB0, fB1, fB2);
        if (kPicker.GetWantNormal())
        {
            NiPoint3 kNormal;
            if (kPicker.GetNormalFromVertexNormals() && m_pkNormalArray)
                kNormal = m_pkNormalArray->GetAt(aus[0]) * fB0 + m_pkNormalArray->GetAt(aus[1]) * fB1 +
                          m_pkNormalArray->GetAt(aus[2]) * fB2;
            else
                kNormal = (kP1 - kP0).Cross(kP2 - kP0);
            kNormal.Unitize();
            pkRecord->m_kNormal = bWorld ? m_worldRotate * kNormal : kNormal;
        }
        pkRecord->m_kColor = kPicker.GetWantColor() && m_pkColorArray
                                 ? Weighted(m_pkColorArray->GetAt(aus[0]), m_pkColorArray->GetAt(aus[1]),
                                            m_pkColorArray->GetAt(aus[2]), fB0, fB1, fB2)
                                 : NiColorA::WHITE;
        bHit = true;
    }
    return bHit;
}

//--- Stream -------------------------------------------------------------------------------------

void NiBezierPatch::LoadBinary(NiStream& kStream)
{
    NiAVObject::LoadBinary(kStream);
    kStream.Load(m_usDegree);
    kStream.Load(m_usNumControlPoints);
    kStream.Load(m_usNumTextureSets);
    kStream.Load(m_usControlPointStride);
    kStream.Load(m_ucLevel);
    uint32_t uiIndexed = 0;
    kStream.Load(uiIndexed);
    const uint32_t uiCount = m_usNumControlPoints;
    if (uiIndexed != 0)
    {
        m_pusIndices = LoadValues<uint16_t>(kStream, uiCount);
    }
    else
    {
        m_pkControlPoints = LoadValues<NiPoint3>(kStream, uiCount);
        uint32_t uiTextures = 0;
        kStream.Load(uiTextures);
        if (uiTextures != 0)
        {
            m_pkTextureCoords = LoadValues<NiTexCoord>(kStream, uiCount);
            m_usNumTextureSets = 1;
            m_usSourceTextureSets = 1;
        }
        uint32_t uiColors = 0;
        kStream.Load(uiColors);
        if (uiColors != 0)
            m_pkColors = LoadValues<NiColorA>(kStream, uiCount);
    }
    AllocateBasis();
    // A count that does not fit the degree would make the basis write past its arrays, and a
    // level above the class's grid would overflow the 16-bit output counts.
    if (!IsValidShape(m_usDegree, m_usNumControlPoints) || m_ucLevel > GetMaxLevel())
        kStream.MarkLoadFailed();
}

void NiBezierPatch::SaveBinary(NiStream& kStream)
{
    NiAVObject::SaveBinary(kStream);
    kStream.Save(m_usDegree);
    kStream.Save(m_usNumControlPoints);
    kStream.Save(m_usNumTextureSets);
    kStream.Save(m_usControlPointStride);
    kStream.Save(m_ucLevel);
    const uint32_t uiCount = m_usNumControlPoints;
    kStream.Save(uint32_t(m_pusIndices ? 1 : 0));
    if (m_pusIndices)
    {
        kStream.Write(m_pusIndices, uiCount * sizeof(uint16_t));
        return;
    }
    if (m_pkControlPoints)
        kStream.Write(m_pkControlPoints, uiCount * sizeof(NiPoint3));
    kStream.Save(uint32_t(m_pkTextureCoords ? 1 : 0));
    if (m_pkTextureCoords)
        kStream.Write(m_pkTextureCoords, uiCount * sizeof(NiTexCoord));
    kStream.Save(uint32_t(m_pkColors ? 1 : 0));
    if (m_pkColors)
        kStream.Write(m_pkColors, uiCount * sizeof(NiColorA));
}

//--- Clone and comparison -----------------------------------------------------------------------

NiObject* NiBezierPatch::MakeClone()
{
    return nullptr;
}

void NiBezierPatch::CopyToClone(NiBezierPatch* pkClone)
{
    NiAVObject::CopyToClone(pkClone);
    pkClone->m_usDegree = m_usDegree;
    pkClone->m_usNumControlPoints = m_usNumControlPoints;
    pkClone->m_usNumTextureSets = m_usNumTextureSets;
    pkClone->m_usControlPointStride = m_usControlPointStride;
    pkClone->m_ucLevel = m_ucLevel;
    const size_t uiCount = m_usNumControlPoints;
    if (m_pusIndices)
    {
        pkClone->m_pusIndices = CopyOf(m_pusIndices, uiCount);
    }
    else
    {
        pkClone->m_pkControlPoints = CopyOf(m_pkControlPoints, uiCount);
        pkClone->m_pkTextureCoords =
            CopyOf(m_pkTextureCoords, uiCount * std::max<uint16_t>(1, m_usSourceTextureSets));
        pkClone->m_pkColors = CopyOf(m_pkColors, uiCount);
        pkClone->m_usSourceTextureSets = m_usSourceTextureSets;
    }
    pkClone->AllocateBasis();
    std::copy_n(m_pfBasis.get(), uiCount, pkClone->m_pfBasis.get());
    std::copy_n(m_pfBasisU.get(), uiCount, pkClone->m_pfBasisU.get());
    std::copy_n(m_pfBasisV.get(), uiCount, pkClone->m_pfBasisV.get());
}

bool NiBezierPatch::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiAVObject::IsEquivalent(pkObject))
        return false;
    const NiBezierPatch& kOther = *static_cast<const NiBezierPatch*>(pkObject);
    if (m_usDegree != kOther.m_usDegree || GetAdaptive() != kOther.GetAdaptive() ||
        m_usNumControlPoints != kOther.m_usNumControlPoints ||
        GetNormalsWanted() != kOther.GetNormalsWanted() || m_usNumTextureSets != kOther.m_usNumTextureSets ||
        m_usControlPointStride != kOther.m_usControlPointStride || m_ucLevel != kOther.m_ucLevel)
        return false;
    const size_t uiCount = m_usNumControlPoints;
    if (m_pusIndices || kOther.m_pusIndices)
        return SameBytes(m_pusIndices, kOther.m_pusIndices, uiCount);
    return SameBytes(m_pkControlPoints, kOther.m_pkControlPoints, uiCount) &&
           SameBytes(m_pkTextureCoords, kOther.m_pkTextureCoords, uiCount) &&
           SameBytes(m_pkColors, kOther.m_pkColors, uiCount);
}

void NiBezierPatch::AddFieldStrings(NiFieldStringList& kList) const
{
    NiAVObject::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiBezierPatch"));
    kList.push_back(NiFieldString("m_usDegree", m_usDegree));
    kList.push_back(NiFieldString("m_usNumControlPoints", m_usNumControlPoints));
    kList.push_back(NiFieldString("m_ucLevel", m_ucLevel));
    kList.push_back(NiFieldString("m_usNumVertices", m_usNumVertices));
    kList.push_back(NiFieldString("m_usNumTriangles", m_usNumTriangles));
}
