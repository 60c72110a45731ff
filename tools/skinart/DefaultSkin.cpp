// Our default skin, "Kestrup Graphite": dark graphite frames with a lighter caption band, rounded outer
// corners, a thin amber edge on the active window and grey on the inactive one; controls in the same
// graphite-and-amber family. Every colour comes from the palette (Palette.h).
#include <cstdio>
#include <functional>

#include "Bmp.h"
#include "Paint.h"
#include "Palette.h"
#include "SkinArt.h"
#include "skin/container/ImgUtil.h"

namespace kes::art {

namespace {

const Palette P;

constexpr int kCaption = 30, kBorder = 6, kBottom = 6, kRadius = 7, kLeftH = 50;

PixelBuffer Image(int w, int h, Colour fill = kMagenta) {
    PixelBuffer b(w, h);
    b.FillRect({0, 0, w, h}, fill);
    return b;
}

// Colour of caption row y (active or not).
Colour CaptionRow(int y, bool active) {
    if (y == 0) return active ? P.amber : P.edgeInactive;
    if (y == 1) return P.bandHi;
    if (y == kCaption - 1) return P.bandSep;
    return active ? P.band : P.bandInactive;
}

// Two frames stacked: the caption band, active then inactive.
PixelBuffer Top() {
    PixelBuffer b = Image(32, 2 * kCaption);
    for (int f = 0; f < 2; ++f)
        for (int y = 0; y < kCaption; ++y)
            b.FillRect({0, f * kCaption + y, 32, f * kCaption + y + 1}, CaptionRow(y, f == 0));
    return b;
}

Colour BottomRow(int y, bool active) {
    if (y == kBottom - 1) return active ? P.amber : P.edgeInactive;
    if (y == 0) return P.bandSep;
    return P.frame;
}

PixelBuffer Bottom() {
    PixelBuffer b = Image(32, 2 * kBottom);
    for (int f = 0; f < 2; ++f)
        for (int y = 0; y < kBottom; ++y)
            b.FillRect({0, f * kBottom + y, 32, f * kBottom + y + 1}, BottomRow(y, f == 0));
    return b;
}

// The left side: caption rows with the rounded top corner, the frame, the rounded bottom corner. The
// right side is its mirror image. Outside the curves: magenta, so the window region cuts the corners.
PixelBuffer Side(bool right) {
    PixelBuffer b = Image(2 * kBorder, kLeftH);
    Painter p(b);
    for (int f = 0; f < 2; ++f) {
        const bool active = f == 0;
        const Colour edge = active ? P.amber : P.edgeInactive;
        const int ox = f * kBorder;
        for (int y = 0; y < kLeftH; ++y)
            for (int x = 0; x < kBorder; ++x) {
                Colour c;
                if (y < kCaption)
                    c = CaptionRow(y, active);
                else if (y >= kLeftH - kBottom)
                    c = BottomRow(y - (kLeftH - kBottom), active);
                else
                    c = x == kBorder - 1 ? P.bandSep : P.frame;
                if (x == 0) c = edge;
                // A window much wider and taller than the strip: only its left corners fall on it.
                const int W = 1000;
                const bool inside = InRoundRect(x, y, 0, 0, W, kLeftH, kRadius);
                if (!inside)
                    c = kMagenta;
                else if (!InRoundRect(x, y - 1, 0, 0, W, kLeftH, kRadius) ||
                         !InRoundRect(x - 1, y, 0, 0, W, kLeftH, kRadius) ||
                         !InRoundRect(x, y + 1, 0, 0, W, kLeftH, kRadius))
                    c = edge;
                p.Pixel(ox + (right ? kBorder - 1 - x : x), y, c);
            }
    }
    return b;
}

// The strip behind the caption text: the band's own colour, so the text sits on it seamlessly. The strip is
// squeezed to the text's height: the band's edge and separator rows must not be in it, or they show as lines
// over and under the text.
PixelBuffer TextBack() {
    PixelBuffer b = Image(16, kCaption);
    for (int f = 0; f < 2; ++f) b.FillRect({f * 8, 0, f * 8 + 8, kCaption}, f == 0 ? P.band : P.bandInactive);
    return b;
}

// Caption buttons: 4 frames (normal, pressed, hot, inactive or disabled), flat rounded squares on the band.
using Glyph = std::function<void(Painter&, int ox, int oy, Colour)>;

PixelBuffer CaptionButton(const Glyph& glyph, int size = 20) {
    PixelBuffer b = Image(4 * size, size);
    Painter p(b);
    for (int f = 0; f < 4; ++f) {
        const int ox = f * size;
        p.Fill(ox, 0, ox + size, size, f == 3 ? P.bandInactive : P.band);
        Colour fill = 0, ink = P.text;
        switch (f) {
        case 0: fill = Rgb(64, 67, 74); break;
        case 1:
            fill = P.amberDark;
            ink = P.ink;
            break;
        case 2:
            fill = P.amber;
            ink = P.ink;
            break;
        case 3:
            fill = -1;
            ink = P.textDim;
            break;
        }
        if (fill >= 0) p.RoundRect(ox + 1, 1, ox + size - 1, size - 1, 4, fill, fill, fill);
        glyph(p, ox, 0, ink);
    }
    return b;
}

void CloseGlyph(Painter& p, int ox, int oy, Colour c) {
    p.Line(ox + 6.5, oy + 6.5, ox + 13.5, oy + 13.5, 1.9, c);
    p.Line(ox + 13.5, oy + 6.5, ox + 6.5, oy + 13.5, 1.9, c);
}
void MaxGlyph(Painter& p, int ox, int oy, Colour c) {
    p.Frame(ox + 5, oy + 5, ox + 15, oy + 15, c);
    p.Fill(ox + 5, oy + 5, ox + 15, oy + 7, c);
}
void RestoreGlyph(Painter& p, int ox, int oy, Colour c) {
    p.Fill(ox + 8, oy + 4, ox + 16, oy + 6, c);
    p.Fill(ox + 15, oy + 4, ox + 16, oy + 12, c);
    p.Fill(ox + 8, oy + 4, ox + 9, oy + 7, c);
    p.Frame(ox + 4, oy + 8, ox + 12, oy + 16, c);
    p.Fill(ox + 4, oy + 8, ox + 12, oy + 10, c);
}
void MinGlyph(Painter& p, int ox, int oy, Colour c) { p.Fill(ox + 5, oy + 13, ox + 15, oy + 15, c); }
void HelpGlyph(Painter& p, int ox, int oy, Colour c) {
    p.Line(ox + 7, oy + 7, ox + 8.5, oy + 5, 1.6, c);
    p.Line(ox + 8.5, oy + 5, ox + 11.5, oy + 5, 1.6, c);
    p.Line(ox + 11.5, oy + 5, ox + 13, oy + 7, 1.6, c);
    p.Line(ox + 13, oy + 7, ox + 10, oy + 10.5, 1.6, c);
    p.Line(ox + 10, oy + 10.5, ox + 10, oy + 12, 1.6, c);
    p.Fill(ox + 9, oy + 14, ox + 11, oy + 16, c);
}

// MDI child buttons in the menu bar: minimize, restore, close, 4 frames each, 16 x 16.
PixelBuffer MdiControls() {
    PixelBuffer b = Image(12 * 16, 16);
    const Glyph glyphs[3] = {MinGlyph, RestoreGlyph, CloseGlyph};
    for (int g = 0; g < 3; ++g) {
        PixelBuffer one = CaptionButton(glyphs[g], 20);
        // Scale the 20-pixel frames down to 16 by dropping the outer rows and columns.
        for (int f = 0; f < 4; ++f)
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) b.SetPixel((4 * g + f) * 16 + x, y, one.GetPixel(f * 20 + x + 2, y + 2));
    }
    return b;
}

// Push buttons: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused or default.
PixelBuffer Buttons() {
    constexpr int s = 24;
    PixelBuffer b = Image(5 * s, s);
    Painter p(b);
    for (int f = 0; f < 5; ++f) {
        const int ox = f * s;
        switch (f) {
        case 0: p.RoundRect(ox, 0, ox + s, s, 4, P.btnEdge, P.btnTop, P.btnBottom); break;
        case 1: p.RoundRect(ox, 0, ox + s, s, 4, P.amberDark, Rgb(42, 44, 49), Rgb(58, 61, 67)); break;
        case 2: p.RoundRect(ox, 0, ox + s, s, 4, Rgb(150, 153, 158), Rgb(176, 178, 182), Rgb(164, 166, 171)); break;
        case 3: p.RoundRect(ox, 0, ox + s, s, 4, P.amber, Rgb(98, 102, 110), Rgb(70, 74, 81)); break;
        case 4:
            p.RoundRect(ox, 0, ox + s, s, 4, P.btnEdge, P.btnTop, P.btnBottom);
            p.RoundRect(ox + 1, 1, ox + s - 1, s - 1, 3, P.amber, P.btnTop, P.btnBottom);
            break;
        }
        // A faint highlight along the top of the raised faces.
        if (f == 0 || f == 3 || f == 4) p.Fill(ox + 4, f == 4 ? 2 : 1, ox + s - 4, f == 4 ? 3 : 2, Rgb(104, 108, 116));
    }
    return b;
}

// Check boxes and radio buttons: 1 unchecked, 2 checked, 3 unchecked disabled, 4 checked disabled.
PixelBuffer CheckBoxes(bool radio) {
    PixelBuffer b = Image(64, 16);
    Painter p(b);
    for (int f = 0; f < 4; ++f) {
        const int ox = f * 16;
        const bool disabled = f >= 2, checked = f == 1 || f == 3;
        const Colour edge = disabled ? Rgb(150, 152, 157) : Rgb(70, 73, 79);
        const Colour fill = disabled ? Rgb(176, 178, 182) : P.surface;
        const Colour mark = disabled ? Rgb(120, 104, 72) : P.amber;
        if (radio) {
            p.Disc(ox + 8, 8, 7, edge);
            p.Disc(ox + 8, 8, 6, fill);
            if (checked) p.Disc(ox + 8, 8, 3.2, mark);
        } else {
            p.RoundRect(ox + 1, 1, ox + 15, 15, 3, edge, fill, fill);
            if (checked) {
                p.Line(ox + 4.5, 8.5, ox + 7, 11, 2.2, mark);
                p.Line(ox + 7, 11, ox + 11.8, 5, 2.2, mark);
            }
        }
    }
    return b;
}

enum Dir { kLeft, kRight, kUp, kDown };

void Arrow(Painter& p, double cx, double cy, Dir d, double size, Colour c) {
    const double h = size / 2;
    switch (d) {
    case kLeft: p.Triangle(cx - h / 2 - 0.5, cy, cx + h / 2, cy - h, cx + h / 2, cy + h, c); break;
    case kRight: p.Triangle(cx + h / 2 + 0.5, cy, cx - h / 2, cy - h, cx - h / 2, cy + h, c); break;
    case kUp: p.Triangle(cx, cy - h / 2 - 0.5, cx - h, cy + h / 2, cx + h, cy + h / 2, c); break;
    case kDown: p.Triangle(cx, cy + h / 2 + 0.5, cx - h, cy - h / 2, cx + h, cy - h / 2, c); break;
    }
}

// The state look of small arrow buttons (scroll bars, up-down): 1 normal, 2 pressed, 3 disabled, 4 hot.
void ArrowButton(Painter& p, int x0, int y0, int x1, int y1, int state, Colour bg) {
    p.Fill(x0, y0, x1, y1, bg);
    switch (state) {
    case 1: p.RoundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 3, P.line, Rgb(60, 63, 69), Rgb(52, 55, 61)); break;
    case 2: p.RoundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 3, P.amber, P.amberDark, P.amberDark); break;
    case 3: p.RoundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 3, Rgb(54, 56, 61), Rgb(44, 46, 51), Rgb(44, 46, 51)); break;
    case 4: p.RoundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 3, P.amber, Rgb(78, 82, 89), Rgb(66, 70, 76)); break;
    }
}

