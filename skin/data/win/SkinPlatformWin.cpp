// The skin platform of the Windows program: resources of the executable, system metrics, the caption font
// from the non-client metrics, GDI brush, image list and the caption-button hint window.
#include <algorithm>

#include "base/win/Application.h"
#include "skin/container/ImgUtil.h"
#include "skin/data/SkinPlatform.h"
#include "skin/container/win/ImgUtilWin.h"
#include "skin/data/win/SkinDataWin.h"

#include "gui/win/ImgList.h"

namespace kes {

namespace {

BITMAPINFO Info24(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;  // bottom-up, as a pixel buffer is by default
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

// A 24-bit copy of a bitmap handle.
bool PixelsOf(HBITMAP bitmap, PixelBuffer& image) {
    BITMAP bm{};
    if (!GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0) return false;
    const int h = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    PixelBuffer out(bm.bmWidth, h);
    BITMAPINFO bi = Info24(bm.bmWidth, h);
    WindowDc screen(nullptr);
    if (GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(h), out.Bits(), &bi, DIB_RGB_COLORS) != h) return false;
    image = std::move(out);
    return true;
}

class WinHintWindow : public SkinHintWindow {
public:
    WinHintWindow() {
        static const ATOM cls = [] {
            WNDCLASSA wc{};
            wc.style = CS_SAVEBITS | CS_DROPSHADOW;
            wc.lpfnWndProc = &WinHintWindow::Proc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
            wc.hbrBackground = GetSysColorBrush(COLOR_INFOBK);
            wc.lpszClassName = "KestrupSkinHint";
            return RegisterClassA(&wc);
        }();
        (void)cls;
        hwnd_ = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "KestrupSkinHint", "", WS_POPUP | WS_BORDER, 0, 0, 10,
                                10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~WinHintWindow() override {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    TRect CalcHintRect(int maxWidth, const std::string& text) override {
        RECT r{0, 0, maxWidth, 0};
        WindowDc dc(hwnd_);
        SelectGuard font(dc.Get(), GetStockObject(DEFAULT_GUI_FONT));
        DrawTextA(dc.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
        return {0, 0, std::min<int>(r.right + 8, maxWidth), r.bottom + 4};
    }
    void ActivateHint(const TRect& rect, const std::string& text) override {
        SetWindowTextA(hwnd_, text.c_str());
        SetWindowPos(hwnd_, HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(),
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
    void Hide() override { ShowWindow(hwnd_, SW_HIDE); }
    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_PAINT) {
            PaintDc dc(hwnd);
            char text[512];
            GetWindowTextA(hwnd, text, sizeof text);
            RECT r;
            GetClientRect(hwnd, &r);
            r.left += 3;
            r.top += 1;
            SelectGuard font(dc.Get(), GetStockObject(DEFAULT_GUI_FONT));
            SetBkMode(dc.Get(), TRANSPARENT);
            SetTextColor(dc.Get(), GetSysColor(COLOR_INFOTEXT));
            DrawTextA(dc.Get(), text, -1, &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
            return 0;
        }
        if (msg == WM_NCHITTEST) return HTTRANSPARENT;
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    HWND hwnd_ = nullptr;
};

class WinSkinPlatform : public SkinPlatform {
public:
    WinSkinPlatform() { UseSystemColours(); }

    bool LoadProgramBitmap(const std::string& name, PixelBuffer& image) override {
        UniqueGdi<HBITMAP> bitmap(static_cast<HBITMAP>(
            LoadImageA(GetModuleHandleA(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        return bitmap && PixelsOf(bitmap.Get(), image);
    }
    int Metric(SkinMetric metric) override {
        switch (metric) {
        case SkinMetric::HScrollArrowWidth: return GetSystemMetrics(SM_CXHSCROLL);
        case SkinMetric::MaximizedWidth: return GetSystemMetrics(SM_CXMAXIMIZED);
        case SkinMetric::MaximizedHeight: return GetSystemMetrics(SM_CYMAXIMIZED);
        case SkinMetric::SmallIconWidth: return GetSystemMetrics(SM_CXSMICON);
        case SkinMetric::SmallIconHeight: return GetSystemMetrics(SM_CYSMICON);
        }
        return 0;
    }
    bool HasScrollBarInfo() override {
        return GetProcAddress(GetModuleHandleA("user32.dll"), "GetScrollBarInfo") != nullptr;
    }
    bool LoadCaptionFont(TFont& font) override {
        NONCLIENTMETRICSA ncm{};
        ncm.cbSize = sizeof ncm;
        if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) return false;
        const LOGFONTA& lf = ncm.lfCaptionFont;
        font.SetName(lf.lfFaceName);
        font.SetHeight(lf.lfHeight);
        TFontStyles style = 0;
        if (lf.lfWeight >= FW_BOLD) style |= fsBold;
        if (lf.lfItalic) style |= fsItalic;
        if (lf.lfUnderline) style |= fsUnderline;
        if (lf.lfStrikeOut) style |= fsStrikeOut;
        font.SetStyle(style);
        return true;
    }
    void MakeFaceBrush(TColor colour) override {
        faceBrush_.Reset(CreateSolidBrush(static_cast<COLORREF>(ColourToRGB(colour) & 0xFFFFFF)));
    }
    bool DrawAppIcon(PixelBuffer& image) override {
        HWND app = Application ? Application->Handle() : nullptr;
        if (!app) return false;
        auto icon = reinterpret_cast<HICON>(SendMessageA(app, WM_GETICON, ICON_SMALL, 0));
        if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(app, WM_GETICON, ICON_BIG, 0));
        if (!icon) return false;
        const int w = image.Width(), h = image.Height();
        const UniqueIcon copy(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE)));
        if (!copy) return false;
        BITMAPINFO bi = Info24(w, h);
        void* bits = nullptr;
        WindowDc screen(nullptr);
        UniqueGdi<HBITMAP> dib(CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        bool drawn = false;
        if (dib) {
            std::copy(image.Bits(), image.Bits() + image.SizeBytes(), static_cast<std::uint8_t*>(bits));
            const UniqueDc dc(CreateCompatibleDC(screen.Get()));
            {
                SelectGuard select(dc.Get(), dib.Get());
                drawn = DrawIconEx(dc.Get(), 0, 0, copy.Get(), w, h, 0, nullptr, DI_NORMAL) != 0;
                GdiFlush();
            }
            if (drawn) std::copy_n(static_cast<std::uint8_t*>(bits), image.SizeBytes(), image.Bits());
        }
        return drawn;
    }
    bool LoadMenuImages() override {
        return menuImages_.LoadResource(GetModuleHandleA(nullptr), "GLASMEREMENU", clWhite);
    }
    SkinHintWindow& HintWindow() override {
        if (!hint_) hint_ = std::make_unique<WinHintWindow>();
        return *hint_;
    }

    HBRUSH FaceBrush() const { return faceBrush_.Get(); }
    HIMAGELIST MenuImages() { return menuImages_.Count() > 0 ? menuImages_.Handle() : nullptr; }
    TCustomImageList& MenuImageList() { return menuImages_; }
    HWND HintHandle() { return static_cast<WinHintWindow&>(HintWindow()).Handle(); }

private:
    UniqueGdi<HBRUSH> faceBrush_;
    TImageList menuImages_{nullptr, 16, 16};
    std::unique_ptr<WinHintWindow> hint_;
};

WinSkinPlatform* Win(TSkinData& skin) { return dynamic_cast<WinSkinPlatform*>(&skin.Platform()); }

}  // namespace

std::unique_ptr<SkinPlatform> MakeSkinPlatform() { return std::make_unique<WinSkinPlatform>(); }

HBRUSH SkinFaceBrush(TSkinData& skin) {
    WinSkinPlatform* w = Win(skin);
    return w ? w->FaceBrush() : nullptr;
}

HIMAGELIST SkinMenuImages(TSkinData& skin) {
    WinSkinPlatform* w = Win(skin);
    return w ? w->MenuImages() : nullptr;
}

TCustomImageList* SkinMenuImageList(TSkinData& skin) {
    WinSkinPlatform* w = Win(skin);
    return w ? &w->MenuImageList() : nullptr;
}

HWND SkinHintHandle(TSkinData& skin) {
    WinSkinPlatform* w = Win(skin);
    return w ? w->HintHandle() : nullptr;
}

}  // namespace kes
