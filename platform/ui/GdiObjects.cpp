// GDI objects: pens, brushes, fonts and stock objects, selecting them into a canvas, memory DCs
// and compatible bitmaps. Every handle lives in the one registry (GdiHandles.h).
#include "platform/ui/GdiObjects.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "platform/ui/backend/CanvasLog.h"

namespace ui::gdi {

namespace {
Kind KindOf(GdiObject::Type type) {
    switch (type) {
        case GdiObject::Region: return Kind::Region;
        case GdiObject::Brush: return Kind::Brush;
        case GdiObject::Pen: return Kind::Pen;
        case GdiObject::Font: return Kind::Font;
    }
    return Kind::Region;
}

// A region, brush, pen or font.
GdiObject* AnyObject(const Access& access, const void* handle) {
    for (GdiObject::Type t : {GdiObject::Region, GdiObject::Brush, GdiObject::Pen, GdiObject::Font})
        if (GdiObject* o = FindObject(access, handle, t)) return o;
    return nullptr;
}
}  // namespace

void* NewObject(GdiObject o) {
    auto owned = std::make_shared<GdiObject>(std::move(o));
    return reinterpret_cast<void*>(Add(KindOf(owned->type), owned.get(), owned, owned->stock));
}

void* NewBrush(TColor color, TBrushStyle style, bool stock) {
    GdiObject o;
    o.type = GdiObject::Brush;
    o.brush = std::make_shared<TBrush>();
    o.brush->SetColor(color);
    o.brush->SetStyle(style);
    o.stock = stock;
    return NewObject(std::move(o));
}

HRGN NewRegion(ui::Region region) {
    GdiObject o;
    o.region = std::move(region);
    return static_cast<HRGN>(NewObject(std::move(o)));
}

GdiObject* FindObject(const Access& access, const void* handle, GdiObject::Type type) {
    return access.Find<GdiObject>(handle, KindOf(type));
}

bool BrushColor(HBRUSH brush, TColor& color) {
    Access access;
    GdiObject* o = FindObject(access, brush, GdiObject::Brush);
    if (!o) {
        uintptr_t v = reinterpret_cast<uintptr_t>(brush);
        if (v >= 1 && v <= 31) {
            color = TColorSys(static_cast<int>(v - 1));
            return true;
        }
        return false;
    }
    if (o->brush->Style() == bsClear || o->brush->Color() == clNone) return false;
    color = o->brush->Color();
    return true;
}

}  // namespace ui::gdi

using namespace ui::gdi;

HBRUSH CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(NewBrush(static_cast<TColor>(color & 0xFFFFFF), bsSolid));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
    return static_cast<HBRUSH>(NewBrush(static_cast<TColor>(color & 0xFFFFFF), static_cast<TBrushStyle>(bsHorizontal + hatch)));
}

namespace {
// Stock objects are made once per index, at first use, and kept for the process.
struct StockTable {
    std::mutex mutex;
    std::unordered_map<int, HGDIOBJ> made;
    template <class Make>
    HGDIOBJ Get(int index, Make make) {
        std::lock_guard lock(mutex);
        auto it = made.find(index);
        if (it != made.end()) return it->second;
        HGDIOBJ h = make();
        if (h) made[index] = h;
        return h;
    }
};
}  // namespace

HBRUSH GetSysColorBrush(int index) {
    static StockTable table;
    return static_cast<HBRUSH>(table.Get(index, [&] { return NewBrush(TColorSys(index), bsSolid, true); }));
}

BOOL DeleteObject(HGDIOBJ object) {
    return Delete(reinterpret_cast<uintptr_t>(object), kObjectKinds) != Deleted::Unknown ? TRUE_ : FALSE_;
}

// A new stock object of the index, nullptr for an index with none.
static HGDIOBJ MakeStockObject(int index) {
    GdiObject o;
    o.stock = true;
    switch (index) {
        case WHITE_BRUSH: return NewBrush(clWhite, bsSolid, true);
        case LTGRAY_BRUSH: return NewBrush(clSilver, bsSolid, true);
        case GRAY_BRUSH: return NewBrush(clGray, bsSolid, true);
        case DKGRAY_BRUSH: return NewBrush(static_cast<TColor>(0x404040), bsSolid, true);
        case BLACK_BRUSH: return NewBrush(clBlack, bsSolid, true);
        case NULL_BRUSH: return NewBrush(clWhite, bsClear, true);
        case WHITE_PEN:
        case BLACK_PEN:
        case NULL_PEN:
            o.type = GdiObject::Pen;
            o.pen = std::make_shared<TPen>();
            o.pen->SetColor(index == WHITE_PEN ? clWhite : clBlack);
            if (index == NULL_PEN) o.pen->SetStyle(psClear);
            return NewObject(std::move(o));
        case SYSTEM_FONT:
        case DEFAULT_GUI_FONT:
            o.type = GdiObject::Font;
            o.font = std::make_shared<TFont>();
            if (index == SYSTEM_FONT) o.font->SetName("System");
            return NewObject(std::move(o));
        default: return nullptr;
    }
}

HGDIOBJ GetStockObject(int index) {
    static StockTable table;
    return table.Get(index, [index] { return MakeStockObject(index); });
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME) return nullptr;
    GdiObject o;
    o.type = GdiObject::Pen;
    o.pen = std::make_shared<TPen>();
    o.pen->SetStyle(static_cast<TPenStyle>(style));
    o.pen->SetWidth(std::max(1, width));
    o.pen->SetColor(static_cast<TColor>(color & 0xFFFFFF));
    return static_cast<HPEN>(NewObject(std::move(o)));
}

