#include "properties/CloakingSubsystemProperty.h"

const SKFieldSet& CloakingSubsystemProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&CloakingSubsystemProperty::m_fCloakStrength>("CloakStrength")
            .Record(0)
            .Script(0, "SetCloakStrength"),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}
