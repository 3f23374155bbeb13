#include "platform/win32/DebugOutput.h"
#include "platform/win32/DebugOutputCapture.h"

#include <gtest/gtest.h>

namespace
{
TEST(DebugOutputTest, GoesToStandardErrorUnchangedByDefault)
{
    testing::internal::CaptureStderr();
    OutputDebugStringA("first ");
    OutputDebugStringA("second\n");
    OutputDebugStringA(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "first second\n");
}

TEST(DebugOutputTest, CaptureCollectsEachTextAndRestoresThePreviousSink)
{
    testing::internal::CaptureStderr();
    {
        win32::DebugOutputCapture kOuter;
        OutputDebugStringA("outer");
        {
            win32::DebugOutputCapture kInner;
            OutputDebugStringA("inner 1");
            OutputDebugStringA("inner 2");
            EXPECT_EQ(kInner.GetTexts(), (std::vector<std::string>{"inner 1", "inner 2"}));
        }
        OutputDebugStringA("outer again");
        EXPECT_EQ(kOuter.GetText(), "outerouter again");
    }
    OutputDebugStringA("stderr");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "stderr");
}
} // namespace
