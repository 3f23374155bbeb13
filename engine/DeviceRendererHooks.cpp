#include "engine/EngineStartup.h"

EngineStartup::RendererHooks EngineStartup::DeviceRendererHooks()
{
    // There is no device renderer yet: images cannot be made and screenshots have no source.
    return {};
}
