// Playing a metafile back onto a canvas, through the same canvas calls as direct drawing.
#include <map>

#include "platform/ui/MetafileFormat.h"

using namespace metafile;

void TMetafile::Draw(TCanvas* canvas, const TRect& rect) {
    TRect frame = ShownFrame();
    if (FOps.empty() || frame.IsEmpty() || rect.IsEmpty()) return;
    double sx = (static_cast<double>(rect.Right) - rect.Left) / (static_cast<double>(frame.Right) - frame.Left);
    double sy = (static_cast<double>(rect.Bottom) - rect.Top) / (static_cast<double>(frame.Bottom) - frame.Top);
    // Mapped values are held to the canvas's range: a picture scaled up may carry its shapes far
    // beyond it, and the shape arithmetic must not overflow.
    auto Hold = [](double v) {
        return static_cast<int>(std::clamp(std::round(v), -double(kCanvasCoordLimit), double(kCanvasCoordLimit)));
    };
    auto X = [&](int x) { return Hold(rect.Left + (static_cast<double>(x) - frame.Left) * sx); };
    auto Y = [&](int y) { return Hold(rect.Top + (static_cast<double>(y) - frame.Top) * sy); };
    auto P = [&](TPoint p) { return TPoint(X(p.X), Y(p.Y)); };
    auto R = [&](const TRect& r) { return TRect(X(r.Left), Y(r.Top), X(r.Right), Y(r.Bottom)); };

    TPen savedPen;
    TBrush savedBrush;
    TFont savedFont;
    savedPen.Assign(canvas->Pen());
    savedBrush.Assign(canvas->Brush());
    savedFont.Assign(canvas->Font());
    HDC dc = canvas->Handle();
    int saved = SaveDC(dc);
    // Fonts are held to the larger side of what the target shows; a recording target shows nothing
    // itself and takes them as they are.
    int fontLimit = kCanvasCoordLimit;
    if (canvas->Bitmap()) {
        TRect shown;
        GetClipBox(dc, &shown);
        fontLimit = std::max({1, shown.Width(), shown.Height()});
    }
    TPenMode mode = pmCopy;
    COLORREF textColor = 0, bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    std::map<uint32_t, const TMetafileOp*> objects;
    // The target's own clip stays: the picture's clip is intersected with it.
    bool targetClipped = false;
    std::vector<TRect> targetClip = GetClipRegionRects(dc, &targetClipped);
    TPoint vOrg, wOrg;
    GetViewportOrgEx(dc, &vOrg);
    GetWindowOrgEx(dc, &wOrg);
    auto regionOf = [](const std::vector<TRect>& rects) {
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        for (const TRect& q : rects) {
            HRGN part = CreateRectRgnIndirect(&q);
            CombineRgn(rgn, rgn, part, RGN_OR);
            DeleteObject(part);
        }
        return rgn;
    };
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetMode(pmCopy);
    canvas->Brush()->SetColor(clWhite);
    canvas->Brush()->SetStyle(bsSolid);

    static const TBrushStyle hatchStyles[6] = {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross};
    for (const TMetafileOp& op : FOps) {
        switch (op.kind) {
            case TMetafileOp::MoveTo: canvas->MoveTo(X(op.p1.X), Y(op.p1.Y)); break;
            case TMetafileOp::LineTo: canvas->LineTo(X(op.p1.X), Y(op.p1.Y)); break;
            case TMetafileOp::Polyline:
            case TMetafileOp::Polygon: {
                std::vector<TPoint> pts;
                for (const TPoint& p : op.points) pts.push_back(P(p));
                if (op.kind == TMetafileOp::Polyline) canvas->Polyline(pts);
                else canvas->Polygon(pts);
                break;
            }
            case TMetafileOp::Rectangle: canvas->Rectangle(R(op.rect)); break;
            case TMetafileOp::Ellipse: canvas->Ellipse(R(op.rect)); break;
            case TMetafileOp::RoundRect: {
                TRect r = R(op.rect);
                canvas->RoundRect(r.Left, r.Top, r.Right, r.Bottom, Hold(op.p1.X * sx), Hold(op.p1.Y * sy));
                break;
            }
            case TMetafileOp::Arc:
            case TMetafileOp::Chord:
            case TMetafileOp::Pie: {
                TRect r = R(op.rect);
                TPoint a = P(op.p1), b = P(op.p2);
                if (op.kind == TMetafileOp::Arc) canvas->Arc(r.Left, r.Top, r.Right, r.Bottom, a.X, a.Y, b.X, b.Y);
                else if (op.kind == TMetafileOp::Chord) canvas->Chord(r.Left, r.Top, r.Right, r.Bottom, a.X, a.Y, b.X, b.Y);
                else canvas->Pie(r.Left, r.Top, r.Right, r.Bottom, a.X, a.Y, b.X, b.Y);
                break;
            }
            case TMetafileOp::CreatePen:
            case TMetafileOp::CreateBrush:
            case TMetafileOp::CreateFont: objects[op.index] = &op; break;
            case TMetafileOp::Delete: objects.erase(op.index); break;
            case TMetafileOp::Select: {
                auto it = objects.find(op.index);
                if (it == objects.end()) {
                    // Stock objects of other producers: the null pen and brush, white and black.
                    uint32_t stock = op.index & 0x7FFFFFFF;
                    if (!(op.index & 0x80000000)) break;
                    if (stock == 8) canvas->Pen()->SetStyle(psClear);
                    else if (stock == 7) { canvas->Pen()->SetStyle(psSolid); canvas->Pen()->SetColor(clBlack); }
                    else if (stock == 6) { canvas->Pen()->SetStyle(psSolid); canvas->Pen()->SetColor(clWhite); }
                    else if (stock == 5) canvas->Brush()->SetStyle(bsClear);
                    else if (stock == 0) canvas->Brush()->SetColor(clWhite);
                    else if (stock == 4) canvas->Brush()->SetColor(clBlack);
                    break;
                }
                const TMetafileOp& o = *it->second;
                if (o.kind == TMetafileOp::CreatePen) {
                    static const TPenStyle styles[7] = {psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame};
                    canvas->Pen()->SetColor(static_cast<TColor>(o.color & 0xFFFFFF));
                    canvas->Pen()->SetWidth(std::max(1, Hold(o.width * sx)));
                    canvas->Pen()->SetStyle(styles[std::min<uint32_t>(o.style & 0x0F, 6)]);
                } else if (o.kind == TMetafileOp::CreateBrush) {
                    if (o.style == 1) {
                        canvas->Brush()->SetStyle(bsClear);
                    } else {
                        canvas->Brush()->SetColor(static_cast<TColor>(o.color & 0xFFFFFF));
                        canvas->Brush()->SetStyle(o.style == 2 ? hatchStyles[std::min<uint32_t>(o.hatch, 5)] : bsSolid);
                    }
                } else {
                    TFont* f = canvas->Font();
                    f->SetName(o.text.empty() ? String("MS Sans Serif") : o.text);
                    // A glyph taller than the target shows no more of itself than one as tall as
                    // the target, and the file's height has no bound of its own.
                    int height = Hold(o.width * sy);
                    f->SetHeight(std::clamp(height, -fontLimit, fontLimit));
                    TFontStyles st;
                    if (o.weight >= 600) st << fsBold;
                    if (o.italic) st << fsItalic;
                    if (o.underline) st << fsUnderline;
                    if (o.strikeOut) st << fsStrikeOut;
                    f->SetStyle(st);
                    f->SetOrientation(o.orientation);
                    f->SetCharset(o.charset);
                }
                break;
            }
            case TMetafileOp::SetTextColor: textColor = op.color; break;
            case TMetafileOp::SetBkColor: bkColor = op.color; break;
            case TMetafileOp::SetBkMode: bkMode = static_cast<int>(op.style); break;
            case TMetafileOp::SetRop2:
                mode = ModeOfR2(op.style);
                canvas->Pen()->SetMode(mode);
                break;
            case TMetafileOp::SetTextAlign: ::SetTextAlign(dc, op.style); break;
            case TMetafileOp::SetPixel: canvas->SetPixels(X(op.p1.X), Y(op.p1.Y), static_cast<TColor>(op.color & 0xFFFFFF)); break;
            case TMetafileOp::FloodFill:
                canvas->FloodFill(X(op.p1.X), Y(op.p1.Y), static_cast<TColor>(op.color & 0xFFFFFF), op.style ? fsSurface : fsBorder);
                break;
            case TMetafileOp::Text: {
                HDC h = canvas->Handle();
                SetTextColor(h, textColor);
                SetBkColor(h, bkColor);
                SetBkMode(h, bkMode);
                TRect r = R(op.rect);
                canvas->ExtTextOutImpl(X(op.p1.X), Y(op.p1.Y), op.text, (op.style & ETO_CLIPPED) ? &r : nullptr,
                                       (op.style & ETO_OPAQUE) ? &r : nullptr);
                break;
            }
            case TMetafileOp::SelectClip: {
                HRGN base = targetClipped ? regionOf(targetClip) : nullptr;
                if (!op.style) {
                    SelectClipRgn(dc, base);
                } else {
                    std::vector<TRect> mapped;
                    for (const TRect& q : op.rects) {
                        TRect m = R(q);
                        OffsetRect(&m, vOrg.X - wOrg.X, vOrg.Y - wOrg.Y);
                        mapped.push_back(m);
                    }
                    HRGN rgn = regionOf(mapped);
                    if (base) CombineRgn(rgn, rgn, base, RGN_AND);
                    SelectClipRgn(dc, rgn);
                    DeleteObject(rgn);
                }
                if (base) DeleteObject(base);
                break;
            }
            case TMetafileOp::StretchDib: {
                TBitmap bmp;
                gfx::DecodeDib(op.dib.data(), op.dib.size(), op.hatch, bmp);
                TCopyMode oldMode = canvas->CopyMode();
                canvas->SetCopyMode(op.style);
                // Source rows count from the bottom of a bottom-up DIB; ours are whole pictures.
                canvas->DrawBitmapImpl(R(op.rect), &bmp, Rect(0, 0, bmp.Width(), bmp.Height()), false, clNone, false);
                canvas->SetCopyMode(oldMode);
                break;
            }
        }
    }
    RestoreDC(canvas->Handle(), saved);
    canvas->Pen()->Assign(&savedPen);
    canvas->Brush()->Assign(&savedBrush);
    canvas->Font()->Assign(&savedFont);
}
