#pragma once
// Unit AdvCalculatorDropdown: the calculator keypad and the calculator drop-down.
//
// TCustomButtonPanel is a keypad of glossy GDI+ keys (TButtonItem) in the colours of a
// TButtonAppearance: it lays out the 28 keys of a calculator on a fixed grid, keeps a hot and a
// pressed key and reports a click by the key's index; the key's meaning is its Tag. Standalone on
// a form it draws a black frame and makes its keys when loaded; in the drop-down's pop-up it is
// linked to the drop-down (SetAdvDropDown).
//
// TAdvCalculatorDropdown is a float drop-down edit whose pop-up is the keypad: an accumulator
// with one pending operation, a memory, percent, square root and reciprocal, driven by the
// keypad, by keys typed while the pop-up is open and by keys typed into the closed edit.
#include <cstdint>
#include <functional>
#include <memory>

#include "dropdown/AdvDropDown.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"

// ---------------------------------------------------------------------------------------------
// The keypad

// A key. Its setters only store; Left, Top, Width and Height are written by ArrangeButtons.
class TButtonItem : public TCollectionItem {
public:
    explicit TButtonItem(TCollection* Collection = nullptr);
    ~TButtonItem() override;
    const char* ClassName() const override { return "TButtonItem"; }
    // From a key: caption, caption colour, tag, image index, picture, enabled and name (not the
    // special flag nor the place); any other source as the collection item does.
    void Assign(const TPersistent* Source) override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value) { FCaption = value; }
    // Kept and copied; the painting does not use it.
    TColor CaptionColor() const { return FCaptionColor; }
    void SetCaptionColor(TColor value) { FCaptionColor = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { FImageIndex = value; }
    // Drawn in place of ImageIndex when not empty.
    TPicture* Image() const { return FImage.get(); }
    void SetImage(const TPicture* value) { FImage->Assign(value); }
    bool HasImage() const;
    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }
    // A disabled key is never hot nor pressed; its list image is drawn greyed.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    // Its caption in the appearance's SpecialTextColor.
    bool Special() const { return FSpecial; }
    void SetSpecial(bool value) { FSpecial = value; }
    const String& Name() const { return FName; }
    void SetName(const String& value) { FName = value; }
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return TRect(FLeft, FTop, FLeft + FWidth, FTop + FHeight); }

private:
    String FCaption;
    TColor FCaptionColor = static_cast<TColor>(0xFFFFFF);
    int FImageIndex = -1;
    std::unique_ptr<TPicture> FImage;
    int FTag = 0;
    bool FEnabled = true;
    bool FSpecial = false;
    String FName;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
};

// The keys. OnChange is there for the owner to hook; the keys' setters tell it nothing.
class TButtonItems : public advdropdown::TNotifyingItems<TButtonItem, false> {
public:
    using TNotifyingItems::TNotifyingItems;
    const char* ClassName() const override { return "TButtonItems"; }
};

// The keys' look. OnChange follows a colour setter that changes its value, but for ShineColor
// and the two glow colours, which are stored silently.
class TButtonAppearance : public TPersistent {
public:
    TButtonAppearance();
    ~TButtonAppearance() override;
    const char* ClassName() const override { return "TButtonAppearance"; }
    // From a key appearance: the colours (through their setters, the glows directly), the font,
    // then TextColor and SpecialTextColor; any other source as the platform does.
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
    TColor GlowColorHot() const { return FGlowColorHot; }
    void SetGlowColorHot(TColor value) { FGlowColorHot = value; }
    TColor GlowColorDown() const { return FGlowColorDown; }
    void SetGlowColorDown(TColor value) { FGlowColorDown = value; }
    TColor ShineColor() const { return FShineColor; }
    void SetShineColor(TColor value) { FShineColor = value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value) { Change(FBorderColor, value); }
    TColor BorderColorHot() const { return FBorderColorHot; }
    void SetBorderColorHot(TColor value) { Change(FBorderColorHot, value); }
    TColor BorderColorDown() const { return FBorderColorDown; }
    void SetBorderColorDown(TColor value) { Change(FBorderColorDown, value); }
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor value) { Change(FTextColor, value); }
    TColor SpecialTextColor() const { return FSpecialTextColor; }
    void SetSpecialTextColor(TColor value) { Change(FSpecialTextColor, value); }
    // Size 10, bold; the setter assigns into it.
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* value) { FFont->Assign(value); }

    TNotifyEvent OnChange;

