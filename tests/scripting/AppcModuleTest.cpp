// Module Appc as a whole: its type records and casts, linked variables, constants, the errors
// every wrapper gives for wrong arguments, its own functions, and module App around it.

#include "scripting/PythonApi.h"

#include "AppcFixture.h"

#include "core/SKBufferStream.h"
#include "core/SKColorA.h"
#include "core/SKPoolManager.h"
#include "core/SKTemplatedAttrObject.h"
#include "properties/ObjectEmitterProperty.h"
#include "properties/PhaserProperty.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/TorpedoSystemProperty.h"
#include "scene/object/NiPoint3.h"
#include "scripting/AppcGenerated.h"
#include "scripting/BindingRuntime.h"

#include <gmock/gmock.h>

#include <cstring>
#include <map>
#include <type_traits>
#include <vector>

using namespace ScriptTest;
using namespace AppcTest;
using testing::HasSubstr;
using testing::MatchesRegex;

namespace
{
testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new AppcEnvironment);

std::vector<std::string> CastNames(const PointerTypeRecord* head)
{
    std::vector<std::string> names;
    for (const PointerTypeRecord* entry = head->next; entry; entry = entry->next)
        names.push_back(entry->name);
    return names;
}

void Convert(const char* text, PointerTypeRecord* type, void** out)
{
    PyObject* object = PyUnicode_FromString(text);
    ASSERT_NE(nullptr, object);
    int result = ConvertPointerObject(object, out, type, true);
    Py_DECREF(object);
    if (result != 0)
    {
        *out = reinterpret_cast<void*>(-1);
        PyErr_Clear();
    }
}
} // namespace

TEST(AppcModule, RegistersTheSixtyThreeTypesWithTheirIdentityCasts)
{
    RunScript("import Appc");
    const AppcTable& kTable = GetGeneratedAppcTable();
    ASSERT_EQ(63u, kTable.types.size());
    EXPECT_STREQ("_p_SKModelPropertyInstance", kTable.types.front().description->name);
    EXPECT_STREQ("_SKModelPropertyManager__FilterFunc", kTable.types[1].description->name);
    EXPECT_STREQ("SKModelPropertyManager::FilterFunc ", kTable.types[1].description->prettyName);
    EXPECT_STREQ("_p_SKModelPropertyManager", kTable.types.back().description->name);

    size_t casts = 0;
    for (const AppcTypeDescription& type : kTable.types)
    {
        ASSERT_NE(nullptr, *type.registered) << type.description->name;
        EXPECT_EQ(*type.registered, QueryPointerType(type.description->name));
        std::vector<std::string> names = CastNames(*type.registered);
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(1, std::count(names.begin(), names.end(), type.description->name)) << "accepts itself";
        casts += names.size() - 1;
    }
    EXPECT_EQ(108u, casts);
    EXPECT_EQ(33u, CastNames(g_pkAppcType_SKObject).size());
    EXPECT_EQ(29u, CastNames(g_pkAppcType_SKModelProperty).size());
    EXPECT_EQ(19u, CastNames(g_pkAppcType_SubsystemProperty).size());
    EXPECT_EQ(1u, CastNames(g_pkAppcType_ShipProperty).size());
}

TEST(AppcModule, EachClassGroupHasAllItsRows)
{
    std::map<std::string, int> rows;
    for (const PyMethodDef& method : GetGeneratedAppcTable().methods)
    {
        std::string name = method.ml_name;
        if (name.rfind("new_", 0) == 0 || name.rfind("delete_", 0) == 0)
            name = name.substr(name.find('_') + 1);
        ++rows[name.substr(0, name.find('_'))];
    }
    const std::map<std::string, int> expected = {
        {"NiColor", 7},
        {"NiColorA", 9},
        {"SKPoint3", 31},
        {"SKColorA", 21},
        {"SKModelProperty", 13},
        {"SKModelPropertyManager", 15},
        {"SKModelPropertySet", 6},
        {"SKModelPropertyInstance", 6},
        {"SKModelPropertyList", 7},
        {"SKString", 9},
        {"SKBufferStream", 37},
        {"SKLocalizationDatabase", 5},
        {"SKLocalizationManager", 6},
        {"SKObject", 9},
        {"SKAttrObject", 7},
        {"SKTemplatedAttrObject", 1},
        {"SKSystemWrapperClass", 15},
        {"SKProfilingInfo", 9},
        {"SKConfigMapping", 11},
        {"SKPoolManager", 9},
        {"PyEmbed", 6},
    };
    for (const auto& [group, count] : expected)
        EXPECT_EQ(count, rows[group]) << group;
    for (const char* own : {"DeleteBuffer", "SKLocDBWrapperSerialize", "SKLocDBWrapperUnserialize",
                            "SerializeGetState", "UnserializeSetState"})
        EXPECT_EQ(1, rows[own]) << own;
}

