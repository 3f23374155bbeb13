#pragma once

#include "scene/animation/NiForceRecord.h"

// A sphere that particles bounce off, from outside or from inside.
class NiSphericalCollider : public NiForceRecord<NiSphericalCollider>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiSphericalCollider() = default;

    // The squared radius is kept as given (a file may store one that does not match).
    void SetRadius(float fRadius)
    {
        m_fRadius = fRadius;
        m_fRadiusSquared = fRadius * fRadius;
    }
    void SetBounce(float fBounce) { m_fBounce = fBounce; }
    void SetCenter(const NiPoint3& kCenter) { m_kCenter = m_kWorkingCenter = kCenter; }
    const NiPoint3& GetWorkingCenter() const { return m_kWorkingCenter; }

    bool Apply(NiPoint3& kPosition, NiPoint3& kVelocity, float& fTime, float fAppTime) override;
    void Transform(const NiRotationMatrix& kM, const NiPoint3& kD, float fG) override;
    void Reset() override;

private:
    friend class NiForceRecord<NiSphericalCollider>;
    // The stored fields in file order, and every field a clone copies.
    template <class TSelf> static auto Record(TSelf& kSelf)
    {
        return std::tie(kSelf.m_fRadius, kSelf.m_fRadiusSquared, kSelf.m_fBounce, kSelf.m_fAuxiliary1,
                        kSelf.m_fAuxiliary2, kSelf.m_kCenter);
    }
    template <class TSelf> static auto State(TSelf& kSelf)
    {
        return std::tuple_cat(Record(kSelf), std::tie(kSelf.m_kWorkingCenter));
    }

    float m_fRadius = 1.0f;
    float m_fRadiusSquared = 1.0f;
    float m_fBounce = 1.0f;
    float m_fAuxiliary1 = 0.0f;
    float m_fAuxiliary2 = 0.0f;
    NiPoint3 m_kCenter{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kWorkingCenter{0.0f, 0.0f, 0.0f};
};
