// Every property class of the registry through the script text it writes and through its binary
// record, run by the interpreter with App as shipped; and a property script that attaches one
// template of every class to a model's property set.

#include "scripting/PythonApi.h"

#include "AppcFixture.h"

#include "scripting/AppcGenerated.h"

#include "core/SKBufferStream.h"
#include "core/SKStream.h"
#include "properties/PropertyTypeRegistry.h"
#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertyList.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKModelPropertySystemObject.h"
#include "properties/SKNamedModelPropertyList.h"
#include "properties/SKScriptWriter.h"
#include "tests/properties/PropertyTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace ScriptTest;

namespace
{
// Perturb(text) gives the settings of a default property's script text changed: every number
// of a call moves (0 and 1 swap, other integers grow by one, floats by 0.5), every quoted text
// becomes one with a quote, a backslash and a Latin-1 letter, and each enumeration constant a
// different one. Torpedo ammo indices and counts stay, since they shape the lines that follow.
constexpr const char* PERTURB = R"py(import re

_TEXT = '"q\\"uo\\\\te \\xe9"'
_NUMBER = re.compile(r'(?<![\w.])-?\d+(?:\.\d+)?')
_QUOTED = re.compile(r'"(?:[^"\\]|\\.)*"')
_CONSTANTS = {"OEP_UNKNOWN": "OEP_PROBE", "EP_IMPULSE": "EP_WARP", "WST_UNKNOWN": "WST_PULSE",
              "WST_TORPEDO": "WST_PHASER"}
_KEPT = ("SetNumAmmoTypes", "SetTorpedoScript")

def _number(match):
    text = match.group(0)
    if "." in text:
        return "%f" % (float(text) + 0.5)
    value = int(text)
    return str(1 - value if value in (0, 1) else value + 1)

def _perturb_line(line):
    head, paren, args = line.partition("(")
    method = head.rsplit(".", 1)[-1]
    if not paren or method in _KEPT:
        return line
    args = _QUOTED.sub(lambda match: _TEXT, args)
    if method == "SetMaxTorpedoes":
        index, rest = args.split(",", 1)
        args = index + "," + _NUMBER.sub(_number, rest)
    else:
        args = _NUMBER.sub(_number, args)
    for old, new in _CONSTANTS.items():
        args = args.replace("." + old + ")", "." + new + ")")
    return head + paren + args

def Perturb(text):
    lines = text.split("\n")
    return "\n".join(lines[:2] + [_perturb_line(line) for line in lines[2:]])
)py";

class PropertyEnvironment : public AppcTest::AppcEnvironment
{
public:
    void SetUp() override
    {
        AppcEnvironment::SetUp();
        SKModelPropertySystemObject::Instance().Init();
        RegisterPropertyTypes();
        RunScript(PERTURB);
    }
};

testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new PropertyEnvironment);

// A name that needs its variable made and its quoted form escaped.
constexpr const char* PROPERTY_NAME = "Hard \"Point\" \\ \xe9 1";

std::string Perturbed(const std::string& kText)
{
    PyObject* pkFunction = PyObject_GetAttrString(PyImport_AddModule("__main__"), "Perturb");
    PyObject* pkResult = pkFunction ? PyObject_CallFunction(pkFunction, "s", kText.c_str()) : nullptr;
    const char* pcResult = pkResult ? PyUnicode_AsUTF8(pkResult) : nullptr;
    std::string kPerturbed = pcResult ? pcResult : "";
    Py_XDECREF(pkResult);
    Py_XDECREF(pkFunction);
    EXPECT_FALSE(kPerturbed.empty());
    return kPerturbed;
}

// The engine property a script variable stands for.
SKModelProperty* PropertyOf(const std::string& kVariable)
{
    PyObject* pkObject = Evaluate(kVariable);
    void* pvProperty = nullptr;
    EXPECT_EQ(0, ConvertPointerObject(pkObject, &pvProperty, g_pkAppcType_SKModelProperty, true))
        << kVariable;
    Py_XDECREF(pkObject);
    return static_cast<SKModelProperty*>(pvProperty);
}

