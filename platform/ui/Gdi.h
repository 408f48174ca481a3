#pragma once
// The drawing calls of the window system that the components make on a canvas handle (HDC):
// text drawing and metrics, bit-block transfers with raster operations, clipping regions, the
// text and background colours, origins, and solid brushes. A HDC is the Handle of a TCanvas.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/rtl/Geometry.h"
#include "platform/rtl/String.h"
#include "platform/rtl/Types.h"

using COLORREF = DWORD;

struct HDC__;
struct HRGN__;
struct HBRUSH__;
struct HPEN__;
struct HFONT__;
struct HBITMAP__;
using HDC = HDC__*;
using HRGN = HRGN__*;
using HBRUSH = HBRUSH__*;
using HPEN = HPEN__*;
using HFONT = HFONT__*;
using HBITMAP = HBITMAP__*;
using HGDIOBJ = void*;
// An image list (platform/ui/ImgList.h) and an icon.
struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;
struct HICON__;
using HICON = HICON__*;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

// System colours (GetSysColor indexes).
enum : int {
    COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7, COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10, COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13, COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26, COLOR_GRADIENTACTIVECAPTION = 27, COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29, COLOR_MENUBAR = 30,
    COLOR_3DFACE = COLOR_BTNFACE, COLOR_3DSHADOW = COLOR_BTNSHADOW, COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT,
    COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT, COLOR_BTNHILIGHT = COLOR_BTNHIGHLIGHT, COLOR_DESKTOP = COLOR_BACKGROUND,
};
// The classic scheme (grey 3D faces); an index outside the table gives 0.
COLORREF GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);

// DrawText / DrawTextEx formats.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

struct DRAWTEXTPARAMS {
    UINT cbSize = sizeof(DRAWTEXTPARAMS);
    int iTabLength = 8;  // in average character widths
    int iLeftMargin = 0;
    int iRightMargin = 0;
    UINT uiLengthDrawn = 0;
};

// Returns the height of the text drawn (from the rectangle's top when DT_VCENTER or DT_BOTTOM),
// 0 on failure. Count -1 means the text up to its terminating NUL.
int DrawText(HDC dc, const String& text, int count, TRect* rect, UINT format);
int DrawText(HDC dc, const char16_t* text, int count, TRect* rect, UINT format);
int DrawTextEx(HDC dc, const String& text, int count, TRect* rect, UINT format, DRAWTEXTPARAMS* params);

struct TEXTMETRIC {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
    LONG tmOverhang = 0;
    LONG tmDigitizedAspectX = 96;
    LONG tmDigitizedAspectY = 96;
    char16_t tmFirstChar = 0x20;
    char16_t tmLastChar = 0xFFFC;
    char16_t tmDefaultChar = 0x30FB;
    char16_t tmBreakChar = 0x20;
    BYTE tmItalic = 0;
    BYTE tmUnderlined = 0;
    BYTE tmStruckOut = 0;
    BYTE tmPitchAndFamily = 0;
    BYTE tmCharSet = 0;
};
using TTextMetric = TEXTMETRIC;
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* tm);
BOOL GetTextExtentPoint32(HDC dc, const String& text, int count, TSize* size);

// Text output and the colours it uses.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
int SetBkMode(HDC dc, int mode);  // returns the previous mode, 0 on failure
int GetBkMode(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);  // previous colour, CLR_INVALID on failure
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
constexpr UINT TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0,
               TA_BOTTOM = 8, TA_BASELINE = 24;
constexpr UINT GDI_ERROR = 0xFFFFFFFFu;
// Where the point given to text output lies on the text; returns the previous setting.
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;
BOOL TextOut(HDC dc, int x, int y, const String& text, int count);
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const TRect* rect, const String& text, int count,
                const int* dx);

// Lines and shapes with the canvas's pen and brush.
BOOL MoveToEx(HDC dc, int x, int y, TPoint* previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL Polyline(HDC dc, const TPoint* points, int count);
BOOL Polygon(HDC dc, const TPoint* points, int count);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);

// Raster operations of BitBlt, StretchBlt and PatBlt (D destination, S source, P brush).
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy, int sw, int sh,
                DWORD rop);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);

