// Painting of panels and shapes.
#include "gui/ExtCtrls.h"

#include <algorithm>

#include "gui/win/Canvas.h"
#include "gui/win/Win.h"

namespace kes {

static void Frame3D(TCanvas& c, TRect& r, TColor topLeft, TColor bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        --r.Bottom;
        --r.Right;
        c.Pen().Color = topLeft;
        c.Pen().Width = 1;
        c.Pen().Style = psSolid;
        c.MoveTo(r.Left, r.Bottom);
        c.LineTo(r.Left, r.Top);
        c.LineTo(r.Right, r.Top);
        c.Pen().Color = bottomRight;
        c.LineTo(r.Right, r.Bottom);
        c.LineTo(r.Left - 1, r.Bottom);
        ++r.Left;
        ++r.Top;
    }
}

void TCustomPanel::Paint(TCanvas& canvas) {
    TRect r = Rect(0, 0, width_, height_);
    if (borderStyle_ == bsSingle) Frame3D(canvas, r, clWindowFrame, clWindowFrame, 1);
    if (bevelOuter_ != bvNone)
        Frame3D(canvas, r, bevelOuter_ == bvLowered ? clBtnShadow : clBtnHighlight,
                bevelOuter_ == bvLowered ? clBtnHighlight : clBtnShadow, bevelWidth_);
    r.Left += borderWidth_;
    r.Top += borderWidth_;
    r.Right -= borderWidth_;
    r.Bottom -= borderWidth_;
    if (bevelInner_ != bvNone)
        Frame3D(canvas, r, bevelInner_ == bvLowered ? clBtnShadow : clBtnHighlight,
                bevelInner_ == bvLowered ? clBtnHighlight : clBtnShadow, bevelWidth_);
    if (text_.empty()) return;
    canvas.Brush().Style = bsClear;
    canvas.Font().Assign(font_);
    if (!enabled_) canvas.Font().SetColor(clGrayText);
    unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    flags |= alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
    canvas.DrawText(r, text_, flags);
}

void TShape::Paint(TCanvas& canvas) {
    canvas.Pen().Assign(pen_);
    canvas.Brush().Assign(brush_);
    const TRect r = FigureRect();
    const int x = r.Left, y = r.Top, w = r.Width(), h = r.Height();
    switch (shape_) {
    case stRectangle:
    case stSquare: canvas.Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: {
        const int s = std::min(w, h) / 4;
        canvas.RoundRect(x, y, x + w, y + h, s, s);
        break;
    }
    case stEllipse:
    case stCircle: canvas.Ellipse(x, y, x + w, y + h); break;
    }
}

}  // namespace kes
