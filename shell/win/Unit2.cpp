// The source window.
#include "shell/Unit2.h"

#include "base/StringList.h"
#include "base/win/Registry.h"
#include "base/win/SysUtilsWin.h"
#include "gui/Keys.h"
#include "gui/win/Dialogs.h"
#include "gui/win/Printers.h"
#include "gui/win/Shell.h"
#include "gui/win/Win.h"

#include "serial/CPort.h"
#include "shell/FormParts.h"
#include "shell/IncludePaths.h"
#include "shell/RegularFile.h"
#include "shell/SourceEditing.h"
#include "shell/win/SavedPlace.h"
#include "shell/win/SourceUpload.h"

namespace kes {

namespace {

constexpr const char* kChangedText = "Text-Changed/Updated!";

std::string CurrentFolder() {
    char buffer[MAX_PATH] = "";
    const DWORD n = GetCurrentDirectoryA(MAX_PATH, buffer);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

}  // namespace

TSourceFile::TSourceFile(TComponent* owner) : TForm(owner), upload_(std::make_unique<TSourceUpload>(*this)) {
    SetName("SourceFile");
    SetCaption("SourceFile");
    SetBounds(350, 350, 950, 500);
    StartFolder = CurrentFolder();

    Panel1 = NewControl<TPanel>(this, this, "Panel1");
    Panel1->SetAlign(alTop);
    Panel1->SetHeight(70);
    Panel1->SetCaption("");
    CreateUploadRow();
    CreateSearchRow();

    Panel2 = NewControl<TPanel>(this, this, "Panel2");
    Panel2->SetAlign(alBottom);
    Panel2->SetHeight(22);
    Panel2->SetCaption("");
    ProgressBar1 = NewControl<TProgressBar>(this, Panel2, "ProgressBar1");
    ProgressBar1->SetAlign(alClient);

    StatusBar1 = NewControl<TStatusBar>(this, this, "StatusBar1");
    AddStatusPanels(*StatusBar1, {{"Textsize", 200}, {"Input-filename", 450}, {"", 250}});

    CreateSourceMemo();
    CreateHiddenParts();
    CreateMainMenu();
    CreateDialogs();

    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OpenInTextEditor = [](const std::string& parameters) { ShellOpen("notepad.exe", parameters); };
}

// The upper row of Panel1: include level, changed lamp, the two upload buttons and the upload options.
void TSourceFile::CreateUploadRow() {
    lbIncludeLevel = NewControl<TLabel>(this, Panel1, "lbIncludeLevel");
    lbIncludeLevel->SetBounds(8, 12, 0, 0);
    lbIncludeLevel->SetCaption(IncludeLevelCaption(0));

    Shape1 = NewControl<TShape>(this, Panel1, "Shape1");
    Shape1->SetBounds(130, 4, 30, 30);
    Shape1->SetShape(stCircle);
    Shape1->SetPenColor(clRed);
    Shape1->SetPenWidth(12);
    Shape1->SetBrushColor(clRed);
    Shape1->Hint = "Source has been changed! If you click here File can be saved";
    Shape1->ShowHint = true;
    Shape1->SetVisible(false);
    Shape1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Shape1MouseDown(s, b, sh, x, y);
    };

    Button1 = NewButton("Button1", "Send all text to processor", 168, 190);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2 = NewButton("Button2", "Send selected text to processor", 362, 210);
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };

    cb1 = NewControl<TCheckBox>(this, Panel1, "cb1");
    cb1->SetBounds(580, 8, 160, 20);
    cb1->SetCaption("Accept  INCLUDE files");
    cb1->SetChecked(true);
    cb1->OnClick = [this](TObject*) { upload_->Engine().AcceptIncludes = cb1->Checked(); };
    cbSkipComments = NewControl<TCheckBox>(this, Panel1, "cbSkipComments");
    cbSkipComments->SetBounds(744, 8, 170, 20);
    cbSkipComments->SetCaption("Skip \\ comment lines");
    cbSkipComments->SetChecked(true);
    cbSkipComments->OnClick = [this](TObject*) { upload_->Engine().SkipComments = cbSkipComments->Checked(); };
}

