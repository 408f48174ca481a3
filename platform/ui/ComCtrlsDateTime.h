#pragma once
// Date and time entry of the ComCtrls unit: the date-time picker, a native control whose view
// only shows its fields (every key and click is the control's to rule on), and the month
// calendar, drawn by the library as the page control is, which the picker drops down.
#include "platform/rtl/Exceptions.h"
#include "platform/ui/CommNotify.h"
#include "platform/ui/DateTimeFields.h"
#include "platform/ui/NativeCtrls.h"

// Picker styles; DTS_TIMEFORMAT includes DTS_UPDOWN.
constexpr DWORD DTS_UPDOWN = 0x01, DTS_SHOWNONE = 0x02, DTS_SHORTDATEFORMAT = 0x00, DTS_LONGDATEFORMAT = 0x04,
                DTS_TIMEFORMAT = 0x09;
// Picker messages. DTM_GETSYSTEMTIME answers GDT_VALID and fills the SYSTEMTIME in LParam, or
// GDT_NONE without a value; DTM_SETSYSTEMTIME takes GDT_VALID with one, or GDT_NONE to clear the
// check box. The range messages take two SYSTEMTIMEs (minimum, maximum) and the GDTR_ flags.
constexpr UINT DTM_FIRST = 0x1000;
constexpr UINT DTM_GETSYSTEMTIME = DTM_FIRST + 1, DTM_SETSYSTEMTIME = DTM_FIRST + 2, DTM_GETRANGE = DTM_FIRST + 3,
               DTM_SETRANGE = DTM_FIRST + 4, DTM_GETMONTHCAL = DTM_FIRST + 8, DTM_SETFORMAT = DTM_FIRST + 50;
constexpr WPARAM GDTR_MIN = 1, GDTR_MAX = 2;
constexpr UINT DTN_DROPDOWN = DTN_FIRST + 6, DTN_CLOSEUP = DTN_FIRST + 7;
// Month calendar styles and messages; MCM_GETMINREQRECT fills the RECT in LParam with the size
// one month needs in the current font.
constexpr DWORD MCS_WEEKNUMBERS = 0x04, MCS_NOTODAYCIRCLE = 0x08, MCS_NOTODAY = 0x10;
constexpr UINT MCM_FIRST = 0x1000;
constexpr UINT MCM_GETCURSEL = MCM_FIRST + 1, MCM_SETCURSEL = MCM_FIRST + 2, MCM_GETMINREQRECT = MCM_FIRST + 9;

class EDateTimeError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EDateTimeError"; }
};

class TDateTimePicker;

// ---------------------------------------------------------------------------------------------
// One month of days to pick from: a title with the previous and next buttons, the weekday names
// from the locale's first day of the week, six weeks of days (the neighbouring months' grey),
// today circled and named at the bottom. Arrows move the day, PgUp and PgDn the month; a click
// on a day selects it and fires OnClick.
class TMonthCalendar : public TCustomControl {
public:
    explicit TMonthCalendar(TComponent* AOwner);
    const char* ClassName() const override { return "TMonthCalendar"; }
    TDateTime Date() const { return FDate; }
    // Held within MinDate..MaxDate (0: no limit); whole days.
    void SetDate(TDateTime value);
    TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(TDateTime value);
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime value);
    // The window styles: MCS_NOTODAY, MCS_NOTODAYCIRCLE, MCS_WEEKNUMBERS (SetWindowLong too).
    bool ShowToday() const { return !HasStyle(MCS_NOTODAY); }
    void SetShowToday(bool value) { SetStyle(MCS_NOTODAY, !value); }
    bool ShowTodayCircle() const { return !HasStyle(MCS_NOTODAYCIRCLE); }
    void SetShowTodayCircle(bool value) { SetStyle(MCS_NOTODAYCIRCLE, !value); }
    bool WeekNumbers() const { return HasStyle(MCS_WEEKNUMBERS); }
    void SetWeekNumbers(bool value) { SetStyle(MCS_WEEKNUMBERS, value); }
    // The size one month needs in the current font and styles.
    TSize MinRequiredSize();
    // The day under a client point (0 when none), and the parts' rectangles.
    TDateTime DayAtPos(int x, int y);
    TRect PrevButtonRect();
    TRect NextButtonRect();
    TRect DayRect(TDateTime day);

    TNotifyEvent OnClick;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override { Message.Result = DLGC_WANTARROWS; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // A day was picked with the mouse (or today's line): the date, then OnClick.
    virtual void DayPicked(TDateTime day);

private:
    friend class TDateTimePicker;
    struct Metrics {
        int Cell = 0, Row = 0, Title = 0, Names = 0, Today = 0, Weeks = 0, Margin = 4;
        TSize Size;
    };
    Metrics Measure();
    // A left press at a client point: the buttons, a day, today's line.
    void Press(int X, int Y);
    TDateTime FirstShown() const;
    int FirstDayOfWeek() const;
    bool HasStyle(DWORD bit) const;
    void SetStyle(DWORD bit, bool on);
    TDateTime Held(TDateTime day) const;
    void Move(TDateTime day);

    TDateTime FDate = 0;
    TDateTime FMinDate = 0, FMaxDate = 0;
    DWORD FStyleBits = 0;
    // The picker that dropped this calendar down: it keeps the focus.
    TDateTimePicker* FDroppedBy = nullptr;
};

