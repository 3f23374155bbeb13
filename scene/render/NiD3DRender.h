#pragma once

#include "platform/d3d7/D3DTypes.h"
#include "scene/graph/NiRender.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

class IDirect3D7;
class IDirect3DDevice7;
class IDirect3DVertexBuffer7;
class IDirectDraw7;
class IDirectDrawSurface7;
class NiD3DDriverRecord;
class NiD3DFramebuffer;
class NiD3DGeometryBufferMap;
class NiD3DLightCache;
class NiD3DRenderStateCache;
class NiD3DTextureCache;
class NiD3DTexturePipeline;
class NiD3DVertexBufferCache;
class NiRawImageData;

// The renderer on DirectDraw 7 and Direct3D 7: it owns the Direct3D interface and device, the
// framebuffers it renders into (slot 0 made at creation, further offscreen render targets), the
// vertex buffers that mirror the scene's geometry data, and five managers (render states, texture
// stages, lights, textures, dynamic vertex buffers). The camera drives it once per frame.
//
// Contents: creation / the renderer operations (device, frame and buffers, textures, scene and
// transforms, draws, clipping and images) / render targets / driver list / recovery.
// Implemented by responsibility: NiD3DRender.cpp (creation and shut-down, render targets, drivers),
// NiD3DRenderFrame.cpp (frame and camera), NiD3DRenderDraw.cpp (draws) and NiD3DRenderImages.cpp
// (images, textures and screenshots).
//
// Failures are logged (D3DLog) and answered by false or null results.
class NiD3DRender : public NiRender
{
    NiDeclareRTTI;

public:
    // Renderer flags.
    enum Flags : uint32_t
    {
        FLAG_CREATED = 0x001,
        FLAG_SQUARE_TEXTURES = 0x002,
        FLAG_INITIALISED = 0x004,
        FLAG_HARDWARE = 0x008,
        FLAG_ALPHA_BLENDING = 0x040,
        FLAG_STENCIL_BUFFER = 0x080,
        FLAG_TRUE_COLOR = 0x100,
        FLAG_W_BUFFER = 0x200
    };
    // Creation flags.
    enum CreationFlags : uint32_t
    {
        CREATE_ZBUFFER = 0x01,
        CREATE_DEEP_ZBUFFER = 0x02,
        CREATE_STENCIL = 0x04,
        CREATE_32_BIT_FULLSCREEN = 0x10,
        CREATE_TRIPLE_BUFFER = 0x20,
        CREATE_NO_MULTITEXTURE = 0x40
    };
    // Z-format candidates.
    enum ZCandidate : uint32_t
    {
        Z_SHALLOW = 0,
        Z_DEEP = 1,
        Z_STENCIL = 2
    };

    //--- Creation: a renderer (count 0) or null, every step logged. Kind 1 is fullscreen, any
    // other kind windowed; width and height are the fullscreen mode; a null top window is the
    // window; a null driver takes the default for the kind, else the software driver. ---
    static NiD3DRender* Create(int32_t iKind, uint32_t uiWidth, uint32_t uiHeight, uint32_t uiFlags,
                               HWND hWindow, HWND hTopWindow, const NiD3DDriverRecord* pkDriver);
    static NiD3DRender* CreateFromBuffers(int32_t iKind, uint32_t uiFlags, HWND hWindow,
                                          IDirectDraw7* pkDirectDraw, IDirectDrawSurface7* pkFront,
                                          IDirectDrawSurface7* pkBack, const NiD3DDriverRecord* pkDriver);
    // Makes NiImage create device images and read image files, and lets the texture caches
    // reach the images' surfaces (what creation does too); Remove undoes it.
    static void InstallImageFactory();
    static void RemoveImageFactory();
    ~NiD3DRender() override;

    //--- Device and validation. ---
    const char* GetDriverDescription() const override;
    uint32_t GetRendererFlags() const override { return m_uiFlags; }
    bool IsTextureFormatSupported(uint32_t uiFormat) const override;
    uint32_t ValidatePropertyState(NiPropertyTable* pkTable, NiEffectLists* pkLists) override;
    uint32_t ValidateRenderStates(NiPropertyTable* pkTable) override;

    //--- Frame and buffers. ---
    bool PresentFrame() override;
    bool ClearViewport(const NiRect<float>* pkPort, uint32_t uiFlags) override;
    uint32_t GetScreenWidth() const override;
    uint32_t GetScreenHeight() const override;
    uint32_t GetColorDepth() const override;
    NiImage* GetBuffer(uint32_t uiWhich) override;
    bool BlitImage(NiImage* pkImage, const NiRect<uint32_t>* pkSource, uint32_t uiX, uint32_t uiY,
                   bool bColorKey) override;
    bool SetBackgroundColor(const NiColor& kColor) override;
    void SetBackgroundStencil(uint32_t uiStencil) override { m_uiBackgroundStencil = uiStencil; }
    float GetFogDepth() const override;
    void SetFogDepth(float fDepth) override;
    // A new raw image (count 0) of the frame last rendered, or null.
    NiRawImageData* GetFrontBufferImage();

