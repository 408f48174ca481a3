// The window calls on the windows of windowed controls. Each finds the control behind the handle
// and works on its frame, invalid part, backing image and scroll bars.
#include "platform/ui/WinUser.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/rtl/Handles.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiObjects.h"
#include "platform/ui/WindowLayers.h"

namespace {

// The DCs handed out by BeginPaint, GetDC and GetWindowDC, until EndPaint or ReleaseDC.
struct OpenDc {
    TWinControl* window;
    std::unique_ptr<TControlCanvas> canvas;
};
std::map<HDC, OpenDc>& OpenDcs() {
    static std::map<HDC, OpenDc> dcs;
    return dcs;
}

HDC Open(TWinControl* w, std::unique_ptr<TControlCanvas> canvas) {
    HDC dc = canvas->Handle();
    OpenDcs()[dc] = OpenDc{w, std::move(canvas)};
    return dc;
}

bool Close(HWND hwnd, HDC dc) {
    auto& dcs = OpenDcs();
    auto it = dcs.find(dc);
    if (it == dcs.end() || (hwnd && it->second.window != FindControl(hwnd))) return false;
    dcs.erase(it);
    return true;
}

TWinControl* Live(HWND hwnd) {
    TWinControl* w = FindControl(hwnd);
    return w && w->HandleAllocated() ? w : nullptr;
}

}  // namespace

namespace ui::detail {
// ControlsPaintTo.cpp: while PaintTo draws a window, its DCs are the target's.
HDC RedirectedDc(TWinControl* w, bool client);
bool ReleaseRedirectedDc(TWinControl* w, HDC dc);

// A window going away takes the DCs still open on it with it.
void ReleaseWindowDcs(TWinControl* w) {
    std::erase_if(OpenDcs(), [w](const auto& item) { return item.second.window == w; });
}
}  // namespace ui::detail

// The control's private state, for the calls below.
struct WindowApi {
    static ui::InvalidArea& Dirty(TWinControl& w) { return w.FDirty; }
    static bool& Erase(TWinControl& w) { return w.FErase; }
    static bool& FrameDirty(TWinControl& w) { return w.FFrameDirty; }
    static bool Painting(TWinControl& w) { return w.FPainting; }
    static DWORD& Style(TWinControl& w) { return w.FStyle; }
    static DWORD& ExStyle(TWinControl& w) { return w.FExStyle; }
    static const String& ClassName(TWinControl& w) { return w.FWinClassName; }
    static TWindowScrollBar& Bar(TWinControl& w, int bar) { return w.ScrollBar(bar); }
    static bool Tracking(TWinControl& w, int bar) { return w.FTrack.Bar == bar; }
    static void Invalidate(TWinControl& w, const TRect& r, bool erase) { w.InvalidateClient(r, erase); }
    static TPoint WindowOrigin(TWinControl& w) { return w.WindowOrigin(); }
    static void StylesChanged(TWinControl& w) {
        if (w.Peer()) w.Peer()->SetStyles(w.FStyle, w.FExStyle);
    }
    static void DestroyTree(TWinControl& w) { w.DestroyHandleTree(); }
};

void ui::detail::DestroyWindowOf(TWinControl* window) { WindowApi::DestroyTree(*window); }

HWND GetActiveWindow() {
    TWinControl* w = ui::ActiveWindow();
    return w && w->HandleAllocated() ? w->Handle() : nullptr;
}

LONG GetWindowLong(HWND hwnd, int index) {
    TWinControl* w = Live(hwnd);
    if (!w) return 0;
    if (index == GWL_STYLE) return static_cast<LONG>(WindowApi::Style(*w) | (w->Enabled() ? 0 : WS_DISABLED));
    if (index == GWL_EXSTYLE) return static_cast<LONG>(WindowApi::ExStyle(*w));
    return 0;
}

LONG SetWindowLong(HWND hwnd, int index, LONG value) {
    TWinControl* w = Live(hwnd);
    if (!w || (index != GWL_STYLE && index != GWL_EXSTYLE)) return 0;
    DWORD& field = index == GWL_STYLE ? WindowApi::Style(*w) : WindowApi::ExStyle(*w);
    auto old = static_cast<LONG>(index == GWL_STYLE ? GetWindowLong(hwnd, GWL_STYLE) : static_cast<LONG>(field));
    DWORD oldStyle = WindowApi::Style(*w), oldExStyle = WindowApi::ExStyle(*w);
    field = static_cast<DWORD>(value);
    WindowApi::StylesChanged(*w);
    ui::detail::LayersStylesChanged(w, oldStyle, oldExStyle);
    return old;
}

