#include "platform/rtl/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <span>

namespace {

String ErrnoText(int err) {
    char buf[256];
    // GNU strerror_r answers a pointer that may or may not be buf.
    const char* text = strerror_r(err, buf, sizeof buf);
    return String(text);
}

// Answers the target position of a seek, or raises when it would fall before the start.
int64_t SeekTarget(int64_t Offset, TSeekOrigin Origin, int64_t Current, int64_t Size) {
    int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? Current : Size;
    int64_t target;
    if (__builtin_add_overflow(base, Offset, &target) || target < 0)
        throw EStreamError(String("Invalid stream position"));
    return target;
}

int32_t ClampCount(int64_t Count) {
    return static_cast<int32_t>(std::min<int64_t>(Count, std::numeric_limits<int32_t>::max()));
}

// Reading, writing and sizing of the streams held in memory, over their byte vector or string.
template <class Bytes>
int32_t ReadBytes(const Bytes& data, int64_t& position, void* buffer, int32_t count) {
    int64_t size = static_cast<int64_t>(data.size());
    if (count <= 0 || position >= size) return 0;
    int32_t n = static_cast<int32_t>(std::min<int64_t>(count, size - position));
    std::memcpy(buffer, data.data() + position, static_cast<size_t>(n));
    position += n;
    return n;
}

template <class Bytes>
int32_t WriteBytes(Bytes& data, int64_t& position, const void* buffer, int32_t count) {
    if (count <= 0) return 0;
    int64_t end;
    if (__builtin_add_overflow(position, count, &end)) return 0;  // WriteBuffer reports it
    if (end > static_cast<int64_t>(data.size())) data.resize(static_cast<size_t>(end));
    std::memcpy(data.data() + position, buffer, static_cast<size_t>(count));
    position = end;
    return count;
}

template <class Bytes>
void ResizeBytes(Bytes& data, int64_t& position, int64_t newSize) {
    if (newSize < 0) throw EStreamError(String("Invalid stream size"));
    data.resize(static_cast<size_t>(newSize));
    if (position > newSize) position = newSize;
}

}  // namespace

// ---- TStream ----

int64_t TStream::Seek(int64_t Offset, int Origin) {
    if (Origin < soBeginning || Origin > soEnd) throw EStreamError(String("Invalid seek origin"));
    return Seek(Offset, static_cast<TSeekOrigin>(Origin));
}

int64_t TStream::Position() { return Seek(0, soCurrent); }

int64_t TStream::Size() {
    int64_t pos = Seek(0, soCurrent);
    int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
    auto* p = static_cast<uint8_t*>(Buffer);
    while (Count > 0) {
        int32_t n = Read(p, ClampCount(Count));
        if (n <= 0) throw EReadError(String("Stream read error"));
        p += n;
        Count -= n;
    }
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
    auto* p = static_cast<const uint8_t*>(Buffer);
    while (Count > 0) {
        int32_t n = Write(p, ClampCount(Count));
        if (n <= 0) throw EWriteError(String("Stream write error"));
        p += n;
        Count -= n;
    }
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count) {
    if (Count <= 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    const int64_t total = Count;
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(Count, 64 * 1024)));
    while (Count > 0) {
        int64_t n = std::min<int64_t>(Count, static_cast<int64_t>(buffer.size()));
        Source->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        Count -= n;
    }
    return total;
}

// ---- TMemoryStream ----

int32_t TMemoryStream::Read(void* Buffer, int32_t Count) { return ReadBytes(FData, FPosition, Buffer, Count); }

int32_t TMemoryStream::Write(const void* Buffer, int32_t Count) { return WriteBytes(FData, FPosition, Buffer, Count); }

void TCustomMemoryStream::SetPointer(const void* Ptr, size_t Size) {
    FMemory = static_cast<const uint8_t*>(Ptr);
    FSize = Ptr ? Size : 0;
}

int32_t TCustomMemoryStream::Read(void* Buffer, int32_t Count) {
    return ReadBytes(std::span<const uint8_t>(FMemory, FSize), FPosition, Buffer, Count);
}

int64_t TCustomMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    FPosition = SeekTarget(Offset, Origin, FPosition, static_cast<int64_t>(FSize));
    return FPosition;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    FPosition = SeekTarget(Offset, Origin, FPosition, static_cast<int64_t>(FData.size()));
    return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) { ResizeBytes(FData, FPosition, NewSize); }

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
    Stream->SetPosition(0);
    int64_t count = Stream->Size();
    SetSize(count);
    if (count > 0) Stream->ReadBuffer(FData.data(), count);
}

void TMemoryStream::LoadFromFile(const String& FileName) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

