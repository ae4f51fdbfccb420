// Movable memory blocks, as the clipboard exchanges them. A block is owned by whoever
// allocated it until SetClipboardData takes it over. Calls on a stale handle answer 0 / null.
#pragma once

#include <cstddef>

#include "platform/win/WinUser.h"

constexpr UINT GMEM_FIXED = 0x0, GMEM_MOVEABLE = 0x2, GMEM_ZEROINIT = 0x40, GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

namespace Windows {

// Null for a size above 1 GiB. The block's bytes start zeroed.
HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
// Answers null on success (as the original does), the handle when it is not a block.
HGLOBAL GlobalFree(HGLOBAL mem);
void* GlobalLock(HGLOBAL mem);
BOOL GlobalUnlock(HGLOBAL mem);
std::size_t GlobalSize(HGLOBAL mem);

}  // namespace Windows
