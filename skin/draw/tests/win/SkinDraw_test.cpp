// The GDI drawing routines against the software renderer: the same image strips drawn both ways must give
// the same pixels (a stretched pixel may come from the neighbouring source pixel: StretchBlt rounds its
// own way), with both transparent-copy methods; plus window regions and the parent background.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/win/Application.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "skin/draw/SkinRaster.h"
#include "skin/draw/win/SkinDraw.h"

using namespace kes;

namespace {

constexpr std::int32_t kGrey = 0x808080;
constexpr std::int32_t kMagenta = 0xFF00FF;

void CopyInto(TBitmap& bmp, const PixelBuffer& p) {
    GdiFlush();
    for (int y = 0; y < p.Height(); ++y) std::memcpy(bmp.ScanLine(y), p.Row(y), static_cast<size_t>(p.Width()) * 3);
}
std::unique_ptr<TBitmap> ToBitmap(const PixelBuffer& p) {
    auto bmp = std::make_unique<TBitmap>(p.Width(), p.Height());
    CopyInto(*bmp, p);
    return bmp;
}
PixelBuffer FromBitmap(const TBitmap& bmp) {
    GdiFlush();
    PixelBuffer p(bmp.Width(), bmp.Height(), false);
    for (int y = 0; y < p.Height(); ++y) std::memcpy(p.Row(y), bmp.ScanLine(y), static_cast<size_t>(p.Width()) * 3);
    return p;
}
PixelBuffer Grey(int w, int h) {
    PixelBuffer p(w, h, false);
    p.FillRect({0, 0, w, h}, kGrey);
    return p;
}

// A strip whose every pixel names itself (red = x, green = y, blue 0x40), with magenta corners per frame.
PixelBuffer Coded(int w, int h, int frames = 1, bool vertical = false);
// The same with the first two and the last column of each frame magenta (for pieces stretched in height).
PixelBuffer ColumnKeyed(int w, int h, int frames) {
    PixelBuffer p = Coded(w, h, frames);
    for (int k = 1; k <= frames; ++k) {
        const PixelRect f = StripFrame(w, h, k, frames, false);
        p.FillRect({f.Left, 0, f.Left + 2, h}, kMagenta);
        p.FillRect({f.Right - 1, 0, f.Right, h}, kMagenta);
    }
    return p;
}
PixelBuffer Coded(int w, int h, int frames, bool vertical) {
    PixelBuffer p(w, h, false);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.SetPixel(x, y, x | (y << 8) | 0x400000);
    for (int k = 1; k <= frames; ++k) {
        const PixelRect f = StripFrame(w, h, k, frames, vertical);
        for (auto [x, y] :
             {std::pair{f.Left, f.Top}, {f.Right - 1, f.Top}, {f.Left, f.Bottom - 1}, {f.Right - 1, f.Bottom - 1}})
            p.SetPixel(x, y, kMagenta);
    }
    return p;
}

bool Decoded(std::int32_t c) { return (c >> 16) == 0x40; }

// Pixel by pixel. With `stretched`, StretchBlt may round differently from the software renderer: a pixel may
// then equal a software pixel next to it, or come from a source pixel at most 3 steps from the software's.
testing::AssertionResult SamePicture(const PixelBuffer& gdi, const PixelBuffer& soft, bool stretched) {
    if (gdi.Width() != soft.Width() || gdi.Height() != soft.Height())
        return testing::AssertionFailure()
               << "size " << gdi.Width() << "x" << gdi.Height() << " vs " << soft.Width() << "x" << soft.Height();
    int bad = 0;
    std::string first;
    for (int y = 0; y < gdi.Height(); ++y)
        for (int x = 0; x < gdi.Width(); ++x) {
            const std::int32_t g = gdi.GetPixel(x, y), s = soft.GetPixel(x, y);
            bool ok = g == s;
            if (!ok && stretched) {
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx >= 0 && ny >= 0 && nx < soft.Width() && ny < soft.Height() && soft.GetPixel(nx, ny) == g)
                            ok = true;
                    }
                if (Decoded(g) && Decoded(s) && std::abs((g & 0xFF) - (s & 0xFF)) <= 3 &&
                    std::abs(((g >> 8) & 0xFF) - ((s >> 8) & 0xFF)) <= 3)
                    ok = true;
            }
            if (!ok && bad++ == 0)
                first = "at " + std::to_string(x) + "," + std::to_string(y) + " gdi " + std::to_string(g) + " soft " +
                        std::to_string(s);
        }
    if (bad) return testing::AssertionFailure() << bad << " pixels differ, first " << first;
    return testing::AssertionSuccess();
}