Colour ArrowInk(int state) { return state == 1 ? P.text : state == 2 ? P.ink : state == 3 ? P.textDim : P.amberHot; }

// Scroll-bar arrows and grips, 23 frames of 17 x 17.
PixelBuffer ScrollParts() {
    constexpr int s = 17;
    PixelBuffer b = Image(23 * s, s, P.track);
    Painter p(b);
    const Dir dirs[4] = {kLeft, kRight, kUp, kDown};
    // Within each arrow's group of four: normal, pressed, disabled, hot.
    for (int a = 0; a < 4; ++a)
        for (int k = 0; k < 4; ++k) {
            const int state = k == 0 ? 1 : k == 1 ? 2 : k == 2 ? 3 : 4;
            const int ox = (4 * a + k) * s;
            ArrowButton(p, ox, 0, ox + s, s, state, P.track);
            Arrow(p, ox + 8.5, 8.5, dirs[a], 8, ArrowInk(state));
        }
    // Grips sit on the thumb, which is inset two pixels from the track's edges: the same rows here.
    const Colour fills[3] = {P.thumb, P.amberDark, Rgb(108, 112, 120)};
    const Colour edges[3] = {Rgb(104, 108, 116), P.amber, P.amber};
    const Colour grips[3] = {Rgb(150, 154, 160), Rgb(70, 48, 8), P.amberHot};
    for (int k = 0; k < 3; ++k) {
        const int hx = (16 + k) * s, vx = (19 + k) * s;
        p.Fill(hx, 2, hx + s, s - 2, edges[k]);
        p.Fill(hx, 3, hx + s, s - 3, fills[k]);
        p.Fill(vx + 2, 0, vx + s - 2, s, edges[k]);
        p.Fill(vx + 3, 0, vx + s - 3, s, fills[k]);
        for (int i = -1; i <= 1; ++i) {
            p.Fill(hx + 8 + 3 * i, 5, hx + 9 + 3 * i, 12, grips[k]);
            p.Fill(vx + 5, 8 + 3 * i, vx + 12, 9 + 3 * i, grips[k]);
        }
    }
    return b;
}

