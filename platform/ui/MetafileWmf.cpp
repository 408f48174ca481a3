// The older Windows metafile format (WMF) with its placeable header: writing and reading.
#include <cstring>
#include <functional>

#include "platform/ui/MetafileFormat.h"

using namespace metafile;

namespace {

// The DIB with its pixels right after its colour table, where the older format's reader looks for
// them: a record of the enhanced format may place them anywhere after the header, even inside the
// colour table the header describes.
std::vector<uint8_t> PackedDib(const std::vector<uint8_t>& dib, size_t bitsOffset) {
    size_t natural = gfx::DibBitsOffset(dib.data(), dib.size());
    if (bitsOffset == natural || bitsOffset > dib.size() || natural > dib.size()) return dib;
    // The whole table as the reader saw it, overlapped entries included, then the pixels.
    std::vector<uint8_t> out(dib.begin(), dib.begin() + static_cast<std::ptrdiff_t>(natural));
    out.insert(out.end(), dib.begin() + static_cast<std::ptrdiff_t>(bitsOffset), dib.end());
    return out;
}

}  // namespace

std::vector<uint8_t> TMetafile::WmfBytes() const {
    std::vector<std::vector<uint8_t>> records;
    uint16_t objects = 0;
    auto rec = [&](uint16_t fn, const std::function<void(Writer&)>& body) {
        Writer w;
        w.U32(0);
        w.U16(fn);
        body(w);
        w.Pad2();
        uint32_t words = static_cast<uint32_t>(w.v.size() / 2);
        std::memcpy(w.v.data(), &words, 4);
        records.push_back(std::move(w.v));
    };
    auto ansi = [](const String& s) { return Utf16ToCp932(s); };
    TRect frame = ShownFrame();
    bool clipSaved = false;
    rec(META_SETWINDOWORG, [&](Writer& w) { w.I16(frame.Top); w.I16(frame.Left); });
    rec(META_SETWINDOWEXT, [&](Writer& w) { w.I16(frame.Height()); w.I16(frame.Width()); });
    for (const TMetafileOp& op : FOps) {
        const TRect& r = op.rect;
        switch (op.kind) {
            case TMetafileOp::MoveTo: rec(META_MOVETO, [&](Writer& w) { w.I16(op.p1.Y); w.I16(op.p1.X); }); break;
            case TMetafileOp::LineTo: rec(META_LINETO, [&](Writer& w) { w.I16(op.p1.Y); w.I16(op.p1.X); }); break;
            case TMetafileOp::Polyline:
            case TMetafileOp::Polygon:
                rec(op.kind == TMetafileOp::Polyline ? META_POLYLINE : META_POLYGON, [&](Writer& w) {
                    w.I16(static_cast<int32_t>(op.points.size()));
                    for (const TPoint& p : op.points) { w.I16(p.X); w.I16(p.Y); }
                });
                break;
            case TMetafileOp::Rectangle: rec(META_RECTANGLE, [&](Writer& w) { w.I16(r.Bottom); w.I16(r.Right); w.I16(r.Top); w.I16(r.Left); }); break;
            case TMetafileOp::Ellipse: rec(META_ELLIPSE, [&](Writer& w) { w.I16(r.Bottom); w.I16(r.Right); w.I16(r.Top); w.I16(r.Left); }); break;
            case TMetafileOp::RoundRect:
                rec(META_ROUNDRECT, [&](Writer& w) {
                    w.I16(op.p1.Y); w.I16(op.p1.X); w.I16(r.Bottom); w.I16(r.Right); w.I16(r.Top); w.I16(r.Left);
                });
                break;
            case TMetafileOp::Arc:
            case TMetafileOp::Chord:
            case TMetafileOp::Pie:
                rec(op.kind == TMetafileOp::Arc ? META_ARC : op.kind == TMetafileOp::Chord ? META_CHORD : META_PIE, [&](Writer& w) {
                    w.I16(op.p2.Y); w.I16(op.p2.X); w.I16(op.p1.Y); w.I16(op.p1.X);
                    w.I16(r.Bottom); w.I16(r.Right); w.I16(r.Top); w.I16(r.Left);
                });
                break;
            case TMetafileOp::CreatePen:
                objects = std::max<uint16_t>(objects, static_cast<uint16_t>(op.index));
                rec(META_CREATEPENINDIRECT, [&](Writer& w) { w.U16(op.style); w.I16(op.width); w.I16(0); w.U32(op.color); });
                break;
            case TMetafileOp::CreateBrush:
                objects = std::max<uint16_t>(objects, static_cast<uint16_t>(op.index));
                rec(META_CREATEBRUSHINDIRECT, [&](Writer& w) { w.U16(op.style); w.U32(op.color); w.U16(op.hatch); });
                break;
            case TMetafileOp::CreateFont:
                objects = std::max<uint16_t>(objects, static_cast<uint16_t>(op.index));
                rec(META_CREATEFONTINDIRECT, [&](Writer& w) {
                    w.I16(op.width); w.I16(0); w.I16(op.orientation); w.I16(op.orientation); w.I16(op.weight);
                    w.U8(op.italic); w.U8(op.underline); w.U8(op.strikeOut); w.U8(op.charset);
                    w.U8(0); w.U8(0); w.U8(0); w.U8(op.pitch);
                    std::string face = ansi(op.text).substr(0, 31);
                    for (size_t i = 0; i < 32; ++i) w.U8(i < face.size() ? static_cast<uint8_t>(face[i]) : 0);
                });
                break;
            // Object slots of the older format count from 0 and are taken lowest first, as ours.
            case TMetafileOp::Select: rec(META_SELECTOBJECT, [&](Writer& w) { w.U16(op.index - 1); }); break;
            case TMetafileOp::Delete: rec(META_DELETEOBJECT, [&](Writer& w) { w.U16(op.index - 1); }); break;
            case TMetafileOp::SetTextColor: rec(META_SETTEXTCOLOR, [&](Writer& w) { w.U32(op.color); }); break;
            case TMetafileOp::SetBkColor: rec(META_SETBKCOLOR, [&](Writer& w) { w.U32(op.color); }); break;
            case TMetafileOp::SetBkMode: rec(META_SETBKMODE, [&](Writer& w) { w.U16(op.style); w.U16(0); }); break;
            case TMetafileOp::SetRop2: rec(META_SETROP2, [&](Writer& w) { w.U16(op.style); w.U16(0); }); break;
            case TMetafileOp::SetTextAlign: rec(META_SETTEXTALIGN, [&](Writer& w) { w.U16(op.style); w.U16(0); }); break;
            case TMetafileOp::SetPixel: rec(META_SETPIXEL, [&](Writer& w) { w.U32(op.color); w.I16(op.p1.Y); w.I16(op.p1.X); }); break;
            case TMetafileOp::FloodFill:
                rec(META_EXTFLOODFILL, [&](Writer& w) { w.U16(op.style); w.U32(op.color); w.I16(op.p1.Y); w.I16(op.p1.X); });
                break;
            case TMetafileOp::Text:
                rec(META_EXTTEXTOUT, [&](Writer& w) {
                    std::string s = ansi(op.text);
                    w.I16(op.p1.Y); w.I16(op.p1.X);
                    w.I16(static_cast<int32_t>(s.size()));
                    w.U16(op.style);
                    if (op.style & (ETO_CLIPPED | ETO_OPAQUE)) { w.I16(r.Left); w.I16(r.Top); w.I16(r.Right); w.I16(r.Bottom); }
                    for (char c : s) w.U8(static_cast<uint8_t>(c));
                    w.Pad2();
                });
                break;
            case TMetafileOp::SelectClip:
                // The older format cannot replace a clip: it is saved before and restored after,
                // and a region becomes its bounding box.
                if (clipSaved) rec(META_RESTOREDC, [](Writer& w) { w.I16(-1); });
                clipSaved = op.style != 0;
                if (clipSaved) {
                    TRect bound;
                    for (const TRect& q : op.rects) {
                        // As playback takes a rectangle: corners in either order.
                        const TRect o(std::min(q.Left, q.Right), std::min(q.Top, q.Bottom), std::max(q.Left, q.Right),
                                      std::max(q.Top, q.Bottom));
                        UnionRect(&bound, &bound, &o);
                    }
                    rec(META_SAVEDC, [](Writer&) {});
                    rec(META_INTERSECTCLIPRECT, [&](Writer& w) {
                        w.I16(bound.Bottom); w.I16(bound.Right); w.I16(bound.Top); w.I16(bound.Left);
                    });
                }
                break;
            case TMetafileOp::StretchDib:
                rec(META_STRETCHDIB, [&](Writer& w) {
                    w.U32(op.style);
                    w.U16(0);
                    w.I16(op.source.Height()); w.I16(op.source.Width()); w.I16(op.source.Top); w.I16(op.source.Left);
                    w.I16(r.Height()); w.I16(r.Width()); w.I16(r.Top); w.I16(r.Left);
                    std::vector<uint8_t> dib = PackedDib(op.dib, op.hatch);
                    w.v.insert(w.v.end(), dib.begin(), dib.end());
                });
                break;
        }
    }
    rec(META_EOF, [](Writer&) {});

    uint32_t totalWords = 9, maxRecord = 0;
    for (auto& r : records) {
        totalWords += static_cast<uint32_t>(r.size() / 2);
        maxRecord = std::max(maxRecord, static_cast<uint32_t>(r.size() / 2));
    }
    Writer p;
    // The placeable header holds the frame's corners in 16 bits; a frame that reaches past them at
    // 96 units per inch goes without it, as its window's origin and extent (which fit) say the same.
    const bool placeable =
        FInch != 96 || (FitsInt16(TPoint(frame.Left, frame.Top)) && FitsInt16(TPoint(frame.Right, frame.Bottom)));
    if (placeable) {
        p.U32(kPlaceableKey);
        p.U16(0);
        p.I16(frame.Left); p.I16(frame.Top); p.I16(frame.Right); p.I16(frame.Bottom);
        p.U16(static_cast<uint32_t>(FInch));
        p.U32(0);
        uint16_t sum = 0;
        for (size_t i = 0; i < 10; ++i) sum ^= Get16(p.v.data() + 2 * i);
        p.U16(sum);
    }
    p.U16(1); p.U16(9); p.U16(0x0300); p.U32(totalWords); p.U16(objects); p.U32(maxRecord); p.U16(0);
    for (auto& r : records) p.v.insert(p.v.end(), r.begin(), r.end());
    return p.v;
}

