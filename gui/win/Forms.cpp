// The window half of forms: frame styles, showing, the modal loop, activation, close box, menu messages.
#include "gui/Forms.h"

#include <algorithm>

#include "base/Exception.h"
#include "gui/HintWindow.h"
#include "gui/Menus.h"
#include "gui/win/Canvas.h"
#include "gui/win/MsgCrack.h"
#include "gui/win/Win.h"

namespace kes {

namespace {

// The item of an owner-drawn menu message: one with a draw or measure handler, or any item of an owner-drawn
// menu (drawn by itself then).
TMenuItem* OwnerDrawnItem(UINT ctlType, UINT itemId) {
    if (ctlType != ODT_MENU) return nullptr;
    TMenuItem* item = TMenuItem::FindByCommand(static_cast<int>(itemId));
    if (!item) return nullptr;
    TMenu* menu = item->GetParentMenu();
    return item->OnDrawItem || item->OnMeasureItem || (menu && menu->OwnerDraw()) ? item : nullptr;
}

constexpr UINT kReleaseMessage = WM_APP + 0x3F1;

// A hidden window that frees released forms once the messages being handled are done.
HWND ReleaseWindow() {
    static HWND hwnd = AllocateHWnd([](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg != kReleaseMessage) return DefWindowProcA(wnd, msg, wp, lp);
        auto* form = reinterpret_cast<TCustomForm*>(lp);
        for (int i = 0; i < Screen().FormCount(); ++i)
            if (Screen().Forms(i) == form) {
                delete form;
                break;
            }
        return 0;
    });
    return hwnd;
}

DWORD FrameStyle(TFormBorderStyle b) {
    switch (b) {
    case bsNone: return WS_POPUP;
    case bsSingle: return WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_BORDER;
    case bsDialog: return WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    case bsToolWindow: return WS_CAPTION | WS_SYSMENU | WS_BORDER;
    case bsSizeToolWin: return WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    case bsSizeable:
    default: return WS_OVERLAPPEDWINDOW;
    }
}

DWORD FrameExStyle(TFormBorderStyle b, TFormStyle fs) {
    DWORD ex = 0;
    if (b == bsDialog) ex |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    if (b == bsToolWindow || b == bsSizeToolWin) ex |= WS_EX_TOOLWINDOW;
    if (fs == fsStayOnTop) ex |= WS_EX_TOPMOST;
    return ex;
}

}  // namespace

void TCustomForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style = FrameStyle(borderStyle_) | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (!enabled_) p.Style |= WS_DISABLED;
    p.ExStyle = FrameExStyle(borderStyle_, formStyle_);
    if (parent_) p.Style = (p.Style & ~WS_POPUP) | WS_CHILD;
    if (formStyle_ == fsMDIChild && !parent_) {
        // Made inside the client of its owner when that is an MDI frame, else of the main form, which must be one.
        auto* frame = dynamic_cast<TCustomForm*>(Owner());
        if (!frame || frame->FormStyle() != fsMDIForm) frame = Screen().MainForm;
        if (!frame || frame == this || frame->FormStyle() != fsMDIForm) throw Exception("No MDI frame for an MDI child");
        frame->HandleNeeded();
        p.Style = (p.Style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        p.ExStyle |= WS_EX_MDICHILD;
        p.WndParent = frame->ClientHandle();
    }
}

namespace {
// The MDI children inside a frame's client, in the order the screen lists the forms.
std::vector<TCustomForm*> ChildrenIn(void* client) {
    std::vector<TCustomForm*> out;
    if (!client) return out;
    for (int i = 0; i < Screen().FormCount(); ++i) {
        TCustomForm* f = Screen().Forms(i);
        if (f->FormStyle() == fsMDIChild && f->HandleAllocated() &&
            GetParent(static_cast<HWND>(f->WindowHandle())) == static_cast<HWND>(client))
            out.push_back(f);
    }
    return out;
}
}  // namespace

int TCustomForm::MDIChildCount() const { return static_cast<int>(ChildrenIn(clientHandle_).size()); }

