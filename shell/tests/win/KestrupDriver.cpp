#include "KestrupDriver.h"

#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <utility>

#include "base/CompanionLink.h"
#include "shell/BoardModes.h"
#include "shell/MainWindowMessages.h"

namespace kes::test {

std::string ProgramFolderOfTest() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of("\\/") + 1);
}

namespace {

constexpr const char* kPortKey = "HKEY_LOCAL_MACHINE\\Software\\Kestrup\\ComPort1";

struct FindTop {
    DWORD pid;
    std::function<bool(HWND)> match;
    HWND found = nullptr;
};

std::string FromWide(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

}  // namespace

std::string ClassOf(HWND h) {
    char cls[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    return cls;
}

HWND FindTopWindowOf(DWORD pid, std::function<bool(HWND)> match) {
    FindTop f{pid, std::move(match)};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* f = reinterpret_cast<FindTop*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner == f->pid && f->match(h)) {
                f->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
}

void ResetTerminalSettings() {
    for (const char* key : {"MCUtype", "Memo1ReadOnly", "Window"}) RegDeleteTreeA(HKEY_CURRENT_USER, key);
    // The source window's place, as another test of the same prefix may have left it (a narrow window hides the
    // buttons on its right); its last file stays for the tests that set it.
    HKEY source = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Source", 0, KEY_SET_VALUE, &source) == ERROR_SUCCESS) {
        for (const char* name : {"Left", "Top", "Width", "Height"}) RegDeleteValueA(source, name);
        RegCloseKey(source);
    }
}

void WriteSetting(const std::string& key, const std::string& name, const std::string& value) {
    HKEY k = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
}

std::string ReadSetting(const std::string& key, const std::string& name) {
    char buf[512] = "";
    DWORD size = sizeof buf;
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
        return {};
    return buf;
}

bool SettingKeyExists(const std::string& key) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

void PresetPortSettings(const std::string& com, int baud) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kPortKey);
    WriteSetting(kPortKey, "Port", com);
    // A speed without a name of its own (921600, 1000000) is a custom one.
    const bool named = baud <= 256000 && baud != 230400 && baud != 460800;
    WriteSetting(kPortKey, "BaudRate", named ? std::to_string(baud) : "Custom");
    HKEY k = nullptr;
    if (!named && RegCreateKeyExA(HKEY_CURRENT_USER, kPortKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) ==
                      ERROR_SUCCESS) {
        const DWORD value = static_cast<DWORD>(baud);
        RegSetValueExA(k, "CustomBaudRate", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(k);
    }
    WriteSetting(kPortKey, "StopBits", "1");
    WriteSetting(kPortKey, "DataBits", "8");
    WriteSetting(kPortKey, "Parity", "None");
    WriteSetting(kPortKey, "FlowControl", "None");
}

std::string WindowText(HWND h) {
    const int n = static_cast<int>(SendMessageA(h, WM_GETTEXTLENGTH, 0, 0));
    std::string s(static_cast<size_t>(n) + 1, '\0');
    const int got =
        static_cast<int>(SendMessageA(h, WM_GETTEXT, static_cast<WPARAM>(n + 1), reinterpret_cast<LPARAM>(s.data())));
    s.resize(static_cast<size_t>(got < 0 ? 0 : got));
    return s;
}

KestrupProcess::~KestrupProcess() {
    if (Running()) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 5000);
    }
}

