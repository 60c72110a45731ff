// Kestrup.exe end to end with its source window, on the virtual null modem with the simulated board: the last file
// from the registry opened by "Open RESENT file", uploaded with "Send all text to processor" through its include
// files, and an upload cancelled with "Cancel upload". The program runs as its own process; the test finds the
// source window and its buttons and sends them messages.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "KestrupDriver.h"
#include "KestrupOnBoard.h"
#include "shell/MainWindowMessages.h"
#include "testsupport/BoardTest.h"
#include "testsupport/WindowPicture.h"

using namespace kes::test;

namespace {

void WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary);
    f << text;
}

std::string TestFolder() {
    char buffer[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, buffer);
    const std::string folder = std::string(buffer) + "kestrup-source-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

struct Found {
    DWORD pid;
    std::string text;
    HWND hwnd = nullptr;
};

// Each test runs at 115200 baud and at 921600 (an ESP32's speed): the program's port set to it, the board's line
// limited to it (bytes a second: a tenth of the baud rate).
class KestrupSource : public KestrupOnBoard, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        KestrupOnBoard::SetUp();
        if (!Ready()) return;
        PresetPortSettings(com_, GetParam());
        ASSERT_TRUE(ResetBoard());
        folder_ = TestFolder();
    }
    // The board back to its defaults, at the test's line speed.
    bool ResetBoard() { return board_.Reset() && board_.Ok("speed " + std::to_string(GetParam() / 10)); }
    void TearDown() override { k_.reset(); }

    void StartConnected() {
        k_ = std::make_unique<KestrupProcess>();
        std::string error;
        ASSERT_TRUE(k_->Start(error)) << error;
        ASSERT_TRUE(k_->Menu("Connect1"));
        ASSERT_TRUE(ConnectAnswered());
        ASSERT_TRUE(ResetBoard());
        ASSERT_TRUE(k_->Menu("SourceFileWindow1"));
        ASSERT_TRUE(WaitUntil([&] { return (source_ = SourceWindow()) != nullptr; }));
        // The log window is up before an upload starts: a wait for a log line mid-upload then reads it rather
        // than showing it from within the upload's message loop.
        k_->LogLines();
    }
    // The board's " ok" answers the memo shows.
    size_t Oks() const {
        const std::string memo = k_->MemoText();
        size_t n = 0;
        for (size_t p = memo.find(" ok\r\n"); p != std::string::npos; p = memo.find(" ok\r\n", p + 1)) ++n;
        return n;
    }
    // Connect sends two returns: both reached the board and its answers are in the memo (none is left on the
    // line for what the test does next).
    bool ConnectAnswered(size_t oksBefore = 0) {
        return WaitUntil([&] { return board_.Lines().size() >= 2 && Oks() >= oksBefore + 2; });
    }
    HWND SourceWindow() const {
        Found f{k_->ProcessId(), "SourceFile"};
        EnumWindows(
            [](HWND h, LPARAM p) -> BOOL {
                auto* f = reinterpret_cast<Found*>(p);
                DWORD pid = 0;
                GetWindowThreadProcessId(h, &pid);
                if (pid == f->pid && IsWindowVisible(h) && WindowText(h) == f->text) {
                    f->hwnd = h;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&f));
        return f.hwnd;
    }
    HWND Button(const std::string& caption) const {
        Found f{0, caption};
        EnumChildWindows(
            source_,
            [](HWND h, LPARAM p) -> BOOL {
                auto* f = reinterpret_cast<Found*>(p);
                if (WindowText(h) == f->text) {
                    f->hwnd = h;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&f));
        return f.hwnd;
    }
    void SourceMenu(const std::string& item) {
        const UINT id = MenuCommandOf(source_, item);
        ASSERT_NE(id, 0u) << item;
        PostMessageA(source_, WM_COMMAND, static_cast<WPARAM>(id), 0);
    }
    bool LogHas(const std::string& text) const {
        for (const std::string& line : k_->LogLines())
            if (line.find(text) != std::string::npos) return true;
        return false;
    }
    // An answered box goes in the program's own time: until then a look would find it again.
    static void BoxGone(HWND box) {
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000)) << "the box stayed";
    }
    // Waits for a log line, answering the program's warning boxes with OK meanwhile; the answered texts are kept.
    bool WaitForLog(const std::string& text, DWORD ms) {
        return WaitUntil(
            [&] {
                if (HWND box = k_->FindBox("Warning")) {
                    boxes_.push_back(k_->BoxText(box));
                    k_->Answer(box, IDOK);
                    BoxGone(box);
                }
                return LogHas(text);
            },
            ms);
    }
    std::vector<std::string> BoardTexts() {
        std::vector<std::string> texts;
        for (const BoardLine& l : board_.Lines()) texts.push_back(l.text);
        return texts;
    }

    std::string folder_;
    std::unique_ptr<KestrupProcess> k_;
    HWND source_ = nullptr;
    std::vector<std::string> boxes_;
};

}  // namespace

