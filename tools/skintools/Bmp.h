#pragma once
// Windows bitmap files (.bmp) from 24-bit pixel buffers; the reader is the skin's (skin/container/BmpReader.h).
#include <string>

#include "skin/container/BmpReader.h"
#include "skin/container/PixelBuffer.h"

namespace kes {

// Writes image with 1, 4, 8, 16 (5-6-5 bit fields), 24 or 32 bits per pixel, bottom-up or top-down. The
// palette of the 1-, 4- and 8-bit forms holds the image's colours in order of first appearance; raises
// std::invalid_argument when they do not fit, or for another depth.
std::string WriteBmp(const PixelBuffer& image, int bitsPerPixel = 24, bool topDown = false);
// Writes image run-length compressed with 4 or 8 bits per pixel (runs, and pixels as they stand).
std::string WriteBmpRle(const PixelBuffer& image, int bitsPerPixel);

}  // namespace kes
