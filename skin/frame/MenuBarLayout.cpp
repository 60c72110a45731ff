#include "skin/frame/MenuBarLayout.h"

#include "gui/Menus.h"

namespace kes {

namespace {
constexpr unsigned kVkLeft = 0x25, kVkRight = 0x27;
}  // namespace

int MenuBarMargin(const MenuBarGeometry& g) {
    if (!g.HasMenuBarObject) return 6;
    const int margin = g.RightToLeft ? g.MenuBarRightWidth + 8 : g.MenuBarLeftWidth + 4;
    return g.Bar.Width() < margin ? 12 : margin;
}

std::vector<TRect> LayoutMenuBar(const MenuBarGeometry& g, const std::vector<MenuBarItem>& items,
                                 const std::vector<int>& textWidths) {
    std::vector<TRect> rects(items.size());
    const int margin = MenuBarMargin(g);
    int x = g.RightToLeft ? g.Bar.Right - margin : g.Bar.Left + margin;
    if (g.RightToLeft && g.MdiButtonsLeft >= 0) x = g.MdiButtonsLeft - 5;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i].Visible) continue;
        const int w = items[i].Caption.empty() || i >= textWidths.size() ? 0 : textWidths[i] + 10;
        if (w == 0) continue;
        if (g.RightToLeft) {
            rects[i] = {x - w, g.Bar.Top, x, g.Bar.Bottom - 1};
            x -= w;
        } else {
            rects[i] = {x, g.Bar.Top, x + w, g.Bar.Bottom - 1};
            x += w;
        }
    }
    return rects;
}

int MenuBarButtonAt(const std::vector<MenuBarItem>& items, const std::vector<TRect>& rects, TPoint p) {
    for (size_t i = 0; i < items.size() && i < rects.size(); ++i)
        if (!items[i].Caption.empty() && rects[i].Contains(p)) return static_cast<int>(i);
    return -1;
}

bool MenuBarSwitchable(const MenuBarItem& item) {
    return item.Visible && item.Enabled && item.HasSubmenu && !item.Caption.empty();
}

bool MenuBarReachable(const MenuBarItem& item) { return item.Visible && !item.Caption.empty(); }

int NextMenuBarButton(const std::vector<MenuBarItem>& items, int from, int step, MenuBarReach reach) {
    const int n = static_cast<int>(items.size());
    if (n == 0) return -1;
    int i = from;
    for (int k = 0; k < n; ++k) {
        i = ((i + step) % n + n) % n;
        const MenuBarItem& item = items[static_cast<size_t>(i)];
        const bool lands = reach == MenuBarReach::Keys ? MenuBarReachable(item) : MenuBarSwitchable(item);
        if (i != from && lands) return i;
    }
    return -1;
}

HeldKey MenuBarHeldKey(unsigned key, bool keyUp, bool rightToLeft) {
    constexpr unsigned kVkReturn = 0x0D, kVkMenu = 0x12, kVkEscape = 0x1B, kVkF10 = 0x79;
    if (key == kVkMenu || key == kVkF10) return keyUp ? HeldKey::Leave : HeldKey::Stay;
    if (keyUp) return HeldKey::Stay;
    key = MirroredMenuKey(true, key, rightToLeft);
    switch (key) {
    case kVkLeft: return HeldKey::Previous;
    case kVkRight: return HeldKey::Next;
    case kVkReturn: return HeldKey::Run;
    case kVkEscape: return HeldKey::Leave;
    default: return HeldKey::Stay;
    }
}

unsigned MirroredMenuKey(bool isKeyMessage, unsigned key, bool rightToLeft) {
    if (!isKeyMessage || !rightToLeft) return key;
    return key == kVkLeft ? kVkRight : key == kVkRight ? kVkLeft : key;
}

MenuBarMove MenuBarKeyMove(unsigned key, const MenuSelection& sel) {
    if (key == kVkRight) return !sel.Any || !sel.HasSubmenu ? MenuBarMove::Next : MenuBarMove::None;
    if (key == kVkLeft) return !sel.Any || sel.InTrackedPopup ? MenuBarMove::Previous : MenuBarMove::None;
    return MenuBarMove::None;
}

int FindAccelButton(const std::vector<MenuBarItem>& items, char c) {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].Enabled && items[i].Visible && IsAccel(c, items[i].Caption)) return static_cast<int>(i);
    return -1;
}

MenuCharPick MenuCharItem(const std::vector<std::string>& captions, const std::vector<bool>& choosable, char c,
                          int current) {
    const auto fold = [](char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; };
    const auto firstLetter = [&](const std::string& caption) {
        for (char ch : caption)
            if (ch != ' ' && ch != '&') return fold(ch);
        return '\0';
    };
    std::vector<int> found;
    for (int pass = 0; pass < 2 && found.empty(); ++pass)
        for (size_t i = 0; i < captions.size(); ++i) {
            if (i >= choosable.size() || !choosable[i] || c == 0) continue;
            const bool hit = pass == 0 ? IsAccel(c, captions[i]) : firstLetter(captions[i]) == fold(c);
            if (hit) found.push_back(static_cast<int>(i));
        }
    MenuCharPick pick;
    if (found.empty()) return pick;
    if (found.size() == 1) {
        pick.Item = found[0];
        pick.Run = true;
        return pick;
    }
    pick.Item = found[0];
    for (int i : found)
        if (i > current) {
            pick.Item = i;
            break;
        }
    return pick;
}

KeyMenuAnswer DecideKeyMenu(unsigned ch, bool tracking, bool captured, const std::vector<MenuBarItem>& items) {
    KeyMenuAnswer a;
    if (tracking) return a;
    if (ch == ' ') {
        a.ShowSysMenu = true;
        return a;
    }
    if (ch == '-' || captured) return a;
    if (ch == 0) {
        a.Handled = true;
        for (size_t i = 0; i < items.size() && a.Button < 0; ++i)
            if (items[i].Visible && !items[i].Caption.empty()) a.Button = static_cast<int>(i);
        return a;
    }
    a.Button = ch < 256 ? FindAccelButton(items, static_cast<char>(ch)) : -1;
    a.Handled = a.Button >= 0;
    return a;
}

}  // namespace kes
