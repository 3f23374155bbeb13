#include "properties/TorpedoTubeProperty.h"

#include "core/SKStream.h"
#include "properties/FiringArcGeometry.h"
#include "properties/SKDisplayLines.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"
#include "scene/graph/NiCamera.h"

#include <array>

TorpedoTubeProperty::TorpedoTubeProperty(int32_t iID) : WeaponProperty(iID)
{
    SetDumbfire(true);
    SetDamageRadiusFactor(0.6f);
}

TorpedoTubeProperty* TorpedoTubeProperty::Create(const char* pcName)
{
    auto* pkProperty = new TorpedoTubeProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

bool TorpedoTubeProperty::SaveToStream(SKStream& kStream) const
{
    if (!WeaponProperty::SaveToStream(kStream))
        return false;
    for (const NiPoint3* pkVector : {&m_kDirection, &m_kRight})
    {
        kStream.WriteFloat(pkVector->x);
        kStream.WriteFloat(pkVector->y);
        kStream.WriteFloat(pkVector->z);
    }
    kStream.WriteFloat(m_fImmediateDelay);
    kStream.WriteFloat(m_fReloadDelay);
    kStream.WriteLong(m_iMaxReady);
    return true;
}

bool TorpedoTubeProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!WeaponProperty::LoadFromStream(kStream))
        return false;
    // A record loaded into a shown tube replaces what it showed: the old arrows go with it rather
    // than staying behind in the scene.
    m_kDisplayNode.Reset();
    for (NiPoint3* pkVector : {&m_kDirection, &m_kRight})
    {
        pkVector->x = kStream.ReadFloat();
        pkVector->y = kStream.ReadFloat();
        pkVector->z = kStream.ReadFloat();
    }
    m_fImmediateDelay = kStream.ReadFloat();
    m_fReloadDelay = kStream.ReadFloat();
    m_iMaxReady = kStream.ReadLong();
    return !kCheck.Failed();
}

void TorpedoTubeProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    WeaponProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    kWriter.Line(pcVariable, ".SetImmediateDelay(", m_fImmediateDelay, ")");
    kWriter.Line(pcVariable, ".SetReloadDelay(", m_fReloadDelay, ")");
    kWriter.Line(pcVariable, ".SetMaxReady(", m_iMaxReady, ")");
    kWriter.Point3(pcVariable, "Direction", m_kDirection);
    kWriter.Line(pcVariable, ".SetDirection(", pcVariable, "Direction)");
    kWriter.Point3(pcVariable, "Right", m_kRight);
    kWriter.Line(pcVariable, ".SetRight(", pcVariable, "Right)");
}

bool TorpedoTubeProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const TorpedoTubeProperty*>(pkOther);
    if (!pkSource || !WeaponProperty::CopyFrom(pkOther))
        return false;
    SetImmediateDelay(pkSource->GetImmediateDelay());
    SetReloadDelay(pkSource->GetReloadDelay());
    SetMaxReady(pkSource->GetMaxReady());
    SetDirection(pkSource->GetDirection());
    SetRight(pkSource->GetRight());
    return true;
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
