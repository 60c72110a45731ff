// The skinned check list.
#include "skin/controls/lists/win/SkinCheckList.h"

#include <algorithm>

#include "gui/CheckLst.h"
#include "gui/win/MsgCrack.h"
#include "skin/controls/lists/CheckListGeometry.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/draw/win/SkinDraw.h"
#include "skin/controls/checks/win/SkinStripCache.h"
#include "skin/draw/win/SkinText.h"

namespace kes {

namespace {

// Header items: a grey band with black text.
constexpr COLORREF kHeaderBack = 0x808080, kHeaderText = 0x000000;

CheckListState StateOf(TCheckBoxState s) {
    switch (s) {
    case cbChecked: return CheckListState::Checked;
    case cbGrayed: return CheckListState::Grayed;
    default: return CheckListState::Unchecked;
    }
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
    UniqueGdi<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush.Get());
}

// The text in r, centred vertically (DrawText flags in `flags`).
void DrawItemText(HDC dc, const std::string& text, const RECT& r, unsigned flags, COLORREF colour) {
    std::wstring wide;
    StrToWideStr(text, wide);
    RECT measured = r;
    SkinDrawText(dc, wide, measured, flags | DT_CALCRECT | DT_NOCLIP);
    RECT place = r;
    place.top += ((r.bottom - r.top) - (measured.bottom - measured.top)) / 2;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    SkinDrawText(dc, wide, place, flags);
}

}  // namespace

bool TSkinCheckList::BeforeMessage(TMessage& m) {
    if (m.Msg == OCM_DRAWITEM && m.LParam) {
        if (!DrawItem(msg::DrawItem(m))) return true;
        m.Result = TRUE;
        return false;
    }
    return TSkinScrollbar::BeforeMessage(m);
}

bool TSkinCheckList::DrawItem(const DRAWITEMSTRUCT& di) {
    auto* list = dynamic_cast<TCheckListBox*>(control_);
    if (!list || !skin_) return false;
    const PixelBuffer& strip = skin_->Buttons.CheckImage;
    TBitmap* glyphs = strip.Width() > 0 && strip.Height() > 0 ? CachedSkinBitmap(strip) : nullptr;
    if (!glyphs) return false;
    const int frames = std::max(1, skin_->Buttons.CheckButtonFrame);
    HDC dc = di.hDC;
    const RECT& r = di.rcItem;
    const int index = static_cast<int>(di.itemID);
    const bool selected = index >= 0 && (di.itemState & ODS_SELECTED);
    COLORREF back = ColorToRGB(selected ? clHighlight : list->Color());
    COLORREF text = ColorToRGB(selected ? clHighlightText : list->Font().Color());
    if (index < 0) {
        Fill(dc, r, back);
        return true;
    }
    if (index >= list->Items().Count()) return true;
    UniqueGdi<HFONT> font = CreateFontFor(list->Font());
    SelectGuard selectFont(dc, font.Get());
    const bool rtl = list->BiDiMode == bdRightToLeft;
    const unsigned flags = DT_WORDBREAK | DT_EXPANDTABS | (rtl ? DT_RTLREADING | DT_RIGHT : 0u);
    if (list->Header(index)) {
        Fill(dc, r, kHeaderBack);
        RECT t{r.left + 2, r.top, r.right - 2, r.bottom};
        DrawItemText(dc, list->Items()[index], t, flags, kHeaderText);
        return true;
    }
    const bool enabled = list->Enabled() && list->ItemEnabled(index);
    const CheckListItemParts parts = LayOutCheckListItem({r.left, r.top, r.right, r.bottom},
                                                         glyphs->Width() / frames, glyphs->Height(), rtl);
    // The glyph's column keeps the list's colour; the text takes the selection's.
    Fill(dc, r, ColorToRGB(list->Color()));
    const RECT textRect{parts.Text.Left, parts.Text.Top, parts.Text.Right, parts.Text.Bottom};
    Fill(dc, textRect, back);
    DrawSkinFrame(dc, Rect(parts.Glyph.Left, parts.Glyph.Top, parts.Glyph.Right, parts.Glyph.Bottom), *glyphs,
                  CheckListFrame(StateOf(list->State(index)), frames), frames, true);
    DrawItemText(dc, list->Items()[index], textRect, flags, enabled ? text : ColorToRGB(clGrayText));
    if (di.itemState & ODS_FOCUS) DrawFocusRect(dc, &textRect);
    return true;
}

// ---- registration ----

static TSkinControl* MakeCheckList(TComponent* owner, const ControlDecision& d) {
    auto* c = new TSkinCheckList(owner);
    c->BackgroundMode = d.BackgroundMode;
    return c;
}

static const bool registered = [] {
    RegisterSkinController(SkinKind::CheckList, MakeCheckList);
    return true;
}();

}  // namespace kes

extern "C" {
int kes_skin_checklist_anchor = 0;
}
