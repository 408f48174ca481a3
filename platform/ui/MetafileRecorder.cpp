// Recording what is drawn on a canvas as metafile operations: the metafile recorder is a canvas
// implementation, so a TMetafileCanvas keeps every rule of the canvas front and only the
// drawing itself becomes records.
#include "platform/ui/MetafileFormat.h"
#include "platform/ui/backend/Canvas.h"
#include "platform/ui/backend/Fonts.h"

using namespace metafile;

namespace ui {

class MetafileRecorder final : public CanvasImpl {
public:
    explicit MetafileRecorder(TCanvas& front) : FFront(front) {}

    std::vector<TMetafileOp> TakeOps() { return std::move(FOps); }
    // The area drawn, in pixels (inclusive-exclusive); empty when nothing was drawn.
    TRect Bounds() const { return FBounds; }

    // A recording has no surface to hold.
    void Lock() override {}
    void Unlock() override {}
    void SurfaceChanged(TBitmap*) override {}
    void SurfaceGone() override {}
    void ClipChanged() override {
        TMetafileOp o;
        o.kind = TMetafileOp::SelectClip;
        const TCanvasDcState& s = FFront.Dc().state;
        if (s.hasClip) o.rects = s.clip.Rects();
        o.style = s.hasClip ? 1 : 0;
        FOps.push_back(std::move(o));
    }

    void MoveTo(TPoint to) override {
        TMetafileOp o;
        o.kind = TMetafileOp::MoveTo;
        o.p1 = to;
        FOps.push_back(o);
    }
    bool LineTo(TPoint from, TPoint to) override {
        TMetafileOp o;
        o.kind = TMetafileOp::LineTo;
        o.p1 = to;
        return Record(std::move(o), kPen, std::vector<TPoint>{from, to});
    }
    bool Polyline(const TPoint* points, int count) override { return RecordPoints(TMetafileOp::Polyline, kPen, points, count); }
    bool Polygon(const TPoint* points, int count) override {
        return RecordPoints(TMetafileOp::Polygon, kPen | kBrush, points, count);
    }
    bool Shape(ShapeKind kind, const TRect& box, TPoint p1, TPoint p2) override {
        static const TMetafileOp::Kind kinds[] = {TMetafileOp::Rectangle, TMetafileOp::RoundRect, TMetafileOp::Ellipse,
                                                  TMetafileOp::Arc, TMetafileOp::Chord, TMetafileOp::Pie};
        TMetafileOp o;
        o.kind = kinds[static_cast<int>(kind)];
        o.rect = box;
        o.p1 = p1;
        o.p2 = p2;
        return Record(std::move(o), kind == ShapeKind::Arc ? kPen : kPen | kBrush, box);
    }
    bool FillRect(const TRect& rect) override {
        if (!BrushShows(*FFront.Brush()) || rect.IsEmpty()) return false;
        NullPen();
        Brush();
        return RecordFill(rect);
    }
    bool FrameRect(const TRect& r) override {
        TBrush* b = FFront.Brush();
        if (b->Style() == bsClear || b->Color() == clNone) return false;
        FillSolid(TRect(r.Left, r.Top, r.Right, r.Top + 1), b->Color());
        FillSolid(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom), b->Color());
        FillSolid(TRect(r.Left, r.Top, r.Left + 1, r.Bottom), b->Color());
        FillSolid(TRect(r.Right - 1, r.Top, r.Right, r.Bottom), b->Color());
        return false;
    }
    bool FillSolid(const TRect& rect, TColor color) override {
        if (rect.IsEmpty() || color == clNone) return false;
        NullPen();
        SolidBrush(color);
        return RecordFill(rect);
    }
    bool Records() const override { return true; }
    // The inverting focus frame: a dotted frame that inverts what is under it, as the player's
    // pen in the inverting mode draws it.
    bool FocusRect(const TRect& r) override;
    bool Text(TPoint at, const String& text, int width, const TRect* clip, const TRect* opaque) override;
    bool DrawBitmap(const TRect& dest, TBitmap& bitmap, const TRect& source, bool, TColor, bool) override {
        RecordBitmap(dest, bitmap, source, FFront.CopyMode());
        return false;
    }
    Transfer StretchBlt(int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh, DWORD rop) override;
    // The bitmap with the colour replaced by the brush's, as a picture of its own.
    bool BrushCopy(const TRect& dest, TBitmap& bitmap, const TRect& source, TColor color) override;
    // A recording has no pixels to read.
    TColor Pixel(TPoint) override { return static_cast<TColor>(CLR_INVALID); }
    bool SetPixel(TPoint at, TColor color) override {
        TMetafileOp o;
        o.kind = TMetafileOp::SetPixel;
        o.p1 = at;
        o.color = static_cast<COLORREF>(ColorToRGB(color)) & 0xFFFFFF;
        return Record(std::move(o), kNone, TRect(at.X, at.Y, at.X + 1, at.Y + 1));
    }
    // Left to the player, which has the pixels: what it covers is unknown here, so the bounds
    // stay as the rest of the drawing makes them.
    bool FloodFill(TPoint from, TColor color, TFillStyle style) override {
        Brush();
        TMetafileOp o;
        o.kind = TMetafileOp::FloodFill;
        o.p1 = from;
        o.color = static_cast<COLORREF>(ColorToRGB(color)) & 0xFFFFFF;
        o.style = style == fsSurface ? 1 : 0;
        FOps.push_back(std::move(o));
        return false;
    }

private:
    enum Uses : uint8_t { kNone = 0, kPen = 1, kBrush = 2 };

