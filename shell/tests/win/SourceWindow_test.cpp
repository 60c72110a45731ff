// The source window under Wine against the simulated board: this program hosts the port and plays the main
// window's receive role (queue, 1 ms drain, the board's warning question, line ends to the source window), and
// drives the window through its own handlers and controls. Message boxes are answered by a watcher thread.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "base/win/Application.h"
#include "base/win/Registry.h"
#include "base/win/Timer.h"
#include "gui/win/Win.h"
#include "serial/CPort.h"
#include "base/StringList.h"
#include "shell/UploadInterfaces.h"
#include "shell/SourceEditing.h"
#include "shell/Terminal.h"
#include "shell/Unit2.h"
#include "shell/WarningDetector.h"
#include "shell/win/SourceUpload.h"
#include "testsupport/BoardTest.h"

using namespace kes;
using kes::test::BoardControl;
using kes::test::BoardLine;

namespace {

std::string WindowTextOf(HWND h) {
    char buffer[1024] = "";
    GetWindowTextA(h, buffer, sizeof buffer);
    return buffer;
}

// Answers the program's message boxes from another thread and records what they said.
class BoxWatcher {
public:
    struct Box {
        std::string caption, text;
        long boardLines = -1;  // lines the board had received when the box was seen
    };
    // Returns the button id for a box (IDOK, IDYES, IDNO).
    std::function<int(const Box&)> Policy = [](const Box& b) {
        return b.caption.rfind("Warning: ", 0) == 0 || b.caption.find('?') != std::string::npos ? IDYES : IDOK;
    };

    void Start() {
        stop_ = false;
        thread_ = std::thread([this] { Run(); });
    }
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    ~BoxWatcher() { Stop(); }
    std::vector<Box> Seen() {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }

private:
    void Run() {
        BoardControl board;
        board.Connect();
        while (!stop_) {
            std::vector<HWND> boxes;
            EnumWindows(
                [](HWND h, LPARAM p) -> BOOL {
                    DWORD pid = 0;
                    GetWindowThreadProcessId(h, &pid);
                    char cls[32] = "";
                    GetClassNameA(h, cls, sizeof cls);
                    if (pid == GetCurrentProcessId() && IsWindowVisible(h) && std::string(cls) == "#32770")
                        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&boxes));
            for (HWND h : boxes) {
                if (std::find(answered_.begin(), answered_.end(), h) != answered_.end()) continue;
                Box b;
                b.caption = WindowTextOf(h);
                if (HWND t = GetDlgItem(h, 0xFFFF)) b.text = WindowTextOf(t);
                if (board.Connected()) b.boardLines = static_cast<long>(board.Lines().size());
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    seen_.push_back(b);
                }
                answered_.push_back(h);
                PostMessageA(h, WM_COMMAND, MAKEWPARAM(Policy(b), BN_CLICKED), 0);
            }
            // Forget boxes that are gone (a handle may come back for a new box).
            std::erase_if(answered_, [](HWND h) { return !IsWindow(h) || !IsWindowVisible(h); });
            Sleep(15);
        }
    }

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Box> seen_;
    std::vector<HWND> answered_;
};

// The main window's part: its port feeds the program's terminal (receive path, 1 ms drain, the board's warning
// question), whose screen here is a string, and the log a list.
class MainWindowRole : private TerminalScreen {
public:
    MainWindowRole(TComPort& port, TSourceFile& window) : port_(port) {
        timer_.SetInterval(1);
        timer_.OnTimer = [this](TObject*) { Terminal.Tick(); };
        port_.OnRxChar = [this](TObject*, int count) {
            std::string chunk;
            port_.ReceiveText(chunk, count);
            Terminal.Received(chunk);
        };
        Terminal.SetLogSink({[] { return std::string("12:00:00"); },
                             [this](const std::string& line, bool) {
                                 log.push_back(line);
                                 if (OnLog) OnLog(line);
                             }});
        window.Connect(&port_, &Terminal);
        Terminal.SetUpload(&window.Upload());
    }
    ~MainWindowRole() override { Terminal.SetUpload(nullptr); }

    void SetEsp32() { Terminal.SetBoardType(TBoardType::ESP32); }

    TTerminal Terminal{*this};
    std::string terminal;
    std::vector<std::string> log;
    std::function<void(const std::string&)> OnLog;  // runs after each log line, on the GUI thread

private:
    std::uint64_t NowMs() override { return GetTickCount64(); }
    void ShowText(const TDrainedBatch& edit) override {
        ApplyDrainedBatch(terminal, edit);
        if (terminal.size() > 8192) terminal.erase(0, terminal.size() - 4096);
    }
    std::string ScreenText() override { return terminal; }
    void Beep() override {}
    void ShowHeldBack(bool) override {}
    void Forward(const std::string&) override {}
    bool AskWarning(const std::string& line) override {
        return MessageBoxA(nullptr, kBoardWarningQuestion, BoardWarningCaption(line).c_str(),
                           MB_YESNO | MB_ICONWARNING) == IDYES;
    }
    void Raise() override {}

