#pragma once
// Ini files: sections of key=value lines. TMemIniFile reads the whole file at construction and
// writes it back on UpdateFile; TIniFile writes every change through to the file at once.
//
// Both share one parser: section and key names are case-insensitive and trimmed, values are
// trimmed and lose one pair of matching surrounding quotes ("..." or '...') on reading, the
// order of sections and keys is kept, and comments (";") and lines left alone are written back
// unchanged. Files are read through DecodeText (UTF-8, UTF-16 with a mark, or CP932) and written
// with CR LF line ends, as UTF-8 unless they were read with a byte-order mark. A missing file
// reads as empty. Every rewrite goes to a temporary file in the same folder that then replaces
// the old one, so a failed write (raising EIniFileException) leaves the old file as it was.
#include <cstdint>
#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/String.h"

class TStrings;

namespace rtl {
class IniDocument;
}

class TCustomIniFile {
public:
    explicit TCustomIniFile(const String& FileName) : FFileName(FileName) {}
    virtual ~TCustomIniFile() = default;
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    const String& FileName() const { return FFileName; }

    virtual String ReadString(const String& Section, const String& Ident, const String& Default) = 0;
    // A value with a line break, or a name that could not be read back as written (a key with
    // "=", a section with "]", ...), raises EIniFileException instead of corrupting the file.
    virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
    // Decimal, or hexadecimal after "$" or "0x"; Default when missing or malformed.
    virtual int32_t ReadInteger(const String& Section, const String& Ident, int32_t Default);
    virtual void WriteInteger(const String& Section, const String& Ident, int32_t Value);
    // A non-zero integer is true, zero false, anything else Default. Written as "1" or "0".
    virtual bool ReadBool(const String& Section, const String& Ident, bool Default);
    virtual void WriteBool(const String& Section, const String& Ident, bool Value);
    // "." is the decimal separator; written in the shortest form that reads back exactly.
    virtual double ReadFloat(const String& Section, const String& Ident, double Default);
    virtual void WriteFloat(const String& Section, const String& Ident, double Value);

    // The key names of Section, in file order (Strings is cleared first).
    virtual void ReadSection(const String& Section, TStrings* Strings) = 0;
    virtual void ReadSections(TStrings* Strings) = 0;
    // The "key=value" lines of Section, values as ReadString answers them.
    virtual void ReadSectionValues(const String& Section, TStrings* Strings) = 0;
    virtual bool SectionExists(const String& Section);
    virtual bool ValueExists(const String& Section, const String& Ident);
    virtual void EraseSection(const String& Section) = 0;
    virtual void DeleteKey(const String& Section, const String& Ident) = 0;
    virtual void UpdateFile() = 0;

private:
    String FFileName;
};

// The base of the two file-backed classes: the parsed file and the operations on it.
class TDocumentIniFile : public TCustomIniFile {
public:
    ~TDocumentIniFile() override;

    String ReadString(const String& Section, const String& Ident, const String& Default) override;
    void WriteString(const String& Section, const String& Ident, const String& Value) override;
    void ReadSection(const String& Section, TStrings* Strings) override;
    void ReadSections(TStrings* Strings) override;
    void ReadSectionValues(const String& Section, TStrings* Strings) override;
    bool SectionExists(const String& Section) override;
    bool ValueExists(const String& Section, const String& Ident) override;
    void EraseSection(const String& Section) override;
    void DeleteKey(const String& Section, const String& Ident) override;

protected:
    explicit TDocumentIniFile(const String& FileName);
    // Before every operation: lets TIniFile pick up changes made to the file by others.
    virtual void BeforeAccess() {}
    // After a change to the document.
    virtual void AfterChange() {}
    // Reads the file into the document (empty when the file is missing).
    void Load();
    // Writes the document over the file.
    void Save();
    rtl::IniDocument& Document() { return *FDocument; }

private:
    std::unique_ptr<rtl::IniDocument> FDocument;
};

class TMemIniFile : public TDocumentIniFile {
public:
    explicit TMemIniFile(const String& FileName);

    // Writes the whole file, even when nothing changed (so a missing file gets created).
    void UpdateFile() override;
    // Drops every section, in memory only.
    void Clear();
    // The file as lines / replaces the memory copy by parsing Strings.
    void GetStrings(TStrings* Strings);
    void SetStrings(const TStrings* Strings);
};

class TIniFile : public TDocumentIniFile {
public:
    explicit TIniFile(const String& FileName);

    // Every write already reached the file: nothing is pending.
    void UpdateFile() override {}

protected:
    void BeforeAccess() override;
    void AfterChange() override;

private:
    struct Stamp {
        bool Exists = false;
        uint64_t Device = 0, Inode = 0;
        int64_t Size = 0, ModifiedSec = 0, ModifiedNsec = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp CurrentStamp() const;
    Stamp FStamp;
    bool FStampValid = false;
};
