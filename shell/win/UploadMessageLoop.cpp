#include "shell/win/UploadMessageLoop.h"

#include "base/win/Application.h"
#include "base/win/Thread.h"
#include "base/win/Win.h"

namespace kes {

std::uint64_t TUploadMessageLoop::NowMs() { return GetTickCount64(); }

bool TUploadMessageLoop::ProcessMessages(std::uint32_t timeoutMs, const std::function<bool()>& released) {
    if (quit_) return false;
    MSG msg;
    bool woken = false;
    if (timeoutMs != 0 && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        const DWORD wait = timeoutMs == kWaitForever ? INFINITE : static_cast<DWORD>(timeoutMs);
        HANDLE handles[2];
        DWORD count = 0;
        if (wake_) handles[count++] = wake_.Get();
        if (HANDLE sync = SyncEvent()) handles[count++] = sync;
        const DWORD r = MsgWaitForMultipleObjectsEx(count, handles, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        woken = wake_ && r == WAIT_OBJECT_0;
    }
    // The port's receive event first: the upload waits for it, not for the messages queued before it. Under Wine a
    // pass over the messages (the 1 ms terminal timer among them) takes 0.5-2 ms, so while lines go out the
    // messages are handled once a screen refresh when the calls let the upload go on, or nothing was waited for.
    const std::uint64_t now = NowMs();
    const bool calls = CheckSynchronize();
    const bool lineFirst = timeoutMs == 0 || ((calls || woken) && released && released());
    if (lineFirst && now < messagesAt_ + kMessagePassMs) return true;
    messagesAt_ = now;
    if (Application) {
        Application->ProcessMessages();
        CheckSynchronize();
        if (Application->Terminated()) quit_ = true;
    } else {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit_ = true;
                exitCode_ = static_cast<int>(msg.wParam);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        CheckSynchronize();
    }
    return !quit_;
}

void TUploadMessageLoop::Wake() {
    if (wake_) SetEvent(wake_.Get());
}

void TUploadMessageLoop::RepostQuit() {
    if (!quit_) return;
    quit_ = false;
    PostQuitMessage(exitCode_);
}

}  // namespace kes
