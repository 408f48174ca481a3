// Regions and clipping: region objects and their algebra, the clip region of a canvas, and
// region fills. Regions are the layer's own (Region.h); only the pixels of curved and polygonal
// shapes come from the backend.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/ui/backend/Backend.h"
#include "platform/ui/GdiObjects.h"
#include "platform/ui/backend/Canvas.h"

using ui::HeldCoord;
using namespace ui::gdi;

namespace {

// No clip region: the whole plane (the surface limits it when drawing).
ui::Region Everything() { return ui::Region(TRect(-(1 << 28), -(1 << 28), 1 << 28, 1 << 28)); }

// A rectangle given by any two corners, held to the canvas's range.
TRect Normalised(int l, int t, int r, int b) {
    l = HeldCoord(l), t = HeldCoord(t), r = HeldCoord(r), b = HeldCoord(b);
    return TRect(std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b));
}

// A rectangle as the calls take it, held so that its size fits an int; reversed ones are empty.
TRect Held(const TRect& r) { return TRect(HeldCoord(r.Left), HeldCoord(r.Top), HeldCoord(r.Right), HeldCoord(r.Bottom)); }

HRGN ShapeRegion(ui::RegionShape shape) {
    return NewRegion(ui::Region::FromRects(ui::GetBackend().RegionRects(shape)));
}

// Sets the canvas's clip and tells it; answers the type of what it may now touch.
int SetClip(TCanvas* c, bool has, ui::Region clip) {
    TCanvasDcState& s = c->Dc().state;
    s.hasClip = has;
    if (has) s.clip = std::move(clip);
    c->ClipMoved();
    c->ClipChanged();
    return RegionType(c->Visible());
}

// The region of a handle, copied out under the registry's lock.
bool RegionOf(HRGN rgn, ui::Region& out) {
    Access access;
    GdiObject* o = FindObject(access, rgn, GdiObject::Region);
    if (!o) return false;
    out = o->region;
    return true;
}

}  // namespace

HRGN CreateRectRgn(int l, int t, int r, int b) { return NewRegion(ui::Region(Normalised(l, t, r, b))); }
HRGN CreateRectRgnIndirect(const TRect* r) {
    return r ? CreateRectRgn(r->Left, r->Top, r->Right, r->Bottom) : nullptr;
}
HRGN CreateEllipticRgn(int l, int t, int r, int b) {
    ui::RegionShape shape;
    shape.kind = ui::RegionShape::Ellipse;
    shape.box = Normalised(l, t, r, b);
    return ShapeRegion(std::move(shape));
}
HRGN CreateEllipticRgnIndirect(const TRect* r) {
    return r ? CreateEllipticRgn(r->Left, r->Top, r->Right, r->Bottom) : nullptr;
}
HRGN CreateRoundRectRgn(int l, int t, int r, int b, int ew, int eh) {
    ui::RegionShape shape;
    shape.kind = ui::RegionShape::RoundRect;
    shape.box = Normalised(l, t, r, b);
    shape.corner = TSize(ew, eh);
    return ShapeRegion(std::move(shape));
}
HRGN CreatePolygonRgn(const TPoint* points, int count, int fillMode) {
    if (!points || count < 3) return nullptr;
    ui::RegionShape shape;
    shape.kind = ui::RegionShape::Polygon;
    shape.points.assign(points, points + count);
    shape.winding = fillMode == WINDING;
    return ShapeRegion(std::move(shape));
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
    Access access;
    GdiObject* d = FindObject(access, dst, GdiObject::Region);
    GdiObject* a = FindObject(access, src1, GdiObject::Region);
    GdiObject* b = mode == RGN_COPY ? nullptr : FindObject(access, src2, GdiObject::Region);
    if (!d || !a || (mode != RGN_COPY && !b)) return ERROR;
    switch (mode) {
        case RGN_AND: d->region = a->region & b->region; break;
        case RGN_OR: d->region = a->region | b->region; break;
        case RGN_XOR: d->region = a->region ^ b->region; break;
        case RGN_DIFF: d->region = a->region - b->region; break;
        case RGN_COPY: d->region = a->region; break;
        default: return ERROR;
    }
    return RegionType(d->region);
}

