#pragma once

#include "scene/animation/NiForceRecord.h"

#include <cstdint>

// A constant pull towards a point (type 1) or along a direction (any other type), weakening
// exponentially with distance when the decay is not 0.
class NiGravity : public NiForceRecord<NiGravity>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    enum ForceType : uint32_t
    {
        FORCE_PLANAR = 0,
        FORCE_SPHERICAL = 1
    };

    NiGravity() = default;

    void SetDecay(float fDecay) { m_fDecay = fDecay; }
    void SetStrength(float fStrength) { m_fStrength = fStrength; }
    void SetType(uint32_t uiType) { m_uiType = uiType; }
    // Each sets the loaded geometry and the working geometry.
    void SetPosition(const NiPoint3& kPosition) { m_kPosition = m_kWorkingPosition = kPosition; }
    void SetDirection(const NiPoint3& kDirection) { m_kDirection = m_kWorkingDirection = kDirection; }
    const NiPoint3& GetWorkingPosition() const { return m_kWorkingPosition; }
    const NiPoint3& GetWorkingDirection() const { return m_kWorkingDirection; }

    bool Apply(NiPoint3& kPosition, NiPoint3& kVelocity, float& fTime, float fAppTime) override;
    void Transform(const NiRotationMatrix& kM, const NiPoint3& kD, float fG) override;
    void Reset() override;

private:
    friend class NiForceRecord<NiGravity>;
    // The stored fields in file order, and every field a clone copies.
    template <class TSelf> static auto Record(TSelf& kSelf)
    {
        return std::tie(kSelf.m_fDecay, kSelf.m_fStrength, kSelf.m_uiType, kSelf.m_kPosition,
                        kSelf.m_kDirection);
    }
    template <class TSelf> static auto State(TSelf& kSelf)
    {
        return std::tuple_cat(Record(kSelf), std::tie(kSelf.m_kWorkingPosition, kSelf.m_kWorkingDirection));
    }

    float m_fDecay = 0.0f;
    float m_fStrength = 1.0f;
    uint32_t m_uiType = FORCE_PLANAR;
    NiPoint3 m_kPosition{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kDirection{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kWorkingPosition{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kWorkingDirection{0.0f, 0.0f, 0.0f};
};
