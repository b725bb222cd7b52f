// Storage of the index: all texts in one arena, records in fixed blocks. Nothing
// moves once stored, so views and references stay valid while the index grows,
// and growing never needs a second copy of what is already held.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

// Texts side by side in large blocks. Every stored text is followed by a NUL byte
// (XML text holds none), so a view's data() can go to C interfaces as it is.
class TextArena {
 public:
  std::string_view store(std::string_view text);
  void clear();
  size_t bytes() const { return allocated_; }  // what the blocks hold, used or not

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;  // the unused tail of the newest block
  size_t left_ = 0;
  size_t allocated_ = 0;
};

// A vector in blocks of 4096 elements: no reallocation and no copy as it grows.
template <typename T>
class BlockVector {
 public:
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](size_t i) { return blocks_[i >> kShift][i & kMask]; }
  const T& operator[](size_t i) const { return blocks_[i >> kShift][i & kMask]; }
  T& back() { return (*this)[size_ - 1]; }
  void pop_back() { --size_; }
  void push_back(const T& value) {
    if ((size_ & kMask) == 0 && (size_ >> kShift) == blocks_.size()) blocks_.push_back(std::make_unique<T[]>(kBlock));
    (*this)[size_++] = value;
  }
  void clear() {
    blocks_.clear();
    size_ = 0;
  }
  size_t bytes() const { return blocks_.size() * kBlock * sizeof(T) + blocks_.capacity() * sizeof(void*); }

 private:
  static constexpr size_t kShift = 12;
  static constexpr size_t kBlock = size_t{1} << kShift;
  static constexpr size_t kMask = kBlock - 1;
  std::vector<std::unique_ptr<T[]>> blocks_;
  size_t size_ = 0;
};
