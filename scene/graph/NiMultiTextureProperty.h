#pragma once

#include "scene/graph/NiMultiTextureMap.h"
#include "scene/graph/NiProperty.h"
#include "scene/object/NiObjectNET.h"

#include <cstdint>
#include <memory>
#include <vector>

// What NiMultiTextureProperty keeps between LoadBinary and ResolveLinks: the saved image id of
// each slot's map (0 for none), indexed by slot.
class NiMultiTextureLinkRecord : public NiObjectNETLinkRecord
{
public:
    std::vector<uint32_t> m_kImageIDs;
};

// Maps beyond the base texture, one per slot: dark, detail, gloss, glow, glow alpha, and any
// number of decal maps from slot 5 on. A new property has the six slots 0-5, all empty; the
// property owns its maps. The renderer takes the default instance as "no further maps".
//
// The record format has no room for the glow alpha map: slot 4 is written by no save, and read
// only from a record that holds exactly five entries.
class NiMultiTextureProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiMultiTextureLinkRecord;

    enum MapSlot : uint32_t
    {
        DARK_MAP = 0,
        DETAIL_MAP = 1,
        GLOSS_MAP = 2,
        GLOW_MAP = 3,
        GLOW_ALPHA_MAP = 4,
        DECAL_MAP = 5, // the first decal map; more follow in the slots above
        BASE_SLOT_COUNT = 6
    };

    NiMultiTextureProperty();
    ~NiMultiTextureProperty() override;

    static NiRefPtr<NiMultiTextureProperty> GetDefault();

    // The number of slots (6, or more with further decal maps).
    uint32_t GetMapCount() const { return static_cast<uint32_t>(m_kMaps.size()); }
    // The map of a slot; null for an empty slot or one beyond the count.
    NiMultiTextureMap* GetMap(uint32_t uiSlot) const;
    // Puts the map (or an empty slot for null) into the slot, adding slots up to it as needed;
    // a map the slot held before is freed.
    void SetMap(uint32_t uiSlot, std::unique_ptr<NiMultiTextureMap> spMap);

    // "MultiTexture Dark Map 0" ..., the heading of a slot's lines.
    static std::string SlotHeading(uint32_t uiSlot);

    int32_t GetPropertyType() const override { return MULTI_TEXTURE; }
    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    void CopyToClone(NiMultiTextureProperty* pkClone);

private:
    // Whether slot uiSlot of a record with uiCount slots has an entry.
    static bool SlotHasEntry(uint32_t uiSlot, uint32_t uiCount)
    {
        return uiSlot != GLOW_ALPHA_MAP || uiCount == GLOW_ALPHA_MAP + 1;
    }
    void LoadMap(NiStream& kStream, uint32_t uiSlot);

    std::vector<std::unique_ptr<NiMultiTextureMap>> m_kMaps;
};
