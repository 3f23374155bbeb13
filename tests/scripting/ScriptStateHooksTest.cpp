// What the engine core asks of the script host, through the real interpreter: the
// script method GetCString of SKString, the state hooks of engine objects with their
// rebinding after a load, and calls into script functions with engine text.

#include "scripting/PythonApi.h"

#include "ScriptHostFixture.h"

#include "core/SKObject.h"
#include "core/SKScriptBridge.h"
#include "core/SKString.h"
#include "engine/EngineStartup.h"
#include "scripting/BindingRuntime.h"

#include <gmock/gmock.h>

#include <memory>

using namespace ScriptTest;
using testing::HasSubstr;

namespace
{
const std::string APP = std::string(MINIMAL_APP) + R"(
class NiAVObject:
    pass
)";

constexpr const char* TRACER = R"(
lines = []

def Line(text):
    lines.append(text)
)";

PointerTypeRecord s_akObjectType[] = {
    {"_p_SKObject", nullptr, "SKObject *", nullptr, nullptr},
    {"_p_SKObject", nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};
PointerTypeRecord s_akStringType[] = {
    {"_p_SKString", nullptr, "SKString *", nullptr, nullptr},
    {"_p_SKString", nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};
PointerTypeRecord* s_pkObjectType = nullptr;
PointerTypeRecord* s_pkStringType = nullptr;
const AppcTypeDescription s_akTypes[] = {{s_akObjectType, &s_pkObjectType},
                                         {s_akStringType, &s_pkStringType}};
const AppcTable s_kTable = {{}, s_akTypes, {}, nullptr};

// The engine's system objects in the application's order.
class EngineEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        const StartFolder& folder = HostEnvironment::Folder();
        folder.Write("Scripts/App.py", APP);
        folder.Write("Scripts/Tracer.py", TRACER);
        SetAppcTable(&s_kTable);
        ASSERT_TRUE(EngineStartup::Startup(folder.Root().c_str()));
    }
    void TearDown() override { EngineStartup::Shutdown(); }
};

testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new EngineEnvironment());

const SKScriptBridge::GetStateHook* FindGetState(const char* className)
{
    for (const auto& record : SKScriptBridge::GetStateHooks())
    {
        if (record.m_kTypeName == className)
            return &record.m_pfnHook;
    }
    return nullptr;
}

const SKScriptBridge::SetStateHook* FindSetState(const char* className)
{
    for (const auto& record : SKScriptBridge::SetStateHooks())
    {
        if (record.m_kTypeName == className)
            return &record.m_pfnHook;
    }
    return nullptr;
}
} // namespace

TEST(ScriptStateHooks, GetCStringGivesTheStringsBytes)
{
    SKString text;
    text = u"A\u00e9\u20ac";
    PyObject* shadow = PyEmbed::PointerToObject(&text, "SKString");
    ASSERT_NE(nullptr, shadow);
    PyObject* main = PyEmbed::GetModule(nullptr, 0);
    ASSERT_EQ(0, PyObject_SetAttrString(main, "text", shadow));
    RunScript("import App");
    // Units above 0xFF come back as the byte 0x01.
    EXPECT_EQ("A\xe9\x01", EvaluateText("App.SKString.GetCString(text)"));
    EXPECT_EQ("A\xe9\x01", EvaluateText("App.SKString.GetCString(text.this)"));

    // What names no string is a TypeError, never a crash or a string of another class.
    const char* refused[] = {"None", "'NULL'", "App.SKObjectPtr('_10_p_SKObject')", "5"};
    for (const char* argument : refused)
    {
        RunScript(std::string("try:\n    App.SKString.GetCString(") + argument +
                  ")\n    outcome = 'converted'\nexcept TypeError as error:\n    outcome = str(error)\n");
        EXPECT_EQ("Type error. Expected _p_SKString", EvaluateText("outcome")) << argument;
    }
    RunScript("try:\n    App.SKString.GetCString()\n    outcome = 'converted'\n"
              "except TypeError as error:\n    outcome = 'TypeError'\n");
    EXPECT_EQ("TypeError", EvaluateText("outcome"));
    EXPECT_EQ(nullptr, PyErr_Occurred());
    Py_DECREF(shadow);
}

