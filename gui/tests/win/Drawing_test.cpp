// Pictures: the in-program capture of the gallery, canvas drawing, bitmaps, image lists, resources, printer.
#include "gui/tests/win/GalleryForm.h"

using namespace kes;
using namespace kes::gallery;

TEST_F(Gallery, CaptureOfTheFormMatchesPixelSamples) {
    TGalleryForm& f = *form_;
    f.Memo1->SetText("");
    Redraw();
    RECT wr;
    GetWindowRect(H(&f), &wr);
    TBitmap shot(wr.right - wr.left, wr.bottom - wr.top);
    {
        WindowDc dc(H(&f), true);
        BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), dc.Get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    const char* dir = std::getenv("KESTRUP_SHOT_DIR");
    const std::string path = std::string(dir ? dir : ".") + "/gui-gallery.bmp";
    EXPECT_TRUE(shot.SaveToFile(path));
    // Window coordinates of a client point of a control.
    auto at = [&](TWinControl* c, int x, int y) {
        POINT p{x, y};
        ClientToScreen(H(c), &p);
        return RGBColor(0, 0, 0) | shot.Canvas().Pixel(p.x - wr.left, p.y - wr.top);
    };
    EXPECT_EQ(at(f.Panel1, f.Panel1->Width() / 2 - 100, 30), clYellow);           // panel colour, away from the caption
    EXPECT_EQ(at(f.Memo1, 40, 40), clBlack);                                      // memo background
    EXPECT_EQ(at(f.Panel1, f.Shape1->Left() + 12, f.Shape1->Top() + 12), clRed);  // the shape's brush
    const TColor face = static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(at(f.StatusBar1, 40, f.StatusBar1->Height() - 4), face);  // status bar present, bottom edge
    EXPECT_TRUE(IsWindowVisible(H(f.StatusBar1)));
    // The saved file reads back as the same picture.
    TBitmap again;
    ASSERT_TRUE(again.LoadFromFile(path));
    EXPECT_EQ(again.Width(), shot.Width());
    EXPECT_EQ(again.Canvas().Pixel(shot.Width() / 2, 60), shot.Canvas().Pixel(shot.Width() / 2, 60));
}

