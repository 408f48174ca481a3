#include "platform/rtl/IniFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"

namespace {

bool IsBlank(char16_t c) { return c <= u' '; }

std::u16string_view TrimView(std::u16string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

String TrimmedString(std::u16string_view s) { return String(TrimView(s)); }

std::u16string FoldKey(std::u16string_view s) {
    std::u16string r(TrimView(s));
    for (char16_t& c : r) c = AnsiLowerChar(c);
    return r;
}

bool HasLineBreak(std::u16string_view s) {
    return s.find_first_of(u"\r\n") != std::u16string_view::npos;
}

// A surrogate without its partner has no UTF-8 form: it would come back as U+FFFD.
bool HasLoneSurrogate(std::u16string_view s) {
    for (size_t i = 0; i < s.size(); ++i) {
        char16_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) ++i;
        else if (c >= 0xD800 && c <= 0xDFFF) return true;
    }
    return false;
}

bool IsQuote(char16_t c) { return c == u'"' || c == u'\''; }

// The value as the file holds it -> the value as read: one pair of matching quotes goes.
String DecodeValue(const String& stored) {
    if (stored.size() >= 2 && IsQuote(stored.front()) && stored.back() == stored.front())
        return String(stored.substr(1, stored.size() - 2));
    return stored;
}

// The value as given -> the form to store, quoted where reading would otherwise change it
// (surrounding blanks would be trimmed, surrounding quotes stripped).
String EncodeValue(const String& value) {
    bool quote = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) quote = true;
    return quote ? String(u"\"") + value + u"\"" : value;
}

String ErrnoText(int err) {
    char buf[256];
    return String(strerror_r(err, buf, sizeof buf));
}

[[noreturn]] void WriteFailed(const std::string& path, int err) {
    throw EIniFileException(String("Cannot write ini file \"") + String(path) + "\": " + ErrnoText(err));
}

// Reads the whole file; false when it does not exist (nor its folder).
bool ReadFileBytes(const std::string& path, std::string& out) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return false;
        throw EIniFileException(String("Cannot read ini file \"") + String(path) + "\": " + ErrnoText(errno));
    }
    out.clear();
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0) {
            out.append(buf, static_cast<size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            int err = errno;
            ::close(fd);
            throw EIniFileException(String("Cannot read ini file \"") + String(path) + "\": " + ErrnoText(err));
        }
    }
    ::close(fd);
    return true;
}

bool ParseInteger(std::u16string_view text, int32_t& result) {
    std::u16string_view s = TrimView(text);
    bool negative = false;
    if (!s.empty() && (s[0] == u'-' || s[0] == u'+')) {
        negative = s[0] == u'-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s[0] == u'$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() >= 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return false;
    uint64_t value = 0;
    for (char16_t c : s) {
        int digit;
        if (c >= u'0' && c <= u'9') digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
        else return false;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFull) return false;
    }
    if (base == 16) {
        // Hexadecimal spells the 32 bits: $FFFFFFFF is -1.
        int32_t bits = static_cast<int32_t>(static_cast<uint32_t>(value));
        result = negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(bits)) : bits;
        return true;
    }
    if (negative ? value > 2147483648ull : value > 2147483647ull) return false;
    result = negative ? static_cast<int32_t>(-static_cast<int64_t>(value)) : static_cast<int32_t>(value);
    return true;
}

bool ParseFloat(std::u16string_view text, double& result) {
    std::u16string_view s = TrimView(text);
    std::string ascii;
    for (char16_t c : s) {
        if (c > 0x7F) return false;
        ascii.push_back(static_cast<char>(c));
    }
    const char* b = ascii.data();
    const char* e = b + ascii.size();
    if (b != e && *b == '+') ++b;
    if (b == e) return false;
    auto [ptr, ec] = std::from_chars(b, e, result);
    return ec == std::errc() && ptr == e;
}

// Fills a list between BeginUpdate and EndUpdate, also when filling fails.
class ListUpdate {
public:
    explicit ListUpdate(TStrings* list) : FList(list) {
        FList->BeginUpdate();
        FList->Clear();
    }
    ~ListUpdate() { FList->EndUpdate(); }
    ListUpdate(const ListUpdate&) = delete;
    ListUpdate& operator=(const ListUpdate&) = delete;

private:
    TStrings* FList;
};

}  // namespace

namespace rtl {

// The parsed file. Lines other than section headers and key=value lines are kept as they were;
// so are untouched key lines, so a rewrite changes only what was written.
class IniDocument {
public:
    struct Entry {
        String Key;    // trimmed; empty for a line kept as it is
        String Value;  // stored form (trimmed, quotes kept)
        String Raw;    // the line as read; empty once the entry was changed
        bool IsKey = false;
        bool HasRaw = false;
    };
    struct Section {
        String Name;
        String Header;  // the header line as read, if any
        std::vector<Entry> Entries;
        // Folded key -> index in Entries of its first occurrence.
        std::unordered_map<std::u16string, size_t> Index;
    };

