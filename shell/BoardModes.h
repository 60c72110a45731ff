#pragma once
// The four board types of the terminal and everything that changes with them, as one table.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kes {

enum class TBoardType { Arduino, Scamp2, Scamp2andTirvane, ESP32 };

constexpr char chBEL = 7, chBS = 8, chLF = 10, chCR = 13, chESC = 27;

struct TBoardMode {
    TBoardType Type;
    const char* ItemName;       // the radio menu item under "Processor-Type"
    const char* Caption;        // its menu text
    const char* RegistryValue;  // Boolean value under the key "MCUtype"
    const char* StatusText;     // status panel 7
    bool ShowsCommandLine;      // Panel2 (the command line) shown when this type is chosen
    bool ClearsReadOnly;        // choosing it sets Memo1.ReadOnly false (else the flag is left alone)
    bool SendsKeysAtOnce;       // every key typed in Memo1 goes to the port at once, Enter as LF
    char UploadLineEnd;         // ends each uploaded source line
    char AnswerLineEnd;         // a received chunk holding it releases a waiting upload line
    bool FiltersEscapes;        // received text goes through the escape filter
    bool SendsEscKey;           // the Esc key in Memo1 is written to the port
    const char* ConnectText;    // written to the port by "Connect"
};

// All four, in menu order.
const std::array<TBoardMode, 4>& BoardModes();
const TBoardMode& BoardMode(TBoardType type);
// The mode that applies when the menu has `checked` (none checked behaves as Arduino).
const TBoardMode& EffectiveBoardMode(std::optional<TBoardType> checked);
std::optional<TBoardType> BoardTypeByItemName(std::string_view itemName);
std::optional<TBoardType> BoardTypeByRegistryValue(std::string_view value);

// What a key typed in the terminal memo does (Memo1KeyPress).
enum class TMemoKeyAction {
    Pass,           // the key goes into the memo as usual
    Drop,           // the key vanishes
    SendKey,        // Bytes go to the port; the key is dropped (the board echoes it)
    SendCaretLine,  // the line under the caret + CR goes to the port, that line is deleted, the key dropped
};
struct TMemoKeyDecision {
    TMemoKeyAction Action = TMemoKeyAction::Pass;
    std::string Bytes;
};
TMemoKeyDecision DecideMemoKey(const TBoardMode& mode, bool portOpen, char key);

// Esc key in Memo1 (Memo1KeyDown): true when ESC is to be written to the port. The key is passed on either way.
bool SendsEscOnKey(const TBoardMode& mode, bool portOpen);

// The bytes for one typed terminal line (Enter in Memo1) and one command line (Enter in Edit1).
std::string TerminalLineBytes(std::string_view line);
std::string CommandLineBytes(std::string_view command);

}  // namespace kes