void TMemoryStream::SaveToStream(TStream* Stream) {
    if (!FData.empty()) Stream->WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TMemoryStream::SaveToFile(const String& FileName) {
    TFileStream file(FileName, fmCreate);
    SaveToStream(&file);
}

namespace rtl {

void ReplaceFile(const std::string& path, const std::string& bytes, WriteFailure WriteFailed) {
    // Replace the file a link points to, not the link, even when that file does not exist yet
    // (a dangling link would otherwise be turned into a plain file).
    std::string target = path;
    struct stat st;
    for (int hops = 0; ::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode); ++hops) {
        if (hops == 40) WriteFailed(path, ELOOP);
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0) WriteFailed(path, errno);
        link.resize(static_cast<size_t>(n));
        size_t cut = target.rfind('/');
        target = link[0] == '/' || cut == std::string::npos ? link : target.substr(0, cut + 1) + link;
    }
    bool existed = ::stat(target.c_str(), &st) == 0;
    size_t slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    if (slash == std::string::npos) dir += '/';

    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = dir + "." + base + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) WriteFailed(path, errno);
    }
    if (fd < 0) WriteFailed(path, EEXIST);

    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(temp.c_str());
        WriteFailed(path, err);
    };
    if (existed) (void)::fchmod(fd, st.st_mode & 07777);
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) fail(errno);
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        WriteFailed(path, err);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        WriteFailed(path, err);
    }
    // The rename itself is durable only once the folder is flushed.
    int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
}


}  // namespace rtl

void ReplaceFileContents(const String& FileName, const std::string& Bytes) {
    rtl::ReplaceFile(FileName.ToUtf8(), Bytes, [](const std::string& path, int err) {
        throw EFCreateError(String("Cannot create file \"") + String(path) + "\". " + ErrnoText(err));
    });
}

// ---- TFileStream ----

TFileStream::TFileStream(const String& FileName, uint16_t Mode) : TFileStream(FileName, Mode, 0) {}

TFileStream::TFileStream(const String& FileName, uint16_t Mode, uint32_t Rights) : FFileName(FileName) {
    std::string path = FileName.ToUtf8();
    bool create = (Mode & fmCreate) == fmCreate;
    if (create) {
        FHandle = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC,
                         Rights != 0 ? static_cast<mode_t>(Rights) : 0666);
        if (FHandle < 0) {
            throw EFCreateError(String("Cannot create file \"") + FileName + "\". " + ErrnoText(errno));
        }
        return;
    }
    int flags;
    switch (Mode & 0x3) {
    case fmOpenWrite: flags = O_WRONLY; break;
    case fmOpenReadWrite: flags = O_RDWR; break;
    default: flags = O_RDONLY; break;
    }
    FHandle = ::open(path.c_str(), flags | O_CLOEXEC);
    int err = errno;
    if (FHandle >= 0) {
        // A folder opens read-only on Linux; a file stream over one would only fail later.
        struct stat st;
        if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(FHandle);
            FHandle = -1;
            err = EISDIR;
        }
    }
    if (FHandle < 0) throw EFOpenError(String("Cannot open file \"") + FileName + "\". " + ErrnoText(err));
}

TFileStream::~TFileStream() {
    if (FHandle >= 0) ::close(FHandle);
}

int32_t TFileStream::Read(void* Buffer, int32_t Count) {
    if (Count <= 0) return 0;
    for (;;) {
        ssize_t n = ::read(FHandle, Buffer, static_cast<size_t>(Count));
        if (n >= 0) return static_cast<int32_t>(n);
        if (errno != EINTR) return 0;
    }
}

int32_t TFileStream::Write(const void* Buffer, int32_t Count) {
    if (Count <= 0) return 0;
    for (;;) {
        ssize_t n = ::write(FHandle, Buffer, static_cast<size_t>(Count));
        if (n >= 0) return static_cast<int32_t>(n);
        if (errno != EINTR) return 0;
    }
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    off_t r = ::lseek(FHandle, static_cast<off_t>(Offset), whence);
    if (r < 0) throw EStreamError(String("Invalid stream position"));
    return static_cast<int64_t>(r);
}

void TFileStream::SetSize(int64_t NewSize) {
    if (NewSize < 0 || ::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0) {
        throw EStreamError(String("Cannot change the size of \"") + FFileName + "\". " + ErrnoText(errno));
    }
    if (Position() > NewSize) SetPosition(NewSize);
}

// ---- TStringStream ----

int32_t TStringStream::Read(void* Buffer, int32_t Count) { return ReadBytes(FData, FPosition, Buffer, Count); }

int32_t TStringStream::Write(const void* Buffer, int32_t Count) { return WriteBytes(FData, FPosition, Buffer, Count); }

int64_t TStringStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    FPosition = SeekTarget(Offset, Origin, FPosition, static_cast<int64_t>(FData.size()));
    return FPosition;
}

void TStringStream::SetSize(int64_t NewSize) { ResizeBytes(FData, FPosition, NewSize); }

AnsiString TStringStream::ReadString(int32_t Count) {
    int64_t size = static_cast<int64_t>(FData.size());
    if (Count <= 0 || FPosition >= size) return {};
    int64_t n = std::min<int64_t>(Count, size - FPosition);
    AnsiString result = FData.substr(static_cast<size_t>(FPosition), static_cast<size_t>(n));
    FPosition += n;
    return result;
}

void TStringStream::WriteString(const AnsiString& Data) {
    if (!Data.empty()) WriteBuffer(Data.data(), static_cast<int64_t>(Data.size()));
}
