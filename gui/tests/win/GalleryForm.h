#pragma once
// The gallery form: one form with every control, a main menu with a radio group and a submenu and a status
// bar with panels; the fixture that shows it under a fresh application, and helpers for modal loops.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "base/win/Application.h"
#include "base/win/Timer.h"
#include "gui/ComCtrls.h"
#include "gui/Dialogs.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/HintWindow.h"
#include "gui/Keys.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "testsupport/DeferredAction.h"
#include "gui/win/Canvas.h"
#include "gui/win/Dialogs.h"
#include "gui/win/ImgList.h"
#include "gui/win/Printers.h"
#include "gui/win/Shell.h"
#include "gui/win/Win.h"
#include "testsupport/Wait.h"

namespace kes::gallery {

using namespace kes;

class TGalleryForm : public TForm {
    KES_CLASS(TGalleryForm, TForm)
public:
    explicit TGalleryForm(TComponent* owner) : TForm(owner) {
        SetName("Gallery");
        SetCaption("Gallery " + std::to_string(GetCurrentProcessId()));
        SetBounds(10, 10, 640, 480);
        Font().SetName("Tahoma");
        Font().SetHeight(-11);

        MainMenu1 = new TMainMenu(this);
        File1 = NewMenuItem(this, MainMenu1->Items(), "File1", "&File");
        Open1 = NewMenuItem(this, File1, "Open1", "&Open...");
        Open1->SetShortCut(ShortCut('O', ssCtrl));
        NewMenuItem(this, File1, "N1", "-");
        Exit1 = NewMenuItem(this, File1, "Exit1", "E&xit");
        Mode1 = NewMenuItem(this, MainMenu1->Items(), "Mode1", "&Mode");
        for (int i = 0; i < 3; ++i) {
            Modes[i] = NewMenuItem(this, Mode1, ("ModeItem" + std::to_string(i)).c_str(),
                                   ("Mode &" + std::to_string(i)).c_str());
            Modes[i]->SetRadioItem(true);
            Modes[i]->SetGroupIndex(1);
        }
        Modes[0]->SetChecked(true);
        Clear1 = NewMenuItem(this, MainMenu1->Items(), "Clear1", "&Clear");
        Sure1 = NewMenuItem(this, Clear1, "Sure1", "Sure? (Clear screen)");
        SetMenu(MainMenu1);

        Panel1 = new TPanel(this);
        Panel1->SetParent(this);
        Panel1->SetHeight(41);
        Panel1->SetAlign(alTop);
        Panel1->SetCaption("Header");
        Panel1->SetColor(clYellow);
        Label1 = new TLabel(this);
        Label1->SetParent(Panel1);
        Label1->SetBounds(8, 4, 0, 0);
        Label1->SetCaption("No EOL delay");
        Shape1 = new TShape(this);
        Shape1->SetParent(Panel1);
        Shape1->SetBounds(560, 8, 25, 25);
        Shape1->SetShape(stRoundSquare);
        Shape1->SetBrushColor(clRed);
        Button1 = new TButton(this);
        Button1->SetParent(Panel1);
        Button1->SetBounds(400, 8, 150, 25);
        Button1->SetCaption("Show window");

        StatusBar1 = new TStatusBar(this);
        StatusBar1->SetParent(this);
        for (int w : {100, 100, 150, 50}) StatusBar1->Panels().Add().SetWidth(w);
        StatusBar1->Panels()[0].SetText("COM4");
        StatusBar1->Panels()[1].SetText("38400 Baud");
        StatusBar1->Panels()[2].SetText("COM Port CLOSED");

        Panel2 = new TPanel(this);
        Panel2->SetParent(this);
        Panel2->SetHeight(120);
        Panel2->SetAlign(alBottom);
        Panel2->SetBevelOuter(bvLowered);
        Edit1 = new TEdit(this);
        Edit1->SetParent(Panel2);
        Edit1->SetBounds(8, 8, 200, 21);
        CheckBox1 = new TCheckBox(this);
        CheckBox1->SetParent(Panel2);
        CheckBox1->SetBounds(8, 36, 150, 17);
        CheckBox1->SetCaption("Accept INCLUDE files");
        CheckBox1->SetChecked(true);
        GroupBox1 = new TGroupBox(this);
        GroupBox1->SetParent(Panel2);
        GroupBox1->SetBounds(8, 58, 200, 56);
        GroupBox1->SetCaption(" Settings ");
        Radio1 = new TRadioButton(this);
        Radio1->SetParent(GroupBox1);
        Radio1->SetBounds(8, 18, 80, 17);
        Radio1->SetCaption("One");
        Radio1->SetChecked(true);
        Radio2 = new TRadioButton(this);
        Radio2->SetParent(GroupBox1);
        Radio2->SetBounds(100, 18, 80, 17);
        Radio2->SetCaption("Two");
        ListBox1 = new TListBox(this);
        ListBox1->SetParent(Panel2);
        ListBox1->SetBounds(220, 8, 150, 100);
        for (const char* s : {"alpha", "beta", "gamma"}) ListBox1->Items().Add(s);
        ComboBox1 = new TComboBox(this);
        ComboBox1->SetParent(Panel2);
        ComboBox1->SetStyle(csDropDownList);
        ComboBox1->SetBounds(380, 8, 120, 21);
        ComboBox1->Items().SetText("None\r\nOdd\r\nEven\r\nMark\r\nSpace");
        ComboBox1->SetItemIndex(0);
        ProgressBar1 = new TProgressBar(this);
        ProgressBar1->SetParent(Panel2);
        ProgressBar1->SetBounds(380, 40, 200, 16);
        ProgressBar1->SetRange(0, 10);
        ProgressBar1->SetPosition(4);
        Frame1 = new TFrame(this);
        Frame1->SetParent(Panel2);
        Frame1->SetBounds(380, 62, 200, 50);
        FrameMemo = new TMemo(Frame1);  // made at run time, owned by the frame
        FrameMemo->SetParent(Frame1);
        FrameMemo->SetBounds(10, 10, 100, 30);

        Memo1 = new TMemo(this);
        Memo1->SetParent(this);
        Memo1->SetAlign(alClient);
        Memo1->SetColor(clBlack);
        Memo1->Font().SetName("Courier New");
        Memo1->Font().SetHeight(-24);
        Memo1->Font().SetStyle(fsBold);
        Memo1->Font().SetColor(clYellow);
        Memo1->SetScrollBars(ssVertical);
        Memo1->WantTabs = true;
    }

