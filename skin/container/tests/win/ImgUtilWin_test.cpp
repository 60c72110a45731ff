#include "skin/container/win/ImgUtilWin.h"

#include <gtest/gtest.h>

#include <memory>

#include "base/win/Unique.h"

using namespace kes;

namespace {

// A 24-bit DIB section selected into a memory DC; its bits seen as a pixel buffer.
struct DibDc {
    DibDc(int w, int h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = h;  // bottom-up
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 24;
        bi.bmiHeader.biCompression = BI_RGB;
        memory.Reset(CreateCompatibleDC(nullptr));
        bitmap.Reset(CreateDIBSection(memory.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        selected = std::make_unique<SelectGuard>(memory.Get(), bitmap.Get());
        dc = memory.Get();
        pixels = PixelBuffer::Attach(static_cast<std::uint8_t*>(bits), w, h, true);
        pixels.FillRect({0, 0, w, h}, 0x00FF00);
    }
    std::int32_t At(int x, int y) {
        GdiFlush();
        return pixels.GetPixel(x, y);
    }
    UniqueDc memory;
    UniqueGdi<HBITMAP> bitmap;
    std::unique_ptr<SelectGuard> selected;  // goes first: the bitmap leaves the DC before either is deleted
    HDC dc = nullptr;
    void* bits = nullptr;
    PixelBuffer pixels;
};

}  // namespace

TEST(ImgUtilWin, GradientFillPaintsTheTableColoursIntoADc) {
    ClearGradientCache();
    DibDc d(5, 8);
    GradientFill(d.dc, RECT{1, 0, 4, 8}, 0x000000, 0xFF0000, true);
    const std::vector<std::int32_t>& t = GradientTable(GetGradient(8, 0x000000, 0xFF0000));
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(d.At(0, y), 0x00FF00);
        EXPECT_EQ(d.At(2, y), t[static_cast<std::size_t>(y)]) << y;
        EXPECT_EQ(d.At(4, y), 0x00FF00);
    }
}

TEST(ImgUtilWin, ClippedFillPaintsOnlyVisibleBands) {
    ClearGradientCache();
    DibDc d(10, 3);
    IntersectClipRect(d.dc, 4, 0, 7, 3);
    GradientFill(d.dc, RECT{0, 0, 10, 3}, 0x0000FF, 0x000000, false);
    const std::vector<std::int32_t>& t = GradientTable(GetGradient(10, 0x0000FF, 0x000000));
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(d.At(x, 1), x >= 4 && x < 7 ? t[static_cast<std::size_t>(x)] : 0x00FF00) << x;

    // Nothing visible: nothing painted, no table made.
    ClearGradientCache();
    GradientFill(d.dc, RECT{8, 0, 10, 3}, 0xFFFFFF, 0xFFFFFF, true);
    EXPECT_EQ(d.At(9, 0), 0x00FF00);
    EXPECT_TRUE(GradientTable(0).empty());
}

TEST(ImgUtilWin, SystemColoursComeFromTheSystem) {
    UseSystemColours();
    EXPECT_EQ(ColourToRGB(static_cast<std::int32_t>(0x80000000 | COLOR_BTNFACE)),
              static_cast<std::int32_t>(GetSysColor(COLOR_BTNFACE)));
    DibDc d(1, 1);
    GradientFill(d.dc, RECT{0, 0, 1, 1}, static_cast<std::int32_t>(0x80000000 | COLOR_WINDOW),
                 static_cast<std::int32_t>(0x80000000 | COLOR_WINDOW), true);
    EXPECT_EQ(d.At(0, 0), static_cast<std::int32_t>(GetSysColor(COLOR_WINDOW)));
    SetSysColourSource(nullptr);
}
