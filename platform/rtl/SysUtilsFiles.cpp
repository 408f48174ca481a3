// File names, files, the command line and the environment.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <atomic>
#include <ctime>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace {

const String kPathDelims(u"/");
const String kExtDelims(u"./");

std::string Native(const String& s) { return s.ToUtf8(); }

bool StatIs(const String& name, bool wantDir) {
    struct stat st {};
    if (name.empty() || ::stat(Native(name).c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) == wantDir;
}

std::vector<String> CommandLine() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<String> args;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\0', start);
        if (end == std::string::npos) end = bytes.size();
        args.emplace_back(std::string_view(bytes).substr(start, end - start));
        start = end + 1;
    }
    return args;
}

struct FoundEntry {
    String name;
    int attr = 0;
    int64_t size = 0;
    struct timespec mtime {};
};

constexpr int kNoMatch = ERROR_FILE_NOT_FOUND;
constexpr int kNoFolder = ERROR_PATH_NOT_FOUND;
constexpr int kNoMoreEntries = ERROR_NO_MORE_FILES;

TDateTime LocalDateTime(const struct timespec& t) {
    struct tm local {};
    time_t secs = t.tv_sec;
    localtime_r(&secs, &local);
    double localSecs = static_cast<double>(secs) + static_cast<double>(local.tm_gmtoff);
    return UnixDateDelta + (localSecs + static_cast<double>(t.tv_nsec / 1000000) / 1000.0) / SecsPerDay;
}

}  // namespace

