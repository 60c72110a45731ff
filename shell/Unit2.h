#pragma once
// The source window: the Forth source that the user edits and uploads. It opens, saves and prints text files,
// converts letter case, searches, marks unsaved changes, shows the text lengths, opens an include file named
// in the text in a viewer (and in the system's text editor), keeps its place and the last file in the
// registry, and runs the upload of its text through the upload engine. Everything here runs on the GUI thread.
#include <functional>
#include <memory>
#include <string>

#include "gui/ComCtrls.h"
#include "gui/Dialogs.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "shell/SourceWindowLink.h"
#include "shell/UploadEngine.h"
#include "shell/Unit5.h"

namespace kes {

class TCustomComPort;
class TSourceUpload;

// What the source window reaches of the main window. The program fills it from the main window; a test host
// from its own port and log.
struct TMainWindowAccess {
    TCustomComPort* Port = nullptr;  // the board's port; its Tag is the receive path's line-end flag
    // The "ESP32 FORTH" board type is chosen: uploaded lines end in LF instead of CR.
    std::function<bool()> LineFeedEnds;
    // Adds a finished log line (time already in front) to the log window and scrolls the list to its end.
    std::function<void(const std::string&)> AddLogLine;
    // Repaints the terminal memo at once.
    std::function<void()> RepaintTerminal;
    // Brings the main window to the front and repaints it.
    std::function<void()> BringToFront;
    // Drains the receive queue now (the main window's timer handler); run by the upload's wait as soon as
    // the port reported a line end, so that a line is not held for the next timer tick. May be empty.
    std::function<void()> DrainReceived;
};

class TSourceFile : public TForm, public TSourceWindowLink {
    KES_CLASS(TSourceFile, TForm)
public:
    explicit TSourceFile(TComponent* owner);
    ~TSourceFile() override;

    // Wires the window to the main window (port, log, terminal); call once after making it.
    void Connect(const TMainWindowAccess& access);
    const TMainWindowAccess& Access() const { return access_; }

    // Components, in the order the window lists them.
    TPanel* Panel1;
    TLabel* lbIncludeLevel;  // Tag: the include depth
    TShape* Shape1;
    TButton *Button1, *Button2;
    TCheckBox *cb1, *cbSkipComments;
    TButton* btCancel;
    TButton* btFind;
    TEdit* Edit1;
    TButton* btAgain;
    TEdit* Edit2;
    TButton* Button3;
    TMemo* Memo1;
    TPanel* Panel2;
    TProgressBar* ProgressBar1;
    TStatusBar* StatusBar1;
    TMemo* Memo2;
    TIncludeFrame* IncludeFrame1;
    TMemo* MemoSourceFileList;
    TMemo* Memo3;
    TMainMenu* MainMenu1;
    TMenuItem *File1, *Openasourcetextfile1, *OpenRESENTfile1, *Savecontentinasourcetextfile1,
        *Savecontentinthesamefile1, *ConvertSourcefiletolowercase1, *ConvertSourcefiletoUPPERCASE1,
        *Printcurrentsourcefile1, *PrinterSETUP, *Deletealltext1, *SureClearscreen1;
    TOpenDialog* OpenDialog1;
    TSaveDialog* SaveDialog1;
    TPrintDialog* PrintDialog1;
    TPrinterSetupDialog* PrinterSetupDialog1;

    // The folder fixed at program start: relative include names of unsaved text are taken in it.
    std::string StartFolder;
    // The folder relative include names are taken in now (the file's folder, or StartFolder).
    std::string BaseFolder() const;
    // The file the window holds (status panel 1; empty for unsaved text).
    std::string FileName() const;

    // Handlers.
    void File1Click(TObject* sender);
    void Openasourcetextfile1Click(TObject* sender);
    void OpenRESENTfile1Click(TObject* sender);
    void Savecontentinasourcetextfile1Click(TObject* sender);
    void Savecontentinthesamefile1Click(TObject* sender);
    void Shape1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ConvertSourcefiletolowercase1Click(TObject* sender);
    void ConvertSourcefiletoUPPERCASE1Click(TObject* sender);
    void Printcurrentsourcefile1Click(TObject* sender);
    void PrinterSETUPClick(TObject* sender);
    void SureClearscreen1Click(TObject* sender);
    void Memo1Change(TObject* sender);
    void Memo1Click(TObject* sender);
    void Memo1DblClick(TObject* sender);
    void Memo3DblClick(TObject* sender);
    void Memo3MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void btFindClick(TObject* sender);
    void btAgainClick(TObject* sender);
    void Edit1KeyUp(TObject* sender, uint16_t& key, TShiftState shift);
    void Button1Click(TObject* sender);
    void Button2Click(TObject* sender);
    void btCancelClick(TObject* sender);
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);

    void ShowTextLengths();
    // Finds `text` in `memo` after its selection and selects it; false when nothing more is found.
    static bool SearchMemo(TCustomMemo& memo, const std::string& text, unsigned options);
    // Loads a file into Memo1 as "Open" and "Open RESENT file" do (a failure raises).
    void LoadSource(const std::string& fileName);
    // Opens the include viewer on a file name as written in the text; false (after the warning) when it
    // cannot be read.
    bool OpenViewer(const std::string& name);
    void CloseViewer();
    // The path the viewer and the text editor use for the name in Edit2.
    std::string ViewerPath() const;

    // TSourceWindowLink: what the main window asks.
    void ShowSourceWindow() override;
    bool SourceWindowVisible() const override;
    void CloseSourceWindow() override;
    bool Uploading() const override;
    void BoardLineEnded() override;
    void WarningQuestionOpened() override;
    void WarningQuestionAnswered(bool yes) override;
    void PressCancelUpload() override;

    // The upload (engine and its wiring); valid for the window's lifetime.
    TSourceUpload& Upload() { return *upload_; }

    // The text editor the viewer's right click starts ("notepad.exe"); tests replace it.
    std::function<void(const std::string& parameters)> OpenInTextEditor;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TButton* NewButton(const char* name, const char* caption, int left, int width);
    void StartUpload(UploadKind kind);
    void SetFileName(const std::string& fileName);  // panel 1 and the name behind it
    // Open, reopen, Clear, case conversion and the upload buttons are off while an upload runs.
    void EnableEditingCommands(bool on);
    void ConvertCase(bool upper);
    void SourceSaved(const std::string& fileName);
    void RememberFile(const std::string& fileName);

    TMainWindowAccess access_;
    std::unique_ptr<TSourceUpload> upload_;
    std::string fileName_;  // the file the text came from or went to ("" for unsaved text)
};

// The last file opened or saved (registry "Source" / "Filename").
extern std::string LastSourceFile;
// The source window; nullptr before it is made and after it is gone.
extern TSourceFile* SourceFile;
// "An upload runs" (the receive path repaints the terminal at once meanwhile).
bool SourceUploading();

}  // namespace kes
