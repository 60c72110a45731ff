#pragma once
// Test doubles for the upload engine: a message loop on a fake clock with scheduled events, and a board
// that answers (or not) the lines written to it, with the log, the include files and the window's controls.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/StringList.h"
#include "shell/IncludePaths.h"
#include "shell/UploadEngine.h"

namespace kes::testing {

// Time stands still unless the engine sleeps; scheduled events run when their time has come, inside
// ProcessMessages, as message handlers would.
class FakeClock : public UploadHost {
public:
    std::uint64_t now = 1000;
    int pumps = 0;
    int pumpsAfterQuit = 0;
    int wakes = 0;
    bool quitTaken = false;

    void At(std::uint64_t when, std::function<void()> fn) { events_.push_back({when, seq_++, std::move(fn)}); }
    void After(std::uint64_t delay, std::function<void()> fn) { At(now + delay, std::move(fn)); }
    // The next pump takes a quit request from the queue.
    void QuitAfter(std::uint64_t delay) {
        After(delay, [this] { quitPending_ = true; });
    }

    std::uint64_t NowMs() override { return now; }
    void Wake() override { ++wakes; }

    bool ProcessMessages(std::uint32_t timeoutMs) override {
        if (quitTaken) ++pumpsAfterQuit;
        if (++pumps > 100000) {
            ADD_FAILURE() << "the engine keeps pumping messages";
            return false;
        }
        if (!RunDue()) {
            if (timeoutMs == 0) return true;
            const Event* next = Earliest();
            if (next && (timeoutMs == kWaitForever || next->when <= now + timeoutMs)) {
                now = std::max(now, next->when);
                RunDue();
            } else if (timeoutMs == kWaitForever) {
                ADD_FAILURE() << "the engine sleeps with nothing left to wake it";
                return false;
            } else {
                now += timeoutMs;
            }
        }
        if (quitPending_) {
            quitPending_ = false;
            quitTaken = true;
            return false;
        }
        return true;
    }

private:
    struct Event {
        std::uint64_t when;
        int seq;
        std::function<void()> fn;
    };
    const Event* Earliest() const {
        const Event* best = nullptr;
        for (const Event& e : events_)
            if (!best || e.when < best->when || (e.when == best->when && e.seq < best->seq)) best = &e;
        return best;
    }
    // Runs every event that is due, in time order; true when one ran.
    bool RunDue() {
        bool ran = false;
        for (;;) {
            const Event* e = Earliest();
            if (!e || e->when > now) return ran;
            auto fn = std::move(const_cast<Event*>(e)->fn);
            events_.erase(events_.begin() + (e - events_.data()));
            fn();
            ran = true;
        }
    }
    std::vector<Event> events_;
    int seq_ = 0;
    bool quitPending_ = false;
};

// What the board does with one line written to it.
struct BoardReply {
    enum Kind { Answer, Silent, Question, FailWrite, ThrowOnWrite } kind = Answer;
    std::uint64_t delay = 0;   // until the answer, or until the question opens
    std::uint64_t holdMs = 0;  // how long the question stays open
    bool yes = true;           // the question's answer
};

class FakeBoard : public UploadPort, public UploadFiles, public UploadLog, public UploadView {
public:
    FakeClock clock;
    UploadEngine engine{*this, clock, *this, *this, *this};

    bool connected = true;
    std::string lineEnd = "\r";
    std::map<int, BoardReply> replies;                // by the 1-based number of the write; default: answer at once
    std::map<int, std::function<void()>> duringWait;  // run right after that write, inside its wait

    std::vector<std::string> written;  // lines as written, without the line end
    std::vector<std::string> raw;      // bytes as written
    std::vector<std::uint64_t> writtenAt;
    int pacingViolations = 0;
    std::vector<std::string> logLines;
    std::vector<std::string> warnings;
    std::vector<std::string> trace;  // every call in order
    std::string status;
    int progressMax = -1;
    int progress = -1;
    int finished = 0;
    int maxDepthShown = 0;
    std::function<void(int)> onOpenLevel;
    std::function<void()> onWarning;  // runs while the warning box is open

    std::set<std::string> tooLarge;  // IncludePathKey of files that read as too large

    void AddFile(const std::string& path, const std::string& text) {
        TStringList l;
        l.SetText(text);
        files_[IncludePathKey(path)] = l.Items();
    }

