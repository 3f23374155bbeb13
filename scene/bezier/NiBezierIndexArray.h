#pragma once

#include "scene/bezier/NiBezierArray.h"

#include <cstdint>

// Output triangle lists of patches (three vertex indices per triangle) and the shared-edge
// table of a mesh (four point indices per edge).
class NiBezierIndexArray : public NiBezierArray<uint16_t>
{
public:
    using NiBezierArray::NiBezierArray;

    uint32_t Add(uint16_t usValue) { return Append(usValue); }
};
