#pragma once

#include "scene/object/NiPoint3.h"

#include <cstdint>

class NiBoundingSphere;
class NiRotationMatrix;
class NiStream;

// A bounding volume of a kind an application defines (kinds 0 to 5); the scene graph defines
// none and reaches them only through the dispatch tables below, which an application fills. With
// no kinds installed no object ever has a volume and every bound test is the sphere test.
class NiBoundingVolume
{
public:
    static constexpr uint32_t KIND_COUNT = 6;

    virtual ~NiBoundingVolume() = default;
    // Writes the kind, then the volume's own data.
    virtual void SaveBinary(NiStream& kStream);
    virtual uint32_t GetType() const = 0;
    // Makes this volume the model volume under the world transform.
    virtual void UpdateWorldData(const NiBoundingVolume& kModel, const NiRotationMatrix& kRotate,
                                 const NiPoint3& kTranslate, float fScale) = 0;
    virtual NiBoundingVolume* Clone() const = 0;
    // True when the two differ.
    virtual bool Differs(const NiBoundingVolume& kOther) const = 0;

    //--- The hooks an application fills, by kind. ---
    using Creator = NiBoundingVolume* (*)(NiStream& kStream);
    using PairTest = bool (*)(float fTime, const NiBoundingVolume& kVolume0, const NiPoint3& kVelocity0,
                              const NiBoundingVolume& kVolume1, const NiPoint3& kVelocity1);
    using PairFind = bool (*)(float fTime, const NiBoundingVolume& kVolume0, const NiPoint3& kVelocity0,
                              const NiBoundingVolume& kVolume1, const NiPoint3& kVelocity1, float& fContact,
                              NiPoint3& kPoint, bool bNormals, NiPoint3& kNormal0, NiPoint3& kNormal1);
    using TriangleTest = bool (*)(float fTime, const NiBoundingVolume& kVolume, const NiPoint3& kVelocity,
                                  const NiPoint3& kP0, const NiPoint3& kP1, const NiPoint3& kP2,
                                  const NiPoint3& kTriangleVelocity);
    using TriangleFind = bool (*)(float fTime, const NiBoundingVolume& kVolume, const NiPoint3& kVelocity,
                                  const NiPoint3& kP0, const NiPoint3& kP1, const NiPoint3& kP2,
                                  const NiPoint3& kTriangleVelocity, float& fContact, NiPoint3& kPoint,
                                  bool bNormals, NiPoint3& kVolumeNormal, NiPoint3& kTriangleNormal);
    using SphereConverter = NiBoundingVolume* (*)(float fRadius, const NiPoint3& kCentre);
    using PointConverter = NiBoundingVolume* (*)(uint16_t usCount, const NiPoint3* pkPoints);

    struct Hooks
    {
        Creator m_apfnCreate[KIND_COUNT] = {};
        PairTest m_apfnTest[KIND_COUNT * KIND_COUNT] = {};
        PairFind m_apfnFind[KIND_COUNT * KIND_COUNT] = {};
        TriangleTest m_apfnTriangleTest[KIND_COUNT] = {};
        TriangleFind m_apfnTriangleFind[KIND_COUNT] = {};
        SphereConverter m_pfnConvertSphere = nullptr;
        PointConverter m_pfnCreateFromPoints = nullptr;
    };
    static Hooks& GetHooks();

    //--- Dispatch. A kind outside 0..5 or an empty entry never collides and is never created. ---
    static NiBoundingVolume* CreateFromStream(NiStream& kStream);
    static bool TestIntersect(float fTime, const NiBoundingVolume& kVolume0, const NiPoint3& kVelocity0,
                              const NiBoundingVolume& kVolume1, const NiPoint3& kVelocity1);
    static bool FindIntersect(float fTime, const NiBoundingVolume& kVolume0, const NiPoint3& kVelocity0,
                              const NiBoundingVolume& kVolume1, const NiPoint3& kVelocity1, float& fContact,
                              NiPoint3& kPoint, bool bNormals, NiPoint3& kNormal0, NiPoint3& kNormal1);
    static bool TestTriangleIntersect(float fTime, const NiBoundingVolume& kVolume, const NiPoint3& kVelocity,
                                      const NiPoint3& kP0, const NiPoint3& kP1, const NiPoint3& kP2,
                                      const NiPoint3& kTriangleVelocity);
    static bool FindTriangleIntersect(float fTime, const NiBoundingVolume& kVolume, const NiPoint3& kVelocity,
                                      const NiPoint3& kP0, const NiPoint3& kP1, const NiPoint3& kP2,
                                      const NiPoint3& kTriangleVelocity, float& fContact, NiPoint3& kPoint,
                                      bool bNormals, NiPoint3& kVolumeNormal, NiPoint3& kTriangleNormal);
    // The converters' volumes stay the converters' own: callers never delete them.
    static NiBoundingVolume* ConvertSphere(const NiBoundingSphere& kSphere);
    // A new volume the caller owns, or null.
    static NiBoundingVolume* CreateFromPoints(uint16_t usCount, const NiPoint3* pkPoints);
};
