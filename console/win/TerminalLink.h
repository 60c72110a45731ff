#pragma once
// The companion's side of the window link with the terminal.
#include <string>
#include <thread>

#include "console/win/Win.h"

namespace kes::tirvane {

// How long a typed line may wait for the terminal before it is given up.
inline constexpr unsigned kSendTimeoutMs = 2000;

enum class TypedLineSent {
    NoTerminal,  // no terminal runs: the line vanishes without a word
    Taken,       // the terminal wrote it to the port
    Refused,     // the terminal did not take it (port closed, line too long, write failed)
    NoAnswer,    // the terminal did not answer in time
};

// Sends a typed line to the terminal's main window (class "TKestrup", caption "Kestrup") as WM_COPYDATA.
TypedLineSent SendTypedLine(const std::string& line, unsigned timeoutMs = kSendTimeoutMs);

// A hidden top-level window titled "KestrupTirvane", so the terminal finds the companion even when the
// console has no window of its own. It lives on its own thread: a line being typed never holds up
// messages sent to it.
class CompanionWindow {
public:
    CompanionWindow() = default;
    ~CompanionWindow() { Close(); }
    CompanionWindow(const CompanionWindow&) = delete;
    CompanionWindow& operator=(const CompanionWindow&) = delete;

    // True once the window exists.
    bool Open();
    void Close();
    HWND Handle() const { return hwnd_; }

private:
    void Run(HANDLE created);
    std::thread thread_;
    HWND hwnd_ = nullptr;  // written by the window thread before `created` is set; read after that
    DWORD threadId_ = 0;
};

}  // namespace kes::tirvane
