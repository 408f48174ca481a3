#pragma once
// The input method's composition as a window sees it: between WM_IME_STARTCOMPOSITION and
// WM_IME_ENDCOMPOSITION the text being composed (not yet typed) and its cursor, and with
// WM_IME_COMPOSITION GCS_RESULTSTR the text it typed. A control that draws its own text reads
// them here to show the composition where it types.
#include "platform/rtl/String.h"
#include "platform/win/WinTypes.h"

using HIMC = HANDLE;

constexpr DWORD GCS_COMPREADSTR = 0x0001, GCS_COMPSTR = 0x0008, GCS_COMPATTR = 0x0010, GCS_CURSORPOS = 0x0080,
                GCS_RESULTSTR = 0x0800;
constexpr LONG IMM_ERROR_NODATA = -1, IMM_ERROR_GENERAL = -2;

// The input context of a window of the program (nullptr for anything else); release it with
// ImmReleaseContext.
HIMC ImmGetContext(HWND hwnd);
BOOL ImmReleaseContext(HWND hwnd, HIMC context);
// GCS_COMPSTR and GCS_RESULTSTR: the text as UTF-16 into buffer (bufferBytes 0: only the size),
// answering its size in bytes; GCS_CURSORPOS: the cursor's place in the composition.
// IMM_ERROR_NODATA when the window has no such text now, IMM_ERROR_GENERAL for another index or a
// bad context.
LONG ImmGetCompositionString(HIMC context, DWORD index, void* buffer, DWORD bufferBytes);

namespace ui {
// The whole GCS_COMPSTR or GCS_RESULTSTR text of a context, asked for its size first as the call
// wants (empty where there is none).
String CompositionString(HIMC context, DWORD index);
}  // namespace ui

namespace ui::detail {
// What the library keeps of the composition of one window while its messages are sent.
struct Composition {
    HWND window = nullptr;
    bool active = false;  // between start and end
    String composing;
    int cursor = 0;
    String result;  // while WM_IME_COMPOSITION GCS_RESULTSTR is being handled
};
Composition& CurrentComposition();
}  // namespace ui::detail
