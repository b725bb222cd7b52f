// One needle searched through hundreds of megabytes of folded code per keystroke.
// glibc's memmem walks about 4 GB/s; comparing two well-chosen bytes of the needle
// sixteen places at a time and checking only where both agree runs at the speed of
// memory. A needle whose bytes are everywhere (";;;;" in ";;;;") would make the
// checks quadratic, so the search hands over to memmem once they cost too much.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct SubstringFinder {
  std::string needle;
  // Offsets in the needle of its two rarest bytes in code text; equal for a
  // needle of one byte.
  size_t rare1 = 0;
  size_t rare2 = 0;
  // The 32-place compare where the processor has it; off to use the 16-place one,
  // which the tests try too, since the machines they run on mostly have both.
  bool wideScan = true;
};

SubstringFinder makeSubstringFinder(std::string_view needle);

// The first offset at or after `from` where the needle begins in `text`; npos when
// there is none or the needle is empty.
size_t findSubstring(const SubstringFinder& finder, std::string_view text, size_t from);
