#pragma once

#include "scene/object/NiColorA.h"
#include "scene/object/NiPoint3.h"

#include <cstdint>
#include <span>

class NiLines;
class NiNode;

// The line sets a property draws under its display node (see SKDisplayNode), child i drawing
// part i. The first show makes them, with the node's render properties (vertex colours shown
// unlit, and for blended displays an alpha property before them); later shows rewrite their
// vertices in place and advance each data's revision, so the renderer refreshes its copy and a
// redraw allocates nothing. The bound is computed from the vertices every time: a bound kept from
// an earlier build would leave moved lines outside it and let culling hide them.
class SKDisplayLines
{
public:
    enum Blend
    {
        OPAQUE_LINES,
        BLENDED_LINES
    };

    // One line set: its vertices, their colours, and its connect flags (flag i joins vertex i to
    // i + 1, the last vertex's to vertex 0); without flags each even vertex joins the next one.
    struct Part
    {
        std::span<const NiPoint3> kVertices;
        std::span<const NiColorA> kColors;
        std::span<const uint8_t> kFlags;
    };

    // One line set as the node's first child, joining each even vertex to the next. The lines,
    // or null without a node, without vertices, with colours that do not match the vertices, or
    // when the node's first child is not a line set of this many vertices.
    static NiLines* Show(NiNode* pkDisplayNode, std::span<const NiPoint3> kVertices,
                         std::span<const NiColorA> kColors, Blend eBlend);
    // Several line sets. A rewrite passes over a child that is missing or of another size and
    // still rewrites the others. False, with nothing made, without a node or when a part's
    // arrays do not match its vertices.
    static bool Show(NiNode* pkDisplayNode, std::span<const Part> kParts, Blend eBlend);
};
