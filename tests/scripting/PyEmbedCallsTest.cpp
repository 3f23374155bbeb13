// Attributes, result conversion, running code and calls into script functions with their
// argument and result formats.

#include "scripting/PythonApi.h"

#include "ScriptHostFixture.h"

#include "scripting/SecureBracket.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <cstring>

using namespace ScriptTest;
using testing::HasSubstr;

namespace
{
constexpr const char* CALLS_MODULE = R"(
def Describe(number, text, real):
    return "%d|%s|%.2f|%d" % (number, text, real, len(text))

def Codes(text):
    return ",".join(str(ord(c)) for c in text)

def Shout(text):
    return text.upper() + "!"

def Half(value):
    return value / 2

def Three():
    return 3

def Nothing():
    return None

def Fails():
    raise ValueError("script failure")

def Caught():
    try:
        raise ValueError("handled inside")
    except ValueError:
        return 1

def Wide():
    return "\u20ac"

def Pair(a, b):
    return (a, b)

class Counter:
    def __init__(self):
        self.count = 0
    def Add(self, step):
        self.count += step
        return self.count

counter = Counter()
flag = True
number = 5
big = 2 ** 40
real = 2.5
name = "Caf\xe9"
nothing = None
)";

testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new HostEnvironment());

class PyEmbedCalls : public testing::Test
{
protected:
    static void SetUpTestSuite() { HostEnvironment::Folder().Write("Scripts/Calls.py", CALLS_MODULE); }
};
} // namespace

TEST_F(PyEmbedCalls, NumbersAndTextsCrossBothWays)
{
    const char* text = nullptr;
    ASSERT_EQ(0, PyEmbed::CallFunction("Calls", "Describe", "s", &text, "(isf)", 7, "Caf\xe9", 2.5));
    EXPECT_STREQ("7|Caf\xe9|2.50|4", text);

    // Every byte is one character, both ways.
    std::string bytes;
    for (int value = 1; value < 256; ++value)
        bytes += static_cast<char>(value);
    ASSERT_EQ(0, PyEmbed::CallFunction("Calls", "Codes", "s", &text, "(s)", bytes.c_str()));
    std::string expected;
    for (int value = 1; value < 256; ++value)
        expected += (value > 1 ? "," : "") + std::to_string(value);
    EXPECT_EQ(expected, text);
    ASSERT_EQ(0, PyEmbed::CallFunction("Calls", "Shout", "s", &text, "(s)", "na\xefve"));
    EXPECT_STREQ("NA\xcfVE!", text);

    float half = 0.0f;
    ASSERT_EQ(0, PyEmbed::CallFunction("Calls", "Half", "f", &half, "(i)", 5));
    EXPECT_EQ(2.5f, half);
    int three = 0;
    ASSERT_EQ(0, PyEmbed::CallFunction("Calls", "Three", "i", &three, nullptr));
    EXPECT_EQ(3, three);
    float fromInt = 0.0f;
    ASSERT_EQ(0, PyEmbed::CallFunction("Calls", "Three", "f", &fromInt, ""));
    EXPECT_EQ(3.0f, fromInt);

    PyObject* pair = nullptr;
    ASSERT_EQ(0, PyEmbed::CallFunction("Calls", "Pair", "O", &pair, "(zc)", nullptr, '\xe9'));
    ASSERT_NE(nullptr, pair);
    EXPECT_EQ(Py_None, PyTuple_GetItem(pair, 0));
    EXPECT_EQ(0xE9, PyUnicode_ReadChar(PyTuple_GetItem(pair, 1), 0));
    Py_DECREF(pair);
}