    //--- Textures. ---
    bool PrecacheTexture(NiImage* pkImage, bool bAllowEviction, bool bLock) override;
    bool PurgeAllTextures(bool bIncludeLocked) override;
    bool PurgeTexture(NiImage* pkImage) override;
    bool GetTextureMemory(uint32_t& uiTotal, uint32_t& uiFree) override;
    bool GetTextureStats(uint32_t& uiLive, uint32_t& uiUsedThisFrame, uint32_t& uiUnused,
                         uint32_t& uiChangesThisFrame, uint32_t& uiFrameCounter) override;
    uint32_t GetTextureEvents() override;
    bool SetTextureSkipLevels(uint32_t uiLevels) override;
    uint32_t GetTextureSkipLevels() const override;
    void SetMaxTextureSize(uint32_t uiSize) override;
    void GetMaxTextureSize(uint32_t& uiWidth, uint32_t& uiHeight) const override;

    //--- Scene and transforms. ---
    bool OpenScene(NiCamera* pkCamera) override;
    void CloseScene() override;
    void PurgeEffect(NiDynamicEffect* pkEffect) override;
    bool SetCameraFrame(const NiPoint3& kLocation, const NiPoint3& kDirection, const NiPoint3& kUp,
                        const NiPoint3& kRight, const NiFrustum& kFrustum,
                        const NiRect<float>& kPort) override;
    void SetObjectTransform(const NiPoint3& kTranslate, const NiRotationMatrix& kRotate,
                            float fScale) override;
    bool SetProjectionMode(int32_t iMode) override;
    void RestoreProjection() override;

    //--- Draws (only inside a scene). ---
    void DrawTriShape(NiTriShapeData* pkData, const NiBoundingSphere& kWorldBound) override;
    void DrawTriangles(NiTrianglesData* pkData, const NiBoundingSphere& kWorldBound) override;
    void DrawTriStrip(NiTriStripData* pkData, const NiBoundingSphere& kWorldBound) override;
    void DrawTriStrips(NiTriStripsData* pkData, const NiBoundingSphere& kWorldBound) override;
    void DrawParticles(NiParticlesData* pkData, const NiBoundingSphere& kWorldBound) override;
    void DrawLines(NiLinesData* pkData, const NiBoundingSphere& kWorldBound) override;
    void DrawScreenPolygon(uint16_t usVertices, const NiPoint3* pkVertex, const NiTexCoord* pkTexture,
                           const NiColorA* pkColor) override;

    //--- Clipping, images, geometry data. ---
    bool SetClipPlanes(const NiPlane* const* ppkPlanes, uint32_t uiCount, uint32_t uiFrustumCount,
                       uint32_t uiFrustumMask) override;
    bool PrepareImage(NiImage* pkImage) override;
    void PurgeGeometryData(NiGeometryData* pkData) override;

    NiObject* MakeClone() override { return this; }

    //--- Render targets: slot 0 is the framebuffer made at creation. ---
    // An offscreen target sharing the device (with a z-buffer like slot 0's); its slot, or 0.
    uint32_t AddRenderTarget(uint32_t uiWidth, uint32_t uiHeight);
    uint32_t AddRenderTargetFromSurface(IDirectDrawSurface7* pkSurface);
    void RemoveRenderTarget(uint32_t uiIndex);
    bool SelectRenderTarget(uint32_t uiIndex);
    NiD3DFramebuffer* GetFramebuffer(uint32_t uiIndex) const;

    void SetAntialiasing(bool bOn);
    void SetWBuffering(bool bOn);
    void SetEnvironmentMapMode(bool bWorld);

    //--- Device access. ---
    IDirectDraw7* GetDirectDraw() const;
    const NiD3DDriverRecord* GetDriverRecord() const;
    IDirect3DDevice7* GetD3DDevice() const { return m_pkDevice; }
    // The vertex buffer of geometry data (not counted), built or refilled as needed.
    IDirect3DVertexBuffer7* GetGeometryBuffer(NiGeometryData* pkData, bool bOptimize);
    uint32_t GetGeometryBufferCount() const;
    const D3DMATRIX& GetViewMatrix() const { return m_kView; }
    const D3DMATRIX& GetProjectionMatrix() const { return m_kProjection; }
    const D3DVIEWPORT7& GetViewport() const { return m_kViewport; }
    uint32_t GetBackgroundColor() const { return m_uiBackgroundColor; }
    bool IsInScene() const { return m_bInScene; }
    const DDPIXELFORMAT& GetZBufferFormat() const { return m_kZBufferFormat; }
    const DDPIXELFORMAT& GetZCandidate(ZCandidate eCandidate) const { return m_akZCandidates[eCandidate]; }

