#include "controls/instrument/_MvProc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/rtl/Format.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"

const String& ExeFolder() {
    static const String folder = IncludeTrailingPathDelimiter(ExtractFilePath(Application->ExeName()));
    return folder;
}

String IntToBinStr(int32_t Value, int Digits) {
    const uint32_t v = static_cast<uint32_t>(Value);
    int count;
    if (Digits <= 0) {
        count = 1;
        for (int b = 31; b > 0; --b) {
            if ((v >> b) & 1u) {
                count = b + 1;
                break;
            }
        }
    } else {
        count = std::min(Digits + 1, 32);
    }
    String s;
    for (int b = count - 1; b >= 0; --b) s.push_back(((v >> b) & 1u) ? u'1' : u'0');
    return s;
}

int32_t BinStrToInt(const String& Text) {
    uint32_t v = 0;
    const int n = Text.Length();
    for (int i = 0; i < n; ++i) {
        const int distance = n - 1 - i;
        if (distance < 32 && Text[static_cast<size_t>(i)] == u'1') v |= 1u << distance;
    }
    return static_cast<int32_t>(v);
}

String StripChar(const String& Text, char16_t Ch) {
    String s;
    for (char16_t c : Text)
        if (c != Ch) s.push_back(c);
    return s;
}

long double Log10Of(long double X) { return std::log(X) / std::log(10.0L); }

long double PowerOf(long double Exponent, long double Base) { return std::exp(Exponent * std::log(Base)); }

String LogLabelList(int FromExp, int ToExp, int Steps, bool Descending, const String& Format) {
    if (Steps <= 0) Steps = 1;
    const int d = (ToExp - FromExp) / Steps;
    String list;
    auto add = [&](int e) { list += FormatFloat(Format, static_cast<double>(PowerOf(e, 10))) + ";"; };
    if (d <= 0) {
        // No step to take: only the first label, instead of an endless list.
        add(Descending ? ToExp : FromExp);
        return list;
    }
    if (!Descending) {
        for (int e = FromExp; e < ToExp; e += d) add(e);
    } else {
        for (int e = ToExp; e > FromExp; e -= d) add(e);
    }
    return list;
}

double Decade(double X, int& Exponent) {
    if (X <= 0) X = 1;
    Exponent = static_cast<int>(Round(static_cast<double>(Log10Of(X))));
    return std::pow(10.0, Exponent);
}

namespace {

int Channel(int32_t rgb, int shift) { return (rgb >> shift) & 0xFF; }
TColor MakeRGB(int r, int g, int b) {
    auto clamp = [](int v) { return std::clamp(v, 0, 255); };
    return static_cast<TColor>(clamp(r) | (clamp(g) << 8) | (clamp(b) << 16));
}

}  // namespace

TColor ColorBrightness(TColor Color, float Percent) {
    auto scale = [&](int c) { return static_cast<int>(Round(c * static_cast<double>(Percent) / 100.0)); };
    return MakeRGB(scale(Channel(Color, 0)), scale(Channel(Color, 8)), scale(Channel(Color, 16)));
}

TColor ColorStep(TColor Color1, TColor Color2, int Steps, int Index) {
    const int32_t c1 = ColorToRGB(Color1), c2 = ColorToRGB(Color2);
    if (c1 == c2) return Color1;
    if (Steps == 0) Steps = 1;
    auto step = [&](int shift) {
        const int a = Channel(c1, shift), b = Channel(c2, shift);
        return a + static_cast<int>(Round(static_cast<double>(b - a) / Steps * Index));
    };
    return MakeRGB(step(0), step(8), step(16));
}

void TextSizeHalf(TCanvas* Canvas, int& W, int& H, const String& Text, TPoint& Half) {
    W = Canvas->TextWidth(Text);
    H = Canvas->TextHeight(Text);
    Half = TPoint(W / 2, H / 2);
}

void MeasureTextLines(TCanvas* Canvas, int& W, int& H, char16_t Separator, const String& Text) {
    H = Canvas->TextHeight(Text);
    W = 0;
    String rest = Text, part;
    do {
        SplitFirst(rest, Separator, part);
        W = std::max(W, Canvas->TextWidth(part));
    } while (!rest.IsEmpty());
}

