#include "core/SKScriptBridge.h"

std::vector<SKScriptBridge::HookRecord<SKScriptBridge::GetStateHook>>& SKScriptBridge::GetStateHooks()
{
    static std::vector<HookRecord<GetStateHook>> s_kHooks;
    return s_kHooks;
}

std::vector<SKScriptBridge::HookRecord<SKScriptBridge::SetStateHook>>& SKScriptBridge::SetStateHooks()
{
    static std::vector<HookRecord<SetStateHook>> s_kHooks;
    return s_kHooks;
}

namespace
{

struct PendingMethod
{
    SKScriptBridge::Method m_pfnMethod;
    std::string m_kClassName;
    std::string m_kMethodName;
};

std::vector<PendingMethod>& PendingMethods()
{
    static std::vector<PendingMethod> s_kMethods;
    return s_kMethods;
}

} // namespace

void SKScriptBridge::Install(SKScriptBridge* pkBridge)
{
    ms_pkBridge = pkBridge;
    if (!pkBridge)
        return;
    std::vector<PendingMethod> kPending = std::move(PendingMethods());
    PendingMethods().clear();
    for (const PendingMethod& kMethod : kPending)
        pkBridge->AddMethod(kMethod.m_pfnMethod, kMethod.m_kClassName.c_str(), kMethod.m_kMethodName.c_str());
}

bool SKScriptBridge::RegisterMethod(Method pfnMethod, const char* pcClassName, const char* pcMethodName)
{
    if (!pfnMethod || !pcClassName || !pcMethodName)
        return false;
    if (ms_pkBridge)
        return ms_pkBridge->AddMethod(pfnMethod, pcClassName, pcMethodName);
    PendingMethods().push_back({pfnMethod, pcClassName, pcMethodName});
    return true;
}
