// The skinned window frame; see WinSkinForm.h. The frame is a subclass of the window (outside the window's own
// handling and outside a form's handler chain, whose skin handler it adds first): it answers the non-client
// messages from the skin's border images and caption buttons and leaves everything else to the window.
#include "skin/win/WinSkinForm.h"

#include <algorithm>

#include "base/win/Timer.h"
#include "gui/Forms.h"
#include "gui/win/WindowSubclass.h"
#include "skin/FrameLayout.h"
#include "skin/SkinData.h"
#include "skin/win/SkinDataWin.h"
#include "skin/win/SkinGdi.h"
#include "skin/win/SkinObjectDraw.h"
#include "skin/win/SkinText.h"

namespace kes {

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

SkinFormHost& Host() {
    static LocalHost local;
    return g_host ? *g_host : local;
}

constexpr int kTimerInterval = 250;

POINT PointOf(LPARAM lp) { return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; }

// The window's own menu bar drawn by the system into the menu row (window coordinates). The system lays the
// items out there, so its menu tracking finds them where they are shown. False without a menu or the call.
bool DrawMenuRow(HWND window, HDC dc, RECT row) {
    using DrawTemp = DWORD(WINAPI*)(HWND, HDC, LPRECT, HMENU, HFONT);
    static const auto draw =
        reinterpret_cast<DrawTemp>(GetProcAddress(GetModuleHandleA("user32.dll"), "DrawMenuBarTemp"));
    HMENU menu = GetMenu(window);
    if (!menu || !draw) return false;
    draw(window, dc, &row, menu, nullptr);
    return true;
}

// A region of the engine, counted, until it is deleted or handed to a window.
class SkinRegion {
public:
    explicit SkinRegion(HRGN r = nullptr) : rgn_(r) {
        if (rgn_) SkinGdiMade(SkinGdiKind::Region);
    }
    ~SkinRegion() { Reset(); }
    SkinRegion(const SkinRegion&) = delete;
    SkinRegion& operator=(const SkinRegion&) = delete;
    HRGN Get() const { return rgn_; }
    void Reset() {
        if (!rgn_) return;
        DeleteObject(rgn_);
        rgn_ = nullptr;
        SkinGdiFreed(SkinGdiKind::Region);
    }
    // The window takes the region; after a successful call the system owns (and deletes) it, after a failed
    // one it is deleted here.
    bool GiveTo(HWND window, bool redraw) {
        if (!rgn_) return false;
        if (!SetWindowRgn(window, rgn_, redraw)) {
            Reset();
            return false;
        }
        rgn_ = nullptr;
        SkinGdiFreed(SkinGdiKind::Region);
        return true;
    }

private:
    HRGN rgn_;
};

// GetWindowDC for non-client painting, counted; the caller's state is saved and put back.
class FrameDc {
public:
    explicit FrameDc(HWND w) : w_(w), dc_(GetWindowDC(w)) {
        if (dc_) SkinGdiMade(SkinGdiKind::Dc);
    }
    ~FrameDc() {
        if (!dc_) return;
        ReleaseDC(w_, dc_);
        SkinGdiFreed(SkinGdiKind::Dc);
    }
    FrameDc(const FrameDc&) = delete;
    FrameDc& operator=(const FrameDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND w_;
    HDC dc_;
};

}  // namespace

void SetSkinFormHost(SkinFormHost* host) { g_host = host; }
SkinFormHost* GetSkinFormHost() { return g_host; }

// ---- the frame's state and handling ----

struct CaptionButton {
    const TDataSkinSysButton* Rec = nullptr;
    TRect Rect;  // window coordinates, set by painting
    bool Visible = false, Enabled = true;
    int State = 1;  // 1 normal, 2 pressed, 3 hot
    bool IsIcon() const { return Rec->Action == 3 || Rec->Action == 11; }
};

struct TWinSkinForm::Impl : WindowSubclass {
    explicit Impl(TWinSkinForm& f) : f(f) {}
    TWinSkinForm& f;