TEST_P(KestrupSource, LastFileReopenedAndSentWithItsIncludeFiles) {
    WriteTextFile(folder_ + "\\kmain.fs",
                  "\\ the main file\r\n: km1 1 ;\r\n\\ include klib.fs\r\n\\ include kgone.fs\r\n: km2 2 ;\r\n");
    WriteTextFile(folder_ + "\\klib.fs", ": kl1 3 ;\r\n#include <ksub.fs>\r\n: kl2 4 ;\r\n");
    WriteTextFile(folder_ + "\\ksub.fs", ": ks 5 ;\r\n\\ include ksub.fs\r\n\\ comment\r\n");
    WriteSetting("Source", "Filename", folder_ + "\\kmain.fs");
    StartConnected();
    SourceMenu("OpenRESENTfile1");
    HWND send = Button("Send all text to processor");
    ASSERT_NE(send, nullptr);
    k_->Sync();
    PostMessageA(send, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForLog("Sourcefile parsing completed", 20000));

    EXPECT_EQ(BoardTexts(), (std::vector<std::string>{": km1 1 ;", ": kl1 3 ;", ": ks 5 ;", ": kl2 4 ;", ": km2 2 ;"}));
    EXPECT_EQ(board_.Violations(), 0);
    EXPECT_TRUE(LogHas("File \"klib.fs\" found and to be parsed now "));
    EXPECT_TRUE(LogHas("File \"ksub.fs\" parsed "));
    EXPECT_TRUE(LogHas("Include File ksub.fs already included! SKIPPING it now!"));
    EXPECT_TRUE(LogHas("ERROR -Include file \"kgone.fs\" not found! "));
    EXPECT_TRUE(LogHas("Sourcefile parsing completed - 1 include file NOT FOUND!"));
    EXPECT_EQ(boxes_, (std::vector<std::string>{"Include File ksub.fs already included! SKIPPING it now!",
                                                "Include File not found: kgone.fs"}));
    EXPECT_TRUE(k_->Close());
}

TEST_P(KestrupSource, CancelUploadStopsMidway) {
    std::string text;
    for (int i = 0; i < 80; ++i) text += ": kc" + std::to_string(i) + " " + std::to_string(i) + " ;\r\n";
    WriteTextFile(folder_ + "\\klong.fs", text);
    WriteSetting("Source", "Filename", folder_ + "\\klong.fs");
    StartConnected();
    ASSERT_TRUE(board_.Ok("delay 40"));
    SourceMenu("OpenRESENTfile1");
    k_->Sync();
    PostMessageA(Button("Send all text to processor"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return board_.Lines().size() >= 5; }));
    PostMessageA(Button("Cancel upload"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForLog("Sourcefile parsing CANCELED!", 5000));
    const size_t sent = board_.Lines().size();
    EXPECT_LT(sent, 80u);
    Wait(300);  // that no more lines go out: no event to wait for
    EXPECT_EQ(board_.Lines().size(), sent);
    EXPECT_EQ(board_.Violations(), 0);
    EXPECT_TRUE(k_->Close());
}

