// Metafile recording, the EMF and WMF file formats, and playback.
#include "platform/ui/Metafile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <istream>
#include <iterator>
#include <map>
#include <ostream>

#include "platform/ui/GraphicsBmp.h"

using namespace gfx;

namespace {

// Record types of the enhanced format.
enum : uint32_t {
    EMR_HEADER = 1, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_EOF = 14, EMR_SETPIXELV = 15, EMR_SETBKMODE = 18,
    EMR_SETROP2 = 20, EMR_SETTEXTCOLOR = 24, EMR_SETTEXTALIGN = 22, EMR_SETBKCOLOR = 25, EMR_MOVETOEX = 27, EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43, EMR_ROUNDRECT = 44, EMR_ARC = 45, EMR_CHORD = 46, EMR_PIE = 47, EMR_LINETO = 54,
    EMR_STRETCHDIBITS = 81, EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTW = 84, EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87, EMR_EXTSELECTCLIPRGN = 75,
};
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

// Functions of the older format.
enum : uint16_t {
    META_EOF = 0x0000, META_SETBKCOLOR = 0x0201, META_SETBKMODE = 0x0102, META_SETROP2 = 0x0104,
    META_SETTEXTCOLOR = 0x0209, META_SETTEXTALIGN = 0x012E, META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C, META_LINETO = 0x0213,
    META_MOVETO = 0x0214, META_SELECTOBJECT = 0x012D, META_DELETEOBJECT = 0x01F0, META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B, META_SETPIXEL = 0x041F, META_ROUNDRECT = 0x061C, META_ARC = 0x0817,
    META_PIE = 0x081A, META_CHORD = 0x0830, META_POLYGON = 0x0324, META_POLYLINE = 0x0325,
    META_EXTTEXTOUT = 0x0A32, META_CREATEPENINDIRECT = 0x02FA, META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC, META_STRETCHDIB = 0x0F43, META_SAVEDC = 0x001E, META_RESTOREDC = 0x0127,
    META_INTERSECTCLIPRECT = 0x0416,
};

// Reference device of the recordings: 96 pixels per inch exactly.
constexpr int kDevW = 1440, kDevH = 960, kDevMmW = 381, kDevMmH = 254;

int PxToHmm(int px) { return static_cast<int>(std::lround(px * 2540.0 / 96.0)); }
int HmmToPx(int hmm) { return static_cast<int>(std::lround(hmm * 96.0 / 2540.0)); }

const uint8_t kR2OfMode[16] = {1, 16, 11, 6, 13, 4, 14, 5, 12, 3, 15, 2, 9, 8, 7, 10};
TPenMode ModeOfR2(uint32_t r2) {
    for (int i = 0; i < 16; ++i)
        if (kR2OfMode[i] == r2) return static_cast<TPenMode>(i);
    return pmCopy;
}

struct Writer {
    std::vector<uint8_t> v;
    void U8(uint8_t x) { v.push_back(x); }
    void U16(uint32_t x) { Put16(v, x); }
    void U32(uint32_t x) { Put32(v, x); }
    void I32(int32_t x) { Put32(v, static_cast<uint32_t>(x)); }
    void I16(int32_t x) { Put16(v, static_cast<uint16_t>(static_cast<int16_t>(x))); }
    void Pad4() { while (v.size() % 4) v.push_back(0); }
    void Pad2() { if (v.size() % 2) v.push_back(0); }
};

int32_t I32At(const uint8_t* p) { return static_cast<int32_t>(Get32(p)); }
int16_t I16At(const uint8_t* p) { return static_cast<int16_t>(Get16(p)); }
// Values of the enhanced format, held to a range in which the inclusive-to-exclusive step, sizes
// and the mapping at playback cannot overflow; a real picture stays far inside it.
constexpr int32_t kMaxCoord = 1 << 27;
int32_t CoordAt(const uint8_t* p) { return std::clamp(I32At(p), -kMaxCoord, kMaxCoord); }

bool FitsInt16(const TPoint& p) { return p.X >= -32768 && p.X <= 32767 && p.Y >= -32768 && p.Y <= 32767; }

String ReadUtf16(const uint8_t* p, size_t chars) {
    String s;
    for (size_t i = 0; i < chars; ++i) {
        char16_t c = static_cast<char16_t>(Get16(p + 2 * i));
        s.push_back(c);
    }
    return s;
}

// A damaged bitmap in a record is refused with the file rather than at playback, where the
// exception would leave the target's pen, brush, font and saved state changed.
void CheckDib(const std::vector<uint8_t>& dib, size_t bitsOffset) {
    TBitmap probe;
    gfx::DecodeDib(dib.data(), dib.size(), bitsOffset, probe);
}

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

bool IsEnhancedMetafile(const uint8_t* data, size_t size) {
    return size >= 88 && Get32(data) == EMR_HEADER && Get32(data + 40) == kEmfSignature;
}

bool IsMetafile(const uint8_t* data, size_t size) {
    if (IsEnhancedMetafile(data, size)) return true;
    // The older format, with its placeable header or starting with its own (type, 9 words).
    return size >= 18 && (Get32(data) == kPlaceableKey || (Get16(data) <= 2 && Get16(data + 2) == 9));
}

// TMetafile --------------------------------------------------------------------------------------

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

void TMetafile::Clear() {
    FOps.clear();
    FBounds = TRect();
    FFrame = TRect();
    FWidth = FHeight = 0;
    FDescription.clear();
    Changed();
}

void TMetafile::Assign(const TPersistent* Source) {
    if (!Source) {
        Clear();
        return;
    }
    if (auto* m = dynamic_cast<const TMetafile*>(Source)) {
        if (m == this) return;
        FOps = m->FOps;
        FBounds = m->FBounds;
        FFrame = m->FFrame;
        FWidth = m->FWidth;
        FHeight = m->FHeight;
        FEnhanced = m->FEnhanced;
        FInch = m->FInch;
        FDescription = m->FDescription;
        Changed();
        return;
    }
    if (auto* g = dynamic_cast<const TGraphic*>(Source)) {
        auto* graphic = const_cast<TGraphic*>(g);
        FOps.clear();
        FWidth = graphic->Width();
        FHeight = graphic->Height();
        {
            TMetafileCanvas c(this);
            c.Draw(0, 0, graphic);
        }
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

int TMetafile::Width() const { return FWidth ? FWidth : FFrame.Width(); }
int TMetafile::Height() const { return FHeight ? FHeight : FFrame.Height(); }
void TMetafile::SetWidth(int value) {
    FWidth = std::max(0, value);
    FFrame.Right = FFrame.Left + FWidth;
    Changed();
}
void TMetafile::SetHeight(int value) {
    FHeight = std::max(0, value);
    FFrame.Bottom = FFrame.Top + FHeight;
    Changed();
}
int TMetafile::MMWidth() const { return PxToHmm(Width()); }
int TMetafile::MMHeight() const { return PxToHmm(Height()); }
void TMetafile::SetMMWidth(int value) { SetWidth(HmmToPx(value)); }
void TMetafile::SetMMHeight(int value) { SetHeight(HmmToPx(value)); }

void TMetafile::SaveToFile(const String& fileName) {
    std::string s = fileName.ToUtf8();
    std::string ext = s.size() >= 4 ? s.substr(s.size() - 4) : "";
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    FEnhanced = ext != ".wmf";
    TGraphic::SaveToFile(fileName);
}

void TMetafile::SaveToStream(std::ostream& stream) {
    std::vector<uint8_t> b = FEnhanced ? EmfBytes() : WmfBytes();
    stream.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    if (!stream) throw EWriteError(String("Stream write error"));
}

void TMetafile::LoadFromStream(std::istream& stream) {
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    FOps.clear();
    FBounds = FFrame = TRect();
    FWidth = FHeight = 0;
    if (IsEnhancedMetafile(b.data(), b.size())) {
        FEnhanced = true;
        ParseEmf(b);
    } else if (IsMetafile(b.data(), b.size())) {
        FEnhanced = false;
        ParseWmf(b);
    } else {
        throw EInvalidGraphic(String("Metafile is not valid"));
    }
    Changed();
}

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
    TRect frame = FFrame;
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
                op.text = ReadUtf16(f + 28, 32);
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
        if (add) FOps.push_back(std::move(op));
        pos += size;
        if (type == EMR_EOF) break;
    }
}

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
    TRect frame = FFrame.IsEmpty() ? FBounds : FFrame;
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
                    for (const TRect& q : op.rects) UnionRect(&bound, &bound, &q);
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
    p.U32(kPlaceableKey);
    p.U16(0);
    p.I16(frame.Left); p.I16(frame.Top); p.I16(frame.Right); p.I16(frame.Bottom);
    p.U16(static_cast<uint32_t>(FInch));
    p.U32(0);
    uint16_t sum = 0;
    for (size_t i = 0; i < 10; ++i) sum ^= Get16(p.v.data() + 2 * i);
    p.U16(sum);
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
                TRect q(I16At(r + 6), I16At(r + 4), I16At(r + 2), I16At(r));
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
                for (size_t i = 18; i < len && i < 18 + 32 && r[i]; ++i) face.push_back(static_cast<char>(r[i]));
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
    if (placeable && inch != 96) {
        // Placeable units to pixels at 96 per inch; the records stay in their own units and are
        // mapped through the frame at playback.
        FWidth = static_cast<int>(std::lround(frame.Width() * 96.0 / inch));
        FHeight = static_cast<int>(std::lround(frame.Height() * 96.0 / inch));
    }
    FFrame = frame;
    FBounds = frame;
}

