#include "platform/qt/QtWindow.h"

#include <algorithm>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWheelEvent>

#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtInput.h"
#include "platform/ui/Forms.h"
#include "platform/win/Window.h"

namespace qtb {

// ---------------------------------------------------------------------------------------------

ControlWidget::ControlWidget(TWinControl* control)
    : FControl(control), FInput(new InputTranslator(control, this, true)) {
    FInput->setParent(this);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
}

void ControlWidget::Detach() {
    FControl = nullptr;
    FInput->Detach();
}

bool ControlWidget::event(QEvent* e) {
    ++FEventDepth;
    QPointer<ControlWidget> self(this);
    // The widget may be deleted inside its own event (a deferred delete): count down only while
    // it still exists.
    struct Depth {
        QPointer<ControlWidget>& w;
        ~Depth() {
            if (w) --w->FEventDepth;
        }
    } depth{self};
    // Every key, character and mouse event goes through the one input road.
    switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
            return FInput->Translate(this, e);
        default:
            return QWidget::event(e);
    }
}

void ControlWidget::paintEvent(QPaintEvent* e) {
    if (!FControl) return;
    InPaint = true;
    Sink().Paint(FControl);
    InPaint = false;
    if (!FControl || !FControl->BackingImage()) return;  // the control went away while painting
    QRect area = e->rect() & rect();
    if (area.isEmpty()) return;
    QPainter p(this);
    if (!Layered.isNull()) {
        // A layered window's picture replaces its painting, alpha and all.
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(area, Layered, area);
        return;
    }
    p.drawImage(area, qtb::ImageOf(*FControl->BackingImage()), area);
}

void ControlWidget::leaveEvent(QEvent*) {
    if (FControl) Sink().MouseLeave(FControl);
}

void ControlWidget::resizeEvent(QResizeEvent*) {
    if (FControl && isWindow()) Sink().Resized(FControl, width(), height());
}

void ControlWidget::moveEvent(QMoveEvent*) {
    if (FControl && isWindow()) Sink().Moved(FControl, geometry().x(), geometry().y());
}

void ControlWidget::closeEvent(QCloseEvent* e) {
    // The form decides: OnCloseQuery, OnClose and the close action.
    e->ignore();
    if (FControl) Sink().CloseRequest(FControl);
}

void ControlWidget::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && FControl && isWindow()) Sink().Activated(FControl, isActiveWindow());
    QWidget::changeEvent(e);
}

// ---------------------------------------------------------------------------------------------

WidgetPeer::WidgetPeer(TWinControl* control, const TCreateParams& params)
    : FTopLevel(params.TopLevel), FStyle(params.Style), FExStyle(params.ExStyle) {
    FWidget = new ControlWidget(control);
    if (FTopLevel) {
        FWidget->setWindowTitle(QString::fromStdU16String(params.Caption));
        ApplyStyles();
    }
}

