#include "grid/DevAzo.h"

void TControlList::AddControl(int X, int Y, TControl* AObject) { FItems.push_back(std::make_unique<TControlItem>(X, Y, AObject)); }

int TControlList::ControlIndex(int X, int Y) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->X() == X && FItems[i]->Y() == Y) return static_cast<int>(i);
    return -1;
}

void TControlList::RemoveControl(int i) { FItems.erase(FItems.begin() + i); }

bool TControlList::HasHandle(HWND Handle) const {
    for (const auto& item : FItems) {
        auto* w = dynamic_cast<TWinControl*>(item->Control());
        if (w && w->HandleAllocated() && w->Handle() == Handle) return true;
    }
    return false;
}
