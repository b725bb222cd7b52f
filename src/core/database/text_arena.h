// Storage of the index: all texts in one arena, records in fixed blocks. Nothing
// moves once stored, so views and references stay valid while the index grows,
// and growing never needs a second copy of what is already held.
#pragma once

#include <cstddef>
#include <mutex>
#include <new>
#include <string_view>
#include <vector>

// One block of index memory, taken straight from the kernel. Pages are committed
// as they are first written, so an unused tail costs nothing. Blocks after the
// first of a store ask for huge pages: a 100,000-entry index then costs a few
// dozen page faults instead of ten thousand, which is a third of its load time.
class PageBlock {
 public:
  static constexpr size_t kBytes = size_t{2} << 20;  // one huge page

  PageBlock() = default;
  PageBlock(size_t bytes, bool hugePages);
  PageBlock(PageBlock&& other) noexcept : data_(other.data_), size_(other.size_) { other.data_ = nullptr; }
  PageBlock& operator=(PageBlock&& other) noexcept;
  PageBlock(const PageBlock&) = delete;
  PageBlock& operator=(const PageBlock&) = delete;
  ~PageBlock();

  char* data() const { return data_; }

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
};

// Huge blocks made ready for a store filled on another thread. The first write to
// fresh memory costs the writer the kernel's zeroing of the page: for a large
// database that is a quarter of its read. A thread that would only wait for the
// read makes the blocks ready instead, a few ahead, and the store takes them.
class BlockSupply {
 public:
  // What may have been made ready in vain when the store is done.
  static constexpr size_t kReadyMost = 2;

  // A ready block; none (data() null) while the preparing thread is behind.
  PageBlock take();
  // Makes one more block ready; false when enough are.
  bool prepare();
  void release();  // the blocks not taken

 private:
  std::mutex mutex_;
  std::vector<PageBlock> ready_;
};

// The next block of a store that holds `held` blocks: the first in small pages,
// the others in huge pages, from the supply when it has one ready (`bytes` is at
// most PageBlock::kBytes then).
PageBlock nextStoreBlock(BlockSupply* supply, size_t bytes, size_t held);

// Texts side by side in large blocks. Every stored text is followed by a NUL byte
// (XML text holds none), so a view's data() can go to C interfaces as it is.
class TextArena {
 public:
  std::string_view store(std::string_view text);
  void clear();
  void useSupply(BlockSupply* supply) { supply_ = supply; }
  size_t bytes() const { return allocated_; }  // what the blocks hold, used or not

 private:
  std::vector<PageBlock> blocks_;
  BlockSupply* supply_ = nullptr;
  char* free_ = nullptr;  // the unused tail of the newest block
  size_t left_ = 0;
  size_t allocated_ = 0;
};

// A vector in blocks of one huge page each: no reallocation and no copy as it
// grows. T must be trivially copyable and destructible; its default value is set
// by push_back.
template <typename T>
class BlockVector {
 public:
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](size_t i) { return at(i); }
  const T& operator[](size_t i) const { return const_cast<BlockVector*>(this)->at(i); }
  T& back() { return at(size_ - 1); }
  void pop_back() { --size_; }
  void push_back(const T& value) {
    if (size_ % kBlock == 0 && size_ / kBlock == blocks_.size())
      blocks_.push_back(nextStoreBlock(supply_, kBlock * sizeof(T), blocks_.size()));
    new (&at(size_++)) T(value);
  }
  void clear() {
    blocks_.clear();
    size_ = 0;
  }
  size_t bytes() const { return blocks_.size() * kBlock * sizeof(T) + blocks_.capacity() * sizeof(PageBlock); }
  void useSupply(BlockSupply* supply) { supply_ = supply; }

 private:
  static constexpr size_t kBlock = PageBlock::kBytes / sizeof(T);
  T& at(size_t i) { return reinterpret_cast<T*>(blocks_[i / kBlock].data())[i % kBlock]; }

  std::vector<PageBlock> blocks_;
  BlockSupply* supply_ = nullptr;
  size_t size_ = 0;
};
