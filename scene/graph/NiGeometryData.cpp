#include "scene/graph/NiGeometryData.h"

#include "scene/graph/NiRender.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <bit>
#include <unordered_set>

// Arrays travel as the packed little-endian floats they are in memory.
static_assert(std::endian::native == std::endian::little);

NiImplementRTTI(NiGeometryData, NiObject);
NiImplementAbstractLoader(NiGeometryData);

namespace
{
struct DataIdState
{
    uint32_t m_uiNext = 1;
    bool m_bWrapped = false;
    std::unordered_set<uint32_t> m_kLive;
};

// Never destroyed: data held by static objects may outlive any static of this file.
DataIdState& GetDataIdState()
{
    static DataIdState* s_pkState = new DataIdState;
    return *s_pkState;
}

// A present array reads in one block once the input is known to hold it.
template <class T> T* LoadArray(NiStream& kStream, uint64_t uiCount)
{
    if (uiCount == 0 || !kStream.RequireArray<T>(uiCount))
        return nullptr;
    T* pArray = new T[uiCount];
    kStream.Read(pArray, uiCount * sizeof(T));
    return pArray;
}

template <class T> void SaveArray(NiStream& kStream, const T* pArray, uint64_t uiCount)
{
    kStream.Save(uint32_t(pArray ? 1 : 0));
    if (pArray)
        kStream.Write(pArray, uiCount * sizeof(T));
}

template <class T> bool SameArrays(const T* pA, const T* pB, uint64_t uiCount)
{
    if (!pA || !pB)
        return !pA && !pB;
    return std::equal(pA, pA + uiCount, pB);
}
} // namespace

uint32_t NiGeometryData::TakeDataId()
{
    DataIdState& kState = GetDataIdState();
    for (;;)
    {
        const uint32_t uiId = kState.m_uiNext++;
        if (kState.m_uiNext == 0)
        {
            kState.m_uiNext = 1;
            kState.m_bWrapped = true;
        }
        if (uiId != 0 && (!kState.m_bWrapped || !kState.m_kLive.contains(uiId)))
        {
            kState.m_kLive.insert(uiId);
            return uiId;
        }
    }
}

void NiGeometryData::SetNextDataId(uint32_t uiNext)
{
    GetDataIdState().m_uiNext = uiNext == 0 ? 1 : uiNext;
}

NiGeometryData::NiGeometryData() : m_uiDataId(TakeDataId()) {}

NiGeometryData::NiGeometryData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                               NiTexCoord* pkTexture)
    : m_uiDataId(TakeDataId())
{
    SetData(usVertices, pkVertex, pkNormal, pkColor, pkTexture);
}

NiGeometryData::~NiGeometryData()
{
    // Every live renderer lets go of what it converted from this data first.
    NiRender::PurgeGeometryDataFromAll(this);
    DeleteArrays();
    GetDataIdState().m_kLive.erase(m_uiDataId);
}

void NiGeometryData::DeleteArrays()
{
    delete[] m_pVertex;
    delete[] m_pNormal;
    delete[] m_pColor;
    delete[] m_pTexture;
    m_pVertex = nullptr;
    m_pNormal = nullptr;
    m_pColor = nullptr;
    m_pTexture = nullptr;
}

void NiGeometryData::SetData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                             NiTexCoord* pkTexture)
{
    m_usVertices = usVertices;
    m_pVertex = pkVertex;
    m_pNormal = pkNormal;
    m_pColor = pkColor;
    m_pTexture = pkTexture;
    m_usTextureSets = pkTexture ? 1 : 0;
    if (usVertices > 0 && pkVertex)
        m_bound.ComputeFromData(usVertices, pkVertex);
}

void NiGeometryData::ReplaceData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal,
                                 NiColorA* pkColor, NiTexCoord* pkTexture)
{
    DeleteArrays();
    SetData(usVertices, pkVertex, pkNormal, pkColor, pkTexture);
}

void NiGeometryData::CreateVertices(bool bZero)
{
    if (!m_pVertex)
        m_pVertex = new NiPoint3[m_usVertices];
    if (bZero)
        std::fill_n(m_pVertex, m_usVertices, NiPoint3::ZERO);
}

void NiGeometryData::CreateNormals(bool bZero)
{
    if (!m_pNormal)
        m_pNormal = new NiPoint3[m_usVertices];
    if (bZero)
        std::fill_n(m_pNormal, m_usVertices, NiPoint3::ZERO);
}

void NiGeometryData::CreateColors(bool bInitialize)
{
    if (!m_pColor)
        m_pColor = new NiColorA[m_usVertices];
    if (bInitialize)
        std::fill_n(m_pColor, m_usVertices, NiColorA::BLACK);
}

void NiGeometryData::CreateTextures(bool bZero, uint16_t usSets)
{
    if (m_pTexture && m_usTextureSets != usSets)
    {
        delete[] m_pTexture;
        m_pTexture = nullptr;
    }
    const size_t uiCount = size_t(usSets) * m_usVertices;
    if (!m_pTexture)
    {
        m_pTexture = new NiTexCoord[uiCount];
        m_usTextureSets = usSets;
    }
    if (bZero)
        std::fill_n(m_pTexture, uiCount, NiTexCoord::ZERO);
}