    // The one way a drawing is recorded: the front's pen and brush selected as it uses them, the
    // bounds grown by what it covers, and the operation appended. A recorder changes no pixels.
    bool Record(TMetafileOp op, uint8_t uses, const TRect& covers) {
        Select(uses);
        Grow(covers);
        FOps.push_back(std::move(op));
        return false;
    }
    bool Record(TMetafileOp op, uint8_t uses, const std::vector<TPoint>& through) {
        Select(uses);
        for (const TPoint& p : through) {
            int h = std::max(1, FFront.DevicePenWidth()) / 2;
            Grow(TRect(p.X - h, p.Y - h, p.X + h + 1, p.Y + h + 1));
        }
        FOps.push_back(std::move(op));
        return false;
    }
    bool RecordPoints(TMetafileOp::Kind kind, uint8_t uses, const TPoint* points, int count) {
        TMetafileOp o;
        o.kind = kind;
        o.points.assign(points, points + count);
        std::vector<TPoint> through = o.points;
        return Record(std::move(o), uses, through);
    }
    // A fill is a rectangle without a pen, which fills one pixel less to the right and bottom.
    bool RecordFill(const TRect& rect) {
        TMetafileOp o;
        o.kind = TMetafileOp::Rectangle;
        o.rect = TRect(rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1);
        return Record(std::move(o), kNone, rect);
    }
    void RecordBitmap(const TRect& dest, TBitmap& bitmap, const TRect& source, DWORD rop);
    void Select(uint8_t uses) {
        if (uses & kPen) Pen();
        if (uses & kBrush) Brush();
    }
    void Grow(TRect r) {
        if (r.Right < r.Left) std::swap(r.Left, r.Right);
        if (r.Bottom < r.Top) std::swap(r.Top, r.Bottom);
        if (r.IsEmpty()) return;
        if (FBounds.IsEmpty()) FBounds = r;
        else UnionRect(&FBounds, &FBounds, &r);
    }

    // Objects of the recording: slots are taken lowest first, as both formats number them.
    uint32_t Alloc() {
        size_t i = 0;
        while (i < FUsed.size() && FUsed[i]) ++i;
        if (i == FUsed.size()) FUsed.push_back(true);
        else FUsed[i] = true;
        return static_cast<uint32_t>(i + 1);
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
        FOps.push_back(want);
        TMetafileOp sel;
        sel.kind = TMetafileOp::Select;
        sel.index = want.index;
        FOps.push_back(sel);
        if (current) {
            TMetafileOp del;
            del.kind = TMetafileOp::Delete;
            del.index = current;
            FOps.push_back(del);
            FUsed[current - 1] = false;
        }
        current = want.index;
        currentOp = want;
    }
    void Pen() {
        TPen* p = FFront.Pen();
        TMetafileOp o;
        o.kind = TMetafileOp::CreatePen;
        o.style = PenShows(*p) ? static_cast<uint32_t>(p->Style()) : 5;  // PS_NULL
        o.width = FFront.DevicePenWidth();  // the recording is in pixels, whatever the mapping mode
        o.color = static_cast<COLORREF>(ColorToRGB(p->Color())) & 0xFFFFFF;
        Use(o, FPen, FPenOp, SamePen);
        Change(TMetafileOp::SetRop2, FRop2, uint32_t{kR2OfMode[p->Mode()]});
    }
    void NullPen() {
        TMetafileOp o;
        o.kind = TMetafileOp::CreatePen;
        o.style = 5;
        o.width = 1;
        Use(o, FPen, FPenOp, SamePen);
    }
    void Brush() {
        TBrush* b = FFront.Brush();
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
        Use(o, FBrush, FBrushOp, SameBrush);
    }
    void SolidBrush(TColor color) {
        TMetafileOp o;
        o.kind = TMetafileOp::CreateBrush;
        o.color = static_cast<COLORREF>(ColorToRGB(color)) & 0xFFFFFF;
        Use(o, FBrush, FBrushOp, SameBrush);
    }
    void Font() {
        TFont* f = FFront.Font();
        TMetafileOp o;
        o.kind = TMetafileOp::CreateFont;
        o.width = FFront.DeviceFontHeight();
        o.weight = f->Style().Contains(fsBold) ? 700 : 400;
        o.italic = f->Style().Contains(fsItalic);
        o.underline = f->Style().Contains(fsUnderline);
        o.strikeOut = f->Style().Contains(fsStrikeOut);
        o.charset = f->Charset();
        o.orientation = f->Orientation();
        o.pitch = f->Pitch() == fpFixed ? 1 : f->Pitch() == fpVariable ? 2 : 0;
        o.text = f->Name();
        Use(o, FFont, FFontOp, SameFont);
    }
    // Records a state setting when it differs from the recorded one.
    void Change(TMetafileOp::Kind kind, uint32_t& recorded, uint32_t value) {
        if (value == recorded) return;
        TMetafileOp o;
        o.kind = kind;
        (kind == TMetafileOp::SetTextColor || kind == TMetafileOp::SetBkColor ? o.color : o.style) = value;
        FOps.push_back(o);
        recorded = value;
    }
    void TextState() {
        const TCanvasDcState& s = FFront.Dc().state;
        Change(TMetafileOp::SetTextColor, FTextColor, s.textColor);
        Change(TMetafileOp::SetBkColor, FBkColor, s.bkColor);
        Change(TMetafileOp::SetBkMode, FBkMode, static_cast<uint32_t>(s.bkMode));
        Change(TMetafileOp::SetTextAlign, FTextAlign, s.textAlign);
    }

