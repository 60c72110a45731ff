// The skinned window frame; see WinSkinForm.h. The frame is a subclass of the window (outside the window's own
// handling and outside a form's handler chain, whose skin handler it adds first): it answers the non-client
// messages from the skin's border images and caption buttons and leaves everything else to the window.
#include "skin/frame/win/WinSkinForm.h"

#include <algorithm>
#include <optional>
#include <string>

#include "gui/Forms.h"
#include "gui/Menus.h"
#include "skin/data/win/SkinDataWin.h"
#include "skin/frame/win/WinSkinFormImpl.h"

namespace kes {

static SkinChildControllersMaker& ChildControllersMaker() {
    static SkinChildControllersMaker make = nullptr;
    return make;
}

void RegisterSkinChildControllers(SkinChildControllersMaker make) { ChildControllersMaker() = make; }

namespace {

SkinFormHost* g_host = nullptr;

// The manager's states for a window skinned without a manager.
class LocalHost : public SkinFormHost {
public:
    void SetRunning() override {}
    void SetMenuKind(int) override {}
    bool MDIMaximized() const override { return mdiMaximized_; }
    void SetMDIMaximized(bool m) override { mdiMaximized_ = m; }
    void SetMDIClient(HWND, TControl*) override {}
    void RemoveForm(TWinSkinForm*) override {}

private:
    bool mdiMaximized_ = false;
};

}  // namespace

SkinFormHost& Host() {
    static LocalHost local;
    return g_host ? *g_host : local;
}

namespace {
// The extent of `text` in the caption font (the window's own font when there is none).
SIZE CaptionTextSize(HWND window, HFONT font, const std::string& text) {
    WindowDc dc(window);
    std::optional<SelectGuard> selected;
    if (font) selected.emplace(dc.Get(), font);
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

POINT PointOf(LPARAM lp) { return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; }
}  // namespace

void SetSkinFormHost(SkinFormHost* host) { g_host = host; }
SkinFormHost* GetSkinFormHost() { return g_host; }

void TWinSkinForm::Impl::ReadState() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (GetWindowPlacement(Wnd(), &wp)) f.windowState_ = WindowStateOfShowCmd(static_cast<int>(wp.showCmd));
}

ButtonContext TWinSkinForm::Impl::Context() {
    ButtonContext c;
    c.Maximized = Maximized();
    c.Active = active;
    c.Boxes = kinds.Boxes;
    c.DialogBorder = kinds.Border == kBorderDialog;
    c.MdiChildMaximizedWithMenuBar = MdiChildButtonsShow(f.mdiKind_, menuBar != nullptr, ActiveChildMaximized());
    c.DialogNotSystem = c.DialogBorder && !kinds.SystemDialog;
    HWND w = Wnd();
    c.Ask = [w](int code, int action) {
        return static_cast<int>(SendMessageA(w, SKM_BUTTONVISIBLE, static_cast<WPARAM>(code), action));
    };
    return c;
}

bool TWinSkinForm::Impl::CloseEnabled() const {
    if (!sysMenu) return false;
    const UINT state = GetMenuState(sysMenu, SC_CLOSE, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

NcWindowState TWinSkinForm::Impl::NcState() const {
    NcWindowState s;
    s.State = f.windowState_;
    s.CloseEnabled = CloseEnabled();
    s.MaxBox = (kinds.Boxes & kBoxMax) != 0;
    s.Mdi = f.mdiKind_;
    return s;
}

void TWinSkinForm::Impl::SetSysMenuStyle(bool remove) {
    if (kinds.Boxes & kBoxKeepSysMenuStyle) return;
    const LONG_PTR style = GetWindowLongPtrA(Wnd(), GWL_STYLE);
    if (remove && (style & WS_SYSMENU)) SetWindowLongPtrA(Wnd(), GWL_STYLE, style & ~WS_SYSMENU);
    if (!remove && sysMenu && !(style & WS_SYSMENU)) SetWindowLongPtrA(Wnd(), GWL_STYLE, style | WS_SYSMENU);
}

// ---- caption buttons and the mouse ----

int TWinSkinForm::Impl::ButtonAt(POINT screen) {
    const TPoint p = WindowPoint(screen);
    for (size_t i = 0; i < buttons.size(); ++i) {
        const CaptionButton& b = buttons[i];
        if (b.Visible && b.Rec->Action >= 0 && b.Rect.Contains(p)) return static_cast<int>(i);
    }
    return -1;
}

void TWinSkinForm::Impl::SetHot(int index, int state) {
    if (hot >= 0 && hot != index) LeaveHot();
    if (hot != index) Skin().HintDelay = 0;
    hot = index;
    buttons[static_cast<size_t>(index)].State = state;
    RepaintButton(index);
}

void TWinSkinForm::Impl::LeaveHot() {
    if (hot < 0) return;
    const int i = std::exchange(hot, -1);
    buttons[static_cast<size_t>(i)].State = 1;
    RepaintButton(i);
    Skin().HideButtonHint();
    Skin().HintDelay = 0;
}

void TWinSkinForm::Impl::ShowSysMenu(POINT screen) {
    const DWORD now = GetTickCount();
    const bool doubleClick = now - lastSysMenuTick <= dblClickTime;
    lastSysMenuTick = now;
    if (doubleClick) {
        if (hot >= 0 && CloseEnabled()) {
            TimerOn(false);
            PostMessageA(Wnd(), WM_CLOSE, 0, 0);
        }
        return;
    }
    if (!sysMenu || !menuItems) return;
    menuItems->ShowSysMenu(screen, sysMenu, f.windowState_, kinds.Boxes);
}

void TWinSkinForm::Impl::Run(const NcAction& a, POINT screen, int action) {
    if (a.TimerOff) TimerOn(false);
    if (a.ClearHot) LeaveHot();
    if (a.SetMdiMaximized) Host().SetMDIMaximized(true);
    if (a.SysMenuStyleBack) SetSysMenuStyle(false);
    if (a.NewState >= 0) f.windowState_ = a.NewState;
    auto sys = [&](WPARAM cmd) { PostMessageA(Wnd(), WM_SYSCOMMAND, cmd, 0); };
    auto toChild = [&](WPARAM cmd) {
        auto child = reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0));
        if (child) SendMessageA(child, WM_SYSCOMMAND, cmd, 0);
    };
    switch (a.Command) {
    case NcCommand::Close: sys(SC_CLOSE); break;
    case NcCommand::Maximize: sys(SC_MAXIMIZE); break;
    case NcCommand::Minimize: sys(SC_MINIMIZE); break;
    case NcCommand::Restore: sys(SC_RESTORE); break;
    case NcCommand::SystemMenu: ShowSysMenu({screen.x + 1, screen.y + 1}); break;
    case NcCommand::ContextHelp: sys(SC_CONTEXTHELP); break;
    case NcCommand::MdiChildMinimize: toChild(SC_MINIMIZE); break;
    case NcCommand::MdiChildRestore: toChild(SC_RESTORE); break;
    case NcCommand::MdiChildClose: toChild(SC_CLOSE); break;
    case NcCommand::ButtonClick: PostMessageA(Wnd(), SKM_BUTTONCLICK, static_cast<WPARAM>(action), 0); break;
    case NcCommand::None:
    case NcCommand::Default: break;
    }
}

LRESULT TWinSkinForm::Impl::NcMouse(UINT msg, WPARAM wp, LPARAM lp) {
    const POINT pt = PointOf(lp);
    if (msg == WM_NCLBUTTONUP) {
        Skin().HideButtonHint();
        return Release(pt, msg, wp, lp, true);
    }
    const int i = ButtonAt(pt);
    if (LRESULT r = 0; i < 0 && menuBar && menuBar->NcMouse(msg, wp, pt, active, r)) {
        if (msg == WM_NCMOUSEMOVE) LeaveHot();
        if (msg == WM_NCLBUTTONDOWN) {
            Skin().HideButtonHint();
            // A command button of the bar is held until the release.
            if (menuBar->Pressed() >= 0) SetCapture(Wnd());
        }
        return r;
    }
    switch (msg) {
    case WM_NCMOUSEMOVE:
        if (!active) return 0;
        if (i >= 0) {
            if (hot != i) SetHot(i, 3);
            return 0;
        }
        LeaveHot();
        return DefaultProc(msg, wp, lp);
    case WM_NCLBUTTONDOWN:
        Skin().HideButtonHint();
        if (i >= 0) {
            if (!active) SetForegroundWindow(Wnd());
            pressed = i;
            SetHot(i, 2);
            SetCapture(Wnd());
            return 0;
        }
        // A maximized window never moves: its caption only activates it (and takes its double click). The
        // system's HTMENU would track the window's own (hidden) menu bar.
        if (wp == HTCAPTION && (Maximized() || IsZoomed(Wnd()))) {
            if (!active) SetForegroundWindow(Wnd());
            return 0;
        }
        return DefaultProc(msg, wp, lp);
    case WM_NCLBUTTONDBLCLK: {
        const bool onIcon = i >= 0 && buttons[static_cast<size_t>(i)].IsIcon();
        const NcAction a = CaptionDoubleClick(onIcon, i >= 0 && !onIcon, NcState());
        if (a.Command == NcCommand::Default) return DefaultProc(msg, wp, lp);
        Run(a, pt, 0);
        return 0;
    }
    case WM_NCRBUTTONDOWN:
        if (wp == HTCAPTION && f.mdiKind_ != kMdiChild) {
            ShowSysMenu(pt);
            return 0;
        }
        return DefaultProc(msg, wp, lp);
    }
    return DefaultProc(msg, wp, lp);
}

LRESULT TWinSkinForm::Impl::Release(POINT screen, UINT msg, WPARAM wp, LPARAM lp, bool nc) {
    const int p = std::exchange(pressed, -1);
    const int barPressed = menuBar ? menuBar->TakePress() : -1;
    if (GetCapture() == Wnd()) ReleaseCapture();
    const int over = ButtonAt(screen);
    const int barOver = over < 0 && menuBar ? menuBar->ButtonAt(screen) : -1;
    if (NcButtonRelease(p, over) == NcRelease::Run) {
        CaptionButton& b = buttons[static_cast<size_t>(over)];
        hot = over;
        b.State = 3;
        RepaintButton(over);
        const int action = b.Rec->Action;
        Run(CaptionButtonAction(action, b.Enabled, NcState()), screen, action);
    } else if (p >= 0) {
        if (hot == p) LeaveHot();
        buttons[static_cast<size_t>(p)].State = 1;
        RepaintButton(p);
    }
    if (menuBar && barPressed >= 0) menuBar->Released(barPressed, NcButtonRelease(barPressed, barOver) == NcRelease::Run);
    if (!nc || over >= 0 || barOver >= 0) return 0;
    // The system must not track the window's own (hidden) menu bar.
    if (menuBar && wp == HTMENU) return 0;
    return DefaultProc(msg, wp, lp);
}

void TWinSkinForm::Impl::CancelPress() {
    if (pressed >= 0) {
        const int p = std::exchange(pressed, -1);
        if (hot == p) LeaveHot();
        buttons[static_cast<size_t>(p)].State = 1;
        RepaintButton(p);
    }
    if (menuBar)
        if (const int b = menuBar->TakePress(); b >= 0) menuBar->Released(b, false);
}

bool TWinSkinForm::Impl::HeldPress(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    const bool barHeld = menuBar && menuBar->Pressed() >= 0;
    if (pressed < 0 && !barHeld) return false;
    POINT pt = PointOf(lp);
    switch (msg) {
    case WM_MOUSEMOVE:
        if (GetCapture() != Wnd()) return false;
        ClientToScreen(Wnd(), &pt);
        if (pressed >= 0) {
            // Pressed while the pointer is over it, normal while it is off.
            const int state = ButtonAt(pt) == pressed ? 2 : 1;
            if (buttons[static_cast<size_t>(pressed)].State != state) {
                buttons[static_cast<size_t>(pressed)].State = state;
                RepaintButton(pressed);
            }
        } else {
            menuBar->PressMoved(pt);
        }
        result = 0;
        return true;
    case WM_LBUTTONUP:
        if (GetCapture() != Wnd()) return false;
        ClientToScreen(Wnd(), &pt);
        result = Release(pt, msg, wp, lp, false);
        return true;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != Wnd()) CancelPress();
        return false;
    default: return false;
    }
}

