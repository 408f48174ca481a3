// The Qt backend of the UI library: the application object, the event loop's non-blocking and
// waiting steps, wake-ups from other threads, screens, message boxes, and the peers and services
// made in the other files of this folder. A program that links this file (platform_qt_backend)
// runs on Qt.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtGdiPlus.h"
#include "platform/qt/QtGraphics.h"
#include "platform/qt/QtGraphicsApp.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtWindow.h"
#include "platform/rtl/Clock.h"

namespace qtb {

namespace {

class QtBackend final : public ui::Backend {
public:
    QtBackend() {
        qtb::EnsureApplication();
        FDispatcher = QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread());
        qtb::WatchDesktopChanges(*this);
        QObject::connect(qApp, &QGuiApplication::applicationStateChanged, qApp, [this](Qt::ApplicationState state) {
            Windows().ApplicationActivated(state == Qt::ApplicationActive);
        });
    }

    const char* Name() const override { return "qt"; }
    bool Supports(ui::Capability capability) const override {
        return capability != ui::Capability::TranslucentWindows || qtb::DesktopShowsTranslucency();
    }

    std::unique_ptr<ui::WidgetPeer> CreateWidget(TWinControl* control, const TCreateParams& params) override {
        return std::make_unique<WidgetPeer>(control, params);
    }
    std::unique_ptr<ui::MenuBarPeer> CreateMenuBar(ui::WidgetPeer& window, ui::MenuSink& sink) override {
        return MakeMenuBar(window, sink);
    }
    std::unique_ptr<ui::PopupMenuPeer> CreatePopupMenu(ui::MenuSink& sink) override { return MakePopupMenu(sink); }

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

    // A dialog's own loop (QDialog::exec) never runs the library's passes: each time it is about
    // to block, the library takes what waits, and the loop wakes again when the library's next
    // timer falls due.
    void BeginForeignLoop(std::function<uint64_t()> serve) override {
        FForeign.push_back(std::move(serve));
        if (FForeign.size() > 1) return;
        FForeignTimer.setSingleShot(true);
        FForeignTimer.setTimerType(Qt::PreciseTimer);
        FBlockHook = QObject::connect(FDispatcher, &QAbstractEventDispatcher::aboutToBlock, qApp, [this] { ServeForeign(); });
        if (auto* manual = dynamic_cast<rtl::ManualClock*>(&rtl::CurrentClock()))
            FForeignListener = manual->AddListener([this] { Wake(); });
    }
    void EndForeignLoop() override {
        if (FForeign.empty()) return;
        FForeign.pop_back();
        if (!FForeign.empty()) return;
        QObject::disconnect(FBlockHook);
        FForeignTimer.stop();
        if (FForeignListener) {
            if (auto* manual = dynamic_cast<rtl::ManualClock*>(&rtl::CurrentClock())) manual->RemoveListener(FForeignListener);
            FForeignListener = 0;
        }
    }

    void SetApplicationIcon(TIcon* icon) override { QApplication::setWindowIcon(QIconOf(icon)); }

    void SetOverrideCursor(const ui::CursorInfo* cursor) override {
        while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
        if (cursor) QGuiApplication::setOverrideCursor(CursorOf(*cursor));
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
        return 0;  // closed without a button
    }

    ui::DialogService& Dialogs() override { return qtb::DialogService(); }
    ui::ClipboardService& Clipboard() override { return qtb::ClipboardService(); }
    ui::PrinterService& Printing() override { return qtb::PrintService(); }

    int WheelScrollLines() override { return qtb::DesktopWheelScrollLines(); }
    int DragDistance() override { return qtb::DesktopDragDistance(); }
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
    // The date-time view: QtDateTime.cpp.
    std::unique_ptr<ui::DateTimeView> CreateDateTimeView(ui::DateTimeKind kind, ui::WidgetPeer& host, TWinControl* control) override {
        return MakeDateTimeView(kind, host, control);
    }
    // The rich edit's view: QtRichText.cpp.
    std::unique_ptr<ui::RichTextView> CreateRichTextView(ui::WidgetPeer& host, TWinControl* control) override {
        return MakeRichTextView(host, control);
    }

    // Graphics (platform/qt/QtGraphics.h).
    std::unique_ptr<ui::PixelStore> CreatePixelStore(TPixelFormat format) override { return qtb::CreatePixelStore(format); }
    std::unique_ptr<ui::CanvasImpl> CreateRasterCanvas(TCanvas& front) override { return qtb::CreateRasterCanvas(front); }
    std::unique_ptr<ui::FontFace> CreateFontFace(const TFont& font, bool antialias) override {
        return qtb::CreateFontFace(font, antialias);
    }
    ui::ImageCodec& PngCodec() override { return qtb::PngCodec(); }
    std::vector<TRect> RegionRects(const ui::RegionShape& shape) override { return qtb::RegionRects(shape); }

    // GDI+ (platform/qt/QtGdiPlus.h).
    gdiplus::engine::Engine& GdiPlus() override { return qtb::GdiPlusEngine(); }

    // The icon theme (QtShellIcons.cpp).
    bool FileTypeIcon(bool folder, const String& name, int size, TBitmap& target) override {
        return qtb::ThemeFileIcon(folder, name, size, target);
    }

    // Pop-up windows and screens (QtPopup.cpp).
    std::vector<ui::ScreenArea> Screens() override { return qtb::DesktopScreens(); }

private:
    void ServeForeign() {
        if (FServing || FForeign.empty()) return;
        FServing = true;
        std::function<uint64_t()> serve = FForeign.back();
        uint64_t due = rtl::NoDeadline;
        try {
            due = serve();
        } catch (...) {
        }
        FServing = false;
        rtl::Clock& clock = rtl::CurrentClock();
        if (due == rtl::NoDeadline || dynamic_cast<rtl::ManualClock*>(&clock)) {
            FForeignTimer.stop();
            return;
        }
        uint64_t now = clock.MonotonicMs();
        FForeignTimer.start(static_cast<int>(due > now ? std::min<uint64_t>(due - now, INT32_MAX) : 0));
    }

    QAbstractEventDispatcher* FDispatcher = nullptr;
    std::vector<std::function<uint64_t()>> FForeign;
    QMetaObject::Connection FBlockHook;
    QTimer FForeignTimer;
    int FForeignListener = 0;
    bool FServing = false;
};

}  // namespace

}  // namespace qtb

// The program links this backend.
std::unique_ptr<ui::Backend> ui::MakeBackend() { return std::make_unique<qtb::QtBackend>(); }
