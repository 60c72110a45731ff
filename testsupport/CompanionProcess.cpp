#include "testsupport/CompanionProcess.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include "base/CompanionLink.h"

#include <cstdio>

namespace tirvane_test {

const std::string kBanner =
    "\x1b[41m   Ver.1.1 Write *exit/*EXIT to terminate console. "
    "Use ICON in top left corner for personal settings.\r\n\x1b[0m\r\n";
const std::string kBindFailureLine =
    "ECouldNotBindSocket: Could not bind socket. Address and port are already in use.\r\n";

namespace {

// Test output reaches the log even when a hung test is killed.
const int kUnbuffered = (setvbuf(stdout, nullptr, _IONBF, 0), 0);

std::string CompanionPath() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n);
    return dir.substr(0, dir.find_last_of("\\/") + 1) + kes::link::kCompanionExe;
}

struct Winsock {
    Winsock() {
        WSADATA d;
        WSAStartup(MAKEWORD(2, 2), &d);
    }
    ~Winsock() { WSACleanup(); }
};
Winsock& Sockets() {
    static Winsock w;
    return w;
}

sockaddr_in CompanionAddress() {
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(kes::link::kPort);
    inet_pton(AF_INET, kes::link::kHost, &at.sin_addr);
    return at;
}

}  // namespace

CompanionProcess::CompanionProcess() {
    // Under Wine the first window of a session starts the desktop process, which keeps the standard
    // handles of the process that started it: let that be this test, not the companion with our pipe.
    GetDesktopWindow();
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE childIn = nullptr, childOut = nullptr;
    if (!CreatePipe(&childIn, &input_, &inherit, 0) || !CreatePipe(&output_, &childOut, &inherit, 0)) return;
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = childIn;
    si.hStdOutput = childOut;
    si.hStdError = childOut;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + CompanionPath() + "\"";
    // Wine now and then fails to start a process while many start at once (ERROR_INTERNAL_ERROR): once more then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr, nullptr, &si, &pi)) {
            process_ = pi.hProcess;
            CloseHandle(pi.hThread);
            break;
        }
        if (GetLastError() != ERROR_INTERNAL_ERROR) break;
        Sleep(500);
    }
    CloseHandle(childIn);
    CloseHandle(childOut);
    reader_ = std::thread([this] {
        char buf[4096];
        DWORD n = 0;
        while (ReadFile(output_, buf, sizeof buf, &n, nullptr) && n > 0) {
            std::lock_guard<std::mutex> guard(lock_);
            captured_.append(buf, n);
        }
    });
}

CompanionProcess::~CompanionProcess() {
    if (process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseInput();
    if (reader_.joinable()) reader_.join();
    if (output_) CloseHandle(output_);
    if (process_) CloseHandle(process_);
}

void CompanionProcess::Type(const std::string& bytes) {
    DWORD n = 0;
    WriteFile(input_, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
}

void CompanionProcess::CloseInput() {
    if (input_) CloseHandle(input_);
    input_ = nullptr;
}

std::string CompanionProcess::Output() {
    std::lock_guard<std::mutex> guard(lock_);
    return captured_;
}

bool CompanionProcess::WaitOutput(const std::string& text, DWORD timeoutMs) {
    return PumpUntil([&] { return Output().find(text) != std::string::npos; }, timeoutMs);
}

long CompanionProcess::WaitExit(DWORD timeoutMs) {
    if (!process_) return -1;
    if (!PumpUntil([&] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }, timeoutMs)) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    if (reader_.joinable()) reader_.join();  // the output pipe closes with the process
    return static_cast<long>(code);
}

double CompanionProcess::CpuMs() const {
    FILETIME created, exited, kernel, user;
    if (!process_ || !GetProcessTimes(process_, &created, &exited, &kernel, &user)) return -1;
    auto ms = [](const FILETIME& t) {
        return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

bool SendToCompanion(const std::string& bytes) {
    Sockets();
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in at = CompanionAddress();
    bool ok = connect(s, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const int n = send(s, bytes.data() + done, static_cast<int>(bytes.size() - done), 0);
        ok = n > 0;
        if (ok) done += n;
    }
    shutdown(s, SD_SEND);
    closesocket(s);
    return ok;
}

bool WaitPortFree(DWORD timeoutMs) {
    Sockets();
    return PumpUntil(
        [] {
            SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            BOOL on = TRUE;
            setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on), sizeof on);
            sockaddr_in at = CompanionAddress();
            const bool free = bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
            closesocket(s);
            return free;
        },
        timeoutMs);
}

int CountWindowsTitled(const char* title) {
    // FindWindowEx reads the caption without sending WM_GETTEXT, so a hung window cannot block it.
    int count = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, title); w; w = FindWindowExA(nullptr, w, nullptr, title))
        ++count;
    return count;
}

IdleClient::IdleClient() {
    Sockets();
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    socket_ = static_cast<std::uintptr_t>(s);
    sockaddr_in at = CompanionAddress();
    connected_ = connect(s, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
}

IdleClient::~IdleClient() { closesocket(static_cast<SOCKET>(socket_)); }

bool IdleClient::ClosedByCompanion(DWORD timeoutMs) {
    const auto s = static_cast<SOCKET>(socket_);
    return PumpUntil(
        [s] {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(s, &readable);
            timeval none{0, 0};
            if (select(0, &readable, nullptr, nullptr, &none) != 1) return false;
            char byte;
            return recv(s, &byte, 1, 0) <= 0;
        },
        timeoutMs);
}

RecordingWindow::RecordingWindow(const char* className, const char* title, LRESULT answer)
    : className_(className), answer_(answer) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    hwnd_ =
        CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, wc.hInstance, this);
}

