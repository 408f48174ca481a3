// The region algebra behind HRGN and clipping, checked pixel by pixel against plain sets.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>
#include <utility>

#include "platform/ui/Region.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;
constexpr int kGrid = 14;

Pixels PixelsOf(const std::vector<TRect>& rects) {
    Pixels p;
    for (const TRect& r : rects)
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) p.insert({x, y});
    return p;
}

std::vector<TRect> RandomRects(std::mt19937& rng) {
    std::uniform_int_distribution<int> count(0, 5), coord(-1, kGrid);
    std::vector<TRect> rects;
    for (int n = count(rng); n > 0; --n) rects.emplace_back(coord(rng), coord(rng), coord(rng), coord(rng));
    return rects;  // some of them empty or reversed, as callers may pass
}

// The banded form: bands top to bottom, runs left to right that neither touch nor overlap,
// and bands that meet differ.
void ExpectBanded(const ui::Region& r) {
    const auto& rects = r.Rects();
    for (size_t i = 0; i < rects.size(); ++i) {
        ASSERT_FALSE(rects[i].IsEmpty());
        if (i == 0) continue;
        const TRect& a = rects[i - 1];
        const TRect& b = rects[i];
        if (a.Top == b.Top) {
            EXPECT_EQ(a.Bottom, b.Bottom);
            EXPECT_LT(a.Right, b.Left);
        } else {
            EXPECT_GE(b.Top, a.Bottom);
        }
    }
}

}  // namespace

TEST(RegionTest, OperationsMatchPixelSetsAndKeepTheBandedForm) {
    std::mt19937 rng(7);
    for (int round = 0; round < 400; ++round) {
        std::vector<TRect> ra = RandomRects(rng), rb = RandomRects(rng);
        ui::Region a = ui::Region::FromRects(ra), b = ui::Region::FromRects(rb);
        Pixels pa = PixelsOf(ra), pb = PixelsOf(rb);
        ASSERT_EQ(PixelsOf(a.Rects()), pa);
        Pixels both, either, one, left;
        for (const auto& p : pa) (pb.count(p) ? both : left).insert(p);
        either = pa;
        either.insert(pb.begin(), pb.end());
        for (const auto& p : either)
            if (pa.count(p) != pb.count(p)) one.insert(p);
        struct Case { const char* name; ui::Region result; const Pixels& expected; };
        const Case cases[] = {{"and", a & b, both}, {"or", a | b, either}, {"xor", a ^ b, one}, {"diff", a - b, left}};
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(PixelsOf(c.result.Rects()), c.expected);
            ExpectBanded(c.result);
            // The form is unique: the same pixels built another way compare equal.
            EXPECT_EQ(c.result, ui::Region::FromRects(c.result.Rects()));
            std::vector<TRect> single;
            for (const auto& [x, y] : c.expected) single.emplace_back(x, y, x + 1, y + 1);
            EXPECT_EQ(c.result, ui::Region::FromRects(single));
        }
        for (int y = -1; y <= kGrid; ++y)
            for (int x = -1; x <= kGrid; ++x) ASSERT_EQ(a.Contains(x, y), pa.count({x, y}) == 1) << x << "," << y;
    }
}

TEST(RegionTest, ARectangleIsOneRectangleHoweverItWasMade) {
    // Two halves side by side, and two halves one above the other, are one rectangle.
    ui::Region side = ui::Region(Rect(0, 0, 5, 10)) | ui::Region(Rect(5, 0, 10, 10));
    ui::Region stacked = ui::Region(Rect(0, 0, 10, 4)) | ui::Region(Rect(0, 4, 10, 10));
    ui::Region cut = ui::Region(Rect(0, 0, 10, 12)) - ui::Region(Rect(0, 10, 10, 12));
    for (const ui::Region& r : {side, stacked, cut}) {
        EXPECT_EQ(r.RectCount(), 1u);
        EXPECT_EQ(r.Bounds(), Rect(0, 0, 10, 10));
        EXPECT_EQ(r, ui::Region(Rect(0, 0, 10, 10)));
    }
    ui::Region ring = ui::Region(Rect(0, 0, 10, 10)) - ui::Region(Rect(3, 3, 7, 7));
    EXPECT_EQ(ring.RectCount(), 4u);  // top, two sides, bottom
    EXPECT_EQ(ring.Bounds(), Rect(0, 0, 10, 10));
    EXPECT_TRUE(ring.Intersects(Rect(2, 2, 4, 4)));
    EXPECT_FALSE(ring.Intersects(Rect(3, 3, 7, 7)));
    EXPECT_TRUE((ring & ui::Region(Rect(3, 3, 7, 7))).IsEmpty());
    EXPECT_EQ(ui::Region(Rect(5, 5, 5, 9)).Bounds(), TRect());
}

