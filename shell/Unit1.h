#pragma once
// The terminal's main window: the black terminal memo, the ESP32 command line with its history, the board-type
// modes, the serial port with its status bar, the receive path (queue, 1 ms drain, escape filter, forwarding to
// the console companion, the board's warning question), the typed lines of the companion (WM_COPYDATA) and the
// terminal's registry settings. Everything here runs on the GUI thread.
#include <cstdint>
#include <optional>
#include <string>

#include "gui/ComCtrls.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "serial/CPort.h"
#include "serial/CPortCtl.h"
#include "shell/BoardModes.h"
#include "shell/CommandHistory.h"
#include "shell/MainWindowMessages.h"
#include "shell/Terminal.h"
#include "shell/TypedWrites.h"
#include "skin/data/SkinData.h"

namespace kes {

class TTimer;
class TConsoleLinkClient;

class TKestrup : public TForm, private TerminalScreen {
    KES_CLASS(TKestrup, TForm)
public:
    explicit TKestrup(TComponent* owner);
    ~TKestrup() override;

    // Components, in the order the window lists them.
    TLabel* Label1;
    TPanel* Panel1;
    TSkinData* SkinData1;  // the program's skin, read from the stored skin before everything else
    TComLed* ComLed1;      // the port-open lamp on Panel1's right edge
    TShape* Shape1;
    TButton* Button1;
    TStatusBar* StatusBar1;
    TMemo* Memo1;
    TPanel* Panel2;
    TLabel* Label2;
    TEdit* Edit1;
    TListBox* ListBox1;
    TMainMenu* MainMenu1;
    TMenuItem *File1, *SourceFileWindow1, *Exit1, *SerialSetup1, *Connect1, *Disconnect1, *Log1, *ClearScreen1,
        *SureClearscreen1, *NoClearscreen1, *ProcessorType1, *Arduino1, *SCAMPPIC241, *SCAMPPIC24usingTirvane1, *ESP32,
        *Help1, *W10Tirvane1;
    TComPort* ComPort1;
    TConsoleLinkClient* IdTCPClient1;
    TTimer* Timer1;

    // The checked board type (nullopt when no item is checked) and the mode that applies.
    std::optional<TBoardType> CheckedBoardType() const;
    const TBoardMode& CurrentMode() const { return terminal_.Mode(); }

    // The terminal behind the window: receive path, board type, log. The program connects the log window and
    // the source window's upload to it.
    TTerminal& Terminal() { return terminal_; }

    // Adds time + message to the log window (without scrolling it).
    void AddLogLine(const std::string& message);
    // Adds a line that begins with the text and ends with the time ("COM port Connected at <time>").
    void AddLogLineTimeLast(const std::string& message);

    // Handlers.
    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormPaint(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void Exit1Click(TObject* sender);
    void Button1Click(TObject* sender);
    void SerialSetup1Click(TObject* sender);
    void Connect1Click(TObject* sender);
    void Disconnect1Click(TObject* sender);
    void Log1Click(TObject* sender);
    void SureClearscreen1Click(TObject* sender);
    void BoardTypeClick(TBoardType type);
    void Help1Click(TObject* sender);
    void W10Tirvane1Click(TObject* sender);
    void ComPort1AfterOpen(TObject* sender);
    void ComPort1AfterClose(TObject* sender);
    void ComPort1Error(TObject* sender, TComErrors errors);
    // The port's failures: a lost device closes the port as Disconnect does and stops an upload; every other
    // failure is raised as the port would raise it (the message loop shows it).
    void ComPort1Exception(TObject* sender, TComExceptions kind, const std::string& message, int64_t winError,
                           const std::string& winMessage);
    void ComPort1RxChar(TObject* sender, int count);
    void Timer1Timer(TObject* sender);
    void Memo1KeyPress(TObject* sender, char& key);
    void Memo1KeyDown(TObject* sender, uint16_t& key, TShiftState shift);
    void Edit1KeyPress(TObject* sender, char& key);
    void Edit1KeyDown(TObject* sender, uint16_t& key, TShiftState shift);
    // WM_COPYDATA: a line typed in the console companion.
    intptr_t CopyData(uintptr_t wparam, intptr_t lparam);
    void LoadCOM1Click();

    // The other windows, set by the program once they are made: "Show Sourcefile window" and closing (source),
    // "Help" (help), "Log" (log).
    TCustomForm* SourceWindow = nullptr;
    TCustomForm* HelpWindow = nullptr;
    TCustomForm* LogWindow = nullptr;

private:
    // The constructor's parts, in the order the window lists the components.
    void CreateSkin();
    void CreateTopPanel();
    void CreateTerminalMemo();
    void CreateCommandLine();
    void CreateMainMenu();
    void CreatePort();
    void WritePortPanels();
    void WriteBoardTypePanel();
    void SyncHistoryList();
    // TerminalScreen
    std::uint64_t NowMs() override;
    void ShowText(const TDrainedBatch& edit) override;
    std::string ScreenText() override { return Memo1->Text(); }
    void Beep() override;
    void ShowHeldBack(bool on) override { Shape1->SetVisible(on); }
    void Forward(const std::string& raw) override;
    bool AskWarning(const std::string& line) override;
    void Raise() override;
    // Writes typed text to the port; a write the port did not take in full is logged once per burst. False
    // when not all was written; port errors raise as SendText's do.
    bool SendTyped(const std::string& bytes);
    // Runs an edit of the memo made by the receive path (not the user's).
    template <typename F>
    void OwnMemoEdit(F&& edit);

    TTerminal terminal_{*this};
    TCommandHistory history_;
    TTypedWrites typed_;
    bool ownEdit_ = false;
    bool shown_ = false;
};

}  // namespace kes