    TComPort& port_;
    TTimer timer_;
};

// A folder of this test program's own, taken away again by RemoveTempFolder. Its name is a short (8.3) name
// itself: Wine makes up the short names of long ones from a hash, and among many like-named folders two share one,
// so that a short path through the folder may lead into the other.
std::string TempFolder() {
    char buffer[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, buffer);
    std::string folder = std::string(buffer) + "ksw" + std::to_string(GetCurrentProcessId() % 100000);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void RemoveTempFolder(const std::string& folder) {
    std::error_code error;
    if (!folder.empty()) std::filesystem::remove_all(folder, error);
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary);
    f << text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

bool LogHas(const std::vector<std::string>& log, const std::string& text) {
    for (const std::string& line : log)
        if (line.find(text) != std::string::npos) return true;
    return false;
}

std::vector<std::string> Texts(const std::vector<BoardLine>& lines) {
    std::vector<std::string> texts;
    for (const BoardLine& l : lines) texts.push_back(l.text);
    return texts;
}

// Runs `fn` on the GUI thread once, `ms` after now (inside the upload's wait).
class Later {
public:
    Later(unsigned ms, std::function<void()> fn) : fn_(std::move(fn)) {
        timer_.SetInterval(ms);
        timer_.OnTimer = [this](TObject*) {
            timer_.SetEnabled(false);
            fn_();
        };
    }

private:
    std::function<void()> fn_;
    TTimer timer_;
};

class SourceWindowWine : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        com_ = kes::test::BoardComPort();
        if (com_.empty()) GTEST_SKIP() << "KESTRUP_COM is not set: run under scripts/test.sh";
        ASSERT_TRUE(board_.Connect()) << "no board control";
        ASSERT_TRUE(board_.Reset());
        folder_ = TempFolder();
        TRegistry reg;
        reg.DeleteKey("\\Source");
        port_ = std::make_unique<TComPort>();
        port_->SetName("ComPort1");
        port_->SetPort(com_);
        port_->SetBaudRate(br115200);
        window_ = std::make_unique<TSourceFile>(nullptr);
        window_->DoCreate();
        main_ = std::make_unique<MainWindowRole>(*port_, *window_);
        port_->OpenPort();
        std::string junk;
        port_->ReceiveText(junk, 65536);
        board_.Ok("purge");
        Sleep(50);  // bytes already on the line come in their own time
        port_->ReceiveText(junk, 65536);
        board_.Reset();
        boxes_.Start();
    }
    void TearDown() override {
        boxes_.Stop();
        main_.reset();
        window_.reset();
        port_.reset();
        app_.reset();
        TRegistry reg;
        reg.DeleteKey("\\Source");  // the place and file these tests stored stay out of later tests' way
        RemoveTempFolder(folder_);
    }

    // Loads the text into the editor through a file of the test folder.
    void LoadText(const std::string& name, const std::string& text) {
        const std::string path = folder_ + "\\" + name;
        WriteFile(path, text);
        window_->LoadSource(path);
    }
    void SendAll() { window_->Button1->Click(); }

    std::unique_ptr<TApplication> app_;
    std::string com_, folder_;
    BoardControl board_;
    BoxWatcher boxes_;
    std::unique_ptr<TComPort> port_;
    std::unique_ptr<TSourceFile> window_;
    std::unique_ptr<MainWindowRole> main_;
};

