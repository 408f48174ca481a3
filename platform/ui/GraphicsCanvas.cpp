// TCanvas, the front of every canvas: the device state, the pen, brush and font, the change
// events and the rules of the API. Each drawing goes to the canvas's implementation.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <thread>
#include <vector>

#include "platform/ui/backend/Backend.h"
#include "platform/ui/GdiHandles.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/backend/Canvas.h"
#include "platform/ui/backend/CanvasLog.h"
#include "platform/ui/backend/Fonts.h"

using ui::BrushShows;
using ui::HeldCoord;
using ui::PenShows;

namespace {
int Saturated(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// A logged call's points.
void LogPoints(ui::LoggedCall& log, std::initializer_list<TPoint> points) {
    if (ui::DrawCall* e = log.Entry()) e->points.assign(points);
}
}  // namespace

void ui::LoggedCall::Start(TCanvas& canvas, const char* name) {
    FCanvas = &canvas;
    if (canvas.FLogDepth++ > 0) return;  // inside a logged call: its own parts are not logged
    FEntry = &FCall;
    FCall.call = name;
    FCall.mapMode = canvas.FDc->state.mapMode;
    const TFont& f = *canvas.FFont;
    FCall.fontName = f.Name();
    FCall.fontHeight = f.Height();
    FCall.fontEscapement = f.Orientation();
    FCall.fontOrientation = f.CharOrientation();
    FCall.penColor = canvas.FPen->Color();
    FCall.penWidth = canvas.FPen->Width();
    FCall.penStyle = canvas.FPen->Style();
    FCall.brushColor = canvas.FBrush->Color();
    FCall.brushStyle = canvas.FBrush->Style();
}

void ui::LoggedCall::Finish() {
    --FCanvas->FLogDepth;
    if (FEntry && FCanvas->FLog) FCanvas->FLog->Add(std::move(FCall));
}

TCanvas::TCanvas() { Init(); }

TCanvas::TCanvas(TBitmap* target) {
    Init();
    SetBitmap(target);
}

void TCanvas::Init() {
    FFont = std::make_unique<TFont>();
    FPen = std::make_unique<TPen>();
    FBrush = std::make_unique<TBrush>();
    FDc = std::make_unique<TCanvasDc>();
    FFont->OnChange = [this](TPersistent*) {
        FDc->fontDirty = true;
        ++FDc->fontVersion;
    };
    FBrush->OnChange = [this](TPersistent*) {
        FDc->brushDirty = true;
        ++FDc->brushVersion;
    };
    FPen->OnChange = [this](TPersistent*) { ++FDc->penVersion; };
    FHandle = ui::gdi::Add(ui::gdi::Kind::Canvas, this);
}

TCanvas::~TCanvas() {
    FImpl.reset();  // lets go of the surface while it is still attached
    if (FTarget) FTarget->DetachCanvas(this);
    ui::gdi::Remove(FHandle);
}

void TCanvas::SetImplementation(std::unique_ptr<ui::CanvasImpl> impl) {
    if (FImpl && FLockCount > 0) FImpl->Unlock();
    FImpl = std::move(impl);
    if (FImpl && FLockCount > 0) FImpl->Lock();
}

ui::CanvasImpl& TCanvas::Impl() {
    if (!FImpl) {
        FImpl = ui::GetBackend().CreateRasterCanvas(*this);
        if (FLockCount > 0) FImpl->Lock();
    }
    return *FImpl;
}

TCanvas* TCanvas::FromHandle(HDC dc) { return ui::gdi::Find<TCanvas>(dc, ui::gdi::Kind::Canvas); }

void TCanvas::SetBitmap(TBitmap* target) {
    if (target == FTarget) return;
    TBitmap* old = FTarget;
    if (FTarget) FTarget->DetachCanvas(this);
    FTarget = target;
    if (FTarget) FTarget->AttachCanvas(this);
    if (FImpl) FImpl->SurfaceChanged(old);
    ClipMoved();
}

void TCanvas::Lock() {
    if (FLockCount++ == 0) Impl().Lock();
}

void TCanvas::Unlock() {
    if (FLockCount == 0) return;
    if (--FLockCount == 0 && FImpl) FImpl->Unlock();
}

void TCanvas::SetOrigin(int x, int y) { FDc->state.viewportOrg = TPoint(x, y); }

TCanvasOrientation TCanvas::CanvasOrientation() const {
    return (FDc->state.layout & LAYOUT_RTL) ? coRightToLeft : coLeftToRight;
}

void TCanvas::SetLayoutArea(int left, int width) {
    FDc->layoutLeft = width < 0 ? 0 : HeldCoord(left);
    FDc->layoutWidth = width < 0 ? -1 : HeldCoord(width);
}

bool TCanvas::Mirrored() const { return (FDc->state.layout & LAYOUT_RTL) != 0; }

int64_t TCanvas::MirrorAxis() const {
    const TCanvasDc& dc = *FDc;
    int64_t left = dc.layoutWidth < 0 ? 0 : dc.layoutLeft;
    int64_t width = dc.layoutWidth < 0 ? (FTarget ? FTarget->Width() : 0) : dc.layoutWidth;
    return 2 * left + width;
}

// An edge x as implementations take it lies on device edge d = x + offset; mirrored it lies on
// 2A + W - d in the area [A, A + W), which they take as 2A + W - 2 * offset - x.
int TCanvas::MirrorEdge(int64_t x) const { return HeldCoord(MirrorAxis() - 2 * int64_t{DeviceOffset().X} - x); }

// A pixel is the span from its edge to the next, so mirrored it starts one edge further left.
int TCanvas::MirrorPixel(int64_t x) const { return HeldCoord(int64_t{MirrorEdge(x)} - 1); }

TRect TCanvas::MirrorRect(const TRect& r) const { return TRect(MirrorEdge(r.Right), r.Top, MirrorEdge(r.Left), r.Bottom); }


// The mapping mode first, then the layout: it mirrors the device units the mode gives.
TPoint TCanvas::PlacedPixel(TPoint logical) const {
    TPoint p = MapPoint(logical);
    if (Mirrored()) p.X = MirrorPixel(p.X);
    return p;
}

TRect TCanvas::PlacedRect(const TRect& logical) const {
    TRect r = MapRect(logical);
    return Mirrored() ? MirrorRect(r) : r;
}

TRect TCanvas::PlacedBox(const TRect& logical) const {
    TRect r = MapBox(logical);
    return Mirrored() ? MirrorRect(r) : r;
}

const TPoint* TCanvas::PlacedPoints(const TPoint* points, int count, std::vector<TPoint>& copy) const {
    if (!Mapped() && !Mirrored()) return points;
    copy.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) copy[static_cast<size_t>(i)] = PlacedPixel(points[i]);
    return copy.data();
}

