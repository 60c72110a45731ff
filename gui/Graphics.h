#pragma once
// Colours, fonts, pens and brushes as plain values; the window layer turns them into GDI objects.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "base/Component.h"

namespace kes {

struct TPoint {
    int X = 0, Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const TRect&) const = default;
};
inline TRect Rect(int l, int t, int r, int b) { return TRect{l, t, r, b}; }
inline TRect Bounds(int l, int t, int w, int h) { return TRect{l, t, l + w, t + h}; }

// Pixels of a 24-bit bitmap as the neutral bitmap routines see them: rows top to bottom, each pixel
// blue, green, red; each row `Stride` bytes (a multiple of 4).
struct TPixelBuffer {
    uint8_t* Bits = nullptr;
    int Width = 0, Height = 0, Stride = 0;
    uint8_t* Row(int y) const { return Bits + static_cast<ptrdiff_t>(y) * Stride; }
};

// 0x00BBGGRR; a value with the top byte 0xFF names the system colour whose index is the low byte.
using TColor = int32_t;
constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index)); }
constexpr bool IsSystemColor(TColor c) { return (static_cast<uint32_t>(c) & 0xFF000000u) == 0xFF000000u; }
constexpr TColor RGBColor(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080, clNavy = 0x800000,
                 clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0, clRed = 0x0000FF,
                 clLime = 0x00FF00, clYellow = 0x00FFFF, clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00,
                 clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
// System colours by their index in the platform's colour table.
constexpr TColor clScrollBar = SystemColor(0), clBackground = SystemColor(1), clActiveCaption = SystemColor(2),
                 clMenu = SystemColor(4), clWindow = SystemColor(5), clWindowFrame = SystemColor(6),
                 clMenuText = SystemColor(7), clWindowText = SystemColor(8), clCaptionText = SystemColor(9),
                 clHighlight = SystemColor(13), clHighlightText = SystemColor(14), clBtnFace = SystemColor(15),
                 clBtnShadow = SystemColor(16), clGrayText = SystemColor(17), clBtnText = SystemColor(18),
                 clBtnHighlight = SystemColor(20), clInfoText = SystemColor(23), clInfoBk = SystemColor(24);

// Font styles as a bit set.
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// Screen pixels per inch used to turn point sizes into pixel heights.
constexpr int kPixelsPerInch = 96;

class TFont : public TPersistent {
    KES_CLASS(TFont, TPersistent)
public:
    TFont() = default;
    // A negative height is the character height in pixels; a positive one the cell height.
    int Height() const { return height_; }
    void SetHeight(int h);
    // Point size, derived from Height.
    int Size() const;
    void SetSize(int points);
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    void Assign(const TPersistent& source) override;
    bool operator==(const TFont& o) const {
        return height_ == o.height_ && name_ == o.name_ && style_ == o.style_ && color_ == o.color_;
    }
    // Told after every change.
    std::function<void(TFont*)> OnChange;

private:
    void Changed() {
        if (OnChange) OnChange(this);
    }
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TPen : public TPersistent {
    KES_CLASS(TPen, TPersistent)
public:
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    void Assign(const TPersistent& source) override;
};

class TBrush : public TPersistent {
    KES_CLASS(TBrush, TPersistent)
public:
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    void Assign(const TPersistent& source) override;
};

}  // namespace kes
