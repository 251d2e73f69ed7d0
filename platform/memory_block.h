// Large blocks of memory that grow in place: a list of many megabytes is
// built in one block without ever existing twice while the block grows.
#pragma once

#include <cstddef>

namespace platform {

// The granularity in which blocks grow (a page, or more).
std::size_t blockGranularity();

// Returns a block of `newSize` bytes (a multiple of blockGranularity())
// holding the first `oldSize` bytes of `old` (nullptr with oldSize 0: a new
// block). Where the system can, the block grows by remapping its pages, not
// by copying them. Throws std::bad_alloc when there is not enough memory;
// `old` is then unchanged.
void* growBlock(void* old, std::size_t oldSize, std::size_t newSize);

// Gives a block back; nullptr is allowed.
void freeBlock(void* block, std::size_t size) noexcept;

// Gives back the memory of the whole pages in [from, to), bytes of a block
// from growBlock that the caller never reads again. A block that is read
// once from front to back (a list being copied elsewhere) thus never exists
// twice. The bytes are lost (they read as zero afterwards) where the system
// gives pages back and kept where it cannot. Returns the end of the part
// given back, `to` rounded down to a page, or `from` when nothing was: the
// next call starts there.
const char* releasePages(const char* from, const char* to) noexcept;

}  // namespace platform
