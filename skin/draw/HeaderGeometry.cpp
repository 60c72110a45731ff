#include "HeaderGeometry.h"

namespace kes {

HeaderAlign HeaderAlignment(unsigned format) {
    if (format & kHeaderRight) return HeaderAlign::Right;
    if (format & kHeaderCentre) return HeaderAlign::Centre;
    return HeaderAlign::Left;
}

int HeaderImageIndex(unsigned format, int image) {
    return (format & (kHeaderImage | kHeaderOwnerDraw)) != 0 ? image : -1;
}

PixelRect HotRect(const PixelRect& s) { return {s.Left + 3, s.Top, s.Right - 3, s.Bottom}; }

int HotSectionAt(const std::vector<PixelRect>& hotRects, SkinPoint at, int hot) {
    for (int i = 0; i < static_cast<int>(hotRects.size()); ++i) {
        const PixelRect& r = hotRects[i];
        if (at.X >= r.Left && at.X < r.Right && at.Y >= r.Top && at.Y < r.Bottom) hot = i;
    }
    return hot;
}

PixelRect HeaderRest(const PixelRect& control, int rightmostEdge) {
    if (rightmostEdge >= control.Right) return {};
    return {rightmostEdge, control.Top, control.Right, control.Bottom};
}

HeaderCaptionPlace PlaceHeaderCaption(int width, int height, HeaderAlign align, int textWidth, int textHeight,
                                      bool hasIcon, int iconWidth, int iconHeight) {
    HeaderCaptionPlace place;
    place.IconWidth = hasIcon && iconWidth < width ? iconWidth : 0;
    int left = 3;
    if (align == HeaderAlign::Centre) left = (width - place.IconWidth - textWidth) / 2;
    if (align == HeaderAlign::Right) left = width - place.IconWidth - textWidth - 2;
    if (left < 2) left = 1;
    place.Icon = {left, (height - iconHeight) / 2};
    const int top = (height - textHeight) / 2;
    place.Text = {left + place.IconWidth, top, width, top + textHeight};
    return place;
}

}  // namespace kes
