#pragma once

#include "scene/bezier/NiBezierColorArray.h"
#include "scene/bezier/NiBezierIndexArray.h"
#include "scene/bezier/NiBezierPointArray.h"
#include "scene/bezier/NiBezierTexCoordArray.h"
#include "scene/graph/NiAVObject.h"
#include "scene/object/NiColorA.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiTexCoord.h"

#include <cstdint>
#include <memory>

class NiCamera;
class NiEffectLists;
class NiPropertyTable;
class NiTriShapeDynamicData;

// The abstract curved surface: control points (positions, optionally texture coordinates and
// colours), either the patch's own or a mesh's shared arrays read through an index list, turned
// into a triangle list at a level of detail, uniformly or adaptively. The output lives in
// growable arrays that a dynamic triangle-list data object hands to the renderer. Subclasses
// supply the basis and the two tessellation strategies.
//
// Contents: flags and construction / control data / level and tessellation / output / the
// scene-object operations / stream and clone / what subclasses use (kernels, current patch).
class NiBezierPatch : public NiAVObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    // Object flag bits of patches (a patch is never a node, so bit 3 is free here).
    static constexpr uint16_t NORMALS_MASK = 0x0008;
    static constexpr uint16_t ADAPTIVE_MASK = 0x0010;
    static constexpr float DEFAULT_FLATNESS_TOLERANCE = 0.1f;
    static constexpr float DEFAULT_SCREEN_TOLERANCE = 4.0f;

    // A vertex kernel: sums the control data by the current basis weights and appends one
    // output vertex; answers its index. The parameters are not read (the basis holds them).
    using VertexKernel = uint16_t (NiBezierPatch::*)(float fU, float fV);

    ~NiBezierPatch() override;

    //--- Control data. An indexed patch reads control point i at entry index[i] of arrays that
    // belong to its mesh; an own patch owns its arrays. ---
    uint16_t GetDegree() const { return m_usDegree; }
    uint16_t GetControlPointCount() const { return m_usNumControlPoints; }
    uint16_t GetTextureSetCount() const { return m_usNumTextureSets; }
    uint16_t GetControlPointStride() const { return m_usControlPointStride; }
    const NiPoint3* GetControlPoints() const { return m_pkControlPoints; }
    const NiTexCoord* GetControlTextureCoords() const { return m_pkTextureCoords; }
    const NiColorA* GetControlColors() const { return m_pkColors; }
    const uint16_t* GetIndices() const { return m_pusIndices; }
    bool IsIndexed() const { return m_pusIndices != nullptr; }
    // The mesh's arrays for an indexed patch (no copy, no ownership); ignored by a patch that
    // owns its arrays, which would otherwise leak them and later free the mesh's.
    void SetControlPointArrays(NiPoint3* pkPoints, NiTexCoord* pkTextureCoords, NiColorA* pkColors);
    // The number of texture sets evaluated per output vertex; the output array follows.
    void SetTextureSetCount(uint16_t usCount);

    //--- Level and mode. ---
    uint8_t GetLevel() const { return m_ucLevel; }
    bool GetAdaptive() const { return (m_usFlags & ADAPTIVE_MASK) != 0; }
    bool GetNormalsWanted() const { return (m_usFlags & NORMALS_MASK) != 0; }
    // Re-tessellates at the current level when the mode changes.
    void SetAdaptive(bool bAdaptive);
    float GetFlatnessTolerance() const { return m_fFlatnessTolerance; }
    void SetFlatnessTolerance(float fTolerance) { m_fFlatnessTolerance = fTolerance; }
    float GetScreenTolerance() const { return m_fScreenTolerance; }
    void SetScreenTolerance(float fTolerance) { m_fScreenTolerance = fTolerance; }
    NiCamera* GetCamera() const { return m_pkCamera; }
    void SetCamera(NiCamera* pkCamera) { m_pkCamera = pkCamera; }
    // Builds the output for the level without changing the stored level; a patch without
    // control points (an indexed patch before its mesh links it) has nothing to build.
    void Tessellate(uint8_t ucLevel);

    //--- Output of the last tessellation. ---
    uint16_t GetVertexCount() const { return m_usNumVertices; }
    uint16_t GetTriangleCount() const { return m_usNumTriangles; }
    const NiBezierPointArray* GetPositionArray() const { return m_pkPositionArray.get(); }
    const NiBezierPointArray* GetNormalArray() const { return m_pkNormalArray.get(); }
    const NiBezierTexCoordArray* GetTextureArray() const { return m_pkTextureArray.get(); }
    const NiBezierColorArray* GetColorArray() const { return m_pkColorArray.get(); }
    const NiBezierIndexArray* GetTriangleArray() const { return m_pkTriangleArray.get(); }
    // What the output arrays hold, in bytes (a load counts it against its memory bound).
    uint64_t GetOutputBytes() const;
    uint16_t GetKernelMask() const { return m_usKernelMask; }
    NiTriShapeDynamicData* GetRenderData() const { return m_spRenderData; }
    const NiBoundingSphere& GetModelBound() const { return m_kModelBound; }
    // World-space output, rebuilt first when stale; null when the array does not exist.
    const NiPoint3* GetWorldPositions();
    const NiPoint3* GetWorldNormals();

    //--- The operations of every patch, in their fixed order. ---
    // Nothing at the current level or above GetMaxLevel; else tessellates and stores the level.
    virtual void SetLevel(uint8_t ucLevel);
    virtual uint8_t GetMaxLevel() const;
    // The basis at (u, v), then the kernel: the index of the appended vertex.
    virtual uint16_t Evaluate(float fU, float fV);
    // Whether the segment [t0, t1] of one of this patch's edges, in the caller's grid of
    // 2^ucCallerMax units, is (or would be) split; the code names the edge and its direction.
    virtual bool IsEdgeSplit(uint16_t usT0, uint16_t usT1, uint8_t ucCallerMax, uint8_t ucMinLevel,
                             uint8_t ucCallerParity, int16_t sCode);
    virtual void ComputeBasis(float fU, float fV);
    virtual void TessellateUniform(uint8_t ucLevel);
    virtual void TessellateAdaptive(uint8_t ucLevel);
    virtual bool TestSubdivision(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB);

    void PropagatePropertyTable(NiPropertyTable* pkTable) override;
    void PropagateEffectLists(NiEffectLists* pkLists) override;
    NiPropertyTable* GetPropertyTable() const override;
    NiEffectLists* GetEffectLists() const override;
    void Draw(NiCamera* pkCamera) override;
    bool CheckCollision(float fDeltaTime, const NiCollisionRecord& kRecord0,
                        const NiCollisionRecord& kRecord1) override;
    int32_t CollectCollisions(float fDeltaTime, const NiCollisionRecord& kRecord0,
                              const NiCollisionRecord& kRecord1) override;
    bool FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker) override;
    void PassedCulling(NiCamera* pkCamera) override;
    void UpdateWorldTransform() override;
    void RecomputeWorldBound() override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    NiBezierPatch();
    // Own arrays, taken over (made with new[]); one texture set when coordinates are given.
    NiBezierPatch(uint16_t usDegree, uint16_t usCount, NiPoint3* pkPoints, NiTexCoord* pkTextureCoords,
                  NiColorA* pkColors, bool bNormals);
    // Indexed: the index list is taken over, the arrays stay the caller's.
    NiBezierPatch(uint16_t usDegree, uint16_t usCount, uint16_t* pusIndices, NiPoint3* pkPoints,
                  NiTexCoord* pkTextureCoords, NiColorA* pkColors, bool bNormals, uint16_t usStride);

    // Degree and point count, then deep copies of the control data (the index list for an
    // indexed patch) and the basis. Output and tolerances start afresh.
    void CopyToClone(NiBezierPatch* pkClone);
    // Whether a record's degree and control point count fit the class.
    virtual bool IsValidShape(uint16_t usDegree, uint16_t usCount) const;
    // How many texture sets an own patch's coordinate array holds (degree changes make
    // patches with several).
    void SetSourceTextureSets(uint16_t usSets) { m_usSourceTextureSets = usSets; }

    // Degree changes. Evaluates this patch at the parameters into fresh output arrays and
    // copies the samples' texture coordinates (set-major, every set) and colours out as the
    // control data of a new patch; null where this patch has none.
    void SampleControlData(uint16_t usCount, const float* pfU, const float* pfV, NiTexCoord*& pkTextureCoords,
                           NiColorA*& pkColors);
    // The new patch takes this patch's texture sets; this patch's render data, which pointed
    // at the output arrays just made again, is refreshed by a tessellation.
    void FinishDegreeChange(NiBezierPatch* pkNew);

    // Recreates the output arrays for the expected m_usNumVertices and m_usNumTriangles and
    // chooses the kernel.
    void AllocateOutput();
    // After a tessellator filled the output: produced counts, model bound, stale world data.
    void FinishOutput();
    void AddTriangle(uint16_t usA, uint16_t usB, uint16_t usC);
    // The triangles of a grid of rows x columns cells over vertices numbered row by row: each
    // cell (a, b, c), (b, d, c) with b right of a and c above it.
    void AddGridTriangles(uint32_t uiRows, uint32_t uiColumns);
    // Adaptive tessellations address grid points through the vertex cache. A triangle of
    // three grid points, from their cached vertices (none when one has no vertex).
    void AddCachedTriangle(uint32_t uiA, uint32_t uiB, uint32_t uiC);
    // Gives the grid point a vertex at (u, v) unless it holds one: a point a triangle names
    // must never carry the none marker, even when an earlier decision left it there.
    void EnsureCachedVertex(uint32_t uiIndex, float fU, float fV);
    // The model position of a grid point for the screen test: the current patch's vertex of a
    // decided point (vertex 0 only when it counts), vertex 0 at the origin, else the surface.
    NiPoint3 CachedPosition(uint32_t uiIndex, bool bOrigin, bool bVertexZeroCounts, float fU, float fV);
    const NiPoint3& GetOutputPosition(uint16_t usVertex) const { return m_pkPositionArray->GetAt(usVertex); }
    // The control point i through the index list.
    uint32_t ControlIndex(uint32_t i) const { return m_pusIndices ? m_pusIndices[i] : i; }
    const NiPoint3& ControlPoint(uint32_t i) const { return m_pkControlPoints[ControlIndex(i)]; }
    // The surface position at (u, v) without appending a vertex.
    NiPoint3 SurfacePoint(float fU, float fV);
    // p -> T + s (R p).
    NiPoint3 ToWorld(const NiPoint3& kModel) const;
    // Whether an edge of the given span on screen is long enough to split; the caller gives
    // model positions. False without a camera or renderer.
    bool TestScreenSpan(const NiPoint3& kModelA, const NiPoint3& kModelB) const;
    // The patch whose adaptive tessellation is running, or null between tessellations.
    bool IsCurrentPatch() const { return ms_pkCurrentPatch == this; }
    // The patch child of the parent at the index, or null.
    NiBezierPatch* GetNeighbor(uint32_t uiIndex) const;

    // Object flags 0x08 (normals) and 0x10 (adaptive) live in m_usFlags.
    NiRefPtr<NiPropertyTable> m_spPropertyTable;
    NiRefPtr<NiEffectLists> m_spEffectLists;
    uint16_t m_usDegree = 0;
    uint16_t m_usNumControlPoints = 0;
    uint16_t m_usNumTextureSets = 0;
    uint16_t m_usControlPointStride = 0;
    NiPoint3* m_pkControlPoints = nullptr;
    NiTexCoord* m_pkTextureCoords = nullptr;
    NiColorA* m_pkColors = nullptr;
    uint16_t* m_pusIndices = nullptr;
    std::unique_ptr<float[]> m_pfBasis;
    std::unique_ptr<float[]> m_pfBasisU;
    std::unique_ptr<float[]> m_pfBasisV;
    uint8_t m_ucLevel = 0;
    float m_fFlatnessTolerance = DEFAULT_FLATNESS_TOLERANCE;
    float m_fScreenTolerance = DEFAULT_SCREEN_TOLERANCE;
    uint16_t m_usNumVertices = 0;
    std::unique_ptr<NiBezierPointArray> m_pkPositionArray;
    std::unique_ptr<NiBezierPointArray> m_pkNormalArray;
    std::unique_ptr<NiBezierTexCoordArray> m_pkTextureArray;
    std::unique_ptr<NiBezierColorArray> m_pkColorArray;
    uint16_t m_usNumTriangles = 0;
    std::unique_ptr<NiBezierIndexArray> m_pkTriangleArray;
    uint16_t m_usKernelMask = 0;
    VertexKernel m_pfnKernel = nullptr;
    NiRefPtr<NiTriShapeDynamicData> m_spRenderData;
    NiCamera* m_pkCamera = nullptr;
    NiBoundingSphere m_kModelBound;
    bool m_bWorldDataDirty = false;
    std::unique_ptr<NiBezierPointArray> m_pkWorldPositionArray;
    std::unique_ptr<NiBezierPointArray> m_pkWorldNormalArray;
    // Sets held by the source coordinate array; higher output sets read the last one, so a set
    // count above it never reads past the array.
    uint16_t m_usSourceTextureSets = 0;

private:
    template <uint16_t MASK> uint16_t Kernel(float fU, float fV);
    void UpdateWorldData();
    void AllocateBasis();
    void FreeControlData();

    static const VertexKernel ms_apfnKernels[16];
    static NiBezierPatch* ms_pkCurrentPatch;
};
