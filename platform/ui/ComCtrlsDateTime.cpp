// The date-time picker: its fields' rules, messages and notifications, and the month calendar
// it drops down in an owned pop-up.
#include <algorithm>
#include <cmath>
#include <cwctype>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/ComCtrlsDateTime.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/TopWindows.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/backend/Backend.h"
#include "platform/win/Window.h"

namespace dt = ui::datetime;

namespace {

constexpr int kCheckBox = 13;
constexpr int kGap = 3;

// False for a SYSTEMTIME that is no moment (month 13, day 0, February 29 of a common year).
bool ValueOf(const SYSTEMTIME* st, TDateTime& value) {
    return st && TryEncodeDateTime(st->wYear, st->wMonth, st->wDay, st->wHour, st->wMinute, st->wSecond, st->wMilliseconds, value);
}

// The calendar's pop-up: a bordered top-level window owned by the picker's form, never active,
// so the picker keeps the focus and rules the keys.
class TCalendarPopup : public TCustomControl {
public:
    explicit TCalendarPopup(TComponent* AOwner) : TCustomControl(AOwner) {
        FControlStyle = TControlStyle() << csOpaque;
        SetVisible(false);
    }
    const char* ClassName() const override { return "TCalendarPopup"; }

protected:
    void CreateParams(TCreateParams& Params) override {
        TCustomControl::CreateParams(Params);
        Params.Style = WS_POPUP | WS_BORDER;
        Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
        Params.TopLevel = true;
    }
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_MOUSEACTIVATE) {
            Message.Result = MA_NOACTIVATE;
            return;
        }
        TCustomControl::Dispatch(Message);
    }
};

}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TNativeControlOf(AOwner) {
    // The picker keeps the mouse itself while its calendar is down (MouseDown, MouseUp).
    FControlStyle = TControlStyle() << csClickEvents << csDoubleClicks << csFixedHeight;
    SetBounds(0, 0, 186, 21);
    SetColor(clWindow);
    SetTabStop(true);
    FDateTime = Now();
    Reformat();
}

TDateTimePicker::~TDateTimePicker() {
    if (MouseCapture()) SetMouseCapture(false);
}

void TDateTimePicker::Notification(TComponent* AComponent, TOperation Operation) {
    TNativeControlOf::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FPopup || AComponent == FCalendar) {
        if (AComponent == FPopup) FPopup = nullptr;
        FCalendar = nullptr;
        FDropped = false;
    }
}

void TDateTimePicker::CreateParams(TCreateParams& Params) {
    TNativeControlOf::CreateParams(Params);
    AddBorderStyle(Params);
    if (FKind == dtkTime) Params.Style |= DTS_TIMEFORMAT;
    else if (FDateMode == dmUpDown) Params.Style |= DTS_UPDOWN;
    if (FDateFormat == dfLong && FKind == dtkDate) Params.Style |= DTS_LONGDATEFORMAT;
    if (FShowCheckbox) Params.Style |= DTS_SHOWNONE;
}

std::unique_ptr<ui::DateTimeView> TDateTimePicker::CreateView(ui::Backend& backend, ui::WidgetPeer& host) {
    return backend.CreateDateTimeView(HasUpDown() ? ui::DateTimeKind::UpDown : ui::DateTimeKind::DropDown, host, this);
}

void TDateTimePicker::InitView() { Show(); }

// ---- properties ----

bool TDateTimePicker::HasCheckBox() const { return FShowCheckbox || (HandleAllocated() && (WindowStyle() & DTS_SHOWNONE)); }

bool TDateTimePicker::HasUpDown() const {
    return FKind == dtkTime || FDateMode == dmUpDown || (HandleAllocated() && (WindowStyle() & DTS_UPDOWN));
}

bool TDateTimePicker::CanDropDown() const { return !HasUpDown(); }

void TDateTimePicker::SetKind(TDateTimeKind value) {
    if (value == FKind) return;
    if (DroppedDown()) CloseUp(false);
    FKind = value;
    Reformat();
    if (HandleAllocated()) RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode value) {
    if (value == FDateMode) return;
    if (DroppedDown()) CloseUp(false);
    FDateMode = value;
    if (HandleAllocated()) RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat value) {
    if (value == FDateFormat) return;
    FDateFormat = value;
    Reformat();
    if (HandleAllocated()) RecreateWnd();
}

