#include "skin/frame/win/SkinMenuItems.h"

#include <algorithm>

#include "base/StringList.h"
#include "gui/Forms.h"
#include "gui/Menus.h"
#include "gui/win/ImgList.h"
#include "skin/frame/MenuBarLayout.h"
#include "skin/data/SkinData.h"
#include "skin/data/win/SkinDataWin.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/draw/win/SkinObjectDraw.h"
#include "skin/frame/win/WinSkinFormImpl.h"

namespace kes {

namespace {

constexpr int kSysMenuTag = 33333;
constexpr int kObmCheck = 32760;  // the system's check-mark bitmap (OBM_CHECK)
constexpr int kGlyph = 16;

const TDataSkinObject* ItemImage(const TSkinData& s) {
    const TDataSkinObject* o = s.MenuItem.get();
    return o && o->HasImage() ? o : nullptr;
}

COLORREF Rgb(const TSkinData& s, SkinColour c) { return ColorToRGB(s.Colour(c)); }

// The popup-menu window that a menu DC paints, and the width of its frame inside the window's picture: 3 where
// the system draws the frame outside the client area, 0 where the client area is the whole window.
int PopupFrame(HDC dc) {
    HWND w = WindowFromDC(dc);
    RECT wr{}, cr{};
    if (!w || !GetWindowRect(w, &wr) || !GetClientRect(w, &cr)) return 3;
    return cr.right == wr.right - wr.left ? 0 : 3;
}

// A raw item marked owner-drawn is plain again.
void ClearOwnerDraw(HMENU menu, UINT pos) {
    if (!IsMenu(menu)) return;
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoA(menu, pos, TRUE, &mii)) return;
    mii.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
    SetMenuItemInfoA(menu, pos, TRUE, &mii);
}

// Caption and shortcut text of an item: a raw item carries its shortcut after a tab.
std::pair<std::string, std::string> CaptionParts(TMenuItem& item) {
    const std::string& c = item.Caption();
    const size_t tab = c.find('\t');
    if (tab != std::string::npos) return {c.substr(0, tab), c.substr(tab + 1)};
    return {c, item.GetShortCut() ? ShortCutToText(item.GetShortCut()) : std::string()};
}

}  // namespace

SkinMenuItems::SkinMenuItems(HWND window, TSkinData& skin, TControl* form, bool rightToLeft)
    : window_(window), skin_(skin), form_(form), rightToLeft_(rightToLeft) {}

SkinMenuItems::~SkinMenuItems() {
    OwnerDrawMenus(false, false);
    for (const auto& [menu, pos] : marked_) ClearOwnerDraw(menu, pos);
}

void SkinMenuItems::SkinChanged() {
    check_.Reset();
    pattern_.Reset();
    patternBits_.Reset();
}

void SkinMenuItems::EnsureTools() {
    if (!check_) check_.Reset(LoadBitmapA(nullptr, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(kObmCheck))));
    if (!pattern_) {
        // clBtnFace and clBtnHighlight dithered, for the box behind a checked glyph.
        const WORD bits[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
        patternBits_.Reset(CreateBitmap(8, 8, 1, 1, bits));
        if (patternBits_) pattern_.Reset(CreatePatternBrush(patternBits_.Get()));
    }
}

int SkinMenuItems::ItemLeftWidth() const {
    const TDataSkinObject* o = ItemImage(skin_);
    return o ? o->LeftWidth : 0;
}

// ---- owner-drawn menus ----

