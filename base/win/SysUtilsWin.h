#pragma once
// The class library's file-system helpers on Windows. Any thread.
#include <string>

namespace kes {

// True when a file (not a folder) is at `path`.
bool FileExists(const std::string& path);

}  // namespace kes