// Playback -----------------------------------------------------------------------------------------

void TMetafile::Draw(TCanvas* canvas, const TRect& rect) {
    TRect frame = FFrame.IsEmpty() ? FBounds : FFrame;
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

// Recording ----------------------------------------------------------------------------------------

struct TMetafileCanvas::Recorder {
    std::vector<TMetafileOp> ops;
    TRect bounds;
    std::vector<bool> used;  // slot i holds object i + 1
    uint32_t pen = 0, brush = 0, font = 0;
    TMetafileOp penOp, brushOp, fontOp;  // what is selected, to compare
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    uint32_t rop2 = 13;
    UINT textAlign = 0;

    uint32_t Alloc() {
        size_t i = 0;
        while (i < used.size() && used[i]) ++i;
        if (i == used.size()) used.push_back(true); else used[i] = true;
        return static_cast<uint32_t>(i + 1);
    }
    void Grow(TRect r) {
        if (r.Right < r.Left) std::swap(r.Left, r.Right);
        if (r.Bottom < r.Top) std::swap(r.Top, r.Bottom);
        if (r.IsEmpty()) return;
        if (bounds.IsEmpty()) bounds = r;
        else UnionRect(&bounds, &bounds, &r);
    }
    void GrowPoints(const std::vector<TPoint>& pts, int penWidth) {
        for (const TPoint& p : pts) {
            int h = std::max(1, penWidth) / 2;
            Grow(TRect(p.X - h, p.Y - h, p.X + h + 1, p.Y + h + 1));
        }
    }
    static bool SamePen(const TMetafileOp& a, const TMetafileOp& b) {
        return a.style == b.style && a.width == b.width && a.color == b.color;
    }
    static bool SameBrush(const TMetafileOp& a, const TMetafileOp& b) {
        return a.style == b.style && a.color == b.color && a.hatch == b.hatch;
    }
    static bool SameFont(const TMetafileOp& a, const TMetafileOp& b) {
        return a.width == b.width && a.weight == b.weight && a.italic == b.italic && a.underline == b.underline &&
               a.strikeOut == b.strikeOut && a.charset == b.charset && a.orientation == b.orientation &&
               a.pitch == b.pitch && a.text == b.text;
    }
    // Creates and selects the object when it differs from the selected one, then frees the old.
    void Use(TMetafileOp want, uint32_t& current, TMetafileOp& currentOp, bool (*same)(const TMetafileOp&, const TMetafileOp&)) {
        if (current && same(want, currentOp)) return;
        want.index = Alloc();
        ops.push_back(want);
        TMetafileOp sel;
        sel.kind = TMetafileOp::Select;
        sel.index = want.index;
        ops.push_back(sel);
        if (current) {
            TMetafileOp del;
            del.kind = TMetafileOp::Delete;
            del.index = current;
            ops.push_back(del);
            used[current - 1] = false;
        }
        current = want.index;
        currentOp = want;
    }
    void Pen(TCanvas* c) {
        TPen* p = c->Pen();
        TMetafileOp o;
        o.kind = TMetafileOp::CreatePen;
        static const uint32_t styles[7] = {0, 1, 2, 3, 4, 5, 6};
        bool none = p->Style() == psClear || p->Color() == clNone || p->Mode() == pmNop;
        o.style = none ? 5 : styles[p->Style()];
        o.width = p->Width();
        o.color = static_cast<COLORREF>(ColorToRGB(p->Color())) & 0xFFFFFF;
        Use(o, pen, penOp, SamePen);
        uint32_t r2 = kR2OfMode[p->Mode()];
        if (r2 != rop2) {
            TMetafileOp m;
            m.kind = TMetafileOp::SetRop2;
            m.style = r2;
            ops.push_back(m);
            rop2 = r2;
        }
    }
    void NullPen() {
        TMetafileOp o;
        o.kind = TMetafileOp::CreatePen;
        o.style = 5;
        o.width = 1;
        Use(o, pen, penOp, SamePen);
    }
    void Brush(TCanvas* c) {
        TBrush* b = c->Brush();
        TMetafileOp o;
        o.kind = TMetafileOp::CreateBrush;
        if (!b->Bitmap() && (b->Style() == bsClear || b->Color() == clNone)) {
            o.style = 1;
        } else {
            o.color = static_cast<COLORREF>(ColorToRGB(b->Color())) & 0xFFFFFF;
            if (!b->Bitmap() && b->Style() >= bsHorizontal) {
                o.style = 2;
                o.hatch = static_cast<uint32_t>(b->Style() - bsHorizontal);
            }
        }
        Use(o, brush, brushOp, SameBrush);
    }
    void SolidBrush(TColor color) {
        TMetafileOp o;
        o.kind = TMetafileOp::CreateBrush;
        o.color = static_cast<COLORREF>(ColorToRGB(color)) & 0xFFFFFF;
        Use(o, brush, brushOp, SameBrush);
    }
    void Font(TCanvas* c) {
        TFont* f = c->Font();
        TMetafileOp o;
        o.kind = TMetafileOp::CreateFont;
        o.width = f->Height();
        o.weight = f->Style().Contains(fsBold) ? 700 : 400;
        o.italic = f->Style().Contains(fsItalic);
        o.underline = f->Style().Contains(fsUnderline);
        o.strikeOut = f->Style().Contains(fsStrikeOut);
        o.charset = f->Charset();
        o.orientation = f->Orientation();
        o.pitch = f->Pitch() == fpFixed ? 1 : f->Pitch() == fpVariable ? 2 : 0;
        o.text = f->Name();
        Use(o, font, fontOp, SameFont);
    }
    void TextState(HDC dc) {
        COLORREF tc = GetTextColor(dc), bc = GetBkColor(dc);
        int bm = GetBkMode(dc);
        if (tc != textColor) { TMetafileOp o; o.kind = TMetafileOp::SetTextColor; o.color = tc; ops.push_back(o); textColor = tc; }
        if (bc != bkColor) { TMetafileOp o; o.kind = TMetafileOp::SetBkColor; o.color = bc; ops.push_back(o); bkColor = bc; }
        if (bm != bkMode) { TMetafileOp o; o.kind = TMetafileOp::SetBkMode; o.style = static_cast<uint32_t>(bm); ops.push_back(o); bkMode = bm; }
        UINT ta = GetTextAlign(dc);
        if (ta != textAlign) { TMetafileOp o; o.kind = TMetafileOp::SetTextAlign; o.style = ta; ops.push_back(o); textAlign = ta; }
    }
};

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile, HDC referenceDevice)
    : TMetafileCanvas(metafile, referenceDevice, String(), String()) {}

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile, HDC, const String& creatorName, const String& description)
    : FRec(std::make_unique<Recorder>()), FMetafile(metafile) {
    if (FMetafile && (!creatorName.empty() || !description.empty()))
        FMetafile->FDescription = creatorName + String(u"\0", 1) + description;
}

