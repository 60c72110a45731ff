// Drawing from a skin object gives the same picture as the routines given its fields one by one.
#include <gtest/gtest.h>

#include <cstring>

#include "skin/draw/win/SkinObjectDraw.h"

using namespace kes;

namespace {

PixelBuffer Grab(TBitmap& bmp) {
    GdiFlush();
    PixelBuffer p(bmp.Width(), bmp.Height(), false);
    for (int y = 0; y < p.Height(); ++y) std::memcpy(p.Row(y), bmp.ScanLine(y), static_cast<size_t>(p.Width()) * 3);
    return p;
}

bool Same(const PixelBuffer& a, const PixelBuffer& b) {
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.Row(y), b.Row(y), static_cast<size_t>(a.Width()) * 3) != 0) return false;
    return true;
}

TEST(SkinObjectDraw, ObjectFieldsChooseFramesMarginsAndFlags) {
    TDataSkinObject o("Buttons");
    o.Image = PixelBuffer(60, 16, true);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 60; ++x) o.Image.SetPixel(x, y, (x % 7 == 0 && y < 2) ? 0xFF00FF : x | (y << 8) | 0x400000);
    o.Frame = 3;
    o.LeftWidth = 4, o.TopHeight = 3, o.RightWidth = 5, o.BottomHeight = 2;
    EXPECT_EQ(MarginsOf(o), (SkinMargins{4, 3, 5, 2}));
    const TRect r{2, 2, 47, 29};
    for (int trans : {0, 1})
        for (int tile : {0, 1}) {
            o.Trans = trans;
            o.Tile = tile;
            TBitmap a(50, 32), b(50, 32);
            DrawSkinImage(a.Canvas().Handle(), r, o, 2);
            DrawSkinImage(b.Canvas().Handle(), r, o.Image, {4, 3, 5, 2}, 2, 3, trans, tile, false);
            EXPECT_TRUE(Same(Grab(a), Grab(b))) << trans << tile;
            DrawSkinImage3(a.Canvas(), r, o, 3);
            DrawSkinImage3(b.Canvas(), r, o.Image, {4, 3, 5, 2}, 3, 3, trans, false);
            EXPECT_TRUE(Same(Grab(a), Grab(b)));
            DrawSkinFrame(a.Canvas().Handle(), r, o, 1);
            DrawSkinFrame(b.Canvas().Handle(), r, o.Image, 1, 3, trans);
            EXPECT_TRUE(Same(Grab(a), Grab(b)));
            DrawSkinFrameCentered(a.Canvas().Handle(), r, o, 3);
            DrawSkinFrameCentered(b.Canvas().Handle(), r, o.Image, 3, 3, trans);
            EXPECT_TRUE(Same(Grab(a), Grab(b)));
            StretchSkinFrame(a.Canvas().Handle(), r, o, 2, false);
            StretchSkinFrame(b.Canvas().Handle(), r, o.Image, {4, 3, 5, 2}, 2, 3, tile, false);
            EXPECT_TRUE(Same(Grab(a), Grab(b)));
        }
    // An object without an image draws nothing.
    TDataSkinObject none("Empty");
    TBitmap c(10, 10);
    DrawSkinImage(c.Canvas().Handle(), {0, 0, 10, 10}, none, 1);
    EXPECT_EQ(Grab(c).GetPixel(5, 5), 0);
}

}  // namespace