TEST_F(SourceWindowWine, IncludeTreeFromTheReopenCommandReachesTheBoardInOrderAndPaced) {
    WriteFile(folder_ + "\\main.fs",
              "\\ main file of the test\r\n"
              ": m1 1 ;\r\n"
              "\\ include lib1.fs\r\n"
              "( log main after lib1 )\r\n"
              "\\ include nothere.fs\r\n"
              "\r\n"
              ": m2 2 ;\r\n");
    WriteFile(folder_ + "\\lib1.fs",
              ": l1a 3 ;\n"
              "#include <sub\\lib2.fs>\n"
              "\\ a comment line\n"
              ": l1b 4 ;\n");
    CreateDirectoryA((folder_ + "\\sub").c_str(), nullptr);
    WriteFile(folder_ + "\\sub\\lib2.fs",
              ": l2a 5 ;\r\n"
              "\\ include sub\\.\\lib2.fs\r\n"
              " \\ indented comment goes out\r\n"
              "#eof\r\n"
              ": never 6 ;\r\n");
    {
        TRegIniFile ini("");
        ini.WriteString("Source", "Filename", folder_ + "\\main.fs");
    }
    window_->Show();  // reads the last file from the registry
    EXPECT_EQ(window_->LastSourceFile, folder_ + "\\main.fs");
    window_->OpenRESENTfile1->Click();
    EXPECT_EQ(window_->StatusBar1->Panels()[1].Text(), folder_ + "\\main.fs");
    EXPECT_FALSE(window_->Shape1->Visible());
    // The include frame as each file's first and last log line found it: shown while a level is open, hidden
    // after every level, also while an outer one is still open.
    std::vector<std::pair<std::string, bool>> frameSeen;
    main_->OnLog = [&](const std::string& line) {
        if (line.find("\" found and to be parsed now") != std::string::npos ||
            line.find("\" parsed ") != std::string::npos)
            frameSeen.emplace_back(line, window_->IncludeFrame1->Visible());
    };

    SendAll();

    const std::vector<std::string> expected = {
        ": m1 1 ;", ": l1a 3 ;", ": l2a 5 ;", " \\ indented comment goes out", ": l1b 4 ;", "( log main after lib1 )",
        ": m2 2 ;"};
    EXPECT_EQ(Texts(board_.Lines()), expected);
    EXPECT_EQ(board_.Violations(), 0);
    const auto& log = main_->log;
    EXPECT_TRUE(LogHas(log, "Sourcefile parsing started"));
    EXPECT_TRUE(LogHas(log, "File \"lib1.fs\" found and to be parsed now"));
    EXPECT_TRUE(LogHas(log, "File \"sub\\lib2.fs\" found and to be parsed now"));
    EXPECT_TRUE(LogHas(log, "Include File sub\\.\\lib2.fs already included! SKIPPING it now!"));
    EXPECT_TRUE(LogHas(log, "File \"sub\\lib2.fs\" parsed until an \"EOF\" directive"));
    EXPECT_TRUE(LogHas(log, "File \"lib1.fs\" parsed "));
    EXPECT_TRUE(LogHas(log, "ERROR -Include file \"nothere.fs\" not found!"));
    EXPECT_TRUE(LogHas(log, "Sourcefile parsing completed - 1 include file NOT FOUND!"));
    EXPECT_EQ(window_->lbIncludeLevel->Tag, 0);
    EXPECT_EQ(window_->lbIncludeLevel->Caption(), "(Include level: 0)");
    EXPECT_FALSE(window_->IncludeFrame1->Visible());
    EXPECT_EQ(window_->IncludeFrame1->ControlCount(), 0);
    std::string seen;
    std::vector<bool> shown;
    for (const auto& [line, visible] : frameSeen) {
        seen += line + (visible ? " (shown)\n" : " (hidden)\n");
        shown.push_back(visible);
    }
    // lib1 and lib2 open, lib2 ends (its eof line and its last line), then lib1 ends with lib2's level closed.
    EXPECT_EQ(shown, (std::vector<bool>{true, true, true, true, false})) << seen;
    EXPECT_FALSE(window_->Uploading());
    EXPECT_EQ(window_->StatusBar1->Panels()[2].Text(), "Upload INCOMPLETE - 1 include file not found!");
    const auto boxes = boxes_.Seen();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Include File sub\\.\\lib2.fs already included! SKIPPING it now!");
    EXPECT_EQ(boxes[1].text, "Include File not found: nothere.fs");
    EXPECT_TRUE(window_->Button1->Enabled());
    EXPECT_TRUE(window_->Openasourcetextfile1->Enabled());
}

TEST_F(SourceWindowWine, EspBoardsGetLinesEndedByLineFeed) {
    main_->SetEsp32();
    ASSERT_TRUE(board_.Ok("mode esp32"));
    LoadText("esp.fs", ": e1 1 ;\r\n: e2 2 ;\r\n: e3 3 ;\r\n");
    SendAll();
    EXPECT_EQ(Texts(board_.Lines()), (std::vector<std::string>{": e1 1 ;", ": e2 2 ;", ": e3 3 ;"}));
    EXPECT_EQ(board_.Violations(), 0);
    EXPECT_TRUE(LogHas(main_->log, "Sourcefile parsing completed"));
}

