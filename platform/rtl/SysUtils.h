#pragma once
// The general routines the components call by name: integer and float conversions, string
// handling with 1-based positions, file names and files, the program's parameters and environment.
// Number formatting lives in Format.h and date-time routines in DateUtils.h; both come with this
// header, as the components expect them all from one place.
#include <cstdint>
#include <memory>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/String.h"

// ---- Integers ----

String IntToStr(int value);
String IntToStr(unsigned value);
String IntToStr(long value);
String IntToStr(unsigned long value);
String IntToStr(long long value);
String IntToStr(unsigned long long value);
String UIntToStr(uint64_t value);
// Uppercase, at least digits wide. An int is 32 bits: IntToHex(-1, 2) = "FFFFFFFF"; a 64-bit
// negative value gives 16 digits.
String IntToHex(int value, int digits);
String IntToHex(unsigned value, int digits);
String IntToHex(long value, int digits);
String IntToHex(unsigned long value, int digits);
String IntToHex(long long value, int digits);
String IntToHex(unsigned long long value, int digits);

// Decimal with an optional sign after optional leading blanks, or hexadecimal after "$", "0x" or
// "x". Eight hex digits wrap to a negative value (StrToInt("$FFFFFFFF") = -1). Anything else, a
// trailing blank included, or a value out of range raises EConvertError
// "'<text>' is not a valid integer value".
int32_t StrToInt(const String& s);
int32_t StrToIntDef(const String& s, int32_t defaultValue);
bool TryStrToInt(const String& s, int32_t& value);
// The same for 64 bits; sixteen hex digits wrap.
int64_t StrToInt64(const String& s);
int64_t StrToInt64Def(const String& s, int64_t defaultValue);
bool TryStrToInt64(const String& s, int64_t& value);

// ---- Floating point ----

// [sign] digits [DecimalSeparator digits] [E [sign] digits], blanks allowed around it. Only the
// settings' decimal separator is accepted; thousand separators are not. Failure raises
// EConvertError "'<text>' is not a valid floating point value".
double StrToFloat(const String& s);
double StrToFloat(const String& s, const TFormatSettings& settings);
double StrToFloatDef(const String& s, double defaultValue);
double StrToFloatDef(const String& s, double defaultValue, const TFormatSettings& settings);
bool TryStrToFloat(const String& s, double& value);
bool TryStrToFloat(const String& s, double& value, const TFormatSettings& settings);

// ---- Booleans ----

// "True"/"False" when useBoolStrs, else "-1"/"0" as the original platform writes them.
String BoolToStr(bool value, bool useBoolStrs = false);
// "True"/"False" in any case, or a number (non-zero is true); else EConvertError
// "'<text>' is not a valid boolean value".
bool StrToBool(const String& s);
bool StrToBoolDef(const String& s, bool defaultValue);
bool TryStrToBool(const String& s, bool& value);

// ---- Strings (positions are 1-based) ----

// Remove leading and/or trailing characters <= ' '.
String Trim(const String& s);
String TrimLeft(const String& s);
String TrimRight(const String& s);
// a-z / A-Z only.
String UpperCase(const String& s);
String LowerCase(const String& s);
// Letters of Latin-1, Latin Extended-A, Greek, Cyrillic and the full-width forms as well.
String AnsiUpperCase(const String& s);
String AnsiLowerCase(const String& s);
char16_t AnsiUpperChar(char16_t c);
char16_t AnsiLowerChar(char16_t c);

// Ordinal comparisons: < 0, 0 or > 0. CompareText ignores the case of a-z only.
int CompareStr(const String& a, const String& b);
int CompareText(const String& a, const String& b);
bool SameStr(const String& a, const String& b);
bool SameText(const String& a, const String& b);
// AnsiCompareText folds case as AnsiLowerCase does. AnsiCompareStr orders as a dictionary does:
// case decides only between otherwise equal strings, a lowercase letter first ("a" < "A" < "b").
int AnsiCompareText(const String& a, const String& b);
int AnsiCompareStr(const String& a, const String& b);
bool AnsiSameText(const String& a, const String& b);
bool AnsiSameStr(const String& a, const String& b);

// Position of the first sub in s, 0 when absent or when sub is empty.
int Pos(const String& sub, const String& s);
int AnsiPos(const String& sub, const String& s);
// Search from offset; 0 when offset is outside 1..Length(s).
int PosEx(const String& sub, const String& s, int offset = 1);
// Clamps as the original does: an index below 1 counts as 1 (the count is kept), an index past
// the end or a count <= 0 gives "", and the count is cut at the end.
String Copy(const String& s, int index, int count);
// Does nothing for an index outside 1..Length(s) or a count <= 0.
void Delete(String& s, int index, int count);
// An index below 1 inserts at the front, one past the end appends.
void Insert(const String& sub, String& s, int index);
String StringOfChar(char16_t c, int count);

