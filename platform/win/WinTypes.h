#pragma once
// Window handles, and value-returning helpers for the rectangles of platform/rtl/Geometry.h.
#include <algorithm>
#include <cstdint>

#include "platform/rtl/Geometry.h"
#include "platform/rtl/Types.h"

using HWND = HANDLE;
using SHORT = int16_t;

// number x numerator / denominator through 64 bits, rounded half away from zero; -1 when the
// denominator is 0 or the result does not fit 32 bits, as on the platform.
constexpr int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator) {
    if (denominator == 0) return -1;
    int64_t p = int64_t{number} * numerator;
    int64_t d = denominator;
    bool negative = (p < 0) != (d < 0);
    uint64_t ap = p < 0 ? static_cast<uint64_t>(-p) : static_cast<uint64_t>(p);
    uint64_t ad = d < 0 ? static_cast<uint64_t>(-d) : static_cast<uint64_t>(d);
    uint64_t q = (ap + ad / 2) / ad;
    if (q > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return -1;
    return negative ? static_cast<int32_t>(-static_cast<int64_t>(q)) : static_cast<int32_t>(q);
}

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
