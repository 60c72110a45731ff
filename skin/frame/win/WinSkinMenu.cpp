#include "skin/frame/win/WinSkinMenu.h"

#include <algorithm>

#include "gui/Forms.h"
#include "gui/Menus.h"
#include "skin/data/SkinData.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/frame/win/SkinMenuItems.h"
#include "skin/draw/win/SkinObjectDraw.h"
#include "skin/frame/win/WinSkinFormImpl.h"

namespace kes {

// The one popup of a bar open in the program: the message filter's state while TrackPopupMenu runs.
struct TWinSkinMenu::Filter {
    static inline HHOOK hook = nullptr;
    static inline TWinSkinMenu* bar = nullptr;
    static inline int open = -1;  // the open button
    static inline int next = -1;  // the button to open when the running popup has ended
    static inline bool first = false;
    static inline POINT lastPt{};
    static inline HMENU popup = nullptr;
    // The selected item as WM_MENUSELECT told it: its menu, and whether it opens a cascade.
    static inline HMENU selMenu = nullptr;
    static inline bool selCascade = false;

    static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp);
};

namespace {

std::string TextOf(HMENU menu, UINT pos, MENUITEMINFOA& mii) {
    char text[81] = {};
    mii = MENUITEMINFOA{};
    mii.cbSize = sizeof mii;  // the structure's real size: a fixed older size fails in a 64-bit program
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = 80;
    if (!GetMenuItemInfoA(menu, pos, TRUE, &mii)) return {};
    return text;
}

// The menu above `menu` in the tree under root (the one holding the item that opens it), or nullptr.
HMENU ParentOf(HMENU root, HMENU menu) {
    const int n = GetMenuItemCount(root);
    for (int i = 0; i < n; ++i) {
        HMENU sub = GetSubMenu(root, i);
        if (!sub) continue;
        if (sub == menu) return root;
        if (HMENU p = ParentOf(sub, menu)) return p;
    }
    return nullptr;
}

// The highlighted item of menu (MFS_HILITE), or -1.
int Hilited(HMENU menu, HMENU& sub) {
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_STATE | MIIM_SUBMENU;
        if (GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &mii) && (mii.fState & MFS_HILITE)) {
            sub = mii.hSubMenu;
            return i;
        }
    }
    return -1;
}

}  // namespace

LRESULT CALLBACK TWinSkinMenu::Filter::Proc(int code, WPARAM wp, LPARAM lp) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (code == MSGF_MENU && bar && msg) {
        const bool key = msg->message == WM_KEYDOWN || msg->message == WM_KEYUP;
        msg->wParam = MirroredMenuKey(key, static_cast<unsigned>(msg->wParam), bar->rightToLeft_);
    }
    const LRESULT r = CallNextHookEx(hook, code, wp, lp);
    if (r || code != MSGF_MENU || !bar || !msg) return r;
    if (first) {
        // The first item is highlighted as the popup opens.
        first = false;
        PostMessageA(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
    }
    int target = -1;
    switch (msg->message) {
    case WM_KEYDOWN:
        switch (MenuBarKeyMove(static_cast<unsigned>(msg->wParam), bar->Selection())) {
        case MenuBarMove::Next: target = NextMenuBarButton(bar->items_, open, 1, MenuBarReach::Keys); break;
        case MenuBarMove::Previous: target = NextMenuBarButton(bar->items_, open, -1, MenuBarReach::Keys); break;
        case MenuBarMove::None:
            if (msg->wParam == VK_LEFT) bar->CascadeClosed();
            break;
        }
        break;
    case WM_MOUSEMOVE:
        if (msg->pt.x != lastPt.x || msg->pt.y != lastPt.y) {
            lastPt = msg->pt;
            const int b = bar->ButtonAt(msg->pt);
            if (b >= 0 && MenuBarSwitchable(bar->items_[static_cast<size_t>(b)])) target = b;
        }
        break;
    default: break;
    }
    if (target < 0 || target == open) return r;
    // The running popup ends; the next one opens once TrackPopupMenu has returned (a posted click would nest
    // the menu loops).
    next = target;
    EndMenu();
    return 1;
}

