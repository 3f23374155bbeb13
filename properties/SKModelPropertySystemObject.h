#pragma once

#include "core/SKSystemObject.h"

// The model properties' system object, the last of the engine's to start: its Init registers the
// factories of the property base and the property set and, once per run, the "Generic Property"
// filter; at exit it releases the templates (local first) and then frees the registered filters.
class SKModelPropertySystemObject : public SKSystemObject
{
public:
    static constexpr uint32_t PRIORITY = 0x20000000u;
    static constexpr const char* GENERIC_FILTER_TITLE = "Generic Property";

    // The one instance, made on first use.
    static SKModelPropertySystemObject& Instance();

    void Init() override;
    void ReleaseResources() override;
    void Shutdown() override;

private:
    SKModelPropertySystemObject() : SKSystemObject(PRIORITY) {}
};
