// Mapping modes: the front turns the logical units of the mode in force into the coordinates its
// implementations take, so the raster canvas, the printer's pages and the metafile recorder all
// draw in pixels. A logical point p lands on the device at (p - window origin) x scale + viewport
// origin; the scale is the device's resolution over the mode's units per inch, negative in y for
// every mode but MM_TEXT.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/ui/Graphics.h"
#include "platform/ui/backend/Canvas.h"

using ui::HeldCoord;

namespace {

// Logical units per inch of a mode; 0 for MM_TEXT and the modes the layer has not.
int64_t UnitsPerInch(int mode) {
    switch (mode) {
        case MM_LOMETRIC: return 254;
        case MM_HIMETRIC: return 2540;
        case MM_LOENGLISH: return 100;
        case MM_HIENGLISH: return 1000;
        case MM_TWIPS: return 1440;
        default: return 0;
    }
}

// a / b rounded to the nearest integer, halves away from zero; b > 0.
int64_t RoundDiv(int64_t a, int64_t b) { return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b); }

}  // namespace

int TCanvas::PixelsPerInchX() const { return FDc->dpiX; }
int TCanvas::PixelsPerInchY() const { return FDc->dpiY; }

void TCanvas::SetPixelsPerInch(int x, int y) {
    if (x <= 0 || y <= 0 || (x == FDc->dpiX && y == FDc->dpiY)) return;
    FDc->dpiX = x;
    FDc->dpiY = y;
    MappingChanged();
}

void TCanvas::MappingChanged() {
    ++FDc->penVersion;
    ++FDc->fontVersion;
}

bool TCanvas::Mapped() const { return FDc->state.mapMode != MM_TEXT; }

// Logical to device: x and y of a mapped mode (the window origin taken off, scaled, rounded),
// before the viewport origin is added.
static int64_t ScaledX(const TCanvasDc& dc, int x) {
    return RoundDiv((int64_t{x} - dc.state.windowOrg.X) * dc.dpiX, UnitsPerInch(dc.state.mapMode));
}
static int64_t ScaledY(const TCanvasDc& dc, int y) {
    return -RoundDiv((int64_t{y} - dc.state.windowOrg.Y) * dc.dpiY, UnitsPerInch(dc.state.mapMode));
}

TPoint TCanvas::MapPoint(TPoint p) const {
    if (!Mapped()) return p;
    // What, with the origins' offset added, lands on the device pixel.
    const TCanvasDc& dc = *FDc;
    return TPoint(HeldCoord(ScaledX(dc, p.X) + dc.state.windowOrg.X), HeldCoord(ScaledY(dc, p.Y) + dc.state.windowOrg.Y));
}

TRect TCanvas::MapRect(const TRect& r) const {
    if (!Mapped()) return r;
    TPoint a = MapPoint(TPoint(r.Left, r.Top)), b = MapPoint(TPoint(r.Right, r.Bottom));
    return TRect(a.X, a.Y, b.X, b.Y);
}

TRect TCanvas::MapBox(const TRect& r) const {
    if (!Mapped()) return r;
    TRect m = MapRect(r);
    return TRect(std::min(m.Left, m.Right), std::min(m.Top, m.Bottom), std::max(m.Left, m.Right), std::max(m.Top, m.Bottom));
}

TSize TCanvas::MapSize(TSize s) const {
    if (!Mapped()) return s;
    int64_t upi = UnitsPerInch(FDc->state.mapMode);
    return TSize(HeldCoord(RoundDiv(std::llabs(int64_t{s.cx}) * FDc->dpiX, upi)),
                 HeldCoord(RoundDiv(std::llabs(int64_t{s.cy}) * FDc->dpiY, upi)));
}

TSize TCanvas::LogicalSize(TSize s) const {
    if (!Mapped()) return s;
    int64_t upi = UnitsPerInch(FDc->state.mapMode);
    return TSize(HeldCoord(RoundDiv(std::llabs(int64_t{s.cx}) * upi, FDc->dpiX)),
                 HeldCoord(RoundDiv(std::llabs(int64_t{s.cy}) * upi, FDc->dpiY)));
}

