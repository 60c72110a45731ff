#include "SkinPreview.h"

#include <algorithm>

#include "skin/data/SkinData.h"
#include "skin/draw/SkinRaster.h"

namespace kes {

namespace {

constexpr std::int32_t kDesktop = 0x7A6A5C;  // a muted blue-grey desktop behind the windows

SkinMargins MarginsOf(const TDataSkinObject& o) { return {o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight}; }

class Preview {
public:
    Preview(const TSkinData& s, std::vector<PreviewText>& texts) : s_(s), texts_(texts), img_(780, 660) {
        img_.FillRect({0, 0, img_.Width(), img_.Height()}, kDesktop);
    }
    PixelBuffer Run();

private:
    void Text(int x, int y, std::int32_t c, const std::string& t, bool bold = false, int size = 12, bool mono = false) {
        texts_.push_back({x, y, c, t, bold, mono, size});
    }
    void Element(const TDataSkinObject* o, const PixelRect& r, int frame, bool vertical = false,
                 bool transparent = true) {
        if (!o || !o->HasImage()) return;
        DrawSkinImage(img_, r, o->Image, MarginsOf(*o), frame, o->Frame, transparent && o->Trans != 0, o->Tile != 0,
                      vertical);
    }
    void Keyed(const PixelBuffer& image, int frames, const PixelRect& r, int frame) {
        if (image.Width() == 0) return;
        DrawSkinFrame(img_, r, image, frame, frames, true);
    }
    std::int32_t Colour(SkinColour c) const { return ColourToRGBSafe(s_.Colour(c)); }
    static std::int32_t ColourToRGBSafe(std::int32_t c) { return c < 0 ? 0x808080 : c; }
    int LeftW() const { return s_.Left.Image.Width() / s_.Left.Frame; }
    int RightW() const { return s_.Right.Image.Width() / s_.Right.Frame; }
    int CaptionH() const { return s_.Top.Image.Height() / s_.Top.Frame; }
    int BottomH() const { return s_.Bottom.Image.Height() / s_.Bottom.Frame; }
    // A skinned window; returns its client rectangle.
    PixelRect Window(const PixelRect& w, bool active, const std::string& caption, bool menu, bool maxHot);
    void ScrollBar(const PixelRect& r, bool vertical, int hotPart, bool pressed);
    void PushButton(const PixelRect& r, int frame, const std::string& caption);
    void Boxes(int x, int y);
    void PopupMenu(int x, int y);

