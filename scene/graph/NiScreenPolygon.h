#pragma once

#include "scene/object/NiColorA.h"
#include "scene/object/NiLinkRecord.h"
#include "scene/object/NiObject.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiTexCoord.h"

#include <cstdint>
#include <memory>
#include <vector>

class NiPropertyTable;
class NiRender;

// What a screen-polygon loader keeps between LoadBinary and ResolveLinks: its property ids.
class NiScreenPolygonLinkRecord : public NiLinkRecord
{
public:
    std::vector<uint32_t> m_kPropertyIDs;
};

// A flat polygon given in the renderer's screen space (x and y viewport fractions, z depth),
// drawn over the scene: an overlay, a frame or a textured panel. It is not a scene object; a
// camera keeps a list of them and draws them after its scene. It carries its own render state
// as a property table, which the renderer takes over while drawing it.
class NiScreenPolygon : public NiObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiScreenPolygonLinkRecord;

    // The loader's constructor: no vertices, a table of default properties.
    NiScreenPolygon();
    // Copies the arrays (the caller keeps its own); the coordinates and colours may be none.
    NiScreenPolygon(uint16_t usVertices, const NiPoint3* pkVertex, const NiTexCoord* pkTexture,
                    const NiColorA* pkColor);
    ~NiScreenPolygon() override;

    uint16_t GetVertexCount() const { return m_usVertices; }
    NiPoint3* GetVertices() const { return m_spVertex.get(); }
    NiTexCoord* GetTextures() const { return m_spTexture.get(); }
    NiColorA* GetColors() const { return m_spColor.get(); }
    NiPropertyTable* GetPropertyTable() const { return m_spPropTable; }
    // Gives the other polygon a new table holding this polygon's properties.
    void CopyPropertyTableTo(NiScreenPolygon* pkOther) const;

    // Inside a camera's pass (screen projection already set): the table, then the polygon.
    void Draw(NiRender* pkRenderer);
    // On its own: the same, switching the projection to screen space and back around it.
    void DrawStandalone(NiRender* pkRenderer);

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    NiRefPtr<NiPropertyTable> m_spPropTable;
    uint16_t m_usVertices = 0;
    std::unique_ptr<NiPoint3[]> m_spVertex;
    std::unique_ptr<NiTexCoord[]> m_spTexture;
    std::unique_ptr<NiColorA[]> m_spColor;
};