    FrameKinds kinds;
    FrameMetrics m;
    std::vector<CaptionButton> buttons;
    int hot = -1;
    bool active = true;
    bool started = false;
    bool unicode = false;
    HMENU sysMenu = nullptr;
    int menuHeight = 0;  // the menu bar row of a window with a menu
    HWND mdiClient = nullptr;
    PixelBuffer icon;  // the window's icon on magenta, small-icon size
    TRect textRect;
    int widestRight = 0;
    TRect clientRect;
    int sysFrameW = 0, sysFrameH = 0;
    int regionW = -1, regionH = -1;
    DWORD lastSysMenuTick = 0, dblClickTime = 500;
    HFONT captionFont = nullptr;
    std::unique_ptr<TTimer> timer;
    int formHandler = 0;
    TColor savedColour = clBtnFace;
    bool hooked = false;

    HWND Wnd() const { return f.window_; }
    TSkinData& Skin() const { return *f.skin_; }
    bool Maximized() const { return f.windowState_ == kStateMaximized; }
    bool Minimized() const { return f.windowState_ == kStateMinimized; }
    bool MaxMdiChild() const { return f.mdiKind_ == kMdiChild && Maximized(); }
    TWinControl* FormControl() const { return dynamic_cast<TWinControl*>(f.form_); }

    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT Stage2(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Stage3(UINT msg, WPARAM wp, LPARAM lp);
    void Start();
    bool FormMessage(TMessage& m);

    void ReadState();
    void BuildIcon();
    void PaintNC(HDC dc);
    void PaintBorderPart(HDC dc, int part, const TRect& r);
    void PaintCaption(HDC dc, int width);
    void PaintButton(HDC dc, const CaptionButton& b);
    void RepaintButton(int index);
    void RepaintFrame();
    ButtonContext Context();
    int ButtonAt(POINT screen);
    void SetHot(int index, int state);
    void LeaveHot();
    void SetSysMenuStyle(bool remove);
    bool CloseEnabled() const;
    NcWindowState NcState() const;
    void Run(const NcAction& a, POINT screen, int action);
    void ShowSysMenu(POINT screen);
    void Tick();
    void TimerOn(bool on) {
        if (timer) timer->SetEnabled(on);
    }
    LRESULT NcMouse(UINT msg, WPARAM wp, LPARAM lp);
};

namespace {
const TDataSkinBorder& Part(TSkinData& s, int part) {
    switch (part) {
    case 1: return s.Left;
    case 2: return s.Right;
    case 3: return s.Top;
    default: return s.Bottom;
    }
}
}  // namespace

void TWinSkinForm::Impl::ReadState() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (GetWindowPlacement(Wnd(), &wp)) f.windowState_ = WindowStateOfShowCmd(static_cast<int>(wp.showCmd));
}

// The window's small (else big) icon drawn on magenta; all magenta without one. The copy made for drawing
// is destroyed at once.
void TWinSkinForm::Impl::BuildIcon() {
    const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    icon = PixelBuffer(w, h);
    icon.FillRect({0, 0, w, h}, kSkinTransparent);
    auto src = reinterpret_cast<HICON>(SendMessageA(Wnd(), WM_GETICON, ICON_SMALL, 0));
    if (!src) src = reinterpret_cast<HICON>(SendMessageA(Wnd(), WM_GETICON, ICON_BIG, 0));
    if (!src) return;
    auto copy = static_cast<HICON>(CopyImage(src, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE));
    if (!copy) return;
    SkinGdiMade(SkinGdiKind::Icon);
    SkinBitmap bmp(w, h);
    bmp.Canvas().Brush().Color = kSkinTransparent;
    bmp.Canvas().FillRect({0, 0, w, h});
    if (DrawIconEx(bmp.Canvas().Handle(), 0, 0, copy, w, h, 0, nullptr, DI_NORMAL)) {
        GdiFlush();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) icon.SetPixel(x, y, bmp.Canvas().Pixel(x, y));
    }
    DestroyIcon(copy);
    SkinGdiFreed(SkinGdiKind::Icon);
}

