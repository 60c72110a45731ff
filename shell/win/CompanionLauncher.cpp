#include "shell/win/CompanionLauncher.h"

#include "base/CompanionLink.h"
#include "base/win/SysUtilsWin.h"
#include "gui/win/Shell.h"
#include "shell/TerminalTexts.h"
#include "shell/win/ConsoleLinkClient.h"

namespace kes {

TCompanionStart StartCompanion(const std::string& folder) {
    if (TConsoleLinkClient::CompanionWindowExists()) return TCompanionStart::AlreadyRunning;
    std::string exe = folder;
    if (!exe.empty() && exe.back() != '\\' && exe.back() != '/') exe += '\\';
    exe += link::kCompanionExe;
    if (!FileExists(exe)) return TCompanionStart::Missing;
    return ShellOpen(exe) ? TCompanionStart::Started : TCompanionStart::ShellFailed;
}

}  // namespace kes