TWinSkinMenu::TWinSkinMenu(HWND window, TSkinData& skin, TMenu* menu, SkinMenuItems& items, bool rightToLeft)
    : window_(window), skin_(skin), menu_(menu), owned_(items), rightToLeft_(rightToLeft) {
    if (menu_)
        listener_ = menu_->AddChangeListener([this](TObject*, TMenuItem*, bool) {
            if (!skin_.MenuUpdate) return;  // the skin keeps the bar as it is
            UpdateButtons();
            Host().SetMenusFlag();
            if (IsWindowVisible(window_)) SendMessageA(window_, SKM_NCREPAINT, 0, 0);
        });
    UpdateButtons();
}

TWinSkinMenu::~TWinSkinMenu() {
    if (menu_ && listener_) menu_->RemoveChangeListener(listener_);
    if (Filter::bar == this) {
        Filter::bar = nullptr;
        EndMenu();
    }
}

bool TWinSkinMenu::Tracking() const { return Filter::bar != nullptr; }

void TWinSkinMenu::UpdateButtons() {
    items_.clear();
    submenus_.clear();
    commands_.clear();
    HMENU menu = GetMenu(window_);
    if (menu)
        savedMenu_ = menu;
    else
        menu = savedMenu_;
    const int n = menu && IsMenu(menu) ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < n; ++i) {
        MENUITEMINFOA mii;
        MenuBarItem b;
        b.Caption = TextOf(menu, static_cast<UINT>(i), mii);
        b.Enabled = (mii.fState & 3) == 0;
        HMENU sub = mii.hSubMenu;
        if (TMenuItem* item = menu_ ? menu_->FindItem(static_cast<int>(mii.wID)) : nullptr) {
            b.Caption = item->Caption();
            b.Enabled = item->Enabled();
            b.Visible = item->Visible();
            sub = item->Count() > 0 ? static_cast<HMENU>(item->Handle()) : nullptr;
        }
        b.HasSubmenu = sub != nullptr;
        items_.push_back(b);
        submenus_.push_back(sub);
        // A raw popup item's id is no command (it may be the submenu's handle): nothing is posted for it.
        const bool formItem = menu_ && menu_->FindItem(static_cast<int>(mii.wID));
        commands_.push_back(mii.hSubMenu && !formItem ? 0 : static_cast<int>(mii.wID));
    }
    rects_.assign(items_.size(), TRect{});
}

void TWinSkinMenu::Rebuild(HMENU menu) {
    savedMenu_ = menu;
    UpdateButtons();
}

