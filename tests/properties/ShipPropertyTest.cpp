// The ship and engine glow properties: defaults, script lines, record, copying, and the texts they
// own.
#include "properties/ShipProperty.h"
#include "core/SKBufferStream.h"
#include "properties/EngineGlowProperty.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiNode.h"
#include "scene/object/NiRefPtr.h"
#include "tests/properties/PropertyTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace
{
class ShipPropertyTest : public PropertyTest
{
protected:
    void SetUp() override
    {
        PropertyTest::SetUp();
        SKObject::RegisterFactory(ShipProperty::TYPE_ID, &ShipProperty::Factory);
        SKObject::RegisterFactory(EngineGlowProperty::TYPE_ID, &EngineGlowProperty::Factory);
    }
};

// Every field changed from its default, the texts with quotes, a backslash and a Latin-1 letter.
void FillShip(ShipProperty& kShip)
{
    kShip.SetGenus(2);
    kShip.SetSpecies(701);
    kShip.SetMass(250.5f);
    kShip.SetRotationalInertia(80.25f);
    kShip.SetShipName("The \"Big\" One");
    kShip.SetModelFilename("data\\Models\\Ships\\big.nif");
    kShip.SetDamageResolution(7.5f);
    kShip.SetAffiliation(-3);
    kShip.SetStationary(true);
    kShip.SetAIString("Caf\xe9"
                      "AI");
    kShip.SetDeathExplosionSound("");
}

void ExpectSameShip(const ShipProperty& kShip, const ShipProperty& kOther)
{
    EXPECT_EQ(kOther.GetName(), kShip.GetName());
    EXPECT_EQ(kOther.GetGenus(), kShip.GetGenus());
    EXPECT_EQ(kOther.GetSpecies(), kShip.GetSpecies());
    EXPECT_EQ(kOther.GetMass(), kShip.GetMass());
    EXPECT_EQ(kOther.GetRotationalInertia(), kShip.GetRotationalInertia());
    EXPECT_STREQ(kOther.GetShipName(), kShip.GetShipName());
    EXPECT_STREQ(kOther.GetModelFilename(), kShip.GetModelFilename());
    EXPECT_EQ(kOther.GetDamageResolution(), kShip.GetDamageResolution());
    EXPECT_EQ(kOther.GetAffiliation(), kShip.GetAffiliation());
    EXPECT_EQ(kOther.IsStationary(), kShip.IsStationary());
    EXPECT_STREQ(kOther.GetAIString(), kShip.GetAIString());
    EXPECT_STREQ(kOther.GetDeathExplosionSound(), kShip.GetDeathExplosionSound());
}
} // namespace

TEST_F(ShipPropertyTest, ANewShipWritesElevenLinesOfDefaults)
{
    ShipProperty* pkShip = ShipProperty::Create("Big Ship");
    EXPECT_TRUE(pkShip->IsTypeOf(0x812e));
    EXPECT_TRUE(pkShip->IsTypeOf(0x601));
    EXPECT_TRUE(pkShip->IsTypeOf(2));
    EXPECT_FALSE(pkShip->IsTypeOf(0x8140));
    EXPECT_EQ(pkShip->GetShipName(), nullptr);
    EXPECT_EQ(pkShip->GetModelFilename(), nullptr);
    // A text that is none is written as an empty text, never as "(null)".
    EXPECT_EQ(PropertyScript(*pkShip), "BigShip = App.ShipProperty_Create(\"Big Ship\")\n"
                                       "\n"
                                       "BigShip.SetGenus(0)\n"
                                       "BigShip.SetSpecies(0)\n"
                                       "BigShip.SetMass(1.000000)\n"
                                       "BigShip.SetRotationalInertia(1.000000)\n"
                                       "BigShip.SetShipName(\"\")\n"
                                       "BigShip.SetModelFilename(\"\")\n"
                                       "BigShip.SetDamageResolution(15.000000)\n"
                                       "BigShip.SetAffiliation(0)\n"
                                       "BigShip.SetStationary(0)\n"
                                       "BigShip.SetAIString(\"\")\n"
                                       "BigShip.SetDeathExplosionSound(\"\")\n");
    pkShip->DecRefCount();
}

TEST_F(ShipPropertyTest, TextsAreEscapedInTheScriptLines)
{
    ShipProperty kShip;
    kShip.SetName("S");
    FillShip(kShip);
    const std::string kText = PropertyScript(kShip);
    EXPECT_NE(kText.find("S.SetShipName(\"The \\\"Big\\\" One\")\n"), std::string::npos) << kText;
    EXPECT_NE(kText.find("S.SetModelFilename(\"data\\\\Models\\\\Ships\\\\big.nif\")\n"), std::string::npos);
    EXPECT_NE(kText.find("S.SetAIString(\"Caf\\xe9AI\")\n"), std::string::npos);
    EXPECT_NE(kText.find("S.SetStationary(1)\n"), std::string::npos);
    EXPECT_NE(kText.find("S.SetAffiliation(-3)\n"), std::string::npos);
}