bool KestrupProcess::Start(std::string& error, const std::string& program) {
    std::string exe = ProgramFolderOfTest() + program;
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    // Wine now and then fails to start a process while many start at once (ERROR_INTERNAL_ERROR): once more then.
    DWORD failure = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            failure = 0;
            break;
        }
        failure = GetLastError();
        if (failure != ERROR_INTERNAL_ERROR) break;
        Wait(500);  // a moment for Wine before trying again: nothing tells when it would start one
    }
    if (failure != 0) {
        error = "CreateProcess " + exe + " failed: " + std::to_string(failure);
        return false;
    }
    process_.Reset(pi.hProcess);
    kes::UniqueHandle(pi.hThread).Reset();  // the main thread's handle is not needed
    pid_ = pi.dwProcessId;
    const bool up = WaitUntil(
        [this] {
            main_ = FindTopWindowOf(pid_, [](HWND h) {
                return ClassOf(h) == kes::link::kTerminalClass && WindowText(h) == kes::link::kTerminalTitle &&
                       IsWindowVisible(h);
            });
            return main_ != nullptr || !Running();
        },
        20000);
    if (!up || !main_) {
        if (Running()) {
            error = "no main window";
        } else {
            DWORD code = 0;
            GetExitCodeProcess(process_.Get(), &code);
            char text[80];
            std::snprintf(text, sizeof text, "Kestrup ended at start with exit code %lu (0x%lx)",
                          static_cast<unsigned long>(code), static_cast<unsigned long>(code));
            error = text;
        }
        return false;
    }
    memo_ = FindChildEdit(true);
    edit_ = FindChildEdit(false);
    if (!memo_ || !edit_) {
        error = "no terminal memo or command line";
        return false;
    }
    Sync();
    return true;
}

HWND KestrupProcess::FindChildEdit(bool multiline) const {
    struct Find {
        bool multiline;
        HWND found = nullptr;
    } f{multiline};
    EnumChildWindows(
        main_,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* f = reinterpret_cast<Find*>(lp);
            if (_stricmp(ClassOf(h).c_str(), "Edit") != 0) return TRUE;
            const bool ml = (GetWindowLongA(h, GWL_STYLE) & ES_MULTILINE) != 0;
            if (ml == f->multiline) {
                f->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
}

bool KestrupProcess::Running() const { return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

bool KestrupProcess::WaitForExit(DWORD ms) {
    return WaitUntil([this] { return !Running(); }, ms);
}

bool KestrupProcess::Close(DWORD ms) {
    PostMessageA(main_, WM_CLOSE, 0, 0);
    return WaitForExit(ms);
}

void KestrupProcess::Sync() {
    DWORD_PTR r = 0;
    SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r);
}

// The caption path ("Clear-Screen|Sure? (Clear screen)") of a menu item, by the window's class and the item's
// component name: the board types come from the program's own table.
std::string MenuCaptionPath(HWND window, const std::string& itemName) {
    using Paths = std::map<std::string, std::string>;
    static const Paths mainWindow = {
        {"SourceFileWindow1", "File|SourceFile Window"},
        {"Exit1", "File|Exit"},
        {"SerialSetup1", "Serial-Setup"},
        {"Connect1", "Connect"},
        {"Disconnect1", "Disconnect"},
        {"Log1", "Log"},
        {"SureClearscreen1", "Clear-Screen|Sure? (Clear screen)"},
        {"Help1", "Help"},
        {"W10Tirvane1", "Win10-ANSI-Console"},
    };
    static const Paths sourceWindow = {
        {"Openasourcetextfile1", "File|Open a source/text file"},
        {"OpenRESENTfile1", "File|Open RESENT file"},
        {"Savecontentinthesamefile1", "File|Save content in  the same file"},
        {"SureClearscreen1", "Clear screen|Sure? (Clear screen)"},
    };
    const bool main = ClassOf(window) == kes::link::kTerminalClass;
    if (main)
        for (const TBoardMode& m : BoardModes())
            if (itemName == m.ItemName) return std::string("Processor-Type|") + m.Caption;
    const Paths& paths = main ? mainWindow : sourceWindow;
    const auto it = paths.find(itemName);
    return it == paths.end() ? itemName : it->second;
}

namespace {

// Puts the test probe into the GUI thread of `window` once (a hook per thread of each program asked).
bool ProbeIn(HWND window) {
    static std::map<std::pair<DWORD, DWORD>, HHOOK> hooks;
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &process);
    if (thread == 0) return false;
    const auto key = std::make_pair(process, thread);
    if (hooks.count(key)) return true;
    HMODULE probe = LoadLibraryA((ProgramFolderOfTest() + "kestrup_probe.dll").c_str());
    auto proc =
        probe ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "ProgramProbeHook"))) : nullptr;
    HHOOK hook = proc ? SetWindowsHookExA(WH_GETMESSAGE, proc, probe, thread) : nullptr;
    if (!hook) return false;
    hooks[key] = hook;
    return true;
}