TEST_F(SourceWindowWine, SilentBoardTimesOutAfterFiveSecondsAndCancels) {
    ASSERT_TRUE(board_.Ok("silent-after 2"));
    LoadText("silent.fs", ": s1 1 ;\r\n: s2 2 ;\r\n: s3 3 ;\r\n: s4 4 ;\r\n: s5 5 ;\r\n");
    const DWORD start = GetTickCount();
    SendAll();
    const DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 4800u);
    EXPECT_LT(took, 8000u);
    EXPECT_EQ(board_.Lines().size(), 3u);
    EXPECT_TRUE(LogHas(main_->log, "Source upload had a TIMEOUT - did not get a CR from MCU"));
    EXPECT_TRUE(LogHas(main_->log, "Upload will be CANCELED"));
    EXPECT_TRUE(LogHas(main_->log, "Sourcefile parsing CANCELED!"));
    EXPECT_EQ(window_->StatusBar1->Panels()[2].Text(), "Upload CANCELED!");
    // Keeps its place (not back to 0): the last line handed over, as the lines go out ahead of the answers.
    EXPECT_EQ(window_->ProgressBar1->Position(), 4);
}

TEST_F(SourceWindowWine, RedefinitionAsksBeforeTheNextLineAndYesGoesOn) {
    LoadText("redef.fs", ": twice 1 ;\r\n: twice 2 ;\r\n: after 3 ;\r\n");
    SendAll();
    const auto boxes = boxes_.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption.rfind("Warning: ", 0), 0u);
    EXPECT_NE(boxes[0].caption.find(" twice ALREADY DEFINED"), std::string::npos);
    EXPECT_EQ(boxes[0].boardLines, 2) << "the next line was written before the question was answered";
    EXPECT_EQ(board_.Lines().size(), 3u);
    EXPECT_EQ(board_.Violations(), 0);
    EXPECT_TRUE(LogHas(main_->log, "Sourcefile parsing completed"));
}

TEST_F(SourceWindowWine, RedefinitionAnsweredNoStopsTheUpload) {
    boxes_.Policy = [](const BoxWatcher::Box& b) { return b.caption.rfind("Warning: ", 0) == 0 ? IDNO : IDOK; };
    LoadText("redef.fs", ": twice 1 ;\r\n: twice 2 ;\r\n: after 3 ;\r\n: after2 4 ;\r\n");
    SendAll();
    Sleep(200);  // that no more lines go out: no event to wait for
    EXPECT_EQ(board_.Lines().size(), 2u);
    EXPECT_TRUE(LogHas(main_->log, "Sourcefile parsing CANCELED!"));
    EXPECT_EQ(window_->StatusBar1->Panels()[2].Text(), "Upload CANCELED!");
}

std::string ManyLines(const std::string& prefix, int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += ": " + prefix + std::to_string(i) + " " + std::to_string(i) + " ;\r\n";
    return text;
}

TEST_F(SourceWindowWine, CancelMidUploadStopsAndCommandsAreOffMeanwhile) {
    ASSERT_TRUE(board_.Ok("delay 40"));
    LoadText("long.fs", ManyLines("c", 60));
    const std::string before = window_->Memo1->Text();
    bool offMeanwhile = false, secondRefused = false;
    Later cancel(400, [&] {
        offMeanwhile = !window_->Openasourcetextfile1->Enabled() && !window_->OpenRESENTfile1->Enabled() &&
                       !window_->SureClearscreen1->Enabled() && !window_->ConvertSourcefiletoUPPERCASE1->Enabled() &&
                       !window_->Button1->Enabled();
        window_->SureClearscreen1Click(nullptr);               // refused
        window_->ConvertSourcefiletoUPPERCASE1Click(nullptr);  // refused
        secondRefused = window_->Upload().Run(UploadKind::AllText).outcome == UploadOutcome::AlreadyRunning;
        PostMessageA(static_cast<HWND>(window_->btCancel->Handle()), BM_CLICK, 0, 0);
    });
    SendAll();
    EXPECT_TRUE(offMeanwhile);
    EXPECT_TRUE(secondRefused);
    EXPECT_EQ(window_->Memo1->Text(), before);
    const size_t sent = board_.Lines().size();
    EXPECT_GT(sent, 1u);
    EXPECT_LT(sent, 60u);
    Sleep(300);  // that no more lines go out: no event to wait for
    EXPECT_EQ(board_.Lines().size(), sent) << "lines went out after the cancel";
    EXPECT_TRUE(LogHas(main_->log, "Sourcefile parsing CANCELED!"));
    EXPECT_TRUE(window_->Button1->Enabled());
    EXPECT_TRUE(window_->SureClearscreen1->Enabled());
    // The next upload starts afresh.
    ASSERT_TRUE(board_.Reset());
    LoadText("short.fs", ManyLines("d", 3));
    SendAll();
    EXPECT_EQ(board_.Lines().size(), 3u);
    EXPECT_EQ(window_->StatusBar1->Panels()[2].Text(), "All text send to processor");
}

