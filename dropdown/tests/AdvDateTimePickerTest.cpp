// The styled date-time picker: AutoTab moving the caret as typed digits complete a field, the
// metro look's switch and the drop button's hover.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dropdown/AdvDateTimePicker.h"
#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/SystemInfo.h"
#include "platform/win/Window.h"

namespace {

using dropdown_test::DropDownTest;

class Picker : public TCustomDateTimePicker {
public:
    using TCustomDateTimePicker::TCustomDateTimePicker;
    using TCustomDateTimePicker::MouseMove;
    int shifts = 0;

protected:
    void ShiftFocus() override {
        ++shifts;
        TCustomDateTimePicker::ShiftFocus();
    }
};

class DateTimePickerTest : public DropDownTest {
protected:
    Picker* p = nullptr;
    void SetUp() override {
        DropDownTest::SetUp();
        p = Make<Picker>(10, 10);
        p->SetBounds(10, 10, 120, 21);
        p->SetKind(dtkTime);
        p->SetFormat(u"HH:mm:ss");
        p->SetTime(EncodeTime(5, 6, 7, 0));
        p->SetFocus();
        ui::test::Pump();
    }
    void Type(char16_t ch) {
        p->Perform(WM_CHAR, ch, 0);
        ui::test::Pump();
    }
};

TEST_F(DateTimePickerTest, AutoTabMovesOnWhenADigitCompletesAField) {
    ASSERT_EQ(p->CurrentField(), 0);
    // Off: the native control's rule alone, the caret stays after a completed hour.
    Type(u'1');
    Type(u'2');
    EXPECT_EQ(p->shifts, 0);
    EXPECT_EQ(p->CurrentField(), 0);
    EXPECT_EQ(p->Time(), EncodeTime(12, 6, 7, 0));

    p->SetAutoTab(true);
    // A first digit a second may still complete leaves value and caret alone.
    Type(u'1');
    EXPECT_EQ(p->shifts, 1);
    EXPECT_EQ(p->CurrentField(), 0);
    Type(u'5');
    EXPECT_EQ(p->shifts, 2);
    EXPECT_EQ(p->Time(), EncodeTime(15, 6, 7, 0));
    // The minutes are current.
    EXPECT_EQ(p->CurrentField(), 2);
}

TEST_F(DateTimePickerTest, MetroLookAndTheDropButtonsHover) {
    p->SetMetroStyle(true);
    EXPECT_FALSE(p->IsMetroLook());
    EXPECT_EQ(p->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 2);
    EXPECT_EQ(p->ButtonWidth(), 19);
    const int w = p->Width();
    struct Case {
        int x;
        bool hover;
    } cases[] = {{w - 19, false}, {w - 18, true}, {w - 1, true}, {w, false}, {5, false}};
    for (const Case& c : cases) {
        p->MouseMove({}, c.x, 5);
        EXPECT_EQ(p->ButtonHover(), c.hover) << c.x;
    }
}

// The flat look's outline with Ctl3D off, over the system's answers (the picker made after them).
TEST_F(DropDownTest, FlatOutlineOverTheVersionAnswers) {
    struct Case {
        TBorderStyle style;
        WORD comctl;
        bool themeActive;
        TColor outline;
        bool second;
    } cases[] = {
        {bsNone, 6, true, static_cast<TColor>(0x00C000), false},
        {bsSingle, 6, true, static_cast<TColor>(0xB99D7F), false},
        {bsSingle, 5, true, static_cast<TColor>(0x0000FF), false},
        {bsSingle, 6, false, static_cast<TColor>(0xB99D7F), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(&c - cases));
        ui::sys::Answers().ComCtlMajor = c.comctl;
        ui::sys::Answers().ThemeActive = c.themeActive;
        auto* p = Make<Picker>(10, 10);
        p->SetBounds(10, 10, 120, 21);
        p->SetBorderStyle(c.style);
        p->SetBorderColor(static_cast<TColor>(0x0000FF));
        p->Invalidate();
        ui::test::Pump();
        EXPECT_FALSE(p->Ctl3D());
        EXPECT_EQ(WindowPixel(p, 0, 0), c.outline);
        EXPECT_EQ(WindowPixel(p, 119, 20), c.outline);
        EXPECT_EQ(WindowPixel(p, 119, 10), c.outline);
        if (c.second) {
            EXPECT_EQ(WindowPixel(p, 118, 19), c.outline);
        } else {
            EXPECT_NE(WindowPixel(p, 118, 19), c.outline);
        }
        delete p;
        ui::sys::ResetAnswers();
    }
}

class AdvPicker : public TAdvDateTimePicker {
public:
    using TAdvDateTimePicker::TAdvDateTimePicker;
    using TAdvDateTimePicker::MouseMove;
};

TEST_F(DropDownTest, DateAndTimeParts) {
    auto* p = Make<AdvPicker>(10, 10);
    p->SetBounds(10, 10, 200, 21);
    ASSERT_EQ(p->Kind(), dkDateTime);
    ASSERT_NE(p->TimePart(), nullptr);
    p->SetDateTime(EncodeDateTime(2020, 5, 17, 13, 45, 30, 250));
    EXPECT_EQ(p->Date(), EncodeDate(2020, 5, 17));
    EXPECT_EQ(p->TimePart()->Time() - std::floor(p->TimePart()->Time()), EncodeTime(13, 45, 30, 0));
    EXPECT_EQ(p->DateTime(), EncodeDateTime(2020, 5, 17, 13, 45, 30, 0));
    p->SetDate(EncodeDateTime(2021, 1, 2, 8, 0, 0, 0));
    EXPECT_EQ(p->DateTime(), EncodeDateTime(2021, 1, 2, 13, 45, 30, 0));
    std::vector<std::string> events;
    p->OnChange = [&](TObject* s) { events.push_back(s == p ? "change" : "?"); };
    p->OnTimeChange = [&](TObject* s) { events.push_back(s == p ? "time" : "?"); };
    p->TimePart()->SetTime(EncodeTime(9, 0, 0, 0));
    ui::test::Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"change", "time"}));
    EXPECT_EQ(p->Version(), u"1.2.0.0");
    p->SetVersion(u"9.9.9.9");
    EXPECT_EQ(p->Version(), u"1.2.0.0");
    p->SetKind(dkDate);
    EXPECT_EQ(p->TimePart(), nullptr);
    p->SetKind(dkDateTime);
    EXPECT_NE(p->TimePart(), nullptr);
}