void SkinMenuItems::Walk(TMenuItem& item, int depth, bool on, bool mainMenu) {
    for (int i = 0; i < item.Count(); ++i) {
        TMenuItem& c = *item.Items(i);
        if (on && (depth >= 1 || !mainMenu) && !c.OnDrawItem) {
            // The bar's own items keep theirs; an item with a handler of its own keeps it.
            c.OnDrawItem = [this](TObject* s, TCanvas& cv, const TRect& r, bool sel) {
                DrawMenuItem(*static_cast<TMenuItem*>(s), cv, r, sel);
            };
            if (!c.OnMeasureItem) {
                if (mainMenu)
                    c.OnMeasureItem = [this](TObject* s, TCanvas& cv, int& w, int& h) {
                        MeasureMainMenuItem(*static_cast<TMenuItem*>(s), cv, w, h);
                    };
                else
                    c.OnMeasureItem = [this](TObject* s, TCanvas& cv, int& w, int& h) {
                        MeasurePopupItem(*static_cast<TMenuItem*>(s), cv, w, h);
                    };
            }
            handled_.insert(&c);
        } else if (!on && handled_.count(&c)) {
            c.OnDrawItem = nullptr;
            c.OnMeasureItem = nullptr;
        }
        Walk(c, depth + 1, on, mainMenu);
    }
}

struct SkinMenuItems::SavedHandlers {
    TMenuDrawItemEvent Draw;
    TMenuMeasureItemEvent Measure;
};

void SkinMenuItems::OwnerDrawMenus(bool mainMenus, bool popupMenus) {
    if (!mainMenus && !popupMenus) {
        if (form_) {
            // Only menus the form still holds are touched: a frame freed on the way took its menus along.
            for (int i = 0; i < form_->ComponentCount(); ++i) {
                auto* m = dynamic_cast<TMainMenu*>(form_->Components(i));
                if (!m || std::find(ownerDrawn_.begin(), ownerDrawn_.end(), m) == ownerDrawn_.end()) continue;
                Walk(*m->Items(), 0, false, true);
                m->SetOwnerDraw(false);
            }
            GiveBackPopupMenus(form_);
        }
        ownerDrawn_.clear();
        handled_.clear();
        savedPopup_.clear();
        return;
    }
    if (!form_) return;
    for (int i = 0; mainMenus && i < form_->ComponentCount(); ++i) {
        auto* m = dynamic_cast<TMainMenu*>(form_->Components(i));
        if (!m || std::find(ownerDrawn_.begin(), ownerDrawn_.end(), m) != ownerDrawn_.end()) continue;
        Walk(*m->Items(), 0, true, true);
        m->SetOwnerDraw(true);
        ownerDrawn_.push_back(m);
    }
    if (popupMenus) OwnerDrawPopupMenus(form_, true);
}

// A form of this class draws the items of its menus itself.
static bool DrawsOwnMenus(const TControl* form) {
    return form && LowerAZ(form->ClassName()) == "twwricheditform";
}

void SkinMenuItems::OwnerDrawPopupMenus(TComponent* container, bool on) {
    if (!container || DrawsOwnMenus(form_)) return;
    if (!on) {
        GiveBackPopupMenus(container);
        return;
    }
    if (!InSet(skin_.SkinControls, xcPopupMenu)) return;
    for (int i = 0; i < container->ComponentCount(); ++i) {
        TComponent* c = container->Components(i);
        if (dynamic_cast<TCustomFrame*>(c) || dynamic_cast<TCustomForm*>(c)) {
            OwnerDrawPopupMenus(c, true);
            continue;
        }
        auto* m = dynamic_cast<TPopupMenu*>(c);
        if (!m || m->Tag == skin_.DisableTag || std::find(ownerDrawn_.begin(), ownerDrawn_.end(), m) != ownerDrawn_.end())
            continue;
        WalkPopup(*m->Items(), true);
        m->SetOwnerDraw(true);
        ownerDrawn_.push_back(m);
    }
}

void SkinMenuItems::GiveBackPopupMenus(TComponent* container) {
    for (int i = 0; i < container->ComponentCount(); ++i) {
        TComponent* c = container->Components(i);
        if (dynamic_cast<TCustomFrame*>(c) || dynamic_cast<TCustomForm*>(c)) {
            GiveBackPopupMenus(c);
            continue;
        }
        auto* m = dynamic_cast<TPopupMenu*>(c);
        const auto it = std::find(ownerDrawn_.begin(), ownerDrawn_.end(), m);
        if (!m || it == ownerDrawn_.end()) continue;
        WalkPopup(*m->Items(), false);
        m->SetOwnerDraw(false);
        ownerDrawn_.erase(it);
    }
}

