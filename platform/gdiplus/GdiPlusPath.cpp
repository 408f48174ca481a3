// Paths: figures of lines and Béziers, the shapes that become them (arcs, ellipses, pies,
// polygons, cardinal splines, text), flattening, and the regions built from rectangles and paths.
#include <algorithm>
#include <cmath>

#include "platform/gdiplus/GdiPlusObjects.h"

namespace gdiplus {

namespace detail {

namespace {

void Push(PathData& d, PointD p, uint8_t type) {
    d.points.push_back({static_cast<REAL>(p.X), static_cast<REAL>(p.Y)});
    d.types.push_back(type);
}

bool Same(const GpPointF& a, PointD b) { return a.X == static_cast<REAL>(b.X) && a.Y == static_cast<REAL>(b.Y); }

// Appends points to the open figure (a connecting line from its end, none when the first point
// is its end already), or starts a figure.
void Continue(Path& path, const std::vector<PointD>& points, uint8_t type) {
    PathData& d = path.data;
    size_t first = 0;
    if (path.open && !d.points.empty() && Same(d.points.back(), points[0])) first = 1;
    for (size_t i = first; i < points.size(); ++i) {
        uint8_t t = type;
        if (i == 0) t = path.open ? PathPointTypeLine : PathPointTypeStart;
        Push(d, points[i], t);
    }
    path.open = true;
}

// The parametric angle of the point at a true angle on an ellipse of radii a and b: both lie in
// the same quadrant, so the turn is taken from the true angle.
double Parametric(double degrees, double a, double b) {
    double r = degrees * M_PI / 180.0;
    if (a == b) return r;
    double t = std::atan2(std::sin(r) / b, std::cos(r) / a);
    return t + std::round((r - t) / (2 * M_PI)) * 2 * M_PI;
}

double Flatness(PointD a, PointD b, PointD c, PointD d) {
    double ux = 3 * b.X - 2 * a.X - d.X, uy = 3 * b.Y - 2 * a.Y - d.Y;
    double vx = 3 * c.X - a.X - 2 * d.X, vy = 3 * c.Y - a.Y - 2 * d.Y;
    return std::max(ux * ux, vx * vx) + std::max(uy * uy, vy * vy);
}

void FlattenBezier(PointD a, PointD b, PointD c, PointD d, double tol16, double s0, double s1, int depth, Polyline& out) {
    if (depth > 16 || Flatness(a, b, c, d) <= tol16) {
        out.points.push_back(d);
        out.src.push_back(s1);
        return;
    }
    auto mid = [](PointD p, PointD q) { return PointD{(p.X + q.X) / 2, (p.Y + q.Y) / 2}; };
    PointD ab = mid(a, b), bc = mid(b, c), cd = mid(c, d), abc = mid(ab, bc), bcd = mid(bc, cd), m = mid(abc, bcd);
    double sm = (s0 + s1) / 2;
    FlattenBezier(a, ab, abc, m, tol16, s0, sm, depth + 1, out);
    FlattenBezier(m, bcd, cd, d, tol16, sm, s1, depth + 1, out);
}

}  // namespace

void AddLines(Path& path, const std::vector<PointD>& points) { Continue(path, points, PathPointTypeLine); }

void AddBeziers(Path& path, const std::vector<PointD>& points) {
    PathData& d = path.data;
    if (path.open && !d.points.empty() && Same(d.points.back(), points[0])) {
        for (size_t i = 1; i < points.size(); ++i) Push(d, points[i], PathPointTypeBezier);
        return;
    }
    Push(d, points[0], path.open ? PathPointTypeLine : PathPointTypeStart);
    for (size_t i = 1; i < points.size(); ++i) Push(d, points[i], PathPointTypeBezier);
    path.open = true;
}

void CloseFigure(Path& path) {
    if (!path.data.types.empty()) path.data.types.back() |= PathPointTypeCloseSubpath;
    path.open = false;
}

void AddClosedFigure(Path& path, const std::vector<PointD>& points, bool bezier) {
    path.open = false;
    if (bezier) {
        AddBeziers(path, points);
    } else {
        AddLines(path, points);
    }
    CloseFigure(path);
}

std::vector<PointD> ArcBeziers(double x, double y, double w, double h, double start, double sweep) {
    sweep = std::clamp(sweep, -360.0, 360.0);
    double a = w / 2, b = h / 2, cx = x + a, cy = y + b;
    std::vector<PointD> out;
    int segments = std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / 90.0 - 1e-9)));
    double step = sweep / segments;
    bool full = std::abs(sweep) == 360.0;
    double base = Parametric(start, a, b), turn = sweep > 0 ? M_PI / 2 : -M_PI / 2;
    for (int i = 0; i < segments; ++i) {
        // A whole ellipse is four exact quarters, so it ends where it began.
        double t0 = full ? base + turn * i : Parametric(start + step * i, a, b);
        double t1 = full ? base + turn * (i + 1) : Parametric(start + step * (i + 1), a, b);
        double k = 4.0 / 3.0 * std::tan((t1 - t0) / 4);
        PointD p0{cx + a * std::cos(t0), cy + b * std::sin(t0)}, p3{cx + a * std::cos(t1), cy + b * std::sin(t1)};
        PointD p1{p0.X - k * a * std::sin(t0), p0.Y + k * b * std::cos(t0)};
        PointD p2{p3.X + k * a * std::sin(t1), p3.Y - k * b * std::cos(t1)};
        if (i == 0) out.push_back(p0);
        out.push_back(p1);
        out.push_back(p2);
        out.push_back(p3);
    }
    return out;
}

