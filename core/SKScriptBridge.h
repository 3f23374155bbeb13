#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The interpreter's object type, named here without its headers: the engine core sits below the
// script host and reaches the interpreter only through the services below.
struct _object;
using PyObject = _object;

// The seam between the engine core and the script host. The core writes its script state hooks
// against these services; the script host installs an implementation when it starts and reads the
// hook registries when it saves or restores script objects. Until a host is installed every
// service fails, so a hook called without one answers false.
//
// Results marked "new" are owned by the caller, who hands them to Release or to a call that takes
// them over.
class SKScriptBridge
{
public:
    // Get-state hook: produces the state of a shadow object into *ppkState (new); true on success.
    using GetStateHook = bool (*)(PyObject* pkShadow, PyObject** ppkState);
    // Set-state hook: restores a shadow object from a state; true on success.
    using SetStateHook = bool (*)(PyObject* pkShadow, PyObject* pkState);
    // A method added to a class of module App: receives the object and the argument tuple and
    // gives a new result, or null for a script error.
    using Method = PyObject* (*)(PyObject* pkSelf, PyObject* pkArgs);

    template <class Hook> struct HookRecord
    {
        Hook m_pfnHook;
        std::string m_kTypeName;
    };

    // The hook registries, in registration order. They exist from first use, so system objects
    // that start before the script host can register into them.
    static std::vector<HookRecord<GetStateHook>>& GetStateHooks();
    static std::vector<HookRecord<SetStateHook>>& SetStateHooks();

    // Installing a bridge hands it the methods registered while none was installed.
    static void Install(SKScriptBridge* pkBridge);
    static SKScriptBridge* Get() { return ms_pkBridge; }

    // Adds a method to a class of module App through the installed bridge, or keeps it until a
    // bridge is installed. True when the method was handed over or kept.
    static bool RegisterMethod(Method pfnMethod, const char* pcClassName, const char* pcMethodName);

    // Engine objects that scripts reach by pointer and that the engine frees itself call this
    // from their destructors: the host then converts their pointer strings no more, and
    // forgets what the scripts held of them.
    static void ObjectGone(const void* pvObject)
    {
        if (ms_pkBridge)
            ms_pkBridge->ForgetPointer(pvObject);
    }

    virtual ~SKScriptBridge() = default;

    // The engine pointer behind a shadow object of the named type; null when it is not one.
    virtual void* ObjectToPointer(PyObject* pkObject, const char* pcTypeName) = 0;
    // New: the pointer string of an engine pointer of the named type.
    virtual PyObject* PointerToString(const void* pvPointer, const char* pcTypeName) = 0;
    // New: the pointer string of a heap object the engine hands over to the script, which
    // frees it with its class's delete row.
    virtual PyObject* PointerToOwnedString(const void*, const char*) { return nullptr; }
    // New: a text from engine bytes.
    virtual PyObject* NewText(const char* pcText) = 0;
    // The engine bytes of a text; false when the object is no text.
    virtual bool GetText(PyObject* pkObject, std::string& kText) = 0;
    // New: a float.
    virtual PyObject* NewFloat(double dValue) = 0;
    virtual bool IsFloat(PyObject* pkObject) = 0;
    virtual bool IsInteger(PyObject* pkObject) = 0;
    virtual double GetFloat(PyObject* pkObject) = 0;
    // New: a tuple that takes over the items (new references).
    virtual PyObject* NewTuple(const std::vector<PyObject*>& kItems) = 0;
    // The item count of a tuple, or -1 when the object is no tuple.
    virtual int64_t GetTupleSize(PyObject* pkObject) = 0;
    // Borrowed: one item of a tuple.
    virtual PyObject* GetTupleItem(PyObject* pkTuple, int64_t iIndex) = 0;
    // New: an attribute, or null when it is missing.
    virtual PyObject* GetAttribute(PyObject* pkObject, const char* pcName) = 0;
    // Sets an attribute (the value is not taken over); true on success.
    virtual bool SetAttribute(PyObject* pkObject, const char* pcName, PyObject* pkValue) = 0;
    virtual void Release(PyObject* pkObject) = 0;

    // The services below fail until the host overrides them.
    // Calls module.function with the text as its one argument; a script error is reported and
    // cleared. 0, or -1 on any failure.
    virtual int CallFunction(const char*, const char*, const char*) { return -1; }
    // Calls module.function without arguments and takes its result: a number (float), or a text
    // (copied) or None (nullopt). 0, or -1 on any failure, the result then
    // untouched; a script error is reported and cleared, so none is left for the next call.
    virtual int CallFloatFunction(const char*, const char*, float&) { return -1; }
    virtual int CallTextFunction(const char*, const char*, std::optional<std::string>&) { return -1; }
    // Adds the method to the class of module App, now or once App is imported.
    virtual bool AddMethod(Method, const char*, const char*) { return false; }
    // New: an integer.
    virtual PyObject* NewInteger(int64_t) { return nullptr; }
    // False when the object is no integer.
    virtual bool GetInteger(PyObject*, int64_t&) { return false; }
    // New: the item of a dictionary under a text key, or null when it is missing.
    virtual PyObject* GetItem(PyObject*, const char*) { return nullptr; }
    // Enters an item under a text key (the value is not taken over); true on success.
    virtual bool SetItem(PyObject*, const char*, PyObject*) { return false; }
    // New: the pointer string of the pointer with the type part of the given pointer string;
    // null for a null pointer or a string without a type part.
    virtual PyObject* ReplacePointerAddress(const void*, PyObject*) { return nullptr; }
    // Adds a reference, for a holder that keeps the object past the call that lent it.
    virtual void AddReference(PyObject*) {}
    // Converts the object's pointer strings no more (see ObjectGone).
    virtual void ForgetPointer(const void*) {}

private:
    static inline SKScriptBridge* ms_pkBridge = nullptr;
};