TEST(AppcModule, TheModuleHasAllItsFunctionsVariablesAndConstants)
{
    RunScript(
        "import Appc, builtins\n"
        "functions = [n for n in dir(Appc) if not n.startswith('__') and callable(getattr(Appc, n))]\n"
        "constants = [n for n in dir(Appc) if n != 'globals' and type(getattr(Appc, n)) in (int, float)]\n"
        "variables = str(Appc.globals).count(',') + 1");
    EXPECT_EQ("647 297 12", EvaluateText("'%d %d %d' % (len(functions), len(constants), variables)"));
}

TEST(AppcModule, APointerConvertsForItsOwnClassAndEveryBase)
{
    RunScript("import Appc");
    // Engine objects tell themselves live; the value types' pointers count once handed out.
    PhaserProperty kPhaser;
    TorpedoSystemProperty kTorpedoes;
    SKTemplatedAttrObject kAttributes;
    ObjectEmitterProperty kEmitter;
    SKColorA kColor;
    NiColorA kPlainColor;
    SKBufferStream kStream;
    NiPoint3 kPoint;
    const std::pair<const void*, PointerTypeRecord*> handouts[] = {{&kColor, g_pkAppcType_SKColorA},
                                                                   {&kPlainColor, g_pkAppcType_NiColorA},
                                                                   {&kStream, g_pkAppcType_SKBufferStream},
                                                                   {&kPoint, g_pkAppcType_NiPoint3}};
    for (const auto& [pointer, type] : handouts)
        Py_XDECREF(NewPointerObject(pointer, type));
    struct Case
    {
        const void* object;
        const char* typeName; // of the string
        PointerTypeRecord* type;
        bool converts;
    };
    const Case cases[] = {
        {&kPhaser, "_p_PhaserProperty", g_pkAppcType_WeaponProperty, true},
        {&kPhaser, "_p_PhaserProperty", g_pkAppcType_SKObject, true},
        {&kPhaser, "_p_PhaserProperty", g_pkAppcType_ShieldProperty, false},
        {&kTorpedoes, "_p_TorpedoSystemProperty", g_pkAppcType_PoweredSubsystemProperty, true},
        {&kColor, "_p_SKColorA", g_pkAppcType_NiColorA, true},
        {&kPlainColor, "_p_NiColorA", g_pkAppcType_SKColorA, false},
        {&kStream, "_p_SKBufferStream", g_pkAppcType_SKStream, true},
        {&kPoint, "_p_NiPoint3", g_pkAppcType_SKPoint3, false},
        {&kAttributes, "_p_SKTemplatedAttrObject", g_pkAppcType_SKObject, true},
        // A string that names another class than the object's, or no object at all.
        {&kTorpedoes, "_p_PhaserProperty", g_pkAppcType_WeaponProperty, false},
        {&kPlainColor, "_p_SKColorA", g_pkAppcType_NiColorA, false},
        {reinterpret_cast<void*>(0x1234), "_p_PhaserProperty", g_pkAppcType_WeaponProperty, false},
        {reinterpret_cast<void*>(0x1234), "_p_SKColorA", g_pkAppcType_NiColorA, false},
    };
    for (const Case& test : cases)
    {
        const std::string text = PyEmbed::FormatPointerString(test.object, test.typeName);
        void* pointer = nullptr;
        Convert(text.c_str(), test.type, &pointer);
        EXPECT_EQ(test.converts ? test.object : reinterpret_cast<void*>(-1), pointer)
            << text << " as " << test.type->name;
    }
    // The type checked most recently is found first next time.
    void* pointer = nullptr;
    Convert(PyEmbed::FormatPointerString(&kEmitter, "_p_ObjectEmitterProperty").c_str(),
            g_pkAppcType_SKObject, &pointer);
    EXPECT_EQ(&kEmitter, pointer);
    EXPECT_STREQ("_p_ObjectEmitterProperty", g_pkAppcType_SKObject->next->name);
    // A freed object's string converts no more.
    for (const auto& [object, type] : handouts)
        ForgetHandout(object);
    Convert(PyEmbed::FormatPointerString(&kColor, "_p_SKColorA").c_str(), g_pkAppcType_SKColorA, &pointer);
    EXPECT_EQ(reinterpret_cast<void*>(-1), pointer);
}

