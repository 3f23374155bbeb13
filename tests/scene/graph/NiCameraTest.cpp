#include "GeometryTestHelpers.h"

#include "scene/graph/NiCamera.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiTriShape.h"
#include "tests/support/RecordingRender.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

using namespace geometry_test;

namespace
{
// A shape of one triangle around the point, small enough to lie inside or outside planes.
NiTriShape* SmallShape(const NiPoint3& kAt)
{
    NiTriShape* pkShape = new NiTriShape(
        3, NewArray<NiPoint3>({NiPoint3(0, 0, 0.1f), NiPoint3(0, 0.1f, 0), NiPoint3(0, -0.1f, -0.1f)}),
        nullptr, nullptr, nullptr, 1, NewArray<uint16_t>({0, 1, 2}));
    pkShape->SetTranslate(kAt);
    return pkShape;
}

int32_t Side(const NiPlane& kPlane, const NiPoint3& kPoint)
{
    const float fDistance = kPlane.m_kNormal.DotProduct(kPoint) - kPlane.m_fConstant;
    return fDistance > 0.0f ? 1 : fDistance < 0.0f ? -1 : 0;
}
} // namespace

TEST(NiCameraTest, NewCameraLooksAlongXWithInwardPlanes)
{
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    ExpectPoint(spCamera->GetWorldDirection(), NiPoint3::UNIT_X);
    ExpectPoint(spCamera->GetWorldUpVector(), NiPoint3::UNIT_Y);
    ExpectPoint(spCamera->GetWorldRightVector(), NiPoint3::UNIT_Z);
    NiPoint3 kLeft(0.5f, 0.0f, 1.0f);
    kLeft.Unitize();
    ExpectPoint(spCamera->GetPlane(NiCamera::LEFT_PLANE).m_kNormal, kLeft);

    for (uint32_t i = 0; i < NiCamera::FRUSTUM_PLANES; ++i)
        EXPECT_EQ(Side(spCamera->GetPlane(i), NiPoint3(1.5f, 0, 0)), 1) << i;
    EXPECT_EQ(Side(spCamera->GetPlane(NiCamera::NEAR_PLANE), NiPoint3(0.5f, 0, 0)), -1);
    EXPECT_EQ(Side(spCamera->GetPlane(NiCamera::LEFT_PLANE), NiPoint3(1.5f, 0, -5)), -1);
}

TEST(NiCameraTest, FrameRunsThroughTheRendererInOrder)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 100.0f));
    NiRefPtr<NiNode> spScene = new NiNode;
    spScene->AddChild(SmallShape(NiPoint3(10, 0, 0)));
    spScene->UpdateSubtree(0.0f);
    spCamera->SetScene(spScene);

    // Without a renderer nothing happens.
    spCamera->Render();
    EXPECT_FALSE(spCamera->Clear(5));

    spCamera->SetRenderer(spRenderer);
    spCamera->Clear(5);
    spCamera->Render();
    spCamera->PresentFrame();
    EXPECT_EQ(spRenderer->GetCallNames(),
              (std::vector<std::string>{"ClearViewport", "SetCameraFrame", "OpenScene", "SetClipPlanes",
                                        "SetObjectTransform", "DrawTriShape", "SetProjectionMode",
                                        "RestoreProjection", "CloseScene", "PresentFrame"}));
    // Flags 5 over the camera's whole-screen viewport.
    EXPECT_EQ(spRenderer->FindLastCall("ClearViewport")->m_kValues, (std::vector<double>{5, 0, 1, 1, 0}));
}

TEST(NiCameraTest, CullingSkipsObjectsOutsideAndAcceptedPlanesOnlyForTheSubtree)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 100.0f));
    spCamera->SetRenderer(spRenderer);
    NiRefPtr<NiNode> spScene = new NiNode;
    NiTriShape* pkInside = SmallShape(NiPoint3(10, 0, 0));
    spScene->AddChild(pkInside);
    spScene->AddChild(SmallShape(NiPoint3(10, 0, 50))); // far to the right
    spScene->AddChild(SmallShape(NiPoint3(-10, 0, 0))); // behind
    spScene->UpdateSubtree(0.0f);
    spCamera->SetScene(spScene);
    spCamera->Render();
    EXPECT_EQ(spRenderer->CountCalls("DrawTriShape"), 1u);
    EXPECT_EQ(spRenderer->FindLastCall("DrawTriShape")->m_kObjects[0], pkInside->GetGeometryData());
    // Every plane accepted the inside shape: none is passed on for clipping; the mask is clear
    // again after the frame.
    EXPECT_EQ(spRenderer->FindLastCall("SetClipPlanes")->m_kValues[0], 0.0);
    for (uint32_t i = 0; i < NiCamera::MASK_WORDS; ++i)
        EXPECT_EQ(spCamera->GetActivePlaneMask()[i], 0u);
}

