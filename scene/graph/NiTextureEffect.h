#pragma once

#include "scene/graph/NiDynamicEffect.h"
#include "scene/object/NiPlane.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>
#include <string>

class NiImage;

// What NiTextureEffect keeps between LoadBinary and ResolveLinks: its image's id.
class NiTextureEffectLinkRecord : public NiAVObjectLinkRecord
{
public:
    uint32_t m_uiImageID = 0;
};

// A dynamic effect that lays an image over the geometry it reaches: a projected light or
// shadow, an environment map or a fog map. Its world projection maps world points into texture
// space and is recomputed by every world transform update.
class NiTextureEffect : public NiDynamicEffect
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiTextureEffectLinkRecord;

    enum TextureMode : uint32_t
    {
        PROJECTED_LIGHT = 0,
        PROJECTED_SHADOW = 1,
        ENVIRONMENT_MAP = 2,
        FOG_MAP = 3
    };

    enum CoordMode : uint32_t
    {
        WORLD_PARALLEL = 0,
        WORLD_PERSPECTIVE = 1,
        SPHERE_MAP = 2
    };

    NiTextureEffect();
    ~NiTextureEffect() override;

    int32_t GetEffectKind() const override { return TEXTURE_EFFECT; }

    //--- The image, counted. ---
    void SetImage(NiImage* pkImage);
    // The image, or null when there is none or the object held is not of the image class.
    NiImage* GetImage() const;
    // An object that is not an image is refused (the effect is left without one).
    void SetImageObject(NiObject* pkImage);
    NiObject* GetImageObject() const { return m_spImage; }

    //--- Model-space projection and plane; a world transform update carries them into the world
    // fields. ---
    void SetModelProjectionMatrix(const NiRotationMatrix& kMatrix) { m_modelProjMat = kMatrix; }
    const NiRotationMatrix& GetModelProjectionMatrix() const { return m_modelProjMat; }
    void SetModelProjectionTranslation(const NiPoint3& kTranslate) { m_modelProjTrans = kTranslate; }
    const NiPoint3& GetModelProjectionTranslation() const { return m_modelProjTrans; }
    const NiRotationMatrix& GetWorldProjectionMatrix() const { return m_worldProjMat; }
    const NiPoint3& GetWorldProjectionTranslation() const { return m_worldProjTrans; }
    void SetModelClippingPlane(const NiPlane& kPlane) { m_modelPlane = kPlane; }
    const NiPlane& GetModelClippingPlane() const { return m_modelPlane; }
    const NiPlane& GetWorldClippingPlane() const { return m_worldPlane; }
    void SetClippingPlaneEnable(bool bEnable) { m_bPlaneEnable = bEnable; }
    bool GetClippingPlaneEnable() const { return m_bPlaneEnable; }

    //--- Sampling and coordinate modes. Filter and clamp take the texture-mode property's
    // values; only the four texture types and the three coordinate modes are supported. ---
    void SetFilter(uint32_t eFilter) { m_eFilter = eFilter; }
    uint32_t GetFilter() const { return m_eFilter; }
    void SetClamp(uint32_t eClamp) { m_eClamp = eClamp; }
    uint32_t GetClamp() const { return m_eClamp; }
    void SetTextureMode(uint32_t eMode) { m_eTextureMode = eMode; }
    uint32_t GetTextureMode() const { return m_eTextureMode; }
    void SetCoordMode(uint32_t eCoordMode) { m_eCoordMode = eCoordMode; }
    uint32_t GetCoordMode() const { return m_eCoordMode; }
    void SetL(int16_t sL) { m_sL = sL; }
    int16_t GetL() const { return m_sL; }
    void SetK(int16_t sK) { m_sK = sK; }
    int16_t GetK() const { return m_sK; }
    // The two further bytes of the record: kept, cloned and compared, read by nobody here.
    void SetExtraByte(uint32_t uiWhich, uint8_t ucValue) { m_aucExtra[uiWhich & 1] = ucValue; }
    uint8_t GetExtraByte(uint32_t uiWhich) const { return m_aucExtra[uiWhich & 1]; }

    void UpdateWorldTransform() override;
    // Recomputes the world projection and plane from the world transform; a new revision.
    void UpdateProjection();

    static std::string TextureModeFieldString(const char* pcName, uint32_t uiType);
    static std::string CoordModeFieldString(const char* pcName, uint32_t uiMode);

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

    static constexpr int16_t DEFAULT_K = -75;
    static constexpr uint32_t DEFAULT_CLAMP = 3;

protected:
    void CopyToClone(NiTextureEffect* pkClone);

    NiRotationMatrix m_modelProjMat = NiRotationMatrix::IDENTITY;
    NiPoint3 m_modelProjTrans = NiPoint3::ZERO;
    NiRotationMatrix m_worldProjMat = NiRotationMatrix::IDENTITY;
    NiPoint3 m_worldProjTrans = NiPoint3::ZERO;
    NiRefPtr<NiObject> m_spImage;
    uint32_t m_eFilter = 0;
    uint32_t m_eClamp = DEFAULT_CLAMP;
    uint32_t m_eTextureMode = PROJECTED_LIGHT;
    uint32_t m_eCoordMode = WORLD_PARALLEL;
    bool m_bPlaneEnable = false;
    NiPlane m_modelPlane{NiPoint3::UNIT_X, 0.0f};
    NiPlane m_worldPlane{NiPoint3::UNIT_X, 0.0f};
    int16_t m_sL = 0;
    int16_t m_sK = DEFAULT_K;
    uint8_t m_aucExtra[2] = {0, 0};
};
