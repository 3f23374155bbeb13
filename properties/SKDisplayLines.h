#pragma once

#include "scene/object/NiColorA.h"
#include "scene/object/NiPoint3.h"

#include <cstdint>

class NiAVObject;
class NiCamera;
class NiGeometry;
class NiNode;

// The line sets that property displays are drawn with, under a display node (SKDisplayNode):
// built once, then rewritten in place on every later show, so that drawing a selected
// property every frame allocates nothing. A rewrite recomputes the line set's bound from its
// vertices, so that a moved property is never culled by the bound of where it was.
class SKDisplayLines
{
public:
    // The display node's render state: an alpha property with blending and testing off (source
    // ALPHA_SRCALPHA, destination ALPHA_INVSRCALPHA: flags 0x00EC, reference 0) ahead of a
    // vertex-colour property that shows the vertex colours unlit (SOURCE_EMISSIVE, LIGHTING_E).
    static void AddRenderState(NiNode* pkNode);
    // A new line set of copies of the vertices, colours and connect flags (flag i joins vertex i
    // to i + 1, the last vertex's to vertex 0; null flags join each even vertex to the next),
    // attached as the node's last child.
    static NiGeometry* Attach(NiNode* pkNode, uint16_t usCount, const NiPoint3* pkVertices,
                              const NiColorA* pkColors, const uint8_t* pucFlags);
    // Rewrites the vertices of the node's child at the index in place, when it is a line set of
    // that many vertices; its bound follows and its data revision advances. False, and nothing
    // changes, when there is no such child.
    static bool Rewrite(NiNode* pkNode, uint32_t uiChild, uint16_t usCount, const NiPoint3* pkVertices);

    // The scene root a camera shows, when it is a node; else null.
    static NiNode* GetSceneRoot(const NiCamera* pkCamera);
    // 0.33 times the world bounding radius of the scene root: the size the displays that
    // follow the model's size take.
    static float SceneScale(const NiAVObject* pkSceneRoot);
};
