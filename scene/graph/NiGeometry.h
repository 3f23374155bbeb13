#pragma once

#include "scene/graph/NiAVObject.h"
#include "scene/graph/NiGeometryData.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>
#include <memory>

class NiEffectLists;
class NiPropertyTable;

// What a geometry loader keeps between LoadBinary and ResolveLinks: the property ids, and the
// id of its data.
class NiGeometryLinkRecord : public NiAVObjectLinkRecord
{
public:
    uint32_t m_uiDataID = 0;
};

// The scene object that places one geometry data object in the scene: it holds the data
// (shared with its clones), the render state that reaches it, and world-space copies of the
// data's positions and normals made on demand for picking and collision. When it passes
// culling it hands its state to the renderer; each concrete kind draws its data its own way.
//
// Contents: data / world arrays / the scene-object operations it refines / stream and clone.
class NiGeometry : public NiAVObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiGeometryLinkRecord;

    ~NiGeometry() override;

    //--- Data. A geometry without data (a file whose link named none) is inert: it keeps its
    // bound, draws nothing and is never hit. ---
    NiPoint3* GetVertexArray() const;
    NiPoint3* GetNormalArray() const;
    NiColorA* GetColorArray() const;
    NiTexCoord* GetTextureArray() const;
    // Takes the data; null, or data of a class this kind cannot draw, is ignored. World arrays
    // that exist are made again for a new vertex count, and brought up to date.
    virtual void SetGeometryData(NiGeometryData* pkData);
    NiGeometryData* GetGeometryData() const { return m_spGeomData; }
    // The data's own normal computation.
    virtual void ComputeNormals();
    // The data class this kind draws; links and SetGeometryData accept it and its subclasses.
    virtual const ClassRecord* GetDataClassRecord() const;

    //--- World arrays: allocated on request, recomputed lazily once per transform change. ---
    NiPoint3* GetWorldVertices() const { return m_spWorldVerts.get(); }
    NiPoint3* GetWorldNormals() const { return m_spWorldNorms.get(); }
    bool AreWorldVerticesStale() const { return m_bWorldVertsStale; }
    bool AreWorldNormalsStale() const { return m_bWorldNormsStale; }

    void BakeTransform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate,
                       bool bInParentFrame) override;
    void AllocWorldVertices() override;
    void ComputeWorldVertices() override;
    void FreeWorldVertices() override;
    void AllocWorldNormals() override;
    void ComputeWorldNormals() override;
    void FreeWorldNormals() override;
    void PropagatePropertyTable(NiPropertyTable* pkTable) override;
    void PropagateEffectLists(NiEffectLists* pkLists) override;
    NiPropertyTable* GetPropertyTable() const override;
    NiEffectLists* GetEffectLists() const override;
    void PassedCulling(NiCamera* pkCamera) override;
    void UpdateWorldTransform() override;
    void RecomputeWorldBound() override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    NiGeometry();
    explicit NiGeometry(NiGeometryData* pkData);

    // The scene-object part, then the clone shares this object's data.
    void CopyToClone(NiGeometry* pkClone);
    // The steps every draw shares: offers the object to the renderer's accumulator, then
    // passes the clip planes and the world transform. The renderer to draw with, or null when
    // the object is not to be drawn now.
    NiRender* BeginDraw(NiCamera* pkCamera);

    NiRefPtr<NiPropertyTable> m_spPropTable;
    NiRefPtr<NiEffectLists> m_spEffectLists;
    NiRefPtr<NiGeometryData> m_spGeomData;
    // Each world array remembers its size: data changed in place may have more vertices.
    std::unique_ptr<NiPoint3[]> m_spWorldVerts;
    std::unique_ptr<NiPoint3[]> m_spWorldNorms;
    uint16_t m_usWorldVertsSize = 0;
    uint16_t m_usWorldNormsSize = 0;
    bool m_bWorldVertsStale = false;
    bool m_bWorldNormsStale = false;
};
