// The drawing routines fed from loaded skins: on the test skin (every frame one solid colour) each routine
// must find frame k of every strip; on our default skin the window region cut from a side border must
// leave its rounded corners out.
#include <gtest/gtest.h>

#include <memory>

#include "SkinTestSupport.h"
#include "skin/draw/SkinRaster.h"

using namespace kes;

namespace {

SkinMargins MarginsOf(const TDataSkinObject& o) { return {o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight}; }

std::unique_ptr<TSkinData> Loaded(const std::string& stream) {
    auto sd = std::make_unique<TSkinData>(nullptr, std::make_unique<test::FakePlatform>());
    if (!sd->ReadSkinStream(stream)) return nullptr;
    return sd;
}

TEST(TestSkinDraw, EveryRoutineFindsEveryFrameOfTheStrips) {
    auto sd = Loaded(test::FullSkin());
    ASSERT_TRUE(sd);
    struct Case {
        const char* object;
        const char* bitmap;
        bool vertical;
    };
    for (const Case& c : {Case{"Buttons", "button.bmp", false}, Case{"Scrollbar", "scrollbar.bmp", false},
                          Case{"Left", "left.bmp", false}, Case{"Top", "top.bmp", true},
                          Case{"Bottom", "bottom.bmp", true}, Case{"MenuItem", "menuitem.bmp", false}}) {
        const TDataSkinObject* o = sd->FindObject(c.object);
        ASSERT_NE(o, nullptr) << c.object;
        ASSERT_TRUE(o->HasImage()) << c.object;
        ASSERT_GT(o->Frame, 1) << c.object;
        for (int k = 1; k <= o->Frame; ++k) {
            SCOPED_TRACE(testing::Message() << c.object << " frame " << k);
            const std::int32_t want = test::Colour(c.bitmap, k);
            const PixelRect r{3, 2, 43, 32};
            PixelBuffer t(46, 34, false);
            DrawSkinImage(t, r, o->Image, MarginsOf(*o), k, o->Frame, false, true, c.vertical);
            for (auto [x, y] : {std::pair{3, 2}, {42, 31}, {20, 15}, {42, 2}, {3, 31}})
                EXPECT_EQ(t.GetPixel(x, y), want);
            EXPECT_EQ(t.GetPixel(2, 2), 0);
            t = PixelBuffer(46, 34, false);
            DrawSkinImage3(t, r, o->Image, MarginsOf(*o), k, o->Frame, false, c.vertical);
            EXPECT_EQ(t.GetPixel(3, 2), want);
            EXPECT_EQ(t.GetPixel(42, 31), want);
            t = PixelBuffer(46, 34, false);
            StretchSkinFrame(t, r, o->Image, MarginsOf(*o), k, o->Frame, c.vertical);
            EXPECT_EQ(t.GetPixel(3, 2), want);
            EXPECT_EQ(t.GetPixel(42, 31), want);
            if (c.vertical) continue;  // the next two take horizontal strips only
            t = PixelBuffer(46, 34, false);
            DrawSkinFrame(t, r, o->Image, k, o->Frame, false);
            EXPECT_EQ(t.GetPixel(3, 2), want);
            EXPECT_EQ(t.GetPixel(42, 31), want);
            t = PixelBuffer(46, 34, false);
            DrawSkinFrameCentered(t, r, o->Image, k, o->Frame, false);
            EXPECT_EQ(t.GetPixel(23, 17), want);
        }
    }
}

TEST(TestSkinDraw, DefaultSkinSideBorderRegionLeavesTheRoundedCornersOut) {
    auto sd = Loaded(art::SkinStreamOf(art::PackSkin(art::DefaultSkin())));
    ASSERT_TRUE(sd);
    for (const char* side : {"Left", "Right"}) {
        SCOPED_TRACE(side);
        const TDataSkinObject* o = sd->FindObject(side);
        ASSERT_NE(o, nullptr);
        ASSERT_EQ(o->Trans, 1);
        const int fw = o->FrameWidth();
        // The side of a 300-pixel-high window: caption and bottom rows 1:1, the frame between stretched.
        const PixelBuffer pic = StretchSkinImage({0, 0, fw, 300}, o->Image, {0, o->TopHeight, 0, o->BottomHeight}, 1,
                                                 o->Frame, false, false);
        const auto runs = RegionRuns(pic, 0, 0, RegionKey{});
        auto inside = [&](int x, int y) {
            for (const PixelRect& r : runs)
                if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return true;
            return false;
        };
        const int outer = side == std::string("Left") ? 0 : fw - 1, inner = fw - 1 - outer;
        EXPECT_FALSE(inside(outer, 0));
        EXPECT_FALSE(inside(outer, 299));
        EXPECT_TRUE(inside(inner, 0));
        EXPECT_TRUE(inside(outer, 150));
        EXPECT_TRUE(inside(inner, 299));
        // No magenta pixel is inside, every other pixel is.
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < fw; ++x) ASSERT_EQ(inside(x, y), pic.GetPixel(x, y) != 0xFF00FF) << x << "," << y;
    }
}

}  // namespace
