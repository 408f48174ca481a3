#pragma once
// Window handles, and value-returning helpers for the rectangles of platform/rtl/Geometry.h.
#include <algorithm>
#include <cstdint>

#include "platform/rtl/Geometry.h"
#include "platform/rtl/Types.h"

using HWND = HANDLE;
using SHORT = int16_t;

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
