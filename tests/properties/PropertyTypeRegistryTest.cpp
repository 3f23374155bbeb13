// The property type registry: every property class by type id and by name, the type tests over
// the whole class tree, the display names of the New Template dialog and the property categories.
#include "properties/PropertyTypeRegistry.h"
#include "core/SKBufferStream.h"
#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySystemObject.h"
#include "tests/properties/PropertyTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{
class PropertyTypeRegistryTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SKModelPropertySystemObject::Instance().Init();
        RegisterPropertyTypes();
    }
    void TearDown() override { SKObject::FixupLoadedObjects(); }
};

struct Released
{
    void operator()(SKModelProperty* pkProperty) const
    {
        if (pkProperty)
            pkProperty->DecRefCount();
    }
};
using PropertyPtr = std::unique_ptr<SKModelProperty, Released>;

// True when the class is the type or derives from it, by the registry's own tree.
bool DerivesFrom(int32_t iTypeID, int32_t iAncestor)
{
    if (iAncestor == SKObject::TYPE_ID || iAncestor == SKModelProperty::TYPE_ID)
        return true;
    for (const PropertyTypeEntry* pkEntry = FindPropertyType(iTypeID); pkEntry;
         pkEntry = FindPropertyType(pkEntry->iBaseTypeID))
    {
        if (pkEntry->iTypeID == iAncestor)
            return true;
    }
    return false;
}

// The display names in the dialog's order, with the class each creates.
const std::pair<const char*, const char*> TYPE_NAMES[] = {
    {"Phaser", "PhaserProperty"},
    {"Torpedo Tube", "TorpedoTubeProperty"},
    {"Shield", "ShieldProperty"},
    {"Engine Glow", "EngineGlowProperty"},
    {"Hull", "HullProperty"},
    {"Sensor", "SensorProperty"},
    {"Pulse Weapon", "PulseWeaponProperty"},
    {"Ship Property", "ShipProperty"},
    {"Impulse Engine System", "ImpulseEngineProperty"},
    {"Warp Engine System", "WarpEngineProperty"},
    {"Power Plant", "PowerProperty"},
    {"Tractor Beam", "TractorBeamProperty"},
    {"Weapon System", "WeaponSystemProperty"},
    {"Smoke Emitter Property", "SmokeEmitterProperty"},
    {"Spark Emitter Property", "SparkEmitterProperty"},
    {"Explode Emitter Property", "ExplodeEmitterProperty"},
    {"Repair Subsystem", "RepairSubsystemProperty"},
    {"Cloaking Subsystem", "CloakingSubsystemProperty"},
    {"Engine", "EngineProperty"},
    {"Torpedo System", "TorpedoSystemProperty"},
    {"Blinking Light", "BlinkingLightProperty"},
    {"Object Emitter", "ObjectEmitterProperty"},
    {"Position Orientation Property", "PositionOrientationProperty"},
};

// The categories in the editor's order, with the type each tests.
const std::pair<const char*, int32_t> CATEGORIES[] = {
    {"Generic Property", 0x601},
    {"Position/Orientation Properties", 0x812d},
    {"Phasers", 0x8132},
    {"Engine Glows", 0x8140},
    {"Torpedo Tubes", 0x8134},
    {"Shields", 0x8137},
    {"Hulls", 0x8138},
    {"Sensors", 0x8139},
    {"Pulse Weapons", 0x8135},
    {"Ship Properties", 0x812e},
    {"Impulse Engine Systems", 0x813c},
    {"Warp Engine Systems", 0x813b},
    {"Power Plants", 0x813e},
    {"Repair Subsystems", 0x813f},
    {"Tractor Beams", 0x8136},
    {"Weapon Systems", 0x812f},
    {"Explode Emitters", 0x8144},
    {"Smoke Emitters", 0x8142},
    {"Spark Emitters", 0x8143},
    {"Cloaking Subsystems", 0x813a},
    {"Engines", 0x813d},
    {"Torpedo Systems", 0x8133},
    {"Blinking Lights", 0x8145},
    {"Object Emitters", 0x8146},
};
} // namespace

