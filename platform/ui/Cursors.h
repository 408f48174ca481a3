#pragma once
// Cursors as handles: the built-in shapes and the program's own cursors, loaded from embedded
// resources (RegisterResource) or from .cur/.ico files. Screen->SetCursors(n, LoadCursor(...))
// makes one available as cursor n.
#include "platform/ui/Controls.h"
#include "platform/win/Resources.h"

using HCURSOR = HANDLE;

// Built-in cursors, as the platform numbers them.
constexpr uintptr_t IDC_ARROW = 32512, IDC_IBEAM = 32513, IDC_WAIT = 32514, IDC_CROSS = 32515,
                    IDC_UPARROW = 32516, IDC_SIZENWSE = 32642, IDC_SIZENESW = 32643, IDC_SIZEWE = 32644,
                    IDC_SIZENS = 32645, IDC_SIZEALL = 32646, IDC_NO = 32648, IDC_HAND = 32649,
                    IDC_APPSTARTING = 32650, IDC_HELP = 32651;

// Built-in: LoadCursor(0, IDC_xxx). Own: the named resource, a .cur or .ico file's bytes.
// nullptr (ERROR_RESOURCE_NAME_NOT_FOUND) when there is no such cursor.
HCURSOR LoadCursor(HINSTANCE instance, uintptr_t id);
HCURSOR LoadCursor(HINSTANCE instance, const String& name);
HCURSOR LoadCursorFromFile(const String& fileName);
BOOL DestroyCursor(HCURSOR cursor);
// The pointer's look over the window the layer last sent WM_SETCURSOR (it decides until the
// next one): answers the cursor shown before; nullptr, or a handle that names no cursor, shows
// none.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

namespace ui {
// What a cursor handle stands for: a built-in shape (crXxx), or an image with its hot spot.
struct CursorInfo {
    TCursor Shape = crArrow;
    const TBitmap* Image = nullptr;  // nullptr for a built-in shape
    TPoint HotSpot;
};
bool GetCursorInfo(HCURSOR cursor, CursorInfo& info);
// What a control's Cursor stands for: a built-in shape (crDefault: the window's default), or
// the program's own cursor in that slot of Screen->Cursors.
CursorInfo ResolveCursor(TCursor cursor);
// One look of the pointer for the whole application, as Screen->Cursor shows it: a built-in
// shape or the program's own cursor in that slot (crDefault: none, each window's own).
void OverrideCursor(TCursor cursor);
// A .cur (or .ico) file's bytes to a cursor handle; nullptr when they are no cursor.
HCURSOR CreateCursorFromBytes(const std::vector<uint8_t>& bytes);
// A handle for what a control's Cursor stands for (the built-in shapes' handles are the layer's
// and live as long as the process; the program's own are the slots of Screen->Cursors, an empty
// slot the arrow).
HCURSOR CursorHandle(TCursor cursor);
namespace detail {
// The window under the pointer, as WM_SETCURSOR is about to be sent to it: SetCursor shows on it.
void SetCursorWindow(HWND window);
}
}  // namespace ui
