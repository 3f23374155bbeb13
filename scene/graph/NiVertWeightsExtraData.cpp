#include "scene/graph/NiVertWeightsExtraData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>

NiImplementRTTI(NiVertWeightsExtraData, NiExtraData);
NiImplementCreateObject(NiVertWeightsExtraData);

NiVertWeightsExtraData::NiVertWeightsExtraData() = default;

NiVertWeightsExtraData::NiVertWeightsExtraData(uint32_t uiCount, const float* pfWeights)
{
    SetWeights(uiCount, pfWeights);
}

NiVertWeightsExtraData::~NiVertWeightsExtraData() = default;

void NiVertWeightsExtraData::SetWeights(uint32_t uiCount, const float* pfWeights)
{
    m_pfWeight.reset();
    m_usCount = 0;
    // The count travels in 16 bits: a larger one could not be saved as it is held.
    if (!pfWeights || uiCount == 0 || uiCount > UINT16_MAX)
    {
        m_uiSize = 0;
        return;
    }
    m_pfWeight = std::make_unique<float[]>(uiCount);
    std::copy_n(pfWeights, uiCount, m_pfWeight.get());
    m_usCount = static_cast<uint16_t>(uiCount);
    m_uiSize = uiCount * 4 + 2;
}

NiObject* NiVertWeightsExtraData::MakeClone()
{
    NiVertWeightsExtraData* pkClone = new NiVertWeightsExtraData;
    CopyToClone(pkClone);
    return pkClone;
}

void NiVertWeightsExtraData::CopyToClone(NiVertWeightsExtraData* pkClone) const
{
    NiExtraData::CopyToClone(pkClone);
    pkClone->m_usCount = m_usCount;
    pkClone->m_pfWeight.reset();
    if (m_usCount)
    {
        pkClone->m_pfWeight = std::make_unique<float[]>(m_usCount);
        std::copy_n(m_pfWeight.get(), m_usCount, pkClone->m_pfWeight.get());
    }
}

void NiVertWeightsExtraData::LoadBinary(NiStream& kStream)
{
    NiExtraData::LoadBinary(kStream);
    m_pfWeight.reset();
    m_usCount = 0;
    uint16_t usCount = 0;
    if (!kStream.Load(usCount) || usCount == 0 || !kStream.RequireArray<float>(usCount))
        return;
    m_pfWeight = std::make_unique<float[]>(usCount);
    m_usCount = usCount;
    kStream.Read(m_pfWeight.get(), usCount * sizeof(float));
}

void NiVertWeightsExtraData::SaveBinary(NiStream& kStream)
{
    NiExtraData::SaveBinary(kStream);
    kStream.Save(m_usCount);
    if (m_usCount)
        kStream.Write(m_pfWeight.get(), m_usCount * sizeof(float));
}

bool NiVertWeightsExtraData::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiExtraData::IsEquivalent(pkObject))
        return false;
    const NiVertWeightsExtraData& kOther = *static_cast<const NiVertWeightsExtraData*>(pkObject);
    return m_usCount == kOther.m_usCount &&
           std::equal(m_pfWeight.get(), m_pfWeight.get() + m_usCount, kOther.m_pfWeight.get());
}

void NiVertWeightsExtraData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiExtraData::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiVertWeightsExtraData"));
}
