#pragma once
// Streams of the component interfaces: IStream, a stream over a block of global memory
// (CreateStreamOnHGlobal), and TStreamAdapter, an IStream over a run-time library TStream.
#include "platform/ole/Com.h"
#include "platform/rtl/Streams.h"
#include "platform/win/GlobalMemory.h"

using LARGE_INTEGER = int64_t;
using ULARGE_INTEGER = uint64_t;
using LPOLESTR = char16_t*;

struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};

constexpr DWORD STREAM_SEEK_SET = 0, STREAM_SEEK_CUR = 1, STREAM_SEEK_END = 2;
constexpr DWORD STGTY_STORAGE = 1, STGTY_STREAM = 2, STGTY_LOCKBYTES = 3, STGTY_PROPERTY = 4;
constexpr DWORD STATFLAG_DEFAULT = 0, STATFLAG_NONAME = 1;
constexpr DWORD STGC_DEFAULT = 0;

constexpr HRESULT STG_E_INVALIDFUNCTION = static_cast<HRESULT>(0x80030001u);
constexpr HRESULT STG_E_INSUFFICIENTMEMORY = static_cast<HRESULT>(0x80030008u);
constexpr HRESULT STG_E_INVALIDPOINTER = static_cast<HRESULT>(0x80030009u);
constexpr HRESULT STG_E_INVALIDPARAMETER = static_cast<HRESULT>(0x80030057u);
constexpr HRESULT STG_E_MEDIUMFULL = static_cast<HRESULT>(0x80030070u);
constexpr HRESULT STG_E_CANTSAVE = static_cast<HRESULT>(0x80030103u);
constexpr HRESULT STG_E_REVERTED = static_cast<HRESULT>(0x80030102u);

struct STATSTG {
    LPOLESTR pwcsName = nullptr;  // the streams of the layer have no name
    DWORD type = STGTY_STREAM;
    ULARGE_INTEGER cbSize = 0;
    FILETIME mtime, ctime, atime;
    DWORD grfMode = 0;
    DWORD grfLocksSupported = 0;
    CLSID clsid;
    DWORD grfStateBits = 0;
    DWORD reserved = 0;
};

struct ISequentialStream : IUnknown {
    static constexpr IID Iid{0x0C733A30, 0x2A1C, 0x11CE, {0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D}};
    using Base = IUnknown;
    // Up to count bytes; fewer at the end of the stream (still S_OK).
    virtual HRESULT Read(void* buffer, ULONG count, ULONG* read) = 0;
    virtual HRESULT Write(const void* buffer, ULONG count, ULONG* written) = 0;
};
inline constexpr const IID& IID_ISequentialStream = ISequentialStream::Iid;

struct IStream : ISequentialStream {
    static constexpr IID Iid{0x0000000C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    using Base = ISequentialStream;
    virtual HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) = 0;
    virtual HRESULT SetSize(ULARGE_INTEGER newSize) = 0;
    // Copies up to count bytes from the position to the other stream's position.
    virtual HRESULT CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read, ULARGE_INTEGER* written) = 0;
    virtual HRESULT Commit(DWORD flags) = 0;
    virtual HRESULT Revert() = 0;
    virtual HRESULT LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType) = 0;
    virtual HRESULT UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType) = 0;
    virtual HRESULT Stat(STATSTG* stat, DWORD flags) = 0;
    // Another stream over the same bytes with a position of its own.
    virtual HRESULT Clone(IStream** copy) = 0;
};
inline constexpr const IID& IID_IStream = IStream::Iid;

// A stream over the block (nullptr: a new, empty one); its size starts as the block's. Writing
// past the end grows the block (a block locked by someone else cannot grow: STG_E_MEDIUMFULL).
// With deleteOnRelease the block is freed when the stream and its clones are released.
// E_INVALIDARG for a handle that is not a live block or no out pointer.
HRESULT CreateStreamOnHGlobal(HGLOBAL block, BOOL deleteOnRelease, IStream** stream);
// The block under a stream CreateStreamOnHGlobal made; E_INVALIDARG for any other stream.
HRESULT GetHGlobalFromStream(IStream* stream, HGLOBAL* block);

enum TStreamOwnership { soReference, soOwned };

// An IStream over a TStream; soOwned frees the TStream with the adapter. The TStream's exceptions
// become failure results: S_FALSE from Read, STG_E_CANTSAVE from Write, STG_E_INVALIDFUNCTION
// from Seek, E_FAIL from SetSize.
class TStreamAdapter : public TInterfacedObject<IStream> {
public:
    explicit TStreamAdapter(TStream* stream, TStreamOwnership ownership = soReference);

    HRESULT Read(void* buffer, ULONG count, ULONG* read) override;
    HRESULT Write(const void* buffer, ULONG count, ULONG* written) override;
    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override;
    HRESULT SetSize(ULARGE_INTEGER newSize) override;
    HRESULT CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read, ULARGE_INTEGER* written) override;
    HRESULT Commit(DWORD flags) override;
    // A TStream keeps no earlier state to go back to.
    HRESULT Revert() override;
    HRESULT LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType) override;
    HRESULT UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType) override;
    HRESULT Stat(STATSTG* stat, DWORD flags) override;
    // A TStream has one position: E_NOTIMPL.
    HRESULT Clone(IStream** copy) override;

    TStream* Stream() const { return FStream; }

protected:
    ~TStreamAdapter() override;

private:
    TStream* FStream;
    TStreamOwnership FOwnership;
};
