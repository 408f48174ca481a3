#pragma once
// The gradient push button of unit AdvDropDown (which includes this header through the bars'
// header): the small button the pop-up's header and footer make for their button items, the
// look all of a drop-down's buttons share, and the list in which the bars keep their buttons.
#include <cstdint>
#include <memory>

#include "dropdown/AdvDropDownDraw.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Persistent.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"

class TAdvCustomDropDown;

namespace advdropdown {
// The way a gradient of the unit runs (the gradient label has a direction type of its own).
enum TGradientDirection : uint8_t { gdHorizontal, gdVertical };
// A push button, or one that stays down between two presses (the tool button has a style type
// with the same names).
enum TAdvButtonStyle : uint8_t { tasButton, tasCheck };
// absDown: pressed, or down with tasCheck; absExclusive: down in a group; absDropDown is unused.
enum TAdvButtonState : uint8_t { absUp, absDisabled, absDown, absDropDown, absExclusive };
}  // namespace advdropdown

// The look of a drop-down's header and footer buttons, shared by all of them (the buttons hold
// a reference). OnChange fires when a colour or Gradient takes a new value; the font changes
// silently. ColorChecked, ColorCheckedTo and BorderColorChecked, the down look of a check-style
// or grouped button, are not published.
class TAdvButtonAppearance : public TPersistent {
public:
    TAdvButtonAppearance();
    ~TAdvButtonAppearance() override;
    const char* ClassName() const override { return "TAdvButtonAppearance"; }
    // From another button appearance every colour, published or not, and Gradient, through
    // their setters; not the font. Another source is refused as unsupported.
    void Assign(const TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor value) { Change(FColor, value); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value) { Change(FColorTo, value); }
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor value) { Change(FColorHot, value); }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor value) { Change(FColorHotTo, value); }
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor value) { Change(FColorDown, value); }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor value) { Change(FColorDownTo, value); }
    TColor ColorDisabled() const { return FColorDisabled; }
    void SetColorDisabled(TColor value) { Change(FColorDisabled, value); }
    TColor ColorDisabledTo() const { return FColorDisabledTo; }
    void SetColorDisabledTo(TColor value) { Change(FColorDisabledTo, value); }
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor value) { Change(FColorChecked, value); }
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor value) { Change(FColorCheckedTo, value); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value) { Change(FBorderColor, value); }
    TColor BorderColorHot() const { return FBorderColorHot; }
    void SetBorderColorHot(TColor value) { Change(FBorderColorHot, value); }
    TColor BorderColorDown() const { return FBorderColorDown; }
    void SetBorderColorDown(TColor value) { Change(FBorderColorDown, value); }
    TColor BorderColorDisabled() const { return FBorderColorDisabled; }
    void SetBorderColorDisabled(TColor value) { Change(FBorderColorDisabled, value); }
    TColor BorderColorChecked() const { return FBorderColorChecked; }
    void SetBorderColorChecked(TColor value) { Change(FBorderColorChecked, value); }
    advdropdown::TGradientDirection Gradient() const { return FGradient; }
    void SetGradient(advdropdown::TGradientDirection value);
    // "Tahoma" by default; the setter assigns into it.
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* value) { FFont->Assign(value); }

    TNotifyEvent OnChange;

private:
    void Change(TColor& field, TColor value);
    void Changed();

    TColor FColor = clNone;
    TColor FColorTo = clNone;
    TColor FColorHot = static_cast<TColor>(0xF5F0E1);
    TColor FColorHotTo = static_cast<TColor>(0xF9D2B2);
    TColor FColorDown = static_cast<TColor>(0xF5D8CA);
    TColor FColorDownTo = static_cast<TColor>(0xF9BDA0);
    TColor FColorDisabled = static_cast<TColor>(0xF2F2F2);
    TColor FColorDisabledTo = clNone;
    // The hot colours darkened by a tenth in red and green.
    TColor FColorChecked = ShiftColor(static_cast<TColor>(0xF5F0E1), -10, -10, 0);
    TColor FColorCheckedTo = ShiftColor(static_cast<TColor>(0xF9D2B2), -10, -10, 0);
    TColor FBorderColor = clNone;
    TColor FBorderColorHot = static_cast<TColor>(0x808080);
    TColor FBorderColorDown = static_cast<TColor>(0x800000);
    TColor FBorderColorDisabled = static_cast<TColor>(0x808080);
    TColor FBorderColorChecked = static_cast<TColor>(0xFF0000);
    advdropdown::TGradientDirection FGradient = advdropdown::gdVertical;
    std::unique_ptr<TFont> FFont;
};