// Runs a drawing both ways on a grey target of w x h and compares, once per transparent-copy method.
void Compare(int w, int h, const std::function<void(HDC, TCanvas&)>& gdi, const std::function<void(PixelBuffer&)>& soft,
             bool stretched) {
    PixelBuffer want = Grey(w, h);
    soft(want);
    for (bool nt : {true, false}) {
        SCOPED_TRACE(nt ? "mask blit" : "xor/and blits");
        SetSkinIsNT(nt);
        auto target = ToBitmap(Grey(w, h));
        gdi(target->Canvas().Handle(), target->Canvas());
        EXPECT_TRUE(SamePicture(FromBitmap(*target), want, stretched));
    }
    SetSkinIsNT(true);
}

struct SliceCase {
    PixelRect Rect;
    SkinMargins Margins;
    int Frame, Frames;
    bool Transparent, Tile, Vertical;
};
const SliceCase kSlices[] = {
    {{5, 6, 65, 46}, {4, 3, 5, 2}, 2, 3, false, false, false},    // growing
    {{5, 6, 65, 46}, {4, 3, 5, 2}, 2, 3, true, true, false},      // tiled centre, transparent
    {{0, 0, 20, 16}, {4, 3, 5, 2}, 3, 3, true, false, false},     // own size
    {{3, 3, 15, 12}, {4, 3, 5, 2}, 1, 3, false, false, false},    // shrinking
    {{2, 2, 12, 40}, {6, 3, 6, 3}, 1, 3, true, false, false},     // margins dropped
    {{-4, -3, 30, 20}, {2, 2, 2, 2}, 2, 2, true, true, true},     // vertical strip, sticking out
    {{10, 10, 10, 30}, {2, 2, 2, 2}, 1, 3, false, false, false},  // empty
    {{20, 10, 10, 30}, {2, 2, 2, 2}, 1, 3, false, false, false},  // inverted
};

TEST(SkinDrawGdi, StretchSkinImageMatchesTheSoftwarePicture) {
    const PixelBuffer strip = Coded(60, 16, 3);
    auto image = ToBitmap(strip);
    for (const SliceCase& c : kSlices) {
        if (c.Vertical) continue;
        SCOPED_TRACE(testing::Message() << c.Rect.Left << "," << c.Rect.Top << "," << c.Rect.Right << ","
                                        << c.Rect.Bottom);
        auto bmp = StretchSkinImage({c.Rect.Left, c.Rect.Top, c.Rect.Right, c.Rect.Bottom}, *image, c.Margins, c.Frame,
                                    c.Frames, c.Tile, false);
        ASSERT_TRUE(bmp);
        const PixelBuffer soft = StretchSkinImage(c.Rect, strip, c.Margins, c.Frame, c.Frames, c.Tile, false);
        if (soft.Width() == 0 || soft.Height() == 0) {
            EXPECT_TRUE(bmp->Empty());
            continue;
        }
        EXPECT_TRUE(SamePicture(FromBitmap(*bmp), soft, true));
    }
}

