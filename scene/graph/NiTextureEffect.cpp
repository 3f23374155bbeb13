#include "scene/graph/NiTextureEffect.h"

#include "scene/graph/NiImage.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiTextureEffect, NiDynamicEffect);
NiImplementCreateObject(NiTextureEffect);

namespace
{
// Record fields that newer files carry: the image link and the clipping plane from "3.03",
// m_sL, m_sK and the two bytes from "3.04".
constexpr const char* IMAGE_AND_PLANE_VERSION = "3.03";
constexpr const char* L_AND_K_VERSION = "3.04";
} // namespace

NiTextureEffect::NiTextureEffect() = default;

void NiTextureEffect::SetImage(NiImage* pkImage)
{
    SetImageObject(pkImage);
}

NiImage* NiTextureEffect::GetImage() const
{
    return NiDynamicCast<NiImage>(m_spImage.Get());
}

void NiTextureEffect::SetImageObject(NiObject* pkImage)
{
    m_spImage = NiTextureProperty::IsImage(pkImage) ? pkImage : nullptr;
}

NiTextureEffect::~NiTextureEffect()
{
    PurgeFromRenderers();
}

//--- World projection -----------------------------------------------------------------------

void NiTextureEffect::UpdateWorldTransform()
{
    NiDynamicEffect::UpdateWorldTransform();
    UpdateProjection();
}

void NiTextureEffect::UpdateProjection()
{
    const NiRotationMatrix& kR = m_worldRotate;
    const NiPoint3& kT = m_worldTranslate;

    if (m_eCoordMode == SPHERE_MAP)
    {
        NiPoint3 kCol1;
        NiPoint3 kCol2;
        kR.GetCol(1, kCol1);
        kR.GetCol(2, kCol2);
        const NiPoint3 kRow0 = kCol2 * 0.5f;
        const NiPoint3 kRow1 = kCol1 * -0.5f;
        m_worldProjMat =
            NiRotationMatrix(kRow0.x, kRow0.y, kRow0.z, kRow1.x, kRow1.y, kRow1.z, 0.0f, 0.0f, 0.0f);
        m_worldProjTrans = NiPoint3(0.5f, 0.5f, 0.0f);
    }
    else
    {
        // A collapsed effect has no frame to project from; it projects as if unscaled rather
        // than handing the renderer infinities.
        const float fInverseScale = m_worldScale != 0.0f ? 1.0f / m_worldScale : 1.0f;
        NiRotationMatrix kTranspose;
        kR.Transpose(kTranspose);
        m_worldProjMat = (m_modelProjMat * kTranspose) * fInverseScale;
        m_worldProjTrans = m_modelProjTrans - m_worldProjMat * kT;
    }

    m_worldPlane.m_kNormal = kR * m_modelPlane.m_kNormal;
    m_worldPlane.m_fConstant =
        m_modelPlane.m_fConstant * m_worldScale + m_worldPlane.m_kNormal.DotProduct(kT);
    IncrementRevisionID();
}

//--- Field strings --------------------------------------------------------------------------

std::string NiTextureEffect::TextureModeFieldString(const char* pcName, uint32_t uiType)
{
    static const char* const s_apcTexts[] = {"PROJECTED_LIGHT", "PROJECTED_SHADOW", "ENVIRONMENT_MAP",
                                             "FOG_MAP"};
    return NiProperty::EnumFieldString(pcName, uiType, s_apcTexts);
}

std::string NiTextureEffect::CoordModeFieldString(const char* pcName, uint32_t uiMode)
{
    static const char* const s_apcTexts[] = {"WORLD_PARALLEL", "WORLD_PERSPECTIVE", "SPHERE_MAP"};
    return NiProperty::EnumFieldString(pcName, uiMode, s_apcTexts);
}

void NiTextureEffect::AddFieldStrings(NiFieldStringList& kList) const
{
    NiDynamicEffect::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTextureEffect"));
    kList.push_back(m_modelProjMat.GetFieldString("m_modelProjMat"));
    kList.push_back(m_modelProjTrans.GetFieldString("m_modelProjTrans"));
    kList.push_back(TextureModeFieldString("m_eTextureMode", m_eTextureMode));
    kList.push_back(NiTextureModeProperty::FilterFieldString("m_eFilter", m_eFilter));
    kList.push_back(NiTextureModeProperty::ClampFieldString("m_eClamp", m_eClamp));
    kList.push_back(CoordModeFieldString("m_eCoordMode", m_eCoordMode));
    kList.push_back(NiFieldString("m_bPlaneEnable", static_cast<unsigned char>(m_bPlaneEnable)));
    kList.push_back(m_modelPlane.GetFieldString("m_modelPlane"));
    kList.push_back(NiFieldString("m_sL", m_sL));
    kList.push_back(NiFieldString("m_sK", m_sK));
}

