#include "skin/container/ImgUtil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace kes;

namespace {

constexpr std::int32_t kMagenta = 0xFF00FF;

// An image whose every pixel has its own colour, and whose row padding holds a marker.
PixelBuffer Numbered(int w, int h, bool bottomUp = true) {
    PixelBuffer p(w, h, bottomUp);
    std::memset(p.Bits(), 0xAB, p.SizeBytes());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.SetPixel(x, y, (x + 1) | ((y + 1) << 8) | 0x400000);
    return p;
}

bool PaddingIntact(const PixelBuffer& p) {
    for (int y = 0; y < p.Height(); ++y)
        for (int i = p.Width() * 3; i < p.Stride(); ++i)
            if (p.Row(y)[i] != 0xAB) return false;
    return true;
}

std::int32_t SystemColour(int index) { return index == 15 ? 0xC0C0C0 : 0x010203 * index; }

class ImgUtil : public testing::Test {
protected:
    void SetUp() override { ClearGradientCache(); }
    void TearDown() override { SetSysColourSource(nullptr); }
};

}  // namespace

TEST_F(ImgUtil, PixelBufferLayoutMatchesADib) {
    for (int w = 1; w <= 5; ++w) EXPECT_EQ(PixelBuffer(w, 1).Stride() % 4, 0);
    PixelBuffer bottom(2, 2, true);
    bottom.SetPixel(1, 0, 0x112233);  // top row lives last in memory; blue first, red last
    EXPECT_EQ(bottom.Bits()[8 + 3], 0x11);
    EXPECT_EQ(bottom.Bits()[8 + 5], 0x33);
    PixelBuffer top(2, 2, false);
    top.SetPixel(1, 0, 0x112233);
    EXPECT_EQ(top.Bits()[3], 0x11);

    std::vector<std::uint8_t> dib(PixelBuffer::StrideFor(3) * 2, 0);
    PixelBuffer view = PixelBuffer::Attach(dib.data(), 3, 2, true);
    view.SetPixel(2, 1, 0x0000FF);
    EXPECT_EQ(dib[8], 0xFF);  // bottom row first, red last in the pixel
    PixelBuffer copy = view;
    EXPECT_TRUE(copy.Owned());
    EXPECT_FALSE(view.Owned());
    EXPECT_THROW(PixelBuffer(-1, 1), std::length_error);
    EXPECT_THROW(PixelBuffer(PixelBuffer::kMaxSide + 1, 1), std::length_error);
}

TEST_F(ImgUtil, ReplaceMagentaOnlyExactMagenta) {
    for (int w = 1; w <= 3; ++w) {
        PixelBuffer p = Numbered(w, 2);
        p.SetPixel(0, 0, kMagenta);
        p.SetPixel(w - 1, 1, 0xFF01FF);  // green 1: not the key colour
        ReplaceMagenta(p, 0x123456);
        EXPECT_EQ(p.GetPixel(0, 0), 0x123456);
        EXPECT_EQ(p.GetPixel(w - 1, 1), 0xFF01FF);
        EXPECT_TRUE(PaddingIntact(p));
    }
    PixelBuffer p(1, 1);
    p.SetPixel(0, 0, kMagenta);
    ReplaceMagenta(p, static_cast<std::int32_t>(0xFF00000F));  // a system colour is taken as plain RGB
    EXPECT_EQ(p.GetPixel(0, 0), 0x00000F);
}

TEST_F(ImgUtil, MirrorAndFlipOnNarrowAndShortImages) {
    for (bool bottomUp : {true, false})
        for (int w = 1; w <= 3; ++w)
            for (int h = 0; h <= 3; ++h) {
                SCOPED_TRACE(testing::Message() << w << "x" << h << (bottomUp ? " bottom-up" : " top-down"));
                const PixelBuffer original = Numbered(w, h, bottomUp);
                PixelBuffer m = original;
                MirrorBitmap(m);
                PixelBuffer f = original;
                FlipBitmapVertical(f);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        EXPECT_EQ(m.GetPixel(x, y), original.GetPixel(w - 1 - x, y));
                        EXPECT_EQ(f.GetPixel(x, y), original.GetPixel(x, h - 1 - y));
                    }
                EXPECT_TRUE(PaddingIntact(m));
                EXPECT_TRUE(PaddingIntact(f));
            }
}

