#include "core/database/text_arena.h"

#include <cstring>

namespace {

constexpr size_t kBlockBytes = size_t{1} << 20;
// A long text gets a block of its own rather than abandoning the rest of the
// current one.
constexpr size_t kOwnBlockBytes = kBlockBytes / 4;

}  // namespace

std::string_view TextArena::store(std::string_view text) {
  if (text.empty()) return std::string_view("");
  const size_t need = text.size() + 1;
  char* at = nullptr;
  if (need <= left_) {
    at = free_;
    free_ += need;
    left_ -= need;
  } else if (need > kOwnBlockBytes) {
    blocks_.push_back(std::unique_ptr<char[]>(new char[need]));
    allocated_ += need;
    at = blocks_.back().get();
  } else {
    blocks_.push_back(std::unique_ptr<char[]>(new char[kBlockBytes]));
    allocated_ += kBlockBytes;
    at = blocks_.back().get();
    free_ = at + need;
    left_ = kBlockBytes - need;
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
