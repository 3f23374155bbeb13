#include "properties/SKScriptWriter.h"

#include "core/SKStream.h"
#include "core/SKString.h"
#include "scene/object/NiCFormat.h"
#include "scene/object/NiColorA.h"
#include "scene/object/NiPoint3.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <iterator>

namespace
{
// The keywords of the language, and the module-level names that generated property scripts bind
// or call themselves: a property variable of one of these names would rebind it. A writer that
// adds a module-level name to the generated text adds it here.
constexpr std::string_view RESERVED_NAMES[] = {"False",
                                               "None",
                                               "True",
                                               "and",
                                               "as",
                                               "assert",
                                               "async",
                                               "await",
                                               "break",
                                               "class",
                                               "continue",
                                               "def",
                                               "del",
                                               "elif",
                                               "else",
                                               "except",
                                               "finally",
                                               "for",
                                               "from",
                                               "global",
                                               "if",
                                               "import",
                                               "in",
                                               "is",
                                               "lambda",
                                               "nonlocal",
                                               "not",
                                               "or",
                                               "pass",
                                               "raise",
                                               "return",
                                               "try",
                                               "while",
                                               "with",
                                               "yield",
                                               "App",
                                               "GlobalPropertyTemplates",
                                               "ParentPropertyScript",
                                               "ParentModule",
                                               "LoadPropertySet",
                                               "kColor",
                                               "kFiringChainString",
                                               "dir",
                                               "globals",
                                               "locals",
                                               "reload",
                                               "importlib",
                                               "__import__",
                                               "float",
                                               "prop",
                                               "pObj"};

bool IsIdentifierByte(unsigned char ucByte)
{
    return (ucByte >= 'A' && ucByte <= 'Z') || (ucByte >= 'a' && ucByte <= 'z') ||
           (ucByte >= '0' && ucByte <= '9') || ucByte == '_';
}
} // namespace

void SKScriptWriter::Emit(const std::string& kText)
{
    m_kStream.WriteCLine(kText.c_str());
}

void SKScriptWriter::Point3(const char* pcVariable, const char* pcField, const NiPoint3& kPoint)
{
    Line(pcVariable, pcField, " = App.SKPoint3()");
    Line(pcVariable, pcField, ".SetXYZ(", kPoint.x, ", ", kPoint.y, ", ", kPoint.z, ")");
}

void SKScriptWriter::ColorA(const char* pcVariable, const char* pcField, const NiColorA& kColor)
{
    Line(pcVariable, pcField, " = App.SKColorA()");
    Line(pcVariable, pcField, ".SetRGBA(", kColor.r, ", ", kColor.g, ", ", kColor.b, ", ", kColor.a, ")");
}

// ---------------------------------------------------------------------------------------------------------
// Variables

std::string SKScriptWriter::DeclareVariable(const SKString& kName)
{
    const std::string kBase = MakeVariableName(kName);
    std::string kVariable = kBase;
    for (int32_t iSuffix = 2; m_kVariables.count(kVariable) != 0; iSuffix++)
        kVariable = kBase + "_" + std::to_string(iSuffix);
    m_kVariables.insert(kVariable);
    return kVariable;
}

std::string SKScriptWriter::MakeVariableName(const SKString& kName)
{
    return MakeVariableName(kName.GetCString().get());
}

std::string SKScriptWriter::MakeVariableName(const char* pcName)
{
    std::string kVariable;
    for (const char* pcWalk = pcName ? pcName : ""; *pcWalk; pcWalk++)
    {
        const auto ucByte = static_cast<unsigned char>(*pcWalk);
        if (ucByte == ' ' || ucByte == '\t')
            continue;
        kVariable += IsIdentifierByte(ucByte) ? static_cast<char>(ucByte) : '_';
    }
    if (kVariable.empty())
        return "Property";
    if (kVariable[0] >= '0' && kVariable[0] <= '9')
        kVariable.insert(kVariable.begin(), '_');
    if (IsReservedName(kVariable))
        kVariable += '_';
    return kVariable;
}

bool SKScriptWriter::IsReservedName(std::string_view kName)
{
    return std::find(std::begin(RESERVED_NAMES), std::end(RESERVED_NAMES), kName) != std::end(RESERVED_NAMES);
}

// ---------------------------------------------------------------------------------------------------------
// Formatting

std::string SKScriptWriter::FormatFloat(double dValue)
{
    // "%f" would write inf or nan, which a script reads as unknown names.
    if (std::isnan(dValue))
        return "float('nan')";
    if (std::isinf(dValue))
        return dValue > 0 ? "float('inf')" : "float('-inf')";
    return NiCFormat("%f", dValue);
}

std::string SKScriptWriter::FormatInt(int64_t iValue)
{
    return NiCFormat("%" PRId64, iValue);
}

std::string SKScriptWriter::QuoteText(const char* pcText)
{
    static constexpr char HEX_DIGITS[] = "0123456789abcdef";
    std::string kQuoted = "\"";
    for (const char* pcWalk = pcText ? pcText : ""; *pcWalk; pcWalk++)
    {
        const auto ucByte = static_cast<unsigned char>(*pcWalk);
        switch (ucByte)
        {
        case '\\':
            kQuoted += "\\\\";
            break;
        case '"':
            kQuoted += "\\\"";
            break;
        case '\n':
            kQuoted += "\\n";
            break;
        case '\r':
            kQuoted += "\\r";
            break;
        case '\t':
            kQuoted += "\\t";
            break;
        default:
            if (ucByte < 0x20 || ucByte >= 0x7F)
            {
                // One code point per byte: the interpreter hands the engine the same byte back.
                kQuoted += "\\x";
                kQuoted += HEX_DIGITS[ucByte >> 4];
                kQuoted += HEX_DIGITS[ucByte & 0x0F];
            }
            else
            {
                kQuoted += static_cast<char>(ucByte);
            }
        }
    }
    kQuoted += '"';
    return kQuoted;
}
