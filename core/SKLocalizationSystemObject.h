#pragma once

#include "core/SKScriptBridge.h"
#include "core/SKSystemObject.h"

// The system object of the localization databases, of the highest priority: the first to start
// and the last to stop. Its Init registers the script save and restore hooks of the database type;
// its ReleaseResources deletes every database, while the interpreter still runs.
class SKLocalizationSystemObject : public SKSystemObject
{
public:
    static constexpr uint32_t PRIORITY = 0xFFFFFFFFu;
    static constexpr const char* SCRIPT_TYPE_NAME = "SKLocalizationDatabase";

    // The one instance, made on first use.
    static SKLocalizationSystemObject& Instance();

    void Init() override;
    void ReleaseResources() override;
    void Shutdown() override {}

private:
    SKLocalizationSystemObject() : SKSystemObject(PRIORITY) {}
};

// The script state of a shadow database is its file name; restoring it finds the registered
// database of that name (the script must have loaded it again) and binds the shadow to it.
bool SKLocDBWrapperSerialize(PyObject* pkShadow, PyObject** ppkState);
bool SKLocDBWrapperUnserialize(PyObject* pkShadow, PyObject* pkState);