TMetafileCanvas::~TMetafileCanvas() {
    if (!FMetafile) return;
    FMetafile->FOps = std::move(FRec->ops);
    FMetafile->FBounds = FRec->bounds;
    if (FMetafile->FWidth > 0 && FMetafile->FHeight > 0) FMetafile->FFrame = Rect(0, 0, FMetafile->FWidth, FMetafile->FHeight);
    else FMetafile->FFrame = FRec->bounds;
    try {
        FMetafile->Changed();
    } catch (...) {
        // A destructor must not throw; the metafile holds the recording regardless.
    }
}

void TMetafileCanvas::MoveTo(int X, int Y) {
    TCanvas::MoveTo(X, Y);
    TMetafileOp o;
    o.kind = TMetafileOp::MoveTo;
    o.p1 = TPoint(X, Y);
    FRec->ops.push_back(o);
}

void TMetafileCanvas::LineTo(int X, int Y) {
    TPoint from = PenPos();
    TCanvas::MoveTo(X, Y);
    FRec->Pen(this);
    TMetafileOp o;
    o.kind = TMetafileOp::LineTo;
    o.p1 = TPoint(X, Y);
    FRec->ops.push_back(o);
    FRec->GrowPoints({from, TPoint(X, Y)}, Pen()->Width());
}

