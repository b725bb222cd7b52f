// The rows every export walks: from firstEntryIndex to the last row.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/database/topic_node.h"

inline size_t walkedRowStart(int firstEntryIndex) {
  return firstEntryIndex < 0 ? 0 : static_cast<size_t>(firstEntryIndex);
}

inline size_t walkedRowEnd(const IndexModel& index) { return index.rowCount(); }

// A new topic's title begins with U+2730.
inline bool startsWithNewMarker(std::string_view title) { return title.substr(0, 3) == "\xE2\x9C\xB0"; }
