#include "gui/win/Shell.h"

#include <shellapi.h>

namespace kes {

bool ShellOpen(const std::string& file, const std::string& parameters, const std::string& folder, int show,
               const char* verb) {
    // No error box from the shell: the caller decides what a failure means.
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = verb;
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    info.nShow = show;
    return ShellExecuteExA(&info) != FALSE;
}

HWND FindTopWindow(const std::string& title) { return FindWindowA(nullptr, title.c_str()); }

std::string ProgramFolder() {
    char path[MAX_PATH * 4] = "";
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s(path, n);
    const size_t slash = s.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : s.substr(0, slash + 1);
}

}  // namespace kes
