#pragma once
// The Qt side of a windowed control: a widget that shows the control's backing image (a TBitmap)
// and turns its Qt events into the control's input, and the peer object the UI library talks to.
#include <QCursor>
#include <QIcon>
#include <QPointer>
#include <QWidget>

#include "platform/ui/Backend.h"

namespace qtb {

// The MK_ flags of a Qt mouse event, and the key state of its modifiers, for every widget that
// turns Qt input into messages.
WPARAM KeysOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
void NoteModifiers(Qt::KeyboardModifiers mods);

class ControlWidget final : public QWidget {
public:
    explicit ControlWidget(TWinControl* control);
    TWinControl* Control() const { return FControl; }
    // The control is gone: the widget ignores everything from now on.
    void Detach();
    bool InEvent() const { return FEventDepth > 0; }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void Mouse(QMouseEvent* e, UINT msg);
    TWinControl* FControl;
    int FEventDepth = 0;

public:
    bool InPaint = false;  // showing the image: update requests would only loop
    // Rows at the top that belong to the window, not to the control: a form's menu bar. The
    // control's client area, its image, mouse positions and child widgets start below them.
    int ClientTop = 0;
    QPointer<QWidget> MenuBar;
};

class WidgetPeer final : public ui::WidgetPeer {
public:
    WidgetPeer(TWinControl* control, const TCreateParams& params);
    ~WidgetPeer() override;
    void SetParent(ui::WidgetPeer* parent) override;
    void SetBounds(const TRect& r) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetCaption(const String& caption) override;
    void SetWindowStyle(const WindowStyle& style) override;
    void SetWindowState(int state) override;
    void SetIcon(TIcon* icon) override;
    void SetCursorShape(TCursor cursor) override;
    void SetToolTip(const String& text, int hideAfterMs) override;
    void SetMouseCapture(bool capture) override;
    void SetFocus() override;
    void Raise() override;
    void Lower() override;
    void Activate() override;
    void Update(const TRect& r) override;
    bool SaveToPng(const std::string& path) override;

    ControlWidget* Widget() const { return FWidget.data(); }
    // Shows the bar across the top of the window, above the client area (nullptr: none); the
    // caller owns the bar. Child widgets move with the client area.
    void SetMenuBar(QWidget* bar);

private:
    QPointer<ControlWidget> FWidget;
    bool FTopLevel;
    bool FFixedSize = false;
};

Qt::CursorShape CursorShapeOf(TCursor cursor);
// A control's cursor: a built-in shape, or the program's own cursor in that Screen slot.
QCursor CursorOf(TCursor cursor);
QIcon QIconOf(TIcon* icon);

// Key codes between Qt and the platform's virtual keys.
WORD QtKeyToVk(int key);
int VkToQtKey(WORD vk);

}  // namespace qtb
