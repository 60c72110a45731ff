// The skinned combo boxes, edits, up-downs, date pickers, tabs and headers on real windows of their system
// classes, skinned the way the skin manager does it (attach, then SKM_START) with the distinct-colour test skin:
// a pixel of the picture tells which frame of which image the control shows, and each control keeps its own
// behaviour (drops down, selects, counts, opens its calendar).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gui/win/Canvas.h"
#include "skin/controls/inputs/win/SkinCombo.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/controls/inputs/win/SkinEdit.h"
#include "skin/controls/inputs/win/SkinHeader.h"
#include "skin/controls/inputs/win/SkinTabs.h"
#include "skin/frame/win/WinSkinForm.h"
#include "skin/data/win/SkinDataWin.h"
#include "testsupport/SkinSettle.h"
#include "testsupport/Wait.h"
#include "testsupport/WindowPicture.h"
#include "testsupport/FrameTestSkin.h"

using namespace kes;

namespace {

// Waits until the windows came to rest.
void Pump() { test::Settle(); }

// The pixel at (x, y) of a window as the screen shows it (frame included), 0x00BBGGRR.
std::int32_t PixelAt(HWND h, int x, int y) {
    HDC dc = GetWindowDC(h);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(h, dc);
    return static_cast<std::int32_t>(c);
}

SIZE WindowSize(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return {r.right - r.left, r.bottom - r.top};
}

LRESULT CALLBACK HostProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(h, msg, wp, lp); }

HWND MakeHost() {
    static const ATOM cls = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
        InitCommonControlsEx(&icc);
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "KesInputsTest";
        return RegisterClassA(&wc);
    }();
    (void)cls;
    HWND h = CreateWindowExA(0, "KesInputsTest", "Inputs", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 720, 360,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(h, SW_SHOW);
    SetForegroundWindow(h);
    return h;
}

HWND Child(HWND host, const char* cls, DWORD style, int x, int y, int w, int h, DWORD exStyle = 0,
           const char* text = "") {
    HWND c = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, host, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return c;
}

void AddTabs(HWND tabs, std::initializer_list<const char*> texts) {
    for (const char* text : texts) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(text);
        SendMessageA(tabs, TCM_INSERTITEMA, SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0),
                     reinterpret_cast<LPARAM>(&item));
    }
}

void AddSections(HWND header, std::initializer_list<const char*> texts, int width, int alignment) {
    for (const char* text : texts) {
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.cxy = width;
        item.fmt = alignment | HDF_STRING;
        item.pszText = const_cast<char*>(text);
        SendMessageA(header, HDM_INSERTITEMA, SendMessageA(header, HDM_GETITEMCOUNT, 0, 0),
                     reinterpret_cast<LPARAM>(&item));
    }
}

class Inputs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(skin_.ReadSkinStream(kes::test::TestSkinStream()));
        host_ = MakeHost();
    }
    void TearDown() override {
        if (IsWindow(host_)) DestroyWindow(host_);
        form_.reset();
    }
    void SkinHost() {
        form_ = std::make_unique<TWinSkinForm>(nullptr);
        form_->SetWindow(host_, nullptr, "KesInputsTest");
        form_->SkinWindow(&skin_);
        PostMessageA(host_, SKM_START, 0, 1000);
        Pump();
    }
    template <typename T>
    T* Controller(HWND h) {
        return dynamic_cast<T*>(form_->Controllers().FindByWindow(h));
    }
    // A controller of a kind the window walk does not make for a raw window, attached as the factory would.
    template <typename T>
    T* AttachKind(SkinKind kind, HWND h) {
        const SkinControllerMaker make = FindSkinController(kind);
        if (!make) return nullptr;
        TSkinControl* c = make(form_.get(), ControlDecision{});
        c->SetKind(kind);
        c->AttachWindow(h, &skin_, form_.get());
        Pump();
        return dynamic_cast<T*>(c);
    }
    // The colour of an image's frame (frames side by side, `frames` of them) at (x, y) of that frame.
    static std::int32_t FrameColour(const PixelBuffer& image, int frames, int frame, int x, int y) {
        return image.GetPixel((frame - 1) * (image.Width() / frames) + x, y);
    }
    static std::int32_t Rgb(std::int32_t colour) {
        return static_cast<std::int32_t>(ColorToRGB(static_cast<TColor>(colour)));
    }

    TSkinData skin_;
    HWND host_ = nullptr;
    std::unique_ptr<TWinSkinForm> form_;
};