//--- Stream ---------------------------------------------------------------------------------

void NiTextureEffect::LoadBinary(NiStream& kStream)
{
    NiDynamicEffect::LoadBinary(kStream);
    NiTextureEffectLinkRecord& kRecord = kStream.GetLinkRecord<NiTextureEffectLinkRecord>();
    kStream.Load(m_modelProjMat);
    kStream.Load(m_modelProjTrans);
    kStream.Load(m_eFilter);
    kStream.Load(m_eClamp);
    kStream.Load(m_eTextureMode);
    kStream.Load(m_eCoordMode);
    if (NiProperty::IsVersionBefore(kStream, IMAGE_AND_PLANE_VERSION))
        return;

    kStream.Load(kRecord.m_uiImageID);
    uint8_t ucPlaneEnable = 0;
    kStream.Load(ucPlaneEnable);
    m_bPlaneEnable = ucPlaneEnable != 0;
    kStream.Load(m_modelPlane);
    if (NiProperty::IsVersionBefore(kStream, L_AND_K_VERSION))
        return;

    kStream.Load(m_sL);
    kStream.Load(m_sK);
    kStream.Load(m_aucExtra);
}

void NiTextureEffect::ResolveLinks(NiStream& kStream)
{
    NiDynamicEffect::ResolveLinks(kStream);
    const NiTextureEffectLinkRecord& kRecord = kStream.GetLinkRecord<NiTextureEffectLinkRecord>();
    SetImageObject(kRecord.m_uiImageID ? kStream.LookupLinkedObject(kRecord.m_uiImageID) : nullptr);
}

bool NiTextureEffect::RegisterForSave(NiStream& kStream)
{
    if (!NiDynamicEffect::RegisterForSave(kStream))
        return false;
    if (m_spImage)
        m_spImage->RegisterForSave(kStream);
    return true;
}

void NiTextureEffect::SaveBinary(NiStream& kStream)
{
    NiDynamicEffect::SaveBinary(kStream);
    kStream.Save(m_modelProjMat);
    kStream.Save(m_modelProjTrans);
    kStream.Save(m_eFilter);
    kStream.Save(m_eClamp);
    kStream.Save(m_eTextureMode);
    kStream.Save(m_eCoordMode);
    kStream.SaveLinkID(m_spImage);
    kStream.Save(static_cast<uint8_t>(m_bPlaneEnable ? 1 : 0));
    kStream.Save(m_modelPlane);
    kStream.Save(m_sL);
    kStream.Save(m_sK);
    kStream.Save(m_aucExtra);
}

bool NiTextureEffect::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiDynamicEffect::IsEquivalent(pkObject))
        return false;
    // The image is not compared.
    const NiTextureEffect* pkOther = static_cast<const NiTextureEffect*>(pkObject);
    return m_modelProjMat == pkOther->m_modelProjMat && m_modelProjTrans == pkOther->m_modelProjTrans &&
           m_eFilter == pkOther->m_eFilter && m_eClamp == pkOther->m_eClamp &&
           m_eTextureMode == pkOther->m_eTextureMode && m_eCoordMode == pkOther->m_eCoordMode &&
           m_bPlaneEnable == pkOther->m_bPlaneEnable && m_modelPlane == pkOther->m_modelPlane &&
           m_aucExtra[0] == pkOther->m_aucExtra[0] && m_aucExtra[1] == pkOther->m_aucExtra[1] &&
           m_sL == pkOther->m_sL && m_sK == pkOther->m_sK;
}

//--- Cloning --------------------------------------------------------------------------------

NiObject* NiTextureEffect::MakeClone()
{
    NiTextureEffect* pkClone = new NiTextureEffect;
    CopyToClone(pkClone);
    return pkClone;
}

void NiTextureEffect::CopyToClone(NiTextureEffect* pkClone)
{
    NiDynamicEffect::CopyToClone(pkClone);
    // The image is shared; the world projection waits for the clone's first world update.
    pkClone->m_spImage = m_spImage;
    pkClone->m_modelProjMat = m_modelProjMat;
    pkClone->m_modelProjTrans = m_modelProjTrans;
    pkClone->m_eFilter = m_eFilter;
    pkClone->m_eClamp = m_eClamp;
    pkClone->m_eTextureMode = m_eTextureMode;
    pkClone->m_eCoordMode = m_eCoordMode;
    pkClone->m_bPlaneEnable = m_bPlaneEnable;
    pkClone->m_modelPlane = m_modelPlane;
    pkClone->m_worldPlane = m_worldPlane;
    pkClone->m_sL = m_sL;
    pkClone->m_sK = m_sK;
    pkClone->m_aucExtra[0] = m_aucExtra[0];
    pkClone->m_aucExtra[1] = m_aucExtra[1];
}
