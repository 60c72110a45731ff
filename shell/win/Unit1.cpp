// The terminal's main window.
#include "shell/Unit1.h"

#include <algorithm>

#include "base/win/Application.h"
#include "base/win/Registry.h"
#include "base/win/Timer.h"
#include "gui/Keys.h"
#include "gui/win/Dialogs.h"
#include "gui/win/Shell.h"
#include "gui/win/Win.h"
#include "shell/CopyDataLine.h"
#include "shell/FormParts.h"
#include "shell/LogicalLines.h"
#include "shell/StatusPanels.h"
#include "shell/TerminalSettings.h"
#include "shell/TerminalTexts.h"
#include "shell/WarningDetector.h"
#include "shell/win/CompanionLauncher.h"
#include "shell/win/ConsoleLinkClient.h"
#include "shell/win/SavedPlace.h"
#include "skin/data/win/SkinDataWin.h"

namespace kes {

namespace {

// Where the port keeps its settings (the key is derived from this path and the port's name).
constexpr const char* kPortSettingsPath = "\\HKEY_LOCAL_MACHINE\\Software\\Kestrup";

namespace Text = TerminalText;

}  // namespace

TKestrup::TKestrup(TComponent* owner) : TForm(owner) {
    SetName("Kestrup");
    SetCaption("Kestrup");
    ShowHint = true;
    SetBounds(354, 313, 1192, 494);

    CreateSkin();
    CreateTopPanel();
    StatusBar1 = NewControl<TStatusBar>(this, this, "StatusBar1");
    AddStatusPanels(*StatusBar1, {{"Device", 100},
                                  {"Speed", 100},
                                  {"Bits", 100},
                                  {"Parity", 100},
                                  {"Stopbit(s)", 100},
                                  {"(unused)", 100},
                                  {"Status", 150},
                                  {"ProcessorType", 50}});
    CreateTerminalMemo();
    CreateCommandLine();
    ListBox1 = NewControl<TListBox>(this, this, "ListBox1");
    ListBox1->SetBounds(900, 60, 200, 100);
    ListBox1->SetVisible(false);
    CreateMainMenu();
    CreatePort();

    IdTCPClient1 = new TConsoleLinkClient();
    IdTCPClient1->Host = link::kHost;
    IdTCPClient1->Port = link::kPort;

    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->SetInterval(1);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };

    // The companion's typed lines.
    AddMessageHandler([this](TMessage& m) {
        if (m.Msg != WM_COPYDATA) return false;
        m.Result = CopyData(m.WParam, m.LParam);
        return true;
    });

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnPaint = [this](TObject* s) { FormPaint(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

// The skin comes first, as it is stored first with the window: a missing or broken stored skin leaves the
// system's own drawing.
void TKestrup::CreateSkin() {
    SkinData1 = new TSkinData(this);
    SkinData1->SetName("SkinData1");
    SkinData1->ShowMessage = [](const std::string& text) { kes::ShowMessage(text); };
    SkinData1->BeginLoading();
    SkinData1->SetActive(true);
    SkinData1->SkinFormtype = sfMainform;
    LoadStoredSkin(*SkinData1);
    SkinData1->EndLoading();
}

// The EOL-delay label and the top panel: board name, held-back lamp, "Show Sourcefile window", port lamp.
void TKestrup::CreateTopPanel() {
    Label1 = NewControl<TLabel>(this, this, "Label1");
    Label1->SetBounds(8, 60, 0, 0);
    Label1->SetCaption("No EOL delay");

    Panel1 = NewControl<TPanel>(this, this, "Panel1");
    Panel1->SetAlign(alTop);
    Panel1->SetHeight(41);
    Panel1->SetCaption("FlashFORTH / ESP32Forth");
    Panel1->Font().SetName("Verdana");
    Panel1->Font().SetHeight(-16);

    ComLed1 = NewControl<TComLed>(this, Panel1, "ComLed1");
    ComLed1->SetAlign(alRight);
    ComLed1->SetWidth(41);
    ComLed1->SetLedSignal(lsConn);
    ComLed1->SetKind(lkBulb);
    ComLed1->Hint = "Connected to MCU";
    ComLed1->ShowHint = true;

    Shape1 = NewControl<TShape>(this, Panel1, "Shape1");
    Shape1->SetBounds(1040, 8, 25, 25);
    Shape1->SetShape(stRoundSquare);
    Shape1->SetBrushColor(clYellow);
    Shape1->SetVisible(false);

    Button1 = NewControl<TButton>(this, Panel1, "Button1");
    Button1->SetBounds(8, 8, 240, 25);
    Button1->SetCaption("Show Sourcefile window");
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
}

void TKestrup::CreateTerminalMemo() {
    Memo1 = NewControl<TMemo>(this, this, "Memo1");
    Memo1->SetAlign(alClient);
    Memo1->SetColor(clBlack);
    Memo1->Font().SetName("Courier New");
    Memo1->Font().SetHeight(-24);
    Memo1->Font().SetStyle(fsBold);
    Memo1->Font().SetColor(clYellow);
    Memo1->SetScrollBars(ssVertical);
    Memo1->WantTabs = true;
    Memo1->OnKeyPress = [this](TObject* s, char& k) { Memo1KeyPress(s, k); };
    Memo1->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { Memo1KeyDown(s, k, sh); };
    // Every change that the receive path did not make (the user's typing, a deleted line) is unknown to the tail.
    Memo1->OnChange = [this](TObject*) {
        if (!ownEdit_) terminal_.ScreenEdited();
    };
}

// The bottom panel with the ESP32 command line.
void TKestrup::CreateCommandLine() {
    Panel2 = NewControl<TPanel>(this, this, "Panel2");
    Panel2->SetAlign(alBottom);
    Panel2->SetHeight(41);
    Panel2->SetCaption("");
    Label2 = NewControl<TLabel>(this, Panel2, "Label2");
    Label2->SetBounds(8, 12, 0, 0);
    Label2->SetCaption("ESP32 Command line");
    Edit1 = NewControl<TEdit>(this, Panel2, "Edit1");
    Edit1->SetBounds(160, 6, 900, 29);
    Edit1->Font().SetName("Courier New");
    Edit1->Font().SetHeight(-21);
    Edit1->Font().SetStyle(fsBold);
    Edit1->Hint = "Use Up and Down arrow to select a former command - 50 commands saved";
    Edit1->ShowHint = true;
    Edit1->OnKeyPress = [this](TObject* s, char& k) { Edit1KeyPress(s, k); };
    Edit1->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { Edit1KeyDown(s, k, sh); };
}

void TKestrup::CreateMainMenu() {
    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    using K = TKestrup;
    static constexpr MenuItemSpec<K> kBeforeTypes[] = {
        {&K::File1, nullptr, "File1", "File", nullptr},
        {&K::SourceFileWindow1, &K::File1, "SourceFileWindow1", "SourceFile Window", &K::Button1Click},
        {&K::Exit1, &K::File1, "Exit1", "Exit", &K::Exit1Click},
        {&K::SerialSetup1, nullptr, "SerialSetup1", "Serial-Setup", &K::SerialSetup1Click},
        {&K::Connect1, nullptr, "Connect1", "Connect", &K::Connect1Click},
        {&K::Disconnect1, nullptr, "Disconnect1", "Disconnect", &K::Disconnect1Click},
        {&K::Log1, nullptr, "Log1", "Log", &K::Log1Click},
        {&K::ClearScreen1, nullptr, "ClearScreen1", "Clear-Screen", nullptr},
        {&K::SureClearscreen1, &K::ClearScreen1, "SureClearscreen1", "Sure? (Clear screen)", &K::SureClearscreen1Click},
        {&K::NoClearscreen1, &K::ClearScreen1, "NoClearscreen1", "No ", nullptr},
        {&K::ProcessorType1, nullptr, "ProcessorType1", "Processor-Type", nullptr},
    };
    static constexpr MenuItemSpec<K> kAfterTypes[] = {
        {&K::Help1, nullptr, "Help1", "Help", &K::Help1Click},
        {&K::W10Tirvane1, nullptr, "W10Tirvane1", "Win10-ANSI-Console", &K::W10Tirvane1Click},
    };
    AddMenuItems(*this, MainMenu1->Items(), kBeforeTypes);
    TMenuItem** typeItems[] = {&Arduino1, &SCAMPPIC241, &SCAMPPIC24usingTirvane1, &ESP32};
    for (int i = 0; i < 4; ++i) {
        const TBoardMode& mode = BoardModes()[static_cast<size_t>(i)];
        TMenuItem* item = NewMenuItem(this, ProcessorType1, mode.ItemName, mode.Caption);
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
        const TBoardType type = mode.Type;
        item->OnClick = [this, type](TObject*) { BoardTypeClick(type); };
        *typeItems[i] = item;
    }
    Arduino1->SetChecked(true);
    AddMenuItems(*this, MainMenu1->Items(), kAfterTypes);
    SetMenu(MainMenu1);
}

void TKestrup::CreatePort() {
    ComPort1 = new TComPort(this);
    ComPort1->SetName("ComPort1");
    ComPort1->SetPort("COM4");
    ComPort1->SetBaudRate(br38400);
    ComPort1->SetDataBits(dbEight);
    ComPort1->Parity().SetBits(prNone);
    ComPort1->SetStopBits(sbOneStopBit);
    ComPort1->Events = AllComEvents;
    TComFlowControl& flow = ComPort1->FlowControl();
    flow.SetOutCTSFlow(false);
    flow.SetOutDSRFlow(false);
    flow.SetControlDTR(dtrDisable);
    flow.SetControlRTS(rtsDisable);
    flow.SetXonXoffOut(false);
    flow.SetXonXoffIn(false);
    ComPort1->StoredProps = TStoredProps{spBasic};
    ComPort1->SetTriggersOnRxChar(true);
    ComPort1->OnAfterOpen = [this](TObject* s) { ComPort1AfterOpen(s); };
    ComPort1->OnAfterClose = [this](TObject* s) { ComPort1AfterClose(s); };
    ComPort1->OnRxChar = [this](TObject* s, int count) { ComPort1RxChar(s, count); };
    ComPort1->OnError = [this](TObject* s, TComErrors e) { ComPort1Error(s, e); };
    ComPort1->OnException = [this](TObject* s, TComExceptions k, const std::string& m, int64_t e,
                                   const std::string& w) { ComPort1Exception(s, k, m, e, w); };
    ComLed1->SetComPort(ComPort1);
}

TKestrup::~TKestrup() {
    BeginDestroy();
    Timer1->SetEnabled(false);
    if (ComPort1->Connected()) {
        try {
            ComPort1->ClosePort();
        } catch (...) {
        }
    }
    terminal_.SetUpload(nullptr);
    delete IdTCPClient1;
    IdTCPClient1 = nullptr;
}

// ---- board type

std::optional<TBoardType> TKestrup::CheckedBoardType() const {
    for (TMenuItem* item : {Arduino1, SCAMPPIC241, SCAMPPIC24usingTirvane1, ESP32})
        if (item->Checked()) return BoardTypeByItemName(item->Name());
    return std::nullopt;
}

void TKestrup::WriteBoardTypePanel() {
    if (auto type = CheckedBoardType()) StatusBar1->Panels()[7].SetText(BoardMode(*type).StatusText);
}

void TKestrup::BoardTypeClick(TBoardType type) {
    const TBoardMode& mode = BoardMode(type);
    for (TMenuItem* item : {Arduino1, SCAMPPIC241, SCAMPPIC24usingTirvane1, ESP32})
        if (item->Name() == mode.ItemName) item->SetChecked(true);
    terminal_.SetBoardType(CheckedBoardType());
    Panel2->SetVisible(mode.ShowsCommandLine);
    if (mode.ClearsReadOnly) Memo1->SetReadOnly(false);
    StatusBar1->Panels()[7].SetText(mode.StatusText);
    Memo1->SetFocus();
}

// ---- log

void TKestrup::AddLogLine(const std::string& message) { terminal_.Log(message); }

void TKestrup::AddLogLineTimeLast(const std::string& message) { terminal_.LogTimeLast(message); }

// ---- creation, showing, closing

void TKestrup::WritePortPanels() {
    const TPortPanelTexts t =
        PortPanelTexts(ComPort1->Port(), BaudRateName(ComPort1->BaudRate()), DataBitsName(ComPort1->DataBits()),
                       ParityName(ComPort1->Parity().Bits()), StopBitsName(ComPort1->StopBits()));
    StatusBar1->Panels()[0].SetText(t.Device);
    StatusBar1->Panels()[1].SetText(t.Speed);
    StatusBar1->Panels()[2].SetText(t.Bits);
    StatusBar1->Panels()[3].SetText(t.Parity);
    StatusBar1->Panels()[4].SetText(t.StopBits);
}

void TKestrup::LoadCOM1Click() {
    ComPort1->LoadSettings(false, kPortSettingsPath);
    WritePortPanels();
}

void TKestrup::FormCreate(TObject*) {
    // Unreadable port settings must not keep the terminal from starting: the error is shown and the defaults stay.
    Guarded([this] { ComPort1->LoadSettings(false, kPortSettingsPath); });
    WritePortPanels();
    StatusBar1->Panels()[5].SetText(kVersionPanelText);
    StatusBar1->Panels()[6].SetText(PortStatePanelText(false));
}

void TKestrup::FormShow(TObject*) {
    if (shown_) return;
    shown_ = true;
    TRegIniFile ini("");
    const TTerminalSettings s = ReadTerminalSettings(ini);
    TMenuItem* items[] = {Arduino1, SCAMPPIC241, SCAMPPIC24usingTirvane1, ESP32};
    for (int i = 0; i < 4; ++i) items[i]->SetChecked(s.Checked[i]);
    terminal_.SetBoardType(CheckedBoardType());
    Memo1->SetReadOnly(s.Memo1ReadOnly);
    RestorePlace(*this, s.Window);
    WriteBoardTypePanel();
    Guarded([this] { LoadCOM1Click(); });
    terminal_.ResetReceive();
}

void TKestrup::FormPaint(TObject*) {
    if (Memo1->CanFocus()) Memo1->SetFocus();
    Memo1->Repaint();
}

void TKestrup::FormClose(TObject*, TCloseAction&) {
    if (ComPort1->Connected()) ComPort1->ClosePort();
    if (SourceWindow && SourceWindow->Visible()) SourceWindow->Close();
    TTerminalSettings s;
    for (int i = 0; i < 4; ++i) s.Checked[i] = false;
    if (auto type = CheckedBoardType()) s.SetBoardType(type);
    s.Memo1ReadOnly = Memo1->ReadOnly();
    s.Window = SavedPlaceOf(*this);
    TRegIniFile ini("");
    // A value that cannot be written is reported, and the window closes all the same.
    ReportUnsavedSettings(WriteTerminalSettings(ini, s), this);
}

void TKestrup::Exit1Click(TObject*) {
    if (ComPort1->Connected()) ComPort1->ClosePort();
    Memo1->Clear();
    terminal_.ScreenCleared();
    Memo1->SetFocus();
    // Ends the program without the close handler: nothing is written.
    Timer1->SetEnabled(false);
    if (Application) Application->Terminate();
}

// ---- commands

void TKestrup::Button1Click(TObject*) {
    if (!SourceWindow) return;
    SourceWindow->ShowForm();
    SourceWindow->BringToFront();
}

void TKestrup::SerialSetup1Click(TObject*) {
    ComPort1->RunSetupDialog();
    ComPort1->StoreSettings(false, kPortSettingsPath);
    WritePortPanels();
    Memo1->SetFocus();
}

void TKestrup::Connect1Click(TObject*) {
    if (!ComPort1->Connected()) ComPort1->OpenPort();
    AddLogLineTimeLast(Text::ComConnectedAt);
    Memo1->SetFocus();
    ComPort1->SendText(CurrentMode().ConnectText);
}

void TKestrup::Disconnect1Click(TObject*) {
    if (ComPort1->Connected()) ComPort1->ClosePort();
    AddLogLine(Text::ComDisconnected);
    Memo1->SetFocus();
}

void TKestrup::Log1Click(TObject*) {
    if (LogWindow) LogWindow->ShowForm();
}

void TKestrup::SureClearscreen1Click(TObject*) {
    Memo1->Clear();
    terminal_.ScreenCleared();
    Memo1->SetFocus();
}

void TKestrup::Help1Click(TObject*) {
    if (HelpWindow) HelpWindow->ShowForm();
    Memo1->SetFocus();
}

void TKestrup::W10Tirvane1Click(TObject*) {
    switch (StartCompanion(ProgramFolder())) {
    case TCompanionStart::AlreadyRunning: MsgBox(Text::TirvaneRunning, Text::CaptionInfo, MB_OK, this); break;
    case TCompanionStart::Missing: MsgBox(Text::TirvaneMissing, Text::CaptionWarning, MB_OK, this); break;
    case TCompanionStart::Started:
    case TCompanionStart::ShellFailed: break;
    }
}

// ---- port events

void TKestrup::ComPort1AfterOpen(TObject*) { StatusBar1->Panels()[6].SetText(PortStatePanelText(true)); }

void TKestrup::ComPort1AfterClose(TObject*) { StatusBar1->Panels()[6].SetText(PortStatePanelText(false)); }

void TKestrup::ComPort1Error(TObject*, TComErrors) { AddLogLine(Text::ComPortProblem); }

void TKestrup::ComPort1Exception(TObject*, TComExceptions kind, const std::string&, int64_t winError,
                                 const std::string&) {
    if (kind != CE_WaitFailed) TCustomComPort::ThrowPortError(static_cast<int>(kind) + 1, winError);
    // The device is gone: closed as Disconnect closes it (the lamp and the status panel follow, and a running
    // upload stops with its log lines). Its purge fails on a device that is gone; the port closes all the same.
    try {
        if (ComPort1->Connected()) ComPort1->ClosePort();
    } catch (const EComPort&) {
    }
    AddLogLine(Text::ComPortLost);
}

void TKestrup::ComPort1RxChar(TObject*, int count) {
    std::string chunk;
    ComPort1->ReceiveText(chunk, count);
    if (terminal_.Received(chunk)) ComPort1->Tag = 1;
}

// ---- receive path: the terminal drains, the window shows

template <typename F>
void TKestrup::OwnMemoEdit(F&& edit) {
    ownEdit_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{ownEdit_};
    edit();
}

void TKestrup::Timer1Timer(TObject*) { terminal_.Tick(); }

std::uint64_t TKestrup::NowMs() { return GetTickCount64(); }

void TKestrup::ShowText(const TDrainedBatch& edit) {
    OwnMemoEdit([&] {
        if (edit.ClearMemo) Memo1->Clear();
        if (edit.EraseChars > 0) {
            const int end = Memo1->GetTextLen();
            Memo1->SetSelection(end - static_cast<int>(std::min<size_t>(edit.EraseChars, end)), end);
            Memo1->ReplaceSelection("");
        }
        if (!edit.Append.empty())
            Memo1->AppendText(edit.Append);
        else
            Memo1->SetCaret(Memo1->GetTextLen());
    });
}

void TKestrup::Beep() { MessageBeep(MB_OK); }

void TKestrup::Forward(const std::string& raw) {
    if (raw.empty() || !IdTCPClient1->CompanionWindowSeen()) return;
    if (IdTCPClient1->SendBatch(raw)) MsgBox(Text::TcpProblem, Text::CaptionWarning, MB_OK | MB_ICONWARNING, this);
}

bool TKestrup::AskWarning(const std::string& line) {
    const bool yes = MsgBox(kBoardWarningQuestion, BoardWarningCaption(line), MB_YESNO | MB_ICONWARNING, this) == IDYES;
    if (yes) ComPort1->Tag = 1;
    return yes;
}

void TKestrup::Raise() {
    BringToFront();
    Repaint();
}

// ---- keyboard

bool TKestrup::SendTyped(const std::string& bytes) {
    const int written = ComPort1->SendText(bytes);
    if (const std::optional<std::string> line = typed_.Written(bytes.size(), written)) AddLogLine(*line);
    return written == static_cast<int>(bytes.size());
}

void TKestrup::Memo1KeyPress(TObject*, char& key) {
    const TMemoKeyDecision d = DecideMemoKey(CurrentMode(), ComPort1->Connected(), key);
    // What the board sent comes before what the user types or deletes.
    if (d.Action == TMemoKeyAction::Pass || d.Action == TMemoKeyAction::SendCaretLine) terminal_.Show();
    switch (d.Action) {
    case TMemoKeyAction::Pass: return;
    case TMemoKeyAction::Drop: key = 0; return;
    case TMemoKeyAction::SendKey:
        key = 0;
        SendTyped(d.Bytes);
        return;
    case TMemoKeyAction::SendCaretLine:
        key = 0;
        try {
            const std::string text = Memo1->Text();
            const size_t caret = static_cast<size_t>(std::max(0, Memo1->SelStart()));
            SendTyped(TerminalLineBytes(LineAt(text, caret).Of(text)));
            const TTextRange gone = LineDeletionAt(text, caret);
            Memo1->SetSelection(static_cast<int>(gone.Start), static_cast<int>(gone.End));
            Memo1->ReplaceSelection("");
        } catch (...) {
            AddLogLine(Text::WritelineProblem);
        }
        return;
    }
}

void TKestrup::Memo1KeyDown(TObject*, uint16_t& key, TShiftState) {
    if (key != vkEscape || !SendsEscOnKey(CurrentMode(), ComPort1->Connected())) return;
    try {
        if (SendTyped(std::string(1, chESC))) AddLogLine(Text::EscSent);
    } catch (...) {
        AddLogLine(Text::EscProblem);
    }
}

void TKestrup::SyncHistoryList() {
    const auto& items = history_.Items();
    if (ListBox1->Items().Count() != history_.Count() ||
        (history_.Count() > 0 && ListBox1->Items()[history_.Count() - 1] != items.back())) {
        ListBox1->Items().Clear();
        for (const std::string& s : items) ListBox1->Items().Add(s);
    }
    ListBox1->SetItemIndex(history_.Cursor());
    Edit1->Tag = history_.PastEnd() ? 1 : 0;
}

void TKestrup::Edit1KeyPress(TObject*, char& key) {
    if (key != chCR || !ComPort1->Connected()) return;
    key = 0;
    terminal_.AddText("\r\n");
    terminal_.Show();
    const std::string command = Edit1->Text();
    SendTyped(CommandLineBytes(command));
    history_.Add(command);
    SyncHistoryList();
    Edit1->Clear();
}

void TKestrup::Edit1KeyDown(TObject*, uint16_t& key, TShiftState) {
    std::optional<std::string> shown;
    if (key == vkUp)
        shown = history_.Up();
    else if (key == vkDown)
        shown = history_.Down();
    else
        return;
    if (shown) {
        Edit1->SetText(*shown);
        Edit1->SetSelection(static_cast<int>(shown->size()), static_cast<int>(shown->size()));
    }
    SyncHistoryList();
}

// ---- the companion's typed lines

intptr_t TKestrup::CopyData(uintptr_t, intptr_t lparam) {
    // Answers 1 when the line went to the port. A block longer than a console line is refused at once.
    const auto* block = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    if (!block || !ComPort1->Connected() || CopyDataTooLong(block->cbData)) return 0;
    if (Application && Application->Minimized()) Application->Restore();
    const std::optional<std::string> bytes = CopyDataPortBytes(true, block->lpData, block->cbData);
    if (!bytes) return 0;
    try {
        return SendTyped(*bytes) ? 1 : 0;
    } catch (...) {
        AddLogLine(Text::TirvaneWritelineProblem);
    }
    return 0;
}

}  // namespace kes
