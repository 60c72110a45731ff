// The log window in this process: lines arrive and stay while it is closed, the end button scrolls, clearing
// empties it, saving an empty log opens no dialog, and a save writes every line with CR LF.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "base/StringList.h"
#include "base/win/Application.h"
#include "gui/win/Win.h"
#include "testsupport/Wait.h"
#include "shell/Unit4.h"

using namespace kes;

namespace {

using kes::test::FindThreadDialog;

class LogWindow : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        log_ = new TLOGform(nullptr);
    }
    void TearDown() override {
        delete log_;
        app_.reset();
    }
    void Pump() {
        for (int i = 0; i < 5; ++i) app_->ProcessMessages();
    }

    std::unique_ptr<TApplication> app_;
    TLOGform* log_ = nullptr;
};

// Closes any dialog this thread opens within `ms` and remembers that one came up.
struct DialogWatch {
    static inline bool seen = false;
    UINT_PTR id;
    explicit DialogWatch(UINT ms) {
        seen = false;
        id = SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR, DWORD) {
            if (HWND d = FindThreadDialog()) {
                seen = true;
                PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
            }
        });
    }
    ~DialogWatch() { KillTimer(nullptr, id); }
};

}  // namespace

TEST_F(LogWindow, LinesStayWhileClosedAndTheButtonScrollsToTheEnd) {
    EXPECT_EQ(log_->Caption(), "LOG");
    for (int i = 0; i < 200; ++i) log_->AddLine("12:00:00 line " + std::to_string(i));
    EXPECT_EQ(log_->ListBox1->Items().Count(), 200);
    log_->ShowForm();
    Pump();
    EXPECT_EQ(SendMessageA(static_cast<HWND>(log_->ListBox1->Handle()), LB_GETCOUNT, 0, 0), 200);
    EXPECT_EQ(log_->ListBox1->TopIndex(), 0);
    log_->Button1Click(log_->Button1);
    Pump();
    EXPECT_GT(log_->ListBox1->TopIndex(), 150);
    log_->Exit2Click(nullptr);
    Pump();
    EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(log_->Handle())));
    log_->AddLine("later", true);
    EXPECT_EQ(log_->ListBox1->Items()[200], "later");
    log_->ClearLogWindow1Click(nullptr);
    EXPECT_EQ(log_->ListBox1->Items().Count(), 0);
}

TEST_F(LogWindow, SavingAnEmptyLogOpensNoDialog) {
    DialogWatch watch(300);
    log_->SaveLoginfile1Click(nullptr);
    const ULONGLONG end = GetTickCount64() + 600;
    while (GetTickCount64() < end) Pump();
    EXPECT_FALSE(DialogWatch::seen);
}

TEST_F(LogWindow, ACancelledSaveWritesNothingAndTheLinesStay) {
    log_->AddLine("one");
    log_->SaveDialog1->FileName = "kestrup-log-test-cancelled.txt";
    std::remove("kestrup-log-test-cancelled.txt");
    DialogWatch watch(500);
    log_->SaveLoginfile1Click(nullptr);
    EXPECT_TRUE(DialogWatch::seen);
    std::string bytes;
    EXPECT_FALSE(ReadFileBytes("kestrup-log-test-cancelled.txt", bytes));
    EXPECT_EQ(log_->ListBox1->Items().Count(), 1);
}
