#pragma once
// Windows bitmap files (.bmp) to and from 24-bit pixel buffers.
#include <string>

#include "skin/PixelBuffer.h"

namespace kes {

// Reads an uncompressed bitmap of 1, 4, 8, 24 or 32 bits per pixel, rows in either order (32-bit also
// with the standard bit-field masks). Every offset, size and palette index is checked against the file;
// on failure returns false with the reason in error and leaves image unchanged. The image keeps the
// file's row order.
bool ReadBmp(const std::string& bytes, PixelBuffer& image, std::string& error);

// Writes image with 1, 4, 8, 24 or 32 bits per pixel, bottom-up or top-down. The palette of the 1-, 4-
// and 8-bit forms holds the image's colours in order of first appearance; raises std::invalid_argument
// when they do not fit, or for another depth.
std::string WriteBmp(const PixelBuffer& image, int bitsPerPixel = 24, bool topDown = false);

}  // namespace kes
