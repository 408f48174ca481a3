#pragma once
// Unit AdvDropDown: the drop-down edit framework every picker derives from. TAdvCustomDropDown
// is a masked one-line edit with a drop button at its right edge (TDropDownEditButton holding a
// TAdvDropDownSpeedButton), custom borders and an attached caption label; it owns a borderless,
// topmost pop-up form (TDropDownForm) that hosts one picker control under an optional header and
// above an optional footer (AdvDropDownBars.h), routes the pop-up's keys to the edit and closes
// accepted or cancelled. The unit's drawing routines are in AdvDropDownDraw.h.
//
// A picker creates its control in BuildPopup, loads its value into it in PreparePopup, writes
// the chosen value through the Text setter and closes the pop-up. Drop-downs are made with
// NewComponent: work that must reach a descendant's override (BuildPopup, BuildDropButton, the
// Text setter, the selection and component styles) runs in AfterConstruction, and a descendant
// puts what follows its base's steps in its own AfterConstruction, after the inherited one.
//
// Names another unit also defines live in namespace advdropdown: the label positions, the
// gradient direction and the button styles.
#include <cstdint>
#include <functional>
#include <memory>

#include "controls/styled/EditTypes.h"
#include "controls/styled/TypedInput.h"
#include "controls/styled/VizIrovaRE.h"
#include "dropdown/AdvDropDownBars.h"
#include "dropdown/AdvDropDownSelector.h"
#include "dropdown/AdvDropDownDraw.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrlsDrawn.h"

namespace advdropdown {

// Where the caption label stands round the edit; the ordinals are the shared placement's
// (styled::TLabelPlace, controls/styled/LabelPlacement.h).
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

// How the drop button paints: a push button with glyph and caption, or the drop-down arrow.
enum TButtonStyle : uint8_t { bsButton, bsDropDown };

}  // namespace advdropdown

// Where the pop-up opens: below the edit unless it would leave the screen, or always below, or
// always above.
enum TDropPosition : uint8_t { dpAuto, dpDown, dpUp };
// The drop-down edit's input kinds are the styled edit's.
using TDropDownEditType = TAdvEditType;

// acceptdrop comes in true; clearing it keeps the pop-up closed.
using TDropDown = std::function<void(TObject* Sender, bool& acceptdrop)>;
using TDropUp = std::function<void(TObject* Sender, bool Cancelled)>;

class TAdvCustomDropDown;
class TDropDownEditButton;

// ---------------------------------------------------------------------------------------------
// The drop button

// The painted button inside the drop button's container. In the drop-down style it draws the
// arrow (5, 7), (11, 7), (8, 10) on a face in the container's custom colours, on its glyph, in
// the visual style's combo-box button or in the classic look; in the button style a push button
// with glyph and caption. "Down" is the pressed state unless SetUp forces the released look.
class TAdvDropDownSpeedButton : public TSpeedButton {
public:
    explicit TAdvDropDownSpeedButton(TComponent* AOwner);
    const char* ClassName() const override { return "TAdvDropDownSpeedButton"; }

    bool Etched() const { return FEtched; }
    void SetEtched(bool value);
    // The drop-down's hot state (the mouse over the edit, or the edit active); repaints on a change.
    bool Focused() const { return FFocused; }
    void SetFocused(bool value);
    advdropdown::TButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(advdropdown::TButtonStyle value);
    // The mouse is over this button.
    bool Hot() const { return FHot; }
    // Paints a pressed button released while set.
    void SetUp(bool value) { FUp = value; }
    bool Up() const { return FUp; }

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    TDropDownEditButton* Container() const;
    TAdvCustomDropDown* DropDown() const;
    bool Down() const;
    // 4 disabled, 3 down, 2 hot, 1 normal: the visual styles' numbering of both looks.
    int ThemeState() const;
    bool ThemesActive() const;
    void PaintDropDown();
    void PaintPushButton();
    void DrawArrow(TCanvas* canvas, TColor color);

