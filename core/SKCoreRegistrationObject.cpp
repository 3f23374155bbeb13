#include "core/SKCoreRegistrationObject.h"

#include "core/SKAttrObject.h"
#include "core/SKLinkTable.h"
#include "core/SKObject.h"
#include "core/SKString.h"
#include "core/SKTemplatedAttrObject.h"

#include <string>
#include <utility>

// Sections: the system object; script state hooks; the script method.

NiHashMap<uint32_t, SKObject*>& SKLinkTable()
{
    static NiHashMap<uint32_t, SKObject*> s_kTable;
    return s_kTable;
}

SKCoreRegistrationObject& SKCoreRegistrationObject::Instance()
{
    static SKCoreRegistrationObject s_kInstance;
    return s_kInstance;
}

void SKCoreRegistrationObject::Init()
{
    SKObject::RegisterFactory(SKAttrObject::TYPE_ID, SKAttrObject::Create);
    SKObject::RegisterFactory(SKTemplatedAttrObject::TYPE_ID, SKTemplatedAttrObject::Create);
    SKScriptBridge::GetStateHooks().push_back({SKObjectGetState, "SKObject"});
    SKScriptBridge::SetStateHooks().push_back({SKObjectSetState, "SKObject"});
    SKScriptBridge::SetStateHooks().push_back({NiAVObjectSetState, "NiAVObject"});
    SKScriptBridge::RegisterMethod(SKStringGetCStringMethod, "SKString", "GetCString");
}

void SKCoreRegistrationObject::PostInit()
{
    SKLinkTable().RemoveAll();
}

void SKCoreRegistrationObject::Shutdown()
{
    SKObject::ReleaseIDTable();
}

// ---- script state hooks --------------------------------------------------------------

bool SKObjectGetState(PyObject* pkShadow, PyObject** ppkState)
{
    SKScriptBridge* pkBridge = SKScriptBridge::Get();
    if (!pkBridge || !ppkState)
        return false;
    PyObject* pkDict = pkBridge->GetAttribute(pkShadow, "__dict__");
    if (!pkDict)
        return false;
    auto* pkObject = static_cast<SKObject*>(pkBridge->ObjectToPointer(pkShadow, "SKObject"));
    // An object whose id another object has taken is no longer reachable by that id.
    PyObject* pkID = nullptr;
    if (pkObject && SKObject::GetSKObjectPtr(pkObject->GetObjID()) == pkObject)
        pkID = pkBridge->NewInteger(pkObject->GetObjID());
    bool bStored = pkID && pkBridge->SetItem(pkDict, "_ID_", pkID);
    if (pkID)
        pkBridge->Release(pkID);
    if (!bStored)
    {
        pkBridge->Release(pkDict);
        return false;
    }
    *ppkState = pkDict;
    return true;
}

namespace
{
// The type part ("_p_" on) of a shadow's pointer string; empty when there is none.
std::string PointerTypePart(SKScriptBridge& kBridge, PyObject* pkShadow)
{
    std::string kText;
    PyObject* pkThis = kBridge.GetAttribute(pkShadow, "this");
    if (pkThis)
    {
        kBridge.GetText(pkThis, kText);
        kBridge.Release(pkThis);
    }
    const size_t uiAt = kText.find("_p_");
    return uiAt == std::string::npos ? std::string() : kText.substr(uiAt);
}

bool SetText(SKScriptBridge& kBridge, PyObject* pkShadow, const char* pcName, const std::string& kText)
{
    PyObject* pkText = kBridge.NewText(kText.c_str());
    const bool bSet = pkText && kBridge.SetAttribute(pkShadow, pcName, pkText);
    if (pkText)
        kBridge.Release(pkText);
    return bSet;
}
} // namespace

