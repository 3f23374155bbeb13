#include "properties/ObjectEmitterProperty.h"

const SKFieldSet& ObjectEmitterProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static constexpr const char* CONSTANTS[] = {"OEP_UNKNOWN", "OEP_SHUTTLE", "OEP_PROBE", "OEP_DECOY"};
    static constexpr const char* CHOICES[] = {"Unknown", "Shuttle", "Probe", "Decoy"};
    static const F FIELDS[] = {
        F::Member<&ObjectEmitterProperty::m_iEmittedObjectType>("EmittedObjectType")
            .Record(0)
            .Script(0, "SetEmittedObjectType", F::CONSTANT)
            .Constants(CONSTANTS, "OEP_UNKNOWN")
            .Choices(CHOICES),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}
