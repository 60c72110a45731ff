// The skinned edit, up-down and date picker.
#include "skin/controls/inputs/win/SkinEdit.h"

#include <optional>

#include "gui/win/MsgCrack.h"
#include "gui/win/WindowSubclass.h"
#include "skin/controls/InputGeometry.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/draw/win/SkinObjectDraw.h"
#include "skin/draw/win/SkinText.h"
#include "skin/frame/win/WinSkinForm.h"

namespace kes {

namespace {

constexpr TColor kWhite = static_cast<TColor>(0xFFFFFF);

PixelRect ToPixel(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
TRect ToT(const PixelRect& r) { return Rect(r.Left, r.Top, r.Right, r.Bottom); }

void FrameColour(HDC dc, const TRect& r, TColor colour) {
    UniqueGdi<HBRUSH> b(CreateSolidBrush(ColorToRGB(colour)));
    const RECT rc = ToRECT(r);
    FrameRect(dc, &rc, b.Get());
}

TRect Shrink(const TRect& r, int by) { return Rect(r.Left + by, r.Top + by, r.Right - by, r.Bottom - by); }

bool WindowHasBorder(HWND window, const TRect& rect) {
    RECT client;
    GetClientRect(window, &client);
    return HasSkinBorder(rect.Width(), rect.Height(), client.right, client.bottom);
}

std::string LowerClassName(HWND window) {
    char name[101] = {};
    GetClassNameA(window, name, 100);
    std::string cls = name;
    for (char& c : cls)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return cls;
}

}  // namespace

void DrawSmallArrow(HDC dc, int x, int y, int part) {
    auto line = [dc](int x1, int y1, int x2, int y2) {
        MoveToEx(dc, x1, y1, nullptr);
        LineTo(dc, x2, y2);
    };
    switch (part) {
    case 0:  // up: apex at y - 1, base 7 wide at y + 3
        for (int i = 0; i < 4; ++i) line(x - i, y - 1 + i, x + i + 1, y - 1 + i);
        break;
    case 1:  // down: base 7 wide at y, apex at y + 3
        for (int i = 0; i < 4; ++i) line(x - 3 + i, y + i, x + 4 - i, y + i);
        break;
    case 2:  // left: apex one pixel left of x, 5 tall
        for (int i = 0; i < 3; ++i) line(x - 1 + i, y - i, x - 1 + i, y + i + 1);
        break;
    case 3:  // right
        for (int i = 0; i < 3; ++i) line(x + 1 - i, y - i, x + 1 - i, y + i + 1);
        break;
    default: break;
    }
}

// ---- edit ----

void TSkinEdit::DrawControl(HDC dc, const TRect& rect) {
    if (!skin_ || !window_) return;
    if (InSet(skin_->SkinControls, xcSpin) && !upDown_) SkinEmbeddedUpDown();
    if (!WindowHasBorder(window_, rect)) return;
    FrameColour(dc, rect, ColourOf(SkinColour::ButtonShadow));
    FrameColour(dc, Shrink(rect, 1), kWhite);
    FrameColour(dc, Shrink(rect, 2), kWhite);
}

void TSkinEdit::SkinEmbeddedUpDown() {
    for (HWND c = GetTopWindow(window_); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsUpDownClass(LowerClassName(c))) continue;
        auto* upDown = new TSkinUpDown(this);
        upDown->Embedded = true;
        upDown->SetKind(SkinKind::UpDown);
        upDown->AttachWindow(c, skin_, form_);
        upDown_ = upDown;
        return;
    }
}

void TSkinEdit::PrintBorder(HDC given) {
    std::optional<WindowDc> own;
    if (!given) own.emplace(window_, true);
    HDC dc = given ? given : own->Get();
    if (!dc) return;
    RECT wr, client;
    GetWindowRect(window_, &wr);
    GetClientRect(window_, &client);
    const TRect r = Rect(0, 0, wr.right - wr.left, wr.bottom - wr.top);
    if (HasPrintBorder(r.Width(), r.Height(), client.right, client.bottom)) {
        const RECT inner = ToRECT(Shrink(r, 1));
        FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
        FrameColour(dc, r, ColourOf(SkinColour::ButtonShadow));
    }
}

void TSkinEdit::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: PaintWindow(m.WParam); break;
    // The edit draws its own edge again when its frame is painted: the skin's goes back over it.
    case WM_NCPAINT: PaintWindow(0); break;
    case WM_PRINT: PrintBorder(msg::PaintDcOf(m)); break;
    case SKM_PAINTCLIENT:
        if (m.LParam != SKIN_MAGIC) break;
        if (m.WParam) {
            TMessage paint{m.Wnd, WM_PAINT, m.WParam, 0, 0};
            CallPrevious(paint);
        }
        m.Result = SKIN_MAGIC;
        break;
    default: TSkinControl::AfterMessage(m); break;
    }
}

// ---- up-down ----