bool SKObjectSetState(PyObject* pkShadow, PyObject* pkState)
{
    SKScriptBridge* pkBridge = SKScriptBridge::Get();
    if (!pkBridge || !pkBridge->SetAttribute(pkShadow, "__dict__", pkState))
        return false;
    // The saved address names an object of the saving run, or one a crafted save made up: the
    // shadow keeps only its class (at address 0, a null pointer) until the fix-up finds the
    // object by its id, and never owns it.
    const std::string kType = PointerTypePart(*pkBridge, pkShadow);
    pkBridge->SetAttribute(pkShadow, "this", nullptr);
    if (!kType.empty())
        SetText(*pkBridge, pkShadow, "this", "_0" + kType);
    if (PyObject* pkOwn = pkBridge->NewInteger(0))
    {
        pkBridge->SetAttribute(pkShadow, "thisown", pkOwn);
        pkBridge->Release(pkOwn);
    }
    PyObject* pkID = pkBridge->GetItem(pkState, "_ID_");
    if (!pkID)
        return true;
    int64_t iID = 0;
    bool bIsInteger = pkBridge->GetInteger(pkID, iID);
    pkBridge->Release(pkID);
    if (!bIsInteger)
        return true;
    // The deferred call may run long after this restore: it keeps the shadow alive.
    pkBridge->AddReference(pkShadow);
    SKObject::AddDeferredFixup(SKObjectRebind, reinterpret_cast<uintptr_t>(pkShadow),
                               static_cast<uintptr_t>(static_cast<uint32_t>(iID)));
    return true;
}

bool SKObjectRebind(uintptr_t uiShadow, uintptr_t uiID)
{
    SKScriptBridge* pkBridge = SKScriptBridge::Get();
    if (!pkBridge)
        return false;
    auto* pkShadow = reinterpret_cast<PyObject*>(uiShadow);
    bool bRebound = false;
    if (PyObject* pkThis = pkBridge->GetAttribute(pkShadow, "this"))
    {
        SKObject* pkObject = SKObject::GetSKObjectPtr(static_cast<int32_t>(uiID));
        // Without an object there is no new pointer string, and setting none deletes "this".
        PyObject* pkNewThis = pkObject ? pkBridge->ReplacePointerAddress(pkObject, pkThis) : nullptr;
        bRebound = pkBridge->SetAttribute(pkShadow, "this", pkNewThis) && pkNewThis;
        if (pkNewThis)
            pkBridge->Release(pkNewThis);
        pkBridge->Release(pkThis);
        // A saved class the object is not of would only be refused at every use: the shadow
        // names the object as its own class instead.
        const std::string kType = bRebound ? PointerTypePart(*pkBridge, pkShadow) : std::string();
        if (bRebound && (kType.empty() || pkBridge->ObjectToPointer(pkShadow, kType.c_str() + 3) != pkObject))
            bRebound = SetText(*pkBridge, pkShadow, "this", pkObject->GetPointerString());
    }
    pkBridge->Release(pkShadow);
    return bRebound;
}

bool NiAVObjectSetState(PyObject* pkShadow, PyObject* pkState)
{
    SKScriptBridge* pkBridge = SKScriptBridge::Get();
    if (!pkBridge || !pkBridge->SetAttribute(pkShadow, "__dict__", pkState))
        return false;
    pkBridge->SetAttribute(pkShadow, "this", nullptr);
    for (auto [pcName, iValue] : {std::pair{"INVALID", 1}, std::pair{"thisown", 0}})
    {
        if (PyObject* pkValue = pkBridge->NewInteger(iValue))
        {
            pkBridge->SetAttribute(pkShadow, pcName, pkValue);
            pkBridge->Release(pkValue);
        }
    }
    return true;
}

// ---- the script method ---------------------------------------------------------------

PyObject* SKStringGetCStringMethod(PyObject*, PyObject* pkArgs)
{
    SKScriptBridge* pkBridge = SKScriptBridge::Get();
    if (!pkBridge)
        return nullptr;
    auto* pkString =
        static_cast<SKString*>(pkBridge->ObjectToPointer(pkBridge->GetTupleItem(pkArgs, 0), "SKString"));
    if (!pkString)
        return nullptr;
    std::unique_ptr<char[]> spBytes = pkString->GetCString();
    return pkBridge->NewText(spBytes ? spBytes.get() : "");
}
