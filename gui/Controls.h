#pragma once
// Controls: the tree of visual components. TControl holds what every control has (parent, place, docking,
// caption, colour, font, mouse events); TWinControl adds a window handle, child controls, keyboard events,
// focus, tab order and the chain of message handlers. State lives in the object; the platform files keep the
// window in step with it (win/) or stand in for the window where there is none (Headless.cpp).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Component.h"
#include "base/Events.h"
#include "gui/Graphics.h"
#include "gui/Layout.h"
#include "gui/TypInfo.h"

namespace kes {

class TCanvas;
class TCustomForm;
class TPopupMenu;
class TWinControl;

using TShiftState = unsigned;
enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
enum TMouseButton { mbLeft, mbRight, mbMiddle };
// Window borders; panels use only the first two.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
enum TBiDiMode { bdLeftToRight, bdRightToLeft };

using TKeyEvent = std::function<void(TObject* sender, uint16_t& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;  // key 0 drops the key
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;

// A window message as handlers see it (numbers and parameters are the platform's).
struct TMessage {
    void* Wnd = nullptr;
    unsigned Msg = 0;
    uintptr_t WParam = 0;
    intptr_t LParam = 0;
    intptr_t Result = 0;
    bool NextCalled = false;  // set by CallNextHandler
};
// Messages of the layer to a control's handler chain, beside the system's own (WM_ENABLE, WM_SHOWWINDOW,
// WM_SETFOCUS, WM_KILLFOCUS, WM_MOUSELEAVE).
enum : unsigned {
    // A child's WM_NOTIFY and WM_DRAWITEM, sent back to the child by its parent (the system's reflection numbers).
    OCM__BASE = 0x2000,
    OCM_DRAWITEM = OCM__BASE + 0x002B,
    OCM_HSCROLL = OCM__BASE + 0x0114,  // a scroll-bar control's own scroll messages
    OCM_VSCROLL = OCM__BASE + 0x0115,
    OCM_NOTIFY = OCM__BASE + 0x004E,
    // The mouse came over / left a windowless control (sent through its handler chain).
    CM_MOUSEENTER = 0xB013,
    CM_MOUSELEAVE = 0xB014,
    // Alt and a character key in a form's control, sent to the form (wParam the character); an answer other than 0
    // used the key.
    CM_DIALOGCHAR = 0xB006,
    // The control is about to make its window anew (sent to the old window; the handlers stay with the control).
    CM_RECREATEWND = 0xB034,
};

// A handler in a control's chain (newest first). It answers a message by setting Result and returning true;
// returning false passes the message on. To work on the result of the rest of the chain, a handler calls
// CallNextHandler(m) (win/Win.h) and then returns true.
using TMessageHandler = std::function<bool(TMessage&)>;

// What the platform needs to make a control's window; filled by CreateParams.
struct TCreateParams {
    std::string WinClassName;  // a system class ("EDIT") or the layer's own class (the control's class name)
    bool SystemClass = false;
    unsigned ClassStyle = 0;
    unsigned Style = 0, ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    std::string Caption;
    void* WndParent = nullptr;
};

class TControl : public TComponent, public IPublished {
    KES_CLASS(TControl, TComponent)
    KES_PUBLISHED
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    // The client area in the control's own coordinates.
    virtual TRect ClientRect() const { return Rect(0, 0, width_, height_); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    virtual void SetClientSize(int width, int height) { SetBounds(left_, top_, width, height); }
    void SetClientWidth(int w) { SetClientSize(w, ClientHeight()); }
    void SetClientHeight(int h) { SetClientSize(ClientWidth(), h); }

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to the top shown as well.
    virtual bool Showing() const;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Caption and Text are the same string (a form's title, a button's caption, an edit's text).
    virtual std::string Text() const { return text_; }
    virtual void SetText(const std::string& text);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& text) { SetText(text); }

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool on);

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool on);

    std::string Hint;
    bool ShowHint = false;
    TBiDiMode BiDiMode = bdLeftToRight;
    TPopupMenu* PopupMenu = nullptr;

    TNotifyEvent OnClick, OnDblClick, OnResize;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Fires OnClick (buttons add their modal result).
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);

    virtual void Invalidate();
    // Invalidates and paints at once.
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    TCustomForm* ParentForm() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    // Windowless controls draw themselves on their parent's canvas at their own origin.
    virtual void Paint(TCanvas& canvas);

    // Internal: the parent's font or colour reached this control.
    void ParentFontChanged();
    void ParentColorChanged();

protected:
    // Hooks run after a stored property changed; the platform files keep the window in step.
    virtual void BoundsChanged();
    virtual void TextChanged();
    virtual void ColorChanged();
    virtual void FontChanged();
    virtual void VisibleChanged();
    virtual void EnabledChanged();
    void RequestAlign();
    friend class TWinControl;

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool enabled_ = true;
    std::string text_;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TFont font_;
    bool parentFont_ = true;
    bool inheriting_ = false;  // set while a parent's font or colour is copied in
};

// A control without a window of its own (label, shape): painted by its parent, hit-tested by its parent.
class TGraphicControl : public TControl {
    KES_CLASS(TGraphicControl, TControl)
public:
    using TControl::TControl;
    ~TGraphicControl() override;

