#include "platform/rtl/StringList.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <typeinfo>

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

namespace {

// BeginUpdate/EndUpdate that also end when an exception passes.
class UpdateScope {
public:
    explicit UpdateScope(TStrings* list) : FList(list) { FList->BeginUpdate(); }
    ~UpdateScope() { FList->EndUpdate(); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    TStrings* FList;
};

String QuotedItem(const String& s, char16_t quote) {
    String r;
    r.reserve(s.size() + 2);
    r.push_back(quote);
    for (char16_t c : s) {
        r.push_back(c);
        if (c == quote) r.push_back(quote);
    }
    r.push_back(quote);
    return r;
}

String JoinDelimited(const TStrings& list, char16_t delim, char16_t quote, bool strict) {
    int count = list.Count();
    if (count == 1 && list.Get(0).empty()) return String(2, quote);
    String result;
    for (int i = 0; i < count; ++i) {
        String s = list.Get(i);
        bool needsQuotes = std::any_of(s.begin(), s.end(), [&](char16_t c) {
            return c == quote || c == delim || c == 0 || (!strict && c <= u' ');
        });
        if (i > 0) result.push_back(delim);
        result += needsQuotes ? QuotedItem(s, quote) : s;
    }
    return result;
}

void SplitDelimited(TStrings& list, const String& value, char16_t delim, char16_t quote, bool strict) {
    UpdateScope update(&list);
    list.Clear();
    const size_t n = value.size();
    size_t p = 0;
    auto blank = [&](size_t i) { return i < n && value[i] <= u' '; };
    if (!strict)
        while (blank(p)) ++p;
    while (p < n) {
        String item;
        if (value[p] == quote) {
            ++p;
            while (p < n) {
                if (value[p] == quote) {
                    if (p + 1 < n && value[p + 1] == quote) {
                        item.push_back(quote);
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item.push_back(value[p++]);
            }
        } else {
            size_t start = p;
            while (p < n && value[p] != delim && (strict || value[p] > u' ')) ++p;
            item.assign(value, start, p - start);
        }
        list.Add(item);
        if (!strict)
            while (blank(p)) ++p;
        if (p < n && value[p] == delim) {
            if (p + 1 == n) list.Add(String());
            ++p;
            if (!strict)
                while (blank(p)) ++p;
        }
    }
}

}  // namespace

// ---- TStrings ----

void TStrings::IndexError(int Index) {
    throw EStringListError(String("List index out of bounds (") + String(std::to_string(Index)) + ")");
}

void TStrings::Put(int Index, const String& S) {
    void* obj = GetObject(Index);
    UpdateScope update(this);
    Delete(Index);
    InsertObject(Index, S, obj);
}

int TStrings::Add(const String& S) {
    int index = Count();
    Insert(index, S);
    return index;
}

int TStrings::AddObject(const String& S, void* AObject) {
    int index = Add(S);
    PutObject(index, AObject);
    return index;
}

int TStrings::AddPair(const String& Name, const String& Value) {
    String s = Name;
    s.push_back(FNameValueSeparator);
    s += Value;
    return Add(s);
}

void TStrings::InsertObject(int Index, const String& S, void* AObject) {
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TStrings::AddStrings(const TStrings* Strings) {
    if (!Strings) return;
    UpdateScope update(this);
    int count = Strings->Count();
    for (int i = 0; i < count; ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
}

void TStrings::Exchange(int Index1, int Index2) {
    UpdateScope update(this);
    String s1 = Get(Index1), s2 = Get(Index2);
    void* o1 = GetObject(Index1);
    void* o2 = GetObject(Index2);
    Put(Index1, s2);
    Put(Index2, s1);
    PutObject(Index1, o2);
    PutObject(Index2, o1);
}

void TStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    UpdateScope update(this);
    String s = Get(CurIndex);
    void* obj = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, obj);
}

int TStrings::IndexOf(const String& S) const {
    int count = Count();
    for (int i = 0; i < count; ++i)
        if (CompareStrings(Get(i), S) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const String& Name) const {
    int count = Count();
    for (int i = 0; i < count; ++i) {
        String s = Get(i);
        size_t p = s.find(FNameValueSeparator);
        if (p != String::npos && CompareStrings(String(s.substr(0, p)), Name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const void* AObject) const {
    int count = Count();
    for (int i = 0; i < count; ++i)
        if (GetObject(i) == AObject) return i;
    return -1;
}

bool TStrings::Equals(const TStrings* Strings) const {
    if (!Strings || Strings->Count() != Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != Strings->Get(i)) return false;
    return true;
}

String TStrings::Names(int Index) const {
    String s = Get(Index);
    size_t p = s.find(FNameValueSeparator);
    return p == String::npos ? String() : String(s.substr(0, p));
}

String TStrings::Values(const String& Name) const {
    int i = IndexOfName(Name);
    return i < 0 ? String() : ValueFromIndex(i);
}

void TStrings::SetValues(const String& Name, const String& Value) {
    int i = IndexOfName(Name);
    if (Value.empty()) {
        if (i >= 0) Delete(i);
        return;
    }
    String s = Name;
    s.push_back(FNameValueSeparator);
    s += Value;
    if (i < 0)
        Add(s);
    else
        Put(i, s);
}

String TStrings::ValueFromIndex(int Index) const {
    String s = Get(Index);
    size_t p = s.find(FNameValueSeparator);
    return p == String::npos ? String() : String(s.substr(p + 1));
}

void TStrings::SetValueFromIndex(int Index, const String& Value) {
    if (Value.empty()) {
        if (Index >= 0) Delete(Index);
        return;
    }
    if (Index < 0) Index = Add(String());
    String s = Names(Index);
    s.push_back(FNameValueSeparator);
    s += Value;
    Put(Index, s);
}

String TStrings::Text() const {
    int count = Count();
    size_t total = 0;
    for (int i = 0; i < count; ++i) total += Get(i).size() + 2;
    String result;
    result.reserve(total);
    for (int i = 0; i < count; ++i) {
        result += Get(i);
        result += u"\r\n";
    }
    return result;
}

void TStrings::SetText(const String& Value) {
    UpdateScope update(this);
    Clear();
    const size_t n = Value.size();
    size_t start = 0;
    while (start < n) {
        size_t p = start;
        while (p < n && Value[p] != u'\r' && Value[p] != u'\n') ++p;
        Add(String(Value.substr(start, p - start)));
        if (p < n && Value[p] == u'\r') ++p;
        if (p < n && Value[p] == u'\n') ++p;
        start = p;
    }
}

String TStrings::CommaText() const { return JoinDelimited(*this, u',', u'"', false); }

void TStrings::SetCommaText(const String& Value) { SplitDelimited(*this, Value, u',', u'"', false); }

String TStrings::DelimitedText() const {
    return JoinDelimited(*this, FDelimiter, FQuoteChar, FStrictDelimiter);
}

void TStrings::SetDelimitedText(const String& Value) {
    SplitDelimited(*this, Value, FDelimiter, FQuoteChar, FStrictDelimiter);
}

void TStrings::LoadFromFile(const String& FileName) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

void TStrings::LoadFromStream(TStream* Stream) {
    int64_t size = Stream->Size() - Stream->Position();
    std::string bytes(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
    if (!bytes.empty()) Stream->ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    SetText(DecodeText(bytes));
}

void TStrings::SaveToFile(const String& FileName, TextEncoding Encoding) const {
    TFileStream file(FileName, fmCreate);
    SaveToStream(&file, Encoding);
}

void TStrings::SaveToStream(TStream* Stream, TextEncoding Encoding) const {
    std::string bytes = EncodeText(Text(), Encoding);
    if (!bytes.empty()) Stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TStrings::BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::Assign(const TPersistent* Source) {
    if (const auto* src = dynamic_cast<const TStrings*>(Source)) {
        if (src == this) return;
        UpdateScope update(this);
        Clear();
        FDelimiter = src->FDelimiter;
        FQuoteChar = src->FQuoteChar;
        FNameValueSeparator = src->FNameValueSeparator;
        FStrictDelimiter = src->FStrictDelimiter;
        AddStrings(src);
        return;
    }
    TPersistent::Assign(Source);
}

int TStrings::CompareStrings(const String& S1, const String& S2) const { return AnsiCompareText(S1, S2); }

// ---- TStringList ----

void TStringList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) IndexError(Index);
}

void TStringList::CheckUnsorted() const {
    if (FSorted) throw EStringListError(String("Operation not allowed on sorted list"));
}

String TStringList::Get(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<size_t>(Index)].S;
}

void TStringList::Put(int Index, const String& S) {
    CheckUnsorted();
    CheckIndex(Index);
    Changing();
    FItems[static_cast<size_t>(Index)].S = S;
    Changed();
}

void* TStringList::GetObject(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<size_t>(Index)].Object;
}

void TStringList::PutObject(int Index, void* AObject) {
    CheckIndex(Index);
    Changing();
    FItems[static_cast<size_t>(Index)].Object = AObject;
    Changed();
}

void TStringList::Insert(int Index, const String& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const String& S, void* AObject) {
    CheckUnsorted();
    if (Index < 0 || Index > Count()) IndexError(Index);
    InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const String& S, void* AObject) {
    Changing();
    FItems.insert(FItems.begin() + Index, Item{S, AObject});
    Changed();
}

void TStringList::Delete(int Index) {
    CheckIndex(Index);
    Changing();
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TStringList::Clear() {
    if (FItems.empty()) return;
    Changing();
    FItems.clear();
    Changed();
}

int TStringList::Add(const String& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const String& S, void* AObject) {
    int index;
    if (!FSorted) {
        index = Count();
    } else if (Find(S, index)) {
        if (FDuplicates == dupIgnore) return index;
        if (FDuplicates == dupError) throw EStringListError(String("Duplicates not allowed"));
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::Exchange(int Index1, int Index2) {
    // Exchanging in a sorted list would break the order that Find relies on.
    CheckUnsorted();
    CheckIndex(Index1);
    CheckIndex(Index2);
    if (Index1 == Index2) return;
    Changing();
    std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
    Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
    // Checked before anything moves, so a refused move loses no item.
    CheckUnsorted();
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    if (CurIndex == NewIndex) return;
    Changing();
    auto first = FItems.begin();
    if (CurIndex < NewIndex)
        std::rotate(first + CurIndex, first + CurIndex + 1, first + NewIndex + 1);
    else
        std::rotate(first + NewIndex, first + CurIndex, first + CurIndex + 1);
    Changed();
}

int TStringList::IndexOf(const String& S) const {
    if (FSorted) {
        int index;
        return Find(S, index) ? index : -1;
    }
    const size_t n = FItems.size();
    if (!HasOwnCompare()) {
        for (size_t i = 0; i < n; ++i)
            if (CompareStrings(FItems[i].S, S) == 0) return static_cast<int>(i);
        return -1;
    }
    for (size_t i = 0; i < n; ++i) {
        const String& item = FItems[i].S;
        // Folding keeps lengths, so a length mismatch settles it without comparing.
        if (item.size() == S.size() && CompareStrings(item, S) == 0) return static_cast<int>(i);
    }
    return -1;
}

bool TStringList::Find(const String& S, int& Index) const {
    bool found = false;
    int lo = 0, hi = Count() - 1;
    while (lo <= hi) {
        int mid = lo + (hi - lo) / 2;
        int c = CompareStrings(FItems[static_cast<size_t>(mid)].S, S);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                // With duplicates accepted keep searching left for the first match.
                if (FDuplicates != dupAccept) lo = mid;
            }
        }
    }
    Index = lo;
    return found;
}

void TStringList::Sort() {
    if (FSorted || FItems.size() < 2) return;
    Changing();
    if (HasOwnCompare()) {
        SortByFoldedKeys();
    } else {
        // A derived list may compare in its own way: ask CompareStrings. stable_sort stays within
        // bounds even for a comparison that is not a strict order.
        std::stable_sort(FItems.begin(), FItems.end(),
                         [this](const Item& a, const Item& b) { return CompareStrings(a.S, b.S) < 0; });
    }
    Changed();
}

bool TStringList::HasOwnCompare() const {
    // A derived class may override CompareStrings; then only CompareStrings may decide.
    return typeid(*this) == typeid(TStringList);
}

void TStringList::SortByFoldedKeys() {
    // Both of our comparisons order first by the case-folded texts (AnsiCompareStr only lets case
    // decide between texts that are otherwise equal). Each key carries the first twelve folded
    // units packed so that integer order is that order, so most comparisons end without touching
    // the strings (with a million items, chasing each string's pointer costs more than the
    // comparison itself); equal heads ask CompareStrings. Ties keep the original order, so the
    // sort is stable.
    struct Key {
        uint64_t Head[3];  // units 0-3, 4-7, 8-11, most significant first, 0 past the end
        uint32_t Index;
    };
    constexpr size_t kHeadUnits = 12;
    const size_t n = FItems.size();
    std::vector<Key> keys(n);
    for (size_t i = 0; i < n; ++i) {
        const String& s = FItems[i].S;
        Key& k = keys[i];
        k.Head[0] = k.Head[1] = k.Head[2] = 0;
        size_t m = std::min<size_t>(kHeadUnits, s.size());
        for (size_t j = 0; j < m; ++j) k.Head[j / 4] |= uint64_t{AnsiLowerChar(s[j])} << (16 * (3 - (j & 3)));
        k.Index = static_cast<uint32_t>(i);
    }
    const Item* items = FItems.data();
    std::sort(keys.begin(), keys.end(), [this, items](const Key& a, const Key& b) {
        if (a.Head[0] != b.Head[0]) return a.Head[0] < b.Head[0];
        if (a.Head[1] != b.Head[1]) return a.Head[1] < b.Head[1];
        if (a.Head[2] != b.Head[2]) return a.Head[2] < b.Head[2];
        int c = CompareStrings(items[a.Index].S, items[b.Index].S);
        return c != 0 ? c < 0 : a.Index < b.Index;
    });
    std::vector<Item> sorted;
    sorted.reserve(n);
    for (const Key& k : keys) sorted.push_back(std::move(FItems[k.Index]));
    FItems = std::move(sorted);
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
    if (FSorted || FItems.size() < 2) return;
    Changing();
    // The compare function takes indices, so sort a permutation while the items stay in place.
    std::vector<int> order(FItems.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(FItems.size());
    for (int i : order) sorted.push_back(std::move(FItems[static_cast<size_t>(i)]));
    FItems = std::move(sorted);
    Changed();
}

void TStringList::SetSorted(bool Value) {
    if (Value == FSorted) return;
    if (Value) Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
    if (Value == FCaseSensitive) return;
    FCaseSensitive = Value;
    if (FSorted) {
        // The order depends on the comparison: sort again so Find stays right.
        FSorted = false;
        Sort();
        FSorted = true;
    }
}

void TStringList::SetCapacity(int Value) {
    if (Value > Capacity()) FItems.reserve(static_cast<size_t>(Value));
}

int TStringList::CompareStrings(const String& S1, const String& S2) const {
    return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::SetUpdateState(bool Updating) {
    if (Updating) {
        FChangedInUpdate = false;
    } else if (FChangedInUpdate) {
        FChangedInUpdate = false;
        if (OnChange) OnChange(this);
    }
}

void TStringList::Changing() {
    if (UpdateCount() == 0) {
        if (OnChanging) OnChanging(this);
    } else if (!FChangedInUpdate) {
        FChangedInUpdate = true;
        if (OnChanging) OnChanging(this);
    }
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}
