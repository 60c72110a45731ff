// The window half of controls: making and destroying windows, the one window procedure of the layer's own
// classes, the subclass that binds system-class controls, the per-control handler chain, and the translation
// of window messages into the controls' events.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "base/Exception.h"
#include "gui/Forms.h"
#include "gui/HintWindow.h"
#include "gui/Keys.h"
#include "gui/Menus.h"
#include "gui/win/Canvas.h"
#include "gui/win/MsgCrack.h"
#include "gui/win/Win.h"

namespace kes {

// ---- helpers ----

COLORREF ColorToRGB(TColor color) {
    if (IsSystemColor(color)) return GetSysColor(color & 0xFF);
    if (color == clNone) return 0;
    return static_cast<COLORREF>(color) & 0xFFFFFF;
}

UniqueGdi<HFONT> CreateFontFor(const TFont& font) {
    LOGFONTA lf{};
    lf.lfHeight = font.Height();
    lf.lfWeight = (font.Style() & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (font.Style() & fsItalic) ? 1 : 0;
    lf.lfUnderline = (font.Style() & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (font.Style() & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, font.Name().c_str(), LF_FACESIZE);
    return UniqueGdi<HFONT>(CreateFontIndirectA(&lf));
}

RECT MeasureText(const TFont& font, const std::string& text, int width, UINT format) {
    WindowDc screen(nullptr);
    const UniqueGdi<HFONT> f = CreateFontFor(font);
    SelectGuard selected(screen.Get(), f.Get());
    RECT r{0, 0, width, 0};
    DrawTextA(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | format);
    return r;
}

TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState MouseShiftState(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    return s;
}

MemoryDc::MemoryDc(HDC ref, int width, int height)
    : dc_(CreateCompatibleDC(ref)),
      bmp_(CreateCompatibleBitmap(ref, std::max(1, width), std::max(1, height))),
      old_(SelectObject(dc_.Get(), bmp_.Get())),
      w_(width),
      h_(height) {}

// The bitmap is put out of the DC before either goes (the members go in reverse order: bitmap, then DC).
MemoryDc::~MemoryDc() { SelectObject(dc_.Get(), old_); }

void MemoryDc::Blit(HDC target, int x, int y) const { BitBlt(target, x, y, w_, h_, dc_.Get(), 0, 0, SRCCOPY); }

LRESULT CallNextHandler(TMessage& m) {
    // A windowless control's chain has no window: the rest of its chain runs here.
    if (!m.Wnd && CallNextGraphicHandler(m)) return m.Result;
    m.NextCalled = true;
    m.Result = DefSubclassProc(static_cast<HWND>(m.Wnd), m.Msg, m.WParam, m.LParam);
    return m.Result;
}

// The neutral half keeps the control's font and brush as plain pointers (it sees no GDI); this half owns them.
static void DropGdi(void*& slot) { UniqueGdi<HGDIOBJ> gone(static_cast<HGDIOBJ>(std::exchange(slot, nullptr))); }

// ---- window to control ----

static std::unordered_map<HWND, TWinControl*>& Bound() {
    static std::unordered_map<HWND, TWinControl*> map;
    return map;
}

TWinControl* FindControl(void* handle) {
    auto it = Bound().find(static_cast<HWND>(handle));
    return it == Bound().end() ? nullptr : it->second;
}

static void Bind(HWND hwnd, TWinControl* c) { Bound()[hwnd] = c; }
static void Unbind(HWND hwnd) {
    auto it = Bound().find(hwnd);
    if (it == Bound().end()) return;
    it->second->DetachHandle();
    Bound().erase(it);
}

static LRESULT Dispatch(TWinControl* c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    TMessage m{hwnd, msg, wp, lp, 0};
    return GuardedResult<LRESULT>(0, [&] {
        c->WndProc(m);
        return m.Result;
    });
}

// The window procedure of every class the layer registers (forms, panels, group boxes, frames).
static LRESULT CALLBACK OwnClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        void* param = cs->lpCreateParams;
        // An MDI child is made by its client (WM_MDICREATE): the control comes in the MDI creation record.
        if (param && (cs->dwExStyle & WS_EX_MDICHILD))
            param = reinterpret_cast<void*>(static_cast<const MDICREATESTRUCTA*>(param)->lParam);
        if (auto* c = static_cast<TWinControl*>(param)) Bind(hwnd, c);
    }
    TWinControl* c = FindControl(hwnd);
    if (!c) return DefWindowProcA(hwnd, msg, wp, lp);
    const LRESULT r = Dispatch(c, hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) Unbind(hwnd);
    return r;
}

// The control's own handling of a system-class window (the first subclass; its default is the class's proc).
static LRESULT CALLBACK OwnSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
    TWinControl* c = FindControl(hwnd);
    LRESULT r;
    if (c)
        r = Dispatch(c, hwnd, msg, wp, lp);
    else
        r = DefSubclassProc(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, OwnSubclassProc, id);
        Unbind(hwnd);
    }
    return r;
}

