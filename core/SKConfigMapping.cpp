#include "core/SKConfigMapping.h"

#include "core/SKReplacingFile.h"
#include "core/SKStream.h"
#include "scene/object/NiCFormat.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>

// Sections: getters and setters; loading; saving.

SKConfigMapping g_kConfigMapping;

namespace
{

constexpr char kBlank = ' ';

// Numbers in the file always use '.', whatever locale the process runs in.
float ParseFloat(const std::string& kText)
{
    static const locale_t s_kCLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    double dValue = strtod_l(kText.c_str(), nullptr, s_kCLocale);
    if (std::fabs(dValue) > FLT_MAX)
        return std::signbit(dValue) ? -HUGE_VALF : HUGE_VALF;
    return static_cast<float>(dValue);
}

int32_t ParseInt(const std::string& kText)
{
    // strtoll over at most a few digits per sign never fails; clamp as a 32-bit long would.
    long long llValue = std::strtoll(kText.c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(llValue, INT32_MIN, INT32_MAX));
}

bool ConsistsOf(const std::string& kText, const char* pcAllowed)
{
    return kText.find_first_not_of(pcAllowed) == std::string::npos;
}

std::string Trimmed(const std::string& kText)
{
    size_t uiFirst = kText.find_first_not_of(kBlank);
    if (uiFirst == std::string::npos)
        return {};
    size_t uiLast = kText.find_last_not_of(kBlank);
    return kText.substr(uiFirst, uiLast - uiFirst + 1);
}

bool EndsWith(const char* pcText, const char* pcEnd)
{
    size_t uiLength = std::strlen(pcText);
    size_t uiEndLength = std::strlen(pcEnd);
    return uiLength >= uiEndLength && std::strcmp(pcText + uiLength - uiEndLength, pcEnd) == 0;
}

} // namespace

// ---- getters and setters -------------------------------------------------------------

SKConfigMapping::SKConfigMapping() = default;
SKConfigMapping::~SKConfigMapping() = default;

const SKConfigMapping::Value* SKConfigMapping::Find(const char* pcSection, const char* pcKey) const
{
    if (!pcSection || !pcKey)
        return nullptr;
    const std::unique_ptr<Section>* pspSection = m_kSections.Find(pcSection);
    if (!pspSection)
        return nullptr;
    const std::unique_ptr<Value>* pspValue = (*pspSection)->Find(pcKey);
    return pspValue ? pspValue->get() : nullptr;
}

SKConfigMapping::Value* SKConfigMapping::Prepare(const char* pcSection, const char* pcKey)
{
    if (!pcSection || !pcKey)
        return nullptr;
    std::unique_ptr<Section>* pspSection = m_kSections.Find(pcSection);
    if (!pspSection)
    {
        m_kSections.SetAt(pcSection, std::make_unique<Section>());
        pspSection = m_kSections.Find(pcSection);
    }
    Section& kSection = **pspSection;
    std::unique_ptr<Value>* pspValue = kSection.Find(pcKey);
    if (!pspValue)
    {
        kSection.SetAt(pcKey, std::make_unique<Value>());
        pspValue = kSection.Find(pcKey);
    }
    return pspValue->get();
}

float SKConfigMapping::GetFloatValue(const char* pcSection, const char* pcKey) const
{
    const Value* pkValue = Find(pcSection, pcKey);
    return pkValue && pkValue->m_iType == TYPE_FLOAT ? pkValue->m_fValue : 0.0f;
}

int32_t SKConfigMapping::GetIntValue(const char* pcSection, const char* pcKey) const
{
    const Value* pkValue = Find(pcSection, pcKey);
    return pkValue && pkValue->m_iType == TYPE_INT ? pkValue->m_iValue : 0;
}

const char* SKConfigMapping::GetStringValue(const char* pcSection, const char* pcKey) const
{
    const Value* pkValue = Find(pcSection, pcKey);
    return pkValue && pkValue->m_iType == TYPE_STRING ? pkValue->m_kText.c_str() : nullptr;
}

SKString* SKConfigMapping::GetSKStringValue(const char* pcSection, const char* pcKey) const
{
    const Value* pkValue = Find(pcSection, pcKey);
    return pkValue && pkValue->m_iType == TYPE_SKSTRING ? const_cast<SKString*>(&pkValue->m_kWide) : nullptr;
}

bool SKConfigMapping::HasValue(const char* pcSection, const char* pcKey) const
{
    return Find(pcSection, pcKey) != nullptr;
}

void SKConfigMapping::SetFloatValue(const char* pcSection, const char* pcKey, float fValue)
{
    if (Value* pkValue = Prepare(pcSection, pcKey))
    {
        pkValue->m_iType = TYPE_FLOAT;
        pkValue->m_fValue = fValue;
    }
}

void SKConfigMapping::SetIntValue(const char* pcSection, const char* pcKey, int32_t iValue)
{
    if (Value* pkValue = Prepare(pcSection, pcKey))
    {
        pkValue->m_iType = TYPE_INT;
        pkValue->m_iValue = iValue;
    }
}

void SKConfigMapping::SetStringValue(const char* pcSection, const char* pcKey, const char* pcValue)
{
    if (!pcValue)
        return;
    if (Value* pkValue = Prepare(pcSection, pcKey))
    {
        pkValue->m_iType = TYPE_STRING;
        pkValue->m_kText = pcValue;
    }
}