// The default skin's filled bar is amber; its trough graphite.
bool Amber(std::int32_t c) { return (c & 0xFF) > 150 && ((c >> 8) & 0xFF) > 100 && ((c >> 16) & 0xFF) < 110; }
bool Graphite(std::int32_t c) {
    const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    return r > 15 && r < 70 && g > 15 && g < 70 && b > 15 && b < 80;
}

// The amber part of the bar's middle row, from its left (inside its thin edge), in a picture of its window; and the
// colour of the bar's trough near its right end.
struct BarRow {
    BarRow(HWND window, HWND bar) : shot(window) {
        RECT w{}, b{};
        GetWindowRect(window, &w);
        GetWindowRect(bar, &b);
        x0 = b.left - w.left;
        y = (b.top + b.bottom) / 2 - w.top;
        width = b.right - b.left;
        for (int edge = 0; edge < 3 && !Amber(shot.At(x0, y)); ++edge) ++x0;
        while (amber < width && Amber(shot.At(x0 + amber, y))) ++amber;
    }
    std::int32_t NearEnd() const { return shot.At(x0 + width - 8, y); }
    WindowShot shot;
    int x0 = 0, y = 0, width = 0, amber = 0;
};

TEST_P(KestrupSource, TheProgressBarIsSkinnedAndMovesDuringAnUpload) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += ": kp" + std::to_string(i) + " " + std::to_string(i) + " ;\r\n";
    WriteTextFile(folder_ + "\\kprogress.fs", text);
    WriteSetting("Source", "Filename", folder_ + "\\kprogress.fs");
    StartConnected();
    ASSERT_TRUE(board_.Ok("delay 60"));
    SourceMenu("OpenRESENTfile1");
    k_->Sync();
    HWND bar = nullptr;
    for (HWND panel = nullptr; !bar && (panel = FindWindowExA(source_, panel, nullptr, nullptr));)
        bar = FindWindowExA(panel, nullptr, "msctls_progress32", nullptr);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(SendMessageA(bar, 0x3523, 0, 0), 1) << "SKM_ISSKINNED";
    SetWindowPos(source_, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);  // all of it on the screen
    PostMessageA(Button("Send all text to processor"), BM_CLICK, 0, 0);

    // The bar fills while lines still go out, and goes on filling (the program repaints it when it gets to it).
    int early = 0, late = 0;
    ASSERT_TRUE(WaitUntil([&] { return (early = BarRow(source_, bar).amber) > 0; }, 20000));
    EXPECT_LT(board_.Lines().size(), 45u);
    const int width = BarRow(source_, bar).width;
    EXPECT_TRUE(WaitUntil([&] { return (late = BarRow(source_, bar).amber) > early + width / 5; }, 20000)) << early;
    const BarRow now(source_, bar);
    now.shot.Save("SourceUpload.bmp");
    EXPECT_LT(board_.Lines().size(), 60u) << "still uploading";
    EXPECT_LT(late, width - 4);
    EXPECT_TRUE(Graphite(now.NearEnd())) << std::hex << now.NearEnd();
    ASSERT_TRUE(WaitForLog("Sourcefile parsing completed", 20000));
    EXPECT_EQ(board_.Lines().size(), 60u);
    EXPECT_TRUE(k_->Close());
}