    TCanvas& FFront;
    std::vector<TMetafileOp> FOps;
    TRect FBounds;
    std::vector<bool> FUsed;  // slot i holds object i + 1
    uint32_t FPen = 0, FBrush = 0, FFont = 0;
    TMetafileOp FPenOp, FBrushOp, FFontOp;  // what is selected, to compare
    uint32_t FTextColor = 0;
    uint32_t FBkColor = 0xFFFFFF;
    uint32_t FBkMode = OPAQUE;
    uint32_t FRop2 = 13;
    uint32_t FTextAlign = 0;
};

bool MetafileRecorder::Text(TPoint at, const String& text, int, const TRect* clip, const TRect* opaque) {
    Font();
    TextState();
    TMetafileOp o;
    o.kind = TMetafileOp::Text;
    o.p1 = at;
    o.text = text;
    if (clip) { o.style |= ETO_CLIPPED; o.rect = *clip; }
    if (opaque) { o.style |= ETO_OPAQUE; o.rect = *opaque; }
    // Advances, so that other players place the characters where our fonts put them; measured
    // in pixels, with the face the text is drawn with.
    const ui::FontFace& face = FFront.Face();
    int prev = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        int w = face.TextWidth(String(text.substr(0, i + 1)));
        o.points.emplace_back(w - prev, 0);
        prev = w;
    }
    TSize ext(face.TextWidth(text), face.Metrics().ascent + face.Metrics().descent);
    // The box around the text, from the reference point and the text alignment.
    UINT ta = FFront.Dc().state.textAlign;
    int bx = at.X, by = at.Y;
    if ((ta & TA_CENTER) == TA_CENTER) bx -= ext.cx / 2;
    else if (ta & TA_RIGHT) bx -= ext.cx;
    if ((ta & TA_BASELINE) == TA_BASELINE) by -= face.Metrics().ascent;
    else if (ta & TA_BOTTOM) by -= ext.cy;
    TRect box(bx, by, bx + ext.cx, by + ext.cy);
    if (clip) IntersectRect(&box, &box, clip);
    Grow(box);
    if (opaque) Grow(*opaque);
    if (o.rect.IsEmpty() && !(o.style & (ETO_CLIPPED | ETO_OPAQUE))) o.rect = TRect(bx, by, bx + ext.cx, by + ext.cy);
    FOps.push_back(std::move(o));
    return false;
}

bool MetafileRecorder::FocusRect(const TRect& r) {
    TMetafileOp pen;
    pen.kind = TMetafileOp::CreatePen;
    pen.style = static_cast<uint32_t>(psDot);
    pen.width = 1;
    Use(pen, FPen, FPenOp, SamePen);
    TMetafileOp hollow;
    hollow.kind = TMetafileOp::CreateBrush;
    hollow.style = 1;
    Use(hollow, FBrush, FBrushOp, SameBrush);
    Change(TMetafileOp::SetRop2, FRop2, uint32_t{6});  // R2_NOT
    TMetafileOp o;
    o.kind = TMetafileOp::Rectangle;
    o.rect = r;
    Grow(r);
    FOps.push_back(std::move(o));
    return false;
}