    TextEncoding Encoding = TextEncoding::Utf8;

    void Clear() {
        FPreamble.clear();
        FSections.clear();
        FSectionIndex.clear();
    }

    void Parse(const String& text) {
        Clear();
        Section* current = nullptr;
        const size_t n = text.size();
        size_t start = 0;
        while (start < n) {
            size_t p = start;
            while (p < n && text[p] != u'\r' && text[p] != u'\n') ++p;
            std::u16string_view line(text.data() + start, p - start);
            if (p < n && text[p] == u'\r') ++p;
            if (p < n && text[p] == u'\n') ++p;
            start = p;
            ParseLine(line, current);
        }
    }

    String Serialize() const {
        String out;
        auto put = [&](const String& line) {
            out += line;
            out += u"\r\n";
        };
        for (const String& line : FPreamble) put(line);
        for (const Section& s : FSections) {
            put(s.Header.empty() ? String(u"[") + s.Name + u"]" : s.Header);
            for (const Entry& e : s.Entries) put(e.HasRaw ? e.Raw : e.Key + u"=" + e.Value);
        }
        return out;
    }

    const Section* FindSection(const String& name) const {
        auto it = FSectionIndex.find(FoldKey(name));
        return it == FSectionIndex.end() ? nullptr : &FSections[it->second];
    }

    const Entry* FindEntry(const String& section, const String& key) const {
        const Section* s = FindSection(section);
        if (!s) return nullptr;
        auto it = s->Index.find(FoldKey(key));
        return it == s->Index.end() ? nullptr : &s->Entries[it->second];
    }

    const std::vector<Section>& Sections() const { return FSections; }

    // Whether entry i is a key line that reading sees (the first of its name).
    static bool IsFirstOfKey(const Section& s, size_t i) {
        const Entry& e = s.Entries[i];
        if (!e.IsKey) return false;
        auto it = s.Index.find(FoldKey(e.Key));
        return it != s.Index.end() && it->second == i;
    }

    // Answers whether anything changed.
    bool Set(const String& sectionName, const String& keyName, const String& value) {
        String name = Trim(sectionName), key = Trim(keyName);
        CheckNames(name, key);
        if (HasLineBreak(value))
            throw EIniFileException(String("The value of \"") + key + "\" in [" + name +
                                    "] contains a line break and cannot be stored in an ini file");
        bool utf16 = Encoding == TextEncoding::Utf16LE || Encoding == TextEncoding::Utf16BE;
        if (!utf16 && (HasLoneSurrogate(name) || HasLoneSurrogate(key) || HasLoneSurrogate(value)))
            throw EIniFileException(String("The entry \"") + key + "\" in [" + name +
                                    "] holds a character that cannot be stored in a UTF-8 ini file");
        String stored = EncodeValue(value);
        Section& s = SectionFor(name);
        std::u16string folded = FoldKey(key);
        auto it = s.Index.find(folded);
        if (it != s.Index.end()) {
            Entry& e = s.Entries[it->second];
            if (e.Value == stored) return false;
            e.Value = stored;
            e.HasRaw = false;
            return true;
        }
        // After the last key of the section, so blank lines and comments that close it stay last.
        size_t pos = s.Entries.size();
        while (pos > 0 && !s.Entries[pos - 1].IsKey) --pos;
        if (pos == 0) pos = LeadingNonKeys(s);
        Entry e;
        e.Key = key;
        e.Value = stored;
        e.IsKey = true;
        // No key follows pos, so the indices in s.Index stay valid.
        s.Entries.insert(s.Entries.begin() + static_cast<ptrdiff_t>(pos), std::move(e));
        s.Index.emplace(std::move(folded), pos);
        return true;
    }

    bool EraseSection(const String& name) {
        auto it = FSectionIndex.find(FoldKey(name));
        if (it == FSectionIndex.end()) return false;
        FSections.erase(FSections.begin() + static_cast<ptrdiff_t>(it->second));
        RebuildSectionIndex();
        return true;
    }

    bool DeleteKey(const String& section, const String& key) {
        auto sit = FSectionIndex.find(FoldKey(section));
        if (sit == FSectionIndex.end()) return false;
        Section& s = FSections[sit->second];
        std::u16string folded = FoldKey(key);
        if (!s.Index.count(folded)) return false;
        // Every line of the key goes, so that it does not come back from a duplicate.
        std::erase_if(s.Entries, [&](const Entry& e) { return e.IsKey && FoldKey(e.Key) == folded; });
        RebuildKeyIndex(s);
        return true;
    }

private:
    static void CheckNames(const String& section, const String& key) {
        if (HasLineBreak(section) || section.find(u']') != String::npos)
            throw EIniFileException(String("Invalid ini section name \"") + section + "\"");
        if (key.empty() || HasLineBreak(key) || key.find(u'=') != String::npos || key[0] == u';' ||
            key[0] == u'[')
            throw EIniFileException(String("Invalid ini key name \"") + key + "\" in [" + section + "]");
    }

