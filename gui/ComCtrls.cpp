#include "gui/ComCtrls.h"

#include <algorithm>

#include "base/Exception.h"

namespace kes {

void TStatusPanel::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    bar_.PanelChanged(Index());
}

void TStatusPanel::SetWidth(int width) {
    width = std::max(0, width);
    if (width == width_) return;
    width_ = width;
    bar_.PanelChanged(-1);
}

void TStatusPanel::SetAlignment(TAlignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    bar_.PanelChanged(Index());
}

void TStatusPanel::SetBevel(TStatusPanelBevel b) {
    if (b == bevel_) return;
    bevel_ = b;
    bar_.PanelChanged(Index());
}

void TStatusPanel::SetStyle(TStatusPanelStyle s) {
    if (s == style_) return;
    style_ = s;
    bar_.PanelChanged(Index());
}

int TStatusPanel::Index() const { return bar_.Panels().IndexOf(this); }

TStatusPanel& TStatusPanels::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return *panels_[static_cast<size_t>(index)];
}

TStatusPanel& TStatusPanels::Add() {
    panels_.push_back(std::make_unique<TStatusPanel>(bar_));
    bar_.PanelChanged(-1);
    return *panels_.back();
}

void TStatusPanels::Delete(int index) {
    Items(index);
    panels_.erase(panels_.begin() + index);
    bar_.PanelChanged(-1);
}

void TStatusPanels::Clear() {
    panels_.clear();
    bar_.PanelChanged(-1);
}

int TStatusPanels::IndexOf(const TStatusPanel* p) const {
    for (size_t i = 0; i < panels_.size(); ++i)
        if (panels_[i].get() == p) return static_cast<int>(i);
    return -1;
}

const TPropTable& TCustomStatusBar::ClassProps() {
    static const TPropTable t(&TWinControl::ClassProps(),
                              {
                                  BoolProp<TCustomStatusBar>(
                                      "SimplePanel", [](const TCustomStatusBar& c) { return c.SimplePanel(); },
                                      [](TCustomStatusBar& c, bool v) { c.SetSimplePanel(v); }),
                                  StrProp<TCustomStatusBar>(
                                      "SimpleText", [](const TCustomStatusBar& c) { return c.SimpleText(); },
                                      [](TCustomStatusBar& c, const std::string& v) { c.SetSimpleText(v); }),
                                  BoolProp<TCustomStatusBar>(
                                      "SizeGrip", [](const TCustomStatusBar& c) { return c.SizeGrip; },
                                      [](TCustomStatusBar& c, bool v) { c.SizeGrip = v; }),
                              });
    return t;
}

TCustomStatusBar::TCustomStatusBar(TComponent* owner) : TWinControl(owner), panels_(*this) {
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

void TCustomStatusBar::SetSimplePanel(bool on) {
    if (on == simplePanel_) return;
    simplePanel_ = on;
    PanelChanged(-1);
}

void TCustomStatusBar::SetSimpleText(const std::string& text) {
    if (text == simpleText_) return;
    simpleText_ = text;
    PanelChanged(-1);
}

std::vector<int> TCustomStatusBar::PanelEdges() const {
    std::vector<int> edges;
    int x = 0;
    for (int i = 0; i < panels_.Count(); ++i) {
        x += panels_[i].Width();
        edges.push_back(i + 1 == panels_.Count() ? -1 : x);
    }
    return edges;
}

const TPropTable& TProgressBar::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            IntProp<TProgressBar>(
                "Min", [](const TProgressBar& c) { return c.Min(); }, [](TProgressBar& c, int v) { c.SetMin(v); }),
            IntProp<TProgressBar>(
                "Max", [](const TProgressBar& c) { return c.Max(); }, [](TProgressBar& c, int v) { c.SetMax(v); }),
            IntProp<TProgressBar>(
                "Position", [](const TProgressBar& c) { return c.Position(); },
                [](TProgressBar& c, int v) { c.SetPosition(v); }),
            IntProp<TProgressBar>(
                "Step", [](const TProgressBar& c) { return c.Step; }, [](TProgressBar& c, int v) { c.Step = v; }),
        });
    return t;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::SetRange(int min, int max) {
    if (max < min) max = min;
    min_ = min;
    max_ = max;
    position_ = std::clamp(position_, min_, max_);
    Push();
}

void TProgressBar::SetPosition(int v) {
    position_ = std::clamp(v, min_, max_);
    Push();
}

}  // namespace kes
