#pragma once
// Drawing: a canvas over a device context (pen, brush and font picked up at each call), 24-bit DIB
// bitmaps whose pixels neutral code can use directly, and raw data from the program's resources.
#include <cstdint>
#include <string>

#include "gui/Graphics.h"
#include "gui/win/Win.h"

namespace kes {

class TBitmap;

class TCanvas : public TPersistent {
    KES_CLASS(TCanvas, TPersistent)
public:
    TCanvas() = default;
    explicit TCanvas(HDC dc) : dc_(dc) {}
    ~TCanvas() override;
    HDC Handle() const { return dc_; }
    // Borrows a DC (the previous one gets its objects back).
    void SetHandle(HDC dc);

    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TFont& Font() { return font_; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    TPoint PenPos() const;
    void Rectangle(int l, int t, int r, int b);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int l, int t, int r, int b, int cw, int ch);
    void Ellipse(int l, int t, int r, int b);
    // Fills with the brush (no outline).
    void FillRect(const TRect& r);
    // A one-pixel frame in the brush colour.
    void FrameRect(const TRect& r);
    void TextOut(int x, int y, const std::string& text);
    // Text clipped to a rectangle, opaque unless the brush is clear.
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    // DrawText with the platform's DT_ flags; returns the height.
    int DrawText(TRect& r, const std::string& text, unsigned flags);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor c);
    // Copies a bitmap (transparently when the bitmap says so).
    void Draw(int x, int y, TBitmap& bitmap);
    void StretchDraw(const TRect& r, TBitmap& bitmap);
    // Copies a bitmap leaving out the pixels of colour `key`.
    void DrawTransparent(int x, int y, TBitmap& bitmap, TColor key);
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& src);

private:
    void RequirePen();
    void RequireBrush();
    void RequireFont();
    void RestoreObjects();
    HDC dc_ = nullptr;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    // Made from pen_, brush_ and font_ when a drawing call needs them; selected into the DC until it changes.
    UniqueGdi<HPEN> pen_h_;
    UniqueGdi<HBRUSH> brush_h_;  // may hold the stock clear brush, which DeleteObject leaves alone
    UniqueGdi<HFONT> font_h_;
    HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr, oldFont_ = nullptr;
    TPen usedPen_;
    TBrush usedBrush_;
    TFont usedFont_;
};

enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TPersistent {
    KES_CLASS(TBitmap, TPersistent)
public:
    TBitmap() = default;
    TBitmap(int width, int height) { SetSize(width, height); }
    ~TBitmap() override;
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    // New size; the pixels start black.
    void SetSize(int width, int height);
    void SetWidth(int w) { SetSize(w, height_); }
    void SetHeight(int h) { SetSize(width_, h); }
    TCanvas& Canvas();
    HBITMAP Handle() const { return bmp_.Get(); }
    TPixelBuffer Pixels() const { return {bits_, width_, height_, stride_}; }
    uint8_t* ScanLine(int y) const { return bits_ + static_cast<ptrdiff_t>(y) * stride_; }
    int Stride() const { return stride_; }

    bool Transparent = false;
    TTransparentMode TransparentMode = tmAuto;
    // The colour left out when drawn transparently: the bottom-left pixel in tmAuto mode.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor c) {
        fixedTransparent_ = c;
        TransparentMode = tmFixed;
    }

    // A bitmap file's bytes (any depth the platform reads); false when they are not one.
    bool LoadFromBytes(const std::string& bytes);
    bool LoadFromFile(const std::string& path);
    // A BITMAP resource of the program (or of `module`); false when missing.
    bool LoadFromResourceName(const std::string& name, HMODULE module = nullptr);
    bool LoadFromHandle(HBITMAP source);
    // As a 24-bit bitmap file.
    std::string SaveToBytes() const;
    bool SaveToFile(const std::string& path) const;
    void Assign(const TPersistent& source) override;

private:
    void Free();
    UniqueGdi<HBITMAP> bmp_;  // a DIB section; bits_ point into it
    UniqueDc dc_;             // holds bmp_ selected while both exist
    HGDIOBJ oldBmp_ = nullptr;
    uint8_t* bits_ = nullptr;
    int width_ = 0, height_ = 0, stride_ = 0;
    TCanvas canvas_;
    TColor fixedTransparent_ = clFuchsia;
};

// Raw bytes of a resource of the program (RCDATA unless told); false when missing.
bool LoadResourceData(const std::string& name, std::string& out, const char* type = MAKEINTRESOURCEA(10),
                      HMODULE module = nullptr);

}  // namespace kes
