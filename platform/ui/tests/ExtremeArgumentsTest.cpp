// Canvas, region and DrawText calls with coordinates at the ends of the int range: nothing
// overflows (the sanitizer build checks the arithmetic), what lies far outside the surface draws
// nothing, and what covers it fills it.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/Graphics.h"

namespace {

constexpr int kMin = INT_MIN, kMax = INT_MAX;

struct Box {
    const char* name;
    TRect r;
    bool covers;  // holds the whole 64 x 48 surface
};

// Rectangles given as (left, top, right, bottom).
const Box kBoxes[] = {
    {"everything", TRect(kMin, kMin, kMax, kMax), true},
    {"everything, reversed", TRect(kMax, kMax, kMin, kMin), true},
    {"half the range", TRect(kMin / 2, kMin / 2, kMax / 2, kMax / 2), true},
    {"far left and up", TRect(kMin, kMin, kMin + 100, kMin + 100), false},
    {"far right and down", TRect(kMax - 100, kMax - 100, kMax, kMax), false},
    {"from the least to the right", TRect(kMin, kMin, -10, -10), false},
};

int CountColor(TBitmap& b, TColor color) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas()->Pixels(x, y) == color) ++n;
    return n;
}

struct Surface {
    TBitmap bitmap{64, 48, pf24bit};
    TBitmap red{8, 8, pf24bit};
    TCanvas* c = bitmap.Canvas();
    Surface() {
        red.Canvas()->Brush()->SetColor(clRed);
        red.Canvas()->FillRect(Rect(0, 0, 8, 8));
        c->Brush()->SetColor(clRed);
        c->Pen()->SetColor(clRed);
        c->Font()->SetName("DejaVu Sans");
        c->Font()->SetHeight(-12);
        c->Font()->SetColor(clRed);
    }
};

using Op = std::function<void(Surface&, const TRect&)>;
struct Named {
    const char* name;
    Op op;
    bool fills;  // paints every pixel of a covering rectangle red
};

