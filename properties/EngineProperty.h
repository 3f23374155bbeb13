#pragma once

#include "properties/SKPropertyClass.h"
#include "properties/SubsystemProperty.h"

#include <cstdint>

// A generic engine of either kind: impulse (EP_IMPULSE) or warp (EP_WARP). The type is stored as
// given; the script line names EP_IMPULSE for 0 and EP_WARP for any other value.
//
// Binary record: the subsystem record, then EngineType (Long).
class EngineProperty : public SubsystemProperty
{
    SK_PROPERTY_CLASS(EngineProperty, SubsystemProperty, 0x813d)
    SK_PROPERTY_FIELDS(EngineProperty, SubsystemProperty)

public:
    enum EngineType : int32_t
    {
        EP_IMPULSE = 0,
        EP_WARP = 1
    };

    explicit EngineProperty(int32_t iID = 0) : SubsystemProperty(iID) {}

    int32_t GetEngineType() const { return m_iEngineType; }
    void SetEngineType(int32_t iType) { m_iEngineType = iType; }

private:
    int32_t m_iEngineType = EP_IMPULSE;
};
