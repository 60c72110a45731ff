#include "UploadEngine.h"

#include <algorithm>

#include "IncludePaths.h"
#include "SourceDirectives.h"
#include "base/StringList.h"

namespace kes {

std::string IncludeLevelCaption(int depth) { return "(Include level: " + std::to_string(depth) + ")"; }

bool UploadAllowed(UploadKind kind, int sourceLineCount) {
    return kind == UploadKind::AllText ? sourceLineCount >= 1 : sourceLineCount > 1;
}

UploadText MakeUploadText(UploadKind kind, const std::string& sourceText, size_t selStart, size_t selLength) {
    TStringList lines;
    lines.SetText(sourceText);
    UploadText t;
    t.sourceLineCount = lines.Count();
    if (kind == UploadKind::AllText) {
        t.lines = lines.Items();
    } else {
        const size_t start = std::min(selStart, sourceText.size());
        lines.SetText(sourceText.substr(start, std::min(selLength, sourceText.size() - start)));
        t.lines = lines.Items();
    }
    return t;
}

namespace {

std::string IncludeFilesText(int n) { return std::to_string(n) + (n == 1 ? " include file" : " include files"); }

}  // namespace

// Puts the engine back to idle however the upload ends, also when a host call throws.
class UploadEngine::RunGuard {
public:
    explicit RunGuard(UploadEngine& e) : e_(e) {}
    ~RunGuard() {
        try {
            e_.ResetRun();
        } catch (...) {
        }
    }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

private:
    UploadEngine& e_;
};

UploadEngine::UploadEngine(UploadPort& port, UploadHost& host, UploadFiles& files, UploadLog& log, UploadView& view)
    : port_(port), host_(host), files_(files), log_(log), view_(view), handshake_(host, port) {}

void UploadEngine::IncludeLevel(char op) {
    if (op == '+')
        ++depth_;
    else if (op == '-' && depth_ > 0)
        --depth_;
    else if (op == '0')
        depth_ = 0;
    view_.ShowIncludeLevel(depth_);
}

void UploadEngine::ResetRun() {
    uploading_ = false;
    while (!frames_.empty()) {
        view_.CloseIncludeLevel(static_cast<int>(frames_.size()));
        frames_.pop_back();
    }
    if (depth_ != 0) IncludeLevel('0');
    handshake_.ClearCancel();
}

UploadResult UploadEngine::SendTextToMCU(const UploadText& text) {
    UploadResult result;
    if (uploading_) {
        result.outcome = UploadOutcome::AlreadyRunning;
        return result;
    }
    handshake_.ClearCancel();
    IncludeLevel('0');
    fileList_.clear();
    if (!port_.Connected() || text.lines.empty()) return result;

    sourceFile_ = text.sourceFile.empty() ? std::string()
                                          : files_.SystemName(ResolveIncludePath(text.baseFolder, text.sourceFile));
    baseFolder_ = text.baseFolder;
    missing_ = 0;
    quit_ = false;
    handshake_.Start(port_.AnswerLineEnd());
    view_.SetProgressRange(text.sourceLineCount > 0 ? text.sourceLineCount - 1 : 0);
    Log("Sourcefile parsing started");
    uploading_ = true;
    RunGuard guard(*this);

    for (size_t i = 0; i < text.lines.size(); ++i) {
        const std::string& line = text.lines[i];
        const SourceLineKinds k = ClassifySourceLine(line);
        if (k.log) Log(line);
        if (handshake_.CancelRequested()) break;
        if (k.include && AcceptIncludes) {
            Log(line);
            if (!SkipComments && k.backslashInclude) SendLineToMCU(line);
            if (!handshake_.CancelRequested()) ParseIncludeFile(GetParseFilename(line));
        }
        if (k.eof) {
            Log("Source window parsed until an \"EOF\" directive");
            break;
        }
        if (!k.skip && !(SkipComments && IsCommentLine(line)) && !line.empty()) SendLineToMCU(line);
        view_.RepaintTerminal();
        if (!quit_ && !host_.ProcessMessages(0)) StopForQuit();
        if (!handshake_.CancelRequested()) view_.SetProgress(static_cast<int>(i) + 1);
    }

    // The last lines go out and are answered before the upload counts as done.
    if (!handshake_.CancelRequested()) Paced(handshake_.Finish());
    const bool cancelled = handshake_.CancelRequested();
    uploading_ = false;
    if (cancelled) {
        Log("Sourcefile parsing CANCELED!");
        view_.SetStatusText("Upload CANCELED!");
        result.outcome = UploadOutcome::Cancelled;
    } else if (missing_ > 0) {
        view_.SetProgress(0);
        Log("Sourcefile parsing completed - " + IncludeFilesText(missing_) + " NOT FOUND!");
        view_.SetStatusText("Upload INCOMPLETE - " + IncludeFilesText(missing_) + " not found!");
        result.outcome = UploadOutcome::Incomplete;
    } else {
        view_.SetProgress(0);
        Log("Sourcefile parsing completed");
        view_.SetStatusText("All text send to processor");
        result.outcome = UploadOutcome::Completed;
    }
    result.linesWritten = handshake_.Written();
    result.missingIncludes = missing_;
    result.quitRequested = quit_;
    ResetRun();
    view_.UploadFinished();
    return result;
}

bool UploadEngine::AlreadyIncluded(const std::string& path) const {
    const std::string key = IncludePathKey(path);
    if (!sourceFile_.empty() && IncludePathKey(sourceFile_) == key) return true;
    for (const std::string& taken : fileList_)
        if (IncludePathKey(taken) == key) return true;
    return false;
}

void UploadEngine::IncludeNotFound(const std::string& name) {
    ++missing_;
    Log("ERROR -Include file \"" + name + "\" not found! ");
    view_.ShowWarning("Include File not found: " + name);
}

void UploadEngine::ParseIncludeFile(const std::string& name) {
    if (name.empty()) {
        IncludeNotFound(name);
        return;
    }
    // Aliases of one file ("a.fs.", "A.FS ", a short 8.3 name) are taken as the system takes them.
    const std::string path = files_.SystemName(ResolveIncludePath(baseFolder_, name));
    if (AlreadyIncluded(path)) {
        const std::string text = "Include File " + name + " already included! SKIPPING it now!";
        view_.ShowWarning(text);
        Log(text);
        return;
    }
    if (depth_ >= kMaxIncludeDepth) {
        if (!Paced(handshake_.Finish())) return;  // the lines before the directive still go out
        Log("ERROR -Include file \"" + name + "\" nested deeper than " + std::to_string(kMaxIncludeDepth) +
            " levels! ");
        StopWith("include files nested too deep");
        return;
    }
    IncludeLevelFrame frame;
    frame.name = name;
    frame.path = path;
    switch (files_.ReadLines(path, frame.lines)) {
    case IncludeRead::Ok: break;
    case IncludeRead::TooLarge:
        ++missing_;
        Log("ERROR -Include file \"" + name + "\" is larger than " + kMaxIncludeFileText + " - not read! ");
        view_.ShowWarning("Include File larger than " + std::string(kMaxIncludeFileText) + ": " + name);
        return;
    case IncludeRead::NotFound: IncludeNotFound(name); return;
    }
    fileList_.push_back(path);
    IncludeLevel('+');
    frames_.push_back(std::move(frame));
    const size_t level = frames_.size();
    view_.OpenIncludeLevel(depth_, name, frames_.back().lines);
    Log("File \"" + name + "\" found and to be parsed now ");

    ParseIncludeLines(level - 1);

    if (handshake_.CancelRequested())
        Log("File \"" + name + "\" upload CANCELED! ");
    else
        Log("File \"" + name + "\" parsed ");
    view_.CloseIncludeLevel(depth_);
    frames_.pop_back();
    IncludeLevel('-');
}

void UploadEngine::ParseIncludeLines(size_t level) {
    const std::string name = frames_[level].name;
    for (size_t i = 0; i < frames_[level].lines.size(); ++i) {
        frames_[level].line = static_cast<int>(i);
        const std::string line = frames_[level].lines[i];
        const SourceLineKinds k = ClassifySourceLine(line);
        if (k.log) Log(line);
        if (handshake_.CancelRequested()) break;
        if (k.include) {
            Log(line);
            if (!line.empty() && ((!SkipComments && k.backslashInclude) || k.parenInclude)) SendLineToMCU(line);
            if (!handshake_.CancelRequested()) ParseIncludeFile(GetParseFilename(line));
        }
        if (k.eof) {
            Log(line);
            if (!SkipComments && !k.hashEof) SendLineToMCU(line);
            Log("File \"" + name + "\" parsed until an \"EOF\" directive");
            break;
        }
        if (!k.skip && !(SkipComments && IsCommentLine(line)) && !line.empty()) SendLineToMCU(line);
    }
}

void UploadEngine::StopForQuit() {
    quit_ = true;
    StopWith("the program is closing");
}

void UploadEngine::StopWith(const std::string& reason) {
    Log("Source upload stopped: " + reason);
    Log("Upload will be CANCELED");
    handshake_.RequestCancel();
}

bool UploadEngine::SendLineToMCU(const std::string& line) {
    if (handshake_.CancelRequested()) return false;
    return Paced(handshake_.Send(line + port_.LineEnd()));
}

bool UploadEngine::Paced(WaitOutcome outcome) {
    switch (outcome) {
    case WaitOutcome::Answered: return true;
    case WaitOutcome::WriteFailed: {
        const std::string error = handshake_.WriteError();
        StopWith("COM port write failed" + (error.empty() ? std::string() : " - " + error));
        return false;
    }
    case WaitOutcome::TimedOut:
        Log("Source upload had a TIMEOUT - did not get a CR from MCU");
        Log("Upload will be CANCELED");
        handshake_.RequestCancel();
        return false;
    case WaitOutcome::Cancelled: return false;
    case WaitOutcome::QuitRequested: StopForQuit(); return false;
    }
    return false;
}

}  // namespace kes
