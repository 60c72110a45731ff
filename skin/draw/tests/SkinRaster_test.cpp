#include "skin/draw/SkinRaster.h"

#include <gtest/gtest.h>

#include "skin/container/ImgUtil.h"

using namespace kes;

namespace {

constexpr std::int32_t kGrey = 0x808080;
constexpr std::int32_t kMagenta = 0xFF00FF;

// A strip whose every pixel names itself: red = x, green = y (blue 0x40 keeps it clear of magenta).
PixelBuffer Coded(int w, int h) {
    PixelBuffer p(w, h, false);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.SetPixel(x, y, x | (y << 8) | 0x400000);
    return p;
}
struct Src {
    int X, Y;
};
Src Probe(const PixelBuffer& p, int x, int y) {
    const std::int32_t c = p.GetPixel(x, y);
    return {c & 0xFF, (c >> 8) & 0xFF};
}

PixelBuffer Canvas(int w, int h) {
    PixelBuffer p(w, h, false);
    p.FillRect({0, 0, w, h}, kGrey);
    return p;
}

// Which range a coordinate falls in: 0 before `a`, 1 from a to b, 2 from b on.
int Band(int v, int a, int b) { return v < a ? 0 : v < b ? 1 : 2; }

// Checks a 9-slice picture pixel by pixel against frame (ox, oy, fw, fh) and margins: corners copied
// 1:1, edges 1:1 across and within their piece along, the centre within the centre piece.
void ExpectNineSlice(const PixelBuffer& pic, int ox, int oy, int fw, int fh, SkinMargins m) {
    const int W = pic.Width(), H = pic.Height();
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const Src s = Probe(pic, x, y);
            const int bx = Band(x, m.Left, W - m.Right), by = Band(y, m.Top, H - m.Bottom);
            SCOPED_TRACE(testing::Message() << "at " << x << "," << y << " got " << s.X << "," << s.Y);
            if (bx == 0) {
                ASSERT_EQ(s.X, ox + x);
            }
            if (bx == 2) {
                ASSERT_EQ(s.X, ox + fw - (W - x));
            }
            if (bx == 1) {
                ASSERT_TRUE(s.X >= ox + m.Left && s.X < ox + fw - m.Right);
            }
            if (by == 0) {
                ASSERT_EQ(s.Y, oy + y);
            }
            if (by == 2) {
                ASSERT_EQ(s.Y, oy + fh - (H - y));
            }
            if (by == 1) {
                ASSERT_TRUE(s.Y >= oy + m.Top && s.Y < oy + fh - m.Bottom);
            }
        }
}

}  // namespace

TEST(SkinRaster, StretchCopyTakesThePixelUnderEachCentre) {
    const PixelBuffer src = Coded(4, 2);
    PixelBuffer dst = Canvas(8, 1);
    StretchCopy(dst, {0, 0, 8, 1}, src, {0, 1, 4, 2});
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(Probe(dst, x, 0).X, x / 2);
        EXPECT_EQ(Probe(dst, x, 0).Y, 1);
    }
    // Shrinking 8 -> 3 samples source columns 1, 4 and 6.
    const PixelBuffer wide = Coded(8, 1);
    PixelBuffer small = Canvas(3, 1);
    StretchCopy(small, {0, 0, 3, 1}, wide, {0, 0, 8, 1});
    EXPECT_EQ(Probe(small, 0, 0).X, 1);
    EXPECT_EQ(Probe(small, 1, 0).X, 4);
    EXPECT_EQ(Probe(small, 2, 0).X, 6);
    // Clipped to the target, and source pixels outside the image are not read.
    PixelBuffer clip = Canvas(3, 3);
    StretchCopy(clip, {-2, -2, 2, 2}, Coded(5, 5), {2, 0, 6, 4});
    EXPECT_EQ(Probe(clip, 0, 0).X, 4);
    EXPECT_EQ(Probe(clip, 0, 0).Y, 2);
    EXPECT_EQ(clip.GetPixel(1, 1), kGrey);  // source column 5 is past the image
    EXPECT_EQ(clip.GetPixel(2, 2), kGrey);
}

