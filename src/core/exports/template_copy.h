// Copying the web page's head and tail templates into the export, line by line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/exports/output_sink.h"

// The lines of a template: a line ends at LF, CR or CR LF and the terminator is not
// part of it; text after the last terminator is a last line.
std::vector<std::string_view> splitTemplateLines(std::string_view bytes);

// A line holding "CurrDate" (exactly so) gets every occurrence of the word, in any
// case, replaced by the date text; any other line comes back unchanged.
std::string replaceCurrDate(std::string_view line, std::string_view dateText);

// Appends the template's lines to the sink, each with one LF, dating the lines of
// the head (replaceDate) but never those of the tail. A template missing from an
// existing folder is created empty, so the user finds where to put it; one that
// cannot be read or created is skipped. False when nothing was read.
bool copyTemplate(const std::string& path, bool replaceDate, std::string_view dateText, OutputSink* sink);
