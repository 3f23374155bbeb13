#include "scene/graph/NiBoundingVolume.h"

#include "scene/object/NiBoundingSphere.h"
#include "scene/object/NiStream.h"

namespace
{
bool ValidKind(uint32_t uiKind)
{
    return uiKind < NiBoundingVolume::KIND_COUNT;
}
} // namespace

void NiBoundingVolume::SaveBinary(NiStream& kStream)
{
    kStream.Save(GetType());
}

NiBoundingVolume::Hooks& NiBoundingVolume::GetHooks()
{
    static Hooks s_kHooks;
    return s_kHooks;
}

NiBoundingVolume* NiBoundingVolume::CreateFromStream(NiStream& kStream)
{
    uint32_t uiKind = 0;
    kStream.Load(uiKind);
    if (!ValidKind(uiKind) || !GetHooks().m_apfnCreate[uiKind])
        return nullptr;
    return GetHooks().m_apfnCreate[uiKind](kStream);
}

bool NiBoundingVolume::TestIntersect(float fTime, const NiBoundingVolume& kVolume0,
                                     const NiPoint3& kVelocity0, const NiBoundingVolume& kVolume1,
                                     const NiPoint3& kVelocity1)
{
    uint32_t uiKind0 = kVolume0.GetType();
    uint32_t uiKind1 = kVolume1.GetType();
    if (!ValidKind(uiKind0) || !ValidKind(uiKind1))
        return false;
    const Hooks& kHooks = GetHooks();
    if (PairTest pfnTest = kHooks.m_apfnTest[uiKind0 * KIND_COUNT + uiKind1])
        return pfnTest(fTime, kVolume0, kVelocity0, kVolume1, kVelocity1);
    if (PairTest pfnTest = kHooks.m_apfnTest[uiKind1 * KIND_COUNT + uiKind0])
        return pfnTest(fTime, kVolume1, kVelocity1, kVolume0, kVelocity0);
    return false;
}

bool NiBoundingVolume::FindIntersect(float fTime, const NiBoundingVolume& kVolume0,
                                     const NiPoint3& kVelocity0, const NiBoundingVolume& kVolume1,
                                     const NiPoint3& kVelocity1, float& fContact, NiPoint3& kPoint,
                                     bool bNormals, NiPoint3& kNormal0, NiPoint3& kNormal1)
{
    uint32_t uiKind0 = kVolume0.GetType();
    uint32_t uiKind1 = kVolume1.GetType();
    if (!ValidKind(uiKind0) || !ValidKind(uiKind1))
        return false;
    const Hooks& kHooks = GetHooks();
    if (PairFind pfnFind = kHooks.m_apfnFind[uiKind0 * KIND_COUNT + uiKind1])
        return pfnFind(fTime, kVolume0, kVelocity0, kVolume1, kVelocity1, fContact, kPoint, bNormals,
                       kNormal0, kNormal1);
    // In the exchanged call each normal still lands in its own volume's output.
    if (PairFind pfnFind = kHooks.m_apfnFind[uiKind1 * KIND_COUNT + uiKind0])
        return pfnFind(fTime, kVolume1, kVelocity1, kVolume0, kVelocity0, fContact, kPoint, bNormals,
                       kNormal1, kNormal0);
    return false;
}

bool NiBoundingVolume::TestTriangleIntersect(float fTime, const NiBoundingVolume& kVolume,
                                             const NiPoint3& kVelocity, const NiPoint3& kP0,
                                             const NiPoint3& kP1, const NiPoint3& kP2,
                                             const NiPoint3& kTriangleVelocity)
{
    uint32_t uiKind = kVolume.GetType();
    if (!ValidKind(uiKind) || !GetHooks().m_apfnTriangleTest[uiKind])
        return false;
    return GetHooks().m_apfnTriangleTest[uiKind](fTime, kVolume, kVelocity, kP0, kP1, kP2, kTriangleVelocity);
}

bool NiBoundingVolume::FindTriangleIntersect(float fTime, const NiBoundingVolume& kVolume,
                                             const NiPoint3& kVelocity, const NiPoint3& kP0,
                                             const NiPoint3& kP1, const NiPoint3& kP2,
                                             const NiPoint3& kTriangleVelocity, float& fContact,
                                             NiPoint3& kPoint, bool bNormals, NiPoint3& kVolumeNormal,
                                             NiPoint3& kTriangleNormal)
{
    uint32_t uiKind = kVolume.GetType();
    if (!ValidKind(uiKind) || !GetHooks().m_apfnTriangleFind[uiKind])
        return false;
    return GetHooks().m_apfnTriangleFind[uiKind](fTime, kVolume, kVelocity, kP0, kP1, kP2, kTriangleVelocity,
                                                 fContact, kPoint, bNormals, kVolumeNormal, kTriangleNormal);
}

NiBoundingVolume* NiBoundingVolume::ConvertSphere(const NiBoundingSphere& kSphere)
{
    SphereConverter pfnConvert = GetHooks().m_pfnConvertSphere;
    return pfnConvert ? pfnConvert(kSphere.m_fRadius, kSphere.m_kCenter) : nullptr;
}

NiBoundingVolume* NiBoundingVolume::CreateFromPoints(uint16_t usCount, const NiPoint3* pkPoints)
{
    PointConverter pfnConvert = GetHooks().m_pfnCreateFromPoints;
    return pfnConvert && pkPoints ? pfnConvert(usCount, pkPoints) : nullptr;
}
