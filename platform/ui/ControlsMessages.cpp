// Window messages of the controls that components send each other: notifications reflected from
// the parent, the redraw switch, the pointer's look, the wheel asked of the parent, design hit
// tests, scaling and the replaceable window procedure.
#include "platform/ui/Controls.h"

#include "platform/ui/Cursors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/WindowPeer.h"

void TWinControl::WMCommand(TMessage& Message) {
    // Any control of the program, as the platform reflects it; the answer is read from the
    // message, never from the control, which its own handler may have freed.
    TWinControl* control = Message.LParam ? FindControl(reinterpret_cast<HWND>(Message.LParam)) : nullptr;
    if (control) Message.Result = control->Perform(CN_COMMAND, Message.WParam, Message.LParam);
    else DefaultHandler(Message);
}

void TWinControl::WMSetRedraw(TMessage& Message) {
    FRedrawOff = Message.WParam == 0;
    if (FPeer) FPeer->SetRedraw(!FRedrawOff);
}

bool TWinControl::RedrawSuspended() const {
    // A pop-up is a window of its own, outside its parent's.
    for (const TWinControl* w = this; w; w = w->IsPopup() ? nullptr : w->Parent())
        if (w->FRedrawOff) return true;
    return false;
}

namespace {
// The size cursor of a sizing border's hit; crDefault for any other hit.
TCursor SizingCursor(int hit) {
    switch (hit) {
        case HTLEFT: case HTRIGHT: return crSizeWE;
        case HTTOP: case HTBOTTOM: return crSizeNS;
        case HTTOPLEFT: case HTBOTTOMRIGHT: return crSizeNWSE;
        case HTTOPRIGHT: case HTBOTTOMLEFT: return crSizeNESW;
        default: return crDefault;
    }
}
}  // namespace

void TWinControl::WMSetCursor(TMessage& Message) {
    if (FParent && !IsPopup() && FParent->HandleAllocated() &&
        FParent->Perform(WM_SETCURSOR, Message.WParam, Message.LParam) != 0) {
        Message.Result = TRUE_;
        return;
    }
    Message.Result = FALSE_;
    if (reinterpret_cast<HWND>(Message.WParam) != FHandle) return;
    int hit = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(Message.LParam)));
    TCursor cursor = Screen->Cursor();
    if (cursor == crDefault) {
        if (hit == HTCLIENT) {
            TControl* under = ControlAtPos(ScreenToClient(Mouse->CursorPos()), false);
            if (under) cursor = under->Cursor();
            if (cursor == crDefault) cursor = Cursor();
        } else if (hit == HTERROR || hit == HTNOWHERE || hit == HTTRANSPARENT) {
            return;
        } else {
            cursor = SizingCursor(hit);
            if (cursor == crDefault) cursor = crArrow;
        }
    }
    ::SetCursor(ui::CursorHandle(cursor));
    Message.Result = TRUE_;
}

bool TControl::DesignHitTest(const TMessage& Message) {
    // The wheel carries a screen point and its keys in the low word; the others a client point.
    WPARAM keys = Message.WParam;
    LPARAM point = Message.LParam;
    if (Message.Msg == WM_MOUSEWHEEL) {
        keys = Message.WParamLo();
        TPoint p = ScreenToClient(TPoint(GET_X_LPARAM(point), GET_Y_LPARAM(point)));
        point = PointToLParam(p.X, p.Y);
    }
    return Perform(CM_DESIGNHITTEST, keys, point) != 0;
}

namespace {
void RequireDivisor(int D) {
    if (D == 0) throw EInvalidOperation(String("A scale cannot have a divisor of 0"));
}
}  // namespace

void TControl::ScaleBy(int M, int D) {
    RequireDivisor(D);
    ChangeScale(M, D);
}

void TControl::ChangeScale(int M, int D) {
    RequireDivisor(D);
    SetBounds(MulDiv(FLeft, M, D), MulDiv(FTop, M, D), MulDiv(FWidth, M, D), MulDiv(FHeight, M, D));
    if (!FParentFont) FFont->SetHeight(MulDiv(FFont->Height(), M, D));
}

void TWinControl::ChangeScale(int M, int D) {
    RequireDivisor(D);
    // The children first, then the control, laid out once at the end.
    bool aligning = FAligning;
    FAligning = true;
    try {
        std::vector<TControl*> children = FControls;
        for (TControl* c : children) c->ChangeScale(M, D);
        TControl::ChangeScale(M, D);
    } catch (...) {
        FAligning = aligning;
        throw;
    }
    FAligning = aligning;
    AlignControls();
}

TWndMethod TControl::WindowProc() {
    if (FWindowProc) return *FWindowProc;
    return [this](TMessage& Message) { WndProc(Message); };
}

void TControl::SetWindowProc(TWndMethod Value) {
    FWindowProc = Value ? std::make_shared<const TWndMethod>(std::move(Value)) : nullptr;
}

void TControl::Deliver(TMessage& Message) {
    if (!FWindowProc) {
        WndProc(Message);
        return;
    }
    // Held for the call: the hook may put the kept procedure back from inside itself.
    std::shared_ptr<const TWndMethod> proc = FWindowProc;
    (*proc)(Message);
}
