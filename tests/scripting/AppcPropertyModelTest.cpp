// The rows of the model-property data model, end to end: a property script registers a
// template with the global property manager and attaches it to a node of the set the engine
// hands to LoadPropertySet; the engine sees the result, and the script walks it back.

#include "scripting/PythonApi.h"

#include "AppcFixture.h"

#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKModelPropertySystemObject.h"
#include "properties/SKNamedModelPropertyList.h"

#include <gmock/gmock.h>

#include <string>
#include <utility>
#include <vector>

using namespace ScriptTest;
using namespace AppcTest;
using testing::StartsWith;

namespace
{
testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new AppcEnvironment);

// Property scripts are written in this form; the name holds a byte beyond ASCII.
constexpr const char* PROPERTY_SCRIPT = "import App\n"
                                        "Hull = App.SKModelProperty_Create(\"Hull \\xe9\")\n"
                                        "App.g_kModelPropertyManager.RegisterLocalTemplate(Hull)\n"
                                        "\n"
                                        "def LoadPropertySet(pObj):\n"
                                        "    prop = App.g_kModelPropertyManager.FindByName(\"HULL \\xe9\", "
                                        "App.SKModelPropertyManager.LOCAL_TEMPLATES)\n"
                                        "    if (prop != None):\n"
                                        "        pObj.AddToSet(\"Hardpoint 1\", prop)\n";

class AppcPropertyModel : public testing::Test
{
protected:
    void SetUp() override { SKModelPropertySystemObject::Instance().Init(); }
    void TearDown() override { SKModelPropertySystemObject::Instance().ReleaseResources(); }
};
} // namespace

TEST_F(AppcPropertyModel, APropertyScriptFillsTheSetTheEngineHandsIt)
{
    RunScript(PROPERTY_SCRIPT);
    SKModelProperty* pkTemplate = g_kModelPropertyManager.FindByName("hull \xe9", 1);
    ASSERT_NE(nullptr, pkTemplate) << "registered under its Latin-1 name";
    EXPECT_EQ(pkTemplate->GetPointerString(), EvaluateText("Hull.this"));
    EXPECT_EQ("None", EvaluateText("str(App.g_kModelPropertyManager.FindByName('Hull \\xe9'))"))
        << "not a global template";

    SKModelPropertySet kSet;
    PyObject* shadow = kSet.CreatePythonObject();
    ASSERT_NE(nullptr, shadow);
    EXPECT_EQ("SKModelPropertySetPtr", std::string(Py_TYPE(shadow)->tp_name));
    ASSERT_EQ(0, PyEmbed::CallFunction("__main__", "LoadPropertySet", nullptr, nullptr, "(O)", shadow));

    SKNamedModelPropertyList* pkList = kSet.GetPropertyList("Hardpoint 1");
    ASSERT_NE(nullptr, pkList);
    ASSERT_EQ(1, pkList->SKGetNumItems());
    pkList->SKBeginIteration();
    SKModelPropertyInstance* pkInstance = pkList->SKGetNext();
    EXPECT_EQ(pkTemplate, pkInstance->GetOriginalTemplate());
    EXPECT_STREQ("Hardpoint 1", pkInstance->GetHardpointName());

    // The script walks the set back through the list rows.
    PyObject* main = PyImport_AddModule("__main__");
    ASSERT_EQ(0, PyObject_SetAttrString(main, "kSet", shadow));
    Py_DECREF(shadow);
    RunScript(
        "found = kSet.GetPropertiesByType(Appc.CT_SUBSYSTEM_PROPERTY)\n"
        "byBase = kSet.GetPropertiesByType(0x601)\n"
        "names = []\n"
        "byBase.SKBeginIteration()\n"
        "while not byBase.SKDoneIterating():\n"
        "    instance = byBase.SKGetNext()\n"
        "    names.append((instance.GetHardpointName(), instance.GetOriginalTemplate().this == Hull.this,\n"
        "                  instance.GetProperty().this != Hull.this))\n"
        "counts = (found.SKGetNumItems(), byBase.SKGetNumItems())\n"
        "found.SKDestroy()\n"
        "byBase.SKDestroy()");
    EXPECT_EQ("(0, 1) [('Hardpoint 1', True, True)]", EvaluateText("'%s %s' % (counts, names)"));

    // The set's own node list stays the set's: deleting it from a script frees nothing.
    RunScript("App.delete_SKModelPropertyList(kSet.GetPropertyList('Hardpoint 1'))");
    EXPECT_EQ(pkList, kSet.GetPropertyList("Hardpoint 1"));
    EXPECT_EQ(1, pkList->SKGetNumItems());
    RunScript("del kSet");
}

