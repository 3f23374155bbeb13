#pragma once

#include "platform/d3d7/IDirect3DDevice7.h"
#include "scene/graph/NiEffectLists.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiRotationMatrix.h"
#include "scene/render/NiD3DTextureStage.h"

#include <array>
#include <cstdint>

class NiAlphaProperty;
class NiD3DRenderStateCache;
class NiD3DTextureCache;
class NiImage;
class NiPropertyTable;
class NiTextureEffect;

// The scene's texturing as device texture stages. For each drawn object the pipeline turns the
// texture, texture-mode and multi-texture properties and the texture effects of its effect
// lists into stage records, and groups them into passes of one or two stages; the renderer
// calls SetupNextPass before each draw call until it returns false. Two stages share a pass only
// where the device check at start-up found the combination drawable in one pass; other passes
// are blended into the frame buffer. Stage states of stages 0-2 are cached and sent on change.
//
// Contents (NiD3DTexturePipeline.cpp): creation and tables / stage-state cache / planning /
// pass setup. The device check is in NiD3DTexturePipelineValidation.cpp, the texture effects
// and the feature report in NiD3DTexturePipelineEffects.cpp.
class NiD3DTexturePipeline
{
public:
    enum Flags : uint32_t
    {
        INDEPENDENT_UV = 0x1,
        TRILINEAR_MULTI = 0x2,
        SEPARATE_MEMORIES = 0x4,
        VERTEX_LAST = 0x8,
        SEPARATE_FILTERS = 0x10,
        SEPARATE_ADDRESSING = 0x20,
        HARDWARE = 0x40,
        CLAMP_ADDRESSING = 0x80,
        PROJECTED_TRANSFORMS = 0x100
    };

    // Bits of ComputeUnsupported.
    enum Unsupported : uint32_t
    {
        UNSUPPORTED_MULTIPASS = 0x1,
        UNSUPPORTED_MULTIPASS_ALPHA = 0x8,
        UNSUPPORTED_CLAMP = 0x10,
        UNSUPPORTED_SEPARATE_UV = 0x20,
        UNSUPPORTED_MULTIPASS_FOG = 0x40,
        UNSUPPORTED_OWNERLESS_STAGE = 0x80,
        UNSUPPORTED_STAGE_LIMIT = 0x100,
        UNSUPPORTED_PROJECTED_LIGHT = 0x200,
        UNSUPPORTED_PROJECTED_SHADOW = 0x400,
        UNSUPPORTED_ENVIRONMENT_MAP = 0x800,
        UNSUPPORTED_FOG_MAP = 0x1000,
        UNSUPPORTED_DARK_MAP = 0x2000,
        UNSUPPORTED_DETAIL_MAP = 0x4000,
        UNSUPPORTED_GLOSS_MAP = 0x8000,
        UNSUPPORTED_GLOW_OR_DECAL = 0x10000,
        UNSUPPORTED_PERSPECTIVE = 0x80000,
        UNSUPPORTED_PLANE_MASK = 0x100000
    };

    static constexpr uint32_t MAX_STAGES = 8;
    static constexpr uint32_t MAX_EFFECTS = 8;
    static constexpr uint32_t FORMAT_SLOTS = 8;
    static constexpr uint8_t SINGLE_PASS = 0x80;

    // Builds the tables and runs the device check without test draws; null when the device
    // cannot select the diffuse colour alone.
    static NiD3DTexturePipeline* Create(IDirect3DDevice7* pkDevice, const D3DDEVICEDESC7& kDesc,
                                        NiD3DRenderStateCache* pkRenderStates, NiD3DTextureCache* pkTextures,
                                        bool bHardware);
    ~NiD3DTexturePipeline();

    NiD3DTexturePipeline(const NiD3DTexturePipeline&) = delete;
    NiD3DTexturePipeline& operator=(const NiD3DTexturePipeline&) = delete;

    // The device check: with full, test draws fill the single-pass table; false only when the
    // device cannot select the diffuse colour alone.
    bool ValidateMultitexture(bool bFull);

    //--- Per object: BuildPasses, then SetupNextPass before each draw until it returns false. ---
    void BuildPasses(NiPropertyTable* pkTable, NiEffectLists* pkLists, bool bHasNormals,
                     uint32_t uiTextureSets);
    bool SetupNextPass();
    // Forgets the effect stages and the lists they came from (at each scene start).
    void ClearEffects();

