#pragma once
// The typed input engine of the styled edits: the rules by which a single-line edit holds a value
// of one input kind (TAdvEditType): which typed characters it takes and how it turns them into
// the value, Enter, Escape, Backspace and the caret keys round Prefix and Suffix, the filtered
// paste, copy and cut, the money regrouping and the numbers completed on leaving. The styled edit
// and the drop-down edits host it; a host tells the engine what it reads and writes of its edit
// through TTypedInputHost and where it differs from the styled edit through its answers.
//
// Positions are 0-based offsets in the native edit's whole text, Prefix included, unless a name
// says that it counts in the value. The decimal and thousand separators are read from the
// process-wide FormatSettings at each use. Every rule reads the text, caret and selection afresh.
#include <cstdint>

#include "controls/styled/EditTypes.h"
#include "platform/rtl/String.h"
#include "platform/win/Messages.h"

class TWinControl;

namespace advedit {

// What a text reads as: ClassifyTypedText's answer (the numbers are the classes' own).
enum TTextClass { tcInteger = 0, tcFloat = 1, tcOther = 2, tcHex = 5 };

// Integer (digits and "-"), float (digits, ",", "-", "." with thousand separators at least
// three characters apart), hexadecimal (digits, "-", A-F), or other (also the empty text and
// any text with two signs or two decimal separators).
TTextClass ClassifyTypedText(const String& text);
// Without thousand separators, by the process's separators; 0 when it does not convert.
double EditTextToFloat(const String& text);
// Each character's digit value from the right times 1, 16, 256, ...; other characters count
// 0. 32-bit wrap-around: "FFFFFFFF" reads -1.
int32_t HexToInt(const String& text);
// Leading blanks, one sign, then decimal digits, or hexadecimal after "$", "x" or "0x". False
// when a character other than a digit ends the digits (or there are none); value is what was
// read up to there. Wraps around in 32 bits.
bool ScanInt(const String& text, int32_t& value);
// Word by word: the first letter of a word upper-cased, the others lower-cased, with "Mc" and
// "Mac" names and a closing " II"/" III" kept in capitals.
String MixedCaseText(const String& text);
// The float a value of the kind reads as: etString by the locale-independent scan, the numbers
// by the process's separators (money without its grouping and a closing decimal separator),
// etHex as a 32-bit integer; "", "-" and a text that is no number read 0, as do the text kinds.
double TypedFloatValue(TAdvEditType type, const String& value);
// The text a float write gives a value of the kind, before the Text setter formats it:
// Precision below 0 is "%g"; etString and etFloat "%.Pf", etNumeric "%.Pn", etMoney "%.Pf" (to be
// regrouped), etHex the integer part in hexadecimal; other kinds answer false.
bool FloatValueText(TAdvEditType type, int precision, double value, String& text);
// The text an integer write gives: decimal for the numbers (money to be regrouped), hexadecimal
// for etHex; other kinds answer false.
bool IntValueText(TAdvEditType type, int32_t value, String& text);
// "%.Pf" or "%.Pn" (kind "f" or "n") of a value.
String FormatPrecision(const char* kind, int precision, double value);

}  // namespace advedit

namespace styled {

// The host's settings the rules read, as they stand when a rule starts.
struct TTypedSettings {
    TAdvEditType EditType = etString;
    int Precision = 0;
    String Prefix;
    String Suffix;
    int LengthLimit = 0;
    bool Signed = false;
    bool ExcelStyleDecimalSeparator = false;
    bool AllowNumericNullValue = false;
    bool AutoThousandSeparator = true;
    String ValidChars;
    bool CanUndo = true;
    bool ReturnIsTab = false;
    bool DefaultHandling = true;
    bool TabOnFullLength = false;
    int MaxLength = 0;
    bool ReadOnly = false;
};

// Where a host reads the rules otherwise than the styled edit does; the defaults are the styled
// edit's.
struct TTypedDialect {
    // Typing over the whole value swallows the change notice in etPassword too.
    bool SwallowOverPassword = false;
    // Backspace marks nothing modified before it and leaves a money value ungrouped; an emptied
    // value is reported by the engine only when the key itself emptied it.
    bool PlainBackspace = false;
    // etHex takes a pasted integer or hexadecimal text.
    bool PastesHex = true;
    // An empty etNumeric value becomes "0" on leaving even with AllowNumericNullValue.
    bool ZeroForEmptyNumeric = false;
    // A release in the prefix selects the whole value (else from the prefix's end to the
    // selection's end).
    bool ReleaseSelectsValue = false;
};

enum class TClipboardAction { Copy, Cut, Paste };

// What the rules read and write of their edit.
class TTypedInputHost {
public:
    virtual ~TTypedInputHost() = default;

    // ---- The native edit
    virtual String WholeText() const = 0;
    virtual int SelStart() const = 0;
    virtual int SelLength() const = 0;
    // Selects from anchor to caret.
    virtual void Select(int anchor, int caret) = 0;
    // The program's replacement of [start, end) of the whole text (no type formatting).
    virtual void ReplaceRange(int start, int end, const String& text) = 0;
    // The whole text, written as it stands.
    virtual void SetWholeText(const String& text) = 0;
    virtual bool NativeModified() = 0;
    // Whether the edit has its window (caret and selection exist).
    virtual bool HasWindow() const { return true; }

