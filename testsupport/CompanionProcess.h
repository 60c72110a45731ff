#pragma once
// Test helpers for the console companion KestrupTirvane.exe (found beside the test program): a companion process
// with piped standard input and output, one in a console of its own, a loopback client, and a stand-in for the
// terminal's main window that records the WM_COPYDATA messages it gets.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "testsupport/Wait.h"

namespace tirvane_test {

// KestrupTirvane.exe, started without a console: its input and output are pipes held by the test.
class CompanionProcess {
public:
    CompanionProcess();
    ~CompanionProcess();  // ends the process if it still runs
    bool Started() const { return process_ != nullptr; }

    void Type(const std::string& bytes);  // to its standard input
    void CloseInput();
    std::string Output();  // everything it wrote so far
    // Waits (pumping this thread's messages) until the output holds `text`.
    bool WaitOutput(const std::string& text, DWORD timeoutMs = 10000);
    // Exit code, or -1 when it did not end in time.
    long WaitExit(DWORD timeoutMs = 10000);
    // Processor time (user + kernel) the process has used so far.
    double CpuMs() const;

private:
    HANDLE process_ = nullptr;
    HANDLE input_ = nullptr;
    HANDLE output_ = nullptr;
    std::thread reader_;
    std::mutex lock_;
    std::string captured_;  // guarded by lock_
};

using kes::test::PumpUntil;

// One connection to 127.0.0.1:6800 that sends `bytes` and closes. False when it could not connect.
bool SendToCompanion(const std::string& bytes);
// A connection to 127.0.0.1:6800 that sends nothing and stays open until destroyed.
class IdleClient {
public:
    IdleClient();
    ~IdleClient();
    IdleClient(const IdleClient&) = delete;
    IdleClient& operator=(const IdleClient&) = delete;
    bool Connected() const { return connected_; }
    // Waits until the companion closes the connection; false when it is still open after the time.
    bool ClosedByCompanion(DWORD timeoutMs);

private:
    std::uintptr_t socket_;
    bool connected_ = false;
};

// Waits until 127.0.0.1:6800 can be bound (no companion left from elsewhere).
bool WaitPortFree(DWORD timeoutMs = 30000);
// Top-level windows (hidden ones too) titled `title`.
int CountWindowsTitled(const char* title);

struct CopyDataRecord {
    HWND target;
    WPARAM wParam;
    ULONG_PTR dwData;
    DWORD cbData;
    std::string bytes;
};

// A top-level window with the given class and caption, created on the calling thread; it records
// every WM_COPYDATA it receives and answers it with `answer` (the terminal answers 1 for a line it took).
class RecordingWindow {
public:
    RecordingWindow(const char* className, const char* title, LRESULT answer = 1);
    ~RecordingWindow();
    HWND Handle() const { return hwnd_; }
    std::vector<CopyDataRecord> Received() const;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    std::string className_;
    LRESULT answer_;
    mutable std::mutex lock_;
    std::vector<CopyDataRecord> received_;
};

extern const std::string kBanner;
// What a companion prints when port 6800 is taken, after its banner.
extern const std::string kBindFailureLine;

}  // namespace tirvane_test

namespace tirvane_test {

// KestrupTirvane.exe in a console of its own, which this test attaches to: key events are fed into
// the console's input and the screen is read back.
class ConsoleCompanion {
public:
    // Starts the companion in a new console.
    ConsoleCompanion();
    // Takes over a companion that runs already (started by another program) in a console of its own.
    explicit ConsoleCompanion(DWORD processId);
    ~ConsoleCompanion();  // ends the process if it still runs
    ConsoleCompanion(const ConsoleCompanion&) = delete;
    ConsoleCompanion& operator=(const ConsoleCompanion&) = delete;
    bool Attached() const { return input_ != INVALID_HANDLE_VALUE; }
    // Gathers events for the console input: one key press (down and up) per character, '\r' as Enter.
    void Keys(const std::string& text);
    void FocusEvent();
    void MouseMove();
    // The Shift key pressed (down only): a key event that brings no character.
    void ShiftDown();
    // Puts the gathered events into the console input in one write.
    void Deliver();
    // The characters of screen row `row` (trailing blanks removed) and the attribute of one cell.
    std::string Row(int row);
    WORD Attribute(int row, int column);
    long WaitExit(DWORD timeoutMs = 10000);

private:
    void Attach(DWORD processId);
    void Put(const INPUT_RECORD& record) { pending_.push_back(record); }
    std::vector<INPUT_RECORD> pending_;
    HANDLE process_ = nullptr;
    HANDLE input_ = INVALID_HANDLE_VALUE;
    HANDLE screen_ = INVALID_HANDLE_VALUE;
};

}  // namespace tirvane_test
