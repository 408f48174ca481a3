// Matrices: the affine transforms of world coordinates, textures and points.
#include <cmath>

#include "platform/gdiplus/GdiPlusObjects.h"

namespace gdiplus {

namespace detail {

void Apply(Affine& m, const Affine& op, MatrixOrder order) { m = order == MatrixOrderAppend ? m.Then(op) : op.Then(m); }

bool ValidOrder(MatrixOrder order) { return order == MatrixOrderPrepend || order == MatrixOrderAppend; }

Affine RotationOf(double degrees) {
    // Quarter turns are exact, so a point turned by 90 degrees lands on the axis.
    double turns = degrees / 90.0;
    double c, s;
    if (turns == std::floor(turns)) {
        static const double cs[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
        int q = static_cast<int>(std::fmod(std::fmod(turns, 4.0) + 4.0, 4.0));
        c = cs[q][0];
        s = cs[q][1];
    } else {
        double r = degrees * M_PI / 180.0;
        c = std::cos(r);
        s = std::sin(r);
    }
    return {c, s, -s, c, 0, 0};
}

}  // namespace detail

using namespace detail;

namespace {

Status Create(const Affine& m, GpMatrix** matrix) {
    if (!matrix) return InvalidParameter;
    auto made = std::make_unique<Matrix>();
    made->m = m;
    return Hand(std::move(made), matrix);
}

// The affine map of the rectangle onto the parallelogram (top-left, top-right, bottom-left).
Status FromParallelogram(double x, double y, double w, double h, const PointD p[3], GpMatrix** matrix) {
    if (!matrix) return InvalidParameter;
    if (w == 0 || h == 0 || !Finite({x, y, w, h})) return InvalidParameter;
    Affine m;
    m.m11 = (p[1].X - p[0].X) / w;
    m.m12 = (p[1].Y - p[0].Y) / w;
    m.m21 = (p[2].X - p[0].X) / h;
    m.m22 = (p[2].Y - p[0].Y) / h;
    m.dx = p[0].X - m.m11 * x - m.m21 * y;
    m.dy = p[0].Y - m.m12 * x - m.m22 * y;
    return Create(m, matrix);
}

Status Change(GpMatrix* matrix, MatrixOrder order, const Affine& op) {
    return Call([&] {
        Matrix* m = Find<Matrix>(matrix);
        if (!m || !ValidOrder(order)) return InvalidParameter;
        Apply(m->m, op, order);
        return Ok;
    });
}

template <class P, class Map>
Status TransformPoints(GpMatrix* matrix, P* points, INT count, Map map) {
    return Call([&] {
        Matrix* m = Find<Matrix>(matrix);
        if (!m || !points || count <= 0) return InvalidParameter;
        for (INT i = 0; i < count; ++i) map(m->m, points[i]);
        return Ok;
    });
}

void Store(GpPointF& p, PointD d) {
    p.X = static_cast<REAL>(d.X);
    p.Y = static_cast<REAL>(d.Y);
}
void Store(GpPoint& p, PointD d) {
    p.X = static_cast<INT>(std::lround(std::clamp(d.X, -2147483648.0, 2147483647.0)));
    p.Y = static_cast<INT>(std::lround(std::clamp(d.Y, -2147483648.0, 2147483647.0)));
}

}  // namespace

Status GdipCreateMatrix(GpMatrix** matrix) {
    return Call([&] { return Create(Affine(), matrix); });
}

Status GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix) {
    return Call([&] { return Create(Affine{m11, m12, m21, m22, dx, dy}, matrix); });
}

Status GdipCreateMatrix3(const GpRectF* rect, const GpPointF* dstplg, GpMatrix** matrix) {
    return Call([&] {
        if (!rect || !dstplg) return InvalidParameter;
        PointD p[3];
        for (int i = 0; i < 3; ++i) p[i] = {dstplg[i].X, dstplg[i].Y};
        return FromParallelogram(rect->X, rect->Y, rect->Width, rect->Height, p, matrix);
    });
}

Status GdipCreateMatrix3I(const GpRect* rect, const GpPoint* dstplg, GpMatrix** matrix) {
    return Call([&] {
        if (!rect || !dstplg) return InvalidParameter;
        PointD p[3];
        for (int i = 0; i < 3; ++i) p[i] = {double(dstplg[i].X), double(dstplg[i].Y)};
        return FromParallelogram(rect->X, rect->Y, rect->Width, rect->Height, p, matrix);
    });
}

Status GdipCloneMatrix(GpMatrix* matrix, GpMatrix** clone) {
    return Call([&] {
        Matrix* m = Find<Matrix>(matrix);
        if (!m) return InvalidParameter;
        return Create(m->m, clone);
    });
}

Status GdipDeleteMatrix(GpMatrix* matrix) {
    return Call([&] { return Unregister(matrix, Kind::Matrix) ? Ok : InvalidParameter; });
}

Status GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy) {
    return Call([&] {
        Matrix* m = Find<Matrix>(matrix);
        if (!m) return InvalidParameter;
        m->m = Affine{m11, m12, m21, m22, dx, dy};
        return Ok;
    });
}

