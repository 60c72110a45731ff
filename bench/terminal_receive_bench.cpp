// Receive speed of the terminal: the simulated board sends N bytes as fast as the pty takes them, to a minimal
// reader (the COM port read in a loop), to a plain edit reader (the same reads, appended to a visible multi-line
// EDIT once a screen refresh: what the edit control itself costs), to Kestrup.exe and to KestrupUnskinned.exe (the
// same program whose skin stays off), taking turns round by round; every byte must appear in the terminal memo.
// Prints the medians, the ratios, what the skin costs, the bytes lost or changed, and for N of more than 1 MiB the
// time of the first and of the last MiB. With "profile", one more run of KestrupTrace.exe (the trace build) tells,
// per MiB, how much of that time the memo's edit control took in its own messages and how much was left to the
// program.
//   terminal_receive_bench [N [ROUNDS [profile]]]   (default 1 MiB, 3 rounds; needs KESTRUP_COM, KESTRUP_BOARD_CTL)
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/TerminalLines.h"
#include "shell/tests/win/KestrupDriver.h"
#include "testsupport/BoardTest.h"

using namespace kes::test;

namespace {

// Queues the payload on the board as a few large writes (control lines stay below the board's 64 KiB limit).
bool QueuePayload(BoardControl& board, const std::string& payload) {
    constexpr size_t kPart = 40000;
    for (size_t at = 0; at < payload.size(); at += kPart) {
        std::string command = "text ";
        for (char c : payload.substr(at, kPart)) {
            if (c == '\r')
                command += "\\r";
            else if (c == '\n')
                command += "\\n";
            else if (c == '\\')
                command += "\\\\";
            else
                command += c;
        }
        if (!board.Ok(command)) return false;
    }
    return true;
}

constexpr size_t kMiB = 1u << 20;

double Seconds(ULONGLONG fromMs) { return static_cast<double>(GetTickCount64() - fromMs) / 1000.0; }

// When each whole MiB had come, in seconds from the start (the last entry: all of it).
struct Progress {
    std::vector<double> at;
    void Saw(size_t bytes, double seconds, size_t n) {
        while (at.size() < n / kMiB && bytes >= (at.size() + 1) * kMiB) at.push_back(seconds);
        if (bytes >= n && at.size() == n / kMiB) at.push_back(seconds);
    }
    double First() const { return at.empty() ? 0 : at.front(); }
    // The last whole MiB (of at least two).
    double Last(size_t n) const {
        const size_t whole = n / kMiB;
        return whole >= 2 && at.size() > whole - 1 ? at[whole - 1] - at[whole - 2] : 0;
    }
};

// The reference reader: every read returns at once with what is waiting; an empty read sleeps 1 ms.
std::string ReadAll(HANDLE port, size_t n, ULONGLONG startMs, Progress& progress) {
    COMMTIMEOUTS t{MAXDWORD, 0, 0, 0, 0};
    SetCommTimeouts(port, &t);
    OVERLAPPED ov{};
    ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::string got;
    char buf[65536];
    while (got.size() < n && Seconds(startMs) < 120) {
        DWORD read = 0;
        ResetEvent(ov.hEvent);
        if (!ReadFile(port, buf, sizeof buf, &read, &ov)) {
            if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(port, &ov, &read, TRUE)) break;
        }
        if (read == 0) Sleep(1);
        got.append(buf, read);
        progress.Saw(got.size(), Seconds(startMs), n);
    }
    CloseHandle(ov.hEvent);
    return got;
}

