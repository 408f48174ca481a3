#include "platform/ui/StdCtrls.h"

#include <algorithm>

#include "platform/ui/backend/Backend.h"
#include "platform/ui/StdCtrlsShared.h"
#include "platform/win/Window.h"

using namespace ui::stdctrls;

// ---------------------------------------------------------------------------------------------
// TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TNativeControlOf(AOwner), FItems(std::make_unique<TControlItems>()) {
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
    // A change the items name moves the selection itself; any other is followed by content.
    FItems->OnChanging = [this](TStrings*) {
        if (FItems->Pending().kind == TControlItems::Change::Other) FTracker.Before(*FItems, FItemIndex >= 0);
    };
    FItems->OnChange = [this](TStrings*) { ItemsChanged(); };
}

TCustomComboBox::~TCustomComboBox() {
    FItems->OnChanging = nullptr;
    FItems->OnChange = nullptr;
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
    TNativeControlOf::CreateParams(Params);
    AddBorderStyle(Params);
}

std::unique_ptr<ui::ListView> TCustomComboBox::CreateView(ui::Backend& backend, ui::WidgetPeer& host) {
    return backend.CreateListView(ui::ListKind::ComboBox, host, this, *this);
}

void TCustomComboBox::InitView() {
    ui::ListView* v = View();
    v->SetEditable(Editable());
    v->SetOwnerDrawItems(OwnerDrawsItems(), FStyle == csOwnerDrawVariable);
    std::vector<String> items;
    for (int i = 0; i < FItems->Count(); ++i) items.push_back(FItems->Get(i));
    v->SetItems(items);
    v->SetItemIndex(FItemIndex);
    v->SetText(Text());
    v->SetDropDownCount(FDropDownCount);
    if (FDroppedWidth > 0) v->SetDroppedWidth(FDroppedWidth);
    v->SetSelection(FAnchor, FCaret);
}

void TCustomComboBox::ItemsChanged() {
    using Change = TControlItems::Change;
    // The selection follows its item; the shown text stays as it is.
    const Change& c = FItems->Pending();
    if (c.kind != Change::Other) FItemIndex = MapItem(c, FItemIndex);
    else if (FTracker.Active()) FItemIndex = FTracker.Map(*FItems, FItemIndex);
    FTracker.Done();
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    if (c.kind == Change::Other) {
        RefreshView();
        return;
    }
    // One change: the view is shown that change alone.
    auto v = ChangeView();
    if (!v) return;
    switch (c.kind) {
        case Change::Insert: v->InsertItem(c.index, FItems->Get(c.index)); break;
        case Change::Delete: v->DeleteItem(c.index); break;
        case Change::Put: v->SetItemText(c.index, FItems->Get(c.index)); break;
        case Change::Exchange:
            v->SetItemText(c.index, FItems->Get(c.index));
            v->SetItemText(c.other, FItems->Get(c.other));
            break;
        case Change::Move:
            v->DeleteItem(c.index);
            v->InsertItem(c.other, FItems->Get(c.other));
            break;
        case Change::Object:
        case Change::Other: break;
    }
    v->SetItemIndex(FItemIndex);
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
    FStyle = value;
    if (auto v = ChangeView()) v->SetOwnerDrawItems(OwnerDrawsItems(), value == csOwnerDrawVariable);
    if (!Editable() && FItemIndex < 0 && !Text().empty()) {
        FInternalText = true;
        TControl::SetText(String());
        FInternalText = false;
    }
    RefreshView();
}

void TCustomComboBox::SetItemIndex(int value) {
    if (value < -1 || value >= FItems->Count()) value = -1;
    FItemIndex = value;
    if (auto v = ChangeView()) v->SetItemIndex(value);
    if (value >= 0) {
        FInternalText = true;
        TControl::SetText(FItems->Get(value));
        FInternalText = false;
        // The edit field shows the chosen item (a drop-down list shows its item by itself).
        if (auto v = ChangeView(); v && Editable()) v->SetText(Text());
        SetEditSel(0, Text().Length());
    } else if (!Editable() && !Text().empty()) {
        FInternalText = true;
        TControl::SetText(String());
        FInternalText = false;
    }
}

void TCustomComboBox::SetDropDownCount(int value) {
    FDropDownCount = value;
    if (auto v = ChangeView()) v->SetDropDownCount(value);
}

void TCustomComboBox::SetDroppedDown(bool value) {
    if (FDroppedDown == value) return;
    if (value && !Notify(CBN_DROPDOWN)) return;
    // The open list takes the mouse: the press that opened it leaves no capture on the box,
    // whose release the list receives.
    if (value && MouseCapture()) SetMouseCapture(false);
    FDroppedDown = value;
    if (auto v = ChangeView()) v->SetDroppedDown(value);
    if (!value) Notify(CBN_CLOSEUP);
}

