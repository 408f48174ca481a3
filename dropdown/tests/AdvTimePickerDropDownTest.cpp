// The time-picker drop-down: its new state, Up and Down over the fields, ShowSeconds and Time,
// typed text read back, the pop-up's clock and time picker, and the component style's clock.
#include <gtest/gtest.h>

#include <cmath>

#include "dropdown/AdvTimePickerDropDown.h"
#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/DateUtils.h"
#include "platform/win/Window.h"

namespace {

using dropdown_test::DropDownTest;

class TimeDrop : public TAdvTimePickerDropDown {
public:
    using TAdvTimePickerDropDown::TAdvTimePickerDropDown;
    using TAdvTimePickerDropDown::ClosePopup;
    using TAdvTimePickerDropDown::ControlKeyPress;
    using TAdvTimePickerDropDown::HandleChange;
    using TAdvTimePickerDropDown::HandleKeyDown;
    using TAdvTimePickerDropDown::PopupKeyDown;
    using TAdvTimePickerDropDown::SetEditorEnabled;
    using TAdvTimePickerDropDown::SetPlainText;
    // A text typed into the edit: stored, then the change handled as the edit's would be.
    void Type(const String& text) {
        SetPlainText(text);
        HandleChange();
    }
};

class TimePickerTest : public DropDownTest {
protected:
    TimeDrop* d = nullptr;
    int changes = 0;

