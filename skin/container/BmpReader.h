#pragma once
// Windows bitmap files (.bmp): the file layout shared by readers and writers, and the reader the skin
// loads its images with.
#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/container/PixelBuffer.h"

namespace kes {

constexpr std::uint32_t kBmpRgb = 0;        // uncompressed pixels
constexpr std::uint32_t kBmpRle8 = 1;       // 8-bit pixels, run-length compressed
constexpr std::uint32_t kBmpRle4 = 2;       // 4-bit pixels, run-length compressed
constexpr std::uint32_t kBmpBitFields = 3;  // uncompressed, with colour masks
constexpr std::size_t kBmpFileHeader = 14;  // "BM", file size, reserved, offset of the pixels

// Bytes in one stored row: rows are padded to a multiple of four bytes.
constexpr std::int64_t BmpRowBytes(std::int64_t width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// Reads a bitmap of 1, 4, 8, 16, 24 or 32 bits per pixel, rows in either order: uncompressed, 16- and
// 32-bit with bit-field masks (16-bit without masks is 5-5-5), and run-length compressed 4- and 8-bit ones.
// Every offset, size and palette index is checked against the file; on failure returns false with the
// reason in error and leaves image unchanged. The image keeps the file's row order.
bool ReadBmp(const std::string& bytes, PixelBuffer& image, std::string& error);

}  // namespace kes
