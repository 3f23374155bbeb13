#pragma once

#include "scene/object/NiHashMap.h"

#include <cstdint>

class SKObject;

// The link table: saved 32-bit keys to objects, which the model properties consult while
// they resolve their links. Nothing in the engine enters a key; the core registration object
// empties it once every system object has started. Made on first use.
NiHashMap<uint32_t, SKObject*>& SKLinkTable();