int GetClassName(HWND hwnd, char16_t* buffer, int size) {
    TWinControl* w = Live(hwnd);
    if (!w || !buffer || size <= 0) return 0;
    const String& name = WindowApi::ClassName(*w);
    int n = std::min(static_cast<int>(name.size()), size - 1);
    std::copy_n(name.data(), n, buffer);
    buffer[n] = 0;
    return n;
}

String GetClassName(HWND hwnd) {
    TWinControl* w = Live(hwnd);
    return w ? WindowApi::ClassName(*w) : String();
}

BOOL GetWindowRect(HWND hwnd, TRect* rect) {
    TWinControl* w = Live(hwnd);
    if (!w || !rect) return FALSE_;
    TPoint o = WindowApi::WindowOrigin(*w);
    *rect = Bounds(o.X, o.Y, w->Width(), w->Height());
    return TRUE_;
}

BOOL GetClientRect(HWND hwnd, TRect* rect) {
    TWinControl* w = Live(hwnd);
    if (!w || !rect) return FALSE_;
    *rect = w->ClientRect();
    return TRUE_;
}

BOOL ClientToScreen(HWND hwnd, TPoint* point) {
    TWinControl* w = Live(hwnd);
    if (!w || !point) return FALSE_;
    *point = w->ClientToScreen(*point);
    return TRUE_;
}

BOOL ScreenToClient(HWND hwnd, TPoint* point) {
    TWinControl* w = Live(hwnd);
    if (!w || !point) return FALSE_;
    *point = w->ScreenToClient(*point);
    return TRUE_;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    TWinControl* w = Live(hwnd);
    if (!w) return FALSE_;
    if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
        if (flags & SWP_NOMOVE) {
            x = w->Left();
            y = w->Top();
        }
        if (flags & SWP_NOSIZE) {
            cx = w->Width();
            cy = w->Height();
        }
        w->SetBounds(x, y, cx, cy);
    }
    if (flags & SWP_FRAMECHANGED) w->FrameChanged();
    bool top = ui::TopLevelWindow(w) == w;
    if (!(flags & SWP_NOZORDER)) {
        // The topmost layer is a style of a top-level window; HWND_NOTOPMOST takes it back.
        if (top && (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)) {
            DWORD& ex = WindowApi::ExStyle(*w);
            DWORD wanted = insertAfter == HWND_TOPMOST ? ex | WS_EX_TOPMOST : ex & ~WS_EX_TOPMOST;
            if (wanted != ex) {
                ex = wanted;
                WindowApi::StylesChanged(*w);
            }
        }
        if (insertAfter == HWND_BOTTOM) w->SendToBack();
        else if (insertAfter != HWND_NOTOPMOST) w->BringToFront();
    }
    if (flags & SWP_SHOWWINDOW) w->SetVisible(true);
    if (flags & SWP_HIDEWINDOW) w->SetVisible(false);
    // Without SWP_NOACTIVATE a shown top-level window takes the activation.
    if (top && !(flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) && w->Visible()) ui::ActivateWindow(w);
    return TRUE_;
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
    TWinControl* w = Live(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE_;
    }
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
    switch (cmdShow) {
        case SW_HIDE: flags |= SWP_HIDEWINDOW; break;
        case SW_SHOWNORMAL:
        case SW_SHOW: flags |= SWP_SHOWWINDOW; break;
        case SW_SHOWNOACTIVATE:
        case SW_SHOWNA: flags |= SWP_SHOWWINDOW | SWP_NOACTIVATE; break;
        default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE_;
    }
    bool was = w->Visible();
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags);
    return was ? TRUE_ : FALSE_;
}

BOOL InvalidateRect(HWND hwnd, const TRect* rect, BOOL erase) {
    TWinControl* w = Live(hwnd);
    if (!w) return FALSE_;
    WindowApi::Invalidate(*w, rect ? *rect : w->ClientRect(), erase != FALSE_);
    return TRUE_;
}

