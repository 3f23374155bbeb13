#pragma once

#include "platform/d3d7/IDirect3DDevice7.h"
#include "scene/object/NiHashMap.h"

#include <cstdint>
#include <memory>

class NiMaterialProperty;

// The device's copy of the scene's materials: one D3DMATERIAL7 per material serial, converted
// again only when the material's revision moves on, and handed to the device only when the
// object being drawn uses another material or its material changed.
class NiD3DMaterialCache
{
public:
    // Starts on the default material, with a commit pending so that the device gets it first.
    NiD3DMaterialCache();
    ~NiD3DMaterialCache();

    NiD3DMaterialCache(const NiD3DMaterialCache&) = delete;
    NiD3DMaterialCache& operator=(const NiD3DMaterialCache&) = delete;

    // Makes the material current; true when its record had to be converted again. A null
    // material stands for the default one.
    bool Select(NiMaterialProperty* pkMaterial);
    // Sends the current record when it is not the one the device has.
    void Commit(IDirect3DDevice7* pkDevice);

    const D3DMATERIAL7* GetCurrent() const;
    uint32_t GetRecordCount() const { return m_kRecords.GetCount(); }

private:
    struct Record
    {
        D3DMATERIAL7 m_kMaterial{};
        uint32_t m_uiRevision = 0;

        // False when the record already holds this revision.
        bool Fill(const NiMaterialProperty& kMaterial);
    };

    NiHashMap<uint32_t, std::unique_ptr<Record>> m_kRecords;
    Record* m_pkCurrent = nullptr;
    bool m_bChanged = false;
};
