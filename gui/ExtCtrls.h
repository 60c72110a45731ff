#pragma once
// Panel (a docked container with a bevelled edge and a caption) and shape (a drawn figure).
#include <string>
#include <vector>

#include "gui/Controls.h"
#include "gui/StdCtrls.h"

namespace kes {

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
    KES_CLASS(TCustomPanel, TCustomControl)
    KES_PUBLISHED
public:
    explicit TCustomPanel(TComponent* owner);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel b);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel b);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int w);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s);
    // Width of the edge on each side: the bevels and the border.
    int EdgeWidth() const;
    TRect ClientRect() const override;
    void Paint(TCanvas& canvas) override;

protected:
    void TextChanged() override;

private:
    void EdgeChanged();
    TAlignment alignment_ = taCenter;
    TPanelBevel bevelInner_ = bvNone, bevelOuter_ = bvRaised;
    int bevelWidth_ = 1, borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNone;
};

class TPanel : public TCustomPanel {
    KES_CLASS(TPanel, TCustomPanel)
public:
    using TCustomPanel::TCustomPanel;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
    KES_CLASS(TShape, TGraphicControl)
    KES_PUBLISHED
public:
    explicit TShape(TComponent* owner);
    TShapeType Shape() const { return shape_; }
    void SetShape(TShapeType s);
    // Change the pen or brush, then call Invalidate (or use the setters).
    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    const TPen& Pen() const { return pen_; }
    const TBrush& Brush() const { return brush_; }
    void SetPenColor(TColor c);
    void SetPenWidth(int w);
    void SetBrushColor(TColor c);
    // The figure's rectangle inside the control (squares and circles centred), pen width allowed for.
    TRect FigureRect() const;
    void Paint(TCanvas& canvas) override;

private:
    TShapeType shape_ = stRectangle;
    TPen pen_;
    TBrush brush_;
};

}  // namespace kes
