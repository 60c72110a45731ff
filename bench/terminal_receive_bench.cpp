// Receive speed of the terminal: the simulated board sends N bytes as fast as the pty takes them, once to a
// minimal reader (the COM port read in a loop) and once to Kestrup.exe (every byte must appear in its terminal
// memo). Prints both times, their ratio and the bytes lost or changed.
//   terminal_receive_bench [N]   (default 1 MiB; needs KESTRUP_COM and KESTRUP_BOARD_CTL)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/tests/win/KestrupDriver.h"
#include "tools/testsupport/BoardTest.h"

using namespace kes::test;

namespace {

std::string Burst(size_t n) {
    std::string s(n, '0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('0' + i % 10);
    return s;
}

double Seconds(ULONGLONG fromMs) { return static_cast<double>(GetTickCount64() - fromMs) / 1000.0; }

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
    const std::string want = Burst(n);

    // Reference: a plain reader of the same port.
    HANDLE port = OpenComPort(com);
    if (port == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open %s\n", com.c_str());
        return 2;
    }
    ULONGLONG t0 = GetTickCount64();
    board.Command("burst " + std::to_string(n));
    std::string got;
    while (got.size() < n) {
        const std::string part = ReadPortUntil(port, "", 200);
        if (part.empty() && Seconds(t0) > 120) break;
        got += part;
    }
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
    board.Command("burst " + std::to_string(n));
    const auto memoLength = [&] { return static_cast<size_t>(SendMessageA(k.Memo(), WM_GETTEXTLENGTH, 0, 0)); };
    WaitUntil([&] { return memoLength() >= n; }, 300000);
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
