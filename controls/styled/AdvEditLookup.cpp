// The styled edit's auto-complete list: the entries matching what is typed, in a small window
// of its own under the caret, picked with the keys or the mouse.
#include <algorithm>

#include "controls/styled/AdvEdit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GraphicsBmp.h"
#include "platform/ui/SystemInfo.h"
#include "platform/win/Window.h"

namespace {

constexpr int kRowHeight = 12;

int IndexOf(void* p) { return static_cast<int>(reinterpret_cast<intptr_t>(p)); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// TListHintWindow and its list box

TListHintWindow::TListHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

void TListHintWindow::AdjustClientRect(TRect& Rect) {
    THintWindow::AdjustClientRect(Rect);
    // A border width of 1: the list's rows fill the height the edit gives (rows x 12 + 4).
    Rect = TRect(Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1);
}

void TListHintWindow::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_NCHITTEST: {
            TPoint p = ScreenToClient(TPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
            Message.Result = (p.X >= ClientWidth() - 10 && p.Y >= ClientHeight() - 10) ? HTBOTTOMRIGHT : HTNOWHERE;
            return;
        }
        case WM_ACTIVATE:
            THintWindow::Dispatch(Message);
            if (LOWORD(static_cast<DWORD>(Message.WParam)) == WA_INACTIVE) {
                // The focus the list took goes back to the control the list serves when the
                // activation goes to that control's form: it would otherwise come back to the
                // form's first control, the list being gone.
                TCustomForm* form = GetParentForm(this);
                TWinControl* to = FindControl(reinterpret_cast<HWND>(Message.LParam));
                if (form && to && ui::TopLevelWindow(to) == form && FListControl && form->ActiveControl() == FListControl &&
                    Parent() && Parent()->CanFocus())
                    form->SetActiveControl(Parent());
                SetVisible(false);
            } else if (FListControl && FListControl->CanFocus() && !FListControl->ComponentState().Contains(csDestroying)) {
                FListControl->SetFocus();
            }
            return;
        default: THintWindow::Dispatch(Message); return;
    }
}

TLookupListBox::TLookupListBox(TComponent* AOwner) : TListBox(AOwner) {
    SetStyle(lbOwnerDrawFixed);
    SetItemHeight(kRowHeight);
    SetCtl3D(false);
    SetTabStop(true);
}

void TLookupListBox::KeyPress(char16_t& Key) {
    TListBox::KeyPress(Key);
    if (Key == u'\r' && OnChoose) OnChoose();
}

void TLookupListBox::WMLButtonUp(TMessage& Message) {
    TListBox::WMLButtonUp(Message);
    if (OnChoose) OnChoose();
}

// ---------------------------------------------------------------------------------------------
// TAdvEdit: the list

bool TAdvEdit::LookupShown() const { return FLookupWindow && FLookupWindow->Visible(); }

bool TAdvEdit::InLookup(HWND Window) const {
    TWinControl* w = Window ? FindControl(Window) : nullptr;
    return w && FLookupWindow && (w == FLookupWindow || FLookupWindow->ContainsControl(w));
}

void TAdvEdit::HideLookup() {
    if (FLookupWindow) FLookupWindow->SetVisible(false);
}

void TAdvEdit::UpdateLookupList() {
    if (!FLookupWindow || !FLookup->Enabled()) return;
    String t = Text();
    int start = 0;
    if (FLookup->Multi()) {
        for (size_t at; (at = t.find(FLookup->Separator())) != String::npos;) {
            start += static_cast<int>(at) + 1;
            t.erase(0, at + 1);
        }
    }
    if (t.Length() < FLookup->NumChars()) {
        HideLookup();
        FLookupWindow->SetParent(nullptr);
        return;
    }
    FLookupWindow->SetCaption(u"  ");
    FLookupList->SetColor(FLookup->Color());
    FLookupList->Font()->SetName(u"Arial");
    FLookupList->Font()->SetSize(8);
    FLookupWindow->SetColor(clWindow);
    const TPoint origin = ClientOrigin();
    int x = 0;
    if (HandleAllocated()) {
        LRESULT r = Perform(EM_POSFROMCHAR, static_cast<WPARAM>(PrefixLength() + start), 0);
        if (r != -1) x = static_cast<int16_t>(LOWORD(static_cast<DWORD>(r)));
    }

    const TStringList* display = FLookup->DisplayList();
    const bool caseSensitive = FLookup->CaseSensitive();
    const String upperT = AnsiUpperCase(t);
    TStrings* rows = FLookupList->Items();
    rows->BeginUpdate();
    rows->Clear();
    for (int i = 0; i < display->Count(); ++i) {
        const String& entry = display->Strings(i);
        bool match;
        if (caseSensitive) {
            match = entry.starts_with(t);
        } else {
            String upper = AnsiUpperCase(entry);
            match = upper.starts_with(upperT) || (FFullTextSearch && upper.find(upperT) != String::npos);
        }
        if (match) rows->AddObject(entry, reinterpret_cast<void*>(static_cast<intptr_t>(i)));
    }
    rows->EndUpdate();
    const int n = rows->Count();
    if (n > 0) FLookupList->SetItemIndex(0);
    FLookupList->SetSorted(true);

    int width = 50;
    if (n > 0) {
        TBitmap measure;
        measure.Canvas()->Font()->Assign(FLookupList->Font());
        for (int i = 0; i < n; ++i) width = std::max(width, measure.Canvas()->TextWidth(rows->Strings(i)));
    }
    width += 8;
    if (n > FLookup->DisplayCount()) width += GetSystemMetrics(SM_CXHSCROLL);
    if (n == 0) {
        HideLookup();
        return;
    }
    FLookupWindow->SetParent(this);
    FLookupWindow->SetBounds(origin.X + x + 8, origin.Y + Height() - 6, width, std::min(n, FLookup->DisplayCount()) * kRowHeight + 4);
    FLookupWindow->SetVisible(true);
}

void TAdvEdit::LookupKey(WORD key) {
    const int n = FLookupList->Items()->Count(), page = FLookup->DisplayCount();
    int i = FLookupList->ItemIndex();
    switch (key) {
        case VK_HOME: i = 0; break;
        case VK_END: i = n - 1; break;
        case VK_NEXT: i = i + page < n ? i + page : n - 1; break;
        case VK_PRIOR: i = i > page ? i - page : 0; break;
        case VK_UP:
            if (i > 0) --i;
            break;
        case VK_DOWN:
            if (i + 1 < n) ++i;
            break;
        default: return;
    }
    if (n > 0) FLookupList->SetItemIndex(i);
}

void TAdvEdit::SelectLookupItem() {
    // The edit's form takes the activation back from the list window, which hides as it loses it.
    if (HandleAllocated()) {
        SetForegroundWindow(Handle());
        SetActiveWindow(Handle());
    }
    if (CanFocus()) SetFocus();
    HideLookup();
    const int row = FLookupList ? FLookupList->ItemIndex() : -1;
    if (row < 0 || row >= FLookupList->Items()->Count()) return;
    const int k = IndexOf(FLookupList->Items()->Objects(row));
    const TStringList* values = FLookup->ValueList();
    String v = (k >= 0 && k < values->Count()) ? values->Strings(k) : FLookupList->Items()->Strings(row);
    if (OnLookupSelect) OnLookupSelect(this, v);
    if (OnLookupIndexSelect) OnLookupIndexSelect(this, k, v);
    if (FLookup->Multi()) {
        const char16_t sep = FLookup->Separator();
        v.push_back(sep);
        String current = Text();
        size_t last = current.rfind(sep);
        String value = (last == String::npos ? String() : String(current.substr(0, last + 1))) + v;
        SetText(value);
        SetCaret(PrefixLength() + Text().Length());
    } else {
        SetText(v);
        SelectAll();
    }
}