void SkinMenuItems::WalkPopup(TMenuItem& item, bool on) {
    for (int i = 0; i < item.Count(); ++i) {
        TMenuItem& c = *item.Items(i);
        if (on && !savedPopup_.count(&c)) {
            // Every item is drawn by the skin; the program's own handlers are kept to be given back.
            savedPopup_[&c] = {c.OnDrawItem, c.OnMeasureItem};
            c.OnDrawItem = [this](TObject* s, TCanvas& cv, const TRect& r, bool sel) {
                DrawMenuItem(*static_cast<TMenuItem*>(s), cv, r, sel);
            };
            if (!c.OnMeasureItem)
                c.OnMeasureItem = [this](TObject* s, TCanvas& cv, int& w, int& h) {
                    MeasurePopupItem(*static_cast<TMenuItem*>(s), cv, w, h);
                };
        } else if (!on) {
            if (const auto it = savedPopup_.find(&c); it != savedPopup_.end()) {
                c.OnDrawItem = it->second.Draw;
                c.OnMeasureItem = it->second.Measure;
                savedPopup_.erase(it);
            }
        }
        WalkPopup(c, on);
    }
}

void SkinMenuItems::MarkOwnerDraw(HMENU menu) {
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &mii)) continue;
        if (mii.hSubMenu) MarkOwnerDraw(mii.hSubMenu);
        if (mii.fType & MFT_OWNERDRAW) continue;
        // The type alone: the item keeps its text, so that it can be measured and drawn from it.
        mii.fMask = MIIM_FTYPE;
        mii.fType |= MFT_OWNERDRAW;
        if (SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &mii)) marked_.emplace(menu, static_cast<UINT>(i));
    }
}

void SkinMenuItems::UnmarkOwnerDraw(HMENU menu) {
    const int n = IsMenu(menu) ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < n; ++i)
        if (HMENU sub = GetSubMenu(menu, i)) UnmarkOwnerDraw(sub);
    for (auto it = marked_.lower_bound({menu, 0u}); it != marked_.end() && it->first == menu;) {
        ClearOwnerDraw(menu, it->second);
        it = marked_.erase(it);
    }
}

// ---- messages ----

// An item of the menu bar's own menu is drawn by the skin, unless the program gave it a handler of its own.
bool SkinMenuItems::SkinDrawn(TMenuItem& item, bool hasHandler) const {
    auto* form = dynamic_cast<TCustomForm*>(form_);
    if (!form || !form->Menu() || item.GetParentMenu() != form->Menu()) return false;
    return !hasHandler || handled_.count(&item) > 0;
}

// Measured here for every window, with a menu bar or without, and looked up among all the program's items (its
// popup menus and the skinned system menu too, not the bar's alone): the default procedure of a window without a
// form, or without a menu, would measure those items as empty.
bool SkinMenuItems::MeasureItem(MEASUREITEMSTRUCT& mi) {
    if (mi.CtlType != ODT_MENU) return false;
    Host().SetMenusFlag();
    TMenuItem* item = TMenuItem::FindByCommand(static_cast<int>(mi.itemID));
    // A program's own item it cannot map is left to the window.
    if (!item && form_ && mi.itemID >= 1 && mi.itemID <= 4095) return false;
    Measure(mi, item);
    return true;
}

