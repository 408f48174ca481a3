#pragma once
// The Qt side of a windowed control: a widget that shows the control's backing image (a TBitmap)
// and turns its Qt events into the control's input, and the peer object the UI library talks to.
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include "platform/ui/backend/Backend.h"

namespace qtb {

class InputTranslator;

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
    void leaveEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    TWinControl* FControl;
    InputTranslator* FInput;
    int FEventDepth = 0;

public:
    bool InPaint = false;  // showing the image: update requests would only loop
    // A form's menu bar, placed by the frame in its part of the window.
    QPointer<QWidget> MenuBar;
    // Takes the form's menu bar into the window (nullptr: none; the caller owns the bar) and
    // answers the height it needs, which the frame reserves for it.
    int TakeMenuBar(QWidget* bar);

    // Shaped and layered windows (QtLayers.cpp). The window's shape (its mask, with the parent's
    // client area for a child window); a layered picture shown instead of the backing image.
    bool Shaped = false;
    QRegion Shape;
    QImage Layered;
    // A top-level window given an alpha channel, made again on a desktop that chose its visual
    // without one.
    void MakeTranslucent();
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
    void SetStyles(DWORD style, DWORD exStyle) override;
    WindowKind Kind() const override;
    void PlaceMenuBar(const TRect& band) override;
    void SetWindowState(TWindowState state) override;
    void SetIcon(TIcon* icon) override;
    void SetCursorShape(const ui::CursorInfo& cursor) override;
    void SetMouseCapture(bool capture) override;
    void SetFocus() override;
    void Raise() override;
    void Lower() override;
    void Activate() override;
    void Update(const TRect& r) override;
    void SetDropShadow(bool shadow) override;
    void SetRedraw(bool redraw) override;
    void SetShape(const std::vector<TRect>* shape) override;
    void SetInputTransparent(bool transparent) override;
    void SetOpacity(BYTE alpha) override;
    void SetLayeredImage(const TBitmap* image) override;

    ControlWidget* Widget() const { return FWidget.data(); }

private:
    void ApplyStyles();
    // The Qt window flags of the styles and the shadow, for a window with an owner or without.
    Qt::WindowFlags Flags(bool owned) const;
    QPointer<ControlWidget> FWidget;
    bool FTopLevel;
    DWORD FStyle = 0;
    DWORD FExStyle = 0;
    bool FFixedSize = false;
    bool FShadow = false;
    bool FInputTransparent = false;
};

// A child window shows, and takes the mouse, only inside its parent's client area, and any
// window only inside its shape: the widget's mask.
void ClipToParent(ControlWidget* w);
// Whether the desktop shows windows with a constant or per-pixel opacity (QtLayers.cpp).
bool DesktopShowsTranslucency();

// The one mapping from window styles to Qt window flags.
Qt::WindowFlags WindowFlagsOf(DWORD style, DWORD exStyle);

Qt::CursorShape CursorShapeOf(TCursor cursor);
QCursor CursorOf(const ui::CursorInfo& cursor);
QIcon QIconOf(TIcon* icon);

// Where the backend reports what happens to windows.
ui::WindowSink& Sink();

}  // namespace qtb
