// The desktop's palette, font and style changes, as Qt tells them, reach every control once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QWidget>

#include <map>

#include "platform/qt/QtWindow.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

class Counter : public TCustomControl {
public:
    explicit Counter(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 30, 20); }
    std::map<UINT, int> Got;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == CM_SYSCOLORCHANGE || m.Msg == CM_SYSFONTCHANGED || m.Msg == WM_THEMECHANGED) ++Got[m.Msg];
        TCustomControl::Dispatch(m);
    }
};

class DesktopChangesTest : public ui::test::FormTest {};

TEST_F(DesktopChangesTest, QtChangeEventsBecomeNotices) {
    auto* control = Add<Counter>();
    form->Show();
    ui::test::Pump();

    // A real change of the application's font.
    QFont saved = QApplication::font();
    QFont bigger = saved;
    bigger.setPointSize(saved.pointSize() + 3);
    QApplication::setFont(bigger);
    QApplication::setFont(saved);
    ui::test::Pump();
    EXPECT_EQ(control->Got[CM_SYSFONTCHANGED], 2);

    ui::test::ChangeDesktop(ui::DesktopChange::Colors);
    EXPECT_EQ(control->Got[CM_SYSCOLORCHANGE], 1);

    // A theme change reaches every window; the program hears of it once.
    QWidget* window = static_cast<qtb::WidgetPeer*>(form->Peer())->Widget();
    QEvent theme(QEvent::ThemeChange);
    QCoreApplication::sendEvent(window, &theme);
    ui::test::ChangeDesktop(ui::DesktopChange::Style);
    ASSERT_TRUE(ui::test::PumpUntil([&] { return control->Got[WM_THEMECHANGED] > 0; }));
    ui::test::Pump();
    EXPECT_EQ(control->Got[WM_THEMECHANGED], 1);

    // A widget given a style of its own is no change of the desktop's.
    QEvent style(QEvent::StyleChange);
    QCoreApplication::sendEvent(window, &style);
    ui::test::Pump();
    EXPECT_EQ(control->Got[WM_THEMECHANGED], 1);
    EXPECT_EQ(control->Got[CM_SYSFONTCHANGED], 2);
}

}  // namespace
