// The skin data component in the Windows program: the stored skin resource, program bitmaps, system
// colours, caption font, face brush, menu glyphs and hint window. Links the program's skin resources.
#include <gtest/gtest.h>

#include "Bmp.h"
#include "SkinWriter.h"
#include "skin/container/ImgUtil.h"
#include "skin/data/ProgramBitmaps.h"
#include "skin/data/win/SkinDataWin.h"

using namespace kes;

namespace {

TEST(StoredSkin, TheProgramLoadsItsOwnSkin) {
    TSkinData sd;
    sd.BeginLoading();
    sd.SetActive(true);
    ASSERT_TRUE(LoadStoredSkin(sd));
    sd.EndLoading();
    EXPECT_FALSE(sd.NoSkin());
    EXPECT_TRUE(sd.Active());
    EXPECT_EQ(sd.SkinName, "Kestrup Graphite");
    EXPECT_EQ(sd.ObjectCount(), 47);
    EXPECT_EQ(sd.Left.Frame, 2);
    EXPECT_EQ(sd.Top.Image.Height() / sd.Top.Frame, 30);
    // The stored skin is written back unchanged.
    HRSRC res = FindResourceA(nullptr, kStoredSkinResource, MAKEINTRESOURCEA(10));
    ASSERT_NE(res, nullptr);
    EXPECT_EQ(sd.WriteSkinStream().size(), SizeofResource(nullptr, res));
}

TEST(StoredSkin, AMissingResourceIsNoSkin) {
    TSkinData sd;
    EXPECT_FALSE(LoadStoredSkin(sd, "NOSUCHSKIN"));
    EXPECT_TRUE(sd.NoSkin());
}

TEST(ProgramBitmaps, GroovesComeFromTheResourcesWhenTheSkinHasNone) {
    // A skin with nothing but a name.
    const std::string container = WriteSkinContainer(70000, {{"bare.ini", "[TitlebarSkin]\r\nSkinName=Bare\r\n"}});
    std::string stream(4, '\0');
    for (int i = 0; i < 4; ++i)
        stream[static_cast<std::size_t>(i)] = static_cast<char>((container.size() >> (8 * i)) & 0xFF);
    TSkinData sd;
    ASSERT_TRUE(sd.ReadSkinStream(stream + container));
    for (const auto* groove : {sd.Track.get(), sd.TrackVert.get()}) {
        ASSERT_NE(groove, nullptr);
        PixelBuffer expected;
        ASSERT_TRUE(DrawProgramBitmap(groove->Name, expected));
        ASSERT_EQ(groove->Image.Width(), expected.Width()) << groove->Name;
        ASSERT_EQ(groove->Image.Height(), expected.Height()) << groove->Name;
        for (int y = 0; y < expected.Height(); ++y)
            for (int x = 0; x < expected.Width(); ++x)
                EXPECT_EQ(groove->Image.GetPixel(x, y), expected.GetPixel(x, y))
                    << groove->Name << " " << x << "," << y;
        EXPECT_EQ(groove->LeftWidth, 3);
        EXPECT_EQ(groove->Frame, 1);
    }
}

TEST(Platform, SystemColoursFontBrushGlyphsAndHint) {
    TSkinData sd;
    EXPECT_EQ(ColourToRGB(static_cast<std::int32_t>(0xFF00000F)),
              static_cast<std::int32_t>(GetSysColor(COLOR_BTNFACE)));
    ASSERT_TRUE(LoadStoredSkin(sd));
    sd.BeginLoading();
    sd.EndLoading();
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
    ASSERT_NE(sd.CaptionFont(), nullptr);
    EXPECT_EQ(sd.CaptionFont()->Name(), ncm.lfCaptionFont.lfFaceName);
    EXPECT_EQ(sd.CaptionFont()->Height(), ncm.lfCaptionFont.lfHeight);

    HBRUSH brush = SkinFaceBrush(sd);
    ASSERT_NE(brush, nullptr);
    LOGBRUSH lb{};
    ASSERT_TRUE(GetObjectA(brush, sizeof lb, &lb));
    EXPECT_EQ(static_cast<std::int32_t>(lb.lbColor), sd.Colour(SkinColour::ButtonFace));

    HIMAGELIST glyphs = SkinMenuImages(sd);
    ASSERT_NE(glyphs, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(glyphs), 4);

    SkinHintWindow& hint = sd.Platform().HintWindow();
    const TRect r = hint.CalcHintRect(500, std::string(400, 'W'));
    EXPECT_LE(r.Width(), 500);
    EXPECT_GT(r.Height(), 0);
    hint.ActivateHint({100, 100, 160, 120}, "Close");
    EXPECT_TRUE(IsWindowVisible(SkinHintHandle(sd)));
    hint.Hide();
    EXPECT_FALSE(IsWindowVisible(SkinHintHandle(sd)));
}

}  // namespace
