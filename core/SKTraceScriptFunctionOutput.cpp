#include "core/SKTraceScriptFunctionOutput.h"

#include "core/SKScriptBridge.h"

#include <utility>

SKTraceScriptFunctionOutput::SKTraceScriptFunctionOutput(std::string kModule, std::string kFunction)
    : m_kModule(std::move(kModule)), m_kFunction(std::move(kFunction))
{
}

void SKTraceScriptFunctionOutput::Print(const char* pcText)
{
    if (SKScriptBridge* pkBridge = SKScriptBridge::Get(); pkBridge && pcText)
        pkBridge->CallFunction(m_kModule.c_str(), m_kFunction.c_str(), pcText);
}
