#pragma once
// The desktop's setting changes as notices to the controls: every control of every form, graphic
// ones included, gets CM_SYSCOLORCHANGE when the desktop's colours change, CM_SYSFONTCHANGED when
// its fonts do and WM_THEMECHANGED when its visual style does. The backend reports the changes
// through this sink; GetBackend connects it.
#include "platform/ui/backend/Sinks.h"

namespace ui {

struct DesktopNotices final : DesktopSink {
    void DesktopChanged(DesktopChange what) override;
};

// Sends the message to every control of every form on the screen: each form, then its controls,
// a parent before its children. A control freed or moved away by a handler is skipped.
void NotifyAllControls(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

}  // namespace ui
