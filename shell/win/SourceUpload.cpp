#include "shell/win/SourceUpload.h"

#include "gui/win/Dialogs.h"
#include "shell/SourceEditing.h"
#include "shell/Unit2.h"

namespace kes {

namespace {

// Lines as memo text: each followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace

TSourceUpload::TSourceUpload(TSourceFile& window) : window_(window), engine_(*this, *this, files_, *this, *this) {}

TSourceUpload::~TSourceUpload() { AttachPort(nullptr); }

void TSourceUpload::AttachPort(TCustomComPort* port) {
    if (port_ && link_) {
        try {
            port_->DetachLink(link_.get());
        } catch (...) {
        }
    }
    link_.reset();
    port_ = port;
    if (!port_) return;
    link_ = std::make_unique<TComLink>();
    link_->OnConnChange = [this](TObject*, bool open) {
        if (!open) PortClosed();
    };
    port_->AttachLink(link_.get());
}

void TSourceUpload::PortClosed() {
    if (!engine_.Uploading()) return;
    AddLogLine("Source upload stopped: COM port closed");
    engine_.Cancel();
}

UploadResult TSourceUpload::Run(UploadKind kind) {
    UploadResult result;
    if (engine_.Uploading()) {
        result.outcome = UploadOutcome::AlreadyRunning;
        return result;
    }
    TMemo& memo = *window_.Memo1;
    if (!UploadAllowed(kind, memo.Lines().Count())) return result;
    int selStart = 0, selEnd = 0;
    memo.GetSelection(selStart, selEnd);
    UploadText text =
        MakeUploadText(kind, memo.Text(), static_cast<size_t>(selStart), static_cast<size_t>(selEnd - selStart));
    text.sourceFile = window_.FileName();
    text.baseFolder = window_.BaseFolder();
    window_.Memo2->SetText(JoinLines(text.lines));
    window_.MemoSourceFileList->Clear();
    engine_.AcceptIncludes = window_.cb1->Checked();
    engine_.SkipComments = window_.cbSkipComments->Checked();
    // The watch stays while the upload runs, however it ends.
    struct Watch {
        TCustomComPort* port;
        ~Watch() {
            if (port) port->SetReceiveWatch(nullptr);
        }
    } watch{port_};
    if (port_) port_->SetReceiveWatch(this);
    result = engine_.SendTextToMCU(text);
    if (result.quitRequested) loop_.RepostQuit();
    return result;
}

void TSourceUpload::AddLogLine(const std::string& text) {
    if (terminal_) terminal_->Log(" " + text, true);
}

void TSourceUpload::RaiseTerminal() {
    if (terminal_) terminal_->Raise();
}

void TSourceUpload::WarningQuestionAnswered(bool yes) {
    engine_.QuestionAnswered(yes);
    if (!yes) window_.btCancel->Click();  // "Cancel upload"
}

// ---- the port

bool TSourceUpload::Connected() { return port_ && port_->Connected(); }

std::string TSourceUpload::LineEnd() { return terminal_ ? terminal_->UploadLineEnd() : std::string("\r"); }

char TSourceUpload::AnswerLineEnd() { return terminal_ ? terminal_->Mode().AnswerLineEnd : '\r'; }

// On the GUI thread, or on the port's event thread when a line goes out at an answer's line end.
bool TSourceUpload::Write(const std::string& bytes, std::string& error) {
    if (!port_) {
        error = "COM port not open";
        return false;
    }
    return port_->WriteFromAnyThread(bytes, error);
}

// ---- the board's bytes, on the thread that takes them in

void TSourceUpload::BytesArrived(std::string_view bytes, size_t waiting) {
    engine_.Handshake().BytesArrived(bytes, waiting);
}

void TSourceUpload::BytesTaken(size_t count) { engine_.Handshake().BytesTaken(count); }

// ---- the wait

bool TSourceUpload::ProcessMessages(std::uint32_t timeoutMs) {
    // A line end held for the warning check is drained at once rather than at the next timer tick. The messages
    // (the terminal's display among them) are handled while the kept lines go out without this thread; once one
    // went out, the next line is handed over first.
    auto held = [this] { return terminal_ && terminal_->HasQueued() && engine_.Handshake().Held(); };
    const bool goOn =
        loop_.ProcessMessages(timeoutMs, [this, &held] { return !engine_.Handshake().Full() || held(); });
    if (held()) terminal_->Drain();
    return goOn && !loop_.QuitTaken();
}

// ---- the window's controls

void TSourceUpload::ShowIncludeLevel(int depth) {
    window_.lbIncludeLevel->Tag = depth;
    window_.lbIncludeLevel->SetCaption(IncludeLevelCaption(depth));
    window_.lbIncludeLevel->Repaint();
}

void TSourceUpload::OpenIncludeLevel(int depth, const std::string& name, const std::vector<std::string>& lines) {
    TIncludeFrame& frame = *window_.IncludeFrame1;
    auto* memo = new TMemo(&window_);
    memo->SetName("MemoLevel" + std::to_string(depth));
    memo->SetVisible(false);
    memo->SetReadOnly(true);
    memo->SetWordWrap(false);
    const TLevelBounds b = IncludeLevelBounds(depth, frame.Width(), frame.Height());
    memo->SetBounds(b.Left, b.Top, b.Width, b.Height);
    memo->SetParent(&frame);
    memo->SetText(JoinLines(lines));
    levelMemos_.push_back(memo);
    window_.MemoSourceFileList->Lines().Add(name);
    frame.SetVisible(true);
    frame.BringToFront();
    memo->SetVisible(true);
}

void TSourceUpload::CloseIncludeLevel(int /*depth*/) {
    if (!levelMemos_.empty()) {
        delete levelMemos_.back();
        levelMemos_.pop_back();
    }
    // Hidden after every level, also while an outer one is still open; the next level opened shows it again.
    window_.IncludeFrame1->SetVisible(false);
}

void TSourceUpload::SetProgressRange(int maximum) { window_.ProgressBar1->SetRange(0, maximum); }

// While lines go out, the bar is display work that no line waits for: a repaint of the shown (skinned) bar takes
// 3-5 ms under Wine, so it follows at the terminal's pace, and the last position is shown at the end.
void TSourceUpload::SetProgress(int position) {
    progress_ = position;
    if (!engine_.Uploading() || NowMs() >= nextProgressAt_) ShowProgress();
}

void TSourceUpload::ShowProgress() {
    if (!progress_) return;
    const std::uint64_t start = NowMs();
    window_.ProgressBar1->SetPosition(*progress_);
    window_.ProgressBar1->Repaint();
    progress_.reset();
    nextProgressAt_ = TTerminal::NextShowAt(start, NowMs(), TTerminal::kAppendShare);
}

void TSourceUpload::SetStatusText(const std::string& text) { window_.StatusBar1->Panels()[2].SetText(text); }

void TSourceUpload::ShowWarning(const std::string& text) { MsgBox(text, "Warning", MB_OK | MB_ICONWARNING, &window_); }

// The terminal shows the answers at its own pace: no line waits for the memo.
void TSourceUpload::RepaintTerminal() {
    if (terminal_) terminal_->ShowIfDue();
}

void TSourceUpload::UploadFinished() {
    ShowProgress();
    window_.ShowTextLengths();
    if (!terminal_) return;
    terminal_->Drain();  // the last answer, taken in before the upload ended
    terminal_->Show();
    terminal_->Raise();
}

}  // namespace kes
