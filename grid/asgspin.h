#pragma once
// Unit asgspin: the spin edit the grid's spin editor derives from. TAsgSpinEdit is a masked edit
// holding one value (a whole number, a real, a date or a time of day) in its text, with an
// arrow pair (TAsgSpinButton) at its right edge whose arrows (TAdvTimerSpeedButton) repeat their
// click while held. The value lives in the text: getters parse it with FormatSettings, setters
// write it, limits apply when a value is set and again when the edit is left.
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SmallSet.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Mask.h"

enum TAsgSpinType { sptNormal, sptFloat, sptDate, sptTime };
// Arrows stacked or side by side.
enum TSpinDirection { spVertical, spHorizontal };
// Which arrow a button shows.
enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum TTimeBtnStateItem { tbFocusRect, tbAllowTimer };
using TTimeBtnState = rtl::SmallSet<TTimeBtnStateItem>;

namespace asgspin {
// The styled edit has an alignment type of the same name.
enum TEditAlign { eaLeft, eaRight, eaCenter };
}  // namespace asgspin

class TAsgSpinButton;

// An arrow whose click repeats while it is held: first after 400 ms, then every 100 ms.
class TAdvTimerSpeedButton : public TSpeedButton {
public:
    explicit TAdvTimerSpeedButton(TComponent* AOwner);
    const char* ClassName() const override { return "TAdvTimerSpeedButton"; }
    TTimeBtnState TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(TTimeBtnState value);
    TButtonDirection ButtonDirection() const { return FButtonDirection; }
    void SetButtonDirection(TButtonDirection value);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool value);
    // The repeat timer; nil until the first press.
    TTimer* RepeatTimer() const { return FRepeatTimer; }
    bool HasMouse() const { return FHasMouse; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;

private:
    void TimerExpired(TObject* Sender);
    void InvalidateParent();
    TAsgSpinButton* OwnerPair() const;

    TTimer* FRepeatTimer = nullptr;
    TTimeBtnState FTimeBtnState;
    TButtonDirection FButtonDirection = bdUp;
    bool FIsWinXP = false;
    bool FHasMouse = false;
};

// The arrow pair: OnUpClick and OnDownClick with the pair as Sender; a press hands the focus to
// FocusControl. The colours are those the arrows paint with (only the three fill colours are
// drawn; the others are kept for the look settings).
class TAsgSpinButton : public TWinControl {
public:
    explicit TAsgSpinButton(TComponent* AOwner);
    const char* ClassName() const override { return "TAsgSpinButton"; }

    TAdvTimerSpeedButton* UpButton() const { return FUpButton; }
    TAdvTimerSpeedButton* DownButton() const { return FDownButton; }
    TAdvTimerSpeedButton* FocusedButton() const { return FFocusedButton; }
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection value);
    // nil loads the built-in arrow ("AsgSpinUp", "AsgSpinDown") with one image.
    TBitmap* UpGlyph() const { return FUpButton->Glyph(); }
    void SetUpGlyph(TBitmap* value);
    TBitmap* DownGlyph() const { return FDownButton->Glyph(); }
    void SetDownGlyph(TBitmap* value);
    TNumGlyphs UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
    void SetUpNumGlyphs(TNumGlyphs value) { FUpButton->SetNumGlyphs(value); }
    TNumGlyphs DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
    void SetDownNumGlyphs(TNumGlyphs value) { FDownButton->SetNumGlyphs(value); }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool value);

    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor value) { SetColour(FButtonColor, value); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor value) { SetColour(FButtonColorHot, value); }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor value) { SetColour(FButtonColorDown, value); }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor value) { SetColour(FButtonTextColor, value); }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor value) { SetColour(FButtonTextColorHot, value); }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor value) { SetColour(FButtonTextColorDown, value); }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor value) { SetColour(FButtonBorderColor, value); }

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TAdvTimerSpeedButton* CreateButton();
    void BtnClick(TObject* Sender);
    void BtnMouseDown(TObject* Sender, TMouseButton Button);
    void FocusBtn(TAdvTimerSpeedButton* Button);
    void SetColour(TColor& field, TColor value);
    // Widens W to the direction's minimum and lays the arrows out in W x H.
    void AdjustSize(int& W, int& H);

    TAdvTimerSpeedButton* FUpButton = nullptr;
    TAdvTimerSpeedButton* FDownButton = nullptr;
    TAdvTimerSpeedButton* FFocusedButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    TSpinDirection FDirection = spVertical;
    bool FIsWinXP = false;
    TColor FButtonColorDown = clNone, FButtonBorderColor = clNone, FButtonTextColor = clNone,
           FButtonTextColorHot = clNone, FButtonColor = clNone, FButtonColorHot = clNone,
           FButtonTextColorDown = clNone;
};

