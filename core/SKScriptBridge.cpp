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