void MaxItemWidth(TCanvas* Canvas, int& W, int& H, const String& List) { MeasureTextLines(Canvas, W, H, u';', List); }

int CharCount(const String& Text, char16_t Ch) { return static_cast<int>(std::count(Text.begin(), Text.end(), Ch)); }

void TextOutAligned(TCanvas* Canvas, int X, int Y, int Align, const String& Text) {
    const int w = Canvas->TextWidth(Text), h = Canvas->TextHeight(Text);
    const int col = Align % 3, row = Align / 3;
    const int dx = col == 0 ? 0 : col == 1 ? w / 2 : w;
    const int dy = row == 0 ? 0 : row == 1 ? h / 2 : h;
    Canvas->TextOut(X - dx, Y - dy, Text);
}

namespace {

// Calls out(x, y, line) for every caption line, placed as DrawTextLines places them.
template <class Out>
void ForEachLine(TCanvas* Canvas, int X, int Y, int Align, const String& Text, int LineGap, Out out) {
    const int l = Canvas->TextHeight(u"X") + LineGap;
    const int k = CharCount(Text, CaptionSeparator);
    int y = Y;
    if (Align >= 3 && Align <= 5) y = Y - (k * l) / 2;
    else if (Align >= 6 && Align <= 8) y = Y - k * l;
    String rest = Text, line;
    for (int i = 0; i <= k; ++i) {
        SplitFirst(rest, CaptionSeparator, line);
        out(X, y, line);
        y += l;
    }
}

}  // namespace

void DrawTextLines(TCanvas* Canvas, int X, int Y, int Align, const String& Text, int LineGap) {
    ForEachLine(Canvas, X, Y, Align, Text, LineGap,
                [&](int x, int y, const String& line) { TextOutAligned(Canvas, x, y, Align, line); });
}

void DrawTextLines3D(TCanvas* Canvas, int X, int Y, bool Engraved, int Align, const String& Text, TColor LightColor,
                     TColor DarkColor, TColor Color, int LineGap) {
    ForEachLine(Canvas, X, Y, Align, Text, LineGap, [&](int x, int y, const String& line) {
        if (Engraved) {
            Canvas->Font()->SetColor(LightColor);
            TextOutAligned(Canvas, x + 1, y + 1, Align, line);
            Canvas->Font()->SetColor(DarkColor);
            TextOutAligned(Canvas, x - 1, y - 1, Align, line);
        }
        Canvas->Font()->SetColor(Color);
        TextOutAligned(Canvas, x, y, Align, line);
    });
}

void SplitFirst(String& Text, char16_t Ch, String& Part) {
    const size_t p = Text.find(Ch);
    if (p == String::npos) {
        Part = Text;
        Text.clear();
        return;
    }
    Part = String(Text.substr(0, p));
    Text.erase(0, p + 1);
}

void LinearLabelList(int Steps, const String& Format, String& List, float First, float Last) {
    if (Steps < 1) Steps = 1;  // one step rather than a division by zero
    List.clear();
    for (int k = 0; k <= Steps; ++k) {
        const double v = static_cast<double>(Last) + static_cast<double>(First - Last) / Steps * (Steps - k);
        List += FormatFloat(Format, v) + ";";
    }
}

int LargerInt(int A, int B) { return A > B ? A : B; }

bool PointInRect(int X, int Y, const TRect& Rect) {
    return Rect.Left <= X && X < Rect.Right && Rect.Top <= Y && Y <= Rect.Bottom;
}

void ShrinkRect(TRect& Rect, int D) { ShrinkRect4(Rect, D, D, D, D); }

void ShrinkRect4(TRect& Rect, int DLeft, int DTop, int DRight, int DBottom) {
    Rect.Left += DLeft;
    Rect.Top += DTop;
    Rect.Right -= DRight;
    Rect.Bottom -= DBottom;
}

TPoint RectCenter(const TRect& Rect) {
    return TPoint(Rect.Left + (Rect.Right - Rect.Left) / 2, Rect.Top + (Rect.Bottom - Rect.Top) / 2);
}

