// The one drawing routine of the chart, for every output: layout, background, walls, grid,
// series, axes, title, then the program's after-draw overlay.
#include <algorithm>
#include <cmath>

#include "platform/chart/Chart.h"
#include "platform/chart/Series.h"
#include "platform/rtl/Format.h"

namespace {

// Look constants of our own choosing (in pixels).
constexpr int kMargin = 4;
constexpr int kTick = 4;
constexpr int kMinorTick = 2;
constexpr int kLabelGap = 2;
constexpr int kDepth = 12;
constexpr TColor kAxisColor = clBlack;
// Solid: styled lines' gaps do not come back from a metafile as they were drawn.
constexpr TColor kGridColor = 0xC8C8C8;
constexpr TColor kWallEdgeColor = clGray;
constexpr TColor kWallColor = 0xE8E8E8;

String LabelText(double value) {
    if (std::fabs(value) < 1e-12) value = 0;  // no "-0"
    return FloatToStr(value);
}

// The smallest of Increment x 1, 2, 5, 10, 20, ... whose labels stand at least minSpacing
// pixels apart; 0 when the axis has no range to label.
double LabelStep(const TChartAxis* axis, int spanPixels, int minSpacing) {
    double range = axis->Maximum() - axis->Minimum();
    if (!(range > 0) || spanPixels <= 0) return 0;
    double base = axis->Increment();
    if (!(base > 0)) base = std::pow(10.0, std::floor(std::log10(range / 10)));
    static const double kFactors[] = {1, 2, 5};
    double pixelsPerUnit = spanPixels / range;
    for (double decade = 1; decade < 1e15; decade *= 10) {
        for (double f : kFactors) {
            double step = base * f * decade;
            if (step * pixelsPerUnit >= minSpacing || step >= range) return step;
        }
    }
    return range;
}

// The labelled values of an axis: whole multiples of step inside the range.
std::vector<double> LabelValues(const TChartAxis* axis, double step) {
    std::vector<double> values;
    if (!(step > 0)) return values;
    double first = std::ceil(axis->Minimum() / step - 1e-9);
    double last = std::floor(axis->Maximum() / step + 1e-9);
    for (double k = first; k <= last && values.size() < 10000; ++k) values.push_back(k * step);
    return values;
}

TColor Shade(TColor color, int percent) {
    int32_t rgb = ColorToRGB(color);
    auto part = [&](int shift) { return std::min(255, ((rgb >> shift) & 0xFF) * percent / 100) << shift; };
    return part(0) | part(8) | part(16);
}

void SetPen(TCanvas* c, TColor color, TPenStyle style = psSolid) {
    TPen* pen = c->Pen();
    pen->SetColor(color);
    pen->SetStyle(style);
    pen->SetWidth(1);
    pen->SetMode(pmCopy);
}

// A line in the solid 1-pixel pen, end pixel excluded. Level lines (all of the chart's) are filled
// as the rectangle of their pixels, which costs a fraction of a line.
void Line(TCanvas* c, int x1, int y1, int x2, int y2) {
    TPen* pen = c->Pen();
    bool plain = pen->Style() == psSolid && pen->Width() <= 1 && pen->Mode() == pmCopy;
    if (plain && y1 == y2 && x1 <= x2) {
        if (x1 < x2) c->FillSolid(TRect(x1, y1, x2, y1 + 1), pen->Color());
    } else if (plain && x1 == x2 && y1 <= y2) {
        if (y1 < y2) c->FillSolid(TRect(x1, y1, x1 + 1, y2), pen->Color());
    } else {
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    }
}

// The pixels of an area marker (the 3 x 3 ellipse of a solid pen and brush), as columns of pixel
// runs relative to its top-left corner. Prepared once from the canvas's own ellipse, so a marker
// stamped as these runs in any colour has exactly the pixels the ellipse call would give.
struct StampRun {
    int X, Y, Height;
};

const std::vector<StampRun>& MarkerStamp() {
    static const std::vector<StampRun> stamp = [] {
        constexpr int kSize = 3;
        TBitmap image(kSize, kSize, pf32bit);
        TCanvas* c = image.Canvas();
        c->FillSolid(TRect(0, 0, kSize, kSize), clWhite);
        SetPen(c, clBlack);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clBlack);
        c->Ellipse(0, 0, kSize, kSize);
        std::vector<StampRun> runs;
        for (int x = 0; x < kSize; ++x) {
            for (int y = 0; y < kSize;) {
                if (ColorToRGB(c->Pixels(x, y)) != 0) {
                    ++y;
                    continue;
                }
                int end = y;
                while (end < kSize && ColorToRGB(c->Pixels(x, end)) == 0) ++end;
                runs.push_back({x, y, end - y});
                y = end;
            }
        }
        return runs;
    }();
    return stamp;
}

}  // namespace

