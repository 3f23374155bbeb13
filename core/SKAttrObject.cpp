#include "core/SKAttrObject.h"

#include "core/SKStream.h"

#include <bit>

SKAttrObject::~SKAttrObject() = default;

bool SKAttrObject::SaveToStream(SKStream& kStream) const
{
    if (!SKObject::SaveToStream(kStream))
        return false;
    if (!m_spAttrMap)
    {
        kStream.WriteInt(0);
        return true;
    }
    return m_spAttrMap->Save(kStream);
}

bool SKAttrObject::LoadFromStream(SKStream& kStream)
{
    if (!m_spAttrMap)
        m_spAttrMap = std::make_unique<SKAttrMap>();
    return m_spAttrMap->Load(kStream);
}

bool SKAttrObject::LookupAttrValue(AttrType iKey, float& fValue) const
{
    uint32_t uiBits;
    if (!m_spAttrMap || !m_spAttrMap->Lookup(iKey, uiBits))
        return false;
    fValue = std::bit_cast<float>(uiBits);
    return true;
}

float SKAttrObject::GetAttrValue(AttrType iKey) const
{
    float fValue = 0.0f;
    return SKAttrObject::LookupAttrValue(iKey, fValue) ? fValue : 0.0f;
}

bool SKAttrObject::SetAttrValue(AttrType iKey, float fValue)
{
    if (!m_spAttrMap)
        m_spAttrMap = std::make_unique<SKAttrMap>();
    return m_spAttrMap->SetAt(iKey, std::bit_cast<uint32_t>(fValue));
}

bool SKAttrObject::RemoveAttr(AttrType iKey)
{
    return m_spAttrMap && m_spAttrMap->RemoveAt(iKey);
}

bool SKAttrObject::LookupAttrInt(AttrType iKey, int32_t& iValue) const
{
    float fValue;
    if (!LookupAttrValue(iKey, fValue))
        return false;
    iValue = std::bit_cast<int32_t>(fValue);
    return true;
}

int32_t SKAttrObject::GetAttrInt(AttrType iKey) const
{
    return std::bit_cast<int32_t>(GetAttrValue(iKey));
}

bool SKAttrObject::SetAttrInt(AttrType iKey, int32_t iValue)
{
    return SetAttrValue(iKey, std::bit_cast<float>(iValue));
}