TPoint RotatePoint(TPoint P, TPoint Center, bool Clockwise, float Degrees) {
    const double a = static_cast<double>(Degrees) * M_PI / 180.0;
    const double dx = P.X - Center.X, dy = P.Y - Center.Y;
    const double c = std::cos(a), s = std::sin(a);
    if (Clockwise)
        return TPoint(Center.X + static_cast<int>(Round(dx * c - dy * s)), Center.Y + static_cast<int>(Round(dy * c + dx * s)));
    return TPoint(Center.X + static_cast<int>(Round(dx * c + dy * s)), Center.Y + static_cast<int>(Round(dy * c - dx * s)));
}

bool PointInCircle(int X, int Y, const TRect& Rect) {
    const double cx = (Rect.Left + Rect.Right) / 2.0, cy = (Rect.Top + Rect.Bottom) / 2.0;
    return Rect.Width() >= 2.0 * std::hypot(X - cx, Y - cy);
}

int SpanOf(int From, int To) { return (From >= 0 && To <= 0) ? 0 : To - From; }

void DrawKnob(TCanvas* Canvas, TPoint Center, int Size, TColor Color, bool Horizontal) {
    const int half = Size / 2;
    const int t = static_cast<int>(Round(0.2 * Size));
    const int sx = Horizontal ? half : t, sy = Horizontal ? t : half;
    const TRect knob(Center.X - sx, Center.Y - sy, Center.X + sx + 1, Center.Y + sy + 1);
    const TColor edge = Color == clBtnShadow ? clBtnShadow : clBlack;
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->FillRect(knob);
    TRect r = knob;
    Frame3D(Canvas, r, clBtnShadow, edge, 1);
    Frame3D(Canvas, r, clBtnHighlight, clBtnShadow, 1);
    TRect face = knob;
    ShrinkRect(face, Size / 25);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(edge);
    Canvas->Brush()->SetColor(Color);
    Canvas->Rectangle(face);
}

namespace {

struct Rgb {
    int r, g, b;
};

Rgb ToRgb(int32_t c) { return {Channel(c, 0), Channel(c, 8), Channel(c, 16)}; }

// The gradient state: the start colour, the difference and the number of steps.
struct Ramp {
    Rgb c1, d;
    int n;
    // C1 + round(i x d / N) per channel.
    TColor At(double i) const {
        auto ch = [&](int a, int dd) { return a + static_cast<int>(Round(i * dd / n)); };
        return MakeRGB(ch(c1.r, d.r), ch(c1.g, d.g), ch(c1.b, d.b));
    }
    // The same, truncated (the stepped bands).
    TColor Trunc(int i) const {
        auto ch = [&](int a, int dd) { return a + static_cast<int>(static_cast<long long>(i) * dd / n); };
        return MakeRGB(ch(c1.r, d.r), ch(c1.g, d.g), ch(c1.b, d.b));
    }
};

void Fill(TCanvas* c, const TRect& r, TColor color) {
    c->Brush()->SetColor(color);
    c->FillRect(r);
}

void Line(TCanvas* c, int x1, int y1, int x2, int y2, TColor color) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
}

int RoundI(double v) { return static_cast<int>(Round(v)); }

void Bands(TCanvas* c, const Ramp& base, int w, int h, bool horizontal) {
    const int len = horizontal ? h : w;
    Ramp ramp = base;
    ramp.n = std::max(1, std::min(ramp.n, len));
    const int b = len / ramp.n;
    ramp.n = std::max(1, len / b);
    for (int i = 0; i <= ramp.n; ++i) {
        const TRect band = horizontal ? TRect(0, i * b, w, i * b + b) : TRect(i * b, 0, i * b + b, h);
        Fill(c, band, ramp.Trunc(i));
    }
}

// One line across the bitmap at position p (a row when horizontal, a column otherwise).
void Across(TCanvas* c, int w, int h, bool horizontal, int p, TColor color) {
    Fill(c, horizontal ? TRect(0, p, w, p + 1) : TRect(p, 0, p + 1, h), color);
}