namespace rtl {

struct FindState {
    std::vector<FoundEntry> entries;
    size_t next = 0;
};

bool MatchesWildcard(const String& name, const String& pattern) {
    // "*.*" is every name on the original platform, also one without a dot.
    const String& p = pattern == u"*.*" ? String(u"*") : pattern;
    size_t n = 0, m = 0, starM = String::npos, starN = 0;
    while (n < name.size()) {
        if (m < p.size() && (p[m] == u'?' || AnsiUpperChar(p[m]) == AnsiUpperChar(name[n]))) {
            ++n;
            ++m;
        } else if (m < p.size() && p[m] == u'*') {
            starM = m++;
            starN = n;
        } else if (starM != String::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < p.size() && p[m] == u'*') ++m;
    return m == p.size();
}

}  // namespace rtl

namespace {

void Fill(TSearchRec& rec, const FoundEntry& e) {
    rec.Name = e.name;
    rec.Attr = e.attr;
    rec.Size = e.size;
    rec.TimeStamp = LocalDateTime(e.mtime);
    rec.Time = DateTimeToFileDate(rec.TimeStamp);
}

}  // namespace

int FindFirst(const String& path, int attr, TSearchRec& rec) {
    FindClose(rec);
    String folder = ExtractFilePath(path);
    String pattern = ExtractFileName(path);
    std::string native = folder.empty() ? std::string(".") : Native(folder);
    DIR* dir = ::opendir(native.c_str());
    if (!dir) return kNoFolder;
    // Hidden entries and folders must be asked for; ordinary files always come.
    rec.ExcludeAttr = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    auto state = std::make_shared<rtl::FindState>();
    while (struct dirent* d = ::readdir(dir)) {
        FoundEntry e;
        e.name = String(d->d_name);
        if (!rtl::MatchesWildcard(e.name, pattern)) continue;
        struct stat st {};
        std::string full = native + "/" + d->d_name;
        if (::stat(full.c_str(), &st) != 0 && ::lstat(full.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) e.attr |= faDirectory;
        else e.attr |= faArchive;
        if (!(st.st_mode & S_IWUSR)) e.attr |= faReadOnly;
        if (e.name.size() > 0 && e.name[0] == u'.' && e.name != u"." && e.name != u"..") e.attr |= faHidden;
        struct stat lst {};
        if (::lstat(full.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) e.attr |= faSymLink;
        if (e.attr & rec.ExcludeAttr) continue;
        e.size = S_ISDIR(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size);
        e.mtime = st.st_mtim;
        state->entries.push_back(std::move(e));
    }
    ::closedir(dir);
    // Directory order on Linux is arbitrary; name order keeps results the same from run to run.
    std::sort(state->entries.begin(), state->entries.end(),
              [](const FoundEntry& a, const FoundEntry& b) { return a.name < b.name; });
    if (state->entries.empty()) return kNoMatch;
    rec.FindHandle = state;
    return FindNext(rec) == 0 ? 0 : kNoMatch;
}

int FindNext(TSearchRec& rec) {
    rtl::FindState* state = rec.FindHandle.get();
    if (!state || state->next >= state->entries.size()) return kNoMoreEntries;
    Fill(rec, state->entries[state->next++]);
    return 0;
}

void FindClose(TSearchRec& rec) { rec.FindHandle.reset(); }

int DateTimeToFileDate(TDateTime value) {
    WORD y, mo, d, h, mi, s, ms;
    DecodeDateTime(value, y, mo, d, h, mi, s, ms);
    if (y < 1980 || y > 2107) return 0;
    return static_cast<int>((static_cast<uint32_t>(y - 1980) << 25) | (uint32_t{mo} << 21) | (uint32_t{d} << 16) |
                            (uint32_t{h} << 11) | (uint32_t{mi} << 5) | (s / 2u));
}

TDateTime FileDateToDateTime(int fileDate) {
    uint32_t v = static_cast<uint32_t>(fileDate);
    TDateTime date, time;
    if (!TryEncodeDate(static_cast<int>(v >> 25) + 1980, (v >> 21) & 15, (v >> 16) & 31, date) ||
        !TryEncodeTime((v >> 11) & 31, (v >> 5) & 63, (v & 31) * 2, 0, time))
        return 0;
    return date + time;
}

bool FileAge(const String& fileName, TDateTime& value) {
    struct stat st {};
    if (fileName.empty() || ::stat(Native(fileName).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    value = LocalDateTime(st.st_mtim);
    return true;
}

int FileAge(const String& fileName) {
    TDateTime t;
    return FileAge(fileName, t) ? DateTimeToFileDate(t) : -1;
}

String ExtractFilePath(const String& fileName) { return Copy(fileName, 1, LastDelimiter(kPathDelims, fileName)); }

String ExtractFileDir(const String& fileName) {
    int i = LastDelimiter(kPathDelims, fileName);
    // Drop the delimiter unless it is the root's (or belongs to a run of them at the front).
    if (i > 1 && fileName[static_cast<size_t>(i - 1)] == PathDelim && !IsDelimiter(kPathDelims, fileName, i - 1)) --i;
    return Copy(fileName, 1, i);
}

String ExtractFileName(const String& fileName) {
    return Copy(fileName, LastDelimiter(kPathDelims, fileName) + 1, fileName.Length());
}

String ExtractFileExt(const String& fileName) {
    int i = LastDelimiter(kExtDelims, fileName);
    if (i > 0 && fileName[static_cast<size_t>(i - 1)] == u'.') return Copy(fileName, i, fileName.Length());
    return String();
}

String ExtractFileDrive(const String&) { return String(); }

String ChangeFileExt(const String& fileName, const String& extension) {
    int i = LastDelimiter(kExtDelims, fileName);
    if (i == 0 || fileName[static_cast<size_t>(i - 1)] != u'.') i = fileName.Length() + 1;
    return Copy(fileName, 1, i - 1) + extension;
}

String IncludeTrailingPathDelimiter(const String& s) {
    if (!s.empty() && s.back() == PathDelim) return s;
    return s + PathDelim;
}

// The root keeps its delimiter: "/" made "" would mean the current directory.
String ExcludeTrailingPathDelimiter(const String& s) {
    if (s.size() > 1 && s.back() == PathDelim) return String(s.substr(0, s.size() - 1));
    return s;
}

String IncludeTrailingBackslash(const String& s) { return IncludeTrailingPathDelimiter(s); }
String ExcludeTrailingBackslash(const String& s) { return ExcludeTrailingPathDelimiter(s); }

String ExpandFileName(const String& fileName) {
    if (fileName.empty()) return String();
    String full = fileName.front() == PathDelim ? fileName : IncludeTrailingPathDelimiter(GetCurrentDir()) + fileName;
    std::vector<String> parts;
    size_t start = 0;
    while (start <= full.size()) {
        size_t end = full.find(PathDelim, start);
        if (end == String::npos) end = full.size();
        String part(full.substr(start, end - start));
        if (part == u"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != u".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    String out;
    for (const String& p : parts) out += PathDelim + p;
    if (out.empty()) return String(u"/");
    bool trailing = full.back() == PathDelim || full.ends_with(u"/.") || full.ends_with(u"/..");
    return trailing ? out + PathDelim : out;
}

bool FileExists(const String& fileName) { return StatIs(fileName, false); }
bool DirectoryExists(const String& dir) { return StatIs(dir, true); }
bool DeleteFile(const String& fileName) { return !fileName.empty() && ::unlink(Native(fileName).c_str()) == 0; }

bool RenameFile(const String& oldName, const String& newName) {
    // The original platform refuses to replace an existing file.
    if (oldName.empty() || newName.empty()) return false;
    std::string from = Native(oldName), to = Native(newName);
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the flag: check, then rename.
    if (::access(to.c_str(), F_OK) == 0) return false;
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool CreateDir(const String& dir) { return !dir.empty() && ::mkdir(Native(dir).c_str(), 0777) == 0; }
bool RemoveDir(const String& dir) { return !dir.empty() && ::rmdir(Native(dir).c_str()) == 0; }

bool ForceDirectories(const String& dir) {
    if (dir.empty()) throw EInOutError(String("Unable to create directory"));
    String d = ExcludeTrailingPathDelimiter(dir);
    if (DirectoryExists(d)) return true;
    String parent = ExtractFileDir(d);
    if (!parent.empty() && parent != d && !ForceDirectories(parent)) return false;
    return CreateDir(d) || DirectoryExists(d);
}

String GetCurrentDir() {
    std::vector<char> buf(4096);
    while (::getcwd(buf.data(), buf.size()) == nullptr) {
        if (errno != ERANGE) return String();
        buf.resize(buf.size() * 2);
    }
    return String(buf.data());
}

bool SetCurrentDir(const String& dir) { return !dir.empty() && ::chdir(Native(dir).c_str()) == 0; }

String ParamStr(int index) {
    if (index == 0) return rtl::ExecutableFileName();
    std::vector<String> args = CommandLine();
    if (index < 0 || static_cast<size_t>(index) >= args.size()) return String();
    return args[static_cast<size_t>(index)];
}

int ParamCount() {
    size_t n = CommandLine().size();
    return n > 0 ? static_cast<int>(n - 1) : 0;
}

namespace {
std::atomic<bool> gIsLibrary{false};
}

bool IsLibrary() { return gIsLibrary.load(); }

void rtl::SetIsLibrary(bool value) { gIsLibrary.store(value); }

String GetEnvironmentVariable(const String& name) {
    const char* v = std::getenv(Native(name).c_str());
    return v ? String(v) : String();
}

namespace rtl {

String ExecutableFileName() {
    std::vector<char> buf(4096);
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) return String();
        if (static_cast<size_t>(n) < buf.size()) return String(std::string(buf.data(), static_cast<size_t>(n)));
        buf.resize(buf.size() * 2);
    }
}

}  // namespace rtl
