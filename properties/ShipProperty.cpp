#include "properties/ShipProperty.h"

ShipProperty::ShipProperty(int32_t iID) : SKModelProperty(iID) {}

const SKFieldSet& ShipProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&ShipProperty::m_iSpecies>("Species").Record(1).Script(1, "SetSpecies"),
        F::Member<&ShipProperty::m_iGenus>("Genus").Record(0).Script(0, "SetGenus"),
        F::Member<&ShipProperty::m_fMass>("Mass").Record(2).Script(2, "SetMass"),
        F::Member<&ShipProperty::m_fRotationalInertia>("RotationalInertia")
            .Record(3)
            .Script(3, "SetRotationalInertia"),
        F::Member<&ShipProperty::m_kModelFilename>("ModelFilename").Record(5).Script(5, "SetModelFilename"),
        F::Member<&ShipProperty::m_kShipName>("ShipName").Record(4).Script(4, "SetShipName"),
        F::Member<&ShipProperty::m_fDamageResolution>("DamageResolution")
            .Record(6)
            .Script(6, "SetDamageResolution"),
        F::Member<&ShipProperty::m_iAffiliation>("Affiliation").Record(7).Script(7, "SetAffiliation"),
        F::Member<&ShipProperty::m_bStationary>("Stationary").Record(8).Script(8, "SetStationary"),
        F::Member<&ShipProperty::m_kAIString>("AIString").Record(9).Script(9, "SetAIString"),
        F::Member<&ShipProperty::m_kDeathExplosionSound>("DeathExplosionSound")
            .Record(10)
            .Script(10, "SetDeathExplosionSound"),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}
