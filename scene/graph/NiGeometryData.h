#pragma once

#include "scene/object/NiBoundingSphere.h"
#include "scene/object/NiColorA.h"
#include "scene/object/NiObject.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiTexCoord.h"

#include <cstdint>

// The model-space vertex arrays of a drawable object (positions, normals, colours, texture
// coordinates) with their bounding sphere. Geometry objects share data through counted
// references; clones draw the same data under their own transforms.
//
// The data owns its arrays (allocated with new[]): the destructor and ReplaceData delete them,
// SetData takes new ones and leaves the old ones to the caller. Texture coordinates are one
// array, set-major: set i holds entries i * vertices to (i + 1) * vertices - 1.
//
// The data id and revision let a renderer keep a converted copy: whoever changes the arrays in
// place calls IncrementRevision so that the copy is made again.
class NiGeometryData : public NiObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    ~NiGeometryData() override;

    //--- Arrays. The constructors and these take ownership of the given arrays. ---
    void SetData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                 NiTexCoord* pkTexture);
    void ReplaceData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                     NiTexCoord* pkTexture);
    // Each allocates its array for the vertex count when there is none; the flag fills it.
    void CreateVertices(bool bZero);
    void CreateNormals(bool bZero);
    // New colours are (0, 0, 0, 0); bInitialize sets every colour to opaque black.
    void CreateColors(bool bInitialize);
    // Keeps existing coordinates of the same set count, replaces those of another count.
    void CreateTextures(bool bZero, uint16_t usSets);
    // Appends one set copied from the caller's array of vertex-count coordinates.
    void AppendTextureSet(const NiTexCoord* pkTexture);

    uint16_t GetVertexCount() const { return m_usVertices; }
    uint16_t GetTextureSets() const { return m_usTextureSets; }
    // For owners that point the data at arrays holding several sets (SetData assumes one).
    void SetTextureSets(uint16_t usSets) { m_usTextureSets = usSets; }
    NiPoint3* GetVertices() const { return m_pVertex; }
    NiPoint3* GetNormals() const { return m_pNormal; }
    NiColorA* GetColors() const { return m_pColor; }
    NiTexCoord* GetTextures() const { return m_pTexture; }
    // Set i, or null without coordinates or past the last set.
    NiTexCoord* GetTextureSet(uint16_t usSet) const;
    const NiTexCoord* GetTextureSetConst(uint16_t usSet) const { return GetTextureSet(usSet); }

    // The model bound; its not-computed flag stays 1 after a load until a geometry recomputes it.
    NiBoundingSphere& GetBound() { return m_bound; }
    const NiBoundingSphere& GetBound() const { return m_bound; }

    //--- Cache keys. ---
    // Unique among live data objects: numbering starts at 1 and, should the 32-bit counter ever
    // come round, skips 0 and every id still in use.
    uint32_t GetDataId() const { return m_uiDataId; }
    // 0 until the first change; then 1 to 65535 round and round, never 0 again.
    uint16_t GetRevision() const { return m_usRevision; }
    void IncrementRevision();
    // Where the id counter goes on (lets tests reach the point where it comes round).
    static void SetNextDataId(uint32_t uiNext);

    //--- Operations the concrete kinds refine. ---
    // Data with an active leading subset of its vertices answers and sets it; here all count.
    virtual void SetActiveVertexCount(uint16_t usActive);
    virtual uint16_t GetActiveVertexCount() const;
    // Vertex normals from the kind's own primitives.
    virtual void ComputeNormals() = 0;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    NiGeometryData();
    NiGeometryData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                   NiTexCoord* pkTexture);

    // The unit face normal of the corners in the order given: (b - a) x (c - b), unitized with
    // the table square root (a zero normal stays zero).
    static NiPoint3 FaceNormal(const NiPoint3& kA, const NiPoint3& kB, const NiPoint3& kC);

    uint16_t m_usVertices = 0;
    uint16_t m_usTextureSets = 0;
    NiBoundingSphere m_bound;
    NiPoint3* m_pVertex = nullptr;
    NiPoint3* m_pNormal = nullptr;
    NiColorA* m_pColor = nullptr;
    NiTexCoord* m_pTexture = nullptr;

private:
    void DeleteArrays();
    static uint32_t TakeDataId();

    uint32_t m_uiDataId;
    uint16_t m_usRevision = 0;
};
