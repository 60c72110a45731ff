#include "PixelBuffer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace kes {

PixelRect PixelRect::Intersect(const PixelRect& o) const {
    PixelRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right), std::min(Bottom, o.Bottom)};
    if (r.Empty()) r = PixelRect{};
    return r;
}

PixelBuffer::PixelBuffer(int width, int height, bool bottomUp) : width_(width), height_(height), bottomUp_(bottomUp) {
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide || SizeBytes() > kMaxBytes)
        throw std::length_error("Bitmap size out of range");
    own_.assign(SizeBytes(), 0);
    bits_ = own_.data();
}

PixelBuffer PixelBuffer::Attach(std::uint8_t* bits, int width, int height, bool bottomUp) {
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
        throw std::length_error("Bitmap size out of range");
    PixelBuffer p;
    p.width_ = width;
    p.height_ = height;
    p.bottomUp_ = bottomUp;
    p.bits_ = bits;
    return p;
}

PixelBuffer::PixelBuffer(const PixelBuffer& other)
    : width_(other.width_), height_(other.height_), bottomUp_(other.bottomUp_) {
    if (other.bits_) own_.assign(other.bits_, other.bits_ + other.SizeBytes());
    bits_ = other.bits_ ? own_.data() : nullptr;
}

PixelBuffer& PixelBuffer::operator=(const PixelBuffer& other) {
    if (this != &other) *this = PixelBuffer(other);
    return *this;
}

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept { *this = std::move(other); }

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept {
    if (this == &other) return *this;
    const bool owned = other.Owned();
    width_ = other.width_;
    height_ = other.height_;
    bottomUp_ = other.bottomUp_;
    own_ = std::move(other.own_);
    bits_ = owned ? (own_.empty() ? nullptr : own_.data()) : other.bits_;
    other.own_.clear();
    other.bits_ = nullptr;
    other.width_ = other.height_ = 0;
    return *this;
}

std::int32_t PixelBuffer::GetPixel(int x, int y) const {
    const std::uint8_t* p = Row(y) + 3 * x;
    return p[2] | (p[1] << 8) | (p[0] << 16);
}

void PixelBuffer::SetPixel(int x, int y, std::int32_t colour) {
    std::uint8_t* p = Row(y) + 3 * x;
    p[0] = static_cast<std::uint8_t>(colour >> 16);
    p[1] = static_cast<std::uint8_t>(colour >> 8);
    p[2] = static_cast<std::uint8_t>(colour);
}

void PixelBuffer::FillRect(const PixelRect& rect, std::int32_t colour) {
    const PixelRect r = rect.Intersect({0, 0, width_, height_});
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) SetPixel(x, y, colour);
}

}  // namespace kes