RecordingWindow::~RecordingWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
    UnregisterClassA(className_.c_str(), GetModuleHandleA(nullptr));
}

std::vector<CopyDataRecord> RecordingWindow::Received() const {
    std::lock_guard<std::mutex> guard(lock_);
    return received_;
}

LRESULT CALLBACK RecordingWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    } else if (msg == WM_COPYDATA) {
        auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        const auto* cd = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        CopyDataRecord r{hwnd, wp, cd->dwData, cd->cbData,
                         std::string(static_cast<const char*>(cd->lpData), cd->lpData ? cd->cbData : 0)};
        std::lock_guard<std::mutex> guard(self->lock_);
        self->received_.push_back(std::move(r));
        return self->answer_;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace tirvane_test

namespace tirvane_test {

ConsoleCompanion::ConsoleCompanion() {
    GetDesktopWindow();
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + CompanionPath() + "\"";
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, &si, &pi))
        return;
    process_ = pi.hProcess;
    CloseHandle(pi.hThread);
    Attach(pi.dwProcessId);
}

ConsoleCompanion::ConsoleCompanion(DWORD processId) {
    process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process_) Attach(processId);
}

void ConsoleCompanion::Attach(DWORD processId) {
    FreeConsole();
    // The console appears with the process; try for a while.
    bool attached = false;
    for (int i = 0; i < 100 && !(attached = AttachConsole(processId) != FALSE); ++i) Sleep(50);
    if (!attached) return;
    input_ = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
    screen_ = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
}

ConsoleCompanion::~ConsoleCompanion() {
    if (process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    if (input_ != INVALID_HANDLE_VALUE) CloseHandle(input_);
    if (screen_ != INVALID_HANDLE_VALUE) CloseHandle(screen_);
    FreeConsole();
    if (process_) CloseHandle(process_);
}

void ConsoleCompanion::Deliver() {
    DWORD n = 0;
    WriteConsoleInputA(input_, pending_.data(), static_cast<DWORD>(pending_.size()), &n);
    pending_.clear();
}

void ConsoleCompanion::Keys(const std::string& text) {
    for (char ch : text) {
        INPUT_RECORD r{};
        r.EventType = KEY_EVENT;
        r.Event.KeyEvent.wRepeatCount = 1;
        const SHORT vk = ch == '\r' ? VK_RETURN : VkKeyScanA(ch);
        r.Event.KeyEvent.wVirtualKeyCode = LOBYTE(vk);
        r.Event.KeyEvent.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyA(LOBYTE(vk), MAPVK_VK_TO_VSC));
        r.Event.KeyEvent.uChar.AsciiChar = ch;
        r.Event.KeyEvent.dwControlKeyState = (HIBYTE(vk) & 1) ? SHIFT_PRESSED : 0;
        r.Event.KeyEvent.bKeyDown = TRUE;
        Put(r);
        r.Event.KeyEvent.bKeyDown = FALSE;
        Put(r);
    }
}

void ConsoleCompanion::FocusEvent() {
    INPUT_RECORD r{};
    r.EventType = FOCUS_EVENT;
    r.Event.FocusEvent.bSetFocus = TRUE;
    Put(r);
}

void ConsoleCompanion::ShiftDown() {
    INPUT_RECORD r{};
    r.EventType = KEY_EVENT;
    r.Event.KeyEvent.wRepeatCount = 1;
    r.Event.KeyEvent.wVirtualKeyCode = VK_SHIFT;
    r.Event.KeyEvent.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyA(VK_SHIFT, MAPVK_VK_TO_VSC));
    r.Event.KeyEvent.dwControlKeyState = SHIFT_PRESSED;
    r.Event.KeyEvent.bKeyDown = TRUE;
    Put(r);
}

void ConsoleCompanion::MouseMove() {
    INPUT_RECORD r{};
    r.EventType = MOUSE_EVENT;
    r.Event.MouseEvent.dwMousePosition = {3, 3};
    r.Event.MouseEvent.dwEventFlags = MOUSE_MOVED;
    Put(r);
}

std::string ConsoleCompanion::Row(int row) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(screen_, &info);
    char text[1024] = "";
    DWORD n = 0;
    const DWORD width = info.dwSize.X > 0 && info.dwSize.X < 1024 ? info.dwSize.X : 80;
    ReadConsoleOutputCharacterA(screen_, text, width, COORD{0, static_cast<SHORT>(row)}, &n);
    std::string s(text, n);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

WORD ConsoleCompanion::Attribute(int row, int column) {
    WORD a = 0;
    DWORD n = 0;
    ReadConsoleOutputAttribute(screen_, &a, 1, COORD{static_cast<SHORT>(column), static_cast<SHORT>(row)}, &n);
    return a;
}

long ConsoleCompanion::WaitExit(DWORD timeoutMs) {
    if (!process_) return -1;
    if (!PumpUntil([&] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }, timeoutMs)) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<long>(code);
}

}  // namespace tirvane_test
