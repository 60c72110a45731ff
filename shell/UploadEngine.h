#pragma once
// The upload of a Forth source to the board, line by line, with its include files followed recursively.
// The source window starts it from a button's click; every line goes out when the board has answered the line before
// (see UploadHandshake), while the program's messages go on being handled.
#include <string>
#include <vector>

#include "UploadHandshake.h"
#include "UploadInterfaces.h"

namespace kes {

// "(Include level: n)"
std::string IncludeLevelCaption(int depth);

// What the source window hands over when an upload starts.
struct UploadText {
    std::vector<std::string> lines;  // the text (or selection) as logical lines, taken at the start
    int sourceLineCount = 0;         // lines of the whole source text: the progress bar's range
    std::string sourceFile;          // the source window's own file ("" for unsaved text)
    std::string baseFolder;          // the folder relative include names are taken in
};

// "Send all text to processor" (1) and "Send selected text to processor" (2).
enum class UploadKind { AllText = 1, Selection = 2 };

// The buttons' conditions: the whole text needs a source of at least one line, the selection one of more
// than one line.
bool UploadAllowed(UploadKind kind, int sourceLineCount);

// The text to upload as the buttons take it: the whole source text or its selection (byte offsets, clipped
// to the text), split into logical lines at CR LF, CR or LF however the editor wraps them; the progress
// range counts the lines of the whole source. File and base folder are left for the caller.
UploadText MakeUploadText(UploadKind kind, const std::string& sourceText, size_t selStart = 0, size_t selLength = 0);

enum class UploadOutcome {
    NotStarted,      // port closed or no line: nothing happened
    AlreadyRunning,  // asked from inside a running upload: refused
    Completed,
    Incomplete,  // ran to its end, but include files were missing
    Cancelled,
};

struct UploadResult {
    UploadOutcome outcome = UploadOutcome::NotStarted;
    int linesWritten = 0;
    int missingIncludes = 0;
    bool quitRequested = false;  // the host must post the quit request again
};

// One open include level (the data behind its memo on the include frame).
struct IncludeLevelFrame {
    std::string name;                // as the directive wrote it
    std::string path;                // resolved and normalised
    std::vector<std::string> lines;  // the file's lines
    int line = 0;                    // index of the line being handled
};

class UploadEngine {
public:
    static constexpr int kMaxIncludeDepth = 16;

    UploadEngine(UploadPort& port, UploadHost& host, UploadFiles& files, UploadLog& log, UploadView& view);

    // Follow include directives of the source window's own text ("Accept  INCLUDE files") and leave
    // comment lines out ("Skip \ comment lines"); the check boxes keep these in step, also mid-upload.
    bool AcceptIncludes = true;
    bool SkipComments = true;

    UploadResult SendTextToMCU(const UploadText& text);

    // The pacing: the receive side tells it of the board's bytes (see UploadHandshake), the terminal of its checks
    // and of the warning question.
    UploadHandshake& Handshake() { return handshake_; }
    const UploadHandshake& Handshake() const { return handshake_; }
    void LineEnded() { handshake_.LineEnded(); }
    void QuestionOpened() { handshake_.QuestionOpened(); }
    void QuestionAnswered(bool yes) { handshake_.QuestionAnswered(yes); }
    // "Cancel upload", the question's No, closing the port or the window.
    void Cancel() { handshake_.RequestCancel(); }

    bool Uploading() const { return uploading_; }
    int IncludeDepth() const { return depth_; }
    const std::vector<IncludeLevelFrame>& Frames() const { return frames_; }
    // The resolved paths of the include files taken into this upload.
    const std::vector<std::string>& SourceFileList() const { return fileList_; }

private:
    class RunGuard;

    void ParseIncludeFile(const std::string& name);
    void ParseIncludeLines(size_t level);
    bool AlreadyIncluded(const std::string& path) const;
    void IncludeNotFound(const std::string& name);
    // Hands one line to the handshake (written now, or at the answer to the line before); false when the upload is
    // to stop.
    bool SendLineToMCU(const std::string& line);
    // Stops the upload for an outcome of the handshake other than Answered; false then.
    bool Paced(WaitOutcome outcome);
    void IncludeLevel(char op);                // '+', '-' or '0'
    void StopWith(const std::string& reason);  // logs the reason and cancels
    void StopForQuit();
    void ResetRun();
    void Log(const std::string& text) { log_.AddLogLine(text); }

    UploadPort& port_;
    UploadHost& host_;
    UploadFiles& files_;
    UploadLog& log_;
    UploadView& view_;
    UploadHandshake handshake_;

    bool uploading_ = false;
    int depth_ = 0;
    std::vector<IncludeLevelFrame> frames_;
    std::vector<std::string> fileList_;
    std::string sourceFile_;
    std::string baseFolder_;
    int missing_ = 0;
    bool quit_ = false;
};

}  // namespace kes
