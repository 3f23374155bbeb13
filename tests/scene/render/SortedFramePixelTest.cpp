// Blended objects of every drawable kind go through the alpha accumulator: a frame drawn on the
// OpenGL back end through the camera, read back from the front buffer.

#include "RenderTestModel.h"

#include "platform/d3d7/ScopedWorld.h"
#include "platform/win32/DebugOutputCapture.h"
#include "platform/win32/Window.h"
#include "scene/bezier/NiBezierRectangle2.h"
#include "scene/graph/NiAlphaAccumulator.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/graph/NiVertexColorProperty.h"
#include "scene/render/NiD3DDriverList.h"
#include "scene/render/NiD3DRender.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
constexpr uint32_t SIZE = 64;

NiVertexColorProperty* VertexColours()
{
    auto* pkProperty = new NiVertexColorProperty;
    pkProperty->SetLightingMode(NiVertexColorProperty::LIGHTING_E);
    pkProperty->SetSourceMode(NiVertexColorProperty::SOURCE_EMISSIVE);
    return pkProperty;
}

NiAlphaProperty* Blending()
{
    auto* pkAlpha = new NiAlphaProperty;
    pkAlpha->SetAlphaBlending(true);
    return pkAlpha;
}

NiColorA* Colours(int iCount, const NiColorA& kColour)
{
    auto* pkColours = new NiColorA[iCount];
    for (int i = 0; i < iCount; ++i)
        pkColours[i] = kColour;
    return pkColours;
}

// A square of half size h facing the camera at distance x, centred on the view's axis.
NiTriShape* Square(float fX, float fHalf, const NiColorA& kColour)
{
    return new NiTriShape(4, render_test::Square(fX, 0, 0, fHalf), nullptr, Colours(4, kColour), nullptr, 2,
                          render_test::NewArray<uint16_t>({0, 1, 2, 2, 1, 3}));
}

// A flat biquadratic patch of half size h at distance x, facing the camera, in one colour.
NiBezierRectangle2* FlatPatch(float fX, float fHalf, const NiColorA& kColour)
{
    auto* pkPoints = new NiPoint3[9];
    for (int j = 0; j < 3; ++j)
    {
        for (int i = 0; i < 3; ++i)
            pkPoints[i + 3 * j] = NiPoint3(fX, fHalf * float(j - 1), fHalf * float(i - 1));
    }
    auto* pkPatch = new NiBezierRectangle2(pkPoints, nullptr, Colours(9, kColour), false);
    pkPatch->SetLevel(1);
    return pkPatch;
}

struct Rgb
{
    int r, g, b;
};

::testing::AssertionResult Near(const NiRawImageData& kFrame, uint32_t x, uint32_t y, const Rgb& kExpected)
{
    const uint8_t* pucPixel = kFrame.GetPixels() + y * kFrame.GetRowStride() + x * kFrame.GetPixelStride();
    const Rgb kFound{pucPixel[0], pucPixel[1], pucPixel[2]};
    if (std::abs(kFound.r - kExpected.r) <= 4 && std::abs(kFound.g - kExpected.g) <= 4 &&
        std::abs(kFound.b - kExpected.b) <= 4)
    {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << x << ", " << y << ") is (" << kFound.r << ", " << kFound.g << ", " << kFound.b
           << "), not (" << kExpected.r << ", " << kExpected.g << ", " << kExpected.b << ")";
}
} // namespace

// Listed first, a half-transparent white patch still blends over the opaque red square behind
// it, and a half-transparent green square in front of it, listed before it, still blends over it.
TEST(SortedFramePixel, ABlendedBezierPatchIsDrawnSortedWithTheRest)
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

    NiRefPtr<NiNode> spScene = new NiNode;
    spScene->PrependProperty(VertexColours());
    // The green square covers the patch's upper half only.
    NiTriShape* pkGreen = Square(6, 1.5f, NiColorA(0, 1, 0, 0.5f));
    pkGreen->SetTranslate(NiPoint3(0, 1.5f, 0));
    pkGreen->PrependProperty(Blending());
    spScene->AddChild(pkGreen);
    NiBezierRectangle2* pkPatch = FlatPatch(8, 2, NiColorA(1, 1, 1, 0.5f));
    pkPatch->PrependProperty(Blending());
    spScene->AddChild(pkPatch);
    spScene->AddChild(Square(12, 7, NiColorA(1, 0, 0, 1)));
    spScene->UpdateSubtree(0.0f);
    spScene->RefreshPropertyStates();
    spScene->RefreshEffectStates();

    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 100.0f));
    spCamera->UpdateSubtree(0.0f);
    spCamera->SetRenderer(spRenderer);
    spCamera->SetScene(spScene);
    ASSERT_TRUE(spCamera->Clear(NiRender::CLEAR_BACKBUFFER | NiRender::CLEAR_ZBUFFER));
    spCamera->Render();
    ASSERT_TRUE(spCamera->PresentFrame());

    NiRefPtr<NiRawImageData> spFrame = spRenderer->GetFrontBufferImage();
    ASSERT_TRUE(spFrame);
    ASSERT_EQ(spFrame->GetWidth(), SIZE);
    // Red, half white over it, half green over that.
    EXPECT_TRUE(Near(*spFrame, SIZE / 2, SIZE / 4, {128, 192, 64}));
    // Below the green square: red under half white.
    EXPECT_TRUE(Near(*spFrame, SIZE / 2, 3 * SIZE / 4 - 4, {255, 128, 128}));
    // Beyond the patch, which covers the middle half of the view: red alone.
    EXPECT_TRUE(Near(*spFrame, 2, SIZE - 3, {255, 0, 0}));

    spCamera->SetScene(nullptr);
    spCamera->SetRenderer(nullptr);
    NiD3DDriverList::Forget();
}
