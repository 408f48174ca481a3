// The non-client frame of a windowed control: its parts (border, a child's caption, the form's menu
// bar, client and static edges, the bevel, the window scroll bars) measured, drawn, hit-tested
// and, for the scroll bars, tracked under the mouse. One layout serves all four, so they always
// agree.
#include <algorithm>
#include <cstdint>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/Controls.h"
#include "platform/ui/WindowLayers.h"
#include "platform/win/Window.h"

namespace {

constexpr int kScrollSize = ui::kWindowScrollBarSize;
constexpr int kCaptionHeight = 18;
constexpr int kMinThumb = 8;

struct FrameLayout {
    bool Border = false;
    TRect Caption, Menu, Edge, Bevel, BevelInside, VScroll, HScroll, Corner, Client;
    int EdgeWidth = 0;
};

// The window manager draws a top-level window's border and caption outside our geometry; a
// pop-up without a caption is frameless, so its border is ours. The bevel (what it takes from
// each side) lies inside the edges, around the scroll bars.
FrameLayout LayoutFrame(int width, int height, DWORD style, DWORD exStyle, bool topLevel, int menuHeight, const TRect& bevel) {
    FrameLayout l;
    TRect r(0, 0, std::max(0, width), std::max(0, height));
    bool managed = topLevel && ((style & WS_CAPTION) == WS_CAPTION || (style & WS_THICKFRAME) != 0);
    auto take = [&r](int top) {
        TRect band(r.Left, r.Top, r.Right, std::min(r.Bottom, r.Top + top));
        r.Top = band.Bottom;
        return band;
    };
    if (!managed) {
        if (style & WS_BORDER) {
            l.Border = true;
            InflateRect(&r, -1, -1);
        }
        if ((style & WS_CAPTION) == WS_CAPTION) l.Caption = take(kCaptionHeight);
    }
    if (menuHeight > 0) l.Menu = take(menuHeight);
    l.EdgeWidth = (exStyle & WS_EX_CLIENTEDGE) ? 2 : (exStyle & WS_EX_STATICEDGE) ? 1 : 0;
    if (l.EdgeWidth > 0) {
        l.Edge = r;
        InflateRect(&r, -l.EdgeWidth, -l.EdgeWidth);
    }
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    if (bevel != TRect()) {
        l.Bevel = r;
        r = TRect(std::min(r.Right, r.Left + bevel.Left), std::min(r.Bottom, r.Top + bevel.Top),
                  std::max(r.Left + bevel.Left, r.Right - bevel.Right), std::max(r.Top + bevel.Top, r.Bottom - bevel.Bottom));
        if (r.Right < r.Left) r.Right = r.Left;
        if (r.Bottom < r.Top) r.Bottom = r.Top;
        l.BevelInside = r;
    }
    if ((style & WS_VSCROLL) && r.Width() >= kScrollSize) {
        l.VScroll = TRect(r.Right - kScrollSize, r.Top, r.Right, r.Bottom);
        r.Right -= kScrollSize;
    }
    if ((style & WS_HSCROLL) && r.Height() >= kScrollSize) {
        l.HScroll = TRect(r.Left, r.Bottom - kScrollSize, r.Right, r.Bottom);
        r.Bottom -= kScrollSize;
    }
    if (!l.VScroll.IsEmpty() && !l.HScroll.IsEmpty()) {
        l.VScroll.Bottom = r.Bottom;
        l.Corner = TRect(l.VScroll.Left, r.Bottom, l.VScroll.Right, l.HScroll.Bottom);
    }
    l.Client = r;
    return l;
}

// The parts of one scroll bar; the thumb is empty when the bar cannot scroll.
struct BarParts {
    TRect Up, Down, Track, Thumb;
    int TrackStart = 0, TrackLength = 0, ThumbLength = 0;
};

// The timer of a held arrow or page area: the frame's own, beside the component's timers.
constexpr UINT_PTR kScrollRepeatTimer = 0x7FFF5C01;

int MaxScrollPos(const TWindowScrollBar& sb) { return sb.Max - std::max(0, static_cast<int>(sb.Page) - 1); }

BarParts PartsOf(const TRect& r, bool vertical, const TWindowScrollBar& sb, int pos) {
    BarParts p;
    int length = vertical ? r.Height() : r.Width();
    int thick = vertical ? r.Width() : r.Height();
    int button = std::min(thick, length / 2);
    if (vertical) {
        p.Up = TRect(r.Left, r.Top, r.Right, r.Top + button);
        p.Down = TRect(r.Left, r.Bottom - button, r.Right, r.Bottom);
        p.Track = TRect(r.Left, p.Up.Bottom, r.Right, p.Down.Top);
    } else {
        p.Up = TRect(r.Left, r.Top, r.Left + button, r.Bottom);
        p.Down = TRect(r.Right - button, r.Top, r.Right, r.Bottom);
        p.Track = TRect(p.Up.Right, r.Top, p.Down.Left, r.Bottom);
    }
    p.TrackStart = vertical ? p.Track.Top : p.Track.Left;
    p.TrackLength = std::max(0, length - 2 * button);
    int maxPos = MaxScrollPos(sb);
    if (sb.Disabled == ESB_DISABLE_BOTH || maxPos <= sb.Min) return p;
    int64_t range = static_cast<int64_t>(sb.Max) - sb.Min + 1;
    int thumb = sb.Page > 0 ? static_cast<int>(std::max<int64_t>(kMinThumb, p.TrackLength * static_cast<int64_t>(sb.Page) / range)) : thick;
    if (thumb > p.TrackLength) return p;
    p.ThumbLength = thumb;
    int span = p.TrackLength - thumb;
    int64_t offset = span * (static_cast<int64_t>(std::clamp(pos, sb.Min, maxPos)) - sb.Min) / (static_cast<int64_t>(maxPos) - sb.Min);
    int start = p.TrackStart + static_cast<int>(offset);
    p.Thumb = vertical ? TRect(r.Left, start, r.Right, start + thumb) : TRect(start, r.Top, start + thumb, r.Bottom);
    return p;
}

// The position a thumb whose leading edge is at `start` (along the bar) stands for.
int PosAtThumbStart(const BarParts& p, const TWindowScrollBar& sb, int start) {
    int span = p.TrackLength - p.ThumbLength;
    int maxPos = MaxScrollPos(sb);
    if (span <= 0 || maxPos <= sb.Min) return sb.Min;
    int64_t offset = std::clamp(start - p.TrackStart, 0, span);
    int64_t steps = static_cast<int64_t>(maxPos) - sb.Min;
    return sb.Min + static_cast<int>((offset * steps + span / 2) / span);
}

void DrawArrow(TCanvas* c, const TRect& r, bool vertical, bool forward, bool enabled, bool pressed) {
    c->FillSolid(r, clBtnFace);
    TRect e = r;
    DrawEdge(c->Handle(), &e, pressed ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT);
    // A small triangle pointing the way the button scrolls.
    int cx = (r.Left + r.Right) / 2 + (pressed ? 1 : 0), cy = (r.Top + r.Bottom) / 2 + (pressed ? 1 : 0);
    TColor color = enabled ? clBtnText : clGrayText;
    for (int i = 0; i < 4; ++i) {
        int along = forward ? i - 2 : 1 - i;  // rows from the tip's opposite side to the tip
        int half = 3 - i;
        if (vertical) c->FillSolid(TRect(cx - half, cy + along, cx + half + 1, cy + along + 1), color);
        else c->FillSolid(TRect(cx + along, cy - half, cx + along + 1, cy + half + 1), color);
    }
}

TBitmap* TrackPattern() {
    static TBitmap* pattern = [] {
        auto* b = new TBitmap(8, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) b->Canvas()->SetPixels(x, y, ((x + y) & 1) ? clBtnFace : clBtnHighlight);
        return b;
    }();
    return pattern;
}

void DrawBar(TCanvas* c, const TRect& r, bool vertical, const TWindowScrollBar& sb, int pos, int pressedPart) {
    BarParts p = PartsOf(r, vertical, sb, pos);
    bool off = sb.Disabled == ESB_DISABLE_BOTH || MaxScrollPos(sb) <= sb.Min;
    DrawArrow(c, p.Up, vertical, false, !off && !(sb.Disabled & ESB_DISABLE_LTUP), pressedPart == SB_LINEUP);
    DrawArrow(c, p.Down, vertical, true, !off && !(sb.Disabled & ESB_DISABLE_RTDN), pressedPart == SB_LINEDOWN);
    if (p.Track.IsEmpty()) return;
    // The classic track: a dither of the face and highlight colours.
    c->Brush()->SetBitmap(TrackPattern());
    c->FillRect(p.Track);
    c->Brush()->SetBitmap(nullptr);
    if (p.Thumb.IsEmpty()) return;
    c->FillSolid(p.Thumb, clBtnFace);
    TRect t = p.Thumb;
    DrawEdge(c->Handle(), &t, EDGE_RAISED, BF_RECT);
}

}  // namespace