    const TSkinData& s_;
    std::vector<PreviewText>& texts_;
    PixelBuffer img_;
};

PixelRect Preview::Window(const PixelRect& w, bool active, const std::string& caption, bool menu, bool maxHot) {
    const int f = active ? 1 : 2;
    const int lw = LeftW(), rw = RightW(), ch = CaptionH(), bh = BottomH(), mh = menu ? 20 : 0;
    const int W = w.Width(), H = w.Height();
    Element(&s_.Left, {w.Left, w.Top, w.Left + lw, w.Bottom}, f);
    Element(&s_.Right, {w.Right - rw, w.Top, w.Right, w.Bottom}, f);
    Element(&s_.Bottom, {w.Left + lw, w.Bottom - bh, w.Right - rw, w.Bottom}, f, true);
    Element(&s_.Top, {w.Left + lw, w.Top, w.Right - rw, w.Top + ch}, f, true);
    // Caption text on its band.
    const TDataSkinTitle& t = s_.Title;
    const int textX = w.Left + t.LeftWidth;
    if (t.HasImage())
        DrawSkinImage3(img_,
                       {textX - t.TXTBackleft, w.Top, textX + 8 * int(caption.size()) + t.TXTBackRight, w.Top + ch},
                       t.Image, {t.TXTBackleft, 0, t.TXTBackRight, 0}, f, 2, false, false);
    Text(textX, w.Top + ch / 2 + 5,
         active ? Colour(SkinColour::TitleTextActive) : Colour(SkinColour::TitleTextNoActive), caption, true, 12);
    // The application icon where the system-menu button sits: a small amber lamp.
    for (const TDataSkinSysButton& b : s_.SysButtons)
        if (b.Action == 3) {
            img_.FillRect({w.Left + b.Xcoord + 3, w.Top + b.Ycoord + 3, w.Left + b.Xcoord + 13, w.Top + b.Ycoord + 13},
                          0x28AAE6);
            img_.FillRect({w.Left + b.Xcoord + 5, w.Top + b.Ycoord + 5, w.Left + b.Xcoord + 11, w.Top + b.Ycoord + 11},
                          0x00FFFF);
        }
    // Caption buttons aligned right: close, maximize (hot in one picture), minimize.
    for (const TDataSkinSysButton& b : s_.SysButtons) {
        if (b.Align != 1 || !b.HasImage() || b.Visibility == 1 || b.Visibility == 10) continue;
        const int bw = b.Image.Width() / b.Frame, bhh = b.Image.Height();
        const int x = w.Right - b.Xcoord, y = w.Top + b.Ycoord;
        int frame = active ? 1 : 4;
        if (active && maxHot && b.Action == 1) frame = 3;
        if (active && maxHot && b.Action == 2) frame = 2;
        DrawSkinFrame(img_, {x, y, x + bw, y + bhh}, b.Image, frame, b.Frame, true);
    }
    const PixelRect bar{w.Left + lw, w.Top + ch, w.Right - rw, w.Top + ch + mh};
    if (menu) {
        if (s_.MenuBar) DrawSkinImage3(img_, bar, s_.MenuBar->Image, MarginsOf(*s_.MenuBar), f, 2, false, false);
        int x = bar.Left + (s_.MenuBar ? s_.MenuBar->LeftWidth : 0) + 4;
        for (const char* item : {"File", "Port", "Board", "Tools", "Help"}) {
            const int width = 9 + 7 * int(std::string(item).size());
            if (std::string(item) == "Port") {
                // The open menu's button: a one-pixel frame in the button-highlight colour.
                const std::int32_t hl = Colour(SkinColour::Hilight);
                img_.FillRect({x, bar.Top + 1, x + width, bar.Top + 2}, hl);
                img_.FillRect({x, bar.Bottom - 3, x + width, bar.Bottom - 2}, hl);
                img_.FillRect({x, bar.Top + 1, x + 1, bar.Bottom - 2}, hl);
                img_.FillRect({x + width - 1, bar.Top + 1, x + width, bar.Bottom - 2}, hl);
            }
            Text(x + 5, bar.Top + 14, Colour(SkinColour::MenuBarText), item);
            x += width;
        }
    }
    return {w.Left + lw, w.Top + ch + mh, w.Right - rw, w.Bottom - bh};
    (void)W;
    (void)H;
}

void Preview::ScrollBar(const PixelRect& r, bool vertical, int hotPart, bool pressed) {
    img_.FillRect(r, Colour(SkinColour::ButtonFace));
    const TDataSkinObject* sb = s_.Scrollbar.get();
    if (!sb) return;
    const int A = vertical ? r.Width() : r.Height();
    const TDataSkinObject* track = vertical ? s_.VertScroll.get() : s_.HorzScroll.get();
    PixelRect t = r;
    if (vertical)
        t.Top += A, t.Bottom -= A;
    else
        t.Left += A, t.Right -= A;
    Element(track, t, 1);
    const int base1 = vertical ? 9 : 1, base2 = vertical ? 13 : 5;
    auto arrowFrame = [&](int base, int part) { return hotPart == part ? base + (pressed ? 1 : 3) : base; };
    const PixelRect first =
        vertical ? PixelRect{r.Left, r.Top, r.Right, r.Top + A} : PixelRect{r.Left, r.Top, r.Left + A, r.Bottom};
    const PixelRect second = vertical ? PixelRect{r.Left, r.Bottom - A, r.Right, r.Bottom}
                                      : PixelRect{r.Right - A, r.Top, r.Right, r.Bottom};
    Keyed(sb->Image, sb->Frame, first, arrowFrame(base1, 0));
    Keyed(sb->Image, sb->Frame, second, arrowFrame(base2, 1));
    // The thumb a third of the way along, as long as a third of the track.
    const int len = vertical ? t.Height() : t.Width();
    const int start = len / 4, end = start + std::max(len / 3, 24);
    const PixelRect thumb = vertical ? PixelRect{r.Left, t.Top + start, r.Right, t.Top + end}
                                     : PixelRect{t.Left + start, r.Top, t.Left + end, r.Bottom};
    const int state = hotPart == 5 ? (pressed ? 2 : 3) : 1;
    Element(vertical ? s_.VertScrollThumb.get() : s_.HorzScrollThumb.get(), thumb, state);
    const int G = sb->Image.Height();
    const int off = ((vertical ? thumb.Height() : thumb.Width()) - G) / 2;
    const PixelRect grip = vertical ? PixelRect{r.Left, thumb.Top + off, r.Right, thumb.Top + off + G}
                                    : PixelRect{thumb.Left + off, r.Top, thumb.Left + off + G, r.Bottom};
    Keyed(sb->Image, sb->Frame, grip, (vertical ? 20 : 17) + (state == 2 ? 1 : state == 3 ? 2 : 0));
}

void Preview::PushButton(const PixelRect& r, int frame, const std::string& caption) {
    Element(&s_.Buttons, r, frame);
    const TDataSkinButton& b = s_.Buttons;
    std::int32_t c = b.NormalColour2;
    if (frame == 4) c = b.MouseOverColour2;
    if (frame == 2) c = b.PressedColour2;
    if (frame == 3) c = Colour(SkinColour::ButtonShadow);
    const int x = r.Left + (r.Width() - 7 * int(caption.size())) / 2 + (frame == 2 ? 1 : 0);
    Text(x, r.Top + r.Height() / 2 + 5 + (frame == 2 ? 1 : 0), c, caption);
}

void Preview::Boxes(int x, int y) {
    const TDataSkinButton& b = s_.Buttons;
    const char* labels[4] = {"Echo", "Log to file", "Hex view", "Locked"};
    for (int i = 0; i < 4; ++i) {
        const int fw = b.CheckImage.Width() / b.CheckButtonFrame, fh = b.CheckImage.Height();
        Keyed(b.CheckImage, b.CheckButtonFrame, {x, y + i * 22, x + fw, y + i * 22 + fh}, i + 1);
        Text(x + fw + 6, y + i * 22 + 12, i >= 2 ? Colour(SkinColour::ButtonShadow) : Colour(SkinColour::WindowText),
             labels[i]);
    }
    const char* radios[4] = {"FlashForth", "ESP32 Forth", "SCAMP2", "ANSI"};
    for (int i = 0; i < 4; ++i) {
        const int fw = b.RadioImage.Width() / b.RadioButtonFrame, fh = b.RadioImage.Height();
        Keyed(b.RadioImage, b.RadioButtonFrame, {x + 120, y + i * 22, x + 120 + fw, y + i * 22 + fh}, i + 1);
        Text(x + 126 + fw, y + i * 22 + 12, i >= 2 ? Colour(SkinColour::ButtonShadow) : Colour(SkinColour::WindowText),
             radios[i]);
    }
}

void Preview::PopupMenu(int x, int y) {
    const int w = 180, itemH = 20;
    const char* items[] = {"Open port", "Close port", "-", "Settings...", "Upload source", "-", "Exit"};
    const int n = 7;
    Element(s_.MenuBackground.get(), {x, y, x + w, y + n * itemH + 4}, 1);
    for (int i = 0; i < n; ++i) {
        const PixelRect r{x + 2, y + 2 + i * itemH, x + w - 2, y + 2 + (i + 1) * itemH};
        const bool sep = std::string(items[i]) == "-";
        const bool selected = i == 3;
        Element(s_.MenuItem.get(), r, sep ? 2 : selected ? 4 : 1);
        if (!sep)
            Text(r.Left + 24, r.Top + 14,
                 i == 1     ? Colour(SkinColour::ButtonShadow)
                 : selected ? Colour(SkinColour::HilightText)
                            : Colour(SkinColour::MenuText),
                 items[i]);
    }
    // The check mark of a checked item.
    const TDataSkinButton& b = s_.Buttons;
    Keyed(b.CheckImage, b.CheckButtonFrame, {x + 6, y + 2 + 4 * itemH + 2, x + 22, y + 2 + 4 * itemH + 18}, 2);
}

PixelBuffer Preview::Run() {
    // The terminal: black memo with bold yellow text, a vertical scroll bar, its menu bar open on "Port".
    const PixelRect term = Window({16, 16, 456, 372}, true, "Kestrup", true, false);
    img_.FillRect({term.Left, term.Top, term.Right - 17, term.Bottom - 24}, 0x000000);
    const char* lines[] = {
        "FlashForth 5 ATmega328 13.06.2022",       "",         "ok<#,ram>", "words", "p2+ pc@ @p hi ...", "ok<#,ram>",
        ": blink 10 for led toggle 200 ms next ;", "ok<#,ram>"};
    int ly = term.Top + 18;
    for (const char* l : lines) {
        Text(term.Left + 6, ly, 0x00FFFF, l, true, 12, true);
        ly += 17;
    }
    ScrollBar({term.Right - 17, term.Top, term.Right, term.Bottom - 24}, true, 5, false);
    // Status bar: panels from the status-bar edges.
    const PixelRect status{term.Left, term.Bottom - 24, term.Right, term.Bottom};
    img_.FillRect(status, Colour(SkinColour::ButtonFace));
    const char* panels[] = {"COM3", "115200", "8", "N", "1", "COM Port Open"};
    const int widths[] = {52, 62, 26, 26, 26, 0};
    int px = status.Left + 1;
    for (int i = 0; i < 6; ++i) {
        const int pw = widths[i] ? widths[i] : status.Right - 18 - px;
        Element(s_.StatusBarEdges.get(), {px, status.Top + 2, px + pw, status.Bottom - 1}, 1);
        Text(px + 5, status.Top + 16, s_.StatusBarEdges ? s_.StatusBarEdges->NormalColour2 : 0, panels[i]);
        px += pw + 2;
    }
    if (s_.ExtraImages) {
        const int fw = s_.ExtraImages->FrameWidth(), fh = s_.ExtraImages->Image.Height();
        Keyed(s_.ExtraImages->Image, s_.ExtraImages->Frame,
              {status.Right - 1 - fw, status.Bottom - 1 - fh, status.Right - 1, status.Bottom - 1}, 5);
    }

    // The port dialog, inactive, with the controls on the face colour.
    const PixelRect dlg = Window({476, 16, 764, 372}, false, "Port setup", false, false);
    img_.FillRect(dlg, Colour(SkinColour::ButtonFace));
    // Tabs over a pane.
    if (s_.Tabs) {
        const PixelRect pane{dlg.Left + 8, dlg.Top + 30, dlg.Right - 8, dlg.Top + 170};
        if (s_.Tabs->Image2.Width())
            DrawSkinImage(img_, pane, s_.Tabs->Image2, {3, 3, 3, 3}, 1, 1, false, false, false);
        const char* tabs[] = {"Port", "Flow", "Board"};
        int tx = dlg.Left + 10;
        for (int i = 0; i < 3; ++i) {
            const bool current = i == 0;
            const PixelRect tr{tx, dlg.Top + 8 + (current ? 0 : 3), tx + 64, dlg.Top + 31};
            Element(s_.Tabs.get(), tr, current ? 2 : i == 2 ? 3 : 1);
            Text(tx + 14, dlg.Top + 25, current ? s_.Tabs->MouseOverColour2 : s_.Tabs->NormalColour2, tabs[i]);
            tx += 64;
        }
        Boxes(pane.Left + 10, pane.Top + 12);
        // A combo box in the combo strip's look, and an edit's sunken frame.
        if (s_.ComboButton) {
            const PixelRect cr{pane.Left + 10, pane.Bottom - 30, pane.Left + 130, pane.Bottom - 9};
            img_.FillRect({cr.Left + 2, cr.Top + 2, cr.Right - 2, cr.Bottom - 2}, 0xFFFFFF);
            Element(s_.ComboButton.get(), cr, 1);
            Text(cr.Left + 6, cr.Top + 15, Colour(SkinColour::WindowText), "115200");
            const PixelRect cr2{pane.Left + 140, pane.Bottom - 30, pane.Right - 10, pane.Bottom - 9};
            img_.FillRect({cr2.Left + 2, cr2.Top + 2, cr2.Right - 2, cr2.Bottom - 2}, 0xFFFFFF);
            Element(s_.ComboButton.get(), cr2, 4);
            Text(cr2.Left + 6, cr2.Top + 15, Colour(SkinColour::WindowText), "COM3");
        }
    }
    // Push buttons in their states: normal, hot, pressed, default, disabled.
    const int by = dlg.Top + 180;
    PushButton({dlg.Left + 8, by, dlg.Left + 88, by + 25}, 1, "Open");
    PushButton({dlg.Left + 96, by, dlg.Left + 176, by + 25}, 4, "Apply");
    PushButton({dlg.Left + 184, by, dlg.Right - 8, by + 25}, 2, "Cancel");
    PushButton({dlg.Left + 8, by + 32, dlg.Left + 88, by + 57}, 5, "OK");
    PushButton({dlg.Left + 96, by + 32, dlg.Left + 176, by + 57}, 3, "Reset");
    // Progress at 60 %, a horizontal scroll bar with a hot arrow.
    if (s_.Progress) {
        const PixelRect pr{dlg.Left + 8, by + 68, dlg.Right - 8, by + 82};
        Element(s_.Progress.get(), pr, 1);
        Element(s_.Progress.get(), {pr.Left, pr.Top, pr.Left + pr.Width() * 6 / 10, pr.Bottom}, 2);
    }
    ScrollBar({dlg.Left + 8, by + 92, dlg.Right - 8, by + 109}, false, 1, false);
    // Header sections, one hot.
    if (s_.Headerbar) {
        const char* heads[] = {"Time", "Message"};
        int hx = dlg.Left + 8;
        for (int i = 0; i < 2; ++i) {
            const int hw = i == 0 ? 70 : dlg.Right - 8 - hx;
            Element(s_.Headerbar.get(), {hx, by + 116, hx + hw, by + 136}, i == 1 ? 2 : 1);
            Text(hx + 6, by + 130, Colour(SkinColour::WindowText), heads[i]);
            hx += hw;
        }
    }

    // Below: the button and check-box strips one frame per state, a track bar and the caption buttons.
    const int sy = 388;
    img_.FillRect({16, sy, 764, 644}, Colour(SkinColour::ButtonFace));
    const char* states[] = {"normal", "pressed", "disabled", "hot", "focused"};
    for (int i = 0; i < 5; ++i) PushButton({28 + i * 94, sy + 14, 28 + i * 94 + 86, sy + 40}, i + 1, states[i]);
    // Caption buttons: each frame of each.
    int cx = 28;
    for (const TDataSkinSysButton& b : s_.SysButtons) {
        if (!b.HasImage() || b.Align != 1) continue;
        const int bw = b.Image.Width() / b.Frame, bhh = b.Image.Height();
        Element(&s_.Top, {cx - 4, sy + 52, cx + b.Frame * (bw + 4), sy + 52 + CaptionH()}, 1, true);
        for (int f = 1; f <= b.Frame; ++f)
            DrawSkinFrame(img_, {cx + (f - 1) * (bw + 4), sy + 57, cx + (f - 1) * (bw + 4) + bw, sy + 57 + bhh},
                          b.Image, f, b.Frame, true);
        cx += b.Frame * (bw + 4) + 12;
    }
    // Scroll-bar arrows, each state, and thumbs.
    ScrollBar({28, sy + 96, 360, sy + 113}, false, 0, true);
    ScrollBar({380, sy + 96, 540, sy + 113}, false, 5, true);
    ScrollBar({28, sy + 122, 360, sy + 139}, false, 1, false);
    // A track bar: groove and thumb.
    if (s_.Track) {
        Element(s_.Track.get(), {380, sy + 128, 540, sy + 134}, 1);
        if (s_.TrackbarThumbHorz) {
            const int fw = s_.TrackbarThumbHorz->FrameWidth(), fh = s_.TrackbarThumbHorz->Image.Height();
            Keyed(s_.TrackbarThumbHorz->Image, s_.TrackbarThumbHorz->Frame, {440, sy + 121, 440 + fw, sy + 121 + fh},
                  2);
        }
    }
    Boxes(28, sy + 148);
    // Up-down buttons and a few derived pieces.
    if (s_.UpDownVert) {
        const TDataSkinBorder& u = *s_.UpDownVert;
        const int fw = u.FrameWidth(), fh = u.Image.Height();
        for (int f = 1; f <= 8; ++f) {
            const PixelRect r{300 + ((f - 1) % 4) * (fw + 4), sy + 152 + ((f - 1) / 4) * (fh + 2),
                              300 + ((f - 1) % 4) * (fw + 4) + fw, sy + 152 + ((f - 1) / 4) * (fh + 2) + fh};
            Keyed(u.Image, 8, r, f);
            if (u.Image2.Width()) DrawSkinFrameCentered(img_, r, u.Image2, f, 8, true);
        }
    }
    if (s_.Toolbar) StretchCopy(img_, {28, sy + 240, 280, sy + 250}, s_.Toolbar->Image, {0, 0, 10, 40});
    PopupMenu(560, sy + 100);
    return img_;
}

}  // namespace

PixelBuffer RenderSkinPreview(const TSkinData& skin, std::vector<PreviewText>& texts) {
    return Preview(skin, texts).Run();
}

}  // namespace kes