// Logical to device and back before the layout mirrors x (the rounding as in MapPoint).
static TPoint DeviceUnmirrored(const TCanvasDc& dc, TPoint p, int64_t mirrorAt, bool mirrored) {
    const TCanvasDcState& s = dc.state;
    int64_t x, y;
    if (s.mapMode == MM_TEXT) {
        x = int64_t{p.X} - s.windowOrg.X + s.viewportOrg.X;
        y = int64_t{p.Y} - s.windowOrg.Y + s.viewportOrg.Y;
    } else {
        x = ScaledX(dc, p.X) + s.viewportOrg.X;
        y = ScaledY(dc, p.Y) + s.viewportOrg.Y;
    }
    if (mirrored) x = mirrorAt - x;
    return TPoint(HeldCoord(x), HeldCoord(y));
}

static TPoint LogicalOf(const TCanvasDc& dc, TPoint p, int64_t mirrorAt, bool mirrored) {
    const TCanvasDcState& s = dc.state;
    int64_t dx = (mirrored ? mirrorAt - p.X : int64_t{p.X}) - s.viewportOrg.X, dy = int64_t{p.Y} - s.viewportOrg.Y;
    if (s.mapMode != MM_TEXT) {
        int64_t upi = UnitsPerInch(s.mapMode);
        dx = RoundDiv(dx * upi, dc.dpiX);
        dy = -RoundDiv(dy * upi, dc.dpiY);
    }
    return TPoint(HeldCoord(dx + s.windowOrg.X), HeldCoord(dy + s.windowOrg.Y));
}

// A pixel x mirrored lands on 2A + W - 1 - x, an edge on 2A + W - x.
TPoint TCanvas::LogicalToDevice(TPoint p) const { return DeviceUnmirrored(*FDc, p, MirrorAxis() - 1, Mirrored()); }

TPoint TCanvas::DeviceToLogical(TPoint p) const { return LogicalOf(*FDc, p, MirrorAxis() - 1, Mirrored()); }

TRect TCanvas::LogicalToDeviceRect(const TRect& r) const {
    bool mirrored = Mirrored();
    int64_t axis = mirrored ? MirrorAxis() : 0;
    TPoint a = DeviceUnmirrored(*FDc, TPoint(r.Left, r.Top), axis, mirrored);
    TPoint z = DeviceUnmirrored(*FDc, TPoint(r.Right, r.Bottom), axis, mirrored);
    // Mirrored, the left edge lands on the right; a mode with y upwards turns the rows.
    if (mirrored) std::swap(a.X, z.X);
    if (Mapped()) return TRect(std::min(a.X, z.X), std::min(a.Y, z.Y), std::max(a.X, z.X), std::max(a.Y, z.Y));
    return TRect(a.X, a.Y, z.X, z.Y);
}

TRect TCanvas::DeviceToLogicalRect(const TRect& r) const {
    bool mirrored = Mirrored();
    int64_t axis = mirrored ? MirrorAxis() : 0;
    // The device's left edge is the logical right one under a right-to-left layout.
    TPoint a = LogicalOf(*FDc, TPoint(mirrored ? r.Right : r.Left, r.Top), axis, mirrored);
    TPoint z = LogicalOf(*FDc, TPoint(mirrored ? r.Left : r.Right, r.Bottom), axis, mirrored);
    return TRect(a.X, a.Y, z.X, z.Y);
}

int TCanvas::DevicePenWidth() const { return MapSize(TSize(FPen->Width(), 0)).cx; }

int TCanvas::DeviceFontHeight() const {
    int h = FFont->Height();
    if (!Mapped() || h == 0) return h;
    // A height never vanishes: 0 would be the default size.
    int d = std::max(1, MapSize(TSize(0, h)).cy);
    return h < 0 ? -d : d;
}

// The calls on a handle ---------------------------------------------------------------------------

int SetMapMode(HDC dc, int mode) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || (mode != MM_TEXT && UnitsPerInch(mode) == 0)) return 0;
    int old = c->Dc().state.mapMode;
    if (old != mode) {
        c->Dc().state.mapMode = mode;
        c->MappingChanged();
    }
    return old;
}

int GetMapMode(HDC dc) {
    TCanvas* c = TCanvas::FromHandle(dc);
    return c ? c->Dc().state.mapMode : 0;
}

BOOL LPtoDP(HDC dc, TPoint* points, int count) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !points || count < 0) return FALSE_;
    for (int i = 0; i < count; ++i) points[i] = c->LogicalToDevice(points[i]);
    return TRUE_;
}

BOOL DPtoLP(HDC dc, TPoint* points, int count) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !points || count < 0) return FALSE_;
    for (int i = 0; i < count; ++i) points[i] = c->DeviceToLogical(points[i]);
    return TRUE_;
}
