#include "ImgUtil.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kes {

namespace {

std::int32_t NoSystemColours(int) { return 0; }
SysColourSource g_sysColour = NoSystemColours;

constexpr int kSlots = 16;
std::array<std::vector<std::int32_t>, kSlots> g_gradients;
int g_nextSlot = 0;

int Red(std::int32_t c) { return c & 0xFF; }
int Green(std::int32_t c) { return (c >> 8) & 0xFF; }
int Blue(std::int32_t c) { return (c >> 16) & 0xFF; }
std::int32_t Rgb(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }

// The image rebuilt with exchanged sides; source(x, y) of the new image is given by pick.
template <typename Pick>
void Rotate(PixelBuffer& bitmap, Pick pick) {
    const PixelBuffer old = bitmap;
    PixelBuffer turned(old.Height(), old.Width(), old.BottomUp());
    for (int y = 0; y < turned.Height(); ++y) {
        std::uint8_t* dst = turned.Row(y);
        for (int x = 0; x < turned.Width(); ++x) {
            const auto [sx, sy] = pick(x, y, old.Width(), old.Height());
            std::memcpy(dst + 3 * x, old.Row(sy) + 3 * sx, 3);
        }
    }
    bitmap = std::move(turned);
}

}  // namespace

void SetSysColourSource(SysColourSource source) { g_sysColour = source ? source : NoSystemColours; }

std::int32_t ColourToRGB(std::int32_t colour) { return colour < 0 ? (g_sysColour(colour & 0xFF) & 0xFFFFFF) : colour; }

void ReplaceMagenta(PixelBuffer& bitmap, std::int32_t colour) {
    const std::uint8_t b = static_cast<std::uint8_t>(Blue(colour));
    const std::uint8_t g = static_cast<std::uint8_t>(Green(colour));
    const std::uint8_t r = static_cast<std::uint8_t>(Red(colour));
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint8_t* p = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width(); ++x, p += 3) {
            if (p[0] == 255 && p[1] == 0 && p[2] == 255) {
                p[0] = b;
                p[1] = g;
                p[2] = r;
            }
        }
    }
}

void MirrorBitmap(PixelBuffer& bitmap) {
    const int w = bitmap.Width();
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint8_t* row = bitmap.Row(y);
        for (int x = 0; x < w / 2; ++x) std::swap_ranges(row + 3 * x, row + 3 * x + 3, row + 3 * (w - 1 - x));
    }
}

void FlipBitmapVertical(PixelBuffer& bitmap) {
    const int rowBytes = bitmap.Width() * 3;
    for (int y = 0, h = bitmap.Height(); y < h / 2; ++y)
        std::swap_ranges(bitmap.Row(y), bitmap.Row(y) + rowBytes, bitmap.Row(h - 1 - y));
}

void RotateBitmapLeft(PixelBuffer& bitmap) {
    // Old (x, y) goes to (y, oldWidth - 1 - x).
    Rotate(bitmap, [](int x, int y, int oldWidth, int) { return std::pair{oldWidth - 1 - y, x}; });
}

void RotateBitmapRight(PixelBuffer& bitmap) {
    // Old (x, y) goes to (oldHeight - 1 - y, x).
    Rotate(bitmap, [](int x, int y, int, int oldHeight) { return std::pair{y, oldHeight - 1 - x}; });
}

std::int32_t BlendColours(std::int32_t colour1, std::int32_t colour2, int weight) {
    const std::int32_t c1 = ColourToRGB(colour1);
    const std::int32_t c2 = ColourToRGB(colour2);
    const int a = std::clamp(weight, 0, 1000);
    const int b = a < 100 ? 100 : 1000;
    auto mix = [&](int ch1, int ch2) { return (ch2 * (b - a) + ch1 * a + b / 2) / b; };
    return Rgb(mix(Red(c1), Red(c2)), mix(Green(c1), Green(c2)), mix(Blue(c1), Blue(c2)));
}