TEST_F(AppcPropertyModel, TemplatesAreRegisteredFoundAndRemoved)
{
    RunScript("manager = App.g_kModelPropertyManager\n"
              "first = App.SKModelProperty_Create('First')\n"
              "second = App.SKModelProperty()\n"
              "second.SetName('Second')\n"
              "registered = (manager.RegisterGlobalTemplate(first), manager.RegisterGlobalTemplate(second),\n"
              "              manager.RegisterGlobalTemplate(None))");
    EXPECT_EQ("(1, 1, 0)", EvaluateText("str(registered)"));
    EXPECT_EQ(2, g_kModelPropertyManager.GetGlobalTemplates().GetCount());
    EXPECT_EQ("True True", EvaluateText("'%s %s' % (manager.FindByName('second').this == second.this, "
                                        "manager.FindByNameAndType('FIRST', 0x601, 0).this == first.this)"));
    EXPECT_EQ("None", EvaluateText("str(manager.FindByNameAndType('First', Appc.CT_SHIP_PROPERTY))"));
    EXPECT_EQ("1 0",
              EvaluateText("'%d %d' % (manager.IsGlobalTemplate(first), manager.IsLocalTemplate(first))"));
    EXPECT_EQ("1", EvaluateText("str(manager.ApplyFilters(first))")) << "no current filter";

    // A property is its own class's and the base's; the cast gives a shadow of the same object.
    EXPECT_EQ("True", EvaluateText("str(App.SKModelProperty_Cast(first).this == first.this)"));
    EXPECT_EQ("SKModelPropertyPtr", EvaluateText("type(App.SKModelProperty.Cast(first)).__name__"));
    EXPECT_EQ("None", EvaluateText("str(App.SKModelProperty_Cast(None))"));
    EXPECT_EQ("1", EvaluateText("str(first.GetRefCount())")) << "the manager took over the reference";
    RunScript("duplicate = first.Duplicate()\nduplicate.SetName('Copy')");
    EXPECT_EQ("1", EvaluateText("str(duplicate.GetRefCount())"));
    RunScript("duplicate.DecRefCount()");

    // Removed with the list's reference, the template goes: its pointer names nothing any more.
    EXPECT_EQ("1", EvaluateText("str(manager.RemoveTemplate(0, first, 1))"));
    EXPECT_EQ("None", EvaluateText("str(manager.FindByName('First'))"));
    EXPECT_THAT(Outcome("manager.IsGlobalTemplate(first)"), StartsWith("ReferenceError"));
    EXPECT_EQ(1, g_kModelPropertyManager.GetGlobalTemplates().GetCount());
    RunScript("manager.ClearGlobalTemplates()");
    EXPECT_EQ(0, g_kModelPropertyManager.GetGlobalTemplates().GetCount());
}

TEST_F(AppcPropertyModel, RowsRefuseWhatTheEngineWouldGoThrough)
{
    RunScript("prop = App.SKModelProperty_Create('Named')\nkSet = App.SKModelPropertySet()");
    const std::map<std::string, std::string> outcomes = {
        {"Appc.SKModelProperty_GetRefCount(kSet)",
         "TypeError: Type error. Expected _p_SKModelProperty | SKModelProperty_GetRefCount() argument 1"},
        {"Appc.SKModelProperty_Cast(kSet)",
         "TypeError: Type error. Expected _p_SKModelProperty | SKModelProperty_Cast() argument 1"},
        {"prop.Edit(None)", "TypeError: Type error. Expected _p_HWND | SKModelProperty_Edit() argument 2"},
        {"App.g_kModelPropertyManager.AddFilter('NULL')",
         "TypeError: Type error. Expected _SKModelPropertyManager__FilterFunc | "
         "SKModelPropertyManager_AddFilter() argument 2"},
        {"App.g_kModelPropertyManager.FindByName(None)",
         "TypeError: SKModelPropertyManager_FindByName() argument 2 must be str, not NoneType"},
        {"kSet.AddToSet('node', None)", "ok"},
        {"prop.SetName('N\\u0101me')",
         "TypeError: text holds a character beyond U+00FF | SKModelProperty_SetName() argument 2"},
    };
    for (const auto& [expression, outcome] : outcomes)
        EXPECT_EQ(outcome, Outcome(expression)) << expression;
    EXPECT_EQ("0", EvaluateText("str(kSet.AddToSet('node', None))"));
    RunScript("App.delete_SKModelPropertySet(kSet)\nprop.DecRefCount()");
    EXPECT_EQ("NULL", EvaluateText("kSet.this"));
}