void TDateTimePicker::SetFormat(const String& value) {
    FFormat = value;
    Reformat();
}

void TDateTimePicker::SetShowCheckbox(bool value) {
    if (value == FShowCheckbox) return;
    FShowCheckbox = value;
    if (HandleAllocated()) RecreateWnd();
    Show();
}

TDateTime TDateTimePicker::Date() const { return ::DateOf(FDateTime); }
TDateTime TDateTimePicker::Time() const { return ::TimeOf(FDateTime); }

void TDateTimePicker::SetDate(TDateTime value) { SetDateTime(ComposeDateTime(::DateOf(value), ::TimeOf(FDateTime))); }

void TDateTimePicker::SetTime(TDateTime value) { SetDateTime(ComposeDateTime(::DateOf(FDateTime), ::TimeOf(value))); }

void TDateTimePicker::SetDateTime(TDateTime value) {
    FPending.clear();
    Commit(value, false);
}

void TDateTimePicker::SetMinDate(TDateTime value) {
    if (value != 0 && FMaxDate != 0 && ::DateOf(value) > ::DateOf(FMaxDate))
        throw EDateTimeError(String("MinDate ") + DateToStr(value) + String(" is later than MaxDate ") + DateToStr(FMaxDate));
    FMinDate = value;
    if (FCalendar) FCalendar->SetMinDate(value);
    Commit(FDateTime, false);
}

void TDateTimePicker::SetMaxDate(TDateTime value) {
    if (value != 0 && FMinDate != 0 && ::DateOf(value) < ::DateOf(FMinDate))
        throw EDateTimeError(String("MinDate ") + DateToStr(FMinDate) + String(" is later than MaxDate ") + DateToStr(value));
    FMaxDate = value;
    if (FCalendar) FCalendar->SetMaxDate(value);
    Commit(FDateTime, false);
}

void TDateTimePicker::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    Show();
    if (HasCheckBox()) Announce();
}

void TDateTimePicker::CMEnabledChanged(TMessage& Message) {
    TNativeControlOf::CMEnabledChanged(Message);
    Show();
}

// ---- fields ----

String TDateTimePicker::EffectiveFormat() const {
    if (!FFormat.empty()) return FFormat;
    const String& own = FKind == dtkTime ? FormatSettings.LongTimeFormat
                        : FDateFormat == dfLong ? FormatSettings.LongDateFormat
                                                : FormatSettings.ShortDateFormat;
    return dt::PickerFormatOf(own, FormatSettings);
}

void TDateTimePicker::Reformat() {
    FElements = dt::ParseFormat(EffectiveFormat());
    FPending.clear();
    if (FCurrent < 0 || FCurrent >= static_cast<int>(FElements.size()) || !FElements[static_cast<size_t>(FCurrent)].Editable())
        FCurrent = NextField(-1, 1);
    Show();
}

int TDateTimePicker::NextField(int from, int step) const {
    for (int i = from + step; i >= 0 && i < static_cast<int>(FElements.size()); i += step)
        if (FElements[static_cast<size_t>(i)].Editable()) return i;
    return from;
}

String TDateTimePicker::ShownText() const {
    String text;
    dt::Stamp s = dt::Stamp::Of(FDateTime);
    auto& ranges = const_cast<std::vector<std::pair<int, int>>&>(FRanges);
    ranges.clear();
    for (size_t i = 0; i < FElements.size(); ++i) {
        String part = static_cast<int>(i) == FCurrent && !FPending.empty() ? FPending : dt::Show(FElements[i], s, FormatSettings);
        ranges.emplace_back(static_cast<int>(text.size()), static_cast<int>(part.size()));
        text += part;
    }
    return text;
}

int TDateTimePicker::FieldStart() const { return FCurrent >= 0 && FCurrent < static_cast<int>(FRanges.size()) ? FRanges[static_cast<size_t>(FCurrent)].first : 0; }

int TDateTimePicker::FieldLength() const { return FCurrent >= 0 && FCurrent < static_cast<int>(FRanges.size()) ? FRanges[static_cast<size_t>(FCurrent)].second : 0; }