// One handler of a control's chain. WM_NCDESTROY reaches the handler too, and then always goes on down the
// chain (the control's own handling unbinds the window there), after which the handler's subclass is removed.
static LRESULT CALLBACK ChainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
    TWinControl* c = FindControl(hwnd);
    TMessage m{hwnd, msg, wp, lp, 0};
    bool handled = false;
    if (c)
        for (const auto& h : c->MessageHandlers())
            if (h.Id == static_cast<int>(id)) {
                TMessageHandler fn = h.Fn;  // the handler may remove itself
                GuardedResult<LRESULT>(0, [&] {
                    handled = fn(m);
                    return m.Result;
                });
                break;
            }
    if (msg == WM_NCDESTROY) {
        if (!m.NextCalled) m.Result = DefSubclassProc(hwnd, msg, wp, lp);
        RemoveWindowSubclass(hwnd, ChainProc, id);
        return m.Result;
    }
    if (handled) return m.Result;
    if (m.NextCalled) return m.Result;  // ran the rest already; declining must not run it twice
    return DefSubclassProc(hwnd, msg, wp, lp);
}

static void RegisterOwnClass(const std::string& name, unsigned style) {
    static std::unordered_set<std::string> done;
    if (done.count(name)) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = OwnClassProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = name.c_str();
    // The program's own icon (resource "MAINICON") when it has one, else the system's.
    wc.hIcon = LoadIconA(wc.hInstance, "MAINICON");
    if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.hIconSm = static_cast<HICON>(LoadImageA(wc.hInstance, "MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (RegisterClassExA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) done.insert(name);
}

static void InitCommonControlsOnce() {
    static bool done = false;
    if (done) return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    done = true;
}

// ---- making and destroying windows ----

static TWinControl* g_creating = nullptr;

TWinControl* CreatingControl() { return g_creating; }

void TWinControl::CreateParams(TCreateParams& p) {
    p.WinClassName = ClassName();
    p.SystemClass = false;
    p.ClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (visible_) p.Style |= WS_VISIBLE;
    if (!enabled_) p.Style |= WS_DISABLED;
    if (TabStop) p.Style |= WS_TABSTOP;
    p.X = left_;
    p.Y = top_;
    p.Width = width_;
    p.Height = height_;
    p.Caption = text_;
}

void TWinControl::HandleNeeded() {
    if (handle_ || creating_ || Destroying()) return;
    if (parent_) {
        parent_->HandleNeeded();
        if (handle_) return;  // made with the parent's children
    }
    InitCommonControlsOnce();
    TCreateParams p;
    CreateParams(p);
    if (!p.SystemClass) RegisterOwnClass(p.WinClassName, p.ClassStyle);
    HWND parentWnd = parent_ ? static_cast<HWND>(parent_->handle_) : static_cast<HWND>(p.WndParent);
    if (parent_ && !parentWnd) return;
    creating_ = true;
    systemClass_ = p.SystemClass;
    HWND h = nullptr;
    {
        TWinControl* const outer = std::exchange(g_creating, this);
        if (p.ExStyle & WS_EX_MDICHILD) {
            // An MDI child is made by the MDI client it lives in.
            MDICREATESTRUCTA mcs{p.WinClassName.c_str(), p.Caption.c_str(), GetModuleHandleA(nullptr), p.X, p.Y,
                                 p.Width,  p.Height,       p.Style,         reinterpret_cast<LPARAM>(this)};
            h = parentWnd ? reinterpret_cast<HWND>(SendMessageA(parentWnd, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)))
                          : nullptr;
        } else {
            h = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                                p.Height, parentWnd, nullptr, GetModuleHandleA(nullptr), this);
        }
        g_creating = outer;
    }
    if (!h) {
        creating_ = false;
        throw Exception("Error creating window " + p.WinClassName + " (" + std::to_string(GetLastError()) + ")");
    }
    if (p.SystemClass) {
        Bind(h, this);
        SetWindowSubclass(h, OwnSubclassProc, 0, 0);
    }
    handle_ = h;
    for (const auto& e : handlers_) SetWindowSubclass(h, ChainProc, static_cast<UINT_PTR>(e.Id), 0);
    FontChanged();
    CreateWnd();
    creating_ = false;
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
    AlignControls();
}

