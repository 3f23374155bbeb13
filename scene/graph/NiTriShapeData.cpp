#include "scene/graph/NiTriShapeData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <cstring>

NiImplementRTTI(NiTriShapeData, NiTriBasedGeomData);
NiImplementCreateObject(NiTriShapeData);

NiTriShapeData::NiTriShapeData() = default;

NiTriShapeData::NiTriShapeData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                               NiTexCoord* pkTexture, uint16_t usTriangles, uint16_t* pusTriList)
    : NiTriBasedGeomData(usVertices, pkVertex, pkNormal, pkColor, pkTexture, usTriangles),
      m_uiTriListLength(3u * usTriangles), m_pTriList(pusTriList)
{
}

NiTriShapeData::~NiTriShapeData()
{
    delete[] m_pTriList;
}

void NiTriShapeData::SetTriList(uint16_t* pusTriList)
{
    m_pTriList = pusTriList;
    m_uiTriListLength = 3u * m_usTriangles;
}

void NiTriShapeData::ReplaceTriList(uint16_t* pusTriList)
{
    delete[] m_pTriList;
    SetTriList(pusTriList);
}

void NiTriShapeData::ReplaceTriList(uint16_t usTriangles, uint16_t* pusTriList)
{
    m_usTriangles = usTriangles;
    ReplaceTriList(pusTriList);
}

void NiTriShapeData::RemapSharedNormals(uint16_t usOldCount, uint16_t usNewCount, const int32_t* piMap)
{
    // A table that did not fit the old vertices meant nothing, and means nothing after.
    if (m_kSharedNormals.size() != usOldCount)
        return;
    auto NewIndex = [=](uint16_t usOld) { return usOld < usOldCount ? piMap[usOld] : -1; };
    std::vector<SharedNormalGroup> kNew(usNewCount);
    for (uint16_t usOld = 0; usOld < usOldCount; ++usOld)
    {
        const int32_t iNew = NewIndex(usOld);
        if (iNew < 0 || iNew >= usNewCount)
            continue;
        std::vector<uint16_t>& kMembers = kNew[iNew].m_kMembers;
        for (const uint16_t usMember : m_kSharedNormals[usOld].m_kMembers)
        {
            const int32_t iMember = NewIndex(usMember);
            if (iMember >= 0 && iMember < usNewCount && iMember != iNew &&
                std::find(kMembers.begin(), kMembers.end(), iMember) == kMembers.end())
                kMembers.push_back(static_cast<uint16_t>(iMember));
        }
    }
    m_kSharedNormals = std::move(kNew);
}

void NiTriShapeData::LinkSharedNormals(uint16_t usI, uint16_t usJ)
{
    if (usI == usJ)
        return;
    if (m_kSharedNormals.size() != m_usVertices)
        m_kSharedNormals.assign(m_usVertices, SharedNormalGroup());
    if (usI >= m_kSharedNormals.size() || usJ >= m_kSharedNormals.size())
        return;
    std::vector<uint16_t>& kGroupI = m_kSharedNormals[usI].m_kMembers;
    std::vector<uint16_t>& kGroupJ = m_kSharedNormals[usJ].m_kMembers;
    if (std::find(kGroupI.begin(), kGroupI.end(), usJ) != kGroupI.end() ||
        std::find(kGroupJ.begin(), kGroupJ.end(), usI) != kGroupJ.end())
        return;

    std::vector<uint16_t> kMerged = kGroupI;
    kMerged.insert(kMerged.end(), kGroupJ.begin(), kGroupJ.end());
    kMerged.push_back(usI);
    kMerged.push_back(usJ);
    for (const uint16_t usMember : kMerged)
    {
        std::vector<uint16_t>& kGroup = m_kSharedNormals[usMember].m_kMembers;
        kGroup.clear();
        for (const uint16_t usOther : kMerged)
        {
            if (usOther != usMember)
                kGroup.push_back(usOther);
        }
    }
}