TChartLayout TChart::ComputeLayout(TCanvas* canvas, const TRect& bounds) {
    TChartLayout L;
    L.Bounds = bounds;
    FLabelWidths.clear();
    canvas->Font()->Assign(Font());
    canvas->Font()->SetOrientation(0);
    int th = canvas->TextHeight("Ag");
    L.TextHeight = th;
    L.Depth = FView3D ? kDepth : 0;

    int top = bounds.Top + kMargin;
    if (FTitle->Count() > 0) top += FTitle->Count() * th + kMargin;
    top += th / 2 + L.Depth;  // room for the top label's upper half and the depth
    int bottom = bounds.Bottom - 1 - kMargin - th - kLabelGap - kTick;
    if (!FBottomAxis->Title().empty()) bottom -= th + kLabelGap;
    if (bottom <= top) bottom = top + 1;

    L.LeftStep = LabelStep(FLeftAxis.get(), bottom - top, th + 2);
    int labelWidth = 0;
    for (double v : LabelValues(FLeftAxis.get(), L.LeftStep))
        labelWidth = std::max(labelWidth, LabelWidth(canvas, LabelText(v)));
    int left = bounds.Left + kMargin + labelWidth + kLabelGap + kTick;
    if (!FLeftAxis->Title().empty()) left += th + kMargin;

    // Whole numbers stand for the labels at the ends, so that a zoomed or panned range does not
    // move the plot by the width of its fraction digits.
    int bottomLabel = std::max(LabelWidth(canvas, LabelText(std::round(FBottomAxis->Minimum()))),
                               LabelWidth(canvas, LabelText(std::round(FBottomAxis->Maximum()))));
    int right = bounds.Right - 1 - kMargin - std::max(bottomLabel / 2, kMargin) - L.Depth;
    if (right <= left) right = left + 1;
    L.BottomStep = LabelStep(FBottomAxis.get(), right - left, bottomLabel + 2 * kMargin);
    L.Plot = TRect(left, top, right, bottom);
    return L;
}

int TChart::LabelWidth(TCanvas* c, const String& text) {
    for (const auto& [t, w] : FLabelWidths)
        if (t == text) return w;
    int w = c->TextWidth(text);
    FLabelWidths.emplace_back(text, w);
    return w;
}

void TChart::Paint() {
    TCanvas* c = TCustomControl::Canvas();
    DrawChart(c, ClientRect(), true);
}

void TChart::Draw(TCanvas* ACanvas, const TRect& R) { DrawChart(ACanvas, R, false); }

void TChart::DrawChart(TCanvas* canvas, const TRect& bounds, bool screen) {
    // One painter bracket for the whole drawing; the conversions and Canvas() answer for this
    // drawing until it ends, also when a handler throws.
    struct Scope {
        TChart* chart;
        TCanvas* canvas;
        TCanvas* oldCanvas;
        const TChartLayout* oldLayout;
        ~Scope() {
            chart->FDrawCanvas = oldCanvas;
            chart->FActive = oldLayout;
            canvas->Unlock();
        }
    } scope{this, canvas, FDrawCanvas, FActive};
    canvas->Lock();

    TChartLayout L = ComputeLayout(canvas, bounds);
    if (screen) {
        FScreenLayout = L;
        FScreenLayoutValid = true;
    }
    FActive = &L;
    FDrawCanvas = canvas;

    DrawBackground(canvas, L);
    if (L.Depth > 0) DrawWalls(canvas, L);
    DrawGrid(canvas, L);
    for (TChartSeries* s : std::vector<TChartSeries*>(FSeries)) s->DrawValues(canvas, L);
    DrawAxes(canvas, L);
    DrawTitle(canvas, L);

    // The overlay gets a plain solid pen, whatever the drawing left behind.
    SetPen(canvas, clBlack);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clWhite);
    canvas->Font()->SetOrientation(0);
    if (OnAfterDraw) OnAfterDraw(this);
    if (screen) DrawZoomBand(canvas, L);
}

