#pragma once
// Where a skinned tab control's pieces go: the pane drawn over the display area, the strip beside it that holds
// the tabs, and each tab's rectangle in the work bitmap the tabs are drawn into (drawn upright, then turned for
// tabs at the left or right). An old-style tab set lays its tabs out itself (gui/TabCtrls.h).
#include <vector>

#include "skin/container/PixelBuffer.h"

namespace kes {

enum class TabOrientation : int { Top = 0, Bottom = 1, Left = 2, Right = 3 };

// Style bits of a tab control that choose the side of its tabs.
constexpr unsigned kTabStyleBottom = 0x2;     // with kTabStyleVertical: right
constexpr unsigned kTabStyleVertical = 0x80;  // alone: left

TabOrientation ReadOrientation(unsigned style);

// The pane: the display area (control coordinates) grown by 4 on every side and moved 1 pixel toward the tabs.
PixelRect TabPane(const PixelRect& displayArea, TabOrientation side);

// The strip of the control's rectangle outside the pane on the tabs' side.
PixelRect TabStrip(const PixelRect& control, const PixelRect& pane, TabOrientation side);

// Width and height of the work bitmap for a strip: the strip's, or turned for tabs at the left or right.
struct TabWorkSize {
    int Width = 0, Height = 0;
    bool operator==(const TabWorkSize&) const = default;
};
TabWorkSize WorkSize(const PixelRect& strip, TabOrientation side);

// A tab's rectangle (control coordinates, as the control reports it) in the work bitmap of a strip of `work`
// size, the control's rectangle being `control` and its pane `pane`.
PixelRect TabInWork(const PixelRect& tab, TabOrientation side, const PixelRect& control, const PixelRect& pane,
                    const TabWorkSize& work);

}  // namespace kes