TEST(SkinDrawGdi, DrawSkinImageMatchesInBothTransparencyMethods) {
    const PixelBuffer strip = Coded(60, 16, 3), tall = Coded(20, 24, 2, true);
    auto image = ToBitmap(strip), tallImage = ToBitmap(tall);
    for (const SliceCase& c : kSlices) {
        SCOPED_TRACE(testing::Message() << c.Rect.Left << "," << c.Rect.Top << "," << c.Rect.Right << ","
                                        << c.Rect.Bottom);
        const PixelBuffer& src = c.Vertical ? tall : strip;
        TBitmap& img = c.Vertical ? *tallImage : *image;
        const TRect r{c.Rect.Left, c.Rect.Top, c.Rect.Right, c.Rect.Bottom};
        Compare(
            70, 50,
            [&](HDC dc, TCanvas&) {
                DrawSkinImage(dc, r, img, c.Margins, c.Frame, c.Frames, c.Transparent, c.Tile, c.Vertical);
            },
            [&](PixelBuffer& t) {
                DrawSkinImage(t, c.Rect, src, c.Margins, c.Frame, c.Frames, c.Transparent, c.Tile, c.Vertical);
            },
            true);
    }
}

TEST(SkinDrawGdi, ThreeSliceFramesAndChunksMatch) {
    const PixelBuffer strip = ColumnKeyed(36, 10, 3);  // 12 x 10 frames
    auto image = ToBitmap(strip);
    struct Case {
        PixelRect Rect;
        SkinMargins Margins;
        bool Transparent;
    };
    for (const Case& c : {Case{{2, 4, 62, 16}, {3, 0, 4, 0}, false}, Case{{2, 4, 62, 40}, {3, 0, 4, 0}, true},
                          Case{{0, 0, 50, 5}, {5, 0, 7, 0}, false}, Case{{1, 1, 9, 30}, {8, 0, 8, 0}, true}}) {
        const TRect r{c.Rect.Left, c.Rect.Top, c.Rect.Right, c.Rect.Bottom};
        SCOPED_TRACE(testing::Message() << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom);
        Compare(
            64, 44,
            [&](HDC, TCanvas& canvas) { DrawSkinImage3(canvas, r, *image, c.Margins, 2, 3, c.Transparent, false); },
            [&](PixelBuffer& t) { DrawSkinImage3(t, c.Rect, strip, c.Margins, 2, 3, c.Transparent, false); }, true);
        Compare(
            64, 44, [&](HDC dc, TCanvas&) { StretchSkinFrame(dc, r, *image, c.Margins, 3, 3, true, false); },
            [&](PixelBuffer& t) { StretchSkinFrame(t, c.Rect, strip, c.Margins, 3, 3, false); }, true);
        Compare(
            64, 44, [&](HDC dc, TCanvas&) { DrawSkinFrame(dc, r, *image, 1, 3, c.Transparent); },
            [&](PixelBuffer& t) { DrawSkinFrame(t, c.Rect, strip, 1, 3, c.Transparent); }, true);
    }
}

TEST(SkinDrawGdi, CentredFramesAndTilesMatchExactly) {
    const PixelBuffer strip = Coded(30, 8, 3);  // 10 x 8 frames
    auto image = ToBitmap(strip);
    for (const PixelRect& rc : {PixelRect{10, 10, 31, 20}, PixelRect{10, 10, 14, 12}, PixelRect{-3, -2, 2, 1},
                                PixelRect{40, 30, 40, 30}, PixelRect{40, 30, 39, 30}}) {
        const TRect r{rc.Left, rc.Top, rc.Right, rc.Bottom};
        for (bool transparent : {false, true})
            Compare(
                44, 34, [&](HDC dc, TCanvas&) { DrawSkinFrameCentered(dc, r, *image, 2, 3, transparent); },
                [&](PixelBuffer& t) { DrawSkinFrameCentered(t, rc, strip, 2, 3, transparent); }, false);
        Compare(
            44, 34,
            [&](HDC, TCanvas& canvas) {
                TileBitmap(canvas, r, *image, {3, 1, 7, 6});
            },
            [&](PixelBuffer& t) {
                TileBitmap(t, rc, strip, {3, 1, 7, 6});
            },
            false);
    }
}