void Mirrored(TCanvas* c, const Ramp& base, int w, int h, bool horizontal) {
    const int len = horizontal ? h : w;
    Ramp ramp = base;
    ramp.n = std::max(1, len / 2);
    const int m = ramp.n;
    Across(c, w, h, horizontal, m, ramp.At(0));
    for (int i = 1; i <= ramp.n; ++i) {
        Across(c, w, h, horizontal, m + i, ramp.At(i));
        Across(c, w, h, horizontal, m - i, ramp.At(i));
    }
}

void Third(TCanvas* c, const Ramp& base, int w, int h, bool horizontal) {
    const int len = horizontal ? h : w;
    Ramp ramp = base;
    ramp.n = std::max(1, RoundI(0.67 * len));
    const int m = len / 3;
    Across(c, w, h, horizontal, m, ramp.At(0));
    for (int i = 1; i <= ramp.n; ++i) {
        Across(c, w, h, horizontal, m + i, ramp.At(i));
        if (m - i >= 0) Across(c, w, h, horizontal, m - i, ramp.At(i));
    }
}

void Elliptic(TCanvas* c, const Ramp& ramp, int w, int h, TGradientStyle style, TColor colorTo) {
    Fill(c, TRect(0, 0, w, h), colorTo);
    int cx = w / 2, cy = h / 2;
    if (style == gsElliptic3) {
        cx += 1 - w / 4;
        cy += 1 - h / 4;
    }
    const double k = style == gsElliptic1 ? 0.5 : style == gsElliptic2 ? 0.695 : 0.82;
    const double px = static_cast<double>(w) / ramp.n * k, py = static_cast<double>(h) / ramp.n * k;
    for (int i = ramp.n; i >= 1; --i) {
        const TColor col = ramp.At(i);
        c->Pen()->SetColor(col);
        c->Brush()->SetColor(col);
        const int rx = RoundI(i * px), ry = RoundI(i * py);
        c->Ellipse(cx - rx, cy - ry, cx + rx, cy + ry);
    }
}

void Rectangles(TCanvas* c, const Ramp& ramp, int w, int h) {
    const int cx = w / 2, cy = h / 2;
    const double px = static_cast<double>(w) / ramp.n / 2, py = static_cast<double>(h) / ramp.n / 2;
    for (int i = ramp.n; i >= 0; --i) {
        // A rectangle whose pen and brush share one colour is that area filled; filling also
        // covers the 1 x 1 rectangle of the centre.
        const int dx = RoundI(i * px), dy = RoundI(i * py);
        Fill(c, TRect(cx - dx, cy - dy, cx + dx + 1, cy + dy + 1), ramp.At(i));
    }
}

void Diamonds(TCanvas* c, const Ramp& base, int w, int h, TGradientStyle style, TColor colorFrom, TColor colorTo) {
    const int s = std::max(w, h);
    Ramp ramp = base;
    double px, py;
    if (style == gsDiamond1) {
        ramp.n = std::max(s / 2, ramp.n);
        px = static_cast<double>(w) / ramp.n / 2;
        py = static_cast<double>(h) / ramp.n / 2;
    } else {
        ramp.n = std::max(s, ramp.n);
        px = static_cast<double>(w) / ramp.n;
        py = static_cast<double>(h) / ramp.n;
    }
    Fill(c, TRect(0, 0, w, h), colorTo);
    const int cx = w / 2, cy = h / 2;
    for (int i = ramp.n; i >= 1; --i) {
        c->Pen()->SetColor(ramp.At(i));
        const int dx = RoundI(i * px), dy = RoundI(i * py);
        const TPoint pts[] = {{cx, cy - dy}, {cx + dx, cy}, {cx, cy + dy}, {cx - dx, cy}, {cx, cy - dy}};
        c->Polyline(pts, 5);
    }
    c->SetPixels(cx, cy, colorFrom);
}

void Corner(TCanvas* c, const Ramp& base, int w, int h, bool topLeft) {
    const int s = std::max(w, h);
    Ramp ramp = base;
    ramp.n = s;
    const double px = static_cast<double>(w) / s, py = static_cast<double>(h) / s;
    for (int i = 0; i <= ramp.n; ++i) {
        const int x = RoundI(i * px), y = RoundI(i * py);
        if (topLeft) {
            Line(c, 0, y, x, -1, ramp.At(i / 2.0));
            Line(c, w, h - y, w - x, h, ramp.At(ramp.n - i / 2.0));
        } else {
            Line(c, w, y, w - x, -1, ramp.At(i / 2.0));
            Line(c, 0, h - y, x, h, ramp.At(ramp.n - i / 2.0));
        }
    }
}

}  // namespace

