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

// Reads standard input on its own thread, so that the main loop never waits for the user: with a console
// its edited line input (the console echoes and edits while output goes on), otherwise the stream from a
// pipe or a file. Complete lines wait in `lines`.
struct ConsoleInput::LineReader {
    HANDLE in = nullptr;
    bool console = false;
    UniqueHandle ready;  // manual-reset: set while lines wait
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
    bool Read(char* buf, DWORD& n) {
        return (console ? ReadConsoleA(in, buf, kReadSize, &n, nullptr) : ReadFile(in, buf, kReadSize, &n, nullptr)) &&
               n > 0;
    }
    static void Run(std::shared_ptr<LineReader> self) {
        try {
            LineSplitter splitter;
            char buf[kReadSize];
            DWORD n = 0;
            while (self->Read(buf, n)) {
                splitter.Append(std::string(buf, n));
                while (auto line = splitter.Next()) self->Add(std::move(*line));
            }
            if (auto rest = splitter.Rest()) self->Add(std::move(*rest));
        } catch (const std::exception&) {
            // Out of memory: input ends here; received text still prints.
        }
    }
};

ConsoleInput::ConsoleInput() : reader_(std::make_shared<LineReader>()) {
    in_ = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    console_ = in_ && in_ != INVALID_HANDLE_VALUE && GetConsoleMode(in_, &mode);
    reader_->ready = NewEvent(true, false);
    reader_->in = in_;
    reader_->console = console_;
    if (!reader_->ready || !in_ || in_ == INVALID_HANDLE_VALUE) return;
    try {
        std::thread(LineReader::Run, reader_).detach();
    } catch (const std::exception&) {
    }
}

// The reader may still be blocked in its read; it keeps its own share of the state.
ConsoleInput::~ConsoleInput() = default;

HANDLE ConsoleInput::WaitHandle() const { return reader_->ready.Get(); }

bool ConsoleInput::KeyPressed() { return reader_->Waiting(); }

std::optional<std::string> ConsoleInput::ReadLine() { return reader_->Take(); }

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