    TMainMenu* MainMenu1;
    TMenuItem *File1, *Open1, *Exit1, *Mode1, *Modes[3], *Clear1, *Sure1;
    TPanel *Panel1, *Panel2;
    TLabel* Label1;
    TShape* Shape1;
    TButton* Button1;
    TStatusBar* StatusBar1;
    TEdit* Edit1;
    TCheckBox* CheckBox1;
    TGroupBox* GroupBox1;
    TRadioButton *Radio1, *Radio2;
    TListBox* ListBox1;
    TComboBox* ComboBox1;
    TProgressBar* ProgressBar1;
    TFrame* Frame1;
    TMemo* FrameMemo;
    TMemo* Memo1;
};

class Gallery : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        app_->OnException = [this](TObject*, const std::exception& e) { errors_.push_back(e.what()); };
        form_ = CreateForm<TGalleryForm>();
        form_->Show();
        Pump();
    }
    void TearDown() override {
        delete form_;
        Screen().MainForm = nullptr;
        Screen().OnTerminate = nullptr;
        EXPECT_TRUE(errors_.empty()) << errors_.front();
        app_.reset();
    }
    void Pump() {
        for (int i = 0; i < 5; ++i) app_->ProcessMessages();
    }
    bool TakeFocus(TWinControl* c) {
        return test::PumpUntil(
            [&] {
                form_->BringToFront();
                c->SetFocus();
                Pump();
                return c->Focused();
            },
            2000);
    }
    static HWND H(TWinControl* c) { return static_cast<HWND>(c->Handle()); }
    // Paints the form and its controls anew, now. The pixel checks read each control's own picture (its window
    // DC), which no other program's window can cover.
    void Redraw() {
        RedrawWindow(H(form_), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    }
    // The colour at a client point of a control as its own picture shows it now.
    TColor ColorAt(TWinControl* c, int x, int y) {
        WindowDc dc(H(c));
        return static_cast<TColor>(GetPixel(dc.Get(), x, y));
    }

    std::unique_ptr<TApplication> app_;
    std::vector<std::string> errors_;
    TGalleryForm* form_ = nullptr;
};

inline std::string WindowText(HWND h) {
    char buf[512] = "";
    GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

using kes::test::FindThreadDialog;

}  // namespace kes::gallery