bool MetafileRecorder::BrushCopy(const TRect& dest, TBitmap& bitmap, const TRect& source, TColor color) {
    if (bitmap.Empty() || dest.IsEmpty() || source.IsEmpty()) return false;
    TBitmap part;
    part.SetPixelFormat(pf24bit);
    part.SetSize(source.Width(), source.Height());
    part.Canvas()->CopyRect(Rect(0, 0, source.Width(), source.Height()), bitmap.Canvas(), source);
    const TColor key = static_cast<TColor>(ColorToRGB(color) & 0xFFFFFF);
    const TColor with = static_cast<TColor>(ColorToRGB(FFront.Brush()->Color()) & 0xFFFFFF);
    TCanvas* c = part.Canvas();
    for (int y = 0; y < part.Height(); ++y)
        for (int x = 0; x < part.Width(); ++x)
            if ((c->Pixels(x, y) & 0xFFFFFF) == key) c->SetPixels(x, y, with);
    RecordBitmap(dest, part, Rect(0, 0, part.Width(), part.Height()), SRCCOPY);
    return false;
}

void MetafileRecorder::RecordBitmap(const TRect& dest, TBitmap& bitmap, const TRect& source, DWORD rop) {
    if (bitmap.Empty() || dest.IsEmpty()) return;
    TBitmap part;
    TBitmap* src = &bitmap;
    if (source != Rect(0, 0, bitmap.Width(), bitmap.Height())) {
        part.SetPixelFormat(pf24bit);
        part.SetSize(source.Width(), source.Height());
        part.Canvas()->CopyRect(Rect(0, 0, source.Width(), source.Height()), bitmap.Canvas(), source);
        src = &part;
    }
    TMetafileOp o;
    o.kind = TMetafileOp::StretchDib;
    size_t header = 0;
    o.dib = gfx::EncodeDib(*src, &header);
    o.hatch = static_cast<uint32_t>(header);
    o.rect = dest;
    o.source = Rect(0, 0, src->Width(), src->Height());
    o.style = rop;
    Grow(dest);
    FOps.push_back(std::move(o));
}

Transfer MetafileRecorder::StretchBlt(int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh, DWORD rop) {
    auto end = [](int from, int size) { return static_cast<int>(std::clamp<int64_t>(int64_t{from} + size, INT32_MIN, INT32_MAX)); };
    TRect dest(x, y, end(x, w), end(y, h));
    if (dest.IsEmpty()) return Transfer::Made;  // mirrored transfers are not recorded
    switch (static_cast<uint8_t>(rop >> 16)) {
        case 0xF0: FillRect(dest); return Transfer::Made;           // PATCOPY
        case 0x00: FillSolid(dest, clBlack); return Transfer::Made;  // BLACKNESS
        case 0xFF: FillSolid(dest, clWhite); return Transfer::Made;  // WHITENESS
        default: break;
    }
    if (!src || !src->Bitmap() || sw <= 0 || sh <= 0) return Transfer::Refused;
    // The source area as a bitmap of its own, recorded with the transfer's raster operation.
    TBitmap part;
    part.SetPixelFormat(src->Bitmap()->Monochrome() ? pf1bit : pf24bit);
    part.SetSize(sw, sh);
    part.Canvas()->CopyRect(Rect(0, 0, sw, sh), src, Rect(sx, sy, end(sx, sw), end(sy, sh)));
    RecordBitmap(dest, part, Rect(0, 0, sw, sh), rop);
    return Transfer::Made;
}

}  // namespace ui

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile, HDC referenceDevice)
    : TMetafileCanvas(metafile, referenceDevice, String(), String()) {}

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile, HDC, const String& creatorName, const String& description)
    : FMetafile(metafile) {
    auto recorder = std::make_unique<ui::MetafileRecorder>(*this);
    FRecorder = recorder.get();
    SetImplementation(std::move(recorder));
    if (FMetafile && (!creatorName.empty() || !description.empty()))
        FMetafile->FDescription = creatorName + String(u"\0", 1) + description;
}

TMetafileCanvas::~TMetafileCanvas() {
    if (!FMetafile) return;
    FMetafile->FOps = FRecorder->TakeOps();
    FMetafile->FBounds = FRecorder->Bounds();
    if (FMetafile->FWidth > 0 && FMetafile->FHeight > 0) FMetafile->FFrame = Rect(0, 0, FMetafile->FWidth, FMetafile->FHeight);
    else FMetafile->FFrame = FMetafile->FBounds;
    try {
        FMetafile->Changed();
    } catch (...) {
        // A destructor must not throw; the metafile holds the recording regardless.
    }
}
