#include "scene/graph/NiLinesData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>

NiImplementRTTI(NiLinesData, NiGeometryData);
NiImplementCreateObject(NiLinesData);

NiLinesData::NiLinesData() = default;

NiLinesData::NiLinesData(uint16_t usVertices, NiPoint3* pkVertex, NiColorA* pkColor, NiTexCoord* pkTexture,
                         uint8_t* pucFlags)
    : NiGeometryData(usVertices, pkVertex, nullptr, pkColor, pkTexture), m_pFlags(pucFlags)
{
    if (m_pFlags)
        return;
    m_pFlags = new uint8_t[usVertices];
    for (uint16_t i = 0; i < usVertices; ++i)
        m_pFlags[i] = (i % 2 == 0) ? 1 : 0;
}

NiLinesData::~NiLinesData()
{
    delete[] m_pFlags;
}

void NiLinesData::ReplaceFlags(uint8_t* pucFlags)
{
    delete[] m_pFlags;
    m_pFlags = pucFlags;
}

void NiLinesData::AppendSegmentIndices(std::vector<uint16_t>& kIndices) const
{
    if (!m_pFlags || m_usVertices == 0)
        return;
    const uint16_t usLast = m_usVertices - 1;
    for (uint16_t i = 0; i < usLast; ++i)
    {
        if (m_pFlags[i])
        {
            kIndices.push_back(i);
            kIndices.push_back(i + 1);
        }
    }
    if (m_pFlags[usLast])
    {
        kIndices.push_back(usLast);
        kIndices.push_back(0);
    }
}

NiObject* NiLinesData::MakeClone()
{
    return this;
}

void NiLinesData::LoadBinary(NiStream& kStream)
{
    NiGeometryData::LoadBinary(kStream);
    delete[] m_pFlags;
    m_pFlags = nullptr;
    // One byte per vertex, and no more than the input still holds.
    if (!kStream.RequireArray<uint8_t>(m_usVertices))
        return;
    m_pFlags = new uint8_t[m_usVertices];
    kStream.Read(m_pFlags, m_usVertices);
}

void NiLinesData::SaveBinary(NiStream& kStream)
{
    NiGeometryData::SaveBinary(kStream);
    // Data that never got flags still writes a record its reader can follow: no segments.
    if (m_pFlags)
        kStream.Write(m_pFlags, m_usVertices);
    else
        kStream.Write(std::vector<uint8_t>(m_usVertices, 0).data(), m_usVertices);
}

bool NiLinesData::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiGeometryData::IsEquivalent(pkObject))
        return false;
    const NiLinesData* pkOther = static_cast<const NiLinesData*>(pkObject);
    if (!m_pFlags || !pkOther->m_pFlags)
        return !m_pFlags && !pkOther->m_pFlags;
    return std::equal(m_pFlags, m_pFlags + m_usVertices, pkOther->m_pFlags);
}

void NiLinesData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiGeometryData::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiLinesData"));
    kList.push_back(NiFieldString("m_pFlags", static_cast<const void*>(m_pFlags)));
}