    // The camera's direction, up and right axes and location, whenever the camera changes.
    void SetCameraFrame(const NiPoint3& kDirection, const NiPoint3& kUp, const NiPoint3& kRight,
                        const NiPoint3& kLocation);
    // Sphere maps from world-space reflections (true) or the fixed camera-space mapping.
    void SetSphereMapWorldSpace(bool bWorld) { m_bSphereMapWorld = bWorld; }

    // The texturing features of the table and lists this device cannot draw (Unsupported bits).
    uint32_t ComputeUnsupported(NiPropertyTable* pkTable, NiEffectLists* pkLists);

    //--- State for the renderer and tests. ---
    uint32_t GetFlags() const { return m_uiFlags; }
    uint8_t GetValidity(uint32_t uiKind, uint32_t uiFirstFormat, uint32_t uiSecondFormat) const;
    uint32_t GetPassCount() const { return m_uiTotalPasses; }
    uint32_t GetStageCount() const { return m_uiStageCount; }
    const NiD3DTextureStage* GetPlannedStage(uint32_t uiIndex) const;
    uint32_t GetPassSize(uint32_t uiPass) const { return uiPass < m_uiPassCount ? m_auiPassSize[uiPass] : 0; }
    uint32_t GetEffectStageCount() const { return m_uiEffectStages; }

    // Device values of the texture-mode enumerations; values from files outside the tables
    // take the defaults (modulate, nearest, wrap).
    static uint32_t ClampApplyMode(uint32_t uiApply);
    static uint32_t ClampFilterMode(uint32_t uiFilter);
    static uint32_t ClampAddressMode(uint32_t uiClamp);

private:
    // Indices of the cached stage states.
    enum CachedState : uint32_t
    {
        CS_COLOROP,
        CS_COLORARG1,
        CS_COLORARG2,
        CS_ALPHAOP,
        CS_ALPHAARG1,
        CS_ALPHAARG2,
        CS_TEXCOORDINDEX,
        CS_ADDRESSU,
        CS_ADDRESSV,
        CS_TRANSFORMFLAGS,
        CS_COUNT
    };

    struct StageCache
    {
        uint32_t m_auiState[CS_COUNT] = {};
        uint32_t m_uiFilter = 0;
        NiRefPtr<NiImage> m_spImage;
    };

    struct EffectList
    {
        std::array<NiD3DTextureStage, MAX_EFFECTS> m_akStages;
        uint32_t m_uiCount = 0;
    };

    NiD3DTexturePipeline(IDirect3DDevice7* pkDevice, const D3DDEVICEDESC7& kDesc,
                         NiD3DRenderStateCache* pkRenderStates, NiD3DTextureCache* pkTextures);

    //--- Tables. ---
    void BuildTables();
    void BuildBlendProperties();
    void BuildPlaneMask();
    uint8_t MultiPassCode(uint32_t uiKind) const;

    //--- Stage-state cache. ---
    void SetStageState(uint32_t uiStage, D3DTEXTURESTAGESTATETYPE eType, uint32_t uiValue);
    void ResetStageStates();
    void UnbindStage(uint32_t uiStage);
    void SetStageOps(uint32_t uiStage, uint32_t uiColorOp, uint32_t uiAlphaOp);
    void SetStage0Ops(uint32_t uiApply, bool bHasImage, bool bCarriesApply);
    void SetApplyRow(uint32_t uiStage, uint32_t uiApply, bool bCarriesApply);
    void SetTexCoord(uint32_t uiStage, const NiD3DTextureStage& kStage);
    void SetFilter(uint32_t uiStage, uint32_t uiFilter, bool bMipmapped, bool bTrilinear);
    void SetFilterStates(uint32_t uiStage, uint32_t uiMin, uint32_t uiMag, uint32_t uiMip);
    void SetAddress(uint32_t uiStage, const NiD3DTextureStage& kStage);
    // Binds the stage's texture; true when there is one. Mip-mapped tells the filter step.
    bool BindTexture(uint32_t uiStage, int32_t iMemory, const NiD3DTextureStage& kStage, bool& bMipmapped);

