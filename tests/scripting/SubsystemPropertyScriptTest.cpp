// The main road of the scripting bridge with the hardpoint classes: a property script in the form
// the writers produce (creation and setter lines of local templates, their registration, and a
// LoadPropertySet that attaches templates to nodes) runs through the script host and fills the
// set the engine hands it; writing the filled set's properties again and running those lines
// gives equal properties; and the set's binary save and load give the same set again.

#include "scripting/PythonApi.h"

#include "AppcFixture.h"

#include "core/SKBufferStream.h"
#include "properties/PositionOrientationProperty.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKModelPropertySystemObject.h"
#include "properties/SKNamedModelPropertyList.h"
#include "properties/SKScriptWriter.h"
#include "scripting/PyEmbed.h"
#include "tests/properties/PropertyTestSupport.h"
#include "tests/properties/SubsystemPropertyCases.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace ScriptTest;
using namespace AppcTest;
using namespace SubsystemCases;

namespace
{
testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new AppcEnvironment);

// One template of every class, with names that are no identifiers (or are reserved) and texts
// that need quoting, each attached to one node.
struct Attachment
{
    SKModelProperty* pkTemplate;
    std::string kNode;
};

std::vector<Attachment> MakeTemplates()
{
    const char* apcNames[] = {"Bridge Core", "Main Power",  "None",        "Fore Shield \"A\"",
                              "1st Array",   "Cloak-Field", "Warp (Port)", "Impulse \xe9",
                              "kColor",      "Power Plant", "Repair.Bay",  "LoadPropertySet"};
    const char* apcNodes[] = {"Hull_Node", "Hull_Node", "Shield Node", "Shield Node",
                              "hull_node", "Hull_Node", "Warp\\Port",  "Engine \xe9",
                              "Hull_Node", "Hull_Node", "Hull_Node",   "Hull_Node"};
    std::vector<Attachment> kTemplates;
    size_t uiIndex = 0;
    for (const ClassCase& kCase : Cases())
    {
        SKModelProperty* pkProperty = SKModelProperty::Cast(kCase.pfnFactory(0));
        kCase.kChange(*pkProperty);
        pkProperty->SetName(apcNames[uiIndex]);
        if (auto* pkEngine = ImpulseEngineProperty::Cast(pkProperty))
            pkEngine->SetEngineSound("sfx\\new\\\"hum\".wav");
        kTemplates.push_back({pkProperty, apcNodes[uiIndex]});
        uiIndex++;
    }
    auto* pkMarker = PositionOrientationProperty::Create(apcNames[uiIndex]);
    pkMarker->SetOrientation(NiPoint3(0, 0, 1), NiPoint3(0, 1, 0), NiPoint3(-1, 0, 0));
    pkMarker->SetPosition(0.5f, 1.5f, -2.5f);
    kTemplates.push_back({pkMarker, apcNodes[uiIndex]});
    return kTemplates;
}

// The property script of the templates, as the editor writes one: each template's lines and its
// registration as a local template, then LoadPropertySet.
std::string TemplatesScript(const std::vector<Attachment>& kTemplates)
{
    TextCaptureStream kStream;
    SKScriptWriter kWriter(kStream);
    kWriter.Line("import App");
    kWriter.Line("# Setting up local templates.");
    for (const Attachment& kAttachment : kTemplates)
    {
        kWriter.Line("#################################################");
        const std::string kVariable = kAttachment.pkTemplate->WriteCreateLine(kWriter);
        kWriter.Line("App.g_kModelPropertyManager.RegisterLocalTemplate(", kVariable, ")");
    }
    kWriter.Line();
    kWriter.Line("# Property load function.");
    kWriter.Line("def LoadPropertySet(pObj):");
    kWriter.Line("\t\"Sets up the object's properties.\"");
    for (const Attachment& kAttachment : kTemplates)
    {
        const auto pcName = kAttachment.pkTemplate->GetName().GetCString();
        kWriter.Line("\tprop = App.g_kModelPropertyManager.FindByName(", SKScriptWriter::Quoted{pcName.get()},
                     ", App.SKModelPropertyManager.LOCAL_TEMPLATES)");
        kWriter.Line("\tif (prop != None):");
        kWriter.Line("\t\tpObj.AddToSet(", SKScriptWriter::Quoted{kAttachment.kNode.c_str()}, ", prop)");
    }
    return kStream.Text();
}

std::string Describe(SKModelProperty* pkProperty)
{
    return pkProperty ? PropertyScript(*pkProperty) : "(null)\n";
}

// Everything the set holds, node by node, as text: the names, and each template's and each
// instance property's script lines.
std::string DescribeSet(const SKModelPropertySet& kSet)
{
    std::string kText;
    for (SKNamedModelPropertyList* pkList : kSet.GetPropertyLists())
    {
        kText += std::string("node ") + pkList->GetName() + "\n";
        pkList->SKBeginIteration();
        while (SKModelPropertyInstance* pkInstance = pkList->SKGetNext())
        {
            kText += std::string("  at ") + pkInstance->GetHardpointName() + "\n";
            kText += Describe(pkInstance->GetOriginalTemplate());
            kText += Describe(pkInstance->GetProperty());
        }
    }
    return kText;
}

// Runs LoadPropertySet of "__main__" on the set, as the editor does after running the script.
void LoadPropertySet(SKModelPropertySet& kSet)
{
    PyObject* pkShadow = kSet.CreatePythonObject();
    ASSERT_NE(pkShadow, nullptr);
    EXPECT_EQ(0, PyEmbed::CallFunction("__main__", "LoadPropertySet", nullptr, nullptr, "(O)", pkShadow));
    Py_DECREF(pkShadow);
}