TPoint TCanvas::Origin() const { return FDc->state.viewportOrg; }

void TCanvas::SetDeviceClipRect(const TRect* rect) {
    TRect held = rect ? TRect(HeldCoord(rect->Left), HeldCoord(rect->Top), HeldCoord(rect->Right), HeldCoord(rect->Bottom)) : TRect();
    // The same limit again changes nothing: the clip an open painter holds stays valid.
    if (FDc->hasDeviceClip == (rect != nullptr) && FDc->deviceClip == held) return;
    FDc->hasDeviceClip = rect != nullptr;
    FDc->deviceClip = held;
    ClipMoved();
}

void TCanvas::SetDeviceClipRegion(const ui::Region* region) {
    if (!region && !FDc->hasDeviceRegion) return;
    FDc->hasDeviceRegion = region != nullptr;
    FDc->deviceRegion = region ? *region : ui::Region();
    ClipMoved();
}

HDC TCanvas::Handle() {
    Sync();
    return reinterpret_cast<HDC>(FHandle);
}

TPoint TCanvas::PenPos() const { return FDc->state.penPos; }
void TCanvas::SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }

TRect TCanvas::ClipRect() {
    TRect r;
    GetClipBox(reinterpret_cast<HDC>(FHandle), &r);
    return r;
}

