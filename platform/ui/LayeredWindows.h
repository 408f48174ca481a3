#pragma once
// Declarations of the layered-window functions of "user32". The layer does not implement them
// yet: GetProcAddress answers nil for both, and callers keep to opaque windows.
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
