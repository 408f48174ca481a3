#include "platform/qt/QtInput.h"

#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <atomic>

#include "platform/qt/QtWindow.h"
#include "platform/ui/backend/Backend.h"
#include "platform/win/Window.h"

namespace qtb {

namespace {

std::atomic<uint64_t> gFiltered{0};

struct KeyPair {
    int qt;
    WORD vk;
};

// Keys whose virtual key does not follow from the Qt key code by arithmetic. Shifted symbols
// are the keys of a US keyboard that type them.
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},  {Qt::Key_Enter, VK_RETURN},    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},       {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},   {Qt::Key_PageDown, VK_NEXT},   {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},      {Qt::Key_Left, VK_LEFT},       {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},    {Qt::Key_Down, VK_DOWN},       {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Semicolon, VK_OEM_1}, {Qt::Key_Colon, VK_OEM_1},    {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Plus, VK_OEM_PLUS},  {Qt::Key_Comma, VK_OEM_COMMA}, {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Minus, VK_OEM_MINUS}, {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Greater, VK_OEM_PERIOD}, {Qt::Key_Slash, VK_OEM_2}, {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3}, {Qt::Key_AsciiTilde, VK_OEM_3}, {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4}, {Qt::Key_Backslash, VK_OEM_5}, {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6}, {Qt::Key_BraceRight, VK_OEM_6}, {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7}, {Qt::Key_Exclam, '1'},         {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},    {Qt::Key_Dollar, '4'},         {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},   {Qt::Key_Ampersand, '7'},      {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},     {Qt::Key_ParenRight, '0'},
};

// Keys of the numeric keypad (with Qt's keypad modifier).
constexpr KeyPair kKeypad[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},      {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Period, VK_DECIMAL},    {Qt::Key_Comma, VK_DECIMAL}, {Qt::Key_Slash, VK_DIVIDE},
};

// Scan codes of the platform's keyboard (set 1) by virtual key; extended: the key sits outside
// the original keyboard's block (arrow and editing keys beside the keypad, keypad Enter and /).
struct ScanCode {
    WORD vk;
    uint8_t code;
    bool extended;
};
constexpr ScanCode kScanCodes[] = {
    {VK_ESCAPE, 0x01, false}, {VK_OEM_MINUS, 0x0C, false}, {VK_OEM_PLUS, 0x0D, false},
    {VK_BACK, 0x0E, false},   {VK_TAB, 0x0F, false},       {VK_OEM_4, 0x1A, false},
    {VK_OEM_6, 0x1B, false},  {VK_RETURN, 0x1C, false},    {VK_CONTROL, 0x1D, false},
    {VK_OEM_1, 0x27, false},  {VK_OEM_7, 0x28, false},     {VK_OEM_3, 0x29, false},
    {VK_SHIFT, 0x2A, false},  {VK_OEM_5, 0x2B, false},     {VK_OEM_COMMA, 0x33, false},
    {VK_OEM_PERIOD, 0x34, false}, {VK_OEM_2, 0x35, false}, {VK_MULTIPLY, 0x37, false},
    {VK_MENU, 0x38, false},   {VK_SPACE, 0x39, false},     {VK_CAPITAL, 0x3A, false},
    {VK_PAUSE, 0x45, false},  {VK_SUBTRACT, 0x4A, false},  {VK_ADD, 0x4E, false},
    {VK_DECIMAL, 0x53, false}, {VK_DIVIDE, 0x35, true},
    {VK_HOME, 0x47, true},    {VK_UP, 0x48, true},         {VK_PRIOR, 0x49, true},
    {VK_LEFT, 0x4B, true},    {VK_RIGHT, 0x4D, true},      {VK_END, 0x4F, true},
    {VK_DOWN, 0x50, true},    {VK_NEXT, 0x51, true},       {VK_INSERT, 0x52, true},
    {VK_DELETE, 0x53, true},
};
constexpr uint8_t kLetterScan[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
                                     0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
constexpr uint8_t kKeypadDigitScan[10] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};