// The lower row of Panel1: cancel, search, the viewer's file name and its close hint.
void TSourceFile::CreateSearchRow() {
    btCancel = NewButton("btCancel", "Cancel upload", 820, 110);
    btCancel->SetTop(38);
    btCancel->OnClick = [this](TObject* s) { btCancelClick(s); };

    btFind = NewButton("btFind", "Search in source", 8, 120);
    btFind->SetTop(38);
    btFind->OnClick = [this](TObject* s) { btFindClick(s); };
    Edit1 = NewControl<TEdit>(this, Panel1, "Edit1");
    Edit1->SetBounds(132, 39, 180, 23);
    Edit1->OnKeyUp = [this](TObject* s, uint16_t& k, TShiftState sh) { Edit1KeyUp(s, k, sh); };
    btAgain = NewButton("btAgain", "Search again", 316, 110);
    btAgain->SetTop(38);
    btAgain->OnClick = [this](TObject* s) { btAgainClick(s); };
    Edit2 = NewControl<TEdit>(this, Panel1, "Edit2");
    Edit2->SetBounds(432, 39, 150, 23);
    Edit2->SetReadOnly(true);
    Edit2->SetVisible(false);
    Button3 = NewButton("Button3", "CLOSE:Doubleclick in file window below", 586, 230);
    Button3->SetTop(38);
    Button3->SetVisible(false);
}

void TSourceFile::CreateSourceMemo() {
    Memo1 = NewControl<TMemo>(this, this, "Memo1");
    Memo1->SetAlign(alClient);
    Memo1->Font().SetName("Verdana");
    Memo1->Font().SetHeight(-19);
    Memo1->SetScrollBars(ssBoth);
    Memo1->SetWordWrap(false);
    Memo1->WantTabs = true;
    Memo1->OnChange = [this](TObject* s) { Memo1Change(s); };
    Memo1->OnClick = [this](TObject* s) { Memo1Click(s); };
    Memo1->OnDblClick = [this](TObject* s) { Memo1DblClick(s); };
    Memo1->OnKeyUp = [this](TObject*, uint16_t&, TShiftState) { ShowTextLengths(); };
    Memo1->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { ShowTextLengths(); };
}

// What stays hidden until it is needed: the upload's scratch memos, the include frame and the include viewer
// (Memo3). Each is hidden before it is placed on the window.
void TSourceFile::CreateHiddenParts() {
    Memo2 = new TMemo(this);
    Memo2->SetName("Memo2");
    Memo2->SetVisible(false);
    Memo2->SetParent(this);
    IncludeFrame1 = new TIncludeFrame(this);
    IncludeFrame1->SetVisible(false);
    IncludeFrame1->SetBounds(40, 93, 817, 240);
    IncludeFrame1->SetParent(this);
    MemoSourceFileList = new TMemo(this);
    MemoSourceFileList->SetName("MemoSourceFileList");
    MemoSourceFileList->SetVisible(false);
    MemoSourceFileList->SetParent(this);

    Memo3 = new TMemo(this);
    Memo3->SetName("Memo3");
    Memo3->SetVisible(false);
    Memo3->SetParent(this);
    Memo3->SetAlign(alClient);
    Memo3->SetReadOnly(true);
    Memo3->SetScrollBars(ssBoth);
    Memo3->SetColor(clScrollBar);
    Memo3->Font().SetName("Verdana");
    Memo3->Font().SetHeight(-16);
    Memo3->OnDblClick = [this](TObject* s) { Memo3DblClick(s); };
    Memo3->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Memo3MouseDown(s, b, sh, x, y);
    };
}