// The push button of the header and footer bars, 23 x 22 until sized to its content. It paints
// its parent's picture behind itself, then a face in the colours of the shared appearance (none
// given: nothing but the parent's picture) with its image and caption. Buttons of one parent with
// the same non-zero GroupIndex are down one at a time; tasCheck buttons toggle at each release.
// A click gives the parent form the button's ModalResult; linked to a drop-down (a footer button),
// a closing result also closes the pop-up, accepted or cancelled, before OnClick.
class TAdvButton : public TCustomControl {
public:
    explicit TAdvButton(TComponent* AOwner);
    ~TAdvButton() override;
    const char* ClassName() const override { return "TAdvButton"; }
    void Loaded() override;
    void Click() override;

    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    // In a group: a press on the down button raises it.
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value) { FAllowAllUp = value; }
    advdropdown::TAdvButtonStyle Style() const { return FStyle; }
    void SetStyle(advdropdown::TAdvButtonStyle value) { FStyle = value; }
    advdropdown::TAdvButtonState State() const { return FState; }
    // The mouse is over the button; a left press began on it and is held.
    bool MouseInControl() const { return FMouseInControl; }
    bool MousePressed() const { return FMousePressed; }

    // Not owned: the caller's appearance, shared by the buttons of a drop-down.
    TAdvButtonAppearance* Appearance() const { return FAppearance; }
    void SetAppearance(TAdvButtonAppearance* value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // The drop-down whose pop-up a closing result closes (footer buttons).
    TAdvCustomDropDown* AdvDropDown() const { return FAdvDropDown; }
    void SetAdvDropDown(TAdvCustomDropDown* value) { FAdvDropDown = value; }

    // Width: the caption's width or the image's, the larger, + 8; height the same + 4 (nothing
    // without an appearance).
    void SizeToContent();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    // The face by state, then the image and the caption.
    virtual void DrawButton();
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMKeyDown(TMessage& Message) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMFocusChanged(TMessage& Message) override;

private:
    // Tells the buttons of the group that this one went down.
    void NotifyGroup();
    void ButtonPressed(TMessage& Message);
    // The hot state follows where the cursor is: enter or leave performed on itself.
    void TrackMouse();
    // A mouse-leave went missing: the cursor is elsewhere.
    void CheckUnhot();
    // Inside for a dragged press: the right edge out, the bottom edge in.
    bool Inside(int X, int Y) const;
    // The parent's picture behind the button.
    void PaintParentBackground();

    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FMouseInControl = false;
    bool FMousePressed = false;
    bool FDragging = false;
    advdropdown::TAdvButtonStyle FStyle = advdropdown::tasButton;
    advdropdown::TAdvButtonState FState = advdropdown::absUp;
    // Unowned, and freed first: no tick reaches a button half gone.
    std::unique_ptr<TTimer> FUnhotTimer;
    bool FDownLoaded = false;
    bool FInternalClick = false;
    TAdvButtonAppearance* FAppearance = nullptr;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
    TModalResult FModalResult = mrNone;
    TAdvCustomDropDown* FAdvDropDown = nullptr;
};

// A pointer list whose checked access names the way it was misused: an index at or past the end
// raises "Index out of bounds in list read access" ("... write access"); a negative one the
// list's own index error.
class TDbgList : public TList {
public:
    // Empties the list and appends ListA's entries in order.
    void AssignList(const TList& ListA);
    void* GetItemsEx(int Index) const;
    void SetItemsEx(int Index, void* Value);
};
