// The widest search scope, mode 3: the texts of mode 2 and the code of each entry;
// and the list of every match that the match list under the search field shows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/search_text.h"
#include "core/database/topic_node.h"
#include "core/search/code_buffer.h"

inline constexpr int kSearchModeWithCode = 3;

// The full path of each item's code file, "" for an item without one.
std::vector<std::string> codeFilePaths(const IndexModel& index, const std::string& libraryPath);

// The searched text of item `item` in mode 3: that of mode 2, then ";" and the code
// as the code view shows it (footer hidden), when the code file can be read.
std::string codeSearchedText(const IndexModel& index, size_t item, int language, const std::string& libraryPath);

// The first item from `from` on whose mode-3 text holds `term`. Items the code has
// not been read for yet are matched by their mode-2 text alone.
int findCodeSearchItem(SearchBuffer* texts, const CodeBuffer& code, const IndexModel& index, int language,
                       std::string_view term, int from);

// Every item whose searched text in `mode` holds `term`, in tree order.
std::vector<int> collectMatches(SearchBuffer* texts, const CodeBuffer& code, const IndexModel& index, int mode,
                                int language, std::string_view term);

// One row of the match list. For a match in the code, the first code line that
// holds the term, shortened around it, and the term's bytes in it.
struct MatchRow {
  int item = -1;
  std::string title;
  std::string theme;
  std::string codeLine;  // empty when the term is not in the item's code
  size_t termBegin = 0;
  size_t termLength = 0;
};

// `path` is the item's code file, read again for the line's own letter case; when it
// changed since, the folded line is shown.
MatchRow describeMatch(const IndexModel& index, const CodeBuffer& code, std::string_view term, int item,
                       const std::string& path);
