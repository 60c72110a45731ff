#pragma once
// TSkinData: the non-visual component that holds one skin: the packed skin container (stored with the main
// window as "SkinStream", or read from SkinFile), the skin objects and colours built from its description,
// a few images derived at load time, and the settings that decide what the skin engine skins.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Component.h"
#include "base/Events.h"
#include "base/StringList.h"
#include "gui/Graphics.h"
#include "skin/draw/SkinObjects.h"
#include "skin/data/SkinPlatform.h"

namespace kes {

class TControl;
class TQuickIni;
class TSkinReader;

// Which kinds of menus and controls are skinned (bit number = position).
enum TSkinControlType {
    xcMainMenu,
    xcPopupMenu,
    xcMenuItem,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcSpin,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcTrackBar,
    xcSystemMenu,
    xcFastReport
};
using TSkinControlTypes = std::uint32_t;

enum TSkinOption {
    xoMDIScrollbar,
    xoMenuMerge,
    xoTransparent,
    xoPreview,
    xoParentBackGround,
    xoNoFocusRect,
    xoToolbarBK,
    xoToolbarButton,
    xoMDIChildBorder,
    xoMenuBG,
    xoCaptionButtonHint,
    xoFormScrollbar
};
using TSkinOptions = std::uint16_t;

template <typename Set, typename E>
constexpr bool InSet(Set s, E e) {
    return (s >> static_cast<int>(e)) & 1u;
}
template <typename Set, typename E>
constexpr Set SetWith(Set s, E e) {
    return static_cast<Set>(s | (1u << e));
}
template <typename Set, typename E>
constexpr Set SetWithout(Set s, E e) {
    return static_cast<Set>(s & ~(1u << e));
}

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// The colour slots, named by the [Colours] keys that fill them.
enum class SkinColour {
    WindowText = 0,
    TitleTextActive = 1,
    TitleTextNoActive = 2,
    ButtonFace = 3,
    ButtonText = 4,
    ButtonHilight = 5,
    Buttonlight = 6,
    ButtonShadow = 7,
    ButtonDkShadow = 8,
    HilightText = 11,
    Hilight = 12,
    Menubar = 13,
    MenuBarText = 14,
    MenuText = 15,
    Menu = 16,
    FrameColour = 17,
    Scrollbar = 18
};
constexpr int kSkinColourSlots = 19;
constexpr int kSkinCustomColours = 10;

using TOnFormSkin = std::function<void(TObject* Sender, const std::string& aName, bool& DoSkin)>;
using TOnSkinForm = std::function<void(TObject* Sender, void* ahwnd, const std::string& aName)>;
class TSkinData;
using TOnSkinControl = std::function<void(TComponent* Sender, TSkinData* SkinData, TControl* Form, TControl* Control,
                                          const std::string& ControlClass, TComponent*& SkinnedControl)>;

// Everything one load builds. A load fills a fresh set and takes it over only when it succeeded.
struct TSkinObjects {
    // Always present.
    TDataSkinTitle Title{"Title"};
    TDataSkinButton Buttons{"Buttons"};
    TDataSkinBorder Left{"Left"}, Right{"Right"}, Top{"Top"}, Bottom{"Bottom"};
    // The caption buttons of the [BUTTON...] sections, then the three MDI buttons (Actions 7, 8, 9).
    std::vector<TDataSkinSysButton> SysButtons;
    // nullptr when the skin has no such section.
    std::unique_ptr<TDataSkinBorder> Tabs, UpDownHorz, UpDownVert, ComboButton, Progress;
    std::unique_ptr<TDataSkinBoxLabel> GroupBox;
    std::unique_ptr<TDataSkinObject> SunkEdge, ExtraImages, ComboxArrow, GroupBoxEdge, Toolbar, ToolBars, ProgressChunk,
        StatusBarEdges, TabPane, Headerbar, MenuBar, MenuItem, MenuBackground, Scrollbar, HorzScroll, VertScroll,
        HorzScrollThumb, VertScrollThumb, TrackbarThumbHorz, TrackbarThumbVert, TrackbarThumbLeft, TrackbarThumbRight,
        TrackbarThumbUp, TrackbarThumbDown, Track, TrackVert;

    // Colour slots (a system colour is 0xFF000000 + its index) and whether the skin gave each.
    std::array<std::int32_t, kSkinColourSlots> Colours{};
    std::array<bool, kSkinColourSlots> ColourGiven{};
    std::vector<std::int32_t> SectionColours;  // one per [Colour*] section
    std::array<std::int32_t, kSkinCustomColours> CustomColours{};
    std::string SkinName;  // [TitlebarSkin] SkinName
};

class TSkinData : public TComponent, public TSkinObjects {
    KES_CLASS(TSkinData, TComponent)
public:
    static constexpr const char* kVersion = "5.50.10.11";
    static constexpr TSkinControlTypes kDefaultSkinControls = 0x1FFFFB;
    static constexpr TSkinOptions kDefaultOptions = 0x448;
    static constexpr int kDefaultDisableTag = 99;