TCustomForm* TCustomForm::MDIChildren(int index) const {
    const std::vector<TCustomForm*> children = ChildrenIn(clientHandle_);
    return index >= 0 && index < static_cast<int>(children.size()) ? children[static_cast<size_t>(index)] : nullptr;
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
    if (!clientHandle_) return nullptr;
    const LRESULT active = SendMessageA(static_cast<HWND>(clientHandle_), WM_MDIGETACTIVE, 0, 0);
    return dynamic_cast<TCustomForm*>(FindControl(reinterpret_cast<HWND>(active)));
}

void TCustomForm::Tile() {
    if (clientHandle_)
        SendMessageA(static_cast<HWND>(clientHandle_), WM_MDITILE,
                     TileMode == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}

void TCustomForm::Cascade() {
    if (clientHandle_) SendMessageA(static_cast<HWND>(clientHandle_), WM_MDICASCADE, 0, 0);
}

void TCustomForm::UpdateMDIMenu(TCustomForm* active) {
    if (formStyle_ != fsMDIForm || !clientHandle_ || !handle_) return;
    TMainMenu* menu = active && active->Menu() ? active->Menu() : menu_;
    void* want = menu ? menu->Handle() : nullptr;
    if (!want || want == mdiMenu_) return;
    mdiMenu_ = want;
    SendMessageA(static_cast<HWND>(clientHandle_), WM_MDISETMENU, reinterpret_cast<WPARAM>(want), 0);
    DrawMenuBar(static_cast<HWND>(handle_));
}

void TCustomForm::DefaultHandler(TMessage& m) {
    const HWND h = static_cast<HWND>(m.Wnd);
    if (formStyle_ == fsMDIForm && clientHandle_)
        m.Result = DefFrameProcA(h, static_cast<HWND>(clientHandle_), m.Msg, m.WParam, m.LParam);
    else if (formStyle_ == fsMDIChild && !parent_)
        m.Result = DefMDIChildProcA(h, m.Msg, m.WParam, m.LParam);
    else
        TScrollingWinControl::DefaultHandler(m);
}

void TCustomForm::CreateWnd() {
    HWND h = static_cast<HWND>(handle_);
    InstallHintManager();
    if (Screen().MainForm == this) {
        if (Application) Application->MainFormHandle = h;
        if (!Screen().OnTerminate)
            Screen().OnTerminate = [] {
                if (Application)
                    Application->Terminate();
                else
                    PostQuitMessage(0);
            };
    }
    const bool mdiChild = formStyle_ == fsMDIChild && !parent_;
    // An MDI child's menu shows in its frame's bar while the child is active.
    if (menu_ && !mdiChild) {
        ::SetMenu(h, static_cast<HMENU>(menu_->Handle()));
        menu_->windowHandle_ = h;
        mdiMenu_ = menu_->Handle();
    }
    if (formStyle_ == fsMDIForm && !clientHandle_) {
        CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
        RECT cr;
        GetClientRect(h, &cr);
        clientHandle_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL,
                                        0, 0, cr.right, cr.bottom, h, nullptr, GetModuleHandleA(nullptr), &ccs);
    }
    // The frame may differ from the guess (menu bar wrapping): keep the stored client size honest.
}

