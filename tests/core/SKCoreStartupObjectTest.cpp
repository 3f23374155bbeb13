#include "core/SKCoreStartupObject.h"

#include "core/SKProfilingInfo.h"
#include "scene/object/SKRandom.h"
#include "core/SKTraceConfig.h"
#include "platform/win32/ManualTimeSource.h"
#include "tests/core/WorkingFolder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace
{

TEST(SKCoreStartupObjectTest, InitReadsTheTraceConfigurationAndSeedsTheRandomNumbers)
{
    TempFolder kFolder;
    WorkingFolder kHere(kFolder.Path());
    kFolder.WriteFile(SKTraceConfig::FILE_NAME, "Outputs: Console, LogFile(run.log)\n");
    win32::ManualTimeSource kClock;
    kClock.SetMilliseconds(123456);

    SKCoreStartupObject::Instance().Init();
    EXPECT_EQ(SKTraceConfig::GetOutputCount(), 2);
    EXPECT_EQ(TempFolder::ReadFile(kFolder.Path("run.log")), "");
    EXPECT_EQ(SKRandom::GetState(), 123456u);

    SKProfilingInfo::EnableProfiling();
    SKCoreStartupObject::Instance().Shutdown();
    EXPECT_EQ(SKTraceConfig::GetOutputCount(), 0);
    EXPECT_FALSE(SKProfilingInfo::IsProfilingEnabled());
}

} // namespace
