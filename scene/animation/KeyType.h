#pragma once

#include <cstdint>

// The stored key-type number that selects a key record's layout and the row of its family's
// operation tables. Not every family has every row: floats have 7, rotations 5, positions 4,
// colours 2 (a number beyond a family's rows is not a type of that family).
enum KeyType : uint32_t
{
    KEY_BASE = 0,
    KEY_LINEAR = 1,
    KEY_BEZIER = 2,
    KEY_TCB = 3,
    KEY_EULER = 4,
    KEY_TCB_ARRAY = 5,
    KEY_TCB_INDEX = 6
};
