// Turns the parsed document into the index: one row and one TopicNode per element,
// in document order, with the colours and markers of new topics.
#pragma once

#include <string>

#include "core/app/color.h"
#include "core/database/topic_node.h"
#include "core/database/xml_document.h"

struct IndexBuildOptions {
  int topicLanguage = 0;  // 0 German, 1 English, anything else French
  int dyeingNews = 1;     // "DyeingNews": 0 removes the new-topic marker of the shown title
  std::string libraryTitle = "ZEZ Ovidozo Vivara";
  Color treeColorA = rgb(200, 200, 200);  // level-1 row of the viewer's own group
  Color treeColorB = rgb(127, 127, 127);  // root row background
  Color treeColorC = rgb(255, 255, 255);  // root row text
  Color treeColorD = rgb(232, 232, 232);  // any other level-1 row
};

// Colour of a new topic's title while "DyeingNews" is on.
constexpr Color kNewTopicColor = rgb(0, 0, 185);

// Appends the rows and records of the document's root element and all its
// descendants to *model (nothing when the document has no root). Clears nothing:
// callers clear rows and records first. Walks iteratively, so any nesting depth
// is safe. Sets helpEntryIndex when it meets the help entry, recomputes
// databaseVersion and carries currentGroup over from the previous build.
void buildIndex(const XmlDocument& doc, const IndexBuildOptions& options, IndexModel* model);

// True when row i has children (the next row is one level deeper).
bool rowHasChildren(const IndexModel& model, size_t row);

// The theme and entry counts of the fully expanded tree: a level-1 row with
// children is a theme unless it is the viewer's own group; a level-2 leaf with a
// code file is an entry unless it belongs to the viewer's own group.
IndexCounts countThemesAndEntries(const IndexModel& model, const std::string& libraryTitle);
