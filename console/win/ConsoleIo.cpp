#include "console/win/ConsoleIo.h"

#include <deque>
#include <mutex>
#include <thread>

#include "base/win/Unique.h"
#include "console/LineSplitter.h"

namespace kes::tirvane {

namespace {
constexpr DWORD kReadSize = 4096;
#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
constexpr DWORD ENABLE_VIRTUAL_TERMINAL_PROCESSING = 0x0004;
#endif
}  // namespace

// Reads standard input that is not a console on its own thread; complete lines wait in `lines`.
struct ConsoleInput::PipeReader {
    HANDLE in = nullptr;                            // borrowed: the process's standard input
    UniqueHandle ready = NewEvent(true, false);  // set while lines wait
    std::mutex lock;
    std::deque<std::string> lines;  // guarded by lock

    void Add(std::string line) {
        std::lock_guard<std::mutex> guard(lock);
        lines.push_back(std::move(line));
        SetEvent(ready.Get());
    }
    std::optional<std::string> Take() {
        std::lock_guard<std::mutex> guard(lock);
        if (lines.empty()) return std::nullopt;
        std::string line = std::move(lines.front());
        lines.pop_front();
        if (lines.empty()) ResetEvent(ready.Get());
        return line;
    }
    bool Waiting() {
        std::lock_guard<std::mutex> guard(lock);
        return !lines.empty();
    }
    static void Run(std::shared_ptr<PipeReader> self) {
        try {
            LineSplitter splitter;
            char buf[kReadSize];
            DWORD n = 0;
            while (ReadFile(self->in, buf, sizeof buf, &n, nullptr) && n > 0) {
                splitter.Append(std::string(buf, n));
                while (auto line = splitter.Next()) self->Add(std::move(*line));
            }
            if (auto rest = splitter.Rest()) self->Add(std::move(*rest));
        } catch (const std::exception&) {
            // Out of memory: input ends here; received text still prints.
        }
    }
};

ConsoleInput::ConsoleInput() {
    in_ = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    console_ = in_ && in_ != INVALID_HANDLE_VALUE && GetConsoleMode(in_, &mode);
    if (console_) return;
    pipe_ = std::make_shared<PipeReader>();
    pipe_->in = in_;
    if (!pipe_->ready || !in_ || in_ == INVALID_HANDLE_VALUE) return;
    try {
        std::thread(PipeReader::Run, pipe_).detach();
    } catch (const std::exception&) {
    }
}

// The pipe reader may still be blocked in ReadFile; it keeps its own share of the state.
ConsoleInput::~ConsoleInput() = default;

HANDLE ConsoleInput::WaitHandle() const { return console_ ? in_ : pipe_->ready.Get(); }

bool ConsoleInput::KeyPressed() {
    if (!console_) return pipe_->Waiting();
    if (consoleLines_.HasLine()) return true;
    for (;;) {
        DWORD count = 0;
        if (!GetNumberOfConsoleInputEvents(in_, &count) || count == 0) return false;
        INPUT_RECORD head;
        DWORD got = 0;
        if (!PeekConsoleInputA(in_, &head, 1, &got) || got == 0) return false;
        if (head.EventType == KEY_EVENT && head.Event.KeyEvent.bKeyDown) return true;
        if (!ReadConsoleInputA(in_, &head, 1, &got) || got == 0) return false;
    }
}

std::optional<std::string> ConsoleInput::ReadLine() {
    if (!console_) return pipe_->Take();
    char buf[kReadSize];
    for (;;) {
        if (auto line = consoleLines_.Next()) return line;
        DWORD n = 0;
        if (!ReadConsoleA(in_, buf, sizeof buf, &n, nullptr) || n == 0) return consoleLines_.Rest();
        consoleLines_.Append(std::string(buf, n));
    }
}

ConsoleOutput::ConsoleOutput() : out_(GetStdHandle(STD_OUTPUT_HANDLE)) {}

void ConsoleOutput::SetTitle(const std::string& title) { SetConsoleTitleA(title.c_str()); }

void ConsoleOutput::EnableVirtualTerminal() {
    DWORD mode = 0;
    if (GetConsoleMode(out_, &mode))
        SetConsoleMode(out_, mode | ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

bool ConsoleOutput::Write(const std::string& text) {
    if (!out_ || out_ == INVALID_HANDLE_VALUE) return false;
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD n = 0;
        if (!WriteFile(out_, text.data() + done, static_cast<DWORD>(text.size() - done), &n, nullptr) || n == 0)
            return false;
        done += n;
    }
    return true;
}

}  // namespace kes::tirvane