BOOL OffsetRgn(HRGN rgn, int dx, int dy) {
    Access access;
    GdiObject* o = FindObject(access, rgn, GdiObject::Region);
    if (!o) return ERROR;
    o->region = o->region.Translated(dx, dy);
    return RegionType(o->region);
}
BOOL PtInRegion(HRGN rgn, int x, int y) {
    Access access;
    GdiObject* o = FindObject(access, rgn, GdiObject::Region);
    return o && o->region.Contains(x, y) ? TRUE_ : FALSE_;
}
BOOL RectInRegion(HRGN rgn, const TRect* rect) {
    Access access;
    GdiObject* o = FindObject(access, rgn, GdiObject::Region);
    return o && rect && o->region.Intersects(Held(*rect)) ? TRUE_ : FALSE_;
}
int GetRgnBox(HRGN rgn, TRect* rect) {
    Access access;
    GdiObject* o = FindObject(access, rgn, GdiObject::Region);
    if (!o || !rect) return ERROR;
    *rect = o->region.Bounds();
    return RegionType(o->region);
}
BOOL EqualRgn(HRGN a, HRGN b) {
    Access access;
    GdiObject* x = FindObject(access, a, GdiObject::Region);
    GdiObject* y = FindObject(access, b, GdiObject::Region);
    return x && y && x->region == y->region ? TRUE_ : FALSE_;
}

// Clipping -------------------------------------------------------------------------------------

int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return ERROR;
    ui::Region r;
    if (!rgn) return mode == RGN_COPY ? SetClip(c, false, {}) : ERROR;
    if (!RegionOf(rgn, r)) return ERROR;
    const TCanvasDcState& s = c->Dc().state;
    ui::Region current = s.hasClip ? s.clip : Everything();
    switch (mode) {
        case RGN_AND: r = current & r; break;
        case RGN_OR: r = current | r; break;
        case RGN_XOR: r = current ^ r; break;
        case RGN_DIFF: r = current - r; break;
        case RGN_COPY: break;
        default: return ERROR;
    }
    return SetClip(c, true, std::move(r));
}

int SelectClipRgn(HDC dc, HRGN rgn) { return ExtSelectClipRgn(dc, rgn, RGN_COPY); }

int GetClipRgn(HDC dc, HRGN rgn) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return -1;
    Access access;
    GdiObject* o = FindObject(access, rgn, GdiObject::Region);
    if (!o) return -1;
    if (!c->Dc().state.hasClip) return 0;
    o->region = c->Dc().state.clip;
    return 1;
}

std::vector<TRect> GetClipRegionRects(HDC dc, bool* clipped) {
    TCanvas* c = TCanvas::FromHandle(dc);
    bool has = c && c->Dc().state.hasClip;
    if (clipped) *clipped = has;
    return has ? c->Dc().state.clip.Rects() : std::vector<TRect>();
}

int GetClipBox(HDC dc, TRect* rect) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !rect) return ERROR;
    const ui::Region& vis = c->Visible();
    if (vis.IsEmpty()) {
        *rect = TRect();
        return NULLREGION;
    }
    // The corners in logical units: in a mode with y upwards the top lies above the bottom; under
    // a right-to-left layout the device's right edge is the logical left one.
    *rect = c->DeviceToLogicalRect(vis.Bounds());
    return RegionType(vis);
}

static int ClipWithRect(HDC dc, int l, int t, int r, int b, bool exclude) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return ERROR;
    // Taken as the device has it, whichever way the mode turns y and the layout x.
    ui::Region dev(c->LogicalToDeviceRect(Held(TRect(l, t, r, b))));
    const TCanvasDcState& s = c->Dc().state;
    ui::Region current = s.hasClip ? s.clip : Everything();
    return SetClip(c, true, exclude ? current - dev : current & dev);
}
int IntersectClipRect(HDC dc, int l, int t, int r, int b) { return ClipWithRect(dc, l, t, r, b, false); }
int ExcludeClipRect(HDC dc, int l, int t, int r, int b) { return ClipWithRect(dc, l, t, r, b, true); }

// Region fills -----------------------------------------------------------------------------------

BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush) {
    TCanvas* c = TCanvas::FromHandle(dc);
    TColor color;
    ui::Region r;
    if (!c || !BrushColor(brush, color) || !RegionOf(rgn, r)) return FALSE_;
    for (const TRect& q : r.Rects()) c->FillSolid(q, color);
    return TRUE_;
}

BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int width, int height) {
    TCanvas* c = TCanvas::FromHandle(dc);
    TColor color;
    ui::Region r;
    if (!c || !BrushColor(brush, color) || !RegionOf(rgn, r)) return FALSE_;
    // The frame is the region minus the region shrunk by the frame's width and height; beyond half
    // the region's size nothing is left inside.
    if (width < 0 || height < 0) return TRUE_;
    TRect bound = r.Bounds();
    width = std::clamp(width, 0, bound.Width() / 2 + 1);
    height = std::clamp(height, 0, bound.Height() / 2 + 1);
    ui::Region inner = r;
    for (int dx = -width; dx <= width; ++dx)
        for (int dy = -height; dy <= height; dy += (std::abs(dx) == width ? 1 : 2 * std::max(1, height)))
            inner = inner & r.Translated(dx, dy);
    ui::Region frame = r - inner;
    for (const TRect& q : frame.Rects()) c->FillSolid(q, color);
    return TRUE_;
}
