// One upload by Kestrup.exe (or PROGRAM, another build of it beside this program) as a user runs it: the program
// started with its settings fresh, the port preset and the last source file in the registry; "Connect", the log
// window and the source window shown; "Open RESENT file"; then a click posted to "Send all text to processor".
// Waits until the log says the upload completed, and checks that the terminal shows every answer in order. The
// board's figures (times, violations, reactions) are read by bench/upload.sh from the board itself, as for the
// reference uploader.
//   upload_bench MAIN_FS EXPECTED_LINES_FILE "BOARD SETTINGS;..." [PROGRAM [BAUD]]
// (needs KESTRUP_COM and KESTRUP_BOARD_CTL)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shell/tests/win/KestrupDriver.h"
#include "testsupport/BoardTest.h"

using namespace kes::test;

namespace {

struct Found {
    DWORD pid = 0;
    std::string text;
    HWND hwnd = nullptr;
};

HWND TopWindow(DWORD pid, const std::string& title) {
    Found f{pid, title};
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            auto* f = reinterpret_cast<Found*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner != f->pid || !IsWindowVisible(h) || WindowText(h) != f->text) return TRUE;
            f->hwnd = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.hwnd;
}

HWND Child(HWND parent, const std::string& text) {
    Found f{0, text};
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM p) -> BOOL {
            auto* f = reinterpret_cast<Found*>(p);
            if (WindowText(h) != f->text) return TRUE;
            f->hwnd = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.hwnd;
}

// The longest text among the window's multi-line edits (the source memo once a file is loaded).
LRESULT LongestMemo(HWND parent) {
    LRESULT longest = 0;
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM p) -> BOOL {
            char cls[16] = "";
            GetClassNameA(h, cls, sizeof cls);
            if (_stricmp(cls, "Edit") == 0 && (GetWindowLongA(h, GWL_STYLE) & ES_MULTILINE)) {
                auto* best = reinterpret_cast<LRESULT*>(p);
                *best = std::max(*best, SendMessageA(h, WM_GETTEXTLENGTH, 0, 0));
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&longest));
    return longest;
}

void MenuOf(HWND window, const std::string& item) {
    PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(MenuCommandOf(window, item)), 0);
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool LogHas(KestrupProcess& k, const std::string& text) {
    for (const std::string& line : k.LogLines())
        if (line.find(text) != std::string::npos) return true;
    return false;
}

// The system's time as Unix seconds (Wine's system time is the host's): bench/upload.sh lines these moments up with its
// samples of the program's CPU time, which it reads from the host.
double UnixSeconds() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long t = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (static_cast<double>(t) - 116444736000000000.0) / 1e7;
}

int Fail(const char* what) {
    std::fprintf(stderr, "upload_bench: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return Fail("usage: upload_bench MAIN_FS EXPECTED_LINES_FILE \"BOARD SETTINGS;...\" [PROGRAM]");
    const std::string program = argc > 4 ? argv[4] : "Kestrup.exe";
    const int baud = argc > 5 ? std::atoi(argv[5]) : 115200;
    const std::string com = BoardComPort();
    BoardControl board;
    if (com.empty() || !board.Connect()) return Fail("no simulated board (run under bench/upload.sh)");
    const std::vector<std::string> expected = ReadLines(argv[2]);

    board.Reset();
    ResetTerminalSettings();
    PresetPortSettings(com, baud);
    WriteSetting("Source", "Filename", argv[1]);
    KestrupProcess k;
    std::string error;
    if (!k.Start(error, program)) return Fail(error.c_str());
    k.Menu("Connect1");
    if (!WaitUntil([&] { return board.Lines().size() >= 2; })) return Fail("Connect did not reach the board");
    Wait(300);
    board.Reset();
    std::stringstream settings(argv[3]);
    for (std::string command; std::getline(settings, command, ';');)
        if (!command.empty() && !board.Ok(command)) return Fail(("board refused: " + command).c_str());

    k.Menu("Log1");
    k.Menu("SourceFileWindow1");
    HWND source = nullptr;
    if (!WaitUntil([&] { return (source = TopWindow(k.ProcessId(), "SourceFile")) != nullptr; }))
        return Fail("no source window");
    MenuOf(source, "OpenRESENTfile1");
    if (!WaitUntil([&] { return LongestMemo(source) > 0; })) return Fail("the last file was not reopened");
    HWND send = Child(source, "Send all text to processor");
    if (!send) return Fail("no \"Send all text to processor\" button");
    k.Sync();

    const double clicked = UnixSeconds();
    PostMessageA(send, BM_CLICK, 0, 0);
    // Asked cheaply (a count, not the lines), so that the board's loop is not kept from the line meanwhile.
    const auto linesIn = [&] { return std::atol(board.Command("count").c_str() + 2) >= static_cast<long>(expected.size()); };
    if (!WaitUntil(
            [&] {
                Wait(200);
                return linesIn();
            },
            600000))
        return Fail("the board did not get every line");
    const double allIn = UnixSeconds();
    if (!WaitUntil(
            [&] {
                Wait(200);
                return LogHas(k, "Sourcefile parsing completed");
            },
            60000))
        return Fail("the upload did not complete");

    // The terminal shows every answer, in order, after what Connect brought.
    std::string answers;
    for (const std::string& line : expected) answers += line + " ok\r\n";
    const std::string memo = k.MemoText();
    const bool shown =
        memo.size() >= answers.size() && memo.compare(memo.size() - answers.size(), answers.size(), answers) == 0;
    std::printf("terminal_shows_every_answer %s\n", shown ? "yes" : "no");
    // The moments of the upload (the click to the last line at the board) and of two idle seconds after it.
    Wait(500);
    const double idleFrom = UnixSeconds();
    Wait(2000);
    std::printf("moments %.3f %.3f %.3f %.3f\n", clicked, allIn, idleFrom, UnixSeconds());
    k.Close(20000);
    return shown ? 0 : 1;
}
