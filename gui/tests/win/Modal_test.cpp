// Modal loops over the gallery: ShowModal, message boxes, the open dialog; the GUI-thread timer.
#include "gui/tests/win/GalleryForm.h"

using namespace kes;
using namespace kes::gallery;

TEST_F(Gallery, ShowModalReturnsThePressedButtonsResult) {
    auto run = [&](std::function<void(TForm&, TButton&, TButton&, TEdit&)> press) {
        TForm dlg(nullptr);
        dlg.SetCaption("Setup");
        dlg.SetBorderStyle(bsDialog);
        dlg.SetClientSize(231, 216);
        dlg.SetPosition(poScreenCenter);
        auto* edit = new TEdit(&dlg);
        edit->SetParent(&dlg);
        edit->SetBounds(8, 8, 100, 21);
        auto* ok = new TButton(&dlg);
        ok->SetParent(&dlg);
        ok->SetBounds(70, 184, 75, 25);
        ok->SetCaption("OK");
        ok->SetDefault(true);
        ok->ModalResult = mrOk;
        auto* cancel = new TButton(&dlg);
        cancel->SetParent(&dlg);
        cancel->SetBounds(150, 184, 75, 25);
        cancel->SetCaption("Cancel");
        cancel->Cancel = true;
        cancel->ModalResult = mrCancel;
        bool ownerDisabled = false;
        ActionWhen act([&] { return dlg.Visible() && IsWindowVisible(H(&dlg)); },
                       [&] {
                           ownerDisabled = !IsWindowEnabled(H(form_));
                           press(dlg, *ok, *cancel, *edit);
                       });
        const int r = dlg.ShowModal();
        EXPECT_TRUE(ownerDisabled);
        EXPECT_TRUE(IsWindowEnabled(H(form_)));
        EXPECT_FALSE(dlg.Visible());
        const TRect work = TCustomForm::ScreenWorkArea();
        EXPECT_EQ(dlg.Left(), work.Left + (work.Width() - dlg.Width()) / 2);
        return r;
    };
    EXPECT_EQ(run([](TForm&, TButton& ok, TButton&, TEdit&) { SendMessageA(H(&ok), BM_CLICK, 0, 0); }), mrOk);
    EXPECT_EQ(run([](TForm&, TButton&, TButton& c, TEdit&) { SendMessageA(H(&c), BM_CLICK, 0, 0); }), mrCancel);
    EXPECT_EQ(run([](TForm&, TButton&, TButton&, TEdit& e) { SendMessageA(H(&e), WM_KEYDOWN, VK_RETURN, 1); }), mrOk);
    EXPECT_EQ(run([](TForm&, TButton&, TButton&, TEdit& e) { SendMessageA(H(&e), WM_KEYDOWN, VK_ESCAPE, 1); }),
              mrCancel);
    EXPECT_EQ(run([](TForm& d, TButton&, TButton&, TEdit&) { SendMessageA(H(&d), WM_CLOSE, 0, 0); }), mrCancel);
}

TEST_F(Gallery, MessageBoxAnswersWithTheButtonPressed) {
    ActionWhen act([] { return FindThreadDialog() != nullptr; },
                   [] {
                       if (HWND box = FindThreadDialog()) SendMessageA(box, WM_COMMAND, IDNO, 0);
                   });
    EXPECT_EQ(MsgBox("Continue?", "Warning", MB_YESNO, form_), mrNo);
    ActionWhen act2([] { return FindThreadDialog() != nullptr; },
                    [] {
                        if (HWND box = FindThreadDialog()) SendMessageA(box, WM_COMMAND, IDYES, 0);
                    });
    EXPECT_EQ(MsgBox("Continue?", "Warning", MB_YESNO), mrYes);
}

TEST_F(Gallery, OpenDialogCancelledReturnsFalse) {
    TOpenDialog dlg(form_);
    dlg.Filter = "Forth source|*.fs;*.txt|All files|*.*";
    dlg.FileName = "start.fs";
    ActionWhen act([] { return FindThreadDialog() != nullptr; },
                   [] {
                       if (HWND box = FindThreadDialog()) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
                   });
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.FileName, "start.fs");
}

TEST_F(Gallery, TimerFiresOnTheGuiThread) {
    TTimer timer(form_);
    timer.SetInterval(10);
    DWORD thread = 0;
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        thread = GetCurrentThreadId();
        ++ticks;
    };
    const UINT_PTR tick = SetTimer(nullptr, 0, 10, nullptr);
    const DWORD start = GetTickCount();
    while (ticks < 3 && GetTickCount() - start < 5000) app_->HandleMessage();
    KillTimer(nullptr, tick);
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(thread, GetCurrentThreadId());
}