TEST(AppcModule, LinkedVariablesNameTheEngineGlobals)
{
    RunScript("import Appc");
    EXPECT_EQ(PyEmbed::FormatPointerString(&g_kPoolManager, "_p_SKPoolManager"),
              EvaluateText("Appc.globals.g_kPoolManager"));
    EXPECT_THAT(EvaluateText("Appc.globals.g_kSystemWrapper"),
                MatchesRegex("_[0-9a-f]+_p_SKSystemWrapperClass"));
    EXPECT_EQ(PyEmbed::FormatPointerString(&g_kModelPropertyManager, "_p_SKModelPropertyManager"),
              EvaluateText("Appc.globals.g_kModelPropertyManager"));
    EXPECT_EQ("None", EvaluateText("str(Appc.globals.g_bIsFitwright)"));
    EXPECT_EQ(EvaluateText("Appc.globals.NiColorA_WHITE"), EvaluateText("Appc.globals.SKColorA_WHITE"));
    EXPECT_EQ("<Global variables>", EvaluateText("repr(Appc.globals)"));
    EXPECT_EQ(
        "Global variables { SKColorA_BLACK, SKColorA_WHITE, NiColorA_BLACK, NiColorA_WHITE, NiColor_BLACK, "
        "NiColor_WHITE, g_bIsFitwright, g_kModelPropertyManager, g_kPoolManager, g_kConfigMapping, "
        "g_kSystemWrapper, "
        "g_kLocalizationManager }",
        EvaluateText("str(Appc.globals)"));

    RunScript("def Assign(name, value):\n    setattr(Appc.globals, name, value)\n");
    const std::map<std::string, std::string> outcomes = {
        {"Assign('NiColor_WHITE', Appc.globals.NiColor_BLACK)",
         "TypeError: Variable NiColor_WHITE is read-only."},
        {"Assign('g_bIsFitwright', 1)", "TypeError: Variable g_bIsFitwright is read-only."},
        {"Assign('g_kModelPropertyManager', 5)", "TypeError: Type error. Expected _p_SKModelPropertyManager"},
        {"Assign('g_kPoolManager', 5)", "TypeError: Type error. Expected _p_SKPoolManager"},
        {"Assign('g_kPoolManager', None)", "TypeError: Type error. Expected _p_SKPoolManager"},
        {"Assign('g_kPoolManager', Appc.globals.g_kConfigMapping)",
         "TypeError: Type error. Expected _p_SKPoolManager"},
        {"Assign('g_kPoolManager', Appc.globals.g_kPoolManager)", "ok"},
        {"Assign('g_kPoolManager', '_10_p_SKPoolManager')",
         "ReferenceError: Expected a live _p_SKPoolManager: the pointer names no object the engine holds (it "
         "is "
         "gone, or it was never handed out)"},
        {"delattr(Appc.globals, 'g_kConfigMapping')",
         "TypeError: Variable g_kConfigMapping cannot be deleted."},
        {"Appc.globals.nope", "NameError: Unknown C global variable"},
        {"Assign('nope', 1)", "NameError: Unknown C global variable"},
    };
    for (const auto& [expression, outcome] : outcomes)
        EXPECT_EQ(outcome, Outcome(expression)) << expression;
    EXPECT_EQ(PyEmbed::FormatPointerString(&g_kPoolManager, "_p_SKPoolManager"),
              EvaluateText("Appc.globals.g_kPoolManager"));
}

