#include "properties/TorpedoTubeProperty.h"

#include "properties/FiringArcGeometry.h"
#include "properties/SKDisplayLines.h"
#include "scene/graph/NiCamera.h"

#include <array>

TorpedoTubeProperty::TorpedoTubeProperty(int32_t iID) : WeaponProperty(iID)
{
    SetDumbfire(true);
    SetDamageRadiusFactor(0.6f);
}

const SKFieldSet& TorpedoTubeProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&TorpedoTubeProperty::m_kDirection>("Direction")
            .Record(0)
            .Script(3, "SetDirection", F::VARIABLE, "Direction"),
        F::Member<&TorpedoTubeProperty::m_kRight>("Right").Record(1).Script(4, "SetRight", F::VARIABLE,
                                                                            "Right"),
        F::Member<&TorpedoTubeProperty::m_fImmediateDelay>("ImmediateDelay")
            .Record(2)
            .Script(0, "SetImmediateDelay"),
        F::Member<&TorpedoTubeProperty::m_iMaxReady>("MaxReady").Record(4).Script(2, "SetMaxReady"),
        F::Member<&TorpedoTubeProperty::m_fReloadDelay>("ReloadDelay").Record(3).Script(1, "SetReloadDelay"),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}

bool TorpedoTubeProperty::SaveToStream(SKStream& kStream) const
{
    if (!WeaponProperty::SaveToStream(kStream))
        return false;
    GetFieldSet().Save(*this, kStream);
    return true;
}

bool TorpedoTubeProperty::LoadFromStream(SKStream& kStream)
{
    if (!WeaponProperty::LoadFromStream(kStream) || !GetFieldSet().Load(*this, kStream))
        return false;
    // A record loaded into a shown tube replaces what it showed: the old arrows go with it rather
    // than staying behind in the scene.
    m_kDisplayNode.Reset();
    return true;
}

void TorpedoTubeProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    WeaponProperty::WriteInit(kStream, pcVariable);
    GetFieldSet().WriteLines(*this, kStream, pcVariable);
}

void TorpedoTubeProperty::ArrowVertices(NiPoint3* pkVertices, float fScale) const
{
    const NiPoint3 kPosition = GetPosition();
    const float fRadius = GetRadius();
    pkVertices[0] = kPosition;
    pkVertices[1] = NiPoint3(kPosition.x + fScale * m_kDirection.x, kPosition.y + fScale * m_kDirection.y,
                             kPosition.z + fScale * m_kDirection.z);
    pkVertices[2] = kPosition;
    pkVertices[3] = NiPoint3(kPosition.x + fRadius * m_kRight.x, kPosition.y + fRadius * m_kRight.y,
                             kPosition.z + fRadius * m_kRight.z);
}

void TorpedoTubeProperty::ShowInView(bool bShow, NiCamera* pkCamera, NiAVObject* pkNode)
{
    NiNode* pkSceneRoot = pkCamera ? NiDynamicCast<NiNode>(pkCamera->GetScene()) : nullptr;
    NiNode* pkDisplayNode = m_kDisplayNode.Show(bShow, pkSceneRoot, pkNode);
    if (!pkDisplayNode)
        return;
    // The direction arrow follows the model's size as last updated, the right arrow the radius.
    std::array<NiPoint3, ARROW_VERTICES> kArrows;
    ArrowVertices(kArrows.data(), FiringArcGeometry::SCENE_SCALE * pkSceneRoot->GetWorldBound().m_fRadius);
    const NiColorA kRed(1.0f, 0.0f, 0.0f, 1.0f);
    const NiColorA kGreen(0.0f, 1.0f, 0.0f, 1.0f);
    const std::array<NiColorA, ARROW_VERTICES> kColors = {kRed, kRed, kGreen, kGreen};
    SKDisplayLines::Show(pkDisplayNode, kArrows, kColors, SKDisplayLines::BLENDED_LINES);
}
