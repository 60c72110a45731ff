#include "gui/ExtCtrls.h"

#include <algorithm>

namespace kes {

static const std::vector<std::string> kBevelNames{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
static const std::vector<std::string> kBorderStyleNames{"bsNone", "bsSingle"};
static const std::vector<std::string> kShapeTypeNames{"stRectangle",   "stSquare",  "stRoundRect",
                                                      "stRoundSquare", "stEllipse", "stCircle"};

const TPropTable& TCustomPanel::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            EnumProp<TCustomPanel>(
                "Alignment", kAlignmentNames, [](const TCustomPanel& c) { return c.Alignment(); },
                [](TCustomPanel& c, int64_t v) { c.SetAlignment(static_cast<TAlignment>(v)); }),
            EnumProp<TCustomPanel>(
                "BevelInner", kBevelNames, [](const TCustomPanel& c) { return c.BevelInner(); },
                [](TCustomPanel& c, int64_t v) { c.SetBevelInner(static_cast<TPanelBevel>(v)); }),
            EnumProp<TCustomPanel>(
                "BevelOuter", kBevelNames, [](const TCustomPanel& c) { return c.BevelOuter(); },
                [](TCustomPanel& c, int64_t v) { c.SetBevelOuter(static_cast<TPanelBevel>(v)); }),
            IntProp<TCustomPanel>(
                "BevelWidth", [](const TCustomPanel& c) { return c.BevelWidth(); },
                [](TCustomPanel& c, int v) { c.SetBevelWidth(v); }),
            IntProp<TCustomPanel>(
                "BorderWidth", [](const TCustomPanel& c) { return c.BorderWidth(); },
                [](TCustomPanel& c, int v) { c.SetBorderWidth(v); }),
            EnumProp<TCustomPanel>(
                "BorderStyle", kBorderStyleNames, [](const TCustomPanel& c) { return c.BorderStyle(); },
                [](TCustomPanel& c, int64_t v) { c.SetBorderStyle(static_cast<TBorderStyle>(v)); }),
        });
    return t;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 185, 41);
    parentBackground_ = true;
}

void TCustomPanel::SetAlignment(TAlignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel b) {
    if (b == bevelInner_) return;
    bevelInner_ = b;
    EdgeChanged();
}

void TCustomPanel::SetBevelOuter(TPanelBevel b) {
    if (b == bevelOuter_) return;
    bevelOuter_ = b;
    EdgeChanged();
}

void TCustomPanel::SetBevelWidth(int w) {
    w = std::max(1, w);
    if (w == bevelWidth_) return;
    bevelWidth_ = w;
    EdgeChanged();
}

void TCustomPanel::SetBorderWidth(int w) {
    w = std::max(0, w);
    if (w == borderWidth_) return;
    borderWidth_ = w;
    EdgeChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle s) {
    if (s == borderStyle_) return;
    borderStyle_ = s;
    EdgeChanged();
}

void TCustomPanel::EdgeChanged() {
    Invalidate();
    AlignControls();
}

int TCustomPanel::EdgeWidth() const {
    int w = borderWidth_ + (borderStyle_ == bsSingle ? 1 : 0);
    if (bevelOuter_ != bvNone) w += bevelWidth_;
    if (bevelInner_ != bvNone) w += bevelWidth_;
    return w;
}

TRect TCustomPanel::ClientRect() const {
    const int e = EdgeWidth();
    TRect r = Rect(0, 0, width_, height_);
    r.Left += e;
    r.Top += e;
    r.Right = std::max(r.Left, r.Right - e);
    r.Bottom = std::max(r.Top, r.Bottom - e);
    return r;
}

void TCustomPanel::TextChanged() { Invalidate(); }

const TPropTable& TShape::ClassProps() {
    static const TPropTable t(
        &TControl::ClassProps(),
        {
            EnumProp<TShape>(
                "Shape", kShapeTypeNames, [](const TShape& c) { return c.Shape(); },
                [](TShape& c, int64_t v) { c.SetShape(static_cast<TShapeType>(v)); }),
            ObjProp<TShape>("Pen", [](const TShape& c) { return const_cast<TPen*>(&c.Pen()); }),
            ObjProp<TShape>("Brush", [](const TShape& c) { return const_cast<TBrush*>(&c.Brush()); }),
        });
    return t;
}

TShape::TShape(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 65); }

void TShape::SetShape(TShapeType s) {
    if (s == shape_) return;
    shape_ = s;
    Invalidate();
}

void TShape::SetPenColor(TColor c) {
    pen_.Color = c;
    Invalidate();
}

void TShape::SetPenWidth(int w) {
    pen_.Width = std::max(0, w);
    Invalidate();
}

void TShape::SetBrushColor(TColor c) {
    brush_.Color = c;
    Invalidate();
}

TRect TShape::FigureRect() const {
    const int pw = pen_.Style == psClear ? 0 : pen_.Width;
    int x = pw / 2, y = pw / 2;
    int w = width_ - pw + 1, h = height_ - pw + 1;
    if (pw == 0) {
        w = width_;
        h = height_;
    }
    if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
        const int side = std::min(w, h);
        x += (w - side) / 2;
        y += (h - side) / 2;
        w = h = side;
    }
    return Bounds(x, y, w, h);
}

}  // namespace kes