TRect TWinControl::ClientArea() const {
    int right = std::max(FInsets.Left, Width() - FInsets.Right);
    int bottom = std::max(FInsets.Top, Height() - FInsets.Bottom);
    return TRect(FInsets.Left, FInsets.Top, right, bottom);
}

TRect TWinControl::ClientRect() const {
    TRect a = ClientArea();
    return Rect(0, 0, a.Width(), a.Height());
}

TPoint TWinControl::WindowOrigin() const {
    TPoint o = ClientOrigin();
    TRect a = ClientArea();
    return Point(o.X - a.Left, o.Y - a.Top);
}

bool TWinControl::MeasureFrame() {
    NCCALCSIZE_PARAMS params;
    TRect b = BoundsRect();
    params.rgrc[0] = params.rgrc[1] = params.rgrc[2] = b;
    Perform(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&params));
    const TRect& c = params.rgrc[0];
    TRect insets(std::max(0, c.Left - b.Left), std::max(0, c.Top - b.Top), std::max(0, b.Right - c.Right),
                 std::max(0, b.Bottom - c.Bottom));
    bool changed = insets != FInsets;
    FInsets = insets;
    if (FPeer) {
        FrameLayout l = LayoutFrame(Width(), Height(), FStyle, FExStyle, !FParent || IsPopup(), FrameMenuHeight(), BevelInsets());
        FPeer->PlaceMenuBar(l.Menu);
        if (changed) FrameWidthsChanged();
    }
    return changed;
}

