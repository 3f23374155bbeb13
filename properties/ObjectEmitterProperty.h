#pragma once

#include "properties/PositionOrientationProperty.h"
#include "properties/SKPropertyClass.h"

#include <cstdint>

// A place on the model from which objects are launched (shuttles, probes, decoys): a position and
// orientation property with the type of object emitted.
//
// Binary record: the position and orientation record, then EmittedObjectType (Long). Script text:
// the position and orientation lines, then "<var>.SetEmittedObjectType(<var>.OEP_...)" (OEP_UNKNOWN
// for a type outside the enumeration).
class ObjectEmitterProperty : public PositionOrientationProperty
{
    SK_PROPERTY_CLASS(ObjectEmitterProperty, PositionOrientationProperty, 0x8146)
    SK_PROPERTY_FIELDS(ObjectEmitterProperty, PositionOrientationProperty)

public:
    enum EmittedObjectType : int32_t
    {
        OEP_UNKNOWN = 0,
        OEP_SHUTTLE = 1,
        OEP_PROBE = 2,
        OEP_DECOY = 3
    };

    explicit ObjectEmitterProperty(int32_t iID = 0) : PositionOrientationProperty(iID) {}

    int32_t GetEmittedObjectType() const { return m_iEmittedObjectType; }
    // Stored as given, in or out of the enumeration.
    void SetEmittedObjectType(int32_t iType) { m_iEmittedObjectType = iType; }

private:
    int32_t m_iEmittedObjectType = OEP_UNKNOWN;
};
