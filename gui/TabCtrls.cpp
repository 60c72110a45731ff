#include "gui/TabCtrls.h"

#include <algorithm>

namespace kes {

static const std::vector<std::string> kOrientationNames{"udVertical", "udHorizontal"};
static const std::vector<std::string> kTabStyleNames{"tsTabs", "tsButtons", "tsFlatButtons"};

// ---- up-down ----

const TPropTable& TUpDown::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            IntProp<TUpDown>(
                "Min", [](const TUpDown& c) { return c.Min(); }, [](TUpDown& c, int v) { c.SetRange(v, c.Max()); }),
            IntProp<TUpDown>(
                "Max", [](const TUpDown& c) { return c.Max(); }, [](TUpDown& c, int v) { c.SetRange(c.Min(), v); }),
            IntProp<TUpDown>(
                "Position", [](const TUpDown& c) { return c.Position(); }, [](TUpDown& c, int v) { c.SetPosition(v); }),
            EnumProp<TUpDown>(
                "Orientation", kOrientationNames, [](const TUpDown& c) { return c.Orientation(); },
                [](TUpDown& c, int64_t v) { c.SetOrientation(static_cast<TUDOrientation>(v)); }),
        });
    return t;
}

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 17, 25); }

void TUpDown::SetRange(int min, int max) {
    if (max < min) max = min;
    min_ = min;
    max_ = max;
    position_ = std::clamp(position_, min_, max_);
    Push();
}

void TUpDown::SetPosition(int v) {
    position_ = std::clamp(v, min_, max_);
    Push();
}

void TUpDown::SetOrientation(TUDOrientation o) {
    if (o == orientation_) return;
    orientation_ = o;
    RecreateWnd();
}

void TUpDown::ArrowPressed(int delta) {
    const int next = std::clamp(position_ + delta, min_, max_);
    if (next == position_) return;
    position_ = next;
    Fire(OnChange, this);
}

// ---- tab set ----

std::vector<TRect> TabSetLayout(const std::vector<int>& textWidths, int start, int limit, int height,
                                bool scrollButtons) {
    std::vector<TRect> tabs;
    const long long end = static_cast<long long>(limit) - (scrollButtons ? kTabSetScrollerRoom : 0);
    long long x = start;
    for (int text : textWidths) {
        const long long w = static_cast<long long>(std::max(text, 0)) + kTabSetPadding;
        if (x + w > end) {
            const int at = static_cast<int>(std::clamp<long long>(x, INT32_MIN, INT32_MAX));
            tabs.push_back(Rect(at, 0, at, 0));
            continue;
        }
        tabs.push_back(Rect(static_cast<int>(x), 0, static_cast<int>(x + w), height));
        x += w;
    }
    return tabs;
}

const TPropTable& TTabSet::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            IntProp<TTabSet>(
                "TabIndex", [](const TTabSet& c) { return c.TabIndex(); }, [](TTabSet& c, int v) { c.SetTabIndex(v); }),
            IntProp<TTabSet>(
                "FirstIndex", [](const TTabSet& c) { return c.FirstIndex(); },
                [](TTabSet& c, int v) { c.SetFirstIndex(v); }),
            IntProp<TTabSet>(
                "StartMargin", [](const TTabSet& c) { return c.StartMargin(); },
                [](TTabSet& c, int v) { c.SetStartMargin(v); }),
            IntProp<TTabSet>(
                "EndMargin", [](const TTabSet& c) { return c.EndMargin(); },
                [](TTabSet& c, int v) { c.SetEndMargin(v); }),
        });
    return t;
}

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner) {
    scroller_ = new TUpDown(this);
    scroller_->SetOrientation(udHorizontal);
    scroller_->SetVisible(false);
    scroller_->SetParent(this);
    scroller_->OnChange = [this](TObject*) { SetFirstIndex(scroller_->Position()); };
    SetBounds(0, 0, 185, 21);
}

void TTabSet::AddTab(const std::string& caption) {
    tabs_.push_back(caption);
    UpdateScroller();
    Invalidate();
}

void TTabSet::SetTabs(const std::vector<std::string>& captions) {
    tabs_ = captions;
    if (tabIndex_ >= TabCount()) tabIndex_ = TabCount() - 1;
    firstIndex_ = std::clamp(firstIndex_, 0, std::max(0, TabCount() - 1));
    UpdateScroller();
    Invalidate();
}

void TTabSet::SetTabIndex(int index) {
    if (index < -1 || index >= TabCount() || index == tabIndex_) return;
    tabIndex_ = index;
    Invalidate();
    Fire(OnChange, this);
}

void TTabSet::SetFirstIndex(int index) {
    index = std::clamp(index, 0, std::max(0, TabCount() - 1));
    if (index == firstIndex_) return;
    firstIndex_ = index;
    UpdateScroller();
    Invalidate();
}

void TTabSet::SetStartMargin(int v) {
    startMargin_ = v;
    UpdateScroller();
    Invalidate();
}

void TTabSet::SetEndMargin(int v) {
    endMargin_ = v;
    UpdateScroller();
    Invalidate();
}

void TTabSet::BoundsChanged() {
    TCustomControl::BoundsChanged();
    UpdateScroller();
}

bool TTabSet::ScrollerShows() const { return scroller_ && scroller_->Visible(); }

std::vector<TRect> TTabSet::TabRects() const {
    std::vector<int> widths;
    for (int i = firstIndex_; i < TabCount(); ++i) widths.push_back(TabTextWidth(i));
    return TabSetLayout(widths, startMargin_, Width() - endMargin_, Height(), ScrollerShows());
}