int TWinSkinForm::Impl::HitTest(LRESULT defaultCode, POINT screen) {
    RECT wr;
    GetWindowRect(Wnd(), &wr);
    const TPoint p{screen.x - wr.left, screen.y - wr.top};
    // The skin's borders size a window the user sizes, wherever the system's thinner frame would say otherwise;
    // not where a caption button is, nor over the client area and the scroll bars.
    const bool sizingPlace = defaultCode != HTCLIENT && defaultCode != HTVSCROLL && defaultCode != HTHSCROLL &&
                             defaultCode != HTSIZE && defaultCode != HTTRANSPARENT && defaultCode != HTERROR;
    if (kinds.Resizable && kinds.Border != kBorderNone && !Maximized() && !Minimized() && !IsZoomed(Wnd()) &&
        !IsIconic(Wnd()) && sizingPlace && ButtonAt(screen) < 0) {
        const int corner = std::max(16, GetSystemMetrics(SM_CXSIZE));
        if (const int code = FrameSizingHitTest(p, wr.right - wr.left, wr.bottom - wr.top, m, corner, 4)) return code;
    }
    return FrameHitTest(static_cast<int>(defaultCode), p.Y, m);
}

void TWinSkinForm::Impl::Tick() {
    if (menuBar) menuBar->Tick();
    if (hot < 0 || pressed >= 0) return;
    POINT p;
    GetCursorPos(&p);
    RECT wr;
    GetWindowRect(Wnd(), &wr);
    const CaptionButton& b = buttons[static_cast<size_t>(hot)];
    if (!b.Rect.Contains({p.x - wr.left, p.y - wr.top})) {
        LeaveHot();
        return;
    }
    TSkinData& s = Skin();
    // Shown after twice the application's hint pause, hidden after its hide pause.
    const int pause = 2 * (Application ? Application->HintPause : 500);
    const int hidePause = Application ? Application->HintHidePause : 2500;
    s.HintDelay += kTimerInterval;
    const std::string hint = CaptionButtonHint(b.Rec->Action);
    if (hint.empty()) return;
    if (s.HintDelay >= pause + hidePause)
        s.HideButtonHint();
    else if (s.HintDelay >= pause)
        s.ShowButtonHint(Bounds(wr.left + b.Rect.Left, p.y + 24, 0, 0), hint);
}

