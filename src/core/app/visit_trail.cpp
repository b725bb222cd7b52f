#include "core/app/visit_trail.h"

void recordVisit(VisitTrail* trail, const Visit& visit) {
  std::vector<Visit>& v = trail->visits;
  if (!v.empty() && v[trail->current] == visit) return;
  if (!v.empty()) v.resize(trail->current + 1);
  v.push_back(visit);
  if (v.size() > kVisitTrailCapacity) v.erase(v.begin(), v.begin() + (v.size() - kVisitTrailCapacity));
  trail->current = v.size() - 1;
}

bool stepBack(VisitTrail* trail, Visit* to) {
  if (trail->visits.empty() || trail->current == 0) return false;
  *to = trail->visits[--trail->current];
  return true;
}

bool stepForward(VisitTrail* trail, Visit* to) {
  if (trail->current + 1 >= trail->visits.size()) return false;
  *to = trail->visits[++trail->current];
  return true;
}

void clearVisits(VisitTrail* trail) {
  trail->visits.clear();
  trail->current = 0;
}