void TChart::DrawBackground(TCanvas* c, const TChartLayout& L) {
    const TRect& b = L.Bounds;
    TColor start = FGradient->StartColor() == clNone ? Color() : FGradient->StartColor();
    TColor end = FGradient->EndColor() == clNone ? start : FGradient->EndColor();
    int32_t c1 = ColorToRGB(start) & 0xFFFFFF, c2 = ColorToRGB(end) & 0xFFFFFF;
    int h = b.Height();
    if (c1 == c2 || h <= 1) {
        c->FillSolid(b, c1);
        return;
    }
    // One band per run of rows of the same colour, top to bottom.
    auto rowColor = [&](int y) {
        auto part = [&](int shift) {
            int a = (c1 >> shift) & 0xFF, z = (c2 >> shift) & 0xFF;
            return ((a * (h - 1 - y) + z * y + (h - 1) / 2) / (h - 1)) << shift;
        };
        return part(0) | part(8) | part(16);
    };
    int runStart = 0;
    int32_t runColor = rowColor(0);
    for (int y = 1; y <= h; ++y) {
        int32_t color = y < h ? rowColor(y) : -1;
        if (color == runColor) continue;
        c->FillSolid(TRect(b.Left, b.Top + runStart, b.Right, b.Top + y), runColor);
        runStart = y;
        runColor = color;
    }
}

void TChart::DrawWalls(TCanvas* c, const TChartLayout& L) {
    const TRect& p = L.Plot;
    int d = L.Depth;
    SetPen(c, kWallEdgeColor);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(kWallColor);
    TPoint leftWall[4] = {{p.Left, p.Top}, {p.Left + d, p.Top - d}, {p.Left + d, p.Bottom - d}, {p.Left, p.Bottom}};
    c->Polygon(leftWall, 4);
    TPoint floor[4] = {{p.Left, p.Bottom}, {p.Left + d, p.Bottom - d}, {p.Right + d, p.Bottom - d}, {p.Right, p.Bottom}};
    c->Polygon(floor, 4);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(p.Left + d, p.Top - d, p.Right + d + 1, p.Bottom - d + 1);
}

void TChart::DrawGrid(TCanvas* c, const TChartLayout& L) {
    const TRect& p = L.Plot;
    int d = L.Depth;
    SetPen(c, kGridColor);
    c->Brush()->SetStyle(bsClear);
    for (double v : LabelValues(FLeftAxis.get(), L.LeftStep)) {
        int y = FLeftAxis->PosIn(L, v);
        if (y <= p.Top || y >= p.Bottom) continue;
        Line(c, p.Left + d + 1, y - d, p.Right + d + 1, y - d);
    }
    std::vector<double> grid = LabelValues(FBottomAxis.get(), L.BottomStep);
    if (FBottomAxis->GridCentered() && !grid.empty()) {
        // Half-way between the labels, one more before the first.
        double step = L.BottomStep;
        for (double& v : grid) v += step / 2;
        grid.insert(grid.begin(), grid.front() - step);
    }
    for (double v : grid) {
        int x = FBottomAxis->PosIn(L, v);
        if (x <= p.Left || x >= p.Right) continue;
        Line(c, x + d, p.Top - d, x + d, p.Bottom - d);
    }
}

