#include "shell/win/UploadMessageLoop.h"

#include "base/win/Application.h"
#include "base/win/Thread.h"
#include "base/win/Win.h"

namespace kes {

std::uint64_t TUploadMessageLoop::NowMs() { return GetTickCount64(); }

bool TUploadMessageLoop::ProcessMessages(std::uint32_t timeoutMs) {
    if (quit_) return false;
    MSG msg;
    if (timeoutMs != 0 && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        const DWORD wait = timeoutMs == kWaitForever ? INFINITE : static_cast<DWORD>(timeoutMs);
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
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

void TUploadMessageLoop::RepostQuit() {
    if (!quit_) return;
    quit_ = false;
    PostQuitMessage(exitCode_);
}

}  // namespace kes