    UploadResult Send(const std::string& text, const std::string& sourceFile = "C:\\src\\main.fs") {
        TStringList l;
        l.SetText(text);
        UploadText t;
        t.lines = l.Items();
        t.sourceLineCount = l.Count();
        t.sourceFile = sourceFile;
        t.baseFolder = sourceFile.empty() ? "C:\\src" : FolderOfFile(sourceFile);
        return engine.SendTextToMCU(t);
    }

    bool Logged(const std::string& text) const {
        for (const auto& l : logLines)
            if (l == text) return true;
        return false;
    }
    int LogIndex(const std::string& text) const {
        for (size_t i = 0; i < logLines.size(); ++i)
            if (logLines[i] == text) return static_cast<int>(i);
        return -1;
    }

    // UploadPort
    bool Connected() override { return connected; }
    std::string LineEnd() override { return lineEnd; }
    bool Write(const std::string& bytes, std::string& error) override {
        const int n = static_cast<int>(raw.size()) + 1;
        const BoardReply reply = replies.count(n) ? replies[n] : BoardReply{};
        if (reply.kind == BoardReply::FailWrite) {
            error = "Error writing to port";
            trace.push_back("writefail");
            return false;
        }
        if (reply.kind == BoardReply::ThrowOnWrite) throw std::runtime_error("Port not open");
        if (awaitingAnswer_) ++pacingViolations;
        raw.push_back(bytes);
        std::string line = bytes;
        if (line.size() >= lineEnd.size()) line.resize(line.size() - lineEnd.size());
        written.push_back(line);
        writtenAt.push_back(clock.now);
        trace.push_back("write:" + line);
        awaitingAnswer_ = true;
        switch (reply.kind) {
        case BoardReply::Answer: clock.After(reply.delay, [this] { Answer(); }); break;
        case BoardReply::Question:
            clock.After(reply.delay, [this, reply] { Question(reply.holdMs, reply.yes); });
            break;
        default: break;
        }
        if (duringWait.count(n)) clock.After(0, duringWait[n]);
        return true;
    }

    // The board ends a line of its answer.
    void Answer() {
        awaitingAnswer_ = false;
        engine.LineEnded();
    }
    // The warning question, open for holdMs (its message box runs inside a handler).
    void Question(std::uint64_t holdMs, bool yes) {
        trace.push_back("question");
        engine.QuestionOpened();
        awaitingAnswer_ = false;
        engine.LineEnded();  // the warning's line ends while the question is open
        clock.now += holdMs;
        engine.QuestionAnswered(yes);
        if (!yes) engine.Cancel();
    }

    // UploadFiles
    IncludeRead ReadLines(const std::string& path, std::vector<std::string>& lines) override {
        trace.push_back("read:" + path);
        if (tooLarge.count(IncludePathKey(path))) return IncludeRead::TooLarge;
        auto it = files_.find(IncludePathKey(path));
        if (it == files_.end()) return IncludeRead::NotFound;
        lines = it->second;
        return IncludeRead::Ok;
    }

    // UploadLog
    void AddLogLine(const std::string& text) override {
        logLines.push_back(text);
        trace.push_back("log:" + text);
    }

    // UploadView
    void ShowIncludeLevel(int depth) override {
        maxDepthShown = std::max(maxDepthShown, depth);
        trace.push_back(IncludeLevelCaption(depth));
    }
    void OpenIncludeLevel(int depth, const std::string& name, const std::vector<std::string>&) override {
        trace.push_back("open:" + std::to_string(depth) + ":" + name);
        if (onOpenLevel) onOpenLevel(depth);
    }
    void CloseIncludeLevel(int depth) override { trace.push_back("close:" + std::to_string(depth)); }
    void SetProgressRange(int maximum) override { progressMax = maximum; }
    void SetProgress(int position) override { progress = position; }
    void SetStatusText(const std::string& text) override { status = text; }
    void ShowWarning(const std::string& text) override {
        warnings.push_back(text);
        trace.push_back("warning:" + text);
        if (onWarning) onWarning();
    }
    void RepaintTerminal() override {}
    void UploadFinished() override { ++finished; }

private:
    std::map<std::string, std::vector<std::string>> files_;
    bool awaitingAnswer_ = false;
};

}  // namespace kes::testing
