// The trace build of the program (KestrupTrace.exe, a benchmark target only): the same program, linked so that its
// calls of a few system functions pass through the wrappers below first (the linker's --wrap on their import
// pointers). The wrappers record, with the performance counter, the moments a line's path passes through the
// program: a read of the port that brought bytes, a write to the port, and the terminal memo's own messages
// (EM_SETSEL, EM_REPLACESEL, EM_SCROLLCARET: the edit control's time). The records go to KestrupTrace.txt beside the
// program when it ends. Nothing of this is in Kestrup.exe.
//
// Record lines: "US THREAD KIND BYTES TAIL", US on the performance counter in microseconds (Wine's counter is the
// system's raw monotonic clock, which the simulated board's timeline uses too), THREAD a small number per thread,
// KIND one of
//   read     a read of the port completed with BYTES bytes (an overlapped one when its result was collected)
//   write    a write to the port was asked for (BYTES bytes), and write-done when WriteFile returned
//   memo     EM_REPLACESEL handled by the edit control: BYTES bytes appended; TAIL its duration in microseconds
//   setsel / scroll   the same for EM_SETSEL and EM_SCROLLCARET (TAIL: the duration)
//   send     any other SendMessageA that took 100 us or more: BYTES the message, TAIL the duration
//   dispatch DispatchMessageA: BYTES the message, TAIL the duration (what the message loop handed to a window)
//   sleep    MsgWaitForMultipleObjectsEx: BYTES its result, TAIL how long the thread slept in it
//   wait     WaitForSingleObject / WaitForMultipleObjects that took 200 us or more: BYTES its result (plus 100 times
//            the count of handles for the latter), TAIL how long the thread waited
//   update   UpdateWindow (a control's Repaint): TAIL the duration of the paint it ran
// and TAIL the last bytes moved (escaped) for reads and writes. THREAD 0 is the GUI thread (the one that started
// the program).
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct Record {
    LONGLONG ticks = 0;
    DWORD thread = 0;
    const char* kind = "";
    DWORD bytes = 0;
    char tail[24] = {};
    LONGLONG extraTicks = -1;  // a duration, for the memo's messages
};

constexpr size_t kMaxRecords = 1 << 18;

class Trace {
public:
    Trace() : mainThread_(GetCurrentThreadId()) {
        records_.resize(kMaxRecords);
        QueryPerformanceFrequency(&frequency_);
    }
    ~Trace() { Dump(); }

    static LONGLONG Ticks() {
        LARGE_INTEGER t;
        QueryPerformanceCounter(&t);
        return t.QuadPart;
    }
    void Add(LONGLONG ticks, const char* kind, DWORD bytes, const char* data, DWORD dataSize, LONGLONG extra = -1) {
        const size_t i = next_.fetch_add(1);
        if (i >= kMaxRecords) return;
        Record& r = records_[i];
        r.ticks = ticks;
        r.thread = GetCurrentThreadId();
        r.kind = kind;
        r.bytes = bytes;
        r.extraTicks = extra;
        if (data && dataSize > 0) {
            const DWORD n = dataSize < sizeof r.tail - 1 ? dataSize : sizeof r.tail - 1;
            std::memcpy(r.tail, data + dataSize - n, n);
        }
    }
    // Reads of the port: the buffer of each pending overlapped read, until its result is collected.
    void ReadStarted(OVERLAPPED* o, void* buffer) {
        std::lock_guard<std::mutex> lock(readsLock_);
        for (auto& r : reads_)
            if (r.first == o) {
                r.second = buffer;
                return;
            }
        reads_.emplace_back(o, buffer);
    }
    // The buffer of a pending read (forgotten: the record may be used for another transfer next).
    void* TakeReadBuffer(OVERLAPPED* o) {
        std::lock_guard<std::mutex> lock(readsLock_);
        for (auto& r : reads_)
            if (r.first == o) {
                void* buffer = r.second;
                r = reads_.back();
                reads_.pop_back();
                return buffer;
            }
        return nullptr;
    }

private:
    void Dump() {
        char path[MAX_PATH] = "";
        const DWORD len = GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string file(path, len);
        file = file.substr(0, file.find_last_of("\\/") + 1) + "KestrupTrace.txt";
        FILE* f = std::fopen(file.c_str(), "w");
        if (!f) return;
        const size_t n = std::min(next_.load(), kMaxRecords);
        std::vector<DWORD> threads{mainThread_};
        const double us = 1e6 / static_cast<double>(frequency_.QuadPart);
        for (size_t i = 0; i < n; ++i) {
            const Record& r = records_[i];
            size_t t = 0;
            while (t < threads.size() && threads[t] != r.thread) ++t;
            if (t == threads.size()) threads.push_back(r.thread);
            std::string tail;
            if (r.extraTicks >= 0) {
                tail = std::to_string(static_cast<long long>(r.extraTicks * us));
            } else {
                for (const char* c = r.tail; *c; ++c) {
                    const auto b = static_cast<unsigned char>(*c);
                    char hex[8];
                    if (b >= 0x21 && b <= 0x7e && b != '\\') {
                        tail += *c;
                    } else {
                        std::snprintf(hex, sizeof hex, "\\x%02x", b);
                        tail += hex;
                    }
                }
            }
            std::fprintf(f, "%lld %zu %s %lu %s\n", static_cast<long long>(r.ticks * us), t, r.kind,
                         static_cast<unsigned long>(r.bytes), tail.c_str());
        }
        std::fclose(f);
    }

