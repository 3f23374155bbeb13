// Property sets: attaching templates to nodes, queries, iteration, and the binary record with its
// template links.
#include "properties/SKModelPropertySet.h"
#include "core/SKBufferStream.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertyList.h"
#include "properties/SKNamedModelPropertyList.h"
#include "tests/properties/PropertyTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{
std::vector<SKModelPropertyInstance*> Instances(const SKModelPropertyList* pkList)
{
    std::vector<SKModelPropertyInstance*> kInstances;
    if (pkList)
    {
        for (SKModelPropertyInstance* pkInstance : pkList->GetItems())
            kInstances.push_back(pkInstance);
    }
    return kInstances;
}

std::vector<uint8_t> Save(const std::function<void(SKStream&)>& kWrite)
{
    SKBufferStream kStream;
    kStream.OpenBuffer(1 << 16);
    kWrite(kStream);
    EXPECT_GE(kStream.GetStatus(), 0);
    return std::vector<uint8_t>(kStream.GetBuffer(), kStream.GetBuffer() + kStream.GetPos());
}
} // namespace

class PropertySetTest : public PropertyTest
{
protected:
    void SetUp() override
    {
        PropertyTest::SetUp();
        m_spSet = std::make_unique<SKModelPropertySet>(0);
    }

    void TearDown() override
    {
        m_spSet.reset();
        PropertyTest::TearDown();
    }

    std::unique_ptr<SKModelPropertySet> m_spSet;
};

TEST_F(PropertySetTest, AddingATemplateOfTheSameNameReplacesTheAttachment)
{
    TestShield* pkFirst = TestShield::Create("Aft Phaser");
    TestShield* pkSecond = TestShield::Create("AFT PHASER");
    EXPECT_TRUE(m_spSet->AddToSet("A", pkFirst));
    EXPECT_TRUE(m_spSet->AddToSet("A", pkSecond));

    const auto kInstances = Instances(m_spSet->GetPropertyList("A"));
    ASSERT_EQ(kInstances.size(), 1u);
    EXPECT_EQ(kInstances[0]->GetOriginalTemplate(), pkSecond);
    SKModelProperty* pkCopy = kInstances[0]->GetProperty();
    ASSERT_NE(pkCopy, nullptr);
    EXPECT_NE(pkCopy, pkSecond);
    EXPECT_EQ(pkCopy->GetName(), SKString("AFT PHASER"));
    EXPECT_EQ(pkCopy->GetRefCount(), 1);
    EXPECT_EQ(pkFirst->GetRefCount(), 1);
    EXPECT_EQ(pkSecond->GetRefCount(), 2);
    EXPECT_STREQ(kInstances[0]->GetHardpointName(), "A");

    // Node names are matched exactly.
    EXPECT_TRUE(m_spSet->AddToSet("a", pkFirst));
    EXPECT_EQ(m_spSet->GetPropertyLists().GetCount(), 2);
    EXPECT_EQ(m_spSet->GetPropertyList("B"), nullptr);
    EXPECT_FALSE(m_spSet->AddToSet("A", nullptr));

    m_spSet.reset();
    EXPECT_EQ(pkFirst->GetRefCount(), 1);
    EXPECT_EQ(pkSecond->GetRefCount(), 1);
    pkFirst->DecRefCount();
    pkSecond->DecRefCount();
    EXPECT_EQ(NewObjects(), 0);
}

TEST_F(PropertySetTest, UsingTheOriginalTemplateMakesEditsReachIt)
{
    TestHull* pkHull = TestHull::Create("Hull");
    m_spSet->AddToSet("Root", pkHull);
    SKModelPropertyInstance* pkInstance = Instances(m_spSet->GetPropertyList("Root"))[0];
    pkInstance->UseOriginalTemplate();
    EXPECT_EQ(pkInstance->GetProperty(), pkHull);
    EXPECT_EQ(pkHull->GetRefCount(), 3);
    pkInstance->UseOriginalTemplate();
    EXPECT_EQ(pkHull->GetRefCount(), 3);
    pkHull->DecRefCount();
}

