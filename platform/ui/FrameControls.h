#pragma once
// DrawFrameControl: the classic look of buttons, check boxes, radio buttons and scroll arrows,
// drawn in the system colours on a canvas handle.
#include "platform/ui/Gdi.h"

constexpr UINT DFC_CAPTION = 1;
constexpr UINT DFC_MENU = 2;
constexpr UINT DFC_SCROLL = 3;
constexpr UINT DFC_BUTTON = 4;

constexpr UINT DFCS_BUTTONCHECK = 0x0000;
constexpr UINT DFCS_BUTTONRADIO = 0x0004;
constexpr UINT DFCS_BUTTON3STATE = 0x0008;
constexpr UINT DFCS_BUTTONPUSH = 0x0010;
constexpr UINT DFCS_SCROLLUP = 0x0000;
constexpr UINT DFCS_SCROLLDOWN = 0x0001;
constexpr UINT DFCS_SCROLLLEFT = 0x0002;
constexpr UINT DFCS_SCROLLRIGHT = 0x0003;
constexpr UINT DFCS_SCROLLCOMBOBOX = 0x0005;
constexpr UINT DFCS_INACTIVE = 0x0100;
constexpr UINT DFCS_PUSHED = 0x0200;
constexpr UINT DFCS_CHECKED = 0x0400;
constexpr UINT DFCS_HOT = 0x1000;
constexpr UINT DFCS_ADJUSTRECT = 0x2000;
constexpr UINT DFCS_FLAT = 0x4000;

// DFC_BUTTON with DFCS_BUTTONPUSH, DFCS_BUTTONCHECK, DFCS_BUTTONRADIO or DFCS_BUTTON3STATE, and
// DFC_SCROLL with DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT or
// DFCS_SCROLLCOMBOBOX; other kinds answer FALSE.
// A push button's frame is 2 pixels wide (1 when flat); with DFCS_ADJUSTRECT the rectangle
// shrinks to the face inside it.
BOOL DrawFrameControl(HDC dc, TRect* rect, UINT type, UINT state);
