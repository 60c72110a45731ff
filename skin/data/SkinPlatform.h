#pragma once
// What the skin data component needs from the platform: the program's bitmap resources, a few system
// metrics, the caption font, the face brush, the menu images, the application icon and the caption-button
// hint window. The Windows build supplies the real one (win/SkinPlatformWin.cpp); the native build a
// headless one with the program bitmaps drawn in memory and the usual metrics of a desktop.
#include <memory>
#include <string>

#include "gui/Graphics.h"
#include "skin/container/PixelBuffer.h"

namespace kes {

enum class SkinMetric {
    HScrollArrowWidth,  // width of a horizontal scroll-bar arrow
    MaximizedWidth,     // size of a maximized top-level window
    MaximizedHeight,
    SmallIconWidth,
    SmallIconHeight,
};

// The caption-button hint (shown and hidden by the window frame).
class SkinHintWindow {
public:
    virtual ~SkinHintWindow() = default;
    // The rectangle the hint needs for text, at most maxWidth wide, placed at (0, 0).
    virtual TRect CalcHintRect(int maxWidth, const std::string& text) = 0;
    // Shows the hint with text in rect (screen coordinates).
    virtual void ActivateHint(const TRect& rect, const std::string& text) = 0;
    virtual void Hide() = 0;
};

class SkinPlatform {
public:
    virtual ~SkinPlatform() = default;
    // A bitmap resource of the program as a 24-bit image; false (image untouched) when there is none.
    virtual bool LoadProgramBitmap(const std::string& name, PixelBuffer& image) = 0;
    virtual int Metric(SkinMetric metric) = 0;
    // Whether the system offers GetScrollBarInfo.
    virtual bool HasScrollBarInfo() = 0;
    // The system's caption font; false (font untouched) when the system does not say.
    virtual bool LoadCaptionFont(TFont& font) = 0;
    // Remakes the solid face brush in colour (a system colour or RGB).
    virtual void MakeFaceBrush(TColor colour) = 0;
    // The application window's small (or else big) icon drawn at (0, 0) on image; false without an icon.
    virtual bool DrawAppIcon(PixelBuffer& image) = 0;
    // The menu glyphs (restore, maximize, minimize, close, each 16 x 16); false when missing.
    virtual bool LoadMenuImages() = 0;
    virtual SkinHintWindow& HintWindow() = 0;
};

// The platform of this build.
std::unique_ptr<SkinPlatform> MakeSkinPlatform();

}  // namespace kes