TEST_F(ShipPropertyTest, TheRecordKeepsEveryFieldAndTellsNoTextFromAnEmptyOne)
{
    auto* pkShip = new ShipProperty(7);
    pkShip->SetName("S");
    // Defaults: no ship name and no model file (length 0), empty AI string and sound (length 1).
    const std::vector<uint8_t> kDefaults = PropertyRecord(*pkShip);
    ASSERT_EQ(kDefaults.size(), 18u + 4 + 4 + 4 + 4 + 4 + 4 + 4 + 4 + 1 + 5 + 5);
    const std::vector<uint8_t> kTexts(kDefaults.begin() + 34, kDefaults.begin() + 46);
    EXPECT_EQ(kTexts, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x70, 0x41}));
    const std::vector<uint8_t> kTail(kDefaults.end() - 10, kDefaults.end());
    EXPECT_EQ(kTail, (std::vector<uint8_t>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0}));

    FillShip(*pkShip);
    const std::vector<uint8_t> kFilled = PropertyRecord(*pkShip);
    auto* pkReference = new ShipProperty(0);
    pkReference->CopyFrom(pkShip);
    delete pkShip;
    ShipProperty* pkLoaded = ShipProperty::Cast(LoadPropertyRecord(kFilled));
    ASSERT_NE(pkLoaded, nullptr);
    ExpectSameShip(*pkReference, *pkLoaded);
    ASSERT_NE(pkLoaded->GetDeathExplosionSound(), nullptr);
    delete pkLoaded;

    ShipProperty* pkDefault = ShipProperty::Cast(LoadPropertyRecord(kDefaults));
    ASSERT_NE(pkDefault, nullptr);
    EXPECT_EQ(pkDefault->GetShipName(), nullptr);
    EXPECT_STREQ(pkDefault->GetAIString(), "");
    delete pkDefault;
    delete pkReference;
}

TEST_F(ShipPropertyTest, ARecordCutShortOrWithAnOverlongTextLoadsNothing)
{
    ShipProperty kShip(9);
    kShip.SetName("S");
    FillShip(kShip);
    std::vector<uint8_t> kBytes = PropertyRecord(kShip);
    for (size_t uiLength = 8; uiLength < kBytes.size(); uiLength++)
    {
        ShipProperty kTarget;
        kTarget.SetGenus(5);
        kTarget.SetShipName("kept");
        SKBufferStream kStream;
        kStream.AttachBuffer(kBytes.data(), static_cast<int32_t>(uiLength));
        kStream.Seek(8, 0);
        EXPECT_FALSE(kTarget.LoadFromStream(kStream)) << uiLength;
        EXPECT_EQ(kTarget.GetGenus(), 5) << uiLength;
        EXPECT_STREQ(kTarget.GetShipName(), "kept") << uiLength;
    }
    SKObject::FixupLoadedObjects();

    // The ship name's length, as though the record held 2 GiB of text.
    const size_t uiNameLength = 18 + 16;
    const int32_t iHuge = 0x7fffffff;
    std::memcpy(kBytes.data() + uiNameLength, &iHuge, 4);
    ShipProperty kTarget;
    SKBufferStream kStream;
    kStream.AttachBuffer(kBytes.data(), static_cast<int32_t>(kBytes.size()));
    kStream.Seek(8, 0);
    EXPECT_FALSE(kTarget.LoadFromStream(kStream));
}

TEST_F(ShipPropertyTest, ACopyOwnsItsTextsAndASetterTakesItsOwnText)
{
    ShipProperty kShip;
    kShip.SetName("Source");
    FillShip(kShip);
    ShipProperty* pkCopy = ShipProperty::Cast(kShip.Duplicate());
    ASSERT_NE(pkCopy, nullptr);
    ExpectSameShip(kShip, *pkCopy);
    EXPECT_NE(pkCopy->GetShipName(), kShip.GetShipName());
    kShip.SetShipName("Changed");
    EXPECT_STREQ(pkCopy->GetShipName(), "The \"Big\" One");

    kShip.SetShipName(kShip.GetShipName());
    kShip.SetAIString(kShip.GetAIString());
    EXPECT_STREQ(kShip.GetShipName(), "Changed");
    EXPECT_STREQ(kShip.GetAIString(), "Caf\xe9"
                                      "AI");
    kShip.SetShipName(nullptr);
    EXPECT_EQ(kShip.GetShipName(), nullptr);
    pkCopy->DecRefCount();
}

TEST_F(ShipPropertyTest, AnEngineGlowIsItsNameAlone)
{
    auto* pkGlow = new EngineGlowProperty(11);
    pkGlow->SetName("Port Glow");
    EXPECT_TRUE(pkGlow->IsTypeOf(0x8140));
    EXPECT_FALSE(pkGlow->IsTypeOf(0x812e));
    EXPECT_EQ(PropertyScript(*pkGlow), "PortGlow = App.EngineGlowProperty_Create(\"Port Glow\")\n\n");
    const std::vector<uint8_t> kBytes = PropertyRecord(*pkGlow);
    EXPECT_EQ(kBytes.size(), 16u + 2 * 9);
    EXPECT_EQ(kBytes[0], 0x40);
    EXPECT_EQ(kBytes[1], 0x81);

    EngineGlowProperty* pkCopy = EngineGlowProperty::Cast(pkGlow->Duplicate());
    ASSERT_NE(pkCopy, nullptr);
    EXPECT_EQ(pkCopy->GetName(), SKString("Port Glow"));
    delete pkGlow;
    EngineGlowProperty* pkLoaded = EngineGlowProperty::Cast(LoadPropertyRecord(kBytes));
    ASSERT_NE(pkLoaded, nullptr);
    EXPECT_EQ(pkLoaded->GetName(), SKString("Port Glow"));
    delete pkLoaded;
    pkCopy->DecRefCount();
}

TEST_F(ShipPropertyTest, NeitherTheShipNorAnEngineGlowDrawsInTheView)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetScene(spRoot);
    ShipProperty kShip;
    EngineGlowProperty kGlow;
    for (SKModelProperty* pkProperty :
         {static_cast<SKModelProperty*>(&kShip), static_cast<SKModelProperty*>(&kGlow)})
    {
        pkProperty->ShowInView(true, spCamera, spRoot);
        pkProperty->ShowInView(false, spCamera, spRoot);
    }
    EXPECT_EQ(spRoot->GetChildCount(), 0u);
}
