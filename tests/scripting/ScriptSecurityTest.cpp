// The script security level: raised around the host's calls into scripts, where open()
// refuses; scripts run as files at level 0 may open files; nothing ends the process.

#include "scripting/PythonApi.h"

#include "ScriptHostFixture.h"

#include "scripting/SecureBracket.h"

#include <gmock/gmock.h>

#include <stdexcept>

using namespace ScriptTest;
using testing::HasSubstr;

namespace
{
// Appc.Level(): the security level the script runs at.
PyObject* Level(PyObject*, PyObject*)
{
    return PyLong_FromLong(PyEmbed::GetSecureLevel());
}

// Appc.CallBack(module, function): the engine calling a script again from inside a
// script's call, as a property setter that loads a torpedo module does.
PyObject* CallBack(PyObject*, PyObject* args)
{
    const char* module = nullptr;
    const char* function = nullptr;
    if (!PyArg_ParseTuple(args, "ss:CallBack", &module, &function))
        return nullptr;
    int level = -1;
    PyEmbed::CallFunction(module, function, "i", &level, nullptr);
    return PyLong_FromLong(level);
}

const PyMethodDef s_akMethods[] = {
    {"Level", Level, METH_VARARGS, nullptr},
    {"CallBack", CallBack, METH_VARARGS, nullptr},
};
const AppcTable s_kTable = {s_akMethods, {}, {}, nullptr};

testing::Environment* const s_pkEnvironment =
    testing::AddGlobalTestEnvironment(new HostEnvironment(MINIMAL_APP, &s_kTable));

constexpr const char* GUARDED_MODULE = R"(
import Appc, io

def Attempt(path, mode):
    try:
        with open(path, mode) as handle:
            return "opened"
    except IOError as error:
        return "%s: %s" % (type(error).__name__, error)

def AttemptIo(path):
    try:
        io.open(path).close()
        return "opened"
    except OSError as error:
        return str(error)

def AttemptNoArguments():
    try:
        open()
    except TypeError as error:
        return "TypeError"
    except OSError:
        return "OSError"

def Inner():
    return Appc.Level()

def Outer():
    return Appc.Level() * 100 + Appc.CallBack("Guarded", "Inner")

def Leave(code):
    import sys
    sys.exit(code)
)";

class ScriptSecurity : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        HostEnvironment::Folder().Write("Scripts/Guarded.py", GUARDED_MODULE);
        s_kDataFile = HostEnvironment::Folder().Write("data.txt", "engine data\n").string();
    }
    static std::string s_kDataFile;
};
std::string ScriptSecurity::s_kDataFile;

std::string Attempt(const std::string& path, const char* mode)
{
    const char* outcome = nullptr;
    EXPECT_EQ(0, PyEmbed::CallFunction("Guarded", "Attempt", "s", &outcome, "(ss)", path.c_str(), mode));
    return outcome ? outcome : "";
}
} // namespace

TEST_F(ScriptSecurity, OpenIsRefusedInsideHostCalls)
{
    const char* cases[][2] = {
        {"r", "OSError: Securelevel prevents file IO."},
        {"rb", "OSError: Securelevel prevents file IO."},
        {"w", "OSError: Securelevel prevents file writing."},
        {"a", "OSError: Securelevel prevents file writing."},
        {"r+", "OSError: Securelevel prevents file writing."},
        {"x", "OSError: Securelevel prevents file writing."},
    };
    for (const auto& entry : cases)
        EXPECT_EQ(entry[1], Attempt(s_kDataFile, entry[0])) << entry[0];

    const char* outcome = nullptr;
    ASSERT_EQ(0, PyEmbed::CallFunction("Guarded", "AttemptIo", "s", &outcome, "(s)", s_kDataFile.c_str()));
    EXPECT_STREQ("Securelevel prevents file IO.", outcome);
    // The argument error comes first, as the interpreter's parser gives it.
    ASSERT_EQ(0, PyEmbed::CallFunction("Guarded", "AttemptNoArguments", "s", &outcome, nullptr));
    EXPECT_STREQ("TypeError", outcome);
    EXPECT_EQ(0, PyEmbed::GetSecureLevel());
}

