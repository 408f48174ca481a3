// A control freed from inside one of its own Qt events leaves its widget to a deferred delete;
// the layer's loop pumps events through the dispatcher rather than a running QEventLoop, so this
// checks that such deletes really happen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>

#include "platform/qt/QtWindow.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

class SelfFreeing : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void MouseUp(TMouseButton, TShiftState, int, int) override { Free(); }
};

TEST(DeferredDeleteTest, WidgetOfAControlFreedInItsOwnEventIsDeleted) {
    ui::test::AppScope scope;
    auto* form = new TForm(nullptr);
    auto* c = new SelfFreeing(form);
    c->SetParent(form);
    c->SetBounds(0, 0, 40, 40);
    form->Show();
    ui::test::Pump();
    auto* peer = dynamic_cast<qtb::WidgetPeer*>(c->Peer());
    ASSERT_NE(peer, nullptr);
    QPointer<QWidget> widget = peer->Widget();
    ASSERT_TRUE(widget);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);  // the control frees itself in here
    EXPECT_EQ(form->ControlCount(), 0);
    ASSERT_FALSE(widget.isNull());  // still inside its own event: deleted later, not now
    EXPECT_TRUE(ui::test::PumpUntil([&] { return widget.isNull(); }, 2000));
    form->Free();
}

}  // namespace
