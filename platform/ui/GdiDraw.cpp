// The drawing calls on a canvas handle: text and its metrics, lines and shapes, pixels, the
// bit-block transfers and the brush fills. Each goes through the canvas behind the handle.
#include <algorithm>
#include <cstdint>

#include "platform/ui/GdiObjects.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/backend/Canvas.h"
#include "platform/ui/backend/CanvasLog.h"
#include "platform/ui/backend/Fonts.h"

using ui::HeldCoord;

namespace {
// Whether a raster operation reads its source.
bool RopUsesSource(uint8_t rop) { return ((rop >> 2) & 0x33) != (rop & 0x33); }
}  // namespace

BOOL GetTextMetrics(HDC dc, TEXTMETRIC* tm) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !tm) return FALSE_;
    const ui::FontMetrics& m = c->Face().Metrics();
    // In logical units: heights along y, widths along x.
    auto height = [c](int v) { return c->LogicalSize(TSize(0, v)).cy; };
    auto width = [c](int v) { return c->LogicalSize(TSize(v, 0)).cx; };
    *tm = TEXTMETRIC();
    tm->tmAscent = height(m.ascent);
    tm->tmDescent = height(m.descent);
    tm->tmHeight = height(m.ascent + m.descent);
    tm->tmInternalLeading = height(std::max(0, m.ascent + m.descent - m.pixelSize));
    tm->tmExternalLeading = height(std::max(0, m.leading));
    tm->tmAveCharWidth = width(m.averageWidth);
    tm->tmMaxCharWidth = width(m.maxWidth);
    tm->tmWeight = m.bold ? 700 : 400;
    tm->tmItalic = m.italic ? 1 : 0;
    tm->tmUnderlined = m.underline ? 1 : 0;
    tm->tmStruckOut = m.strikeOut ? 1 : 0;
    tm->tmCharSet = c->Font()->Charset();
    tm->tmPitchAndFamily = c->Font()->Pitch() == fpFixed ? 0 : 1;  // the platform's bit means variable
    return TRUE_;
}

BOOL GetTextExtentPoint32(HDC dc, const String& text, int count, TSize* size) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !size || count < 0) return FALSE_;
    *size = c->TextExtent(text.substr(0, static_cast<size_t>(count)));
    return TRUE_;
}

BOOL TextOut(HDC dc, int x, int y, const String& text, int count) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || count < 0) return FALSE_;
    c->Sync();
    c->ExtTextOutImpl(x, y, text.substr(0, static_cast<size_t>(count)), nullptr, nullptr);
    return TRUE_;
}

BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const TRect* rect, const String& text, int count,
                const int* dx) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || count < 0) return FALSE_;
    c->Sync();
    const TRect* clip = (options & ETO_CLIPPED) && rect ? rect : nullptr;
    const TRect* opaque = (options & ETO_OPAQUE) && rect ? rect : nullptr;
    String s = text.substr(0, static_cast<size_t>(count));
    if (!dx) {
        c->ExtTextOutImpl(x, y, s, clip, opaque);
        return TRUE_;
    }
    // Explicit advances: each character at its own place.
    if (opaque) c->FillSolid(*opaque, static_cast<TColor>(c->Dc().state.bkColor));
    int64_t px = x;
    for (size_t i = 0; i < s.size(); ++i) {
        c->ExtTextOutImpl(HeldCoord(px), y, String(s.substr(i, 1)), clip, nullptr);
        px += dx[i];
    }
    return TRUE_;
}

BOOL MoveToEx(HDC dc, int x, int y, TPoint* previous) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    if (previous) *previous = c->PenPos();
    c->MoveTo(x, y);
    return TRUE_;
}
BOOL LineTo(HDC dc, int x, int y) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    c->LineTo(x, y);
    return TRUE_;
}
BOOL Rectangle(HDC dc, int l, int t, int r, int b) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    c->Rectangle(l, t, r, b);
    return TRUE_;
}
BOOL Ellipse(HDC dc, int l, int t, int r, int b) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    c->Ellipse(l, t, r, b);
    return TRUE_;
}
BOOL Polyline(HDC dc, const TPoint* points, int count) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    c->Polyline(points, count);
    return TRUE_;
}
BOOL Polygon(HDC dc, const TPoint* points, int count) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    c->Polygon(points, count);
    return TRUE_;
}
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return CLR_INVALID;
    c->SetPixels(x, y, static_cast<TColor>(color));
    return static_cast<COLORREF>(c->Pixels(x, y));
}
COLORREF GetPixel(HDC dc, int x, int y) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return CLR_INVALID;
    return static_cast<COLORREF>(c->Pixels(x, y));
}

// Transfers ------------------------------------------------------------------------------------

BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop) {
    TCanvas* d = TCanvas::FromHandle(dst);
    if (!d) return FALSE_;
    bool usesSource = RopUsesSource(static_cast<uint8_t>(rop >> 16));
    TCanvas* s = usesSource ? TCanvas::FromHandle(src) : nullptr;
    if (usesSource && !s) return FALSE_;
    return d->StretchBltImpl(x, y, w, h, s, sx, sy, sw, sh, rop) ? TRUE_ : FALSE_;
}

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
    return StretchBlt(dst, x, y, w, h, src, sx, sy, w, h, rop);
}

BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || RopUsesSource(static_cast<uint8_t>(rop >> 16))) return FALSE_;
    return c->StretchBltImpl(x, y, w, h, nullptr, 0, 0, 0, 0, rop) ? TRUE_ : FALSE_;
}

BOOL InvertRect(HDC dc, const TRect* rect) {
    if (!rect) return FALSE_;
    int l = HeldCoord(rect->Left), t = HeldCoord(rect->Top);  // held, so that the size fits an int
    return PatBlt(dc, l, t, HeldCoord(rect->Right) - l, HeldCoord(rect->Bottom) - t, DSTINVERT);
}

BOOL DrawFocusRect(HDC dc, const TRect* rect) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !rect) return FALSE_;
    c->DrawFocusRect(*rect);
    return TRUE_;
}

// Brush fills ------------------------------------------------------------------------------------

int FillRect(HDC dc, const TRect* rect, HBRUSH brush) {
    TCanvas* c = TCanvas::FromHandle(dc);
    TColor color;
    if (!c || !rect || !ui::gdi::BrushColor(brush, color)) return 0;
    ui::LoggedCall log(*c, "FillRect", *rect);
    if (ui::DrawCall* e = log.Entry()) e->brushColor = color;
    c->FillSolid(*rect, color);
    return 1;
}

int FrameRect(HDC dc, const TRect* rect, HBRUSH brush) {
    TCanvas* c = TCanvas::FromHandle(dc);
    TColor color;
    if (!c || !rect || !ui::gdi::BrushColor(brush, color)) return 0;
    if (rect->IsEmpty()) return 1;
    const TRect& r = *rect;
    c->FillSolid(TRect(r.Left, r.Top, r.Right, r.Top + 1), color);
    c->FillSolid(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom), color);
    c->FillSolid(TRect(r.Left, r.Top, r.Left + 1, r.Bottom), color);
    c->FillSolid(TRect(r.Right - 1, r.Top, r.Right, r.Bottom), color);
    return 1;
}
