// Scale and bar settings: setters, labels, sizes from the measured font, tick geometry of the
// four scale routines (on recorded lines) and the bar styles pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "controls/instrument/_GClass.h"
#include "platform/rtl/Math.h"
#include "platform/ui/Forms.h"
#include "platform/ui/TestSupport.h"

namespace {

// A canvas on a bitmap that records the lines and texts drawn through it.
class Recorder : public TCanvas {
public:
    explicit Recorder(TBitmap* b) : TCanvas(b) {}
    struct Line {
        TPoint a, b;
        int width;
        bool operator==(const Line&) const = default;
    };
    struct Text {
        TPoint at;
        String text;
    };
    std::vector<Line> lines;
    std::vector<Text> texts;
    void MoveTo(int X, int Y) override {
        at = TPoint(X, Y);
        TCanvas::MoveTo(X, Y);
    }
    void LineTo(int X, int Y) override {
        lines.push_back({at, TPoint(X, Y), Pen()->Width()});
        at = TPoint(X, Y);
        TCanvas::LineTo(X, Y);
    }
    void TextOut(int X, int Y, const String& text) override {
        texts.push_back({TPoint(X, Y), text});
        TCanvas::TextOut(X, Y, text);
    }
    bool Has(const Line& l) const { return std::find(lines.begin(), lines.end(), l) != lines.end(); }
    // Lines of one width, in drawing order.
    std::vector<Line> OfWidth(int w) const {
        std::vector<Line> r;
        for (const Line& l : lines)
            if (l.width == w) r.push_back(l);
        return r;
    }

private:
    TPoint at;
};

int RoundI(double v) { return static_cast<int>(Round(v)); }

struct ScaleFixture : ::testing::Test {
    ui::test::AppScope scope;
    TBitmap bmp{400, 400};
    Recorder can{&bmp};
    TScaleSettings s;
    void SetUp() override {
        s.Font()->SetName(u"Arial");
        s.Font()->SetSize(14);
    }
    // The text size the scale measures with its own font.
    TSize Measure(const String& text) {
        can.SetFont(s.Font());
        return TSize(can.TextWidth(text), can.TextHeight(text));
    }
};

// --- Setters ---------------------------------------------------------------------------------

TEST(ScaleSettings, StepsAndSubStepsAreBoundedAndAlwaysReported) {
    TScaleSettings s;
    EXPECT_EQ(s.Steps(), 5);
    EXPECT_EQ(s.SubSteps(), 2);
    EXPECT_EQ(s.ValueFormat(), String(u"##0"));
    EXPECT_EQ(s.ValueFormatLog(), String(u"0e-0"));
    EXPECT_EQ(s.Font()->Name(), String(u"Arial"));
    EXPECT_EQ(s.Font()->Size(), 14);
    int changes = 0;
    s.OnChange = [&](TObject*) { ++changes; };
    s.SetSteps(0);
    s.SetSteps(21);
    EXPECT_EQ(s.Steps(), 5);
    EXPECT_EQ(changes, 0);
    s.SetSteps(5);
    s.SetSteps(5);
    EXPECT_EQ(changes, 2);
    for (int v : {0, 1, 10, 11}) s.SetSubSteps(v);
    EXPECT_EQ(s.SubSteps(), 10);
    EXPECT_EQ(changes, 4);
    s.SetDrawLine(true);  // unchanged, reported all the same
    EXPECT_EQ(changes, 5);
    s.Font()->SetSize(9);
    EXPECT_EQ(changes, 6);

    TScaleSettings copy;
    s.SetPosLeftTop(true);
    s.SetValueFormat(u"0.0");
    copy.Assign(&s);
    EXPECT_EQ(copy.Steps(), 5);
    EXPECT_EQ(copy.SubSteps(), 10);
    EXPECT_TRUE(copy.PosLeftTop());
    EXPECT_EQ(copy.ValueFormat(), String(u"0.0"));
    EXPECT_EQ(copy.Font()->Size(), 9);
}

TEST(BarSettings, SettersAndWhoReportsTheChange) {
    TBarSettings b;
    EXPECT_EQ(b.Color(), 0x00FF00);
    EXPECT_EQ(b.BkColor(), 0x000000);
    EXPECT_EQ(b.Font()->Color(), clBtnHighlight);
    EXPECT_EQ(b.Style(), bsBar);
    EXPECT_TRUE(b.Options().Empty());
    EXPECT_EQ(b.Bevel()->Style(), bsLowered);
    EXPECT_EQ(b.Bevel()->Spacing(), 0);
    EXPECT_EQ(b.Bevel()->Width(), 1);
    EXPECT_EQ(b.Bevel()->TotalWidth, 1);
    EXPECT_EQ(b.minWidth(), 5);
    EXPECT_EQ(b.minHeight(), 5);
    std::vector<TObject*> senders;
    b.OnChange = [&](TObject* s) { senders.push_back(s); };
    b.SetMinWidth(0);
    b.SetMinHeight(-3);
    EXPECT_TRUE(senders.empty());
    b.SetMinWidth(5);  // accepted without a test for a change
    b.Font()->SetSize(20);
    b.Bevel()->SetWidth(3);
    b.SetStyle(bsPoint);
    b.SetStyle(bsPoint);
    EXPECT_EQ(senders, (std::vector<TObject*>{&b, b.Font(), b.Bevel(), &b}));

    TBarSettings copy;
    b.SetBkAuto(true);
    b.SetBkBrightness(40);
    b.SetOptions({TBarSettings::opValue});
    copy.Assign(&b);
    EXPECT_EQ(copy.Style(), bsPoint);
    EXPECT_EQ(copy.Font()->Size(), 20);
    EXPECT_EQ(copy.Bevel()->Width(), 3);
    EXPECT_TRUE(copy.Options().Contains(TBarSettings::opValue));
    EXPECT_FALSE(copy.BkAuto());  // not copied
    EXPECT_EQ(copy.BkBrightness(), 0);
    TScaleSettings other;
    EXPECT_ANY_THROW(other.Assign(&b));
}

// --- Labels and sizes ------------------------------------------------------------------------

TEST_F(ScaleFixture, Labels) {
    s.CalcSize(&can, 0, 100);
    EXPECT_EQ(s.Text, String(u"100;80;60;40;20;0;"));
    s.CalcHSize(&can, 0, 100);
    EXPECT_EQ(s.Text, String(u"0;20;40;60;80;100;"));
    s.CalcRSize(&can, -140, -10);
    EXPECT_EQ(s.Text, String(u"-140;-114;-88;-62;-36;-10;"));

    s.LogScale = true;
    const struct {
        float from, to;
        int steps, exp1, exp2, logSteps;
        const char* vertical;
    } rows[] = {
        {1, 1000, 5, 0, 3, 3, "1e3;1e2;1e1;1e0;"},
        {0.01f, 100, 3, -2, 2, 2, "1e2;1e0;1e-2;"},
        {1, 100000, 3, 0, 5, 1, "1e5;1e0;"},
        {10, 10, 5, 1, 1, 1, "1e1;1e1;"},
        {0, 1000, 5, 0, 3, 3, "1e3;1e2;1e1;1e0;"},  // a bound of 0 counts as 1
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.vertical);
        s.SetSteps(r.steps);
        s.CalcSize(&can, r.from, r.to);
        EXPECT_EQ(s.exp1, r.exp1);
        EXPECT_EQ(s.exp2, r.exp2);
        EXPECT_EQ(s.LogSteps, r.logSteps);
        EXPECT_EQ(s.Text, String(r.vertical));
    }
    s.SetSteps(5);
    s.CalcHSize(&can, 1, 1000);
    EXPECT_EQ(s.Text, String(u"1e0;1e1;1e2;1e3;"));
}