TEST_F(Inputs, ComboBoxesShowTheirStateDropDownAndSelectWithMouseAndKeys) {
    HWND list = Child(host_, "COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 10, 10, 160, 200);
    HWND drop = Child(host_, "COMBOBOX", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 10, 50, 160, 200);
    HWND other = Child(host_, "EDIT", WS_TABSTOP, 200, 10, 100, 22, WS_EX_CLIENTEDGE);
    for (HWND c : {list, drop})
        for (const char* item : {"110", "300", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"})
            SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageA(list, CB_SETCURSEL, 5, 0);
    SetFocus(other);
    SkinHost();
    auto* combo = Controller<TSkinComBox>(list);
    ASSERT_NE(combo, nullptr);
    ASSERT_NE(Controller<TSkinComBox>(drop), nullptr);
    EXPECT_EQ(combo->InnerEdit(), nullptr);
    EXPECT_NE(Controller<TSkinComBox>(drop)->InnerEdit(), nullptr);  // its edit repaints the skin too

    // The skin's combo is one image (frame, button and glyph); its button column 1 pixel below the top shows
    // the button's frame for the state.
    const TDataSkinBorder& button = *skin_.ComboButton;
    ASSERT_EQ(button.Style, 2);
    const int b = GetSystemMetrics(SM_CXHSCROLL) + 2, fw = button.Image.Width() / button.Frame;
    const SIZE size = WindowSize(list);
    auto state = [&](int frame) { return FrameColour(button.Image, button.Frame, frame, fw - b / 2, 1); };
    auto shown = [&] {
        Pump();
        return PixelAt(list, size.cx - b / 2, 1);
    };
    EXPECT_EQ(shown(), state(1));
    SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(size.cx - b / 2, size.cy / 2));
    EXPECT_EQ(shown(), state(4)) << "hot";
    SendMessageA(list, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(shown(), state(1)) << "left";
    SetFocus(list);
    EXPECT_EQ(shown(), state(4)) << "focused";

    // A press on the button drops the list down and shows the button pressed. The real pointer stands on the
    // button, so the mouse moves the system makes up while the list takes the capture agree with the press.
    POINT onButton{size.cx - b / 2, size.cy / 2};
    ClientToScreen(list, &onButton);
    SetCursorPos(onButton.x, onButton.y);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(size.cx - b / 2, size.cy / 2));
    Pump();
    EXPECT_TRUE(SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(shown(), state(2)) << "pressed";
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(size.cx - b / 2, size.cy / 2));
    EXPECT_TRUE(SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(shown(), state(4)) << "released, dropped";
    // The mouse picks an item of the dropped list: it closes and the combo shows it.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(list, &info));
    RECT item;
    SendMessageA(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    SendMessageA(info.hwndList, WM_MOUSEMOVE, 0, at);
    SendMessageA(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(info.hwndList, WM_LBUTTONUP, 0, at);
    Pump();
    EXPECT_FALSE(SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(shown(), state(4)) << "closed, focused";
    // Keys: down selects the next item; F4 drops the list, down and Enter pick the one after. The real pointer
    // is out of the way, or the dropped list would follow it.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 3);
    SendMessageA(list, WM_KEYDOWN, VK_F4, 0);
    Pump();
    EXPECT_TRUE(SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0));
    SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_FALSE(SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 4);

    EnableWindow(list, FALSE);
    EXPECT_EQ(shown(), state(3)) << "disabled";
    // Unskinned, the system's button is back.
    combo->Unskin();
    EnableWindow(list, TRUE);
    Pump();
    EXPECT_NE(shown(), state(1));
}

TEST_F(Inputs, EditsGetTheSkinsBorderAndTheirUpDownItsArrows) {
    HWND edit = Child(host_, "EDIT", 0, 10, 10, 140, 26, WS_EX_CLIENTEDGE, "1200");
    HWND bare = Child(host_, "EDIT", 0, 10, 50, 140, 22, 0, "bare");
    RECT client;
    GetClientRect(edit, &client);
    HWND spin = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, client.right - 16, 0, 16, client.bottom,
                                edit, nullptr, GetModuleHandleA(nullptr), nullptr);
    Pump();
    const std::int32_t bareBefore = PixelAt(bare, 0, 10);
    SkinHost();
    auto* skinned = Controller<TSkinEdit>(edit);
    ASSERT_NE(skinned, nullptr);
    InvalidateRect(edit, nullptr, TRUE);
    Pump();
    const SIZE size = WindowSize(edit);
    EXPECT_EQ(PixelAt(edit, 0, size.cy / 2), Rgb(skin_.Colour(SkinColour::ButtonShadow)));
    EXPECT_EQ(PixelAt(edit, 1, size.cy / 2), 0xFFFFFF);
    EXPECT_EQ(PixelAt(edit, 2, size.cy / 2), 0xFFFFFF);
    EXPECT_EQ(PixelAt(bare, 0, 10), bareBefore);  // no border, nothing drawn

    // The up-down inside the edit is skinned, drawn 3 pixels inside the edit: top arrow frame 1, bottom 5.
    ASSERT_NE(skinned->EmbeddedUpDown(), nullptr);
    EXPECT_EQ(skinned->EmbeddedUpDown()->Window(), spin);
    EXPECT_TRUE(skinned->EmbeddedUpDown()->Embedded);
    InvalidateRect(spin, nullptr, TRUE);
    Pump();
    const TDataSkinBorder& arrows = *skin_.UpDownVert;
    const SIZE s = WindowSize(spin);
    EXPECT_EQ(PixelAt(spin, 1, s.cy / 4 + 1), FrameColour(arrows.Image, 8, 1, 1, 1));
    EXPECT_EQ(PixelAt(spin, 1, 3 * s.cy / 4 - 1), FrameColour(arrows.Image, 8, 5, 1, 1));
}

TEST_F(Inputs, AnUpDownKeepsCountingAndShowsPressedAndDisabledArrows) {
    HWND spin = Child(host_, UPDOWN_CLASSA, 0, 20, 20, 18, 40);
    SendMessageA(spin, UDM_SETRANGE32, 0, 10);
    SendMessageA(spin, UDM_SETPOS32, 0, 5);
    SkinHost();
    auto* c = AttachKind<TSkinUpDown>(SkinKind::UpDown, spin);
    ASSERT_NE(c, nullptr);
    const TDataSkinBorder& arrows = *skin_.UpDownVert;
    auto top = [&] { return PixelAt(spin, 1, 2); };
    auto bottom = [&] { return PixelAt(spin, 1, 37); };
    InvalidateRect(spin, nullptr, TRUE);
    Pump();
    EXPECT_EQ(top(), FrameColour(arrows.Image, 8, 1, 1, 1));
    EXPECT_EQ(bottom(), FrameColour(arrows.Image, 8, 5, 1, 1));
    // A press on the top arrow counts up as the control always does; the arrow under the pointer shows pressed.
    POINT p{5, 8};
    ClientToScreen(spin, &p);
    SetCursorPos(p.x, p.y);
    SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 8));
    Pump();
    EXPECT_EQ(top(), FrameColour(arrows.Image, 8, 2, 1, 1)) << "pressed";
    EXPECT_EQ(bottom(), FrameColour(arrows.Image, 8, 5, 1, 1));
    SendMessageA(spin, WM_LBUTTONUP, 0, MAKELPARAM(5, 8));
    EXPECT_EQ(SendMessageA(spin, UDM_GETPOS32, 0, 0), 6);
    EnableWindow(spin, FALSE);
    InvalidateRect(spin, nullptr, TRUE);
    Pump();
    EXPECT_EQ(top(), FrameColour(arrows.Image, 8, 3, 1, 1));
    EXPECT_EQ(bottom(), FrameColour(arrows.Image, 8, 7, 1, 1));
}

TEST_F(Inputs, TheDatePickersArrowButtonOpensItsCalendar) {
    HWND picker = Child(host_, DATETIMEPICK_CLASSA, 0, 20, 20, 160, 24, WS_EX_CLIENTEDGE);
    SkinHost();
    auto* c = AttachKind<TSkinDateTime>(SkinKind::DateTime, picker);
    ASSERT_NE(c, nullptr);
    HWND arrow = c->ArrowWindow();
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(GetParent(arrow), picker);
    RECT ar, pr;
    GetWindowRect(arrow, &ar);
    GetWindowRect(picker, &pr);
    EXPECT_EQ(ar.right, pr.right - 4 + 2);  // over the picker's own button, inside its border
    const SIZE size = WindowSize(picker);
    EXPECT_EQ(PixelAt(picker, 0, size.cy / 2), Rgb(skin_.Colour(SkinColour::ButtonShadow)));
    EXPECT_EQ(PixelAt(picker, 1, size.cy / 2), 0xFFFFFF);
    SendMessageA(arrow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 6));
    Pump();
    HWND calendar = reinterpret_cast<HWND>(SendMessageA(picker, DTM_GETMONTHCAL, 0, 0));
    EXPECT_NE(calendar, nullptr);
}

TEST_F(Inputs, TabsAndPaneInEveryOrientation) {
    const DWORD styles[] = {0, TCS_BOTTOM, TCS_VERTICAL | TCS_MULTILINE, TCS_VERTICAL | TCS_BOTTOM | TCS_MULTILINE};
    std::vector<HWND> tabs;
    int x = 10;
    for (DWORD style : styles) {
        HWND t = Child(host_, WC_TABCONTROLA, style, x, 10, 160, 150);
        AddTabs(t, {"A", "B"});
        tabs.push_back(t);
        x += 168;
    }
    SkinHost();
    const TDataSkinBorder& tabImage = *skin_.Tabs;
    const std::int32_t normal = tabImage.Image.GetPixel(1, tabImage.Image.Height() / 2);
    const std::int32_t pane = skin_.TabPane->Image.GetPixel(skin_.TabPane->Image.Width() / 2, 10);
    for (size_t i = 0; i < tabs.size(); ++i) {
        auto* c = Controller<TSkinTab>(tabs[i]);
        ASSERT_NE(c, nullptr) << i;
        EXPECT_EQ(static_cast<int>(c->Orientation()), static_cast<int>(i));
        InvalidateRect(tabs[i], nullptr, TRUE);
        Pump();
        RECT second;
        SendMessageA(tabs[i], TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
        EXPECT_EQ(PixelAt(tabs[i], second.left + 2, second.top + 2), normal) << "a normal tab, orientation " << i;
        RECT display{0, 0, 160, 150};
        SendMessageA(tabs[i], TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
        EXPECT_EQ(PixelAt(tabs[i], (display.left + display.right) / 2, (display.top + display.bottom) / 2), pane)
            << "the pane, orientation " << i;
    }
    // The current tab (the focus tab) shows the second frame at its far end; focusing another moves it there.
    auto farEnd = [&](int index) {
        RECT t;
        SendMessageA(tabs[0], TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&t));
        return PixelAt(tabs[0], t.right - 2, t.top + 2);
    };
    EXPECT_NE(farEnd(0), normal);
    EXPECT_EQ(farEnd(1), normal);
    SendMessageA(tabs[0], TCM_SETCURFOCUS, 1, 0);
    Pump();
    EXPECT_EQ(farEnd(0), normal);
    EXPECT_NE(farEnd(1), normal);
    EXPECT_EQ(SendMessageA(tabs[0], TCM_GETCURSEL, 0, 0), 1);  // the control's own selection follows
}

TEST_F(Inputs, HeaderSectionsFollowTheMouseAndFillTheRest) {
    HWND header = Child(host_, WC_HEADERA, HDS_BUTTONS, 10, 10, 300, 24);
    AddSections(header, {"Port", "Speed"}, 60, HDF_LEFT);
    SkinHost();
    // A header has no kind of its own (a list view's controller skins its header): attached as that does.
    auto* c = new TSkinHeader(form_.get());
    c->AttachWindow(header, &skin_, form_.get());
    InvalidateRect(header, nullptr, TRUE);
    Pump();
    const TDataSkinObject& bar = *skin_.Headerbar;
    const std::int32_t normal = FrameColour(bar.Image, bar.Frame, 1, 0, 10);
    const std::int32_t hot = FrameColour(bar.Image, bar.Frame, 2, 0, 10);
    ASSERT_NE(normal, hot);
    EXPECT_EQ(PixelAt(header, 1, 12), normal);
    EXPECT_EQ(PixelAt(header, 61, 12), normal);
    EXPECT_EQ(PixelAt(header, 121, 12), normal) << "the rest right of the sections";
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(90, 12));
    Pump();
    EXPECT_EQ(c->HotSection(), 1);
    EXPECT_EQ(PixelAt(header, 61, 12), hot);
    EXPECT_EQ(PixelAt(header, 1, 12), normal);
    // Crossing the border between the sections keeps the hot one.
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(59, 12));
    EXPECT_EQ(c->HotSection(), 1);
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(20, 12));
    EXPECT_EQ(c->HotSection(), 0);
    SendMessageA(header, WM_MOUSELEAVE, 0, 0);
    Pump();
    EXPECT_EQ(c->HotSection(), -1);
    EXPECT_EQ(PixelAt(header, 1, 12), normal);
}

