#include "engine/EngineStartup.h"

#include "core/SKCoreRegistrationObject.h"
#include "core/SKCoreStartupObject.h"
#include "core/SKLocalizationSystemObject.h"
#include "core/SKSystemObject.h"
#include "properties/PropertyTypeRegistry.h"
#include "properties/SKModelPropertySystemObject.h"
#include "scripting/PyEmbed.h"
#include "scripting/PyEmbedSystemObject.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace
{
bool s_bStarted = false;
std::string s_kStartFolder;
void (*s_pfnImageServices)(bool) = nullptr;

// The folder as an absolute path without a closing separator; empty when it is no folder.
std::string ResolveStartFolder(const char* pcFolder)
{
    std::error_code kError;
    std::filesystem::path kFolder =
        pcFolder && *pcFolder ? std::filesystem::path(pcFolder) : std::filesystem::current_path(kError);
    if (kError || !std::filesystem::is_directory(kFolder, kError))
        return {};
    kFolder = std::filesystem::absolute(kFolder, kError).lexically_normal();
    if (kError)
        return {};
    std::string kText = kFolder.string();
    while (kText.size() > 1 && kText.back() == '/')
        kText.pop_back();
    return kText;
}
} // namespace

bool EngineStartup::Startup(const char* pcStartFolder, const RendererHooks& kHooks)
{
    if (s_bStarted)
        return false;
    std::string kFolder = ResolveStartFolder(pcStartFolder);
    if (kFolder.empty())
        return false;
    s_kStartFolder = std::move(kFolder);
    PyEmbed::SetStartFolder(s_kStartFolder.c_str());

    // Reached in this order, the objects join the list in this order (the script host and the core
    // start-up object share a priority, so construction decides between them).
    SKLocalizationSystemObject::Instance();
    PyEmbedSystemObject::Instance();
    SKCoreStartupObject::Instance();
    SKCoreRegistrationObject::Instance();
    SKModelPropertySystemObject::Instance();
    InitAllSystemObjects();
    PostInitAllSystemObjects();

    RegisterPropertyTypes();

    NiImage::SetImageFactory(kHooks.pfnImageFactory);
    if (kHooks.pfnImageServices)
        kHooks.pfnImageServices(true);
    s_pfnImageServices = kHooks.pfnImageServices;
    SKSystemWrapperClass::SetScreenshotCapture(kHooks.pfnScreenshotCapture);
    s_bStarted = true;
    return true;
}

void EngineStartup::Shutdown()
{
    if (!s_bStarted)
        return;
    SKSystemWrapperClass::SetScreenshotCapture(nullptr);
    if (s_pfnImageServices)
        s_pfnImageServices(false);
    s_pfnImageServices = nullptr;
    NiImage::SetImageFactory(nullptr);
    UnregisterPropertyTypes();
    ReleaseAllSystemObjects();
    ShutdownAllSystemObjects();
    PyEmbed::SetStartFolder(nullptr);
    s_kStartFolder.clear();
    s_bStarted = false;
}

bool EngineStartup::IsStarted()
{
    return s_bStarted;
}

const char* EngineStartup::GetStartFolder()
{
    return s_kStartFolder.c_str();
}
