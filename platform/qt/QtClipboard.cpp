// The desktop clipboard through QClipboard. Formats map to MIME types: text to text/plain,
// bitmaps to an image (the desktop offers it as image/png) plus image/bmp, metafiles to
// image/x-emf and image/x-wmf, registered formats to a type that carries their name.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtServices.h"
#include "platform/ui/Clipbrd.h"

namespace {

const QString kCustomPrefix = QStringLiteral("application/x-clipboard-format;name=");

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

class QtClipboardService final : public ui::ClipboardService {
public:
    ui::ClipboardContent Read() override;
    void Write(const ui::ClipboardContent& content) override;
};

ui::ClipboardContent QtClipboardService::Read() {
    qtb::EnsureApplication();
    ui::ClipboardContent c;
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    if (!m) return c;
    if (m->hasText()) c[CF_UNICODETEXT] = ui::ClipboardTextBytes(qtb::StringOf(m->text()));
    if (m->hasImage()) {
        QImage image = qvariant_cast<QImage>(m->imageData());
        if (!image.isNull()) c[CF_BITMAP] = FromQBytes(Encode(image.convertToFormat(QImage::Format_RGB32), "BMP"));
    } else if (m->hasFormat("image/bmp")) {
        c[CF_BITMAP] = FromQBytes(m->data("image/bmp"));
    }
    if (m->hasFormat("image/x-emf")) c[CF_ENHMETAFILE] = FromQBytes(m->data("image/x-emf"));
    if (m->hasFormat("image/x-wmf")) c[CF_METAFILEPICT] = FromQBytes(m->data("image/x-wmf"));
    for (const QString& f : m->formats()) {
        if (!f.startsWith(kCustomPrefix)) continue;
        QString name = f.mid(kCustomPrefix.size());
        if (name.size() >= 2 && name.startsWith('"') && name.endsWith('"')) name = name.mid(1, name.size() - 2);
        UINT id = RegisterClipboardFormat(qtb::StringOf(name));
        if (id) c[id] = FromQBytes(m->data(f));
    }
    return c;
}

void QtClipboardService::Write(const ui::ClipboardContent& content) {
    qtb::EnsureApplication();
    auto* m = new QMimeData;
    for (const auto& [format, bytes] : content) {
        switch (format) {
            case CF_UNICODETEXT: m->setText(qtb::QStringOf(ui::ClipboardText(bytes))); break;
            case CF_TEXT: m->setText(QString::fromUtf8(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(strnlen(reinterpret_cast<const char*>(bytes.data()), bytes.size())))); break;
            case CF_BITMAP: {
                QImage image;
                image.loadFromData(ToQBytes(bytes), "BMP");
                m->setImageData(image);
                m->setData("image/png", Encode(image, "PNG"));
                m->setData("image/bmp", ToQBytes(bytes));
                break;
            }
            case CF_ENHMETAFILE: m->setData("image/x-emf", ToQBytes(bytes)); break;
            case CF_METAFILEPICT: m->setData("image/x-wmf", ToQBytes(bytes)); break;
            default: {
                String name = GetClipboardFormatName(format);
                if (!name.IsEmpty()) m->setData(kCustomPrefix + "\"" + qtb::QStringOf(name) + "\"", ToQBytes(bytes));
                break;
            }
        }
    }
    QGuiApplication::clipboard()->setMimeData(m);
}

}  // namespace

namespace qtb {

ui::ClipboardService& ClipboardService() {
    static QtClipboardService service;
    return service;
}

}  // namespace qtb
