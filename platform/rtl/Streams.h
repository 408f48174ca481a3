#pragma once
// Byte streams: the abstract TStream with its buffer helpers, and the memory, file and string
// streams the components read and write.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/String.h"

class TComponent;

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

// The older 16-bit origins; same values as TSeekOrigin.
constexpr uint16_t soFromBeginning = 0;
constexpr uint16_t soFromCurrent = 1;
constexpr uint16_t soFromEnd = 2;

// TFileStream modes: one access mode, optionally or-ed with one share mode. Share modes are
// accepted and not enforced (Linux has no mandatory sharing).
constexpr uint16_t fmCreate = 0xFF00;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

class TStream {
public:
    virtual ~TStream() = default;
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Transfer up to Count bytes at the current position; answer the number moved.
    virtual int32_t Read(void* Buffer, int32_t Count) = 0;
    virtual int32_t Write(const void* Buffer, int32_t Count) = 0;
    // Moves the position; answers the new position. Derived classes add `using TStream::Seek;`.
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
    // The 16-bit origin form (soFromBeginning, soFromCurrent, soFromEnd).
    int64_t Seek(int64_t Offset, int Origin);

    int64_t Position();
    void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t NewSize) = 0;

    // Like Read/Write, but a short transfer raises EReadError / EWriteError.
    void ReadBuffer(void* Buffer, int64_t Count);
    void WriteBuffer(const void* Buffer, int64_t Count);
    // Copies Count bytes from Source's position; Count <= 0 copies all of Source from its start.
    // Answers the number of bytes copied.
    int64_t CopyFrom(TStream* Source, int64_t Count);

    // One component record of the binary component stream (platform/rtl/Filer.h), at the
    // position. ReadComponent reads into Instance, or into a new object of the record's
    // registered class when Instance is nullptr, and answers the component read.
    void WriteComponent(TComponent* Instance);
    TComponent* ReadComponent(TComponent* Instance);
};

// A read-only stream over memory someone else holds (SetPointer); what derives from it decides
// whether it can be written.
class TCustomMemoryStream : public TStream {
public:
    using TStream::Seek;
    int32_t Read(void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return static_cast<int64_t>(FSize); }
    const void* Memory() const { return FMemory; }

protected:
    void SetPointer(const void* Ptr, size_t Size);

private:
    const uint8_t* FMemory = nullptr;
    size_t FSize = 0;
    int64_t FPosition = 0;
};

// A stream held in memory; Memory() stays valid until the size changes.
class TMemoryStream : public TStream {
public:
    using TStream::Seek;
    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }
    void SetSize(int64_t NewSize) override;

    void* Memory() { return FData.empty() ? nullptr : FData.data(); }
    const void* Memory() const { return FData.empty() ? nullptr : FData.data(); }
    void Clear();
    // Replaces the contents with the whole of Stream (read from its start).
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const String& FileName);
    // Writes the whole contents, whatever the position.
    void SaveToStream(TStream* Stream);
    void SaveToFile(const String& FileName);

private:
    std::vector<uint8_t> FData;
    int64_t FPosition = 0;
};

// Writes the bytes to a new file beside FileName and renames it over FileName (over the file a
// link names): a reader or a failure sees the old file whole, never part of the new one. A
// failure raises EFCreateError naming the file and the system's reason; the old file stays.
void ReplaceFileContents(const String& FileName, const std::string& Bytes);

namespace rtl {
// The same with the failure reported by fail(path, errno), which raises.
using WriteFailure = void (*)(const std::string& path, int err);
void ReplaceFile(const std::string& path, const std::string& bytes, WriteFailure fail);
}  // namespace rtl

class TFileStream : public TStream {
public:
    // Mode is fmCreate (create or truncate) or an fmOpen* mode, each optionally with share flags.
    // Rights are the permission bits of a created file (0: 0666 less the umask).
    // Failure raises EFCreateError (fmCreate) or EFOpenError, naming the file and the reason.
    TFileStream(const String& FileName, uint16_t Mode);
    TFileStream(const String& FileName, uint16_t Mode, uint32_t Rights);
    ~TFileStream() override;

    using TStream::Seek;
    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;

    const String& FileName() const { return FFileName; }
    int Handle() const { return FHandle; }

private:
    String FFileName;
    int FHandle = -1;
};

// A stream over a byte string. Text given as String is stored UTF-8 encoded.
class TStringStream : public TStream {
public:
    TStringStream() = default;
    explicit TStringStream(const AnsiString& Data) : FData(Data) {}
    explicit TStringStream(const char* Data) : FData(Data ? Data : "") {}
    explicit TStringStream(const String& Text) : FData(Text.ToUtf8()) {}

    using TStream::Seek;
    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }
    void SetSize(int64_t NewSize) override;

    const AnsiString& DataString() const { return FData; }
    // Reads up to Count bytes from the position.
    AnsiString ReadString(int32_t Count);
    void WriteString(const AnsiString& Data);
    void WriteString(const char* Data) { WriteString(AnsiString(Data ? Data : "")); }
    void WriteString(const String& Text) { WriteString(Text.ToUtf8()); }

private:
    AnsiString FData;
    int64_t FPosition = 0;
};
