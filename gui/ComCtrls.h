#pragma once
// Common controls: status bar with panels, progress bar.
#include <memory>
#include <string>
#include <vector>

#include "gui/Controls.h"
#include "gui/StdCtrls.h"

namespace kes {

class TCustomStatusBar;

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle { psText, psOwnerDraw };

class TStatusPanel : public TPersistent {
    KES_CLASS(TStatusPanel, TPersistent)
public:
    explicit TStatusPanel(TCustomStatusBar& bar) : bar_(bar) {}
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    int Width() const { return width_; }
    void SetWidth(int width);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel b);
    // An owner-drawn panel is painted by the bar's OnDrawPanel.
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle s);
    TBiDiMode BiDiMode = bdLeftToRight;
    int Index() const;

private:
    TCustomStatusBar& bar_;
    std::string text_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    TStatusPanelBevel bevel_ = pbLowered;
    TStatusPanelStyle style_ = psText;
};

using TDrawPanelEvent = std::function<void(TCustomStatusBar* bar, TStatusPanel& panel, const TRect& rect)>;

class TStatusPanels {
public:
    explicit TStatusPanels(TCustomStatusBar& bar) : bar_(bar) {}
    int Count() const { return static_cast<int>(panels_.size()); }
    TStatusPanel& operator[](int index) const { return Items(index); }
    TStatusPanel& Items(int index) const;  // EListError when out of range
    TStatusPanel& Add();
    void Delete(int index);
    void Clear();
    int IndexOf(const TStatusPanel* p) const;

private:
    TCustomStatusBar& bar_;
    std::vector<std::unique_ptr<TStatusPanel>> panels_;
};

class TCustomStatusBar : public TWinControl {
    KES_CLASS(TCustomStatusBar, TWinControl)
    KES_PUBLISHED
public:
    explicit TCustomStatusBar(TComponent* owner);
    TStatusPanels& Panels() { return panels_; }
    const TStatusPanels& Panels() const { return panels_; }
    // One text across the whole bar instead of the panels.
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool on);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& text);
    bool SizeGrip = true;
    // Paints an owner-drawn panel (the bar's canvas is open on the window's DC meanwhile).
    TDrawPanelEvent OnDrawPanel;
    TCanvas* Canvas() const { return canvas_; }
    // Internal: runs OnDrawPanel for the panel at index with its rectangle, on a canvas over dc.
    void DrawPanel(int index, const TRect& rect, void* dc);
    // Right edges of the panels as the window wants them (the last one reaches the end: -1).
    std::vector<int> PanelEdges() const;
    // Internal: a panel changed (`index` -1 = layout).
    void PanelChanged(int index);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void BoundsChanged() override;

private:
    TStatusPanels panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
    TCanvas* canvas_ = nullptr;

public:
    void WndProc(TMessage& message) override;
};

class TStatusBar : public TCustomStatusBar {
    KES_CLASS(TStatusBar, TCustomStatusBar)
public:
    using TCustomStatusBar::TCustomStatusBar;
};

class TProgressBar : public TWinControl {
    KES_CLASS(TProgressBar, TWinControl)
    KES_PUBLISHED
public:
    explicit TProgressBar(TComponent* owner);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetMin(int v) { SetRange(v, max_); }
    void SetMax(int v) { SetRange(min_, v); }
    void SetRange(int min, int max);
    // Kept inside Min..Max.
    int Position() const { return position_; }
    void SetPosition(int v);
    int Step = 10;
    void StepIt() { SetPosition(position_ + Step); }
    void StepBy(int delta) { SetPosition(position_ + delta); }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    void Push();
    int min_ = 0, max_ = 100, position_ = 0;
};

}  // namespace kes