void TWinSkinMenu::Layout(HDC dc, int mdiButtonsLeft) {
    MenuBarGeometry g;
    g.Bar = bar_;
    g.MdiButtonsLeft = mdiButtonsLeft;
    const TDataSkinObject* o = skin_.MenuBar.get();
    g.HasMenuBarObject = o && o->HasImage();
    if (g.HasMenuBarObject) g.MenuBarLeftWidth = o->LeftWidth, g.MenuBarRightWidth = o->RightWidth;
    g.RightToLeft = rightToLeft_;
    TCanvas canvas(dc);
    canvas.Font().Assign(Screen().MenuFont());
    std::vector<int> widths;
    for (const MenuBarItem& b : items_) {
        TRect r{0, 0, 0, 0};
        if (!b.Caption.empty()) canvas.DrawText(r, b.Caption, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
        widths.push_back(r.Width());
    }
    rects_ = LayoutMenuBar(g, items_, widths);
}

void TWinSkinMenu::Paint(HDC dc, const TRect& row, bool active, int mdiButtonsLeft) {
    if (!dc || row.IsEmpty()) return;
    bar_ = row;
    active_ = active;
    const int w = row.Width(), h = row.Height();
    if (!back_ || back_->Width() != w || back_->Height() != h) {
        back_ = std::make_unique<SkinBitmap>(w, h);
    }
    HDC b = back_->Canvas().Handle();
    const TDataSkinObject* o = skin_.MenuBar.get();
    if (o && o->HasImage()) {
        // Two frames: 1 active, 2 inactive.
        const int frame = active ? 1 : 2;
        if (o->Tile == 1)
            DrawSkinImage(b, {0, 0, w, h}, o->Image, MarginsOf(*o), frame, 2, o->Trans != 0, true, false);
        else
            DrawSkinImage3(back_->Canvas(), {0, 0, w, h}, o->Image, MarginsOf(*o), frame, 2, o->Trans != 0, false);
    } else {
        back_->Canvas().Brush().Color = skin_.Colour(SkinColour::Menubar);
        back_->Canvas().FillRect({0, 0, w, h});
    }
    Layout(dc, mdiButtonsLeft);
    BitBlt(dc, row.Left, row.Top, w, h, b, 0, 0, SRCCOPY);
    // A full paint drops the hot button.
    hot_ = -1;
    hotState_ = 1;
    for (size_t i = 0; i < items_.size(); ++i) PaintButton(dc, static_cast<int>(i));
}

void TWinSkinMenu::PaintButton(HDC dc, int index) {
    if (index < 0 || index >= static_cast<int>(items_.size()) || !back_) return;
    const MenuBarItem& b = items_[static_cast<size_t>(index)];
    const TRect r = rects_[static_cast<size_t>(index)];
    if (!b.Visible || r.IsEmpty()) return;
    BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), back_->Canvas().Handle(), r.Left - bar_.Left, r.Top - bar_.Top,
           SRCCOPY);
    TCanvas canvas(dc);
    if (index == hot_ && hotState_ != 1) {
        canvas.Brush().Color = skin_.Colour(SkinColour::ButtonHilight);
        canvas.FrameRect(r);
    }
    canvas.Font().Assign(Screen().MenuFont());
    canvas.Font().SetColor(b.Enabled ? skin_.Colour(SkinColour::MenuBarText) : clBtnShadow);
    canvas.Brush().Style = bsClear;
    SetBkMode(dc, TRANSPARENT);
    TRect t = r;
    canvas.DrawText(t, b.Caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TWinSkinMenu::RepaintButton(int index) {
    if (!IsWindowVisible(window_)) return;
    FrameDc dc(window_);
    if (!dc.Get()) return;
    const int saved = SaveDC(dc.Get());
    PaintButton(dc.Get(), index);
    RestoreDC(dc.Get(), saved);
}

void TWinSkinMenu::SetHot(int index, int state) {
    if (hot_ == index && hotState_ == state) return;
    const int old = hot_;
    hot_ = index;
    hotState_ = state;
    if (old >= 0 && old != index) RepaintButton(old);
    if (index >= 0) RepaintButton(index);
}

int TWinSkinMenu::ButtonAt(POINT screen) const {
    RECT wr;
    if (!GetWindowRect(window_, &wr)) return -1;
    return MenuBarButtonAt(items_, rects_, {screen.x - wr.left, screen.y - wr.top});
}

bool TWinSkinMenu::NcMouse(UINT msg, WPARAM hitCode, POINT screen, bool active, LRESULT& result) {
    const int i = ButtonAt(screen);
    result = 0;
    switch (msg) {
    case WM_NCMOUSEMOVE:
        if (i < 0) {
            if (hot_ >= 0) SetHot(-1, 1);
            return false;
        }
        if (active && hot_ != i) SetHot(i, 3);
        return true;
    case WM_NCLBUTTONDOWN:
        if (i < 0) return hitCode == HTMENU;  // the system must not track its own (hidden) bar
        if (!active) SetForegroundWindow(window_);
        SetHot(i, 2);
        if (const MenuBarItem& b = items_[static_cast<size_t>(i)];
            !b.Enabled || !submenus_[static_cast<size_t>(i)] || !IsMenu(submenus_[static_cast<size_t>(i)])) {
            // A command runs on the release over the button the press began on.
            pressed_ = i;
            return true;
        }
        TrackMenuButton(i);
        if (hot_ >= 0) SetHot(hot_, 3);
        return true;
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK: return i >= 0 || hitCode == HTMENU;
    default: return false;
    }
}

void TWinSkinMenu::PressMoved(POINT screen) {
    if (pressed_ >= 0) SetHot(pressed_, ButtonAt(screen) == pressed_ ? 2 : 1);
}

void TWinSkinMenu::Released(int index, bool run) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    if (!run) {
        SetHot(-1, 1);
        return;
    }
    SetHot(index, 3);
    RunCommand(index);
}