class TAsgSpinEdit : public TCustomMaskEdit {
public:
    explicit TAsgSpinEdit(TComponent* AOwner);
    ~TAsgSpinEdit() override;
    const char* ClassName() const override { return "TAsgSpinEdit"; }

    // Step the value (the date or time part under the caret); Page matters for reals only.
    virtual void SpinUp(bool Page);
    virtual void SpinDown(bool Page);
    // Whether a typed character is allowed.
    virtual bool AcceptChar(char16_t& Key);
    virtual void UpButtonClick(TObject* Sender);
    virtual void DownButtonClick(TObject* Sender);

    TAsgSpinButton* Button() const { return FButton; }

    // Unparsable text reads as MinValue (also for reals), MinDateValue, and 0 for times.
    int Value() const;
    void SetValue(int value);
    double FloatValue() const;
    void SetFloatValue(double value);
    TDateTime DateValue() const;
    void SetDateValue(TDateTime value);
    TDateTime TimeValue() const;
    void SetTimeValue(TDateTime value);

    // Equal bounds mean no limit.
    int MinValue() const { return FMinValue; }
    void SetMinValue(int value) { FMinValue = value; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value) { FMaxValue = value; }
    double MinFloatValue() const { return FMinFloatValue; }
    void SetMinFloatValue(double value) { FMinFloatValue = value; }
    double MaxFloatValue() const { return FMaxFloatValue; }
    void SetMaxFloatValue(double value) { FMaxFloatValue = value; }
    TDateTime MinDateValue() const { return FMinDateValue; }
    void SetMinDateValue(TDateTime value) { FMinDateValue = value; }
    TDateTime MaxDateValue() const { return FMaxDateValue; }
    void SetMaxDateValue(TDateTime value) { FMaxDateValue = value; }

    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }
    double IncrementFloat() const { return FIncrementFloat; }
    void SetIncrementFloat(double value) { FIncrementFloat = value; }
    double IncrementFloatPage() const { return FIncrementFloatPage; }
    void SetIncrementFloatPage(double value) { FIncrementFloatPage = value; }
    int IncrementSeconds() const { return FIncrementSeconds; }
    void SetIncrementSeconds(int value) { FIncrementSeconds = value; }
    int IncrementMinutes() const { return FIncrementMinutes; }
    void SetIncrementMinutes(int value) { FIncrementMinutes = value; }
    int IncrementHours() const { return FIncrementHours; }
    void SetIncrementHours(int value) { FIncrementHours = value; }

    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool value) { FEditorEnabled = value; }
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection value);
    TAsgSpinType SpinType() const { return FSpinType; }
    void SetSpinType(TAsgSpinType value);
    int Precision() const { return FPrecision; }
    void SetPrecision(int value);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool value) { FReturnIsTab = value; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool value);
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool value) { FExcelStyleDecimalSeparator = value; }
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool value) { FShowSeconds = value; }
    asgspin::TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(asgspin::TEditAlign value);
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool value);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool value);
    // Read by the grid when it takes the value back: an empty text clears the cell.
    bool AllowEmptyValue() const { return FAllowEmptyValue; }
    void SetAllowEmptyValue(bool value) { FAllowEmptyValue = value; }

    // The height the edit is held at, at least.
    int MinHeight();
    void Loaded() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void Dispatch(TMessage& Message) override;
    void WMKeyDown(TMessage& Message) override;
    void WMChar(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;

private:
    void Step(int Dir, bool Page);
    void SetEditRect();
    void Relayout();
    TDateTime StepDate(TDateTime value, int Dir) const;
    TDateTime StepTime(TDateTime value, int Dir) const;
    String TimeText(TDateTime value) const;

    int FMinValue = 0, FMaxValue = 100;
    double FMinFloatValue = 0.0, FMaxFloatValue = 100.0;
    TDateTime FMinDateValue = 0, FMaxDateValue = 0;
    TDateTime FDateValue = 0, FTimeValue = 0;
    int FIncrement = 1;
    double FIncrementFloat = 0.1;
    TAsgSpinButton* FButton = nullptr;
    bool FEditorEnabled = true;
    TSpinDirection FDirection = spVertical;
    TAsgSpinType FSpinType = sptNormal;
    int FPrecision = 0;
    bool FReturnIsTab = false;
    bool FIsWinXP = false;
    bool FExcelStyleDecimalSeparator = false;
    bool FShowSeconds = true;
    int FIncrementSeconds = 1, FIncrementMinutes = 1, FIncrementHours = 1;
    asgspin::TEditAlign FEditAlign = asgspin::eaLeft;
    bool FSpinFlat = false, FSpinTransparent = false;
    bool FAllowEmptyValue = false;
    double FIncrementFloatPage = 1.0;
};