void TChart::DrawAxes(TCanvas* c, const TChartLayout& L) {
    const TRect& p = L.Plot;
    int th = L.TextHeight;
    SetPen(c, kAxisColor);
    Line(c, p.Left, p.Top, p.Left, p.Bottom + 1);
    Line(c, p.Left, p.Bottom, p.Right + 1, p.Bottom);

    c->Brush()->SetStyle(bsClear);
    c->Font()->Assign(Font());
    c->Font()->SetOrientation(0);

    // Left axis: ticks, minor ticks between them, labels right-aligned against the ticks.
    std::vector<double> left = LabelValues(FLeftAxis.get(), L.LeftStep);
    int minor = FLeftAxis->MinorTickCount();
    if (minor > 0 && L.LeftStep > 0) {
        double m = L.LeftStep / (minor + 1);
        double first = left.empty() ? FLeftAxis->Minimum() : left.front() - L.LeftStep;
        for (double v = first; v <= FLeftAxis->Maximum() + 1e-9 && m > 0; v += m) {
            if (v < FLeftAxis->Minimum() - 1e-9) continue;
            int y = FLeftAxis->PosIn(L, v);
            Line(c, p.Left - kMinorTick, y, p.Left, y);
        }
    }
    for (double v : left) {
        int y = FLeftAxis->PosIn(L, v);
        Line(c, p.Left - kTick, y, p.Left, y);
        String text = LabelText(v);
        c->TextOut(p.Left - kTick - kLabelGap - LabelWidth(c, text), y - th / 2, text);
    }
    // Bottom axis: ticks and labels centred under them.
    for (double v : LabelValues(FBottomAxis.get(), L.BottomStep)) {
        int x = FBottomAxis->PosIn(L, v);
        Line(c, x, p.Bottom + 1, x, p.Bottom + 1 + kTick);
        String text = LabelText(v);
        c->TextOut(x - LabelWidth(c, text) / 2, p.Bottom + 1 + kTick + kLabelGap, text);
    }
    if (!FBottomAxis->Title().empty()) {
        const String& t = FBottomAxis->Title();
        c->TextOut((p.Left + p.Right) / 2 - c->TextWidth(t) / 2, p.Bottom + 1 + kTick + kLabelGap + th + kLabelGap, t);
    }
    if (!FLeftAxis->Title().empty()) {
        const String& t = FLeftAxis->Title();
        int w = c->TextWidth(t);
        c->Font()->SetOrientation(900);
        c->TextOut(L.Bounds.Left + kMargin, (p.Top + p.Bottom) / 2 + w / 2, t);
        c->Font()->SetOrientation(0);
    }
}

void TChart::DrawTitle(TCanvas* c, const TChartLayout& L) {
    int th = L.TextHeight;
    int centre = (L.Plot.Left + L.Plot.Right) / 2;
    c->Brush()->SetStyle(bsClear);
    for (int i = 0; i < FTitle->Count(); ++i) {
        String text = FTitle->Strings(i);
        if (text.empty()) continue;
        int w = c->TextWidth(text);
        // Centred over the plot, but never pushed off the left edge.
        int x = std::max(L.Bounds.Left + kMargin, std::min(centre - w / 2, L.Bounds.Right - kMargin - w));
        c->TextOut(x, L.Bounds.Top + kMargin + i * th, text);
    }
}

void TChart::DrawZoomBand(TCanvas* c, const TChartLayout& L) {
    if (FGesture != Gesture::Zoom || !FDragged || FDragX <= FPressX) return;
    const TRect& p = L.Plot;
    SetPen(c, kAxisColor, psDot);
    c->Brush()->SetStyle(bsClear);
    int x0 = std::clamp(FPressX, p.Left, p.Right), x1 = std::clamp(FDragX, p.Left, p.Right);
    c->Rectangle(x0, p.Top, x1 + 1, p.Bottom + 1);
}

// ---------------------------------------------------------------------------------------------
// Series drawing

