// Unit AdvWatch: the clock's geometry and painting, and the unit's drawing routines.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "dropdown/AdvWatch.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Gdi.h"
#include "render/GDIPicture.h"

using namespace gdiplus;

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// Corner radius of the rounded face.
constexpr float kFaceCorner = 8;

ARGB Opaque(TColor c) { return ArgbFromColor(c); }

// The colour at alpha 80, as the hands' shadows are drawn.
ARGB Shadow(TColor c) { return (ArgbFromColor(c) & 0x00FFFFFF) | (ARGB(80) << 24); }

int RoundInt(double v) { return static_cast<int>(Round(v)); }

}  // namespace

// ---- Geometry ---------------------------------------------------------------------------------

int TAdvWatch::FaceSide() {
    int w = ClientWidth(), h = ClientHeight();
    int size = FAppearance->Size();
    return size > 0 ? std::min({size, w, h}) : std::min(w, h) - 20;
}

TRect TAdvWatch::GetFaceRect() {
    int w = ClientWidth(), h = ClientHeight();
    int s = FaceSide();
    int left = (w - s) / 2, top = (h - s) / 2;
    return TRect(left, top, left + s, top + s);
}

TPoint TAdvWatch::GetCenter() {
    TRect r = GetFaceRect();
    return TPoint(r.Left + (r.Right - r.Left) / 2, r.Top + (r.Bottom - r.Top) / 2);
}

double TAdvWatch::GetRadius() {
    TRect r = GetFaceRect();
    return (r.Right - r.Left) / 2;
}

TRect TAdvWatch::GetAMPMRect() {
    if (!FShowAMPM) return TRect(-1, -1, -1, -1);
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(FAppearance->AMPMFont());
    TRect text(0, 0, 200, 200);
    DrawText(canvas->Handle(), String("AM"), -1, &text, DT_CALCRECT);
    int tw = text.Width(), th = text.Height();
    TPoint c = GetCenter();
    int left = c.X - (tw + 8) / 2;
    int top = c.Y + RoundInt((GetRadius() - th) / 3);
    return TRect(left, top, left + tw + 8, top + th);
}

// ---- Painting ---------------------------------------------------------------------------------

void TAdvWatch::Paint() {
    TCustomControl::Paint();
    PaintAll();
}

void TAdvWatch::PaintAll() {
    if (!HandleAllocated()) return;
    // The AM/PM box drawn below shows the running half of the day.
    FollowRunningHour();
    TRect client = ClientRect();
    TCanvas* canvas = Canvas();
    FBKGCache->SetSize(client.Width(), client.Height());
    FBKGCache->Canvas()->CopyRect(client, canvas, client);
    // A face of no size draws the background alone.
    const bool face = FaceSide() > 0;
    if (face) {
        TGPGraphics g(FBKGCache->Canvas()->Handle());
        g.SetSmoothingMode(SmoothingModeAntiAlias);
        DrawFace(&g, client);
        DrawTickMarks(&g);
        DrawNumbers(FBKGCache->Canvas());
        DrawAMPM(FBKGCache->Canvas());
    }
    FCacheValid = true;
    canvas->Draw(0, 0, FBKGCache.get());
    if (face) {
        TGPGraphics g(canvas->Handle());
        g.SetSmoothingMode(SmoothingModeAntiAlias);
        DrawHands(&g);
    }
}

void TAdvWatch::RepaintHands() {
    TRect client = ClientRect();
    if (!HandleAllocated() || !FCacheValid || FBKGCache->Width() != client.Width() ||
        FBKGCache->Height() != client.Height()) {
        // Nothing painted to reuse yet: the next paint draws it all.
        Invalidate();
        return;
    }
    // Before the copy: a new half of the day repaints the cache first.
    FollowRunningHour();
    TBitmap frame;
    frame.SetSize(client.Width(), client.Height());
    frame.Canvas()->Draw(0, 0, FBKGCache.get());
    if (FaceSide() > 0) {
        TGPGraphics g(frame.Canvas()->Handle());
        g.SetSmoothingMode(SmoothingModeAntiAlias);
        DrawHands(&g);
    }
    Canvas()->Draw(0, 0, &frame);
}

