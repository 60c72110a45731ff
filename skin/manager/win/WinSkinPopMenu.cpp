#include "skin/manager/win/WinSkinPopMenu.h"

#include "skin/manager/win/SkinManage.h"
#include "skin/draw/win/SkinObjectDraw.h"
#include "skin/frame/win/WinSkinForm.h"

namespace kes {

namespace {

// Width of the frame that the background shows around the items.
constexpr int kPrintFrame = 3;

bool ManagerActive() {
    TSkinManage* m = SkinManage();
    return m && m->Active();
}

}  // namespace

TWinSkinPopMenu::~TWinSkinPopMenu() { Detach(); }

void TWinSkinPopMenu::Attach(HWND window, TSkinData* skin, std::uintptr_t ownerKey) {
    if (Attached() || !WindowSubclass::Attach(window)) return;
    window_ = window;
    skin_ = skin;
    OwnerKey = ownerKey;
    MenusFlag = false;
}

void TWinSkinPopMenu::Detach() {
    WindowSubclass::Detach();
    background_.reset();
}

const TDataSkinObject* TWinSkinPopMenu::MenuImage() const {
    if (!skin_ || skin_->NoSkin()) return nullptr;
    const TDataSkinObject* o = skin_->MenuBackground.get();
    return o && o->HasImage() ? o : nullptr;
}

bool TWinSkinPopMenu::Compose(int width, int height) {
    const TDataSkinObject* o = MenuImage();
    if (!o || width <= 0 || height <= 0) return false;
    if (background_ && background_->Width() == width && background_->Height() == height) return true;
    auto composed =
        StretchSkinImage(TRect{0, 0, width, height}, o->Image, MarginsOf(*o), 1, o->Frame, o->Tile != 0, false);
    if (!composed) return false;
    background_ = std::move(composed);
    return true;
}

LRESULT TWinSkinPopMenu::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == SKM_ISSKINNED) return 1;
    if (!ManagerActive()) return DefaultProc(msg, wp, lp);
    switch (msg) {
    case WM_DESTROY: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        Detach();
        return r;
    }
    case WM_ERASEBKGND:
        if (!(SkinOSVersion() & 0x80000000u)) {
            if (!InSet(skin_->Options, xoMenuBG)) DefaultProc(msg, wp, lp);
            return 1;
        }
        return 0;
    case WM_NCPAINT: return PaintFrame(wp, lp);
    case WM_PAINT: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        PaintFrameInside();
        return r;
    }
    case WM_PRINT: return PrintPaint(wp, lp);
    default: return DefaultProc(msg, wp, lp);
    }
}

LRESULT TWinSkinPopMenu::PaintFrame(WPARAM wp, LPARAM lp) {
    RECT r{};
    if (wp != 1 || !MenuImage() || !GetWindowRect(window_, &r)) return DefaultProc(WM_NCPAINT, wp, lp);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!Compose(w, h)) return DefaultProc(WM_NCPAINT, wp, lp);
    WindowDc dc(window_, true);
    BitBlt(dc.Get(), 0, 0, w, h, background_->Canvas().Handle(), 0, 0, SRCCOPY);
    return 0;
}

void TWinSkinPopMenu::PaintFrameInside() {
    RECT window{}, client{};
    if (!MenuImage() || !GetWindowRect(window_, &window) || !GetClientRect(window_, &client)) return;
    const int w = window.right - window.left, h = window.bottom - window.top;
    // Only a menu window without a non-client border draws its border itself.
    if (client.right != w || client.bottom != h || !Compose(w, h)) return;
    WindowDc dc(window_, true);
    const int saved = SaveDC(dc.Get());
    ExcludeClipRect(dc.Get(), kPrintFrame, kPrintFrame, w - kPrintFrame, h - kPrintFrame);
    BitBlt(dc.Get(), 0, 0, w, h, background_->Canvas().Handle(), 0, 0, SRCCOPY);
    RestoreDC(dc.Get(), saved);
}

LRESULT TWinSkinPopMenu::PrintPaint(WPARAM wp, LPARAM lp) {
    auto dc = reinterpret_cast<HDC>(wp);
    RECT r{};
    if (!dc || !MenuImage() || !GetWindowRect(window_, &r)) return DefaultProc(WM_PRINT, wp, lp);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!Compose(w, h)) return DefaultProc(WM_PRINT, wp, lp);
    BitBlt(dc, 0, 0, w, h, background_->Canvas().Handle(), 0, 0, SRCCOPY);
    // The items go on top, inside the frame; the caller's clipping and mode come back afterwards.
    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    IntersectClipRect(dc, kPrintFrame, kPrintFrame, w - kPrintFrame, h - kPrintFrame);
    const LRESULT result = DefaultProc(WM_PRINT, wp, lp);
    RestoreDC(dc, saved);
    return result;
}

}  // namespace kes
