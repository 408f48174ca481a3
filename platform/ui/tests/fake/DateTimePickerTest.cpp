// The date-time picker's rules on the fake backend (no view): fields, keys, check box,
// messages, notifications through the parent, and the calendar it drops down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/DateUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/ui/WinUser.h"
#include "platform/win/Window.h"

namespace {

// A parent that writes down every WM_NOTIFY it gets (and may keep them from the picker).
class NotifyHost : public TCustomControl {
public:
    explicit NotifyHost(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 300, 200); }
    std::vector<std::string>* Log = nullptr;
    std::vector<UINT> Codes;
    std::vector<DWORD> Flags;
    HWND LastFrom = nullptr;
    bool Swallow = false;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_NOTIFY) {
            const auto* h = reinterpret_cast<const NMHDR*>(m.LParam);
            Codes.push_back(h->code);
            LastFrom = h->hwndFrom;
            if (h->code == DTN_DATETIMECHANGE) Flags.push_back(reinterpret_cast<const NMDATETIMECHANGE*>(h)->dwFlags);
            if (Log) Log->push_back("parent " + std::to_string(static_cast<int>(h->code)));
            if (Swallow) return;
        }
        TCustomControl::Dispatch(m);
    }
};

class DateTimePickerTest : public ui::test::FormTest {
protected:
    NotifyHost* host = nullptr;
    TDateTimePicker* picker = nullptr;
    int changes = 0;

    void SetUp() override {
        FormTest::SetUp();
        host = Add<NotifyHost>(0, 0);
        picker = NewComponent<TDateTimePicker>(form);
        picker->SetBounds(10, 10, 160, 21);
        picker->SetParent(host);
        picker->OnChange = [this](TObject*) { ++changes; };
        form->Show();
        picker->SetFocus();
    }
    int Notes(UINT code) const { return static_cast<int>(std::count(host->Codes.begin(), host->Codes.end(), code)); }
    std::string TimeText() const { return FormatDateTime(String(u"hh:nn:ss"), picker->DateTime()).ToUtf8(); }
    std::string DateText() const { return FormatDateTime(String(u"yyyy/mm/dd"), picker->DateTime()).ToUtf8(); }
    void Type(const char16_t* text) { ui::test::TypeText(picker, String(text)); }
};

TEST_F(DateTimePickerTest, TimeFieldsCompleteOnlyWhenTypedInFull) {
    picker->SetFormat(String(u"HH:mm:ss"));
    picker->SetDateTime(EncodeDateTime(2024, 2, 29, 5, 7, 9, 0));
    host->Codes.clear();
    changes = 0;
    struct Step {
        const char* what;
        const char16_t* typed;  // or nullptr: the key
        WORD key;
        const char* value;
        int notes;  // DTN_DATETIMECHANGE and OnChange, each
        int fieldStart;
    } steps[] = {
        {"1 waits for a second digit", u"1", 0, "05:07:09", 0, 0},
        {"2 completes 12", u"2", 0, "12:07:09", 1, 0},
        {"7 alone completes 07", u"7", 0, "07:07:09", 1, 0},
        {"Right moves to the minutes", nullptr, VK_RIGHT, "07:07:09", 0, 3},
        {"59 in the minutes", u"59", 0, "07:59:09", 1, 3},
        {"Up wraps without carrying", nullptr, VK_UP, "07:00:09", 1, 3},
        {"Right to the seconds", nullptr, VK_RIGHT, "07:00:09", 0, 6},
        {"Right on the last field stays", nullptr, VK_RIGHT, "07:00:09", 0, 6},
        {"End gives the last value", nullptr, VK_END, "07:00:59", 1, 6},
        {"Home the first", nullptr, VK_HOME, "07:00:00", 1, 6},
        {"6 in the seconds completes at once", u"6", 0, "07:00:06", 1, 6},
    };
    for (const Step& s : steps) {
        int notesBefore = Notes(DTN_DATETIMECHANGE), changesBefore = changes;
        if (s.typed) Type(s.typed);
        else ui::test::Key(picker, s.key);
        EXPECT_EQ(TimeText(), s.value) << s.what;
        EXPECT_EQ(Notes(DTN_DATETIMECHANGE) - notesBefore, s.notes) << s.what;
        EXPECT_EQ(changes - changesBefore, s.notes) << s.what;
        EXPECT_EQ(picker->FieldStart(), s.fieldStart) << s.what;
    }
    // A pending digit shows as typed and completes when the field is left.
    ui::test::Key(picker, VK_LEFT);
    Type(u"4");
    EXPECT_EQ(picker->Text(), String(u"07:4:06"));
    EXPECT_EQ(TimeText(), "07:00:06");
    ui::test::Key(picker, VK_LEFT);
    EXPECT_EQ(TimeText(), "07:04:06");
    EXPECT_EQ(picker->FieldStart(), 0);
}

