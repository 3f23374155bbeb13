#pragma once

#include "scene/object/NiRefPtr.h"

class NiAVObject;
class NiNode;

// The display node of a property that draws in the 3D view: a node carrying the display marker,
// hung as the last child of the scene root of the view that showed it, under which the property
// builds its geometry. Show runs the protocol every drawing property follows:
//   - hiding sets the node's app-culled flag (nothing is detached);
//   - showing makes the node on first use (marked, attached last under the scene root), clears
//     the flag, and moves a node that hangs elsewhere (in another view's scene, or nowhere) to the
//     end of the scene root's children, so a template shown in another view moves into that scene.
// The property holds its own reference on the node: when a view releases its scene, the node only
// loses its parent, and the next Show attaches it to the scene then shown. Destroying the holder
// detaches the node.
class SKDisplayNode
{
public:
    SKDisplayNode() = default;
    ~SKDisplayNode();
    SKDisplayNode(const SKDisplayNode&) = delete;
    SKDisplayNode& operator=(const SKDisplayNode&) = delete;

    // The node to build geometry under; null when hidden, or when there is no scene root to show in.
    NiNode* Show(bool bShow, NiNode* pkSceneRoot, NiAVObject* pkShownNode);
    // Null until the first Show with a scene root.
    NiNode* GetNode() const { return m_spNode; }
    // Detaches the node and forgets it, with its geometry.
    void Reset();

private:
    NiRefPtr<NiNode> m_spNode;
};
