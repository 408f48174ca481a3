#pragma once
// What a TCanvas draws through. The canvas is a front: it keeps the device state (origins,
// clip, colours, modes, the current position), the pen, brush and font, the handle and the rules
// of its API, and hands each drawing to a canvas implementation. The backend makes the raster
// implementation, which paints a bitmap's pixels; the metafile recorder (platform/ui/Metafile.h)
// and the printer's page canvas (platform/ui/Printers.h) are the others.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "platform/ui/Graphics.h"
#include "platform/ui/Region.h"

namespace ui {

class FontFace;

// Held to the canvas's range (kCanvasCoordLimit), as every coordinate a canvas draws with is.
inline int HeldCoord(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, -kCanvasCoordLimit, kCanvasCoordLimit));
}

// Whether a pen draws anything, and a brush fills anything.
inline bool PenShows(const TPen& pen) { return pen.Style() != psClear && pen.Mode() != pmNop && pen.Color() != clNone; }
inline bool BrushShows(const TBrush& brush) {
    return brush.Bitmap() || (brush.Style() != bsClear && brush.Color() != clNone);
}

enum class ShapeKind { Rectangle, RoundRect, Ellipse, Arc, Chord, Pie };

// What a transfer (BitBlt, StretchBlt, PatBlt) came to.
enum class Transfer { Refused, Made, Drawn };

class CanvasImpl {
public:
    virtual ~CanvasImpl() = default;

    // The front's outermost lock bracket begins or ends (TCanvas::Lock/Unlock).
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    // The front draws on another surface now; old, still alive, was the previous one.
    virtual void SurfaceChanged(TBitmap* old) = 0;
    // The surface is being freed: let go of it without touching it.
    virtual void SurfaceGone() = 0;
    // The clip region was changed through the handle.
    virtual void ClipChanged() = 0;
    // A recording keeps calls that need a surface's pixels (single pixels, flood fills, the
    // brush copy, the focus frame) as calls: the front has no surface to check them against.
    virtual bool Records() const { return false; }

    // Drawing with the front's pen, brush, font and state, in coordinates as in MM_TEXT (the
    // front has mapped any other mode: add DeviceOffset for device pixels; the pen's width and
    // the font's height in pixels are DevicePenWidth and Face). Each call answers whether the
    // surface's pixels changed. Under a right-to-left layout the front has mirrored the
    // coordinates already (and flipped the text alignment for the call), so an implementation
    // never looks at the layout.
    virtual void MoveTo(TPoint to) = 0;
    virtual bool LineTo(TPoint from, TPoint to) = 0;
    virtual bool Polyline(const TPoint* points, int count) = 0;
    virtual bool Polygon(const TPoint* points, int count) = 0;
    // The shape bounded by box: p1 is a round rectangle's corner size, p1 and p2 the radials
    // of an arc, chord or pie.
    virtual bool Shape(ShapeKind kind, const TRect& box, TPoint p1, TPoint p2) = 0;
    virtual bool FillRect(const TRect& rect) = 0;
    virtual bool FrameRect(const TRect& rect) = 0;
    // One colour, pen and brush aside.
    virtual bool FillSolid(const TRect& rect, TColor color) = 0;
    virtual bool FocusRect(const TRect& rect) = 0;
    // Text with its reference point at, the front's TA_UPDATECP already applied; width is its
    // advance in the front's font.
    virtual bool Text(TPoint at, const String& text, int width, const TRect* clip, const TRect* opaque) = 0;
    virtual bool DrawBitmap(const TRect& dest, TBitmap& bitmap, const TRect& source, bool transparent,
                            TColor transparentColor, bool useAlpha) = 0;
    // src is nullptr when the raster operation takes no source.
    virtual Transfer StretchBlt(int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh, DWORD rop) = 0;
    virtual bool BrushCopy(const TRect& dest, TBitmap& bitmap, const TRect& source, TColor color) = 0;
    // Single pixels and flood fills, at device points the front found visible on its surface.
    virtual TColor Pixel(TPoint device) = 0;
    virtual bool SetPixel(TPoint device, TColor color) = 0;
    virtual bool FloodFill(TPoint device, TColor color, TFillStyle style) = 0;
};