TEST_F(ImgUtil, RotateMovesPixelsTheRightWay) {
    // 3 wide, 2 high:  a b c      left:  c f     right:  d a
    //                  d e f             b e             e b
    //                                    a d             f c
    PixelBuffer p(3, 2);
    const std::int32_t a = 1, b = 2, c = 3, d = 4, e = 5, f = 6;
    const std::int32_t px[2][3] = {{a, b, c}, {d, e, f}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) p.SetPixel(x, y, px[y][x]);
    PixelBuffer left = p;
    RotateBitmapLeft(left);
    ASSERT_EQ(left.Width(), 2);
    ASSERT_EQ(left.Height(), 3);
    EXPECT_EQ(left.GetPixel(0, 0), c);
    EXPECT_EQ(left.GetPixel(1, 0), f);
    EXPECT_EQ(left.GetPixel(0, 2), a);
    EXPECT_EQ(left.GetPixel(1, 2), d);
    PixelBuffer right = p;
    RotateBitmapRight(right);
    EXPECT_EQ(right.GetPixel(0, 0), d);
    EXPECT_EQ(right.GetPixel(1, 0), a);
    EXPECT_EQ(right.GetPixel(0, 2), f);
    EXPECT_EQ(right.GetPixel(1, 2), c);
}

TEST_F(ImgUtil, RotateLeftThenRightRestores) {
    for (bool bottomUp : {true, false})
        for (int w = 1; w <= 3; ++w)
            for (int h = 0; h <= 3; ++h) {
                const PixelBuffer original = Numbered(w, h, bottomUp);
                PixelBuffer p = original;
                RotateBitmapLeft(p);
                EXPECT_EQ(p.Width(), h);
                EXPECT_EQ(p.Height(), w);
                EXPECT_EQ(p.BottomUp(), bottomUp);
                RotateBitmapRight(p);
                ASSERT_EQ(p.Width(), w);
                ASSERT_EQ(p.Height(), h);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) EXPECT_EQ(p.GetPixel(x, y), original.GetPixel(x, y));
            }
}

TEST_F(ImgUtil, BlendColours) {
    EXPECT_EQ(BlendColours(0x000000, 0xFFFFFF, 50), 0x808080);
    // 150 is 15 % of the first colour: (200 * 850 + 128 * 150 + 500) / 1000 = 189 per channel.
    EXPECT_EQ(BlendColours(0x808080, 0xC8C8C8, 150), 0xBDBDBD);
    EXPECT_EQ(BlendColours(0x0000FF, 0xFF0000, 0), 0xFF0000);
    EXPECT_EQ(BlendColours(0x0000FF, 0xFF0000, 99), 0x0300FC);
    EXPECT_EQ(BlendColours(0x0000FF, 0xFF0000, 1000), 0x0000FF);
    // Weights outside their range are held to it.
    EXPECT_EQ(BlendColours(0x0000FF, 0xFF0000, -20), 0xFF0000);
    EXPECT_EQ(BlendColours(0x0000FF, 0xFF0000, 5000), 0x0000FF);
    // System colours are resolved first.
    SetSysColourSource(SystemColour);
    EXPECT_EQ(BlendColours(static_cast<std::int32_t>(0xFF00000F), 0xC0C0C0, 30), 0xC0C0C0);
}

TEST_F(ImgUtil, ColourSaturation) {
    EXPECT_EQ(ColourSaturation(0x9F00FF & 0x9F9F9F), 200);  // dark, whatever the hue
    EXPECT_EQ(ColourSaturation(0x0000FF), 255);
    EXPECT_EQ(ColourSaturation(0xFFFFFF), 0);
    EXPECT_EQ(ColourSaturation(0xA9A9AA), 2);  // 1.5 rounds to even 2
    EXPECT_EQ(ColourSaturation(0xA7A7AA), 4);  // 4.5 rounds to even 4
    EXPECT_EQ(ColourSaturation(0x0000A0), 255);
    SetSysColourSource(SystemColour);
    EXPECT_EQ(ColourSaturation(static_cast<std::int32_t>(0xFF00000F)), 0);
}

TEST_F(ImgUtil, GradientTables) {
    EXPECT_EQ(GetGradient(0, 0, 0xFFFFFF), -1);
    EXPECT_EQ(GetGradient(-3, 0, 0xFFFFFF), -1);

    const int one = GetGradient(1, 0x000000, 0xFEFEFE);
    EXPECT_EQ(GradientTable(one)[0], 0x7F7F7F);  // the midpoint

    const int up = GetGradient(5, 0x000000, 0x0000FF);
    const std::vector<std::int32_t>& t = GradientTable(up);
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[0], 0x000000);
    EXPECT_EQ(t[1], 0x000040);  // (2 + 255) / 4
    EXPECT_EQ(t[4], 0x0000FF);
    EXPECT_EQ(GetGradient(5, 0x000000, 0x0000FF), up);  // cached

    // A falling channel may end one short of colour 2: such a table is made again on each request.
    const int down = GetGradient(4, 0x0000FF, 0x000000);
    EXPECT_EQ(GradientTable(down).back(), 0x000001);
    EXPECT_NE(GetGradient(4, 0x0000FF, 0x000000), down);
}

