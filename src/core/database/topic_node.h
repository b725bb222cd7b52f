// One element of the topic database as the index uses it, and the rows of the
// index tree. topicList element i always belongs to tree row i.
#pragma once

#include <string>
#include <vector>

#include "core/app/color.h"

struct TopicNode {
  std::string text;   // trimmed element text: the description of roots and themes
  std::string group;  // the current group text when the element was read
  std::string themeDe;
  std::string descriptDe;
  std::string themeEn;
  std::string descriptEn;
  std::string themeFr;
  std::string descriptFr;
  std::string file;  // code path below the library folder, normally starting with "/"
};

// One row of the index tree, in tree order. Children follow their parent directly
// and have a level one greater.
struct IndexRow {
  std::string text;
  int level = 0;
  Color foreground = kNoColor;
  Color background = kNoColor;
};

// The index built from the document: rows and records in the same order, plus the
// values the loader derives while it walks.
struct IndexModel {
  std::vector<IndexRow> rows;
  std::vector<TopicNode> topicList;
  int helpEntryIndex = 0;       // row of the "ViewerHelp.txt" entry, 0 = none
  std::string databaseVersion;  // fourth blank-separated word of the root text
  std::string currentGroup;     // last non-empty group text; carries over between builds

  void clear() {  // rows and records only: helpEntryIndex and currentGroup are the caller's
    rows.clear();
    topicList.clear();
  }
};

// Theme and entry counts of the count pass.
struct IndexCounts {
  int themeCount = 0;
  int entryCount = 0;
};