void TAdvWatch::DrawFace(TGPGraphics* g, const TRect& client) {
    TWatchAppearance* a = FAppearance.get();
    const float L = static_cast<float>(client.Left), T = static_cast<float>(client.Top);
    const float w = static_cast<float>(client.Width()), h = static_cast<float>(client.Height());
    TColor c1 = a->BackgroundColor();
    TColor c2 = a->BackgroundColorTo() == clNone ? c1 : a->BackgroundColorTo();
    TPoint c = GetCenter();
    const float R = static_cast<float>(GetRadius());
    const float cx = static_cast<float>(c.X), cy = static_cast<float>(c.Y);
    const TWatchShape shape = a->Shape();

    TGraphic* picture = a->Picture()->Graphic();
    if (picture && !picture->Empty()) {
        advwatch::DrawWatchPicture(g, nullptr, client, true, true, picture);
    } else if (a->BackgroundGradient() != wgRadial) {
        LinearGradientMode mode = a->BackgroundGradient() == wgVertical          ? LinearGradientModeVertical
                                  : a->BackgroundGradient() == wgDiagonalForward ? LinearGradientModeForwardDiagonal
                                                                                 : LinearGradientModeBackwardDiagonal;
        TGPLinearGradientBrush brush(MakeGPRectF(L, T, w, h), Opaque(c1), Opaque(c2), mode);
        if (shape == wsCircle)
            g->FillEllipse(&brush, cx - R, cy - R, 2 * R, 2 * R);
        else if (shape == wsRect)
            g->FillRectangle(&brush, L, T, w, h);
        else
            advwatch::FillRoundRectangle(g, &brush, L, T, w, h, kFaceCorner);
    } else {
        std::unique_ptr<TGPGraphicsPath> path;
        if (shape == wsCircle) {
            path = std::make_unique<TGPGraphicsPath>();
            path->AddEllipse(cx - R, cy - R, 2 * R, 2 * R);
        } else if (shape == wsRect) {
            path = advwatch::CreateRectPath(L, T, w, h);
        } else {
            path = advwatch::CreateRoundRectPath(L, T, w, h, kFaceCorner);
        }
        TGPPathGradientBrush brush(path.get());
        brush.SetCenterColor(Opaque(c1));
        brush.SetCenterPoint(MakeGPPoint(c.X, c.Y));
        ARGB surround = Opaque(c2);
        int count = 1;
        brush.SetSurroundColors(&surround, count);
        if (shape == wsCircle)
            g->FillEllipse(&brush, cx - R, cy - R, 2 * R, 2 * R);
        else
            g->FillPath(&brush, path.get());
    }

    if (a->BorderWidth() >= 1) {
        TGPPen pen(Opaque(a->BorderColor()), static_cast<float>(a->BorderWidth()));
        if (shape == wsCircle)
            g->DrawEllipse(&pen, cx - R, cy - R, 2 * R, 2 * R);
        else if (shape == wsRect)
            g->DrawRectangle(&pen, L, T, w - 1, h - 1);
        else
            advwatch::DrawRoundRectangle(g, &pen, L, T, w - 1, h - 1, kFaceCorner);
    }
}