ButtonContext TWinSkinForm::Impl::Context() {
    ButtonContext c;
    c.Maximized = Maximized();
    c.Active = active;
    c.Boxes = kinds.Boxes;
    c.DialogBorder = kinds.Border == kBorderDialog;
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

// ---- painting ----

void TWinSkinForm::Impl::PaintBorderPart(HDC dc, int part, const TRect& r) {
    if (r.IsEmpty()) return;
    const TDataSkinBorder& o = Part(Skin(), part);
    if (!o.HasImage()) return;
    const int frame = (active || o.Frame <= 1) ? 1 : 2;
    auto bmp = StretchSkinImage(Bounds(0, 0, r.Width(), r.Height()), o.Image, MarginsOf(o), frame, o.Frame,
                                o.Tile != 1, part >= 3);
    if (bmp) BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), bmp->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TWinSkinForm::Impl::PaintButton(HDC dc, const CaptionButton& b) {
    if (!b.Visible || b.Rect.IsEmpty()) return;
    if (b.IsIcon()) {
        const PixelBuffer& img = b.Rec->HasImage() ? b.Rec->Image : icon;
        DrawTransparent(dc, Bounds(b.Rect.Left, b.Rect.Top, img.Width(), img.Height()), img, kSkinTransparent);
        return;
    }
    const int frames = std::max(1, b.Rec->Frame);
    int frame = b.State;
    if (!b.Enabled || !active) frame = frames > 3 ? 4 : 1;
    if (b.Rec->Visibility == 100 && frame == 3) frame = 4;
    DrawSkinFrame(dc, b.Rect, b.Rec->Image, std::min(frame, frames), frames, true);
}

void TWinSkinForm::Impl::PaintCaption(HDC dc, int width) {
    TSkinData& s = Skin();
    const int ch = m.Caption;
    if (ch <= 0 || width <= 0) return;
    SkinBitmap buf(width, Minimized() ? std::max(ch, 1) : ch);
    HDC b = buf.Canvas().Handle();
    BitBlt(b, 0, 0, width, ch, dc, 0, 0, SRCCOPY);
    const int frame = (active || s.Top.Frame <= 1) ? 1 : 2;
    const TRect strip = Minimized() ? TRect{0, 0, width, ch} : TRect{m.Left, 0, width - m.Right, ch};
    if (!strip.IsEmpty() && s.Top.HasImage())
        DrawSkinImage(b, strip, s.Top.Image, MarginsOf(s.Top), frame, s.Top.Frame, false, s.Top.Tile != 1, true);

    // The caption text.
    std::wstring text = L" ";
    if (unicode) {
        wchar_t t[1000];
        GetWindowTextW(Wnd(), t, 1000);
        text += t;
    } else {
        char t[1000] = {};
        SendMessageA(Wnd(), WM_GETTEXT, sizeof t, reinterpret_cast<LPARAM>(t));
        std::wstring w;
        StrToWideStr(t, w);
        text += w;
    }
    text += L"  ";
    widestRight = 0;
    for (const CaptionButton& cb : buttons)
        if (cb.Visible && cb.Rec->Align == 1 && cb.Rec->HasImage()) widestRight = std::max(widestRight, cb.Rec->Xcoord);
    HGDIOBJ oldFont = captionFont ? SelectObject(b, captionFont) : nullptr;
    SetBkMode(b, TRANSPARENT);
    SetTextColor(b, ColorToRGB(s.Colour(active ? SkinColour::TitleTextActive : SkinColour::TitleTextNoActive)));
    RECT calc{0, 0, 0, 0};
    SkinDrawText(b, text, calc, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
    CaptionTextInput in;
    in.StripWidth = width;
    in.StripHeight = ch;
    in.TextWidth = calc.right - calc.left;
    in.TextHeight = calc.bottom - calc.top;
    in.Alignment = s.Title.TextAlignment;
    in.TextShift = s.Title.LeftWidth;
    in.TextShiftVert = s.Title.TopHeight;
    in.TextRightClip = s.Title.RightWidth;
    in.TxtBackLeft = s.Title.TXTBackleft;
    in.TxtBackRight = s.Title.TXTBackRight;
    in.WidestRightOffset = widestRight;
    in.RightToLeft = kinds.RightToLeft;
    in.Popup = (GetWindowLongPtrA(Wnd(), GWL_STYLE) & WS_POPUP) != 0;
    in.Dialog = kinds.Border == kBorderDialog;
    textRect = CaptionTextRect(in);
    if (s.Title.HasImage() && !textRect.IsEmpty())
        DrawSkinImage3(buf.Canvas(), textRect, s.Title.Image, {s.Title.TXTBackleft, 0, s.Title.TXTBackRight, 0},
                       active ? 1 : 2, 2, true, false);
    RECT tr = ToRECT(textRect);
    tr.left += s.Title.TXTBackleft;
    tr.right -= s.Title.TXTBackRight;
    if (tr.right > tr.left)
        SkinDrawText(b, text, tr, kinds.RightToLeft ? 0x28822u : 0x8820u);
    if (oldFont) SelectObject(b, oldFont);

    // The caption buttons.
    for (CaptionButton& cb : buttons) {
        const TDataSkinSysButton& r = *cb.Rec;
        const PixelBuffer& img = cb.IsIcon() && !r.HasImage() ? icon : r.Image;
        const int frames = cb.IsIcon() && !r.HasImage() ? 1 : std::max(1, r.Frame);
        cb.Rect = {};
        if (!cb.Visible || img.Width() <= 0) continue;
        const int menuBarLeft = s.MenuBar ? s.MenuBar->LeftWidth : 0;
        cb.Rect = CaptionButtonRect(r.Align, r.Xcoord, r.Ycoord, img.Width() / frames, img.Height(), width, textRect,
                                    m, menuBarLeft);
        if (r.Visibility != 100) PaintButton(b, cb);
    }
    BitBlt(dc, 0, 0, width, ch, b, 0, 0, SRCCOPY);
    SetBkMode(dc, OPAQUE);
}

void TWinSkinForm::Impl::PaintNC(HDC dc) {
    if (!dc || (f.stage_ != 1 && f.stage_ != 3) || kinds.Border == kBorderNone || MaxMdiChild()) return;
    const int saved = SaveDC(dc);
    try {
        RECT wr;
        GetWindowRect(Wnd(), &wr);
        const int W = wr.right - wr.left, H = wr.bottom - wr.top;
        const ButtonContext c = Context();
        for (CaptionButton& b : buttons) {
            const ButtonShow show = CaptionButtonShow(b.Rec->Action, b.Rec->Visibility, b.Rec->Visibility1, c);
            b.Visible = show.Visible;
            b.Enabled = show.Enabled;
        }
        if (!Minimized()) {
            PaintBorderPart(dc, 1, {0, 0, m.Left, H});
            PaintBorderPart(dc, 2, {W - m.Right, 0, W, H});
            PaintBorderPart(dc, 4, {m.Left, H - m.Bottom, W - m.Right, H});
        }
        PaintCaption(dc, W);
        if (!Minimized() && m.Menu > 0) {
            RECT row{m.Left, m.Caption, W - m.Right, m.Caption + m.Menu};
            if (!DrawMenuRow(Wnd(), dc, row))
                if (HBRUSH face = SkinFaceBrush(Skin())) FillRect(dc, &row, face);
        }
    } catch (...) {
    }
    // A full frame paint drops the hot object.
    if (hot >= 0) buttons[static_cast<size_t>(hot)].State = 1;
    hot = -1;
    RestoreDC(dc, saved);
}

void TWinSkinForm::Impl::RepaintFrame() {
    if (!IsWindowVisible(Wnd())) return;
    FrameDc dc(Wnd());
    PaintNC(dc.Get());
}

void TWinSkinForm::Impl::RepaintButton(int index) {
    if (index < 0 || index >= static_cast<int>(buttons.size())) return;
    FrameDc dc(Wnd());
    if (!dc.Get()) return;
    const int saved = SaveDC(dc.Get());
    PaintButton(dc.Get(), buttons[static_cast<size_t>(index)]);
    RestoreDC(dc.Get(), saved);
}

// ---- caption buttons and the mouse ----

int TWinSkinForm::Impl::ButtonAt(POINT screen) {
    RECT wr;
    GetWindowRect(Wnd(), &wr);
    const TPoint p{screen.x - wr.left, screen.y - wr.top};
    for (size_t i = 0; i < buttons.size(); ++i) {
        const CaptionButton& b = buttons[i];
        if (b.Visible && b.Rec->Action >= 0 && b.Rect.Contains(p)) return static_cast<int>(i);
    }
    return -1;
}

void TWinSkinForm::Impl::SetHot(int index, int state) {
    if (hot >= 0 && hot != index) LeaveHot();
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
    if (!sysMenu) return;
    Host().SetMenuKind(2);
    const UINT cmd = static_cast<UINT>(TrackPopupMenu(sysMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                      screen.x, screen.y, 0, Wnd(), nullptr));
    if (cmd) PostMessageA(Wnd(), WM_SYSCOMMAND, cmd, 0);
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
    case NcCommand::None: case NcCommand::Default: break;
    }
}

LRESULT TWinSkinForm::Impl::NcMouse(UINT msg, WPARAM wp, LPARAM lp) {
    const POINT pt = PointOf(lp);
    const int i = ButtonAt(pt);
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
            SetHot(i, 2);
            return 0;
        }
        if (Maximized() && active && wp == HTCAPTION && !GetMenu(Wnd())) wp = HTMENU;
        return DefaultProc(msg, wp, lp);
    case WM_NCLBUTTONUP:
        Skin().HideButtonHint();
        if (i < 0) return DefaultProc(msg, wp, lp);
        if (i == hot) {
            CaptionButton& b = buttons[static_cast<size_t>(i)];
            b.State = 3;
            RepaintButton(i);
            const int action = b.Rec->Action;
            Run(CaptionButtonAction(action, b.Enabled, NcState()), pt, action);
        }
        return 0;
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

void TWinSkinForm::Impl::Tick() {
    if (hot < 0) return;
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
    const int pause = 2 * 500, hidePause = 2500;  // twice the application's hint pause, then its hide pause
    s.HintDelay += kTimerInterval;
    const std::string hint = CaptionButtonHint(b.Rec->Action);
    if (hint.empty()) return;
    if (s.HintDelay >= pause + hidePause) s.HideButtonHint();
    else if (s.HintDelay >= pause) s.ShowButtonHint(Bounds(wr.left + b.Rect.Left, p.y + 24, 0, 0), hint);
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
    // The controllers of the child windows come with the control skinning.
    ReadState();
    if (f.stage_ == 0 && f.frameSkinned_) {
        const LONG_PTR style = GetWindowLongPtrA(Wnd(), GWL_STYLE);
        // The menu bar is laid out again in the menu row at the next paint.
        if (menuHeight > 0) {
            f.stage_ = 5;
            DrawMenuBar(Wnd());
        }
        if (f.mdiKind_ == kMdiChild) {
            if (Maximized()) {
                if (mdiClient) PostMessageA(GetParent(Wnd()), SKM_MDIREDRAW, 0, 0);
            } else if (!Minimized()) {
                f.stage_ = 5;
                f.ResizeToSkin(false);
                f.stage_ = 1;
                f.UpdateRegion();
            }
        } else if (!(style & WS_CHILD) && kinds.Border != kBorderNone && !Minimized()) {
            f.stage_ = 5;
            f.ResizeToSkin(false);
            f.stage_ = 1;
            if (Maximized()) f.FrameChanged();
            else f.UpdateRegion();
        }
    }
    f.stage_ = 1;
    SendMessageA(Wnd(), SKM_SKINAPPLIED, 0, SKIN_MAGIC);
    if (f.skin_->OnAfterSkinForm) f.skin_->OnAfterSkinForm(f.skin_, Wnd(), f.classNameGiven_);
    TimerOn(true);
    RepaintFrame();
}

LRESULT TWinSkinForm::Impl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
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
        if (f.stage_ == 0 && f.mdiKind_ != kMdiChild) return TRUE;
        break;
    case 0xAE:  // the system's undocumented caption redraw
        return 0;
    case WM_INITMENUPOPUP:
        Host().SetMenuKind(reinterpret_cast<HMENU>(wp) == sysMenu && sysMenu ? 2 : 1);
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
        return 0;  // the controllers come with the control skinning
    case SKM_ISSKINNED:
        PostMessageA(Wnd(), SKM_SKINAPPLIED, 0, SKIN_MAGIC);
        return 1;
    default:
        break;
    }
    if (!f.frameSkinned_) return DefaultProc(msg, wp, lp);
    if (f.mdiKind_ == kMdiChild || !(GetWindowLongPtrA(Wnd(), GWL_STYLE) & WS_CHILD)) return Stage2(msg, wp, lp);
    return DefaultProc(msg, wp, lp);
}

