// The desktop's icon theme for the shell's file icons: a folder, or a file type found by its
// extension in the desktop's MIME database.
#include <QIcon>
#include <QMimeDatabase>
#include <QPixmap>

#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtGraphicsApp.h"

namespace qtb {

bool ThemeFileIcon(bool folder, const String& name, int size, TBitmap& target) {
    EnsureApplication();
    QIcon icon;
    if (folder) {
        icon = QIcon::fromTheme(QStringLiteral("folder"));
    } else {
        QMimeDatabase db;
        QMimeType type = db.mimeTypeForFile(QString::fromStdU16String(name), QMimeDatabase::MatchExtension);
        // The default type is what an unknown extension gets: the generic icon stands for it.
        if (!type.isValid() || type.isDefault()) return false;
        icon = QIcon::fromTheme(type.iconName());
        if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
    }
    if (icon.isNull()) return false;
    QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
    if (image.isNull()) return false;
    if (image.size() != QSize(size, size))
        image = image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    target.SetPixelFormat(pf32bit);
    SetImage(target, image.convertToFormat(QImage::Format_ARGB32));
    return true;
}

}  // namespace qtb