void TWinSkinMenu::RunCommand(int index) {
    const MenuBarItem& b = items_[static_cast<size_t>(index)];
    // A disabled item neither runs nor opens.
    if (!b.Enabled || !b.Visible) return;
    if (const int command = commands_[static_cast<size_t>(index)])
        PostMessageA(window_, WM_COMMAND, static_cast<WPARAM>(static_cast<UINT>(command)), 0);
}

void TWinSkinMenu::OpenMenuButton(int index) {
    if (index < 0 || index >= static_cast<int>(rects_.size()) || rects_[static_cast<size_t>(index)].IsEmpty()) return;
    RECT wr;
    if (!GetWindowRect(window_, &wr)) return;
    const TRect& r = rects_[static_cast<size_t>(index)];
    PostMessageA(window_, SKM_OPENMENUBUTTON, 0, MAKELPARAM(wr.left + r.Left + 1, wr.top + r.Top + 1));
}

int TWinSkinMenu::HoldOnButton(int index) {
    SetHot(index, 2);
    Filter::bar = this;
    Filter::open = index;
    int next = -1;
    for (;;) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            WaitMessage();
            continue;
        }
        // A press anywhere (or the program ending) ends the hold; the message is handled as usual afterwards.
        bool press = false;
        switch (msg.message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCRBUTTONDOWN:
        case WM_NCRBUTTONDBLCLK:
        case WM_NCMBUTTONDOWN:
        case WM_NCMBUTTONDBLCLK: press = true; break;
        default: break;
        }
        if (msg.message == WM_QUIT || press) break;
        PeekMessageA(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
        const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        const bool keyUp = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
        if (keyDown || keyUp) {
            const HeldKey k = MenuBarHeldKey(static_cast<unsigned>(msg.wParam), keyUp, rightToLeft_);
            if (k == HeldKey::Next || k == HeldKey::Previous) {
                next = NextMenuBarButton(items_, index, k == HeldKey::Next ? 1 : -1, MenuBarReach::Keys);
                if (next >= 0) break;
            }
            if (k == HeldKey::Run) RunCommand(index);
            if (k == HeldKey::Run || k == HeldKey::Leave) break;
            continue;
        }
        if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) continue;
        DispatchMessageA(&msg);
        // The bar went (with its window), or the window is no longer the one the keys are in.
        if (Filter::bar != this) return -1;
        if (GetActiveWindow() != window_) break;
    }
    Filter::bar = nullptr;
    Filter::open = -1;
    if (next < 0) SetHot(-1, 1);
    return next;
}

void TWinSkinMenu::Tick() {
    if (hot_ < 0 || Tracking() || pressed_ >= 0) return;
    POINT p;
    GetCursorPos(&p);
    if (ButtonAt(p) != hot_) SetHot(-1, 1);
}

KeyMenuAnswer TWinSkinMenu::KeyMenu(unsigned ch) const {
    return DecideKeyMenu(ch, Tracking(), GetCapture() != nullptr, items_);
}

void TWinSkinMenu::MenuSelect(WPARAM wp, LPARAM lp) {
    if (Filter::bar != this) return;
    const UINT flags = HIWORD(wp);
    if (flags == 0xFFFF && lp == 0) return;  // the menu closes
    Filter::selMenu = reinterpret_cast<HMENU>(lp);
    Filter::selCascade = (flags & MF_POPUP) != 0;
}

