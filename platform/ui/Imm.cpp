#include "platform/ui/Imm.h"

#include <algorithm>
#include <cstring>

#include "platform/ui/Controls.h"

ui::detail::Composition& ui::detail::CurrentComposition() {
    static Composition composition;
    return composition;
}

HIMC ImmGetContext(HWND hwnd) {
    TWinControl* w = FindControl(hwnd);
    return w && w->HandleAllocated() ? static_cast<HIMC>(hwnd) : nullptr;
}

BOOL ImmReleaseContext(HWND hwnd, HIMC context) { return hwnd && context == hwnd ? TRUE_ : FALSE_; }

LONG ImmGetCompositionString(HIMC context, DWORD index, void* buffer, DWORD bufferBytes) {
    if (!context || !FindControl(static_cast<HWND>(context))) return IMM_ERROR_GENERAL;
    const ui::detail::Composition& c = ui::detail::CurrentComposition();
    bool ours = c.window == static_cast<HWND>(context);
    if (index == GCS_CURSORPOS) return ours && c.active ? c.cursor : IMM_ERROR_NODATA;
    if (index != GCS_COMPSTR && index != GCS_RESULTSTR) return IMM_ERROR_GENERAL;
    const String& text = index == GCS_COMPSTR ? c.composing : c.result;
    if (!ours || (index == GCS_COMPSTR && !c.active)) return IMM_ERROR_NODATA;
    auto bytes = static_cast<DWORD>(text.size() * sizeof(char16_t));
    if (bufferBytes == 0 || !buffer) return static_cast<LONG>(bytes);
    DWORD n = std::min(bytes, bufferBytes) / sizeof(char16_t) * sizeof(char16_t);
    std::memcpy(buffer, text.data(), n);
    return static_cast<LONG>(n);
}

String ui::CompositionString(HIMC context, DWORD index) {
    String text;
    LONG bytes = ImmGetCompositionString(context, index, nullptr, 0);
    if (bytes <= 0) return text;
    text.resize(static_cast<size_t>(bytes) / sizeof(char16_t));
    LONG got = ImmGetCompositionString(context, index, text.data(), static_cast<DWORD>(bytes));
    text.resize(got > 0 ? static_cast<size_t>(got) / sizeof(char16_t) : 0);
    return text;
}
