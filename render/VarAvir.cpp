// Colour arithmetic, gradients, button faces, transparent bitmaps, cell shapes and indicators.
#include "render/VarAvir.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Cursors.h"
#include "render/VarAvirImpl.h"

namespace varavir {

Rgb Channels(TColor color) {
    const int32_t v = ColorToRGB(color);
    return {v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF};
}

TColor FromChannels(int64_t r, int64_t g, int64_t b) {
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

void SolidPenAndBrush(TCanvas* canvas, TColor color) {
    SolidPen(canvas, color);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
}

void SolidPen(TCanvas* canvas, TColor color, int width) {
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(width);
    canvas->Pen()->SetColor(color);
}

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2) {
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

}  // namespace varavir

using namespace varavir;

// ---- Colours ------------------------------------------------------------------------------------

TColor InterpolateColor(TColor from, TColor to, int lo, int hi, int step) {
    // hi = lo would divide by zero; the caller's range is then a single point: the start colour.
    if (to == clNone || hi == lo) return from;
    const Rgb f = Channels(from), t = Channels(to);
    auto channel = [&](int a, int b) {
        // A step outside lo..hi stays at the colour's ends instead of wrapping into another hue.
        return std::clamp<int64_t>(a + Round(static_cast<double>(step) * (b - a) / (static_cast<double>(hi) - lo)), 0, 255);
    };
    return FromChannels(channel(f.R, t.R), channel(f.G, t.G), channel(f.B, t.B));
}

TColor HalveColor(TColor color) {
    const Rgb c = Channels(color);
    return FromChannels(c.R >> 1, c.G >> 1, c.B >> 1);
}

TColor AdjustColorPercent(TColor color, int percent) {
    const Rgb c = Channels(color);
    auto channel = [&](int v) { return Round(v + static_cast<double>(percent) * v / 100.0); };
    return FromChannels(channel(c.R), channel(c.G), channel(c.B));
}

String ColorToHtmlHex(TColor color) {
    const Rgb c = Channels(color);
    return IntToHex(c.R, 2) + IntToHex(c.G, 2) + IntToHex(c.B, 2);
}

int IntMax(int a, int b) { return a > b ? a : b; }
int IntMin(int a, int b) { return a < b ? a : b; }

// ---- Fills and faces ----------------------------------------------------------------------------

void DrawStepGradient(TCanvas* canvas, TColor fromColor, TColor toColor, int steps, TRect rect, bool horizontal) {
    if (!canvas || rect.Top == rect.Bottom) return;
    if (rect.Top > rect.Bottom) std::swap(rect.Top, rect.Bottom);
    if (toColor == clNone || fromColor == clNone) {
        const TColor solid = toColor == clNone ? fromColor : toColor;
        if (solid == clNone) return;
        SolidPenAndBrush(canvas, solid);
        canvas->Rectangle(rect);
        return;
    }
    const int extent = horizontal ? rect.Width() - 1 : rect.Height() - 1;
    if (extent < 0) return;
    steps = std::max(std::min(steps, extent), 1);
    const double size = static_cast<double>(extent) / steps;
    const int length = static_cast<int>(size + 1);
    const Rgb f = Channels(fromColor), t = Channels(toColor);
    const double dr = static_cast<double>(t.R - f.R) / steps, dg = static_cast<double>(t.G - f.G) / steps,
                 db = static_cast<double>(t.B - f.B) / steps;
    TCanvasLock lock(canvas);
    for (int i = 0; i <= steps; ++i) {
        SolidPenAndBrush(canvas, FromChannels(f.R + Round(i * dr), f.G + Round(i * dg), f.B + Round(i * db)));
        const int start = static_cast<int>(i * size);
        TRect band = rect;
        if (horizontal) {
            band.Left = rect.Left + start;
            band.Right = std::min(band.Left + length, rect.Right);
        } else {
            band.Top = rect.Top + start;
            band.Bottom = std::min(band.Top + length, rect.Bottom);
        }
        canvas->Rectangle(band);
    }
}

void DrawMirrorGradient(TCanvas* canvas, TRect rect, TColor color, TColor colorTo, TColor mirrorColor,
                        TColor mirrorColorTo, bool vertical, TColor borderColor, bool sidesOnly, bool fill) {
    if (!canvas) return;
    TCanvasLock lock(canvas);
    if (fill && color != clNone) {
        if (mirrorColor == clNone) {
            if (colorTo == clNone) {
                SolidPenAndBrush(canvas, color);
                canvas->Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom + 1);
            } else {
                DrawStepGradient(canvas, color, colorTo, 128, rect, !vertical);
            }
        } else {
            TRect first = rect, second = rect;
            if (vertical)
                first.Bottom = second.Top = rect.Top + rect.Height() / 2;
            else
                first.Right = second.Left = rect.Left + rect.Width() / 2;
            DrawStepGradient(canvas, color, colorTo, 128, first, !vertical);
            DrawStepGradient(canvas, mirrorColor, mirrorColorTo, 128, second, !vertical);
        }
    }
    if (borderColor == clNone) return;
    if (sidesOnly) {
        SolidPen(canvas, borderColor);
        Line(canvas, rect.Left, rect.Top, rect.Left, rect.Bottom);
        Line(canvas, rect.Right - 1, rect.Top, rect.Right - 1, rect.Bottom);
    } else {
        canvas->Brush()->SetColor(borderColor);
        canvas->FrameRect(rect);
    }
}

