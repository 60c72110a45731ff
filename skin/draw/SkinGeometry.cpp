#include "SkinGeometry.h"

#include <algorithm>

namespace kes {

PixelRect StripFrame(int imageWidth, int imageHeight, int frame, int frames, bool vertical) {
    frames = std::max(frames, 1);
    frame = std::clamp(frame, 1, frames);
    imageWidth = std::max(imageWidth, 0);
    imageHeight = std::max(imageHeight, 0);
    if (vertical) {
        const int fh = imageHeight / frames;
        return {0, (frame - 1) * fh, imageWidth, frame * fh};
    }
    const int fw = imageWidth / frames;
    return {(frame - 1) * fw, 0, frame * fw, imageHeight};
}

namespace {

// Margins cut to what the frame can hold: negative widths read as 0, and a pair wider than the frame is
// dropped.
SkinMargins FitToFrame(SkinMargins m, int fw, int fh) {
    m.Left = std::max(m.Left, 0);
    m.Top = std::max(m.Top, 0);
    m.Right = std::max(m.Right, 0);
    m.Bottom = std::max(m.Bottom, 0);
    if (m.Left + m.Right > fw) m.Left = m.Right = 0;
    if (m.Top + m.Bottom > fh) m.Top = m.Bottom = 0;
    return m;
}

void Add(SkinPlan& plan, const PixelRect& dest, const PixelRect& source, bool tile = false) {
    if (dest.Empty() || source.Empty()) return;
    plan.push_back({dest, source, tile});
}

}  // namespace

SkinPlan NineSlicePlan(int W, int H, const PixelRect& frame, SkinMargins margins, bool tile) {
    SkinPlan plan;
    if (W <= 0 || H <= 0) return plan;
    const int fw = frame.Width(), fh = frame.Height(), ox = frame.Left, oy = frame.Top;
    SkinMargins m = FitToFrame(margins, fw, fh);
    if (W < m.Left + m.Right) m.Left = m.Right = 0;
    if (H < m.Top + m.Bottom) m.Top = m.Bottom = 0;
    const int L = m.Left, T = m.Top, R = m.Right, B = m.Bottom;
    Add(plan, {0, 0, L, T}, {ox, oy, ox + L, oy + T});                                  // top-left
    Add(plan, {0, H - B, L, H}, {ox, oy + fh - B, ox + L, oy + fh});                    // bottom-left
    Add(plan, {W - R, 0, W, T}, {ox + fw - R, oy, ox + fw, oy + T});                    // top-right
    Add(plan, {0, T, L, H - B}, {ox, oy + T, ox + L, oy + fh - B});                     // left edge
    Add(plan, {L, 0, W - R, T}, {ox + L, oy, ox + fw - R, oy + T});                     // top edge
    Add(plan, {L, T, W - R, H - B}, {ox + L, oy + T, ox + fw - R, oy + fh - B}, tile);  // centre
    Add(plan, {W - R, H - B, W, H}, {ox + fw - R, oy + fh - B, ox + fw, oy + fh});      // bottom-right
    Add(plan, {W - R, T, W, H - B}, {ox + fw - R, oy + T, ox + fw, oy + fh - B});       // right edge
    Add(plan, {L, H - B, W - R, H}, {ox + L, oy + fh - B, ox + fw - R, oy + fh});       // bottom edge
    return plan;
}

SkinPlan ThreeSlicePlan(int W, int H, const PixelRect& frame, SkinMargins margins) {
    SkinPlan plan;
    if (W <= 0 || H <= 0) return plan;
    const int fw = frame.Width(), fh = frame.Height(), ox = frame.Left, oy = frame.Top;
    const SkinMargins m = FitToFrame(margins, fw, fh);
    const int L = m.Left, R = m.Right, M = fw - L - R;
    Add(plan, {0, 0, L, H}, {ox, oy, ox + L, oy + fh});
    if (M > 0)
        for (long long x = L; x < W - R; x += M)
            Add(plan, {static_cast<int>(x), 0, static_cast<int>(x + M), H}, {ox + L, oy, ox + L + M, oy + fh});
    Add(plan, {W - R, 0, W, H}, {ox + fw - R, oy, ox + fw, oy + fh});
    return plan;
}

SkinPlan StretchFramePlan(const PixelRect& dest, const PixelRect& frame, SkinMargins margins) {
    SkinPlan plan;
    const int W = dest.Width(), H = dest.Height();
    if (W <= 0 || H <= 0) return plan;
    const int fw = frame.Width(), fh = frame.Height(), ox = frame.Left, oy = frame.Top;
    if (W < fw) {
        Add(plan, dest, frame);
        return plan;
    }
    const SkinMargins m = FitToFrame(margins, fw, fh);
    const int L = m.Left, R = m.Right;
    const int top = dest.Top, bottom = dest.Top + H;
    Add(plan, {dest.Left, top, dest.Left + L, bottom}, {ox, oy, ox + L, oy + fh});
    Add(plan, {dest.Left + L, top, dest.Right - R, bottom}, {ox + L, oy, ox + fw - R, oy + fh});
    Add(plan, {dest.Right - R, top, dest.Right, bottom}, {ox + fw - R, oy, ox + fw, oy + fh});
    return plan;
}

SkinPoint CentredOrigin(const PixelRect& dest, int width, int height) {
    return {dest.Left + (dest.Width() - width) / 2, dest.Top + (dest.Height() - height) / 2};
}

namespace {
bool InRange(int value, int low, int tolerance) {
    const long long high = std::min<long long>(255, static_cast<long long>(low) + tolerance);
    return value >= low && value <= high;
}
}  // namespace

bool RegionKey::LeavesOut(std::int32_t rgb) const {
    return InRange(rgb & 0xFF, Colour & 0xFF, RedTolerance) &&
           InRange((rgb >> 8) & 0xFF, (Colour >> 8) & 0xFF, GreenTolerance) &&
           InRange((rgb >> 16) & 0xFF, (Colour >> 16) & 0xFF, BlueTolerance);
}

std::vector<PixelRect> RegionRuns(const PixelBuffer& image, int dx, int dy, const RegionKey& key) {
    std::vector<PixelRect> runs;
    const int w = image.Width();
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* row = image.Row(y);
        auto keptAt = [&](int x) {
            const std::uint8_t* p = row + 3 * x;
            return !key.LeavesOut(p[2] | (p[1] << 8) | (p[0] << 16));
        };
        int x = 0;
        while (x < w) {
            while (x < w && !keptAt(x)) ++x;
            const int x0 = x;
            while (x < w && keptAt(x)) ++x;
            if (x > x0) runs.push_back({x0 + dx, y + dy, x + dx, y + 1 + dy});
        }
    }
    return runs;
}

}  // namespace kes
