#pragma once
// The sample ship of data/: a small textured hull with two nacelles, hardpoint nodes named for the
// properties its script attaches, the property script beside the model and the global
// templates script of the start-up folder. Larger versions of it serve the benchmarks.

#include <cstdint>
#include <string>

struct SampleShipOptions
{
    std::string kName = "SampleShip";
    // About how many triangles the hull has (0: the small sample's own).
    uint32_t uiTriangles = 0;
    // Further properties beyond the sample's own, each on a hardpoint node of its own.
    uint32_t uiExtraProperties = 0;
};

// Writes <folder>/<name>.nif, <folder>/<name>.py and the hull's texture <folder>/SampleShipHull.tga,
// which the model names. Needs the property types registered.
bool WriteSampleShip(const std::string& kFolder, const SampleShipOptions& kOptions);
// Writes the global templates script the property scripts refer to.
bool WriteSampleGlobalTemplates(const std::string& kPath);
