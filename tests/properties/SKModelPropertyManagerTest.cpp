// The property manager: templates replacing one another by name, lookups, removal, filters, the
// binary record, and its system object.
#include "properties/SKModelPropertyManager.h"
#include "core/SKBufferStream.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKModelPropertySystemObject.h"
#include "tests/properties/PropertyTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using Manager = SKModelPropertyManager;

std::vector<std::string> Names(const Manager::Templates& kList)
{
    std::vector<std::string> kNames;
    for (const SKModelProperty* pkTemplate : kList)
        kNames.push_back(pkTemplate->GetName().GetCString().get());
    return kNames;
}

bool IsShield(SKModelProperty* pkProperty)
{
    return pkProperty && pkProperty->IsTypeOf(TestShield::TEST_TYPE_ID);
}

bool IsNamedFore(SKModelProperty* pkProperty)
{
    return pkProperty && pkProperty->GetName().FindC("Fore", 0, true) == 0;
}
} // namespace

TEST_F(PropertyTest, ATemplateReplacesOneOfItsNameAndClassOrAClassDerivedFromIt)
{
    // Each row registers the first template, then the second; the third column tells whether the
    // first was replaced (released, the second at the end) or kept beside it.
    const struct
    {
        SKModelProperty* (*pfnFirst)();
        SKModelProperty* (*pfnSecond)();
        bool bReplaced;
    } akCases[] = {
        {[]() -> SKModelProperty* { return TestShield::Create("Fore Shield"); },
         []() -> SKModelProperty* { return TestShield::Create("Fore Shield"); }, true},
        {[]() -> SKModelProperty* { return TestShield::Create("Fore Shield"); },
         []() -> SKModelProperty* { return TestShield::Create("FORE SHIELD"); }, true},
        {[]() -> SKModelProperty* { return TestShield::Create("Fore Shield"); },
         []() -> SKModelProperty* { return TestHull::Create("Fore Shield"); }, false},
        {[]() -> SKModelProperty* { return TestSubsystem::Create("Fore Shield"); },
         []() -> SKModelProperty* { return TestShield::Create("Fore Shield"); }, false},
        {[]() -> SKModelProperty* { return TestShield::Create("Fore Shield"); },
         []() -> SKModelProperty* { return TestSubsystem::Create("Fore Shield"); }, true},
    };
    for (const auto& kCase : akCases)
    {
        g_kModelPropertyManager.RegisterGlobalTemplate(TestHull::Create("Other"));
        SKModelProperty* pkFirst = kCase.pfnFirst();
        pkFirst->IncRefCount(); // kept alive to look at
        SKModelProperty* pkSecond = kCase.pfnSecond();
        EXPECT_TRUE(g_kModelPropertyManager.RegisterGlobalTemplate(pkFirst));
        g_kModelPropertyManager.RegisterGlobalTemplate(TestHull::Create("Last"));
        EXPECT_TRUE(g_kModelPropertyManager.RegisterGlobalTemplate(pkSecond));

        const Manager::Templates& kList = g_kModelPropertyManager.GetGlobalTemplates();
        EXPECT_EQ(kList.GetTailPos()->m_item, pkSecond);
        EXPECT_EQ(g_kModelPropertyManager.IsGlobalTemplate(pkFirst), !kCase.bReplaced);
        EXPECT_EQ(pkFirst->GetRefCount(), kCase.bReplaced ? 1 : 2);
        EXPECT_EQ(kList.GetCount(), kCase.bReplaced ? 3 : 4);
        g_kModelPropertyManager.ClearGlobalTemplates();
        pkFirst->DecRefCount();
    }
    EXPECT_EQ(NewObjects(), 0);
}

TEST_F(PropertyTest, LookupsFindTheFirstMatchIgnoringCase)
{
    TestShield* pkShield = TestShield::Create("Fore Shield");
    TestHull* pkHull = TestHull::Create("Hull");
    g_kModelPropertyManager.RegisterLocalTemplate(pkShield);
    g_kModelPropertyManager.RegisterLocalTemplate(pkHull);
    g_kModelPropertyManager.RegisterGlobalTemplate(TestHull::Create("fore shield"));

    EXPECT_EQ(g_kModelPropertyManager.FindByName("FORE SHIELD", 5), pkShield);
    EXPECT_EQ(g_kModelPropertyManager.FindByName("Hull", Manager::LOCAL_TEMPLATES), pkHull);
    EXPECT_EQ(g_kModelPropertyManager.FindByName("Hull"), nullptr);
    EXPECT_NE(g_kModelPropertyManager.FindByName("Fore Shield"), nullptr);
    EXPECT_EQ(g_kModelPropertyManager.FindByNameAndType("fore shield", SKModelProperty::TYPE_ID, 1),
              pkShield);
    EXPECT_EQ(g_kModelPropertyManager.FindByNameAndType("Fore Shield", TestSubsystem::TEST_TYPE_ID, 1),
              pkShield);
    EXPECT_EQ(g_kModelPropertyManager.FindByNameAndType("Fore Shield", TestHull::TEST_TYPE_ID, 1), nullptr);
    EXPECT_EQ(g_kModelPropertyManager.FindByName(nullptr, 1), nullptr);
    EXPECT_TRUE(g_kModelPropertyManager.IsLocalTemplate(pkHull));
    EXPECT_FALSE(g_kModelPropertyManager.IsGlobalTemplate(pkHull));
}