TEST_F(ScriptSecurity, AScriptFileRunsAtLevelZeroAndMayOpenFiles)
{
    std::string script = "with open(r'" + s_kDataFile + "') as handle:\n    read_at_top = handle.read()\n" +
                         "import Appc\nlevel_at_top = Appc.Level()\n" +
                         "def LoadPropertySet(pSet):\n    return open(r'" + s_kDataFile + "').read()\n";
    std::filesystem::path path = HostEnvironment::Folder().Write("Property.py", script);
    ASSERT_EQ(0, PyEmbed::RunSimpleFile(path.c_str()));
    EXPECT_EQ("engine data\n", EvaluateText("read_at_top"));
    EXPECT_EQ("0", EvaluateText("str(level_at_top)"));

    // The same open() inside the function the editor then calls is refused.
    ScriptErrors errors;
    EXPECT_EQ(-1, PyEmbed::CallFunction("__main__", "LoadPropertySet", nullptr, nullptr, "(O)", Py_None));
    EXPECT_THAT(errors.Text(), HasSubstr("OSError: Securelevel prevents file IO."));
    EXPECT_EQ(1, errors.Tracebacks());
}

TEST_F(ScriptSecurity, ScriptFilesInLatin1ReadAsLatin1)
{
    std::filesystem::path path = HostEnvironment::Folder().Write("Latin.py", "name = \"Caf\xe9\"\n");
    ASSERT_EQ(0, PyEmbed::RunSimpleFile(path.c_str()));
    EXPECT_EQ("Caf\xe9", EvaluateText("name"));
    path = HostEnvironment::Folder().Write("Utf8.py", "name = \"Caf\xc3\xa9\"\n");
    ASSERT_EQ(0, PyEmbed::RunSimpleFile(path.c_str()));
    EXPECT_EQ("Caf\xe9", EvaluateText("name"));

    ScriptErrors errors;
    EXPECT_EQ(-1, PyEmbed::RunSimpleFile((HostEnvironment::Folder().Root() / "Absent.py").c_str()));
    EXPECT_THAT(errors.Text(), HasSubstr("Absent.py"));
    EXPECT_EQ(nullptr, PyErr_Occurred());
}

TEST_F(ScriptSecurity, NestedCallsStackTheLevel)
{
    {
        PyEmbed::SecureBracket outer;
        {
            PyEmbed::SecureBracket inner;
            EXPECT_EQ(2, PyEmbed::GetSecureLevel());
            EXPECT_EQ(1, Py_IsSecure());
        }
        EXPECT_EQ(1, PyEmbed::GetSecureLevel());
    }
    EXPECT_EQ(0, PyEmbed::GetSecureLevel());
    EXPECT_EQ(0, Py_IsSecure());

    // A script called by the engine from inside a script's call runs higher still, and the
    // outer script is back at its own level afterwards.
    int levels = 0;
    ASSERT_EQ(0, PyEmbed::CallFunction("Guarded", "Outer", "i", &levels, nullptr));
    int outerLevel = levels / 100;
    int innerLevel = levels % 100;
    EXPECT_GT(outerLevel, 0);
    EXPECT_GT(innerLevel, outerLevel);
    EXPECT_EQ(0, PyEmbed::GetSecureLevel());
}

TEST_F(ScriptSecurity, AnExceptionLeavingABracketLowersTheLevel)
{
    try
    {
        PyEmbed::SecureBracket bracket;
        throw std::runtime_error("engine failure");
    }
    catch (const std::runtime_error&)
    {
    }
    EXPECT_EQ(0, PyEmbed::GetSecureLevel());
}

TEST_F(ScriptSecurity, SystemExitNeverEndsTheProcess)
{
    ScriptErrors errors;
    EXPECT_EQ(-1, PyEmbed::CallFunction("Guarded", "Leave", nullptr, nullptr, "(i)", 3));
    EXPECT_THAT(errors.Text(), HasSubstr("SystemExit: 3"));
    std::filesystem::path path = HostEnvironment::Folder().Write("Leaving.py", "import sys\nsys.exit(4)\n");
    EXPECT_EQ(-1, PyEmbed::RunSimpleFile(path.c_str()));
    EXPECT_THAT(errors.Text(), HasSubstr("SystemExit: 4"));
    EXPECT_EQ(-1,
              PyEmbed::RunString(PyEmbed::PY_STATEMENT, "raise SystemExit(5)", nullptr, nullptr, nullptr));
    EXPECT_THAT(errors.Text(), HasSubstr("SystemExit: 5"));
    EXPECT_EQ(nullptr, PyErr_Occurred());
    int level = -1;
    EXPECT_EQ(0, PyEmbed::CallFunction("Guarded", "Inner", "i", &level, nullptr));
    EXPECT_GT(level, 0);
}

TEST_F(ScriptSecurity, CheckErrorWithNothingPendingPrintsNothing)
{
    ScriptErrors errors;
    EXPECT_EQ(0, PyEmbed::CheckError());
    PyErr_SetString(PyExc_RuntimeError, "pending");
    EXPECT_EQ(1, PyEmbed::CheckError());
    EXPECT_EQ(nullptr, PyErr_Occurred());
    EXPECT_THAT(errors.Text(), HasSubstr("RuntimeError: pending"));
}
