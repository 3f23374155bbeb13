#pragma once

#include "core/SKTraceOutput.h"

#include <string>

// Trace text to a script function, module.function(text), through the script host; a
// script error it raises is reported and cleared.
class SKTraceScriptFunctionOutput : public SKTraceOutput
{
public:
    SKTraceScriptFunctionOutput(std::string kModule, std::string kFunction);

    void Print(const char* pcText) override;
    const std::string& GetModuleName() const { return m_kModule; }
    const std::string& GetFunctionName() const { return m_kFunction; }

private:
    std::string m_kModule;
    std::string m_kFunction;
};