void SKConfigMapping::SetSKStringValue(const char* pcSection, const char* pcKey, const SKString& kValue)
{
    if (Value* pkValue = Prepare(pcSection, pcKey))
    {
        pkValue->m_iType = TYPE_SKSTRING;
        pkValue->m_kWide = kValue;
    }
}

// ---- loading -------------------------------------------------------------------------

bool SKConfigMapping::LoadConfigFile(const char* pcFileName)
{
    if (!pcFileName)
        return false;
    std::string kText;
    SKStream kStream;
    try
    {
        kStream.Open(pcFileName, "rb");
        if (kStream.GetStatus() != 0)
            return false;
        int32_t iLength = kStream.GetLength();
        if (iLength < 0)
            return false;
        kText.resize(size_t(iLength));
        kText.resize(size_t(kStream.Read(kText.data(), iLength)));
        kStream.Close();
    }
    catch (SKStreamException*)
    {
        return false;
    }

    // Lines of any length, ended by LF or CR LF. A last line without a line end is not
    // read, as the format has always had it.
    std::string kSection;
    bool bInSection = false;
    for (size_t uiStart = 0;;)
    {
        size_t uiEnd = kText.find('\n', uiStart);
        if (uiEnd == std::string::npos)
            break;
        std::string kRaw = kText.substr(uiStart, uiEnd - uiStart);
        uiStart = uiEnd + 1;
        std::string kLine = kRaw;
        if (!kLine.empty() && kLine.back() == '\r')
            kLine.pop_back();

        // Inside a section any line holding "[" ends it, even a value that merely holds one.
        if (bInSection && kLine.find('[') == std::string::npos)
        {
            size_t uiSeparator = kLine.find('=');
            if (uiSeparator == std::string::npos)
                uiSeparator = kLine.find('|');
            if (uiSeparator == std::string::npos)
                uiSeparator = kLine.find('-');
            if (uiSeparator != std::string::npos)
                LoadEntry(kSection.c_str(), kLine[uiSeparator] == '-' ? kRaw : kLine, uiSeparator);
            continue;
        }

        bInSection = false;
        size_t uiClose = kLine.find(']');
        if (kLine.find('[') == std::string::npos || uiClose == std::string::npos)
            continue;
        // The header is expected to begin with "[": the name runs from the second character.
        kSection = uiClose > 1 ? kLine.substr(1, uiClose - 1) : std::string();
        if (!m_kSections.Contains(kSection))
            m_kSections.SetAt(kSection, std::make_unique<Section>());
        bInSection = true;
    }
    return true;
}

void SKConfigMapping::LoadEntry(const char* pcSection, const std::string& kLine, size_t uiSeparator)
{
    std::string kKey = kLine.substr(0, uiSeparator);
    std::string kValue = kLine.substr(uiSeparator + 1);
    switch (kLine[uiSeparator])
    {
    case '-':
    {
        // Raw little-endian units up to the first 0 unit; a lone last byte (the CR of a
        // CR LF line end) is no unit.
        std::u16string kUnits;
        for (size_t i = 0; i + 1 < kValue.size(); i += 2)
        {
            char16_t usUnit = char16_t(uint8_t(kValue[i]) | uint8_t(kValue[i + 1]) << 8);
            if (usUnit == 0)
                break;
            kUnits.push_back(usUnit);
        }
        SKString kWide;
        kWide.Assign(kUnits.data(), int32_t(kUnits.size()));
        SetSKStringValue(pcSection, kKey.c_str(), kWide);
        return;
    }
    case '|':
        kValue = Trimmed(kValue);
        if (ConsistsOf(kValue, "0123456789-"))
            SetIntValue(pcSection, kKey.c_str(), ParseInt(kValue));
        else if (ConsistsOf(kValue, "0123456789.-"))
            SetFloatValue(pcSection, kKey.c_str(), ParseFloat(kValue));
        else
            SetStringValue(pcSection, kKey.c_str(), kValue.c_str());
        return;
    default:
        SetStringValue(pcSection, kKey.c_str(), Trimmed(kValue).c_str());
        return;
    }
}

// ---- saving --------------------------------------------------------------------------

bool SKConfigMapping::SaveConfigFile(const char* pcFileName) const
{
    if (!pcFileName || !EndsWith(pcFileName, ".cfg"))
        return false;

    std::string kText;
    for (const auto& kSectionEntry : m_kSections)
    {
        kText.append("[").append(kSectionEntry.m_key).append("]\n");
        for (const auto& kEntry : *kSectionEntry.m_val)
        {
            const Value& kValue = *kEntry.m_val;
            kText += kEntry.m_key;
            switch (kValue.m_iType)
            {
            case TYPE_FLOAT:
                kText += NiCFormat("|%f", double(kValue.m_fValue));
                break;
            case TYPE_INT:
                kText.append("|").append(std::to_string(kValue.m_iValue));
                break;
            case TYPE_STRING:
                kText.append("=").append(kValue.m_kText);
                break;
            default:
            {
                kText += "-";
                std::u16string kUnits = kValue.m_kWide.GetUnits();
                if (kUnits.empty())
                    kUnits.push_back(0);
                for (char16_t usUnit : kUnits)
                {
                    kText += char(usUnit & 0xFF);
                    kText += char(usUnit >> 8);
                }
                break;
            }
            }
            kText += "\n";
        }
        kText += "\n";
    }

    SKReplacingFile kFile(pcFileName);
    return kFile.Write(kText.data(), kText.size()) && kFile.Commit();
}