void TWinSkinMenu::CascadeClosed() {
    if (Filter::selMenu && Filter::selMenu != Filter::popup) {
        Filter::selMenu = ParentOf(Filter::popup, Filter::selMenu);
        Filter::selCascade = Filter::selMenu != nullptr;
    }
}

MenuSelection TWinSkinMenu::Selection() const {
    MenuSelection sel;
    // Where the system shows the highlight in the menu's state, that is the selection; else what
    // WM_MENUSELECT told the window.
    if (HMENU sub = nullptr; Hilited(Filter::popup, sub) < 0 && Filter::selMenu) {
        sel.Any = true;
        sel.InTrackedPopup = Filter::selMenu == Filter::popup;
        sel.HasSubmenu = Filter::selCascade;
        return sel;
    }
    HMENU menu = Filter::popup;
    for (int depth = 0; menu && depth < 16; ++depth) {
        HMENU sub = nullptr;
        if (Hilited(menu, sub) < 0) break;
        sel.Any = true;
        sel.InTrackedPopup = depth == 0;
        sel.HasSubmenu = sub != nullptr;
        // Deeper only when the cascade has a highlighted item of its own.
        HMENU inner = nullptr;
        if (!sub || Hilited(sub, inner) < 0) break;
        menu = sub;
    }
    return sel;
}

bool TWinSkinMenu::TrackMenuButton(int index, bool byKeys) {
    bool opened = false;
    while (index >= 0 && index < static_cast<int>(items_.size()) && !Filter::bar) {
        const MenuBarItem b = items_[static_cast<size_t>(index)];
        if (!b.Visible) break;
        HMENU sub = submenus_[static_cast<size_t>(index)];
        if (!b.Enabled || !sub || !IsMenu(sub)) {
            // No popup to open: the keys hold the button until Enter; a click or an accelerator runs it now.
            if (!byKeys) {
                RunCommand(index);
                break;
            }
            opened = true;
            index = HoldOnButton(index);
            if (index < 0) return opened;
            continue;
        }
        RunCommand(index);
        owned_.MarkOwnerDraw(sub);
        owned_.SetTrackedMenu(sub);
        RECT wr;
        GetWindowRect(window_, &wr);
        const TRect& r = rects_[static_cast<size_t>(index)];
        const int x = wr.left + (rightToLeft_ ? r.Right : r.Left), y = wr.top + r.Bottom;
        Host().SetMenuKind(1);
        Host().SetMenuBarPopup(true);
        Filter::bar = this;
        Filter::open = index;
        Filter::next = -1;
        Filter::first = true;
        Filter::popup = sub;
        Filter::selMenu = nullptr;
        Filter::selCascade = false;
        GetCursorPos(&Filter::lastPt);
        if (!Filter::hook) Filter::hook = SetWindowsHookExA(WH_MSGFILTER, &Filter::Proc, nullptr, GetCurrentThreadId());
        SetHot(index, 2);
        const UINT flags = TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD | (rightToLeft_ ? TPM_RIGHTALIGN : 0u);
        const int cmd = TrackPopupMenu(sub, flags, x, y, 0, window_, nullptr);
        if (Filter::hook) UnhookWindowsHookEx(Filter::hook);
        Filter::hook = nullptr;
        const bool alive = Filter::bar == this;
        Filter::bar = nullptr;
        Filter::open = -1;
        Filter::popup = nullptr;
        Filter::first = false;
        if (!alive) return true;  // the bar went while its popup was open
        owned_.SetTrackedMenu(nullptr);
        opened = true;
        if (cmd) PostMessageA(window_, WM_COMMAND, static_cast<WPARAM>(static_cast<UINT>(cmd)), 0);
        index = std::exchange(Filter::next, -1);
        // The mouse only switches to buttons with a popup: a button without one was reached by the keys.
        byKeys = true;
        SetHot(index >= 0 ? index : hot_, index >= 0 ? 2 : 3);
    }
    return opened;
}

}  // namespace kes