TEST(SkinDrawGdi, TransparentCopyMethodsAgreeAndStayInsideTheImage) {
    PixelBuffer img = Coded(12, 9);
    img.FillRect({3, 3, 6, 5}, 0x00FF00);
    auto image = ToBitmap(img);
    for (std::int32_t key : {kMagenta, 0x00FF00, 0x123456})
        for (const PixelRect& rc : {PixelRect{2, 3, 14, 12}, PixelRect{2, 3, 40, 30}, PixelRect{-5, -4, 4, 3}}) {
            const TRect r{rc.Left, rc.Top, rc.Right, rc.Bottom};
            Compare(
                30, 20, [&](HDC dc, TCanvas&) { DrawTransparent(dc, r, *image, key); },
                [&](PixelBuffer& t) { DrawTransparent(t, rc, img, key); }, false);
        }
    // The DC's colours are left as they were by the XOR/AND method.
    SetSkinIsNT(false);
    auto target = ToBitmap(Grey(20, 20));
    HDC dc = target->Canvas().Handle();
    SetBkColor(dc, RGB(1, 2, 3));
    SetTextColor(dc, RGB(4, 5, 6));
    DrawTransparent(dc, {0, 0, 12, 9}, *image, kMagenta);
    EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetTextColor(dc), RGB(4, 5, 6));
    SetSkinIsNT(true);
}

TEST(SkinDrawGdi, HugeOrEmptyPicturesNeverThrow) {
    auto image = ToBitmap(Coded(20, 10));
    auto target = ToBitmap(Grey(10, 10));
    HDC dc = target->Canvas().Handle();
    // Work bitmaps that the system cannot make: the routines return quietly.
    DrawSkinImage(dc, {0, 0, 60000, 60000}, *image, {2, 2, 2, 2}, 1, 1, true, true, false);
    DrawSkinImage3(target->Canvas(), {0, 0, 60000, 60000}, *image, {2, 2, 2, 2}, 1, 1, true, false);
    DrawSkinFrame(dc, {0, 0, 60000, 60000}, *image, 1, 1, false);
    auto refreshed = ToBitmap(Grey(10, 10));
    dc = refreshed->Canvas().Handle();
    TBitmap empty;
    DrawSkinImage(dc, {0, 0, 10, 10}, empty, {}, 1, 1, true, false, false);
    DrawSkinFrameCentered(dc, {0, 0, 10, 10}, empty, 1, 1, true);
    DrawTransparent(dc, {0, 0, 10, 10}, empty, kMagenta);
    StretchSkinFrame(dc, {0, 0, 10, 10}, empty, {}, 1, 1, false, false);
    EXPECT_TRUE(SamePicture(FromBitmap(*refreshed), Grey(10, 10), false));
    // Frame counts below 1 draw the whole strip instead of dividing by zero.
    DrawSkinFrame(dc, {0, 0, 10, 10}, *image, 1, 0, false);
    EXPECT_NE(FromBitmap(*refreshed).GetPixel(5, 5), kGrey);
}