void TWinControl::RecreateFrame() {
    if (!FHandle) return;
    TCreateParams params;
    CreateParams(params);
    // Only the border and the edges: the scroll bars and a caption are the window's own business.
    constexpr DWORD kEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;
    DWORD style = (FStyle & ~WS_BORDER) | (params.Style & WS_BORDER);
    DWORD exStyle = (FExStyle & ~kEdges) | (params.ExStyle & kEdges);
    if (style == FStyle && exStyle == FExStyle) return;
    FStyle = style;
    FExStyle = exStyle;
    if (FPeer) FPeer->SetStyles(FStyle, FExStyle);
    FrameChanged();
}

void TWinControl::FrameChanged() {
    if (!FHandle) return;
    if (MeasureFrame()) {
        PlaceChildPeers();
        AlignControls();
        Invalidate();
    }
    InvalidateFrame();
}

void TWinControl::WMNCCalcSize(TMessage& Message) {
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam);
    if (!params) return;
    TRect& r = params->rgrc[0];
    FrameLayout l = LayoutFrame(r.Width(), r.Height(), FStyle, FExStyle, !FParent || IsPopup(), FrameMenuHeight(), BevelInsets());
    r = OffsetRectBy(l.Client, r.Left, r.Top);
}

void TWinControl::WMNCPaint(TMessage&) {
    FrameLayout l = LayoutFrame(Width(), Height(), FStyle, FExStyle, !FParent || IsPopup(), FrameMenuHeight(), BevelInsets());
    if (l.Client == Rect(0, 0, Width(), Height())) return;  // no frame to draw
    HDC dc = GetWindowDC(FHandle);
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return;
    struct Release {
        HWND window;
        HDC dc;
        ~Release() { ReleaseDC(window, dc); }
    } release{FHandle, dc};
    int w = Width(), h = Height();
    if (l.Border) {
        c->FillSolid(TRect(0, 0, w, 1), clWindowFrame);
        c->FillSolid(TRect(0, h - 1, w, h), clWindowFrame);
        c->FillSolid(TRect(0, 0, 1, h), clWindowFrame);
        c->FillSolid(TRect(w - 1, 0, w, h), clWindowFrame);
    }
    if (!l.Caption.IsEmpty()) {
        c->FillSolid(l.Caption, clActiveCaption);
        c->Font()->Assign(Font());
        c->Font()->SetColor(clCaptionText);
        c->Font()->SetStyle(TFontStyles() << fsBold);
        c->Brush()->SetStyle(bsClear);
        c->TextRect(l.Caption, l.Caption.Left + 3, l.Caption.Top + (l.Caption.Height() - c->TextHeight(Text())) / 2, Text());
        c->Brush()->SetStyle(bsSolid);
    }
    if (!l.Menu.IsEmpty()) c->FillSolid(l.Menu, clBtnFace);  // under the menu bar itself
    if (l.EdgeWidth > 0) {
        TRect e = l.Edge;
        DrawEdge(dc, &e, l.EdgeWidth == 2 ? EDGE_SUNKEN : BDR_SUNKENOUTER, BF_RECT);
    }
    if (!l.Bevel.IsEmpty()) PaintBevel(dc, l.Bevel, l.BevelInside);
    auto pressed = [this](int bar) { return FTrack.Bar == bar ? FTrack.Part : -1; };
    auto shownPos = [this](int bar, const TWindowScrollBar& sb) {
        return FTrack.Bar == bar && FTrack.Part == SB_THUMBTRACK ? sb.TrackPos : sb.Pos;
    };
    if (!l.VScroll.IsEmpty()) DrawBar(c, l.VScroll, true, FVScroll, shownPos(SB_VERT, FVScroll), pressed(SB_VERT));
    if (!l.HScroll.IsEmpty()) DrawBar(c, l.HScroll, false, FHScroll, shownPos(SB_HORZ, FHScroll), pressed(SB_HORZ));
    if (!l.Corner.IsEmpty()) c->FillSolid(l.Corner, clBtnFace);
}

