// The check list's window: a system list box whose items it draws itself (fixed height), with the system's
// check boxes.
#include "gui/CheckLst.h"

#include <algorithm>

#include "gui/win/Canvas.h"
#include "gui/win/MsgCrack.h"
#include "gui/win/Win.h"

namespace kes {

namespace {

constexpr int kItemHeight = 18;

void DrawListItem(TCheckListBox& list, const DRAWITEMSTRUCT& di) {
    HDC dc = di.hDC;
    RECT r = di.rcItem;
    const int index = static_cast<int>(di.itemID);
    const bool selected = (di.itemState & ODS_SELECTED) != 0;
    const bool header = list.Header(index);
    COLORREF back = ColorToRGB(list.Color()), text = ColorToRGB(list.Font().Color());
    if (header) {
        back = ColorToRGB(list.HeaderBackgroundColor);
        text = ColorToRGB(list.HeaderColor);
    } else if (selected) {
        back = GetSysColor(COLOR_HIGHLIGHT);
        text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    if (!header && (!list.ItemEnabled(index) || !list.Enabled())) text = GetSysColor(COLOR_GRAYTEXT);
    UniqueGdi<HBRUSH> brush(CreateSolidBrush(back));
    FillRect(dc, &r, brush.Get());
    if (index < 0 || index >= list.Items().Count()) return;
    RECT textRect = r;
    if (!header) {
        const int h = TCheckListBox::kCheckWidth;
        RECT box{r.left + TCheckListBox::kCheckMargin, r.top + (r.bottom - r.top - h) / 2, 0, 0};
        box.right = box.left + h;
        box.bottom = box.top + h;
        UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
        if (list.State(index) == cbChecked) state |= DFCS_CHECKED;
        if (list.State(index) == cbGrayed) state = DFCS_BUTTON3STATE | DFCS_CHECKED | DFCS_FLAT;
        if (!list.ItemEnabled(index) || !list.Enabled()) state |= DFCS_INACTIVE;
        DrawFrameControl(dc, &box, DFC_BUTTON, state);
        textRect.left = box.right + TCheckListBox::kCheckMargin;
    } else {
        textRect.left += TCheckListBox::kCheckMargin;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    const std::string& s = list.Items()[index];
    DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (di.itemState & ODS_FOCUS) DrawFocusRect(dc, &textRect);
}

}  // namespace

void TCheckListBox::CreateParams(TCreateParams& p) {
    TCustomListBox::CreateParams(p);
    p.Style |= LBS_OWNERDRAWFIXED;
}

void TCheckListBox::CreateWnd() {
    TCustomListBox::CreateWnd();
    SendMessageA(static_cast<HWND>(WindowHandle()), LB_SETITEMHEIGHT, 0, kItemHeight);
}

void TCheckListBox::InvalidateItem(int index) {
    if (!HandleAllocated()) return;
    const HWND h = static_cast<HWND>(WindowHandle());
    RECT r;
    if (SendMessageA(h, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(h, &r, FALSE);
}

void TCheckListBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case OCM_DRAWITEM:
        DrawListItem(*this, msg::DrawItem(m));
        m.Result = TRUE;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        TCustomListBox::WndProc(m);
        const TPoint p = msg::Point(m);
        const LRESULT hit = SendMessageA(static_cast<HWND>(WindowHandle()), LB_ITEMFROMPOINT, 0,
                                         MAKELPARAM(p.X, p.Y));
        // A press on the box of an item (not below the last one).
        if (HIWORD(hit) == 0 && p.X < kCheckMargin + kCheckWidth + kCheckMargin) ToggleClickCheck(LOWORD(hit));
        return;
    }
    case WM_CHAR:
        if (m.WParam == ' ') {
            ToggleClickCheck(ItemIndex());
            m.Result = 0;
            return;
        }
        break;
    default: break;
    }
    TCustomListBox::WndProc(m);
}

}  // namespace kes
