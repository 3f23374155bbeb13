#include "NifTestSupport.h"
#include "SceneTestObjects.h"

#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiWireframeProperty.h"
#include "scene/graph/NiZBufferProperty.h"
#include "scene/object/NiFieldString.h"
#include "tests/support/RecordingRender.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
void ExpectPoint(const NiPoint3& kActual, float fX, float fY, float fZ)
{
    EXPECT_FLOAT_EQ(kActual.x, fX);
    EXPECT_FLOAT_EQ(kActual.y, fY);
    EXPECT_FLOAT_EQ(kActual.z, fZ);
}
} // namespace

TEST(NiAVObject, NewObjectIsVisibleWithBoxTreeCollision)
{
    NiRefPtr<TestShape> spShape = new TestShape;
    EXPECT_EQ(spShape->GetFlags(), 4);
    EXPECT_FALSE(spShape->GetAppCulled());
    EXPECT_EQ(spShape->GetPropagationMode(), NiAVObject::USE_OBBS);

    spShape->SetAppCulled(true);
    EXPECT_EQ(spShape->GetFlags(), 5);
    spShape->SetPropagationMode(NiAVObject::NONE);
    EXPECT_EQ(spShape->GetFlags(), 1);
}

TEST(NiAVObject, WorldTransformComposesDownTheChain)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    spRoot->SetTranslate(NiPoint3(1, 2, 3));
    spRoot->SetScale(2.0f);
    NiRefPtr<TestShape> spChild = new TestShape;
    spChild->SetTranslate(NiPoint3(1, 0, 0));
    spRoot->AddChild(spChild);

    spRoot->UpdateSubtree(0.0f);
    ExpectPoint(spRoot->GetWorldTranslate(), 1, 2, 3);
    EXPECT_FLOAT_EQ(spRoot->GetWorldScale(), 2.0f);
    ExpectPoint(spChild->GetWorldTranslate(), 3, 2, 3);

    // Turned a quarter about z, the child's x offset lands on y.
    spRoot->SetRotate(QuarterTurnZ());
    spChild->SetScale(3.0f);
    spRoot->UpdateSubtree(0.0f);
    ExpectPoint(spChild->GetWorldTranslate(), 1, 4, 3);
    EXPECT_FLOAT_EQ(spChild->GetWorldScale(), 6.0f);
    EXPECT_EQ(spChild->GetWorldRotate(), QuarterTurnZ());
}

TEST(NiAVObject, WorldVelocityTurnsWithTheParentButIsNotScaled)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    spRoot->SetScale(2.0f);
    spRoot->SetVelocity(NiPoint3(0, 1, 0));
    NiRefPtr<TestShape> spChild = new TestShape;
    spChild->SetVelocity(NiPoint3(1, 0, 0));
    spRoot->AddChild(spChild);

    spRoot->UpdateSubtree(0.0f);
    ExpectPoint(spChild->GetWorldVelocity(), 1, 1, 0);
}

TEST(NiAVObject, ZeroScaleCollapsesWithoutFailing)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    spRoot->SetScale(0.0f);
    NiRefPtr<TestShape> spChild = new TestShape(NiPoint3(1, 0, 0), 2.0f);
    spChild->SetTranslate(NiPoint3(5, 0, 0));
    spRoot->AddChild(spChild);

    spRoot->UpdateSubtree(0.0f);
    ExpectPoint(spChild->GetWorldTranslate(), 0, 0, 0);
    EXPECT_FLOAT_EQ(spChild->GetWorldBound().m_fRadius, 0.0f);
    EXPECT_FLOAT_EQ(spRoot->GetWorldBound().m_fRadius, 0.0f);
}

TEST(NiAVObject, FindPropertyTakesTheOneNearestTheHeadAndRefusesUnknownTypes)
{
    NiRefPtr<TestShape> spShape = new TestShape;
    NiRefPtr<NiAlphaProperty> spFirst = new NiAlphaProperty;
    NiRefPtr<NiAlphaProperty> spSecond = new NiAlphaProperty;
    NiRefPtr<NiZBufferProperty> spZBuffer = new NiZBufferProperty;
    spShape->PrependProperty(spFirst);
    spShape->PrependProperty(spZBuffer);
    spShape->PrependProperty(spSecond);
    spShape->PrependProperty(nullptr);

    EXPECT_EQ(spShape->FindProperty(NiProperty::ALPHA), spSecond);
    EXPECT_EQ(spShape->FindProperty(NiProperty::ZBUFFER), spZBuffer);
    EXPECT_EQ(spShape->FindProperty(NiProperty::FOG), nullptr);
    EXPECT_EQ(spShape->FindProperty(15), nullptr);
    EXPECT_EQ(spShape->FindProperty(-1), nullptr);

    EXPECT_EQ(spShape->DetachProperty(NiProperty::ALPHA), spSecond);
    EXPECT_EQ(spShape->FindProperty(NiProperty::ALPHA), spFirst);
    EXPECT_EQ(spShape->GetPropertyList().Count(), 2u);
    EXPECT_EQ(spSecond->GetRefCount(), 1);
}

