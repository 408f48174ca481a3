#pragma once
// The raster canvas: the Qt backend's canvas implementation, painting a front's bitmap with
// QPainter under the window system's pixel rules. One class, its parts by topic: QtCanvas.cpp
// (painters, lock brackets, the clip), QtCanvasShapes.cpp (lines, shapes, fills),
// QtCanvasText.cpp, QtCanvasTransfers.cpp (bitmaps, raster operations, pixels, flood fill).
#include <QPen>
#include <QBrush>
#include <QRegion>

#include "platform/qt/QtGraphicsAccess.h"
#include "platform/ui/backend/Canvas.h"

namespace qtb {

inline QRect QRectOf(const TRect& r) {
    int l = ui::HeldCoord(r.Left), t = ui::HeldCoord(r.Top);
    return QRect(l, t, ui::HeldCoord(r.Right) - l, ui::HeldCoord(r.Bottom) - t);
}

class RasterCanvas final : public ui::CanvasImpl {
public:
    explicit RasterCanvas(TCanvas& front);
    ~RasterCanvas() override;
    RasterCanvas(const RasterCanvas&) = delete;
    RasterCanvas& operator=(const RasterCanvas&) = delete;

    void Lock() override { TakeHold(); }
    void Unlock() override { ReleaseHold(); }
    void SurfaceChanged(TBitmap* old) override;
    void SurfaceGone() override { FHeld = nullptr; }
    void ClipChanged() override {}

    void MoveTo(TPoint) override {}
    bool LineTo(TPoint from, TPoint to) override;
    bool Polyline(const TPoint* points, int count) override;
    bool Polygon(const TPoint* points, int count) override;
    bool Shape(ui::ShapeKind kind, const TRect& box, TPoint p1, TPoint p2) override;
    bool FillRect(const TRect& rect) override;
    bool FrameRect(const TRect& rect) override;
    bool FillSolid(const TRect& rect, TColor color) override;
    bool FocusRect(const TRect& rect) override;
    bool Text(TPoint at, const String& text, int width, const TRect* clip, const TRect* opaque) override;
    bool DrawBitmap(const TRect& dest, TBitmap& bitmap, const TRect& source, bool transparent,
                    TColor transparentColor, bool useAlpha) override;
    ui::Transfer StretchBlt(int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh, DWORD rop) override;
    bool BrushCopy(const TRect& dest, TBitmap& bitmap, const TRect& source, TColor color) override;
    TColor Pixel(TPoint device) override;
    bool SetPixel(TPoint device, TColor color) override;
    bool FloodFill(TPoint device, TColor color, TFillStyle style) override;

private:
    // Runs f with a painter on the front's surface: clipped, translated to logical coordinates,
    // with the canvas's background for hatches and styled lines. Inside a lock bracket the
    // bitmap's open painter is used, set to this canvas's clip and origin; f may leave pen,
    // brush, composition and background changed, and changes anything else only when scoped
    // (the painter's state is saved around it). False when nothing could be painted.
    template <class F>
    bool WithPainter(F f, bool scoped = false);
    // The front's pen and brush as Qt objects, made again only after they change (a brush with
    // a pattern bitmap every time: the bitmap may have been drawn on since).
    const QPen& Pen();
    const QBrush& Brush();
    // Pen, brush and raster mode of a shape.
    void SetupShape(QPainter& p, bool fill);
    // The drawing rectangle of a shape bounded by box, right and bottom exclusive.
    QRect ShapeRect(const TRect& box);
    template <class Draw>
    bool PaintBoxShape(const TRect& box, Draw draw);
    template <class Draw>
    bool PaintArcShape(bool fill, const TRect& box, TPoint p1, TPoint p2, Draw draw);
    // The front's visible part as a QRegion, and its logical-to-device offset.
    const QRegion& Visible();
    QPoint Offset() const {
        const TCanvasDcState& s = FFront.Dc().state;
        return QPoint(ui::HeldCoord(int64_t{s.viewportOrg.X} - s.windowOrg.X), ui::HeldCoord(int64_t{s.viewportOrg.Y} - s.windowOrg.Y));
    }
    // Combines src (RGB32, the size of dev) into the surface at the device rectangle dev.
    bool RopBlit(const QRect& dev, const QImage* src, uint8_t rop);
    // A locked canvas holds its bitmap's surface open; the last hold to go closes it.
    void TakeHold();
    void ReleaseHold();

    TCanvas& FFront;
    // The bitmap's open painter while WithPainter runs f on it; nullptr otherwise.
    TPaintSurface* FSurface = nullptr;
    const uint64_t FId;  // tells the canvases sharing an open painter apart
    TBitmap* FHeld = nullptr;
    QPen FPen;
    uint64_t FPenVersion = 0;
    QBrush FBrush;
    uint64_t FBrushVersion = 0;
    QRegion FVisible;
    uint64_t FVisibleVersion = 0;
};

template <class F>
bool RasterCanvas::WithPainter(F f, bool scoped) {
    TBitmap* b = FFront.Bitmap();
    if (!b) return false;
    QtPixelStore& store = StoreOf(*b);
    if (store.image.width() <= 0 || store.image.height() <= 0) return false;
    const TCanvasDc& dc = FFront.Dc();
    const TCanvasDcState& s = dc.state;
    if (TPaintSurface* open = store.OpenSurface()) {
        QPainter& p = open->painter;
        QPoint off = Offset();
        // The clip is taken again when another canvas drew last or this one's clip changed; a
        // new size of the pixels closes the painter, so the surface is a new one then.
        if (open->user != FId || open->clipStamp != dc.clipStamp) {
            const QRegion& vis = Visible();
            p.resetTransform();  // the clip is in device coordinates
            p.setClipRegion(vis);
            open->clipEmpty = vis.isEmpty();
            open->user = FId;
            open->clipStamp = dc.clipStamp;
            open->offset = off + QPoint(1, 0);  // the transform is set again below
        }
        if (open->clipEmpty) return false;
        if (off != open->offset) {
            p.setTransform(QTransform::fromTranslate(off.x(), off.y()));
            p.setBrushOrigin(-off);
            open->offset = off;
        }
        if (open->antialias != FFront.AntiAlias()) {
            p.setRenderHint(QPainter::Antialiasing, FFront.AntiAlias());
            p.setRenderHint(QPainter::TextAntialiasing, FFront.AntiAlias());
            open->antialias = FFront.AntiAlias();
        }
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setBackgroundMode(s.bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
        p.setBackground(QColor(QRgbOf(s.bkColor)));
        struct Using {
            TPaintSurface*& slot;
            ~Using() { slot = nullptr; }
        } using_{FSurface};
        FSurface = open;
        if (scoped) {
            p.save();
            f(p);
            p.restore();
        } else {
            f(p);
        }
        return true;
    }
    const QRegion& vis = Visible();
    if (vis.isEmpty()) return false;
    Surface surface(*b);
    QPainter p(&surface.Image());
    p.setClipRegion(vis);
    QPoint off = Offset();
    p.translate(off);
    p.setBrushOrigin(-off);
    p.setRenderHint(QPainter::Antialiasing, FFront.AntiAlias());
    p.setRenderHint(QPainter::TextAntialiasing, FFront.AntiAlias());
    p.setBackgroundMode(s.bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    p.setBackground(QColor(QRgbOf(s.bkColor)));
    f(p);
    return true;
}

}  // namespace qtb
