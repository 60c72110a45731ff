// The help window's place in the program: made with the other windows, reading "MyHelp.txt" from the
// program's own folder, opening addresses through the shell, shown by the main window's "Help".
#include <windows.h>

#include <shellapi.h>

#include "shell/Unit3.h"

namespace kes {

namespace {

// Kept here rather than taken from the window layer's shell helpers: the terminal's companion launcher
// defines a second kes::ProgramFolder, so the program cannot link both.
std::string HelpProgramFolder() {
    char path[MAX_PATH * 4] = "";
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string s(path, n < sizeof path ? n : 0);
    const size_t slash = s.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : s.substr(0, slash + 1);
}

// The shell's "open", shown normally; a failure is not reported and the shell shows no box of its own.
void OpenInBrowser(const std::string& address) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = address.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);
}

}  // namespace

void ConnectHelpWindow(TForm3& window) {
    window.HelpFolder = HelpProgramFolder();
    window.OpenAddress = OpenInBrowser;
}

}  // namespace kes