bool TSkinUpDown::BeforeMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: HandlePaint(m); return false;
    case WM_ERASEBKGND:
        if (!control_) {
            RECT cr;
            GetClientRect(window_, &cr);
            FillRectColour(msg::PaintDcOf(m), ToTRect(cr), kWhite);
        }
        m.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallPrevious(m);
        mouse_ |= kMousePressed;
        PaintWindow(0);
        return false;
    case WM_LBUTTONUP:
        mouse_ &= static_cast<uint8_t>(~kMousePressed);
        CallPrevious(m);
        PaintWindow(0);
        return false;
    case WM_MOUSEMOVE:
        // The arrow under the mouse shows hot; each move may cross from one arrow to the other.
        if (!(mouse_ & kMouseHot)) CallTrackMouseEvent(window_);
        mouse_ |= kMouseHot;
        CallPrevious(m);
        PaintWindow(0);
        return false;
    case WM_MOUSELEAVE:
        mouse_ &= static_cast<uint8_t>(~kMouseHot);
        CallPrevious(m);
        PaintWindow(0);
        return false;
    default: return TSkinControl::BeforeMessage(m);
    }
}

void TSkinUpDown::DrawControl(HDC dc, const TRect& given) {
    if (!skin_ || !window_) return;
    TRect rect = given;
    if (Embedded) {
        RECT cr;
        GetClientRect(window_, &cr);
        FillRectColour(dc, ToTRect(cr), kWhite);
        RECT own, parent;
        if (GetWindowRect(window_, &own) && GetWindowRect(GetParent(window_), &parent))
            rect = ToT(PullInside({rect.Left, rect.Top, rect.Right, rect.Bottom}, ToPixel(own), ToPixel(parent), 3));
    }
    const int w = rect.Width(), h = rect.Height();
    if (w <= 0 || h <= 0) return;
    SkinBitmap work(w, h);
    HDC mdc = work.Canvas().Handle();
    if (!mdc) return;
    FillRectColour(mdc, Rect(0, 0, w, h), ColourOf(SkinColour::ButtonFace));
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(window_, &cursor);
    cursor.x -= rect.Left;
    cursor.y -= rect.Top;
    const bool enabled = IsWindowEnabled(window_) != FALSE;
    const bool horizontal = (GetWindowLongPtrA(window_, GWL_STYLE) & UDS_HORZ) != 0;
    const TDataSkinBorder* image = horizontal ? skin_->UpDownHorz.get() : skin_->UpDownVert.get();
    for (const UpDownHalf& half : UpDownHalves(w, h, horizontal)) {
        const PixelRect& p = half.Rect;
        const bool inside = cursor.x >= p.Left && cursor.x < p.Right && cursor.y >= p.Top && cursor.y < p.Bottom;
        const int state = UpDownHalfState(inside, (mouse_ & kMousePressed) != 0, (mouse_ & kMouseHot) != 0, enabled);
        if (image && image->HasImage()) {
            const int frame = UpDownFrame(state, half.Part);
            DrawSkinFrame(mdc, ToT(p), image->Image, frame, 8, true);
            if (image->Image2.Width() > 0 && image->Image2.Height() > 0) {
                const int gw = image->Image2.Width() / 8, gh = image->Image2.Height();
                const int x = p.Left + (p.Width() - gw) / 2, y = p.Top + (p.Height() - gh) / 2;
                DrawSkinFrame(mdc, Rect(x, y, x + gw, y + gh), image->Image2, frame, 8, true);
            }
            continue;
        }
        UniqueGdi<HBRUSH> brush(CreateSolidBrush(
            ColorToRGB(ColourOf(state == 2 || state == 4 ? SkinColour::ButtonShadow : SkinColour::ButtonFace))));
        UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 1, ColorToRGB(ColourOf(SkinColour::ButtonDkShadow))));
        const HGDIOBJ oldBrush = SelectObject(mdc, brush.Get()), oldPen = SelectObject(mdc, pen.Get());
        Rectangle(mdc, p.Left, p.Top, p.Right, p.Bottom);
        const int cy = p.Top + p.Height() / 2 - (horizontal ? 0 : 2);
        DrawSmallArrow(mdc, p.Left + p.Width() / 2, cy, half.Part);
        SelectObject(mdc, oldPen);
        SelectObject(mdc, oldBrush);
    }
    BitBlt(dc, rect.Left, rect.Top, w, h, mdc, 0, 0, SRCCOPY);
}

// ---- date picker ----

