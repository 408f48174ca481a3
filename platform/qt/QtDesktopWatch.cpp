// The desktop's setting changes as Qt tells them, reported once each to the library's desktop
// sink: the palette and the fonts as Qt announces them to the application, the visual style when
// the application's widget style is replaced or the platform's theme changes (Qt tells every
// window of that; the windows' reports of one change come as one).
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QStyle>
#include <QTimer>

#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtGraphicsApp.h"

namespace qtb {

namespace {

class DesktopWatch final : public QObject {
public:
    explicit DesktopWatch(ui::Backend& backend) : FBackend(backend), FStyle(QApplication::style()) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::ApplicationPaletteChange:
                if (watched == QCoreApplication::instance()) FBackend.Desktop().DesktopChanged(ui::DesktopChange::Colors);
                break;
            case QEvent::ApplicationFontChange:
                if (watched == QCoreApplication::instance()) FBackend.Desktop().DesktopChanged(ui::DesktopChange::Fonts);
                break;
            case QEvent::StyleChange:
                // A widget given a style of its own is no change of the desktop's.
                if (QApplication::style() != FStyle) {
                    FStyle = QApplication::style();
                    StyleChanged();
                }
                break;
            case QEvent::ThemeChange: StyleChanged(); break;
            default: break;
        }
        return false;
    }

private:
    void StyleChanged() {
        if (FPending) return;
        FPending = true;
        QTimer::singleShot(0, this, [this] {
            FPending = false;
            FBackend.Desktop().DesktopChanged(ui::DesktopChange::Style);
        });
    }

    ui::Backend& FBackend;
    QPointer<QStyle> FStyle;
    bool FPending = false;
};

}  // namespace

void WatchDesktopChanges(ui::Backend& backend) {
    EnsureApplication();
    static DesktopWatch* watch = nullptr;  // one for the process, as the backend is
    if (watch) return;
    watch = new DesktopWatch(backend);
    QCoreApplication::instance()->installEventFilter(watch);
}

}  // namespace qtb