    // A section that has no key yet: new keys go after its leading comments but before the
    // blank lines that separate it from the next section.
    static size_t LeadingNonKeys(const Section& s) {
        size_t pos = 0;
        while (pos < s.Entries.size() && !TrimView(s.Entries[pos].Raw).empty()) ++pos;
        return pos;
    }

    Section& SectionFor(const String& name) {
        auto it = FSectionIndex.find(FoldKey(name));
        if (it != FSectionIndex.end()) return FSections[it->second];
        // A blank line before a new section, as people lay ini files out.
        if (!FSections.empty()) {
            auto& entries = FSections.back().Entries;
            bool endsBlank = !entries.empty() && !entries.back().IsKey && TrimView(entries.back().Raw).empty();
            if (!endsBlank) AddBlank(entries);
        } else if (!FPreamble.empty() && !TrimView(FPreamble.back()).empty()) {
            FPreamble.emplace_back();
        }
        return NewSection(name, String());
    }

    static void AddBlank(std::vector<Entry>& entries) {
        Entry blank;
        blank.HasRaw = true;
        entries.push_back(std::move(blank));
    }

    Section& NewSection(const String& name, const String& header) {
        FSectionIndex.emplace(FoldKey(name), FSections.size());
        FSections.emplace_back();
        Section& s = FSections.back();
        s.Name = name;
        s.Header = header;
        return s;
    }

    void ParseLine(std::u16string_view line, Section*& current) {
        std::u16string_view t = TrimView(line);
        if (!t.empty() && t[0] == u'[') {
            size_t close = t.find(u']');
            String name = TrimmedString(t.substr(1, close == std::u16string_view::npos ? std::u16string_view::npos : close - 1));
            auto it = FSectionIndex.find(FoldKey(name));
            // A section that appears twice is read as one: its later keys join the first.
            current = it != FSectionIndex.end() ? &FSections[it->second] : &NewSection(name, String(line));
            return;
        }
        size_t eq = t.find(u'=');
        bool isKey = current && !t.empty() && t[0] != u';' && eq != std::u16string_view::npos && eq > 0;
        Entry e;
        e.Raw = String(line);
        e.HasRaw = true;
        if (isKey) {
            e.Key = TrimmedString(t.substr(0, eq));
            e.Value = TrimmedString(t.substr(eq + 1));
            e.IsKey = !e.Key.empty();
        }
        if (!current) {
            FPreamble.push_back(std::move(e.Raw));
            return;
        }
        if (e.IsKey) current->Index.emplace(FoldKey(e.Key), current->Entries.size());
        current->Entries.push_back(std::move(e));
    }

    void RebuildSectionIndex() {
        FSectionIndex.clear();
        for (size_t i = 0; i < FSections.size(); ++i) FSectionIndex.emplace(FoldKey(FSections[i].Name), i);
    }

    static void RebuildKeyIndex(Section& s) {
        s.Index.clear();
        for (size_t i = 0; i < s.Entries.size(); ++i)
            if (s.Entries[i].IsKey) s.Index.emplace(FoldKey(s.Entries[i].Key), i);
    }

    std::vector<String> FPreamble;  // lines before the first section
    // Sections are addressed by index (FSectionIndex); the vector only grows at the end or
    // loses whole sections, after which the index is rebuilt.
    std::vector<Section> FSections;
    std::unordered_map<std::u16string, size_t> FSectionIndex;
};

}  // namespace rtl

// ---- TCustomIniFile ----

int32_t TCustomIniFile::ReadInteger(const String& Section, const String& Ident, int32_t Default) {
    String s = ReadString(Section, Ident, String());
    int32_t value;
    return ParseInteger(s, value) ? value : Default;
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, int32_t Value) {
    WriteString(Section, Ident, String(std::to_string(Value)));
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
    String s = ReadString(Section, Ident, String());
    int32_t value;
    return ParseInteger(s, value) ? value != 0 : Default;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
    WriteString(Section, Ident, String(Value ? "1" : "0"));
}

double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, double Default) {
    String s = ReadString(Section, Ident, String());
    double value;
    return ParseFloat(s, value) ? value : Default;
}

void TCustomIniFile::WriteFloat(const String& Section, const String& Ident, double Value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, Value);
    WriteString(Section, Ident, String(std::string_view(buf, ec == std::errc() ? static_cast<size_t>(end - buf) : 0)));
}

bool TCustomIniFile::SectionExists(const String& Section) {
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident) {
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.IndexOf(Trim(Ident)) >= 0;
}

