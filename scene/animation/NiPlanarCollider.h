#pragma once

#include "scene/animation/NiForceRecord.h"

// A bounded rectangle of a plane that particles bounce off. Approached from its back, the plane
// turns round for good (until the next Transform or Reset).
class NiPlanarCollider : public NiForceRecord<NiPlanarCollider>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiPlanarCollider() = default;

    // The rectangle, centred on the position: height / 2 along the first axis, width / 2 across.
    // Sets the loaded and the working geometry; the plane constant follows from them.
    void SetGeometry(const NiPoint3& kPosition, const NiPoint3& kAxis1, const NiPoint3& kAxis2,
                     const NiPoint3& kNormal, float fWidth, float fHeight);
    void SetBounce(float fBounce) { m_fBounce = fBounce; }
    const NiPoint3& GetWorkingNormal() const { return m_kWorkingNormal; }
    float GetWorkingConstant() const { return m_fWorkingConstant; }

    bool Apply(NiPoint3& kPosition, NiPoint3& kVelocity, float& fTime, float fAppTime) override;
    void Transform(const NiRotationMatrix& kM, const NiPoint3& kD, float fG) override;
    void Reset() override;

private:
    friend class NiForceRecord<NiPlanarCollider>;
    // The stored fields in file order, and every field a clone copies.
    template <class TSelf> static auto Record(TSelf& kSelf)
    {
        return std::tie(kSelf.m_fConstant, kSelf.m_fWidth, kSelf.m_fHeight, kSelf.m_fBounce,
                        kSelf.m_kPosition, kSelf.m_kAxis1, kSelf.m_kAxis2, kSelf.m_kNormal);
    }
    template <class TSelf> static auto State(TSelf& kSelf)
    {
        return std::tuple_cat(Record(kSelf),
                              std::tie(kSelf.m_kWorkingPosition, kSelf.m_kWorkingAxis1, kSelf.m_kWorkingAxis2,
                                       kSelf.m_kWorkingNormal, kSelf.m_fWorkingConstant));
    }

    float m_fWidth = 1.0f;
    float m_fHeight = 1.0f;
    float m_fBounce = 1.0f;
    float m_fConstant = 0.0f;
    NiPoint3 m_kPosition{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kAxis1{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kAxis2{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kNormal{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kWorkingPosition{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kWorkingAxis1{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kWorkingAxis2{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kWorkingNormal{0.0f, 0.0f, 0.0f};
    float m_fWorkingConstant = 0.0f;
};