TEST_F(DateTimePickerTest, DateFieldsStayWithinTheirMonthAndTheRange) {
    picker->SetFormat(String(u"yyyy/MM/dd"));
    picker->SetDate(EncodeDate(2024, 2, 29));
    EXPECT_EQ(picker->Text(), String(u"2024/02/29"));
    ui::test::Key(picker, VK_RIGHT);
    ui::test::Key(picker, VK_RIGHT);
    ui::test::Key(picker, VK_UP);
    EXPECT_EQ(DateText(), "2024/02/01");
    picker->SetDate(EncodeDate(2024, 3, 31));
    ui::test::Key(picker, VK_LEFT);
    ui::test::Key(picker, VK_UP);
    EXPECT_EQ(DateText(), "2024/04/30");

    int before = Notes(DTN_DATETIMECHANGE);
    Type(u"5");
    EXPECT_EQ(DateText(), "2024/05/30") << "5 completes May at once";
    EXPECT_EQ(Notes(DTN_DATETIMECHANGE), before + 1);
    Type(u"1");
    EXPECT_EQ(DateText(), "2024/05/30") << "1 waits";
    EXPECT_EQ(Notes(DTN_DATETIMECHANGE), before + 1);
    Type(u"2");
    EXPECT_EQ(DateText(), "2024/12/30");

    picker->SetDate(EncodeDate(2021, 2, 10));
    ui::test::Key(picker, VK_RIGHT);
    Type(u"31");
    EXPECT_EQ(DateText(), "2021/02/28");

    ui::test::Key(picker, VK_HOME);  // to the first day, then to the year
    ui::test::Key(picker, VK_LEFT);
    ui::test::Key(picker, VK_LEFT);
    before = Notes(DTN_DATETIMECHANGE);
    Type(u"202");
    EXPECT_EQ(DateText(), "2021/02/01");
    EXPECT_EQ(Notes(DTN_DATETIMECHANGE), before);
    Type(u"3");
    EXPECT_EQ(DateText(), "2023/02/01");

    picker->SetMaxDate(EncodeDate(2024, 3, 15));
    picker->SetDate(EncodeDate(2024, 3, 15));
    ui::test::Key(picker, VK_RIGHT);
    ui::test::Key(picker, VK_RIGHT);
    before = Notes(DTN_DATETIMECHANGE);
    ui::test::Key(picker, VK_UP);
    EXPECT_EQ(DateText(), "2024/03/15") << "stepping past MaxDate keeps MaxDate";
    EXPECT_EQ(Notes(DTN_DATETIMECHANGE), before);
    ui::test::Key(picker, VK_LEFT);
    ui::test::Key(picker, VK_LEFT);
    Type(u"2030");
    EXPECT_EQ(DateText(), "2024/03/15") << "a typed year stays within the range";
}

