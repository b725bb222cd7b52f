// Shapes the index for showing (topic language, new-topic markers and colours),
// and counts its themes and entries. The loader (database_loader.h) fills it.
#pragma once

#include <string>
#include <string_view>

#include "core/app/color.h"
#include "core/database/topic_node.h"

// Appends one element with the record as given (its texts are copied into the
// index); the loader and hand-made indexes use it. `ownGroup` is the element's own
// group text, which levels 0 and 1 show.
void appendTopic(IndexModel* model, int level, std::string_view ownGroup, const TopicNode& node);

// Shows the index with `options`, in place: the titles of levels 2 and deeper in
// the topic language, with the marker removed when "DyeingNews" is 0 (the record
// keeps the shortened title too), the colours, and the group text carried into the
// elements before the first group of their own. Sets helpEntryIndex when it meets
// the help entry and recomputes databaseVersion, as every build does.
void applyIndexLook(const IndexBuildOptions& options, IndexModel* model);

// A rebuild of the index still held (language switch, "DyeingNews" change): the
// elements before the first group text of their own take the current group text,
// then applyIndexLook.
void rebuildIndexModel(const IndexBuildOptions& options, IndexModel* model);

// True when row i has children (the next row is one level deeper).
bool rowHasChildren(const IndexModel& model, size_t row);

// The theme and entry counts of the fully expanded tree: a level-1 row with
// children is a theme unless it is the viewer's own group; a level-2 leaf with a
// code file is an entry unless it belongs to the viewer's own group.
IndexCounts countThemesAndEntries(const IndexModel& model, const std::string& libraryTitle);