void TAdvWatch::DrawTickMarks(TGPGraphics* g) {
    TWatchAppearance* a = FAppearance.get();
    const TTickMarks marks = a->TickMarks();
    if (marks == tmNone) return;
    TPoint c = GetCenter();
    const double r0 = GetRadius() - a->BorderWidth() / 2;
    // Tick angles run clockwise from 3 o'clock.
    auto tick = [&](const TGPPen& pen, double ri, double degrees, double dx, double dy) {
        double co = std::cos(degrees * kDegree), si = std::sin(degrees * kDegree);
        g->DrawLine(&pen, static_cast<float>(c.X + ri * co + dx), static_cast<float>(c.Y + ri * si + dy),
                    static_cast<float>(c.X + r0 * co + dx), static_cast<float>(c.Y + r0 * si + dy));
    };

    TGPPen hourPen(Opaque(a->HourColor()), a->HourMarkWidth());
    const double hourIn = a->HourMarkLength() ? r0 - a->HourMarkLength() : 0.9 * r0;
    for (int quarter = 0; quarter < 360; quarter += 90) {
        if (a->HourMarkStyle() == hmsQuartDblLine) {
            // Two lines 4 pixels apart, across the tick.
            bool horizontal = quarter == 0 || quarter == 180;
            tick(hourPen, hourIn, quarter, horizontal ? 0 : -2, horizontal ? -2 : 0);
            tick(hourPen, hourIn, quarter, horizontal ? 0 : 2, horizontal ? 2 : 0);
        } else {
            tick(hourPen, hourIn, quarter, 0, 0);
        }
    }
    if (marks == tmAll || marks == tmHours)
        for (int degrees = 30; degrees < 360; degrees += 30)
            if (degrees % 90) tick(hourPen, hourIn, degrees, 0, 0);
    if (marks == tmAll) {
        TGPPen minutePen(Opaque(a->MinuteColor()), a->MinuteMarkWidth());
        const double minuteIn = a->MinuteMarkLength() ? r0 - a->MinuteMarkLength() : 0.95 * r0;
        for (int degrees = 6; degrees < 360; degrees += 6)
            if (degrees % 30) tick(minutePen, minuteIn, degrees, 0, 0);
    }
}

void TAdvWatch::DrawNumbers(TCanvas* canvas) {
    TWatchAppearance* a = FAppearance.get();
    if (!canvas || !FShowNumbers || a->TickMarks() == tmNone || a->TickMarks() == tmHours) return;
    TPoint c = GetCenter();
    const double r0 = GetRadius() - a->BorderWidth() / 2;
    TCanvas* own = Canvas();
    canvas->Font()->Assign(a->HourFont());
    own->Font()->Assign(a->HourFont());
    const int L = a->HourMarkLength() ? a->HourMarkLength() : RoundInt(r0 - 0.9 * r0) + 2;
    const double rn = r0 - 2 * L - 2;
    const int half = L / 2;
    canvas->Brush()->SetStyle(bsClear);
    for (int i = 1; i <= 12; ++i) {
        if (a->TickMarks() == tmQuartHours && i % 3) continue;
        // Number angles run clockwise from 12 o'clock.
        const double angle = i * 30 * kDegree;
        const String text = IntToStr(i);
        const TSize extent = own->TextExtent(text);
        const int e = i == 10 ? RoundInt(0.2 * extent.cy) : i == 11 ? RoundInt(0.15 * extent.cy) : 0;
        const double d = rn - e + half;
        const int x0 = RoundInt(std::sin(angle) * d) + c.X + 1;
        const int y0 = c.Y + 1 - RoundInt(std::cos(angle) * d);
        const TRect box(x0 - half, y0 - half, x0 + half, y0 + half);
        canvas->TextOut(box.Right - (box.Right - box.Left) / 2 - extent.cx / 2 - 1,
                        box.Bottom - (box.Bottom - box.Top) / 2 - extent.cy / 2 - 1, text);
    }
}

void TAdvWatch::DrawAMPM(TCanvas* canvas) {
    TWatchAppearance* a = FAppearance.get();
    if (!canvas || !FShowAMPM) return;
    const TRect box = GetAMPMRect();
    const String text = FAM ? String("AM") : String("PM");
    if (a->AMPMColor() == clNone) {
        canvas->Brush()->SetStyle(bsClear);
    } else {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(a->AMPMColor());
    }
    canvas->Pen()->SetStyle(a->AMPMBorderColor() == clNone ? psClear : psSolid);
    canvas->Pen()->SetColor(a->AMPMBorderColor());
    canvas->Pen()->SetWidth(1);
    if (a->AMPMColor() != clNone || a->AMPMBorderColor() != clNone) {
        if (a->AMPMFrame() == apRect)
            canvas->Rectangle(box);
        else
            canvas->RoundRect(box.Left, box.Top, box.Right, box.Bottom, 5, 5);
    }
    canvas->Brush()->SetStyle(bsClear);
    advwatch::DrawWatchText(canvas, nullptr, advwatch::taCenterText, box, text, a->AMPMFont(), true, true,
                            advwatch::trAntiAlias);
}

