#pragma once
// What the upload engine needs from the window that runs it. The source window implements these over the
// serial port, the message loop, the file system, the log window and its own controls; the tests implement
// them with a scripted board and a fake clock.
#include <cstdint>
#include <string>
#include <vector>

namespace kes {

// The serial port as the upload sees it.
class UploadPort {
public:
    virtual ~UploadPort() = default;
    virtual bool Connected() = 0;
    // The line end written after every line: LF for ESP32 boards, CR for the others. Asked per line.
    virtual std::string LineEnd() = 0;
    // The character that ends a line of the board's answers (CR; LF for ESP32 boards). Asked as an upload starts.
    virtual char AnswerLineEnd() { return '\r'; }
    // Writes the bytes; false with a reason when the port refused them (an exception counts the same). Called on
    // the GUI thread, and on the thread that takes the board's bytes in when a line goes out at an answer's end.
    virtual bool Write(const std::string& bytes, std::string& error) = 0;
};

// The message loop that keeps the program alive while a line waits for its answer.
class UploadHost {
public:
    static constexpr std::uint32_t kWaitForever = 0xFFFFFFFFu;

    virtual ~UploadHost() = default;
    // Milliseconds of a steady clock (asked on any thread).
    virtual std::uint64_t NowMs() = 0;
    // Handles every message that is waiting. When none was waiting, sleeps first until one arrives or
    // timeoutMs has passed (0: never sleeps; kWaitForever: no time limit). Returns false when it took a
    // request to quit the program from the queue; the host keeps that request and posts it again after
    // the upload has ended (UploadResult::quitRequested).
    virtual bool ProcessMessages(std::uint32_t timeoutMs) = 0;
    // Ends a sleep of ProcessMessages at once, or the next one if none runs (any thread; the lines handed over
    // ahead run low).
    virtual void Wake() {}
};

// Include files larger than this are not read.
inline constexpr std::uint64_t kMaxIncludeFileBytes = 16u << 20;
inline constexpr const char* kMaxIncludeFileText = "16 MiB";

enum class IncludeRead { Ok, NotFound, TooLarge };

// Reads include files.
class UploadFiles {
public:
    virtual ~UploadFiles() = default;
    // The file's lines (split at CR LF, CR or LF). NotFound when it is missing, unreadable or no regular file;
    // TooLarge above kMaxIncludeFileBytes.
    virtual IncludeRead ReadLines(const std::string& path, std::vector<std::string>& lines) = 0;
    // The name the system knows the file by (see SystemFileName); include-once compares these.
    virtual std::string SystemName(const std::string& path) { return path; }
};

// The log window: the host puts the time of day and a blank before the text, adds the line and scrolls
// the list to its end.
class UploadLog {
public:
    virtual ~UploadLog() = default;
    virtual void AddLogLine(const std::string& text) = 0;
};

// The source window's controls.
class UploadView {
public:
    virtual ~UploadView() = default;
    // The include level label: caption IncludeLevelCaption(depth), repainted at once.
    virtual void ShowIncludeLevel(int depth) = 0;
    // An include level opened: its read-only memo on the include frame (Top = Left = depth * 10 + 10)
    // holds the file's lines; the frame is shown.
    virtual void OpenIncludeLevel(int depth, const std::string& name, const std::vector<std::string>& lines) = 0;
    // The memo of that level is freed and the frame hidden (also while outer levels stay open).
    virtual void CloseIncludeLevel(int depth) = 0;
    virtual void SetProgressRange(int maximum) = 0;           // minimum 0
    virtual void SetProgress(int position) = 0;               // shown at the display's pace
    virtual void SetStatusText(const std::string& text) = 0;  // status panel 2
    // A modal message box: the text, caption "Warning", warning icon, button OK.
    virtual void ShowWarning(const std::string& text) = 0;
    // After each line of the source window's own text: repaint the terminal memo of the main window.
    virtual void RepaintTerminal() = 0;
    // The upload ended: show the text lengths, bring the main window to the front and repaint it.
    virtual void UploadFinished() = 0;
};

}  // namespace kes