TEST(NiCameraTest, WindowPointsBecomeRaysThroughTheViewport)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender(640, 480);
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    NiPoint3 kOrigin, kDirection;
    EXPECT_FALSE(spCamera->RayFromWindowPoint(320, 240, kOrigin, kDirection));
    spCamera->SetRenderer(spRenderer);
    ASSERT_TRUE(spCamera->RayFromWindowPoint(320, 240, kOrigin, kDirection));
    ExpectPoint(kDirection, spCamera->GetWorldDirection());
    ExpectPoint(kOrigin, spCamera->GetWorldLocation());

    // The top-left pixel is the frustum's top-left corner.
    ASSERT_TRUE(spCamera->RayFromWindowPoint(0, 0, kOrigin, kDirection));
    NiPoint3 kCorner(1.0f, 0.5f, -0.5f);
    kCorner.Unitize();
    ExpectPoint(kDirection, kCorner);

    // A viewport over the right half of the screen: a point in the left half is outside it.
    spCamera->SetViewPort(NiRect<float>(0.5f, 1.0f, 1.0f, 0.0f));
    EXPECT_FALSE(spCamera->RayFromWindowPoint(100, 240, kOrigin, kDirection));
    EXPECT_TRUE(spCamera->RayFromWindowPoint(480, 240, kOrigin, kDirection));
    ExpectPoint(kDirection, spCamera->GetWorldDirection());
}

TEST(NiCameraTest, ProjectionsOfPointsAndSpheres)
{
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 11.0f));
    float fX, fY;
    ASSERT_TRUE(spCamera->WorldPointToViewport(NiPoint3(4, 1, 2), fX, fY));
    EXPECT_NEAR(fX, 1.0f, 1e-6f); // right edge: z / depth = 0.5
    EXPECT_NEAR(fY, 0.75f, 1e-6f);
    EXPECT_FALSE(spCamera->WorldPointToViewport(NiPoint3(-4, 0, 0), fX, fY));
    EXPECT_FALSE(spCamera->WorldPointToViewport(NiPoint3(4, 3, 0), fX, fY));

    NiBoundingSphere kSphere;
    kSphere.m_kCenter = NiPoint3(5, 0, 0);
    kSphere.m_fRadius = 1.0f;
    spCamera->GetScreenRadius(kSphere, fX, fY);
    EXPECT_NEAR(fX, 0.4f, 1e-6f);
    kSphere.m_kCenter = NiPoint3(0, 3, 0);
    spCamera->GetScreenRadius(kSphere, fX, fY);
    EXPECT_EQ(fX, FLT_MAX);

    // A sphere in front covers its own part of the screen; one across the camera plane all of it.
    NiPoint3 kMin, kMax;
    kSphere.m_kCenter = NiPoint3(6, 0, 0);
    spCamera->GetSphereScreenBox(kSphere, kMin, kMax);
    EXPECT_GT(kMin.x, -1.0f);
    EXPECT_LT(kMax.x, 1.0f);
    EXPECT_NEAR(kMin.z, 0.4f, 1e-6f);
    EXPECT_NEAR(kMax.z, 0.6f, 1e-6f);
    kSphere.m_kCenter = NiPoint3(0.5f, 0, 0);
    spCamera->GetSphereScreenBox(kSphere, kMin, kMax);
    ExpectPoint(kMin, NiPoint3(-1, -1, 0));
    EXPECT_EQ(kMax.x, 1.0f);
    EXPECT_EQ(kMax.y, 1.0f);
}

TEST(NiCameraTest, LookAtTurnsTheCameraOrRefuses)
{
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    EXPECT_FALSE(spCamera->LookAt(NiPoint3(10, 0, 0), NiPoint3::UNIT_X));    // up along the view line
    EXPECT_FALSE(spCamera->LookAt(NiPoint3(1e-6f, 0, 0), NiPoint3::UNIT_Y)); // target at the camera
    ExpectPoint(spCamera->GetWorldDirection(), NiPoint3::UNIT_X);

    ASSERT_TRUE(spCamera->LookAt(NiPoint3(0, 0, -10), NiPoint3::UNIT_Y));
    ExpectPoint(spCamera->GetWorldDirection(), NiPoint3(0, 0, -1));
    ExpectPoint(spCamera->GetWorldUpVector(), NiPoint3::UNIT_Y);
    ExpectPoint(spCamera->GetWorldRightVector(), NiPoint3::UNIT_X);

    // Under a turned parent the local rotation undoes the parent's.
    NiRefPtr<NiNode> spParent = new NiNode;
    spParent->SetRotate(NiRotationMatrix(0, -1, 0, 1, 0, 0, 0, 0, 1));
    NiCamera* pkChild = new NiCamera;
    spParent->AddChild(pkChild);
    spParent->UpdateSubtree(0.0f);
    ASSERT_TRUE(pkChild->LookAt(NiPoint3(0, 0, -10), NiPoint3::UNIT_Y));
    ExpectPoint(pkChild->GetWorldDirection(), NiPoint3(0, 0, -1));
    ExpectPoint(pkChild->GetWorldUpVector(), NiPoint3::UNIT_Y);
}