void DrawButtonFace(TCanvas* canvas, TColor color, TColor colorTo, TColor mirrorColor, TColor mirrorColorTo,
                    TColor upperColor, TColor lowerColor, TColor borderColor, TColor cornerColor, TColor backColor,
                    TRect rect, int style) {
    if (!canvas) return;
    TCanvasLock lock(canvas);
    const bool roundLeft = style == 0 || style == 1;
    const bool roundRight = style == 0 || style == 2;
    const int a = roundLeft ? 2 : 0, b = roundRight ? 2 : 0;
    TRect r = rect;
    r.Bottom -= 2;
    r.Right -= 1;
    const int mid = r.Top + (r.Bottom - r.Top) / 2;
    // A colour that is not set draws nothing, as a border that is not set does.
    auto lines = [&](TColor c, auto&& draw) {
        if (c == clNone) return;
        SolidPen(canvas, c);
        draw();
    };
    lines(upperColor, [&] {
        Line(canvas, r.Left, r.Top + 1, r.Right, r.Top + 1);
        if (roundLeft) Line(canvas, r.Left + 1, r.Top + 1, r.Left + 1, mid);
        if (roundRight) Line(canvas, r.Right - 2, r.Top + 1, r.Right - 2, mid);
    });
    lines(lowerColor, [&] {
        Line(canvas, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
        if (roundLeft) Line(canvas, r.Left + 1, mid, r.Left + 1, r.Bottom - 1);
        if (roundRight) Line(canvas, r.Right - 2, mid, r.Right - 2, r.Bottom - 1);
    });
    lines(borderColor, [&] {
        Line(canvas, r.Left + a, r.Top, r.Right - b, r.Top);
        Line(canvas, r.Left + a, r.Bottom, r.Right - b, r.Bottom);
        if (roundRight) Line(canvas, r.Right - 1, r.Top + 2, r.Right - 1, r.Bottom - 1);
        if (roundLeft) Line(canvas, r.Left, r.Top + 2, r.Left, r.Bottom - 1);
    });
    auto corners = [&](int inner, int outer) {
        // inner is the column next to the side, outer the side itself.
        if (cornerColor != clNone) {
            for (TPoint p : {TPoint(inner, r.Top), TPoint(inner, r.Top + 1), TPoint(outer, r.Top + 1),
                             TPoint(inner, r.Bottom), TPoint(inner, r.Bottom - 1), TPoint(outer, r.Bottom - 1)})
                canvas->SetPixels(p.X, p.Y, cornerColor);
        }
        if (backColor != clNone) {
            canvas->SetPixels(outer, r.Top, backColor);
            canvas->SetPixels(outer, r.Bottom, backColor);
        }
    };
    if (roundLeft) corners(r.Left + 1, r.Left);
    if (roundRight) corners(r.Right - 2, r.Right - 1);

    const TRect body(r.Left + a, r.Top + 2, r.Right - b, r.Bottom - 1);
    if (colorTo == clNone) {
        if (color != clNone) FillRectColor(canvas, body, color);
    } else if (mirrorColor == clNone) {
        DrawStepGradient(canvas, color, colorTo, 16, body, false);
    } else {
        const int bodyMid = body.Top + body.Height() / 2;
        DrawStepGradient(canvas, color, colorTo, 16, TRect(body.Left, body.Top, body.Right, bodyMid), false);
        DrawStepGradient(canvas, mirrorColor, mirrorColorTo, 16, TRect(body.Left, bodyMid, body.Right, body.Bottom), false);
    }
}

void FillRectColor(TCanvas* canvas, const TRect& rect, TColor color) {
    if (!canvas) return;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
    canvas->FillRect(rect);
}

void DrawBitmapTransparent(TCanvas* canvas, TBitmap* bitmap, TColor backColor, const TRect& rect) {
    if (!canvas || !bitmap || bitmap->Empty()) return;
    const TRect whole(0, 0, bitmap->Width(), bitmap->Height());
    TBitmap shown(bitmap->Width(), bitmap->Height());
    shown.Canvas()->Brush()->SetColor(backColor);
    shown.Canvas()->BrushCopy(whole, bitmap, whole, bitmap->Canvas()->Pixels(0, 0));
    canvas->Draw(rect.Left, rect.Top, &shown);
}

void DrawResBitmapTransparent(TCanvas* canvas, TColor backColor, const TRect& rect, const String& resName) {
    TBitmap bitmap;
    bitmap.LoadFromResourceName(HInstance, resName);
    DrawBitmapTransparent(canvas, &bitmap, backColor, rect);
}

// ---- Shapes and indicators ----------------------------------------------------------------------

namespace {

// The star's point k (0..9) at k x 36 degrees clockwise from the top; odd points lie on a third
// of the radii.
TPoint StarPoint(int cx, int cy, int w2, int h2, int k) {
    const double angle = k * 36.0 * std::numbers::pi / 180.0;
    const double rx = k % 2 == 0 ? w2 : w2 / 3.0, ry = k % 2 == 0 ? h2 : h2 / 3.0;
    return {static_cast<int32_t>(cx + Round(std::sin(angle) * rx)), static_cast<int32_t>(cy - Round(std::cos(angle) * ry))};
}

}  // namespace

void DrawShape(TCanvas* canvas, int x, int y, int width, int height, TCellShape shape, TColor brushColor,
               TColor penColor) {
    if (!canvas || shape < csRectangle || shape > csHalfStar) return;
    canvas->Pen()->SetColor(penColor);
    canvas->Brush()->SetColor(brushColor);
    int w = width, h = height;
    if (shape == csCircle || shape == csSquare || shape == csRoundSquare) w = h = std::min(width, height);
    const int w2 = w / 2, h2 = h / 2;
    auto polygon = [&](std::initializer_list<TPoint> points) {
        canvas->Polygon(points.begin(), static_cast<int>(points.size()));
    };
    switch (shape) {
    case csRectangle:
    case csSquare: canvas->Rectangle(x + 1, y + 1, x + w - 1, y + h - 1); break;
    case csCircle:
    case csEllips: canvas->Ellipse(x, y, x + w, y + h); break;
    case csTriangleLeft: polygon({{x + w, y}, {x + w, y + h}, {x, y + h2}}); break;
    case csTriangleRight: polygon({{x, y}, {x, y + h}, {x + w, y + h2}}); break;
    case csTriangleUp: polygon({{x, y + h}, {x + w, y + h}, {x + w2, y}}); break;
    case csTriangleDown: polygon({{x, y}, {x + w, y}, {x + w2, y + h}}); break;
    case csDiamond: polygon({{x, y + h2}, {x + w2, y}, {x + 2 * w2, y + h2}, {x + w2, y + 2 * h2}}); break;
    case csLineVert: canvas->Rectangle(x + w2, y, x + w2 + 1, y + h); break;
    case csLineHorz: canvas->Rectangle(x, y + h2, x + w, y + h2 + 1); break;
    case csRoundRect:
    case csRoundSquare: canvas->RoundRect(x, y, x + w, y + h, 10, 10); break;
    case csStar: {
        TPoint points[10];
        for (int k = 0; k < 10; ++k) points[k] = StarPoint(x + w2, y + h2, w2, h2, k);
        canvas->Polygon(points, 10);
        break;
    }
    case csHalfStar: {
        TPoint points[6];
        int n = 0;
        for (int k : {0, 9, 8, 7, 6, 5}) points[n++] = StarPoint(x + w2, y + h2, w2, h2, k);
        canvas->Polygon(points, 6);
        break;
    }
    case csArrowUp:
    case csArrowDown: {
        const int W = w - w % 2, q = W / 4, r = 3 * q;
        const int head = shape == csArrowUp ? y : y + h, tail = shape == csArrowUp ? y + h : y;
        polygon({{x, y + h2}, {x + W / 2, head}, {x + W, y + h2}, {x + r, y + h2}, {x + r, tail}, {x + q, tail},
                 {x + q, y + h2}});
        break;
    }
    case csArrowLeft:
    case csArrowRight: {
        const int H = h - h % 2, q = H / 4, r = 3 * q;
        // The right arrow is the left one mirrored about the shape's middle.
        auto px = [&](int dx) { return shape == csArrowLeft ? x + dx : x + w - dx; };
        polygon({{px(0), y + H / 2}, {px(w2), y}, {px(w2), y + q}, {px(w), y + q}, {px(w), y + r}, {px(w2), y + r},
                 {px(w2), y + H}});
        break;
    }
    }
}

void DrawDownTriangle(TCanvas* canvas, int x, int y, TColor color) {
    if (!canvas) return;
    SolidPenAndBrush(canvas, color);
    const TPoint points[3] = {{x - 3, y}, {x + 3, y}, {x, y + 3}};
    canvas->Polygon(points, 3);
}

namespace {

constexpr TColor kPieLine = 0x808080;

// A pixel strictly inside the slice drawn from the upward radius clockwise to the radius through
// end, clear of both radii and of the outline, so a fill from it stays in the slice. Thin slices
// may have no such pixel: then there is nothing to fill.
bool PieSeed(TCanvas* canvas, const TRect& rect, TPoint centre, TPoint end, bool whole, TPoint& seed) {
    const double ex = end.X - centre.X, ey = centre.Y - end.Y;
    double sweep = std::atan2(ex, ey);
    if (sweep < 0) sweep += 2 * std::numbers::pi;
    if (whole || sweep == 0) sweep = 2 * std::numbers::pi;
    const double len = std::hypot(ex, ey);
    const double ux = len > 0 ? ex / len : 0, uy = len > 0 ? ey / len : 1;
    const double rx = rect.Width() / 2.0, ry = rect.Height() / 2.0;
    const double ocx = (rect.Left + rect.Right - 1) / 2.0, ocy = (rect.Top + rect.Bottom - 1) / 2.0;
    const double orx = (rect.Width() - 1) / 2.0 - 1.5, ory = (rect.Height() - 1) / 2.0 - 1.5;
    if (orx <= 0 || ory <= 0) return false;
    // Distance from (dx, dy) to the ray from the centre along (vx, vy).
    auto rayDistance = [](double dx, double dy, double vx, double vy) {
        return dx * vx + dy * vy > 0 ? std::abs(dx * vy - dy * vx) : std::hypot(dx, dy);
    };
    for (double fr : {0.55, 0.7, 0.4, 0.85, 0.3}) {
        for (double fa : {0.5, 0.35, 0.65, 0.2, 0.8, 0.1, 0.9}) {
            const double angle = sweep * fa;
            const TPoint p(static_cast<int32_t>(Round(centre.X + fr * rx * std::sin(angle))),
                           static_cast<int32_t>(Round(centre.Y - fr * ry * std::cos(angle))));
            const double dx = p.X - centre.X, dy = centre.Y - p.Y;
            double theta = std::atan2(dx, dy);
            if (theta < 0) theta += 2 * std::numbers::pi;
            if (theta <= 0 || theta >= sweep) continue;
            if (rayDistance(dx, dy, 0, 1) < 1.2 || rayDistance(dx, dy, ux, uy) < 1.2) continue;
            const double nx = (p.X - ocx) / orx, ny = (p.Y - ocy) / ory;
            if (nx * nx + ny * ny >= 1) continue;
            if (canvas->Pixels(p.X, p.Y) == kPieLine) continue;
            seed = p;
            return true;
        }
    }
    return false;
}

}  // namespace

void DrawPieChart(TCanvas* canvas, const TRect& rect, TColor fillColor, int percent, bool flag) {
    if (!canvas) return;
    // The fill is seeded inside the slice itself: a fixed seed near the top lies outside thin
    // slices (and above the ellipse when flag is set), where it floods what surrounds the pie.
    static_cast<void>(flag);
    TCanvasLock lock(canvas);
    SolidPen(canvas, kPieLine);
    canvas->Ellipse(rect);
    const int w = rect.Width(), h = rect.Height();
    const TPoint centre(rect.Left + w / 2, rect.Top + h / 2);
    Line(canvas, centre.X, centre.Y, centre.X, rect.Top);
    // A pie holds at most the whole.
    const int p = std::clamp(percent, 0, 100);
    const double angle = p / 100.0 * 2 * std::numbers::pi;
    const TPoint end(static_cast<int32_t>(rect.Left + w / 2 + Round((w + 1) / 2.0 * std::sin(angle))),
                     static_cast<int32_t>(rect.Top + h / 2 - Round((h + 1) / 2.0 * std::cos(angle))));
    Line(canvas, centre.X, centre.Y, end.X, end.Y);
    canvas->Brush()->SetColor(fillColor);
    TPoint seed;
    if (p != 0 && PieSeed(canvas, rect, centre, end, p == 100, seed))
        canvas->FloodFill(seed.X, seed.Y, kPieLine, fsBorder);
}

void DrawPosNegBar(TCanvas* canvas, const TRect& rect, int value, int max, bool showValue, TColor negColor,
                   TColor posColor) {
    if (!canvas) return;
    TRect r(rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2);
    const int half = r.Width() / 2;
    const int centre = r.Left + half;
    // A range of 0 has no scale to draw on: the value is shown, no bar.
    if (max > 0) {
        value = std::clamp(value, -max, max);
        const int64_t length = Round(static_cast<double>(half) * value / max);
        if (value < 0) {
            SolidPenAndBrush(canvas, negColor);
            canvas->Rectangle(static_cast<int>(centre + length), r.Top, centre, r.Bottom);
        } else {
            SolidPenAndBrush(canvas, posColor);
            canvas->Rectangle(centre, r.Top, static_cast<int>(centre + length), r.Bottom);
        }
    }
    if (showValue) {
        const int mode = SetBkMode(canvas->Handle(), TRANSPARENT);
        DrawText(canvas->Handle(), IntToStr(value), -1, &r, DT_SINGLELINE | DT_CENTER);
        SetBkMode(canvas->Handle(), mode);
    }
}

void DrawProgressBar(TCanvas* canvas, TRect rect, TColor color, TColor fontColor, TColor colorTo, TColor fontColorTo,
                     double position, int marginX, int marginY, int min, int max, const String& format,
                     TColor borderColor, bool textLow) {
    if (!canvas) return;
    TCanvasLock lock(canvas);
    const TColor entryBrush = canvas->Brush()->Color();
    SolidPenAndBrush(canvas, color);
    canvas->Font()->SetColor(fontColor);

    String text;
    int64_t percentage;
    if (!format.IsEmpty()) {
        const bool integral = format.find(u'd') != String::npos || format.find(u'u') != String::npos;
        text = integral ? Format(format, {static_cast<long long>(Round(position))}) : Format(format, {position});
        // An empty range has no scale: the bar shows empty rather than dividing by zero.
        percentage = max == min ? 0 : Round((position - min) * 100.0 / (static_cast<double>(max) - min));
    } else {
        percentage = Round(position);
        text = IntToStr(static_cast<long long>(percentage)) + u"%";
    }
    percentage = std::clamp<int64_t>(percentage, 0, 100);

    rect = TRect(rect.Left + marginX, rect.Top + marginY, rect.Right - marginX, rect.Bottom - marginY);
    const TSize extent = canvas->TextExtent(text);
    const int x = rect.Left + (rect.Width() - extent.cx) / 2;
    const int y = textLow ? rect.Top + (rect.Height() + extent.cy) / 2 : rect.Top + (rect.Height() - extent.cy) / 2;

    const int split = rect.Left + static_cast<int>(Round(static_cast<double>(percentage) * rect.Width() / 100.0));
    const TRect done(rect.Left, rect.Top, split, rect.Bottom);
    canvas->Rectangle(done);
    canvas->TextRect(done, x, y, text);
    SolidPenAndBrush(canvas, colorTo);
    canvas->Font()->SetColor(fontColorTo);
    const TRect rest(split, rect.Top, rect.Right, rect.Bottom);
    canvas->Rectangle(rest);
    canvas->TextRect(rest, x, y, text);

    SolidPen(canvas, entryBrush);
    if (borderColor != clNone) {
        canvas->Brush()->SetColor(borderColor);
        canvas->FrameRect(TRect(rect.Left - 1, rect.Top - 1, rect.Right + 1, rect.Bottom + 1));
    }
    canvas->Brush()->SetColor(entryBrush);
    canvas->FrameRect(TRect(rect.Left - 2, rect.Top - 2, rect.Right + 2, rect.Bottom + 2));
}

namespace {

// One segment of a levelled bar, plain or as two gradients meeting in the middle of its
// thickness.
void LevelSegment(TCanvas* canvas, const TRect& segment, TColor color, TColor colorTo, const TProgressLook& look) {
    if (segment.IsEmpty()) return;
    if (!look.ShowGradient) {
        FillRectColor(canvas, segment, color);
        return;
    }
    TRect first = segment, second = segment;
    if (look.Vertical)
        first.Right = second.Left = segment.Left + segment.Width() / 2;
    else
        first.Bottom = second.Top = segment.Top + segment.Height() / 2;
    DrawStepGradient(canvas, colorTo, color, look.Steps, first, look.Vertical);
    DrawStepGradient(canvas, color, colorTo, look.Steps, second, look.Vertical);
}

}  // namespace

void DrawLevelProgress(TCanvas* canvas, const TRect& rect, int percent, const TProgressLook& look) {
    if (!canvas) return;
    TCanvasLock lock(canvas);
    const bool vertical = look.Vertical;
    const int extent = vertical ? rect.Height() : rect.Width();
    const int inner = extent - 2;
    const TColor outline = look.ShowBorder ? look.BorderColor : look.UnCompleteColor;
    canvas->Brush()->SetColor(look.UnCompleteColor);
    SolidPen(canvas, outline);
    canvas->Rectangle(rect);

    // Along the bar a segment runs from `from` for `length` pixels (upwards on a vertical bar),
    // across it inside an edge of `edge` pixels.
    auto segmentRect = [&](int from, int length, int edge) {
        if (vertical) return TRect(rect.Left + edge, rect.Bottom - edge - from - length, rect.Right - edge, rect.Bottom - edge - from);
        return TRect(rect.Left + edge + from, rect.Top + edge, rect.Left + edge + from + length, rect.Bottom - edge);
    };
    // The fill never leaves the bar, whatever percentage the caller hands over.
    const int filled = std::min(percent, 100);
    if (filled > 0 && inner > 0) {
        auto part = [&](double share) { return static_cast<int>(Round(share * inner / 100.0)); };
        if (look.Stacked) {
            int lengths[3] = {0, 0, 0};
            bool last = filled < look.Level1Perc;
            lengths[0] = last ? part(filled) : part(look.Level1Perc);
            if (!last) {
                last = filled < look.Level2Perc;
                lengths[1] = last ? part(filled - look.Level1Perc) : part(look.Level2Perc - look.Level1Perc);
            }
            if (!last) lengths[2] = filled == 100 ? inner - lengths[0] - lengths[1] : part(filled - look.Level2Perc);
            const TColor colors[3][2] = {{look.Level0Color, look.Level0ColorTo},
                                         {look.Level1Color, look.Level1ColorTo},
                                         {look.Level3Color, look.Level3ColorTo}};
            int from = 0;
            for (int i = 0; i < 3; ++i) {
                const int length = std::clamp(lengths[i], 0, inner - from);
                LevelSegment(canvas, segmentRect(from, length, 1), colors[i][0], colors[i][1], look);
                from += length;
            }
        } else {
            TColor color = look.Level2Color, colorTo = look.Level2ColorTo;
            if (filled < look.Level1Perc) {
                color = look.Level0Color;
                colorTo = look.Level0ColorTo;
            } else if (filled < look.Level2Perc) {
                color = look.Level1Color;
                colorTo = look.Level1ColorTo;
            } else if (filled > 99) {
                color = look.Level3Color;
                colorTo = look.Level3ColorTo;
            }
            if (look.CompletionSmooth) {
                LevelSegment(canvas, segmentRect(0, part(filled), 1), color, colorTo, look);
            } else {
                const int n = part(filled);
                const int blocks = n > 9 ? n / 9 : 0;
                for (int i = 0; i < blocks; ++i) LevelSegment(canvas, segmentRect(9 * i, 7, 2), color, colorTo, look);
                const int rest = n > 9 ? (n % 9 > 2 ? n % 9 - 1 : 0) : (n >= 2 ? n - 1 : 0);
                if (rest > 0) LevelSegment(canvas, segmentRect(9 * blocks, rest, 2), color, colorTo, look);
            }
        }
    }

    if (look.ShowPercentage) {
        canvas->Brush()->SetStyle(bsClear);
        if (look.Font) {
            canvas->Font()->SetName(look.Font->Name());
            canvas->Font()->SetSize(look.Font->Size());
            canvas->Font()->SetStyle(look.Font->Style());
        }
        canvas->Font()->SetColor(look.CompleteFontColor);
        const String text = IntToStr(percent) + u"%";
        const TSize size = canvas->TextExtent(text);
        if (vertical) {
            const int orientation = canvas->Font()->Orientation();
            canvas->Font()->SetOrientation(900);
            canvas->TextOut(rect.Left + rect.Width() / 2 - size.cy / 2, rect.Top + rect.Height() / 2 + size.cx / 2, text);
            canvas->Font()->SetOrientation(orientation);
        } else {
            canvas->TextOut(rect.Left + (rect.Width() - size.cx) / 2, rect.Top + (rect.Height() - size.cy) / 2, text);
        }
    }
    SolidPen(canvas, outline);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(rect);
}