void ScanCodeOf(WORD vk, bool keypad, uint8_t& code, bool& extended) {
    code = 0;
    extended = false;
    if (vk >= 'A' && vk <= 'Z') code = kLetterScan[vk - 'A'];
    else if (vk >= '1' && vk <= '9') code = static_cast<uint8_t>(0x02 + (vk - '1'));
    else if (vk == '0') code = 0x0B;
    else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) code = kKeypadDigitScan[vk - VK_NUMPAD0];
    else if (vk >= VK_F1 && vk < VK_F1 + 10) code = static_cast<uint8_t>(0x3B + (vk - VK_F1));
    else if (vk == VK_F1 + 10) code = 0x57;
    else if (vk == VK_F1 + 11) code = 0x58;
    else
        for (const auto& s : kScanCodes)
            if (s.vk == vk) {
                code = s.code;
                extended = s.extended;
                break;
            }
    // The editing keys of the keypad (Num Lock off) are the same keys without the extension;
    // the keypad's Enter is Enter with it.
    if (keypad && vk >= VK_PRIOR && vk <= VK_DELETE) extended = false;
    if (keypad && vk == VK_RETURN) extended = true;
}

UINT ButtonMessage(QEvent::Type type, Qt::MouseButton b) {
    bool right = b == Qt::RightButton, middle = b == Qt::MiddleButton;
    switch (type) {
        case QEvent::MouseButtonPress: return right ? WM_RBUTTONDOWN : middle ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
        case QEvent::MouseButtonRelease: return right ? WM_RBUTTONUP : middle ? WM_MBUTTONUP : WM_LBUTTONUP;
        case QEvent::MouseButtonDblClick: return right ? WM_RBUTTONDBLCLK : middle ? WM_MBUTTONDBLCLK : WM_LBUTTONDBLCLK;
        default: return WM_MOUSEMOVE;
    }
}

// What a key types. Ctrl+letter types its control character (Ctrl+A is 0x01), as the platform's
// keyboard does, whatever text Qt attached; with Ctrl, other keys type only a control character
// Qt gives (Ctrl+[ is Escape). Ctrl+Alt is AltGr on some keyboards and types what Qt says.
QString CharsOf(const QKeyEvent& k, WORD vk) {
    QString text = k.text();
    Qt::KeyboardModifiers mods = k.modifiers();
    if (!(mods & Qt::ControlModifier) || (mods & Qt::AltModifier)) return text;
    if (vk >= 'A' && vk <= 'Z') return QString(QChar(static_cast<char16_t>(vk - 'A' + 1)));
    QString out;
    for (QChar c : text)
        if (c.unicode() < 0x20) out += c;
    return out;
}

}  // namespace

WPARAM KeysOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    WPARAM k = 0;
    if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
    if (buttons & Qt::RightButton) k |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) k |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier) k |= MK_SHIFT;
    if (mods & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

void NoteModifiers(Qt::KeyboardModifiers mods) {
    win::SetKeyState(VK_SHIFT, (mods & Qt::ShiftModifier) != 0);
    win::SetKeyState(VK_CONTROL, (mods & Qt::ControlModifier) != 0);
    win::SetKeyState(VK_MENU, (mods & Qt::AltModifier) != 0);
}

WORD QtKeyToVk(int key, Qt::KeyboardModifiers mods) {
    if (mods & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<WORD>(VK_NUMPAD0 + (key - Qt::Key_0));
        for (const auto& k : kKeypad)
            if (k.qt == key) return k.vk;
    }
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) return static_cast<WORD>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<WORD>(VK_F1 + (key - Qt::Key_F1));
    for (const auto& k : kKeys)
        if (k.qt == key) return k.vk;
    return 0;
}

int VkToQtKey(WORD vk, bool* keypad) {
    if (keypad) *keypad = false;
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return vk;
    if (vk >= VK_F1 && vk < VK_F1 + 24) return Qt::Key_F1 + (vk - VK_F1);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) {
        if (keypad) *keypad = true;
        return Qt::Key_0 + (vk - VK_NUMPAD0);
    }
    for (const auto& k : kKeypad)
        if (k.vk == vk) {
            if (keypad) *keypad = true;
            return k.qt;
        }
    for (const auto& k : kKeys)
        if (k.vk == vk) return k.qt;
    return Qt::Key_unknown;
}