    void SetUp() override {
        DropDownTest::SetUp();
        d = Make<TimeDrop>(20, 20);
        d->OnTimeChange = [this](TObject*) { ++changes; };
    }
    void TearDown() override {
        win::ClearKeyState();
        DropDownTest::TearDown();
    }
    static TDateTime T(int h, int m, int s) { return EncodeTime(h, m, s, 0); }
    void Key(WORD key, int caret, TShiftState shift = {}) {
        d->SetSelStart(caret);
        WORD k = key;
        d->HandleKeyDown(k, shift);
    }
};

TEST_F(TimePickerTest, ANewDropDown) {
    EXPECT_EQ(d->Text(), u"00:00:00");
    EXPECT_EQ(d->Time(), 0.0);
    EXPECT_EQ(d->EditMask(), u"!90:00:00;1; ");
    EXPECT_FALSE(d->EditorEnabled());
    EXPECT_FALSE(d->DropDownHeader()->Visible());
    EXPECT_FALSE(d->DropDownFooter()->Visible());
    EXPECT_TRUE(d->ShowWatchAMPM());
    EXPECT_TRUE(d->ShowWatchNumbers());
    EXPECT_TRUE(d->Animation());
    EXPECT_EQ(d->AnimationFactor(), 10);
    EXPECT_FALSE(d->WatchSettings()->Auto());
}

TEST_F(TimePickerTest, UpAndDownStepTheFieldUnderTheCaret) {
    struct Case {
        int caret;
        WORD key;
        TDateTime from;
        const char16_t* shown;
    } cases[] = {
        {0, VK_DOWN, T(12, 34, 56), u"13:34:56"}, {2, VK_DOWN, T(12, 34, 56), u"13:34:56"},
        {3, VK_DOWN, T(12, 34, 56), u"12:35:56"}, {5, VK_UP, T(12, 34, 56), u"12:33:56"},
        {6, VK_DOWN, T(12, 34, 56), u"12:34:57"}, {8, VK_UP, T(12, 34, 56), u"12:34:55"},
        {1, VK_UP, T(0, 10, 10), u"23:10:10"},    {7, VK_DOWN, T(1, 2, 59), u"01:02:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caret);
        d->SetTime(c.from);
        changes = 0;
        Key(c.key, c.caret);
        EXPECT_EQ(d->Text(), String(c.shown));
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(d->SelStart(), c.caret);
    }
    d->SetTime(T(12, 34, 56));
    changes = 0;
    Key(VK_DOWN, 0, TShiftState{ssCtrl});
    Key(VK_DOWN, 0, TShiftState{ssAlt});
    win::SetKeyState(VK_MENU, true);
    Key(VK_DOWN, 0);
    win::SetKeyState(VK_MENU, false);
    EXPECT_EQ(d->Text(), u"12:34:56");
    EXPECT_EQ(changes, 0);
}

TEST_F(TimePickerTest, ShowSecondsAndTimeRewriteTheText) {
    d->SetTime(T(12, 34, 56));
    d->SetShowSeconds(false);
    EXPECT_EQ(d->Text(), u"12:34");
    EXPECT_EQ(d->EditMask(), u"!90:00;1; ");
    EXPECT_EQ(d->Time(), T(12, 34, 56));
    // Without seconds the caret past the minute's separator still steps the minute.
    Key(VK_DOWN, 4);
    EXPECT_EQ(d->Text(), u"12:35");
    d->SetShowSeconds(true);
    changes = 0;
    d->SetTime(0.5);
    EXPECT_EQ(d->Text(), u"12:00:00");
    EXPECT_EQ(changes, 0);
    Key(VK_DOWN, 0);
    EXPECT_EQ(d->Text(), u"13:00:00");
    EXPECT_EQ(changes, 1);
    // Parts out of range or unchanged change nothing.
    d->SetHourPart(24);
    d->SetMinutePart(60);
    d->SetSecondPart(-1);
    d->SetHourPart(13);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(d->Time(), T(13, 0, 0));
}

TEST_F(TimePickerTest, TypedTextIsReadBack) {
    d->SetEditorEnabled(true);
    struct Case {
        const char16_t* typed;
        TDateTime time;
        const char16_t* shown;
    } cases[] = {
        {u"07:30:00", T(7, 30, 0), u"07:30:00"},
        {u"07:0 :00", T(7, 0, 0), u"07:00:00"},
        {u"07:3 :05", T(7, 30, 5), u"07:3 :05"},
        // The time stays for these: no two leading digits, incomplete, out of range (the mask
        // reshapes some of them, so their text is not checked).
        {u"0x:30:00", T(1, 1, 1), nullptr},
        {u"07:30", T(1, 1, 1), nullptr},
        {u"07:30:00:00", T(1, 1, 1), nullptr},
        {u"25:00:00", T(1, 1, 1), u"25:00:00"},
        {u"12:61:00", T(1, 1, 1), u"12:61:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(String(c.typed).ToUtf8());
        d->SetTime(T(1, 1, 1));
        changes = 0;
        EXPECT_NO_THROW(d->Type(c.typed));
        EXPECT_EQ(d->Time(), c.time);
        if (c.shown) {
            EXPECT_EQ(d->Text(), String(c.shown));
        }
        EXPECT_EQ(changes, 0);
    }
}

TEST_F(TimePickerTest, ThePopupsClock) {
    d->SetAnimation(false);
    d->SetTime(T(9, 15, 0));
    d->ShowDropDown();
    ui::test::Pump();
    TAdvWatch* w = d->Watch();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Time(), T(9, 15, 0));
    EXPECT_EQ(d->Panel()->Height(), 170);
    EXPECT_EQ(d->TimePicker(), nullptr);
    // The navigation keys stop before the edit; Page Up and Down move the clock's hour.
    WORD k = VK_NEXT;
    d->PopupKeyDown(d, k, {});
    ui::test::Pump();
    // The clock's change writes Time while open.
    EXPECT_NE(w->Time(), T(9, 15, 0));
    EXPECT_EQ(d->Time(), w->Time());
    w->SetTime(T(10, 15, 0));
    if (w->OnChange) w->OnChange(w);
    EXPECT_EQ(d->Time(), T(10, 15, 0));
    EXPECT_EQ(d->Text(), u"10:15:00");
    // A cancelled close puts Time back on the clock, an accepted one takes the clock's time.
    w->SetTime(T(11, 0, 0));
    d->ClosePopup(true);
    EXPECT_EQ(w->Time(), d->Time());
    d->ShowDropDown();
    w->SetTime(T(11, 0, 0));
    d->ClosePopup(false);
    EXPECT_EQ(d->Time(), T(11, 0, 0));
    // Appearance and settings are copied at every opening; with Auto, Time is not.
    d->WatchAppearance()->SetBorderColor(static_cast<TColor>(0x123456));
    d->WatchSettings()->SetAuto(true);
    w->SetTime(T(3, 0, 0));
    d->ShowDropDown();
    EXPECT_EQ(w->Appearance()->BorderColor(), static_cast<TColor>(0x123456));
    EXPECT_TRUE(w->Settings()->Auto());
    EXPECT_NE(w->Time(), d->Time());
    d->ClosePopup(true);
}

TEST_F(TimePickerTest, TheTimePickerUnderTheClock) {
    d->SetShowTimePicker(true);
    d->SetShowSeconds(false);
    d->SetTime(T(8, 20, 0));
    d->ShowDropDown();
    ui::test::Pump();
    TDateTimePicker* p = d->TimePicker();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Kind(), dtkTime);
    EXPECT_EQ(p->Format(), u"HH:mm");
    EXPECT_EQ(d->Panel()->Height(), 170 + p->Height());
    // Its change moves the clock, not Time.
    p->SetTime(T(9, 45, 0));
    if (p->OnChange) p->OnChange(p);
    EXPECT_EQ(d->Watch()->Time(), T(9, 45, 0));
    EXPECT_EQ(d->Time(), T(8, 20, 0));
    // A clock change sets it and fires OnTimeChange.
    changes = 0;
    d->Watch()->SetTime(T(14, 5, 0));
    d->Watch()->OnChange(d->Watch());
    EXPECT_EQ(p->Time() - std::floor(p->Time()), T(14, 5, 0));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(d->Time(), T(14, 5, 0));
    d->ClosePopup(true);
}

TEST_F(TimePickerTest, TheComponentStyleColoursTheClock) {
    TWatchAppearance expected;
    advwatch::ApplyComponentStyle(&expected, tsOffice2010Black);
    d->SetComponentStyle(tsOffice2010Black);
    EXPECT_EQ(d->WatchAppearance()->BorderColor(), expected.BorderColor());
    EXPECT_EQ(d->WatchAppearance()->BackgroundColor(), expected.BackgroundColor());
}

}  // namespace