TRect TWinControl::BevelInsets() const {
    if (FBevelKind == bkNone) return TRect();
    int size = (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0);
    auto side = [&](TBevelEdge e) { return FBevelEdges.Contains(e) ? size : 0; };
    return TRect(side(beLeft), side(beTop), side(beRight), side(beBottom));
}

void TWinControl::PaintBevel(HDC dc, const TRect& outside, const TRect& inside) {
    TCanvas* c = TCanvas::FromHandle(dc);
    // The band between the two rectangles takes the control's colour; the cuts go over it.
    c->FillSolid(TRect(outside.Left, outside.Top, outside.Right, inside.Top), Color());
    c->FillSolid(TRect(outside.Left, inside.Bottom, outside.Right, outside.Bottom), Color());
    c->FillSolid(TRect(outside.Left, inside.Top, inside.Left, inside.Bottom), Color());
    c->FillSolid(TRect(inside.Right, inside.Top, outside.Right, inside.Bottom), Color());
    UINT sides = (FBevelEdges.Contains(beLeft) ? BF_LEFT : 0) | (FBevelEdges.Contains(beTop) ? BF_TOP : 0) |
                 (FBevelEdges.Contains(beRight) ? BF_RIGHT : 0) | (FBevelEdges.Contains(beBottom) ? BF_BOTTOM : 0);
    TRect r = outside;
    if (FBevelKind == bkFlat) {
        DrawEdge(dc, &r, BDR_RAISEDOUTER, sides | BF_FLAT);
        return;
    }
    UINT soft = FBevelKind == bkSoft ? BF_SOFT : 0;
    // Each cut is BevelWidth rings of its colours, the outer one outside; a space is a gap.
    auto cut = [&](TBevelCut kind, UINT raised, UINT sunken) {
        if (kind == bvNone) return;
        for (int i = 0; i < FBevelWidth; ++i) {
            if (kind != bvSpace) {
                DrawEdge(dc, &r, kind == bvRaised ? raised : sunken, sides | soft | BF_ADJUST);
                continue;
            }
            if (sides & BF_LEFT) ++r.Left;
            if (sides & BF_TOP) ++r.Top;
            if (sides & BF_RIGHT) --r.Right;
            if (sides & BF_BOTTOM) --r.Bottom;
        }
    };
    cut(FBevelOuter, BDR_RAISEDOUTER, BDR_SUNKENOUTER);
    cut(FBevelInner, BDR_RAISEDINNER, BDR_SUNKENINNER);
}

void TWinControl::SetBevelInner(TBevelCut value) {
    if (FBevelInner == value) return;
    FBevelInner = value;
    BevelsChanged();
}

