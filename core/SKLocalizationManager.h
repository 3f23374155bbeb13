#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/SKLocalizationDatabase.h"

class SKStream;

// Keeps every loaded localization database with a reference count, in registration order, so that
// all who load one file share one database. Unload drops a reference; Purge deletes the databases
// whose count is exactly 0. The one instance is g_kLocalizationManager.
class SKLocalizationManager
{
public:
    constexpr SKLocalizationManager() = default;
    virtual ~SKLocalizationManager();
    SKLocalizationManager(const SKLocalizationManager&) = delete;
    SKLocalizationManager& operator=(const SKLocalizationManager&) = delete;

    // The registered databases as (file name, reference count) records; loading loads each named
    // database again and gives it the count read.
    virtual bool SaveToStream(SKStream& kStream) const;
    virtual bool LoadFromStream(SKStream& kStream);

    SKLocalizationDatabase* Load(const char* pcFileName, bool bAddReference = true);
    // The first registered database of exactly this file name (with one more reference when
    // asked); null when there is none.
    SKLocalizationDatabase* GetIfRegistered(const char* pcFileName, bool bAddReference = true);
    // Takes over the database with one reference; a database already registered stays as it is.
    void RegisterDatabase(SKLocalizationDatabase* pkDatabase);
    void Unload(SKLocalizationDatabase* pkDatabase);
    void DeleteAll();
    void Purge();

    bool IsRegistered(const SKLocalizationDatabase* pkDatabase) const;
    // The reference count of a registered database (0 when it is not registered).
    int32_t GetReferenceCount(const SKLocalizationDatabase* pkDatabase) const;

private:
    struct Record
    {
        std::unique_ptr<SKLocalizationDatabase> m_pkDatabase;
        int32_t m_iReferences;
    };

    Record* FindRecord(const SKLocalizationDatabase* pkDatabase);
    const Record* FindRecord(const SKLocalizationDatabase* pkDatabase) const;

    std::vector<Record> m_kRecords;
};

extern SKLocalizationManager g_kLocalizationManager;
