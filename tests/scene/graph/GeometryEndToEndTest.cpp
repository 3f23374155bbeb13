// The main road of the scene graph: a model built in code is saved as a .nif file and loaded
// back; after the load sequence a camera culls it and draws the opaque geometry, then the
// blended geometry back to front, and a ray through a window point picks a known triangle.

#include "GeometryTestHelpers.h"

#include "scene/graph/NiAlphaAccumulator.h"
#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiAmbientLight.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiDirectionalLight.h"
#include "scene/graph/NiEffectLists.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiMaterialProperty.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPicker.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/graph/NiTriShape.h"
#include "scene/graph/NiTriStrip.h"
#include "scene/graph/NiTriStrips.h"
#include "scene/graph/NiTriangles.h"
#include "tests/support/RecordingRender.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

using namespace geometry_test;

namespace
{
// A cube of half size h: 8 corners (index bits x 4, y 2, z 1), two triangles per face wound
// outwards. Face -x comes first: triangles (0, 1, 2) and (2, 1, 3).
NiTriShape* Cube(float fHalf)
{
    NiPoint3* pkCorner = new NiPoint3[8];
    for (uint16_t i = 0; i < 8; ++i)
        pkCorner[i] = NiPoint3(i & 4 ? fHalf : -fHalf, i & 2 ? fHalf : -fHalf, i & 1 ? fHalf : -fHalf);
    const std::array<std::array<uint16_t, 4>, 6> akFaces = {{
        {0, 1, 2, 3},
        {4, 5, 6, 7},
        {0, 1, 4, 5},
        {2, 3, 6, 7},
        {0, 2, 4, 6},
        {1, 3, 5, 7},
    }};
    uint16_t* pusList = new uint16_t[36];
    uint16_t* pusAt = pusList;
    for (const auto& kFace : akFaces)
    {
        uint16_t ausTriangles[6] = {kFace[0], kFace[1], kFace[2], kFace[2], kFace[1], kFace[3]};
        // Wind each face so that its normal points away from the centre.
        const NiPoint3 kNormal =
            (pkCorner[kFace[1]] - pkCorner[kFace[0]]).Cross(pkCorner[kFace[2]] - pkCorner[kFace[1]]);
        if (kNormal.DotProduct(pkCorner[kFace[0]]) < 0.0f)
        {
            std::swap(ausTriangles[1], ausTriangles[2]);
            std::swap(ausTriangles[4], ausTriangles[5]);
        }
        pusAt = std::copy(std::begin(ausTriangles), std::end(ausTriangles), pusAt);
    }
    NiTriShape* pkShape = new NiTriShape(8, pkCorner, nullptr, nullptr, nullptr, 12, pusList);
    pkShape->ComputeNormals();
    return pkShape;
}

// A square of half size h in the plane x = 0 facing -x.
NiTriShape* Pane(float fHalf)
{
    return new NiTriShape(4,
                          NewArray<NiPoint3>({NiPoint3(0, -fHalf, -fHalf), NiPoint3(0, -fHalf, fHalf),
                                              NiPoint3(0, fHalf, -fHalf), NiPoint3(0, fHalf, fHalf)}),
                          nullptr, nullptr, nullptr, 2, NewArray<uint16_t>({0, 1, 2, 2, 1, 3}));
}

NiAlphaProperty* Blending()
{
    NiAlphaProperty* pkAlpha = new NiAlphaProperty;
    pkAlpha->SetAlphaBlending(true);
    return pkAlpha;
}

// The ship, in front of a camera at the origin that looks along +x: a hull cube at x = 30,
// wings of strips beside it, a marker of plain triangles, a canopy pane (blended) in front of
// the hull and a shield pane (blended) behind it, and a tail behind the camera.
NiRefPtr<NiNode> BuildShip()
{
    NiRefPtr<NiNode> spShip = new NiNode;
    spShip->SetName("Ship");
    NiRefPtr<NiImage> spImage = new NiImage;
    spImage->SetRawImage(new NiRawImageData(NiRawImageData::FORMAT_RGB, 4, 4));
    NiTextureProperty* pkTexture = new NiTextureProperty;
    pkTexture->SetImage(spImage.Get());
    spShip->PrependProperty(pkTexture);

    NiAmbientLight* pkAmbient = new NiAmbientLight;
    NiDirectionalLight* pkSun = new NiDirectionalLight;
    spShip->AddChild(pkAmbient);
    spShip->AddChild(pkSun);
    spShip->AttachEffect(pkAmbient);
    spShip->AttachEffect(pkSun);

    NiNode* pkHull = new NiNode;
    pkHull->SetName("Hull");
    pkHull->SetTranslate(NiPoint3(30, 0, 0));
    NiTriShape* pkCube = Cube(3.0f);
    pkCube->SetName("HullMesh");
    pkCube->PrependProperty(new NiMaterialProperty);
    pkHull->AddChild(pkCube);
    spShip->AddChild(pkHull);

    NiNode* pkWings = new NiNode;
    pkWings->SetName("Wings");
    pkWings->SetTranslate(NiPoint3(30, 0, 0));
    NiPoint3* pkLeft = new NiPoint3[6];
    NiPoint3* pkRight = new NiPoint3[6];
    for (int i = 0; i < 6; ++i)
    {
        pkLeft[i] = NiPoint3(float(i / 2), float(i % 2), -6.0f);
        pkRight[i] = NiPoint3(float(i / 2), float(i % 2), 6.0f);
    }
    NiTriStrips* pkLeftWing =
        new NiTriStrips(6, pkLeft, nullptr, nullptr, nullptr, 4, 2, NewArray<uint16_t>({4, 4}),
                        NewArray<uint16_t>({0, 1, 2, 3, 2, 3, 4, 5}));
    pkLeftWing->SetName("LeftWing");
    NiTriStrip* pkRightWing = new NiTriStrip(pkRight, nullptr, nullptr, nullptr, 4);
    pkRightWing->SetName("RightWing");
    pkWings->AddChild(pkLeftWing);
    pkWings->AddChild(pkRightWing);
    spShip->AddChild(pkWings);

    NiTriangles* pkMarker =
        new NiTriangles(NewArray<NiPoint3>({NiPoint3(0, 0, 0), NiPoint3(0, 0, 0.5f), NiPoint3(0, 0.5f, 0)}),
                        nullptr, nullptr, nullptr, 1);
    pkMarker->SetName("Marker");
    pkMarker->SetTranslate(NiPoint3(25, 5, 0));
    spShip->AddChild(pkMarker);

    NiTriShape* pkCanopy = Pane(1.0f);
    pkCanopy->SetName("Canopy");
    pkCanopy->SetTranslate(NiPoint3(22, 0, 0));
    pkCanopy->PrependProperty(Blending());
    spShip->AddChild(pkCanopy);

    NiTriShape* pkShield = Pane(8.0f);
    pkShield->SetName("Shield");
    pkShield->SetTranslate(NiPoint3(45, 0, 0));
    pkShield->PrependProperty(Blending());
    spShip->AddChild(pkShield);

    NiTriShape* pkTail = Cube(1.0f);
    pkTail->SetName("Tail");
    pkTail->SetTranslate(NiPoint3(-20, 0, 0));
    spShip->AddChild(pkTail);
    return spShip;
}

NiGeometry* Named(NiNode* pkRoot, const char* pcName)
{
    return NiDynamicCast<NiGeometry>(pkRoot->FindObjectByName(pcName));
}
} // namespace

