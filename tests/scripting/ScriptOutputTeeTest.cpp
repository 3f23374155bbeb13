// sys.stdout and sys.stderr led to a sink besides their own streams: each write reaches the
// stream it replaced and then the sink, marked by the stream it went to; removing the tee gives
// the streams back.

#include "scripting/PythonApi.h"

#include "ScriptHostFixture.h"

#include "scripting/ScriptOutputTee.h"

#include <gmock/gmock.h>

using namespace ScriptTest;
using testing::HasSubstr;

namespace
{
testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new HostEnvironment());

struct Received
{
    std::string kOut;
    std::string kError;
    int iWrites = 0;
};

void Collect(void* context, const char* text, bool error)
{
    auto* received = static_cast<Received*>(context);
    (error ? received->kError : received->kOut) += text;
    ++received->iWrites;
}

class ScriptOutputTeeTest : public testing::Test
{
protected:
    // The streams the tee replaces stand for the terminal.
    void SetUp() override
    {
        RunScript("import sys as _sys, io as _io\n"
                  "_saved = (_sys.stdout, _sys.stderr)\n"
                  "_sys.stdout, _sys.stderr = _io.StringIO(), _io.StringIO()\n"
                  "_terminal = (_sys.stdout, _sys.stderr)\n");
    }
    void TearDown() override
    {
        ScriptOutputTee::Remove();
        RunScript("_sys.stdout, _sys.stderr = _saved");
    }
};
} // namespace

TEST_F(ScriptOutputTeeTest, WritesReachTheTerminalAndTheSinkByStream)
{
    Received received;
    ASSERT_TRUE(ScriptOutputTee::Install(&Collect, &received));

    EXPECT_EQ(-1, PyEmbed::RunSimpleString("print('caf\\u00e9 ok')\nraise KeyError('lost')"));

    EXPECT_EQ("caf\xc3\xa9 ok\n", received.kOut);
    EXPECT_THAT(received.kError, HasSubstr("Traceback (most recent call last)"));
    EXPECT_THAT(received.kError, HasSubstr("KeyError: 'lost'"));
    EXPECT_EQ("caf\xe9 ok\n", EvaluateText("_terminal[0].getvalue()"));
    EXPECT_EQ(received.kError, EvaluateText("_terminal[1].getvalue()"));
    // What the replaced stream offers besides writing stays reachable.
    EXPECT_EQ("False", EvaluateText("str(_sys.stderr.closed)"));
}

TEST_F(ScriptOutputTeeTest, InstallingAgainReplacesTheSinkAndRemovingGivesTheStreamsBack)
{
    Received first;
    Received second;
    ASSERT_TRUE(ScriptOutputTee::Install(&Collect, &first));
    ASSERT_TRUE(ScriptOutputTee::Install(&Collect, &second));
    RunScript("print('once')");
    EXPECT_EQ(0, first.iWrites);
    EXPECT_EQ("once\n", second.kOut);
    EXPECT_EQ("once\n", EvaluateText("_terminal[0].getvalue()"));

    ScriptOutputTee::Remove();
    RunScript("print('after')");
    EXPECT_EQ("once\n", second.kOut);
    EXPECT_EQ("True", EvaluateText("str(_sys.stdout is _terminal[0] and _sys.stderr is _terminal[1])"));
}