void TSourceFile::CreateMainMenu() {
    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    using F = TSourceFile;
    static constexpr MenuItemSpec<F> kItems[] = {
        {&F::File1, nullptr, "File1", "File", &F::File1Click},
        {&F::Openasourcetextfile1, &F::File1, "Openasourcetextfile1", "Open a source/text file",
         &F::Openasourcetextfile1Click},
        {&F::OpenRESENTfile1, &F::File1, "OpenRESENTfile1", "Open RESENT file", &F::OpenRESENTfile1Click},
        {&F::Savecontentinasourcetextfile1, &F::File1, "Savecontentinasourcetextfile1",
         "Save content in a source/text file", &F::Savecontentinasourcetextfile1Click},
        {&F::Savecontentinthesamefile1, &F::File1, "Savecontentinthesamefile1", "Save content in  the same file",
         &F::Savecontentinthesamefile1Click},
        {&F::ConvertSourcefiletolowercase1, &F::File1, "ConvertSourcefiletolowercase1",
         "Convert Sourcefile to lowercase", &F::ConvertSourcefiletolowercase1Click},
        {&F::ConvertSourcefiletoUPPERCASE1, &F::File1, "ConvertSourcefiletoUPPERCASE1",
         "Convert Sourcefile to UPPERCASE", &F::ConvertSourcefiletoUPPERCASE1Click},
        {&F::Printcurrentsourcefile1, &F::File1, "Printcurrentsourcefile1", "Print current sourcefile",
         &F::Printcurrentsourcefile1Click},
        {&F::PrinterSETUP, &F::File1, "PrinterSETUP", "Printer SETUP", &F::PrinterSETUPClick},
        {&F::Deletealltext1, nullptr, "Deletealltext1", "Clear screen", nullptr},
        {&F::SureClearscreen1, &F::Deletealltext1, "SureClearscreen1", "Sure? (Clear screen)",
         &F::SureClearscreen1Click},
    };
    AddMenuItems(*this, MainMenu1->Items(), kItems);
    SetMenu(MainMenu1);
}

// The dialogs leave the process's folder alone; relative names are taken in BaseFolder().
void TSourceFile::CreateDialogs() {
    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    OpenDialog1->Options |= ofNoChangeDir;
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetName("SaveDialog1");
    SaveDialog1->Options |= ofNoChangeDir;
    PrintDialog1 = new TPrintDialog(this);
    PrintDialog1->SetName("PrintDialog1");
    PrinterSetupDialog1 = new TPrinterSetupDialog(this);
    PrinterSetupDialog1->SetName("PrinterSetupDialog1");
}

TSourceFile::~TSourceFile() {
    BeginDestroy();
    if (port_) RemoveFreeNotification(port_);
    upload_.reset();
}

void TSourceFile::Connect(TCustomComPort* port, TTerminal* terminal) {
    if (port_) RemoveFreeNotification(port_);
    port_ = port;
    if (port_) FreeNotification(port_);
    upload_->AttachPort(port_);
    upload_->AttachTerminal(terminal);
}

void TSourceFile::Notification(TComponent* component, TOperation operation) {
    TForm::Notification(component, operation);
    if (operation == TOperation::opRemove && component == port_ && port_) {
        upload_->AttachPort(nullptr);
        port_ = nullptr;
    }
}

TButton* TSourceFile::NewButton(const char* name, const char* caption, int left, int width) {
    auto* b = NewControl<TButton>(this, Panel1, name);
    b->SetBounds(left, 6, width, 26);
    b->SetCaption(caption);
    return b;
}

std::string TSourceFile::FileName() const { return fileName_; }

std::string TSourceFile::BaseFolder() const { return SourceBaseFolder(fileName_, StartFolder); }

void TSourceFile::ShowTextLengths() {
    StatusBar1->Panels()[0].SetText(
        TextLengthsText(static_cast<size_t>(Memo1->GetTextLen()), static_cast<size_t>(Memo1->SelLength())));
}

// ---- files

void TSourceFile::SetFileName(const std::string& fileName) {
    fileName_ = fileName;
    StatusBar1->Panels()[1].SetText(fileName);
}

void TSourceFile::RememberFile(const std::string& fileName) {
    LastSourceFile = fileName;
    TRegIniFile ini("");
    WriteSourceFileName(ini, fileName);
    OpenRESENTfile1->Hint = LastSourceFile;
}

void TSourceFile::LoadSource(const std::string& fileName) {
    // The file is read before the window names it, so that a failed load never leaves the old text under the
    // new name (a save in the same file would overwrite it). Only regular files are read, and only text the
    // editor holds whole.
    std::string bytes;
    if (ReadRegularFile(fileName, bytes) != FileRead::Ok) throw EFOpenError("Cannot open file \"" + fileName + "\"");
    if (const std::optional<std::string> refusal = SourceFileRefusal(fileName, bytes)) throw EFOpenError(*refusal);
    Memo1->Lines().SetText(bytes);
    SetFileName(fileName);
    StatusBar1->Panels()[2].SetText("");
    ShowTextLengths();
    Shape1->SetVisible(false);
}