// The plain edit reader: the same reads, and what came is appended to a visible multi-line EDIT (the terminal
// memo's styles, font and window size) once a screen refresh, EM_SETSEL to the end and EM_REPLACESEL, the
// messages pumped between reads. Returns the control's text.
std::string ReadIntoEdit(HANDLE port, size_t n, ULONGLONG startMs, Progress& progress) {
    COMMTIMEOUTS t{MAXDWORD, 0, 0, 0, 0};
    SetCommTimeouts(port, &t);
    HFONT font = CreateFontA(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Courier New");
    HWND top = CreateWindowExA(0, "STATIC", "plain edit reader", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                               354, 313, 1192, 494, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    RECT rc;
    GetClientRect(top, &rc);
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN |
                                    ES_NOHIDESEL,
                                0, 41, rc.right, rc.bottom - 82, top, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(edit, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    const auto pump = [] {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    };
    pump();
    OVERLAPPED ov{};
    ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::string waiting;
    size_t shown = 0;
    ULONGLONG lastAppend = 0;
    char buf[65536];
    while (shown < n && Seconds(startMs) < 120) {
        DWORD read = 0, errors = 0;
        COMSTAT stat{};
        // Read only what is waiting: once the board has sent everything, a read here would wait for more.
        if (waiting.size() + shown < n && ClearCommError(port, &errors, &stat) && stat.cbInQue > 0) {
            ResetEvent(ov.hEvent);
            if (!ReadFile(port, buf, std::min<DWORD>(sizeof buf, stat.cbInQue), &read, &ov)) {
                if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(port, &ov, &read, TRUE)) break;
            }
        }
        waiting.append(buf, read);
        if (!waiting.empty() && GetTickCount64() - lastAppend >= 16) {
            const LRESULT end = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
            SendMessageA(edit, EM_SETSEL, end, end);
            SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(waiting.c_str()));
            shown += waiting.size();
            waiting.clear();
            lastAppend = GetTickCount64();
            progress.Saw(shown, Seconds(startMs), n);
        }
        pump();
        if (read == 0) Sleep(1);
    }
    CloseHandle(ov.hEvent);
    const int length = GetWindowTextLengthA(edit);
    std::string got(static_cast<size_t>(length) + 1, '\0');
    got.resize(static_cast<size_t>(std::max(0, GetWindowTextA(edit, got.data(), length + 1))));
    DestroyWindow(top);
    pump();
    DeleteObject(font);
    return got;
}

size_t Differences(const std::string& got, const std::string& want) {
    size_t diff = got.size() > want.size() ? got.size() - want.size() : want.size() - got.size();
    for (size_t i = 0; i < got.size() && i < want.size(); ++i) diff += got[i] != want[i];
    return diff;
}

// One reception into the program's terminal: seconds until the memo holds n bytes (negative when it did not
// start); `lost` gets the bytes lost or changed.
double KestrupSeconds(BoardControl& board, const std::string& com, const std::string& program, const std::string& want,
                      size_t& lost, Progress& progress) {
    const size_t n = want.size();
    board.Reset();
    ResetTerminalSettings();
    PresetPortSettings(com);
    KestrupProcess k;
    std::string error;
    if (!k.Start(error, program)) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), error.c_str());
        return -1;
    }
    k.Menu("Connect1");
    WaitUntil([&] { return k.MemoText().find(" ok\r\n ok\r\n") != std::string::npos; }, 10000);
    k.Menu("SureClearscreen1");
    WaitUntil([&] { return k.MemoText().empty(); }, 5000);
    const ULONGLONG t0 = GetTickCount64();
    QueuePayload(board, want);
    const auto memoLength = [&] { return static_cast<size_t>(SendMessageA(k.Memo(), WM_GETTEXTLENGTH, 0, 0)); };
    // Asked every 20 ms (the edit control keeps its length: the question costs the terminal one message).
    for (size_t length = 0; (length = memoLength()) < n && Seconds(t0) < 600; Wait(20)) progress.Saw(length, Seconds(t0), n);
    const double seconds = Seconds(t0);
    progress.Saw(n, seconds, n);
    lost = Differences(k.MemoText(), want);
    k.Close();
    return seconds;
}