void TCanvas::Refresh() {
    FDc->fontDirty = true;
    FDc->brushDirty = true;
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}
void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

void TCanvas::ClipMoved() { ++FDc->clipStamp; }

void TCanvas::ClipChanged() {
    if (FImpl) FImpl->ClipChanged();
}

void TCanvas::Sync() {
    TCanvasDc& dc = *FDc;
    if (dc.fontDirty) {
        dc.state.textColor = static_cast<COLORREF>(ColorToRGB(FFont->Color())) & 0xFFFFFF;
        dc.fontDirty = false;
    }
    if (dc.brushDirty) {
        dc.state.bkColor = static_cast<COLORREF>(ColorToRGB(FBrush->Color() == clNone ? clWhite : FBrush->Color())) & 0xFFFFFF;
        dc.state.bkMode = BrushShows(*FBrush) ? OPAQUE : TRANSPARENT;
        dc.brushDirty = false;
    }
}

TPoint TCanvas::DeviceOffset() const {
    const TCanvasDcState& s = FDc->state;
    return TPoint(HeldCoord(int64_t{s.viewportOrg.X} - s.windowOrg.X), HeldCoord(int64_t{s.viewportOrg.Y} - s.windowOrg.Y));
}

const ui::Region& TCanvas::Visible() {
    TCanvasDc& dc = *FDc;
    int w = FTarget ? FTarget->Width() : 0, h = FTarget ? FTarget->Height() : 0;
    if (dc.visibleStamp != dc.clipStamp || dc.visibleWidth != w || dc.visibleHeight != h) {
        ui::Region r;
        if (w > 0 && h > 0) {
            r = ui::Region(Rect(0, 0, w, h));
            if (dc.hasDeviceClip) r = r & ui::Region(dc.deviceClip);
            if (dc.hasDeviceRegion) r = r & dc.deviceRegion;
            if (dc.state.hasClip) r = r & dc.state.clip;
        }
        dc.visible = std::move(r);
        dc.visibleStamp = dc.clipStamp;
        dc.visibleWidth = w;
        dc.visibleHeight = h;
        ++dc.visibleVersion;
    }
    return dc.visible;
}

uint64_t TCanvas::VisibleVersion() {
    Visible();
    return FDc->visibleVersion;
}

const ui::FontFace& TCanvas::Face() {
    TCanvasDc& dc = *FDc;
    std::thread::id thread = std::this_thread::get_id();
    if (!dc.face || dc.faceVersion != dc.fontVersion || dc.faceAntialias != FAntiAlias || dc.faceThread != thread) {
        if (Mapped()) {
            // The font's height is in logical units: the face is made at its height in pixels.
            TFont device;
            device.AssignData(*FFont);
            device.SetHeight(DeviceFontHeight());
            dc.face = ui::GetBackend().CreateFontFace(device, FAntiAlias);
        } else {
            dc.face = ui::GetBackend().CreateFontFace(*FFont, FAntiAlias);
        }
        dc.faceVersion = dc.fontVersion;
        dc.faceAntialias = FAntiAlias;
        dc.faceThread = thread;
    }
    return *dc.face;
}

// Drawing ---------------------------------------------------------------------------------------

template <class Op>
void TCanvas::Paint(bool notify, Op draw) {
    if (notify) Changing();
    Sync();
    bool drew = draw(Impl());
    if (drew && FTarget) FTarget->PixelsChanged();
    if (notify) Changed();
}

void TCanvas::MoveTo(int X, int Y) {
    FDc->state.penPos = TPoint(X, Y);
    Impl().MoveTo(PlacedPixel(TPoint(X, Y)));
}

void TCanvas::LineTo(int X, int Y) {
    ui::LoggedCall log(*this, "LineTo");
    LogPoints(log, {FDc->state.penPos, TPoint(X, Y)});
    TPoint from = FDc->state.penPos, to(X, Y);
    FDc->state.penPos = to;
    // A line of no length, or with a pen that draws nothing, shows nothing; a recorder still
    // takes it, since it moves the current position.
    Paint(from != to && PenShows(*FPen), [&](ui::CanvasImpl& impl) { return impl.LineTo(PlacedPixel(from), PlacedPixel(to)); });
}

