// The layered-window wrappers on a desktop without translucency (the fake backend): "user32"
// exports no layered-window function, and the wrappers answer true without a call, which is what
// a component gets there.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/Modules.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/ShownWindows.h"
#include "render/VarAvir.h"

namespace {

TEST(LayeredWindows, WithoutTranslucencyTheWrappersAnswerTrueWithoutACall) {
    ui::test::AppScope scope;
    HMODULE user32 = GetModuleHandle(u"user32");
    ASSERT_NE(user32, HMODULE{});
    EXPECT_EQ(GetProcAddress(user32, "UpdateLayeredWindow"), nullptr);
    EXPECT_EQ(GetProcAddress(user32, "SetLayeredWindowAttributes"), nullptr);
    auto* form = new TForm(nullptr);
    HWND h = form->Handle();
    SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | WS_EX_LAYERED);
    EXPECT_TRUE(DynSetLayeredWindowAttributes(h, 0, 128, LWA_ALPHA));
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 128, AC_SRC_ALPHA};
    TPoint to(60, 70), origin;
    TSize size(10, 10);
    EXPECT_TRUE(DynUpdateLayeredWindow(h, nullptr, &to, &size, nullptr, &origin, 0, &blend, ULW_ALPHA));
    // Nothing was called: the window shows opaque where it was.
    EXPECT_EQ(ui::test::ShownOpacity(h), 255);
    EXPECT_NE(form->BoundsRect().TopLeft(), to);
    form->Free();
}

}  // namespace
