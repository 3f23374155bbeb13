#include "properties/ImpulseEngineProperty.h"

const SKFieldSet& ImpulseEngineProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&ImpulseEngineProperty::m_fMaxAccel>("MaxAccel").Record(1).Script(0, "SetMaxAccel"),
        F::Member<&ImpulseEngineProperty::m_fMaxAngularAccel>("MaxAngularAccel")
            .Record(3)
            .Script(1, "SetMaxAngularAccel"),
        F::Member<&ImpulseEngineProperty::m_fMaxAngularVelocity>("MaxAngularVelocity")
            .Record(2)
            .Script(2, "SetMaxAngularVelocity"),
        F::Member<&ImpulseEngineProperty::m_fMaxSpeed>("MaxSpeed").Record(0).Script(3, "SetMaxSpeed"),
        F::Member<&ImpulseEngineProperty::m_kEngineSound>("EngineSound")
            .Record(4)
            .Script(4, "SetEngineSound"),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}
