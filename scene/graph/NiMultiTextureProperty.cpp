#include "scene/graph/NiMultiTextureProperty.h"

#include "scene/graph/NiTextureModeProperty.h"
#include "scene/object/NiCFormat.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiMultiTextureProperty, NiProperty);
NiImplementCreateObject(NiMultiTextureProperty);

NiMultiTextureProperty::NiMultiTextureProperty() : m_kMaps(BASE_SLOT_COUNT) {}

NiMultiTextureProperty::~NiMultiTextureProperty() = default;

NiRefPtr<NiMultiTextureProperty> NiMultiTextureProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiMultiTextureProperty>();
}

NiMultiTextureMap* NiMultiTextureProperty::GetMap(uint32_t uiSlot) const
{
    return uiSlot < m_kMaps.size() ? m_kMaps[uiSlot].get() : nullptr;
}

void NiMultiTextureProperty::SetMap(uint32_t uiSlot, std::unique_ptr<NiMultiTextureMap> spMap)
{
    if (uiSlot >= m_kMaps.size())
        m_kMaps.resize(size_t(uiSlot) + 1);
    m_kMaps[uiSlot] = std::move(spMap);
}

std::string NiMultiTextureProperty::SlotHeading(uint32_t uiSlot)
{
    static constexpr const char* SLOT_FORMATS[] = {
        "MultiTexture Dark Map %d", "MultiTexture Detail Map %d",     "MultiTexture Gloss Map %d",
        "MultiTexture Glow Map %d", "MultiTexture Glow Alpha Map %d", "MultiTexture Decal Map %d",
    };
    const uint32_t uiFormat = uiSlot < DECAL_MAP ? uiSlot : DECAL_MAP;
    return NiCFormat(SLOT_FORMATS[uiFormat], static_cast<int>(uiSlot));
}

NiObject* NiMultiTextureProperty::MakeClone()
{
    NiMultiTextureProperty* pkClone = new NiMultiTextureProperty;
    CopyToClone(pkClone);
    return pkClone;
}

void NiMultiTextureProperty::CopyToClone(NiMultiTextureProperty* pkClone)
{
    // The cloned maps share the images.
    NiProperty::CopyToClone(pkClone);
    for (uint32_t uiSlot = 0; uiSlot < m_kMaps.size(); ++uiSlot)
    {
        if (m_kMaps[uiSlot])
            pkClone->SetMap(uiSlot, std::make_unique<NiMultiTextureMap>(*m_kMaps[uiSlot]));
    }
}

void NiMultiTextureProperty::LoadBinary(NiStream& kStream)
{
    NiProperty::LoadBinary(kStream);
    NiMultiTextureLinkRecord& kRecord = kStream.GetLinkRecord<NiMultiTextureLinkRecord>();
    kRecord.m_kImageIDs.assign(GLOW_ALPHA_MAP + 1, 0);

    uint32_t uiCount = 0;
    if (!kStream.Load(uiCount))
        return;
    // Every entry holds at least its presence word: a count the rest of the input cannot hold
    // fails the load before anything is allocated for it.
    const uint64_t uiEntries = uiCount > GLOW_ALPHA_MAP + 1 ? uint64_t(uiCount) - 1 : uiCount;
    if (!kStream.RequireElements(uiEntries, sizeof(uint32_t)) ||
        !kStream.ReserveMemory(uiCount, sizeof(std::unique_ptr<NiMultiTextureMap>) + sizeof(uint32_t)))
        return;

    for (uint32_t uiSlot = 0; uiSlot < uiCount && !kStream.IsLoadFailed(); ++uiSlot)
    {
        if (!SlotHasEntry(uiSlot, uiCount))
        {
            SetMap(uiSlot, nullptr);
            continue;
        }
        uint32_t uiPresent = 0;
        kStream.Load(uiPresent);
        if (uiPresent)
            LoadMap(kStream, uiSlot);
        else
            SetMap(uiSlot, nullptr);
    }
}

void NiMultiTextureProperty::LoadMap(NiStream& kStream, uint32_t uiSlot)
{
    auto spMap = std::make_unique<NiMultiTextureMap>();
    uint32_t uiImageID = 0;
    kStream.Load(uiImageID);
    kStream.Load(spMap->m_eClamp);
    kStream.Load(spMap->m_eFilter);
    kStream.Load(spMap->m_uiTexCoord);
    if (!IsVersionBefore(kStream, "3.04"))
    {
        kStream.Load(spMap->m_sL);
        kStream.Load(spMap->m_sK);
        kStream.Load(spMap->m_ucParam0);
        kStream.Load(spMap->m_ucParam1);
    }
    std::vector<uint32_t>& kImageIDs = kStream.GetLinkRecord<NiMultiTextureLinkRecord>().m_kImageIDs;
    if (uiSlot >= kImageIDs.size())
        kImageIDs.resize(size_t(uiSlot) + 1, 0);
    kImageIDs[uiSlot] = uiImageID;
    SetMap(uiSlot, std::move(spMap));
}

