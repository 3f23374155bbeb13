#pragma once

#include "scene/object/NiHashMap.h"

#include <cstdint>

class SKStream;

// An attribute key.
using AttrType = int32_t;

// The attributes of an attribute object: integer keys to raw 32-bit values, which callers read as floats
// or as integers (the same bits, never converted).
class SKAttrMap
{
public:
    SKAttrMap() = default;
    virtual ~SKAttrMap() = default;
    SKAttrMap(const SKAttrMap&) = delete;
    SKAttrMap& operator=(const SKAttrMap&) = delete;

    // Stream form: Int count, then per entry Int key and the value's bits as a Float, bucket by bucket.
    // A load whose count is negative or larger than the stream can hold fails and keeps the entries.
    virtual bool Save(SKStream& kStream) const;
    virtual bool Load(SKStream& kStream);

    bool Lookup(AttrType iKey, uint32_t& uiValue) const { return m_kValues.GetAt(iKey, uiValue); }
    bool SetAt(AttrType iKey, uint32_t uiValue);
    bool RemoveAt(AttrType iKey) { return m_kValues.RemoveAt(iKey); }
    bool Contains(AttrType iKey) const { return m_kValues.Contains(iKey); }
    void RemoveAll() { m_kValues.RemoveAll(); }
    int32_t GetCount() const { return static_cast<int32_t>(m_kValues.GetCount()); }
    bool CopyFrom(const SKAttrMap& kOther);
    // Takes the other map's entries; with bOverwrite false, keys this map holds keep their values.
    bool MergeFrom(const SKAttrMap& kOther, bool bOverwrite);

private:
    NiHashMap<AttrType, uint32_t> m_kValues{37};
};
