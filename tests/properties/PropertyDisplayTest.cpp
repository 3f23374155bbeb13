// The line displays of the position/orientation family and the subsystem family: marked geometry
// under the scene root, rewritten in place on later shows, culled when hidden.
#include "properties/BlinkingLightProperty.h"
#include "properties/DisplayModelExtraData.h"
#include "properties/HullProperty.h"
#include "properties/PositionOrientationProperty.h"
#include "properties/SubsystemProperty.h"
#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiLines.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiVertexColorProperty.h"
#include "tests/properties/PropertyTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
class PropertyDisplayTest : public PropertyTest
{
protected:
    // A scene root whose world bound has radius 30 about the origin, seen by the camera.
    void SetUp() override
    {
        PropertyTest::SetUp();
        SKObject::RegisterFactory(HullProperty::TYPE_ID, &HullProperty::Factory);
        SKObject::RegisterFactory(BlinkingLightProperty::TYPE_ID, &BlinkingLightProperty::Factory);
        m_spRoot = new NiNode;
        m_spRoot->AddChild(new NiLines(2, new NiPoint3[2]{NiPoint3(-30, 0, 0), NiPoint3(30, 0, 0)}, nullptr,
                                       nullptr, nullptr));
        m_spRoot->UpdateSubtree(0.0f);
        m_spCamera = new NiCamera;
        m_spCamera->SetScene(m_spRoot);
    }

    void Show(SKModelProperty* pkProperty, bool bShow = true)
    {
        pkProperty->ShowInView(bShow, m_spCamera, m_spRoot);
    }

    static NiLines* LinesOf(NiNode* pkDisplayNode)
    {
        return pkDisplayNode ? NiDynamicCast<NiLines>(pkDisplayNode->GetAt(0)) : nullptr;
    }

    static std::vector<NiPoint3> Vertices(NiLines* pkLines)
    {
        const NiLinesData* pkData = pkLines->GetLinesData();
        return std::vector<NiPoint3>(pkData->GetVertices(), pkData->GetVertices() + pkData->GetVertexCount());
    }

    static std::vector<uint16_t> Segments(NiLines* pkLines)
    {
        std::vector<uint16_t> kIndices;
        pkLines->GetLinesData()->AppendSegmentIndices(kIndices);
        return kIndices;
    }

    // The world bound of the lines holds every vertex (the display node stays at the identity).
    static void ExpectBoundHoldsVertices(NiLines* pkLines)
    {
        const NiBoundingSphere& kBound = pkLines->GetWorldBound();
        for (const NiPoint3& kVertex : Vertices(pkLines))
            EXPECT_LE((kVertex - kBound.m_kCenter).Length(), kBound.m_fRadius + 1e-4f);
    }

    NiRefPtr<NiNode> m_spRoot;
    NiRefPtr<NiCamera> m_spCamera;
};

void ExpectNear(const NiPoint3& kActual, const NiPoint3& kExpected)
{
    EXPECT_NEAR(kActual.x, kExpected.x, 1e-4f);
    EXPECT_NEAR(kActual.y, kExpected.y, 1e-4f);
    EXPECT_NEAR(kActual.z, kExpected.z, 1e-4f);
}
} // namespace