    //--- Planning. ---
    NiD3DTextureStage* MakeStage(NiImage* pkImage, uint32_t uiClamp, uint32_t uiFilter, uint32_t uiKind,
                                 uint32_t uiTexCoord, const void* pkOwner);
    bool AddSingle(NiD3DTextureStage* pkStage);
    bool AddPair(NiD3DTextureStage* pkFirst, NiD3DTextureStage* pkSecond);
    bool CanPair(const NiD3DTextureStage& kFirst, const NiD3DTextureStage& kSecond) const;
    uint32_t PairStages(NiD3DTextureStage* pkFirst, NiD3DTextureStage* pkSecond, bool bKeepSecondApart);
    void AddStagePair(NiD3DTextureStage* pkFirst, NiD3DTextureStage* pkSecond);
    void AddEffectPairs(EffectList& kList);
    void AddPlaneEffects(EffectList& kEffects, EffectList& kMasks);

    //--- Texture effects (NiD3DTexturePipelineEffects.cpp). ---
    void CollectEffects(NiEffectLists* pkLists);
    NiD3DTextureStage* MakeEffectStage(NiTextureEffect* pkEffect, EffectList& kList, uint32_t uiKind);
    bool GenerateCoordinates(const NiTextureEffect& kEffect, NiD3DTextureStage& kStage) const;
    void MakePlaneMask(const NiTextureEffect& kEffect, bool bShadow, NiD3DTextureStage& kMask) const;
    void WorldProjection(const NiTextureEffect& kEffect, D3DMATRIX& kTransform) const;
    static bool InList(const NiD3DTextureStage& kStage, const EffectList& kList);
    bool IsEffectStage(const NiD3DTextureStage& kStage) const;

    //--- Device check (NiD3DTexturePipelineValidation.cpp). ---
    void DrawTestTriangles();
    bool ValidatesInOnePass();

    IDirect3DDevice7* m_pkDevice;
    D3DDEVICEDESC7 m_kDesc;
    uint32_t m_uiFlags = TRILINEAR_MULTI | SEPARATE_FILTERS | SEPARATE_ADDRESSING;
    uint32_t m_uiApplyMode = 0;
    bool m_bObjectApply = false;

    uint32_t m_auiFilterTable[6][3] = {};
    uint32_t m_auiApplyTable[6][2] = {};
    uint32_t m_auiKindOp[NiD3DTextureStage::BLEND_KIND_COUNT] = {};

    StageCache m_akStageCache[3];
    NiRefPtr<NiD3DRenderStateCache> m_spRenderStates;
    NiRefPtr<NiD3DTextureCache> m_spTextures;
    NiRefPtr<NiAlphaProperty> m_aspBlend[NiD3DTextureStage::BLEND_KIND_COUNT];

    uint32_t m_uiStageLimit = MAX_STAGES;
    uint32_t m_uiProjectedFlags = D3DTTFF_COUNT2;
    uint8_t m_aaaucValidity[NiD3DTextureStage::BLEND_KIND_COUNT][FORMAT_SLOTS][FORMAT_SLOTS] = {};

    NiD3DTextureStage* m_apkPlan[MAX_STAGES] = {};
    uint32_t m_auiPassSize[MAX_STAGES] = {};
    uint32_t m_uiStageCount = 0;
    uint32_t m_uiNextStage = 0;
    uint32_t m_uiPassCount = 0;
    uint32_t m_uiPassesSetUp = 0;
    uint32_t m_uiTotalPasses = 0;

    NiD3DTextureStage m_kUntextured;
    std::array<NiD3DTextureStage, MAX_STAGES> m_akInternal;
    uint32_t m_uiInternalCount = 0;

    EffectList m_kProjectedLights;
    EffectList m_kPlaneLights;
    EffectList m_kLightMasks;
    EffectList m_kProjectedShadows;
    EffectList m_kPlaneShadows;
    EffectList m_kShadowMasks;
    NiD3DTextureStage m_kEnvironment;
    NiD3DTextureStage m_kFog;
    bool m_bEnvironment = false;
    bool m_bFogMap = false;
    uint32_t m_uiEffectStages = 0;

    NiRefPtr<NiImage> m_spPlaneMask;
    uint32_t m_uiPlaneMaskFormat = NiD3DTextureStage::NO_FORMAT;
    // Maps the device's camera space (x right, y up, z forward) to world space.
    NiRotationMatrix m_kCameraRotation = NiRotationMatrix::IDENTITY;
    NiPoint3 m_kCameraLocation = NiPoint3::ZERO;
    bool m_bSphereMapWorld = false;
    NiRefPtr<NiEffectLists> m_spLastLists;
    bool m_bEffectsCollected = false;
};
