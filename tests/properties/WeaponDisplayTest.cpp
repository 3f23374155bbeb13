// The weapons' display geometry in a scene: the firing-arc display of phasers, pulse weapons and
// tractor beams, and the torpedo tube's arrows; built once under the property's own display node,
// rewritten in place afterwards.
#include "properties/DisplayModelExtraData.h"
#include "properties/FiringArcGeometry.h"
#include "properties/PhaserProperty.h"
#include "properties/PulseWeaponProperty.h"
#include "properties/TorpedoTubeProperty.h"
#include "properties/TractorBeamProperty.h"
#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiLines.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiVertexColorProperty.h"
#include "tests/properties/WeaponTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
// A model of bounding radius about 30 seen by a camera, with a hardpoint node.
class DisplayTest : public WeaponTest
{
protected:
    void SetUp() override
    {
        WeaponTest::SetUp();
        m_spRoot = new NiNode;
        auto* pkVertices = new NiPoint3[2]{NiPoint3(-30.0f, 0.0f, 0.0f), NiPoint3(30.0f, 0.0f, 0.0f)};
        auto* pkColors = new NiColorA[2];
        m_spRoot->AddChild(new NiLines(2, pkVertices, pkColors, nullptr, nullptr));
        m_spHardpoint = new NiNode;
        m_spRoot->AddChild(m_spHardpoint);
        m_spRoot->UpdateSubtree(0.0f);
        m_spCamera = new NiCamera;
        m_spCamera->SetScene(m_spRoot);
    }

    // The scale the displays take from the scene as it is now.
    float SceneScale() const { return 0.33f * m_spRoot->GetWorldBound().m_fRadius; }

    static NiLines* Child(NiNode* pkNode, uint32_t uiIndex)
    {
        return NiDynamicCast<NiLines>(pkNode->GetAt(uiIndex));
    }
    static std::vector<NiPoint3> Vertices(NiLines* pkLines)
    {
        NiGeometryData* pkData = pkLines->GetGeometryData();
        return std::vector<NiPoint3>(pkData->GetVertices(), pkData->GetVertices() + pkData->GetVertexCount());
    }
    static std::vector<uint8_t> Flags(NiLines* pkLines)
    {
        const uint8_t* pucFlags = pkLines->GetLinesData()->GetFlags();
        return std::vector<uint8_t>(pucFlags, pucFlags + pkLines->GetGeometryData()->GetVertexCount());
    }
    static void ExpectNear(const NiPoint3& kActual, const NiPoint3& kExpected, float fTolerance)
    {
        EXPECT_NEAR(kActual.x, kExpected.x, fTolerance);
        EXPECT_NEAR(kActual.y, kExpected.y, fTolerance);
        EXPECT_NEAR(kActual.z, kExpected.z, fTolerance);
    }
    // Every vertex lies inside the line set's model bound.
    static void ExpectBoundHolds(NiLines* pkLines)
    {
        const NiBoundingSphere& kBound = pkLines->GetGeometryData()->GetBound();
        for (const NiPoint3& kVertex : Vertices(pkLines))
        {
            const NiPoint3 kOffset = kVertex - kBound.m_kCenter;
            EXPECT_LE(std::sqrt(kOffset.x * kOffset.x + kOffset.y * kOffset.y + kOffset.z * kOffset.z),
                      kBound.m_fRadius * 1.0001f + 1e-5f);
        }
    }

    NiRefPtr<NiNode> m_spRoot;
    NiRefPtr<NiNode> m_spHardpoint;
    NiRefPtr<NiCamera> m_spCamera;
};
} // namespace

