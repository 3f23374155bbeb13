#include "platform/d3d7/DirectDraw.h"

#include "platform/d3d7/DirectDrawCore.h"
#include "platform/d3d7/DirectDrawObject.h"

#include <strings.h>

#include <string>

namespace
{
// The driver of a GUID: null is the primary display driver.
bool FindDriver(const d3d7::World& kWorld, const GUID* pkGuid, size_t& uiDriver)
{
    for (size_t i = 0; i < kWorld.kDrivers.size(); ++i)
    {
        const d3d7::DriverConfig& kDriver = kWorld.kDrivers[i];
        if (pkGuid == nullptr ? kDriver.bPrimary : (!kDriver.bPrimary && kDriver.kGuid == *pkGuid))
        {
            uiDriver = i;
            return true;
        }
    }
    return false;
}

template <class Callback> HRESULT Enumerate(bool bSecondaries, Callback&& fnCallback)
{
    std::shared_ptr<d3d7::World> pkWorld = d3d7::GetWorld();
    pkWorld->Log("DirectDrawEnumerate");
    if (HRESULT hr = pkWorld->Injected("DirectDrawEnumerate"); FAILED(hr))
        return hr;
    // The primary display driver comes first, whatever the configured order.
    std::vector<const d3d7::DriverConfig*> kOrder;
    for (const d3d7::DriverConfig& kDriver : pkWorld->kDrivers)
    {
        if (kDriver.bPrimary)
            kOrder.insert(kOrder.begin(), &kDriver);
        else if (bSecondaries)
            kOrder.push_back(&kDriver);
    }
    for (const d3d7::DriverConfig* pkDriver : kOrder)
    {
        GUID kGuid = pkDriver->kGuid;
        std::string sDescription = pkDriver->sDescription;
        std::string sName = pkDriver->sName;
        if (fnCallback(pkDriver->bPrimary ? nullptr : &kGuid, sDescription.data(), sName.data()) ==
            DDENUMRET_CANCEL)
            break;
    }
    return DD_OK;
}
} // namespace

HRESULT DirectDrawCreateEx(GUID* pkGuid, LPVOID* ppvDirectDraw, REFIID riid, IUnknown*)
{
    std::shared_ptr<d3d7::World> pkWorld = d3d7::GetWorld();
    pkWorld->Log("DirectDrawCreateEx", {reinterpret_cast<uintptr_t>(pkGuid)});
    if (ppvDirectDraw == nullptr)
        return DDERR_INVALIDPARAMS;
    *ppvDirectDraw = nullptr;
    if (HRESULT hr = pkWorld->Injected("DirectDrawCreateEx"); FAILED(hr))
        return hr;
    if (riid != IID_IDirectDraw7)
        return E_NOINTERFACE;
    size_t uiDriver = 0;
    if (!FindDriver(*pkWorld, pkGuid, uiDriver))
        return DDERR_INVALIDPARAMS;
    if (pkWorld->kDrivers[uiDriver].bCreateFails)
        return DDERR_GENERIC;
    auto pkCore = std::make_shared<d3d7::DirectDrawCore>(pkWorld, uiDriver);
    *ppvDirectDraw = static_cast<IDirectDraw7*>(new d3d7::DirectDrawObject(std::move(pkCore)));
    return DD_OK;
}

HRESULT DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA pfnCallback, LPVOID pvContext, DWORD dwFlags)
{
    if (pfnCallback == nullptr)
        return DDERR_INVALIDPARAMS;
    const bool bSecondaries =
        (dwFlags & (DDENUM_ATTACHEDSECONDARYDEVICES | DDENUM_DETACHEDSECONDARYDEVICES)) != 0;
    return Enumerate(bSecondaries, [&](GUID* pkGuid, char* pcDescription, char* pcName)
                     { return pfnCallback(pkGuid, pcDescription, pcName, pvContext, nullptr); });
}

HRESULT DirectDrawEnumerateA(LPDDENUMCALLBACKA pfnCallback, LPVOID pvContext)
{
    if (pfnCallback == nullptr)
        return DDERR_INVALIDPARAMS;
    return Enumerate(true, [&](GUID* pkGuid, char* pcDescription, char* pcName)
                     { return pfnCallback(pkGuid, pcDescription, pcName, pvContext); });
}

HMODULE GetModuleHandleA(const char* pcModuleName)
{
    static int s_iDriverLibrary = 0;
    if (pcModuleName != nullptr && strcasecmp(pcModuleName, "DDRAW.DLL") == 0)
        return &s_iDriverLibrary;
    return nullptr;
}

FARPROC GetProcAddress(HMODULE hModule, const char* pcProcName)
{
    if (hModule == nullptr || hModule != GetModuleHandleA("DDRAW.DLL") || pcProcName == nullptr)
        return nullptr;
    const std::shared_ptr<d3d7::World> pkWorld = d3d7::GetWorld();
    const std::string sName = pcProcName;
    if (sName == "DirectDrawCreateEx" && pkWorld->bHasCreateEx)
        return reinterpret_cast<FARPROC>(&DirectDrawCreateEx);
    if (sName == "DirectDrawEnumerateExA" && pkWorld->bHasEnumerateEx)
        return reinterpret_cast<FARPROC>(&DirectDrawEnumerateExA);
    return nullptr;
}