void TWinControl::CreateWnd() {}
void TWinControl::DestroyWnd() {}

void TWinControl::DestroyHandle() {
    HWND h = static_cast<HWND>(handle_);
    if (h) {
        if (!Destroying()) {
            std::function<void(TWinControl*)> save = [&save](TWinControl* w) {
                for (int i = 0; i < w->ControlCount(); ++i)
                    if (auto* c = dynamic_cast<TWinControl*>(w->Controls(i)); c && c->HandleAllocated()) save(c);
                w->DestroyWnd();
            };
            save(this);
        }
        // Forget the window first, so that nothing of this object runs while it goes.
        if (Destroying()) Unbind(h);
        if (GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_MDICHILD) {
            // An MDI child goes through its client, which activates the next child; the frame's menu follows.
            HWND client = GetParent(h);
            SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(h), 0);
            if (auto* frame = dynamic_cast<TCustomForm*>(FindControl(GetParent(client))))
                frame->UpdateMDIMenu(dynamic_cast<TCustomForm*>(
                    FindControl(reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)))));
        } else {
            DestroyWindow(h);
        }
        Unbind(h);
        handle_ = nullptr;
    }
    DropGdi(fontHandle_);
    DropGdi(brushHandle_);
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    const bool focused = Focused();
    // The handlers hear of it while the old window is still there.
    Perform(CM_RECREATEWND);
    DestroyHandle();
    HandleNeeded();
    // A top-level window is made hidden; show it again as it was.
    if (handle_ && !parent_ && visible_) ShowWindow(static_cast<HWND>(handle_), SW_SHOWNA);
    if (focused && handle_) ::SetFocus(static_cast<HWND>(handle_));
}

void* TWinControl::Handle() {
    HandleNeeded();
    return handle_;
}

intptr_t TWinControl::Perform(unsigned msg, uintptr_t wp, intptr_t lp) {
    if (!handle_) return 0;
    return SendMessageA(static_cast<HWND>(handle_), msg, wp, lp);
}

int TWinControl::AddMessageHandler(TMessageHandler handler) {
    const int id = nextHandlerId_++;
    handlers_.push_back({id, std::move(handler)});
    if (handle_) SetWindowSubclass(static_cast<HWND>(handle_), ChainProc, static_cast<UINT_PTR>(id), 0);
    return id;
}

void TWinControl::RemoveMessageHandler(int id) {
    auto it = std::find_if(handlers_.begin(), handlers_.end(), [id](const HandlerEntry& e) { return e.Id == id; });
    if (it == handlers_.end()) return;
    handlers_.erase(it);
    if (handle_) RemoveWindowSubclass(static_cast<HWND>(handle_), ChainProc, static_cast<UINT_PTR>(id));
}

// ---- keeping the window in step ----

void TControl::BoundsChanged() { Invalidate(); }
void TControl::TextChanged() { Invalidate(); }
void TControl::ColorChanged() { Invalidate(); }
void TControl::FontChanged() { Invalidate(); }
void TControl::VisibleChanged() {
    if (parent_ && parent_->HandleAllocated())
        InvalidateRect(static_cast<HWND>(parent_->WindowHandle()), nullptr, TRUE);
}
void TControl::EnabledChanged() { Invalidate(); }

void TControl::Invalidate() {
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        if (w->HandleAllocated()) InvalidateRect(static_cast<HWND>(w->WindowHandle()), nullptr, TRUE);
        return;
    }
    // A windowless control: its parent repaints the whole area (the old place may differ from the new).
    if (parent_ && parent_->HandleAllocated())
        InvalidateRect(static_cast<HWND>(parent_->WindowHandle()), nullptr, TRUE);
}