bool SkinMenuItems::MenuChar(char c, HMENU menu, LRESULT& result) const {
    const int n = menu && IsMenu(menu) ? GetMenuItemCount(menu) : 0;
    std::vector<std::string> captions;
    std::vector<bool> choosable;
    bool ownerDrawn = false;
    int current = -1;
    for (int i = 0; i < n; ++i) {
        char text[81] = {};
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        mii.dwTypeData = text;
        mii.cch = 80;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &mii)) mii = MENUITEMINFOA{};
        std::string caption = text;
        if (const size_t tab = caption.find('\t'); tab != std::string::npos) caption.resize(tab);
        captions.push_back(caption);
        choosable.push_back(!(mii.fType & MFT_SEPARATOR) && !(mii.fState & (MFS_GRAYED | MFS_DISABLED)));
        ownerDrawn = ownerDrawn || (mii.fType & MFT_OWNERDRAW);
        if (mii.fState & MFS_HILITE) current = i;
    }
    if (!ownerDrawn) return false;
    const MenuCharPick pick = MenuCharItem(captions, choosable, c, current);
    if (pick.Item < 0) return false;
    result = MAKELRESULT(pick.Item, pick.Run ? MNC_EXECUTE : MNC_SELECT);
    return true;
}

bool SkinMenuItems::MeasureRawItem(MEASUREITEMSTRUCT& mi) {
    if (mi.CtlType != ODT_MENU) return false;
    Host().SetMenusFlag();
    Measure(mi, nullptr);
    return true;
}

void SkinMenuItems::Measure(MEASUREITEMSTRUCT& mi, TMenuItem* item) {
    WindowDc wdc(window_);
    TCanvas canvas(wdc.Get());
    canvas.Font().Assign(Screen().MenuFont());
    if (item) {
        int w = static_cast<int>(mi.itemWidth), h = static_cast<int>(mi.itemHeight);
        if (SkinDrawn(*item, item->OnMeasureItem != nullptr))
            MeasureMainMenuItem(*item, canvas, w, h);
        else
            item->MeasureItem(canvas, w, h);
        mi.itemWidth = static_cast<UINT>(std::max(0, w));
        mi.itemHeight = static_cast<UINT>(std::max(0, h));
        return;
    }
    // A raw item, measured by its text in the menu being tracked.
    char text[81] = {};
    if (tracked_) GetMenuStringA(tracked_, mi.itemID, text, 80, MF_BYCOMMAND);
    std::string t = text;
    if (const size_t tab = t.find('\t'); tab != std::string::npos) t[tab] = ' ';
    mi.itemWidth = static_cast<UINT>(canvas.TextWidth(t) + 26 + ItemLeftWidth());
    // The system's item height + 4 (8 for a separator); never less than the menu font's text + 4.
    mi.itemHeight = t.empty() ? 8u : std::max(mi.itemHeight, static_cast<UINT>(canvas.TextHeight(t))) + 4u;
}

bool SkinMenuItems::DrawItem(const DRAWITEMSTRUCT& di) {
    if (di.CtlType != ODT_MENU) return false;
    const bool selected = (di.itemState & ODS_SELECTED) != 0;
    const TRect rect = ToTRect(di.rcItem);
    Host().AttachMenuOwner(reinterpret_cast<std::uintptr_t>(di.hwndItem));
    Host().SetMenusFlag();
    if (TMenuItem* item = TMenuItem::FindByCommand(static_cast<int>(di.itemID))) {
        TCanvas canvas(di.hDC);
        canvas.Font().Assign(Screen().MenuFont());
        if (SkinDrawn(*item, item->OnDrawItem != nullptr))
            DrawMenuItem(*item, canvas, rect, selected);
        else
            item->DrawItem(canvas, rect, selected);
        return true;
    }
    if (form_ && di.itemID >= 1 && di.itemID <= 4095) return false;
    return DrawRaw(di);
}

bool SkinMenuItems::DrawRawItem(const DRAWITEMSTRUCT& di) {
    if (di.CtlType != ODT_MENU) return false;
    Host().AttachMenuOwner(reinterpret_cast<std::uintptr_t>(di.hwndItem));
    Host().SetMenusFlag();
    return DrawRaw(di);
}