LRESULT TWinSkinForm::Impl::Stage2(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        f.windowState_ = wp == SIZE_MINIMIZED ? kStateMinimized : wp == SIZE_MAXIMIZED ? kStateMaximized
                                                                                        : kStateNormal;
        const bool mdiOk = f.mdiKind_ != kMdiChild || (f.windowState_ == kStateNormal && !Host().MDIMaximized());
        if (!Minimized() && mdiOk && (f.stage_ == 1 || f.stage_ == 3)) f.UpdateRegion();
        return r;
    }
    case WM_ACTIVATE:
        active = LOWORD(wp) != WA_INACTIVE;
        break;
    case WM_NCACTIVATE:
        active = wp != 0;
        break;
    case WM_GETMINMAXINFO: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        ReadState();
        return r;
    }
    case WM_WINDOWPOSCHANGED:
        ReadState();
        return DefaultProc(msg, wp, lp);
    case WM_SETICON: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        BuildIcon();
        RepaintFrame();
        return r;
    }
    case WM_SETTEXT: {
        // The system paints its own caption when the text of a captioned window changes: the caption style
        // is off while the text is set, and the skinned frame is painted again.
        if (f.stage_ != 1 && f.stage_ != 3) break;
        const LONG_PTR style = GetWindowLongPtrA(Wnd(), GWL_STYLE);
        if ((style & WS_CAPTION) == 0) break;
        SetWindowLongPtrA(Wnd(), GWL_STYLE, style & ~WS_CAPTION);
        const LRESULT r = DefaultProc(msg, wp, lp);
        SetWindowLongPtrA(Wnd(), GWL_STYLE, GetWindowLongPtrA(Wnd(), GWL_STYLE) | (style & WS_CAPTION));
        RepaintFrame();
        return r;
    }
    case WM_SYSCOMMAND: {
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
    default:
        break;
    }
    return Stage3(msg, wp, lp);
}

