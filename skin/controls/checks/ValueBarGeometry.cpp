#include "skin/controls/checks/ValueBarGeometry.h"

#include <algorithm>

namespace kes {

int ProgressFill(int length, int64_t pos, int64_t min, int64_t max) {
    // Kept without a "max > 0 and pos > 0" test: a range below zero fills as any other instead of staying empty.
    if (max <= min || length <= 0) return 0;
    const int64_t span = max - min;
    const int64_t part = std::clamp<int64_t>(pos - min, 0, span);
    return static_cast<int>((static_cast<int64_t>(length) * part * 2 + span) / (span * 2));
}

ProgressPlan PlanProgress(int w, int h, bool vertical, int64_t pos, int64_t min, int64_t max) {
    ProgressPlan p;
    p.Width = std::max(0, vertical ? h : w);
    p.Height = std::max(0, vertical ? w : h);
    p.Filled = ProgressFill(p.Width, pos, min, max);
    return p;
}

PixelRect ProgressFilledRect(const ProgressPlan& p, bool vertical) {
    if (!vertical) return {0, 0, p.Filled, p.Height};
    return {0, p.Width - p.Filled, p.Height, p.Width};
}

ChunkPlan PlanChunks(const ProgressPlan& p, int cw, int ch, bool tile, int chunkLeftWidth) {
    ChunkPlan c;
    if (p.Filled <= 0 || cw <= 0 || ch <= 0) return c;
    if (tile) {
        const int x = chunkLeftWidth + 2, y = (p.Height - ch) / 2;
        c.Strip = {x, y, x + p.Filled, y + ch};
        c.Copies = p.Filled / cw + 1;
    } else {
        // Kept: the stretched chunk shows whole inside the 2-pixel rim; cut at height - 4 it lost its bottom edge.
        c.Strip = {2, 2, 2 + p.Filled, std::max(2, p.Height - 2)};
    }
    return c;
}

std::array<StretchPiece, 3> TrackChannelPieces(const PixelRect& reported, bool vertical, int iw, int ih, int first,
                                               int last) {
    if (vertical) {
        const PixelRect r{reported.Top, reported.Left, reported.Bottom, reported.Right};
        const int x = r.Left + (iw < r.Width() ? (r.Width() - iw) / 2 : 0);
        return {{{{0, 0, iw, first}, {x, r.Top, x + iw, r.Top + first}},
                 {{0, first, iw, ih - last}, {x, r.Top + first, x + iw, r.Bottom - last}},
                 {{0, ih - last, iw, ih}, {x, r.Bottom - last, x + iw, r.Bottom}}}};
    }
    const PixelRect& r = reported;
    const int y = r.Top + (ih < r.Height() ? (r.Height() - ih) / 2 : 0);
    return {{{{0, 0, first, ih}, {r.Left, y, r.Left + first, y + ih}},
             {{first, 0, iw - last, ih}, {r.Left + first, y, r.Right - last, y + ih}},
             {{iw - last, 0, iw, ih}, {r.Right - last, y, r.Right, y + ih}}}};
}

TrackDrawAnswer TrackCustomDraw(uint32_t stage, uintptr_t item) {
    constexpr uint32_t kPrePaint = 1, kItemPrePaint = 0x10001;
    constexpr long kNotifyItemDraw = 0x20, kSkipDefault = 4;
    if (stage == kPrePaint) return {kNotifyItemDraw, TrackPart::None};
    if (stage != kItemPrePaint) return {};
    if (item == 2) return {kSkipDefault, TrackPart::Thumb};
    if (item == 3) return {kSkipDefault, TrackPart::Channel};
    return {};
}

}  // namespace kes
