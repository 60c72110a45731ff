// The window region cut from our default skin's borders, as the program stores the skin: the rounded
// corners lie outside it, the rest of the window inside.
#include <gtest/gtest.h>

#include "skin/data/win/SkinDataWin.h"
#include "skin/draw/win/SkinObjectDraw.h"

using namespace kes;

namespace {

TEST(DefaultSkinRegion, RoundedCornersAreOutsideTheWindowRegion) {
    TSkinData sd;
    ASSERT_TRUE(LoadStoredSkin(sd));
    const TDataSkinObject& left = sd.Left;
    const TDataSkinObject& right = sd.Right;
    ASSERT_TRUE(left.HasImage() && right.HasImage());
    // A 400 x 300 window picture: grey inside, the two side borders (first frame) drawn down its edges.
    const int W = 400, H = 300;
    TBitmap window(W, H);
    window.Canvas().Brush().Color = RGBColor(128, 128, 128);
    window.Canvas().FillRect({0, 0, W, H});
    HDC dc = window.Canvas().Handle();
    const int lw = left.FrameWidth(), rw = right.FrameWidth();
    DrawSkinImage(dc, {0, 0, lw, H}, left.Image, {0, left.TopHeight, 0, left.BottomHeight}, 1, left.Frame, false, false,
                  false);
    DrawSkinImage(dc, {W - rw, 0, W, H}, right.Image, {0, right.TopHeight, 0, right.BottomHeight}, 1, right.Frame,
                  false, false, false);
    const UniqueGdi<HRGN> rgn(BitmapToRegion(window, 10, 20, clFuchsia, 0, 0, 0));
    ASSERT_TRUE(rgn);
    for (auto [x, y] : {std::pair{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}, {1, 0}, {0, 1}})
        EXPECT_FALSE(PtInRegion(rgn.Get(), x + 10, y + 20)) << x << "," << y;
    for (auto [x, y] : {std::pair{W / 2, 0}, {0, H / 2}, {W - 1, H / 2}, {W / 2, H - 1}, {W / 2, H / 2}, {10, 10}})
        EXPECT_TRUE(PtInRegion(rgn.Get(), x + 10, y + 20)) << x << "," << y;
    RECT box;
    GetRgnBox(rgn.Get(), &box);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 20);
    EXPECT_EQ(box.right, 10 + W);
    EXPECT_EQ(box.bottom, 20 + H);
}

}  // namespace
