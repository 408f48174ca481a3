#pragma once
// Part of the unit _GClass: the spin and auto-repeat buttons. Kept apart from _GClass.h because the
// speed button's header brings the standard controls' names, some of which (lpLeft, lpRight) the
// lamp's unit also declares.
#include <cstdint>

#include "platform/ui/Buttons.h"
#include "platform/ui/Controls.h"

// A speed button that repeats its click while it is held: from StartDelay after the press, once
// per Interval, driven by the flash timer. The release clicks once more as usual.
class TMvTimerSpeedBtn : public TSpeedButton {
public:
    explicit TMvTimerSpeedBtn(TComponent* AOwner);
    ~TMvTimerSpeedBtn() override;
    const char* ClassName() const override { return "TMvTimerSpeedBtn"; }

    // Taken only from 50 ms on; a running repeat keeps its period until the next press.
    int32_t Interval() const { return FInterval; }
    void SetInterval(int32_t V);
    uint32_t StartDelay() const { return FStartDelay; }
    void SetStartDelay(uint32_t V) { FStartDelay = V; }
    bool TimerEnabled() const { return FTimerEnabled; }
    void SetTimerEnabled(bool V) { FTimerEnabled = V; }

    // The 64-bit tick count from which repeats are due, so the wrap of the 32-bit count never
    // makes a fresh press repeat at once.
    uint64_t StartTime = 0;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;

private:
    int32_t FInterval = 100;
    uint32_t FStartDelay = 500;
    bool FTimerEnabled = true;
};

// Two stacked auto-repeat arrows reporting OnUpClick and OnDownClick with the spin button as
// sender; a press can hand the focus to FocusControl.
class TMvSpinButton : public TWinControl {
public:
    explicit TMvSpinButton(TComponent* AOwner);
    const char* ClassName() const override { return "TMvSpinButton"; }

    // Owned children: the up arrow and the down arrow.
    TMvTimerSpeedBtn* FUpButton = nullptr;
    TMvTimerSpeedBtn* FDownButton = nullptr;

    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* V);
    // None restores the built-in arrow (two images: normal and disabled).
    TBitmap* UpGlyph() const { return FUpButton->Glyph(); }
    void SetUpGlyph(TBitmap* V);
    TBitmap* DownGlyph() const { return FDownButton->Glyph(); }
    void SetDownGlyph(TBitmap* V);
    TNumGlyphs UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
    void SetUpNumGlyphs(TNumGlyphs V) { FUpButton->SetNumGlyphs(V); }
    TNumGlyphs DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
    void SetDownNumGlyphs(TNumGlyphs V) { FDownButton->SetNumGlyphs(V); }
    // Written to both arrows (with their rules), read from the up arrow.
    int32_t Interval() const { return FUpButton->Interval(); }
    void SetInterval(int32_t V);
    uint32_t StartDelay() const { return FUpButton->StartDelay(); }
    void SetStartDelay(uint32_t V);
    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetEnabled(bool V) override;
    void Loaded() override;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TMvTimerSpeedBtn* CreateButton();
    void BtnClick(TObject* Sender);
    void BtnMouseDown(TMouseButton Button);
    // Widens W to 15 at least and lays the arrows out in W x H.
    void AdjustSize(int& W, int& H);

    TWinControl* FFocusControl = nullptr;
};
