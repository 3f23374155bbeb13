#include "scene/graph/NiPicker.h"

#include <utility>

uint32_t NiPicker::GetCount() const
{
    uint32_t uiCount = 0;
    for (const std::unique_ptr<Record>& spRecord : m_kResults)
    {
        if (spRecord)
            ++uiCount;
    }
    return uiCount;
}

NiPicker::Record* NiPicker::GetAt(uint32_t uiIndex) const
{
    return uiIndex < m_kResults.size() ? m_kResults[uiIndex].get() : nullptr;
}

void NiPicker::ClearResults()
{
    m_kResults.clear();
    m_pkLastRecord = nullptr;
}

NiPicker::Record* NiPicker::AddRecord(NiAVObject* pkObject)
{
    auto spRecord = std::make_unique<Record>(pkObject);
    m_pkLastRecord = spRecord.get();
    for (std::unique_ptr<Record>& spSlot : m_kResults)
    {
        if (!spSlot)
        {
            spSlot = std::move(spRecord);
            return m_pkLastRecord;
        }
    }
    m_kResults.push_back(std::move(spRecord));
    return m_pkLastRecord;
}

bool NiPicker::Pick(const NiPoint3& kOrigin, const NiPoint3& kDirection, bool bAppend)
{
    if (!bAppend)
    {
        for (std::unique_ptr<Record>& spSlot : m_kResults)
            spSlot.reset();
        m_pkLastRecord = nullptr;
    }
    if (!m_spTarget || !m_spTarget->FindPickHits(kOrigin, kDirection, *this) || GetCount() == 0)
        return false;
    if (m_iOrdering == SORT && m_iTestKind != BOUND_INTERSECT && GetCount() > 1)
    {
        if (m_iHitMode == FIND_FIRST)
            KeepNearest();
        else
            SortByDistance();
    }
    return true;
}

void NiPicker::SortByDistance()
{
    // Exchange sort over the slots: each later, strictly nearer record comes forward; empty
    // slots stay where they are and equal distances keep the order found.
    for (size_t i = 0; i < m_kResults.size(); ++i)
    {
        if (!m_kResults[i])
            continue;
        for (size_t j = i + 1; j < m_kResults.size(); ++j)
        {
            if (m_kResults[j] && m_kResults[j]->m_fDistance < m_kResults[i]->m_fDistance)
                std::swap(m_kResults[i], m_kResults[j]);
        }
    }
}

void NiPicker::KeepNearest()
{
    // The earliest of the nearest stays, at slot 0.
    std::unique_ptr<Record> spNearest;
    for (std::unique_ptr<Record>& spSlot : m_kResults)
    {
        std::unique_ptr<Record> spRecord = std::move(spSlot);
        if (spRecord && (!spNearest || spRecord->m_fDistance < spNearest->m_fDistance))
            spNearest = std::move(spRecord);
    }
    if (m_pkLastRecord != spNearest.get())
        m_pkLastRecord = nullptr;
    m_kResults[0] = std::move(spNearest);
}