void TWinControl::SetBevelOuter(TBevelCut value) {
    if (FBevelOuter == value) return;
    FBevelOuter = value;
    BevelsChanged();
}

void TWinControl::SetBevelKind(TBevelKind value) {
    if (FBevelKind == value) return;
    FBevelKind = value;
    BevelsChanged();
}

void TWinControl::SetBevelEdges(TBevelEdges value) {
    if (FBevelEdges == value) return;
    FBevelEdges = value;
    BevelsChanged();
}

void TWinControl::SetBevelWidth(TBevelWidth value) {
    if (value < 1) throw EInvalidOperation(String("Invalid bevel width ") + IntToStr(value) + ": it must be 1 or more");
    if (FBevelWidth == value) return;
    FBevelWidth = value;
    BevelsChanged();
}

void TWinControl::BevelsChanged() { FrameChanged(); }

void TWinControl::WMNCHitTest(TMessage& Message) {
    TPoint origin = WindowOrigin();
    TPoint p(GET_X_LPARAM(Message.LParam) - origin.X, GET_Y_LPARAM(Message.LParam) - origin.Y);
    const ui::detail::WindowLayer* layer = ui::detail::FindLayer(this);
    if (!Rect(0, 0, Width(), Height()).Contains(p) || (layer && layer->Shaped && !layer->Shape.Contains(p.X, p.Y))) {
        Message.Result = HTNOWHERE;
        return;
    }
    if (ClientArea().Contains(p)) {
        Message.Result = HTCLIENT;
        return;
    }
    FrameLayout l = LayoutFrame(Width(), Height(), FStyle, FExStyle, !FParent || IsPopup(), FrameMenuHeight(), BevelInsets());
    if (l.VScroll.Contains(p)) Message.Result = HTVSCROLL;
    else if (l.HScroll.Contains(p)) Message.Result = HTHSCROLL;
    else if (l.Corner.Contains(p)) Message.Result = HTBOTTOMRIGHT;
    else if (l.Menu.Contains(p)) Message.Result = HTMENU;
    else if (l.Caption.Contains(p)) Message.Result = HTCAPTION;
    else Message.Result = HTBORDER;
}

TRect TWinControl::ScrollBarRect(int bar) const {
    FrameLayout l = LayoutFrame(Width(), Height(), FStyle, FExStyle, !FParent || IsPopup(), FrameMenuHeight(), BevelInsets());
    return bar == SB_VERT ? l.VScroll : l.HScroll;
}

void TWinControl::WMNCLButtonDown(TMessage& Message) {
    // A sizing border of a top-level window starts the user's sizing loop.
    if (ui::detail::StartSizing(this, static_cast<int>(Message.WParam))) return;
    int bar = Message.WParam == static_cast<WPARAM>(HTVSCROLL) ? SB_VERT : Message.WParam == static_cast<WPARAM>(HTHSCROLL) ? SB_HORZ : -1;
    if (bar < 0) return;
    TPoint origin = WindowOrigin();
    TPoint p(GET_X_LPARAM(Message.LParam) - origin.X, GET_Y_LPARAM(Message.LParam) - origin.Y);
    TWindowScrollBar& sb = ScrollBar(bar);
    if (sb.Disabled == ESB_DISABLE_BOTH) return;
    bool vertical = bar == SB_VERT;
    BarParts parts = PartsOf(ScrollBarRect(bar), vertical, sb, sb.Pos);
    if (parts.Thumb.IsEmpty() && !parts.Up.Contains(p) && !parts.Down.Contains(p)) return;
    int part;
    if (parts.Up.Contains(p)) {
        if (sb.Disabled & ESB_DISABLE_LTUP || parts.Thumb.IsEmpty()) return;
        part = SB_LINEUP;
    } else if (parts.Down.Contains(p)) {
        if (sb.Disabled & ESB_DISABLE_RTDN || parts.Thumb.IsEmpty()) return;
        part = SB_LINEDOWN;
    } else if (parts.Thumb.Contains(p)) {
        part = SB_THUMBTRACK;
    } else if (parts.Track.Contains(p)) {
        int along = vertical ? p.Y : p.X;
        part = along < (vertical ? parts.Thumb.Top : parts.Thumb.Left) ? SB_PAGEUP : SB_PAGEDOWN;
    } else {
        return;
    }
    FTrack.Bar = bar;
    FTrack.Part = part;
    FTrack.GrabOffset = (vertical ? p.Y - parts.Thumb.Top : p.X - parts.Thumb.Left);
    sb.TrackPos = sb.Pos;
    FTrack.Pointer = p;
    FTrack.Repeating = false;
    InvalidateFrame();
    if (part == SB_THUMBTRACK) return;
    Perform(vertical ? WM_VSCROLL : WM_HSCROLL, static_cast<WPARAM>(part), 0);
    if (FTrack.Bar == bar && FHandle) SetTimer(FHandle, kScrollRepeatTimer, ui::sys::KeyRepeatDelayMs(), &ScrollRepeatTick);
}