TEST(AppcModule, ConstantsHaveTheirTableValues)
{
    RunScript("import Appc\n"
              "constants = [name for name in dir(Appc) if not name.startswith('__') and name != 'globals'\n"
              "             and not callable(getattr(Appc, name))]");
    EXPECT_EQ("297", EvaluateText("str(len(constants))"));
    const std::map<std::string, std::string> values = {
        {"CT_TEMP_TYPE", "32769"},
        {"CT_OPTIMIZED_AI_FIRST", "32827"},
        {"CT_OPTIMIZED_AI_LAST", "32955"},
        {"CT_GRAPHICS_MENU_MANAGER", "33048"},
        {"CT_CHARACTER_MENU_WINDOW", "33050"},
        {"CT_SUBSYSTEM_PROPERTY", "33067"},
        {"CT_SHIP_PROPERTY", "33070"},
        {"CT_OBJECT_EMITTER_PROPERTY", "33094"},
        {"CT_CHAT_OBJECT", "33095"},
        {"NULL_STRING_INDEX", "-1"},
        {"PY_STATEMENT", "1"},
        {"ZENARA_MAJOR_VERSION_NUMBER", "2"},
        {"PI", "3.1415927410125732"},
        {"TWO_PI", "6.2831854820251465"},
        {"HALF_PI", "1.5707963705062866"},
        {"FOURTH_PI", "0.7853981852531433"},
        {"AT_MAX_NUM_AMMO_TYPES", "4"},
        {"CSP_SPONTANEOUS", "2"},
        {"ShieldProperty_NUM_SHIELDS", "6"},
        {"WeaponSystemProperty_WST_TRACTOR", "4"},
        {"SKModelPropertyManager_LOCAL_TEMPLATES", "1"},
        {"ObjectEmitterProperty_OEP_DECOY", "3"},
    };
    for (const auto& [name, value] : values)
        EXPECT_EQ(value, EvaluateText("repr(Appc." + name + ")")) << name;

    // The genus, species and team groups: their sizes and numbering bind.
    RunScript("def Group(prefix):\n"
              "    return sorted(getattr(Appc, name) for name in constants if name.startswith(prefix))\n"
              "species = Group('SPECIES_')");
    EXPECT_EQ("[0, 1, 2, 3]", EvaluateText("str(Group('GENUS_'))"));
    EXPECT_EQ("42", EvaluateText("str(len(species))"));
    EXPECT_EQ("[0, 100, 108, 200, 204, 300, 301, 400, 402, 500, 503, 600, 601, 700, 715]",
              EvaluateText("str([n for n in species if n % 100 == 0 or n + 1 not in species])"));
    EXPECT_EQ("[0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11]", EvaluateText("str(Group('TEAM_'))"));
}

