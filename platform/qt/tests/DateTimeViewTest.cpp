// The date-time picker on Qt: its view shows the control's text with the current field
// selected, and keys typed at the view reach the control's field rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/rtl/DateUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

class DateTimeViewTest : public ui::test::FormTest {
protected:
    TDateTimePicker* picker = nullptr;

    void SetUp() override {
        FormTest::SetUp();
        form->SetBounds(0, 0, 320, 260);
        picker = Add<TDateTimePicker>(10, 10);
        picker->SetWidth(150);
        picker->Font()->SetName(String("Noto Sans"));
        picker->Font()->SetSize(9);
        picker->SetFormat(String(u"HH:mm:ss"));
        picker->SetDateTime(EncodeDateTime(2024, 2, 29, 5, 7, 9, 0));
        form->Show();
        picker->SetFocus();
        ui::test::Pump();
    }
    ui::test::Picture Shot(TWinControl* control, const std::string& name) {
        auto path = (std::filesystem::temp_directory_path() / name).string();
        EXPECT_TRUE(ui::test::SaveToPng(control, path));
        ui::test::Picture picture;
        EXPECT_TRUE(ui::test::LoadPng(path, picture));
        return picture;
    }
    // The leftmost and rightmost columns holding a pixel of the colour, left of the button.
    static std::pair<int, int> Columns(const ui::test::Picture& p, TColor color, int right) {
        int32_t want = ColorToRGB(color) & 0xFFFFFF;
        int first = -1, last = -1;
        for (int y = 0; y < p.Height; ++y)
            for (int x = 0; x < std::min(right, p.Width); ++x)
                if ((p.At(x, y) & 0xFFFFFF) == want) {
                    if (first < 0 || x < first) first = x;
                    last = std::max(last, x);
                }
        return {first, last};
    }
};

TEST_F(DateTimeViewTest, TheViewShowsTheCurrentFieldSelectedAndKeysReachTheRules) {
    int buttonLeft = picker->Width() - picker->ButtonRect().Width() - 2;
    auto [hourFrom, hourTo] = Columns(Shot(picker, "rwb_dtp_hour.png"), clHighlight, buttonLeft);
    ASSERT_GE(hourFrom, 0) << "the current field is shown selected";
    ui::test::Key(picker, VK_RIGHT);
    ui::test::Pump();
    auto [minuteFrom, minuteTo] = Columns(Shot(picker, "rwb_dtp_minute.png"), clHighlight, buttonLeft);
    EXPECT_GT(minuteFrom, hourTo) << "the selection moved to the minutes";
    EXPECT_NEAR(minuteTo - minuteFrom, hourTo - hourFrom, 3);

    // Keys go to the view's widget and take the control's road: the same row as on the fake.
    ui::test::Key(picker, VK_LEFT);
    int changes = 0;
    picker->OnChange = [&](TObject*) { ++changes; };
    uint64_t filtered = ui::test::NativeFilterEvents();
    ui::test::TypeText(picker, String(u"1"));
    EXPECT_EQ(FormatDateTime(String(u"hh:nn:ss"), picker->DateTime()), String(u"05:07:09"));
    EXPECT_EQ(changes, 0);
    ui::test::TypeText(picker, String(u"2"));
    EXPECT_EQ(FormatDateTime(String(u"hh:nn:ss"), picker->DateTime()), String(u"12:07:09"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picker->FieldStart(), 0);
    EXPECT_GT(ui::test::NativeFilterEvents(), filtered) << "the keys arrived at the view's widget";
}

TEST_F(DateTimeViewTest, UncheckedAndDisabledShowGrey) {
    picker->SetShowCheckbox(true);
    ui::test::Pump();
    int buttonLeft = picker->Width() - picker->ButtonRect().Width() - 2;
    int textLeft = picker->TextLeft() + 4;
    auto checked = Columns(Shot(picker, "rwb_dtp_checked.png"), clWindowText, buttonLeft);
    EXPECT_GT(checked.second, textLeft) << "the fields in the font's colour";
    picker->SetChecked(false);
    ui::test::Pump();
    auto unchecked = Columns(Shot(picker, "rwb_dtp_unchecked.png"), clWindowText, buttonLeft);
    EXPECT_LT(unchecked.second, textLeft) << "no field in the font's colour, only the box's frame";
    picker->SetChecked(true);
    picker->SetEnabled(false);
    ui::test::Pump();
    auto disabled = Columns(Shot(picker, "rwb_dtp_disabled.png"), clWindowText, buttonLeft);
    EXPECT_LT(disabled.second, textLeft);
}

// Pictures for a person to look at: closed, open with its calendar, the up-down kind, unchecked,
// disabled.
TEST_F(DateTimeViewTest, Look) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the pictures";
    rtl::ScopedManualClock clock;
    picker->SetFormat(String());
    picker->SetDate(EncodeDate(2025, 12, 9));
    ui::test::Pump();
    Shot(picker, "rwb_dtp_closed.png");
    ui::test::Key(picker, VK_F4);
    ui::test::Pump();
    Shot(picker, "rwb_dtp_open_picker.png");
    Shot(picker->Calendar(), "rwb_dtp_open_calendar.png");
    // Week numbers and no today line; the pop-up takes the size at the next drop-down.
    picker->Calendar()->SetWeekNumbers(true);
    picker->Calendar()->SetShowToday(false);
    ui::test::Key(picker, VK_ESCAPE);
    ui::test::Key(picker, VK_F4);
    ui::test::Pump();
    Shot(picker->Calendar(), "rwb_dtp_calendar_weeks.png");
    ui::test::Key(picker, VK_ESCAPE);
    picker->SetKind(dtkTime);
    ui::test::Pump();
    Shot(picker, "rwb_dtp_updown.png");
    picker->SetKind(dtkDate);
    picker->SetShowCheckbox(true);
    picker->SetChecked(false);
    ui::test::Pump();
    Shot(picker, "rwb_dtp_unchecked_look.png");
    picker->SetChecked(true);
    picker->SetEnabled(false);
    ui::test::Pump();
    Shot(picker, "rwb_dtp_disabled_look.png");
}

// Shows a picker in a real window for a while, for a person (or xdotool) to try.
TEST_F(DateTimeViewTest, Interactive) {
    const char* seconds = std::getenv("RWB_TRY_DATETIME");
    if (!seconds) GTEST_SKIP() << "set RWB_TRY_DATETIME to the seconds to show it";
    form->SetCaption(String("date-time picker"));
    picker->SetFormat(String());
    picker->SetDate(EncodeDate(2024, 2, 28));
    auto* other = Add<TDateTimePicker>(10, 60);
    other->SetKind(dtkTime);
    other->SetShowCheckbox(true);
    int changes = 0;
    picker->OnChange = [&](TObject*) { ++changes; };
    ui::test::PumpUntil([] { return false; }, std::atoi(seconds) * 1000);
    std::printf("picker %s (%d changes), time %s checked %d\n", picker->Text().ToUtf8().c_str(), changes,
                other->Text().ToUtf8().c_str(), other->Checked() ? 1 : 0);
}

}  // namespace
