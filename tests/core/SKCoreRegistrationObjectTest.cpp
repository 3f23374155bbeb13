#include "core/SKCoreRegistrationObject.h"

#include "core/SKAttrObject.h"
#include "core/SKLinkTable.h"
#include "core/SKString.h"
#include "core/SKTemplatedAttrObject.h"
#include "tests/core/FakeScriptBridge.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{

template <class Hook>
bool HasHook(const std::vector<SKScriptBridge::HookRecord<Hook>>& kHooks, Hook pfnHook,
             const char* pcTypeName)
{
    for (const auto& kRecord : kHooks)
        if (kRecord.m_pfnHook == pfnHook && kRecord.m_kTypeName == pcTypeName)
            return true;
    return false;
}

TEST(SKCoreRegistrationObjectTest, InitRegistersFactoriesHooksAndGetCString)
{
    FakeScriptBridge kBridge;
    SKCoreRegistrationObject::Instance().Init();

    std::unique_ptr<SKObject> spAttr(SKObject::CreateObjectByType(SKAttrObject::TYPE_ID, 17));
    ASSERT_NE(spAttr, nullptr);
    EXPECT_EQ(spAttr->GetObjType(), SKAttrObject::TYPE_ID);
    EXPECT_EQ(spAttr->GetObjID(), 17);
    std::unique_ptr<SKObject> spTemplated(SKObject::CreateObjectByType(SKTemplatedAttrObject::TYPE_ID, 18));
    ASSERT_NE(spTemplated, nullptr);
    EXPECT_EQ(spTemplated->GetObjType(), SKTemplatedAttrObject::TYPE_ID);

    EXPECT_TRUE(HasHook(SKScriptBridge::GetStateHooks(), &SKObjectGetState, "SKObject"));
    EXPECT_TRUE(HasHook(SKScriptBridge::SetStateHooks(), &SKObjectSetState, "SKObject"));
    EXPECT_TRUE(HasHook(SKScriptBridge::SetStateHooks(), &NiAVObjectSetState, "NiAVObject"));
    ASSERT_EQ(kBridge.m_kMethods.size(), 1u);
    EXPECT_EQ(kBridge.m_kMethods[0].m_pfnMethod, &SKStringGetCStringMethod);
    EXPECT_EQ(kBridge.m_kMethods[0].m_kClassName, "SKString");
    EXPECT_EQ(kBridge.m_kMethods[0].m_kMethodName, "GetCString");
}

// Registered before any script host is there, the method waits for the first one.
TEST(SKCoreRegistrationObjectTest, MethodWaitsForTheScriptHost)
{
    ASSERT_EQ(SKScriptBridge::Get(), nullptr);
    EXPECT_TRUE(SKScriptBridge::RegisterMethod(SKStringGetCStringMethod, "SKString", "GetCString"));
    FakeScriptBridge kBridge;
    ASSERT_EQ(kBridge.m_kMethods.size(), 1u);
    EXPECT_EQ(kBridge.m_kMethods[0].m_kMethodName, "GetCString");
    FakeScriptBridge kLater;
    EXPECT_TRUE(kLater.m_kMethods.empty());
}

TEST(SKCoreRegistrationObjectTest, PostInitEmptiesTheLinkTable)
{
    SKLinkTable().SetAt(7, nullptr);
    SKCoreRegistrationObject::Instance().PostInit();
    EXPECT_EQ(SKLinkTable().GetCount(), 0u);
}

// A shadow object of an engine object: its pointer string and an empty dictionary.
class SKObjectStateHooksTest : public testing::Test
{
protected:
    PyObject* Shadow(const void* pvObject, const char* pcType = "SKObject")
    {
        PyObject* pkShadow = m_kBridge.MakeShadow(pvObject, pcType);
        pkShadow->m_kAttributes["__dict__"] = m_kBridge.MakeDictionary();
        return pkShadow;
    }

    PyObject* State(int64_t iID)
    {
        PyObject* pkState = m_kBridge.MakeDictionary();
        pkState->m_kAttributes["_ID_"] = m_kBridge.MakeInteger(iID);
        pkState->m_kAttributes["name"] = m_kBridge.NewText("phaser");
        return pkState;
    }

    static std::string This(PyObject* pkShadow)
    {
        auto kFound = pkShadow->m_kAttributes.find("this");
        return kFound == pkShadow->m_kAttributes.end() ? "<none>" : kFound->second->m_kText;
    }

    FakeScriptBridge m_kBridge;
};

TEST_F(SKObjectStateHooksTest, GetStateStoresTheIdInTheDictionary)
{
    SKAttrObject kObject(501);
    PyObject* pkShadow = Shadow(&kObject);
    PyObject* pkState = nullptr;
    ASSERT_TRUE(SKObjectGetState(pkShadow, &pkState));
    EXPECT_EQ(pkState, pkShadow->m_kAttributes["__dict__"]);
    int64_t iID = 0;
    ASSERT_TRUE(m_kBridge.GetInteger(pkState->m_kAttributes["_ID_"], iID));
    EXPECT_EQ(iID, 501);
}

