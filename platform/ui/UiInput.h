#pragma once
// The library's side of the window sink: what the backend reports about windows, turned into the
// messages of the controls. One object serves every window; GetBackend connects it.
#include "platform/ui/backend/Sinks.h"

struct UiInput final : ui::WindowSink {
    void Mouse(TWinControl* target, UINT msg, int x, int y, WPARAM keys) override;
    void MouseWheel(TWinControl* target, int delta, int x, int y, WPARAM keys) override;
    void MouseLeave(TWinControl* target) override;
    bool Key(TWinControl* window, bool down, WORD vk, bool alt, LPARAM keyData = 0) override;
    void Char(TWinControl* window, char16_t ch, bool alt, LPARAM keyData = 0) override;
    void Composition(TWinControl* window, const String& composing, int cursor, const String& commit) override;
    void Paint(TWinControl* target) override;
    void Resized(TWinControl* target, int width, int height) override;
    void Moved(TWinControl* target, int left, int top) override;
    void CloseRequest(TWinControl* target) override;
    void Activated(TWinControl* target, bool active) override;
    void ApplicationActivated(bool active) override;

    // The form's window now shows a menu bar this high above its client area (0: none).
    static void MenuBarChanged(TCustomForm* form, int height);
};