// Regions. Coordinates of a region selected into a DC are device coordinates.
constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const TRect* rect);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const TRect* rect);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
HRGN CreatePolygonRgn(const TPoint* points, int count, int fillMode);
int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
BOOL OffsetRgn(HRGN rgn, int dx, int dy);  // returns the region type, ERROR on failure
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const TRect* rect);
int GetRgnBox(HRGN rgn, TRect* rect);
BOOL EqualRgn(HRGN a, HRGN b);
// Selecting a region copies it; nullptr removes the clip. Returns the new clip's type.
int SelectClipRgn(HDC dc, HRGN rgn);
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
// 1 and a copy of the clip region in rgn when there is one, 0 when the DC is not clipped.
int GetClipRgn(HDC dc, HRGN rgn);
// The box of the visible area in logical coordinates.
int GetClipBox(HDC dc, TRect* rect);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
// The layer's own: the rectangles of the DC's clip region (device coordinates); clipped is set
// to false, and the list is empty, when no clip region is selected.
std::vector<TRect> GetClipRegionRects(HDC dc, bool* clipped);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush);
BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int width, int height);

// Solid brushes for FillRect and FrameRect.
HBRUSH CreateSolidBrush(COLORREF color);
int FillRect(HDC dc, const TRect* rect, HBRUSH brush);
int FrameRect(HDC dc, const TRect* rect, HBRUSH brush);
BOOL DrawFocusRect(HDC dc, const TRect* rect);
BOOL InvertRect(HDC dc, const TRect* rect);
// Frees a region or brush; stock and system-colour brushes are kept. FALSE for an unknown handle.
BOOL DeleteObject(HGDIOBJ object);

// Pens, brushes, fonts and bitmaps as GDI objects. SelectObject puts a pen, brush or font into
// the canvas's Pen, Brush or Font and returns a handle that restores the previous one when it is
// selected again; a bitmap becomes the canvas's surface; a region becomes its clip.
struct LOGFONT {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 400;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 1;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char16_t lfFaceName[32] = {};
};
using LOGFONTW = LOGFONT;
struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 0;
    void* bmBits = nullptr;
};
constexpr int PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
              PS_INSIDEFRAME = 6;
constexpr int HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4,
              HS_DIAGCROSS = 5;
constexpr int WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
              NULL_BRUSH = 5, HOLLOW_BRUSH = NULL_BRUSH, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8,
              SYSTEM_FONT = 13, DEFAULT_GUI_FONT = 17;
HGDIOBJ GetStockObject(int index);
HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HFONT CreateFontIndirect(const LOGFONT* font);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Fills a BITMAP for a bitmap or a LOGFONT for a font; returns the bytes written, 0 on failure.
int GetObject(HGDIOBJ object, int size, void* out);
// A canvas with no surface until a bitmap is selected into it; DeleteDC frees it.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
// A white bitmap owned by the GDI table until DeleteObject.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
constexpr int HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, BITSPIXEL = 12, PLANES = 14, NUMCOLORS = 24,
              RASTERCAPS = 38, LOGPIXELSX = 88, LOGPIXELSY = 90, PHYSICALWIDTH = 110, PHYSICALHEIGHT = 111,
              PHYSICALOFFSETX = 112, PHYSICALOFFSETY = 113;
constexpr int RC_BITBLT = 0x0001, RC_STRETCHBLT = 0x0800, RC_STRETCHDIB = 0x2000;
// LOGPIXELSX/LOGPIXELSY are 96 on screens and bitmaps and the printer's resolution on its canvas;
// HORZRES/VERTRES the surface (a printer: its printable area) in pixels, HORZSIZE/VERTSIZE the
// same in millimetres; PHYSICAL* the printer's sheet and where the printable area lies on it (0
// elsewhere). 0 for an index the layer does not answer.
int GetDeviceCaps(HDC dc, int index);

// Mapping modes: what a logical unit is. MM_TEXT is one pixel with y downwards; the others are
// lengths on the device (0.1 mm, 0.01 mm, 0.01 in, 0.001 in, 1/1440 in) scaled by LOGPIXELSX and
// LOGPIXELSY, with y upwards. A logical point p lands on the device at
// (p - window origin) x scale + viewport origin. The layer has no window and viewport extents, so
// MM_ISOTROPIC and MM_ANISOTROPIC are refused.
constexpr int MM_TEXT = 1, MM_LOMETRIC = 2, MM_HIMETRIC = 3, MM_LOENGLISH = 4, MM_HIENGLISH = 5, MM_TWIPS = 6,
              MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8;
