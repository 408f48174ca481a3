#include <gtest/gtest.h>

#include "platform/ui/Cursors.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

// A 16 x 16 cursor file with its hot spot at (3, 4).
std::vector<uint8_t> CursorBytes() {
    TIcon icon;
    icon.Bitmap()->SetSize(16, 16);
    std::vector<uint8_t> bytes = icon.SaveToBytes();
    bytes[2] = 2;  // type: cursor
    bytes[10] = 3;
    bytes[11] = 0;
    bytes[12] = 4;
    bytes[13] = 0;
    return bytes;
}

}  // namespace

TEST(Cursors, OwnCursorsLoadFromResourcesWithTheirHotSpot) {
    ui::test::AppScope scope;
    std::vector<uint8_t> bytes = CursorBytes();
    RegisterResource(String("TEST_CUR_1"), bytes.data(), bytes.size());
    HCURSOR c = LoadCursor(HInstance, String("test_cur_1"));
    ASSERT_NE(c, nullptr);
    ui::CursorInfo info;
    ASSERT_TRUE(ui::GetCursorInfo(c, info));
    ASSERT_NE(info.Image, nullptr);
    EXPECT_EQ(info.Image->Width(), 16);
    EXPECT_EQ(info.HotSpot, Point(3, 4));

    // Slot 1 of the screen, used by a control.
    Screen->SetCursors(1, c);
    auto* form = new TForm(nullptr);
    form->Show();
    form->SetCursor(1);
    EXPECT_EQ(form->Cursor(), 1);
    form->Free();
    Screen->SetCursors(1, nullptr);
    EXPECT_TRUE(DestroyCursor(c));
    EXPECT_FALSE(ui::GetCursorInfo(c, info));
}

TEST(Cursors, BuiltInAndMissingCursors) {
    HCURSOR wait = LoadCursor(0, IDC_WAIT);
    ui::CursorInfo info;
    ASSERT_TRUE(ui::GetCursorInfo(wait, info));
    EXPECT_EQ(info.Shape, crHourGlass);
    EXPECT_EQ(info.Image, nullptr);
    EXPECT_EQ(LoadCursor(0, 12345u), nullptr);
    EXPECT_EQ(LoadCursor(HInstance, String("NO_SUCH_CURSOR")), nullptr);
    EXPECT_EQ(LoadCursorFromFile(String("/nonexistent/x.cur")), nullptr);
    std::vector<uint8_t> junk{0, 0, 2, 0, 1, 0, 1, 2, 3};
    EXPECT_EQ(ui::CreateCursorFromBytes(junk), nullptr);
    DestroyCursor(wait);
}
