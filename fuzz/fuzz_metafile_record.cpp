// Metafiles recorded from any script of drawing calls on a metafile canvas (pens, brushes, fonts,
// shapes, text, bitmaps, clips, coordinates near and past the older format's 16 bits): written as
// EMF and read back to the same records, size and pixels; written as WMF and read back the same
// wherever that format holds the recording; and that WMF written as EMF again the same.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/GraphicsFuzz.h"

namespace {

int Coord(FuzzedDataProvider& in) {
    // Mostly on the picture; now and then far off it, or at the edges of 16 bits.
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
        case 0: return in.ConsumeIntegralInRange<int>(-40000, 40000);
        case 1: return in.PickValueInArray({-32768, -32767, 32766, 32767, 32768});
        default: return in.ConsumeIntegralInRange<int>(-8, 72);
    }
}

TColor Color(FuzzedDataProvider& in) {
    static const TColor colors[] = {clBlack, clWhite, clRed, clLime, clBlue, clYellow, clFuchsia, clNavy, clBtnFace};
    return in.ConsumeBool() ? in.PickValueInArray(colors) : static_cast<TColor>(in.ConsumeIntegral<uint32_t>() & 0xFFFFFF);
}

String Text(FuzzedDataProvider& in) {
    // Latin, half-width and full-width Japanese, and characters CP932 lacks.
    static const char16_t alphabet[] = u"Aa1 -.ｱﾝﾃﾅ受信レベル€éŋ\u00A5\uFFFD";
    String s;
    const size_t n = in.ConsumeIntegralInRange<size_t>(0, 40);
    for (size_t i = 0; i < n; ++i) s.push_back(alphabet[in.ConsumeIntegralInRange<size_t>(0, std::size(alphabet) - 2)]);
    return s;
}

void Record(TCanvas& c, FuzzedDataProvider& in) {
    static const char* const fonts[] = {"Arial", "MS Gothic", "Courier New", "ＭＳ Ｐゴシック", "Name of a font that is long"};
    TBitmap glyph(3, 2, pf24bit);
    HDC dc = c.Handle();
    int saved = 0;
    for (int steps = 0; steps < 64 && in.remaining_bytes() > 0; ++steps) {
        switch (in.ConsumeIntegralInRange<int>(0, 19)) {
            case 0:
                c.Pen()->SetColor(Color(in));
                c.Pen()->SetWidth(in.ConsumeIntegralInRange<int>(0, 12));
                c.Pen()->SetStyle(static_cast<TPenStyle>(in.ConsumeIntegralInRange<int>(0, 6)));
                c.Pen()->SetMode(static_cast<TPenMode>(in.ConsumeIntegralInRange<int>(0, 15)));
                break;
            case 1:
                c.Brush()->SetColor(Color(in));
                c.Brush()->SetStyle(static_cast<TBrushStyle>(in.ConsumeIntegralInRange<int>(0, 7)));
                break;
            case 2: {
                c.Font()->SetName(in.PickValueInArray(fonts));
                c.Font()->SetHeight(in.ConsumeIntegralInRange<int>(-40, 40));
                c.Font()->SetColor(Color(in));
                TFontStyles styles;
                const int bits = in.ConsumeIntegralInRange<int>(0, 15);
                for (int s = 0; s < 4; ++s)
                    if (bits & (1 << s)) styles << static_cast<TFontStyle>(s);
                c.Font()->SetStyle(styles);
                break;
            }
            case 3: c.MoveTo(Coord(in), Coord(in)); break;
            case 4: c.LineTo(Coord(in), Coord(in)); break;
            case 5:
            case 6: {
                std::vector<TPoint> pts(in.ConsumeIntegralInRange<size_t>(0, 8));
                for (TPoint& p : pts) p = TPoint(Coord(in), Coord(in));
                if (in.ConsumeBool()) c.Polyline(pts);
                else c.Polygon(pts);
                break;
            }
            case 7: c.Rectangle(Coord(in), Coord(in), Coord(in), Coord(in)); break;
            case 8: c.Ellipse(Coord(in), Coord(in), Coord(in), Coord(in)); break;
            case 9: c.RoundRect(Coord(in), Coord(in), Coord(in), Coord(in), Coord(in), Coord(in)); break;
            case 10: {
                int v[8];
                for (int& x : v) x = Coord(in);
                const int which = in.ConsumeIntegralInRange<int>(0, 2);
                if (which == 0) c.Arc(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
                else if (which == 1) c.Chord(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
                else c.Pie(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
                break;
            }
            case 11: c.TextOut(Coord(in), Coord(in), Text(in)); break;
            case 12: c.TextRect(Rect(Coord(in), Coord(in), Coord(in), Coord(in)), Coord(in), Coord(in), Text(in)); break;
            case 13:
                if (in.ConsumeBool()) c.FillRect(Rect(Coord(in), Coord(in), Coord(in), Coord(in)));
                else c.FrameRect(Rect(Coord(in), Coord(in), Coord(in), Coord(in)));
                break;
            case 14: c.SetPixels(Coord(in), Coord(in), Color(in)); break;
            case 15:
                for (int y = 0; y < 2; ++y)
                    for (int x = 0; x < 3; ++x) glyph.Canvas()->SetPixels(x, y, Color(in));
                if (in.ConsumeBool()) c.Draw(Coord(in), Coord(in), &glyph);
                else c.StretchDraw(Rect(Coord(in), Coord(in), Coord(in), Coord(in)), &glyph);
                break;
            case 16:
                if (saved == 0) saved = SaveDC(dc);
                IntersectClipRect(dc, Coord(in), Coord(in), Coord(in), Coord(in));
                break;
            case 17: {
                // A region of two rectangles.
                HRGN a = CreateRectRgn(Coord(in), Coord(in), Coord(in), Coord(in));
                HRGN b = CreateRectRgn(Coord(in), Coord(in), Coord(in), Coord(in));
                CombineRgn(a, a, b, RGN_OR);
                SelectClipRgn(dc, a);
                DeleteObject(a);
                DeleteObject(b);
                break;
            }
            case 18:
                if (saved) RestoreDC(dc, saved);
                saved = 0;
                break;
            default:
                SetTextAlign(dc, in.PickValueInArray({TA_LEFT | TA_TOP, TA_RIGHT | TA_BOTTOM, TA_CENTER | TA_BASELINE}));
                SetBkMode(dc, in.ConsumeBool() ? TRANSPARENT : OPAQUE);
                break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Target();
    FuzzedDataProvider in(data, size);
    TMetafile mf;
    mf.SetWidth(64);
    mf.SetHeight(48);
    {
        TMetafileCanvas canvas(&mf);
        Record(canvas, in);
    }
    if (mf.Ops().empty()) return 0;
    fuzzing::DrawAll(mf);
    fuzzing::CheckSameFormat(mf);
    fuzzing::CheckOtherFormat(mf);
    TMetafile wmf;
    fuzzing::LoadWritten(wmf, mf.WmfBytes());
    fuzzing::CheckOtherFormat(wmf);
    return 0;
}
