#pragma once

#include "platform/d3d7/IDirect3DDevice7.h"
#include "scene/graph/NiEffectLists.h"
#include "scene/object/NiHashMap.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>
#include <memory>
#include <vector>

class NiLight;
class NiTextureModeProperty;
class NiVertexColorProperty;

// The scene's lights as device lights. Each light that shines on the object being drawn has a
// D3DLIGHT7 under its index, converted again only when the light's revision moves on, and stays
// switched on while objects with the same effect lists follow; ambient lights are summed into
// the ambient render state. The cache also decides per object whether the device lights at all
// and where the material colours come from.
class NiD3DLightCache
{
public:
    // Sets ambient 0, lighting off and every material source to the material. The device's
    // maximum of active lights bounds how many are switched on at once (0: no bound).
    explicit NiD3DLightCache(IDirect3DDevice7* pkDevice);
    ~NiD3DLightCache();

    NiD3DLightCache(const NiD3DLightCache&) = delete;
    NiD3DLightCache& operator=(const NiD3DLightCache&) = delete;

    // Per drawn object, after its texture stages are planned.
    void SetObjectLighting(NiEffectLists* pkLists, bool bHasBaseTexture, NiTextureModeProperty* pkTextureMode,
                           NiVertexColorProperty* pkVertexColor);
    // Switches off the lights of the previous object and on those of these lists.
    void UpdateLights(NiEffectLists* pkLists);
    // At each scene start: every light off, the last lists forgotten.
    void DisableAll();
    // A light that dies leaves the cache and the device.
    void PurgeLight(NiLight* pkLight);

    //--- State for tests and the renderer. ---
    bool GetLightingOn() const { return m_bLightingOn; }
    uint32_t GetAmbient() const { return m_uiAmbient; }
    uint32_t GetEnabledCount() const { return static_cast<uint32_t>(m_kEnabled.size()); }
    uint32_t GetEntryCount() const { return m_kEntries.GetCount(); }
    // The record of a light index, or null.
    const D3DLIGHT7* GetRecord(uint32_t uiIndex) const;

private:
    struct Entry
    {
        D3DLIGHT7 m_kLight{};
        int32_t m_iRevision = 0;

        // False when the entry already holds the light's revision.
        bool Fill(const NiLight& kLight);
    };

    void SetLighting(bool bOn);
    void SetMaterialSource(uint32_t uiSource);
    void EnableLight(NiLight* pkLight);
    void DisableEnabled();

    NiHashMap<uint32_t, std::unique_ptr<Entry>> m_kEntries;
    std::vector<NiRefPtr<NiLight>> m_kEnabled;
    IDirect3DDevice7* m_pkDevice;
    uint32_t m_uiMaxActive = 0;

    // The lists and lights-wanted value UpdateLights last ran for. The lists are held, so that
    // new lists made at a freed one's address are never taken for it.
    NiRefPtr<NiEffectLists> m_spLastLists;
    bool m_bLastWanted = false;

    uint32_t m_uiApplyMode = 0;
    bool m_bLightingOn = false;
    bool m_bLightsWanted = false;
    uint32_t m_uiMaterialSource = 0;
    uint32_t m_uiAmbient = 0;
};
