// The device state behind a canvas handle: text and background colours and modes, text
// alignment, origins, saved states and the device's capabilities.
#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/ui/Graphics.h"
#include "platform/ui/backend/Canvas.h"

namespace {
int Saturated(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }
COLORREF Rgb(COLORREF color) { return static_cast<COLORREF>(ColorToRGB(static_cast<TColor>(color))) & 0xFFFFFF; }

// A colour or mode of the device state, read or replaced after the font and brush are realised
// into it; fail is the answer for a handle that names no canvas.
template <class T>
T ReadState(HDC dc, T TCanvasDcState::*field, T fail) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return fail;
    c->Sync();
    return c->Dc().state.*field;
}
template <class T>
T ReplaceState(HDC dc, T TCanvasDcState::*field, T value, T fail) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return fail;
    c->Sync();
    return std::exchange(c->Dc().state.*field, value);
}

}  // namespace

int SetBkMode(HDC dc, int mode) {
    if (mode != OPAQUE && mode != TRANSPARENT) return 0;
    return ReplaceState(dc, &TCanvasDcState::bkMode, mode, 0);
}
int GetBkMode(HDC dc) { return ReadState(dc, &TCanvasDcState::bkMode, 0); }
COLORREF SetTextColor(HDC dc, COLORREF color) {
    return ReplaceState(dc, &TCanvasDcState::textColor, Rgb(color), CLR_INVALID);
}
COLORREF GetTextColor(HDC dc) { return ReadState(dc, &TCanvasDcState::textColor, CLR_INVALID); }
COLORREF SetBkColor(HDC dc, COLORREF color) { return ReplaceState(dc, &TCanvasDcState::bkColor, Rgb(color), CLR_INVALID); }
COLORREF GetBkColor(HDC dc) { return ReadState(dc, &TCanvasDcState::bkColor, CLR_INVALID); }

UINT SetTextAlign(HDC dc, UINT align) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return GDI_ERROR;
    return std::exchange(c->Dc().state.textAlign, align);
}

UINT GetTextAlign(HDC dc) {
    TCanvas* c = TCanvas::FromHandle(dc);
    return c ? c->Dc().state.textAlign : GDI_ERROR;
}

// Origins and saved states ------------------------------------------------------------------------

BOOL SetWindowOrgEx(HDC dc, int x, int y, TPoint* previous) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    if (previous) *previous = c->Dc().state.windowOrg;
    c->Dc().state.windowOrg = TPoint(x, y);
    return TRUE_;
}
BOOL GetWindowOrgEx(HDC dc, TPoint* origin) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !origin) return FALSE_;
    *origin = c->Dc().state.windowOrg;
    return TRUE_;
}
BOOL SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    if (previous) *previous = c->Dc().state.viewportOrg;
    c->Dc().state.viewportOrg = TPoint(x, y);
    return TRUE_;
}
BOOL GetViewportOrgEx(HDC dc, TPoint* origin) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !origin) return FALSE_;
    *origin = c->Dc().state.viewportOrg;
    return TRUE_;
}
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* previous) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    TPoint& o = c->Dc().state.viewportOrg;
    if (previous) *previous = o;
    o = TPoint(Saturated(int64_t{o.X} + dx), Saturated(int64_t{o.Y} + dy));
    return TRUE_;
}

DWORD SetLayout(HDC dc, DWORD layout) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || (layout & ~(LAYOUT_RTL | LAYOUT_BITMAPORIENTATIONPRESERVED))) return GDI_ERROR;
    return std::exchange(c->Dc().state.layout, layout);
}

DWORD GetLayout(HDC dc) {
    TCanvas* c = TCanvas::FromHandle(dc);
    return c ? c->Dc().state.layout : GDI_ERROR;
}

int SaveDC(HDC dc) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return 0;
    c->Sync();
    c->Dc().saved.push_back(c->Dc().state);
    return static_cast<int>(c->Dc().saved.size());
}

BOOL RestoreDC(HDC dc, int saved) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    TCanvasDc& d = c->Dc();
    int n = static_cast<int>(d.saved.size());
    int index = saved < 0 ? n + saved : saved - 1;  // -1 is the last one saved
    if (index < 0 || index >= n) return FALSE_;
    const TCanvasDcState& back = d.saved[static_cast<size_t>(index)];
    bool clipDiffers = d.state.hasClip != back.hasClip || !(d.state.clip == back.clip);
    bool mappingDiffers = d.state.mapMode != back.mapMode;
    d.state = back;
    d.saved.resize(static_cast<size_t>(index));
    c->ClipMoved();
    if (clipDiffers) c->ClipChanged();
    if (mappingDiffers) c->MappingChanged();
    return TRUE_;
}

int GetDeviceCaps(HDC dc, int index) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return 0;
    TBitmap* b = c->Bitmap();
    int w = b ? b->Width() : 0, h = b ? b->Height() : 0;
    // Millimetres of a length in pixels at the device's resolution, rounded.
    auto mm = [](int pixels, int dpi) { return static_cast<int>((int64_t{pixels} * 254 + dpi * 5) / (dpi * 10)); };
    switch (index) {
        case LOGPIXELSX: return c->PixelsPerInchX();
        case LOGPIXELSY: return c->PixelsPerInchY();
        case HORZRES: return w;
        case VERTRES: return h;
        case HORZSIZE: return mm(w, c->PixelsPerInchX());
        case VERTSIZE: return mm(h, c->PixelsPerInchY());
        // Every canvas draws on a bitmap, so every one blits and stretches.
        case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT | RC_STRETCHDIB;
        case PHYSICALWIDTH: return c->Dc().sheet.cx;
        case PHYSICALHEIGHT: return c->Dc().sheet.cy;
        case PHYSICALOFFSETX: return c->Dc().sheetOffset.X;
        case PHYSICALOFFSETY: return c->Dc().sheetOffset.Y;
        case BITSPIXEL: return b && b->Monochrome() ? 1 : 32;
        case PLANES: return 1;
        case NUMCOLORS: return -1;
        default: return 0;
    }
}
