#pragma once
// String lists: TStrings, the abstract list of strings with an object slot per item, and
// TStringList, its concrete form with sorting, duplicates control and change events.
// Indices are 0-based. Comparisons ignore case unless CaseSensitive is set.
#include <functional>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/String.h"

class TStream;
class TStrings;
class TStringList;

enum TDuplicates { dupIgnore, dupAccept, dupError };

// Change events of a list; the argument is the list that changed.
using TStringsNotifyEvent = std::function<void(TStrings* Sender)>;
// Answers <0, 0 or >0 for the items at Index1 and Index2 of List.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStrings : public TPersistent {
public:
    // Lists are objects with identity (events, owners): copy their contents with Assign.
    TStrings() = default;
    TStrings(const TStrings&) = delete;
    TStrings& operator=(const TStrings&) = delete;
    const char* ClassName() const override { return "TStrings"; }

    // ---- the primitives a concrete list supplies ----
    virtual int Count() const = 0;
    virtual String Get(int Index) const = 0;
    virtual void* GetObject(int Index) const = 0;
    virtual void PutObject(int Index, void* AObject) = 0;
    virtual void Insert(int Index, const String& S) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    // Replaces the text of an item, keeping its object.
    virtual void Put(int Index, const String& S);

    // ---- items ----
    // const, so that an assignment to an item (list[i] = s) does not compile and silently do
    // nothing: use SetStrings or Put.
    const String Strings(int Index) const { return Get(Index); }
    void SetStrings(int Index, const String& S) { Put(Index, S); }
    const String operator[](int Index) const { return Get(Index); }
    void* Objects(int Index) const { return GetObject(Index); }
    void SetObjects(int Index, void* AObject) { PutObject(Index, AObject); }

    // Appends (or, in a sorted list, inserts in order) and answers the index.
    virtual int Add(const String& S);
    virtual int AddObject(const String& S, void* AObject);
    void Append(const String& S) { Add(S); }
    int AddPair(const String& Name, const String& Value);
    virtual void InsertObject(int Index, const String& S, void* AObject);
    virtual void AddStrings(const TStrings* Strings);
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);
    virtual int IndexOf(const String& S) const;
    int IndexOfName(const String& Name) const;
    int IndexOfObject(const void* AObject) const;
    bool Equals(const TStrings* Strings) const;

    // ---- name=value items ----
    String Names(int Index) const;
    String Values(const String& Name) const;
    // Sets the value of Name; an empty value removes the item.
    void SetValues(const String& Name, const String& Value);
    String ValueFromIndex(int Index) const;
    void SetValueFromIndex(int Index, const String& Value);
    char16_t NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(char16_t C) { FNameValueSeparator = C; }

    // ---- the list as one text ----
    // Every item followed by CR LF.
    virtual String Text() const;
    // Splits on CR LF, LF or CR; a final line break adds no empty item.
    virtual void SetText(const String& Value);
    String CommaText() const;
    void SetCommaText(const String& Value);
    String DelimitedText() const;
    void SetDelimitedText(const String& Value);
    char16_t Delimiter() const { return FDelimiter; }
    void SetDelimiter(char16_t C) { FDelimiter = C; }
    char16_t QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(char16_t C) { FQuoteChar = C; }
    // When set, only the delimiter separates items; blanks are part of them.
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }

    // ---- files and streams ----
    // Reading honours a byte-order mark, then takes UTF-8, then CP932 (DecodeText).
    virtual void LoadFromFile(const String& FileName);
    virtual void LoadFromStream(TStream* Stream);
    // Writing is UTF-8 without a byte-order mark unless another encoding is asked for.
    virtual void SaveToFile(const String& FileName, TextEncoding Encoding = TextEncoding::Utf8) const;
    virtual void SaveToStream(TStream* Stream, TextEncoding Encoding = TextEncoding::Utf8) const;

    // ---- updates ----
    // Nested: change events wait for the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    void Assign(const TPersistent* Source) override;
    // The items as the list value "Strings" of the component stream (platform/rtl/Filer.cpp).
    void DefineProperties(TFiler* Filer) override;

    // Compares two items' texts as the list does (case-insensitive by default).
    virtual int CompareStrings(const String& S1, const String& S2) const;

protected:
    // Called when the outermost BeginUpdate starts (true) and the outermost EndUpdate ends (false).
    virtual void SetUpdateState(bool /*Updating*/) {}
    [[noreturn]] static void IndexError(int Index);

private:
    char16_t FDelimiter = u',';
    char16_t FQuoteChar = u'"';
    char16_t FNameValueSeparator = u'=';
    bool FStrictDelimiter = false;
    int FUpdateCount = 0;
};

class TStringList : public TStrings {
public:
    TStringList() = default;
    const char* ClassName() const override { return "TStringList"; }

    int Count() const override { return static_cast<int>(FItems.size()); }
    String Get(int Index) const override;
    void Put(int Index, const String& S) override;
    void* GetObject(int Index) const override;
    void PutObject(int Index, void* AObject) override;
    void Insert(int Index, const String& S) override;
    void InsertObject(int Index, const String& S, void* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    int Add(const String& S) override;
    int AddObject(const String& S, void* AObject) override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;
    // On a sorted list a binary search (Find); otherwise a scan.
    int IndexOf(const String& S) const override;

    // Binary search of a sorted list: answers whether S is there, and in Index the first match
    // (or, when absent, where S would be inserted).
    bool Find(const String& S, int& Index) const;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);
    int Capacity() const { return static_cast<int>(FItems.capacity()); }
    void SetCapacity(int Value);

    int CompareStrings(const String& S1, const String& S2) const override;

    // Fired before the first change and after the last (once per outermost update).
    TStringsNotifyEvent OnChanging;
    TStringsNotifyEvent OnChange;

protected:
    void SetUpdateState(bool Updating) override;
    virtual void Changing();
    virtual void Changed();

private:
    struct Item {
        String S;
        void* Object = nullptr;
    };
    void CheckIndex(int Index) const;
    void CheckUnsorted() const;
    void InsertItem(int Index, const String& S, void* AObject);
    bool HasOwnCompare() const;
    void SortByFoldedKeys();

    std::vector<Item> FItems;
    TDuplicates FDuplicates = dupIgnore;
    bool FSorted = false;
    bool FCaseSensitive = false;
    // Within an update: whether OnChanging was fired and so OnChange is owed.
    bool FChangedInUpdate = false;
};
