#include "core/SKCoreStartupObject.h"

#include "core/SKProfilingInfo.h"
#include "core/SKSystemWrapperClass.h"
#include "core/SKTraceConfig.h"
#include "platform/win32/Timing.h"

SKCoreStartupObject& SKCoreStartupObject::Instance()
{
    static SKCoreStartupObject s_kInstance;
    return s_kInstance;
}

void SKCoreStartupObject::Init()
{
    SKTraceConfig::LoadTraceConfig();
    g_kSystemWrapper.SetRandomSeed(timeGetTime());
}

void SKCoreStartupObject::Shutdown()
{
    SKProfilingInfo::Terminate();
    SKTraceConfig::DeleteOutputs();
}