// ---- TDocumentIniFile ----

TDocumentIniFile::TDocumentIniFile(const String& FileName)
    : TCustomIniFile(FileName), FDocument(std::make_unique<rtl::IniDocument>()) {}

TDocumentIniFile::~TDocumentIniFile() = default;

void TDocumentIniFile::Load() {
    std::string bytes;
    FDocument->Clear();
    FDocument->Encoding = TextEncoding::Utf8;
    if (!ReadFileBytes(FileName().ToUtf8(), bytes)) return;
    TextEncoding found = TextEncoding::Utf8;
    String text = DecodeText(bytes, &found);
    // A file with a byte-order mark keeps its encoding; others are written as UTF-8.
    FDocument->Encoding = found == TextEncoding::Cp932 ? TextEncoding::Utf8 : found;
    FDocument->Parse(text);
}

void TDocumentIniFile::Save() {
    rtl::ReplaceFile(FileName().ToUtf8(), EncodeText(FDocument->Serialize(), FDocument->Encoding), WriteFailed);
}

String TDocumentIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
    BeforeAccess();
    const rtl::IniDocument::Entry* e = FDocument->FindEntry(Section, Ident);
    return e ? DecodeValue(e->Value) : Default;
}

void TDocumentIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
    BeforeAccess();
    if (FDocument->Set(Section, Ident, Value)) AfterChange();
}

void TDocumentIniFile::ReadSection(const String& Section, TStrings* Strings) {
    BeforeAccess();
    ListUpdate update(Strings);
    if (const auto* s = FDocument->FindSection(Section))
        for (size_t i = 0; i < s->Entries.size(); ++i)
            if (FDocument->IsFirstOfKey(*s, i)) Strings->Add(s->Entries[i].Key);
}

void TDocumentIniFile::ReadSections(TStrings* Strings) {
    BeforeAccess();
    ListUpdate update(Strings);
    for (const auto& s : FDocument->Sections()) Strings->Add(s.Name);
}

void TDocumentIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
    BeforeAccess();
    ListUpdate update(Strings);
    if (const auto* s = FDocument->FindSection(Section))
        for (size_t i = 0; i < s->Entries.size(); ++i)
            if (FDocument->IsFirstOfKey(*s, i))
                Strings->Add(s->Entries[i].Key + u"=" + DecodeValue(s->Entries[i].Value));
}

bool TDocumentIniFile::SectionExists(const String& Section) {
    BeforeAccess();
    return FDocument->FindSection(Section) != nullptr;
}

bool TDocumentIniFile::ValueExists(const String& Section, const String& Ident) {
    BeforeAccess();
    return FDocument->FindEntry(Section, Ident) != nullptr;
}

void TDocumentIniFile::EraseSection(const String& Section) {
    BeforeAccess();
    if (FDocument->EraseSection(Section)) AfterChange();
}

void TDocumentIniFile::DeleteKey(const String& Section, const String& Ident) {
    BeforeAccess();
    if (FDocument->DeleteKey(Section, Ident)) AfterChange();
}

// ---- TMemIniFile ----

TMemIniFile::TMemIniFile(const String& FileName) : TDocumentIniFile(FileName) { Load(); }

void TMemIniFile::UpdateFile() { Save(); }

void TMemIniFile::Clear() { Document().Clear(); }

void TMemIniFile::GetStrings(TStrings* Strings) { Strings->SetText(Document().Serialize()); }

void TMemIniFile::SetStrings(const TStrings* Strings) { Document().Parse(Strings->Text()); }

// ---- TIniFile ----

TIniFile::TIniFile(const String& FileName) : TDocumentIniFile(FileName) {}

TIniFile::Stamp TIniFile::CurrentStamp() const {
    Stamp s;
    struct stat st;
    if (::stat(FileName().ToUtf8().c_str(), &st) != 0) return s;
    s.Exists = true;
    s.Device = static_cast<uint64_t>(st.st_dev);
    s.Inode = static_cast<uint64_t>(st.st_ino);
    s.Size = static_cast<int64_t>(st.st_size);
    s.ModifiedSec = static_cast<int64_t>(st.st_mtim.tv_sec);
    s.ModifiedNsec = static_cast<int64_t>(st.st_mtim.tv_nsec);
    return s;
}

void TIniFile::BeforeAccess() {
    // Every call sees the file as it is now, as the profile functions do; the copy in memory is
    // only reread when the file changed, so reading many keys stays linear.
    Stamp now = CurrentStamp();
    if (FStampValid && now == FStamp) return;
    FStampValid = false;
    Load();
    FStamp = now;
    FStampValid = true;
}

void TIniFile::AfterChange() {
    FStampValid = false;  // a failed write leaves the copy ahead of the file: reread next time
    Save();
    FStamp = CurrentStamp();
    FStampValid = true;
}
