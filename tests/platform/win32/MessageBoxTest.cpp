#include "platform/win32/MessageBox.h"
#include "platform/win32/RecordingMessageBox.h"

#include <gtest/gtest.h>

namespace
{
TEST(MessageBoxTest, DefaultAnswerIsTheDefaultButtonOfTheType)
{
    struct
    {
        uint32_t uiType;
        int iAnswer;
    } const akCases[] = {
        {MB_OK, IDOK},
        {MB_OK | MB_ICONERROR, IDOK},
        {MB_OKCANCEL, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO, IDYES},
        {MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_RETRYCANCEL, IDRETRY},
        {MB_YESNO | MB_DEFBUTTON3, IDYES}, // no third button: the first
    };
    for (const auto& kCase : akCases)
        EXPECT_EQ(win32::DefaultMessageBoxAnswer(kCase.uiType), kCase.iAnswer) << "type " << kCase.uiType;
}

TEST(MessageBoxTest, WithoutAServiceTheTextGoesToStandardError)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "Renderer Creation Failed.", "Error", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Save changes?", nullptr, MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: Renderer Creation Failed.\nError: Save changes?\n");
}

TEST(MessageBoxTest, RecordingServiceRecordsAndAnswers)
{
    win32::Window kOwner;
    {
        win32::RecordingMessageBox kBoxes;
        kBoxes.QueueAnswer(IDNO);
        EXPECT_EQ(MessageBoxA(&kOwner, "Overwrite?", "Fitwright", MB_YESNO), IDNO);
        EXPECT_EQ(MessageBoxA(nullptr, "Done", "Fitwright", MB_OKCANCEL), IDOK);
        ASSERT_EQ(kBoxes.GetBoxes().size(), 2u);
        EXPECT_EQ(kBoxes.GetBoxes()[0].hOwner, &kOwner);
        EXPECT_EQ(kBoxes.GetBoxes()[0].kText, "Overwrite?");
        EXPECT_EQ(kBoxes.GetBoxes()[0].kCaption, "Fitwright");
        EXPECT_EQ(kBoxes.GetBoxes()[1].uiType, MB_OKCANCEL);
    }
    testing::internal::CaptureStderr();
    MessageBoxA(nullptr, "after", "Error", MB_OK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: after\n");
}
} // namespace
