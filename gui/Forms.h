#pragma once
// Forms (top-level windows), frames, the screen's list of forms. A form is built by its class's
// constructor (children as members, their properties set in code); CreateForm then runs OnCreate.
#include <functional>
#include <string>
#include <vector>

#include "gui/Controls.h"

namespace kes {

class TMainMenu;
class TButton;

// Modal results (the Yes/No/OK answers of message boxes use the same numbers).
enum : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };

enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TTileMode { tbHorizontal, tbVertical };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TScrollingWinControl : public TWinControl {
    KES_CLASS(TScrollingWinControl, TWinControl)
public:
    using TWinControl::TWinControl;
};

class TCustomForm : public TScrollingWinControl {
    KES_CLASS(TCustomForm, TScrollingWinControl)
    KES_PUBLISHED
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition p) { position_ = p; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle s);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState s);
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);

    // The control that has (or gets) the focus inside this form.
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // Internal: the focus moved to `control`.
    void FocusChanged(TWinControl* control);

    // Setting a non-zero result ends ShowModal.
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int r) { modalResult_ = r; }
    bool Modal() const { return modal_; }
    // Form first sees keys of its controls (OnKeyDown/OnKeyPress of the form).
    bool KeyPreview = false;

    TNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnPaint, OnActivate, OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    // Shows the form (placing it first by Position) and brings it to the front.
    void ShowForm();
    // Shows the form modally: the other forms are disabled, Tab/Enter/Esc move and press; returns ModalResult.
    int ShowModal();
    // Asks OnCloseQuery, then OnClose decides: hide (default), free later, minimise or nothing.
    // A modal form just gets mrCancel. Closing the main form ends the program.
    void Close();
    bool CloseQuery();
    // Frees the form once the messages that are being handled are done.
    void Release();
    // Runs OnCreate (CreateForm calls it after the constructor).
    void DoCreate();
    // Tab, Enter and Esc of a control that does not want them; true when used.
    bool DialogKey(uint16_t key, TShiftState shift);
    TButton* DefaultButton() const;
    TButton* CancelButton() const;
    // Places the window by Position (centring on screen, main form or owner).
    void PlaceByPosition();
    // The platform's screen work area and the caption/menu/border sizes.
    static TRect ScreenWorkArea();
    bool Active() const;

    // MDI. A form of style fsMDIForm holds the system's "MDIClient" window over its client area (ClientHandle);
    // forms of style fsMDIChild are made inside the client of the main form. The frame's menu bar shows the menu
    // of its active child when that child has one (WM_MDISETMENU), and its own menu otherwise. The style is set
    // before the window is made.
    void* ClientHandle() const { return clientHandle_; }
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int index) const;
    TCustomForm* ActiveMDIChild() const;
    // Arranges the children side by side (TileMode) or one over another.
    void Tile();
    void Cascade();
    TTileMode TileMode = tbHorizontal;
    // Internal: the frame's menu follows the child `active` (nullptr: none is active).
    void UpdateMDIMenu(TCustomForm* active);

    // Valid while OnPaint runs.
    TCanvas* Canvas = nullptr;
    void Paint(TCanvas& canvas) override;

    void SetVisible(bool visible) override;
    bool Showing() const override { return visible_; }
    TRect ClientRect() const override;
    void SetClientSize(int width, int height) override;
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void VisibleChanged() override;

private:
    void DoShowChange(bool shown);
    TFormBorderStyle borderStyle_ = bsSizeable;
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    TMainMenu* menu_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    int modalResult_ = 0;
    bool modal_ = false;
    bool placed_ = false;
    bool created_ = false;
    void* clientHandle_ = nullptr;  // the MDIClient window of an MDI frame
    void* mdiMenu_ = nullptr;       // the menu the frame's bar shows now
};

class TForm : public TCustomForm {
    KES_CLASS(TForm, TCustomForm)
public:
    using TCustomForm::TCustomForm;
};

// A container for controls made at run time; it lives on a form like a panel.
class TCustomFrame : public TScrollingWinControl {
    KES_CLASS(TCustomFrame, TScrollingWinControl)
public:
    explicit TCustomFrame(TComponent* owner);
};

class TFrame : public TCustomFrame {
    KES_CLASS(TFrame, TCustomFrame)
public:
    using TCustomFrame::TCustomFrame;
};

// The program's forms, oldest first.
class TScreen {
public:
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }
    TCustomForm* ActiveForm() const;
    // The system's menu font (read once from the platform's non-client metrics).
    TFont& MenuFont();
    // The first form made with CreateForm; closing it ends the program.
    TCustomForm* MainForm = nullptr;
    // Called when the main form closes (default: post the quit message).
    std::function<void()> OnTerminate;
    // Internal.
    void AddForm(TCustomForm* f) { forms_.push_back(f); }
    void RemoveForm(TCustomForm* f);

private:
    std::vector<TCustomForm*> forms_;
    TFont menuFont_;
    bool menuFontRead_ = false;
};
TScreen& Screen();

// Makes a form of class T, runs its OnCreate and makes the first one the main form.
template <typename T>
T* CreateForm(TComponent* owner = nullptr) {
    T* form = new T(owner);
    if (!Screen().MainForm) Screen().MainForm = form;
    form->DoCreate();
    return form;
}

}  // namespace kes
