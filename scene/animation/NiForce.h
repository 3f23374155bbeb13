#pragma once

#include "scene/object/NiObject.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiRotationMatrix.h"

#include <cstdint>

// The chained base of what a particle system applies to its particles each step: forces change
// a particle's velocity; colliders answer whether it hits them within the step. A particle
// system holds each chain through its first member; every member holds the next. Geometry is
// given in the local frame of the system's target: the working geometry follows the emitter
// (Transform) and returns to the loaded geometry on Reset.
class NiForce : public NiObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    ~NiForce() override;

    NiForce* GetNext() const { return m_spNext; }
    void SetNext(NiForce* pkNext) { m_spNext = pkNext; }
    // Whether a particle system took the member into one of its chains. A member belongs to one
    // chain only: put into a second, it would carry the rest of the first one along.
    bool IsChained() const { return m_bChained; }
    void SetChained() { m_bChained = true; }

    // Acts on one particle over the time; a collider that is hit answers true with the contact
    // position, the velocity after the hit and the time left.
    virtual bool Apply(NiPoint3& kPosition, NiPoint3& kVelocity, float& fTime, float fAppTime) = 0;
    // The emitter moved: a working point p becomes g M p + d, a working direction n becomes M n.
    virtual void Transform(const NiRotationMatrix& kM, const NiPoint3& kD, float fG) = 0;
    virtual void Reset() = 0;

    static uint32_t CountChain(const NiForce* pkFirst);

protected:
    NiForce() = default;

    // A clone of the next member (cloning the first member clones the chain).
    void CopyToClone(NiForce* pkClone) const;

private:
    NiRefPtr<NiForce> m_spNext;
    bool m_bChained = false;
};
