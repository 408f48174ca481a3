// Another program of the desktop, for the tests of what crosses the program's edge: it reads and
// owns the clipboard, takes drops and starts drags, and says what it saw on standard output, one
// line each, data as "type<TAB>base64". It runs until its standard input says "stop" or closes.
//
//   desktop-peer read                       print the clipboard's types and data, then "end"
//   desktop-peer own TYPE B64 [TYPE B64...] own the clipboard with these; "owned" once it does
//   desktop-peer drop X Y ACTION            a window at (X, Y) taking drops with ACTION (copy,
//                                           move, link); "shown X Y W H", then per drop
//                                           "drop ACTION", its data and "end"
//   desktop-peer drag X Y TYPE B64 [...]    a window at (X, Y) that starts a drag of these when
//                                           pressed; "shown X Y W H", then "dragged ACTION"
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <unistd.h>

namespace {

void Say(const QByteArray& line) {
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void SayData(const QMimeData* m) {
    if (m)
        for (const QString& f : m->formats()) Say(f.toUtf8() + '\t' + m->data(f).toBase64());
    Say("end");
}

QMimeData* DataOf(const QStringList& args, int from) {
    auto* m = new QMimeData;
    for (int i = from; i + 1 < args.size(); i += 2) m->setData(args[i], QByteArray::fromBase64(args[i + 1].toUtf8()));
    return m;
}

const char* NameOf(Qt::DropAction a) {
    switch (a) {
        case Qt::CopyAction: return "copy";
        case Qt::MoveAction: return "move";
        case Qt::LinkAction: return "link";
        default: return "none";
    }
}

Qt::DropAction ActionOf(const QString& name) {
    if (name == "move") return Qt::MoveAction;
    if (name == "link") return Qt::LinkAction;
    return Qt::CopyAction;
}

class PeerWindow : public QWidget {
public:
    PeerWindow(int x, int y) {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setGeometry(x, y, 200, 150);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(40, 160, 60));
        setPalette(p);
    }

protected:
    void showEvent(QShowEvent*) override {
        QTimer::singleShot(0, this, [this] {
            QRect r = geometry();
            Say(QByteArray("shown ") + QByteArray::number(r.x()) + ' ' + QByteArray::number(r.y()) + ' ' +
                QByteArray::number(r.width()) + ' ' + QByteArray::number(r.height()));
        });
    }
};

class DropWindow final : public PeerWindow {
public:
    DropWindow(int x, int y, Qt::DropAction action) : PeerWindow(x, y), FAction(action) { setAcceptDrops(true); }

protected:
    void dragEnterEvent(QDragEnterEvent* e) override { Take(e); }
    void dragMoveEvent(QDragMoveEvent* e) override { Take(e); }
    void dropEvent(QDropEvent* e) override {
        Take(e);
        Say(QByteArray("drop ") + NameOf(e->dropAction()));
        SayData(e->mimeData());
    }

private:
    void Take(QDropEvent* e) {
        if (e->possibleActions() & FAction) {
            e->setDropAction(FAction);
            e->accept();
        } else {
            e->ignore();
        }
    }
    Qt::DropAction FAction;
};

class DragWindow final : public PeerWindow {
public:
    DragWindow(int x, int y, QStringList args) : PeerWindow(x, y), FArgs(std::move(args)) {}

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* drag = new QDrag(this);
        drag->setMimeData(DataOf(FArgs, 0));
        Qt::DropAction done = drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
        Say(QByteArray("dragged ") + NameOf(done));
    }

private:
    QStringList FArgs;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: desktop-peer read | own ... | drop X Y ACTION | drag X Y ...\n");
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == "read") {
        SayData(QGuiApplication::clipboard()->mimeData());
        return 0;
    }

    // Until standard input says stop or closes.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buf[256];
        ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0 || QByteArray(buf, static_cast<int>(n)).contains("stop")) app.quit();
    });

    std::unique_ptr<QWidget> window;
    if (command == "own") {
        QGuiApplication::clipboard()->setMimeData(DataOf(args, 0));
        Say("owned");
    } else if (command == "drop" && args.size() >= 3) {
        window = std::make_unique<DropWindow>(args[0].toInt(), args[1].toInt(), ActionOf(args[2]));
    } else if (command == "drag" && args.size() >= 2) {
        window = std::make_unique<DragWindow>(args[0].toInt(), args[1].toInt(), args.mid(2));
    } else {
        std::fprintf(stderr, "desktop-peer: unknown command\n");
        return 2;
    }
    if (window) window->show();
    return app.exec();
}
