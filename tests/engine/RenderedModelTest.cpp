// The renderer's main road on the OpenGL back end, with the engine brought up the one way: a
// model built in code (its base texture in an image file beside it) is saved, loaded with the
// object stream, updated and drawn offscreen through the camera; the system services' screenshot
// of the frame matches a reference kept beside this test.
#include "engine/EngineStartup.h"

#include "tests/scene/render/ImageFileWriters.h"
#include "tests/scene/render/RenderTestModel.h"

#include "core/SKSystemWrapperClass.h"
#include "platform/d3d7/ScopedWorld.h"
#include "platform/win32/DebugOutputCapture.h"
#include "scene/graph/NiAlphaAccumulator.h"
#include "scene/graph/NiCamera.h"
#include "scene/object/NiStream.h"
#include "scene/render/LoadImageFile.h"
#include "scene/render/NiD3DDriverList.h"
#include "scene/render/NiD3DRender.h"
#include "scene/render/NiDDImage.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{
constexpr int32_t SIZE = 64;

const std::string& ReferencePath()
{
    static const std::string kPath =
        std::string(FITWRIGHT_SOURCE_DIR) + "/tests/engine/data/RenderedModel.tga";
    return kPath;
}

// The engine up in a start-up folder of its own on an OpenGL world, a window of SIZE x SIZE and a
// renderer made for it the way the editor makes one.
struct RenderedEngine
{
    RenderedEngine() : m_kScope(std::make_shared<d3d7::World>(d3d7::Backend::OpenGL))
    {
        NiD3DDriverList::Forget();
        std::filesystem::create_directory(m_kFolder.Path("Scripts"));
        m_kFolder.WriteFile("Scripts/App.py",
                            TempFolder::ReadFile(std::string(FITWRIGHT_SOURCE_DIR) + "/data/Scripts/App.py"));
        EXPECT_TRUE(EngineStartup::Startup(m_kFolder.Path().c_str()));
        m_kWindow.SetClientSize(SIZE, SIZE);
        m_spRenderer =
            NiD3DRender::Create(0, 0, 0, NiD3DRender::CREATE_ZBUFFER, &m_kWindow, nullptr, nullptr);
        if (m_spRenderer)
            NiImage::AddRenderer(m_spRenderer);
        g_kSystemWrapper.SetWindowAndRenderer(&m_kWindow, m_spRenderer);
        g_kSystemWrapper.SetDefaultScreenShotPath(m_kFolder.Path().c_str());
    }
    ~RenderedEngine()
    {
        g_kSystemWrapper.SetWindowAndRenderer(nullptr, nullptr);
        if (m_spRenderer)
            NiImage::RemoveRenderer(m_spRenderer);
        m_spRenderer = nullptr;
        EngineStartup::Shutdown();
        NiD3DDriverList::Forget();
    }

    // One frame of the scene (which may be null) through a camera at the origin looking along +x.
    void DrawFrame(NiNode* pkScene)
    {
        NiRefPtr<NiCamera> spCamera = new NiCamera;
        spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 100.0f));
        spCamera->UpdateSubtree(0.0f);
        spCamera->SetRenderer(m_spRenderer);
        spCamera->SetScene(pkScene);
        m_spRenderer->SetAccumulator(new NiAlphaAccumulator);
        ASSERT_TRUE(spCamera->Clear(NiRender::CLEAR_BACKBUFFER | NiRender::CLEAR_ZBUFFER));
        spCamera->Render();
        ASSERT_TRUE(spCamera->PresentFrame());
        spCamera->SetScene(nullptr);
        spCamera->SetRenderer(nullptr);
    }

    // The screenshot of the frame, written by the system services and read back.
    bool Screenshot(int32_t iFormat, const char* pcName, NiRawImageData& kShot)
    {
        g_kSystemWrapper.TakeScreenshot(iFormat, pcName);
        return LoadImageFile(m_kFolder.Path(pcName).c_str(), kShot);
    }

    win32::DebugOutputCapture m_kQuiet;
    d3d7::ScopedWorld m_kScope;
    TempFolder m_kFolder;
    win32::Window m_kWindow;
    NiRefPtr<NiD3DRender> m_spRenderer;
};

// Pixels differing by more than a few steps of any channel; rasterisers may round edges apart.
uint32_t CountDifferent(const NiRawImageData& kA, const NiRawImageData& kB)
{
    uint32_t uiDifferent = 0;
    for (uint32_t y = 0; y < kA.GetHeight(); ++y)
    {
        for (uint32_t x = 0; x < kA.GetWidth(); ++x)
        {
            const std::vector<uint8_t> kPixelA = imagefiles::PixelAt(kA, x, y);
            const std::vector<uint8_t> kPixelB = imagefiles::PixelAt(kB, x, y);
            for (int c = 0; c < 3; ++c)
            {
                if (std::abs(int(kPixelA[c]) - int(kPixelB[c])) > 6)
                {
                    ++uiDifferent;
                    break;
                }
            }
        }
    }
    return uiDifferent;
}
} // namespace