// Scroll tracks: 4 frames (1 enabled, 3 disabled).
PixelBuffer ScrollTrack(bool vertical) {
    const int w = vertical ? 17 : 20, h = vertical ? 20 : 17;
    PixelBuffer b = Image(4 * w, h, P.track);
    Painter p(b);
    for (int f = 0; f < 4; ++f) {
        const Colour c = f == 2 ? Rgb(46, 48, 52) : P.track;
        p.Fill(f * w, 0, f * w + w, h, c);
        if (vertical)
            p.Fill(f * w + 8, 2, f * w + 9, h - 2, Rgb(30, 31, 35));
        else
            p.Fill(f * w + 2, 8, f * w + w - 2, 9, Rgb(30, 31, 35));
    }
    return b;
}

// Scroll thumbs: 1 normal, 2 pressed, 3 hot; inset from the track, magenta around.
PixelBuffer ScrollThumb(bool vertical) {
    const int w = vertical ? 17 : 20, h = vertical ? 20 : 17;
    PixelBuffer b = Image(3 * w, h);
    Painter p(b);
    const Colour fills[3] = {P.thumb, P.amberDark, Rgb(108, 112, 120)};
    const Colour edges[3] = {Rgb(104, 108, 116), P.amber, P.amber};
    for (int f = 0; f < 3; ++f) {
        const int ox = f * w;
        // The track shows through around the thumb.
        if (vertical)
            p.RoundRect(ox + 2, 0, ox + w - 2, h, 4, edges[f], fills[f], fills[f]);
        else
            p.RoundRect(ox, 2, ox + w, h - 2, 4, edges[f], fills[f], fills[f]);
    }
    return b;
}

