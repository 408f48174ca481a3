// The enhanced metafile format (EMF): writing the recorded operations and reading them back.
#include <cstring>
#include <functional>

#include "platform/ui/MetafileFormat.h"

using namespace metafile;

namespace {

String ReadUtf16(const uint8_t* p, size_t chars) {
    String s;
    for (size_t i = 0; i < chars; ++i) {
        char16_t c = static_cast<char16_t>(Get16(p + 2 * i));
        s.push_back(c);
    }
    return s;
}

}  // namespace

std::vector<uint8_t> TMetafile::EmfBytes() const {
    std::vector<std::vector<uint8_t>> records;
    uint32_t maxHandle = 0;
    auto rec = [&](uint32_t type, const std::function<void(Writer&)>& body) {
        Writer w;
        w.U32(type);
        w.U32(0);
        body(w);
        w.Pad4();
        uint32_t size = static_cast<uint32_t>(w.v.size());
        std::memcpy(w.v.data() + 4, &size, 4);
        records.push_back(std::move(w.v));
    };
    auto box = [](Writer& w, const TRect& r) {  // inclusive-inclusive in the file
        w.I32(r.Left); w.I32(r.Top); w.I32(r.Right - 1); w.I32(r.Bottom - 1);
    };
    auto boundsOf = [](const std::vector<TPoint>& pts) {
        TRect b(pts[0].X, pts[0].Y, pts[0].X, pts[0].Y);
        for (const TPoint& p : pts) {
            b.Left = std::min(b.Left, p.X); b.Top = std::min(b.Top, p.Y);
            b.Right = std::max(b.Right, p.X); b.Bottom = std::max(b.Bottom, p.Y);
        }
        return b;
    };
    // Records in units other than pixels (a WMF of another resolution): the window is the frame
    // in those units and the viewport the size in pixels, so the header's frame keeps the size.
    const TRect logical = ShownFrame();
    const bool mapped = !logical.IsEmpty() && (Width() != logical.Width() || Height() != logical.Height());
    if (mapped) {
        rec(EMR_SETMAPMODE, [&](Writer& w) { w.U32(MM_ANISOTROPIC_); });
        rec(EMR_SETWINDOWORGEX, [&](Writer& w) { w.I32(logical.Left); w.I32(logical.Top); });
        rec(EMR_SETWINDOWEXTEX, [&](Writer& w) { w.I32(logical.Width()); w.I32(logical.Height()); });
        rec(EMR_SETVIEWPORTEXTEX, [&](Writer& w) { w.I32(Width()); w.I32(Height()); });
    }
    for (const TMetafileOp& op : FOps) {
        switch (op.kind) {
            case TMetafileOp::MoveTo:
                rec(EMR_MOVETOEX, [&](Writer& w) { w.I32(op.p1.X); w.I32(op.p1.Y); });
                break;
            case TMetafileOp::LineTo:
                rec(EMR_LINETO, [&](Writer& w) { w.I32(op.p1.X); w.I32(op.p1.Y); });
                break;
            case TMetafileOp::Polyline:
            case TMetafileOp::Polygon: {
                if (op.points.empty()) break;
                bool small = std::all_of(op.points.begin(), op.points.end(), FitsInt16);
                bool line = op.kind == TMetafileOp::Polyline;
                uint32_t type = small ? (line ? EMR_POLYLINE16 : EMR_POLYGON16) : (line ? EMR_POLYLINE : EMR_POLYGON);
                rec(type, [&](Writer& w) {
                    TRect b = boundsOf(op.points);
                    w.I32(b.Left); w.I32(b.Top); w.I32(b.Right); w.I32(b.Bottom);
                    w.U32(static_cast<uint32_t>(op.points.size()));
                    for (const TPoint& p : op.points) {
                        if (small) { w.I16(p.X); w.I16(p.Y); }
                        else { w.I32(p.X); w.I32(p.Y); }
                    }
                });
                break;
            }
            case TMetafileOp::Rectangle: rec(EMR_RECTANGLE, [&](Writer& w) { box(w, op.rect); }); break;
            case TMetafileOp::Ellipse: rec(EMR_ELLIPSE, [&](Writer& w) { box(w, op.rect); }); break;
            case TMetafileOp::RoundRect:
                rec(EMR_ROUNDRECT, [&](Writer& w) { box(w, op.rect); w.I32(op.p1.X); w.I32(op.p1.Y); });
                break;
            case TMetafileOp::Arc:
            case TMetafileOp::Chord:
            case TMetafileOp::Pie: {
                uint32_t type = op.kind == TMetafileOp::Arc ? EMR_ARC : op.kind == TMetafileOp::Chord ? EMR_CHORD : EMR_PIE;
                rec(type, [&](Writer& w) {
                    box(w, op.rect);
                    w.I32(op.p1.X); w.I32(op.p1.Y); w.I32(op.p2.X); w.I32(op.p2.Y);
                });
                break;
            }
            case TMetafileOp::CreatePen:
                maxHandle = std::max(maxHandle, op.index);
                rec(EMR_CREATEPEN, [&](Writer& w) {
                    w.U32(op.index); w.U32(op.style); w.I32(op.width); w.I32(0); w.U32(op.color);
                });
                break;
            case TMetafileOp::CreateBrush:
                maxHandle = std::max(maxHandle, op.index);
                rec(EMR_CREATEBRUSHINDIRECT, [&](Writer& w) { w.U32(op.index); w.U32(op.style); w.U32(op.color); w.U32(op.hatch); });
                break;
            case TMetafileOp::CreateFont:
                maxHandle = std::max(maxHandle, op.index);
                rec(EMR_EXTCREATEFONTINDIRECTW, [&](Writer& w) {
                    w.U32(op.index);
                    w.I32(op.width); w.I32(0); w.I32(op.orientation); w.I32(op.orientation); w.I32(op.weight);
                    w.U8(op.italic); w.U8(op.underline); w.U8(op.strikeOut); w.U8(op.charset);
                    w.U8(0); w.U8(0); w.U8(0); w.U8(op.pitch);
                    for (size_t i = 0; i < 32; ++i) w.U16(i < 31 && i < op.text.size() ? op.text[i] : 0);
                });
                break;
            case TMetafileOp::Select: rec(EMR_SELECTOBJECT, [&](Writer& w) { w.U32(op.index); }); break;
            case TMetafileOp::Delete: rec(EMR_DELETEOBJECT, [&](Writer& w) { w.U32(op.index); }); break;
            case TMetafileOp::SetTextColor: rec(EMR_SETTEXTCOLOR, [&](Writer& w) { w.U32(op.color); }); break;
            case TMetafileOp::SetBkColor: rec(EMR_SETBKCOLOR, [&](Writer& w) { w.U32(op.color); }); break;
            case TMetafileOp::SetBkMode: rec(EMR_SETBKMODE, [&](Writer& w) { w.U32(op.style); }); break;
            case TMetafileOp::SetRop2: rec(EMR_SETROP2, [&](Writer& w) { w.U32(op.style); }); break;
            case TMetafileOp::SetTextAlign: rec(EMR_SETTEXTALIGN, [&](Writer& w) { w.U32(op.style); }); break;
            case TMetafileOp::SetPixel:
                rec(EMR_SETPIXELV, [&](Writer& w) { w.I32(op.p1.X); w.I32(op.p1.Y); w.U32(op.color); });
                break;
            case TMetafileOp::FloodFill:
                rec(EMR_EXTFLOODFILL, [&](Writer& w) { w.I32(op.p1.X); w.I32(op.p1.Y); w.U32(op.color); w.U32(op.style); });
                break;
            case TMetafileOp::Text:
                rec(EMR_EXTTEXTOUTW, [&](Writer& w) {
                    w.I32(op.rect.Left); w.I32(op.rect.Top); w.I32(op.rect.Right - 1); w.I32(op.rect.Bottom - 1);
                    w.U32(1);  // compatible graphics mode
                    w.U32(0); w.U32(0);  // scales (unused in that mode)
                    uint32_t n = static_cast<uint32_t>(op.text.size());
                    uint32_t offString = 76;
                    uint32_t offDx = offString + ((n * 2 + 3) / 4) * 4;
                    w.I32(op.p1.X); w.I32(op.p1.Y);
                    w.U32(n); w.U32(offString); w.U32(op.style);
                    w.I32(op.rect.Left); w.I32(op.rect.Top); w.I32(op.rect.Right); w.I32(op.rect.Bottom);
                    w.U32(offDx);
                    for (char16_t c : op.text) w.U16(c);
                    w.Pad4();
                    for (uint32_t i = 0; i < n; ++i) w.U32(static_cast<uint32_t>(op.points.size() > i ? op.points[i].X : 0));
                });
                break;
            case TMetafileOp::SelectClip:
                rec(EMR_EXTSELECTCLIPRGN, [&](Writer& w) {
                    if (!op.style) {
                        w.U32(0);
                        w.U32(RGN_COPY);
                        return;
                    }
                    TRect bound;
                    for (const TRect& r : op.rects) UnionRect(&bound, &bound, &r);
                    w.U32(static_cast<uint32_t>(32 + 16 * op.rects.size()));
                    w.U32(RGN_COPY);
                    w.U32(32); w.U32(1); w.U32(static_cast<uint32_t>(op.rects.size()));
                    w.U32(static_cast<uint32_t>(16 * op.rects.size()));
                    w.I32(bound.Left); w.I32(bound.Top); w.I32(bound.Right); w.I32(bound.Bottom);
                    for (const TRect& r : op.rects) { w.I32(r.Left); w.I32(r.Top); w.I32(r.Right); w.I32(r.Bottom); }
                });
                break;
            case TMetafileOp::StretchDib:
                rec(EMR_STRETCHDIBITS, [&](Writer& w) {
                    w.I32(op.rect.Left); w.I32(op.rect.Top); w.I32(op.rect.Right - 1); w.I32(op.rect.Bottom - 1);
                    w.I32(op.rect.Left); w.I32(op.rect.Top);
                    w.I32(op.source.Left); w.I32(op.source.Top); w.I32(op.source.Width()); w.I32(op.source.Height());
                    uint32_t header = op.hatch;  // size of the DIB's header and colours
                    w.U32(80); w.U32(header); w.U32(80 + header); w.U32(static_cast<uint32_t>(op.dib.size() - header));
                    w.U32(0);  // DIB_RGB_COLORS
                    w.U32(op.style);
                    w.I32(op.rect.Width()); w.I32(op.rect.Height());
                    w.v.insert(w.v.end(), op.dib.begin(), op.dib.end());
                });
                break;
        }
    }
    // Header and end record.
    String desc = FDescription;
    Writer h;
    h.U32(EMR_HEADER);
    h.U32(0);
    if (FBounds.IsEmpty()) { h.I32(0); h.I32(0); h.I32(-1); h.I32(-1); }
    else { h.I32(FBounds.Left); h.I32(FBounds.Top); h.I32(FBounds.Right - 1); h.I32(FBounds.Bottom - 1); }
    TRect frame = mapped ? ::Bounds(0, 0, Width(), Height()) : FFrame;
    h.I32(PxToHmm(frame.Left)); h.I32(PxToHmm(frame.Top));
    h.I32(PxToHmm(frame.Right) - 1); h.I32(PxToHmm(frame.Bottom) - 1);
    h.U32(kEmfSignature);
    h.U32(0x10000);
    size_t bytesPos = h.v.size();
    h.U32(0);  // nBytes
    h.U32(static_cast<uint32_t>(records.size() + 2));
    h.U16(maxHandle + 1);
    h.U16(0);
    uint32_t descChars = desc.empty() ? 0 : static_cast<uint32_t>(desc.size() + 1);
    h.U32(descChars);
    h.U32(descChars ? 108 : 0);
    h.U32(0);  // palette entries
    h.I32(kDevW); h.I32(kDevH);
    h.I32(kDevMmW); h.I32(kDevMmH);
    h.U32(0); h.U32(0); h.U32(0);  // no pixel format, no OpenGL
    h.I32(kDevMmW * 1000); h.I32(kDevMmH * 1000);
    for (char16_t c : desc) h.U16(c);
    if (descChars) h.U16(0);
    h.Pad4();
    uint32_t hsize = static_cast<uint32_t>(h.v.size());
    std::memcpy(h.v.data() + 4, &hsize, 4);

    Writer eof;
    eof.U32(EMR_EOF); eof.U32(20); eof.U32(0); eof.U32(16); eof.U32(20);

    std::vector<uint8_t> out = std::move(h.v);
    for (auto& r : records) out.insert(out.end(), r.begin(), r.end());
    out.insert(out.end(), eof.v.begin(), eof.v.end());
    uint32_t total = static_cast<uint32_t>(out.size());
    std::memcpy(out.data() + bytesPos, &total, 4);
    return out;
}

