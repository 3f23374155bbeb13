#include "platform/win32/DebugOutput.h"
#include "platform/win32/DebugOutputCapture.h"

#include <gtest/gtest.h>

#include <string>

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

// Subscribers are called in order beside a capture and standard error, and none replaces another.
TEST(DebugOutputTest, EverySubscriberReceivesEveryTextUntilItLeaves)
{
    struct Log
    {
        std::string m_kText;
        static void Receive(void* pvContext, const char* pcText)
        {
            static_cast<Log*>(pvContext)->m_kText += pcText;
        }
    };
    Log kRendererLog;
    Log kEditorLog;
    const win32::DebugOutputTarget kRenderer{&Log::Receive, &kRendererLog};
    const win32::DebugOutputTarget kEditor{&Log::Receive, &kEditorLog};

    testing::internal::CaptureStderr();
    ASSERT_TRUE(win32::SubscribeDebugOutput(kRenderer));
    ASSERT_TRUE(win32::SubscribeDebugOutput(kEditor));
    OutputDebugStringA("a");
    {
        win32::DebugOutputCapture kCapture;
        OutputDebugStringA("b");
        EXPECT_EQ(kCapture.GetText(), "b");
    }
    EXPECT_TRUE(win32::UnsubscribeDebugOutput(kRenderer));
    EXPECT_FALSE(win32::UnsubscribeDebugOutput(kRenderer));
    OutputDebugStringA("c");
    win32::SetDebugOutputToStandardError(false);
    OutputDebugStringA("d");
    win32::SetDebugOutputToStandardError(true);
    EXPECT_TRUE(win32::UnsubscribeDebugOutput(kEditor));
    OutputDebugStringA("e");

    EXPECT_EQ(kRendererLog.m_kText, "ab");
    EXPECT_EQ(kEditorLog.m_kText, "abcd");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ace");
    EXPECT_FALSE(win32::SubscribeDebugOutput({nullptr, &kEditorLog}));
}
} // namespace