// ---- the menu bar's keyboard ----

// SC_KEYMENU on a window with a skinned menu bar: Alt or F10 opens the first button, Alt+letter the button of
// that accelerator, Alt+Space the skinned system menu.
// A window without a menu bar shows the skinned system menu for Alt+Space too (the system's own would show
// nothing: the frame took WS_SYSMENU off).
bool TWinSkinForm::Impl::KeyMenu(WPARAM wp, LPARAM lp, LRESULT& result) {
    if ((wp & 0xFFF0) != SC_KEYMENU) return false;
    const auto ch = static_cast<unsigned>(lp & 0xFFFF);
    const KeyMenuAnswer a = menuBar                ? menuBar->KeyMenu(ch)
                            : ch == ' ' && sysMenu ? KeyMenuAnswer{false, true, -1}
                                                   : KeyMenuAnswer{};
    if (a.ShowSysMenu) {
        POINT origin{0, 0};
        ClientToScreen(Wnd(), &origin);
        ShowSysMenu(origin);
        result = 0;
        return true;
    }
    if (!a.Handled || !menuBar) return false;
    // Alt or F10 alone: the keys go on along the bar; an accelerator opens its button at once.
    menuBar->TrackMenuButton(a.Button, ch == 0);
    result = 1;
    return true;
}

