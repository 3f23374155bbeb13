// The script host end to end: a script module in the Scripts folder works with an engine
// object and with numbers and texts both ways, under the security level, and survives
// its own errors and exits.

#include "scripting/PythonApi.h"

#include "ScriptHostFixture.h"

#include "core/SKObject.h"
#include "core/SKPoolManager.h"
#include "scripting/BindingRuntime.h"
#include "scripting/SecureBracket.h"

#include <gmock/gmock.h>

using namespace ScriptTest;
using testing::HasSubstr;

namespace
{
class TestStation : public TestShip
{
public:
    using TestShip::TestShip;
    const char* GetShadowClassName() const override { return "TestStationPtr"; }
};

PointerTypeRecord s_akObjectType[] = {
    {"_p_SKObject", nullptr, "SKObject *", nullptr, nullptr},
    {"_p_SKObject", nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};
PointerTypeRecord* s_pkObjectType = nullptr;
const AppcTypeDescription s_akTypes[] = {{s_akObjectType, &s_pkObjectType}};

// Appc.SKObject_GetObjID(object), in the generated wrappers' form.
PyObject* GetObjID(PyObject*, PyObject* args)
{
    PyObject* object = nullptr;
    void* pointer = nullptr;
    if (!PyArg_ParseTuple(args, "O:SKObject_GetObjID", &object) ||
        ConvertObjectArgument(object, &pointer, s_pkObjectType) != 0)
        return nullptr;
    return GuardEngineCall<PyObject*>(
        nullptr, [pointer] { return PyLong_FromLong(static_cast<SKObject*>(pointer)->GetObjID()); });
}

const PyMethodDef s_akMethods[] = {{"SKObject_GetObjID", GetObjID, METH_VARARGS, nullptr}};
const AppcTable s_kTable = {s_akMethods, s_akTypes, {}, nullptr};

testing::Environment* const s_pkEnvironment =
    testing::AddGlobalTestEnvironment(new HostEnvironment(MINIMAL_APP, &s_kTable));

constexpr const char* SHIPS_MODULE = R"(import App, Appc

def Describe(pObject, count, scale, name):
    number = Appc.SKObject_GetObjID(pObject)
    return "%s|%s|%d|%d|%.2f|%s" % (type(pObject).__name__, pObject.this, number, count * 2, scale * 2, name + "!")

def Scale(value):
    return value * 1.5

def Attempt(path):
    try:
        with open(path) as handle:
            return "opened"
    except IOError as error:
        return str(error)

def Broken(pObject):
    return pObject.missing

def Leave():
    import sys
    sys.exit(2)
)";
} // namespace

TEST(ScriptHostEndToEnd, AScriptModuleWorksWithEngineObjectsUnderTheSecurityLevel)
{
    const StartFolder& folder = HostEnvironment::Folder();
    folder.Write("Scripts/Ships.py", SHIPS_MODULE);
    std::string dataFile = folder.Write("hull.txt", "hull data").string();
    TestShip ship(77);

    // The engine object crosses as its pointer string inside App's shadow class.
    PyObject* shadow = ship.CreatePythonObject();
    ASSERT_NE(nullptr, shadow);
    const char* text = nullptr;
    ASSERT_EQ(0,
              PyEmbed::CallFunction("Ships", "Describe", "s", &text, "(Oifs)", shadow, 21, 1.25, "Caf\xe9"));
    EXPECT_EQ("SKObjectPtr|" + ship.GetPointerString() + "|77|42|2.50|Caf\xe9!", text);
    float scaled = 0.0f;
    ASSERT_EQ(0, PyEmbed::CallFunction("Ships", "Scale", "f", &scaled, "(f)", 3.0));
    EXPECT_EQ(4.5f, scaled);

    // Inside the call open() is refused; a script run as a file at level 0 may open files.
    ASSERT_EQ(0, PyEmbed::CallFunction("Ships", "Attempt", "s", &text, "(s)", dataFile.c_str()));
    EXPECT_STREQ("Securelevel prevents file IO.", text);
    std::filesystem::path script =
        folder.Write("Property.py", "import Ships\nopened_at_top = Ships.Attempt(r'" + dataFile + "')\n");
    ASSERT_EQ(0, PyEmbed::RunSimpleFile(script.c_str()));
    EXPECT_EQ("opened", EvaluateText("opened_at_top"));

    // A script error prints one traceback, and the next unrelated call succeeds.
    {
        ScriptErrors errors;
        EXPECT_EQ(-1, PyEmbed::CallFunction("Ships", "Broken", nullptr, nullptr, "(O)", shadow));
        EXPECT_EQ(1, errors.Tracebacks());
        EXPECT_THAT(errors.Text(), HasSubstr("AttributeError"));
        EXPECT_EQ(nullptr, PyErr_Occurred());
        EXPECT_EQ(0, PyEmbed::CallFunction("Ships", "Scale", "f", &scaled, "(i)", 2));
        EXPECT_EQ(3.0f, scaled);
        EXPECT_EQ(1, errors.Tracebacks());
    }

    // A script's sys.exit() ends its own run, not the process.
    {
        ScriptErrors errors;
        EXPECT_EQ(-1, PyEmbed::CallFunction("Ships", "Leave", nullptr, nullptr, nullptr));
        EXPECT_THAT(errors.Text(), HasSubstr("SystemExit: 2"));
    }

    // None or "NULL" where the engine expects an object is a TypeError, never a crash.
    {
        ScriptErrors errors;
        EXPECT_EQ(-1, PyEmbed::CallFunction("Ships", "Describe", "s", &text, "(Oifs)", Py_None, 1, 1.0, "x"));
        EXPECT_EQ(-1, PyEmbed::CallFunction("Ships", "Describe", "s", &text, "(sifs)", "NULL", 1, 1.0, "x"));
        EXPECT_THAT(errors.Text(), HasSubstr("TypeError: Type error. Expected _p_SKObject"));
        EXPECT_EQ(2, errors.Tracebacks());
    }
    EXPECT_EQ(0, PyEmbed::GetSecureLevel());
    Py_DECREF(shadow);
}

TEST(ScriptHostEndToEnd, AnObjectWithoutAShadowClassGivesNone)
{
    TestStation station(5);
    PyObject* shadow = station.CreatePythonObject();
    EXPECT_EQ(Py_None, shadow);
    Py_XDECREF(shadow);
    EXPECT_EQ(nullptr, PyErr_Occurred());
}

TEST(ScriptHostEndToEnd, TheInterpreterAllocatesFromTheEnginePools)
{
    uint32_t before = SKPoolManager::GetStatistics().uiPooledObjects;
    RunScript("pooled = [str(number) for number in range(2000)]");
    EXPECT_GE(SKPoolManager::GetStatistics().uiPooledObjects, before + 2000);
    RunScript("del pooled");
    EXPECT_LT(SKPoolManager::GetStatistics().uiPooledObjects, before + 2000);
}
