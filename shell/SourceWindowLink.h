#pragma once
// What the main window asks of the source window (Unit2). The source window implements this and hands itself
// over with SetSourceWindowLink when it is made; until then (and in a program without one) the main window
// finds no link and skips what concerns the source window. GUI thread only.
namespace kes {

class TSourceWindowLink {
public:
    virtual ~TSourceWindowLink() = default;
    // "Show Sourcefile window" and "File" > "SourceFile Window": show it and bring it to the front.
    virtual void ShowSourceWindow() = 0;
    // Closing the main window closes a visible source window (its own close stores its place).
    virtual bool SourceWindowVisible() const = 0;
    virtual void CloseSourceWindow() = 0;
    // An upload is running: each drain repaints the terminal at once.
    virtual bool Uploading() const = 0;
    // A drained batch ended a line of the board's answer; told after the batch was shown and checked for the
    // board's warning, so that the question is open before the next line goes out.
    virtual void BoardLineEnded() = 0;
    // The warning question (" ALREADY DEFINED", " COMPILE ONLY") opens and is answered. On No the main window
    // then presses the "Cancel upload" button through PressCancelUpload.
    virtual void WarningQuestionOpened() = 0;
    virtual void WarningQuestionAnswered(bool yes) = 0;
    // Presses `btCancel` ("Cancel upload").
    virtual void PressCancelUpload() = 0;
};

// The source window's link, or nullptr while there is none.
TSourceWindowLink* SourceWindowLink();
void SetSourceWindowLink(TSourceWindowLink* link);

}  // namespace kes
