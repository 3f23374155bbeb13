#include "core/SKTraceConfig.h"

#include "core/SKTraceConsoleOutput.h"
#include "core/SKTraceDebugWindowOutput.h"
#include "core/SKTraceLogFileOutput.h"
#include "core/SKTraceScriptFunctionOutput.h"
#include "platform/win32/DebugOutputCapture.h"
#include "tests/core/FakeScriptBridge.h"
#include "tests/core/WorkingFolder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

namespace
{

// Each test reads its own "SKTraceStream.cfg" in a fresh current folder.
class SKTraceConfigTest : public testing::Test
{
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }

    static void Reset()
    {
        SKTraceConfig::DeleteOutputs();
        SKTraceConfig::GetShowTypes().RemoveAll();
        SKTraceConfig::GetExcludeTypes().RemoveAll();
    }

    void Load(const std::string& kText)
    {
        m_kFolder.WriteFile(SKTraceConfig::FILE_NAME, kText);
        SKTraceConfig::LoadTraceConfig();
    }

    bool Exists(const char* pcName) const
    {
        struct stat kStat;
        return stat(m_kFolder.Path(pcName).c_str(), &kStat) == 0;
    }

    // "debug", "console", "log", "script module:function" or "null" per slot.
    static std::vector<std::string> Slots()
    {
        std::vector<std::string> kSlots;
        for (int32_t i = 0; i < SKTraceConfig::GetOutputCount(); ++i)
        {
            SKTraceOutput* pkOutput = SKTraceConfig::GetOutput(i);
            if (dynamic_cast<SKTraceDebugWindowOutput*>(pkOutput))
                kSlots.push_back("debug");
            else if (dynamic_cast<SKTraceConsoleOutput*>(pkOutput))
                kSlots.push_back("console");
            else if (dynamic_cast<SKTraceLogFileOutput*>(pkOutput))
                kSlots.push_back("log");
            else if (auto* pkScript = dynamic_cast<SKTraceScriptFunctionOutput*>(pkOutput))
                kSlots.push_back("script " + pkScript->GetModuleName() + ":" + pkScript->GetFunctionName());
            else
                kSlots.push_back("null");
        }
        return kSlots;
    }

    TempFolder m_kFolder;
    WorkingFolder m_kHere{m_kFolder.Path()};
};

TEST_F(SKTraceConfigTest, OutputsLineMakesTheOutputsInOrderAndCreatesLogsEmpty)
{
    m_kFolder.WriteFile("trace.log", "old text");
    Load("Outputs: DebugWindow, LogFile(trace.log), PythonFunc(tracer:write)\n");
    EXPECT_EQ(Slots(), (std::vector<std::string>{"debug", "log", "script tracer:write"}));
    EXPECT_EQ(TempFolder::ReadFile(m_kFolder.Path("trace.log")), "");
}

TEST_F(SKTraceConfigTest, ItemsThatMakeNoOutputLeaveNullSlotsAtTheEnd)
{
    struct Case
    {
        const char* pcLine;
        std::vector<std::string> kSlots;
    };
    const Case cases[] = {
        {"Outputs: Bogus, Console", {"console", "null"}},
        {"Outputs: LogFile, Console", {"console", "null"}},    // no parentheses
        {"Outputs: LogFile)x(, Console", {"console", "null"}}, // in the wrong order
        {"Outputs: PythonFunc(tracer), Console", {"console", "null"}},
        {"Outputs:Console,DebugWindow,", {"console", "debug", "null"}},
        {"Outputs: \tconsole, Console", {"console", "null"}}, // keywords are case-sensitive
        {"OutputsExtra: Console", {"console"}},               // only the line's start counts
        {"  Outputs: Console", {}},                           // not at the line's start
        {"Outputs Console", {}},                              // no ":"
        {"# Outputs: Console", {}},                           // a comment
        {"Outputs: Console # , DebugWindow", {"console"}},    // comment cut off
        {"Outputs: Console\nOutputs: DebugWindow, Console", {"debug", "console"}}, // the last wins
    };
    for (const Case& c : cases)
    {
        Load(c.pcLine);
        EXPECT_EQ(Slots(), c.kSlots) << c.pcLine;
    }
}

TEST_F(SKTraceConfigTest, TypeLinesEnterOneTrimmedNameEach)
{
    Load("ShowType: Mesh, Node\r\n"
         "ShowType:\t Mesh, Node \t\n"
         "ShowType:   \n"
         "ExcludeType: Camera # not this\n"
         "ShowType Light\n");
    EXPECT_EQ(SKTraceConfig::GetShowTypes().GetCount(), 1u);
    EXPECT_TRUE(SKTraceConfig::GetShowTypes().Contains("Mesh, Node"));
    EXPECT_EQ(SKTraceConfig::GetExcludeTypes().GetCount(), 1u);
    EXPECT_TRUE(SKTraceConfig::GetExcludeTypes().Contains("Camera"));
}

TEST_F(SKTraceConfigTest, WithoutAFileThereAreNoOutputs)
{
    SKTraceConfig::ParseTraceOutputs("Console");
    SKTraceConfig::LoadTraceConfig();
    EXPECT_EQ(SKTraceConfig::GetOutputCount(), 0);
    EXPECT_EQ(SKTraceConfig::GetShowTypes().GetCount(), 0u);
}

TEST_F(SKTraceConfigTest, OutputsPassTheirTextOn)
{
    FakeScriptBridge kBridge;
    win32::DebugOutputCapture kCapture;
    Load("Outputs: DebugWindow, LogFile(trace.log), PythonFunc(tracer:write), Console, "
         "LogFile(no/such/dir.log)\n");
    for (int32_t i = 0; i < SKTraceConfig::GetOutputCount(); ++i)
        SKTraceConfig::GetOutput(i)->Print("hello");
    SKTraceConfig::DeleteOutputs();

    EXPECT_EQ(kCapture.GetText(), "hello");
    EXPECT_EQ(TempFolder::ReadFile(m_kFolder.Path("trace.log")), "hello");
    EXPECT_EQ(kBridge.m_kCalls, std::vector<std::string>{"tracer.write(hello)"});
    EXPECT_EQ(SKTraceConfig::GetOutputCount(), 0);
}

} // namespace