TEST_F(SourceWindowWine, DisconnectMidUploadStopsAtOnce) {
    ASSERT_TRUE(board_.Ok("delay 40"));
    LoadText("long.fs", ManyLines("p", 60));
    Later disconnect(400, [&] { port_->ClosePort(); });
    const DWORD start = GetTickCount();
    SendAll();
    EXPECT_LT(GetTickCount() - start, 2500u) << "waited for the time-out instead";
    EXPECT_LT(board_.Lines().size(), 60u);
    EXPECT_TRUE(LogHas(main_->log, "Source upload stopped: COM port closed"));
    EXPECT_TRUE(LogHas(main_->log, "Sourcefile parsing CANCELED!"));
    EXPECT_FALSE(LogHas(main_->log, "TIMEOUT"));
    EXPECT_EQ(window_->lbIncludeLevel->Tag, 0);
}

TEST_F(SourceWindowWine, ClosingTheWindowOrTheProgramMidUploadCancelsCleanly) {
    ASSERT_TRUE(board_.Ok("delay 40"));
    WriteFile(folder_ + "\\inc.fs", ManyLines("i", 60));
    LoadText("top.fs", "\\ include inc.fs\r\n: top 1 ;\r\n");
    window_->Show();
    Later close(400, [&] { window_->Close(); });
    SendAll();
    EXPECT_FALSE(window_->Visible());
    EXPECT_LT(board_.Lines().size(), 60u);
    EXPECT_TRUE(LogHas(main_->log, "File \"inc.fs\" upload CANCELED!"));
    EXPECT_TRUE(LogHas(main_->log, "Sourcefile parsing CANCELED!"));
    EXPECT_EQ(window_->IncludeFrame1->ControlCount(), 0);
    EXPECT_FALSE(window_->IncludeFrame1->Visible());
    EXPECT_EQ(window_->lbIncludeLevel->Tag, 0);

    // The program is asked to end: the upload stops and the quit request is handed back to the outer loop.
    main_->log.clear();
    ASSERT_TRUE(board_.Reset());
    ASSERT_TRUE(board_.Ok("delay 40"));
    Later quit(400, [] { PostQuitMessage(3); });
    SendAll();
    EXPECT_LT(board_.Lines().size(), 60u);
    EXPECT_TRUE(LogHas(main_->log, "Source upload stopped: the program is closing"));
    MSG msg;
    bool quitBack = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_QUIT) quitBack = true;
    EXPECT_TRUE(quitBack);
}

TEST_F(SourceWindowWine, ViewerAndEditorOpenTheSameFileWhateverTheCurrentFolder) {
    CreateDirectoryA((folder_ + "\\my libs").c_str(), nullptr);
    WriteFile(folder_ + "\\my libs\\core.fs", ": core 1 ;\r\n");
    LoadText("view.fs", "#include <my libs\\core.fs>\r\n\\ include \"my libs\\core.fs\"\r\n");
    char saved[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, saved);
    SetCurrentDirectoryA("C:\\");  // as a file dialog might
    std::string editorArgs;
    window_->OpenInTextEditor = [&](const std::string& p) { editorArgs = p; };

    // "<my libs\core.fs>" holds a blank: the word under the caret is "<my"; the name is taken from the brackets.
    ASSERT_TRUE(window_->OpenViewer(ViewerFileName("<my libs\\core.fs>")));
    EXPECT_TRUE(window_->Memo3->Visible());
    EXPECT_FALSE(window_->Panel1->Enabled());
    EXPECT_EQ(window_->Memo3->Lines().Count(), 1);
    EXPECT_EQ(window_->Memo3->Lines()[0], ": core 1 ;");
    window_->Memo3MouseDown(nullptr, mbRight, 0, 1, 1);
    EXPECT_EQ(editorArgs, "\"" + folder_ + "\\my libs\\core.fs\"");
    EXPECT_FALSE(window_->Memo3->Visible());
    EXPECT_TRUE(window_->Panel1->Enabled());

    // A double click on a quoted name without blanks.
    LoadText("view2.fs", "\\ include \"lib.fs\"\r\n");
    WriteFile(folder_ + "\\lib.fs", "x\r\n");
    window_->Memo1->SetSelection(14, 14);
    window_->Memo1DblClick(nullptr);
    EXPECT_EQ(window_->Edit2->Text(), "lib.fs");
    EXPECT_TRUE(window_->Memo3->Visible());
    window_->Memo3DblClick(nullptr);
    EXPECT_FALSE(window_->Memo3->Visible());

    // A missing file: the warning, and the viewer stays shut.
    EXPECT_FALSE(window_->OpenViewer("gone.fs"));
    EXPECT_FALSE(window_->Memo3->Visible());
    SetCurrentDirectoryA(saved);
    const auto boxes = boxes_.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "File not found!!");
}