    explicit TSkinData(TComponent* owner = nullptr);
    // With a platform of the caller's choosing (tests).
    TSkinData(TComponent* owner, std::unique_ptr<SkinPlatform> platform);
    ~TSkinData() override;

    // Published properties.
    bool Active() const { return active_; }
    void SetActive(bool value);
    std::int32_t DisableTag = kDefaultDisableTag;
    TSkinControlTypes SkinControls = kDefaultSkinControls;
    TSkinOptions Options = kDefaultOptions;
    TStringList& Skin3rd() { return skin3rd_; }
    const TStringList& Skin3rd() const { return skin3rd_; }
    void SetSkin3rd(const TStringList& lines) { skin3rd_.Assign(lines); }
    const std::string& SkinFile() const { return skinFile_; }
    void SetSkinFile(const std::string& name);
    std::string SkinStore() const;
    void SetSkinStore(const std::string&) {}
    TSkinFormType SkinFormtype = sfMainform;
    std::string Version() const { return kVersion; }
    void SetVersion(const std::string&) {}
    bool MenuUpdate = true;
    bool MenuMerge = false;
    TOnFormSkin OnFormSkin;
    TNotifyEvent OnSkinChanged;
    TOnSkinControl OnSkinControl;
    TOnSkinForm OnBeforeSkinForm;
    TOnSkinForm OnAfterSkinForm;

    // The stored skin: a little-endian int32 length N, then N bytes of skin container (N <= 0: none).
    // Reading keeps the container and loads it; false when nothing usable was read.
    bool ReadSkinStream(const std::string& stream);
    std::string WriteSkinStream() const;
    // Loads the held container. True when it held a usable skin. On false the objects of the last good load
    // stay in place but NoSkin() is true, so that Active cannot switch them on until a load succeeds.
    bool LoadSkin();
    void RefreshSkin();
    void Loaded() override;
    void DoFormSkin(void* window, const std::string& className, bool& DoSkin);
    void DoSkinChanged() { Fire(OnSkinChanged, this); }

    // True while no usable skin is held.
    bool NoSkin() const { return noSkin_; }
    const std::string& Container() const { return container_; }
    std::int32_t Colour(SkinColour slot) const { return Colours[static_cast<int>(slot)]; }
    bool ColourIsGiven(SkinColour slot) const { return ColourGiven[static_cast<int>(slot)]; }
    // The image objects present: the six that always exist, each section found and each caption button.
    int ObjectCount() const;
    // The object built from a section (names as in the description, letter case ignored; "menuBar",
    // "Title", "Left" ... name the objects without a section of their own); nullptr when absent.
    const TDataSkinObject* FindObject(const std::string& name) const;

    // Load-time and painting state read by the other parts of the skin engine.
    PixelBuffer AppIcon;  // the application's small icon on magenta
    TFont* CaptionFont() const { return captionFont_.get(); }
    bool FramePainting = true;  // cleared by the window frame while it paints
    int HintDelay = 0;          // caption-button hint clock
    bool HintShown = false;
    // The caption-button hint: shown at place (its left and top move the hint's own rectangle) unless one
    // is shown already; nothing without xoCaptionButtonHint. Hidden again by HideButtonHint.
    void ShowButtonHint(const TRect& place, const std::string& text);
    void HideButtonHint();
    void* LastFormWindow = nullptr;
    int MaximizedWidth = 0, MaximizedHeight = 0;
    SkinPlatform& Platform() { return *platform_; }
    // Shows a message to the user (the container reader's note about an old format); silent until the
    // program sets it.
    std::function<void(const std::string&)> ShowMessage;

private:
    void Init();
    void MakeAppIcon();

    bool active_ = false;
    bool noSkin_ = true;
    std::string skinFile_;
    std::string container_;
    TStringList skin3rd_;
    std::unique_ptr<TFont> captionFont_;
    std::unique_ptr<SkinPlatform> platform_;
};

// The default Skin3rd lines.
const std::vector<std::string>& DefaultSkin3rd();

// Fills every colour slot with the value it has when a skin does not give it.
void SetDefaultSkinColours(TSkinObjects& s);

// Parses a colour text: three decimal numbers (red, green, blue) separated by any other characters.
std::int32_t ParseSkinColour(const std::string& text);

// Builds every skin object from a description and its container (the walk of the description). Bad data
// never raises (it gives defaults, clamps and empty images); a failing platform call may, and the caller
// then keeps the skin it had. previous holds the derived objects (combo arrow, tool-bar gradient) of the
// last load, which this load refills.
void ReadSkinDescription(const TQuickIni& ini, const TSkinReader& reader, SkinPlatform& platform,
                         const TSkinObjects& previous, TSkinObjects& out);

// How many skins the program has loaded so far: the images of an earlier load may be gone, so what was made from
// them (the bitmaps kept for drawing) is made again when the count changed.
unsigned SkinLoadCount();

}  // namespace kes
