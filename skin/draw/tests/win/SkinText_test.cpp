// Wide text on both platform paths, the control of a window, and the optional user32 calls with and
// without their entries.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "skin/draw/win/SkinDraw.h"
#include "skin/draw/win/SkinText.h"

using namespace kes;

namespace {

TEST(SkinText, NarrowTextBecomesWideInTheSkinCodePage) {
    std::wstring w = L"old";
    StrToWideStr("", w);
    EXPECT_TRUE(w.empty());
    StrToWideStr("Port COM3", w);
    EXPECT_EQ(w, L"Port COM3");
    SetSkinCodePage(1252);
    StrToWideStr("caf\xE9", w);
    EXPECT_EQ(w, L"caf\u00E9");
    SetSkinCodePage(1251);
    StrToWideStr("\xE9", w);
    EXPECT_EQ(w, L"\u0439");
    SetSkinCodePage(0);
    EXPECT_EQ(SkinCodePage(), 0u);
}

TEST(SkinText, WideStrCopyTakesAtMostTheText) {
    std::wstring w;
    WideStrCopy(L"Skinned", -1, w);
    EXPECT_EQ(w, L"Skinned");
    WideStrCopy(L"Skinned", 4, w);
    EXPECT_EQ(w, L"Skin");
    WideStrCopy(L"Skinned", 100, w);
    EXPECT_EQ(w, L"Skinned");
    WideStrCopy(L"Skinned", 0, w);
    EXPECT_TRUE(w.empty());
    WideStrCopy(nullptr, 3, w);
    EXPECT_TRUE(w.empty());
}

// The text drawn black on white into a fresh bitmap; returns DrawText's result.
int DrawInto(TBitmap& bmp, const std::wstring& text, RECT& r, UINT format) {
    HDC dc = bmp.Canvas().Handle();
    RECT all{0, 0, bmp.Width(), bmp.Height()};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    const int result = SkinDrawText(dc, text, r, format);
    SelectObject(dc, old);
    GdiFlush();
    return result;
}

TEST(SkinText, WideAndAnsiPathsDrawTheSameText) {
    const std::wstring text = L"Skin caption \u00E9\u00FC 123";
    for (UINT format : {UINT(DT_LEFT | DT_SINGLELINE | DT_VCENTER), UINT(DT_CENTER | DT_WORDBREAK),
                        UINT(DT_RIGHT | DT_SINGLELINE | DT_END_ELLIPSIS)}) {
        TBitmap wide(160, 40), ansi(160, 40);
        RECT rw{4, 2, 150, 38}, ra = rw;
        SetSkinIsNT(true);
        const int hw = DrawInto(wide, text, rw, format);
        SetSkinIsNT(false);
        const int ha = DrawInto(ansi, text, ra, format);
        SetSkinIsNT(true);
        EXPECT_EQ(hw, ha);
        EXPECT_GT(hw, 0);
        int inked = 0, differ = 0;
        for (int y = 0; y < 40; ++y) {
            differ += std::memcmp(wide.ScanLine(y), ansi.ScanLine(y), 160 * 3) != 0;
            for (int x = 0; x < 160; ++x) inked += wide.ScanLine(y)[3 * x] < 128;
        }
        EXPECT_EQ(differ, 0) << "format " << format;
        EXPECT_GT(inked, 20);
    }
    // DT_CALCRECT measures the same way on both paths.
    TBitmap bmp(10, 10);
    RECT mw{0, 0, 0, 0}, ma{0, 0, 0, 0};
    SetSkinIsNT(true);
    DrawInto(bmp, text, mw, DT_CALCRECT | DT_SINGLELINE);
    SetSkinIsNT(false);
    DrawInto(bmp, text, ma, DT_CALCRECT | DT_SINGLELINE);
    SetSkinIsNT(true);
    EXPECT_GT(mw.right, 40);
    EXPECT_EQ(mw.right, ma.right);
    EXPECT_EQ(mw.bottom, ma.bottom);
}

TEST(SkinText, ControlOfAWindowHandle) {
    EXPECT_EQ(FindControlByHandle(nullptr), nullptr);
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    EXPECT_EQ(FindControlByHandle(Hwnd(form)), &form);
    EXPECT_EQ(FindControlByHandle(Hwnd(panel)), panel);
    HWND foreign = CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 0, 10, 10, Hwnd(form), nullptr, nullptr, nullptr);
    ASSERT_TRUE(foreign);
    EXPECT_EQ(FindControlByHandle(foreign), nullptr);
    DestroyWindow(foreign);
}

class OptionalCalls : public testing::Test {
protected:
    void TearDown() override { SkinUser32() = saved; }
    OptionalUser32 saved = SkinUser32();
};

TEST_F(OptionalCalls, EntriesAreFoundByName) {
    EXPECT_NE(SkinUser32().GetScrollBarInfo, nullptr);
    EXPECT_NE(SkinUser32().TrackMouseEvent, nullptr);
    EXPECT_NE(SkinUser32().GetComboBoxInfo, nullptr);
}

TEST_F(OptionalCalls, ScrollBarAndComboBoxInformation) {
    HWND list =
        CreateWindowExA(0, "LISTBOX", "", WS_POPUP | WS_VSCROLL, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(list);
    SCROLLBARINFO sbi{};
    EXPECT_TRUE(CallGetScrollBarInfo(list, OBJID_VSCROLL, sbi));
    EXPECT_EQ(sbi.cbSize, sizeof(SCROLLBARINFO));
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_POPUP | CBS_DROPDOWNLIST, 0, 0, 100, 200, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_TRUE(combo);
    COMBOBOXINFO cbi{};
    EXPECT_TRUE(CallGetComboBoxInfo(combo, cbi));
    EXPECT_EQ(cbi.hwndCombo, combo);
    // A system without the entries: False, and nothing called.
    SkinUser32() = OptionalUser32{};
    SCROLLBARINFO none{};
    EXPECT_FALSE(CallGetScrollBarInfo(list, OBJID_VSCROLL, none));
    EXPECT_EQ(none.cbSize, 0u);
    EXPECT_FALSE(CallGetComboBoxInfo(combo, cbi));
    CallTrackMouseEvent(list);
    DestroyWindow(combo);
    DestroyWindow(list);
}

TRACKMOUSEEVENT g_seen{};
BOOL WINAPI RecordTrack(LPTRACKMOUSEEVENT tme) {
    g_seen = *tme;
    return TRUE;
}

TEST_F(OptionalCalls, MouseLeaveRequestCarriesItsOwnSize) {
    SkinUser32().TrackMouseEvent = RecordTrack;
    HWND w = reinterpret_cast<HWND>(0x1234);
    CallTrackMouseEvent(w);
    EXPECT_EQ(g_seen.cbSize, sizeof(TRACKMOUSEEVENT));  // 24 on 64-bit Windows, not 16
    EXPECT_EQ(g_seen.dwFlags, static_cast<DWORD>(TME_LEAVE));
    EXPECT_EQ(g_seen.hwndTrack, w);
}

}  // namespace