// A sunken edge around edits and combo boxes: 1 normal, 2 pressed, 3 disabled, 4 hot or focused.
PixelBuffer SunkEdge() {
    constexpr int w = 20, h = 21;
    PixelBuffer b = Image(4 * w, h, 0xFFFFFF);
    Painter p(b);
    const Colour outer[4] = {Rgb(96, 99, 106), P.amberDark, Rgb(160, 162, 167), P.amber};
    for (int f = 0; f < 4; ++f) {
        const int ox = f * w;
        p.Fill(ox, 0, ox + w, h, f == 2 ? Rgb(236, 237, 239) : 0xFFFFFF);
        p.Frame(ox, 0, ox + w, h, outer[f]);
        p.Frame(ox + 1, 1, ox + w - 1, h - 1, f == 3 ? Rgb(246, 214, 140) : Rgb(226, 228, 231));
    }
    return b;
}

PixelBuffer ComboButton() {
    constexpr int w = 19, h = 21;
    PixelBuffer b = Image(4 * w, h);
    Painter p(b);
    for (int f = 0; f < 4; ++f) {
        const int ox = f * w;
        const int state = f + 1;
        switch (state) {
        case 1: p.RoundRect(ox + 1, 1, ox + w - 1, h - 1, 3, P.btnEdge, P.btnTop, P.btnBottom); break;
        case 2: p.RoundRect(ox + 1, 1, ox + w - 1, h - 1, 3, P.amberDark, P.amberDark, Rgb(140, 98, 20)); break;
        case 3:
            p.RoundRect(ox + 1, 1, ox + w - 1, h - 1, 3, Rgb(150, 153, 158), Rgb(176, 178, 182), Rgb(166, 168, 172));
            break;
        case 4: p.RoundRect(ox + 1, 1, ox + w - 1, h - 1, 3, P.amber, Rgb(98, 102, 110), Rgb(70, 74, 81)); break;
        }
    }
    return b;
}

// Glyphs: frames 1-4 the combo arrow by state, frame 5 the status-bar size grip.
PixelBuffer ExtraImages() {
    constexpr int s = 17;
    PixelBuffer b = Image(5 * s, s);
    Painter p(b);
    const Colour inks[4] = {P.text, P.ink, Rgb(110, 112, 118), P.amberHot};
    for (int f = 0; f < 4; ++f) {
        p.Line(f * s + 5, 7, f * s + 8.5, 10.5, 1.8, inks[f]);
        p.Line(f * s + 8.5, 10.5, f * s + 12, 7, 1.8, inks[f]);
    }
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j) {
            const int x = 4 * s + 13 - 4 * j, y = 13 - 4 * (i - j);
            p.Fill(x + 1, y + 1, x + 3, y + 3, Rgb(255, 255, 255));
            p.Fill(x, y, x + 2, y + 2, P.shadow);
        }
    return b;
}

// The progress bar: frame 1 the empty trough, frame 2 the filled bar.
PixelBuffer Progress() {
    PixelBuffer b = Image(40, 14);
    Painter p(b);
    p.RoundRect(0, 0, 20, 14, 3, Rgb(24, 25, 28), P.surface, Rgb(40, 42, 46));
    p.RoundRect(20, 0, 40, 14, 3, P.amberDark, P.amberHot, P.amber);
    return b;
}

PixelBuffer ProgressChunk() {
    PixelBuffer b = Image(10, 12, P.surface);
    Painter(b).VGradient(0, 1, 8, 11, P.amberHot, P.amber);
    return b;
}

// Status-bar panels: 1 lowered, 2 raised, 3 flat; on the light face, like the dialogs.
PixelBuffer StatusBarEdges() {
    PixelBuffer b = Image(36, 12, P.face);
    Painter p(b);
    for (int f = 0; f < 2; ++f) {
        const int ox = f * 12;
        const Colour tl = f == 0 ? P.shadow : Rgb(255, 255, 255), br = f == 0 ? Rgb(255, 255, 255) : P.shadow;
        p.Fill(ox, 0, ox + 12, 1, tl);
        p.Fill(ox, 0, ox + 1, 12, tl);
        p.Fill(ox, 11, ox + 12, 12, br);
        p.Fill(ox + 11, 0, ox + 12, 12, br);
    }
    return b;
}

PixelBuffer Outline(int frames, int w, int h, Colour edge, Colour fill, int r) {
    PixelBuffer b = Image(frames * w, h);
    Painter p(b);
    for (int f = 0; f < frames; ++f) p.RoundRect(f * w, 0, f * w + w, h, r, f == 1 ? P.amber : edge, fill, fill);
    return b;
}