// The class's display name, when the New Template dialog offers it.
const char* DisplayNameOf(int32_t iTypeID)
{
    for (const char* pcName = GetFirstPropertyTypeName(); pcName; pcName = GetNextPropertyTypeName())
    {
        SKModelProperty* pkProbe = CreatePropertyByTypeName(pcName, "probe");
        const bool bMatch = pkProbe->GetObjType() == iTypeID;
        pkProbe->DecRefCount();
        if (bMatch)
            return pcName;
    }
    return nullptr;
}

class EveryPropertyClass : public testing::TestWithParam<size_t>
{
protected:
    const PropertyTypeEntry& Entry() const { return GetPropertyTypes()[GetParam()]; }
};

std::string ClassName(const testing::TestParamInfo<size_t>& kInfo)
{
    return GetPropertyTypes()[kInfo.param].pcClassName;
}
} // namespace

TEST_P(EveryPropertyClass, RoundTripsWithChangedValuesThroughItsScriptAndItsRecord)
{
    const PropertyTypeEntry& kEntry = Entry();
    const char* pcDisplayName = DisplayNameOf(kEntry.iTypeID);
    SKModelProperty* pkDefault = pcDisplayName ? CreatePropertyByTypeName(pcDisplayName, PROPERTY_NAME)
                                               : kEntry.pfnCreate(PROPERTY_NAME);
    ASSERT_NE(pkDefault, nullptr);
    const std::string kDefaultText = PropertyScript(*pkDefault);
    pkDefault->DecRefCount();
    if (kDefaultText.find("App.SKString()") != std::string::npos &&
        EvaluateText("str(hasattr(App.SKString, 'SetString'))") != "True")
        GTEST_SKIP() << "scripts cannot make the engine's strings yet";

    const std::string kText = Perturbed(kDefaultText);
    const std::string kVariable = kText.substr(0, kText.find(" = "));
    EXPECT_EQ(kVariable, "Hard_Point___1");
    {
        ScriptErrors kErrors;
        RunScript(kText);
        EXPECT_EQ(kErrors.Text(), "");
    }
    SKModelProperty* pkProperty = PropertyOf(kVariable);
    ASSERT_NE(pkProperty, nullptr);
    EXPECT_EQ(pkProperty->GetObjType(), kEntry.iTypeID);
    EXPECT_EQ(pkProperty->GetName(), SKString(PROPERTY_NAME));
    EXPECT_EQ(PropertyScript(*pkProperty), kText) << "written from the defaults:\n" << kDefaultText;

    const std::vector<uint8_t> kRecord = PropertyRecord(*pkProperty);
    pkProperty->DecRefCount();
    std::vector<uint8_t> kBytes = kRecord;
    SKBufferStream kStream;
    kStream.AttachBuffer(kBytes.data(), static_cast<int32_t>(kBytes.size()));
    SKModelProperty* pkLoaded = SKModelProperty::Cast(SKObject::LoadObject(kStream));
    ASSERT_TRUE(SKObject::FixupLoadedObjects());
    if (!kEntry.pfnFactory)
    {
        // Only scripts make these classes: their records do not load.
        EXPECT_EQ(pkLoaded, nullptr);
        return;
    }
    ASSERT_NE(pkLoaded, nullptr);
    EXPECT_EQ(PropertyScript(*pkLoaded), kText);
    EXPECT_EQ(PropertyRecord(*pkLoaded), kRecord);
    pkLoaded->DecRefCount();
}

INSTANTIATE_TEST_SUITE_P(Registry, EveryPropertyClass, testing::Range<size_t>(0, GetPropertyTypes().size()),
                         ClassName);