TEST_F(PyEmbedCalls, ResultFormatsConvertExactly)
{
    struct Case
    {
        const char* function;
        const char* format;
        int result;
        const char* expected; // the out value printed, or the error the traceback names
    };
    const Case cases[] = {
        {"Three", "i", 0, "3"},
        {"Three", "f", 0, "3.000000"},
        {"Three", "s", -1, "TypeError"},
        {"Nothing", "f", -1, "TypeError"},
        {"Nothing", "i", -1, "TypeError"},
        {"Nothing", "z", 0, "(null)"},
        {"Nothing", "s", -1, "TypeError"},
        {"Wide", "s", -1, "beyond U+00FF"},
        {"Wide", "z", -1, "beyond U+00FF"},
        {"Nothing", "", 0, "untouched"},
        {"Nothing", "q", -1, "unsupported result format"},
    };
    for (const Case& entry : cases)
    {
        ScriptErrors errors;
        union
        {
            int number;
            float real;
            const char* text;
        } out;
        std::memset(&out, 0x5A, sizeof(out));
        const uint64_t untouched = [&]
        {
            uint64_t bits;
            std::memcpy(&bits, &out, sizeof(bits));
            return bits;
        }();
        int result = PyEmbed::CallFunction("Calls", entry.function, entry.format, &out, nullptr);
        EXPECT_EQ(entry.result, result) << entry.function << " as " << entry.format;
        EXPECT_EQ(nullptr, PyErr_Occurred());
        if (result != 0)
        {
            EXPECT_THAT(errors.Text(), HasSubstr(entry.expected)) << entry.function << " as " << entry.format;
            uint64_t bits;
            std::memcpy(&bits, &out, sizeof(bits));
            EXPECT_EQ(untouched, bits) << "a failed conversion leaves the out value alone";
            continue;
        }
        char printed[64];
        switch (entry.format[0])
        {
        case 'i':
            std::snprintf(printed, sizeof(printed), "%d", out.number);
            break;
        case 'f':
            std::snprintf(printed, sizeof(printed), "%f", out.real);
            break;
        case 'z':
            std::snprintf(printed, sizeof(printed), "%s", out.text ? out.text : "(null)");
            break;
        default:
            std::snprintf(printed, sizeof(printed), "untouched");
            break;
        }
        EXPECT_STREQ(entry.expected, printed) << entry.function << " as " << entry.format;
    }
}

TEST_F(PyEmbedCalls, TextResultsOutliveTheCall)
{
    // The string is made by the call and let go of when it returns.
    const char* first = nullptr;
    const char* second = nullptr;
    ASSERT_EQ(0, PyEmbed::CallFunction("Calls", "Shout", "s", &first, "(s)", "first"));
    ASSERT_EQ(0, PyEmbed::CallFunction("Calls", "Shout", "s", &second, "(s)", "second"));
    RunScript("import gc\ngc.collect()");
    EXPECT_STREQ("FIRST!", first);
    EXPECT_STREQ("SECOND!", second);
}

TEST_F(PyEmbedCalls, AScriptErrorIsReportedOnceAndTheNextCallStartsClean)
{
    ScriptErrors errors;
    EXPECT_EQ(-1, PyEmbed::CallFunction("Calls", "Fails", nullptr, nullptr, "()"));
    EXPECT_EQ(nullptr, PyErr_Occurred());
    EXPECT_EQ(1, errors.Tracebacks());
    EXPECT_THAT(errors.Text(), HasSubstr("ValueError: script failure"));
    // The traceback shows the failing line of the script.
    EXPECT_THAT(errors.Text(), HasSubstr("raise ValueError(\"script failure\")"));

    int three = 0;
    EXPECT_EQ(0, PyEmbed::CallFunction("Calls", "Three", "i", &three, nullptr));
    EXPECT_EQ(3, three);
    EXPECT_EQ(1, errors.Tracebacks());

    int caught = 0;
    EXPECT_EQ(0, PyEmbed::CallFunction("Calls", "Caught", "i", &caught, nullptr));
    EXPECT_EQ(1, caught);
    EXPECT_EQ(1, errors.Tracebacks());
    EXPECT_EQ(0, PyEmbed::CheckError());
}

TEST_F(PyEmbedCalls, AMissingFunctionLeavesNoErrorPending)
{
    ScriptErrors errors;
    EXPECT_EQ(-1, PyEmbed::CallFunction("__main__", "LoadPropertySet", nullptr, nullptr, "(O)", Py_None));
    EXPECT_EQ(nullptr, PyErr_Occurred());
    EXPECT_THAT(errors.Text(), HasSubstr("AttributeError"));
    EXPECT_THAT(errors.Text(), HasSubstr("LoadPropertySet"));
    // The next, unrelated call is not tripped by it.
    int three = 0;
    EXPECT_EQ(0, PyEmbed::CallFunction("Calls", "Three", "i", &three, nullptr));
    EXPECT_EQ(-1, PyEmbed::CallFunction("NoSuchModule", "Anything", nullptr, nullptr, nullptr));
    EXPECT_EQ(nullptr, PyErr_Occurred());
}