bool SkinMenuItems::DrawRaw(const DRAWITEMSTRUCT& di) {
    const bool selected = (di.itemState & ODS_SELECTED) != 0;
    const TRect rect = ToTRect(di.rcItem);
    auto menu = reinterpret_cast<HMENU>(di.hwndItem);
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_FTYPE;
    GetMenuItemInfoA(menu, di.itemID, FALSE, &mii);
    char text[81] = {};
    GetMenuStringA(menu, di.itemID, text, 80, MF_BYCOMMAND);
    TMenuItem temp(nullptr);
    temp.SetCaption((mii.fType & MFT_SEPARATOR) || !text[0] ? "-" : text);
    temp.SetEnabled((mii.fState & 3) == 0);
    temp.SetChecked((mii.fState & MFS_CHECKED) != 0);
    temp.SetRadioItem((mii.fType & MFT_RADIOCHECK) != 0);
    DrawRawMenuItem(menu, temp, selected, rect, di.hDC);
    return true;
}

// ---- handlers ----

void SkinMenuItems::MeasureMainMenuItem(TMenuItem& item, TCanvas& canvas, int& width, int& height) {
    item.OwnMeasureItem(canvas, width, height);
    if (item.IsLine()) return;
    TMenu* m = item.GetParentMenu();
    width += ItemLeftWidth() + 10 + (m && m->Images ? 0 : 25);
}

void SkinMenuItems::MeasurePopupItem(TMenuItem& item, TCanvas& canvas, int& width, int& height) {
    item.OwnMeasureItem(canvas, width, height);
    if (item.IsLine()) return;
    TMenu* m = item.GetParentMenu();
    width += ItemLeftWidth() + 12 + (m && m->Images ? 0 : 23);
}

void SkinMenuItems::DrawMenuItem(TMenuItem& item, TCanvas& canvas, const TRect& rect, bool selected) {
    Host().SetMenusFlag();
    HDC dc = canvas.Handle();
    if (!ItemImage(skin_)) {
        DrawPlain(item, dc, rect, selected);
        return;
    }
    HMENU owner = item.Parent() ? static_cast<HMENU>(item.Parent()->handle_) : nullptr;
    if (owner) Host().AttachMenuOwner(reinterpret_cast<std::uintptr_t>(owner));
    ComposeItem(item, dc, rect, selected, owner, false);
}

void SkinMenuItems::DrawRawMenuItem(HMENU menu, TMenuItem& item, bool selected, const TRect& rect, HDC dc) {
    if (!ItemImage(skin_)) {
        DrawPlain(item, dc, rect, selected);
        return;
    }
    ComposeItem(item, dc, rect, selected, menu, true);
}

void SkinMenuItems::ComposeItem(TMenuItem& item, HDC dc, const TRect& rect, bool selected, HMENU owner,
                                bool separatorFrame) {
    const TDataSkinObject& img = *ItemImage(skin_);
    const int w = rect.Width(), h = rect.Height();
    if (w <= 0 || h <= 0) return;
    SkinBitmap work(w, h);
    HDC wdc = work.Canvas().Handle();
    TBitmap* back = owner ? Host().FindMenuBitmap(reinterpret_cast<std::uintptr_t>(owner)) : nullptr;
    if (back && back->Width() > 0) {
        const int frame = PopupFrame(dc);
        BitBlt(wdc, 0, 0, w, h, back->Canvas().Handle(), rect.Left + frame, rect.Top + frame, SRCCOPY);
    } else {
        work.Canvas().Brush().Color = skin_.Colour(SkinColour::Menu);
        work.Canvas().FillRect({0, 0, w, h});
    }
    if (!item.IsLine() || separatorFrame) {
        DrawSkinImage(wdc, {0, 0, w, h}, img, selected ? 4 : 1);
        work.Canvas().Font().Assign(Screen().MenuFont());
        DrawContent(item, work.Canvas(), selected, {0, 0, w, h});
        BitBlt(dc, rect.Left, rect.Top, w, h, wdc, 0, 0, SRCCOPY);
        return;
    }
    BitBlt(dc, rect.Left, rect.Top, w, h, wdc, 0, 0, SRCCOPY);
    DrawSeparator(dc, rect);
}