// CM_DIALOGCHAR (Alt and a character in a control of the form): the form's own handling first; then a bar
// button of that accelerator opens; else an MDI child asks its frame, and a form that is neither the main form
// nor modal asks the main form (whose answer tells whether the key was used).
bool TWinSkinForm::Impl::DialogChar(TMessage& msg) {
    if (CallNextHandler(msg) != 0) return true;
    const auto ch = static_cast<char>(msg.WParam);
    const bool altOnly = GetKeyState(VK_MENU) < 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0;
    if (altOnly && menuBar) {
        if (const int b = FindAccelButton(menuBar->Items(), ch); b >= 0) {
            menuBar->OpenMenuButton(b);
            msg.Result = 1;
            return true;
        }
    }
    auto* form = dynamic_cast<TCustomForm*>(f.form_);
    TCustomForm* target = nullptr;
    if (f.mdiKind_ == kMdiChild)
        target = dynamic_cast<TCustomForm*>(FindControl(GetParent(GetParent(Wnd()))));
    else if (form && form != Screen().MainForm && !form->Modal())
        target = Screen().MainForm;
    msg.Result = 0;
    if (target && target != form && target->HandleAllocated())
        msg.Result = target->Perform(CM_DIALOGCHAR, msg.WParam, msg.LParam);
    return true;
}

// The menu bar and the skin's menu items go; the form's menus are given back unless the form is going.
void TWinSkinForm::Impl::DropMenus() {
    const bool formGoing = f.form_ && f.form_->Destroying();
    if (menuBar && formGoing) menuBar->Forget();
    menuBar.reset();
    if (menuItems && formGoing) menuItems->Forget();
    menuItems.reset();
}

// ---- messages ----

void TWinSkinForm::Impl::Start() {
    started = true;
    sysMenu = GetSystemMenu(Wnd(), FALSE);
    BuildIcon();
    RECT cr, wr;
    GetClientRect(Wnd(), &cr);
    GetWindowRect(Wnd(), &wr);
    clientRect = ToTRect(cr);
    sysFrameW = (wr.right - wr.left) - (cr.right - cr.left);
    sysFrameH = (wr.bottom - wr.top) - (cr.bottom - cr.top);
    if (f.controls_) f.controls_->SkinChildren();
    ReadState();
    if (f.stage_ == 0 && f.frameSkinned_) {
        const LONG_PTR style = GetWindowLongPtrA(Wnd(), GWL_STYLE);
        // The menu bar is laid out again in the menu row at the next paint.
        if (menuHeight > 0) {
            f.stage_ = 5;
            DrawMenuBar(Wnd());
        }
        const FrameStartPlan plan =
            StartPlanOf(f.mdiKind_, f.windowState_, (style & WS_CHILD) != 0, kinds.Border, kinds.SystemDialog);
        if (plan.MdiRedraw) PostMessageA(GetParent(Wnd()), SKM_MDIREDRAW, 0, 0);
        if (plan.Resize) {
            f.stage_ = 5;
            // A window the user sizes keeps the place the program gave it (and stores again): its client area
            // is what the skin's borders leave. Keeping its client instead would grow it at every start.
            if (plan.KeepPlace)
                f.FrameChanged();
            else
                f.ResizeToSkin(false);
            f.stage_ = 1;
        }
        if (plan.FrameChanged) f.FrameChanged();
        if (plan.Region) f.UpdateRegion();
    }
    f.stage_ = 1;
    SendMessageA(Wnd(), SKM_SKINAPPLIED, 0, SKIN_MAGIC);
    if (f.skin_->OnAfterSkinForm) f.skin_->OnAfterSkinForm(f.skin_, Wnd(), f.classNameGiven_);
    TimerOn(true);
    RepaintFrame();
}

