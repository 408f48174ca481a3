// WM_SETREDRAW on the Qt backend: while it is off, what the screen shows of the window, its
// native view included, stays as it was; switched on again, the changes show.
#include <gtest/gtest.h>

#include <QBackingStore>
#include <QImage>
#include <QWidget>

#include "platform/qt/QtWindow.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/win/Window.h"

namespace {

class RedrawTest : public ui::test::FormTest {
protected:
    // What the screen shows of the control: the part of its form's backing store it covers.
    QImage Shown(TWinControl* control) {
        QWidget* top = static_cast<qtb::WidgetPeer*>(form->Peer())->Widget();
        QWidget* widget = static_cast<qtb::WidgetPeer*>(control->Peer())->Widget();
        auto* screen = top->backingStore() ? dynamic_cast<QImage*>(top->backingStore()->paintDevice()) : nullptr;
        if (!screen) return QImage();
        QPoint at = widget->mapTo(top, QPoint(0, 0)) * screen->devicePixelRatio();
        return screen->copy(QRect(at, widget->size() * screen->devicePixelRatio()));
    }
};

TEST_F(RedrawTest, AnEditsTextWrittenWhileRedrawIsOffShowsOnItsViewOnceItIsOn) {
    auto* edit = Add<TEdit>(10, 10);
    edit->SetBounds(10, 10, 150, 24);
    form->Show();
    ui::test::Pump();
    QImage before = Shown(edit);
    if (before.isNull()) GTEST_SKIP() << "the platform shows no backing store";

    SendMessage(edit->Handle(), WM_SETREDRAW, FALSE_, 0);
    edit->SetText(String(u"WWWWWWWW"));
    edit->Invalidate();
    ui::test::Pump();
    EXPECT_EQ(Shown(edit), before);

    SendMessage(edit->Handle(), WM_SETREDRAW, TRUE_, 0);
    edit->Invalidate();
    ui::test::Pump();
    EXPECT_NE(Shown(edit), before);
}

}  // namespace
