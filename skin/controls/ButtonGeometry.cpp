#include "skin/controls/ButtonGeometry.h"

namespace kes {

namespace {
constexpr unsigned kDtCenter = 0x1, kDtRight = 0x2, kDtWordBreak = 0x10;
}

int PushButtonFace(const ButtonState& s) {
    if (!s.Enabled) return kFaceDisabled;
    if (s.Pressed) return kFacePressed;
    if (s.Hot) return kFaceHot;
    if (s.Focused || s.Default) return kFaceFocused;
    return kFaceNormal;
}

int MenuButtonFace(const ButtonState& s) {
    if (!s.Enabled) return kFaceDisabled;
    if (s.Pressed) return kFacePressed;
    if (s.Hot || s.Focused) return kFaceHot;
    return kFaceNormal;
}

int SpeedButtonFace(const ButtonState& s, bool down) {
    if (down) return kFacePressed;
    if (!s.Enabled) return kFaceDisabled;
    return s.Pressed ? kFacePressed : s.Hot ? kFaceHot : kFaceNormal;
}

int GlyphIndexFor(int face, bool down) {
    if (down) return 4;
    return face == kFacePressed ? 3 : face == kFaceDisabled ? 2 : 1;
}

GlyphPlace GlyphPlaceOf(const std::string& layout) {
    if (layout == "blglyphright") return kGlyphRight;
    if (layout == "blglyphtop") return kGlyphTop;
    if (layout == "blglyphbottom") return kGlyphBottom;
    return kGlyphLeft;
}

GlyphLayout LayoutGlyphButton(const GlyphLayoutInput& in) {
    GlyphLayout out;
    const bool across = in.Place == kGlyphLeft || in.Place == kGlyphRight;
    if (across) {
        out.GlyphY = (in.H - in.GlyphH + 1) / 2;
        out.TextY = (in.H - in.TextH + 1) / 2;
    } else {
        out.GlyphX = (in.W - in.GlyphW + 1) / 2;
        out.TextX = (in.W - in.TextW + 1) / 2;
    }
    int margin = in.Margin, spacing = in.Spacing;
    if (in.TextW == 0 || in.GlyphW == 0) spacing = 0;
    const int size = across ? in.W : in.H;
    const int g = across ? in.GlyphW : in.GlyphH;
    const int t = across ? in.TextW : in.TextH;
    if (margin == -1 || (in.Centred && !in.Speed)) {
        if (spacing == -1) {
            margin = (size - (g + t)) / 3;
            spacing = margin;
        } else {
            margin = (size - (g + spacing + t)) / 2 + (in.Speed ? 1 : 0);
        }
    } else if (spacing == -1) {
        spacing = ((size - margin - g) - t) / 2;
    }
    out.Margin = margin;
    out.Spacing = spacing;
    out.TextFlags = kDtWordBreak;
    switch (in.Place) {
    case kGlyphLeft:
        out.GlyphX = margin;
        out.TextX = margin + in.GlyphW + spacing;
        break;
    case kGlyphRight:
        out.GlyphX = in.W - margin - in.GlyphW;
        out.TextX = out.GlyphX - spacing - in.TextW;
        out.TextFlags |= kDtRight;
        break;
    case kGlyphTop:
        out.GlyphY = margin;
        out.TextY = margin + in.GlyphH + spacing;
        out.TextFlags |= kDtCenter;
        break;
    case kGlyphBottom:
        out.GlyphY = in.H - margin - in.GlyphH;
        out.TextY = out.GlyphY - spacing - in.TextH;
        out.TextFlags |= kDtCenter;
        break;
    }
    return out;
}

MenuButtonLayout LayoutMenuButton(int W, int H, int glyphW, int glyphH, int textW, int textH, int margin,
                                  int spacing) {
    constexpr int kArrow = 8;
    MenuButtonLayout out;
    if (margin == -1 && spacing == -1) {
        margin = (W - (glyphW + textW + kArrow)) / 4;
        spacing = margin;
    } else if (margin == -1) {
        margin = (W - (glyphW + textW + 2 * spacing + kArrow)) / 2;
    } else if (spacing == -1) {
        spacing = ((W - 2 * margin - glyphW + kArrow) - textW) / 2;
    }
    out.Margin = margin;
    out.Spacing = spacing;
    out.GlyphX = margin;
    out.GlyphY = (H - glyphH) / 2;
    out.TextX = margin + glyphW + spacing;
    out.TextY = (H - textH + 1) / 2;
    out.ArrowX = out.TextX + 2 * spacing + textW;
    out.ArrowY = (H - 3) / 2;
    return out;
}

PixelRect PlaceButtonCaption(const PixelRect& area, int w, int h, bool centred) {
    const int W = area.Width(), H = area.Height();
    if (centred) {
        const int x = area.Left + (W - w) / 2, y = area.Top + (H - h) / 2 - 1;
        return {x, y, x + w, y + h};
    }
    const int y = area.Top + (H - h) / 2 - 1;
    return {area.Left, y, area.Right, y + h};
}

PixelRect StatusPanelRect(const PixelRect& reported, bool last, int barRight) {
    PixelRect r = reported;
    r.Right = last ? barRight : r.Right + 2;
    return r;
}

int StatusBevelFrame(int bevel) { return bevel == 1 ? 1 : bevel == 2 ? 2 : 3; }

unsigned StatusPanelAlignment(int alignment, bool rightToLeft) {
    if (rightToLeft && alignment != 2) alignment = alignment == 0 ? 1 : 0;
    return alignment == 1 ? kDtRight : alignment == 2 ? kDtCenter : 0;
}

}  // namespace kes