BOOL ValidateRect(HWND hwnd, const TRect* rect) {
    TWinControl* w = Live(hwnd);
    if (!w) return FALSE_;
    ui::InvalidArea& dirty = WindowApi::Dirty(*w);
    if (rect) dirty.Subtract(*rect);
    else dirty.Clear();
    if (dirty.IsEmpty()) WindowApi::Erase(*w) = false;
    return TRUE_;
}

BOOL UpdateWindow(HWND hwnd) {
    TWinControl* w = Live(hwnd);
    if (!w) return FALSE_;
    w->Update();
    return TRUE_;
}

BOOL GetUpdateRect(HWND hwnd, TRect* rect, BOOL erase) {
    TWinControl* w = Live(hwnd);
    if (!w) return FALSE_;
    const ui::InvalidArea& dirty = WindowApi::Dirty(*w);
    if (rect) *rect = dirty.Bounds();
    if (erase && !dirty.IsEmpty()) WindowApi::Erase(*w) = true;
    return dirty.IsEmpty() ? FALSE_ : TRUE_;
}

int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase) {
    TWinControl* w = Live(hwnd);
    if (!w) return ERROR;
    const ui::InvalidArea& dirty = WindowApi::Dirty(*w);
    if (erase && !dirty.IsEmpty()) WindowApi::Erase(*w) = true;
    // Made from the rectangles, then copied: the region takes the banded form.
    HRGN made = CreateRectRgn(0, 0, 0, 0);
    for (const TRect& r : dirty.Rects()) {
        HRGN one = CreateRectRgnIndirect(&r);
        CombineRgn(made, made, one, RGN_OR);
        DeleteObject(one);
    }
    int type = CombineRgn(region, made, nullptr, RGN_COPY);
    DeleteObject(made);
    return type;
}

BOOL RedrawWindow(HWND hwnd, const TRect* rect, HRGN region, UINT flags) {
    TWinControl* w = Live(hwnd);
    if (!w) return FALSE_;
    // The rectangles of the region, not its bounds: validating them must not take in what lies
    // between its parts.
    std::vector<TRect> parts{w->ClientRect()};
    if (rect) {
        parts = {*rect};
    } else if (region) {
        ui::gdi::Access access;
        if (ui::gdi::GdiObject* o = ui::gdi::FindObject(access, region, ui::gdi::GdiObject::Region)) parts = o->region.Rects();
    }
    if (flags & RDW_INVALIDATE) {
        for (const TRect& part : parts) WindowApi::Invalidate(*w, part, (flags & RDW_ERASE) != 0);
        if (flags & RDW_FRAME) w->InvalidateFrame();
    }
    if (flags & RDW_VALIDATE) {
        if (rect || region)
            for (const TRect& part : parts) ValidateRect(hwnd, &part);
        else
            ValidateRect(hwnd, nullptr);
        if (flags & RDW_NOFRAME) WindowApi::FrameDirty(*w) = false;
    }
    if (flags & RDW_ALLCHILDREN) {
        for (int i = 0; i < w->ControlCount(); ++i)
            if (auto* child = dynamic_cast<TWinControl*>(w->Controls(i)); child && child->HandleAllocated())
                RedrawWindow(child->Handle(), nullptr, nullptr, flags);
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) w->Update();
    return TRUE_;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    TWinControl* w = Live(hwnd);
    if (w && ps) {
        // Drawn by PaintTo: the whole client area, erased, and the window's invalid part kept.
        if (HDC dc = ui::detail::RedirectedDc(w, true)) {
            *ps = PAINTSTRUCT{dc, FALSE_, w->ClientRect()};
            ps->fErase = w->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0 ? TRUE_ : FALSE_;
            return dc;
        }
    }
    if (!w || !ps || !w->BackingImage()) return nullptr;
    ui::Region invalid = WindowApi::Dirty(*w).ToRegion();
    TRect part = invalid.Bounds();
    bool erase = WindowApi::Erase(*w);
    WindowApi::Dirty(*w).Clear();
    WindowApi::Erase(*w) = false;
    auto canvas = std::make_unique<TControlCanvas>(w);
    canvas->UpdateTarget(&part);
    // The pass paints the invalid rectangles only, not the space between them.
    TRect area = w->ClientArea();
    ui::Region device = invalid.Translated(area.Left, area.Top);
    canvas->SetDeviceClipRegion(&device);
    canvas->Lock();
    HDC dc = Open(w, std::move(canvas));
    *ps = PAINTSTRUCT{dc, FALSE_, part};
    if (erase && !part.IsEmpty()) ps->fErase = w->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0 ? TRUE_ : FALSE_;
    return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (!ps) return FALSE_;
    if (ui::detail::ReleaseRedirectedDc(Live(hwnd), ps->hdc)) return TRUE_;
    auto it = OpenDcs().find(ps->hdc);
    if (it != OpenDcs().end()) it->second.canvas->Unlock();
    return Close(hwnd, ps->hdc) ? TRUE_ : FALSE_;
}

