#pragma once

#include "scene/object/NiColorA.h"
#include "scene/object/NiPoint3.h"

#include <span>

class NiLines;
class NiNode;

// The line set a property draws under its display node (see SKDisplayNode): the node's first
// child. The first show makes it, with the node's render properties (vertex colours shown
// unlit, and for blended displays an alpha property before them); later shows rewrite its
// vertices in place and advance the data's revision, so the renderer refreshes its copy. The
// bound is computed from the vertices every time: a bound kept from an earlier build would
// leave moved lines outside it and let culling hide them. Segments join each even vertex to the
// next one.
class SKDisplayLines
{
public:
    enum Blend
    {
        OPAQUE_LINES,
        BLENDED_LINES
    };

    // The lines, or null without a node, without vertices, with colours that do not match the
    // vertices, or when the node's first child is not a line set of this many vertices.
    static NiLines* Show(NiNode* pkDisplayNode, std::span<const NiPoint3> kVertices,
                         std::span<const NiColorA> kColors, Blend eBlend);
};
