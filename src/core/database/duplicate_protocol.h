// The protocol of duplicate database entries: every pair of elements that share a
// code file, a code file name, a German or English title or description.
#pragma once

#include <string>
#include <vector>

#include "core/database/topic_node.h"
#include "core/exports/export_result.h"
#include "core/exports/output_sink.h"

inline constexpr const char kProtocolFileName[] = "Protocoll.txt";

// The protocol text: the header naming the database file, then five passes (file,
// German title, German description, English title, English description), each pair
// once, earlier element first, pairs ordered by their first and then their second
// element. Elements are grouped by value, so the cost follows the number of lines
// written rather than the square of the number of elements.
void renderDuplicateProtocol(const IndexModel& topics, const std::string& databaseFileName, OutputSink* sink);

// "Protocoll.txt" in the export folder, with the message the admin menu shows.
ExportResult writeDuplicateProtocol(const IndexModel& topics, const std::string& databaseFileName,
                                    const ExportSettings& settings);
