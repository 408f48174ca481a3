#include "platform/win/Registry.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

#include "platform/rtl/Format.h"
#include "platform/rtl/Handles.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"

namespace win {

namespace {

std::mutex gFolderMutex;
String gFolder;

const char* RootName(HKEY Root) {
    switch (Root) {
        case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
        case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
        default: return nullptr;
    }
}

}  // namespace

void SetRegistryFolder(const String& folder) {
    std::lock_guard<std::mutex> lock(gFolderMutex);
    gFolder = folder;
}

String RegistryFolder() {
    {
        std::lock_guard<std::mutex> lock(gFolderMutex);
        if (!gFolder.empty()) return gFolder;
    }
    String env = GetEnvironmentVariable(u"RWB_REGISTRY_DIR");
    if (!env.empty()) return env;
    String base = GetEnvironmentVariable(u"XDG_CONFIG_HOME");
    if (base.empty()) base = IncludeTrailingPathDelimiter(GetEnvironmentVariable(u"HOME")) + u".config";
    return IncludeTrailingPathDelimiter(base) + u"radio-workbench";
}

String RegistryFileName(HKEY Root) {
    const char* name = RootName(Root);
    if (!name) throw ERegistryException(Format(u"Invalid root key $%x", {static_cast<unsigned>(Root)}));
    return IncludeTrailingPathDelimiter(RegistryFolder()) + u"registry-" + String(name) + u".ini";
}

}  // namespace win

namespace {

// A key path without empty parts: "\A\\B\" is "A\B".
String Normalize(const String& path) {
    String out;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(u'\\', start);
        if (end == String::npos) end = path.size();
        if (end > start) {
            if (!out.empty()) out += u'\\';
            out += path.substr(start, end - start);
        }
        start = end + 1;
    }
    return out;
}


// Whether section is key itself or a key below it.
bool AtOrBelow(const String& section, const String& key) {
    if (key.empty()) return true;
    String s = Normalize(section);
    if (AnsiSameText(s, key)) return true;
    return s.size() > key.size() && s[key.size()] == u'\\' && AnsiSameText(s.substr(0, key.size()), key);
}

// Key handles given out by TRegistry::CurrentKey, and the armed change watches.
struct KeyWatch {
    HKEY handle;
    HKEY root;
    String path;
    bool subtree;
    DWORD filter;
    HANDLE event;
};
struct KeyHandle {
    HKEY root;
    String path;
};

std::mutex gWatchMutex;
std::map<HKEY, KeyHandle> gKeyHandles;
std::vector<KeyWatch> gWatches;
HKEY gNextKeyHandle = 0x00010000u;

HKEY NewKeyHandle(HKEY root, const String& path) {
    std::lock_guard<std::mutex> lock(gWatchMutex);
    HKEY h = gNextKeyHandle++;
    if (gNextKeyHandle >= 0x80000000u) gNextKeyHandle = 0x00010000u;
    gKeyHandles[h] = KeyHandle{root, path};
    return h;
}

