#pragma once

#include "scene/graph/NiAVObject.h"
#include "scene/graph/NiScreenPolygon.h"
#include "scene/object/NiFrustum.h"
#include "scene/object/NiGrowArray.h"
#include "scene/object/NiPlane.h"
#include "scene/object/NiRect.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>
#include <vector>

class NiAccumulatorEntry;
class NiRender;

// What a camera loader keeps between LoadBinary and ResolveLinks.
class NiCameraLinkRecord : public NiAVObjectLinkRecord
{
public:
    uint32_t m_uiSceneID = 0;
    uint32_t m_uiRendererID = 0;
    std::vector<uint32_t> m_kScreenPolygonIDs;
};

// A scene object that looks into a scene and draws it through a renderer. It looks along its
// local x axis (up is local y, right is local z); from its world transform it derives the view
// frame, six world clipping planes that point into the view volume, and a projection that
// turns world points into screen fractions for screen-space boxes.
//
// A frame is Clear, Render, PresentFrame. Render culls and draws the scene root through the
// renderer's accumulator. The camera also turns a window point into a pick ray, aims itself at
// a point, and fits its near and far distances around a sphere.
//
// Contents: frame / scene and renderer / frustum and viewport / culling planes / accumulator
// entries / rays and projections / aiming / stream and clone.
class NiCamera : public NiAVObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiCameraLinkRecord;

    // Plane indices.
    enum PlaneIndex : uint32_t
    {
        NEAR_PLANE = 0,
        FAR_PLANE = 1,
        LEFT_PLANE = 2,
        RIGHT_PLANE = 3,
        TOP_PLANE = 4,
        BOTTOM_PLANE = 5,
        FRUSTUM_PLANES = 6
    };
    // The active-plane mask has room for this many planes.
    static constexpr uint32_t MAX_PLANES = 128;
    static constexpr uint32_t MASK_WORDS = MAX_PLANES / 32;
    // FitNearAndFar's limits: the smallest near distance and the largest far-to-near ratio.
    static constexpr float MIN_NEAR_DISTANCE = 0.1f;
    static constexpr float MAX_FAR_NEAR_RATIO = 10000.0f;

    NiCamera();
    ~NiCamera() override;

    //--- Frame: each does nothing (or answers false) without a renderer. ---
    // Clears the viewport: 1 colour, 2 stencil, 4 depth.
    bool Clear(uint32_t uiFlags);
    // Camera data to the renderer, then the culled draw of the scene with the renderer's
    // accumulator, then the screen polygons.
    void Render();
    bool PresentFrame();

    //--- Scene and renderer. ---
    void SetScene(NiAVObject* pkScene) { m_spScene = pkScene; }
    NiAVObject* GetScene() const { return m_spScene; }
    void SetRenderer(NiRender* pkRenderer);
    NiRender* GetRenderer() const { return m_spRenderer; }
    // Screen polygons are drawn over the scene, in order; they are saved and cloned with the
    // camera. A link to an object of another class loads as an empty slot.
    void AddScreenPolygon(NiScreenPolygon* pkPolygon);
    uint32_t GetScreenPolygonCount() const { return m_kScreenPolygons.GetSize(); }
    NiScreenPolygon* GetScreenPolygonAt(uint32_t uiIndex) const;

    //--- Frustum, viewport, level of detail. A new frustum refreshes planes and projection. ---
    void SetFrustum(const NiFrustum& kFrustum);
    const NiFrustum& GetFrustum() const { return m_frustum; }
    void SetViewPort(const NiRect<float>& kPort) { m_port = kPort; }
    const NiRect<float>& GetViewPort() const { return m_port; }
    void SetLODAdjust(float fAdjust) { m_fLODAdjust = fAdjust; }
    float GetLODAdjust() const { return m_fLODAdjust; }

    // The view frame, valid after a world-transform update.
    const NiPoint3& GetWorldLocation() const { return m_wLoc; }
    const NiPoint3& GetWorldDirection() const { return m_wDir; }
    const NiPoint3& GetWorldUpVector() const { return m_wUp; }
    const NiPoint3& GetWorldRightVector() const { return m_wRight; }

    //--- Culling planes. A set bit i in the active-plane mask means plane i needs no test for
    // the object being drawn (an ancestor's bound lies wholly inside it). ---
    uint32_t GetPlaneCount() const { return m_uiPlaneCount; }
    const NiPlane& GetPlane(uint32_t uiIndex) const { return *m_kPlanes.GetAt(uiIndex); }
    bool IsPlaneActive(uint32_t uiIndex) const;
    void SetPlaneActive(uint32_t uiIndex, bool bActive);
    uint32_t* GetActivePlaneMask() { return m_auiActivePlanes; }
    const uint32_t* GetActivePlaneMask() const { return m_auiActivePlanes; }
    // Hands the planes not marked in the mask to the renderer.
    bool SetRendererClipPlanes();
    // Plane builders with value in place of the frustum value; the side planes run through the
    // camera's location.
    void MakeNearPlane(float fValue, NiPlane& kPlane) const;
    void MakeFarPlane(float fValue, NiPlane& kPlane) const;
    void MakeLeftPlane(float fValue, NiPlane& kPlane) const;
    void MakeRightPlane(float fValue, NiPlane& kPlane) const;
    void MakeTopPlane(float fValue, NiPlane& kPlane) const;
    void MakeBottomPlane(float fValue, NiPlane& kPlane) const;

    //--- Accumulator entries: the object with the current mask, drawn later with that mask. ---
    NiAccumulatorEntry* CreateAccumulatorEntry(NiAVObject* pkObject);
    void DrawAccumulatorEntry(NiAccumulatorEntry* pkEntry);

    //--- Rays and projections. ---
    // The ray through a window pixel; false without a renderer or outside the viewport.
    bool RayFromWindowPoint(uint32_t uiX, uint32_t uiY, NiPoint3& kOrigin, NiPoint3& kDirection) const;
    // The ray through a point of the view plane at distance 1.
    bool RayFromFrustumPoint(float fX, float fY, NiPoint3& kOrigin, NiPoint3& kDirection) const;
    // Screen fractions to the view plane; false outside the viewport (the outputs are written).
    bool ViewportToFrustum(float fU, float fV, float& fX, float& fY) const;
    // A world point to screen fractions; false behind the camera or outside the frustum's sides.
    bool WorldPointToViewport(const NiPoint3& kPoint, float& fX, float& fY) const;
    // The sphere's radius on the view plane, scaled by the two projection scales.
    void GetScreenRadius(const NiBoundingSphere& kSphere, float& fX, float& fY) const;
    // The sphere's box in projected space: x and y from -1 to 1, z from 0 at near to 1 at far.
    void GetSphereScreenBox(const NiBoundingSphere& kSphere, NiPoint3& kMin, NiPoint3& kMax) const;
    void GetEntryScreenBox(const NiAccumulatorEntry& kEntry, NiPoint3& kMin, NiPoint3& kMax) const;
    // Row 0 (x), 1 (y), 2 (z) or 3 (w) of the world-to-clip matrix: three coefficients and a
    // constant, applied to a world point as a dot product plus the constant.
    const float* GetWorldToClipRow(uint32_t uiRow) const { return m_aafWorldToClip[uiRow & 3]; }

    //--- Aiming. ---
    // Turns the camera towards the target with the given up direction; false (and no change)
    // when the target is at the camera or up runs along the view line.
    bool LookAt(const NiPoint3& kTarget, const NiPoint3& kUp);
    // Near and far around the sphere; false when it lies wholly behind the camera.
    bool FitNearAndFar(const NiBoundingSphere& kSphere);

    bool IsVisual() const override;
    void UpdateWorldTransform() override;
    void RecomputeWorldBound() override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    void PostLink() override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

    // "name = (N=%f,F=%f,L=%f,R=%f,T=%f,B=%f)" for a frustum.
    static std::string FrustumFieldString(const char* pcName, const NiFrustum& kFrustum);

