#include "platform/win32/Joystick.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <linux/joystick.h>

namespace
{
std::string Events(std::initializer_list<js_event> kEvents)
{
    std::string kBytes;
    for (const js_event& kEvent : kEvents)
        kBytes.append(reinterpret_cast<const char*>(&kEvent), sizeof(kEvent));
    return kBytes;
}

JOYINFOEX Position(uint32_t uiJoystick, uint32_t* puiResult)
{
    JOYINFOEX kInfo{};
    kInfo.dwSize = sizeof(kInfo);
    kInfo.dwFlags = JOY_RETURNALL | JOY_USEDEADZONE;
    *puiResult = joyGetPosEx(uiJoystick, &kInfo);
    return kInfo;
}

TEST(JoystickTest, AbsentDevicesFailEveryCall)
{
    TempFolder kFolder;
    win32::SetJoystickDevicePrefix(kFolder.Path("js"));
    EXPECT_EQ(joyGetNumDevs(), 16u);
    JOYCAPSA kCaps;
    EXPECT_EQ(joyGetDevCapsA(0, &kCaps, sizeof(kCaps)), JOYERR_UNPLUGGED);
    uint32_t uiResult = 0;
    Position(0, &uiResult);
    EXPECT_EQ(uiResult, JOYERR_UNPLUGGED);
    Position(16, &uiResult);
    EXPECT_EQ(uiResult, JOYERR_PARMS);
    EXPECT_EQ(joyGetDevCapsA(0, &kCaps, 400), MMSYSERR_INVALPARAM);
    JOYINFOEX kBadSize{};
    EXPECT_EQ(joyGetPosEx(0, &kBadSize), MMSYSERR_INVALPARAM);
}

TEST(JoystickTest, EventsBecomeWindowsStylePositionsButtonsAndPointOfView)
{
    TempFolder kFolder;
    // Joystick 1 answers from a recorded event stream (six axes X, Y, Z, R, U, V).
    kFolder.WriteFile("js1", Events({
                                 {0, 0, JS_EVENT_AXIS | JS_EVENT_INIT, 0},
                                 {0, -32767, JS_EVENT_AXIS | JS_EVENT_INIT, 1},
                                 {10, 32767, JS_EVENT_AXIS, 2},
                                 {10, -32768, JS_EVENT_AXIS, 3},
                                 {11, 1, JS_EVENT_BUTTON, 0},
                                 {12, 1, JS_EVENT_BUTTON, 5},
                                 {13, 0, JS_EVENT_BUTTON, 0},
                                 {14, 1, JS_EVENT_BUTTON, 40}, // no such button
                             }));
    win32::SetJoystickDevicePrefix(kFolder.Path("js"));

    JOYCAPSA kCaps;
    ASSERT_EQ(joyGetDevCapsA(1, &kCaps, sizeof(kCaps)), JOYERR_NOERROR);
    EXPECT_EQ(kCaps.wXmin, 0u);
    EXPECT_EQ(kCaps.wXmax, 65535u);
    EXPECT_EQ(kCaps.wNumAxes, 6u);
    EXPECT_EQ(kCaps.wCaps, JOYCAPS_HASZ | JOYCAPS_HASR | JOYCAPS_HASU | JOYCAPS_HASV);
    EXPECT_EQ((kCaps.wXmax - kCaps.wXmin) / 2, 32767u);

    uint32_t uiResult = 0;
    const JOYINFOEX kInfo = Position(1, &uiResult);
    ASSERT_EQ(uiResult, JOYERR_NOERROR);
    EXPECT_EQ(kInfo.dwXpos, 32767u);
    EXPECT_EQ(kInfo.dwYpos, 0u);
    EXPECT_EQ(kInfo.dwZpos, 65535u);
    EXPECT_EQ(kInfo.dwRpos, 0u);
    EXPECT_EQ(kInfo.dwUpos, 32767u);
    EXPECT_EQ(kInfo.dwButtons, 1u << 5);
    EXPECT_EQ(kInfo.dwButtonNumber, 1u);
    EXPECT_EQ(kInfo.dwPOV, JOY_POVCENTERED);

    // The state stays when no further events arrive.
    const JOYINFOEX kAgain = Position(1, &uiResult);
    EXPECT_EQ(uiResult, JOYERR_NOERROR);
    EXPECT_EQ(kAgain.dwZpos, 65535u);
    EXPECT_EQ(kAgain.dwButtons, 1u << 5);
}
} // namespace
