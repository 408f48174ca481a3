#pragma once
// Unit AdvDateTimePicker: the platform date-time picker with AutoTab, which moves the caret to
// the next field as soon as typed digits complete one, through the registered message
// "DTPShiftFocus" the control posts to itself after each digit; and the flat and metro looks'
// settings (border, drop-button colours, hover and focus).
#include "platform/ui/ComCtrlsDateTime.h"
#include <memory>

#include "platform/ui/DrawnCtrls.h"
#include "platform/ui/StdCtrls.h"


class TCustomDateTimePicker : public TDateTimePicker {
public:
    explicit TCustomDateTimePicker(TComponent* AOwner);
    const char* ClassName() const override { return "TCustomDateTimePicker"; }

    // The registered "DTPShiftFocus" message.
    static UINT ShiftFocusMessage();

    bool AutoTab() const { return FAutoTab; }
    virtual void SetAutoTab(bool value) { FAutoTab = value; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    virtual void SetBorderStyle(TBorderStyle value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    bool MetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(bool value);
    // The metro look: MetroStyle on a picker that is not of the native look.
    bool IsMetroLook() { return FMetroStyle && !IsNativeLook(); }
    int ButtonWidth() const { return FButtonWidth; }
    bool ButtonHover() const { return FButtonHover; }
    bool MouseInControl() const { return FMouseInControl; }
    bool HasFocus() const { return FHasFocus; }

    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor value) { FButtonColor = value; }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor value) { FButtonColorHot = value; }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor value) { FButtonColorDown = value; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor value) { FButtonBorderColor = value; }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor value) { FButtonTextColor = value; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor value) { FButtonTextColorDown = value; }

protected:
    // The reaction to "DTPShiftFocus": for the time kind, Right when the digit completed a field.
    virtual void ShiftFocus();
    virtual bool IsNativeLook() { return true; }

    void KeyPress(char16_t& Key) override;
    void Dispatch(TMessage& Message) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

    WORD Fh = 0, Fm = 0, Fs = 0, Fms = 0;

private:
    // The flat look's outline colour: the parent's with bsNone, the themed border, BorderColor.
    TColor OutlineColor();
    // The outline (0, 0)-(width - 1, height - 1), and 1 px inside it when no theme is active.
    void DrawOutline(TCanvas* c, TColor color);
    void PaintFlat();
    // The metro drop button: custom colours, the theme's combo button or the classic one.
    void DrawDropButton(TCanvas* c);
    static bool MouseButtonDown();
    void PaintNonClient();

    TBorderStyle FBorderStyle = bsNone;
    TColor FBorderColor = static_cast<TColor>(0);
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
    bool FIsThemed = false;
    int FButtonWidth = 0;
    bool FButtonHover = false;
    bool FMouseInControl = false;
    bool FMetroStyle = false;
    bool FHasFocus = false;
    bool FAutoTab = false;
};

enum TAdvDateTimeKind : uint8_t { dkDate, dkTime, dkDateTime };

namespace advdatetimepicker {

// Where the caption label stands; the ordinals are the shared placement's (styled::TLabelPlace).
enum TLabelPosition : uint8_t {
    lpLeftTop,
    lpLeftCenter,
    lpLeftBottom,
    lpTopLeft,
    lpBottomLeft,
    lpLeftTopLeft,
    lpLeftCenterLeft,
    lpLeftBottomLeft,
    lpTopCenter,
    lpBottomCenter,
    lpRightTop,
    lpRightCenter,
    lpRighBottom,
    lpTopRight,
    lpBottomRight
};

}  // namespace advdatetimepicker

// The styled picker with a Kind: dkDateTime embeds an unstyled time part at its right end, so
// that one control edits a date and a time. Not of the native look: MetroStyle switches the
// metro look on.
class TAdvDateTimePicker : public TCustomDateTimePicker {
public:
    static constexpr int32_t kVersionNr = 0x01020000;

    explicit TAdvDateTimePicker(TComponent* AOwner);
    ~TAdvDateTimePicker() override;
    const char* ClassName() const override { return "TAdvDateTimePicker"; }

    TAdvDateTimeKind Kind() const { return FKind; }
    void SetKind(TAdvDateTimeKind value);
    // With a time part, its time.
    TDateTime Time() const;
    void SetTime(TDateTime value);
    // Whole seconds: milliseconds are dropped on writing.
    TDateTime DateTime() const;
    virtual void SetDateTime(TDateTime value);
    TDateTime Date() const { return TCustomDateTimePicker::Date(); }
    // Keeps the time of day.
    void SetDate(TDateTime value);
    const String& TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const String& value);
    void SetAutoTab(bool value) override;
    void SetBorderStyle(TBorderStyle value) override;
    TCustomDateTimePicker* TimePart() const { return FTimePicker; }
    String Version() const;
    void SetVersion(const String&) {}
    // Places the time part (see the design record); frees it when hidden.
    void LayoutTimePicker();

    // ---- The caption label, made with its first caption
    TLabel* PickerLabel() const { return FLabel; }
    String LabelCaption() const { return FLabel ? FLabel->Caption() : String(); }
    void SetLabelCaption(const String& value);
    advdatetimepicker::TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(advdatetimepicker::TLabelPosition value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool value);
    TFont* LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(const TFont* value);
    // The label is bold while the picker has the focus.
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool value) { FFocusLabel = value; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetParent(TWinControl* AParent) override;

    TNotifyEvent OnTimeChange;
    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;

protected:
    void AfterConstruction() override;
    bool IsNativeLook() override { return false; }
    void PlaceLabel();
    void ShiftFocus() override;
    void KeyPress(char16_t& Key) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateTimePicker();
    // The check box's coupling: DTM_SETSYSTEMTIME without a value, the enabled state.
    void Dispatch(TMessage& Message) override;
    void CNNotify(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void BoldLabel(bool bold);

    WORD Fy = 0, Fmo = 0, Fd = 0;

private:
    TAdvDateTimeKind FKind = dkDateTime;
    String FTimeFormat;
    TCustomDateTimePicker* FTimePicker = nullptr;
    bool FIgnoreTimePickerCheck = false;
    // The first paint lays the time part out once more.
    bool FFirstRun = true;
    TLabel* FLabel = nullptr;
    std::unique_ptr<TFont> FLabelFont = std::make_unique<TFont>();
    advdatetimepicker::TLabelPosition FLabelPosition = advdatetimepicker::lpLeftTop;
    int FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FFocusLabel = false;
    bool FLabelAlwaysEnabled = false;
    bool FParentFnt = false;
    // The time part enabled as the picker is, when checked.
    void CoupleTimePart();
};