HDC GetDC(HWND hwnd) {
    TWinControl* w = Live(hwnd);
    if (HDC dc = w ? ui::detail::RedirectedDc(w, true) : nullptr) return dc;
    if (!w || !w->BackingImage()) return nullptr;
    auto canvas = std::make_unique<TControlCanvas>(w);
    canvas->UpdateTarget();
    return Open(w, std::move(canvas));
}

HDC GetWindowDC(HWND hwnd) {
    TWinControl* w = Live(hwnd);
    if (HDC dc = w ? ui::detail::RedirectedDc(w, false) : nullptr) return dc;
    if (!w || !w->BackingImage()) return nullptr;
    auto canvas = std::make_unique<TControlCanvas>(w);
    canvas->UpdateTarget(nullptr, true);
    return Open(w, std::move(canvas));
}

int ReleaseDC(HWND hwnd, HDC dc) { return ui::detail::ReleaseRedirectedDc(Live(hwnd), dc) || Close(hwnd, dc) ? 1 : 0; }

// ---------------------------------------------------------------------------------------------
// Scroll bars

namespace {

bool WindowBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }
DWORD StyleBit(int bar) { return bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL; }

// Shows or hides a bar; true when the frame changed.
bool ShowBar(TWinControl& w, int bar, bool show) {
    DWORD& style = WindowApi::Style(w);
    DWORD bit = StyleBit(bar);
    if (((style & bit) != 0) == show) return false;
    style = show ? style | bit : style & ~bit;
    w.FrameChanged();
    return true;
}

int ClampPos(const TWindowScrollBar& sb, int pos) {
    int maxPos = sb.Max - std::max(0, static_cast<int>(sb.Page) - 1);
    return std::max(sb.Min, std::min(pos, std::max(sb.Min, maxPos)));
}

// A bar is needed while its range holds more than a page.
void ShowIfNeeded(TWinControl& w, int bar) {
    TWindowScrollBar& sb = WindowApi::Bar(w, bar);
    int64_t range = static_cast<int64_t>(sb.Max) - sb.Min + 1;
    bool needed = sb.Max > sb.Min && (sb.Page == 0 || static_cast<int64_t>(sb.Page) < range);
    if (needed) {
        if (sb.Disabled == ESB_DISABLE_BOTH && sb.KeepWhenUnneeded) sb.Disabled = ESB_ENABLE_BOTH;
        ShowBar(w, bar, true);
    } else if (sb.KeepWhenUnneeded) {
        sb.Disabled = ESB_DISABLE_BOTH;
        ShowBar(w, bar, true);
    } else {
        ShowBar(w, bar, false);
    }
}

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw) {
    TWinControl* w = Live(hwnd);
    if (!w || !info || !WindowBar(bar)) return 0;
    TWindowScrollBar& sb = WindowApi::Bar(*w, bar);
    if (info->fMask & SIF_RANGE) {
        sb.Min = info->nMin;
        sb.Max = std::max(info->nMin, info->nMax);
    }
    if (info->fMask & SIF_PAGE) {
        int64_t range = static_cast<int64_t>(sb.Max) - sb.Min + 1;
        sb.Page = static_cast<UINT>(std::min<int64_t>(info->nPage, range));
    }
    if (info->fMask & SIF_POS) sb.Pos = info->nPos;
    sb.Pos = ClampPos(sb, sb.Pos);
    sb.KeepWhenUnneeded = (info->fMask & SIF_DISABLENOSCROLL) != 0;
    if (info->fMask & (SIF_RANGE | SIF_PAGE)) ShowIfNeeded(*w, bar);
    if (redraw) w->InvalidateFrame();
    return sb.Pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
    TWinControl* w = Live(hwnd);
    if (!w || !info || !WindowBar(bar)) return FALSE_;
    const TWindowScrollBar& sb = WindowApi::Bar(*w, bar);
    if (info->fMask & SIF_RANGE) {
        info->nMin = sb.Min;
        info->nMax = sb.Max;
    }
    if (info->fMask & SIF_PAGE) info->nPage = sb.Page;
    if (info->fMask & SIF_POS) info->nPos = sb.Pos;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = WindowApi::Tracking(*w, bar) ? sb.TrackPos : sb.Pos;
    return TRUE_;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
    TWinControl* w = Live(hwnd);
    if (!w || !WindowBar(bar)) return 0;
    TWindowScrollBar& sb = WindowApi::Bar(*w, bar);
    int old = sb.Pos;
    sb.Pos = ClampPos(sb, pos);
    if (redraw) w->InvalidateFrame();
    return old;
}

