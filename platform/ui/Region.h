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

// The invalid part of a window: a few rectangles. One that overlaps or nearly touches another is
// merged with it into their bounding rectangle; beyond kMaxRects the two whose bounding
// rectangle adds least are merged, so the list stays short whatever is invalidated, always
// covers all of it, and two far-apart parts do not take the space between them.
class InvalidArea {
public:
    static constexpr size_t kMaxRects = 16;
    // Rectangles closer than this are merged.
    static constexpr int kNear = 2;

    void Add(const TRect& rect);
    // Takes a rectangle out (exactly, as long as the bound allows); the pieces left are not
    // merged back.
    void Subtract(const TRect& rect);
    void Clear() { FRects.clear(); }
    bool IsEmpty() const { return FRects.empty(); }
    const std::vector<TRect>& Rects() const { return FRects; }
    TRect Bounds() const;
    Region ToRegion() const { return Region::FromRects(FRects); }
    friend bool operator==(const InvalidArea& a, const InvalidArea& b) { return a.FRects == b.FRects; }

private:
    // Adds a rectangle merged with those near it.
    void Absorb(TRect grown);
    // Merges the cheapest pairs while over kMaxRects.
    void Bound();
    std::vector<TRect> FRects;
};

}  // namespace ui