void TAdvWatch::DrawHands(TGPGraphics* g) {
    if (!g) return;
    TWatchAppearance* a = FAppearance.get();
    WORD h, m, s, ms;
    DecodeTime(GetCurrentTime(), h, m, s, ms);
    FollowRunningHour();
    h %= 12;
    const double hourAngle = h * 30 + m / 12.0 * 6, minuteAngle = m * 6, secondAngle = s * 6;
    TPoint c = GetCenter();
    const double R = GetRadius();
    // A point at distance d (in radii) along the angle, clockwise from 12 o'clock.
    auto at = [&](double degrees, double d, double dx = 0, double dy = 0) {
        return TGPPointF{static_cast<float>(c.X + d * R * std::sin(degrees * kDegree) + dx),
                         static_cast<float>(c.Y - d * R * std::cos(degrees * kDegree) + dy)};
    };
    // One hand as a line from the tail (behind the centre) to the tip; arrow: with an arrow
    // head at the tip.
    auto line = [&](ARGB colour, float width, double degrees, double tail, double tip, double dx, double dy,
                    bool arrow) {
        TGPPen pen(colour, width);
        if (arrow) pen.SetEndCap(LineCapArrowAnchor);
        TGPPointF from = at(degrees, -tail, dx, dy), to = at(degrees, tip, dx, dy);
        g->DrawLine(&pen, from.X, from.Y, to.X, to.Y);
    };
    auto pointer = [&](ARGB colour, double degrees, double tip, double dx, double dy) {
        TGPPointF points[4] = {at(degrees, -0.1, dx, dy), at(degrees + 90, -0.05, dx, dy), at(degrees, tip, dx, dy),
                               at(degrees - 90, -0.05, dx, dy)};
        TGPSolidBrush brush(colour);
        g->FillPolygon(&brush, points, 4);
    };
    const float hourWidth = a->HourPointerSize(), minuteWidth = a->MinutePointerSize();
    const bool hourShadow = a->HourPointerShadow() != clNone, minuteShadow = a->MinutePointerShadow() != clNone;
    switch (a->PointerStyle()) {
        case psLine:
        case psLineArrow: {
            // psLineArrow: the line hands with an arrow head at the tip.
            const bool arrow = a->PointerStyle() == psLineArrow;
            if (hourShadow) line(Shadow(a->HourPointerShadow()), hourWidth, hourAngle, 0.1, 0.46, -1, 3, arrow);
            line(Opaque(a->HourPointer()), hourWidth, hourAngle, 0.1, 0.5, 0, 0, arrow);
            if (minuteShadow) line(Shadow(a->MinutePointerShadow()), minuteWidth, minuteAngle, 0.1, 0.65, 0, 3, arrow);
            line(Opaque(a->MinutePointer()), minuteWidth, minuteAngle, 0.1, 0.7, 0, 0, arrow);
            break;
        }
        case psShortLine:
            // Stubby hands from the centre, twice as wide, without tails: the hour hand to 0.35 R,
            // the minute hand to 0.5 R, their shadows as the line hands' are.
            if (hourShadow) line(Shadow(a->HourPointerShadow()), 2 * hourWidth, hourAngle, 0, 0.32, -1, 3, false);
            line(Opaque(a->HourPointer()), 2 * hourWidth, hourAngle, 0, 0.35, 0, 0, false);
            if (minuteShadow) line(Shadow(a->MinutePointerShadow()), 2 * minuteWidth, minuteAngle, 0, 0.47, 0, 3, false);
            line(Opaque(a->MinutePointer()), 2 * minuteWidth, minuteAngle, 0, 0.5, 0, 0, false);
            break;
        case psPointer:
            if (hourShadow) pointer(Shadow(a->HourPointerShadow()), hourAngle, 0.5, 1, 3);
            pointer(Opaque(a->HourPointer()), hourAngle, 0.5, 0, 0);
            if (minuteShadow) pointer(Shadow(a->MinutePointerShadow()), minuteAngle, 0.7, 1, 3);
            pointer(Opaque(a->MinutePointer()), minuteAngle, 0.7, 0, 0);
            break;
    }
    if (FSettings->Auto() && FSettings->Second())
        line(Opaque(a->SecondPointer()), a->SecondPointerSize(), secondAngle, 0.2, 0.9, 0, 0, false);

    const int size = a->CenterPointSize();
    if (size > 0) {
        const float sz = static_cast<float>(size);
        const float cx = static_cast<float>(c.X), cy = static_cast<float>(c.Y);
        if (a->CenterPointColor() != clNone) {
            TGPSolidBrush brush(Opaque(a->CenterPointColor()));
            g->FillEllipse(&brush, cx - sz / 2, cy - sz / 2, sz, sz);
        }
        int outer = 0;
        if (a->CenterPointOuterBorderColor() != clNone) {
            outer = RoundInt(0.2 * size);
            TGPPen pen(Opaque(a->CenterPointOuterBorderColor()), static_cast<float>(outer));
            g->DrawEllipse(&pen, cx - sz / 2, cy - sz / 2, sz, sz);
        }
        if (a->CenterPointBorderColor() != clNone) {
            const float inner = static_cast<float>(size - outer);
            TGPPen pen(Opaque(a->CenterPointBorderColor()), static_cast<float>(RoundInt(0.1 * size)));
            g->DrawEllipse(&pen, cx - inner / 2, cy - inner / 2, inner, inner);
        }
    }
}

