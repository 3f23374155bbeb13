#include "core/SKLocalizationSystemObject.h"

#include <string>

#include "core/SKLocalizationManager.h"

SKLocalizationSystemObject& SKLocalizationSystemObject::Instance()
{
    static SKLocalizationSystemObject s_kInstance;
    return s_kInstance;
}

void SKLocalizationSystemObject::Init()
{
    SKScriptBridge::GetStateHooks().push_back({SKLocDBWrapperSerialize, SCRIPT_TYPE_NAME});
    SKScriptBridge::SetStateHooks().push_back({SKLocDBWrapperUnserialize, SCRIPT_TYPE_NAME});
}

void SKLocalizationSystemObject::ReleaseResources()
{
    g_kLocalizationManager.DeleteAll();
    g_kLocalizationManager.Purge();
}

bool SKLocDBWrapperSerialize(PyObject* pkShadow, PyObject** ppkState)
{
    SKScriptBridge* pkBridge = SKScriptBridge::Get();
    if (!pkBridge || !ppkState)
        return false;
    auto* pkDatabase = static_cast<SKLocalizationDatabase*>(
        pkBridge->ObjectToPointer(pkShadow, SKLocalizationSystemObject::SCRIPT_TYPE_NAME));
    // A script may still hold a database that a purge deleted; only a registered one is read.
    if (!pkDatabase || !g_kLocalizationManager.IsRegistered(pkDatabase))
        return false;
    *ppkState = pkBridge->NewText(pkDatabase->GetDatabaseFileName());
    return *ppkState != nullptr;
}

bool SKLocDBWrapperUnserialize(PyObject* pkShadow, PyObject* pkState)
{
    SKScriptBridge* pkBridge = SKScriptBridge::Get();
    std::string kFileName;
    if (!pkBridge || !pkBridge->GetText(pkState, kFileName))
        return false;
    SKLocalizationDatabase* pkDatabase = g_kLocalizationManager.GetIfRegistered(kFileName.c_str(), false);
    if (!pkDatabase)
        return false;
    PyObject* pkPointer = pkBridge->PointerToString(pkDatabase, SKLocalizationSystemObject::SCRIPT_TYPE_NAME);
    bool bSet = pkPointer && pkBridge->SetAttribute(pkShadow, "this", pkPointer);
    if (pkPointer)
        pkBridge->Release(pkPointer);
    return bSet;
}
