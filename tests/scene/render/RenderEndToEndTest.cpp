// The renderer's main road: a model built in code is saved, loaded with the object stream,
// updated and drawn through the camera's frame (clear, render, present) by a renderer made the
// way the editor makes it.

#include "RenderLayerFixture.h"
#include "RenderTestModel.h"

#include "platform/d3d7/IDirect3DDevice7.h"
#include "scene/graph/NiAlphaAccumulator.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/object/NiStream.h"
#include "scene/render/NiD3DRender.h"
#include "scene/render/NiDDImage.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
NiRefPtr<NiNode> SaveAndLoad(NiNode* pkModel, const TempFolder& kFolder)
{
    NiStream kOut;
    kOut.AddTopObject(pkModel);
    EXPECT_TRUE(kOut.SaveFile(kFolder.Path("model.nif").c_str()));
    NiStream kIn;
    EXPECT_TRUE(kIn.LoadFile(kFolder.Path("model.nif").c_str()));
    EXPECT_EQ(kIn.GetTopObjectCount(), 1u);
    return NiDynamicCast<NiNode>(kIn.GetTopObjectAt(0));
}

// A texture .nif whose one object is an image naming another file.
void SaveImageNaming(const std::string& kPath, const std::string& kNamed)
{
    NiStream kOut;
    kOut.AddTopObject(
        NiImage::CreateFromFile(kNamed.c_str(), NiImage::MODE_OFF, NiImage::TEX_DEFAULT, NiImage::MODE_OFF));
    ASSERT_TRUE(kOut.SaveFile(kPath.c_str()));
}

uint32_t DrawFrame(RecordingWorld& kWorld, NiNode* pkModel, NiD3DRender* pkRenderer)
{
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 100.0f));
    spCamera->UpdateSubtree(0.0f);
    spCamera->SetRenderer(pkRenderer);
    spCamera->SetScene(pkModel);
    kWorld.World().ClearCalls();
    spCamera->Clear(NiRender::CLEAR_BACKBUFFER | NiRender::CLEAR_ZBUFFER);
    spCamera->Render();
    spCamera->PresentFrame();
    spCamera->SetScene(nullptr);
    spCamera->SetRenderer(nullptr);
    return kWorld.World().CountCalls("DrawIndexedPrimitiveVB");
}
} // namespace

TEST(RenderEndToEnd, ALoadedModelIsDrawnThroughTheCamera)
{
    RecordingWorld kWorld;
    win32::Window kWindow;
    kWindow.SetClientSize(64, 64);
    NiRefPtr<NiD3DRender> spRenderer =
        NiD3DRender::Create(0, 0, 0, NiD3DRender::CREATE_ZBUFFER, &kWindow, nullptr, nullptr);
    ASSERT_TRUE(spRenderer);
    NiImage::AddRenderer(spRenderer);

    TempFolder kFolder;
    NiRefPtr<NiNode> spModel = SaveAndLoad(render_test::BuildModel(), kFolder);
    ASSERT_TRUE(spModel);
    // The images came back as device images, through the factory the renderer installed.
    auto* pkTextured = NiDynamicCast<NiGeometry>(spModel->FindObjectByName("Textured"));
    ASSERT_TRUE(pkTextured);
    spModel->UpdateSubtree(0.0f);
    spModel->RefreshPropertyStates();
    spModel->RefreshEffectStates();

    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 100.0f));
    spCamera->UpdateSubtree(0.0f);
    spCamera->SetRenderer(spRenderer);
    spCamera->SetScene(spModel);
    spRenderer->SetAccumulator(new NiAlphaAccumulator);
    spRenderer->SetBackgroundColor(NiColor(0, 0, 0));

    kWorld.World().ClearCalls();
    ASSERT_TRUE(spCamera->Clear(NiRender::CLEAR_BACKBUFFER | NiRender::CLEAR_ZBUFFER));
    spCamera->Render();
    ASSERT_TRUE(spCamera->PresentFrame());
    EXPECT_EQ(kWorld.World().CountCalls("BeginScene"), 1u);
    EXPECT_EQ(kWorld.World().CountCalls("EndScene"), 1u);
    // Two shapes drawn indexed (the blended one after the opaque ones), the strip as one strip.
    EXPECT_GE(kWorld.World().CountCalls("DrawIndexedPrimitiveVB"), 3u);
    EXPECT_GE(kWorld.World().CountCalls("SetTexture"), 1u);
    EXPECT_GE(kWorld.World().CountCalls("LightEnable"), 2u);
    EXPECT_EQ(spRenderer->GetGeometryBufferCount(), 3u);

    // A second frame reuses every buffer.
    kWorld.World().ClearCalls();
    spCamera->Clear(NiRender::CLEAR_BACKBUFFER | NiRender::CLEAR_ZBUFFER);
    spCamera->Render();
    EXPECT_EQ(kWorld.World().CountCalls("CreateVertexBuffer"), 0u);

    spCamera->SetScene(nullptr);
    spCamera->SetRenderer(nullptr);
    spModel = nullptr;
    EXPECT_EQ(spRenderer->GetGeometryBufferCount(), 0u);
    NiImage::RemoveRenderer(spRenderer);
}