TEST_F(PropertySetTest, AQueryByTypeListsInstancesNodeByNode)
{
    TestShield* pkShield = TestShield::Create("Shield");
    TestHull* pkHull = TestHull::Create("Hull");
    TestNoFactory* pkWeapon = TestNoFactory::Create("Weapon");
    m_spSet->AddToSet("Front", pkShield);
    m_spSet->AddToSet("Back", pkHull);
    m_spSet->AddToSet("Back", pkShield);
    m_spSet->AddToSet("Back", pkWeapon); // no factory: no instance property, never listed

    const auto kShields = Instances(m_spSet->GetPropertiesByType(TestShield::TEST_TYPE_ID).get());
    ASSERT_EQ(kShields.size(), 2u);
    EXPECT_STREQ(kShields[0]->GetHardpointName(), "Front");
    EXPECT_STREQ(kShields[1]->GetHardpointName(), "Back");
    EXPECT_EQ(m_spSet->GetPropertiesByType(TestSubsystem::TEST_TYPE_ID)->SKGetNumItems(), 3);
    EXPECT_EQ(m_spSet->GetPropertiesByType(SKModelProperty::TYPE_ID)->SKGetNumItems(), 3);

    m_spSet.reset();
    for (SKModelProperty* pkProperty : std::vector<SKModelProperty*>{pkShield, pkHull, pkWeapon})
        pkProperty->DecRefCount();
    EXPECT_EQ(NewObjects(), 0);
}

TEST_F(PropertySetTest, TheCursorWalksOnceAndSurvivesRemoval)
{
    SKModelPropertyList kList;
    EXPECT_EQ(kList.SKGetNumItems(), 0);
    kList.SKBeginIteration();
    EXPECT_TRUE(kList.SKDoneIterating());
    EXPECT_EQ(kList.SKGetNext(), nullptr);

    SKModelPropertyInstance kA, kB, kC;
    kList.AddInstance(&kA);
    kList.AddInstance(&kB);
    kList.SKBeginIteration();
    EXPECT_EQ(kList.SKGetNext(), &kA);
    kList.AddInstance(&kC);
    EXPECT_TRUE(kList.RemoveInstance(&kB));
    EXPECT_EQ(kList.SKGetNext(), &kC);
    EXPECT_TRUE(kList.SKDoneIterating());
    EXPECT_EQ(kList.SKGetNext(), nullptr);
    EXPECT_EQ(kList.SKGetNext(), nullptr);
    EXPECT_FALSE(kList.RemoveInstance(&kB));

    // A set's own node list is the set's to delete.
    m_spSet->AddToSet("Node", TestHull::Create("Hull"));
    m_spSet->GetPropertyList("Node")->SKDestroy();
    EXPECT_NE(m_spSet->GetPropertyList("Node"), nullptr);
    SKModelProperty* pkHull = Instances(m_spSet->GetPropertyList("Node"))[0]->GetOriginalTemplate();
    m_spSet.reset();
    pkHull->DecRefCount();
}

