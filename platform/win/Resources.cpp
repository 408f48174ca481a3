#include "platform/win/Resources.h"

#include <deque>
#include <mutex>

#include "platform/rtl/Handles.h"
#include "platform/rtl/SysUtils.h"

namespace {

String UpperAscii(const String& s) {
    String r = s;
    for (char16_t& c : r)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return r;
}

// "#123" as the number it stands for; 0 when the text is no such number.
WORD NumberOf(const String& s) {
    if (s.size() < 2 || s.size() > 6 || s[0] != u'#') return 0;
    uint32_t n = 0;
    for (size_t i = 1; i < s.size(); ++i) {
        if (s[i] < u'0' || s[i] > u'9') return 0;
        n = n * 10 + static_cast<uint32_t>(s[i] - u'0');
    }
    return n >= 1 && n <= 0xFFFF ? static_cast<WORD>(n) : 0;
}

struct StandardType {
    const char16_t* Name;
    WORD Id;
};
constexpr StandardType kStandardTypes[] = {
    {u"CURSOR", RT_CURSOR}, {u"BITMAP", RT_BITMAP}, {u"ICON", RT_ICON}, {u"MENU", RT_MENU},
    {u"DIALOG", RT_DIALOG}, {u"STRING", RT_STRING}, {u"FONTDIR", RT_FONTDIR}, {u"FONT", RT_FONT},
    {u"ACCELERATOR", RT_ACCELERATOR}, {u"RCDATA", RT_RCDATA}, {u"MESSAGETABLE", RT_MESSAGETABLE},
    {u"GROUP_CURSOR", RT_GROUP_CURSOR}, {u"GROUP_ICON", RT_GROUP_ICON}, {u"VERSION", RT_VERSION},
    {u"HTML", RT_HTML}, {u"MANIFEST", RT_MANIFEST},
};

struct Entry {
    WORD TypeId = 0;
    String TypeText;  // upper-cased; empty for a numbered type
    String Name;      // upper-cased; empty when the resource has only an id
    WORD Id = 0;
    std::vector<uint8_t> Data;

    bool HasType(const TResName& t) const { return t.IsId() ? TypeId == t.Id() : !TypeText.empty() && TypeText == t.Text(); }
    bool HasName(const TResName& n) const { return n.IsId() ? Id == n.Id() : !Name.empty() && Name == n.Text(); }
};

struct Table {
    std::mutex Mutex;
    std::deque<Entry> Entries;  // never shrinks: handles and data pointers stay valid
};

Table& Resources() {
    static Table* t = new Table;  // registered during static initialisation, read until exit
    return *t;
}

// Resource handles and loaded handles are 1-based indexes, tagged so that neither can pass for
// the other or for a global memory block.
constexpr uintptr_t kFoundTag = 0x1, kLoadedTag = 0x9;

HRSRC FoundHandle(size_t index) { return reinterpret_cast<HRSRC>(((index + 1) << 4) | kFoundTag); }
HGLOBAL LoadedHandle(size_t index) { return reinterpret_cast<HGLOBAL>(((index + 1) << 4) | kLoadedTag); }

// The entry behind a handle with that tag, or nullptr. Called with the table locked.
const Entry* EntryOf(Table& t, uintptr_t value, uintptr_t tag) {
    if ((value & 0xF) != tag || (value >> 4) == 0 || (value >> 4) > t.Entries.size()) return nullptr;
    return &t.Entries[(value >> 4) - 1];
}

}  // namespace

TResName::TResName(const String& text) : FGiven(text) {
    FId = NumberOf(text);
    if (!FId) FText = UpperAscii(text);
}

TResName::TResName(int id) {
    if (id >= 1 && id <= 0xFFFF) FId = static_cast<WORD>(id);
    FGiven = IntToStr(id);
}

String TResName::ToString() const { return FGiven; }

