// SKFieldSet: building the orders; the binary record; script lines; copying and comparing.
#include "properties/SKFieldSet.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

SKFieldSet::SKFieldSet(std::initializer_list<std::span<const SKPropertyField>> kBlocks)
{
    for (std::span<const SKPropertyField> kBlock : kBlocks)
        for (const SKPropertyField& kField : kBlock)
            m_kFields.push_back(&kField);
    for (const SKPropertyField* pkField : m_kFields)
    {
        if (pkField->InRecord())
            m_kRecordOrder.push_back(pkField);
        if (pkField->GetScriptForm() != SKPropertyField::NO_LINE)
            m_kScriptOrder.push_back(pkField);
    }
    std::stable_sort(m_kRecordOrder.begin(), m_kRecordOrder.end(),
                     [](const SKPropertyField* pkA, const SKPropertyField* pkB)
                     { return pkA->GetRecordPlace() < pkB->GetRecordPlace(); });
    std::stable_sort(m_kScriptOrder.begin(), m_kScriptOrder.end(),
                     [](const SKPropertyField* pkA, const SKPropertyField* pkB)
                     { return pkA->GetScriptPlace() < pkB->GetScriptPlace(); });
}

const SKPropertyField* SKFieldSet::Find(std::string_view kName) const
{
    for (const SKPropertyField* pkField : m_kFields)
        if (kName == pkField->GetName())
            return pkField;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Binary record

void SKFieldSet::Save(const SKModelProperty& kProperty, SKStream& kStream) const
{
    for (const SKPropertyField* pkField : m_kRecordOrder)
    {
        const SKPropertyField::Value kValue = pkField->Get(kProperty);
        switch (pkField->GetType())
        {
        case SKPropertyField::BOOL:
            kStream.WriteBool(std::get<bool>(kValue));
            break;
        case SKPropertyField::INT:
            kStream.WriteInt(std::get<int32_t>(kValue));
            break;
        case SKPropertyField::FLOAT:
            kStream.WriteFloat(std::get<float>(kValue));
            break;
        case SKPropertyField::POINT3:
        {
            const NiPoint3& kPoint = std::get<NiPoint3>(kValue);
            for (float fValue : {kPoint.x, kPoint.y, kPoint.z})
                kStream.WriteFloat(fValue);
            break;
        }
        case SKPropertyField::COLOR:
        {
            const NiColorA& kColor = std::get<NiColorA>(kValue);
            for (float fValue : {kColor.r, kColor.g, kColor.b, kColor.a})
                kStream.WriteFloat(fValue);
            break;
        }
        case SKPropertyField::TEXT:
        {
            const SKPropertyField::Text& kText = std::get<SKPropertyField::Text>(kValue);
            kStream.WriteNewCString(kText ? kText->c_str() : nullptr);
            break;
        }
        case SKPropertyField::STRING:
            std::get<SKString>(kValue).SaveToStream(kStream);
            break;
        }
    }
}

bool SKFieldSet::Load(SKModelProperty& kProperty, SKStream& kStream) const
{
    const SKReadCheck kCheck(kStream);
    std::vector<SKPropertyField::Value> kValues;
    kValues.reserve(m_kRecordOrder.size());
    for (const SKPropertyField* pkField : m_kRecordOrder)
    {
        switch (pkField->GetType())
        {
        case SKPropertyField::BOOL:
            kValues.emplace_back(kStream.ReadBool());
            break;
        case SKPropertyField::INT:
            kValues.emplace_back(kStream.ReadInt());
            break;
        case SKPropertyField::FLOAT:
            kValues.emplace_back(kStream.ReadFloat());
            break;
        case SKPropertyField::POINT3:
        {
            NiPoint3 kPoint;
            kPoint.x = kStream.ReadFloat();
            kPoint.y = kStream.ReadFloat();
            kPoint.z = kStream.ReadFloat();
            kValues.emplace_back(kPoint);
            break;
        }
        case SKPropertyField::COLOR:
        {
            NiColorA kColor;
            kColor.r = kStream.ReadFloat();
            kColor.g = kStream.ReadFloat();
            kColor.b = kStream.ReadFloat();
            kColor.a = kStream.ReadFloat();
            kValues.emplace_back(kColor);
            break;
        }
        case SKPropertyField::TEXT:
        {
            // A length past the end gives null too: the status tells it from a stored "none".
            const std::unique_ptr<char[]> pcText = kStream.ReadNewCString(-1);
            kValues.emplace_back(pcText ? SKPropertyField::Text(pcText.get()) : SKPropertyField::Text());
            break;
        }
        case SKPropertyField::STRING:
        {
            SKString kString;
            if (!kString.LoadFromStream(kStream))
                return false;
            kValues.emplace_back(std::move(kString));
            break;
        }
        }
        if (kCheck.Failed())
            return false;
    }
    for (size_t uiIndex = 0; uiIndex < m_kRecordOrder.size(); uiIndex++)
        m_kRecordOrder[uiIndex]->Set(kProperty, kValues[uiIndex]);
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Script lines

namespace
{
std::string FormatArgument(const SKPropertyField::Value& kValue)
{
    if (const bool* pbValue = std::get_if<bool>(&kValue))
        return *pbValue ? "1" : "0";
    if (const int32_t* piValue = std::get_if<int32_t>(&kValue))
        return SKScriptWriter::FormatInt(*piValue);
    if (const float* pfValue = std::get_if<float>(&kValue))
        return SKScriptWriter::FormatFloat(*pfValue);
    if (const NiPoint3* pkPoint = std::get_if<NiPoint3>(&kValue))
        return SKScriptWriter::FormatFloat(pkPoint->x) + ", " + SKScriptWriter::FormatFloat(pkPoint->y) +
               ", " + SKScriptWriter::FormatFloat(pkPoint->z);
    if (const NiColorA* pkColor = std::get_if<NiColorA>(&kValue))
        return SKScriptWriter::FormatFloat(pkColor->r) + ", " + SKScriptWriter::FormatFloat(pkColor->g) +
               ", " + SKScriptWriter::FormatFloat(pkColor->b) + ", " +
               SKScriptWriter::FormatFloat(pkColor->a);
    if (const SKPropertyField::Text* pkText = std::get_if<SKPropertyField::Text>(&kValue))
        return SKScriptWriter::QuoteText(*pkText ? (*pkText)->c_str() : nullptr);
    const std::unique_ptr<char[]> pcString = std::get<SKString>(kValue).GetCString();
    return SKScriptWriter::QuoteText(pcString.get());
}

// Writes the lines that prepare a field's argument (a variable or a shared one) and answers the
// argument; kMade holds the shared variables made so far.
std::string PrepareArgument(const SKPropertyField& kField, const SKPropertyField::Value& kValue,
                            SKScriptWriter& kWriter, const char* pcVariable, std::vector<std::string>& kMade)
{
    const char* pcName = kField.GetScriptName();
    switch (kField.GetScriptForm())
    {
    case SKPropertyField::VARIABLE:
        if (const NiPoint3* pkPoint = std::get_if<NiPoint3>(&kValue))
            kWriter.Point3(pcVariable, pcName, *pkPoint);
        else
            kWriter.ColorA(pcVariable, pcName, std::get<NiColorA>(kValue));
        return std::string(pcVariable) + pcName;
    case SKPropertyField::SHARED:
    {
        const bool bColor = std::holds_alternative<NiColorA>(kValue);
        if (std::find(kMade.begin(), kMade.end(), pcName) == kMade.end())
        {
            kWriter.Line(pcName, bColor ? " = App.SKColorA()" : " = App.SKString()");
            kMade.emplace_back(pcName);
        }
        if (bColor)
            kWriter.Line(pcName, ".SetRGBA(", FormatArgument(kValue), ")");
        else
            kWriter.Line(pcName, ".SetString(", FormatArgument(kValue), ")");
        return pcName;
    }
    case SKPropertyField::CONSTANT:
        return std::string(pcVariable) + "." + kField.GetConstantName(std::get<int32_t>(kValue));
    default:
        return FormatArgument(kValue);
    }
}
} // namespace

void SKFieldSet::WriteLines(const SKModelProperty& kProperty, SKScriptWriter& kWriter, const char* pcVariable,
                            int32_t iFrom, int32_t iTo) const
{
    auto bInRange = [&](const SKPropertyField* pkField)
    { return pkField->GetScriptPlace() >= iFrom && pkField->GetScriptPlace() < iTo; };
    std::vector<std::string> kMade;
    for (size_t uiFirst = 0; uiFirst < m_kScriptOrder.size();)
    {
        const SKPropertyField* pkFirst = m_kScriptOrder[uiFirst];
        // One call: the fields that follow each other with the same setter.
        size_t uiEnd = uiFirst + 1;
        while (uiEnd < m_kScriptOrder.size() && bInRange(m_kScriptOrder[uiEnd]) == bInRange(pkFirst) &&
               std::strcmp(m_kScriptOrder[uiEnd]->GetScriptSetter(), pkFirst->GetScriptSetter()) == 0)
            uiEnd++;
        const size_t uiGroup = uiFirst;
        uiFirst = uiEnd;
        if (!bInRange(pkFirst))
            continue;
        std::string kArguments;
        bool bWrite = true;
        for (size_t uiIndex = uiGroup; uiIndex < uiEnd; uiIndex++)
        {
            const SKPropertyField& kField = *m_kScriptOrder[uiIndex];
            const SKPropertyField::Value kValue = kField.Get(kProperty);
            if (kField.GetScriptForm() == SKPropertyField::ARGUMENT_WHEN_SET &&
                !std::get<SKPropertyField::Text>(kValue))
                bWrite = false;
            if (!kArguments.empty())
                kArguments += ", ";
            kArguments += PrepareArgument(kField, kValue, kWriter, pcVariable, kMade);
        }
        if (bWrite)
            kWriter.Line(pcVariable, ".", pkFirst->GetScriptSetter(), "(", kArguments, ")");
    }
}

void SKFieldSet::WriteLines(const SKModelProperty& kProperty, SKStream& kStream, const char* pcVariable,
                            int32_t iFrom, int32_t iTo) const
{
    SKScriptWriter kWriter(kStream);
    WriteLines(kProperty, kWriter, pcVariable, iFrom, iTo);
}

// ---------------------------------------------------------------------------------------------------------
// Copying and comparing

void SKFieldSet::Copy(SKModelProperty& kTarget, const SKModelProperty& kSource) const
{
    for (const SKPropertyField* pkField : m_kFields)
        pkField->Set(kTarget, pkField->Get(kSource));
}

bool SKFieldSet::Equal(const SKModelProperty& kFirst, const SKModelProperty& kSecond) const
{
    for (const SKPropertyField* pkField : m_kFields)
        if (!(pkField->Get(kFirst) == pkField->Get(kSecond)))
            return false;
    return true;
}