// The trace build's records: each append to the memo (EM_REPLACESEL) with the edit control's time in its own messages
// (EM_SETSEL, EM_REPLACESEL, EM_SCROLLCARET) since the append before, and the time since that one's end. Printed per
// MiB shown, for the appends of the first and of the last MiB: the memo takes text in appends of growing size, so
// the cost of a MiB is that of the appends that carried it, in proportion to their bytes.
void PrintProfile(const std::string& traceFile, size_t n) {
    std::ifstream in(traceFile);
    struct Append {
        double endUs = 0, windowUs = 0, editUs = 0;
        size_t bytes = 0, shown = 0;
    };
    std::vector<Append> appends;
    double editSum = 0, lastEndUs = -1;
    size_t shown = 0;
    for (std::string line; std::getline(in, line);) {
        std::istringstream f(line);
        double us = 0, duration = 0;
        int thread = 0;
        std::string kind;
        size_t bytes = 0;
        if (!(f >> us >> thread >> kind >> bytes) || (kind != "memo" && kind != "setsel" && kind != "scroll")) continue;
        f >> duration;
        if (lastEndUs < 0) lastEndUs = us;
        editSum += duration;
        if (kind != "memo" || bytes == 0) continue;
        shown += bytes;
        appends.push_back({us + duration, us + duration - lastEndUs, editSum, bytes, shown});
        lastEndUs = us + duration;
        editSum = 0;
    }
    if (appends.empty()) {
        std::printf("profile: no records in %s\n", traceFile.c_str());
        return;
    }
    std::printf("profile (trace build): %zu appends; per MiB of each append: time, of it the edit control's own "
                "messages, the rest\n", appends.size());
    for (size_t i = 0; i < appends.size(); ++i) {
        const Append& a = appends[i];
        const bool first = a.shown - a.bytes < kMiB, last = a.shown + kMiB > n;
        if (!first && !last) continue;
        const double perMiB = static_cast<double>(kMiB) / static_cast<double>(a.bytes) / 1e6;
        std::printf("  append %3zu (%s MiB, %7zu bytes, memo then %5.1f MiB): %.3f s a MiB, edit control %.3f s, the "
                    "rest %.3f s\n",
                    i + 1, first ? "first" : "last", a.bytes, a.shown / 1048576.0, a.windowUs * perMiB,
                    a.editUs * perMiB, (a.windowUs - a.editUs) * perMiB);
    }
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const size_t n = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : (1u << 20);
    const bool profile = argc > 3 && std::string(argv[3]) == "profile";
    // 0 rounds with "profile": the trace build alone.
    const int rounds = argc > 2 ? std::max(profile ? 0 : 1, std::atoi(argv[2])) : 3;
    const std::string com = BoardComPort();
    BoardControl board;
    if (com.empty() || !board.Connect() || !board.Reset()) {
        std::fprintf(stderr, "no simulated board (run under bench/terminal_receive.sh)\n");
        return 2;
    }
    const std::string want = kes::bench::TerminalLines(n);

    struct Run {
        const char* label;
        const char* program;  // nullptr: a plain reader of the port
        bool edit = false;    // the plain reader appends to a visible EDIT
        std::vector<double> seconds;
        size_t lost = 0;
        std::vector<double> first, last;  // the first and the last MiB
    };
    Run runs[] = {{"reference reader", nullptr, false, {}, 0, {}, {}},
                  {"plain edit reader", nullptr, true, {}, 0, {}, {}},
                  {"Kestrup memo", "Kestrup.exe", false, {}, 0, {}, {}},
                  {"Kestrup, skin off", "KestrupUnskinned.exe", false, {}, 0, {}, {}}};
    for (int r = 1; r <= rounds; ++r)
        for (Run& run : runs) {
            size_t lost = 0;
            double seconds = -1;
            Progress progress;
            if (!run.program) {
                // A plain reader of the same port.
                board.Reset();
                HANDLE port = OpenComPort(com);
                if (port == INVALID_HANDLE_VALUE) {
                    std::fprintf(stderr, "cannot open %s\n", com.c_str());
                    return 2;
                }
                const ULONGLONG t0 = GetTickCount64();
                QueuePayload(board, want);
                const std::string got =
                    run.edit ? ReadIntoEdit(port, n, t0, progress) : ReadAll(port, n, t0, progress);
                seconds = Seconds(t0);
                lost = Differences(got, want);
                CloseHandle(port);
            } else {
                seconds = KestrupSeconds(board, com, run.program, want, lost, progress);
                if (seconds < 0) return 2;
            }
            std::printf("round %d %-18s %.3f s, bytes lost or changed: %zu", r, run.label, seconds, lost);
            if (n >= 2 * kMiB) std::printf(", first MiB %.3f s, last MiB %.3f s", progress.First(), progress.Last(n));
            std::printf("\n");
            std::fflush(stdout);
            run.seconds.push_back(seconds);
            run.first.push_back(progress.First());
            run.last.push_back(progress.Last(n));
            run.lost = std::max(run.lost, lost);
        }

    if (rounds > 0) std::printf("bytes            %zu, median of %d rounds\n", n, rounds);
    for (const Run& run : runs) {
        if (rounds == 0) break;
        const double s = Median(run.seconds);
        std::printf("%-18s %.3f s  (%.0f KB/s), bytes lost or changed (most in a round): %zu", run.label, s,
                    n / 1024.0 / s, run.lost);
        if (n >= 2 * kMiB) std::printf(", first MiB %.3f s, last MiB %.3f s", Median(run.first), Median(run.last));
        std::printf("\n");
    }
    const double ref = Median(runs[0].seconds), plainEdit = Median(runs[1].seconds), on = Median(runs[2].seconds),
                 off = Median(runs[3].seconds);
    if (rounds > 0) {
        std::printf("ratio Kestrup / reference reader: %.2f\n", on / ref);
        std::printf("ratio Kestrup / plain edit reader: %.2f\n", on / plainEdit);
        std::printf("skin on against skin off: %+.1f %% time  (goal <= +5 %%)\n", (on / off - 1) * 100);
    }
    if (profile) {
        const std::string traceFile = ProgramFolderOfTest() + "KestrupTrace.txt";
        DeleteFileA(traceFile.c_str());
        size_t lost = 0;
        Progress progress;
        const double seconds = KestrupSeconds(board, com, "KestrupTrace.exe", want, lost, progress);
        std::printf("trace build: %.3f s, bytes lost or changed: %zu\n", seconds, lost);
        PrintProfile(traceFile, n);
    }
    return runs[1].lost == 0 && runs[2].lost == 0 && runs[3].lost == 0 ? 0 : 1;
}
