// The lamp glyphs: names, size, depth, the transparent corner, and on/off told apart at the centre.
#include <gtest/gtest.h>

#include <set>

#include "Bmp.h"
#include "LedArt.h"

using namespace kes;
using namespace kes::ledart;

TEST(LedArt, TwelveGlyphsOfFifteenPixelsInFourBitsWithTheCornerTransparent) {
    const auto glyphs = DrawLedGlyphs();
    ASSERT_EQ(glyphs.size(), 12u);
    std::set<std::string> names;
    for (const auto& g : glyphs) {
        names.insert(g.Name);
        SCOPED_TRACE(g.Name);
        EXPECT_EQ(g.Image.Width(), 15);
        EXPECT_EQ(g.Image.Height(), 15);
        EXPECT_EQ(g.Image.GetPixel(0, 14), kBackground);  // the lamp's transparent colour
        EXPECT_NE(g.Image.GetPixel(7, 7), kBackground);
        const std::string file = WriteBmp(g.Image, 4);  // throws past 16 colours
        ASSERT_GE(file.size(), 30u);
        EXPECT_EQ(file[28], 4);  // bits per pixel in the file header
        PixelBuffer back;
        std::string error;
        ASSERT_TRUE(ReadBmp(file, back, error)) << error;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 15; ++x) ASSERT_EQ(back.GetPixel(x, y), g.Image.GetPixel(x, y)) << x << "," << y;
    }
    for (const char* kind : {"RED", "GREEN", "BLUE", "YELLOW", "PURPLE", "BULB"})
        for (const char* state : {"ON", "OFF"}) EXPECT_TRUE(names.count(std::string("LED") + kind + state));
}

TEST(LedArt, OnAndOffDifferWhereTheLampProbesThem) {
    const auto glyphs = DrawLedGlyphs();
    for (size_t i = 0; i + 1 < glyphs.size(); i += 2) {
        SCOPED_TRACE(glyphs[i].Name);
        EXPECT_NE(glyphs[i].Image.GetPixel(7, 7), glyphs[i + 1].Image.GetPixel(7, 7));
    }
}

TEST(LedArt, ResourceScriptNamesEveryFile) {
    const auto glyphs = DrawLedGlyphs();
    const std::string rc = LedResourceScript(glyphs, "/x/y");
    for (const auto& g : glyphs)
        EXPECT_NE(rc.find(g.Name + " BITMAP \"/x/y/" + g.Name + ".bmp\""), std::string::npos) << g.Name;
}
