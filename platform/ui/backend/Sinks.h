#pragma once
// What the backend reports to the UI library. The backend only reports; the library decides what
// a report means (which control gets a click, whether a form may take input, what runs OnClick)
// and handles any exception a handler raises, so no rule of the UI lives in a backend.
#include "platform/ui/Controls.h"

class TMenuItem;

namespace ui {

// Events of a control's window, in window coordinates (the frame included); the library finds
// the part of the window hit and the client coordinates.
class WindowSink {
public:
    virtual ~WindowSink() = default;
    virtual void Mouse(TWinControl* target, UINT msg, int x, int y, WPARAM keys) = 0;
    virtual void MouseWheel(TWinControl* target, int delta, int x, int y, WPARAM keys) = 0;
    virtual void MouseLeave(TWinControl* target) = 0;
    // True when the key went to the dialog or a shortcut: its characters must not follow.
    // keyData is the platform's LParam of key messages (repeat count, scan code, flags); a
    // character carries the data of the key that typed it.
    virtual bool Key(TWinControl* window, bool down, WORD vk, bool alt, LPARAM keyData = 0) = 0;
    virtual void Char(TWinControl* window, char16_t ch, bool alt, LPARAM keyData = 0) = 0;
    // The input method's composition changed: the text being composed (empty: none any more) with
    // its cursor, and what it typed (commit), if anything.
    virtual void Composition(TWinControl* window, const String& composing, int cursor, const String& commit) = 0;
    // The window is about to be shown: its pending paint passes run now.
    virtual void Paint(TWinControl* target) = 0;
    virtual void Resized(TWinControl* target, int width, int height) = 0;
    // A top-level window was moved (by the user or the window manager) to (left, top).
    virtual void Moved(TWinControl* target, int left, int top) = 0;
    // The user asked to close a top-level window.
    virtual void CloseRequest(TWinControl* target) = 0;
    virtual void Activated(TWinControl* target, bool active) = 0;
    // The desktop gave the activation to another program (false) or back to this one (true).
    virtual void ApplicationActivated(bool active) { (void)active; }
};

// What a key types, for a backend to report as characters: the text its keyboard attached,
// except that Ctrl+letter types its control character (Ctrl+A is 0x01), as the platform's
// keyboard does, and other keys with Ctrl type only the control characters of the text (Ctrl+[
// is Escape). Ctrl+Alt is AltGr on some keyboards and types the text.
String TypedChars(WORD vk, const String& text, bool ctrl, bool alt);

// The platform's key data of a key message: repeat count (bits 0-15), scan code (16-23), the
// extended-key flag (24), Alt (29), the previous key state (30) and the transition (31). keypad:
// the key is on the numeric keypad. scanCode: the set-1 code of the physical key when the
// keyboard tells it (0: the code of the key of a US keyboard that has vk).
LPARAM KeyData(WORD vk, bool keypad, int repeat, bool alt, bool down, bool autoRepeat, uint8_t scanCode = 0);

// Events of a menu the backend shows. Items are named by the pointers the library handed over;
// the backend never reads them, and the library looks each one up before it touches it, since it
// may have been freed while the menu was open.
class MenuSink {
public:
    virtual ~MenuSink() = default;
    // The sub-menu of item is about to open.
    virtual void SubMenuOpening(TMenuItem* item) = 0;
    // The user chose item; reported after the menu has closed.
    virtual void ItemChosen(TMenuItem* item) = 0;
};

// A setting of the desktop that changed: its colours (the palette), its fonts, or its visual
// style (the widget style or the theme).
enum class DesktopChange { Colors, Fonts, Style };

// Changes of the desktop's settings, reported once each as the backend notices them.
class DesktopSink {
public:
    virtual ~DesktopSink() = default;
    virtual void DesktopChanged(DesktopChange what) = 0;
};

struct FontChoice;

// Events of a common dialog while it is open.
class DialogSink {
public:
    virtual ~DialogSink() = default;
    // The Apply button of the font dialog was pressed with this font shown.
    virtual void FontApplied(const FontChoice& font) = 0;
};

}  // namespace ui
