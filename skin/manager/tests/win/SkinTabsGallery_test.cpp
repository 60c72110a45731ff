// A gallery form of the tab family, skinned by the skin manager as the program's windows are: an old-style tab
// set with more tabs than fit, a tab control in button style, a page control with three sheets, a report list
// view that scrolls, and a page control of another library (a stand-in of its class) that draws its tabs from
// the pictures it is given. With the distinct-colour test skin every frame of every strip is one colour, so a
// pixel tells which frame a control shows; real clicks (SendInput) still work the controls through the skin, and
// the skin off gives every control its own look back and every GDI object back.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/win/Application.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/ListView.h"
#include "gui/StdCtrls.h"
#include "gui/TabCtrls.h"
#include "gui/win/Win.h"
#include "skin/data/win/SkinDataWin.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/controls/inputs/win/SkinHeader.h"
#include "skin/manager/win/SkinManage.h"
#include "skin/controls/inputs/win/SkinTabs.h"
#include "skin/manager/tests/win/SkinManageSettle.h"
#include "testsupport/FrameTestSkin.h"
#include "testsupport/Wait.h"
#include "testsupport/WindowPicture.h"

using namespace kes;

namespace {

// A page control of another library: it draws its tabs from two published pictures when it has them, and a
// plain raised face when not.
class TAdvPageControl : public TCustomControl {
    KES_CLASS(TAdvPageControl, TCustomControl)
    KES_PUBLISHED
public:
    explicit TAdvPageControl(TComponent* owner) : TCustomControl(owner) {}
    ~TAdvPageControl() override { DestroyHandle(); }
    TBitmap TabBackGround, TabBackGroundActive;
    int ActiveTab = 0;
    static constexpr int kTabs = 3;
    void Paint(TCanvas& canvas) override {
        canvas.Brush().Color = Color();
        canvas.FillRect(ClientRect());
        for (int i = 0; i < kTabs; ++i) {
            const TRect r = Bounds(4 + i * 100, 4, 100, 21);
            TBitmap& picture = i == ActiveTab ? TabBackGroundActive : TabBackGround;
            if (!picture.Empty()) {
                canvas.DrawTransparent(r.Left, r.Top, picture, RGBColor(255, 0, 255));
            } else {
                canvas.Brush().Color = i == ActiveTab ? clWindow : clBtnFace;
                canvas.FillRect(r);
                canvas.Brush().Color = clBtnShadow;
                canvas.FrameRect(r);
            }
        }
    }
};

const TPropTable& TAdvPageControl::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            ObjProp<TAdvPageControl>("TabBackGround",
                                     [](const TAdvPageControl& c) { return const_cast<TBitmap*>(&c.TabBackGround); }),
            ObjProp<TAdvPageControl>(
                "TabBackGroundActive",
                [](const TAdvPageControl& c) { return const_cast<TBitmap*>(&c.TabBackGroundActive); }),
        });
    return t;
}

// Waits until the windows came to rest and the skin manager ran its pending command.
void Pump() { test::SettleSkins(); }

LRESULT Skinned(HWND w) { return SendMessageW(w, SKM_ISSKINNED, 0, 0); }

// The colour at the middle of frame `frame` of a strip whose frames lie side by side.
std::int32_t FrameColour(const PixelBuffer& image, int frames, int frame) {
    const int fw = image.Width() / std::max(1, frames);
    return image.GetPixel((frame - 1) * fw + fw / 2, image.Height() / 2);
}
std::int32_t FrameColour(const TDataSkinObject& o, int frame) { return FrameColour(o.Image, o.Frame, frame); }
std::int32_t Rgb(std::int32_t c) { return static_cast<std::int32_t>(ColorToRGB(static_cast<TColor>(c))); }

// A press and release of the left button by the system's input, at a point of a window's client area.
void ClickAt(HWND window, POINT at) {
    ClientToScreen(window, &at);
    SetCursorPos(at.x, at.y);
    Pump();
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    Pump();
}

std::vector<long> LiveGdi() {
    std::vector<long> v;
    for (int k = 0; k < kSkinGdiKinds; ++k) v.push_back(SkinGdiLive(static_cast<SkinGdiKind>(k)));
    return v;
}

