#include "platform/qt/QtDesktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

#include "platform/qt/QtGraphicsApp.h"

namespace qtb {

int DesktopWheelScrollLines() {
    qtb::EnsureApplication();
    return QApplication::wheelScrollLines();
}

int DesktopDragDistance() {
    qtb::EnsureApplication();
    return QApplication::startDragDistance();
}

bool DesktopOpenUrl(const String& target) {
    qtb::EnsureApplication();
    QString text = QString::fromStdU16String(target);
    QUrl url = text.startsWith(u'/') ? QUrl::fromLocalFile(text) : QUrl(text, QUrl::StrictMode);
    if (!url.isValid() || url.isEmpty()) return false;
    return QDesktopServices::openUrl(url);
}

}  // namespace qtb
