// The controls of Kestrup.exe drawn from its skin. The program runs as a copy whose stored skin ("SKINSTREAM")
// is the distinct-colour test skin (every frame of every strip one solid colour), so one pixel of a control
// tells which part of the skin drew it: the terminal's and the source window's buttons, panels and status bars,
// the setup dialog's group box and OK/Cancel, and the push button of a message box, which still answers its box.
// Pictures go to skin-shots-test/ beside this test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "KestrupDriver.h"
#include "gui/win/Canvas.h"
#include "skin/data/SkinData.h"
#include "testsupport/WindowPicture.h"
#include "testsupport/FrameTestSkin.h"

using namespace kes::test;

namespace {

constexpr const char* kCopy = "KestrupTestSkin.exe";

BOOL CALLBACK FirstLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) {
    *reinterpret_cast<WORD*>(found) = language;
    return FALSE;
}

// Kestrup.exe copied beside itself with the test skin stored in place of its own.
bool MakeTestSkinCopy(const std::string& stream, std::string& error) {
    const std::string folder = ProgramFolderOfTest();
    std::error_code ec;
    std::filesystem::copy_file(folder + "Kestrup.exe", folder + kCopy, std::filesystem::copy_options::overwrite_existing,
                               ec);
    if (ec) return error = "copy: " + ec.message(), false;
    WORD language = 0;
    if (HMODULE m = LoadLibraryExA((folder + "Kestrup.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        EnumResourceLanguagesA(m, MAKEINTRESOURCEA(10), "SKINSTREAM", FirstLanguage,
                               reinterpret_cast<LONG_PTR>(&language));
        FreeLibrary(m);
    }
    HANDLE update = BeginUpdateResourceA((folder + kCopy).c_str(), FALSE);
    if (!update) return error = "BeginUpdateResource " + std::to_string(GetLastError()), false;
    if (!UpdateResourceA(update, MAKEINTRESOURCEA(10), "SKINSTREAM", language, const_cast<char*>(stream.data()),
                         static_cast<DWORD>(stream.size())) ||
        !EndUpdateResourceA(update, FALSE))
        return error = "UpdateResource " + std::to_string(GetLastError()), false;
    return true;
}

struct ChildFind {
    std::function<bool(HWND)> match;
    HWND found = nullptr;
};

HWND Child(HWND parent, std::function<bool(HWND)> match) {
    ChildFind f{std::move(match)};
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM p) {
            auto* f = reinterpret_cast<ChildFind*>(p);
            if (!f->match(h)) return TRUE;
            f->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
}

HWND Button(HWND parent, const std::string& caption) {
    return Child(parent, [&](HWND h) { return IsWindowVisible(h) && WindowText(h) == caption; });
}

HWND OfClass(HWND parent, const std::string& cls) {
    return Child(parent, [&](HWND h) { return IsWindowVisible(h) && ClassOf(h) == cls; });
}

class KestrupControls : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTerminalSettings();
        ASSERT_TRUE(skin_.ReadSkinStream(kes::test::TestSkinStream()));
        std::string error;
        ASSERT_TRUE(MakeTestSkinCopy(kes::test::TestSkinStream(), error)) << error;
        k_ = std::make_unique<KestrupProcess>();
        ASSERT_TRUE(k_->Start(error, kCopy)) << error;
    }
    void TearDown() override {
        k_.reset();
        std::error_code ec;
        std::filesystem::remove(ProgramFolderOfTest() + kCopy, ec);
    }
    HWND Top(const std::function<bool(HWND)>& match) {
        HWND found = nullptr;
        WaitUntil([&] { return (found = FindTopWindowOf(k_->ProcessId(), match)) != nullptr; }, 5000);
        return found;
    }
    // The window brought up, skinned, and its picture kept.
    void Show(HWND w, const std::string& name) {
        ASSERT_NE(w, nullptr) << name;
        ASSERT_TRUE(WaitUntil([&] { return SendMessageA(w, kIsSkinned, 0, 0) == 1; }, 5000)) << name;
        // On the screen as a whole (a picture of the screen reaching past its edge comes back black).
        RECT r;
        GetWindowRect(w, &r);
        const int width = std::min<int>(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
        const int height = std::min<int>(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
        SetWindowPos(w, HWND_TOP, 0, 0, width, height, SWP_NOACTIVATE);
        std::filesystem::create_directories("skin-shots-test");
        ProgramPicture(w).Save("skin-shots-test/" + name + ".bmp");
    }
    std::int32_t Frame(const kes::TDataSkinObject& o, int frame) const {
        const int fw = o.Image.Width() / o.Frame;
        return o.Image.GetPixel((frame - 1) * fw + fw / 2, o.Image.Height() / 2);
    }
    // The frame of the [Buttons] strip a button shows (0: none of them).
    // The frame a button shows once it painted (0: none of them within the time; what it showed then goes to
    // skin-shots-test/ and into `seen`).
    int Face(HWND button, std::string* seen = nullptr) const {
        int face = 0;
        WindowPixels p;
        WaitUntil([&] { return (face = FaceIn(p = ProgramPicture(button))) != 0; }, 5000);
        if (face == 0 && seen) {
            char text[160];
            std::snprintf(text, sizeof text, "the program's picture of the button: %dx%d, %06lx at the left edge", p.W,
                          p.H, p.W >= 5 && p.H > 0 ? static_cast<unsigned long>(p.At(4, p.H / 2)) : 0ul);
            *seen = text;
            std::filesystem::create_directories("skin-shots-test");
            if (p.W > 0) p.Save("skin-shots-test/no-face-" + WindowText(button) + ".bmp");
        }
        return face;
    }
    int FaceIn(const WindowPixels& p) const {
        if (p.W < 5 || p.H < 1) return 0;
        for (int f = 1; f <= 5; ++f)
            if (p.At(4, p.H / 2) == Frame(skin_.Buttons, f)) return f;
        return 0;
    }
    void ExpectFaces(HWND parent, std::initializer_list<const char*> captions) {
        for (const char* c : captions) {
            const HWND b = Button(parent, c);
            ASSERT_NE(b, nullptr) << c;
            std::string seen;
            EXPECT_NE(Face(b, &seen), 0) << c << ": " << seen;
            EXPECT_EQ(SendMessageA(b, kIsSkinned, 0, 0), 1) << c;
        }
    }
    void ExpectStatusBar(HWND parent, const std::string& name) {
        const HWND bar = OfClass(parent, "msctls_statusbar32");
        ASSERT_NE(bar, nullptr) << name;
        const WindowPixels p = ProgramPicture(bar);
        ASSERT_GT(p.W, 0) << name << " status bar picture";
        EXPECT_EQ(p.At(p.W / 2, 2), Frame(*skin_.StatusBarEdges, 1)) << name << " status bar";
    }
    std::int32_t FaceColour() const { return static_cast<std::int32_t>(kes::ColorToRGB(skin_.Colour(kes::SkinColour::ButtonFace))); }

    kes::TSkinData skin_;
    std::unique_ptr<KestrupProcess> k_;
};

TEST_F(KestrupControls, ButtonsPanelsGroupBoxesAndStatusBarsAreDrawnFromTheSkin) {
    // The terminal: its button, the panel it sits on, the status bar.
    const HWND main = k_->Main();
    Show(main, "Kestrup");
    ExpectFaces(main, {"Show Sourcefile window"});
    const HWND show = Button(main, "Show Sourcefile window");
    const HWND panel = GetParent(show);
    const WindowPixels pp = ProgramPicture(panel);
    ASSERT_GT(pp.W, 0) << "panel picture";
    EXPECT_EQ(pp.At(pp.W - 4, pp.H - 4), FaceColour()) << "the panel in the skin's background colour";
    ExpectStatusBar(main, "Kestrup");

    // One press of the button shows the source window, with its buttons and status bar skinned.
    RECT r;
    GetWindowRect(show, &r);
    SetCursorPos(r.left + 10, r.top + 10);
    PostMessageA(show, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(show, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    const HWND source = Top([](HWND h) { return IsWindowVisible(h) && WindowText(h) == "SourceFile"; });
    Show(source, "SourceFile");
    ExpectFaces(source, {"Send all text to processor", "Search in source", "Search again", "Cancel upload"});
    ExpectStatusBar(source, "SourceFile");

    // The setup dialog: its group box's frame line and OK / Cancel.
    ASSERT_TRUE(k_->Menu("SerialSetup1"));
    const HWND setup = Top([](HWND h) { return IsWindowVisible(h) && ClassOf(h) == "TComSetupFrm"; });
    Show(setup, "Setup");
    ExpectFaces(setup, {"OK", "Cancel"});
    const HWND group = OfClass(setup, "TGroupBox");
    ASSERT_NE(group, nullptr);
    const WindowPixels g = ProgramPicture(group);
    ASSERT_GT(g.W, 0) << "group box picture";
    EXPECT_EQ(g.At(1, g.H / 2), static_cast<std::int32_t>(kes::ColorToRGB(skin_.Colour(kes::SkinColour::ButtonShadow))));
    EXPECT_EQ(g.At(4, g.H / 2), FaceColour());
    PostMessageA(setup, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(setup); }));

    // A message box: its push button is skinned and a press on it answers the box.
    HWND companion = CreateWindowExA(0, "STATIC", "KestrupTirvane", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    k_->Menu("W10Tirvane1");
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = k_->FindBox("Info")) != nullptr; }));
    Show(box, "MessageBox");
    const HWND ok = Button(box, "OK");
    ASSERT_NE(ok, nullptr);
    std::string seen;
    EXPECT_NE(Face(ok, &seen), 0) << seen;
    GetWindowRect(ok, &r);
    SetCursorPos(r.left + 10, r.top + 10);
    PostMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(ok, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "the button posted its id to the box";
    DestroyWindow(companion);
}

}  // namespace
