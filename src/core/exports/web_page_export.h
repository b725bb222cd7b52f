// The web page export: every theme as a folder line that opens and closes its
// entries, every entry as a link to its code file, between the two templates.
#pragma once

#include <string>

#include "core/database/topic_node.h"
#include "core/exports/export_result.h"
#include "core/exports/output_sink.h"

inline constexpr const char kWebPageFileName[] = "VL-LinuxAPI-Lib.html";
inline constexpr const char kHeadTemplateName[] = "VL-LinuxAPI-Head.html";
inline constexpr const char kTailTemplateName[] = "VL-LinuxAPI-Tail.html";

// The generated part between head and tail: the open-all button line, the theme and
// entry lines from firstEntryIndex on, and the closing line.
void renderWebPageBody(const IndexModel& index, int firstEntryIndex, const std::string& platformWord, OutputSink* sink);

// Writes the whole page; a failure gets the postings' message "Couldn't create". A
// missing template is skipped and the page still written; one skipped for its size
// or type is named in the message.
ExportResult exportWebPage(const IndexModel& index, const ExportSettings& settings);
