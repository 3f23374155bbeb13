#pragma once

#include "scene/graph/NiAccumulator.h"
#include "scene/object/NiFrustum.h"
#include "scene/object/NiObject.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiRect.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiRotationMatrix.h"

#include <cstdint>

class NiAccumulatorEntry;
class NiAVObject;
class NiBoundingSphere;
class NiCamera;
class NiColor;
class NiColorA;
class NiDynamicEffect;
class NiEffectLists;
class NiGeometryData;
class NiImage;
class NiLinesData;
class NiParticlesData;
class NiPlane;
class NiPropertyTable;
class NiTexCoord;
class NiTriShapeData;
class NiTrianglesData;
class NiTriStripData;
class NiTriStripsData;

// The abstract renderer through which the scene graph draws. The camera drives a frame through
// it, geometry hands it its data, accumulators hold objects back for a sorted second pass. It
// keeps the drawing state the current object installed before its draw call (accumulator,
// property table, effect lists), and every live renderer is on one process-wide list so that an
// effect or geometry data object that goes away is purged from all of them.
//
// Contents: drawing state / the live-renderer list and purges / the renderer operations (in
// their fixed order: device and validation, frame and buffers, textures, scene and transforms,
// draws, clipping and images).
class NiRender : public NiObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    // Clear flags of ClearViewport.
    enum ClearFlags : uint32_t
    {
        CLEAR_BACKBUFFER = 1,
        CLEAR_STENCIL = 2,
        CLEAR_ZBUFFER = 4,
        CLEAR_ALL = 7
    };
    // Renderer flag: the depth buffer has stencil bits.
    static constexpr uint32_t FLAG_STENCIL = 0x80;
    // What the base validation answers: nothing can be validated.
    static constexpr uint32_t UNVALIDATED_MASK = 0x00800000;

    ~NiRender() override;

    //--- Drawing state, set by the camera, geometry and screen polygons before they draw. ---
    void SetAccumulator(NiAccumulator* pkAccumulator) { m_spAccumulator = pkAccumulator; }
    NiAccumulator* GetAccumulator() const { return m_spAccumulator; }
    void SetCurrentPropertyTable(NiPropertyTable* pkTable);
    NiPropertyTable* GetCurrentPropertyTable() const;
    void SetCurrentEffectLists(NiEffectLists* pkLists);
    NiEffectLists* GetCurrentEffectLists() const;

    // True when an accumulator is installed and keeps the object (anything that draws itself:
    // geometry, Bezier patches); its draw then stops.
    bool AccumulateObject(NiAVObject* pkObject);
    // Draws one object an accumulator held back, with its own table and lists installed and no
    // accumulator; the renderer's state is as before afterwards.
    void DrawQueuedObject(NiCamera* pkCamera, NiAccumulatorEntry* pkEntry);
    // Window pixel to screen fractions, (0, 0) at the bottom left; false for an empty screen.
    bool MapWindowPoint(uint32_t uiX, uint32_t uiY, float& fU, float& fV);

    //--- Live renderers, in construction order. ---
    static void PurgeEffectFromAll(NiDynamicEffect* pkEffect);
    static void PurgeGeometryDataFromAll(NiGeometryData* pkData);
    static uint32_t GetLiveRendererCount();

    //--- Device and validation. ---
    virtual const char* GetDriverDescription() const = 0;
    virtual uint32_t GetRendererFlags() const = 0;
    virtual bool IsTextureFormatSupported(uint32_t uiFormat) const = 0;
    // A mask of the parts of the state the device cannot draw; 0 when it can draw all.
    virtual uint32_t ValidatePropertyState(NiPropertyTable* pkTable, NiEffectLists* pkLists);
    virtual uint32_t ValidateRenderStates(NiPropertyTable* pkTable);

    //--- Frame and buffers. ---
    virtual bool PresentFrame() = 0;
    // The rectangle is a viewport in screen fractions; none clears the whole screen.
    virtual bool ClearViewport(const NiRect<float>* pkPort, uint32_t uiFlags) = 0;
    virtual uint32_t GetScreenWidth() const = 0;
    virtual uint32_t GetScreenHeight() const = 0;
    virtual uint32_t GetColorDepth() const = 0;
    // 1 the back buffer, 2 the front buffer (the back buffer when there is none); else none.
    virtual NiImage* GetBuffer(uint32_t uiWhich) = 0;
    virtual bool BlitImage(NiImage* pkImage, const NiRect<uint32_t>* pkSource, uint32_t uiX, uint32_t uiY,
                           bool bColorKey) = 0;
    virtual bool SetBackgroundColor(const NiColor& kColor) = 0;
    virtual void SetBackgroundStencil(uint32_t uiStencil);
    virtual float GetFogDepth() const;
    virtual void SetFogDepth(float fDepth);

    //--- Textures. ---
    virtual bool PrecacheTexture(NiImage* pkImage, bool bAllowEviction, bool bLock) = 0;
    virtual bool PurgeAllTextures(bool bIncludeLocked) = 0;
    virtual bool PurgeTexture(NiImage* pkImage) = 0;
    // False, with both outputs 0, when the device cannot tell.
    virtual bool GetTextureMemory(uint32_t& uiTotal, uint32_t& uiFree);
    // Live textures, textures used this frame, (unused), entry changes this frame, and the
    // texture cache's extra frame counter.
    virtual bool GetTextureStats(uint32_t& uiLive, uint32_t& uiUsedThisFrame, uint32_t& uiUnused,
                                 uint32_t& uiChangesThisFrame, uint32_t& uiFrameCounter);
    virtual uint32_t GetTextureEvents();
    virtual bool SetTextureSkipLevels(uint32_t uiLevels) = 0;
    virtual uint32_t GetTextureSkipLevels() const = 0;
    virtual void SetMaxTextureSize(uint32_t uiSize);
    virtual void GetMaxTextureSize(uint32_t& uiWidth, uint32_t& uiHeight) const;

    //--- Scene and transforms. ---
    virtual bool OpenScene(NiCamera* pkCamera);
    virtual void CloseScene();
    // Forgets device state made for the effect.
    virtual void PurgeEffect(NiDynamicEffect* pkEffect);
    virtual bool SetCameraFrame(const NiPoint3& kLocation, const NiPoint3& kDirection, const NiPoint3& kUp,
                                const NiPoint3& kRight, const NiFrustum& kFrustum,
                                const NiRect<float>& kPort) = 0;
    // Model to world: p -> scale (rotation p) + translation.
    virtual void SetObjectTransform(const NiPoint3& kTranslate, const NiRotationMatrix& kRotate,
                                    float fScale) = 0;
    // Mode 0: the projection of screen polygons. Drops the current effect lists.
    virtual bool SetProjectionMode(int32_t iMode);
    virtual void RestoreProjection() = 0;

    //--- Draws. ---
    virtual void DrawTriShape(NiTriShapeData* pkData, const NiBoundingSphere& kWorldBound) = 0;
    virtual void DrawTriangles(NiTrianglesData* pkData, const NiBoundingSphere& kWorldBound) = 0;
    virtual void DrawTriStrip(NiTriStripData* pkData, const NiBoundingSphere& kWorldBound) = 0;
    virtual void DrawTriStrips(NiTriStripsData* pkData, const NiBoundingSphere& kWorldBound) = 0;
    virtual void DrawParticles(NiParticlesData* pkData, const NiBoundingSphere& kWorldBound) = 0;
    virtual void DrawLines(NiLinesData* pkData, const NiBoundingSphere& kWorldBound) = 0;
    // Vertices are viewport fractions in x and y and depth fractions in z; the texture
    // coordinates and colours may be none.
    virtual void DrawScreenPolygon(uint16_t usVertices, const NiPoint3* pkVertex, const NiTexCoord* pkTexture,
                                   const NiColorA* pkColor) = 0;

    //--- Clipping, images, geometry data. ---
    // The still-active planes, how many of them are frustum planes, and those planes' mask.
    virtual bool SetClipPlanes(const NiPlane* const* ppkPlanes, uint32_t uiCount, uint32_t uiFrustumCount,
                               uint32_t uiFrustumMask) = 0;
    // Whether this renderer can make its device copy of a new image.
    virtual bool PrepareImage(NiImage* pkImage);
    // Forgets device buffers made for the data.
    virtual void PurgeGeometryData(NiGeometryData* pkData);

    NiObject* MakeClone() override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    NiRender();

private:
    NiRefPtr<NiAccumulator> m_spAccumulator;
    NiRefPtr<NiPropertyTable> m_spCurrentTable;
    NiRefPtr<NiEffectLists> m_spCurrentLists;
};