std::vector<PointD> CurveBeziers(const std::vector<PointD>& p, double tension) {
    std::vector<PointD> out{p[0]};
    double f = tension / 3;
    size_t n = p.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        PointD prev = p[i == 0 ? 0 : i - 1], next2 = p[std::min(i + 2, n - 1)];
        out.push_back({p[i].X + f * (p[i + 1].X - prev.X), p[i].Y + f * (p[i + 1].Y - prev.Y)});
        out.push_back({p[i + 1].X - f * (next2.X - p[i].X), p[i + 1].Y - f * (next2.Y - p[i].Y)});
        out.push_back(p[i + 1]);
    }
    return out;
}

PathData RectanglePath(double x, double y, double w, double h) {
    Path p;
    AddClosedFigure(p, {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, false);
    return p.data;
}

PathData EllipsePath(double x, double y, double w, double h) {
    Path p;
    AddClosedFigure(p, ArcBeziers(x, y, w, h, 0, 360), true);
    return p.data;
}

PathData Transformed(const PathData& path, const Affine& m) {
    PathData out = path;
    for (GpPointF& p : out.points) {
        PointD d = m.Map(p.X, p.Y);
        p = {static_cast<REAL>(d.X), static_cast<REAL>(d.Y)};
    }
    return out;
}

std::vector<Polyline> Flatten(const PathData& path, double tolerance) {
    std::vector<Polyline> out;
    double tol16 = 16 * tolerance * tolerance;
    size_t n = path.points.size();
    auto pt = [&](size_t i) { return PointD{path.points[i].X, path.points[i].Y}; };
    for (size_t i = 0; i < n; ++i) {
        uint8_t type = path.types[i] & PathPointTypePathTypeMask;
        if (type == PathPointTypeStart || out.empty() || out.back().closed) {
            out.emplace_back();
            out.back().points.push_back(pt(i));
            out.back().src.push_back(double(i));
        } else if (type == PathPointTypeBezier && i + 2 < n) {
            FlattenBezier(pt(i - 1), pt(i), pt(i + 1), pt(i + 2), tol16, double(i - 1), double(i + 2), 0, out.back());
            // The flattened points lie between the Bézier's end points.
            i += 2;
        } else {
            out.back().points.push_back(pt(i));
            out.back().src.push_back(double(i));
        }
        if (path.types[i] & PathPointTypeCloseSubpath) out.back().closed = true;
    }
    return out;
}

RegionTree RectNode(const GpRectF& rect) {
    auto n = std::make_shared<engine::RegionNode>();
    n->kind = engine::RegionNode::Rect;
    n->rect = rect;
    return n;
}

RegionTree PathNode(const PathData& path) {
    auto n = std::make_shared<engine::RegionNode>();
    n->kind = engine::RegionNode::Path;
    n->path = path;
    return n;
}

RegionTree InfiniteNode() {
    auto n = std::make_shared<engine::RegionNode>();
    n->kind = engine::RegionNode::Infinite;
    return n;
}

RegionTree Combine(const RegionTree& a, const RegionTree& b, CombineMode mode) {
    if (mode == CombineModeReplace || !a) return b;
    auto n = std::make_shared<engine::RegionNode>();
    n->kind = engine::RegionNode::Combine;
    n->op = mode;
    n->left = a;
    n->right = b;
    return n;
}

RegionTree TransformedTree(const RegionTree& tree, const Affine& m) {
    if (!tree || m.IsIdentity()) return tree;
    using N = engine::RegionNode;
    switch (tree->kind) {
        case N::Empty:
        case N::Infinite: return tree;
        case N::Rect: {
            const GpRectF& r = tree->rect;
            if (m.m12 == 0 && m.m21 == 0) {
                PointD a = m.Map(r.X, r.Y), b = m.Map(r.X + r.Width, r.Y + r.Height);
                return RectNode({static_cast<REAL>(std::min(a.X, b.X)), static_cast<REAL>(std::min(a.Y, b.Y)),
                                 static_cast<REAL>(std::abs(b.X - a.X)), static_cast<REAL>(std::abs(b.Y - a.Y))});
            }
            return PathNode(Transformed(RectanglePath(r.X, r.Y, r.Width, r.Height), m));
        }
        case N::Path: return PathNode(Transformed(tree->path, m));
        case N::Combine: return Combine(TransformedTree(tree->left, m), TransformedTree(tree->right, m), tree->op);
    }
    return tree;
}

}  // namespace detail

