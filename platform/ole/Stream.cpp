// Streams on global memory and the adapter over the run-time library's streams.
#include "platform/ole/Stream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

namespace {

// Copies up to count bytes from one stream's position to another's, through a buffer.
HRESULT CopyBetween(IStream* from, IStream* to, ULARGE_INTEGER count, ULARGE_INTEGER* read, ULARGE_INTEGER* written) {
    if (!to) return STG_E_INVALIDPOINTER;
    uint8_t buffer[64 * 1024];
    ULARGE_INTEGER totalRead = 0, totalWritten = 0;
    HRESULT hr = S_OK;
    while (totalRead < count) {
        ULONG chunk = static_cast<ULONG>(std::min<ULARGE_INTEGER>(count - totalRead, sizeof buffer));
        ULONG got = 0;
        hr = from->Read(buffer, chunk, &got);
        if (FAILED(hr) || got == 0) break;
        totalRead += got;
        ULONG put = 0;
        hr = to->Write(buffer, got, &put);
        totalWritten += put;
        if (FAILED(hr)) break;
        if (put < got) {
            hr = STG_E_MEDIUMFULL;
            break;
        }
    }
    if (read) *read = totalRead;
    if (written) *written = totalWritten;
    return FAILED(hr) ? hr : S_OK;
}

// The bytes a stream on global memory and its clones share: the block and the stream's size,
// which may be less than the block's.
struct SharedBlock {
    SharedBlock(HGLOBAL block, bool deleteOnRelease)
        : Block(block), Size(GlobalSize(block)), DeleteOnRelease(deleteOnRelease) {}
    ~SharedBlock() {
        if (DeleteOnRelease) GlobalFree(Block);
    }
    SharedBlock(const SharedBlock&) = delete;
    SharedBlock& operator=(const SharedBlock&) = delete;
    HGLOBAL Block;
    ULARGE_INTEGER Size;
    bool DeleteOnRelease;
};

class THGlobalStream final : public TInterfacedObject<IStream> {
public:
    THGlobalStream(std::shared_ptr<SharedBlock> shared, ULARGE_INTEGER position)
        : FShared(std::move(shared)), FPosition(position) {}

    HGLOBAL Block() const { return FShared->Block; }

    HRESULT Read(void* buffer, ULONG count, ULONG* read) override {
        if (read) *read = 0;
        if (!buffer && count) return STG_E_INVALIDPOINTER;
        ULARGE_INTEGER size = FShared->Size;
        ULONG n = FPosition >= size ? 0 : static_cast<ULONG>(std::min<ULARGE_INTEGER>(count, size - FPosition));
        if (n) {
            const auto* p = static_cast<const uint8_t*>(GlobalLock(FShared->Block));
            if (!p) return E_HANDLE;
            std::memcpy(buffer, p + FPosition, n);
            GlobalUnlock(FShared->Block);
            FPosition += n;
        }
        if (read) *read = n;
        return S_OK;
    }

    HRESULT Write(const void* buffer, ULONG count, ULONG* written) override {
        if (written) *written = 0;
        if (!buffer && count) return STG_E_INVALIDPOINTER;
        if (count == 0) return S_OK;
        ULARGE_INTEGER end = FPosition + count;
        if (end > FShared->Size) {
            HRESULT hr = SetSize(end);
            if (FAILED(hr)) return hr;
        }
        auto* p = static_cast<uint8_t*>(GlobalLock(FShared->Block));
        if (!p) return E_HANDLE;
        std::memcpy(p + FPosition, buffer, count);
        GlobalUnlock(FShared->Block);
        FPosition = end;
        if (written) *written = count;
        return S_OK;
    }

    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
        LARGE_INTEGER base;
        switch (origin) {
            case STREAM_SEEK_SET: base = 0; break;
            case STREAM_SEEK_CUR: base = static_cast<LARGE_INTEGER>(FPosition); break;
            case STREAM_SEEK_END: base = static_cast<LARGE_INTEGER>(FShared->Size); break;
            default: return STG_E_INVALIDFUNCTION;
        }
        LARGE_INTEGER target;
        // Before the start, or beyond what a block can hold, is refused; past the end is allowed
        // and the next write fills the gap with zeros.
        if (__builtin_add_overflow(base, move, &target) || target < 0 || static_cast<ULARGE_INTEGER>(target) > kGlobalMaxBlock)
            return STG_E_INVALIDFUNCTION;
        FPosition = static_cast<ULARGE_INTEGER>(target);
        if (newPosition) *newPosition = FPosition;
        return S_OK;
    }

    HRESULT SetSize(ULARGE_INTEGER newSize) override {
        if (newSize > kGlobalMaxBlock) return STG_E_MEDIUMFULL;
        if (newSize == FShared->Size) return S_OK;
        if (GlobalSize(FShared->Block) != newSize) {
            HGLOBAL h = GlobalReAlloc(FShared->Block, static_cast<SIZE_T>(newSize), GMEM_MOVEABLE);
            if (!h) return STG_E_MEDIUMFULL;
            FShared->Block = h;
        }
        FShared->Size = newSize;
        return S_OK;
    }