TEST_F(ScaleFixture, SizesFollowTheMeasuredFont) {
    const struct {
        int size;
        bool log;
        const char* widest;
        int n;
    } rows[] = {{14, false, "100", 5}, {8, false, "100", 5}, {20, true, "1e3", 3}};
    std::set<int> penWidths;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.size);
        s.Font()->SetSize(r.size);
        s.LogScale = r.log;
        const TSize t = Measure(r.widest);
        const int th = Measure(r.log ? u"1e3;1e2;1e1;1e0;" : u"100;80;60;40;20;0;").cy;
        const int penW1 = RoundI(th / 14.0), sl1 = RoundI(th / 1.4);
        penWidths.insert(penW1);
        const int sl2 = penW1 == 1 ? sl1 / 2 : RoundI(sl1 / 1.4);
        s.CalcSize(&can, r.log ? 1 : 0, r.log ? 1000 : 100);
        EXPECT_EQ(s.TextW, t.cx);
        EXPECT_EQ(s.TextH, th);
        EXPECT_EQ(s.PenW1, penW1);
        EXPECT_EQ(s.sl1, sl1);
        EXPECT_EQ(s.sl2, sl2);
        EXPECT_EQ(s.BarSpace, penW1 / 2 + 3);
        EXPECT_EQ(s.Spacing, th / 3);
        EXPECT_EQ(s.TotalWidth, t.cx + sl1 + th / 3);
        EXPECT_EQ(s.minHeight, RoundI(th * r.n * 1.4));
        s.CalcHSize(&can, r.log ? 1 : 0, r.log ? 1000 : 100);
        EXPECT_EQ(s.Spacing, th / 5);
        EXPECT_EQ(s.TotalWidth, RoundI(t.cx * r.n * 1.4));
        EXPECT_EQ(s.minHeight, th / 2 + sl1 + th / 5);
        s.sl1 = s.sl2 = -1;
        s.CalcRSize(&can, r.log ? 1 : 0, r.log ? 1000 : 100);
        EXPECT_EQ(s.Spacing, std::max(t.cx, th) / 2 + 1);
        EXPECT_EQ(s.sl1, -1);  // no tick lengths here
    }
    // Both tick rules are covered: a 1-pixel pen halves sl1, a wider one divides it by 1.4.
    EXPECT_TRUE(penWidths.count(1) && penWidths.count(2));
}