TEST(RenderedModel, ALoadedTexturedModelMatchesItsReferenceAndAnEmptySceneIsTheClearColour)
{
    RenderedEngine kEngine;
    ASSERT_TRUE(kEngine.m_spRenderer);
    kEngine.m_spRenderer->SetBackgroundColor(NiColor(0.0f, 0.0f, 0.2f));

    // The base texture comes from a file, which the start-up path's image services read.
    NiRefPtr<NiNode> spBuilt = render_test::BuildModel();
    {
        NiRefPtr<NiRawImageData> spTexels = new NiRawImageData(NiRawImageData::FORMAT_RGB, 2, 2);
        const uint8_t aucPixels[12] = {255, 255, 0, 0, 255, 255, 0, 255, 255, 255, 255, 0};
        std::copy(aucPixels, aucPixels + 12, spTexels->GetPixels());
        kEngine.m_kFolder.WriteFile("checker.tga", imagefiles::MakeTga(*spTexels, 2));
        auto* pkTextured = NiDynamicCast<NiGeometry>(spBuilt->FindObjectByName("Textured"));
        ASSERT_TRUE(pkTextured);
        auto* pkTexture =
            NiDynamicCast<NiTextureProperty>(pkTextured->FindProperty(NiProperty::TEXTURE).Get());
        ASSERT_TRUE(pkTexture);
        pkTexture->SetImage(NiImage::CreateFromFile(kEngine.m_kFolder.Path("checker.tga").c_str(),
                                                    NiImage::MODE_OFF, NiImage::TEX_DEFAULT,
                                                    NiImage::MODE_OFF));
    }
    {
        NiStream kOut;
        kOut.AddTopObject(spBuilt);
        ASSERT_TRUE(kOut.SaveFile(kEngine.m_kFolder.Path("model.nif").c_str()));
    }
    spBuilt = nullptr;
    NiStream kIn;
    ASSERT_TRUE(kIn.LoadFile(kEngine.m_kFolder.Path("model.nif").c_str()));
    NiRefPtr<NiNode> spModel = NiDynamicCast<NiNode>(kIn.GetTopObjectAt(0));
    ASSERT_TRUE(spModel);
    auto* pkTextured = NiDynamicCast<NiGeometry>(spModel->FindObjectByName("Textured"));
    ASSERT_TRUE(pkTextured);
    auto* pkTexture = NiDynamicCast<NiTextureProperty>(pkTextured->FindProperty(NiProperty::TEXTURE).Get());
    ASSERT_TRUE(pkTexture && NiDynamicCast<NiDDImage>(pkTexture->GetImageObject()));
    spModel->UpdateSubtree(0.0f);
    spModel->RefreshPropertyStates();
    spModel->RefreshEffectStates();

    kEngine.DrawFrame(spModel);
    NiRawImageData kShot;
    ASSERT_TRUE(kEngine.Screenshot(SKSystemWrapperClass::IMAGE_FORMAT_TGA, "model.tga", kShot));
    ASSERT_EQ(kShot.GetWidth(), uint32_t(SIZE));
    ASSERT_EQ(kShot.GetHeight(), uint32_t(SIZE));
    if (std::getenv("FITWRIGHT_WRITE_REFERENCES"))
        std::filesystem::copy_file(kEngine.m_kFolder.Path("model.tga"), ReferencePath(),
                                   std::filesystem::copy_options::overwrite_existing);
    NiRawImageData kReference;
    ASSERT_TRUE(LoadImageFile(ReferencePath().c_str(), kReference));
    ASSERT_EQ(kReference.GetWidth(), kShot.GetWidth());
    ASSERT_EQ(kReference.GetHeight(), kShot.GetHeight());
    EXPECT_LE(CountDifferent(kShot, kReference), uint32_t(SIZE * SIZE / 100))
        << "the frame is kept at " << kEngine.m_kFolder.Path("model.tga");

    // Nothing to draw: every pixel of the screenshot is the clear colour (0.2 of 255, truncated).
    kEngine.DrawFrame(nullptr);
    ASSERT_TRUE(kEngine.Screenshot(SKSystemWrapperClass::IMAGE_FORMAT_BMP, "empty.bmp", kShot));
    for (uint32_t y = 0; y < kShot.GetHeight(); ++y)
    {
        for (uint32_t x = 0; x < kShot.GetWidth(); ++x)
            ASSERT_EQ(imagefiles::PixelAt(kShot, x, y), (std::vector<uint8_t>{0, 0, 51, 255}))
                << x << "," << y;
    }
}
