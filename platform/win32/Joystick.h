#pragma once

#include <cstdint>
#include <string>

// Joysticks, read from the system's joystick devices. An absent device fails every call
// with JOYERR_UNPLUGGED. Axes report 0..65535 with the centre at 32767; the point of view
// comes in hundredths of a degree, JOY_POVCENTERED when the hat is at rest.

constexpr uint32_t JOYERR_NOERROR = 0;
constexpr uint32_t MMSYSERR_INVALPARAM = 11;
constexpr uint32_t JOYERR_PARMS = 165;
constexpr uint32_t JOYERR_UNPLUGGED = 167;

// Capability bits of JOYCAPSA::wCaps.
constexpr uint32_t JOYCAPS_HASZ = 0x01;
constexpr uint32_t JOYCAPS_HASR = 0x02;
constexpr uint32_t JOYCAPS_HASU = 0x04;
constexpr uint32_t JOYCAPS_HASV = 0x08;
constexpr uint32_t JOYCAPS_HASPOV = 0x10;
constexpr uint32_t JOYCAPS_POV4DIR = 0x20;

// What JOYINFOEX::dwFlags asks for.
constexpr uint32_t JOY_RETURNX = 0x01;
constexpr uint32_t JOY_RETURNY = 0x02;
constexpr uint32_t JOY_RETURNZ = 0x04;
constexpr uint32_t JOY_RETURNR = 0x08;
constexpr uint32_t JOY_RETURNU = 0x10;
constexpr uint32_t JOY_RETURNV = 0x20;
constexpr uint32_t JOY_RETURNPOV = 0x40;
constexpr uint32_t JOY_RETURNBUTTONS = 0x80;
constexpr uint32_t JOY_RETURNALL = 0xFF;
constexpr uint32_t JOY_USEDEADZONE = 0x800;

constexpr uint32_t JOY_POVCENTERED = 0xFFFF;

struct JOYCAPSA
{
    uint16_t wMid;
    uint16_t wPid;
    char szPname[32];
    uint32_t wXmin, wXmax, wYmin, wYmax, wZmin, wZmax;
    uint32_t wNumButtons;
    uint32_t wPeriodMin, wPeriodMax;
    uint32_t wRmin, wRmax, wUmin, wUmax, wVmin, wVmax;
    uint32_t wCaps;
    uint32_t wMaxAxes, wNumAxes, wMaxButtons;
    char szRegKey[32];
    char szOEMVxD[260];
};
static_assert(sizeof(JOYCAPSA) == 404);

struct JOYINFOEX
{
    uint32_t dwSize; // sizeof(JOYINFOEX)
    uint32_t dwFlags;
    uint32_t dwXpos, dwYpos, dwZpos, dwRpos, dwUpos, dwVpos;
    uint32_t dwButtons;      // bit n: button n is down
    uint32_t dwButtonNumber; // how many buttons are down
    uint32_t dwPOV;
    uint32_t dwReserved1, dwReserved2;
};
static_assert(sizeof(JOYINFOEX) == 52);

// How many joysticks the calls can address (present or not).
uint32_t joyGetNumDevs();
// uiSize must be sizeof(JOYCAPSA).
uint32_t joyGetDevCapsA(uintptr_t uiJoystick, JOYCAPSA* pkCaps, uint32_t uiSize);
// pkInfo->dwSize must be sizeof(JOYINFOEX). The whole state is always returned.
uint32_t joyGetPosEx(uint32_t uiJoystick, JOYINFOEX* pkInfo);

namespace win32
{
// Joystick n is read from prefix + n ("/dev/input/js" unless changed, e.g. by tests).
// Changing it forgets every open device.
void SetJoystickDevicePrefix(const std::string& kPrefix);
} // namespace win32