void TCanvas::Polyline(const TPoint* points, int count) {
    if (!points || count < 2) return;
    ui::LoggedCall log(*this, "Polyline");
    if (ui::DrawCall* e = log.Entry()) e->points.assign(points, points + count);
    std::vector<TPoint> copy;
    const TPoint* drawn = PlacedPoints(points, count, copy);
    Paint(PenShows(*FPen), [&](ui::CanvasImpl& impl) { return impl.Polyline(drawn, count); });
}

void TCanvas::Polygon(const TPoint* points, int count) {
    if (!points || count < 2) return;
    ui::LoggedCall log(*this, "Polygon");
    if (ui::DrawCall* e = log.Entry()) e->points.assign(points, points + count);
    std::vector<TPoint> copy;
    const TPoint* drawn = PlacedPoints(points, count, copy);
    Paint(true, [&](ui::CanvasImpl& impl) { return impl.Polygon(drawn, count); });
}

void TCanvas::Shape(ui::ShapeKind kind, const TRect& box, TPoint p1, TPoint p2, bool pen) {
    TRect drawn = PlacedRect(box);
    bool radial = kind != ui::ShapeKind::Rectangle && kind != ui::ShapeKind::RoundRect && kind != ui::ShapeKind::Ellipse;
    if (kind == ui::ShapeKind::RoundRect) {
        TSize corner = MapSize(TSize(p1.X, p1.Y));
        p1 = TPoint(corner.cx, corner.cy);
    } else if (radial) {
        p1 = MapPoint(p1);
        p2 = MapPoint(p2);
    }
    if (Mirrored() && radial) {
        // Counter-clockwise in the mirror is clockwise on the device: the radials swap.
        TPoint start(MirrorEdge(p2.X), p2.Y), end(MirrorEdge(p1.X), p1.Y);
        p1 = start;
        p2 = end;
    }
    Paint(pen, [&](ui::CanvasImpl& impl) { return impl.Shape(kind, drawn, p1, p2); });
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    ui::LoggedCall log(*this, "Rectangle", TRect(X1, Y1, X2, Y2));
    Shape(ui::ShapeKind::Rectangle, TRect(X1, Y1, X2, Y2), {}, {}, true);
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
    ui::LoggedCall log(*this, "RoundRect", TRect(X1, Y1, X2, Y2));
    LogPoints(log, {TPoint(X3, Y3)});
    Shape(ui::ShapeKind::RoundRect, TRect(X1, Y1, X2, Y2), TPoint(X3, Y3), {}, true);
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    ui::LoggedCall log(*this, "Ellipse", TRect(X1, Y1, X2, Y2));
    Shape(ui::ShapeKind::Ellipse, TRect(X1, Y1, X2, Y2), {}, {}, true);
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    ui::LoggedCall log(*this, "Arc", TRect(X1, Y1, X2, Y2));
    LogPoints(log, {TPoint(X3, Y3), TPoint(X4, Y4)});
    Shape(ui::ShapeKind::Arc, TRect(X1, Y1, X2, Y2), TPoint(X3, Y3), TPoint(X4, Y4), PenShows(*FPen));
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    ui::LoggedCall log(*this, "Chord", TRect(X1, Y1, X2, Y2));
    LogPoints(log, {TPoint(X3, Y3), TPoint(X4, Y4)});
    Shape(ui::ShapeKind::Chord, TRect(X1, Y1, X2, Y2), TPoint(X3, Y3), TPoint(X4, Y4), true);
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    ui::LoggedCall log(*this, "Pie", TRect(X1, Y1, X2, Y2));
    LogPoints(log, {TPoint(X3, Y3), TPoint(X4, Y4)});
    Shape(ui::ShapeKind::Pie, TRect(X1, Y1, X2, Y2), TPoint(X3, Y3), TPoint(X4, Y4), true);
}

