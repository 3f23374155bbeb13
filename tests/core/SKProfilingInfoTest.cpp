#include "core/SKProfilingInfo.h"

#include "platform/win32/ManualTimeSource.h"
#include "tests/core/WorkingFolder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

// A fresh profiler on a clock that moves only when told to (1 count = 1 microsecond).
class SKProfilingInfoTest : public testing::Test
{
protected:
    void SetUp() override { SKProfilingInfo::Terminate(); }
    void TearDown() override { SKProfilingInfo::Terminate(); }

    std::string Saved()
    {
        std::string kPath = m_kFolder.Path("RawTiming.txt");
        EXPECT_TRUE(SKProfilingInfo::SaveRawData(kPath.c_str()));
        return TempFolder::ReadFile(kPath);
    }

    win32::ManualTimeSource m_kClock{1000000};
    TempFolder m_kFolder;
};

TEST_F(SKProfilingInfoTest, NothingIsMeasuredWhileProfilingIsOff)
{
    EXPECT_EQ(SKProfilingInfo::StartTiming("draw"), 0);
    SKProfilingInfo::SetTimingData("fps", 30.0f);
    SKProfilingInfo::StopTiming(1);
    EXPECT_EQ(Saved(), "");
}

TEST_F(SKProfilingInfoTest, WithoutACounterProfilingStaysOff)
{
    m_kClock.SetHasCounter(false);
    SKProfilingInfo::EnableProfiling();
    EXPECT_FALSE(SKProfilingInfo::IsProfilingEnabled());
    EXPECT_EQ(SKProfilingInfo::StartTiming("draw"), 0);
}

TEST_F(SKProfilingInfoTest, TimersAppendTheirMillisecondsInStopOrder)
{
    SKProfilingInfo::EnableProfiling();
    int32_t iOuter = SKProfilingInfo::StartTiming("x");
    m_kClock.Advance(5);
    int32_t iInner = SKProfilingInfo::StartTiming("x");
    EXPECT_EQ(iInner, iOuter + 1);
    m_kClock.Advance(2);
    SKProfilingInfo::StopTiming(iInner);
    m_kClock.Advance(3);
    SKProfilingInfo::StopTiming(iOuter);
    SKProfilingInfo::StopTiming(iOuter); // no longer running: nothing
    SKProfilingInfo::StopTiming(0);
    SKProfilingInfo::DisableProfiling();

    std::string kText = Saved();
    EXPECT_NE(kText.find("x - 0:2.000000 0:10.000000 \n"), std::string::npos) << kText;
    EXPECT_NE(kText.find("Total profiling time - 0:10.000000 \n"), std::string::npos) << kText;
}

TEST_F(SKProfilingInfoTest, FirstTimerAfterEnableFollowsTheTotalTimer)
{
    SKProfilingInfo::EnableProfiling();
    int32_t iFirst = SKProfilingInfo::StartTiming("draw");
    SKProfilingInfo::DisableProfiling();
    // The total timer took the id just before.
    SKProfilingInfo::EnableProfiling();
    EXPECT_EQ(SKProfilingInfo::StartTiming("draw"), iFirst + 2);
}

TEST_F(SKProfilingInfoTest, ObjectTimesItsLifetimeAndDataGoesUnderItsName)
{
    SKProfilingInfo::EnableProfiling();
    {
        SKProfilingInfo kTimer("frame");
        EXPECT_NE(kTimer.GetTimerID(), 0);
        m_kClock.Advance(16);
    }
    SKProfilingInfo::SetTimingData("fps", 30.0f);
    std::string kText = Saved();
    EXPECT_NE(kText.find("frame - 0:16.000000 \n"), std::string::npos) << kText;
    EXPECT_NE(kText.find("fps - 0:30.000000 \n"), std::string::npos) << kText;
}

// The rule looks at the name as given, so the test works in the folder itself.
TEST_F(SKProfilingInfoTest, OnlyRawTimingFilesMayBeReplaced)
{
    WorkingFolder kHere(m_kFolder.Path());
    SKProfilingInfo::EnableProfiling();
    SKProfilingInfo::SetTimingData("fps", 1.0f);
    m_kFolder.WriteFile("RawTiming1.txt", "old");
    m_kFolder.WriteFile("timing.txt", "old");

    EXPECT_TRUE(SKProfilingInfo::SaveRawData("RawTiming1.txt"));
    EXPECT_NE(TempFolder::ReadFile("RawTiming1.txt").find("fps - 0:1.000000 \n"), std::string::npos);
    EXPECT_FALSE(SKProfilingInfo::SaveRawData("timing.txt"));
    EXPECT_EQ(TempFolder::ReadFile("timing.txt"), "old");
    EXPECT_TRUE(SKProfilingInfo::SaveRawData("fresh.txt"));
    EXPECT_FALSE(SKProfilingInfo::SaveRawData("fresh.txt"));
    EXPECT_FALSE(SKProfilingInfo::SaveRawData("missing/RawTiming2.txt"));

    SKProfilingInfo::Terminate();
    EXPECT_TRUE(SKProfilingInfo::SaveRawData("RawTiming1.txt"));
    EXPECT_EQ(TempFolder::ReadFile("RawTiming1.txt"), "");
}

// A timer left running across Terminate must not reach the series Terminate freed, even
// when profiling is turned on again before it stops.
TEST_F(SKProfilingInfoTest, TimerRunningAcrossTerminateIsDiscarded)
{
    SKProfilingInfo::EnableProfiling();
    auto* pkTimer = new SKProfilingInfo("draw");
    SKProfilingInfo::Terminate();
    SKProfilingInfo::EnableProfiling();
    m_kClock.Advance(4);
    delete pkTimer;
    SKProfilingInfo::SetTimingData("after", 2.0f);

    std::string kText = Saved();
    EXPECT_EQ(kText.find("draw"), std::string::npos) << kText;
    EXPECT_NE(kText.find("after - 0:2.000000 \n"), std::string::npos) << kText;
}

} // namespace