// The gallery form; the application hands the kinds the built-in rules leave to it (OnSkinControl).
struct Gallery {
    TForm* form = nullptr;
    TSkinData* skin = nullptr;
    TTabSet* tabSet = nullptr;
    TTabControl* buttons = nullptr;
    TPageControl* pages = nullptr;
    TTabSheet* sheets[3] = {};
    TShape* onPages = nullptr;  // a windowless child of the page control, right of its tabs
    TShape* onSheet = nullptr;  // a windowless child of the first sheet
    TListView* list = nullptr;
    TAdvPageControl* adv = nullptr;

    explicit Gallery(bool testSkin) {
        form = new TForm(nullptr);
        form->SetCaption("Tabs gallery");
        form->SetBounds(40, 40, 660, 400);
        tabSet = new TTabSet(form);
        tabSet->SetParent(form);
        tabSet->SetBounds(10, 10, 300, 21);
        tabSet->SetTabs({"Port", "Flow", "Parity", "Hardware handshake and software flow control", "Stop", "Data bits",
                         "Speed", "Events"});
        tabSet->SetTabIndex(0);
        buttons = new TTabControl(form);
        buttons->SetParent(form);
        buttons->SetStyle(tsButtons);
        buttons->SetBounds(10, 42, 300, 30);
        for (const char* t : {"Send", "Receive", "Both"}) buttons->AddTab(t);
        buttons->SetTabIndex(0);
        pages = new TPageControl(form);
        pages->SetParent(form);
        pages->SetBounds(10, 80, 300, 270);
        const char* captions[] = {"Port", "Upload", "Log"};
        for (int i = 0; i < 3; ++i) {
            sheets[i] = new TTabSheet(form);
            sheets[i]->SetCaption(captions[i]);
            sheets[i]->SetPageControl(pages);
        }
        auto* connect = new TButton(form);
        connect->SetParent(sheets[0]);
        connect->SetBounds(10, 10, 100, 28);
        connect->SetCaption("Connect");
        onSheet = new TShape(form);
        onSheet->SetParent(sheets[0]);
        onSheet->SetBounds(10, 60, 60, 30);
        onSheet->SetBrushColor(RGBColor(230, 170, 40));
        auto* echo = new TCheckBox(form);
        echo->SetParent(sheets[1]);
        echo->SetBounds(10, 10, 120, 22);
        echo->SetCaption("Echo lines");
        auto* file = new TEdit(form);
        file->SetParent(sheets[2]);
        file->SetBounds(10, 10, 200, 24);
        file->SetText("upload.log");
        onPages = new TShape(form);
        onPages->SetParent(pages);
        onPages->SetBounds(250, 3, 40, 14);
        onPages->SetBrushColor(RGBColor(230, 170, 40));
        list = new TListView(form);
        list->SetParent(form);
        list->SetBounds(320, 10, 320, 230);
        list->AddColumn("Time", 80);
        list->AddColumn("Line", 200);
        for (int i = 0; i < 40; ++i) list->AddItem("12:" + std::to_string(10 + i), {std::to_string(i) + " 2 + ."});
        adv = new TAdvPageControl(form);
        adv->SetParent(form);
        adv->SetBounds(320, 250, 320, 40);

        skin = new TSkinData(form);
        skin->BeginLoading();
        skin->SetActive(true);
        if (testSkin)
            skin->ReadSkinStream(kes::test::TestSkinStream());
        else
            LoadStoredSkin(*skin);
        skin->Skin3rd().Add("TAdvPageControl=advpagecontrol");
        skin->OnSkinControl = [](TComponent*, TSkinData*, TControl*, TControl* control, const std::string& cls,
                                 TComponent*& made) {
            if (cls == "TPAGECONTROL") {
                auto* c = new TSkinTab(control);
                c->BackgroundMode = 2;
                made = c;
            } else if (cls == "TTABCONTROL" && static_cast<TCustomTabControl*>(control)->Style() != tsTabs) {
                made = new TSkinTabBtn(control);
            } else if (cls == "TTABSHEET") {
                made = new TSkinTabSheet(control);
            } else if (cls == "TLISTVIEW") {
                made = new TSkinListView(control);
            }
        };
        skin->EndLoading();
    }
    ~Gallery() {
        delete form;
        DestroySkinManager();
    }
    void Show() {
        form->ShowForm();
        SetForegroundWindow(Hwnd(form));
        test::PumpUntil([&] { return Skinned(Hwnd(adv)) == 1; }, 5000);
        Repaint();
    }
    void Repaint() {
        RedrawWindow(Hwnd(form), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    }
    HWND Header() const { return reinterpret_cast<HWND>(SendMessageW(Hwnd(list), LVM_GETHEADER, 0, 0)); }
    std::vector<HWND> Windows() const {
        return {Hwnd(tabSet),    Hwnd(tabSet->Scroller()), Hwnd(buttons), Hwnd(pages), Hwnd(sheets[0]),
                Hwnd(sheets[1]), Hwnd(sheets[2]),          Hwnd(list),    Header(),    Hwnd(adv)};
    }
    // A pixel of a control as its window shows it.
    static std::int32_t At(TWinControl* c, int x, int y) { return test::CaptureWindow(Hwnd(c)).At(x, y); }
};

class TabsGallery : public ::testing::Test {
protected:
    TApplication app_;
};

TEST_F(TabsGallery, EveryControlIsSkinnedKeepsWorkingAndGetsItsOwnLookBack) {
    const std::vector<long> start = LiveGdi();
    {
        Gallery g(true);
        g.Show();
        for (HWND w : g.Windows()) EXPECT_EQ(Skinned(w), 1) << std::hex << w;
        const TSkinData& skin = *g.skin;
        ASSERT_TRUE(skin.Tabs && skin.Tabs->HasImage() && skin.Headerbar && skin.Buttons.HasImage());
        const TDataSkinBorder& tabs = *skin.Tabs;
        const std::int32_t tabNormal = FrameColour(tabs, 1), tabCurrent = FrameColour(tabs, 2);
        ASSERT_NE(tabNormal, tabCurrent);

        // The tab set: the tabs where it lays them out, the current one in the second frame; the wide tab is
        // left out while narrower ones after it still show, and the scroll buttons show.
        std::vector<TRect> places = g.tabSet->TabRects();
        ASSERT_EQ(places.size(), 8u);
        EXPECT_TRUE(places[3].IsEmpty());
        EXPECT_FALSE(places[4].IsEmpty());
        EXPECT_TRUE(g.tabSet->ScrollerShows());
        EXPECT_EQ(Gallery::At(g.tabSet, places[0].Left + 2, 3), tabCurrent);
        EXPECT_EQ(Gallery::At(g.tabSet, places[1].Left + 2, 3), tabNormal);
        EXPECT_EQ(Gallery::At(g.tabSet, places[4].Left + 2, 3), tabNormal);
        EXPECT_EQ(Gallery::At(g.tabSet, g.tabSet->Width() - 40, 3), Rgb(skin.Colour(SkinColour::ButtonFace)));
        // A click on the tab after the left-out one picks it.
        ClickAt(Hwnd(g.tabSet), {places[4].Left + 4, 10});
        EXPECT_EQ(g.tabSet->TabIndex(), 4);
        EXPECT_EQ(Gallery::At(g.tabSet, places[4].Left + 2, 3), tabCurrent);
        EXPECT_EQ(Gallery::At(g.tabSet, places[0].Left + 2, 3), tabNormal);
        // The right arrow of its skinned scroll buttons moves the first tab shown.
        HWND scroller = Hwnd(g.tabSet->Scroller());
        RECT sr;
        GetClientRect(scroller, &sr);
        ClickAt(scroller, {sr.right - 3, sr.bottom / 2});
        EXPECT_EQ(g.tabSet->FirstIndex(), 1);
        places = g.tabSet->TabRects();
        EXPECT_EQ(Gallery::At(g.tabSet, places[0].Left + 2, 3), tabNormal) << "\"Flow\" first";

        // The tab control in button style: its buttons from "Buttons", the current one pressed (frame 2).
        RECT b0, b1;
        SendMessageW(Hwnd(g.buttons), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&b0));
        SendMessageW(Hwnd(g.buttons), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&b1));
        EXPECT_EQ(Gallery::At(g.buttons, b0.left + 3, b0.top + 4), FrameColour(skin.Buttons, 2));
        EXPECT_EQ(Gallery::At(g.buttons, b1.left + 3, b1.top + 4), FrameColour(skin.Buttons, 1));
        EXPECT_EQ(Gallery::At(g.buttons, 5, g.buttons->Height() - 2), Rgb(g.form->Color())) << "below the buttons";
        ClickAt(Hwnd(g.buttons), {(b1.left + b1.right) / 2, (b1.top + b1.bottom) / 2});
        EXPECT_EQ(g.buttons->TabIndex(), 1);
        EXPECT_EQ(Gallery::At(g.buttons, b1.left + 3, b1.top + 4), FrameColour(skin.Buttons, 2));

