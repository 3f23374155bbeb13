#include "platform/win32/Timing.h"
#include "platform/win32/ManualTimeSource.h"

#include <gtest/gtest.h>

#include <ctime>

namespace
{
TEST(TimingTest, SystemClocksRunTogetherOnTheMonotonicClock)
{
    int64_t iFrequency = 0;
    ASSERT_TRUE(QueryPerformanceFrequency(&iFrequency));
    EXPECT_EQ(iFrequency, 1000000000);

    int64_t iStart = 0;
    ASSERT_TRUE(QueryPerformanceCounter(&iStart));
    const uint32_t uiStartMs = timeGetTime();
    const timespec kPause{0, 20 * 1000 * 1000};
    nanosleep(&kPause, nullptr);
    int64_t iEnd = 0;
    ASSERT_TRUE(QueryPerformanceCounter(&iEnd));
    const uint32_t uiElapsedMs = timeGetTime() - uiStartMs;

    EXPECT_GE(iEnd - iStart, 20 * 1000 * 1000);
    EXPECT_GE(uiElapsedMs, 19u);
    EXPECT_LE(uiElapsedMs, static_cast<uint32_t>((iEnd - iStart) / 1000000 + 2));
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
}

TEST(TimingTest, ManualSourceDrivesBothClocksWhileInstalled)
{
    {
        win32::ManualTimeSource kClock(1000);
        kClock.SetMilliseconds(0xFFFFFFF0u);
        kClock.Advance(0x20);
        EXPECT_EQ(timeGetTime(), 0x10u); // wraps like the 32-bit clock it stands for
        int64_t iCount = -1;
        ASSERT_TRUE(QueryPerformanceCounter(&iCount));
        EXPECT_EQ(iCount, 0x20);

        kClock.SetHasCounter(false);
        int64_t iFrequency = 0;
        EXPECT_FALSE(QueryPerformanceFrequency(&iFrequency));
        EXPECT_FALSE(QueryPerformanceCounter(&iCount));
    }
    int64_t iFrequency = 0;
    ASSERT_TRUE(QueryPerformanceFrequency(&iFrequency));
    EXPECT_EQ(iFrequency, 1000000000);
}
} // namespace