TEST_F(Gallery, CanvasDrawsWithPenBrushAndFont) {
    TBitmap bmp(60, 40);
    TCanvas& c = bmp.Canvas();
    c.Brush().Color = clWhite;
    c.FillRect(Rect(0, 0, 60, 40));
    c.Pen().Color = clRed;
    c.Brush().Color = clLime;
    c.Rectangle(2, 2, 20, 20);
    EXPECT_EQ(c.Pixel(2, 10), clRed);    // outline in the pen
    EXPECT_EQ(c.Pixel(10, 10), clLime);  // inside in the brush
    c.Brush().Style = bsClear;
    c.Ellipse(30, 2, 50, 22);
    EXPECT_EQ(c.Pixel(40, 12), clWhite);  // a clear brush leaves the inside alone
    c.Pen().Color = clBlue;
    c.Pen().Width = 1;
    c.MoveTo(0, 30);
    c.LineTo(60, 30);
    EXPECT_EQ(c.Pixel(25, 30), clBlue);
    EXPECT_EQ(c.PenPos(), (TPoint{60, 30}));
    c.Font().SetName("Tahoma");
    c.Font().SetHeight(-11);
    EXPECT_GT(c.TextWidth("WWW"), c.TextWidth("i"));
    EXPECT_GT(c.TextHeight("Wg"), 8);
    c.Brush().Color = clBlack;
    c.FrameRect(Rect(22, 22, 28, 28));
    EXPECT_EQ(c.Pixel(22, 25), clBlack);
    EXPECT_EQ(c.Pixel(25, 25), clWhite);
    // Stretching doubles a two-pixel picture into four.
    TBitmap small(2, 1);
    small.Canvas().SetPixel(0, 0, clRed);
    small.Canvas().SetPixel(1, 0, clBlue);
    TBitmap big(4, 2);
    big.Canvas().StretchDraw(Rect(0, 0, 4, 2), small);
    EXPECT_EQ(big.Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(big.Canvas().Pixel(2, 0), clBlue);
    // Pixels written through the neutral view show on the canvas.
    GdiFlush();
    uint8_t* p = big.Pixels().Row(1) + 3 * 3;
    p[0] = 0x00;  // blue
    p[1] = 0xFF;  // green
    p[2] = 0xFF;  // red
    EXPECT_EQ(big.Canvas().Pixel(3, 1), clYellow);
}

TEST_F(Gallery, ResourcesBitmapsAndShellHelpers) {
    std::string data;
    ASSERT_TRUE(LoadResourceData("GALLERYDATA", data));
    EXPECT_EQ(data.substr(0, 20), "Kestrup gallery data");
    EXPECT_FALSE(LoadResourceData("NOSUCHDATA", data));
    TBitmap led;
    ASSERT_TRUE(led.LoadFromResourceName("GALLERYLED"));
    EXPECT_EQ(led.Width(), 15);
    EXPECT_EQ(led.Height(), 15);
    EXPECT_EQ(led.Canvas().Pixel(7, 7), clLime);
    EXPECT_EQ(led.TransparentColor(), clFuchsia);
    EXPECT_FALSE(led.LoadFromResourceName("NOSUCHBITMAP"));
    TBitmap bmp(15, 15);
    bmp.Canvas().Brush().Color = clFuchsia;
    bmp.Canvas().FillRect(Rect(0, 0, 15, 15));
    bmp.Canvas().Brush().Color = clLime;
    bmp.Canvas().FillRect(Rect(4, 4, 11, 11));
    GdiFlush();
    EXPECT_EQ(bmp.TransparentColor(), clFuchsia);  // the bottom-left pixel
    const TPixelBuffer px = bmp.Pixels();
    EXPECT_EQ(px.Row(5)[5 * 3 + 1], 0xFF);  // green byte of a lime pixel, rows top to bottom
    TBitmap back;
    ASSERT_TRUE(back.LoadFromBytes(bmp.SaveToBytes()));
    EXPECT_EQ(back.Canvas().Pixel(7, 7), clLime);
    EXPECT_FALSE(back.LoadFromBytes("not a bitmap"));
    // Transparent drawing leaves the key colour out.
    TBitmap target(15, 15);
    target.Canvas().Brush().Color = clBlue;
    target.Canvas().FillRect(Rect(0, 0, 15, 15));
    bmp.Transparent = true;
    target.Canvas().Draw(0, 0, bmp);
    EXPECT_EQ(target.Canvas().Pixel(1, 1), clBlue);
    EXPECT_EQ(target.Canvas().Pixel(7, 7), clLime);
    // Shell helpers.
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(FindTopWindow("No such window title 0815"), nullptr);
    EXPECT_TRUE(FileExists(ProgramFolder() + "gui_gallery_tests.exe"));
    EXPECT_FALSE(FileExists(ProgramFolder() + "KestrupTirvane-missing.exe"));
    EXPECT_FALSE(ShellOpen(ProgramFolder() + "KestrupTirvane-missing.exe"));
    EXPECT_TRUE(ShellOpen("cmd.exe", "/c exit", "", SW_HIDE));
}

TEST_F(Gallery, ImageListDrawsByIndexWithItsMask) {
    TImageList images(form_, 8, 8);
    TBitmap strip(16, 8);
    strip.Canvas().Brush().Color = clFuchsia;
    strip.Canvas().FillRect(Rect(0, 0, 16, 8));
    strip.Canvas().Brush().Color = clBlue;
    strip.Canvas().FillRect(Rect(2, 2, 6, 6));  // frame 0
    strip.Canvas().Brush().Color = clLime;
    strip.Canvas().FillRect(Rect(10, 2, 14, 6));  // frame 1
    EXPECT_EQ(images.AddMasked(strip, clFuchsia), 0);
    EXPECT_EQ(images.Count(), 2);
    TBitmap target(8, 8);
    target.Canvas().Brush().Color = clWhite;
    target.Canvas().FillRect(Rect(0, 0, 8, 8));
    images.Draw(target.Canvas(), 0, 0, 1);
    images.Draw(target.Canvas(), 0, 0, 5);  // out of range: nothing
    EXPECT_EQ(target.Canvas().Pixel(3, 3), clLime);
    EXPECT_EQ(target.Canvas().Pixel(0, 0), clWhite);  // masked out
    images.Delete(0);
    EXPECT_EQ(images.Count(), 1);
}

TEST_F(Gallery, PrinterWithoutADeviceFailsCleanly) {
    if (Printer().HasPrinter()) GTEST_SKIP() << "a printer is installed; not printing for real";
    EXPECT_THROW(Printer().BeginDoc(), Exception);
    EXPECT_FALSE(Printer().Printing());
    EXPECT_THROW(Printer().NewPage(), Exception);
    EXPECT_THROW(Printer().EndDoc(), Exception);
}
