#include "scene/render/NiDirectDrawDevice.h"

#include "platform/d3d7/DirectDraw.h"
#include "platform/d3d7/IDirectDraw7.h"
#include "platform/d3d7/IDirectDrawSurface7.h"
#include "scene/render/D3DLog.h"
#include "scene/render/NiD3DDriverList.h"
#include "scene/render/NiDDBufferImage.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{
std::vector<NiDirectDrawDevice*>& LivingDevices()
{
    static std::vector<NiDirectDrawDevice*> s_kDevices;
    return s_kDevices;
}
} // namespace

NiDirectDrawDevice::NiDirectDrawDevice() = default;

NiDirectDrawDevice::~NiDirectDrawDevice() = default;

uint32_t NiDirectDrawDevice::GetLivingCount()
{
    return static_cast<uint32_t>(LivingDevices().size());
}

NiDDBufferImage* NiDirectDrawDevice::GetPrimaryImage() const
{
    return m_spPrimaryImage;
}

//--- Creation ------------------------------------------------------------------------------------

NiDirectDrawDevice* NiDirectDrawDevice::Create(const NiD3DDriverRecord* pkRecord)
{
    D3DLogMessage("(Creation): Attempting to initialize DirectDraw device");
    if (!pkRecord)
        pkRecord = NiD3DDriverList::GetDefaultWindowedDriver();
    auto* pkDevice = new NiDirectDrawDevice;
    if (pkRecord)
        pkDevice->m_pkRecord = std::make_unique<NiD3DDriverRecord>(*pkRecord);

    auto pfnCreate = reinterpret_cast<LPDIRECTDRAWCREATEEX>(
        GetProcAddress(GetModuleHandleA("DDRAW.DLL"), "DirectDrawCreateEx"));
    GUID kGuid;
    GUID* pkGuid = nullptr;
    if (pkRecord && pkRecord->m_kDriverId)
    {
        kGuid = *pkRecord->m_kDriverId;
        pkGuid = &kGuid;
    }
    if (!pfnCreate ||
        FAILED(pfnCreate(pkGuid, reinterpret_cast<LPVOID*>(&pkDevice->m_pkDirectDraw), IID_IDirectDraw7,
                         nullptr)) ||
        !pkDevice->m_pkDirectDraw)
    {
        D3DLogError("Creation failed: DirectDrawCreate for HEL failed");
        pkDevice->m_pkDirectDraw = nullptr;
        delete pkDevice;
        return nullptr;
    }
    return Finish(pkDevice);
}

NiDirectDrawDevice* NiDirectDrawDevice::CreateFromDirectDraw(IDirectDraw7* pkDirectDraw,
                                                             const NiD3DDriverRecord* pkRecord)
{
    D3DLogMessage(
        "(Creation): Attempting to initialize DirectDraw device from app-supplied DirectDraw object");
    if (!pkDirectDraw)
        return nullptr;
    auto* pkDevice = new NiDirectDrawDevice;
    if (pkRecord)
        pkDevice->m_pkRecord = std::make_unique<NiD3DDriverRecord>(*pkRecord);
    pkDirectDraw->AddRef();
    pkDevice->m_pkDirectDraw = pkDirectDraw;
    DDSURFACEDESC2 kMode;
    kMode.dwSize = sizeof(kMode);
    if (FAILED(pkDirectDraw->GetDisplayMode(&kMode)))
    {
        D3DLogError("Creation failed: Get Display Mode failed");
        pkDevice->Destroy();
        return nullptr;
    }
    pkDevice->m_uiDisplayBitsPerPixel = kMode.ddpfPixelFormat.dwRGBBitCount;
    return Finish(pkDevice);
}

NiDirectDrawDevice* NiDirectDrawDevice::Finish(NiDirectDrawDevice* pkDevice)
{
    if (!pkDevice->ReadCaps())
    {
        pkDevice->Destroy();
        return nullptr;
    }
    pkDevice->m_iRefCount = 1;
    LivingDevices().push_back(pkDevice);
    D3DLogMessage("(Creation): DirectDraw device initialization succeeded");
    return pkDevice;
}

bool NiDirectDrawDevice::ReadCaps()
{
    DDCAPS kHardware;
    DDCAPS kEmulation;
    kHardware.dwSize = kEmulation.dwSize = sizeof(DDCAPS);
    if (FAILED(m_pkDirectDraw->GetCaps(&kHardware, &kEmulation)))
    {
        D3DLogError("Creation failed: Direct Draw Caps query failed");
        return false;
    }
    if (kHardware.dwCaps & DDCAPS_3D)
    {
        m_ucHardware = 1;
        m_kCaps = kHardware;
        return true;
    }
    D3DLogWarning("(Creation): Hardware DirectDraw has no 3D capabilities");
    D3DLogWarning("(Creation): Using DirectDraw software");
    if (!(kEmulation.dwCaps & DDCAPS_3D))
    {
        D3DLogError("Creation failed: Software DirectDraw has no 3D capabilities");
        return false;
    }
    m_ucHardware = 0;
    m_kCaps = kEmulation;
    return true;
}

