#pragma once
// The media player's button bar as the skin draws it over the control: which of the nine buttons show (read
// from the control's set properties written as text), which button a point of the bar lands on, and the look of
// one button (face frame, glyph bitmap, glyph offset). The visible buttons stand side by side from x = 0 in
// kind order, each the same width.
#include <array>
#include <string>

namespace kes {

constexpr int kMediaButtons = 9;
constexpr int kNoMediaButton = 9;  // no button at that point

// The kinds in order, as a set property writes its members ("btPlay" ... "btEject").
extern const std::array<const char*, kMediaButtons> kMediaButtonKinds;

// Bit j is set when the name of kind j occurs in the text of a set ("[btPlay,btStop]").
unsigned MediaButtonsIn(const std::string& setText);
int CountMediaButtons(unsigned bits);
bool HasMediaButton(unsigned bits, int kind);

// The visible button whose span [sum, sum + buttonWidth] holds x, sum growing by the button width per visible
// button from 0; kNoMediaButton when none does.
int MediaButtonAt(unsigned visible, int buttonWidth, int x);

// One button's look: face frame of the [Buttons] strip (1 normal, 2 pressed, 3 disabled), the glyph bitmap
// (0 enabled, 1 disabled, 2 coloured) and how far the glyph moves right and down (1 while pressed).
struct MediaButtonLook {
    int Face = 1;
    int Bitmap = 0;
    int Offset = 0;
};
MediaButtonLook MediaButtonLookOf(bool enabled, bool coloured, bool pressed);

// The resource name of kind j's glyph in bitmap state i: "EN_MPPLAY", "DI_MPPLAY", "CL_MPPLAY" ...
std::string MediaGlyphName(int kind, int state);

}  // namespace kes
