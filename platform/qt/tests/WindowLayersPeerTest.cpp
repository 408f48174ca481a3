// What the Qt peer makes of shaped and layered windows: the shape as the widget's mask (with the
// parent's client area for a child window), input passing a top-level window by through the
// window system and a child window by Qt's delivery, the constant opacity as the window's, and a
// layered picture in a window with an alpha channel.
#include <gtest/gtest.h>

#include <QWidget>

#include "platform/qt/QtWindow.h"
#include "platform/ui/ExtCtrlsDrawn.h"
#include "platform/ui/LayeredWindows.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

QWidget* WidgetOf(TWinControl* c) {
    auto* peer = dynamic_cast<qtb::WidgetPeer*>(c->Peer());
    return peer ? peer->Widget() : nullptr;
}

// A pop-up window with the styles given.
class Popup : public TCustomControl {
public:
    Popup(TComponent* owner, DWORD exStyle) : TCustomControl(owner), FExStyle(exStyle) {}

protected:
    void CreateParams(TCreateParams& Params) override {
        TCustomControl::CreateParams(Params);
        Params.Style = WS_POPUP;
        Params.ExStyle = FExStyle;
    }

private:
    DWORD FExStyle;
};

class WindowLayersPeerTest : public ui::test::FormTest {};

TEST_F(WindowLayersPeerTest, TheShapeIsTheMaskAndInputPassesAsTheStyleSays) {
    form->Show();
    auto* popup = new Popup(form, 0);
    popup->SetBounds(40, 40, 20, 10);
    popup->SetParent(form);
    popup->Show();
    QWidget* top = WidgetOf(popup);
    ASSERT_NE(top, nullptr);
    // An owned frameless pop-up is a tool window, which window managers keep over the owner,
    // shown without the desktop activating it.
    EXPECT_EQ(top->windowType(), Qt::Tool);
    EXPECT_TRUE(top->testAttribute(Qt::WA_ShowWithoutActivating));
    ASSERT_EQ(SetWindowRgn(popup->Handle(), CreateRectRgn(0, 0, 10, 10), TRUE_), 1);
    EXPECT_EQ(top->mask(), QRegion(0, 0, 10, 10));
    SetWindowRgn(popup->Handle(), nullptr, TRUE_);
    EXPECT_TRUE(top->mask().isEmpty());

    // A child window's shape meets its parent's client area.
    auto* panel = new TPanel(form);
    panel->SetBounds(10, 10, 50, 40);
    panel->SetParent(form);
    QWidget* child = WidgetOf(panel);
    ASSERT_EQ(SetWindowRgn(panel->Handle(), CreateEllipticRgn(0, 0, 50, 40), TRUE_), 1);
    EXPECT_FALSE(child->mask().contains(QPoint(1, 1)));
    EXPECT_TRUE(child->mask().contains(QPoint(25, 20)));
    panel->SetBounds(300, 10, 50, 40);  // reaching past the form's client area on the right
    EXPECT_FALSE(child->mask().contains(QPoint(25, 20)));
    EXPECT_TRUE(child->mask().contains(QPoint(10, 20)));

    SetWindowLong(popup->Handle(), GWL_EXSTYLE, WS_EX_TRANSPARENT);
    EXPECT_TRUE(top->windowFlags() & Qt::WindowTransparentForInput);
    EXPECT_TRUE(top->windowFlags() & Qt::X11BypassWindowManagerHint);  // no frame to take the pointer
    EXPECT_TRUE(top->isVisible());
    SetWindowLong(panel->Handle(), GWL_EXSTYLE, WS_EX_TRANSPARENT);
    EXPECT_TRUE(child->testAttribute(Qt::WA_TransparentForMouseEvents));
    SetWindowLong(popup->Handle(), GWL_EXSTYLE, 0);
    EXPECT_FALSE(top->windowFlags() & Qt::WindowTransparentForInput);
    popup->Free();
}

TEST_F(WindowLayersPeerTest, OpacityAndAPictureReachTheWindow) {
    auto* popup = new Popup(form, WS_EX_LAYERED);
    popup->SetBounds(40, 40, 20, 10);
    popup->SetParent(form);
    form->Show();
    QWidget* top = WidgetOf(popup);
    ASSERT_EQ(SetLayeredWindowAttributes(popup->Handle(), 0, 51, LWA_ALPHA), TRUE_);
    EXPECT_NEAR(top->windowOpacity(), 0.2, 0.001);
    TBitmap picture(20, 10, pf32bit);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    TPoint at(40, 40), origin;
    TSize size(20, 10);
    ASSERT_EQ(UpdateLayeredWindow(popup->Handle(), nullptr, &at, &size, picture.Canvas()->Handle(), &origin, 0, &blend, ULW_ALPHA),
              TRUE_);
    EXPECT_TRUE(top->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_NEAR(top->windowOpacity(), 1.0, 0.001);
    // No longer layered: opaque again.
    SetLayeredWindowAttributes(popup->Handle(), 0, 128, LWA_ALPHA);
    SetWindowLong(popup->Handle(), GWL_EXSTYLE, 0);
    EXPECT_NEAR(top->windowOpacity(), 1.0, 0.001);
    popup->Free();
}

}  // namespace
