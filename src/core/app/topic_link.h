// Where a topic link leads: the index entry whose title is the link's text.
#pragma once

#include <string_view>

#include "core/database/topic_node.h"

// The row of the entry a link target names, or -1 when none does. The titles of
// the topic language are tried first, then German, English and French in that
// order; in each language an exact title wins over one that differs only in
// letter case. The new/changed markers at the start of a title, and blanks around
// target and title, do not count. The first matching row in tree order is taken.
int findLinkTarget(const IndexModel& index, std::string_view target, int topicLanguage);
