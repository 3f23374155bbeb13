#include "scene/graph/NiPixelLayout.h"

constinit const NiPixelLayout NiPixelLayout::PALETTIZED8 = {
    1, 8, {0, 0, 0, 0}, {0, 0, 0, 0}, {8, 8, 8, 8}, {0, 0, 0, 0}, 0,
};

constinit const NiPixelLayout NiPixelLayout::RGB24 = {
    0, 24, {0xff, 0xff00, 0xff0000, 0}, {8, 8, 8, 0}, {0, 0, 0, 8}, {0, 8, 16, 0}, 0,
};

constinit const NiPixelLayout NiPixelLayout::RGBA32 = {
    0, 32, {0xff, 0xff00, 0xff0000, 0xff000000}, {8, 8, 8, 8}, {0, 0, 0, 0}, {0, 8, 16, 24}, 0,
};