void NiGeometryData::AppendTextureSet(const NiTexCoord* pkTexture)
{
    const uint16_t usOldSets = m_pTexture ? m_usTextureSets : 0;
    const size_t uiOld = size_t(usOldSets) * m_usVertices;
    NiTexCoord* pkNew = new NiTexCoord[uiOld + m_usVertices];
    if (m_pTexture)
        std::copy_n(m_pTexture, uiOld, pkNew);
    std::copy_n(pkTexture, m_usVertices, pkNew + uiOld);
    delete[] m_pTexture;
    m_pTexture = pkNew;
    m_usTextureSets = static_cast<uint16_t>(usOldSets + 1);
}

NiTexCoord* NiGeometryData::GetTextureSet(uint16_t usSet) const
{
    if (!m_pTexture || usSet >= m_usTextureSets)
        return nullptr;
    return m_pTexture + size_t(usSet) * m_usVertices;
}

void NiGeometryData::IncrementRevision()
{
    m_usRevision = m_usRevision == UINT16_MAX ? 1 : static_cast<uint16_t>(m_usRevision + 1);
}

void NiGeometryData::SetActiveVertexCount(uint16_t) {}

uint16_t NiGeometryData::GetActiveVertexCount() const
{
    return m_usVertices;
}

NiPoint3 NiGeometryData::FaceNormal(const NiPoint3& kA, const NiPoint3& kB, const NiPoint3& kC)
{
    NiPoint3 kNormal = (kB - kA).Cross(kC - kB);
    kNormal.UnitizeVector();
    return kNormal;
}

NiObject* NiGeometryData::MakeClone()
{
    return nullptr;
}

void NiGeometryData::LoadBinary(NiStream& kStream)
{
    NiObject::LoadBinary(kStream);
    DeleteArrays();
    kStream.Load(m_usVertices);

    uint32_t uiPresent = 0;
    kStream.Load(uiPresent);
    if (uiPresent)
        m_pVertex = LoadArray<NiPoint3>(kStream, m_usVertices);
    kStream.Load(uiPresent);
    if (uiPresent)
        m_pNormal = LoadArray<NiPoint3>(kStream, m_usVertices);
    // Read without clearing the not-computed flag: the first bound pass recomputes it.
    m_bound.LoadBinary(kStream);
    kStream.Load(uiPresent);
    if (uiPresent)
        m_pColor = LoadArray<NiColorA>(kStream, m_usVertices);
    kStream.Load(m_usTextureSets);
    kStream.Load(uiPresent);
    if (uiPresent)
        m_pTexture = LoadArray<NiTexCoord>(kStream, uint64_t(m_usTextureSets) * m_usVertices);
    // A set count without coordinates would send the renderer into a missing array.
    if (!m_pTexture)
        m_usTextureSets = 0;

    // Every operation on vertices reads the positions.
    if (m_usVertices > 0 && !m_pVertex)
        kStream.MarkLoadFailed();
}

void NiGeometryData::SaveBinary(NiStream& kStream)
{
    NiObject::SaveBinary(kStream);
    kStream.Save(m_usVertices);
    SaveArray(kStream, m_pVertex, m_usVertices);
    SaveArray(kStream, m_pNormal, m_usVertices);
    m_bound.SaveBinary(kStream);
    SaveArray(kStream, m_pColor, m_usVertices);
    kStream.Save(m_usTextureSets);
    SaveArray(kStream, m_pTexture, uint64_t(m_usTextureSets) * m_usVertices);
}

bool NiGeometryData::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiObject::IsEquivalent(pkObject))
        return false;
    const NiGeometryData* pkOther = static_cast<const NiGeometryData*>(pkObject);
    if (m_usVertices != pkOther->m_usVertices)
        return false;
    if (!SameArrays(m_pVertex, pkOther->m_pVertex, m_usVertices) ||
        !SameArrays(m_pNormal, pkOther->m_pNormal, m_usVertices) || m_bound != pkOther->m_bound ||
        !SameArrays(m_pColor, pkOther->m_pColor, m_usVertices))
        return false;
    if (!m_pTexture || !pkOther->m_pTexture)
        return !m_pTexture && !pkOther->m_pTexture;
    return m_usTextureSets == pkOther->m_usTextureSets &&
           SameArrays(m_pTexture, pkOther->m_pTexture, uint64_t(m_usTextureSets) * m_usVertices);
}

void NiGeometryData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiObject::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiGeometryData"));
    kList.push_back(NiFieldString("m_usVertices", m_usVertices));
    kList.push_back(NiFieldString("m_pVertex", static_cast<const void*>(m_pVertex)));
    kList.push_back(NiFieldString("m_pNormal", static_cast<const void*>(m_pNormal)));
    kList.push_back(m_bound.GetFieldString("m_bound"));
    kList.push_back(NiFieldString("m_pColor", static_cast<const void*>(m_pColor)));
    kList.push_back(NiFieldString("m_usTextureSets", m_usTextureSets));
    kList.push_back(NiFieldString("m_pTexture", static_cast<const void*>(m_pTexture)));
}
