#pragma once
// The styled edit: a single-line edit holding a value of one input kind. This header gives its
// value side (text, float and integer reads and writes, the type, precision and separator
// setters, the money regrouping, word re-casing, text classes and range texts), its typed input
// (characters, keys, pastes, copy and cut, Escape's undo, focus in and out), its auto-complete
// list under the caret and the persistence of its value in an ini file or the registry.
//
// Positions are 0-based offsets in the control's whole text, Prefix included, unless a name
// says that it counts in the value. The decimal and thousand separators are read from the
// process-wide FormatSettings at each use.
#include <cstdint>
#include <functional>
#include <memory>

#include "controls/styled/EditTypes.h"
#include "controls/styled/TypedInput.h"
#include "controls/styled/WinCtrl.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/StdCtrlsDrawn.h"

enum TPrecisionDisplay : uint8_t { pdNormal, pdShortest };

enum TPersistenceLocation : uint8_t { plInifile, plRegistry };

enum TEditAlign : uint8_t { eaLeft, eaRight, eaDefault, eaCenter };

namespace advedit {

// Where the attached label stands (the class library has a TLabelPosition of its own); the
// ordinals are the shared placement's (styled::TLabelPlace).
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

}  // namespace advedit

// Integers, each at most once.
class TRangeList : public TList {
public:
    TRangeList() = default;
    // Adds Value when it is not in the list yet.
    void Add(int Value);
    // Value .. Value + Count - 1, each through Add.
    void AddMultiple(int Value, int Count);
    void Delete(int Index) { TList::Delete(Index); }
    bool InList(int Value) const;
    int GetInteger(int Index) const;
    void SetInteger(int Index, int Value);
    int Items(int Index) const { return GetInteger(Index); }
    // Reads "1-5,7;9": items separated by "," or ";", each a number or a range a-b (nothing
    // added when b < a). False when an item does not read; the good ones are added all the same.
    bool StrToList(const String& s);
    // Each integer, in list order, to the debugger output.
    void Show() const;
};

class TAdvEdit;
class TListHintWindow;
class TEditDropTarget;

// The auto-complete list's settings.
class TLookupSettings : public TPersistent {
public:
    TLookupSettings();
    ~TLookupSettings() override;
    const char* ClassName() const override { return "TLookupSettings"; }
    // From another TLookupSettings: every setting and both lists by content; anything else
    // copies nothing.
    void Assign(const TPersistent* Source) override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    // Sorted, duplicates ignored, without regard to case.
    TStringList* DisplayList() const { return FDisplayList.get(); }
    void SetDisplayList(const TStrings* value);
    // The value for the display entry of the same (sorted) index.
    TStringList* ValueList() const { return FValueList.get(); }
    void SetValueList(const TStrings* value);
    int NumChars() const { return FNumChars; }
    void SetNumChars(int value);  // 0 or less is ignored
    int DisplayCount() const { return FDisplayCount; }
    void SetDisplayCount(int value) { FDisplayCount = value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value) { FCaseSensitive = value; }
    bool History() const { return FHistory; }
    void SetHistory(bool value) { FHistory = value; }
    bool Multi() const { return FMulti; }
    void SetMulti(bool value) { FMulti = value; }
    char16_t Separator() const { return FSeparator; }
    void SetSeparator(char16_t value) { FSeparator = value; }

private:
    bool FEnabled = false;
    std::unique_ptr<TStringList> FDisplayList;
    std::unique_ptr<TStringList> FValueList;
    int FNumChars = 2;
    int FDisplayCount = 4;
    TColor FColor = clWindow;
    bool FCaseSensitive = false;
    bool FHistory = false;
    bool FMulti = false;
    char16_t FSeparator = u';';
};

// Where the edit keeps its value between runs.
class TPersistence : public TPersistent {
public:
    const char* ClassName() const override { return "TPersistence"; }
    void Assign(const TPersistent* Source) override;

