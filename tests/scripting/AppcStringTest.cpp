// The SKString rows of module Appc, called through App's shadow class: texts enter as
// Latin-1, one 16-bit unit per character, and the strings a script makes are its own.

#include "scripting/PythonApi.h"

#include "AppcFixture.h"

#include "core/SKString.h"
#include "scripting/PyEmbed.h"

#include <gmock/gmock.h>

using namespace ScriptTest;
using namespace AppcTest;
using testing::StartsWith;

namespace
{
testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new AppcEnvironment);

// The engine string a script variable names (null when it names none).
const SKString* EngineString(const std::string& variable)
{
    PyObject* object = Evaluate(variable);
    void* pointer = nullptr;
    if (object)
        PyEmbed::ObjectToPointer(object, &pointer, "SKString");
    Py_XDECREF(object);
    PyErr_Clear();
    return static_cast<const SKString*>(pointer);
}
} // namespace

TEST(AppcString, AScriptMakesSetsAndReadsAStringInLatin1)
{
    RunScript("s = App.SKString()\n"
              "empty_length = s.GetLength()\n"
              "s.SetString('Caf\\xe9 Fore')\n"
              "made = App.SKString('ab')");
    EXPECT_EQ("0", EvaluateText("str(empty_length)"));
    const SKString* pkString = EngineString("s");
    ASSERT_NE(nullptr, pkString);
    EXPECT_EQ(u"Caf\u00e9 Fore", pkString->GetUnits()) << "one unit per Latin-1 character";
    EXPECT_EQ("9", EvaluateText("str(s.GetLength())"));
    EXPECT_EQ(u"ab", EngineString("made")->GetUnits());

    // The flags default to 0: FindC and Find search ignoring case, Compare(C) compares exactly.
    EXPECT_EQ("5 -1 5 -1", EvaluateText("'%d %d %d %d' % (s.FindC('FORE'), s.FindC('FORE', 0, 1), "
                                        "s.Find(App.SKString('fore')), s.FindC('Fore', 6))"));
    EXPECT_EQ("(True, True, True)",
              EvaluateText("str((s.CompareC('CAF\\xe9 FORE') != 0, s.CompareC('caf\\xe9 fore', 1) == 0, "
                           "s.Compare(App.SKString('Caf\\xe9 Fore')) == 0))"));
}

TEST(AppcString, AppendMakesANewStringTheScriptOwns)
{
    RunScript("a = App.SKString('abc')\n"
              "b = App.SKString('de')\n"
              "joined = a.Append(b)");
    EXPECT_EQ(u"abcde", EngineString("joined")->GetUnits());
    EXPECT_EQ(u"abc", EngineString("a")->GetUnits());
    EXPECT_EQ(u"de", EngineString("b")->GetUnits());
    EXPECT_EQ("1", EvaluateText("str(joined.thisown)"));
    EXPECT_EQ("ok", Outcome("Appc.delete_SKString(joined)"));
    EXPECT_EQ("NULL", EvaluateText("joined.this")) << "the shadow forgets the freed string";
    EXPECT_EQ("ok", Outcome("Appc.delete_SKString(None)"));
}

TEST(AppcString, WrongArgumentsAreTypeErrors)
{
    RunScript("s = App.SKString('x')");
    EXPECT_EQ("TypeError: Type error. Expected _p_SKString | SKString_SetString() argument 1",
              Outcome("Appc.SKString_SetString(App.SKPoint3(), 'y')"));
    EXPECT_THAT(Outcome("s.SetString(5)"), StartsWith("TypeError: "));
    EXPECT_THAT(Outcome("s.Append('de')"), StartsWith("TypeError: "));
    EXPECT_THAT(Outcome("s.SetString('\\u20ac')"),
                StartsWith("TypeError: text holds a character beyond U+00FF"))
        << "a text beyond Latin-1 is refused, never cut";
    EXPECT_EQ(u"x", EngineString("s")->GetUnits());
}
