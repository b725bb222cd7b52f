#include "core/database/text_arena.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstring>

namespace {

// A long text gets a block of its own rather than abandoning the rest of the
// current one.
constexpr size_t kOwnBlockBytes = PageBlock::kBytes / 4;

}  // namespace

PageBlock::PageBlock(size_t bytes, bool hugePages) {
  // A huge page needs an aligned address: map one page more and trim both ends.
  const size_t slack = hugePages ? kBytes : 0;
  void* mapped = mmap(nullptr, bytes + slack, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  auto* start = static_cast<char*>(mapped);
  if (hugePages) {
    const auto address = reinterpret_cast<uintptr_t>(start);
    char* aligned = start + ((kBytes - address % kBytes) % kBytes);
    if (aligned > start) munmap(start, static_cast<size_t>(aligned - start));
    const size_t tail = slack - static_cast<size_t>(aligned - start);
    if (tail > 0) munmap(aligned + bytes, tail);
    start = aligned;
    madvise(start, bytes, MADV_HUGEPAGE);  // advice only: without it the block still works
  }
  data_ = start;
  size_ = bytes;
}

PageBlock& PageBlock::operator=(PageBlock&& other) noexcept {
  if (this != &other) {
    if (data_ != nullptr) munmap(data_, size_);
    data_ = other.data_;
    size_ = other.size_;
    other.data_ = nullptr;
  }
  return *this;
}

PageBlock::~PageBlock() {
  if (data_ != nullptr) munmap(data_, size_);
}

PageBlock BlockSupply::take() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (ready_.empty()) return PageBlock();
  PageBlock block = std::move(ready_.back());
  ready_.pop_back();
  return block;
}

bool BlockSupply::prepare() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ready_.size() >= kReadyMost) return false;
  }
  PageBlock block(PageBlock::kBytes, true);
  // One write a page commits it; with huge pages the first write commits them all.
  for (size_t at = 0; at < PageBlock::kBytes; at += 4096) static_cast<volatile char*>(block.data())[at] = 0;
  std::lock_guard<std::mutex> lock(mutex_);
  ready_.push_back(std::move(block));
  return true;
}

void BlockSupply::release() {
  std::lock_guard<std::mutex> lock(mutex_);
  ready_.clear();
}

PageBlock nextStoreBlock(BlockSupply* supply, size_t bytes, size_t held) {
  if (held == 0) return PageBlock(bytes, false);
  if (supply != nullptr) {
    PageBlock block = supply->take();
    if (block.data() != nullptr) return block;
  }
  return PageBlock(bytes, true);
}

std::string_view TextArena::store(std::string_view text) {
  if (text.empty()) return std::string_view("");
  const size_t need = text.size() + 1;
  char* at = nullptr;
  if (need <= left_) {
    at = free_;
    free_ += need;
    left_ -= need;
  } else if (need > kOwnBlockBytes) {
    blocks_.emplace_back(need, false);
    allocated_ += need;
    at = blocks_.back().data();
  } else {
    blocks_.push_back(nextStoreBlock(supply_, PageBlock::kBytes, blocks_.size()));
    allocated_ += PageBlock::kBytes;
    at = blocks_.back().data();
    free_ = at + need;
    left_ = PageBlock::kBytes - need;
  }
  memcpy(at, text.data(), text.size());
  at[text.size()] = '\0';
  return std::string_view(at, text.size());
}

void TextArena::clear() {
  blocks_.clear();
  free_ = nullptr;
  left_ = 0;
  allocated_ = 0;
}