void TControl::Repaint() {
    Invalidate();
    TWinControl* w = dynamic_cast<TWinControl*>(this);
    if (!w) w = parent_;
    if (w && w->HandleAllocated()) UpdateWindow(static_cast<HWND>(w->WindowHandle()));
}

void TControl::BringToFront() {
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        if (!w->HandleAllocated()) return;
        HWND h = static_cast<HWND>(w->WindowHandle());
        if (!parent_) {
            if (IsIconic(h)) ShowWindow(h, SW_RESTORE);
            SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            SetForegroundWindow(h);
        } else {
            SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return;
    }
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.push_back(this);
    Invalidate();
}

void TControl::SendToBack() {
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        if (w->HandleAllocated())
            SetWindowPos(static_cast<HWND>(w->WindowHandle()), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.insert(list.begin(), this);
    Invalidate();
}

TPoint TControl::ClientToScreen(TPoint p) const {
    POINT pt{p.X, p.Y};
    const TControl* c = this;
    if (!dynamic_cast<const TWinControl*>(c)) {
        pt.x += left_;
        pt.y += top_;
        c = parent_;
    }
    if (auto* w = dynamic_cast<const TWinControl*>(c); w && w->HandleAllocated())
        ::ClientToScreen(static_cast<HWND>(w->WindowHandle()), &pt);
    return {pt.x, pt.y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    POINT pt{p.X, p.Y};
    const TControl* c = this;
    int dx = 0, dy = 0;
    if (!dynamic_cast<const TWinControl*>(c)) {
        dx = left_;
        dy = top_;
        c = parent_;
    }
    if (auto* w = dynamic_cast<const TWinControl*>(c); w && w->HandleAllocated())
        ::ScreenToClient(static_cast<HWND>(w->WindowHandle()), &pt);
    return {pt.x - dx, pt.y - dy};
}

TRect TWinControl::ClientRect() const {
    if (handle_) {
        RECT r{};
        GetClientRect(static_cast<HWND>(handle_), &r);
        return ToTRect(r);
    }
    return Rect(0, 0, width_, height_);
}

int ComboDropHeight(const TWinControl* c);  // win/StdCtrls.cpp

void TWinControl::BoundsChanged() {
    if (!handle_ || fromWindow_) return;
    SetWindowPos(static_cast<HWND>(handle_), nullptr, left_, top_, width_, height_ + ComboDropHeight(this),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::TextChanged() {
    if (handle_) SetWindowTextA(static_cast<HWND>(handle_), text_.c_str());
}

void TWinControl::ColorChanged() {
    DropGdi(brushHandle_);
    Invalidate();
}

void TWinControl::FontChanged() {
    for (TControl* c : controls_) c->ParentFontChanged();
    if (!handle_) return;
    UniqueGdi<HFONT> f = CreateFontFor(font_);
    SendMessageA(static_cast<HWND>(handle_), WM_SETFONT, reinterpret_cast<WPARAM>(f.Get()), TRUE);
    DropGdi(fontHandle_);
    fontHandle_ = f.Release();
}

void TWinControl::VisibleChanged() {
    if (!parent_ || !parent_->HandleAllocated()) return;
    if (!handle_) {
        if (visible_) HandleNeeded();
        return;
    }
    ShowWindow(static_cast<HWND>(handle_), visible_ ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::EnabledChanged() {
    if (handle_) EnableWindow(static_cast<HWND>(handle_), enabled_);
}

void TWinControl::SetFocus() {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && (!form->Visible() || !form->HandleAllocated())) {
        form->FocusChanged(this);
        return;
    }
    HandleNeeded();
    if (handle_) ::SetFocus(static_cast<HWND>(handle_));
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == static_cast<HWND>(handle_); }

// ---- messages to events ----

static TControl* g_mouseControl = nullptr;  // the windowless control that got the last button press
static TControl* g_hotControl = nullptr;    // the windowless control under the mouse

void ControlGone(const TControl* c) {
    if (g_mouseControl == c) g_mouseControl = nullptr;
    if (g_hotControl == c) g_hotControl = nullptr;
    ForgetHintControl(c);
}

static HBRUSH BrushOf(TWinControl* c, void*& slot) {
    if (!slot) slot = CreateSolidBrush(ColorToRGB(c->Color()));
    return static_cast<HBRUSH>(slot);
}

// Paints the windowless children over a DC that shows the parent's client area.
void PaintControls(TWinControl* parent, HDC dc) {
    if (!parent || !dc) return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        const int saved = SaveDC(dc);
        POINT org;
        GetViewportOrgEx(dc, &org);
        SetViewportOrgEx(dc, org.x + c->Left(), org.y + c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        if (auto* g = dynamic_cast<TGraphicControl*>(c)) {
            g->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
        } else {
            TCanvas canvas(dc);
            canvas.Font().Assign(c->Font());
            c->Paint(canvas);
        }
        RestoreDC(dc, saved);
    }
}

static void PaintOwn(TWinControl* c, HDC dc) {
    {
        TCanvas canvas(dc);
        canvas.Font().Assign(c->Font());
        canvas.Brush().Color = c->Color();
        c->Paint(canvas);
    }
    PaintControls(c, dc);
}

static bool MouseMessage(TWinControl* self, TMessage& m, TMouseButton button, bool down, bool dbl) {
    const TPoint at = msg::Point(m);
    const int x = at.X, y = at.Y;
    TShiftState shift = MouseShiftState(m.WParam) | (dbl ? static_cast<TShiftState>(ssDouble) : 0u);
    TControl* target = self;
    int tx = x, ty = y;
    if (down) {
        g_mouseControl = nullptr;
        if (TControl* g = self->GraphicControlAt({x, y})) {
            if (!g->Enabled()) return false;
            target = g_mouseControl = g;
            tx -= g->Left();
            ty -= g->Top();
        }
    } else if (g_mouseControl && g_mouseControl->Parent() == self) {
        target = g_mouseControl;
        tx -= target->Left();
        ty -= target->Top();
    }
    // A windowless control hears of the button through its own chain.
    if (auto* g = dynamic_cast<TGraphicControl*>(target)) {
        if (!down && target == g_mouseControl) g_mouseControl = nullptr;
        g->Perform(m.Msg, m.WParam, static_cast<LPARAM>(MAKELONG(static_cast<WORD>(tx), static_cast<WORD>(ty))));
        return true;
    }
    if (down) {
        target->MouseDown(button, shift, tx, ty);
        if (dbl && button == mbLeft) target->DblClick();
    } else {
        const bool inside = tx >= 0 && ty >= 0 && tx < target->Width() && ty < target->Height();
        target->MouseUp(button, shift, tx, ty);
        if (button == mbLeft && inside) {
            auto* w = dynamic_cast<TWinControl*>(target);
            if (!w || w->ClickOnMouseUp()) target->Click();
        }
        if (target == g_mouseControl) g_mouseControl = nullptr;
    }
    return true;
}

// The mouse came over another windowless child of parent (or over none): the one it left and the one it
// entered hear of it; the parent asks to hear when the mouse leaves it.
static void SetHotControl(TWinControl& parent, TControl* control) {
    if (control == g_hotControl) return;
    TControl* old = std::exchange(g_hotControl, control);
    if (auto* g = dynamic_cast<TGraphicControl*>(old)) g->Perform(CM_MOUSELEAVE);
    if (auto* g = dynamic_cast<TGraphicControl*>(control)) {
        g->Perform(CM_MOUSEENTER);
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, static_cast<HWND>(parent.WindowHandle()), 0};
        TrackMouseEvent(&t);
    }
}

// The events of a windowless control's own handling: paint, and the mouse buttons.
void TGraphicControl::WndProc(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        if (HDC dc = msg::PaintDcOf(m)) {
            TCanvas canvas(dc);
            canvas.Font().Assign(Font());
            Paint(canvas);
        }
        return;
    }
    msg::MouseButtonInfo b;
    if (!msg::MouseButton(m, b)) return;
    const TPoint p = msg::Point(m);
    const TShiftState shift = MouseShiftState(msg::MouseKeys(m)) | (b.Double ? static_cast<TShiftState>(ssDouble) : 0u);
    if (b.Down) {
        MouseDown(b.Button, shift, p.X, p.Y);
        if (b.Double && b.Button == mbLeft) DblClick();
        return;
    }
    MouseUp(b.Button, shift, p.X, p.Y);
    if (b.Button == mbLeft && p.X >= 0 && p.Y >= 0 && p.X < Width() && p.Y < Height()) Click();
}

// Removes the character message that the keyboard translation made of a key the layer already used.
static void DropTranslatedChar(HWND hwnd) {
    MSG msg;
    PeekMessageA(&msg, hwnd, WM_CHAR, WM_CHAR, PM_REMOVE | PM_NOYIELD);
}

static bool MenuShortCut(TCustomForm* form, uint16_t key, TShiftState shift) {
    if (!form || !form->Menu() || key == vkShift || key == vkControl || key == vkMenu) return false;
    const TShortCut sc = ShortCut(key, shift);
    std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* root) -> TMenuItem* {
        for (int i = 0; i < root->Count(); ++i) {
            TMenuItem* it = root->Items(i);
            if (!it->Visible() || !it->Enabled()) continue;
            if (it->GetShortCut() == sc && it->Count() == 0) return it;
            if (TMenuItem* f = find(it)) return f;
        }
        return nullptr;
    };
    if (TMenuItem* item = find(form->Menu()->Items())) {
        item->Click();
        return true;
    }
    return false;
}

// The class's own handling (system classes) or the default window procedure (the layer's own classes).
void TWinControl::DefaultHandler(TMessage& m) {
    const HWND h = static_cast<HWND>(m.Wnd);
    m.Result =
        systemClass_ ? DefSubclassProc(h, m.Msg, m.WParam, m.LParam) : DefWindowProcA(h, m.Msg, m.WParam, m.LParam);
}

// The handlers of TWinControl::WndProc, one per message (or family of messages). Each returns true when it
// answered the message (its result is set); false sends the message on to the default handling, with what
// the handler changed in it (a key the events replaced).
struct TWinControlMessages {
    using Handler = bool (*)(TWinControl&, TMessage&);
    static Handler For(unsigned msg);

    // A notification of a child control goes back to it; a menu command to its item.
    static bool Command(TWinControl&, TMessage& m) {
        if (HWND sender = msg::CommandControl(m)) {
            TWinControl* child = FindControl(sender);
            if (!child) return false;
            child->CommandNotify(msg::NotifyCode(m));
            m.Result = 0;
            return true;
        }
        if (msg::NotifyCode(m) > 1) return false;
        TMenuItem* item = TMenuItem::FindByCommand(static_cast<int>(msg::CommandId(m)));
        if (!item) return false;
        item->Click();
        m.Result = 0;
        return true;
    }

    // WM_NOTIFY and a control's WM_DRAWITEM go back to the child that sent them, as OCM_NOTIFY and
    // OCM_DRAWITEM through its handler chain (its controller sees them there).
    static bool Reflect(TWinControl&, TMessage& m) {
        HWND child = nullptr;
        if (m.Msg == WM_NOTIFY) {
            if (const auto* n = reinterpret_cast<const NMHDR*>(m.LParam)) child = n->hwndFrom;
        } else if (const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam); d && d->CtlType != ODT_MENU) {
            child = d->hwndItem;
        }
        if (!child || !FindControl(child)) return false;
        m.Result = SendMessageA(child, m.Msg + OCM__BASE, m.WParam, m.LParam);
        return true;
    }

    // A scroll-bar control's WM_HSCROLL / WM_VSCROLL go back to it as OCM_HSCROLL / OCM_VSCROLL.
    static bool ReflectScroll(TWinControl&, TMessage& m) {
        const auto bar = reinterpret_cast<HWND>(m.LParam);
        if (!bar || !FindControl(bar)) return false;
        m.Result = SendMessageA(bar, m.Msg + OCM__BASE, m.WParam, m.LParam);
        return true;
    }

    // A child asks for its colours: its font colour (grey when disabled) on its own brush.
    static bool CtlColor(TWinControl&, TMessage& m) {
        TWinControl* child = FindControl(msg::CtlColorControl(m));
        if (!child) return false;
        const HDC dc = msg::CtlColorDc(m);
        SetTextColor(dc, ColorToRGB(child->Enabled() ? child->Font().Color() : clGrayText));
        SetBkColor(dc, ColorToRGB(child->Color()));
        m.Result = reinterpret_cast<LRESULT>(BrushOf(child, child->brushHandle_));
        return true;
    }

    // Key presses: the form's preview, then menu short cuts, then the form's dialog keys, then the control.
    static bool KeyDown(TWinControl& c, TMessage& m) {
        uint16_t key = msg::VirtualKey(m);
        const TShiftState shift = KeyboardShiftState();
        TCustomForm* form = GetParentForm(&c);
        bool dropped = form && form != &c && form->KeyPreview && !form->KeyDown(key, shift);
        if (!dropped && MenuShortCut(form, key, shift)) {
            DropTranslatedChar(static_cast<HWND>(m.Wnd));
            dropped = true;
        }
        if (!dropped && (key == vkTab || key == vkReturn || key == vkEscape) && !c.WantSpecialKey(key) && form &&
            form->DialogKey(key, shift)) {
            DropTranslatedChar(static_cast<HWND>(m.Wnd));
            dropped = true;
        }
        if (!dropped) dropped = !c.KeyDown(key, shift);
        if (dropped) {
            m.Result = 0;
            return true;
        }
        m.WParam = key;
        return false;
    }

    static bool Char(TWinControl& c, TMessage& m) {
        char ch = msg::Char(m);
        TCustomForm* form = GetParentForm(&c);
        if ((form && form != &c && form->KeyPreview && !form->KeyPress(ch)) || !c.KeyPress(ch)) {
            m.Result = 0;
            return true;
        }
        m.WParam = static_cast<unsigned char>(ch);
        return false;
    }

    // Alt and a character: the form hears of it first (CM_DIALOGCHAR); Alt+Space and Alt+- (the system menus) go
    // on as they are.
    static bool SysChar(TWinControl& c, TMessage& m) {
        const auto ch = static_cast<unsigned char>(msg::Char(m));
        TCustomForm* form = GetParentForm(&c);
        if (!form || ch == ' ' || ch == '-' || form->Perform(CM_DIALOGCHAR, ch, m.LParam) == 0) return false;
        m.Result = 0;
        return true;
    }

    static bool KeyUp(TWinControl& c, TMessage& m) {
        uint16_t key = msg::VirtualKey(m);
        const TShiftState shift = KeyboardShiftState();
        TCustomForm* form = GetParentForm(&c);
        if ((form && form != &c && form->KeyPreview && !form->KeyUp(key, shift)) || !c.KeyUp(key, shift)) {
            m.Result = 0;
            return true;
        }
        m.WParam = key;
        return false;
    }

    // Buttons: the default handling runs first (focus, capture of system controls), then the events; the
    // layer's own windows hold the capture from press to release.
    static bool MouseButton(TWinControl& c, TMessage& m) {
        msg::MouseButtonInfo button;
        msg::MouseButton(m, button);
        const HWND hwnd = static_cast<HWND>(m.Wnd);
        c.DefaultHandler(m);
        const LRESULT r = m.Result;
        if (!c.systemClass_) {
            if (button.Down)
                SetCapture(hwnd);
            else if (GetCapture() == hwnd)
                ReleaseCapture();
        }
        MouseMessage(&c, m, button.Button, button.Down, button.Double);
        m.Result = r;
        return true;
    }

    // A pressed windowless control keeps the mouse; otherwise the one under it gets the move.
    static bool MouseMove(TWinControl& c, TMessage& m) {
        const TPoint p = msg::Point(m);
        const TShiftState shift = MouseShiftState(msg::MouseKeys(m));
        SetHotControl(c, c.GraphicControlAt(p));
        TControl* g = (g_mouseControl && g_mouseControl->Parent() == &c) ? g_mouseControl : c.GraphicControlAt(p);
        if (g)
            g->MouseMove(shift, p.X - g->Left(), p.Y - g->Top());
        else
            c.MouseMove(shift, p.X, p.Y);
        return false;
    }

    // The mouse left the window: the windowless child it was over hears of it.
    static bool MouseLeave(TWinControl& c, TMessage&) {
        if (g_hotControl && g_hotControl->Parent() == &c) SetHotControl(c, nullptr);
        return false;
    }

    static bool ContextMenu(TWinControl& c, TMessage& m) {
        if (!c.PopupMenu || msg::ContextWindow(m) != static_cast<HWND>(m.Wnd)) return false;
        POINT p{msg::Point(m).X, msg::Point(m).Y};
        if (msg::FromKeyboard({p.x, p.y})) GetCursorPos(&p);
        c.PopupMenu->PopupComponent = &c;
        c.PopupMenu->Popup(p.x, p.y);
        m.Result = 0;
        return true;
    }

    static bool SetFocus(TWinControl& c, TMessage&) {
        if (TCustomForm* form = GetParentForm(&c)) form->FocusChanged(&c);
        if (!c.Destroying()) Fire(c.OnEnter, &c);
        return false;
    }

    static bool KillFocus(TWinControl& c, TMessage&) {
        if (!c.Destroying()) Fire(c.OnExit, &c);
        return false;
    }

    // The window moved or changed size by itself: the control takes the new place (a child's place in its
    // parent's client area) without moving the window back, and aligns its children after a new size.
    static bool SizeOrMove(TWinControl& c, TMessage& m) {
        const HWND hwnd = static_cast<HWND>(m.Wnd);
        if (c.systemClass_ || c.creating_) return false;
        const bool sized = m.Msg == WM_SIZE;
        if (!sized && (c.parent_ || IsIconic(hwnd))) return false;
        RECT r{};
        GetWindowRect(hwnd, &r);
        // A child's place is in its parent's client area (an MDI child has no parent control but is a child).
        if (HWND p = GetParent(hwnd); p && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD))
            MapWindowPoints(HWND_DESKTOP, p, reinterpret_cast<POINT*>(&r), 2);
        if (!IsIconic(hwnd)) {
            c.fromWindow_ = true;
            c.SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
            c.fromWindow_ = false;
        }
        if (sized) c.AlignControls();
        return false;
    }

    // The layer's own windows paint their background in the control's colour, then themselves.
    static bool EraseBackground(TWinControl& c, TMessage& m) {
        if (c.systemClass_) return false;
        FillClient(c, m);
        m.Result = 1;
        return true;
    }

    // A DC in wParam (a child painting its parent's background under itself) is painted into as it is.
    static bool Paint(TWinControl& c, TMessage& m) {
        if (c.systemClass_) return false;
        if (HDC given = msg::PaintDcOf(m)) {
            PaintOwn(&c, given);
            m.Result = 0;
            return true;
        }
        PaintDc dc(static_cast<HWND>(m.Wnd));
        PaintOwn(&c, dc.Get());
        m.Result = 0;
        return true;
    }

    static bool PrintClient(TWinControl& c, TMessage& m) {
        if (c.systemClass_) return false;
        FillClient(c, m);
        PaintOwn(&c, msg::PaintDcOf(m));
        m.Result = 0;
        return true;
    }

    static void FillClient(TWinControl& c, const TMessage& m) {
        RECT r;
        GetClientRect(static_cast<HWND>(m.Wnd), &r);
        FillRect(msg::PaintDcOf(m), &r, BrushOf(&c, c.brushHandle_));
    }
};