//--- Cooperative level and display mode ----------------------------------------------------------

bool NiDirectDrawDevice::FailCooperativeLevel(const char* pcError)
{
    D3DLogError(pcError);
    m_pkDirectDraw->SetCooperativeLevel(m_hCooperativeWindow, LEVEL_NORMAL);
    return false;
}

bool NiDirectDrawDevice::SetCooperativeLevelAndMode(HWND hWindow, bool bFullscreen, uint32_t uiWidth,
                                                    uint32_t uiHeight, uint32_t uiBitsPerPixel)
{
    if (m_ucCooperativeLevelSet)
        return true;
    m_hCooperativeWindow = hWindow;
    if (bFullscreen)
    {
        if (!hWindow)
        {
            D3DLogError("Creation failed: Fullscreen renderer requires a non-NULL top-level window handle");
            return false;
        }
        const bool bMultimon = GetLivingCount() > 1;
        if (FAILED(m_pkDirectDraw->SetCooperativeLevel(hWindow, bMultimon ? LEVEL_FULLSCREEN_MULTIMON
                                                                          : LEVEL_FULLSCREEN)))
        {
            D3DLogError(bMultimon ? "Creation failed: Set Multimon Cooperative Level failed"
                                  : "Creation failed: Set Cooperative Level failed");
            return false;
        }
        m_ucCooperativeLevelSet = 1;
        if (m_pkRecord && !m_pkRecord->HasMode(uiWidth, uiHeight, uiBitsPerPixel))
            return FailCooperativeLevel("Creation failed: Desired fullscreen display mode not supported");
        if (FAILED(m_pkDirectDraw->SetDisplayMode(uiWidth, uiHeight, uiBitsPerPixel, 0, 0)))
            return FailCooperativeLevel("Creation failed: Set Display Mode failed");
        m_uiDisplayBitsPerPixel = uiBitsPerPixel;
        m_ucDisplayModeChanged = 1;
        return true;
    }

    if (FAILED(m_pkDirectDraw->SetCooperativeLevel(hWindow, LEVEL_NORMAL)))
        return FailCooperativeLevel("Creation failed: Set Cooperative Level failed");
    m_ucCooperativeLevelSet = 1;
    DDSURFACEDESC2 kMode;
    kMode.dwSize = sizeof(kMode);
    if (FAILED(m_pkDirectDraw->GetDisplayMode(&kMode)))
        return FailCooperativeLevel("Creation failed: Get Display Mode failed");
    m_uiDisplayBitsPerPixel = kMode.ddpfPixelFormat.dwRGBBitCount;
    return true;
}

void NiDirectDrawDevice::RestoreDisplayMode()
{
    if (!m_ucDisplayModeChanged)
        return;
    if (FAILED(m_pkDirectDraw->RestoreDisplayMode()))
        D3DLogWarning("(Shutdown): Restore Display Mode failed");
    if (FAILED(m_pkDirectDraw->SetCooperativeLevel(m_hCooperativeWindow, LEVEL_NORMAL)))
        D3DLogWarning("(Shutdown): Set Cooperative Level failed");
    m_ucDisplayModeChanged = 0;
}

void NiDirectDrawDevice::SetPrimarySurface(IDirectDrawSurface7* pkSurface, NiDDBufferImage* pkImage)
{
    if (m_pkPrimarySurface || !pkSurface)
        return;
    pkSurface->AddRef();
    m_pkPrimarySurface = pkSurface;
    m_spPrimaryImage = pkImage ? pkImage : NiDDBufferImage::Create(pkSurface, m_pkDirectDraw);
}

//--- Destruction ---------------------------------------------------------------------------------

void NiDirectDrawDevice::DecRef()
{
    if (--m_iRefCount <= 0)
        Destroy();
}

void NiDirectDrawDevice::Destroy()
{
    D3DLogMessage("(Shutdown): Releasing DirectDraw encapsulation object");
    if (m_pkDirectDraw)
    {
        RestoreDisplayMode();
        m_pkRecord.reset();
        m_spPrimaryImage = nullptr;
        if (m_pkPrimarySurface)
        {
            const ULONG uiLeft = m_pkPrimarySurface->Release();
            m_pkPrimarySurface = nullptr;
            if (uiLeft > 0)
            {
                const std::string kText =
                    "(Shutdown): Release of DirectDraw Primary Surface returned a refcount of " +
                    std::to_string(uiLeft);
                D3DLogWarning(kText.c_str());
            }
        }
        NiDDImage::ReleaseAllForDirectDraw(m_pkDirectDraw);
        m_pkDirectDraw->Release();
        m_pkDirectDraw = nullptr;
    }
    D3DLogMessage("(Shutdown): DirectDraw encapsulation object released");
    std::vector<NiDirectDrawDevice*>& kDevices = LivingDevices();
    kDevices.erase(std::remove(kDevices.begin(), kDevices.end(), this), kDevices.end());
    delete this;
}
