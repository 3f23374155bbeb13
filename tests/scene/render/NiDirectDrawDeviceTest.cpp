#include "RenderLayerFixture.h"

#include "scene/render/D3DLog.h"
#include "scene/render/NiDDBufferImage.h"
#include "scene/render/NiDirectDrawDevice.h"

#include "scene/object/NiRefPtr.h"

#include <gtest/gtest.h>

namespace
{
d3d7::DeviceConfig Device(const char* pcName, REFCLSID rclsidType, DWORD dwDevCaps)
{
    d3d7::DeviceConfig kDevice{pcName, pcName, d3d7::DefaultDeviceDesc(rclsidType)};
    kDevice.kDesc.dwDevCaps = dwDevCaps;
    return kDevice;
}

constexpr DWORD HAL = D3DDEVCAPS_HWRASTERIZATION;
constexpr DWORD TNL = D3DDEVCAPS_HWRASTERIZATION | D3DDEVCAPS_HWTRANSFORMANDLIGHT;
constexpr DWORD SOFTWARE = 0x1; // any non-zero caps without hardware rasterisation
} // namespace

// Which records the enumeration makes and which it picks as defaults, for a few machines.
TEST(NiD3DDriverList, RecordsAndDefaultsFollowTheMachine)
{
    RecordingWorld kWorld;
    d3d7::DriverConfig& kPrimary = kWorld.World().kDrivers[0];
    kPrimary.kDevices = {Device("RGB", IID_IDirect3DRGBDevice, SOFTWARE),
                         Device("HAL", IID_IDirect3DHALDevice, HAL),
                         Device("TnL", IID_IDirect3DTnLHalDevice, TNL)};
    d3d7::DriverConfig kSecondary = kPrimary;
    kSecondary.bPrimary = false;
    kSecondary.kGuid.Data1 = 7;
    kSecondary.sIdentifier = "Second card";
    kSecondary.kDevices = {Device("HAL", IID_IDirect3DHALDevice, HAL),
                           Device("RGB", IID_IDirect3DRGBDevice, SOFTWARE)};
    kWorld.World().kDrivers.push_back(kSecondary);

    const auto& kList = NiD3DDriverList::GetDriverList();
    std::vector<std::string> kNames;
    for (const NiD3DDriverRecord& kRecord : kList)
        kNames.push_back(kRecord.m_kName + (kRecord.m_ucWindowed ? " w" : ""));
    // Primary hardware records go to the front (each in turn), the rest to the back; software
    // devices of other displays are not listed.
    EXPECT_EQ(kNames, (std::vector<std::string>{"TnL on Recording w", "HAL on Recording w",
                                                "RGB on Recording w", "HAL on Second card"}));
    ASSERT_TRUE(NiD3DDriverList::GetDefaultWindowedDriver());
    EXPECT_EQ(NiD3DDriverList::GetDefaultWindowedDriver()->m_kName, "TnL on Recording");
    EXPECT_EQ(NiD3DDriverList::GetDefaultFullscreenDriver()->m_kName, "TnL on Recording");
    EXPECT_EQ(NiD3DDriverList::GetSoftwareDriver()->m_kName, "RGB on Recording");
    const NiD3DDriverRecord& kTnL = kList.front();
    EXPECT_EQ(kTnL.m_uiFlags & NiD3DDriverRecord::HARDWARE_TRANSFORM, NiD3DDriverRecord::HARDWARE_TRANSFORM);
    EXPECT_EQ(*kTnL.m_pkDeviceType, IID_IDirect3DTnLHalDevice);
    EXPECT_FALSE(kTnL.m_kDriverId);
    EXPECT_TRUE(kTnL.HasMode(1024, 768, 32));
    EXPECT_TRUE(kList.back().m_kDriverId);
}

TEST(NiD3DDriverList, AMachineWithoutHardwareHasOnlyTheSoftwareRecord)
{
    RecordingWorld kWorld;
    kWorld.World().kDrivers[0].kDevices = {Device("RGB", IID_IDirect3DRGBDevice, SOFTWARE)};
    kWorld.World().bHasEnumerateEx = false;
    ASSERT_EQ(NiD3DDriverList::GetDriverList().size(), 1u);
    EXPECT_EQ(NiD3DDriverList::GetDefaultWindowedDriver(), nullptr);
    EXPECT_EQ(NiD3DDriverList::GetDefaultFullscreenDriver(), nullptr);
    ASSERT_TRUE(NiD3DDriverList::GetSoftwareDriver());
    EXPECT_EQ(NiD3DDriverList::GetSoftwareDriver()->m_ucHardware, 0);
}

