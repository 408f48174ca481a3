// The Qt backend of the UI library: the application object, the event loop's non-blocking and
// waiting steps, wake-ups from other threads, screens, message boxes and synthetic input.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtDragDrop.h"
#include "platform/qt/QtGraphicsApp.h"
#include "platform/qt/QtInput.h"
#include "platform/qt/QtNative.h"
#include "platform/qt/QtWindow.h"
#include "platform/rtl/Clock.h"

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

class QtBackend final : public ui::Backend {
public:
    QtBackend() {
        qtbackend::EnsureApplication();
        FDispatcher = QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread());
    }

    std::unique_ptr<ui::WidgetPeer> CreateWidget(TWinControl* control, const TCreateParams& params) override {
        return std::make_unique<WidgetPeer>(control, params);
    }

    bool ProcessEvents() override { return FDispatcher->processEvents(QEventLoop::AllEvents); }

    void WaitForEvents(uint64_t deadlineMs) override {
        rtl::Clock& clock = rtl::CurrentClock();
        auto* manual = dynamic_cast<rtl::ManualClock*>(&clock);
        int listener = 0;
        QTimer timer;
        if (deadlineMs != rtl::NoDeadline) {
            uint64_t now = clock.MonotonicMs();
            if (deadlineMs <= now) return;
            if (!manual) {
                timer.setSingleShot(true);
                timer.setTimerType(Qt::PreciseTimer);
                timer.start(static_cast<int>(std::min<uint64_t>(deadlineMs - now, INT32_MAX)));
            }
        }
        // Manual time moves only when a test advances it: each advance wakes the loop.
        if (manual) listener = manual->AddListener([this] { Wake(); });
        FDispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        if (manual) manual->RemoveListener(listener);
    }

    void Wake() override { FDispatcher->wakeUp(); }

    void SetApplicationIcon(TIcon* icon) override { QApplication::setWindowIcon(QIconOf(icon)); }

    void SetOverrideCursor(TCursor cursor) override {
        while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
        if (cursor != crDefault) QGuiApplication::setOverrideCursor(CursorOf(cursor));
    }

    TRect ScreenRect() override {
        QScreen* s = QGuiApplication::primaryScreen();
        if (!s) return TRect(0, 0, 800, 600);
        QRect g = s->geometry();
        return Bounds(g.x(), g.y(), g.width(), g.height());
    }

    TRect WorkArea() override {
        QScreen* s = QGuiApplication::primaryScreen();
        if (!s) return TRect(0, 0, 800, 600);
        QRect g = s->availableGeometry();
        return Bounds(g.x(), g.y(), g.width(), g.height());
    }

    bool Headless() override {
        QString p = QGuiApplication::platformName();
        return p == "offscreen" || p == "minimal";
    }

    int ShowMessageBox(const String& text, const String& caption, UINT flags) override {
        QMessageBox box;
        box.setText(QString::fromStdU16String(text));
        box.setWindowTitle(QString::fromStdU16String(caption));
        switch (flags & 0xF0) {
            case MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
            case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
            case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
            case MB_ICONASTERISK: box.setIcon(QMessageBox::Information); break;
            default: break;
        }
        struct Choice {
            QMessageBox::StandardButton button;
            int answer;
        };
        std::vector<Choice> choices;
        switch (flags & 0x0F) {
            case MB_OKCANCEL: choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
            case MB_ABORTRETRYIGNORE: choices = {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}}; break;
            case MB_YESNOCANCEL: choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}}; break;
            case MB_YESNO: choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
            case MB_RETRYCANCEL: choices = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}}; break;
            default: choices = {{QMessageBox::Ok, IDOK}}; break;
        }
        QMessageBox::StandardButtons buttons;
        for (auto& c : choices) buttons |= c.button;
        box.setStandardButtons(buttons);
        size_t def = (flags & MB_DEFBUTTON2) && choices.size() > 1 ? 1 : 0;
        box.setDefaultButton(choices[def].button);
        int r = box.exec();
        for (auto& c : choices)
            if (c.button == r) return c.answer;
        return choices.back().answer == IDCANCEL ? IDCANCEL : choices.front().answer;
    }

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
        if (key == Qt::Key_Tab && shift.Contains(ssShift)) key = Qt::Key_Backtab;
        Qt::KeyboardModifiers mods = ModifiersOf(shift);
        if (keypad) mods |= Qt::KeypadModifier;
        // Keys go where the window's focus is, as the platform's window system sends them.
        QWidget* target = w;
        if (!viaHost) {
            QWidget* focus = w->window()->focusWidget();
            target = focus ? focus : w->window();
        }
        QKeyEvent ev(down ? QEvent::KeyPress : QEvent::KeyRelease, key, mods, QString::fromStdU16String(text));
        QCoreApplication::sendEvent(target, &ev);
    }

    uint64_t NativeFilterEventCount() override { return qtb::NativeFilterEventCount(); }

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

    int WheelScrollLines() override { return qtb::DesktopWheelScrollLines(); }
    bool OpenUrl(const String& target) override { return qtb::DesktopOpenUrl(target); }
    bool DrawThemePart(TBitmap& target, const ui::ThemePart& part) override { return qtb::PaintThemePart(target, part); }
    ui::DesktopDragDrop& DragDrop() override { return qtb::DesktopDragDropService(); }
    ui::ImageDecoders& Decoders() override { return qtb::ImageDecoderService(); }

    // Native views: QtNative.cpp.
    std::unique_ptr<ui::TextView> CreateTextView(ui::TextKind kind, ui::WidgetPeer& host, TWinControl* control) override {
        return MakeTextView(kind, host, control);
    }
    std::unique_ptr<ui::ListView> CreateListView(ui::ListKind kind, ui::WidgetPeer& host, TWinControl* control, ui::ListSink& sink) override {
        return MakeListView(kind, host, control, sink);
    }
    std::unique_ptr<ui::ButtonView> CreateButtonView(ui::ButtonKind kind, ui::WidgetPeer& host, TWinControl* control) override {
        return MakeButtonView(kind, host, control);
    }
    std::unique_ptr<ui::RangeView> CreateRangeView(ui::RangeKind kind, ui::WidgetPeer& host, TWinControl* control, ui::RangeSink& sink) override {
        return MakeRangeView(kind, host, control, sink);
    }
    std::unique_ptr<ui::StaticView> CreateStaticView(ui::StaticKind kind, ui::WidgetPeer& host, TWinControl* control) override {
        return MakeStaticView(kind, host, control);
    }

private:
    // The widget inside the control's own widget that a real click at a global position lands
    // on: the deepest visible child under it (a native control's inner widget), or the host.
    static QWidget* MouseTarget(ControlWidget* host, const QPoint& global) {
        QWidget* child = host->childAt(host->mapFromGlobal(global));
        return child ? child : host;
    }
    QAbstractEventDispatcher* FDispatcher = nullptr;
    QPointer<QWidget> FGrab;
};

}  // namespace

}  // namespace qtb

namespace ui {

Backend& GetBackend() {
    static qtb::QtBackend* backend = new qtb::QtBackend;  // lives as long as the process
    return *backend;
}

}  // namespace ui
