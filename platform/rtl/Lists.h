#pragma once
// TList: an ordered list of pointer-sized entries, the base of the components' handle, range and
// integer lists. An index outside the list raises EListError "List index out of bounds (n)".
#include <vector>

#include "platform/rtl/Exceptions.h"

class TList {
public:
    TList() = default;
    virtual ~TList() = default;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;

    int Count() const { return static_cast<int>(FList.size()); }
    void* Items(int Index) const;
    void SetItems(int Index, void* Item);
    void* operator[](int Index) const { return Items(Index); }

    // Appends and answers the index of the new entry.
    int Add(void* Item);
    // Index may be Count (append).
    void Insert(int Index, void* Item);
    void Delete(int Index);
    // Removes the first entry equal to Item and answers its index; -1 when there is none.
    int Remove(void* Item);
    int IndexOf(void* Item) const;
    void Exchange(int Index1, int Index2);
    // Takes the entry at CurIndex out and puts it back at NewIndex.
    void Move(int CurIndex, int NewIndex);
    virtual void Clear();
    // The first and last entries; raise EListError on an empty list.
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }

    // Raises EListError "List index out of bounds (Index)".
    [[noreturn]] static void Error(int Index);

private:
    void Check(int Index) const {
        if (Index < 0 || Index >= Count()) Error(Index);
    }
    std::vector<void*> FList;
};