TEST(PropertyScript, ATemplateOfEveryClassFillsTheSetAsTheRegistrySays)
{
    // A property script in the form the editor writes: the templates made at the top level and
    // registered locally (their settings lines are left out: every class's lines are tested
    // above), and LoadPropertySet attaching each to a node, three templates to a node.
    TextCaptureStream kStream;
    SKScriptWriter kWriter(kStream);
    kWriter.Line("import App");
    std::vector<std::string> kNodes;
    const auto kTypes = GetPropertyTypes();
    for (size_t i = 0; i < kTypes.size(); i++)
    {
        const std::string kName = "Template " + std::to_string(i);
        const std::string kVariable = kWriter.DeclareVariable(SKString(kName.c_str()));
        kWriter.Line(kVariable, " = App.", kTypes[i].pcClassName, "_Create(",
                     SKScriptWriter::Quoted{kName.c_str()}, ")");
        kWriter.Line("App.g_kModelPropertyManager.RegisterLocalTemplate(", kVariable, ")");
        kNodes.push_back("Hardpoint " + std::to_string(i / 3));
    }
    kWriter.Line("def LoadPropertySet(pObj):");
    for (size_t i = 0; i < kTypes.size(); i++)
    {
        const std::string kName = "Template " + std::to_string(i);
        kWriter.Line("\tpObj.AddToSet(", SKScriptWriter::Quoted{kNodes[i].c_str()},
                     ", App.g_kModelPropertyManager.FindByName(", SKScriptWriter::Quoted{kName.c_str()},
                     ", App.SKModelPropertyManager.LOCAL_TEMPLATES))");
    }
    const std::filesystem::path kPath =
        HostEnvironment::Folder().Write("Scripts/AllProperties.py", kStream.Text());
    ScriptErrors kErrors;
    ASSERT_EQ(0, PyEmbed::RunSimpleFile(kPath.c_str()));
    EXPECT_EQ(g_kModelPropertyManager.GetLocalTemplates().GetCount(), static_cast<int32_t>(kTypes.size()));

    auto* pkSet = new SKModelPropertySet(0);
    PyObject* pkSetObject = pkSet->CreatePythonObject();
    ASSERT_NE(pkSetObject, nullptr);
    EXPECT_EQ(0, PyEmbed::CallFunction("__main__", "LoadPropertySet", nullptr, nullptr, "(O)", pkSetObject));
    Py_DECREF(pkSetObject);
    EXPECT_EQ(kErrors.Text(), "");

    // The class names of the set's properties of a type, in set order.
    auto ByType = [pkSet](int32_t iType)
    {
        std::unique_ptr<SKModelPropertyList> spList = pkSet->GetPropertiesByType(iType);
        std::vector<std::string> kClasses;
        spList->SKBeginIteration();
        while (SKModelPropertyInstance* pkInstance = spList->SKGetNext())
            kClasses.push_back(pkInstance->GetProperty()->GetObjTypeName());
        return kClasses;
    };
    auto Expected = [&kTypes](int32_t iType, bool bWithoutFactory)
    {
        std::vector<std::string> kClasses;
        for (const PropertyTypeEntry& kEntry : kTypes)
        {
            bool bDerives = iType == SKModelProperty::TYPE_ID;
            for (const PropertyTypeEntry* pkWalk = &kEntry; pkWalk && !bDerives;
                 pkWalk = FindPropertyType(pkWalk->iBaseTypeID))
                bDerives = pkWalk->iTypeID == iType;
            if (bDerives && (kEntry.pfnFactory || bWithoutFactory))
                kClasses.push_back(kEntry.pcClassName);
        }
        return kClasses;
    };
    std::vector<int32_t> kQueries = {SKModelProperty::TYPE_ID};
    for (const PropertyTypeEntry& kEntry : kTypes)
        kQueries.push_back(kEntry.iTypeID);

    // The instance copies: a class without factory has none until the instance takes its template.
    for (int32_t iType : kQueries)
        EXPECT_EQ(ByType(iType), Expected(iType, false)) << std::hex << iType;
    for (const auto* pkNodeList : pkSet->GetPropertyLists())
    {
        for (SKModelPropertyInstance* pkInstance : pkNodeList->GetItems())
            pkInstance->UseOriginalTemplate();
    }
    for (int32_t iType : kQueries)
        EXPECT_EQ(ByType(iType), Expected(iType, true)) << std::hex << iType;
    EXPECT_EQ(pkSet->GetPropertyLists().GetCount(), 10);
    delete pkSet;
    g_kModelPropertyManager.ClearLocalTemplates();
}

