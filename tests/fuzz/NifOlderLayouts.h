#pragma once

#include <optional>
#include <vector>

// Rewrites a .nif buffer the stream saved (version 3.1) into the layout an older version's
// loaders read: the header names the version, and each record of a class whose fields changed
// with the versions takes the older form (no sort accumulator before 3.01, no texture effect
// image and plane before 3.03, no L and K words, image scale or multi-texture parameters and two
// spare texture-property words before 3.04, the morph carried inline by its morpher before 3.05,
// no shared normals up to 3.05). Records are found by their class names, so the scene's own texts
// must not spell one. None when a record cannot be taken apart as its class lays it out.
std::optional<std::vector<char>> ToOlderVersion(const std::vector<char>& kCurrent, const char* pcVersion);