const Named kOps[] = {
    {"Rectangle", [](Surface& s, const TRect& r) { s.c->Rectangle(r); }, true},
    {"Ellipse", [](Surface& s, const TRect& r) { s.c->Ellipse(r); }, true},
    {"RoundRect", [](Surface& s, const TRect& r) { s.c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, kMax, kMin); }, false},
    {"Arc", [](Surface& s, const TRect& r) { s.c->Arc(r.Left, r.Top, r.Right, r.Bottom, kMin, kMax, kMax, kMin); }, false},
    {"Chord", [](Surface& s, const TRect& r) { s.c->Chord(r.Left, r.Top, r.Right, r.Bottom, kMin, 0, kMax, 0); }, false},
    {"Pie", [](Surface& s, const TRect& r) { s.c->Pie(r.Left, r.Top, r.Right, r.Bottom, kMax, kMax, kMin, kMin); }, false},
    {"FillRect", [](Surface& s, const TRect& r) { s.c->FillRect(r); }, false},
    {"FrameRect", [](Surface& s, const TRect& r) { s.c->FrameRect(r); }, false},
    {"DrawFocusRect", [](Surface& s, const TRect& r) { s.c->DrawFocusRect(r); }, false},
    {"FillSolid", [](Surface& s, const TRect& r) { s.c->FillSolid(r, clRed); }, false},
    {"TextRect", [](Surface& s, const TRect& r) { s.c->TextRect(r, r.Left, r.Top, "Wide text"); }, false},
    {"TextOut", [](Surface& s, const TRect& r) { s.c->TextOut(r.Left, r.Top, "Wide text"); }, false},
    {"StretchDraw", [](Surface& s, const TRect& r) { s.c->StretchDraw(r, &s.red); }, true},
    {"CopyRect", [](Surface& s, const TRect& r) { s.c->CopyRect(r, s.red.Canvas(), Rect(0, 0, 8, 8)); }, false},
    {"CopyRect from", [](Surface& s, const TRect& r) { s.c->CopyRect(Rect(0, 0, 64, 48), s.red.Canvas(), r); }, false},
    {"BrushCopy", [](Surface& s, const TRect& r) { s.c->BrushCopy(r, &s.red, Rect(0, 0, 8, 8), clBlue); }, false},
    {"BrushCopy from", [](Surface& s, const TRect& r) { s.c->BrushCopy(Rect(0, 0, 64, 48), &s.red, r, clBlue); }, false},
    {"PatBlt", [](Surface& s, const TRect& r) { PatBlt(s.c->Handle(), r.Left, r.Top, r.Right, r.Bottom, PATCOPY); }, false},
    {"StretchBlt", [](Surface& s, const TRect& r) {
         StretchBlt(s.c->Handle(), r.Left, r.Top, r.Right, r.Bottom, s.red.Canvas()->Handle(), r.Left, r.Top, r.Right,
                    r.Bottom, SRCCOPY);
     }, false},
    {"InvertRect", [](Surface& s, const TRect& r) { InvertRect(s.c->Handle(), &r); }, false},
    {"FillRect (GDI)", [](Surface& s, const TRect& r) { FillRect(s.c->Handle(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); }, false},
    {"FrameRect (GDI)", [](Surface& s, const TRect& r) { FrameRect(s.c->Handle(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); }, false},
    {"Lines", [](Surface& s, const TRect& r) {
         s.c->MoveTo(r.Left, r.Top);
         s.c->LineTo(r.Right, r.Bottom);
         TPoint pts[3] = {{r.Left, r.Bottom}, {r.Right, r.Top}, {r.Left, r.Top}};
         s.c->Polyline(pts, 3);
         s.c->Polygon(pts, 3);
     }, false},
    {"Pixels", [](Surface& s, const TRect& r) {
         s.c->SetPixels(r.Left, r.Top, clRed);
         s.c->Pixels(r.Right, r.Bottom);
         s.c->FloodFill(r.Right, r.Bottom, clRed, fsBorder);
     }, false},
    {"Clip", [](Surface& s, const TRect& r) {
         HDC dc = s.c->Handle();
         int saved = SaveDC(dc);
         IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
         ExcludeClipRect(dc, r.Right, r.Bottom, r.Left, r.Top);
         s.c->ClipRect();
         s.c->FillRect(Rect(0, 0, 64, 48));
         RestoreDC(dc, saved);
     }, false},
    {"Regions", [](Surface& s, const TRect& r) {
         HDC dc = s.c->Handle();
         HRGN a = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
         // Curved regions cost a rectangle a row: these stay small, at the far positions.
         int l2 = r.Left < 0 ? r.Left + 50 : r.Left - 50, t2 = r.Top < 0 ? r.Top + 40 : r.Top - 40;
         HRGN e = CreateEllipticRgn(r.Left, r.Top, l2, t2);
         HRGN rr = CreateRoundRectRgn(r.Left, r.Top, l2, t2, kMax, kMax);
         CombineRgn(a, a, e, RGN_OR);
         CombineRgn(a, a, rr, RGN_XOR);
         OffsetRgn(a, r.Right, r.Bottom);
         TRect box;
         GetRgnBox(a, &box);
         FrameRgn(dc, e, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), kMax, kMax);
         DeleteObject(a);
         DeleteObject(e);
         DeleteObject(rr);
     }, false},
    {"Origins", [](Surface& s, const TRect& r) {
         HDC dc = s.c->Handle();
         int saved = SaveDC(dc);
         SetViewportOrgEx(dc, r.Left, r.Top, nullptr);
         SetWindowOrgEx(dc, r.Right, r.Bottom, nullptr);
         OffsetViewportOrgEx(dc, r.Right, r.Bottom, nullptr);
         s.c->FillRect(Rect(0, 0, 10, 10));
         s.c->Draw(0, 0, &s.red);
         BitBlt(dc, 0, 0, 10, 10, s.red.Canvas()->Handle(), 0, 0, SRCCOPY);
         RestoreDC(dc, saved);
     }, false},
    {"ExtTextOut", [](Surface& s, const TRect& r) {
         int dx[3] = {kMax, kMax, kMin};
         ExtTextOut(s.c->Handle(), r.Left, r.Top, ETO_CLIPPED | ETO_OPAQUE, &r, "abc", 3, dx);
         SetTextAlign(s.c->Handle(), TA_UPDATECP | TA_RIGHT);
         s.c->MoveTo(r.Left, r.Top);
         s.c->TextOut(r.Left, r.Top, "Wide text");
         SetTextAlign(s.c->Handle(), TA_UPDATECP | TA_CENTER | TA_BASELINE);
         s.c->TextOut(r.Right, r.Bottom, "Wide text");
         SetTextAlign(s.c->Handle(), TA_TOP | TA_LEFT);
     }, false},
};

