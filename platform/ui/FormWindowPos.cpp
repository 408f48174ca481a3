// A form's place changes through its window, so hooks and handlers of WM_WINDOWPOSCHANGING and
// WM_WINDOWPOSCHANGED see every move and resize, by the program or by the user.
#include "platform/ui/Forms.h"
#include "platform/ui/UiInput.h"
#include "platform/win/Window.h"

namespace {

UINT FlagsFor(int x, int y, int cx, int cy, const TRect& from) {
    UINT f = SWP_NOZORDER | SWP_NOACTIVATE;
    if (x == from.Left && y == from.Top) f |= SWP_NOMOVE;
    if (cx == from.Width() && cy == from.Height()) f |= SWP_NOSIZE;
    return f;
}

}  // namespace

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (!HandleAllocated() || (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height())) {
        TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
        return;
    }
    HWND wnd = Handle();
    TRect before = BoundsRect();
    WINDOWPOS pos{wnd, nullptr, ALeft, ATop, AWidth, AHeight, FlagsFor(ALeft, ATop, AWidth, AHeight, before)};
    SendMessage(wnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    TWinControl::SetBounds(pos.x, pos.y, pos.cx, pos.cy);
    TRect after = BoundsRect();
    if (after == before) return;
    WINDOWPOS done{wnd, nullptr, after.Left, after.Top, after.Width(), after.Height(),
                   FlagsFor(after.Left, after.Top, after.Width(), after.Height(), before)};
    SendMessage(wnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&done));
}

void UiInput::Moved(TWinControl* target, int left, int top) {
    if (left == target->Left() && top == target->Top()) return;
    try {
        target->SetBounds(left, top, target->Width(), target->Height());
    } catch (...) {
        Application->HandleException(target);
    }
}
