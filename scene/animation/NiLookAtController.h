#pragma once

#include "scene/object/NiRefPtr.h"
#include "scene/object/NiTimeController.h"

#include <cstdint>

class NiAVObject;

// What a look-at controller keeps between LoadBinary and ResolveLinks.
class NiLookAtControllerLinkRecord : public NiTimeControllerLinkRecord
{
public:
    uint32_t m_uiLookAtID = 0;
};

// Turns its target so that one of its axes (flag bits 5-6: x, y or z) points away from
// another scene object, or towards it with the flip bit (4), whatever either of them does.
// The output does not depend on time, so the controller never records a last time.
//
// The look-at object is held counted, so it cannot die under the controller. An object that
// holds the target (the target, an ancestor, or an object whose subtree looks back at the
// target through other look-at controllers) would make a loop of references and is refused.
class NiLookAtController : public NiTimeController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiLookAtControllerLinkRecord;

    enum Axis : uint16_t
    {
        X = 0,
        Y = 1,
        Z = 2
    };
    static constexpr uint16_t FLIP_MASK = 0x0010;
    static constexpr uint16_t AXIS_MASK = 0x0060;
    static constexpr int AXIS_POS = 5;

    NiLookAtController();
    ~NiLookAtController() override;

    void SetFlip(bool bFlip) { SetBit(bFlip, FLIP_MASK); }
    bool GetFlip() const { return GetBit(FLIP_MASK); }
    void SetAxis(Axis eAxis) { SetField(eAxis, AXIS_MASK, AXIS_POS); }
    Axis GetAxis() const { return static_cast<Axis>(GetField(AXIS_MASK, AXIS_POS)); }

    // False (and nothing set) for an object that holds the target.
    bool SetLookAt(NiAVObject* pkLookAt);
    NiAVObject* GetLookAt() const { return m_spLookAt; }

    static NiLookAtController* FindController(const NiObjectNET* pkObject);

    void Update(float fTime) override;
    bool IsTargetValid() const override;
    NiObject* MakeClone() override;
    void FixCloneLinks(NiObject* pkClone) override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    void PostLink() override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    bool HoldsTarget(NiAVObject* pkObject) const;

    NiRefPtr<NiAVObject> m_spLookAt;
};