TEST_P(KestrupSource, SilentBoardTimesOutAndARedefinitionAsksFirst) {
    WriteTextFile(folder_ + "\\kdup.fs", ": kd 1 ;\r\n: kd 2 ;\r\n: ke 3 ;\r\n");
    WriteSetting("Source", "Filename", folder_ + "\\kdup.fs");
    StartConnected();
    SourceMenu("OpenRESENTfile1");
    k_->Sync();
    PostMessageA(Button("Send all text to processor"), BM_CLICK, 0, 0);
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = k_->FindBox("Warning: ", true)) != nullptr; }));
    EXPECT_EQ(board_.Lines().size(), 2u) << "the next line went out before the question was answered";
    Wait(300);  // that no more lines go out: no event to wait for
    EXPECT_EQ(board_.Lines().size(), 2u);
    k_->Answer(question, IDYES);
    ASSERT_TRUE(WaitForLog("Sourcefile parsing completed", 10000));
    EXPECT_EQ(board_.Lines().size(), 3u);
    EXPECT_EQ(board_.Violations(), 0);

    // A board that answers two more lines and then stays silent.
    WriteTextFile(folder_ + "\\ksilent.fs", ": kt1 1 ;\r\n: kt2 2 ;\r\n: kt3 3 ;\r\n: kt4 4 ;\r\n");
    WriteSetting("Source", "Filename", folder_ + "\\ksilent.fs");
    ASSERT_TRUE(ResetBoard());
    ASSERT_TRUE(board_.Ok("silent-after 2"));
    SourceMenu("SureClearscreen1");
    // The registry is read when the window is shown: close it, show it again, then reopen.
    PostMessageA(source_, WM_CLOSE, 0, 0);
    k_->Sync();
    ASSERT_TRUE(WaitUntil([&] { return SourceWindow() == nullptr; }));
    ASSERT_TRUE(k_->Menu("SourceFileWindow1"));
    ASSERT_TRUE(WaitUntil([&] { return (source_ = SourceWindow()) != nullptr; }));
    SourceMenu("OpenRESENTfile1");
    k_->Sync();
    const DWORD start = GetTickCount();
    PostMessageA(Button("Send all text to processor"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForLog("Sourcefile parsing CANCELED!", 10000));
    const DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 4500u);
    EXPECT_LT(took, 8000u);
    EXPECT_EQ(board_.Lines().size(), 3u);
    EXPECT_TRUE(LogHas("Source upload had a TIMEOUT - did not get a CR from MCU"));
    EXPECT_TRUE(LogHas("Upload will be CANCELED"));
    EXPECT_TRUE(k_->Close());
}

TEST_P(KestrupSource, ARedefinitionWhoseLineEndComesLaterAsksOnceAndEveryLineWaitsForItsAnswer) {
    WriteTextFile(folder_ + "\\ksplit.fs",
                  ": kw 1 ;\r\n: kw 2 ;\r\n: ky 3 ;\r\n: kz 4 ;\r\n: kw 5 ;\r\n: kv 6 ;\r\n: ku 7 ;\r\n");
    WriteSetting("Source", "Filename", folder_ + "\\ksplit.fs");
    StartConnected();
    ASSERT_TRUE(board_.Ok("split-answers 150"));  // every answer's CR LF comes 150 ms after its text
    SourceMenu("OpenRESENTfile1");
    k_->Sync();
    PostMessageA(Button("Send all text to processor"), BM_CLICK, 0, 0);
    std::vector<std::string> questions;
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (HWND box = k_->FindBox("Warning: ", true)) {
                questions.push_back(WindowText(box));
                k_->Answer(box, IDYES);
                BoxGone(box);
            }
            return LogHas("Sourcefile parsing completed");
        },
        20000));
    EXPECT_EQ(questions, (std::vector<std::string>{"Warning: : kw 2 ; kw ALREADY DEFINED",
                                                   "Warning: : kw 5 ; kw ALREADY DEFINED"}));
    EXPECT_EQ(BoardTexts(), (std::vector<std::string>{": kw 1 ;", ": kw 2 ;", ": ky 3 ;", ": kz 4 ;", ": kw 5 ;",
                                                      ": kv 6 ;", ": ku 7 ;"}));
    EXPECT_EQ(board_.Violations(), 0) << "a line went out before the answer to the one before had ended";
    EXPECT_TRUE(k_->Close());
}