TEST_F(PropertyTypeRegistryTest, EveryClassIsMadeByNameAndTheRegisteredOnesByTypeID)
{
    const auto kTypes = GetPropertyTypes();
    ASSERT_EQ(kTypes.size(), 28u);
    std::set<std::string> kWithoutFactory;
    for (size_t i = 0; i < kTypes.size(); i++)
    {
        const PropertyTypeEntry& kEntry = kTypes[i];
        SCOPED_TRACE(kEntry.pcClassName);
        EXPECT_EQ(kEntry.iTypeID, 0x812b + static_cast<int32_t>(i));
        EXPECT_EQ(FindPropertyType(kEntry.iTypeID), &kEntry);

        PropertyPtr pkNamed(kEntry.pfnCreate("Named One"));
        ASSERT_NE(pkNamed, nullptr);
        EXPECT_EQ(pkNamed->GetObjType(), kEntry.iTypeID);
        EXPECT_STREQ(pkNamed->GetObjTypeName(), kEntry.pcClassName);
        EXPECT_EQ(pkNamed->GetPointerTypeName(), std::string("_p_") + kEntry.pcClassName);
        EXPECT_EQ(pkNamed->GetShadowClassName(), std::string(kEntry.pcClassName) + "Ptr");
        EXPECT_EQ(pkNamed->GetName(), SKString("Named One"));
        EXPECT_EQ(pkNamed->GetRefCount(), 1);
        EXPECT_FALSE(pkNamed->Edit(nullptr));

        std::unique_ptr<SKObject> pkByID(SKObject::CreateObjectByType(kEntry.iTypeID, 0));
        PropertyPtr pkCopy(pkNamed->Duplicate());
        if (!kEntry.pfnFactory)
        {
            kWithoutFactory.insert(kEntry.pcClassName);
            EXPECT_EQ(pkByID, nullptr);
            EXPECT_EQ(pkCopy, nullptr);
            continue;
        }
        ASSERT_NE(pkByID, nullptr);
        EXPECT_EQ(pkByID->GetObjType(), kEntry.iTypeID);
        ASSERT_NE(pkCopy, nullptr);
        EXPECT_EQ(pkCopy->GetObjType(), kEntry.iTypeID);
        EXPECT_NE(pkCopy->GetObjID(), pkNamed->GetObjID());
        EXPECT_EQ(PropertyScript(*pkCopy), PropertyScript(*pkNamed));
    }
    EXPECT_EQ(kWithoutFactory, (std::set<std::string>{"WeaponProperty", "EffectEmitterProperty"}));
}

TEST_F(PropertyTypeRegistryTest, IsTypeOfHoldsForTheClassItsAncestorsThePropertyBaseAndTheEngineObject)
{
    std::vector<int32_t> kCandidates = {2, 0x601, 0x602, 0x812a, 0x8147, 0, -1};
    for (const PropertyTypeEntry& kEntry : GetPropertyTypes())
        kCandidates.push_back(kEntry.iTypeID);
    for (const PropertyTypeEntry& kEntry : GetPropertyTypes())
    {
        PropertyPtr pkProperty(kEntry.pfnCreate("P"));
        for (int32_t iType : kCandidates)
            EXPECT_EQ(pkProperty->IsTypeOf(iType), DerivesFrom(kEntry.iTypeID, iType))
                << kEntry.pcClassName << " IsTypeOf " << std::hex << iType;
    }

    // The tree the registry holds, as the classes describe it.
    const std::pair<int32_t, std::vector<int32_t>> ANCESTRY[] = {
        {0x8145, {0x8141, 0x812d}},         // blinking light: effect emitter, position and orientation
        {0x8146, {0x812d}},                 // object emitter
        {0x8134, {0x8130, 0x812b}},         // torpedo tube: weapon, subsystem
        {0x8132, {0x8131, 0x8130, 0x812b}}, // phaser: energy weapon, weapon, subsystem
        {0x8133, {0x812f, 0x812c, 0x812b}}, // torpedo system: weapon system, powered subsystem
        {0x8138, {0x812b}},                 // hull
        {0x813e, {0x812b}},                 // power plant
        {0x8137, {0x812c, 0x812b}},         // shield
    };
    for (const auto& [iType, kAncestors] : ANCESTRY)
    {
        for (int32_t iAncestor : kAncestors)
            EXPECT_TRUE(DerivesFrom(iType, iAncestor)) << std::hex << iType << " " << iAncestor;
    }
    EXPECT_FALSE(DerivesFrom(0x8130, 0x812c)) << "a weapon is no powered subsystem";
    EXPECT_FALSE(DerivesFrom(0x812e, 0x812b)) << "the ship is no subsystem";
}

TEST_F(PropertyTypeRegistryTest, TheDisplayNamesWalkInOrderAndCreateTheirClasses)
{
    // Registration leaves the walk at its start.
    EXPECT_STREQ(GetNextPropertyTypeName(), "Phaser");

    std::vector<std::string> kNames = {GetFirstPropertyTypeName()};
    while (const char* pcName = GetNextPropertyTypeName())
        kNames.push_back(pcName);
    EXPECT_EQ(GetNextPropertyTypeName(), nullptr);
    ASSERT_EQ(kNames.size(), std::size(TYPE_NAMES));
    for (size_t i = 0; i < kNames.size(); i++)
    {
        EXPECT_EQ(kNames[i], TYPE_NAMES[i].first);
        PropertyPtr pkProperty(CreatePropertyByTypeName(kNames[i].c_str(), "NewProperty"));
        ASSERT_NE(pkProperty, nullptr) << kNames[i];
        EXPECT_STREQ(pkProperty->GetObjTypeName(), TYPE_NAMES[i].second);
        EXPECT_EQ(pkProperty->GetName(), SKString("NewProperty"));
        EXPECT_EQ(pkProperty->GetRefCount(), 1);
    }
    EXPECT_STREQ(GetFirstPropertyTypeName(), "Phaser");
    EXPECT_STREQ(GetNextPropertyTypeName(), "Torpedo Tube");
}

