#include "platform/ui/StdCtrlsShared.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"

namespace ui::stdctrls {

DWORD MakeLong(DWORD lo, DWORD hi) { return (lo & 0xFFFF) | ((hi & 0xFFFF) << 16); }

String MessageText(LPARAM l) { return l ? String(reinterpret_cast<const char16_t*>(l)) : String(); }

void CopyItemText(const String& s, LPARAM buffer) {
    if (!buffer) return;
    auto* buf = reinterpret_cast<char16_t*>(buffer);
    std::copy(s.begin(), s.end(), buf);
    buf[s.size()] = 0;
}

int FindItem(const TStrings& items, const String& s, int after, bool exact) {
    int n = items.Count();
    if (n == 0) return -1;
    String key = AnsiUpperCase(s);
    int first = (after < -1 || after >= n) ? 0 : after + 1;
    for (int k = 0; k < n; ++k) {
        int i = (first + k) % n;
        String item = AnsiUpperCase(items.Get(i));
        if (exact ? item == key : item.compare(0, key.size(), key) == 0) return i;
    }
    return -1;
}

std::vector<std::pair<int, int>> SplitLines(const String& t) {
    std::vector<std::pair<int, int>> lines;
    int start = 0;
    for (int i = 0; i < t.Length(); ++i) {
        char16_t c = t[static_cast<size_t>(i)];
        if (c == u'\r' || c == u'\n') {
            lines.emplace_back(start, i);
            if (c == u'\r' && i + 1 < t.Length() && t[static_cast<size_t>(i) + 1] == u'\n') ++i;
            start = i + 1;
        }
    }
    if (start < t.Length()) lines.emplace_back(start, t.Length());
    return lines;
}

}  // namespace ui::stdctrls

// ---------------------------------------------------------------------------------------------
// TItemTracker

void TItemTracker::Before(const TStrings& items, bool needed) {
    FBefore.clear();
    FActive = needed;
    if (!needed) return;
    FBefore.reserve(static_cast<size_t>(items.Count()));
    for (int i = 0; i < items.Count(); ++i) FBefore.emplace_back(items.Get(i), items.GetObject(i));
}

int TItemTracker::Map(const TStrings& items, int oldIndex) const {
    int before = static_cast<int>(FBefore.size()), after = items.Count();
    if (!FActive || oldIndex < 0 || oldIndex >= before) return -1;
    auto same = [&](int b, int a) { return FBefore[static_cast<size_t>(b)].first == items.Get(a) &&
                                           FBefore[static_cast<size_t>(b)].second == items.GetObject(a); };
    // The unchanged head and tail of the list; the change lies between them.
    int head = 0;
    while (head < before && head < after && same(head, head)) ++head;
    int tail = 0;
    while (tail < before - head && tail < after - head && same(before - 1 - tail, after - 1 - tail)) ++tail;
    if (oldIndex < head) return oldIndex;
    if (oldIndex >= before - tail) return oldIndex + (after - before);
    for (int a = head; a < after - tail; ++a)
        if (same(oldIndex, a)) return a;
    return -1;
}

// ---------------------------------------------------------------------------------------------
// TControlItems

template <class F>
auto TControlItems::As(Change change, F f) {
    struct Reset {
        Change& slot;
        ~Reset() { slot = Change(); }
    } reset{FChange};
    // Inside a bracket the changes add up to one: all of them are shown at its end.
    if (UpdateCount() == 0) FChange = change;
    return f();
}

int TControlItems::AddObject(const String& S, void* AObject) {
    // Where the item goes: the end, or its place in a sorted list.
    int index = Count();
    if (Sorted()) Find(S, index);
    return As({Change::Insert, index}, [&] { return TStringList::AddObject(S, AObject); });
}

void TControlItems::InsertObject(int Index, const String& S, void* AObject) {
    As({Change::Insert, Index}, [&] { TStringList::InsertObject(Index, S, AObject); });
}

void TControlItems::Delete(int Index) {
    As({Change::Delete, Index}, [&] { TStringList::Delete(Index); });
}

void TControlItems::Put(int Index, const String& S) {
    As({Change::Put, Index}, [&] { TStringList::Put(Index, S); });
}

void TControlItems::PutObject(int Index, void* AObject) {
    As({Change::Object, Index}, [&] { TStringList::PutObject(Index, AObject); });
}

void TControlItems::Exchange(int Index1, int Index2) {
    As({Change::Exchange, Index1, Index2}, [&] { TStringList::Exchange(Index1, Index2); });
}

void TControlItems::Move(int CurIndex, int NewIndex) {
    As({Change::Move, CurIndex, NewIndex}, [&] { TStringList::Move(CurIndex, NewIndex); });
}

int MapItem(const TControlItems::Change& c, int index) {
    if (index < 0) return index;
    switch (c.kind) {
        case TControlItems::Change::Insert: return index >= c.index ? index + 1 : index;
        case TControlItems::Change::Delete: return index == c.index ? -1 : index > c.index ? index - 1 : index;
        case TControlItems::Change::Put: return index == c.index ? -1 : index;
        case TControlItems::Change::Exchange: return index == c.index ? c.other : index == c.other ? c.index : index;
        case TControlItems::Change::Move: {
            if (index == c.index) return c.other;
            if (c.index < c.other && index > c.index && index <= c.other) return index - 1;
            if (c.other < c.index && index >= c.other && index < c.index) return index + 1;
            return index;
        }
        case TControlItems::Change::Object:
        case TControlItems::Change::Other: return index;
    }
    return index;
}
