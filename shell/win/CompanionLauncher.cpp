#include "shell/win/CompanionLauncher.h"

#include "base/win/Win.h"

#include <shellapi.h>

#include "shell/TerminalTexts.h"
#include "shell/win/ConsoleLinkClient.h"

namespace kes {

TCompanionStart StartCompanion(const std::string& folder) {
    if (TConsoleLinkClient::CompanionWindowExists()) return TCompanionStart::AlreadyRunning;
    std::string exe = folder;
    if (!exe.empty() && exe.back() != '\\' && exe.back() != '/') exe += '\\';
    exe += TerminalText::TirvaneExe;
    const DWORD attributes = GetFileAttributesA(exe.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return TCompanionStart::Missing;
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", exe.c_str(), nullptr, nullptr,
                                                                SW_SHOWNORMAL));
    return result > 32 ? TCompanionStart::Started : TCompanionStart::ShellFailed;
}

}  // namespace kes