    HRESULT CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read, ULARGE_INTEGER* written) override {
        return CopyBetween(this, target, count, read, written);
    }
    // The block is the storage itself: there is nothing to commit or to go back to.
    HRESULT Commit(DWORD) override { return S_OK; }
    HRESULT Revert() override { return S_OK; }
    HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }

    HRESULT Stat(STATSTG* stat, DWORD) override {
        if (!stat) return STG_E_INVALIDPOINTER;
        *stat = STATSTG{};
        stat->type = STGTY_STREAM;
        stat->cbSize = FShared->Size;
        return S_OK;
    }

    HRESULT Clone(IStream** copy) override {
        if (!copy) return STG_E_INVALIDPOINTER;
        *copy = ComPtr<IStream>(new THGlobalStream(FShared, FPosition)).Detach();
        return S_OK;
    }

private:
    std::shared_ptr<SharedBlock> FShared;
    ULARGE_INTEGER FPosition;
};

}  // namespace

HRESULT CreateStreamOnHGlobal(HGLOBAL block, BOOL deleteOnRelease, IStream** stream) {
    if (!stream) return E_INVALIDARG;
    *stream = nullptr;
    bool own = block == nullptr;
    if (own) {
        block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 0);
        if (!block) return E_OUTOFMEMORY;
    } else if (!win::IsGlobalBlock(block)) {
        return E_INVALIDARG;
    }
    auto shared = std::make_shared<SharedBlock>(block, deleteOnRelease != FALSE_);
    *stream = ComPtr<IStream>(new THGlobalStream(std::move(shared), 0)).Detach();
    return S_OK;
}

HRESULT GetHGlobalFromStream(IStream* stream, HGLOBAL* block) {
    if (!block) return E_INVALIDARG;
    *block = nullptr;
    auto* s = dynamic_cast<THGlobalStream*>(stream);
    if (!s) return E_INVALIDARG;
    *block = s->Block();
    return S_OK;
}

// ---------------------------------------------------------------------------------------------

TStreamAdapter::TStreamAdapter(TStream* stream, TStreamOwnership ownership) : FStream(stream), FOwnership(ownership) {}

TStreamAdapter::~TStreamAdapter() {
    if (FOwnership == soOwned) delete FStream;
}

HRESULT TStreamAdapter::Read(void* buffer, ULONG count, ULONG* read) {
    if (read) *read = 0;
    if (!buffer && count) return STG_E_INVALIDPOINTER;
    try {
        int32_t n = FStream->Read(buffer, static_cast<int32_t>(std::min<ULONG>(count, std::numeric_limits<int32_t>::max())));
        if (read) *read = static_cast<ULONG>(std::max(n, 0));
        return S_OK;
    } catch (const Exception&) {
        return S_FALSE;
    }
}

HRESULT TStreamAdapter::Write(const void* buffer, ULONG count, ULONG* written) {
    if (written) *written = 0;
    if (!buffer && count) return STG_E_INVALIDPOINTER;
    try {
        int32_t n = FStream->Write(buffer, static_cast<int32_t>(std::min<ULONG>(count, std::numeric_limits<int32_t>::max())));
        if (written) *written = static_cast<ULONG>(std::max(n, 0));
        return S_OK;
    } catch (const Exception&) {
        return STG_E_CANTSAVE;
    }
}

HRESULT TStreamAdapter::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) {
    if (origin > STREAM_SEEK_END) return STG_E_INVALIDFUNCTION;
    try {
        int64_t p = FStream->Seek(move, static_cast<TSeekOrigin>(origin));
        if (newPosition) *newPosition = static_cast<ULARGE_INTEGER>(p);
        return S_OK;
    } catch (const Exception&) {
        return STG_E_INVALIDFUNCTION;
    }
}

HRESULT TStreamAdapter::SetSize(ULARGE_INTEGER newSize) {
    if (newSize > static_cast<ULARGE_INTEGER>(std::numeric_limits<int64_t>::max())) return STG_E_INVALIDFUNCTION;
    try {
        FStream->SetSize(static_cast<int64_t>(newSize));
        return S_OK;
    } catch (const Exception&) {
        return E_FAIL;
    }
}

HRESULT TStreamAdapter::CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read, ULARGE_INTEGER* written) {
    return CopyBetween(this, target, count, read, written);
}

HRESULT TStreamAdapter::Commit(DWORD) { return S_OK; }
HRESULT TStreamAdapter::Revert() { return STG_E_REVERTED; }
HRESULT TStreamAdapter::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }
HRESULT TStreamAdapter::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }

HRESULT TStreamAdapter::Stat(STATSTG* stat, DWORD) {
    if (!stat) return STG_E_INVALIDPOINTER;
    *stat = STATSTG{};
    try {
        stat->cbSize = static_cast<ULARGE_INTEGER>(FStream->Size());
        return S_OK;
    } catch (const Exception&) {
        return E_FAIL;
    }
}

HRESULT TStreamAdapter::Clone(IStream** copy) {
    if (copy) *copy = nullptr;
    return E_NOTIMPL;
}
