#pragma once
// A bitmap to draw on, cleared to a colour no routine uses, and ways to read it back.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "platform/ui/Graphics.h"

namespace render_test {

constexpr TColor kMarker = 0xFF00FF;

struct Sheet {
    TBitmap bitmap;
    Sheet(int width, int height) : bitmap(width, height, pf24bit) { Clear(); }
    void Clear(TColor color = kMarker) {
        Canvas()->Brush()->SetStyle(bsSolid);
        Canvas()->Brush()->SetColor(color);
        Canvas()->FillRect(TRect(0, 0, bitmap.Width(), bitmap.Height()));
    }
    TCanvas* Canvas() { return bitmap.Canvas(); }
    TColor At(int x, int y) { return Canvas()->Pixels(x, y); }
    // Runs of one colour along row y: (first x, length) for each run of `color`.
    std::vector<std::pair<int, int>> Runs(int y, TColor color) {
        std::vector<std::pair<int, int>> runs;
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (At(x, y) != color) continue;
            if (!runs.empty() && runs.back().first + runs.back().second == x)
                ++runs.back().second;
            else
                runs.emplace_back(x, 1);
        }
        return runs;
    }
    // Every pixel that satisfies pred.
    std::vector<TPoint> Where(const std::function<bool(TColor)>& pred) {
        std::vector<TPoint> found;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                if (pred(At(x, y))) found.emplace_back(x, y);
        return found;
    }
};

// Two sheets of one size hold the same pixels; the first difference otherwise.
inline ::testing::AssertionResult SamePixels(Sheet& a, Sheet& b) {
    for (int y = 0; y < a.bitmap.Height(); ++y)
        for (int x = 0; x < a.bitmap.Width(); ++x)
            if (a.At(x, y) != b.At(x, y))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << "): " << std::hex << a.At(x, y)
                                                     << " against " << b.At(x, y);
    return ::testing::AssertionSuccess();
}

}  // namespace render_test