    // ---- The value (the text between Prefix and Suffix) and the host's own operations on it
    virtual String Value() const = 0;
    // The Text setter: formatted by the host's kind, Modified cleared.
    virtual void SetValue(const String& value) = 0;
    virtual double FloatValue() = 0;
    virtual void SetFloatValue(double value) = 0;
    // Selects the value (the host's SelectAll).
    virtual void SelectValue() = 0;
    virtual bool Modified() const = 0;
    virtual void SetModified(bool value) = 0;
    // The re-cased value of etMixedCase.
    virtual String MixedCase(const String& value) = 0;
    virtual TTypedSettings Settings() const = 0;
    virtual TTypedDialect Dialect() const { return {}; }

    // ---- Messages on to the native edit, the parent and the form
    // WM_CHAR to the native handling (the key events first).
    virtual void PassChar(TMessage& Message) = 0;
    // The character message to the default window handling only.
    virtual void DefaultChar(TMessage& Message) = 0;
    virtual void PassKeyDown(TMessage& Message) = 0;
    // WM_COPY or WM_CUT to the native edit.
    virtual void PassClipboard(TMessage& Message) = 0;
    // The inherited answer to the form's question for a special key.
    virtual void PassSpecialKey(TMessage& Message) = 0;
    virtual bool HasParent() const = 0;
    virtual void PostToParent(UINT msg, WORD key) = 0;
    // -1: no form above the edit; 0: its form without KeyPreview; 1: with it.
    virtual int FormKeyPreview() const = 0;
    // The parent window is the active control.
    virtual bool ParentFocused() const = 0;
    // The form moves the focus to the next (or the previous) control.
    virtual void NextControl(bool previous) = 0;

    // ---- Events
    // The change notice as the native edit would raise it (the host's Change).
    virtual void RaiseChange() = 0;
    // OnKeyPress with a copy of the key.
    virtual void KeyPressEvent(char16_t Key) = 0;
    // OnClipboardCopy, OnClipboardCut or OnClipboardPaste; answers allow.
    virtual bool ClipboardEvent(TClipboardAction action, const String& value) = 0;

    // ---- Hooks (the styled edit's auto-complete and its own key behaviour)
    // Ahead of the key-down rules: true when the key is done; it may also empty the key and let
    // the rules go on.
    virtual bool LookupKeyDown(TMessage& Message) {
        (void)Message;
        return false;
    }
    // After typing, Backspace and a paste.
    virtual void RefreshLookup() {}
    // Enter with ReturnIsTab, once the key has become Tab.
    virtual void ReturnAsTab() { NextControl(false); }
    // Backspace at the prefix's end (the key is dropped).
    virtual void BackspaceAtPrefix() {}
    // Escape's undo with CanUndo, before the value is selected and Modified cleared.
    virtual void EscapeUndo() {}
};

// What every windowed edit answers alike: its parent, its form and its clipboard events.
class TControlInputHost : public TTypedInputHost {
public:
    explicit TControlInputHost(TWinControl& control) : FControl(control) {}
    bool HasParent() const override;
    void PostToParent(UINT msg, WORD key) override;
    int FormKeyPreview() const override;
    bool ParentFocused() const override;
    void NextControl(bool previous) override;

protected:
    // The event of the action with the control as sender; answers allow.
    bool FireClipboardEvent(const TClipboardEvent& copy, const TClipboardEvent& cut, const TClipboardEvent& paste,
                            TClipboardAction action, const String& value);

private:
    TWinControl& FControl;
};

// The host's answers every edit of the family gives alike, from the operations and fields named
// the same in each: E is the edit (which befriends this class), Base its native edit class.
template <class E, class Base>
class TEditInputHost : public TControlInputHost {
public:
    explicit TEditInputHost(E& edit) : TControlInputHost(edit), FEdit(edit) {}
    String WholeText() const override { return FEdit.Base::Text(); }
    int SelStart() const override { return FEdit.SelStart(); }
    int SelLength() const override { return FEdit.SelLength(); }
    void Select(int anchor, int caret) override { FEdit.SetSelection(anchor, caret); }
    void ReplaceRange(int start, int end, const String& text) override { FEdit.Base::ReplaceRange(start, end, text, false); }
    bool HasWindow() const override { return FEdit.HandleAllocated(); }
    String Value() const override { return FEdit.Text(); }
    void SetValue(const String& value) override { FEdit.SetText(value); }
    void SelectValue() override { FEdit.SelectAll(); }
    TTypedSettings Settings() const override {
        TTypedSettings s;
        s.EditType = FEdit.FEditType;
        s.Precision = FEdit.FPrecision;
        s.Prefix = FEdit.FPrefix;
        s.Suffix = FEdit.FSuffix;
        s.LengthLimit = FEdit.FLengthLimit;
        s.Signed = FEdit.FSigned;
        s.ExcelStyleDecimalSeparator = FEdit.FExcelStyleDecimalSeparator;
        s.AllowNumericNullValue = FEdit.FAllowNumericNullValue;
        s.AutoThousandSeparator = FEdit.FAutoThousandSeparator;
        s.ValidChars = FEdit.FValidChars;
        s.CanUndo = FEdit.FCanUndo;
        s.ReturnIsTab = FEdit.FReturnIsTab;
        s.DefaultHandling = FEdit.FDefaultHandling;
        s.MaxLength = FEdit.MaxLength();
        s.ReadOnly = FEdit.ReadOnly();
        return s;
    }
    void PassChar(TMessage& Message) override { FEdit.Base::WMChar(Message); }
    void DefaultChar(TMessage& Message) override { FEdit.DefaultHandler(Message); }
    void PassKeyDown(TMessage& Message) override { FEdit.Base::WMKeyDown(Message); }
    void PassClipboard(TMessage& Message) override { FEdit.Base::Dispatch(Message); }
    void PassSpecialKey(TMessage& Message) override { FEdit.Base::Dispatch(Message); }
    void RaiseChange() override { FEdit.Change(); }
    void KeyPressEvent(char16_t Key) override {
        if (FEdit.OnKeyPress) FEdit.OnKeyPress(&FEdit, Key);
    }
    bool ClipboardEvent(TClipboardAction action, const String& value) override {
        return FireClipboardEvent(FEdit.OnClipboardCopy, FEdit.OnClipboardCut, FEdit.OnClipboardPaste, action, value);
    }

protected:
    E& FEdit;
};

// The engine of one edit. Its state is the swallowed change notice, the cut in progress and the
// precision read as 0 while a sign toggles a float.
class TTypedInput {
public:
    explicit TTypedInput(TTypedInputHost& host) : FHost(host) {}
    TTypedInput(const TTypedInput&) = delete;
    TTypedInput& operator=(const TTypedInput&) = delete;