TEST_F(PropertyTest, TemplatesMoveBetweenListsAndNeverDangle)
{
    TestShield* pkShield = TestShield::Create("Fore Shield");
    g_kModelPropertyManager.RegisterLocalTemplate(pkShield);

    // Registered again, the same object keeps its single listing and its count.
    EXPECT_TRUE(g_kModelPropertyManager.RegisterLocalTemplate(pkShield));
    EXPECT_EQ(g_kModelPropertyManager.GetLocalTemplates().GetCount(), 1);
    EXPECT_EQ(pkShield->GetRefCount(), 1);

    // Moving keeps the count: the list's reference passes to the other list.
    EXPECT_TRUE(g_kModelPropertyManager.RemoveTemplate(Manager::LOCAL_TEMPLATES, pkShield, 0));
    EXPECT_FALSE(g_kModelPropertyManager.RemoveTemplate(Manager::LOCAL_TEMPLATES, pkShield, 0));
    EXPECT_TRUE(g_kModelPropertyManager.RegisterGlobalTemplate(pkShield));
    EXPECT_EQ(pkShield->GetRefCount(), 1);
    EXPECT_TRUE(g_kModelPropertyManager.IsGlobalTemplate(pkShield));

    // Listed in both lists, it is held by both.
    g_kModelPropertyManager.RegisterLocalTemplate(pkShield);
    EXPECT_EQ(pkShield->GetRefCount(), 2);
    g_kModelPropertyManager.ClearLocalTemplates();
    EXPECT_EQ(pkShield->GetRefCount(), 1);

    // Deleting a template that an instance (of another document) still holds leaves the instance a
    // live template.
    SKModelPropertySet kOtherDocument(0);
    kOtherDocument.AddToSet("Node", pkShield);
    EXPECT_TRUE(g_kModelPropertyManager.RemoveTemplate(Manager::GLOBAL_TEMPLATES, pkShield, 1));
    EXPECT_EQ(pkShield->GetRefCount(), 1);
    EXPECT_EQ(pkShield->GetName(), SKString("Fore Shield"));
}

TEST_F(PropertyTest, FiltersAreAppliedInOrderUntilOneRefuses)
{
    TestShield* pkShield = TestShield::Create("Fore Shield");
    TestShield* pkAft = TestShield::Create("Aft Shield");
    TestHull* pkHull = TestHull::Create("Fore Hull");
    for (SKModelProperty* pkTemplate : std::vector<SKModelProperty*>{pkShield, pkAft, pkHull})
        g_kModelPropertyManager.RegisterGlobalTemplate(pkTemplate);

    EXPECT_TRUE(g_kModelPropertyManager.ApplyFilters(nullptr));
    EXPECT_EQ(Names(*g_kModelPropertyManager.GetFilteredTemplates(Manager::GLOBAL_TEMPLATES)),
              (std::vector<std::string>{"Fore Shield", "Aft Shield", "Fore Hull"}));

    g_kModelPropertyManager.AddFilter(&IsShield);
    g_kModelPropertyManager.AddFilter(&IsShield);
    g_kModelPropertyManager.AddFilter(nullptr);
    g_kModelPropertyManager.AddFilter(&IsNamedFore);
    EXPECT_EQ(Names(*g_kModelPropertyManager.GetFilteredTemplates(Manager::GLOBAL_TEMPLATES)),
              (std::vector<std::string>{"Fore Shield"}));
    EXPECT_TRUE(g_kModelPropertyManager.RemoveFilter(&IsShield));
    EXPECT_FALSE(g_kModelPropertyManager.ApplyFilters(pkHull));
    EXPECT_TRUE(g_kModelPropertyManager.RemoveFilter(&IsShield));
    EXPECT_TRUE(g_kModelPropertyManager.RemoveFilter(&IsShield));
    EXPECT_FALSE(g_kModelPropertyManager.RemoveFilter(nullptr));
    EXPECT_TRUE(g_kModelPropertyManager.ApplyFilters(pkHull));
    EXPECT_TRUE(g_kModelPropertyManager.GetFilteredTemplates(Manager::LOCAL_TEMPLATES)->IsEmpty());
}