LRESULT TWinSkinForm::Impl::Stage3(UINT msg, WPARAM wp, LPARAM lp) {
    if (MaxMdiChild() || f.stage_ == 0) return DefaultProc(msg, wp, lp);
    switch (msg) {
    case WM_NCCALCSIZE: {
        if (!wp) return DefaultProc(msg, wp, lp);
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lp);
        const RECT window = p->rgrc[0];
        // The system's calculation would lay the menu bar out in its own frame; the menu row does that.
        if (!GetMenu(Wnd())) DefaultProc(msg, wp, lp);
        if (!(f.mdiKind_ == kMdiChild && (Maximized() || Minimized())) && kinds.Border != kBorderNone)
            p->rgrc[0] = ToRECT(FrameClientRect(window.left, window.top, window.right - window.left,
                                                window.bottom - window.top, m));
        p->rgrc[1] = p->rgrc[0];
        return WVR_VALIDRECTS;
    }
    case WM_NCHITTEST: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        RECT wr;
        GetWindowRect(Wnd(), &wr);
        return FrameHitTest(static_cast<int>(r), PointOf(lp).y - wr.top, m);
    }
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
    case WM_NCRBUTTONDOWN:
        return NcMouse(msg, wp, lp);
    case SKM_NCREPAINT:
        RepaintFrame();
        return 0;
    default:
        return DefaultProc(msg, wp, lp);
    }
}

