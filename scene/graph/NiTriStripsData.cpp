#include "scene/graph/NiTriStripsData.h"

#include "scene/graph/NiTriStripData.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>

NiImplementRTTI(NiTriStripsData, NiTriBasedGeomData);
NiImplementCreateObject(NiTriStripsData);

namespace
{
// A strip's triangle count; strips shorter than a triangle hold none.
uint32_t StripTriangles(uint16_t usLength)
{
    return usLength < 3 ? 0 : usLength - 2u;
}
} // namespace

NiTriStripsData::NiTriStripsData() = default;

NiTriStripsData::NiTriStripsData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal,
                                 NiColorA* pkColor, NiTexCoord* pkTexture, uint16_t usTriangles,
                                 uint16_t usStrips, uint16_t* pusStripLengths, uint16_t* pusStripLists)
    : NiTriBasedGeomData(usVertices, pkVertex, pkNormal, pkColor, pkTexture, usTriangles),
      m_usStrips(usStrips), m_pStripLengths(pusStripLengths), m_pStripLists(pusStripLists)
{
}

NiTriStripsData::~NiTriStripsData()
{
    DeleteStrips();
}

void NiTriStripsData::DeleteStrips()
{
    delete[] m_pStripLengths;
    delete[] m_pStripLists;
    m_pStripLengths = nullptr;
    m_pStripLists = nullptr;
    m_kCursor = StripCursor();
}

bool NiTriStripsData::GetTriangleIndices(uint32_t uiTriangle, uint16_t& usI0, uint16_t& usI1,
                                         uint16_t& usI2) const
{
    if (uiTriangle >= m_usTriangles || !m_pStripLengths || !m_pStripLists)
        return false;
    StripCursor& kCursor = m_kCursor;
    if (kCursor.m_uiTriangle != UINT32_MAX && uiTriangle == kCursor.m_uiTriangle + 1)
    {
        ++kCursor.m_uiPosition;
    }
    else
    {
        kCursor.m_uiStrip = 0;
        kCursor.m_uiStripStart = 0;
        kCursor.m_uiPosition = uiTriangle;
    }
    while (kCursor.m_uiStrip < m_usStrips &&
           kCursor.m_uiPosition >= StripTriangles(m_pStripLengths[kCursor.m_uiStrip]))
    {
        kCursor.m_uiPosition -= StripTriangles(m_pStripLengths[kCursor.m_uiStrip]);
        kCursor.m_uiStripStart += m_pStripLengths[kCursor.m_uiStrip];
        ++kCursor.m_uiStrip;
    }
    if (kCursor.m_uiStrip >= m_usStrips)
    {
        kCursor = StripCursor();
        return false;
    }
    const uint16_t* pusStrip = m_pStripLists + kCursor.m_uiStripStart + kCursor.m_uiPosition;
    const bool bOdd = (kCursor.m_uiPosition & 1) != 0;
    usI0 = pusStrip[bOdd ? 1 : 0];
    usI1 = pusStrip[bOdd ? 0 : 1];
    usI2 = pusStrip[2];
    kCursor.m_uiTriangle = uiTriangle;
    return true;
}

void NiTriStripsData::ComputeNormals()
{
    CreateNormals(true);
    if (!m_pVertex || !m_pStripLengths || !m_pStripLists)
        return;
    const uint16_t* pusStrip = m_pStripLists;
    for (uint32_t s = 0; s < m_usStrips; ++s)
    {
        const uint32_t uiTriangles = StripTriangles(m_pStripLengths[s]);
        for (uint32_t k = 0; k < uiTriangles; ++k)
        {
            uint16_t usI0, usI1, usI2;
            NiTriStripData::GetTriangleCorners(k, usI0, usI1, usI2);
            const uint16_t usA = pusStrip[usI0];
            const uint16_t usB = pusStrip[usI1];
            const uint16_t usC = pusStrip[usI2];
            const NiPoint3 kNormal = FaceNormal(m_pVertex[usA], m_pVertex[usB], m_pVertex[usC]);
            m_pNormal[usA] += kNormal;
            m_pNormal[usB] += kNormal;
            m_pNormal[usC] += kNormal;
        }
        pusStrip += m_pStripLengths[s];
    }
    NiPoint3::UnitizeVectors(m_pNormal, m_usVertices);
}

NiObject* NiTriStripsData::MakeClone()
{
    return this;
}

void NiTriStripsData::LoadBinary(NiStream& kStream)
{
    NiTriBasedGeomData::LoadBinary(kStream);
    DeleteStrips();
    kStream.Load(m_usStrips);
    if (m_usStrips == 0)
    {
        if (m_usTriangles != 0)
            kStream.MarkLoadFailed();
        return;
    }
    if (!kStream.RequireArray<uint16_t>(uint64_t(GetStripListLength()) + m_usStrips))
    {
        m_usStrips = 0;
        return;
    }
    m_pStripLengths = new uint16_t[m_usStrips];
    kStream.Read(m_pStripLengths, size_t(m_usStrips) * 2);
    m_pStripLists = new uint16_t[GetStripListLength()];
    kStream.Read(m_pStripLists, size_t(GetStripListLength()) * 2);

    // The strips must share out exactly the list, each strip at least an edge long, and every
    // index must name a vertex.
    uint64_t uiTotal = 0;
    bool bStripsFit = true;
    for (uint32_t s = 0; s < m_usStrips; ++s)
    {
        uiTotal += m_pStripLengths[s];
        bStripsFit = bStripsFit && m_pStripLengths[s] >= 2;
    }
    const bool bIndicesFit = std::all_of(m_pStripLists, m_pStripLists + GetStripListLength(),
                                         [this](uint16_t usIndex) { return usIndex < m_usVertices; });
    if (!bStripsFit || uiTotal != GetStripListLength() || !bIndicesFit)
    {
        DeleteStrips();
        m_usStrips = 0;
        kStream.MarkLoadFailed();
    }
}

void NiTriStripsData::SaveBinary(NiStream& kStream)
{
    NiTriBasedGeomData::SaveBinary(kStream);
    const uint16_t usStrips = m_pStripLengths && m_pStripLists ? m_usStrips : 0;
    kStream.Save(usStrips);
    if (usStrips == 0)
        return;
    kStream.Write(m_pStripLengths, size_t(usStrips) * 2);
    kStream.Write(m_pStripLists, size_t(GetStripListLength()) * 2);
}

bool NiTriStripsData::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiTriBasedGeomData::IsEquivalent(pkObject))
        return false;
    const NiTriStripsData* pkOther = static_cast<const NiTriStripsData*>(pkObject);
    if (m_usStrips != pkOther->m_usStrips)
        return false;
    if (m_usStrips == 0)
        return true;
    if (!m_pStripLengths || !pkOther->m_pStripLengths || !m_pStripLists || !pkOther->m_pStripLists)
        return m_pStripLengths == pkOther->m_pStripLengths && m_pStripLists == pkOther->m_pStripLists;
    return std::equal(m_pStripLengths, m_pStripLengths + m_usStrips, pkOther->m_pStripLengths) &&
           std::equal(m_pStripLists, m_pStripLists + GetStripListLength(), pkOther->m_pStripLists);
}

void NiTriStripsData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriBasedGeomData::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTriStripsData"));
    kList.push_back(NiFieldString("m_usStrips", m_usStrips));
    kList.push_back(NiFieldString("m_pStripLengths", static_cast<const void*>(m_pStripLengths)));
    kList.push_back(NiFieldString("m_pStripLists", static_cast<const void*>(m_pStripLists)));
}
