#pragma once

#include "platform/d3d7/IDirect3DDevice7.h"
#include "scene/render/NiD3DMaterialCache.h"

#include <cstdint>

class NiAlphaProperty;
class NiCorrectionProperty;
class NiDitherProperty;
class NiFogProperty;
class NiMaterialProperty;
class NiPropertyTable;
class NiShadeProperty;
class NiSpecularProperty;
class NiStencilProperty;
class NiTransparentProperty;
class NiWireframeProperty;
class NiZBufferProperty;

// The device's render states as the scene's render-state properties ask for them. Every value
// the device was given is remembered, and ApplyProperties sends only what differs for the next
// object. The cache also maps the properties' enumerations to device values, knows from the
// caps which blend factors the device takes, keeps the camera's fog range, switches normal
// renormalisation by object scale and owns the material cache.
//
// Counted: the renderer and its texture pipeline each hold a reference (NiRefPtr); Create hands
// out the cache with count 0.
class NiD3DRenderStateCache
{
public:
    enum Flags : uint32_t
    {
        PER_PIXEL_FOG = 0x1,
        HARDWARE = 0x2,
        HAS_STENCIL = 0x4,
        HAS_ZBUFFER = 0x8,
        CAN_WBUFFER = 0x10
    };

    // Bits of ComputeUnsupported.
    enum Unsupported : uint32_t
    {
        UNSUPPORTED_BLEND = 0x2,
        UNSUPPORTED_APPLY = 0x4,
        UNSUPPORTED_STENCIL = 0x200000
    };

    // Sends the start values of every state it caches.
    static NiD3DRenderStateCache* Create(IDirect3DDevice7* pkDevice, const D3DDEVICEDESC7& kDesc,
                                         bool bHardware, bool bZBuffer, bool bStencil);

    NiD3DRenderStateCache(const NiD3DRenderStateCache&) = delete;
    NiD3DRenderStateCache& operator=(const NiD3DRenderStateCache&) = delete;

    void IncRef() { ++m_iRefCount; }
    int32_t DecRef();
    int32_t GetRefCount() const { return m_iRefCount; }

    //--- Per object: the renderer applies the property table before each draw. ---
    void ApplyProperties(NiPropertyTable* pkTable);
    // The alpha step alone; the texture pipeline blends its extra passes through it.
    void SetAlpha(NiAlphaProperty* pkAlpha);
    void SetMaterial(NiMaterialProperty* pkMaterial);
    // Forgets the alpha and fog property last applied (at each scene start).
    void ResetPropertyCache();
    // Renormalises normals when the object's scale is outside [0.99, 1.01].
    void SetScale(float fScale);

    //--- The single property steps ApplyProperties runs. ---
    void SetWireframe(NiWireframeProperty* pkWireframe);
    void SetCorrection(NiCorrectionProperty* pkCorrection);
    void SetShade(NiShadeProperty* pkShade);
    void SetTransparent(NiTransparentProperty* pkTransparent);
    void SetZBuffer(NiZBufferProperty* pkZBuffer);
    void SetFog(NiFogProperty* pkFog);
    void SetFogColor(NiFogProperty* pkFog);
    void SetDither(NiDitherProperty* pkDither);
    void SetSpecular(NiSpecularProperty* pkSpecular);
    void SetStencil(NiStencilProperty* pkStencil);

    //--- Camera and renderer settings. ---
    void SetFogRange(float fNear, float fFar);
    // A depth not above 0 becomes 0.00001.
    void SetFogDepth(float fDepth);
    float GetFogDepth() const { return m_fFogDepth; }
    void SetAntialias(bool bOn);
    void SetWBuffer(bool bOn);

    // The features of the table this device cannot draw (Unsupported bits).
    uint32_t ComputeUnsupported(NiPropertyTable* pkTable) const;

    //--- What the texture pipeline asks. ---
    uint32_t GetFlags() const { return m_uiFlags; }
    uint32_t GetSrcBlendMask() const { return m_uiSrcBlendMask; }
    uint32_t GetDestBlendMask() const { return m_uiDestBlendMask; }
    // Whether the device takes the two alpha-property factors as source and destination.
    bool IsBlendSupported(uint32_t uiSrcFactor, uint32_t uiDestFactor) const;
    NiD3DMaterialCache& GetMaterialCache() { return m_kMaterials; }

    // The device value of an alpha-property factor (11-15 are not factors: ONE as a source,
    // ZERO as a destination), of an alpha-test function, a stencil test and a stencil action
    // (values from files outside the tables: ALWAYS and KEEP).
    static uint32_t SrcBlendValue(uint32_t uiFactor);
    static uint32_t DestBlendValue(uint32_t uiFactor);
    static uint32_t AlphaTestValue(uint32_t uiFunction);
    static uint32_t StencilTestValue(uint32_t uiTest);
    static uint32_t StencilActionValue(uint32_t uiAction);

private:
    NiD3DRenderStateCache(IDirect3DDevice7* pkDevice, const D3DDEVICEDESC7& kDesc);
    ~NiD3DRenderStateCache();

    void CheckCaps();
    void SetInitialStates();
    void Send(D3DRENDERSTATETYPE eState, uint32_t uiValue);
    void SendFloat(D3DRENDERSTATETYPE eState, float fValue);
    // Sends a boolean state when it differs from the cached one.
    void SendBool(D3DRENDERSTATETYPE eState, bool bOn, bool& bCached);
    // Sends a value when it differs from the cached one.
    void SendValue(D3DRENDERSTATETYPE eState, uint32_t uiValue, uint32_t& uiCached);

    int32_t m_iRefCount = 0;
    IDirect3DDevice7* m_pkDevice;
    D3DDEVICEDESC7 m_kDesc;
    uint32_t m_uiFlags = 0;

    uint32_t m_uiSrcBlendMask = 0;
    uint32_t m_uiDestBlendMask = 0;

    uint32_t m_uiSrcBlend = 0;
    uint32_t m_uiDestBlend = 0;
    uint32_t m_uiAlphaFunc = 0;
    uint32_t m_uiAlphaRef = 0;
    NiAlphaProperty* m_pkLastAlpha = nullptr;

    uint32_t m_uiFogColor = 0;
    float m_fFogStart = -1.0f;
    float m_fFogEnd = -1.0f;
    float m_fNear = 0.0f;
    float m_fFar = 0.0f;
    float m_fRange = 0.0f;
    float m_fFogEndFactor = 0.0f;
    float m_fFogDepth = 1.0f;
    bool m_bFog = false;
    bool m_bRangeFog = false;
    NiFogProperty* m_pkLastFog = nullptr;

    bool m_bPerspective = true;
    bool m_bDither = false;
    bool m_bGouraud = true;
    bool m_bSpecular = false;
    bool m_bStencil = false;
    bool m_bColorKey = false;
    bool m_bWireframe = false;
    bool m_bZWrite = false;
    bool m_bZTest = false;
    bool m_bAlphaBlend = false;
    bool m_bAlphaTest = false;

    NiD3DMaterialCache m_kMaterials;
    bool m_bNormalize = false;
};
