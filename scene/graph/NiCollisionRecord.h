#pragma once

#include <cstdint>

class NiAVObject;

// What a caller hands a collision query for one side: whose callback hears of contacts (the
// root), the object under examination (group nodes pass copies naming a child), how deep that
// side's box tree may be descended (negative: down to triangle pairs) and how many triangles a
// box of a tree built for the query may cover without being split.
class NiCollisionRecord
{
public:
    NiAVObject* m_pkRoot = nullptr;
    NiAVObject* m_pkObject = nullptr;
    int32_t m_iMaxDepth = -1;
    int32_t m_iBoxTriangles = 1;
    int32_t m_iReserved = 0;
};
