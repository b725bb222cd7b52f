#include "core/app/visit_trail.h"

#include <gtest/gtest.h>

TEST(VisitTrail, BackAndForwardLikeABrowser) {
  VisitTrail trail;
  Visit to;
  EXPECT_FALSE(stepBack(&trail, &to));
  EXPECT_FALSE(stepForward(&trail, &to));
  for (int row : {1, 2, 2, 3}) recordVisit(&trail, Visit{row, {}});
  ASSERT_EQ(trail.visits.size(), 3u);  // showing the same row twice is one visit
  ASSERT_TRUE(stepBack(&trail, &to));
  EXPECT_EQ(to.row, 2);
  ASSERT_TRUE(stepBack(&trail, &to));
  EXPECT_EQ(to.row, 1);
  EXPECT_FALSE(stepBack(&trail, &to));
  ASSERT_TRUE(stepForward(&trail, &to));
  EXPECT_EQ(to.row, 2);
  // A new visit in the middle drops what lay ahead.
  recordVisit(&trail, Visit{-1, "/tmp/x.vl"});
  EXPECT_FALSE(stepForward(&trail, &to));
  ASSERT_TRUE(stepBack(&trail, &to));
  EXPECT_EQ(to.row, 2);
  ASSERT_TRUE(stepForward(&trail, &to));
  EXPECT_EQ(to.dropped, "/tmp/x.vl");
  clearVisits(&trail);
  EXPECT_FALSE(stepBack(&trail, &to));
}

TEST(VisitTrail, KeepsTheMostRecentVisits) {
  VisitTrail trail;
  for (int row = 0; row < static_cast<int>(kVisitTrailCapacity) + 5; ++row) recordVisit(&trail, Visit{row, {}});
  ASSERT_EQ(trail.visits.size(), kVisitTrailCapacity);
  EXPECT_EQ(trail.visits.front().row, 5);
  EXPECT_EQ(trail.visits[trail.current].row, static_cast<int>(kVisitTrailCapacity) + 4);
}