void NiMultiTextureProperty::ResolveLinks(NiStream& kStream)
{
    NiProperty::ResolveLinks(kStream);
    const std::vector<uint32_t>& kImageIDs = kStream.GetLinkRecord<NiMultiTextureLinkRecord>().m_kImageIDs;
    for (uint32_t uiSlot = 0; uiSlot < kImageIDs.size(); ++uiSlot)
    {
        NiMultiTextureMap* pkMap = GetMap(uiSlot);
        if (pkMap && kImageIDs[uiSlot])
            pkMap->SetImageObject(kStream.LookupLinkedObject(kImageIDs[uiSlot]));
    }
}

bool NiMultiTextureProperty::RegisterForSave(NiStream& kStream)
{
    if (!NiProperty::RegisterForSave(kStream))
        return false;
    for (uint32_t uiSlot = 0; uiSlot < m_kMaps.size(); ++uiSlot)
    {
        if (uiSlot != GLOW_ALPHA_MAP && m_kMaps[uiSlot] && m_kMaps[uiSlot]->GetImageObject())
            m_kMaps[uiSlot]->GetImageObject()->RegisterForSave(kStream);
    }
    return true;
}

void NiMultiTextureProperty::SaveBinary(NiStream& kStream)
{
    NiProperty::SaveBinary(kStream);
    const uint32_t uiCount = GetMapCount();
    kStream.Save(uiCount);
    for (uint32_t uiSlot = 0; uiSlot < uiCount; ++uiSlot)
    {
        if (!SlotHasEntry(uiSlot, uiCount))
            continue;
        const NiMultiTextureMap* pkMap = m_kMaps[uiSlot].get();
        kStream.Save(uint32_t(pkMap ? 1 : 0));
        if (!pkMap)
            continue;
        kStream.SaveLinkID(pkMap->GetImageObject());
        kStream.Save(pkMap->m_eClamp);
        kStream.Save(pkMap->m_eFilter);
        kStream.Save(pkMap->m_uiTexCoord);
        kStream.Save(pkMap->m_sL);
        kStream.Save(pkMap->m_sK);
        kStream.Save(pkMap->m_ucParam0);
        kStream.Save(pkMap->m_ucParam1);
    }
}

bool NiMultiTextureProperty::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiProperty::IsEquivalent(pkObject))
        return false;
    const NiMultiTextureProperty& kOther = *static_cast<const NiMultiTextureProperty*>(pkObject);
    if (m_kMaps.size() != kOther.m_kMaps.size())
        return false;
    for (size_t i = 0; i < m_kMaps.size(); ++i)
    {
        const NiMultiTextureMap* pkMap = m_kMaps[i].get();
        const NiMultiTextureMap* pkOtherMap = kOther.m_kMaps[i].get();
        if (!pkMap || !pkOtherMap)
        {
            if (pkMap || pkOtherMap)
                return false;
            continue;
        }
        if (!pkMap->IsEquivalent(*pkOtherMap))
            return false;
    }
    return true;
}

void NiMultiTextureProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiMultiTextureProperty"));
    for (uint32_t uiSlot = 0; uiSlot < m_kMaps.size(); ++uiSlot)
    {
        const NiMultiTextureMap* pkMap = m_kMaps[uiSlot].get();
        if (!pkMap)
            continue;
        kList.push_back(SlotHeading(uiSlot));
        kList.push_back(NiFieldString("m_spImage ", static_cast<const void*>(pkMap->GetImageObject())));
        kList.push_back(NiTextureModeProperty::ClampFieldString("m_eClamp ", pkMap->GetClampMode()));
        kList.push_back(NiTextureModeProperty::FilterFieldString("m_eFilter ", pkMap->GetFilterMode()));
        kList.push_back(NiFieldString("m_uiTexCoord ", pkMap->GetTextureCoordinateSet()));
        kList.push_back(NiFieldString("m_sL", pkMap->GetL()));
        kList.push_back(NiFieldString("m_sK", pkMap->GetK()));
    }
}