TEST(RenderEndToEnd, ATextureThatNamesItselfOrACycleIsMissingAndTheModelDraws)
{
    RecordingWorld kWorld;
    win32::Window kWindow;
    kWindow.SetClientSize(64, 64);
    NiRefPtr<NiD3DRender> spRenderer =
        NiD3DRender::Create(0, 0, 0, NiD3DRender::CREATE_ZBUFFER, &kWindow, nullptr, nullptr);
    ASSERT_TRUE(spRenderer);

    // Written while no renderer is listed, so nothing reads the textures yet: a.nif names
    // itself, b.nif and c.nif name each other.
    TempFolder kFolder;
    SaveImageNaming(kFolder.Path("a.nif"), kFolder.Path("a.nif"));
    SaveImageNaming(kFolder.Path("b.nif"), kFolder.Path("c.nif"));
    SaveImageNaming(kFolder.Path("c.nif"), kFolder.Path("b.nif"));
    NiRefPtr<NiNode> spBuilt = render_test::BuildModel();
    auto* pkTextured = NiDynamicCast<NiGeometry>(spBuilt->FindObjectByName("Textured"));
    ASSERT_TRUE(pkTextured);
    NiRefPtr<NiProperty> spTexture = pkTextured->FindProperty(NiProperty::TEXTURE);
    auto* pkTexture = NiDynamicCast<NiTextureProperty>(spTexture.Get());
    ASSERT_TRUE(pkTexture);
    pkTexture->SetImage(NiImage::CreateFromFile(kFolder.Path("a.nif").c_str(), NiImage::MODE_OFF,
                                                NiImage::TEX_DEFAULT, NiImage::MODE_OFF));
    auto* pkCycle = new NiTextureProperty;
    pkCycle->SetImage(NiImage::CreateFromFile(kFolder.Path("B.NIF").c_str(), NiImage::MODE_OFF,
                                              NiImage::TEX_DEFAULT, NiImage::MODE_OFF));
    spBuilt->FindObjectByName("Glass")->PrependProperty(pkCycle);

    // Loading prepares the images on the listed renderer, which reads the files behind them.
    NiImage::AddRenderer(spRenderer);
    NiRefPtr<NiNode> spModel = SaveAndLoad(spBuilt, kFolder);
    ASSERT_TRUE(spModel);
    EXPECT_EQ(NiImage::LoadRawFromFile(kFolder.Path("a.nif").c_str()), nullptr);
    spModel->UpdateSubtree(0.0f);
    spModel->RefreshPropertyStates();
    spModel->RefreshEffectStates();
    spRenderer->SetAccumulator(new NiAlphaAccumulator);
    EXPECT_GE(DrawFrame(kWorld, spModel, spRenderer), 3u);
    spModel = nullptr;
    NiImage::RemoveRenderer(spRenderer);
}
