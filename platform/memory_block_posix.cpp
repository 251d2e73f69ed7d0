// Blocks from mmap, grown with mremap where the system has it: the kernel
// moves the page table entries, never the bytes.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <new>

#include "platform/memory_block.h"

namespace platform {

std::size_t blockGranularity() {
  static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return page;
}

void* growBlock(void* old, std::size_t oldSize, std::size_t newSize) {
  void* block = MAP_FAILED;
#ifdef MREMAP_MAYMOVE
  if (old != nullptr) block = mremap(old, oldSize, newSize, MREMAP_MAYMOVE);
#endif
  if (block == MAP_FAILED) {
    block = mmap(nullptr, newSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) throw std::bad_alloc();
    if (old != nullptr) {
      std::memcpy(block, old, oldSize);
      munmap(old, oldSize);
    }
  }
  return block;
}

void freeBlock(void* block, std::size_t size) noexcept {
  if (block != nullptr) munmap(block, size);
}

const char* releasePages(const char* from, const char* to) noexcept {
  const std::uintptr_t page = blockGranularity();
  const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(from) + page - 1) / page * page;
  const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(to) / page * page;
  if (end <= start) return from;
  // MADV_DONTNEED drops the pages at once; they come back as zeros if touched.
  if (madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED) != 0) return from;
  return reinterpret_cast<const char*>(end);
}

}  // namespace platform