void TWinControl::ScrollRepeatTick(HWND hwnd, UINT, uintptr_t, DWORD) {
    if (TWinControl* w = FindControl(hwnd)) w->RepeatScroll();
}

void TWinControl::RepeatScroll() {
    if (FTrack.Bar < 0 || FTrack.Part == SB_THUMBTRACK) {
        KillTimer(FHandle, kScrollRepeatTimer);
        return;
    }
    // The release went elsewhere (a window that came up took it): the press ends here.
    if (GetKeyState(VK_LBUTTON) >= 0) {
        TrackScrollBar(WM_LBUTTONUP, FTrack.Pointer);
        return;
    }
    if (!FTrack.Repeating) {
        FTrack.Repeating = true;
        SetTimer(FHandle, kScrollRepeatTimer, ui::sys::KeyRepeatIntervalMs(), &ScrollRepeatTick);
    }
    bool vertical = FTrack.Bar == SB_VERT;
    TWindowScrollBar& sb = ScrollBar(FTrack.Bar);
    BarParts parts = PartsOf(ScrollBarRect(FTrack.Bar), vertical, sb, sb.Pos);
    const TPoint& p = FTrack.Pointer;
    int along = vertical ? p.Y : p.X;
    bool again = false;
    // An arrow repeats while the pointer is on it; a page area until the thumb reaches the pointer.
    switch (FTrack.Part) {
        case SB_LINEUP: again = parts.Up.Contains(p); break;
        case SB_LINEDOWN: again = parts.Down.Contains(p); break;
        case SB_PAGEUP: again = parts.Track.Contains(p) && !parts.Thumb.IsEmpty() && along < (vertical ? parts.Thumb.Top : parts.Thumb.Left); break;
        case SB_PAGEDOWN: again = parts.Track.Contains(p) && !parts.Thumb.IsEmpty() && along >= (vertical ? parts.Thumb.Bottom : parts.Thumb.Right); break;
        default: break;
    }
    if (again) Perform(vertical ? WM_VSCROLL : WM_HSCROLL, static_cast<WPARAM>(FTrack.Part), 0);
}

void TWinControl::TrackScrollBar(UINT msg, const TPoint& p) {
    if (FTrack.Bar < 0) return;
    bool vertical = FTrack.Bar == SB_VERT;
    UINT scroll = vertical ? WM_VSCROLL : WM_HSCROLL;
    TWindowScrollBar& sb = ScrollBar(FTrack.Bar);
    if (msg == WM_MOUSEMOVE && FTrack.Part == SB_THUMBTRACK) {
        BarParts parts = PartsOf(ScrollBarRect(FTrack.Bar), vertical, sb, sb.Pos);
        int pos = PosAtThumbStart(parts, sb, (vertical ? p.Y : p.X) - FTrack.GrabOffset);
        if (pos == sb.TrackPos) return;
        sb.TrackPos = pos;
        InvalidateFrame();
        Perform(scroll, MAKEWPARAM(static_cast<WORD>(SB_THUMBTRACK), static_cast<WORD>(pos)), 0);
    } else if (msg == WM_MOUSEMOVE) {
        FTrack.Pointer = p;
    } else if (msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP) {
        Tracking ended = FTrack;
        FTrack = Tracking();
        if (ended.Part != SB_THUMBTRACK) KillTimer(FHandle, kScrollRepeatTimer);
        InvalidateFrame();
        if (ended.Part == SB_THUMBTRACK)
            Perform(scroll, MAKEWPARAM(static_cast<WORD>(SB_THUMBPOSITION), static_cast<WORD>(sb.TrackPos)), 0);
        Perform(scroll, static_cast<WPARAM>(SB_ENDSCROLL), 0);
    }
}
