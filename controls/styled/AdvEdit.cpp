// The styled edit: creation, the routing of the native messages to the typed input, the
// modified flag, the selection helpers, focus in and out, and the settings objects.
#include "controls/styled/AdvEdit.h"

#include <algorithm>
#include <utility>

#include "controls/styled/VizIrovaRE.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Gdi.h"
#include "platform/ole/DragDrop.h"
#include "platform/win/Window.h"

// ---------------------------------------------------------------------------------------------
// TLookupSettings

TLookupSettings::TLookupSettings() : FDisplayList(std::make_unique<TStringList>()), FValueList(std::make_unique<TStringList>()) {
    FDisplayList->SetSorted(true);
    FDisplayList->SetDuplicates(dupIgnore);
}

TLookupSettings::~TLookupSettings() = default;

void TLookupSettings::SetDisplayList(const TStrings* value) { FDisplayList->Assign(value); }

void TLookupSettings::SetValueList(const TStrings* value) { FValueList->Assign(value); }

void TLookupSettings::SetNumChars(int value) {
    if (value > 0) FNumChars = value;
}

void TLookupSettings::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TLookupSettings*>(Source);
    if (!s || s == this) return;
    FEnabled = s->FEnabled;
    FDisplayList->Assign(s->FDisplayList.get());
    FValueList->Assign(s->FValueList.get());
    FNumChars = s->FNumChars;
    FDisplayCount = s->FDisplayCount;
    FColor = s->FColor;
    FCaseSensitive = s->FCaseSensitive;
    FHistory = s->FHistory;
    FMulti = s->FMulti;
    FSeparator = s->FSeparator;
}

// ---------------------------------------------------------------------------------------------
// TPersistence

void TPersistence::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TPersistence*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FEnable = s->FEnable;
    FKey = s->FKey;
    FSection = s->FSection;
    FLocation = s->FLocation;
}

// ---------------------------------------------------------------------------------------------
// TAdvEdit

TAdvEdit::TAdvEdit(TComponent* AOwner)
    : TCustomEdit(AOwner), FLookup(std::make_unique<TLookupSettings>()), FPersistence(std::make_unique<TPersistence>()) {
    FFontColor = Font()->Color();
    FNormalColor = Color();
    FLabelFont = std::make_unique<TFont>();
    FLabelFont->OnChange = [this](TObject*) { PlaceLabel(); };
    SetOwnerPainted(true);  // the flat line, the empty text and the markers paint over the edit
    FIsWinXP = IsWinXPOrLater();
    FIsComCtl6 = IsComCtl6OrLater();
    if (!ComponentState().Contains(csDesigning)) {
        FLookupWindow = new TListHintWindow(this);
        FLookupWindow->SetVisible(false);
        FLookupWindow->SetBounds(0, 0, 0, 0);
        FLookupList = new TLookupListBox(this);
        FLookupList->SetParent(FLookupWindow);
        FLookupList->SetAlign(alClient);
        FLookupList->OnChoose = [this] { SelectLookupItem(); };
        FLookupWindow->SetListControl(FLookupList);
    }
}

TAdvEdit::~TAdvEdit() {
    // The label goes first, while the edit it follows is whole.
    if (FLabel) {
        TLabel* label = std::exchange(FLabel, nullptr);
        label->Free();
    }
    if (FOleDropTarget && FDropTargetRegistered && HandleAllocated()) RevokeDragDrop(Handle());
    // The base's destructor takes the window down where this class is gone already: the
    // value is saved here while it still can be.
    if (HandleAllocated() && !ComponentState().Contains(csDesigning)) {
        try {
            SavePersist();
        } catch (...) {
            // A destructor cannot report it; a program that must know calls SavePersist itself.
        }
    }
    if (FLookupWindow) {
        // Hidden first, so that a list window holding the activation hands it back to the form,
        // unless the form goes too.
        TCustomForm* form = GetParentForm(this);
        if (FLookupWindow->Visible() && form && !form->ComponentState().Contains(csDestroying)) FLookupWindow->SetVisible(false);
        FLookupWindow->SetParent(nullptr);
        delete FLookupWindow;  // takes its list box with it
        FLookupWindow = nullptr;
        FLookupList = nullptr;
    }
}

void TAdvEdit::CreateParams(TCreateParams& Params) {
    TCustomEdit::CreateParams(Params);
    if (FEditType == etPassword) {
        Params.Style |= ES_PASSWORD;
    } else {
        // The formatting rectangle and the alignment styles take effect on a multi-line edit.
        Params.Style |= ES_MULTILINE;
    }
    if (FEditAlign == eaRight) Params.Style = (Params.Style | ES_RIGHT) & ~ES_CENTER;
    if (FEditAlign == eaCenter) Params.Style = (Params.Style | ES_CENTER) & ~ES_RIGHT;
}

void TAdvEdit::CreateWnd() {
    TCustomEdit::CreateWnd();
    SetFormatRect();
    // A window made again (alignment, CanUndo, the password type) takes drops as the old did.
    if (FDropTargetRegistered) RegisterDropTarget();
}

void TAdvEdit::DestroyWnd() {
    if (!ComponentState().Contains(csDesigning)) SavePersist();
    if (FDropTargetRegistered) RevokeDragDrop(Handle());
    TCustomEdit::DestroyWnd();
}

void TAdvEdit::Loaded() {
    TCustomEdit::Loaded();
    const bool designing = ComponentState().Contains(csDesigning);
    if (!designing) Init();
    if (FLoadedHeight >= 0) SetBounds(Left(), Top(), Width(), FLoadedHeight);
    if (!designing) LoadPersist();
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
    if (FLabel && ParentFont()) FLabel->Font()->Assign(Font());
    FLabelFollowsFont = ParentFont();
    PlaceLabel();
}