int TDateTimePicker::ButtonWidth() const { return GetSystemMetrics(SM_CXVSCROLL); }

TRect TDateTimePicker::CheckBoxRect() const {
    if (!HasCheckBox()) return TRect();
    return Bounds(kGap, std::max(0, (ClientHeight() - kCheckBox) / 2), kCheckBox, kCheckBox);
}

int TDateTimePicker::TextLeft() const { return HasCheckBox() ? kGap + kCheckBox + kGap : kGap - 1; }

TRect TDateTimePicker::ButtonRect() const {
    int w = ClientWidth(), h = ClientHeight();
    return TRect(std::max(0, w - ButtonWidth()), 0, w, h);
}

void TDateTimePicker::Show() {
    String text = ShownText();
    SetText(text);
    if (auto v = ChangeView()) {
        v->SetLayout(CheckBoxRect(), TextLeft(), ButtonRect());
        v->SetText(text);
        v->SetChecked(FChecked);
        v->SetGreyed(!Enabled() || (HasCheckBox() && !FChecked));
        bool shown = Focused() && Enabled() && !(HasCheckBox() && !FChecked);
        v->SetSelection(FieldStart(), shown ? FieldLength() : 0);
        v->SetPressed(FPressed);
    }
}

int TDateTimePicker::FieldAtPos(int x) {
    // Measured in the control's font, as the view shows it: the field nearest to the point.
    TBitmap scratch(1, 1);
    TCanvas* c = scratch.Canvas();
    c->Font()->Assign(Font());
    String text = ShownText();
    int best = FCurrent, bestDistance = 1 << 30;
    for (size_t i = 0; i < FElements.size(); ++i) {
        if (!FElements[i].Editable()) continue;
        auto [start, count] = FRanges[i];
        int left = TextLeft() + c->TextWidth(String(text.substr(0, static_cast<size_t>(start))));
        int right = TextLeft() + c->TextWidth(String(text.substr(0, static_cast<size_t>(start + count))));
        int distance = x < left ? left - x : x >= right ? x - right + 1 : 0;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

TDateTime TDateTimePicker::Bounded(TDateTime value) const {
    if (FMinDate != 0 && ::DateOf(value) < ::DateOf(FMinDate)) return ComposeDateTime(::DateOf(FMinDate), ::TimeOf(value));
    if (FMaxDate != 0 && ::DateOf(value) > ::DateOf(FMaxDate)) return ComposeDateTime(::DateOf(FMaxDate), ::TimeOf(value));
    return value;
}

void TDateTimePicker::Commit(TDateTime value, bool byUser) {
    value = Bounded(value);
    // A value the user gives checks the box.
    bool check = byUser && HasCheckBox() && !FChecked;
    if (value == FDateTime && !check) {
        Show();
        return;
    }
    FDateTime = value;
    if (check) FChecked = true;
    if (FCalendar && !byUser) FCalendar->SetDate(value);
    Show();
    Announce();
}

void TDateTimePicker::Announce() {
    if (!HandleAllocated()) return;
    NMDATETIMECHANGE change;
    change.nmhdr.hwndFrom = Handle();
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = HasCheckBox() && !FChecked ? GDT_NONE : GDT_VALID;
    change.st = dt::SystemTimeOf(FDateTime);
    if (Parent() && Parent()->HandleAllocated()) SendMessage(Parent()->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
    else Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
}

void TDateTimePicker::SendNotify(UINT code) {
    if (!HandleAllocated()) return;
    NMHDR header;
    header.hwndFrom = Handle();
    header.code = code;
    if (Parent() && Parent()->HandleAllocated()) SendMessage(Parent()->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    else Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

void TDateTimePicker::CNNotify(TMessage& Message) {
    const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
    if (!header) return;
    if (header->code == DTN_DATETIMECHANGE) Change();
    else if (header->code == DTN_DROPDOWN && OnDropDown) OnDropDown(this);
    else if (header->code == DTN_CLOSEUP && OnCloseUp) OnCloseUp(this);
}

void TDateTimePicker::Change() {
    if (OnChange) OnChange(this);
}

bool TDateTimePicker::Complete() {
    if (FPending.empty() || FCurrent < 0) return false;
    int typed = StrToIntDef(FPending, 0), digits = static_cast<int>(FPending.size());
    FPending.clear();
    const dt::Element& e = FElements[static_cast<size_t>(FCurrent)];
    Commit(dt::Put(e, dt::Stamp::Of(FDateTime), typed, digits, FormatSettings).Value(), true);
    return true;
}

void TDateTimePicker::SelectField(int index) {
    if (index == FCurrent) {
        Show();
        return;
    }
    Complete();
    FCurrent = index;
    Show();
}

void TDateTimePicker::StepCurrent(int delta) {
    if (FCurrent < 0) return;
    FPending.clear();
    const dt::Element& e = FElements[static_cast<size_t>(FCurrent)];
    Commit(dt::Step(e, dt::Stamp::Of(FDateTime), delta).Value(), true);
}

void TDateTimePicker::TypeDigit(int digit) {
    if (FCurrent < 0) return;
    const dt::Element& e = FElements[static_cast<size_t>(FCurrent)];
    if (e.Kind == dt::Field::AmPm) return;
    FPending.push_back(static_cast<char16_t>(u'0' + digit));
    int value = StrToIntDef(FPending, 0);
    // Complete once the field has its digits, or when no further digit could make a value.
    if (static_cast<int>(FPending.size()) >= dt::DigitsOf(e) || value * 10 > dt::MostOf(e)) Complete();
    else Show();
}

void TDateTimePicker::TypeLetter(char16_t ch) {
    if (FCurrent < 0 || FElements[static_cast<size_t>(FCurrent)].Kind != dt::Field::AmPm) return;
    auto first = [](const String& s) { return s.empty() ? u'\0' : static_cast<char16_t>(std::towupper(s[0])); };
    char16_t up = static_cast<char16_t>(std::towupper(ch));
    dt::Stamp s = dt::Stamp::Of(FDateTime);
    if (up == first(FormatSettings.TimeAMString) && s.Hour >= 12) s.Hour -= 12;
    else if (up == first(FormatSettings.TimePMString) && s.Hour < 12) s.Hour += 12;
    else return;
    FPending.clear();
    Commit(s.Value(), true);
}

// ---- input ----

void TDateTimePicker::WMGetDlgCode(TMessage& Message) {
    // While the calendar is down, Enter and Escape are the calendar's.
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (DroppedDown() ? DLGC_WANTALLKEYS : 0);
}

void TDateTimePicker::WMSetFocus(TMessage& Message) {
    TNativeControlOf::WMSetFocus(Message);
    Show();
}

void TDateTimePicker::WMKillFocus(TMessage& Message) {
    TNativeControlOf::WMKillFocus(Message);
    if (DroppedDown()) CloseUp(false);
    Complete();
    Show();
}

bool TDateTimePicker::KeyDown(WORD key, bool alt) {
    if (DroppedDown()) {
        CalendarKey(key);
        return true;
    }
    if (alt) {
        if (key == VK_DOWN && CanDropDown()) {
            SetDroppedDown(true);
            return true;
        }
        return false;
    }
    switch (key) {
        case VK_LEFT: SelectField(NextField(FCurrent, -1)); return true;
        case VK_RIGHT: SelectField(NextField(FCurrent, 1)); return true;
        case VK_UP: StepCurrent(1); return true;
        case VK_DOWN: StepCurrent(-1); return true;
        case VK_HOME:
        case VK_END:
            if (FCurrent >= 0) {
                FPending.clear();
                Commit(dt::Edge(FElements[static_cast<size_t>(FCurrent)], dt::Stamp::Of(FDateTime), key == VK_END).Value(), true);
            }
            return true;
        case VK_F4:
            if (CanDropDown()) SetDroppedDown(true);
            return true;
        case VK_SPACE:
            if (HasCheckBox()) SetChecked(!FChecked);
            return true;
        default: return false;
    }
}

void TDateTimePicker::CalendarKey(WORD key) {
    switch (key) {
        case VK_RETURN: CloseUp(true); return;
        case VK_ESCAPE: case VK_F4: CloseUp(false); return;
        default:
            if (FCalendar) FCalendar->Perform(WM_KEYDOWN, key, 0);
            return;
    }
}

void TDateTimePicker::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CN_NOTIFY: CNNotify(Message); break;
        case WM_SIZE:
            TNativeControlOf::Dispatch(Message);
            Show();
            break;
        case WM_CAPTURECHANGED:
            // The mouse went elsewhere (another window took it, or the mode was cancelled).
            TNativeControlOf::Dispatch(Message);
            if (DroppedDown()) CloseUp(false);
            break;
        default: TNativeControlOf::Dispatch(Message); break;
    }
}

void TDateTimePicker::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (KeyDown(static_cast<WORD>(Message.WParam), Message.Msg == WM_SYSKEYDOWN)) {
                Message.Result = 0;
                return;
            }
            break;
        case WM_CHAR: {
            char16_t ch = static_cast<char16_t>(Message.WParam);
            if (DroppedDown()) return;
            if (ch >= u'0' && ch <= u'9') TypeDigit(ch - u'0');
            else if (ch > u' ') TypeLetter(ch);
            return;
        }
        case WM_SETTEXT:
            // The text is the value's; it is set through the value.
            Message.Result = 0;
            return;
        case DTM_GETSYSTEMTIME: {
            if (HasCheckBox() && !FChecked) {
                Message.Result = static_cast<LRESULT>(GDT_NONE);
                return;
            }
            auto* st = reinterpret_cast<SYSTEMTIME*>(Message.LParam);
            if (!st) {
                Message.Result = static_cast<LRESULT>(static_cast<int32_t>(GDT_ERROR));
                return;
            }
            *st = dt::SystemTimeOf(FDateTime);
            Message.Result = static_cast<LRESULT>(GDT_VALID);
            return;
        }
        case DTM_SETSYSTEMTIME: {
            Message.Result = 0;
            if (Message.WParam == GDT_NONE) {
                if (!HasCheckBox()) return;
                SetChecked(false);
                Message.Result = 1;
                return;
            }
            TDateTime value = 0;
            if (Message.WParam != GDT_VALID || !ValueOf(reinterpret_cast<const SYSTEMTIME*>(Message.LParam), value)) return;
            FPending.clear();
            value = Bounded(value);
            bool check = HasCheckBox() && !FChecked;
            if (value != FDateTime || check) {
                FDateTime = value;
                FChecked = true;
                if (FCalendar) FCalendar->SetDate(value);
                Show();
                Announce();
            }
            Message.Result = 1;
            return;
        }
        case DTM_GETRANGE: {
            auto* st = reinterpret_cast<SYSTEMTIME*>(Message.LParam);
            LRESULT flags = 0;
            if (FMinDate != 0) {
                flags |= static_cast<LRESULT>(GDTR_MIN);
                if (st) st[0] = dt::SystemTimeOf(FMinDate);
            }
            if (FMaxDate != 0) {
                flags |= static_cast<LRESULT>(GDTR_MAX);
                if (st) st[1] = dt::SystemTimeOf(FMaxDate);
            }
            Message.Result = flags;
            return;
        }
        case DTM_SETRANGE: {
            const auto* st = reinterpret_cast<const SYSTEMTIME*>(Message.LParam);
            TDateTime low = 0, high = 0;
            Message.Result = 0;
            if ((Message.WParam & GDTR_MIN) && !ValueOf(st, low)) return;
            if ((Message.WParam & GDTR_MAX) && !(st && ValueOf(st + 1, high))) return;
            if (low != 0 && high != 0 && ::DateOf(low) > ::DateOf(high)) return;
            FMinDate = low;
            FMaxDate = high;
            if (FCalendar) {
                FCalendar->FMinDate = low;
                FCalendar->FMaxDate = high;
                FCalendar->SetDate(FCalendar->Date());
            }
            Commit(FDateTime, false);
            Message.Result = 1;
            return;
        }
        case DTM_SETFORMAT:
            SetFormat(Message.LParam ? String(reinterpret_cast<const char16_t*>(Message.LParam)) : String());
            Message.Result = 1;
            return;
        case DTM_GETMONTHCAL:
            Message.Result = FDropped && FCalendar && FCalendar->HandleAllocated() ? reinterpret_cast<LRESULT>(FCalendar->Handle()) : 0;
            return;
        default: break;
    }
    TNativeControlOf::DefaultHandler(Message);
}

void TDateTimePicker::SetPressed(ui::DateTimePart part) {
    if (part == FPressed) return;
    FPressed = part;
    if (auto v = ChangeView()) v->SetPressed(part);
}

void TDateTimePicker::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TNativeControlOf::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    SetMouseCapture(true);
    TPoint p(X, Y);
    if (DroppedDown()) {
        // The calendar's clicks come here while the picker keeps the mouse; a click anywhere
        // else closes it without a change.
        TPoint screen = ClientToScreen(p);
        TPoint inside = FCalendar->ScreenToClient(screen);
        if (FCalendar->ClientRect().Contains(inside)) {
            FCalendar->Press(inside.X, inside.Y);
            return;
        }
        CloseUp(false);
        if (ButtonRect().Contains(p)) return;  // the button closes what it opened
    }
    if (!Focused() && CanFocus()) SetFocus();
    if (CheckBoxRect().Contains(p)) {
        Complete();
        SetChecked(!FChecked);
        return;
    }
    if (ButtonRect().Contains(p)) {
        if (HasUpDown()) {
            bool up = Y < ButtonRect().Top + ButtonRect().Height() / 2;
            SetPressed(up ? ui::DateTimePart::UpArrow : ui::DateTimePart::DownArrow);
            StepCurrent(up ? 1 : -1);
        } else {
            SetPressed(ui::DateTimePart::Button);
            SetDroppedDown(true);
        }
        return;
    }
    if (X >= TextLeft()) SelectField(FieldAtPos(X));
}

