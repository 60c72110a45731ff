#include "gui/win/Canvas.h"

#include <algorithm>
#include <cstring>

#include "base/StringList.h"

namespace kes {

// ---- TCanvas ----

TCanvas::~TCanvas() { RestoreObjects(); }

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    RestoreObjects();
    dc_ = dc;
}

void TCanvas::RestoreObjects() {
    if (dc_) {
        if (oldPen_) SelectObject(dc_, oldPen_);
        if (oldBrush_) SelectObject(dc_, oldBrush_);
        if (oldFont_) SelectObject(dc_, oldFont_);
    }
    oldPen_ = oldBrush_ = oldFont_ = nullptr;
    pen_h_.Reset();
    brush_h_.Reset();
    font_h_.Reset();
}

static int PenStyleOf(TPenStyle s) {
    switch (s) {
    case psDash: return PS_DASH;
    case psDot: return PS_DOT;
    case psDashDot: return PS_DASHDOT;
    case psDashDotDot: return PS_DASHDOTDOT;
    case psClear: return PS_NULL;
    case psInsideFrame: return PS_INSIDEFRAME;
    default: return PS_SOLID;
    }
}

void TCanvas::RequirePen() {
    if (!dc_) return;
    if (pen_h_ && usedPen_.Color == pen_.Color && usedPen_.Width == pen_.Width && usedPen_.Style == pen_.Style) return;
    UniqueGdi<HPEN> p(CreatePen(PenStyleOf(pen_.Style), pen_.Width, ColorToRGB(pen_.Color)));
    HGDIOBJ old = SelectObject(dc_, p.Get());
    if (!oldPen_) oldPen_ = old;
    pen_h_ = std::move(p);
    usedPen_.Assign(pen_);
}

void TCanvas::RequireBrush() {
    if (!dc_) return;
    if (brush_h_ && usedBrush_.Color == brush_.Color && usedBrush_.Style == brush_.Style) return;
    UniqueGdi<HBRUSH> b;
    switch (brush_.Style) {
    case bsClear: b.Reset(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))); break;
    case bsSolid: b.Reset(CreateSolidBrush(ColorToRGB(brush_.Color))); break;
    default: {
        static const int hatch[] = {0,        0,           HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL,
                                    HS_CROSS, HS_DIAGCROSS};
        b.Reset(CreateHatchBrush(hatch[brush_.Style], ColorToRGB(brush_.Color)));
    }
    }
    HGDIOBJ old = SelectObject(dc_, b.Get());
    if (!oldBrush_) oldBrush_ = old;
    brush_h_ = std::move(b);
    usedBrush_.Assign(brush_);
    SetBkMode(dc_, brush_.Style == bsClear ? TRANSPARENT : OPAQUE);
    SetBkColor(dc_, ColorToRGB(brush_.Color));
}

void TCanvas::RequireFont() {
    if (!dc_) return;
    if (!font_h_ || !(usedFont_ == font_)) {
        UniqueGdi<HFONT> f = CreateFontFor(font_);
        HGDIOBJ old = SelectObject(dc_, f.Get());
        if (!oldFont_) oldFont_ = old;
        font_h_ = std::move(f);
        usedFont_.Assign(font_);
    }
    SetTextColor(dc_, ColorToRGB(font_.Color()));
}

void TCanvas::MoveTo(int x, int y) {
    if (dc_) MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    RequirePen();
    if (dc_) ::LineTo(dc_, x, y);
}

TPoint TCanvas::PenPos() const {
    POINT p{};
    if (dc_) GetCurrentPositionEx(dc_, &p);
    return {p.x, p.y};
}

void TCanvas::Rectangle(int l, int t, int r, int b) {
    RequirePen();
    RequireBrush();
    if (dc_) ::Rectangle(dc_, l, t, r, b);
}

void TCanvas::RoundRect(int l, int t, int r, int b, int cw, int ch) {
    RequirePen();
    RequireBrush();
    if (dc_) ::RoundRect(dc_, l, t, r, b, cw, ch);
}

void TCanvas::Ellipse(int l, int t, int r, int b) {
    RequirePen();
    RequireBrush();
    if (dc_) ::Ellipse(dc_, l, t, r, b);
}

void TCanvas::FillRect(const TRect& r) {
    RequireBrush();
    if (!dc_ || brush_.Style == bsClear) return;
    RECT rc = ToRECT(r);
    ::FillRect(dc_, &rc, brush_h_.Get());
}

