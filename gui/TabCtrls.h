#pragma once
// Tabs of the class library: the up-down control (two arrow buttons), the old-style tab set that draws its own
// tabs in a row with a pair of scroll buttons, the tab control of the system (tabs or buttons) and the page
// control that shows one tab sheet per tab. State lives in the objects; the platform files keep the windows in
// step with it (win/TabCtrls.cpp) or stand in for them (TabCtrlsHeadless.cpp).
#include <string>
#include <vector>

#include "gui/Controls.h"

namespace kes {

// ---- up-down ----

enum TUDOrientation { udVertical, udHorizontal };

class TUpDown : public TWinControl {
    KES_CLASS(TUpDown, TWinControl)
    KES_PUBLISHED
public:
    explicit TUpDown(TComponent* owner);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetRange(int min, int max);
    // Kept inside Min..Max.
    int Position() const { return position_; }
    void SetPosition(int v);
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation o);
    // An arrow moved the position (by the mouse or the keys).
    TNotifyEvent OnChange;

    // Internal: an arrow asks to move the position by delta; the new position (kept in range) is taken.
    void ArrowPressed(int delta);
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    void Push();
    int min_ = 0, max_ = 100, position_ = 0;
    TUDOrientation orientation_ = udVertical;
};

// ---- old-style tab set ----

// The tabs of a tab set side by side from `start`, each its caption's width plus kTabSetPadding, `height`
// high, first visible tab first. A tab that would cross `limit` (kTabSetScrollerRoom pixels earlier while
// the scroll buttons show) is left out and later, narrower tabs are still tried. One rectangle per caption
// width given; a tab left out has an empty rectangle.
constexpr int kTabSetPadding = 9;
constexpr int kTabSetScrollerRoom = 12;
std::vector<TRect> TabSetLayout(const std::vector<int>& textWidths, int start, int limit, int height,
                                bool scrollButtons);

class TTabSet : public TCustomControl {
    KES_CLASS(TTabSet, TCustomControl)
    KES_PUBLISHED
public:
    // Makes its scroll buttons (an up-down, the first component it owns).
    explicit TTabSet(TComponent* owner);

    int TabCount() const { return static_cast<int>(tabs_.size()); }
    const std::string& Tab(int index) const { return tabs_.at(static_cast<size_t>(index)); }
    void AddTab(const std::string& caption);
    void SetTabs(const std::vector<std::string>& captions);
    void ClearTabs() { SetTabs({}); }

    // The current tab (-1: none); OnChange follows a change.
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int index);
    // The first tab shown; the scroll buttons move it.
    int FirstIndex() const { return firstIndex_; }
    void SetFirstIndex(int index);
    int StartMargin() const { return startMargin_; }
    void SetStartMargin(int v);
    int EndMargin() const { return endMargin_; }
    void SetEndMargin(int v);
    TNotifyEvent OnChange;

    TUpDown* Scroller() const { return scroller_; }
    bool ScrollerShows() const;
    // The tabs from FirstIndex on as they lie in the control (an empty rectangle: the tab is left out).
    std::vector<TRect> TabRects() const;
    // The tab at a client point, or -1.
    int ItemAtPos(TPoint p) const;
    // The caption's width in the control's font.
    virtual int TabTextWidth(int index) const;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint(TCanvas& canvas) override;

protected:
    void BoundsChanged() override;

private:
    // Shows or hides the scroll buttons and puts them at the right end.
    void UpdateScroller();
    std::vector<std::string> tabs_;
    int tabIndex_ = -1;
    int firstIndex_ = 0;
    int startMargin_ = 5, endMargin_ = 32;
    TUpDown* scroller_ = nullptr;
};

// ---- tab control and page control ----

enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };

class TCustomTabControl : public TWinControl {
    KES_CLASS(TCustomTabControl, TWinControl)
    KES_PUBLISHED
public:
    explicit TCustomTabControl(TComponent* owner);
    int TabCount() const { return static_cast<int>(tabs_.size()); }
    const std::string& Tab(int index) const { return tabs_.at(static_cast<size_t>(index)); }
    void AddTab(const std::string& caption) { InsertTab(TabCount(), caption); }
    void InsertTab(int index, const std::string& caption);
    void DeleteTab(int index);
    void SetTabText(int index, const std::string& caption);
    // The selected tab (-1: none).
    int TabIndex() const;
    void SetTabIndex(int index);
    TTabStyle Style() const { return style_; }
    void SetStyle(TTabStyle s);
    TNotifyEvent OnChange;
    // The area inside the tabs' frame where the pages go (client coordinates).
    TRect DisplayRect() const;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    // The selected tab changed (by the user or by SetTabIndex).
    virtual void Change();

private:
    std::vector<std::string> tabs_;
    int tabIndex_ = -1;  // while there is no window
    TTabStyle style_ = tsTabs;
};

class TTabControl : public TCustomTabControl {
    KES_CLASS(TTabControl, TCustomTabControl)
public:
    using TCustomTabControl::TCustomTabControl;
};

class TPageControl;

class TTabSheet : public TCustomControl {
    KES_CLASS(TTabSheet, TCustomControl)
    KES_PUBLISHED
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return pageControl_; }
    // Puts the sheet on a page control (its last page), or takes it off (nullptr).
    void SetPageControl(TPageControl* control);
    int PageIndex() const;

protected:
    void TextChanged() override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
};

class TPageControl : public TCustomTabControl {
    KES_CLASS(TPageControl, TCustomTabControl)
    KES_PUBLISHED
public:
    using TCustomTabControl::TCustomTabControl;
    ~TPageControl() override;
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }
    TTabSheet* ActivePage() const;
    int ActivePageIndex() const { return TabIndex(); }
    void SetActivePageIndex(int index);
    void SetActivePage(TTabSheet* page);

protected:
    void CreateWnd() override;
    void Change() override;
    void BoundsChanged() override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void PageCaptionChanged(TTabSheet* page);
    // Puts every sheet in the display area, the active one shown.
    void ArrangePages();
    std::vector<TTabSheet*> pages_;
};

}  // namespace kes