    bool FEtched = false;
    bool FFocused = false;
    bool FHot = false;
    bool FUp = false;
    bool FIsWinXP = false;
    advdropdown::TButtonStyle FButtonStyle = advdropdown::bsButton;
};

// The drop button: a window as wide as its button (ButtonWidth) holding one painted button. A
// left-button release on it raises OnClick with the container as sender. The seven colours are
// clNone until a style or the host's tones set them; ButtonBorderColor is kept but not drawn.
class TDropDownEditButton : public TWinControl {
public:
    explicit TDropDownEditButton(TComponent* AOwner);
    const char* ClassName() const override { return "TDropDownEditButton"; }
    // The width follows ButtonWidth whatever is asked; the inner button fills the height.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;

    TAdvDropDownSpeedButton* Button() const { return FButton; }
    int ButtonWidth() const { return FBWidth; }
    void SetButtonWidth(int value);
    TBitmap* Glyph() const;
    void SetGlyph(TBitmap* value);
    String ButtonCaption() const;
    void SetButtonCaption(const String& value);
    TNumGlyphs NumGlyphs() const;
    void SetNumGlyphs(TNumGlyphs value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);

    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor value);
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor value);
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor value);
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor value);
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor value);
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor value);
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor value) { FButtonBorderColor = value; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CMEnabledChanged(TMessage& Message) override;
    void WMSize(TMessage& Message) override;

private:
    // The bounds as the container keeps them: its button's width, at the asked place and height.
    void Adjust();
    void Repaint(TColor& field, TColor value);

    TAdvDropDownSpeedButton* FButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    int FBWidth = 16;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
};

// ---------------------------------------------------------------------------------------------
// The pop-up

// The borderless, topmost pop-up of a drop-down edit, owned by its form's window. Its surface
// takes no mouse input (its children do) but for a 10 x 10 sizing corner when Sizeable; losing
// the activation to a window outside it closes it, cancelled when CancelOnDeActivate. It paints
// the drop-down's pop-up colours and frame, and keeps its aligned children inside the frame.
class TDropDownForm : public TForm {
public:
    // The form without designed content.
    TDropDownForm(TComponent* AOwner, int Dummy);
    const char* ClassName() const override { return "TDropDownForm"; }
    // Places the window as a plain windowed control does, without the form's own handling.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Makes the header and footer bars, or brings them up to date, from the drop-down's
    // appearances, and hands them its header and footer events.
    void InitializeAndUpdate();
    virtual void UpdateSize() {}

    // The tick count at the last deactivation of the shown pop-up; Deactivated: there was one.
    DWORD DeActivateTime() const { return FDeActivate; }
    bool Deactivated() const { return FDeactivated; }
    bool Shadow() const { return FShadow; }
    void SetShadow(bool value) { FShadow = value; }
    TAdvFooter* Footer() const { return FFooter; }
    TAdvHeader* Header() const { return FHeader; }
    TAdvCustomDropDown* AdvDropDown() const { return FAdvDropDown; }
    void SetAdvDropDown(TAdvCustomDropDown* value) { FAdvDropDown = value; }
    TScrollBox* ScrollBox() const { return FScrollBox; }
    bool Sizeable() const { return FSizeable; }
    void SetSizeable(bool value) { FSizeable = value; }
    bool CancelOnDeActivate() const { return FCancelOnDeActivate; }
    void SetCancelOnDeActivate(bool value) { FCancelOnDeActivate = value; }
    // While set, the pop-up does nothing of its own when it is activated or deactivated.
    bool BlockActivate() const { return FBlockActivate; }
    void SetBlockActivate(bool value) { FBlockActivate = value; }
    // While the user drags the pop-up's size.
    TNotifyEvent OnSizing;

protected:
    void CreateParams(TCreateParams& Params) override;
    void AdjustClientRect(TRect& Rect) override;
    void Dispatch(TMessage& Message) override;
    void WMActivate(TMessage& Message) override;
    void PaintWindow(HDC DC) override;

private:
    // The background in the drop-down's colours and its frame.
    void PaintBackground(TCanvas* Canvas);
    // Whether the window is this form's or one inside it (the parent chain, owners included).
    bool OwnsWindow(HWND Window);

