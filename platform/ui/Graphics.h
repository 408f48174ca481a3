#pragma once
// Colours, fonts, pens, brushes, the canvas and the pictures (bitmap, icon, picture container).
// The canvas draws with the rules of the original window system: aliased, right and bottom edges
// of rectangles exclusive, lines without their end point. It is a front over a canvas
// implementation (platform/ui/backend/Canvas.h); a bitmap's pixels are kept by the backend
// (platform/ui/backend/Pixels.h). Nothing here exposes a backend type.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/rtl/Geometry.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/SmallSet.h"
#include "platform/rtl/String.h"
#include "platform/ui/Gdi.h"
#include "platform/win/Resources.h"

class TStream;
class TFiler;

// ---------------------------------------------------------------------------------------------
// Colours: 0x00BBGGRR, or a system colour 0xFF000000 + COLOR_ index.
using TColor = int32_t;

constexpr TColor TColorSys(int index) { return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index)); }
constexpr TColor clScrollBar = TColorSys(COLOR_SCROLLBAR);
constexpr TColor clBackground = TColorSys(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = TColorSys(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = TColorSys(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = TColorSys(COLOR_MENU);
constexpr TColor clWindow = TColorSys(COLOR_WINDOW);
constexpr TColor clWindowFrame = TColorSys(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = TColorSys(COLOR_MENUTEXT);
constexpr TColor clWindowText = TColorSys(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = TColorSys(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = TColorSys(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = TColorSys(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = TColorSys(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = TColorSys(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = TColorSys(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = TColorSys(COLOR_BTNFACE);
constexpr TColor clBtnShadow = TColorSys(COLOR_BTNSHADOW);
constexpr TColor clGrayText = TColorSys(COLOR_GRAYTEXT);
constexpr TColor clBtnText = TColorSys(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = TColorSys(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = TColorSys(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = TColorSys(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = TColorSys(COLOR_3DLIGHT);
constexpr TColor clInfoText = TColorSys(COLOR_INFOTEXT);
constexpr TColor clInfoBk = TColorSys(COLOR_INFOBK);
constexpr TColor clHotLight = TColorSys(COLOR_HOTLIGHT);
constexpr TColor clGradientActiveCaption = TColorSys(COLOR_GRADIENTACTIVECAPTION);
constexpr TColor clGradientInactiveCaption = TColorSys(COLOR_GRADIENTINACTIVECAPTION);
constexpr TColor clMenuHighlight = TColorSys(COLOR_MENUHILIGHT);
constexpr TColor clMenuBar = TColorSys(COLOR_MENUBAR);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB value of a colour: system colours (negative values) resolved through GetSysColor, any
// other value returned as it is, as the components expect (clNone stays 0x1FFFFFFF). Drawing
// uses the low three bytes; it treats clNone as "draw nothing" before it resolves.
int32_t ColorToRGB(TColor color);
// "clRed" for the named colours, otherwise "$00BBGGRR".
String ColorToString(TColor color);
// Accepts the names above, "$hex" and decimal; raises EConvertError otherwise.
TColor StringToColor(const String& text);
bool IdentToColor(const String& ident, TColor& color);
// The name of a named colour ("clWindow"); false for a colour with no name.
bool ColorToIdent(TColor color, String& ident);
// Every colour name, in the order of the one table the conversions share.
void GetColorValues(const std::function<void(const String& ident)>& proc);
// The web name of a colour: system colours resolved, then the name of the first of the 138 web
// colours (CSS keywords as "clWebSnow" ... "clWebBlack") whose value is the whole resolved value;
// otherwise "#RRGGBB" of its low three bytes in upper-case hexadecimal.
String ColorToWebColorName(TColor color);
// A colour property of the component stream (GraphicData.cpp): the name of a named colour
// (vaIdent), an integer otherwise. Answers whether it read a value.
bool ColorProperty(TFiler* filer, std::string_view name, TColor& color);

// ---------------------------------------------------------------------------------------------
// Small sets of the style flags: the class library's one set template.
template <class E>
using TStyleSet = rtl::SmallSet<E>;

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TStyleSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset SHIFTJIS_CHARSET = 128;
constexpr TFontCharset OEM_CHARSET = 255;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
    pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TFillStyle { fsSurface, fsBorder };
using TCopyMode = DWORD;  // a raster operation code: cmSrcCopy == SRCCOPY ...
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

class TBitmap;
class TCanvas;
class TGraphic;

namespace ui {
enum class ShapeKind;
class CanvasImpl;
class CanvasLog;
class FontFace;
class LoggedCall;
class PixelStore;
class Region;
}  // namespace ui

// The event type of the graphics objects: the sender is the object that changed.
using TGraphicsNotify = std::function<void(TPersistent* Sender)>;

// ---------------------------------------------------------------------------------------------
class TGraphicsObject : public TPersistent {
public:
    const char* ClassName() const override { return "TGraphicsObject"; }
    TGraphicsNotify OnChange;

protected:
    virtual void Changed();
};

class TFont : public TGraphicsObject {
public:
    TFont();
    const char* ClassName() const override { return "TFont"; }
    void Assign(const TPersistent* Source) override;

    String Name() const { return FName; }
    void SetName(const String& value);
    // Size in points at PixelsPerInch. Height negative is the character height, positive the cell
    // height, in the logical units of the canvas that draws it (pixels in MM_TEXT).
    int Size() const;
    void SetSize(int value);
    int Height() const { return FHeight; }
    void SetHeight(int value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    // Angle of the base line in tenths of a degree, counter-clockwise (the escapement); setting it
    // sets the characters' angle too.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int value);
    // The characters' own angle (a LOGFONT's lfOrientation). Text is drawn by Orientation, as the
    // platform draws it outside its advanced graphics mode; this one is kept for GetObject and
    // what a drawing log reports.
    int CharOrientation() const { return FCharOrientation; }
    void SetCharOrientation(int value);
    // The resolution Size converts with: 96, and the printer's resolution on its canvas's font.
    // Changing it keeps Height. Assign between fonts of different resolutions keeps the point size.
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int value);
    // Takes every attribute as it stands, Height included, whatever either resolution: what
    // selecting a GDI font object into a canvas does.
    void AssignData(const TFont& source);

    // A GDI font object with the current attributes, owned by the font.
    HFONT Handle();
    ~TFont() override;

    // Installed families to use for a font name of the original platform, best first.
    static std::vector<String> SubstituteFamilies(const String& name);

private:
    String FName;
    int FHeight;
    TFontStyles FStyle;
    TColor FColor;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
    int FOrientation = 0;
    int FCharOrientation = 0;
    int FPixelsPerInch = 96;
    HFONT FHandle = nullptr;
};

class TPen : public TGraphicsObject {
public:
    const char* ClassName() const override { return "TPen"; }
    void Assign(const TPersistent* Source) override;
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int Width() const { return FWidth; }
    void SetWidth(int value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode value);
    // A GDI pen object with the current attributes, owned by the pen.
    HPEN Handle();
    ~TPen() override;

private:
    HPEN FHandle = nullptr;
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

class TBrush : public TGraphicsObject {
public:
    TBrush();
    ~TBrush() override;
    const char* ClassName() const override { return "TBrush"; }
    void Assign(const TPersistent* Source) override;
    TColor Color() const { return FColor; }
    // A colour given to a clear brush makes it solid, as the components expect.
    void SetColor(TColor value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value);
    // A GDI brush object with the current colour and style, owned by the brush.
    // A pattern bitmap (8 x 8 is usual) that replaces colour and style while set; the brush keeps a
    // copy, so the caller may free its bitmap.
    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap* value);
    HBRUSH Handle();

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    std::unique_ptr<TBitmap> FBitmap;
    HBRUSH FHandle = nullptr;
};

// ---------------------------------------------------------------------------------------------
struct TCanvasDc;  // the device state, platform/ui/backend/Canvas.h

// The coordinates a canvas draws with are held to +-kCanvasCoordLimit (and sizes to twice it), so
// that no shape, offset or size can overflow; any real surface lies far inside.
constexpr int kCanvasCoordLimit = 1 << 28;

// Which way a canvas's x axis runs (its layout, SetLayout).
enum TCanvasOrientation { coLeftToRight, coRightToLeft };

class TCanvas : public TPersistent {
public:
    // A canvas with no surface yet (drawing does nothing until SetBitmap), or one on a bitmap;
    // both draw through the backend's raster implementation, made at the first drawing or lock.
    TCanvas();
    explicit TCanvas(TBitmap* target);
    ~TCanvas() override;
    // Makes the canvas draw through another implementation (a recorder, a printer's pages),
    // made for this front. Set it before drawing.
    void SetImplementation(std::unique_ptr<ui::CanvasImpl> impl);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    const char* ClassName() const override { return "TCanvas"; }

    // The surface. The canvas does not own it; a bitmap that is freed detaches its canvases.
    TBitmap* Bitmap() const { return FTarget; }
    void SetBitmap(TBitmap* target);
    // Logical (0, 0) lands on device (x, y): what a graphic child control's canvas uses to draw
    // into its parent's image. Same as SetViewportOrgEx on the handle.
    void SetOrigin(int x, int y);
    TPoint Origin() const;
    // The device area the canvas may touch (the window's visible part), in device coordinates;
    // nullptr removes the limit. Clip regions selected by the program are intersected with it.
    void SetDeviceClipRect(const TRect* rect);
    // coRightToLeft while the layout has LAYOUT_RTL (SetLayout on the handle).
    TCanvasOrientation CanvasOrientation() const;
    // The device span [left, left + width) a right-to-left layout mirrors about: the client
    // area for a window's canvas; width below 0 (the default) is the whole surface.
    void SetLayoutArea(int left, int width);
    // A further limit in device coordinates, as the part of a window a paint pass repaints;
    // nullptr removes it. Unlike a selected clip region the program cannot take it away.
    void SetDeviceClipRegion(const ui::Region* region);
    // Drawing is aliased, as on the original platform, unless this is switched on.
    bool AntiAlias() const { return FAntiAlias; }
    void SetAntiAlias(bool value) { FAntiAlias = value; }
    // The device's resolution (LOGPIXELSX, LOGPIXELSY), which mapping modes other than MM_TEXT
    // scale by: 96 on screens and bitmaps, the printer's resolution on a printer's canvas.
    int PixelsPerInchX() const;
    int PixelsPerInchY() const;
    void SetPixelsPerInch(int x, int y);
    // A test's drawing log (platform/ui/backend/CanvasLog.h), or nullptr. Not owned.
    void SetLog(ui::CanvasLog* log) { FLog = log; }
    ui::CanvasLog* Log() const { return FLog; }

    HDC Handle();
    bool HandleAllocated() const { return FTarget != nullptr; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value) { FFont->Assign(value); }
    TPen* Pen() const { return FPen.get(); }
    void SetPen(TPen* value) { FPen->Assign(value); }
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TBrush* value) { FBrush->Assign(value); }
    TPoint PenPos() const;
    void SetPenPos(TPoint p);
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode value) { FCopyMode = value; }
    // The visible area in logical coordinates.
    TRect ClipRect();

    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(const TPoint* points, int count);
    void Polyline(const std::vector<TPoint>& points) { Polyline(points.data(), static_cast<int>(points.size())); }
    void Polygon(const TPoint* points, int count);
    void Polygon(const std::vector<TPoint>& points) { Polygon(points.data(), static_cast<int>(points.size())); }
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // Counter-clockwise from the radial through (X3, Y3) to the radial through (X4, Y4) on the
    // ellipse bounded by (X1, Y1, X2, Y2); equal radials give the whole ellipse.
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    void DrawFocusRect(const TRect& rect);
    void TextOut(int X, int Y, const String& text);
    void TextRect(const TRect& rect, int X, int Y, const String& text);
    int TextWidth(const String& text);
    int TextHeight(const String& text);
    TSize TextExtent(const String& text);
    void Draw(int X, int Y, TGraphic* graphic);
    void StretchDraw(const TRect& rect, TGraphic* graphic);
    // Copies Source of another canvas into Dest with CopyMode.
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
    // Copies Source of the bitmap with every pixel of Color replaced by this canvas's brush.
    void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color);
    TColor Pixels(int X, int Y);
    void SetPixels(int X, int Y, TColor color);
    // fsSurface fills the area of Color around (X, Y); fsBorder fills up to a border of Color.
    void FloodFill(int X, int Y, TColor color, TFillStyle style);

    // A bracket around a run of drawing; a paint pass holds one on the window's image. While any
    // canvas on a bitmap is locked, drawing on that bitmap (through this canvas or any other) goes
    // through one open painter, and a bitmap of another pixel format than the device's is drawn
    // on a device-format copy made once. Pen, brush, font, clip, origin and mode changes apply to
    // the open painter. Reading the pixels (Pixels, ScanLine, copying or saving the bitmap)
    // closes the painter first, so it sees every drawing; the last Unlock closes it. Brackets
    // nest. Outside one, every drawing call paints on its own. TCanvasLock is the scoped form.
    void Lock();
    void Unlock();
    bool TryLock() { Lock(); return true; }
    int LockCount() const { return FLockCount; }
    void Refresh();

    TGraphicsNotify OnChange;
    TGraphicsNotify OnChanging;

    // Text output with the device's colours and mode; every text of the canvas and DrawText ends
    // here. clip and opaque are logical rectangles or nullptr.
    virtual void ExtTextOutImpl(int X, int Y, const String& text, const TRect* clip, const TRect* opaque);
    // A rectangle of one colour, ignoring pen and brush (underlines, focus marks).
    void FillSolid(const TRect& rect, TColor color);
    // BitBlt, StretchBlt and PatBlt onto this canvas (src may be nullptr when the operation does
    // not use a source); false when the transfer cannot be made.
    bool StretchBltImpl(int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh, DWORD rop);
    // Tells the implementation the clip region was changed through the handle (a recorder
    // records it).
    void ClipChanged();
    // The canvas behind a handle, nullptr for anything else.
    static TCanvas* FromHandle(HDC dc);

    // For implementations and the drawing calls: the device state; Sync realises the font's
    // colour and the brush into its text and background colours, and ClipMoved tells the canvas
    // its clip region or device clip changed. Then the offset from logical to device
    // coordinates, the part of the surface the canvas may touch (device coordinates; empty
    // without a surface) with a count of its changes, and the font as the backend measures it.
    TCanvasDc& Dc() { return *FDc; }
    void Sync();
    void ClipMoved();
    TPoint DeviceOffset() const;
    const ui::Region& Visible();
    uint64_t VisibleVersion();
    // The font as the backend measures and draws it: its height in device pixels.
    const ui::FontFace& Face();

    // The mapping mode in force. Implementations take coordinates as in MM_TEXT (device pixels
    // less DeviceOffset, which they add): the front maps the logical units of any other mode,
    // then mirrors under a right-to-left layout, before it hands a call on. Map* are the identity
    // in MM_TEXT and leave the layout out.
    bool Mapped() const;
    TPoint MapPoint(TPoint logical) const;
    // A rectangle's corners: one that comes out mirrored stays so (transfers mirror then).
    TRect MapRect(const TRect& logical) const;
    // A rectangle's corners, normalised (fills, frames, clip and opaque rectangles).
    TRect MapBox(const TRect& logical) const;
    // Lengths along x and y, as unsigned device lengths, and back.
    TSize MapSize(TSize logical) const;
    TSize LogicalSize(TSize device) const;
    // Device pixels of logical points and back, mapped and mirrored; rectangles by their edges
    // (device rectangles normalised, logical ones with the corners the mode gives them).
    TPoint LogicalToDevice(TPoint logical) const;
    TPoint DeviceToLogical(TPoint device) const;
    TRect LogicalToDeviceRect(const TRect& logical) const;
    TRect DeviceToLogicalRect(const TRect& device) const;
    // The pen's width and the font's height in device pixels.
    int DevicePenWidth() const;
    int DeviceFontHeight() const;
    // The mapping changed (mode, resolution): what implementations made of the pen and font is
    // made again.
    void MappingChanged();

protected:
    virtual void Changing();
    virtual void Changed();
    // Stretches a graphic into a logical rectangle; pictures call this back to draw themselves.
    friend class TBitmap;
    friend class TIcon;
    friend class TMetafile;
    void DrawBitmapImpl(const TRect& dest, TBitmap* bitmap, const TRect& source, bool transparent,
                        TColor transparentColor, bool useAlpha);

private:
    void Init();
    ui::CanvasImpl& Impl();
    // Around one drawing call: the change events, and the surface told its pixels changed.
    template <class Op>
    void Paint(bool notify, Op draw);
    friend class ui::LoggedCall;
    // Right-to-left layout: whether it is on, and the coordinate (as implementations take it) a
    // mirrored edge (or pixel) lands on, so that implementations draw mirrored without knowing it.
    bool Mirrored() const;
    // Twice the left of the span the layout mirrors about plus its width, in device pixels: a
    // device edge d lands on MirrorAxis() - d.
    int64_t MirrorAxis() const;
    int MirrorEdge(int64_t x) const;
    int MirrorPixel(int64_t x) const;
    TRect MirrorRect(const TRect& r) const;
    // A logical point (a pixel), rectangle (its corners as given) or box (normalised) as the
    // implementation takes it: mapped by the mode in force, then mirrored under the layout.
    TPoint PlacedPixel(TPoint logical) const;
    TRect PlacedRect(const TRect& logical) const;
    TRect PlacedBox(const TRect& logical) const;
    const TPoint* PlacedPoints(const TPoint* points, int count, std::vector<TPoint>& copy) const;
    void Shape(ui::ShapeKind kind, const TRect& box, TPoint p1, TPoint p2, bool notify);
    TBitmap* FTarget = nullptr;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    std::unique_ptr<TCanvasDc> FDc;
    std::unique_ptr<ui::CanvasImpl> FImpl;
    uintptr_t FHandle = 0;
    TCopyMode FCopyMode = cmSrcCopy;
    int FLockCount = 0;
    bool FAntiAlias = false;
    ui::CanvasLog* FLog = nullptr;
    int FLogDepth = 0;  // logged calls under way
};

// Locks a canvas for its lifetime (nullptr: nothing).
class TCanvasLock {
public:
    explicit TCanvasLock(TCanvas* canvas) : FCanvas(canvas) { if (FCanvas) FCanvas->Lock(); }
    ~TCanvasLock() { if (FCanvas) FCanvas->Unlock(); }
    TCanvasLock(const TCanvasLock&) = delete;
    TCanvasLock& operator=(const TCanvasLock&) = delete;

private:
    TCanvas* FCanvas;
};

// The classic 3D frame: TopColor on the left and top, BottomColor on the right and bottom, Width
// rounds; Rect shrinks by Width.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

// ---------------------------------------------------------------------------------------------
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };
enum TBitmapHandleType { bmDIB, bmDDB };

class TGraphic : public TPersistent {
public:
    const char* ClassName() const override { return "TGraphic"; }
    virtual bool Empty() const { return Width() <= 0 || Height() <= 0; }
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int value) = 0;
    virtual void SetHeight(int value) = 0;
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }

    // Raise EFOpenError / EFCreateError when the file cannot be opened, EInvalidGraphic when its
    // content is not of this class's format.
    virtual void LoadFromFile(const String& fileName);
    virtual void SaveToFile(const String& fileName);
    virtual void LoadFromStream(std::istream& stream) = 0;
    virtual void SaveToStream(std::ostream& stream) = 0;
    // The class library's streams: loading reads from the stream's Position to its end, saving
    // writes at its Position. Every graphic class brings these into scope with a using
    // declaration, since its override of the std::istream pair would hide them.
    void LoadFromStream(TStream* stream);
    void SaveToStream(TStream* stream);
    void LoadFromBytes(const std::vector<uint8_t>& bytes);
    std::vector<uint8_t> SaveToBytes();

    // The graphic's data form in the component stream, its property "Data" (GraphicData.cpp):
    // by default its file, read to the end of Stream.
    virtual void ReadData(TStream* Stream);
    virtual void WriteData(TStream* Stream);
    void DefineProperties(TFiler* Filer) override;

    TGraphicsNotify OnChange;

protected:
    friend class TCanvas;
    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
    virtual void Changed();

private:
    bool FTransparent = false;
    bool FModified = false;
};

RTL_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
RTL_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);


class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pfDevice);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    const char* ClassName() const override { return "TBitmap"; }
    void Assign(const TPersistent* Source) override;

    int Width() const override;
    int Height() const override;
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    // New pixels are white; existing ones are kept where they fit.
    void SetSize(int width, int height);
    TCanvas* Canvas();
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat value);
    bool Monochrome() const { return PixelFormat() == pf1bit; }
    void SetMonochrome(bool value);
    TBitmapHandleType HandleType() const { return FHandleType; }
    void SetHandleType(TBitmapHandleType value) { FHandleType = value; }
    HBITMAP Handle() const { return reinterpret_cast<HBITMAP>(FHandle); }
    // The live bitmap behind a handle, nullptr for anything else.
    static TBitmap* FromHandle(HBITMAP handle);
    // tmAuto: the colour of the bottom-left pixel; setting a colour switches to tmFixed.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode value);
    // The pixels of a row in the bitmap's format, top row 0: pf24bit B,G,R; pf32bit and pfDevice
    // B,G,R,A; pf8bit palette indexes; pf1bit eight pixels a byte, first pixel in the high bit.
    // pf4bit two pixels a byte, first pixel in the high half; such rows are taken back into the
    // picture at the next drawing or reading, so call ScanLine again after drawing.
    void* ScanLine(int row);
    int BytesPerScanLine() const;
    // Colour table of pf1bit and pf8bit bitmaps.
    std::vector<TColor> Palette() const;
    void SetPalette(const std::vector<TColor>& colors);
    void Dormant() {}
    void FreeImage() {}
    HBITMAP ReleaseHandle() { return Handle(); }

    void LoadFromStream(std::istream& stream) override;
    void SaveToStream(std::ostream& stream) override;
    using TGraphic::LoadFromStream;
    using TGraphic::SaveToStream;
    // From the registry of resources the program embeds (RegisterResource); the data is a .bmp
    // file or a DIB without file header. Raises EResNotFound when there is no such resource.
    void LoadFromResourceName(uintptr_t instance, const String& name);
    // A 4-byte size, then the bitmap file.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

    // The pixels, kept by the backend (made on first use).
    ui::PixelStore& Store() const;
    // Tells the bitmap's listeners that its pixels were changed outside its canvas.
    void PixelsChanged() { Changed(); }

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;

private:
    friend class TCanvas;
    void DetachCanvas(TCanvas* canvas);
    void AttachCanvas(TCanvas* canvas);
    mutable std::unique_ptr<ui::PixelStore> FStore;
    std::unique_ptr<TCanvas> FCanvas;
    std::vector<TCanvas*> FAttached;
    uintptr_t FHandle = 0;
    TPixelFormat FPixelFormat = pfDevice;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
    TBitmapHandleType FHandleType = bmDIB;
};

// Resources the program embeds, by name alone: the typed table of platform/win/Resources.h, where
// these are raw data (RT_RCDATA); the lookup finds a name of any type. Names compare without
// regard to case.
void RegisterResource(const String& name, const uint8_t* data, size_t size);
const std::vector<uint8_t>* FindResource(const String& name);

class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;
    const char* ClassName() const override { return "TIcon"; }
    void Assign(const TPersistent* Source) override;
    int Width() const override;
    int Height() const override;
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    bool Transparent() const override { return true; }
    void LoadFromStream(std::istream& stream) override;
    void SaveToStream(std::ostream& stream) override;
    using TGraphic::LoadFromStream;
    using TGraphic::SaveToStream;
    // The image with its alpha channel (pf32bit).
    TBitmap* Bitmap() const { return FBitmap.get(); }

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;

private:
    std::unique_ptr<TBitmap> FBitmap;
};

class TMetafile;
class TJPEGImage;

// Holds one graphic of any class and chooses the class by file extension.
class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    const char* ClassName() const override { return "TPicture"; }
    void Assign(const TPersistent* Source) override;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // Takes a copy of the graphic (nullptr clears).
    void SetGraphic(TGraphic* value);
    // The graphic as a bitmap; a picture holding something else is replaced by an empty bitmap.
    TBitmap* Bitmap();
    TIcon* Icon();
    TMetafile* Metafile();
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }
    // .bmp, .jpg/.jpeg, .ico, .emf, .wmf and .png; EInvalidGraphic for another extension.
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName);
    // Reads a BMP, JPEG, PNG, icon, EMF or WMF picture from the stream's Position to its end, the
    // format told by its first bytes (EInvalidGraphic for anything else); writes the graphic in
    // its own format at the stream's Position (nothing when the picture is empty).
    void LoadFromStream(TStream* stream);
    void SaveToStream(TStream* stream);
    // "Data": one length byte, the graphic's class name and the graphic's own data form; the
    // graphic is made by name through the class registry.
    void DefineProperties(TFiler* Filer) override;

    TGraphicsNotify OnChange;

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    void Adopt(std::unique_ptr<TGraphic> graphic);
    void Changed();
    std::unique_ptr<TGraphic> FGraphic;
};

// PNG files, through the backend; the result is a pf32bit bitmap.
class TPngImage : public TBitmap {
public:
    const char* ClassName() const override { return "TPngImage"; }
    void LoadFromStream(std::istream& stream) override;
    void SaveToStream(std::ostream& stream) override;
    using TBitmap::LoadFromStream;
    using TBitmap::SaveToStream;
};

// The unit's metafile classes, declared apart from the bitmaps they record onto.
#include "platform/ui/Metafile.h"
