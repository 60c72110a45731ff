// The help window as the program makes it, on real windows: the built-in text, "MyHelp.txt" beside the
// program, the search from the keyboard and the menu, a double click on an address; and a picture of it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/StringList.h"
#include "base/win/Application.h"
#include "gui/win/Shell.h"
#include "shell/Unit3.h"
#include "testsupport/WindowPicture.h"

namespace kes {
namespace {

HWND H(TWinControl* c) { return static_cast<HWND>(c->Handle()); }

std::string WindowText(HWND h) {
    std::string s(static_cast<size_t>(GetWindowTextLengthA(h)) + 1, '\0');
    s.resize(static_cast<size_t>(GetWindowTextA(h, s.data(), static_cast<int>(s.size()))));
    return s;
}

std::pair<int, int> MemoSelection(HWND memo) {
    DWORD s = 0, e = 0;
    SendMessageA(memo, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    return {static_cast<int>(s), static_cast<int>(e)};
}

class HelpWindowWine : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteFileA(MyHelp().c_str());
        app_ = std::make_unique<TApplication>();
        app_->OnException = [this](TObject*, const std::exception& e) { errors_.push_back(e.what()); };
        form_ = CreateForm<TForm3>();
        ConnectHelpWindow(*form_);
        EXPECT_EQ(form_->HelpFolder, ProgramFolder());
        form_->OpenAddress = [this](const std::string& a) { opened_.push_back(a); };
        form_->ShowForm();
        Pump();
    }
    void TearDown() override {
        DeleteFileA(MyHelp().c_str());
        delete form_;
        Screen().MainForm = nullptr;
        EXPECT_TRUE(errors_.empty()) << errors_.front();
        app_.reset();
    }
    void Pump() {
        for (int i = 0; i < 5; ++i) app_->ProcessMessages();
    }
    static std::string MyHelp() { return ProgramFolder() + "MyHelp.txt"; }
    void Type(HWND h, const std::string& keys) {
        for (char c : keys) SendMessageA(h, WM_CHAR, static_cast<unsigned char>(c), 1);
        Pump();
    }

    std::unique_ptr<TApplication> app_;
    std::vector<std::string> errors_;
    std::vector<std::string> opened_;
    TForm3* form_ = nullptr;
};

TEST_F(HelpWindowWine, BuiltInTextUntilMyHelpBesideTheProgramTakesOverAtTheNextShow) {
    EXPECT_EQ(WindowText(H(form_)), "Help FlashForth GLOSSARY");
    EXPECT_TRUE(IsWindowVisible(H(form_)));
    const std::string builtIn = WindowText(H(form_->Memo1));
    EXPECT_EQ(builtIn.rfind("KESTRUP HELP\r\n", 0), 0u);
    EXPECT_GT(builtIn.size(), 15000u);  // past the edit control's default limit of 30000 characters too
    EXPECT_NE(builtIn.find("GLOSSARY OF FLASHFORTH 5.0"), std::string::npos);
    EXPECT_TRUE(form_->Label2->Visible());
    EXPECT_EQ(GetWindowLongA(H(form_->Memo1), GWL_STYLE) & (ES_READONLY | WS_VSCROLL), ES_READONLY | WS_VSCROLL);

    std::string big = "My own help\r\n";
    while (big.size() < 40000) big += "a line of the user's own help text, long enough to fill the memo\r\n";
    ASSERT_TRUE(WriteFileBytes(MyHelp(), big));
    form_->Hide();
    Pump();
    form_->ShowForm();
    Pump();
    EXPECT_EQ(WindowText(H(form_->Memo1)), big);
    EXPECT_FALSE(form_->Label2->Visible());

    DeleteFileA(MyHelp().c_str());
    form_->Hide();
    form_->ShowForm();
    Pump();
    EXPECT_EQ(WindowText(H(form_->Memo1)), big);
    EXPECT_TRUE(form_->Label2->Visible());
}

TEST_F(HelpWindowWine, EnterInTheSearchBoxSelectsTheHitAndSearhAgainTheNext) {
    const std::string text = UpperAZ(WindowText(H(form_->Memo1)));
    const size_t first = text.find("SECOND UART"), second = text.find("SECOND UART", first + 1);
    ASSERT_NE(second, std::string::npos);
    SetForegroundWindow(H(form_));  // as when the user types into it
    Type(H(form_->Edit1), "Second uart\r");
    EXPECT_EQ(WindowText(H(form_->Edit1)), "Second uart");
    EXPECT_EQ(MemoSelection(H(form_->Memo1)), std::make_pair(int(first), int(first) + 11));
    EXPECT_EQ(GetFocus(), H(form_->Memo1));
    form_->SearhAgain1->Click();
    Pump();
    EXPECT_EQ(MemoSelection(H(form_->Memo1)), std::make_pair(int(second), int(second) + 11));
    // The hit is scrolled into view: the first visible line lies at or above the hit's line.
    const LRESULT top = SendMessageA(H(form_->Memo1), EM_GETFIRSTVISIBLELINE, 0, 0);
    const LRESULT line = SendMessageA(H(form_->Memo1), EM_LINEFROMCHAR, second, 0);
    EXPECT_GT(top, 0);
    EXPECT_LE(top, line);

    RedrawWindow(H(form_), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Pump();
    EXPECT_TRUE(test::SaveWindowPicture(H(form_), ProgramFolder() + "helpwin_search.bmp"));

    form_->Home1->Click();
    Pump();
    EXPECT_EQ(MemoSelection(H(form_->Memo1)), std::make_pair(0, 0));
    EXPECT_EQ(SendMessageA(H(form_->Memo1), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(HelpWindowWine, DoubleClickOnAnAddressOpensThatAddressOnly) {
    const std::string text = WindowText(H(form_->Memo1));
    auto dblClick = [&](size_t at) {
        const LRESULT xy = SendMessageA(H(form_->Memo1), EM_POSFROMCHAR, at, 0);
        const LPARAM p = MAKELPARAM(LOWORD(xy) + 2, HIWORD(xy) + 3);
        SendMessageA(H(form_->Memo1), WM_LBUTTONDOWN, MK_LBUTTON, p);
        SendMessageA(H(form_->Memo1), WM_LBUTTONUP, 0, p);
        SendMessageA(H(form_->Memo1), WM_LBUTTONDBLCLK, MK_LBUTTON, p);
        SendMessageA(H(form_->Memo1), WM_LBUTTONUP, 0, p);
        Pump();
    };
    dblClick(text.find("https://www.flashforth.com\r\n") + 10);
    dblClick(text.find("www.udamonic.com/scamp2.html") + 4);
    dblClick(text.find("ANSI_escape_code") + 2);
    dblClick(text.find("Double-click") + 3);  // an ordinary word
    EXPECT_EQ(opened_, (std::vector<std::string>{"https://www.flashforth.com", "http://www.udamonic.com/scamp2.html",
                                                 "https://en.wikipedia.org/wiki/ANSI_escape_code"}));
}

}  // namespace
}  // namespace kes
