#include "core/app/visit_trail.h"

#include <gtest/gtest.h>

TEST(VisitTrail, BackAndForwardLikeABrowserWithinItsCapacity) {
  VisitTrail trail;
  Visit to;
  EXPECT_FALSE(stepBack(&trail, &to) || stepForward(&trail, &to));
  for (int row : {1, 2, 2, 3}) recordVisit(&trail, Visit{row, {}});
  ASSERT_EQ(trail.visits.size(), 3u);  // the same row twice is one visit
  ASSERT_TRUE(stepBack(&trail, &to) && stepBack(&trail, &to));
  EXPECT_EQ(to.row, 1);
  EXPECT_FALSE(stepBack(&trail, &to));
  ASSERT_TRUE(stepForward(&trail, &to));
  recordVisit(&trail, Visit{-1, "/tmp/x.vl"});  // drops what lay ahead (3)
  EXPECT_FALSE(stepForward(&trail, &to));
  ASSERT_TRUE(stepBack(&trail, &to));
  EXPECT_EQ(to.row, 2);
  for (int row = 0; row < static_cast<int>(kVisitTrailCapacity) + 5; ++row) recordVisit(&trail, Visit{row, {}});
  ASSERT_EQ(trail.visits.size(), kVisitTrailCapacity);
  EXPECT_EQ(trail.visits.front().row, 5);
  EXPECT_EQ(trail.current, kVisitTrailCapacity - 1);
}