// The button over the picker's own: a child window of the picker whose presses are handed to the picker.
class TArrowButton : public WindowSubclass {
public:
    explicit TArrowButton(TSkinDateTime& owner) : owner_(owner) {}
    ~TArrowButton() override {
        HWND w = Window();
        Detach();
        if (w) DestroyWindow(w);
    }
    void AttachToPicker(HWND picker) {
        picker_ = picker;
        width_ = GetSystemMetrics(SM_CXHSCROLL);
        RECT r;
        GetWindowRect(picker, &r);
        const int height = std::max(0, static_cast<int>(r.bottom - r.top) - 4);
        const bool left = (GetWindowLongPtrA(picker, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
        HWND w = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY,
                                 ArrowButtonLeft(r.right - r.left, width_, left), 0, width_, height, picker, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        if (!w) return;
        Attach(w);
        SetWindowLongPtrA(picker, GWL_STYLE, GetWindowLongPtrA(picker, GWL_STYLE) | WS_CLIPCHILDREN);
    }
    void UpdateLeft(const TRect& rect) {
        if (!Window()) return;
        const bool left = (GetWindowLongPtrA(picker_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
        RECT r;
        GetWindowRect(picker_, &r);
        const int height = std::max(0, static_cast<int>(r.bottom - r.top) - 4);
        const int x = ArrowButtonLeft(rect.Width(), width_, left);
        RECT now;
        GetWindowRect(Window(), &now);
        MapWindowPoints(nullptr, picker_, reinterpret_cast<POINT*>(&now), 2);
        if (now.left == x && now.top == 0 && now.right - now.left == width_ && now.bottom - now.top == height) return;
        SetWindowPos(Window(), nullptr, x, 0, width_, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void Refresh() {
        if (Window()) InvalidateRect(Window(), nullptr, FALSE);
    }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Window(), &ps);
            Paint(dc);
            EndPaint(Window(), &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_MOUSEMOVE:
            if (!hot_ && IsWindowEnabled(picker_)) {
                hot_ = true;
                CallTrackMouseEvent(Window());
                Refresh();
            }
            return 0;
        case WM_MOUSELEAVE:
            if (hot_) {
                hot_ = false;
                Refresh();
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            // The press goes to the picker's own button under this one: the picker opens its calendar itself.
            RECT r;
            GetWindowRect(Window(), &r);
            POINT at{static_cast<int16_t>(lp & 0xFFFF), static_cast<int16_t>((lp >> 16) & 0xFFFF)};
            MapWindowPoints(Window(), picker_, &at, 1);
            const LPARAM p = MAKELPARAM(at.x, at.y);
            PostMessageA(picker_, WM_LBUTTONDOWN, wp, p);
            PostMessageA(picker_, WM_LBUTTONUP, wp, p);
            Refresh();
            return 0;
        }
        case WM_LBUTTONUP: SetFocus(picker_); return 0;
        default: return DefaultProc(msg, wp, lp);
        }
    }

private:
    void Paint(HDC dc) {
        RECT r;
        GetWindowRect(picker_, &r);
        const TRect area = Rect(0, 0, width_, std::max(0, static_cast<int>(r.bottom - r.top) - 4));
        FillRectColour(dc, area,
                       owner_.Skin() ? static_cast<TColor>(owner_.Skin()->Colour(SkinColour::ButtonFace)) : clBtnFace);
        const TDataSkinObject* arrow = owner_.Skin() ? owner_.Skin()->ComboxArrow.get() : nullptr;
        if (arrow && arrow->HasImage())
            DrawSkinFrame(dc, area, arrow->Image, hot_ ? 4 : 1, arrow->Frame, arrow->Trans != 0);
    }

    TSkinDateTime& owner_;
    HWND picker_ = nullptr;
    int width_ = 0;
    bool hot_ = false;
};

TSkinDateTime::~TSkinDateTime() { arrow_.reset(); }

HWND TSkinDateTime::ArrowWindow() const { return arrow_ ? arrow_->Window() : nullptr; }

void TSkinDateTime::AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) {
    if (attached_) return;
    TSkinControl::AttachControl(form, skin, recolour);
    if (!attached_) return;
    arrow_ = std::make_unique<TArrowButton>(*this);
    arrow_->AttachToPicker(window_);
}

void TSkinDateTime::AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* form) {
    if (attached_) return;
    TSkinControl::AttachWindow(window, skin, form);
    if (!attached_) return;
    arrow_ = std::make_unique<TArrowButton>(*this);
    arrow_->AttachToPicker(window_);
}

void TSkinDateTime::Unskin() {
    if (!active_) return;
    TSkinControl::Unskin();
    arrow_.reset();
}

void TSkinDateTime::AfterMessage(TMessage& m) {
    if (m.Msg == WM_SIZE && arrow_) arrow_->Refresh();
    TSkinControl::AfterMessage(m);
}

void TSkinDateTime::DrawControl(HDC dc, const TRect& rect) {
    if (!skin_ || !window_) return;
    if (arrow_) arrow_->UpdateLeft(rect);
    if (!WindowHasBorder(window_, rect)) return;
    FrameColour(dc, rect, ColourOf(SkinColour::ButtonShadow));
    FrameColour(dc, Shrink(rect, 1), kWhite);
}

// ---- registration ----

template <typename T>
static TSkinControl* MakeKind(TComponent* owner, const ControlDecision&) {
    return new T(owner);
}

static const bool registered = [] {
    RegisterSkinController(SkinKind::Edit, MakeKind<TSkinEdit>);
    RegisterSkinController(SkinKind::UpDown, MakeKind<TSkinUpDown>);
    RegisterSkinController(SkinKind::DateTime, MakeKind<TSkinDateTime>);
    return true;
}();

}  // namespace kes

extern "C" {
int kes_skin_edit_anchor = 0;
}