enum TReplaceFlag { rfReplaceAll = 1, rfIgnoreCase = 2 };
// A set of TReplaceFlag: rfReplaceAll | rfIgnoreCase, or TReplaceFlags() << rfReplaceAll.
struct TReplaceFlags {
    unsigned Bits = 0;
    TReplaceFlags() = default;
    TReplaceFlags(TReplaceFlag f) : Bits(f) {}
    TReplaceFlags operator<<(TReplaceFlag f) const { TReplaceFlags r(*this); r.Bits |= f; return r; }
    bool Contains(TReplaceFlag f) const { return (Bits & f) != 0; }
};
inline TReplaceFlags operator|(TReplaceFlags a, TReplaceFlag b) { return a << b; }
inline TReplaceFlags operator|(TReplaceFlag a, TReplaceFlag b) { return TReplaceFlags(a) << b; }
String StringReplace(const String& s, const String& oldPattern, const String& newPattern, TReplaceFlags flags);

// 'text' with inner quotes doubled.
String QuotedStr(const String& s);
String AnsiQuotedStr(const String& s, char16_t quote);
// Text between quote characters with doubled quotes made single; s itself when it is not quoted.
String AnsiDequotedStr(const String& s, char16_t quote);
// Reads a quoted string starting at s[pos] (0-based) and moves pos past it; "" if s[pos] is no quote.
String AnsiExtractQuotedStr(const String& s, size_t& pos, char16_t quote);

// 1-based index of the last character of s that is one of delimiters, 0 if none.
int LastDelimiter(const String& delimiters, const String& s);
bool IsDelimiter(const String& delimiters, const String& s, int index);

// ---- File names and files (the path delimiter is '/') ----

constexpr char16_t PathDelim = u'/';
constexpr char16_t PathSep = u':';
// "/a/b/c.txt": path "/a/b/", dir "/a/b", name "c.txt", ext ".txt".
String ExtractFilePath(const String& fileName);
String ExtractFileDir(const String& fileName);
String ExtractFileName(const String& fileName);
String ExtractFileExt(const String& fileName);
String ExtractFileDrive(const String& fileName);  // always "": Linux has no drives
String ChangeFileExt(const String& fileName, const String& extension);
String IncludeTrailingPathDelimiter(const String& s);
String ExcludeTrailingPathDelimiter(const String& s);
String IncludeTrailingBackslash(const String& s);  // the older name of the same
String ExcludeTrailingBackslash(const String& s);
// Absolute, with "." and ".." resolved by name (links are not followed).
String ExpandFileName(const String& fileName);

// A file that exists and is not a directory.
bool FileExists(const String& fileName);
bool DirectoryExists(const String& dir);
bool DeleteFile(const String& fileName);
bool RenameFile(const String& oldName, const String& newName);
bool CreateDir(const String& dir);
bool RemoveDir(const String& dir);
// Creates dir and every missing parent; an empty name raises EInOutError.
bool ForceDirectories(const String& dir);
String GetCurrentDir();
bool SetCurrentDir(const String& dir);

// ---- File search ----

constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;  // a name that starts with '.'
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;  // every regular file has it, as files usually do on the original
constexpr int faNormal = 0x80;
constexpr int faSymLink = 0x400;
constexpr int faAnyFile = 0x1FF;

namespace rtl {
struct FindState;
}

struct TSearchRec {
    int Time = 0;  // last write time, local, in the packed DOS form (FileDateToDateTime)
    int64_t Size = 0;
    int Attr = 0;
    String Name;
    int ExcludeAttr = 0;
    TDateTime TimeStamp = 0;  // the same time as a TDateTime
    std::shared_ptr<rtl::FindState> FindHandle;
};

// Entries of the folder part of path whose names match its last part, where '*' stands for any
// run of characters and '?' for one, compared without regard to case as on the original
// platform ("*.*" matches every name). "." and ".." are entries too. Hidden entries and folders
// are returned only when attr asks for them (faHidden, faDirectory); faAnyFile returns all.
// Entries come in name order. Returns 0, or 2 (no match), 3 (no such folder) or 18 (no more
// entries, FindNext). FindClose releases the search; the record's destructor does the same.
int FindFirst(const String& path, int attr, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);
namespace rtl {
// Whether name matches a '*' and '?' pattern as FindFirst matches it.
bool MatchesWildcard(const String& name, const String& pattern);
}  // namespace rtl

// The last write time of a file: packed DOS form (-1 when there is no such file), or as TDateTime.
int FileAge(const String& fileName);
bool FileAge(const String& fileName, TDateTime& value);
TDateTime FileDateToDateTime(int fileDate);
int DateTimeToFileDate(TDateTime value);

// ---- The program ----

// ParamStr(0) is the executable's full path; 1..ParamCount the command-line arguments; "" beyond.
String ParamStr(int index);
int ParamCount();
// "" when the variable is not set.
String GetEnvironmentVariable(const String& name);
// Whether the code runs in a library module that a program loaded rather than in the program
// itself. Every module the project builds is a program: false, unless a test switched it.
bool IsLibrary();

namespace rtl {
// The test switch behind IsLibrary (rtl::test::LibraryModuleScope); nothing else sets it.
void SetIsLibrary(bool value);
// Full path of the running executable (/proc/self/exe).
String ExecutableFileName();
}  // namespace rtl