// Asks the probe in the program of `window` the registered `question` about `about`; its answer, or `none` when
// none came within the time.
WPARAM AskProbe(HWND window, const char* question, WPARAM about, WPARAM none, DWORD ms = 5000) {
    const UINT message = RegisterWindowMessageA(question);
    if (!ProbeIn(window) || !PostMessageA(window, message, about, static_cast<LPARAM>(GetCurrentThreadId())))
        return none;
    const ULONGLONG end = GetTickCount64() + ms;
    MSG m;
    while (GetTickCount64() < end) {
        while (PeekMessageA(&m, reinterpret_cast<HWND>(-1), message, message, PM_REMOVE))
            if (m.lParam == static_cast<LPARAM>(about)) return m.wParam;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
    }
    return none;
}

struct ViewTraits {
    using Handle = void*;
    static Handle Invalid() noexcept { return nullptr; }
    static bool Close(Handle h) noexcept { return UnmapViewOfFile(h) != FALSE; }
};

}  // namespace

UINT MenuCommandOf(HWND window, const std::string& itemName) {
    const ATOM atom = GlobalAddAtomA(MenuCaptionPath(window, itemName).c_str());
    const auto id = static_cast<UINT>(AskProbe(window, "KestrupTestMenuCommandOf", atom, 0));
    GlobalDeleteAtom(atom);
    return id;
}

bool Settled(HWND window) { return AskProbe(window, "KestrupTestSettled", reinterpret_cast<WPARAM>(window), 0) == 1; }

WindowPixels ProgramPicture(HWND window) {
    WindowPixels picture;
    const std::uint32_t capacity =
        static_cast<std::uint32_t>(GetSystemMetrics(SM_CXVIRTUALSCREEN) + 64) * (GetSystemMetrics(SM_CYVIRTUALSCREEN) + 64);
    const std::string name = "KestrupTestPicture" + std::to_string(GetCurrentThreadId());
    const kes::UniqueHandle map(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                   (capacity + 3) * sizeof(std::uint32_t), name.c_str()));
    if (!map) return picture;
    const kes::Unique<ViewTraits> view(MapViewOfFile(map.Get(), FILE_MAP_WRITE, 0, 0, 0));
    auto* shared = static_cast<std::uint32_t*>(view.Get());
    if (!shared) return picture;
    shared[0] = capacity;
    shared[1] = shared[2] = 0;
    if (AskProbe(window, "KestrupTestWindowPicture", reinterpret_cast<WPARAM>(window), 0) != 1) return picture;
    picture.W = static_cast<int>(shared[1]);
    picture.H = static_cast<int>(shared[2]);
    picture.Px.assign(shared + 3, shared + 3 + static_cast<size_t>(picture.W) * static_cast<size_t>(picture.H));
    return picture;
}

bool KestrupProcess::Menu(const std::string& itemName) {
    const UINT id = MenuCommandOf(main_, itemName);
    if (id == 0) return false;
    DWORD_PTR r = 0;
    // A command that opens a modal box keeps the send waiting; the box is then answered by the test.
    SendMessageTimeoutA(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_NORMAL, 3000, &r);
    return true;
}

std::string KestrupProcess::MemoText() const { return WindowText(memo_); }
std::string KestrupProcess::CommandLineText() const { return WindowText(edit_); }