int GetScrollPos(HWND hwnd, int bar) {
    TWinControl* w = Live(hwnd);
    if (!w || !WindowBar(bar)) return 0;
    return WindowApi::Bar(*w, bar).Pos;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    info.nMin = minPos;
    info.nMax = maxPos;
    return Live(hwnd) && WindowBar(bar) ? (SetScrollInfo(hwnd, bar, &info, redraw), TRUE_) : FALSE_;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
    TWinControl* w = Live(hwnd);
    if (!w || !WindowBar(bar)) return FALSE_;
    if (minPos) *minPos = WindowApi::Bar(*w, bar).Min;
    if (maxPos) *maxPos = WindowApi::Bar(*w, bar).Max;
    return TRUE_;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
    TWinControl* w = Live(hwnd);
    if (!w || (bar != SB_BOTH && !WindowBar(bar))) return FALSE_;
    if (bar == SB_HORZ || bar == SB_BOTH) ShowBar(*w, SB_HORZ, show != FALSE_);
    if (bar == SB_VERT || bar == SB_BOTH) ShowBar(*w, SB_VERT, show != FALSE_);
    return TRUE_;
}

BOOL EnableScrollBar(HWND hwnd, int bar, UINT arrows) {
    TWinControl* w = Live(hwnd);
    if (!w || (bar != SB_BOTH && !WindowBar(bar))) return FALSE_;
    if (bar == SB_HORZ || bar == SB_BOTH) WindowApi::Bar(*w, SB_HORZ).Disabled = arrows & ESB_DISABLE_BOTH;
    if (bar == SB_VERT || bar == SB_BOTH) WindowApi::Bar(*w, SB_VERT).Disabled = arrows & ESB_DISABLE_BOTH;
    w->InvalidateFrame();
    return TRUE_;
}

