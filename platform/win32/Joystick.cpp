#include "platform/win32/Joystick.h"

#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <linux/joystick.h>
#include <mutex>
#include <sys/ioctl.h>
#include <unistd.h>

namespace
{
constexpr uint32_t MAX_JOYSTICKS = 16;
constexpr uint32_t MAX_AXES = 6;
constexpr uint32_t MAX_BUTTONS = 32;
constexpr int32_t LINUX_AXIS_LIMIT = 32767;

// Where each device axis goes.
enum Slot : uint8_t
{
    SLOT_X,
    SLOT_Y,
    SLOT_Z,
    SLOT_R,
    SLOT_U,
    SLOT_V,
    SLOT_HAT_X,
    SLOT_HAT_Y,
    SLOT_NONE
};

Slot SlotOfAxisCode(uint8_t uiCode)
{
    switch (uiCode)
    {
    case ABS_X:
        return SLOT_X;
    case ABS_Y:
        return SLOT_Y;
    case ABS_Z:
    case ABS_THROTTLE:
        return SLOT_Z;
    case ABS_RZ:
    case ABS_RUDDER:
        return SLOT_R;
    case ABS_RX:
        return SLOT_U;
    case ABS_RY:
        return SLOT_V;
    case ABS_HAT0X:
        return SLOT_HAT_X;
    case ABS_HAT0Y:
        return SLOT_HAT_Y;
    default:
        return SLOT_NONE;
    }
}

struct Device
{
    int iFile = -1;
    std::string kName;
    std::array<Slot, ABS_CNT> akSlots{};
    uint32_t uiAxisCount = 0;
    uint32_t uiButtonCount = 0;
    std::array<int32_t, SLOT_NONE> aiValues{}; // device units, -32767..32767
    uint32_t uiButtons = 0;
    bool bHasSlot[SLOT_NONE] = {};
};

struct Joysticks
{
    std::mutex kLock;
    std::string kPrefix = "/dev/input/js";
    std::array<Device, MAX_JOYSTICKS> akDevices;
};

Joysticks& GetJoysticks()
{
    static Joysticks s_kJoysticks;
    return s_kJoysticks;
}

void CloseDevice(Device& kDevice)
{
    if (kDevice.iFile >= 0)
        close(kDevice.iFile);
    kDevice = Device{};
}

// Reads the device's layout. A file that answers no layout questions (as a recorded event
// file does) counts as six axes X, Y, Z, R, U, V and 32 buttons.
void ReadLayout(Device& kDevice)
{
    uint8_t uiAxes = 0;
    uint8_t uiButtons = 0;
    std::array<uint8_t, ABS_CNT> auiMap{};
    char acName[128] = {};
    const bool bAnswers = ioctl(kDevice.iFile, JSIOCGAXES, &uiAxes) == 0 &&
                          ioctl(kDevice.iFile, JSIOCGBUTTONS, &uiButtons) == 0 &&
                          ioctl(kDevice.iFile, JSIOCGAXMAP, auiMap.data()) >= 0;
    if (!bAnswers)
    {
        uiAxes = MAX_AXES;
        uiButtons = MAX_BUTTONS;
        auiMap = {ABS_X, ABS_Y, ABS_Z, ABS_RZ, ABS_RX, ABS_RY};
    }
    else if (ioctl(kDevice.iFile, JSIOCGNAME(sizeof(acName) - 1), acName) >= 0)
    {
        kDevice.kName = acName;
    }
    kDevice.akSlots.fill(SLOT_NONE);
    for (uint32_t i = 0; i < uiAxes && i < ABS_CNT; ++i)
    {
        const Slot eSlot = SlotOfAxisCode(auiMap[i]);
        if (eSlot == SLOT_NONE || kDevice.bHasSlot[eSlot])
            continue;
        kDevice.akSlots[i] = eSlot;
        kDevice.bHasSlot[eSlot] = true;
        if (eSlot <= SLOT_V)
            ++kDevice.uiAxisCount;
    }
    kDevice.uiButtonCount = uiButtons < MAX_BUTTONS ? uiButtons : MAX_BUTTONS;
}

// The device for a joystick number, opened on first use; null when it is not there.
Device* OpenDevice(Joysticks& kJoysticks, uint32_t uiJoystick)
{
    Device& kDevice = kJoysticks.akDevices[uiJoystick];
    if (kDevice.iFile >= 0)
        return &kDevice;
    const std::string kPath = kJoysticks.kPrefix + std::to_string(uiJoystick);
    kDevice.iFile = open(kPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (kDevice.iFile < 0)
        return nullptr;
    ReadLayout(kDevice);
    return &kDevice;
}

// Applies every event waiting; false when the device has gone.
bool DrainEvents(Device& kDevice)
{
    for (;;)
    {
        js_event kEvent;
        const ssize_t iRead = read(kDevice.iFile, &kEvent, sizeof(kEvent));
        if (iRead < 0 && errno == EINTR)
            continue;
        if (iRead < 0)
            return errno == EAGAIN;
        if (iRead != static_cast<ssize_t>(sizeof(kEvent)))
            return true; // end of a recorded file
        const uint8_t uiType = kEvent.type & ~JS_EVENT_INIT;
        if (uiType == JS_EVENT_BUTTON && kEvent.number < kDevice.uiButtonCount)
        {
            const uint32_t uiBit = 1u << kEvent.number;
            kDevice.uiButtons =
                kEvent.value != 0 ? (kDevice.uiButtons | uiBit) : (kDevice.uiButtons & ~uiBit);
        }
        else if (uiType == JS_EVENT_AXIS && kEvent.number < ABS_CNT &&
                 kDevice.akSlots[kEvent.number] != SLOT_NONE)
        {
            kDevice.aiValues[kDevice.akSlots[kEvent.number]] = kEvent.value;
        }
    }
}

uint32_t ToPosition(int32_t iValue)
{
    if (iValue < -LINUX_AXIS_LIMIT)
        iValue = -LINUX_AXIS_LIMIT;
    return static_cast<uint32_t>((int64_t{iValue} + LINUX_AXIS_LIMIT) * 65535 / (2 * LINUX_AXIS_LIMIT));
}

uint32_t PointOfView(int32_t iHatX, int32_t iHatY)
{
    const int iX = (iHatX > 0) - (iHatX < 0);
    const int iY = (iHatY > 0) - (iHatY < 0); // positive is down
    if (iX == 0 && iY == 0)
        return JOY_POVCENTERED;
    // Clockwise from straight up, in hundredths of a degree.
    static constexpr uint32_t AUI_POV[3][3] = {
        {31500, 0, 4500},      // up-left, up, up-right
        {27000, 0, 9000},      // left, (centre), right
        {22500, 18000, 13500}, // down-left, down, down-right
    };
    return AUI_POV[iY + 1][iX + 1];
}
} // namespace

uint32_t joyGetNumDevs()
{
    return MAX_JOYSTICKS;
}

uint32_t joyGetDevCapsA(uintptr_t uiJoystick, JOYCAPSA* pkCaps, uint32_t uiSize)
{
    if (pkCaps == nullptr || uiSize != sizeof(JOYCAPSA))
        return MMSYSERR_INVALPARAM;
    if (uiJoystick >= MAX_JOYSTICKS)
        return JOYERR_PARMS;
    Joysticks& kJoysticks = GetJoysticks();
    std::lock_guard kGuard(kJoysticks.kLock);
    const Device* pkDevice = OpenDevice(kJoysticks, static_cast<uint32_t>(uiJoystick));
    if (pkDevice == nullptr)
        return JOYERR_UNPLUGGED;

    std::memset(pkCaps, 0, sizeof(JOYCAPSA));
    std::strncpy(pkCaps->szPname, pkDevice->kName.c_str(), sizeof(pkCaps->szPname) - 1);
    pkCaps->wXmax = pkCaps->wYmax = pkCaps->wZmax = 65535;
    pkCaps->wRmax = pkCaps->wUmax = pkCaps->wVmax = 65535;
    pkCaps->wNumButtons = pkDevice->uiButtonCount;
    pkCaps->wPeriodMin = 10;
    pkCaps->wPeriodMax = 1000;
    static constexpr struct
    {
        Slot eSlot;
        uint32_t uiCap;
    } AK_AXIS_CAPS[] = {
        {SLOT_Z, JOYCAPS_HASZ}, {SLOT_R, JOYCAPS_HASR}, {SLOT_U, JOYCAPS_HASU}, {SLOT_V, JOYCAPS_HASV}};
    for (const auto& kAxis : AK_AXIS_CAPS)
    {
        if (pkDevice->bHasSlot[kAxis.eSlot])
            pkCaps->wCaps |= kAxis.uiCap;
    }
    if (pkDevice->bHasSlot[SLOT_HAT_X] || pkDevice->bHasSlot[SLOT_HAT_Y])
        pkCaps->wCaps |= JOYCAPS_HASPOV | JOYCAPS_POV4DIR;
    pkCaps->wMaxAxes = MAX_AXES;
    pkCaps->wNumAxes = pkDevice->uiAxisCount;
    pkCaps->wMaxButtons = MAX_BUTTONS;
    return JOYERR_NOERROR;
}

uint32_t joyGetPosEx(uint32_t uiJoystick, JOYINFOEX* pkInfo)
{
    if (pkInfo == nullptr || pkInfo->dwSize != sizeof(JOYINFOEX))
        return MMSYSERR_INVALPARAM;
    if (uiJoystick >= MAX_JOYSTICKS)
        return JOYERR_PARMS;
    Joysticks& kJoysticks = GetJoysticks();
    std::lock_guard kGuard(kJoysticks.kLock);
    Device* pkDevice = OpenDevice(kJoysticks, uiJoystick);
    if (pkDevice == nullptr)
        return JOYERR_UNPLUGGED;
    if (!DrainEvents(*pkDevice))
    {
        CloseDevice(*pkDevice);
        return JOYERR_UNPLUGGED;
    }
    const auto& aiValues = pkDevice->aiValues;
    pkInfo->dwXpos = ToPosition(aiValues[SLOT_X]);
    pkInfo->dwYpos = ToPosition(aiValues[SLOT_Y]);
    pkInfo->dwZpos = ToPosition(aiValues[SLOT_Z]);
    pkInfo->dwRpos = ToPosition(aiValues[SLOT_R]);
    pkInfo->dwUpos = ToPosition(aiValues[SLOT_U]);
    pkInfo->dwVpos = ToPosition(aiValues[SLOT_V]);
    pkInfo->dwButtons = pkDevice->uiButtons;
    pkInfo->dwButtonNumber = static_cast<uint32_t>(std::popcount(pkDevice->uiButtons));
    pkInfo->dwPOV = PointOfView(aiValues[SLOT_HAT_X], aiValues[SLOT_HAT_Y]);
    return JOYERR_NOERROR;
}

namespace win32
{
void SetJoystickDevicePrefix(const std::string& kPrefix)
{
    Joysticks& kJoysticks = GetJoysticks();
    std::lock_guard kGuard(kJoysticks.kLock);
    for (Device& kDevice : kJoysticks.akDevices)
        CloseDevice(kDevice);
    kJoysticks.kPrefix = kPrefix;
}
} // namespace win32
