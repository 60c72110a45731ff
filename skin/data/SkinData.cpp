#include "skin/data/SkinData.h"

#include <exception>

#include "skin/container/QuickIni.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/draw/SkinGeometry.h"
#include "skin/container/SkinReader.h"

namespace kes {

// ---- the process-wide skin manager -------------------------------------------------------------------------

namespace {
// Function statics: a manager module may install its factory from its own static initialiser.
SkinManagerFactory& ManagerFactory() {
    static SkinManagerFactory factory;
    return factory;
}
std::unique_ptr<SkinManagerLink>& Manager() {
    static std::unique_ptr<SkinManagerLink> manager;
    return manager;
}
}  // namespace

void SetSkinManagerFactory(SkinManagerFactory factory) { ManagerFactory() = std::move(factory); }
SkinManagerLink* SkinManager() { return Manager().get(); }
SkinManagerLink* EnsureSkinManager() {
    if (!Manager() && ManagerFactory()) Manager() = ManagerFactory()();
    return Manager().get();
}
void DestroySkinManager() { Manager().reset(); }

// ---- construction ---------------------------------------------------------------------------------------------

TSkinData::TSkinData(TComponent* owner) : TSkinData(owner, MakeSkinPlatform()) {}

TSkinData::TSkinData(TComponent* owner, std::unique_ptr<SkinPlatform> platform)
    : TComponent(owner), platform_(std::move(platform)) {
    Init();
}

void TSkinData::Init() {
    SetDefaultSkinColours(*this);
    for (const std::string& line : DefaultSkin3rd()) skin3rd_.Add(line);
    platform_->LoadMenuImages();
    MaximizedWidth = platform_->Metric(SkinMetric::MaximizedWidth);
    MaximizedHeight = platform_->Metric(SkinMetric::MaximizedHeight);
}

TSkinData::~TSkinData() {
    BeginDestroy();
    // The manager must hold no pointer to this component once it is gone.
    if (SkinManagerLink* m = SkinManager()) m->RemoveSkinData(this);
}

// ---- properties ----------------------------------------------------------------------------------------------

std::string TSkinData::SkinStore() const { return Designing() && !container_.empty() ? "(Good)" : "(none)"; }

void TSkinData::SetSkinFile(const std::string& name) {
    // Until a load succeeds the component counts as having no skin, whatever objects an earlier load left.
    noSkin_ = true;
    skinFile_ = name;
    if (Designing()) {
        if (!name.empty()) container_.clear();
        return;
    }
    std::string bytes;
    // A missing file is ignored without a word.
    if (name.empty() || !ReadFileBytes(name, bytes)) return;
    container_ = std::move(bytes);
    LoadSkin();
    RefreshSkin();
}

void TSkinData::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (Designing() || Loading()) return;
    SkinManagerLink* m = SkinManager();
    if (!m) return;
    switch (SkinFormtype) {
    case sfMainform:
        if (value) {
            if (noSkin_) return;
            m->SetCurrentSkin(this);
            m->PostCommand(1, 250);
            m->SetState(1);
        } else {
            m->SetCurrentSkin(this);
            m->PostCommand(2, 250);
        }
        break;
    case sfOnlyThisForm:
        m->SetCurrentSkin(this);
        if (value && noSkin_) return;
        m->PostCommand(value ? 1 : 2, 250);
        break;
    case sfDialog:
    case sfDLL: break;
    }
}

// ---- the stored skin ------------------------------------------------------------------------------------------

bool TSkinData::ReadSkinStream(const std::string& stream) {
    if (stream.size() < 4) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(stream.data());
    const std::int32_t n = static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                                     std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
    if (n <= 0) return false;
    // The length must not promise more bytes than the stream holds.
    if (static_cast<std::size_t>(n) > stream.size() - 4) return false;
    container_ = stream.substr(4, static_cast<std::size_t>(n));
    if (Designing()) return true;
    return LoadSkin();
}

std::string TSkinData::WriteSkinStream() const {
    const auto n = static_cast<std::uint32_t>(container_.size());
    std::string out{static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF),
                    static_cast<char>((n >> 16) & 0xFF), static_cast<char>((n >> 24) & 0xFF)};
    return out + container_;
}

namespace {
unsigned g_loads = 0;
}  // namespace

unsigned SkinLoadCount() { return g_loads; }

bool TSkinData::LoadSkin() {
    noSkin_ = true;
    if (Designing()) return false;
    TSkinReader reader;
    reader.ShowMessage = [this](const std::string& text) { Fire(ShowMessage, text); };
    if (!reader.LoadFromStream(container_)) return false;
    // A container without a description gives the skin of all defaults.
    std::string description, descriptionName;
    reader.ExtractFirstMatch(".ini", description, descriptionName);
    TQuickIni ini;
    ini.LoadFromStream(&description);
    TSkinObjects fresh;
    try {
        ReadSkinDescription(ini, reader, *platform_, *this, fresh);
    } catch (const std::exception&) {
        // The objects of the last good load stay; the flag keeps them switched off.
        return false;
    }
    static_cast<TSkinObjects&>(*this) = std::move(fresh);
    ++g_loads;
    platform_->MakeFaceBrush(Colour(SkinColour::ButtonFace));
    noSkin_ = false;
    return true;
}

void TSkinData::RefreshSkin() {
    if (Designing() || Loading()) return;
    if (!SkinManager()) Loaded();
    SkinManagerLink* m = SkinManager();
    if (!m) return;
    m->SetCurrentSkin(this);
    m->RefreshForms(this);
    if (m->State() == 1) m->PostCommand(3, 250);
}

// ---- after the owner was read ---------------------------------------------------------------------------------

