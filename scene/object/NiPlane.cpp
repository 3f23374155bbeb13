#include "scene/object/NiPlane.h"

#include "scene/object/NiCFormat.h"
#include "scene/object/NiStream.h"

NiPlane::NiPlane(const NiPoint3& kNormal, const NiPoint3& kPoint)
    : m_kNormal(kNormal), m_fConstant(kNormal.DotProduct(kPoint))
{
}

NiPlane::NiPlane(const NiPoint3& kP0, const NiPoint3& kP1, const NiPoint3& kP2)
{
    m_kNormal = (kP1 - kP0).Cross(kP2 - kP1);
    const float fLength = m_kNormal.Length();
    if (fLength > 1e-6f)
        m_kNormal = m_kNormal / fLength;
    else
        m_kNormal = NiPoint3::ZERO;
    m_fConstant = m_kNormal.DotProduct(kP0);
}

std::string NiPlane::GetFieldString(const char* pcName) const
{
    return NiCFormat("%s = (%f,%f,%f), %f", pcName, double(m_kNormal.x), double(m_kNormal.y),
                     double(m_kNormal.z), double(m_fConstant));
}

void NiPlane::LoadBinary(NiStream& kStream)
{
    m_kNormal.LoadBinary(kStream);
    kStream.Load(m_fConstant);
}

void NiPlane::SaveBinary(NiStream& kStream) const
{
    m_kNormal.SaveBinary(kStream);
    kStream.Save(m_fConstant);
}