void TMetafileCanvas::Polyline(const TPoint* points, int count) {
    if (!points || count < 2) return;
    FRec->Pen(this);
    TMetafileOp o;
    o.kind = TMetafileOp::Polyline;
    o.points.assign(points, points + count);
    FRec->GrowPoints(o.points, Pen()->Width());
    FRec->ops.push_back(std::move(o));
}

void TMetafileCanvas::Polygon(const TPoint* points, int count) {
    if (!points || count < 2) return;
    FRec->Pen(this);
    FRec->Brush(this);
    TMetafileOp o;
    o.kind = TMetafileOp::Polygon;
    o.points.assign(points, points + count);
    FRec->GrowPoints(o.points, Pen()->Width());
    FRec->ops.push_back(std::move(o));
}

void TMetafileCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    FRec->Pen(this);
    FRec->Brush(this);
    TMetafileOp o;
    o.kind = TMetafileOp::Rectangle;
    o.rect = TRect(X1, Y1, X2, Y2);
    FRec->Grow(o.rect);
    FRec->ops.push_back(o);
}

void TMetafileCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
    FRec->Pen(this);
    FRec->Brush(this);
    TMetafileOp o;
    o.kind = TMetafileOp::RoundRect;
    o.rect = TRect(X1, Y1, X2, Y2);
    o.p1 = TPoint(X3, Y3);
    FRec->Grow(o.rect);
    FRec->ops.push_back(o);
}

void TMetafileCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    FRec->Pen(this);
    FRec->Brush(this);
    TMetafileOp o;
    o.kind = TMetafileOp::Ellipse;
    o.rect = TRect(X1, Y1, X2, Y2);
    FRec->Grow(o.rect);
    FRec->ops.push_back(o);
}


void TMetafileCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    FRec->Pen(this);
    TMetafileOp o;
    o.kind = TMetafileOp::Arc;
    o.rect = TRect(X1, Y1, X2, Y2);
    o.p1 = TPoint(X3, Y3);
    o.p2 = TPoint(X4, Y4);
    FRec->Grow(o.rect);
    FRec->ops.push_back(o);
}

void TMetafileCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    FRec->Pen(this);
    FRec->Brush(this);
    TMetafileOp o;
    o.kind = TMetafileOp::Chord;
    o.rect = TRect(X1, Y1, X2, Y2);
    o.p1 = TPoint(X3, Y3);
    o.p2 = TPoint(X4, Y4);
    FRec->Grow(o.rect);
    FRec->ops.push_back(o);
}

void TMetafileCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    FRec->Pen(this);
    FRec->Brush(this);
    TMetafileOp o;
    o.kind = TMetafileOp::Pie;
    o.rect = TRect(X1, Y1, X2, Y2);
    o.p1 = TPoint(X3, Y3);
    o.p2 = TPoint(X4, Y4);
    FRec->Grow(o.rect);
    FRec->ops.push_back(o);
}

void TMetafileCanvas::FillSolid(const TRect& rect, TColor color) {
    if (rect.IsEmpty() || color == clNone) return;
    // A rectangle without pen fills one pixel less to the right and bottom.
    FRec->NullPen();
    FRec->SolidBrush(color);
    TMetafileOp o;
    o.kind = TMetafileOp::Rectangle;
    o.rect = TRect(rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1);
    FRec->Grow(rect);
    FRec->ops.push_back(o);
}

void TMetafileCanvas::FillRect(const TRect& rect) {
    TBrush* b = Brush();
    if (rect.IsEmpty() || (!b->Bitmap() && (b->Style() == bsClear || b->Color() == clNone))) return;
    FRec->NullPen();
    FRec->Brush(this);
    TMetafileOp o;
    o.kind = TMetafileOp::Rectangle;
    o.rect = TRect(rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1);
    FRec->Grow(rect);
    FRec->ops.push_back(o);
}

void TMetafileCanvas::FrameRect(const TRect& r) {
    TBrush* b = Brush();
    if (r.IsEmpty() || b->Style() == bsClear || b->Color() == clNone) return;
    FillSolid(TRect(r.Left, r.Top, r.Right, r.Top + 1), b->Color());
    FillSolid(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom), b->Color());
    FillSolid(TRect(r.Left, r.Top, r.Left + 1, r.Bottom), b->Color());
    FillSolid(TRect(r.Right - 1, r.Top, r.Right, r.Bottom), b->Color());
}