TEST_F(PropertyTypeRegistryTest, UnknownTypeNamesAndIDsGiveNull)
{
    for (const char* pcTypeName : {"ship property", "ShipProperty", "Ship  Property", "Ship Property ", "",
                                   "Subsystem", "Weapon", "Effect Emitter", "Smoke Emitter", "Sch\xe9ma"})
        EXPECT_EQ(CreatePropertyByTypeName(pcTypeName, "P"), nullptr) << pcTypeName;
    EXPECT_EQ(CreatePropertyByTypeName(nullptr, "P"), nullptr);
    PropertyPtr pkUnnamed(CreatePropertyByTypeName("Hull", nullptr));
    ASSERT_NE(pkUnnamed, nullptr);
    EXPECT_EQ(pkUnnamed->GetName(), SKString(""));

    for (int32_t iType : {0x8130, 0x8141, 0x812a, 0x8147, 0, -1, 0x7fffffff})
        EXPECT_EQ(SKObject::CreateObjectByType(iType, 0), nullptr) << std::hex << iType;
    for (int32_t iType : {0x601, 0x602, 0x812a, 0x8147, 2})
        EXPECT_EQ(FindPropertyType(iType), nullptr) << std::hex << iType;

    // A record of a class without factory does not load.
    PropertyPtr pkWeapon(FindPropertyType(0x8130)->pfnCreate("W"));
    std::vector<uint8_t> kBytes = PropertyRecord(*pkWeapon);
    pkWeapon.reset();
    SKBufferStream kStream;
    kStream.AttachBuffer(kBytes.data(), static_cast<int32_t>(kBytes.size()));
    EXPECT_EQ(SKObject::LoadObject(kStream), nullptr);
}

TEST_F(PropertyTypeRegistryTest, TheCategoriesAreRegisteredOnceAndAcceptTheirSubtree)
{
    RegisterPropertyTypes();
    SKModelPropertySystemObject::Instance().Init();
    const auto& kFilters = g_kModelPropertyManager.GetRegisteredFilters();
    ASSERT_EQ(kFilters.GetCount(), static_cast<int32_t>(std::size(CATEGORIES)));

    std::vector<PropertyPtr> kProperties;
    for (const PropertyTypeEntry& kEntry : GetPropertyTypes())
        kProperties.emplace_back(kEntry.pfnCreate("P"));
    size_t uiCategory = 0;
    for (auto kIter = kFilters.begin(); kIter != kFilters.end(); ++kIter, uiCategory++)
    {
        const auto& [pcTitle, iType] = CATEGORIES[uiCategory];
        EXPECT_EQ((*kIter).kTitle, pcTitle);
        EXPECT_FALSE((*kIter).pfnFilter(nullptr)) << pcTitle;
        for (const PropertyPtr& pkProperty : kProperties)
            EXPECT_EQ((*kIter).pfnFilter(pkProperty.get()), DerivesFrom(pkProperty->GetObjType(), iType))
                << pcTitle << " / " << pkProperty->GetObjTypeName();
    }
}

TEST_F(PropertyTypeRegistryTest, EveryRegisteredClassReloadsFromItsRecord)
{
    for (const PropertyTypeEntry& kEntry : GetPropertyTypes())
    {
        if (!kEntry.pfnFactory)
            continue;
        SCOPED_TRACE(kEntry.pcClassName);
        PropertyPtr pkProperty(kEntry.pfnCreate("Round \"Trip\" \xe9"));
        const std::vector<uint8_t> kBytes = PropertyRecord(*pkProperty);
        const std::string kText = PropertyScript(*pkProperty);
        pkProperty.reset();

        std::vector<uint8_t> kCopy = kBytes;
        SKBufferStream kStream;
        kStream.AttachBuffer(kCopy.data(), static_cast<int32_t>(kCopy.size()));
        PropertyPtr pkLoaded(SKModelProperty::Cast(SKObject::LoadObject(kStream)));
        ASSERT_NE(pkLoaded, nullptr);
        EXPECT_EQ(kStream.GetPos(), static_cast<int32_t>(kBytes.size()));
        EXPECT_EQ(pkLoaded->GetObjType(), kEntry.iTypeID);
        EXPECT_EQ(PropertyRecord(*pkLoaded), kBytes);
        EXPECT_EQ(PropertyScript(*pkLoaded), kText);
    }
}
