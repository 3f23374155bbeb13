#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>

class NiColorA;
class NiPoint3;
class SKStream;
class SKString;

// Writes generated script text (Python 3) onto an engine stream, one whole line per WriteCLine
// (a memory stream ends each such write with a line feed of its own: blank lines, harmless).
// Every property class, the hardpoint classes and the editor's script writers go through it, so
// the rules hold in one place:
//   - numbers are formatted in the "C" locale: floats as "%f" (six decimals; a value that is not
//     finite as float('inf'), float('-inf') or float('nan')), integers as "%d", booleans as 0 or 1;
//   - a quoted text escapes backslash, double quote and control characters, and writes bytes from
//     0x80 up as \xNN, so the file is plain ASCII and reads back as the same bytes; a null text is
//     written as "";
//   - a variable made from a property name is a valid identifier that is no keyword and no name
//     the generated scripts use for themselves, and one writer never hands out the same variable
//     twice (use one writer for a whole file).
//
// Usage: SKScriptWriter kWriter(kStream);
//        kWriter.Line(pcVar, ".SetMaxCondition(", m_fMaxCondition, ")");
//        kWriter.Line(pcVar, ".SetShipName(", SKScriptWriter::Quoted{m_pcShipName}, ")");
//        kWriter.Point3(pcVar, "Forward", m_kForward);       // the two lines of a vector variable
// A piece of Line is raw text (const char*, std::string, std::string_view, char), a number or a
// bool, or a Quoted text. Raw text is written as it is; a null const char* writes nothing.
class SKScriptWriter
{
public:
    // A text to be written between double quotes, escaped.
    struct Quoted
    {
        const char* pcText;
    };

    explicit SKScriptWriter(SKStream& kStream) : m_kStream(kStream) {}
    SKScriptWriter(const SKScriptWriter&) = delete;
    SKScriptWriter& operator=(const SKScriptWriter&) = delete;

    SKStream& GetStream() const { return m_kStream; }

    // --- Writing. Line ends the pieces with a line feed; Text writes them without one. ---
    template <class... TPieces> void Line(const TPieces&... kPieces)
    {
        std::string kLine;
        (AppendPiece(kLine, kPieces), ...);
        kLine += '\n';
        Emit(kLine);
    }
    template <class... TPieces> void Text(const TPieces&... kPieces)
    {
        std::string kText;
        (AppendPiece(kText, kPieces), ...);
        Emit(kText);
    }
    void BlankLine() { Emit("\n"); }

    // "<var><field> = App.SKPoint3()" and "<var><field>.SetXYZ(x, y, z)".
    void Point3(const char* pcVariable, const char* pcField, const NiPoint3& kPoint);
    // "<var><field> = App.SKColorA()" and "<var><field>.SetRGBA(r, g, b, a)".
    void ColorA(const char* pcVariable, const char* pcField, const NiColorA& kColor);

    // --- Variables. ---
    // A variable for a property of this name, distinct from every one this writer gave before.
    std::string DeclareVariable(const SKString& kName);
    // The variable form of a name without regard to other variables: the name's bytes with blanks
    // and tabs removed and every other character that cannot stand in an identifier turned into
    // '_'; "_" goes before a leading digit, "_" after a keyword or a reserved name, and an empty
    // result becomes "Property".
    static std::string MakeVariableName(const SKString& kName);
    static std::string MakeVariableName(const char* pcName);
    // True for the names generated scripts bind themselves (App, kColor, LoadPropertySet, ...)
    // and for the keywords of the language.
    static bool IsReservedName(std::string_view kName);

    // --- Formatting, as Line does it. ---
    static std::string FormatFloat(double dValue);
    static std::string FormatInt(int64_t iValue);
    static std::string QuoteText(const char* pcText);

private:
    template <class T> static void AppendPiece(std::string& kOut, const T& kPiece)
    {
        if constexpr (std::is_same_v<T, bool>)
            kOut += kPiece ? '1' : '0';
        else if constexpr (std::is_same_v<T, char>)
            kOut += kPiece;
        else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>)
            kOut += FormatInt(static_cast<int64_t>(kPiece));
        else if constexpr (std::is_floating_point_v<T>)
            kOut += FormatFloat(static_cast<double>(kPiece));
        else if constexpr (std::is_same_v<T, Quoted>)
            kOut += QuoteText(kPiece.pcText);
        else if constexpr (std::is_convertible_v<T, const char*>)
            AppendRaw(kOut, static_cast<const char*>(kPiece));
        else
            kOut += std::string_view(kPiece);
    }
    static void AppendRaw(std::string& kOut, const char* pcText)
    {
        if (pcText)
            kOut += pcText;
    }
    void Emit(const std::string& kText);

    SKStream& m_kStream;
    std::set<std::string> m_kVariables;
};
