#include "scene/render/NiD3DDriverList.h"

#include "platform/d3d7/DirectDraw.h"
#include "platform/d3d7/IDirect3D7.h"
#include "platform/d3d7/IDirectDraw7.h"
#include "platform/d3d7/IDirectDrawSurface7.h"

#include <memory>

// Contents: enumeration of drivers and devices / defaults / the driver-mode check.

namespace
{
struct DriverListState
{
    bool m_bEnumerated = false;
    std::list<NiD3DDriverRecord> m_kRecords;
    const NiD3DDriverRecord* m_pkWindowed = nullptr;
    const NiD3DDriverRecord* m_pkFullscreen = nullptr;
    const NiD3DDriverRecord* m_pkSoftware = nullptr;
};

DriverListState& State()
{
    static DriverListState s_kState;
    return s_kState;
}

// What the per-device step needs to know of the display driver being enumerated.
struct DriverContext
{
    const GUID* m_pkGuid = nullptr;
    IDirectDraw7* m_pkDirectDraw = nullptr;
    DDCAPS m_kHardwareCaps;
    std::list<NiD3DDriverRecord>* m_pkRecords = nullptr;
};

// The display modes a device renders: 32-bit ones when it renders at 32 bits, 16-bit ones when
// it renders at 16 bits, no others.
struct ModeContext
{
    NiD3DDriverRecord* m_pkRecord = nullptr;
    DWORD m_dwRenderDepths = 0;
};

HRESULT AddMode(DDSURFACEDESC2* pkDesc, LPVOID pvContext)
{
    auto* pkContext = static_cast<ModeContext*>(pvContext);
    const uint32_t uiBits = pkDesc->ddpfPixelFormat.dwRGBBitCount;
    if ((uiBits == 32 && (pkContext->m_dwRenderDepths & DDBD_32)) ||
        (uiBits == 16 && (pkContext->m_dwRenderDepths & DDBD_16)))
    {
        pkContext->m_pkRecord->m_kModes.push_back({pkDesc->dwWidth, pkDesc->dwHeight, uiBits});
    }
    return DDENUMRET_OK;
}

HRESULT AddDevice(char*, char* pcName, D3DDEVICEDESC7* pkDesc, LPVOID pvContext)
{
    auto* pkContext = static_cast<DriverContext*>(pvContext);
    const bool bPrimary = pkContext->m_pkGuid == nullptr;
    const bool bHardware = (pkDesc->dwDevCaps & D3DDEVCAPS_HWRASTERIZATION) != 0;
    // A software device counts only on the primary display, and only when it reports caps.
    if (!bHardware && (!bPrimary || pkDesc->dwDevCaps == 0))
        return D3DENUMRET_OK;

    NiD3DDriverRecord kRecord;
    if (bHardware)
    {
        const bool bTransform = (pkDesc->dwDevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0;
        kRecord.m_pkDeviceType = bTransform ? &IID_IDirect3DTnLHalDevice : &IID_IDirect3DHALDevice;
        kRecord.m_uiFlags |= bTransform ? uint32_t(NiD3DDriverRecord::HARDWARE_TRANSFORM) : 0u;
        kRecord.m_ucHardware = 1;
    }
    else
    {
        kRecord.m_pkDeviceType = &IID_IDirect3DRGBDevice;
    }
    if (pkDesc->dwDevCaps & D3DDEVCAPS_SEPARATETEXTUREMEMORIES)
        kRecord.m_uiFlags |= NiD3DDriverRecord::SEPARATE_TEXTURE_MEMORIES;
    if (pkDesc->dwDeviceRenderBitDepth & DDBD_32)
        kRecord.m_uiFlags |= NiD3DDriverRecord::RENDERS_32_BIT;
    kRecord.m_ucWindowed =
        bPrimary && (pkContext->m_kHardwareCaps.dwCaps2 & DDCAPS2_CANRENDERWINDOWED) ? 1 : 0;
    DDDEVICEIDENTIFIER2 kIdentifier;
    pkContext->m_pkDirectDraw->GetDeviceIdentifier(&kIdentifier, 0);
    kRecord.m_kName = std::string(pcName ? pcName : "") + " on " + kIdentifier.szDescription;
    if (pkContext->m_pkGuid)
        kRecord.m_kDriverId = *pkContext->m_pkGuid;

    ModeContext kModes{&kRecord, pkDesc->dwDeviceRenderBitDepth};
    pkContext->m_pkDirectDraw->EnumDisplayModes(0, nullptr, &kModes, &AddMode);

    if (bHardware && bPrimary)
        pkContext->m_pkRecords->push_front(std::move(kRecord));
    else
        pkContext->m_pkRecords->push_back(std::move(kRecord));
    return D3DENUMRET_OK;
}

// The Direct3D devices of one DirectDraw object into the records.
void AddDevicesOf(IDirectDraw7* pkDirectDraw, const GUID* pkGuid, std::list<NiD3DDriverRecord>& kRecords)
{
    DriverContext kContext;
    kContext.m_pkGuid = pkGuid;
    kContext.m_pkDirectDraw = pkDirectDraw;
    kContext.m_pkRecords = &kRecords;
    kContext.m_kHardwareCaps.dwSize = sizeof(DDCAPS);
    DDCAPS kEmulationCaps;
    kEmulationCaps.dwSize = sizeof(DDCAPS);
    if (FAILED(pkDirectDraw->GetCaps(&kContext.m_kHardwareCaps, &kEmulationCaps)))
        return;
    if (kContext.m_kHardwareCaps.dwCaps == 0)
        return;
    IDirect3D7* pkDirect3D = nullptr;
    if (FAILED(pkDirectDraw->QueryInterface(IID_IDirect3D7, reinterpret_cast<LPVOID*>(&pkDirect3D))) ||
        !pkDirect3D)
        return;
    pkDirect3D->EnumDevices(&AddDevice, &kContext);
    pkDirect3D->Release();
}

BOOL AddDriver(GUID* pkGuid, char*, char*, LPVOID pvContext)
{
    IDirectDraw7* pkDirectDraw = nullptr;
    if (FAILED(DirectDrawCreateEx(pkGuid, reinterpret_cast<LPVOID*>(&pkDirectDraw), IID_IDirectDraw7,
                                  nullptr)) ||
        !pkDirectDraw)
    {
        return DDENUMRET_OK;
    }
    AddDevicesOf(pkDirectDraw, pkGuid, *static_cast<std::list<NiD3DDriverRecord>*>(pvContext));
    pkDirectDraw->Release();
    return DDENUMRET_OK;
}

BOOL AddDriverEx(GUID* pkGuid, char* pcDescription, char* pcName, LPVOID pvContext, HMONITOR)
{
    return AddDriver(pkGuid, pcDescription, pcName, pvContext);
}

void PickDefaults(DriverListState& kState)
{
    for (const NiD3DDriverRecord& kRecord : kState.m_kRecords)
    {
        if (!kRecord.m_ucHardware)
        {
            kState.m_pkSoftware = &kRecord;
            break;
        }
    }
    const auto Transforms = [](const NiD3DDriverRecord* pkRecord)
    { return pkRecord && (pkRecord->m_uiFlags & NiD3DDriverRecord::HARDWARE_TRANSFORM); };

    for (const NiD3DDriverRecord& kRecord : kState.m_kRecords)
    {
        if (!kRecord.m_ucWindowed || !kRecord.IsOnPrimaryDisplay())
            continue;
        if (Transforms(&kRecord))
        {
            kState.m_pkWindowed = &kRecord;
            break;
        }
        if (kRecord.m_ucHardware)
            kState.m_pkWindowed = &kRecord;
    }

    const NiD3DDriverRecord* pkChoice =
        kState.m_pkWindowed && kState.m_pkWindowed->m_ucFullscreen ? kState.m_pkWindowed : nullptr;
    for (const NiD3DDriverRecord& kRecord : kState.m_kRecords)
    {
        if (!kRecord.m_ucFullscreen)
            continue;
        if (kRecord.IsOnPrimaryDisplay())
        {
            if (Transforms(&kRecord))
            {
                pkChoice = &kRecord;
                break;
            }
            if (kRecord.m_ucHardware && !Transforms(pkChoice))
                pkChoice = &kRecord;
        }
        else if (!kRecord.m_ucWindowed && !Transforms(pkChoice))
        {
            pkChoice = &kRecord;
        }
    }
    kState.m_pkFullscreen = pkChoice;
}

DriverListState& Enumerated()
{
    DriverListState& kState = State();
    if (kState.m_bEnumerated)
        return kState;
    kState.m_bEnumerated = true;
    HMODULE hModule = GetModuleHandleA("DDRAW.DLL");
    auto pfnEnumerateEx =
        reinterpret_cast<LPDIRECTDRAWENUMERATEEXA>(GetProcAddress(hModule, "DirectDrawEnumerateExA"));
    // Attached secondary, detached secondary and non-display devices.
    constexpr DWORD ALL_DEVICES = 7;
    if (pfnEnumerateEx)
        pfnEnumerateEx(&AddDriverEx, &kState.m_kRecords, ALL_DEVICES);
    else
        DirectDrawEnumerateA(&AddDriver, &kState.m_kRecords);
    PickDefaults(kState);
    return kState;
}
} // namespace

const std::list<NiD3DDriverRecord>& NiD3DDriverList::GetDriverList()
{
    return Enumerated().m_kRecords;
}

const NiD3DDriverRecord* NiD3DDriverList::GetDefaultWindowedDriver()
{
    return Enumerated().m_pkWindowed;
}

const NiD3DDriverRecord* NiD3DDriverList::GetDefaultFullscreenDriver()
{
    return Enumerated().m_pkFullscreen;
}

const NiD3DDriverRecord* NiD3DDriverList::GetSoftwareDriver()
{
    return Enumerated().m_pkSoftware;
}

void NiD3DDriverList::Forget()
{
    State() = DriverListState();
}

uint32_t NiD3DDriverList::CheckDriverModes(IDirectDraw7* pkDirectDraw, uint32_t uiMode,
                                           IDirectDrawSurface7* pkSurface, uint32_t uiFlag,
                                           uint32_t uiDeviceKind, NiD3DDriverRecord& kRecord)
{
    if (!uiFlag || !pkSurface || !pkDirectDraw)
        return 10;
    std::list<NiD3DDriverRecord> kRecords;
    AddDevicesOf(pkDirectDraw, nullptr, kRecords);
    const auto Find = [&](const IID& kType) -> const NiD3DDriverRecord*
    {
        for (const NiD3DDriverRecord& kCandidate : kRecords)
        {
            if (*kCandidate.m_pkDeviceType == kType)
                return &kCandidate;
        }
        return nullptr;
    };
    const NiD3DDriverRecord* pkChosen = nullptr;
    uint32_t uiStatus = 0;
    switch (uiDeviceKind)
    {
    case 0:
    case 1:
        pkChosen = Find(IID_IDirect3DRGBDevice);
        uiStatus = pkChosen ? 0 : (uiDeviceKind == 0 ? 7 : 8);
        break;
    case 2:
        pkChosen = Find(IID_IDirect3DTnLHalDevice);
        if (!pkChosen)
            pkChosen = Find(IID_IDirect3DHALDevice);
        uiStatus = pkChosen ? 0 : 8;
        break;
    default:
        pkChosen = Find(IID_IDirect3DTnLHalDevice);
        uiStatus = 9;
        break;
    }
    if (pkChosen)
        kRecord = *pkChosen;
    if (uiStatus)
        return uiStatus;

    const bool bCapable = uiMode == 1 ? kRecord.m_ucFullscreen : kRecord.m_ucWindowed;
    if (!bCapable)
        return uiMode == 1 ? 5 : 6;
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    pkSurface->GetSurfaceDesc(&kDesc);
    const uint32_t uiBits = kDesc.ddpfPixelFormat.dwRGBBitCount;
    if (uiBits == 16 || (uiBits == 32 && (kRecord.m_uiFlags & NiD3DDriverRecord::RENDERS_32_BIT)))
        return 0;
    return 1;
}
