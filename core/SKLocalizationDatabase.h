#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/SKString.h"

// The 32-bit hash of a localization key: four-way Pearson hashing of its bytes; the empty key
// hashes to 0.
uint32_t StringHash32(const char* pcKey);

// One localization database: a file that maps short ASCII keys to wide texts and to the name of
// the source file each text came from. Databases are made by Create and owned by the global
// g_kLocalizationManager, which shares one database among all who load the same file.
//
// File (little-endian 32-bit integers): magic 5889, version 1, reserved 0, entry count N >= 1;
// N entries of (key offset, text offset in 16-bit units, file-name offset); then three pools,
// each its size and its bytes: keys (8-bit, each ended by 0), texts (16-bit units, each ended by
// a 0 unit; size in units) and file names (8-bit, each ended by 0).
class SKLocalizationDatabase
{
public:
    static constexpr int32_t FILE_MAGIC = 5889;
    static constexpr int32_t FILE_VERSION = 1;

    // The registered database of exactly this file name (with one more reference when asked),
    // else one loaded from the file and registered with one reference; null when the file cannot
    // be loaded.
    static SKLocalizationDatabase* Create(const char* pcFileName, bool bAddReference = true);
    // Writes a five-entry sample database whose keys "ID1".."ID5" give "STRING1".."STRING5" from
    // "FILE1".."FILE5".
    static void WriteSample(const char* pcFileName);

    ~SKLocalizationDatabase();
    SKLocalizationDatabase(const SKLocalizationDatabase&) = delete;
    SKLocalizationDatabase& operator=(const SKLocalizationDatabase&) = delete;

    // The key's text, or the default text "???" for a missing or null key. The reference stays
    // valid for the life of the database.
    const SKString& GetString(const char* pcKey) const;
    bool HasString(const char* pcKey) const;
    // The name of the source file of the key's text; null for a missing key.
    const char* GetFilename(const char* pcKey) const;

    // The name the database was loaded from.
    const char* GetDatabaseFileName() const { return m_kFileName.c_str(); }
    uint32_t GetEntryCount() const { return static_cast<uint32_t>(m_kEntries.size()); }

private:
    struct Entry
    {
        uint32_t m_uiHash;
        uint32_t m_uiTextOffset;
        uint32_t m_uiFileNameOffset;
        // Made from the text pool on the first lookup, so that a file whose entries all point at
        // one long text costs no more memory than the file itself.
        mutable std::unique_ptr<SKString> m_pkText;
    };

    SKLocalizationDatabase() = default;
    bool Load(const char* pcFileName);
    const Entry* Find(const char* pcKey) const;

    std::string m_kFileName;
    int32_t m_iVersion = 0;
    int32_t m_iReserved = 0;
    std::vector<Entry> m_kEntries;
    std::vector<char16_t> m_kTextPool;
    std::vector<char> m_kFileNamePool;
    SKString m_kDefault;
};