TEST_F(AppcPropertyModel, RowsFreeAndCallOnlyWhatTheModuleHandedOut)
{
    RunScript("manager = App.g_kModelPropertyManager\n"
              "template = Appc.ShipProperty_Create('Listed')\n"
              "manager.RegisterLocalTemplate(template)\n"
              "kSet = Appc.SKModelPropertySet_Create()\n"
              "Appc.SKModelPropertySet_AddToSet(kSet, 'node', Appc.HullProperty_Create('Hull'))\n"
              "nodes = Appc.SKModelPropertySet_GetPropertyList(kSet, 'node')\n"
              "Appc.SKModelPropertyList_SKBeginIteration(nodes)\n"
              "instance = Appc.SKModelPropertyList_SKGetNext(nodes)\n"
              "found = Appc.SKModelPropertySet_GetPropertiesByType(kSet, Appc.CT_HULL_PROPERTY)\n"
              "held = Appc.ShipProperty_Create('Held')\n"
              "own = Appc.new_SKModelPropertyInstance(held, 'hardpoint')");
    const int32_t iRegistered = g_kModelPropertyManager.GetRegisteredFilters().GetCount();
    const std::vector<std::pair<std::string, std::string>> outcomes = {
        // A template the manager lists (with the creator's one reference) stays.
        {"Appc.delete_ShipProperty(template)",
         "ValueError: delete_ShipProperty(): the object is still held by the engine"},
        {"Appc.SKObject_Destroy(template)",
         "ValueError: SKObject_Destroy(): the object is still held by the engine"},
        // The set's own instance is the engine's to free.
        {"Appc.delete_SKModelPropertyInstance(instance)",
         "ValueError: delete_SKModelPropertyInstance(): the object "
         "is not one the script owns"},
        // Filters: none was handed out, so none is stored and none is called.
        {"manager.AddFilter('_4010_SKModelPropertyManager__FilterFunc')", "ReferenceError"},
        {"manager.RegisterFilter('_4010_SKModelPropertyManager__FilterFunc', 'Forged')", "ReferenceError"},
        {"manager.RemoveFilter('_4010_SKModelPropertyManager__FilterFunc')", "ReferenceError"},
        // A list the script destroyed, and an instance that went with its set, are gone.
        {"Appc.SKModelPropertyList_SKDestroy(found)", "ok"},
        {"Appc.SKModelPropertyList_SKGetNumItems(found)", "ReferenceError"},
        {"Appc.delete_SKModelPropertySet(kSet)", "ok"},
        {"Appc.SKModelPropertyInstance_GetHardpointName(instance)", "ReferenceError"},
        {"Appc.SKModelPropertyList_SKGetNext(nodes)", "ReferenceError"},
        {"Appc.delete_SKModelPropertySet(kSet)", "ReferenceError"},
        // The script gives up only the references it holds: an instance keeps its own.
        {"Appc.SKModelProperty_DecRefCount(held)", "ok"},
        {"Appc.SKModelProperty_DecRefCount(held)",
         "ValueError: SKModelProperty_DecRefCount(): the script holds no reference of the property"},
        {"Appc.SKObject_Destroy(held)",
         "ValueError: SKObject_Destroy(): the object is still held by the engine"},
        {"Appc.SKModelPropertyManager_RegisterGlobalTemplate(manager, "
         "Appc.SKModelPropertyInstance_GetOriginalTemplate(own))",
         "ValueError: SKModelPropertyManager_RegisterGlobalTemplate(): the list would take over a reference"},
        {"Appc.delete_SKModelPropertyInstance(own)", "ok"},
        {"Appc.ShipProperty_GetMass(held)", "ReferenceError"},
    };
    for (const auto& [expression, outcome] : outcomes)
        EXPECT_THAT(Outcome(expression), StartsWith(outcome)) << expression;
    EXPECT_EQ(iRegistered, g_kModelPropertyManager.GetRegisteredFilters().GetCount());
    EXPECT_EQ("1", EvaluateText("str(manager.ApplyFilters(template))")) << "no filter to call";
    RunScript("manager.ClearLocalTemplates()");
    EXPECT_THAT(Outcome("Appc.ShipProperty_GetMass(template)"), StartsWith("ReferenceError"));
}
