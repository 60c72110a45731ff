#include "gui/ScrollBar.h"

#include <algorithm>

#include "gui/TypInfo.h"

namespace kes {

const std::vector<std::string> kScrollBarKindNames = {"sbHorizontal", "sbVertical"};

const TPropTable& TScrollBar::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            EnumProp<TScrollBar>(
                "Kind", kScrollBarKindNames, [](const TScrollBar& c) { return c.Kind(); },
                [](TScrollBar& c, int64_t v) { c.SetKind(static_cast<TScrollBarKind>(v)); }),
            IntProp<TScrollBar>(
                "Position", [](const TScrollBar& c) { return c.Position(); },
                [](TScrollBar& c, int v) { c.SetPosition(v); }),
            IntProp<TScrollBar>(
                "Min", [](const TScrollBar& c) { return c.Min(); }, [](TScrollBar& c, int v) { c.SetMin(v); }),
            IntProp<TScrollBar>(
                "Max", [](const TScrollBar& c) { return c.Max(); }, [](TScrollBar& c, int v) { c.SetMax(v); }),
            IntProp<TScrollBar>(
                "PageSize", [](const TScrollBar& c) { return c.PageSize(); },
                [](TScrollBar& c, int v) { c.SetPageSize(v); }),
            IntProp<TScrollBar>(
                "SmallChange", [](const TScrollBar& c) { return c.SmallChange; },
                [](TScrollBar& c, int v) { c.SmallChange = v; }),
            IntProp<TScrollBar>(
                "LargeChange", [](const TScrollBar& c) { return c.LargeChange; },
                [](TScrollBar& c, int v) { c.LargeChange = v; }),
        });
    return t;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 121, 17); }

void TScrollBar::SetKind(TScrollBarKind kind) {
    if (kind == kind_) return;
    kind_ = kind;
    // The bar turns across: width and height change places.
    SetBounds(Left(), Top(), Height(), Width());
    if (HandleAllocated()) RecreateWnd();
}

int TScrollBar::LastPosition() const { return page_ > 0 ? std::max(min_, max_ - page_ + 1) : max_; }

void TScrollBar::SetParams(int position, int min, int max) {
    if (max < min) max = min;
    const int old = position_;
    min_ = min;
    max_ = max;
    position_ = std::clamp(position, min_, LastPosition());
    UpdateBar();
    if (position_ != old && !Destroying()) Fire(OnChange, this);
}

void TScrollBar::SetPosition(int position) {
    position = std::clamp(position, min_, LastPosition());
    if (position == position_) return;
    position_ = position;
    UpdateBar();
    if (!Destroying()) Fire(OnChange, this);
}

void TScrollBar::SetPageSize(int page) {
    page_ = std::clamp(page, 0, max_ - min_ + 1);
    position_ = std::clamp(position_, min_, LastPosition());
    UpdateBar();
}

int TScrollBar::ScrolledPosition(TScrollCode code, int thumb) const {
    switch (code) {
    case scLineUp: return position_ - SmallChange;
    case scLineDown: return position_ + SmallChange;
    case scPageUp: return position_ - LargeChange;
    case scPageDown: return position_ + LargeChange;
    case scPosition:
    case scTrack: return thumb;
    case scTop: return min_;
    case scBottom: return LastPosition();
    case scEndScroll: return position_;
    }
    return position_;
}

void TScrollBar::Scrolled(TScrollCode code, int thumb) {
    int pos = std::clamp(ScrolledPosition(code, thumb), min_, LastPosition());
    if (OnScroll) OnScroll(this, code, pos);
    SetPosition(pos);
}

}  // namespace kes
