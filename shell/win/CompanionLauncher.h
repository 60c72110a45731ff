#pragma once
// Starting the console companion from the terminal's menu: only when it isn't running yet, and only the
// KestrupTirvane.exe that lies beside the terminal program.
#include <string>

namespace kes {

enum class TCompanionStart {
    AlreadyRunning,  // its window exists; nothing started ("KestrupTirvane already up and running :-)")
    Started,         // handed to the shell
    Missing,         // no KestrupTirvane.exe in the folder ("... not found in the Kestrup DIR! ...")
    ShellFailed,     // the shell refused to open it
};

// Opens `folder`\KestrupTirvane.exe through the shell (verb "open", shown normally) unless the companion's
// window exists.
TCompanionStart StartCompanion(const std::string& folder);

}  // namespace kes
