#pragma once
// The source window's upload: the upload engine wired to the board's port, the GUI thread's message loop, the
// include files on disk, the terminal (board type, receive path, log) and the source window's own controls.
// While it runs, it watches the port's received bytes, so that the next line goes out at the answer's line end on
// the thread that takes the bytes in (see UploadHandshake); it hears the terminal's checks and warning question, and
// asks the terminal to drain at once when a line end waits for the check. GUI thread, apart from the watch and the
// writes it makes.
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
                      private TComReceiveWatch,
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
    char AnswerLineEnd() override;
    bool Write(const std::string& bytes, std::string& error) override;
    // TComReceiveWatch
    void BytesArrived(std::string_view bytes, size_t waiting) override;
    void BytesTaken(size_t count) override;
    bool Urgent() const override { return engine_.Uploading() && engine_.Handshake().AnswerAwaited(); }
    // UploadHost
    std::uint64_t NowMs() override { return loop_.NowMs(); }
    bool ProcessMessages(std::uint32_t timeoutMs) override;
    void Wake() override { loop_.Wake(); }
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
    void AnswerChecked() override { engine_.Handshake().AnswerChecked(); }
    void WarningQuestionOpened() override { engine_.QuestionOpened(); }
    void WarningQuestionAnswered(bool yes) override;

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
