// The index of the topic database: one record and one tree row per element, in
// document order. topicList element i (topic(i)) always belongs to tree row i.
// The index is also what the database file leaves in memory: rebuilding it in
// another language or with other markers needs no second read of the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/app/color.h"
#include "core/database/text_arena.h"

// The record of one element. The texts are views into the index's arena; each is
// followed by a NUL byte there.
struct TopicNode {
  std::string_view text;   // trimmed element text: the description of roots and themes
  std::string_view group;  // the current group text when the element was read
  std::string_view themeDe;
  std::string_view descriptDe;
  std::string_view themeEn;
  std::string_view descriptEn;
  std::string_view themeFr;
  std::string_view descriptFr;
  std::string_view file;  // code path below the library folder, normally starting with "/"
};

// One row of the index tree as shown. Children follow their parent directly and
// have a level one greater. text is never null and ends in a NUL byte.
struct IndexRow {
  std::string_view text;
  int level = 0;
  Color foreground = kNoColor;
  Color background = kNoColor;
};

// How the rows are shown: the topic language, the new-topic markers and colours.
struct IndexBuildOptions {
  int topicLanguage = 0;  // 0 German, 1 English, anything else French
  int dyeingNews = 1;     // "DyeingNews": 0 removes the new-topic marker of the shown title
  std::string libraryTitle = "ZEZ Ovidozo Vivara";
  Color treeColorA = rgb(200, 200, 200);  // level-1 row of the viewer's own group
  Color treeColorB = rgb(127, 127, 127);  // root row background
  Color treeColorC = rgb(255, 255, 255);  // root row text
  Color treeColorD = rgb(232, 232, 232);  // any other level-1 row

  bool operator==(const IndexBuildOptions&) const = default;
};

// Colour of a new topic's title while "DyeingNews" is on.
constexpr Color kNewTopicColor = rgb(0, 0, 185);

struct IndexModel {
  // Element i: its level and the record it shows. Elements without texts of
  // their own (no attributes, or only empty ones) share one record per group
  // text, so a flood of empty elements costs eight bytes each.
  struct Element {
    int32_t level;
    uint32_t record;
  };
  struct Record {
    TopicNode node;
    std::string_view ownGroup;  // the element's own group text: the row text of levels 0 and 1
    uint8_t shortened = 0;      // 1 + topic language whose title lost its marker, 0 = none
  };

  BlockVector<Element> elements;
  BlockVector<Record> records;
  TextArena arena;
  IndexBuildOptions look;
  size_t groupPrefix = 0;                // elements before the first one with a group text of its own
  uint64_t generation = 0;               // changes whenever rows or records may have changed
  uint64_t lookGeneration = UINT64_MAX;  // the generation `look` was applied as; none yet

  int helpEntryIndex = 0;       // row of the "ViewerHelp.txt" entry, 0 = none
  std::string databaseVersion;  // fourth blank-separated word of the root text
  std::string currentGroup;     // last non-empty group text; carries over between builds

  size_t rowCount() const { return elements.size(); }
  bool empty() const { return elements.empty(); }
  const TopicNode& topic(size_t i) const { return records[elements[i].record].node; }
  int level(size_t i) const { return elements[i].level; }
  IndexRow row(size_t i) const;
  // The held bytes of rows, records and texts.
  size_t bytes() const { return elements.bytes() + records.bytes() + arena.bytes(); }

  // Where the stores take their huge blocks while another thread fills them; null
  // again before the model is handed to another thread or outlives the supply.
  void useBlockSupply(BlockSupply* supply) {
    elements.useSupply(supply);
    records.useSupply(supply);
    arena.useSupply(supply);
  }

  void clear() {  // rows, records and texts: helpEntryIndex and currentGroup are the caller's
    elements.clear();
    records.clear();
    arena.clear();
    groupPrefix = 0;
    ++generation;
  }
};

// Theme and entry counts of the count pass.
struct IndexCounts {
  int themeCount = 0;
  int entryCount = 0;
};
