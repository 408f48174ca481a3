#include "platform/ui/StdCtrls.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/StdCtrlsShared.h"
#include "platform/win/Window.h"

using namespace ui::stdctrls;

// ---------------------------------------------------------------------------------------------
// TCustomListBox

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TNativeControlOf(AOwner), FItems(std::make_unique<TControlItems>()) {
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    // OnClick reports a change of selection by the user, not every click.
    FControlStyle >> csClickEvents;
    FItems->OnChanging = [this](TStrings*) {
        FitSelection();
        // A change the list names moves the selection itself; any other is followed by content.
        if (FItems->Pending().kind != TControlItems::Change::Other) return;
        FTracker.Before(*FItems, FItemIndex >= 0 || FAnchor >= 0 || std::find(FSelected.begin(), FSelected.end(), true) != FSelected.end());
    };
    FItems->OnChange = [this](TStrings*) { ItemsChanged(); };
}

TCustomListBox::~TCustomListBox() {
    FItems->OnChanging = nullptr;
    FItems->OnChange = nullptr;
}

std::unique_ptr<ui::ListView> TCustomListBox::CreateView(ui::Backend& backend, ui::WidgetPeer& host) {
    return backend.CreateListView(ui::ListKind::ListBox, host, this, *this);
}

bool TCustomListBox::DrawListItem(int index, const TRect& rect, TOwnerDrawState state, TBitmap& target) {
    return DrawOwnerItem(index, rect, state, target);
}

int TCustomListBox::MeasureListItem(int index) { return MeasureOwnerItem(index); }

void TCustomListBox::InitView() {
    std::vector<String> items;
    for (int i = 0; i < FItems->Count(); ++i) items.push_back(FItems->Get(i));
    if (FItemHeight > 0) View()->SetItemHeight(FItemHeight);
    View()->SetOwnerDrawItems(FStyle != lbStandard, FStyle == lbOwnerDrawVariable);
    View()->SetItems(items);
    ShowSelection();
    View()->SetTopIndex(FTopIndex);
}

void TCustomListBox::ShowSelection() {
    auto v = ChangeView();
    if (!v) return;
    v->SetItemIndex(FItemIndex);
    for (int i = 0; i < static_cast<int>(FSelected.size()); ++i) v->SetItemSelected(i, FSelected[static_cast<size_t>(i)]);
}

void TCustomListBox::FitSelection() {
    int n = FItems->Count();
    FSelected.resize(static_cast<size_t>(n), false);
    if (FItemIndex >= n) FItemIndex = -1;
    if (FAnchor >= n) FAnchor = -1;
}

void TCustomListBox::ItemsChanged() {
    int n = FItems->Count();
    const TControlItems::Change& change = FItems->Pending();
    if (change.kind != TControlItems::Change::Other) {
        ShowChange(change);
        return;
    }
    if (FTracker.Active()) {
        // Selection marks, item index and anchor move with their items.
        std::vector<bool> moved(static_cast<size_t>(n), false);
        for (size_t i = 0; i < FSelected.size(); ++i) {
            if (!FSelected[i]) continue;
            int to = FTracker.Map(*FItems, static_cast<int>(i));
            if (to >= 0) moved[static_cast<size_t>(to)] = true;
        }
        FSelected = std::move(moved);
        FItemIndex = FTracker.Map(*FItems, FItemIndex);
        FAnchor = FTracker.Map(*FItems, FAnchor);
    }
    FTracker.Done();
    FitSelection();
    if (FTopIndex >= n) FTopIndex = std::max(0, n - 1);
    RefreshView();
}