// An implementation that hands every call to another one (the printer's page canvas to the
// raster canvas on its page; a decorator that watches what is drawn). Derived classes say which
// and override what they add to.
class CanvasForwarder : public CanvasImpl {
public:
    void Lock() override { Inner().Lock(); }
    void Unlock() override { Inner().Unlock(); }
    void SurfaceChanged(TBitmap* old) override { Inner().SurfaceChanged(old); }
    void SurfaceGone() override { Inner().SurfaceGone(); }
    void ClipChanged() override { Inner().ClipChanged(); }
    bool Records() const override { return const_cast<CanvasForwarder*>(this)->Inner().Records(); }
    void MoveTo(TPoint to) override { Inner().MoveTo(to); }
    bool LineTo(TPoint from, TPoint to) override { return Inner().LineTo(from, to); }
    bool Polyline(const TPoint* points, int count) override { return Inner().Polyline(points, count); }
    bool Polygon(const TPoint* points, int count) override { return Inner().Polygon(points, count); }
    bool Shape(ShapeKind kind, const TRect& box, TPoint p1, TPoint p2) override { return Inner().Shape(kind, box, p1, p2); }
    bool FillRect(const TRect& rect) override { return Inner().FillRect(rect); }
    bool FrameRect(const TRect& rect) override { return Inner().FrameRect(rect); }
    bool FillSolid(const TRect& rect, TColor color) override { return Inner().FillSolid(rect, color); }
    bool FocusRect(const TRect& rect) override { return Inner().FocusRect(rect); }
    bool Text(TPoint at, const String& text, int width, const TRect* clip, const TRect* opaque) override {
        return Inner().Text(at, text, width, clip, opaque);
    }
    bool DrawBitmap(const TRect& dest, TBitmap& bitmap, const TRect& source, bool transparent, TColor transparentColor,
                    bool useAlpha) override {
        return Inner().DrawBitmap(dest, bitmap, source, transparent, transparentColor, useAlpha);
    }
    Transfer StretchBlt(int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh, DWORD rop) override {
        return Inner().StretchBlt(x, y, w, h, src, sx, sy, sw, sh, rop);
    }
    bool BrushCopy(const TRect& dest, TBitmap& bitmap, const TRect& source, TColor color) override {
        return Inner().BrushCopy(dest, bitmap, source, color);
    }
    TColor Pixel(TPoint device) override { return Inner().Pixel(device); }
    bool SetPixel(TPoint device, TColor color) override { return Inner().SetPixel(device, color); }
    bool FloodFill(TPoint device, TColor color, TFillStyle style) override { return Inner().FloodFill(device, color, style); }

protected:
    virtual CanvasImpl& Inner() = 0;
};

// A curved or polygonal region for the backend to turn into pixels.
struct RegionShape {
    enum Kind { Ellipse, RoundRect, Polygon };
    Kind kind = Ellipse;
    TRect box;                  // normalised, held to the canvas's range
    TSize corner;               // a round rectangle's corner ellipse
    std::vector<TPoint> points;
    bool winding = false;       // the polygon's fill mode
};

}  // namespace ui

// The device state of a canvas: what SaveDC saves and RestoreDC brings back.
struct TCanvasDcState {
    TPoint windowOrg;
    TPoint viewportOrg;
    bool hasClip = false;
    ui::Region clip;  // device coordinates
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    UINT textAlign = TA_TOP | TA_LEFT;
    TPoint penPos;
    int mapMode = MM_TEXT;
    DWORD layout = 0;  // LAYOUT_RTL, LAYOUT_BITMAPORIENTATIONPRESERVED
};

struct TCanvasDc {
    TCanvasDcState state;
    std::vector<TCanvasDcState> saved;
    // The device's resolution (LOGPIXELSX, LOGPIXELSY); a printer's sheet in pixels and where the
    // page's bitmap lies on it (PHYSICAL*; empty elsewhere).
    int dpiX = 96;
    int dpiY = 96;
    TSize sheet;
    TPoint sheetOffset;
    bool hasDeviceClip = false;
    TRect deviceClip;
    // The device span a right-to-left layout mirrors about; a width below 0 is the surface's.
    int layoutLeft = 0;
    int layoutWidth = -1;
    bool hasDeviceRegion = false;
    ui::Region deviceRegion;
    // Counts changes of the device clip, the clip region and the surface.
    uint64_t clipStamp = 1;
    // Count the changes of the pen, brush and font, so that what an implementation made of
    // them is made again only after a change.
    uint64_t penVersion = 1;
    uint64_t brushVersion = 1;
    uint64_t fontVersion = 1;
    // The font and brush are realised into the text and background colours when they have
    // changed since.
    bool fontDirty = true;
    bool brushDirty = true;
    // The visible part, kept until the clip or the surface's size changes; visibleVersion
    // counts its changes.
    ui::Region visible;
    uint64_t visibleStamp = 0;
    int visibleWidth = -1;
    int visibleHeight = -1;
    uint64_t visibleVersion = 0;
    // The font as the backend measures and draws it, made again after the font changes or on
    // another thread (a backend may share a face's parts among the canvases of one thread).
    std::unique_ptr<ui::FontFace> face;
    uint64_t faceVersion = 0;
    bool faceAntialias = false;
    std::thread::id faceThread;
};
