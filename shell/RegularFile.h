#pragma once
// Files that the user names in a text (include directives, a double-clicked word, the last source file) are
// read only when they are regular files on a disk or a network share. Devices and pipes (\\.\COM7,
// \\.\pipe\x, "aux") would block the GUI thread on a read that never ends; they read as not found.
#include <cstdint>
#include <limits>
#include <string>

namespace kes {

enum class FileRead {
    Ok,
    NotFound,  // missing, unreadable, not a regular file, or no memory for its bytes
    TooLarge,  // larger than the limit the caller gave
};

// Reads the whole file into `bytes` (unchanged on failure). The file type is checked after opening; names
// that IsDeviceName() refuses are not opened at all.
FileRead ReadRegularFile(const std::string& path, std::string& bytes,
                         std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max());

// True for names of the device namespace ("\\.\x", "\\?\x" except "\\?\C:\..." and "\\?\UNC\..."), and for
// names whose last part is a reserved device name (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, CONIN$,
// CONOUT$) whatever its extension and trailing dots or blanks: opening those opens the device.
bool IsDeviceName(const std::string& path);

// The full name the system knows a file by: the full path, trailing dots and blanks of the last part dropped,
// short (8.3) parts made long when the file exists. Two names of one file give the same text, up to the letter
// case. On other systems the name unchanged.
std::string SystemFileName(const std::string& path);

}  // namespace kes
