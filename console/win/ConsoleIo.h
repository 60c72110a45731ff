#pragma once
// Standard input and output of the companion. With a console, input is read as the console's edited
// line input; without one (input from a pipe or a file), a reader thread cuts the stream into lines.
#include <memory>
#include <optional>
#include <string>

#include "console/LineSplitter.h"
#include "console/win/Win.h"

namespace kes::tirvane {

class ConsoleInput {
public:
    ConsoleInput();
    ~ConsoleInput();
    ConsoleInput(const ConsoleInput&) = delete;
    ConsoleInput& operator=(const ConsoleInput&) = delete;

    bool IsConsole() const { return console_; }
    // Signalled while input may be waiting (main-loop wait).
    HANDLE WaitHandle() const;
    // True when a line can be read: with a console, a key-down event heads the input buffer; other
    // events at its head (key releases, mouse, focus, size) are removed, events behind them stay.
    bool KeyPressed();
    // The next line without its end. With a console this waits until the user presses Enter.
    // Nothing at the end of the input or on a read failure.
    std::optional<std::string> ReadLine();

    struct PipeReader;

private:
    HANDLE in_ = nullptr;
    bool console_ = false;
    LineSplitter consoleLines_;  // console bytes read past the last line (main thread only)
    std::shared_ptr<PipeReader> pipe_;
};

// Standard output. Text is written whole, so that escape sequences are never cut apart.
class ConsoleOutput {
public:
    ConsoleOutput();
    // Console title and virtual-terminal processing; a failure (no console) is ignored.
    void SetTitle(const std::string& title);
    void EnableVirtualTerminal();
    bool Write(const std::string& text);

private:
    HANDLE out_ = nullptr;
};

}  // namespace kes::tirvane