void NiTriShapeData::ComputeNormals()
{
    CreateNormals(true);
    if (!m_pTriList || !m_pVertex)
        return;
    const uint32_t uiTriangles = std::min<uint32_t>(GetActiveTriangleCount(), m_uiTriListLength / 3);
    const bool bShared = !m_kSharedNormals.empty() && m_kSharedNormals.size() == m_usVertices;
    for (uint32_t i = 0; i < uiTriangles; ++i)
    {
        const uint16_t* pusCorner = m_pTriList + 3 * i;
        const NiPoint3 kNormal =
            FaceNormal(m_pVertex[pusCorner[0]], m_pVertex[pusCorner[1]], m_pVertex[pusCorner[2]]);
        for (uint32_t c = 0; c < 3; ++c)
            m_pNormal[pusCorner[c]] += kNormal;
        if (!bShared)
            continue;
        for (uint32_t c = 0; c < 3; ++c)
        {
            for (const uint16_t usMember : m_kSharedNormals[pusCorner[c]].m_kMembers)
                m_pNormal[usMember] += kNormal;
        }
    }
    NiPoint3::UnitizeVectors(m_pNormal, GetActiveVertexCount());
}

NiObject* NiTriShapeData::MakeClone()
{
    return this;
}

void NiTriShapeData::LoadBinary(NiStream& kStream)
{
    NiTriBasedGeomData::LoadBinary(kStream);
    delete[] m_pTriList;
    m_pTriList = nullptr;
    m_kSharedNormals.clear();

    kStream.Load(m_uiTriListLength);
    // The list must be exactly the triangles' corners, each naming a vertex that exists.
    if (m_uiTriListLength != 3u * m_usTriangles || !kStream.RequireArray<uint16_t>(m_uiTriListLength))
    {
        m_uiTriListLength = 0;
        kStream.MarkLoadFailed();
        return;
    }
    if (m_uiTriListLength > 0)
    {
        m_pTriList = new uint16_t[m_uiTriListLength];
        kStream.Read(m_pTriList, size_t(m_uiTriListLength) * 2);
        if (std::any_of(m_pTriList, m_pTriList + m_uiTriListLength,
                        [this](uint16_t usIndex) { return usIndex >= m_usVertices; }))
            kStream.MarkLoadFailed();
    }

    if (std::strcmp(kStream.GetVersion(), SHARED_NORMALS_VERSION) <= 0)
        return;
    uint16_t usEntries = 0;
    kStream.Load(usEntries);
    if (!kStream.RequireElements(usEntries, sizeof(uint16_t)) ||
        !kStream.ReserveMemory(usEntries, sizeof(SharedNormalGroup)))
        return;
    m_kSharedNormals.resize(usEntries);
    for (SharedNormalGroup& kGroup : m_kSharedNormals)
    {
        uint16_t usCount = 0;
        kStream.Load(usCount);
        if (!kStream.RequireArray<uint16_t>(usCount))
            break;
        kGroup.m_kMembers.resize(usCount);
        kStream.Read(kGroup.m_kMembers.data(), size_t(usCount) * 2);
        // A member names another entry of the same table.
        if (std::any_of(kGroup.m_kMembers.begin(), kGroup.m_kMembers.end(),
                        [usEntries](uint16_t usMember) { return usMember >= usEntries; }))
            kStream.MarkLoadFailed();
    }
}

void NiTriShapeData::SaveBinary(NiStream& kStream)
{
    NiTriBasedGeomData::SaveBinary(kStream);
    const uint32_t uiLength = m_pTriList ? m_uiTriListLength : 0;
    kStream.Save(uiLength);
    if (uiLength > 0)
        kStream.Write(m_pTriList, size_t(uiLength) * 2);
    kStream.Save(static_cast<uint16_t>(m_kSharedNormals.size()));
    for (const SharedNormalGroup& kGroup : m_kSharedNormals)
    {
        kStream.Save(static_cast<uint16_t>(kGroup.m_kMembers.size()));
        if (!kGroup.m_kMembers.empty())
            kStream.Write(kGroup.m_kMembers.data(), kGroup.m_kMembers.size() * 2);
    }
}

bool NiTriShapeData::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiTriBasedGeomData::IsEquivalent(pkObject))
        return false;
    const NiTriShapeData* pkOther = static_cast<const NiTriShapeData*>(pkObject);
    if (m_uiTriListLength != pkOther->m_uiTriListLength)
        return false;
    if (!m_pTriList || !pkOther->m_pTriList)
        return !m_pTriList && !pkOther->m_pTriList;
    return std::equal(m_pTriList, m_pTriList + m_uiTriListLength, pkOther->m_pTriList);
}

void NiTriShapeData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriBasedGeomData::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTriShapeData"));
    kList.push_back(NiFieldString("m_uiTriListLength", m_uiTriListLength));
    kList.push_back(NiFieldString("m_pTriList", static_cast<const void*>(m_pTriList)));
}
