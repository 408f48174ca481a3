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

bool DesktopOpenUrl(const String& target) {
    qtb::EnsureApplication();
    QString text = QString::fromStdU16String(target);
    QUrl url = text.startsWith(u'/') ? QUrl::fromLocalFile(text) : QUrl(text, QUrl::StrictMode);
    if (!url.isValid() || url.isEmpty()) return false;
    return QDesktopServices::openUrl(url);
}

}  // namespace qtb