        // The page control: its tabs from "Tabs", its windowless child painted over the strip, the sheet in
        // the skin's face colour with its own windowless child on it.
        RECT p2;
        SendMessageW(Hwnd(g.pages), TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&p2));
        EXPECT_EQ(Gallery::At(g.pages, p2.left + 3, p2.top + 3), tabNormal);
        EXPECT_EQ(Gallery::At(g.pages, g.onPages->Left() + 5, g.onPages->Top() + 5), Rgb(RGBColor(230, 170, 40)));
        EXPECT_EQ(Gallery::At(g.sheets[0], 150, 150), Rgb(skin.Colour(SkinColour::ButtonFace)));
        EXPECT_EQ(Gallery::At(g.sheets[0], g.onSheet->Left() + 5, g.onSheet->Top() + 5), Rgb(RGBColor(230, 170, 40)));
        ClickAt(Hwnd(g.pages), {(p2.left + p2.right) / 2, (p2.top + p2.bottom) / 2});
        EXPECT_EQ(g.pages->ActivePageIndex(), 2);
        EXPECT_TRUE(IsWindowVisible(Hwnd(g.sheets[2])));
        EXPECT_FALSE(IsWindowVisible(Hwnd(g.sheets[0])));
        EXPECT_EQ(Gallery::At(g.pages, p2.left + 3, p2.top + 3), tabCurrent);
        EXPECT_EQ(Gallery::At(g.sheets[2], 150, 150), Rgb(skin.Colour(SkinColour::ButtonFace)));

        // The list view: its header from "Headerbar", its bars skinned; the skinned bar's arrow scrolls it.
        HWND header = g.Header();
        ASSERT_NE(header, nullptr);
        // (The left edge of a stretched frame shows the frame's first column.)
        const test::WindowPixels headerShot = test::CaptureWindow(header);
        const std::int32_t headerNormal = skin.Headerbar->Image.GetPixel(0, skin.Headerbar->Image.Height() / 2);
        EXPECT_EQ(headerShot.At(1, headerShot.H / 2), headerNormal);
        EXPECT_EQ(headerShot.At(81, headerShot.H / 2), headerNormal);
        EXPECT_EQ(headerShot.At(281, headerShot.H / 2), headerNormal) << "right of the sections";
        SCROLLBARINFO bar{};
        bar.cbSize = sizeof bar;
        ASSERT_TRUE(GetScrollBarInfo(Hwnd(g.list), OBJID_VSCROLL, &bar));
        EXPECT_EQ(g.list->TopIndex(), 0);
        POINT down{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2, bar.rcScrollBar.bottom - 4};
        ScreenToClient(Hwnd(g.list), &down);
        ClickAt(Hwnd(g.list), down);
        EXPECT_GT(g.list->TopIndex(), 0) << "the down arrow scrolled the list";

        // The other library's page control draws its tabs from the two tab frames it was handed.
        ASSERT_FALSE(g.adv->TabBackGround.Empty());
        EXPECT_EQ(g.adv->TabBackGround.Width(), TSkinAdvPage::kTabWidth);
        EXPECT_EQ(g.adv->TabBackGround.Height(), TSkinAdvPage::kTabHeight);
        EXPECT_EQ(g.adv->TabBackGround.Canvas().Pixel(50, 10), tabNormal);
        EXPECT_EQ(g.adv->TabBackGroundActive.Canvas().Pixel(50, 10), tabCurrent);
        EXPECT_EQ(Gallery::At(g.adv, 4 + 50, 14), tabCurrent);
        EXPECT_EQ(Gallery::At(g.adv, 104 + 50, 14), tabNormal);
        EXPECT_EQ(g.adv->Color(), skin.Colour(SkinColour::ButtonFace));

        // The skin off: nothing answers as skinned, each control draws itself again.
        g.skin->SetActive(false);
        test::PumpUntil([&] { return Skinned(Hwnd(g.adv)) == 0; }, 3000);
        g.Repaint();
        for (HWND w : g.Windows()) EXPECT_EQ(Skinned(w), 0) << std::hex << w;
        places = g.tabSet->TabRects();
        const TRect current = places.at(static_cast<size_t>(g.tabSet->TabIndex() - g.tabSet->FirstIndex()));
        EXPECT_EQ(Gallery::At(g.tabSet, current.Left + 2, 6), Rgb(clWindow)) << "the tab set's own current tab";
        EXPECT_NE(Gallery::At(g.pages, p2.left + 3, p2.top + 3), tabCurrent);
        EXPECT_NE(Gallery::At(g.buttons, b1.left + 3, b1.top + 4), FrameColour(skin.Buttons, 2));
        EXPECT_NE(test::CaptureWindow(header).At(1, headerShot.H / 2), headerNormal);
        EXPECT_TRUE(g.adv->TabBackGround.Empty());
        EXPECT_TRUE(g.adv->TabBackGroundActive.Empty());
        EXPECT_EQ(g.adv->Color(), clBtnFace);
        EXPECT_NE(Gallery::At(g.adv, 4 + 50, 14), tabCurrent);
        EXPECT_EQ(Gallery::At(g.pages, g.onPages->Left() + 5, g.onPages->Top() + 5), Rgb(RGBColor(230, 170, 40)))
            << "the page control paints its windowless child itself";
        EXPECT_EQ(Gallery::At(g.sheets[2], 150, 150), Rgb(g.sheets[2]->Color())) << "the sheet's own colour";
        // Still working without the skin.
        ClickAt(Hwnd(g.pages), {p2.left - 20, (p2.top + p2.bottom) / 2});
        EXPECT_EQ(g.pages->ActivePageIndex(), 1);
    }
    Pump();
    EXPECT_EQ(LiveGdi(), start) << "regions, bitmaps, DCs, icons";
}

