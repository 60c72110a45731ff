#pragma once
// Support for Windows tests run under Wine against the simulated Forth board (scripts/nullmodem.sh).
//
// The harness exports two variables to every test program:
//   KESTRUP_COM        the virtual COM port whose far end the board listens on, e.g. "COM5"
//   KESTRUP_BOARD_CTL  the TCP port of the board's control channel on 127.0.0.1
// Tests that use the board are registered with `kestrup_wine_test(... LOCK board)` so that they run one at a
// time, and start with `BoardControl::Reset()` (or "purge") plus PurgeComm, because a pty keeps unread bytes.
//
//   kes::test::BoardComPort()     "COM5" or "" when the harness is not up
//   kes::test::OpenComPort(name)  \\.\COMn opened for overlapped I/O, 115200 8N1 without flow control, purged
//   kes::test::ReadPortUntil(h, text, ms)   overlapped reads until `text` came or the time is up
//   kes::test::BoardControl       the control client: Command("delay 100") -> "ok"; Lines(); Received();
//                                 Violations()
// The control commands are described in tools/boardsim/README.md.
#include <winsock2.h>
#include <windows.h>

#include "base/win/UniqueSocket.h"

#include <string>
#include <vector>

namespace kes::test {

std::string BoardComPort();
int BoardControlPort();  // 0 when KESTRUP_BOARD_CTL is missing

// Opens the port overlapped and configures it; INVALID_HANDLE_VALUE on failure (GetLastError tells why).
HANDLE OpenComPort(const std::string& name, DWORD baudRate = 115200);
// Reads with overlapped ReadFile until `until` is in the result (empty: until the time is up).
std::string ReadPortUntil(HANDLE port, const std::string& until, DWORD timeoutMs = 5000);
// Writes all bytes with an overlapped WriteFile; false on failure.
bool WritePort(HANDLE port, const std::string& bytes);

struct BoardLine {
    long ms = 0;         // when its line end arrived, ms since the board's last reset
    bool early = false;  // arrived before the answer to the line before was sent
    std::string text;    // the bytes as received, without the line end
};

class BoardControl {
public:
    BoardControl();
    ~BoardControl();
    BoardControl(const BoardControl&) = delete;
    BoardControl& operator=(const BoardControl&) = delete;

    // Connects to 127.0.0.1:port (default: KESTRUP_BOARD_CTL); false when it cannot.
    bool Connect(int port = BoardControlPort());
    bool Connected() const { return socket_.Valid(); }
    // Sends one command and returns its answer line without the line end ("ok", "ok 3", "error ...");
    // "error no connection" when the channel is down.
    std::string Command(const std::string& command);
    // Command() that must answer "ok..."; false otherwise.
    bool Ok(const std::string& command) { return Command(command).rfind("ok", 0) == 0; }
    bool Reset() { return Ok("reset"); }
    std::vector<BoardLine> Lines();
    // Every byte the board received since its last reset, line ends included, exactly as it came.
    std::string Received();
    long Violations();  // -1 when the board did not answer

private:
    bool ReadLine(std::string& line);

    kes::UniqueSocket socket_;
    bool winsock_ = false;
    std::string buffered_;
};

}  // namespace kes::test