    bool Enable() const { return FEnable; }
    void SetEnable(bool value) { FEnable = value; }
    // The ini file's path, or the registry key under HKEY_CURRENT_USER; an empty one becomes
    // the executable's path with ".INI" (ini files only).
    const String& Key() const { return FKey; }
    void SetKey(const String& value) { FKey = value; }
    // The ini section or registry subkey; empty: the edit's Name (ini files only).
    const String& Section() const { return FSection; }
    void SetSection(const String& value) { FSection = value; }
    TPersistenceLocation Location() const { return FLocation; }
    void SetLocation(TPersistenceLocation value) { FLocation = value; }

private:
    bool FEnable = false;
    String FKey;
    String FSection;
    TPersistenceLocation FLocation = plInifile;
};

// The list box of the auto-complete window: its Enter and its mouse-up take the choice.
class TLookupListBox : public TListBox {
public:
    explicit TLookupListBox(TComponent* AOwner);
    const char* ClassName() const override { return "TLookupListBox"; }
    std::function<void()> OnChoose;

protected:
    void KeyPress(char16_t& Key) override;
    void WMLButtonUp(TMessage& Message) override;
};

// The small topmost window of the auto-complete list, a hint window (one-pixel border, drop
// shadow from version 5.1, topmost) that holds the list box inside a 1-pixel margin. Activated,
// it gives the focus to its list; deactivated, it hides. Its bottom-right 10 x 10 pixels are a
// sizing corner.
class TListHintWindow : public THintWindow {
public:
    explicit TListHintWindow(TComponent* AOwner);
    const char* ClassName() const override { return "TListHintWindow"; }
    TListBox* ListControl() const { return FListControl; }
    void SetListControl(TListBox* value) { FListControl = value; }

protected:
    void Dispatch(TMessage& Message) override;
    void AdjustClientRect(TRect& Rect) override;

private:
    TListBox* FListControl = nullptr;
};

using TLookupSelectEvent = std::function<void(TObject* Sender, String& Value)>;
using TLookupIndexSelectEvent = std::function<void(TObject* Sender, int Index, String& Value)>;
using TValueValidateEvent = std::function<void(TObject* Sender, const String& value, bool& IsValid)>;
using TURLClickEvent = std::function<void(TObject* Sender, const String& URL, bool& Show)>;

class TAdvEdit : public TCustomEdit {
public:
    explicit TAdvEdit(TComponent* AOwner);
    ~TAdvEdit() override;
    const char* ClassName() const override { return "TAdvEdit"; }

    // ---- The value
    // The value: the control's text without Prefix and Suffix.
    String Text() const;
    // Formatted by the type (numbers get "0" when empty, money is grouped, hex upper-cased),
    // shown between Prefix and Suffix; leaves Modified false.
    void SetText(const String& value);
    double FloatValue() const;
    void SetFloatValue(double value);
    int32_t IntValue() const;
    void SetIntValue(int32_t value);
    bool RangeStrToList(TRangeList* rangelist) const;
    // The sorted list as runs "1-3,5,7"; an empty list raises EListError and the value stays.
    void ListToRangeStr(TRangeList* rangelist);
    // Regroups a money value's integer part while the user types, keeping the caret at the
    // same distance from the end; raises no OnChange.
    void ReformatMoney();
    void Clear() { SetText(String()); }

