#include "platform/ui/CheckLst.h"

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Backend.h"

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

std::unique_ptr<ui::ListView> TCheckListBox::CreateView(ui::Backend& backend, ui::WidgetPeer& host) {
    return backend.CreateListView(ui::ListKind::CheckListBox, host, this, *this);
}

void TCheckListBox::ItemsChanged() {
    // The list tells only that it changed: match the kept entries to the items in order, so an
    // insertion or deletion keeps the marks of the other items.
    std::vector<Entry> next;
    size_t k = 0;
    for (int i = 0; i < Items()->Count(); ++i) {
        String s = Items()->Get(i);
        size_t found = k;
        while (found < FEntries.size() && FEntries[found].Text != s) ++found;
        if (found < FEntries.size() && found - k <= 1) {
            next.push_back(FEntries[found]);
            k = found + 1;
        } else if (k < FEntries.size() && Items()->Count() == static_cast<int>(FEntries.size())) {
            // Same count, different text: the item was renamed in place.
            Entry e = FEntries[k++];
            e.Text = s;
            next.push_back(e);
        } else {
            next.push_back(Entry{s});
        }
    }
    FEntries = std::move(next);
    TCustomListBox::ItemsChanged();  // shows the items again, with their marks (InitView)
}

void TCheckListBox::InitView() {
    TCustomListBox::InitView();
    // Marks set before the window was made show with their items.
    for (size_t i = 0; i < FEntries.size(); ++i) View()->SetItemChecked(static_cast<int>(i), FEntries[i].State);
}

TCheckBoxState TCheckListBox::State(int index) const {
    if (index < 0 || index >= static_cast<int>(FEntries.size())) throw EListError(String("List index out of bounds (") + IntToStr(index) + String(")"));
    return FEntries[static_cast<size_t>(index)].State;
}

void TCheckListBox::SetState(int index, TCheckBoxState value) {
    if (index < 0 || index >= static_cast<int>(FEntries.size())) throw EListError(String("List index out of bounds (") + IntToStr(index) + String(")"));
    FEntries[static_cast<size_t>(index)].State = value;
    if (auto v = ChangeView()) v->SetItemChecked(index, value);
}

bool TCheckListBox::ItemEnabled(int index) const {
    if (index < 0 || index >= static_cast<int>(FEntries.size())) throw EListError(String("List index out of bounds (") + IntToStr(index) + String(")"));
    return FEntries[static_cast<size_t>(index)].Enabled;
}

void TCheckListBox::SetItemEnabled(int index, bool value) {
    if (index < 0 || index >= static_cast<int>(FEntries.size())) throw EListError(String("List index out of bounds (") + IntToStr(index) + String(")"));
    FEntries[static_cast<size_t>(index)].Enabled = value;
}

void TCheckListBox::ClickItem(int index, int x) {
    // x < 0: the keyboard's Space.
    if (x < CheckWidth) Check(index);
}

void TCheckListBox::Check(int index) {
    if (index < 0 || index >= static_cast<int>(FEntries.size()) || !FEntries[static_cast<size_t>(index)].Enabled) return;
    TCheckBoxState s = FEntries[static_cast<size_t>(index)].State;
    switch (s) {
        case cbUnchecked: s = FAllowGrayed ? cbGrayed : cbChecked; break;
        case cbGrayed: s = cbChecked; break;
        case cbChecked: s = cbUnchecked; break;
    }
    SetState(index, s);
    ClickCheck();
}

void TCheckListBox::ClickCheck() {
    if (OnClickCheck) OnClickCheck(this);
}
