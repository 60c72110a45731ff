#pragma once
// How the terminal (Kestrup.exe) and its console companion (KestrupTirvane.exe) find each other: the windows
// each looks for, the companion's program file, and the loopback end point of the console link. Both programs
// build on these; change them only together.
namespace kes::link {

// The terminal's main window: the companion sends typed lines to it with WM_COPYDATA.
inline constexpr const char* kTerminalClass = "TKestrup";
inline constexpr const char* kTerminalTitle = "Kestrup";

// The companion: its program (started from the terminal's folder), its console title, and the class of its own
// hidden window, which carries that title (the terminal looks for this class first: a search by class is quick).
inline constexpr const char* kCompanionExe = "KestrupTirvane.exe";
inline constexpr const char* kCompanionTitle = "KestrupTirvane";
inline constexpr const char* kCompanionClass = "TKestrupTirvane";

// The companion listens here; the terminal connects once per batch of received bytes.
inline constexpr const char* kHost = "127.0.0.1";
inline constexpr unsigned short kPort = 6800;

}  // namespace kes::link
