#pragma once

#include "core/SKString.h"
#include "scene/object/NiStringHashMap.h"

#include <cstdint>
#include <memory>
#include <string>

// The configuration store: named values in named sections, kept in the one global
// g_kConfigMapping and served to scripts. Values are floats, ints, byte strings or wide
// strings; a getter asked for another type than the value holds gives its default.
//
// The .cfg text format: a "[name]" line opens a section; entry lines are key, separator,
// value, where the separator gives the kind ("=" byte string, "|" number, "-" wide string as
// raw 16-bit little-endian units); a blank line closes each section. Files are written with
// LF line ends and read with LF or CRLF, lines of any length. The format has no escapes: a
// value holding a line feed or "[", a byte string with blanks at either end, a key holding
// a separator, or a wide value whose unit bytes hold "=", "|", "[" or a line feed does not
// load back as it was saved.
class SKConfigMapping
{
public:
    enum ValueType : int32_t
    {
        TYPE_FLOAT = 0,
        TYPE_INT = 1,
        TYPE_STRING = 2,
        TYPE_SKSTRING = 3,
    };

    SKConfigMapping();
    ~SKConfigMapping();

    SKConfigMapping(const SKConfigMapping&) = delete;
    SKConfigMapping& operator=(const SKConfigMapping&) = delete;

    // Getters: the default (0.0, 0, null, null) when the section or key is missing or the
    // value has another type. The returned texts belong to the store.
    float GetFloatValue(const char* pcSection, const char* pcKey) const;
    int32_t GetIntValue(const char* pcSection, const char* pcKey) const;
    const char* GetStringValue(const char* pcSection, const char* pcKey) const;
    SKString* GetSKStringValue(const char* pcSection, const char* pcKey) const;
    bool HasValue(const char* pcSection, const char* pcKey) const;

    // Setters create the section when missing and replace the key's value, whatever its type.
    void SetFloatValue(const char* pcSection, const char* pcKey, float fValue);
    void SetIntValue(const char* pcSection, const char* pcKey, int32_t iValue);
    void SetStringValue(const char* pcSection, const char* pcKey, const char* pcValue);
    void SetSKStringValue(const char* pcSection, const char* pcKey, const SKString& kValue);

    // Adds the file's values to the store (equal keys are replaced); false only when the
    // file cannot be read.
    bool LoadConfigFile(const char* pcFileName);
    // Writes the whole store. The name must end in ".cfg" (case-sensitive); an earlier file
    // of that name is replaced only once the new one is completely written.
    bool SaveConfigFile(const char* pcFileName) const;

private:
    struct Value
    {
        int32_t m_iType = TYPE_INT;
        float m_fValue = 0.0f;
        int32_t m_iValue = 0;
        std::string m_kText;
        SKString m_kWide;
    };
    using Section = NiStringHashMap<std::unique_ptr<Value>>;

    const Value* Find(const char* pcSection, const char* pcKey) const;
    Value* Prepare(const char* pcSection, const char* pcKey);
    void LoadEntry(const char* pcSection, const std::string& kLine, size_t uiSeparator);

    NiStringHashMap<std::unique_ptr<Section>> m_kSections;
};

extern SKConfigMapping g_kConfigMapping;