TEST(ScriptStateHooks, ARestoredShadowIsReboundToTheObjectWithItsId)
{
    auto getState = FindGetState("SKObject");
    auto setState = FindSetState("SKObject");
    ASSERT_TRUE(getState && setState);

    PyObject* state = nullptr;
    {
        TestShip saved(77);
        PyObject* shadow = saved.CreatePythonObject();
        ASSERT_NE(nullptr, shadow);
        ASSERT_TRUE((*getState)(shadow, &state));
        Py_DECREF(shadow);
    }
    ASSERT_NE(nullptr, state);
    PyObject* savedID = PyDict_GetItemString(state, "_ID_");
    ASSERT_NE(nullptr, savedID);
    EXPECT_EQ(77, PyLong_AsLong(savedID));

    // The engine recreates object 77 elsewhere; the fix-up pass points the shadow at it.
    auto reloaded = std::make_unique<TestShip>(77);
    PyObject* restored = Evaluate("__import__('App').SKObject()");
    ASSERT_NE(nullptr, restored);
    ASSERT_TRUE((*setState)(restored, state));
    EXPECT_TRUE(SKObject::FixupLoadedObjects());
    char* pointer = nullptr;
    ASSERT_TRUE(PyEmbed::GetStringAttribute(restored, "this", &pointer));
    EXPECT_EQ(reloaded->GetPointerString(), pointer);
    std::free(pointer);

    // With no object of the id left, the shadow loses its pointer instead of keeping a stale one.
    reloaded.reset();
    ASSERT_TRUE((*setState)(restored, state));
    EXPECT_FALSE(SKObject::FixupLoadedObjects());
    EXPECT_FALSE(PyEmbed::HasAttribute(restored, "this"));
    EXPECT_EQ(nullptr, PyErr_Occurred());
    Py_DECREF(restored);
    Py_DECREF(state);
}

TEST(ScriptStateHooks, ARestoredSceneObjectPointsAtNothing)
{
    auto setState = FindSetState("NiAVObject");
    ASSERT_TRUE(setState);
    PyObject* state = Evaluate("{'this': '_1234_p_NiNode', 'name': 'hull'}");
    PyObject* restored = Evaluate("__import__('App').NiAVObject()");
    ASSERT_TRUE((*setState)(restored, state));
    EXPECT_FALSE(PyEmbed::HasAttribute(restored, "this"));
    int value = -1;
    EXPECT_TRUE(PyEmbed::GetIntAttribute(restored, "INVALID", &value));
    EXPECT_EQ(1, value);
    EXPECT_TRUE(PyEmbed::GetIntAttribute(restored, "thisown", &value));
    EXPECT_EQ(0, value);
    char* name = nullptr;
    EXPECT_TRUE(PyEmbed::GetStringAttribute(restored, "name", &name));
    EXPECT_STREQ("hull", name);
    std::free(name);
    Py_DECREF(restored);
    Py_DECREF(state);
}

TEST(ScriptStateHooks, TheCoreCallsScriptFunctionsWithEngineText)
{
    SKScriptBridge* bridge = SKScriptBridge::Get();
    ASSERT_NE(nullptr, bridge);
    EXPECT_EQ(0, bridge->CallFunction("Tracer", "Line", "caf\xe9 line"));
    EXPECT_EQ("caf\xe9 line", EvaluateText("__import__('Tracer').lines[-1]"));
    ScriptErrors errors;
    EXPECT_EQ(-1, bridge->CallFunction("Tracer", "Missing", "text"));
    EXPECT_THAT(errors.Text(), HasSubstr("Missing"));
    EXPECT_EQ(nullptr, PyErr_Occurred());
}