void TAdvEdit::SetCanUndo(bool value) {
    if (FCanUndo == value) return;
    FCanUndo = value;
    if (HandleAllocated()) RecreateWnd();
}

int TAdvEdit::Caret() const { return SelStart(); }

void TAdvEdit::SetModified(bool value) {
    if (ComponentState().Contains(csLoading) || ReadOnly()) return;
    Perform(EM_SETMODIFY, value ? 1 : 0, 0);
    FModified = value;
    if (FShowModified) Font()->SetColor(value ? FModifiedColor : FFontColor);
}

void TAdvEdit::Change() {
    if (!FInput.ChangeNotice()) return;
    if (FTransparent) Invalidate();
    if (FShowURL) {
        bool url = IsURLText();
        if (url != FURLLook) SetURLLook(url);
    }
    TCustomEdit::Change();
    if (!ComponentState().Contains(csLoading) && FShowError) SetIsError(!ValidateValue(Text()));
}

bool TAdvEdit::ValidateValue(const String& Value) {
    if (FValidating) return true;
    FValidating = true;
    bool valid = true;
    try {
        DoValueValidate(Value, valid);
    } catch (...) {
        FValidating = false;
        throw;
    }
    FValidating = false;
    return valid;
}

void TAdvEdit::DoValueValidate(const String& Value, bool& IsValid) {
    if (OnValueValidate) OnValueValidate(this, Value, IsValid);
}

bool TAdvEdit::IsURLText() {
    String v = Text();
    return Pos(u"://", v) > 0 || Pos(u"@", v) > 1 || AnsiLowerCase(v).starts_with(u"www.");
}

// ---- Selection helpers

void TAdvEdit::SelectAll() {
    const String v = Text();
    const int pre = PrefixLength();
    int start = 0, end = v.Length();
    // The caret goes to 0 first, left of any Prefix: with one or a Suffix the value itself.
    if (!FPrefix.empty() || !FSuffix.empty()) {
        start = pre;
        end = pre + v.Length();
    }
    if (FShowURL) {
        int mail = Pos(u"mailto:", v), scheme = Pos(u"://", v);
        if (mail > 0) start = pre + mail + 6;
        else if (scheme > 0) start = pre + scheme + 2;
        end = pre + v.Length();
    }
    SetSelection(start, end);
}

void TAdvEdit::SelectBeforeDecimal() { FInput.CaretBeforeDecimal(); }

void TAdvEdit::SelectAfterDecimal() { FInput.CaretAfterDecimal(); }

// ---- Message routing

void TAdvEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_PASTE: FilterPaste(); return;  // the native edit never sees it
        case WM_COPY: FilterCopy(Message); return;
        case WM_CUT: FilterCut(Message); return;
        case CM_WANTSPECIALKEY: WantSpecialKey(Message); return;
        case CN_CTLCOLOREDIT:
        case CN_CTLCOLORSTATIC:
            TCustomEdit::Dispatch(Message);
            // A transparent edit's text goes over what its parent painted behind it.
            if (FTransparent) SetBkMode(reinterpret_cast<HDC>(Message.WParam), TRANSPARENT);
            return;
        case WM_CANCELMODE:
            TCustomEdit::Dispatch(Message);
            HideLookup();
            return;
        case CM_HINTSHOW:
            TCustomEdit::Dispatch(Message);
            if (auto* info = reinterpret_cast<THintInfo*>(Message.LParam)) LargeTextHint(info->HintStr, info->HintPos);
            return;
        default: break;
    }
    TCustomEdit::Dispatch(Message);
}

void TAdvEdit::WMChar(TMessage& Message) { FilterTypedChar(Message); }

void TAdvEdit::WMKeyDown(TMessage& Message) { FilterKeyDown(Message); }

void TAdvEdit::WMSysKeyDown(TMessage& Message) {
    // Alt takes the auto-complete choice, but only from a list the user can see.
    if (LookupShown()) SelectLookupItem();
    TCustomEdit::WMSysKeyDown(Message);
}

void TAdvEdit::WMLButtonUp(TMessage& Message) {
    if (FButtonDown) {
        // Pressed in the selection and released without a drag: the caret goes to the point.
        FButtonDown = false;
        int at = CharFromPos(TPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
        if (at >= 0) SetCaret(at);
        Click();
    }
    TCustomEdit::WMLButtonUp(Message);
    if (LinkClick()) return;
    FInput.Released();
}

// ---- Focus

void TAdvEdit::CMEnter(TMessage& Message) {
    TCustomEdit::CMEnter(Message);
    if (ComponentState().Contains(csLoading)) return;
    FUndoText = Text();
    FocusInLooks();  // the colours, AutoSelect, the label, the width and the alignment
}

void TAdvEdit::CMExit(TMessage& Message) {
    if (ComponentState().Contains(csLoading)) {
        TCustomEdit::CMExit(Message);
        return;
    }
    FocusOutLooks();
    FInput.CompleteNumber();
    ValidateValue(Text());
    TCustomEdit::CMExit(Message);
    if (FLookup->Enabled() && FLookup->History()) {
        String t = Trim(Text());
        if (!t.empty() && FLookup->DisplayList()->IndexOf(t) < 0) FLookup->DisplayList()->Add(t);
    }
    FocusOutAfter();
}

void TAdvEdit::WMKillFocus(TMessage& Message) {
    TCustomEdit::WMKillFocus(Message);
    // The auto-complete list stays while the focus goes into it (a press in the list); focus
    // going anywhere else, to no window of the program too, hides it.
    if (!InLookup(reinterpret_cast<HWND>(Message.WParam))) HideLookup();
}