class SubsystemPropertyScript : public testing::Test
{
protected:
    void SetUp() override
    {
        SKModelPropertySystemObject::Instance().Init();
        RegisterFactories();
        SKObject::RegisterFactory(PositionOrientationProperty::TYPE_ID,
                                  &PositionOrientationProperty::Factory);
    }
    void TearDown() override
    {
        g_kModelPropertyManager.ClearLocalTemplates();
        g_kModelPropertyManager.ClearGlobalTemplates();
    }
};
} // namespace

TEST_F(SubsystemPropertyScript, APropertyScriptFillsTheSetAndItsPropertiesWriteAndLoadBackEqual)
{
    std::vector<Attachment> kTemplates = MakeTemplates();
    const std::string kScript = TemplatesScript(kTemplates);
    TempFolder kFolder;
    const std::string kPath = kFolder.WriteFile("ShipProperties.py", kScript);
    ASSERT_EQ(0, PyEmbed::RunSimpleFile(kPath.c_str())) << kScript;
    ASSERT_EQ(g_kModelPropertyManager.GetLocalTemplates().GetCount(),
              static_cast<int32_t>(kTemplates.size()));

    SKModelPropertySet* pkSet = SKModelPropertySet::Create();
    LoadPropertySet(*pkSet);

    // Node lists in first-use order, node names matched exactly.
    std::vector<std::string> kNodes;
    for (SKNamedModelPropertyList* pkList : pkSet->GetPropertyLists())
        kNodes.push_back(pkList->GetName());
    EXPECT_EQ(kNodes, (std::vector<std::string>{"Hull_Node", "Shield Node", "hull_node", "Warp\\Port",
                                                "Engine \xe9"}));

    // Every template the script made equals the one its lines came from, and each instance holds
    // a duplicate of it.
    for (const Attachment& kAttachment : kTemplates)
    {
        SCOPED_TRACE(kAttachment.pkTemplate->GetObjTypeName());
        const auto pcName = kAttachment.pkTemplate->GetName().GetCString();
        SKModelProperty* pkMade = g_kModelPropertyManager.FindByName(pcName.get(), 1);
        ASSERT_NE(pkMade, nullptr);
        EXPECT_NE(pkMade, kAttachment.pkTemplate);
        EXPECT_EQ(Describe(pkMade), Describe(kAttachment.pkTemplate));
        SKNamedModelPropertyList* pkList = pkSet->GetPropertyList(kAttachment.kNode.c_str());
        ASSERT_NE(pkList, nullptr);
        SKModelPropertyInstance* pkFound = nullptr;
        pkList->SKBeginIteration();
        while (SKModelPropertyInstance* pkInstance = pkList->SKGetNext())
            pkFound = pkInstance->GetOriginalTemplate() == pkMade ? pkInstance : pkFound;
        ASSERT_NE(pkFound, nullptr);
        EXPECT_NE(pkFound->GetProperty(), pkMade);
        EXPECT_EQ(Describe(pkFound->GetProperty()), Describe(pkMade));
        EXPECT_EQ(pkFound->GetProperty()->GetRefCount(), 1);
    }
    const std::string kFilled = DescribeSet(*pkSet);

    // The instance properties' lines, written again and run, make equal properties.
    {
        TextCaptureStream kStream;
        SKScriptWriter kWriter(kStream);
        std::vector<std::pair<std::string, SKModelProperty*>> kWritten;
        for (SKNamedModelPropertyList* pkList : pkSet->GetPropertyLists())
        {
            pkList->SKBeginIteration();
            while (SKModelPropertyInstance* pkInstance = pkList->SKGetNext())
                kWritten.emplace_back(pkInstance->GetProperty()->WriteCreateLine(kWriter),
                                      pkInstance->GetProperty());
        }
        RunScript(kStream.Text());
        for (const auto& [kVariable, pkProperty] : kWritten)
        {
            PyObject* pkObject = Evaluate(kVariable);
            auto* pkAgain = static_cast<SKModelProperty*>(PyEmbed::GetPointer(pkObject));
            Py_XDECREF(pkObject);
            ASSERT_NE(pkAgain, nullptr) << kVariable;
            EXPECT_NE(pkAgain, pkProperty);
            EXPECT_EQ(Describe(pkAgain), Describe(pkProperty));
            pkAgain->DecRefCount();
        }
    }

    // The binary save of the templates and the set, loaded after both are gone, gives the same set.
    SKBufferStream kOut;
    kOut.OpenBuffer(1 << 16);
    ASSERT_TRUE(g_kModelPropertyManager.SaveToStream(kOut));
    ASSERT_TRUE(pkSet->SaveToStream(kOut));
    ASSERT_GE(kOut.GetStatus(), 0);
    std::vector<uint8_t> kBytes(kOut.GetBuffer(), kOut.GetBuffer() + kOut.GetPos());
    delete pkSet;
    g_kModelPropertyManager.ClearLocalTemplates();

    SKBufferStream kIn;
    kIn.AttachBuffer(kBytes.data(), static_cast<int32_t>(kBytes.size()));
    ASSERT_TRUE(g_kModelPropertyManager.LoadFromStream(kIn));
    auto* pkLoaded = static_cast<SKModelPropertySet*>(SKObject::LoadObject(kIn));
    ASSERT_NE(pkLoaded, nullptr);
    ASSERT_TRUE(SKObject::FixupLoadedObjects());
    EXPECT_EQ(kIn.GetPos(), static_cast<int32_t>(kBytes.size()));
    EXPECT_EQ(DescribeSet(*pkLoaded), kFilled);
    delete pkLoaded;

    for (Attachment& kAttachment : kTemplates)
        kAttachment.pkTemplate->DecRefCount();
}