TEST(AppcModule, WrongArgumentsGiveErrorsThatNameTheRow)
{
    RunScript("p = App.SKPoint3()\ncolor = App.NiColorA()");
    const std::map<std::string, std::string> outcomes = {
        {"Appc.SKPoint3_SetX(p)", "TypeError: SKPoint3_SetX() takes exactly 2 arguments (1 given)"},
        {"Appc.SKPoint3_SetXYZ(p, 1, 2, 3, 4)",
         "TypeError: SKPoint3_SetXYZ() takes exactly 4 arguments (5 given)"},
        {"Appc.new_NiColor(1, 2, 3, 4)", "TypeError: new_NiColor() takes at most 3 arguments (4 given)"},
        {"Appc.SKPoint3_GetModelUp(p)",
         "TypeError: SKPoint3_GetModelUp() takes exactly 0 arguments (1 given)"},
        {"Appc.SKPoint3_SetX(p, 'a')", "TypeError: SKPoint3_SetX() argument 2 must be float, not str"},
        {"Appc.SKPoint3_SetX(p, None)", "TypeError: SKPoint3_SetX() argument 2 must be float, not NoneType"},
        {"Appc.SKPoint3_UnitizeVectors(p, 1.0)",
         "TypeError: SKPoint3_UnitizeVectors() argument 2 must be int, not float"},
        {"Appc.SKPoint3_UnitizeVectors(p, 2**40)",
         "OverflowError: SKPoint3_UnitizeVectors() argument 2 is out of range (-2147483648 to 2147483647)"},
        {"Appc.SKPoint3_SetX(p, 10**400)",
         "OverflowError: int too large to convert to float | SKPoint3_SetX() argument 2"},
        {"Appc.SKPoint3_GetX(5)", "TypeError: Type error. Expected _p_SKPoint3 | SKPoint3_GetX() argument 1"},
        {"Appc.SKPoint3_GetX('_12_p_SKColorA')",
         "TypeError: Type error. Expected _p_SKPoint3 | SKPoint3_GetX() argument 1"},
        {"Appc.SKPoint3_GetX(color)",
         "TypeError: Type error. Expected _p_SKPoint3 | SKPoint3_GetX() argument 1"},
        // A null object is refused where the engine would go through it.
        {"Appc.SKPoint3_GetX(None)",
         "TypeError: Type error. Expected _p_SKPoint3 | SKPoint3_GetX() argument 1"},
        {"Appc.SKPoint3_GetX('NULL')",
         "TypeError: Type error. Expected _p_SKPoint3 | SKPoint3_GetX() argument 1"},
        {"Appc.SKPoint3_Add(p, None)",
         "TypeError: Type error. Expected _p_SKPoint3 | SKPoint3_Add() argument 2"},
        {"Appc.SKPoint3_SetX(p, True)", "ok"},
        {"Appc.SKPoint3_SetX(p, 3)", "ok"},
        {"p.SetXYZ(1, 2)", "TypeError: SKPoint3.SetXYZ() missing 1 required positional argument: 'z'"},
    };
    for (const auto& [expression, outcome] : outcomes)
        EXPECT_EQ(outcome, Outcome(expression)) << expression;

    // Uncaught, the error is one traceback naming the row.
    ScriptErrors errors;
    EXPECT_EQ(-1, PyEmbed::RunString(PyEmbed::PY_STATEMENT, "p.SetX('a')", nullptr, nullptr, nullptr));
    EXPECT_EQ(1, errors.Tracebacks());
    EXPECT_THAT(errors.Text(), HasSubstr("SKPoint3_SetX() argument 2 must be float, not str"));
}

namespace
{
// What a converter of AppcWrapper makes of a script value: the value, or "<Error>: <message>".
template <class T, class Convert> std::string Converted(const std::string& expression, Convert convert)
{
    PyObject* object = Evaluate(expression);
    if (!object)
        return "no value";
    T value{};
    bool converted = convert(object, &value);
    std::string result;
    if constexpr (std::is_same_v<T, const char*>)
        result = value ? value : "null"; // the text lives in the object
    else
        result = std::to_string(static_cast<long long>(value));
    Py_DECREF(object);
    if (converted)
        return result;
    PyObject* type = nullptr;
    PyObject* error = nullptr;
    PyObject* traceback = nullptr;
    PyErr_Fetch(&type, &error, &traceback);
    PyObject* message = error ? PyObject_Str(error) : nullptr;
    std::string text = std::string(reinterpret_cast<PyTypeObject*>(type)->tp_name) + ": " +
                       (message ? PyUnicode_AsUTF8(message) : "");
    Py_XDECREF(message);
    Py_XDECREF(type);
    Py_XDECREF(error);
    Py_XDECREF(traceback);
    return text;
}
} // namespace

