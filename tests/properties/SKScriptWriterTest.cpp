// The script text writer: variables, quoting, numbers, and generated text read back by Python.
#include "properties/SKScriptWriter.h"
#include "core/SKColorA.h"
#include "scene/object/NiPoint3.h"
#include "tests/properties/PropertyTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
constexpr const char* SYSTEM_PYTHON = "/usr/bin/python3";

// Runs the system interpreter on a script and answers its output, or nothing when it failed.
bool RunPython(const std::string& kScript, const std::string& kArgument, std::string& kOutput)
{
    const std::string kCommand = std::string(SYSTEM_PYTHON) + " '" + kScript + "' '" + kArgument + "' 2>&1";
    FILE* pkPipe = popen(kCommand.c_str(), "r");
    if (!pkPipe)
        return false;
    std::array<char, 256> acBuffer{};
    kOutput.clear();
    while (size_t uiRead = std::fread(acBuffer.data(), 1, acBuffer.size(), pkPipe))
        kOutput.append(acBuffer.data(), uiRead);
    return pclose(pkPipe) == 0;
}

// Executes generated text with a stand-in for module App; prints, per created property, the hex of
// its name as the engine would receive it (Latin-1), then the number of distinct variables that
// hold created properties, then the texts passed to SetText.
constexpr const char* HARNESS = R"PY(
import sys
class Obj:
    def __init__(self, name=None): self.name = name
    def __getattr__(self, attr): return lambda *args: None
class AppStandIn:
    def __init__(self): self.created = []; self.texts = []
    def SKModelProperty_Create(self, name):
        o = Obj(name); self.created.append(o); return o
    def SKPoint3(self): return Obj()
    def SKColorA(self): return Obj()
    def SetText(self, text): self.texts.append(text)
App = AppStandIn()
source = open(sys.argv[1], encoding='ascii').read()
names = {'App': App}
exec(compile(source, sys.argv[1], 'exec'), names)
for o in App.created: print(o.name.encode('latin-1').hex())
print(len({k for k, v in names.items() if any(v is o for o in App.created)}))
for t in App.texts: print(t.encode('latin-1').hex())
)PY";

std::string Hex(const std::string& kBytes)
{
    std::ostringstream kOut;
    for (unsigned char ucByte : kBytes)
    {
        static constexpr char HEX[] = "0123456789abcdef";
        kOut << HEX[ucByte >> 4] << HEX[ucByte & 0x0F];
    }
    return kOut.str();
}
} // namespace

TEST(SKScriptWriterTest, VariableNamesAreIdentifiersThatRebindNothing)
{
    const struct
    {
        const char* pcName;
        const char* pcVariable;
    } akCases[] = {
        {"Forward Phaser 1", "ForwardPhaser1"},
        {"Port Phaser", "PortPhaser"},
        {"A\tB", "AB"},
        {"1st Bank (port)", "_1stBank_port_"},
        {"Phaser-1", "Phaser_1"},
        {"Fore.Shield", "Fore_Shield"},
        {"Caf\xe9", "Caf_"},
        {"None", "None_"},
        {"with", "with_"},
        {"App", "App_"},
        {"kColor", "kColor_"},
        {"LoadPropertySet", "LoadPropertySet_"},
        {"", "Property"},
        {"   ", "Property"},
        {nullptr, "Property"},
    };
    for (const auto& kCase : akCases)
        EXPECT_EQ(SKScriptWriter::MakeVariableName(kCase.pcName), kCase.pcVariable) << kCase.pcVariable;

    // A wide unit above 0xFF reaches the name as byte 0x01, which no identifier may hold.
    SKString kWide("Ph");
    kWide += u"\u0101";
    EXPECT_EQ(SKScriptWriter::MakeVariableName(kWide), "Ph_");
}

TEST(SKScriptWriterTest, OneWriterNeverDeclaresAVariableTwice)
{
    TextCaptureStream kStream;
    SKScriptWriter kWriter(kStream);
    EXPECT_EQ(kWriter.DeclareVariable(SKString("Phaser 1")), "Phaser1");
    EXPECT_EQ(kWriter.DeclareVariable(SKString("Phaser1")), "Phaser1_2");
    EXPECT_EQ(kWriter.DeclareVariable(SKString("Phaser1_2")), "Phaser1_2_2");
    EXPECT_EQ(kWriter.DeclareVariable(SKString("phaser 1")), "phaser1");
}