void TSourceFile::File1Click(TObject*) { OpenRESENTfile1->Hint = LastSourceFile; }

void TSourceFile::Openasourcetextfile1Click(TObject*) {
    if (Uploading() || !OpenDialog1->Execute()) return;
    LoadSource(OpenDialog1->FileName);
    RememberFile(OpenDialog1->FileName);
}

void TSourceFile::OpenRESENTfile1Click(TObject*) {
    if (Uploading()) return;
    if (!LastSourceFile.empty() && FileExists(LastSourceFile)) {
        LoadSource(LastSourceFile);
    } else {
        SetFileName("");
    }
}

void TSourceFile::SourceSaved(const std::string& fileName) {
    SetFileName(fileName);
    StatusBar1->Panels()[2].SetText("");
    Shape1->SetVisible(false);
}

void TSourceFile::Savecontentinasourcetextfile1Click(TObject*) {
    if (!SaveDialog1->Execute()) return;
    const std::string name = SaveDialog1->FileName;
    Memo1->Lines().SaveToFile(name);
    SourceSaved(name);
    RememberFile(name);
}

void TSourceFile::Savecontentinthesamefile1Click(TObject*) {
    const std::string name = StatusBar1->Panels()[1].Text();
    if (!SameFileSaveAllowed(name)) return;
    if (MsgBox(name, "Save current source in this/same file?", MB_YESNO, this) != IDYES) return;
    Memo1->Lines().SaveToFile(name);
    StatusBar1->Panels()[2].SetText("");
    Shape1->SetVisible(false);
}

void TSourceFile::Shape1MouseDown(TObject* sender, TMouseButton, TShiftState, int, int) {
    Savecontentinthesamefile1Click(sender);
}

void TSourceFile::ConvertCase(bool upper) {
    if (Uploading()) return;
    int start = 0, end = 0;
    Memo1->GetSelection(start, end);
    const std::string text = Memo1->Text();
    Memo1->SetText(upper ? UpperAZ(text) : LowerAZ(text));
    Memo1->SetSelection(start, end);
}

void TSourceFile::ConvertSourcefiletolowercase1Click(TObject*) { ConvertCase(false); }

void TSourceFile::ConvertSourcefiletoUPPERCASE1Click(TObject*) { ConvertCase(true); }

void TSourceFile::SureClearscreen1Click(TObject*) {
    if (Uploading()) return;
    Memo1->Clear();
    StatusBar1->Panels()[0].SetText("");
    SetFileName("");
    Shape1->SetVisible(false);
}

// ---- printing

void TSourceFile::Printcurrentsourcefile1Click(TObject*) {
    const int count = Memo1->Lines().Count();
    if (count < 1 || !PrintDialog1->Execute()) return;
    TPrinter& printer = Printer();
    printer.Title = fileName_.empty() ? std::string("SourceFile") : fileName_;
    printer.BeginDoc();
    try {
        HDC dc = printer.Canvas().Handle();
        const TPrintLayout layout = LayoutPrintout(count, GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY),
                                                   GetDeviceCaps(dc, VERTRES), Memo1->Font().Height());
        TStringList lines;
        lines.SetText(Memo1->Text());
        int page = 1;
        for (int i = 0; i < count && i < lines.Count(); ++i) {
            const TPrintLine& at = layout.Lines[static_cast<size_t>(i)];
            if (at.Page != page) {
                printer.NewPage();
                page = at.Page;
            }
            // The canvas drops its font at a new page: set it for every line.
            printer.Canvas().Font().Assign(Memo1->Font());
            printer.Canvas().Font().SetHeight(layout.FontHeight);
            printer.Canvas().TextOut(at.X, at.Y, lines[i]);
        }
        printer.EndDoc();
    } catch (...) {
        printer.Abort();
        throw;
    }
}

void TSourceFile::PrinterSETUPClick(TObject*) { PrinterSetupDialog1->Execute(); }

// ---- editing marks

void TSourceFile::Memo1Change(TObject*) {
    ShowTextLengths();
    StatusBar1->Panels()[2].SetText(kChangedText);
    Shape1->SetVisible(true);
}

