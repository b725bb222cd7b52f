// The entries shown in this session, for going back and forward: whatever showed
// them (a click, the keyboard, the search, a link, the history box, a drop).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One shown thing: an index row, or dropped files (names one a line) when not empty.
struct Visit {
  int row = -1;
  std::string dropped;
  bool operator==(const Visit&) const = default;
};

// A long session keeps its most recent visits; the oldest drop out.
inline constexpr size_t kVisitTrailCapacity = 500;

struct VisitTrail {
  std::vector<Visit> visits;
  size_t current = 0;  // index of the visit shown now; meaningless while empty
};

// A new visit ends the trail after the current one, as in a web browser. Showing
// the current visit again changes nothing.
void recordVisit(VisitTrail* trail, const Visit& visit);

// The visit before or after the current one becomes current; false at either end.
bool stepBack(VisitTrail* trail, Visit* to);
bool stepForward(VisitTrail* trail, Visit* to);

// Row numbers lose their meaning with a new database.
void clearVisits(VisitTrail* trail);
