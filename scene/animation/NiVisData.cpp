#include "scene/animation/NiVisData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiVisData, NiObject);
NiImplementCreateObject(NiVisData);

NiVisData::~NiVisData()
{
    FreeKeys();
}

void NiVisData::FreeKeys()
{
    for (uint32_t i = 0; i < m_uiNumVisKeys; ++i)
        delete m_ppKeys[i];
    delete[] m_ppKeys;
    m_uiNumVisKeys = 0;
    m_ppKeys = nullptr;
}

void NiVisData::SetKeys(BoolKey** ppKeys, uint32_t uiCount)
{
    // The object's own array handed back (keys edited in place) stays its keys.
    if (ppKeys && ppKeys == m_ppKeys && uiCount != 0)
    {
        m_uiNumVisKeys = uiCount;
        return;
    }
    FreeKeys();
    if (!ppKeys || uiCount == 0)
        return;
    m_uiNumVisKeys = uiCount;
    m_ppKeys = ppKeys;
}

void NiVisData::LoadBinary(NiStream& kStream)
{
    NiObject::LoadBinary(kStream);
    uint32_t uiCount = 0;
    if (!kStream.LoadCount(uiCount, BoolKey::RECORD_BYTES,
                           sizeof(BoolKey*) + sizeof(BoolKey) + NiStream::BLOCK_OVERHEAD) ||
        uiCount == 0)
        return;
    BoolKey** ppKeys = new BoolKey*[uiCount];
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        ppKeys[i] = new BoolKey;
        ppKeys[i]->LoadBinary(kStream);
    }
    SetKeys(ppKeys, uiCount);
}

void NiVisData::SaveBinary(NiStream& kStream)
{
    NiObject::SaveBinary(kStream);
    kStream.Save(m_uiNumVisKeys);
    for (uint32_t i = 0; i < m_uiNumVisKeys; ++i)
        m_ppKeys[i]->SaveBinary(kStream);
}

bool NiVisData::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiObject::IsEquivalent(pkObject))
        return false;
    const NiVisData* pkOther = static_cast<const NiVisData*>(pkObject);
    if (m_uiNumVisKeys != pkOther->m_uiNumVisKeys)
        return false;
    for (uint32_t i = 0; i < m_uiNumVisKeys; ++i)
    {
        if (m_ppKeys[i]->m_fTime != pkOther->m_ppKeys[i]->m_fTime ||
            m_ppKeys[i]->m_ucValue != pkOther->m_ppKeys[i]->m_ucValue)
        {
            return false;
        }
    }
    return true;
}

void NiVisData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiObject::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiVisData"));
    kList.push_back(NiFieldString("m_uiNumVisKeys", m_uiNumVisKeys));
}
