// The two-byte filter: candidates where both rare bytes sit at their offsets, each
// checked whole with memcmp.
#include "core/search/substring_finder.h"

#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Bytes of folded code text, the most frequent first; any byte not listed is rare.
constexpr std::string_view kCommonBytes = " etaonisrlcd\nhup(),._=m\"fgbyw0123456789;:$#k+-*/<>v!&|x";

size_t commonness(char c) {
  size_t at = kCommonBytes.find(c);
  return at == std::string_view::npos ? 0 : kCommonBytes.size() - at;
}

// The least common byte, or among equals the first; `other` is avoided when the
// needle holds any other byte, so the two tests do not repeat each other.
size_t rarestOffset(std::string_view needle, int other) {
  size_t best = std::string_view::npos;
  for (size_t i = 0; i < needle.size(); ++i) {
    if (other >= 0 && needle[i] == needle[static_cast<size_t>(other)]) continue;
    if (best == std::string_view::npos || commonness(needle[i]) < commonness(needle[best])) best = i;
  }
  return best == std::string_view::npos ? static_cast<size_t>(other) : best;
}

size_t memmemFrom(std::string_view text, size_t from, std::string_view needle) {
  if (from >= text.size()) return std::string_view::npos;
  const void* hit = memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data()) : std::string_view::npos;
}

#if defined(__SSE2__)
// Checked bytes may run ahead of the scanned ones by this much plus four times the
// bytes scanned before the search falls back to memmem, which is linear anyway.
constexpr size_t kCheckAllowance = 4096;

size_t findPairs(const SubstringFinder& f, std::string_view text, size_t from) {
  const char* base = text.data();
  const std::string& n = f.needle;
  const size_t last = text.size() - n.size();  // the last place the needle may begin
  const __m128i byte1 = _mm_set1_epi8(n[f.rare1]);
  const __m128i byte2 = _mm_set1_epi8(n[f.rare2]);
  size_t checked = 0;
  size_t p = from;
  for (; last >= 15 && p <= last - 15; p += 16) {
    __m128i at1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + p + f.rare1));
    __m128i at2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + p + f.rare2));
    auto mask =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(at1, byte1), _mm_cmpeq_epi8(at2, byte2))));
    for (; mask != 0; mask &= mask - 1) {
      size_t start = p + static_cast<size_t>(__builtin_ctz(mask));
      if (memcmp(base + start, n.data(), n.size()) == 0) return start;
      checked += n.size();
    }
    if (checked > kCheckAllowance + 4 * (p - from)) return memmemFrom(text, p + 16, n);
  }
  return memmemFrom(text, p, n);
}
#endif

}  // namespace

SubstringFinder makeSubstringFinder(std::string_view needle) {
  SubstringFinder f;
  f.needle = needle;
  if (needle.empty()) return f;
  f.rare1 = rarestOffset(needle, -1);
  f.rare2 = rarestOffset(needle, static_cast<int>(f.rare1));
  return f;
}

size_t findSubstring(const SubstringFinder& f, std::string_view text, size_t from) {
  const std::string& n = f.needle;
  if (n.empty() || from > text.size() || text.size() - from < n.size()) return std::string_view::npos;
  if (n.size() == 1) {
    const void* hit = memchr(text.data() + from, n[0], text.size() - from);
    return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data()) : std::string_view::npos;
  }
#if defined(__SSE2__)
  return findPairs(f, text, from);
#else
  return memmemFrom(text, from, n);
#endif
}
