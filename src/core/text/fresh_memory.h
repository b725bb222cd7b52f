// Large buffers that are written once from start to end: the text of a code file,
// its marks. The first write to each fresh 4 KiB page costs a page fault, which
// on some machines is slower than the write itself; huge pages take one fault per
// 2 MiB.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Asks for huge pages for the whole 2 MiB pages within [data, data + bytes) that
// are not written yet. Advice only: the buffer works the same without it.
void adviseHugePages(void* data, size_t bytes);

// Room for `bytes` in `s`, in huge pages when that is worth it; nothing is written.
void reserveFresh(std::string* s, size_t bytes);
template <typename T>
void reserveFresh(std::vector<T>* v, size_t count) {
  v->reserve(count);
  adviseHugePages(v->data(), v->capacity() * sizeof(T));
}

// Gives the whole pages within [data, data + bytes) back to the system: they read
// as zeros afterwards. For a buffer whose front part is done with while the rest
// is still read.
void releasePages(const void* data, size_t bytes);

inline constexpr size_t kHugePageBytes = size_t{2} << 20;

// Gives a buffer back to the system from its start as it is read through, in
// whole steps of `step` bytes (a power of two, counted from address 0). A reader on
// another thread takes huge-page steps: giving back part of a huge page makes the
// system split it, and smaller steps made the marking thread slow the view's fill
// measurably.
struct ReleasedBehind {
  const char* data = nullptr;
  size_t step = kHugePageBytes;
  size_t released = 0;  // bytes from data, up to a step boundary

  // Called as the reading reaches `done` bytes; nothing before it is read again.
  void upTo(size_t done);
};
