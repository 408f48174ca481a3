// The clock's geometry and painting: what a full paint draws, what a time change redraws, the
// unit's drawing routines, the cursor and the dialog code.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "dropdown/tests/WatchTestSupport.h"
#include "platform/ui/Gdi.h"

namespace {

using watch_test::Argb;
using watch_test::Drawn;
using watch_test::RecordingEngine;
using watch_test::ShadowArgb;
using watch_test::WatchTest;

class WatchPaintTest : public WatchTest {
protected:
    TWatchAppearance* A() { return watch->Appearance(); }
    // The horizontal centre of the ink that differs from the colour in the square round (x, y).
    double InkCentreX(int x, int y, int half, TColor colour) {
        double sum = 0;
        int n = 0;
        for (int j = y - half; j <= y + half; ++j)
            for (int i = x - half; i <= x + half; ++i)
                if (At(i, j) != colour) {
                    sum += i;
                    ++n;
                }
        return n ? sum / n : -1;
    }
};

void ExpectPoint(const watch_test::eng::PointD& p, double x, double y, const char* what) {
    EXPECT_NEAR(p.X, x, 0.01) << what;
    EXPECT_NEAR(p.Y, y, 0.01) << what;
}

TEST_F(WatchPaintTest, Geometry) {
    EXPECT_EQ(watch->Width(), 180);
    EXPECT_EQ(watch->GetFaceRect(), TRect(10, 10, 170, 170));
    EXPECT_EQ(watch->GetCenter(), TPoint(90, 90));
    EXPECT_EQ(watch->GetRadius(), 80);
    A()->SetSize(100);
    EXPECT_EQ(watch->GetFaceRect(), TRect(40, 40, 140, 140));
    // Larger than the client area: cut to the smaller side.
    watch->SetBounds(0, 0, 180, 120);
    A()->SetSize(500);
    EXPECT_EQ(watch->GetFaceRect(), TRect(30, 0, 150, 120));
    A()->SetSize(0);
    EXPECT_EQ(watch->GetFaceRect(), TRect(40, 10, 140, 110));
}

TEST_F(WatchPaintTest, AMPMBoxIsTheTextWidthAndAThirdBelowTheCentre) {
    TFont font;
    font.SetName("Arial");
    font.SetSize(10);
    A()->SetAMPMFont(&font);
    TBitmap probe(10, 10);
    probe.Canvas()->Font()->Assign(&font);
    TSize text = probe.Canvas()->TextExtent(String("AM"));
    int left = 90 - (text.cx + 8) / 2;
    int top = 90 + static_cast<int>(std::nearbyint((80.0 - text.cy) / 3));
    EXPECT_EQ(watch->GetAMPMRect(), TRect(left, top, left + text.cx + 8, top + text.cy));
    watch->SetShowAMPM(false);
    EXPECT_EQ(watch->GetAMPMRect(), TRect(-1, -1, -1, -1));
}

TEST_F(WatchPaintTest, TickMarks) {
    const TColor hour = 0x0000C0, minute = 0x00C000;
    A()->SetHourColor(hour);
    A()->SetMinuteColor(minute);
    RecordingEngine engine;
    Repaint(engine);
    auto hours = engine.Of(Drawn::Stroke, Argb(hour));
    auto minutes = engine.Of(Drawn::Stroke, Argb(minute));
    ASSERT_EQ(hours.size(), 12u);
    ASSERT_EQ(minutes.size(), 48u);
    // r0 = 80 - 4 div 2 = 78; hour ticks from 0.9 r0, minute ticks from 0.95 r0.
    for (const Drawn& d : hours) {
        EXPECT_NEAR(d.FromDistance(90, 90), 70.2, 0.01);
        EXPECT_NEAR(d.ToDistance(90, 90), 78, 0.01);
    }
    for (const Drawn& d : minutes) {
        EXPECT_NEAR(d.FromDistance(90, 90), 74.1, 0.01);
        EXPECT_NEAR(d.ToDistance(90, 90), 78, 0.01);
    }
    // The first tick is 3 o'clock's.
    ExpectPoint(hours.front().points.back(), 168, 90, "3 o'clock");

    struct Case {
        TTickMarks marks;
        size_t hours, minutes;
    };
    for (Case c : {Case{tmHours, 12, 0}, Case{tmQuartHours, 4, 0}, Case{tmNone, 0, 0}}) {
        A()->SetTickMarks(c.marks);
        Repaint(engine);
        EXPECT_EQ(engine.Of(Drawn::Stroke, Argb(hour)).size(), c.hours) << c.marks;
        EXPECT_EQ(engine.Of(Drawn::Stroke, Argb(minute)).size(), c.minutes) << c.marks;
    }

    // Quarter ticks as two lines 4 pixels apart; given lengths replace the fractions.
    A()->SetTickMarks(tmAll);
    A()->SetHourMarkStyle(hmsQuartDblLine);
    A()->SetHourMarkLength(10);
    A()->SetMinuteMarkLength(3);
    Repaint(engine);
    hours = engine.Of(Drawn::Stroke, Argb(hour));
    ASSERT_EQ(hours.size(), 16u);
    ExpectPoint(hours[0].points.front(), 158, 88, "3 o'clock, upper");
    ExpectPoint(hours[1].points.front(), 158, 92, "3 o'clock, lower");
    ExpectPoint(hours[2].points.front(), 88, 158, "6 o'clock, left");
    ExpectPoint(hours[3].points.front(), 92, 158, "6 o'clock, right");
    EXPECT_NEAR(engine.Of(Drawn::Stroke, Argb(minute)).front().FromDistance(90, 90), 75, 0.01);
}

TEST_F(WatchPaintTest, NumbersFollowTheTickMarks) {
    // 7:35 keeps the hands away from 12, 1, 3 and 9.
    watch->SetTime(EncodeTime(7, 35, 0, 0));
    Paint();
    // L = 10: the number boxes stand 61 pixels from the centre.
    EXPECT_NEAR(InkCentreX(151, 90, 6, clWhite) - 90, 61, 1.5);
    EXPECT_NEAR(90 - InkCentreX(29, 90, 6, clWhite), 61, 1.5);
    struct Case {
        TTickMarks marks;
        bool three, one;
    };
    for (Case c : {Case{tmAll, true, true}, Case{tmQuartHours, true, false}, Case{tmHours, false, false},
                   Case{tmNone, false, false}}) {
        A()->SetTickMarks(c.marks);
        Paint();
        EXPECT_EQ(Unlike(151, 90, 4, clWhite) > 0, c.three) << c.marks;
        EXPECT_EQ(Unlike(120, 37, 4, clWhite) > 0, c.one) << c.marks;
    }
    A()->SetTickMarks(tmAll);
    watch->SetShowNumbers(false);
    Paint();
    EXPECT_EQ(Unlike(151, 90, 4, clWhite), 0);
}

TEST_F(WatchPaintTest, HandsAndTheirShadowsInOrder) {
    const TColor hour = 0x000080, minute = 0x008000, hourShadow = 0x404040, minuteShadow = 0x606060;
    A()->SetHourPointer(hour);
    A()->SetMinutePointer(minute);
    A()->SetHourPointerShadow(hourShadow);
    A()->SetMinutePointerShadow(minuteShadow);
    watch->SetTime(EncodeTime(3, 0, 0, 0));
    RecordingEngine engine;
    Repaint(engine);
    std::vector<Drawn> hands;
    for (const Drawn& d : engine.calls)
        if (d.kind == Drawn::Stroke && (d.color == Argb(hour) || d.color == Argb(minute) ||
                                        d.color == ShadowArgb(hourShadow) || d.color == ShadowArgb(minuteShadow)))
            hands.push_back(d);
    ASSERT_EQ(hands.size(), 4u);
    EXPECT_EQ(hands[0].color, ShadowArgb(hourShadow));
    ExpectPoint(hands[0].points.front(), 81, 93, "hour shadow tail");
    ExpectPoint(hands[0].points.back(), 125.8, 93, "hour shadow tip");
    EXPECT_EQ(hands[1].color, Argb(hour));
    EXPECT_EQ(hands[1].width, 4);
    ExpectPoint(hands[1].points.front(), 82, 90, "hour tail");
    ExpectPoint(hands[1].points.back(), 130, 90, "hour tip: right, 0.5 R out");
    EXPECT_EQ(hands[2].color, ShadowArgb(minuteShadow));
    ExpectPoint(hands[2].points.front(), 90, 101, "minute shadow tail");
    ExpectPoint(hands[2].points.back(), 90, 41, "minute shadow tip");
    EXPECT_EQ(hands[3].color, Argb(minute));
    EXPECT_EQ(hands[3].width, 3);
    ExpectPoint(hands[3].points.back(), 90, 34, "minute tip");

    // No shadow for clNone.
    A()->SetHourPointerShadow(clNone);
    A()->SetMinutePointerShadow(clNone);
    Repaint(engine);
    EXPECT_TRUE(engine.Of(Drawn::Stroke, ShadowArgb(hourShadow)).empty());
    EXPECT_TRUE(engine.Of(Drawn::Stroke, ShadowArgb(minuteShadow)).empty());
    EXPECT_EQ(engine.Of(Drawn::Stroke, Argb(hour)).size(), 1u);
}

TEST_F(WatchPaintTest, PointersAreFilledPolygons) {
    const TColor hour = 0x000080, shadow = 0x404040;
    A()->SetPointerStyle(psPointer);
    A()->SetHourPointer(hour);
    A()->SetHourPointerShadow(shadow);
    watch->SetTime(EncodeTime(3, 0, 0, 0));
    RecordingEngine engine;
    Repaint(engine);
    auto shadows = engine.Of(Drawn::Fill, ShadowArgb(shadow));
    auto hands = engine.Of(Drawn::Fill, Argb(hour));
    ASSERT_EQ(shadows.size(), 1u);
    ASSERT_EQ(hands.size(), 1u);
    EXPECT_TRUE(engine.Of(Drawn::Stroke, Argb(hour)).empty());
    ASSERT_GE(hands[0].points.size(), 4u);
    // Tail, the side at a + 90, the tip, the side at a - 90.
    const double expected[4][2] = {{82, 90}, {90, 86}, {130, 90}, {90, 94}};
    for (int i = 0; i < 4; ++i) {
        ExpectPoint(hands[0].points[i], expected[i][0], expected[i][1], "pointer");
        ExpectPoint(shadows[0].points[i], expected[i][0] + 1, expected[i][1] + 3, "shadow: 1 right, 3 down");
    }
    // The shadow first.
    size_t shadowAt = 0, handAt = 0;
    for (size_t i = 0; i < engine.calls.size(); ++i) {
        if (engine.calls[i].color == ShadowArgb(shadow)) shadowAt = i;
        if (engine.calls[i].color == Argb(hour)) handAt = i;
    }
    EXPECT_LT(shadowAt, handAt);
}

TEST_F(WatchPaintTest, EveryPointerStyleKeepsTheHandsAngleAndColour) {
    const TColor hour = 0x000080, minute = 0x008000;
    A()->SetHourPointer(hour);
    A()->SetMinutePointer(minute);
    watch->SetTime(EncodeTime(9, 15, 0, 0));
    RecordingEngine engine;
    for (TPointerStyle style : {psShortLine, psLineArrow}) {
        A()->SetPointerStyle(style);
        Repaint(engine);
        auto hours = engine.Of(Drawn::Stroke, Argb(hour));
        auto minutes = engine.Of(Drawn::Stroke, Argb(minute));
        ASSERT_EQ(hours.size(), 1u) << style;
        ASSERT_EQ(minutes.size(), 1u) << style;
        // 9:15: the hour hand just past 9 (277.5 degrees), the minute hand at 3.
        const auto& tip = hours[0].points.back();
        EXPECT_NEAR(std::atan2(tip.X - 90, 90 - tip.Y) * 180 / M_PI + 360, 277.5, 0.01) << style;
        EXPECT_NEAR(minutes[0].points.back().Y, 90, 0.01) << style;
        EXPECT_GT(minutes[0].points.back().X, 120) << style;
    }
}

TEST_F(WatchPaintTest, SecondHandOnlyWhileRunningWithSeconds) {
    const TColor second = 0x0080FF;
    A()->SetSecondPointer(second);
    RecordingEngine engine;
    struct Case {
        bool autoRun, seconds;
        size_t drawn;
    };
    for (Case c : {Case{false, true, 0}, Case{true, false, 0}, Case{true, true, 1}}) {
        watch->Settings()->SetSecond(c.seconds);
        watch->Settings()->SetAuto(c.autoRun);
        Repaint(engine);
        EXPECT_EQ(engine.Of(Drawn::Stroke, Argb(second)).size(), c.drawn) << c.autoRun << c.seconds;
    }
    watch->Settings()->SetAuto(false);
}

TEST_F(WatchPaintTest, BorderAndCentrePoint) {
    const TColor border = 0x800080, centre = 0x008080;
    A()->SetBorderColor(border);
    A()->SetCenterPointColor(centre);
    RecordingEngine engine;
    Repaint(engine);
    auto borders = engine.Of(Drawn::Stroke, Argb(border));
    ASSERT_EQ(borders.size(), 1u);
    EXPECT_EQ(borders[0].width, 4);
    EXPECT_EQ(engine.Of(Drawn::Fill, Argb(centre)).size(), 1u);
    A()->SetBorderWidth(0);
    A()->SetCenterPointSize(0);
    Repaint(engine);
    EXPECT_TRUE(engine.Of(Drawn::Stroke, Argb(border)).empty());
    EXPECT_TRUE(engine.Of(Drawn::Fill, Argb(centre)).empty());
    // Both rings of the centre point: the outer one round(0.2 s) wide, the inner one
    // round(0.1 s) wide on the diameter s less the outer width.
    A()->SetCenterPointSize(20);
    A()->SetCenterPointOuterBorderColor(0x0000FF);
    A()->SetCenterPointBorderColor(0x00FF00);
    Repaint(engine);
    auto outer = engine.Of(Drawn::Stroke, Argb(0x0000FF));
    auto inner = engine.Of(Drawn::Stroke, Argb(0x00FF00));
    ASSERT_EQ(outer.size(), 1u);
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_EQ(outer[0].width, 4);
    EXPECT_EQ(inner[0].width, 2);
    EXPECT_NEAR(inner[0].FromDistance(90, 90), 8, 0.01);
}

TEST_F(WatchPaintTest, TransparentAMPMBoxShowsOnlyItsText) {
    A()->SetBackgroundColor(0xE0E0E0);
    Paint();
    const TRect box = watch->GetAMPMRect();
    EXPECT_EQ(At(box.Left, box.Top), clBlack);
    EXPECT_EQ(At(box.Left + 1, box.Top + 1), clWhite);
    A()->SetAMPMColor(clNone);
    A()->SetAMPMBorderColor(clNone);
    RecordingEngine engine;
    Repaint(engine);
    EXPECT_EQ(At(box.Left, box.Top), TColor(0xE0E0E0));
    EXPECT_EQ(At(box.Left + 1, box.Top + 1), TColor(0xE0E0E0));
    int texts = 0;
    for (const Drawn& d : engine.calls) texts += d.kind == Drawn::Text && d.text == String("AM");
    EXPECT_EQ(texts, 1);
}

TEST_F(WatchPaintTest, PictureReplacesTheFaceColourKeyedAndStretched) {
    // Magenta at the top-left, red on the left half, blue on the right.
    TBitmap picture(8, 8);
    picture.SetPixelFormat(pf24bit);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(TRect(0, 0, 4, 8));
    picture.Canvas()->Brush()->SetColor(clBlue);
    picture.Canvas()->FillRect(TRect(4, 0, 8, 8));
    picture.Canvas()->SetPixels(0, 0, clFuchsia);
    RecordingEngine engine;
    A()->Picture()->SetGraphic(&picture);
    Repaint(engine);
    EXPECT_EQ(engine.Count(Drawn::Image), 1);
    EXPECT_TRUE(engine.Of(Drawn::Fill, Argb(clWhite)).empty());  // no face fill
    EXPECT_EQ(At(40, 60), clRed);
    EXPECT_EQ(At(140, 60), clBlue);
    EXPECT_EQ(At(5, 5), ColorToRGB(watch->Color()));  // keyed out: the background shows
}

TEST_F(WatchPaintTest, ATimeChangeDrawsOnlyTheHands) {
    const TColor hour = 0x000080, minute = 0x008000;
    A()->SetHourPointer(hour);
    A()->SetMinutePointer(minute);
    Paint();
    RecordingEngine engine;
    watch->SetTime(EncodeTime(4, 10, 0, 0));
    EXPECT_EQ(engine.Count(Drawn::Text), 0);
    EXPECT_EQ(engine.Count(Drawn::Image), 0);
    EXPECT_EQ(engine.Count(Drawn::Stroke), 4);  // two hands and their shadows
    EXPECT_EQ(engine.Count(Drawn::Fill), 1);    // the centre point
    EXPECT_EQ(engine.Of(Drawn::Stroke, Argb(hour)).size(), 1u);
    // The copy of the cache under the hands: the face and the numbers are still on screen.
    EXPECT_GT(Unlike(151, 90, 4, clWhite), 0);
    // A full paint draws the rest too.
    Repaint(engine);
    EXPECT_GT(engine.Count(Drawn::Stroke), 60);
    EXPECT_EQ(engine.Count(Drawn::Text), 1);
}

TEST_F(WatchPaintTest, NoRoomForAFaceDrawsTheBackgroundOnly) {
    watch->SetBounds(0, 0, 20, 60);
    RecordingEngine engine;
    Repaint(engine);
    EXPECT_TRUE(engine.calls.empty());
    for (int y = 0; y < 60; y += 5) EXPECT_EQ(At(10, y), ColorToRGB(watch->Color())) << y;
}

TEST_F(WatchPaintTest, ShapesAndGradients) {
    A()->SetBackgroundColor(0xFF0000);
    A()->SetBackgroundColorTo(0x0000FF);
    A()->SetBorderWidth(0);
    A()->SetTickMarks(tmNone);
    A()->SetCenterPointSize(0);
    watch->SetShowAMPM(false);
    A()->SetShape(wsRect);
    Paint();
    // Vertical: blue-ish at the top, red-ish at the bottom, over the whole client area.
    TColor top = At(2, 2), bottom = At(2, 177);
    EXPECT_GT(GetBValue(top), 0xE0);
    EXPECT_GT(GetRValue(bottom), 0xE0);
    A()->SetBackgroundGradient(wgRadial);
    Paint();
    // Radial: the centre colour at the centre, the surround at the edge.
    EXPECT_GT(GetBValue(At(70, 90)), 0x80);
    EXPECT_GT(GetRValue(At(1, 90)), 0xE0);
    A()->SetShape(wsRoundRect);
    Paint();
    EXPECT_EQ(At(0, 0), ColorToRGB(watch->Color()));  // the rounded corner
    EXPECT_GT(GetRValue(At(1, 90)), 0xE0);
}

TEST_F(WatchPaintTest, HandCursorOverTheAMPMBox) {
    const TRect box = watch->GetAMPMRect();
    ui::test::MouseMove(watch, (box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
    EXPECT_EQ(watch->Cursor(), crHandPoint);
    ui::test::MouseMove(watch, 40, 40);
    EXPECT_EQ(watch->Cursor(), crDefault);
}

TEST_F(WatchPaintTest, DialogCodeForATabStop) {
    watch->SetTabStop(false);
    EXPECT_EQ(watch->Perform(WM_GETDLGCODE), 0);
    watch->SetTabStop(true);
    EXPECT_EQ(watch->Perform(WM_GETDLGCODE), 5);
}

TEST(WatchText, AFamilyGDIPlusLacksIsDrawnInArial) {
    auto draw = [](const char* family, TBitmap& into) {
        into.SetSize(120, 40);
        into.Canvas()->Brush()->SetColor(clWhite);
        into.Canvas()->FillRect(TRect(0, 0, 120, 40));
        TFont font;
        font.SetName(family);
        font.SetSize(14);
        return advwatch::DrawWatchText(into.Canvas(), nullptr, advwatch::taCenterText, TRect(0, 0, 120, 40),
                                       String("AM 12"), &font, true, true, advwatch::trAntiAlias);
    };
    auto same = [](TBitmap& a, TBitmap& b) {
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 120; ++x)
                if (a.Canvas()->Pixels(x, y) != b.Canvas()->Pixels(x, y)) return false;
        return true;
    };
    TBitmap arial, missing, serif;
    TRect arialBounds = draw("Arial", arial);
    // The font map takes the sans faces of the looks to the Arial stand-in and "Century" to the
    // serif one.
    for (const char* family : {"Comic Sans MS", "Century Gothic"}) {
        EXPECT_EQ(draw(family, missing), arialBounds) << family;
        EXPECT_TRUE(same(arial, missing)) << family;
    }
    TRect serifBounds = draw("Times New Roman", serif);
    EXPECT_FALSE(same(arial, serif));
    EXPECT_EQ(draw("Century", missing), serifBounds);
    EXPECT_TRUE(same(serif, missing));
    // A family no map knows and nothing installed has is drawn in Arial.
    EXPECT_EQ(draw("No Such Family Anywhere", missing), arialBounds);
    EXPECT_TRUE(same(arial, missing));
    // Centred in the layout, from its top; nothing without a text or a surface.
    EXPECT_NEAR((arialBounds.Left + arialBounds.Right) / 2.0, 60, 1);
    EXPECT_EQ(arialBounds.Top, 0);
    TFont font;
    EXPECT_EQ(advwatch::DrawWatchText(arial.Canvas(), nullptr, advwatch::taLeftText, TRect(0, 0, 9, 9), String(),
                                      &font, true, true, advwatch::trAntiAlias),
              TRect());
    EXPECT_EQ(advwatch::DrawWatchText(nullptr, nullptr, advwatch::taLeftText, TRect(0, 0, 9, 9), String("x"), &font,
                                      true, true, advwatch::trAntiAlias),
              TRect());
}

TEST(WatchText, DisabledTextIsGray) {
    TBitmap b(60, 30);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(TRect(0, 0, 60, 30));
    TFont font;
    font.SetName("Arial");
    font.SetSize(16);
    font.SetColor(clRed);
    advwatch::DrawWatchText(b.Canvas(), nullptr, advwatch::taLeftText, TRect(0, 0, 60, 30), String("IIII"), &font,
                            false, true, advwatch::trAntiAlias);
    int gray = 0, red = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            TColor c = b.Canvas()->Pixels(x, y);
            gray += c == clGray;
            red += GetRValue(c) > 0xC0 && GetGValue(c) < 0x40;
        }
    EXPECT_GT(gray, 10);
    EXPECT_EQ(red, 0);
}

TEST(WatchEllipse, PointsInTheInscribedEllipse) {
    const TRect r(10, 10, 170, 170);
    EXPECT_TRUE(advwatch::IsPointInEllipse(TPoint(90, 90), r));
    EXPECT_TRUE(advwatch::IsPointInEllipse(TPoint(90, 12), r));
    EXPECT_FALSE(advwatch::IsPointInEllipse(TPoint(15, 15), r));  // in the square's corner
    EXPECT_FALSE(advwatch::IsPointInEllipse(TPoint(5, 90), r));
}

}  // namespace