TEST_F(PyEmbedCalls, ArgumentFormatsMustDescribeATuple)
{
    ScriptErrors errors;
    EXPECT_EQ(-1, PyEmbed::CallFunction("Calls", "Half", nullptr, nullptr, "i", 4));
    EXPECT_THAT(errors.Text(), HasSubstr("argument list must be a tuple"));
    EXPECT_EQ(
        -1, PyEmbed::CallFunction("Calls", "Half", nullptr, nullptr, "(O)", static_cast<PyObject*>(nullptr)));
    EXPECT_EQ(-1, PyEmbed::CallFunction("Calls", "Half", nullptr, nullptr, "(y)", 4));
    EXPECT_THAT(errors.Text(), HasSubstr("bad format char"));
    EXPECT_EQ(-1, PyEmbed::CallFunction("Calls", "Half", nullptr, nullptr, "(i", 4));
    EXPECT_EQ(nullptr, PyErr_Occurred());
    EXPECT_EQ(0, PyEmbed::GetSecureLevel());
}

TEST_F(PyEmbedCalls, MethodsAndCallablesAreCalledTheSameWay)
{
    PyObject* counter = nullptr;
    ASSERT_EQ(0, PyEmbed::GetAttributeValue("Calls", "counter", "O", &counter));
    int count = 0;
    EXPECT_EQ(0, PyEmbed::CallMethod(counter, "Add", "i", &count, "(i)", 4));
    EXPECT_EQ(0, PyEmbed::CallMethod(counter, "Add", "i", &count, "(i)", 3));
    EXPECT_EQ(7, count);
    EXPECT_EQ(-1, PyEmbed::CallMethod(counter, "Missing", "i", &count, "()"));
    EXPECT_EQ(-1, PyEmbed::CallMethod(nullptr, "Add", "i", &count, "(i)", 1));

    PyObject* add = PyObject_GetAttrString(counter, "Add");
    EXPECT_EQ(0, PyEmbed::CallObject(add, "i", &count, Py_BuildValue("(i)", 1)));
    EXPECT_EQ(8, count);
    EXPECT_EQ(0, PyEmbed::CallObjectEx(add, "i", &count, Py_BuildValue("(i)", 2), true));
    EXPECT_EQ(10, count);
    EXPECT_EQ(-1, PyEmbed::CallObject(nullptr, "i", &count, Py_BuildValue("(i)", 2)));
    EXPECT_EQ(nullptr, PyErr_Occurred());
    Py_DECREF(counter);
}

TEST_F(PyEmbedCalls, ModuleAttributesReadAndSetAsEngineText)
{
    ASSERT_EQ(0, PyEmbed::SetAttribute("__main__", "ParentPropertyScript", "s", "Ships.B\xe9"));
    const char* parent = nullptr;
    ASSERT_EQ(0, PyEmbed::GetAttributeValue("__main__", "ParentPropertyScript", "s", &parent));
    EXPECT_STREQ("Ships.B\xe9", parent);
    EXPECT_EQ(1,
              []
              {
                  int length = 0;
                  PyEmbed::RunString(PyEmbed::PY_EXPRESSION, "len(ParentPropertyScript) == 8", nullptr, "i",
                                     &length);
                  return length;
              }());

    ScriptErrors errors;
    EXPECT_EQ(-1, PyEmbed::GetAttributeValue("__main__", "NoSuchVariable", "s", &parent));
    EXPECT_EQ(nullptr, PyErr_Occurred());
    EXPECT_THAT(errors.Text(), HasSubstr("NoSuchVariable"));
    EXPECT_EQ(-1, PyEmbed::SetAttribute("NoSuchModule", "x", "i", 1));
    EXPECT_EQ(nullptr, PyErr_Occurred());
}

