#pragma once

#include <cstdint>

// What an object's loader keeps between LoadBinary and ResolveLinks: the
// object's saved id (0 until LoadBinary reads it). Classes whose records name
// other objects extend it with the saved ids of those links. The stream owns
// every link record of a load and deletes them when the load ends.
class NiLinkRecord
{
public:
    NiLinkRecord() = default;
    virtual ~NiLinkRecord() = default;

    NiLinkRecord(const NiLinkRecord&) = delete;
    NiLinkRecord& operator=(const NiLinkRecord&) = delete;

    uint32_t m_uiLinkID = 0;
};