TEST_F(SourceWindowWine, ChangeMarkSaveInTheSameFileCaseAndSearch) {
    LoadText("edit.fs", "\\ \xE4 text with Marker one\r\n: w marker ;\r\n");
    EXPECT_FALSE(window_->Shape1->Visible());
    window_->Memo1->SetSelection(0, 0);
    window_->Memo1->ReplaceSelection("X");
    EXPECT_TRUE(window_->Shape1->Visible());
    EXPECT_EQ(window_->StatusBar1->Panels()[2].Text(), "Text-Changed/Updated!");
    EXPECT_EQ(window_->StatusBar1->Panels()[0].Text(), "TextSize 41 / 0");

    window_->ConvertSourcefiletoUPPERCASE1Click(nullptr);
    EXPECT_EQ(window_->Memo1->Lines()[0], "X\\ \xE4 TEXT WITH MARKER ONE");

    window_->Edit1->SetText("marker");
    window_->btFindClick(window_->btFind);
    EXPECT_EQ(window_->Memo1->SelStart(), 15);
    EXPECT_EQ(window_->Memo1->SelLength(), 6);
    window_->btAgainClick(window_->btAgain);
    EXPECT_EQ(window_->Memo1->SelStart(), 31);
    window_->btAgainClick(window_->btAgain);  // nothing further: the selection stays
    EXPECT_EQ(window_->Memo1->SelStart(), 31);

    window_->Savecontentinthesamefile1Click(nullptr);  // the watcher answers Yes
    EXPECT_EQ(ReadFile(folder_ + "\\edit.fs"), "X\\ \xE4 TEXT WITH MARKER ONE\r\n: W MARKER ;\r\n");
    EXPECT_FALSE(window_->Shape1->Visible());
    EXPECT_EQ(window_->StatusBar1->Panels()[2].Text(), "");
    const auto boxes = boxes_.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Save current source in this/same file?");
    EXPECT_EQ(boxes[0].text, folder_ + "\\edit.fs");

    window_->SureClearscreen1Click(nullptr);
    EXPECT_EQ(window_->Memo1->Text(), "");
    EXPECT_EQ(window_->StatusBar1->Panels()[1].Text(), "");
    EXPECT_FALSE(window_->Shape1->Visible());
    EXPECT_EQ(window_->LastSourceFile, "");  // only opening and saving name it
}

TEST_F(SourceWindowWine, AFailedOpenKeepsTheOldNameAndTheBaseFolder) {
    LoadText("kept.fs", ": k 1 ;\r\n");
    EXPECT_THROW(window_->LoadSource(folder_ + "\\absent\\x.fs"), std::exception);
    EXPECT_EQ(window_->FileName(), folder_ + "\\kept.fs");
    EXPECT_EQ(window_->BaseFolder(), folder_);

    // A UTF-16 file (NUL bytes) would be cut at its first NUL: it is refused with a message that says why, and
    // the old text and name stay, so no save can shorten the file.
    const std::string wide("\xFF\xFE:\0 \0w\0 \0;\0\r\0\n\0", 16);
    WriteFile(folder_ + "\\wide.fs", wide);
    try {
        window_->LoadSource(folder_ + "\\wide.fs");
        ADD_FAILURE() << "a file with NUL bytes was loaded as " << window_->Memo1->Text();
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("NUL bytes"), std::string::npos) << e.what();
    }
    EXPECT_EQ(window_->Memo1->Text(), ": k 1 ;\r\n");
    EXPECT_EQ(window_->FileName(), folder_ + "\\kept.fs");
    window_->Savecontentinthesamefile1Click(nullptr);  // the watcher answers Yes
    EXPECT_EQ(ReadFile(folder_ + "\\wide.fs"), wide);
}

