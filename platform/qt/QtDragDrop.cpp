// Drags that leave the program and drops from other programs, through Qt's drag and drop; GIF
// decoding through Qt's image reader.
#include "platform/qt/QtDragDrop.h"

#include <QBuffer>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QPointer>

#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtGraphicsApp.h"
#include "platform/qt/QtInput.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtWindow.h"

namespace qtb {

namespace {

constexpr DWORD kCopy = 1, kMove = 2, kLink = 4, kAlt = 0x20;

ui::DesktopDropSink* gSink = nullptr;

// Hands the drag events of a window's widget, and of the native widgets inside it, to the sink.
class DropFilter final : public QObject {
public:
    explicit DropFilter(ControlWidget* host) : FHost(host) { setParent(host); }

protected:
    bool eventFilter(QObject* obj, QEvent* e) override {
        switch (e->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::DragLeave:
            case QEvent::Drop: break;
            default: return false;
        }
        TWinControl* control = FHost ? FHost->Control() : nullptr;
        if (!control || !control->HandleAllocated() || !gSink) {
            e->ignore();
            return true;
        }
        HWND window = control->Handle();
        if (e->type() == QEvent::DragLeave) {
            gSink->DragLeave(window);
            return true;
        }
        auto* d = static_cast<QDropEvent*>(e);
        // The point on the screen as the layer places its windows.
        QPoint p = static_cast<QWidget*>(obj)->mapTo(FHost, d->position().toPoint());
        TRect area = control->ClientArea();
        TPoint screen = control->ClientToScreen(Point(p.x() - area.Left, p.y() - area.Top));
        DWORD keys = static_cast<DWORD>(KeysOf(d->buttons(), d->modifiers()));
        if (d->modifiers() & Qt::AltModifier) keys |= kAlt;
        DWORD allowed = EffectsOf(d->possibleActions());
        DWORD effect = 0;
        switch (e->type()) {
            case QEvent::DragEnter: {
                ui::DesktopDragData data{ContentOf(d->mimeData())};
                if (data.Content.empty()) {
                    e->ignore();
                    return true;
                }
                effect = gSink->DragEnter(window, data, screen, keys, allowed);
                // Entering is accepted even when the target takes nothing here, so that the
                // moves keep coming: the target may take the data at another point.
                d->setDropAction(effect ? ActionOf(effect) : Qt::IgnoreAction);
                d->accept();
                return true;
            }
            case QEvent::DragMove:
                effect = gSink->DragOver(window, screen, keys, allowed);
                break;
            default:
                effect = gSink->Drop(window, ui::DesktopDragData{ContentOf(d->mimeData())}, screen, keys, allowed);
                break;
        }
        if (effect) {
            d->setDropAction(ActionOf(effect));
            d->accept();
        } else {
            d->ignore();
        }
        return true;
    }

private:
    static Qt::DropAction ActionOf(DWORD effect) {
        if (effect & kMove) return Qt::MoveAction;
        if (effect & kCopy) return Qt::CopyAction;
        return Qt::LinkAction;
    }
    QPointer<ControlWidget> FHost;
};

// The widgets that belong to the window: its own and the native ones inside it, not those of
// its child windows.
void WidgetsOf(QWidget* w, std::vector<QWidget*>& out) {
    out.push_back(w);
    for (QObject* child : w->children()) {
        auto* cw = qobject_cast<QWidget*>(child);
        if (cw && !dynamic_cast<ControlWidget*>(cw)) WidgetsOf(cw, out);
    }
}

class DesktopDragDrop final : public ui::DesktopDragDrop {
public:
    DWORD StartDrag(const ui::DesktopDragData& data, DWORD allowed) override {
        qtb::EnsureApplication();
        Qt::DropActions actions = ActionsOf(allowed);
        if (!actions) return 0;
        QObject* source = QGuiApplication::focusObject();
        // Qt deletes the drag itself: on X it lives on after exec returns, until the target has
        // fetched the dropped data (a deletion here left the target with empty data).
        auto* drag = new QDrag(source ? source : QCoreApplication::instance());
        drag->setMimeData(MimeDataOf(data.Content));
        Qt::DropAction done = drag->exec(actions, actions & Qt::MoveAction ? Qt::MoveAction : Qt::CopyAction);
        return EffectsOf(done) & allowed;
    }

    void AcceptDrops(ui::WidgetPeer& window, bool accept) override {
        ControlWidget* host = static_cast<WidgetPeer&>(window).Widget();
        if (!host) return;
        DropFilter* filter = nullptr;
        for (QObject* child : host->children())
            if (auto* f = dynamic_cast<DropFilter*>(child)) filter = f;
        std::vector<QWidget*> widgets;
        WidgetsOf(host, widgets);
        if (accept && !filter) {
            filter = new DropFilter(host);
            for (QWidget* w : widgets) w->installEventFilter(filter);
        } else if (!accept && filter) {
            delete filter;  // removes itself from every widget it watched
        }
        host->setAcceptDrops(accept);
    }

    void SetSink(ui::DesktopDropSink* sink) override { gSink = sink; }
};

class ImageDecoders final : public ui::ImageDecoders {
public:
    bool DecodeGif(const uint8_t* data, size_t size, TBitmap& firstImage) override {
        qtb::EnsureApplication();
        QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "gif");
        QImage image = reader.read();
        if (image.isNull()) return false;
        firstImage.SetPixelFormat(pf32bit);
        qtb::SetImage(firstImage, image.convertToFormat(QImage::Format_ARGB32));
        return true;
    }
};

}  // namespace

DWORD EffectsOf(Qt::DropActions actions) {
    DWORD e = 0;
    if (actions & Qt::CopyAction) e |= kCopy;
    if (actions & Qt::MoveAction) e |= kMove;
    if (actions & Qt::LinkAction) e |= kLink;
    return e;
}

Qt::DropActions ActionsOf(DWORD effects) {
    Qt::DropActions a;
    if (effects & kCopy) a |= Qt::CopyAction;
    if (effects & kMove) a |= Qt::MoveAction;
    if (effects & kLink) a |= Qt::LinkAction;
    return a;
}

ui::DesktopDragDrop& DesktopDragDropService() {
    // Lives as long as the process, as the backend does: a unit that ends OLE at the program's
    // exit still reaches it.
    static DesktopDragDrop* service = new DesktopDragDrop;
    return *service;
}

ui::ImageDecoders& ImageDecoderService() {
    static ImageDecoders service;
    return service;
}

}  // namespace qtb
