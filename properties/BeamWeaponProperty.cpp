#include "properties/BeamWeaponProperty.h"

std::span<const SKPropertyField> BeamWeaponProperty::LookFields()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&BeamWeaponProperty::m_kOuterShellColor>("OuterShellColor")
            .Record(20)
            .Script(60, "SetOuterShellColor", F::SHARED, "kColor")
            .Page(F::COLOR_BYTES, 0.0f, 255.0f),
        F::Member<&BeamWeaponProperty::m_kInnerShellColor>("InnerShellColor")
            .Record(21)
            .Script(61, "SetInnerShellColor", F::SHARED, "kColor")
            .Page(F::COLOR_BYTES, 0.0f, 255.0f),
        F::Member<&BeamWeaponProperty::m_kOuterCoreColor>("OuterCoreColor")
            .Record(22)
            .Script(62, "SetOuterCoreColor", F::SHARED, "kColor")
            .Page(F::COLOR_BYTES, 0.0f, 255.0f),
        F::Member<&BeamWeaponProperty::m_kInnerCoreColor>("InnerCoreColor")
            .Record(23)
            .Script(63, "SetInnerCoreColor", F::SHARED, "kColor")
            .Page(F::COLOR_BYTES, 0.0f, 255.0f),
        F::Member<&BeamWeaponProperty::m_iNumSides>("NumSides").Record(24).Script(64, "SetNumSides"),
        F::Member<&BeamWeaponProperty::m_fMainRadius>("MainRadius").Record(25).Script(65, "SetMainRadius"),
        F::Member<&BeamWeaponProperty::m_fTaperRadius>("TaperRadius").Record(26).Script(66, "SetTaperRadius"),
        F::Member<&BeamWeaponProperty::m_fCoreScale>("CoreScale").Record(27).Script(67, "SetCoreScale"),
        F::Member<&BeamWeaponProperty::m_fTaperRatio>("TaperRatio").Record(28).Script(68, "SetTaperRatio"),
        F::Member<&BeamWeaponProperty::m_fTaperMinLength>("TaperMinLength")
            .Record(29)
            .Script(69, "SetTaperMinLength"),
        F::Member<&BeamWeaponProperty::m_fTaperMaxLength>("TaperMaxLength")
            .Record(30)
            .Script(70, "SetTaperMaxLength"),
        F::Member<&BeamWeaponProperty::m_fLengthTextureTilePerUnit>("LengthTextureTilePerUnit")
            .Record(31)
            .Script(71, "SetLengthTextureTilePerUnit"),
        F::Member<&BeamWeaponProperty::m_fPerimeterTile>("PerimeterTile")
            .Record(32)
            .Script(72, "SetPerimeterTile"),
        F::Member<&BeamWeaponProperty::m_fTextureSpeed>("TextureSpeed")
            .Record(33)
            .Script(73, "SetTextureSpeed"),
        F::Member<&BeamWeaponProperty::m_kTextureName>("TextureName").Record(34).Script(74, "SetTextureName"),
    };
    return FIELDS;
}