// Names in the text that are no regular file (a pipe, a device, a reserved name) take the not-found path at
// once instead of blocking the window; a file above the size limit is not read; a short 8.3 name or trailing
// dots name a file already taken.
TEST_F(SourceWindowWine, IncludesAndTheViewerReadOnlyRegularFilesWithinTheLimit) {
    const std::string pipe = "\\\\.\\pipe\\kestrup-test-" + std::to_string(GetCurrentProcessId());
    UniqueFile server(
        CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr));
    ASSERT_TRUE(server);
    // Should a read wait on the pipe after all, its server goes away after 8 s and the test fails.
    std::atomic<bool> done{false}, blocked{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 800 && !done; ++i) Sleep(10);
        if (!done) blocked = true;
        server.Reset();
    });
    WriteFile(folder_ + "\\longfilename.fs", ": long ;\r\n");
    WriteFile(folder_ + "\\big.fs", std::string(kMaxIncludeFileBytes + 1, ' '));
    char shortName[MAX_PATH] = "";
    ASSERT_GT(GetShortPathNameA((folder_ + "\\longfilename.fs").c_str(), shortName, MAX_PATH), 0u)
        << "error " << GetLastError();
    const std::string shortBase = std::string(shortName).substr(std::string(shortName).find_last_of('\\') + 1);
    ASSERT_NE(LowerAZ(shortBase), "longfilename.fs");

    LoadText("devices.fs",
             "\\ include longfilename.fs\r\n"
             "\\ include " +
                 shortBase +
                 "\r\n"
                 "\\ include longfilename.fs.\r\n"
                 "\\ include " +
                 pipe +
                 "\r\n"
                 "\\ include aux\r\n"
                 "\\ include \\\\.\\" +
                 com_ +
                 "\r\n"
                 "\\ include big.fs\r\n"
                 ": end ;\r\n");
    SendAll();
    const bool viewerOpened = window_->OpenViewer(pipe) || window_->OpenViewer("aux");
    done = true;
    watchdog.join();
    EXPECT_FALSE(blocked) << "a read waited on the pipe";
    EXPECT_FALSE(viewerOpened);

    EXPECT_EQ(Texts(board_.Lines()), (std::vector<std::string>{": long ;", ": end ;"}));
    const auto& log = main_->log;
    EXPECT_TRUE(LogHas(log, "Include File " + LowerAZ(shortBase) + " already included!"));
    EXPECT_TRUE(LogHas(log, "Include File longfilename.fs. already included!"));
    EXPECT_TRUE(LogHas(log, "ERROR -Include file \"" + LowerAZ(pipe) + "\" not found!"));
    EXPECT_TRUE(LogHas(log, "ERROR -Include file \"aux\" not found!"));
    EXPECT_TRUE(LogHas(log, "ERROR -Include file \"\\\\.\\" + LowerAZ(com_) + "\" not found!"));
    EXPECT_TRUE(LogHas(log, "ERROR -Include file \"big.fs\" is larger than 16 MiB - not read!"));
    EXPECT_TRUE(LogHas(log, "Sourcefile parsing completed - 4 include files NOT FOUND!"));
    DeleteFileA((folder_ + "\\big.fs").c_str());
}

TEST_F(SourceWindowWine, ThePlaceIsStoredOnCloseAndReadOnShow) {
    window_->Show();
    window_->SetBounds(120, 130, 700, 400);
    window_->Close();
    TRegIniFile ini("");
    EXPECT_EQ(ini.ReadString("Source", "Left", ""), "120");
    EXPECT_EQ(ini.ReadString("Source", "Top", ""), "130");
    EXPECT_EQ(ini.ReadString("Source", "Width", ""), "700");
    window_->SetBounds(0, 0, 300, 300);
    window_->Show();
    EXPECT_EQ(window_->Left(), 120);
    EXPECT_EQ(window_->Height(), 400);

    // Stored on a monitor that is gone: shown on the screen there is, whole.
    window_->Close();
    ini.WriteInteger("Source", "Left", 5000);
    ini.WriteInteger("Source", "Top", -3000);
    window_->Show();
    RECT screen{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    EXPECT_GE(window_->Left(), screen.left);
    EXPECT_LE(window_->Left() + window_->Width(), screen.right);
    EXPECT_GE(window_->Top(), screen.top);
    EXPECT_EQ(window_->Width(), 700);
}

}  // namespace

// ---- with the program's own main window and log window, made as the program makes them

#include "shell/Unit1.h"
#include "shell/Unit4.h"
#include "shell/win/LocalTimeText.h"
#include "shell/win/SourceWindowStart.h"