Status GdipGetMatrixElements(const GpMatrix* matrix, REAL* elements) {
    return Call([&] {
        Matrix* m = Find<Matrix>(matrix);
        if (!m || !elements) return InvalidParameter;
        const Affine& a = m->m;
        const double v[6] = {a.m11, a.m12, a.m21, a.m22, a.dx, a.dy};
        for (int i = 0; i < 6; ++i) elements[i] = static_cast<REAL>(v[i]);
        return Ok;
    });
}

Status GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* other, MatrixOrder order) {
    return Call([&] {
        Matrix* o = Find<Matrix>(other);
        if (!o) return InvalidParameter;
        return Change(matrix, order, o->m);
    });
}

Status GdipTranslateMatrix(GpMatrix* matrix, REAL offsetX, REAL offsetY, MatrixOrder order) {
    return Change(matrix, order, Affine::Translation(offsetX, offsetY));
}

Status GdipScaleMatrix(GpMatrix* matrix, REAL scaleX, REAL scaleY, MatrixOrder order) {
    return Change(matrix, order, Affine{scaleX, 0, 0, scaleY, 0, 0});
}

Status GdipRotateMatrix(GpMatrix* matrix, REAL angle, MatrixOrder order) {
    return Change(matrix, order, RotationOf(angle));
}

Status GdipShearMatrix(GpMatrix* matrix, REAL shearX, REAL shearY, MatrixOrder order) {
    return Change(matrix, order, Affine{1, shearY, shearX, 1, 0, 0});
}

Status GdipInvertMatrix(GpMatrix* matrix) {
    return Call([&] {
        Matrix* m = Find<Matrix>(matrix);
        if (!m) return InvalidParameter;
        const Affine& a = m->m;
        double det = a.Determinant();
        if (det == 0 || !std::isfinite(det)) return InvalidParameter;
        Affine inv{a.m22 / det, -a.m12 / det, -a.m21 / det, a.m11 / det, 0, 0};
        inv.dx = -(a.dx * inv.m11 + a.dy * inv.m21);
        inv.dy = -(a.dx * inv.m12 + a.dy * inv.m22);
        if (!Finite({inv.m11, inv.m12, inv.m21, inv.m22, inv.dx, inv.dy})) return InvalidParameter;
        m->m = inv;
        return Ok;
    });
}

Status GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* points, INT count) {
    return TransformPoints(matrix, points, count, [](const Affine& m, GpPointF& p) { Store(p, m.Map(p.X, p.Y)); });
}

Status GdipTransformMatrixPointsI(GpMatrix* matrix, GpPoint* points, INT count) {
    return TransformPoints(matrix, points, count, [](const Affine& m, GpPoint& p) { Store(p, m.Map(p.X, p.Y)); });
}

Status GdipVectorTransformMatrixPoints(GpMatrix* matrix, GpPointF* points, INT count) {
    return TransformPoints(matrix, points, count, [](const Affine& m, GpPointF& p) { Store(p, m.MapVector(p.X, p.Y)); });
}

Status GdipVectorTransformMatrixPointsI(GpMatrix* matrix, GpPoint* points, INT count) {
    return TransformPoints(matrix, points, count, [](const Affine& m, GpPoint& p) { Store(p, m.MapVector(p.X, p.Y)); });
}

Status GdipIsMatrixInvertible(const GpMatrix* matrix, BOOL* result) {
    return Call([&] {
        Matrix* m = Find<Matrix>(matrix);
        if (!m || !result) return InvalidParameter;
        double det = m->m.Determinant();
        *result = det != 0 && std::isfinite(det);
        return Ok;
    });
}

Status GdipIsMatrixIdentity(const GpMatrix* matrix, BOOL* result) {
    return Call([&] {
        Matrix* m = Find<Matrix>(matrix);
        if (!m || !result) return InvalidParameter;
        *result = m->m.IsIdentity();
        return Ok;
    });
}

}  // namespace gdiplus