    // A windowless control has a chain of message handlers too (newest first). Its parent sends it WM_PAINT
    // (wParam: the parent's DC with its origin at the control), the mouse button messages (in the control's
    // coordinates) and CM_MOUSEENTER / CM_MOUSELEAVE through the chain. A handler calls the rest of the chain
    // with CallNextHandler (win/Win.h), as windowed controls' handlers do.
    int AddMessageHandler(TMessageHandler handler);
    void RemoveMessageHandler(int id);
    // Runs a message through the chain down to the control's own handling; returns its result.
    intptr_t Perform(unsigned msg, uintptr_t wparam = 0, intptr_t lparam = 0);
    // The control's own handling, the end of the chain: it paints itself and fires its mouse events.
    virtual void WndProc(TMessage& message);

private:
    struct Handler {
        int Id;
        TMessageHandler Fn;
    };
    friend bool CallNextGraphicHandler(TMessage& m);
    void RunHandlers(TMessage& m, size_t from);
    std::vector<Handler> handlers_;  // newest first
    int nextHandlerId_ = 1;
};

// Runs the rest of the chain of the windowless control whose handler is running; false when none is.
bool CallNextGraphicHandler(TMessage& m);

class TWinControl : public TControl {
    KES_CLASS(TWinControl, TControl)
    KES_PUBLISHED
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
    bool ContainsControl(const TControl* control) const;
    // The topmost visible windowless child at a client point, or nullptr.
    TControl* GraphicControlAt(TPoint p) const;

    // Position among the windowed siblings for Tab navigation.
    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop = false;
    // Windowed descendants in tab order (depth first).
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The next (or previous) focusable descendant after `current`, wrapping around; nullptr when none.
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

    // The platform window (HWND on Windows), created on first use; nullptr where there are no windows.
    void* Handle();
    void* WindowHandle() const { return handle_; }
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded();
    void DestroyHandle();
    // Makes the window anew (after a style change), keeping the control's state.
    void RecreateWnd();
    // Sends a message to the window; 0 without one.
    intptr_t Perform(unsigned msg, uintptr_t wparam = 0, intptr_t lparam = 0);

    // Adds a handler to the front of the chain; returns its id. Handlers survive a recreated window.
    int AddMessageHandler(TMessageHandler handler);
    void RemoveMessageHandler(int id);

    virtual bool CanFocus() const;
    virtual void SetFocus();
    bool Focused() const;

    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter, OnExit;

    // Docks the aligned children in the client area.
    void AlignControls();
    TRect ClientRect() const override;

    bool ParentBackground() const { return parentBackground_; }
    void SetParentBackground(bool on);

    // Internal: parent links and window binding.
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    struct HandlerEntry {
        int Id;
        TMessageHandler Fn;
    };
    const std::vector<HandlerEntry>& MessageHandlers() const { return handlers_; }
    // The control's own message handling; the end of the chain.
    virtual void WndProc(TMessage& message);
    // What WndProc leaves to the window system: the class's own procedure of a system class, the default window
    // procedure of the layer's own classes (the MDI procedures for MDI frames and children).
    virtual void DefaultHandler(TMessage& message);
    void DetachHandle() { handle_ = nullptr; }

    // Keyboard event runners: false when the key was dropped.
    virtual bool KeyDown(uint16_t& key, TShiftState shift);
    virtual bool KeyPress(char& key);
    virtual bool KeyUp(uint16_t& key, TShiftState shift);
    // True when the control wants Tab, Enter or Esc itself instead of the form's dialog handling.
    virtual bool WantSpecialKey(uint16_t key) const;
    // A notification code that the parent reflected back (button clicked, edit changed, ...).
    virtual void CommandNotify(unsigned code);
    // Whether a left click inside fires OnClick from the mouse (buttons and lists click by notification).
    virtual bool ClickOnMouseUp() const { return true; }

protected:
    virtual void CreateParams(TCreateParams& params);
    // Runs after the window exists: pushes the stored state into it.
    virtual void CreateWnd();
    // Runs before the window goes: saves what the window holds (text, selection, items).
    virtual void DestroyWnd();
    void BoundsChanged() override;
    void TextChanged() override;
    void ColorChanged() override;
    void FontChanged() override;
    void VisibleChanged() override;
    void EnabledChanged() override;

    void* handle_ = nullptr;
    bool systemClass_ = false;  // a system window class, reached through a subclass
    bool creating_ = false;
    bool fromWindow_ = false;  // the window itself reported a new place; don't move it back
    bool parentBackground_ = false;
    void* fontHandle_ = nullptr;   // the GDI font made from Font
    void* brushHandle_ = nullptr;  // the GDI brush made from Color

private:
    friend class TControl;
    friend struct TWinControlMessages;  // the window half's handlers of WndProc, one per message
    std::vector<TControl*> controls_;
    std::vector<HandlerEntry> handlers_;
    int nextHandlerId_ = 1;
};

// A windowed control that paints itself (panel, group box, form).
class TCustomControl : public TWinControl {
    KES_CLASS(TCustomControl, TWinControl)
public:
    using TWinControl::TWinControl;
};

// Every live windowed control by its window (nullptr when the window is not one of ours).
TWinControl* FindControl(void* handle);
// The control whose window is being made at this moment (from the request until the system has made it), or
// nullptr: a window-creation hook that sees the new window before its first message finds its control here.
TWinControl* CreatingControl();
// Internal: a control is going away; the platform half drops every pointer it keeps to it.
void ControlGone(const TControl* control);
// The form that holds a control (or the control itself when it is a form).
TCustomForm* GetParentForm(const TControl* control);

}  // namespace kes