HFONT CreateFontIndirect(const LOGFONT* lf) {
    if (!lf) return nullptr;
    GdiObject o;
    o.type = GdiObject::Font;
    o.font = std::make_shared<TFont>();
    TFont& f = *o.font;
    String face;
    for (size_t i = 0; i < 32 && lf->lfFaceName[i]; ++i) face.push_back(lf->lfFaceName[i]);
    if (!face.empty()) f.SetName(face);
    f.SetHeight(lf->lfHeight ? lf->lfHeight : -16);
    TFontStyles st;
    if (lf->lfWeight >= 600) st << fsBold;
    if (lf->lfItalic) st << fsItalic;
    if (lf->lfUnderline) st << fsUnderline;
    if (lf->lfStrikeOut) st << fsStrikeOut;
    f.SetStyle(st);
    f.SetOrientation(lf->lfEscapement);
    f.SetCharOrientation(lf->lfOrientation);
    f.SetCharset(lf->lfCharSet);
    f.SetPitch((lf->lfPitchAndFamily & 3) == 1 ? fpFixed : (lf->lfPitchAndFamily & 3) == 2 ? fpVariable : fpDefault);
    return static_cast<HFONT>(NewObject(std::move(o)));
}

// The 1 x 1 monochrome bitmap a new memory DC holds, as on the platform.
static TBitmap* DefaultBitmap() {
    static TBitmap* b = new TBitmap(1, 1, pf1bit);  // shared by every memory DC for the process's life
    return b;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !object) return nullptr;
    if (TBitmap* b = TBitmap::FromHandle(static_cast<HBITMAP>(object))) {
        TBitmap* old = c->Bitmap();
        c->SetBitmap(b);
        return old ? old->Handle() : DefaultBitmap()->Handle();
    }
    GdiObject sel;
    {
        Access access;
        GdiObject* found = AnyObject(access, object);
        if (!found) return nullptr;
        sel = *found;
    }
    if (sel.snapshot) Delete(reinterpret_cast<uintptr_t>(object), kObjectKinds);
    if (sel.type == GdiObject::Region) {
        int type = SelectClipRgn(dc, static_cast<HRGN>(object));
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(type));
    }
    GdiObject prev;
    prev.type = sel.type;
    prev.snapshot = true;
    if (sel.type == GdiObject::Pen) {
        prev.pen = std::make_shared<TPen>();
        prev.pen->Assign(c->Pen());
        c->Pen()->Assign(sel.pen.get());
    } else if (sel.type == GdiObject::Brush) {
        prev.brush = std::make_shared<TBrush>();
        prev.brush->Assign(c->Brush());
        c->Brush()->Assign(sel.brush.get());
    } else {
        // A GDI font's height is in the logical units of the canvas it is selected into, so it
        // is taken as it stands, whatever resolution the canvas's font has.
        ui::LoggedCall log(*c, "SelectObject");
        prev.font = std::make_shared<TFont>();
        prev.font->AssignData(*c->Font());
        // Selecting a font keeps the canvas's text colour: fonts have none in GDI.
        TColor color = c->Font()->Color();
        c->Font()->AssignData(*sel.font);
        c->Font()->SetColor(color);
        if (ui::DrawCall* e = log.Entry()) {
            // The font as selected.
            e->fontName = sel.font->Name();
            e->fontHeight = sel.font->Height();
            e->fontEscapement = sel.font->Orientation();
            e->fontOrientation = sel.font->CharOrientation();
        }
    }
    return NewObject(std::move(prev));
}

int GetObject(HGDIOBJ object, int size, void* out) {
    if (TBitmap* b = TBitmap::FromHandle(static_cast<HBITMAP>(object))) {
        if (!out || size < static_cast<int>(sizeof(BITMAP))) return 0;
        BITMAP bm;
        bm.bmWidth = b->Width();
        bm.bmHeight = b->Height();
        static const WORD bits[] = {32, 1, 4, 8, 16, 16, 24, 32, 32};
        bm.bmBitsPixel = bits[b->PixelFormat()];
        bm.bmWidthBytes = ((b->Width() * bm.bmBitsPixel + 15) / 16) * 2;
        *static_cast<BITMAP*>(out) = bm;
        return sizeof(BITMAP);
    }
    Access access;
    GdiObject* o = FindObject(access, object, GdiObject::Font);
    if (!o || !out || size < static_cast<int>(sizeof(LOGFONT))) return 0;
    LOGFONT lf;
    const TFont& f = *o->font;
    lf.lfHeight = f.Height();
    lf.lfEscapement = f.Orientation();
    lf.lfOrientation = f.CharOrientation();
    lf.lfWeight = f.Style().Contains(fsBold) ? 700 : 400;
    lf.lfItalic = f.Style().Contains(fsItalic);
    lf.lfUnderline = f.Style().Contains(fsUnderline);
    lf.lfStrikeOut = f.Style().Contains(fsStrikeOut);
    lf.lfCharSet = f.Charset();
    String name = f.Name();
    for (size_t i = 0; i < 31 && i < name.size(); ++i) lf.lfFaceName[i] = name[i];
    *static_cast<LOGFONT*>(out) = lf;
    return sizeof(LOGFONT);
}

HDC CreateCompatibleDC(HDC) {
    auto c = std::make_shared<TCanvas>(DefaultBitmap());
    HDC h = c->Handle();
    Adopt(reinterpret_cast<uintptr_t>(h), std::move(c));
    return h;
}

BOOL DeleteDC(HDC dc) {
    return Delete(reinterpret_cast<uintptr_t>(dc), {Kind::Canvas}) == Deleted::Freed ? TRUE_ : FALSE_;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto b = std::make_shared<TBitmap>(width, height);
    HBITMAP h = b->Handle();
    Adopt(reinterpret_cast<uintptr_t>(h), std::move(b));
    return h;
}
