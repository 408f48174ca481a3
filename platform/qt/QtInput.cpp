#include "platform/qt/QtInput.h"

#include <QGuiApplication>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QTextCharFormat>
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

UINT ButtonMessage(QEvent::Type type, Qt::MouseButton b) {
    bool right = b == Qt::RightButton, middle = b == Qt::MiddleButton;
    switch (type) {
        case QEvent::MouseButtonPress: return right ? WM_RBUTTONDOWN : middle ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
        case QEvent::MouseButtonRelease: return right ? WM_RBUTTONUP : middle ? WM_MBUTTONUP : WM_LBUTTONUP;
        case QEvent::MouseButtonDblClick: return right ? WM_RBUTTONDBLCLK : middle ? WM_MBUTTONDBLCLK : WM_LBUTTONDBLCLK;
        default: return WM_MOUSEMOVE;
    }
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

void NoteModifiers(Qt::KeyboardModifiers mods, WORD own) {
    if (own != VK_SHIFT) win::SetKeyState(VK_SHIFT, (mods & Qt::ShiftModifier) != 0);
    if (own != VK_CONTROL) win::SetKeyState(VK_CONTROL, (mods & Qt::ControlModifier) != 0);
    win::SetKeyState(VK_MENU, (mods & Qt::AltModifier) != 0);
}

namespace {

// VK_LSHIFT, VK_RSHIFT, VK_LCONTROL or VK_RCONTROL when the keyboard tells which of the two
// keys it was; 0 otherwise.
WORD SideKey(const QKeyEvent& k) {
    switch (k.nativeVirtualKey()) {
        case kKeysymShiftL: return VK_LSHIFT;
        case kKeysymShiftR: return VK_RSHIFT;
        case kKeysymControlL: return VK_LCONTROL;
        case kKeysymControlR: return VK_RCONTROL;
        default: return 0;
    }
}

}  // namespace

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
    // On X11 and Wayland the native code is the evdev code + 8, which for the keys of the original
    // block is the set-1 scan code of the physical key, whatever the layout.
    quint32 native = k.nativeScanCode();
    uint8_t scan = native > 8 && native - 8 <= 0x58 ? static_cast<uint8_t>(native - 8) : 0;
    return ui::KeyData(QtKeyToVk(k.key(), k.modifiers()), (k.modifiers() & Qt::KeypadModifier) != 0, std::max(1, k.count()),
                       (k.modifiers() & Qt::AltModifier) != 0, down, k.isAutoRepeat(), scan);
}

uint64_t NativeFilterEventCount() { return gFiltered.load(); }

void InputTranslator::ShowComposition(QWidget* target, const QString& text, int cursor) {
    if (!target) return;
    QList<QInputMethodEvent::Attribute> looks;
    if (!text.isEmpty() && text == FComposing) {
        for (const QInputMethodEvent::Attribute& a : FComposingLooks)
            if (a.type == QInputMethodEvent::TextFormat) looks.append(a);
    } else if (!text.isEmpty()) {
        // Not the input method's own: underlined, as input methods commonly show a composition.
        QTextCharFormat underline;
        underline.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        looks.append(QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 0, static_cast<int>(text.size()), underline));
    }
    looks.append(QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, cursor, 1, QVariant()));
    QInputMethodEvent e(text, looks);
    FShowing = true;
    QCoreApplication::sendEvent(target, &e);
    FShowing = false;
}

// ---------------------------------------------------------------------------------------------

InputTranslator::InputTranslator(TWinControl* control, QWidget* host, bool mouse)
    : FControl(control), FHost(host), FMouse(mouse) {}

bool InputTranslator::Key(QKeyEvent* k) {
    bool down = k->type() == QEvent::KeyPress;
    Qt::KeyboardModifiers mods = k->modifiers();
    WORD vk = QtKeyToVk(k->key(), mods);
    // The side of a Shift or Ctrl key goes into the key state; the message carries the key.
    WORD side = (vk == VK_SHIFT || vk == VK_CONTROL) ? SideKey(*k) : 0;
    NoteModifiers(mods, side ? vk : 0);
    bool alt = (mods & Qt::AltModifier) != 0;
    LPARAM data = KeyDataOf(*k, down);
    QPointer<InputTranslator> self(this);
    bool consumed = false;
    if (vk) {
        win::SetKeyState(side ? side : vk, down);
        consumed = Sink().Key(FControl, down, vk, alt, data);
    }
    if (!down || consumed) return true;
    // Each character carries the key data of the key that typed it.
    String text = ui::TypedChars(vk, k->text().toStdU16String(), (mods & Qt::ControlModifier) != 0, alt);
    for (char16_t ch : text) {
        if (!self || !FControl) break;
        Sink().Char(FControl, ch, alt, data);
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
            // A composition the control's view hands its widget to show goes through.
            if (FShowing) return false;
            if (!FControl) return true;
            auto* im = static_cast<QInputMethodEvent*>(e);
            int cursor = static_cast<int>(im->preeditString().size());
            for (const QInputMethodEvent::Attribute& a : im->attributes())
                if (a.type == QInputMethodEvent::Cursor) cursor = a.start;
            // Kept for showing the same composition as the input method styles it.
            FComposing = im->preeditString();
            FComposingLooks = im->attributes();
            Sink().Composition(FControl, im->preeditString().toStdU16String(), cursor, im->commitString().toStdU16String());
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