// The time part's bounds with a = its text's width + 31, over the system's answers.
TEST_F(DropDownTest, TimePartLayout) {
    auto* p = Make<AdvPicker>(10, 10);
    p->SetBounds(10, 10, 200, 24);
    p->SetTimeFormat(u"HH:mm:ss");
    p->Canvas()->Font()->Assign(p->Font());
    const int a = p->Canvas()->TextWidth(p->TimePart()->Text()) + 31;
    ASSERT_GT(a, 31);
    struct Case {
        WORD comctl;
        bool themeLibrary, themeActive, metro;
        TRect bounds;
    } cases[] = {
        {5, true, true, false, TRect(200 - a - 23, -2, 200 - 23, 22)},
        {6, false, true, false, TRect(200 - a - 23, -2, 200 - 23, 22)},
        {6, true, false, false, TRect(200 - a - 21, 2, 200 - 21, 22)},
        {6, true, true, true, TRect(200 - a - 21, 1, 200 - 21, 23)},
        {6, true, true, false, TRect(200 - a - 34, 1, 200 - 34, 23)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(&c - cases));
        ui::sys::Answers().ComCtlMajor = c.comctl;
        ui::sys::Answers().ThemeLibrary = c.themeLibrary;
        ui::sys::Answers().ThemeActive = c.themeActive;
        p->SetMetroStyle(c.metro);
        p->LayoutTimePicker();
        EXPECT_EQ(p->TimePart()->BoundsRect(), c.bounds);
        ui::sys::ResetAnswers();
    }
}

TEST_F(DropDownTest, TheCheckBoxCouplesTheTimePart) {
    auto* p = Make<AdvPicker>(10, 10);
    p->SetBounds(10, 10, 220, 21);
    p->SetShowCheckbox(true);
    p->SetChecked(false);
    EXPECT_FALSE(p->TimePart()->Enabled());
    p->SetChecked(true);
    EXPECT_TRUE(p->TimePart()->Enabled());
    p->Perform(DTM_SETSYSTEMTIME, GDT_NONE, 0);
    EXPECT_FALSE(p->Checked());
    EXPECT_FALSE(p->TimePart()->Enabled());
    // A program write enables it as Checked says; its own change notice does not undo that.
    p->SetChecked(true);
    p->SetDateTime(EncodeDateTime(2020, 5, 17, 10, 0, 0, 0));
    EXPECT_TRUE(p->TimePart()->Enabled());
    p->SetChecked(false);
    EXPECT_FALSE(p->TimePart()->Enabled());
    p->SetEnabled(false);
    EXPECT_FALSE(p->TimePart()->Enabled());
}