TEST_F(DateTimePickerTest, TheCheckBoxTakesTheValueAwayAndBack) {
    picker->SetShowCheckbox(true);
    picker->SetDate(EncodeDate(2024, 6, 1));
    host->Codes.clear();
    host->Flags.clear();
    changes = 0;
    ui::test::Key(picker, VK_SPACE);
    EXPECT_FALSE(picker->Checked());
    ASSERT_EQ(host->Flags, std::vector<DWORD>{GDT_NONE});
    SYSTEMTIME st;
    EXPECT_EQ(picker->Perform(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), static_cast<LRESULT>(GDT_NONE));
    ui::test::Key(picker, VK_SPACE);
    EXPECT_TRUE(picker->Checked());
    EXPECT_EQ(host->Flags.back(), GDT_VALID);
    EXPECT_EQ(picker->Perform(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), static_cast<LRESULT>(GDT_VALID));
    EXPECT_EQ((std::vector<int>{st.wYear, st.wMonth, st.wDay}), (std::vector<int>{2024, 6, 1}));
    EXPECT_EQ(picker->Perform(DTM_SETSYSTEMTIME, GDT_NONE, 0), 1);
    EXPECT_FALSE(picker->Checked());
    EXPECT_EQ(host->Flags.back(), GDT_NONE);
    // A click on the box checks it again; the value is the one it had.
    TRect box = picker->CheckBoxRect();
    ui::test::Click(picker, box.Left + 3, box.Top + 3);
    EXPECT_TRUE(picker->Checked());
    EXPECT_EQ(host->Flags.back(), GDT_VALID);
    EXPECT_EQ(DateText(), "2024/06/01");
    EXPECT_EQ(changes, 4);
}

TEST_F(DateTimePickerTest, TheParentHearsFirstAndCanKeepTheNotification) {
    std::vector<std::string> log;
    host->Log = &log;
    picker->OnChange = [&](TObject*) { log.push_back("OnChange"); };
    picker->SetDate(EncodeDate(2024, 1, 2));
    EXPECT_EQ(log, (std::vector<std::string>{"parent -759", "OnChange"}));
    EXPECT_EQ(host->LastFrom, picker->Handle());
    log.clear();
    host->Swallow = true;
    picker->SetDate(EncodeDate(2024, 1, 3));
    EXPECT_EQ(log, (std::vector<std::string>{"parent -759"}));
    host->Swallow = false;
    // The same value again is no change; a handler detached around a write sees nothing.
    log.clear();
    picker->SetDate(EncodeDate(2024, 1, 3));
    EXPECT_TRUE(log.empty());
    int seen = 0;
    picker->OnChange = nullptr;
    picker->SetDate(EncodeDate(2024, 1, 4));
    picker->OnChange = [&](TObject*) { ++seen; };
    EXPECT_EQ(seen, 0);
    picker->SetTime(EncodeTime(10, 0, 0, 0));
    EXPECT_EQ(seen, 1);
}

TEST_F(DateTimePickerTest, KeyEventsSeeKeysFirstAndCanSwallowThem) {
    picker->SetFormat(String(u"HH:mm"));
    picker->SetTime(EncodeTime(5, 7, 0, 0));
    picker->OnKeyDown = [](TObject*, WORD& key, TShiftState) {
        if (key == VK_UP) key = 0;
    };
    picker->OnKeyPress = [](TObject*, char16_t& key) {
        if (key == u'9') key = 0;
    };
    ui::test::Key(picker, VK_UP);
    Type(u"9");
    EXPECT_EQ(TimeText(), "05:07:00");
    ui::test::Key(picker, VK_DOWN);
    EXPECT_EQ(TimeText(), "04:07:00");
}