Qt::WindowFlags WindowFlagsOf(DWORD style, DWORD exStyle) {
    Qt::WindowFlags flags = (exStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
    bool caption = (style & WS_CAPTION) == WS_CAPTION;
    // Without a caption or a sizing border the window manager draws nothing: a pop-up's border
    // is part of the control's own frame.
    if (!caption && !(style & WS_THICKFRAME)) flags |= Qt::FramelessWindowHint;
    flags |= Qt::CustomizeWindowHint;
    if (caption) flags |= Qt::WindowTitleHint;
    if (style & WS_SYSMENU) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
        if ((style & WS_MAXIMIZEBOX) && (style & WS_THICKFRAME)) flags |= Qt::WindowMaximizeButtonHint;
    }
    if (exStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
    // A disabled window cannot take the activation either.
    if (exStyle & WS_EX_NOACTIVATE || style & WS_DISABLED) flags |= Qt::WindowDoesNotAcceptFocus;
    return flags;
}

void WidgetPeer::ApplyStyles() {
    ControlWidget* w = FWidget.data();
    if (!w || !FTopLevel) return;
    FFixedSize = (FStyle & WS_THICKFRAME) == 0;
    if (FFixedSize) {
        w->setFixedSize(w->size());
    } else {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    Qt::WindowFlags flags = Flags(w->parentWidget() != nullptr);
    // A frameless tool window (a hint, a pop-up list) is shown without the desktop activating it:
    // the program activates it itself when it wants it to have the keys.
    bool quietTool = (flags & Qt::WindowType_Mask) == Qt::Tool && (flags & Qt::FramelessWindowHint);
    w->setAttribute(Qt::WA_ShowWithoutActivating, (FExStyle & WS_EX_NOACTIVATE) != 0 || (FStyle & WS_DISABLED) != 0 || quietTool);
    if (w->windowFlags() == flags) return;
    bool shown = w->isVisible();
    w->setWindowFlags(flags);
    if (shown) w->show();  // changing window flags hides the window
}

Qt::WindowFlags WidgetPeer::Flags(bool owned) const {
    Qt::WindowFlags flags = WindowFlagsOf(FStyle, FExStyle);
    // An owned frameless window (a pop-up) is a tool window: window managers keep those over
    // their owner, as the platform keeps every owned window, and owned windows have no task-bar
    // entry there either.
    if (owned && (flags & Qt::FramelessWindowHint) && (flags & Qt::WindowType_Mask) == Qt::Window)
        flags = (flags & ~Qt::WindowType_Mask) | Qt::Tool;
    // A frameless pop-up's shadow is the desktop's, asked for by the class style; without it the
    // desktops that would draw one by default are told not to.
    if ((flags & Qt::FramelessWindowHint) && !FShadow) flags |= Qt::NoDropShadowWindowHint;
    // Input passing the window by: a window manager's frame around it would take the pointer
    // itself, so the window is left unmanaged.
    if (FInputTransparent) flags |= Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint;
    return flags;
}

void WidgetPeer::SetStyles(DWORD style, DWORD exStyle) {
    FStyle = style;
    FExStyle = exStyle;
    ApplyStyles();
}

WidgetPeer::WindowKind WidgetPeer::Kind() const {
    WindowKind k;
    ControlWidget* w = FWidget.data();
    if (!w) return k;
    Qt::WindowFlags f = w->windowFlags();
    k.TopLevel = w->isWindow();
    k.Frameless = (f & Qt::FramelessWindowHint) != 0;
    k.Tool = w->windowType() == Qt::Tool;
    k.StaysOnTop = (f & Qt::WindowStaysOnTopHint) != 0;
    k.NoActivate = (f & Qt::WindowDoesNotAcceptFocus) != 0 && w->testAttribute(Qt::WA_ShowWithoutActivating);
    k.FixedSize = w->minimumSize() == w->maximumSize();
    k.Shadow = k.TopLevel && k.Frameless && (f & Qt::NoDropShadowWindowHint) == 0;
    if (auto* owner = dynamic_cast<ControlWidget*>(w->parentWidget()); owner && owner->Control()) k.Owner = owner->Control()->Peer();
    return k;
}

WidgetPeer::~WidgetPeer() {
    if (!FWidget) return;
    ControlWidget* w = FWidget.data();
    w->Detach();
    w->hide();
    if (w->InEvent()) {
        // Freed from inside one of its own events: out of the tree now, deleted once it returns.
        w->setParent(nullptr);
        w->deleteLater();
    } else {
        delete w;
    }
}

void WidgetPeer::SetParent(ui::WidgetPeer* parent) {
    auto* p = static_cast<WidgetPeer*>(parent);
    // A top-level window given a parent stays a window of its own, kept over that parent.
    if (FTopLevel && p) FWidget->setParent(p->Widget(), Flags(true));
    else FWidget->setParent(p ? p->Widget() : nullptr);
    FTopLevel = FTopLevel || p == nullptr;
    ApplyStyles();
}

void ClipToParent(ControlWidget* w) {
    auto* parent = dynamic_cast<ControlWidget*>(w->parentWidget());
    QRegion visible = w->Shaped ? w->Shape : QRegion(w->rect());
    bool clipped = w->Shaped;
    if (!w->isWindow() && parent && parent->Control()) {
        TRect area = parent->Control()->ClientArea();
        QRect inside = QRect(area.Left, area.Top, area.Width(), area.Height()).intersected(w->geometry()).translated(-w->pos());
        if (inside != w->rect()) {
            visible &= inside;
            clipped = true;
        }
    }
    if (!clipped) {
        if (!w->mask().isEmpty()) w->clearMask();
        return;
    }
    // An empty mask would be no mask at all: a point outside keeps the whole window hidden.
    QRegion mask = visible.isEmpty() ? QRegion(-1, -1, 1, 1) : visible;
    if (w->mask() != mask) w->setMask(mask);
}

void WidgetPeer::SetBounds(const TRect& r) {
    if (FFixedSize) FWidget->setFixedSize(r.Width(), r.Height());
    FWidget->setGeometry(r.Left, r.Top, r.Width(), r.Height());
    ClipToParent(FWidget);
    // The client area may have changed with the window: what the children show follows it.
    for (QObject* o : FWidget->children())
        if (auto* child = dynamic_cast<ControlWidget*>(o)) ClipToParent(child);
}

int ControlWidget::TakeMenuBar(QWidget* bar) {
    MenuBar = bar;
    if (!bar) return 0;
    bar->setParent(this);
    bar->hide();  // until the frame gives it its place
    return std::max(0, bar->sizeHint().height());
}

void WidgetPeer::PlaceMenuBar(const TRect& band) {
    ControlWidget* w = FWidget.data();
    if (!w || !w->MenuBar) return;
    w->MenuBar->setGeometry(band.Left, band.Top, band.Width(), band.Height());
    w->MenuBar->setVisible(!band.IsEmpty());
}

void WidgetPeer::SetVisible(bool visible) { FWidget->setVisible(visible); }
void WidgetPeer::SetEnabled(bool enabled) { FWidget->setEnabled(enabled); }
void WidgetPeer::SetCaption(const String& caption) { FWidget->setWindowTitle(QString::fromStdU16String(caption)); }

void WidgetPeer::SetWindowState(TWindowState state) {
    if (!FTopLevel) return;
    Qt::WindowStates s = FWidget->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == wsMinimized) s |= Qt::WindowMinimized;
    if (state == wsMaximized) s |= Qt::WindowMaximized;
    FWidget->setWindowState(s);
}

QIcon QIconOf(TIcon* icon) {
    if (!icon || icon->Empty() || !icon->Bitmap()) return QIcon();
    return QIcon(QPixmap::fromImage(qtb::ImageOf(*icon->Bitmap())));
}

void WidgetPeer::SetIcon(TIcon* icon) {
    if (FTopLevel) FWidget->setWindowIcon(QIconOf(icon));
}

void WidgetPeer::SetCursorShape(const ui::CursorInfo& cursor) { FWidget->setCursor(CursorOf(cursor)); }

QCursor CursorOf(const ui::CursorInfo& cursor) {
    if (!cursor.Image) return QCursor(CursorShapeOf(cursor.Shape));
    return QCursor(QPixmap::fromImage(qtb::ImageOf(*cursor.Image)), cursor.HotSpot.X, cursor.HotSpot.Y);
}

ui::WindowSink& Sink() { return ui::GetBackend().Windows(); }

Qt::CursorShape CursorShapeOf(TCursor cursor) {
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (cursor) {
        case crNone: shape = Qt::BlankCursor; break;
        case crCross: shape = Qt::CrossCursor; break;
        case crIBeam: shape = Qt::IBeamCursor; break;
        case crSizeNESW: shape = Qt::SizeBDiagCursor; break;
        case crSizeNS: shape = Qt::SizeVerCursor; break;
        case crSizeNWSE: shape = Qt::SizeFDiagCursor; break;
        case crSizeWE: shape = Qt::SizeHorCursor; break;
        case crUpArrow: shape = Qt::UpArrowCursor; break;
        case crHourGlass: case crSQLWait: shape = Qt::WaitCursor; break;
        case crDrag: case crMultiDrag: shape = Qt::DragMoveCursor; break;
        case crNoDrop: case crNo: shape = Qt::ForbiddenCursor; break;
        case crHSplit: shape = Qt::SplitHCursor; break;
        case crVSplit: shape = Qt::SplitVCursor; break;
        case crAppStart: shape = Qt::BusyCursor; break;
        case crHelp: shape = Qt::WhatsThisCursor; break;
        case crHandPoint: shape = Qt::PointingHandCursor; break;
        case crSizeAll: shape = Qt::SizeAllCursor; break;
        default: break;
    }
    return shape;
}

// Qt grabs the mouse for the widget a button went down on; the library keeps its own capture
// control for graphic children, so nothing more is needed here.
void WidgetPeer::SetMouseCapture(bool) {}

void WidgetPeer::SetFocus() { FWidget->setFocus(Qt::OtherFocusReason); }
void WidgetPeer::Raise() {
    // The headless platform has no stacking of windows (and says so on every call).
    if (FTopLevel && QGuiApplication::platformName() == "offscreen") return;
    FWidget->raise();
}
void WidgetPeer::Lower() { FWidget->lower(); }

void WidgetPeer::Activate() {
    if (FTopLevel && FWidget->isVisible()) FWidget->activateWindow();
}

// Qt holds the updates of the widget and of every widget in it, native views included, and
// shows them again when they are enabled.
void WidgetPeer::SetRedraw(bool redraw) { FWidget->setUpdatesEnabled(redraw); }

void WidgetPeer::SetDropShadow(bool shadow) {
    if (FShadow == shadow) return;
    FShadow = shadow;
    ApplyStyles();
}

void WidgetPeer::Update(const TRect& r) {
    if (!FWidget || FWidget->InPaint) return;
    FWidget->update(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

}  // namespace qtb