// A closed handle ends its watches, setting their events, as closing a watched key does.
void ReleaseKeyHandle(HKEY h) {
    std::vector<HANDLE> events;
    {
        std::lock_guard<std::mutex> lock(gWatchMutex);
        gKeyHandles.erase(h);
        for (auto it = gWatches.begin(); it != gWatches.end();) {
            if (it->handle == h) {
                events.push_back(it->event);
                it = gWatches.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (HANDLE e : events) SetEvent(e);
}

// Sets the events of the watches that see a change of kind `what` at key `path`; each watch
// fires once.
void NotifyChange(HKEY root, const String& path, DWORD what) {
    std::vector<HANDLE> events;
    {
        std::lock_guard<std::mutex> lock(gWatchMutex);
        for (auto it = gWatches.begin(); it != gWatches.end();) {
            bool hit = it->root == root && (it->filter & what) &&
                       (AnsiSameText(Normalize(path), it->path) || (it->subtree && AtOrBelow(path, it->path)));
            if (hit) {
                events.push_back(it->event);
                it = gWatches.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (HANDLE e : events) SetEvent(e);
}

String ParentOf(const String& path) {
    size_t slash = path.rfind(u'\\');
    return slash == String::npos ? String() : path.substr(0, slash);
}

// Every operation reads, changes and rewrites a whole file: one lock for the process keeps two
// threads from overwriting each other's changes. Recursive, since an operation may open a second
// store (OpenKey asks KeyExists).
std::recursive_mutex& StoreMutex() {
    static std::recursive_mutex m;
    return m;
}

// The file of a root, opened afresh; failures to read become registry errors.
struct Store {
    explicit Store(HKEY root) try : guard(StoreMutex()), file(win::RegistryFileName(root)), ini(file) {
    } catch (const ERegistryException&) {
        throw;
    } catch (const Exception& e) {
        throw ERegistryException(e.Message());
    }

    void Save() {
        try {
            String dir = ExtractFileDir(file);
            if (!dir.empty() && !DirectoryExists(dir) && !ForceDirectories(dir))
                throw ERegistryException(u"Cannot create the folder " + dir);
            ini.UpdateFile();
        } catch (const ERegistryException&) {
            throw;
        } catch (const Exception& e) {
            throw ERegistryException(e.Message());
        }
    }

    // The stored name of the section of key (as first written), or empty when it has none.
    String SectionOf(const String& key) {
        TStringList sections;
        ini.ReadSections(&sections);
        for (int i = 0; i < sections.Count(); ++i)
            if (AnsiSameText(Normalize(sections[i]), key)) return sections[i];
        return String();
    }

    // The section of key, added (through the file's text, so that it reads back as written) when
    // it has none. Empty when the file cannot hold the name: it would read back as another key.
    String MakeSection(const String& key) {
        String section = SectionOf(key);
        if (!section.empty()) return section;
        TStringList lines;
        ini.GetStrings(&lines);
        lines.Add(u"[" + key + u"]");
        ini.SetStrings(&lines);
        return SectionOf(key);
    }

    std::lock_guard<std::recursive_mutex> guard;
    String file;
    TMemIniFile ini;
};

}  // namespace

void TRegistry::SetRootKey(HKEY value) {
    CloseKey();
    FRootKey = value;
}

String TRegistry::Resolve(const String& Key) const {
    if (!Key.empty() && Key[0] == u'\\') return Normalize(Key);
    if (FOpen && !FCurrentPath.empty()) return Normalize(FCurrentPath + u"\\" + Key);
    return Normalize(Key);
}

void TRegistry::RequireKey(const char* what) const {
    if (!FOpen) throw ERegistryException(Format(u"%s: no registry key is open", {String(what)}));
}

bool TRegistry::OpenKey(const String& Key, bool CanCreate) {
    String path = Resolve(Key);
    try {
        Store store(FRootKey);
        if (!path.empty() && !KeyExists(u"\\" + path)) {
            if (!CanCreate) return false;
            // A key without values is an empty section.
            if (store.MakeSection(path).empty()) return false;
            store.Save();
            NotifyChange(FRootKey, ParentOf(path), REG_NOTIFY_CHANGE_NAME);
        }
    } catch (const Exception&) {
        return false;
    }
    CloseKey();
    FCurrentPath = path;
    FOpen = true;
    FReadOnly = false;
    FCurrentKey = NewKeyHandle(FRootKey, path);
    return true;
}

bool TRegistry::OpenKeyReadOnly(const String& Key) {
    if (!OpenKey(Key, false)) return false;
    FReadOnly = true;
    return true;
}

void TRegistry::CloseKey() {
    if (FCurrentKey) ReleaseKeyHandle(FCurrentKey);
    FCurrentKey = 0;
    FCurrentPath.clear();
    FOpen = false;
    FReadOnly = false;
}

String TRegistry::ReadString(const String& Name) {
    RequireKey("ReadString");
    Store store(FRootKey);
    String section = store.SectionOf(FCurrentPath);
    if (section.empty()) return String();
    return store.ini.ReadString(section, Name, String());
}

void TRegistry::WriteString(const String& Name, const String& Value) {
    RequireKey("WriteString");
    if (FReadOnly) throw ERegistryException(u"Failed to set data for '" + Name + u"': the key is read-only");
    Store store(FRootKey);
    // An open key may exist only through keys below it, and have no section of its own yet.
    String section = store.MakeSection(FCurrentPath);
    if (section.empty())
        throw ERegistryException(u"Failed to set data for '" + Name + u"': the store cannot hold the key's name");
    try {
        store.ini.WriteString(section, Name, Value);
    } catch (const Exception& e) {
        throw ERegistryException(u"Failed to set data for '" + Name + u"': " + e.Message());
    }
    store.Save();
    NotifyChange(FRootKey, FCurrentPath, REG_NOTIFY_CHANGE_LAST_SET);
}

int32_t TRegistry::ReadInteger(const String& Name) {
    RequireKey("ReadInteger");
    if (!ValueExists(Name)) throw ERegistryException(u"Invalid data type for '" + Name + u"'");
    int32_t value = 0;
    if (!TryStrToInt(Trim(ReadString(Name)), value)) throw ERegistryException(u"Invalid data type for '" + Name + u"'");
    return value;
}

void TRegistry::WriteInteger(const String& Name, int32_t Value) { WriteString(Name, IntToStr(Value)); }

bool TRegistry::ValueExists(const String& Name) {
    RequireKey("ValueExists");
    Store store(FRootKey);
    String section = store.SectionOf(FCurrentPath);
    return !section.empty() && store.ini.ValueExists(section, Name);
}

bool TRegistry::DeleteValue(const String& Name) {
    if (!FOpen || FReadOnly) return false;
    try {
        Store store(FRootKey);
        String section = store.SectionOf(FCurrentPath);
        if (section.empty() || !store.ini.ValueExists(section, Name)) return false;
        store.ini.DeleteKey(section, Name);
        store.Save();
        NotifyChange(FRootKey, FCurrentPath, REG_NOTIFY_CHANGE_LAST_SET);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

void TRegistry::GetValueNames(TStrings* Strings) {
    Strings->Clear();
    RequireKey("GetValueNames");
    Store store(FRootKey);
    String section = store.SectionOf(FCurrentPath);
    if (!section.empty()) store.ini.ReadSection(section, Strings);
}

bool TRegistry::KeyExists(const String& Key) {
    String path = Resolve(Key);
    try {
        Store store(FRootKey);
        TStringList sections;
        store.ini.ReadSections(&sections);
        if (path.empty()) return true;
        for (int i = 0; i < sections.Count(); ++i)
            if (AtOrBelow(sections[i], path)) return true;
    } catch (const Exception&) {
    }
    return false;
}

bool TRegistry::DeleteKey(const String& Key) {
    String path = Resolve(Key);
    if (path.empty()) return false;
    try {
        Store store(FRootKey);
        TStringList sections;
        store.ini.ReadSections(&sections);
        bool any = false;
        for (int i = 0; i < sections.Count(); ++i)
            if (AtOrBelow(sections[i], path)) {
                store.ini.EraseSection(sections[i]);
                any = true;
            }
        if (!any) return false;
        store.Save();
        NotifyChange(FRootKey, ParentOf(path), REG_NOTIFY_CHANGE_NAME);
    } catch (const Exception&) {
        return false;
    }
    if (FOpen && AtOrBelow(FCurrentPath, path)) CloseKey();
    return true;
}

void TRegistry::GetKeyNames(TStrings* Strings) {
    Strings->Clear();
    String base = FOpen ? FCurrentPath : String();
    Store store(FRootKey);
    TStringList sections;
    store.ini.ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i) {
        String s = Normalize(sections[i]);
        if (!AtOrBelow(s, base) || s.size() == base.size()) continue;
        String rest = base.empty() ? s : s.substr(base.size() + 1);
        String child = rest.substr(0, rest.find(u'\\'));
        bool seen = false;
        for (int j = 0; j < Strings->Count() && !seen; ++j) seen = AnsiSameText(Strings->Get(j), child);
        if (!seen) Strings->Add(child);
    }
}

LONG RegNotifyChangeKeyValue(HKEY key, BOOL watchSubtree, DWORD filter, HANDLE event, BOOL asynchronous) {
    if (filter == 0 || (filter & ~0xFu) != 0 || (asynchronous && !event)) return ERROR_INVALID_PARAMETER;
    HANDLE wait = asynchronous ? event : CreateEvent(nullptr, TRUE_, FALSE_, nullptr);
    {
        std::lock_guard<std::mutex> lock(gWatchMutex);
        KeyWatch w{key, key, String(), watchSubtree != 0, filter, wait};
        if (key != HKEY_CURRENT_USER && key != HKEY_LOCAL_MACHINE) {
            auto it = gKeyHandles.find(key);
            if (it == gKeyHandles.end()) {
                if (!asynchronous) CloseHandle(wait);
                return ERROR_INVALID_HANDLE;
            }
            w.root = it->second.root;
            w.path = it->second.path;
        }
        gWatches.push_back(std::move(w));
    }
    if (!asynchronous) {
        WaitForSingleObject(wait, INFINITE);
        CloseHandle(wait);
    }
    return ERROR_SUCCESS;
}
