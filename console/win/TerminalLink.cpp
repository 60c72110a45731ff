#include "console/win/TerminalLink.h"

#include "base/CompanionLink.h"
#include "base/win/Unique.h"
#include "console/CompanionText.h"

namespace kes::tirvane {

TypedLineSent SendTypedLine(const std::string& line, unsigned timeoutMs) {
    HWND terminal = FindWindowA(link::kTerminalClass, link::kTerminalTitle);
    if (!terminal) return TypedLineSent::NoTerminal;
    std::string payload = TypedLinePayload(line);
    COPYDATASTRUCT data{};
    data.dwData = 0;
    data.cbData = static_cast<DWORD>(payload.size());
    data.lpData = payload.data();
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(terminal, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG | SMTO_NORMAL,
                             timeoutMs, &answer))
        return TypedLineSent::NoAnswer;
    return answer ? TypedLineSent::Taken : TypedLineSent::Refused;
}

bool CompanionWindow::Open() {
    if (hwnd_) return true;
    const UniqueHandle created = NewEvent(true, false);
    if (!created) return false;
    try {
        thread_ = std::thread(&CompanionWindow::Run, this, created.Get());
    } catch (const std::exception&) {
        return false;
    }
    WaitForSingleObject(created.Get(), INFINITE);
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
    hwnd_ = CreateWindowExA(0, link::kCompanionClass, link::kCompanionTitle, WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                            nullptr, wc.hInstance, nullptr);
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
