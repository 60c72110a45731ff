#pragma once
// A 24-bit image laid out as a Windows device-independent bitmap: blue, green, red per pixel, rows padded
// to 4 bytes, bottom-up (the usual DIB order) or top-down. A DIB section's bits can be wrapped in place.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kes {

// A rectangle in pixels; Right and Bottom are exclusive.
struct PixelRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Empty() const { return Right <= Left || Bottom <= Top; }
    PixelRect Intersect(const PixelRect& o) const;
    bool operator==(const PixelRect&) const = default;
};

class PixelBuffer {
public:
    static constexpr int kMaxSide = 32768;
    static constexpr std::size_t kMaxBytes = std::size_t{1} << 28;

    PixelBuffer() = default;
    // A black image; raises std::length_error for negative sides or one past the limits above.
    PixelBuffer(int width, int height, bool bottomUp = true);
    // Wraps memory the caller owns and keeps alive (for instance a DIB section's bits).
    static PixelBuffer Attach(std::uint8_t* bits, int width, int height, bool bottomUp);

    PixelBuffer(const PixelBuffer& other);  // always a copy of its own
    PixelBuffer& operator=(const PixelBuffer& other);
    PixelBuffer(PixelBuffer&& other) noexcept;
    PixelBuffer& operator=(PixelBuffer&& other) noexcept;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool BottomUp() const { return bottomUp_; }
    bool Owned() const { return bits_ == nullptr || bits_ == own_.data(); }
    int Stride() const { return StrideFor(width_); }
    std::size_t SizeBytes() const { return static_cast<std::size_t>(Stride()) * static_cast<std::size_t>(height_); }
    std::uint8_t* Bits() { return bits_; }
    const std::uint8_t* Bits() const { return bits_; }

    // Row y counted from the top, whatever the order in memory.
    std::uint8_t* Row(int y) { return bits_ + RowOffset(y); }
    const std::uint8_t* Row(int y) const { return bits_ + RowOffset(y); }

    // Colours as the system stores them: red in bits 0-7, green 8-15, blue 16-23.
    std::int32_t GetPixel(int x, int y) const;
    void SetPixel(int x, int y, std::int32_t colour);
    // Fills the part of rect inside the image.
    void FillRect(const PixelRect& rect, std::int32_t colour);

    static int StrideFor(int width) { return (width * 3 + 3) & ~3; }

private:
    std::size_t RowOffset(int y) const {
        const int row = bottomUp_ ? height_ - 1 - y : y;
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(Stride());
    }

    int width_ = 0;
    int height_ = 0;
    bool bottomUp_ = true;
    std::vector<std::uint8_t> own_;
    std::uint8_t* bits_ = nullptr;
};

}  // namespace kes
