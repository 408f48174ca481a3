#pragma once
// A set of pixels as rectangles, the data behind HRGN and a canvas's clip. The rectangles are
// y-x banded: rows of equal height (bands) from top to bottom, each a run of rectangles from
// left to right that neither overlap nor touch, and two bands that meet have different runs.
// That form is unique, so two regions are equal exactly when their rectangles are, and a region
// that is a rectangle is one rectangle.
#include <cstddef>
#include <vector>

#include "platform/rtl/Geometry.h"

namespace ui {

class Region {
public:
    Region() = default;
    // An empty rectangle gives an empty region.
    explicit Region(const TRect& rect);
    // The union of any rectangles (overlapping, touching, empty ones included).
    static Region FromRects(const std::vector<TRect>& rects);

    bool IsEmpty() const { return FRects.empty(); }
    size_t RectCount() const { return FRects.size(); }
    const std::vector<TRect>& Rects() const { return FRects; }
    // The smallest rectangle holding the region; empty for an empty region.
    TRect Bounds() const { return FBounds; }
    bool Contains(int x, int y) const;
    bool Intersects(const TRect& rect) const;
    // Moved by (dx, dy); coordinates that would leave the int range stop at its ends.
    Region Translated(int dx, int dy) const;

    friend Region operator&(const Region& a, const Region& b);
    friend Region operator|(const Region& a, const Region& b);
    friend Region operator^(const Region& a, const Region& b);
    friend Region operator-(const Region& a, const Region& b);
    friend bool operator==(const Region& a, const Region& b) { return a.FRects == b.FRects; }

private:
    enum class Op { And, Or, Xor, Diff };
    static Region Combine(const Region& a, const Region& b, Op op);
    void Finish();
    std::vector<TRect> FRects;
    TRect FBounds;
};

}  // namespace ui