int TTabSet::ItemAtPos(TPoint p) const {
    const std::vector<TRect> rects = TabRects();
    for (size_t i = 0; i < rects.size(); ++i)
        if (!rects[i].IsEmpty() && rects[i].Contains(p)) return firstIndex_ + static_cast<int>(i);
    return -1;
}

void TTabSet::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        const int hit = ItemAtPos({x, y});
        if (hit >= 0) SetTabIndex(hit);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TTabSet::UpdateScroller() {
    if (!scroller_) return;
    // The buttons show while some tab lies before the first shown or does not fit without them.
    bool someHidden = firstIndex_ > 0;
    if (!someHidden) {
        std::vector<int> widths;
        for (int i = 0; i < TabCount(); ++i) widths.push_back(TabTextWidth(i));
        for (const TRect& r : TabSetLayout(widths, startMargin_, Width() - endMargin_, Height(), false))
            if (r.IsEmpty()) someHidden = true;
    }
    const int w = 2 * std::max(12, Height() - 4), h = std::max(8, Height() - 4);
    scroller_->SetBounds(Width() - w - 2, (Height() - h) / 2, w, h);
    scroller_->SetRange(0, std::max(0, TabCount() - 1));
    scroller_->SetPosition(firstIndex_);
    scroller_->SetVisible(someHidden);
}

// ---- tab control ----

const TPropTable& TCustomTabControl::ClassProps() {
    static const TPropTable t(&TWinControl::ClassProps(),
                              {
                                  IntProp<TCustomTabControl>(
                                      "TabIndex", [](const TCustomTabControl& c) { return c.TabIndex(); },
                                      [](TCustomTabControl& c, int v) { c.SetTabIndex(v); }),
                                  EnumProp<TCustomTabControl>(
                                      "Style", kTabStyleNames, [](const TCustomTabControl& c) { return c.Style(); },
                                      [](TCustomTabControl& c, int64_t v) { c.SetStyle(static_cast<TTabStyle>(v)); }),
                              });
    return t;
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 289, 193);
    TabStop = true;
}

void TCustomTabControl::SetStyle(TTabStyle s) {
    if (s == style_) return;
    style_ = s;
    RecreateWnd();
}

void TCustomTabControl::Change() { Fire(OnChange, this); }

// ---- tab sheets and page control ----

const TPropTable& TTabSheet::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            IntProp<TTabSheet>(
                "PageIndex", [](const TTabSheet& c) { return c.PageIndex(); }, [](TTabSheet&, int) {}),
        });
    return t;
}

TTabSheet::TTabSheet(TComponent* owner) : TCustomControl(owner) { SetVisible(false); }

TTabSheet::~TTabSheet() {
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* control) {
    if (control == pageControl_) return;
    if (pageControl_) pageControl_->RemovePage(this);
    pageControl_ = control;
    if (control) {
        SetParent(control);
        control->InsertPage(this);
    } else {
        SetParent(nullptr);
    }
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    for (int i = 0; i < pageControl_->PageCount(); ++i)
        if (pageControl_->Pages(i) == this) return i;
    return -1;
}

void TTabSheet::TextChanged() {
    TCustomControl::TextChanged();
    if (pageControl_) pageControl_->PageCaptionChanged(this);
}

const TPropTable& TPageControl::ClassProps() {
    static const TPropTable t(&TCustomTabControl::ClassProps(),
                              {
                                  IntProp<TPageControl>(
                                      "ActivePageIndex", [](const TPageControl& c) { return c.ActivePageIndex(); },
                                      [](TPageControl& c, int v) { c.SetActivePageIndex(v); }),
                              });
    return t;
}

TPageControl::~TPageControl() {
    for (TTabSheet* p : pages_) p->pageControl_ = nullptr;
}

TTabSheet* TPageControl::ActivePage() const {
    const int i = TabIndex();
    return i >= 0 && i < PageCount() ? pages_[static_cast<size_t>(i)] : nullptr;
}

void TPageControl::SetActivePageIndex(int index) {
    if (index < -1 || index >= PageCount()) return;
    SetTabIndex(index);
    ArrangePages();
}

void TPageControl::SetActivePage(TTabSheet* page) {
    for (int i = 0; i < PageCount(); ++i)
        if (pages_[static_cast<size_t>(i)] == page) SetActivePageIndex(i);
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    AddTab(page->Caption());
    if (PageCount() == 1) SetTabIndex(0);
    ArrangePages();
}

void TPageControl::RemovePage(TTabSheet* page) {
    const auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    const int index = static_cast<int>(it - pages_.begin());
    pages_.erase(it);
    if (!Destroying()) DeleteTab(index);
    page->pageControl_ = nullptr;
    if (!Destroying()) ArrangePages();
}

void TPageControl::PageCaptionChanged(TTabSheet* page) {
    const int index = page->PageIndex();
    if (index >= 0) SetTabText(index, page->Caption());
}

void TPageControl::CreateWnd() {
    TCustomTabControl::CreateWnd();
    ArrangePages();
}

void TPageControl::Change() {
    ArrangePages();
    TCustomTabControl::Change();
}

void TPageControl::BoundsChanged() {
    TCustomTabControl::BoundsChanged();
    ArrangePages();
}

void TPageControl::ArrangePages() {
    const TRect area = DisplayRect();
    TTabSheet* active = ActivePage();
    for (TTabSheet* p : pages_) {
        p->SetBoundsRect(area);
        p->SetVisible(p == active);
    }
}

}  // namespace kes
