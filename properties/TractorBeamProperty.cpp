#include "properties/TractorBeamProperty.h"

#include "properties/SKScriptWriter.h"

namespace
{
// The look's lines begin here; the texture name is also written before them, by hand.
constexpr int32_t LOOK_LINES = 60;
} // namespace

TractorBeamProperty::TractorBeamProperty(int32_t iID) : BeamWeaponProperty(iID)
{
    const NiColorA kBlue(0.4f, 0.4f, 1.0f, 1.0f);
    m_kOuterShellColor = kBlue;
    m_kInnerShellColor = kBlue;
    m_kOuterCoreColor = kBlue;
    m_kInnerCoreColor = kBlue;
    m_iNumSides = 12;
    m_fMainRadius = m_fTractorBeamWidth * 0.25f;
    m_fTaperRadius = 0.0f;
    m_fCoreScale = 0.45f;
    m_fTaperRatio = 0.2f;
    m_fTaperMinLength = 1.0f;
    m_fTaperMaxLength = 5.0f;
    m_fLengthTextureTilePerUnit = 0.25f;
    m_fPerimeterTile = 1.0f;
    m_fTextureSpeed = 0.2f;
    SetTextureName("data/Textures/Tactical/TractorBeam.tga");
}

const SKFieldSet& TractorBeamProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&TractorBeamProperty::m_fTractorBeamWidth>("TractorBeamWidth")
            .Record(12)
            .Script(30, "SetTractorBeamWidth"),
        F::Member<&TractorBeamProperty::m_iTextureStart>("TextureStart")
            .Record(10)
            .Script(31, "SetTextureStart"),
        F::Member<&TractorBeamProperty::m_iTextureEnd>("TextureEnd").Record(11).Script(32, "SetTextureEnd"),
    };
    static const SKFieldSet s_kSet({ArcFields(), LookFields(), FIELDS});
    return s_kSet;
}

bool TractorBeamProperty::SaveToStream(SKStream& kStream) const
{
    if (!BeamWeaponProperty::SaveToStream(kStream))
        return false;
    GetFieldSet().Save(*this, kStream);
    return true;
}

bool TractorBeamProperty::LoadFromStream(SKStream& kStream)
{
    return BeamWeaponProperty::LoadFromStream(kStream) && GetFieldSet().Load(*this, kStream);
}

void TractorBeamProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    BeamWeaponProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    GetFieldSet().WriteLines(*this, kWriter, pcVariable, 0, LOOK_LINES);
    kWriter.Line(pcVariable, ".SetTextureName(", SKScriptWriter::Quoted{GetTextureName()}, ")");
    GetFieldSet().WriteLines(*this, kWriter, pcVariable, LOOK_LINES);
}