// --- Drawing the scales ----------------------------------------------------------------------

TEST_F(ScaleFixture, VerticalScaleGeometry) {
    s.CalcSize(&can, 0, 100);
    const int sl1 = s.sl1, sl2 = s.sl2, w1 = s.PenW1, sp = s.Spacing;
    const TRect r(50, 10, 60, 210);  // N 5, SubSteps 2: d 20, D 40
    for (bool left : {true, false}) {
        SCOPED_TRACE(left);
        s.SetPosLeftTop(left);
        can.lines.clear();
        can.texts.clear();
        s.VertiScala(&can, r);
        EXPECT_EQ(s.pos0, 210);
        EXPECT_EQ(s.pos100, 10);
        const int x = left ? 60 : 50, dir = left ? -1 : 1;
        ASSERT_FALSE(can.lines.empty());
        EXPECT_EQ(can.lines.front(), (Recorder::Line{{x, 10}, {x, 210}, w1}));  // the base line
        for (int y : {10, 50, 90, 130, 170, 210}) EXPECT_TRUE(can.Has({{x, y}, {x + dir * sl1, y}, w1})) << y;
        std::vector<int> minor;
        for (const auto& l : can.OfWidth(1))
            if (l.b.X == x + dir * sl2) minor.push_back(l.a.Y);
        EXPECT_EQ(minor, (std::vector<int>{10, 30, 50, 70, 90, 110, 130, 150, 170, 190}));
        // Labels from the top value down, middle right of the ticks or middle left of them.
        ASSERT_EQ(can.texts.size(), 6u);
        const char* labels[] = {"100", "80", "60", "40", "20", "0"};
        for (int i = 0; i < 6; ++i) {
            const TSize t = Measure(labels[i]);
            const int y = 10 + 40 * i;
            const TPoint want = left ? TPoint(x - sl1 - sp + 1 - t.cx, y - t.cy / 2) : TPoint(x + sl1 + sp, y - t.cy / 2);
            EXPECT_EQ(can.texts[i].text, String(labels[i]));
            EXPECT_EQ(can.texts[i].at, want) << labels[i];
        }
    }

    // Logarithmic: 1 .. 1000 in three decades, minor ticks where the values 2 .. 8 of a decade lie.
    s.LogScale = true;
    s.SetSubSteps(5);
    s.SetDrawLine(false);
    s.CalcSize(&can, 1, 1000);
    can.lines.clear();
    s.SetPosLeftTop(false);
    s.VertiScala(&can, TRect(50, 10, 60, 310));  // d 20, D 100
    EXPECT_EQ(s.pos100, 10);
    std::vector<int> minor;
    int major = 0;
    for (const auto& l : can.lines) {
        if (l.b.X == 50 + s.sl2) minor.push_back(l.a.Y);
        if (l.b.X == 50 + s.sl1) ++major;
    }
    // In the decade from 110 (1e2) up to 10 (1e3): 8, 6, 4 and 2 hundred.
    const std::vector<int> want = {20, 32, 50, 80, 120, 132, 150, 180, 220, 232, 250, 280};
    EXPECT_EQ(minor, want);
    EXPECT_EQ(major, 4);
    EXPECT_EQ(can.lines.size(), 16u);  // no base line
}