// ---- The unit's drawing routines --------------------------------------------------------------

namespace advwatch {

TRect DrawWatchText(TCanvas* canvas, TGPGraphics* g, TTextAlign align, const TRect& r, const String& text,
                    TFont* font, bool enabled, bool draw, TTextRendering rendering) {
    if ((!g && !canvas) || text.IsEmpty() || !font) return TRect();
    if (rendering == trPlatform && canvas) {
        canvas->Font()->Assign(font);
        if (!enabled) canvas->Font()->SetColor(clGray);
        UINT format = DT_SINGLELINE | DT_VCENTER | (align == taRightText ? DT_RIGHT : align == taCenterText ? DT_CENTER : DT_LEFT);
        TRect bounds = r;
        DrawText(canvas->Handle(), text, -1, &bounds, format | DT_CALCRECT);
        if (draw) {
            TRect target = r;
            canvas->Brush()->SetStyle(bsClear);
            DrawText(canvas->Handle(), text, -1, &target, format);
        }
        return bounds;
    }
    std::unique_ptr<TGPGraphics> own;
    if (!g) {
        own = std::make_unique<TGPGraphics>(canvas->Handle());
        own->SetSmoothingMode(SmoothingModeAntiAlias);
        g = own.get();
    }
    // A family GDI+ does not have, or not in this style, falls back to "Arial".
    std::unique_ptr<TGPFont> gpFont = g->MakeFont(font);
    TGPStringFormat format;
    format.SetAlignment(align == taRightText    ? StringAlignmentFar
                        : align == taCenterText ? StringAlignmentCenter
                                                : StringAlignmentNear);
    format.SetLineAlignment(StringAlignmentNear);
    format.SetHotkeyPrefix(HotkeyPrefixShow);
    format.SetTrimming(StringTrimmingNone);
    g->SetTextRenderingHint(rendering == trClearType ? TextRenderingHintClearTypeGridFit : TextRenderingHintAntiAlias);
    const TGPRectF layout = MakeGPRectF(static_cast<float>(r.Left), static_cast<float>(r.Top),
                                        static_cast<float>(r.Width()), static_cast<float>(r.Height()));
    TGPRectF box;
    g->MeasureString(text, text.Length(), gpFont.get(), layout, &format, box);
    const TRect bounds(RoundInt(box.X), RoundInt(box.Y), RoundInt(box.X + box.Width), RoundInt(box.Y + box.Height));
    if (draw) {
        TGPSolidBrush brush(Opaque(enabled ? font->Color() : clGray));
        g->DrawString(text, text.Length(), gpFont.get(), layout, &format, &brush);
    }
    return bounds;
}

std::unique_ptr<TGPGraphicsPath> CreateRoundRectPath(float X, float Y, float Width, float Height, float r) {
    auto path = std::make_unique<TGPGraphicsPath>();
    const float d = 2 * r;
    path->AddLine(X + r, Y, X + Width - r, Y);
    path->AddArc(X + Width - d, Y, d, d, 270, 90);
    path->AddLine(X + Width, Y + r, X + Width, Y + Height - r);
    path->AddArc(X + Width - d, Y + Height - d, d, d, 0, 90);
    path->AddLine(X + Width - r, Y + Height, X + r, Y + Height);
    path->AddArc(X, Y + Height - d, d, d, 90, 90);
    path->AddLine(X, Y + Height - r, X, Y + r);
    path->AddArc(X, Y, d, d, 180, 90);
    path->CloseFigure();
    return path;
}

std::unique_ptr<TGPGraphicsPath> CreateRectPath(float X, float Y, float Width, float Height) {
    auto path = std::make_unique<TGPGraphicsPath>();
    path->AddLine(X, Y, X + Width, Y);
    path->AddLine(X + Width, Y, X + Width, Y + Height);
    path->AddLine(X + Width, Y + Height, X, Y + Height);
    path->AddLine(X, Y + Height, X, Y);
    path->CloseFigure();
    return path;
}

void DrawRoundRectangle(TGPGraphics* g, const TGPPen* pen, float X, float Y, float Width, float Height, float r) {
    std::unique_ptr<TGPGraphicsPath> path = CreateRoundRectPath(X, Y, Width, Height, r);
    g->DrawPath(pen, path.get());
}

void FillRoundRectangle(TGPGraphics* g, const TGPBrush* brush, float X, float Y, float Width, float Height, float r) {
    std::unique_ptr<TGPGraphicsPath> path = CreateRoundRectPath(X, Y, Width, Height, r);
    g->FillPath(brush, path.get());
}

void DrawWatchPicture(TGPGraphics* g, TCanvas* canvas, const TRect& r, bool transparent, bool stretch,
                      TGraphic* graphic) {
    if (!graphic || (!g && !canvas)) return;
    TMemoryStream bytes;
    graphic->SaveToStream(&bytes);
    ComPtr<IStream> stream = StreamOnGlobalCopy(bytes.Memory(), static_cast<size_t>(bytes.Size()));
    TGPBitmap image(stream.Get());
    std::unique_ptr<TGPGraphics> own;
    if (!g) {
        own = std::make_unique<TGPGraphics>(canvas->Handle());
        g = own.get();
    }
    if (transparent && image.GetFormat() != ifPNG) {
        ARGB key = 0;
        image.GetPixel(0, 0, key);
        key |= 0xFF000000;
        TGPImageAttributes attributes;
        attributes.SetColorKey(key, key);
        const float w = static_cast<float>(image.GetWidth()), h = static_cast<float>(image.GetHeight());
        const TGPRectF dest = stretch ? MakeGPRectF(static_cast<float>(r.Left), static_cast<float>(r.Top),
                                                    static_cast<float>(r.Width()), static_cast<float>(r.Height()))
                                      : MakeGPRectF(static_cast<float>(r.Left), static_cast<float>(r.Top), w, h);
        g->DrawImage(&image, dest, 0, 0, w, h, UnitPixel, &attributes);
    } else {
        g->DrawImage(&image, r.Left, r.Top);
    }
}

bool IsPointInEllipse(const TPoint& p, const TRect& r) {
    HRGN region = CreateEllipticRgn(r.Left, r.Top, r.Right, r.Bottom);
    bool inside = region && PtInRegion(region, p.X, p.Y);
    if (region) DeleteObject(region);
    return inside;
}

}  // namespace advwatch
