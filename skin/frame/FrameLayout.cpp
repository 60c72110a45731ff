// The frame rules; see FrameLayout.h.
#include "skin/frame/FrameLayout.h"

#include <algorithm>

#include "skin/data/SkinData.h"

namespace kes {

namespace {
// Style bits and hit-test codes (the system's numbers).
constexpr std::uint32_t kWsCaption = 0x00C00000, kWsThickFrame = 0x40000, kDsModalFrame = 0x80, kWsSysMenu = 0x80000,
                        kWsMinimizeBox = 0x20000, kWsMaximizeBox = 0x10000, kWsChild = 0x40000000;
constexpr std::uint32_t kExDlgModalFrame = 1, kExMdiChild = 0x40, kExContextHelp = 0x400, kExLeftScrollBar = 0x4000,
                        kExAppWindow = 0x40000;
constexpr int kHtNowhere = 0, kHtCaption = 2, kHtMenu = 5;

int PerFrame(int size, int frames) { return size / std::max(1, frames); }
}  // namespace

FrameKinds ClassifyFrame(const FrameWindowFacts& w) {
    FrameKinds k;
    if (w.HasMdiClient) k.Mdi = kMdiFrame;
    if (w.ExStyle & kExMdiChild) k.Mdi = kMdiChild;
    k.Border = kBorderCaption;
    if ((w.Style & kWsCaption) != kWsCaption)
        k.Border = kBorderNone;
    else if (w.Style & kWsThickFrame)
        k.Border = kBorderSizeable;
    else if (w.Style & kDsModalFrame)
        k.Border = kBorderDialog;
    if (w.ExStyle & kExDlgModalFrame) k.Border = kBorderDialog;
    if (w.ClassName == "#32770" || w.ClassName == "TMessageForm") {
        k.Border = kBorderDialog;
        k.SystemDialog = true;
    }
    if ((w.Style & kWsSysMenu) || w.HasSystemMenu) k.Boxes |= kBoxSysMenu;
    if (w.Style & kWsMinimizeBox) k.Boxes |= kBoxMin;
    if (w.Style & kWsMaximizeBox) k.Boxes |= kBoxMax;
    if (w.ExStyle & kExContextHelp) k.Boxes |= kBoxHelp;
    if (w.MajorVersion > 4 && w.MinorVersion == 0 &&
        ((w.NT && (w.ExStyle & kExAppWindow)) || (!w.HasOwner && k.Mdi != kMdiChild)))
        k.Boxes |= kBoxKeepSysMenuStyle;
    k.RightToLeft = (w.ExStyle & kExLeftScrollBar) != 0;
    k.Resizable = (w.Style & kWsThickFrame) != 0;
    k.Child = (w.Style & kWsChild) != 0;
    return k;
}

int WindowStateOfShowCmd(int showCmd) {
    switch (showCmd) {
    case 2:
    case 6:
    case 7: return kStateMinimized;
    case 3: return kStateMaximized;
    default: return kStateNormal;
    }
}

FrameMetrics FrameMetricsOf(const TSkinObjects& s, int borderKind, int menuHeight) {
    FrameMetrics m;
    if (borderKind == kBorderNone) return m;
    m.Left = PerFrame(s.Left.Image.Width(), s.Left.Frame);
    m.Right = PerFrame(s.Right.Image.Width(), s.Right.Frame);
    m.Caption = PerFrame(s.Top.Image.Height(), s.Top.Frame);
    m.Bottom = PerFrame(s.Bottom.Image.Height(), s.Bottom.Frame);
    m.Menu = std::max(0, menuHeight);
    return m;
}

TRect FrameClientRect(int x, int y, int cx, int cy, const FrameMetrics& m) {
    TRect r;
    r.Left = std::min(x + m.Left, x + std::max(0, cx));
    r.Top = std::min(y + m.Caption + m.Menu, y + std::max(0, cy));
    r.Right = std::max(r.Left, x + cx - m.Right);
    r.Bottom = std::max(r.Top, y + cy - m.Bottom);
    return r;
}

int FrameHitTest(int defaultCode, int windowY, const FrameMetrics& m) {
    if (defaultCode != kHtNowhere && defaultCode != kHtCaption && defaultCode != kHtMenu) return defaultCode;
    int code = defaultCode == kHtMenu ? kHtNowhere : defaultCode;
    if (windowY > 3) code = kHtCaption;
    if (m.Menu > 0 && windowY >= m.Caption && windowY < m.Caption + m.Menu) code = kHtMenu;
    return code;
}

int FrameSizingHitTest(TPoint p, int width, int height, const FrameMetrics& m, int corner, int topBand) {
    constexpr int kHtLeft = 10, kHtRight = 11, kHtTop = 12, kHtTopLeft = 13, kHtTopRight = 14, kHtBottom = 15,
                  kHtBottomLeft = 16, kHtBottomRight = 17;
    if (p.X < 0 || p.Y < 0 || p.X >= width || p.Y >= height) return 0;
    const bool left = p.X < m.Left, right = p.X >= width - m.Right;
    const bool top = p.Y < topBand, bottom = p.Y >= height - m.Bottom;
    const bool nearLeft = p.X < corner, nearRight = p.X >= width - corner;
    const bool nearTop = p.Y < corner, nearBottom = p.Y >= height - corner;
    if ((top && nearLeft) || (left && nearTop)) return kHtTopLeft;
    if ((top && nearRight) || (right && nearTop)) return kHtTopRight;
    if ((bottom && nearLeft) || (left && nearBottom)) return kHtBottomLeft;
    if ((bottom && nearRight) || (right && nearBottom)) return kHtBottomRight;
    if (top) return kHtTop;
    if (bottom) return kHtBottom;
    if (left) return kHtLeft;
    if (right) return kHtRight;
    return 0;
}

NcRelease NcButtonRelease(int pressedButton, int releasedOver) {
    if (releasedOver < 0) return NcRelease::Default;
    return pressedButton == releasedOver ? NcRelease::Run : NcRelease::Nothing;
}

TRect CaptionTextRect(const CaptionTextInput& in) {
    const int width = in.TextWidth + in.TxtBackLeft + in.TxtBackRight;
    int x = 0;
    if (!in.RightToLeft) {
        if (in.Alignment == 1)
            x = (in.StripWidth - width) / 2;
        else if (in.Alignment == 2)
            x = in.StripWidth - in.TextRightClip - width;
        else
            x = in.TextShift;
    } else {
        if (in.Alignment == 1)
            x = (in.StripWidth - in.WidestRightOffset - width) / 2;
        else if (in.Alignment == 2)
            x = in.TextShift;
        else
            x = in.StripWidth - in.WidestRightOffset - width;
    }
    const int y = (in.StripHeight - in.TextHeight) / 2 + in.TextShiftVert / 2;
    TRect r{x, y, x + width, y + in.TextHeight};
    if (in.RightToLeft) {
        if (x < 1) r.Left = in.TextShift;
        r.Left += 10;
        r.Right += 10;
    } else if (in.Popup) {
        if (in.WidestRightOffset > 5) r.Right = std::min(r.Right, in.StripWidth - in.WidestRightOffset - 5);
    } else {
        r.Right = std::min(r.Right, in.StripWidth - in.TextRightClip);
    }
    if (in.Dialog && in.Alignment == 0) r.Left -= 16;
    return r;
}

TRect CaptionButtonRect(int align, int xcoord, int ycoord, int bw, int bh, int windowWidth, const TRect& text,
                        const FrameMetrics& m, int menuBarLeftWidth) {
    int x = 0, y = ycoord;
    switch (align) {
    case 0: x = xcoord; break;
    case 1: x = windowWidth - xcoord; break;
    case 2:
    case 8: x = text.Left - bw - xcoord; break;
    case 3:
    case 9: x = text.Right + xcoord; break;
    case 100:
        x = windowWidth - xcoord - m.Right - menuBarLeftWidth;
        y = m.Caption + (m.Menu - bh) / 2;
        break;
    default: return {};
    }
    return Bounds(x, y, bw, bh);
}

namespace {
// One visibility code; k1 picks the Visibility1 column of the table.
bool VisibilityCode(int code, int action, const ButtonContext& c, bool k1) {
    const bool minOrMax = (c.Boxes & (kBoxMin | kBoxMax)) != 0;
    const bool sys = (c.Boxes & kBoxSysMenu) != 0;
    switch (code) {
    case 0: return true;
    case 1: return c.Maximized;
    case 2: return !c.Maximized;
    case 3: return c.Active;
    case 4: return !c.Active;
    case 6:
    case 8: return k1 ? minOrMax : minOrMax && sys;
    case 7: return !(c.Boxes & kBoxMax);
    case 9: return !(c.Boxes & kBoxMin);
    case 10: return k1 ? (c.Boxes & kBoxHelp) != 0 : (c.Boxes & kBoxHelp) && !minOrMax;
    case 100: return c.MdiChildMaximizedWithMenuBar;
    case 200: return c.DialogNotSystem;
    default: break;
    }
    if (code >= 201 && code <= 999) return true;
    if (code >= 1000 && code <= 2000) return k1 || (c.Ask && c.Ask(code, action) > 0);
    return false;
}
}  // namespace

ButtonShow CaptionButtonShow(int action, int visibility, int visibility1, const ButtonContext& c) {
    ButtonShow s;
    s.Visible = VisibilityCode(visibility, action, c, false) && VisibilityCode(visibility1, action, c, true);
    const bool sys = (c.Boxes & kBoxSysMenu) != 0;
    switch (action) {
    case 0:
        if (!sys) s.Visible = false;
        break;
    case 1: s.Enabled = (c.Boxes & kBoxMax) && sys; break;
    case 2: s.Enabled = (c.Boxes & kBoxMin) && sys; break;
    case 3:
    case 11:
    case 12:
        if (c.DialogBorder) s.Visible = false;
        break;
    default: break;
    }
    return s;
}

NcAction CaptionButtonAction(int action, bool enabled, const NcWindowState& w) {
    NcAction a;
    auto restore = [&] {
        a.Command = NcCommand::Restore;
        a.NewState = kStateNormal;
    };
    switch (action) {
    case 0:
        if (w.CloseEnabled) {
            a.Command = NcCommand::Close;
            a.TimerOff = true;
        }
        break;
    case 1:
    case 22:
        if (!enabled) break;
        if (w.State == kStateMaximized) {
            restore();
            break;
        }
        a.Command = NcCommand::Maximize;
        a.NewState = kStateMaximized;
        a.ClearHot = true;
        a.SetMdiMaximized = w.Mdi == kMdiChild;
        break;
    case 2:
    case 23:
        if (!enabled) break;
        if (w.State == kStateMinimized) {
            restore();
            break;
        }
        a.Command = NcCommand::Minimize;
        a.NewState = kStateMinimized;
        a.SysMenuStyleBack = true;
        break;
    case 3:
    case 11:
    case 12: a.Command = NcCommand::SystemMenu; break;
    case 4: a.Command = NcCommand::ContextHelp; break;
    case 7:
    case 60:
        if (w.Mdi == kMdiFrame) a.Command = NcCommand::MdiChildMinimize;
        break;
    case 8:
    case 61:
        if (w.Mdi == kMdiFrame) a.Command = NcCommand::MdiChildRestore;
        break;
    case 9:
    case 62:
        if (w.Mdi == kMdiFrame) a.Command = NcCommand::MdiChildClose;
        break;
    default: a.Command = NcCommand::ButtonClick; break;
    }
    return a;
}

NcAction CaptionDoubleClick(bool onIconButton, bool onOtherButton, const NcWindowState& w) {
    NcAction a;
    if (onIconButton) {
        if (w.CloseEnabled) {
            a.Command = NcCommand::Close;
            a.TimerOff = true;
        }
        return a;
    }
    if (onOtherButton) return a;
    if (w.State == kStateMaximized || w.State == kStateMinimized) {
        a.Command = NcCommand::Restore;
        a.NewState = kStateNormal;
    } else if (w.MaxBox) {
        a.Command = NcCommand::Maximize;
        a.NewState = kStateMaximized;
    } else {
        a.Command = NcCommand::Default;
    }
    return a;
}

std::vector<RegionPiece> RegionPlan(const RegionPlanInput& in) {
    std::vector<RegionPiece> out;
    const int W = in.Width, H = in.Height;
    if (W <= 0 || H <= 0) return out;
    const FrameMetrics& m = in.Metrics;
    if (!in.Trans[1] && !in.Trans[2] && !in.Trans[3] && !in.Trans[4]) {
        out.push_back({0, {0, 0, W, H}});
        return out;
    }
    auto add = [&](int part, TRect r) {
        if (!r.IsEmpty()) out.push_back({part, r});
    };
    add(0, {m.Left, m.Caption, W - m.Right, H - m.Bottom});
    if (in.Border == kBorderNone) return out;
    add(in.Trans[1] && H > 1 ? 1 : 0, {0, 0, m.Left, H});
    add(in.Trans[2] && H > 1 ? 2 : 0, {W - m.Right, 0, W, H});
    add(in.Trans[4] && m.Bottom >= 2 ? 4 : 0, {m.Left, H - m.Bottom, W - m.Right, H});
    add(in.Trans[3] && m.Caption > 1 ? 3 : 0, {m.Left, 0, W - m.Right, m.Caption});
    return out;
}

bool MdiChildButtonsShow(int mdiKind, bool hasMenuBar, bool activeChildMaximized) {
    return mdiKind == kMdiFrame && hasMenuBar && activeChildMaximized;
}

int MdiChildMenuHeight(int captionHeight, int systemCaption, int systemFrame) {
    return std::max(0, systemCaption + systemFrame - captionHeight);
}

TPoint FrameWindowPoint(TPoint client, const FrameMetrics& m, bool minimizedMdiChild) {
    if (minimizedMdiChild) return client;
    return {client.X + m.Left, client.Y + m.Caption + m.Menu};
}

FrameStartPlan StartPlanOf(int mdiKind, int windowState, bool child, int borderKind, bool systemDialog) {
    FrameStartPlan p;
    if (mdiKind == kMdiChild) {
        if (windowState == kStateMaximized)
            p.MdiRedraw = true;
        else if (windowState == kStateNormal)
            p.Resize = p.Region = true;
        return p;
    }
    if (child || borderKind == kBorderNone || windowState == kStateMinimized) return p;
    p.Resize = true;
    p.KeepPlace = borderKind == kBorderSizeable && !systemDialog;
    if (windowState == kStateMaximized)
        p.FrameChanged = true;
    else
        p.Region = true;
    return p;
}

bool FrameMessagesRun(int stage, int mdiKind, int windowState) {
    return stage != 0 && !(mdiKind == kMdiChild && windowState == kStateMaximized);
}

bool HoldNcActivate(int stage, int mdiKind) { return stage == 0 && mdiKind != kMdiChild; }

std::string CaptionButtonHint(int action) {
    switch (action) {
    case 0:
    case 9:
    case 62: return "Close";
    case 1:
    case 22: return "Maximize";
    case 2:
    case 7:
    case 23:
    case 60: return "Minimize";
    case 8:
    case 61: return "Restore";
    default: return {};
    }
}

}  // namespace kes