TEST_F(PropertyTest, TheSystemObjectRegistersOnceAndReleasesAtExit)
{
    SKModelPropertySystemObject& kObject = SKModelPropertySystemObject::Instance();
    EXPECT_EQ(kObject.GetPriority(), 0x20000000u);
    kObject.Init();
    kObject.Init();
    int32_t iGeneric = 0;
    TestHull kHull;
    for (const SKModelPropertyFilter& kFilter : g_kModelPropertyManager.GetRegisteredFilters())
    {
        if (kFilter.kTitle == "Generic Property")
        {
            iGeneric++;
            EXPECT_TRUE(kFilter.pfnFilter(&kHull));
            EXPECT_FALSE(kFilter.pfnFilter(nullptr));
        }
    }
    EXPECT_EQ(iGeneric, 1);
    for (int32_t iType : {SKModelProperty::TYPE_ID, SKModelPropertySet::TYPE_ID})
    {
        std::unique_ptr<SKObject> spObject(SKObject::CreateObjectByType(iType, 0));
        ASSERT_NE(spObject, nullptr);
        EXPECT_EQ(spObject->GetObjType(), iType);
    }

    g_kModelPropertyManager.RegisterGlobalTemplate(TestHull::Create("Global"));
    g_kModelPropertyManager.RegisterLocalTemplate(TestHull::Create("Local"));
    kObject.ReleaseResources();
    EXPECT_TRUE(g_kModelPropertyManager.GetGlobalTemplates().IsEmpty());
    EXPECT_TRUE(g_kModelPropertyManager.GetLocalTemplates().IsEmpty());
    kObject.Shutdown();
    EXPECT_TRUE(g_kModelPropertyManager.GetRegisteredFilters().IsEmpty());
}

TEST_F(PropertyTest, TheManagerRecordHoldsLocalsThenGlobals)
{
    TempFolder kFolder;
    const std::string kPath = kFolder.Path("templates.bin");
    {
        SKStream kOut;
        kOut.Open(kPath.c_str(), "wb");
        ASSERT_TRUE(g_kModelPropertyManager.SaveToStream(kOut));
    }
    EXPECT_EQ(TempFolder::ReadFile(kPath), std::string(2, '\0'));

    g_kModelPropertyManager.RegisterLocalTemplate(TestHull::Create("Local Hull"));
    g_kModelPropertyManager.RegisterGlobalTemplate(TestShield::Create("Fore Shield"));
    g_kModelPropertyManager.RegisterGlobalTemplate(TestShield::Create("Aft Shield"));
    {
        SKStream kOut;
        kOut.Open(kPath.c_str(), "wb");
        ASSERT_TRUE(g_kModelPropertyManager.SaveToStream(kOut));
    }
    const std::string kBytes = TempFolder::ReadFile(kPath);
    EXPECT_EQ(kBytes[0], '\1');
    g_kModelPropertyManager.ClearLocalTemplates();
    g_kModelPropertyManager.ClearGlobalTemplates();
    ASSERT_EQ(NewObjects(), 0);

    {
        SKStream kIn;
        kIn.Open(kPath.c_str(), "rb");
        ASSERT_TRUE(g_kModelPropertyManager.LoadFromStream(kIn));
    }
    ASSERT_TRUE(SKObject::FixupLoadedObjects());
    EXPECT_EQ(Names(g_kModelPropertyManager.GetLocalTemplates()), (std::vector<std::string>{"Local Hull"}));
    EXPECT_EQ(Names(g_kModelPropertyManager.GetGlobalTemplates()),
              (std::vector<std::string>{"Fore Shield", "Aft Shield"}));
    EXPECT_EQ(g_kModelPropertyManager.FindByName("aft shield")->GetObjType(), TestShield::TEST_TYPE_ID);
    EXPECT_EQ(g_kModelPropertyManager.FindByName("aft shield")->GetRefCount(), 1);
    g_kModelPropertyManager.ClearLocalTemplates();
    g_kModelPropertyManager.ClearGlobalTemplates();

    // A record that is no property's ends the load.
    SKBufferStream kOut;
    kOut.OpenBuffer(256);
    kOut.WriteBool(true);
    SKModelPropertySet(0x7E000001).SaveToStream(kOut);
    SKBufferStream kBad;
    kBad.AttachBuffer(kOut.GetBuffer(), kOut.GetPos());
    EXPECT_FALSE(g_kModelPropertyManager.LoadFromStream(kBad));
    EXPECT_TRUE(g_kModelPropertyManager.GetLocalTemplates().IsEmpty());
    EXPECT_EQ(NewObjects(), 0);
}
