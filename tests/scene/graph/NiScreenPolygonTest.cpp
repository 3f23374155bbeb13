#include "GeometryTestHelpers.h"

#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiScreenPolygon.h"
#include "tests/support/RecordingRender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace geometry_test;

namespace
{
const NiPoint3 akCorners[] = {NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(1, 1, 0), NiPoint3(0, 1, 0)};
const NiTexCoord akTextures[] = {NiTexCoord(0, 0), NiTexCoord(1, 0), NiTexCoord(1, 1), NiTexCoord(0, 1)};
} // namespace

TEST(NiScreenPolygonTest, CameraDrawsItsPolygonsOverTheSceneWithTheirOwnState)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetRenderer(spRenderer);
    NiScreenPolygon* pkPanel = new NiScreenPolygon(4, akCorners, akTextures, nullptr);
    spCamera->AddScreenPolygon(pkPanel);
    spCamera->Render();

    std::vector<std::string> kNames = spRenderer->GetCallNames();
    const auto itDraw = std::find(kNames.begin(), kNames.end(), "DrawScreenPolygon");
    ASSERT_NE(itDraw, kNames.end());
    EXPECT_EQ(*(itDraw - 1), "SetProjectionMode");
    EXPECT_EQ(*(itDraw + 1), "RestoreProjection");
    const RecordingRender::Call* pkCall = spRenderer->FindLastCall("DrawScreenPolygon");
    EXPECT_EQ(pkCall->m_kValues, std::vector<double>{4.0});
    EXPECT_EQ(pkCall->m_kObjects,
              (std::vector<const void*>{pkPanel->GetVertices(), pkPanel->GetTextures(), nullptr}));
    EXPECT_EQ(pkCall->m_pkTable, pkPanel->GetPropertyTable());

    // On its own the polygon switches the projection itself.
    spRenderer->ClearCalls();
    pkPanel->DrawStandalone(spRenderer);
    EXPECT_EQ(spRenderer->GetCallNames(),
              (std::vector<std::string>{"SetProjectionMode", "DrawScreenPolygon", "RestoreProjection"}));
}

TEST(NiScreenPolygonTest, RecordKeepsArraysAndFifteenPropertiesAndComparesThemByIdentity)
{
    NiRefPtr<NiScreenPolygon> spPlain = new NiScreenPolygon(4, akCorners, nullptr, nullptr);
    const std::vector<char> kSaved = NifTest::Save({spPlain});
    const std::string kBytes(kSaved.begin(), kSaved.end());
    // After the positions: two absent arrays, then fifteen property ids.
    std::string kTail(reinterpret_cast<const char*>(akCorners), sizeof(akCorners));
    const uint32_t auiWords[] = {0, 0, 15};
    kTail.append(reinterpret_cast<const char*>(auiWords), sizeof(auiWords));
    EXPECT_NE(kBytes.find(kTail), std::string::npos);
    NiRefPtr<NiScreenPolygon> spLoaded = LoadFirst<NiScreenPolygon>(kBytes);
    ASSERT_TRUE(spLoaded);
    EXPECT_EQ(spLoaded->GetTextures(), nullptr);
    EXPECT_EQ(spLoaded->GetColors(), nullptr);
    EXPECT_EQ(std::vector<NiPoint3>(spLoaded->GetVertices(), spLoaded->GetVertices() + 4),
              std::vector<NiPoint3>(std::begin(akCorners), std::end(akCorners)));

    // Loaded properties fill their slots; equal ones are not the same ones.
    NiRefPtr<NiScreenPolygon> spPanel = new NiScreenPolygon(4, akCorners, akTextures, nullptr);
    NiAlphaProperty* pkAlpha = new NiAlphaProperty;
    pkAlpha->SetAlphaBlending(true);
    spPanel->GetPropertyTable()->SetProperty(pkAlpha);
    NiRefPtr<NiScreenPolygon> spPanelLoaded = NifTest::RoundTrip<NiScreenPolygon>(spPanel.Get());
    ASSERT_TRUE(spPanelLoaded);
    const NiAlphaProperty* pkLoadedAlpha = spPanelLoaded->GetPropertyTable()->GetAlpha();
    EXPECT_NE(pkLoadedAlpha, pkAlpha);
    EXPECT_TRUE(pkLoadedAlpha->IsEquivalent(pkAlpha));
    EXPECT_FALSE(spPanelLoaded->IsEquivalent(spPanel));

    // A clone shares the properties and owns its arrays.
    NiRefPtr<NiScreenPolygon> spClone = NiDynamicCast<NiScreenPolygon>(spPanel->Clone());
    ASSERT_TRUE(spClone);
    EXPECT_TRUE(spClone->IsEquivalent(spPanel));
    EXPECT_NE(spClone->GetPropertyTable(), spPanel->GetPropertyTable());
    spClone->GetVertices()[0] = NiPoint3(5, 5, 5);
    EXPECT_EQ(spPanel->GetVertices()[0], NiPoint3::ZERO);
    EXPECT_FALSE(spClone->IsEquivalent(spPanel));
}
