#pragma once

#include "scene/graph/NiCamera.h"
#include "scene/graph/NiNode.h"
#include "scene/object/NiRefPtr.h"

// A model that holds one of every special node kind, a skinned mesh over two bones, both kinds
// of particle set, and a camera 100 units down -x looking at it along +x with one screen
// polygon. Every drawable has a name (see the .cpp for what each node kind is set to show).
struct NodeKindsScene
{
    NiRefPtr<NiNode> m_spRoot;
    NiRefPtr<NiCamera> m_spCamera;
};

NodeKindsScene MakeNodeKindsScene();