// A skin without the tab and button images: the controllers stay attached but leave the controls' own drawing.
TEST_F(TabsGallery, WithoutTheirImagesTheTabsDrawThemselves) {
    Gallery g(true);
    g.skin->Tabs.reset();
    g.skin->Buttons.Image = {};
    // The built-in rule wants the tab image: the application hands the tab set its controller itself.
    auto route = g.skin->OnSkinControl;
    g.skin->OnSkinControl = [route](TComponent* sender, TSkinData* data, TControl* form, TControl* control,
                                    const std::string& cls, TComponent*& made) {
        if (cls == "TTABSET")
            made = new TSkinTab31(control);
        else
            route(sender, data, form, control, cls, made);
    };
    g.Show();
    ASSERT_EQ(Skinned(Hwnd(g.tabSet)), 1);
    ASSERT_EQ(Skinned(Hwnd(g.buttons)), 1);
    const TRect first = g.tabSet->TabRects().at(0);
    EXPECT_EQ(Gallery::At(g.tabSet, first.Left + 2, 6), Rgb(clWindow)) << "the tab set's own current tab";
    RECT b0;
    SendMessageW(Hwnd(g.buttons), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&b0));
    const test::WindowPixels own = test::CaptureWindow(Hwnd(g.buttons));
    EXPECT_NE(own.At(b0.left, b0.top + 5), own.At(b0.left + 6, b0.top + 5)) << "the system's button edge";
    ClickAt(Hwnd(g.tabSet), {g.tabSet->TabRects().at(2).Left + 4, 10});
    EXPECT_EQ(g.tabSet->TabIndex(), 2);
}

// The gallery in the program's own skin, saved as a picture to look at (skin-shots/TabsGallery.bmp).
TEST_F(TabsGallery, ThePictureInTheDefaultSkin) {
    Gallery g(false);
    g.Show();
    g.tabSet->SetTabIndex(1);
    g.pages->SetActivePageIndex(0);
    g.list->SetItemIndex(2);
    g.Repaint();
    EXPECT_EQ(Skinned(Hwnd(g.tabSet)), 1);
    std::filesystem::create_directories("skin-shots");
    EXPECT_TRUE(test::SaveWindowPicture(Hwnd(g.form), "skin-shots/TabsGallery.bmp"));
}

}  // namespace