// Every control of this family in the program's own skin, saved as a picture to look at
// (skin-shots/InputControls.bmp beside the test).
TEST_F(Inputs, ThePictureOfEveryControlInTheDefaultSkin) {
    TSkinData skin;
    ASSERT_TRUE(LoadStoredSkin(skin));
    HWND combo = Child(host_, "COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 10, 10, 150, 200);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("115200"));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    HWND drop = Child(host_, "COMBOBOX", CBS_DROPDOWN | WS_VSCROLL, 10, 45, 150, 200, 0, "COM3");
    Child(host_, "EDIT", 0, 10, 80, 150, 24, WS_EX_CLIENTEDGE, "An edit");
    HWND spin = Child(host_, UPDOWN_CLASSA, 0, 170, 10, 18, 40);
    Child(host_, DATETIMEPICK_CLASSA, 0, 10, 115, 150, 24, WS_EX_CLIENTEDGE);
    HWND tab = Child(host_, WC_TABCONTROLA, 0, 210, 10, 220, 120);
    HWND bottom = Child(host_, WC_TABCONTROLA, TCS_BOTTOM, 440, 10, 220, 120);
    for (HWND t : {tab, bottom}) AddTabs(t, {"Port", "Flow", "Parity"});
    HWND header = Child(host_, WC_HEADERA, HDS_BUTTONS, 210, 150, 450, 24);
    AddSections(header, {"Time", "Port", "Line"}, 100, HDF_CENTER);
    form_ = std::make_unique<TWinSkinForm>(nullptr);
    form_->SetWindow(host_, nullptr, "KesInputsTest");
    form_->SkinWindow(&skin);
    PostMessageA(host_, SKM_START, 0, 1000);
    Pump();
    FindSkinController(SkinKind::UpDown)(form_.get(), {})->AttachWindow(spin, &skin, form_.get());
    HWND picker = FindWindowExA(host_, nullptr, DATETIMEPICK_CLASSA, nullptr);
    FindSkinController(SkinKind::DateTime)(form_.get(), {})->AttachWindow(picker, &skin, form_.get());
    (new TSkinHeader(form_.get()))->AttachWindow(header, &skin, form_.get());
    SetFocus(drop);
    RedrawWindow(host_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    std::filesystem::create_directories("skin-shots");
    EXPECT_TRUE(test::SaveWindowPicture(host_, "skin-shots/InputControls.bmp"));
    form_.reset();
}

}  // namespace
