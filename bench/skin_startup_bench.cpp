// Start-up speed of the skin: the time from starting a program until its main window is shown and painted, for
// Kestrup.exe in its default skin, for the same program without the skin manager (KestrupUnskinned.exe: SkinData1
// loads its skin but nothing is hooked or skinned, as with Active False) and for a minimal reference window
// (startup_reference.exe). The programs take turns, round by round; prints the medians and the skinned/unskinned
// ratio. Then the time the running program takes to paint its main window's frame (WM_NCPAINT sent from here, the
// round trip of WM_NULL taken off): the skin's frame against the system's.
//   skin_startup_bench [ROUNDS]   (default 7)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/tests/win/KestrupDriver.h"

using namespace kes::test;

namespace {

constexpr UINT kIsSkinned = 0x3523;

std::string FolderOfThisProgram() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of("\\/") + 1);
}

double NowMs() { return static_cast<double>(GetTickCount64()); }

// Two rows of the window as the screen shows them: the caption's and one near the bottom edge.
std::vector<COLORREF> Rows(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    const int width = std::min<LONG>(r.right, GetSystemMetrics(SM_CXSCREEN)) - r.left;
    std::vector<COLORREF> px;
    if (width <= 0) return px;
    HDC screen = GetDC(nullptr);
    for (int y : {r.top + 4, r.bottom - 12})
        for (int x = 0; x < width; x += 7) px.push_back(GetPixel(screen, r.left + x, y));
    ReleaseDC(nullptr, screen);
    return px;
}

// Shown and painted: the caption is not black, and two looks 15 ms apart see the same pixels.
bool Painted(HWND w) {
    const std::vector<COLORREF> a = Rows(w);
    if (a.empty() || a[a.size() / 4] == 0) return false;
    Sleep(15);
    return Rows(w) == a;
}

double NowPreciseMs() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perMs;
}

// Milliseconds each of `n` sends of msg to w take (sent one after another).
std::vector<double> SendTimes(HWND w, UINT msg, WPARAM wp, int n) {
    std::vector<double> times;
    for (int i = 0; i < n; ++i) {
        DWORD_PTR answer = 0;
        const double t0 = NowPreciseMs();
        if (!SendMessageTimeoutA(w, msg, wp, 0, SMTO_NORMAL, 2000, &answer)) break;
        times.push_back(NowPreciseMs() - t0);
    }
    return times;
}

// Milliseconds from starting exe until its main window "Kestrup" is shown and painted (skinned: after it answered
// SKM_ISSKINNED); negative when it did not come up within 20 s. With `paints`, the frame paints of the running
// window follow, and those for a change of its state (inactive, active again).
double StartupMs(const std::string& exe, bool skinned, std::vector<double>* paints = nullptr,
                 std::vector<double>* stateChanges = nullptr) {
    ResetTerminalSettings();
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\"";
    const double t0 = NowMs();
    if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    HWND main = nullptr;
    const bool up = WaitUntil(
        [&] {
            if (!main)
                main = FindTopWindowOf(pi.dwProcessId,
                                       [](HWND h) { return IsWindowVisible(h) && WindowText(h) == "Kestrup"; });
            if (!main) return false;
            DWORD_PTR answer = 0;
            if (skinned && (!SendMessageTimeoutA(main, kIsSkinned, 0, 0, SMTO_NORMAL, 1000, &answer) || answer != 1))
                return false;
            return Painted(main);
        },
        20000);
    const double ms = NowMs() - t0;
    if (up && paints && stateChanges) {
        // The whole frame (wParam 1), 40 times; the median message round trip comes off each.
        std::vector<double> trips = SendTimes(main, WM_NULL, 0, 40);
        std::sort(trips.begin(), trips.end());
        const double trip = trips.empty() ? 0 : trips[trips.size() / 2];
        for (double t : SendTimes(main, WM_NCPAINT, 1, 40)) paints->push_back(std::max(0.0, t - trip));
        // A change of state paints the frame anew: inactive, then active again.
        for (int i = 0; i < 20; ++i)
            for (WPARAM active : {FALSE, TRUE})
                for (double t : SendTimes(main, WM_NCACTIVATE, active, 1))
                    stateChanges->push_back(std::max(0.0, t - trip));
    }
    if (main) PostMessageA(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return up ? ms : -1;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    struct Program {
        const char* label;
        std::string exe;
        bool skinned;
        std::vector<double> times;
        std::vector<double> paints, stateChanges;
    };
    const std::string dir = FolderOfThisProgram();
    std::vector<Program> programs = {{"minimal reference window", dir + "startup_reference.exe", false, {}, {}, {}},
                                     {"Kestrup without the skin manager", dir + "KestrupUnskinned.exe", false, {}, {}, {}},
                                     {"Kestrup in its default skin", dir + "Kestrup.exe", true, {}, {}, {}}};
    for (Program& p : programs) StartupMs(p.exe, p.skinned);  // once each before measuring: files in the cache
    for (int r = 0; r < rounds; ++r)
        for (Program& p : programs) {
            const double ms = StartupMs(p.exe, p.skinned, &p.paints, &p.stateChanges);
            if (ms < 0) {
                std::printf("%s did not come up painted\n", p.label);
                return 1;
            }
            p.times.push_back(ms);
        }
    std::printf("Start-up to the main window shown and painted, median of %d rounds:\n", rounds);
    for (const Program& p : programs) std::printf("  %-34s %7.1f ms\n", p.label, Median(p.times));
    const double ratio = Median(programs[2].times) / Median(programs[1].times);
    std::printf("  skinned / without the skin manager %7.2f (goal <= 1.30)\n", ratio);
    std::printf("Main window's frame painted (WM_NCPAINT), median of %zu paints:\n", programs[2].paints.size());
    for (const Program& p : programs) std::printf("  %-34s %7.2f ms\n", p.label, Median(p.paints));
    std::printf("Main window's frame painted for a change of state (WM_NCACTIVATE off, on), median of %zu:\n",
                programs[2].stateChanges.size());
    for (const Program& p : programs) std::printf("  %-34s %7.2f ms\n", p.label, Median(p.stateChanges));
    return 0;
}