void TDateTimePicker::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        SetPressed(ui::DateTimePart::None);
        if (!DroppedDown() && MouseCapture()) SetMouseCapture(false);
    }
    TNativeControlOf::MouseUp(Button, Shift, X, Y);
}

// ---- the calendar ----

void TDateTimePicker::SetDroppedDown(bool value) {
    if (value == DroppedDown()) return;
    if (!value) {
        CloseUp(false);
        return;
    }
    if (!CanDropDown() || !HandleAllocated()) return;
    Complete();
    if (!FPopup) {
        FPopup = new TCalendarPopup(this);
        FPopup->FreeNotification(this);
        auto* calendar = new TMonthCalendar(FPopup);
        calendar->FreeNotification(this);
        calendar->FDroppedBy = this;
        calendar->SetParent(FPopup);
        calendar->OnClick = [this](TObject*) { CloseUp(true); };
        FCalendar = calendar;
    }
    if (!FCalendar) return;
    FDropped = true;
    FCalendar->FMinDate = FMinDate;
    FCalendar->FMaxDate = FMaxDate;
    FCalendar->SetDate(FDateTime);
    FCalendar->Font()->Assign(Font());
    FPopup->SetParent(this);
    FPopup->HandleNeeded();
    FCalendar->HandleNeeded();
    SendNotify(DTN_DROPDOWN);
    if (!FDropped || !FCalendar) return;  // a handler closed it
    // Under the picker, its left edges aligned; above it when the desktop ends below.
    TSize size = FCalendar->MinRequiredSize();
    FCalendar->SetBounds(0, 0, size.cx, size.cy);
    int w = size.cx + 2, h = size.cy + 2;
    TRect window;
    GetWindowRect(Handle(), &window);
    TRect desktop = Screen->WorkAreaRect();
    int left = std::max(desktop.Left, std::min(window.Left, desktop.Right - w));
    int top = window.Bottom + h > desktop.Bottom && window.Top - h >= desktop.Top ? window.Top - h : window.Bottom;
    SetWindowPos(FPopup->Handle(), HWND_TOPMOST, left, top, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    FPopup->SetVisible(true);
    SetMouseCapture(true);
    Show();
}

void TDateTimePicker::CloseUp(bool take) {
    if (!FDropped) return;
    FDropped = false;
    if (take && FCalendar) Commit(ComposeDateTime(FCalendar->Date(), ::TimeOf(FDateTime)), true);
    if (FPopup) {
        FPopup->SetVisible(false);
        if (FPopup->HandleAllocated()) SetWindowPos(FPopup->Handle(), nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetPressed(ui::DateTimePart::None);
    if (MouseCapture()) SetMouseCapture(false);
    SendNotify(DTN_CLOSEUP);
    Show();
}
