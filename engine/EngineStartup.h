#pragma once

#include "core/SKSystemWrapperClass.h"
#include "scene/graph/NiImage.h"

// The one start-up path: brings the engine up in one fixed order and joins the hooks by which
// lower layers reach higher ones. The editor, the tests that need the whole engine and the
// benchmarks all start here, so the order is written once.
//
// Start-up, in order: remember the start-up folder; reach the system objects (localization,
// script host, core start-up, core registration, model properties) so that they form their list
// in that order; run every start-up operation, then every post-start-up operation (the
// interpreter starts with <start>/Scripts and <start> on its search path and imports App);
// register the property types and categories; install the device renderer's hooks (the image
// factory and the screenshot capture). Shut-down undoes it in the opposite order.
class EngineStartup
{
public:
    // What the device renderer gives the layers below it. A null member installs nothing.
    struct RendererHooks
    {
        // Makes the device images that texture properties and image records load into.
        NiImage::CreateFunction pfnImageFactory = nullptr;
        // Reads a renderer's front buffer for the system services' screenshots.
        SKSystemWrapperClass::ScreenshotCapture pfnScreenshotCapture = nullptr;
        // Installs (true) or removes (false) what device images need beside the factory: the
        // image file readers and the texture caches' access to the images' surfaces.
        void (*pfnImageServices)(bool bInstall) = nullptr;
    };

    // The device renderer's hooks (engine/DeviceRendererHooks.cpp).
    static RendererHooks DeviceRendererHooks();

    // Brings the engine up with the folder (the current folder when null or empty) as the
    // application's start-up folder. False, with nothing started, when the engine is already up or
    // the folder does not exist.
    static bool Startup(const char* pcStartFolder, const RendererHooks& kHooks = DeviceRendererHooks());
    // Takes the engine down; nothing happens when it is not up.
    static void Shutdown();

    static bool IsStarted();
    // The start-up folder as an absolute path; empty while the engine is not up.
    static const char* GetStartFolder();
};
