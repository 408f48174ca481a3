// The time-picker drop-down of unit AdvTimePickerDropDown: the text and its mask, the clock and
// the optional platform time picker in the pop-up, and the keys that step the time.
#include "dropdown/AdvTimePickerDropDown.h"

#include <cmath>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win/Window.h"

namespace {

enum { partHour, partMinute, partSecond };

String TwoDigits(int value) {
    String s;
    s.push_back(static_cast<char16_t>(u'0' + value / 10 % 10));
    s.push_back(static_cast<char16_t>(u'0' + value % 10));
    return s;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

String Trimmed(const String& s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= u' ') ++b;
    while (e > b && s[e - 1] <= u' ') --e;
    return String(s.substr(b, e - b));
}

int ToInt(const String& s) {
    int v = 0;
    for (char16_t c : s) {
        if (!IsDigit(c)) break;
        v = v * 10 + (c - u'0');
        if (v > 1000) break;
    }
    return v;
}

TDateTime TimeOfDay(TDateTime value) { return value - std::floor(value); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Life and style

// The appearance first: the base's AfterConstruction applies a style, which writes into it.
TAdvTimePickerDropDown::TAdvTimePickerDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FWatchAppearance(std::make_unique<TWatchAppearance>()) {}

TAdvTimePickerDropDown::~TAdvTimePickerDropDown() = default;

void TAdvTimePickerDropDown::AfterConstruction() {
    TAdvCustomDropDown::AfterConstruction();
    FShowTimePicker = false;
    SetEditorEnabled(false);
    FShowSeconds = true;
    FInternalCall = true;
    SetEditMask(TimeMask());
    SetPlainText(FormatTime(0));
    FInternalCall = false;
    FWatchSettings = std::make_unique<TWatchSettings>();
    FShowWatchAMPM = FShowWatchNumbers = FAnimation = true;
    FAnimationFactor = 10;
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
}

void TAdvTimePickerDropDown::SetComponentStyle(TQRBStyle AStyle) {
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    if (FWatchAppearance) advwatch::ApplyComponentStyle(FWatchAppearance.get(), AStyle);
}

void TAdvTimePickerDropDown::Notification(TComponent* AComponent, TOperation Operation) {
    TAdvCustomDropDown::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FAdvWatch) FAdvWatch = nullptr;
    if (AComponent == FDateTimePicker) FDateTimePicker = nullptr;
    if (AComponent == FPanelCtrl) FPanelCtrl = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The value and its text

String TAdvTimePickerDropDown::FormatTime(TDateTime value) const {
    WORD h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(value, h, m, s, ms);
    const char16_t sep = FormatSettings.TimeSeparator;
    String t = TwoDigits(h) + String(1, sep) + TwoDigits(m);
    if (FShowSeconds) t += String(1, sep) + TwoDigits(s);
    return t;
}

String TAdvTimePickerDropDown::TimeMask() const {
    const String sep(1, FormatSettings.TimeSeparator);
    return FShowSeconds ? u"!90" + sep + u"00" + sep + u"00;1; " : u"!90" + sep + u"00;1; ";
}

void TAdvTimePickerDropDown::WriteOwnText(const String& value, bool throughSetter) {
    FInternalCall = true;
    if (throughSetter)
        SetText(value);
    else
        SetPlainText(value);
    FInternalCall = false;
}

void TAdvTimePickerDropDown::SetTime(TDateTime value) {
    if (value == FTime) return;
    FTime = value;
    WriteOwnText(FormatTime(value), false);
}

void TAdvTimePickerDropDown::SetShowSeconds(bool value) {
    if (value == FShowSeconds) return;
    FShowSeconds = value;
    const TDateTime kept = FTime;
    FInternalCall = true;
    SetEditMask(u"");
    SetPlainText(u"");
    FInternalCall = false;
    SetEditMask(TimeMask());
    // A stored value unlike the kept one makes the setter rewrite the text in the new format.
    FTime = kept + 1;
    SetTime(kept);
}

void TAdvTimePickerDropDown::DoTimeChange() {
    if (OnTimeChange) OnTimeChange(this);
}

void TAdvTimePickerDropDown::ReplacePart(int part, int value) {
    WORD hms[3] = {0, 0, 0};
    WORD ms = 0;
    DecodeTime(FTime, hms[0], hms[1], hms[2], ms);
    const int limit = part == partHour ? 23 : 59;
    if (value == hms[part] || value < 0 || value > limit) return;
    hms[part] = static_cast<WORD>(value);
    SetTime(EncodeTime(hms[0], hms[1], hms[2], ms));
    DoTimeChange();
}

void TAdvTimePickerDropDown::SetHourPart(int value) { ReplacePart(partHour, value); }
void TAdvTimePickerDropDown::SetMinutePart(int value) { ReplacePart(partMinute, value); }
void TAdvTimePickerDropDown::SetSecondPart(int value) { ReplacePart(partSecond, value); }

// ---------------------------------------------------------------------------------------------
// The edit's keys and text

void TAdvTimePickerDropDown::HandleKeyDown(WORD& Key, TShiftState Shift) {
    TAdvCustomDropDown::HandleKeyDown(Key, Shift);
    if (GetKeyState(VK_MENU) < 0 || Shift.Contains(ssAlt) || Shift.Contains(ssCtrl)) return;
    if (Key != VK_UP && Key != VK_DOWN) return;
    const String text = Text();
    const int c = SelStart();
    const char16_t sep = FormatSettings.TimeSeparator;
    const size_t first = text.find(sep);
    const int p1 = first == String::npos ? 0 : static_cast<int>(first) + 1;
    int part = partHour;
    if (c >= p1) {
        const String rest = first == String::npos ? text : String(text.substr(first + 1));
        const size_t second = rest.find(sep);
        const int p2 = second == String::npos ? 0 : static_cast<int>(second) + 1;
        part = (c - p1 >= p2 && FShowSeconds) ? partSecond : partMinute;
    }
    WORD hms[3] = {0, 0, 0};
    WORD ms = 0;
    DecodeTime(FTime, hms[0], hms[1], hms[2], ms);
    const int span = part == partHour ? 24 : 60;
    const int step = Key == VK_UP ? -1 : 1;
    ReplacePart(part, (hms[part] + step + span) % span);
    SetSelStart(c);
    SetSelLength(0);
}

bool TAdvTimePickerDropDown::HasLeadingDigits(const String& field) {
    if (field.empty() || !IsDigit(field[0])) return false;
    return field.size() < 2 || IsDigit(field[1]);
}

bool TAdvTimePickerDropDown::IsTimeTextComplete(const String& text) const {
    const char16_t sep = FormatSettings.TimeSeparator;
    const size_t first = text.find(sep);
    if (first == String::npos) return false;
    const size_t second = text.find(sep, first + 1);
    if ((second != String::npos) != FShowSeconds) return false;
    return second == String::npos || text.find(sep, second + 1) == String::npos;
}

void TAdvTimePickerDropDown::HandleChange() {
    TAdvCustomDropDown::HandleChange();
    String text = Text();
    if (text.empty() || FInternalCall) return;
    const size_t complete = FShowSeconds ? 8 : 5;
    if (Trimmed(text).size() < complete || !IsTimeTextComplete(text)) return;
    for (char16_t& ch : text)
        if (ch == u' ') ch = u'0';
    const char16_t sep = FormatSettings.TimeSeparator;
    const size_t first = text.find(sep);
    const size_t second = FShowSeconds ? text.find(sep, first + 1) : String::npos;
    const String hour = Trimmed(String(text.substr(0, first)));
    const String minute =
        Trimmed(String(second == String::npos ? text.substr(first + 1) : text.substr(first + 1, second - first - 1)));
    const String secondText = FShowSeconds ? Trimmed(String(text.substr(second + 1))) : String(u"00");
    if (!HasLeadingDigits(hour) || !HasLeadingDigits(minute) || !HasLeadingDigits(secondText)) return;
    const int h = ToInt(hour), m = ToInt(minute), s = FShowSeconds ? ToInt(secondText) : 0;
    // A field out of range leaves the time and the text as they are.
    TDateTime value = 0;
    if (!TryEncodeTime(h, m, s, 0, value)) return;
    FTime = value;
    const String canonical = FormatTime(value);
    if (canonical != Text() && m == 0 && s == 0) WriteOwnText(canonical, true);
}

bool TAdvTimePickerDropDown::Filtered(WORD Key, TShiftState Shift) {
    return (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN) && !Shift.Contains(ssAlt);
}

void TAdvTimePickerDropDown::PopupKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
    if (!Filtered(Key, Shift)) TAdvCustomDropDown::PopupKeyDown(Sender, Key, Shift);
    if (DropDownForm() && DropDownForm()->Visible() && FAdvWatch) FAdvWatch->HandleNavigationKey(Key);
}

void TAdvTimePickerDropDown::PopupKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) {
    if (!Filtered(Key, Shift)) TAdvCustomDropDown::PopupKeyUp(Sender, Key, Shift);
}

