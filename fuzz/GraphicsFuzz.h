#pragma once
// Shared by the picture fuzz targets: every input is loaded into a graphic, and what loads is drawn
// at its own size and stretched onto a small bitmap, as a form would show it. The checking targets
// also compare pictures: bitmaps by their pixels, metafiles by their records and by what they
// play back.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/GraphicsBmp.h"
#include "platform/ui/Metafile.h"

namespace fuzzing {

inline TBitmap& Target() {
    static TBitmap* target = [] {
        qtb::EnsureApplication();
        return new TBitmap(64, 48, pf24bit);  // lives for the whole run
    }();
    return *target;
}

inline void DrawAll(TGraphic& g) {
    TCanvas* c = Target().Canvas();
    c->Draw(0, 0, &g);
    c->StretchDraw(Rect(2, 3, 60, 45), &g);
    c->StretchDraw(Rect(60, 45, 4, 2), &g);  // mirrored
}

// Loads the bytes into g and draws it; refusals of damaged data are the expected outcome. Answers
// whether it loaded and drew.
inline bool LoadAndDraw(TGraphic& g, const uint8_t* data, size_t size) {
    try {
        g.LoadFromBytes(std::vector<uint8_t>(data, data + size));
    } catch (const Exception&) {
        return false;
    }
    try {
        DrawAll(g);
    } catch (const EInvalidGraphic&) {
        return false;  // pixel data that only shows its damage when decoded
    }
    return true;
}

// ---- bitmaps ----

// The pixels as blue, green, red rows, whatever the bitmap's format.
inline std::vector<uint8_t> Rgb(TBitmap& b) {
    TBitmap copy;
    copy.Assign(&b);
    copy.SetPixelFormat(pf24bit);
    std::vector<uint8_t> out;
    const size_t row = static_cast<size_t>(copy.Width()) * 3;
    out.reserve(row * static_cast<size_t>(copy.Height()));
    for (int y = 0; y < copy.Height(); ++y) {
        const auto* p = static_cast<const uint8_t*>(copy.ScanLine(y));
        out.insert(out.end(), p, p + row);
    }
    return out;
}

// The format a bitmap of this format is written in: the .bmp writer keeps 1, 8, 24 and 32 bits
// a pixel and widens the others (4 bits to 8, 15 and 16 to 24), which loses no pixel.
inline TPixelFormat WrittenFormat(TPixelFormat pf) {
    switch (pf) {
        case pf1bit:
        case pf8bit:
        case pf32bit: return pf;
        case pf4bit: return pf8bit;
        default: return pf24bit;
    }
}

// Saved as a .bmp file and loaded again: the same size and pixels (their alpha too when 32-bit),
// in the format the writer keeps.
inline void CheckBitmapRoundTrip(TBitmap& bmp) {
    TBitmap back;
    try {
        back.LoadFromBytes(bmp.SaveToBytes());
    } catch (const Exception&) {
        std::abort();
    }
    if (back.Width() != bmp.Width() || back.Height() != bmp.Height() || back.PixelFormat() != WrittenFormat(bmp.PixelFormat()))
        std::abort();
    if (bmp.PixelFormat() == pf32bit)
        for (int y = 0; y < bmp.Height(); ++y) {
            const auto* a = static_cast<const uint8_t*>(bmp.ScanLine(y));
            if (!std::equal(a, a + 4 * bmp.Width(), static_cast<const uint8_t*>(back.ScanLine(y)))) std::abort();
        }
    if (Rgb(bmp) != Rgb(back)) std::abort();
}

// ---- metafiles ----

// What the metafile plays back onto a white 64 x 48 bitmap of its own, its frame stretched over it.
inline std::vector<uint8_t> Played(TMetafile& mf) {
    Target();
    TBitmap b(64, 48, pf24bit);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, 64, 48));
    b.Canvas()->StretchDraw(Rect(0, 0, 64, 48), &mf);
    return Rgb(b);
}

// The clip in force: off, or the non-empty rectangles of its region.
struct ClipState {
    bool on = false;
    std::vector<TRect> rects;
    bool operator==(const ClipState& o) const {
        return on == o.on && rects.size() == o.rects.size() && std::equal(rects.begin(), rects.end(), o.rects.begin(),
                                                                            [](const TRect& a, const TRect& b) {
                                                                                return a.Left == b.Left && a.Top == b.Top &&
                                                                                       a.Right == b.Right && a.Bottom == b.Bottom;
                                                                            });
    }
};

