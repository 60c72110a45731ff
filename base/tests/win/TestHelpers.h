#pragma once
// Helpers of the Windows tests of the class library core.
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "base/win/Application.h"
#include "base/win/Thread.h"
#include "testsupport/Wait.h"

namespace kestest {

// A thread whose body is a lambda.
class LambdaThread : public kes::TThread {
public:
    explicit LambdaThread(std::function<void(LambdaThread&)> body) : body_(std::move(body)) {}
    ~LambdaThread() override { TerminateAndWait(); }
    using kes::TThread::Synchronize;

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(LambdaThread&)> body_;
};

using kes::test::PollUntil;
using kes::test::PumpUntil;
using kes::test::SynchronizeWaiting;

// A visible top-level window of this process with that class (and caption, when given). Other test programs
// run at the same time, so a plain FindWindow could find theirs.
inline HWND FindOwnWindow(const char* className, const char* caption) {
    struct Search {
        const char* className;
        const char* caption;
        HWND found;
    } search{className, caption, nullptr};
    EnumWindows(
        [](HWND wnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(wnd, &pid);
            char cls[64] = {}, text[256] = {};
            GetClassNameA(wnd, cls, sizeof cls);
            GetWindowTextA(wnd, text, sizeof text);
            if (pid == GetCurrentProcessId() && IsWindowVisible(wnd) && lstrcmpA(cls, s->className) == 0 &&
                (!s->caption || lstrcmpA(text, s->caption) == 0)) {
                s->found = wnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND FindBox(const char* caption) { return FindOwnWindow("#32770", caption); }

// Waits (on its own thread) for a message box with `caption`, then, once `ready` says so or after `patienceMs`,
// reads its text and presses OK. Join before looking at `text`.
class BoxCloser {
public:
    BoxCloser(
        std::string caption, std::function<bool()> ready = [] { return true; }, DWORD patienceMs = 5000)
        : thread_([this, caption, ready, patienceMs] {
              HWND box = nullptr;
              if (!PollUntil([&] { return (box = FindBox(caption.c_str())) != nullptr; })) return;
              found = true;
              PollUntil(ready, patienceMs);
              char buf[512] = {};
              GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
              text = buf;
              PostMessageA(box, WM_COMMAND, IDOK, 0);
          }) {}
    ~BoxCloser() { Join(); }
    void Join() {
        if (thread_.joinable()) thread_.join();
    }
    std::atomic<bool> found{false};
    std::string text;

private:
    std::thread thread_;
};

}  // namespace kestest