LRESULT TWinSkinForm::Impl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT r = 0; HeldPress(msg, wp, lp, r)) return r;
    switch (msg) {
    case WM_NCPAINT:
        if (f.stage_ == 0) return 0;
        break;
    case WM_ERASEBKGND: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        if (f.form_) return r;
        RECT cr;
        GetClientRect(Wnd(), &cr);
        if (HBRUSH face = SkinFaceBrush(Skin())) FillRect(reinterpret_cast<HDC>(wp), &cr, face);
        return 1;
    }
    case WM_NCDESTROY: {
        f.stage_ = 4;
        f.UnhookWindow();
        const LRESULT r = DefaultProc(msg, wp, lp);
        f.stage_ = 6;
        return r;
    }
    case WM_NCACTIVATE:
        // Before SKM_START nothing of the system's frame is painted.
        if (HoldNcActivate(f.stage_, f.mdiKind_)) return TRUE;
        break;
    case 0xAE:  // the system's undocumented caption redraw
        return 0;
    case WM_INITMENUPOPUP:
        Host().SetMenuKind(reinterpret_cast<HMENU>(wp) == sysMenu && sysMenu ? 2 : 1);
        return DefaultProc(msg, wp, lp);
    case WM_MENUSELECT:
        if (menuBar) menuBar->MenuSelect(wp, lp);
        return DefaultProc(msg, wp, lp);
    case WM_MENUCHAR:
        if (LRESULT r = 0; menuItems && menuItems->MenuChar(static_cast<char>(LOWORD(wp)), reinterpret_cast<HMENU>(lp), r))
            return r;
        return DefaultProc(msg, wp, lp);
    case WM_MEASUREITEM:
        if (menuItems && menuItems->MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
        return DefaultProc(msg, wp, lp);
    case WM_DRAWITEM:
        if (menuItems && menuItems->DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp))) return TRUE;
        return DefaultProc(msg, wp, lp);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        if (f.form_) return r;
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        if (msg == WM_CTLCOLORSTATIC)
            if (HBRUSH face = SkinFaceBrush(Skin())) return reinterpret_cast<LRESULT>(face);
        return r;
    }
    case SKM_START:
        if (!started) Start();
        return 0;
    case SKM_RECREATED:
        if (f.controls_) f.controls_->RewrapControl(reinterpret_cast<HWND>(wp));
        return 0;
    case SKM_ISSKINNED: PostMessageA(Wnd(), SKM_SKINAPPLIED, 0, SKIN_MAGIC); return 1;
    default: break;
    }
    if (!f.frameSkinned_) return DefaultProc(msg, wp, lp);
    if (f.mdiKind_ == kMdiChild || !(GetWindowLongPtrA(Wnd(), GWL_STYLE) & WS_CHILD)) return Stage2(msg, wp, lp);
    return DefaultProc(msg, wp, lp);
}

LRESULT TWinSkinForm::Impl::Stage2(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE: {
        const int before = f.windowState_;
        const LRESULT r = DefaultProc(msg, wp, lp);
        f.windowState_ = wp == SIZE_MINIMIZED ? kStateMinimized : wp == SIZE_MAXIMIZED ? kStateMaximized : kStateNormal;
        const bool mdiOk = f.mdiKind_ != kMdiChild || (f.windowState_ == kStateNormal && !Host().MDIMaximized());
        if (!Minimized() && mdiOk && (f.stage_ == 1 || f.stage_ == 3)) f.UpdateRegion();
        if (f.mdiKind_ == kMdiChild && (f.stage_ == 1 || f.stage_ == 3)) MdiChildSized(before);
        return r;
    }
    case WM_ACTIVATE: active = LOWORD(wp) != WA_INACTIVE; break;
    case WM_NCACTIVATE: active = wp != 0; break;
    case WM_GETMINMAXINFO: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        ReadState();
        return r;
    }
    case WM_WINDOWPOSCHANGED: ReadState(); return DefaultProc(msg, wp, lp);
    case WM_SETICON: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        BuildIcon();
        frameImage.content = false;
        RepaintFrame();
        return r;
    }
    case WM_SETTEXT: {
        // The system paints its own caption when the text of a captioned window changes: the caption style
        // is off while the text is set, and the skinned frame is painted again.
        if (f.stage_ != 1 && f.stage_ != 3) break;
        if (MaxMdiChild()) {
            // Its caption shows in the frame's: the frame is redrawn with its children.
            const LRESULT r = DefaultProc(msg, wp, lp);
            PostMessageA(GetParent(Wnd()), SKM_MDIREDRAW, reinterpret_cast<WPARAM>(Wnd()), 0);
            return r;
        }
        const LONG_PTR style = GetWindowLongPtrA(Wnd(), GWL_STYLE);
        if ((style & WS_CAPTION) == 0) break;
        SetWindowLongPtrA(Wnd(), GWL_STYLE, style & ~WS_CAPTION);
        const LRESULT r = DefaultProc(msg, wp, lp);
        SetWindowLongPtrA(Wnd(), GWL_STYLE, GetWindowLongPtrA(Wnd(), GWL_STYLE) | (style & WS_CAPTION));
        RepaintFrame();
        return r;
    }
    case WM_SYSCOMMAND: {
        if (LRESULT r = 0; KeyMenu(wp, lp, r)) return r;
        switch (wp & 0xFFF0) {
        case SC_MINIMIZE: f.windowState_ = kStateMinimized; break;
        case SC_MAXIMIZE: f.windowState_ = kStateMaximized; break;
        case SC_RESTORE:
            f.windowState_ = kStateNormal;
            if (f.mdiKind_ == kMdiChild) Host().SetMDIMaximized(false);
            break;
        default: break;
        }
        return DefaultProc(msg, wp, lp);
    }
    default: break;
    }
    return Stage3(msg, wp, lp);
}

