#pragma once

#include "scene/graph/NiSwitchNode.h"

#include <cstdint>

// A switch node that chooses its child from the time of its last update pass: the children
// follow one another in equal slices of the period, or with bounce run forward and back within
// it. The choice is made at each draw and forgotten after it (the index is -1 otherwise).
class NiFltAnimationNode : public NiSwitchNode
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    static constexpr uint16_t BOUNCE_MASK = 0x0040;

    NiFltAnimationNode();
    ~NiFltAnimationNode() override;

    void SetPeriod(double dPeriod) { m_dPeriod = dPeriod; }
    double GetPeriod() const { return m_dPeriod; }
    void SetBounce(bool bBounce);
    bool GetBounce() const { return (m_usFlags & BOUNCE_MASK) != 0; }

    // Sets the index for the time; nothing changes without child slots or without a positive
    // period.
    void SelectIndexForTime(double dTime);

    void Draw(NiCamera* pkCamera) override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    double m_dPeriod = 1.0;
};