    DWORD FDeActivate = 0;
    bool FDeactivated = false;
    bool FShadow = true;
    TAdvFooter* FFooter = nullptr;
    TAdvHeader* FHeader = nullptr;
    TAdvCustomDropDown* FAdvDropDown = nullptr;
    TScrollBox* FScrollBox = nullptr;
    bool FSizeable = false;
    bool FCancelOnDeActivate = true;
    bool FBlockActivate = false;
};

// ---------------------------------------------------------------------------------------------
// The edit

class TAdvCustomDropDown : public TCustomMaskEdit, public IQRBTones, public IQRBStyle {
public:
    // The pop-up does not open again by a click within this time of losing the activation
    // (the click that closed it).
    static constexpr DWORD ReopenGuardMs = 250;
    static constexpr int32_t kVersionNr = 0x01020001;

    explicit TAdvCustomDropDown(TComponent* AOwner);
    ~TAdvCustomDropDown() override;
    const char* ClassName() const override { return "TAdvCustomDropDown"; }
    void BeforeDestruction() override;

    // ---- The value
    // The text without Prefix (when it starts with it) and Suffix (when it ends with it).
    String Text() const;
    // The value as a number by the edit type: etString by the locale-independent conversion,
    // the numbers by the locale's ("", "-" and "Error" read 0; money without its grouping and a
    // closing decimal separator), etHex as a 32-bit integer of its last eight digits; other
    // types 0.
    double GetFloatValue() const;
    // Text := the value in the edit type's form (Precision below 0: "%g"; etString and etFloat
    // "%.Pf", etNumeric "%.Pn", etMoney "%.Pf" regrouped, etHex the integer part in hexadecimal;
    // other types keep their text); Modified becomes true.
    void SetFloatValue(double value);
    // Text := the decimal form (money regrouped), or the hexadecimal one for etHex; Modified.
    void SetIntValue(int32_t value);
    // Regroups a money value's integer part with thousand separators (AutoThousandSeparator),
    // keeping the caret at the same distance from the value's end; raises no change notice.
    void ApplyThousandSeparators();
    // Without thousand separators, by the locale's separators; 0 when it does not convert.
    static double TextToFloat(const String& text) { return advedit::EditTextToFloat(text); }
    // 0 integer, 1 decimal number, 5 hexadecimal, 2 anything else (advedit::ClassifyTypedText).
    static int ClassifyEditText(const String& text) { return advedit::ClassifyTypedText(text); }
    // Shows the pop-up (OpenPopup); HideDropDown closes it (ClosePopup).
    void ShowDropDown();
    void HideDropDown(bool CancelChanges);
    TQRBStyle GetComponentStyle() const { return FQRBStyle; }

    // "1.2.0.1" from GetVersionNr; writing it changes nothing.
    String Version();
    void SetVersion(const String&) {}