void SkinMenuItems::DrawPlain(TMenuItem& item, HDC dc, const TRect& rect, bool selected) {
    const int w = rect.Width(), h = rect.Height();
    if (w <= 0 || h <= 0) return;
    SkinBitmap work(w, h);
    work.Canvas().Brush().Color = skin_.Colour(selected ? SkinColour::Hilight : SkinColour::Menu);
    work.Canvas().FillRect({0, 0, w, h});
    work.Canvas().Font().Assign(Screen().MenuFont());
    DrawContent(item, work.Canvas(), selected, {0, 0, w, h});
    BitBlt(dc, rect.Left, rect.Top, w, h, work.Canvas().Handle(), 0, 0, SRCCOPY);
}

void SkinMenuItems::DrawSeparator(HDC dc, const TRect& rect) {
    const TDataSkinObject& img = *ItemImage(skin_);
    const int frames = std::max(1, img.Frame);
    const int fw = img.Image.Width() / frames, fh = img.Image.Height();
    const int w = rect.Width(), h = rect.Height();
    if (fw <= 0 || fh <= 0 || w <= 0 || h <= 0) return;
    // Frame 2: its left and right parts at their widths, the middle stretched; its bottom rows when it is
    // taller than the item.
    auto strip = BitmapFromPixels(img.Image);
    if (!strip) return;
    SkinBitmap work(w, h);
    HDC s = strip->Canvas().Handle(), d = work.Canvas().Handle();
    const int sx = std::min(1, frames - 1) * fw;
    const int sy = fh > h ? fh - h : 0, sh = fh > h ? h : fh;
    const int lw = std::min(img.LeftWidth, w), rw = std::min(img.RightWidth, w - lw);
    SetStretchBltMode(d, COLORONCOLOR);
    StretchBlt(d, 0, 0, lw, h, s, sx, sy, lw, sh, SRCCOPY);
    StretchBlt(d, w - rw, 0, rw, h, s, sx + fw - rw, sy, rw, sh, SRCCOPY);
    StretchBlt(d, lw, 0, w - lw - rw, h, s, sx + lw, sy, std::max(1, fw - lw - rw), sh, SRCCOPY);
    strip.reset();
    DrawTransparent(dc, rect, work, kSkinTransparent);
}

void SkinMenuItems::DrawCheck(HDC dc, const TRect& box, int itemTop, int itemHeight, bool radio, COLORREF colour) {
    UniqueGdi<HBRUSH> brush(CreateSolidBrush(colour));
    if (!brush) return;
    HGDIOBJ oldBrush = SelectObject(dc, brush.Get());
    if (radio) {
        // A dot, centred in the glyph box.
        const int d = 6, x = box.Left + (box.Width() - d) / 2 + 1, y = itemTop + (itemHeight - d) / 2;
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Ellipse(dc, x, y, x + d + 1, y + d + 1);
        SelectObject(dc, oldPen);
    } else if (check_) {
        BITMAP bm{};
        GetObjectA(check_.Get(), sizeof bm, &bm);
        const int x = box.Left + (box.Width() - bm.bmWidth) / 2 + 1, y = itemTop + (itemHeight - bm.bmHeight) / 2 + 1;
        HDC mdc = CreateCompatibleDC(dc);
        if (mdc) {
            HGDIOBJ old = SelectObject(mdc, check_.Get());
            const COLORREF bk = SetBkColor(dc, RGB(255, 255, 255)), fg = SetTextColor(dc, RGB(0, 0, 0));
            // Where the mark is black the brush goes down; elsewhere the item stays.
            BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mdc, 0, 0, 0x00B8074A);
            SetBkColor(dc, bk);
            SetTextColor(dc, fg);
            SelectObject(mdc, old);
            DeleteDC(mdc);
        }
    }
    SelectObject(dc, oldBrush);
}