TEST(AppcModule, ArgumentConvertersKeepToWhatTheEngineTakes)
{
    using namespace AppcWrapper;
    auto index = [](PyObject* object, int32_t* out) { return GetIndex(object, out, 6, "Row", 2); };
    auto word = [](PyObject* object, uint16_t* out) { return GetShort(object, out, "Row", 2); };
    auto flag = [](PyObject* object, bool* out) { return GetBool(object, out, "Row", 2); };
    auto character = [](PyObject* object, char* out) { return GetChar(object, out, "Row", 2); };
    auto text = [](PyObject* object, const char** out) { return GetText(object, out, "Row", 2); };
    auto textOrNull = [](PyObject* object, const char** out) { return GetTextOrNull(object, out, "Row", 2); };

    // Indices into the engine's arrays.
    EXPECT_EQ("5", Converted<int32_t>("5", index));
    EXPECT_EQ("IndexError: Row() argument 2: index 6 is out of range (0 to 5)",
              Converted<int32_t>("6", index));
    EXPECT_EQ("IndexError: Row() argument 2: index -1 is out of range (0 to 5)",
              Converted<int32_t>("-1", index));
    EXPECT_EQ("TypeError: Row() argument 2 must be int, not float", Converted<int32_t>("1.0", index));
    // 16-bit values: signed or unsigned, the low 16 bits kept.
    EXPECT_EQ("65535", Converted<uint16_t>("-1", word));
    EXPECT_EQ("32768", Converted<uint16_t>("-32768", word));
    EXPECT_EQ("65535", Converted<uint16_t>("65535", word));
    EXPECT_EQ("OverflowError: Row() argument 2 is out of range (-32768 to 65535)",
              Converted<uint16_t>("65536", word));
    // Flags: any non-zero integer is true.
    EXPECT_EQ("1", Converted<bool>("7", flag));
    EXPECT_EQ("0", Converted<bool>("False", flag));
    EXPECT_EQ("TypeError: Row() argument 2 must be int, not str", Converted<bool>("'1'", flag));
    // One character up to U+00FF, as its Latin-1 byte.
    EXPECT_EQ("65", Converted<char>("'A'", character));
    EXPECT_EQ(std::to_string(static_cast<char>(0xE9)), Converted<char>("'\\xe9'", character));
    EXPECT_EQ("TypeError: Row() argument 2 must be a character up to U+00FF, not str",
              Converted<char>("'ab'", character));
    EXPECT_EQ("TypeError: Row() argument 2 must be a character up to U+00FF, not str",
              Converted<char>("'\\u0101'", character));
    // Engine text.
    EXPECT_EQ("Caf\xe9", Converted<const char*>("'Caf\\xe9'", text));
    EXPECT_EQ("ValueError: embedded null character", Converted<const char*>("'a\\x00b'", text));
    EXPECT_EQ("TypeError: Row() argument 2 must be str, not NoneType", Converted<const char*>("None", text));
    EXPECT_EQ("null", Converted<const char*>("None", textOrNull));
}

TEST(AppcModule, IsNullAndDeleteBufferTakeAnything)
{
    RunScript("p = App.SKPoint3()\nshadow = App.SKObjectPtr('NULL')");
    const std::map<std::string, std::string> values = {
        {"Appc.IsNull(None)", "1"},       {"Appc.IsNull('NULL')", "1"},
        {"Appc.IsNull(shadow)", "1"},     {"Appc.IsNull(5)", "1"},
        {"Appc.IsNull(p)", "None"},       {"Appc.DeleteBuffer(None)", "None"},
        {"Appc.DeleteBuffer(5)", "None"}, {"Appc.DeleteBuffer('NULL')", "None"},
    };
    for (const auto& [expression, value] : values)
        EXPECT_EQ(value, EvaluateText("repr(" + expression + ")")) << expression;

    // A wrong argument count is reported at once and answered with 1.
    ScriptErrors errors;
    EXPECT_EQ("1", EvaluateText("repr(Appc.DeleteBuffer())"));
    EXPECT_EQ("TypeError: DeleteBuffer() takes exactly 1 argument (0 given)\n", errors.Text());

    // It frees only a block handed to the script as its own, once: never an engine object, a
    // block freed already or an address made up.
    RunScript("colour = Appc.new_NiColor(1, 2, 3)\nship = Appc.ShipProperty_Create('x')");
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"Appc.DeleteBuffer(ship)", "ValueError"},
        {"Appc.DeleteBuffer(Appc.globals.NiColor_WHITE)", "ValueError"},
        {"Appc.DeleteBuffer('_1234_p_NiColor')", "ValueError"},
        {"Appc.DeleteBuffer(colour)", "ok"},
        {"Appc.DeleteBuffer(colour)", "ValueError"},
    };
    for (const auto& [expression, outcome] : refused)
        EXPECT_THAT(Outcome(expression), testing::StartsWith(outcome)) << expression;
    EXPECT_EQ("ok", Outcome("Appc.SKObject_Destroy(ship)"));

    // What it frees goes back to the engine's pools.
    void* block = PoolAllocate(24, "test", __LINE__);
    ASSERT_NE(nullptr, block);
    PyObject* pointer = PyEmbed::PointerToScriptString(block, "void", true);
    PyObject* function = PyObject_GetAttrString(PyImport_AddModule("Appc"), "DeleteBuffer");
    ASSERT_NE(nullptr, function);
    uint32_t before = SKPoolManager::GetStatistics().uiPooledObjects;
    PyObject* result = PyObject_CallOneArg(function, pointer);
    EXPECT_EQ(before - 1, SKPoolManager::GetStatistics().uiPooledObjects);
    EXPECT_EQ(Py_None, result);
    Py_XDECREF(result);
    Py_DECREF(function);
    Py_DECREF(pointer);
}

