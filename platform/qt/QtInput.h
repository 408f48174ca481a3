#pragma once
// The one road from Qt input to window messages. A control's own widget and the native widgets
// inside it (a line edit, a text view's viewport, a combo box's editor) all hand their key,
// character, input-method, mouse and wheel events to an InputTranslator, so one set of rules
// decides what a key types and what a click sends, whichever widget Qt delivered it to.
#include <QInputMethodEvent>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <cstdint>

#include "platform/ui/Controls.h"

class QEvent;
class QKeyEvent;
class QWidget;

namespace qtb {

class InputTranslator final : public QObject {
public:
    // host: the control's own widget; positions are mapped to its window. mouse: false leaves
    // the mouse to Qt (a slider runs its own thumb).
    InputTranslator(TWinControl* control, QWidget* host, bool mouse);
    // The control is gone: input is swallowed from now on.
    void Detach() { FControl = nullptr; }
    // Turns an event delivered to source (the host or a widget inside it) into the control's
    // messages. True when the event was input and is taken; Qt must not act on it.
    bool Translate(QWidget* source, QEvent* e);

    // Shows an input method's composition in a native widget (a line edit, a text view): the
    // widget draws it at its caret, styled as the input method styled it when it is the one it
    // reported last. Empty text: none.
    void ShowComposition(QWidget* target, const QString& text, int cursor);

protected:
    // Installed on the native widgets inside the host.
    bool eventFilter(QObject* obj, QEvent* e) override;

private:
    bool Key(QKeyEvent* k);
    // A position in source as a point of the control's window (frame included).
    QPoint WindowPoint(QWidget* source, QPoint pos) const;
    TWinControl* FControl;
    QPointer<QWidget> FHost;
    bool FMouse;
    // The composition the input method reported last, with its looks; and whether one is being
    // handed to a native widget to show.
    QString FComposing;
    QList<QInputMethodEvent::Attribute> FComposingLooks;
    bool FShowing = false;
};

// The MK_ flags of a Qt mouse event, and the key state of its modifiers (but `own`, the
// generic key of a Shift or Ctrl key whose side the event tells).
WPARAM KeysOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
void NoteModifiers(Qt::KeyboardModifiers mods, WORD own = 0);

// The keysyms X11 and Wayland report as a key event's native virtual key for the two Shift and
// Ctrl keys (offscreen and synthetic events report none).
constexpr quint32 kKeysymShiftL = 0xFFE1, kKeysymShiftR = 0xFFE2, kKeysymControlL = 0xFFE3, kKeysymControlR = 0xFFE4;

// Key codes between Qt and the platform's virtual keys; keypad keys carry Qt's keypad modifier.
WORD QtKeyToVk(int key, Qt::KeyboardModifiers mods = {});
int VkToQtKey(WORD vk, bool* keypad = nullptr);

// The platform's key data of a Qt key event (ui::KeyData, with the physical key's scan code).
LPARAM KeyDataOf(const QKeyEvent& k, bool down);

// Events the native widgets' filter has translated since the process started.
uint64_t NativeFilterEventCount();

}  // namespace qtb