// The end-to-end trip: templates of the manager and a set that names them, saved to a file, every
// object deleted, then both loaded back and fixed up.
TEST_F(PropertySetTest, TheSetAndTheTemplatesComeBackWithTheirLinks)
{
    TestShield* pkGlobal = TestShield::Create("Fore Shield");
    g_kModelPropertyManager.RegisterGlobalTemplate(pkGlobal);
    TestHull* pkLocal = TestHull::Create("Hull");
    g_kModelPropertyManager.RegisterLocalTemplate(pkLocal);
    TestSubsystem* pkLoose = TestSubsystem::Create("Loose Part");

    m_spSet->AddToSet("Shield Node", pkGlobal);
    m_spSet->AddToSet("Hull Node", pkLocal);
    m_spSet->AddToSet("Hull Node", pkLoose);
    Instances(m_spSet->GetPropertyList("Hull Node"))[0]->UseOriginalTemplate();
    pkLoose->DecRefCount(); // the set's instance holds it now

    TempFolder kFolder;
    const std::string kPath = kFolder.Path("set.bin");
    {
        SKStream kOut;
        kOut.Open(kPath.c_str(), "wb");
        ASSERT_TRUE(g_kModelPropertyManager.SaveToStream(kOut));
        ASSERT_TRUE(m_spSet->SaveToStream(kOut));
    }
    const int32_t iSetID = m_spSet->GetObjID();
    m_spSet.reset();
    g_kModelPropertyManager.ClearLocalTemplates();
    g_kModelPropertyManager.ClearGlobalTemplates();
    ASSERT_EQ(NewObjects(), 0);

    {
        SKStream kIn;
        kIn.Open(kPath.c_str(), "rb");
        ASSERT_TRUE(g_kModelPropertyManager.LoadFromStream(kIn));
        m_spSet.reset(dynamic_cast<SKModelPropertySet*>(SKObject::LoadObject(kIn)));
    }
    ASSERT_NE(m_spSet, nullptr);
    EXPECT_EQ(m_spSet->GetObjID(), iSetID);
    ASSERT_TRUE(SKObject::FixupLoadedObjects());

    SKModelProperty* pkShield =
        g_kModelPropertyManager.FindByName("fore shield", SKModelPropertyManager::GLOBAL_TEMPLATES);
    SKModelProperty* pkHull =
        g_kModelPropertyManager.FindByName("Hull", SKModelPropertyManager::LOCAL_TEMPLATES);
    ASSERT_NE(pkShield, nullptr);
    ASSERT_NE(pkHull, nullptr);
    EXPECT_EQ(pkShield->GetObjType(), TestShield::TEST_TYPE_ID);

    const auto kShieldNode = Instances(m_spSet->GetPropertyList("Shield Node"));
    ASSERT_EQ(kShieldNode.size(), 1u);
    EXPECT_EQ(kShieldNode[0]->GetOriginalTemplate(), pkShield);
    EXPECT_NE(kShieldNode[0]->GetProperty(), pkShield);
    EXPECT_EQ(kShieldNode[0]->GetProperty()->GetName(), SKString("Fore Shield"));

    const auto kHullNode = Instances(m_spSet->GetPropertyList("Hull Node"));
    ASSERT_EQ(kHullNode.size(), 2u);
    EXPECT_EQ(kHullNode[0]->GetOriginalTemplate(), pkHull);
    EXPECT_EQ(kHullNode[0]->GetProperty(), pkHull);
    EXPECT_EQ(kHullNode[1]->GetOriginalTemplate()->GetName(), SKString("Loose Part"));
    EXPECT_FALSE(g_kModelPropertyManager.IsLocalTemplate(kHullNode[1]->GetOriginalTemplate()));

    // The holds are as they were: deleting the set leaves the manager's templates with its own.
    EXPECT_EQ(pkShield->GetRefCount(), 2);
    EXPECT_EQ(pkHull->GetRefCount(), 3);
    m_spSet.reset();
    EXPECT_EQ(pkShield->GetRefCount(), 1);
    EXPECT_EQ(pkHull->GetRefCount(), 1);
    g_kModelPropertyManager.ClearLocalTemplates();
    g_kModelPropertyManager.ClearGlobalTemplates();
    EXPECT_EQ(NewObjects(), 0);
}

// A set loaded while the templates it names live on holds its own references to them, and a record
// whose id is a live property's takes that property with the holds it already has.
TEST_F(PropertySetTest, LoadingBesideLiveTemplatesAddsHoldsInsteadOfStealingThem)
{
    TestShield* pkTemplate = TestShield::Create("Fore Shield");
    g_kModelPropertyManager.RegisterGlobalTemplate(pkTemplate);
    TestHull* pkLoose = TestHull::Create("Loose");
    m_spSet->AddToSet("Node", pkTemplate);
    m_spSet->AddToSet("Node", pkLoose);
    pkLoose->DecRefCount();
    const std::vector<uint8_t> kBytes = Save([&](SKStream& kOut) { m_spSet->SaveToStream(kOut); });
    m_spSet->SetObjID(m_spSet->GetObjID() + 100000); // the loaded set is a second one

    SKBufferStream kIn;
    kIn.AttachBuffer(const_cast<uint8_t*>(kBytes.data()), static_cast<int32_t>(kBytes.size()));
    std::unique_ptr<SKModelPropertySet> spLoaded(
        dynamic_cast<SKModelPropertySet*>(SKObject::LoadObject(kIn)));
    ASSERT_NE(spLoaded, nullptr);
    ASSERT_TRUE(SKObject::FixupLoadedObjects());

    const auto kOld = Instances(m_spSet->GetPropertyList("Node"));
    const auto kNew = Instances(spLoaded->GetPropertyList("Node"));
    ASSERT_EQ(kNew.size(), 2u);
    EXPECT_EQ(kNew[0]->GetOriginalTemplate(), pkTemplate);
    EXPECT_EQ(pkTemplate->GetRefCount(), 3);
    // The embedded records had the ids of the live loose template and of the live duplicates.
    EXPECT_EQ(kNew[1]->GetOriginalTemplate(), kOld[1]->GetOriginalTemplate());
    EXPECT_EQ(kNew[1]->GetOriginalTemplate()->GetRefCount(), 2);
    EXPECT_EQ(kNew[0]->GetProperty(), kOld[0]->GetProperty());
    EXPECT_EQ(kNew[0]->GetProperty()->GetRefCount(), 2);

    spLoaded.reset();
    m_spSet.reset();
    EXPECT_EQ(pkTemplate->GetRefCount(), 1);
    g_kModelPropertyManager.ClearGlobalTemplates();
    EXPECT_EQ(NewObjects(), 0);
}