TEST_F(ScaleFixture, HorizontalScaleGeometry) {
    s.CalcHSize(&can, 0, 100);
    const int sl1 = s.sl1, sl2 = s.sl2, w1 = s.PenW1, sp = s.Spacing, th = s.TextH;
    const TRect r(10, 50, 210, 90);
    for (bool top : {false, true}) {
        SCOPED_TRACE(top);
        s.SetPosLeftTop(top);
        can.lines.clear();
        can.texts.clear();
        s.HorizScala(&can, r);
        EXPECT_EQ(s.pos0, 10);
        EXPECT_EQ(s.pos100, 210);
        const int y0 = top ? 50 + th / 2 + sp + sl1 : 50, dir = top ? -1 : 1;
        EXPECT_EQ(can.lines.front(), (Recorder::Line{{10, y0}, {210, y0}, w1}));
        for (int x : {10, 50, 90, 130, 170, 210}) EXPECT_TRUE(can.Has({{x, y0}, {x, y0 + dir * sl1}, w1})) << x;
        EXPECT_TRUE(can.Has({{30, y0}, {30, y0 + dir * sl2}, 1}));
        // Labels from the bottom value up: centred above the ticks, or top centre below them.
        const char* labels[] = {"0", "20", "40", "60", "80", "100"};
        ASSERT_EQ(can.texts.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            const TSize t = Measure(labels[i]);
            const int x = 10 + 40 * i;
            const TPoint want = top ? TPoint(x - t.cx / 2, 50 - t.cy / 2) : TPoint(x - t.cx / 2, 50 + sl1 + sp);
            EXPECT_EQ(can.texts[i].at, want) << labels[i];
        }
    }
    // Logarithmic minor ticks run forward from each decade, the last on the next one.
    s.LogScale = true;
    s.SetSubSteps(5);
    s.SetPosLeftTop(false);
    s.CalcHSize(&can, 1, 100);
    can.lines.clear();
    s.HorizScala(&can, TRect(10, 50, 210, 90));  // two decades, D 100
    std::vector<int> minor;
    for (const auto& l : can.lines)
        if (l.b.Y == 50 + s.sl2) minor.push_back(l.a.X);
    EXPECT_EQ(minor, (std::vector<int>{40, 70, 88, 100, 110, 140, 170, 188, 200, 210}));
}