TEST(RegionTest, MovingStopsAtTheEndsOfTheRange) {
    ui::Region r = ui::Region(Rect(0, 0, 10, 10)) | ui::Region(Rect(20, 0, 30, 10));
    EXPECT_EQ(r.Translated(5, -5).Bounds(), Rect(5, -5, 35, 5));
    ui::Region far = r.Translated(INT_MAX - 25, 0);
    // The right-hand part is squeezed against the end; what is left stays banded.
    EXPECT_EQ(far.Bounds().Right, INT_MAX);
    EXPECT_EQ(far.RectCount(), 2u);
    ExpectBanded(far);
    EXPECT_TRUE(r.Translated(INT_MAX, INT_MAX).IsEmpty());  // everything collapsed onto the edge
    EXPECT_EQ(r.Translated(INT_MIN, 0).Bounds(), Rect(INT_MIN, 0, INT_MIN + 30, 10));
    EXPECT_TRUE(r.Translated(INT_MIN, 0).Translated(-40, 0).IsEmpty());
}

TEST(InvalidAreaTest, FarPartsStayApartAndScatteredOnesStayWithinTheBoundCoveringAll) {
    ui::InvalidArea area;
    area.Add(Rect(0, 0, 24, 20));
    area.Add(Rect(1000, 700, 1024, 720));
    EXPECT_EQ(area.Rects(), (std::vector<TRect>{Rect(0, 0, 24, 20), Rect(1000, 700, 1024, 720)}));
    // A neighbour merges; one inside changes nothing.
    area.Add(Rect(24, 0, 48, 20));
    area.Add(Rect(4, 4, 8, 8));
    EXPECT_EQ(area.Rects(), (std::vector<TRect>{Rect(0, 0, 48, 20), Rect(1000, 700, 1024, 720)}));

    std::mt19937 rng(7);
    std::uniform_int_distribution<int> x(0, 1000), y(0, 740);
    ui::InvalidArea scattered;
    std::vector<TRect> added;
    for (int i = 0; i < 100; ++i) {
        TRect cell = Bounds(x(rng), y(rng), 24, 20);
        added.push_back(cell);
        scattered.Add(cell);
        ASSERT_LE(scattered.Rects().size(), ui::InvalidArea::kMaxRects);
    }
    ui::Region covered = scattered.ToRegion();
    for (const TRect& cell : added) EXPECT_TRUE((ui::Region(cell) - covered).IsEmpty()) << cell.Left << "," << cell.Top;
    // Not the whole window: the bound merges the cheapest pairs, not everything.
    EXPECT_FALSE((ui::Region(Rect(0, 0, 1024, 760)) - covered).IsEmpty());
}

TEST(InvalidAreaTest, SubtractingTakesExactlyThePartOut) {
    ui::InvalidArea area;
    area.Add(Rect(0, 0, 100, 100));
    area.Subtract(Rect(40, 40, 60, 60));
    EXPECT_EQ(PixelsOf(area.Rects()).size(), 100u * 100u - 20u * 20u);
    EXPECT_TRUE((area.ToRegion() & ui::Region(Rect(40, 40, 60, 60))).IsEmpty());
    EXPECT_EQ(area.Bounds(), Rect(0, 0, 100, 100));
    // A part invalidated elsewhere leaves the pieces as they are: the cut does not come back.
    area.Add(Rect(500, 500, 510, 510));
    EXPECT_TRUE((area.ToRegion() & ui::Region(Rect(40, 40, 60, 60))).IsEmpty());
    EXPECT_EQ(PixelsOf(area.Rects()).size(), 100u * 100u - 20u * 20u + 100u);
    area.Subtract(Rect(-5, -5, 600, 600));
    EXPECT_TRUE(area.IsEmpty());
}

