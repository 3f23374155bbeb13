#pragma once

#include "scene/object/NiRefPtr.h"
#include "scene/object/NiTimeController.h"

#include <cstdint>
#include <vector>

class NiTextureProperty;

// What a flip controller keeps between LoadBinary and ResolveLinks: its images' saved ids.
class NiFlipControllerLinkRecord : public NiTimeControllerLinkRecord
{
public:
    std::vector<uint32_t> m_kImageIDs;
};

// A flip-book: a list of images (slots may be empty), each shown for the same number of seconds
// from the start time on, set as the image of the target texture property. The period is the
// image count times the seconds per frame; the key-time range runs from the start time over it.
//
// The image classes sit above this library: images are held as counted objects that
// NiTextureProperty::IsImage accepts.
class NiFlipController : public NiTimeController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiFlipControllerLinkRecord;

    static constexpr float DEFAULT_SECONDS_PER_FRAME = 1.0f / 30.0f;

    NiFlipController();
    ~NiFlipController() override;

    // Stores the image at the index, growing the list (new slots empty) as needed; an object
    // that is not an image empties the slot.
    void SetImage(NiObject* pkImage, uint32_t uiIndex);
    // Takes the image out of its slot (removing the last slot shortens the list).
    NiRefPtr<NiObject> RemoveImage(uint32_t uiIndex);
    NiObject* GetImage(uint32_t uiIndex) const;
    NiObject* GetCurrentImage() const { return GetImage(m_uiCurrentIndex); }
    uint32_t GetImageCount() const { return static_cast<uint32_t>(m_kImages.size()); }
    uint32_t GetCurrentIndex() const { return m_uiCurrentIndex; }

    void SetStartTime(float fTime);
    float GetStartTime() const { return m_fFlipStartTime; }
    void SetSecondsPerFrame(float fSeconds);
    float GetSecondsPerFrame() const { return m_fSecondsPerFrame; }
    float GetPeriod() const { return m_fPeriod; }
    // Period and key-time range from the image count; a current index past the list becomes 0.
    void UpdateDuration();

    void Update(float fTime) override;
    bool IsTargetValid() const override;
    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;

    static NiFlipController* FindController(const NiObjectNET* pkObject);

private:
    std::vector<NiRefPtr<NiObject>> m_kImages;
    uint32_t m_uiCurrentIndex = 0;
    float m_fFlipStartTime;
    float m_fPeriod = 0.0f;
    float m_fSecondsPerFrame = DEFAULT_SECONDS_PER_FRAME;
};
