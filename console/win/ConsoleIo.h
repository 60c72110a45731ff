#pragma once
// Standard input and output of the companion. Input is read on a thread of its own and cut into lines:
// with a console its edited line input, without one (a pipe or a file) the stream. The main loop only
// takes whole lines, so received text keeps printing while the user types.
#include <memory>
#include <optional>
#include <string>

#include "console/win/Win.h"

namespace kes::tirvane {

class ConsoleInput {
public:
    ConsoleInput();
    ~ConsoleInput();
    ConsoleInput(const ConsoleInput&) = delete;
    ConsoleInput& operator=(const ConsoleInput&) = delete;

    bool IsConsole() const { return console_; }
    // Signalled while a line waits (main-loop wait).
    HANDLE WaitHandle() const;
    // True when a whole line waits.
    bool KeyPressed();
    // The next whole line without its end, or nothing when none waits (the unended rest of the input
    // comes as a last line once the input ends).
    std::optional<std::string> ReadLine();

    struct LineReader;

private:
    HANDLE in_ = nullptr;
    bool console_ = false;
    std::shared_ptr<LineReader> reader_;
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