HRSRC FindResource(HMODULE module, const TResName& name, const TResName& type) {
    if (module != HInstance) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    Table& t = Resources();
    std::lock_guard lock(t.Mutex);
    bool typeSeen = false;
    for (size_t i = 0; i < t.Entries.size(); ++i) {
        const Entry& e = t.Entries[i];
        if (!e.HasType(type)) continue;
        typeSeen = true;
        if (e.HasName(name)) return FoundHandle(i);
    }
    SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
    Table& t = Resources();
    std::lock_guard lock(t.Mutex);
    uintptr_t v = reinterpret_cast<uintptr_t>(resource);
    if (module != HInstance || !EntryOf(t, v, kFoundTag)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return LoadedHandle((v >> 4) - 1);
}

const void* LockResource(HGLOBAL loaded) {
    Table& t = Resources();
    std::lock_guard lock(t.Mutex);
    const Entry* e = EntryOf(t, reinterpret_cast<uintptr_t>(loaded), kLoadedTag);
    if (!e) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return e->Data.empty() ? nullptr : e->Data.data();
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
    Table& t = Resources();
    std::lock_guard lock(t.Mutex);
    const Entry* e = module == HInstance ? EntryOf(t, reinterpret_cast<uintptr_t>(resource), kFoundTag) : nullptr;
    if (!e) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return static_cast<DWORD>(e->Data.size());
}

namespace win {

void RegisterResource(const TResName& type, const String& name, int id, const uint8_t* data, size_t size) {
    Entry fresh;
    if (type.IsId()) {
        fresh.TypeId = type.Id();
    } else {
        fresh.TypeText = type.Text();
        for (const StandardType& s : kStandardTypes)
            if (fresh.TypeText == s.Name) {
                fresh.TypeId = s.Id;
                fresh.TypeText.clear();
            }
    }
    TResName n(name);
    if (n.IsId()) fresh.Id = n.Id();
    else fresh.Name = n.Text();
    if (id >= 1 && id <= 0xFFFF) fresh.Id = static_cast<WORD>(id);
    if (data && size) fresh.Data.assign(data, data + size);
    if ((fresh.TypeId == 0 && fresh.TypeText.empty()) || (fresh.Name.empty() && fresh.Id == 0))
        throw EInvalidArgument(String("A resource needs a type and a name or an id"));

    Table& t = Resources();
    std::lock_guard lock(t.Mutex);
    for (Entry& e : t.Entries) {
        bool sameType = e.TypeId == fresh.TypeId && e.TypeText == fresh.TypeText;
        bool sameKey = (!fresh.Name.empty() && e.Name == fresh.Name) || (fresh.Id != 0 && e.Id == fresh.Id);
        if (sameType && sameKey) {
            // The bytes change in place, so data pointers handed out earlier stay valid.
            e.Data = std::move(fresh.Data);
            if (!fresh.Name.empty()) e.Name = fresh.Name;
            if (fresh.Id) e.Id = fresh.Id;
            return;
        }
    }
    t.Entries.push_back(std::move(fresh));
}

const std::vector<uint8_t>* FindResourceByName(const String& name) {
    TResName n(name);
    Table& t = Resources();
    std::lock_guard lock(t.Mutex);
    for (const Entry& e : t.Entries)
        if (e.HasName(n)) return &e.Data;
    return nullptr;
}

}  // namespace win

// ---------------------------------------------------------------------------------------------

TResourceStream::TResourceStream(HINSTANCE instance, const String& resName, const TResName& resType) {
    Initialize(instance, TResName(resName), resType);
}

TResourceStream::TResourceStream(HINSTANCE instance, int resId, const TResName& resType) {
    Initialize(instance, TResName(resId), resType);
}

void TResourceStream::Initialize(HINSTANCE instance, const TResName& name, const TResName& type) {
    HRSRC found = FindResource(instance, name, type);
    if (!found) throw EResNotFound(String("Resource ") + name.ToString() + " not found");
    SetPointer(LockResource(LoadResource(instance, found)), SizeofResource(instance, found));
}

int32_t TResourceStream::Write(const void*, int32_t) {
    throw EStreamError(String("Can't write to a read-only resource stream"));
}

void TResourceStream::SetSize(int64_t) {
    throw EStreamError(String("Can't write to a read-only resource stream"));
}