    // ---- Settings
    TAdvEditType EditType() const { return FEditType; }
    void SetEditType(TAdvEditType value);
    int16_t Precision() const { return FPrecision; }
    void SetPrecision(int16_t value);
    TPrecisionDisplay PrecisionDisplay() const { return FPrecisionDisplay; }
    void SetPrecisionDisplay(TPrecisionDisplay value);
    bool AutoThousandSeparator() const { return FAutoThousandSeparator; }
    void SetAutoThousandSeparator(bool value);
    const String& Prefix() const { return FPrefix; }
    void SetPrefix(const String& value);
    const String& Suffix() const { return FSuffix; }
    void SetSuffix(const String& value);
    bool AllowNumericNullValue() const { return FAllowNumericNullValue; }
    void SetAllowNumericNullValue(bool value) { FAllowNumericNullValue = value; }
    bool Signed() const { return FSigned; }
    void SetSigned(bool value) { FSigned = value; }
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool value) { FExcelStyleDecimalSeparator = value; }
    int16_t LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int16_t value) { FLengthLimit = value; }
    bool TabOnFullLength() const { return FTabOnFullLength; }
    void SetTabOnFullLength(bool value) { FTabOnFullLength = value; }
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool value) { FReturnIsTab = value; }
    const String& ValidChars() const { return FValidChars; }
    void SetValidChars(const String& value) { FValidChars = value; }
    // Escape restores the text of focus-in; off for etPassword. A change makes the window again.
    bool CanUndo() const { return FCanUndo; }
    void SetCanUndo(bool value);
    bool ShowURL() const { return FShowURL; }
    void SetShowURL(bool value) { FShowURL = value; }
    bool ShowModified() const { return FShowModified; }
    void SetShowModified(bool value) { FShowModified = value; }
    TColor ModifiedColor() const { return FModifiedColor; }
    void SetModifiedColor(TColor value) { FModifiedColor = value; }
    TColor FocusFontColor() const { return FFocusFontColor; }
    void SetFocusFontColor(TColor value) { FFocusFontColor = value; }
    bool FullTextSearch() const { return FFullTextSearch; }
    void SetFullTextSearch(bool value) { FFullTextSearch = value; }
    // On for every new edit: Enter and Escape also go to the parent as key messages.
    bool DefaultHandling() const { return FDefaultHandling; }
    void SetDefaultHandling(bool value) { FDefaultHandling = value; }
    TLookupSettings* Lookup() const { return FLookup.get(); }
    void SetLookup(const TLookupSettings* value) { FLookup->Assign(value); }
    TPersistence* Persistence() const { return FPersistence.get(); }
    void SetPersistence(const TPersistence* value) { FPersistence->Assign(value); }

    // Set by typing and pastes and by FloatValue and IntValue writes, cleared by Text writes
    // and Escape's undo. Ignored while loading and on a read-only edit.
    bool Modified() const { return FModified; }
    void SetModified(bool value);

    // The value (inside Prefix and Suffix); with ShowURL only the address after its scheme.
    void SelectAll();
    void SelectBeforeDecimal();
    void SelectAfterDecimal();

    // ---- The auto-complete list
    TListHintWindow* LookupWindow() const { return FLookupWindow; }
    TListBox* LookupList() const { return FLookupList; }
    // Shows the entries matching what is typed (nothing while Lookup is off).
    void UpdateLookupList();
    // Takes the selected entry (or its paired value) into the edit.
    void SelectLookupItem();

    // ---- Persistence
    virtual bool ValidateValue(const String& Value);
    virtual void DoValueValidate(const String& Value, bool& IsValid);
    virtual bool IsURLText();
    virtual void LoadPersist();
    virtual void SavePersist();

    // ---- Looks
    static constexpr int32_t kVersionNr = 0x02090201;
    virtual int32_t GetVersionNr() { return kVersionNr; }
    // The packed version as four numbers; writes are ignored.
    String Version();
    void SetVersion(const String&) {}
    TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign value);
    TEditAlign FocusAlign() const { return FFocusAlign; }
    void SetFocusAlign(TEditAlign value) { FFocusAlign = value; }
    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool value) { FAutoFocus = value; }
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor value) { FFocusColor = value; }
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool value) { FFocusBorder = value; }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor value);
    int FocusWidthInc() const { return FFocusWidthInc; }
    void SetFocusWidthInc(int value) { FFocusWidthInc = value; }
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool value) { FFocusLabel = value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    bool SoftBorder() const { return FSoftBorder; }
    void SetSoftBorder(bool value);
    bool Border3D() const { return FBorder3D; }
    void SetBorder3D(bool value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor value);
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool value) { FFlatParentColor = value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    TColor DisabledColor() const { return FDisabledColor; }
    void SetDisabledColor(TColor value);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool value) { FDisabledBorder = value; }
    TColor ErrorColor() const { return FErrorColor; }
    void SetErrorColor(TColor value) { FErrorColor = value; }
    TColor ErrorFontColor() const { return FErrorFontColor; }
    void SetErrorFontColor(TColor value) { FErrorFontColor = value; }
    bool ShowError() const { return FShowError; }
    void SetShowError(bool value) { FShowError = value; }
    bool IsError() const { return FIsError; }
    void SetIsError(bool value);
    int ErrorMarkerPos() const { return FErrorMarkerPos; }
    void SetErrorMarkerPos(int value);
    int ErrorMarkerLen() const { return FErrorMarkerLen; }
    void SetErrorMarkerLen(int value);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor value) { FURLColor = value; }
    const String& EmptyText() const { return FEmptyText; }
    void SetEmptyText(const String& value);
    bool EmptyTextFocused() const { return FEmptyTextFocused; }
    void SetEmptyTextFocused(bool value);
    bool HintShowLargeText() const { return FHintShowLargeText; }
    void SetHintShowLargeText(bool value) { FHintShowLargeText = value; }
    // The answer to the hint-show notice with HintShowLargeText: the whole value, placed at the
    // client origin on screen, when it is wider than the edit; false leaves the hint as it is.
    bool LargeTextHint(String& HintStr, TPoint& HintPos);
    // The background; also the colour the edit returns to after focus, error and link looks.
    void SetColor(TColor value);
    void SetEnabled(bool value) override;
    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // ---- The attached label
    // Setting a caption makes the label.
    String LabelCaption() const;
    void SetLabelCaption(const String& value);
    advedit::TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(advedit::TLabelPosition value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool value);
    TFont* LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(const TFont* value);
    TLabel* EditLabel() const { return FLabel; }

    // ---- Drag and drop
    bool OleDropSource() const { return FOleDropSource; }
    void SetOleDropSource(bool value) { FOleDropSource = value; }
    bool OleDropTarget() const { return FOleDropTarget; }
    void SetOleDropTarget(bool value);
    // Where the drop caret stands (client coordinates); (-1, -1) when hidden.
    TPoint DropCaret() const { return FDropCaret; }

    // ---- Positions
    // The pixel width of the value in the edit's font.
    int GetTextSize();
    int CharFromPos(const TPoint& pt);
    TPoint PosFromChar(WORD uChar);
    // Takes the colours, border style and label anew (after loading).
    void Init();

    TURLClickEvent OnURLClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;

    TClipboardEvent OnClipboardCopy;
    TClipboardEvent OnClipboardCut;
    TClipboardEvent OnClipboardPaste;
    TLookupSelectEvent OnLookupSelect;
    TLookupIndexSelectEvent OnLookupIndexSelect;
    TValueValidateEvent OnValueValidate;

    void Loaded() override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Change() override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Paint() override;
    void WMNCPaint(TMessage& Message) override;
    void WMEraseBkgnd(TMessage& Message) override;
    void WMLButtonDown(TMessage& Message) override;
    void WMMouseMove(TMessage& Message) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMParentFontChanged(TMessage& Message) override;
    void CMVisibleChanged(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void WMChar(TMessage& Message) override;
    void WMKeyDown(TMessage& Message) override;
    void WMSysKeyDown(TMessage& Message) override;
    void WMLButtonUp(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;

    // The engine's entry points, routed from the messages above.
    void FilterTypedChar(TMessage& Message);
    void FilterKeyDown(TMessage& Message);
    void FilterPaste();
    void FilterCopy(TMessage& Message);
    void FilterCut(TMessage& Message);
    void WantSpecialKey(TMessage& Message);

private:
    friend class TEditDropTarget;

    // Looks.
    void ShowColor(TColor value) { TControl::SetColor(value); }
    TColor RestingColor() const;
    bool ErrorShowing() const { return FIsError && FShowError; }
    bool URLShowing() { return FShowURL && IsURLText(); }
    void SetURLLook(bool value);
    void SetFormatRect();
    void DrawBorder();
    bool Themed() const;
    void ApplyAlign(TEditAlign value);
    void FocusInLooks();
    void FocusOutLooks();
    void FocusOutAfter();
    bool LinkClick();
    void PlaceLabel();
    void DrawZigzag(TCanvas* canvas);
    // Drag and drop.
    void RegisterDropTarget();
    void InvalidateDropCaret();
    void DropTextAt(const TPoint& client, const String& s);

    // The value as the control shows it, Prefix and Suffix around it.
    void SetControlText(const String& whole);
    int PrefixLength() const { return FPrefix.Length(); }
    int ValueEnd() const { return FPrefix.Length() + Text().Length(); }
    int Caret() const;
    void SetCaret(int pos) { SetSelection(pos, pos); }

    // The typed input engine's view of this edit (AdvEditInput.cpp).
    friend class styled::TEditInputHost<TAdvEdit, TCustomEdit>;
    class TInputHost final : public styled::TEditInputHost<TAdvEdit, TCustomEdit> {
    public:
        using TEditInputHost::TEditInputHost;
        void SetWholeText(const String& text) override;
        bool NativeModified() override;
        double FloatValue() override;
        void SetFloatValue(double value) override;
        bool Modified() const override;
        void SetModified(bool value) override;
        String MixedCase(const String& value) override;
        styled::TTypedSettings Settings() const override;
        bool LookupKeyDown(TMessage& Message) override;
        void RefreshLookup() override;
        void BackspaceAtPrefix() override;
        void EscapeUndo() override;
    };

    // The auto-complete's keys.
    bool LookupShown() const;
    void LookupKey(WORD key);
    void HideLookup();
    // The window is the auto-complete window or one inside it.
    bool InLookup(HWND Window) const;

    TAdvEditType FEditType = etString;
    int16_t FPrecision = 0;
    TPrecisionDisplay FPrecisionDisplay = pdNormal;
    bool FAutoThousandSeparator = true;
    String FPrefix;
    String FSuffix;
    bool FAllowNumericNullValue = false;
    bool FSigned = false;
    bool FExcelStyleDecimalSeparator = false;
    int16_t FLengthLimit = 0;
    bool FTabOnFullLength = false;
    bool FReturnIsTab = false;
    String FValidChars;
    bool FCanUndo = true;
    bool FShowURL = false;
    bool FShowModified = false;
    TColor FModifiedColor = clHighlight;
    TColor FFocusFontColor = clWindowText;
    bool FFullTextSearch = false;
    bool FDefaultHandling = true;

    bool FModified = false;
    String FUndoText;
    bool FValidating = false;
    TColor FFontColor = clWindowText;  // the remembered normal font colour

    std::unique_ptr<TLookupSettings> FLookup;
    std::unique_ptr<TPersistence> FPersistence;
    TListHintWindow* FLookupWindow = nullptr;
    TLookupListBox* FLookupList = nullptr;

    TEditAlign FEditAlign = eaLeft;
    TEditAlign FFocusAlign = eaDefault;
    TEditAlign FAlignBeforeFocus = eaLeft;
    bool FApplyingFocusAlign = false;
    bool FAutoFocus = false;
    TColor FFocusColor = clNone;
    bool FFocusBorder = false;
    TColor FFocusBorderColor = clNone;
    int FFocusWidthInc = 0;
    bool FFocusLabel = false;
    TColor FBorderColor = clNone;
    bool FSoftBorder = false;
    bool FBorder3D = false;
    bool FFlat = false;
    TColor FFlatLineColor = clBlack;
    bool FFlatParentColor = true;
    bool FTransparent = false;
    TColor FDisabledColor = clSilver;
    bool FDisabledBorder = true;
    TColor FErrorColor = clRed;
    TColor FErrorFontColor = clWhite;
    bool FShowError = false;
    bool FIsError = false;
    int FErrorMarkerPos = 0;
    int FErrorMarkerLen = 0;
    TColor FURLColor = clBlue;
    String FEmptyText;
    bool FEmptyTextFocused = false;
    bool FHintShowLargeText = false;
    TColor FNormalColor = clWindow;  // the remembered normal background
    TFormBorderStyle FBorderBeforeFlat = bsSingle;
    bool FURLLook = false;
    bool FMouseInside = false;
    int FLoadedHeight = -1;
    bool FIsWinXP = false;
    bool FIsComCtl6 = false;

    TLabel* FLabel = nullptr;
    std::unique_ptr<TFont> FLabelFont;
    advedit::TLabelPosition FLabelPosition = advedit::lpLeftTop;
    int FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FLabelAlwaysEnabled = false;
    bool FLabelFollowsFont = true;

    bool FOleDropSource = false;
    bool FOleDropTarget = false;
    bool FDropTargetRegistered = false;
    bool FButtonDown = false;
    bool FIsDragSource = false;
    bool FDropInOwnSelection = false;
    TPoint FDropCaret{-1, -1};

    TInputHost FInputHost{*this};
    styled::TTypedInput FInput{FInputHost};
};