TEST_F(PyEmbedCalls, TypedAttributeGettersAcceptOnlyTheirType)
{
    PyObject* module = PyEmbed::GetModule("Calls", 0);
    ASSERT_NE(nullptr, module);
    struct Case
    {
        const char* name;
        const char* boolean; // "t1", "t0" or "f"
        const char* integer;
        const char* real;
        const char* text;
    };
    const Case cases[] = {
        {"number", "t1", "5", "f", "f"},     {"flag", "t1", "1", "f", "f"},
        {"real", "f", "f", "2.500000", "f"}, {"name", "f", "f", "f", "Caf\xe9"},
        {"nothing", "f", "f", "f", "f"},     {"big", "t1", "f", "f", "f"},
        {"missing", "f", "f", "f", "f"},
    };
    for (const Case& entry : cases)
    {
        uint8_t boolean = 7;
        bool found = PyEmbed::GetBoolAttribute(module, entry.name, &boolean);
        EXPECT_EQ(entry.boolean, found ? std::string("t") + std::to_string(boolean) : std::string("f"))
            << entry.name;
        int integer = 0;
        found = PyEmbed::GetIntAttribute(module, entry.name, &integer);
        EXPECT_EQ(entry.integer, found ? std::to_string(integer) : std::string("f")) << entry.name;
        float real = 0.0f;
        found = PyEmbed::GetFloatAttribute(module, entry.name, &real);
        EXPECT_EQ(entry.real, found ? std::to_string(real) : std::string("f")) << entry.name;
        char* text = reinterpret_cast<char*>(0x1);
        found = PyEmbed::GetStringAttribute(module, entry.name, &text);
        EXPECT_EQ(entry.text, found ? std::string(text) : std::string("f")) << entry.name;
        if (!found)
        {
            EXPECT_EQ(nullptr, text);
        }
        std::free(text);
        EXPECT_EQ(entry.boolean[0] == 't' || entry.real[0] != 'f' || entry.text[0] != 'f' ||
                      std::string(entry.name) == "nothing",
                  PyEmbed::HasAttribute(module, entry.name))
            << entry.name;
        EXPECT_EQ(nullptr, PyErr_Occurred());
    }
    PyObject* counter = nullptr;
    ASSERT_EQ(0, PyEmbed::GetObjectAttributeValue(module, "counter", "O", &counter));
    EXPECT_EQ(0, PyEmbed::SetObjectAttribute(counter, "count", "i", 40));
    int count = 0;
    EXPECT_EQ(0, PyEmbed::GetObjectAttributeValue(counter, "count", "i", &count));
    EXPECT_EQ(40, count);
    EXPECT_EQ(-1, PyEmbed::GetObjectAttributeValue(counter, "missing", "i", &count));
    EXPECT_EQ(nullptr, PyErr_Occurred());
    Py_DECREF(counter);
}

TEST_F(PyEmbedCalls, RunStringEvaluatesOrExecutes)
{
    int value = 0;
    EXPECT_EQ(0, PyEmbed::RunString(PyEmbed::PY_EXPRESSION, "6 * 7", nullptr, "i", &value));
    EXPECT_EQ(42, value);
    value = -1;
    EXPECT_EQ(0, PyEmbed::RunString(PyEmbed::PY_STATEMENT, "assigned = 'Caf\xe9'", "__main__", "i", &value));
    EXPECT_EQ(-1, value);
    EXPECT_EQ("Caf\xe9", EvaluateText("assigned"));
    ScriptErrors errors;
    EXPECT_EQ(-1, PyEmbed::RunString(PyEmbed::PY_STATEMENT, "1 +", nullptr, nullptr, nullptr));
    EXPECT_EQ(-1, PyEmbed::RunString(PyEmbed::PY_EXPRESSION, "1 / 0", nullptr, "i", &value));
    EXPECT_THAT(errors.Text(), HasSubstr("SyntaxError"));
    EXPECT_THAT(errors.Text(), HasSubstr("ZeroDivisionError"));
    EXPECT_EQ(nullptr, PyErr_Occurred());

    EXPECT_EQ(0, PyEmbed::RunSimpleString("simple = 1"));
    EXPECT_EQ(-1, PyEmbed::RunSimpleString("raise KeyError('simple')"));
    EXPECT_THAT(errors.Text(), HasSubstr("KeyError: 'simple'"));
    EXPECT_EQ(nullptr, PyErr_Occurred());
}

TEST_F(PyEmbedCalls, InteractiveConsoleReadsStandardInput)
{
    std::filesystem::path input = HostEnvironment::Folder().Write("console.txt", "typed = 6 * 7\n");
    ASSERT_NE(nullptr, std::freopen(input.c_str(), "r", stdin));
    PyEmbed::InteractiveConsole("Test console");
    int typed = 0;
    EXPECT_EQ(0, PyEmbed::RunString(PyEmbed::PY_EXPRESSION, "typed", nullptr, "i", &typed));
    EXPECT_EQ(42, typed);
    EXPECT_EQ(0, PyEmbed::GetSecureLevel());
}
