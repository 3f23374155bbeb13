#include "scene/graph/NiParticlesData.h"

#include "scene/object/NiCFormat.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>

NiImplementRTTI(NiParticlesData, NiTriBasedGeomData);
NiImplementCreateObject(NiParticlesData);

NiParticlesData::NiParticlesData() = default;

NiParticlesData::NiParticlesData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal,
                                 NiColorA* pkColor)
    : NiTriBasedGeomData(usVertices, pkVertex, pkNormal, pkColor, nullptr, usVertices),
      m_usActive(usVertices), m_pSizes(new float[usVertices])
{
    std::fill_n(m_pSizes, usVertices, 1.0f);
}

NiParticlesData::~NiParticlesData()
{
    delete[] m_pSizes;
}

void NiParticlesData::SetActiveCount(uint16_t usActive)
{
    m_usActive = std::min(usActive, m_usVertices);
}

void NiParticlesData::ReplaceSizes(float* pfSizes)
{
    delete[] m_pSizes;
    m_pSizes = pfSizes;
}

NiObject* NiParticlesData::MakeClone()
{
    return this;
}

void NiParticlesData::LoadBinary(NiStream& kStream)
{
    NiTriBasedGeomData::LoadBinary(kStream);
    kStream.Load(m_fRadius);
    kStream.Load(m_usActive);
    // Every pass over the live particles reads that many positions.
    if (m_usActive > m_usVertices)
    {
        m_usActive = 0;
        kStream.MarkLoadFailed();
    }
    delete[] m_pSizes;
    m_pSizes = nullptr;
    uint32_t uiPresent = 0;
    kStream.Load(uiPresent);
    if (uiPresent ? !kStream.RequireArray<float>(m_usVertices)
                  : !kStream.ReserveMemory(m_usVertices, sizeof(float)))
        return;
    m_pSizes = new float[m_usVertices];
    if (uiPresent)
        kStream.Read(m_pSizes, size_t(m_usVertices) * sizeof(float));
    else
        std::fill_n(m_pSizes, m_usVertices, 1.0f);
}

void NiParticlesData::SaveBinary(NiStream& kStream)
{
    NiTriBasedGeomData::SaveBinary(kStream);
    kStream.Save(m_fRadius);
    kStream.Save(m_usActive);
    kStream.Save(uint32_t(m_pSizes ? 1 : 0));
    if (m_pSizes)
        kStream.Write(m_pSizes, size_t(m_usVertices) * sizeof(float));
}

bool NiParticlesData::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiTriBasedGeomData::IsEquivalent(pkObject))
        return false;
    const NiParticlesData* pkOther = static_cast<const NiParticlesData*>(pkObject);
    if (m_fRadius != pkOther->m_fRadius || m_usActive != pkOther->m_usActive)
        return false;
    if (!m_pSizes || !pkOther->m_pSizes)
        return !m_pSizes && !pkOther->m_pSizes;
    return std::equal(m_pSizes, m_pSizes + m_usVertices, pkOther->m_pSizes);
}

void NiParticlesData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriBasedGeomData::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiParticlesData"));
    kList.push_back(NiCFormat("%s = %.6e", "m_fRadius", double(m_fRadius)));
    kList.push_back(NiFieldString("m_usActive", m_usActive));
    kList.push_back(NiFieldString("m_pSizes", static_cast<const void*>(m_pSizes)));
}