void TCustomComboBox::SetSorted(bool value) {
    FSorted = value;
    FItems->SetSorted(value);  // the selection follows its item
}

void TCustomComboBox::Clear() {
    FItems->Clear();
    FItemIndex = -1;
    SetText(String());
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    Canvas()->FillRect(Rect);
    if (Index >= 0 && Index < FItems->Count()) Canvas()->TextOut(Rect.Left + 2, Rect.Top, FItems->Get(Index));
}

void TCustomComboBox::MeasureItem(int Index, int& Height) {
    Height = FItemHeight;
    if (FStyle == csOwnerDrawVariable && OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect) OnSelect(this);
    else Change();
}

void TCustomComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
    if (OnCloseUp) OnCloseUp(this);
}

bool TCustomComboBox::UserSelect(int index) {
    if (index < 0 || index >= FItems->Count()) return true;
    SetItemIndex(index);
    return Notify(CBN_SELCHANGE);  // reflected: Click, then Select
}

void TCustomComboBox::ListItemPicked(int index) {
    if (UserSelect(index)) ListClosedUp();
}

void TCustomComboBox::ListClosedUp() {
    if (MouseCapture()) SetMouseCapture(false);
    if (!FDroppedDown) return;
    FDroppedDown = false;
    Notify(CBN_CLOSEUP);
}

bool TCustomComboBox::DrawListItem(int index, const TRect& rect, TOwnerDrawState state, TBitmap& target) {
    return DrawOwnerItem(index, rect, state, target);
}

int TCustomComboBox::MeasureListItem(int index) { return MeasureOwnerItem(index); }

void TCustomComboBox::CMTextChanged(TMessage& Message) {
    if (!FInternalText) {
        // Written by the program: a drop-down list shows it only as one of its items.
        int i = FItems->IndexOf(Text());
        if (!Editable()) {
            FItemIndex = i;
            if (i < 0 && !Text().empty()) {
                FInternalText = true;
                TControl::SetText(String());
                FInternalText = false;
            }
            if (auto v = ChangeView()) v->SetItemIndex(FItemIndex);
        }
        FAnchor = FCaret = 0;
        if (auto v = ChangeView()) v->SetText(Text());
    }
    TNativeControl::CMTextChanged(Message);
}

void TCustomComboBox::SetEditSel(int anchor, int caret) {
    int len = Text().Length();
    FAnchor = std::clamp(anchor, 0, len);
    FCaret = std::clamp(caret, 0, len);
    if (auto v = ChangeView()) v->SetSelection(FAnchor, FCaret);
}

void TCustomComboBox::MatchItem() {
    int i = Find(Text(), -1, true);
    FItemIndex = i;
}

void TCustomComboBox::SetCharCase(TEditCharCase value) {
    FCharCase = value;
    if (Editable() && value != ecNormal && ui::EditModel::InCase(Text(), value) != Text()) SetText(ui::EditModel::InCase(Text(), value));
}

void TCustomComboBox::EditText(int start, int end, const String& in) {
    String s = ui::EditModel::InCase(in, FCharCase);
    size_t br = s.find_first_of(u"\r\n");
    if (br != String::npos) s = String(s.substr(0, br));
    const String& old = Text();
    if (FMaxLength > 0) {
        int room = FMaxLength - (old.Length() - (end - start));
        if (room <= 0 && !s.empty()) return;
        if (room < s.Length()) s = String(s.substr(0, static_cast<size_t>(room)));
    }
    String next = old;
    next.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), s);
    FInternalText = true;
    TControl::SetText(next);
    FInternalText = false;
    if (auto v = ChangeView()) v->SetText(next);
    SetEditSel(start + s.Length(), start + s.Length());
    MatchItem();
    Notify(CBN_EDITCHANGE);  // reflected: Change
}

int TCustomComboBox::Find(const String& s, int after, bool exact) const {
    return FindItem(*FItems, s, after, exact);
}

void TCustomComboBox::WMGetDlgCode(TMessage& Message) {
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (FDroppedDown) Message.Result |= DLGC_WANTALLKEYS;
}

void TCustomComboBox::CMDialogKey(TMessage& Message) {
    // Enter and Escape close an open list before the form sees them.
    WORD key = static_cast<WORD>(Message.WParam);
    if (FDroppedDown && (key == VK_RETURN || key == VK_ESCAPE)) {
        SetDroppedDown(false);
        Message.Result = 1;
        return;
    }
    TNativeControl::CMDialogKey(Message);
}

void TCustomComboBox::WMLButtonDown(TMessage& Message) {
    TNativeControl::WMLButtonDown(Message);
    PressedInBox(Message);
}