void TMetafile::ParseWmf(const std::vector<uint8_t>& b) {
    const uint8_t* d = b.data();
    size_t pos = 0;
    int inch = 96;
    TRect bbox;
    bool placeable = Get32(d) == kPlaceableKey;
    if (placeable) {
        if (b.size() < 22 + 18) throw EInvalidGraphic(String("Metafile is not valid"));
        bbox = TRect(I16At(d + 6), I16At(d + 8), I16At(d + 10), I16At(d + 12));
        inch = Get16(d + 14) ? Get16(d + 14) : 96;
        pos = 22;
    }
    FInch = inch;
    uint16_t headerWords = Get16(d + pos + 2);
    pos += static_cast<size_t>(headerWords) * 2;
    // Object slots: the lowest free one is taken by each new object.
    std::vector<bool> used;
    auto alloc = [&]() {
        size_t i = 0;
        while (i < used.size() && used[i]) ++i;
        if (i == used.size()) used.push_back(true); else used[i] = true;
        return static_cast<uint32_t>(i + 1);
    };
    TPoint org, ext;
    // Clip of the older format: a stack of saved clips and rectangle intersections.
    struct Clip { bool on = false; TRect box; };
    Clip clip;
    std::vector<Clip> clipStack;
    auto emitClip = [&]() {
        TMetafileOp c;
        c.kind = TMetafileOp::SelectClip;
        c.style = clip.on ? 1 : 0;
        if (clip.on) c.rects.push_back(clip.box);
        FOps.push_back(std::move(c));
    };
    while (pos + 6 <= b.size()) {
        uint32_t words = Get32(d + pos);
        uint16_t fn = Get16(d + pos + 4);
        if (words < 3 || pos + words * 2ull > b.size()) throw EInvalidGraphic(String("Metafile is not valid"));
        const uint8_t* r = d + pos + 6;
        size_t len = words * 2 - 6;
        auto need = [&](size_t n) { if (len < n) throw EInvalidGraphic(String("Metafile is not valid")); };
        TMetafileOp op;
        bool add = true;
        switch (fn) {
            case META_EOF: add = false; pos = b.size(); break;
            case META_SETWINDOWORG: need(4); org = TPoint(I16At(r + 2), I16At(r)); add = false; break;
            case META_SAVEDC: clipStack.push_back(clip); add = false; break;
            case META_RESTOREDC:
                add = false;
                if (!clipStack.empty()) {
                    clip = clipStack.back();
                    clipStack.pop_back();
                    emitClip();
                }
                break;
            case META_INTERSECTCLIPRECT: {
                need(8);
                add = false;
                // Corners may come in either order; playback builds the clip as a region, which
                // orders them, so the record is kept ordered and writes back as it plays.
                const int l = I16At(r + 6), t = I16At(r + 4), rt = I16At(r + 2), bt = I16At(r);
                TRect q(std::min(l, rt), std::min(t, bt), std::max(l, rt), std::max(t, bt));
                if (clip.on) IntersectRect(&clip.box, &clip.box, &q);
                else clip.box = q;
                clip.on = true;
                emitClip();
                break;
            }
            case META_SETWINDOWEXT: need(4); ext = TPoint(I16At(r + 2), I16At(r)); add = false; break;
            case META_MOVETO: need(4); op.kind = TMetafileOp::MoveTo; op.p1 = TPoint(I16At(r + 2), I16At(r)); break;
            case META_LINETO: need(4); op.kind = TMetafileOp::LineTo; op.p1 = TPoint(I16At(r + 2), I16At(r)); break;
            case META_POLYLINE: case META_POLYGON: {
                need(2);
                op.kind = fn == META_POLYLINE ? TMetafileOp::Polyline : TMetafileOp::Polygon;
                int n = I16At(r);
                need(2 + 4 * static_cast<size_t>(std::max(0, n)));
                for (int i = 0; i < n; ++i) op.points.emplace_back(I16At(r + 2 + 4 * i), I16At(r + 4 + 4 * i));
                break;
            }
            case META_RECTANGLE: case META_ELLIPSE:
                need(8);
                op.kind = fn == META_RECTANGLE ? TMetafileOp::Rectangle : TMetafileOp::Ellipse;
                op.rect = TRect(I16At(r + 6), I16At(r + 4), I16At(r + 2), I16At(r));
                break;
            case META_ROUNDRECT:
                need(12);
                op.kind = TMetafileOp::RoundRect;
                op.p1 = TPoint(I16At(r + 2), I16At(r));
                op.rect = TRect(I16At(r + 10), I16At(r + 8), I16At(r + 6), I16At(r + 4));
                break;
            case META_ARC: case META_CHORD: case META_PIE:
                need(16);
                op.kind = fn == META_ARC ? TMetafileOp::Arc : fn == META_CHORD ? TMetafileOp::Chord : TMetafileOp::Pie;
                op.p2 = TPoint(I16At(r + 2), I16At(r));
                op.p1 = TPoint(I16At(r + 6), I16At(r + 4));
                op.rect = TRect(I16At(r + 14), I16At(r + 12), I16At(r + 10), I16At(r + 8));
                break;
            case META_CREATEPENINDIRECT:
                need(10); op.kind = TMetafileOp::CreatePen; op.index = alloc(); op.style = Get16(r); op.width = I16At(r + 2);
                op.color = Get32(r + 6);
                break;
            case META_CREATEBRUSHINDIRECT:
                need(8); op.kind = TMetafileOp::CreateBrush; op.index = alloc(); op.style = Get16(r); op.color = Get32(r + 2);
                op.hatch = Get16(r + 6);
                break;
            case META_CREATEFONTINDIRECT: {
                need(18);
                op.kind = TMetafileOp::CreateFont;
                op.index = alloc();
                op.width = I16At(r);
                op.orientation = I16At(r + 4);
                op.weight = I16At(r + 8);
                op.italic = r[10]; op.underline = r[11]; op.strikeOut = r[12]; op.charset = r[13]; op.pitch = r[17];
                std::string face;
                // 32 bytes hold the name and its NUL, as the writer has it.
                for (size_t i = 18; i < len && i < 18 + 31 && r[i]; ++i) face.push_back(static_cast<char>(r[i]));
                op.text = IsValidUtf8(face) ? String(face) : Cp932ToUtf16(face);
                break;
            }
            case META_SELECTOBJECT: need(2); op.kind = TMetafileOp::Select; op.index = Get16(r) + 1u; break;
            case META_DELETEOBJECT:
                need(2); op.kind = TMetafileOp::Delete; op.index = Get16(r) + 1u;
                if (op.index - 1 < used.size()) used[op.index - 1] = false;
                break;
            case META_SETTEXTCOLOR: need(4); op.kind = TMetafileOp::SetTextColor; op.color = Get32(r); break;
            case META_SETBKCOLOR: need(4); op.kind = TMetafileOp::SetBkColor; op.color = Get32(r); break;
            case META_SETBKMODE: need(2); op.kind = TMetafileOp::SetBkMode; op.style = Get16(r); break;
            case META_SETROP2: need(2); op.kind = TMetafileOp::SetRop2; op.style = Get16(r); break;
            case META_SETTEXTALIGN: need(2); op.kind = TMetafileOp::SetTextAlign; op.style = Get16(r); break;
            case META_SETPIXEL: need(8); op.kind = TMetafileOp::SetPixel; op.color = Get32(r); op.p1 = TPoint(I16At(r + 6), I16At(r + 4)); break;
            case META_EXTFLOODFILL:
                need(10); op.kind = TMetafileOp::FloodFill; op.style = Get16(r); op.color = Get32(r + 2);
                op.p1 = TPoint(I16At(r + 8), I16At(r + 6));
                break;
            case META_EXTTEXTOUT: {
                need(8);
                op.kind = TMetafileOp::Text;
                op.p1 = TPoint(I16At(r + 2), I16At(r));
                int n = I16At(r + 4);
                op.style = Get16(r + 6);
                size_t at = 8;
                if (op.style & (ETO_CLIPPED | ETO_OPAQUE)) {
                    need(16);
                    op.rect = TRect(I16At(r + 8), I16At(r + 10), I16At(r + 12), I16At(r + 14));
                    at = 16;
                }
                need(at + static_cast<size_t>(std::max(0, n)));
                std::string s(reinterpret_cast<const char*>(r + at), static_cast<size_t>(std::max(0, n)));
                op.text = IsValidUtf8(s) ? String(s) : Cp932ToUtf16(s);
                break;
            }
            case META_STRETCHDIB: {
                need(22 + 40);
                op.kind = TMetafileOp::StretchDib;
                op.style = Get32(r);
                op.source = ::Bounds(I16At(r + 12), I16At(r + 10), I16At(r + 8), I16At(r + 6));
                op.rect = ::Bounds(I16At(r + 20), I16At(r + 18), I16At(r + 16), I16At(r + 14));
                op.dib.assign(r + 22, r + len);
                CheckDib(op.dib, 0);
                op.hatch = static_cast<uint32_t>(gfx::DibBitsOffset(op.dib.data(), op.dib.size()));  // bits follow the colour table
                break;
            }
            default: add = false; break;
        }
        if (add) FOps.push_back(std::move(op));
        if (pos < b.size()) pos += words * 2ull;
    }
    TRect frame = placeable ? bbox : ::Bounds(org.X, org.Y, ext.X, ext.Y);
    if (placeable && inch != 96 && !frame.IsEmpty()) {
        // Placeable units to pixels at 96 per inch; the records stay in their own units and are
        // mapped through the frame at playback.
        FWidth = static_cast<int>(std::lround(frame.Width() * 96.0 / inch));
        FHeight = static_cast<int>(std::lround(frame.Height() * 96.0 / inch));
    }
    FFrame = frame;
    FBounds = frame;
}