void TBarSeries::DrawValues(TCanvas* canvas, const TChartLayout& layout) {
    TChartAxis* bottom = FChart->BottomAxis();
    int d = layout.Depth;
    for (int i = 0; i < Count(); ++i) {
        const Point& pt = FPoints[static_cast<size_t>(i)];
        if (pt.X < bottom->Minimum() || pt.X > bottom->Maximum()) continue;
        TRect r = BarRect(i, layout);
        if (r.IsEmpty()) continue;
        TColor color = ValueColor(i);
        if (d > 0) {
            // Top and side faces of the box, lit from the top; the front goes over their edges,
            // so it keeps the rows of the value.
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Pen()->SetStyle(psSolid);
            TColor topColor = Shade(color, 85), sideColor = Shade(color, 65);
            canvas->Pen()->SetColor(topColor);
            canvas->Brush()->SetColor(topColor);
            TPoint topFace[4] = {{r.Left, r.Top}, {r.Left + d, r.Top - d}, {r.Right - 1 + d, r.Top - d}, {r.Right - 1, r.Top}};
            canvas->Polygon(topFace, 4);
            canvas->Pen()->SetColor(sideColor);
            canvas->Brush()->SetColor(sideColor);
            TPoint side[4] = {{r.Right - 1, r.Top}, {r.Right - 1 + d, r.Top - d}, {r.Right - 1 + d, r.Bottom - 1 - d}, {r.Right - 1, r.Bottom - 1}};
            canvas->Polygon(side, 4);
        }
        canvas->FillSolid(r, color);
    }
}

