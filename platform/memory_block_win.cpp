// Blocks from the process heap; HeapReAlloc grows a large block in place
// when the pages behind it are free.
#include <windows.h>

#include <new>

#include "platform/memory_block.h"

namespace platform {

std::size_t blockGranularity() { return 64 * 1024; }

void* growBlock(void* old, std::size_t /*oldSize*/, std::size_t newSize) {
  void* block = old == nullptr ? HeapAlloc(GetProcessHeap(), 0, newSize)
                               : HeapReAlloc(GetProcessHeap(), 0, old, newSize);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void freeBlock(void* block, std::size_t /*size*/) noexcept {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

// Pages of a heap block belong to the heap: they are kept until the block
// is freed.
const char* releasePages(const char* from, const char* /*to*/) noexcept { return from; }

}  // namespace platform
