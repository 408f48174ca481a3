#pragma once
// Unit AsgDateTimePicker: the platform's date-time picker with a flat look of its own (the metro
// style): the native button area cleared and an own drop button drawn, border and focus-border
// colours, and a flat frame when Ctl3D is off and a BorderColor is set. Without MetroStyle it
// is the platform picker.
#include "platform/ui/ComCtrlsDateTime.h"
#include "platform/ui/Forms.h"

class TAsgDateTimePicker : public TDateTimePicker {
public:
    explicit TAsgDateTimePicker(TComponent* AOwner);
    const char* ClassName() const override { return "TAsgDateTimePicker"; }
    // Applies bsSingle through ApplyBorderStyle (so a descendant sees it), then stores bsNone.
    void AfterConstruction() override;

    // Stores the style and repaints when it changes.
    virtual void ApplyBorderStyle(TFormBorderStyle Value);
    TFormBorderStyle StoredBorderStyle() const { return FBorderStyle; }

    bool MetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(bool value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor value) { FButtonColor = value; Invalidate(); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor value) { FButtonColorHot = value; }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor value) { FButtonColorDown = value; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor value) { FButtonBorderColor = value; }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor value) { FButtonTextColor = value; }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor value) { FButtonTextColorHot = value; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor value) { FButtonTextColorDown = value; }

    // "1.0.0.0"; writing it changes nothing.
    String Version() const;
    void SetVersion(const String&) {}
    int GetVersionNr() const { return 0x01000000; }

protected:
    void Dispatch(TMessage& Message) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    bool MetroActive() const { return FMetroStyle && !ComponentState().Contains(csDesigning); }
    bool ThemedActive() const;
    bool Hot() const;
    void UpdateOwnerPainting();
    void AfterPaint();
    void AfterNCPaint();
    void DrawButton(TCanvas* c);
    void DrawBorders();

    TFormBorderStyle FBorderStyle = bsNone;
    TColor FBorderColor = clNone;
    bool FIsThemed = false;
    TColor FButtonColorDown = clNone, FButtonBorderColor = clNone, FButtonTextColor = clNone,
           FButtonTextColorHot = clNone, FButtonColor = clNone, FButtonColorHot = clNone,
           FButtonTextColorDown = clNone;
    int FButtonWidth = 0;
    bool FButtonHover = false;
    bool FMouseInControl = false;
    bool FIsWinXP = false;
    bool FMetroStyle = false;
    TColor FFocusBorderColor = clNone;
    bool FDisabledBorder = false;
    bool FHasFocus = false;
    bool FFocusBorder = false;
};
