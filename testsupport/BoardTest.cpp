#include "testsupport/BoardTest.h"

#include <cstdlib>

namespace kes::test {

namespace {

std::string Env(const char* name) {
    char value[256];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Undoes the board's escaping of a recorded line (\\ and \xHH).
std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '\\') {
            out += '\\';
            ++i;
        } else if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x' && HexDigit(s[i + 2]) >= 0 &&
                   HexDigit(s[i + 3]) >= 0) {
            out += static_cast<char>(HexDigit(s[i + 2]) * 16 + HexDigit(s[i + 3]));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Waits for an overlapped operation; cancels and collects it when the time is up. Returns the byte count.
DWORD Finish(HANDLE port, OVERLAPPED& ov, DWORD timeoutMs, bool& ok) {
    DWORD done = 0;
    if (WaitForSingleObject(ov.hEvent, timeoutMs) != WAIT_OBJECT_0) CancelIoEx(port, &ov);
    ok = GetOverlappedResult(port, &ov, &done, TRUE) != FALSE;
    return done;
}

}  // namespace

std::string BoardComPort() { return Env("KESTRUP_COM"); }

int BoardControlPort() { return std::atoi(Env("KESTRUP_BOARD_CTL").c_str()); }

HANDLE OpenComPort(const std::string& name, DWORD baudRate) {
    const std::string path = "\\\\.\\" + name;
    HANDLE port = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) return port;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};  // a read returns at once with what is there
    const bool ok = SetupComm(port, 8192, 8192) && GetCommState(port, &dcb);
    if (ok) {
        dcb.BaudRate = baudRate;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        dcb.fOutX = dcb.fInX = FALSE;
    }
    if (!ok || !SetCommState(port, &dcb) || !SetCommTimeouts(port, &timeouts) ||
        !PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT)) {
        const DWORD error = GetLastError();
        CloseHandle(port);
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    return port;
}

bool WritePort(HANDLE port, const std::string& bytes) {
    OVERLAPPED ov{};
    ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD written = 0;
    bool ok = WriteFile(port, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &ov) != FALSE;
    if (!ok && GetLastError() == ERROR_IO_PENDING) written = Finish(port, ov, 5000, ok);
    CloseHandle(ov.hEvent);
    return ok && written == bytes.size();
}

std::string ReadPortUntil(HANDLE port, const std::string& until, DWORD timeoutMs) {
    std::string got;
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    OVERLAPPED ov{};
    ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    while ((until.empty() || got.find(until) == std::string::npos) && GetTickCount64() < end) {
        char buf[512];
        DWORD n = 0;
        ResetEvent(ov.hEvent);
        bool ok = ReadFile(port, buf, sizeof buf, &n, &ov) != FALSE;
        if (!ok && GetLastError() == ERROR_IO_PENDING) n = Finish(port, ov, 1000, ok);
        if (!ok) break;
        got.append(buf, n);
        if (n == 0) Sleep(5);
    }
    CloseHandle(ov.hEvent);
    return got;
}

BoardControl::BoardControl() {
    WSADATA data;
    winsock_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

BoardControl::~BoardControl() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    if (winsock_) WSACleanup();
}

bool BoardControl::Connect(int port) {
    if (!winsock_ || port <= 0 || port > 65535) return false;
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    buffered_.clear();
    socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket_ == INVALID_SOCKET) return false;
    const DWORD timeoutMs = 10000;
    setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<u_short>(port));
    if (connect(socket_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
        return false;
    }
    return true;
}

bool BoardControl::ReadLine(std::string& line) {
    std::size_t end;
    while ((end = buffered_.find('\n')) == std::string::npos) {
        char buf[4096];
        const int n = recv(socket_, buf, sizeof buf, 0);
        if (n <= 0) return false;
        buffered_.append(buf, static_cast<std::size_t>(n));
    }
    line = buffered_.substr(0, end);
    buffered_.erase(0, end + 1);
    return true;
}

std::string BoardControl::Command(const std::string& command) {
    if (socket_ == INVALID_SOCKET && !Connect()) return "error no connection";
    const std::string line = command + "\n";
    std::string answer;
    if (send(socket_, line.data(), static_cast<int>(line.size()), 0) != static_cast<int>(line.size()) ||
        !ReadLine(answer)) {
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
        return "error no connection";
    }
    return answer;
}

std::vector<BoardLine> BoardControl::Lines() {
    std::vector<BoardLine> lines;
    const std::string head = Command("lines");
    if (head.rfind("ok ", 0) != 0) return lines;
    const long count = std::atol(head.c_str() + 3);
    std::string row;
    for (long i = 0; i < count && ReadLine(row); ++i) {
        BoardLine line;
        const std::size_t a = row.find(' ');
        const std::size_t b = a == std::string::npos ? a : row.find(' ', a + 1);
        if (b == std::string::npos) continue;
        line.ms = std::atol(row.c_str());
        line.early = row.compare(a + 1, b - a - 1, "early") == 0;
        line.text = Unescape(row.substr(b + 1));
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string BoardControl::Received() {
    const std::string answer = Command("received");
    return answer.rfind("ok ", 0) == 0 ? Unescape(answer.substr(3)) : std::string();
}

long BoardControl::Violations() {
    const std::string answer = Command("violations");
    return answer.rfind("ok ", 0) == 0 ? std::atol(answer.c_str() + 3) : -1;
}

}  // namespace kes::test
