#pragma once
// The numeric edit: a one-line edit for a number in one of four bases, with a one-character prefix
// that overrides the base for one entry, unit suffixes, limits, and a checked state shown by colour
// (normal, editing, error), committed on Enter or on leaving. The numeric spin adds a spin button.
#include <cstdint>

#include "controls/instrument/_GClassSpin.h"
#include "platform/rtl/Component.h"
#include "platform/ui/StdCtrls.h"

enum TNumEditState { esNormal, esEditing, esError };
enum TEditBase { ebBin, ebHex, ebFloat, ebInt };
enum TNumEditOption { eoLimitMax, eoLimitMin, eoMultiply };
using TNumEditOptions = rtl::SmallSet<TNumEditOption>;

struct TBaseProperties {
    String ValidChars;
    bool ExpEnable = false;
    bool MultiEnable = false;
    String Sign;
    long double MinValue = 0;
    long double MaxValue = 0;
};
// Per base, filled at the unit's start with the decimal and thousand separators of that moment.
extern TBaseProperties BaseProperties[4];

class TMvNumEdit : public TCustomEdit {
public:
    explicit TMvNumEdit(TComponent* AOwner);
    const char* ClassName() const override { return "TMvNumEdit"; }

    // A change shows the committed value in the new base.
    TEditBase EditBase() const { return FEditBase; }
    void SetEditBase(TEditBase V);
    // False: every typed character is refused with a beep.
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool V) { FEditorEnabled = V; }
    // The limits of eoLimitMin and eoLimitMax; a change checks and commits the text.
    double MinValue() const { return FMinValue; }
    void SetMinValue(double V);
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double V);
    float Increment() const { return FIncrement; }
    void SetIncrement(float V) { FIncrement = V; }
    TNumEditOptions Options() const { return FOptions; }
    void SetOptions(TNumEditOptions V);
    // The number format of the float base (FormatFloat); a change formats, checks and commits.
    const String& FormatStr() const { return FFormatStr; }
    void SetFormatStr(const String& V);
    int32_t DigitsBool() const { return FDigitsBool; }
    void SetDigitsBool(int32_t V);
    int32_t DigitsHex() const { return FDigitsHex; }
    void SetDigitsHex(int32_t V);

    // The committed value. Value writes are limited; ValueAsInt and ValueAsSingle writes are not.
    double Value() const { return FValue; }
    void SetValue(double V);
    int32_t ValueAsInt() const { return FValueAsInt; }
    void SetValueAsInt(int32_t V);
    float ValueAsSingle() const { return FValueAsSingle; }
    void SetValueAsSingle(float V);
    // Digits of the committed value; a write is typed in as that base's text and committed.
    const String& ValueAsHex() const { return FValueAsHex; }
    void SetValueAsHex(const String& V);
    const String& ValueAsBool() const { return FValueAsBool; }
    void SetValueAsBool(const String& V);

    TNumEditState State() const { return FState; }
    // The value stands at the upper / lower limit; a change calls DoLimit.
    bool LimitUp() const { return FLimitUp; }
    void SetLimitUp(bool V);
    bool LimitLo() const { return FLimitLo; }
    void SetLimitLo(bool V);

    // The edit's colour in each state. With ParentColor, ColorDefault follows the parent.
    TColor ColorDefault() const { return FColorDefault; }
    void SetColorDefault(TColor V);
    TColor ColorError() const { return FColorError; }
    void SetColorError(TColor V);
    TColor ColorEditing() const { return FColorEditing; }
    void SetColorEditing(TColor V);
    // The committed text changed (never before Loaded).
    TNotifyEvent OnValueChanged;
    // LimitUp or LimitLo changed.
    TNotifyEvent OnLimit;

    virtual void SetEditState(TNumEditState State);
    virtual void DoLimit();
    // One Increment up or down (a factor with eoMultiply), limited; refused with a beep when
    // read-only or at the limit.
    virtual void UpClick(TObject* Sender);
    virtual void DownClick(TObject* Sender);

    void Loaded() override;
    void WndProc(TMessage& Message) override;

protected:
    // Checks the text and colours the state; with Commit also converts, limits and commits it.
    // False when a character is not valid: the offending span is selected.
    bool CheckText(bool Commit);
    double LimitValue(double X);
    void CommitValue(double X);
    // The committed value as the edit base shows it.
    String BaseText() const;
    // The 3D look changed (the frame with it); the numeric spin places its button by it.
    virtual void Ctl3DChanged() {}
    void CMCtl3DChanged(TMessage& Message) override;

    void Change() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void CMExit(TMessage& Message) override;
    void CMParentColorChanged(TMessage& Message) override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

    // True from construction until Loaded: OnValueChanged stays quiet.
    bool FirstDraw = true;
    // The next text change is not checked.
    bool IgnoreChange = true;

private:
    // Sets the edit's colour; a control that follows its parent's colour keeps doing so.
    void ApplyColor(TColor Color);
    void ApplyStateColor();
    void ApplyPendingSelection();
    void Step(bool Up);

    TEditBase FEditBase = ebFloat;
    bool FEditorEnabled = true;
    double FMinValue = 0;
    double FMaxValue = 0;
    float FIncrement = 1.0f;
    String FOldText;
    double FValue = 0;
    String FValueAsBool{u"0"};  // the committed 0 in each base, before any commit
    String FValueAsHex{u"0"};
    float FValueAsSingle = 0;
    int32_t FValueAsInt = 0;
    TNumEditOptions FOptions;
    String FFormatStr;
    TNumEditState FState = esNormal;
    bool FLimitUp = false;
    bool FLimitLo = false;
    TColor FColorDefault = clWindow;
    TColor FColorError = 0x0000FF;
    TColor FColorEditing = 0x00FF00;
    int32_t FDigitsBool = 0;
    int32_t FDigitsHex = 0;
    bool FApplyingColor = false;
    // The selection of an invalid span, put back once the message that changed the text is done
    // (the edit places its caret after notifying the change).
    int FMessageDepth = 0;
    bool FPendingSelection = false;
    int FSelFrom = 0, FSelTo = 0;
};

// The numeric edit with a spin button inside its right edge; the text stays clear of it.
class TMvNumSpin : public TMvNumEdit {
public:
    explicit TMvNumSpin(TComponent* AOwner);
    ~TMvNumSpin() override;
    const char* ClassName() const override { return "TMvNumSpin"; }

    TMvSpinButton* Button() const { return FButton; }
    int32_t Interval() const { return FButton->Interval(); }
    void SetInterval(int32_t V) { FButton->SetInterval(V); }
    uint32_t StartDelay() const { return FButton->StartDelay(); }
    void SetStartDelay(uint32_t V) { FButton->SetStartDelay(V); }

    // Font heights, the system font and the border: the height the edit is held at, at least.
    int MinHeight();

    void SetEnabled(bool V) override;
    void SetEditState(TNumEditState State) override;
    void DoLimit() override;

protected:
    void Ctl3DChanged() override;
    void Dispatch(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void CreateWnd() override;

private:
    void Relayout();
    void SetEditRect();
    // The arrows as the state and the limits allow.
    void UpdateButtons();

    TMvSpinButton* FButton = nullptr;
};