void KestrupProcess::SetCommandLineText(const std::string& text) {
    SendMessageA(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void KestrupProcess::TypeChars(HWND control, const std::string& chars) {
    for (char c : chars) {
        DWORD_PTR r = 0;
        SendMessageTimeoutA(control, WM_CHAR, static_cast<unsigned char>(c), 1, SMTO_NORMAL, 3000, &r);
    }
}

void KestrupProcess::PressKey(HWND control, WORD vk) {
    DWORD_PTR r = 0;
    SendMessageTimeoutA(control, WM_KEYDOWN, vk, 1, SMTO_NORMAL, 3000, &r);
    SendMessageTimeoutA(control, WM_KEYUP, vk, 0xC0000001, SMTO_NORMAL, 3000, &r);
}

LRESULT KestrupProcess::SendCopyData(const void* data, DWORD size) {
    COPYDATASTRUCT cds{};
    cds.dwData = 0;
    cds.cbData = size;
    cds.lpData = const_cast<void*>(data);
    return SendMessageA(main_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
}

std::vector<std::string> KestrupProcess::LogLines() {
    std::vector<std::string> lines;
    const auto findLog = [this] { return FindTopWindowOf(pid_, [](HWND h) { return ClassOf(h) == kLogWindowClass; }); };
    HWND log = findLog();
    // The log window gets its window when it is first shown ("Log").
    if (!log && Menu("Log1")) log = findLog();
    if (!log) return lines;
    HWND list = FindWindowExA(log, nullptr, "ListBox", nullptr);
    if (!list) return lines;
    const int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        const int len = static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, i, 0));
        std::wstring w(static_cast<size_t>(len < 0 ? 0 : len) + 1, L'\0');
        const int got = static_cast<int>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(w.data())));
        w.resize(static_cast<size_t>(got < 0 ? 0 : got));
        lines.push_back(FromWide(w));
    }
    return lines;
}

std::string KestrupProcess::StatusPanel(int index) const {
    HWND bar = FindWindowExA(main_, nullptr, "msctls_statusbar32", nullptr);
    if (!bar) return "";
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid_);
    if (!process) return "";
    constexpr SIZE_T kSize = 1024;
    void* remote = VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE);
    std::string text;
    if (remote) {
        DWORD_PTR length = 0;
        SendMessageTimeoutA(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(index), 0, SMTO_NORMAL, 5000, &length);
        if (LOWORD(length) < kSize) {
            DWORD_PTR done = 0;
            SendMessageTimeoutA(bar, SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote),
                                SMTO_NORMAL, 5000, &done);
            char buffer[kSize] = "";
            SIZE_T read = 0;
            if (ReadProcessMemory(process, remote, buffer, LOWORD(length), &read)) text.assign(buffer, read);
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

HWND KestrupProcess::FindBox(const std::string& caption, bool prefix) const {
    return FindTopWindowOf(pid_, [&](HWND h) {
        if (ClassOf(h) != "#32770" || !IsWindowVisible(h)) return false;
        const std::string title = WindowText(h);
        return prefix ? title.rfind(caption, 0) == 0 : title == caption;
    });
}

std::string KestrupProcess::BoxText(HWND box) const {
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? WindowText(text) : std::string();
}

void KestrupProcess::Answer(HWND box, int id) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

RECT SkinnedBarButton(HWND w, const std::vector<std::string>& captions, const std::string& caption) {
    RECT r{};
    GetWindowRect(w, &r);
    const int cx = (r.left + r.right) / 2;
    int top = -1;
    for (int y = r.top; y < r.top + 80 && top < 0; ++y)
        if (SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(cx, y)) == HTMENU) top = y;
    int left = -1;
    for (int x = r.left; x < r.left + 40 && left < 0; ++x)
        if (SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(x, top)) == HTMENU) left = x;
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontIndirectA(&ncm.lfMenuFont);
    HGDIOBJ old = SelectObject(dc, font);
    int x = left + 6;
    RECT found{-1, -1, -1, -1};
    for (const std::string& c : captions) {
        RECT t{0, 0, 0, 0};
        DrawTextA(dc, c.c_str(), -1, &t, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
        const int bw = t.right + 10;
        if (caption == c) found = {x, top, x + bw, top + GetSystemMetrics(SM_CYMENU) - 1};
        x += bw;
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return found;
}

}  // namespace kes::test
