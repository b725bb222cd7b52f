// Copying the web page's head and tail templates into the export, line by line.
#pragma once

#include <string>
#include <string_view>

#include "core/exports/output_sink.h"

// The next line of a template from *pos on, advancing *pos past it; false at the end.
// A line ends at LF, CR or CR LF and the terminator is not part of it; text after the
// last terminator is a last line.
bool nextTemplateLine(std::string_view bytes, size_t* pos, std::string_view* line);

// A line holding "CurrDate" (exactly so) gets every occurrence of the word, in any
// case, replaced by the date text; any other line comes back unchanged.
std::string replaceCurrDate(std::string_view line, std::string_view dateText);

// Appends the template's lines to the sink as UTF-8, each with one LF, dating the
// lines of the head (replaceDate) but never those of the tail. A template that is not
// valid UTF-8 is read as ISO 8859-1. A template missing from an existing folder is
// created empty, so the user finds where to put it; one that cannot be read or
// created is skipped. So is one that is no regular file or is larger than
// kFileSizeLimit, and then *note, when given, tells the user why. False when
// nothing was read.
bool copyTemplate(const std::string& path, bool replaceDate, std::string_view dateText, OutputSink* sink,
                  std::string* note = nullptr);
