#pragma once
// Drives Kestrup.exe from a test program: starts it beside this program, finds its windows and controls, sends
// menu commands, keys and copy-data messages, reads the terminal and the log back, answers its message boxes, and
// presets or reads the terminal's registry settings. Everything runs on the test's own thread.
#include <winsock2.h>
#include <windows.h>

#include "base/win/Unique.h"

#include <functional>
#include <string>
#include <vector>

#include "testsupport/Wait.h"
#include "testsupport/WindowPicture.h"

namespace kes::test {

// Waits until `done` holds, handling this thread's messages meanwhile; false when `ms` passed first.
inline bool WaitUntil(const std::function<bool()>& done, DWORD ms = 10000) { return PumpUntil(done, ms); }
inline void Wait(DWORD ms) { PumpFor(ms); }

// The terminal's own settings (keys directly under HKEY_CURRENT_USER) and the port's.
void ResetTerminalSettings();
void PresetPortSettings(const std::string& com, int baud = 115200);
void WriteSetting(const std::string& key, const std::string& name, const std::string& value);
// "" when missing.
std::string ReadSetting(const std::string& key, const std::string& name);
bool SettingKeyExists(const std::string& key);

class KestrupProcess {
public:
    KestrupProcess() = default;
    ~KestrupProcess();
    KestrupProcess(const KestrupProcess&) = delete;
    KestrupProcess& operator=(const KestrupProcess&) = delete;

    // Starts Kestrup.exe (or another build of it beside this program, e.g. KestrupUnskinned.exe) and waits for its
    // main window; false (with `error`) when it did not come up.
    bool Start(std::string& error, const std::string& program = "Kestrup.exe");
    // WM_CLOSE to the main window; true when the program ended within the time.
    bool Close(DWORD ms = 10000);
    bool WaitForExit(DWORD ms = 10000);
    bool Running() const;

    HWND Main() const { return main_; }
    HWND Memo() const { return memo_; }
    HWND CommandLine() const { return edit_; }
    DWORD ProcessId() const { return pid_; }

    // Clicks the main window's menu item by its component name ("Connect1"); false when unknown.
    bool Menu(const std::string& itemName);
    // Waits until the main window has handled everything posted so far (or a modal box of it runs).
    void Sync();

    std::string MemoText() const;
    std::string CommandLineText() const;
    void SetCommandLineText(const std::string& text);
    // Characters as WM_CHAR (CR for Enter); keys as WM_KEYDOWN/WM_KEYUP.
    void TypeChars(HWND control, const std::string& chars);
    void PressKey(HWND control, WORD vk);

    // WM_COPYDATA to the main window with exactly these bytes and this size.
    LRESULT SendCopyData(const void* data, DWORD size);

    // The lines of the log window's list (shows the log window when it has no window yet).
    std::vector<std::string> LogLines();

    // The text of a panel of the main window's status bar (read through memory in the program).
    std::string StatusPanel(int index) const;

    // A visible message box of the program whose caption is `caption` (or begins with it when `prefix`).
    HWND FindBox(const std::string& caption, bool prefix = false) const;
    std::string BoxText(HWND box) const;
    // Answers a box with IDOK, IDYES, IDNO ...
    void Answer(HWND box, int id);

private:
    HWND FindChildEdit(bool multiline) const;

    kes::UniqueHandle process_;
    DWORD pid_ = 0;
    HWND main_ = nullptr;
    HWND memo_ = nullptr;
    HWND edit_ = nullptr;
};

std::string WindowText(HWND h);
// The folder of the running test program (Kestrup.exe is built beside it), with a trailing separator.
std::string ProgramFolderOfTest();
std::string ClassOf(HWND h);
// The first top-level window of process pid that match accepts, or nullptr.
HWND FindTopWindowOf(DWORD pid, std::function<bool(HWND)> match);

// A button of a window's skinned menu bar on the screen, from the bar's captions in their order: the menu row found
// by hit testing, the buttons laid out from the row's start (6 pixels in) by their captions' widths in the menu
// font, each 10 wider; all -1 when `caption` is not among them.
RECT SkinnedBarButton(HWND window, const std::vector<std::string>& captions, const std::string& caption);

// The WM_COMMAND id of a menu item of a window of another program, by the item's component name ("Connect1",
// "OpenRESENTfile1"); 0 when the window's menu has no such item. A test-only library put into that program
// by a message hook reads the menu there (menus of other processes cannot be read under Wine).
UINT MenuCommandOf(HWND window, const std::string& itemName);

// Waits until the thread of `window` (in another program) handled every message posted to it before and painted
// what waited to be painted in the window's top-level window; false when it did not within 5 s.
bool Settled(HWND window);

// The picture of a window of another program (frame and all, cut at the screen's right and bottom edges) as the
// program painted it, whatever lies over it on the screen: copied from its window DC by the same library, inside that program (from outside, Wine gives
// black where another window covers it). Empty (W 0) when the program did not answer.
WindowPixels ProgramPicture(HWND window);

// What a window of the program answers the skin's "are you skinned" message: 1 when skinned, -1 when it did not
// answer within 3 s.
constexpr UINT kIsSkinned = 0x3523;
inline LRESULT Skinned(HWND w) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutA(w, kIsSkinned, 0, 0, SMTO_NORMAL, 3000, &r)) return -1;
    return static_cast<LRESULT>(r);
}

}  // namespace kes::test
