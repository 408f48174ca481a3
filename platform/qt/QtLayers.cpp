// Shaped and layered windows on Qt: a window's shape is its widget's mask (for a top-level
// window, its shape on the desktop, input included); input passes a top-level window by through
// the window system, a child window by Qt's own delivery; the constant opacity is the window's
// opacity and a layered picture is painted with its alpha into a window with an alpha channel.
// Whether the desktop shows translucency at all is asked of the platform.
#include <string>

#include <QGuiApplication>
#include <QWindow>

#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtWindow.h"

#if defined(RWB_HAVE_XCB) && QT_CONFIG(xcb)
#include <cstdlib>

#include <xcb/xcb.h>
#define RWB_ASK_XCB 1
#endif

namespace qtb {

namespace {

#ifdef RWB_ASK_XCB
// A compositing manager owns the selection _NET_WM_CM_S<screen> while it runs.
bool CompositorRuns() {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return false;
    static xcb_atom_t atom = [c] {
        char* host = nullptr;
        int display = 0, screen = 0;
        if (xcb_parse_display(nullptr, &host, &display, &screen)) std::free(host);
        std::string name = "_NET_WM_CM_S" + std::to_string(screen);
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
        xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return a;
    }();
    if (atom == XCB_ATOM_NONE) return false;
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom), nullptr);
    bool runs = owner && owner->owner != XCB_NONE;
    std::free(owner);
    return runs;
}
#endif

}  // namespace

bool DesktopShowsTranslucency() {
    QString platform = QGuiApplication::platformName();
    // What tests read offscreen is the layer's own composition of the window.
    if (platform == "offscreen" || platform.startsWith("wayland")) return true;
#ifdef RWB_ASK_XCB
    if (platform == "xcb") return CompositorRuns();
#endif
    return false;
}

void ControlWidget::MakeTranslucent() {
    if (!isWindow() || testAttribute(Qt::WA_TranslucentBackground)) return;
    setAttribute(Qt::WA_TranslucentBackground);
    // An X11 window takes its visual, with or without alpha, when it is made: one made already
    // is made again, shown as it was.
    if (QGuiApplication::platformName() != "xcb" || !testAttribute(Qt::WA_WState_Created)) return;
    bool shown = isVisible();
    if (shown) hide();
    destroy(true, true);
    if (shown) show();
}

void WidgetPeer::SetShape(const std::vector<TRect>* shape) {
    ControlWidget* w = FWidget.data();
    if (!w) return;
    w->Shaped = shape != nullptr;
    w->Shape = QRegion();
    if (shape)
        for (const TRect& r : *shape) w->Shape += QRect(r.Left, r.Top, r.Width(), r.Height());
    ClipToParent(w);
}

void WidgetPeer::SetInputTransparent(bool transparent) {
    ControlWidget* w = FWidget.data();
    if (!w) return;
    // A child window passes the mouse to what lies beneath it in the program; a top-level window
    // asks the window system to, so another program's window gets it.
    w->setAttribute(Qt::WA_TransparentForMouseEvents, transparent);
    if (FInputTransparent == transparent) return;
    FInputTransparent = transparent;
    ApplyStyles();
}

void WidgetPeer::SetOpacity(BYTE alpha) {
    if (FTopLevel && FWidget) FWidget->setWindowOpacity(alpha / 255.0);
}

void WidgetPeer::SetLayeredImage(const TBitmap* image) {
    ControlWidget* w = FWidget.data();
    if (!w || !FTopLevel) return;
    if (image) {
        // The library's picture holds premultiplied bytes in a 32-bit bitmap.
        QImage picture = ImageOf(*image).copy();
        picture.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
        w->MakeTranslucent();
        w->Layered = std::move(picture);
    } else {
        w->Layered = QImage();
    }
    w->update();
}

}  // namespace qtb
