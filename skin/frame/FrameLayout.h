#pragma once
// The rules of a skinned window frame that need no window: the kinds of a window, the frame metrics, the
// client rectangle and hit test of the non-client area, the caption text and caption-button layout, which
// caption buttons show, what a click on one does, and the plan of the window region. Style bits and hit-test
// codes are the system's numbers.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gui/Graphics.h"

namespace kes {

struct TSkinObjects;

// Border kinds, MDI kinds, window states and the caption-button set of a window.
enum : int { kBorderSizeable = 0, kBorderCaption = 1, kBorderNone = 2, kBorderDialog = 3 };
enum : int { kMdiPlain = 0, kMdiFrame = 1, kMdiChild = 2 };
enum : int { kStateNormal = 0, kStateMaximized = 1, kStateMinimized = 2 };
enum : unsigned { kBoxMax = 1, kBoxMin = 2, kBoxHelp = 4, kBoxSysMenu = 8, kBoxKeepSysMenuStyle = 0x10 };

// What the frame learns of a window when it hooks it.
struct FrameWindowFacts {
    std::uint32_t Style = 0, ExStyle = 0;
    std::string ClassName;
    bool HasMdiClient = false;   // a child window of class "MDIClient"
    bool HasSystemMenu = false;  // GetSystemMenu gave a menu
    bool HasOwner = false;
    int MajorVersion = 10, MinorVersion = 0;
    bool NT = true;
};
struct FrameKinds {
    int Mdi = kMdiPlain;
    int Border = kBorderCaption;
    unsigned Boxes = 0;
    bool SystemDialog = false;  // "#32770" or "TMessageForm"
    bool RightToLeft = false, Resizable = false, Child = false;
};
FrameKinds ClassifyFrame(const FrameWindowFacts& w);
// The window state of a WINDOWPLACEMENT showCmd.
int WindowStateOfShowCmd(int showCmd);

// Widths of the skinned borders and heights of the caption and the menu row.
struct FrameMetrics {
    int Left = 0, Right = 0, Caption = 0, Bottom = 0, Menu = 0;
};
// From the skin's border images: left and right widths and caption and bottom heights of one frame. A
// window without a caption has no borders and no menu row.
FrameMetrics FrameMetricsOf(const TSkinObjects& skin, int borderKind, int menuHeight);

// The client rectangle for a window at (x, y) of size cx x cy: inside the borders, never inverted (a window
// smaller than its borders gets an empty client area at the inner edge).
TRect FrameClientRect(int x, int y, int cx, int cy, const FrameMetrics& m);
// The answer to WM_NCHITTEST after the default procedure gave defaultCode, for a point windowY pixels below
// the window's top: HTNOWHERE, HTCAPTION and HTMENU (the system's own menu place) become HTCAPTION below the
// top 3 rows, and HTMENU inside the menu row only; other answers stay.
int FrameHitTest(int defaultCode, int windowY, const FrameMetrics& m);

// The sizing borders of a window the user sizes, by the skin's borders (the system's own sizing bands are only
// as wide as its frame, and the skin's rounded corners are cut out of the window): the hit code (HTLEFT ...
// HTBOTTOMRIGHT) of a point in window coordinates, 0 where it sizes nothing. The top edge is the top `topBand`
// rows; a corner reaches `corner` pixels along both edges that meet there.
int FrameSizingHitTest(TPoint p, int width, int height, const FrameMetrics& m, int corner, int topBand);

// What a left-button release over the non-client area does to a caption button or a menu-bar button (indexes,
// -1 for none): the button's action runs only when the press began on that same button; over another button (or
// over one that no press began on) nothing happens; elsewhere the default handling runs.
enum class NcRelease { Default, Nothing, Run };
NcRelease NcButtonRelease(int pressedButton, int releasedOver);

// Where the caption text goes in the caption strip (window coordinates, the strip is the window's width).
struct CaptionTextInput {
    int StripWidth = 0, StripHeight = 0;
    int TextWidth = 0, TextHeight = 0;  // measured caption text
    int Alignment = 0;                  // 0 left, 1 centre, 2 right
    int TextShift = 0, TextShiftVert = 0, TextRightClip = 0, TxtBackLeft = 0, TxtBackRight = 0;
    int WidestRightOffset = 0;  // largest Xcoord of the visible right-aligned caption buttons
    bool RightToLeft = false, Popup = false, Dialog = false;
};
TRect CaptionTextRect(const CaptionTextInput& in);

// Place of a caption button of size bw x bh by its Align: 0 at (x, y); 1 at (width - x, y); 2 and 8 left of
// the caption text; 3 and 9 right of it; 100 in the menu row. Empty for other aligns.
TRect CaptionButtonRect(int align, int xcoord, int ycoord, int bw, int bh, int windowWidth, const TRect& textRect,
                        const FrameMetrics& m, int menuBarLeftWidth);

// Which caption buttons show, by their Visibility and Visibility1 codes and their Action.
struct ButtonContext {
    bool Maximized = false, Active = true;
    unsigned Boxes = 0;
    bool MdiChildMaximizedWithMenuBar = false;  // an MDI frame whose active child is maximized, with a menu bar
    bool DialogNotSystem = false;               // dialog border kind and not a system dialog
    bool DialogBorder = false;
    // Codes 1000-2000 ask the window (SKM_BUTTONVISIBLE); answer > 0 is visible.
    std::function<int(int code, int action)> Ask;
};
struct ButtonShow {
    bool Visible = false, Enabled = true;
};
ButtonShow CaptionButtonShow(int action, int visibility, int visibility1, const ButtonContext& c);

// What a click on a caption button does (button up), or a double click on the caption.
enum class NcCommand {
    None,
    Default,
    Close,
    Maximize,
    Minimize,
    Restore,
    SystemMenu,
    ContextHelp,
    MdiChildMinimize,
    MdiChildRestore,
    MdiChildClose,
    ButtonClick
};
struct NcAction {
    NcCommand Command = NcCommand::None;
    bool TimerOff = false;          // the 250 ms timer stops first (the window closes)
    bool SysMenuStyleBack = false;  // WS_SYSMENU goes back before minimizing
    bool ClearHot = false;
    bool SetMdiMaximized = false;
    int NewState = -1;  // the window state afterwards; -1 unchanged
};
struct NcWindowState {
    int State = kStateNormal;
    bool CloseEnabled = true;  // the system menu has SC_CLOSE enabled
    bool MaxBox = false;
    int Mdi = kMdiPlain;
};
NcAction CaptionButtonAction(int action, bool enabled, const NcWindowState& w);
NcAction CaptionDoubleClick(bool onIconButton, bool onOtherButton, const NcWindowState& w);

// The pieces of the window region: rectangles kept whole, or border parts (1 left, 2 right, 3 caption,
// 4 bottom) whose picture is cut by the magenta key.
struct RegionPiece {
    int Part = 0;  // 0 a rectangle kept whole
    TRect Rect;
    bool operator==(const RegionPiece&) const = default;
};
struct RegionPlanInput {
    int Width = 0, Height = 0;
    FrameMetrics Metrics;
    int Border = kBorderSizeable;
    bool Trans[5] = {};  // by part 1..4
};
// Empty for an empty window. Without a transparent border part one rectangle of the window; else the inner
// rectangle, then the left, right, bottom and caption parts.
std::vector<RegionPiece> RegionPlan(const RegionPlanInput& in);

// ---- MDI ----

// The buttons of Visibility 100 (an MDI frame's maximized child: minimize, restore, close) show in the frame's
// menu bar: an MDI frame with a skinned menu bar whose active child is maximized.
bool MdiChildButtonsShow(int mdiKind, bool hasMenuBar, bool activeChildMaximized);
// The menu row of an MDI child: what its skinned caption falls short of the system's caption and sizing frame
// (systemCaption + systemFrame), so that the child keeps the system's non-client height; 0 when it does not.
int MdiChildMenuHeight(int captionHeight, int systemCaption, int systemFrame);
// A point of the window (window coordinates) from a point of its client area: the client area starts past the
// left border and below the caption and the menu row, except in a minimized MDI child, whose client area starts at
// the window's corner.
TPoint FrameWindowPoint(TPoint client, const FrameMetrics& m, bool minimizedMdiChild);

// What the frame does once the skin starts (SKM_START) on a window still in stage 0.
struct FrameStartPlan {
    bool MdiRedraw = false;     // a maximized MDI child: its frame is redrawn with every child (SKM_MDIREDRAW)
    bool Resize = false;        // the window gets the skin's borders around its client area
    bool KeepPlace = false;     // ... keeping its place and size (a window the user sizes), not its client area
    bool Region = false;        // the window region is built
    bool FrameChanged = false;  // the frame is computed again (a maximized window)
};
FrameStartPlan StartPlanOf(int mdiKind, int windowState, bool child, int borderKind, bool systemDialog);
// Whether the frame's own message handling (non-client painting, hit tests, mouse) runs: not before the skin
// started (stage 0), not on a maximized MDI child, which shows the system's frame outside its client.
bool FrameMessagesRun(int stage, int mdiKind, int windowState);
// Whether WM_NCACTIVATE is answered without the system (which would paint its frame) before the skin started;
// an MDI child's goes on, as its client keeps the activation of its children with it.
bool HoldNcActivate(int stage, int mdiKind);

// The hint of a caption button by its Action ("Close", "Maximize", "Minimize", "Restore"); empty for none.
std::string CaptionButtonHint(int action);

}  // namespace kes