TEST(GeometryEndToEndTest, ModelSavedLoadedCulledDrawnAndPicked)
{
    // Images load through the renderer library's factory; a plain image stands in for it.
    struct FactoryScope
    {
        NiImage::CreateFunction m_pfnPrevious = NiImage::GetImageFactory();
        FactoryScope()
        {
            NiImage::SetImageFactory([]() { return new NiImage; });
        }
        ~FactoryScope() { NiImage::SetImageFactory(m_pfnPrevious); }
    } kFactory;
    TempFolder kFolder;
    const std::string kPath = kFolder.Path("ship.nif");
    {
        NiRefPtr<NiNode> spShip = BuildShip();
        NiStream kStream;
        kStream.AddTopObject(spShip);
        ASSERT_TRUE(kStream.SaveFile(kPath.c_str()));
    }

    NiStream kStream;
    ASSERT_TRUE(kStream.LoadFile(kPath.c_str())) << NiStream::GetLastErrorText();
    ASSERT_EQ(kStream.GetTopObjectCount(), 1u);
    NiRefPtr<NiNode> spShip(NiDynamicCast<NiNode>(kStream.GetTopObjectAt(0)));
    ASSERT_TRUE(spShip);
    {
        NiRefPtr<NiNode> spBuilt = BuildShip();
        EXPECT_TRUE(spShip->IsEquivalent(spBuilt));
    }
    spShip->UpdateSubtree(0.0f);
    spShip->RefreshPropertyStates();
    spShip->RefreshEffectStates();

    NiRefPtr<RecordingRender> spRenderer = new RecordingRender(640, 480);
    spRenderer->SetAccumulator(new NiAlphaAccumulator);
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 100.0f));
    spCamera->SetRenderer(spRenderer);
    spCamera->SetScene(spShip);
    spCamera->Clear(NiRender::CLEAR_BACKBUFFER | NiRender::CLEAR_ZBUFFER);
    spCamera->Render();
    spCamera->PresentFrame();

    // The draws: opaque geometry in scene order, then the blended panes far to near; the tail
    // behind the camera is culled.
    std::map<const void*, std::string> kNames;
    for (const char* pcName : {"HullMesh", "LeftWing", "RightWing", "Marker", "Canopy", "Shield", "Tail"})
        kNames[Named(spShip, pcName)->GetGeometryData()] = pcName;
    std::vector<std::string> kDraws;
    for (const RecordingRender::Call& kCall : spRenderer->GetCalls())
    {
        if (kCall.m_kName.rfind("Draw", 0) != 0)
            continue;
        kDraws.push_back(kCall.m_kName + " " + kNames[kCall.m_kObjects[0]]);
        // Every draw has the state the load sequence gave its geometry: the ship's texture, and
        // both lights.
        ASSERT_NE(kCall.m_pkTable, nullptr);
        EXPECT_NE(kCall.m_pkTable->GetTexture()->GetImageObject(), nullptr) << kDraws.back();
        ASSERT_NE(kCall.m_pkLists, nullptr);
        EXPECT_EQ(kCall.m_pkLists->GetLights().size(), 2u) << kDraws.back();
        const bool bBlended =
            kNames[kCall.m_kObjects[0]] == "Canopy" || kNames[kCall.m_kObjects[0]] == "Shield";
        EXPECT_EQ(kCall.m_pkTable->GetAlpha()->GetAlphaBlending(), bBlended) << kDraws.back();
    }
    EXPECT_EQ(kDraws, (std::vector<std::string>{"DrawTriShape HullMesh", "DrawTriStrips LeftWing",
                                                "DrawTriStrip RightWing", "DrawTriangles Marker",
                                                "DrawTriShape Shield", "DrawTriShape Canopy"}));
    const std::vector<std::string> kNamesInOrder = spRenderer->GetCallNames();
    EXPECT_EQ(kNamesInOrder.front(), "ClearViewport");
    EXPECT_EQ(kNamesInOrder.back(), "PresentFrame");

    // Window point (360, 200) looks through the hull's front face at (27, 2.25, 1.6875), past the
    // canopy: the second triangle of the face, 27 times the length of (1, 1/12, 1/16) away.
    NiPoint3 kOrigin, kDirection;
    ASSERT_TRUE(spCamera->RayFromWindowPoint(360, 200, kOrigin, kDirection));
    NiPicker kPicker;
    kPicker.SetTarget(spShip);
    kPicker.SetHitMode(NiPicker::FIND_FIRST);
    kPicker.SetWantNormal(true);
    ASSERT_TRUE(kPicker.Pick(kOrigin, kDirection, false));
    ASSERT_EQ(kPicker.GetCount(), 1u);
    const NiPicker::Record& kHit = *kPicker.GetAt(0);
    EXPECT_EQ(kHit.m_spObject, Named(spShip, "HullMesh"));
    EXPECT_EQ(kHit.m_usTriangle, 1);
    EXPECT_EQ((std::vector<uint16_t>{kHit.m_ausVertex[0], kHit.m_ausVertex[1], kHit.m_ausVertex[2]}),
              (std::vector<uint16_t>{2, 1, 3}));
    EXPECT_NEAR(kHit.m_fDistance, 27.0f * std::sqrt(1.0f + 1.0f / 144.0f + 1.0f / 256.0f), 1e-3f);
    ExpectPoint(kHit.m_kPoint, NiPoint3(27.0f, 2.25f, 1.6875f), 1e-3f);
    ExpectPoint(kHit.m_kNormal, NiPoint3(-1, 0, 0));
}
