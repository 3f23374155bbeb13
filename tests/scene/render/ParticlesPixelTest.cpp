// Particles and a camera's screen polygon drawn on the OpenGL back end through the camera's
// frame, read back from the front buffer.

#include "platform/d3d7/ScopedWorld.h"
#include "platform/win32/DebugOutputCapture.h"
#include "platform/win32/Window.h"
#include "scene/graph/NiAlphaAccumulator.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiParticles.h"
#include "scene/graph/NiParticlesData.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/graph/NiScreenPolygon.h"
#include "scene/graph/NiVertexColorProperty.h"
#include "scene/object/NiColor.h"
#include "scene/render/NiD3DDriverList.h"
#include "scene/render/NiD3DRender.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
constexpr uint32_t SIZE = 64;

// Unlit, showing the vertex colours.
NiVertexColorProperty* VertexColours()
{
    NiVertexColorProperty* pkProperty = new NiVertexColorProperty;
    pkProperty->SetLightingMode(NiVertexColorProperty::LIGHTING_E);
    pkProperty->SetSourceMode(NiVertexColorProperty::SOURCE_EMISSIVE);
    return pkProperty;
}

std::vector<uint8_t> RgbAt(const NiRawImageData& kImage, uint32_t x, uint32_t y)
{
    const uint8_t* pucPixel = kImage.GetPixels() + y * kImage.GetRowStride() + x * kImage.GetPixelStride();
    return {pucPixel[0], pucPixel[1], pucPixel[2]};
}
} // namespace

TEST(ParticlesPixel, ParticlesAndTheScreenPolygonReachTheFrame)
{
    win32::DebugOutputCapture kQuiet;
    d3d7::ScopedWorld kScope(std::make_shared<d3d7::World>(d3d7::Backend::OpenGL));
    NiD3DDriverList::Forget();
    win32::Window kWindow;
    kWindow.SetClientSize(SIZE, SIZE);
    NiRefPtr<NiD3DRender> spRenderer =
        NiD3DRender::Create(0, 0, 0, NiD3DRender::CREATE_ZBUFFER, &kWindow, nullptr, nullptr);
    ASSERT_TRUE(spRenderer);
    spRenderer->SetBackgroundColor(NiColor(0, 0, 0));
    spRenderer->SetAccumulator(new NiAlphaAccumulator);

    // Two green particles ahead of the camera (which looks along +x, with +y up and +z to the
    // right), the second left dead; a red screen polygon over the left quarter of the view.
    NiRefPtr<NiNode> spScene = new NiNode;
    NiParticlesData* pkData = new NiParticlesData(2, new NiPoint3[2]{{10, 0, 0}, {10, 0, 4}}, nullptr,
                                                  new NiColorA[2]{{0, 1, 0, 1}, {0, 1, 0, 1}});
    pkData->SetRadius(1.0f);
    pkData->SetActiveCount(1);
    NiParticles* pkParticles = new NiParticles(pkData);
    pkParticles->PrependProperty(VertexColours());
    spScene->AddChild(pkParticles);
    spScene->UpdateSubtree(0.0f);
    spScene->RefreshPropertyStates();
    spScene->RefreshEffectStates();

    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 100.0f));
    spCamera->UpdateSubtree(0.0f);
    const NiPoint3 akCorners[] = {{0, 0, 0}, {0.25f, 0, 0}, {0.25f, 1, 0}, {0, 1, 0}};
    const NiColorA akRed[] = {{1, 0, 0, 1}, {1, 0, 0, 1}, {1, 0, 0, 1}, {1, 0, 0, 1}};
    NiScreenPolygon* pkPolygon = new NiScreenPolygon(4, akCorners, nullptr, akRed);
    pkPolygon->GetPropertyTable()->SetProperty(VertexColours());
    spCamera->AddScreenPolygon(pkPolygon);
    spCamera->SetRenderer(spRenderer);
    spCamera->SetScene(spScene);
    ASSERT_TRUE(spCamera->Clear(NiRender::CLEAR_BACKBUFFER | NiRender::CLEAR_ZBUFFER));
    spCamera->Render();
    ASSERT_TRUE(spCamera->PresentFrame());

    NiRefPtr<NiRawImageData> spFrame = spRenderer->GetFrontBufferImage();
    ASSERT_TRUE(spFrame);
    ASSERT_EQ(spFrame->GetWidth(), SIZE);
    const std::vector<uint8_t> kGreen{0, 255, 0}, kRed{255, 0, 0}, kBlack{0, 0, 0};
    // The live particle is a sprite of radius 1 at distance 10: a fifth of the view wide.
    EXPECT_EQ(RgbAt(*spFrame, SIZE / 2, SIZE / 2), kGreen);
    EXPECT_EQ(RgbAt(*spFrame, SIZE / 2 + 4, SIZE / 2 - 4), kGreen);
    // The dead one, 4 to the right of it, is not drawn.
    EXPECT_EQ(RgbAt(*spFrame, SIZE / 2 + 26, SIZE / 2), kBlack);
    // The polygon covers the left quarter from top to bottom and nothing right of it.
    EXPECT_EQ(RgbAt(*spFrame, 2, 2), kRed);
    EXPECT_EQ(RgbAt(*spFrame, 2, SIZE - 3), kRed);
    EXPECT_EQ(RgbAt(*spFrame, SIZE / 4 + 3, 2), kBlack);
    EXPECT_EQ(RgbAt(*spFrame, SIZE - 3, SIZE - 3), kBlack);

    spCamera->SetScene(nullptr);
    spCamera->SetRenderer(nullptr);
    NiD3DDriverList::Forget();
}