TWinControlMessages::Handler TWinControlMessages::For(unsigned message) {
    switch (message) {
    case WM_COMMAND: return Command;
    case WM_NOTIFY:
    case WM_DRAWITEM: return Reflect;
    case WM_HSCROLL:
    case WM_VSCROLL: return ReflectScroll;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return CtlColor;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return KeyDown;
    case WM_CHAR: return Char;
    case WM_SYSCHAR: return SysChar;
    case WM_KEYUP:
    case WM_SYSKEYUP: return KeyUp;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: return MouseButton;
    case WM_MOUSEMOVE: return MouseMove;
    case WM_MOUSELEAVE: return MouseLeave;
    case WM_CONTEXTMENU: return ContextMenu;
    case WM_SETFOCUS: return SetFocus;
    case WM_KILLFOCUS: return KillFocus;
    case WM_SIZE:
    case WM_MOVE: return SizeOrMove;
    case WM_ERASEBKGND: return EraseBackground;
    case WM_PAINT: return Paint;
    case WM_PRINTCLIENT: return PrintClient;
    default: return nullptr;
    }
}

void TWinControl::WndProc(TMessage& m) {
    if (const auto handler = TWinControlMessages::For(m.Msg); handler && handler(*this, m)) return;
    DefaultHandler(m);
}

}  // namespace kes