// Tabs: 1 normal, 2 current, 3 hot, 4 disabled, 5 as 1; rounded top corners.
PixelBuffer Tabs() {
    constexpr int w = 32, h = 24;
    PixelBuffer b = Image(5 * w, h);
    Painter p(b);
    for (int f = 0; f < 5; ++f) {
        const int ox = f * w;
        Colour edge = P.btnEdge, top = Rgb(70, 73, 80), bottom = Rgb(52, 55, 61);
        if (f == 1) edge = Rgb(150, 153, 158), top = P.face, bottom = P.face;
        if (f == 2) top = Rgb(90, 94, 101), bottom = Rgb(64, 67, 74);
        if (f == 3) edge = Rgb(150, 153, 158), top = bottom = Rgb(180, 182, 186);
        p.RoundRect(ox, 0, ox + w, h + 6, 4, edge, top, bottom);
        if (f == 1) p.Fill(ox + 3, 1, ox + w - 3, 3, P.amber);
        if (f == 2) p.Fill(ox + 3, 1, ox + w - 3, 2, P.amberHot);
    }
    return b;
}

PixelBuffer Pane() {
    PixelBuffer b = Image(20, 20, P.face);
    Painter(b).Frame(0, 0, 20, 20, Rgb(150, 153, 158));
    return b;
}

// Header sections: 1 normal, 2 hot, 3 pressed, 4 and 5 as 1. Light, with near-black text.
PixelBuffer Headerbar() {
    constexpr int w = 20, h = 22;
    PixelBuffer b = Image(5 * w, h);
    Painter p(b);
    for (int f = 0; f < 5; ++f) {
        const int ox = f * w;
        if (f == 2)
            p.VGradient(ox, 0, ox + w, h, P.lightBottom, Rgb(220, 222, 225));
        else
            p.VGradient(ox, 0, ox + w, h, P.lightTop, P.lightBottom);
        p.Fill(ox + w - 1, 3, ox + w, h - 3, P.shadow);
        p.Fill(ox, h - 1, ox + w, h, P.shadow);
        if (f == 1) p.Fill(ox, h - 3, ox + w, h - 1, P.amber);
    }
    return b;
}

// Menu items: 1 normal, 2 separator, 3 as 1, 4 selected (an amber bar), 5 as 4.
PixelBuffer MenuItem() {
    constexpr int w = 24, h = 20;
    PixelBuffer b = Image(5 * w, h, P.surface);
    Painter p(b);
    p.Fill(w + 3, 9, 2 * w - 3, 10, Rgb(66, 69, 75));
    for (int f : {3, 4}) p.RoundRect(f * w + 2, 1, f * w + w - 2, h - 1, 3, P.amberDark, P.amber, Rgb(218, 158, 34));
    return b;
}

PixelBuffer MenuBackground() {
    PixelBuffer b = Image(16, 16, P.surface);
    Painter(b).Frame(0, 0, 16, 16, Rgb(70, 73, 80));
    return b;
}

// The menu bar in the caption's colour: 1 active, 2 inactive.
PixelBuffer MenuBar() {
    PixelBuffer b = Image(32, 20);
    Painter p(b);
    p.Fill(0, 0, 16, 20, P.band);
    p.Fill(16, 0, 32, 20, P.bandInactive);
    p.Fill(0, 19, 32, 20, P.bandSep);
    return b;
}

// Tool-bar buttons: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 checked.
PixelBuffer ToolBars() {
    constexpr int s = 22;
    PixelBuffer b = Image(5 * s, s);
    Painter p(b);
    const Colour edges[5] = {P.face, P.amberDark, Rgb(196, 198, 202), P.amber, P.amber};
    const Colour fills[5] = {P.face, Rgb(236, 200, 120), Rgb(204, 206, 210), Rgb(232, 233, 236), Rgb(244, 226, 184)};
    for (int f = 0; f < 5; ++f) p.RoundRect(f * s, 0, f * s + s, s, 3, edges[f], fills[f], fills[f]);
    return b;
}

PixelBuffer Groove(bool vertical) {
    const int w = vertical ? 6 : 24, h = vertical ? 24 : 6;
    PixelBuffer b = Image(w, h, P.surface);
    Painter p(b);
    p.Frame(0, 0, w, h, Rgb(24, 25, 28));
    if (vertical)
        p.Fill(w - 1, 1, w, h - 1, Rgb(160, 162, 167));
    else
        p.Fill(1, h - 1, w - 1, h, Rgb(160, 162, 167));
    return b;
}

// Track-bar thumbs: 5 frames, the second is the one drawn (amber); the others by state.
PixelBuffer Thumb(Dir pointing, bool vertical) {
    const int w = vertical ? 20 : 11, h = vertical ? 11 : 20;
    PixelBuffer b = Image(5 * w, h);
    Painter p(b);
    const Colour fills[5] = {P.thumb, P.amber, P.amberHot, Rgb(176, 178, 182), P.amberDark};
    for (int f = 0; f < 5; ++f) {
        const int ox = f * w;
        p.RoundRect(ox, 0, ox + w, h, 3, P.btnEdge, fills[f], fills[f]);
        // A pointer: cut the far end to a point.
        if (pointing == kDown || pointing == kUp || pointing == kLeft || pointing == kRight) {
            for (int i = 0; i < 5; ++i) {
                const int cut = 5 - i;
                if (pointing == kDown) {
                    p.Fill(ox, h - 1 - i, ox + cut, h - i, kMagenta);
                    p.Fill(ox + w - cut, h - 1 - i, ox + w, h - i, kMagenta);
                }
                if (pointing == kUp) {
                    p.Fill(ox, i, ox + cut, i + 1, kMagenta);
                    p.Fill(ox + w - cut, i, ox + w, i + 1, kMagenta);
                }
                if (pointing == kRight) {
                    p.Fill(ox + w - 1 - i, 0, ox + w - i, cut, kMagenta);
                    p.Fill(ox + w - 1 - i, h - cut, ox + w - i, h, kMagenta);
                }
                if (pointing == kLeft) {
                    p.Fill(ox + i, 0, ox + i + 1, cut, kMagenta);
                    p.Fill(ox + i, h - cut, ox + i + 1, h, kMagenta);
                }
            }
        }
    }
    return b;
}