void TCanvas::FrameRect(const TRect& r) {
    if (!dc_) return;
    UniqueGdi<HBRUSH> b(CreateSolidBrush(ColorToRGB(brush_.Color)));
    RECT rc = ToRECT(r);
    ::FrameRect(dc_, &rc, b.Get());
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    RequireFont();
    RequireBrush();
    if (dc_) ::TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
    RequireFont();
    RequireBrush();
    if (!dc_) return;
    RECT rc = ToRECT(r);
    ExtTextOutA(dc_, x, y, ETO_CLIPPED | (brush_.Style == bsClear ? 0 : ETO_OPAQUE), &rc, text.data(),
                static_cast<UINT>(text.size()), nullptr);
}

int TCanvas::DrawText(TRect& r, const std::string& text, unsigned flags) {
    RequireFont();
    RequireBrush();
    if (!dc_) return 0;
    RECT rc = ToRECT(r);
    const int h = ::DrawTextA(dc_, text.data(), static_cast<int>(text.size()), &rc, flags);
    r = ToTRect(rc);
    return h;
}

int TCanvas::TextWidth(const std::string& text) {
    RequireFont();
    SIZE sz{};
    if (dc_) GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &sz);
    return sz.cx;
}

int TCanvas::TextHeight(const std::string& text) {
    RequireFont();
    SIZE sz{};
    if (dc_)
        GetTextExtentPoint32A(dc_, text.empty() ? "Wg" : text.data(), text.empty() ? 2 : static_cast<int>(text.size()),
                              &sz);
    return sz.cy;
}

TColor TCanvas::Pixel(int x, int y) const {
    if (!dc_) return clNone;
    const COLORREF c = GetPixel(dc_, x, y);
    return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixel(int x, int y, TColor c) {
    if (dc_) ::SetPixel(dc_, x, y, ColorToRGB(c));
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
    if (!dc_ || bitmap.Empty()) return;
    if (bitmap.Transparent) {
        DrawTransparent(x, y, bitmap, bitmap.TransparentColor());
        return;
    }
    BitBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TCanvas::StretchDraw(const TRect& r, TBitmap& bitmap) {
    if (!dc_ || bitmap.Empty()) return;
    if (bitmap.Transparent) {
        TransparentBlt(dc_, r.Left, r.Top, r.Width(), r.Height(), bitmap.Canvas().Handle(), 0, 0, bitmap.Width(),
                       bitmap.Height(), ColorToRGB(bitmap.TransparentColor()));
        return;
    }
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, r.Left, r.Top, r.Width(), r.Height(), bitmap.Canvas().Handle(), 0, 0, bitmap.Width(),
               bitmap.Height(), SRCCOPY);
}

void TCanvas::DrawTransparent(int x, int y, TBitmap& bitmap, TColor key) {
    if (!dc_ || bitmap.Empty()) return;
    TransparentBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.Canvas().Handle(), 0, 0, bitmap.Width(),
                   bitmap.Height(), ColorToRGB(key));
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src) {
    if (!dc_ || !source.Handle()) return;
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), source.Handle(), src.Left, src.Top, src.Width(),
               src.Height(), SRCCOPY);
}

// ---- TBitmap ----

TBitmap::~TBitmap() { Free(); }

void TBitmap::Free() {
    canvas_.SetHandle(nullptr);
    if (dc_) SelectObject(dc_.Get(), oldBmp_);
    dc_.Reset();
    bmp_.Reset();
    oldBmp_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = stride_ = 0;
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == width_ && height == height_ && bmp_) return;
    Free();
    if (width == 0 || height == 0) {
        width_ = width;
        height_ = height;
        return;
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // rows top to bottom
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bmp_.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bmp_) return;
    bits_ = static_cast<uint8_t*>(bits);
    width_ = width;
    height_ = height;
    stride_ = (width * 3 + 3) & ~3;
    std::memset(bits_, 0, static_cast<size_t>(stride_) * static_cast<size_t>(height));
    dc_.Reset(CreateCompatibleDC(nullptr));
    oldBmp_ = SelectObject(dc_.Get(), bmp_.Get());
    canvas_.SetHandle(dc_.Get());
}

TCanvas& TBitmap::Canvas() { return canvas_; }