TEST_F(PropertyDisplayTest, AxesRunAThirdOfTheModelFromThePositionAndMoveInPlace)
{
    PositionOrientationProperty* pkProperty = PositionOrientationProperty::Create("Marker");
    pkProperty->SetPosition(1, 2, 3);
    Show(pkProperty);

    NiNode* pkNode = pkProperty->GetDisplayNode();
    ASSERT_NE(pkNode, nullptr);
    EXPECT_EQ(pkNode->GetParent(), m_spRoot);
    EXPECT_TRUE(DisplayModelExtraData::IsMarked(pkNode));
    NiLines* pkLines = LinesOf(pkNode);
    ASSERT_NE(pkLines, nullptr);
    std::vector<NiPoint3> kVertices = Vertices(pkLines);
    ASSERT_EQ(kVertices.size(), 6u);
    ExpectNear(kVertices[0], NiPoint3(1, 2, 3));
    ExpectNear(kVertices[1], NiPoint3(1, 11.9f, 3));
    ExpectNear(kVertices[3], NiPoint3(1, 2, 12.9f));
    ExpectNear(kVertices[5], NiPoint3(10.9f, 2, 3));
    EXPECT_EQ(Segments(pkLines), (std::vector<uint16_t>{0, 1, 2, 3, 4, 5}));
    const NiColorA* pkColors = pkLines->GetLinesData()->GetColors();
    EXPECT_EQ(pkColors[1], NiColorA(1, 0, 0, 1));
    EXPECT_EQ(pkColors[2], NiColorA(0, 1, 0, 1));
    EXPECT_EQ(pkColors[5], NiColorA(0, 0, 1, 1));
    NiRefPtr<NiProperty> spVertexColor = pkNode->FindProperty(NiProperty::VERTEX_COLOR);
    ASSERT_TRUE(spVertexColor);
    EXPECT_EQ(static_cast<NiVertexColorProperty*>(spVertexColor.Get())->GetSourceMode(),
              NiVertexColorProperty::SOURCE_EMISSIVE);
    EXPECT_FALSE(pkNode->FindProperty(NiProperty::ALPHA));

    // Moved and shown again: the same lines, rewritten, one revision on, bound following them.
    const uint16_t usRevision = pkLines->GetLinesData()->GetRevision();
    pkProperty->SetPosition(-20, 0, 0);
    pkProperty->SetOrientation(NiPoint3(0, 2, 0), NiPoint3(0, 0, 0), NiPoint3(1, 0, 0));
    Show(pkProperty);
    EXPECT_EQ(LinesOf(pkNode), pkLines);
    EXPECT_EQ(m_spRoot->GetArrayCount(), 2u);
    EXPECT_EQ(pkLines->GetLinesData()->GetRevision(), usRevision + 1);
    kVertices = Vertices(pkLines);
    ExpectNear(kVertices[1], NiPoint3(-20, 19.8f, 0));
    ExpectNear(kVertices[3], NiPoint3(-20, 0, 0)); // a zero axis: a line of length zero
    ExpectBoundHoldsVertices(pkLines);

    Show(pkProperty, false);
    EXPECT_TRUE(pkNode->GetAppCulled());
    EXPECT_EQ(pkNode->GetParent(), m_spRoot);

    // The property goes, and its display with it.
    pkProperty->DecRefCount();
    EXPECT_EQ(m_spRoot->GetChildCount(), 1u);
}