TEST(NiAVObject, BuildPropertyTableSharesWithoutPropertiesAndCopiesWithThem)
{
    NiRefPtr<NiPropertyTable> spInherited = new NiPropertyTable;
    NiRefPtr<TestShape> spPlain = new TestShape;
    EXPECT_EQ(spPlain->BuildPropertyTable(spInherited, true), spInherited);

    // The later of two properties of one type wins.
    NiRefPtr<TestShape> spShape = new TestShape;
    NiRefPtr<NiAlphaProperty> spLater = new NiAlphaProperty;
    NiRefPtr<NiAlphaProperty> spEarlier = new NiAlphaProperty;
    spShape->PrependProperty(spLater);
    spShape->PrependProperty(spEarlier);

    NiRefPtr<NiPropertyTable> spCopy = spShape->BuildPropertyTable(spInherited, true);
    EXPECT_NE(spCopy, spInherited);
    EXPECT_EQ(spCopy->GetProperty(NiProperty::ALPHA), spLater);
    EXPECT_EQ(spInherited->GetProperty(NiProperty::ALPHA), NiAlphaProperty::GetDefault());

    NiRefPtr<NiPropertyTable> spInPlace = spShape->BuildPropertyTable(spInherited, false);
    EXPECT_EQ(spInPlace, spInherited);
    EXPECT_EQ(spInherited->GetProperty(NiProperty::ALPHA), spLater);
}

TEST(NiAVObject, ValidateWithRendererAsksTheRendererAboutItsOwnState)
{
    NiRefPtr<TestShape> spShape = new TestShape;
    EXPECT_EQ(spShape->ValidateWithRenderer(nullptr), 0x00800000u);

    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiPropertyTable> spTable = new NiPropertyTable;
    spShape->PropagatePropertyTable(spTable);
    spRenderer->SetValidationMask(0u);
    EXPECT_EQ(spShape->ValidateWithRenderer(spRenderer), 0u);
    const RecordingRender::Call* pkCall = spRenderer->FindLastCall("ValidatePropertyState");
    ASSERT_NE(pkCall, nullptr);
    EXPECT_EQ(pkCall->m_kObjects[0], spTable.Get());
}

TEST(NiAVObject, SavedPropertiesLoadInTheirOrder)
{
    NiRefPtr<TestShape> spShape = new TestShape(NiPoint3(1, 2, 3), 4.0f);
    NiRefPtr<NiAlphaProperty> spA = new NiAlphaProperty;
    spA->SetTestRef(7);
    NiRefPtr<NiWireframeProperty> spB = new NiWireframeProperty;
    spShape->PrependProperty(spB);
    spShape->PrependProperty(spA);
    spShape->SetTranslate(NiPoint3(1, -2, 3));
    spShape->SetRotate(QuarterTurnZ());
    spShape->SetScale(0.5f);
    spShape->SetVelocity(NiPoint3(0, 0, 9));
    spShape->SetFlags(0x0F01); // culled, mode NONE, bits without meaning

    NiRefPtr<TestShape> spLoaded = NifTest::RoundTrip<TestShape>(spShape);
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spShape));
    EXPECT_EQ(spLoaded->GetFlags(), 0x0F01);
    auto kProperty = spLoaded->GetPropertyList().begin();
    EXPECT_EQ((*kProperty)->GetClassRecord(), &NiAlphaProperty::ms_kClassRecord);
    EXPECT_EQ((*++kProperty)->GetClassRecord(), &NiWireframeProperty::ms_kClassRecord);
}