void TAdvTimePickerDropDown::ControlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
    if (!Filtered(Key, Shift)) TAdvCustomDropDown::ControlKeyDown(Sender, Key, Shift);
}

void TAdvTimePickerDropDown::ControlKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) {
    if (!Filtered(Key, Shift)) TAdvCustomDropDown::ControlKeyUp(Sender, Key, Shift);
}

void TAdvTimePickerDropDown::ControlKeyPress(TObject* Sender, char16_t& Key) {
    const bool navigation = Key == 33 || Key == 34 || Key == 38 || Key == 40;
    if (navigation && GetKeyState(VK_MENU) >= 0) return;
    TAdvCustomDropDown::ControlKeyPress(Sender, Key);
}

// ---------------------------------------------------------------------------------------------
// The pop-up

void TAdvTimePickerDropDown::BuildPopup() {
    TAdvCustomDropDown::BuildPopup();
    if (!DropDownForm()) return;
    if (!FPanelCtrl) {
        FPanelCtrl = NewComponent<TPanel>(this);
        FPanelCtrl->SetParent(DropDownForm());
        FPanelCtrl->SetCtl3D(false);
        FPanelCtrl->SetBorderWidth(0);
        FPanelCtrl->SetBevelInner(bvNone);
    }
    FPanelCtrl->SetBounds(0, 0, FPanelCtrl->Width(), 180);
    if (!FAdvWatch) {
        FAdvWatch = NewComponent<TAdvWatch>(this);
        FAdvWatch->SetParent(FPanelCtrl);
        FAdvWatch->SetAlign(alClient);
    }
    SetPopupControl(FPanelCtrl);
}

