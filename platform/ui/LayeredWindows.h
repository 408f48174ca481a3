#pragma once
// Layered windows: a top-level window with WS_EX_LAYERED shows a constant opacity
// (SetLayeredWindowAttributes with LWA_ALPHA) or a premultiplied 32-bit picture of its own with
// per-pixel alpha times a constant one (UpdateLayeredWindow with ULW_ALPHA; ULW_OPAQUE shows it
// opaque). They work where the desktop shows translucency (Supports(TranslucentWindows)); "user32"
// exports them exactly there, so code that looks them up finds them only where they work.
// Elsewhere they answer FALSE with ERROR_NOT_SUPPORTED and change nothing. Colour keys
// (LWA_COLORKEY, ULW_COLORKEY) are not built: FALSE with ERROR_NOT_SUPPORTED everywhere. A child
// window or one without WS_EX_LAYERED: FALSE with ERROR_INVALID_PARAMETER; a handle that is no
// window: ERROR_INVALID_WINDOW_HANDLE.
#include "platform/ui/Gdi.h"
#include "platform/win/WinTypes.h"

struct BLENDFUNCTION {
    BYTE BlendOp = 0;
    BYTE BlendFlags = 0;
    BYTE SourceConstantAlpha = 255;
    BYTE AlphaFormat = 0;
};
constexpr BYTE AC_SRC_OVER = 0x00;
constexpr BYTE AC_SRC_ALPHA = 0x01;
constexpr DWORD ULW_COLORKEY = 0x01;
constexpr DWORD ULW_ALPHA = 0x02;
constexpr DWORD ULW_OPAQUE = 0x04;
constexpr DWORD LWA_COLORKEY = 0x01;
constexpr DWORD LWA_ALPHA = 0x02;

using TUpdateLayeredWindow = BOOL (*)(HWND hwnd, HDC hdcDst, TPoint* pptDst, TSize* psize, HDC hdcSrc,
                                      TPoint* pptSrc, COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags);
using TSetLayeredWindowAttributes = BOOL (*)(HWND hwnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags);
using TGetLayeredWindowAttributes = BOOL (*)(HWND hwnd, COLORREF* pcrKey, BYTE* pbAlpha, DWORD* pdwFlags);

// The constant opacity (LWA_ALPHA; without it the window is opaque). The window shows its own
// painting with it, in place of a picture UpdateLayeredWindow gave.
BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags);
// What SetLayeredWindowAttributes set; FALSE (ERROR_INVALID_PARAMETER) while it was not called
// or UpdateLayeredWindow gave the window its picture since.
BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* pcrKey, BYTE* pbAlpha, DWORD* pdwFlags);
// Moves the window to *pptDst (screen; nil: where it is), sizes it to *psize (nil: its size)
// and shows that part of the source DC's 32-bit bitmap from *pptSrc (nil: 0, 0) as its picture.
// A nil source keeps the picture and only moves the window. hdcDst is not used. A source that
// is not a 32-bit bitmap, a part outside it, or ULW_ALPHA without a blend function: FALSE with
// ERROR_INVALID_PARAMETER, and the window keeps its picture and place.
BOOL UpdateLayeredWindow(HWND hwnd, HDC hdcDst, TPoint* pptDst, TSize* psize, HDC hdcSrc, TPoint* pptSrc,
                         COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags);
