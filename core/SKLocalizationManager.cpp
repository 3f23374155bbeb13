#include "core/SKLocalizationManager.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/SKStream.h"

constinit SKLocalizationManager g_kLocalizationManager;

SKLocalizationManager::~SKLocalizationManager() = default;

SKLocalizationDatabase* SKLocalizationManager::Load(const char* pcFileName, bool bAddReference)
{
    return SKLocalizationDatabase::Create(pcFileName, bAddReference);
}

SKLocalizationDatabase* SKLocalizationManager::GetIfRegistered(const char* pcFileName, bool bAddReference)
{
    if (!pcFileName)
        return nullptr;
    for (Record& kRecord : m_kRecords)
    {
        if (std::strcmp(kRecord.m_pkDatabase->GetDatabaseFileName(), pcFileName) == 0)
        {
            if (bAddReference)
                ++kRecord.m_iReferences;
            return kRecord.m_pkDatabase.get();
        }
    }
    return nullptr;
}

void SKLocalizationManager::RegisterDatabase(SKLocalizationDatabase* pkDatabase)
{
    // A second record of one database would delete it twice.
    if (!pkDatabase || FindRecord(pkDatabase))
        return;
    m_kRecords.push_back({std::unique_ptr<SKLocalizationDatabase>(pkDatabase), 1});
}

void SKLocalizationManager::Unload(SKLocalizationDatabase* pkDatabase)
{
    if (Record* pkRecord = FindRecord(pkDatabase))
        --pkRecord->m_iReferences;
}

void SKLocalizationManager::DeleteAll()
{
    for (Record& kRecord : m_kRecords)
        kRecord.m_iReferences = 0;
}

void SKLocalizationManager::Purge()
{
    std::erase_if(m_kRecords, [](const Record& kRecord) { return kRecord.m_iReferences == 0; });
}

bool SKLocalizationManager::IsRegistered(const SKLocalizationDatabase* pkDatabase) const
{
    return FindRecord(pkDatabase) != nullptr;
}

int32_t SKLocalizationManager::GetReferenceCount(const SKLocalizationDatabase* pkDatabase) const
{
    const Record* pkRecord = FindRecord(pkDatabase);
    return pkRecord ? pkRecord->m_iReferences : 0;
}

SKLocalizationManager::Record* SKLocalizationManager::FindRecord(const SKLocalizationDatabase* pkDatabase)
{
    return const_cast<Record*>(std::as_const(*this).FindRecord(pkDatabase));
}

const SKLocalizationManager::Record*
SKLocalizationManager::FindRecord(const SKLocalizationDatabase* pkDatabase) const
{
    for (const Record& kRecord : m_kRecords)
    {
        if (kRecord.m_pkDatabase.get() == pkDatabase)
            return &kRecord;
    }
    return nullptr;
}

// Stream form ------------------------------------------------------------------------------------

bool SKLocalizationManager::SaveToStream(SKStream& kStream) const
{
    kStream.WriteLong(static_cast<int32_t>(m_kRecords.size()));
    for (const Record& kRecord : m_kRecords)
    {
        kStream.WriteNewCString(kRecord.m_pkDatabase->GetDatabaseFileName());
        kStream.WriteLong(kRecord.m_iReferences);
    }
    return true;
}

bool SKLocalizationManager::LoadFromStream(SKStream& kStream)
{
    int32_t iCount = kStream.ReadLong();
    // The count comes from the stream: stop where the stream ends rather than trusting it.
    for (int32_t i = 0; i < iCount && kStream.GetStatus() == 0 && !kStream.Eof(); ++i)
    {
        std::unique_ptr<char[]> pcName = kStream.ReadNewCString(0);
        if (!pcName)
            continue;
        int32_t iReferences = kStream.ReadLong();
        if (SKLocalizationDatabase* pkDatabase = Load(pcName.get(), true))
            FindRecord(pkDatabase)->m_iReferences = iReferences;
    }
    return true;
}