TEST_F(DateTimePickerTest, TheCalendarDropsDownAndTakesADay) {
    std::vector<std::string> events;
    picker->OnDropDown = [&](TObject*) { events.push_back("OnDropDown"); };
    picker->OnCloseUp = [&](TObject*) { events.push_back("OnCloseUp"); };
    picker->SetDate(EncodeDate(2024, 2, 28));
    host->Codes.clear();
    ui::test::Key(picker, VK_F4);
    ASSERT_TRUE(picker->DroppedDown());
    EXPECT_EQ(host->Codes, std::vector<UINT>{DTN_DROPDOWN});
    EXPECT_EQ(events, std::vector<std::string>{"OnDropDown"});
    HWND calendar = reinterpret_cast<HWND>(picker->Perform(DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar, picker->Calendar()->Handle());
    EXPECT_TRUE(IsWindowVisible(calendar));

    // The size one month needs grows with week numbers and shrinks without today's line.
    TRect plain, weeks, noToday;
    SendMessage(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&plain));
    LONG style = GetWindowLong(calendar, GWL_STYLE);
    SetWindowLong(calendar, GWL_STYLE, style | static_cast<LONG>(MCS_WEEKNUMBERS));
    SendMessage(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&weeks));
    SetWindowLong(calendar, GWL_STYLE, style | static_cast<LONG>(MCS_NOTODAY));
    SendMessage(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&noToday));
    SetWindowLong(calendar, GWL_STYLE, style);
    EXPECT_GT(weeks.Width(), plain.Width());
    EXPECT_EQ(weeks.Height(), plain.Height());
    EXPECT_LT(noToday.Height(), plain.Height());

    ui::test::Key(picker, VK_RIGHT);
    EXPECT_EQ(DateText(), "2024/02/28") << "the calendar moves, the picker waits";
    ui::test::Key(picker, VK_RETURN);
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(DateText(), "2024/02/29");
    EXPECT_EQ(host->Codes, (std::vector<UINT>{DTN_DROPDOWN, DTN_DATETIMECHANGE, DTN_CLOSEUP}));
    EXPECT_EQ(picker->Perform(DTM_GETMONTHCAL, 0, 0), 0);

    // Alt+Down opens it again; PgDn moves a month; Escape closes without a change.
    ui::test::Key(picker, VK_DOWN, String(), TShiftState() << ssAlt);
    ASSERT_TRUE(picker->DroppedDown());
    ui::test::Key(picker, VK_NEXT);
    EXPECT_EQ(picker->Calendar()->Date(), EncodeDate(2024, 3, 29));
    ui::test::Key(picker, VK_ESCAPE);
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(DateText(), "2024/02/29");
    EXPECT_EQ(events, (std::vector<std::string>{"OnDropDown", "OnCloseUp", "OnDropDown", "OnCloseUp"}));
    EXPECT_EQ(form->ActiveControl(), picker) << "the picker kept the focus";
}

// The pop-up and its calendar go with the picker, also while dropped down; the capture goes too.
TEST_F(DateTimePickerTest, APickerFreedWhileDroppedDownTakesItsPopupAlong) {
    ui::test::Key(picker, VK_F4);
    ASSERT_TRUE(picker->DroppedDown());
    HWND calendar = picker->Calendar()->Handle();
    picker->Free();
    EXPECT_FALSE(IsWindow(calendar));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DateTimePickerTest, ClicksOnTheCalendarAndElsewhere) {
    picker->SetDate(EncodeDate(2024, 2, 10));
    picker->SetMinDate(EncodeDate(2024, 2, 5));
    picker->SetMaxDate(EncodeDate(2024, 2, 20));
    TRect button = picker->ButtonRect();
    ui::test::Click(picker, button.Left + 4, button.Top + 4);
    ASSERT_TRUE(picker->DroppedDown());
    TMonthCalendar* cal = picker->Calendar();
    // A day out of range is not taken; one within is, and closes the calendar.
    TRect late = cal->DayRect(EncodeDate(2024, 2, 25));
    ui::test::Click(cal, late.Left + 2, late.Top + 2);
    EXPECT_TRUE(picker->DroppedDown());
    TRect day = cal->DayRect(EncodeDate(2024, 2, 14));
    ui::test::Click(cal, day.Left + 2, day.Top + 2);
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(DateText(), "2024/02/14");
    // Keys in the calendar stop at the range too.
    ui::test::Key(picker, VK_F4);
    for (int i = 0; i < 10; ++i) ui::test::Key(picker, VK_RIGHT);
    ui::test::Key(picker, VK_RETURN);
    EXPECT_EQ(DateText(), "2024/02/20");
    // A click elsewhere closes it without a change.
    ui::test::Key(picker, VK_F4);
    ASSERT_TRUE(picker->DroppedDown());
    ui::test::Key(picker, VK_LEFT);
    ui::test::Click(host, 250, 150);
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(DateText(), "2024/02/20");
}

