#pragma once

#include "core/SKScreenshotImage.h"

// The two screenshot file writers. Each writes the whole file or leaves any earlier file of that
// name as it was: the file is written beside its target under a temporary name and renamed over
// it only when every byte has been written. A null path or image writes nothing.

// An uncompressed true-colour TGA file: 24 bits per pixel (blue, green, red), or 32 (blue, green,
// red, alpha) for an RGBA image; bottom row first; ends with the format's signature footer.
bool SaveScreenshotTGA(const char* pcPath, const SKScreenshotImage* pkImage);

// A 24-bit BMP file: bottom row first, pixels blue, green, red, each row filled up to a multiple
// of four bytes.
bool SaveScreenshotBMP(const char* pcPath, const SKScreenshotImage* pkImage);
