#pragma once
// Windows path names for the include files of an upload, worked out as text (no file-system calls):
// relative names are taken in one fixed base folder, and two names are the same file when their
// normalised full paths are equal with the letters A to Z folded.
#include <string>

namespace kes {

// Separators made "\", empty and "." parts dropped, ".." taking away the part before it (never the drive
// or the server and share of a "\\server\share" name; kept at the front of a relative name), trailing dots and
// blanks of the last part dropped (as the system opens such a name), no trailing separator except after a
// drive ("C:\"). Letter case is kept.
std::string NormalisePath(const std::string& path);

// The folder that holds a file: the path up to its last separator ("C:\src\main.fs" -> "C:\src",
// "C:\main.fs" -> "C:\"), normalised; empty when the name has no folder.
std::string FolderOfFile(const std::string& file);

// A directive's file name resolved in baseFolder: absolute names ("C:\x", "\\server\share\x") stand as
// they are; "\x" takes the drive (or share) of the base; "D:x" is taken in the base when the base is on
// drive D, else in "D:\"; any other name is joined to the base. The result is normalised; an empty name
// gives an empty result.
std::string ResolveIncludePath(const std::string& baseFolder, const std::string& name);

// The text two paths are compared by: the normalised path with a-z folded to A-Z.
std::string IncludePathKey(const std::string& path);

}  // namespace kes
