#pragma once

#include "scene/object/NiHashMap.h"

#include <string>
#include <string_view>

// The string-keyed map: every entry owns a copy of its key text; keys compare
// exactly (case-sensitive) and hash with h = h * 33 + c over signed bytes.
// Values are as in NiHashMap: an NiRefPtr value makes the counted-value map
// (one reference per entry, released on replace, remove and destruction).
template <class TVAL> class NiStringHashMap : public NiHashMap<std::string_view, TVAL, std::string>
{
public:
    explicit NiStringHashMap(uint32_t uiHashSize = 37)
        : NiHashMap<std::string_view, TVAL, std::string>(uiHashSize)
    {
    }
};
