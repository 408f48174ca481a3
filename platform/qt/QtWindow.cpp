#include "platform/qt/QtWindow.h"

#include <algorithm>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWheelEvent>

#include "platform/qt/QtGraphicsAccess.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Forms.h"
#include "platform/win/Window.h"

namespace qtb {

namespace {

struct KeyPair {
    int qt;
    WORD vk;
};

constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},  {Qt::Key_Enter, VK_RETURN},    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},       {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},   {Qt::Key_PageDown, VK_NEXT},   {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},      {Qt::Key_Left, VK_LEFT},       {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},    {Qt::Key_Down, VK_DOWN},       {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
};

}  // namespace

WPARAM KeysOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    WPARAM k = 0;
    if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
    if (buttons & Qt::RightButton) k |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) k |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier) k |= MK_SHIFT;
    if (mods & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

void NoteModifiers(Qt::KeyboardModifiers mods) {
    win::SetKeyState(VK_SHIFT, (mods & Qt::ShiftModifier) != 0);
    win::SetKeyState(VK_CONTROL, (mods & Qt::ControlModifier) != 0);
    win::SetKeyState(VK_MENU, (mods & Qt::AltModifier) != 0);
}

WORD QtKeyToVk(int key) {
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) return static_cast<WORD>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<WORD>(VK_F1 + (key - Qt::Key_F1));
    for (const auto& k : kKeys)
        if (k.qt == key) return k.vk;
    return 0;
}

int VkToQtKey(WORD vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return vk;
    if (vk >= VK_F1 && vk < VK_F1 + 24) return Qt::Key_F1 + (vk - VK_F1);
    for (const auto& k : kKeys)
        if (k.vk == vk) return k.qt;
    return Qt::Key_unknown;
}

// ---------------------------------------------------------------------------------------------

// ---------------------------------------------------------------------------------------------

ControlWidget::ControlWidget(TWinControl* control) : FControl(control) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
}

void ControlWidget::Detach() { FControl = nullptr; }

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
    switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            if (!FControl) return true;
            auto* k = static_cast<QKeyEvent*>(e);
            bool down = e->type() == QEvent::KeyPress;
            NoteModifiers(k->modifiers());
            bool alt = (k->modifiers() & Qt::AltModifier) != 0;
            WORD vk = QtKeyToVk(k->key());
            bool consumed = false;
            if (vk) {
                win::SetKeyState(vk, down);
                consumed = UiInput::Key(FControl, down, vk, alt);
            }
            if (down && !consumed) {
                QString text = k->text();
                for (QChar ch : text) {
                    if (!self || !FControl) break;
                    UiInput::Char(FControl, ch.unicode(), alt);
                }
            }
            e->accept();
            return true;
        }
        case QEvent::ShortcutOverride:
            e->accept();  // every key is the control's, not a Qt shortcut
            return true;
        case QEvent::InputMethod: {
            auto* im = static_cast<QInputMethodEvent*>(e);
            for (QChar ch : im->commitString()) {
                if (!self || !FControl) break;
                UiInput::Char(FControl, ch.unicode(), false);
            }
            e->accept();
            return true;
        }
        default:
            return QWidget::event(e);
    }
}

void ControlWidget::paintEvent(QPaintEvent* e) {
    if (!FControl) return;
    InPaint = true;
    UiInput::Paint(FControl);
    InPaint = false;
    if (!FControl || !FControl->BackingImage()) return;  // the control went away while painting
    QRect area = e->rect() & QRect(0, ClientTop, width(), std::max(0, height() - ClientTop));
    if (area.isEmpty()) return;
    QPainter p(this);
    p.drawImage(area, qtbackend::ImageOf(*FControl->BackingImage()), area.translated(0, -ClientTop));
}

void ControlWidget::Mouse(QMouseEvent* e, UINT msg) {
    if (!FControl) return;
    NoteModifiers(e->modifiers());
    // Button state for GetKeyState(VK_LBUTTON) and the like.
    win::SetKeyState(VK_LBUTTON, (e->buttons() & Qt::LeftButton) != 0);
    win::SetKeyState(VK_RBUTTON, (e->buttons() & Qt::RightButton) != 0);
    win::SetKeyState(VK_MBUTTON, (e->buttons() & Qt::MiddleButton) != 0);
    QPoint pos = e->position().toPoint();
    UiInput::Mouse(FControl, msg, pos.x(), pos.y() - ClientTop, KeysOf(e->buttons(), e->modifiers()));
    e->accept();
}

static UINT ButtonMessage(Qt::MouseButton b, UINT left, UINT right, UINT middle) {
    return b == Qt::RightButton ? right : b == Qt::MiddleButton ? middle : left;
}

void ControlWidget::mousePressEvent(QMouseEvent* e) {
    Mouse(e, ButtonMessage(e->button(), WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN));
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* e) {
    Mouse(e, ButtonMessage(e->button(), WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP));
}

void ControlWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    Mouse(e, ButtonMessage(e->button(), WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK));
}

void ControlWidget::mouseMoveEvent(QMouseEvent* e) { Mouse(e, WM_MOUSEMOVE); }

void ControlWidget::wheelEvent(QWheelEvent* e) {
    if (!FControl) return;
    QPoint pos = e->position().toPoint();
    UiInput::MouseWheel(FControl, e->angleDelta().y(), pos.x(), pos.y() - ClientTop, KeysOf(e->buttons(), e->modifiers()));
    e->accept();
}

void ControlWidget::leaveEvent(QEvent*) {
    if (FControl) UiInput::MouseLeave(FControl);
}