private:
    void Change(TColor& field, TColor value);

    TColor FColor = static_cast<TColor>(0x9A915F);
    TColor FColorTo = static_cast<TColor>(0xB0A170);
    TColor FColorHot = static_cast<TColor>(0x9F6F1C);
    TColor FColorHotTo = static_cast<TColor>(0xD5C244);
    TColor FColorDown = static_cast<TColor>(0x4B2F08);
    TColor FColorDownTo = static_cast<TColor>(0xADB514);
    TColor FGlowColorHot = static_cast<TColor>(0xD5C244);
    TColor FGlowColorDown = static_cast<TColor>(0xD5C244);
    TColor FShineColor = static_cast<TColor>(0xFFFFFF);
    TColor FBorderColor = static_cast<TColor>(0);
    TColor FBorderColorHot = static_cast<TColor>(0);
    TColor FBorderColorDown = static_cast<TColor>(0);
    TColor FTextColor = static_cast<TColor>(0);
    TColor FSpecialTextColor = static_cast<TColor>(0x000080);
    std::unique_ptr<TFont> FFont;
};

// The calculator's 28 keys laid out on the grid, or keys placed by their owner.
enum TButtonPanelType : uint8_t { plCalculator, plCustom };
// Index: the clicked key's place in Buttons.
using TCalculatorButtonClickEvent = std::function<void(TObject* Sender, int Index)>;

// A glossy key face on a GDI+ graphics of the canvas, anti-aliased: the upper half Color under a
// white shine, the lower half a vertical gradient from Color to ColorTo, a white line under the
// top edge, an inner line in LineColor, the border; with a GlowColor (not clNone) the border
// again in the glow at alpha 100 and a halo of eight gradient pieces round the key, alpha 130
// next to it to 0 at 8 (the corners 6) pixels out.
void DrawGlossyButton(TCanvas* Canvas, const TRect& R, TColor BorderColor, TColor ShineColor, TColor GlowColor,
                      TColor ColorTo, TColor Color, TColor LineColor);

class TAdvCustomDropDown;

class TCustomButtonPanel : public TCustomControl {
public:
    explicit TCustomButtonPanel(TComponent* AOwner);
    ~TCustomButtonPanel() override;
    const char* ClassName() const override { return "TCustomButtonPanel"; }
    // A standalone keypad makes its default keys.
    void Loaded() override;

    TButtonItems* Buttons() const { return FButtons.get(); }
    void SetButtons(const TButtonItems* value) { FButtons->Assign(value); }
    TButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
    void SetButtonAppearance(const TButtonAppearance* value) { FButtonAppearance->Assign(value); }
    TItemLayout ButtonLayout() const { return FButtonLayout; }
    void SetButtonLayout(TItemLayout value) { FButtonLayout = value; }
    TButtonPanelType ButtonPanelType() const { return FButtonPanelType; }
    void SetButtonPanelType(TButtonPanelType value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle value) { FItemColorStyle = value; }
    // Kept for the owner.
    TCustomEdit* Edit() const { return FEdit; }
    void SetEdit(TCustomEdit* value);
    // The drop-down whose pop-up holds the keypad; none: standalone.
    TAdvCustomDropDown* AdvDropDown() const { return FAdvDropDown; }
    void SetAdvDropDown(TAdvCustomDropDown* value) { FAdvDropDown = value; }

    // The hot and the pressed key, -1 for none. Nothing for the key it is already or for an
    // existing disabled key; otherwise the old key is invalidated and the new one drawn at once.
    int ButtonHot() const { return FButtonHot; }
    void SetButtonHot(int Index);
    int ButtonDown() const { return FButtonDown; }
    void SetButtonDown(int Index);
    // The first key whose rectangle holds the point (right and bottom edges outside); -1: none.
    int ButtonAtPos(const TPoint& P) const;

    TCalculatorButtonClickEvent OnButtonClick;

    // ---- The virtual operations the keypad adds, in slot order
    // The key's face in its state, then its image and caption.
    virtual void DrawPanelButton(int Index, TCanvas* Canvas);
    // The client area less 8 on every side.
    virtual void GetButtonsArea(TRect& Rect);
    // A size that holds the largest image and caption (nothing here calls it).
    virtual void ComputeButtonSize(TSize& Size);
    virtual void ClearButtons();
    virtual void ResetButtons();
    // With no keys: the calculator's 28 keys (plCalculator), then ArrangeButtons.
    virtual void CreateDefaultButtons();
    // The calculator's grid (plCalculator with keys; EListError with fewer than 28).
    virtual void ArrangeButtons();
    // The key's rectangle grown by 8 on every side, its halo with it, invalidated with erasing.
    virtual void InvalidateButton(int Index);
    virtual void ButtonClicked(int Index);

protected:
    void Paint() override;
    void Resize() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(TMessage& Message) override;

private:
    bool Standalone() const { return FAdvDropDown == nullptr; }
    bool Disabled(int Index) const;
    bool Valid(int Index) const { return Index >= 0 && Index < FButtons->Count(); }
    void Changed(TObject* Sender);