void TSkinData::Loaded() {
    TComponent::Loaded();
    if (Designing()) return;
    if (!platform_->HasScrollBarInfo()) SkinControls = SetWithout(SkinControls, xcScrollbar);
    SkinManagerLink* m = EnsureSkinManager();
    if (m) m->AddSkinData(this);
    captionFont_ = std::make_unique<TFont>();
    platform_->LoadCaptionFont(*captionFont_);
    if (SkinFormtype == sfMainform) {
        if (m) m->InstallHook();
        if (active_) {
            if (noSkin_)
                active_ = false;
            else if (m)
                m->PostCommand(1, 250);
        }
        if (InSet(SkinControls, xcMainMenu))
            SkinControls = SetWithout(SkinControls, xcMenuItem);
        else
            SkinControls = SetWithout(SkinControls, xcSystemMenu);
        MakeAppIcon();
    } else if (m) {
        m->MarkActive();
        m->SetState(AdvancedManagerState(m->State()));
        if (Owner() && Owner()->InheritsFrom("TCustomForm") && active_) m->TrySkinWindow(Owner());
    }
}

void TSkinData::MakeAppIcon() {
    PixelBuffer icon(platform_->Metric(SkinMetric::SmallIconWidth), platform_->Metric(SkinMetric::SmallIconHeight));
    icon.FillRect({0, 0, icon.Width(), icon.Height()}, kSkinTransparent);
    if (platform_->DrawAppIcon(icon)) AppIcon = std::move(icon);
}

void TSkinData::DoFormSkin(void* window, const std::string& className, bool& DoSkin) {
    LastFormWindow = window;
    if (OnFormSkin) {
        OnFormSkin(this, className, DoSkin);
        return;
    }
    if (className == "SysMonthCal32") DoSkin = false;
    if (InSet(SkinControls, xcFastReport) && className.rfind("Tfr", 0) == 0) DoSkin = false;
}

// ---- the objects by name --------------------------------------------------------------------------------------

namespace {

struct NamedSlot {
    const char* name;
    const TDataSkinObject* (*get)(const TSkinObjects&);
};

#define KES_SLOT(text, member)                                                               \
    {                                                                                        \
        text, [](const TSkinObjects& s) -> const TDataSkinObject* { return s.member.get(); } \
    }
const NamedSlot kSlots[] = {
    KES_SLOT("Tabs", Tabs),
    KES_SLOT("UpDown.Horz", UpDownHorz),
    KES_SLOT("UpDown.Vert", UpDownVert),
    KES_SLOT("ComboButton", ComboButton),
    KES_SLOT("Progress", Progress),
    KES_SLOT("GroupBox", GroupBox),
    KES_SLOT("SunkEdge", SunkEdge),
    KES_SLOT("ExtraImages", ExtraImages),
    KES_SLOT("ComboxArrow", ComboxArrow),
    KES_SLOT("GroupBoxEdge", GroupBoxEdge),
    KES_SLOT("Toolbar", Toolbar),
    KES_SLOT("ToolBars", ToolBars),
    KES_SLOT("Progress.Chunk", ProgressChunk),
    KES_SLOT("StatusBarEdges", StatusBarEdges),
    KES_SLOT("Tab.Pane", TabPane),
    KES_SLOT("Headerbar", Headerbar),
    KES_SLOT("menuBar", MenuBar),
    KES_SLOT("MenuItem", MenuItem),
    KES_SLOT("MenuBackground", MenuBackground),
    KES_SLOT("Scrollbar", Scrollbar),
    KES_SLOT("HorzScroll", HorzScroll),
    KES_SLOT("VertScroll", VertScroll),
    KES_SLOT("HorzScrollThumb", HorzScrollThumb),
    KES_SLOT("VertScrollThumb", VertScrollThumb),
    KES_SLOT("Trackbar.ThumbHorz", TrackbarThumbHorz),
    KES_SLOT("Trackbar.ThumbVert", TrackbarThumbVert),
    KES_SLOT("Trackbar.ThumbLeft", TrackbarThumbLeft),
    KES_SLOT("Trackbar.ThumbRight", TrackbarThumbRight),
    KES_SLOT("Trackbar.ThumbUp", TrackbarThumbUp),
    KES_SLOT("Trackbar.ThumbDown", TrackbarThumbDown),
    KES_SLOT("Track", Track),
    KES_SLOT("TRACKVERT", TrackVert),
};
#undef KES_SLOT

}  // namespace

int TSkinData::ObjectCount() const {
    int n = 6 + static_cast<int>(SysButtons.size());
    for (const NamedSlot& s : kSlots)
        if (s.get(*this)) ++n;
    return n;
}

const TDataSkinObject* TSkinData::FindObject(const std::string& name) const {
    const TDataSkinObject* fixed[] = {&Title, &Buttons, &Left, &Right, &Top, &Bottom};
    for (const TDataSkinObject* o : fixed)
        if (CompareTextAZ(o->Name, name) == 0) return o;
    for (const NamedSlot& s : kSlots)
        if (CompareTextAZ(s.name, name) == 0) return s.get(*this);
    for (const TDataSkinSysButton& b : SysButtons)
        if (!b.Name.empty() && CompareTextAZ(b.Name, name) == 0) return &b;
    return nullptr;
}

void TSkinData::ShowButtonHint(const TRect& place, const std::string& text) {
    if (!InSet(Options, xoCaptionButtonHint) || HintShown) return;
    SkinHintWindow& hint = platform_->HintWindow();
    TRect r = hint.CalcHintRect(500, text);
    r = Bounds(r.Left + place.Left, r.Top + place.Top, r.Width(), r.Height());
    hint.ActivateHint(r, text);
    HintShown = true;
}

void TSkinData::HideButtonHint() {
    if (!HintShown) return;
    platform_->HintWindow().Hide();
    HintShown = false;
}

}  // namespace kes