TEST(SKScriptWriterTest, NumbersAreWrittenInTheCLocale)
{
    const struct
    {
        double dValue;
        const char* pcText;
    } akCases[] = {
        {1.0, "1.000000"},
        {-0.0981748f, "-0.098175"},
        {200.0f, "200.000000"},
        {std::numeric_limits<double>::infinity(), "float('inf')"},
        {-std::numeric_limits<double>::infinity(), "float('-inf')"},
        {std::numeric_limits<double>::quiet_NaN(), "float('nan')"},
    };
    // A decimal comma must never reach script text, whatever locale the process runs in.
    const char* pcCommaLocale = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    for (const auto& kCase : akCases)
        EXPECT_EQ(SKScriptWriter::FormatFloat(kCase.dValue), kCase.pcText);
    if (pcCommaLocale)
        std::setlocale(LC_NUMERIC, "C");

    TextCaptureStream kStream;
    SKScriptWriter kWriter(kStream);
    kWriter.Line("Hull.SetCritical(", false, ")");
    kWriter.Line("Ship.SetGenus(", int32_t(-2147483647 - 1), ")");
    kWriter.Line("Shield.SetMaxShields(Shield.FRONT_SHIELDS, ", 1000.0f, ")");
    EXPECT_EQ(kStream.Text(), "Hull.SetCritical(0)\n"
                              "Ship.SetGenus(-2147483648)\n"
                              "Shield.SetMaxShields(Shield.FRONT_SHIELDS, 1000.000000)\n");
}

TEST(SKScriptWriterTest, QuotedTextsEscapeWhatWouldEndOrChangeThem)
{
    const struct
    {
        const char* pcText;
        const char* pcQuoted;
    } akCases[] = {
        {"data/phaser.tga", "\"data/phaser.tga\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"data\\new\\Units\\x.tga", "\"data\\\\new\\\\Units\\\\x.tga\""},
        {"a\nb\r\tc\x01", "\"a\\nb\\r\\tc\\x01\""},
        {"Caf\xe9\x7f", "\"Caf\\xe9\\x7f\""},
        {"", "\"\""},
        {nullptr, "\"\""},
    };
    for (const auto& kCase : akCases)
        EXPECT_EQ(SKScriptWriter::QuoteText(kCase.pcText), kCase.pcQuoted);
}

TEST(SKScriptWriterTest, VectorAndColourVariablesTakeTwoLines)
{
    TextCaptureStream kStream;
    SKScriptWriter kWriter(kStream);
    kWriter.Point3("Marker", "Forward", NiPoint3(0.0f, 1.0f, 0.0f));
    kWriter.ColorA("Shield", "ShieldGlowColor", SKColorA(0.25f, 0.5f, 1.0f, 0.0f));
    EXPECT_EQ(kStream.Text(), "MarkerForward = App.SKPoint3()\n"
                              "MarkerForward.SetXYZ(0.000000, 1.000000, 0.000000)\n"
                              "ShieldShieldGlowColor = App.SKColorA()\n"
                              "ShieldShieldGlowColor.SetRGBA(0.250000, 0.500000, 1.000000, 0.000000)\n");
}

// Every hazard at once: names that are no identifiers, keywords and the scripts' own names, two
// names with one variable form, texts with quotes, backslashes, line ends and Latin-1 bytes. The
// file must compile, create each property under the name it was given, bind each to a variable
// of its own, and hand every text back byte for byte.
TEST_F(PropertyTest, GeneratedTextRunsAndReadsBackEqual)
{
    if (access(SYSTEM_PYTHON, X_OK) != 0)
        GTEST_SKIP() << "no system interpreter";

    const std::vector<std::string> kNames = {
        "Phaser 1", "Phaser1",      "1st Bank (port)", "None", "App",
        "kColor",   "Say \"hi\"\\", "Caf\xe9 Aft",     "   ",  "",
    };
    const std::vector<std::string> kTexts = {
        "data\\new\\Units\\x.tga",
        "line\nbreak\ttab\r",
        "quote\"d",
        "\x01\x7f\xff",
    };

    TempFolder kFolder;
    {
        SKStream kStream;
        kStream.Open(kFolder.Path("Generated.py").c_str(), "wb");
        SKScriptWriter kWriter(kStream);
        for (const std::string& kName : kNames)
        {
            SKModelProperty* pkProperty = SKModelProperty::Create(kName.c_str());
            const std::string kVariable = pkProperty->WriteCreateLine(kWriter);
            kWriter.Point3(kVariable.c_str(), "Forward", NiPoint3(1.0f, 2.0f, 3.0f));
            kWriter.Line(kVariable, ".SetMass(", std::numeric_limits<float>::infinity(), ")");
            pkProperty->DecRefCount();
        }
        for (const std::string& kText : kTexts)
            kWriter.Line("App.SetText(", SKScriptWriter::Quoted{kText.c_str()}, ")");
    }

    const std::string kHarness = kFolder.WriteFile("harness.py", HARNESS);
    std::string kOutput;
    ASSERT_TRUE(RunPython(kHarness, kFolder.Path("Generated.py"), kOutput)) << kOutput;

    std::string kExpected;
    for (const std::string& kName : kNames)
        kExpected += Hex(kName) + "\n";
    kExpected += std::to_string(kNames.size()) + "\n";
    for (const std::string& kText : kTexts)
        kExpected += Hex(kText) + "\n";
    EXPECT_EQ(kOutput, kExpected);
}