void TMetafileCanvas::ExtTextOutImpl(int X, int Y, const String& text, const TRect* clip, const TRect* opaque) {
    HDC dc = Handle();
    FRec->Font(this);
    FRec->TextState(dc);
    TMetafileOp o;
    o.kind = TMetafileOp::Text;
    o.p1 = TPoint(X, Y);
    o.text = text;
    if (clip) { o.style |= ETO_CLIPPED; o.rect = *clip; }
    if (opaque) { o.style |= ETO_OPAQUE; o.rect = *opaque; }
    // Advances, so that other players place the characters where our fonts put them.
    int prev = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        int w = TextWidth(String(text.substr(0, i + 1)));
        o.points.emplace_back(w - prev, 0);
        prev = w;
    }
    TSize ext = TextExtent(text);
    // The box around the text, from the reference point and the text alignment.
    UINT ta = GetTextAlign(dc);
    int bx = X, by = Y;
    if ((ta & TA_CENTER) == TA_CENTER) bx -= ext.cx / 2;
    else if (ta & TA_RIGHT) bx -= ext.cx;
    if ((ta & TA_BASELINE) == TA_BASELINE) {
        TEXTMETRIC tm;
        GetTextMetrics(dc, &tm);
        by -= tm.tmAscent;
    } else if (ta & TA_BOTTOM) {
        by -= ext.cy;
    }
    TRect box(bx, by, bx + ext.cx, by + ext.cy);
    if (clip) IntersectRect(&box, &box, clip);
    FRec->Grow(box);
    if (opaque) FRec->Grow(*opaque);
    if (o.rect.IsEmpty() && !(o.style & (ETO_CLIPPED | ETO_OPAQUE))) o.rect = TRect(bx, by, bx + ext.cx, by + ext.cy);
    FRec->ops.push_back(std::move(o));
}

void TMetafileCanvas::DrawBitmapImpl(const TRect& dest, TBitmap* bitmap, const TRect& source, bool, TColor, bool) {
    if (!bitmap || bitmap->Empty() || dest.IsEmpty()) return;
    TBitmap part;
    TBitmap* src = bitmap;
    if (source != Rect(0, 0, bitmap->Width(), bitmap->Height())) {
        part.SetPixelFormat(pf24bit);
        part.SetSize(source.Width(), source.Height());
        part.Canvas()->CopyRect(Rect(0, 0, source.Width(), source.Height()), bitmap->Canvas(), source);
        src = &part;
    }
    TMetafileOp o;
    o.kind = TMetafileOp::StretchDib;
    size_t header = 0;
    o.dib = gfx::EncodeDib(*src, &header);
    o.hatch = static_cast<uint32_t>(header);
    o.rect = dest;
    o.source = Rect(0, 0, src->Width(), src->Height());
    o.style = CopyMode();
    FRec->Grow(dest);
    FRec->ops.push_back(std::move(o));
}

bool TMetafileCanvas::StretchBltImpl(int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh,
                                     DWORD rop) {
    TRect dest(x, y, x + w, y + h);
    if (dest.IsEmpty()) return true;  // mirrored transfers are not recorded
    switch (static_cast<uint8_t>(rop >> 16)) {
        case 0xF0: FillRect(dest); return true;           // PATCOPY
        case 0x00: FillSolid(dest, clBlack); return true;  // BLACKNESS
        case 0xFF: FillSolid(dest, clWhite); return true;  // WHITENESS
        default: break;
    }
    if (!src || !src->Bitmap() || sw <= 0 || sh <= 0) return false;
    // The source area as a bitmap of its own, recorded with the transfer's raster operation.
    TBitmap part;
    part.SetPixelFormat(src->Bitmap()->Monochrome() ? pf1bit : pf24bit);
    part.SetSize(sw, sh);
    part.Canvas()->CopyRect(Rect(0, 0, sw, sh), src, Rect(sx, sy, sx + sw, sy + sh));
    TCopyMode old = CopyMode();
    SetCopyMode(rop);
    DrawBitmapImpl(dest, &part, Rect(0, 0, sw, sh), false, clNone, false);
    SetCopyMode(old);
    return true;
}

void TMetafileCanvas::ClipChanged() {
    bool clipped = false;
    TMetafileOp o;
    o.kind = TMetafileOp::SelectClip;
    o.rects = GetClipRegionRects(Handle(), &clipped);
    o.style = clipped ? 1 : 0;
    FRec->ops.push_back(std::move(o));
}
