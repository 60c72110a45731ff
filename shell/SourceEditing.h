#pragma once
// The source window's text work that needs no window: the text-length panel, the search, the file name under
// a double click, the include viewer's path, the base folder of relative names, the include-level memos'
// places, the page layout of a printout and the window's registry values.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/IniFile.h"
#include "shell/TerminalSettings.h"

namespace kes {

// Status panel 0: "TextSize " + text length + " / " + selection length.
std::string TextLengthsText(size_t textLength, size_t selLength);

// "Save content in  the same file" needs a drive path with an extension: the name holds ":\" and ".".
bool SameFileSaveAllowed(const std::string& fileName);

// A file the editor cannot hold whole: its bytes contain a NUL (any UTF-16 file does), at which the editor
// would cut the text, and a later save in the same file would then shorten it. The message that refuses it,
// or nullopt when the text loads whole.
std::optional<std::string> SourceFileRefusal(const std::string& fileName, std::string_view bytes);

// ---- search

enum TSearchOption : unsigned {
    soIgnoreCase = 1,  // compare with A-Z folded
    soFromStart = 2,   // search the whole text from its start
    soWrap = 4,        // nothing after the selection: search again from the start
};

// Where `what` next occurs in `text`: from the end of the selection (selStart + selLength), or from the start
// with soFromStart. nullopt when it is not found (or `what` is empty).
std::optional<size_t> SearchText(std::string_view text, std::string_view what, size_t selStart, size_t selLength,
                                 unsigned options);

// "Search in source" works only on a text longer than 20 characters and with something to look for.
bool SearchAllowed(size_t textLength, const std::string& what);

// ---- include viewer

// The word around a character position: the run of characters above the blank that holds `pos` or ends
// right before it. Empty when there is none.
struct TWordRange {
    size_t Start = 0;
    size_t Length = 0;
};
TWordRange WordAt(std::string_view text, size_t pos);

// The file name that a double-clicked word names: what stands between "<" and the next ">", then between the
// first two double quotes; else the word itself.
std::string ViewerFileName(const std::string& word);

// The folder relative include names are taken in: the folder of the source window's file, or for unsaved
// text the folder fixed when the program started. The file dialogs never change it.
std::string SourceBaseFolder(const std::string& sourceFile, const std::string& startFolder);

// The text editor's parameter: the resolved path in double quotes, so that blanks in it stay one argument.
std::string QuotedPath(const std::string& path);

// Place of the memo of include level `depth` on the include frame: Top = Left = depth * 10 + 10, the frame
// less that margin on both sides (never below 0).
struct TLevelBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};
TLevelBounds IncludeLevelBounds(int depth, int frameWidth, int frameHeight);

// ---- printing

// Where each line of a printout goes. The layout is that of a 600 dpi page (lines 150 apart from y = 300 at
// x = 500, a new page past y = 7000), scaled to the printer's resolution and kept on the printable page; a
// page is begun only when a line needs it.
struct TPrintLine {
    int Page = 1;  // from 1
    int X = 0;
    int Y = 0;
};
struct TPrintLayout {
    std::vector<TPrintLine> Lines;
    int Pages = 0;
    int FontHeight = 0;  // the printer font's height in device units (negative: character height)
};
// fontHeight: the editor font's height in screen pixels (negative as fonts keep it) at 96 pixels per inch.
TPrintLayout LayoutPrintout(int lineCount, int dpiX, int dpiY, int pageHeight, int fontHeight);

// ---- registry values (key "Source")

struct TSourceSettings {
    TWindowPlace Place{350, 350, 500, 950};
    std::string FileName;
};

// "Top", "Left", "Height", "Width" and "Filename"; a place that can't be a window's reads as the default.
TSourceSettings ReadSourceSettings(TCustomIniFile& ini);
// Writes all four values, also after one failed; returns "Section\Ident" of those that could not be written.
std::vector<std::string> WriteSourcePlace(TCustomIniFile& ini, const TWindowPlace& place);
void WriteSourceFileName(TCustomIniFile& ini, const std::string& fileName);

}  // namespace kes
