// Recording what is drawn on a canvas as metafile operations.
#include "platform/ui/MetafileFormat.h"

using namespace metafile;

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