private:
    void UpdatePlanes();
    void UpdateProjection();
    // One projection row at a world point: coefficients . p + constant.
    float ProjectRow(uint32_t uiRow, const NiPoint3& kPoint) const;

    // Projection rows X, Y, Z, W as world coefficients and a constant.
    float m_aafWorldToClip[4][4] = {};
    float m_fProjectionScaleX = 0.0f;
    float m_fProjectionScaleY = 0.0f;
    NiPoint3 m_wLoc = NiPoint3::ZERO;
    NiPoint3 m_wDir = NiPoint3::UNIT_X;
    NiPoint3 m_wUp = NiPoint3::UNIT_Y;
    NiPoint3 m_wRight = NiPoint3::UNIT_Z;
    NiFrustum m_frustum;
    NiRect<float> m_port = NiRect<float>(0.0f, 1.0f, 1.0f, 0.0f);
    NiRefPtr<NiAVObject> m_spScene;
    NiGrowArray<NiRefPtr<NiScreenPolygon>> m_kScreenPolygons{5, 5};
    NiRefPtr<NiRender> m_spRenderer;
    NiGrowArray<NiPlane*> m_kPlanes{6, 3};
    uint32_t m_uiPlaneCount = FRUSTUM_PLANES;
    NiPlane m_akFrustumPlanes[FRUSTUM_PLANES];
    uint32_t m_auiActivePlanes[MASK_WORDS] = {};
    std::vector<const NiPlane*> m_kClipPlaneBuffer;
    float m_fLODAdjust = 1.0f;
};