TEST_F(ScaleFixture, CircularScalesGeometry) {
    s.CalcRSize(&can, 0, 100);
    const int tw = s.TextW, th = s.TextH, sp = s.Spacing, w1 = s.PenW1;
    const int R = (200 - 2 * sp) / 2 - tw / 2 + sp;
    const TPoint c(100, 10 + R + th / 2);
    const int sl1 = R / 8, sl2 = w1 == 1 ? sl1 / 2 : RoundI(sl1 / 1.4);
    TRect r(0, 10, 200, 210);
    s.RoundScala(&can, r, 0, 270);
    EXPECT_EQ(s.cp, c);
    EXPECT_EQ(s.sl1, sl1);
    EXPECT_EQ(s.sl2, sl2);
    const int half = w1 / 2;
    TRect square(c.X - R + tw / 2 + half, c.Y - R + tw / 2 + half, c.X + R - tw / 2 + half - 1, c.Y + R - tw / 2 + half - 1);
    EXPECT_EQ(s.LinePos[0], TPoint(square.Left + sl1, square.Top + sl1));
    EXPECT_EQ(s.LinePos[1], TPoint(square.Right - sl1, square.Bottom - sl1 + 1));
    if (w1 == 1) {
        ++square.Left;
        ++square.Top;
    }
    EXPECT_EQ(r, square);
    // The first major tick points straight up, the last (at 270 degrees, clockwise) to the left.
    const int out = R - sp, in = R - sp - sl1;
    EXPECT_TRUE(can.Has({{c.X, c.Y - out}, {c.X, c.Y - in}, w1}));
    EXPECT_TRUE(can.Has({{c.X - out, c.Y}, {c.X - in, c.Y}, w1}));
    EXPECT_EQ(s.LinePos[2], TPoint(c.X - in, c.Y));
    EXPECT_EQ(s.LinePos[3], TPoint(c.X, c.Y - out));
    EXPECT_EQ(can.texts.size(), 6u);
    const TSize zero = Measure(u"0");
    EXPECT_EQ(can.texts.front().at, TPoint(c.X - zero.cx / 2, c.Y - R - zero.cy / 2));

    // A full circle: the round scale leaves out the last label, which would cover the first.
    can.texts.clear();
    r = TRect(0, 10, 200, 210);
    s.RoundScala(&can, r, 0, 360);
    EXPECT_EQ(can.texts.size(), 5u);
    can.texts.clear();
    r = TRect(0, 10, 200, 210);
    s.DialScala(&can, r, 0, 360);
    EXPECT_EQ(can.texts.size(), 6u);
    EXPECT_EQ(s.sl1, R / 7);
    // The dial keeps its ticks visible on a small face.
    r = TRect(0, 0, 2 * sp + tw + 8, 60);
    s.DialScala(&can, r, 90, 180);
    EXPECT_EQ(s.sl1, 3);
    EXPECT_GE(s.sl2, 1);
}

// --- Painting bars ---------------------------------------------------------------------------

constexpr int32_t Bk = 0x202020, Bar = 0x00FF00, Yellow = 0x00FFFF, Green = 0x008000, Red = 0x0000FF;

struct BarFixture : ::testing::Test {
    ui::test::AppScope scope;
    TBarSettings b;
    std::unique_ptr<TBitmap> bmp;
    void SetUp() override { b.SetBkColor(Bk); }
    // Paints the bar on a fresh w x h bitmap, BarRect the whole of it.
    void Paint(int w, int h, int32_t ppt) {
        bmp = std::make_unique<TBitmap>(w, h);
        b.BarRect = TRect(0, 0, w, h);
        b.PaintBar(bmp->Canvas(), ppt);
    }
    int32_t At(int x, int y) { return ColorToRGB(bmp->Canvas()->Pixels(x, y)); }
    // The colours along the long side: from the left, or from the bottom up.
    std::vector<int32_t> Row(bool horizontal) {
        std::vector<int32_t> r;
        const int n = horizontal ? bmp->Width() : bmp->Height();
        for (int i = 0; i < n; ++i) r.push_back(horizontal ? At(i, 1) : At(1, bmp->Height() - 1 - i));
        return r;
    }
    // Runs of one colour: [from, to) along the long side.
    static std::vector<std::tuple<int, int, int32_t>> RunsOf(const std::vector<int32_t>& row) {
        std::vector<std::tuple<int, int, int32_t>> runs;
        for (int i = 0; i < static_cast<int>(row.size()); ++i) {
            if (runs.empty() || std::get<2>(runs.back()) != row[i]) runs.push_back({i, i + 1, row[i]});
            else std::get<1>(runs.back()) = i + 1;
        }
        return runs;
    }
};

