// The desktop clipboard through QClipboard, and the clipboard content as Qt carries it to other
// programs, for the clipboard and for drags alike. Which MIME type carries which format is
// decided by the mapping of platform/ui/backend/DesktopFormats.h; here only what Qt handles
// itself: text through Qt's text (the desktop's text targets), a bitmap also as Qt's image.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include "platform/qt/QtDragDrop.h"
#include "platform/qt/QtGraphicsApp.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtServices.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/backend/DesktopFormats.h"

namespace {

QByteArray ToQBytes(const std::vector<uint8_t>& b) {
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}
std::vector<uint8_t> FromQBytes(const QByteArray& b) { return std::vector<uint8_t>(b.begin(), b.end()); }

QByteArray Encode(const QImage& image, const char* format) {
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    image.save(&buf, format);
    return out;
}

// The types read as they are; text and images come through Qt's own conversions.
bool MappedType(const QString& type) {
    static const QStringList kTypes = {"text/html", "text/rtf", "application/rtf", "text/uri-list", "image/x-emf",
                                       "image/x-wmf"};
    return kTypes.contains(type) || !ui::RegisteredFormatName(type.toStdString()).IsEmpty();
}

class QtClipboardService final : public ui::ClipboardService {
public:
    ui::ClipboardContent Read() override {
        qtb::EnsureApplication();
        return qtb::ContentOf(QGuiApplication::clipboard()->mimeData());
    }
    void Write(const ui::ClipboardContent& content) override {
        qtb::EnsureApplication();
        QGuiApplication::clipboard()->setMimeData(qtb::MimeDataOf(content));
    }
};

}  // namespace

namespace qtb {

QMimeData* MimeDataOf(const ui::ClipboardContent& content) {
    auto* m = new QMimeData;
    for (const ui::DesktopPart& part : ui::DesktopContentOf(content)) {
        if (part.Type == ui::kDesktopTextType) {
            m->setText(QString::fromUtf8(ToQBytes(part.Bytes)));
        } else if (part.Type == "image/bmp") {
            QImage image;
            image.loadFromData(ToQBytes(part.Bytes), "BMP");
            m->setImageData(image);
            m->setData("image/png", Encode(image, "PNG"));
            m->setData("image/bmp", ToQBytes(part.Bytes));
        } else {
            m->setData(QString::fromStdString(part.Type), ToQBytes(part.Bytes));
        }
    }
    return m;
}

ui::ClipboardContent ContentOf(const QMimeData* m) {
    if (!m) return {};
    ui::DesktopContent parts;
    // Only real text: Qt's text answers for a list of URLs as well.
    if (m->hasFormat("text/plain")) parts.push_back({ui::kDesktopTextType, FromQBytes(m->text().toUtf8())});
    if (m->hasImage()) {
        QImage image = qvariant_cast<QImage>(m->imageData());
        if (!image.isNull()) parts.push_back({"image/bmp", FromQBytes(Encode(image.convertToFormat(QImage::Format_RGB32), "BMP"))});
    } else if (m->hasFormat("image/bmp")) {
        parts.push_back({"image/bmp", FromQBytes(m->data("image/bmp"))});
    }
    for (const QString& f : m->formats())
        if (MappedType(f)) parts.push_back({f.toStdString(), FromQBytes(m->data(f))});
    return ui::ClipboardContentOf(parts);
}

ui::ClipboardService& ClipboardService() {
    static QtClipboardService service;
    return service;
}

}  // namespace qtb