using namespace detail;

namespace {

// Runs f on the path behind the handle.
template <class F>
Status WithPath(GpPath* handle, F f) {
    return Call([&] {
        Path* p = Find<Path>(handle);
        if (!p) return InvalidParameter;
        return f(*p);
    });
}

template <class P>
std::vector<PointD> Points(const P* points, INT count) {
    std::vector<PointD> out;
    out.reserve(count);
    for (INT i = 0; i < count; ++i) out.push_back({double(points[i].X), double(points[i].Y)});
    return out;
}

template <class P>
Status AddLinesOf(GpPath* path, const P* points, INT count) {
    return WithPath(path, [&](Path& p) {
        if (!points || count <= 0) return InvalidParameter;
        AddLines(p, Points(points, count));
        return Ok;
    });
}

Status AddRect(GpPath* path, double x, double y, double w, double h) {
    return WithPath(path, [&](Path& p) {
        if (!Finite({x, y, w, h})) return InvalidParameter;
        // An empty rectangle adds nothing.
        if (w <= 0 || h <= 0) return Ok;
        AddClosedFigure(p, {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, false);
        return Ok;
    });
}

Status AddArc(GpPath* path, double x, double y, double w, double h, double start, double sweep) {
    return WithPath(path, [&](Path& p) {
        if (!Finite({x, y, w, h, start, sweep}) || w <= 0 || h <= 0) return InvalidParameter;
        AddBeziers(p, ArcBeziers(x, y, w, h, start, sweep));
        return Ok;
    });
}

Status AddEllipse(GpPath* path, double x, double y, double w, double h) {
    return WithPath(path, [&](Path& p) {
        if (!Finite({x, y, w, h})) return InvalidParameter;
        AddClosedFigure(p, ArcBeziers(x, y, w, h, 0, 360), true);
        return Ok;
    });
}

Status AddPie(GpPath* path, double x, double y, double w, double h, double start, double sweep) {
    return WithPath(path, [&](Path& p) {
        if (!Finite({x, y, w, h, start, sweep}) || w <= 0 || h <= 0) return InvalidParameter;
        p.open = false;
        AddLines(p, {{x + w / 2, y + h / 2}});
        if (sweep != 0) AddBeziers(p, ArcBeziers(x, y, w, h, start, sweep));
        CloseFigure(p);
        return Ok;
    });
}

template <class P>
Status AddPolygon(GpPath* path, const P* points, INT count) {
    return WithPath(path, [&](Path& p) {
        if (!points || count < 3) return InvalidParameter;
        AddClosedFigure(p, Points(points, count), false);
        return Ok;
    });
}

template <class P>
Status AddCurve(GpPath* path, const P* points, INT count, double tension) {
    return WithPath(path, [&](Path& p) {
        if (!points || count < 2 || !std::isfinite(tension)) return InvalidParameter;
        AddBeziers(p, CurveBeziers(Points(points, count), tension));
        return Ok;
    });
}

Status AddBezier(GpPath* path, const std::vector<PointD>& points) {
    return WithPath(path, [&](Path& p) {
        AddBeziers(p, points);
        return Ok;
    });
}

}  // namespace

Status GdipCreatePath(FillMode fillMode, GpPath** path) {
    return Call([&] {
        if (!path || (fillMode != FillModeAlternate && fillMode != FillModeWinding)) return InvalidParameter;
        auto p = std::make_unique<Path>();
        p->data.fillMode = fillMode;
        return Hand(std::move(p), path);
    });
}

Status GdipDeletePath(GpPath* path) {
    return Call([&] { return Unregister(path, Kind::Path) ? Ok : InvalidParameter; });
}

Status GdipResetPath(GpPath* path) {
    return WithPath(path, [](Path& p) {
        p.data.points.clear();
        p.data.types.clear();
        p.data.fillMode = FillModeAlternate;
        p.open = false;
        return Ok;
    });
}

Status GdipGetPointCount(GpPath* path, INT* count) {
    return WithPath(path, [&](Path& p) {
        if (!count) return InvalidParameter;
        *count = static_cast<INT>(p.data.points.size());
        return Ok;
    });
}

Status GdipGetPathPoints(GpPath* path, GpPointF* points, INT count) {
    return WithPath(path, [&](Path& p) {
        if (!points || count <= 0) return InvalidParameter;
        if (static_cast<size_t>(count) < p.data.points.size()) return InsufficientBuffer;
        std::copy(p.data.points.begin(), p.data.points.end(), points);
        return Ok;
    });
}

Status GdipGetPathTypes(GpPath* path, BYTE* types, INT count) {
    return WithPath(path, [&](Path& p) {
        if (!types || count <= 0) return InvalidParameter;
        if (static_cast<size_t>(count) < p.data.types.size()) return InsufficientBuffer;
        std::copy(p.data.types.begin(), p.data.types.end(), types);
        return Ok;
    });
}

Status GdipGetPathFillMode(GpPath* path, FillMode* fillMode) {
    return WithPath(path, [&](Path& p) {
        if (!fillMode) return InvalidParameter;
        *fillMode = p.data.fillMode;
        return Ok;
    });
}

Status GdipSetPathFillMode(GpPath* path, FillMode fillMode) {
    return WithPath(path, [&](Path& p) {
        if (fillMode != FillModeAlternate && fillMode != FillModeWinding) return InvalidParameter;
        p.data.fillMode = fillMode;
        return Ok;
    });
}

Status GdipClosePathFigure(GpPath* path) {
    return WithPath(path, [](Path& p) {
        CloseFigure(p);
        return Ok;
    });
}

Status GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2) {
    const GpPointF p[2] = {{x1, y1}, {x2, y2}};
    return AddLinesOf(path, p, 2);
}