    DWORD mainThread_;
    std::vector<Record> records_;
    std::atomic<size_t> next_{0};
    LARGE_INTEGER frequency_{};
    std::mutex readsLock_;
    std::vector<std::pair<OVERLAPPED*, void*>> reads_;
};

Trace& TheTrace() {
    static Trace trace;
    return trace;
}
// Made before main runs, so that the records are written after everything else has ended.
const bool kTraceMade = (TheTrace(), true);

}  // namespace

extern "C" {

extern decltype(&ReadFile) __real___imp_ReadFile;
extern decltype(&WriteFile) __real___imp_WriteFile;
extern decltype(&GetOverlappedResult) __real___imp_GetOverlappedResult;
extern decltype(&SendMessageA) __real___imp_SendMessageA;
extern decltype(&DispatchMessageA) __real___imp_DispatchMessageA;
extern decltype(&MsgWaitForMultipleObjectsEx) __real___imp_MsgWaitForMultipleObjectsEx;
extern decltype(&UpdateWindow) __real___imp_UpdateWindow;
extern decltype(&WaitForSingleObject) __real___imp_WaitForSingleObject;
extern decltype(&WaitForMultipleObjects) __real___imp_WaitForMultipleObjects;

static BOOL WINAPI TracedReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED o) {
    const BOOL ok = __real___imp_ReadFile(file, buffer, size, read, o);
    const LONGLONG done = Trace::Ticks();
    const DWORD error = GetLastError();
    if (!o) {
        // A read of the port's plain handle (a character device; the source files are disk files).
        if (ok && read && *read > 0 && GetFileType(file) == FILE_TYPE_CHAR)
            TheTrace().Add(done, "read", *read, static_cast<const char*>(buffer), *read);
        SetLastError(error);
        return ok;
    }
    TheTrace().TakeReadBuffer(o);
    if (ok) {
        const DWORD n = read ? *read : static_cast<DWORD>(o->InternalHigh);
        if (n > 0) TheTrace().Add(Trace::Ticks(), "read", n, static_cast<const char*>(buffer), n);
    } else if (error == ERROR_IO_PENDING) {
        TheTrace().ReadStarted(o, buffer);
    }
    SetLastError(error);  // the records must not change what the caller sees
    return ok;
}

static BOOL WINAPI TracedWriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED o) {
    const bool port = o || GetFileType(file) == FILE_TYPE_CHAR;
    if (o) TheTrace().TakeReadBuffer(o);
    if (port) {
        TheTrace().Add(Trace::Ticks(), "write", size, static_cast<const char*>(buffer), size);
        SetLastError(0);
    }
    const BOOL ok = __real___imp_WriteFile(file, buffer, size, written, o);
    const DWORD error = GetLastError();
    if (port) TheTrace().Add(Trace::Ticks(), "write-done", size, nullptr, 0);
    SetLastError(error);
    return ok;
}

static BOOL WINAPI TracedGetOverlappedResult(HANDLE file, LPOVERLAPPED o, LPDWORD transferred, BOOL wait) {
    const BOOL ok = __real___imp_GetOverlappedResult(file, o, transferred, wait);
    const DWORD error = GetLastError();
    if (ok || error != ERROR_IO_INCOMPLETE)
        if (void* buffer = TheTrace().TakeReadBuffer(o); buffer && ok && transferred && *transferred > 0)
            TheTrace().Add(Trace::Ticks(), "read", *transferred, static_cast<const char*>(buffer), *transferred);
    SetLastError(error);
    return ok;
}

