#include "platform/rtl/Lists.h"

#include <algorithm>
#include <string>

void TList::Error(int Index) {
    throw EListError(String("List index out of bounds (") + String(std::to_string(Index)) + ")");
}

void* TList::Items(int Index) const {
    Check(Index);
    return FList[static_cast<size_t>(Index)];
}

void TList::SetItems(int Index, void* Item) {
    Check(Index);
    FList[static_cast<size_t>(Index)] = Item;
}

int TList::Add(void* Item) {
    FList.push_back(Item);
    return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
    if (Index < 0 || Index > Count()) Error(Index);
    FList.insert(FList.begin() + Index, Item);
}

void TList::Delete(int Index) {
    Check(Index);
    FList.erase(FList.begin() + Index);
}

int TList::Remove(void* Item) {
    int index = IndexOf(Item);
    if (index >= 0) Delete(index);
    return index;
}

int TList::IndexOf(void* Item) const {
    auto it = std::find(FList.begin(), FList.end(), Item);
    return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

void TList::Exchange(int Index1, int Index2) {
    Check(Index1);
    Check(Index2);
    std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    Check(CurIndex);
    Check(NewIndex);
    void* item = FList[static_cast<size_t>(CurIndex)];
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, item);
}

void TList::Clear() {
    FList.clear();
    FList.shrink_to_fit();
}
