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
#include "shell/ReceivePath.h"
#include "shell/TerminalTail.h"
#include "shell/TypedWrites.h"
#include "skin/SkinData.h"

namespace kes {

class TTimer;
class TConsoleLinkClient;

class TKestrup : public TForm {
    KES_CLASS(TKestrup, TForm)
public:
    explicit TKestrup(TComponent* owner);
    ~TKestrup() override;

    // Components, in the order the window lists them.
    TLabel* Label1;
    TPanel* Panel1;
    TSkinData* SkinData1;  // the program's skin, read from the stored skin before everything else
    TComLed* ComLed1;  // the port-open lamp on Panel1's right edge
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
        *SureClearscreen1, *NoClearscreen1, *ProcessorType1, *Arduino1, *SCAMPPIC241, *SCAMPPIC24usingTirvane1,
        *ESP32, *Help1, *W10Tirvane1;
    TComPort* ComPort1;
    TConsoleLinkClient* IdTCPClient1;
    TTimer* Timer1;

    // The checked board type (nullopt when no item is checked) and the mode that applies.
    std::optional<TBoardType> CheckedBoardType() const;
    const TBoardMode& CurrentMode() const;

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
    void ComPort1RxChar(TObject* sender, int count);
    void Timer1Timer(TObject* sender);
    void Memo1KeyPress(TObject* sender, char& key);
    void Memo1KeyDown(TObject* sender, uint16_t& key, TShiftState shift);
    void Edit1KeyPress(TObject* sender, char& key);
    void Edit1KeyDown(TObject* sender, uint16_t& key, TShiftState shift);
    // WM_COPYDATA: a line typed in the console companion.
    intptr_t CopyData(uintptr_t wparam, intptr_t lparam);
    void LoadCOM1Click();

    // The help window (Unit3), shown by "Help"; the program's start-up sets it once the window is made.
    TCustomForm* HelpWindow = nullptr;

private:
    void WritePortPanels();
    void WriteBoardTypePanel();
    void ApplyBatch(const TDrainedBatch& batch);
    void ForwardToCompanion(const std::string& raw);
    void CheckBoardWarning();
    void SyncHistoryList();
    // Writes typed text to the port; a write the port did not take in full is logged once per burst. False
    // when not all was written; port errors raise as SendText's do.
    bool SendTyped(const std::string& bytes);
    // Runs an edit of the memo made by the receive path (not the user's).
    template <typename F>
    void OwnMemoEdit(F&& edit);

    TReceivePath rx_;
    TTerminalTail tail_;
    TCommandHistory history_;
    TTypedWrites typed_;
    bool ownEdit_ = false;
    bool shown_ = false;
    // Tick count before which no drain runs while the terminal's text is long (see Timer1Timer).
    static constexpr uint64_t kSlowAppendMs = 4;
    uint64_t nextDrainAt_ = 0;
};

// The main window; nullptr before it is made and after it is gone.
extern TKestrup* Kestrup;

}  // namespace kes
