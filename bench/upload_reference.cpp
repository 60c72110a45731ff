// The reference uploader: a plain Win32 program that writes one line with its CR, waits until the answer's CR
// came back, and goes on with the next line, on the same port. Prints the time the lines took.
//   upload_reference COMn LINES_FILE [block|event|poll|ovpoll|ovread|ovtotal|reopen|reopenw] [BAUD]
// block (default): a read of one byte waits until a byte is there (no time-outs), what follows it is taken as queued;
// event: overlapped, WaitCommEvent for EV_RXCHAR, then a read of what is queued;
// poll: the fastest a plain program can react: reads that return at once with what is queued (interval MAXDWORD),
// issued again and again without pause, one core spinning.
// ovpoll: the same pace on an overlapped handle, with the terminal's calls while it polls: a look at the queue
// (ClearCommError), then an overlapped read of what waits, waited for; an overlapped write, waited for.
// ovread: as ovpoll, but an overlapped read is issued without the look at the queue; one that does not complete at
// once is cancelled and collected.
// reopen: the overlapped handle, and a second one of the same port reopened without overlapped transfers, whose
// reads return at once with what is queued; the writes go through the overlapped one (reopenw: the second one).
// ovtotal: as ovpoll, with a total read time-out of 1 ms and no interval time-out instead.
// The overlapped modes print what each kind of call took on average (calls, microseconds).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: upload_reference COMn LINES_FILE "
                             "[block|event|poll|ovpoll|ovread|ovtotal|reopen|reopenw] [BAUD]\n");
        return 2;
    }
    std::vector<std::string> lines;
    std::ifstream in(argv[2], std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    const std::string mode = argc > 3 ? argv[3] : "block";
    const bool ovTotal = mode == "ovtotal";
    const bool reopen = mode == "reopen" || mode == "reopenw", reopenWrite = mode == "reopenw";
    const bool ovPoll = mode == "ovpoll" || ovTotal, ovRead = mode == "ovread";
    const bool eventWait = mode == "event", poll = mode == "poll";
    const DWORD baud = argc > 4 ? static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10)) : 115200;
    const std::string device = std::string("\\\\.\\") + argv[1];
    HANDLE port = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              eventWait || ovPoll || ovRead || reopen ? FILE_FLAG_OVERLAPPED : 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open %s (%lu)\n", argv[1], GetLastError());
        return 1;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(port, &dcb);
    dcb.BaudRate = baud;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fOutX = dcb.fInX = FALSE;
    SetCommState(port, &dcb);
    // No time-outs: a read of one byte waits until a byte is there; what follows it is taken as queued.
    COMMTIMEOUTS t{0, 0, 0, 0, 0};
    SetCommTimeouts(port, &t);
    PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR);
    OVERLAPPED ow{}, oe{}, orr{};
    ow.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    oe.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    orr.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (eventWait || poll || ovPoll || ovRead || reopen) {
        COMMTIMEOUTS immediate{MAXDWORD, 0, 0, 0, 0};  // a read returns what is queued
        SetCommTimeouts(port, &immediate);
    }
    HANDLE syncPort = INVALID_HANDLE_VALUE;  // reopen: the same port without overlapped transfers
    if (reopen) {
        syncPort = ReOpenFile(port, GENERIC_READ | GENERIC_WRITE, 0, 0);
        std::printf("ReOpenFile: %s (%lu)\n", syncPort != INVALID_HANDLE_VALUE ? "yes" : "no", GetLastError());
        if (syncPort == INVALID_HANDLE_VALUE) {
            syncPort = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            std::printf("second CreateFile: %s (%lu)\n", syncPort != INVALID_HANDLE_VALUE ? "yes" : "no",
                        GetLastError());
        }
        COMMTIMEOUTS immediate{MAXDWORD, 0, 0, 0, 0};
        if (syncPort != INVALID_HANDLE_VALUE) SetCommTimeouts(syncPort, &immediate);
        if (syncPort == INVALID_HANDLE_VALUE) return 1;
    }
    if (ovTotal) {
        COMMTIMEOUTS total{0, 0, 1, 0, 0};  // a read of what is queued returns at once; of more, after 1 ms
        SetCommTimeouts(port, &total);
    }
    if (eventWait) SetCommMask(port, EV_RXCHAR);
    // One overlapped transfer, waited for.
    auto overlapped = [&](bool write, char* data, DWORD size, OVERLAPPED& o) -> DWORD {
        DWORD n = 0;
        ResetEvent(o.hEvent);
        const BOOL ok = write ? WriteFile(port, data, size, &n, &o) : ReadFile(port, data, size, &n, &o);
        if (!ok && (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(port, &o, &n, TRUE))) return 0;
        return n;
    };

    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    // What the calls of the overlapped modes took: count and ticks per kind.
    enum Kind { kLook, kReadData, kReadEmpty, kReadAtOnce, kReadPending, kWrite, kKinds };
    const char* kindNames[kKinds] = {"look at the queue",    "read with bytes",          "read without bytes",
                                     "ReadFile done at once", "ReadFile left pending", "write"};
    LONGLONG kindTicks[kKinds] = {}, kindCalls[kKinds] = {};
    auto now = [] {
        LARGE_INTEGER t;
        QueryPerformanceCounter(&t);
        return t.QuadPart;
    };
    auto count = [&](Kind kind, LONGLONG since) {
        kindTicks[kind] += now() - since;
        ++kindCalls[kind];
    };
    QueryPerformanceCounter(&start);
    int answered = 0;
    for (const std::string& line : lines) {
        std::string out = line + "\r";
        bool lineEnd = false;
        if (eventWait) {
            if (overlapped(true, out.data(), static_cast<DWORD>(out.size()), ow) != out.size()) break;
            while (!lineEnd) {
                DWORD mask = 0, n = 0;
                ResetEvent(oe.hEvent);
                if (!WaitCommEvent(port, &mask, &oe) &&
                    (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(port, &oe, &n, TRUE)))
                    break;
                COMSTAT status{};
                DWORD errors = 0;
                if (!ClearCommError(port, &errors, &status) || status.cbInQue == 0) continue;
                char buffer[4096];
                const DWORD got =
                    overlapped(false, buffer, status.cbInQue < sizeof buffer ? status.cbInQue : sizeof buffer, orr);
                for (DWORD i = 0; i < got; ++i) lineEnd = lineEnd || buffer[i] == '\r';
            }
            if (!lineEnd) break;
            ++answered;
            continue;
        }
        if (reopen) {
            LONGLONG t = now();
            DWORD written = 0;
            if (reopenWrite ? !WriteFile(syncPort, out.data(), static_cast<DWORD>(out.size()), &written, nullptr)
                            : (written = overlapped(true, out.data(), static_cast<DWORD>(out.size()), ow)) == 0)
                break;
            count(kWrite, t);
            const ULONGLONG writtenAt = GetTickCount64();
            while (!lineEnd && GetTickCount64() - writtenAt < 5000) {
                char buffer[4096];
                DWORD got = 0;
                t = now();
                if (!ReadFile(syncPort, buffer, sizeof buffer, &got, nullptr)) break;
                count(got ? kReadData : kReadEmpty, t);
                for (DWORD i = 0; i < got; ++i) lineEnd = lineEnd || buffer[i] == '\r';
            }
            if (!lineEnd) break;
            ++answered;
            continue;
        }
        if (ovPoll || ovRead) {
            LONGLONG t = now();
            if (overlapped(true, out.data(), static_cast<DWORD>(out.size()), ow) != out.size()) break;
            count(kWrite, t);
            const ULONGLONG writtenAt = GetTickCount64();
            while (!lineEnd && GetTickCount64() - writtenAt < 5000) {
                char buffer[4096];
                DWORD want = sizeof buffer;
                if (ovPoll) {
                    COMSTAT status{};
                    DWORD errors = 0;
                    t = now();
                    if (!ClearCommError(port, &errors, &status)) break;
                    count(kLook, t);
                    if (status.cbInQue == 0) continue;
                    want = status.cbInQue < want ? status.cbInQue : want;
                }
                t = now();
                DWORD got = 0;
                ResetEvent(orr.hEvent);
                const BOOL done = ReadFile(port, buffer, want, &got, &orr);
                count(done ? kReadAtOnce : kReadPending, t);
                if (!done) {
                    if (GetLastError() != ERROR_IO_PENDING) break;
                    if (WaitForSingleObject(orr.hEvent, ovPoll ? 5000 : 0) != WAIT_OBJECT_0) CancelIoEx(port, &orr);
                    if (!GetOverlappedResult(port, &orr, &got, TRUE)) got = 0;
                }
                count(got ? kReadData : kReadEmpty, t);
                for (DWORD i = 0; i < got; ++i) lineEnd = lineEnd || buffer[i] == '\r';
            }
            if (!lineEnd) break;
            ++answered;
            continue;
        }
        DWORD written = 0;
        if (!WriteFile(port, out.data(), static_cast<DWORD>(out.size()), &written, nullptr) || written != out.size())
            break;
        const ULONGLONG writtenAt = GetTickCount64();
        while (poll && !lineEnd && GetTickCount64() - writtenAt < 5000) {
            char buffer[4096];
            DWORD got = 0;
            if (!ReadFile(port, buffer, sizeof buffer, &got, nullptr)) break;
            for (DWORD i = 0; i < got; ++i) lineEnd = lineEnd || buffer[i] == '\r';
        }
        while (!poll && !lineEnd) {
            char buffer[4096];
            DWORD got = 0;
            if (!ReadFile(port, buffer, 1, &got, nullptr) || got == 0) break;
            COMSTAT status{};
            DWORD errors = 0;
            if (ClearCommError(port, &errors, &status) && status.cbInQue > 0) {
                DWORD more = 0;
                const DWORD want = status.cbInQue < sizeof buffer - 1 ? status.cbInQue : sizeof buffer - 1;
                if (ReadFile(port, buffer + 1, want, &more, nullptr)) got += more;
            }
            for (DWORD i = 0; i < got; ++i) lineEnd = lineEnd || buffer[i] == '\r';
        }
        if (!lineEnd) break;
        ++answered;
    }
    QueryPerformanceCounter(&end);
    CloseHandle(port);
    const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
    std::printf("reference_ms %.1f lines %d of %zu\n", ms, answered, lines.size());
    for (int k = 0; k < kKinds; ++k)
        if (kindCalls[k])
            std::printf("%s: %lld calls, %.1f us each\n", kindNames[k], kindCalls[k],
                        1e6 * static_cast<double>(kindTicks[k]) / static_cast<double>(kindCalls[k]) /
                            static_cast<double>(freq.QuadPart));
    return answered == static_cast<int>(lines.size()) ? 0 : 1;
}