namespace {

class ProgramWindowsWine : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        com_ = kes::test::BoardComPort();
        if (com_.empty()) GTEST_SKIP() << "KESTRUP_COM is not set: run under scripts/test.sh";
        ASSERT_TRUE(board_.Connect()) << "no board control";
        ASSERT_TRUE(board_.Reset());
        folder_ = TempFolder();
        // Made and connected as the program does.
        main_ = CreateForm<TKestrup>();
        source_ = static_cast<TSourceFile*>(CreateSourceWindow());
        log_ = CreateForm<TLOGform>();
        TTerminal& terminal = main_->Terminal();
        terminal.SetLogSink(
            TLogSink{LocalTimeText, [this](const std::string& line, bool scroll) { log_->AddLine(line, scroll); }});
        source_->Connect(main_->ComPort1, &terminal);
        terminal.SetUpload(&source_->Upload());
        main_->SourceWindow = source_;
        main_->LogWindow = log_;
        TComPort& port = *main_->ComPort1;
        port.SetPort(com_);
        port.SetBaudRate(br115200);
        port.OpenPort();
        std::string junk;
        port.ReceiveText(junk, 65536);
        board_.Ok("purge");
        Sleep(50);  // bytes already on the line come in their own time
        port.ReceiveText(junk, 65536);
        board_.Reset();
        boxes_.Start();
    }
    void TearDown() override {
        boxes_.Stop();
        if (main_ && main_->ComPort1->Connected()) main_->ComPort1->ClosePort();
        if (main_) main_->Terminal().SetUpload(nullptr);
        delete log_;
        delete source_;
        delete main_;
        Screen().MainForm = nullptr;
        app_.reset();
        RemoveTempFolder(folder_);
    }
    std::vector<std::string> Log() const {
        std::vector<std::string> lines;
        for (int i = 0; i < log_->ListBox1->Items().Count(); ++i) lines.push_back(log_->ListBox1->Items()[i]);
        return lines;
    }
    void LoadText(const std::string& name, const std::string& text) {
        WriteFile(folder_ + "\\" + name, text);
        source_->LoadSource(folder_ + "\\" + name);
    }

    std::unique_ptr<TApplication> app_;
    std::string com_, folder_;
    BoardControl board_;
    BoxWatcher boxes_;
    TKestrup* main_ = nullptr;
    TSourceFile* source_ = nullptr;
    TLOGform* log_ = nullptr;
};

TEST_F(ProgramWindowsWine, UploadThroughTheMainWindowsReceivePathAndLogWindow) {
    WriteFile(folder_ + "\\plib.fs", ": pl1 1 ;\r\n( include pself.fs )\r\n: pl2 2 ;\r\n");
    WriteFile(folder_ + "\\pself.fs", ": ps 3 ;\r\n");
    LoadText("pmain.fs", "\\ log begin\r\n: pm1 4 ;\r\n\\ include plib.fs\r\n: pm2 5 ;\r\n");
    source_->Button1Click(source_->Button1);
    EXPECT_EQ(Texts(board_.Lines()), (std::vector<std::string>{": pm1 4 ;", ": pl1 1 ;", "( include pself.fs )",
                                                               ": ps 3 ;", ": pl2 2 ;", ": pm2 5 ;"}));
    EXPECT_EQ(board_.Violations(), 0);
    const auto log = Log();
    EXPECT_TRUE(LogHas(log, " File \"plib.fs\" found and to be parsed now "));
    EXPECT_TRUE(LogHas(log, " File \"pself.fs\" parsed "));
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find(" Sourcefile parsing completed"), std::string::npos);
    EXPECT_NE(main_->Memo1->Text().find(": pm2 5 ; ok"), std::string::npos);
    EXPECT_FALSE(source_->Uploading());
}

TEST_F(ProgramWindowsWine, TheMainWindowsQuestionAnsweredNoPressesCancel) {
    boxes_.Policy = [](const BoxWatcher::Box& b) { return b.caption.rfind("Warning: ", 0) == 0 ? IDNO : IDOK; };
    LoadText("pdup.fs", ": pdup 1 ;\r\n: pdup 2 ;\r\n: pnext 3 ;\r\n");
    source_->Button1Click(source_->Button1);
    Sleep(200);  // that no more lines go out: no event to wait for
    EXPECT_EQ(board_.Lines().size(), 2u);
    const auto boxes = boxes_.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kBoardWarningQuestion);
    EXPECT_EQ(boxes[0].boardLines, 2);
    EXPECT_TRUE(LogHas(Log(), " Warning: "));
    EXPECT_TRUE(LogHas(Log(), "Sourcefile parsing CANCELED!"));
}

TEST_F(ProgramWindowsWine, DisconnectFromTheMenuStopsTheUploadAtOnce) {
    ASSERT_TRUE(board_.Ok("delay 40"));
    LoadText("plong.fs", ManyLines("q", 60));
    Later disconnect(400, [&] { main_->Disconnect1Click(nullptr); });
    const DWORD start = GetTickCount();
    source_->Button1Click(source_->Button1);
    EXPECT_LT(GetTickCount() - start, 2500u);
    EXPECT_LT(board_.Lines().size(), 60u);
    EXPECT_TRUE(LogHas(Log(), "Source upload stopped: COM port closed"));
    EXPECT_TRUE(LogHas(Log(), "Sourcefile parsing CANCELED!"));
    EXPECT_EQ(source_->lbIncludeLevel->Tag, 0);
}

}  // namespace
