#include "properties/PowerProperty.h"

const SKFieldSet& PowerProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&PowerProperty::m_fPowerOutput>("PowerOutput").Record(4).Script(4, "SetPowerOutput"),
        F::Member<&PowerProperty::m_fMainBatteryLimit>("MainBatteryLimit")
            .Record(0)
            .Script(0, "SetMainBatteryLimit"),
        F::Member<&PowerProperty::m_fBackupBatteryLimit>("BackupBatteryLimit")
            .Record(1)
            .Script(1, "SetBackupBatteryLimit"),
        F::Member<&PowerProperty::m_fMainConduitCapacity>("MainConduitCapacity")
            .Record(2)
            .Script(2, "SetMainConduitCapacity"),
        F::Member<&PowerProperty::m_fBackupConduitCapacity>("BackupConduitCapacity")
            .Record(3)
            .Script(3, "SetBackupConduitCapacity"),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}
