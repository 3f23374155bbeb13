#include "properties/EngineProperty.h"

const SKFieldSet& EngineProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static constexpr const char* CONSTANTS[] = {"EP_IMPULSE", "EP_WARP"};
    static constexpr const char* CHOICES[] = {"Impulse", "Warp"};
    static const F FIELDS[] = {
        // Any type but impulse is written as warp.
        F::Member<&EngineProperty::m_iEngineType>("EngineType")
            .Record(0)
            .Script(0, "SetEngineType", F::CONSTANT)
            .Constants(CONSTANTS, "EP_WARP")
            .Choices(CHOICES),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}