void TCustomComboBox::WMLButtonDblClk(TMessage& Message) {
    TNativeControl::WMLButtonDblClk(Message);
    PressedInBox(Message);
}

void TCustomComboBox::PressedInBox(TMessage& Message) {
    FocusOnClick();
    int x = GET_X_LPARAM(Message.LParam);
    bool onArrow = x >= Width() - Height();
    if (!Editable() || (FStyle == csDropDown && onArrow)) {
        SetDroppedDown(!FDroppedDown);
        return;
    }
    if (View()) {
        int pos = View()->CharFromPos(x, GET_Y_LPARAM(Message.LParam));
        if (pos >= 0) SetEditSel(pos, pos);
    }
}

void TCustomComboBox::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KEYDOWN: {
            WORD key = static_cast<WORD>(Message.WParam);
            bool shift = GetKeyState(VK_SHIFT) < 0;
            if (key == VK_F4 || ((key == VK_DOWN || key == VK_UP) && GetKeyState(VK_MENU) < 0)) {
                SetDroppedDown(!FDroppedDown);
                return;
            }
            if (FDroppedDown && (key == VK_ESCAPE || key == VK_RETURN)) {
                SetDroppedDown(false);
                return;
            }
            switch (key) {
                case VK_UP:
                case VK_DOWN:
                case VK_PRIOR:
                case VK_NEXT: {
                    int n = FItems->Count();
                    if (n == 0) return;
                    int step = key == VK_UP ? -1 : key == VK_DOWN ? 1 : key == VK_PRIOR ? -FDropDownCount : FDropDownCount;
                    int i = FItemIndex < 0 ? (step > 0 ? 0 : n - 1) : std::clamp(FItemIndex + step, 0, n - 1);
                    if (i != FItemIndex) UserSelect(i);
                    return;
                }
                case VK_HOME:
                case VK_END:
                    if (!Editable()) {
                        if (FItems->Count() > 0) UserSelect(key == VK_HOME ? 0 : FItems->Count() - 1);
                        return;
                    }
                    SetEditSel(shift ? FAnchor : (key == VK_HOME ? 0 : Text().Length()), key == VK_HOME ? 0 : Text().Length());
                    return;
                case VK_LEFT:
                case VK_RIGHT: {
                    if (!Editable()) return;
                    int c = std::clamp(FCaret + (key == VK_LEFT ? -1 : 1), 0, Text().Length());
                    SetEditSel(shift ? FAnchor : c, c);
                    return;
                }
                case VK_DELETE:
                    if (!Editable()) return;
                    if (SelLength() > 0) EditText(SelStart(), SelStart() + SelLength(), String());
                    else if (FCaret < Text().Length()) EditText(FCaret, FCaret + 1, String());
                    return;
                default: return;
            }
        }
        case WM_CHAR: {
            char16_t ch = static_cast<char16_t>(Message.WParam);
            if (!Editable()) {
                // A typed letter selects the next item that starts with it.
                if (ch < 0x20) return;
                int i = Find(String(1, ch), FItemIndex, false);
                if (i >= 0 && i != FItemIndex) UserSelect(i);
                return;
            }
            if (ch == u'\b') {
                if (SelLength() > 0) EditText(SelStart(), SelStart() + SelLength(), String());
                else if (FCaret > 0) EditText(FCaret - 1, FCaret, String());
                return;
            }
            if (ch == 0x16) {
                Perform(WM_PASTE, 0, 0);
                return;
            }
            if (ch == 0x03) {
                Perform(WM_COPY, 0, 0);
                return;
            }
            if (ch == 0x18) {
                Perform(WM_CUT, 0, 0);
                return;
            }
            if (ch == 0x01) {
                SelectAll();
                return;
            }
            if (ch >= 0x20) EditText(SelStart(), SelStart() + SelLength(), String(1, ch));
            return;
        }
        case WM_PASTE:
            if (Editable()) EditText(SelStart(), SelStart() + SelLength(), ui::NativeClipboardText());
            return;
        case WM_COPY:
            if (SelLength() > 0) ui::SetNativeClipboardText(String(Text().substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()))));
            return;
        case WM_CUT:
            if (!Editable() || SelLength() == 0) return;
            ui::SetNativeClipboardText(String(Text().substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()))));
            EditText(SelStart(), SelStart() + SelLength(), String());
            return;
        case CN_COMMAND:
            switch (HIWORD(Message.WParam)) {
                case CBN_SELCHANGE: {
                    std::shared_ptr<const bool> alive = AliveToken();
                    Click();
                    if (*alive) Select();
                    break;
                }
                case CBN_EDITCHANGE: Change(); break;
                case CBN_DROPDOWN: DropDown(); break;
                case CBN_CLOSEUP: CloseUp(); break;
                default: break;
            }
            return;
        case CB_SHOWDROPDOWN:
            SetDroppedDown(Message.WParam != 0);
            Message.Result = 1;
            return;
        case CB_GETDROPPEDSTATE: Message.Result = FDroppedDown ? 1 : 0; return;
        case CB_SETCURSEL: {
            int i = static_cast<int>(static_cast<int32_t>(Message.WParam));
            SetItemIndex(i);
            Message.Result = (i >= 0 && i < FItems->Count()) ? i : CB_ERR;
            return;
        }
        case CB_GETCURSEL: Message.Result = FItemIndex; return;
        case CB_GETCOUNT: Message.Result = FItems->Count(); return;
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
            Message.Result = Find(MessageText(Message.LParam), static_cast<int>(static_cast<int32_t>(Message.WParam)), Message.Msg == CB_FINDSTRINGEXACT);
            return;
        case CB_SELECTSTRING: {
            int i = Find(MessageText(Message.LParam), static_cast<int>(static_cast<int32_t>(Message.WParam)), false);
            if (i >= 0) SetItemIndex(i);
            Message.Result = i;
            return;
        }
        case CB_GETLBTEXT:
        case CB_GETLBTEXTLEN: {
            int i = static_cast<int>(static_cast<int32_t>(Message.WParam));
            if (i < 0 || i >= FItems->Count()) {
                Message.Result = CB_ERR;
                return;
            }
            String s = FItems->Get(i);
            if (Message.Msg == CB_GETLBTEXT) CopyItemText(s, Message.LParam);
            Message.Result = s.Length();
            return;
        }
        case CB_ADDSTRING: Message.Result = FItems->Add(MessageText(Message.LParam)); return;
        case CB_INSERTSTRING: {
            int i = static_cast<int>(static_cast<int32_t>(Message.WParam));
            if (i < 0 || i > FItems->Count()) i = FItems->Count();
            FItems->Insert(i, MessageText(Message.LParam));
            Message.Result = i;
            return;
        }
        case CB_DELETESTRING: {
            int i = static_cast<int>(static_cast<int32_t>(Message.WParam));
            if (i < 0 || i >= FItems->Count()) {
                Message.Result = CB_ERR;
                return;
            }
            FItems->Delete(i);
            Message.Result = FItems->Count();
            return;
        }
        case CB_RESETCONTENT:
            FItems->Clear();
            FItemIndex = -1;
            return;
        case CB_GETITEMDATA:
        case CB_SETITEMDATA: {
            int i = static_cast<int>(static_cast<int32_t>(Message.WParam));
            if (i < 0 || i >= FItems->Count()) {
                Message.Result = CB_ERR;
                return;
            }
            if (Message.Msg == CB_SETITEMDATA) FItems->PutObject(i, reinterpret_cast<void*>(Message.LParam));
            Message.Result = reinterpret_cast<LRESULT>(FItems->GetObject(i));
            return;
        }
        case CB_LIMITTEXT: FMaxLength = static_cast<int>(std::min<WPARAM>(Message.WParam, 0x7FFFFFFE)); Message.Result = 1; return;
        case CB_SETEDITSEL: {
            if (!Editable()) {
                Message.Result = CB_ERR;
                return;
            }
            int s = static_cast<int16_t>(LOWORD(static_cast<DWORD>(Message.LParam)));
            int e = static_cast<int16_t>(HIWORD(static_cast<DWORD>(Message.LParam)));
            int len = Text().Length();
            if (s < 0) {
                SetEditSel(FCaret, FCaret);
            } else {
                SetEditSel(s, (e < 0 || e > len) ? len : e);
            }
            Message.Result = 1;
            return;
        }
        case CB_GETEDITSEL: {
            auto s = static_cast<DWORD>(SelStart()), e = static_cast<DWORD>(SelStart() + SelLength());
            if (Message.WParam) *reinterpret_cast<DWORD*>(Message.WParam) = s;
            if (Message.LParam) *reinterpret_cast<DWORD*>(Message.LParam) = e;
            Message.Result = static_cast<LRESULT>(MakeLong(s, e));
            return;
        }
        case CB_SETDROPPEDWIDTH:
            FDroppedWidth = static_cast<int>(Message.WParam);
            if (auto v = ChangeView()) v->SetDroppedWidth(DroppedWidth());
            Message.Result = DroppedWidth();
            return;
        case CB_GETDROPPEDWIDTH: Message.Result = DroppedWidth(); return;
        case CB_SETITEMHEIGHT: FItemHeight = static_cast<int>(Message.LParam); Message.Result = 0; return;
        case CB_GETITEMHEIGHT: Message.Result = FItemHeight; return;
        default: TNativeControl::DefaultHandler(Message); return;
    }
}