// Fills and frames take their rectangle as the device has it: in a mode with y upwards a
// rectangle from its top down to its bottom is not empty.
void TCanvas::FillRect(const TRect& rect) {
    ui::LoggedCall log(*this, "FillRect", rect);
    if (!BrushShows(*FBrush)) return;
    TRect r = PlacedBox(rect);
    if (r.IsEmpty()) return;
    Paint(true, [&](ui::CanvasImpl& impl) { return impl.FillRect(r); });
}

void TCanvas::FrameRect(const TRect& rect) {
    ui::LoggedCall log(*this, "FrameRect", rect);
    if (!BrushShows(*FBrush)) return;
    TRect r = PlacedBox(rect);
    if (r.IsEmpty()) return;
    Paint(true, [&](ui::CanvasImpl& impl) { return impl.FrameRect(r); });
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    ui::LoggedCall log(*this, "DrawFocusRect", rect);
    TRect r = PlacedBox(rect);
    if (r.IsEmpty()) return;
    Paint(true, [&](ui::CanvasImpl& impl) { return impl.FocusRect(r); });
}

void TCanvas::FillSolid(const TRect& rect, TColor color) {
    ui::LoggedCall log(*this, "FillSolid", rect);
    if (ui::DrawCall* e = log.Entry()) e->brushColor = color;
    if (color == clNone) return;
    TRect r = PlacedBox(rect);
    if (r.IsEmpty()) return;
    Paint(true, [&](ui::CanvasImpl& impl) { return impl.FillSolid(r, color); });
}

void TCanvas::ExtTextOutImpl(int X, int Y, const String& text, const TRect* clip, const TRect* opaque) {
    ui::LoggedCall log(*this, "ExtTextOut");
    if (ui::DrawCall* e = log.Entry()) {
        e->points = {TPoint(X, Y)};
        e->text = text;
        e->rect = clip ? *clip : opaque ? *opaque : TRect();
        e->flags = (clip ? ETO_CLIPPED : 0u) | (opaque ? ETO_OPAQUE : 0u);
    }
    int width = Face().TextWidth(text);  // in pixels, as the implementation places the text
    UINT align = FDc->state.textAlign;
    TPoint at = (align & TA_UPDATECP) ? FDc->state.penPos : TPoint(X, Y);
    // Text is placed at its mapped reference point. Under a right-to-left layout its box is
    // mirrored, not its letters: the reference edge moves across and the alignment turns (left to
    // right and back; centred stays) for the call.
    TRect clipBox = clip ? PlacedBox(*clip) : TRect(), opaqueBox = opaque ? PlacedBox(*opaque) : TRect();
    TPoint drawnAt = MapPoint(at);
    UINT& state = FDc->state.textAlign;
    if (Mirrored()) {
        drawnAt.X = MirrorEdge(drawnAt.X);
        if ((align & TA_CENTER) != TA_CENTER) state = align ^ TA_RIGHT;
    }
    try {
        Paint(true, [&](ui::CanvasImpl& impl) {
            return impl.Text(drawnAt, text, width, clip ? &clipBox : nullptr, opaque ? &opaqueBox : nullptr);
        });
    } catch (...) {
        state = align;
        throw;
    }
    state = align;
    if (align & TA_UPDATECP) {
        int w = LogicalSize(TSize(width, 0)).cx;
        int advance = (align & TA_CENTER) == TA_CENTER ? 0 : (align & TA_RIGHT) ? -w : w;
        FDc->state.penPos.X = Saturated(int64_t{at.X} + advance);
    }
}

void TCanvas::TextOut(int X, int Y, const String& text) {
    ExtTextOutImpl(X, Y, text, nullptr, nullptr);
    FDc->state.penPos = TPoint(Saturated(int64_t{X} + TextWidth(text)), Y);
}

void TCanvas::TextRect(const TRect& rect, int X, int Y, const String& text) {
    Sync();
    ExtTextOutImpl(X, Y, text, &rect, BrushShows(*FBrush) ? &rect : nullptr);
}

