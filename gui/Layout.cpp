#include "gui/Layout.h"

#include <algorithm>

namespace kes {

TRect AlignRects(TRect client, std::vector<TAlignItem>& items) {
    auto pass = [&](TAlign align, auto before) {
        std::vector<size_t> order;
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].Visible && items[i].Align == align) order.push_back(i);
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return before(items[a].Bounds, items[b].Bounds); });
        for (size_t i : order) {
            TRect& r = items[i].Bounds;
            const int w = std::max(0, r.Width()), h = std::max(0, r.Height());
            switch (align) {
            case alTop:
                r = {client.Left, client.Top, client.Right, client.Top + h};
                client.Top = std::min(client.Bottom, r.Bottom);
                break;
            case alBottom:
                r = {client.Left, client.Bottom - h, client.Right, client.Bottom};
                client.Bottom = std::max(client.Top, r.Top);
                break;
            case alLeft:
                r = {client.Left, client.Top, client.Left + w, client.Bottom};
                client.Left = std::min(client.Right, r.Right);
                break;
            case alRight:
                r = {client.Right - w, client.Top, client.Right, client.Bottom};
                client.Right = std::max(client.Left, r.Left);
                break;
            case alClient: r = client; break;
            case alNone: break;
            }
        }
    };
    pass(alTop, [](const TRect& a, const TRect& b) { return a.Top < b.Top; });
    pass(alBottom, [](const TRect& a, const TRect& b) { return a.Bottom > b.Bottom; });
    pass(alLeft, [](const TRect& a, const TRect& b) { return a.Left < b.Left; });
    pass(alRight, [](const TRect& a, const TRect& b) { return a.Right > b.Right; });
    pass(alClient, [](const TRect&, const TRect&) { return false; });
    return client;
}

TPoint CenterIn(const TRect& outer, int w, int h) {
    return {outer.Left + (outer.Width() - w) / 2, outer.Top + (outer.Height() - h) / 2};
}

}  // namespace kes