Status GdipAddPathLineI(GpPath* path, INT x1, INT y1, INT x2, INT y2) {
    const GpPoint p[2] = {{x1, y1}, {x2, y2}};
    return AddLinesOf(path, p, 2);
}

Status GdipAddPathLine2(GpPath* path, const GpPointF* points, INT count) { return AddLinesOf(path, points, count); }
Status GdipAddPathLine2I(GpPath* path, const GpPoint* points, INT count) { return AddLinesOf(path, points, count); }
Status GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height) { return AddRect(path, x, y, width, height); }
Status GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height) { return AddRect(path, x, y, width, height); }

Status GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
    return AddArc(path, x, y, width, height, startAngle, sweepAngle);
}

Status GdipAddPathArcI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle) {
    return AddArc(path, x, y, width, height, startAngle, sweepAngle);
}

Status GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height) { return AddEllipse(path, x, y, width, height); }
Status GdipAddPathEllipseI(GpPath* path, INT x, INT y, INT width, INT height) { return AddEllipse(path, x, y, width, height); }

Status GdipAddPathPie(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
    return AddPie(path, x, y, width, height, startAngle, sweepAngle);
}

Status GdipAddPathPieI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle) {
    return AddPie(path, x, y, width, height, startAngle, sweepAngle);
}