TEST(NiCameraTest, FitNearAndFarAroundASphere)
{
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    NiBoundingSphere kSphere;
    kSphere.m_kCenter = NiPoint3(-10, 0, 0);
    kSphere.m_fRadius = 1.0f;
    EXPECT_FALSE(spCamera->FitNearAndFar(kSphere));

    kSphere.m_kCenter = NiPoint3(10, 0, 0);
    ASSERT_TRUE(spCamera->FitNearAndFar(kSphere));
    EXPECT_FLOAT_EQ(spCamera->GetFrustum().m_fNear, 9.0f);
    EXPECT_FLOAT_EQ(spCamera->GetFrustum().m_fFar, 11.0f);

    // Around the camera: near is raised to far / 10000 or 0.1, whichever is larger.
    kSphere.m_kCenter = NiPoint3::ZERO;
    kSphere.m_fRadius = 5000.0f;
    ASSERT_TRUE(spCamera->FitNearAndFar(kSphere));
    EXPECT_FLOAT_EQ(spCamera->GetFrustum().m_fNear, 0.5f);
    kSphere.m_fRadius = 50.0f;
    ASSERT_TRUE(spCamera->FitNearAndFar(kSphere));
    EXPECT_FLOAT_EQ(spCamera->GetFrustum().m_fNear, 0.1f);
    // The planes follow.
    EXPECT_EQ(Side(spCamera->GetPlane(NiCamera::FAR_PLANE), NiPoint3(49, 0, 0)), 1);
    EXPECT_EQ(Side(spCamera->GetPlane(NiCamera::FAR_PLANE), NiPoint3(51, 0, 0)), -1);
}

TEST(NiCameraTest, RoundTripKeepsTheViewButNotTheRenderer)
{
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetFrustum(NiFrustum(-0.25f, 0.75f, 0.4f, -0.3f, 2.0f, 50.0f));
    spCamera->SetViewPort(NiRect<float>(0.1f, 0.9f, 0.8f, 0.2f));
    spCamera->SetLODAdjust(2.5f);
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    spCamera->SetRenderer(spRenderer);
    NiNode* pkScene = new NiNode;
    spCamera->SetScene(pkScene);

    NiRefPtr<NiCamera> spLoaded = NifTest::RoundTrip<NiCamera>(spCamera);
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spCamera));
    EXPECT_EQ(spLoaded->GetFrustum(), spCamera->GetFrustum());
    EXPECT_EQ(spLoaded->GetViewPort(), spCamera->GetViewPort());
    EXPECT_EQ(spLoaded->GetLODAdjust(), 2.5f);
    EXPECT_EQ(spLoaded->GetRenderer(), nullptr);
    ASSERT_NE(spLoaded->GetScene(), nullptr);
    EXPECT_NE(spLoaded->GetScene(), pkScene);

    NiFieldStringList kLines;
    spLoaded->AddFieldStrings(kLines);
    EXPECT_NE(std::find(kLines.begin(), kLines.end(),
                        "m_frustum = (N=2.000000,F=50.000000,L=-0.250000,R=0.750000,T=0.400000,B=-0.300000)"),
              kLines.end());
}

TEST(NiCameraTest, FileThatClosesALoopOfReferencesLoadsWithoutIt)
{
    // The camera sits in the scene it draws: camera -> scene -> camera.
    NiRefPtr<NiNode> spScene = new NiNode;
    NiCamera* pkCamera = new NiCamera;
    spScene->AddChild(pkCamera);
    pkCamera->SetScene(spScene);
    std::vector<char> kBuffer = NifTest::Save({spScene});
    pkCamera->SetScene(nullptr); // let the built scene go

    const int32_t iLiveBefore = NiObject::GetLiveObjectCount();
    {
        NiRefPtr<NiNode> spLoaded = LoadFirst<NiNode>(std::string(kBuffer.begin(), kBuffer.end()));
        ASSERT_TRUE(spLoaded);
        NiCamera* pkLoaded = NiDynamicCast<NiCamera>(spLoaded->GetAt(0));
        ASSERT_TRUE(pkLoaded);
        EXPECT_EQ(pkLoaded->GetScene(), nullptr);
    }
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iLiveBefore);

    // Screen polygon slots take screen polygons only: a file naming the camera's scene node
    // there loads with the slot empty.
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetScene(new NiNode);
    spCamera->AddScreenPolygon(new NiScreenPolygon);
    std::vector<char> kSaved = NifTest::Save({spCamera});
    // Camera 1, scene 2, polygon 3: scene id, renderer id, one polygon, its id.
    const uint32_t auiTail[] = {2, 0, 1, 3};
    std::string kBytes(kSaved.begin(), kSaved.end());
    const size_t uiTail = kBytes.find(std::string(reinterpret_cast<const char*>(auiTail), sizeof(auiTail)));
    ASSERT_NE(uiTail, std::string::npos);
    const uint32_t uiSceneID = 2;
    kBytes.replace(uiTail + 12, 4, reinterpret_cast<const char*>(&uiSceneID), 4);
    NiRefPtr<NiCamera> spLoaded = LoadFirst<NiCamera>(kBytes);
    ASSERT_TRUE(spLoaded);
    EXPECT_EQ(spLoaded->GetScreenPolygonCount(), 1u);
    EXPECT_EQ(spLoaded->GetScreenPolygonAt(0), nullptr);
}