// Measures answer logical units.
TSize TCanvas::TextExtent(const String& text) {
    const ui::FontFace& face = Face();
    const ui::FontMetrics& m = face.Metrics();
    return LogicalSize(TSize(face.TextWidth(text), m.ascent + m.descent));
}

int TCanvas::TextWidth(const String& text) {
    int w = Face().TextWidth(text);
    return Mapped() ? LogicalSize(TSize(w, 0)).cx : w;
}
int TCanvas::TextHeight(const String& text) { return TextExtent(text).cy; }

void TCanvas::Draw(int X, int Y, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    Changing();
    graphic->Draw(this, Rect(X, Y, Saturated(int64_t{X} + graphic->Width()), Saturated(int64_t{Y} + graphic->Height())));
    Changed();
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    Changing();
    graphic->Draw(this, rect);
    Changed();
}

void TCanvas::DrawBitmapImpl(const TRect& dest, TBitmap* bitmap, const TRect& source, bool transparent,
                             TColor transparentColor, bool useAlpha) {
    ui::LoggedCall log(*this, "DrawBitmap", dest);
    LogPoints(log, {TPoint(source.Left, source.Top), TPoint(source.Right, source.Bottom)});
    if (!bitmap || bitmap->Empty()) return;
    TRect to = MapRect(dest);  // a destination that comes out mirrored mirrors the picture
    if (Mirrored()) {
        // Left beyond right draws the bitmap mirrored.
        to = FDc->state.layout & LAYOUT_BITMAPORIENTATIONPRESERVED ? MirrorRect(to)
                                                                    : TRect(MirrorEdge(to.Left), to.Top, MirrorEdge(to.Right), to.Bottom);
    }
    Paint(false, [&](ui::CanvasImpl& impl) {
        return impl.DrawBitmap(to, *bitmap, source, transparent, transparentColor, useAlpha);
    });
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
    if (!canvas) return;
    Changing();
    // Held, so that the sizes fit an int.
    int dx = HeldCoord(dest.Left), dy = HeldCoord(dest.Top), sx = HeldCoord(source.Left), sy = HeldCoord(source.Top);
    StretchBlt(Handle(), dx, dy, HeldCoord(dest.Right) - dx, HeldCoord(dest.Bottom) - dy, canvas->Handle(), sx, sy,
               HeldCoord(source.Right) - sx, HeldCoord(source.Bottom) - sy, FCopyMode);
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color) {
    ui::LoggedCall log(*this, "BrushCopy", dest);
    LogPoints(log, {TPoint(source.Left, source.Top), TPoint(source.Right, source.Bottom)});
    if (!bitmap || bitmap->Empty() || (!FTarget && !Impl().Records())) return;
    TRect to = PlacedBox(dest), from = source;
    TBitmap flipped;
    if (Mirrored() && !(FDc->state.layout & LAYOUT_BITMAPORIENTATIONPRESERVED)) {
        // The source part mirrored into a bitmap of its own, copied upright from there.
        int w = std::abs(source.Right - source.Left), h = std::abs(source.Bottom - source.Top);
        flipped.SetSize(w, h);
        flipped.Canvas()->DrawBitmapImpl(TRect(w, 0, 0, h), bitmap, source, false, clNone, false);
        bitmap = &flipped;
        from = TRect(0, 0, w, h);
    }
    Paint(true, [&](ui::CanvasImpl& impl) { return impl.BrushCopy(to, *bitmap, from, color); });
}

// A transfer's rectangle (x, y) w by h as the implementation takes it: both corners mapped, so a
// size whose sign the mapping turns (heights in a mode with y upwards) mirrors.
static void MapSpan(const TCanvas& c, int& x, int& y, int& w, int& h) {
    if (!c.Mapped()) return;
    TRect r = c.MapRect(TRect(x, y, HeldCoord(int64_t{x} + w), HeldCoord(int64_t{y} + h)));
    x = r.Left;
    y = r.Top;
    w = r.Right - r.Left;
    h = r.Bottom - r.Top;
}

