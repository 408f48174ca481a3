// A form's alpha blending: its window layered with a constant opacity.
#include "platform/rtl/Format.h"
#include "platform/ui/Forms.h"
#include "platform/ui/LayeredWindows.h"

void TCustomForm::SetAlphaBlend(bool value) {
    if (FAlphaBlend == value) return;
    FAlphaBlend = value;
    ApplyAlphaBlend();
}

void TCustomForm::SetAlphaBlendValue(int value) {
    if (value < 0 || value > 255)
        throw EInvalidOperation(Format(String("AlphaBlendValue %d is outside 0..255"), {value}));
    if (FAlphaBlendValue == value) return;
    FAlphaBlendValue = value;
    ApplyAlphaBlend();
}

void TCustomForm::ApplyAlphaBlend() {
    if (!HandleAllocated()) return;
    HWND h = Handle();
    auto ex = static_cast<DWORD>(GetWindowLong(h, GWL_EXSTYLE));
    if (FAlphaBlend) {
        if (!(ex & WS_EX_LAYERED)) SetWindowLong(h, GWL_EXSTYLE, static_cast<LONG>(ex | WS_EX_LAYERED));
        // Refused where the desktop shows no translucency: the form shows opaque.
        SetLayeredWindowAttributes(h, 0, static_cast<BYTE>(FAlphaBlendValue), LWA_ALPHA);
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLong(h, GWL_EXSTYLE, static_cast<LONG>(ex & ~WS_EX_LAYERED));
    }
}
