#include "platform/ui/Region.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace ui {

namespace {

using Spans = std::vector<std::pair<int, int>>;

// Builds the banded form band by band, from top to bottom, joining a band to the one above when
// they meet and have the same run.
class Builder {
public:
    void AddBand(int top, int bottom, const Spans& spans) {
        if (spans.empty() || bottom <= top) return;
        if (FLastBottom == top && SameAsLast(spans)) {
            for (size_t i = FLastStart; i < FRects.size(); ++i) FRects[i].Bottom = bottom;
        } else {
            FLastStart = FRects.size();
            for (const auto& [l, r] : spans) FRects.emplace_back(l, top, r, bottom);
        }
        FLastBottom = bottom;
    }
    std::vector<TRect> Take() { return std::move(FRects); }

private:
    bool SameAsLast(const Spans& spans) const {
        if (FRects.size() - FLastStart != spans.size()) return false;
        for (size_t i = 0; i < spans.size(); ++i)
            if (FRects[FLastStart + i].Left != spans[i].first || FRects[FLastStart + i].Right != spans[i].second)
                return false;
        return true;
    }
    std::vector<TRect> FRects;
    size_t FLastStart = 0;
    int64_t FLastBottom = std::numeric_limits<int64_t>::min();
};

struct Band {
    int top, bottom;
    size_t begin, end;
};

std::vector<Band> BandsOf(const std::vector<TRect>& rects) {
    std::vector<Band> bands;
    for (size_t i = 0; i < rects.size(); ++i) {
        if (bands.empty() || bands.back().top != rects[i].Top) bands.push_back({rects[i].Top, rects[i].Bottom, i, i});
        bands.back().end = i + 1;
    }
    return bands;
}

// Whether the rectangles already have the banded form.
bool IsBanded(const std::vector<TRect>& rects) {
    size_t bandStart = 0;
    for (size_t i = 0; i < rects.size(); ++i) {
        const TRect& r = rects[i];
        if (r.IsEmpty()) return false;
        if (i == 0) continue;
        const TRect& p = rects[i - 1];
        if (r.Top == p.Top) {
            if (r.Bottom != p.Bottom || r.Left <= p.Right) return false;
            continue;
        }
        if (r.Top < p.Bottom) return false;
        if (r.Top == p.Bottom) {
            // A band that meets the one above must differ from it.
            size_t end = i;
            while (end < rects.size() && rects[end].Top == r.Top) ++end;
            if (end - i == i - bandStart) {
                bool same = true;
                for (size_t k = 0; k < end - i && same; ++k)
                    same = rects[i + k].Left == rects[bandStart + k].Left && rects[i + k].Right == rects[bandStart + k].Right;
                if (same) return false;
            }
        }
        bandStart = i;
    }
    return true;
}

// The runs of one band of a and b combined: a sweep over their edges.
template <class Keep>
void CombineRuns(const TRect* a, size_t na, const TRect* b, size_t nb, Keep keep, Spans& out) {
    out.clear();
    constexpr int64_t kNone = std::numeric_limits<int64_t>::max();
    size_t i = 0, j = 0;
    bool inA = false, inB = false, inOut = false;
    int start = 0;
    for (;;) {
        int64_t xa = i < na ? (inA ? a[i].Right : a[i].Left) : kNone;
        int64_t xb = j < nb ? (inB ? b[j].Right : b[j].Left) : kNone;
        int64_t x = std::min(xa, xb);
        if (x == kNone) break;
        if (xa == x) {
            if (inA) ++i;
            inA = !inA;
        }
        if (xb == x) {
            if (inB) ++j;
            inB = !inB;
        }
        bool now = keep(inA, inB);
        if (now == inOut) continue;
        if (now) start = static_cast<int>(x);
        else out.emplace_back(start, static_cast<int>(x));
        inOut = now;
    }
}

int Held(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

Region::Region(const TRect& rect) {
    if (!rect.IsEmpty()) FRects.push_back(rect);
    Finish();
}

Region Region::FromRects(const std::vector<TRect>& rects) {
    Region out;
    if (IsBanded(rects)) {
        out.FRects = rects;
        out.Finish();
        return out;
    }
    std::vector<TRect> live;
    for (const TRect& r : rects)
        if (!r.IsEmpty()) live.push_back(r);
    std::sort(live.begin(), live.end(), [](const TRect& a, const TRect& b) { return a.Top < b.Top; });
    std::vector<int> ys;
    for (const TRect& r : live) {
        ys.push_back(r.Top);
        ys.push_back(r.Bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    Builder builder;
    Spans row, merged;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        int y0 = ys[k];
        row.clear();
        for (const TRect& r : live) {
            if (r.Top > y0) break;
            if (r.Bottom > y0) row.emplace_back(r.Left, r.Right);
        }
        std::sort(row.begin(), row.end());
        merged.clear();
        for (const auto& s : row) {
            if (!merged.empty() && s.first <= merged.back().second) merged.back().second = std::max(merged.back().second, s.second);
            else merged.push_back(s);
        }
        builder.AddBand(y0, ys[k + 1], merged);
    }
    out.FRects = builder.Take();
    out.Finish();
    return out;
}

void Region::Finish() {
    FBounds = TRect();
    if (FRects.empty()) return;
    FBounds = FRects.front();
    for (const TRect& r : FRects) {
        FBounds.Left = std::min(FBounds.Left, r.Left);
        FBounds.Right = std::max(FBounds.Right, r.Right);
    }
    FBounds.Bottom = FRects.back().Bottom;
}

bool Region::Contains(int x, int y) const {
    // Bands run down the page, so the rectangles' bottoms never decrease.
    auto it = std::partition_point(FRects.begin(), FRects.end(), [y](const TRect& r) { return r.Bottom <= y; });
    for (; it != FRects.end() && it->Top <= y; ++it)
        if (x >= it->Left && x < it->Right) return true;
    return false;
}

bool Region::Intersects(const TRect& rect) const {
    if (rect.IsEmpty()) return false;
    for (const TRect& r : FRects)
        if (r.Left < rect.Right && rect.Left < r.Right && r.Top < rect.Bottom && rect.Top < r.Bottom) return true;
    return false;
}

Region Region::Translated(int dx, int dy) const {
    Region out;
    bool held = false;
    out.FRects.reserve(FRects.size());
    for (const TRect& r : FRects) {
        int64_t l = int64_t{r.Left} + dx, t = int64_t{r.Top} + dy, rr = int64_t{r.Right} + dx, b = int64_t{r.Bottom} + dy;
        TRect moved(Held(l), Held(t), Held(rr), Held(b));
        held = held || moved.Left != l || moved.Top != t || moved.Right != rr || moved.Bottom != b;
        out.FRects.push_back(moved);
    }
    // Rectangles held at the ends may have collapsed or met: build the form again.
    if (held) return FromRects(out.FRects);
    out.Finish();
    return out;
}

Region Region::Combine(const Region& a, const Region& b, Op op) {
    switch (op) {
        case Op::And:
            if (a.IsEmpty() || b.IsEmpty()) return Region();
            break;
        case Op::Or:
        case Op::Xor:
            if (b.IsEmpty()) return a;
            if (a.IsEmpty()) return b;
            break;
        case Op::Diff:
            if (a.IsEmpty() || b.IsEmpty()) return a;
            break;
    }
    std::vector<Band> ba = BandsOf(a.FRects), bb = BandsOf(b.FRects);
    std::vector<int> ys;
    ys.reserve(2 * (ba.size() + bb.size()));
    for (const Band& x : ba) {
        ys.push_back(x.top);
        ys.push_back(x.bottom);
    }
    for (const Band& x : bb) {
        ys.push_back(x.top);
        ys.push_back(x.bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    auto keep = [op](bool inA, bool inB) {
        switch (op) {
            case Op::And: return inA && inB;
            case Op::Or: return inA || inB;
            case Op::Xor: return inA != inB;
            case Op::Diff: return inA && !inB;
        }
        return false;
    };
    Builder builder;
    Spans runs;
    size_t ia = 0, ib = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        int y0 = ys[k];
        while (ia < ba.size() && ba[ia].bottom <= y0) ++ia;
        while (ib < bb.size() && bb[ib].bottom <= y0) ++ib;
        bool coverA = ia < ba.size() && ba[ia].top <= y0, coverB = ib < bb.size() && bb[ib].top <= y0;
        if (!coverA && !coverB) continue;
        const TRect* ra = coverA ? a.FRects.data() + ba[ia].begin : nullptr;
        const TRect* rb = coverB ? b.FRects.data() + bb[ib].begin : nullptr;
        CombineRuns(ra, coverA ? ba[ia].end - ba[ia].begin : 0, rb, coverB ? bb[ib].end - bb[ib].begin : 0, keep, runs);
        builder.AddBand(y0, ys[k + 1], runs);
    }
    Region out;
    out.FRects = builder.Take();
    out.Finish();
    return out;
}

Region operator&(const Region& a, const Region& b) { return Region::Combine(a, b, Region::Op::And); }
Region operator|(const Region& a, const Region& b) { return Region::Combine(a, b, Region::Op::Or); }
Region operator^(const Region& a, const Region& b) { return Region::Combine(a, b, Region::Op::Xor); }
Region operator-(const Region& a, const Region& b) { return Region::Combine(a, b, Region::Op::Diff); }


// ---------------------------------------------------------------------------------------------
// InvalidArea

namespace {

TRect BoundOf(const TRect& a, const TRect& b) {
    return TRect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom));
}

int64_t AreaOf(const TRect& r) { return (int64_t{r.Right} - r.Left) * (int64_t{r.Bottom} - r.Top); }

bool Near(const TRect& a, const TRect& b, int gap) {
    return int64_t{a.Left} - gap <= b.Right && int64_t{b.Left} - gap <= a.Right && int64_t{a.Top} - gap <= b.Bottom &&
           int64_t{b.Top} - gap <= a.Bottom;
}

bool Holds(const TRect& outer, const TRect& inner) {
    return outer.Left <= inner.Left && outer.Top <= inner.Top && outer.Right >= inner.Right && outer.Bottom >= inner.Bottom;
}

}  // namespace

void InvalidArea::Add(const TRect& rect) {
    if (rect.IsEmpty()) return;
    for (const TRect& r : FRects)
        if (Holds(r, rect)) return;
    Absorb(rect);
    Bound();
}

void InvalidArea::Absorb(TRect grown) {
    // Only the new rectangle takes in its neighbours (and theirs, as it grows): the pieces a cut
    // left touching elsewhere stay apart.
    std::vector<bool> taken(FRects.size(), false);
    for (bool more = true; more;) {
        more = false;
        for (size_t i = 0; i < FRects.size(); ++i)
            if (!taken[i] && Near(FRects[i], grown, kNear)) {
                grown = BoundOf(grown, FRects[i]);
                taken[i] = more = true;
            }
    }
    // The merged rectangle takes the place of the first one it took in.
    std::vector<TRect> kept;
    bool placed = false;
    for (size_t i = 0; i < FRects.size(); ++i) {
        if (!taken[i]) kept.push_back(FRects[i]);
        else if (!placed) kept.push_back(grown);
        placed = placed || taken[i];
    }
    if (!placed) kept.push_back(grown);
    FRects = std::move(kept);
}

void InvalidArea::Subtract(const TRect& cut) {
    if (cut.IsEmpty() || FRects.empty()) return;
    std::vector<TRect> left;
    for (const TRect& a : FRects) {
        if (cut.Left >= a.Right || cut.Right <= a.Left || cut.Top >= a.Bottom || cut.Bottom <= a.Top) {
            left.push_back(a);
            continue;
        }
        // What stays of a: the bands above and below the cut, and the parts beside it.
        int top = std::max(a.Top, cut.Top), bottom = std::min(a.Bottom, cut.Bottom);
        if (cut.Top > a.Top) left.emplace_back(a.Left, a.Top, a.Right, cut.Top);
        if (cut.Bottom < a.Bottom) left.emplace_back(a.Left, cut.Bottom, a.Right, a.Bottom);
        if (cut.Left > a.Left) left.emplace_back(a.Left, top, cut.Left, bottom);
        if (cut.Right < a.Right) left.emplace_back(cut.Right, top, a.Right, bottom);
    }
    // The pieces touch each other but do not overlap: they stay as they are unless over the bound.
    FRects = std::move(left);
    Bound();
}

TRect InvalidArea::Bounds() const {
    if (FRects.empty()) return TRect();
    TRect b = FRects.front();
    for (const TRect& r : FRects) b = BoundOf(b, r);
    return b;
}

void InvalidArea::Bound() {
    while (FRects.size() > kMaxRects) {
        size_t bi = 0, bj = 1;
        int64_t best = std::numeric_limits<int64_t>::max();
        for (size_t i = 0; i < FRects.size(); ++i)
            for (size_t j = i + 1; j < FRects.size(); ++j) {
                int64_t added = AreaOf(BoundOf(FRects[i], FRects[j])) - AreaOf(FRects[i]) - AreaOf(FRects[j]);
                if (added < best) {
                    best = added;
                    bi = i;
                    bj = j;
                }
            }
        TRect merged = BoundOf(FRects[bi], FRects[bj]);
        FRects.erase(FRects.begin() + static_cast<std::ptrdiff_t>(bj));
        FRects.erase(FRects.begin() + static_cast<std::ptrdiff_t>(bi));
        // The bigger rectangle may now reach others.
        Absorb(merged);
    }
}

}  // namespace ui
