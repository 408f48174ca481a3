// The raster canvas's core: making it, the painter a lock bracket keeps open on the bitmap, the
// clip as a QRegion and the pen and brush as Qt objects.
#include <atomic>

#include "platform/qt/QtGraphics.h"
#include "platform/qt/QtRaster.h"

namespace qtb {

namespace {

QPainter::CompositionMode ModeOf(TPenMode m) {
    switch (m) {
        case pmNot: return QPainter::RasterOp_NotDestination;
        case pmNotCopy: return QPainter::RasterOp_NotSource;
        case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
        case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
        case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
        case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
        case pmMerge: return QPainter::RasterOp_SourceOrDestination;
        case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
        case pmMask: return QPainter::RasterOp_SourceAndDestination;
        case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
        case pmXor: return QPainter::RasterOp_SourceXorDestination;
        case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
        default: return QPainter::CompositionMode_SourceOver;
    }
}

QColor PenColor(const TPen& pen) {
    if (pen.Mode() == pmBlack) return Qt::black;
    if (pen.Mode() == pmWhite) return Qt::white;
    return QColorOf(pen.Color());
}

// w is the pen's width in pixels.
QPen QPenOf(const TPen& pen, int w) {
    if (!ui::PenShows(pen)) return QPen(Qt::NoPen);
    QPen q(PenColor(pen));
    if (w <= 1) {
        q.setWidth(0);
        q.setCapStyle(Qt::FlatCap);
    } else {
        q.setWidth(w);
        q.setCapStyle(Qt::RoundCap);
        q.setJoinStyle(Qt::RoundJoin);
    }
    switch (pen.Style()) {
        // Styled lines are one pixel wide on the original platform whatever the width.
        case psDash: q.setStyle(Qt::DashLine); q.setWidth(0); break;
        case psDot: q.setStyle(Qt::DotLine); q.setWidth(0); break;
        case psDashDot: q.setStyle(Qt::DashDotLine); q.setWidth(0); break;
        case psDashDotDot: q.setStyle(Qt::DashDotDotLine); q.setWidth(0); break;
        default: q.setStyle(Qt::SolidLine); break;
    }
    return q;
}

QBrush QBrushOf(TBrush& brush) {
    if (!ui::BrushShows(brush)) return QBrush(Qt::NoBrush);
    if (brush.Bitmap() && !brush.Bitmap()->Empty()) return QBrush(ToRgb32(*brush.Bitmap()));
    QColor c = QColorOf(brush.Color());
    switch (brush.Style()) {
        case bsHorizontal: return QBrush(c, Qt::HorPattern);
        case bsVertical: return QBrush(c, Qt::VerPattern);
        case bsFDiagonal: return QBrush(c, Qt::FDiagPattern);
        case bsBDiagonal: return QBrush(c, Qt::BDiagPattern);
        case bsCross: return QBrush(c, Qt::CrossPattern);
        case bsDiagCross: return QBrush(c, Qt::DiagCrossPattern);
        default: return QBrush(c);
    }
}

uint64_t NextId() {
    static std::atomic<uint64_t> next{0};
    return ++next;
}

}  // namespace

RasterCanvas::RasterCanvas(TCanvas& front) : FFront(front), FId(NextId()) {}

RasterCanvas::~RasterCanvas() { ReleaseHold(); }

std::unique_ptr<ui::CanvasImpl> CreateRasterCanvas(TCanvas& front) { return std::make_unique<RasterCanvas>(front); }

void RasterCanvas::TakeHold() {
    TBitmap* b = FFront.Bitmap();
    if (!b || FHeld) return;
    FHeld = b;
    StoreOf(*b).holds++;
}

void RasterCanvas::ReleaseHold() {
    TBitmap* b = FHeld;
    if (!b) return;
    FHeld = nullptr;
    QtPixelStore& s = StoreOf(*b);
    if (--s.holds <= 0) {
        s.holds = 0;
        s.EndPainting();
    }
}

void RasterCanvas::SurfaceChanged(TBitmap*) {
    bool locked = FHeld != nullptr;
    if (locked) ReleaseHold();
    if (locked || FFront.LockCount() > 0) TakeHold();
}

const QRegion& RasterCanvas::Visible() {
    uint64_t version = FFront.VisibleVersion();
    if (version != FVisibleVersion) {
        const std::vector<TRect>& rects = FFront.Visible().Rects();
        std::vector<QRect> q;
        q.reserve(rects.size());
        for (const TRect& r : rects) q.emplace_back(r.Left, r.Top, r.Width(), r.Height());
        FVisible = QRegion();
        // Banded already, as QRegion keeps its own.
        if (!q.empty()) FVisible.setRects(q.data(), static_cast<int>(q.size()));
        FVisibleVersion = version;
    }
    return FVisible;
}

const QPen& RasterCanvas::Pen() {
    uint64_t version = FFront.Dc().penVersion;
    if (FPenVersion != version) {
        FPen = QPenOf(*FFront.Pen(), FFront.DevicePenWidth());
        FPenVersion = version;
    }
    return FPen;
}

const QBrush& RasterCanvas::Brush() {
    uint64_t version = FFront.Dc().brushVersion;
    if (FBrushVersion != version || FFront.Brush()->Bitmap()) {
        FBrush = QBrushOf(*FFront.Brush());
        FBrushVersion = version;
    }
    return FBrush;
}

void RasterCanvas::SetupShape(QPainter& p, bool fill) {
    const QPen& pen = Pen();
    static const QBrush none(Qt::NoBrush);
    const QBrush& brush = fill ? Brush() : none;
    p.setPen(pen);
    p.setBrush(brush);
    p.setCompositionMode(ModeOf(FFront.Pen()->Mode()));
    // The background only shows through hatches and styled lines. Qt strokes curves in opaque
    // mode by another path, which ends even-sized ellipses one pixel short and lopsided.
    bool solidPen = pen.style() == Qt::SolidLine || pen.style() == Qt::NoPen;
    bool solidBrush = brush.style() == Qt::SolidPattern || brush.style() == Qt::NoBrush ||
                      brush.style() == Qt::TexturePattern;
    if (solidPen && solidBrush) p.setBackgroundMode(Qt::TransparentMode);
}

}  // namespace qtb