TEST(SkinDrawGdi, PixelBufferImagesDrawLikeBitmaps) {
    // A bottom-up buffer (as images are loaded from bitmap files) and its bitmap copy.
    const PixelBuffer topDown = Coded(60, 16, 3);
    PixelBuffer bottomUp(60, 16, true);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 60; ++x) bottomUp.SetPixel(x, y, topDown.GetPixel(x, y));
    auto image = ToBitmap(topDown);
    const TRect r{3, 2, 50, 30};
    using Draw = std::function<void(HDC, TCanvas&, bool)>;  // true: from the buffer
    const Draw draws[] = {
        [&](HDC dc, TCanvas&, bool b) {
            b ? DrawSkinImage(dc, r, bottomUp, {4, 3, 5, 2}, 2, 3, true, true, false)
              : DrawSkinImage(dc, r, *image, {4, 3, 5, 2}, 2, 3, true, true, false);
        },
        [&](HDC, TCanvas& c, bool b) {
            b ? DrawSkinImage3(c, r, bottomUp, {4, 0, 5, 0}, 3, 3, true, false)
              : DrawSkinImage3(c, r, *image, {4, 0, 5, 0}, 3, 3, true, false);
        },
        [&](HDC dc, TCanvas&, bool b) {
            b ? DrawSkinFrame(dc, r, bottomUp, 1, 3, false) : DrawSkinFrame(dc, r, *image, 1, 3, false);
        },
        [&](HDC dc, TCanvas&, bool b) {
            b ? DrawSkinFrameCentered(dc, r, bottomUp, 2, 3, true) : DrawSkinFrameCentered(dc, r, *image, 2, 3, true);
        },
        [&](HDC dc, TCanvas&, bool b) {
            b ? StretchSkinFrame(dc, r, bottomUp, {2, 0, 2, 0}, 3, 3, false, false)
              : StretchSkinFrame(dc, r, *image, {2, 0, 2, 0}, 3, 3, false, false);
        },
        [&](HDC dc, TCanvas&, bool b) {
            b ? DrawTransparent(dc, r, bottomUp, kMagenta) : DrawTransparent(dc, r, *image, kMagenta);
        },
        [&](HDC, TCanvas& c, bool b) {
            b ? TileBitmap(c, r, bottomUp, {5, 1, 12, 9}) : TileBitmap(c, r, *image, {5, 1, 12, 9});
        },
    };
    int n = 0;
    for (const Draw& draw : draws) {
        SCOPED_TRACE(n++);
        auto fromBuffer = ToBitmap(Grey(56, 34)), fromBitmap = ToBitmap(Grey(56, 34));
        draw(fromBuffer->Canvas().Handle(), fromBuffer->Canvas(), true);
        draw(fromBitmap->Canvas().Handle(), fromBitmap->Canvas(), false);
        const PixelBuffer a = FromBitmap(*fromBuffer);
        EXPECT_TRUE(SamePicture(a, FromBitmap(*fromBitmap), false));
        EXPECT_FALSE(SamePicture(a, Grey(56, 34), false));
    }
    auto bmp = StretchSkinImage(r, bottomUp, {4, 3, 5, 2}, 1, 3, false, false);
    ASSERT_TRUE(bmp);
    EXPECT_TRUE(SamePicture(
        FromBitmap(*bmp), StretchSkinImage(PixelRect{3, 2, 50, 30}, topDown, {4, 3, 5, 2}, 1, 3, false, false), true));
    const UniqueGdi<HRGN> a(BitmapToRegion(bottomUp, 2, 3, kMagenta, 0, 0, 0));
    const UniqueGdi<HRGN> b(BitmapToRegion(*image, 2, 3, kMagenta, 0, 0, 0));
    EXPECT_TRUE(EqualRgn(a.Get(), b.Get()));
    EXPECT_FALSE(PtInRegion(a.Get(), 2, 3));
    EXPECT_TRUE(PtInRegion(a.Get(), 3, 3));
}

// ---- regions ----

std::vector<PixelRect> Runs(const PixelBuffer& img, int dx, int dy, RegionKey key) {
    return RegionRuns(img, dx, dy, key);
}

// Every pixel of the image inside the region exactly when the key keeps it.
void ExpectRegionCovers(HRGN rgn, const PixelBuffer& img, int dx, int dy, const RegionKey& key) {
    int bad = 0;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            const bool kept = !key.LeavesOut(img.GetPixel(x, y));
            if ((PtInRegion(rgn, x + dx, y + dy) != 0) != kept && bad++ < 3)
                ADD_FAILURE() << "pixel " << x << "," << y << (kept ? " missing" : " included");
        }
    EXPECT_EQ(bad, 0);
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_GE(box.left, dx);
    EXPECT_GE(box.top, dy);
    EXPECT_LE(box.right, dx + img.Width());
    EXPECT_LE(box.bottom, dy + img.Height());
}

