#pragma once

// The machine the layer pretends to be, and which back end draws.
//
// Every DirectDraw object belongs to the world that was current when DirectDrawCreateEx
// made it. A world is either:
//   Backend::OpenGL    - draws with OpenGL (Mesa, compatibility profile) through an EGL
//                        context per DirectDraw object, offscreen; presenting to a window
//                        hands the finished frame to win32::Window::ReceiveFrame.
//   Backend::Recording - no GL at all: surfaces are memory, draws only change state.
// Both answer enumeration, caps, formats and budgets from the world's configuration, keep
// device state as the Direct3D values given, and log every call (Calls()).
//
// Choosing: the process starts with an OpenGL world of the defaults below. Tests and
// programs install another with d3d7::SetWorld (or d3d7::ScopedWorld) before creating
// DirectDraw objects:
//     auto pkWorld = std::make_shared<d3d7::World>(d3d7::Backend::Recording);
//     pkWorld->kDisplayMode.dwBPP = 16;
//     d3d7::ScopedWorld kScope(pkWorld);

#include "platform/d3d7/D3DTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class IDirect3DDevice7;
class IDirectDrawSurface7;

namespace d3d7
{
class Surface;

enum class Backend
{
    OpenGL,
    Recording,
};

struct DisplayMode
{
    DWORD dwWidth = 0;
    DWORD dwHeight = 0;
    DWORD dwBPP = 0;
};

struct DeviceConfig
{
    std::string sDescription;
    std::string sName;
    // deviceGUID is the device type (IID_IDirect3DTnLHalDevice, ...).
    D3DDEVICEDESC7 kDesc;
};

struct DriverConfig
{
    GUID kGuid;           // unused for the primary display driver (enumerated with null)
    bool bPrimary = true; // the primary display driver
    std::string sDescription;
    std::string sName;
    std::string sIdentifier; // GetDeviceIdentifier's szDescription
    DDCAPS kHardwareCaps;
    DDCAPS kEmulationCaps;
    std::vector<DeviceConfig> kDevices;
    std::vector<DisplayMode> kModes;
    bool bCreateFails = false; // DirectDrawCreateEx refuses this driver
};

// One logged call: the method name and its plain arguments (pointers as addresses, floats
// as their bit patterns, records left out).
struct Call
{
    std::string sMethod;
    std::vector<uint64_t> kArgs;

    std::string Text() const;
};

class World
{
public:
    explicit World(Backend eBackend = Backend::OpenGL);
    ~World();

    World(const World&) = delete;
    World& operator=(const World&) = delete;

    Backend GetBackend() const { return m_eBackend; }

    // ---- Configuration (read when the calls are made) ---------------------------------------
    std::vector<DriverConfig> kDrivers;         // default: one primary driver with one TnL HAL device
    bool bHasCreateEx = true;                   // GetProcAddress finds DirectDrawCreateEx
    bool bHasEnumerateEx = true;                // GetProcAddress finds DirectDrawEnumerateExA
    DisplayMode kDisplayMode{1024, 768, 32};    // the desktop; SetDisplayMode changes it
    std::vector<DDPIXELFORMAT> kZBufferFormats; // default D16, D24X8, D24S8
    std::vector<DDPIXELFORMAT>
        kTextureFormats;               // default X1R5G5B5, R5G6B5, X8R8G8B8, A1R5G5B5, A4R4G4B4, A8R8G8B8
    DWORD dwTextureMemory = 64u << 20; // bytes of video-memory texture top levels
    bool bTripleBuffering = true;      // a flip chain of two back buffers may be made
    // Answers ValidateDevice; unset: every stage set-up passes in one pass.
    std::function<HRESULT(IDirect3DDevice7* pkDevice, DWORD* pdwPasses)> kValidateDevice;
    // At this BeginScene (counted from 1 over the world) every surface is lost first; 0: never.
    uint32_t uiLoseSurfacesAtScene = 0;

    // Makes the named method fail with hr, after letting uiSkip calls through, for uiTimes calls.
    void FailCall(std::string_view sMethod, HRESULT hr, uint32_t uiSkip = 0, uint32_t uiTimes = UINT32_MAX);
    void ClearFailures();

    // Marks every surface of this world lost (as after a display mode change elsewhere).
    void LoseAllSurfaces();
    static void SetSurfaceLost(IDirectDrawSurface7* pkSurface, bool bLost);

    // ---- Call log ---------------------------------------------------------------------------
    // Calls are logged by their interface method name, except the vertex buffer's Lock and
    // Unlock ("VertexBuffer::Lock", "VertexBuffer::Unlock") and the device's GetCaps
    // ("Device::GetCaps"), which share a name with a DirectDraw method. AddRef and Release
    // are not logged. FailCall takes the same names. A recording world logs from the start,
    // an OpenGL world only once asked to (a long session would otherwise grow the log).
    bool bRecordCalls;
    const std::vector<Call>& Calls() const { return m_kCalls; }
    size_t CountCalls(std::string_view sMethod) const;
    void ClearCalls() { m_kCalls.clear(); }
    // Draws that left out enabled lights beyond GL's eight units (OpenGL back end only).
    uint32_t GetDroppedLights() const { return m_uiDroppedLights; }

    // ---- Used by the layer itself -----------------------------------------------------------
    void Log(std::string_view sMethod, std::initializer_list<uint64_t> kArgs = {});
    // The injected failure for this call of the method, or S_OK.
    HRESULT Injected(std::string_view sMethod);
    bool NextSceneLosesSurfaces();
    void RestoreSurfacesOf(const class DirectDrawCore& kCore);
    void AddSurface(Surface* pkSurface);
    void RemoveSurface(Surface* pkSurface);
    void CountDroppedLight() { ++m_uiDroppedLights; }

private:
    struct Failure
    {
        std::string sMethod;
        HRESULT hr;
        uint32_t uiSkip;
        uint32_t uiTimes;
    };

    Backend m_eBackend;
    std::vector<Call> m_kCalls;
    std::vector<Failure> m_kFailures;
    std::vector<Surface*> m_kSurfaces;
    uint32_t m_uiScenes = 0;
    uint32_t m_uiDroppedLights = 0;
};

// Installs a world (null: a fresh default OpenGL world) and returns the one it replaces.
std::shared_ptr<World> SetWorld(std::shared_ptr<World> pkWorld);
std::shared_ptr<World> GetWorld();

// The default capability record of a Direct3D device of the given type.
D3DDEVICEDESC7 DefaultDeviceDesc(REFCLSID rclsidDevice);
// Pixel formats by name, as the defaults use them.
DDPIXELFORMAT RgbFormat(DWORD dwBits, DWORD dwR, DWORD dwG, DWORD dwB, DWORD dwA = 0);
DDPIXELFORMAT ZBufferFormat(DWORD dwDepthBits, DWORD dwStencilBits);
} // namespace d3d7