using Runs = std::vector<std::tuple<int, int, int32_t>>;

TEST_F(BarFixture, BarAndPointStylesInBothDirections) {
    const struct {
        TBarStyle style;
        bool bidir;
        int32_t ppt;
        Runs runs;
    } rows[] = {
        {bsBar, false, 500, {{0, 50, Bar}, {50, 100, Bk}}},
        {bsBar, false, 0, {{0, 100, Bk}}},
        {bsBar, false, 1000, {{0, 100, Bar}}},
        {bsBar, true, 500, {{0, 20, Bk}, {20, 50, Bar}, {50, 100, Bk}}},
        {bsBar, true, 100, {{0, 10, Bk}, {10, 20, Bar}, {20, 100, Bk}}},
        {bsPoint, false, 0, {{0, 3, Bar}, {3, 100, Bk}}},
        {bsPoint, false, 500, {{0, 48, Bk}, {48, 51, Bar}, {51, 100, Bk}}},  // 48.5: halves to even
        {bsPoint, false, 1000, {{0, 97, Bk}, {97, 100, Bar}}},
    };
    b.ppt0 = 200;
    for (bool horizontal : {true, false}) {
        for (const auto& r : rows) {
            SCOPED_TRACE(testing::Message() << horizontal << " style " << r.style << " ppt " << r.ppt << " bidir " << r.bidir);
            b.SetStyle(r.style);
            b.SetOptions(r.bidir ? TBarSettings::TBarOptions{TBarSettings::opBidir} : TBarSettings::TBarOptions{});
            if (horizontal) Paint(100, 10, r.ppt);
            else Paint(10, 100, r.ppt);
            EXPECT_EQ(RunsOf(Row(horizontal)), r.runs);
        }
    }
    b.SetStyle(bsBar);
    b.SetOptions({TBarSettings::opUseSectorCol});
    b.SectorCol = Red;
    Paint(100, 10, 300);
    EXPECT_EQ(At(10, 5), Red);
}

TEST_F(BarFixture, MultiColourShowsTheSectorsUpToTheValue) {
    b.SetStyle(bsMultiColor);
    Paint(100, 10, 500);
    EXPECT_EQ(RunsOf(Row(true)), (Runs{{0, 33, Yellow}, {33, 50, Green}, {50, 100, Bk}}));
    Paint(10, 100, 900);
    EXPECT_EQ(RunsOf(Row(false)), (Runs{{0, 33, Yellow}, {33, 67, Green}, {67, 90, Red}, {90, 100, Bk}}));
}

TEST_F(BarFixture, LedBar) {
    b.SetStyle(bsLED_Bar);
    Paint(41, 5, 500);
    // LED i sits on pixels 4i+1 .. 4i+3 for PPT 100 i; those below the value are lit.
    std::vector<int32_t> want(41, Bk);
    const int32_t lit[] = {Yellow, Yellow, Yellow, Yellow, Green};
    for (int i = 0; i < 5; ++i)
        for (int x = 4 * i + 1; x < 4 * i + 4; ++x) want[x] = lit[i];
    // The dark LEDs for 500 .. 900 show the background; the one for 1000 lies past the end.
    EXPECT_EQ(Row(true), want);

    // With BkAuto the dark LEDs show their sector dimmed; the gaps keep the background.
    b.SetBkAuto(true);
    b.SetBkBrightness(40);
    Paint(5, 41, 500);
    const auto row = Row(false);
    EXPECT_EQ(row[1], Yellow);
    EXPECT_EQ(row[4 * 5 + 1], 0x003300);  // 500: green at 40 %
    EXPECT_EQ(row[4 * 7 + 1], 0x000066);  // 700: red at 40 %
    EXPECT_EQ(row[4 * 7], Bk);

    // Too short for one LED: only the background.
    Paint(3, 2, 1000);
    EXPECT_EQ(RunsOf(Row(true)), (Runs{{0, 3, Bk}}));
}

