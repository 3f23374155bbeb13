#pragma once

#include "scene/graph/NiNode.h"

#include <cstdint>

// A group node that switches collision tests and picking of its subtree on or off; the
// subtree is drawn either way.
class NiCollisionSwitch : public NiNode
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    static constexpr uint16_t PROPAGATE_ON_MASK = 0x0020;

    NiCollisionSwitch();
    ~NiCollisionSwitch() override;

    void SetCollisionPropagate(bool bPropagate);
    bool GetCollisionPropagate() const { return (m_usFlags & PROPAGATE_ON_MASK) != 0; }

    bool CheckCollision(float fDeltaTime, const NiCollisionRecord& kRecord0,
                        const NiCollisionRecord& kRecord1) override;
    int32_t CollectCollisions(float fDeltaTime, const NiCollisionRecord& kRecord0,
                              const NiCollisionRecord& kRecord1) override;
    bool FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker) override;

    NiObject* MakeClone() override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
};
