#include "scene/animation/NiFlipController.h"

#include "scene/animation/NiDataController.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <cfloat>

NiImplementRTTI(NiFlipController, NiTimeController);
NiImplementCreateObject(NiFlipController);

NiFlipController::NiFlipController() : m_fFlipStartTime(FLT_MAX) {}

NiFlipController::~NiFlipController() = default;

NiFlipController* NiFlipController::FindController(const NiObjectNET* pkObject)
{
    return NiFindController<NiFlipController>(pkObject);
}

//--- Images and timing ----------------------------------------------------------------------

void NiFlipController::SetImage(NiObject* pkImage, uint32_t uiIndex)
{
    if (uiIndex >= m_kImages.size())
        m_kImages.resize(size_t(uiIndex) + 1);
    m_kImages[uiIndex] = NiTextureProperty::IsImage(pkImage) ? pkImage : nullptr;
    UpdateDuration();
}

NiRefPtr<NiObject> NiFlipController::RemoveImage(uint32_t uiIndex)
{
    if (uiIndex >= m_kImages.size())
        return NiRefPtr<NiObject>();
    NiRefPtr<NiObject> spImage = std::move(m_kImages[uiIndex]);
    m_kImages[uiIndex] = nullptr;
    if (uiIndex + 1 == m_kImages.size())
        m_kImages.pop_back();
    UpdateDuration();
    return spImage;
}

NiObject* NiFlipController::GetImage(uint32_t uiIndex) const
{
    return uiIndex < m_kImages.size() ? m_kImages[uiIndex].Get() : nullptr;
}

void NiFlipController::SetStartTime(float fTime)
{
    m_fFlipStartTime = fTime;
    m_fLoKeyTime = fTime;
    m_fHiKeyTime = fTime + m_fPeriod;
}

void NiFlipController::SetSecondsPerFrame(float fSeconds)
{
    m_fSecondsPerFrame = fSeconds;
    UpdateDuration();
}

void NiFlipController::UpdateDuration()
{
    m_fPeriod = static_cast<float>(m_kImages.size()) * m_fSecondsPerFrame;
    m_fHiKeyTime = m_fFlipStartTime + m_fPeriod;
    if (m_uiCurrentIndex >= m_kImages.size())
        m_uiCurrentIndex = 0;
}

void NiFlipController::Update(float fTime)
{
    if (!GetActive() || m_fLastTime == fTime)
        return;
    const float fKeyTime = ToControllerTime(fTime);
    const uint32_t uiCount = GetImageCount();
    NiTextureProperty* pkTexture = NiDynamicCast<NiTextureProperty>(m_pTarget);
    // Without images there is nothing to show: the target keeps its image.
    if (uiCount == 0 || !pkTexture)
        return;
    // A time before the start, or one that does not give a finite index (no period), shows
    // the last image.
    const float fIndex = ((fKeyTime - m_fLoKeyTime) * static_cast<float>(uiCount)) / m_fPeriod;
    uint32_t uiIndex = uiCount - 1;
    if (fIndex > -1.0f && fIndex < static_cast<float>(uiCount))
        uiIndex = std::min(static_cast<uint32_t>(static_cast<int64_t>(fIndex)), uiCount - 1);
    m_uiCurrentIndex = uiIndex;
    if (pkTexture->GetImageObject() != m_kImages[uiIndex].Get())
        pkTexture->SetImageObject(m_kImages[uiIndex]);
}

bool NiFlipController::IsTargetValid() const
{
    return NiDynamicCast<NiTextureProperty>(m_pTarget) != nullptr;
}

//--- Cloning and streaming ------------------------------------------------------------------

NiObject* NiFlipController::MakeClone()
{
    NiFlipController* pkClone = new NiFlipController;
    NiTimeController::CopyToClone(pkClone);
    pkClone->SetStartTime(m_fFlipStartTime);
    pkClone->SetSecondsPerFrame(m_fSecondsPerFrame);
    pkClone->m_kImages = m_kImages;
    pkClone->UpdateDuration();
    return pkClone;
}

void NiFlipController::LoadBinary(NiStream& kStream)
{
    NiTimeController::LoadBinary(kStream);
    LinkRecord& kRecord = kStream.GetLinkRecord<LinkRecord>();
    kStream.Load(m_fFlipStartTime);
    kStream.Load(m_fSecondsPerFrame);
    uint32_t uiCount = 0;
    if (!kStream.LoadCount(uiCount, sizeof(uint32_t), sizeof(uint32_t) + sizeof(m_kImages[0])))
        return;
    kRecord.m_kImageIDs.resize(uiCount);
    for (uint32_t& uiID : kRecord.m_kImageIDs)
        kStream.Load(uiID);
}

void NiFlipController::ResolveLinks(NiStream& kStream)
{
    NiTimeController::ResolveLinks(kStream);
    const LinkRecord& kRecord = kStream.GetLinkRecord<LinkRecord>();
    // A controller that animates nothing keeps no images.
    if (m_pTarget)
    {
        for (uint32_t i = 0; i < kRecord.m_kImageIDs.size(); ++i)
            SetImage(kStream.LookupLinkedObject(kRecord.m_kImageIDs[i]), i);
    }
    UpdateDuration();
}

bool NiFlipController::RegisterForSave(NiStream& kStream)
{
    if (!NiTimeController::RegisterForSave(kStream))
        return false;
    for (const NiRefPtr<NiObject>& spImage : m_kImages)
    {
        if (spImage)
            spImage->RegisterForSave(kStream);
    }
    return true;
}

void NiFlipController::SaveBinary(NiStream& kStream)
{
    NiTimeController::SaveBinary(kStream);
    kStream.Save(m_fFlipStartTime);
    kStream.Save(m_fSecondsPerFrame);
    kStream.Save(GetImageCount());
    for (const NiRefPtr<NiObject>& spImage : m_kImages)
        kStream.SaveLinkID(spImage);
}

bool NiFlipController::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiTimeController::IsEquivalent(pkObject))
        return false;
    const NiFlipController* pkOther = static_cast<const NiFlipController*>(pkObject);
    return m_fFlipStartTime == pkOther->m_fFlipStartTime && m_fPeriod == pkOther->m_fPeriod &&
           m_fSecondsPerFrame == pkOther->m_fSecondsPerFrame;
}