    std::unique_ptr<TButtonItems> FButtons;
    std::unique_ptr<TButtonAppearance> FButtonAppearance;
    TItemLayout FButtonLayout = ilCaptionRight;
    TButtonPanelType FButtonPanelType = plCalculator;
    TCustomImageList* FImages = nullptr;
    TSelectionColorStyle FItemColorStyle = scCustom;
    TCustomEdit* FEdit = nullptr;
    TAdvCustomDropDown* FAdvDropDown = nullptr;
    int FButtonHot = -1;
    int FButtonDown = -1;
    int FMarginX = 8, FMarginY = 8;
    int FButtonMarginX = 4, FButtonMarginY = 4;
    int FCaptionGap = 0;
};

// ---------------------------------------------------------------------------------------------
// The calculator drop-down

// The run-time locale's separators, and a text without its thousand separators.
char16_t GetThousandSeparator();
char16_t GetDecimalSeparator();
String StripThousandSeparators(const String& text);

// A float edit (Precision 2) whose pop-up, 230 wide with neither header nor footer, is the
// keypad (150 high). What the calculator shows ("0", a digit, "Error", a "%g" value) is written
// as it stands and is what a cancelled close restores; numbers it computes are shown through
// SetFloatValue. Reading the shown number raises the platform's conversion error for a text that
// is none ("-" alone), leaving accumulator, pending operation and memory as they were.
class TAdvCalculatorDropdown : public TAdvCustomDropDown {
public:
    static constexpr int kKeypadHeight = 150;

    explicit TAdvCalculatorDropdown(TComponent* AOwner);
    ~TAdvCalculatorDropdown() override;
    const char* ClassName() const override { return "TAdvCalculatorDropdown"; }

    // Copied into the keypad at every opening; the component styles write into it.
    TButtonAppearance* CalcButtonAppearance() const { return FCalcButtonAppearance.get(); }
    void SetCalcButtonAppearance(const TButtonAppearance* value) { FCalcButtonAppearance->Assign(value); }
    using TAdvCustomDropDown::Precision;
    using TAdvCustomDropDown::SetPrecision;
    // Money with the locale's grouping, or a plain float.
    bool ShowThousandSeparator() const { return FShowThousandSeparator; }
    void SetShowThousandSeparator(bool value);
    // The shown number (an empty text becomes "0" first); 0 when it is none. The setter shows
    // the value in "%g".
    double Value();
    void SetValue(double value);
    // "=": the pending operation applied.
    void CalcResult() { DoEquals(); }
    // The keypad (made with the pop-up, so none at design time).
    TCustomButtonPanel* ButtonPanel() const { return FButtonPanel; }

    void SetComponentStyle(TQRBStyle AStyle) override;

protected:
    void AfterConstruction() override;
    // The keypad, 150 high, in the pop-up, its clicks to KeypadClick.
    void BuildPopup() override;
    // The appearance and the colour into the keypad; a deactivation closes without cancelling;
    // the next digit starts a new number.
    void PreparePopup() override;
    // The character to the edit, then to the calculator; Enter and Backspace are the key-down's.
    void PopupKeyPress(TObject* Sender, char16_t& Key) override;
    // The key to the edit (but Enter, which the character computes and closes with); then Tab
    // and F4 close accepted and Backspace takes the last character off.
    void PopupKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) override;
    // Called first on every keypad click and every character of the open pop-up.
    virtual void BeforeCalcInput() {}
    // A character for the edit (typed, from the pop-up, or the grid's editor's): the operators
    // of the closed edit, then the characters a number may take; Key 0 when it is done with.
    void CalcKeyPress(char16_t& Key);
    // The character goes through CalcKeyPress ahead of the typed input's rules, which would drop
    // an operator.
    void CharMessage(TMessage& Message) override;
    // Delete on an empty text or "Error" shows "0".
    void KeyDownMessage(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void KeypadClick(int Index);
    void PopupCharacter(char16_t Key);
    void Calculate();
    void DoAdd();
    void DoSubtract();
    void DoMultiply();
    void DoDivide();
    void DoEquals();
    void DoPercent();

    double Accumulator() const { return FAccumulator; }
    double Memory() const { return FMemory; }
    int PendingOperation() const { return FPendingOp; }
    bool NewValue() const { return FNewValue; }

private:
    // The text as it stands between prefix and suffix, remembered for a cancelled close.
    void ShowText(const String& value);
    // An empty text (or "Error" with orError) shows "0".
    void ZeroForEmpty(bool orError);
    // The shown number, strictly converted without thousand separators.
    double Displayed() const;
    bool AtMaxLength() const;
    void ClearCalculator();

    TCustomButtonPanel* FButtonPanel = nullptr;
    int FDecimalStep = 0;
    bool FNewValue = false;
    double FAccumulator = 0;
    int FPendingOp = -1;
    bool FCalcClosed = true;
    std::unique_ptr<TButtonAppearance> FCalcButtonAppearance;
    double FMemory = 0;
    bool FShowThousandSeparator = false;
};
