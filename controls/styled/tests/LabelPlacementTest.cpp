// The attached label's fifteen places.
#include <gtest/gtest.h>

#include "controls/styled/LabelPlacement.h"
#include "platform/ui/Graphics.h"

namespace {

TEST(LabelPlacement, EveryPositionForOneControl) {
    // A control at left 100, top 50, 80 x 21; a label 40 x 13 whose caption is w = 30 wide.
    const TRect control = Bounds(100, 50, 80, 21);
    const TSize label(40, 13);
    const int w = 30, M = 4;
    const TPoint expected[15] = {
        Point(100 - w - M, 50),       // left, top
        Point(100 - w - M, 54),       // left, centred: 50 + (21 - 13) / 2
        Point(100 - w - M, 58),       // left, bottom: 50 + 21 - 13
        Point(100, 33),               // above, left: 50 - 13 - 4
        Point(100, 75),               // below, left: 50 + 21 + 4
        Point(96, 50),                // left of the left edge, top
        Point(96, 54),
        Point(96, 58),
        Point(120, 33),               // above, centred: 100 + (80 - 40) / 2
        Point(120, 75),
        Point(184, 50),               // right: 100 + 80 + 4
        Point(184, 54),
        Point(184, 58),
        Point(140, 33),               // above, right-aligned: 100 + 80 - 40
        Point(140, 75),
    };
    for (int p = 0; p < 15; ++p) EXPECT_EQ(styled::AttachedLabelPos(p, control, label, w, M), expected[p]) << p;
}

TEST(LabelPlacement, CentringTruncatesTowardZero) {
    // A label taller and wider than the control, by an odd amount.
    const TRect control = Bounds(10, 20, 30, 10);
    const TSize label(33, 13);
    EXPECT_EQ(styled::AttachedLabelPos(styled::lpLeftCenter, control, label, 0, 0).Y, 20 - 1);
    EXPECT_EQ(styled::AttachedLabelPos(styled::lpTopCenter, control, label, 0, 0).X, 10 - 1);
}

TEST(LabelPlacement, TheCaptionIsMeasuredWithoutItsPrefix) {
    TFont font;
    font.SetName(u"Arial");
    font.SetSize(10);
    EXPECT_EQ(styled::AttachedLabelTextWidth(u"&Port", &font), styled::AttachedLabelTextWidth(u"Port", &font));
    EXPECT_GT(styled::AttachedLabelTextWidth(u"Port", &font), 0);
}

}  // namespace
