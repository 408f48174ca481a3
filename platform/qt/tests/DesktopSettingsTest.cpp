// The layer's own system settings never change the desktop's.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/ui/SystemInfo.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

TEST(DesktopSettingsTest, MenuAnimationSwitchLeavesTheDesktopAlone) {
    ui::test::AppScope scope;
    bool before = QApplication::isEffectEnabled(Qt::UI_AnimateMenu);
    BOOL value = before ? FALSE_ : TRUE_;
    ASSERT_EQ(SystemParametersInfo(SPI_SETMENUANIMATION, 0, value ? reinterpret_cast<void*>(1) : nullptr,
                                   SPIF_SENDCHANGE),
              TRUE_);
    BOOL read = -1;
    ASSERT_EQ(SystemParametersInfo(SPI_GETMENUANIMATION, 0, &read, 0), TRUE_);
    EXPECT_EQ(read, value);
    EXPECT_EQ(QApplication::isEffectEnabled(Qt::UI_AnimateMenu), before);
    ui::sys::ResetAnswers();
}

TEST(DesktopSettingsTest, WheelLinesFollowTheDesktop) {
    ui::test::AppScope scope;
    int saved = QApplication::wheelScrollLines();
    QApplication::setWheelScrollLines(5);
    UINT lines = 0;
    ASSERT_EQ(SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0), TRUE_);
    EXPECT_EQ(lines, 5u);
    QApplication::setWheelScrollLines(saved);
}

}  // namespace