    // ---- The entry points the host routes its messages to
    // WM_CHAR. The swallow of a character typed over the whole value lasts for that character.
    void TypedChar(TMessage& Message);
    // WM_KEYDOWN; false when a rule ended the key before the native handling.
    bool KeyDown(TMessage& Message);
    // WM_PASTE, in place of the native edit's.
    void Paste();
    void Copy(TMessage& Message);
    void Cut(TMessage& Message);
    // CM_WANTSPECIALKEY.
    void SpecialKey(TMessage& Message);
    // After a left-button release: the caret out of the prefix and the selection within the
    // value.
    void Released();
    // Leaving the edit: a float or money value formatted to its precision, an empty number
    // completed.
    void CompleteNumber();

    // ---- The value
    // Regroups a money value's integer part (thousand separators by AutoThousandSeparator),
    // keeping the caret at the same distance from the end; raises no change notice.
    void RegroupMoney();
    // The caret just before (after) the value's decimal separator, or at the prefix's end.
    void CaretBeforeDecimal();
    void CaretAfterDecimal();

    // ---- The change notice
    // The host's change notice: false when it is the one to swallow (the flag clears).
    bool ChangeNotice();
    void SwallowNextChange(bool value) { FBlockChange = value; }
    bool SwallowingChange() const { return FBlockChange; }
    // Precision reads 0 while a float or money sign toggles.
    bool PrecisionOff() const { return FPrecisionOff; }

private:
    // Typed characters, by step.
    void FilterChar(TMessage& Message, const TTypedSettings& s);
    void PostProcess(const TTypedSettings& s);
    void Backspace(TMessage& Message, const TTypedSettings& s);
    // true: the character ended normally (post-processing follows).
    bool PerType(TMessage& Message, const TTypedSettings& s);
    bool FloatRules(TMessage& Message, const TTypedSettings& s);
    bool MoneyRules(TMessage& Message, const TTypedSettings& s);
    bool SeparatorTooClose(const String& value, int caretInValue) const;
    // 0: not decided; 1: typed over the next digit; -1: swallowed.
    int FullFraction(char16_t ch, const TTypedSettings& s);
    void SignToggle(bool& postProcess, const TTypedSettings& s);
    // A first decimal separator in an empty value ("0."), or the sign: true when it took the
    // character (no post-processing follows).
    bool StartOrSign(char16_t ch, const TTypedSettings& s);

    int Caret() const { return FHost.SelStart(); }
    void SetCaret(int pos) { FHost.Select(pos, pos); }
    // Replaces the value in place (no type formatting, Modified kept); the change notice comes.
    void ReplaceValue(const String& value, const TTypedSettings& s);
    int ValueEnd(const TTypedSettings& s) const { return s.Prefix.Length() + FHost.Value().Length(); }
    // n of the length limit: the 1-based position of the decimal separator in the value without
    // thousand separators (length + 1 without one), less one for a sign.
    int IntegerPartEnd(const TTypedSettings& s) const;

    TTypedInputHost& FHost;
    bool FBlockChange = false;
    bool FCutting = false;
    bool FPrecisionOff = false;
    int FChangeCount = 0;
};

}  // namespace styled