// Up-down buttons: 8 frames (first arrow 1-4, second 5-8; normal, pressed, disabled, hot) and their glyphs.
PixelBuffer UpDown(bool horizontal, bool glyphs) {
    const int w = horizontal ? 11 : 17, h = horizontal ? 17 : 11;
    PixelBuffer b = Image(8 * w, h);
    Painter p(b);
    for (int f = 0; f < 8; ++f) {
        const int state = f % 4 + 1;
        const int ox = f * w;
        if (!glyphs) {
            ArrowButton(p, ox, 0, ox + w, h, state, kMagenta);
            p.OutsideRound(ox, 0, ox + w, h, 3, kMagenta);
            continue;
        }
        const Dir d = horizontal ? (f < 4 ? kLeft : kRight) : (f < 4 ? kUp : kDown);
        Arrow(p, ox + w / 2.0, h / 2.0, d, 7, ArrowInk(state));
    }
    return b;
}

std::string Hex(Colour c) {
    char s[16];
    std::snprintf(s, sizeof s, "0x%06X", static_cast<unsigned>(c) & 0xFFFFFFu);
    return s;
}
std::string Text(Colour c) {
    return std::to_string(c & 255) + " " + std::to_string((c >> 8) & 255) + " " + std::to_string((c >> 16) & 255);
}

