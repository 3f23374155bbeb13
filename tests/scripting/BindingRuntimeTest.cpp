// Pointer strings, type records with their casts, the linked-variable object and the
// constant table, exercised through a small Appc table of test classes.

#include "scripting/PythonApi.h"

#include "ScriptHostFixture.h"

#include "scripting/BindingRuntime.h"
#include "scripting/ScriptText.h"

#include <gmock/gmock.h>

#include "core/SKStreamException.h"

#include <cstring>
#include <new>
#include <stdexcept>

using namespace ScriptTest;
using testing::HasSubstr;

namespace
{
// A small class tree in the shape of the engine's: weapons and shields are objects,
// phasers are weapons.
struct TestObject
{
    virtual ~TestObject() = default;
    int m_iValue = 0;
};
struct TestWeapon : TestObject
{
};
struct TestPhaser : TestWeapon
{
};
// A second base puts the object part of a shield away from its start.
struct TestExtra
{
    virtual ~TestExtra() = default;
    double m_dExtra = 0.0;
};
struct TestShield : TestExtra, TestObject
{
};

template <class Base, class Derived> void* Upcast(void* pointer)
{
    return static_cast<Base*>(static_cast<Derived*>(pointer));
}

PointerTypeRecord s_akObjectType[] = {
    {"_p_SKObject", nullptr, "SKObject *", nullptr, nullptr},
    {"_p_SKObject", nullptr, nullptr, nullptr, nullptr},
    {"_p_WeaponProperty", Upcast<TestObject, TestWeapon>, nullptr, nullptr, nullptr},
    {"_p_PhaserProperty", Upcast<TestObject, TestPhaser>, nullptr, nullptr, nullptr},
    {"_p_ShieldProperty", Upcast<TestObject, TestShield>, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};
PointerTypeRecord s_akWeaponType[] = {
    {"_p_WeaponProperty", nullptr, "WeaponProperty *", nullptr, nullptr},
    {"_p_WeaponProperty", nullptr, nullptr, nullptr, nullptr},
    {"_p_PhaserProperty", Upcast<TestWeapon, TestPhaser>, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};
PointerTypeRecord s_akShieldType[] = {
    {"_p_ShieldProperty", nullptr, "ShieldProperty *", nullptr, nullptr},
    {"_p_ShieldProperty", nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};
PointerTypeRecord* s_pkObjectType = nullptr;
PointerTypeRecord* s_pkWeaponType = nullptr;
PointerTypeRecord* s_pkShieldType = nullptr;

const AppcTypeDescription s_akTypes[] = {
    {s_akObjectType, &s_pkObjectType},
    {s_akWeaponType, &s_pkWeaponType},
    {s_akShieldType, &s_pkShieldType},
};

// Engine globals: a writable weapon whose assignment copies, and a read-only shield.
TestWeapon s_kGlobalWeapon;
TestShield s_kGlobalShield;

PyObject* GetGlobalWeapon()
{
    return NewPointerObject(&s_kGlobalWeapon, s_pkWeaponType);
}
int SetGlobalWeapon(PyObject* value)
{
    void* pointer = nullptr;
    if (ConvertObjectArgument(value, &pointer, s_pkWeaponType) != 0)
        return 1;
    s_kGlobalWeapon = *static_cast<TestWeapon*>(pointer);
    return 0;
}
PyObject* GetGlobalShield()
{
    return NewPointerObject(&s_kGlobalShield, s_pkShieldType);
}
int SetGlobalShield(PyObject*)
{
    PyErr_SetString(PyExc_TypeError, "Variable g_kShield is read-only.");
    return 1;
}

// A global whose engine side fails while it is read.
PyObject* GetFailingGlobal()
{
    throw std::runtime_error("global unavailable");
}

const AppcVariable s_akVariables[] = {
    {"g_kWeapon", GetGlobalWeapon, SetGlobalWeapon},
    {"g_kShield", GetGlobalShield, SetGlobalShield},
    {"g_kFailing", GetFailingGlobal, SetGlobalShield},
};

const ConstantRow s_akConstants[] = {
    {ConstantRow::INTEGER, "CT_TEST", 33070, 0.0, nullptr, nullptr},
    {ConstantRow::FLOAT, "PI", 0, static_cast<double>(3.14159265358979f), nullptr, nullptr},
    {ConstantRow::STRING, "NAME", 0, 0.0, "Caf\xe9", nullptr},
    {ConstantRow::POINTER, "SHIELD", 0, 0.0, &s_kGlobalShield, &s_pkShieldType},
    {7, "SKIPPED", 1, 0.0, nullptr, nullptr},
    {ConstantRow::END, nullptr, 0, 0.0, nullptr, nullptr},
};

// A wrapper row in the generated form: the value of a weapon.
PyObject* WeaponGetValue(PyObject*, PyObject* args)
{
    PyObject* object = nullptr;
    void* weapon = nullptr;
    if (!PyArg_ParseTuple(args, "O:WeaponProperty_GetValue", &object) ||
        ConvertObjectArgument(object, &weapon, s_pkWeaponType) != 0)
        return nullptr;
    return PyLong_FromLong(static_cast<TestWeapon*>(weapon)->m_iValue);
}

// A wrapper row whose engine operation throws what the engine may throw.
PyObject* EngineThrow(PyObject*, PyObject* args)
{
    int kind = 0;
    if (!PyArg_ParseTuple(args, "i:EngineThrow", &kind))
        return nullptr;
    return GuardEngineCall<PyObject*>(nullptr,
                                      [kind]() -> PyObject*
                                      {
                                          static SKStreamException s_kStatus(
                                              SKStreamException::STATUS_READ_ERROR);
                                          switch (kind)
                                          {
                                          case 0:
                                              throw std::bad_alloc();
                                          case 1:
                                              throw &s_kStatus;
                                          case 2:
                                              throw std::runtime_error("engine broke");
                                          default:
                                              throw kind;
                                          }
                                      });
}

const PyMethodDef s_akMethods[] = {
    {"WeaponProperty_GetValue", WeaponGetValue, METH_VARARGS, nullptr},
    {"EngineThrow", EngineThrow, METH_VARARGS, nullptr},
};

const AppcTable s_kTable = {s_akMethods, s_akTypes, s_akVariables, s_akConstants};

testing::Environment* const s_pkEnvironment =
    testing::AddGlobalTestEnvironment(new HostEnvironment(MINIMAL_APP, &s_kTable));

std::string Text(PyObject* object)
{
    const char* text = object ? PyEmbed::GetEngineText(object) : nullptr;
    return text ? text : "<none>";
}

std::string ErrorMessage()
{
    PyObject* type = nullptr;
    PyObject* value = nullptr;
    PyObject* traceback = nullptr;
    PyErr_Fetch(&type, &value, &traceback);
    PyErr_NormalizeException(&type, &value, &traceback);
    std::string message = type ? reinterpret_cast<PyTypeObject*>(type)->tp_name : std::string();
    PyObject* text = value ? PyObject_Str(value) : nullptr;
    if (text)
        message += ": " + Text(text);
    Py_XDECREF(text);
    Py_XDECREF(type);
    Py_XDECREF(value);
    Py_XDECREF(traceback);
    return message;
}
} // namespace

TEST(BindingRuntime, PointerStringsDropLeadingZeros)
{
    EXPECT_EQ("NULL", EncodePointerString(nullptr, s_pkObjectType));
    EXPECT_EQ("_a_p_SKObject", EncodePointerString(reinterpret_cast<void*>(0xa), s_pkObjectType));
    EXPECT_EQ("_10_p_SKObject", EncodePointerString(reinterpret_cast<void*>(0x10), s_pkObjectType));
    EXPECT_EQ("_7f123456789a_p_SKObject",
              EncodePointerString(reinterpret_cast<void*>(0x7f123456789aull), s_pkObjectType));
    EXPECT_EQ("_ffffffffffffffff_p_X", PyEmbed::FormatPointerString(reinterpret_cast<void*>(~0ull), "_p_X"));

    PyObject* none = NewPointerObject(nullptr, s_pkObjectType);
    EXPECT_EQ(Py_None, none);
    Py_XDECREF(none);

    // The host's own form names a null pointer with the digit 0.
    PyObject* zero = PyEmbed::PointerToString(nullptr, "X");
    EXPECT_EQ("_0_p_X", Text(zero));
    Py_XDECREF(zero);
}

TEST(BindingRuntime, ConvertPointerObjectChecksTheType)
{
    RunScript("class Shadow:\n    def __init__(self, this): self.this = this\n"
              "class NoThis: pass\n"
              "class BadThis:\n    this = 5\n");
    struct Case
    {
        const char* expression;
        PointerTypeRecord** type;
        int result;
        uintptr_t pointer;
        const char* error;
    };
    const Case cases[] = {
        {"'_1234_p_PhaserProperty'", &s_pkWeaponType, 0, 0x1234, ""},
        {"'_1234_p_WeaponProperty'", &s_pkWeaponType, 0, 0x1234, ""},
        {"'_1234_p_ShieldProperty'", &s_pkWeaponType, -1, 0,
         "TypeError: Type error. Expected _p_WeaponProperty"},
        {"'_12AB_p_PhaserProperty'", &s_pkWeaponType, -1, 0,
         "TypeError: Type error. Expected _p_WeaponProperty"},
        {"'NULL'", &s_pkWeaponType, 0, 0, ""},
        {"None", &s_pkWeaponType, 0, 0, ""},
        {"Shadow('_beef_p_PhaserProperty')", &s_pkWeaponType, 0, 0xbeef, ""},
        {"Shadow('NULL')", &s_pkWeaponType, 0, 0, ""},
        {"NoThis()", &s_pkWeaponType, -1, 0, "TypeError: Type error. Expected _p_WeaponProperty"},
        {"BadThis()", &s_pkWeaponType, -1, 0, "TypeError: Type error. Expected _p_WeaponProperty"},
        {"5", &s_pkWeaponType, -1, 0, "TypeError: Type error. Expected _p_WeaponProperty"},
        {"'nonsense'", &s_pkWeaponType, -1, 0, "TypeError: Type error. Expected _p_WeaponProperty"},
        {"'_11112222333344445_p_WeaponProperty'", &s_pkWeaponType, -1, 0,
         "TypeError: Type error. Expected _p_WeaponProperty"},
        {"'_1234_p_Anything'", nullptr, 0, 0x1234, ""},
        {"'nonsense'", nullptr, -1, 0, "TypeError: Expected a pointer"},
    };
    for (const Case& entry : cases)
    {
        PyObject* object = Evaluate(entry.expression);
        void* pointer = reinterpret_cast<void*>(0x1);
        int result = ConvertPointerObject(object, &pointer, entry.type ? *entry.type : nullptr, true);
        EXPECT_EQ(entry.result, result) << entry.expression;
        if (result == 0)
        {
            EXPECT_EQ(entry.pointer, reinterpret_cast<uintptr_t>(pointer)) << entry.expression;
        }
        EXPECT_EQ(entry.error, ErrorMessage()) << entry.expression;

        // Without a report the same conversion raises nothing.
        result = ConvertPointerObject(object, &pointer, entry.type ? *entry.type : nullptr, false);
        EXPECT_EQ(entry.result, result) << entry.expression;
        EXPECT_EQ(nullptr, PyErr_Occurred()) << entry.expression;
        Py_XDECREF(object);
    }
}

TEST(BindingRuntime, CastsReachTheBaseSubobject)
{
    TestShield shield;
    PyObject* object = NewPointerObject(&shield, s_pkShieldType);
    void* pointer = nullptr;
    ASSERT_EQ(0, ConvertPointerObject(object, &pointer, s_pkObjectType, true));
    EXPECT_EQ(static_cast<TestObject*>(&shield), pointer);
    EXPECT_NE(static_cast<void*>(&shield), pointer);
    Py_DECREF(object);
}

TEST(BindingRuntime, AMatchMovesToTheFrontOfTheCastList)
{
    TestShield shield;
    PyObject* object = NewPointerObject(&shield, s_pkShieldType);
    void* pointer = nullptr;
    ASSERT_EQ(0, ConvertPointerObject(object, &pointer, s_pkObjectType, true));
    EXPECT_STREQ("_p_ShieldProperty", s_pkObjectType->next->name);
    EXPECT_EQ(s_pkObjectType, s_pkObjectType->next->prev);
    Py_DECREF(object);

    object = PyUnicode_FromString("_1234_p_PhaserProperty");
    ASSERT_EQ(0, ConvertPointerObject(object, &pointer, s_pkObjectType, true));
    EXPECT_STREQ("_p_PhaserProperty", s_pkObjectType->next->name);
    EXPECT_STREQ("_p_ShieldProperty", s_pkObjectType->next->next->name);
    Py_DECREF(object);

    // Every entry is still on the list, once, with consistent back links.
    int entries = 0;
    for (PointerTypeRecord* walk = s_pkObjectType->next; walk; walk = walk->next, ++entries)
        EXPECT_EQ(walk, walk->prev->next);
    EXPECT_EQ(4, entries);
}

TEST(BindingRuntime, RegisteringADescriptionAgainLinksNothingTwice)
{
    // As when the module starts a second time in one process.
    EXPECT_EQ(s_pkWeaponType, RegisterPointerType(s_akWeaponType));
    int entries = 0;
    for (PointerTypeRecord* walk = s_pkWeaponType->next; walk && entries < 10; walk = walk->next)
        ++entries;
    EXPECT_EQ(2, entries);
    // A miss walks to the end of the list instead of around a ring.
    EXPECT_EQ(nullptr, CheckPointerType("_p_ShieldProperty", s_pkWeaponType));
}

TEST(BindingRuntime, QueryPointerTypeMatchesNameOrPrettyName)
{
    EXPECT_EQ(s_pkWeaponType, QueryPointerType("_p_WeaponProperty"));
    EXPECT_EQ(s_pkWeaponType, QueryPointerType("WeaponProperty *"));
    EXPECT_EQ(nullptr, QueryPointerType("WeaponProperty"));
}

TEST(BindingRuntime, ObjectArgumentsRefuseNull)
{
    for (const char* expression : {"None", "'NULL'", "'_0_p_WeaponProperty'"})
    {
        PyObject* object = Evaluate(expression);
        void* pointer = nullptr;
        EXPECT_EQ(-1, ConvertObjectArgument(object, &pointer, s_pkWeaponType)) << expression;
        EXPECT_EQ("TypeError: Type error. Expected _p_WeaponProperty", ErrorMessage()) << expression;
        Py_XDECREF(object);
    }
    // And so a wrapper given None raises instead of reaching through a null pointer.
    RunScript("import Appc\n"
              "try:\n    Appc.WeaponProperty_GetValue(None)\n    outcome = 'called'\n"
              "except TypeError as error:\n    outcome = str(error)\n");
    EXPECT_EQ("Type error. Expected _p_WeaponProperty", EvaluateText("outcome"));
}

TEST(BindingRuntime, LinkedVariablesReadAndAssignEngineGlobals)
{
    s_kGlobalWeapon.m_iValue = 3;
    RunScript("import Appc\nweapon = Appc.globals.g_kWeapon");
    EXPECT_EQ(PyEmbed::FormatPointerString(&s_kGlobalWeapon, "_p_WeaponProperty"), EvaluateText("weapon"));
    EXPECT_EQ(3,
              []
              {
                  int value = 0;
                  PyEmbed::RunString(PyEmbed::PY_EXPRESSION, "Appc.WeaponProperty_GetValue(weapon)", nullptr,
                                     "i", &value);
                  return value;
              }());

    // Assignment copies the given object into the global, which keeps its identity.
    TestPhaser source;
    source.m_iValue = 42;
    RunScript("Appc.globals.g_kWeapon = '" + PyEmbed::FormatPointerString(&source, "_p_PhaserProperty") +
              "'");
    EXPECT_EQ(42, s_kGlobalWeapon.m_iValue);
    RunScript("Appc.globals.g_kWeapon = Appc.globals.g_kWeapon");
    EXPECT_EQ(42, s_kGlobalWeapon.m_iValue);

    struct Case
    {
        const char* statement;
        const char* error;
    };
    const Case cases[] = {
        {"Appc.globals.g_kWeapon = 5", "TypeError: Type error. Expected _p_WeaponProperty"},
        {"Appc.globals.g_kWeapon = '_10_p_ShieldProperty'",
         "TypeError: Type error. Expected _p_WeaponProperty"},
        {"Appc.globals.g_kWeapon = None", "TypeError: Type error. Expected _p_WeaponProperty"},
        {"Appc.globals.g_kWeapon = 'NULL'", "TypeError: Type error. Expected _p_WeaponProperty"},
        {"del Appc.globals.g_kWeapon", "TypeError: Variable g_kWeapon cannot be deleted."},
        {"Appc.globals.g_kShield = Appc.globals.g_kShield", "TypeError: Variable g_kShield is read-only."},
        {"Appc.globals.nope", "NameError: Unknown C global variable"},
        {"Appc.globals.nope = 1", "NameError: Unknown C global variable"},
    };
    for (const Case& entry : cases)
    {
        RunScript(std::string("try:\n    ") + entry.statement +
                  "\n    outcome = 'accepted'\nexcept Exception as error:\n"
                  "    outcome = type(error).__name__ + ': ' + str(error)\n");
        EXPECT_EQ(entry.error, EvaluateText("outcome")) << entry.statement;
    }
    EXPECT_EQ(42, s_kGlobalWeapon.m_iValue);

    EXPECT_EQ("<Global variables>", EvaluateText("repr(Appc.globals)"));
    EXPECT_EQ("Global variables { g_kFailing, g_kShield, g_kWeapon }", EvaluateText("str(Appc.globals)"));
}

TEST(BindingRuntime, ConstantsOfEveryKindAreInstalled)
{
    RunScript("import Appc");
    EXPECT_EQ("33070 int", EvaluateText("'%d %s' % (Appc.CT_TEST, type(Appc.CT_TEST).__name__)"));
    // The single-precision value widened, not the double one.
    EXPECT_EQ("3.1415927410125732", EvaluateText("repr(Appc.PI)"));
    EXPECT_EQ("Caf\xe9", EvaluateText("Appc.NAME"));
    EXPECT_EQ(PyEmbed::FormatPointerString(&s_kGlobalShield, "_p_ShieldProperty"),
              EvaluateText("Appc.SHIELD"));
    EXPECT_EQ("False", EvaluateText("str(hasattr(Appc, 'SKIPPED'))"));
}

TEST(BindingRuntime, ObjectToPointerChecksBareClassNames)
{
    RunScript("class Shadow:\n    def __init__(self, this): self.this = this\n");
    struct Case
    {
        const char* expression;
        const char* typeName;
        bool converts;
        uintptr_t pointer;
    };
    const Case cases[] = {
        {"Shadow('_1234_p_WeaponProperty')", "WeaponProperty", true, 0x1234},
        {"Shadow('_1234_p_PhaserProperty')", "WeaponProperty", true, 0x1234},
        {"Shadow('_1234_p_PhaserProperty')", "_p_WeaponProperty", true, 0x1234},
        // A shield is no weapon, whichever way the type is named.
        {"Shadow('_1234_p_ShieldProperty')", "WeaponProperty", false, 0},
        {"Shadow('_1234_p_ShieldProperty')", "WeaponProperty *", false, 0},
        {"'_1234_p_ShieldProperty'", "ShieldProperty", true, 0x1234},
        {"'NULL'", "ShieldProperty", true, 0},
        {"5", "ShieldProperty", false, 0},
        // A name no record knows converts without a check.
        {"'_99_p_Whatever'", "Unregistered", true, 0x99},
    };
    for (const Case& entry : cases)
    {
        PyObject* object = Evaluate(entry.expression);
        void* pointer = reinterpret_cast<void*>(0x1);
        const char* result = PyEmbed::ObjectToPointer(object, &pointer, entry.typeName);
        EXPECT_EQ(entry.converts, result == entry.typeName) << entry.expression << " as " << entry.typeName;
        EXPECT_EQ(entry.pointer, reinterpret_cast<uintptr_t>(pointer)) << entry.expression;
        EXPECT_EQ(nullptr, PyErr_Occurred());
        Py_XDECREF(object);
    }
}

TEST(BindingRuntime, ReplacePointerAddressKeepsTheTypePart)
{
    struct Case
    {
        const char* given;
        uintptr_t pointer;
        const char* expected;
    };
    const Case cases[] = {
        {"_abc_p_X", 0x10, "_10_p_X"}, {"_abc_p_SKObject_p_Tail", 0xff, "_ff_p_SKObject_p_Tail"},
        {"abc", 0x10, nullptr},        {"NULL", 0x10, nullptr},
        {"_abc_p_X", 0, nullptr},
    };
    for (const Case& entry : cases)
    {
        PyObject* given = PyUnicode_FromString(entry.given);
        PyObject* replaced = PyEmbed::ReplacePointerAddress(reinterpret_cast<void*>(entry.pointer), given);
        EXPECT_EQ(entry.expected ? entry.expected : "<none>", Text(replaced)) << entry.given;
        Py_XDECREF(replaced);
        Py_DECREF(given);
    }
    // A type part far longer than any class name is carried whole.
    std::string longType = "_1_p_" + std::string(1000, 'L');
    PyObject* given = PyUnicode_FromString(longType.c_str());
    PyObject* replaced = PyEmbed::ReplacePointerAddress(reinterpret_cast<void*>(0x2), given);
    EXPECT_EQ("_2_p_" + std::string(1000, 'L'), Text(replaced));
    Py_XDECREF(replaced);
    Py_DECREF(given);
}

TEST(BindingRuntime, IsNullNamesEverythingThatIsNoPointer)
{
    RunScript("import Appc\nclass Shadow:\n    def __init__(self, this): self.this = this\n");
    const char* cases[][2] = {
        {"Appc.IsNull(None)", "1"},
        {"Appc.IsNull('NULL')", "1"},
        {"Appc.IsNull(Shadow('NULL'))", "1"},
        {"Appc.IsNull(5)", "1"},
        {"Appc.IsNull('_10_p_SKObject')", "None"},
        {"Appc.IsNull(Shadow('_10_p_SKObject'))", "None"},
        {"Appc.IsNull()", "1"},
        {"Appc.Breakpoint()", "None"},
    };
    ScriptErrors errors;
    for (const auto& entry : cases)
        EXPECT_EQ(entry[1], EvaluateText(std::string("repr(") + entry[0] + ")")) << entry[0];
    // The parse failure of IsNull() is reported, and nothing stays pending.
    EXPECT_THAT(errors.Text(), HasSubstr("IsNull"));
    EXPECT_EQ(nullptr, PyErr_Occurred());
}

TEST(BindingRuntime, EngineExceptionsBecomeScriptErrors)
{
    RunScript("import Appc\n"
              "def Outcome(statement):\n"
              "    try:\n"
              "        exec(statement)\n"
              "        return 'no error'\n"
              "    except Exception as error:\n"
              "        return type(error).__name__ + ': ' + str(error)\n");
    const char* cases[][2] = {
        {"Outcome('Appc.EngineThrow(0)')", "MemoryError: "},
        {"Outcome('Appc.EngineThrow(1)')", "OSError: stream error -4"},
        {"Outcome('Appc.EngineThrow(2)')", "SystemError: engine error: engine broke"},
        {"Outcome('Appc.EngineThrow(3)')", "SystemError: engine error"},
        {"Outcome('Appc.globals.g_kFailing')", "SystemError: engine error: global unavailable"},
    };
    for (const auto& entry : cases)
        EXPECT_EQ(entry[1], EvaluateText(entry[0])) << entry[0];
    EXPECT_EQ(nullptr, PyErr_Occurred());
}