    //--- Drivers of the machine. ---
    static const std::list<NiD3DDriverRecord>& GetDriverList();
    static const NiD3DDriverRecord* GetDefaultWindowedDriver();
    static const NiD3DDriverRecord* GetDefaultFullscreenDriver();
    static const NiD3DDriverRecord* GetSoftwareDriver();
    static uint32_t CheckDriverModes(IDirectDraw7* pkDirectDraw, uint32_t uiMode,
                                     IDirectDrawSurface7* pkSurface, uint32_t uiFlag, uint32_t uiDeviceKind,
                                     NiD3DDriverRecord& kRecord);

    // Clears the three z-format candidates and fills them from the device type's z formats.
    void EnumerateZBufferFormats(const IID& kDeviceType);
    static bool HasRequiredCaps(const D3DDEVICEDESC7& kDesc);
    // Restores lost surfaces (true when nothing was lost or all came back).
    bool RestoreLostSurfaces();

private:
    NiD3DRender();

    static NiD3DRender* CreateRenderer(const char* pcAttempt, int32_t iKind, uint32_t uiWidth,
                                       uint32_t uiHeight, uint32_t uiFlags, HWND hWindow, HWND hTopWindow,
                                       IDirectDraw7* pkDirectDraw, IDirectDrawSurface7* pkFront,
                                       IDirectDrawSurface7* pkBack, const NiD3DDriverRecord* pkDriver);
    // The device steps after the framebuffer: z-buffer, device, caps, managers, flags.
    bool InitialiseDevice(uint32_t uiFlags);
    bool CreateDeviceWithZBuffer(uint32_t uiFlags);
    void SetDefaultCameraFrame();
    void ReleaseGeometryBuffers();
    // The first free render-target slot after 0 (a new one when none is free) given to the target.
    uint32_t TakeSlot(NiD3DFramebuffer* pkTarget);

    // The common draw step of every geometry kind.
    void ApplyObjectState(bool bHasNormals, uint32_t uiTextureSets);
    void DrawPrimitive(D3DPRIMITIVETYPE eType, uint32_t uiVertices, uint16_t* pusIndices, uint32_t uiIndices,
                       NiGeometryData* pkData, IDirect3DVertexBuffer7* pkBuffer, uint32_t uiTextureSets,
                       bool bHasNormals);

    IDirect3D7* m_pkDirect3D = nullptr;
    IDirect3DDevice7* m_pkDevice = nullptr;
    std::vector<NiD3DFramebuffer*> m_kFramebuffers; // one reference each
    NiD3DFramebuffer* m_pkCurrentFramebuffer = nullptr;
    DDPIXELFORMAT m_akZCandidates[3];
    DDPIXELFORMAT m_kZBufferFormat;
    NiRefPtr<NiD3DRenderStateCache> m_spRenderStates;
    std::unique_ptr<NiD3DTexturePipeline> m_pkTexturePipeline;
    std::unique_ptr<NiD3DLightCache> m_pkLights;
    NiRefPtr<NiD3DTextureCache> m_spTextures;
    std::unique_ptr<NiD3DVertexBufferCache> m_pkVertexBuffers;
    std::unique_ptr<NiD3DGeometryBufferMap> m_pkGeometryBuffers;
    NiPoint3 m_kCameraRight{1.0f, 0.0f, 0.0f};
    NiPoint3 m_kCameraUp{0.0f, 1.0f, 0.0f};
    NiPoint3 m_kModelRight{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kModelUp{0.0f, 0.0f, 0.0f};
    float m_fNear = 0.1f;
    float m_fDepthRange = 100.0f;
    D3DMATRIX m_kView;
    D3DMATRIX m_kProjection;
    D3DMATRIX m_kScreenProjection0;
    D3DMATRIX m_kIdentity;
    D3DMATRIX m_kScreenProjection1;
    D3DVIEWPORT7 m_kViewport{0, 0, 1, 1, 0.0f, 1.0f};
    uint32_t m_uiBackgroundColor = 0;
    uint32_t m_uiBackgroundStencil = 0;
    uint32_t m_uiFlags = 0;
    bool m_bInScene = false;
};
