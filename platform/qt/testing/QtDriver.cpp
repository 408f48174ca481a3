// The test driver of the Qt backend: input events made as Qt delivers real ones, pictures of
// widgets, and the menu bar's captions.
#include <QAction>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QTextCharFormat>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>

#include "platform/qt/QtInput.h"
#include "platform/qt/QtWindow.h"
#include "platform/ui/testing/Driver.h"

namespace qtb {

namespace {

Qt::KeyboardModifiers ModifiersOf(TShiftState shift) {
    Qt::KeyboardModifiers m;
    if (shift.Contains(ssShift)) m |= Qt::ShiftModifier;
    if (shift.Contains(ssCtrl)) m |= Qt::ControlModifier;
    if (shift.Contains(ssAlt)) m |= Qt::AltModifier;
    return m;
}

Qt::MouseButtons ButtonsOf(WPARAM keys) {
    Qt::MouseButtons b;
    if (keys & MK_LBUTTON) b |= Qt::LeftButton;
    if (keys & MK_RBUTTON) b |= Qt::RightButton;
    if (keys & MK_MBUTTON) b |= Qt::MiddleButton;
    return b;
}

class QtDriver final : public ui::test::Driver {
public:
    void SendMouse(ui::WidgetPeer& peer, UINT msg, int x, int y, WPARAM keys, bool viaHost) override {
        ControlWidget* w = static_cast<WidgetPeer&>(peer).Widget();
        if (!w || !w->Control()) return;
        QEvent::Type type = QEvent::MouseMove;
        Qt::MouseButton button = Qt::NoButton;
        Qt::MouseButtons buttons = ButtonsOf(keys);
        switch (msg) {
            case WM_LBUTTONDOWN: type = QEvent::MouseButtonPress; button = Qt::LeftButton; break;
            case WM_RBUTTONDOWN: type = QEvent::MouseButtonPress; button = Qt::RightButton; break;
            case WM_MBUTTONDOWN: type = QEvent::MouseButtonPress; button = Qt::MiddleButton; break;
            case WM_LBUTTONUP: type = QEvent::MouseButtonRelease; button = Qt::LeftButton; break;
            case WM_RBUTTONUP: type = QEvent::MouseButtonRelease; button = Qt::RightButton; break;
            case WM_MBUTTONUP: type = QEvent::MouseButtonRelease; button = Qt::MiddleButton; break;
            case WM_LBUTTONDBLCLK: type = QEvent::MouseButtonDblClick; button = Qt::LeftButton; break;
            case WM_RBUTTONDBLCLK: type = QEvent::MouseButtonDblClick; button = Qt::RightButton; break;
            case WM_MBUTTONDBLCLK: type = QEvent::MouseButtonDblClick; button = Qt::MiddleButton; break;
            default: break;
        }
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) buttons |= button;
        if (type == QEvent::MouseButtonRelease) buttons &= ~Qt::MouseButtons(button);
        Qt::KeyboardModifiers mods;
        if (keys & MK_SHIFT) mods |= Qt::ShiftModifier;
        if (keys & MK_CONTROL) mods |= Qt::ControlModifier;
        // x, y are client coordinates: the client area starts past the window's frame.
        TRect area = w->Control()->ClientArea();
        QPoint global = w->mapToGlobal(QPoint(x + area.Left, y + area.Top));
        // Qt keeps sending to the widget a button went down on until every button is up.
        QWidget* target = viaHost ? w : FGrab ? FGrab.data() : MouseTarget(w, global);
        if (type == QEvent::MouseButtonPress && !FGrab) FGrab = target;
        QPointF local = target->mapFromGlobal(global);
        QMouseEvent ev(type, local, QPointF(global), button, buttons, mods);
        QCoreApplication::sendEvent(target, &ev);
        if (!buttons) FGrab = nullptr;
    }

    void SendMouseLeave(ui::WidgetPeer& peer) override {
        QWidget* w = static_cast<WidgetPeer&>(peer).Widget();
        if (!w) return;
        QEvent ev(QEvent::Leave);
        QCoreApplication::sendEvent(w, &ev);
    }

