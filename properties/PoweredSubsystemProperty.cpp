#include "properties/PoweredSubsystemProperty.h"

const SKFieldSet& PoweredSubsystemProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&PoweredSubsystemProperty::m_fNormalPowerPerSecond>("NormalPowerPerSecond")
            .Record(0)
            .Script(0, "SetNormalPowerPerSecond"),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}