// The form's own messages (inside the frame, in the form's handler chain).
bool TWinSkinForm::Impl::FormMessage(TMessage& msg) {
    switch (msg.Msg) {
    case SKM_RESKIN:
        f.UpdateSkin();
        return true;
    case SKM_PAINTNC:
        if (msg.LParam != SKIN_MAGIC) return true;
        if (msg.WParam) PaintNC(reinterpret_cast<HDC>(msg.WParam));
        msg.Result = SKIN_MAGIC;
        return true;
    case SKM_QUERYSKIN:
        msg.Result = msg.LParam == SKIN_MAGIC ? SKIN_MAGIC : 1;
        return true;
    default:
        return false;
    }
}

// ---- TWinSkinForm ----

TWinSkinForm::TWinSkinForm(TComponent* owner) : TComponent(owner), impl_(std::make_unique<Impl>(*this)) {
    impl_->dblClickTime = GetDoubleClickTime();
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        impl_->captionFont = CreateFontIndirectA(&ncm.lfCaptionFont);
}

TWinSkinForm::~TWinSkinForm() {
    BeginDestroy();
    if (impl_->hooked && stage_ != 6) UnhookWindow();
    impl_->Detach();
    if (impl_->captionFont) DeleteObject(impl_->captionFont);
    Host().RemoveForm(this);
}

