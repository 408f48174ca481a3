#pragma once
// Geometry and window-handle types of the operating-system surface.
#include <algorithm>
#include <cstdint>

#include "platform/rtl/Types.h"

using HWND = HANDLE;
using SHORT = int16_t;

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int32_t x, int32_t y) : X(x), Y(y) {}
    constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
    int32_t cx = 0;
    int32_t cy = 0;
};

// Right and bottom are exclusive, as on the platform.
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int32_t l, int32_t t, int32_t r, int32_t b) : Left(l), Top(t), Right(r), Bottom(b) {}
    constexpr int32_t Width() const { return Right - Left; }
    constexpr int32_t Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(const TPoint& p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    constexpr bool operator==(const TRect&) const = default;
};

constexpr TPoint Point(int32_t x, int32_t y) { return {x, y}; }
constexpr TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return {l, t, r, b}; }
constexpr TRect Bounds(int32_t l, int32_t t, int32_t w, int32_t h) { return {l, t, l + w, t + h}; }
constexpr bool PtInRect(const TRect& r, const TPoint& p) { return r.Contains(p); }
constexpr TRect OffsetRectBy(const TRect& r, int32_t dx, int32_t dy) { return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }
// Intersection; an empty result is all zero, as the platform returns it.
constexpr TRect IntersectRects(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
}
constexpr TRect UnionRects(const TRect& a, const TRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}