    // ---- Borders and looks
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor value);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool value);

    // ---- The pop-up's settings
    TColor DropDownColor() const { return FDropDownColor; }
    void SetDropDownColor(TColor value) { FDropDownColor = value; }
    TColor DropDownBorderColor() const { return FDropDownBorderColor; }
    void SetDropDownBorderColor(TColor value) { FDropDownBorderColor = value; }
    int DropDownBorderWidth() const { return FDropDownBorderWidth; }
    void SetDropDownBorderWidth(int value) { FDropDownBorderWidth = value; }
    bool DropDownShadow() const { return FDropDownShadow; }
    void SetDropDownShadow(bool value) { FDropDownShadow = value; }
    // 0 or less: sized by SizePopup. A new value forgets the size the user last gave.
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int value);
    int DropDownHeight() const { return FDropDownHeight; }
    void SetDropDownHeight(int value);
    TDropPosition DropPosition() const { return FDropPosition; }
    void SetDropPosition(TDropPosition value) { FDropPosition = value; }
    bool DropDownSizeable() const { return FDropDownSizeable; }
    void SetDropDownSizeable(bool value) { FDropDownSizeable = value; }
    bool DropDownEnabled() const { return FDropDownEnabled; }
    void SetDropDownEnabled(bool value) { FDropDownEnabled = value; }
    // The size of the pop-up when it last closed (-1: none), which the next opening takes.
    int UserDropDownWidth() const { return FUserDropDownWidth; }
    int UserDropDownHeight() const { return FUserDropDownHeight; }
    // The next opening fits the pop-up's control again.
    void ForgetUserDropDownSize() { FUserDropDownWidth = FUserDropDownHeight = -1; }

    // ---- The drop button
    int DropDownButtonWidth() const { return FButtonWidth; }
    void SetDropDownButtonWidth(int value);
    const String& DropDownButtonHint() const { return FButtonHint; }
    void SetDropDownButtonHint(const String& value);
    TBitmap* DropDownButtonGlyph() const;
    void SetDropDownButtonGlyph(TBitmap* value);
    TDropDownEditButton* Button() const { return FButton; }

    // False: the text cannot be typed or selected, and a click opens the pop-up.
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);

    THeaderAppearance* DropDownHeader() const { return FDropDownHeader.get(); }
    void SetDropDownHeader(const THeaderAppearance* value) { FDropDownHeader->Assign(value); }
    TFooterAppearance* DropDownFooter() const { return FDropDownFooter.get(); }
    void SetDropDownFooter(const TFooterAppearance* value) { FDropDownFooter->Assign(value); }
    TAdvButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
    void SetButtonAppearance(const TAdvButtonAppearance* value) { FButtonAppearance->Assign(value); }

    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor value) { FSelectionColor = value; }
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor value) { FSelectionColorTo = value; }
    TSelectionColorStyle SelectionColorStyle() const { return FSelectionColorStyle; }

    // ---- The caption label
    // Setting a caption makes the label; empty without one.
    String LabelCaption() const;
    void SetLabelCaption(const String& value);
    advdropdown::TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(advdropdown::TLabelPosition value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool value);
    // Assigned only while ParentFont is off.
    TFont* LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(const TFont* value);
    TLabel* EditLabel() const { return FLabel; }

    bool DroppedDown() const { return FDroppedDown; }
    TDropDownForm* DropDownForm() const { return FDropDownForm; }
    // Typed-input options (selecting the value): the value between Prefix and Suffix.
    void SelectAll();
    // The caret before (after) the value's decimal separator, or after the prefix without one.
    void SelectBeforeDecimal();
    void SelectAfterDecimal();
    // Modified and the drop-down's own copy of it; nothing while loading, untypeable or read-only.
    void SetModifiedFlag(bool value);

    // Overridden platform operations.
    void Assign(const TPersistent* Source) override;
    void Loaded() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetParent(TWinControl* AParent) override;

    // ---- Events
    TNotifyEvent OnBeforeDropDown;
    TDropDown OnDropDown;
    TDropUp OnDropUp;
    TDropDownButtonItemClick OnDropDownHeaderButtonClick;
    TDropDownButtonItemClick OnDropDownFooterButtonClick;
    TDrawBackGroundEvent OnDrawHeader;
    TDrawBackGroundEvent OnDrawFooter;
    TGetTextEvent OnGetHeaderText;
    TGetTextEvent OnGetFooterText;

protected:
    friend class TDropDownForm;
    friend class TAdvDropDownSpeedButton;
    friend class TAdvButton;

    void AfterConstruction() override;

    // ---- The virtual operations the class introduces, in slot order
    virtual void LabelClick();
    virtual void LabelDblClick();

public:
    virtual int32_t GetVersionNr() { return kVersionNr; }