int ColourSaturation(std::int32_t colour) {
    const std::int32_t c = ColourToRGB(colour);
    const int r = Red(c), g = Green(c), b = Blue(c);
    if (r < 160 && g < 160 && b < 160) return 200;
    const int hi = std::max({r, g, b});
    const int lo = std::min({r, g, b});
    // Rounded to the nearest integer, ties to even.
    const int num = (hi - lo) * 255;
    int q = num / hi;
    const int twice = 2 * (num % hi);
    if (twice > hi || (twice == hi && (q & 1))) ++q;
    return q;
}

int GetGradient(int count, std::int32_t colour1, std::int32_t colour2) {
    if (count <= 0) return -1;
    for (int slot = kSlots - 1; slot >= 0; --slot) {
        const auto& t = g_gradients[static_cast<std::size_t>(slot)];
        if (static_cast<int>(t.size()) == count && t.front() == colour1 && t.back() == colour2) return slot;
    }
    const int slot = g_nextSlot;
    g_nextSlot = (g_nextSlot + 1) % kSlots;
    auto& t = g_gradients[static_cast<std::size_t>(slot)];
    t.assign(static_cast<std::size_t>(count), 0);
    const int dr = Red(colour2) - Red(colour1);
    const int dg = Green(colour2) - Green(colour1);
    const int db = Blue(colour2) - Blue(colour1);
    if (count == 1) {
        t[0] = Rgb(Red(colour1) + dr / 2, Green(colour1) + dg / 2, Blue(colour1) + db / 2);
    } else {
        const int d = count - 1;
        for (int i = 0; i < count; ++i) {
            auto step = [&](int delta) { return static_cast<int>((d / 2 + static_cast<std::int64_t>(i) * delta) / d); };
            t[static_cast<std::size_t>(i)] =
                Rgb(Red(colour1) + step(dr), Green(colour1) + step(dg), Blue(colour1) + step(db));
        }
    }
    return slot;
}

const std::vector<std::int32_t>& GradientTable(int slot) { return g_gradients.at(static_cast<std::size_t>(slot)); }

void ClearGradientCache() {
    for (auto& t : g_gradients) t.clear();
    g_nextSlot = 0;
}

bool PixelFillTarget::ClipBox(PixelRect& box) const {
    box = clip_;
    return !clip_.Empty();
}

void PixelFillTarget::FillSolid(const PixelRect& rect, std::int32_t rgb) {
    bitmap_.FillRect(rect.Intersect(clip_), rgb);
}

void GradientFill(FillTarget& target, const PixelRect& rect, std::int32_t colour1, std::int32_t colour2,
                  bool vertical) {
    PixelRect clip;
    if (!target.ClipBox(clip) || rect.Intersect(clip).Empty()) return;
    const std::int32_t c1 = ColourToRGB(colour1);
    const std::int32_t c2 = ColourToRGB(colour2);
    const int n = vertical ? rect.Height() : rect.Width();
    if (n <= 0) return;
    const int rectStart = vertical ? rect.Top : rect.Left;
    const int clipStart = vertical ? clip.Top : clip.Left;
    const int clipEnd = vertical ? clip.Bottom : clip.Right;
    const int rectEnd = vertical ? rect.Bottom : rect.Right;
    const int first = std::max(clipStart - rectStart, 0);
    const int last = clipEnd < rectEnd ? clipEnd - rectStart - 1 : n - 1;
    const int slot = GetGradient(n, c1, c2);
    const std::vector<std::int32_t>& table = GradientTable(slot);
    for (int step = first; step <= last; ++step) {
        const PixelRect band = vertical ? PixelRect{rect.Left, rect.Top + step, rect.Right, rect.Top + step + 1}
                                        : PixelRect{rect.Left + step, rect.Top, rect.Left + step + 1, rect.Bottom};
        target.FillSolid(band, table[static_cast<std::size_t>(step)]);
    }
}

}  // namespace kes