TEST_P(KestrupSource, DisconnectMidUploadStopsItAtOnce) {
    std::string text;
    for (int i = 0; i < 80; ++i) text += ": kx" + std::to_string(i) + " " + std::to_string(i) + " ;\r\n";
    WriteTextFile(folder_ + "\\kdisc.fs", text);
    WriteSetting("Source", "Filename", folder_ + "\\kdisc.fs");
    StartConnected();
    ASSERT_TRUE(board_.Ok("delay 40"));
    SourceMenu("OpenRESENTfile1");
    k_->Sync();
    PostMessageA(Button("Send all text to processor"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return board_.Lines().size() >= 5; }));
    const DWORD start = GetTickCount();
    ASSERT_TRUE(k_->Menu("Disconnect1"));
    ASSERT_TRUE(WaitForLog("Sourcefile parsing CANCELED!", 5000));
    EXPECT_LT(GetTickCount() - start, 2000u) << "the upload waited for its time-out";
    EXPECT_TRUE(LogHas("Source upload stopped: COM port closed"));
    EXPECT_FALSE(LogHas("TIMEOUT"));
    EXPECT_LT(board_.Lines().size(), 80u);
    EXPECT_TRUE(k_->Close());
}

// The USB adapter pulled out mid-upload: the simulated board takes the null modem away. The terminal closes the
// port as Disconnect does ("COM Port CLOSED", a log line; the lamp goes out with the close, as its own tests
// show: another process's window reads back black under Wine), the upload stops with its log lines, nothing
// hangs, and once the adapter is back the port opens again.
TEST_P(KestrupSource, TheNullModemTakenAwayMidUploadClosesThePortAndStopsTheUpload) {
    std::string text;
    for (int i = 0; i < 80; ++i) text += ": ku" + std::to_string(i) + " " + std::to_string(i) + " ;\r\n";
    WriteTextFile(folder_ + "\\kunplug.fs", text);
    WriteSetting("Source", "Filename", folder_ + "\\kunplug.fs");
    k_ = std::make_unique<KestrupProcess>();
    std::string error;
    ASSERT_TRUE(k_->Start(error)) << error;
    ASSERT_TRUE(k_->Menu("Connect1"));
    ASSERT_TRUE(ConnectAnswered());
    EXPECT_EQ(k_->StatusPanel(6), "COM Port Open");
    ASSERT_TRUE(ResetBoard());
    ASSERT_TRUE(board_.Ok("delay 40"));
    ASSERT_TRUE(k_->Menu("SourceFileWindow1"));
    ASSERT_TRUE(WaitUntil([&] { return (source_ = SourceWindow()) != nullptr; }));
    k_->LogLines();  // the log window up before the upload, as StartConnected has it
    SourceMenu("OpenRESENTfile1");
    k_->Sync();
    PostMessageA(Button("Send all text to processor"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return board_.Lines().size() >= 5; }));

    const DWORD start = GetTickCount();
    ASSERT_TRUE(board_.Ok("unplug 1000"));
    ASSERT_TRUE(WaitForLog("Sourcefile parsing CANCELED!", 5000));
    EXPECT_LT(GetTickCount() - start, 3000u) << "the upload waited for its time-out";
    EXPECT_TRUE(LogHas(" Warning: COM port lost (device removed?) - port closed"));
    EXPECT_TRUE(LogHas("Source upload stopped: "));
    EXPECT_FALSE(LogHas("TIMEOUT"));
    EXPECT_TRUE(WaitUntil([&] { return k_->StatusPanel(6) == "COM Port CLOSED"; }, 3000)) << k_->StatusPanel(6);
    EXPECT_EQ(k_->FindBox("Kestrup"), nullptr) << "no error box";
    EXPECT_LT(board_.Lines().size(), 80u);

    // The adapter back in: Connect opens the port again, and the board's answers to it are read (none is left on
    // the line for the next test).
    Wait(1200);  // the board brings the line back 1000 ms after the unplug; nothing the test can see says so
    ASSERT_TRUE(ResetBoard());
    const size_t before = Oks();
    ASSERT_TRUE(k_->Menu("Connect1"));
    EXPECT_TRUE(ConnectAnswered(before));
    EXPECT_EQ(k_->StatusPanel(6), "COM Port Open");
    EXPECT_TRUE(k_->Close());
}

INSTANTIATE_TEST_SUITE_P(LineSpeeds, KestrupSource, ::testing::Values(115200, 921600),
                         [](const ::testing::TestParamInfo<int>& info) { return "Baud" + std::to_string(info.param); });
