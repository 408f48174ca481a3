// File names, files, the command line and the environment.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

}  // namespace

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