void TCustomListBox::ShowChange(const TControlItems::Change& change) {
    using Change = TControlItems::Change;
    int n = FItems->Count();
    // The marks, item index and anchor move with their items; an append costs no more than one
    // mark, so filling a list item by item stays linear.
    auto at = [this](int i) { return FSelected.begin() + i; };
    int count = static_cast<int>(FSelected.size());
    auto valid = [count](int i) { return i >= 0 && i < count; };
    switch (change.kind) {
        case Change::Insert:
            if (change.index >= 0 && change.index <= count) FSelected.insert(at(change.index), false);
            break;
        case Change::Delete:
            if (valid(change.index)) FSelected.erase(at(change.index));
            break;
        case Change::Put:
            if (valid(change.index)) FSelected[static_cast<size_t>(change.index)] = false;
            break;
        case Change::Exchange:
            if (valid(change.index) && valid(change.other)) {
                bool a = FSelected[static_cast<size_t>(change.index)];
                FSelected[static_cast<size_t>(change.index)] = FSelected[static_cast<size_t>(change.other)];
                FSelected[static_cast<size_t>(change.other)] = a;
            }
            break;
        case Change::Move:
            if (valid(change.index) && valid(change.other)) {
                bool mark = FSelected[static_cast<size_t>(change.index)];
                FSelected.erase(at(change.index));
                FSelected.insert(at(change.other), mark);
            }
            break;
        case Change::Object:
        case Change::Other: break;
    }
    FItemIndex = MapItem(change, FItemIndex);
    FAnchor = MapItem(change, FAnchor);
    FitSelection();
    int top = FTopIndex;
    if (FTopIndex >= n) FTopIndex = std::max(0, n - 1);
    auto v = ChangeView();
    if (!v) return;
    // The items the change touched, shown again with their marks.
    std::vector<int> touched;
    switch (change.kind) {
        case Change::Insert:
            v->InsertItem(change.index, FItems->Get(change.index));
            touched = {change.index};
            break;
        case Change::Delete: v->DeleteItem(change.index); break;
        case Change::Put:
            v->SetItemText(change.index, FItems->Get(change.index));
            touched = {change.index};
            break;
        case Change::Exchange:
            v->SetItemText(change.index, FItems->Get(change.index));
            v->SetItemText(change.other, FItems->Get(change.other));
            touched = {change.index, change.other};
            break;
        case Change::Move:
            v->DeleteItem(change.index);
            v->InsertItem(change.other, FItems->Get(change.other));
            touched = {change.other};
            break;
        case Change::Object:
        case Change::Other: break;
    }
    v->SetItemIndex(FItemIndex);
    for (int i : touched) ShowItemState(i);
    if (FTopIndex != top) v->SetTopIndex(FTopIndex);
}

void TCustomListBox::ShowItemState(int index) {
    if (auto* v = View(); v && index >= 0 && index < static_cast<int>(FSelected.size())) v->SetItemSelected(index, FSelected[static_cast<size_t>(index)]);
}

void TCustomListBox::SelectOnly(int index) {
    std::fill(FSelected.begin(), FSelected.end(), false);
    if (index >= 0 && index < static_cast<int>(FSelected.size())) FSelected[static_cast<size_t>(index)] = true;
}

void TCustomListBox::SelectRange(int anchor, int index) {
    std::fill(FSelected.begin(), FSelected.end(), false);
    int n = static_cast<int>(FSelected.size());
    for (int k = std::max(0, std::min(anchor, index)); k <= std::max(anchor, index) && k < n; ++k) FSelected[static_cast<size_t>(k)] = true;
}

void TCustomListBox::SetItemIndex(int value) {
    FitSelection();
    if (value < -1 || value >= FItems->Count()) value = -1;
    FItemIndex = value;
    if (!FMultiSelect) SelectOnly(value);
    else if (value >= 0) FSelected[static_cast<size_t>(value)] = true;
    FAnchor = value;
    ShowSelection();
}

void TCustomListBox::SetMultiSelect(bool value) {
    FMultiSelect = value;
    if (!value) SelectOnly(FItemIndex);
    ShowSelection();
}

bool TCustomListBox::Selected(int index) const {
    if (index < 0 || index >= static_cast<int>(FSelected.size())) throw EListError(String("List index out of bounds (") + IntToStr(index) + String(")"));
    return FSelected[static_cast<size_t>(index)];
}

void TCustomListBox::SetSelected(int index, bool value) {
    if (index < 0 || index >= static_cast<int>(FSelected.size())) throw EListError(String("List index out of bounds (") + IntToStr(index) + String(")"));
    if (!FMultiSelect) {
        SetItemIndex(value ? index : (index == FItemIndex ? -1 : FItemIndex));
        return;
    }
    FSelected[static_cast<size_t>(index)] = value;
    ShowSelection();
}

int TCustomListBox::SelCount() const {
    if (!FMultiSelect) return -1;  // as the platform answers for a single-selection list
    return static_cast<int>(std::count(FSelected.begin(), FSelected.end(), true));
}

void TCustomListBox::SetSorted(bool value) {
    FSorted = value;
    FItems->SetSorted(value);  // the selection follows its item
}

void TCustomListBox::SetTopIndex(int value) {
    FTopIndex = std::clamp(value, 0, std::max(0, FItems->Count() - 1));
    if (auto v = ChangeView()) v->SetTopIndex(FTopIndex);
}

int TCustomListBox::ItemHeight() const {
    if (FItemHeight > 0) return FItemHeight;
    int h = View() ? View()->ItemHeight() : 0;
    return h > 0 ? h : 16;
}

void TCustomListBox::SetItemHeight(int value) {
    FItemHeight = std::max(1, value);
    if (auto v = ChangeView()) v->SetItemHeight(FItemHeight);
}