LRESULT TWinSkinForm::Impl::Stage3(UINT msg, WPARAM wp, LPARAM lp) {
    if (!FrameMessagesRun(f.stage_, f.mdiKind_, f.windowState_)) return DefaultProc(msg, wp, lp);
    switch (msg) {
    case WM_NCCALCSIZE: {
        if (!wp) return DefaultProc(msg, wp, lp);
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lp);
        const RECT window = p->rgrc[0];
        // The system's calculation would lay the menu bar out in its own frame; the menu row does that.
        if (!GetMenu(Wnd())) DefaultProc(msg, wp, lp);
        if (!(f.mdiKind_ == kMdiChild && (Maximized() || Minimized())) && kinds.Border != kBorderNone)
            p->rgrc[0] = ToRECT(
                FrameClientRect(window.left, window.top, window.right - window.left, window.bottom - window.top, m));
        p->rgrc[1] = p->rgrc[0];
        return WVR_VALIDRECTS;
    }
    case WM_NCHITTEST: return HitTest(DefaultProc(msg, wp, lp), PointOf(lp));
    case WM_NCPAINT:
        SetSysMenuStyle(true);
        if (!Skin().FramePainting) return 0;
        if (MaxMdiChild() || kinds.Border == kBorderNone) return DefaultProc(msg, wp, lp);
        {
            FrameDc dc(Wnd());
            PaintNC(dc.Get());
        }
        return 0;
    case WM_NCACTIVATE:
        active = wp != 0;
        TimerOn(active);
        if (f.mdiKind_ == kMdiFrame && mdiClient) SendMessageA(mdiClient, WM_NCACTIVATE, wp, lp);
        if (f.mdiKind_ == kMdiChild) DefaultProc(msg, wp, lp);
        if (!MaxMdiChild()) RepaintFrame();
        return TRUE;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN: return NcMouse(msg, wp, lp);
    case SKM_NCREPAINT: RepaintFrame(); return 0;
    case SKM_OPENMENUBUTTON:
        if (!menuBar) return 0;
        // An accelerator typed in another window of the program brings this one to the front with its popup.
        if (GetForegroundWindow() != Wnd()) SetForegroundWindow(Wnd());
        menuBar->TrackMenuButton(menuBar->ButtonAt(PointOf(lp)));
        return 0;
    default: return DefaultProc(msg, wp, lp);
    }
}

// The form's own messages (inside the frame, in the form's handler chain).
bool TWinSkinForm::Impl::FormMessage(TMessage& msg) {
    switch (msg.Msg) {
    case SKM_RESKIN: f.UpdateSkin(); return true;
    case SKM_PAINTNC:
        if (msg.LParam != SKIN_MAGIC) return true;
        if (msg.WParam) PaintNC(reinterpret_cast<HDC>(msg.WParam));
        msg.Result = SKIN_MAGIC;
        return true;
    case SKM_QUERYSKIN: msg.Result = msg.LParam == SKIN_MAGIC ? SKIN_MAGIC : 1; return true;
    case CM_DIALOGCHAR: return DialogChar(msg);
    default: return false;
    }
}

// ---- TWinSkinForm ----

TWinSkinForm::TWinSkinForm(TComponent* owner)
    : TComponent(owner), impl_(std::make_unique<Impl>(*this)) {
    if (ChildControllersMaker()) controls_ = ChildControllersMaker()(*this);
    impl_->dblClickTime = GetDoubleClickTime();
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        impl_->captionFont.Reset(CreateFontIndirectA(&ncm.lfCaptionFont));
}

TWinSkinForm::~TWinSkinForm() {
    BeginDestroy();
    if (controls_) controls_->FreeAll();
    if (impl_->hooked && stage_ != 6) UnhookWindow();
    impl_->Detach();
    Host().RemoveForm(this);
}

void TWinSkinForm::SetWindow(HWND window, void* moduleKey, const std::string& className) {
    window_ = window;
    moduleKey_ = moduleKey;
    classNameGiven_ = className;
}

bool TWinSkinForm::Hooked() const { return impl_->hooked; }

TWinSkinMenu* TWinSkinForm::MenuBar() const { return impl_->menuBar.get(); }

SkinMenuItems* TWinSkinForm::MenuItems() const { return impl_->menuItems.get(); }

void TWinSkinForm::SkinForm(TSkinData* skin, TControl* form) {
    form_ = form;
    if (skin && skin->OnBeforeSkinForm) skin->OnBeforeSkinForm(skin, window_, classNameGiven_);
    SkinWindow(skin);
    // The popup menus follow with the window's components (SKM_START).
    if (impl_->hooked && impl_->menuItems) impl_->menuItems->OwnerDrawMenus(InSet(skin->SkinControls, xcMenuItem), false);
    if (form_ && impl_->hooked && frameSkinned_) {
        impl_->savedColour = form_->Color();
        form_->SetColor(skin->Colour(SkinColour::ButtonFace));
    }
}

