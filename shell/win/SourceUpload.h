#pragma once
// The source window's upload: the upload engine wired to the board's port, the GUI thread's message loop, the
// include files on disk, the terminal (board type, receive path, log) and the source window's own controls.
// It hears the terminal's "line ended" and "warning" and asks it to drain as soon as a line end is queued.
// GUI thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "serial/CPort.h"
#include "shell/IncludeFileReader.h"
#include "shell/Terminal.h"
#include "shell/UploadEngine.h"
#include "shell/win/UploadMessageLoop.h"

namespace kes {

class TSourceFile;
class TMemo;

class TSourceUpload : private UploadPort,
                      private UploadHost,
                      private UploadLog,
                      private UploadView,
                      public TerminalUpload {
public:
    explicit TSourceUpload(TSourceFile& window);
    ~TSourceUpload() override;
    TSourceUpload(const TSourceUpload&) = delete;
    TSourceUpload& operator=(const TSourceUpload&) = delete;

    // Follows the port's opening and closing: a port closed during an upload stops it at once.
    void AttachPort(TCustomComPort* port);
    // The terminal the upload takes its line end, pacing and log from (nullptr: none).
    void AttachTerminal(TTerminal* terminal) { terminal_ = terminal; }
    // Brings the terminal window to the front ("Cancel upload", the end of an upload).
    void RaiseTerminal();

    // "Send all text to processor" (1) / "Send selected text to processor" (2). Refused while one runs.
    UploadResult Run(UploadKind kind);
    bool Running() const override { return engine_.Uploading(); }
    // Stops a running upload (also sets the cancel flag when idle, as the button does).
    void Cancel() { engine_.Cancel(); }
    UploadEngine& Engine() { return engine_; }

    // Adds a log line: time, a blank, the text; the log list is scrolled to its end.
    void AddLogLine(const std::string& text) override;

private:
    // UploadPort
    bool Connected() override;
    std::string LineEnd() override;
    bool Write(const std::string& bytes, std::string& error) override;
    // UploadHost
    std::uint64_t NowMs() override { return loop_.NowMs(); }
    bool ProcessMessages(std::uint32_t timeoutMs) override;
    // UploadView
    void ShowIncludeLevel(int depth) override;
    void OpenIncludeLevel(int depth, const std::string& name, const std::vector<std::string>& lines) override;
    void CloseIncludeLevel(int depth) override;
    void SetProgressRange(int maximum) override;
    void SetProgress(int position) override;
    void SetStatusText(const std::string& text) override;
    void ShowWarning(const std::string& text) override;
    void RepaintTerminal() override;
    void UploadFinished() override;

    // TerminalUpload
    void BoardLineEnded() override { engine_.LineEnded(); }
    void WarningQuestionOpened() override { engine_.QuestionOpened(); }
    void WarningQuestionAnswered(bool yes, bool lineEnded) override;

    void PortClosed();
    // Sets and repaints the bar to the position that waits, if one does.
    void ShowProgress();

    TSourceFile& window_;
    TUploadMessageLoop loop_;
    IncludeFileReader files_;
    UploadEngine engine_;
    TCustomComPort* port_ = nullptr;
    TTerminal* terminal_ = nullptr;
    std::unique_ptr<TComLink> link_;
    std::vector<TMemo*> levelMemos_;  // one per open include level, outermost first
    std::optional<int> progress_;     // a position not shown yet
    std::uint64_t nextProgressAt_ = 0;
};

}  // namespace kes