void TMetafile::ParseEmf(const std::vector<uint8_t>& b) {
    const uint8_t* d = b.data();
    FInch = 96;
    auto rectIncl = [](const uint8_t* p) { return TRect(CoordAt(p), CoordAt(p + 4), CoordAt(p + 8) + 1, CoordAt(p + 12) + 1); };
    FBounds = rectIncl(d + 8);
    if (FBounds.IsEmpty()) FBounds = TRect();
    TRect frame(CoordAt(d + 24), CoordAt(d + 28), CoordAt(d + 32) + 1, CoordAt(d + 36) + 1);
    FFrame = TRect(HmmToPx(frame.Left), HmmToPx(frame.Top), HmmToPx(frame.Right), HmmToPx(frame.Bottom));
    uint32_t nDesc = Get32(d + 60), offDesc = Get32(d + 64);
    if (nDesc && offDesc + 2ull * nDesc <= b.size()) {
        FDescription = ReadUtf16(d + offDesc, nDesc);
        while (!FDescription.empty() && FDescription.back() == 0) FDescription.pop_back();
    }
    // A window set in a mapping mode before anything is drawn is the frame in the records' own
    // units; the header's frame is then the size in pixels.
    bool mapping = false, drawn = false, windowSet = false;
    TPoint windowOrg, windowExt;
    size_t pos = 0;
    while (pos + 8 <= b.size()) {
        uint32_t type = Get32(d + pos), size = Get32(d + pos + 4);
        if (size < 8 || size % 4 || pos + size > b.size()) throw EInvalidGraphic(String("Metafile is not valid"));
        const uint8_t* r = d + pos + 8;
        size_t len = size - 8;
        TMetafileOp op;
        bool add = true;
        auto need = [&](size_t n) { if (len < n) throw EInvalidGraphic(String("Metafile is not valid")); };
        switch (type) {
            case EMR_SETMAPMODE:
                need(4);
                add = false;
                mapping = Get32(r) == MM_ANISOTROPIC_ || Get32(r) == MM_ISOTROPIC_;
                break;
            case EMR_SETWINDOWORGEX:
            case EMR_SETWINDOWEXTEX:
                need(8);
                add = false;
                if (!mapping || drawn) break;
                (type == EMR_SETWINDOWORGEX ? windowOrg : windowExt) = TPoint(CoordAt(r), CoordAt(r + 4));
                windowSet = true;
                break;
            case EMR_MOVETOEX: need(8); op.kind = TMetafileOp::MoveTo; op.p1 = TPoint(CoordAt(r), CoordAt(r + 4)); break;
            case EMR_LINETO: need(8); op.kind = TMetafileOp::LineTo; op.p1 = TPoint(CoordAt(r), CoordAt(r + 4)); break;
            case EMR_POLYLINE16: case EMR_POLYGON16: case EMR_POLYLINE: case EMR_POLYGON: {
                need(20);
                bool small = type == EMR_POLYLINE16 || type == EMR_POLYGON16;
                op.kind = (type == EMR_POLYLINE16 || type == EMR_POLYLINE) ? TMetafileOp::Polyline : TMetafileOp::Polygon;
                uint32_t n = Get32(r + 16);
                need(20 + static_cast<size_t>(n) * (small ? 4 : 8));
                for (uint32_t i = 0; i < n; ++i) {
                    if (small) op.points.emplace_back(I16At(r + 20 + 4 * i), I16At(r + 22 + 4 * i));
                    else op.points.emplace_back(CoordAt(r + 20 + 8 * i), CoordAt(r + 24 + 8 * i));
                }
                break;
            }
            case EMR_RECTANGLE: need(16); op.kind = TMetafileOp::Rectangle; op.rect = rectIncl(r); break;
            case EMR_ELLIPSE: need(16); op.kind = TMetafileOp::Ellipse; op.rect = rectIncl(r); break;
            case EMR_ROUNDRECT: need(24); op.kind = TMetafileOp::RoundRect; op.rect = rectIncl(r); op.p1 = TPoint(CoordAt(r + 16), CoordAt(r + 20)); break;
            case EMR_ARC: case EMR_CHORD: case EMR_PIE:
                need(32);
                op.kind = type == EMR_ARC ? TMetafileOp::Arc : type == EMR_CHORD ? TMetafileOp::Chord : TMetafileOp::Pie;
                op.rect = rectIncl(r);
                op.p1 = TPoint(CoordAt(r + 16), CoordAt(r + 20));
                op.p2 = TPoint(CoordAt(r + 24), CoordAt(r + 28));
                break;
            case EMR_CREATEPEN:
                need(20); op.kind = TMetafileOp::CreatePen; op.index = Get32(r); op.style = Get32(r + 4);
                op.width = CoordAt(r + 8); op.color = Get32(r + 16);
                break;
            case EMR_CREATEBRUSHINDIRECT:
                need(16); op.kind = TMetafileOp::CreateBrush; op.index = Get32(r); op.style = Get32(r + 4);
                op.color = Get32(r + 8); op.hatch = Get32(r + 12);
                break;
            case EMR_EXTCREATEFONTINDIRECTW: {
                need(4 + 92);
                op.kind = TMetafileOp::CreateFont;
                op.index = Get32(r);
                const uint8_t* f = r + 4;
                op.width = CoordAt(f);
                op.orientation = CoordAt(f + 8);
                op.weight = CoordAt(f + 16);
                op.italic = f[20]; op.underline = f[21]; op.strikeOut = f[22]; op.charset = f[23]; op.pitch = f[27];
                // 32 characters hold the name and its NUL: the 32nd is never part of it, as the
                // writer has it.
                op.text = ReadUtf16(f + 28, 31);
                op.text.resize(std::min(op.text.size(), op.text.find(u'\0')));
                break;
            }
            case EMR_SELECTOBJECT: need(4); op.kind = TMetafileOp::Select; op.index = Get32(r); break;
            case EMR_DELETEOBJECT: need(4); op.kind = TMetafileOp::Delete; op.index = Get32(r); break;
            case EMR_SETTEXTCOLOR: need(4); op.kind = TMetafileOp::SetTextColor; op.color = Get32(r); break;
            case EMR_SETBKCOLOR: need(4); op.kind = TMetafileOp::SetBkColor; op.color = Get32(r); break;
            case EMR_SETBKMODE: need(4); op.kind = TMetafileOp::SetBkMode; op.style = Get32(r); break;
            case EMR_SETROP2: need(4); op.kind = TMetafileOp::SetRop2; op.style = Get32(r); break;
            case EMR_SETTEXTALIGN: need(4); op.kind = TMetafileOp::SetTextAlign; op.style = Get32(r); break;
            case EMR_SETPIXELV: need(12); op.kind = TMetafileOp::SetPixel; op.p1 = TPoint(CoordAt(r), CoordAt(r + 4)); op.color = Get32(r + 8); break;
            case EMR_EXTFLOODFILL:
                need(16); op.kind = TMetafileOp::FloodFill; op.p1 = TPoint(CoordAt(r), CoordAt(r + 4)); op.color = Get32(r + 8);
                op.style = Get32(r + 12);
                break;
            case EMR_EXTTEXTOUTW: {
                need(68);
                op.kind = TMetafileOp::Text;
                const uint8_t* t = r + 28;  // the text structure after bounds, mode and scales
                op.p1 = TPoint(CoordAt(t), CoordAt(t + 4));
                uint32_t n = Get32(t + 8), offString = Get32(t + 12);
                op.style = Get32(t + 16);
                op.rect = TRect(CoordAt(t + 20), CoordAt(t + 24), CoordAt(t + 28), CoordAt(t + 32));
                if (offString + 2ull * n > size) throw EInvalidGraphic(String("Metafile is not valid"));
                op.text = ReadUtf16(d + pos + offString, n);
                break;
            }
            case EMR_EXTSELECTCLIPRGN: {
                need(8);
                op.kind = TMetafileOp::SelectClip;
                uint32_t cb = Get32(r);
                if (Get32(r + 4) != RGN_COPY) { add = false; break; }  // only what we write
                if (cb == 0) break;
                need(8 + 32);
                uint32_t n = Get32(r + 16);
                need(8 + 32 + 16ull * n);
                op.style = 1;
                for (uint32_t i = 0; i < n; ++i) {
                    const uint8_t* q = r + 40 + 16 * i;
                    op.rects.emplace_back(CoordAt(q), CoordAt(q + 4), CoordAt(q + 8), CoordAt(q + 12));
                }
                break;
            }
            case EMR_STRETCHDIBITS: {
                need(72);
                op.kind = TMetafileOp::StretchDib;
                int32_t xd = CoordAt(r + 16), yd = CoordAt(r + 20);
                op.source = ::Bounds(CoordAt(r + 24), CoordAt(r + 28), CoordAt(r + 32), CoordAt(r + 36));
                uint32_t offBmi = Get32(r + 40), cbBmi = Get32(r + 44), offBits = Get32(r + 48), cbBits = Get32(r + 52);
                op.style = Get32(r + 60);
                op.rect = ::Bounds(xd, yd, CoordAt(r + 64), CoordAt(r + 68));
                if (offBmi + static_cast<uint64_t>(cbBmi) > size || offBits + static_cast<uint64_t>(cbBits) > size || offBits < offBmi)
                    throw EInvalidGraphic(String("Metafile is not valid"));
                op.dib.assign(d + pos + offBmi, d + pos + offBmi + cbBmi);
                op.dib.resize(offBits - offBmi, 0);
                op.dib.insert(op.dib.end(), d + pos + offBits, d + pos + offBits + cbBits);
                op.hatch = offBits - offBmi;
                CheckDib(op.dib, op.hatch);
                break;
            }
            default: add = false; break;
        }
        if (add) {
            FOps.push_back(std::move(op));
            drawn = true;
        }
        pos += size;
        if (type == EMR_EOF) break;
    }
    const TRect window = ::Bounds(windowOrg.X, windowOrg.Y, windowExt.X, windowExt.Y);
    if (windowSet && !window.IsEmpty() && !FFrame.IsEmpty() &&
        (window.Width() != FFrame.Width() || window.Height() != FFrame.Height())) {
        FWidth = FFrame.Width();
        FHeight = FFrame.Height();
        FInch = std::max(1, static_cast<int>(std::lround(window.Width() * 96.0 / FWidth)));
        FFrame = window;
    }
}