TEST(NiAVObject, EquivalenceIgnoresWorldFieldsAndComparesWhatIsSaved)
{
    NiRefPtr<NiNode> spParent = new NiNode;
    spParent->SetTranslate(NiPoint3(7, 0, 0));
    NiRefPtr<TestShape> spMoved = new TestShape;
    spParent->AddChild(spMoved);
    spParent->UpdateSubtree(0.0f);
    NiRefPtr<TestShape> spStill = new TestShape;
    EXPECT_TRUE(spMoved->IsEquivalent(spStill));

    struct Case
    {
        const char* m_pcWhat;
        void (*m_pfnChange)(TestShape&);
    };
    const Case akCases[] = {
        {"app culled", [](TestShape& kShape) { kShape.SetAppCulled(true); }},
        {"translate", [](TestShape& kShape) { kShape.SetTranslate(NiPoint3(0, 0, 1)); }},
        {"rotate", [](TestShape& kShape) { kShape.SetRotate(QuarterTurnZ()); }},
        {"scale", [](TestShape& kShape) { kShape.SetScale(2.0f); }},
        {"velocity", [](TestShape& kShape) { kShape.SetVelocity(NiPoint3(1, 0, 0)); }},
        {"propagation", [](TestShape& kShape) { kShape.SetPropagationMode(NiAVObject::USE_TRIANGLES); }},
        {"property", [](TestShape& kShape) { kShape.PrependProperty(new NiWireframeProperty); }},
    };
    for (const Case& kCase : akCases)
    {
        NiRefPtr<TestShape> spChanged = new TestShape;
        kCase.m_pfnChange(*spChanged);
        EXPECT_FALSE(spChanged->IsEquivalent(spStill)) << kCase.m_pcWhat;
    }

    // Flag bits without meaning are not compared.
    NiRefPtr<TestShape> spOddBits = new TestShape;
    spOddBits->SetFlags(0x4004);
    EXPECT_TRUE(spOddBits->IsEquivalent(spStill));
}

TEST(NiAVObject, LoadRefusesABoundingVolume)
{
    // A bare node record with a non-zero volume word: no volume kind exists to read it.
    NifTest::Bytes kBytes;
    kBytes.Text("Top Level Object").Text("NiNode").U32(1).U32(0).U32(0).U32(0).U16(12);
    for (int i = 0; i < 3; ++i)
        kBytes.F32(0.0f);
    const float afIdentity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (float fEntry : afIdentity)
        kBytes.F32(fEntry);
    kBytes.F32(1.0f).F32(0).F32(0).F32(0).U32(0);
    const std::string kGood = NifTest::Bytes(kBytes).U32(0).U32(0).U32(0).End().Get();
    EXPECT_EQ(NifTest::Load(kGood).size(), 1u);

    const std::string kVolume = NifTest::Bytes(kBytes).U32(1).U32(0).U32(0).U32(0).End().Get();
    EXPECT_TRUE(NifTest::Load(kVolume).empty());
}

TEST(NiAVObject, CloneCopiesTheLocalFrameAndClonesProperties)
{
    NiRefPtr<TestShape> spShape = new TestShape(NiPoint3(0, 0, 1), 1.0f);
    NiRefPtr<NiAlphaProperty> spAlpha = new NiAlphaProperty;
    NiRefPtr<NiWireframeProperty> spWire = new NiWireframeProperty;
    spShape->PrependProperty(spWire);
    spShape->PrependProperty(spAlpha);
    spShape->SetTranslate(NiPoint3(4, 5, 6));
    spShape->SetAppCulled(true);
    spShape->UpdateSubtree(0.0f);

    NiRefPtr<TestShape> spClone = NiDynamicCast<TestShape>(spShape->Clone());
    ASSERT_TRUE(spClone);
    EXPECT_TRUE(spClone->IsEquivalent(spShape));
    EXPECT_NE(spClone->FindProperty(NiProperty::ALPHA), spAlpha);
    EXPECT_EQ(spClone->GetPropertyList().begin()->Get()->GetClassRecord(), &NiAlphaProperty::ms_kClassRecord);
    ExpectPoint(spClone->GetWorldTranslate(), 0, 0, 0);
    EXPECT_EQ(spShape->GetExtraData(), nullptr);
    EXPECT_EQ(spAlpha->GetExtraData(), nullptr);
}

TEST(NiAVObject, FieldStringsNameTheModeAndEachProperty)
{
    NiRefPtr<TestShape> spShape = new TestShape;
    spShape->PrependProperty(new NiWireframeProperty);
    NiFieldStringList kList;
    spShape->AddFieldStrings(kList);
    EXPECT_NE(std::find(kList.begin(), kList.end(), "--- NiAVObject ---"), kList.end());
    EXPECT_NE(std::find(kList.begin(), kList.end(), "m_ePropagate = USE_OBBS"), kList.end());
    EXPECT_NE(std::find(kList.begin(), kList.end(), "m_fLocalScale = 1.000000e+00"), kList.end());
    EXPECT_EQ(kList.back().rfind("NiWireframeProperty = ", 0), 0u);

    EXPECT_EQ(NiAVObject::PropagationFieldString("m", 1), "m = USE_TRIANGLES");
    EXPECT_EQ(NiAVObject::PropagationFieldString("m", 3), "");
}