static LRESULT WINAPI TracedSendMessageA(HWND window, UINT message, WPARAM w, LPARAM l) {
    const LONGLONG start = Trace::Ticks();
    const LRESULT result = __real___imp_SendMessageA(window, message, w, l);
    const LONGLONG end = Trace::Ticks();
    const DWORD error = GetLastError();
    const bool memo = message == EM_REPLACESEL || message == EM_SETSEL || message == EM_SCROLLCARET;
    static const LONGLONG kLongTicks = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart / 10000;  // 100 us
    }();
    if (memo) {
        const char* kind = message == EM_REPLACESEL ? "memo" : message == EM_SETSEL ? "setsel" : "scroll";
        const DWORD bytes =
            message == EM_REPLACESEL && l ? static_cast<DWORD>(std::strlen(reinterpret_cast<const char*>(l))) : 0;
        TheTrace().Add(start, kind, bytes, nullptr, 0, end - start);
    } else if (end - start >= kLongTicks) {
        TheTrace().Add(start, "send", message, nullptr, 0, end - start);
    }
    SetLastError(error);
    return result;
}

static LRESULT WINAPI TracedDispatchMessageA(const MSG* msg) {
    const LONGLONG start = Trace::Ticks();
    const LRESULT result = __real___imp_DispatchMessageA(msg);
    const LONGLONG end = Trace::Ticks();
    const DWORD error = GetLastError();
    TheTrace().Add(start, "dispatch", msg ? msg->message : 0, nullptr, 0, end - start);
    SetLastError(error);
    return result;
}

static DWORD WINAPI TracedMsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD ms, DWORD wake,
                                                      DWORD flags) {
    const LONGLONG start = Trace::Ticks();
    const DWORD result = __real___imp_MsgWaitForMultipleObjectsEx(count, handles, ms, wake, flags);
    const LONGLONG end = Trace::Ticks();
    const DWORD error = GetLastError();
    TheTrace().Add(start, "sleep", result, nullptr, 0, end - start);
    SetLastError(error);
    return result;
}

static LONGLONG LongWaitTicks() {
    static const LONGLONG ticks = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart / 5000;  // 200 us
    }();
    return ticks;
}

static DWORD WINAPI TracedWaitForSingleObject(HANDLE handle, DWORD ms) {
    const LONGLONG start = Trace::Ticks();
    const DWORD result = __real___imp_WaitForSingleObject(handle, ms);
    const LONGLONG end = Trace::Ticks();
    const DWORD error = GetLastError();
    if (end - start >= LongWaitTicks()) TheTrace().Add(start, "wait", result, nullptr, 0, end - start);
    SetLastError(error);
    return result;
}

static DWORD WINAPI TracedWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL all, DWORD ms) {
    const LONGLONG start = Trace::Ticks();
    const DWORD result = __real___imp_WaitForMultipleObjects(count, handles, all, ms);
    const LONGLONG end = Trace::Ticks();
    const DWORD error = GetLastError();
    if (end - start >= LongWaitTicks()) TheTrace().Add(start, "wait", count * 100 + result, nullptr, 0, end - start);
    SetLastError(error);
    return result;
}

static BOOL WINAPI TracedUpdateWindow(HWND window) {
    const LONGLONG start = Trace::Ticks();
    const BOOL result = __real___imp_UpdateWindow(window);
    const LONGLONG end = Trace::Ticks();
    const DWORD error = GetLastError();
    TheTrace().Add(start, "update", 0, nullptr, 0, end - start);
    SetLastError(error);
    return result;
}

decltype(&ReadFile) __wrap___imp_ReadFile = &TracedReadFile;
decltype(&WriteFile) __wrap___imp_WriteFile = &TracedWriteFile;
decltype(&GetOverlappedResult) __wrap___imp_GetOverlappedResult = &TracedGetOverlappedResult;
decltype(&SendMessageA) __wrap___imp_SendMessageA = &TracedSendMessageA;
decltype(&DispatchMessageA) __wrap___imp_DispatchMessageA = &TracedDispatchMessageA;
decltype(&MsgWaitForMultipleObjectsEx) __wrap___imp_MsgWaitForMultipleObjectsEx = &TracedMsgWaitForMultipleObjectsEx;
decltype(&UpdateWindow) __wrap___imp_UpdateWindow = &TracedUpdateWindow;
decltype(&WaitForSingleObject) __wrap___imp_WaitForSingleObject = &TracedWaitForSingleObject;
decltype(&WaitForMultipleObjects) __wrap___imp_WaitForMultipleObjects = &TracedWaitForMultipleObjects;

}  // extern "C"