void ControlWidget::resizeEvent(QResizeEvent*) {
    if (MenuBar) MenuBar->setGeometry(0, 0, width(), ClientTop);
    if (FControl && isWindow()) UiInput::Resized(FControl, width(), height());
}

void ControlWidget::moveEvent(QMoveEvent*) {
    if (FControl && isWindow()) UiInput::Moved(FControl, geometry().x(), geometry().y());
}

void ControlWidget::closeEvent(QCloseEvent* e) {
    // The form decides: OnCloseQuery, OnClose and the close action.
    e->ignore();
    if (FControl) UiInput::CloseRequest(FControl);
}

void ControlWidget::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && FControl && isWindow()) UiInput::Activated(FControl, isActiveWindow());
    QWidget::changeEvent(e);
}

// ---------------------------------------------------------------------------------------------

WidgetPeer::WidgetPeer(TWinControl* control, const TCreateParams& params) : FTopLevel(params.TopLevel) {
    FWidget = new ControlWidget(control);
    if (FTopLevel) FWidget->setWindowTitle(QString::fromStdU16String(params.Caption));
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
    FWidget->setParent(p ? p->Widget() : nullptr);
    FTopLevel = p == nullptr;
}

void WidgetPeer::SetBounds(const TRect& r) {
    if (FFixedSize) FWidget->setFixedSize(r.Width(), r.Height());
    // The bounds are in the parent's client coordinates, which start below its menu bar.
    int top = r.Top;
    if (!FTopLevel)
        if (auto* parent = dynamic_cast<ControlWidget*>(FWidget->parentWidget())) top += parent->ClientTop;
    FWidget->setGeometry(r.Left, top, r.Width(), r.Height());
}

void WidgetPeer::SetMenuBar(QWidget* bar) {
    ControlWidget* w = FWidget.data();
    if (!w) return;
    int old = w->ClientTop;
    w->MenuBar = bar;
    w->ClientTop = bar ? std::max(0, bar->sizeHint().height()) : 0;
    if (bar) {
        bar->setParent(w);
        bar->setGeometry(0, 0, w->width(), w->ClientTop);
        bar->show();
    }
    if (int dy = w->ClientTop - old; dy != 0) {
        for (QObject* o : w->children())
            if (auto* child = dynamic_cast<ControlWidget*>(o)) child->move(child->x(), child->y() + dy);
    }
    w->update();
}

void WidgetPeer::SetVisible(bool visible) { FWidget->setVisible(visible); }
void WidgetPeer::SetEnabled(bool enabled) { FWidget->setEnabled(enabled); }
void WidgetPeer::SetCaption(const String& caption) { FWidget->setWindowTitle(QString::fromStdU16String(caption)); }

void WidgetPeer::SetWindowStyle(const WindowStyle& style) {
    FFixedSize = style.FixedSize;
    if (FFixedSize)
        FWidget->setFixedSize(FWidget->size());
    else {
        FWidget->setMinimumSize(0, 0);
        FWidget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (!FTopLevel) return;
    Qt::WindowFlags flags = style.ToolWindow ? Qt::Tool : Qt::Window;
    if (style.Frameless) flags |= Qt::FramelessWindowHint;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (style.SystemMenu) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (style.MinimizeButton) flags |= Qt::WindowMinimizeButtonHint;
        if (style.MaximizeButton && !style.FixedSize) flags |= Qt::WindowMaximizeButtonHint;
    }
    if (style.StayOnTop) flags |= Qt::WindowStaysOnTopHint;
    if (FWidget->windowFlags() == flags) return;
    bool shown = FWidget->isVisible();
    FWidget->setWindowFlags(flags);
    if (shown) FWidget->show();  // changing window flags hides the window
}

void WidgetPeer::SetWindowState(int state) {
    if (!FTopLevel) return;
    Qt::WindowStates s = FWidget->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == 1) s |= Qt::WindowMinimized;
    if (state == 2) s |= Qt::WindowMaximized;
    FWidget->setWindowState(s);
}

QIcon QIconOf(TIcon* icon) {
    if (!icon || icon->Empty() || !icon->Bitmap()) return QIcon();
    return QIcon(QPixmap::fromImage(qtbackend::ImageOf(*icon->Bitmap())));
}

void WidgetPeer::SetIcon(TIcon* icon) {
    if (FTopLevel) FWidget->setWindowIcon(QIconOf(icon));
}

void WidgetPeer::SetCursorShape(TCursor cursor) { FWidget->setCursor(CursorOf(cursor)); }

QCursor CursorOf(TCursor cursor) {
    // The program's own cursors are the slots of Screen->Cursors.
    if (cursor > 0) {
        ui::CursorInfo info;
        if (ui::GetCursorInfo(Screen->Cursors(cursor), info)) {
            if (!info.Image) return QCursor(CursorShapeOf(info.Shape));
            return QCursor(QPixmap::fromImage(qtbackend::ImageOf(*info.Image)), info.HotSpot.X, info.HotSpot.Y);
        }
    }
    return QCursor(CursorShapeOf(cursor));
}

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

void WidgetPeer::SetToolTip(const String& text, int hideAfterMs) {
    FWidget->setToolTip(QString::fromStdU16String(text));
    FWidget->setToolTipDuration(hideAfterMs > 0 ? hideAfterMs : -1);
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

void WidgetPeer::Update(const TRect& r) {
    if (!FWidget || FWidget->InPaint) return;
    FWidget->update(QRect(r.Left, r.Top + FWidget->ClientTop, r.Width(), r.Height()));
}

bool WidgetPeer::SaveToPng(const std::string& path) {
    QPixmap pm = FWidget->grab();
    return pm.save(QString::fromStdString(path), "PNG");
}

}  // namespace qtb
