#include "platform/qt/display/RealDisplay.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QStyleHints>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "platform/qt/QtWindow.h"
#include "platform/qt/display/XServer.h"
#include "platform/rtl/testing/TestSupport.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WinUser.h"

namespace display {

namespace {

// The program's pointer, keys and pictures go through the server; give the program's own
// connection a moment to take the events the server sent it.
void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

QWidget* WidgetOf(TWinControl* control) {
    auto* peer = control ? static_cast<qtb::WidgetPeer*>(control->Peer()) : nullptr;
    return peer ? peer->Widget() : nullptr;
}

QComboBox* ComboOf(TWinControl* control) {
    QWidget* w = WidgetOf(control);
    return w ? w->findChild<QComboBox*>() : nullptr;
}

}  // namespace

std::string Unavailable() {
    if (!std::getenv("DISPLAY")) return "no X display ($DISPLAY is not set)";
    if (qgetenv("QT_QPA_PLATFORM") != "xcb")
        return "the program does not run on the xcb platform (QT_QPA_PLATFORM=xcb)";
    bool extension = false;
    void* d = x::Open(extension);
    if (!d) return "the X display cannot be opened";
    x::Close(d);
    if (!extension) return "the X server has no XTest extension";
    return {};
}

bool WindowManagerRunning() {
    bool extension = false;
    void* d = x::Open(extension);
    if (!d) return false;
    bool wm = x::WindowManager(d);
    x::Close(d);
    return wm;
}

bool WaitForWindowManager(int ms) {
    if (!rtl::test::Eventually([] { return WindowManagerRunning(); }, ms)) return false;
    bool extension = false;
    void* d = x::Open(extension);
    if (!d) return false;
    bool framed = x::WindowManagerFrames(d, ms);
    x::Close(d);
    return framed;
}

User::User() {
    bool extension = false;
    FDisplay = x::Open(extension);
    if (!FDisplay || !extension) throw std::runtime_error("display: no X server with XTest");
}

User::~User() { x::Close(FDisplay); }

void User::Flush() {
    x::Sync(FDisplay);
    Pause(15);
    Settle();
}

void User::MoveTo(const TPoint& screen) {
    FPointer = screen;
    x::Move(FDisplay, screen.X, screen.Y);
    Flush();
}

void User::Press(int button) {
    // Presses of separate steps never make a double-click, however quickly the steps follow:
    // a second press at the same place within the double-click time waits it out.
    static std::chrono::steady_clock::time_point lastTime;
    static TPoint lastPlace(-1, -1);
    const auto interval = std::chrono::milliseconds(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
    if (FPointer == lastPlace && std::chrono::steady_clock::now() - lastTime < interval)
        std::this_thread::sleep_until(lastTime + interval);
    lastTime = std::chrono::steady_clock::now();
    lastPlace = FPointer;
    x::Button(FDisplay, button, true);
    Flush();
}

void User::Release(int button) {
    x::Button(FDisplay, button, false);
    Flush();
}

void User::Click(const TPoint& screen, int button) {
    MoveTo(screen);
    Press(button);
    Release(button);
}

void User::Key(const std::string& name) {
    std::vector<std::string> chord;
    for (size_t at = 0;;) {
        // A "+" of its own is the key "plus", not a separator.
        size_t plus = name.find('+', at + 1);
        chord.push_back(name.substr(at, plus == std::string::npos ? std::string::npos : plus - at));
        if (plus == std::string::npos) break;
        at = plus + 1;
    }
    for (const std::string& k : chord)
        if (!x::Key(FDisplay, k, true)) throw std::runtime_error("display: no key named " + k);
    for (auto k = chord.rbegin(); k != chord.rend(); ++k) x::Key(FDisplay, *k, false);
    Flush();
}

void User::Type(const std::string& text) {
    for (char c : text) {
        std::string key;
        bool shift = false;
        if (std::isalnum(static_cast<unsigned char>(c))) {
            shift = std::isupper(static_cast<unsigned char>(c)) != 0;
            key = std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        } else {
            switch (c) {
                case '.': key = "period"; break;
                case '/': key = "slash"; break;
                case '-': key = "minus"; break;
                case '_': key = "minus"; shift = true; break;
                case ' ': key = "space"; break;
                default: throw std::runtime_error(std::string("display: cannot type ") + c);
            }
        }
        Key(shift ? "Shift_L+" + key : key);
    }
}

ui::test::Picture User::Grab(const TRect& screen) {
    ui::test::Picture p;
    p.Pixels = x::Grab(FDisplay, screen.Left, screen.Top, screen.Width(), screen.Height());
    if (!p.Pixels.empty()) {
        p.Width = screen.Width();
        p.Height = screen.Height();
    }
    return p;
}

TRect User::ScreenSize() {
    int w = 0, h = 0;
    x::ScreenSize(FDisplay, w, h);
    return TRect(0, 0, w, h);
}

TRect User::ShownRect(TWinControl* form) {
    unsigned long id = OnUi([&]() -> unsigned long {
        QWidget* w = WidgetOf(form);
        return w && w->isVisible() ? static_cast<unsigned long>(w->window()->winId()) : 0ul;
    });
    int x = 0, y = 0, width = 0, height = 0;
    if (!id || !x::WindowRect(FDisplay, id, x, y, width, height)) return TRect();
    return TRect(x, y, x + width, y + height);
}

std::string SaveShot(const ui::test::Picture& picture, const std::string& name) {
    QDir().mkpath(QStringLiteral("display-shots"));
    std::string path = "display-shots/" + name + ".png";
    QImage img(std::max(1, picture.Width), std::max(1, picture.Height), QImage::Format_RGB32);
    img.fill(Qt::black);
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x) {
            int32_t c = picture.At(x, y);
            img.setPixel(x, y, qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        }
    img.save(QString::fromStdString(path));
    return path;
}

bool WaitFor(const std::function<bool()>& cond, int ms) {
    return rtl::test::Eventually([&] { return OnUi([&] { return cond(); }); }, ms, [] { Pause(10); });
}

void Settle() {
    // Two trips through the main thread's loop: the events that arrived before the first are
    // handled by the end of the second.
    OnUi([] {});
    Pause(5);
    OnUi([] {});
}

TPoint ScreenPoint(TControl* control, int x, int y) { return OnUi([&] { return control->ClientToScreen(Point(x, y)); }); }

TPoint CentreOf(TControl* control) {
    return OnUi([&] {
        TRect r = control->ClientRect();
        return control->ClientToScreen(Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    });
}

TRect ScreenRect(TControl* control) {
    return OnUi([&] {
        auto* w = dynamic_cast<TWinControl*>(control);
        TRect r;
        if (w && w->HandleAllocated()) {
            GetWindowRect(w->Handle(), &r);
            return r;
        }
        TPoint o = control->ClientToScreen(Point(0, 0));
        return TRect(o.X, o.Y, o.X + control->Width(), o.Y + control->Height());
    });
}

String ShownText(TWinControl* control) {
    QWidget* w = WidgetOf(control);
    if (!w) return String();
    if (auto* combo = w->findChild<QComboBox*>())
        return String((combo->isEditable() ? combo->lineEdit()->text() : combo->currentText()).toStdU16String());
    if (auto* edit = w->findChild<QLineEdit*>()) return String(edit->text().toStdU16String());
    return String();
}

TWinControl* ControlAt(const TPoint& screen) {
    for (QWidget* w = QApplication::widgetAt(screen.X, screen.Y); w; w = w->parentWidget())
        if (auto* c = dynamic_cast<qtb::ControlWidget*>(w)) return c->Control();
    return nullptr;
}

bool ListShown(TWinControl* combo) {
    QComboBox* c = ComboOf(combo);
    return c && c->view() && c->view()->isVisible();
}

TRect ListItemRect(TWinControl* combo, int index) {
    QComboBox* c = ComboOf(combo);
    if (!c || !c->view() || !c->view()->isVisible() || index < 0 || index >= c->count()) return TRect();
    QAbstractItemView* v = c->view();
    QRect r = v->visualRect(c->model()->index(index, c->modelColumn(), c->rootModelIndex()));
    r = r.intersected(v->viewport()->rect());
    if (r.isEmpty()) return TRect();
    QPoint g = v->viewport()->mapToGlobal(r.topLeft());
    return TRect(g.x(), g.y(), g.x() + r.width(), g.y() + r.height());
}

bool ModalBoxShown() {
    QWidget* w = QApplication::activeModalWidget();
    return w && w->isVisible() && !dynamic_cast<qtb::ControlWidget*>(w);
}

ForeignDialog ShownForeignDialog() {
    ForeignDialog d;
    if (!ModalBoxShown()) return d;
    QWidget* w = QApplication::activeModalWidget();
    d.Shown = true;
    if (auto* files = qobject_cast<QFileDialog*>(w)) {
        d.Folder = files->directory().absolutePath().toStdString();
        for (const QString& f : files->nameFilters()) d.Filters.push_back(f.toStdString());
        if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) d.FileName = name->text().toStdString();
    } else if (auto* box = qobject_cast<QMessageBox*>(w)) {
        d.Text = box->text().toStdString();
    }
    return d;
}

void RunAsUser(const std::function<void(User&)>& user, int timeoutMs) {
    std::atomic<bool> done{false};
    std::exception_ptr error;
    std::thread thread([&] {
        try {
            User u;
            user(u);
        } catch (...) {
            error = std::current_exception();
        }
        done = true;
        WakeMainThreadNow();
    });
    bool inTime = ui::test::PumpUntil([&] { return done.load(); }, timeoutMs);
    // The user's own waits have deadlines: keep the loop running for its calls until it ends.
    while (!done) ui::test::PumpUntil([&] { return done.load(); }, 1000);
    thread.join();
    EXPECT_TRUE(inTime) << "the user took longer than " << timeoutMs << " ms";
    if (error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "the user stopped: " << e.what();
        } catch (...) {
            ADD_FAILURE() << "the user stopped with an exception";
        }
    }
}

}  // namespace display