TEST_F(PropertyDisplayTest, TheSubsystemCrossIsWhiteBlendedAndFollowsPositionAndRadius)
{
    SubsystemProperty* pkProperty = SubsystemProperty::Create("Sensor");
    Show(pkProperty, false);
    EXPECT_EQ(pkProperty->GetDisplayNode(), nullptr);
    EXPECT_EQ(m_spRoot->GetArrayCount(), 1u);

    pkProperty->SetRadius(2.0f);
    pkProperty->SetPosition(1, 2, 3);
    Show(pkProperty);
    NiNode* pkNode = pkProperty->GetDisplayNode();
    NiLines* pkLines = LinesOf(pkNode);
    ASSERT_NE(pkLines, nullptr);
    EXPECT_TRUE(DisplayModelExtraData::IsMarked(pkNode));
    const std::vector<NiPoint3> kExpected = {NiPoint3(1, 2, 3), NiPoint3(1, 4, 3), NiPoint3(1, 2, 3),
                                             NiPoint3(1, 2, 5), NiPoint3(1, 2, 3), NiPoint3(3, 2, 3),
                                             NiPoint3(1, 2, 3), NiPoint3(1, 0, 3), NiPoint3(1, 2, 3),
                                             NiPoint3(1, 2, 1), NiPoint3(1, 2, 3), NiPoint3(-1, 2, 3)};
    const std::vector<NiPoint3> kVertices = Vertices(pkLines);
    ASSERT_EQ(kVertices.size(), kExpected.size());
    for (size_t i = 0; i < kExpected.size(); ++i)
    {
        ExpectNear(kVertices[i], kExpected[i]);
        EXPECT_EQ(pkLines->GetLinesData()->GetColors()[i], NiColorA(1, 1, 1, 1));
    }
    EXPECT_EQ(Segments(pkLines), (std::vector<uint16_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    // The bound is the cross's own: centre P, radius the arm length.
    ExpectNear(pkLines->GetLinesData()->GetBound().m_kCenter, NiPoint3(1, 2, 3));
    EXPECT_NEAR(pkLines->GetLinesData()->GetBound().m_fRadius, 2.0f, 1e-4f);

    // Alpha first, then vertex colour.
    std::vector<NiProperty*> kProperties;
    for (const NiRefPtr<NiProperty>& spProperty : pkNode->GetPropertyList())
        kProperties.push_back(spProperty);
    ASSERT_EQ(kProperties.size(), 2u);
    ASSERT_TRUE(NiDynamicCast<NiAlphaProperty>(kProperties[0]));
    EXPECT_EQ(kProperties[0]->GetFlags(), 0x00EC);
    EXPECT_TRUE(NiDynamicCast<NiVertexColorProperty>(kProperties[1]));

    const uint16_t usRevision = pkLines->GetLinesData()->GetRevision();
    pkProperty->SetPosition(10, 10, 10);
    pkProperty->SetRadius(0.5f);
    Show(pkProperty);
    Show(pkProperty);
    EXPECT_EQ(LinesOf(pkNode), pkLines);
    EXPECT_EQ(pkNode->GetChildCount(), 1u);
    EXPECT_EQ(m_spRoot->GetArrayCount(), 2u);
    EXPECT_EQ(pkLines->GetLinesData()->GetRevision(), usRevision + 2);
    ExpectNear(Vertices(pkLines)[1], NiPoint3(10, 10.5f, 10));
    ExpectBoundHoldsVertices(pkLines);
    EXPECT_NEAR(pkLines->GetLinesData()->GetBound().m_fRadius, 0.5f, 1e-4f);

    Show(pkProperty, false);
    EXPECT_TRUE(pkNode->GetAppCulled());
    pkProperty->DecRefCount();
    EXPECT_EQ(m_spRoot->GetChildCount(), 1u);
}

TEST_F(PropertyDisplayTest, SubclassesShowTheirFamilysDisplayAndADuplicateHasNone)
{
    struct Case
    {
        SKModelProperty* m_pkProperty;
        size_t m_uiVertices;
    };
    const Case akCases[] = {
        {HullProperty::Create("Hull"), SubsystemProperty::CROSS_VERTICES},
        {BlinkingLightProperty::Create("Light"), 6},
    };
    for (const Case& kCase : akCases)
    {
        Show(kCase.m_pkProperty);
        NiNode* pkNode = m_spRoot->GetArrayCount() > 1
                             ? NiDynamicCast<NiNode>(m_spRoot->GetAt(m_spRoot->GetArrayCount() - 1))
                             : nullptr;
        ASSERT_NE(pkNode, nullptr) << kCase.m_pkProperty->GetObjTypeName();
        ASSERT_NE(LinesOf(pkNode), nullptr);
        EXPECT_EQ(Vertices(LinesOf(pkNode)).size(), kCase.m_uiVertices);

        SKModelProperty* pkCopy = kCase.m_pkProperty->Duplicate();
        ASSERT_NE(pkCopy, nullptr);
        const uint32_t uiChildren = m_spRoot->GetChildCount();
        pkCopy->DecRefCount();
        EXPECT_EQ(m_spRoot->GetChildCount(), uiChildren);
        kCase.m_pkProperty->DecRefCount();
    }
    EXPECT_EQ(m_spRoot->GetChildCount(), 1u);
}
