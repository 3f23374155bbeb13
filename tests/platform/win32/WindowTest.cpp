#include "platform/win32/Window.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
TEST(WindowTest, ClientRectAndScreenPointComeFromTheWindow)
{
    win32::Window kWindow;
    kWindow.SetClientSize(640, 480);
    kWindow.SetScreenOrigin(100, 50);
    RECT kRect;
    ASSERT_TRUE(GetClientRect(&kWindow, &kRect));
    EXPECT_EQ(kRect.left, 0);
    EXPECT_EQ(kRect.top, 0);
    EXPECT_EQ(kRect.right, 640);
    EXPECT_EQ(kRect.bottom, 480);
    POINT kPoint{10, 20};
    ASSERT_TRUE(ClientToScreen(&kWindow, &kPoint));
    EXPECT_EQ(kPoint.x, 110);
    EXPECT_EQ(kPoint.y, 70);
    EXPECT_FALSE(GetClientRect(nullptr, &kRect));
    EXPECT_FALSE(ClientToScreen(nullptr, &kPoint));
}

TEST(WindowTest, DerivedWindowAnswersForItself)
{
    struct Resizing : win32::Window
    {
        void GetClientSize(int32_t& iWidth, int32_t& iHeight) const override
        {
            iWidth = 3;
            iHeight = 4;
        }
    } kWindow;
    RECT kRect;
    ASSERT_TRUE(GetClientRect(&kWindow, &kRect));
    EXPECT_EQ(kRect.right, 3);
    EXPECT_EQ(kRect.bottom, 4);
}

TEST(WindowTest, IsChildLooksAtEveryAncestor)
{
    win32::Window kFrame;
    win32::Window kView(&kFrame);
    win32::Window kControl(&kView);
    win32::Window kOther;
    EXPECT_TRUE(IsChild(&kFrame, &kView));
    EXPECT_TRUE(IsChild(&kFrame, &kControl));
    EXPECT_FALSE(IsChild(&kControl, &kFrame));
    EXPECT_FALSE(IsChild(&kFrame, &kFrame));
    EXPECT_FALSE(IsChild(&kOther, &kControl));
    EXPECT_FALSE(IsChild(nullptr, &kControl));
}

TEST(WindowTest, DestroyedWindowsLeaveNoDanglingLinks)
{
    auto pkFrame = std::make_unique<win32::Window>();
    win32::Window kView(pkFrame.get());
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    EXPECT_TRUE(SetForegroundWindow(pkFrame.get()));
    EXPECT_EQ(GetForegroundWindow(), pkFrame.get());
    pkFrame.reset();
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    EXPECT_EQ(kView.GetParent(), nullptr);
    {
        win32::Window kChild(&kView);
        EXPECT_TRUE(IsChild(&kView, &kChild));
    }
    win32::Window kLater(&kView); // the destroyed child is no longer in the list
    EXPECT_EQ(kLater.GetParent(), &kView);
}
} // namespace