void SkinMenuItems::ItemText(TMenuItem& item, TCanvas& canvas, const std::string& text, TRect& rect, unsigned flags,
                             bool selected) {
    const bool measuring = (flags & DT_CALCRECT) != 0;
    if (text == "-" && !measuring) {
        RECT r = ToRECT(rect);
        r.top += 4;
        DrawEdge(canvas.Handle(), &r, EDGE_ETCHED, BF_TOP);
        return;
    }
    std::string t = text;
    if (measuring && (t.empty() || t == "&")) t += " ";
    canvas.Brush().Style = bsClear;
    TMenu* menu = item.GetParentMenu();
    canvas.Font().SetStyle(item.Default() && menu ? static_cast<TFontStyles>(fsBold) : 0u);
    TColor colour = skin_.Colour(selected ? SkinColour::HilightText : SkinColour::MenuText);
    if (!item.Enabled())
        colour = skin_.Colour(SkinColour::ButtonShadow) == skin_.Colour(SkinColour::MenuText)
                     ? clGrayText
                     : skin_.Colour(SkinColour::ButtonShadow);
    canvas.Font().SetColor(colour);
    SetBkMode(canvas.Handle(), TRANSPARENT);
    canvas.DrawText(rect, t, flags);
}

void SkinMenuItems::DrawContent(TMenuItem& item, TCanvas& canvas, bool selected, const TRect& rect) {
    const auto [caption, shortcut] = CaptionParts(item);
    TMenu* menu = item.GetParentMenu();
    auto* images = menu ? dynamic_cast<TCustomImageList*>(menu->Images) : nullptr;
    int glyph = images ? images->Width() : kGlyph;
    if (item.Checked() && glyph < kGlyph) glyph = kGlyph;
    const bool line = item.IsLine();
    // Right to left, the glyph box sits at the right and the texts mirror.
    TRect box{rect.Left + 1 + ItemLeftWidth(), rect.Top + 1, 0, 0};
    if (rightToLeft_) box.Left = rect.Right - 1 - ItemLeftWidth() - glyph;
    box.Right = box.Left + glyph;
    box.Bottom = box.Top + glyph;
    if (line) box.Left = box.Right = 0;
    const int ih = rect.Height();
    HDC dc = canvas.Handle();
    if (!line && images && item.ImageIndex >= 0 && item.ImageIndex < images->Count()) {
        const int top = rect.Top + (ih - (item.Checked() ? kGlyph : images->Height())) / 2;
        if (item.Checked()) {
            EnsureTools();
            RECT b{box.Left, rect.Top + 1, box.Right, box.Bottom};
            if (pattern_) {
                const COLORREF fg = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
                const COLORREF bk = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
                FillRect(dc, &b, pattern_.Get());
                SetTextColor(dc, fg);
                SetBkColor(dc, bk);
            }
            RECT e{box.Left, top, box.Right, box.Bottom};
            DrawEdge(dc, &e, BDR_SUNKENOUTER, BF_RECT);
        }
        if (menu->Tag == kSysMenuTag) {
            // The skin's own glyphs are monochrome: drawn in the item's text colour.
            const SkinColour c = !item.Enabled() ? SkinColour::ButtonShadow
                                 : selected      ? SkinColour::HilightText
                                                 : SkinColour::MenuText;
            images->DrawMask(dc, box.Left, top, item.ImageIndex, Rgb(skin_, c));
        } else {
            images->Draw(canvas, box.Left, top, item.ImageIndex, item.Enabled());
        }
    } else if (!line && item.Checked()) {
        EnsureTools();
        const SkinColour c = selected ? SkinColour::HilightText : SkinColour::MenuText;
        DrawCheck(dc, box, rect.Top, ih, item.RadioItem(), Rgb(skin_, c));
    }
    if (line) {
        TRect r = rect;
        ItemText(item, canvas, "-", r, 0, selected);
        return;
    }
    const TRect text = rightToLeft_ ? TRect{rect.Left + 1, rect.Top, box.Left - 3, rect.Bottom}
                                    : TRect{box.Right + 3, rect.Top, rect.Right - 1, rect.Bottom};
    TRect calc = text;
    ItemText(item, canvas, caption, calc, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP, selected);
    const int top = rect.Top + (ih - calc.Height()) / 2;
    TRect draw{text.Left, top, text.Right, top + calc.Height()};
    const unsigned mirror = rightToLeft_ ? DT_RIGHT | DT_RTLREADING : 0u;
    ItemText(item, canvas, caption, draw, DT_SINGLELINE | DT_EXPANDTABS | mirror, selected);
    if (!shortcut.empty()) {
        TRect sc = rightToLeft_ ? TRect{rect.Left + 11, top, text.Right - calc.Width(), top + calc.Height()}
                                : TRect{text.Left + calc.Width(), top, rect.Right - 11, top + calc.Height()};
        ItemText(item, canvas, shortcut, sc, DT_SINGLELINE | (rightToLeft_ ? DT_LEFT : DT_RIGHT), selected);
    }
}

