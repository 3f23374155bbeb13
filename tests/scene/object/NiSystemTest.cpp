#include "scene/object/NiSystem.h"

#include "platform/win32/DebugOutputCapture.h"
#include "platform/win32/ManualTimeSource.h"
#include "platform/win32/RecordingMessageBox.h"

#include <gtest/gtest.h>

namespace
{
TEST(NiSystemTest, ClockReadsTheCounterOrElseTheMillisecondClock)
{
    win32::ManualTimeSource kClock(4);
    kClock.SetCounter(10);
    kClock.SetMilliseconds(2500);
    EXPECT_EQ(GetClockSeconds(), 2.5L);
    kClock.SetHasCounter(false);
    EXPECT_EQ(GetClockSeconds(), 2.5L);
}

TEST(NiSystemTest, SystemClockMovesForward)
{
    const long double fStart = GetClockSeconds();
    EXPECT_GT(fStart, 0.0L);
    EXPECT_GE(GetClockSeconds(), fStart);
}

TEST(NiSystemTest, DebugStringPassesUnchangedAndAnswersZero)
{
    win32::DebugOutputCapture kCapture;
    EXPECT_EQ(NiOutputDebugString("\nNiStream: Unable to find loader for class NiFoo.\n"), 0);
    EXPECT_EQ(kCapture.GetTexts(),
              std::vector<std::string>{"\nNiStream: Unable to find loader for class NiFoo.\n"});
}

TEST(NiSystemTest, StdoutGetsTheTextWithoutNewline)
{
    testing::internal::CaptureStdout();
    NiWriteToStdout("abc");
    NiWriteToStdout(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "abc");
}

TEST(NiSystemTest, MessageBoxIsAnOkBoxWithoutOwner)
{
    win32::RecordingMessageBox kBoxes;
    NiMessageBox("text", "caption");
    ASSERT_EQ(kBoxes.GetBoxes().size(), 1u);
    EXPECT_EQ(kBoxes.GetBoxes()[0].hOwner, nullptr);
    EXPECT_EQ(kBoxes.GetBoxes()[0].kText, "text");
    EXPECT_EQ(kBoxes.GetBoxes()[0].kCaption, "caption");
    EXPECT_EQ(kBoxes.GetBoxes()[0].uiType, MB_OK);
}

TEST(NiSystemTest, CaseBlindComparisonsSignLikeStrcmp)
{
    struct
    {
        const char *pcA, *pcB;
        size_t uiCount;
        int iSign, iSignN;
    } const akCases[] = {
        {"NiNode", "ninode", 3, 0, 0}, {"abc", "ABD", 2, -1, 0}, {"abd", "ABC", 5, 1, 1},
        {"ab", "abc", 2, -1, 0},       {"[", "a", 1, -1, -1}, // letters fold to lower case
        {nullptr, "", 1, 0, 0},
    };
    auto Sign = [](int i) { return (i > 0) - (i < 0); };
    for (const auto& kCase : akCases)
    {
        EXPECT_EQ(Sign(NiStricmp(kCase.pcA, kCase.pcB)), kCase.iSign);
        EXPECT_EQ(Sign(NiStrnicmp(kCase.pcA, kCase.pcB, kCase.uiCount)), kCase.iSignN);
    }
}

TEST(NiSystemTest, RotateRightTakesTheCountModulo32)
{
    EXPECT_EQ(NiRotateRight(0x12345678u, 0), 0x12345678u);
    EXPECT_EQ(NiRotateRight(0x12345678u, 4), 0x81234567u);
    EXPECT_EQ(NiRotateRight(0x12345678u, 36), 0x81234567u);
    EXPECT_EQ(NiRotateRight(1u, 1), 0x80000000u);
    EXPECT_EQ(NiRotateRight(1u, -1), 2u);
}
} // namespace
