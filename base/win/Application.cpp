#include "Application.h"

#include "base/Exception.h"
#include "base/win/Thread.h"

namespace kes {

TApplication* Application = nullptr;

namespace {

// Per-window state of the hidden windows: the method, and how deep calls into it are nested, so that a window
// destroyed from inside its own method frees the state only when the outermost call has returned.
struct UtilWindowData {
    TWndMethod method;
    int depth = 0;
    bool destroyed = false;
};

thread_local UtilWindowData* t_attaching = nullptr;

LRESULT CALLBACK UtilWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        t_attaching = nullptr;
        return DefWindowProcA(wnd, msg, wParam, lParam);
    }
    auto* d = reinterpret_cast<UtilWindowData*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (!d) return DefWindowProcA(wnd, msg, wParam, lParam);
    LRESULT result = 0;
    ++d->depth;
    if (!Guarded([&] { result = d->method(wnd, msg, wParam, lParam); })) result = 0;
    --d->depth;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
        d->destroyed = true;
    }
    if (d->destroyed && d->depth == 0) delete d;
    return result;
}

HWND CreateUtilWindow(const char* className, TWndMethod method, const std::string& title) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, className, &existing)) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = UtilWndProc;
        wc.hInstance = instance;
        wc.lpszClassName = className;
        RegisterClassA(&wc);  // a race with another thread leaves the class registered either way
    }
    auto* d = new UtilWindowData{std::move(method)};
    t_attaching = d;
    HWND wnd = CreateWindowExA(0, className, title.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, d);
    if (!wnd && t_attaching == d) delete d;  // never reached the window; otherwise WM_NCDESTROY freed it
    t_attaching = nullptr;
    return wnd;
}

std::string ProgramName() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, n);
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

}  // namespace

HWND AllocateHWnd(TWndMethod method) { return CreateUtilWindow("TPUtilWindow", std::move(method), std::string()); }

void DeallocateHWnd(HWND wnd) {
    if (wnd) DestroyWindow(wnd);
}

std::string ExceptionMessage(std::exception_ptr error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown exception";
    }
    return std::string();
}

void HandleGuardedException(std::exception_ptr error) noexcept {
    if (!error) return;
    try {
        if (GetCurrentThreadId() != MainThreadID()) {
            HWND wnd = detail::SyncWindow();
            auto* carried = new std::exception_ptr(error);
            if (!wnd || !PostMessageA(wnd, WM_KES_EXCEPTION, 0, reinterpret_cast<LPARAM>(carried))) delete carried;
            return;
        }
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            if (Application)
                Application->HandleException(e);
            else if (!dynamic_cast<const EAbort*>(&e))
                MessageBoxA(nullptr, ExceptionDisplayText(e.what()).c_str(), ProgramName().c_str(),
                            MB_OK | MB_ICONSTOP);
        } catch (...) {
            const Exception unknown("Unknown exception");
            if (Application)
                Application->HandleException(unknown);
            else
                MessageBoxA(nullptr, ExceptionDisplayText(unknown.what()).c_str(), ProgramName().c_str(),
                            MB_OK | MB_ICONSTOP);
        }
    } catch (...) {
        // Nothing may leave a boundary, not even a failure to show.
    }
}

TApplication::TApplication() : TComponent(nullptr) {
    if (Application) throw Exception("An application object exists already");
    detail::SetSyncTarget(GetCurrentThreadId(), nullptr);
    handle_ = CreateUtilWindow(
        "TApplication", [this](HWND w, UINT m, WPARAM wp, LPARAM lp) { return WndProc(w, m, wp, lp); }, "");
    if (!handle_) throw EOutOfResources("Cannot create the application window");
    // The program's icon (its resource "MAINICON", when it has one) goes with the application window.
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (HICON big = LoadIconA(instance, "MAINICON")) {
        SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        auto small = static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small ? small : big));
    }
    Application = this;
    detail::SetSyncTarget(GetCurrentThreadId(), handle_);
}

TApplication::~TApplication() {
    BeginDestroy();
    // Owned components (forms) go first, while the application still serves them.
    while (ComponentCount() > 0) {
        TComponent* last = Components(ComponentCount() - 1);
        RemoveComponent(last);
        delete last;
    }
    detail::SetSyncTarget(MainThreadID(), nullptr);
    // Threads still waiting for the GUI thread would wait for ever: let them go.
    TThread::CancelSynchronize(nullptr);
    MSG msg;
    while (PeekMessageA(&msg, handle_, WM_KES_EXCEPTION, WM_KES_EXCEPTION, PM_REMOVE))
        delete reinterpret_cast<std::exception_ptr*>(msg.lParam);
    DeallocateHWnd(handle_);
    if (Application == this) Application = nullptr;
}

std::string TApplication::Title() const { return title_.empty() ? ProgramName() : title_; }

void TApplication::SetTitle(const std::string& title) { title_ = title; }

LRESULT TApplication::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KES_SYNCHRONIZE: CheckSynchronize(); return 0;
    case WM_KES_EXCEPTION: {
        std::unique_ptr<std::exception_ptr> carried(reinterpret_cast<std::exception_ptr*>(lParam));
        if (carried) HandleGuardedException(*carried);
        return 0;
    }
    default: return DefWindowProcA(wnd, msg, wParam, lParam);
    }
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (!filters_.empty()) {
        const auto snapshot = filters_;  // filters may come and go while they run
        for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
            bool stillListed = false;
            for (const auto& f : filters_) stillListed = stillListed || f.first == it->first;
            if (stillListed && (*it->second)(msg)) return true;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg) && !CheckSynchronize()) WaitMessage();
}

void TApplication::Run() {
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (const std::exception& e) {
            HandleException(e);
        } catch (...) {
            HandleException(Exception("Unknown exception"));
        }
    }
}

void TApplication::Terminate() {
    if (GetCurrentThreadId() == MainThreadID())
        PostQuitMessage(0);
    else
        PostThreadMessageA(MainThreadID(), WM_QUIT, 0, 0);
}

void TApplication::Restore() {
    if (!Minimized()) return;
    ShowWindow(MainFormHandle, SW_RESTORE);
    SetForegroundWindow(MainFormHandle);
}

int TApplication::AddMessageFilter(TMessageFilter filter) {
    const int id = nextFilterId_++;
    filters_.emplace_back(id, std::make_shared<TMessageFilter>(std::move(filter)));
    return id;
}

void TApplication::RemoveMessageFilter(int id) {
    for (auto it = filters_.begin(); it != filters_.end(); ++it)
        if (it->first == id) {
            filters_.erase(it);
            return;
        }
}

void TApplication::HandleException(const std::exception& e) {
    try {
        if (dynamic_cast<const EAbort*>(&e)) return;
        if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
        const TExceptionEvent handler = OnException;  // the handler may replace itself
        if (handler)
            handler(this, e);
        else
            ShowException(e);
    } catch (const std::exception& inner) {
        try {
            ShowException(inner);
        } catch (...) {
        }
    } catch (...) {
    }
}

void TApplication::ShowException(const std::exception& e) {
    MessageBox(ExceptionDisplayText(e.what()), nullptr, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const char* caption, UINT flags) {
    const std::string title = caption ? std::string(caption) : Title();
    return ::MessageBoxA(GetActiveWindow(), text.c_str(), title.c_str(), flags);
}

}  // namespace kes