TEST(AppcModule, ImportingAgainGivesTheSameModule)
{
    RunScript(
        "import Appc\nfirst = Appc\nimport Appc\nimport importlib\nsecond = importlib.import_module('Appc')");
    EXPECT_EQ("True", EvaluateText("str(first is Appc is second)"));
    EXPECT_EQ(1u, CastNames(g_pkAppcType_ShipProperty).size()) << "the types are registered once";
}

TEST(AppcApp, ShadowsEveryClassWithItsConstantsAndTheEditorMark)
{
    RunScript("names = dir(App)");
    EXPECT_EQ("True", EvaluateText("str('g_bIsFitwright' in names)"));
    EXPECT_EQ("False", EvaluateText("str('globals' in vars(App))")) << "a star import keeps the builtin";
    EXPECT_EQ("True", EvaluateText("str(App.SKPoint3_GetX is Appc.SKPoint3_GetX)")) << "rows re-exported";
    EXPECT_EQ("32769", EvaluateText("str(App.CT_TEMP_TYPE)"));

    // One shadow class and its <Class>Ptr form per wrapped class, derived as the casts are.
    for (const AppcTypeDescription& type : GetGeneratedAppcTable().types)
    {
        std::string record = type.description->name;
        if (record.rfind("_p_", 0) != 0 || record == "_p_p_PyObject" ||
            !std::strchr(type.description->prettyName, ' '))
            continue;
        std::string name = record.substr(3);
        if (name == "HWND" || name == "void" || name == "AttrType" || name == "PyObject" ||
            name == "unsigned_short" || name == "SKPMWalkObjectsFunc" || name == "float" || name == "int")
            continue;
        EXPECT_EQ("True", EvaluateText("str(issubclass(App." + name + "Ptr, App." + name + "))")) << name;
    }
    EXPECT_EQ("True", EvaluateText("str(issubclass(App.TorpedoSystemPropertyPtr, App.SubsystemProperty))"));
    EXPECT_EQ("True", EvaluateText("str(issubclass(App.SKColorA, App.NiColorA))"));
    EXPECT_EQ("True", EvaluateText("str(isinstance(App.NiAVObject, type))"));

    // Class-scoped constants under their short names, inherited by derived shadows.
    const std::map<std::string, std::string> values = {
        {"App.ShieldProperty.FRONT_SHIELDS", "0"},
        {"App.ShieldPropertyPtr('NULL').RIGHT_SHIELDS", "5"},
        {"App.TorpedoSystemProperty.WST_TORPEDO", "2"},
        {"App.EngineProperty.EP_WARP", "1"},
        {"App.ObjectEmitterProperty.OEP_PROBE", "2"},
        {"App.SKModelPropertyManager.LOCAL_TEMPLATES", "1"},
        {"App.SKSystemWrapperClass.IMAGE_FORMAT_BMP", "1"},
    };
    for (const auto& [expression, value] : values)
        EXPECT_EQ(value, EvaluateText("repr(" + expression + ")")) << expression;

    // The engine's globals are shadows around the engine's objects.
    EXPECT_EQ("SKPoolManagerPtr", EvaluateText("type(App.g_kPoolManager).__name__"));
    EXPECT_EQ(EvaluateText("Appc.globals.g_kPoolManager"), EvaluateText("App.g_kPoolManager.this"));
    EXPECT_EQ("0", EvaluateText("str(App.g_kPoolManager.thisown)"));
}