int TCustomListBox::ItemAtPos(const TPoint& p, bool existing) const {
    int i = -1;
    if (View() && FItemHeight <= 0) i = View()->ItemAtPos(p.X, p.Y);
    else if (p.Y >= 0) i = FTopIndex + p.Y / ItemHeight();
    if (i >= 0 && i < FItems->Count()) return i;
    return existing ? -1 : FItems->Count();
}

void TCustomListBox::UserSelected() { Click(); }

void TCustomListBox::SetStyle(TListBoxStyle value) {
    FStyle = value;
    if (auto v = ChangeView()) v->SetOwnerDrawItems(value != lbStandard, value == lbOwnerDrawVariable);
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    Canvas()->FillRect(Rect);
    if (Index >= 0 && Index < FItems->Count()) Canvas()->TextOut(Rect.Left + 2, Rect.Top, FItems->Get(Index));
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
    Height = FItemHeight > 0 ? FItemHeight : 16;  // not the view's: it asks here
    if (FStyle == lbOwnerDrawVariable && OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::WMLButtonDown(TMessage& Message) {
    TNativeControl::WMLButtonDown(Message);
    FocusOnClick();
    FitSelection();
    int x = GET_X_LPARAM(Message.LParam);
    int i = ItemAtPos(Point(x, GET_Y_LPARAM(Message.LParam)), true);
    if (i < 0) return;
    bool ctrl = (Message.WParam & MK_CONTROL) != 0, shift = (Message.WParam & MK_SHIFT) != 0;
    if (FMultiSelect) {
        if (ctrl || !FExtendedSelect) {
            FSelected[static_cast<size_t>(i)] = !FSelected[static_cast<size_t>(i)];
            FAnchor = i;
        } else if (shift && FAnchor >= 0) {
            SelectRange(FAnchor, i);
        } else {
            SelectOnly(i);
            FAnchor = i;
        }
        FItemIndex = i;
    } else {
        FItemIndex = i;
        SelectOnly(i);
    }
    ShowSelection();
    FDragSelecting = !(FMultiSelect && (ctrl || !FExtendedSelect));
    ClickItem(i, x);
    UserSelected();
}

void TCustomListBox::WMMouseMove(TMessage& Message) {
    TNativeControl::WMMouseMove(Message);
    if (!FDragSelecting || !(Message.WParam & MK_LBUTTON)) return;
    int i = ItemAtPos(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)), true);
    if (i < 0 || i == FItemIndex) return;
    FItemIndex = i;
    if (FMultiSelect && FAnchor >= 0) SelectRange(FAnchor, i);
    else SelectOnly(i);
    ShowSelection();
    UserSelected();
}

void TCustomListBox::WMLButtonUp(TMessage& Message) {
    FDragSelecting = false;
    TNativeControl::WMLButtonUp(Message);
}

void TCustomListBox::WMLButtonDblClk(TMessage& Message) {
    TNativeControl::WMLButtonDblClk(Message);
    DblClick();
}

