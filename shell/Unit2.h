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
#include "shell/UploadEngine.h"
#include "shell/Unit5.h"

namespace kes {

class TCustomComPort;
class TSourceUpload;
class TTerminal;

class TSourceFile : public TForm {
    KES_CLASS(TSourceFile, TForm)
public:
    explicit TSourceFile(TComponent* owner);
    ~TSourceFile() override;

    // Wires the upload to the board's port and to the terminal (board type, receive path, log); call once after
    // making the window. Either may be nullptr (no upload then goes out).
    void Connect(TCustomComPort* port, TTerminal* terminal);

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

    // The last file opened or saved (registry "Source" / "Filename"), read when the window is shown.
    std::string LastSourceFile;

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
    // Loads a file into Memo1 as "Open" and "Open RESENT file" do (a failure raises).
    void LoadSource(const std::string& fileName);
    // Opens the include viewer on a file name as written in the text; false (after the warning) when it
    // cannot be read.
    bool OpenViewer(const std::string& name);
    void CloseViewer();
    // The path the viewer and the text editor use for the name in Edit2.
    std::string ViewerPath() const;

    // An upload runs.
    bool Uploading() const;

    // The upload (engine and its wiring); valid for the window's lifetime.
    TSourceUpload& Upload() { return *upload_; }

    // The text editor the viewer's right click starts ("notepad.exe"); tests replace it.
    std::function<void(const std::string& parameters)> OpenInTextEditor;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    // The constructor's parts, in the order the window lists the components.
    void CreateUploadRow();
    void CreateSearchRow();
    void CreateSourceMemo();
    void CreateHiddenParts();
    void CreateMainMenu();
    void CreateDialogs();
    TButton* NewButton(const char* name, const char* caption, int left, int width);
    void StartUpload(UploadKind kind);
    void SetFileName(const std::string& fileName);  // panel 1 and the name behind it
    // Open, reopen, Clear, case conversion and the upload buttons are off while an upload runs.
    void EnableEditingCommands(bool on);
    void ConvertCase(bool upper);
    void SourceSaved(const std::string& fileName);
    void RememberFile(const std::string& fileName);

    TCustomComPort* port_ = nullptr;
    std::unique_ptr<TSourceUpload> upload_;
    std::string fileName_;  // the file the text came from or went to ("" for unsaved text)
};

}  // namespace kes