TEST(SkinDrawGdi, RegionOfAMagentaCorneredBorderLeavesTheCornersOut) {
    // A 40 x 30 border whose corners are rounded off with magenta (3, 2 and 1 pixels on the first rows).
    PixelBuffer img(40, 30, false);
    img.FillRect({0, 0, 40, 30}, 0x996633);
    for (int i = 0; i < 3; ++i) {
        const int n = 3 - i;
        img.FillRect({0, i, n, i + 1}, kMagenta);
        img.FillRect({40 - n, i, 40, i + 1}, kMagenta);
        img.FillRect({0, 29 - i, n, 30 - i}, kMagenta);
        img.FillRect({40 - n, 29 - i, 40, 30 - i}, kMagenta);
    }
    auto bmp = ToBitmap(img);
    UniqueGdi<HRGN> rgn(BitmapToRegion(*bmp, 7, 5, kMagenta, 0, 0, 0));
    ASSERT_TRUE(rgn);
    for (auto [x, y] : {std::pair{0, 0}, {39, 0}, {0, 29}, {39, 29}, {2, 0}, {1, 1}, {0, 2}})
        EXPECT_FALSE(PtInRegion(rgn.Get(), x + 7, y + 5)) << x << "," << y;
    for (auto [x, y] : {std::pair{3, 0}, {1, 2}, {0, 3}, {20, 15}, {36, 29}, {39, 26}})
        EXPECT_TRUE(PtInRegion(rgn.Get(), x + 7, y + 5)) << x << "," << y;
    ExpectRegionCovers(rgn.Get(), img, 7, 5, RegionKey{});
}

TEST(SkinDrawGdi, RegionOfMoreThanOneBatchIsTheUnionOfAllRuns) {
    // A checkerboard of 150 x 40: 3000 runs, joined from two batches.
    PixelBuffer img(150, 40, false);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 150; ++x) img.SetPixel(x, y, (x + y) % 2 ? kMagenta : 0x00AA00);
    ASSERT_GT(Runs(img, 0, 0, RegionKey{}).size(), static_cast<size_t>(kRegionBatch));
    auto bmp = ToBitmap(img);
    UniqueGdi<HRGN> rgn(BitmapToRegion(*bmp, -10, 3, kMagenta, 0, 0, 0));
    ASSERT_TRUE(rgn);
    ExpectRegionCovers(rgn.Get(), img, -10, 3, RegionKey{});
}

TEST(SkinDrawGdi, RegionToleranceAndImagesWithNothingToKeep) {
    PixelBuffer img(4, 1, false);  // a single row is enough
    img.SetPixel(0, 0, 0xFF00FF);  // (255, 0, 255)
    img.SetPixel(1, 0, 0xFF01FF);  // (255, 1, 255)
    img.SetPixel(2, 0, 0xFF00FE);  // (254, 0, 255)
    img.SetPixel(3, 0, 0x000000);
    auto bmp = ToBitmap(img);
    UniqueGdi<HRGN> rgn(BitmapToRegion(*bmp, 0, 0, kMagenta, 1, 1, 1));
    ASSERT_TRUE(rgn);
    EXPECT_FALSE(PtInRegion(rgn.Get(), 0, 0));
    EXPECT_FALSE(PtInRegion(rgn.Get(), 1, 0));
    EXPECT_TRUE(PtInRegion(rgn.Get(), 2, 0));
    EXPECT_TRUE(PtInRegion(rgn.Get(), 3, 0));
    // All key, or no pixels at all: no region (a null region leaves a window whole).
    PixelBuffer all(5, 5, false);
    all.FillRect({0, 0, 5, 5}, kMagenta);
    auto allKey = ToBitmap(all);
    EXPECT_EQ(BitmapToRegion(*allKey, 0, 0, kMagenta, 0, 0, 0), nullptr);
    TBitmap empty;
    EXPECT_EQ(BitmapToRegion(empty, 0, 0, kMagenta, 0, 0, 0), nullptr);
    // Without key pixels: the whole image.
    auto plain = ToBitmap(Grey(6, 3));
    rgn.Reset(BitmapToRegion(*plain, 1, 1, kMagenta, 0, 0, 0));
    RECT box;
    EXPECT_EQ(GetRgnBox(rgn.Get(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(box.bottom, 4);
}

// ---- parent background ----

class ParentBackground : public testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 200, 150);
        panel = new TPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(30, 20, 50, 40);
        ASSERT_TRUE(form->Handle());
        form->AddMessageHandler([this](TMessage& m) {
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            if (m.Msg == WM_ERASEBKGND && dc) {
                RECT all{0, 0, 200, 150};
                const UniqueGdi<HBRUSH> b(CreateSolidBrush(RGB(0, 0, 200)));
                FillRect(dc, &all, b.Get());
                m.Result = 1;
                ++erased;
                return true;
            }
            if (m.Msg == WM_PAINT && dc) {
                ++painted;
                if (throwOnPaint) throw std::runtime_error("paint failed");
                RECT mark{35, 25, 40, 30};  // parent coordinates
                const UniqueGdi<HBRUSH> b(CreateSolidBrush(RGB(200, 0, 0)));
                FillRect(dc, &mark, b.Get());
                return true;
            }
            return false;
        });
    }
    void TearDown() override { form.reset(); }

    std::unique_ptr<TForm> form;
    TPanel* panel = nullptr;
    int erased = 0, painted = 0;
    bool throwOnPaint = false;
};

