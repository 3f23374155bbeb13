// The device renderer's hooks: a renderer made through the start-up path's hooks serves the
// system services' screenshots, and the images loaded meanwhile are device images.
#include "engine/EngineStartup.h"

#include "core/SKSystemWrapperClass.h"
#include "platform/d3d7/ScopedWorld.h"
#include "platform/win32/DebugOutputCapture.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/object/BufferedFileStream.h"
#include "scene/object/NiColor.h"
#include "scene/object/NiRefPtr.h"
#include "scene/render/LoadImageFile.h"
#include "scene/render/NiD3DDriverList.h"
#include "scene/render/NiD3DRender.h"
#include "scene/render/NiDDImage.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

TEST(DeviceRendererHooks, ScreenshotsOfAnEmptySceneHoldTheClearColour)
{
    win32::DebugOutputCapture kQuiet;
    d3d7::ScopedWorld kScope(std::make_shared<d3d7::World>(d3d7::Backend::Recording));
    NiD3DDriverList::Forget();
    const EngineStartup::RendererHooks kHooks = EngineStartup::DeviceRendererHooks();
    ASSERT_EQ(kHooks.pfnImageFactory, &NiDDImage::Create);
    SKSystemWrapperClass::SetScreenshotCapture(kHooks.pfnScreenshotCapture);

    win32::Window kWindow;
    kWindow.SetClientSize(20, 10);
    NiRefPtr<NiD3DRender> spRenderer = NiD3DRender::Create(0, 0, 0, 1, &kWindow, nullptr, nullptr);
    ASSERT_TRUE(spRenderer);
    spRenderer->SetBackgroundColor(NiColor(0.2f, 0.4f, 0.6f));
    ASSERT_TRUE(spRenderer->ClearViewport(nullptr, NiRender::CLEAR_ALL));
    ASSERT_TRUE(spRenderer->OpenScene(nullptr));
    spRenderer->CloseScene();
    ASSERT_TRUE(spRenderer->PresentFrame());

    TempFolder kFolder;
    g_kSystemWrapper.SetWindowAndRenderer(&kWindow, spRenderer);
    g_kSystemWrapper.SetDefaultScreenShotPath(kFolder.Path().c_str());
    g_kSystemWrapper.TakeScreenshot(SKSystemWrapperClass::IMAGE_FORMAT_TGA, "shot.tga");
    g_kSystemWrapper.TakeScreenshot(SKSystemWrapperClass::IMAGE_FORMAT_BMP, "shot.bmp");
    g_kSystemWrapper.SetWindowAndRenderer(nullptr, nullptr);
    SKSystemWrapperClass::SetScreenshotCapture(nullptr);

    for (const char* pcName : {"shot.tga", "shot.bmp"})
    {
        NiRawImageData kShot;
        ASSERT_TRUE(LoadImageFile(kFolder.Path(pcName).c_str(), kShot)) << pcName;
        ASSERT_EQ(kShot.GetWidth(), 20u);
        ASSERT_EQ(kShot.GetHeight(), 10u);
        // 0.2, 0.4 and 0.6 of 255, truncated.
        for (uint32_t i = 0; i < 20 * 10; ++i)
        {
            const uint8_t* pucPixel = kShot.GetPixels() + i * kShot.GetPixelStride();
            ASSERT_EQ(pucPixel[0], 51) << pcName << " pixel " << i;
            ASSERT_EQ(pucPixel[1], 102);
            ASSERT_EQ(pucPixel[2], 153);
        }
    }
    // The services' interface slot keeps the renderer until they are asked to let go.
    g_kSystemWrapper.SetInterface(spRenderer);
    NiD3DRender* pkRenderer = spRenderer;
    spRenderer = nullptr;
    EXPECT_EQ(pkRenderer->GetRefCount(), 1);
    win32::DebugOutputCapture kShutdown;
    g_kSystemWrapper.ReleaseInterface();
    EXPECT_EQ(g_kSystemWrapper.GetInterface(), nullptr);
    EXPECT_NE(kShutdown.GetText().find("(Shutdown): Finished shutting down D3D Renderer"), std::string::npos);
    NiD3DDriverList::Forget();
}