TEST_F(DisplayTest, AShownPhaserHasTheArcCornersOfItsDefaults)
{
    PhaserProperty kPhaser;
    kPhaser.SetPosition(1.0f, 2.0f, 3.0f);
    const float fScale = SceneScale();
    ASSERT_GT(fScale, 9.0f);
    kPhaser.ShowInView(true, m_spCamera, m_spHardpoint);
    NiNode* pkDisplay = kPhaser.GetDisplayNode();
    ASSERT_NE(pkDisplay, nullptr);
    ASSERT_EQ(pkDisplay->GetArrayCount(), 3u);

    const NiPoint3 kP(1.0f, 2.0f, 3.0f);
    auto At = [&](float fX, float fY, float fZ)
    { return NiPoint3(1.0f + fScale * fX, 2.0f + fScale * fY, 3.0f + fScale * fZ); };
    const NiPoint3 kK1 = At(0.924f, -0.381f, 0.038f);
    const NiPoint3 kK2 = At(0.924f, 0.271f, -0.271f);
    const NiPoint3 kK3 = At(-0.924f, 0.271f, -0.271f);
    const NiPoint3 kK4 = At(-0.924f, -0.381f, 0.038f);
    const std::vector<NiPoint3> kFrame = Vertices(Child(pkDisplay, 1));
    const NiPoint3 akExpected[] = {kP, kK1, kP, kK2, kP, kK4, kP, kK3, kK1, kK4, kK3, kK2, kK1};
    ASSERT_EQ(kFrame.size(), 13u);
    for (size_t uiIndex = 0; uiIndex < kFrame.size(); uiIndex++)
        ExpectNear(kFrame[uiIndex], akExpected[uiIndex], 1e-3f * fScale);
    EXPECT_EQ(Flags(Child(pkDisplay, 1)), (std::vector<uint8_t>{1, 0, 1, 0, 1, 0, 1, 0, 1, 1, 1, 1, 0}));
    for (const NiColorA& kColor : std::vector<NiColorA>(Child(pkDisplay, 1)->GetColorArray(),
                                                        Child(pkDisplay, 1)->GetColorArray() + 13))
        EXPECT_EQ(kColor, NiColorA(1.0f, 1.0f, 1.0f, 1.0f));

    // Axis lines of Length, the radius and Width; the ellipse of Width and Length.
    const std::vector<NiPoint3> kAxes = Vertices(Child(pkDisplay, 0));
    ExpectNear(kAxes[1], NiPoint3(1.0f, 3.4f, 3.0f), 1e-5f);
    ExpectNear(kAxes[3], NiPoint3(1.0f, 2.0f, 3.25f), 1e-5f);
    ExpectNear(kAxes[5], NiPoint3(2.8f, 2.0f, 3.0f), 1e-5f);
    EXPECT_EQ(Child(pkDisplay, 0)->GetColorArray()[0], NiColorA(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(Child(pkDisplay, 0)->GetColorArray()[4], NiColorA(0.0f, 0.0f, 1.0f, 1.0f));
    EXPECT_EQ(Flags(Child(pkDisplay, 0)), (std::vector<uint8_t>{1, 0, 1, 0, 1, 0}));
    const std::vector<NiPoint3> kEllipse = Vertices(Child(pkDisplay, 2));
    ASSERT_EQ(kEllipse.size(), 180u);
    ExpectNear(kEllipse[0], NiPoint3(2.8f, 2.0f, 3.0f), 1e-5f);
    ExpectNear(kEllipse[1], kEllipse[0], 1e-6f);
    EXPECT_EQ(Flags(Child(pkDisplay, 2)), std::vector<uint8_t>(180, 1));
    for (uint32_t uiChild = 0; uiChild < 3; uiChild++)
        ExpectBoundHolds(Child(pkDisplay, uiChild));
}

TEST_F(DisplayTest, TheDisplayNodeIsAMarkedUnlitNodeAtTheEndOfTheScene)
{
    PulseWeaponProperty kPulse;
    kPulse.ShowInView(true, m_spCamera, m_spHardpoint);
    NiNode* pkDisplay = kPulse.GetDisplayNode();
    ASSERT_NE(pkDisplay, nullptr);
    EXPECT_EQ(pkDisplay->GetParent(), m_spRoot.Get());
    EXPECT_EQ(m_spRoot->GetAt(m_spRoot->GetArrayCount() - 1), pkDisplay);
    EXPECT_TRUE(DisplayModelExtraData::IsMarked(pkDisplay));
    EXPECT_EQ(pkDisplay->GetArrayCount(), 2u) << "no ellipse in the pulse form";

    auto kProperty = pkDisplay->GetPropertyList().begin();
    ASSERT_NE(kProperty, pkDisplay->GetPropertyList().end());
    auto* pkAlpha = NiDynamicCast<NiAlphaProperty>(kProperty->Get());
    ASSERT_NE(pkAlpha, nullptr);
    EXPECT_EQ(pkAlpha->GetFlags(), 0x00EC);
    ++kProperty;
    auto* pkVertexColor = NiDynamicCast<NiVertexColorProperty>(kProperty->Get());
    ASSERT_NE(pkVertexColor, nullptr);
    EXPECT_EQ(pkVertexColor->GetSourceMode(), NiVertexColorProperty::SOURCE_EMISSIVE);
    EXPECT_EQ(pkVertexColor->GetLightingMode(), NiVertexColorProperty::LIGHTING_E);

    // Every axis line is as long as the subsystem radius.
    kPulse.SetRadius(2.0f);
    kPulse.ShowInView(true, m_spCamera, m_spHardpoint);
    const std::vector<NiPoint3> kAxes = Vertices(Child(pkDisplay, 0));
    ExpectNear(kAxes[1], NiPoint3(0.0f, 2.0f, 0.0f), 1e-6f);
    ExpectNear(kAxes[3], NiPoint3(0.0f, 0.0f, 2.0f), 1e-6f);
    ExpectNear(kAxes[5], NiPoint3(2.0f, 0.0f, 0.0f), 1e-6f);
}

TEST_F(DisplayTest, ShowHideShowRewritesTheSameLinesOnce)
{
    TractorBeamProperty kTractor;
    kTractor.ShowInView(false, m_spCamera, m_spHardpoint);
    EXPECT_EQ(kTractor.GetDisplayNode(), nullptr) << "hiding first makes nothing";
    kTractor.ShowInView(true, m_spCamera, m_spHardpoint);
    NiNode* pkDisplay = kTractor.GetDisplayNode();
    ASSERT_NE(pkDisplay, nullptr);
    NiLines* pkAxes = Child(pkDisplay, 0);
    NiLines* pkFrame = Child(pkDisplay, 1);
    const uint16_t usAxesRevision = pkAxes->GetGeometryData()->GetRevision();
    const uint16_t usFrameRevision = pkFrame->GetGeometryData()->GetRevision();
    const uint32_t uiRootChildren = m_spRoot->GetArrayCount();

    kTractor.ShowInView(false, m_spCamera, m_spHardpoint);
    EXPECT_TRUE(pkDisplay->GetAppCulled());
    // Moved while hidden: the next show moves the existing lines and their bounds.
    kTractor.SetPosition(5.0f, -4.0f, 2.0f);
    kTractor.SetOrientation(NiPoint3(1.0f, 0.0f, 0.0f), NiPoint3(0.0f, 0.0f, 1.0f));
    kTractor.ShowInView(true, m_spCamera, m_spHardpoint);
    EXPECT_FALSE(pkDisplay->GetAppCulled());
    EXPECT_EQ(kTractor.GetDisplayNode(), pkDisplay);
    EXPECT_EQ(Child(pkDisplay, 0), pkAxes);
    EXPECT_EQ(Child(pkDisplay, 1), pkFrame);
    EXPECT_EQ(pkDisplay->GetArrayCount(), 2u);
    EXPECT_EQ(m_spRoot->GetArrayCount(), uiRootChildren);
    EXPECT_EQ(pkAxes->GetGeometryData()->GetRevision(), usAxesRevision + 1);
    EXPECT_EQ(pkFrame->GetGeometryData()->GetRevision(), usFrameRevision + 1);
    ExpectNear(Vertices(pkAxes)[0], NiPoint3(5.0f, -4.0f, 2.0f), 0.0f);
    ExpectNear(Vertices(pkAxes)[1], NiPoint3(5.25f, -4.0f, 2.0f), 1e-6f);
    // Right follows forward x up on every build.
    ExpectNear(kTractor.GetOrientationRight(), NiPoint3(0.0f, -1.0f, 0.0f), 0.0f);
    ExpectBoundHolds(pkAxes);
    ExpectBoundHolds(pkFrame);
}

TEST_F(DisplayTest, DegenerateScenesAndArcsCollapseTheFrame)
{
    // A scene of radius 0: every frame vertex at the position.
    NiRefPtr<NiNode> spEmpty = new NiNode;
    spEmpty->UpdateSubtree(0.0f);
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetScene(spEmpty);
    PulseWeaponProperty kPulse;
    kPulse.SetPosition(1.0f, 1.0f, 1.0f);
    kPulse.ShowInView(true, spCamera, spEmpty);
    NiNode* pkEmptyDisplay = kPulse.GetDisplayNode();
    ASSERT_NE(pkEmptyDisplay, nullptr);
    EXPECT_EQ(pkEmptyDisplay->GetParent(), spEmpty.Get());
    for (const NiPoint3& kVertex : Vertices(Child(pkEmptyDisplay, 1)))
        ExpectNear(kVertex, NiPoint3(1.0f, 1.0f, 1.0f), 0.0f);
    EXPECT_EQ(Child(pkEmptyDisplay, 1)->GetGeometryData()->GetBound().m_fRadius, 0.0f);

    // All four angles 0: the corners meet at P + s F.
    PhaserProperty kPhaser;
    kPhaser.SetArcWidthAngles(0.0f, 0.0f);
    kPhaser.SetArcHeightAngles(0.0f, 0.0f);
    kPhaser.SetWidth(0.0f);
    kPhaser.SetLength(0.0f);
    const float fScale = SceneScale();
    kPhaser.ShowInView(true, m_spCamera, m_spHardpoint);
    NiNode* pkDisplay = kPhaser.GetDisplayNode();
    const std::vector<NiPoint3> kFrame = Vertices(Child(pkDisplay, 1));
    for (size_t uiCorner : {1u, 3u, 5u, 7u, 8u})
        ExpectNear(kFrame[uiCorner], NiPoint3(0.0f, fScale, 0.0f), 1e-4f);
    for (const NiPoint3& kVertex : Vertices(Child(pkDisplay, 2)))
        ExpectNear(kVertex, NiPoint3(0.0f, 0.0f, 0.0f), 0.0f);
}

TEST_F(DisplayTest, ATubeShowsItsDirectionAndRightArrows)
{
    TorpedoTubeProperty kTube;
    kTube.SetPosition(1.0f, 2.0f, 3.0f);
    kTube.SetDirection(NiPoint3(0.0f, 0.0f, -1.0f));
    kTube.SetRadius(0.5f);
    kTube.ShowInView(false, m_spCamera, m_spHardpoint);
    EXPECT_EQ(kTube.GetDisplayNode(), nullptr);
    const float fScale = SceneScale();
    kTube.ShowInView(true, m_spCamera, m_spHardpoint);
    NiNode* pkDisplay = kTube.GetDisplayNode();
    ASSERT_NE(pkDisplay, nullptr);
    EXPECT_TRUE(DisplayModelExtraData::IsMarked(pkDisplay));
    ASSERT_EQ(pkDisplay->GetArrayCount(), 1u);
    NiLines* pkArrows = Child(pkDisplay, 0);
    const std::vector<NiPoint3> kArrows = Vertices(pkArrows);
    ASSERT_EQ(kArrows.size(), 4u);
    ExpectNear(kArrows[0], NiPoint3(1.0f, 2.0f, 3.0f), 0.0f);
    ExpectNear(kArrows[1], NiPoint3(1.0f, 2.0f, 3.0f - fScale), 1e-5f);
    ExpectNear(kArrows[3], NiPoint3(1.5f, 2.0f, 3.0f), 1e-6f);
    EXPECT_EQ(pkArrows->GetColorArray()[1], NiColorA(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(pkArrows->GetColorArray()[2], NiColorA(0.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_EQ(Flags(pkArrows), (std::vector<uint8_t>{1, 0, 1, 0}));

    // A second show moves the same arrows, and the bound follows the longer one.
    kTube.SetRight(NiPoint3(0.0f, 100.0f, 0.0f));
    kTube.ShowInView(true, m_spCamera, m_spHardpoint);
    EXPECT_EQ(Child(pkDisplay, 0), pkArrows);
    ExpectNear(Vertices(pkArrows)[3], NiPoint3(1.0f, 52.0f, 3.0f), 1e-4f);
    ExpectBoundHolds(pkArrows);
}

TEST_F(DisplayTest, LoadingDestroyingAndCopyingLeaveNoDisplayBehind)
{
    auto* pkPhaser = PhaserProperty::Create("Phaser");
    pkPhaser->ShowInView(true, m_spCamera, m_spHardpoint);
    NiRefPtr<NiNode> spOld = pkPhaser->GetDisplayNode();
    ASSERT_NE(spOld, nullptr);
    // A duplicate draws nothing until it is shown itself.
    auto* pkCopy = static_cast<PhaserProperty*>(pkPhaser->Duplicate());
    EXPECT_EQ(pkCopy->GetDisplayNode(), nullptr);
    // A record loaded into the shown phaser takes its display out of the scene.
    SKBufferStream kOut;
    kOut.OpenBuffer(4096);
    ASSERT_TRUE(pkCopy->SaveToStream(kOut));
    SKBufferStream kIn;
    kIn.AttachBuffer(kOut.GetBuffer(), kOut.GetPos());
    kIn.ReadInt();
    kIn.ReadID();
    ASSERT_TRUE(pkPhaser->LoadFromStream(kIn));
    EXPECT_EQ(pkPhaser->GetDisplayNode(), nullptr);
    EXPECT_EQ(spOld->GetParent(), nullptr);
    pkCopy->DecRefCount();

    // A destroyed tube's arrows leave the scene with it.
    auto* pkTube = TorpedoTubeProperty::Create("Tube");
    pkTube->ShowInView(true, m_spCamera, m_spHardpoint);
    NiRefPtr<NiNode> spArrows = pkTube->GetDisplayNode();
    EXPECT_EQ(spArrows->GetParent(), m_spRoot.Get());
    pkTube->DecRefCount();
    EXPECT_EQ(spArrows->GetParent(), nullptr);
    pkPhaser->DecRefCount();
}
