#pragma once
// A scroll-bar control: a bar of its own (not a window's bar) with a position inside a range, a page and line
// and page steps. The user's arrows, track and thumb move the position; the parent hands the bar's scroll
// messages back to it.
#include <functional>
#include <string>
#include <vector>

#include "gui/Controls.h"

namespace kes {

enum TScrollBarKind { sbHorizontal, sbVertical };
extern const std::vector<std::string> kScrollBarKindNames;

// The scroll codes of a scroll message (line and page up or down, thumb track and position, ends).
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

using TScrollEvent = std::function<void(TObject* sender, TScrollCode code, int& position)>;

class TScrollBar : public TWinControl {
    KES_CLASS(TScrollBar, TWinControl)
    KES_PUBLISHED
public:
    explicit TScrollBar(TComponent* owner);
    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind kind);
    int Position() const { return position_; }
    void SetPosition(int position);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetMin(int v) { SetParams(position_, v, max_); }
    void SetMax(int v) { SetParams(position_, min_, v); }
    int PageSize() const { return page_; }
    void SetPageSize(int page);
    // Position kept within min .. max - page + 1 (max with no page); a maximum below the minimum is raised to it.
    void SetParams(int position, int min, int max);
    int SmallChange = 1;
    int LargeChange = 1;
    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

    // The position a scroll code leads to from the current one (thumb codes carry their own position).
    int ScrolledPosition(TScrollCode code, int thumb) const;
    // The largest position the range and page allow.
    int LastPosition() const;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    // Gives the window the range, page and position.
    void UpdateBar();
    void Scrolled(TScrollCode code, int thumb);

    TScrollBarKind kind_ = sbHorizontal;
    int position_ = 0, min_ = 0, max_ = 100, page_ = 0;
};

}  // namespace kes
