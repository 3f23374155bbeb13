#include "core/SKTraceDebugWindowOutput.h"

#include "platform/win32/DebugOutput.h"

void SKTraceDebugWindowOutput::Print(const char* pcText)
{
    if (pcText)
        OutputDebugStringA(pcText);
}