TEST_F(DateTimePickerTest, UpDownAndTheLocaleFormats) {
    picker->SetDateMode(dmUpDown);
    picker->SetFormat(String(u"yyyy/MM/dd"));
    picker->SetDate(EncodeDate(2024, 2, 29));
    ui::test::Key(picker, VK_F4);
    EXPECT_FALSE(picker->DroppedDown()) << "an up-down picker has no calendar";
    TRect arrows = picker->ButtonRect();
    ui::test::Click(picker, arrows.Left + 3, arrows.Top + 2);
    EXPECT_EQ(DateText(), "2025/02/28");
    ui::test::Click(picker, arrows.Left + 3, arrows.Bottom - 3);
    EXPECT_EQ(DateText(), "2024/02/28");

    picker->SetFormat(String());
    picker->SetDateTime(EncodeDateTime(2024, 2, 29, 5, 7, 9, 0));
    EXPECT_EQ(picker->Text(), String(u"2024/02/29"));
    picker->SetDateFormat(dfLong);
    EXPECT_EQ(picker->Text(), String(u"Thursday, February 29, 2024"));
    picker->SetKind(dtkTime);
    EXPECT_EQ(picker->Text(), String(u"5:07:09"));
    EXPECT_EQ(GetWindowLong(picker->Handle(), GWL_STYLE) & static_cast<LONG>(DTS_TIMEFORMAT), static_cast<LONG>(DTS_TIMEFORMAT));
    char16_t buf[32] = {};
    EXPECT_EQ(SendMessage(picker->Handle(), WM_GETTEXT, 32, reinterpret_cast<LPARAM>(buf)), 7);
    EXPECT_EQ(String(buf), String(u"5:07:09"));
    const char16_t* twelve = u"hh:mm tt";
    picker->Perform(DTM_SETFORMAT, 0, reinterpret_cast<LPARAM>(twelve));
    EXPECT_EQ(picker->Text(), String(u"05:07 AM"));
    ui::test::Key(picker, VK_RIGHT);
    ui::test::Key(picker, VK_RIGHT);
    Type(u"p");
    EXPECT_EQ(TimeText(), "17:07:09");
    picker->Perform(DTM_SETFORMAT, 0, 0);
    EXPECT_EQ(picker->Text(), String(u"17:07:09"));
}

TEST_F(DateTimePickerTest, BadInputChangesNothing) {
    picker->SetDate(EncodeDate(2024, 5, 5));
    host->Codes.clear();
    SYSTEMTIME month13{2024, 13, 0, 1, 0, 0, 0, 0}, day0{2024, 1, 0, 0, 0, 0, 0, 0}, feb29{2023, 2, 0, 29, 0, 0, 0, 0};
    for (const SYSTEMTIME* st : std::vector<const SYSTEMTIME*>{&month13, &day0, &feb29, nullptr})
        EXPECT_EQ(picker->Perform(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(st)), 0);
    EXPECT_EQ(DateText(), "2024/05/05");
    EXPECT_TRUE(host->Codes.empty());
    EXPECT_EQ(picker->Perform(DTM_SETSYSTEMTIME, GDT_NONE, 0), 0) << "no check box to clear";

    SYSTEMTIME range[2] = {{2024, 6, 0, 1, 0, 0, 0, 0}, {2024, 5, 0, 1, 0, 0, 0, 0}};
    EXPECT_EQ(picker->Perform(DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range)), 0);
    EXPECT_EQ(picker->Perform(DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)), 0);
    std::swap(range[0], range[1]);
    EXPECT_EQ(picker->Perform(DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range)), 1);
    EXPECT_EQ(DateText(), "2024/05/05");
    EXPECT_EQ(picker->Perform(DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)), static_cast<LRESULT>(GDTR_MIN | GDTR_MAX));

    picker->SetMinDate(0);
    picker->SetMaxDate(EncodeDate(2024, 4, 1));
    EXPECT_EQ(DateText(), "2024/04/01") << "a new maximum holds the value";
    try {
        picker->SetMinDate(EncodeDate(2024, 5, 1));
        ADD_FAILURE() << "no EDateTimeError";
    } catch (const EDateTimeError& e) {
        EXPECT_NE(e.Message().find(u"2024/05/01"), String::npos);
        EXPECT_NE(e.Message().find(u"2024/04/01"), String::npos);
    }
    EXPECT_EQ(picker->MinDate(), 0);
    EXPECT_EQ(picker->MaxDate(), EncodeDate(2024, 4, 1));

    struct Format {
        const char16_t* format;
        const char16_t* shown;
    } formats[] = {
        {u"yyyy-Q-MM", u"2024-Q-04"},
        {u"''dd''", u"'01'"},
        {u"'day' d 'of' MMMM", u"day 1 of April"},
        {u"'o''clock' yy", u"o'clock 24"},
    };
    for (const Format& f : formats) {
        picker->SetFormat(String(f.format));
        EXPECT_EQ(picker->Text(), String(f.shown)) << String(f.format).ToUtf8();
    }
}

