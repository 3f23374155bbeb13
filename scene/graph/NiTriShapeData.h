#pragma once

#include "scene/graph/NiTriBasedGeomData.h"

#include <cstdint>
#include <vector>

// An indexed triangle list: the vertex arrays plus three 16-bit vertex indices per triangle,
// and optionally a shared-normal table that makes vertices at one place (split for their
// texture coordinates or colours) share one smooth normal.
class NiTriShapeData : public NiTriBasedGeomData
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    // The other vertices whose normal this vertex shares: every face normal the normal
    // computation adds to the vertex goes to them too.
    struct SharedNormalGroup
    {
        std::vector<uint16_t> m_kMembers;
    };

    NiTriShapeData();
    // Takes the index list (3 per triangle, allocated with new[]) with the arrays.
    NiTriShapeData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                   NiTexCoord* pkTexture, uint16_t usTriangles, uint16_t* pusTriList);
    ~NiTriShapeData() override;

    uint32_t GetTriListLength() const { return m_uiTriListLength; }
    uint16_t* GetTriList() const { return m_pTriList; }
    // Takes the list and leaves the old one to the caller; ReplaceTriList deletes it.
    void SetTriList(uint16_t* pusTriList);
    void ReplaceTriList(uint16_t* pusTriList);
    // Deletes the old list and takes a list of the given number of triangles.
    void ReplaceTriList(uint16_t usTriangles, uint16_t* pusTriList);

    // Puts vertices i and j into one shared-normal group (making a table of one empty group
    // per vertex first, when there is none for the current vertex count).
    void LinkSharedNormals(uint16_t usI, uint16_t usJ);
    // One group per vertex, or empty when there is no table.
    const std::vector<SharedNormalGroup>& GetSharedNormals() const { return m_kSharedNormals; }
    // Carries the table over to renumbered vertices (map[v]: the new index of old vertex v,
    // negative for one that went away); vertices merged into one share their groups.
    void RemapSharedNormals(uint16_t usOldCount, uint16_t usNewCount, const int32_t* piMap);

    // Face normals added at each corner (and its shared group while the table fits the vertex
    // count), then unitized.
    void ComputeNormals() override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

    // Files later than this carry the shared-normal table.
    static constexpr const char* SHARED_NORMALS_VERSION = "3.05";

protected:
    uint32_t m_uiTriListLength = 0;
    uint16_t* m_pTriList = nullptr;
    std::vector<SharedNormalGroup> m_kSharedNormals;
};