TEST(NiDirectDrawDevice, CreationLogsAndFailures)
{
    RecordingWorld kWorld;
    NiDirectDrawDevice* pkDevice = NiDirectDrawDevice::Create(nullptr);
    ASSERT_TRUE(pkDevice);
    EXPECT_TRUE(pkDevice->IsHardware());
    EXPECT_EQ(pkDevice->GetRefCount(), 1);
    EXPECT_EQ(pkDevice->GetDriverRecord()->m_kName, "TnL HAL on Recording");
    EXPECT_TRUE(kWorld.Logged("NI D3D Renderer: (Creation): DirectDraw device initialization succeeded\n"));
    pkDevice->DecRef();
    EXPECT_TRUE(kWorld.Logged("(Shutdown): DirectDraw encapsulation object released"));

    kWorld.World().kDrivers[0].kHardwareCaps.dwCaps = 0;
    kWorld.World().kDrivers[0].kEmulationCaps.dwCaps = 0;
    EXPECT_EQ(NiDirectDrawDevice::Create(nullptr), nullptr);
    EXPECT_TRUE(kWorld.Logged("WARNING: (Creation): Hardware DirectDraw has no 3D capabilities"));
    EXPECT_STREQ(D3DGetLastError(), "Creation failed: Software DirectDraw has no 3D capabilities");

    kWorld.World().bHasCreateEx = false;
    EXPECT_EQ(NiDirectDrawDevice::Create(nullptr), nullptr);
    EXPECT_STREQ(D3DGetLastError(), "Creation failed: DirectDrawCreate for HEL failed");
    EXPECT_EQ(NiDirectDrawDevice::GetLivingCount(), 0u);
}

TEST(NiDirectDrawDevice, CooperativeLevelIsAskedOnceAndAMissingModeFallsBackToNormal)
{
    RecordingWorld kWorld;
    win32::Window kWindow;
    NiDirectDrawDevice* pkDevice = NiDirectDrawDevice::Create(nullptr);
    ASSERT_TRUE(pkDevice);
    kWorld.World().ClearCalls();
    EXPECT_FALSE(pkDevice->SetCooperativeLevelAndMode(&kWindow, true, 1024, 700, 32));
    EXPECT_STREQ(D3DGetLastError(), "Creation failed: Desired fullscreen display mode not supported");
    ASSERT_EQ(kWorld.World().CountCalls("SetCooperativeLevel"), 2u);
    EXPECT_EQ(kWorld.World().Calls().back().kArgs.back(), NiDirectDrawDevice::LEVEL_NORMAL);
    EXPECT_EQ(kWorld.World().CountCalls("SetDisplayMode"), 0u);

    // Once asked, later requests change nothing.
    kWorld.World().ClearCalls();
    EXPECT_TRUE(pkDevice->SetCooperativeLevelAndMode(&kWindow, false, 0, 0, 0));
    EXPECT_TRUE(kWorld.World().Calls().empty());
    pkDevice->DecRef();

    pkDevice = NiDirectDrawDevice::Create(nullptr);
    EXPECT_FALSE(pkDevice->SetCooperativeLevelAndMode(nullptr, true, 1024, 768, 32));
    EXPECT_STREQ(D3DGetLastError(),
                 "Creation failed: Fullscreen renderer requires a non-NULL top-level window handle");
    pkDevice->DecRef();

    pkDevice = NiDirectDrawDevice::Create(nullptr);
    EXPECT_TRUE(pkDevice->SetCooperativeLevelAndMode(&kWindow, true, 1024, 768, 32));
    EXPECT_EQ(pkDevice->GetDisplayBitsPerPixel(), 32u);
    kWorld.World().ClearCalls();
    pkDevice->DecRef();
    EXPECT_EQ(kWorld.World().CountCalls("RestoreDisplayMode"), 1u);
}
