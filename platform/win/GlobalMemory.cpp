#include "platform/win/GlobalMemory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/rtl/Handles.h"

namespace {

struct Block {
    uint8_t* Data = nullptr;  // calloc'ed, at least one byte so a fixed block has an address
    SIZE_T Size = 0;
    bool Moveable = false;
    UINT Locks = 0;
};

struct Table {
    std::mutex Mutex;
    std::unordered_map<uintptr_t, Block> Blocks;
    uintptr_t NextKey = 0;
};

Table& Blocks() {
    static Table* t = new Table;  // lives as long as the process: blocks may be freed during exit
    return *t;
}

constexpr UINT kKnownFlags = GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE;

// A movable block's key is never an address the allocator hands out: those are 16-byte aligned,
// the keys are 4 past a multiple of 16.
uintptr_t NewMoveableKey(Table& t) { return (++t.NextKey << 4) | 4u; }

uintptr_t KeyOf(HGLOBAL h) { return reinterpret_cast<uintptr_t>(h); }

Block* Find(Table& t, HGLOBAL h) {
    auto it = t.Blocks.find(KeyOf(h));
    if (it == t.Blocks.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &it->second;
}

uint8_t* Zeroed(SIZE_T bytes) { return static_cast<uint8_t*>(std::calloc(bytes ? bytes : 1, 1)); }

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (flags & ~kKnownFlags) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (bytes > kGlobalMaxBlock) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    uint8_t* data = Zeroed(bytes);
    if (!data) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    Table& t = Blocks();
    std::lock_guard lock(t.Mutex);
    bool moveable = (flags & GMEM_MOVEABLE) != 0;
    uintptr_t key = moveable ? NewMoveableKey(t) : reinterpret_cast<uintptr_t>(data);
    t.Blocks[key] = Block{data, bytes, moveable, 0};
    return reinterpret_cast<HGLOBAL>(key);
}

HGLOBAL GlobalReAlloc(HGLOBAL h, SIZE_T bytes, UINT flags) {
    if (flags & ~kKnownFlags) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Table& t = Blocks();
    std::lock_guard lock(t.Mutex);
    Block* b = Find(t, h);
    if (!b) return nullptr;
    if (bytes > kGlobalMaxBlock) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    // A block whose address someone holds cannot move: a locked movable block, or a fixed one
    // unless the caller allows the move.
    bool pinned = b->Moveable ? b->Locks > 0 : (flags & GMEM_MOVEABLE) == 0;
    if (bytes > b->Size && pinned) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (bytes <= b->Size) {
        std::memset(b->Data + bytes, 0, b->Size - bytes);  // what grows back later reads as zero
        b->Size = bytes;
        return h;
    }
    uint8_t* data = Zeroed(bytes);
    if (!data) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::memcpy(data, b->Data, b->Size);
    std::free(b->Data);
    b->Data = data;
    b->Size = bytes;
    if (b->Moveable) return h;
    // A fixed block's handle is its address: it moves with it.
    Block moved = *b;
    t.Blocks.erase(KeyOf(h));
    t.Blocks[reinterpret_cast<uintptr_t>(data)] = moved;
    return reinterpret_cast<HGLOBAL>(data);
}

void* GlobalLock(HGLOBAL h) {
    Table& t = Blocks();
    std::lock_guard lock(t.Mutex);
    Block* b = Find(t, h);
    if (!b) return nullptr;
    if (!b->Moveable) return b->Data;
    if (b->Size == 0) return nullptr;
    ++b->Locks;
    return b->Data;
}

BOOL GlobalUnlock(HGLOBAL h) {
    Table& t = Blocks();
    std::lock_guard lock(t.Mutex);
    Block* b = Find(t, h);
    if (!b) return FALSE_;
    if (!b->Moveable || b->Locks == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE_;
    }
    if (--b->Locks > 0) return TRUE_;
    SetLastError(ERROR_SUCCESS);
    return FALSE_;
}

SIZE_T GlobalSize(HGLOBAL h) {
    Table& t = Blocks();
    std::lock_guard lock(t.Mutex);
    Block* b = Find(t, h);
    return b ? b->Size : 0;
}

HGLOBAL GlobalFree(HGLOBAL h) {
    Table& t = Blocks();
    std::lock_guard lock(t.Mutex);
    Block* b = Find(t, h);
    if (!b) return h;
    std::free(b->Data);
    t.Blocks.erase(KeyOf(h));
    return nullptr;
}

namespace win {
bool IsGlobalBlock(HGLOBAL block) {
    Table& t = Blocks();
    std::lock_guard lock(t.Mutex);
    return t.Blocks.count(KeyOf(block)) != 0;
}

size_t LiveGlobalBlocks() {
    Table& t = Blocks();
    std::lock_guard lock(t.Mutex);
    return t.Blocks.size();
}
}  // namespace win