void TCustomForm::DestroyWnd() {
    clientHandle_ = nullptr;  // it goes with the window
    mdiMenu_ = nullptr;
    // The menu outlives the window (it may be shown again by a new window).
    if (handle_ && menu_ && !(formStyle_ == fsMDIChild && !parent_)) {
        ::SetMenu(static_cast<HWND>(handle_), nullptr);
        menu_->windowHandle_ = nullptr;
    }
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu == menu_) return;
    if (menu_ && handle_) {
        ::SetMenu(static_cast<HWND>(handle_), nullptr);
        menu_->windowHandle_ = nullptr;
    }
    menu_ = menu;
    if (menu_ && handle_) {
        ::SetMenu(static_cast<HWND>(handle_), static_cast<HMENU>(menu_->Handle()));
        menu_->windowHandle_ = handle_;
        DrawMenuBar(static_cast<HWND>(handle_));
    }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle s) {
    if (s == borderStyle_) return;
    borderStyle_ = s;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle s) {
    if (s == formStyle_) return;
    formStyle_ = s;
    if (handle_)
        SetWindowPos(static_cast<HWND>(handle_), s == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::WindowState() const {
    if (!handle_) return windowState_;
    HWND h = static_cast<HWND>(handle_);
    return IsIconic(h) ? wsMinimized : IsZoomed(h) ? wsMaximized : wsNormal;
}

void TCustomForm::SetWindowState(TWindowState s) {
    windowState_ = s;
    if (!handle_ || !visible_) return;
    ShowWindow(static_cast<HWND>(handle_), s == wsMinimized   ? SW_MINIMIZE
                                           : s == wsMaximized ? SW_MAXIMIZE
                                                              : SW_RESTORE);
}

TRect TCustomForm::ScreenWorkArea() {
    RECT r{0, 0, 1024, 768};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return ToTRect(r);
}

bool TCustomForm::Active() const { return handle_ && GetActiveWindow() == static_cast<HWND>(handle_); }

TRect TCustomForm::ClientRect() const {
    if (handle_) return TWinControl::ClientRect();
    TCreateParams p;
    const_cast<TCustomForm*>(this)->CreateParams(p);
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, p.Style, menu_ != nullptr, p.ExStyle);
    return Rect(0, 0, std::max(0, width_ - static_cast<int>(r.right - r.left)),
                std::max(0, height_ - static_cast<int>(r.bottom - r.top)));
}

void TCustomForm::SetClientSize(int w, int h) {
    const TRect c = ClientRect();
    SetBounds(left_, top_, width_ + (w - c.Width()), height_ + (h - c.Height()));
}

void TCustomForm::VisibleChanged() {
    if (visible_) {
        HandleNeeded();
        HWND h = static_cast<HWND>(handle_);
        DoShowChange(true);
        if (!visible_) return;  // OnShow hid it again
        ShowWindow(h, windowState_ == wsMinimized   ? SW_SHOWMINIMIZED
                      : windowState_ == wsMaximized ? SW_SHOWMAXIMIZED
                                                    : SW_SHOWNORMAL);
        if (formStyle_ == fsMDIChild && !parent_)
            SendMessageA(GetParent(h), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(h), 0);
        else
            SetForegroundWindow(h);
        if (activeControl_ && activeControl_->CanFocus())
            ::SetFocus(static_cast<HWND>(activeControl_->Handle()));
        else if (TWinControl* first = FindNextControl(nullptr, true, true))
            first->SetFocus();
    } else if (handle_) {
        ShowWindow(static_cast<HWND>(handle_), SW_HIDE);
        DoShowChange(false);
    }
}

int TCustomForm::ShowModal() {
    if (visible_ || modal_) throw Exception("Cannot make a visible window modal");
    modal_ = true;
    modalResult_ = mrNone;
    HWND prevActive = GetActiveWindow();
    std::vector<HWND> disabled;
    for (int i = 0; i < Screen().FormCount(); ++i) {
        TCustomForm* f = Screen().Forms(i);
        if (f == this || !f->HandleAllocated()) continue;
        HWND h = static_cast<HWND>(f->WindowHandle());
        if (IsWindowVisible(h) && IsWindowEnabled(h)) {
            EnableWindow(h, FALSE);
            disabled.push_back(h);
        }
    }
    struct Restore {
        TCustomForm* self;
        std::vector<HWND>& disabled;
        HWND prev;
        ~Restore() {
            for (HWND h : disabled)
                if (IsWindow(h)) EnableWindow(h, TRUE);
            self->modal_ = false;
            if (self->handle_) self->Hide();
            if (prev && IsWindow(prev)) SetActiveWindow(prev);
        }
    } restore{this, disabled, prevActive};
    ShowForm();
    MSG msg;
    for (;;) {
        if (modalResult_ != mrNone) {
            // The form may refuse to close (OnCloseQuery) or keep itself open (caNone).
            TCloseAction action = caNone;
            if (CloseQuery()) {
                action = caHide;
                Fire(OnClose, this, action);
            }
            if (action != caNone) break;
            modalResult_ = mrNone;
        }
        if (Application) {
            // The application's loop, so that its message filters see the modal form's messages too.
            try {
                Application->HandleMessage();
            } catch (const std::exception& e) {
                Application->HandleException(e);
            }
            if (Application->Terminated()) {
                modalResult_ = mrCancel;
                break;
            }
        } else {
            const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                modalResult_ = mrCancel;
                break;
            }
            if (got < 0) break;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (!visible_ && modalResult_ == mrNone) modalResult_ = mrCancel;
    }
    return modalResult_;
}

void TCustomForm::Release() {
    HWND u = ReleaseWindow();
    // An MDI child stays shown until its client takes it away (hiding one would leave its client's state behind).
    if (handle_ && formStyle_ != fsMDIChild) ShowWindow(static_cast<HWND>(handle_), SW_HIDE);
    PostMessageA(u, kReleaseMessage, 0, reinterpret_cast<LPARAM>(this));
}

namespace {

// Owner-drawn menu items: measured and drawn by their OnMeasureItem/OnDrawItem, or by themselves when their
// menu is owner-drawn and they have none; false for other items. The canvas starts in the menu font.
bool MeasureMenuItem(HWND hwnd, MEASUREITEMSTRUCT& mi) {
    TMenuItem* item = OwnerDrawnItem(mi.CtlType, mi.itemID);
    if (!item) return false;
    WindowDc dc(hwnd);
    TCanvas canvas(dc.Get());
    canvas.Font().Assign(Screen().MenuFont());
    int w = static_cast<int>(mi.itemWidth), h = static_cast<int>(mi.itemHeight);
    item->MeasureItem(canvas, w, h);
    mi.itemWidth = static_cast<UINT>(std::max(0, w));
    mi.itemHeight = static_cast<UINT>(std::max(0, h));
    return true;
}

bool DrawMenuItem(const DRAWITEMSTRUCT& di) {
    TMenuItem* item = OwnerDrawnItem(di.CtlType, di.itemID);
    if (!item) return false;
    TCanvas canvas(di.hDC);
    canvas.Font().Assign(Screen().MenuFont());
    item->DrawItem(canvas, ToTRect(di.rcItem), (di.itemState & ODS_SELECTED) != 0);
    return true;
}

}  // namespace

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        m.Result = 0;
        return;
    case WM_ACTIVATE:
        if (msg::Deactivated(m)) {
            if (!Destroying()) Fire(OnDeactivate, this);
            break;
        }
        if (!Destroying()) Fire(OnActivate, this);
        if (activeControl_ && activeControl_->HandleAllocated() && activeControl_->CanFocus() &&
            !msg::ActivatedMinimized(m)) {
            ::SetFocus(static_cast<HWND>(activeControl_->WindowHandle()));
            m.Result = 0;
            return;
        }
        break;
    case WM_MDIACTIVATE:
        // To the child that loses and to the one that gets the activation (lParam).
        TScrollingWinControl::WndProc(m);
        if (auto* frame = dynamic_cast<TCustomForm*>(FindControl(GetParent(GetParent(static_cast<HWND>(m.Wnd))))))
            frame->UpdateMDIMenu(dynamic_cast<TCustomForm*>(FindControl(reinterpret_cast<HWND>(m.LParam))));
        return;
    case WM_INITMENUPOPUP:
        if (menu_ && !msg::IsWindowMenu(m))
            if (TMenuItem* item = menu_->FindItemByHandle(msg::PopupMenu(m))) item->Click();
        break;
    case WM_MEASUREITEM:
        if (MeasureMenuItem(static_cast<HWND>(m.Wnd), msg::MeasureItem(m))) {
            m.Result = TRUE;
            return;
        }
        break;
    case WM_DRAWITEM:
        if (DrawMenuItem(msg::DrawItem(m))) {
            m.Result = TRUE;
            return;
        }
        break;
    default: break;
    }
    TScrollingWinControl::WndProc(m);
}

TFont& TScreen::MenuFont() {
    if (!menuFontRead_) {
        menuFontRead_ = true;
        NONCLIENTMETRICSA ncm{};
        ncm.cbSize = sizeof ncm;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
            const LOGFONTA& lf = ncm.lfMenuFont;
            menuFont_.SetName(lf.lfFaceName);
            menuFont_.SetHeight(static_cast<int>(lf.lfHeight));
            menuFont_.SetStyle((lf.lfWeight >= FW_BOLD ? fsBold : 0u) | (lf.lfItalic ? fsItalic : 0u) |
                               (lf.lfUnderline ? fsUnderline : 0u) | (lf.lfStrikeOut ? fsStrikeOut : 0u));
        }
        menuFont_.SetColor(clMenuText);
    }
    return menuFont_;
}

}  // namespace kes
