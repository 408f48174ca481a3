// The native edit, memo and combo box as a user sees them: their frame is the window's, outside
// the native widget, and a component paints over it, over the widget and under it.
#include <gtest/gtest.h>

#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/tests/DrawnTestSupport.h"

namespace {

int32_t Rgb(TColor c) { return ColorToRGB(c); }

// Colours the whole window red through the window DC after the standard frame.
class RingedEdit : public TEdit {
public:
    using TEdit::TEdit;

protected:
    void WndProc(TMessage& m) override {
        TEdit::WndProc(m);
        if (m.Msg != WM_NCPAINT) return;
        HDC dc = GetWindowDC(Handle());
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        TRect whole(0, 0, Width(), Height());
        FillRect(dc, &whole, red);
        DeleteObject(red);
        ReleaseDC(Handle(), dc);
    }
};

class NativeFrameTest : public ui::test::FormTest {};

TEST_F(NativeFrameTest, TheFrameIsSunkenWithCtl3DFlatWithoutAndTheWidgetFillsTheClientArea) {
    auto* sunken = Add<TEdit>(10, 10);
    auto* flat = Add<TEdit>(10, 50);
    flat->SetCtl3D(false);
    auto* memo = Add<TMemo>(150, 10);
    auto* combo = Add<TComboBox>(150, 120);
    combo->SetCtl3D(false);
    for (TWinControl* c : {static_cast<TWinControl*>(sunken), static_cast<TWinControl*>(flat), static_cast<TWinControl*>(memo),
                           static_cast<TWinControl*>(combo)})
        c->SetTabStop(false);  // no focus look
    form->Show();
    ui::test::Picture pic = drawn_test::Snapshot(form, "native_frames");
    ASSERT_GT(pic.Width, 0);
    // Down the middle of the top edge: the sunken edge's two rings, then the white client area.
    for (auto [x, y] : {std::pair{70, 10}, std::pair{240, 10}}) {
        EXPECT_EQ(pic.At(x, y), Rgb(clBtnShadow));
        EXPECT_EQ(pic.At(x, y + 1), Rgb(cl3DDkShadow));
        EXPECT_EQ(pic.At(x, y + 2), 0xFFFFFF);
    }
    EXPECT_EQ(pic.At(70, 10 + 20), Rgb(clBtnHighlight));  // the bottom edge
    EXPECT_EQ(pic.At(70, 10 + 19), Rgb(cl3DLight));
    // One black pixel, then the client area.
    EXPECT_EQ(pic.At(70, 50), 0x000000);
    EXPECT_EQ(pic.At(70, 51), 0xFFFFFF);
    EXPECT_EQ(pic.At(150, 130), 0x000000);
    EXPECT_EQ(pic.At(10, 60), 0x000000);
    EXPECT_EQ(pic.At(11, 60), 0xFFFFFF);

    // Turned on again, the flat edit's frame is sunken.
    flat->SetCtl3D(true);
    pic = drawn_test::Snapshot(form, "native_frames_again");
    ASSERT_GT(pic.Width, 0);
    EXPECT_EQ(pic.At(70, 50), Rgb(clBtnShadow));
    EXPECT_EQ(pic.At(70, 52), 0xFFFFFF);
}

TEST_F(NativeFrameTest, AWindowDcDrawingInNcPaintColoursTheFrameRingOnly) {
    auto* edit = Add<RingedEdit>(10, 10);
    edit->SetBounds(10, 10, 120, 24);
    edit->SetTabStop(false);
    form->Show();
    ui::test::Picture pic = drawn_test::Snapshot(form, "native_ring");
    ASSERT_GT(pic.Width, 0);
    for (int x = 10; x < 130; ++x) {
        ASSERT_EQ(pic.At(x, 10), 0x0000FF) << x;
        ASSERT_EQ(pic.At(x, 11), 0x0000FF) << x;
        ASSERT_EQ(pic.At(x, 32), 0x0000FF) << x;
        ASSERT_EQ(pic.At(x, 33), 0x0000FF) << x;
    }
    // Inside the ring the native edit shows, whatever the window DC drew there.
    for (int y = 12; y < 32; ++y) {
        ASSERT_EQ(pic.At(10, y), 0x0000FF) << y;
        ASSERT_EQ(pic.At(11, y), 0x0000FF) << y;
        for (int x = 12; x < 128; ++x) ASSERT_NE(pic.At(x, y), 0x0000FF) << x << "," << y;
    }
}

}  // namespace