std::string Description() {
    std::string d;
    auto section = [&](const std::string& name) { d += "\r\n[" + name + "]\r\n"; };
    auto key = [&](const std::string& k, const std::string& v) { d += k + "=" + v + "\r\n"; };
    auto num = [&](const std::string& k, int v) { key(k, std::to_string(v)); };
    auto rgbKeys = [&](const std::string& prefix, Colour c) {
        num(prefix + "R", c & 255);
        num(prefix + "G", (c >> 8) & 255);
        num(prefix + "B", (c >> 16) & 255);
    };
    d += "; Kestrup Graphite: drawn by kestrup-skinart; change the palette there, not here.\r\n";
    section("TitlebarSkin");
    key("SkinName", "Kestrup Graphite");
    section("Personality");
    for (const char* side : {"Left", "Right"}) {
        key(side, std::string(side == std::string("Left") ? "left" : "right") + ".bmp");
        num(std::string(side) + "TopHeight", kCaption);
        num(std::string(side) + "BotHeight", kBottom + 2);
        num(std::string(side) + "Frame", 2);
        num(std::string(side) + "Stretch", 1);
        num(std::string(side) + "Trans", 1);
    }
    for (const char* side : {"Top", "Bottom"}) {
        key(side, std::string(side == std::string("Top") ? "top" : "bottom") + ".bmp");
        num(std::string(side) + "TopHeight", 4);
        num(std::string(side) + "BotHeight", 4);
        num(std::string(side) + "Frame", 2);
        num(std::string(side) + "Stretch", 1);
        num(std::string(side) + "Trans", 0);
    }
    key("TextBack", "textback.bmp");
    num("TextShift", 30);
    num("TextShiftVert", 0);
    num("TextRightClip", 96);
    num("TextAlignment", 0);
    num("Textbackground", 1);
    num("TXTBackleft", 2);
    num("TXTBackRight", 2);
    rgbKeys("ActiveText", P.text);
    rgbKeys("InActiveText", P.textDim);
    key("menuBar", "menubar.bmp");
    num("TileMenu", 0);
    num("TileLeftMenu", 2);
    num("TileRightMenu", 2);
    section("Fonts");
    num("FontHeight", 15);
    section("Colours");
    const std::pair<const char*, Colour> colours[] = {{"WindowText", P.ink},
                                                      {"ButtonFace", P.face},
                                                      {"Scrollbar", P.track},
                                                      {"HilightText", P.ink},
                                                      {"Hilight", P.amber},
                                                      {"Menubar", P.band},
                                                      {"Menu", P.surface},
                                                      {"MenuText", P.text},
                                                      {"ButtonText", P.ink},
                                                      {"ButtonHilight", Rgb(255, 255, 255)},
                                                      {"Buttonlight", Rgb(235, 236, 238)},
                                                      {"ButtonShadow", P.shadow},
                                                      {"ButtonDkShadow", P.frame},
                                                      {"MenuBarText", P.text},
                                                      {"TitleTextActive", P.text},
                                                      {"TitleTextNoActive", P.textDim}};
    for (const auto& [k, c] : colours) key(k, Text(c));
    section("Colour.Accent");
    key("color", Text(P.amber));
    section("Colour.Terminal");
    key("color", Text(Rgb(255, 255, 0)));
    section("Customcolors");
    const Colour custom[10] = {P.amber,   P.amberHot, P.amberDark, P.frame, P.band,
                               P.surface, P.text,     P.textDim,   P.face,  Rgb(255, 255, 0)};
    for (int i = 0; i < 10; ++i) key("Color" + std::to_string(i), Hex(custom[i]));

    struct CaptionButtonKeys {
        const char* section;
        int action, align, x, y, visibility, visibility1;
        const char* image;
    };
    const CaptionButtonKeys buttons[] = {
        {"ButtonIcon", 3, 0, 8, 7, 0, 0, "sysmenu.bmp"}, {"ButtonClose", 0, 1, 28, 5, 0, 0, "close.bmp"},
        {"ButtonMax", 1, 1, 52, 5, 2, 6, "max.bmp"},     {"ButtonRestore", 1, 1, 52, 5, 1, 6, "restore.bmp"},
        {"ButtonMin", 2, 1, 76, 5, 8, 0, "min.bmp"},     {"ButtonHelp", 4, 1, 0, 5, 10, 10, "help.bmp"},
    };
    for (const auto& b : buttons) {
        section(b.section);
        num("Action", b.action);
        num("Align", b.align);
        num("Xcoord", b.x);
        num("Ycoord", b.y);
        num("Visibility", b.visibility);
        num("Visibility1", b.visibility1);
        num("CombineOp", -1);
        if (b.action != 3) num("frame", 4);
        key("ButtonImage", b.image);
    }
    section("MDICONTROLS");
    key("Image", "mdi.bmp");

    section("Buttons");
    key("Bitmap", "button.bmp");
    key("CheckButton", "check.bmp");
    key("RadioButton", "radio.bmp");
    for (const char* m : {"LeftWidth", "RightWidth", "TopHeight", "BottomHeight"}) num(m, 5);
    num("Trans", 1);
    num("Tile", 0);
    key("NormalColour", Hex(P.btnTop));
    key("MouseOverColour", Hex(Rgb(98, 102, 110)));
    key("PressedColour", Hex(P.amberDark));
    key("NormalColour2", Text(P.text));
    key("MouseOverColour2", Text(Rgb(250, 250, 250)));
    key("PressedColour2", Text(P.amberHot));
    num("RadioButtonFrame", 4);
    num("CheckButtonFrame", 4);

    // Image sections read with the common keys.
    struct ImageKeys {
        const char* section;
        const char* image;
        int l, t, r, b, trans, tile, style;
        int frame;
        Colour n2, m2, p2;
        const char* extraKey;
        const char* extraValue;
    };
    const ImageKeys images[] = {
        {"Progress.Chunk", "chunk.bmp", 0, 0, 0, 0, 0, 1, 0, 1, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"GroupBoxEdge", "groupedge.bmp", 3, 3, 3, 3, 1, 0, 0, 2, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"GroupBox", "groupbox.bmp", 4, 4, 4, 4, 1, 0, 0, 1, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"Tabs", "tabs.bmp", 5, 5, 5, 2, 1, 0, 0, 5, Rgb(200, 202, 206), P.ink, P.ink, "Border", "pane.bmp"},
        {"StatusBarEdges", "statusbar.bmp", 2, 2, 2, 2, 0, 0, 0, 3, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"Tab.Pane", "pane.bmp", 3, 3, 3, 3, 0, 0, 0, 1, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"ToolBars", "toolbars.bmp", 4, 4, 4, 4, 1, 0, 0, 5, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"ComboButton", "combobutton.bmp", 3, 3, 3, 3, 1, 0, 0, 4, P.text, P.text, P.ink, "****", ""},
        {"SunkEdge", "sunkedge.bmp", 3, 3, 3, 3, 0, 0, 0, 4, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"ExtraImages", "extra.bmp", 0, 0, 0, 0, 1, 0, 0, 5, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"Headerbar", "header.bmp", 3, 3, 3, 3, 0, 0, 0, 5, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"MenuItem", "menuitem.bmp", 5, 0, 5, 0, 1, 0, 0, 5, P.text, P.ink, P.ink, nullptr, nullptr},
        {"MenuBackground", "menuback.bmp", 1, 1, 1, 1, 0, 0, 0, 1, P.text, P.text, P.text, nullptr, nullptr},
        {"Scrollbar", "scrollbar.bmp", 0, 0, 0, 0, 1, 0, 0, 23, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"HorzScroll", "hscroll.bmp", 3, 0, 3, 0, 0, 1, 0, 4, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"VertScroll", "vscroll.bmp", 0, 3, 0, 3, 0, 1, 0, 4, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"HorzScrollThumb", "hthumb.bmp", 5, 4, 5, 4, 1, 0, 0, 3, P.ink, P.ink, P.ink, "FrameCount", "3"},
        {"VertScrollThumb", "vthumb.bmp", 4, 5, 4, 5, 1, 0, 0, 3, P.ink, P.ink, P.ink, "FrameCount", "3"},
        {"Trackbar.ThumbHorz", "thumbh.bmp", 3, 3, 3, 3, 1, 0, 0, 5, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"Trackbar.ThumbVert", "thumbv.bmp", 3, 3, 3, 3, 1, 0, 0, 5, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"Trackbar.ThumbLeft", "thumbl.bmp", 3, 3, 3, 3, 1, 0, 0, 5, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"Trackbar.ThumbRight", "thumbr.bmp", 3, 3, 3, 3, 1, 0, 0, 5, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"Trackbar.ThumbUp", "thumbu.bmp", 3, 3, 3, 3, 1, 0, 0, 5, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"Trackbar.ThumbDown", "thumbd.bmp", 3, 3, 3, 3, 1, 0, 0, 5, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"UpDown.Horz", "updownh.bmp", 2, 2, 2, 2, 1, 0, 0, 8, P.ink, P.ink, P.ink, "GlyphImage", "updownhg.bmp"},
        {"UpDown.Vert", "updownv.bmp", 2, 2, 2, 2, 1, 0, 0, 8, P.ink, P.ink, P.ink, "GlyphImage", "updownvg.bmp"},
        {"Track", "track.bmp", 3, 2, 3, 2, 0, 0, 0, 1, P.ink, P.ink, P.ink, nullptr, nullptr},
        {"TRACKVERT", "trackvert.bmp", 2, 3, 2, 3, 0, 0, 0, 1, P.ink, P.ink, P.ink, nullptr, nullptr},
    };
    section("Progress");
    key("Bitmap", "progress.bmp");
    num("Style", 0);
    for (const char* m : {"LeftWidth", "RightWidth", "TopHeight", "BottomHeight"}) num(m, 4);
    num("Trans", 1);
    num("Tile", 0);
    for (const ImageKeys& i : images) {
        section(i.section);
        key("Image", i.image);
        num("Style", i.style);
        num("LeftWidth", i.l);
        num("TopHeight", i.t);
        num("RightWidth", i.r);
        num("BottomHeight", i.b);
        num("Frame", i.frame);
        num("Trans", i.trans);
        num("Tile", i.tile);
        key("NormalColour", "-1");
        key("MouseOverColour", "-1");
        key("PressedColour", "-1");
        key("NormalColour2", Text(i.n2));
        key("MouseOverColour2", Text(i.m2));
        key("PressedColour2", Text(i.p2));
        if (i.extraKey) key(i.extraKey, i.extraValue);
        if (std::string(i.section) == "GroupBox") {
            num("BackgroundAlignment", 0);
            num("BackgroundLeftShift", 8);
            num("BackgroundRightShift", 8);
        }
    }
    return d;
}

}  // namespace

