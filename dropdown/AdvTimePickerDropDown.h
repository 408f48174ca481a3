#pragma once
// Unit AdvTimePickerDropDown: a drop-down edit holding a time of day. The edit shows two-digit
// hour, minute and (optionally) second joined by the locale's time separator under an edit mask;
// the pop-up shows the analogue clock on a panel and, optionally, the platform time picker below
// it. Up and Down on the edit step the field under the caret.
#include <memory>

#include "dropdown/AdvDropDown.h"
#include "dropdown/AdvWatch.h"
#include "platform/ui/ComCtrlsDateTime.h"
#include "platform/ui/ExtCtrlsDrawn.h"

class TAdvTimePickerDropDown : public TAdvCustomDropDown {
public:
    static constexpr int kClockSize = 170;

    explicit TAdvTimePickerDropDown(TComponent* AOwner);
    ~TAdvTimePickerDropDown() override;
    const char* ClassName() const override { return "TAdvTimePickerDropDown"; }

    // Without OnTimeChange; a changed value rewrites the text.
    TDateTime Time() const { return FTime; }
    void SetTime(TDateTime value);
    // The text, the mask and the time picker's format include seconds; Time is kept.
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool value);
    bool ShowTimePicker() const { return FShowTimePicker; }
    void SetShowTimePicker(bool value) { FShowTimePicker = value; }
    // Copied into the clock at every opening.
    TWatchAppearance* WatchAppearance() const { return FWatchAppearance.get(); }
    void SetWatchAppearance(const TWatchAppearance* value) { FWatchAppearance->Assign(value); }
    TWatchSettings* WatchSettings() const { return FWatchSettings.get(); }
    void SetWatchSettings(const TWatchSettings* value) { FWatchSettings->Assign(value); }
    bool ShowWatchAMPM() const { return FShowWatchAMPM; }
    void SetShowWatchAMPM(bool value) { FShowWatchAMPM = value; }
    bool ShowWatchNumbers() const { return FShowWatchNumbers; }
    void SetShowWatchNumbers(bool value) { FShowWatchNumbers = value; }
    bool Animation() const { return FAnimation; }
    void SetAnimation(bool value) { FAnimation = value; }
    int AnimationFactor() const { return FAnimationFactor; }
    void SetAnimationFactor(int value) { FAnimationFactor = value; }
    // The clock and the time picker of the pop-up (none before the first opening).
    TAdvWatch* Watch() const { return FAdvWatch; }
    TDateTimePicker* TimePicker() const { return FDateTimePicker; }
    TPanel* Panel() const { return FPanelCtrl; }

    // The text of a time in the current format.
    String FormatTime(TDateTime value) const;
    // The edit mask of the current format.
    String TimeMask() const;

    // A part replaced when it differs and is in range, then OnTimeChange.
    void SetHourPart(int value);
    void SetMinutePart(int value);
    void SetSecondPart(int value);

    void SetComponentStyle(TQRBStyle AStyle) override;

    TNotifyEvent OnTimeChange;

protected:
    void AfterConstruction() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The panel, 180 high, holding the clock; the panel is the pop-up control.
    void BuildPopup() override;
    void PreparePopup() override;
    void ClosePopup(bool Cancelled) override;
    void PopupClosed(TObject* Sender) override;
    void PopupKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) override;
    void PopupKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) override;
    void ControlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) override;
    void ControlKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) override;
    void ControlKeyPress(TObject* Sender, char16_t& Key) override;
    void HandleKeyDown(WORD& Key, TShiftState Shift) override;
    void HandleChange() override;

    void WatchChanged(TObject* Sender);
    void TimePickerChanged(TObject* Sender);
    // Both separators where the format wants them, and no more.
    bool IsTimeTextComplete(const String& text) const;
    static bool HasLeadingDigits(const String& field);

private:
    // Page Up, Page Down, Up and Down without Alt stop here.
    static bool Filtered(WORD Key, TShiftState Shift);
    void DoTimeChange();
    void ReplacePart(int part, int value);
    // The text written by the drop-down itself, not read back as typed.
    void WriteOwnText(const String& value, bool throughSetter);

    bool FShowTimePicker = false;
    TAdvWatch* FAdvWatch = nullptr;
    TDateTimePicker* FDateTimePicker = nullptr;
    TPanel* FPanelCtrl = nullptr;
    std::unique_ptr<TWatchAppearance> FWatchAppearance;
    bool FShowWatchAMPM = true;
    bool FShowWatchNumbers = true;
    bool FAnimation = true;
    int FAnimationFactor = 10;
    TDateTime FTime = 0;
    std::unique_ptr<TWatchSettings> FWatchSettings;
    bool FInternalCall = false;
    bool FShowSeconds = true;
};
