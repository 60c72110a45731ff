#include "console/win/TerminalLink.h"

#include "base/CompanionLink.h"
#include "console/CompanionText.h"

namespace kes::tirvane {

bool SendTypedLine(const std::string& line, unsigned timeoutMs) {
    HWND terminal = FindWindowA(link::kTerminalClass, link::kTerminalTitle);
    if (!terminal) return false;
    std::string payload = TypedLinePayload(line);
    COPYDATASTRUCT data{};
    data.dwData = 0;
    data.cbData = static_cast<DWORD>(payload.size());
    data.lpData = payload.data();
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(terminal, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG | SMTO_NORMAL, timeoutMs, &answer) != 0;
}

bool CompanionWindow::Open() {
    if (hwnd_) return true;
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!created) return false;
    try {
        thread_ = std::thread(&CompanionWindow::Run, this, created);
    } catch (const std::exception&) {
        CloseHandle(created);
        return false;
    }
    WaitForSingleObject(created, INFINITE);
    CloseHandle(created);
    if (!hwnd_) thread_.join();
    return hwnd_ != nullptr;
}

void CompanionWindow::Run(HANDLE created) {
    threadId_ = GetCurrentThreadId();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = link::kCompanionClass;
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, link::kCompanionClass, link::kCompanionTitle, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                            wc.hInstance, nullptr);
    SetEvent(created);
    if (!hwnd_) return;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyWindow(hwnd_);
}

void CompanionWindow::Close() {
    if (!thread_.joinable()) return;
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    hwnd_ = nullptr;
}

}  // namespace kes::tirvane