TEST_F(ParentBackground, ParentPaintsUnderTheControlInItsCoordinates) {
    auto target = ToBitmap(Grey(60, 50));
    HDC dc = target->Canvas().Handle();
    DrawParentBackground(*panel, dc, true);
    EXPECT_EQ(erased, 1);
    EXPECT_EQ(painted, 1);
    const PixelBuffer got = FromBitmap(*target);
    // The panel's client area lies inside its one-pixel bevel: (1, 1) to (49, 39).
    ASSERT_EQ(panel->ClientRect(), (TRect{1, 1, 49, 39}));
    EXPECT_EQ(got.GetPixel(1, 1), 0xC80000);  // blue background (0x00BBGGRR)
    EXPECT_EQ(got.GetPixel(5, 5), 0x0000C8);  // the parent's mark at (35, 25) lands at (5, 5)
    EXPECT_EQ(got.GetPixel(9, 9), 0x0000C8);
    EXPECT_EQ(got.GetPixel(10, 10), 0xC80000);
    EXPECT_EQ(got.GetPixel(48, 38), 0xC80000);
    EXPECT_EQ(got.GetPixel(0, 0), kGrey);  // outside the control's client area
    EXPECT_EQ(got.GetPixel(49, 38), kGrey);
    EXPECT_EQ(got.GetPixel(48, 39), kGrey);
    // The DC is given back as it was.
    POINT org{};
    GetViewportOrgEx(dc, &org);
    EXPECT_EQ(org.x, 0);
    EXPECT_EQ(org.y, 0);
    RECT clip;
    EXPECT_EQ(GetClipBox(dc, &clip), SIMPLEREGION);
    EXPECT_EQ(clip.right, 60);
}

TEST_F(ParentBackground, NoParentNoPaintAndAFailingPaintStaysInItsWindowProcedure) {
    TPanel orphan(nullptr);
    auto target = ToBitmap(Grey(10, 10));
    DrawParentBackground(orphan, target->Canvas().Handle());
    EXPECT_EQ(erased, 0);
    int reported = 0;
    TApplication app;
    app.OnException = [&](TObject*, const std::exception&) { ++reported; };
    throwOnPaint = true;
    HDC dc = target->Canvas().Handle();
    EXPECT_NO_THROW(DrawParentBackground(*panel, dc));
    EXPECT_EQ(painted, 1);
    EXPECT_EQ(reported, 1);
    POINT org{};
    GetViewportOrgEx(dc, &org);
    EXPECT_EQ(org.x, 0);
}

TEST(SkinDrawGdi, WorkBitmapStretchesColourOnColour) {
    TBitmap& work = SkinWorkBitmap();
    work.SetSize(16, 8);
    EXPECT_EQ(GetStretchBltMode(SkinWorkBitmap().Canvas().Handle()), COLORONCOLOR);
    EXPECT_EQ(&work, &SkinWorkBitmap());
}

}  // namespace
