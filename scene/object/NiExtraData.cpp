#include "scene/object/NiExtraData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <cstring>

NiImplementRTTI(NiExtraData, NiObject);
NiImplementCreateObject(NiExtraData);

NiExtraData::NiExtraData() = default;

NiExtraData::~NiExtraData()
{
    // Let go of the rest of the chain one member at a time: a long chain must not recurse
    // once per member.
    NiRefPtr<NiExtraData> spNext = std::move(m_spNext);
    while (spNext && spNext->GetRefCount() == 1)
    {
        NiRefPtr<NiExtraData> spAfter = std::move(spNext->m_spNext);
        spNext = std::move(spAfter);
    }
}

void NiExtraData::SetValue(uint32_t uiSize, const void* pvData)
{
    m_uiSize = uiSize;
    m_pucData.reset();
    if (!IsExactlyExtraData() || uiSize == 0)
        return;
    m_pucData = std::make_unique<uint8_t[]>(uiSize);
    if (pvData)
        std::memcpy(m_pucData.get(), pvData, uiSize);
}

NiObject* NiExtraData::MakeClone()
{
    NiExtraData* pkClone = new NiExtraData;
    CopyToClone(pkClone);
    return pkClone;
}

void NiExtraData::CopyToClone(NiExtraData* pkClone) const
{
    pkClone->m_uiSize = m_uiSize;
    pkClone->m_pucData.reset();
    if (IsExactlyExtraData() && m_uiSize > 0 && m_pucData)
    {
        pkClone->m_pucData = std::make_unique<uint8_t[]>(m_uiSize);
        std::memcpy(pkClone->m_pucData.get(), m_pucData.get(), m_uiSize);
    }
    // Cloning one extra data clones the rest of its chain.
    pkClone->m_spNext = m_spNext ? NiDynamicCast<NiExtraData>(m_spNext->MakeClone()) : nullptr;
}

void NiExtraData::LoadBinary(NiStream& kStream)
{
    NiObject::LoadBinary(kStream);
    kStream.Load(kStream.GetLinkRecord<NiExtraDataLinkRecord>().m_uiNextID);
    kStream.Load(m_uiSize);
    m_pucData.reset();
    if (IsExactlyExtraData() && m_uiSize > 0 && kStream.RequireArray<uint8_t>(m_uiSize))
    {
        m_pucData = std::make_unique<uint8_t[]>(m_uiSize);
        kStream.Read(m_pucData.get(), m_uiSize);
    }
}

void NiExtraData::ResolveLinks(NiStream& kStream)
{
    NiObject::ResolveLinks(kStream);
    NiExtraData* pkNext =
        kStream.LookupLinkedObjectAs<NiExtraData>(kStream.GetLinkRecord<NiExtraDataLinkRecord>().m_uiNextID);
    // A next that leads back here would close the chain into a loop.
    for (NiExtraData* pkWalk = pkNext; pkWalk; pkWalk = pkWalk->GetNext())
    {
        if (pkWalk == this)
            return;
    }
    m_spNext = pkNext;
}

bool NiExtraData::RegisterForSave(NiStream& kStream)
{
    if (!NiObject::RegisterForSave(kStream))
        return false;
    if (m_spNext)
        m_spNext->RegisterForSave(kStream);
    return true;
}

void NiExtraData::SaveBinary(NiStream& kStream)
{
    NiObject::SaveBinary(kStream);
    kStream.SaveLinkID(m_spNext);
    kStream.Save(m_uiSize);
    if (IsExactlyExtraData() && m_uiSize > 0)
    {
        if (m_pucData)
            kStream.Write(m_pucData.get(), m_uiSize);
        else
            kStream.Write(std::make_unique<uint8_t[]>(m_uiSize).get(), m_uiSize);
    }
}

bool NiExtraData::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiObject::IsEquivalent(pkObject))
        return false;
    const NiExtraData* pkOther = static_cast<const NiExtraData*>(pkObject);
    if (m_uiSize != pkOther->m_uiSize)
        return false;
    if (m_pucData && pkOther->m_pucData &&
        std::memcmp(m_pucData.get(), pkOther->m_pucData.get(), m_uiSize) != 0)
        return false;
    if (!m_spNext || !pkOther->m_spNext)
        return !m_spNext && !pkOther->m_spNext;
    return m_spNext->IsEquivalent(pkOther->m_spNext);
}

void NiExtraData::AddFieldStrings(NiFieldStringList& kList) const
{
    kList.push_back(NiFieldStringHeader("NiExtraData"));
    kList.push_back(NiFieldString("m_uiSize", m_uiSize));
}