void TWinSkinForm::SetWindow(HWND window, void* moduleKey, const std::string& className) {
    window_ = window;
    moduleKey_ = moduleKey;
    classNameGiven_ = className;
}

bool TWinSkinForm::Hooked() const { return impl_->hooked; }

void TWinSkinForm::SkinForm(TSkinData* skin, TControl* form) {
    form_ = form;
    if (skin && skin->OnBeforeSkinForm) skin->OnBeforeSkinForm(skin, window_, classNameGiven_);
    SkinWindow(skin);
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
    if (mdiKind_ == kMdiFrame) Host().SetMDIClient(d.mdiClient, form_);
    d.ReadState();
    if (GetMenu(window_) && mdiKind_ != kMdiChild) d.menuHeight = GetSystemMetrics(SM_CYMENU);
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
}

void TWinSkinForm::CreateSysButtons() {
    Impl& d = *impl_;
    if (!skin_ || skin_->NoSkin()) return;
    d.m = FrameMetricsOf(*skin_, d.kinds.Border, d.menuHeight);
    d.hot = -1;
    d.buttons.clear();
    for (const TDataSkinSysButton& r : skin_->SysButtons) {
        CaptionButton b;
        b.Rec = &r;
        if (b.IsIcon() && d.icon.Width() == 0) d.BuildIcon();
        d.buttons.push_back(b);
    }
}