LPARAM KeyDataOf(const QKeyEvent& k, bool down) {
    WORD vk = QtKeyToVk(k.key(), k.modifiers());
    bool keypad = (k.modifiers() & Qt::KeypadModifier) != 0;
    uint8_t code;
    bool extended;
    ScanCodeOf(vk, keypad, code, extended);
    // On X11 and Wayland the native code is the evdev code + 8, which for the keys of the original
    // block is the set-1 scan code of the physical key, whatever the layout.
    quint32 native = k.nativeScanCode();
    if (native > 8 && native - 8 <= 0x58 && !extended) code = static_cast<uint8_t>(native - 8);
    uint32_t data = static_cast<uint32_t>(std::max(1, k.count())) & 0xFFFF;
    data |= static_cast<uint32_t>(code) << 16;
    if (extended) data |= 1u << 24;
    if (k.modifiers() & Qt::AltModifier) data |= 1u << 29;
    if (!down || k.isAutoRepeat()) data |= 1u << 30;
    if (!down) data |= 1u << 31;
    return static_cast<LPARAM>(data);
}

uint64_t NativeFilterEventCount() { return gFiltered.load(); }

// ---------------------------------------------------------------------------------------------

InputTranslator::InputTranslator(TWinControl* control, QWidget* host, bool mouse)
    : FControl(control), FHost(host), FMouse(mouse) {}

bool InputTranslator::Key(QKeyEvent* k) {
    bool down = k->type() == QEvent::KeyPress;
    Qt::KeyboardModifiers mods = k->modifiers();
    NoteModifiers(mods);
    bool alt = (mods & Qt::AltModifier) != 0;
    WORD vk = QtKeyToVk(k->key(), mods);
    LPARAM data = KeyDataOf(*k, down);
    QPointer<InputTranslator> self(this);
    bool consumed = false;
    if (vk) {
        win::SetKeyState(vk, down);
        consumed = Sink().Key(FControl, down, vk, alt, data);
    }
    if (!down || consumed) return true;
    // Each character carries the key data of the key that typed it.
    for (QChar ch : CharsOf(*k, vk)) {
        if (!self || !FControl) break;
        Sink().Char(FControl, ch.unicode(), alt, data);
    }
    return true;
}

QPoint InputTranslator::WindowPoint(QWidget* source, QPoint pos) const {
    // Window coordinates: the window itself tells the frame from the client area.
    return source->mapTo(FHost, pos);
}

bool InputTranslator::Translate(QWidget* source, QEvent* e) {
    switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            e->accept();
            return !FControl || Key(static_cast<QKeyEvent*>(e));
        case QEvent::ShortcutOverride:
            e->accept();  // every key is the control's, not a Qt shortcut
            return true;
        case QEvent::InputMethod: {
            e->accept();
            if (!FControl) return true;
            auto* im = static_cast<QInputMethodEvent*>(e);
            QPointer<InputTranslator> self(this);
            for (QChar ch : im->commitString()) {
                if (!self || !FControl) break;
                Sink().Char(FControl, ch.unicode(), false, 0);
            }
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            if (!FMouse) return false;
            e->accept();
            if (!FControl || !FHost) return true;
            auto* m = static_cast<QMouseEvent*>(e);
            NoteModifiers(m->modifiers());
            // Button state for GetKeyState(VK_LBUTTON) and the like.
            win::SetKeyState(VK_LBUTTON, (m->buttons() & Qt::LeftButton) != 0);
            win::SetKeyState(VK_RBUTTON, (m->buttons() & Qt::RightButton) != 0);
            win::SetKeyState(VK_MBUTTON, (m->buttons() & Qt::MiddleButton) != 0);
            QPoint p = WindowPoint(source, m->position().toPoint());
            Sink().Mouse(FControl, ButtonMessage(e->type(), m->button()), p.x(), p.y(), KeysOf(m->buttons(), m->modifiers()));
            return true;
        }
        case QEvent::Wheel: {
            if (!FMouse) return false;
            e->accept();
            if (!FControl || !FHost) return true;
            auto* we = static_cast<QWheelEvent*>(e);
            QPoint p = WindowPoint(source, we->position().toPoint());
            Sink().MouseWheel(FControl, we->angleDelta().y(), p.x(), p.y(), KeysOf(we->buttons(), we->modifiers()));
            return true;
        }
        case QEvent::ContextMenu:
            return FMouse;  // the control's own right-click handling opens its menu
        default:
            return false;
    }
}

bool InputTranslator::eventFilter(QObject* obj, QEvent* e) {
    auto* w = qobject_cast<QWidget*>(obj);
    if (!w) return false;
    bool taken = Translate(w, e);
    if (taken && e->type() != QEvent::ShortcutOverride && e->type() != QEvent::ContextMenu) ++gFiltered;
    return taken;
}

}  // namespace qtb