std::vector<SkinEntry> DefaultSkin() {
    std::vector<std::pair<std::string, PixelBuffer>> images = {
        {"left.bmp", Side(false)},
        {"right.bmp", Side(true)},
        {"top.bmp", Top()},
        {"bottom.bmp", Bottom()},
        {"textback.bmp", TextBack()},
        {"menubar.bmp", MenuBar()},
        {"close.bmp", CaptionButton(CloseGlyph)},
        {"max.bmp", CaptionButton(MaxGlyph)},
        {"restore.bmp", CaptionButton(RestoreGlyph)},
        {"min.bmp", CaptionButton(MinGlyph)},
        {"help.bmp", CaptionButton(HelpGlyph)},
        {"sysmenu.bmp", CaptionButton([](Painter&, int, int, Colour) {})},
        {"mdi.bmp", MdiControls()},
        {"button.bmp", Buttons()},
        {"check.bmp", CheckBoxes(false)},
        {"radio.bmp", CheckBoxes(true)},
        {"progress.bmp", Progress()},
        {"chunk.bmp", ProgressChunk()},
        {"groupedge.bmp", Outline(2, 12, 12, P.shadow, P.face, 3)},
        {"groupbox.bmp", Outline(1, 24, 20, P.shadow, P.face, 4)},
        {"tabs.bmp", Tabs()},
        {"pane.bmp", Pane()},
        {"statusbar.bmp", StatusBarEdges()},
        {"toolbars.bmp", ToolBars()},
        {"combobutton.bmp", ComboButton()},
        {"sunkedge.bmp", SunkEdge()},
        {"extra.bmp", ExtraImages()},
        {"header.bmp", Headerbar()},
        {"menuitem.bmp", MenuItem()},
        {"menuback.bmp", MenuBackground()},
        {"scrollbar.bmp", ScrollParts()},
        {"hscroll.bmp", ScrollTrack(false)},
        {"vscroll.bmp", ScrollTrack(true)},
        {"hthumb.bmp", ScrollThumb(false)},
        {"vthumb.bmp", ScrollThumb(true)},
        {"thumbh.bmp", Thumb(kDown, false)},
        {"thumbv.bmp", Thumb(kRight, true)},
        {"thumbl.bmp", Thumb(kLeft, true)},
        {"thumbr.bmp", Thumb(kRight, true)},
        {"thumbu.bmp", Thumb(kUp, false)},
        {"thumbd.bmp", Thumb(kDown, false)},
        {"updownh.bmp", UpDown(true, false)},
        {"updownhg.bmp", UpDown(true, true)},
        {"updownv.bmp", UpDown(false, false)},
        {"updownvg.bmp", UpDown(false, true)},
        {"track.bmp", Groove(false)},
        {"trackvert.bmp", Groove(true)},
    };
    std::vector<SkinEntry> entries;
    for (auto& [name, image] : images) entries.push_back({name, WriteBmp(image)});
    entries.push_back({"Kestrup.ini", Description()});
    return entries;
}

}  // namespace kes::art
