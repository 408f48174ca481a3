#include "platform/ui/CheckLst.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/backend/Backend.h"

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

std::unique_ptr<ui::ListView> TCheckListBox::CreateView(ui::Backend& backend, ui::WidgetPeer& host) {
    return backend.CreateListView(ui::ListKind::CheckListBox, host, this, *this);
}

void TCheckListBox::ItemsChanged() {
    using Change = TControlItems::Change;
    const Change& c = ControlItems().Pending();
    int n = Items()->Count();
    auto at = [this](int i) { return FEntries.begin() + i; };
    // A change the items name moves the entries with it; a renamed item keeps its mark.
    switch (c.kind) {
        case Change::Insert: FEntries.insert(at(c.index), Entry{Items()->Get(c.index)}); break;
        case Change::Delete: FEntries.erase(at(c.index)); break;
        case Change::Put: FEntries[static_cast<size_t>(c.index)].Text = Items()->Get(c.index); break;
        case Change::Exchange: std::swap(FEntries[static_cast<size_t>(c.index)], FEntries[static_cast<size_t>(c.other)]); break;
        case Change::Move: {
            Entry e = FEntries[static_cast<size_t>(c.index)];
            FEntries.erase(at(c.index));
            FEntries.insert(at(c.other), e);
            break;
        }
        case Change::Object: break;
        case Change::Other: MatchEntries(); break;
    }
    if (static_cast<int>(FEntries.size()) != n) MatchEntries();
    TCustomListBox::ItemsChanged();  // shows the change, or all the items with their marks (InitView)
}

void TCheckListBox::ShowItemState(int index) {
    TCustomListBox::ShowItemState(index);
    if (View() && index >= 0 && index < static_cast<int>(FEntries.size())) View()->SetItemChecked(index, FEntries[static_cast<size_t>(index)].State);
}

void TCheckListBox::MatchEntries() {
    // Only that the list changed is known: match the kept entries to the items in order, so an
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
