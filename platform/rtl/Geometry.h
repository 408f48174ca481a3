#pragma once
// Points, sizes and rectangles of the window system. A rectangle's right and bottom edges are
// exclusive: Rect(0, 0, 10, 10) covers the pixels 0..9 in both directions.
#include <algorithm>
#include <cstdint>

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int32_t x, int32_t y) : X(x), Y(y) {}
    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int32_t cx = 0;
    int32_t cy = 0;
    constexpr TSize() = default;
    constexpr TSize(int32_t w, int32_t h) : cx(w), cy(h) {}
    friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int32_t l, int32_t t, int32_t r, int32_t b) : Left(l), Top(t), Right(r), Bottom(b) {}
    constexpr TRect(TPoint topLeft, TPoint bottomRight)
        : Left(topLeft.X), Top(topLeft.Y), Right(bottomRight.X), Bottom(bottomRight.Y) {}
    constexpr int32_t Width() const { return Right - Left; }
    constexpr int32_t Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

// The platform's structure names for the same types.
using POINT = TPoint;
using SIZE = TSize;
using RECT = TRect;

constexpr TPoint Point(int32_t x, int32_t y) { return {x, y}; }
constexpr TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) { return {left, top, right, bottom}; }
constexpr TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {left, top, left + width, top + height};
}

inline bool SetRect(TRect* r, int32_t l, int32_t t, int32_t rr, int32_t b) {
    if (!r) return false;
    *r = {l, t, rr, b};
    return true;
}
inline bool SetRectEmpty(TRect* r) { return SetRect(r, 0, 0, 0, 0); }
inline bool CopyRect(TRect* dst, const TRect* src) {
    if (!dst || !src) return false;
    *dst = *src;
    return true;
}
inline bool InflateRect(TRect* r, int32_t dx, int32_t dy) {
    if (!r) return false;
    r->Left -= dx; r->Top -= dy; r->Right += dx; r->Bottom += dy;
    return true;
}
inline bool OffsetRect(TRect* r, int32_t dx, int32_t dy) {
    if (!r) return false;
    r->Left += dx; r->Top += dy; r->Right += dx; r->Bottom += dy;
    return true;
}
inline bool IsRectEmpty(const TRect* r) { return !r || r->IsEmpty(); }
inline bool EqualRect(const TRect* a, const TRect* b) { return a && b && *a == *b; }
inline bool PtInRect(const TRect* r, TPoint p) { return r && r->Contains(p); }
// Both return false and an empty (all-zero) result when the intersection is empty.
inline bool IntersectRect(TRect* dst, const TRect* a, const TRect* b) {
    if (!dst || !a || !b) return false;
    TRect r(std::max(a->Left, b->Left), std::max(a->Top, b->Top), std::min(a->Right, b->Right),
            std::min(a->Bottom, b->Bottom));
    if (r.IsEmpty()) {
        *dst = {};
        return false;
    }
    *dst = r;
    return true;
}
inline bool UnionRect(TRect* dst, const TRect* a, const TRect* b) {
    if (!dst || !a || !b) return false;
    if (a->IsEmpty()) { *dst = b->IsEmpty() ? TRect() : *b; return !dst->IsEmpty(); }
    if (b->IsEmpty()) { *dst = *a; return true; }
    *dst = {std::min(a->Left, b->Left), std::min(a->Top, b->Top), std::max(a->Right, b->Right),
            std::max(a->Bottom, b->Bottom)};
    return true;
}

// Reference overloads, as the components' code reads (IntersectRect(R, A, B)).
inline bool InflateRect(TRect& r, int32_t dx, int32_t dy) { return InflateRect(&r, dx, dy); }
inline bool OffsetRect(TRect& r, int32_t dx, int32_t dy) { return OffsetRect(&r, dx, dy); }
inline bool IntersectRect(TRect& dst, const TRect& a, const TRect& b) { return IntersectRect(&dst, &a, &b); }
inline bool UnionRect(TRect& dst, const TRect& a, const TRect& b) { return UnionRect(&dst, &a, &b); }
inline bool PtInRect(const TRect& r, TPoint p) { return r.Contains(p); }
inline bool IsRectEmpty(const TRect& r) { return r.IsEmpty(); }