protected:
    // Creates the pop-up form once and wires its events (not at design time).
    virtual void BuildPopup();
    // Creates the drop button once and lays it out.
    virtual void BuildDropButton();
    // Width DropDownButtonWidth, height 17, visible, focusing the edit.
    virtual void LayoutDropButton();
    // Fires OnBeforeDropDown; pickers load their value into their control first.
    virtual void PreparePopup();
    virtual void FocusPopupControl();
    virtual void OpenPopup();
    virtual void DockPopupControl();
    virtual void SizePopup();
    virtual void ClosePopup(bool Cancelled);
    virtual void PopupClosed(TObject* Sender);
    virtual void PopupDestroyed(TObject* Sender) { (void)Sender; }
    virtual void PopupWheelDown(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled);
    virtual void PopupWheelUp(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled);
    virtual void PopupKeyPress(TObject* Sender, char16_t& Key);
    virtual void PopupKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    virtual void PopupKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
    virtual void ControlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    virtual void ControlKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
    virtual void ControlKeyPress(TObject* Sender, char16_t& Key);
    virtual void PopupSizing(TObject* Sender) { (void)Sender; }
    virtual void WheelSelectNext() {}
    virtual void WheelSelectPrevious() {}
    // The untypeable edit's text on a highlight box while it has the focus.
    virtual void PaintReadOnlyFocus();
    virtual void UpdateEditRect();
    // Raises the height to the least the font needs, or places the button.
    virtual void LayoutEditControl();

public:
    // Prefix + value + Suffix in the edit, the value formatted by the edit type first (an empty
    // number "0"; with Precision a float "%.Pf" and money "%.Pn", "Error" as it stands; hex in
    // capitals); the value is what a cancelled close writes back, and Modified is cleared.
    virtual void SetText(const String& value);
    virtual void SetSelectionColorStyle(TSelectionColorStyle Style);
    virtual void DrawSelectionBackground(TCanvas* Canvas, const TRect& Rect, TColor BackgroundColor, int EdgeStyle);
    // StepGradient with the direction turned: Vertical gives bands stacked top to bottom.
    virtual void DrawGradientFill(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& Rect,
                                  bool Vertical);
    void SetComponentStyle(TQRBStyle AStyle) override;
    void SetColorTones(const TColorTones& ATones) override;

