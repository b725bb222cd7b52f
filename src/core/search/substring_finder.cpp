// The two-byte filter: candidates where both rare bytes sit at their offsets, each
// checked whole with memcmp.
#include "core/search/substring_finder.h"

#include <string.h>

#include <cstdint>

#if defined(__SSE2__)
#include <immintrin.h>
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

struct Scan {
  const SubstringFinder* finder;
  std::string_view text;
  size_t from;
  size_t checked = 0;
};

// Checks the starts p + i for every bit i of `mask`: the first match, or npos.
size_t checkCandidates(Scan* s, size_t p, uint64_t mask) {
  const std::string& n = s->finder->needle;
  for (; mask != 0; mask &= mask - 1) {
    size_t start = p + static_cast<size_t>(__builtin_ctzll(mask));
    if (memcmp(s->text.data() + start, n.data(), n.size()) == 0) return start;
    s->checked += n.size();
  }
  return std::string_view::npos;
}

// True when the checks cost too much for the bytes scanned: the rest goes to memmem.
bool checkedTooMuch(const Scan& s, size_t p) { return s.checked > kCheckAllowance + 4 * (p - s.from); }

// The scan takes 64 starts at a time; the last place the needle may begin, and the
// first start the block loop leaves over.
size_t lastStart(const Scan& s) { return s.text.size() - s.finder->needle.size(); }
bool blockFits(const Scan& s, size_t p) { return lastStart(s) >= 63 && p <= lastStart(s) - 63; }

uint64_t pairMask16(const char* at1, const char* at2, __m128i byte1, __m128i byte2) {
  __m128i both = _mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at1)), byte1),
                               _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at2)), byte2));
  return static_cast<uint32_t>(_mm_movemask_epi8(both));
}

size_t findPairsSse2(Scan* s) {
  const SubstringFinder& f = *s->finder;
  const __m128i byte1 = _mm_set1_epi8(f.needle[f.rare1]);
  const __m128i byte2 = _mm_set1_epi8(f.needle[f.rare2]);
  const char* at1 = s->text.data() + f.rare1;
  const char* at2 = s->text.data() + f.rare2;
  size_t p = s->from;
  for (; blockFits(*s, p); p += 64) {
    uint64_t mask = 0;
    for (size_t k = 0; k < 4; ++k) mask |= pairMask16(at1 + p + 16 * k, at2 + p + 16 * k, byte1, byte2) << (16 * k);
    if (mask == 0) continue;
    size_t hit = checkCandidates(s, p, mask);
    if (hit != std::string_view::npos) return hit;
    if (checkedTooMuch(*s, p)) return memmemFrom(s->text, p + 64, f.needle);
  }
  return memmemFrom(s->text, p, f.needle);
}

#if defined(__x86_64__) && defined(__GNUC__)
#define VL_HAVE_AVX2_SCAN 1
// The same with 32 starts per compare, on processors that have it.
__attribute__((target("avx2"))) size_t findPairsAvx2(Scan* s) {
  const SubstringFinder& f = *s->finder;
  const __m256i byte1 = _mm256_set1_epi8(f.needle[f.rare1]);
  const __m256i byte2 = _mm256_set1_epi8(f.needle[f.rare2]);
  const char* at1 = s->text.data() + f.rare1;
  const char* at2 = s->text.data() + f.rare2;
  size_t p = s->from;
  for (; blockFits(*s, p); p += 64) {
    uint64_t mask = 0;
    for (size_t k = 0; k < 2; ++k) {
      __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at1 + p + 32 * k));
      __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at2 + p + 32 * k));
      __m256i both = _mm256_and_si256(_mm256_cmpeq_epi8(x, byte1), _mm256_cmpeq_epi8(y, byte2));
      mask |= uint64_t{static_cast<uint32_t>(_mm256_movemask_epi8(both))} << (32 * k);
    }
    if (mask == 0) continue;
    size_t hit = checkCandidates(s, p, mask);
    if (hit != std::string_view::npos) return hit;
    if (checkedTooMuch(*s, p)) return memmemFrom(s->text, p + 64, f.needle);
  }
  return memmemFrom(s->text, p, f.needle);
}
#endif

size_t findPairs(const SubstringFinder& f, std::string_view text, size_t from) {
  Scan scan{&f, text, from};
#if defined(VL_HAVE_AVX2_SCAN)
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2 && f.wideScan) return findPairsAvx2(&scan);
#endif
  return findPairsSse2(&scan);
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