void TCustomListBox::DefaultHandler(TMessage& Message) {
    FitSelection();
    int idx = static_cast<int>(static_cast<int32_t>(Message.WParam));
    bool valid = idx >= 0 && idx < FItems->Count();
    switch (Message.Msg) {
        case WM_KEYDOWN: {
            WORD key = static_cast<WORD>(Message.WParam);
            int n = FItems->Count();
            if (n == 0) return;
            int page = std::max(1, Height() / ItemHeight() - 1);
            int i = FItemIndex;
            switch (key) {
                case VK_UP: i = i < 0 ? 0 : i - 1; break;
                case VK_DOWN: i = i < 0 ? 0 : i + 1; break;
                case VK_PRIOR: i -= page; break;
                case VK_NEXT: i = i < 0 ? page : i + page; break;
                case VK_HOME: i = 0; break;
                case VK_END: i = n - 1; break;
                case VK_SPACE:
                    if (FItemIndex >= 0) {
                        if (FMultiSelect) {
                            FSelected[static_cast<size_t>(FItemIndex)] = !FSelected[static_cast<size_t>(FItemIndex)];
                            ShowSelection();
                        }
                        ClickItem(FItemIndex, -1);
                        UserSelected();
                    }
                    return;
                default: return;
            }
            i = std::clamp(i, 0, n - 1);
            if (i == FItemIndex) return;
            // Shift extends an extended multi-select list's selection from its anchor.
            int anchor = FAnchor;
            bool extend = FMultiSelect && FExtendedSelect && anchor >= 0 && GetKeyState(VK_SHIFT) < 0;
            SetItemIndex(i);
            if (extend) {
                FAnchor = anchor;
                SelectRange(anchor, i);
                ShowSelection();
            } else if (FMultiSelect) {
                SelectOnly(i), ShowSelection();
            }
            if (i < FTopIndex) SetTopIndex(i);
            else if (i >= FTopIndex + page + 1) SetTopIndex(i - page);
            UserSelected();
            return;
        }
        case WM_CHAR: {
            char16_t ch = static_cast<char16_t>(Message.WParam);
            if (ch <= 0x20) return;
            int i = FindItem(*FItems, String(1, ch), FItemIndex, false);
            if (i >= 0 && i != FItemIndex) {
                SetItemIndex(i);
                UserSelected();
            }
            return;
        }
        case LB_GETCOUNT: Message.Result = FItems->Count(); return;
        case LB_GETCURSEL: Message.Result = FMultiSelect ? FItemIndex : (FItemIndex >= 0 ? FItemIndex : LB_ERR); return;
        case LB_SETCURSEL:
            if (FMultiSelect) {
                Message.Result = LB_ERR;
                return;
            }
            SetItemIndex(valid ? idx : -1);
            Message.Result = valid ? idx : LB_ERR;
            return;
        case LB_GETSEL: Message.Result = valid ? (FSelected[static_cast<size_t>(idx)] ? 1 : 0) : LB_ERR; return;
        case LB_SETSEL: {
            // wParam: select or not; lParam: the item, -1 for all.
            int item = static_cast<int>(static_cast<int32_t>(Message.LParam));
            if (!FMultiSelect) {
                Message.Result = LB_ERR;
                return;
            }
            if (item == -1) std::fill(FSelected.begin(), FSelected.end(), Message.WParam != 0);
            else if (item >= 0 && item < FItems->Count()) FSelected[static_cast<size_t>(item)] = Message.WParam != 0;
            else {
                Message.Result = LB_ERR;
                return;
            }
            ShowSelection();
            return;
        }
        case LB_GETSELCOUNT: Message.Result = FMultiSelect ? SelCount() : LB_ERR; return;
        case LB_GETTEXT:
        case LB_GETTEXTLEN: {
            if (!valid) {
                Message.Result = LB_ERR;
                return;
            }
            String s = FItems->Get(idx);
            if (Message.Msg == LB_GETTEXT) CopyItemText(s, Message.LParam);
            Message.Result = s.Length();
            return;
        }
        case LB_ADDSTRING: Message.Result = FItems->Add(MessageText(Message.LParam)); return;
        case LB_INSERTSTRING: {
            int i = (idx < 0 || idx > FItems->Count()) ? FItems->Count() : idx;
            FItems->Insert(i, MessageText(Message.LParam));
            Message.Result = i;
            return;
        }
        case LB_DELETESTRING:
            if (!valid) {
                Message.Result = LB_ERR;
                return;
            }
            FItems->Delete(idx);
            Message.Result = FItems->Count();
            return;
        case LB_RESETCONTENT: FItems->Clear(); return;
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT:
            Message.Result = FindItem(*FItems, MessageText(Message.LParam), idx, Message.Msg == LB_FINDSTRINGEXACT);
            return;
        case LB_SELECTSTRING: {
            int i = FindItem(*FItems, MessageText(Message.LParam), idx, false);
            if (i >= 0) SetItemIndex(i);
            Message.Result = i;
            return;
        }
        case LB_GETTOPINDEX: Message.Result = FTopIndex; return;
        case LB_SETTOPINDEX: SetTopIndex(idx); return;
        case LB_GETITEMHEIGHT: Message.Result = ItemHeight(); return;
        case LB_SETITEMHEIGHT: SetItemHeight(static_cast<int>(Message.LParam)); return;
        case LB_GETITEMRECT: {
            if (!valid || !Message.LParam) {
                Message.Result = LB_ERR;
                return;
            }
            int h = ItemHeight();
            *reinterpret_cast<TRect*>(Message.LParam) = Bounds(0, (idx - FTopIndex) * h, ClientWidth(), h);
            return;
        }
        case LB_ITEMFROMPOINT: {
            int i = ItemAtPos(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)), false);
            int n = FItems->Count();
            Message.Result = i < n ? i : MAKELPARAM(static_cast<WORD>(std::max(0, n - 1)), 1);
            return;
        }
        case LB_GETITEMDATA:
        case LB_SETITEMDATA:
            if (!valid) {
                Message.Result = LB_ERR;
                return;
            }
            if (Message.Msg == LB_SETITEMDATA) FItems->PutObject(idx, reinterpret_cast<void*>(Message.LParam));
            Message.Result = reinterpret_cast<LRESULT>(FItems->GetObject(idx));
            return;
        default: TNativeControl::DefaultHandler(Message); return;
    }
}
