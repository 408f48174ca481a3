#pragma once
// The picture loader: OleLoadPicture reads a BMP, JPEG, GIF (its first image), icon or metafile
// (enhanced, or the older kind with its placeable header) from a stream and gives an IPicture,
// whose size is in 0.01 mm at 96 pixels per inch and which draws itself scaled onto a canvas
// handle. Anything else, PNG included, is refused with CTL_E_INVALIDPICTURE.
#include "platform/ole/Stream.h"
#include "platform/ui/Gdi.h"
#include "platform/win/WinTypes.h"

using OLE_XSIZE_HIMETRIC = LONG;
using OLE_YSIZE_HIMETRIC = LONG;
using OLE_XPOS_HIMETRIC = LONG;
using OLE_YPOS_HIMETRIC = LONG;

constexpr SHORT PICTYPE_UNINITIALIZED = -1, PICTYPE_NONE = 0, PICTYPE_BITMAP = 1, PICTYPE_METAFILE = 2,
                PICTYPE_ICON = 3, PICTYPE_ENHMETAFILE = 4;

constexpr HRESULT CTL_E_INVALIDPICTURE = static_cast<HRESULT>(0x800A01E1u);

struct IPicture : IUnknown {
    static constexpr IID Iid{0x7BF80980, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
    using Base = IUnknown;
    // PICTYPE_BITMAP (BMP, JPEG, GIF), PICTYPE_ICON, PICTYPE_METAFILE or PICTYPE_ENHMETAFILE.
    virtual HRESULT get_Type(SHORT* type) = 0;
    // In 0.01 mm: pixels x 2540 / 96, rounded as MulDiv rounds; a metafile's own frame.
    virtual HRESULT get_Width(OLE_XSIZE_HIMETRIC* width) = 0;
    virtual HRESULT get_Height(OLE_YSIZE_HIMETRIC* height) = 0;
    // Draws the part (xSrc, ySrc, cxSrc, cySrc) of the picture, in 0.01 mm with the vertical axis
    // running upward from the picture's bottom edge, scaled into (x, y, cx, cy) of the canvas
    // behind dc. The whole picture upright is (0, height, width, -height); opposite signs mirror
    // it. bounds is for metafile canvases and may be nullptr. E_INVALIDARG for a dc that is no
    // canvas or an empty source.
    virtual HRESULT Render(HDC dc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                           OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, const TRect* bounds) = 0;
};
inline constexpr const IID& IID_IPicture = IPicture::Iid;

// Reads size bytes (0: the rest of the stream) from the stream's position and decodes them.
// runMode is the platform's flag that the original format need not be kept; the layer keeps no
// original bytes either way, since it does not save pictures. The picture comes as the interface
// iid asks for (IID_IPicture or IID_IUnknown; E_NOINTERFACE otherwise). On failure *picture is
// nullptr: CTL_E_INVALIDPICTURE for data that is no picture the loader reads, E_POINTER for a
// missing stream or out pointer.
HRESULT OleLoadPicture(IStream* stream, LONG size, BOOL runMode, REFIID iid, void** picture);
