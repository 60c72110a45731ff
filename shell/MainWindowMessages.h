#pragma once
// Names of the terminal's windows as other programs (the companion, the end-to-end tests) find them; the main
// window's class and title are in base/CompanionLink.h.
namespace kes {

inline constexpr const char* kLogWindowClass = "TLOGform";

}  // namespace kes