void GradientFill(TCanvas* Canvas, const TRect& Rect, TColor ColorFrom, TGradientStyle Style, TColor ColorTo) {
    const int w = Rect.Width(), h = Rect.Height();
    // An empty rectangle has nothing to fill (and no band size to divide by).
    if (w <= 0 || h <= 0) return;
    TBitmap bmp(w, h);
    TCanvas* c = bmp.Canvas();
    const int32_t c1 = ColorToRGB(ColorFrom), c2 = ColorToRGB(ColorTo);
    c->Brush()->SetStyle(bsSolid);
    if (c1 == c2) {
        Fill(c, TRect(0, 0, w, h), ColorFrom);
    } else {
        const Rgb a = ToRgb(c1), b = ToRgb(c2);
        Ramp ramp{a, {b.r - a.r, b.g - a.g, b.b - a.b}, 1};
        ramp.n = std::max({1, std::abs(ramp.d.r), std::abs(ramp.d.g), std::abs(ramp.d.b)});
        c->Pen()->SetWidth(1);
        c->Pen()->SetStyle(psSolid);
        switch (Style) {
            case gsHorizontal1: Bands(c, ramp, w, h, true); break;
            case gsVertical1: Bands(c, ramp, w, h, false); break;
            case gsHorizontal2: Mirrored(c, ramp, w, h, true); break;
            case gsVertical2: Mirrored(c, ramp, w, h, false); break;
            case gsHorizontal3: Third(c, ramp, w, h, true); break;
            case gsVertical3: Third(c, ramp, w, h, false); break;
            case gsElliptic1:
            case gsElliptic2:
            case gsElliptic3: Elliptic(c, ramp, w, h, Style, ColorTo); break;
            case gsRectangle: Rectangles(c, ramp, w, h); break;
            case gsDiamond1:
            case gsDiamond2: Diamonds(c, ramp, w, h, Style, ColorFrom, ColorTo); break;
            case gsTopLeft: Corner(c, ramp, w, h, true); break;
            case gsTopRight: Corner(c, ramp, w, h, false); break;
        }
    }
    Canvas->Draw(Rect.Left, Rect.Top, &bmp);
}

void DrawLEDShape(TCanvas* Canvas, const TRect& Rect, TLEDShape Shape, TColor FillColor, TColor PenColor) {
    Canvas->Pen()->SetColor(PenColor);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(FillColor);
    const int l = Rect.Left, t = Rect.Top, r = Rect.Right, b = Rect.Bottom;
    const int hw = (r - l) / 2, hh = (b - t) / 2;
    auto poly = [&](std::initializer_list<TPoint> pts) { Canvas->Polygon(std::data(pts), static_cast<int>(pts.size())); };
    switch (Shape) {
        case sRound: {
            Canvas->Ellipse(l, t, r, b);
            Canvas->Pen()->SetColor(clBtnHighlight);
            Canvas->Pen()->SetWidth((r - l) / 8);
            const int in = (r - l) / 5;
            Canvas->Arc(l + in, t + in, r - in, b - in, l + hw, t, l, t + hh);
            break;
        }
        case sArrowLeft: poly({{l, t + hh}, {r - 1, t}, {r - 1, b - 1}}); break;
        case sArrowRight: poly({{l, t}, {r - 1, t + hh}, {l, b - 1}}); break;
        case sArrowUp: poly({{l + hw, t}, {r - 1, b - 1}, {l, b - 1}}); break;
        case sArrowDown: poly({{l, t}, {r - 1, t}, {l + hw, b - 1}}); break;
        case sRectangle: Canvas->RoundRect(l, t, r, b, 1, 1); break;
        case sDiamondLeft: poly({{l, t}, {l + hw, t}, {r, b}, {l + hw, b}}); break;
        case sDiamondRight: poly({{l + hw, t}, {r, t}, {l + hw, b}, {l, b}}); break;
    }
}
