// Receive speed of the terminal: the simulated board sends N bytes as fast as the pty takes them, once to a
// minimal reader (the COM port read in a loop) and once to Kestrup.exe (every byte must appear in its terminal
// memo). Prints both times, their ratio and the bytes lost or changed.
//   terminal_receive_bench [N]   (default 1 MiB; needs KESTRUP_COM and KESTRUP_BOARD_CTL)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/tests/win/KestrupDriver.h"
#include "testsupport/BoardTest.h"

using namespace kes::test;

namespace {

// Terminal text: numbered lines of 64 bytes with CR LF, cut to n bytes.
std::string Payload(size_t n) {
    std::string s;
    for (size_t line = 0; s.size() < n; ++line) {
        std::string l = "line " + std::to_string(line) + " ";
        while (l.size() < 62) l += static_cast<char>('a' + (l.size() + line) % 26);
        s += l + "\r\n";
    }
    s.resize(n);
    return s;
}

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

double Seconds(ULONGLONG fromMs) { return static_cast<double>(GetTickCount64() - fromMs) / 1000.0; }

// The reference reader: every read returns at once with what is waiting; an empty read sleeps 1 ms.
std::string ReadAll(HANDLE port, size_t n, ULONGLONG startMs) {
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
    }
    CloseHandle(ov.hEvent);
    return got;
}

size_t Differences(const std::string& got, const std::string& want) {
    size_t diff = got.size() > want.size() ? got.size() - want.size() : want.size() - got.size();
    for (size_t i = 0; i < got.size() && i < want.size(); ++i) diff += got[i] != want[i];
    return diff;
}

}  // namespace

int main(int argc, char** argv) {
    const size_t n = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : (1u << 20);
    const std::string com = BoardComPort();
    BoardControl board;
    if (com.empty() || !board.Connect() || !board.Reset()) {
        std::fprintf(stderr, "no simulated board (run under bench/terminal_receive.sh)\n");
        return 2;
    }
    const std::string want = Payload(n);

    // Reference: a plain reader of the same port.
    HANDLE port = OpenComPort(com);
    if (port == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open %s\n", com.c_str());
        return 2;
    }
    ULONGLONG t0 = GetTickCount64();
    QueuePayload(board, want);
    const std::string got = ReadAll(port, n, t0);
    const double refSeconds = Seconds(t0);
    const size_t refLost = Differences(got, want);
    CloseHandle(port);

    // Kestrup.
    board.Reset();
    ResetTerminalSettings();
    PresetPortSettings(com);
    KestrupProcess k;
    std::string error;
    if (!k.Start(error)) {
        std::fprintf(stderr, "Kestrup: %s\n", error.c_str());
        return 2;
    }
    k.Menu("Connect1");
    WaitUntil([&] { return k.MemoText().find(" ok\r\n ok\r\n") != std::string::npos; }, 10000);
    k.Menu("SureClearscreen1");
    WaitUntil([&] { return k.MemoText().empty(); }, 5000);
    t0 = GetTickCount64();
    QueuePayload(board, want);
    const auto memoLength = [&] { return static_cast<size_t>(SendMessageA(k.Memo(), WM_GETTEXTLENGTH, 0, 0)); };
    // Asking for the memo's length costs the terminal time in proportion to its text: ask every 100 ms.
    while (memoLength() < n && Seconds(t0) < 300) Wait(100);
    const double kesSeconds = Seconds(t0);
    const std::string shown = k.MemoText();
    const size_t kesLost = Differences(shown, want);
    k.Close();

    std::printf("bytes            %zu\n", n);
    std::printf("reference reader %.3f s  (%.0f KB/s), bytes lost or changed: %zu\n", refSeconds,
                n / 1024.0 / refSeconds, refLost);
    std::printf("Kestrup memo     %.3f s  (%.0f KB/s), bytes lost or changed: %zu\n", kesSeconds,
                n / 1024.0 / kesSeconds, kesLost);
    std::printf("ratio Kestrup / reference: %.2f\n", kesSeconds / refSeconds);
    return kesLost == 0 ? 0 : 1;
}
