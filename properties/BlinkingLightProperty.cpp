#include "properties/BlinkingLightProperty.h"

const SKFieldSet& BlinkingLightProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&BlinkingLightProperty::m_kColor>("Color")
            .Record(0)
            .Script(0, "SetColor", F::VARIABLE, "LightColor")
            .Page(F::COLOR_RGB_SCALED, 0.0f, 255.0f),
        F::Member<&BlinkingLightProperty::m_fDuration>("Duration").Record(3).Script(3, "SetDuration"),
        F::Member<&BlinkingLightProperty::m_fPeriod>("Period").Record(2).Script(2, "SetPeriod"),
        F::Member<&BlinkingLightProperty::m_fRadius>("Radius").Record(1).Script(1, "SetRadius"),
        F::Member<&BlinkingLightProperty::m_kTextureName>("TextureName")
            .Record(4)
            .Script(4, "SetTextureName", F::ARGUMENT_WHEN_SET),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}
