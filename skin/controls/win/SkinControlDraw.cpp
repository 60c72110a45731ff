// The drawing routines the controllers share: captions laid out in a rectangle, an image-list icon beside a
// caption, the focus mark, small arrows.
#include <algorithm>

#include "skin/controls/win/SkinControl.h"
#include "skin/draw/win/SkinText.h"

namespace kes {

void DrawCaptionAligned(HDC dc, const TRect& rect, unsigned alignment, bool enabled, const std::wstring& text,
                        unsigned extra) {
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT m = ToRECT(rect);
    SkinDrawText(dc, text, m, alignment | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
    const int w = m.right - m.left, h = m.bottom - m.top;
    const int dy = (rect.Height() - h) / 2 - 1;
    RECT r{rect.Left, rect.Top + dy, rect.Right, rect.Top + dy + h};
    if (alignment & DT_CENTER) r = {rect.Left + (rect.Width() - w) / 2, r.top, rect.Left + (rect.Width() - w) / 2 + w, r.bottom};
    COLORREF oldColour = 0;
    if (!enabled) oldColour = SetTextColor(dc, ColorToRGB(clGrayText));
    SkinDrawText(dc, text, r, alignment | DT_EXPANDTABS | extra);
    if (!enabled) SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

void DrawCaptionCentered(HDC dc, const TRect& rect, const std::wstring& text, int alignment, bool enabled) {
    const UINT flag = alignment == 1 ? DT_RIGHT : alignment == 2 ? DT_CENTER : DT_LEFT;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT m = ToRECT(rect);
    SkinDrawText(dc, text, m, flag | DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
    const int w = m.right - m.left, h = m.bottom - m.top;
    RECT r{rect.Left + (rect.Width() - w) / 2, rect.Top + (rect.Height() - h) / 2, 0, 0};
    r.right = r.left + w;
    r.bottom = r.top + h;
    const COLORREF old = enabled ? 0 : SetTextColor(dc, ColorToRGB(clGrayText));
    SkinDrawText(dc, text, r, flag | DT_SINGLELINE | DT_EXPANDTABS);
    if (!enabled) SetTextColor(dc, old);
    SetBkMode(dc, oldMode);
}

void TSkinControl::DrawCaptionFocus(HDC dc, unsigned flags, const TRect& rect) {
    RECT m = ToRECT(rect);
    SkinDrawText(dc, caption_, m, flags | DT_CALCRECT | DT_NOCLIP);
    const int dw = rect.Width() - (m.right - m.left), dh = rect.Height() - (m.bottom - m.top);
    if (flags & DT_CENTER)
        OffsetRect(&m, dw / 2, dh / 2 - 1);
    else if (flags & DT_RIGHT)
        OffsetRect(&m, dw, 0);
    InflateRect(&m, 2, 1);
    RECT clipped;
    const RECT bounds = ToRECT(rect);
    if (IntersectRect(&clipped, &m, &bounds)) DrawFocusRect(dc, &clipped);
}

void DrawImageCaption(const TSkinControl& c, HDC dc, const TRect& rect, unsigned alignment, const std::wstring& text,
                      int imageIndex, HIMAGELIST images) {
    int cx = 0, cy = 0;
    if (images) ImageList_GetIconSize(images, &cx, &cy);
    const bool icon = imageIndex != -1 && images && cx < rect.Width();
    if (!icon) cx = 0;
    // The text has the room the icon leaves (the rectangle narrows by the icon and its gap).
    RECT t = ToRECT(rect);
    if (icon) t.right -= cx + 2;
    const UINT flags = DT_EXPANDTABS | DT_WORDBREAK | DT_END_ELLIPSIS;
    if (!text.empty())
        SkinDrawText(dc, text, t, flags | DT_CALCRECT | DT_NOCLIP);
    else
        t.right = t.left;
    const int tw = t.right - t.left, th = t.bottom - t.top;
    int x = alignment == 0 ? 3 : alignment == 1 ? (rect.Width() - cx - tw) / 2 : rect.Width() - cx - tw - 2;
    if (x < 2) x = 1;
    if (icon)
        ImageList_Draw(images, imageIndex, dc, rect.Left + x, rect.Top + (rect.Height() - cy) / 2, ILD_TRANSPARENT);
    RECT r{rect.Left + x + cx, rect.Top + (rect.Height() - th) / 2, 0, 0};
    r.right = std::min<LONG>(r.left + tw, rect.Right);
    r.left = std::max<LONG>(r.left, rect.Left);
    r.bottom = r.top + th;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF old = c.EnabledFlag() ? 0 : SetTextColor(dc, ColorToRGB(clGrayText));
    SkinDrawText(dc, text, r, c.BiDiTextFlags(flags));
    if (!c.EnabledFlag()) SetTextColor(dc, old);
    SetBkMode(dc, oldMode);
}

void DrawSmallArrow(HDC dc, int x, int y, int kind, TColor colour) {
    if (kind < 0 || kind > 3) return;
    UniqueGdi<HBRUSH> b(CreateSolidBrush(ColorToRGB(colour)));
    const auto line = [&](int l, int t, int r, int bottom) {
        const RECT rc{l, t, r, bottom};
        FillRect(dc, &rc, b.Get());
    };
    for (int i = 0; i <= 3; ++i) {
        switch (kind) {
        case 0: line(x - i, y - 1 + i, x + i + 1, y + i); break;      // up: apex at y - 1
        case 1: line(x - 3 + i, y + i, x + 4 - i, y + i + 1); break;  // down: base at y, apex at y + 3
        case 2:
            if (i < 3) line(x - 1 + i, y - i, x + i, y + i + 1);  // left: apex at x - 1, 5 tall
            break;
        case 3:
            if (i < 3) line(x + 1 - i, y - i, x + 2 - i, y + i + 1);  // right: apex at x + 1
            break;
        }
    }
    if (kind == 0) line(x - 3, y + 3, x + 4, y + 4);  // the base, 7 wide
}

void CopySkinBitmap(TBitmap& source, TBitmap& target) {
    target.SetSize(source.Width(), source.Height());
    if (source.Empty()) return;
    BitBlt(target.Canvas().Handle(), 0, 0, source.Width(), source.Height(), source.Canvas().Handle(), 0, 0, SRCCOPY);
}

}  // namespace kes
