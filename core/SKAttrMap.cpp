#include "core/SKAttrMap.h"

#include "core/SKStream.h"

#include <bit>

namespace
{
constexpr int64_t ENTRY_BYTES = 8;
}

bool SKAttrMap::Save(SKStream& kStream) const
{
    kStream.WriteInt(GetCount());
    for (const auto& kEntry : m_kValues)
    {
        kStream.WriteInt(kEntry.m_key);
        kStream.WriteFloat(std::bit_cast<float>(kEntry.m_val));
    }
    return true;
}

bool SKAttrMap::Load(SKStream& kStream)
{
    if (!kStream.CheckRemaining(4))
        return false;
    int32_t iCount = kStream.ReadInt();
    // The count comes from the file: check it against what the stream holds before trusting it.
    if (!kStream.CheckRemaining(static_cast<int64_t>(iCount) * ENTRY_BYTES))
        return false;
    RemoveAll();
    for (int32_t i = 0; i < iCount; i++)
    {
        AttrType iKey = kStream.ReadInt();
        SetAt(iKey, std::bit_cast<uint32_t>(kStream.ReadFloat()));
    }
    return true;
}

bool SKAttrMap::SetAt(AttrType iKey, uint32_t uiValue)
{
    m_kValues.SetAt(iKey, uiValue);
    return true;
}

bool SKAttrMap::CopyFrom(const SKAttrMap& kOther)
{
    if (&kOther == this)
        return true;
    RemoveAll();
    return MergeFrom(kOther, true);
}

bool SKAttrMap::MergeFrom(const SKAttrMap& kOther, bool bOverwrite)
{
    if (&kOther == this)
        return true;
    for (const auto& kEntry : kOther.m_kValues)
    {
        if (bOverwrite || !Contains(kEntry.m_key))
            SetAt(kEntry.m_key, kEntry.m_val);
    }
    return true;
}