void TWinSkinForm::SkinWindow(TSkinData* skin) {
    Impl& d = *impl_;
    if (d.hooked || !skin || !window_ || !IsWindow(window_)) return;
    skin_ = skin;
    Host().SetRunning();
    d.timer = std::make_unique<TTimer>();
    d.timer->SetEnabled(false);
    d.timer->SetInterval(kTimerInterval);
    d.timer->OnTimer = [this](TObject*) { impl_->Tick(); };
    frameSkinned_ = InSet(skin->SkinControls, xcMainMenu);
    // With the skin's MDI child border an MDI child keeps the system's frame.
    if ((GetWindowLongPtrA(window_, GWL_EXSTYLE) & WS_EX_MDICHILD) && InSet(skin->Options, xoMDIChildBorder))
        frameSkinned_ = false;

    FrameWindowFacts facts;
    facts.Style = static_cast<std::uint32_t>(GetWindowLongPtrA(window_, GWL_STYLE));
    facts.ExStyle = static_cast<std::uint32_t>(GetWindowLongPtrA(window_, GWL_EXSTYLE));
    char cls[101] = {};
    GetClassNameA(window_, cls, sizeof cls);
    facts.ClassName = cls;
    facts.HasOwner = GetWindow(window_, GW_OWNER) != nullptr;
    for (HWND c = GetTopWindow(window_); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(c, name, sizeof name);
        if (lstrcmpiA(name, "MDIClient") == 0) {
            facts.HasMdiClient = true;
            d.mdiClient = c;
            break;
        }
    }
    facts.HasSystemMenu = GetSystemMenu(window_, FALSE) != nullptr;
    const DWORD v = GetVersion();
    facts.MajorVersion = LOBYTE(LOWORD(v));
    facts.MinorVersion = HIBYTE(LOWORD(v));
    facts.NT = !(v & 0x80000000u);
    d.kinds = ClassifyFrame(facts);
    mdiKind_ = d.kinds.Mdi;
    d.unicode = IsWindowUnicode(window_) != 0;
    if (mdiKind_ == kMdiFrame) {
        d.savedMenuUpdate = skin->MenuUpdate;
        Host().SetMDIClient(d.mdiClient, form_);
        d.mdiSubclass = std::make_unique<MdiClientSubclass>(*this);
        d.mdiSubclass->Attach(d.mdiClient);
    }
    d.ReadState();
    d.menuItems = std::make_unique<SkinMenuItems>(window_, *skin, form_, d.kinds.RightToLeft);
    if (GetMenu(window_) && mdiKind_ != kMdiChild) {
        d.menuHeight = GetSystemMetrics(SM_CYMENU);
        if (frameSkinned_) {
            auto* form = dynamic_cast<TCustomForm*>(form_);
            d.menuBar = std::make_unique<TWinSkinMenu>(window_, *skin, form ? form->Menu() : nullptr, *d.menuItems,
                                                       d.kinds.RightToLeft);
        }
    }
    // An MDI child's caption that falls short of the system's caption and frame makes it up in a menu row.
    if (mdiKind_ == kMdiChild && frameSkinned_ && !skin->NoSkin())
        d.menuHeight = MdiChildMenuHeight(FrameMetricsOf(*skin, d.kinds.Border, 0).Caption,
                                          GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CXFRAME));
    if (frameSkinned_) CreateSysButtons();
    if (!frameSkinned_) stage_ = 1;
    if (mdiKind_ == kMdiChild && d.Maximized()) Host().SetMDIMaximized(true);
    // The form's own handler goes in first, so that the frame's subclass is outside it.
    if (auto* w = d.FormControl(); w && frameSkinned_)
        d.formHandler = w->AddMessageHandler([this](TMessage& m) { return impl_->FormMessage(m); });
    d.hooked = d.Attach(window_);
    if (!d.hooked && d.formHandler) {
        d.FormControl()->RemoveMessageHandler(d.formHandler);
        d.formHandler = 0;
    }
}

void TWinSkinForm::ClearSysButtons() {
    impl_->hot = -1;
    impl_->buttons.clear();
    impl_->DropFrameImage();
}

void TWinSkinForm::CreateSysButtons() {
    Impl& d = *impl_;
    if (!skin_ || skin_->NoSkin()) return;
    d.m = FrameMetricsOf(*skin_, d.kinds.Border, d.menuHeight);
    d.hot = -1;
    d.buttons.clear();
    d.DropFrameImage();
    for (const TDataSkinSysButton& r : skin_->SysButtons) {
        CaptionButton b;
        b.Rec = &r;
        if (b.IsIcon() && d.icon.Width() == 0) d.BuildIcon();
        d.buttons.push_back(b);
    }
}

void TWinSkinForm::UpdateSkin() {
    if (!skin_ || !impl_->hooked) return;
    if (form_ && frameSkinned_) {
        // The form and the forms and frames it owns take the new face colour.
        const TColor face = skin_->Colour(SkinColour::ButtonFace);
        form_->SetColor(face);
        for (int i = 0; i < form_->ComponentCount(); ++i)
            if (auto* sub = dynamic_cast<TScrollingWinControl*>(form_->Components(i))) sub->SetColor(face);
    }
    // Every controller of the window's children repaints from the new skin.
    if (controls_) controls_->SkinChanged();
    if (impl_->menuItems) {
        impl_->menuItems->SkinChanged();
        impl_->menuItems->OwnerDrawMenus(InSet(skin_->SkinControls, xcMenuItem),
                                         InSet(skin_->SkinControls, xcPopupMenu));
    }
    if (impl_->menuBar) impl_->menuBar->UpdateButtons();
    stage_ = 3;
    impl_->DropFrameImage();
    if (frameSkinned_) {
        impl_->m = FrameMetricsOf(*skin_, impl_->kinds.Border, impl_->m.Menu);
        ResizeToSkin(true);
        // Its aligned children are laid out again in the new client area.
        if (form_ && !impl_->Maximized() && !impl_->Minimized()) {
            form_->SetHeight(form_->Height() + 1);
            form_->SetHeight(form_->Height() - 1);
        }
        UpdateRegion();
    }
    SendMessageA(window_, SKM_SKINAPPLIED, 0, SKIN_MAGIC);
    if (skin_->OnAfterSkinForm) skin_->OnAfterSkinForm(skin_, window_, classNameGiven_);
    stage_ = 1;
    impl_->RepaintFrame();
}