void TSourceFile::Memo1Click(TObject*) {
    Edit2->SetText("");
    Button3->SetVisible(false);
}

// ---- search

void TSourceFile::btFindClick(TObject* sender) { FindInMemo(*Memo1, Edit1->Text(), sender == btAgain); }

void TSourceFile::btAgainClick(TObject*) { btFindClick(btAgain); }

void TSourceFile::Edit1KeyUp(TObject*, uint16_t& key, TShiftState) {
    if (key == vkReturn) btFind->Click();
}

// ---- include viewer

std::string TSourceFile::ViewerPath() const { return ResolveIncludePath(BaseFolder(), Edit2->Text()); }

void TSourceFile::Memo1DblClick(TObject*) {
    const std::string text = Memo1->Text();
    const TWordRange word = WordAt(text, static_cast<size_t>(Memo1->SelStart()));
    const std::string selected = text.substr(word.Start, word.Length);
    Memo1->SetSelection(static_cast<int>(word.Start), static_cast<int>(word.Start + word.Length));
    OpenViewer(ViewerFileName(selected));
}

bool TSourceFile::OpenViewer(const std::string& name) {
    Edit2->SetText(name);
    const std::string path = ViewerPath();
    try {
        // A device or pipe named in the text would block here: only regular files are read.
        std::string bytes;
        if (ReadRegularFile(path, bytes) != FileRead::Ok) throw EFOpenError("Cannot open file \"" + path + "\"");
        Memo3->Lines().SetText(bytes);
    } catch (const std::exception&) {
        MsgBox("File not found!!", "Warning", MB_OK, this);
        return false;
    }
    Edit2->SetVisible(true);
    Button3->SetVisible(true);
    Panel1->SetEnabled(false);
    Memo3->SetVisible(true);
    Memo3->BringToFront();
    return true;
}

void TSourceFile::CloseViewer() {
    Memo3->SetVisible(false);
    Memo3->Clear();
    Edit2->SetVisible(false);
    Button3->SetVisible(false);
    Panel1->SetEnabled(true);
}

void TSourceFile::Memo3DblClick(TObject*) { CloseViewer(); }

void TSourceFile::Memo3MouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    if (button != mbRight) return;
    const std::string path = ViewerPath();
    CloseViewer();
    if (OpenInTextEditor) OpenInTextEditor(QuotedPath(path));
}

// ---- upload

void TSourceFile::EnableEditingCommands(bool on) {
    for (TMenuItem* item : {Openasourcetextfile1, OpenRESENTfile1, ConvertSourcefiletolowercase1,
                            ConvertSourcefiletoUPPERCASE1, Deletealltext1, SureClearscreen1})
        item->SetEnabled(on);
    Button1->SetEnabled(on);
    Button2->SetEnabled(on);
}

void TSourceFile::StartUpload(UploadKind kind) {
    if (Uploading()) return;
    EnableEditingCommands(false);
    struct Restore {
        TSourceFile* w;
        ~Restore() {
            if (!w->Destroying()) w->EnableEditingCommands(true);
        }
    } restore{this};
    upload_->Run(kind);
}

void TSourceFile::Button1Click(TObject*) { StartUpload(UploadKind::AllText); }

void TSourceFile::Button2Click(TObject*) { StartUpload(UploadKind::Selection); }

void TSourceFile::btCancelClick(TObject*) {
    upload_->Cancel();
    upload_->RaiseTerminal();
}

// ---- showing and closing

void TSourceFile::FormShow(TObject*) {
    if (Memo1->CanFocus()) Memo1->SetFocus();
    TRegIniFile ini("");
    const TSourceSettings s = ReadSourceSettings(ini);
    RestorePlace(*this, s.Place);
    LastSourceFile = s.FileName;
    OpenRESENTfile1->Hint = LastSourceFile;
}

void TSourceFile::FormClose(TObject*, TCloseAction&) {
    // Closing the window stops a running upload; the upload unwinds once the handler returns.
    if (Uploading()) upload_->Cancel();
    TRegIniFile ini("");
    ReportUnsavedSettings(WriteSourcePlace(ini, SavedPlaceOf(*this)), this);
}

bool TSourceFile::Uploading() const { return upload_ && upload_->Running(); }

}  // namespace kes
