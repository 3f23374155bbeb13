#pragma once

#include "core/SKBufferStream.h"
#include "core/SKTemplatedAttrObject.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// Templates are set only by loading, so tests make templated objects by loading a record that holds
// the attributes and names the template id. Null when the record does not load.
inline std::unique_ptr<SKTemplatedAttrObject>
LoadTemplatedRecord(int32_t iID, int32_t iTemplateID, const std::vector<std::pair<int32_t, float>>& kAttrs)
{
    std::vector<uint8_t> kMemory(16 + 8 * kAttrs.size(), 0);
    SKBufferStream kStream;
    kStream.AttachBuffer(kMemory.data(), int32_t(kMemory.size()));
    kStream.WriteInt(SKTemplatedAttrObject::TYPE_ID);
    kStream.WriteID(iID);
    kStream.WriteInt(int32_t(kAttrs.size()));
    for (const auto& [iKey, fValue] : kAttrs)
    {
        kStream.WriteInt(iKey);
        kStream.WriteFloat(fValue);
    }
    kStream.WriteID(iTemplateID);
    kStream.Seek(0, 0);
    return std::unique_ptr<SKTemplatedAttrObject>(
        static_cast<SKTemplatedAttrObject*>(SKObject::LoadObject(kStream)));
}