Status GdipAddPathPolygon(GpPath* path, const GpPointF* points, INT count) { return AddPolygon(path, points, count); }
Status GdipAddPathPolygonI(GpPath* path, const GpPoint* points, INT count) { return AddPolygon(path, points, count); }
Status GdipAddPathCurve(GpPath* path, const GpPointF* points, INT count) { return AddCurve(path, points, count, 0.5); }
Status GdipAddPathCurveI(GpPath* path, const GpPoint* points, INT count) { return AddCurve(path, points, count, 0.5); }

Status GdipAddPathCurve2(GpPath* path, const GpPointF* points, INT count, REAL tension) {
    return AddCurve(path, points, count, tension);
}

Status GdipAddPathCurve2I(GpPath* path, const GpPoint* points, INT count, REAL tension) {
    return AddCurve(path, points, count, tension);
}

Status GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4) {
    return AddBezier(path, {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}});
}

Status GdipAddPathBezierI(GpPath* path, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4) {
    return AddBezier(path, {{double(x1), double(y1)}, {double(x2), double(y2)}, {double(x3), double(y3)}, {double(x4), double(y4)}});
}

// Regions.

namespace {

template <class F>
Status WithRegion(GpRegion* handle, F f) {
    return Call([&] {
        Region* r = Find<Region>(handle);
        if (!r) return InvalidParameter;
        return f(*r);
    });
}

Status NewRegion(RegionTree tree, GpRegion** region) {
    if (!region) return InvalidParameter;
    auto r = std::make_unique<Region>();
    r->tree = std::move(tree);
    return Hand(std::move(r), region);
}

bool ValidCombine(CombineMode mode) { return mode >= CombineModeReplace && mode <= CombineModeComplement; }

GpRectF RectOf(const GpRect& r) {
    return {static_cast<REAL>(r.X), static_cast<REAL>(r.Y), static_cast<REAL>(r.Width), static_cast<REAL>(r.Height)};
}

Status CombineWith(GpRegion* region, const RegionTree& other, CombineMode mode) {
    return WithRegion(region, [&](Region& r) {
        if (!ValidCombine(mode)) return InvalidParameter;
        r.tree = Combine(r.tree, other, mode);
        return Ok;
    });
}

}  // namespace

Status GdipCreateRegion(GpRegion** region) {
    return Call([&] { return NewRegion(InfiniteNode(), region); });
}

Status GdipCreateRegionRect(const GpRectF* rect, GpRegion** region) {
    return Call([&] { return rect ? NewRegion(RectNode(*rect), region) : InvalidParameter; });
}

Status GdipCreateRegionRectI(const GpRect* rect, GpRegion** region) {
    return Call([&] { return rect ? NewRegion(RectNode(RectOf(*rect)), region) : InvalidParameter; });
}

Status GdipCreateRegionPath(GpPath* path, GpRegion** region) {
    return Call([&] {
        Path* p = Find<Path>(path);
        return p ? NewRegion(PathNode(p->data), region) : InvalidParameter;
    });
}

Status GdipDeleteRegion(GpRegion* region) {
    return Call([&] { return Unregister(region, Kind::Region) ? Ok : InvalidParameter; });
}

Status GdipCombineRegionRect(GpRegion* region, const GpRectF* rect, CombineMode mode) {
    return Call([&] { return rect ? CombineWith(region, RectNode(*rect), mode) : InvalidParameter; });
}

Status GdipCombineRegionRectI(GpRegion* region, const GpRect* rect, CombineMode mode) {
    return Call([&] { return rect ? CombineWith(region, RectNode(RectOf(*rect)), mode) : InvalidParameter; });
}

Status GdipCombineRegionPath(GpRegion* region, GpPath* path, CombineMode mode) {
    return Call([&] {
        Path* p = Find<Path>(path);
        return p ? CombineWith(region, PathNode(p->data), mode) : InvalidParameter;
    });
}

Status GdipCombineRegionRegion(GpRegion* region, GpRegion* other, CombineMode mode) {
    return Call([&] {
        Region* o = Find<Region>(other);
        return o ? CombineWith(region, o->tree, mode) : InvalidParameter;
    });
}

}  // namespace gdiplus
