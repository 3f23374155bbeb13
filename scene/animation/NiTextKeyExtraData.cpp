#include "scene/animation/NiTextKeyExtraData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiTextKeyExtraData, NiExtraData);
NiImplementCreateObject(NiTextKeyExtraData);

NiTextKeyExtraData::~NiTextKeyExtraData() = default;

const TextKey* NiTextKeyExtraData::FindKey(const char* pcName) const
{
    for (const TextKey& kKey : m_kKeys)
    {
        if (kKey.TextEquals(pcName))
            return &kKey;
    }
    return nullptr;
}

NiObject* NiTextKeyExtraData::MakeClone()
{
    NiTextKeyExtraData* pkClone = new NiTextKeyExtraData;
    CopyToClone(pkClone);
    return pkClone;
}

void NiTextKeyExtraData::CopyToClone(NiTextKeyExtraData* pkClone) const
{
    NiExtraData::CopyToClone(pkClone);
    if (GetClassRecord() == &ms_kClassRecord)
        pkClone->m_kKeys = m_kKeys;
}

void NiTextKeyExtraData::LoadBinary(NiStream& kStream)
{
    NiExtraData::LoadBinary(kStream);
    m_kKeys.clear();
    uint32_t uiCount = 0;
    // Each key takes at least its time and its text's length.
    if (!kStream.LoadCount(uiCount, 8, sizeof(TextKey)) || uiCount == 0)
        return;
    m_kKeys.resize(uiCount);
    for (TextKey& kKey : m_kKeys)
    {
        kKey.LoadBinary(kStream);
        if (kStream.IsLoadFailed())
        {
            m_kKeys.clear();
            return;
        }
    }
}

void NiTextKeyExtraData::SaveBinary(NiStream& kStream)
{
    NiExtraData::SaveBinary(kStream);
    kStream.Save(GetNumKeys());
    for (const TextKey& kKey : m_kKeys)
        kKey.SaveBinary(kStream);
}

bool NiTextKeyExtraData::IsEquivalent(const NiObject* pkObject) const
{
    // The base compares the sizes and the rest of the chain.
    if (!pkObject || !NiExtraData::IsEquivalent(pkObject))
        return false;
    const NiTextKeyExtraData* pkOther = static_cast<const NiTextKeyExtraData*>(pkObject);
    if (GetValue() || pkOther->GetValue())
        return false;
    if (m_kKeys.size() != pkOther->m_kKeys.size())
        return false;
    for (size_t i = 0; i < m_kKeys.size(); ++i)
    {
        if (m_kKeys[i].GetTime() != pkOther->m_kKeys[i].GetTime() ||
            !m_kKeys[i].TextEquals(pkOther->m_kKeys[i].GetText()))
            return false;
    }
    return true;
}

void NiTextKeyExtraData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiExtraData::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTextKeyExtraData"));
    kList.push_back(NiFieldString("m_uiNumKeys", GetNumKeys()));
}
