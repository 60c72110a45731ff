#pragma once
// Fixed texts of the terminal window: log messages (shown after the time), message boxes, status panels.
namespace kes::TerminalText {

// Log messages.
inline constexpr const char* ComDisconnected = " COM port DISconnected";
inline constexpr const char* ComConnectedAt = "COM port Connected at ";  // followed by the time
inline constexpr const char* WritelineProblem = " Warning: COMport Writeline(+CR) problem  - unresolved! ";
inline constexpr const char* EscSent = " ESC (#27) send to COMport ";
inline constexpr const char* EscProblem = " Warning: COMport send ESC problem  - unresolved. RESTART? ";
inline constexpr const char* TirvaneWritelineProblem =
    " Warning: COMport Writeline(+CR) from Tirvane problem  - unresolved!";
inline constexpr const char* ComPortProblem = " Warning: Had COMport problem - may hang up program - Restart Shell";

// Message boxes.
inline constexpr const char* CaptionWarning = "Warning";
inline constexpr const char* CaptionInfo = "Info";
inline constexpr const char* TcpProblem = "Problem connecting TCP to ANSI Console!";
inline constexpr const char* TirvaneRunning = "KestrupTirvane already up and running :-)";
inline constexpr const char* TirvaneMissing = "KestrupTirvane.exe not found in the Kestrup DIR! Must be in same DIR";

}  // namespace kes::TerminalText