TColor TBitmap::TransparentColor() const {
    if (TransparentMode == tmFixed || Empty()) return fixedTransparent_;
    GdiFlush();
    const uint8_t* p = ScanLine(height_ - 1);
    return RGBColor(p[2], p[1], p[0]);
}

bool TBitmap::LoadFromBytes(const std::string& bytes) {
    if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return false;
    BITMAPFILEHEADER fh;
    std::memcpy(&fh, bytes.data(), sizeof fh);
    if (fh.bfType != 0x4D42 || fh.bfOffBits >= bytes.size()) return false;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes.data() + sizeof fh);
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 || h.biWidth > 32768 ||
        std::abs(h.biHeight) > 32768)
        return false;
    const int w = h.biWidth, hh = std::abs(h.biHeight);
    const uint64_t rowBytes = ((static_cast<uint64_t>(w) * h.biBitCount + 31) / 32) * 4;
    if (h.biCompression == BI_RGB && fh.bfOffBits + rowBytes * static_cast<uint64_t>(hh) > bytes.size()) return false;
    SetSize(w, hh);
    if (!dc_) return false;
    const int lines = SetDIBitsToDevice(dc_.Get(), 0, 0, static_cast<DWORD>(w), static_cast<DWORD>(hh), 0, 0, 0,
                                        static_cast<UINT>(hh), bytes.data() + fh.bfOffBits, info, DIB_RGB_COLORS);
    GdiFlush();
    return lines > 0;
}

bool TBitmap::LoadFromFile(const std::string& path) {
    std::string bytes;
    return ReadFileBytes(path, bytes) && LoadFromBytes(bytes);
}

bool TBitmap::LoadFromHandle(HBITMAP source) {
    BITMAP bm{};
    if (!source || !GetObjectA(source, sizeof bm, &bm)) return false;
    SetSize(bm.bmWidth, bm.bmHeight);
    if (!dc_) return false;
    {
        const UniqueDc src(CreateCompatibleDC(nullptr));
        SelectGuard selected(src.Get(), source);
        BitBlt(dc_.Get(), 0, 0, bm.bmWidth, bm.bmHeight, src.Get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    return true;
}

bool TBitmap::LoadFromResourceName(const std::string& name, HMODULE module) {
    if (!module) module = GetModuleHandleA(nullptr);
    const UniqueGdi<HBITMAP> h(
        static_cast<HBITMAP>(LoadImageA(module, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    return h && LoadFromHandle(h.Get());
}

std::string TBitmap::SaveToBytes() const {
    GdiFlush();
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    const uint32_t image = static_cast<uint32_t>(stride_) * static_cast<uint32_t>(height_);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + image;
    ih.biSize = sizeof ih;
    ih.biWidth = width_;
    ih.biHeight = height_;  // bottom-up in the file
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    ih.biSizeImage = image;
    std::string out(reinterpret_cast<const char*>(&fh), sizeof fh);
    out.append(reinterpret_cast<const char*>(&ih), sizeof ih);
    for (int y = height_ - 1; y >= 0; --y)
        out.append(reinterpret_cast<const char*>(ScanLine(y)), static_cast<size_t>(stride_));
    return out;
}

bool TBitmap::SaveToFile(const std::string& path) const { return WriteFileBytes(path, SaveToBytes()); }

void TBitmap::Assign(const TPersistent& source) {
    if (auto* b = dynamic_cast<const TBitmap*>(&source)) {
        if (b == this) return;
        SetSize(b->Width(), b->Height());
        GdiFlush();
        for (int y = 0; y < height_; ++y) std::memcpy(ScanLine(y), b->ScanLine(y), static_cast<size_t>(stride_));
        Transparent = b->Transparent;
        TransparentMode = b->TransparentMode;
        fixedTransparent_ = b->fixedTransparent_;
        return;
    }
    TPersistent::Assign(source);
}

bool LoadResourceData(const std::string& name, std::string& out, const char* type, HMODULE module) {
    if (!module) module = GetModuleHandleA(nullptr);
    HRSRC r = FindResourceA(module, name.c_str(), type);
    if (!r) return false;
    HGLOBAL g = LoadResource(module, r);
    const void* p = g ? LockResource(g) : nullptr;
    if (!p) return false;
    out.assign(static_cast<const char*>(p), SizeofResource(module, r));
    return true;
}

}  // namespace kes
