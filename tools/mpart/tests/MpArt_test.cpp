// The media player's glyphs: names, size, depth, the olive surround, and the three states told apart.
#include <gtest/gtest.h>

#include <set>

#include "Bmp.h"
#include "MpArt.h"

using namespace kes;
using namespace kes::mpart;

namespace {

// Pixels that are not the surround.
int Inked(const PixelBuffer& p) {
    int n = 0;
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x) n += p.GetPixel(x, y) != kBackground;
    return n;
}

}  // namespace

TEST(MpArt, TwentySevenGlyphsInFourBitsOnOlive) {
    const auto glyphs = DrawMediaGlyphs();
    ASSERT_EQ(glyphs.size(), 27u);
    std::set<std::string> names;
    for (const auto& g : glyphs) {
        names.insert(g.Name);
        SCOPED_TRACE(g.Name);
        EXPECT_EQ(g.Image.Width(), kWidth);
        EXPECT_EQ(g.Image.Height(), kHeight);
        // The corners are surround (the bottom-left one is what a transparent draw takes as its key).
        EXPECT_EQ(g.Image.GetPixel(0, 0), kBackground);
        EXPECT_EQ(g.Image.GetPixel(kWidth - 1, 0), kBackground);
        EXPECT_EQ(g.Image.GetPixel(0, kHeight - 1), kBackground);
        EXPECT_EQ(g.Image.GetPixel(kWidth - 1, kHeight - 1), kBackground);
        EXPECT_GT(Inked(g.Image), 12);
        const std::string file = WriteBmp(g.Image, 4);  // throws past 16 colours
        ASSERT_GE(file.size(), 30u);
        EXPECT_EQ(file[28], 4);
        PixelBuffer back;
        std::string error;
        ASSERT_TRUE(ReadBmp(file, back, error)) << error;
        EXPECT_EQ(back.GetPixel(7, 5), g.Image.GetPixel(7, 5));
    }
    for (const char* kind : {"PLAY", "PAUSE", "STOP", "NEXT", "PREV", "STEP", "BACK", "RECORD", "EJECT"})
        for (const char* state : {"EN_", "DI_", "CL_"}) EXPECT_TRUE(names.count(std::string(state) + "MP" + kind));
}

TEST(MpArt, EachKindHasItsOwnShapeAndItsStatesDiffer) {
    const auto glyphs = DrawMediaGlyphs();
    std::set<std::string> shapes;
    for (size_t i = 0; i + 2 < glyphs.size(); i += 3) {
        SCOPED_TRACE(glyphs[i].Name);
        std::string mask;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) mask += glyphs[i].Image.GetPixel(x, y) == kBackground ? '.' : '#';
        shapes.insert(mask);
        int differ01 = 0, differ02 = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                differ01 += glyphs[i].Image.GetPixel(x, y) != glyphs[i + 1].Image.GetPixel(x, y);
                differ02 += glyphs[i].Image.GetPixel(x, y) != glyphs[i + 2].Image.GetPixel(x, y);
            }
        EXPECT_GT(differ01, 5) << "disabled differs from enabled";
        EXPECT_GT(differ02, 5) << "coloured differs from enabled";
    }
    EXPECT_EQ(shapes.size(), 9u);
}

TEST(MpArt, ResourceScriptNamesEveryFile) {
    const auto glyphs = DrawMediaGlyphs();
    const std::string rc = MediaResourceScript(glyphs, "/x/y");
    for (const auto& g : glyphs)
        EXPECT_NE(rc.find(g.Name + " BITMAP \"/x/y/" + g.Name + ".bmp\""), std::string::npos) << g.Name;
}
