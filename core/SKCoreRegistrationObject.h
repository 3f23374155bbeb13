#pragma once

#include "core/SKScriptBridge.h"
#include "core/SKSystemObject.h"

#include <cstdint>

// The engine core's registration object: at start-up it registers the factories of the
// attribute objects, the script state hooks of engine objects and the script method
// GetCString of SKString; once every system object has started it empties the link table;
// at shutdown it lets the object id table go as soon as it is empty.
class SKCoreRegistrationObject : public SKSystemObject
{
public:
    static constexpr uint32_t PRIORITY = 0x80000000u;

    // The one instance, made (and placed in the system object list) on first use.
    static SKCoreRegistrationObject& Instance();

    void Init() override;
    void PostInit() override;
    void ReleaseResources() override {}
    void Shutdown() override;

private:
    SKCoreRegistrationObject() : SKSystemObject(PRIORITY) {}
};

// Script state hooks of engine objects. A shadow object's saved state is its dictionary with
// the engine object's id under "_ID_"; restoring it rebinds the shadow to whichever object
// holds that id once the load's fix-up pass runs (SKObjectRebind, a deferred fix-up call
// that holds a reference to the shadow until it has run). A restored scene object shadow is
// invalid and points at nothing.
bool SKObjectGetState(PyObject* pkShadow, PyObject** ppkState);
bool SKObjectSetState(PyObject* pkShadow, PyObject* pkState);
bool SKObjectRebind(uintptr_t uiShadow, uintptr_t uiID);
bool NiAVObjectSetState(PyObject* pkShadow, PyObject* pkState);

// The script method GetCString of SKString: the string's bytes (units above 0xFF as 0x01).
PyObject* SKStringGetCStringMethod(PyObject* pkSelf, PyObject* pkArgs);