protected:
    // ---- The keys and focus of the typed input (pickers override them, the grid's editors
    // call them)
    // The key-down hook: the key events, then Alt+Up or Alt+Down opens or closes the pop-up.
    virtual void HandleKeyDown(WORD& Key, TShiftState Shift);
    // The key-press hook: the key events, then Enter is swallowed.
    virtual void HandleKeyPress(char16_t& Key);
    virtual void HandleKeyUp(WORD& Key, TShiftState Shift);
    // The change notice that was not swallowed (a rewrite's, or a character's typed over the
    // whole value): OnChange; pickers follow it with their own steps.
    virtual void HandleChange();
    // WM_KEYDOWN: the pop-up's keys (Alt+Up and Alt+Down, Enter, Esc, F4) and the keys of an
    // untypeable edit.
    virtual void KeyDownMessage(TMessage& Message);
    // WM_CHAR: nothing is typed into an untypeable edit.
    virtual void CharMessage(TMessage& Message);
    virtual void SetFocusMessage(TMessage& Message);
    // CM_WANTSPECIALKEY: Esc is wanted while the pop-up is open.
    virtual void WantSpecialKeyMessage(TMessage& Message);

    // The least height of the edit: the font's height and a quarter of the smaller of it and the
    // system font's.
    int MinimumHeight();
    // Stores the text as it is: no prefix, suffix or format, nothing remembered.
    void SetPlainText(const String& value);
    // The item pickers' look for a style: the hot and selected colours, written silently.
    void ApplyItemAppearanceStyle(TItemAppearance* Appearance, TQRBStyle Style);
    // The picker control hosted in the pop-up; docked into it outside design time.
    TControl* PopupControl() const { return FControl; }
    void SetPopupControl(TControl* value);
    // The control in the pop-up that takes the focus when it opens.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);

    // Protected properties the pickers publish.
    TDropDownEditType EditType() const { return FEditType; }
    // etPassword masks the text with "*" and turns CanUndo off; a value the new type cannot
    // hold becomes 0 (at design time an etFloat without Precision gets 2).
    void SetEditType(TDropDownEditType value);
    int16_t Precision() const { return FPrecision; }
    // Only for etString, etFloat and etMoney: the value is formatted again.
    void SetPrecision(int16_t value);
    const String& Prefix() const { return FPrefix; }
    void SetPrefix(const String& value) { FPrefix = value; }
    const String& Suffix() const { return FSuffix; }
    void SetSuffix(const String& value) { FSuffix = value; }
    int16_t LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int16_t value) { FLengthLimit = value; }
    bool Signed() const { return FSigned; }
    void SetSigned(bool value) { FSigned = value; }
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool value) { FReturnIsTab = value; }
    bool AllowNumericNullValue() const { return FAllowNumericNullValue; }
    void SetAllowNumericNullValue(bool value) { FAllowNumericNullValue = value; }
    bool DefaultHandling() const { return FDefaultHandling; }
    void SetDefaultHandling(bool value) { FDefaultHandling = value; }
    bool CanUndo() const { return FCanUndo; }
    void SetCanUndo(bool value) { FCanUndo = value; }
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool value) { FExcelStyleDecimalSeparator = value; }
    const String& ValidChars() const { return FValidChars; }
    void SetValidChars(const String& value) { FValidChars = value; }
    bool AutoThousandSeparator() const { return FAutoThousandSeparator; }
    void SetAutoThousandSeparator(bool value) { FAutoThousandSeparator = value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    bool Etched() const { return FEtched; }
    void SetEtched(bool value) { FEtched = value; }
    TColor DropDownColorTo() const { return FDropDownColorTo; }
    void SetDropDownColorTo(TColor value) { FDropDownColorTo = value; }
    advdropdown::TGradientDirection DropDownGradient() const { return FDropDownGradient; }
    void SetDropDownGradient(advdropdown::TGradientDirection value) { FDropDownGradient = value; }
    bool FocusDraw() const { return FFocusDraw; }
    void SetFocusDraw(bool value) { FFocusDraw = value; }
    bool ForceShadow() const { return FForceShadow; }
    void SetForceShadow(bool value) { FForceShadow = value; }
    const String& OldText() const { return FOldText; }

    TClipboardEvent OnClipboardCopy;
    TClipboardEvent OnClipboardPaste;
    TClipboardEvent OnClipboardCut;
    TNotifyEvent OnBeforeDropUp;
    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;

    // Overridden platform operations.
    void DefineProperties(TFiler* Filer) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void KeyDown(WORD& Key, TShiftState Shift) override { HandleKeyDown(Key, Shift); }
    void KeyPress(char16_t& Key) override { HandleKeyPress(Key); }
    void KeyUp(WORD& Key, TShiftState Shift) override { HandleKeyUp(Key, Shift); }
    void Change() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
    void WMSize(TMessage& Message) override;
    void FrameWidthsChanged() override;
    void WMKeyDown(TMessage& Message) override { KeyDownMessage(Message); }
    void WMChar(TMessage& Message) override { CharMessage(Message); }
    void WMSetFocus(TMessage& Message) override { SetFocusMessage(Message); }
    void WMKillFocus(TMessage& Message) override;
    void WMNCPaint(TMessage& Message) override;
    void WMLButtonDown(TMessage& Message) override;
    void WMLButtonUp(TMessage& Message) override;
    void WMPaste(TMessage& Message);
    void WMCopy(TMessage& Message);
    void WMCut(TMessage& Message);
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMVisibleChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMParentFontChanged(TMessage& Message) override;

    // The pop-up, and the drop button.
    TDropDownForm* FDropDownForm = nullptr;
    TDropDownEditButton* FButton = nullptr;
    // The value last written through the Text setter, which a cancelled close writes back.
    String FOldText;

private:
    // Opens the pop-up for a click on the button or an untypeable edit: not while it shows,
    // nor within ReopenGuardMs of its last deactivation.
    void GuardedOpen();
    void TogglePopup();
    // The custom frame in the window's DC.
    void DrawBorders();
    bool Hot() const;
    // The label's transparency, font (LabelFont; the edit's after loading with ParentFont, or the
    // one given), place and visibility.
    void PlaceLabel(const TFont* LabelFont = nullptr);
    void LabelFontChanged(TObject* Sender);
    void AppearanceChanged(TObject* Sender);
    void FreePopup();
    // The character under a client point; -1 when there is none.
    int CharFromPoint(LPARAM point);

    // The typed input engine's view of this edit (AdvDropDownInput.cpp).
    friend class styled::TEditInputHost<TAdvCustomDropDown, TCustomMaskEdit>;
    class TInputHost final : public styled::TEditInputHost<TAdvCustomDropDown, TCustomMaskEdit> {
    public:
        using TEditInputHost::TEditInputHost;
        void SetWholeText(const String& text) override;
        bool NativeModified() override;
        double FloatValue() override;
        void SetFloatValue(double value) override;
        bool Modified() const override;
        void SetModified(bool value) override;
        String MixedCase(const String& value) override;
        styled::TTypedDialect Dialect() const override;
        void ReturnAsTab() override;
    };

    TLabel* FLabel = nullptr;
    bool FParentFnt = false;
    int FDropDownWidth = 0;
    int FDropDownHeight = 0;
    int FUserDropDownWidth = -1;
    int FUserDropDownHeight = -1;
    bool FEditorEnabled = true;
    TDropPosition FDropPosition = dpAuto;
    bool FFlat = false;
    TCustomImageList* FImages = nullptr;
    bool FDropDownShadow = true;
    int FDropDownBorderWidth = 1;
    String FButtonHint;
    TColor FDropDownColorTo = clNone;
    TColor FDropDownColor = clWhite;
    TColor FDropDownBorderColor = clBlack;
    int FButtonWidth = 17;
    bool FMouseInControl = false;
    bool FEtched = false;
    TWinControl* FFocusControl = nullptr;
    std::unique_ptr<THeaderAppearance> FDropDownHeader;
    std::unique_ptr<TAdvButtonAppearance> FButtonAppearance;
    std::unique_ptr<TFooterAppearance> FDropDownFooter;
    TControl* FControl = nullptr;
    advdropdown::TGradientDirection FDropDownGradient = advdropdown::gdHorizontal;
    bool FDropDownSizeable = true;
    TColor FSelectionColor = clNone;
    TColor FSelectionColorTo = clNone;
    TSelectionColorStyle FSelectionColorStyle = scCustom;
    TDropDownEditType FEditType = etString;
    int16_t FLengthLimit = 0;
    int16_t FPrecision = 0;
    String FPrefix;
    String FSuffix;
    String FOldString;
    bool FSigned = false;
    bool FReturnIsTab = false;
    bool FIsWinXP = false;
    bool FIsThemed = false;
    bool FAllowNumericNullValue = false;
    bool FDefaultHandling = true;
    bool FCanUndo = true;
    bool FExcelStyleDecimalSeparator = false;
    String FValidChars;
    bool FAutoThousandSeparator = true;
    bool FIsModified = false;
    // A left press landed inside the selection (the selection stays; the release places the caret).
    bool FButtonDown = false;
    TRect FEditRect;
    bool FDropDownEnabled = false;
    bool FDroppedDown = false;
    bool FFocusDraw = true;
    bool FForceShadow = false;
    TQRBStyle FQRBStyle = tsOffice2007Luna;
    int FLabelMargin = 4;
    advdropdown::TLabelPosition FLabelPosition = advdropdown::lpLeftTop;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    std::unique_ptr<TFont> FLabelFont;
    TColor FBorderColor = clNone;
    TColor FFocusBorderColor = clNone;
    bool FDisabledBorder = true;

    // The typed input: the swallowed change notice and the cut in progress are the engine's.
    TInputHost FInputHost{*this};
    styled::TTypedInput FInput{FInputHost};
};