void TAreaSeries::DrawValues(TCanvas* canvas, const TChartLayout& layout) {
    TChartAxis* bottom = FChart->BottomAxis();
    TChartAxis* left = FChart->LeftAxis();
    const TRect& p = layout.Plot;
    double lo = bottom->Minimum(), hi = bottom->Maximum();
    int floor = p.Bottom;
    int d = layout.Depth;
    auto yPix = [&](double y) { return std::clamp(left->PosIn(layout, y), p.Top, p.Bottom); };
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetMode(pmCopy);
    canvas->Brush()->SetStyle(bsSolid);

    // Segments, each clipped to the bottom axis's range and filled down to the floor in the
    // colour of the point it ends at. Neighbouring segments of one colour are filled as one
    // polygon (a run); the line through them is kept for the line pen.
    std::vector<TPoint> line;
    std::vector<TPoint> run;    // the top edge of the current run
    std::vector<TPoint> shape;  // the run's polygon, reused
    TColor runColor = clNone;
    auto flush = [&] {
        if (run.size() < 2) {
            run.clear();
            return;
        }
        // Where several vertices share a pixel column, the first, the lowest, the highest and the
        // last of them outline the same pixels as all of them.
        shape.clear();
        for (size_t i = 0; i < run.size();) {
            size_t j = i;
            size_t lo = i, hi = i;
            while (j + 1 < run.size() && run[j + 1].X == run[i].X) {
                ++j;
                if (run[j].Y < run[lo].Y) lo = j;
                if (run[j].Y > run[hi].Y) hi = j;
            }
            shape.push_back(run[i]);
            size_t a = std::min(lo, hi), b = std::max(lo, hi);
            if (a != i && a != j) shape.push_back(run[a]);
            if (b != a && b != i && b != j) shape.push_back(run[b]);
            if (j != i) shape.push_back(run[j]);
            i = j + 1;
        }
        shape.push_back({run.back().X, floor});
        shape.push_back({run.front().X, floor});
        canvas->Pen()->SetColor(runColor);
        canvas->Brush()->SetColor(runColor);
        canvas->Polygon(shape.data(), static_cast<int>(shape.size()));
        run.clear();
    };
    for (int i = 1; i < Count(); ++i) {
        const Point& a = FPoints[static_cast<size_t>(i - 1)];
        const Point& b = FPoints[static_cast<size_t>(i)];
        double x0 = std::max(std::min(a.X, b.X), lo), x1 = std::min(std::max(a.X, b.X), hi);
        if (x0 > x1) continue;
        auto yAt = [&](double x) { return b.X == a.X ? b.Y : a.Y + (b.Y - a.Y) * (x - a.X) / (b.X - a.X); };
        if (a.X > b.X) std::swap(x0, x1);
        TPoint pa(bottom->PosIn(layout, x0), yPix(yAt(x0)));
        TPoint pb(bottom->PosIn(layout, x1), yPix(yAt(x1)));
        TColor color = ValueColor(i);
        // A run goes on only rightwards from where it stands, in its colour.
        if (!run.empty() && (color != runColor || run.back() != pa || pb.X < pa.X)) flush();
        if (d > 0) {
            TColor top = Shade(color, 75);
            canvas->Pen()->SetColor(top);
            canvas->Brush()->SetColor(top);
            TPoint band[4] = {pa, pb, {pb.X + d, pb.Y - d}, {pa.X + d, pa.Y - d}};
            canvas->Polygon(band, 4);
        }
        if (pb.X < pa.X) {
            canvas->Pen()->SetColor(color);
            canvas->Brush()->SetColor(color);
            TPoint quad[4] = {pa, pb, {pb.X, floor}, {pa.X, floor}};
            canvas->Polygon(quad, 4);
        } else {
            if (run.empty()) run.push_back(pa);
            run.push_back(pb);
            runColor = color;
        }
        if (line.empty() || line.back() != pa) line.push_back(pa);
        line.push_back(pb);
    }
    flush();

    if (FAreaLines->Visible()) {
        // The lines all reach the floor: the highest one of a pixel column covers the others.
        canvas->Pen()->SetColor(FAreaLines->Color());
        std::vector<int> tops(static_cast<size_t>(p.Right - p.Left + 1), floor + 1);
        for (const Point& pt : FPoints) {
            if (pt.X < lo || pt.X > hi) continue;
            int x = bottom->PosIn(layout, pt.X);
            if (x < p.Left || x > p.Right) continue;
            int& top = tops[static_cast<size_t>(x - p.Left)];
            top = std::min(top, yPix(pt.Y));
        }
        for (size_t i = 0; i < tops.size(); ++i)
            if (tops[i] <= floor) Line(canvas, p.Left + static_cast<int>(i), tops[i], p.Left + static_cast<int>(i), floor);
    }
    if (FLinePen->Visible() && line.size() > 1) {
        canvas->Pen()->SetColor(FLinePen->Color());
        canvas->Polyline(line);
    }
    if (FPointer->Visible()) {
        canvas->Pen()->SetColor(FPointer->Color());
        canvas->Brush()->SetColor(FPointer->Color());
        // Markers are all alike: each pixel position is drawn once. A position is kept as one
        // number that sorts by column and then row (the sign bits flipped).
        auto pack = [](int x, int y) {
            return static_cast<uint64_t>(static_cast<uint32_t>(x) ^ 0x80000000u) << 32 |
                   (static_cast<uint32_t>(y) ^ 0x80000000u);
        };
        auto spotX = [](uint64_t spot) { return static_cast<int32_t>(static_cast<uint32_t>(spot >> 32) ^ 0x80000000u); };
        auto spotY = [](uint64_t spot) { return static_cast<int32_t>(static_cast<uint32_t>(spot) ^ 0x80000000u); };
        std::vector<uint64_t> spots;
        spots.reserve(FPoints.size());
        for (const Point& pt : FPoints) {
            if (pt.X < lo || pt.X > hi) continue;
            int x = bottom->PosIn(layout, pt.X), y = yPix(pt.Y);
            spots.push_back(pack(x, y));
        }
        std::sort(spots.begin(), spots.end());
        spots.erase(std::unique(spots.begin(), spots.end()), spots.end());
        // A metafile records the ellipses, which play back to the same pixels in fewer bytes.
        if (dynamic_cast<TMetafileCanvas*>(canvas) != nullptr) {
            for (uint64_t spot : spots) {
                int x = spotX(spot), y = spotY(spot);
                canvas->Ellipse(x - 1, y - 1, x + 2, y + 2);
            }
        } else {
            // Elsewhere each column run of the prepared marker is stamped at every position; the
            // positions go by column and then row, so the runs that touch in one pixel column are
            // filled together.
            TColor color = FPointer->Color();
            for (const StampRun& r : MarkerStamp()) {
                int column = 0, top = 0, bottom = 0;  // the open run, bottom exclusive
                bool open = false;
                for (uint64_t spot : spots) {
                    int x = spotX(spot) - 1 + r.X, y = spotY(spot) - 1 + r.Y;
                    if (open && x == column && y <= bottom) {
                        bottom = std::max(bottom, y + r.Height);
                        continue;
                    }
                    if (open) canvas->FillSolid(TRect(column, top, column + 1, bottom), color);
                    column = x, top = y, bottom = y + r.Height, open = true;
                }
                if (open) canvas->FillSolid(TRect(column, top, column + 1, bottom), color);
            }
        }
    }
}
