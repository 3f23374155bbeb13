#include "properties/SensorProperty.h"

const SKFieldSet& SensorProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&SensorProperty::m_fBaseSensorRange>("BaseSensorRange")
            .Record(0)
            .Script(0, "SetBaseSensorRange"),
        F::Member<&SensorProperty::m_iMaxProbes>("MaxProbes").Record(1).Script(1, "SetMaxProbes"),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}
