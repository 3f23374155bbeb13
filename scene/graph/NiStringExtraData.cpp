#include "scene/graph/NiStringExtraData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiStringExtraData, NiExtraData);
NiImplementCreateObject(NiStringExtraData);

NiStringExtraData::NiStringExtraData(const char* pcString)
{
    SetString(pcString);
}

NiStringExtraData::~NiStringExtraData() = default;

void NiStringExtraData::SetString(const char* pcString)
{
    if (!pcString)
    {
        m_kString.reset();
        m_uiSize = 0;
        return;
    }
    m_kString = pcString;
    m_uiSize = static_cast<uint32_t>(m_kString->size() + 4);
}

NiObject* NiStringExtraData::MakeClone()
{
    NiStringExtraData* pkClone = new NiStringExtraData;
    CopyToClone(pkClone);
    return pkClone;
}

void NiStringExtraData::CopyToClone(NiStringExtraData* pkClone) const
{
    NiExtraData::CopyToClone(pkClone);
    pkClone->m_kString = m_kString;
}

void NiStringExtraData::LoadBinary(NiStream& kStream)
{
    // The size keeps the value of the record, whatever the text.
    NiExtraData::LoadBinary(kStream);
    m_kString = kStream.LoadCString();
}

void NiStringExtraData::SaveBinary(NiStream& kStream)
{
    NiExtraData::SaveBinary(kStream);
    const uint32_t uiLength = m_kString ? static_cast<uint32_t>(m_kString->size()) : 0;
    kStream.Save(uiLength);
    if (uiLength)
        kStream.Write(m_kString->data(), uiLength);
}

bool NiStringExtraData::IsEquivalent(const NiObject* pkObject) const
{
    // Only the text and its size count: neither the class name check of the base nor the rest
    // of the chain is compared. Extra data of another class is not equivalent.
    const NiStringExtraData* pkOther = NiDynamicCast<NiStringExtraData>(pkObject);
    if (!pkOther || m_uiSize != pkOther->m_uiSize)
        return false;
    return m_kString == pkOther->m_kString;
}

void NiStringExtraData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiExtraData::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiStringExtraData"));
    kList.push_back(NiFieldString("m_pString", GetString()));
}
