#pragma once
// The arithmetic of the skinned buttons, status bar and group box: which frame of a skin strip each state
// shows, where a glyph and a caption go on a button, and the panel rectangles of a status bar.
// Divisions truncate toward zero.
#include <string>

#include "skin/draw/SkinGeometry.h"

namespace kes {

// Frames of the [Buttons] strip.
enum ButtonFace { kFaceNormal = 1, kFacePressed = 2, kFaceDisabled = 3, kFaceHot = 4, kFaceFocused = 5 };

struct ButtonState {
    bool Pressed = false, Hot = false, Focused = false, Default = false, Enabled = true;
};

// A push or bit button: pressed 2, hot 4, focused or default 5, else 1; disabled 3 whatever else holds.
int PushButtonFace(const ButtonState& s);
// A menu button: pressed 2, hot or focused 4, else 1; disabled 3.
int MenuButtonFace(const ButtonState& s);
// A speed button: "Down" 2, disabled 3, else pressed 2, hot 4, normal 1.
int SpeedButtonFace(const ButtonState& s, bool down);
// The glyph frame that goes with a face: pressed 3, disabled 2, else 1; a speed button that is down shows 4.
int GlyphIndexFor(int face, bool down = false);

enum GlyphPlace { kGlyphLeft, kGlyphRight, kGlyphTop, kGlyphBottom };
// "blglyphright" ... (lower case); anything else is glyph left.
GlyphPlace GlyphPlaceOf(const std::string& layout);

// Where a glyph and a caption go on a button of size W x H.
struct GlyphLayout {
    int GlyphX = 0, GlyphY = 0, TextX = 0, TextY = 0;
    unsigned TextFlags = 0;  // DT_WORDBREAK, plus DT_RIGHT or DT_CENTER by the place
    int Margin = 0, Spacing = 0;
};
struct GlyphLayoutInput {
    int W = 0, H = 0;
    int GlyphW = 0, GlyphH = 0, TextW = 0, TextH = 0;
    GlyphPlace Place = kGlyphLeft;
    int Margin = -1, Spacing = -1;  // -1: computed
    bool Centred = false;           // "Alignment" is "tacenter" (bit buttons only)
    bool Speed = false;             // a speed button: a computed margin with a given spacing is one more
};
GlyphLayout LayoutGlyphButton(const GlyphLayoutInput& in);
// A menu button: always horizontal, the drop-down arrow (8 wide) at the right.
struct MenuButtonLayout {
    int GlyphX = 0, GlyphY = 0, TextX = 0, TextY = 0, ArrowX = 0, ArrowY = 0;
    int Margin = 0, Spacing = 0;
};
MenuButtonLayout LayoutMenuButton(int W, int H, int glyphW, int glyphH, int textW, int textH, int margin,
                                  int spacing);
// Where a measured caption of w x h goes in a rectangle of W x H: centred (alignment 1), or vertically only.
PixelRect PlaceButtonCaption(const PixelRect& area, int w, int h, bool centred);

// Status bar: the panel rectangle reported by the window, widened by 2 to the right; the last one reaches the
// bar's right edge.
PixelRect StatusPanelRect(const PixelRect& reported, bool last, int barRight);
// Bevel code of a panel (frame of "StatusBarEdges"): lowered 1, raised 2, none 3.
int StatusBevelFrame(int bevel /* 0 none, 1 lowered, 2 raised */);
// The DrawText alignment of a panel: left 0, right 2, centre 1; left and right change places right to left.
unsigned StatusPanelAlignment(int alignment /* 0 left, 1 right, 2 centre */, bool rightToLeft);
// The group box frame's top line for a caption font whose "0" is th pixels high.
inline int GroupBoxFrameTop(int th) { return th / 2 - 1; }

}  // namespace kes
