// The forum posting (all entries or the new ones) and the file list: one line per
// entry with the theme in BBCode bold and the German title, one block per theme.
#pragma once

#include "core/database/topic_node.h"
#include "core/exports/export_result.h"
#include "core/exports/output_sink.h"

inline constexpr const char kPostingFileName[] = "ForumPosting.txt";
inline constexpr const char kFileListFileName[] = "FileList.txt";

struct PostingOptions {
  bool newsOnly = false;      // only entries whose shown title begins with the new-topic marker
  bool withFileName = false;  // append TAB, "[b]File:[/b]" and the quoted file name
};

// The posting text. Every theme with entries starts with an empty line.
void renderPosting(const IndexModel& index, int firstEntryIndex, const PostingOptions& options, OutputSink* sink);

// "ForumPosting.txt" in the export folder.
ExportResult exportPosting(const IndexModel& index, const ExportSettings& settings, bool newsOnly);

// "FileList.txt": every entry in the posting's form with the file name.
ExportResult exportFileList(const IndexModel& index, const ExportSettings& settings);