TEST(PropertyScript, ModuleAppcHasEveryRowOfThePropertyClasses)
{
    std::map<std::string, std::vector<std::string>> kRows;
    for (const PyMethodDef& kMethod : GetGeneratedAppcTable().methods)
    {
        if (!kMethod.ml_name)
            continue;
        std::string kName = kMethod.ml_name;
        std::string kOperation;
        if (kName.rfind("new_", 0) == 0 || kName.rfind("delete_", 0) == 0)
        {
            kOperation = kName.substr(0, kName.find('_'));
            kName = kName.substr(kName.find('_') + 1);
        }
        else
        {
            kOperation = kName.substr(kName.find('_') + 1);
        }
        kRows[kName.substr(0, kName.find('_'))].push_back(kOperation);
    }

    // The rows of the ship, engine glow, emitter and blinking light classes, in table order.
    const std::vector<std::string> BY_NAME_ONLY = {"Cast", "Create", "delete"};
    const std::map<std::string, std::vector<std::string>> OWN_ROWS = {
        {"ShipProperty",
         {"new",
          "delete",
          "Cast",
          "Create",
          "GetGenus",
          "GetSpecies",
          "GetMass",
          "GetRotationalInertia",
          "GetShipName",
          "GetModelFilename",
          "GetDamageResolution",
          "GetAffiliation",
          "IsStationary",
          "GetAIString",
          "GetDeathExplosionSound",
          "SetGenus",
          "SetSpecies",
          "SetMass",
          "SetRotationalInertia",
          "SetShipName",
          "SetModelFilename",
          "SetDamageResolution",
          "SetAffiliation",
          "SetStationary",
          "SetAIString",
          "SetDeathExplosionSound"}},
        {"EngineGlowProperty", BY_NAME_ONLY},
        {"EffectEmitterProperty", BY_NAME_ONLY},
        {"SmokeEmitterProperty", BY_NAME_ONLY},
        {"ExplodeEmitterProperty", BY_NAME_ONLY},
        {"SparkEmitterProperty", BY_NAME_ONLY},
        {"BlinkingLightProperty",
         {"Cast", "Create", "GetColor", "GetRadius", "GetPeriod", "GetDuration", "GetTextureName", "SetColor",
          "SetRadius", "SetPeriod", "SetDuration", "SetTextureName", "delete"}},
        {"ObjectEmitterProperty",
         {"new", "delete", "Cast", "Create", "GetEmittedObjectType", "SetEmittedObjectType"}},
    };
    for (const auto& [kClass, kOperations] : OWN_ROWS)
        EXPECT_EQ(kRows[kClass], kOperations) << kClass;

    // Every other hardpoint class, by its number of rows.
    const std::map<std::string, size_t> COUNTS = {
        {"PositionOrientationProperty", 10},
        {"SubsystemProperty", 23},
        {"PoweredSubsystemProperty", 6},
        {"WeaponSystemProperty", 12},
        {"WeaponProperty", 21},
        {"EnergyWeaponProperty", 24},
        {"PhaserProperty", 55},
        {"TorpedoTubeProperty", 14},
        {"ShieldProperty", 12},
        {"HullProperty", 4},
        {"SensorProperty", 8},
        {"PulseWeaponProperty", 20},
        {"ImpulseEngineProperty", 14},
        {"WarpEngineProperty", 4},
        {"PowerProperty", 14},
        {"RepairSubsystemProperty", 8},
        {"TractorBeamProperty", 52},
        {"CloakingSubsystemProperty", 6},
        {"EngineProperty", 6},
        {"TorpedoAmmoType", 18},
        {"TorpedoSystemProperty", 10},
    };
    for (const auto& [kClass, uiCount] : COUNTS)
        EXPECT_EQ(kRows[kClass].size(), uiCount) << kClass;
    for (const PropertyTypeEntry& kEntry : GetPropertyTypes())
        EXPECT_TRUE(OWN_ROWS.count(kEntry.pcClassName) || COUNTS.count(kEntry.pcClassName))
            << kEntry.pcClassName;
}