void TAdvTimePickerDropDown::PreparePopup() {
    TAdvCustomDropDown::PreparePopup();
    if (!FPanelCtrl || !FAdvWatch) return;
    // Undocked, so that the pop-up is sized round the panel.
    FPanelCtrl->SetAlign(alNone);
    FPanelCtrl->SetBounds(0, 0, kClockSize, kClockSize);
    TDropDownForm* form = DropDownForm();
    form->SetWidth(form->Width() + 1);
    form->SetWidth(form->Width() - 1);
    form->SetCancelOnDeActivate(false);
    FPanelCtrl->SetColor(DropDownColor());

    FAdvWatch->SetAppearance(FWatchAppearance.get());
    FAdvWatch->SetSettings(FWatchSettings.get());
    FAdvWatch->SetShowAMPM(FShowWatchAMPM);
    FAdvWatch->SetShowNumbers(FShowWatchNumbers);
    FAdvWatch->SetAnimation(FAnimation);
    FAdvWatch->SetAnimationFactor(FAnimationFactor);
    FAdvWatch->OnChange = nullptr;
    if (!FWatchSettings->Auto()) FAdvWatch->SetTime(FTime);
    FAdvWatch->OnChange = [this](TObject* Sender) { WatchChanged(Sender); };

    if (!FShowTimePicker) {
        if (FDateTimePicker) FDateTimePicker->SetVisible(false);
        return;
    }
    if (!FDateTimePicker) {
        FDateTimePicker = NewComponent<TDateTimePicker>(this);
        FDateTimePicker->SetParent(FPanelCtrl);
        FDateTimePicker->SetKind(dtkTime);
    }
    FDateTimePicker->OnChange = nullptr;
    FDateTimePicker->SetAlign(alBottom);
    FDateTimePicker->SetVisible(true);
    FDateTimePicker->SetTime(FTime);
    FDateTimePicker->BringToFront();
    FDateTimePicker->OnChange = [this](TObject* Sender) { TimePickerChanged(Sender); };
    FDateTimePicker->OnKeyDown = [this](TObject* Sender, WORD& Key, TShiftState Shift) {
        ControlKeyDown(Sender, Key, Shift);
    };
    FDateTimePicker->OnKeyUp = [this](TObject* Sender, WORD& Key, TShiftState Shift) {
        ControlKeyUp(Sender, Key, Shift);
    };
    FDateTimePicker->OnKeyPress = [this](TObject* Sender, char16_t& Key) { ControlKeyPress(Sender, Key); };
    FDateTimePicker->SetFormat(FShowSeconds ? u"HH:mm:ss" : u"HH:mm");
    FPanelCtrl->SetHeight(FDateTimePicker->Height() + kClockSize);
}

void TAdvTimePickerDropDown::ClosePopup(bool Cancelled) {
    TAdvCustomDropDown::ClosePopup(Cancelled);
    if (!FAdvWatch) return;
    if (Cancelled)
        FAdvWatch->SetTime(FTime);
    else
        SetTime(FAdvWatch->Time());
}

void TAdvTimePickerDropDown::PopupClosed(TObject* Sender) {
    TAdvCustomDropDown::PopupClosed(Sender);
    if (FAdvWatch) SetTime(FAdvWatch->Time());
}

void TAdvTimePickerDropDown::WatchChanged(TObject*) {
    if (!FAdvWatch) return;
    if (FDateTimePicker && FShowTimePicker &&
        TimeOfDay(FDateTimePicker->Time()) != TimeOfDay(FAdvWatch->Time())) {
        FDateTimePicker->SetTime(FAdvWatch->Time());
        DoTimeChange();
    }
    SetTime(FAdvWatch->Time());
}

void TAdvTimePickerDropDown::TimePickerChanged(TObject*) {
    if (FDateTimePicker && FAdvWatch && !FWatchSettings->Auto()) FAdvWatch->SetTime(FDateTimePicker->Time());
}
