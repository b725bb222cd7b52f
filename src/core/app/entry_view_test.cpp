#include "core/app/entry_view.h"

#include <gtest/gtest.h>

#include "core/database/index_builder.h"

namespace {

// Row 0 a theme, rows 1 and 2 entries with code files.
AppState twoEntries() {
  AppState app;
  TopicNode theme;
  theme.text = "theme text";
  appendTopic(&app.index, 1, "Theme", theme);
  for (const char* file : {"/G/A.vl", "/G/B.vl"}) {
    TopicNode node;
    node.file = file;
    node.descriptDe = "de";
    node.descriptEn = "en";
    appendTopic(&app.index, 2, "", node);
  }
  return app;
}

}  // namespace

TEST(EntryView, CodeIsLoadedOnceAndAClickOnTheShownEntryGoesToTheHistory) {
  AppState app = twoEntries();
  EntryView first = decideEntryView(app, EntryRequest(EntryCause::Selection, 1));
  EXPECT_EQ(first.code, CodeAction::LoadEntry);
  EXPECT_FALSE(first.recordHistory);
  noteEntryView(&app, first);
  EntryView click = decideEntryView(app, EntryRequest(EntryCause::LeftClick, 1));
  EXPECT_EQ(click.code, CodeAction::Keep);
  noteEntryView(&app, click);
  EXPECT_EQ(app.historyList, (std::vector<int>{1}));
  EXPECT_EQ(*decideEntryView(app, EntryRequest(EntryCause::Selection, 0)).description, "theme text");
}

TEST(EntryView, ADroppedFileStaysShownUntilAnEntryIsChosen) {
  AppState app = twoEntries();
  noteEntryView(&app, decideEntryView(app, EntryRequest(EntryCause::Selection, 1)));
  EntryRequest drop(EntryCause::Drop);
  drop.dropped = "/tmp/x.vlf\n/tmp/y.txt";
  noteEntryView(&app, decideEntryView(app, drop));
  EXPECT_EQ(app.currentCodePath, "/G/A.vl");
  EntryRequest save(EntryCause::SettingsChange);
  save.marksChanged = save.titleChanged = true;
  EntryView saved = decideEntryView(app, save);
  EXPECT_EQ(saved.code, CodeAction::LoadDropped);
  EXPECT_EQ(*saved.title, "Linux VL-ZEZ-Ovidozo-Vivara ~ x.vlf");
  EXPECT_EQ(decideEntryView(app, EntryRequest(EntryCause::HistoryChoice, 1)).code, CodeAction::LoadEntry);
  drop.dropped = "/tmp/y.txt";
  EXPECT_EQ(decideEntryView(app, drop).refusal, "File type 'txt' not supported!\nNot loaded!");
}

TEST(EntryView, WhatIsShownGoesOnTheTrailAndRetracingSelectsWithoutRecording) {
  AppState app = twoEntries();
  noteEntryView(&app, decideEntryView(app, EntryRequest(EntryCause::Selection, 1)));
  EntryRequest drop(EntryCause::Drop);
  drop.dropped = "/tmp/x.vl";
  noteEntryView(&app, decideEntryView(app, drop), false);  // could not be read
  noteEntryView(&app, decideEntryView(app, EntryRequest(EntryCause::HistoryChoice, 2)));
  ASSERT_EQ(app.visits.visits.size(), 2u);
  Visit to;
  ASSERT_TRUE(stepBack(&app.visits, &to));
  EntryView back = decideEntryView(app, retraceRequest(to));
  EXPECT_EQ(back.select, 1);
  noteEntryView(&app, back);
  EXPECT_EQ(app.visits.current, 0u);  // not recorded again
  EXPECT_EQ(lastShownCodePath(app), "/G/A.vl");
  noteEntryView(&app, decideEntryView(app, EntryRequest(EntryCause::Reload)));
  EXPECT_TRUE(app.visits.visits.empty());
}
