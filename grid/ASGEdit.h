#pragma once
// Unit ASGEdit: a one-line edit with a push button embedded at its right edge (TAsgEditBtn) and
// a variant showing a measuring unit between the text and the button, chosen from a pop-up menu
// (TAsgUnitEditBtn). The button is TAsgEditButton, a small window hosting one TAdvSpeedButton,
// which clicks on the release of the left button.
#include <functional>
#include <memory>

#include "platform/rtl/StringList.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/StdCtrls.h"

namespace ASGEdit {
// The grid's editors have an event type of the same name.
using TUnitChangeEvent = std::function<void(TObject* Sender, const String& NewUnit)>;
}  // namespace ASGEdit

// A speed button drawn in its owner's colours, in the visual style, flat or classic.
class TAdvSpeedButton : public TSpeedButton {
public:
    using TSpeedButton::TSpeedButton;
    const char* ClassName() const override { return "TAdvSpeedButton"; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool value);
    // The button's own flat look (not the speed button's Flat), read by its drawing only.
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    // The mouse is over the button.
    bool Hot() const { return FHot; }

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    bool FIsWinXP = false;
    bool FFlat = false;
    bool FHot = false;
};

class TAsgEditButton : public TWinControl {
public:
    explicit TAsgEditButton(TComponent* AOwner);
    const char* ClassName() const override { return "TAsgEditButton"; }
    TAdvSpeedButton* Button() const { return FButton; }
    TBitmap* Glyph() const { return FButton->Glyph(); }
    void SetGlyph(TBitmap* value) { FButton->SetGlyph(value); }
    TNumGlyphs NumGlyphs() const { return FButton->NumGlyphs(); }
    void SetNumGlyphs(TNumGlyphs value) { FButton->SetNumGlyphs(value); }
    String ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const String& value) { FButton->SetCaption(value); }
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);

    // Only the three fill colours change what is drawn; the others are kept for the looks.
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

    // Fired on the release of the left button, with the host as Sender.
    TNotifyEvent OnClick;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;

protected:
    void WMSize(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void Released(TMouseButton Button);
    void SetColour(TColor& field, TColor value);
    void CoverButton();

    TAdvSpeedButton* FButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    bool FFlat = false;
    TColor FButtonColorDown = clNone, FButtonBorderColor = clNone, FButtonTextColor = clNone,
           FButtonTextColorHot = clNone, FButtonColor = clNone, FButtonColorHot = clNone,
           FButtonTextColorDown = clNone;
};

class TAsgEditBtn : public TCustomEdit {
public:
    explicit TAsgEditBtn(TComponent* AOwner);
    ~TAsgEditBtn() override;
    const char* ClassName() const override { return "TAsgEditBtn"; }

    // The embedded button was clicked (Sender: the host button) or F4 pressed (Sender: the edit).
    virtual void ButtonClick(TObject* Sender);

    TAsgEditButton* Button() const { return FButton; }
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int value);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool value) { FEditorEnabled = value; }
    TBitmap* Glyph() const { return FButton->Glyph(); }
    void SetGlyph(TBitmap* value) { FButton->SetGlyph(value); }
    String ButtonCaption() const { return FButton->ButtonCaption(); }
    void SetButtonCaption(const String& value) { FButton->SetButtonCaption(value); }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool value);
    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool value);

    TNotifyEvent OnClickBtn;

    int MinHeight();

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;
    void WMChar(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void SetEditRect();

    // The width kept free for a unit text between the text and the button.
    int FUnitSize = 0;

private:
    bool FRightAlign = false;
    TAsgEditButton* FButton = nullptr;
    bool FEditorEnabled = true;
    int FButtonWidth = 0;
    bool FIsWinXP = false;
};

class TAsgUnitEditBtn : public TAsgEditBtn {
public:
    explicit TAsgUnitEditBtn(TComponent* AOwner);
    const char* ClassName() const override { return "TAsgUnitEditBtn"; }

    // Fires OnClickBtn with the edit as Sender, then offers the units in a pop-up menu.
    void ButtonClick(TObject* Sender) override;

    TStringList* Units() const { return FUnits.get(); }
    // Copies the list; nil is ignored.
    void SetUnits(TStrings* value);
    const String& UnitID() const { return FUnitID; }
    void SetUnitID(const String& value);
    int UnitSpace() const { return FUnitSize; }
    void SetUnitSpace(int value);
    // Text followed by UnitID. Written, the first unit (in list order) that first occurs at the
    // very end of the value splits it; without one nothing changes.
    String TextAndUnit() const { return Text() + FUnitID; }
    void SetTextAndUnit(const String& value);

    ASGEdit::TUnitChangeEvent OnUnitChanged;

protected:
    void Dispatch(TMessage& Message) override;
    void PaintWindow(HDC DC) override;

private:
    String FUnitID;
    std::unique_ptr<TStringList> FUnits;
};