// Damaged records: each fails the load (or the fix-up) cleanly and leaves nothing behind.
TEST_F(PropertySetTest, DamagedRecordsFailCleanly)
{
    TestShield* pkTemplate = TestShield::Create("Fore Shield");
    m_spSet->AddToSet("Node", pkTemplate);
    pkTemplate->DecRefCount();
    const std::vector<uint8_t> kGood = Save([&](SKStream& kOut) { m_spSet->SaveToStream(kOut); });
    m_spSet.reset();
    ASSERT_EQ(NewObjects(), 0);

    auto kLoad = [](std::vector<uint8_t> kBytes) -> bool
    {
        SKBufferStream kIn;
        kIn.AttachBuffer(kBytes.data(), static_cast<int32_t>(kBytes.size()));
        std::unique_ptr<SKObject> spSet(SKObject::LoadObject(kIn));
        const bool bFixed = SKObject::FixupLoadedObjects();
        return spSet && bFixed;
    };
    EXPECT_TRUE(kLoad(kGood));
    EXPECT_EQ(NewObjects(), 0);

    // Every cut of the record.
    for (size_t uiCut = 0; uiCut < kGood.size(); uiCut++)
        EXPECT_FALSE(
            kLoad(std::vector<uint8_t>(kGood.begin(), kGood.begin() + static_cast<std::ptrdiff_t>(uiCut))))
            << uiCut;

    // A node list count far beyond what the record holds.
    std::vector<uint8_t> kHugeCount = kGood;
    kHugeCount[8] = kHugeCount[9] = kHugeCount[10] = 0xFF;
    kHugeCount[11] = 0x7F;
    EXPECT_FALSE(kLoad(kHugeCount));
    EXPECT_EQ(NewObjects(), 0);

    // An embedded template of a class without factory.
    std::unique_ptr<SKModelPropertySet> spSet = std::make_unique<SKModelPropertySet>(0);
    TestNoFactory* pkAbstract = TestNoFactory::Create("Weapon");
    spSet->AddToSet("Node", pkAbstract);
    pkAbstract->DecRefCount();
    const std::vector<uint8_t> kAbstract = Save([&](SKStream& kOut) { spSet->SaveToStream(kOut); });
    spSet.reset();
    EXPECT_FALSE(kLoad(kAbstract));

    // A template id that names a live object of another kind.
    spSet = std::make_unique<SKModelPropertySet>(0);
    TestHull* pkRegistered = TestHull::Create("Hull");
    g_kModelPropertyManager.RegisterLocalTemplate(pkRegistered);
    spSet->AddToSet("Node", pkRegistered);
    const std::vector<uint8_t> kByID = Save([&](SKStream& kOut) { spSet->SaveToStream(kOut); });
    spSet.reset();
    g_kModelPropertyManager.ClearLocalTemplates();
    SKModelPropertySet kImpostor(0);
    const int32_t iTemplateID = [&]
    {
        // The id saved after the set's type, id, count, node name and the by-id bool.
        SKBufferStream kIn;
        kIn.AttachBuffer(const_cast<uint8_t*>(kByID.data()), static_cast<int32_t>(kByID.size()));
        kIn.ReadInt();
        kIn.ReadID();
        kIn.ReadLong();
        kIn.ReadNewCString(-1);
        kIn.ReadBool();
        kIn.ReadBool();
        return kIn.ReadID();
    }();
    kImpostor.SetObjID(iTemplateID);
    std::vector<uint8_t> kBytes = kByID;
    SKBufferStream kIn;
    kIn.AttachBuffer(kBytes.data(), static_cast<int32_t>(kBytes.size()));
    std::unique_ptr<SKModelPropertySet> spLoaded(
        dynamic_cast<SKModelPropertySet*>(SKObject::LoadObject(kIn)));
    ASSERT_NE(spLoaded, nullptr);
    EXPECT_FALSE(SKObject::FixupLoadedObjects());
    EXPECT_EQ(Instances(spLoaded->GetPropertyList("Node"))[0]->GetOriginalTemplate(), nullptr);
    spLoaded.reset();
    SKObject::FixupLoadedObjects();
}