TEST_F(ImgUtil, GradientCacheReplacesItsSlotsInTurn) {
    const int first = GetGradient(3, 0x000000, 0x0000FE);
    EXPECT_EQ(first, 0);
    for (int i = 1; i < 16; ++i) EXPECT_EQ(GetGradient(3 + i, 0, 0x0000FE), i);
    EXPECT_EQ(GetGradient(3, 0x000000, 0x0000FE), first);  // still there
    EXPECT_EQ(GetGradient(100, 0, 0x0000FE), 0);           // the 17th table takes slot 0
    EXPECT_NE(GetGradient(3, 0x000000, 0x0000FE), 0);      // so the first is made anew
}

TEST_F(ImgUtil, GradientFillWholeRectangle) {
    for (bool vertical : {true, false}) {
        PixelBuffer p(3, 4);
        PixelFillTarget target(p);
        GradientFill(target, {0, 0, 3, 4}, 0x000000, 0x0000FF, vertical);
        const int n = vertical ? 4 : 3;
        const std::vector<std::int32_t>& t = GradientTable(GetGradient(n, 0x000000, 0x0000FF));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 3; ++x) EXPECT_EQ(p.GetPixel(x, y), t[static_cast<std::size_t>(vertical ? y : x)]);
    }
}

TEST_F(ImgUtil, ClippedGradientFillPaintsOnlyVisibleBandsInTheirFullColours) {
    PixelBuffer p(10, 10);
    p.FillRect({0, 0, 10, 10}, 0x00FF00);
    PixelFillTarget target(p, {0, 3, 10, 6});
    GradientFill(target, {2, 0, 8, 10}, 0x000000, 0x0000FF, true);
    const std::vector<std::int32_t>& t = GradientTable(GetGradient(10, 0x000000, 0x0000FF));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool painted = y >= 3 && y < 6 && x >= 2 && x < 8;
            EXPECT_EQ(p.GetPixel(x, y), painted ? t[static_cast<std::size_t>(y)] : 0x00FF00) << x << "," << y;
        }

    // Horizontal, clip box starting left of the rectangle and ending inside it.
    PixelBuffer q(10, 2);
    PixelFillTarget left(q, {0, 0, 5, 2});
    GradientFill(left, {3, 0, 10, 2}, 0xFF0000, 0x000000, false);
    EXPECT_EQ(q.GetPixel(2, 0), 0);
    EXPECT_EQ(q.GetPixel(3, 0), 0xFF0000);
    EXPECT_EQ(q.GetPixel(4, 1), GradientTable(GetGradient(7, 0xFF0000, 0))[1]);
    EXPECT_EQ(q.GetPixel(5, 0), 0);
}

TEST_F(ImgUtil, GradientFillThatCannotShowDrawsNothing) {
    PixelBuffer p(4, 4);
    PixelFillTarget target(p, {0, 0, 2, 2});
    GradientFill(target, {2, 2, 4, 4}, 0xFFFFFF, 0xFFFFFF, true);   // outside the clip box
    GradientFill(target, {0, 0, 2, 0}, 0xFFFFFF, 0xFFFFFF, true);   // no height
    GradientFill(target, {1, 0, 0, 2}, 0xFFFFFF, 0xFFFFFF, false);  // negative width
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(p.GetPixel(x, y), 0);
    PixelBuffer empty;
    PixelFillTarget none(empty);
    GradientFill(none, {0, 0, 5, 5}, 0, 0xFFFFFF, true);
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(GradientTable(i).empty());  // nothing was even computed
}

TEST_F(ImgUtil, GradientFillResolvesSystemColours) {
    SetSysColourSource(SystemColour);
    PixelBuffer p(1, 2);
    PixelFillTarget target(p);
    GradientFill(target, {0, 0, 1, 2}, static_cast<std::int32_t>(0xFF00000F), 0x000000, true);
    EXPECT_EQ(p.GetPixel(0, 0), 0xC0C0C0);
}