TEST_F(BarFixture, DimmedBackgroundAndSectorPaint) {
    b.SetBkAuto(true);
    b.SetBkBrightness(40);
    Paint(100, 10, 0);
    EXPECT_EQ(At(0, 5), 0x006666);
    EXPECT_EQ(At(50, 5), 0x003300);
    EXPECT_EQ(At(99, 5), 0x000066);

    // Paint: the dimmed background of the given sectors over BarRect only.
    TBitmap canvas(120, 30);
    canvas.Canvas()->Brush()->SetColor(clWhite);
    canvas.Canvas()->FillRect(TRect(0, 0, 120, 30));
    TSectorSettings sectors;
    sectors.SetSector1From(100);
    sectors.SetSector1To(500);
    b.BarRect = TRect(10, 5, 110, 25);
    b.Paint(canvas.Canvas(), 0, &sectors);
    EXPECT_EQ(b.w, 100);
    EXPECT_EQ(b.h, 20);
    auto px = [&](int x, int y) { return ColorToRGB(canvas.Canvas()->Pixels(x, y)); };
    EXPECT_EQ(px(9, 10), 0xFFFFFF);
    EXPECT_EQ(px(10, 10), ColorBrightness(Bk, 40));  // 0 .. 100: background
    EXPECT_EQ(px(20, 10), 0x006666);                  // 100 .. 500: sector 1
    EXPECT_EQ(px(109, 24), 0x000066);
    EXPECT_EQ(px(110, 10), 0xFFFFFF);
    EXPECT_EQ(px(50, 4), 0xFFFFFF);
}

TEST_F(BarFixture, ValueTextIsInvertedAgainstTheBar) {
    b.Font()->SetName(u"Arial");
    b.Font()->SetSize(10);
    b.Value = u"50.0";
    b.ValueUnit = u"%";
    for (bool horizontal : {true, false}) {
        for (bool unit : {false, true}) {
            SCOPED_TRACE(testing::Message() << horizontal << unit);
            const int w = horizontal ? 120 : 40, h = horizontal ? 30 : 120;
            b.SetOptions({});
            Paint(w, h, 500);
            TBitmap plain(w, h);
            plain.Canvas()->Draw(0, 0, bmp.get());
            b.SetOptions(unit ? TBarSettings::TBarOptions{TBarSettings::opValue, TBarSettings::opUnit}
                              : TBarSettings::TBarOptions{TBarSettings::opValue});
            Paint(w, h, 500);
            int inverted = 0;
            TRect ink(w, h, 0, 0);
            bool onBar = false, onBk = false;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const int32_t before = ColorToRGB(plain.Canvas()->Pixels(x, y)), now = At(x, y);
                    if (now == before) continue;
                    ASSERT_EQ(now, before ^ 0xFFFFFF) << x << "," << y;
                    ++inverted;
                    onBar |= before == Bar;
                    onBk |= before == Bk;
                    ink = TRect(std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1), std::max(ink.Bottom, y + 1));
                }
            EXPECT_GT(inverted, 20);
            EXPECT_TRUE(onBar && onBk);  // the text straddles the bar's end in the middle
            EXPECT_NEAR((ink.Left + ink.Right) / 2.0, w / 2.0, 3);
            EXPECT_NEAR((ink.Top + ink.Bottom) / 2.0, h / 2.0, 4);
        }
    }
}

}  // namespace
