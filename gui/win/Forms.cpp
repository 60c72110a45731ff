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
    if (menu_) {
        ::SetMenu(h, static_cast<HMENU>(menu_->Handle()));
        menu_->windowHandle_ = h;
    }
    // The frame may differ from the guess (menu bar wrapping): keep the stored client size honest.
}

void TCustomForm::DestroyWnd() {
    // The menu outlives the window (it may be shown again by a new window).
    if (handle_ && menu_) {
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
    if (handle_) ShowWindow(static_cast<HWND>(handle_), SW_HIDE);
    PostMessageA(u, kReleaseMessage, 0, reinterpret_cast<LPARAM>(this));
}

namespace {

// Owner-drawn menu items ask their OnMeasureItem/OnDrawItem; false when the item has none.
bool MeasureMenuItem(HWND hwnd, MEASUREITEMSTRUCT& mi) {
    if (mi.CtlType != ODT_MENU) return false;
    TMenuItem* item = TMenuItem::FindByCommand(static_cast<int>(mi.itemID));
    if (!item || !item->OnMeasureItem) return false;
    WindowDc dc(hwnd);
    TCanvas canvas(dc.Get());
    int w = static_cast<int>(mi.itemWidth), h = static_cast<int>(mi.itemHeight);
    item->OnMeasureItem(item, canvas, w, h);
    mi.itemWidth = static_cast<UINT>(std::max(0, w));
    mi.itemHeight = static_cast<UINT>(std::max(0, h));
    return true;
}

bool DrawMenuItem(const DRAWITEMSTRUCT& di) {
    if (di.CtlType != ODT_MENU) return false;
    TMenuItem* item = TMenuItem::FindByCommand(static_cast<int>(di.itemID));
    if (!item || !item->OnDrawItem) return false;
    TCanvas canvas(di.hDC);
    item->OnDrawItem(item, canvas, ToTRect(di.rcItem), (di.itemState & ODS_SELECTED) != 0);
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

}  // namespace kes