BOOL GetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO* info) {
    TWinControl* w = Live(hwnd);
    if (!w || !info || info->cbSize != sizeof(SCROLLBARINFO) || (idObject != OBJID_VSCROLL && idObject != OBJID_HSCROLL))
        return FALSE_;
    int bar = idObject == OBJID_HSCROLL ? SB_HORZ : SB_VERT;
    UINT disabled = WindowApi::Bar(*w, bar).Disabled;
    for (DWORD& state : info->rgstate) state = 0;
    if (!(WindowApi::Style(*w) & StyleBit(bar))) info->rgstate[0] |= STATE_SYSTEM_INVISIBLE;
    if ((disabled & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH) info->rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
    if (disabled & ESB_DISABLE_LTUP) info->rgstate[1] |= STATE_SYSTEM_UNAVAILABLE;
    if (disabled & ESB_DISABLE_RTDN) info->rgstate[5] |= STATE_SYSTEM_UNAVAILABLE;
    return TRUE_;
}

namespace {

// Moves a part of a window's image to another place of the same size. The backing images are
// 32 bits a pixel: their rows move as bytes, in the order that never reads a row already
// overwritten; other formats go through a copy.
void MoveImage(TBitmap& image, const TRect& source, const TRect& dest) {
    TPixelFormat format = image.PixelFormat();
    if (format == pfDevice || format == pf32bit) {
        size_t bytes = static_cast<size_t>(dest.Width()) * 4;
        auto move = [&](int y) {
            auto* to = static_cast<uint8_t*>(image.ScanLine(dest.Top + y)) + static_cast<size_t>(dest.Left) * 4;
            auto* from = static_cast<uint8_t*>(image.ScanLine(source.Top + y)) + static_cast<size_t>(source.Left) * 4;
            std::memmove(to, from, bytes);
        };
        if (dest.Top > source.Top)
            for (int y = dest.Height() - 1; y >= 0; --y) move(y);
        else
            for (int y = 0; y < dest.Height(); ++y) move(y);
        image.PixelsChanged();
        return;
    }
    TBitmap moved(dest.Width(), dest.Height());
    TCanvas* canvas = image.Canvas();
    moved.Canvas()->CopyRect(Rect(0, 0, dest.Width(), dest.Height()), canvas, source);
    canvas->CopyRect(dest, moved.Canvas(), Rect(0, 0, dest.Width(), dest.Height()));
}

}  // namespace

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip) {
    // Without a rectangle the child windows move with the image, as on the platform.
    UINT flags = SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr, flags) != ERROR ? TRUE_ : FALSE_;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip, HRGN updateRegion,
                   TRect* update, UINT flags) {
    TWinControl* w = Live(hwnd);
    if (!w || !w->BackingImage()) return ERROR;
    TRect client = w->ClientRect();
    TRect area = scroll ? IntersectRects(*scroll, client) : client;
    TRect limit = clip ? IntersectRects(*clip, client) : area;
    TRect dest = IntersectRects(IntersectRects(OffsetRectBy(area, dx, dy), limit), area);
    // The image moves: a copy of the source, then back at its new place.
    w->Update();  // what is pending is painted before it moves
    TRect frame = w->ClientArea();
    if (!dest.IsEmpty()) {
        TRect source = OffsetRectBy(dest, -dx, -dy);
        MoveImage(*w->BackingImage(), OffsetRectBy(source, frame.Left, frame.Top), OffsetRectBy(dest, frame.Left, frame.Top));
        if (w->Peer()) w->Peer()->Update(OffsetRectBy(dest, frame.Left, frame.Top));
    }
    // The uncovered strips: what of the area the moved image no longer covers.
    TRect exposed[2];
    TRect target = IntersectRects(area, limit);
    if (dx > 0) exposed[0] = TRect(target.Left, target.Top, std::min(target.Right, target.Left + dx), target.Bottom);
    if (dx < 0) exposed[0] = TRect(std::max(target.Left, target.Right + dx), target.Top, target.Right, target.Bottom);
    if (dy > 0) exposed[1] = TRect(target.Left, target.Top, target.Right, std::min(target.Bottom, target.Top + dy));
    if (dy < 0) exposed[1] = TRect(target.Left, std::max(target.Top, target.Bottom + dy), target.Right, target.Bottom);
    if (dest.IsEmpty()) exposed[0] = target;
    TRect all = UnionRects(exposed[0], exposed[1]);
    if (updateRegion) {
        HRGN strips = CreateRectRgn(0, 0, 0, 0);
        for (const TRect& r : exposed) {
            if (r.IsEmpty()) continue;
            HRGN one = CreateRectRgnIndirect(&r);
            CombineRgn(strips, strips, one, RGN_OR);
            DeleteObject(one);
        }
        CombineRgn(updateRegion, strips, nullptr, RGN_COPY);
        DeleteObject(strips);
    }
    if (update) *update = all;
    if (flags & SW_INVALIDATE)
        for (const TRect& r : exposed)
            if (!r.IsEmpty()) WindowApi::Invalidate(*w, r, (flags & SW_ERASE) != 0);
    if (flags & SW_SCROLLCHILDREN) {
        for (int i = 0; i < w->ControlCount(); ++i) {
            auto* child = dynamic_cast<TWinControl*>(w->Controls(i));
            if (child && (!scroll || IntersectRects(child->BoundsRect(), area) != TRect()))
                child->SetBounds(child->Left() + dx, child->Top() + dy, child->Width(), child->Height());
        }
    }
    return all.IsEmpty() ? NULLREGION : SIMPLEREGION;
}
