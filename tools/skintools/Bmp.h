#pragma once
// Windows bitmap files (.bmp) to and from 24-bit pixel buffers.
#include <string>

#include "skin/PixelBuffer.h"

namespace kes {

// Reads a bitmap of 1, 4, 8, 16, 24 or 32 bits per pixel, rows in either order: uncompressed, 16- and
// 32-bit with bit-field masks (16-bit without masks is 5-5-5), and run-length compressed 4- and 8-bit ones.
// Every offset, size and palette index is checked against the file; on failure returns false with the
// reason in error and leaves image unchanged. The image keeps the file's row order.
bool ReadBmp(const std::string& bytes, PixelBuffer& image, std::string& error);

// Writes image with 1, 4, 8, 16 (5-6-5 bit fields), 24 or 32 bits per pixel, bottom-up or top-down. The
// palette of the 1-, 4- and 8-bit forms holds the image's colours in order of first appearance; raises
// std::invalid_argument when they do not fit, or for another depth.
std::string WriteBmp(const PixelBuffer& image, int bitsPerPixel = 24, bool topDown = false);
// Writes image run-length compressed with 4 or 8 bits per pixel (runs, and pixels as they stand).
std::string WriteBmpRle(const PixelBuffer& image, int bitsPerPixel);

}  // namespace kes