bool TCanvas::StretchBltImpl(int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh, DWORD rop) {
    ui::LoggedCall log(*this, "StretchBlt", TRect(x, y, HeldCoord(int64_t{x} + w), HeldCoord(int64_t{y} + h)));
    LogPoints(log, {TPoint(sx, sy), TPoint(HeldCoord(int64_t{sx} + sw), HeldCoord(int64_t{sy} + sh))});
    if (ui::DrawCall* e = log.Entry()) e->flags = rop;
    MapSpan(*this, x, y, w, h);
    if (w == 0 || h == 0) return true;
    if (src) MapSpan(*src, sx, sy, sw, sh);
    bool mirrorSource = src && src->Mirrored();
    if (Mirrored() || mirrorSource) {
        // Under a right-to-left layout a span moves across its DC, and the picture turns for each
        // side that does not preserve bitmaps' orientation. Spans are made upright here and one
        // negative width carries the turn, as the implementations take it.
        bool flip = (w < 0) != (sw < 0);
        auto across = [&flip](const TCanvas& c, int& pos, int& size) {
            int64_t left = size >= 0 ? pos : int64_t{pos} + size + 1, width = std::abs(int64_t{size});
            if (!c.Mirrored()) {
                pos = HeldCoord(left);
            } else {
                pos = c.MirrorEdge(left + width);
                if (!(c.FDc->state.layout & LAYOUT_BITMAPORIENTATIONPRESERVED)) flip = !flip;
            }
            size = static_cast<int>(std::min<int64_t>(width, INT32_MAX));
        };
        across(*this, x, w);
        if (src) across(*src, sx, sw);
        if (flip) {
            x = HeldCoord(int64_t{x} + w - 1);
            w = -w;
        }
    }
    Changing();
    Sync();
    if (src) src->Sync();
    ui::Transfer done = Impl().StretchBlt(x, y, w, h, src, sx, sy, sw, sh, rop);
    if (done == ui::Transfer::Refused) return false;
    if (done == ui::Transfer::Drawn && FTarget) FTarget->PixelsChanged();
    Changed();
    return true;
}

TColor TCanvas::Pixels(int X, int Y) {
    if (!FTarget) return static_cast<TColor>(CLR_INVALID);
    TPoint d = LogicalToDevice(TPoint(X, Y));
    if (!Visible().Contains(d.X, d.Y)) return static_cast<TColor>(CLR_INVALID);
    return Impl().Pixel(d);
}

void TCanvas::SetPixels(int X, int Y, TColor color) {
    ui::LoggedCall log(*this, "SetPixel");
    LogPoints(log, {TPoint(X, Y)});
    if (ui::DrawCall* e = log.Entry()) e->penColor = color;
    if (color == clNone) return;
    if (!FTarget) {
        // A recording takes the point as drawn; it has no surface to hold it to.
        if (Impl().Records()) Paint(true, [&](ui::CanvasImpl& impl) { return impl.SetPixel(PlacedPixel(TPoint(X, Y)), color); });
        return;
    }
    TPoint d = LogicalToDevice(TPoint(X, Y));
    if (!Visible().Contains(d.X, d.Y)) return;
    Paint(true, [&](ui::CanvasImpl& impl) { return impl.SetPixel(d, color); });
}

void TCanvas::FloodFill(int X, int Y, TColor color, TFillStyle style) {
    ui::LoggedCall log(*this, "FloodFill");
    LogPoints(log, {TPoint(X, Y)});
    if (!BrushShows(*FBrush)) return;
    if (!FTarget) {
        if (Impl().Records()) {
            Paint(true, [&](ui::CanvasImpl& impl) { return impl.FloodFill(PlacedPixel(TPoint(X, Y)), color, style); });
        }
        return;
    }
    if (FTarget->Empty()) return;
    TPoint start = LogicalToDevice(TPoint(X, Y));
    if (!Visible().Contains(start.X, start.Y)) return;
    Paint(true, [&](ui::CanvasImpl& impl) { return impl.FloodFill(start, color, style); });
}
