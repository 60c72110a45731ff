#pragma once
// Names of the terminal's windows as other programs (the companion, the end-to-end tests) find them.
namespace kes {

inline constexpr const char* kMainWindowClass = "TKestrup";
inline constexpr const char* kMainWindowTitle = "Kestrup";
inline constexpr const char* kLogWindowClass = "TLOGform";

}  // namespace kes