TEST_F(DropDownTest, TheCaptionLabel) {
    using namespace advdatetimepicker;
    auto* p = Make<AdvPicker>(60, 60);
    p->SetBounds(60, 60, 150, 21);
    p->SetLabelCaption(u"Due");
    TLabel* l = p->PickerLabel();
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Parent(), form);
    struct Case {
        advdatetimepicker::TLabelPosition position;
        int left, top;
    } cases[] = {
        {lpTopRight, 210 - l->Width(), 60 - l->Height() - 4},
        {lpBottomLeft, 60, 60 + 21 + 4},
        {lpRightTop, 210 + 4, 60},
    };
    for (const Case& c : cases) {
        p->SetLabelPosition(c.position);
        EXPECT_EQ(l->Left(), c.left) << int(c.position);
        EXPECT_EQ(l->Top(), c.top) << int(c.position);
    }
    p->SetFocusLabel(true);
    p->Perform(WM_SETFOCUS, 0, 0);
    EXPECT_TRUE(l->Font()->Style().Contains(fsBold));
    p->Perform(WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(l->Font()->Style().Contains(fsBold));
    p->SetVisible(false);
    EXPECT_FALSE(l->Visible());
    p->SetVisible(true);
    EXPECT_TRUE(l->Visible());
    p->SetEnabled(false);
    EXPECT_FALSE(l->Enabled());
    p->SetLabelAlwaysEnabled(true);
    EXPECT_TRUE(l->Enabled());
    p->SetEnabled(true);
    p->SetEnabled(false);
    EXPECT_TRUE(l->Enabled());
}

TEST_F(DropDownTest, MetroDropButtonInItsColours) {
    auto* p = Make<AdvPicker>(10, 10);
    p->SetBounds(10, 10, 160, 22);
    p->SetKind(dkDate);
    p->SetMetroStyle(true);
    p->SetButtonColor(static_cast<TColor>(0x0000FF));
    p->SetButtonTextColor(static_cast<TColor>(0xFF0000));
    p->SetButtonBorderColor(static_cast<TColor>(0x00FF00));
    ui::test::Pump();
    const int left = p->ClientWidth() - p->ButtonWidth() + 3, top = 1;
    EXPECT_EQ(WindowPixel(p, left + 12, top + 3), static_cast<TColor>(0x0000FF));
    EXPECT_EQ(WindowPixel(p, left + 8, top + 8), static_cast<TColor>(0xFF0000));
    EXPECT_EQ(WindowPixel(p, left, top + 5), static_cast<TColor>(0x00FF00));
}

TEST_F(DropDownTest, DateAutoTab) {
    auto* p = Make<AdvPicker>(10, 10);
    p->SetBounds(10, 10, 220, 21);
    p->SetFormat(u"dd/MM/yyyy");
    p->SetDateTime(EncodeDateTime(2020, 5, 17, 10, 0, 0, 0));
    p->SetAutoTab(true);
    p->SetFocus();
    ui::test::Pump();
    auto type = [&](char16_t ch) {
        p->Perform(WM_CHAR, ch, 0);
        ui::test::Pump();
    };
    ASSERT_EQ(p->CurrentField(), 0);
    type(u'2');
    EXPECT_EQ(p->CurrentField(), 0);
    type(u'1');
    EXPECT_EQ(p->Date(), EncodeDate(2020, 5, 21));
    EXPECT_EQ(p->CurrentField(), 2);
    type(u'0');
    type(u'6');
    EXPECT_EQ(p->CurrentField(), 4);
    for (char16_t ch : String(u"2024")) type(ch);
    EXPECT_EQ(p->Date(), EncodeDate(2024, 6, 21));
    EXPECT_TRUE(p->TimePart()->Focused());
}

}  // namespace