TEST(ExtremeArguments, CanvasCallsNeitherOverflowNorDrawOutsideTheirRectangle) {
    qtb::EnsureApplication();
    for (const Named& op : kOps) {
        for (const Box& box : kBoxes) {
            SCOPED_TRACE(std::string(op.name) + ", " + box.name);
            Surface s;
            op.op(s, box.r);
            // A far rectangle that does not reach the surface leaves it as it was.
            if (!box.covers && box.r.Right < 0) {
                bool regionOp = std::string(op.name) == "Clip" || std::string(op.name) == "Origins" ||
                                std::string(op.name).find("from") != std::string::npos;
                if (!regionOp) {
                    EXPECT_EQ(CountColor(s.bitmap, clWhite), 64 * 48);
                }
            }
            if (box.covers && op.fills) {
                EXPECT_EQ(CountColor(s.bitmap, clRed), 64 * 48);
            }
            // The canvas still draws where it is asked to.
            s.c->Brush()->SetColor(clBlue);
            s.c->FillRect(Rect(1, 1, 3, 3));
            EXPECT_EQ(s.c->Pixels(2, 2), clBlue);
        }
    }
}

TEST(ExtremeArguments, DrawTextKeepsItsResultsInRange) {
    qtb::EnsureApplication();
    const UINT formats[] = {
        DT_LEFT, DT_CENTER | DT_WORDBREAK, DT_RIGHT | DT_END_ELLIPSIS, DT_SINGLELINE | DT_VCENTER | DT_CENTER,
        DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, DT_CALCRECT | DT_WORDBREAK, DT_CALCRECT | DT_SINGLELINE,
        DT_EXPANDTABS | DT_PATH_ELLIPSIS | DT_NOCLIP,
    };
    for (const Box& box : kBoxes) {
        for (UINT f : formats) {
            SCOPED_TRACE(std::string(box.name) + ", format " + std::to_string(f));
            Surface s;
            TRect r = box.r;
            DRAWTEXTPARAMS params{};
            params.cbSize = sizeof params;
            params.iLeftMargin = kMax;
            params.iRightMargin = kMin;
            params.iTabLength = kMax;
            int h = DrawTextEx(s.c->Handle(), "A &long\tline\nand a second one", -1, &r, f, &params);
            EXPECT_NE(h, 0);
            r = box.r;
            h = DrawText(s.c->Handle(), "A &long\tline\nand a second one", -1, &r, f);
            EXPECT_NE(h, 0);
            if (f & DT_CALCRECT) {
                // The measured box starts where it was given and is never inside out.
                EXPECT_EQ(r.Left, box.r.Left);
                EXPECT_EQ(r.Top, box.r.Top);
                EXPECT_GE(r.Right, r.Left);
                EXPECT_GE(r.Bottom, r.Top);
            } else if (!box.covers && box.r.Right < 0) {
                EXPECT_EQ(CountColor(s.bitmap, clWhite), 64 * 48);
            }
        }
    }
}

}  // namespace