// ---------------------------------------------------------------------------------------------
enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };
enum TDTDateFormat { dfShort, dfLong };

// Fields in the control's font, the current one selected; a check box before them and the drop
// button (the date kind dropping down a month calendar) or an up-down at the right. The value
// changes only when a typed field completes or a key, click or the program sets it, and every
// change (the check box's too) goes to the parent as WM_NOTIFY DTN_DATETIMECHANGE; the parent's
// default handling hands it back (CN_NOTIFY), where OnChange runs.
class TDateTimePicker : public TNativeControlOf<ui::DateTimeView> {
public:
    explicit TDateTimePicker(TComponent* AOwner);
    ~TDateTimePicker() override;
    const char* ClassName() const override { return "TDateTimePicker"; }

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind value);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode value);
    TDTDateFormat DateFormat() const { return FDateFormat; }
    void SetDateFormat(TDTDateFormat value);
    // Empty: the settings' ShortDateFormat, LongDateFormat or LongTimeFormat.
    const String& Format() const { return FFormat; }
    void SetFormat(const String& value);
    TDateTime Date() const;
    void SetDate(TDateTime value);
    TDateTime Time() const;
    void SetTime(TDateTime value);
    TDateTime DateTime() const { return FDateTime; }
    void SetDateTime(TDateTime value);
    // 0: no limit; the date part bounds the value. A minimum after the maximum raises
    // EDateTimeError and changes neither.
    TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(TDateTime value);
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime value);
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool DroppedDown() const { return FDropped; }
    void SetDroppedDown(bool value);
    // The calendar while dropped down, else nullptr.
    TMonthCalendar* Calendar() const { return FDropped ? FCalendar : nullptr; }
    // The current field (an index among the format's elements; -1 none) and its characters.
    int CurrentField() const { return FCurrent; }
    int FieldStart() const;
    int FieldLength() const;
    // Where the parts lie in client coordinates (check box, text's left edge, button).
    TRect CheckBoxRect() const;
    TRect ButtonRect() const;
    int TextLeft() const;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    void CreateParams(TCreateParams& Params) override;
    std::unique_ptr<ui::DateTimeView> CreateView(ui::Backend& backend, ui::WidgetPeer& host) override;
    void InitView() override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The reflected notifications: OnChange, OnDropDown, OnCloseUp.
    virtual void CNNotify(TMessage& Message);
    virtual void Change();
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool HasCheckBox() const;
    bool HasUpDown() const;
    bool CanDropDown() const;
    String EffectiveFormat() const;
    void Reformat();
    void Show();
    String ShownText() const;
    // The value changes (held within the range; nothing when equal) and is announced.
    void Commit(TDateTime value, bool byUser);
    TDateTime Bounded(TDateTime value) const;
    void Announce();
    void SendNotify(UINT code);
    // Completes a pending entry; true when one was pending.
    bool Complete();
    void SelectField(int index);
    int NextField(int from, int step) const;
    int FieldAtPos(int x);
    void StepCurrent(int delta);
    void TypeDigit(int digit);
    void TypeLetter(char16_t ch);
    bool KeyDown(WORD key, bool alt);
    void CalendarKey(WORD key);
    void CloseUp(bool take);
    void SetPressed(ui::DateTimePart part);
    int ButtonWidth() const;

    TDateTimeKind FKind = dtkDate;
    TDTDateMode FDateMode = dmComboBox;
    TDTDateFormat FDateFormat = dfShort;
    String FFormat;
    TDateTime FDateTime = 0;
    TDateTime FMinDate = 0, FMaxDate = 0;
    bool FShowCheckbox = false;
    bool FChecked = true;
    std::vector<ui::datetime::Element> FElements;
    std::vector<std::pair<int, int>> FRanges;  // each element's characters in the text
    int FCurrent = -1;
    String FPending;
    ui::DateTimePart FPressed = ui::DateTimePart::None;
    TCustomControl* FPopup = nullptr;
    // Made at the first drop-down and kept, hidden, for the next.
    TMonthCalendar* FCalendar = nullptr;
    bool FDropped = false;
};
