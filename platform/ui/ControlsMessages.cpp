// Window messages of the controls that components send each other: notifications reflected from
// the parent, the redraw switch, the pointer's look, the wheel asked of the parent, design hit
// tests, scaling and the replaceable window procedure.
#include "platform/ui/Controls.h"

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