TEST(SkinRaster, NineSliceProbesFindTheirSourcePieces) {
    const PixelBuffer strip = Coded(60, 16);  // three 20 x 16 frames
    const SkinMargins m{4, 3, 5, 2};
    for (auto [w, h] : {std::pair{50, 40}, {20, 16}, {9, 5}, {200, 7}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        const PixelBuffer pic = StretchSkinImage({7, 9, 7 + w, 9 + h}, strip, m, 2, 3, false, false);
        ASSERT_EQ(pic.Width(), w);
        ASSERT_EQ(pic.Height(), h);
        const SkinMargins fit{w < 9 ? 0 : 4, h < 5 ? 0 : 3, w < 9 ? 0 : 5, h < 5 ? 0 : 2};
        ExpectNineSlice(pic, 20, 0, 20, 16, fit);
    }
    // Vertical strip: frame 3 of 20 x 12 frames starts at y = 24.
    const PixelBuffer tall = Coded(20, 36);
    ExpectNineSlice(StretchSkinImage({0, 0, 33, 30}, tall, m, 3, 3, false, true), 0, 24, 20, 12, m);
}

TEST(SkinRaster, NineSliceDropsMarginsWiderThanThePicture) {
    // 10 pixels wide with left 6 and right 6: the whole frame width is stretched across.
    const PixelBuffer pic = StretchSkinImage({0, 0, 10, 20}, Coded(20, 16), {6, 2, 6, 2}, 1, 1, false, false);
    EXPECT_EQ(Probe(pic, 0, 10).X, 1);
    EXPECT_EQ(Probe(pic, 9, 10).X, 19);
    ExpectNineSlice(pic, 0, 0, 20, 16, {0, 2, 0, 2});
    // Margins wider than the frame: no crash, the frame is stretched whole.
    const PixelBuffer all = StretchSkinImage({0, 0, 40, 32}, Coded(20, 16), {30, 20, 30, 20}, 1, 1, false, false);
    EXPECT_EQ(Probe(all, 0, 0).X, 0);
    EXPECT_EQ(Probe(all, 39, 31).X, 19);
    EXPECT_EQ(Probe(all, 39, 31).Y, 15);
}

TEST(SkinRaster, TiledCentreRepeatsAndTheEdgesCoverItsSpill) {
    const PixelBuffer strip = Coded(20, 16);
    const SkinMargins m{4, 3, 5, 2};  // centre piece 11 x 11 at (4, 3)
    const PixelBuffer pic = StretchSkinImage({0, 0, 41, 40}, strip, m, 1, 1, true, false);
    for (int y = 3; y < 38; ++y)
        for (int x = 4; x < 36; ++x) {
            const Src s = Probe(pic, x, y);
            ASSERT_EQ(s.X, 4 + (x - 4) % 11) << x << "," << y;
            ASSERT_EQ(s.Y, 3 + (y - 3) % 11) << x << "," << y;
        }
    // 32 is not a multiple of 11: the last tile reaches under the right edge, which is painted over it.
    ExpectNineSlice(pic, 0, 0, 20, 16, m);
}

TEST(SkinRaster, DrawSkinImagePlacesTheSliceAndLeavesOutMagenta) {
    PixelBuffer strip = Coded(20, 10);
    strip.SetPixel(0, 0, kMagenta);
    strip.SetPixel(19, 9, kMagenta);
    PixelBuffer dst = Canvas(40, 30);
    DrawSkinImage(dst, {5, 6, 35, 26}, strip, {3, 3, 3, 3}, 1, 1, true, false, false);
    EXPECT_EQ(dst.GetPixel(5, 6), kGrey);  // magenta corner left out
    EXPECT_EQ(dst.GetPixel(34, 25), kGrey);
    EXPECT_EQ(Probe(dst, 6, 6).X, 1);
    EXPECT_EQ(dst.GetPixel(4, 6), kGrey);  // outside the rectangle
    EXPECT_EQ(dst.GetPixel(35, 25), kGrey);
    DrawSkinImage(dst, {5, 6, 35, 26}, strip, {3, 3, 3, 3}, 1, 1, false, false, false);
    EXPECT_EQ(dst.GetPixel(5, 6), kMagenta);  // opaque copy keeps it
    // Inverted and empty rectangles draw nothing.
    PixelBuffer untouched = Canvas(40, 30);
    DrawSkinImage(untouched, {20, 6, 10, 26}, strip, {}, 1, 1, false, false, false);
    DrawSkinImage(untouched, {5, 26, 35, 6}, strip, {}, 1, 1, false, false, false);
    DrawSkinImage(untouched, {5, 6, 5, 26}, strip, {}, 1, 1, false, false, false);
    // An image without pixels draws nothing either (no black picture).
    const PixelBuffer none;
    DrawSkinImage(untouched, {5, 6, 35, 26}, none, {}, 1, 1, false, false, false);
    DrawSkinImage3(untouched, {5, 6, 35, 26}, none, {}, 1, 1, false, false);
    DrawSkinFrame(untouched, {5, 6, 35, 26}, none, 1, 1, false);
    DrawSkinFrameCentered(untouched, {5, 6, 35, 26}, none, 1, 1, false);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(untouched.GetPixel(x, y), kGrey);
}

TEST(SkinRaster, ThreeSliceRepeatsTheMiddleAndStretchesTheHeight) {
    const PixelBuffer strip = Coded(24, 6);  // two 12 x 6 frames
    PixelBuffer dst = Canvas(40, 20);
    DrawSkinImage3(dst, {2, 4, 32, 16}, strip, {3, 1, 4, 1}, 2, 2, false, false);  // middle 5 wide
    for (int y = 4; y < 16; ++y) {
        const int sy = Probe(dst, 2, y).Y;
        EXPECT_EQ(sy, (2 * (y - 4) + 1) * 6 / 24);  // the whole frame height, stretched
        for (int x = 2; x < 32; ++x) {
            const int dx = x - 2, sx = Probe(dst, x, y).X;
            const int want = dx < 3 ? 12 + dx : dx >= 26 ? 12 + 8 + (dx - 26) : 12 + 3 + (dx - 3) % 5;
            ASSERT_EQ(sx, want) << x;
            ASSERT_EQ(Probe(dst, x, y).Y, sy);
        }
    }
    EXPECT_EQ(dst.GetPixel(32, 10), kGrey);
    // No middle (left + right fill the frame): the ends are drawn, the gap stays as the work picture was.
    PixelBuffer gap = Canvas(60, 6);
    DrawSkinImage3(gap, {0, 0, 60, 6}, strip, {5, 0, 7, 0}, 1, 2, false, false);
    EXPECT_EQ(Probe(gap, 4, 0).X, 4);
    EXPECT_EQ(Probe(gap, 53, 0).X, 5);
    EXPECT_EQ(gap.GetPixel(30, 3), 0);
}

TEST(SkinRaster, ThreeSliceTransparentLeavesOutMagenta) {
    PixelBuffer strip = Coded(10, 4);
    strip.FillRect({0, 0, 2, 4}, kMagenta);
    PixelBuffer dst = Canvas(30, 4);
    DrawSkinImage3(dst, {0, 0, 30, 4}, strip, {2, 0, 2, 0}, 1, 1, true, false);
    EXPECT_EQ(dst.GetPixel(0, 0), kGrey);
    EXPECT_EQ(dst.GetPixel(1, 3), kGrey);
    EXPECT_EQ(Probe(dst, 2, 0).X, 2);
}

TEST(SkinRaster, FrameStretchedOverTheRectangle) {
    const PixelBuffer strip = Coded(30, 5);  // three 10 x 5 frames
    PixelBuffer dst = Canvas(30, 30);
    DrawSkinFrame(dst, {5, 5, 25, 15}, strip, 3, 3, false);
    EXPECT_EQ(Probe(dst, 5, 5).X, 20);
    EXPECT_EQ(Probe(dst, 24, 14).X, 29);
    EXPECT_EQ(Probe(dst, 24, 14).Y, 4);
    EXPECT_EQ(dst.GetPixel(25, 15), kGrey);
    PixelBuffer keyed = strip;
    keyed.SetPixel(20, 0, kMagenta);
    DrawSkinFrame(dst, {0, 0, 10, 5}, keyed, 3, 3, true);
    EXPECT_EQ(dst.GetPixel(0, 0), kGrey);
    EXPECT_EQ(Probe(dst, 1, 0).X, 21);
}

TEST(SkinRaster, CentredFrameStaysItsSizeAndMayStickOut) {
    const PixelBuffer strip = Coded(16, 6);  // two 8 x 6 frames
    PixelBuffer dst = Canvas(30, 30);
    DrawSkinFrameCentered(dst, {10, 10, 21, 20}, strip, 2, 2, false);  // x = 10 + 3/2, y = 10 + 4/2
    EXPECT_EQ(dst.GetPixel(10, 12), kGrey);
    EXPECT_EQ(Probe(dst, 11, 12).X, 8);
    EXPECT_EQ(Probe(dst, 18, 17).X, 15);
    EXPECT_EQ(Probe(dst, 18, 17).Y, 5);
    EXPECT_EQ(dst.GetPixel(19, 17), kGrey);
    // A 4 x 2 rectangle: the frame starts at (-2, -2) relative to it and covers it with room to spare.
    PixelBuffer small = Canvas(30, 30);
    DrawSkinFrameCentered(small, {10, 10, 14, 12}, strip, 1, 2, false);
    EXPECT_EQ(Probe(small, 8, 8).X, 0);
    EXPECT_EQ(Probe(small, 15, 13).X, 7);
    EXPECT_EQ(small.GetPixel(7, 8), kGrey);
    // Near the target's corner it is clipped, not wrapped.
    PixelBuffer corner = Canvas(5, 5);
    DrawSkinFrameCentered(corner, {0, 0, 2, 2}, strip, 1, 2, false);
    EXPECT_EQ(Probe(corner, 0, 0).X, 3);
    EXPECT_EQ(Probe(corner, 0, 0).Y, 2);
}

TEST(SkinRaster, StretchSkinFrameKeepsTheEndsOfTheChunk) {
    const PixelBuffer strip = Coded(10, 8);  // two 10 x 4 frames, stacked
    PixelBuffer dst = Canvas(50, 10);
    StretchSkinFrame(dst, {5, 2, 45, 8}, strip, {2, 0, 3, 0}, 2, 2, true);
    EXPECT_EQ(Probe(dst, 5, 2).X, 0);
    EXPECT_EQ(Probe(dst, 6, 2).X, 1);
    EXPECT_EQ(Probe(dst, 7, 2).X, 2);   // middle starts
    EXPECT_EQ(Probe(dst, 41, 2).X, 6);  // middle ends at 42
    EXPECT_EQ(Probe(dst, 42, 7).X, 7);
    EXPECT_EQ(Probe(dst, 44, 7).X, 9);
    EXPECT_EQ(Probe(dst, 44, 7).Y, 7);
    EXPECT_EQ(Probe(dst, 5, 2).Y, 4);
    EXPECT_EQ(dst.GetPixel(45, 5), kGrey);
    // Narrower than the frame: the whole frame is squeezed in.
    PixelBuffer narrow = Canvas(10, 4);
    StretchSkinFrame(narrow, {0, 0, 5, 4}, strip, {2, 0, 3, 0}, 1, 2, true);
    EXPECT_EQ(Probe(narrow, 0, 0).X, 1);
    EXPECT_EQ(Probe(narrow, 4, 0).X, 9);
    EXPECT_EQ(narrow.GetPixel(5, 0), kGrey);
}

TEST(SkinRaster, TransparentCopyIsCutToTheImage) {
    PixelBuffer img = Coded(4, 3);
    img.SetPixel(1, 1, 0x00FF00);
    PixelBuffer dst = Canvas(10, 10);
    DrawTransparent(dst, {2, 2, 10, 10}, img, 0x00FF00);  // rectangle larger than the image
    EXPECT_EQ(Probe(dst, 2, 2).X, 0);
    EXPECT_EQ(Probe(dst, 5, 4).X, 3);
    EXPECT_EQ(dst.GetPixel(3, 3), kGrey);  // the key pixel
    EXPECT_EQ(dst.GetPixel(6, 2), kGrey);  // past the image's width
    EXPECT_EQ(dst.GetPixel(2, 5), kGrey);  // past its height
    PixelBuffer part = Canvas(10, 10);
    DrawTransparent(part, {0, 0, 2, 1}, img, kMagenta);  // only the rectangle's size
    EXPECT_EQ(Probe(part, 1, 0).X, 1);
    EXPECT_EQ(part.GetPixel(2, 0), kGrey);
    EXPECT_EQ(part.GetPixel(0, 1), kGrey);
    // A system colour as key is resolved first.
    SetSysColourSource([](int) -> std::int32_t { return 0x00FF00; });
    PixelBuffer sys = Canvas(10, 10);
    DrawTransparent(sys, {0, 0, 4, 3}, img, static_cast<std::int32_t>(0xFF000005u));
    EXPECT_EQ(sys.GetPixel(1, 1), kGrey);
    SetSysColourSource(nullptr);
}

TEST(SkinRaster, TilesAreNotCutAtTheDestination) {
    const PixelBuffer img = Coded(10, 10);
    PixelBuffer dst = Canvas(20, 20);
    TileBitmap(dst, {1, 1, 8, 6}, img, {2, 3, 5, 7});  // 3 x 4 tiles
    for (int y = 1; y < 9; ++y)
        for (int x = 1; x < 10; ++x) {
            ASSERT_EQ(Probe(dst, x, y).X, 2 + (x - 1) % 3) << x << "," << y;
            ASSERT_EQ(Probe(dst, x, y).Y, 3 + (y - 1) % 4) << x << "," << y;
        }
    EXPECT_EQ(dst.GetPixel(10, 1), kGrey);
    EXPECT_EQ(dst.GetPixel(1, 9), kGrey);
    PixelBuffer none = Canvas(20, 20);
    TileBitmap(none, {0, 0, 20, 20}, img, {5, 5, 5, 9});  // zero width
    TileBitmap(none, {0, 0, 20, 20}, img, {5, 5, 3, 3});  // negative sides
    TileBitmap(none, {0, 0, 20, 20}, img, {5, 5, 9, 3});  // negative height
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(none.GetPixel(x, y), kGrey);
}