// The previous mode; 0 (and the mode kept) for a mode the layer has not or a stale handle.
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
// Converts count points in place, rounded to the nearest unit and held to the canvas's range;
// FALSE (nothing written) for a stale handle, no points or a negative count.
BOOL LPtoDP(HDC dc, TPoint* points, int count);
BOOL DPtoLP(HDC dc, TPoint* points, int count);

// Device-independent bitmaps: a header, a colour table (1, 4 and 8 bits) and rows of pixels,
// each row padded to four bytes, bottom-up for a positive height and top-down for a negative one.
constexpr DWORD BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0, DIB_PAL_COLORS = 1;
struct BITMAPINFOHEADER {
    DWORD biSize = 40;
    LONG biWidth = 0;
    LONG biHeight = 0;
    WORD biPlanes = 1;
    WORD biBitCount = 0;
    DWORD biCompression = BI_RGB;
    DWORD biSizeImage = 0;  // the bytes of the pixels; 0: as many as the size and depth need
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;  // entries of the colour table; 0: all the depth can index
    DWORD biClrImportant = 0;
};
struct RGBQUAD {
    BYTE rgbBlue = 0;
    BYTE rgbGreen = 0;
    BYTE rgbRed = 0;
    BYTE rgbReserved = 0;
};
// The colour table is a vector here, so its length is known.
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    std::vector<RGBQUAD> bmiColors;
};
// Draws the source rectangle of a BI_RGB bitmap of 1, 4, 8 (through its colour table), 24 or 32
// bits stretched into the destination rectangle with a raster operation, as StretchBlt does:
// destination and source sizes of different signs mirror the image. The source's y counts from
// the first row in memory for a top-down bitmap and from the last one (the bottom row) for a
// bottom-up one, and a source rectangle reaching outside the bitmap is clipped to it. Answers the
// number of source rows drawn; 0 (nothing drawn) for another compression or usage, a colour
// table shorter than the header needs, bits shorter than its size, or no bits or header;
// GDI_ERROR for a stale handle.
int StretchDIBits(HDC dc, int x, int y, int width, int height, int sx, int sy, int sw, int sh,
                  std::span<const uint8_t> bits, const BITMAPINFO* info, UINT usage, DWORD rop);

// Edges of 3D frames.
constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr UINT BF_MIDDLE = 0x0800;
constexpr UINT BF_SOFT = 0x1000;
constexpr UINT BF_ADJUST = 0x2000;
constexpr UINT BF_FLAT = 0x4000;
constexpr UINT BF_MONO = 0x8000;
BOOL DrawEdge(HDC dc, TRect* rect, UINT edge, UINT flags);

// Origins: a logical point p lands on the device at p - windowOrg + viewportOrg.
BOOL SetWindowOrgEx(HDC dc, int x, int y, TPoint* previous);
BOOL GetWindowOrgEx(HDC dc, TPoint* origin);
BOOL SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous);
BOOL GetViewportOrgEx(HDC dc, TPoint* origin);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* previous);

// Right-to-left layout: the x axis runs from the right edge of the DC's area (the client area of a
// window's DC, the bitmap of a memory DC), so a rectangle (l, t, r, b) lands on (W - r, t, W - l, b).
// Text keeps its letters and reading order (its box is mirrored); bitmaps drawn or blitted are
// mirrored unless LAYOUT_BITMAPORIENTATIONPRESERVED is set too. A mapping mode applies first: the
// layout mirrors the device units it gives. SetLayout answers the previous
// layout, GDI_ERROR for a stale DC or bits other than these two (the layout stays).
constexpr DWORD LAYOUT_RTL = 0x00000001;
constexpr DWORD LAYOUT_BITMAPORIENTATIONPRESERVED = 0x00000008;
DWORD SetLayout(HDC dc, DWORD layout);
DWORD GetLayout(HDC dc);

// Saves the colours, modes (the mapping mode too), origins, clip, layout and current position;
// RestoreDC(-1) takes the last back.
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved);
