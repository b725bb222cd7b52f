#include "core/text/fresh_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace {

constexpr uintptr_t kHugePage = kHugePageBytes;

// Gives `advice` for the whole pages of `page` bytes within [data, data + bytes).
void adviseWholePages(const void* data, size_t bytes, uintptr_t page, int advice) {
  const auto from = reinterpret_cast<uintptr_t>(data);
  const uintptr_t first = (from + page - 1) & ~(page - 1);
  const uintptr_t end = (from + bytes) & ~(page - 1);
  if (first >= end) return;
  madvise(reinterpret_cast<void*>(first), end - first, advice);
}

}  // namespace

void adviseHugePages(void* data, size_t bytes) { adviseWholePages(data, bytes, kHugePage, MADV_HUGEPAGE); }

void reserveFresh(std::string* s, size_t bytes) {
  s->reserve(bytes);
  adviseHugePages(s->data(), s->capacity());
}

void releasePages(const void* data, size_t bytes) {
  adviseWholePages(data, bytes, static_cast<uintptr_t>(sysconf(_SC_PAGESIZE)), MADV_DONTNEED);
}

void ReleasedBehind::upTo(size_t done) {
  const auto from = reinterpret_cast<uintptr_t>(data);
  const uintptr_t boundary = (from + done) & ~(uintptr_t{step} - 1);
  if (boundary <= from + released) return;
  releasePages(data + released, boundary - from - released);
  released = boundary - from;
}