void TWinSkinForm::UpdateSkin() {
    if (!skin_ || !impl_->hooked) return;
    if (auto* c = form_) c->SetColor(skin_->Colour(SkinColour::ButtonFace));
    stage_ = 3;
    if (frameSkinned_) {
        impl_->m = FrameMetricsOf(*skin_, impl_->kinds.Border, impl_->m.Menu);
        ResizeToSkin(true);
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
    if (!d.hooked) return;
    if (d.formHandler) {
        if (auto* w = d.FormControl(); w && !w->Destroying()) w->RemoveMessageHandler(d.formHandler);
        d.formHandler = 0;
    }
    if (form_ && !form_->Destroying() && stage_ != 4 && frameSkinned_) form_->SetColor(d.savedColour);
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
    UnhookWindow();
    if (!frame || !IsWindow(window_)) return;
    const bool plainChild = (GetWindowLongPtrA(window_, GWL_STYLE) & WS_CHILD) && mdiKind_ != kMdiChild;
    if (stage_ != 4 && !plainChild) {
        POINT tl{wr.left, wr.top};
        if (HWND parent = GetParent(window_); parent && mdiKind_ == kMdiChild) ScreenToClient(parent, &tl);
        const int w = (wr.right - wr.left) - d.m.Left - d.m.Right + d.sysFrameW;
        const int h = (wr.bottom - wr.top) - d.m.Caption - d.m.Bottom - d.m.Menu + d.sysFrameH;
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
        HDC dc = GetDC(window_);
        HGDIOBJ old = d.captionFont ? SelectObject(dc, d.captionFont) : nullptr;
        SIZE sz{};
        const std::string t = std::string(" ") + text + "  ";
        GetTextExtentPoint32A(dc, t.c_str(), static_cast<int>(t.size()), &sz);
        if (old) SelectObject(dc, old);
        ReleaseDC(window_, dc);
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

void TWinSkinForm::UpdateRegion() {
    Impl& d = *impl_;
    if (stage_ == 6 || !frameSkinned_ || !skin_ || !window_) return;
    if (mdiKind_ == kMdiChild && (d.Maximized() || d.Minimized())) return;
    RECT wr;
    GetWindowRect(window_, &wr);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    if (W <= 0 || H <= 0) return;
    if (W == d.regionW && H == d.regionH && mdiKind_ != kMdiChild && stage_ != 3 && regionOwned_) return;
    RegionPlanInput in;
    in.Width = W;
    in.Height = H;
    in.Metrics = d.m;
    in.Border = d.kinds.Border;
    for (int p = 1; p <= 4; ++p) in.Trans[p] = Part(*skin_, p).Trans != 0;
    SkinRegion region(CreateRectRgn(0, 0, 0, 0));
    if (!region.Get()) return;
    for (const RegionPiece& piece : RegionPlan(in)) {
        const TRect& r = piece.Rect;
        if (piece.Part == 0) {
            SkinRegion rect(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
            if (rect.Get()) CombineRgn(region.Get(), region.Get(), rect.Get(), RGN_OR);
            continue;
        }
        const TDataSkinBorder& o = Part(*skin_, piece.Part);
        if (!o.HasImage()) continue;
        auto bmp = StretchSkinImage(Bounds(0, 0, r.Width(), r.Height()), o.Image, MarginsOf(o), 1, o.Frame,
                                    o.Tile != 1, piece.Part >= 3);
        if (!bmp) continue;
        // Nothing kept gives no region at all.
        SkinRegion cut(BitmapToRegion(*bmp, r.Left, r.Top, kSkinTransparent, 0, 0, 0));
        if (cut.Get()) CombineRgn(region.Get(), region.Get(), cut.Get(), RGN_OR);
    }
    regionOwned_ = region.GiveTo(window_, true);
    d.regionW = regionOwned_ ? W : -1;
    d.regionH = regionOwned_ ? H : -1;
}

void TWinSkinForm::ClearRegion() {
    if (!regionOwned_ || !window_) return;
    SetWindowRgn(window_, nullptr, mdiKind_ == kMdiChild);
    regionOwned_ = false;
    impl_->regionW = impl_->regionH = -1;
}

void TWinSkinForm::FrameChanged() {
    if (window_)
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::RepaintWindow(HWND window) {
    if (window) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void TWinSkinForm::SkinChildWindow(HWND) {}

}  // namespace kes