// ---- the system menu ----

void SkinMenuItems::ShowSysMenu(POINT screen, HMENU sysMenu, int windowState, unsigned boxes) {
    if (!sysMenu || !IsMenu(sysMenu)) return;
    sysPopup_.reset();
    auto popup = std::make_unique<TPopupMenu>(nullptr);
    popup->Tag = kSysMenuTag;
    popup->Images = SkinMenuImageList(skin_);
    const bool maximized = windowState == 1, minimized = windowState == 2;
    const int n = GetMenuItemCount(sysMenu);
    for (int i = 0; i < n; ++i) {
        char text[81] = {};
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_FTYPE;
        mii.dwTypeData = text;
        mii.cch = 80;
        if (!GetMenuItemInfoA(sysMenu, static_cast<UINT>(i), TRUE, &mii)) continue;
        auto* item = new TMenuItem(nullptr);
        item->SetCaption(text[0] && !(mii.fType & MFT_SEPARATOR) ? text : "-");
        item->Tag = static_cast<intptr_t>(mii.wID);
        bool enabled = true;
        switch (mii.wID) {
        case SC_SIZE:
        case SC_MOVE: enabled = !maximized; break;
        case SC_MINIMIZE:
            item->ImageIndex = 2;
            enabled = !minimized && (boxes & 2);
            break;
        case SC_MAXIMIZE:
            item->ImageIndex = 1;
            enabled = !maximized && (boxes & 1);
            break;
        case SC_CLOSE: item->ImageIndex = 3; break;
        case SC_RESTORE:
            item->ImageIndex = 0;
            enabled = maximized || minimized;
            break;
        default: break;
        }
        if (mii.fState & MFS_DISABLED) enabled = false;
        item->SetEnabled(enabled);
        item->SetChecked((mii.fState & MFS_CHECKED) != 0);
        HWND w = window_;
        const UINT cmd = mii.wID;
        item->OnClick = [w, cmd](TObject*) { PostMessageA(w, WM_SYSCOMMAND, cmd, 0); };
        item->OnDrawItem = [this](TObject* s, TCanvas& cv, const TRect& r, bool sel) {
            DrawMenuItem(*static_cast<TMenuItem*>(s), cv, r, sel);
        };
        item->OnMeasureItem = [this](TObject* s, TCanvas& cv, int& wd, int& ht) {
            MeasurePopupItem(*static_cast<TMenuItem*>(s), cv, wd, ht);
        };
        popup->Items()->Add(item);
    }
    popup->SetOwnerDraw(true);
    sysPopup_ = std::move(popup);
    Host().SetMenuKind(2);
    const int cmd = TrackPopupMenu(static_cast<HMENU>(sysPopup_->Handle()), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                   screen.y, 0, window_, nullptr);
    if (cmd)
        if (TMenuItem* item = sysPopup_->FindItem(cmd)) item->Click();
}

}  // namespace kes
