#pragma once
// The state of a skinned window frame shared by its message handling (WinSkinForm.cpp) and its painting and
// region (WinSkinFormPaint.cpp). Private to the frame.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/win/Timer.h"
#include "base/win/Unique.h"
#include "gui/win/WindowSubclass.h"
#include "skin/frame/FrameLayout.h"
#include "skin/data/SkinData.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/frame/win/SkinMenuItems.h"
#include "skin/frame/win/WinSkinMenu.h"
#include "skin/frame/win/WinSkinForm.h"

namespace kes {

// The skin manager, or a stand-in that keeps its states for a window skinned without one.
SkinFormHost& Host();

constexpr int kTimerInterval = 250;

// A region of the engine, counted, until it is deleted or handed to a window.
class SkinRegion {
public:
    explicit SkinRegion(HRGN r = nullptr) : rgn_(r) {
        if (rgn_) SkinGdiMade(SkinGdiKind::Region);
    }
    ~SkinRegion() { Reset(); }
    SkinRegion(const SkinRegion&) = delete;
    SkinRegion& operator=(const SkinRegion&) = delete;
    HRGN Get() const { return rgn_.Get(); }
    void Reset() {
        if (!rgn_) return;
        rgn_.Reset();
        SkinGdiFreed(SkinGdiKind::Region);
    }
    // The window takes the region; after a successful call the system owns (and deletes) it, so it is let go
    // here without deleting; after a failed one it is still ours and deleted here.
    bool GiveTo(HWND window, bool redraw) {
        if (!rgn_) return false;
        if (!SetWindowRgn(window, rgn_.Get(), redraw)) {
            Reset();
            return false;
        }
        static_cast<void>(rgn_.Release());
        SkinGdiFreed(SkinGdiKind::Region);
        return true;
    }

private:
    UniqueGdi<HRGN> rgn_;
};

// GetWindowDC for non-client painting, counted.
class FrameDc {
public:
    explicit FrameDc(HWND w) : dc_(w, true) {
        if (dc_.Get()) SkinGdiMade(SkinGdiKind::Dc);
    }
    ~FrameDc() {
        if (dc_.Get()) SkinGdiFreed(SkinGdiKind::Dc);
    }
    HDC Get() const { return dc_.Get(); }

private:
    WindowDc dc_;
};

struct CaptionButton {
    const TDataSkinSysButton* Rec = nullptr;
    TRect Rect;  // window coordinates, set by painting
    bool Visible = false, Enabled = true;
    int State = 1;  // 1 normal, 2 pressed, 3 hot
    bool IsIcon() const { return Rec->Action == 3 || Rec->Action == 11; }
};

// The MDIClient child of a skinned MDI frame: no scroll bars of its own (unless the skin says so), the
// MDI-maximized state kept in step, and SKM_MDIREDRAW.
struct MdiClientSubclass : WindowSubclass {
    explicit MdiClientSubclass(TWinSkinForm& frame) : frame(frame) {}
    TWinSkinForm& frame;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

struct TWinSkinForm::Impl : WindowSubclass {
    explicit Impl(TWinSkinForm& f) : f(f) {}
    TWinSkinForm& f;

    FrameKinds kinds;
    FrameMetrics m;
    std::vector<CaptionButton> buttons;
    int hot = -1;
    // The caption button a left press began on, held (with the mouse captured) until the release; -1 for none.
    int pressed = -1;
    bool active = true;
    bool started = false;
    bool unicode = false;
    HMENU sysMenu = nullptr;
    int menuHeight = 0;  // the menu bar row of a window with a menu
    HWND mdiClient = nullptr;
    // The owner-drawn menu items and the system menu; the menu bar of a window with a menu.
    std::unique_ptr<SkinMenuItems> menuItems;
    std::unique_ptr<TWinSkinMenu> menuBar;
    std::unique_ptr<MdiClientSubclass> mdiSubclass;
    PixelBuffer icon;  // the window's icon on magenta, small-icon size
    TRect textRect;
    int widestRight = 0;
    TRect clientRect;
    // The frame composed for one size and state: the borders and the caption's background are drawn from the
    // skin's strips once; the caption's text and buttons go on again only when they changed. A paint is then one
    // copy of the image onto the window.
    struct FrameImage {
        std::unique_ptr<SkinBitmap> frame;    // at least window-sized; what lies inside the borders is never shown
        std::unique_ptr<SkinBitmap> caption;  // the caption strip without text and buttons
        int width = -1, height = -1;
        bool active = false, minimized = false;
        bool content = false;  // text and buttons below are on the frame
        std::wstring text;
        std::vector<int> buttons;  // per caption button: visible, enabled and state
        HICON appIcon = nullptr;   // the application's icon the icon button showed
    } frameImage;
    int sysFrameW = 0, sysFrameH = 0;
    int regionW = -1, regionH = -1;
    DWORD lastSysMenuTick = 0, dblClickTime = 500;
    UniqueGdi<HFONT> captionFont;
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
    bool ComposeFrame(int width, int height);
    // The skin's strips as bitmaps, made on first use and kept until the skin changes.
    std::unordered_map<const PixelBuffer*, std::unique_ptr<TBitmap>> strips;
    TBitmap* Strip(const PixelBuffer& image);
    void DropFrameImage() {
        frameImage = {};
        strips.clear();
    }
    void PaintBorderPart(HDC dc, int part, const TRect& r);
    std::wstring CaptionText() const;
    void PaintCaption(TCanvas& canvas, int width, const std::wstring& text);
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
    int HitTest(LRESULT defaultCode, POINT screen);
    // A press held on a caption button or a command button of the bar: the captured mouse's moves and release.
    bool HeldPress(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // The left button came up at a screen point: what the press began on acts if the release is over it too.
    // nc: a non-client release (answered as the frame's, or by the default handling).
    LRESULT Release(POINT screen, UINT msg, WPARAM wp, LPARAM lp, bool nc);
    void CancelPress();
    bool DialogChar(TMessage& m);
    bool KeyMenu(WPARAM wp, LPARAM lp, LRESULT& result);
    void DropMenus();

    // MDI (WinSkinFormMdi.cpp).
    bool savedMenuUpdate = true;  // the skin's MenuUpdate when an MDI frame was hooked
    // An MDI frame whose active child is maximized.
    bool ActiveChildMaximized() const;
    // The maximized child's buttons in an MDI frame's menu bar.
    void PaintMdiButtons(HDC dc);
    // Right-to-left: the left edge of the leftmost of those buttons, where the bar's own buttons end; else -1.
    int MdiButtonsLeft() const;
    // The MDI client changed the frame's menu (WM_MDISETMENU with a menu, or 0 for the same one).
    void MdiMenuSet(HMENU menu);
    // The MDI client took a child away.
    void MdiChildGone();
    // An MDI child's size changed from the state `before`.
    void MdiChildSized(int before);
    // A new window point from a screen point, as the caption buttons and the menu bar lie.
    TPoint WindowPoint(POINT screen) const;
};

inline const TDataSkinBorder& Part(TSkinData& s, int part) {
    switch (part) {
    case 1: return s.Left;
    case 2: return s.Right;
    case 3: return s.Top;
    default: return s.Bottom;
    }
}

}  // namespace kes
