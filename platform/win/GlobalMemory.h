#pragma once
// Global memory: blocks handed between the data objects, streams and the clipboard of the
// component interfaces. A handle is checked against the table of live blocks, so a freed or
// forged handle is refused (ERROR_INVALID_HANDLE) instead of touching freed memory.
//
// A movable block's handle is a key, not an address: GlobalLock gives the address and counts the
// locks. A fixed block's handle is its address, as on the platform. Every block starts zeroed,
// whether GMEM_ZEROINIT is asked for or not; GMEM_DDESHARE is accepted and has no meaning in one
// process.
#include <cstddef>

#include "platform/rtl/Types.h"

using HGLOBAL = HANDLE;
using SIZE_T = size_t;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GMEM_SHARE = GMEM_DDESHARE;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

constexpr DWORD ERROR_NOT_LOCKED = 158;

// The largest block the layer hands out; a larger request fails with ERROR_NOT_ENOUGH_MEMORY.
constexpr SIZE_T kGlobalMaxBlock = 0x7FFFFFFF;

// nullptr (ERROR_NOT_ENOUGH_MEMORY, or ERROR_INVALID_PARAMETER for unknown flags) on failure.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// Changes the size, keeping the content up to the smaller size; new bytes are zero. A locked
// block keeps its address, so it cannot grow: nullptr with ERROR_NOT_ENOUGH_MEMORY, and the
// block stays as it was.
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
// The block's address (a movable block of size 0 has none: nullptr); counts a lock.
void* GlobalLock(HGLOBAL block);
// TRUE while the block is still locked; FALSE when this was the last lock (error 0) or the block
// was not locked (ERROR_NOT_LOCKED).
BOOL GlobalUnlock(HGLOBAL block);
// The size asked for; 0 for a handle that is not a live block.
SIZE_T GlobalSize(HGLOBAL block);
// nullptr when freed, the handle itself when it is not a live block.
HGLOBAL GlobalFree(HGLOBAL block);

namespace win {
// Whether the handle is a live block.
bool IsGlobalBlock(HGLOBAL block);
// Blocks not yet freed (tests check that a block went with its owner).
size_t LiveGlobalBlocks();
}  // namespace win
