#pragma once

#include "scene/object/NiLinkRecord.h"
#include "scene/object/NiObject.h"
#include "scene/object/NiRefPtr.h"

#include <cfloat>
#include <cstdint>

class NiObjectNET;

// What a controller keeps between LoadBinary and ResolveLinks; concrete controllers whose
// records link further objects extend it.
class NiTimeControllerLinkRecord : public NiLinkRecord
{
public:
    uint32_t m_uiNextID = 0;
    uint32_t m_uiTargetID = 0;
};

// The abstract base of every animation controller. A controller sits in its target's
// controller chain (the target holds it; it points back at the target without a count) and
// turns application time into time on its own key axis (ToControllerTime), from which its
// subclass computes and applies values (Update).
class NiTimeController : public NiObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiTimeControllerLinkRecord;

    enum AnimType : uint16_t
    {
        APP_TIME = 0, // key time follows the application's time
        APP_INIT = 1  // key time counts from the first mapping after Start
    };
    enum CycleType : uint16_t
    {
        LOOP = 0,
        REVERSE = 1,
        CLAMP = 2
    };

    // The flag word: bit 0 animation type, bits 1-2 cycle type, bit 3 active; bits 4-15 are the
    // subclasses'. A new controller is active, CLAMP, APP_TIME.
    static constexpr uint16_t ANIMTYPE_MASK = 0x0001;
    static constexpr int ANIMTYPE_POS = 0;
    static constexpr uint16_t CYCLETYPE_MASK = 0x0006;
    static constexpr int CYCLETYPE_POS = 1;
    static constexpr uint16_t ACTIVE_MASK = 0x0008;

    // The unset time, and the key range's start values from which a subclass grows the range.
    static constexpr float TIME_UNSET = -FLT_MAX;

    ~NiTimeController() override;

    void SetAnimType(AnimType eType) { SetField(eType, ANIMTYPE_MASK, ANIMTYPE_POS); }
    AnimType GetAnimType() const { return static_cast<AnimType>(GetField(ANIMTYPE_MASK, ANIMTYPE_POS)); }
    void SetCycleType(CycleType eType) { SetField(eType, CYCLETYPE_MASK, CYCLETYPE_POS); }
    CycleType GetCycleType() const { return static_cast<CycleType>(GetField(CYCLETYPE_MASK, CYCLETYPE_POS)); }
    void SetActive(bool bActive) { SetBit(bActive, ACTIVE_MASK); }
    bool GetActive() const { return GetBit(ACTIVE_MASK); }
    uint16_t GetFlags() const { return m_uFlags; }
    void SetFlags(uint16_t uFlags) { m_uFlags = uFlags; }

    void SetFrequency(float fFrequency) { m_fFrequency = fFrequency; }
    float GetFrequency() const { return m_fFrequency; }
    void SetPhase(float fPhase) { m_fPhase = fPhase; }
    float GetPhase() const { return m_fPhase; }
    void SetLoKeyTime(float fTime) { m_fLoKeyTime = fTime; }
    float GetLoKeyTime() const { return m_fLoKeyTime; }
    void SetHiKeyTime(float fTime) { m_fHiKeyTime = fTime; }
    float GetHiKeyTime() const { return m_fHiKeyTime; }
    float GetStartTime() const { return m_fStartTime; }
    float GetLastTime() const { return m_fLastTime; }

    NiObjectNET* GetTarget() const { return m_pTarget; }
    NiTimeController* GetNext() const { return m_spNext; }
    // True when the controller is the chain's first member or one reached through the next links.
    static bool ChainHolds(const NiTimeController* pkChain, const NiTimeController* pkController);
    void SetNext(NiTimeController* pkNext) { m_spNext = pkNext; }

    // The operations after NiObject's twelve, in their fixed order.
    virtual void Start(float fTime);
    virtual void Stop();
    virtual void Update(float fTime) = 0;
    virtual void TargetPassedCulling();
    // Leaves the old target's chain and joins the front of the new one's (once); null detaches.
    virtual void SetTarget(NiObjectNET* pkTarget);
    virtual void OnDisplayed();
    virtual float ToControllerTime(float fTime);
    virtual bool IsTargetValid() const = 0;

    // Start or stop every controller of the object and of what it animates beneath it
    // (NiObjectNET::ForEachAnimationChild): properties, then children. The one-argument Start
    // leaves the start time unset so that APP_INIT controllers take it at their first mapping.
    static void StartAnimations(NiObjectNET* pkObject, float fTime);
    static void StartAnimations(NiObjectNET* pkObject);
    static void StopAnimations(NiObjectNET* pkObject);

    NiObject* MakeClone() override;
    void FixCloneLinks(NiObject* pkClone) override;
    void RemoveCloneData() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    // Drops a loaded target that does not hold this controller in its chain or that is not of
    // the class the controller needs. Subclasses that override it call it first.
    void PostLink() override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

    // The texts of the two enumerations as field strings.
    static std::string AnimTypeFieldString(const char* pcName, uint16_t uType);
    static std::string CycleTypeFieldString(const char* pcName, uint16_t uType);

protected:
    NiTimeController();

    // Copies this controller into a concrete clone. The clone's target is the clone that the
    // target's clone marker names; a controller cloned on its own (no marker) gets no target.
    void CopyToClone(NiTimeController* pkClone) const;

    // The flag word's setters: a field under a mask, and a single bit.
    void SetField(uint16_t uValue, uint16_t uMask, int iPos)
    {
        m_uFlags = static_cast<uint16_t>((m_uFlags & ~uMask) | ((uValue << iPos) & uMask));
    }
    uint16_t GetField(uint16_t uMask, int iPos) const
    {
        return static_cast<uint16_t>((m_uFlags & uMask) >> iPos);
    }
    void SetBit(bool bValue, uint16_t uMask)
    {
        m_uFlags = static_cast<uint16_t>(bValue ? (m_uFlags | uMask) : (m_uFlags & ~uMask));
    }
    bool GetBit(uint16_t uMask) const { return (m_uFlags & uMask) != 0; }

    uint16_t m_uFlags;
    float m_fFrequency = 1.0f;
    float m_fPhase = 0.0f;
    float m_fLoKeyTime = FLT_MAX;
    float m_fHiKeyTime = -FLT_MAX;
    float m_fStartTime = TIME_UNSET;
    float m_fLastTime = TIME_UNSET;
    float m_fScaledTime = 0.0f;
    NiObjectNET* m_pTarget = nullptr;
    NiRefPtr<NiTimeController> m_spNext;

private:
    friend class NiObjectNET; // a dying target clears its controllers' pointers back at it
};