    void SendKey(ui::WidgetPeer& peer, bool down, WORD vk, const String& text, TShiftState shift, bool viaHost) override {
        QWidget* w = static_cast<WidgetPeer&>(peer).Widget();
        if (!w) return;
        bool keypad = false;
        int key = VkToQtKey(vk, &keypad);
        // One of the two Shift or Ctrl keys: the key itself, its side in the native fields as X11
        // reports it (scan code evdev + 8, keysym).
        quint32 scan = 0, keysym = 0;
        switch (vk) {
            case VK_LSHIFT: key = Qt::Key_Shift; scan = 50; keysym = kKeysymShiftL; break;
            case VK_RSHIFT: key = Qt::Key_Shift; scan = 62; keysym = kKeysymShiftR; break;
            case VK_LCONTROL: key = Qt::Key_Control; scan = 37; keysym = kKeysymControlL; break;
            case VK_RCONTROL: key = Qt::Key_Control; scan = 105; keysym = kKeysymControlR; break;
            default: break;
        }
        if (key == Qt::Key_Tab && shift.Contains(ssShift)) key = Qt::Key_Backtab;
        Qt::KeyboardModifiers mods = ModifiersOf(shift);
        if (keypad) mods |= Qt::KeypadModifier;
        // Keys go where the window's focus is, as the platform's window system sends them.
        QWidget* target = w;
        if (!viaHost) {
            QWidget* focus = w->window()->focusWidget();
            target = focus ? focus : w->window();
        }
        QKeyEvent ev(down ? QEvent::KeyPress : QEvent::KeyRelease, key, mods, scan, keysym, 0, QString::fromStdU16String(text));
        QCoreApplication::sendEvent(target, &ev);
    }

    void SendComposition(ui::WidgetPeer& peer, const String& composing, int cursor, const String& commit) override {
        QWidget* w = static_cast<WidgetPeer&>(peer).Widget();
        if (!w) return;
        QWidget* focus = w->window()->focusWidget();
        QWidget* target = focus ? focus : w->window();
        // As an input method on the desktop sends it: the composition underlined, its cursor.
        QList<QInputMethodEvent::Attribute> looks;
        QString text = QString::fromStdU16String(composing);
        if (!text.isEmpty()) {
            QTextCharFormat underline;
            underline.setUnderlineStyle(QTextCharFormat::DashUnderline);
            looks.append(QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 0, static_cast<int>(text.size()), underline));
        }
        looks.append(QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, cursor, 1, QVariant()));
        QInputMethodEvent ev(text, looks);
        ev.setCommitString(QString::fromStdU16String(commit));
        QCoreApplication::sendEvent(target, &ev);
    }

    uint64_t NativeFilterEventCount() override { return qtb::NativeFilterEventCount(); }

    bool SaveToPng(ui::WidgetPeer& peer, const std::string& path) override {
        QWidget* w = static_cast<WidgetPeer&>(peer).Widget();
        return w && w->grab().save(QString::fromStdString(path), "PNG");
    }

    std::vector<String> MenuBarCaptions(ui::WidgetPeer& window) override {
        std::vector<String> captions;
        ControlWidget* w = static_cast<WidgetPeer&>(window).Widget();
        if (!w || !w->MenuBar) return captions;
        for (QAction* a : w->MenuBar->actions()) captions.push_back(String(a->text().toStdU16String()));
        return captions;
    }

    bool ReadPng(const std::string& path, int& width, int& height, std::vector<int32_t>& pixels) override {
        QImage img;
        if (!img.load(QString::fromStdString(path), "PNG")) return false;
        img = img.convertToFormat(QImage::Format_RGB32);
        width = img.width();
        height = img.height();
        pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                QRgb c = img.pixel(x, y);
                pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                    static_cast<int32_t>(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
            }
        return true;
    }

    // The events the desktop's changes bring: Qt sends them to the application (palette, font)
    // and to every window (theme).
    void ChangeDesktop(ui::DesktopChange what) override {
        QEvent::Type type = what == ui::DesktopChange::Colors ? QEvent::ApplicationPaletteChange
                            : what == ui::DesktopChange::Fonts ? QEvent::ApplicationFontChange
                                                               : QEvent::ThemeChange;
        QEvent event(type);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &event);
    }

private:
    // The widget inside the control's own widget that a real click at a global position lands
    // on: the deepest visible child under it (a native control's inner widget), or the host.
    static QWidget* MouseTarget(ControlWidget* host, const QPoint& global) {
        QWidget* child = host->childAt(host->mapFromGlobal(global));
        return child ? child : host;
    }
    QPointer<QWidget> FGrab;
};

}  // namespace

}  // namespace qtb

// A test program on the Qt backend links this driver.
std::unique_ptr<ui::test::Driver> ui::test::MakeDriver() { return std::make_unique<qtb::QtDriver>(); }