inline bool SamePoint(TPoint a, TPoint b) { return a.X == b.X && a.Y == b.Y; }
inline bool SameRect(const TRect& a, const TRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

// A bitmap record's pixels, as its reader takes them.
inline std::vector<uint8_t> DibPixels(const TMetafileOp& op) {
    TBitmap b;
    gfx::DecodeDib(op.dib.data(), op.dib.size(), op.hatch, b);
    return Rgb(b);
}

// The fields each kind of record carries in both formats.
inline bool SameOp(const TMetafileOp& a, const TMetafileOp& b) {
    if (a.kind != b.kind) return false;
    using K = TMetafileOp;
    switch (a.kind) {
        case K::MoveTo:
        case K::LineTo: return SamePoint(a.p1, b.p1);
        case K::SetPixel: return SamePoint(a.p1, b.p1) && a.color == b.color;
        case K::Polyline:
        case K::Polygon:
            return a.points.size() == b.points.size() &&
                   std::equal(a.points.begin(), a.points.end(), b.points.begin(), SamePoint);
        case K::Rectangle:
        case K::Ellipse: return SameRect(a.rect, b.rect);
        case K::RoundRect: return SameRect(a.rect, b.rect) && SamePoint(a.p1, b.p1);
        case K::Arc:
        case K::Chord:
        case K::Pie: return SameRect(a.rect, b.rect) && SamePoint(a.p1, b.p1) && SamePoint(a.p2, b.p2);
        case K::CreatePen: return a.index == b.index && a.style == b.style && a.color == b.color && a.width == b.width;
        case K::CreateBrush: return a.index == b.index && a.style == b.style && a.color == b.color && a.hatch == b.hatch;
        case K::CreateFont:
            return a.index == b.index && a.width == b.width && a.orientation == b.orientation && a.weight == b.weight &&
                   a.italic == b.italic && a.underline == b.underline && a.strikeOut == b.strikeOut &&
                   a.charset == b.charset && a.pitch == b.pitch && a.text == b.text;
        case K::Select:
        case K::Delete: return a.index == b.index;
        case K::SetTextColor:
        case K::SetBkColor: return a.color == b.color;
        case K::SetBkMode:
        case K::SetRop2:
        case K::SetTextAlign: return a.style == b.style;
        case K::Text:
            // The rectangle counts where the options use it.
            return SamePoint(a.p1, b.p1) && a.style == b.style && a.text == b.text &&
                   (!(a.style & (ETO_CLIPPED | ETO_OPAQUE)) || SameRect(a.rect, b.rect));
        case K::StretchDib:
            return SameRect(a.rect, b.rect) && SameRect(a.source, b.source) && a.style == b.style &&
                   DibPixels(a) == DibPixels(b);
        case K::SelectClip: return true;  // compared as the clip in force
    }
    return false;
}

// The same records in the same order, each under the same clip. Clip records themselves may
// differ where they change nothing (one format restores the clip before setting the next); a
// polyline or polygon without points draws nothing and may be dropped.
inline bool SameRecords(const std::vector<TMetafileOp>& a, const std::vector<TMetafileOp>& b) {
    auto next = [](const std::vector<TMetafileOp>& ops, size_t& i, ClipState& clip) -> const TMetafileOp* {
        for (; i < ops.size(); ++i) {
            const TMetafileOp& op = ops[i];
            if (op.kind == TMetafileOp::SelectClip) {
                clip.on = op.style != 0;
                clip.rects.clear();
                if (clip.on)
                    for (const TRect& r : op.rects)
                        if (!r.IsEmpty()) clip.rects.push_back(r);
                continue;
            }
            if ((op.kind == TMetafileOp::Polyline || op.kind == TMetafileOp::Polygon) && op.points.empty()) continue;
            return &ops[i++];
        }
        return nullptr;
    };
    size_t i = 0, j = 0;
    ClipState ca, cb;
    for (;;) {
        const TMetafileOp* x = next(a, i, ca);
        const TMetafileOp* y = next(b, j, cb);
        if (!x || !y) return !x && !y;
        if (!(ca == cb) || !SameOp(*x, *y)) return false;
    }
}

// A text as the older format keeps it: CP932 bytes, at most limit of them and up to a NUL, read
// back as UTF-8 where they are valid UTF-8 (as its reader takes them) and as CP932 otherwise.
inline String WmfText(const String& t, size_t limit) {
    std::string bytes = Utf16ToCp932(t);
    if (bytes.size() > limit) bytes.resize(limit);
    if (limit < 32767) bytes.resize(std::min(bytes.size(), bytes.find('\0')));
    return IsValidUtf8(bytes) ? String(bytes) : Cp932ToUtf16(bytes);
}

// The records as the older format keeps them: their texts as above. Answers whether any text
// changed on the way (then the pictures differ in their glyphs).
inline bool AsWmfKeepsThem(std::vector<TMetafileOp>& ops) {
    bool changed = false;
    for (TMetafileOp& op : ops) {
        if (op.kind != TMetafileOp::CreateFont && op.kind != TMetafileOp::Text) continue;
        String kept = WmfText(op.text, op.kind == TMetafileOp::CreateFont ? 31 : 32767);
        changed = changed || kept != op.text;
        op.text = std::move(kept);
    }
    return changed;
}

// Whether the older format holds everything of these records as they are: 16-bit coordinates,
// sizes and styles, texts of at most 32767 bytes, clips of one rectangle, and objects numbered as
// its reader numbers them (the lowest free slot). Texts are compared as it keeps them.
inline bool WmfHolds(const TMetafile& mf, const TRect& frame) {
    auto fits = [](int64_t v) { return v >= -32768 && v <= 32767; };
    auto point = [&](TPoint p) { return fits(p.X) && fits(p.Y); };
    auto rect = [&](const TRect& r) {
        return fits(r.Left) && fits(r.Top) && fits(r.Right) && fits(r.Bottom) && fits(int64_t{r.Right} - r.Left) &&
               fits(int64_t{r.Bottom} - r.Top);
    };
    if (!rect(frame)) return false;
    std::vector<bool> used;
    for (const TMetafileOp& op : mf.Ops()) {
        using K = TMetafileOp;
        for (TPoint p : op.points)
            if (!point(p)) return false;
        if (!rect(op.rect) || !point(op.p1) || !point(op.p2) || !rect(op.source)) return false;
        switch (op.kind) {
            case K::CreatePen:
            case K::CreateBrush:
            case K::CreateFont: {
                size_t slot = 0;
                while (slot < used.size() && used[slot]) ++slot;
                if (op.index != slot + 1) return false;
                if (slot == used.size()) used.push_back(true);
                else used[slot] = true;
                if (op.style > 0xFFFF || op.hatch > 0xFFFF || !fits(op.width)) return false;
                if (op.kind == K::CreateFont && (!fits(op.orientation) || !fits(op.weight))) return false;
                break;
            }
            case K::Delete:
                if (op.index == 0 || op.index > 0x10000) return false;
                if (op.index - 1 < used.size()) used[op.index - 1] = false;
                break;
            case K::Select:
                if (op.index == 0 || op.index > 0x10000) return false;
                break;
            case K::SetBkMode:
            case K::SetRop2:
            case K::SetTextAlign:
                if (op.style > 0xFFFF) return false;
                break;
            case K::Text:
                if (op.style > 0xFFFF || Utf16ToCp932(op.text).size() > 32767) return false;
                break;
            case K::SelectClip: {
                int shown = 0;
                for (const TRect& r : op.rects) {
                    if (!rect(r)) return false;
                    shown += !r.IsEmpty();
                }
                if (op.style && shown != 1) return false;
                break;
            }
            default: break;
        }
    }
    return true;
}

// The picture frame as the enhanced file writes it (in pixels); its bounds when it has none.
inline TRect FrameOf(const TMetafile& mf) {
    const std::vector<uint8_t> b = mf.EmfBytes();
    auto at = [&](size_t o) { return static_cast<int32_t>(gfx::Get32(b.data() + o)); };
    auto px = [](int32_t hmm) { return static_cast<int>(std::lround(hmm * 96.0 / 2540.0)); };
    TRect frame(px(at(24)), px(at(28)), px(at(32) + 1), px(at(36) + 1));
    return frame.IsEmpty() ? mf.Bounds() : frame;
}


// Loads bytes the program wrote: they must load.
inline void LoadWritten(TMetafile& mf, const std::vector<uint8_t>& bytes) {
    try {
        mf.LoadFromBytes(bytes);
    } catch (const Exception&) {
        std::abort();
    }
}

// Compares a metafile written and read back with the one it was written from: the same records
// (texts as the older format keeps them when that was the format), size and, unless a text
// changed, pixels.
inline void ExpectSame(TMetafile& mf, TMetafile& back, bool throughWmf) {
    std::vector<TMetafileOp> expected = mf.Ops();
    const bool textChanged = throughWmf && AsWmfKeepsThem(expected);
    if (!SameRecords(expected, back.Ops()) || mf.Width() != back.Width() || mf.Height() != back.Height()) std::abort();
    if (!textChanged && Played(mf) != Played(back)) std::abort();
}

// Written in the same format and read again, a metafile keeps its records, size and pixels.
inline void CheckSameFormat(TMetafile& mf) {
    TMetafile back;
    LoadWritten(back, mf.Enhanced() ? mf.EmfBytes() : mf.WmfBytes());
    ExpectSame(mf, back, !mf.Enhanced());
}

// Written in the other format and read again: an enhanced metafile keeps its records, size and
// pixels wherever the older format holds them all; an older one always.
inline void CheckOtherFormat(TMetafile& mf) {
    TMetafile back;
    LoadWritten(back, mf.Enhanced() ? mf.WmfBytes() : mf.EmfBytes());
    DrawAll(back);
    if (mf.Enhanced() && !WmfHolds(mf, FrameOf(mf))) return;
    ExpectSame(mf, back, mf.Enhanced());
}

}  // namespace fuzzing
