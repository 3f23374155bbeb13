#include "properties/RepairSubsystemProperty.h"

const SKFieldSet& RepairSubsystemProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&RepairSubsystemProperty::m_fMaxRepairPoints>("MaxRepairPoints")
            .Record(0)
            .Script(0, "SetMaxRepairPoints"),
        F::Member<&RepairSubsystemProperty::m_iNumRepairTeams>("NumRepairTeams")
            .Record(1)
            .Script(1, "SetNumRepairTeams"),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}