void TWinSkinForm::UnhookWindow() {
    Impl& d = *impl_;
    d.TimerOn(false);
    if (controls_) controls_->FreeAll();
    if (!d.hooked) return;
    if (d.formHandler) {
        if (auto* w = d.FormControl(); w && !w->Destroying()) w->RemoveMessageHandler(d.formHandler);
        d.formHandler = 0;
    }
    if (form_ && !form_->Destroying() && stage_ != 4 && frameSkinned_) form_->SetColor(d.savedColour);
    // The MDI client is gone before its frame's WM_NCDESTROY (its subclass went with it).
    d.mdiSubclass.reset();
    d.DropMenus();
    // Inside WM_NCDESTROY the subclass goes by itself once the message went through.
    if (stage_ != 4) d.Detach();
    d.hooked = false;
}

void TWinSkinForm::UnskinWindow() {
    Impl& d = *impl_;
    if (!d.hooked) {
        d.TimerOn(false);
        return;
    }
    const bool frame = frameSkinned_;
    RECT wr;
    GetWindowRect(window_, &wr);
    if (frame) d.SetSysMenuStyle(false);
    // An MDI frame whose menu the bar took gets it back.
    HMENU barMenu = d.menuBar && mdiKind_ == kMdiFrame && !GetMenu(window_) ? d.menuBar->SavedMenu() : nullptr;
    UnhookWindow();
    if (barMenu && IsMenu(barMenu) && IsWindow(window_)) SetMenu(window_, barMenu);
    if (!frame || !IsWindow(window_)) return;
    const bool plainChild = (GetWindowLongPtrA(window_, GWL_STYLE) & WS_CHILD) && mdiKind_ != kMdiChild;
    if (stage_ != 4 && !plainChild) {
        POINT tl{wr.left, wr.top};
        if (HWND parent = GetParent(window_); parent && mdiKind_ == kMdiChild) ScreenToClient(parent, &tl);
        // A window the user sizes keeps its place, as it did when it was skinned.
        const bool keepPlace = d.kinds.Border == kBorderSizeable && !d.kinds.SystemDialog && mdiKind_ != kMdiChild;
        const int w = keepPlace ? wr.right - wr.left : (wr.right - wr.left) - d.m.Left - d.m.Right + d.sysFrameW;
        const int h =
            keepPlace ? wr.bottom - wr.top : (wr.bottom - wr.top) - d.m.Caption - d.m.Bottom - d.m.Menu + d.sysFrameH;
        SetWindowPos(window_, nullptr, tl.x, tl.y, w, h, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    // The system owns the region it was given; dropping it is all that is left to do.
    if (regionOwned_) SetWindowRgn(window_, nullptr, TRUE);
    regionOwned_ = false;
    d.regionW = d.regionH = -1;
}

void TWinSkinForm::ResizeToSkin(bool keepClient) {
    Impl& d = *impl_;
    if (!d.hooked) return;
    if (d.Maximized()) {
        FrameChanged();
        return;
    }
    if (keepClient || d.kinds.SystemDialog || stage_ == 3) {
        RECT cr;
        GetClientRect(window_, &cr);
        d.clientRect = ToTRect(cr);
    }
    int w = d.clientRect.Width() + d.m.Left + d.m.Right;
    const int h = d.clientRect.Height() + d.m.Caption + d.m.Bottom + d.m.Menu;
    if (d.kinds.SystemDialog && skin_) {
        // A dialog box widens to show its whole caption; its children move right by half the difference.
        char text[1000] = {};
        GetWindowTextA(window_, text, sizeof text);
        const SIZE sz = CaptionTextSize(window_, d.captionFont.Get(), std::string(" ") + text + "  ");
        const int need = sz.cx + skin_->Title.LeftWidth + skin_->Title.RightWidth;
        if (need > w) {
            const int shift = (need - w) / 2;
            for (HWND c = GetWindow(window_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                RECT r;
                GetWindowRect(c, &r);
                POINT p{r.left, r.top};
                ScreenToClient(window_, &p);
                SetWindowPos(c, nullptr, p.x + shift, p.y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
            }
            w = need;
        }
    }
    SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

void TWinSkinForm::FrameChanged() {
    if (window_)
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// At once (as InvalidateRect and UpdateWindow would), with the frame and the children, which a window just given
// back its own frame needs painted too.
void TWinSkinForm::RepaintWindow(HWND window) {
    if (window)
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW);
}

void TWinSkinForm::SkinChildWindow(HWND child) {
    if (controls_) controls_->SkinChildWindow(child);
}

}  // namespace kes
