#pragma once

#include "scene/animation/NiForceRecord.h"

#include <cstdint>

// A push away from a point, a plane or an axis that acts during a window of application time,
// with no, linear or exponential falloff within its decay distance.
class NiParticleBomb : public NiForceRecord<NiParticleBomb>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    enum DecayType : uint32_t
    {
        DECAY_NONE = 0,
        DECAY_LINEAR = 1,
        DECAY_EXPONENTIAL = 2
    };
    enum SymmetryType : uint32_t
    {
        SPHERICAL = 0,
        CYLINDRICAL = 1,
        PLANAR = 2
    };

    NiParticleBomb() = default;

    void SetDecay(float fDecay) { m_fDecay = fDecay; }
    void SetDuration(float fDuration) { m_fDuration = fDuration; }
    void SetDeltaV(float fDeltaV) { m_fDeltaV = fDeltaV; }
    void SetStartTime(float fStart) { m_fStart = fStart; }
    void SetDecayType(uint32_t uiType) { m_uiDecayType = uiType; }
    void SetSymmetryType(uint32_t uiType) { m_uiSymmetryType = uiType; }
    void SetPosition(const NiPoint3& kPosition) { m_kPosition = m_kWorkingPosition = kPosition; }
    void SetDirection(const NiPoint3& kDirection) { m_kDirection = m_kWorkingDirection = kDirection; }

    bool Apply(NiPoint3& kPosition, NiPoint3& kVelocity, float& fTime, float fAppTime) override;
    void Transform(const NiRotationMatrix& kM, const NiPoint3& kD, float fG) override;
    void Reset() override;

private:
    friend class NiForceRecord<NiParticleBomb>;
    // The stored fields in file order, and every field a clone copies.
    template <class TSelf> static auto Record(TSelf& kSelf)
    {
        return std::tie(kSelf.m_fDecay, kSelf.m_fDuration, kSelf.m_fDeltaV, kSelf.m_fStart,
                        kSelf.m_uiDecayType, kSelf.m_uiSymmetryType, kSelf.m_kPosition, kSelf.m_kDirection);
    }
    template <class TSelf> static auto State(TSelf& kSelf)
    {
        return std::tuple_cat(Record(kSelf), std::tie(kSelf.m_kWorkingPosition, kSelf.m_kWorkingDirection));
    }

    float m_fDecay = 0.0f;
    float m_fDuration = 0.0f;
    float m_fDeltaV = 0.0f;
    float m_fStart = 0.0f;
    uint32_t m_uiDecayType = DECAY_NONE;
    uint32_t m_uiSymmetryType = SPHERICAL;
    NiPoint3 m_kPosition{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kDirection{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kWorkingPosition{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kWorkingDirection{0.0f, 0.0f, 0.0f};
};