TEST_F(DateTimePickerTest, TheFrameIsTheWindowsAndTheButtonFollowsTheScrollBarWidth) {
    EXPECT_EQ(picker->ClientWidth(), picker->Width() - 4);
    EXPECT_EQ(picker->ButtonRect().Width(), GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(picker->ButtonRect().Right, picker->ClientWidth());
    picker->SetCtl3D(false);
    EXPECT_EQ(picker->ClientWidth(), picker->Width() - 2);
}

TEST_F(DateTimePickerTest, AMonthCalendarOnItsOwn) {
    auto* cal = Add<TMonthCalendar>(10, 60);
    cal->SetDate(EncodeDate(2024, 1, 31));
    int clicks = 0;
    cal->OnClick = [&](TObject*) { ++clicks; };
    SYSTEMTIME st;
    ASSERT_EQ(cal->Perform(MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st)), 1);
    EXPECT_EQ((std::vector<int>{st.wYear, st.wMonth, st.wDay, st.wDayOfWeek}), (std::vector<int>{2024, 1, 31, 3}));
    cal->SetFocus();
    ui::test::Key(cal, VK_NEXT);
    EXPECT_EQ(cal->Date(), EncodeDate(2024, 2, 29)) << "a month on, held within February";
    ui::test::Key(cal, VK_DOWN);
    EXPECT_EQ(cal->Date(), EncodeDate(2024, 3, 7));
    TRect next = cal->NextButtonRect();
    ui::test::Click(cal, next.Left + 2, next.Top + 2);
    EXPECT_EQ(cal->Date(), EncodeDate(2024, 4, 7));
    EXPECT_EQ(clicks, 0);
    TRect day = cal->DayRect(EncodeDate(2024, 4, 20));
    ui::test::Click(cal, day.Left + 3, day.Top + 3);
    EXPECT_EQ(cal->Date(), EncodeDate(2024, 4, 20));
    EXPECT_EQ(clicks, 1);
    // A day out of the range is refused by message and by click.
    cal->SetMaxDate(EncodeDate(2024, 4, 25));
    SYSTEMTIME late{2024, 4, 0, 28, 0, 0, 0, 0};
    EXPECT_EQ(cal->Perform(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&late)), 0);
    TRect lateRect = cal->DayRect(EncodeDate(2024, 4, 28));
    ui::test::Click(cal, lateRect.Left + 3, lateRect.Top + 3);
    EXPECT_EQ(cal->Date(), EncodeDate(2024, 4, 20));
    EXPECT_THROW(cal->SetMinDate(EncodeDate(2024, 5, 1)), EDateTimeError);
    // The weekday row starts with the locale's first day: Sunday.
    TRect saturday = cal->DayRect(EncodeDate(2024, 4, 13)), sunday = cal->DayRect(EncodeDate(2024, 4, 14));
    EXPECT_GT(sunday.Top, saturday.Top);
    EXPECT_LT(sunday.Left, saturday.Left);
    EXPECT_EQ(cal->DayAtPos(sunday.Left + 1, sunday.Top + 1), EncodeDate(2024, 4, 14));
}

// WM_NOTIFY goes back to the child control that sent it; others are left alone.
TEST_F(DateTimePickerTest, OnlyAChildControlsNotificationIsReflected) {
    struct Taker : public TCustomControl {
        using TCustomControl::TCustomControl;
        int Reflected = 0;
        void Dispatch(TMessage& m) override {
            if (m.Msg == CN_NOTIFY) ++Reflected;
            TCustomControl::Dispatch(m);
        }
    };
    auto* child = NewComponent<Taker>(form);
    child->SetParent(host);
    auto* stranger = NewComponent<Taker>(form);
    stranger->SetParent(form);
    NMHDR h;
    h.code = 12345;
    h.hwndFrom = child->Handle();
    SendMessage(host->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&h));
    h.hwndFrom = stranger->Handle();
    SendMessage(host->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&h));
    h.hwndFrom = nullptr;
    SendMessage(host->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&h));
    EXPECT_EQ(child->Reflected, 1);
    EXPECT_EQ(stranger->Reflected, 0);
}

}  // namespace