TEST_F(SKObjectStateHooksTest, GetStateFailsForAnObjectWhoseIdWasTakenOver)
{
    SKAttrObject kOld(502);
    SKAttrObject kNew(502);
    PyObject* pkState = nullptr;
    EXPECT_FALSE(SKObjectGetState(Shadow(&kOld), &pkState));
    EXPECT_TRUE(SKObjectGetState(Shadow(&kNew), &pkState));

    PyObject* pkNoDictionary = m_kBridge.MakeShadow(&kNew, "SKObject");
    EXPECT_FALSE(SKObjectGetState(pkNoDictionary, &pkState));
    EXPECT_FALSE(SKObjectGetState(Shadow(&kNew, "SKString"), &pkState));
}

TEST_F(SKObjectStateHooksTest, RestoredShadowRebindsToTheObjectWithItsIdAtTheFixUpPass)
{
    SKAttrObject kStale(503);
    PyObject* pkShadow = Shadow(&kStale, "SKAttrObject");
    std::string kStaleThis = This(pkShadow);
    SKAttrObject kTarget(504);

    ASSERT_TRUE(SKObjectSetState(pkShadow, State(504)));
    EXPECT_EQ(pkShadow->m_kAttributes["__dict__"]->m_kAttributes.count("name"), 1u);
    // The rebind waits for the fix-up pass and keeps the shadow alive meanwhile; until then
    // the shadow keeps its class but none of the saved pointer.
    EXPECT_NE(This(pkShadow), kStaleThis);
    EXPECT_EQ(This(pkShadow), "_0_p_SKAttrObject");
    EXPECT_EQ(pkShadow->m_iReferences, 2);
    SKObject::FixupLoadedObjects();
    EXPECT_EQ(This(pkShadow), SKObject::FormatPointerString(&kTarget, "_p_SKAttrObject"));
    EXPECT_EQ(pkShadow->m_iReferences, 1);
}

TEST_F(SKObjectStateHooksTest, RestoredShadowWithAnUnknownIdLosesItsPointer)
{
    SKAttrObject kObject(505);
    PyObject* pkShadow = Shadow(&kObject);
    ASSERT_TRUE(SKObjectSetState(pkShadow, State(999999)));
    SKObject::FixupLoadedObjects();
    EXPECT_EQ(This(pkShadow), "<none>");
    EXPECT_EQ(pkShadow->m_iReferences, 1);

    // A shadow without an id in its state is only given the dictionary.
    PyObject* pkPlain = Shadow(&kObject);
    PyObject* pkState = m_kBridge.MakeDictionary();
    ASSERT_TRUE(SKObjectSetState(pkPlain, pkState));
    EXPECT_EQ(pkPlain->m_kAttributes["__dict__"], pkState);
    EXPECT_EQ(pkPlain->m_iReferences, 1);
}

TEST_F(SKObjectStateHooksTest, SetStateReportsAStateThatCannotBeSet)
{
    SKAttrObject kObject(506);
    PyObject* pkShadow = Shadow(&kObject);
    m_kBridge.m_bRefuseAttributes = true;
    EXPECT_FALSE(SKObjectSetState(pkShadow, State(506)));
    EXPECT_FALSE(NiAVObjectSetState(pkShadow, State(506)));
    EXPECT_EQ(SKObject::GetNumPendingFixups(), 0);
    EXPECT_EQ(pkShadow->m_iReferences, 1);
}

TEST_F(SKObjectStateHooksTest, RestoredSceneObjectIsAnInvalidShadow)
{
    int iNode = 0;
    PyObject* pkShadow = Shadow(&iNode, "NiNode");
    PyObject* pkState = State(1);
    ASSERT_TRUE(NiAVObjectSetState(pkShadow, pkState));
    EXPECT_EQ(pkShadow->m_kAttributes["__dict__"], pkState);
    EXPECT_EQ(This(pkShadow), "<none>");
    int64_t iInvalid = -1;
    int64_t iOwn = -1;
    ASSERT_TRUE(m_kBridge.GetInteger(pkShadow->m_kAttributes["INVALID"], iInvalid));
    ASSERT_TRUE(m_kBridge.GetInteger(pkShadow->m_kAttributes["thisown"], iOwn));
    EXPECT_EQ(iInvalid, 1);
    EXPECT_EQ(iOwn, 0);
}

TEST_F(SKObjectStateHooksTest, HooksFailWithoutAScriptHost)
{
    SKAttrObject kObject(507);
    PyObject* pkShadow = Shadow(&kObject);
    SKScriptBridge::Install(nullptr);
    PyObject* pkState = nullptr;
    EXPECT_FALSE(SKObjectGetState(pkShadow, &pkState));
    EXPECT_FALSE(SKObjectSetState(pkShadow, State(507)));
    EXPECT_FALSE(NiAVObjectSetState(pkShadow, State(507)));
    SKScriptBridge::Install(&m_kBridge);
}

TEST_F(SKObjectStateHooksTest, GetCStringGivesOneBytePerUnit)
{
    SKString kString;
    const char16_t aUnits[] = {u'A', u'\u00e9', u'\u20ac'};
    kString.Assign(aUnits, 3);
    PyObject* pkShadow = m_kBridge.MakeShadow(&kString, "SKString");
    PyObject* pkResult = SKStringGetCStringMethod(pkShadow, m_kBridge.NewTuple({pkShadow}));
    std::string kText;
    ASSERT_TRUE(m_kBridge.GetText(pkResult, kText));
    EXPECT_EQ(kText, "A\xe9\x01");

    PyObject* pkOther = m_kBridge.MakeShadow(&kString, "SKPoint3");
    EXPECT_EQ(SKStringGetCStringMethod(pkOther, m_kBridge.NewTuple({pkOther})), nullptr);
}

} // namespace
